// A TBL control inside a dialog: it asks for all keys, Escape leaves it alone, Tab moves the focus,
// rows come from the control's height, and its menu has no OEM toggle.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "browse/grid_internal.h"
#include "tests/win32/grid_fake_source.h"
#include "tests/win32/harness.h"

namespace {

using gridtest::fake;

constexpr int kGridId = 100;
constexpr int kEditId = 101;

void appendWords(std::vector<WORD>& out, const char* text) {
    for (; *text; ++text)
        out.push_back(static_cast<WORD>(static_cast<unsigned char>(*text)));
    out.push_back(0);
}

void alignDword(std::vector<WORD>& out) {
    if (out.size() % 2)
        out.push_back(0);
}

void appendItem(std::vector<WORD>& out,
                DWORD style,
                short x,
                short y,
                short cx,
                short cy,
                WORD id,
                const char* className,
                const char* text) {
    alignDword(out);
    DLGITEMTEMPLATE item = {};
    item.style = style;
    item.x = x;
    item.y = y;
    item.cx = cx;
    item.cy = cy;
    item.id = id;
    const WORD* words = reinterpret_cast<const WORD*>(&item);
    out.insert(out.end(), words, words + sizeof item / 2);
    appendWords(out, className);
    appendWords(out, text);
    out.push_back(0);  // no creation data
}

// A dialog with a grid control (class TBL, caption "QUARROW") and an edit box after it.
std::vector<WORD> gridDialogTemplate() {
    std::vector<WORD> out;
    DLGTEMPLATE dialog = {};
    dialog.style = WS_POPUP | WS_VISIBLE | WS_CAPTION | DS_SETFONT;
    dialog.cdit = 2;
    dialog.cx = 300;
    dialog.cy = 200;
    const WORD* words = reinterpret_cast<const WORD*>(&dialog);
    out.insert(out.end(), words, words + sizeof dialog / 2);
    out.push_back(0);  // no menu
    out.push_back(0);  // default class
    appendWords(out, "Grid dialog");
    out.push_back(8);
    appendWords(out, "MS Shell Dlg");
    appendItem(out, WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_BORDER, 5, 5, 280, 150, kGridId, "TBL", "QUARROW");
    appendItem(out, WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL, 5, 170, 100, 14, kEditId, "EDIT",
               "");
    return out;
}

int g_cancels = 0;

INT_PTR CALLBACK dialogProc(HWND, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_COMMAND && LOWORD(wParam) == IDCANCEL)
        ++g_cancels;
    return message == WM_INITDIALOG ? TRUE : FALSE;
}

