#include "odbc/result_transfer.h"

#include <chrono>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <thread>
#include <vector>

#include "dbf/bulk_io.h"
#include "odbc/column_text.h"
#include "odbc/result_columns.h"

namespace {

// SQLGetInfo: whether SQLGetData may read a column before a bound one.
constexpr SqlUSmallInt kInfoGetDataExtensions = 81;
constexpr SqlUInteger kGetDataAnyColumn = 1;
constexpr int kRowsPerClockLook = 64;
// Every bound value gets at least this much room, so a number or date never arrives cut.
constexpr size_t kMinBoundSize = 64;

struct BoundColumn {
    int field = 0;
    char type = 'C';
    size_t width = 0;
    std::vector<char> buffer;
    SqlLen indicator = 0;
};

// Stores a value of `length` bytes (`cut`: only its head arrived) into field `index`. False when it
// did not fit: a number, date or time is then left blank (a cut one would be another value), a text
// keeps its head.
bool storeValue(dbf& table,
                BulkAppender& appender,
                const BoundColumn& field,
                const char* text,
                bool cut,
                size_t length) {
    if (cut && field.type != 'C')
        return false;
    if (field.type == 'N' ? !appender.setNumber(field.field, text) : !table.setField(field.field, text))
        return false;
    return !cut && (field.type != 'C' || length <= field.width);
}

}  // namespace

TransferResult transferRows(const TransferRequest& request) {
    TransferResult result;
    const OdbcFunctions& fn = *request.fn;
    dbf& table = *request.table;
    int count = table.fieldCount();
    std::vector<BoundColumn> fields(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        fields[static_cast<size_t>(i)].field = i;
        fields[static_cast<size_t>(i)].type = table.fieldType(i);
        fields[static_cast<size_t>(i)].width = table.fieldInfo(i)->width;
    }
    // Memos are read in pieces, never bound. Unless the driver allows reading any column, the
    // columns behind the first memo are read one by one too, in order, as every driver allows.
    std::vector<BoundColumn> bound;
    std::vector<int> unbound;
    for (const BoundColumn& field : fields) {
        bool afterMemo = !unbound.empty() && !request.getDataAnyColumn;
        if (field.type == 'M' || afterMemo)
            unbound.push_back(field.field);
        else
            bound.push_back(field);
    }
    for (BoundColumn& column : bound) {
        int i = column.field;
        column.buffer.assign(std::max(column.width, kMinBoundSize) + 1, '\0');
        SqlReturn rc =
            fn.SQLBindCol(request.statement, static_cast<SqlUSmallInt>(i + 1), sql::kCChar, column.buffer.data(),
                          static_cast<SqlLen>(column.buffer.size()), &column.indicator);
        if (!sql::succeeded(rc)) {
            result.fetchError = rc;
            return result;
        }
    }

    BulkAppender appender(table);
    ColumnText value;
    auto lastReport = std::chrono::steady_clock::now();
    int sinceClock = 0;
    while (!(request.cancel && *request.cancel) && !result.writeFailed) {
        SqlReturn rc = fn.SQLFetch(request.statement);
        if (!sql::succeeded(rc)) {
            if (rc != sql::kNoData)
                result.fetchError = rc;
            break;
        }
        appender.startRecord();
        for (BoundColumn& column : bound) {
            if (column.indicator == sql::kNullData)
                continue;  // NULL stays blank
            size_t length =
                column.indicator == sql::kNoTotal ? column.buffer.size() : static_cast<size_t>(column.indicator);
            if (!storeValue(table, appender, column, column.buffer.data(), length >= column.buffer.size(), length))
                ++result.refused;
        }
        for (int i : unbound) {
            const BoundColumn& field = fields[static_cast<size_t>(i)];
            bool memo = field.type == 'M';
            rc = getColumnText(fn, request.statement, static_cast<SqlUSmallInt>(i + 1), value,
                               memo ? kMaxResultMemo : field.width + kMinBoundSize);
            if (!sql::succeeded(rc))
                break;
            if (value.null)
                continue;
            if (!memo) {
                if (!storeValue(table, appender, field, value.text.c_str(), value.cut, value.text.size()))
                    ++result.refused;
                continue;
            }
            result.cutMemos += value.cut ? 1 : 0;
            if (!value.text.empty() && !appender.putMemo(i, value.text.c_str()))
                result.writeFailed = true;
        }
        if (!sql::succeeded(rc)) {
            result.fetchError = rc;  // the half-read row is left out
            break;
        }
        if (result.writeFailed || !appender.endRecord()) {
            result.writeFailed = true;
            break;
        }
        // Reading the clock costs as much as storing a field: look at it every few rows only.
        if (!request.report || (request.reportMs > 0 && ++sinceClock < kRowsPerClockLook))
            continue;
        sinceClock = 0;
        auto now = std::chrono::steady_clock::now();
        if (now - lastReport >= std::chrono::milliseconds(request.reportMs)) {
            lastReport = now;
            request.report(request.context, appender.appended());
        }
    }
    fn.SQLFreeStmt(request.statement, sql::kUnbind);
    result.cancelled = request.cancel && *request.cancel;
    if (!appender.conclude(!result.writeFailed))
        result.writeFailed = true;
    result.rows = result.writeFailed ? 0 : appender.appended();
    return result;
}

bool getDataAnyColumn(OdbcBinding& binding, SqlHdbc connection) {
    SqlUInteger mask = 0;
    SqlSmallInt length = 0;
    if (!binding.fn().SQLGetInfo || !connection ||
        !sql::succeeded(binding.fn().SQLGetInfo(connection, kInfoGetDataExtensions, &mask, sizeof mask, &length)))
        return false;
    return (mask & kGetDataAnyColumn) != 0;
}

SqlReturn executeCancellable(const OdbcFunctions& fn,
                             SqlHstmt statement,
                             const std::string& text,
                             const volatile int* cancel,
                             void (*wait)(void* context),
                             void* context) {
    std::mutex mutex;
    std::condition_variable ended;
    bool done = false;
    SqlReturn rc = sql::kError;
    std::vector<SqlChar> command(text.begin(), text.end());
    command.push_back(0);
    std::thread worker([&] {
        SqlReturn answer = fn.SQLExecDirect(statement, command.data(), sql::kNts);
        std::lock_guard<std::mutex> lock(mutex);
        rc = answer;
        done = true;
        ended.notify_one();
    });
    bool cancelled = false;
    std::unique_lock<std::mutex> lock(mutex);
    while (!ended.wait_for(lock, std::chrono::milliseconds(10), [&] { return done; })) {
        lock.unlock();
        if (wait)
            wait(context);
        if (!cancelled && cancel && *cancel && fn.SQLCancel) {
            cancelled = true;
            fn.SQLCancel(statement);  // the one call ODBC allows from another thread
        }
        lock.lock();
    }
    lock.unlock();
    worker.join();
    return rc;
}
