// The shell under Wine: window classes, the command-line argument, the pool of table windows and
// its cascade, the window list, the ODBC administrator command and the About box. The table and
// grid modules are stood in for by recording hooks.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "app/about_box.h"
#include "app/command_line.h"
#include "app/main_window.h"
#include "app/shell_hooks.h"
#include "app/table_window.h"
#include "app/window_pool.h"
#include "resources/resource.h"
#include "tests/win32/harness.h"

namespace {

struct FakeTable {
    std::string name;
    bool writable;
};

// What the stand-in modules were asked to do.
struct Recorder {
    std::vector<std::pair<std::string, bool>> opens;  // name, writable
    int closed = 0;
    bool refuseWrite = false;
    bool refuseAll = false;
    std::vector<RECT> placed;
    std::vector<std::string> pictures;
    std::vector<UINT> tableMessages;
};
Recorder* g_recorder = nullptr;

void* fakeOpen(const char* name, bool writable) {
    g_recorder->opens.emplace_back(name, writable);
    if (g_recorder->refuseAll || (writable && g_recorder->refuseWrite))
        return nullptr;
    return new FakeTable{name, writable};
}

void fakeClose(void* table) {
    delete static_cast<FakeTable*>(table);
    g_recorder->closed++;
}

HWND fakeCreate(HWND owner, int slot, void*, int left, int top) {
    HWND window =
        CreateWindowExA(WS_EX_LEFT, "Tbl", tablePool().slot(slot).title, WS_OVERLAPPEDWINDOW | WS_VISIBLE, left, top,
                        kTableWindowWidth, kTableWindowHeight, owner, nullptr, GetModuleHandleA(nullptr), nullptr);
    RECT rect = {};
    GetWindowRect(window, &rect);
    g_recorder->placed.push_back(rect);
    return window;
}

void fakePicture(HWND, const char* path) {
    g_recorder->pictures.push_back(path);
}

LRESULT CALLBACK fakeTableProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (g_recorder)
        g_recorder->tableMessages.push_back(message);
    return DefWindowProcA(window, message, wParam, lParam);
}

HWND g_fakeExplorer = nullptr;
HWND fakeExplorer(HWND owner) {
    g_fakeExplorer = CreateWindowExA(0, "STATIC", "explorer", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, owner, nullptr,
                                     GetModuleHandleA(nullptr), nullptr);
    return g_fakeExplorer;
}

class Shell : public testing::Test {
  protected:
    void SetUp() override {
        saved_ = shellHooks();
        g_recorder = &recorder_;
        ShellHooks& hooks = shellHooks();
        hooks.openTable = fakeOpen;
        hooks.closeTable = fakeClose;
        hooks.createTableWindow = fakeCreate;
        hooks.openPictureViewer = fakePicture;
        hooks.openExplorer = fakeExplorer;
        hooks.tableWindowProc = nullptr;  // the stand-in table windows are plain windows
        char temp[MAX_PATH];
        GetTempPathA(sizeof temp, temp);
        folder_ = std::string(temp) + "quarrow-shell-" + std::to_string(GetCurrentProcessId()) + "-" +
                  testing::UnitTest::GetInstance()->current_test_info()->name();
        CreateDirectoryA(folder_.c_str(), nullptr);
    }
    void TearDown() override {
        if (main_ && IsWindow(main_))
            DestroyWindow(main_);
        for (int i = 0; i < kPoolSize; ++i) {
            PoolSlot& slot = tablePool().slot(i);
            if (slot.inUse) {
                DestroyWindow(static_cast<HWND>(slot.window));
                fakeClose(slot.table);
            }
        }
        tablePool().clear();
        for (const std::string& file : files_)
            DeleteFileA(file.c_str());
        RemoveDirectoryA(folder_.c_str());
        harness::pumpMessages();
        MSG msg;
        while (PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
        }
        shellHooks() = saved_;
        g_recorder = nullptr;
    }
    // A file that exists, so that the shell gets past its existence check.
    std::string makeFile(const std::string& name) {
        std::string path = folder_ + "\\" + name;
        HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        CloseHandle(file);
        files_.push_back(path);
        return path;
    }
    void startMain(const char* commandLine) {
        startUp(commandLine);
        ASSERT_TRUE(registerWindowClasses(GetModuleHandleA(nullptr)));
        main_ = createMainWindow(GetModuleHandleA(nullptr));
        ASSERT_NE(main_, nullptr);
        harness::pumpMessages(30);
    }

