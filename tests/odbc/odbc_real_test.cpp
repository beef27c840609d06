// The binding, data sources and connections over the system's real driver manager (unixODBC, or
// Wine's odbc32 in front of it) with the SQLite driver and a private MariaDB server.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>

#include "odbc/data_sources.h"
#include "odbc/dbms_kind.h"
#include "odbc/odbc_handles.h"
#include "tests/odbc/odbc_test_support.h"

#if !defined(_WIN32)
#include <dirent.h>
#include <unistd.h>
#endif

using odbc_test::RecordingUi;

namespace {

int owner = 0;

// Skips the test (not just the helper) when the server is not running.
#define REQUIRE_MARIADB()                \
    if (!odbc_test::mariaDbConfigured()) \
    GTEST_SKIP() << "no MariaDB server (run tools/test.sh)"

class RealOdbc : public testing::Test {
  protected:
    void SetUp() override {
        if (!odbc_test::realOdbcConfigured())
            GTEST_SKIP() << "no test ODBC configuration (run tools/test.sh)";
        clearOdbcCredentials();
        ASSERT_EQ(binding_.acquire(&owner), 1) << (ui_.warnings.empty() ? "" : ui_.warnings[0]);
    }
    void TearDown() override {
        for (SqlHdbc connection : connections_)
            binding_.freeConnection(connection);
        binding_.release(&owner);
        clearOdbcCredentials();
    }

    // Connects to `dsn` with the given credentials; the connection is freed at the end of the test.
    SqlReturn open(const char* dsn, SqlHdbc* connection, const char* user = "", const char* password = "") {
        EXPECT_EQ(binding_.allocConnection(connection), sql::kSuccess);
        connections_.push_back(*connection);
        std::snprintf(odbcCredentials().user, OdbcCredentials::kSize, "%s", user);
        std::snprintf(odbcCredentials().password, OdbcCredentials::kSize, "%s", password);
        SqlHdbc node = nullptr;
        return connect(&owner, dsn, *connection, &node, &loginUsed_, false, 0, binding_);
    }

    std::string infoText(SqlHdbc connection, SqlUSmallInt item) {
        char text[256] = {};
        SqlSmallInt length = 0;
        SqlReturn rc = binding_.fn().SQLGetInfo(connection, item, text, sizeof text, &length);
        return sql::succeeded(rc) ? std::string(text) : std::string("<fails>");
    }
    std::string infoNumber(SqlHdbc connection, SqlUSmallInt item) {
        SqlUSmallInt value = 0;
        SqlSmallInt length = 0;
        SqlReturn rc = binding_.fn().SQLGetInfo(connection, item, &value, sizeof value, &length);
        return sql::succeeded(rc) ? std::to_string(value) : std::string("<fails>");
    }
    std::string supported(SqlHdbc connection, SqlUSmallInt function) {
        SqlUSmallInt value = 0;
        if (!binding_.fn().SQLGetFunctions)
            return "<missing>";
        SqlReturn rc = binding_.fn().SQLGetFunctions(connection, function, &value);
        return sql::succeeded(rc) ? std::to_string(value) : std::string("<fails>");
    }

