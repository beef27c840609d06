// Whole table copies between SQLite's and MariaDB's real drivers, read back with their own
// command-line clients.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <map>

#include "copy/create_table_text.h"
#include "copy/table_copy.h"
#include "copy/table_copy_report.h"
#include "copy/table_copy_tables.h"
#include "odbc/data_sources.h"
#include "tests/odbc/odbc_test_support.h"

namespace {

int owner = 0;

#define REQUIRE_MARIADB()                \
    if (!odbc_test::mariaDbConfigured()) \
    GTEST_SKIP() << "no MariaDB server (run tools/test.sh)"

// The output of a shell command.
std::string run(const std::string& command) {
    std::string out;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[4096];
        while (std::size_t got = std::fread(buffer, 1, sizeof buffer, pipe))
            out.append(buffer, got);
        pclose(pipe);
    }
    return out;
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// The database file of the SQLite test data source, from the configuration the tests use.
std::string sqliteFile() {
    std::ifstream in(std::getenv("ODBCINI"));
    bool inSection = false;
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line[0] == '[')
            inSection = line == std::string("[") + odbc_test::kSqliteDsn + "]";
        else if (inSection && line.rfind("Database=", 0) == 0)
            return line.substr(9);
    }
    return "";
}

// Runs `command` with `query` on its standard input, so that no quote of the query meets the shell.
std::string runQuery(const std::string& command, const std::string& query) {
    std::string path = testing::TempDir() + "quarrow_copy_query.sql";
    std::ofstream(path, std::ios::binary) << query << ";\n";
    return run(command + " < '" + path + "'");
}

std::string sqlite(const std::string& query) {
    return runQuery("sqlite3 -batch -noheader -separator '|' '" + sqliteFile() + "'", query);
}

std::string mariadb(const std::string& query) {
    return runQuery("mariadb --no-defaults --default-character-set=cp1250 --socket=" QUARROW_SOURCE_DIR
                    "/build/mariadb/mysqld.sock -uroot -N -B quarrow",
                    query);
}

class TableCopyReal : public testing::Test {
  protected:
    void SetUp() override {
        if (!odbc_test::realOdbcConfigured())
            GTEST_SKIP() << "no test ODBC configuration (run tools/test.sh)";
        ASSERT_EQ(binding_.acquire(&owner), 1);
        logPath_ = testing::TempDir() + "quarrow_copy_error.log";
    }
    void TearDown() override {
        for (SqlHdbc connection : connections_)
            binding_.freeConnection(connection);
        binding_.release(&owner);
        clearOdbcCredentials();
    }

    SqlHdbc open(const char* dsn) {
        std::snprintf(odbcCredentials().user, OdbcCredentials::kSize, "%s", odbc_test::kMariaDbUser);
        std::snprintf(odbcCredentials().password, OdbcCredentials::kSize, "%s", odbc_test::kMariaDbPassword);
        SqlHdbc connection = nullptr;
        EXPECT_EQ(binding_.allocConnection(&connection), sql::kSuccess);
        connections_.push_back(connection);
        SqlHdbc node = nullptr;
        EXPECT_TRUE(sql::succeeded(connect(&owner, dsn, connection, &node, nullptr, false, 0, binding_)));
        return connection;
    }
    // MariaDB keeps the accented letters in the tables the copy creates.
    SqlHdbc openMariaDb() {
        SqlHdbc connection = open(odbc_test::kMariaDbDsn);
        exec(connection, "alter database quarrow character set utf8mb4");
        return connection;
    }
    void exec(SqlHdbc connection, const std::string& text) {
        OdbcStatement statement(binding_, connection);
        ASSERT_TRUE(sql::succeeded(statement.execDirect(text))) << text.substr(0, 200) << ": " << statement.errorText();
    }
    // The CREATE TABLE text the dialog would show for `select`, with text columns made long.
    std::string createText(SqlHdbc source, const std::string& select, const std::string& target) {
        OdbcStatement statement(binding_, source);
        EXPECT_TRUE(sql::succeeded(statement.execDirect(select)));
        std::vector<SourceColumn> columns;
        EXPECT_TRUE(sql::succeeded(describeSourceColumns(binding_, statement, &columns)));
        TypeMapping mapping = identityTypeMapping();
        mapping.rows[4].second = "long varchar";  // text: MariaDB's TEXT holds 64 KB only
        std::string text;
        EXPECT_EQ(buildCreateTableText(columns, target, mapping, false, &text), CreateText::Built);
        return text;
    }
    TableCopyRequest request(SqlHdbc source, const std::string& select, const char* dsn, const std::string& table) {
        TableCopyRequest r;
        r.source = source;
        r.selectText = select;
        r.targetSource = dsn;
        r.targetTable = table;
        r.logPath = logPath_;
        return r;
    }
    TableCopyResult copy(const TableCopyRequest& r) {
        CopyProgress progress;
        progress.cancel = &cancel_;
        if (cancelAt_)
            progress.rows = [this](long rows) { cancel_ = rows >= cancelAt_; };
        return copyTable(binding_, &owner, r, progress);
    }

