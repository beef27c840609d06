// The binding over stand-in driver managers: loading once, freeing at the last release, the
// resolution order and its messages, and the first-diagnostic error report.
#include <gtest/gtest.h>

#include <memory>

#include "odbc/odbc_binding.h"
#include "odbc/odbc_handles.h"
#include "tests/odbc/odbc_test_support.h"

using odbc_test::fakeLibrary;
using odbc_test::fakeNames;
using odbc_test::FakeProbe;
using odbc_test::RecordingUi;

namespace {

int owner = 0;  // stands for a window
int explorer = 0, commander = 0;

TEST(OdbcBinding, LoadResolvesTheWholeTable) {
    RecordingUi ui;
    OdbcBinding binding(fakeNames("full"), &ui);
    ASSERT_TRUE(binding.load());
    const OdbcFunctions& fn = binding.fn();
    EXPECT_TRUE(fn.SQLAllocConnect && fn.SQLTables && fn.SQLDataSourcesW && fn.SQLSetStmtOption);
    EXPECT_TRUE(fn.SQLPrimaryKeys && fn.SQLForeignKeys && fn.SQLProcedures && fn.SQLProcedureColumns &&
                fn.SQLGetFunctions && fn.SQLMoreResults && fn.SQLSetConnectOption);
    EXPECT_TRUE(fn.SQLDriverConnect && fn.SQLConfigDataSource && fn.SQLGetInstalledDrivers);
    EXPECT_EQ(fn.SHObjectProperties, nullptr);  // no shell library given
    EXPECT_TRUE(ui.warnings.empty());
    // load does not touch the environment or the user count.
    EXPECT_FALSE(binding.loaded());
    EXPECT_EQ(binding.environment(), nullptr);
    EXPECT_STREQ(OdbcBinding::functionName(0), "SQLAllocConnect");
    EXPECT_STREQ(OdbcBinding::functionName(25), "SQLDataSourcesW");
    EXPECT_STREQ(OdbcBinding::functionName(43), "SQLDriverConnect");
    EXPECT_STREQ(OdbcBinding::functionName(45), "SQLSetConnectOption");
    EXPECT_STREQ(OdbcBinding::functionName(46), "");
}

TEST(OdbcBinding, TwoWindowsLoadOnceAndTheLastReleaseFreesTheEnvironment) {
    FakeProbe probe("full");
    RecordingUi ui;
    OdbcBinding binding(fakeNames("full"), &ui);
    ASSERT_EQ(binding.acquire(&explorer), 1);
    ASSERT_EQ(binding.acquire(&commander), 1);
    EXPECT_EQ(binding.users(), 2);
    EXPECT_EQ(probe.state().installedDrivers, 1);
    EXPECT_EQ(probe.state().allocEnv, 1);
    // ODBC 2 behaviour: no version attribute is ever set.
    EXPECT_EQ(probe.state().setEnvAttr, 0);
    SqlHenv environment = binding.environment();
    EXPECT_NE(environment, nullptr);

    binding.release(&explorer);
    EXPECT_TRUE(binding.loaded());
    EXPECT_EQ(binding.environment(), environment);
    EXPECT_EQ(probe.state().freeEnv, 0);

    binding.release(&commander);
    EXPECT_FALSE(binding.loaded());
    EXPECT_EQ(binding.environment(), nullptr);
    EXPECT_EQ(binding.users(), 0);
    EXPECT_EQ(probe.state().freeEnv, 1);
    EXPECT_EQ(binding.fn().SQLConnect, nullptr);

    // A release too many changes nothing.
    binding.release(&commander);
    EXPECT_EQ(binding.users(), 0);
    EXPECT_EQ(probe.state().freeEnv, 1);
    EXPECT_TRUE(ui.warnings.empty());
}

// Each window counts once; a window that is no user (its acquire failed, or it released already)
// takes the binding from nobody.
TEST(OdbcBinding, OnlyAUserReleasesAndOnlyOnce) {
    FakeProbe probe("full");
    RecordingUi ui;
    OdbcBinding binding(fakeNames("full"), &ui);
    ASSERT_EQ(binding.acquire(&explorer), 1);
    ASSERT_EQ(binding.acquire(&explorer), 1);
    EXPECT_EQ(binding.users(), 1);
    EXPECT_EQ(binding.release(&commander), 1);  // never a user
    ASSERT_EQ(binding.acquire(&commander), 1);
    binding.release(&commander);
    binding.release(&commander);  // twice
    EXPECT_EQ(binding.users(), 1);
    EXPECT_TRUE(binding.loaded());
    EXPECT_NE(binding.environment(), nullptr);
    EXPECT_EQ(probe.state().freeEnv, 0);
    binding.release(&explorer);
    EXPECT_FALSE(binding.loaded());
    EXPECT_EQ(probe.state().freeEnv, 1);
}

// The last release frees what the windows left connected before the environment, so the
// driver manager can free it; a connection owner that comes later finds nothing to free.
TEST(OdbcBinding, TheLastReleaseFreesLiveConnectionsFirst) {
    FakeProbe probe("full");
    RecordingUi ui;
    OdbcBinding binding(fakeNames("full"), &ui);
    ASSERT_EQ(binding.acquire(&explorer), 1);
    auto stale = std::make_unique<OdbcConnection>(binding);
    SqlHdbc never = nullptr;
    ASSERT_EQ(binding.allocConnection(&never), sql::kSuccess);
    ASSERT_EQ(binding.fn().SQLConnect(stale->get(), reinterpret_cast<SqlChar*>(const_cast<char*>("open")), 4, nullptr,
                                      0, nullptr, 0),
              sql::kSuccess);
    EXPECT_EQ(binding.liveConnections(), 2);

    EXPECT_EQ(binding.release(&explorer), 1);
    EXPECT_EQ(probe.state().liveConnections, 0);
    EXPECT_EQ(probe.state().failedFreeEnv, 0);
    EXPECT_EQ(probe.state().freeEnv, 1);
    EXPECT_FALSE(binding.loaded());

    // The next window's connection may get the same handle; the stale owner must not free it.
    ASSERT_EQ(binding.acquire(&commander), 1);
    OdbcConnection fresh(binding);
    ASSERT_TRUE(fresh.ok());
    stale.reset();
    EXPECT_EQ(probe.state().liveConnections, 1);
    EXPECT_EQ(probe.state().invalidHandles, 0);
    fresh.reset();
    binding.release(&commander);
}

// A connection the binding never handed out keeps the driver manager from freeing the
// environment: the binding then stays loaded rather than unload under it.
TEST(OdbcBinding, ARefusedEnvironmentKeepsTheBindingLoaded) {
    FakeProbe probe("full");
    RecordingUi ui;
    OdbcBinding binding(fakeNames("full"), &ui);
    ASSERT_EQ(binding.acquire(&explorer), 1);
    SqlHdbc foreign = nullptr;
    ASSERT_EQ(binding.fn().SQLAllocHandle(sql::kHandleDbc, binding.environment(), &foreign), sql::kSuccess);
    EXPECT_EQ(binding.release(&explorer), 0);
    EXPECT_EQ(probe.state().failedFreeEnv, 1);
    EXPECT_TRUE(binding.loaded());
    EXPECT_NE(binding.environment(), nullptr);
    EXPECT_TRUE(SharedLibrary::isMapped(fakeLibrary("full")));
    // Once it is gone, the next window reuses the environment and its release frees everything.
    binding.fn().SQLFreeConnect(foreign);
    ASSERT_EQ(binding.acquire(&commander), 1);
    EXPECT_EQ(probe.state().allocEnv, 1);
    EXPECT_EQ(binding.release(&commander), 1);
    EXPECT_FALSE(binding.loaded());
    EXPECT_EQ(probe.state().freeEnv, 1);
}

TEST(OdbcBinding, TheLastReleaseUnloadsTheLibraries) {
    RecordingUi ui;
    OdbcBinding binding(fakeNames("full"), &ui);
    ASSERT_FALSE(SharedLibrary::isMapped(fakeLibrary("full")));
    ASSERT_EQ(binding.acquire(&explorer), 1);
    ASSERT_EQ(binding.acquire(&commander), 1);
    EXPECT_TRUE(SharedLibrary::isMapped(fakeLibrary("full")));
    binding.release(&commander);
    EXPECT_TRUE(SharedLibrary::isMapped(fakeLibrary("full")));
    binding.release(&explorer);
    EXPECT_FALSE(SharedLibrary::isMapped(fakeLibrary("full")));
    // And it loads again for the next window.
    ASSERT_EQ(binding.acquire(&owner), 1);
    EXPECT_TRUE(SharedLibrary::isMapped(fakeLibrary("full")));
    binding.release(&owner);
}

TEST(OdbcBinding, AMissingOptionalFunctionStaysNull) {
    RecordingUi ui;
    OdbcBinding binding(fakeNames("no_optional"), &ui);
    ASSERT_EQ(binding.acquire(&owner), 1);
    EXPECT_EQ(binding.fn().SQLPrimaryKeys, nullptr);
    EXPECT_EQ(binding.fn().SQLMoreResults, nullptr);
    EXPECT_EQ(binding.fn().SQLSetConnectOption, nullptr);
    EXPECT_NE(binding.fn().SQLForeignKeys, nullptr);
    EXPECT_NE(binding.fn().SQLGetFunctions, nullptr);
    EXPECT_NE(binding.fn().SQLDriverConnect, nullptr);
    EXPECT_TRUE(ui.warnings.empty());
    binding.release(&owner);
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
    binding.release(&owner);
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
    binding.release(&owner);
    EXPECT_EQ(binding.currentConnection(), nullptr);
}

// Each connection handed out gets its own serial number, which ends with it: a handle the driver
// manager gives out again is told apart from the one it was before.
TEST(OdbcBinding, ConnectionSerialsTellAHandleGivenOutAgain) {
    RecordingUi ui;
    OdbcBinding binding(fakeNames("full"), &ui);
    ASSERT_EQ(binding.acquire(&owner), 1);
    SqlHdbc first = nullptr, second = nullptr;
    ASSERT_EQ(binding.allocConnection(&first), sql::kSuccess);
    ASSERT_EQ(binding.allocConnection(&second), sql::kSuccess);
    unsigned firstSerial = binding.connectionSerial(first);
    EXPECT_NE(firstSerial, 0u);
    EXPECT_NE(binding.connectionSerial(second), firstSerial);
    EXPECT_EQ(binding.connectionSerial(nullptr), 0u);
    binding.freeConnection(first);
    EXPECT_EQ(binding.connectionSerial(first), 0u);
    EXPECT_NE(binding.connectionSerial(second), 0u) << "the other connection keeps its number";
    SqlHdbc again = nullptr;
    ASSERT_EQ(binding.allocConnection(&again), sql::kSuccess);
    EXPECT_NE(binding.connectionSerial(again), firstSerial);
    binding.release(&owner);
    EXPECT_EQ(binding.connectionSerial(second), 0u) << "the last release frees every connection";
}

}  // namespace
