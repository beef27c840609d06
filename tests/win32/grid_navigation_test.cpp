// A real Tbl window over an in-memory table driven by keys and scroll messages: current record, row,
// column, the caption, the scroll box and the clamping at both ends.
#include <gtest/gtest.h>

#include "tests/win32/grid_fake_source.h"
#include "tests/win32/harness.h"

namespace {

using gridtest::fake;
using gridtest::GridWindow;

#define REQUIRE_WINDOW(grid) ASSERT_TRUE(IsWindow((grid).window())) << "grid window not created"

TEST(GridKeys, FirstPaintShowsTheFirstRecordsAndTheCaption) {
    GridWindow grid(100);
    REQUIRE_WINDOW(grid);
    EXPECT_EQ(grid.view().rows, 19);
    EXPECT_EQ(grid.caption(), "FAKE.DBF - 100/1");
    ASSERT_EQ(fake().shown.size(), 19u);
    EXPECT_EQ(fake().shown.front(), 1);
    EXPECT_EQ(fake().shown.back(), 19);
    EXPECT_EQ(GetScrollPos(grid.window(), SB_VERT), 0);
    int low = -1, high = -1;
    GetScrollRange(grid.window(), SB_VERT, &low, &high);
    EXPECT_EQ(low, 0);
    EXPECT_EQ(high, 99);
    GetScrollRange(grid.window(), SB_HORZ, &low, &high);
    EXPECT_EQ(high, 4);  // column count - 1
}

TEST(GridKeys, DownMovesRowAndRecordThenScrollsAtTheBottom) {
    GridWindow grid(100);
    REQUIRE_WINDOW(grid);
    for (int i = 0; i < 3; ++i)
        grid.key(VK_DOWN);
    EXPECT_EQ(grid.view().curRecord, 4);
    EXPECT_EQ(grid.view().curRow, 4);
    EXPECT_EQ(fake().record, 4);
    EXPECT_EQ(grid.caption(), "FAKE.DBF - 100/4");
    EXPECT_EQ(GetScrollPos(grid.window(), SB_VERT), 3);
    for (int i = 0; i < 20; ++i)
        grid.key(VK_DOWN);
    EXPECT_EQ(grid.view().curRecord, 24);
    EXPECT_EQ(grid.view().curRow, 19);
    ASSERT_EQ(fake().shown.size(), 19u);
    EXPECT_EQ(fake().shown.front(), 6);
    EXPECT_EQ(fake().shown.back(), 24);
    EXPECT_EQ(grid.caption(), "FAKE.DBF - 100/24");
}

TEST(GridKeys, UpStopsAtTheFirstRecord) {
    GridWindow grid(100);
    REQUIRE_WINDOW(grid);
    grid.key(VK_DOWN);
    grid.key(VK_UP);
    grid.key(VK_UP);
    grid.key(VK_UP);
    EXPECT_EQ(grid.view().curRecord, 1);
    EXPECT_EQ(grid.view().curRow, 1);
    EXPECT_EQ(grid.caption(), "FAKE.DBF - 100/1");
}

TEST(GridKeys, UpsPressedBeforeAPaintAddUp) {
    GridWindow grid(100);
    REQUIRE_WINDOW(grid);
    for (int i = 0; i < 10; ++i)
        grid.key(VK_DOWN);
    // Three moves before one paint: the table must follow all three.
    for (int i = 0; i < 3; ++i)
        SendMessageA(grid.window(), WM_KEYDOWN, VK_UP, 1);
    grid.settle();
    EXPECT_EQ(grid.view().curRecord, 8);
    EXPECT_EQ(fake().record, 8);
    EXPECT_EQ(grid.caption(), "FAKE.DBF - 100/8");
}

TEST(GridKeys, DownStopsAtTheLastRecord) {
    GridWindow grid(5);
    REQUIRE_WINDOW(grid);
    for (int i = 0; i < 8; ++i)
        grid.key(VK_DOWN);
    EXPECT_EQ(grid.view().curRecord, 5);
    EXPECT_EQ(grid.view().curRow, 5);
    EXPECT_EQ(grid.caption(), "FAKE.DBF - 5/5");
    EXPECT_EQ(fake().shown.size(), 5u);
}

TEST(GridKeys, EmptyTableShowsOnlyTheHeaderAndStaysOnRecordOne) {
    GridWindow grid(0);
    REQUIRE_WINDOW(grid);
    for (UINT vk : {VK_UP, VK_DOWN, VK_PRIOR, VK_NEXT}) {
        grid.key(vk);
        EXPECT_EQ(grid.view().curRecord, 1) << vk;
        EXPECT_EQ(grid.view().curRow, 1) << vk;
    }
    EXPECT_TRUE(fake().shown.empty());
    int low = -1, high = -1;
    GetScrollRange(grid.window(), SB_VERT, &low, &high);
    EXPECT_EQ(high, 1);
}

TEST(GridKeys, PageDownAndPageUp) {
    GridWindow grid(100);
    REQUIRE_WINDOW(grid);
    grid.key(VK_NEXT);
    EXPECT_EQ(grid.view().curRecord, 20);
    EXPECT_EQ(fake().shown.front(), 20);
    EXPECT_EQ(grid.caption(), "FAKE.DBF - 100/20");
    grid.key(VK_NEXT);
    EXPECT_EQ(grid.view().curRecord, 39);
    grid.key(VK_PRIOR);
    EXPECT_EQ(grid.view().curRecord, 20);
    grid.key(VK_PRIOR);
    grid.key(VK_PRIOR);
    EXPECT_EQ(grid.view().curRecord, 1);
    EXPECT_EQ(grid.view().curRow, 1);
    EXPECT_EQ(grid.caption(), "FAKE.DBF - 100/1");
}

TEST(GridKeys, PageDownNearTheEndClampsToTheLastRecord) {
    GridWindow grid(30);
    REQUIRE_WINDOW(grid);
    grid.key(VK_NEXT);
    grid.key(VK_NEXT);
    grid.key(VK_NEXT);
    EXPECT_EQ(grid.view().curRecord, 30);
    EXPECT_EQ(fake().record, 30);
    EXPECT_EQ(grid.caption(), "FAKE.DBF - 30/30");
}

TEST(GridKeys, PageUpFromALowRowKeepsTheCurrentRecordOnItsRow) {
    GridWindow grid(100);
    REQUIRE_WINDOW(grid);
    for (int i = 0; i < 6; ++i)
        grid.key(VK_DOWN);  // record 7 on row 7
    grid.key(VK_PRIOR);     // back to the top
    EXPECT_EQ(grid.view().curRecord, 1);
    EXPECT_EQ(grid.view().curRow, 1);
    EXPECT_EQ(fake().shown.front(), 1);
}

TEST(GridKeys, CtrlEndAndCtrlHome) {
    GridWindow grid(100);
    REQUIRE_WINDOW(grid);
    grid.key(VK_END, true);
    EXPECT_EQ(grid.view().curRecord, 100);
    EXPECT_EQ(grid.caption(), "FAKE.DBF - 100/100");
    EXPECT_EQ(GetScrollPos(grid.window(), SB_VERT), 99);
    grid.key(VK_HOME, true);
    EXPECT_EQ(grid.view().curRecord, 1);
    EXPECT_EQ(grid.view().curRow, 1);
    EXPECT_EQ(grid.caption(), "FAKE.DBF - 100/1");
}

TEST(GridKeys, ColumnsMoveWithLeftRightHomeEnd) {
    GridWindow grid(10, nullptr, 12);  // 12 fields of 110 pixels: wider than the window
    REQUIRE_WINDOW(grid);
    BrowseView& v = grid.view();
    grid.key(VK_RIGHT);
    grid.key(VK_RIGHT);
    EXPECT_EQ(v.curColumn, 2);
    EXPECT_EQ(v.firstColumn, 0);
    EXPECT_EQ(v.relColumn, 2);
    EXPECT_EQ(GetScrollPos(grid.window(), SB_HORZ), 2);
    for (int i = 0; i < 5; ++i)
        grid.key(VK_RIGHT);
    // Column 7 ends at 20 + 7 x 110 = 790, beyond the 750-pixel window: it becomes the first.
    EXPECT_EQ(v.curColumn, 7);
    EXPECT_EQ(v.firstColumn, 7);
    EXPECT_EQ(v.relColumn, 0);
    grid.key(VK_LEFT);
    EXPECT_EQ(v.curColumn, 6);
    EXPECT_EQ(v.firstColumn, 6);
    grid.key(VK_END);
    EXPECT_EQ(v.curColumn, 12);
    EXPECT_EQ(v.firstColumn, 12);
    for (int i = 0; i < 3; ++i)
        grid.key(VK_RIGHT);
    EXPECT_EQ(v.curColumn, 12);
    grid.key(VK_HOME);
    EXPECT_EQ(v.curColumn, 0);
    EXPECT_EQ(v.firstColumn, 0);
    grid.key(VK_LEFT);
    EXPECT_EQ(v.curColumn, 0);
}

TEST(GridKeys, KeysDuringAPaintAreIgnored) {
    GridWindow grid(100);
    REQUIRE_WINDOW(grid);
    grid.view().painting = true;
    SendMessageA(grid.window(), WM_KEYDOWN, VK_DOWN, 1);
    grid.view().painting = false;
    EXPECT_EQ(grid.view().curRecord, 1);
    EXPECT_EQ(fake().record, 1);
}

TEST(GridKeys, CommandKeysRunTheirCommandAndOthersNothing) {
    GridWindow grid(100);
    REQUIRE_WINDOW(grid);
    grid.key(VK_F5);
    grid.key('A');
    grid.key(VK_RETURN);
    ASSERT_EQ(gridtest::commandLog().codes.size(), 2u);
    EXPECT_EQ(gridtest::commandLog().codes[0], VK_F5);
    EXPECT_EQ(gridtest::commandLog().codes[1], VK_RETURN);
}

TEST(GridKeys, CommandsTakeOverTheTablePosition) {
    GridWindow grid(100);
    REQUIRE_WINDOW(grid);
    fake().goTo(42);  // as "&Go to" would
    grid.key(VK_F5);
    EXPECT_EQ(grid.view().curRecord, 42);
    EXPECT_EQ(grid.caption(), "FAKE.DBF - 100/42");
}

TEST(GridKeys, ACommandRightAfterAMoveKeepsThePositionItChose) {
    GridWindow grid(100);
    REQUIRE_WINDOW(grid);
    for (int i = 0; i < 5; ++i)
        grid.key(VK_DOWN);
    SendMessageA(grid.window(), WM_KEYDOWN, VK_UP, 1);  // not painted yet
    fake().goTo(42);
    SendMessageA(grid.window(), WM_KEYDOWN, VK_F5, 1);
    grid.settle();
    EXPECT_EQ(grid.view().curRecord, 42);
    EXPECT_EQ(fake().record, 42);
    EXPECT_EQ(grid.caption(), "FAKE.DBF - 100/42");
}

TEST(GridKeys, FewerColumnsAfterAChangeOfStructureKeepTheCurrentColumnInRange) {
    GridWindow grid(10, nullptr, 12);
    REQUIRE_WINDOW(grid);
    grid.key(VK_END);
    ASSERT_EQ(grid.view().curColumn, 12);
    gridtest::makeFakeColumns(grid.view(), 2, 60);
    InvalidateRect(grid.window(), nullptr, TRUE);
    UpdateWindow(grid.window());
    EXPECT_EQ(grid.view().curColumn, 2);
    EXPECT_EQ(grid.view().firstColumn, 2);
    grid.key('C', true);
    setColumnCount(grid.view(), 0);  // nothing to show at all
    InvalidateRect(grid.window(), nullptr, TRUE);
    UpdateWindow(grid.window());
    grid.key(VK_RIGHT);
    grid.key('C', true);
    EXPECT_EQ(grid.view().curColumn, 0);
    EXPECT_TRUE(IsWindow(grid.window()));
}

TEST(GridKeys, CtrlCPutsTheCurrentCellOnTheClipboard) {
    GridWindow grid(100);
    REQUIRE_WINDOW(grid);
    grid.key(VK_DOWN);
    grid.key(VK_DOWN);
    grid.key(VK_RIGHT);
    grid.key(VK_RIGHT);
    grid.key('C', true);
    ASSERT_TRUE(OpenClipboard(grid.window()));
    HANDLE data = GetClipboardData(CF_TEXT);
    std::string text = data ? static_cast<const char*>(GlobalLock(data)) : "";
    if (data)
        GlobalUnlock(data);
    CloseClipboard();
    EXPECT_EQ(text, "R3C2");
}

TEST(GridKeys, EscapeClosesATopLevelWindow) {
    GridWindow grid(10);
    REQUIRE_WINDOW(grid);
    HWND window = grid.window();
    SendMessageA(window, WM_KEYDOWN, VK_ESCAPE, 1);
    harness::pumpUntil([&] { return !IsWindow(window); });
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(browseViewOf(window), nullptr);
    EXPECT_TRUE(grid.view().columns.empty());
}

TEST(GridKeys, MouseWheelMovesLikeUpAndDown) {
    GridWindow grid(100);
    REQUIRE_WINDOW(grid);
    SendMessageA(grid.window(), WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), 0);
    grid.settle();
    SendMessageA(grid.window(), WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), 0);
    grid.settle();
    EXPECT_EQ(grid.view().curRecord, 3);
    SendMessageA(grid.window(), WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0);
    grid.settle();
    EXPECT_EQ(grid.view().curRecord, 2);
}

