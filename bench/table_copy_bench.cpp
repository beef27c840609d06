// Table copy speed: 100,000 rows SQLite -> MariaDB and MariaDB -> SQLite through the copy engine, beside
// the row-by-row way (every row prepared anew and committed alone, timed over fewer rows) and beside two
// plain loops written straight against the same drivers (one prepared INSERT, a commit every 1,000 rows;
// one execute per row, and parameter arrays of 1,000 rows).
// Needs the test data sources (tools/odbc-ini.sh native) and the test server (tools/mariadb.sh start).
// `--short` copies 5,000 rows and checks only that every row arrives. A full run exits with 1 when the
// engine is below 50 times the row-by-row rate into MariaDB or below half the faster plain loop's rate.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "copy/create_table_text.h"
#include "copy/table_copy.h"
#include "copy/table_copy_log.h"
#include "odbc/data_sources.h"

namespace {

const char* kSqlite = "QuarrowSQLite";
const char* kMariaDb = "QuarrowMariaDB";
int owner = 0;

double seconds(const std::chrono::steady_clock::time_point& since) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

class Bench {
  public:
    Bench() : binding_(platformOdbcLibraryNames(), &platformOdbcUi()) {}
    ~Bench() {
        for (SqlHdbc c : connections_)
            binding_.freeConnection(c);
        binding_.release(&owner);
    }
    bool start() {
        std::snprintf(odbcCredentials().user, OdbcCredentials::kSize, "quarrow");
        std::snprintf(odbcCredentials().password, OdbcCredentials::kSize, "quarrow-secret");
        return binding_.acquire(&owner) == 1;
    }
    SqlHdbc open(const char* dsn) {
        SqlHdbc connection = nullptr;
        binding_.allocConnection(&connection);
        connections_.push_back(connection);
        SqlHdbc node = nullptr;
        if (!sql::succeeded(connect(&owner, dsn, connection, &node, nullptr, false, 0, binding_)))
            return nullptr;
        return connection;
    }
    bool exec(SqlHdbc connection, const std::string& text) {
        OdbcStatement statement(binding_, connection);
        if (sql::succeeded(statement.execDirect(text)))
            return true;
        std::fprintf(stderr, "%s: %s\n", text.c_str(), statement.errorText().c_str());
        return false;
    }

    // Rows per second of the engine copying `select` into a new table `table` on `target`.
    double engine(SqlHdbc source,
                  const char* target,
                  const std::string& select,
                  const std::string& table,
                  bool rowByRow,
                  long expected) {
        SqlHdbc dropper = open(target);
        exec(dropper, "drop table if exists " + table);
        TableCopyRequest request;
        request.source = source;
        request.selectText = select;
        request.targetSource = target;
        request.targetTable = table;
        request.createTable = true;
        request.rowByRow = rowByRow;
        request.logPath = "/tmp/quarrow-copy-bench.log";
        OdbcStatement describe(binding_, source);
        std::vector<SourceColumn> columns;
        describe.execDirect(select);
        describeSourceColumns(binding_, describe, &columns);
        buildCreateTableText(columns, table, identityTypeMapping(), false, &request.createText);
        describe.reset();
        CopyProgress progress;
        auto begin = std::chrono::steady_clock::now();
        TableCopyResult result = copyTable(binding_, &owner, request, progress);
        double elapsed = seconds(begin);
        if (result.rowsCommitted != expected || result.errors != 0) {
            std::fprintf(stderr, "copy into %s: %ld rows of %ld, %d errors %s\n", target, result.rowsCommitted,
                         expected, result.errors, result.message.c_str());
            failed_ = true;
        }
        return static_cast<double>(result.rowsCommitted) / elapsed;
    }

