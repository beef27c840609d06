// The "LOGIN" dialog and the Win32 message boxes of the ODBC layer, driven under Wine.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>

#include "odbc/data_sources.h"
#include "odbc/login_dialog.h"
#include "odbc/odbc_ui.h"
#include "resources/resource.h"
#include "tests/odbc/odbc_test_support.h"
#include "tests/win32/harness.h"

namespace {

// Runs `step` on the open "Login" dialog from inside its modal loop.
std::function<void(HWND)> g_step;
bool g_stepRan = false;
int g_dialogsSeen = 0;
HWND g_lastDialog = nullptr;

// Keeps ticking during the whole action so that a second dialog would be seen too.
void CALLBACK onTimer(HWND, UINT, UINT_PTR, DWORD) {
    HWND dialog = FindWindowA("#32770", "Login");
    if (!dialog || dialog == g_lastDialog)
        return;  // not created yet, or already handled
    g_lastDialog = dialog;
    ++g_dialogsSeen;
    g_stepRan = true;
    g_step(dialog);
}

template <typename Action>
auto withDialogStep(std::function<void(HWND)> step, Action action) {
    g_step = std::move(step);
    g_stepRan = false;
    g_dialogsSeen = 0;
    g_lastDialog = nullptr;
    UINT_PTR timer = SetTimer(nullptr, 0, 10, onTimer);
    auto result = action();
    KillTimer(nullptr, timer);
    return result;
}

bool runDialog(OdbcCredentials& credentials, std::function<void(HWND)> step) {
    return withDialogStep(std::move(step), [&] { return showLoginDialog(nullptr, credentials); });
}

struct Seen {
    std::string user, password;
    LRESULT userLimit = 0, passwordLimit = 0;
    bool hidden = false;
    bool userFocused = false;
    std::string login;
};

TEST(LoginDialog, OpensOnTheCredentialsAndStoresTheTypedOnes) {
    OdbcCredentials credentials;
    std::strcpy(credentials.user, "anna");
    std::strcpy(credentials.password, "old");
    Seen seen;
    bool result = runDialog(credentials, [&](HWND dialog) {
        seen.user = harness::windowText(GetDlgItem(dialog, IDC_LOGIN_USER));
        seen.password = harness::windowText(GetDlgItem(dialog, IDC_LOGIN_PASSWORD));
        seen.userLimit = SendDlgItemMessageA(dialog, IDC_LOGIN_USER, EM_GETLIMITTEXT, 0, 0);
        seen.passwordLimit = SendDlgItemMessageA(dialog, IDC_LOGIN_PASSWORD, EM_GETLIMITTEXT, 0, 0);
        seen.hidden = (GetWindowLongA(GetDlgItem(dialog, IDC_LOGIN_PASSWORD), GWL_STYLE) & ES_PASSWORD) != 0;
        seen.userFocused = GetFocus() == GetDlgItem(dialog, IDC_LOGIN_USER);
        seen.login = harness::windowText(GetDlgItem(dialog, IDC_LOGIN_OK));
        SetDlgItemTextA(dialog, IDC_LOGIN_USER, "bob");
        SetDlgItemTextA(dialog, IDC_LOGIN_PASSWORD, "secret");
        SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_LOGIN_OK, BN_CLICKED), 0);
    });
    ASSERT_TRUE(g_stepRan) << "the dialog did not open";
    EXPECT_TRUE(result);
    EXPECT_EQ(seen.user, "anna");
    EXPECT_EQ(seen.password, "old");
    EXPECT_EQ(seen.userLimit, 14);
    EXPECT_EQ(seen.passwordLimit, 14);
    EXPECT_TRUE(seen.hidden);
    EXPECT_TRUE(seen.userFocused);
    EXPECT_EQ(seen.login, "&Login");
    EXPECT_STREQ(credentials.user, "bob");
    EXPECT_STREQ(credentials.password, "secret");
}

TEST(LoginDialog, ClosingTheWindowKeepsTheCredentials) {
    OdbcCredentials credentials;
    std::strcpy(credentials.user, "anna");
    bool result = runDialog(credentials, [](HWND dialog) {
        SetDlgItemTextA(dialog, IDC_LOGIN_USER, "someone else");
        PostMessageA(dialog, WM_CLOSE, 0, 0);
    });
    ASSERT_TRUE(g_stepRan);
    EXPECT_FALSE(result);
    EXPECT_STREQ(credentials.user, "anna");
}

