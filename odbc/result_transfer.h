// Copying a result into an open result table: bound columns for the ordinary fields, memos read in
// pieces, records written through the bulk appender, with progress and cancel by time.
#pragma once

#include <string>

#include "dbf/dbf.h"
#include "odbc/odbc_binding.h"

// How often the copy reports progress (and the host gets to dispatch its messages).
constexpr int kTransferReportMs = 30;

struct TransferRequest {
    const OdbcFunctions* fn = nullptr;
    SqlHstmt statement = nullptr;  // executed, positioned before its first row
    dbf* table = nullptr;          // open, table lock held; its fields match the result's columns
    const volatile int* cancel = nullptr;
    // The driver lets SQLGetData read a column before a bound one (getDataAnyColumn): then every
    // ordinary field is bound, else only those before the first memo.
    bool getDataAnyColumn = false;
    // Called about every kTransferReportMs with the rows copied so far.
    void (*report)(void* context, long rows) = nullptr;
    void* context = nullptr;
    int reportMs = kTransferReportMs;
};

struct TransferResult {
    long rows = 0;                         // records appended and kept
    long refused = 0;                      // values that did not fit their N, D or C field (left blank or cut)
    long cutMemos = 0;                     // memo values longer than kMaxResultMemo, kept cut
    bool cancelled = false;                // stopped by the cancel flag; the rows before it are kept
    bool writeFailed = false;              // a write failed: the table is as it was before the copy
    SqlReturn fetchError = sql::kSuccess;  // a failed fetch or read ends the copy (rows so far kept)
};

// Copies every row of the request's statement into its table. Text comes as the driver gives it;
// the table's own OEM conversion is the only one applied.
TransferResult transferRows(const TransferRequest& request);

// Whether the driver behind `connection` lets SQLGetData read any unbound column (SQLGetInfo 81).
bool getDataAnyColumn(OdbcBinding& binding, SqlHdbc connection);

// Runs SQLExecDirect on another thread while calling `wait(context)` about every 10 ms here, and
// asks the driver to stop (SQLCancel) once `*cancel` becomes nonzero. Returns the call's code.
SqlReturn executeCancellable(const OdbcFunctions& fn,
                             SqlHstmt statement,
                             const std::string& text,
                             const volatile int* cancel,
                             void (*wait)(void* context),
                             void* context);
