#include "odbc/result_columns.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "odbc/dbms_kind.h"

namespace {

// Widest N field the engine opens, and the most digits a number keeps exactly on its way through
// the engine's long double.
constexpr SqlULen kMaxNumberWidth = 63;
constexpr SqlULen kExactDigits = 18;
// Text of any 64-bit integer ("-9223372036854775808") and of any double ("-1.7976931348623157e+308").
constexpr uint16_t kIntegerWidth = 20;
constexpr uint16_t kDoubleWidth = 24;
// A C field is at most this wide; wider text goes into a memo.
constexpr SqlULen kMaxTextWidth = 255;

bool isLongType(const ResultColumn& c) {
    return c.typeName == "Memo" || c.typeName == "LONGTEXT" || c.sqlType == sql::kLongVarChar ||
           c.sqlType == sql::kLongVarBinary || c.sqlType == sql::kWLongVarChar;
}

void setShape(ResultField& field, char type, SqlULen width, int decimals) {
    if (type == 'C' && width > kMaxTextWidth) {
        type = 'M';
        width = 10;
        decimals = 0;
    }
    field.def.type = type;
    field.def.width = static_cast<uint16_t>(std::max<SqlULen>(width, 1));
    field.def.decimals = static_cast<uint8_t>(std::max(decimals, 0));
}

void mapNumeric(ResultField& field, const ResultColumn& c) {
    int decimals = c.decimals > 0 ? c.decimals : 4;
    SqlULen width = c.size + static_cast<SqlULen>(decimals) + 2;
    if (c.size <= kExactDigits && width <= kMaxNumberWidth)
        setShape(field, 'N', width, decimals);
    else
        setShape(field, 'C', c.size + 2, 0);  // sign and point besides the digits
}

}  // namespace

SqlReturn describeResultColumns(const OdbcFunctions& fn,
                                SqlHstmt statement,
                                int count,
                                std::vector<ResultColumn>& columns) {
    columns.clear();
    for (int i = 1; i <= count; ++i) {
        ResultColumn c;
        char typeName[129] = "";
        SqlSmallInt typeLength = 0;
        SqlLen numeric = 0;
        SqlReturn rc = fn.SQLColAttributes(statement, static_cast<SqlUSmallInt>(i), sql::kColumnTypeName, typeName,
                                           sizeof typeName - 1, &typeLength, &numeric);
        if (sql::succeeded(rc))
            c.typeName = typeName;
        char name[256] = "";
        SqlSmallInt nameLength = 0;
        rc = fn.SQLDescribeCol(statement, static_cast<SqlUSmallInt>(i), reinterpret_cast<SqlChar*>(name), sizeof name,
                               &nameLength, &c.sqlType, &c.size, &c.decimals, &c.nullable);
        if (!sql::succeeded(rc))
            return rc;
        c.name = name;
        columns.push_back(c);
    }
    return sql::kSuccess;
}

ResultField mapResultColumn(const ResultColumn& c, int number) {
    ResultField field;
    std::snprintf(field.def.name, sizeof field.def.name, "TEMP%04d", number % 10000);
    field.caption = c.name.substr(0, 255);
    // A size the driver does not know (0, as for SELECT NULL) still needs one character.
    SqlULen size = std::max<SqlULen>(c.size, 1);
    if (isLongType(c) || c.size > kMaxTextWidth) {
        setShape(field, 'M', 10, 0);
        return field;
    }
    switch (c.sqlType) {
        case sql::kChar:
            setShape(field, 'C', size, c.decimals);
            break;
        case sql::kNumeric:
        case sql::kDecimal:
            mapNumeric(field, c);
            break;
        case sql::kInteger:
        case sql::kSmallInt:
            // Some drivers report the declared type of a column that holds any integer (SQLite).
            setShape(field, 'N', std::max<SqlULen>(size + 2, kIntegerWidth), 0);
            break;
        case sql::kFloat:
        case sql::kReal:
        case sql::kDouble:
            setShape(field, 'C', kDoubleWidth, 0);
            break;
        case sql::kVarChar:
            setShape(field, 'C', size, 0);
            break;
        case sql::kDate:
            setShape(field, 'D', 8, 0);
            field.picture = "@D";
            break;
        case sql::kTimestamp:
            setShape(field, 'S', size, 0);
            field.picture = "@S24";
            break;
        case sql::kTime:
            setShape(field, 'T', size, 0);
            field.picture = "@S10";
            break;
        case sql::kBigInt:
            setShape(field, 'C', std::max<SqlULen>(size, kIntegerWidth), 0);
            break;
        default:
            setShape(field, 'C', size, c.decimals);
            break;
    }
    return field;
}

