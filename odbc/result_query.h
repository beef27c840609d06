// One query result copied into a new temporary table: execute (cancellable), describe, map, create,
// copy. The window side shows what this leaves behind; tests drive it directly.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "dbf/dbf.h"
#include "odbc/odbc_handles.h"
#include "odbc/result_columns.h"
#include "odbc/result_table.h"
#include "odbc/result_transfer.h"

struct QueryResult {
    enum Outcome {
        kTable,           // `table` holds the copied rows (also after a cancel or a failed fetch)
        kNoColumns,       // the statement ran and returns no rows (UPDATE, CREATE ...): nothing to show
        kOdbcError,       // executing or describing failed: the statement holds the diagnostics
        kTooManyColumns,  // more columns than a table holds
        kCannotCreate,    // the temporary table could not be made, opened or locked
        kWriteFailed,     // writing the rows failed; the temporary table is deleted
        kCancelled,       // the user stopped the statement before it returned its rows
    };
    Outcome outcome = kOdbcError;
    std::string path;            // the temporary table (empty when none is left)
    std::unique_ptr<dbf> table;  // open, table lock released
    std::vector<ResultField> fields;
    TransferResult transfer;
    SqlLen affectedRows = -1;  // for kNoColumns: SQLRowCount, -1 when unknown
    int columnCount = 0;
};

struct QueryProgress {
    const volatile int* cancel = nullptr;
    // Called while the statement executes (about every 10 ms) and while rows are copied (about every
    // kTransferReportMs, with the rows so far; -1 while executing).
    void (*report)(void* context, long rows) = nullptr;
    void* context = nullptr;
    int reportMs = kTransferReportMs;
};

// Executes `command` on `statement` and copies its result into a new table in the temporary
// folder (`oem`: the table's text in the OEM code page).
QueryResult copyQueryResult(OdbcBinding& binding,
                            OdbcStatement& statement,
                            const std::string& command,
                            bool oem,
                            const QueryProgress& progress);

// The columns of `select` described without running it (prepared only).
SqlReturn describeWithoutRunning(OdbcBinding& binding,
                                 OdbcStatement& statement,
                                 const std::string& select,
                                 std::vector<ResultColumn>& columns);
