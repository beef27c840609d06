// The binding over stand-in driver managers: loading once, freeing at the last release, the
// resolution order and its messages, and the first-diagnostic error report.
#include <gtest/gtest.h>

#include "odbc/odbc_binding.h"
#include "tests/odbc/odbc_test_support.h"

using odbc_test::fakeLibrary;
using odbc_test::fakeNames;
using odbc_test::FakeProbe;
using odbc_test::RecordingUi;

namespace {

int owner = 0;  // stands for a window

TEST(OdbcBinding, LoadResolvesTheWholeTable) {
    RecordingUi ui;
    OdbcBinding binding(fakeNames("full"), &ui);
    ASSERT_TRUE(binding.load());
    const OdbcFunctions& fn = binding.fn();
    EXPECT_TRUE(fn.SQLAllocConnect && fn.SQLTables && fn.SQLDataSourcesW && fn.SQLSetStmtOption);
    EXPECT_TRUE(fn.SQLPrimaryKeys && fn.SQLForeignKeys && fn.SQLProcedures && fn.SQLProcedureColumns &&
                fn.SQLGetFunctions);
    EXPECT_TRUE(fn.SQLDriverConnect && fn.SQLConfigDataSource && fn.SQLGetInstalledDrivers);
    EXPECT_EQ(fn.SHObjectProperties, nullptr);  // no shell library given
    EXPECT_TRUE(ui.warnings.empty());
    // load does not touch the environment or the user count.
    EXPECT_FALSE(binding.loaded());
    EXPECT_EQ(binding.environment(), nullptr);
    EXPECT_STREQ(OdbcBinding::functionName(0), "SQLAllocConnect");
    EXPECT_STREQ(OdbcBinding::functionName(25), "SQLDataSourcesW");
    EXPECT_STREQ(OdbcBinding::functionName(43), "SQLDriverConnect");
    EXPECT_STREQ(OdbcBinding::functionName(44), "");
}

TEST(OdbcBinding, TwoWindowsLoadOnceAndTheLastReleaseFreesTheEnvironment) {
    FakeProbe probe("full");
    RecordingUi ui;
    OdbcBinding binding(fakeNames("full"), &ui);
    ASSERT_EQ(binding.acquire(&owner), 1);
    ASSERT_EQ(binding.acquire(&owner), 1);
    EXPECT_EQ(binding.users(), 2);
    EXPECT_EQ(probe.state().installedDrivers, 1);
    EXPECT_EQ(probe.state().allocEnv, 1);
    // ODBC 2 behaviour: no version attribute is ever set.
    EXPECT_EQ(probe.state().setEnvAttr, 0);
    SqlHenv environment = binding.environment();
    EXPECT_NE(environment, nullptr);

    binding.release();
    EXPECT_TRUE(binding.loaded());
    EXPECT_EQ(binding.environment(), environment);
    EXPECT_EQ(probe.state().freeEnv, 0);

    binding.release();
    EXPECT_FALSE(binding.loaded());
    EXPECT_EQ(binding.environment(), nullptr);
    EXPECT_EQ(binding.users(), 0);
    EXPECT_EQ(probe.state().freeEnv, 1);
    EXPECT_EQ(binding.fn().SQLConnect, nullptr);

    // A release too many changes nothing.
    binding.release();
    EXPECT_EQ(binding.users(), 0);
    EXPECT_EQ(probe.state().freeEnv, 1);
    EXPECT_TRUE(ui.warnings.empty());
}

TEST(OdbcBinding, TheLastReleaseUnloadsTheLibraries) {
    RecordingUi ui;
    OdbcBinding binding(fakeNames("full"), &ui);
    ASSERT_FALSE(SharedLibrary::isMapped(fakeLibrary("full")));
    ASSERT_EQ(binding.acquire(&owner), 1);
    ASSERT_EQ(binding.acquire(&owner), 1);
    EXPECT_TRUE(SharedLibrary::isMapped(fakeLibrary("full")));
    binding.release();
    EXPECT_TRUE(SharedLibrary::isMapped(fakeLibrary("full")));
    binding.release();
    EXPECT_FALSE(SharedLibrary::isMapped(fakeLibrary("full")));
    // And it loads again for the next window.
    ASSERT_EQ(binding.acquire(&owner), 1);
    EXPECT_TRUE(SharedLibrary::isMapped(fakeLibrary("full")));
    binding.release();
}

TEST(OdbcBinding, AMissingOptionalFunctionStaysNull) {
    RecordingUi ui;
    OdbcBinding binding(fakeNames("no_primary_keys"), &ui);
    ASSERT_EQ(binding.acquire(&owner), 1);
    EXPECT_EQ(binding.fn().SQLPrimaryKeys, nullptr);
    EXPECT_NE(binding.fn().SQLForeignKeys, nullptr);
    EXPECT_NE(binding.fn().SQLGetFunctions, nullptr);
    EXPECT_NE(binding.fn().SQLDriverConnect, nullptr);
    EXPECT_TRUE(ui.warnings.empty());
    binding.release();
}

TEST(OdbcBinding, AMissingRequiredFunctionIsNamedAloneAndStopsTheLoad) {
    RecordingUi ui;
    OdbcBinding binding(fakeNames("no_tables"), &ui);
    EXPECT_FALSE(binding.load());
    ASSERT_EQ(ui.warnings.size(), 1u);
    EXPECT_EQ(ui.warnings[0], "SQLTables");
    // Nothing after the missing name was resolved, and nothing stays loaded.
    EXPECT_EQ(binding.fn().SQLStatistics, nullptr);
    EXPECT_EQ(binding.fn().SQLPrimaryKeys, nullptr);
    EXPECT_EQ(binding.fn().SQLDriverConnect, nullptr);
    EXPECT_FALSE(SharedLibrary::isMapped(fakeLibrary("no_tables")));

    // The window then says the binding could not be loaded and does not become a user.
    ui.warnings.clear();
    EXPECT_EQ(binding.acquire(&owner), 0);
    EXPECT_FALSE(binding.loaded());
    EXPECT_EQ(binding.users(), 0);
    EXPECT_EQ(ui.warnings, (std::vector<std::string>{"SQLTables", "Can't load the ODBC-functions"}));
}

TEST(OdbcBinding, NoInstalledDriverIsReported) {
    RecordingUi ui;
    OdbcBinding binding(fakeNames("no_drivers"), &ui);
    EXPECT_EQ(binding.acquire(&owner), 0);
    EXPECT_EQ(ui.warnings, (std::vector<std::string>{"Nothing installed driver.", "Can't load the ODBC-functions"}));
    EXPECT_FALSE(SharedLibrary::isMapped(fakeLibrary("no_drivers")));
}

TEST(OdbcBinding, AFailedEnvironmentIsReportedAndTheWindowIsNoUser) {
    RecordingUi ui;
    OdbcBinding binding(fakeNames("no_environment"), &ui);
    EXPECT_EQ(binding.acquire(&owner), 0);
    EXPECT_TRUE(binding.loaded());  // the window stops initialising; the libraries stay for the next try
    EXPECT_EQ(binding.users(), 0);
    EXPECT_EQ(binding.environment(), nullptr);
    EXPECT_TRUE(ui.warnings.empty());
    ASSERT_EQ(ui.errors.size(), 1u);
    EXPECT_EQ(ui.errors[0], "[Fake] first diagnostic");
    EXPECT_EQ(ui.errorOwners[0], &owner);
}

TEST(OdbcBinding, AMissingLibraryFailsWithoutItsOwnMessage) {
    RecordingUi ui;
    OdbcBinding missingManager({"no-such-driver-manager" QUARROW_FAKE_ODBC_SUFFIX, fakeLibrary("full"), ""}, &ui);
    EXPECT_FALSE(missingManager.load());
    OdbcBinding missingInstaller({fakeLibrary("full"), "no-such-installer" QUARROW_FAKE_ODBC_SUFFIX, ""}, &ui);
    EXPECT_FALSE(missingInstaller.load());
    OdbcBinding missingShell({fakeLibrary("full"), fakeLibrary("full"), "no-such-shell" QUARROW_FAKE_ODBC_SUFFIX}, &ui);
    EXPECT_FALSE(missingShell.load());
    EXPECT_TRUE(ui.warnings.empty());
    EXPECT_FALSE(SharedLibrary::isMapped(fakeLibrary("full")));
}

TEST(OdbcBinding, AnInstallerWithoutItsFunctionsFailsSilently) {
    RecordingUi ui;
    // Stand-ins always carry the installer half, so a system library that exports none plays the installer.
#if defined(_WIN32)
    OdbcBinding noInstaller({fakeLibrary("full"), "kernel32.dll", ""}, &ui);
#else
    OdbcBinding noInstaller({fakeLibrary("full"), "libm.so.6", ""}, &ui);
#endif
    EXPECT_FALSE(noInstaller.load());
    EXPECT_TRUE(ui.warnings.empty());
    EXPECT_EQ(noInstaller.fn().SQLAllocEnv, nullptr);
    EXPECT_FALSE(SharedLibrary::isMapped(fakeLibrary("full")));
}

TEST(OdbcBinding, AnErrorShowsOnlyTheFirstDiagnostic) {
    FakeProbe probe("full");
    RecordingUi ui;
    OdbcBinding binding(fakeNames("full"), &ui);
    ASSERT_EQ(binding.acquire(&owner), 1);
    binding.reportError(binding.environment(), nullptr, nullptr, &owner);
    EXPECT_EQ(probe.state().errorCalls, 1);
    ASSERT_EQ(ui.errors.size(), 1u);
    EXPECT_EQ(ui.errors[0], "[Fake] first diagnostic");
    EXPECT_EQ(ui.errorOwners[0], &owner);
    EXPECT_STREQ(binding.errorState(), "42000");
    // The arrow comes back before the box.
    ASSERT_FALSE(ui.cursorWaits.empty());
    EXPECT_FALSE(ui.cursorWaits.back());

    // A call with no diagnostics left shows an empty text, not the previous one.
    binding.reportError(binding.environment(), nullptr, nullptr, &owner);
    binding.reportError(binding.environment(), nullptr, nullptr, &owner);
    ASSERT_EQ(ui.errors.size(), 3u);
    EXPECT_EQ(ui.errors[1], "[Fake] second diagnostic");
    EXPECT_EQ(ui.errors[2], "");
    binding.release();
}

TEST(OdbcBinding, ANewConnectionPassesThroughTheCurrentConnectionSlot) {
    RecordingUi ui;
    OdbcBinding binding(fakeNames("full"), &ui);
    SqlHdbc connection = &owner;
    EXPECT_EQ(binding.allocConnection(&connection), sql::kError);  // not loaded
    EXPECT_EQ(connection, nullptr);
    ASSERT_EQ(binding.acquire(&owner), 1);
    ASSERT_EQ(binding.allocConnection(&connection), sql::kSuccess);
    EXPECT_NE(connection, nullptr);
    EXPECT_EQ(binding.currentConnection(), connection);
    binding.release();
    EXPECT_EQ(binding.currentConnection(), nullptr);
}

}  // namespace
