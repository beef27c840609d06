// The copy's field type list and its type mapping.
#include "copy/output_types.h"

#include <cctype>

namespace {

bool sameName(const std::string& a, const std::string& b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

const char kArrow[] = " >> ";

}  // namespace

const std::vector<std::string>& fieldTypeNames() {
    static const std::vector<std::string> names = {
        "char",        "varchar",  "nvarchar",       "memo",     "text",    "longchar", "long varchar",
        "longvarchar", "blob",     "long varbinary", "smallint", "int",     "tinyint",  "integer",
        "long",        "float",    "double",         "money",    "numeric", "real",     "decimal",
        "timestamp",   "datetime", "date",           "bit",      "logical",
    };
    return names;
}

TypeMapping identityTypeMapping() {
    TypeMapping mapping;
    for (const std::string& name : fieldTypeNames())
        mapping.rows.emplace_back(name, name);
    return mapping;
}

std::string mappingRowText(const std::string& input, const std::string& output) {
    return input + kArrow + output;
}

bool mappingRowOutput(const std::string& row, std::string* output) {
    std::size_t at = row.find(kArrow);
    if (at == std::string::npos)
        return false;
    *output = row.substr(at + sizeof kArrow - 1);
    return true;
}

std::string lookupOutputType(const TypeMapping& mapping, const std::string& input, const std::string& fallback) {
    for (const auto& [from, to] : mapping.rows)
        if (sameName(from, input))
            return to;
    return fallback;
}

std::string canonicalTypeName(SqlSmallInt sqlType) {
    switch (sqlType) {
        case sql::kChar:
            return "char";
        case sql::kNumeric:
            return "numeric";
        case sql::kDecimal:
            return "decimal";
        case sql::kInteger:
            return "integer";
        case sql::kSmallInt:
            return "smallint";
        case sql::kFloat:
            return "float";
        case sql::kReal:
            return "real";
        case sql::kDouble:
            return "double";
        case sql::kDate:
            return "date";
        case sql::kTime:
            return "time";
        case sql::kTimestamp:
            return "timestamp";
        case sql::kVarChar:
            return "varchar";
        case sql::kLongVarChar:
            return "long varchar";
        case sql::kBinary:
            return "binary";
        case sql::kVarBinary:
            return "varbinary";
        case sql::kLongVarBinary:
            return "long varbinary";
        case sql::kBigInt:
            return "bigint";
        case sql::kTinyInt:
            return "tinyint";
        case sql::kBit:
            return "bit";
        case sql::kWChar:
            return "nchar";
        case sql::kWVarChar:
            return "nvarchar";
        case sql::kWLongVarChar:
            return "ntext";
        default:
            return "char";
    }
}
