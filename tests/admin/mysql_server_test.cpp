// The MySQL administration against the real MariaDB server: accounts with hostile names, grants
// that take effect for the user who logs in, engine changes and the table diagnostics.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

#include "admin/mysql_session.h"
#include "odbc/data_sources.h"
#include "tests/odbc/odbc_test_support.h"

namespace {

int owner = 0;

class MySqlServer : public testing::Test {
  protected:
    void SetUp() override {
        if (!odbc_test::mariaDbConfigured())
            GTEST_SKIP() << "no MariaDB server (run tools/mariadb.sh start)";
        ASSERT_EQ(binding_.acquire(&owner), 1);
        setCredentials(odbc_test::kMariaDbUser, odbc_test::kMariaDbPassword);
        admin_ = login(odbc_test::kMariaDbUser, odbc_test::kMariaDbPassword);
        ASSERT_NE(admin_, nullptr) << binding_.errorText();
    }
    void TearDown() override {
        for (SqlHdbc connection : connections_)
            binding_.freeConnection(connection);
        binding_.release(&owner);
        clearOdbcCredentials();
    }
    void setCredentials(const char* user, const char* password) {
        std::snprintf(odbcCredentials().user, OdbcCredentials::kSize, "%s", user);
        std::snprintf(odbcCredentials().password, OdbcCredentials::kSize, "%s", password);
    }

    // A connection as `user`, or null when the server refuses it (names of any length and bytes).
    SqlHdbc login(const std::string& user, const std::string& password, const char* database = "quarrow") {
        SqlHdbc connection = nullptr;
        if (!sql::succeeded(binding_.allocConnection(&connection)))
            return nullptr;
        connections_.push_back(connection);
        char text[kConnectionStringSize];
        ConnectionStringWriter writer(text, sizeof text);
        writer.put("DSN=");
        writer.put(odbc_test::kMariaDbDsn);
        writer.put(";UID=");
        writer.value(user.c_str());
        writer.put(";PWD=");
        writer.value(password.c_str());
        writer.put(";DATABASE=");
        writer.value(database);
        char out[1024];
        SqlSmallInt length = 0;
        SqlReturn rc =
            binding_.fn().SQLDriverConnect(connection, nullptr, reinterpret_cast<SqlChar*>(text), sql::kNts,
                                           reinterpret_cast<SqlChar*>(out), sizeof out, &length, sql::kDriverNoPrompt);
        return sql::succeeded(rc) ? connection : nullptr;
    }

    // The first column of every row `text` gives on `connection`; "<refused>" when it fails.
    std::vector<std::string> column(SqlHdbc connection, const std::string& text) {
        MySqlSession session(binding_, connection, &owner);
        MySqlRows rows;
        if (!session.run(text, &rows))
            return {"<refused>"};
        std::vector<std::string> values;
        for (const auto& row : rows)
            values.push_back(row.empty() ? std::string() : row[0]);
        return values;
    }
    std::string grantsOf(const MySqlAccount& account, const MySqlDialect& dialect = MySqlDialect()) {
        std::string all;
        for (const std::string& line : column(admin_, "show grants for " + accountSql(account, dialect)))
            all += line + "\n";
        return all;
    }

