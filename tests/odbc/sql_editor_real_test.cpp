// Statements from the SQL editors on the real drivers (SQLite, and MariaDB while its test server
// runs): the outcome "&Execute" appends, the fixed-width capture, drop table on the catalog-qualified
// table, OPTIMIZE on a connection of its own, and INSERT scripts that replay into an empty copy.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "odbc/data_sources.h"
#include "odbc/dbms_kind.h"
#include "odbc/insert_script.h"
#include "odbc/odbc_handles.h"
#include "odbc/result_query.h"
#include "odbc/result_table.h"
#include "odbc/select_text.h"
#include "odbc/sql_assist.h"
#include "odbc/statement_exec.h"
#include "tests/dbf/dbf_test_util.h"
#include "tests/odbc/odbc_test_support.h"

namespace {

int owner = 0;
using Rows = std::vector<std::vector<std::string>>;

class SqlEditorReal : public testing::TestWithParam<const char*> {
  protected:
    void SetUp() override {
        if (!odbc_test::realOdbcConfigured())
            GTEST_SKIP() << "no test ODBC configuration";
        mariaDb_ = std::string(GetParam()) == odbc_test::kMariaDbDsn;
        if (mariaDb_ && !odbc_test::mariaDbConfigured())
            GTEST_SKIP() << "no MariaDB server (tools/mariadb.sh start)";
        clearOdbcCredentials();
        ASSERT_EQ(binding_.acquire(&owner), 1);
        ASSERT_EQ(binding_.allocConnection(&connection_), sql::kSuccess);
        std::snprintf(odbcCredentials().user, OdbcCredentials::kSize, "%s", mariaDb_ ? odbc_test::kMariaDbUser : "");
        std::snprintf(odbcCredentials().password, OdbcCredentials::kSize, "%s",
                      mariaDb_ ? odbc_test::kMariaDbPassword : "");
        SqlHdbc node = nullptr;
        bool login = false;
        ASSERT_TRUE(sql::succeeded(connect(&owner, GetParam(), connection_, &node, &login, false, 0, binding_)));
    }
    void TearDown() override {
        if (connection_)
            binding_.freeConnection(connection_);
        binding_.release(&owner);
        clearOdbcCredentials();
    }

    void exec(const std::string& text) {
        OdbcStatement statement(binding_, connection_);
        SqlReturn rc = statement.execDirect(text);
        ASSERT_TRUE(sql::succeeded(rc) || rc == sql::kNoData) << text << ": " << statement.errorText();
    }
    Rows rows(const std::string& command) {
        OdbcStatement statement(binding_, connection_);
        EXPECT_TRUE(sql::succeeded(statement.execDirect(command))) << command << ": " << statement.errorText();
        SqlSmallInt count = 0;
        statement.numResultCols(&count);
        Rows out;
        while (sql::succeeded(statement.fetch())) {
            out.emplace_back();
            for (int i = 1; i <= count; ++i) {
                ColumnText value;
                statement.getText(static_cast<SqlUSmallInt>(i), value);
                out.back().push_back(value.null ? "<null>" : value.text);
            }
        }
        return out;
    }

