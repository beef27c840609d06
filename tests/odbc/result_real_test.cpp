// Results copied into temporary tables, on the real drivers (SQLite, and MariaDB while its test
// server runs): every kind of column arrives whole or is reported, the table reads back with an
// independent reader, cancel keeps what was copied, a failed write leaves nothing behind.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>

#include "base/codepage.h"
#include "dbf/table_swap.h"
#include "odbc/data_sources.h"
#include "odbc/result_query.h"
#include "odbc/select_text.h"
#include "tests/dbf/dbf_test_util.h"
#include "tests/dbf/fault_fs.h"
#include "tests/dbf/maint_test_util.h"
#include "tests/odbc/odbc_test_support.h"

namespace {

int owner = 0;

class ResultReal : public testing::TestWithParam<const char*> {
  protected:
    void SetUp() override {
        if (!odbc_test::realOdbcConfigured())
            GTEST_SKIP() << "no test ODBC configuration";
        mariaDb_ = std::string(GetParam()) == odbc_test::kMariaDbDsn;
        if (mariaDb_ && !odbc_test::mariaDbConfigured())
            GTEST_SKIP() << "no MariaDB server (tools/mariadb.sh start)";
#if !defined(_WIN32)
        // A temporary folder of this test's own: other programs' runs share the system's.
        const char* previous = std::getenv("TMPDIR");
        previousTmp_ = previous ? previous : "";
        setenv("TMPDIR", temp_.path().c_str(), 1);
#endif
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
        for (const std::string& path : made_)
            deleteResultTable(path);
        if (connection_)
            binding_.freeConnection(connection_);
        binding_.release(&owner);
        clearOdbcCredentials();
#if !defined(_WIN32)
        if (previousTmp_.empty())
            unsetenv("TMPDIR");
        else
            setenv("TMPDIR", previousTmp_.c_str(), 1);
#endif
    }

    void exec(const std::string& text) {
        OdbcStatement statement(binding_, connection_);
        SqlReturn rc = statement.execDirect(text);
        ASSERT_TRUE(sql::succeeded(rc) || rc == sql::kNoData) << text << ": " << statement.errorText();
    }
    QueryResult run(const std::string& command, bool oem = false, QueryProgress progress = QueryProgress()) {
        OdbcStatement statement(binding_, connection_);
        QueryResult result = copyQueryResult(binding_, statement, command, oem, progress);
        if (result.outcome == QueryResult::kOdbcError)
            ADD_FAILURE() << command << ": " << statement.errorText();
        if (!result.path.empty())
            made_.push_back(result.path);
        return result;
    }
    // Every column of every row of `command` as the driver gives it ("\x01" for NULL).
    std::vector<std::vector<std::string>> driverRows(const std::string& command) {
        OdbcStatement statement(binding_, connection_);
        EXPECT_TRUE(sql::succeeded(statement.execDirect(command)));
        SqlSmallInt count = 0;
        statement.numResultCols(&count);
        std::vector<std::vector<std::string>> rows;
        while (sql::succeeded(statement.fetch())) {
            rows.emplace_back();
            for (int i = 1; i <= count; ++i) {
                ColumnText value;
                statement.getText(static_cast<SqlUSmallInt>(i), value);
                rows.back().push_back(value.null ? "\x01" : value.text);
            }
        }
        return rows;
    }