    // Rows per second of the plainest fast loop: one prepared INSERT of every column, text values
    // read with SQLGetData into fixed buffers, a commit every 1,000 rows.
    double plainLoop(SqlHdbc source, const char* targetName, const std::string& select, const std::string& table) {
        SqlHdbc target = open(targetName);
        exec(target, "delete from " + table);
        const OdbcFunctions& fn = binding_.fn();
        auto begin = std::chrono::steady_clock::now();
        OdbcStatement in(binding_, source);
        in.execDirect(select);
        SqlSmallInt count = 0;
        in.numResultCols(&count);
        fn.SQLSetConnectOption(target, sql::kAutocommit, sql::kAutocommitOff);
        OdbcStatement out(binding_, target);
        std::string marks;
        for (int i = 0; i < count; ++i)
            marks += i ? ",?" : "?";
        out.prepare("insert into " + table + " values (" + marks + ")");
        std::vector<std::vector<char>> buffers(static_cast<std::size_t>(count), std::vector<char>(256));
        std::vector<SqlLen> lengths(static_cast<std::size_t>(count));
        for (SqlUSmallInt i = 0; i < static_cast<SqlUSmallInt>(count); ++i)
            fn.SQLBindParameter(out.get(), i + 1, sql::kParamInput, sql::kCChar, sql::kVarChar, 255, 0,
                                buffers[i].data(), 256, &lengths[i]);
        long rows = 0;
        while (sql::succeeded(in.fetch())) {
            for (SqlUSmallInt i = 0; i < static_cast<SqlUSmallInt>(count); ++i)
                fn.SQLGetData(in.get(), i + 1, sql::kCChar, buffers[i].data(), 256, &lengths[i]);
            if (!sql::succeeded(out.execute()))
                failed_ = true;
            if (++rows % 1000 == 0)
                fn.SQLTransact(binding_.environment(), target, sql::kCommit);
        }
        fn.SQLTransact(binding_.environment(), target, sql::kCommit);
        fn.SQLSetConnectOption(target, sql::kAutocommit, sql::kAutocommitOn);
        return static_cast<double>(rows) / seconds(begin);
    }

    // The plain loop with parameter arrays of `rows` rows per execute, column-wise, 256 bytes per value;
    // 0 when the driver does not take them.
    double arrayLoop(SqlHdbc source,
                     const char* targetName,
                     const std::string& select,
                     const std::string& table,
                     SqlULen rows) {
        SqlHdbc target = open(targetName);
        exec(target, "delete from " + table);
        const OdbcFunctions& fn = binding_.fn();
        auto begin = std::chrono::steady_clock::now();
        OdbcStatement in(binding_, source);
        in.execDirect(select);
        SqlSmallInt count = 0;
        in.numResultCols(&count);
        fn.SQLSetConnectOption(target, sql::kAutocommit, sql::kAutocommitOff);
        OdbcStatement out(binding_, target);
        std::string marks;
        for (int i = 0; i < count; ++i)
            marks += i ? ",?" : "?";
        out.prepare("insert into " + table + " values (" + marks + ")");
        constexpr SqlInteger kParamsetSize = 22;
        if (!sql::succeeded(fn.SQLSetStmtAttr(out.get(), kParamsetSize, reinterpret_cast<SqlPointer>(rows), 0))) {
            std::fprintf(stderr, "arrays refused: %s\n", out.errorText().c_str());
            return 0;
        }
        std::vector<std::vector<char>> buffers(static_cast<std::size_t>(count), std::vector<char>(256 * rows));
        std::vector<std::vector<SqlLen>> lengths(static_cast<std::size_t>(count), std::vector<SqlLen>(rows));
        for (SqlUSmallInt i = 0; i < static_cast<SqlUSmallInt>(count); ++i)
            fn.SQLBindParameter(out.get(), i + 1, sql::kParamInput, sql::kCChar, sql::kVarChar, 255, 0,
                                buffers[i].data(), 256, lengths[i].data());
        long done = 0;
        SqlULen filled = 0;
        auto flush = [&] {
            if (!filled)
                return;
            fn.SQLSetStmtAttr(out.get(), kParamsetSize, reinterpret_cast<SqlPointer>(filled), 0);
            if (!sql::succeeded(out.execute())) {
                std::fprintf(stderr, "array execute: %s\n", out.errorText().c_str());
                failed_ = true;
            }
            fn.SQLTransact(binding_.environment(), target, sql::kCommit);
            done += static_cast<long>(filled);
            filled = 0;
        };
        while (sql::succeeded(in.fetch())) {
            for (SqlUSmallInt i = 0; i < static_cast<SqlUSmallInt>(count); ++i)
                fn.SQLGetData(in.get(), i + 1, sql::kCChar, buffers[i].data() + 256 * filled, 256, &lengths[i][filled]);
            if (++filled == rows)
                flush();
        }
        flush();
        fn.SQLSetConnectOption(target, sql::kAutocommit, sql::kAutocommitOn);
        return static_cast<double>(done) / seconds(begin);
    }