    odbc_test::RecordingUi ui_;
    OdbcBinding binding_{platformOdbcLibraryNames(), &ui_};
    std::vector<SqlHdbc> connections_;
    SqlHdbc admin_ = nullptr;
};

// Create, update and drop accounts whose names and passwords hold every character that needs
// escaping, with the server taking backslashes as escapes and literally.
TEST_F(MySqlServer, AccountsWithHostileNamesRoundTrip) {
    struct Case {
        MySqlAccount account;
        const char* password;
        bool literalBackslashes;
    } cases[] = {
        {{"john@example.com", "%"}, "p'w\\d`@x", false},
        {{"o'br\\ien`", "%"}, "a'b\\c", false},
        {{"lit\\er'al", "%"}, "x\\'y", true},
    };
    const auto& privileges = globalPrivileges();
    for (const Case& c : cases) {
        SCOPED_TRACE(userKey(c.account));
        MySqlSession setup(binding_, admin_, &owner);
        ASSERT_TRUE(setup.run("drop user if exists " + accountSql(c.account, MySqlDialect())));
        if (c.literalBackslashes) {
            ASSERT_TRUE(setup.run("set session sql_mode = concat(@@sql_mode, ',NO_BACKSLASH_ESCAPES')"));
        }
        MySqlSession session(binding_, admin_, &owner);
        ASSERT_EQ(session.dialect().backslashEscapes, !c.literalBackslashes);

        std::vector<bool> none(privileges.size(), false), checked = none;
        checked[0] = true;  // Select
        ASSERT_TRUE(session.run(createUserSql(c.account, c.password, session.dialect())));
        ASSERT_TRUE(session.runAll(privilegeChanges(privileges, kWrittenGlobalPrivileges, none, checked, "*.*",
                                                    c.account, session.dialect())));
        std::vector<std::string> keys = session.userKeys();
        ASSERT_NE(std::find(keys.begin(), keys.end(), userKey(c.account)), keys.end());
        MySqlAccount listed = splitUserKey(userKey(c.account));
        std::vector<bool> flags;
        ASSERT_TRUE(session.globalFlags(listed, flags));
        EXPECT_EQ(flags, checked);
        SqlHdbc user = login(c.account.user, c.password);
        ASSERT_NE(user, nullptr) << binding_.errorText();
        EXPECT_EQ(column(user, "select current_user()")[0], userKey(c.account));
        EXPECT_NE(grantsOf(c.account, session.dialect()).find("GRANT SELECT ON *.*"), std::string::npos)
            << grantsOf(c.account, session.dialect());

        // Update: a new password, Select off, Insert and Grant on; the other boxes untouched.
        std::vector<bool> changed = none;
        changed[1] = changed[10] = true;
        ASSERT_TRUE(session.run(passwordSql(c.account, "new'pw", session.dialect())));
        ASSERT_TRUE(session.runAll(privilegeChanges(privileges, kWrittenGlobalPrivileges, checked, changed, "*.*",
                                                    c.account, session.dialect())));
        EXPECT_NE(grantsOf(c.account, session.dialect()).find("GRANT INSERT ON *.*"), std::string::npos)
            << grantsOf(c.account, session.dialect());
        EXPECT_NE(grantsOf(c.account, session.dialect()).find("WITH GRANT OPTION"), std::string::npos);
        EXPECT_EQ(login(c.account.user, c.password), nullptr);
        EXPECT_NE(login(c.account.user, "new'pw"), nullptr);

        ASSERT_TRUE(session.run(dropUserSql(c.account, session.dialect())));
        EXPECT_FALSE(session.globalFlags(listed, flags));
        EXPECT_EQ(login(c.account.user, "new'pw"), nullptr);
        ASSERT_TRUE(session.run("set session sql_mode = default"));
    }
    EXPECT_TRUE(ui_.errors.empty()) << ui_.errors[0];
}

// Database, table and column grants: the user reads exactly what was granted, and the dialogs'
// boxes read back whole privileges only.
TEST_F(MySqlServer, GrantsTakeEffect) {
    MySqlSession session(binding_, admin_, &owner);
    const MySqlAccount reader{"qa_reader", "%"};
    ASSERT_TRUE(
        session.runAll({"drop user if exists 'qa_reader'@'%'", "drop database if exists qa_grants",
                        "create database qa_grants", "create table qa_grants.t1 (a int, b int)",
                        "create table qa_grants.t2 (a int, b int)", "insert into qa_grants.t1 values (1, 2)",
                        "insert into qa_grants.t2 values (3, 4)", createUserSql(reader, "pw", session.dialect())}));
    const MySqlDialect& d = session.dialect();
    const auto& db = databasePrivileges();
    std::vector<bool> off(10, false), select = off;
    select[0] = true;

    ASSERT_TRUE(session.runAll(privilegeChanges(db, 10, off, select, "`qa_grants`.*", reader, d)));
    EXPECT_EQ(session.databaseFlags(reader, "qa_grants"), select);
    SqlHdbc user = login("qa_reader", "pw", "qa_grants");
    ASSERT_NE(user, nullptr);
    EXPECT_EQ(column(user, "select a from qa_grants.t2"), std::vector<std::string>{"3"});
    ASSERT_TRUE(session.runAll(privilegeChanges(db, 10, select, off, "`qa_grants`.*", reader, d)));
    EXPECT_EQ(session.databaseFlags(reader, "qa_grants"), off);

    // A table privilege the dialog does not show (Create View) stays, and does not tick Create.
    ASSERT_TRUE(session.run("grant create view on qa_grants.t1 to 'qa_reader'@'%'"));
    ASSERT_TRUE(session.runAll(privilegeChanges(tablePrivileges(), 10, off, select, "`qa_grants`.`t1`", reader, d)));
    EXPECT_EQ(session.tableFlags(reader, "qa_grants", "t1"), select);
    EXPECT_NE(grantsOf(reader).find("CREATE VIEW"), std::string::npos);

    ASSERT_TRUE(
        session.runAll(privilegeChanges(columnPrivileges(), 4, off, select, "`qa_grants`.`t2`", reader, d, "a")));
    EXPECT_EQ(session.columnFlags(reader, "qa_grants", "t2", "a"), std::vector<bool>({true, false, false, false}));
    EXPECT_EQ(session.columnFlags(reader, "qa_grants", "t2", "b"), std::vector<bool>(4, false));

    user = login("qa_reader", "pw", "qa_grants");
    ASSERT_NE(user, nullptr);
    struct Read {
        const char* text;
        std::vector<std::string> rows;
    } reads[] = {
        {"select b from qa_grants.t1", {"2"}},
        {"select a from qa_grants.t2", {"3"}},
        {"select b from qa_grants.t2", {"<refused>"}},
        {"select count(*) from mysql.user", {"<refused>"}},
    };
    for (const Read& read : reads)
        EXPECT_EQ(column(user, read.text), read.rows) << read.text;
    EXPECT_TRUE(session.runAll({"drop user 'qa_reader'@'%'", "drop database qa_grants"}));
}

// The engine list leaves out MERGE, a change keeps the rows, and the diagnostics report; OPTIMIZE
// and REPAIR on a connection of their own leave the explorer's connection working.
TEST_F(MySqlServer, EnginesAndDiagnostics) {
    MySqlSession session(binding_, admin_, &owner);
    ASSERT_TRUE(session.runAll({"drop table if exists quarrow.qa_engine",
                                "create table quarrow.qa_engine (a int) engine = InnoDB",
                                "insert into quarrow.qa_engine values (1), (2), (3)"}));
    MySqlRows engines;
    ASSERT_TRUE(session.run("show engines", &engines));
    std::vector<std::string> offered = offeredEngines(engines);
    EXPECT_EQ(std::count(offered.begin(), offered.end(), "MRG_MYISAM"), 0);
    ASSERT_EQ(std::count(offered.begin(), offered.end(), "MYISAM"), 1);
    EXPECT_EQ(session.currentCatalog(), "quarrow");
    std::vector<std::string> tables = session.tables("quarrow");
    EXPECT_EQ(std::count(tables.begin(), tables.end(), "qa_engine"), 1);
    std::string table = qualifiedTable("quarrow", "qa_engine");
    ASSERT_TRUE(session.run(alterEngineSql(table, "MYISAM", session.dialect())));
    EXPECT_EQ(column(admin_, "select engine from information_schema.tables where table_name = 'qa_engine'"),
              std::vector<std::string>{"MyISAM"});
    EXPECT_EQ(column(admin_, "select count(*) from quarrow.qa_engine"), std::vector<std::string>{"3"});

    for (const DiagnosticMode& mode : diagnosticModes()) {
        SCOPED_TRACE(mode.name);
        std::string report = runDiagnostic(session, odbc_test::kMariaDbDsn, mode, "quarrow", "qa_engine", &owner);
        ASSERT_GE(report.size(), 154u);
        EXPECT_EQ(report.substr(0, 40), reportLine({"quarrow.qa_engine"}).substr(0, 40));
        EXPECT_EQ(report.substr(40, 16).find(mode.verb), 0u) << report;
        EXPECT_EQ(report.substr(report.size() - 2), "\r\n");
        EXPECT_EQ(column(admin_, "select 1"), std::vector<std::string>{"1"});
    }
    // A side connection that cannot log in: the box, and no report.
    setCredentials("nobody", "wrong");
    EXPECT_EQ(runDiagnostic(session, odbc_test::kMariaDbDsn, diagnosticModes()[0], "quarrow", "qa_engine", &owner), "");
    ASSERT_EQ(ui_.errors.size(), 1u);
    ui_.errors.clear();
    for (const auto& statements : flushStatements())
        for (const char* statement : statements)
            EXPECT_TRUE(session.run(statement)) << statement;
    EXPECT_TRUE(session.run("drop table quarrow.qa_engine"));
    EXPECT_TRUE(ui_.errors.empty()) << ui_.errors[0];
}

}  // namespace