    odbc_test::RecordingUi ui_;
    OdbcBinding binding_{platformOdbcLibraryNames(), &ui_};
    std::vector<SqlHdbc> connections_;
    std::string logPath_;
    volatile int cancel_ = 0;
    long cancelAt_ = 0;
};

// The rows both directions carry: a 100 KB text, an all-NULL row, 12.34 in a DECIMAL(10,2), dates
// and times, a quote inside a column name and accented text (Windows-1250 bytes).
// (MariaDB's TEXT holds 64 KB: its source takes a MEDIUMTEXT.)
const char kColumns[] =
    "id integer, `na\"me` varchar(40), body %s, price decimal(10,2), born date, at time, "
    "stamp timestamp NULL";
std::string withBody(const char* type) {
    char text[256];
    std::snprintf(text, sizeof text, kColumns, type);
    return text;
}
const char kAccented[] = "\xC1rv\xEDzt\xFBr\xF5 t\xFCk\xF6rf\xFAr\xF3g\xE9p";

void fillSource(const std::function<void(const std::string&)>& exec, bool sqliteSource) {
    std::string big =
        sqliteSource ? "'HEAD' || hex(zeroblob(51198)) || 'TAIL'" : "concat('HEAD', repeat('0', 102396), 'TAIL')";
    exec(std::string("insert into copy_src values (1, '") + kAccented + "', " + big +
         ", 12.34, '2024-02-29', '12:34:56', '2024-02-29 23:59:58')");
    exec("insert into copy_src values (null, null, null, null, null, null, null)");
    exec("insert into copy_src values (3, 'plain', '', 0.5, '1999-12-31', '00:00:01', '2000-01-01 00:00:00')");
}

TEST_F(TableCopyReal, SqliteToMariaDbWithCreateTableKeepsEveryValueWhole) {
    REQUIRE_MARIADB();
    SqlHdbc source = open(odbc_test::kSqliteDsn);
    openMariaDb();
    exec(source, "drop table if exists copy_src");
    std::string columns = withBody("text");
    columns.replace(columns.find("`na\"me`"), 8, "\"na\"\"me\"");
    exec(source, "create table copy_src (" + columns + ")");
    fillSource([&](const std::string& text) { exec(source, text); }, true);
    mariadb("drop table if exists copy_dst");

    TableCopyRequest r = request(source, "select * from copy_src", odbc_test::kMariaDbDsn, "copy_dst");
    r.createText = createText(source, r.selectText, r.targetTable);
    r.createTable = true;
    TableCopyResult result = copy(r);
    ASSERT_EQ(result.outcome, CopyOutcome::Finished) << result.message << "\n" << r.createText;
    EXPECT_EQ(result.rowsRead, 3);
    EXPECT_EQ(result.rowsCommitted, 3);
    EXPECT_EQ(result.errors, 0) << readFile(logPath_);
    EXPECT_EQ(mariadb("select coalesce(id,'N'), coalesce(`na\"me`,'N'), length(body), left(body,4), right(body,4), "
                      "price, born, at, stamp from copy_dst order by id"),
              "N\tN\tNULL\tNULL\tNULL\tNULL\tNULL\tNULL\tNULL\n"
              "1\t" +
                  std::string(kAccented) +
                  "\t102404\tHEAD\tTAIL\t12.34\t2024-02-29\t12:34:56\t2024-02-29 23:59:58\n"
                  "3\tplain\tNULL\tNULL\tNULL\t0.50\t1999-12-31\t00:00:01\t2000-01-01 00:00:00\n");
}