    bool mariaDb_ = false;
    dbftest::TempDir temp_;
    std::string previousTmp_;
    odbc_test::RecordingUi ui_;
    OdbcBinding binding_{platformOdbcLibraryNames(), &ui_};
    SqlHdbc connection_ = nullptr;
    std::vector<std::string> made_;
};

const char* kKinds = "SELECT c, v, w, t, d, big, i, f, dt, ts, tm FROM qr_kinds ORDER BY k";

void makeKinds(bool mariaDb, const std::function<void(const std::string&)>& exec) {
    exec("DROP TABLE IF EXISTS qr_kinds");
    exec(std::string("CREATE TABLE qr_kinds (k INTEGER, c CHAR(5), v VARCHAR(10), w VARCHAR(300), t " +
                     std::string(mariaDb ? "MEDIUMTEXT" : "TEXT") +
                     ", "
                     "d DECIMAL(10,2), big DECIMAL(30,5), i INTEGER, f DOUBLE, dt DATE, ") +
         (mariaDb ? "ts DATETIME" : "ts TIMESTAMP") + ", tm TIME)");
    std::string longText(100000, 'y');
    longText[70000] = 'Z';  // beyond the 65,635-byte buffer of the old reader
    exec("INSERT INTO qr_kinds VALUES (1, 'abcde', 'short', '" + std::string(300, 'w') + "', '" + longText +
         "', 12345.67, 1234567890123456789012345.12345, " + (mariaDb ? "1234567890" : "1234567890123") +
         ", 1e300, '2024-02-29', '2024-02-29 13:45:00', '13:45:00')");
    exec("INSERT INTO qr_kinds VALUES (2, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL)");
    exec(
        "INSERT INTO qr_kinds VALUES (3, 'x', '', 'w3', 'short memo', -0.5, -1, -7, -2.5, '1999-12-31', "
        "'1999-12-31 23:59:59', '00:00:01')");
}

std::string trimmed(std::string text) {
    while (!text.empty() && (text.back() == ' ' || text.back() == '\0'))
        text.pop_back();
    size_t first = text.find_first_not_of(' ');
    return first == std::string::npos ? std::string() : text.substr(first);
}

TEST_P(ResultReal, EveryKindOfColumnArrivesWholeAndNullsStayBlank) {
    makeKinds(mariaDb_, [this](const std::string& text) { exec(text); });
    QueryResult result = run(kKinds);
    ASSERT_EQ(result.outcome, QueryResult::kTable);
    std::string types, shapes;
    for (const ResultField& field : result.fields) {
        types += field.def.type;
        shapes += std::string(" ") + field.def.type + std::to_string(field.def.width);
    }
    // SQLite's driver reports DECIMAL as text.
    EXPECT_EQ(types, mariaDb_ ? "CCMMNCNCDST" : "CCMMCCNCDST") << shapes;
    EXPECT_EQ(result.fields[9].picture, "@S24");
    EXPECT_EQ(result.transfer.rows, 3);
    EXPECT_EQ(result.transfer.refused, 0);
    EXPECT_EQ(result.transfer.cutMemos, 0);

    auto expected = driverRows(kKinds);
    ASSERT_EQ(expected.size(), 3u);
    dbf& table = *result.table;
    ASSERT_EQ(table.recCount(), 3);
    for (long r = 1; r <= 3; ++r) {
        ASSERT_EQ(table.goTo(r), 1);
        for (int i = 0; i < table.fieldCount(); ++i) {
            const std::string& want = expected[static_cast<size_t>(r - 1)][static_cast<size_t>(i)];
            std::string got = table.fieldType(i) == 'M' ? table.readMemoWhole(table.getField(i)) : table.getField(i);
            SCOPED_TRACE(testing::Message() << "row " << r << " column " << i + 1);
            if (want == "\x01") {
                EXPECT_EQ(trimmed(got), "");  // never the row before's value
            } else if (table.fieldType(i) == 'N') {
                EXPECT_EQ(std::strtold(got.c_str(), nullptr), std::strtold(want.c_str(), nullptr));
            } else if (table.fieldType(i) == 'D') {
                std::string digits;
                for (char ch : want)
                    if (ch >= '0' && ch <= '9')
                        digits += ch;
                EXPECT_EQ(got, digits.substr(0, 8));
            } else if (table.fieldType(i) == 'M') {
                EXPECT_EQ(got, want);
            } else {
                EXPECT_EQ(trimmed(got), want);
            }
        }
    }
    // An independent reader agrees (the time-like S and T fields are this program's own).
    QueryResult plain = run("SELECT c, v, w, t, d, big, i, f, dt FROM qr_kinds ORDER BY k");
    ASSERT_EQ(plain.outcome, QueryResult::kTable);
    plain.table->close();
    dbftest::TempDir dir;
    std::filesystem::copy_file(plain.path, dir.file("r.dbf"));
    std::filesystem::copy_file(memoNameFor(plain.path), dir.file("r.dbt"));
    if (!mainttest::havePythonModule("dbfread"))
        GTEST_SKIP() << "python3-dbfread missing";
    std::string command = mainttest::python() + " " QUARROW_SOURCE_DIR "/tests/dbf/oracle.py dbfread-ldid '" +
                          dir.file("r.dbf") + "' '" + dir.file("out.txt") + "'";
    ASSERT_EQ(std::system(command.c_str()), 0);
    std::ifstream in(dir.file("out.txt"), std::ios::binary);
    std::string header, first, second;
    std::getline(in, header);
    std::getline(in, first);
    std::getline(in, second);
    EXPECT_EQ(header, "TEMP0001\tTEMP0002\tTEMP0003\tTEMP0004\tTEMP0005\tTEMP0006\tTEMP0007\tTEMP0008\tTEMP0009");
    const auto& row = expected[0];
    EXPECT_EQ(first, "abcde\tshort\t" + row[2] + "\t" + row[3] + "\t12345.67\t" + row[5] + "\t" + row[6] + "\t" +
                         row[7] + "\t20240229");
    EXPECT_EQ(second.find_first_not_of("\t<null>"), std::string::npos) << second;
}

TEST_P(ResultReal, EmptyResultKeepsItsFieldsTooWideIsRefusedUpdateShowsNoTable) {
    makeKinds(mariaDb_, [this](const std::string& text) { exec(text); });
    QueryResult empty = run("SELECT * FROM qr_kinds WHERE k < 0");
    ASSERT_EQ(empty.outcome, QueryResult::kTable);
    EXPECT_EQ(empty.table->fieldCount(), 12);
    EXPECT_EQ(empty.table->recCount(), 0);

    // A column of unknown size (MariaDB reports SELECT NULL as VARCHAR of size 0) still gets a field.
    QueryResult unsized = run("SELECT NULL AS n");
    ASSERT_EQ(unsized.outcome, QueryResult::kTable);
    EXPECT_GE(unsized.fields[0].def.width, 1);
    EXPECT_EQ(unsized.table->recCount(), 1);

    // More columns than a table holds: refused before anything is created.
    std::string wide = "SELECT 1";
    for (int i = 2; i <= kMaxResultColumns + 1; ++i)
        wide += ", " + std::to_string(i);
    QueryResult tooWide = run(wide);
    EXPECT_EQ(tooWide.outcome, QueryResult::kTooManyColumns);
    EXPECT_EQ(tooWide.columnCount, kMaxResultColumns + 1);
    EXPECT_TRUE(tooWide.path.empty());
    wide.resize(wide.rfind(','));
    EXPECT_EQ(run(wide).outcome, QueryResult::kTable);

    if (!mariaDb_) {
        // SQLite keeps text longer than its declared size: the field keeps the head, and it is counted.
        exec("UPDATE qr_kinds SET v = 'abcdefghijklmnopqrstuvwxyz' WHERE k = 3");
        QueryResult cut = run("SELECT v FROM qr_kinds WHERE k = 3");
        ASSERT_EQ(cut.outcome, QueryResult::kTable);
        EXPECT_EQ(cut.transfer.refused, 1);
        EXPECT_EQ(std::string(cut.table->getField(0)), "abcdefghij");
    }

    QueryResult update = run("UPDATE qr_kinds SET c = 'u' WHERE k >= 2");
    EXPECT_EQ(update.outcome, QueryResult::kNoColumns);
    EXPECT_EQ(update.affectedRows, 2);
    EXPECT_TRUE(update.path.empty());
    EXPECT_FALSE(update.table);
}

// Sets its cancel flag once `rows` rows are copied, or `ms` milliseconds after it was made.
struct Canceller {
    Canceller(long rows, int ms) : rows_(rows), ms_(ms) {
        progress.cancel = &cancel;
        progress.context = this;
        progress.reportMs = 0;  // after every row, so that the cancel lands exactly
        progress.report = [](void* context, long done) {
            auto* self = static_cast<Canceller*>(context);
            bool late = std::chrono::steady_clock::now() - self->start_ > std::chrono::milliseconds(self->ms_);
            if ((self->rows_ > 0 && done >= self->rows_) || (self->ms_ > 0 && late))
                self->cancel = 1;
        };
    }
    static void wait(void* context) { static_cast<Canceller*>(context)->progress.report(context, -1); }
    volatile int cancel = 0;
    QueryProgress progress;

