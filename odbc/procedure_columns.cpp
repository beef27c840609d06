// The procedure-column text: fixed formats per column, cut off with a note at 32,000 characters.
#include "odbc/procedure_columns.h"

#include <cstdio>

#include "odbc/odbc_handles.h"

namespace {

constexpr std::size_t kTextLimit = 32000;
constexpr std::size_t kValueLimit = 255;

SqlChar* orNull(const std::string& text) {
    return text.empty() ? nullptr : reinterpret_cast<SqlChar*>(const_cast<char*>(text.c_str()));
}

SqlSmallInt lengthOf(const std::string& text) {
    return text.empty() ? 0 : static_cast<SqlSmallInt>(sql::kNts);
}

}  // namespace

std::string procedureColumnsText(OdbcBinding& binding,
                                 SqlHdbc connection,
                                 const std::string& catalog,
                                 const std::string& schema,
                                 const std::string& name) {
    std::string text = name + " :\r\n\r\n";
    char line[1024];
    std::snprintf(line, sizeof line, "%-32s;%11s;%-9s;%-14s;%-11s;%-14s;%-8s;%-32s;%-32s;%-13s;%-16s;%-11s\r\n",
                  "Column name", "Column type", "Data type", "Data type name", "Column size", "Decimal digits",
                  "Nullable", "Remarks", "Column default", "SQL data type", "Ordinal position", "Is nullable");
    text += line;
    OdbcStatement statement(binding, connection);
    const OdbcFunctions& fn = binding.fn();
    if (!statement.ok() || !fn.SQLProcedureColumns)
        return text;
    SqlReturn rc = fn.SQLProcedureColumns(statement.get(), orNull(catalog), lengthOf(catalog), orNull(schema),
                                          lengthOf(schema), orNull(name), lengthOf(name), nullptr, 0);
    if (!sql::succeeded(rc))
        return text;
    static const struct {
        SqlUSmallInt column;
        const char* format;
    } kPieces[] = {
        {4, "%-32s;"}, {5, "%11s;"},   {6, "%9s;"},    {7, "%-14s;"}, {8, "%11s;"},  {10, "%14s;"},
        {12, "%8s;"},  {13, "%-32s;"}, {14, "%-32s;"}, {15, "%13s;"}, {18, "%16s;"}, {19, "%-11s\r\n"},
    };
    ColumnText value;
    std::vector<char> piece(kValueLimit + 64);
    while (sql::succeeded(statement.fetch())) {
        for (const auto& entry : kPieces) {
            statement.getText(entry.column, value, kValueLimit);
            std::snprintf(piece.data(), piece.size(), entry.format, value.text.c_str());
            std::string formatted = piece.data();
            if (text.size() + formatted.size() > kTextLimit) {
                text += "\r\n<< Befejezetlen >>\r\n";
                return text;
            }
            text += formatted;
        }
    }
    return text;
}