TEST_F(TableCopyReal, MariaDbToSqliteKeepsEveryValueWhole) {
    REQUIRE_MARIADB();
    SqlHdbc source = openMariaDb();
    exec(source, "drop table if exists copy_src");
    exec(source, "create table copy_src (" + withBody("mediumtext") + ")");
    fillSource([&](const std::string& text) { exec(source, text); }, false);
    sqlite("drop table if exists copy_dst");

    TableCopyRequest r = request(source, "select * from copy_src", odbc_test::kSqliteDsn, "copy_dst");
    r.createText = createText(source, r.selectText, r.targetTable);
    r.createTable = true;
    TableCopyResult result = copy(r);
    ASSERT_EQ(result.outcome, CopyOutcome::Finished) << result.message << "\n" << r.createText;
    EXPECT_EQ(result.rowsCommitted, 3);
    EXPECT_EQ(result.errors, 0) << readFile(logPath_);
    EXPECT_EQ(sqlite("select coalesce(id,'N'), coalesce(\"na\"\"me\",'N'), length(body), substr(body,1,4), "
                     "substr(body,-4), price, born, at, stamp from copy_dst order by id"),
              "N|N|||||||\n"
              "1|" +
                  std::string(kAccented) +
                  "|102404|HEAD|TAIL|12.34|2024-02-29|12:34:56|2024-02-29 23:59:58\n"
                  "3|plain||||0.5|1999-12-31|00:00:01|2000-01-01 00:00:00\n");
}

// 60 rows of 100 KB each fill more than one parameter array (4 MB at most each); every row arrives whole.
TEST_F(TableCopyReal, LongRowsAreSplitOverSeveralArrays) {
    REQUIRE_MARIADB();
    SqlHdbc source = openMariaDb();
    exec(source, "drop table if exists copy_long");
    exec(source, "create table copy_long (id integer, body mediumtext)");
    exec(source, "insert into copy_long select seq, concat(seq, repeat('z', 102400)) from seq_1_to_60");
    sqlite("drop table if exists copy_long");
    sqlite("create table copy_long (id integer, body text)");
    TableCopyResult result = copy(request(source, "select * from copy_long", odbc_test::kSqliteDsn, "copy_long"));
    EXPECT_EQ(result.rowsCommitted, 60);
    EXPECT_EQ(
        sqlite("select count(*), sum(length(body) = 102400 + length(id)), sum(body like id || 'zz%') from copy_long"),
        "60|60|60\n");
}

// An INSERT naming 1,000 columns of 64-character names is longer than 65,535 bytes: it is sent whole.
TEST_F(TableCopyReal, AStatementOfManyLongNamesIsSentWhole) {
    REQUIRE_MARIADB();
    SqlHdbc source = openMariaDb();
    // (A MariaDB table cannot hold such names; a SELECT can.)
    std::string columns, select = "select ";
    for (int i = 1; i <= 1000; ++i) {
        char name[8];
        std::snprintf(name, sizeof name, "c%04d_", i);
        std::string column = name + std::string(58, 'x');
        columns += (i > 1 ? ", " : "") + column + " integer";
        select += (i > 1 ? ", 7 as " : "7 as ") + column;
    }
    sqlite("drop table if exists copy_wide");
    sqlite("create table copy_wide (" + columns + ")");
    TableCopyResult result = copy(request(source, select, odbc_test::kSqliteDsn, "copy_wide"));
    EXPECT_EQ(result.rowsCommitted, 1) << readFile(logPath_).substr(0, 300);
    EXPECT_EQ(sqlite("select c0001_" + std::string(58, 'x') + ", c1000_" + std::string(58, 'x') + " from copy_wide"),
              "7|7\n");
}

