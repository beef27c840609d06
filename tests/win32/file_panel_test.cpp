// File panels under Wine: listings with their columns and records, walking folders, the drive list,
// copy and delete through the shell, and "Make directory" with GETEDIT.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <memory>
#include <string>
#include <vector>

#include "copy/file_commands.h"
#include "copy/file_panel.h"
#include "copy/shell_file.h"
#include "resources/files_ids.h"
#include "tests/win32/dialog_script.h"
#include "tests/win32/harness.h"
#include "tests/win32/scratch_folder.h"
#include "tests/win32/screenshot.h"

namespace {

constexpr int kListId = 101;
constexpr int kPathId = 102;

using harness::exists;
using harness::readFile;
using harness::ScratchFolder;
using harness::takeOutOfTrash;
using harness::trashFolder;

void writeFile(const std::string& path, size_t size, char fill = 'x') {
    ASSERT_TRUE(harness::writeFile(path, size, fill)) << path;
}

// A window holding a panel's report list and path line, as the commander holds them.
class PanelWindow : public testing::Test {
  protected:
    void SetUp() override {
        window_ = CreateWindowExA(0, "STATIC", "panel", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 900, 400, nullptr,
                                  nullptr, nullptr, nullptr);
        ASSERT_TRUE(window_);
        list_ = CreateWindowExA(0, WC_LISTVIEWA, "", WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_SHOWSELALWAYS, 0, 20, 880,
                                340, window_, reinterpret_cast<HMENU>(kListId), nullptr, nullptr);
        ASSERT_TRUE(list_);
        ASSERT_TRUE(CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, 0, 0, 880, 20, window_,
                                    reinterpret_cast<HMENU>(kPathId), nullptr, nullptr));
        panel_.fileListId = kListId;
        panel_.pathLineId = kPathId;
        setFileListColumns(list_);
    }
    void TearDown() override {
        if (list_)
            clearFileList(list_);
        DestroyWindow(window_);
    }
    int list(const std::string& folder) {
        SetDlgItemTextA(window_, kPathId, folder.c_str());
        return listDirectory(window_, kListId, (folder + "*.*").c_str(), panel_);
    }
    std::string cell(int item, int column) {
        char text[300] = "";
        ListView_GetItemText(list_, item, column, text, sizeof text);
        return text;
    }
    int find(const std::string& name) {
        for (int i = 0; i < ListView_GetItemCount(list_); ++i)
            if (fileEntryAt(list_, i)->find.name == name)
                return i;
        return -1;
    }
    std::vector<std::string> names() {
        std::vector<std::string> found;
        for (int i = 0; i < ListView_GetItemCount(list_); ++i)
            found.push_back(fileEntryAt(list_, i)->find.name);
        return found;
    }
    HWND window_ = nullptr;
    HWND list_ = nullptr;
    FilePanel panel_;
};