  private:
    long rows_;
    int ms_;
    std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
};

TEST_P(ResultReal, CancelAfterFiveHundredRowsKeepsThem) {
    std::string rows = mariaDb_ ? "SELECT seq, CONCAT('row', seq) FROM seq_1_to_2000"
                                : "WITH RECURSIVE n(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM n WHERE x < 2000) "
                                  "SELECT x, 'row' || x FROM n";
    Canceller canceller(500, 0);
    QueryResult result = run(rows, false, canceller.progress);
    ASSERT_EQ(result.outcome, QueryResult::kTable);
    EXPECT_TRUE(result.transfer.cancelled);
    ASSERT_EQ(result.table->recCount(), 500);
    result.table->goTo(500);
    EXPECT_EQ(trimmed(result.table->getField(1)), "row500");
}

TEST_P(ResultReal, SlowStatementStopsWhenCancelled) {
    std::string slow = mariaDb_ ? "SELECT SLEEP(20)"
                                : "WITH RECURSIVE n(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM n) "
                                  "SELECT count(*) FROM (SELECT x FROM n LIMIT 2000000000)";
    Canceller early(0, 300);
    OdbcStatement statement(binding_, connection_);
    auto started = std::chrono::steady_clock::now();
    executeCancellable(binding_.fn(), statement.get(), slow, &early.cancel, Canceller::wait, &early);
    EXPECT_LT(std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count(), 5.0);
    // The whole query flow says it was cancelled rather than failed, and leaves no table.
    Canceller again(0, 300);
    QueryResult stopped = run(slow, false, again.progress);
    EXPECT_EQ(stopped.outcome, QueryResult::kCancelled);
    EXPECT_TRUE(stopped.path.empty());
}

TEST_P(ResultReal, FieldsAreDescribedWithoutRunningAndEveryLengthShows) {
    exec("DROP TABLE IF EXISTS qr_fields");
    exec("CREATE TABLE qr_fields (name VARCHAR(1000) NOT NULL, amount DECIMAL(12,3))");
    OdbcStatement statement(binding_, connection_);
    std::vector<ResultColumn> columns;
    ASSERT_TRUE(sql::succeeded(describeWithoutRunning(binding_, statement, "SELECT * FROM qr_fields", columns)));
    ASSERT_EQ(columns.size(), 2u);
    // A statement that would run for minutes is described at once: it is never executed.
    std::string slow = mariaDb_ ? "SELECT SLEEP(30) AS s"
                                : "WITH RECURSIVE n(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM n) "
                                  "SELECT count(*) AS s FROM (SELECT x FROM n LIMIT 2000000000)";
    auto started = std::chrono::steady_clock::now();
    OdbcStatement prepared(binding_, connection_);
    std::vector<ResultColumn> one;
    EXPECT_TRUE(sql::succeeded(describeWithoutRunning(binding_, prepared, slow, one)));
    EXPECT_LT(std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count(), 2.0);
    ASSERT_EQ(one.size(), 1u);
    EXPECT_EQ(one[0].name, "s");
    // Names are quoted with the data source's character, and qualified only outside its own catalog.
    std::string quote = identifierQuote(binding_, connection_);
    EXPECT_EQ(quote, mariaDb_ ? "`" : "\"");
    if (mariaDb_) {
        EXPECT_EQ(currentCatalog(binding_, connection_), "quarrow");
    }
    std::string own = buildSelectText(currentCatalog(binding_, connection_), "", "qr_fields", quote,
                                      currentCatalog(binding_, connection_));
    EXPECT_EQ(own, "SELECT * FROM " + quote + "qr_fields" + quote);
    std::string path = newResultTablePath();
    made_.push_back(path);
    std::vector<ResultField> layout = columnListFields();
    auto table = createResultTable(path, layout, false, nullptr);
    ASSERT_TRUE(table);
    for (const ResultColumn& column : columns)
        ASSERT_EQ(
            appendColumnListRecord(*table, column, sqlTypeName(binding_, connection_, column.typeName, column.sqlType)),
            1);
    table->goTo(1);
    EXPECT_EQ(trimmed(table->getField(0)), "name");
    EXPECT_EQ(trimmed(table->getField(2)), "1000");
    EXPECT_EQ(trimmed(table->getField(4)), mariaDb_ ? "No" : trimmed(table->getField(4)));
    table->goTo(2);
    EXPECT_EQ(trimmed(table->getField(3)), mariaDb_ ? "3" : "0");  // SQLite reports no decimals
}

TEST_P(ResultReal, FailedWriteReportsAndLeavesNothingBehind) {
    std::string rows = mariaDb_ ? "SELECT seq, REPEAT('m', 200) FROM seq_1_to_3000"
                                : "WITH RECURSIVE n(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM n WHERE x < 3000) "
                                  "SELECT x, printf('%200s', 'm') FROM n";
    std::string folder = resultTableFolder();
    dbftest::TempDir dir;
    std::string bystander = dir.file("keep.tmp");
    dbftest::writeAll(bystander, std::string("other grid's table"));
    auto before = std::distance(std::filesystem::directory_iterator(folder), std::filesystem::directory_iterator());
    dbftest::FaultyFileSystem faults;
    // The header goes down; the first write of records fills the disk.
    faults.failAt(dbftest::FaultOp::Write, 2, true, true, folder);
    QueryResult result;
    {
        dbftest::ScopedFileSystem scope(faults);
        result = run(rows);
    }
    EXPECT_TRUE(faults.fired()) << faults.calls(dbftest::FaultOp::Write) << " writes";
    EXPECT_EQ(result.outcome, QueryResult::kWriteFailed);
    EXPECT_TRUE(result.path.empty());
    auto after = std::distance(std::filesystem::directory_iterator(folder), std::filesystem::directory_iterator());
    EXPECT_EQ(after, before);
    EXPECT_EQ(dbftest::readAll(bystander).size(), 18u);
}

TEST_P(ResultReal, OemTextIsConvertedOnce) {
    if (mariaDb_)
        GTEST_SKIP() << "SQLite hands Windows-1250 bytes back unchanged; the server would recode them";
    const std::string ansi = "\xC1rv\xEDzt\xFBr\xF5 \x80\x84\x93\x96";  // "Árvíztűrő €„“–"
    QueryResult result = run("SELECT '" + ansi + "'", true);
    ASSERT_EQ(result.outcome, QueryResult::kTable);
    std::string oem = ansi;
    ansiToOem(oem.data(), oem.size());
    EXPECT_EQ(std::string(result.table->recordBuffer() + 1, ansi.size()), oem);
    // The letters come back; the four marks have no OEM form and come back as their nearest kin
    // (converted twice, the letters would be lost as well).
    std::string back = trimmed(result.table->getField(0));
    EXPECT_EQ(back.substr(0, 9), ansi.substr(0, 9));
    EXPECT_EQ(back, std::string(oemToAnsi(oem.data())));
}

INSTANTIATE_TEST_SUITE_P(Drivers,
                         ResultReal,
                         testing::Values(odbc_test::kSqliteDsn, odbc_test::kMariaDbDsn),
                         [](const testing::TestParamInfo<const char*>& param) {
                             return std::string(param.param) == odbc_test::kSqliteDsn ? std::string("SQLite")
                                                                                      : std::string("MariaDB");
                         });

}  // namespace
