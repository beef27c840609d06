#include "odbc/result_query.h"

namespace {

void reportWaiting(void* context) {
    auto* progress = static_cast<const QueryProgress*>(context);
    if (progress->report)
        progress->report(progress->context, -1);
}

}  // namespace

QueryResult copyQueryResult(OdbcBinding& binding,
                            OdbcStatement& statement,
                            const std::string& command,
                            bool oem,
                            const QueryProgress& progress) {
    QueryResult result;
    const OdbcFunctions& fn = binding.fn();
    if (!statement.ok())
        return result;
    if (fn.SQLSetStmtOption)
        fn.SQLSetStmtOption(statement.get(), sql::kQueryTimeout, 0);
    SqlReturn rc = executeCancellable(fn, statement.get(), command, progress.cancel, reportWaiting,
                                      const_cast<QueryProgress*>(&progress));
    SqlSmallInt count = 0;
    // Stopped while it ran (a driver may still answer with what it had): nothing to show.
    if (progress.cancel && *progress.cancel) {
        result.outcome = QueryResult::kCancelled;
        return result;
    }
    if (!sql::succeeded(rc) || !sql::succeeded(rc = statement.numResultCols(&count)))
        return result;
    result.columnCount = count;
    if (count == 0) {
        result.outcome = QueryResult::kNoColumns;
        if (fn.SQLRowCount)
            fn.SQLRowCount(statement.get(), &result.affectedRows);
        return result;
    }
    if (count > kMaxResultColumns) {
        result.outcome = QueryResult::kTooManyColumns;
        return result;
    }
    std::vector<ResultColumn> columns;
    if (!sql::succeeded(describeResultColumns(fn, statement.get(), count, columns)))
        return result;
    for (size_t i = 0; i < columns.size(); ++i)
        result.fields.push_back(mapResultColumn(columns[i], static_cast<int>(i + 1)));

    result.path = newResultTablePath();
    ResultTableError why = ResultTableError::CannotCreate;
    if (!result.path.empty())
        result.table = createResultTable(result.path, result.fields, oem, &why);
    if (!result.table) {
        result.outcome = QueryResult::kCannotCreate;
        deleteResultTable(result.path);
        result.path.clear();
        return result;
    }

    TransferRequest request;
    request.fn = &fn;
    request.statement = statement.get();
    request.table = result.table.get();
    request.cancel = progress.cancel;
    request.getDataAnyColumn = getDataAnyColumn(binding, statement.connection());
    request.report = progress.report;
    request.context = progress.context;
    request.reportMs = progress.reportMs;
    result.transfer = transferRows(request);
    result.table->unlock();
    if (result.transfer.writeFailed) {
        result.outcome = QueryResult::kWriteFailed;
        result.table->close();
        result.table.reset();
        deleteResultTable(result.path);
        result.path.clear();
        return result;
    }
    result.table->goTop();
    result.outcome = QueryResult::kTable;
    return result;
}

SqlReturn describeWithoutRunning(OdbcBinding& binding,
                                 OdbcStatement& statement,
                                 const std::string& select,
                                 std::vector<ResultColumn>& columns) {
    columns.clear();
    SqlReturn rc = statement.prepare(select);
    SqlSmallInt count = 0;
    if (!sql::succeeded(rc) || !sql::succeeded(rc = statement.numResultCols(&count)))
        return rc;
    return describeResultColumns(binding.fn(), statement.get(), count, columns);
}
