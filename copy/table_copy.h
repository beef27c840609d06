// The table copy engine: the rows of a SELECT on one data source into a table of another, or into
// an HTML page. Rows go as parameterised INSERTs naming only the row's non-empty values; a row the
// target refuses is logged and the rest go on.
#pragma once

#include <functional>
#include <string>

#include "odbc/odbc_handles.h"

struct TableCopyRequest {
    SqlHdbc source = nullptr;
    std::string selectText;
    std::string targetSource;  // the data source name
    std::string targetTable;   // as the user typed it; quoted when sent
    std::string createText;    // names between backquotes (see retargetQuotes)
    bool createTable = false;
    bool quoteNames = true;
    std::string logPath;    // the error log; copyErrorLogPath() in the program
    long batchRows = 1000;  // rows per commit where the target has transactions
    // Prepares every row and lets each commit alone, as copies once did; kept to measure against.
    bool rowByRow = false;
};

enum class CopyOutcome {
    Finished,
    Canceled,
    SourceFailed,   // the SELECT or its description failed; message holds the driver's text
    ConnectFailed,  // the target data source refused the connection
    CreateFailed,   // the CREATE TABLE text failed
    TargetFailed,   // no statement on the target
    LogFailed,      // the error log cannot be opened; nothing was sent
};

struct TableCopyResult {
    CopyOutcome outcome = CopyOutcome::Finished;
    long rowsRead = 0;       // source rows fetched
    long rowsCommitted = 0;  // rows the target kept
    int errors = 0;          // entries written to the error log
    std::string message;     // the driver's text of a failure that ended the run
};

// What a run tells its window: the row count every 10 rows, and whether the user asked to stop
// (read before each row). The first row the target refuses is shown in the "ODBC error" box owned by
// `owner`; every refused row goes to the log.
struct CopyProgress {
    std::function<void(long rows)> rows;
    const volatile int* cancel = nullptr;
    void* owner = nullptr;
};

// Connects to the target, runs the CREATE TABLE text when asked, and copies the rows of the SELECT.
// Rows are committed in batches where the target has transactions; a batch that fails is rolled
// back and replayed row by row, so exactly the refused rows are logged. Cancel commits what was
// sent and stops.
TableCopyResult copyTable(OdbcBinding& binding, void* owner, const TableCopyRequest& request, CopyProgress& progress);

// Copies the rows of `source` (executed) into `targetTable` on the connected `target`.
TableCopyResult copyRows(OdbcBinding& binding,
                         OdbcStatement& source,
                         SqlHdbc target,
                         const TableCopyRequest& request,
                         CopyProgress& progress);

// Writes the result of `source` (executed) as an HTML table (Windows-1250, values escaped).
// False when the file cannot be created or written.
bool writeHtmlResult(OdbcBinding& binding,
                     OdbcStatement& source,
                     const std::string& path,
                     const std::string& title,
                     CopyProgress& progress,
                     long* rows);

// A numeric value as it is sent: a value that reads as zero (also non-numeric text) becomes "0",
// any other keeps its text.
std::string numericParameterText(const std::string& value);
