// The commander's file panels under Wine: choosing drives, walking folders by Enter and the
// buttons, copy, delete and "Make directory" by keys, sorting, and opening files by their type.
#include <memory>
#include <string>
#include <vector>

#include "copy/file_paths.h"
#include "resources/files_ids.h"
#include "tests/win32/commander_fixture.h"
#include "tests/win32/dialog_script.h"
#include "tests/win32/scratch_folder.h"

namespace {

using harness::exists;
using harness::readFile;
using harness::ScratchFolder;

// The keys make a panel's folder the current one; the scratch folders must not stay current.
class KeepCurrentDirectory {
  public:
    KeepCurrentDirectory() { GetCurrentDirectoryA(MAX_PATH, saved_); }
    ~KeepCurrentDirectory() { SetCurrentDirectoryA(saved_); }
    KeepCurrentDirectory(const KeepCurrentDirectory&) = delete;
    KeepCurrentDirectory& operator=(const KeepCurrentDirectory&) = delete;

  private:
    char saved_[MAX_PATH] = "";
};

std::string currentDirectory() {
    char path[MAX_PATH] = "";
    GetCurrentDirectoryA(MAX_PATH, path);
    std::string text = path;
    return text.empty() || text.back() == '\\' ? text : text + "\\";
}

// Top-level windows of other processes whose title holds `part`.
struct TitledWindow {
    const char* part;
    HWND found;
};

BOOL CALLBACK findTitled(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<TitledWindow*>(data);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process != GetCurrentProcessId() && harness::windowText(window).find(search->part) != std::string::npos) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

HWND windowTitled(const std::string& part) {
    TitledWindow search{part.c_str(), nullptr};
    EnumWindows(findTitled, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// Closes the program that owns `window`, by its process id when it does not go by itself.
void endProgramOf(HWND window) {
    DWORD id = 0;
    GetWindowThreadProcessId(window, &id);
    HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, id);
    PostMessageA(window, WM_CLOSE, 0, 0);
    if (process && WaitForSingleObject(process, 5000) != WAIT_OBJECT_0)
        TerminateProcess(process, 1);
    if (process)
        CloseHandle(process);
}

// The texts of the boxes a catcher answered, without the commander itself: it counts as a dialog
// each time it is active again after one.
template <typename Catcher>
std::vector<std::string> boxTexts(const Catcher& catcher) {
    std::vector<std::string> texts;
    for (const auto& box : catcher.boxes())
        if (box.caption != "ODBC Commander")
            texts.push_back(box.caption + ": " + box.text);
    return texts;
}

class CommanderFilesTest : public CommanderTest {
  protected:
    const PanelIds& ids(int side) const { return panel(side).ids; }
    HWND files(int side) const { return item(ids(side).fileList); }
    void show(int side, const std::string& folder) { showDirectory(*state(), panel(side), folder); }
    // Chooses the drive list entry that starts with `prefix`, as the user's selection does.
    bool chooseDrive(int side, const std::string& prefix) {
        HWND combo = item(ids(side).driveList);
        int count = static_cast<int>(SendMessageA(combo, CB_GETCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            char entry[MAX_PATH] = "";
            SendMessageA(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(entry));
            if (std::string(entry).compare(0, prefix.size(), prefix) == 0) {
                SendMessageA(combo, CB_SETCURSEL, i, 0);
                SendMessageA(dialog(), WM_COMMAND, MAKEWPARAM(ids(side).driveList, CBN_SELCHANGE),
                             reinterpret_cast<LPARAM>(combo));
                harness::pumpMessages(20);
                return true;
            }
        }
        return false;
    }
    std::string focusedText(int side) const {
        int index = focused(ids(side).fileList);
        std::vector<std::string> texts = entries(ids(side).fileList);
        return index >= 0 && index < static_cast<int>(texts.size()) ? texts[index] : "<none>";
    }
    int count(int side) const { return ListView_GetItemCount(files(side)); }
    // A scratch folder that outlives the test body: the current folder is put back first, since
    // a folder that is current cannot be removed.
    const ScratchFolder& scratch(const char* tag) {
        folders_.push_back(std::make_unique<ScratchFolder>(tag));
        return *folders_.back();
    }
    std::vector<std::unique_ptr<ScratchFolder>> folders_;
    KeepCurrentDirectory keep_;
};

TEST_F(CommanderFilesTest, DrivesAndDataSourcesTakeTurnsInAPanel) {
    ASSERT_TRUE(chooseDrive(0, "C:\\"));
    EXPECT_EQ(panel(0).mode, panel_mode::kDirectory);
    EXPECT_EQ(text(ids(0).pathLine), "C:\\") << "the label is cut off";
    EXPECT_TRUE(IsWindowVisible(files(0)));
    EXPECT_FALSE(IsWindowVisible(item(ids(0).odbcList)));
    EXPECT_EQ(GetFocus(), files(0));
    EXPECT_GT(count(0), 0);
    EXPECT_EQ(focused(ids(0).fileList), 0);

    ASSERT_TRUE(chooseDrive(0, "DSN\\"));
    EXPECT_EQ(panel(0).mode, panel_mode::kDataSources);
    EXPECT_EQ(panel(0).odbcLevel, odbc_level::kSources);
    EXPECT_EQ(text(ids(0).pathLine), "DSN\\");
    EXPECT_TRUE(IsWindowVisible(item(ids(0).odbcList)));
    EXPECT_FALSE(IsWindowVisible(files(0)));
    EXPECT_EQ(GetFocus(), item(ids(0).odbcList));

    // A connected data source is closed when the panel goes to a drive.
    ASSERT_TRUE(focusEntry(ids(0).odbcList, odbc_test::kSqliteDsn));
    press(item(ids(0).odbcList), VK_RETURN);
    ASSERT_EQ(panel(0).odbcLevel, odbc_level::kObjects);
    ASSERT_EQ(odbcBinding().liveConnections(), 1);
    ASSERT_TRUE(chooseDrive(0, "C:\\"));
    EXPECT_EQ(panel(0).mode, panel_mode::kDirectory);
    EXPECT_EQ(panel(0).connection, nullptr);
    EXPECT_EQ(odbcBinding().liveConnections(), 0);
}

TEST_F(CommanderFilesTest, WalkingIntoFoldersAndBackRestoresTheFocus) {
    const ScratchFolder& folder = scratch("cwalk");
    ASSERT_TRUE(CreateDirectoryA((folder / "alpha").c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryA((folder / "beta").c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryA((folder / "beta\\inner").c_str(), nullptr));
    ASSERT_TRUE(harness::writeFile(folder / "beta\\inner\\deep.txt", 1));
    ASSERT_TRUE(harness::writeFile(folder / "zfile.txt", 1));
    show(0, folder.path());
    ASSERT_EQ(panel(0).mode, panel_mode::kDirectory);
    ASSERT_TRUE(IsWindowVisible(files(0)));
    ASSERT_EQ(entries(ids(0).fileList), (std::vector<std::string>{"..", "alpha", "beta", "zfile"}));

    enum Action { kEnter, kUp, kRoot };
    const struct {
        Action action;
        const char* entry;  // focused before Enter
        const char* path;   // below the scratch folder; "C:\" is a drive root
        const char* focus;
        int depth;
    } steps[] = {
        {kEnter, "beta", "beta\\", "..", 1},  {kEnter, "inner", "beta\\inner\\", "..", 2},
        {kEnter, "..", "beta\\", "inner", 1}, {kUp, nullptr, "", "beta", 0},
        {kEnter, "beta", "beta\\", "..", 1},  {kEnter, "inner", "beta\\inner\\", "..", 2},
        {kUp, nullptr, "beta\\", "inner", 1}, {kRoot, nullptr, "C:\\", nullptr, 0},
    };
    for (const auto& step : steps) {
        std::string where = std::string(step.path) == "C:\\" ? "C:\\" : folder / step.path;
        if (step.action == kEnter) {
            ASSERT_TRUE(focusEntry(ids(0).fileList, step.entry)) << step.entry;
            press(files(0), VK_RETURN);
        } else {
            harness::click(dialog(), step.action == kUp ? ids(0).upButton : ids(0).rootButton);
            harness::pumpMessages(20);
        }
        EXPECT_EQ(text(ids(0).pathLine), where) << where;
        EXPECT_EQ(panel(0).files.focus.depth(), step.depth) << where;
        if (step.focus)
            EXPECT_EQ(focusedText(0), step.focus) << where;
        else
            EXPECT_EQ(focused(ids(0).fileList), 0) << where;
        EXPECT_EQ(panel(0).mode, panel_mode::kDirectory);
    }
}

TEST_F(CommanderFilesTest, F5CopiesIntoTheOppositeFolderOnlyWhenBothShowFolders) {
    const ScratchFolder& left = scratch("cleft");
    const ScratchFolder& right = scratch("cright");
    const std::string name = "qcopied-" + std::to_string(GetCurrentProcessId());
    ASSERT_TRUE(harness::writeFile(left / (name + ".txt"), 5, 'a'));
    ASSERT_TRUE(CreateDirectoryA((left / "tree").c_str(), nullptr));
    ASSERT_TRUE(harness::writeFile(left / "tree\\inner.txt", 2, 'i'));
    harness::MessageBoxCatcher yes(IDYES);

    // The right panel still lists the data sources: F5 copies nowhere.
    show(0, left.path());
    ASSERT_EQ(panel(1).mode, panel_mode::kDataSources);
    ASSERT_TRUE(focusEntry(ids(0).fileList, name));
    press(files(0), VK_F5);
    EXPECT_EQ(boxTexts(yes).size(), 0u);
    EXPECT_EQ(panel(1).mode, panel_mode::kDataSources);
    EXPECT_TRUE(IsWindowVisible(item(ids(1).odbcList)));
    EXPECT_FALSE(exists("C:\\" + name + ".txt"));
    EXPECT_FALSE(exists(right / (name + ".txt")));
    EXPECT_EQ(currentDirectory(), left.path()) << "every key makes the panel's folder the current one";

    show(1, right.path());
    const struct {
        const char* entry;  // focused in the left panel; the stem stands for the copied file
        char fill;          // the left file's content before the copy, 0 to keep it
        std::string copy;   // what the right folder holds then, and its content
        const char* content;
    } cases[] = {
        {"stem", 0, name + ".txt", "aaaaa"},       // a file
        {"tree", 0, "tree\\inner.txt", "ii"},      // a folder with what it holds
        {"stem", 'b', name + " (2).txt", "bbb"},   // onto a name that is taken
        {"tree", 0, "tree (2)\\inner.txt", "ii"},  // a folder onto a taken name
        {"..", 0, "", nullptr},                    // the parent folder is never copied
    };
    for (const auto& c : cases) {
        std::string entry = std::string(c.entry) == "stem" ? name : c.entry;
        if (c.fill) {
            ASSERT_TRUE(harness::writeFile(left / (name + ".txt"), 3, c.fill));
        }
        int before = count(1);
        ASSERT_TRUE(focusEntry(ids(0).fileList, entry)) << entry;
        press(files(0), VK_F5);
        if (!c.content) {
            EXPECT_EQ(count(1), before) << entry;
            continue;
        }
        EXPECT_EQ(readFile(right / c.copy), c.content) << c.copy;
        EXPECT_EQ(count(1), before + 1) << c.copy;
        EXPECT_EQ(focused(ids(1).fileList), 0) << c.copy;
    }
    EXPECT_EQ(readFile(left / (name + ".txt")), "bbb");

    // Both panels in one folder: the copy takes a new name there, and both lists show it.
    show(1, left.path());
    int before = count(0);
    ASSERT_TRUE(focusEntry(ids(0).fileList, name));
    press(files(0), VK_F5);
    EXPECT_EQ(readFile(left / (name + " (2).txt")), "bbb");
    EXPECT_EQ(count(0), before + 1);
    EXPECT_EQ(count(1), before + 1);
}

TEST_F(CommanderFilesTest, F7MakesAFolderAndF8OrDeleteRemoveTheFocusedEntry) {
    const ScratchFolder& folder = scratch("ckeys");
    const std::string tag = std::to_string(GetCurrentProcessId());
    for (const char* name : {"a.aaa", "b.bbb", "c.ccc"})
        ASSERT_TRUE(harness::writeFile(folder / (name + std::string("-") + tag), 4));
    show(0, folder.path());
    ASSERT_EQ(count(0), 4);

    // F7 asks for the name in GETEDIT.
    std::string title;
    bool shown = harness::runDialog([&] { press(files(0), VK_F7); },
                                    [&](HWND edit) {
                                        title = harness::windowText(edit);
                                        harness::setText(edit, IDC_GETEDIT_INPUT, "made-" + tag);
                                        harness::click(edit, IDOK);
                                    });
    ASSERT_TRUE(shown) << "F7 opened no dialog";
    EXPECT_EQ(title, "Make directory");
    EXPECT_TRUE(exists(folder / ("made-" + tag)));
    ASSERT_EQ(count(0), 5);
    EXPECT_EQ(entries(ids(0).fileList)[1], "made-" + tag);

    // The shell asks before it deletes: the answer is given as a user gives it. The right panel
    // shows the same folder, and loses each deleted entry too.
    show(1, folder.path());
    harness::MessageBoxCatcher yes(IDYES);
    const struct {
        UINT key;
        int focus;  // -1: the last entry
        std::string gone;
        int focusAfter;  // -1: the new last entry
    } cases[] = {
        {VK_DELETE, 0, "", 0},  // ".." stays
        {VK_F8, -1, "c.ccc-" + tag, -1},
        {VK_DELETE, 1, "made-" + tag, 1},
    };
    for (const auto& c : cases) {
        focusFileEntry(files(0), c.focus < 0 ? count(0) - 1 : c.focus);
        int before = count(0);
        size_t boxes = boxTexts(yes).size();
        press(files(0), c.key);
        if (c.gone.empty()) {
            EXPECT_EQ(count(0), before);
            EXPECT_EQ(boxTexts(yes).size(), boxes) << "nothing was asked";
            EXPECT_TRUE(exists(parentPath(folder.path())));
        } else {
            EXPECT_FALSE(exists(folder / c.gone)) << c.gone;
            EXPECT_TRUE(exists(harness::trashFolder() + "files\\" + c.gone)) << "not in the recycle bin";
            harness::takeOutOfTrash(c.gone);
            EXPECT_EQ(count(0), before - 1) << c.gone;
            EXPECT_EQ(count(1), before - 1) << c.gone;
            EXPECT_GT(boxTexts(yes).size(), boxes) << "the shell's confirmation was answered";
        }
        EXPECT_EQ(focused(ids(0).fileList), c.focusAfter < 0 ? count(0) - 1 : c.focusAfter) << c.gone;
    }
    EXPECT_EQ(entries(ids(0).fileList), (std::vector<std::string>{"..", "a", "b"}));
}

TEST_F(CommanderFilesTest, FailedCopyDeleteAndMakeDirectoryChangeNothing) {
    const ScratchFolder& left = scratch("cfailleft");
    const ScratchFolder& right = scratch("cfailright");
    const std::string name = "qheld-" + std::to_string(GetCurrentProcessId()) + ".txt";
    ASSERT_TRUE(harness::writeFile(left / name, 4, 'k'));
    ASSERT_TRUE(CreateDirectoryA((left / "taken").c_str(), nullptr));
    show(0, left.path());
    show(1, right.path());

    // Another program holds the file open without sharing it: neither copy nor delete can take it.
    HANDLE held =
        CreateFileA((left / name).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    {
        harness::MessageBoxCatcher yes(IDYES);
        for (UINT key : {VK_F5, VK_F8}) {
            ASSERT_TRUE(focusEntry(ids(0).fileList, name.substr(0, name.size() - 4)));
            int focus = focused(ids(0).fileList);
            press(files(0), key);
            EXPECT_EQ(count(0), 3) << key;
            EXPECT_EQ(focused(ids(0).fileList), focus) << key;
            EXPECT_EQ(count(1), 1) << key;
            EXPECT_FALSE(exists(right / name)) << key;
        }
    }
    CloseHandle(held);
    EXPECT_EQ(readFile(left / name), "kkkk");

    // A folder name that is taken: the warning, and nothing new in the list.
    std::unique_ptr<harness::BoxCatcher> boxes;  // the warning comes after GETEDIT has closed
    ASSERT_TRUE(harness::runDialog([&] { press(files(0), VK_F7); },
                                   [&](HWND edit) {
                                       boxes = std::make_unique<harness::BoxCatcher>(edit);
                                       harness::setText(edit, IDC_GETEDIT_INPUT, "taken");
                                       harness::click(edit, IDOK);
                                   }));
    ASSERT_TRUE(boxes);
    EXPECT_EQ(boxTexts(*boxes), std::vector<std::string>{"Warning: Create error!"});
    EXPECT_EQ(count(0), 3);
}

TEST_F(CommanderFilesTest, CtrlKeysSortOnceAndHeadingClicksSortForGood) {
    const ScratchFolder& folder = scratch("csort");
    ASSERT_TRUE(CreateDirectoryA((folder / "d").c_str(), nullptr));
    ASSERT_TRUE(harness::writeFile(folder / "a.zzz", 30));
    ASSERT_TRUE(harness::writeFile(folder / "b.aaa", 10));
    ASSERT_TRUE(harness::writeFile(folder / "c.mmm", 20));
    show(0, folder.path());
    const std::vector<std::string> byType = {"..", "d", "b", "c", "a"};
    ASSERT_EQ(entries(ids(0).fileList), byType);

    const struct {
        UINT key;
        std::vector<std::string> order;
    } cases[] = {
        {VK_F6, {"..", "d", "b", "c", "a"}},  // size: the folders' 0 first
        {VK_F3, {"..", "a", "b", "c", "d"}},  // name
        {VK_F4, byType},                      // type
    };
    for (const auto& c : cases) {
        press(files(0), c.key, true);
        EXPECT_EQ(entries(ids(0).fileList), c.order) << c.key;
        EXPECT_EQ(panel(0).files.fileSortColumn, kColumnType);
    }
    // Ctrl+F5 sorts by modification date: the newest file goes last.
    FILETIME old = {0x10000000, 0x01D00000};
    HANDLE file = CreateFileA((folder / "c.mmm").c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    SetFileTime(file, nullptr, nullptr, &old);
    CloseHandle(file);
    show(0, folder.path());
    press(files(0), VK_F5, true);
    EXPECT_EQ(entries(ids(0).fileList)[0], "c") << "the oldest entry first";

    // A heading click sorts by its column, and later listings keep that order.
    NMLISTVIEW click{};
    click.hdr.hwndFrom = files(0);
    click.hdr.idFrom = ids(0).fileList;
    click.hdr.code = LVN_COLUMNCLICK;
    click.iItem = -1;
    click.iSubItem = kColumnName;
    SendMessageA(dialog(), WM_NOTIFY, ids(0).fileList, reinterpret_cast<LPARAM>(&click));
    EXPECT_EQ(panel(0).files.fileSortColumn, kColumnName);
    show(0, folder.path());
    EXPECT_EQ(entries(ids(0).fileList), (std::vector<std::string>{"..", "a", "b", "c", "d"}));
}

TEST_F(CommanderFilesTest, FilesOpenThroughODBCThePictureViewerOrTheShellByTheirType) {
    const ScratchFolder& folder = scratch("copen");
    const std::string tag = std::to_string(GetCurrentProcessId());
    ASSERT_TRUE(harness::writeFile(folder / ("qnotes" + tag + ".TXT"), 5, 'n'));
    ASSERT_TRUE(harness::writeFile(folder / "BASE.DB", 16, '\0'));
    ASSERT_TRUE(CopyFileA(QUARROW_PICTURE_FIXTURES "photo.jpg", (folder / "PHOTO.JPEG").c_str(), FALSE));
    ASSERT_TRUE(CopyFileA(QUARROW_COMMANDER_FIXTURES "parts.db", (folder / "shop.db").c_str(), FALSE));
    show(0, folder.path());

    enum Opener { kShell, kOdbc, kSqlite, kViewer };
    const struct {
        const char* entry;
        Opener opener;
    } cases[] = {{"PHOTO", kViewer}, {"BASE", kOdbc}, {"shop", kSqlite}, {"qnotes", kShell}};
    for (const auto& c : cases) {
        std::string entry = std::string(c.entry) == "qnotes" ? "qnotes" + tag : c.entry;
        ASSERT_TRUE(focusEntry(ids(0).fileList, entry)) << entry;
        std::string caption;
        bool viewer = false;
        bool shown = harness::runDialog([&] { press(files(0), VK_RETURN); },
                                        [&](HWND window) {
                                            harness::pumpMessages(100);
                                            caption = harness::windowText(window);
                                            viewer = GetDlgItem(window, IDC_PICVIEW_BITMAP) != nullptr;
                                        });
        harness::pumpMessages(50);
        switch (c.opener) {
            case kViewer:
                ASSERT_TRUE(shown) << "no picture viewer";
                EXPECT_TRUE(viewer);
                EXPECT_EQ(caption, "PHOTO.JPEG");
                break;
            case kOdbc:
                // A Paradox table, and no Paradox driver here: the ODBC side tries to connect, asks
                // for a login and reports the failure; the panel stays where it was.
                EXPECT_FALSE(shown) << caption;
                EXPECT_TRUE(ui_.logins > 0 || !ui_.errors.empty()) << "the database file did not reach the ODBC side";
                EXPECT_EQ(panel(0).mode, panel_mode::kDirectory);
                EXPECT_TRUE(IsWindowVisible(files(0)));
                EXPECT_EQ(odbcBinding().liveConnections(), 0);
                break;
            case kSqlite: {
                // An SQLite database under the .db extension opens through the SQLite driver, which
                // under Wine is given the host's path: its tables are listed, and no empty database
                // appears anywhere for the Windows name.
                EXPECT_FALSE(shown) << caption;
                EXPECT_EQ(panel(0).mode, panel_mode::kDatabaseFile);
                EXPECT_TRUE(focusEntry(ids(0).odbcList, "parts")) << "the file's table is not listed";
                EXPECT_EQ(odbcBinding().liveConnections(), 1);
                odbcRootOrUp(*state(), panel(0), false);
                EXPECT_EQ(panel(0).mode, panel_mode::kDirectory);
                EXPECT_EQ(odbcBinding().liveConnections(), 0);
                break;
            }
            case kShell: {
                EXPECT_FALSE(shown) << caption;
                HWND notepad = nullptr;
                harness::pumpUntil([&] { return (notepad = windowTitled("qnotes" + tag)) != nullptr; }, 20000);
                ASSERT_NE(notepad, nullptr) << "the shell opened no program for the file";
                endProgramOf(notepad);
                break;
            }
        }
        if (panel(0).mode != panel_mode::kDirectory)
            show(0, folder.path());
    }
}

}  // namespace