TEST(GridScroll, LineAndPageCodesMoveAndTheThumbGoesToARecord) {
    GridWindow grid(1000);
    REQUIRE_WINDOW(grid);
    grid.scroll(WM_VSCROLL, SB_LINEDOWN);
    EXPECT_EQ(grid.view().curRecord, 2);
    grid.scroll(WM_VSCROLL, SB_PAGEDOWN);
    EXPECT_EQ(grid.view().curRecord, 21);
    grid.scroll(WM_VSCROLL, SB_THUMBTRACK, 499);
    EXPECT_EQ(grid.view().curRecord, 500);
    EXPECT_EQ(fake().record, 500);
    EXPECT_EQ(GetScrollPos(grid.window(), SB_VERT), 499);
    EXPECT_EQ(grid.caption(), "FAKE.DBF - 1000/500");
    // A thumb inside the first screen puts the record on its own row.
    grid.scroll(WM_VSCROLL, SB_THUMBPOSITION, 4);
    EXPECT_EQ(grid.view().curRecord, 5);
    EXPECT_EQ(grid.view().curRow, 5);
    EXPECT_EQ(fake().shown.front(), 1);
}

TEST(GridScroll, AScrollMessageWhileAMoveIsPendingIsIgnored) {
    GridWindow grid(100);
    REQUIRE_WINDOW(grid);
    SendMessageA(grid.window(), WM_VSCROLL, SB_LINEDOWN, 0);
    SendMessageA(grid.window(), WM_VSCROLL, SB_LINEDOWN, 0);
    grid.settle();
    EXPECT_EQ(grid.view().curRecord, 2);
}

