// Building the SELECT and CREATE TABLE texts of a table copy.
#include "copy/create_table_text.h"

#include <cctype>
#include <cstdio>

namespace {

constexpr std::size_t kNamePart = 21;

bool isOneOf(SqlSmallInt type, std::initializer_list<SqlSmallInt> types) {
    for (SqlSmallInt t : types)
        if (t == type)
            return true;
    return false;
}

// The size a column's type needs to keep its values: without it MariaDB reads DECIMAL as
// DECIMAL(10,0) and a 12.34 becomes 12.
std::string sizeSuffix(const SourceColumn& column, const std::string& outputType) {
    if (outputType.find('(') != std::string::npos || column.size == 0)
        return "";
    if (isOneOf(column.sqlType, {sql::kDecimal, sql::kNumeric}))
        return "(" + std::to_string(column.size) + "," + std::to_string(column.decimals) + ")";
    if (isOneOf(column.sqlType, {sql::kChar, sql::kVarChar}) && column.decimals != 0)
        return "(" + std::to_string(column.size) + "," + std::to_string(column.decimals) + ")";
    if (isOneOf(column.sqlType,
                {sql::kChar, sql::kVarChar, sql::kWChar, sql::kWVarChar, sql::kBinary, sql::kVarBinary}))
        return "(" + std::to_string(column.size) + ")";
    return "";
}

std::string lowered(std::string text) {
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

bool namesDecimal(const std::string& typeName) {
    std::string name = lowered(typeName);
    return name.rfind("decimal", 0) == 0 || name.rfind("numeric", 0) == 0;
}

// The "(precision,scale)" of a declared type name such as "decimal(10,2)"; false when it has none.
bool declaredPrecision(const std::string& typeName, SqlULen* precision, SqlSmallInt* scale) {
    unsigned long p = 0;
    int s = 0;
    std::size_t open = typeName.find('(');
    if (open == std::string::npos || std::sscanf(typeName.c_str() + open, "(%lu,%d)", &p, &s) != 2)
        return false;
    *precision = p;
    *scale = static_cast<SqlSmallInt>(s);
    return true;
}

// SQLite's driver describes a DECIMAL(10,2) column of a result as VARCHAR(10), losing its scale;
// the declared type its SQLColumns reports still holds both numbers.
void refineDecimal(OdbcBinding& binding, OdbcStatement& statement, SqlUSmallInt index, SourceColumn& column) {
    if (column.sqlType == sql::kDecimal || column.sqlType == sql::kNumeric || !namesDecimal(column.typeName))
        return;
    char table[256] = {};
    SqlSmallInt length = 0;
    SqlLen unused = 0;
    binding.fn().SQLColAttributes(statement.get(), index, sql::kColumnTableName, table, sizeof table, &length, &unused);
    OdbcStatement catalog(binding, statement.connection());
    std::string name = column.name;
    if (!*table || !catalog.ok() ||
        !sql::succeeded(binding.fn().SQLColumns(catalog.get(), nullptr, 0, nullptr, 0,
                                                reinterpret_cast<SqlChar*>(table), sql::kNts,
                                                reinterpret_cast<SqlChar*>(name.data()), sql::kNts)))
        return;
    ColumnText declared;
    SqlULen precision = 0;
    SqlSmallInt scale = 0;
    if (sql::succeeded(catalog.fetch()) && catalog.getText(6, declared) == sql::kSuccess &&
        declaredPrecision(declared.text, &precision, &scale)) {
        column.sqlType = sql::kDecimal;
        column.size = precision;
        column.decimals = scale;
    }
}

}  // namespace

SqlReturn describeSourceColumns(OdbcBinding& binding, OdbcStatement& statement, std::vector<SourceColumn>* columns) {
    columns->clear();
    SqlSmallInt count = 0;
    SqlReturn rc = statement.numResultCols(&count);
    if (!sql::succeeded(rc))
        return rc;
    rc = describeResultColumns(binding.fn(), statement.get(), count, *columns);
    if (!sql::succeeded(rc))
        return rc;
    for (SqlUSmallInt i = 1; i <= columns->size(); ++i)
        refineDecimal(binding, statement, i, (*columns)[i - 1]);
    return sql::kSuccess;
}

std::string trimQuote(const std::string& quote) {
    std::size_t first = quote.find_first_not_of(' ');
    if (first == std::string::npos)
        return "";
    return quote.substr(first, quote.find_last_not_of(' ') - first + 1);
}

CreateText buildCreateTableText(const std::vector<SourceColumn>& columns,
                                const std::string& target,
                                const TypeMapping& mapping,
                                bool lowercase,
                                std::string* text) {
    if (!target.empty() && target[0] == '.')
        return CreateText::Skipped;
    std::string out = "CREATE TABLE " + quoteIdentifier(lowercase ? lowered(target) : target, "`") + " (\r\n";
    for (const SourceColumn& column : columns) {
        std::string namePart = quoteIdentifier(column.name, "`");
        if (namePart.size() < kNamePart)
            namePart.resize(kNamePart, ' ');
        std::string input = column.typeName.empty() ? canonicalTypeName(column.sqlType) : column.typeName;
        std::string output = lookupOutputType(mapping, lowered(input), input);
        out += namePart + output + sizeSuffix(column, output);
        if (column.nullable == sql::kNoNulls)
            out += " Not null";
        out += ",\r\n";
        if (out.size() > kCreateTextLimit)
            return CreateText::TooLong;
    }
    if (!columns.empty())
        out.resize(out.size() - 3);
    *text = out + ")";
    return CreateText::Built;
}

std::string retargetQuotes(const std::string& text, const std::string& quote) {
    std::string out;
    bool inName = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c != '`') {
            out += c;
            if (inName && !quote.empty() && c == quote[0])
                out += c;
            continue;
        }
        if (inName && i + 1 < text.size() && text[i + 1] == '`') {
            out += !quote.empty() && quote[0] == '`' ? "``" : "`";
            ++i;
            continue;
        }
        inName = !inName;
        out += quote;
    }
    return out;
}
