// A result of 1,000,000 rows (100,000 with --short) copied into a temporary table beside the driver's
// own fetch of the same rows into bound buffers with nothing written: SQLite always, MariaDB when the
// test server's data source is configured (tools/odbc-ini.sh after tools/mariadb.sh start).
// Prints both rates and their ratio; the copy should keep at least 0.7 of the raw rate.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "base/file_platform.h"
#include "base/progress.h"
#include "odbc/data_sources.h"
#include "odbc/odbc_handles.h"
#include "odbc/result_query.h"

namespace {

int owner = 0;
const char* kSelect = "SELECT id, name, amount, day, note FROM big";

double seconds(const std::chrono::steady_clock::time_point& since) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

bool exec(OdbcBinding& binding, SqlHdbc connection, const std::string& text) {
    OdbcStatement statement(binding, connection);
    SqlReturn rc = statement.execDirect(text);
    if (!sql::succeeded(rc) && rc != sql::kNoData) {
        std::fprintf(stderr, "%s: %s\n", text.substr(0, 60).c_str(), statement.errorText().c_str());
        return false;
    }
    return true;
}

// Fetches every row into bound character buffers as wide as the copy's: what any reader pays.
long rawFetch(OdbcBinding& binding, SqlHdbc connection) {
    OdbcStatement statement(binding, connection);
    if (!sql::succeeded(statement.execDirect(kSelect)))
        return -1;
    char buffers[5][72];
    SqlLen indicators[5];
    for (SqlUSmallInt i = 0; i < 5; ++i)
        binding.fn().SQLBindCol(statement.get(), i + 1, sql::kCChar, buffers[i], sizeof buffers[i], &indicators[i]);
    long rows = 0;
    while (sql::succeeded(statement.fetch()))
        ++rows;
    return rows;
}

// What the progress dialog does between pieces of work: dispatch what waits (nothing natively).
void pump(void*, long) {
    while (dispatchWaitingMessage()) {
    }
}

// The copy as the window side runs it, messages pumped every `reportMs` (0: after every row).
double timedCopy(OdbcBinding& binding, SqlHdbc connection, int reportMs, QueryResult& copied) {
    OdbcStatement statement(binding, connection);
    QueryProgress progress;
    progress.report = pump;
    progress.reportMs = reportMs;
    auto start = std::chrono::steady_clock::now();
    QueryResult result = copyQueryResult(binding, statement, kSelect, false, progress);
    double t = seconds(start);
    if (result.table)
        result.table->close();
    deleteResultTable(result.path);
    copied.transfer = result.transfer;
    copied.outcome = result.outcome;
    return t;
}

bool run(OdbcBinding& binding, const char* name, SqlHdbc connection, long count) {
    long raw = 0;
    double rawTime = 0, copyTime = 0, perRowTime = 0;
    QueryResult copied;
    // Best of three of each, alternating, so that a neighbour's load hurts both alike.
    for (int round = 0; round < 3; ++round) {
        auto start = std::chrono::steady_clock::now();
        raw = rawFetch(binding, connection);
        double t = seconds(start);
        rawTime = round == 0 ? t : std::min(rawTime, t);
        t = timedCopy(binding, connection, kTransferReportMs, copied);
        copyTime = round == 0 ? t : std::min(copyTime, t);
        if (round == 0)
            perRowTime = timedCopy(binding, connection, 0, copied);
    }
    if (raw != count || copied.outcome != QueryResult::kTable || copied.transfer.rows != count) {
        std::fprintf(stderr, "%s: raw %ld rows, copy %ld rows (outcome %d), expected %ld\n", name, raw,
                     copied.transfer.rows, copied.outcome, count);
        return false;
    }
    std::printf(
        "%-8s rows %ld  raw fetch %.0f rows/s  copy %.0f rows/s  ratio %.2f  (pumping messages after every "
        "row: %.0f rows/s)\n",
        name, count, count / rawTime, count / copyTime, rawTime / copyTime, count / perRowTime);
    return true;
}

bool connectTo(OdbcBinding& binding, const char* dsn, const char* user, const char* password, SqlHdbc* connection) {
    if (binding.allocConnection(connection) != sql::kSuccess)
        return false;
    std::snprintf(odbcCredentials().user, OdbcCredentials::kSize, "%s", user);
    std::snprintf(odbcCredentials().password, OdbcCredentials::kSize, "%s", password);
    SqlHdbc node = nullptr;
    bool login = false;
    return sql::succeeded(connect(&owner, dsn, *connection, &node, &login, false, 0, binding));
}

std::string fill(long count, bool mariaDb) {
    std::string rows = std::to_string(count);
    if (mariaDb)
        return "INSERT INTO big SELECT seq, CONCAT('name ', seq), seq * 0.25, DATE_ADD('2000-01-01', INTERVAL seq % "
               "9000 "
               "DAY), LPAD(seq, 40, '0') FROM seq_1_to_" +
               rows;
    return "INSERT INTO big WITH RECURSIVE n(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM n WHERE x < " + rows +
           ") SELECT x, 'name ' || x, x * 0.25, date('2000-01-01', '+' || (x % 9000) || ' days'), printf('%040d', x) "
           "FROM n";
}

const char* kCreate =
    "CREATE TABLE big (id INTEGER, name VARCHAR(30), amount DECIMAL(10,2), day DATE, note VARCHAR(40))";

}  // namespace