// Delivers queued messages the way a modeless dialog's message loop does.
void pumpThroughDialog(HWND dialog) {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (IsDialogMessageA(dialog, &msg))
            continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

class GridDialog : public testing::Test {
  protected:
    void SetUp() override {
        HINSTANCE instance = GetModuleHandleA(nullptr);
        gridtest::installGrid(instance);
        fake().reset(40);
        gridtest::commandLog().codes.clear();
        std::vector<WORD> bytes = gridDialogTemplate();
        dialog_ = CreateDialogIndirectParamA(instance, reinterpret_cast<const DLGTEMPLATE*>(bytes.data()), nullptr,
                                             dialogProc, 0);
        ASSERT_NE(dialog_, nullptr) << "dialog not created";
        grid_ = GetDlgItem(dialog_, kGridId);
        ASSERT_NE(grid_, nullptr) << "grid control not created";
        hostGridControl(grid_);
        initBrowseView(view_, "query", 0, 0, 0, 0, 18);
        gridtest::useFakeSource(view_);
        gridtest::makeFakeColumns(view_, 3, 80);
        view_.commands = gridtest::kTestCommands;
        view_.gridLines = true;
        view_.instance = instance;
        ASSERT_EQ(attachEmbeddedGrid(view_, dialog_, kGridId), grid_);
        view_.cachedCount = 40;
        SetFocus(grid_);
        UpdateWindow(grid_);
        harness::pumpMessages(20);
    }
    void TearDown() override {
        if (dialog_)
            DestroyWindow(dialog_);
        harness::pumpMessages();
    }
    HWND dialog_ = nullptr;
    HWND grid_ = nullptr;
    BrowseView view_;
};

TEST_F(GridDialog, TheGridAsksForAllKeysAndTakesTheControlGeometry) {
    EXPECT_EQ(SendMessageA(grid_, WM_GETDLGCODE, 0, 0), DLGC_WANTALLKEYS);
    EXPECT_EQ(harness::windowText(grid_), "QUARROW");
    RECT rect;
    GetWindowRect(grid_, &rect);
    EXPECT_EQ(view_.rows, (rect.bottom - rect.top) / 18 - 1);
    EXPECT_EQ(view_.height, (view_.rows + 1) * 18 + 1);
    EXPECT_EQ(view_.width, rect.right - rect.left);
    EXPECT_TRUE(view_.embedded);
    EXPECT_FALSE(view_.topLevel);
    EXPECT_EQ(view_.dialog, dialog_);
    EXPECT_EQ(view_.window, grid_);
    EXPECT_EQ(fake().shown.front(), 1);
}

TEST_F(GridDialog, EscapeDoesNothingAndKeysStillMove) {
    SendMessageA(grid_, WM_KEYDOWN, VK_ESCAPE, 1);
    harness::pumpMessages(30);
    EXPECT_TRUE(IsWindow(grid_));
    EXPECT_TRUE(IsWindow(dialog_));
    EXPECT_EQ(browseViewOf(grid_), &view_);
    SendMessageA(grid_, WM_KEYDOWN, VK_DOWN, 1);
    UpdateWindow(grid_);
    EXPECT_EQ(view_.curRecord, 2);
    EXPECT_EQ(fake().record, 2);
}

TEST_F(GridDialog, TabMovesTheFocusToTheNextControl) {
    ASSERT_EQ(GetFocus(), grid_);
    EXPECT_TRUE(view_.hasFocus);
    SendMessageA(grid_, WM_KEYDOWN, VK_TAB, 1);
    harness::pumpMessages(20);
    EXPECT_EQ(GetFocus(), GetDlgItem(dialog_, kEditId));
    EXPECT_FALSE(view_.hasFocus);
}

TEST_F(GridDialog, KeysThroughTheDialogManagerReachTheGrid) {
    g_cancels = 0;
    for (UINT vk : {VK_ESCAPE, VK_DOWN, VK_DOWN, VK_RETURN}) {
        PostMessageA(grid_, WM_KEYDOWN, vk, 1);
        pumpThroughDialog(dialog_);
        UpdateWindow(grid_);
    }
    EXPECT_EQ(g_cancels, 0);  // Escape did not become the dialog's Cancel
    EXPECT_EQ(view_.curRecord, 3);
    ASSERT_EQ(gridtest::commandLog().codes.size(), 1u);
    EXPECT_EQ(gridtest::commandLog().codes[0], VK_RETURN);
    PostMessageA(grid_, WM_KEYDOWN, VK_TAB, 1);
    pumpThroughDialog(dialog_);
    EXPECT_EQ(GetFocus(), GetDlgItem(dialog_, kEditId));
}

TEST_F(GridDialog, TheMenuHasNoOemToggle) {
    HMENU menu = buildGridMenu(view_);
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(GetMenuItemCount(menu), 3);
    EXPECT_EQ(GetMenuState(menu, 3000, MF_BYCOMMAND), static_cast<UINT>(-1));
    DestroyMenu(menu);
}

TEST_F(GridDialog, EscapeLeavesTheScrollBarWorking) {
    SendMessageA(grid_, WM_KEYDOWN, VK_ESCAPE, 1);
    EXPECT_FALSE(view_.navigationPending);
    SendMessageA(grid_, WM_VSCROLL, SB_LINEDOWN, 0);
    UpdateWindow(grid_);
    EXPECT_EQ(view_.curRecord, 2);
    EXPECT_EQ(fake().record, 2);
}

TEST_F(GridDialog, ADetachedGridPaintsNothing) {
    fake().shown.assign(1, -1);  // a paint of the rows would replace this
    long record = fake().record;
    attachBrowseView(grid_, nullptr);
    SendMessageA(grid_, WM_KEYDOWN, VK_DOWN, 1);
    InvalidateRect(grid_, nullptr, TRUE);
    UpdateWindow(grid_);
    EXPECT_EQ(view_.curRecord, 1);
    EXPECT_EQ(fake().record, record);
    EXPECT_EQ(fake().shown, std::vector<long>{-1});
    // Its client area is its class's white background only.
    harness::Pixels pixels = harness::captureWindow(grid_);
    RECT frame, client;
    GetWindowRect(grid_, &frame);
    GetClientRect(grid_, &client);
    POINT origin = {0, 0};
    ClientToScreen(grid_, &origin);
    ASSERT_GT(client.right, 20);
    int coloured = 0;
    for (int y = 0; y < client.bottom; ++y)
        for (int x = 0; x < client.right; ++x)
            coloured += pixels.at(origin.x - frame.left + x, origin.y - frame.top + y) != 0xFFFFFF;
    EXPECT_EQ(coloured, 0);
    view_.columns.clear();
}

}  // namespace