// Rows naming a column the target lacks are logged, the first also shown once in the "ODBC error" box
// (not a box per row), and a row without that column's value still arrives.
TEST_F(TableCopyReal, TheFirstRefusedRowIsShownOnceAndEveryOneLogged) {
    REQUIRE_MARIADB();
    SqlHdbc source = openMariaDb();
    exec(source, "drop table if exists copy_narrow");
    exec(source, "create table copy_narrow (id integer, name varchar(10))");
    exec(source, "insert into copy_narrow values (1, 'a'), (2, null), (3, 'c')");
    sqlite("drop table if exists copy_narrow");
    sqlite("create table copy_narrow (id integer)");
    TableCopyResult result =
        copy(request(source, "select * from copy_narrow order by id", odbc_test::kSqliteDsn, "copy_narrow"));
    EXPECT_EQ(result.rowsCommitted, 1);
    EXPECT_EQ(result.errors, 2);
    ASSERT_EQ(ui_.errors.size(), 1u);
    EXPECT_NE(ui_.errors[0].find("no column named name"), std::string::npos) << ui_.errors[0];
    EXPECT_EQ(sqlite("select id from copy_narrow"), "2\n");
}

// A source of `rows` rows (id, name) where row `duplicate` repeats the id of the row before it.
void fillRows(const std::function<void(const std::string&)>& exec, int rows, int duplicate) {
    exec("drop table if exists copy_rows");
    exec("create table copy_rows (id integer, name varchar(20))");
    for (int i = 1, id = 1; i <= rows; ++i, ++id) {
        if (i == duplicate)
            --id;
        exec("insert into copy_rows values (" + std::to_string(id) + ", 'row " + std::to_string(i) + "')");
    }
}

// A row the target refuses in the middle of a batch is logged alone and every other row arrives, into
// either driver; a cancel keeps the rows already committed.
TEST_F(TableCopyReal, ARefusedRowIsLoggedAndTheRestGoOnAndCancelKeepsCommittedRows) {
    REQUIRE_MARIADB();
    SqlHdbc sqliteSource = open(odbc_test::kSqliteDsn);
    SqlHdbc mariaDbSource = openMariaDb();
    struct Case {
        SqlHdbc source;
        const char* target;
        std::function<std::string(const std::string&)> client;
    } cases[] = {
        {sqliteSource, odbc_test::kMariaDbDsn, mariadb},
        {mariaDbSource, odbc_test::kSqliteDsn, sqlite},
    };
    for (const Case& c : cases) {
        fillRows([&](const std::string& text) { exec(c.source, text); }, 25, 6);
        c.client("drop table if exists copy_keyed");
        c.client("create table copy_keyed (id integer primary key, name varchar(20))");
        TableCopyRequest r = request(c.source, "select * from copy_rows", c.target, "copy_keyed");
        r.batchRows = 4;
        TableCopyResult result = copy(r);
        EXPECT_EQ(result.outcome, CopyOutcome::Finished) << c.target;
        EXPECT_EQ(result.rowsRead, 25);
        EXPECT_EQ(result.rowsCommitted, 24);
        EXPECT_EQ(result.errors, 1);
        std::string log = readFile(logPath_);
        EXPECT_NE(log.find("\r\n  6.record - 1.error - Field :  - Value : INSERT INTO "), std::string::npos) << log;
        EXPECT_EQ(c.client("select count(*), min(name), max(id) from copy_keyed where name <> 'row 6'"),
                  c.target == std::string(odbc_test::kSqliteDsn) ? "24|row 1|24\n" : "24\trow 1\t24\n");

        c.client("delete from copy_keyed");
        fillRows([&](const std::string& text) { exec(c.source, text); }, 100, 0);
        cancelAt_ = 20;
        cancel_ = 0;
        result = copy(r);
        cancelAt_ = 0;
        cancel_ = 0;
        EXPECT_EQ(result.outcome, CopyOutcome::Canceled);
        EXPECT_EQ(result.rowsCommitted, 20);
        EXPECT_EQ(c.client("select count(*) from copy_keyed"), "20\n");
    }
}

