// The commander opened from the main menu over the real driver manager and the test data sources,
// for the commander's tests: its state, its controls, and keys sent to them.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <string>

#include "app/main_window.h"
#include "base/bound_dialog.h"
#include "copy/commander_internal.h"
#include "odbc/odbc_binding.h"
#include "resources/resource.h"
#include "tests/odbc/odbc_test_support.h"
#include "tests/win32/harness.h"
#include "tests/win32/odbc_window_fixture.h"

class CommanderTest : public OdbcWindowTest {
  protected:
    void SetUp() override {
        OdbcWindowTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        dialog_ = openFromMenu(IDM_ODBC_COMMANDER, commanderWindow);
        ASSERT_NE(dialog_, nullptr) << "commander not created";
        ASSERT_TRUE(IsWindow(dialog_));
        ASSERT_NE(state(), nullptr);
    }

    HWND dialog() const { return dialog_; }
    CommanderState* state() const { return boundObject<CommanderState>(dialog_); }
    CommanderPanel& panel(int side) const { return state()->panels[side]; }
    HWND item(int id) const { return GetDlgItem(dialog_, id); }
    std::string text(int id) const { return harness::windowText(item(id)); }
    bool menuItemGrey() const {
        return (GetMenuState(GetMenu(main_), IDM_ODBC_COMMANDER, MF_BYCOMMAND) & MF_GRAYED) != 0;
    }
    // A key pressed in `control` (with Ctrl or the left Alt held when asked), then messages pumped.
    void press(HWND control, UINT key, bool ctrl = false, bool alt = false) {
        SetFocus(control);
        BYTE keys[256] = {};
        GetKeyboardState(keys);
        BYTE saved[256];
        CopyMemory(saved, keys, sizeof keys);
        if (ctrl)
            keys[VK_CONTROL] = keys[VK_LCONTROL] = 0x80;
        if (alt)
            keys[VK_MENU] = keys[VK_LMENU] = 0x80;
        SetKeyboardState(keys);
        SendMessageA(control, alt ? WM_SYSKEYDOWN : WM_KEYDOWN, key, alt ? (1 | (1 << 29)) : 1);
        SendMessageA(control, alt ? WM_SYSKEYUP : WM_KEYUP, key, alt ? 0xE0000001u : 0xC0000001u);
        SetKeyboardState(saved);
        harness::pumpMessages(20);
    }
    // The list entry texts of list view `id`, column 0.
    std::vector<std::string> entries(int id) const {
        std::vector<std::string> texts;
        HWND list = item(id);
        int count = ListView_GetItemCount(list);
        for (int i = 0; i < count; ++i) {
            char buffer[600] = "";
            ListView_GetItemText(list, i, 0, buffer, sizeof buffer);
            texts.emplace_back(buffer);
        }
        return texts;
    }
    int focused(int id) const { return ListView_GetNextItem(item(id), -1, LVNI_FOCUSED); }
    // Focuses entry `text` of list view `id`; false when there is none.
    bool focusEntry(int id, const std::string& entry) {
        std::vector<std::string> texts = entries(id);
        for (size_t i = 0; i < texts.size(); ++i) {
            if (texts[i] == entry) {
                HWND list = item(id);
                ListView_SetItemState(list, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
                ListView_SetItemState(list, static_cast<int>(i), LVIS_SELECTED | LVIS_FOCUSED,
                                      LVIS_SELECTED | LVIS_FOCUSED);
                return true;
            }
        }
        return false;
    }
    void expectClosedClean() {
        EXPECT_FALSE(IsWindow(dialog_));
        EXPECT_EQ(odbcBinding().liveConnections(), 0);
        EXPECT_EQ(odbcBinding().users(), 0);
        if (IsWindow(main_)) {
            EXPECT_EQ(commanderWindow(), nullptr);
            EXPECT_FALSE(menuItemGrey());
        }
    }

    HWND dialog_ = nullptr;
};