int main(int argc, char** argv) {
    long count = argc > 1 && std::strcmp(argv[1], "--short") == 0 ? 100000 : 1000000;
    OdbcBinding& binding = odbcBinding();
    if (binding.acquire(&owner) != 1) {
        std::fprintf(stderr, "no ODBC driver manager\n");
        return 1;
    }
    bool ok = true;
    // SQLite: a database file of its own, through a connection string naming the driver's library.
    std::string file = platform::tempDirectory() + "quarrow-transfer-bench.db";
    std::remove(file.c_str());
    SqlHdbc sqlite = nullptr;
    // Under Wine the driver is the host's library of the program's own width.
    std::string driver = std::getenv("QUARROW_SQLITE_DRIVER") ? std::getenv("QUARROW_SQLITE_DRIVER")
                         : sizeof(void*) == 4                 ? "/usr/lib/i386-linux-gnu/odbc/libsqlite3odbc.so"
                                                              : "/usr/lib/x86_64-linux-gnu/odbc/libsqlite3odbc.so";
    std::string connection = "DRIVER=" + driver + ";Database=" + file + ";";
    SqlSmallInt length = 0;
    char out[1024];
    if (binding.allocConnection(&sqlite) != sql::kSuccess ||
        !sql::succeeded(binding.fn().SQLDriverConnect(
            sqlite, nullptr, reinterpret_cast<SqlChar*>(const_cast<char*>(connection.c_str())), sql::kNts,
            reinterpret_cast<SqlChar*>(out), sizeof out, &length, sql::kDriverNoPrompt))) {
        std::fprintf(stderr, "cannot open %s\n", connection.c_str());
        ok = false;
    } else {
        ok = exec(binding, sqlite, "DROP TABLE IF EXISTS big") && exec(binding, sqlite, kCreate) &&
             exec(binding, sqlite, fill(count, false)) && run(binding, "SQLite", sqlite, count);
        binding.freeConnection(sqlite);
    }
    std::remove(file.c_str());
    // MariaDB, when the test server runs.
    const char* ini = std::getenv("ODBCINI");
    std::FILE* config = ini ? std::fopen(ini, "r") : nullptr;
    bool haveMariaDb = false;
    if (config) {
        char line[512];
        while (std::fgets(line, sizeof line, config))
            haveMariaDb = haveMariaDb || std::strncmp(line, "[QuarrowMariaDB]", 16) == 0;
        std::fclose(config);
    }
    SqlHdbc maria = nullptr;
    if (haveMariaDb && connectTo(binding, "QuarrowMariaDB", "quarrow", "quarrow-secret", &maria)) {
        ok = exec(binding, maria, "DROP TABLE IF EXISTS big") && exec(binding, maria, kCreate) &&
             exec(binding, maria, fill(count, true)) && run(binding, "MariaDB", maria, count) && ok;
        exec(binding, maria, "DROP TABLE IF EXISTS big");
        binding.freeConnection(maria);
    } else {
        std::printf("MariaDB  not configured: skipped\n");
    }
    binding.release(&owner);
    return ok ? 0 : 1;
}