    bool failed_ = false;

  private:
    OdbcBinding binding_;
    std::vector<SqlHdbc> connections_;
};

}  // namespace

int main(int argc, char** argv) {
    bool quick = argc > 1 && std::strcmp(argv[1], "--short") == 0;
    const long rows = quick ? 5000 : 100000;
    const long slowRows = quick ? 200 : 1000;
    Bench bench;
    if (!bench.start())
        return 2;
    SqlHdbc sqlite = bench.open(kSqlite);
    SqlHdbc mariadb = bench.open(kMariaDb);
    if (!sqlite || !mariadb) {
        std::fprintf(stderr, "table_copy_bench: needs the test data sources and the MariaDB test server\n");
        return 2;
    }
    const std::string columns = "id integer, name varchar(40), amount decimal(10,2), born date, note varchar(100)";
    bench.exec(sqlite, "drop table if exists bench_src");
    bench.exec(sqlite, "create table bench_src (" + columns + ")");
    bench.exec(sqlite,
               "insert into bench_src with recursive n(i) as (select 1 union all select i + 1 from n where i < " +
                   std::to_string(rows) +
                   ") select i, 'name ' || i, i / 100.0, date('2000-01-01', '+' || (i % 9000) || ' days'), "
                   "'a note of some length for row ' || i from n");
    bench.exec(mariadb, "drop table if exists bench_src");
    bench.exec(mariadb, "create table bench_src (" + columns + ")");
    bench.exec(mariadb,
               "insert into bench_src select seq, concat('name ', seq), seq / 100, "
               "date_add('2000-01-01', interval seq % 9000 day), concat('a note of some length for row ', "
               "seq) from seq_1_to_" +
                   std::to_string(rows));

    struct Direction {
        const char* name;
        SqlHdbc source;
        const char* target;
    } directions[] = {{"SQLite -> MariaDB", sqlite, kMariaDb}, {"MariaDB -> SQLite", mariadb, kSqlite}};
    bool belowTarget = false;
    for (const Direction& d : directions) {
        std::string all = "select * from bench_src";
        std::string some = all + " where id <= " + std::to_string(slowRows);
        double ours = bench.engine(d.source, d.target, all, "bench_dst", false, rows);
        double plain = bench.plainLoop(d.source, d.target, all, "bench_dst");
        double old = bench.engine(d.source, d.target, some, "bench_old", true, slowRows);
        double arrays = bench.arrayLoop(d.source, d.target, all, "bench_dst", 1000);
        double fastest = std::max(plain, arrays);
        std::printf(
            "%s: %ld rows  engine %.0f rows/s  row-by-row %.0f rows/s (over %ld rows)  plain loops %.0f rows/s "
            "(a row per execute), %.0f rows/s (parameter arrays)  engine/row-by-row %.1fx  "
            "engine/fastest plain %.2f\n",
            d.name, rows, ours, old, slowRows, plain, arrays, ours / old, ours / fastest);
        belowTarget |= !quick && (ours < fastest / 2 || (d.target == kMariaDb && ours < 50 * old));
    }
    std::fflush(stdout);
    return bench.failed_ || belowTarget ? 1 : 0;
}
