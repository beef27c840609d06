// Table windows over real dBase III files: opening through the shell, the column model, cell styles
// by type, the deletion-flag pictures, the OEM toggle, hidden deleted records, and big tables.
#include <gtest/gtest.h>

#include "app/table_window.h"
#include "app/window_pool.h"
#include "base/settings.h"
#include "browse/browse_commands.h"
#include "browse/grid_internal.h"
#include "browse/table_window.h"
#include "dbf/dbf.h"
#include "tests/dbf/dbf_test_util.h"
#include "tests/win32/grid_fake_source.h"
#include "tests/win32/grid_table_files.h"
#include "tests/win32/harness.h"

namespace {

using dbftest::field;

void sendKey(HWND window, UINT vk, bool control = false) {
    BYTE keys[256];
    GetKeyboardState(keys);
    BYTE saved = keys[VK_CONTROL];
    if (control) {
        keys[VK_CONTROL] = 0x80;
        SetKeyboardState(keys);
    }
    SendMessageA(window, WM_KEYDOWN, vk, 1);
    if (control) {
        keys[VK_CONTROL] = saved;
        SetKeyboardState(keys);
    }
    UpdateWindow(window);
    harness::pumpMessages();
}

std::string clipboardText(HWND window) {
    std::string text;
    if (!OpenClipboard(window))
        return "<no clipboard>";
    if (HANDLE data = GetClipboardData(CF_TEXT)) {
        text = static_cast<const char*>(GlobalLock(data));
        GlobalUnlock(data);
    }
    CloseClipboard();
    return text;
}

COLORREF clientPixel(HWND window, int x, int y) {
    harness::Pixels pixels = harness::captureWindow(window);
    RECT frame;
    GetWindowRect(window, &frame);
    POINT origin = {0, 0};
    ClientToScreen(window, &origin);
    int wx = origin.x - frame.left + x, wy = origin.y - frame.top + y;
    if (wx < 0 || wy < 0 || wx >= pixels.width || wy >= pixels.height)
        return CLR_INVALID;
    return pixels.at(wx, wy);
}

class GridTable : public testing::Test {
  protected:
    void SetUp() override {
        resetSettings();
        gridtest::installGrid(GetModuleHandleA(nullptr));
        tablePool().clear();
        path_ = dir_.file("PEOPLE.DBF");
        const FieldDef defs[] = {field("NAME", 'C', 10), field("AGE", 'N', 3), field("BORN", 'D', 8),
                                 field("OK", 'L', 1), field("NOTE", 'M', 10)};
        dbf table(path_.c_str());
        ASSERT_EQ(table.create(defs, 5), 1);
        ASSERT_EQ(table.open(1), 1);
        dbftest::appendRows(
            table, {{"Béla", "42", "19800229", "T"}, {"Anna", "7", "20240101", "F"}, {"Zoltán", "0", "", "T"}});
        table.lockTable();
        table.goTo(2);
        table.deleteRecord();
        table.unlock();
        table.close();
    }
    void TearDown() override {
        for (HWND window : windows_) {
            if (IsWindow(window))
                DestroyWindow(window);
        }
        harness::pumpMessages();
        resetSettings();
    }
    HWND open(const std::string& path) {
        HWND window = openTableWindow(nullptr, path.c_str());
        if (window) {
            windows_.push_back(window);
            UpdateWindow(window);
            harness::pumpMessages(20);
        }
        return window;
    }
    dbftest::TempDir dir_;
    std::string path_;
    std::vector<HWND> windows_;
};

TEST_F(GridTable, OpeningATableShowsItInATableWindow) {
    HWND window = open(path_);
    ASSERT_NE(window, nullptr) << "table window not created";
    EXPECT_EQ(harness::className(window), "Tbl");
    EXPECT_EQ(harness::windowText(window), path_ + " - 3/1");
    BrowseView* view = browseViewOf(window);
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view, tableViewSlot(0));
    EXPECT_EQ(view->commands, kTableWindowCommands);
    EXPECT_TRUE(view->topLevel);
    EXPECT_FALSE(view->embedded);
    EXPECT_FALSE(view->ownsDescriptor);
    EXPECT_TRUE(view->gridLines);
    EXPECT_EQ(view->rowHeight, 20);
    EXPECT_EQ(view->rows, 19);
    EXPECT_EQ(view->columnCount, 6);
    ASSERT_EQ(view->bitmaps.size(), 2u);
    EXPECT_TRUE(view->bitmaps[0] && view->bitmaps[1]);
    ASSERT_NE(view->dataFont, nullptr);
    EXPECT_EQ(view->headerFont, view->dataFont);
    LOGFONTA font = {};
    GetObjectA(view->dataFont, sizeof font, &font);
    EXPECT_STREQ(font.lfFaceName, "Courier New");
    EXPECT_EQ(font.lfHeight, -13);
    EXPECT_EQ(font.lfWeight, 700);
    EXPECT_EQ(font.lfCharSet, 238);
    EXPECT_EQ(GetWindowLongA(window, GWL_STYLE) & (WS_OVERLAPPEDWINDOW | WS_VSCROLL), WS_OVERLAPPEDWINDOW | WS_VSCROLL);

