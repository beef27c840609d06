// The main window created in-process: class, title, menu MAIN with its ids, Escape and close.
#include <gtest/gtest.h>

#include "app/main_window.h"
#include "app/shell_hooks.h"
#include "base/properties.h"
#include "base/settings.h"
#include "resources/resource.h"
#include "tests/win32/harness.h"

namespace {

struct MenuEntry {
    const char* text;
    UINT id;
};

std::string menuText(HMENU menu, UINT position) {
    char text[128] = "";
    GetMenuStringA(menu, position, text, sizeof text, MF_BYPOSITION);
    return text;
}

class MainWindow : public testing::Test {
  protected:
    void SetUp() override {
        HINSTANCE instance = GetModuleHandleA(nullptr);
        startUp("");
        ASSERT_TRUE(registerWindowClasses(instance));
        window_ = createMainWindow(instance);
        ASSERT_NE(window_, nullptr) << "main window not created";
        harness::pumpMessages(20);
    }
    void TearDown() override {
        if (IsWindow(window_))
            DestroyWindow(window_);
        harness::pumpMessages();
        MSG msg;
        while (PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
        }
    }
    HWND window_ = nullptr;
};

TEST_F(MainWindow, HasClassTitleAndIsMaximized) {
    EXPECT_EQ(harness::className(window_), "QUARROW");
    EXPECT_EQ(harness::windowText(window_), "Quarrow 0.50");
    EXPECT_TRUE(IsZoomed(window_));
    EXPECT_TRUE(IsWindowVisible(window_));
    EXPECT_STREQ(setting(SET_CEGNEV), "Quarrow 0.50");
    EXPECT_EQ(property("HWND"), window_);
    EXPECT_EQ(property("HINSTANCE"), GetModuleHandleA(nullptr));
    EXPECT_STREQ(static_cast<const char*>(property("PRINT_FONT")), "Courier New");
    EXPECT_STREQ(static_cast<const char*>(property("HELP_FONT")), "Comic Sans MS");
    char directory[MAX_PATH];
    GetCurrentDirectoryA(sizeof directory, directory);
    EXPECT_STREQ(static_cast<const char*>(property("SOURCE_PATH")), directory);
    EXPECT_NE(static_cast<const char*>(property("OS"))[0], '\0');
}

TEST_F(MainWindow, HasTheMainMenuWithItsIds) {
    HMENU menu = GetMenu(window_);
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(GetMenuItemCount(menu), 3);
    EXPECT_EQ(menuText(menu, 0), "&dBase III");
    EXPECT_EQ(menuText(menu, 1), "&ODBC");
    EXPECT_EQ(menuText(menu, 2), "&About");
    EXPECT_EQ(GetMenuItemID(menu, 2), static_cast<UINT>(IDM_ABOUT));

    const MenuEntry dbase[] = {{"&Open", 11843}, {"&Create table", 11842}};
    const MenuEntry odbc[] = {{"&Commander", 18873}, {"&Explorer", 11844}, {"&Administrator", 11845}};
    HMENU first = GetSubMenu(menu, 0);
    HMENU second = GetSubMenu(menu, 1);
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    ASSERT_EQ(GetMenuItemCount(first), 2);
    ASSERT_EQ(GetMenuItemCount(second), 3);
    for (UINT i = 0; i < 2; ++i) {
        EXPECT_EQ(menuText(first, i), dbase[i].text);
        EXPECT_EQ(GetMenuItemID(first, i), dbase[i].id);
    }
    for (UINT i = 0; i < 3; ++i) {
        EXPECT_EQ(menuText(second, i), odbc[i].text);
        EXPECT_EQ(GetMenuItemID(second, i), odbc[i].id);
    }
}

TEST_F(MainWindow, MenuCommandsWithoutHandlersShowNothing) {
    harness::MessageBoxCatcher catcher;
    // Without the modules installed the commander has no handler (tests/win32/commander_window_test.cpp
    // opens it with them); other suites of this process may have installed them.
    ShellHooks installed = shellHooks();
    shellHooks() = ShellHooks{};
    SendMessageA(window_, WM_COMMAND, IDM_ODBC_COMMANDER, 0);
    harness::pumpMessages(20);
    shellHooks() = installed;
    EXPECT_TRUE(catcher.boxes().empty());
    EXPECT_TRUE(IsWindow(window_));
}

bool quitPosted() {
    MSG msg;
    return PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE) != 0;
}

TEST_F(MainWindow, EscapeEndsTheProgram) {
    SendMessageA(window_, WM_CHAR, VK_ESCAPE, 0);
    EXPECT_FALSE(IsWindow(window_));
    EXPECT_TRUE(quitPosted());
}

TEST_F(MainWindow, CloseReleasesTheBuffersAndEndsTheProgram) {
    SendMessageA(window_, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(window_));
    EXPECT_TRUE(quitPosted());
    EXPECT_STREQ(static_cast<const char*>(property("SOURCE_PATH")), "");
    EXPECT_STREQ(static_cast<const char*>(property("PRINT_FONT")), "");
}

TEST_F(MainWindow, OtherKeysDoNotClose) {
    SendMessageA(window_, WM_CHAR, 'a', 0);
    EXPECT_TRUE(IsWindow(window_));
}

}  // namespace