// Runs that end before any row: each says why, and sends nothing.
TEST_F(TableCopyReal, ARunThatCannotStartSaysWhy) {
    SqlHdbc source = open(odbc_test::kSqliteDsn);
    fillRows([&](const std::string& text) { exec(source, text); }, 3, 0);
    sqlite("drop table if exists copy_none");
    struct Case {
        const char* target;
        const char* createText;
        std::string logPath;
        CopyOutcome outcome;
        const char* message;
    } cases[] = {
        {"QuarrowNoSuchSource", "", logPath_, CopyOutcome::ConnectFailed, "Data source name not found"},
        {odbc_test::kSqliteDsn, "CREATE TABLE `copy_none` (", logPath_, CopyOutcome::CreateFailed, "incomplete input"},
        {odbc_test::kSqliteDsn, "CREATE TABLE `copy_none` (`id` integer, `name` varchar(20))",
         testing::TempDir() + "no-such-folder/error.log", CopyOutcome::LogFailed, "no-such-folder"},
    };
    for (const Case& c : cases) {
        TableCopyRequest r = request(source, "select * from copy_rows", c.target, "copy_none");
        r.createText = c.createText;
        r.createTable = true;
        r.logPath = c.logPath;
        TableCopyResult result = copy(r);
        EXPECT_EQ(result.outcome, c.outcome) << c.target << " " << c.createText;
        EXPECT_NE(result.message.find(c.message), std::string::npos) << result.message;
        EXPECT_EQ(result.rowsCommitted, 0);
    }
    EXPECT_EQ(sqlite("select count(*) from copy_none"), "0\n");
}

// The page parses, says its code page, and gives back each cell's text, markup characters included.
TEST_F(TableCopyReal, TheHtmlPageReadsBackTheCells) {
    SqlHdbc source = open(odbc_test::kSqliteDsn);
    exec(source, "drop table if exists copy_html");
    exec(source, "create table copy_html (\"a<b\" varchar(10), v text)");
    exec(source, "insert into copy_html values ('<b>&x', '   ')");
    exec(source, std::string("insert into copy_html values ('") + kAccented + "', '" + std::string(300, 'y') + "')");
    OdbcStatement statement(binding_, source);
    ASSERT_TRUE(sql::succeeded(statement.execDirect("select * from copy_html")));
    std::string path = testing::TempDir() + "quarrow copy.html";
    CopyProgress progress;
    long rows = 0;
    ASSERT_TRUE(writeHtmlResult(binding_, statement, path, "Title & <co>", progress, &rows));
    EXPECT_EQ(rows, 2);
    std::string page = readFile(path);
    EXPECT_NE(page.find("charset=windows-1250"), std::string::npos);
    EXPECT_NE(page.find("<TD><PRE>yyy"), std::string::npos);
    std::string cells =
        run("python3 -c \"import html.parser,sys\n"
            "class P(html.parser.HTMLParser):\n"
            " def handle_starttag(s,t,a):\n"
            "  if t in('td','th'): sys.stdout.buffer.write(b'[')\n"
            " def handle_data(s,d): sys.stdout.buffer.write(d.encode('cp1250'))\n"
            "P().feed(open(sys.argv[1],encoding='cp1250').read())\" '" +
            path + "'");
    // (Python reads the page's line ends as "\n".)
    ASSERT_NE(cells.find(path), std::string::npos) << cells;
    EXPECT_EQ(cells.substr(0, 16), "\n\nTitle & <co>\n\n");
    EXPECT_EQ(cells.substr(cells.find(path)), path + "[a<b[v\n[<b>&x[\xA0\n[" + std::string(kAccented) + "[" +
                                                  std::string(300, 'y') +
                                                  "\n\n\n\n");  // A file that cannot be made is refused.
    OdbcStatement again(binding_, source);
    ASSERT_TRUE(sql::succeeded(again.execDirect("select * from copy_html")));
    EXPECT_FALSE(writeHtmlResult(binding_, again, testing::TempDir() + "no-such-folder/x.html", "", progress, &rows));
}