    struct Expected {
        const char* caption;
        int width;
        UINT alignment;
        const char* picture;
        long editLength;
        int editable;
    };
    const Expected columns[] = {{"Deleted", 20, 36, "", 0, 0}, {"NAME", 110, 36, "", 10, 1},
                                {"AGE", 40, 38, "", 3, 1},     {"BORN", 90, 36, "@D", 10, 1},
                                {"OK", 20, 36, "L", 1, 1},     {"NOTE", 0, 37, "", 64000, 1}};
    for (size_t i = 0; i < 6; ++i) {
        const BrowseColumn& c = view->columns[i];
        EXPECT_STREQ(c.caption, columns[i].caption) << i;
        if (i < 5) {
            EXPECT_EQ(c.width, columns[i].width) << i;
        }
        EXPECT_EQ(c.alignment, columns[i].alignment) << i;
        EXPECT_STREQ(c.picture, columns[i].picture) << i;
        if (i > 0) {
            EXPECT_EQ(c.editLength, columns[i].editLength) << i;
        }
        EXPECT_EQ(c.canEdit(*view), columns[i].editable) << i;
        EXPECT_EQ(c.headerBackground, 16574654u);
        EXPECT_EQ(c.headerHighlight, 16710641u);
    }
    EXPECT_STREQ(view->columns[0].fieldName, "deleted()");
    // The memo column, last, is stretched to the window's right edge.
    EXPECT_EQ(view->columns[5].x + view->columns[5].width, view->width - GetSystemMetrics(SM_CXVSCROLL) - 9);

    SendMessageA(window, WM_KEYDOWN, VK_ESCAPE, 1);
    harness::pumpUntil([&] { return !IsWindow(window); });
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(tablePool().inUseCount(), 0);
    EXPECT_EQ(tableViewSlot(0)->table, nullptr);
}

