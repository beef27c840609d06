// What the grid draws (pixels of the current cell, header, bitmaps, the stretched last column), the
// mouse (cell choice, header drag) and the pop-up menu and its commands.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <functional>
#include <new>

#include "browse/browse_commands.h"
#include "browse/grid_internal.h"
#include "tests/win32/grid_fake_source.h"
#include "tests/win32/harness.h"

// One block whose release the tests watch: the program's operator delete notes it.
namespace {
const void* g_watched = nullptr;
bool g_watchedFreed = false;
}  // namespace

void operator delete(void* block) noexcept {
    if (block && block == g_watched)
        g_watchedFreed = true;
    std::free(block);
}

void operator delete(void* block, std::size_t) noexcept {
    operator delete(block);
}

namespace {

using gridtest::fake;
using gridtest::GridWindow;

#define REQUIRE_WINDOW(grid) ASSERT_TRUE(IsWindow((grid).window())) << "grid window not created"

// A pixel of the client area, read from the window on screen.
COLORREF clientPixel(HWND window, int x, int y) {
    harness::Pixels pixels = harness::captureWindow(window);
    RECT frame;
    GetWindowRect(window, &frame);
    POINT origin = {0, 0};
    ClientToScreen(window, &origin);
    int wx = origin.x - frame.left + x;
    int wy = origin.y - frame.top + y;
    if (wx < 0 || wy < 0 || wx >= pixels.width || wy >= pixels.height)
        return CLR_INVALID;
    return pixels.at(wx, wy);
}

void click(HWND window, UINT down, UINT up, int x, int y) {
    SendMessageA(window, down, MK_LBUTTON, MAKELPARAM(x, y));
    if (up)
        SendMessageA(window, up, 0, MAKELPARAM(x, y));
}

TEST(GridPixels, TheCurrentCellIsRedOnYellowWithTheFocusAndGreyWithout) {
    GridWindow grid(50);
    REQUIRE_WINDOW(grid);
    grid.key(VK_DOWN);
    grid.key(VK_RIGHT);  // record 2 on row 2, column 1 (x 20..130)
    harness::pumpMessages(50);
    ASSERT_TRUE(grid.view().hasFocus);
    EXPECT_EQ(clientPixel(grid.window(), 120, 50), 0x00FFFFu);  // yellow, right of the text
    EXPECT_EQ(clientPixel(grid.window(), 120, 70), 0xFFFFFFu);  // the next row is white
    EXPECT_EQ(clientPixel(grid.window(), 120, 10), 0xFCE8BEu);  // header background
    EXPECT_EQ(clientPixel(grid.window(), 60, 40), 0xDCDCDCu);   // grid line on top of the cell
    // Some text pixels are red.
    bool red = false;
    for (int x = 22; x < 70 && !red; ++x)
        for (int y = 42; y < 59 && !red; ++y)
            red = clientPixel(grid.window(), x, y) == 0x0000FFu;
    EXPECT_TRUE(red);

    SendMessageA(grid.window(), WM_KILLFOCUS, 0, 0);
    UpdateWindow(grid.window());
    harness::pumpMessages(50);
    EXPECT_FALSE(grid.view().hasFocus);
    EXPECT_EQ(clientPixel(grid.window(), 120, 50), 0xE6E6E6u);
}

CellStyle* bitmapStyle(BrowseView& view) {
    static CellStyle style;
    style.background = 0xFFFFFF;
    style.bitmap = view.bitmaps.empty() ? nullptr : view.bitmaps[0].get();
    style.text[0] = '\0';
    return &style;
}

TEST(GridPixels, ABitmapCellIsDrawnTwoPixelsInsideItsCell) {
    GridWindow grid(10);
    REQUIRE_WINDOW(grid);
    HBITMAP kuka = LoadBitmapA(GetModuleHandleA(nullptr), "KUKA");
    ASSERT_NE(kuka, nullptr) << "bitmap KUKA missing from the resources";
    ASSERT_NE(LoadBitmapA(GetModuleHandleA(nullptr), "INFO"), nullptr);
    grid.view().bitmaps.emplace_back(kuka);
    grid.view().columns[0].cellStyle = bitmapStyle;
    grid.key(VK_DOWN);  // row 1 is no longer current
    harness::pumpMessages(50);
    // Row 1: cell y 20..41, content from (1, 21), picture from (3, 23). Its pixel (7, 1) is dark red,
    // its corner white.
    EXPECT_EQ(clientPixel(grid.window(), 3 + 7, 23 + 1), RGB(120, 10, 10));
    EXPECT_EQ(clientPixel(grid.window(), 3, 23), 0xFFFFFFu);
    EXPECT_EQ(clientPixel(grid.window(), 3 + 6, 23 + 5), RGB(220, 30, 30));
}

TEST(GridLayout, TheLastColumnReachesTheRightEdgeLessTheMargin) {
    GridWindow grid(10);
    REQUIRE_WINDOW(grid);
    const BrowseView& v = grid.view();
    const BrowseColumn& last = v.columns.back();
    EXPECT_EQ(last.x, 20 + 3 * 110);
    EXPECT_EQ(last.x + last.width, v.width - (GetSystemMetrics(SM_CXVSCROLL) + 9));
    EXPECT_EQ(v.fittingColumns, 5);
}

TEST(GridLayout, ALastColumnRightOfTheWindowTakesTheWholeWidth) {
    GridWindow grid(10, nullptr, 8);
    REQUIRE_WINDOW(grid);
    const BrowseView& v = grid.view();
    const BrowseColumn& last = v.columns.back();
    EXPECT_EQ(last.width, v.width - (GetSystemMetrics(SM_CXVSCROLL) + 9));
    EXPECT_EQ(v.fittingColumns, 7);  // columns 0..6 end at 680 at the latest, inside 750
}

TEST(GridMouse, AClickChoosesTheCellBelowTheHeader) {
    GridWindow grid(100);
    REQUIRE_WINDOW(grid);
    click(grid.window(), WM_LBUTTONDOWN, WM_LBUTTONUP, 20 + 110 + 50, 5 * 20 + 5);
    grid.settle();
    EXPECT_EQ(grid.view().curColumn, 2);
    EXPECT_EQ(grid.view().curRow, 5);
    EXPECT_EQ(grid.view().curRecord, 5);
    EXPECT_EQ(fake().record, 5);
    EXPECT_EQ(grid.caption(), "FAKE.DBF - 100/5");
    EXPECT_EQ(GetScrollPos(grid.window(), SB_HORZ), 2);
    click(grid.window(), WM_LBUTTONDOWN, WM_LBUTTONUP, 60, 2 * 20 + 5);
    grid.settle();
    EXPECT_EQ(grid.view().curColumn, 1);
    EXPECT_EQ(grid.view().curRecord, 2);
    EXPECT_EQ(grid.view().curRow, 2);
}

TEST(GridMouse, AClickOnABorderOrBelowTheLastRecordChangesNothing) {
    GridWindow grid(5);
    REQUIRE_WINDOW(grid);
    click(grid.window(), WM_LBUTTONDOWN, WM_LBUTTONUP, 20 + 110 + 1, 8 * 20 + 5);
    grid.settle();
    EXPECT_EQ(grid.view().curColumn, 0);
    EXPECT_EQ(grid.view().curRecord, 1);
    EXPECT_EQ(grid.view().curRow, 1);
}

TEST(GridMouse, DraggingAHeaderBorderResizesTheColumnOnItsLeft) {
    GridWindow grid(10);
    REQUIRE_WINDOW(grid);
    int edge = grid.view().columns[3].x;
    ASSERT_EQ(edge, 20 + 2 * 110);
    SendMessageA(grid.window(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(edge + 2, 6));
    EXPECT_EQ(grid.view().resizeColumn, 3);
    SendMessageA(grid.window(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(edge + 20, 6));
    // A press while resizing is ignored.
    SendMessageA(grid.window(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(60, 65));
    EXPECT_EQ(grid.view().curRow, 1);
    SendMessageA(grid.window(), WM_LBUTTONUP, 0, MAKELPARAM(edge + 40, 6));
    UpdateWindow(grid.window());
    EXPECT_EQ(grid.view().resizeColumn, 0);
    EXPECT_EQ(grid.view().columns[2].width, 150);
    EXPECT_EQ(grid.view().columns[3].x, edge + 40);
    EXPECT_EQ(grid.view().columns[1].width, 110);
}

TEST(GridMouse, DraggingABorderFarLeftKeepsTheColumnVisible) {
    GridWindow grid(10);
    REQUIRE_WINDOW(grid);
    int edge = grid.view().columns[2].x;
    SendMessageA(grid.window(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(edge, 6));
    SendMessageA(grid.window(), WM_LBUTTONUP, 0, MAKELPARAM(0, 6));
    UpdateWindow(grid.window());
    EXPECT_GT(grid.view().columns[1].width, 0);
}

TEST(GridMouse, DoubleClickRunsTheEnterCommand) {
    GridWindow grid(10);
    REQUIRE_WINDOW(grid);
    SendMessageA(grid.window(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(60, 25));
    ASSERT_EQ(gridtest::commandLog().codes.size(), 1u);
    EXPECT_EQ(gridtest::commandLog().codes[0], VK_RETURN);
}

std::string itemText(HMENU menu, int position) {
    char text[64] = "";
    GetMenuStringA(menu, static_cast<UINT>(position), text, sizeof text, MF_BYPOSITION);
    return text;
}

TEST(GridMenu, TableWindowsListEveryCommandAndTheOemToggle) {
    GridWindow grid(10, kTableWindowCommands);
    REQUIRE_WINDOW(grid);
    HMENU menu = buildGridMenu(grid.view());
    ASSERT_NE(menu, nullptr);
    int count = 0;
    while (kTableWindowCommands[count].code)
        ++count;
    ASSERT_EQ(count, 16);
    ASSERT_EQ(GetMenuItemCount(menu), count + 1);
    for (int i = 0; i < count; ++i) {
        EXPECT_EQ(itemText(menu, i), kTableWindowCommands[i].menuText);
        EXPECT_EQ(GetMenuItemID(menu, i), static_cast<UINT>(2000 + kTableWindowCommands[i].code));
    }
    EXPECT_EQ(itemText(menu, count), "&OemToAnsi");
    EXPECT_EQ(GetMenuItemID(menu, count), 3000u);
    DestroyMenu(menu);
}

TEST(GridMenu, TheFourCommandTablesHaveTheirCodesAndTexts) {
    struct Expected {
        const BrowseCommand* table;
        std::vector<std::pair<int, std::string>> entries;
    };
    const Expected tables[] = {
        {kResultGridCommands,
         {{42, "&Print..."},
          {113, "Sa&ve to HTML..."},
          {114, "&Search"},
          {116, "&Go to"},
          {117, "So&rt..."},
          {122, "&Copy to ..."},
          {123, "&Save as 'insert into ...'"},
          {13, "&Memo view"}}},
        {kDialogTableCommands,
         {{45, "&New record"},
          {13, "&Modify"},
          {46, "&Delete"},
          {42, "&Print..."},
          {113, "Sa&ve to HTML..."},
          {114, "&Search"},
          {116, "&Go to"},
          {117, "So&rt..."},
          {121, "&Append from ..."},
          {122, "&Copy to ..."},
          {123, "&Table info"}}},
        {kFieldListCommands, {{120, "&Print"}, {114, "&Search"}, {113, "Sa&ve to HTML..."}, {122, "&Copy to ..."}}},
    };
    for (const Expected& expected : tables) {
        size_t i = 0;
        for (; expected.table[i].code; ++i) {
            ASSERT_LT(i, expected.entries.size());
            EXPECT_EQ(expected.table[i].code, expected.entries[i].first);
            EXPECT_EQ(expected.table[i].menuText, expected.entries[i].second);
            EXPECT_NE(expected.table[i].handler, nullptr);
        }
        EXPECT_EQ(i, expected.entries.size());
    }
    EXPECT_EQ(findCommand(kTableWindowCommands, 27)->handler, exitCommand);
    EXPECT_EQ(findCommand(kTableWindowCommands, 112)->handler, insertScriptCommand);
    EXPECT_EQ(findCommand(kTableWindowCommands, 99), nullptr);
}

int g_f10Runs = 0;
int countF10(BrowseView&) {
    ++g_f10Runs;
    return 1;
}
const BrowseCommand kF10Commands[] = {{121, "&Append from ...", countF10}, {0, "", nullptr}};

TEST(GridKeys, F10ArrivesAsTheMenuKeyAndStillRunsItsCommand) {
    GridWindow grid(10, kF10Commands);
    REQUIRE_WINDOW(grid);
    g_f10Runs = 0;
    SendMessageA(grid.window(), WM_SYSKEYDOWN, VK_F10, 1);
    EXPECT_EQ(g_f10Runs, 1);
    SendMessageA(grid.window(), WM_SYSKEYDOWN, VK_F4, 1);  // other system keys stay the menu's
    EXPECT_EQ(g_f10Runs, 1);
}

TEST(GridMenu, AMenuItemRunsItsCommand) {
    GridWindow grid(10);
    REQUIRE_WINDOW(grid);
    SendMessageA(grid.window(), WM_COMMAND, 2000 + VK_F5, 0);
    SendMessageA(grid.window(), WM_COMMAND, 2000 + 77, 0);  // no such command
    ASSERT_EQ(gridtest::commandLog().codes.size(), 1u);
    EXPECT_EQ(gridtest::commandLog().codes[0], VK_F5);
    // "&Exit" closes the window.
    HWND window = grid.window();
    SendMessageA(window, WM_COMMAND, 2000 + VK_ESCAPE, 0);
    harness::pumpUntil([&] { return !IsWindow(window); });
    EXPECT_FALSE(IsWindow(window));
}

TEST(GridWindowClass, AWindowWithoutADescriptorPaintsNothingAndIgnoresKeys) {
    gridtest::installGrid(GetModuleHandleA(nullptr));
    ASSERT_TRUE(registerGridClass(GetModuleHandleA(nullptr)));
    EXPECT_TRUE(registerGridClass(GetModuleHandleA(nullptr)));  // twice is fine
    HWND window = CreateWindowExA(0, "TBL", "QUARROW", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50, 300, 200, nullptr,
                                  nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(harness::className(window), "Tbl");
    SendMessageA(window, WM_KEYDOWN, VK_ESCAPE, 0);
    UpdateWindow(window);
    harness::pumpMessages(20);
    EXPECT_TRUE(IsWindow(window));
    EXPECT_EQ(clientPixel(window, 10, 10), 0xFFFFFFu);
    DestroyWindow(window);
}

}  // namespace

namespace {

TEST(GridWindowSize, ResizingRecomputesTheRowsAndStretchesTheLastColumnAgain) {
    GridWindow grid(100);
    REQUIRE_WINDOW(grid);
    SetWindowPos(grid.window(), nullptr, 0, 0, 900, 300, SWP_NOMOVE | SWP_NOZORDER);
    UpdateWindow(grid.window());
    BrowseView& v = grid.view();
    EXPECT_EQ(v.rows, 300 / 20 - 3);
    EXPECT_EQ(v.height, (v.rows + 1) * 20 + 1);
    EXPECT_EQ(v.width, 900);
    const BrowseColumn& last = v.columns.back();
    EXPECT_EQ(last.x + last.width, 900 - (GetSystemMetrics(SM_CXVSCROLL) + 9));
    for (int i = 0; i < 20; ++i)
        grid.key(VK_DOWN);
    EXPECT_EQ(v.curRow, v.rows);
    EXPECT_EQ(fake().shown.size(), static_cast<size_t>(v.rows));
}

TEST(GridEditor, WhileTheCellEditorIsOpenOnlyPaintingIsHandled) {
    GridWindow grid(100);
    REQUIRE_WINDOW(grid);
    BrowseView& v = grid.view();
    v.editor = CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE, 20, 20, 110, 21, grid.window(), nullptr,
                               GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(v.editor, nullptr);
    SendMessageA(grid.window(), WM_KEYDOWN, VK_DOWN, 1);
    SendMessageA(grid.window(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(60, 85));
    SendMessageA(grid.window(), WM_COMMAND, 2000 + VK_F5, 0);
    InvalidateRect(grid.window(), nullptr, FALSE);
    UpdateWindow(grid.window());
    EXPECT_EQ(v.curRecord, 1);
    EXPECT_EQ(v.curRow, 1);
    EXPECT_TRUE(gridtest::commandLog().codes.empty());
    // Closing the grid takes the editor with it.
    HWND editor = v.editor;
    DestroyWindow(grid.window());
    EXPECT_FALSE(IsWindow(editor));
    EXPECT_EQ(v.editor, nullptr);
}

// The pop-up menu as a timer inside its modal loop finds it, before closing it.
struct MenuSeen {
    int opened = 0;
    RECT rect = {};
    int items = 0;
};
MenuSeen g_menu;

void CALLBACK closeMenu(HWND, UINT, UINT_PTR id, DWORD) {
    HWND popup = FindWindowA("#32768", nullptr);
    if (!popup || !IsWindowVisible(popup))
        return;
    KillTimer(nullptr, id);
    ++g_menu.opened;
    GetWindowRect(popup, &g_menu.rect);
    g_menu.items = GetMenuItemCount(reinterpret_cast<HMENU>(SendMessageA(popup, MN_GETHMENU, 0, 0)));
    EndMenu();
}

MenuSeen menuOpenedBy(const std::function<void()>& action) {
    g_menu = MenuSeen{};
    UINT_PTR timer = SetTimer(nullptr, 0, 20, closeMenu);
    action();
    harness::pumpMessages(100);
    KillTimer(nullptr, timer);
    return g_menu;
}

TEST(GridMenu, ARightClickOpensTheMenuAndClosingItRunsNothing) {
    GridWindow grid(10);
    REQUIRE_WINDOW(grid);
    DWORD start = GetTickCount();
    MenuSeen seen =
        menuOpenedBy([&] { SendMessageA(grid.window(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(100, 100)); });
    EXPECT_LT(GetTickCount() - start, 5000u);
    EXPECT_EQ(seen.opened, 1);
    EXPECT_EQ(seen.items, 4);  // three commands and "&OemToAnsi"
    harness::pumpMessages(20);
    EXPECT_TRUE(gridtest::commandLog().codes.empty());
    EXPECT_TRUE(IsWindow(grid.window()));
}

// Shift held down for this thread's key state while alive.
struct ShiftDown {
    BYTE saved[256];
    ShiftDown() {
        GetKeyboardState(saved);
        BYTE keys[256];
        memcpy(keys, saved, sizeof keys);
        keys[VK_SHIFT] = keys[VK_LSHIFT] = 0x80;
        SetKeyboardState(keys);
    }
    ~ShiftDown() { SetKeyboardState(saved); }
};

TEST(GridMenu, TheKeyboardOpensTheMenuAtTheCurrentCell) {
    GridWindow grid(10);
    REQUIRE_WINDOW(grid);
    HWND window = grid.window();
    grid.key(VK_DOWN);
    grid.key(VK_RIGHT);
    BrowseView& v = grid.view();
    const BrowseColumn& cell = v.columns[static_cast<size_t>(v.curColumn)];
    POINT corner = {cell.x + cell.width, static_cast<LONG>((v.curRow + 1) * v.rowHeight)};
    ClientToScreen(window, &corner);
    auto press = [&](UINT down, UINT up, WPARAM key) {
        SendMessageA(window, down, key, 1);
        SendMessageA(window, up, key, 0xC0000001);
    };
    const struct {
        const char* way;
        std::function<void()> action;
    } ways[] = {
        {"WM_CONTEXTMENU from the keyboard",
         [&] { SendMessageA(window, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(window), -1); }},
        {"the context-menu key", [&] { press(WM_KEYDOWN, WM_KEYUP, VK_APPS); }},
        {"Shift+F10",
         [&] {
             ShiftDown shift;
             press(WM_SYSKEYDOWN, WM_SYSKEYUP, VK_F10);
         }},
    };
    for (const auto& way : ways) {
        MenuSeen seen = menuOpenedBy(way.action);
        EXPECT_EQ(seen.opened, 1) << way.way;
        EXPECT_EQ(seen.rect.right, corner.x) << way.way;
        EXPECT_EQ(seen.rect.top, corner.y) << way.way;
    }
    EXPECT_TRUE(gridtest::commandLog().codes.empty());
    // A right click keeps its own menu: the WM_CONTEXTMENU that follows it opens no second one.
    MenuSeen click = menuOpenedBy(
        [&] { SendMessageA(window, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(window), MAKELPARAM(100, 100)); });
    EXPECT_EQ(click.opened, 0);
}

TEST(GridWindowClass, AWindowThatOwnsItsDescriptorDeletesItWhenDestroyed) {
    gridtest::installGrid(GetModuleHandleA(nullptr));
    HWND window = CreateWindowExA(0, "Tbl", "QUARROW", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 400, 300, nullptr,
                                  nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(window, nullptr);
    fake().reset(10);
    BrowseView* view = new BrowseView;
    initBrowseView(*view, "owned", 0, 0, 400, 300, 18);
    gridtest::useFakeSource(*view);
    gridtest::makeFakeColumns(*view, 2, 60);
    view->ownsDescriptor = true;
    attachBrowseView(window, view);
    UpdateWindow(window);
    EXPECT_EQ(fake().shown.size(), 10u);
    g_watched = view;
    g_watchedFreed = false;
    DestroyWindow(window);
    g_watched = nullptr;
    EXPECT_FALSE(IsWindow(window));
    EXPECT_TRUE(g_watchedFreed) << "the descriptor was not deleted";
}

}  // namespace