// Three tables into MariaDB under lower-case names; the third cannot be created there, which ends the
// run after the two copied. The table list holds only the current database's tables and leaves views
// unticked.
TEST_F(TableCopyReal, ManyTablesCopyUntilOneFailsAndListOnlyTheCurrentDatabase) {
    REQUIRE_MARIADB();
    SqlHdbc source = open(odbc_test::kSqliteDsn);
    SqlHdbc mariaDb = openMariaDb();
    for (const char* table : {"Copy_T1", "Copy_T2", "Copy_T3"}) {
        exec(source, std::string("drop table if exists ") + table);
        exec(source, std::string("create table ") + table + " (id integer, name varchar(10))");
        exec(source, std::string("insert into ") + table + " values (1, 'one'), (2, 'two')");
    }
    mariadb("drop view if exists copy_view");
    mariadb("drop table if exists copy_t1, copy_t2, copy_t3");
    mariadb("create table copy_t3 (kept integer)");
    MultiTableCopyRequest r;
    r.source = source;
    r.tables = {"Copy_T1", "Copy_T2", "Copy_T3"};
    r.targetSource = odbc_test::kMariaDbDsn;
    r.logPath = logPath_;
    CopyProgress progress;
    std::vector<std::string> started;
    std::vector<TableCopyRun> runs =
        copyTables(binding_, &owner, r, progress, [&](const std::string& table) { started.push_back(table); });
    ASSERT_EQ(runs.size(), 3u) << runs[0].table << ": " << runs[0].result.message;
    EXPECT_EQ(started, r.tables);
    EXPECT_EQ(runs[0].result.rowsCommitted, 2);
    EXPECT_EQ(runs[1].result.rowsCommitted, 2);
    EXPECT_EQ(runs[2].result.outcome, CopyOutcome::CreateFailed);
    EXPECT_NE(runs[2].result.message.find("already exists"), std::string::npos) << runs[2].result.message;
    EXPECT_EQ(mariadb("select count(*) from copy_t1 union all select count(*) from copy_t2"), "2\n2\n");

    exec(mariaDb, "create or replace view copy_view as select * from copy_t1");
    std::vector<CopyTableEntry> tables;
    ASSERT_TRUE(listCopyTables(binding_, mariaDb, &tables));
    std::map<std::string, bool> checked;
    for (const CopyTableEntry& t : tables)
        checked[t.name] = t.checked;
    EXPECT_EQ(checked.count("global_priv"), 0u);  // the mysql database's
    EXPECT_EQ(checked.count("copy_t1"), 1u);
    EXPECT_TRUE(checked["copy_t1"]);
    EXPECT_EQ(checked.count("copy_view"), 1u);
    EXPECT_FALSE(checked["copy_view"]);
    EXPECT_EQ(static_cast<int>(tables.size()),
              std::stoi(mariadb("select count(*) from information_schema.tables where table_schema = 'quarrow'")));
}