    // The SQLGetInfo items and SQLGetFunctions answers the explorer, the catalog views and the
    // table copy read, by a short name.
    std::map<std::string, std::string> report(SqlHdbc c) {
        return {
            {"17 DBMS name", infoText(c, sql::kInfoDbmsName)},
            {"29 identifier quote", infoText(c, sql::kInfoIdentifierQuoteChar)},
            {"34 max qualifier name", infoNumber(c, sql::kInfoMaxQualifierNameLen)},
            {"47 user name", infoText(c, sql::kInfoUserName)},
            {"2 data source name", infoText(c, sql::kInfoDataSourceName)},
            {"16 database name", infoText(c, sql::kInfoDatabaseName)},
            {"6 driver name", infoText(c, sql::kInfoDriverName)},
            {"77 driver ODBC version", infoText(c, sql::kInfoDriverOdbcVersion)},
            {"10 ODBC version", infoText(c, sql::kInfoOdbcVersion)},
            {"25 read only", infoText(c, sql::kInfoDataSourceReadOnly)},
            {"9 API conformance", infoNumber(c, sql::kInfoOdbcApiConformance)},
            {"15 SQL conformance", infoNumber(c, sql::kInfoOdbcSqlConformance)},
            {"0 active connections", infoNumber(c, sql::kInfoActiveConnections)},
            {"1 active statements", infoNumber(c, sql::kInfoActiveStatements)},
            {"20 accessible procedures", infoText(c, sql::kInfoAccessibleProcedures)},
            {"19 accessible tables", infoText(c, sql::kInfoAccessibleTables)},
            {"f56 column privileges", supported(c, sql::kApiColumnPrivileges)},
            {"f60 foreign keys", supported(c, sql::kApiForeignKeys)},
            {"f65 primary keys", supported(c, sql::kApiPrimaryKeys)},
            {"f67 procedures", supported(c, sql::kApiProcedures)},
            {"f70 table privileges", supported(c, sql::kApiTablePrivileges)},
        };
    }