TEST_F(PanelWindow, ListingShowsEveryColumnAndKeepsTheNameItFound) {
    ScratchFolder folder("list");
    writeFile(folder / "a.b.txt", 1025);
    writeFile(folder / "README", 1024);
    writeFile(folder / "report.", 3, 'd');  // shown alike, two different files
    writeFile(folder / "report", 4, 'p');
    ASSERT_TRUE(CreateDirectoryA((folder / "Sub").c_str(), nullptr));

    char heading[32];
    LVCOLUMNA column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.pszText = heading;
    column.cchTextMax = sizeof heading;
    const char* headings[] = {"File name", "Type", "Size", "Create date", "Last access", "Modify date", "Attr."};
    const int widths[] = {270, 90, 80, 160, 160, 160, 80};
    for (int i = 0; i < 7; ++i) {
        ASSERT_TRUE(SendMessageA(list_, LVM_GETCOLUMNA, i, reinterpret_cast<LPARAM>(&column)));
        EXPECT_STREQ(heading, headings[i]);
        EXPECT_EQ(column.cx, widths[i]);
    }

    EXPECT_EQ(list(folder.path()), 6);  // ".." is listed, "." is not
    // Sorted by type: "..", the folder, the files without a type, then by type.
    EXPECT_EQ(names(), (std::vector<std::string>{"..", "Sub", "README", "report", "report.", "a.b.txt"}));
    harness::pumpMessages(50);
    harness::saveScreenshot(window_, "file-panel.bmp");

    const struct {
        const char* name;
        const char* shown;
        const char* type;
        const char* size;
        const char* attributes;
    } rows[] = {
        {"a.b.txt", "a.b", "txt", "1 kb", "A------"}, {"README", "README", "", "1024", "A------"},
        {"report.", "report", "", "3", "A------"},    {"report", "report", "", "4", "A------"},
        {"Sub", "Sub", "<dir>", "0", "--D----"},
    };
    for (const auto& row : rows) {
        int i = find(row.name);
        ASSERT_GE(i, 0) << row.name;
        EXPECT_EQ(cell(i, 0), row.shown) << row.name;
        EXPECT_EQ(cell(i, 1), row.type) << row.name;
        EXPECT_EQ(cell(i, 2), row.size) << row.name;
        EXPECT_EQ(cell(i, 6), row.attributes) << row.name;
        EXPECT_EQ(cell(i, 5).size(), 19u) << cell(i, 5);
        EntryPath path = entryPath(window_, kListId, i, panel_);
        EXPECT_EQ(path.fullPath, folder / row.name);
        EXPECT_GE(systemIconIndex(path.fullPath.c_str()), 0);
    }
    // Each "report" entry names its own file: its content proves it.
    EXPECT_EQ(readFile(entryPath(window_, kListId, find("report."), panel_).fullPath), "ddd");
    EXPECT_EQ(readFile(entryPath(window_, kListId, find("report"), panel_).fullPath), "pppp");

    // Deleting one of them leaves the other.
    EXPECT_EQ(
        deleteToRecycleBin(window_, entryPath(window_, kListId, find("report."), panel_).fullPath, FOF_NOCONFIRMATION),
        0);
    EXPECT_FALSE(exists(folder / "report."));
    takeOutOfTrash("report.");
    EXPECT_EQ(readFile(folder / "report"), "pppp");

    EntryPath up = entryPath(window_, kListId, find(".."), panel_);
    EXPECT_EQ(up.fullPath, parentPath(folder.path()));

    // The list asks for icons; the answer is the system's small icon of the entry's own path.
    NMLVDISPINFOA info{};
    info.hdr.hwndFrom = list_;
    info.hdr.code = LVN_GETDISPINFOA;
    info.item.mask = LVIF_IMAGE;
    info.item.iItem = find("a.b.txt");
    ASSERT_TRUE(fileListDisplayInfo(reinterpret_cast<LPARAM>(&info)));
    EXPECT_EQ(info.item.iImage, systemIconIndex((folder / "a.b.txt").c_str()));
}

TEST_F(PanelWindow, WalkingIntoDeepFoldersAndBackRestoresPathAndFocus) {
    ScratchFolder folder("walk");
    std::string deep = folder.path();
    // Deeper than the 64 remembered levels, and the path line far past 127 characters.
    for (int i = 0; i < 70; ++i) {
        deep += "d\\";
        ASSERT_TRUE(CreateDirectoryA(deep.c_str(), nullptr)) << deep.size();
    }
    list(folder.path());
    std::string path = folder.path();
    for (int i = 0; i < 70; ++i) {
        // Each folder holds "..", a file and "d"; the focus each level remembers is where "d" was.
        writeFile(path + "f", 1);
        list(path);
        int index = find("d");
        ASSERT_GE(index, 0) << i;
        ASSERT_TRUE(enterFileEntry(window_, panel_, index));
        path += "d\\";
        ASSERT_EQ(pathLineText(window_, kPathId), path);
    }
    EXPECT_EQ(panel_.focus.depth(), 70);
    for (int i = 69; i >= 0; --i) {
        goToParentFolder(window_, panel_);
        path = parentPath(path);
        ASSERT_EQ(pathLineText(window_, kPathId), path) << i;
        ASSERT_EQ(ListView_GetNextItem(list_, -1, LVNI_FOCUSED), i < FocusStack::kSlots ? find("d") : 0) << i;
    }
    EXPECT_EQ(panel_.focus.depth(), 0);
    goToDriveRoot(window_, panel_);
    EXPECT_EQ(pathLineText(window_, kPathId), path.substr(0, 3));
}