    ShellHooks saved_;
    Recorder recorder_;
    std::string folder_;
    std::vector<std::string> files_;
    HWND main_ = nullptr;
};

TEST_F(Shell, FourClassesAreRegisteredWithTheirStyles) {
    startMain("");
    struct Expected {
        const char* name;
        UINT style;
        int extra;
    };
    const Expected classes[] = {{"QUARROW", 0, 0},
                                {"Tbl", CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS, 4},
                                {"MetaFile", CS_VREDRAW | CS_HREDRAW, 4},
                                {"EMF", CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS, 4}};
    for (const Expected& e : classes) {
        WNDCLASSA wc = {};
        ASSERT_TRUE(GetClassInfoA(GetModuleHandleA(nullptr), e.name, &wc)) << e.name;
        EXPECT_EQ(wc.style, e.style) << e.name;
        EXPECT_EQ(wc.cbWndExtra, e.extra) << e.name;
        EXPECT_EQ(wc.hbrBackground, GetStockObject(WHITE_BRUSH)) << e.name;
        EXPECT_EQ(wc.hCursor, LoadCursorA(nullptr, IDC_ARROW)) << e.name;
        EXPECT_EQ(wc.hIcon != nullptr, std::string(e.name) == "QUARROW") << e.name;
    }
}