    RecordingUi ui_;
    OdbcBinding binding_{platformOdbcLibraryNames(), &ui_};
    std::vector<SqlHdbc> connections_;
    bool loginUsed_ = false;
};

void printReport(const char* title, const std::map<std::string, std::string>& values) {
    std::printf("%s\n", title);
    for (const auto& [key, value] : values)
        std::printf("  %-26s %s\n", key.c_str(), value.c_str());
}

// Executes `text` on a new statement of `connection`; the statement is freed.
struct Statement {
    Statement(const OdbcFunctions& fn, SqlHdbc connection) : fn_(fn) {
        rc = fn_.SQLAllocHandle(sql::kHandleStmt, connection, &handle);
    }
    ~Statement() {
        if (sql::succeeded(rc) || handle)
            fn_.SQLFreeHandle(sql::kHandleStmt, handle);
    }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;
    SqlReturn exec(const char* text) {
        return fn_.SQLExecDirect(handle, reinterpret_cast<SqlChar*>(const_cast<char*>(text)), sql::kNts);
    }
    SqlSmallInt columnType(SqlUSmallInt column) {
        SqlChar name[256];
        SqlSmallInt nameLength = 0, type = 0, digits = 0, nullable = 0;
        SqlULen size = 0;
        fn_.SQLDescribeCol(handle, column, name, sizeof name, &nameLength, &type, &size, &digits, &nullable);
        return type;
    }
    const OdbcFunctions& fn_;
    SqlHstmt handle = nullptr;
    SqlReturn rc = sql::kError;
};

TEST_F(RealOdbc, TheSystemDriverManagerHasTheWholeTable) {
    const OdbcFunctions& fn = binding_.fn();
    EXPECT_NE(binding_.environment(), nullptr);
    EXPECT_TRUE(fn.SQLAllocConnect && fn.SQLTables && fn.SQLDataSourcesW && fn.SQLDriverConnect);
    // The optional functions are all there in unixODBC and in Wine's odbc32.
    EXPECT_TRUE(fn.SQLPrimaryKeys && fn.SQLForeignKeys && fn.SQLProcedures && fn.SQLProcedureColumns &&
                fn.SQLGetFunctions);
    EXPECT_TRUE(ui_.warnings.empty());
}

TEST_F(RealOdbc, TheTestDataSourcesAreListedWithTheirDescriptions) {
    std::map<std::string, std::string> seen;
    ASSERT_EQ(enumerateDataSources(
                  binding_.environment(), [&](const char* name, const char* text) { seen[name] = text; }, binding_),
              1);
    EXPECT_EQ(seen[odbc_test::kSqliteDsn], "SQLite3");  // unixODBC describes a data source by its driver
    // unixODBC widens the file's bytes one by one; the ANSI conversion gives the names back unchanged,
    // also a letter Latin-1 lacks, and the listed name connects.
    EXPECT_EQ(seen.count(odbc_test::kAccentedDsn), 1u);
    ASSERT_EQ(seen.count(odbc_test::kHungarianDsn), 1u);
    SqlHdbc connection = nullptr;
    EXPECT_EQ(open(seen.find(odbc_test::kHungarianDsn)->first.c_str(), &connection), sql::kSuccess);
    // A name longer than the buffer comes back cut (success with information) and is still listed,
    // and the names after it too.
    EXPECT_EQ(seen.count(odbc_test::longDsnName().substr(0, 255)), 1u);
    if (odbc_test::mariaDbConfigured()) {
        EXPECT_EQ(seen[odbc_test::kMariaDbDsn], "MariaDB Unicode");
    }
    EXPECT_TRUE(ui_.warnings.empty());
}

TEST_F(RealOdbc, SqliteNeedsNoPasswordAndNoDialog) {
    SqlHdbc connection = nullptr;
    EXPECT_EQ(open(odbc_test::kSqliteDsn, &connection), sql::kSuccess);
    EXPECT_EQ(ui_.logins, 0);
    EXPECT_FALSE(loginUsed_);
}

TEST_F(RealOdbc, AFailingStatementShowsOnlyTheDriversText) {
    SqlHdbc connection = nullptr;
    ASSERT_TRUE(sql::succeeded(open(odbc_test::kSqliteDsn, &connection)));
    // The oracle: the driver's first record, read directly.
    std::string expected;
    {
        Statement statement(binding_.fn(), connection);
        ASSERT_EQ(statement.exec("select * from no_such_table"), sql::kError);
        SqlChar state[6], text[4096];
        SqlInteger native = 0;
        SqlSmallInt length = 0;
        ASSERT_EQ(
            binding_.fn().SQLError(nullptr, nullptr, statement.handle, state, &native, text, sizeof text, &length),
            sql::kSuccess);
        expected = reinterpret_cast<char*>(text);
    }
    Statement statement(binding_.fn(), connection);
    ASSERT_EQ(statement.exec("select * from no_such_table"), sql::kError);
    binding_.reportError(binding_.environment(), connection, statement.handle, &owner);
    ASSERT_EQ(ui_.errors.size(), 1u);
    EXPECT_EQ(ui_.errors[0], expected);
    EXPECT_NE(ui_.errors[0].find("no such table"), std::string::npos) << ui_.errors[0];
    // ODBC 2 behaviour: the state is the ODBC 2 "S1000", not "HY000"; it is fetched, not shown.
    EXPECT_STREQ(binding_.errorState(), "S1000");
    EXPECT_EQ(ui_.errors[0].find("S1000"), std::string::npos);
    std::printf("SQLite error text: %s\n", ui_.errors[0].c_str());
}

// What the drivers here answer to the information items the explorer, the catalog views and the
// table copy read. Later code relies on these values.
TEST_F(RealOdbc, SqliteInformationItems) {
    SqlHdbc connection = nullptr;
    ASSERT_TRUE(sql::succeeded(open(odbc_test::kSqliteDsn, &connection)));
    auto values = report(connection);
    printReport("SQLite", values);
    EXPECT_EQ(values["17 DBMS name"], "SQLite");
    EXPECT_EQ(values["29 identifier quote"], "\"");
    EXPECT_EQ(values["34 max qualifier name"], "255");
    EXPECT_EQ(values["2 data source name"], odbc_test::kSqliteDsn);
    EXPECT_EQ(values["47 user name"], "");
    EXPECT_EQ(values["77 driver ODBC version"], "03.00");
    EXPECT_EQ(values["25 read only"], "N");
    // No column privileges; the other catalog functions are reported supported.
    EXPECT_EQ(values["f56 column privileges"], "0");
    EXPECT_EQ(values["f60 foreign keys"], "1");
    EXPECT_EQ(values["f65 primary keys"], "1");
    EXPECT_EQ(values["f67 procedures"], "1");
    EXPECT_EQ(values["f70 table privileges"], "1");
}

TEST_F(RealOdbc, MariaDbInformationItems) {
    REQUIRE_MARIADB();
    SqlHdbc connection = nullptr;
    ASSERT_TRUE(sql::succeeded(
        open(odbc_test::kMariaDbDsn, &connection, odbc_test::kMariaDbUser, odbc_test::kMariaDbPassword)));
    auto values = report(connection);
    printReport("MariaDB", values);
    // Not "MySQL": code that recognises MySQL by the DBMS name does not see this server as one.
    EXPECT_EQ(values["17 DBMS name"], "MariaDB");
    EXPECT_EQ(dbmsName(binding_, connection), "MariaDB");
    EXPECT_EQ(values["29 identifier quote"], "`");
    EXPECT_EQ(values["34 max qualifier name"], "256");
    EXPECT_EQ(values["2 data source name"], odbc_test::kMariaDbDsn);
    EXPECT_EQ(values["16 database name"], "quarrow");
    EXPECT_EQ(values["47 user name"], odbc_test::kMariaDbUser);
    EXPECT_EQ(values["77 driver ODBC version"], "03.51");
    EXPECT_EQ(values["f56 column privileges"], "1");
    EXPECT_EQ(values["f60 foreign keys"], "1");
    EXPECT_EQ(values["f65 primary keys"], "1");
    EXPECT_EQ(values["f67 procedures"], "1");
    EXPECT_EQ(values["f70 table privileges"], "1");
}

TEST_F(RealOdbc, TheEnvironmentKeepsOdbc2DateTypeCodes) {
    REQUIRE_MARIADB();
    SqlHdbc connection = nullptr;
    ASSERT_TRUE(sql::succeeded(
        open(odbc_test::kMariaDbDsn, &connection, odbc_test::kMariaDbUser, odbc_test::kMariaDbPassword)));
    Statement statement(binding_.fn(), connection);
    ASSERT_TRUE(sql::succeeded(statement.exec(
        "select cast('2024-02-29' as date), cast('12:34:56' as time), cast('2024-02-29 12:34:56' as datetime)")));
    EXPECT_EQ(statement.columnType(1), sql::kDate);
    EXPECT_EQ(statement.columnType(2), sql::kTime);
    EXPECT_EQ(statement.columnType(3), sql::kTimestamp);
}

TEST_F(RealOdbc, AWrongPasswordShowsTheLoginOnceAndReturnsTheRetrysResult) {
    REQUIRE_MARIADB();
    ui_.confirmLogin = true;
    ui_.loginUser = odbc_test::kMariaDbUser;
    ui_.loginPassword = "not-the-one";
    SqlHdbc connection = nullptr;
    EXPECT_EQ(open(odbc_test::kMariaDbDsn, &connection), sql::kError);
    EXPECT_EQ(ui_.logins, 1);
    EXPECT_TRUE(loginUsed_);
    binding_.reportError(binding_.environment(), connection, nullptr, &owner);
    ASSERT_EQ(ui_.errors.size(), 1u);
    EXPECT_NE(ui_.errors[0].find("Access denied for user 'quarrow'"), std::string::npos) << ui_.errors[0];
}

TEST_F(RealOdbc, TheRightPasswordOnTheRetryConnectsAndIsKept) {
    REQUIRE_MARIADB();
    ui_.confirmLogin = true;
    ui_.loginUser = odbc_test::kMariaDbUser;
    ui_.loginPassword = odbc_test::kMariaDbPassword;
    SqlHdbc first = nullptr;
    EXPECT_TRUE(sql::succeeded(open(odbc_test::kMariaDbDsn, &first)));
    EXPECT_EQ(ui_.logins, 1);
    EXPECT_EQ(ui_.shownUser, "");
    // A second connection with the kept credentials needs no dialog.
    SqlHdbc second = nullptr;
    EXPECT_EQ(binding_.allocConnection(&second), sql::kSuccess);
    connections_.push_back(second);
    SqlHdbc node = nullptr;
    bool loginUsed = true;
    EXPECT_TRUE(sql::succeeded(connect(&owner, odbc_test::kMariaDbDsn, second, &node, &loginUsed, false, 0, binding_)));
    EXPECT_FALSE(loginUsed);
    EXPECT_EQ(ui_.logins, 1);
}

TEST_F(RealOdbc, TheInstallerListsTheTestDrivers) {
    // Natively from odbcinst.ini, under Wine from the registry the prefix set-up fills.
    std::vector<char> list(32000);
    SqlWord length = 0;
    ASSERT_TRUE(binding_.fn().SQLGetInstalledDrivers(list.data(), static_cast<SqlWord>(list.size()), &length));
    std::vector<std::string> names;
    for (const char* name = list.data(); *name; name += std::strlen(name) + 1)
        names.push_back(name);
    EXPECT_NE(std::find(names.begin(), names.end(), "SQLite3"), names.end());
    // The MariaDB driver is listed only by the test script's configuration, beside its server.
    REQUIRE_MARIADB();
    EXPECT_NE(std::find(names.begin(), names.end(), "MariaDB Unicode"), names.end());
}

#if !defined(_WIN32)
// How many of the process's descriptors are open on a file whose path ends in `suffix`.
int openDescriptors(const std::string& suffix) {
    int count = 0;
    DIR* dir = opendir("/proc/self/fd");
    while (dirent* entry = dir ? readdir(dir) : nullptr) {
        char target[4096];
        ssize_t length = readlink(("/proc/self/fd/" + std::string(entry->d_name)).c_str(), target, sizeof target - 1);
        if (length <= 0)
            continue;
        std::string path(target, static_cast<std::size_t>(length));
        count += path.size() >= suffix.size() && path.compare(path.size() - suffix.size(), suffix.size(), suffix) == 0;
    }
    if (dir)
        closedir(dir);
    return count;
}
#endif

// A window that closes without freeing its connection: the last release frees it, so the
// driver manager frees the environment and the database file is closed.
TEST_F(RealOdbc, TheLastReleaseClosesAConnectionLeftOpen) {
#if !defined(_WIN32)
    int before = openDescriptors("/quarrow.db");
#endif
    SqlHdbc connection = nullptr;
    ASSERT_EQ(binding_.allocConnection(&connection), sql::kSuccess);
    SqlHdbc node = nullptr;
    ASSERT_EQ(connect(&owner, odbc_test::kSqliteDsn, connection, &node, nullptr, false, 0, binding_), sql::kSuccess);
    {
        OdbcStatement statement(binding_, connection);
        ASSERT_TRUE(sql::succeeded(statement.execDirect("create table if not exists kept (a integer)")));
    }
#if !defined(_WIN32)
    EXPECT_GT(openDescriptors("/quarrow.db"), before);
#endif
    EXPECT_EQ(binding_.release(&owner), 1);
    EXPECT_FALSE(binding_.loaded());
    EXPECT_EQ(binding_.environment(), nullptr);
#if !defined(_WIN32)
    EXPECT_EQ(openDescriptors("/quarrow.db"), before);
#endif
}

TEST_F(RealOdbc, ConnectOptionsAndMoreResultsReachTheDriver) {
    SqlHdbc connection = nullptr;
    ASSERT_EQ(open(odbc_test::kSqliteDsn, &connection), sql::kSuccess);
    const OdbcFunctions& fn = binding_.fn();
    ASSERT_TRUE(fn.SQLSetConnectOption && fn.SQLMoreResults);
    EXPECT_EQ(fn.SQLSetConnectOption(connection, sql::kAutocommit, sql::kAutocommitOff), sql::kSuccess);
    SqlULen value = 7;
    EXPECT_EQ(fn.SQLGetConnectOption(connection, sql::kAutocommit, &value), sql::kSuccess);
    EXPECT_EQ(static_cast<SqlUInteger>(value), sql::kAutocommitOff);
    EXPECT_EQ(fn.SQLSetConnectOption(connection, sql::kAutocommit, sql::kAutocommitOn), sql::kSuccess);
    OdbcStatement statement(binding_, connection);
    ASSERT_TRUE(sql::succeeded(statement.execDirect("select 1")));
    EXPECT_EQ(statement.moreResults(), sql::kNoData);
}

// The driver reads a braced password as the whole password: characters of the connection-string
// grammar in it add no attribute.
TEST_F(RealOdbc, APasswordWithGrammarCharactersConnectsBraced) {
    REQUIRE_MARIADB();
    SqlHdbc admin = nullptr;
    ASSERT_TRUE(
        sql::succeeded(open(odbc_test::kMariaDbDsn, &admin, odbc_test::kMariaDbUser, odbc_test::kMariaDbPassword)));
    OdbcStatement statement(binding_, admin);
    // (This driver trims a braced value's spaces, so none of these starts or ends with one.)
    for (const char* password : {"p;w}d{x=y", "{braced}", "x;DSN=nothing", "a(b)c,d"}) {
        ASSERT_TRUE(sql::succeeded(statement.execDirect(std::string("create or replace user 'quarrow_odd'@'%' "
                                                                    "identified by '") +
                                                        password + "'")))
            << statement.errorText();
        ASSERT_TRUE(sql::succeeded(statement.execDirect("grant select on quarrow.* to 'quarrow_odd'@'%'")));
        char text[kConnectionStringSize];
        ConnectionStringWriter out(text, sizeof text);
        out.put("DSN=");
        out.value(odbc_test::kMariaDbDsn);
        out.put(";UID=quarrow_odd;PWD=");
        out.value(password);
        ASSERT_TRUE(out.ok());
        OdbcConnection connection(binding_);
        SqlChar completed[1024];
        SqlSmallInt length = 0;
        SqlReturn rc =
            binding_.fn().SQLDriverConnect(connection.get(), nullptr, reinterpret_cast<SqlChar*>(text), sql::kNts,
                                           completed, sizeof completed, &length, sql::kDriverNoPrompt);
        EXPECT_TRUE(sql::succeeded(rc)) << text << ": " << binding_.firstDiagnostic(nullptr, connection.get(), nullptr);
    }
    EXPECT_TRUE(sql::succeeded(statement.execDirect("drop user 'quarrow_odd'@'%'")));
}

TEST_F(RealOdbc, AFileWhoseDriverIsMissingFailsAfterOneLogin) {
    SqlHdbc connection = nullptr;
    ASSERT_EQ(binding_.allocConnection(&connection), sql::kSuccess);
    connections_.push_back(connection);
    SqlHdbc node = nullptr;
    bool loginUsed = false;
    ui_.confirmLogin = true;
    SqlReturn rc =
        connect(&owner, "C:\\data\\t.dbf", connection, &node, &loginUsed, true, driver_type::kDbase, binding_);
    EXPECT_EQ(rc, sql::kError);
    EXPECT_EQ(ui_.logins, 1);
    EXPECT_TRUE(loginUsed);
    binding_.reportError(binding_.environment(), connection, nullptr, &owner);
    ASSERT_EQ(ui_.errors.size(), 1u);
    // unixODBC's first record names the driver it could not open: the string reached it intact.
    EXPECT_EQ(ui_.errors[0],
              "[unixODBC][Driver Manager]Can't open lib 'Microsoft dBASE Driver (*.dbf)' : file not found");
}

}  // namespace

TEST(DbmsKind, MariaDbCountsAsMySqlAndNothingElseDoes) {
    struct Case {
        const char* name;
        bool mySql;
        bool sqlServer;
    } cases[] = {
        {"MySQL", true, false},   {"MariaDB", true, false},
        {"mariadb", true, false}, {"Microsoft SQL Server", false, true},
        {"SQLite", false, false}, {"", false, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(isMySqlFamily(c.name), c.mySql) << c.name;
        EXPECT_EQ(isSqlServer(c.name), c.sqlServer) << c.name;
    }
}
