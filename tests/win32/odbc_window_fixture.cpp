#include "tests/win32/odbc_window_fixture.h"

#include "app/main_window.h"
#include "app/shell_hooks.h"
#include "odbc/data_sources.h"
#include "odbc/odbc_handles.h"
#include "tests/win32/harness.h"

void runStatements(const char* dsn, const std::vector<std::string>& statements) {
    OdbcBinding& binding = odbcBinding();
    int token = 0;
    ASSERT_EQ(binding.acquire(&token), 1);
    {
        OdbcConnection connection(binding);
        SqlHdbc kept = nullptr;
        bool loginUsed = false;
        ASSERT_TRUE(sql::succeeded(connect(&token, dsn, connection.get(), &kept, &loginUsed, false, 0, binding)));
        for (const std::string& text : statements) {
            OdbcStatement statement(binding, connection.get());
            SqlReturn rc = statement.execDirect(text);
            ASSERT_TRUE(sql::succeeded(rc) || rc == sql::kNoData) << text << ": " << statement.errorText();
        }
    }
    binding.release(&token);
}

void OdbcWindowTest::SetUp() {
    if (!odbc_test::realOdbcConfigured())
        GTEST_SKIP() << "no ODBC test configuration (run tools/test.sh)";
    ui_.loginUser = odbc_test::kMariaDbUser;
    ui_.loginPassword = odbc_test::kMariaDbPassword;
    ui_.confirmLogin = true;
    odbcBinding().setUi(&ui_);
    HINSTANCE instance = GetModuleHandleA(nullptr);
    startUp("");
    installModules();
    ASSERT_TRUE(registerWindowClasses(instance));
    main_ = createMainWindow(instance);
    ASSERT_NE(main_, nullptr) << "main window not created";
}

HWND OdbcWindowTest::openFromMenu(UINT command, HWND (*current)()) {
    SendMessageA(main_, WM_COMMAND, command, 0);
    opened_ = current();
    if (opened_)
        harness::pumpMessages(20);
    return opened_;
}

void OdbcWindowTest::closeOpened() {
    if (opened_ && IsWindow(opened_))
        SendMessageA(opened_, WM_CLOSE, 0, 0);
    harness::pumpMessages();
}

void OdbcWindowTest::TearDown() {
    closeOpened();
    if (main_ && IsWindow(main_))
        DestroyWindow(main_);
    harness::pumpMessages();
    MSG msg;
    while (PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
    odbcBinding().setUi(nullptr);
}
