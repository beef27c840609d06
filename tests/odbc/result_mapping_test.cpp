// The result-table rules that need no driver: column types to fields, type names, SELECT texts.
#include <gtest/gtest.h>

#include "odbc/result_columns.h"
#include "odbc/select_text.h"

namespace {

struct MappingCase {
    const char* typeName;
    SqlSmallInt sqlType;
    SqlULen size;
    SqlSmallInt decimals;
    char type;
    int width;
    int fieldDecimals;
    const char* picture;
};

TEST(ResultMapping, EveryRuleAndMend) {
    const MappingCase cases[] = {
        {"Memo", sql::kVarChar, 50, 0, 'M', 10, 0, ""},
        {"LONGTEXT", sql::kVarChar, 100, 0, 'M', 10, 0, ""},
        {"longtext", sql::kVarChar, 100, 0, 'C', 100, 0, ""},  // the names are compared exactly
        {"", sql::kLongVarChar, 0, 0, 'M', 10, 0, ""},
        {"", sql::kLongVarBinary, 10, 0, 'M', 10, 0, ""},
        {"", sql::kWLongVarChar, 10, 0, 'M', 10, 0, ""},
        {"", sql::kVarChar, 300, 0, 'M', 10, 0, ""},  // wide text is a memo, not 5 characters
        {"", sql::kChar, 256, 0, 'M', 10, 0, ""},
        {"", sql::kVarChar, 255, 0, 'C', 255, 0, ""},
        {"", sql::kVarChar, 0, 0, 'C', 1, 0, ""},  // SELECT NULL on MariaDB
        {"", sql::kChar, 5, 0, 'C', 5, 0, ""},
        {"", sql::kNumeric, 10, 0, 'N', 16, 4, ""},
        {"", sql::kDecimal, 10, 2, 'N', 14, 2, ""},
        {"", sql::kDecimal, 18, 4, 'N', 24, 4, ""},
        {"", sql::kDecimal, 19, 0, 'C', 21, 0, ""},   // more digits than a number keeps exactly
        {"", sql::kDecimal, 65, 30, 'C', 67, 0, ""},  // would be N(97)
        {"", sql::kDecimal, 254, 0, 'M', 10, 0, ""},
        {"", sql::kInteger, 10, 0, 'N', 20, 0, ""},  // SQLite's INTEGER holds 64 bits
        {"", sql::kSmallInt, 5, 0, 'N', 20, 0, ""},
        {"", sql::kDouble, 53, 0, 'C', 24, 0, ""},  // 1e300 fits no N field
        {"", sql::kFloat, 15, 0, 'C', 24, 0, ""},
        {"", sql::kReal, 7, 0, 'C', 24, 0, ""},
        {"", sql::kDate, 10, 0, 'D', 8, 0, "@D"},
        {"", sql::kTimestamp, 19, 0, 'S', 19, 0, "@S24"},
        {"", sql::kTime, 8, 0, 'T', 8, 0, "@S10"},
        {"", sql::kBigInt, 19, 0, 'C', 20, 0, ""},
        {"", sql::kBit, 1, 0, 'C', 1, 0, ""},
        {"", sql::kGuid, 36, 2, 'C', 36, 2, ""},
    };
    int number = 0;
    for (const MappingCase& c : cases) {
        ResultColumn column;
        column.name = "col";
        column.typeName = c.typeName;
        column.sqlType = c.sqlType;
        column.size = c.size;
        column.decimals = c.decimals;
        ResultField field = mapResultColumn(column, ++number);
        SCOPED_TRACE(testing::Message() << "case " << number << ": " << c.typeName << " " << c.sqlType << "/" << c.size
                                        << "/" << c.decimals);
        EXPECT_EQ(field.def.type, c.type);
        EXPECT_EQ(field.def.width, c.width);
        EXPECT_EQ(field.def.decimals, c.fieldDecimals);
        EXPECT_EQ(field.picture, c.picture);
        EXPECT_EQ(field.caption, "col");
    }
    ResultColumn first;
    first.sqlType = sql::kChar;
    first.size = 1;
    EXPECT_STREQ(mapResultColumn(first, 1).def.name, "TEMP0001");
    EXPECT_STREQ(mapResultColumn(first, 127).def.name, "TEMP0127");
}

TEST(ResultMapping, GridWidths) {
    FieldDef n = {"A", 'N', 10, 2}, c = {"B", 'C', 10, 0}, wide = {"C", 'C', 200, 0};
    EXPECT_EQ(resultColumnPixels(n), 80);
    EXPECT_EQ(resultColumnPixels(c), 85);
    EXPECT_EQ(resultColumnPixels(wide), 200);
}

TEST(ResultMapping, SqlTypeNames) {
    const struct {
        const char* typeName;
        SqlSmallInt type;
        const char* dbms;
        const char* expected;
    } cases[] = {
        {"varchar", 12, "Microsoft SQL Server", "varchar"},  // the driver's own name wins
        {"", 8, "Microsoft SQL Server", "Money"},
        {"", 11, "Microsoft SQL Server", "DateTime"},
        {"", -1, "Microsoft SQL Server", "Text"},
        {"", -1, "SQL Anywhere", "Long VarChar"},
        {"", -1, "MariaDB", "LongVarChar"},
        {"", 8, "SQL Anywhere", "Double"},
        {"", -7, "", "Bit"},
        {"", -4, "", "LongVarBinary"},
        {"", 11, "", "TimeStamp"},
        {"", 99, "", "unidentified"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(sqlTypeName(c.typeName, c.type, c.dbms), c.expected) << c.type << " " << c.dbms;
}

TEST(SelectText, QuotesAndQualifies) {
    const struct {
        const char* catalog;
        const char* schema;
        const char* table;
        const char* quote;
        const char* current;
        const char* expected;
    } cases[] = {
        {"", "", "t", "\"", "", "SELECT * FROM \"t\""},
        {"", " dbo ", " t 1 ", "\"", "", "SELECT * FROM \"dbo\".\"t 1\""},
        {"", "", "a`b", "`", "", "SELECT * FROM `a``b`"},
        {"", "", "t", " ", "", "SELECT * FROM t"},
        {"", "", "t", "", "", "SELECT * FROM t"},
        // MySQL-family listings: another database's table keeps its database in front.
        {"mysql", "", "user", "`", "quarrow", "SELECT * FROM `mysql`.`user`"},
        {"quarrow", "", "user", "`", "quarrow", "SELECT * FROM `user`"},
        {"cat", "sch", "t", "\"", "", "SELECT * FROM \"cat\".\"sch\".\"t\""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(buildSelectText(c.catalog, c.schema, c.table, c.quote, c.current), c.expected) << c.table;
}

}  // namespace