int resultColumnPixels(const FieldDef& def) {
    if (def.type == 'N')
        return def.width * 8;
    return std::min(def.width * 8 + 5, 200);
}

std::string sqlTypeName(const std::string& typeName, SqlSmallInt sqlType, const std::string& dbms) {
    if (!typeName.empty())
        return typeName;
    static const struct {
        SqlSmallInt type;
        const char* name;
    } kNames[] = {
        {1, "Char"},           {2, "Numeric"},  {3, "Decimal"},      {4, "Integer"}, {5, "SmallInt"},
        {6, "Float"},          {7, "Real"},     {8, "Double"},       {9, "Date"},    {10, "Time"},
        {11, "TimeStamp"},     {12, "VarChar"}, {-1, "LongVarChar"}, {-2, "Binary"}, {-3, "VarBinary"},
        {-4, "LongVarBinary"}, {-5, "BigInt"},  {-6, "TinyInt"},     {-7, "Bit"},
    };
    std::string name = "unidentified";
    for (const auto& entry : kNames)
        if (entry.type == sqlType)
            name = entry.name;
    if (isSqlServer(dbms)) {
        if (sqlType == sql::kDouble)
            name = "Money";
        else if (sqlType == sql::kTimestamp)
            name = "DateTime";
        else if (sqlType == sql::kLongVarChar)
            name = "Text";
    } else if (dbms.find("SQL Any") != std::string::npos && sqlType == sql::kLongVarChar) {
        name = "Long VarChar";
    }
    return name;
}

std::string sqlTypeName(OdbcBinding& binding, SqlHdbc connection, const std::string& typeName, SqlSmallInt sqlType) {
    if (!typeName.empty())
        return typeName;
    return sqlTypeName(typeName, sqlType, dbmsName(binding, connection));
}

std::vector<ResultField> columnListFields() {
    static const struct {
        const char* name;
        char type;
        uint16_t width;
        const char* caption;
    } kLayout[] = {
        {"FIELDNAME", 'C', 32, "Field name"}, {"TYPE", 'C', 15, "Type"},       {"LENGTH", 'N', 10, "Length"},
        {"DECIMAL", 'N', 2, "Decimal"},       {"NULL", 'C', 3, "Is nullable"},
    };
    std::vector<ResultField> fields;
    for (const auto& entry : kLayout) {
        ResultField field;
        std::snprintf(field.def.name, sizeof field.def.name, "%s", entry.name);
        field.def.type = entry.type;
        field.def.width = entry.width;
        field.caption = entry.caption;
        field.pixels = entry.width * 8 + 5;
        fields.push_back(field);
    }
    return fields;
}

int appendColumnListRecord(dbf& table, const ResultColumn& column, const std::string& typeName) {
    bool access = column.sqlType == sql::kLongVarChar && column.typeName == "Memo";
    // Ten digits hold every length a 32-bit driver reports; larger ones show as the largest.
    unsigned long long size = std::min<unsigned long long>(column.size, 9999999999ull);
    std::string length = access ? "10" : std::to_string(size);
    std::string decimals = access ? "0" : std::to_string(column.decimals);
    if (!table.appendBlank())
        return 0;
    table.setField(0, column.name.c_str());
    table.setField(1, typeName.c_str());
    table.setField(2, length.c_str());
    table.setField(3, decimals.c_str());
    table.setField(4, column.nullable ? "Yes" : "No");
    return table.writeRecord();
}
