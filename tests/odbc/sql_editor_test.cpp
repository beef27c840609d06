// The SQL editors' files without a driver: command file names and their text, the history table
// (read back by an independent reader where one is installed), and INSERT script text, each with
// its failed writes.
#include <gtest/gtest.h>

#if defined(_WIN32)
#include <windows.h>
#endif

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "odbc/command_file.h"
#include "odbc/insert_script.h"
#include "odbc/sql_assist.h"
#include "odbc/sql_history.h"
#include "tests/dbf/dbf_test_util.h"
#include "tests/dbf/fault_fs.h"
#include "tests/dbf/maint_test_util.h"
#include "tests/odbc/odbc_test_support.h"

namespace {

using dbftest::FaultOp;

// A temporary folder of the test's own, as the program's <temp>.
class SqlEditorFiles : public testing::Test {
  protected:
    void SetUp() override {
#if defined(_WIN32)
        // GetTempPath answers TMP first.
        char previous[MAX_PATH] = "";
        hadPrevious_ = GetEnvironmentVariableA("TMP", previous, sizeof previous) > 0;
        previous_ = previous;
        SetEnvironmentVariableA("TMP", temp_.path().string().c_str());
#else
        const char* previous = std::getenv("TMPDIR");
        hadPrevious_ = previous != nullptr;
        previous_ = previous ? previous : "";
        setenv("TMPDIR", temp_.path().c_str(), 1);
#endif
    }
    void TearDown() override {
#if defined(_WIN32)
        SetEnvironmentVariableA("TMP", hadPrevious_ ? previous_.c_str() : nullptr);
#else
        if (!hadPrevious_)
            unsetenv("TMPDIR");
        else
            setenv("TMPDIR", previous_.c_str(), 1);
#endif
    }
    dbftest::TempDir temp_;
    std::string previous_;
    bool hadPrevious_ = false;
};

std::string fileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

TEST(CommandFileName, NamesStayInTheFolderApartFromOurFilesAndComeBack) {
    struct Case {
        const char* dataSource;
        const char* file;
    } cases[] = {
        {"Plain_DSN-1", "Plain_DSN-1.sql"},
        {"a/b\\c:d*e?", "a%2Fb%5Cc%3Ad%2Ae%3F.sql"},
        {"..", "%2E%2E.sql"},
        {"TempFiles", "TempFiles.sql"},  // not the folder of that name
        {"Sz\xE1mla 2", "Sz%E1mla%202.sql"},
        {"100%", "100%25.sql"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(commandFileName(c.dataSource), c.file) << c.dataSource;
        EXPECT_EQ(dataSourceFromCommandFile(c.file), c.dataSource) << c.file;
    }
    // Long names are cut with a hash of the whole: within the cap, still apart, not read back.
    std::string longA = odbc_test::longDsnName();
    std::string longB = longA.substr(0, longA.size() - 1) + "y";
    std::string fileA = commandFileName(longA);
    EXPECT_LE(fileA.size(), 120u);
    EXPECT_NE(fileA, commandFileName(longB));
    EXPECT_EQ(fileA.find_first_of("/\\:*?\"<>| "), std::string::npos);
    EXPECT_EQ(dataSourceFromCommandFile(fileA), "");
    // A long name of escapes is never cut inside one.
    std::string escapes = commandFileName(std::string(200, '.'));
    EXPECT_EQ(escapes.substr(0, escapes.find('~')).size() % 3, 0u);
}

TEST(SqlAssistLists, CommandsOperatorsAndNamesAsStatementsWriteThem) {
    const auto& commands = assistCommands();
    const char* firstLines[] = {"SELECT [ALL | DISTINCT]",
                                "INSERT INTO dbf_name [(fname1 [, fname2, ...])]",
                                "UPDATE [DatabaseName1!]TableName1",
                                "DELETE FROM [DatabaseName!]TableName",
                                "DROP TABLE TableName | FileName | ?",
                                "ALTER TABLE TableName1",
                                "CREATE TABLE | DBF TableName1 [NAME LongTableName] [FREE]",
                                "CREATE [UNIQUE] INDEX index-name ON table-name (column-identifier [ASC][DESC][, "
                                "column-identifier [ASC][DESC]...]) WITH <index option list>",
                                ""};
    ASSERT_EQ(commands.size(), 9u);
    for (std::size_t i = 0; i < commands.size(); ++i) {
        std::string syntax = commands[i].syntax;
        EXPECT_EQ(syntax.substr(0, syntax.find("\r\n")), firstLines[i]) << commands[i].name;
    }
    EXPECT_EQ(std::string(commands[8].name), "CREATE VIEW AS");
    // ALTER TABLE's three forms are parted by en dashes in Windows-1250.
    std::string alter = commands[5].syntax;
    EXPECT_EQ(alter.find("\r\n\x96 Or \x96\r\n") != std::string::npos, true);
    EXPECT_EQ(assistOperators().size(), 28u);
    EXPECT_EQ(assistOperators().front(), " ");
    EXPECT_EQ(assistOperators().back(), "'");

    struct Case {
        const char* name;
        const char* written;
    } names[] = {
        {"Orders", "Orders"},     {"Order Details", "\"Order Details\""},
        {"order", "\"order\""},  // a reserved word
        {"Select", "\"Select\""}, {"a$b", "\"a$b\""},
        {"2nd", "\"2nd\""},       {"say\"hi", "\"say\"\"hi\""},
        {"plain_1", "plain_1"},
    };
    for (const Case& c : names)
        EXPECT_EQ(assistName(c.name, "\""), c.written) << c.name;
    EXPECT_EQ(assistTableName({"shop", "", "order"}, "`", "other"), "shop.`order`");
    EXPECT_EQ(assistTableName({"shop", "", "order"}, "`", "shop"), "`order`");
    EXPECT_EQ(assistTableName({"", "dbo", "Order Details"}, "\"", ""), "dbo.\"Order Details\"");
}

TEST_F(SqlEditorFiles, CommandTextSurvivesForEveryNameAndIsCappedOnRead) {
    const std::string names[] = {"QuarrowSQLite", odbc_test::kAccentedDsn, odbc_test::longDsnName(), "a/..\\b"};
    for (const std::string& name : names) {
        EXPECT_EQ(loadCommandText(name), "");
        ASSERT_TRUE(saveCommandText(name, "select 1;\r\n-- " + name));
        EXPECT_EQ(loadCommandText(name), "select 1;\r\n-- " + name);
        ASSERT_TRUE(saveCommandText(name, "shorter"));
        EXPECT_EQ(loadCommandText(name), "shorter");
    }
    std::string huge(kCommandFileLimit + 10, 'x');
    ASSERT_TRUE(saveCommandText("huge", huge));
    EXPECT_EQ(loadCommandText("huge").size(), kCommandFileLimit);
}

TEST_F(SqlEditorFiles, FailedCommandWriteIsReportedAndKeepsTheOldText) {
    ASSERT_TRUE(saveCommandText("src", "old text"));
    struct Case {
        FaultOp op;
        int nth;
        bool shortWrite;
    } cases[] = {
        {FaultOp::Write, 1, true}, {FaultOp::Open, 1, false}, {FaultOp::Rename, 1, false}, {FaultOp::Rename, 2, false}};
    for (const Case& c : cases) {
        dbftest::FaultyFileSystem faulty;
        faulty.failAt(c.op, c.nth, false, c.shortWrite);
        {
            dbftest::ScopedFileSystem scoped(faulty);
            EXPECT_FALSE(saveCommandText("src", "new text that is longer"));
        }
        EXPECT_TRUE(faulty.fired());
        EXPECT_EQ(loadCommandText("src"), "old text") << static_cast<int>(c.op) << c.nth;
    }
}

TEST_F(SqlEditorFiles, HistoryKeepsOneEntryPerStatementInOrder) {
    auto history = openHistory();
    ASSERT_TRUE(history);
    std::string longA = "select " + std::string(90, 'a') + " from t";
    std::string longB = "select " + std::string(90, 'a') + " from u";  // differs after 80
    struct Step {
        std::string statement;
        bool added;
    } steps[] = {{"  select 1  ", true}, {"select 1", false}, {"update t set\r\nx = 'O''Brien'", true},
                 {longA, true},          {longB, false},      {"   ", false}};
    for (const Step& step : steps)
        EXPECT_EQ(addToHistory(*history, step.statement), step.added) << step.statement;
    EXPECT_EQ(historyEntries(*history),
              (std::vector<std::string>{"select 1", "update t set  x = 'O''Brien'", longA.substr(0, 80)}));
    EXPECT_EQ(historyStatement(*history, 1), "update t set\r\nx = 'O''Brien'");
    EXPECT_EQ(historyStatement(*history, 2), longA);
    EXPECT_EQ(historyStatement(*history, 3), "");
    history.reset();

    // Reopened, and read by an independent reader.
    history = openHistory();
    ASSERT_TRUE(history);
    EXPECT_EQ(historyEntries(*history).size(), 3u);
    history.reset();
    if (!mainttest::havePythonModule("dbfread"))
        GTEST_SKIP() << "dbfread is not installed";
    std::string out = temp_.file("history.txt");
    std::string command = mainttest::python() +
                          " -c \"import dbfread,sys; [print(r['SHORT'], '|', r['LONG'].replace(chr(13)+chr(10), "
                          "'/')) for r in dbfread.DBF(sys.argv[1])]\" '" +
                          historyPath() + "' > '" + out + "'";
    ASSERT_EQ(std::system(command.c_str()), 0);
    EXPECT_EQ(fileText(out), "select 1 | select 1\nupdate t set  x = 'O''Brien' | update t set/x = 'O''Brien'\n" +
                                 longA.substr(0, 80) + " | " + longA + "\n");
}

TEST_F(SqlEditorFiles, HistoryWriteThatFailsIsReportedAndCreationFailureGivesNoTable) {
    ASSERT_TRUE(openHistory());
    for (int nth : {1, 2, 3}) {
        dbftest::FaultyFileSystem faulty;
        faulty.failAt(FaultOp::Write, nth, true, true);
        dbftest::ScopedFileSystem scoped(faulty);
        auto history = openHistory();
        ASSERT_TRUE(history);
        EXPECT_FALSE(addToHistory(*history, "select " + std::to_string(nth))) << nth;
        EXPECT_TRUE(faulty.fired());
    }
    dbftest::FaultyFileSystem faulty;
    faulty.failAt(FaultOp::Write, 1, true, true);
    dbftest::ScopedFileSystem scoped(faulty);
    EXPECT_FALSE(openHistory(temp_.file("new.dbf")));
}

// A table with every kind of field the script knows, and what each record becomes.
TEST_F(SqlEditorFiles, InsertScriptQuotesNamesAndEscapesValuesForTheTarget) {
    std::string path = temp_.file("rows.dbf");
    {
        dbf table(path.c_str());
        FieldDef defs[] = {dbftest::field("NAME", 'C', 20),  dbftest::field("OK", 'L', 1),
                           dbftest::field("QTY", 'N', 8, 2), dbftest::field("DAY", 'D', 8),
                           dbftest::field("NOTE", 'M', 10),  dbftest::field("AT", 'S', 19),
                           dbftest::field("TM", 'T', 8)};
        ASSERT_EQ(table.create(defs, 7), 1);
    }
    dbf table(path.c_str());
    ASSERT_EQ(table.open(1), 1);
    // Fields left unset stay blank.
    dbftest::appendRows(
        table, {{"O'Brien", "T", "12.50", "20240229", "", "2024-02-29 10:11:12", "23:59:58"}, {"back\\", "F"}, {}});
    ASSERT_EQ(table.goTo(2), 1);
    ASSERT_EQ(table.lockTable(), 1);
    ASSERT_EQ(table.writeMemo(4, "say \"hi\" it's C:\\"), 1);
    ASSERT_EQ(table.unlock(), 1);
    const std::vector<std::string> columns = {"name", "ok", "qty", "day", "note", "at", "select"};
    struct Case {
        InsertScriptTarget target;
        std::string script;
    } cases[] = {
        {{"`db`.`t`", "`", true},
         "insert into `db`.`t` (`name`, `ok`, `qty`, `day`, `at`, `select`) values('O''Brien', 1, 12.50, "
         "{d'2024-02-29'}, {ts'2024-02-29 10:11:12'}, {t'23:59:58'})\r\n"
         "insert into `db`.`t` (`name`, `ok`, `note`) values('back\\\\', 0, 'say \"hi\" it''s C:\\\\')\r\n"},
        {{"\"t\"", "\"", false},
         "insert into \"t\" (\"name\", \"ok\", \"qty\", \"day\", \"at\", \"select\") values('O''Brien', 1, 12.50, "
         "{d'2024-02-29'}, {ts'2024-02-29 10:11:12'}, {t'23:59:58'})\r\n"
         "insert into \"t\" (\"name\", \"ok\", \"note\") values('back\\', 0, 'say \"hi\" it''s C:\\')\r\n"},
    };
    for (const Case& c : cases) {
        std::string out = temp_.file("script.sql");
        ASSERT_TRUE(table.goTo(3));
        ASSERT_TRUE(writeInsertScript(table, columns, c.target, out));
        EXPECT_EQ(fileText(out), c.script);
        EXPECT_EQ(table.recNo(), 3);
    }
    // A full disk half-way: reported, and no half script left.
    std::string out = temp_.file("full.sql");
    dbftest::FaultyFileSystem faulty;
    faulty.failAt(FaultOp::Write, 2, false, true, "full.sql");
    {
        dbftest::ScopedFileSystem scoped(faulty);
        EXPECT_FALSE(writeInsertScript(table, columns, cases[0].target, out));
    }
    EXPECT_TRUE(faulty.fired());
    EXPECT_FALSE(std::ifstream(out).good());
}

}  // namespace