TEST(LoginDialog, TextsLongerThanTheBuffersAreCut) {
    OdbcCredentials credentials;
    bool result = runDialog(credentials, [](HWND dialog) {
        // WM_SETTEXT passes the edit's limit, so the copy into 15 bytes must cut it.
        SetDlgItemTextA(dialog, IDC_LOGIN_USER, "abcdefghijklmnopqrstuvwxyz");
        SetDlgItemTextA(dialog, IDC_LOGIN_PASSWORD, "0123456789012345678");
        SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_LOGIN_OK, BN_CLICKED), 0);
    });
    ASSERT_TRUE(g_stepRan);
    EXPECT_TRUE(result);
    EXPECT_STREQ(credentials.user, "abcdefghijklmn");
    EXPECT_STREQ(credentials.password, "01234567890123");
}

// The whole road under Wine: odbc32 in front of unixODBC and the 32-bit MariaDB driver, the
// attempt without credentials refused, the real dialog shown once, the retry's result returned.
TEST(LoginDialog, AFailedConnectionAsksOnceAndRetries) {
    if (!odbc_test::mariaDbConfigured())
        GTEST_SKIP() << "no MariaDB server (run tools/test.sh)";
    for (const char* password : {"not-the-one", odbc_test::kMariaDbPassword}) {
        OdbcBinding binding;  // the system libraries and the Win32 boxes
        ASSERT_EQ(binding.acquire(nullptr), 1);
        clearOdbcCredentials();
        SqlHdbc connection = nullptr;
        ASSERT_EQ(binding.allocConnection(&connection), sql::kSuccess);
        SqlHdbc node = nullptr;
        bool loginUsed = false;
        SqlReturn rc = withDialogStep(
            [&](HWND dialog) {
                SetDlgItemTextA(dialog, IDC_LOGIN_USER, odbc_test::kMariaDbUser);
                SetDlgItemTextA(dialog, IDC_LOGIN_PASSWORD, password);
                PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_LOGIN_OK, BN_CLICKED), 0);
            },
            [&] { return connect(nullptr, odbc_test::kMariaDbDsn, connection, &node, &loginUsed, false, 0, binding); });
        EXPECT_EQ(g_dialogsSeen, 1) << password;
        EXPECT_TRUE(loginUsed);
        EXPECT_EQ(node, connection);
        if (std::strcmp(password, odbc_test::kMariaDbPassword) == 0)
            EXPECT_TRUE(sql::succeeded(rc)) << rc;
        else
            EXPECT_EQ(rc, sql::kError);
        binding.freeConnection(connection);
        binding.release(nullptr);
    }
    clearOdbcCredentials();
}

TEST(OdbcWin32Ui, BoxesHaveTheirCaptions) {
    harness::MessageBoxCatcher catcher;
    platformOdbcUi().odbcError(nullptr, "[SQLite]no such table: t (1)");
    platformOdbcUi().warning("SQLTables");
    ASSERT_EQ(catcher.boxes().size(), 2u);
    EXPECT_EQ(catcher.boxes()[0].caption, "ODBC error");
    EXPECT_EQ(catcher.boxes()[0].text, "[SQLite]no such table: t (1)");
    EXPECT_EQ(catcher.boxes()[1].caption, "Warning");
    EXPECT_EQ(catcher.boxes()[1].text, "SQLTables");
}

TEST(OdbcWin32Ui, AQuestionIsAnsweredYesOrNo) {
    for (int answer : {IDYES, IDNO}) {
        harness::MessageBoxCatcher catcher(answer);
        bool yes = platformOdbcUi().question(nullptr, "Drop the table?", "Explorer");
        ASSERT_EQ(catcher.boxes().size(), 1u);
        EXPECT_EQ(catcher.boxes()[0].caption, "Explorer");
        EXPECT_EQ(catcher.boxes()[0].text, "Drop the table?");
        EXPECT_EQ(yes, answer == IDYES);
    }
}

}  // namespace