TEST_F(GridTable, AReadOnlyTableFileOpensReadOnlyWithoutAMessage) {
    std::string memo = path_.substr(0, path_.size() - 3) + "DBT";
    ASSERT_TRUE(SetFileAttributesA(path_.c_str(), FILE_ATTRIBUTE_READONLY));
    ASSERT_TRUE(SetFileAttributesA(memo.c_str(), FILE_ATTRIBUTE_READONLY));
    harness::MessageBoxCatcher catcher;
    HWND window = open(path_);
    ASSERT_NE(window, nullptr) << "table window not created";
    EXPECT_TRUE(catcher.boxes().empty());
    EXPECT_EQ(harness::windowText(window), path_ + " - 3/1");
    BrowseView* view = browseViewOf(window);
    ASSERT_NE(view, nullptr);
    ASSERT_NE(view->table, nullptr);
    EXPECT_EQ(view->table->recCount(), 3);
    DestroyWindow(window);
    SetFileAttributesA(path_.c_str(), FILE_ATTRIBUTE_NORMAL);
    SetFileAttributesA(memo.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(GridTable, CellsShowTheirValuesInTheColoursOfTheirType) {
    setting(SET_DATEFORMAT, "YYYY.MM.DD");
    HWND window = open(path_);
    ASSERT_NE(window, nullptr);
    BrowseView& view = *browseViewOf(window);
    auto cell = [&](long column) {
        view.callbackColumn = column;
        return *view.columns[static_cast<size_t>(column)].cellStyle(view);
    };
    EXPECT_STREQ(cell(1).text, "Béla      ");
    EXPECT_EQ(cell(1).textColor, 0u);
    EXPECT_EQ(cell(1).background, 0xFFFFFFu);
    EXPECT_EQ(cell(1).font, view.dataFont);
    EXPECT_STREQ(cell(2).text, " 42");
    EXPECT_EQ(cell(2).textColor, 0xFF0080u);
    EXPECT_STREQ(cell(3).text, "1980.02.29");
    EXPECT_EQ(cell(3).textColor, 0xDC8000u);
    EXPECT_STREQ(cell(4).text, "T");
    EXPECT_EQ(cell(4).textColor, 0xFF0000u);
    EXPECT_STREQ(cell(5).text, "<-MEMO->");
    EXPECT_EQ(cell(5).textColor, 0u);
    EXPECT_EQ(cell(0).bitmap, view.bitmaps[1].get());  // INFO: live
    EXPECT_EQ(cell(0).textColor, 0x00FF00u);

    sendKey(window, VK_DOWN);  // record 2 is deleted: every cell grey
    EXPECT_EQ(harness::windowText(window), path_ + " - 3/2");
    EXPECT_EQ(cell(0).bitmap, view.bitmaps[0].get());  // KUKA
    for (long c = 1; c <= 5; ++c)
        EXPECT_EQ(cell(c).textColor, 0xAFAFAFu) << c;
    sendKey(window, VK_DOWN);
    EXPECT_STREQ(cell(2).text, "  0");         // a zero number stays as stored
    EXPECT_STREQ(cell(3).text, "    .  .  ");  // blank digits placed by the date format
}

TEST_F(GridTable, TheFlagColumnShowsKukaForDeletedAndInfoForLiveRecords) {
    HWND window = open(path_);
    ASSERT_NE(window, nullptr);
    sendKey(window, VK_RIGHT);  // the flag cells are not current
    harness::pumpMessages(30);
    // Row r: cell top r x 20, picture from (3, r x 20 + 3). KUKA's lid at (7, 1) is dark red; INFO's
    // ring at (7, 1) is dark blue.
    EXPECT_EQ(clientPixel(window, 3 + 7, 20 + 3 + 1), RGB(20, 60, 140));
    EXPECT_EQ(clientPixel(window, 3 + 7, 40 + 3 + 1), RGB(120, 10, 10));
    EXPECT_EQ(clientPixel(window, 3 + 7, 60 + 3 + 1), RGB(20, 60, 140));
}

TEST_F(GridTable, CtrlCCopiesTheCellAndTheOemToggleShowsTheStoredBytes) {
    HWND window = open(path_);
    ASSERT_NE(window, nullptr);
    BrowseView& view = *browseViewOf(window);
    sendKey(window, VK_RIGHT);
    sendKey(window, 'C', true);
    EXPECT_EQ(clipboardText(window), "Béla      ");

    HMENU menu = buildGridMenu(view);
    EXPECT_EQ(GetMenuState(menu, 3000, MF_BYCOMMAND) & MF_CHECKED, static_cast<UINT>(MF_CHECKED));
    DestroyMenu(menu);
    SendMessageA(window, WM_COMMAND, 3000, 0);
    UpdateWindow(window);
    EXPECT_FALSE(view.table->oemConversion());
    sendKey(window, 'C', true);
    EXPECT_EQ(clipboardText(window), "B\x82la      ");  // 'é' is 0x82 in code page 852
    menu = buildGridMenu(view);
    EXPECT_EQ(GetMenuState(menu, 3000, MF_BYCOMMAND) & MF_CHECKED, 0u);
    DestroyMenu(menu);
    SendMessageA(window, WM_COMMAND, 3000, 0);
    EXPECT_TRUE(view.table->oemConversion());
}

TEST_F(GridTable, HiddenDeletedRecordsAreSkipped) {
    setting(SET_DELETED, "1");
    HWND window = open(path_);
    ASSERT_NE(window, nullptr);
    BrowseView& view = *browseViewOf(window);
    sendKey(window, VK_DOWN);
    EXPECT_EQ(view.table->recNo(), 3);
    EXPECT_EQ(harness::windowText(window), path_ + " - 3/3");
    sendKey(window, VK_DOWN);
    EXPECT_EQ(view.table->recNo(), 3);
    sendKey(window, VK_UP);
    EXPECT_EQ(view.table->recNo(), 1);
}

TEST_F(GridTable, AnEmptyTableShowsOnlyItsHeader) {
    std::string empty = dir_.file("EMPTY.DBF");
    const FieldDef defs[] = {field("NAME", 'C', 10)};
    dbf table(empty.c_str());
    ASSERT_EQ(table.create(defs, 1), 1);
    HWND window = open(empty);
    ASSERT_NE(window, nullptr);
    for (UINT vk : {VK_DOWN, VK_NEXT, VK_UP, VK_PRIOR})
        sendKey(window, vk);
    BrowseView& view = *browseViewOf(window);
    EXPECT_EQ(view.curRecord, 1);
    EXPECT_EQ(view.curRow, 1);
    // Row 1 stays white: nothing was drawn below the header.
    EXPECT_EQ(clientPixel(window, 60, 30), 0xFFFFFFu);
    EXPECT_NE(clientPixel(window, 60, 10), 0xFFFFFFu);
}

TEST_F(GridTable, SeventyThousandRecordsScrollInPercent) {
    std::string big = dir_.file("BIG.DBF");
    ASSERT_TRUE(gridtest::writeNumberedTable(big, 70000));
    HWND window = open(big);
    ASSERT_NE(window, nullptr);
    int low = -1, high = -1;
    GetScrollRange(window, SB_VERT, &low, &high);
    EXPECT_EQ(high, 100);
    SendMessageA(window, WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, 50), 0);
    UpdateWindow(window);
    BrowseView& view = *browseViewOf(window);
    EXPECT_EQ(view.curRecord, 35000);
    EXPECT_EQ(view.curRow, 1);
    EXPECT_EQ(harness::windowText(window), big + " - 70000/35000");
    EXPECT_EQ(GetScrollPos(window, SB_VERT), 50);
    sendKey(window, VK_RIGHT);
    sendKey(window, 'C', true);
    EXPECT_EQ(clipboardText(window), "R0035000  ");
    sendKey(window, VK_DOWN);
    EXPECT_EQ(harness::windowText(window), big + " - 70000/35001");
    EXPECT_EQ(GetScrollPos(window, SB_VERT), 50);  // 35001 x 100 / 70000
    sendKey(window, VK_END, true);
    EXPECT_EQ(harness::windowText(window), big + " - 70000/70000");
    EXPECT_EQ(GetScrollPos(window, SB_VERT), 100);
}

TEST_F(GridTable, TenMillionRecordsOpenAndPaintAtOnce) {
    std::string huge = dir_.file("HUGE.DBF");
    ASSERT_TRUE(gridtest::writeNumberedTable(huge, 10000000, true));
    DWORD start = GetTickCount();
    HWND window = open(huge);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(harness::windowText(window), huge + " - 10000000/1");
    sendKey(window, VK_END, true);
    EXPECT_EQ(harness::windowText(window), huge + " - 10000000/10000000");
    sendKey(window, VK_RIGHT);
    sendKey(window, 'C', true);
    EXPECT_EQ(clipboardText(window), "R0000000  ");  // 10,000,000 modulo the 7 digits
    // Reading 190 MB through would take far longer than this.
    EXPECT_LT(GetTickCount() - start, 3000u);
}

}  // namespace