// What the user hears at the end of each kind of run.
TEST(TableCopyReport, EachEndingSaysItsOwnAndLoggedRowsOfferTheLog) {
    struct Case {
        CopyOutcome outcome;
        int errors;
        const char* warning;
        const char* error;
        bool asked;
    } cases[] = {
        {CopyOutcome::Finished, 0, "The table copy finished.", nullptr, false},
        {CopyOutcome::Finished, 2, "The table copy finished.", nullptr, true},
        {CopyOutcome::Canceled, 1, "The table copy canceled.\r\n20 rows were kept.", nullptr, true},
        {CopyOutcome::ConnectFailed, 0, nullptr, "driver says no", false},
        {CopyOutcome::CreateFailed, 0, nullptr, "driver says no", false},
    };
    for (const Case& c : cases) {
        odbc_test::RecordingUi ui;
        ui.answerYes = true;
        TableCopyResult result;
        result.outcome = c.outcome;
        result.errors = c.errors;
        result.rowsCommitted = 20;
        result.message = "driver says no";
        EXPECT_EQ(reportTableCopy(ui, &owner, result), c.asked);
        EXPECT_EQ(ui.warnings, c.warning ? std::vector<std::string>{c.warning} : std::vector<std::string>{});
        EXPECT_EQ(ui.errors, c.error ? std::vector<std::string>{c.error} : std::vector<std::string>{});
        EXPECT_EQ(ui.questions.size(), c.errors > 0 ? 1u : 0u);
    }
    EXPECT_EQ(notepadCommand("C:\\Documents and Settings\\Temp\\Quarrow\\error.log"),
              "notepad.exe \"C:\\Documents and Settings\\Temp\\Quarrow\\error.log\"");
}

// What each driver reports for the column types a copy meets: the type name the CREATE TABLE text
// starts from, the ODBC 2 SQL type, the size and the decimal digits.
TEST_F(TableCopyReal, EachDriversTypeNames) {
    // SQLite describes DECIMAL(10,2) as VARCHAR(10); its declared type gives the scale back.
    std::map<std::string, std::string> expected = {
        {odbc_test::kSqliteDsn,
         "a:INTEGER/4/10/0 b:smallint/5/6/0 c:varchar/12/30/0 d:char/12/4/0 e:TEXT/-1/65536/0 f:decimal/3/10/2 "
         "g:numeric/3/8/3 h:float/8/54/0 i:double precision/8/54/0 j:date/9/10/0 k:time/10/8/0 "
         "l:timestamp/11/32/0 m:datetime/11/32/0 n:bigint/-5/20/0 "},
        {odbc_test::kMariaDbDsn,
         "a:integer/4/10/0 b:smallint/5/5/0 c:varchar/12/30/0 d:char/1/4/0 e:text/-1/65535/0 f:decimal/3/10/2 "
         "g:decimal/3/8/3 h:float/7/7/0 i:double/8/15/0 j:date/9/10/0 k:time/10/8/0 l:timestamp/11/19/0 "
         "m:datetime/11/19/0 n:bigint/-5/20/0 "},
    };
    for (const auto& [dsn, types] : expected) {
        if (dsn == odbc_test::kMariaDbDsn && !odbc_test::mariaDbConfigured())
            continue;
        SqlHdbc source = open(dsn.c_str());
        exec(source, "drop table if exists copy_types");
        exec(source,
             "create table copy_types (a integer, b smallint, c varchar(30), d char(4), e text, f decimal(10,2), "
             "g numeric(8,3), h float, i double precision, j date, k time, l timestamp NULL, m datetime, n bigint)");
        OdbcStatement statement(binding_, source);
        ASSERT_TRUE(sql::succeeded(statement.execDirect("select * from copy_types")));
        std::vector<SourceColumn> columns;
        ASSERT_TRUE(sql::succeeded(describeSourceColumns(binding_, statement, &columns)));
        std::string seen;
        for (const SourceColumn& c : columns)
            seen += c.name + ":" + c.typeName + "/" + std::to_string(c.sqlType) + "/" + std::to_string(c.size) + "/" +
                    std::to_string(c.decimals) + " ";
        EXPECT_EQ(seen, types) << dsn;
    }
}

}  // namespace
