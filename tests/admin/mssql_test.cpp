// The SQL Server administration's statements, and its session over the scripted stand-in driver
// manager. No SQL Server runs here: what a real server answers is written down with each script.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "admin/mssql_session.h"
#include "admin/mssql_sql.h"
#include "odbc/dbms_kind.h"
#include "tests/odbc/odbc_test_support.h"

using odbc_test::fakeNames;
using odbc_test::FakeProbe;
using odbc_test::RecordingUi;

namespace {

// Plain input gives the documented text exactly; quotes and brackets in input stay inside.
TEST(SqlServerStatements, PlainInputGivesTheTemplatesAndHostileInputStaysQuoted) {
    const std::string hostile = "x'] DROP \"y";
    struct Case {
        std::string built;
        const char* expected;
    } cases[] = {
        {detachSql("Sales"), "EXEC sp_detach_db 'Sales'"},
        {detachSql(hostile), "EXEC sp_detach_db 'x''] DROP \"y'"},
        {forAttachSql("Sales", "C:\\d\\s.mdf", "C:\\d\\s.ldf"),
         "CREATE DATABASE Sales ON (FILENAME = 'C:\\d\\s.mdf'), (FILENAME = 'C:\\d\\s.ldf') FOR ATTACH"},
        {forAttachSql(hostile, "a'b", "c"),
         "CREATE DATABASE [x']] DROP \"y] ON (FILENAME = 'a''b'), (FILENAME = 'c') FOR ATTACH"},
        {forAttachSql("1st db", "m", "l"), "CREATE DATABASE [1st db] ON (FILENAME = 'm'), (FILENAME = 'l') FOR ATTACH"},
        {attachSql("Sales", "m.mdf", "l.ldf"), "EXEC sp_attach_db 'Sales','m.mdf','l.ldf'"},
        {attachSql("O'Brien", "m", "l"), "EXEC sp_attach_db 'O''Brien','m','l'"},
        {backupSql("Sales", "Sales-2024-03-07.mssql-server", "Sales"),
         "BACKUP DATABASE [Sales] TO DISK = 'Sales-2024-03-07.mssql-server' WITH NOFORMAT, INIT, NAME = 'Sales', "
         "NOREWIND, NOUNLOAD, NOSKIP"},
        {backupSql("a]b", "f'", "d'"),
         "BACKUP DATABASE [a]]b] TO DISK = 'f''' WITH NOFORMAT, INIT, NAME = 'd''', NOREWIND, NOUNLOAD, NOSKIP"},
        {restoreSql("Sales", "s.bak"),
         "RESTORE DATABASE [Sales] FROM DISK = 's.bak' WITH FILE = 1, NOREWIND, NOUNLOAD, REPLACE"},
        {restoreSql("a]b", "it's"),
         "RESTORE DATABASE [a]]b] FROM DISK = 'it''s' WITH FILE = 1, NOREWIND, NOUNLOAD, REPLACE"},
        {shrinkSql("Sales"), "DBCC SHRINKDATABASE ('Sales')"},
        {shrinkSql("a'b"), "DBCC SHRINKDATABASE ('a''b')"},
        {backupFileName("Sales", 2024, 3, 7), "Sales-2024-03-07.mssql-server"},
        {repairClipboardText("Sales"),
         "EXEC sp_resetstatus 'Sales'\r\nALTER DATABASE \"Sales\" SET EMERGENCY\r\nDBCC checkdb('Sales')\r\n"
         "ALTER DATABASE \"Sales\" SET SINGLE_USER WITH ROLLBACK IMMEDIATE\r\n"
         "DBCC CheckDB ('Sales', REPAIR_ALLOW_DATA_LOSS)\r\nALTER DATABASE \"Sales\" SET MULTI_USER\r\n"},
        {repairSteps("a\"b'c")[1], "ALTER DATABASE \"a\"\"b'c\" SET EMERGENCY"},
        {repairSteps("a\"b'c")[4], "DBCC CheckDB ('a\"b''c', REPAIR_ALLOW_DATA_LOSS)"},
        {loginRolesSql("sa"), "select * from \"sys\".\"syslogins\" where \"name\" = 'sa'"},
        {dropLoginSql("o'k"), "EXEC sp_droplogin 'o''k'"},
        {createLoginSql("joe", "pw"),
         "CREATE LOGIN [joe] WITH PASSWORD = N'pw' , CHECK_POLICY = OFF, CHECK_EXPIRATION = OFF"},
        {createLoginSql("j]oe", "p'w"),
         "CREATE LOGIN [j]]oe] WITH PASSWORD = N'p''w' , CHECK_POLICY = OFF, CHECK_EXPIRATION = OFF"},
        {roleMemberSql(true, "joe", "sysadmin"), "EXEC sp_addsrvrolemember 'joe', 'sysadmin'"},
        {roleMemberSql(false, "o'k", "diskadmin"), "EXEC sp_dropsrvrolemember 'o''k', 'diskadmin'"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.built, c.expected);
    EXPECT_TRUE(isBlank("") && isBlank("   ") && !isBlank(" a "));
}

int owner = 0;

class SqlServerSessionTest : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(binding_.acquire(&owner), 1);
        ASSERT_TRUE(sql::succeeded(binding_.allocConnection(&connection_)));
        probe_.setDbmsName("Microsoft SQL Server");
    }
    void TearDown() override { binding_.release(&owner); }
    // The calls that reached the driver manager, without the allocation noise.
    std::vector<std::string> calls() { return probe_.calls(); }

    FakeProbe probe_{"full"};
    RecordingUi ui_;
    OdbcBinding binding_{fakeNames("full"), &ui_};
    SqlHdbc connection_ = nullptr;
};