TEST_F(Shell, TableClassCallsTheProcedureTheGridPlugsIn) {
    startMain("");
    HWND plain = CreateWindowExA(0, "Tbl", "t", WS_OVERLAPPED, 0, 0, 50, 50, nullptr, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(plain, nullptr) << "without a grid procedure the class is a plain window";
    DestroyWindow(plain);
    shellHooks().tableWindowProc = fakeTableProc;
    HWND grid = CreateWindowExA(0, "Tbl", "t", WS_OVERLAPPED, 0, 0, 50, 50, nullptr, nullptr, GetModuleHandleA(nullptr),
                                nullptr);
    ASSERT_NE(grid, nullptr);
    DestroyWindow(grid);
    const std::vector<UINT>& seen = recorder_.tableMessages;
    EXPECT_NE(std::find(seen.begin(), seen.end(), static_cast<UINT>(WM_CREATE)), seen.end());
    EXPECT_NE(std::find(seen.begin(), seen.end(), static_cast<UINT>(WM_DESTROY)), seen.end());
}

TEST(CommandLine, QuotesAreRemovedOnlyInPairs) {
    EXPECT_EQ(unquoteArgument("\"C:\\a b\\t.dbf\""), "C:\\a b\\t.dbf");
    EXPECT_EQ(unquoteArgument("C:\\a b\\t.dbf"), "C:\\a b\\t.dbf");
    EXPECT_EQ(unquoteArgument("\"t.dbf"), "\"t.dbf");
    EXPECT_EQ(unquoteArgument("\"t.dbf\" -x"), "\"t.dbf\" -x");
    EXPECT_EQ(unquoteArgument("\""), "\"");
    EXPECT_EQ(unquoteArgument("\"\""), "");
    EXPECT_EQ(unquoteArgument(nullptr), "");
}

TEST(CommandLine, ExtensionIsComparedCaseBlindAsAWholeItem) {
    struct Case {
        const char* argument;
        ArgumentKind kind;
    };
    const Case cases[] = {
        {"t.dbf", ArgumentKind::Table},
        {"C:\\x\\T.DbF", ArgumentKind::Table},
        {"p.jpg", ArgumentKind::Picture},
        {"p.JPEG", ArgumentKind::Picture},
        {"p.gif", ArgumentKind::Picture},
        {"p.Bmp", ArgumentKind::Picture},
        {"p.emf", ArgumentKind::Picture},
        {"a.b.c.dbf", ArgumentKind::Table},
        {"readme.txt", ArgumentKind::None},
        {"noextension", ArgumentKind::None},
        {"", ArgumentKind::None},
        {"dir.dbf\\file.txt", ArgumentKind::None},
        // Whole extensions only, not pieces of the lists.
        {"x.db", ArgumentKind::None},
        {"x.b", ArgumentKind::None},
        {"x.peg", ArgumentKind::None},
        {"x.MF", ArgumentKind::None},
        {"x.", ArgumentKind::None},
        {"dbf", ArgumentKind::None},
    };
    for (const Case& c : cases)
        EXPECT_EQ(classifyArgument(c.argument), c.kind) << c.argument;
}

TEST(CommandLine, PicturePathGetsTheCurrentDirectoryWhenItHasNoBackslash) {
    EXPECT_EQ(picturePath("kep.jpg", "C:\\work"), "C:\\work\\kep.jpg");
    EXPECT_EQ(picturePath("D:\\kep.jpg", "C:\\work"), "D:\\kep.jpg");
}

TEST_F(Shell, QuotedDbfArgumentOpensOnceAtTheFirstActivation) {
    std::string table = makeFile("mixed case.dbf");
    startMain(("\"" + table + "\"").c_str());
    ASSERT_EQ(recorder_.opens.size(), 1u);
    EXPECT_EQ(recorder_.opens[0].first, table);
    EXPECT_TRUE(recorder_.opens[0].second) << "write access first";
    EXPECT_FALSE(argumentPending());
    EXPECT_EQ(tablePool().inUseCount(), 1);
    SendMessageA(main_, WM_ACTIVATE, WA_ACTIVE, 0);
    harness::pumpMessages(20);
    EXPECT_EQ(recorder_.opens.size(), 1u) << "the argument is handled only once";
}

TEST_F(Shell, PictureArgumentWithoutPathOpensTheViewerInTheCurrentDirectory) {
    startMain("nyaralas.JPG");
    char directory[MAX_PATH];
    GetCurrentDirectoryA(sizeof directory, directory);
    ASSERT_EQ(recorder_.pictures.size(), 1u);
    EXPECT_EQ(recorder_.pictures[0], std::string(directory) + "\\nyaralas.JPG");
    EXPECT_TRUE(recorder_.opens.empty());
}

TEST_F(Shell, OtherArgumentsOpenNothing) {
    startMain("notes.txt");
    EXPECT_TRUE(recorder_.opens.empty());
    EXPECT_TRUE(recorder_.pictures.empty());
}

TEST_F(Shell, SixteenthTableIsRefusedWhileFifteenAreOpen) {
    startMain("");
    for (int i = 0; i < kPoolSize; ++i)
        ASSERT_NE(openTableWindow(main_, makeFile("t" + std::to_string(i) + ".dbf").c_str()), nullptr) << i;
    EXPECT_EQ(tablePool().inUseCount(), 15);
    std::string extra = makeFile("extra.dbf");
    harness::MessageBoxCatcher catcher;
    EXPECT_EQ(openTableWindow(main_, extra.c_str()), nullptr);
    harness::pumpMessages(20);
    ASSERT_EQ(catcher.boxes().size(), 1u);
    EXPECT_EQ(catcher.boxes()[0].caption, "Warning");
    EXPECT_EQ(catcher.boxes()[0].text, "Too many files opened !");
    EXPECT_EQ(recorder_.closed, 1) << "the sixteenth table is closed again";
    EXPECT_EQ(recorder_.placed.size(), 15u) << "no window for it";
    EXPECT_EQ(tablePool().inUseCount(), 15);
}

TEST(WindowPool, CascadeWrapsToTwentyAfterLeftPassesThreeHundred) {
    WindowPool pool;
    pool.clear();
    CascadePosition p = {};
    for (int i = 1; i <= 15; ++i) {
        p = pool.nextPosition();
        EXPECT_EQ(p.left, 20 * i);
        EXPECT_EQ(p.top, 20 + 20 * i);
    }
    EXPECT_EQ(p.left, 300);
    p = pool.nextPosition();
    EXPECT_EQ(p.left, 20);
    EXPECT_EQ(p.top, 20);
    p = pool.nextPosition();
    EXPECT_EQ(p.left, 40);
    EXPECT_EQ(p.top, 40);
}

TEST(WindowPool, FirstFreeSlotIsTakenAndFreedSlotsAreReused) {
    WindowPool pool;
    pool.clear();
    for (int i = 0; i < kPoolSize; ++i)
        EXPECT_EQ(pool.acquire("x"), i);
    EXPECT_EQ(pool.acquire("x"), -1);
    pool.release(7);
    EXPECT_EQ(pool.acquire("again"), 7);
    EXPECT_STREQ(pool.slot(7).title, "again");
    pool.release(-1);  // ignored
    pool.release(15);
    EXPECT_EQ(pool.inUseCount(), 15);
    pool.clear();
    EXPECT_EQ(pool.inUseCount(), 0);
}

TEST(WindowPool, LongTitleIsCutToTheSlot) {
    WindowPool pool;
    pool.clear();
    std::string name(300, 'n');
    int index = pool.acquire(name.c_str());
    EXPECT_EQ(std::string(pool.slot(index).title), std::string(kPoolTitleSize - 1, 'n'));
}

TEST_F(Shell, TableWindowAfterTheOneAtLeft300IsPlacedAt20_20) {
    startMain("");
    for (int i = 0; i < kPoolSize; ++i)
        ASSERT_NE(openTableWindow(main_, makeFile("c" + std::to_string(i) + ".dbf").c_str()), nullptr);
    EXPECT_EQ(recorder_.placed[0].left, 20);
    EXPECT_EQ(recorder_.placed[0].top, 40);
    EXPECT_EQ(recorder_.placed[14].left, 300);
    EXPECT_EQ(recorder_.placed[14].top, 320);
    EXPECT_EQ(recorder_.placed[14].right - recorder_.placed[14].left, kTableWindowWidth);
    HWND third = static_cast<HWND>(tablePool().slot(2).window);
    DestroyWindow(third);
    releaseTableWindow(third);
    fakeClose(tablePool().slot(2).table);
    ASSERT_NE(openTableWindow(main_, makeFile("next.dbf").c_str()), nullptr);
    EXPECT_EQ(recorder_.placed[15].left, 20);
    EXPECT_EQ(recorder_.placed[15].top, 20);
    EXPECT_STREQ(tablePool().slot(2).title, files_.back().c_str()) << "the freed slot is reused";
}

TEST_F(Shell, ReadOnlyTableStillOpens) {
    startMain("");
    recorder_.refuseWrite = true;
    std::string table = makeFile("ro.dbf");
    harness::MessageBoxCatcher catcher;
    HWND window = openTableWindow(main_, table.c_str());
    ASSERT_NE(window, nullptr);
    ASSERT_EQ(recorder_.opens.size(), 2u);
    EXPECT_TRUE(recorder_.opens[0].second);
    EXPECT_FALSE(recorder_.opens[1].second);
    EXPECT_FALSE(static_cast<FakeTable*>(tablePool().slot(0).table)->writable);
    EXPECT_EQ(harness::windowText(window), table);
    EXPECT_TRUE(catcher.boxes().empty());
}

TEST_F(Shell, UnopenableTableIsReportedWithItsName) {
    startMain("");
    recorder_.refuseAll = true;
    std::string table = makeFile("broken.dbf");
    harness::MessageBoxCatcher catcher;
    EXPECT_EQ(openTableWindow(main_, table.c_str()), nullptr);
    harness::pumpMessages(20);
    ASSERT_EQ(catcher.boxes().size(), 1u);
    EXPECT_EQ(catcher.boxes()[0].text, "Can't open : " + table);
    EXPECT_EQ(tablePool().inUseCount(), 0);
}

TEST_F(Shell, MissingTableShowsJustItsName) {
    startMain("");
    std::string missing = folder_ + "\\nincs.dbf";
    harness::MessageBoxCatcher catcher;
    EXPECT_EQ(openTableWindow(main_, missing.c_str()), nullptr);
    EXPECT_EQ(openTableWindow(main_, ""), nullptr);
    harness::pumpMessages(20);
    ASSERT_EQ(catcher.boxes().size(), 1u) << "an empty name does nothing";
    EXPECT_EQ(catcher.boxes()[0].caption, "Warning");
    EXPECT_EQ(catcher.boxes()[0].text, missing);
    EXPECT_TRUE(recorder_.opens.empty());
}

TEST_F(Shell, WindowListNamesOpenTablesAndOdbcWindows) {
    startMain("");
    std::string a = makeFile("a.dbf");
    std::string b = makeFile("b.dbf");
    openTableWindow(main_, a.c_str());
    openTableWindow(main_, b.c_str());
    SendMessageA(main_, WM_COMMAND, IDM_ODBC_EXPLORER, 0);
    ASSERT_EQ(explorerWindow(), g_fakeExplorer);
    HMENU menu = buildWindowListMenu();
    ASSERT_EQ(GetMenuItemCount(menu), 3);
    char text[MAX_PATH];
    GetMenuStringA(menu, 0, text, sizeof text, MF_BYPOSITION);
    EXPECT_EQ(text, a);
    EXPECT_EQ(GetMenuItemID(menu, 0), 2000u);
    EXPECT_EQ(GetMenuItemID(menu, 1), 2001u);
    EXPECT_EQ(GetMenuItemID(menu, 2), 2015u);
    GetMenuStringA(menu, 2, text, sizeof text, MF_BYPOSITION);
    EXPECT_STREQ(text, "ODBC Explorer");
    DestroyMenu(menu);

    SendMessageA(main_, kExplorerClosed, 0, 0);
    EXPECT_EQ(explorerWindow(), nullptr);
    DestroyWindow(g_fakeExplorer);
    menu = buildWindowListMenu();
    EXPECT_EQ(GetMenuItemCount(menu), 2);
    DestroyMenu(menu);
}

TEST_F(Shell, ChoosingAListedWindowRestoresAndFocusesIt) {
    startMain("");
    openTableWindow(main_, makeFile("a.dbf").c_str());
    HWND second = openTableWindow(main_, makeFile("b.dbf").c_str());
    ASSERT_NE(second, nullptr);
    ShowWindow(second, SW_MINIMIZE);
    SetFocus(main_);
    harness::pumpMessages(20);
    ASSERT_TRUE(IsIconic(second));
    SendMessageA(main_, WM_COMMAND, 2001, 0);
    harness::pumpMessages(20);
    EXPECT_FALSE(IsIconic(second));
    EXPECT_EQ(GetFocus(), second);
}

TEST_F(Shell, OldOdbcAdministratorMissingShowsTheMessage) {
    startMain("");
    harness::MessageBoxCatcher catcher;
    runOdbcAdministrator(main_, 5, "quarrow-no-such-program.exe");
    harness::pumpMessages(20);
    ASSERT_EQ(catcher.boxes().size(), 1u);
    EXPECT_EQ(catcher.boxes()[0].caption, "Warning");
    EXPECT_EQ(catcher.boxes()[0].text, "Can't load odbc32.exe.");
}

TEST_F(Shell, NewerWindowsUsesTheInstallerAndShowsNoWarning) {
    startMain("");
    // The program, when run, leaves a file behind: Windows 5 runs it, newer ones ask the installer
    // instead (Wine's installer shows nothing for it).
    std::string marker = folder_ + "\\ran.txt";
    files_.push_back(marker);
    std::string program = "cmd.exe /c echo ran>\"" + marker + "\"";
    harness::MessageBoxCatcher catcher;
    runOdbcAdministrator(nullptr, 6, program.c_str());
    harness::pumpMessages(500);
    EXPECT_EQ(GetFileAttributesA(marker.c_str()), INVALID_FILE_ATTRIBUTES) << "the program ran";
    EXPECT_TRUE(catcher.boxes().empty());
    runOdbcAdministrator(main_, 5, program.c_str());
    EXPECT_TRUE(harness::pumpUntil([&] { return GetFileAttributesA(marker.c_str()) != INVALID_FILE_ATTRIBUTES; }))
        << "the probe program never runs";
}

// Reads the open About box from a timer, which its modal loop dispatches, then closes it.
struct AboutSeen {
    bool found = false;
    std::string caption;
    std::string text;
    bool hasIcon = false;
    bool readOnly = false;
};
AboutSeen* g_about = nullptr;

void CALLBACK inspectAbout(HWND, UINT, UINT_PTR id, DWORD) {
    HWND box = FindWindowA("#32770", "About Quarrow");
    if (!box)
        return;
    KillTimer(nullptr, id);
    g_about->found = true;
    g_about->caption = harness::windowText(box);
    g_about->text = harness::windowText(GetDlgItem(box, IDC_ABOUT_TEXT));
    g_about->hasIcon = SendMessageA(box, WM_GETICON, ICON_BIG, 0) != 0;
    g_about->readOnly = GetWindowLongA(GetDlgItem(box, IDC_ABOUT_TEXT), GWL_STYLE) & ES_READONLY;
    PostMessageA(box, WM_CLOSE, 0, 0);
}

TEST_F(Shell, AboutBoxShowsTheIconAndText) {
    startMain("");
    AboutSeen seen;
    g_about = &seen;
    UINT_PTR timer = SetTimer(nullptr, 0, 20, inspectAbout);
    SendMessageA(main_, WM_COMMAND, IDM_ABOUT, 0);  // returns when the box has closed
    KillTimer(nullptr, timer);
    g_about = nullptr;
    ASSERT_TRUE(seen.found) << "the About box did not open";
    EXPECT_TRUE(seen.hasIcon);
    EXPECT_TRUE(seen.readOnly);
    EXPECT_EQ(seen.text, kAboutText);
    EXPECT_EQ(seen.text.substr(0, seen.text.find("\r\n")), "QUARROW     - ODBC explorer and dBase III viewer");
}

}  // namespace
