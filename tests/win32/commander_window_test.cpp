// The commander window itself: opening from the main menu, both panels at the data source list,
// the keys that move the focus between panels, the smallest size, the splitter, and closing.
#include <utility>

#include "tests/win32/commander_fixture.h"

namespace {

RECT rectIn(HWND dialog, HWND control) {
    RECT rect{};
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

TEST_F(CommanderTest, OpensWithBothPanelsAtTheDataSourcesAndClosesFreeingEverything) {
    EXPECT_EQ(harness::windowText(dialog()), "ODBC Commander");
    EXPECT_TRUE(menuItemGrey());
    SendMessageA(main_, WM_COMMAND, IDM_ODBC_COMMANDER, 0);
    EXPECT_EQ(commanderWindow(), dialog()) << "a second command brings the same window forward";
    for (int side = 0; side < 2; ++side) {
        const PanelIds& ids = panel(side).ids;
        EXPECT_EQ(panel(side).mode, panel_mode::kDataSources);
        EXPECT_EQ(panel(side).odbcLevel, odbc_level::kSources);
        EXPECT_EQ(text(ids.pathLine), "DSN\\");
        EXPECT_TRUE(IsWindowVisible(item(ids.odbcList)));
        for (int hidden : {ids.fileList, ids.grid, ids.editor, ids.message, ids.assist, ids.execute})
            EXPECT_FALSE(IsWindowVisible(item(hidden))) << hidden;
    }
    SendMessageA(dialog(), WM_CLOSE, 0, 0);
    expectClosedClean();
}

TEST_F(CommanderTest, TabAndAltFunctionKeysMoveTheFocus) {
    const PanelIds& left = panel(0).ids;
    const PanelIds& right = panel(1).ids;
    press(item(left.odbcList), VK_TAB);
    EXPECT_EQ(GetFocus(), item(right.odbcList));
    press(item(right.odbcList), VK_TAB);
    EXPECT_EQ(GetFocus(), item(left.odbcList));
    press(item(left.odbcList), VK_F2, false, true);
    EXPECT_EQ(GetFocus(), item(right.driveList));
    press(item(right.odbcList), VK_F1, false, true);
    EXPECT_EQ(GetFocus(), item(left.driveList));
}

TEST_F(CommanderTest, SnapsBackBelowTheSmallestSize) {
    SetWindowPos(dialog(), nullptr, 10, 10, 900, 600, SWP_NOZORDER);
    harness::pumpMessages(20);
    const struct {
        int width, height;
        bool kept;
    } cases[] = {{600, 600, false}, {900, 400, false}, {601, 401, true}, {1000, 700, true}};
    for (const auto& c : cases) {
        RECT before{};
        GetWindowRect(dialog(), &before);
        // As the user's drag does it: the size changes inside a size/move loop.
        SendMessageA(dialog(), WM_ENTERSIZEMOVE, 0, 0);
        SetWindowPos(dialog(), nullptr, 0, 0, c.width, c.height, SWP_NOZORDER | SWP_NOMOVE);
        SendMessageA(dialog(), WM_EXITSIZEMOVE, 0, 0);
        harness::pumpMessages(20);
        RECT after{};
        GetWindowRect(dialog(), &after);
        if (c.kept) {
            EXPECT_EQ(after.right - after.left, c.width);
            EXPECT_EQ(after.bottom - after.top, c.height);
        } else {
            EXPECT_EQ(after.right - after.left, before.right - before.left) << c.width << "x" << c.height;
            EXPECT_EQ(after.bottom - after.top, before.bottom - before.top) << c.width << "x" << c.height;
        }
    }
    // Each panel takes half of the width.
    RECT client;
    GetClientRect(dialog(), &client);
    RECT left = rectIn(dialog(), item(panel(0).ids.odbcList));
    RECT right = rectIn(dialog(), item(panel(1).ids.odbcList));
    EXPECT_NEAR(left.right - left.left, right.right - right.left, 2);
    EXPECT_LE(right.right, client.right);
}

TEST_F(CommanderTest, SplitterMovesTheBoundaryWhileTheRightPanelKeepsMoreThan150Pixels) {
    SetWindowPos(dialog(), nullptr, 10, 10, 800, 500, SWP_NOZORDER);
    harness::pumpMessages(20);
    RECT client;
    GetClientRect(dialog(), &client);
    auto drag = [&](int x) {
        int grab = state()->split + 1;
        SendMessageA(dialog(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(grab, 100));
        SendMessageA(dialog(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x, 100));
        SendMessageA(dialog(), WM_LBUTTONUP, 0, MAKELPARAM(x, 100));
        harness::pumpMessages(10);
        return std::make_pair(rectIn(dialog(), item(panel(0).ids.odbcList)),
                              rectIn(dialog(), item(panel(1).ids.odbcList)));
    };
    // Right panel width = client.right - 4 - (x + 4).
    RECT rightBefore = rectIn(dialog(), item(panel(1).ids.odbcList));
    RECT rightRefused = drag(client.right - 8 - 150).second;
    EXPECT_EQ(rightRefused.left, rightBefore.left) << "150 pixels are not enough";
    EXPECT_EQ(GetCapture(), nullptr);
    auto moved = drag(250);
    EXPECT_EQ(moved.first.right, 250);
    EXPECT_EQ(moved.second.left, 254);
    EXPECT_EQ(moved.second.right, client.right - 4);
    RECT rightNarrow = drag(client.right - 8 - 151).second;
    EXPECT_EQ(rightNarrow.right - rightNarrow.left, 151) << "151 pixels are";
}

}  // namespace
