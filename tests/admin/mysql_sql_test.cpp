// The MySQL administration's statement text: quoting, account keys, privilege sets and changes.
#include <gtest/gtest.h>

#include "admin/mysql_privileges.h"
#include "admin/mysql_sql.h"

namespace {

const MySqlDialect kToday = dialectOf("10.11.6-MariaDB", "STRICT_TRANS_TABLES");
const MySqlDialect kLiteral = dialectOf("8.0.36", "ANSI_QUOTES,NO_BACKSLASH_ESCAPES");
const MySqlDialect kOld = dialectOf("4.0.27-standard", "");

TEST(MySqlSql, QuotesEveryValueAndName) {
    struct Case {
        std::string text;
        MySqlDialect dialect;
        const char* value;
        const char* name;
    } cases[] = {
        {"o'brien", kToday, "'o''brien'", "`o'brien`"},
        {"a\\b", kToday, "'a\\\\b'", "`a\\b`"},
        {"a\\b'", kLiteral, "'a\\b'''", "`a\\b'`"},
        {"tick`er", kToday, "'tick`er'", "`tick``er`"},
        {"", kToday, "''", "``"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(quoteValue(c.text, c.dialect), c.value) << c.text;
        EXPECT_EQ(quoteName(c.text), c.name) << c.text;
    }
    EXPECT_EQ(qualifiedTable("my`db", "t"), "`my``db`.`t`");
    EXPECT_EQ(qualifiedTable("", "t"), "`t`");
}

TEST(MySqlSql, SplitsAUserKeyAtItsLastAt) {
    struct Case {
        const char* key;
        const char* user;
        const char* host;
    } cases[] = {
        {"john@example.com@%", "john@example.com", "%"},
        {"root@localhost", "root", "localhost"},
        {"@%", "", "%"},
        {"nohost", "", ""},
    };
    for (const Case& c : cases) {
        MySqlAccount account = splitUserKey(c.key);
        EXPECT_EQ(account.user, c.user) << c.key;
        EXPECT_EQ(account.host, c.host) << c.key;
    }
    EXPECT_EQ(userKey(splitUserKey("john@example.com@%")), "john@example.com@%");
}

TEST(MySqlSql, ChoosesTheSyntaxTheServerReports) {
    EXPECT_EQ(alterEngineSql("`t`", "MYISAM", kToday), "alter table `t` engine = `MYISAM`");
    EXPECT_EQ(alterEngineSql("`t`", "MYISAM", kOld), "alter table `t` type = `MYISAM`");
    const DiagnosticMode& quick = diagnosticModes()[2];
    EXPECT_EQ(diagnosticSql(quick, "`d`.`t`", kToday), "check table `d`.`t` QUICK");
    EXPECT_EQ(diagnosticSql(quick, "`t`", kOld), "check table `t` TYPE=QUICK");
    EXPECT_EQ(diagnosticSql(diagnosticModes()[10], "`t`", kOld), "repair table `t` QUICK EXTENDED");
    EXPECT_EQ(createUserSql({"u", "%"}, "p", kOld), "GRANT USAGE ON *.* TO 'u'@'%' IDENTIFIED BY 'p'");
    EXPECT_EQ(passwordSql({"u", "%"}, "p", dialectOf("5.6.1", "")), "SET PASSWORD FOR 'u'@'%' = PASSWORD('p')");
    EXPECT_EQ(passwordSql({"u", "%"}, "p", kToday), "ALTER USER 'u'@'%' IDENTIFIED BY 'p'");
}

TEST(MySqlSql, OffersNoEngineThatLosesTheRows) {
    std::vector<std::string> offered = offeredEngines({{"MRG_MyISAM", "YES"},
                                                       {"CSV", "YES"},
                                                       {"MyISAM", "YES"},
                                                       {"FEDERATED", "NO"},
                                                       {"InnoDB", "DEFAULT"},
                                                       {"SEQUENCE", "YES"},
                                                       {"MEMORY", "YES"}});
    EXPECT_EQ(offered, (std::vector<std::string>{"INNODB", "MEMORY", "MYISAM", "CSV"}));
    EXPECT_FALSE(engineKeepsRows("BLACKHOLE"));
    EXPECT_FALSE(engineKeepsRows("Memory"));
    EXPECT_TRUE(engineKeepsRows("ARIA"));
}

TEST(MySqlSql, ReportLinesArePadded) {
    std::string line = reportLine({"quarrow.t", "check", "status", "OK"});
    ASSERT_EQ(line.size(), 40u + 16 + 16 + 80 + 2);
    EXPECT_EQ(line.substr(40, 6), "check ");
    EXPECT_EQ(line.substr(72, 3), "OK ");
}

TEST(MySqlPrivileges, MatchesWholeItemsOfAStoredSet) {
    std::vector<bool> held = privilegesInSet(tablePrivileges(), "Create View,Delete versioning rows,Select,Grant");
    std::vector<bool> expected(10, false);
    expected[0] = true;  // Select
    expected[6] = true;  // Grant
    EXPECT_EQ(held, expected);
    EXPECT_EQ(parsePrivilegeSet(" Select , ,Insert"), (std::vector<std::string>{"Select", "Insert"}));
}

TEST(MySqlPrivileges, ChangesOnlyWhatChanged) {
    const MySqlAccount account{"o'b", "%"};
    struct Case {
        std::vector<bool> before, after;
        const char* column;
        std::vector<std::string> statements;
    } cases[] = {
        {{1, 0, 0, 0, 0, 0, 0, 0, 0, 0},
         {1, 1, 0, 0, 0, 0, 1, 0, 0, 0},
         "",
         {"GRANT INSERT ON `d`.* TO 'o''b'@'%' WITH GRANT OPTION"}},
        {{1, 0, 0, 0, 0, 0, 1, 0, 0, 0},
         {0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
         "",
         {"REVOKE SELECT, GRANT OPTION ON `d`.* FROM 'o''b'@'%'"}},
        {{0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
         {0, 0, 0, 0, 0, 0, 1, 0, 0, 0},
         "",
         {"GRANT USAGE ON `d`.* TO 'o''b'@'%' WITH GRANT OPTION"}},
        {{1, 0, 0, 0},
         {0, 1, 0, 0},
         "c`1",
         {"GRANT INSERT (`c``1`) ON `d`.* TO 'o''b'@'%'", "REVOKE SELECT (`c``1`) ON `d`.* FROM 'o''b'@'%'"}},
        {{1, 0}, {1, 0}, "", {}},
    };
    for (const Case& c : cases) {
        const auto& list = std::string(c.column).empty() ? databasePrivileges() : columnPrivileges();
        EXPECT_EQ(privilegeChanges(list, static_cast<int>(list.size()), c.before, c.after, "`d`.*", account, kToday,
                                   c.column),
                  c.statements);
    }
}

}  // namespace