    bool mariaDb_ = false;
    odbc_test::RecordingUi ui_;
    OdbcBinding binding_{platformOdbcLibraryNames(), &ui_};
    SqlHdbc connection_ = nullptr;
};

TEST_P(SqlEditorReal, ExecuteAppendsSuccessOrTheDriversTextAndStopsAtTheLimit) {
    exec("DROP TABLE IF EXISTS sqe_exec");
    struct Case {
        const char* statement;
        bool success;
    } cases[] = {
        {"CREATE TABLE sqe_exec (a INTEGER)", true},
        {"INSERT INTO sqe_exec VALUES (1)", true},
        {"SELECT * FROM sqe_exec", true},  // no grid, only the word
        {"DELETE FROM sqe_exec WHERE a = 2", true},
        {"SELEC nonsense FROM", false},
        {"INSERT INTO sqe_missing VALUES (1)", false},
    };
    for (const Case& c : cases) {
        std::string whole = std::string("-- before\r\n") + c.statement;
        std::string text = executeSelectionText(binding_, connection_, GetParam(), c.statement, whole);
        ASSERT_EQ(text.compare(0, whole.size() + 4, whole + "\r\n\r\n"), 0) << text;
        std::string outcome = text.substr(whole.size() + 4);
        if (c.success) {
            EXPECT_EQ(outcome, "Success.") << c.statement;
        } else {
            EXPECT_NE(outcome, "Success.") << c.statement;
            EXPECT_FALSE(outcome.empty()) << c.statement;
        }
    }
    EXPECT_TRUE(ui_.errors.empty());  // the editor tells, no box
    // A text at the editor's limit gets the blank line but not the message.
    std::string full(kEditorTextLimit - 10, 'x');
    EXPECT_EQ(executeSelectionText(binding_, connection_, GetParam(), "SELEC nonsense", full), full + "\r\n\r\n");
    exec("DROP TABLE sqe_exec");
}

TEST_P(SqlEditorReal, StatementCaptureIsFixedWidthWithNullsBlankAndBounded) {
    exec("DROP TABLE IF EXISTS sqe_cap");
    exec("CREATE TABLE sqe_cap (k INTEGER, a VARCHAR(50), b VARCHAR(20))");
    exec("INSERT INTO sqe_cap VALUES (1, 'first', 'x'), (2, NULL, NULL), (3, 'third', NULL)");
    std::string out;
    // Three columns: the fourth is blank, and a NULL never repeats the row before.
    EXPECT_EQ(
        executeStatement(binding_, &owner, connection_, GetParam(), "SELECT a, b, k FROM sqe_cap ORDER BY k", &out),
        sql::kNoData);
    auto line = [](const std::string& a, const std::string& b, const std::string& c) {
        char text[200];
        std::snprintf(text, sizeof text, "%-40s%-16s%-16s%-80s\r\n", a.c_str(), b.c_str(), c.c_str(), "");
        return std::string(text);
    };
    EXPECT_EQ(out, line("first", "x", "1") + line("", "", "2") + line("third", "", "3"));
    // Without output: success is 0 and nothing shows; a failure shows the box.
    EXPECT_EQ(executeStatement(binding_, &owner, connection_, GetParam(), "DELETE FROM sqe_cap WHERE k = 1"),
              sql::kSuccess);
    EXPECT_TRUE(ui_.errors.empty());
    EXPECT_EQ(executeStatement(binding_, &owner, connection_, GetParam(), "DELETE FROM sqe_nowhere"), sql::kError);
    EXPECT_EQ(ui_.errors.size(), 1u);
    // A long result stops at the bound.
    out.clear();
    executeStatement(binding_, &owner, connection_, GetParam(),
                     "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 2000) SELECT i FROM n",
                     &out);
    EXPECT_LE(out.size(), kStatementOutputLimit);
    EXPECT_GT(out.size(), kStatementOutputLimit - 200);
    exec("DROP TABLE sqe_cap");
}

TEST_P(SqlEditorReal, DropAndDeleteNameTheListedTableExactly) {
    std::string quote = identifierQuote(binding_, connection_);
    std::string current = currentCatalog(binding_, connection_);
    if (!mariaDb_) {
        exec("DROP TABLE IF EXISTS \"sqe order\"");
        exec("CREATE TABLE \"sqe order\" (a INTEGER)");
        exec("INSERT INTO \"sqe order\" VALUES (1)");
        std::string text = tableStatement("delete from", "", "", "sqe order", quote, current);
        EXPECT_EQ(text, "delete from \"sqe order\"");
        EXPECT_EQ(executeStatement(binding_, &owner, connection_, GetParam(), text), sql::kSuccess);
        EXPECT_EQ(rows("SELECT COUNT(*) FROM \"sqe order\""), (Rows{{"0"}}));
        EXPECT_EQ(executeStatement(binding_, &owner, connection_, GetParam(),
                                   tableStatement("drop table", "", "", "sqe order", quote, current)),
                  sql::kSuccess);
        return;
    }
    // The same table name in two databases: only the one the node stands for goes.
    exec("CREATE DATABASE IF NOT EXISTS sqe_other");
    for (const char* db : {"sqe_other", "quarrow"}) {
        exec(std::string("DROP TABLE IF EXISTS `") + db + "`.`order`");
        exec(std::string("CREATE TABLE `") + db + "`.`order` (a INTEGER)");
        exec(std::string("INSERT INTO `") + db + "`.`order` VALUES (1)");
    }
    std::string deleteText = tableStatement("delete from", "sqe_other", "", "order", quote, current);
    EXPECT_EQ(deleteText, "delete from `sqe_other`.`order`");
    EXPECT_EQ(executeStatement(binding_, &owner, connection_, GetParam(), deleteText), sql::kSuccess);
    EXPECT_EQ(rows("SELECT (SELECT COUNT(*) FROM sqe_other.`order`), (SELECT COUNT(*) FROM quarrow.`order`)"),
              (Rows{{"0", "1"}}));
    std::string dropText = tableStatement("drop table", "sqe_other", "", "order", quote, current);
    EXPECT_EQ(executeStatement(binding_, &owner, connection_, GetParam(), dropText), sql::kSuccess);
    EXPECT_EQ(rows("SELECT table_schema FROM information_schema.tables WHERE table_name = 'order'"),
              (Rows{{"quarrow"}}));
    exec("DROP TABLE quarrow.`order`");
    exec("DROP DATABASE sqe_other");
}

TEST_P(SqlEditorReal, OptimizeAndRepairLeaveTheConnectionUsable) {
    exec("DROP TABLE IF EXISTS sqe_opt");
    exec("CREATE TABLE sqe_opt (a INTEGER)");
    std::string dbms = dbmsName(binding_, connection_);
    EXPECT_EQ(needsOwnConnection("  optimize TABLE sqe_opt", dbms), mariaDb_);
    EXPECT_EQ(needsOwnConnection("REPAIR TABLE sqe_opt", dbms), mariaDb_);
    EXPECT_FALSE(needsOwnConnection("SELECT 'OPTIMIZE'", dbms));
    if (mariaDb_) {
        std::string text =
            executeSelectionText(binding_, connection_, GetParam(), "OPTIMIZE TABLE sqe_opt", "OPTIMIZE TABLE sqe_opt");
        EXPECT_EQ(text, "OPTIMIZE TABLE sqe_opt\r\n\r\nSuccess.");
        std::string out;
        executeStatement(binding_, &owner, connection_, GetParam(), "REPAIR TABLE sqe_opt", &out);
    }
    // The explorer's connection goes on.
    EXPECT_EQ(rows("SELECT COUNT(*) FROM sqe_opt"), (Rows{{"0"}}));
    EXPECT_EQ(binding_.liveConnections(), 1);
    exec("DROP TABLE sqe_opt");
}

TEST_P(SqlEditorReal, InsertScriptReplaysIntoAnEmptyCopyWithIdenticalRows) {
    const char* columns = mariaDb_ ? "(name VARCHAR(40), qty DECIMAL(8,2), day DATE, at DATETIME, tm TIME, note TEXT, "
                                     "spare VARCHAR(10))"
                                   : "(name VARCHAR(40), qty NUMERIC(8,2), day DATE, at TIMESTAMP, tm TIME, note TEXT, "
                                     "spare VARCHAR(10))";
    for (const char* table : {"sqe_src", "sqe_dst"}) {
        exec(std::string("DROP TABLE IF EXISTS ") + table);
        exec(std::string("CREATE TABLE ") + table + " " + columns);
    }
    exec(
        "INSERT INTO sqe_src VALUES ('O''Brien', 12.5, {d '2024-02-29'}, {ts '2024-02-29 10:11:12'}, "
        "{t '23:59:58'}, 'say \"hi\", it''s C:" +
        std::string(mariaDb_ ? "\\\\" : "\\") + "', NULL)");
    exec("INSERT INTO sqe_src VALUES ('back" + std::string(mariaDb_ ? "\\\\" : "\\") +
         "', NULL, NULL, NULL, NULL, NULL, 'x')");
    exec("INSERT INTO sqe_src VALUES ('plain', -3, {d '1999-12-31'}, NULL, NULL, 'multi\r\nline', NULL)");
    const char* select = "SELECT name, qty, day, at, tm, note, spare FROM sqe_src";

    OdbcStatement statement(binding_, connection_);
    QueryResult result = copyQueryResult(binding_, statement, select, false, QueryProgress());
    ASSERT_EQ(result.outcome, QueryResult::kTable) << statement.errorText();
    std::vector<std::string> captions;
    for (const ResultField& field : result.fields)
        captions.push_back(field.caption);
    std::string quote = identifierQuote(binding_, connection_);
    InsertScriptTarget target{qualifiedTableName("", "", "sqe_dst", quote), quote,
                              isMySqlFamily(dbmsName(binding_, connection_))};
    dbftest::TempDir dir;
    std::string script = dir.file("replay.sql");
    ASSERT_TRUE(writeInsertScript(*result.table, captions, target, script));
    result.table.reset();
    deleteResultTable(result.path);

    // One statement per record, each ending with ")\r\n"; a memo may hold line breaks itself.
    std::ifstream in(script, std::ios::binary);
    std::stringstream whole;
    whole << in.rdbuf();
    std::string text = whole.str();
    int statements = 0;
    for (std::size_t at = 0; at < text.size();) {
        std::size_t end = text.find(")\r\ninsert into ", at);
        end = end == std::string::npos ? text.size() - 2 : end + 1;
        ASSERT_EQ(text.compare(at, 12, "insert into "), 0) << text.substr(at);
        exec(text.substr(at, end - at));
        ++statements;
        at = end + 2;
    }
    EXPECT_EQ(statements, 3);
    const char* order = " ORDER BY name";
    EXPECT_EQ(rows(std::string(select) + order),
              rows("SELECT name, qty, day, at, tm, note, spare FROM sqe_dst" + std::string(order)));
    EXPECT_EQ(rows("SELECT COUNT(*) FROM sqe_dst WHERE spare IS NULL"), (Rows{{"2"}}));
    exec("DROP TABLE sqe_src");
    exec("DROP TABLE sqe_dst");
}

TEST_P(SqlEditorReal, AssistListsTablesAndPreparesFieldListsOfAwkwardNames) {
    std::string quote = identifierQuote(binding_, connection_);
    std::string q = quote.empty() ? "\"" : quote;
    std::string orderName = q + "order" + q;
    std::string detailsName = q + "Order Details" + q;
    exec("DROP TABLE IF EXISTS " + orderName);
    exec("DROP TABLE IF EXISTS " + detailsName);
    exec("CREATE TABLE " + orderName + " (zeta INTEGER, " + q + "select" + q + " INTEGER, alpha INTEGER)");
    exec("CREATE TABLE " + detailsName + " (b INTEGER, a INTEGER)");
    exec("INSERT INTO " + orderName + " VALUES (1, 2, 3)");
    std::vector<AssistTable> tables;
    ASSERT_TRUE(listAssistTables(binding_, connection_, &owner, &tables));
    EXPECT_TRUE(std::is_sorted(tables.begin(), tables.end(),
                               [](const AssistTable& a, const AssistTable& b) { return a.name < b.name; }));
    std::string current = currentCatalog(binding_, connection_);
    struct Case {
        const char* table;
        std::vector<std::string> fields;
    } cases[] = {{"order", {"alpha", "select", "zeta"}}, {"Order Details", {"a", "b"}}};
    for (const Case& c : cases) {
        auto found = std::find_if(tables.begin(), tables.end(), [&](const AssistTable& t) {
            return t.name == c.table && (t.catalog.empty() || t.catalog == current);
        });
        ASSERT_NE(found, tables.end()) << c.table;
        std::vector<std::string> fields;
        EXPECT_TRUE(listAssistFields(binding_, connection_, &owner, assistTableName(*found, quote, current), &fields));
        EXPECT_EQ(fields, c.fields) << c.table;
    }
    // Another database's table of the same name is reached through its catalog.
    if (mariaDb_) {
        exec("CREATE DATABASE IF NOT EXISTS sqe_assist");
        exec("DROP TABLE IF EXISTS sqe_assist.`order`");
        exec("CREATE TABLE sqe_assist.`order` (other INTEGER)");
        std::vector<std::string> fields;
        EXPECT_TRUE(listAssistFields(binding_, connection_, &owner,
                                     assistTableName({"sqe_assist", "", "order"}, quote, current), &fields));
        EXPECT_EQ(fields, std::vector<std::string>{"other"});
        exec("DROP DATABASE sqe_assist");
    }
    std::vector<std::string> fields;
    EXPECT_FALSE(listAssistFields(binding_, connection_, &owner, "sqe_missing_table", &fields));
    EXPECT_EQ(ui_.errors.size(), 1u);
    std::vector<std::string> keywords = assistKeywordsAndTypes(binding_, connection_);
    ASSERT_EQ(keywords.size(), 47u + 19u);
    EXPECT_EQ(keywords[47], "Char");
    EXPECT_EQ(keywords.back(), "Bit");
    exec("DROP TABLE " + orderName);
    exec("DROP TABLE " + detailsName);
}

INSTANTIATE_TEST_SUITE_P(Drivers,
                         SqlEditorReal,
                         testing::Values(odbc_test::kSqliteDsn, odbc_test::kMariaDbDsn),
                         [](const testing::TestParamInfo<const char*>& param) {
                             return std::string(param.param) == odbc_test::kSqliteDsn ? std::string("SQLite")
                                                                                      : std::string("MariaDB");
                         });

}  // namespace
