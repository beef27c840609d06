// Listing the tables a many-table copy offers, and copying them one after the other.
#include "copy/table_copy_tables.h"

#include <cctype>

#include "copy/create_table_text.h"
#include "odbc/data_sources.h"
#include "odbc/dbms_kind.h"

namespace {

bool checkedByDefault(const std::string& type) {
    for (const char* skipped : {"SYNONYM", "VIEW", "SYSTEM TABLE", "SYSTEM VIEW"})
        if (type == skipped)
            return false;
    return true;
}

}  // namespace

bool listCopyTables(OdbcBinding& binding, SqlHdbc connection, std::vector<CopyTableEntry>* tables) {
    tables->clear();
    OdbcStatement statement(binding, connection);
    std::string catalog = isMySqlFamily(dbmsName(binding, connection))
                              ? connectionInfo(binding, connection, sql::kInfoDatabaseName)
                              : std::string();
    SqlChar* catalogText = catalog.empty() ? nullptr : reinterpret_cast<SqlChar*>(catalog.data());
    if (!statement.ok() || !sql::succeeded(binding.fn().SQLTables(
                               statement.get(), catalogText, catalogText ? static_cast<SqlSmallInt>(catalog.size()) : 0,
                               nullptr, 0, nullptr, 0, nullptr, 0)))
        return false;
    while (sql::succeeded(statement.fetch())) {
        ColumnText schema, name, type;
        statement.getText(2, schema);
        statement.getText(3, name);
        statement.getText(4, type);
        tables->push_back({name.text, schema.text, type.text, checkedByDefault(type.text)});
    }
    return true;
}

std::vector<TableCopyRun> copyTables(OdbcBinding& binding,
                                     void* owner,
                                     const MultiTableCopyRequest& request,
                                     CopyProgress& progress,
                                     const std::function<void(const std::string&)>& onTable) {
    std::vector<TableCopyRun> runs;
    if (request.tables.empty())
        return runs;
    OdbcConnection target(binding);
    SqlHdbc node = nullptr;
    bool loginUsed = false;
    if (!target.ok() ||
        !sql::succeeded(connect(owner, request.targetSource, target.get(), &node, &loginUsed, false, 0, binding))) {
        TableCopyResult failed;
        failed.outcome = CopyOutcome::ConnectFailed;
        failed.message = binding.firstDiagnostic(binding.environment(), target.get(), nullptr);
        runs.push_back({request.targetSource, failed});
        return runs;
    }
    std::string sourceQuote = identifierQuote(binding, request.source);
    std::string targetQuote = identifierQuote(binding, target.get());
    for (const std::string& table : request.tables) {
        if (onTable)
            onTable(table);
        TableCopyRequest one;
        one.source = request.source;
        one.selectText = buildSelectText("", "", table, sourceQuote);
        one.targetSource = request.targetSource;
        one.targetTable = table;
        if (request.lowercase)
            for (char& c : one.targetTable)
                c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        one.logPath = request.logPath;
        one.batchRows = request.batchRows;
        TableCopyResult result;
        OdbcStatement source(binding, request.source);
        std::vector<SourceColumn> columns;
        if (!source.ok() || !sql::succeeded(source.execDirect(one.selectText)) ||
            !sql::succeeded(describeSourceColumns(binding, source, &columns))) {
            result.outcome = CopyOutcome::SourceFailed;
            result.message = source.errorText();
        } else if (request.createTable) {
            std::string text;
            OdbcStatement create(binding, target.get());
            if (buildCreateTableText(columns, one.targetTable, request.mapping, false, &text) != CreateText::Built) {
                result.outcome = CopyOutcome::CreateFailed;
                result.message = "The CREATE TABLE text is too long.";
            } else if (!sql::succeeded(create.execDirect(retargetQuotes(text, targetQuote)))) {
                result.outcome = CopyOutcome::CreateFailed;
                result.message = create.errorText();
            }
        }
        if (result.outcome == CopyOutcome::Finished && result.message.empty())
            result = copyRows(binding, source, target.get(), one, progress);
        runs.push_back({table, result});
        if (result.outcome != CopyOutcome::Finished || result.errors > 0)
            break;
    }
    return runs;
}
