#include "tests/win32/grid_host_fixture.h"

#include "odbc/data_sources.h"
#include "odbc/odbc_handles.h"
#include "tests/odbc/odbc_test_support.h"
#include "tests/win32/grid_fake_source.h"
#include "tests/win32/harness.h"

void GridHostTest::SetUp() {
    if (!odbc_test::realOdbcConfigured())
        GTEST_SKIP() << "no test ODBC configuration (run with tools/odbc-ini.sh)";
    HINSTANCE instance = GetModuleHandleA(nullptr);
    gridtest::installGrid(instance);  // the shell's Tbl class, calling the grid
    host_.dialog = CreateWindowExA(0, "STATIC", "host", WS_POPUP | WS_VISIBLE, 0, 0, 640, 480, nullptr, nullptr,
                                   instance, nullptr);
    ASSERT_NE(host_.dialog, nullptr) << "host window not created";
    HWND grid = CreateWindowExA(0, "Tbl", "", WS_CHILD | WS_VISIBLE, 5, 30, 600, 400, host_.dialog,
                                reinterpret_cast<HMENU>(kGrid), instance, nullptr);
    HWND caption = CreateWindowExA(0, "STATIC", "old caption", WS_CHILD | WS_VISIBLE, 5, 5, 300, 20, host_.dialog,
                                   reinterpret_cast<HMENU>(kCaption), instance, nullptr);
    HWND command = CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE, 310, 5, 300, 20, host_.dialog,
                                   reinterpret_cast<HMENU>(kCommandLine), instance, nullptr);
    ASSERT_TRUE(grid && caption && command) << "host controls not created";
    host_.showGrid = [](HWND) {};

    OdbcBinding& binding = odbcBinding();
    ASSERT_EQ(binding.acquire(&owner_), 1);
    ASSERT_EQ(binding.allocConnection(&connection_), sql::kSuccess);
    SqlHdbc node = nullptr;
    bool login = false;
    clearOdbcCredentials();
    ASSERT_TRUE(sql::succeeded(connect(&owner_, odbc_test::kSqliteDsn, connection_, &node, &login, false, 0)));
}

void GridHostTest::TearDown() {
    if (host_.dialog) {
        discardResultView(GetDlgItem(host_.dialog, kGrid));
        DestroyWindow(host_.dialog);
    }
    if (connection_)
        odbcBinding().freeConnection(connection_);
    odbcBinding().release(&owner_);
    harness::pumpMessages();
}

void GridHostTest::exec(const std::string& text) {
    OdbcStatement statement(odbcBinding(), connection_);
    ASSERT_TRUE(sql::succeeded(statement.execDirect(text))) << text << ": " << statement.errorText();
}