TEST_F(PanelWindow, DriveListStartsWithTheDataSourcesAndNamesEachDrive) {
    HWND combo = CreateWindowExA(0, "COMBOBOX", "", WS_CHILD | CBS_DROPDOWNLIST | WS_VISIBLE, 0, 0, 200, 200, window_,
                                 nullptr, nullptr, nullptr);
    ASSERT_TRUE(combo);
    fillDriveList(combo);
    int count = static_cast<int>(SendMessageA(combo, CB_GETCOUNT, 0, 0));
    ASSERT_GE(count, 2);
    std::vector<std::string> entries;
    for (int i = 0; i < count; ++i) {
        char text[300] = "";
        SendMessageA(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
        entries.push_back(text);
    }
    EXPECT_EQ(entries[0], "DSN\\");
    EXPECT_EQ(entries[1].substr(0, 3), "C:\\");
    for (size_t i = 1; i < entries.size(); ++i)
        EXPECT_EQ(entries[i].find(":)"), std::string::npos) << entries[i];
    DestroyWindow(combo);
}

TEST_F(PanelWindow, ShellCopiesAndDeletesWithItsConfirmationsAnswered) {
    ScratchFolder left("left");
    ScratchFolder right("right");
    writeFile(left / "data.txt", 5, 'a');
    ASSERT_TRUE(CreateDirectoryA((left / "tree").c_str(), nullptr));
    writeFile(left / "tree\\inner.txt", 2, 'i');

    // The shell asks before it replaces or deletes; the answers are given as a user gives them.
    harness::MessageBoxCatcher yes(IDYES);
    EXPECT_EQ(copyIntoFolder(window_, left / "data.txt", right.path()), 0);
    EXPECT_EQ(readFile(right / "data.txt"), "aaaaa");
    EXPECT_EQ(copyIntoFolder(window_, left / "tree", right.path()), 0);
    EXPECT_EQ(readFile(right / "tree\\inner.txt"), "ii");
    // Onto a name that is taken: the copy gets a new name and the file there stays.
    writeFile(left / "data.txt", 3, 'b');
    EXPECT_EQ(copyIntoFolder(window_, left / "data.txt", right.path(), FOF_NOCONFIRMATION), 0);
    EXPECT_EQ(readFile(right / "data.txt"), "aaaaa");
    EXPECT_EQ(readFile(right / "data (2).txt"), "bbb");
    EXPECT_EQ(copyIntoFolder(window_, left / "tree", right.path(), FOF_NOCONFIRMATION), 0);
    EXPECT_EQ(readFile(right / "tree (2)\\inner.txt"), "ii");
    list(right.path());
    EXPECT_EQ(ListView_GetItemCount(list_), 5) << "\"..\", both files, both folders";

    EXPECT_EQ(deleteToRecycleBin(window_, right / "tree"), 0);
    EXPECT_FALSE(exists(right / "tree"));
    takeOutOfTrash("tree");
    EXPECT_TRUE(exists(left / "tree\\inner.txt"));
}

TEST_F(PanelWindow, DeletedFoldersGoToTheRecycleBin) {
    std::string trash = trashFolder();
    ASSERT_FALSE(trash.empty());
    ScratchFolder folder("recycle");
    std::string name = "qrecycled-" + std::to_string(GetCurrentProcessId());
    ASSERT_TRUE(CreateDirectoryA((folder / name).c_str(), nullptr));
    writeFile(folder / (name + "\\inside.txt"), 6, 'z');
    harness::MessageBoxCatcher yes(IDYES);
    ASSERT_EQ(deleteToRecycleBin(window_, folder / name), 0);
    EXPECT_FALSE(exists(folder / name));
    EXPECT_EQ(readFile(trash + "files\\" + name + "\\inside.txt"), "zzzzzz");
    takeOutOfTrash(name);
}

TEST_F(PanelWindow, FailingShellOperationsLoseNothing) {
    ScratchFolder left("failleft");
    ScratchFolder right("failright");
    writeFile(left / "kept.txt", 4, 'k');
    writeFile(right / "kept.txt", 2, 'r');
    harness::MessageBoxCatcher ok(IDOK);

    // A missing source.
    EXPECT_NE(copyIntoFolder(window_, left / "missing.txt", right.path(), FOF_NOCONFIRMATION), 0);
    // A source another process holds open without sharing.
    HANDLE locked =
        CreateFileA((left / "kept.txt").c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(locked, INVALID_HANDLE_VALUE);
    EXPECT_NE(deleteToRecycleBin(window_, left / "kept.txt", FOF_NOCONFIRMATION), 0);
    CloseHandle(locked);
    // A target "folder" that is a file.
    EXPECT_NE(copyIntoFolder(window_, left / "kept.txt", right / "kept.txt\\", FOF_NOCONFIRMATION), 0);

    EXPECT_EQ(readFile(left / "kept.txt"), "kkkk");
    EXPECT_EQ(readFile(right / "kept.txt"), "rr");
    EXPECT_FALSE(exists(right / "missing.txt"));
}

TEST_F(PanelWindow, MakeDirectoryCreatesOnlyInsideThePanelFolder) {
    ScratchFolder folder("mkdir");
    ASSERT_TRUE(CreateDirectoryA((folder / "inner").c_str(), nullptr));
    std::string inner = folder / "inner\\";
    list(inner);

    const struct {
        const char* input;
        int created;
        const char* where;  // relative to the scratch folder
    } cases[] = {
        {"New folder", 1, "inner\\New folder"},
        {"..\\escaped", 0, "escaped"},
        {"a\\b", 0, "inner\\a"},
        {"..", 0, nullptr},
        {"New folder", 0, nullptr},  // taken
    };
    for (const auto& c : cases) {
        int result = -1;
        std::string title;
        std::unique_ptr<harness::BoxCatcher> boxes;  // the warning comes after GETEDIT has closed
        bool shown = harness::runDialog([&] { result = makeDirectory(window_, panel_); },
                                        [&](HWND dialog) {
                                            title = harness::windowText(dialog);
                                            boxes = std::make_unique<harness::BoxCatcher>(dialog);
                                            harness::setText(dialog, IDC_GETEDIT_INPUT, c.input);
                                            harness::click(dialog, IDOK);
                                        });
        ASSERT_TRUE(shown) << c.input;
        EXPECT_EQ(title, "Make directory");
        EXPECT_EQ(result, c.created) << c.input;
        EXPECT_EQ(boxes->texts(), c.created ? std::vector<std::string>{} : std::vector<std::string>{"Create error!"})
            << c.input;
        if (c.where) {
            EXPECT_EQ(exists(folder / c.where), c.created == 1) << c.input;
        }
    }
    EXPECT_GE(find("New folder"), 0);
}

}  // namespace

namespace {

TEST(ShellFileOperations, MoveAndRenameSeveralPathsAndFailWithoutLoss) {
    ScratchFolder folder("ops");
    writeFile(folder / "one.txt", 1, '1');
    writeFile(folder / "two.txt", 2, '2');
    ASSERT_TRUE(CreateDirectoryA((folder / "into").c_str(), nullptr));

    ShellFile move;
    move.setFlags(FOF_NOCONFIRMATION | FOF_NOERRORUI | FOF_MULTIDESTFILES);
    move.add(ShellFile::kFrom, (folder / "one.txt").c_str());
    move.add(ShellFile::kFrom, (folder / "two.txt").c_str());
    move.add(ShellFile::kTo, (folder / "into\\one.txt").c_str());
    move.add(ShellFile::kTo, (folder / "into\\two.txt").c_str());
    // Wine refuses several files into one folder (ERROR_CANCELLED); one target per source works everywhere.
    EXPECT_EQ(move.move(), 0);
    EXPECT_FALSE(move.aborted());
    EXPECT_EQ(readFile(folder / "into\\one.txt"), "1");
    EXPECT_EQ(readFile(folder / "into\\two.txt"), "22");
    EXPECT_FALSE(exists(folder / "one.txt"));

    ShellFile rename;
    rename.setFlags(FOF_NOCONFIRMATION | FOF_NOERRORUI);
    rename.setTitle("Renaming");
    rename.add(ShellFile::kFrom, (folder / "into\\one.txt").c_str());
    rename.add(ShellFile::kTo, (folder / "into\\first.txt").c_str());
    EXPECT_EQ(rename.rename(), 0);
    EXPECT_EQ(readFile(folder / "into\\first.txt"), "1");

    // Renaming onto a name that is taken fails and leaves both files as they were.
    ShellFile clash;
    clash.setFlags(FOF_NOCONFIRMATION | FOF_NOERRORUI);
    clash.add(ShellFile::kFrom, (folder / "into\\first.txt").c_str());
    clash.add(ShellFile::kTo, (folder / "into\\two.txt").c_str());
    EXPECT_NE(clash.rename(), 0);
    EXPECT_EQ(readFile(folder / "into\\first.txt"), "1");
    EXPECT_EQ(readFile(folder / "into\\two.txt"), "22");
}

}  // namespace