TEST(GridScroll, HorizontalCodesMoveTheColumn) {
    GridWindow grid(10);
    REQUIRE_WINDOW(grid);
    grid.scroll(WM_HSCROLL, SB_LINERIGHT);
    grid.scroll(WM_HSCROLL, SB_PAGERIGHT);
    EXPECT_EQ(grid.view().curColumn, 2);
    grid.scroll(WM_HSCROLL, SB_LINELEFT);
    EXPECT_EQ(grid.view().curColumn, 1);
}

TEST(GridScroll, AboveSixtyFiveThousandRecordsTheBarWorksInPercent) {
    GridWindow grid(70000);
    REQUIRE_WINDOW(grid);
    int low = -1, high = -1;
    GetScrollRange(grid.window(), SB_VERT, &low, &high);
    EXPECT_EQ(high, 100);
    grid.scroll(WM_VSCROLL, SB_THUMBTRACK, 50);
    EXPECT_EQ(grid.view().curRecord, 35000);
    EXPECT_EQ(grid.view().curRow, 1);
    EXPECT_EQ(fake().shown.front(), 35000);
    EXPECT_EQ(GetScrollPos(grid.window(), SB_VERT), 50);
    EXPECT_EQ(grid.caption(), "FAKE.DBF - 70000/35000");
    grid.scroll(WM_VSCROLL, SB_THUMBTRACK, 0);
    EXPECT_EQ(grid.view().curRecord, 1);
    grid.key(VK_END, true);
    EXPECT_EQ(GetScrollPos(grid.window(), SB_VERT), 100);
}

TEST(GridPaint, APaintReadsOnlyTheVisibleRecords) {
    GridWindow small(100);
    REQUIRE_WINDOW(small);
    fake().steps = fake().styleCalls = 0;
    InvalidateRect(small.window(), nullptr, FALSE);
    UpdateWindow(small.window());
    long smallSteps = fake().steps;
    long smallCalls = fake().styleCalls;

    GridWindow large(10000000);
    REQUIRE_WINDOW(large);
    large.scroll(WM_VSCROLL, SB_THUMBTRACK, 50);
    fake().steps = fake().styleCalls = 0;
    InvalidateRect(large.window(), nullptr, FALSE);
    UpdateWindow(large.window());
    EXPECT_EQ(fake().steps, smallSteps);
    EXPECT_EQ(fake().styleCalls, smallCalls);
    EXPECT_LE(smallSteps, 2 * 19 + 2);
    EXPECT_EQ(smallCalls, 19 * 5);
}

}  // namespace