// A real server answers BACKUP with one message per result ("Processed 328 pages ...") and sends
// a failure (3201 cannot open backup device, then 3013 terminating abnormally) as a later result.
TEST_F(SqlServerSessionTest, EveryResultIsReadBeforeTheStatementGoesAndTheFirstErrorIsShown) {
    EXPECT_TRUE(isSqlServer(dbmsName(binding_, connection_)));
    SqlServerSession session(binding_, connection_, &owner);
    probe_.script("BACKUP", 1, "Processed 328 pages", "", "", 3, -1);
    EXPECT_EQ(session.run(backupSql("Sales", "s.bak", "Sales")), sql::kError);
    std::string backup = "SQLExecDirect " + backupSql("Sales", "s.bak", "Sales");
    EXPECT_EQ(calls(), (std::vector<std::string>{backup, "SQLMoreResults", "SQLMoreResults", "SQLMoreResults",
                                                 "SQLMoreResults", "SQLFreeHandle"}));
    ASSERT_EQ(ui_.errors.size(), 1u);
    EXPECT_EQ(ui_.errors[0], "Processed 328 pages");  // the scripted diagnostic of the failing result
    EXPECT_EQ(probe_.state().liveStatements, 0);

    // Information alone: success with information, shown unless quiet.
    probe_.script("DBCC SHRINK", 1, "DBCC execution completed.", "", "", 2, 1);
    EXPECT_EQ(session.run(shrinkSql("Sales")), sql::kSuccessWithInfo);
    EXPECT_EQ(session.run(shrinkSql("Sales"), true), sql::kSuccessWithInfo);
    EXPECT_EQ(ui_.errors.size(), 2u);
}

// sys.databases has "name" as its first column and "database_id" second on a real server; the
// column is found by its name wherever it stands.
TEST_F(SqlServerSessionTest, ListsReadTheNameColumnWithoutTimeOut) {
    SqlServerSession session(binding_, connection_, &owner);
    probe_.script("select * from \"sys\".\"databases\"", 0, "", "database_id\tname", "1\tmaster\n5\tSales\n6\tx'y");
    probe_.script("select * from \"sys\".\"sql_logins\"", -1, "permission denied");
    EXPECT_EQ(session.names(kDatabaseListQuery), (std::vector<std::string>{"master", "Sales", "x'y"}));
    std::vector<std::string> expected = {"SQLSetStmtOption 0 0", std::string("SQLExecDirect ") + kDatabaseListQuery,
                                         "SQLMoreResults", "SQLFreeHandle"};
    EXPECT_EQ(calls(), expected);
    EXPECT_TRUE(session.names(kLoginListQuery).empty());
    EXPECT_EQ(ui_.errors, (std::vector<std::string>{"permission denied"}));
}

// sys.syslogins has the role columns as tinyint 0/1, after the login's other columns.
TEST_F(SqlServerSessionTest, ALoginsRolesComeFromTheRoleColumnsByName) {
    SqlServerSession session(binding_, connection_, &owner);
    probe_.script("select * from \"sys\".\"syslogins\"", 0, "",
                  "sid\tname\tbulkadmin\tsysadmin\tsecurityadmin\tserveradmin\tsetupadmin\tprocessadmin\tdiskadmin",
                  "0x01\tjoe\t1\t0\t1\t0\t0\t0\t1");
    std::vector<int> roles;
    ASSERT_TRUE(session.loginRoles("joe", roles));
    EXPECT_EQ(roles, (std::vector<int>{0, 1, 0, 0, 0, 1, -1, 1}));  // dbcreator missing: untouched
}

// A real server fails DBCC CHECKDB when it finds damage (error 8928 and the like), and fails a
// mode change while users hold the database.
TEST_F(SqlServerSessionTest, TheRepairStopsAtTheFirstFailureAndPutsTheModeBack) {
    const std::string name = "Sa\"les'";
    std::vector<std::string> steps = repairSteps(name);
    const std::string online = "ALTER DATABASE \"Sa\"\"les'\" SET ONLINE";
    const std::string multi = "ALTER DATABASE \"Sa\"\"les'\" SET MULTI_USER";
    struct Case {
        int failing;  // 0: none
        std::vector<std::string> sent;
    } cases[] = {
        {0, steps},
        {1, {steps[0]}},
        {3, {steps[0], steps[1], steps[2], online}},
        {4, {steps[0], steps[1], steps[2], steps[3], online}},
        {5, {steps[0], steps[1], steps[2], steps[3], steps[4], multi, online}},
        {6, steps},
    };
    for (const Case& c : cases) {
        probe_.clearScripts();
        if (c.failing)
            probe_.script(steps[c.failing - 1], -1, "step failed");
        probe_.script("DBCC", 1, "DBCC results for 'Sales'.", "", "", 2, 1);
        SqlServerSession session(binding_, connection_, &owner);
        std::vector<int> done;
        EXPECT_EQ(runRepair(session, name, [&](int k) { done.push_back(k); }), c.failing);
        std::vector<std::string> sent;
        for (const std::string& call : probe_.calls())
            if (call.rfind("SQLExecDirect ", 0) == 0)
                sent.push_back(call.substr(14));
        EXPECT_EQ(sent, c.sent) << "failing step " << c.failing;
        EXPECT_EQ(done.size(), static_cast<std::size_t>(c.failing ? c.failing - 1 : 6));
    }
    // Only the failures were shown, never DBCC's information.
    EXPECT_EQ(ui_.errors.size(), 5u);
}

}  // namespace
