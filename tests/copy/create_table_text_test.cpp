// The CREATE TABLE text, the quoting of names and the type mapping, without a driver.
#include <gtest/gtest.h>

#include "copy/create_table_text.h"
#include "copy/output_types.h"
#include "copy/table_copy.h"

namespace {

TEST(OutputTypes, TheMappingMatchesWholeTypeNamesInAnyCase) {
    TypeMapping mapping = identityTypeMapping();
    ASSERT_EQ(mapping.rows.size(), 26u);
    EXPECT_EQ(mappingRowText(mapping.rows[1].first, mapping.rows[1].second), "varchar >> varchar");
    std::string output;
    ASSERT_TRUE(mappingRowOutput("text >> long varchar", &output));
    EXPECT_EQ(output, "long varchar");
    EXPECT_FALSE(mappingRowOutput("text", &output));
    mapping.rows[4].second = "long varchar";  // text
    struct Case {
        const char* input;
        const char* expected;
    } cases[] = {
        // A prefix match turned these into datetime, timestamp and longchar.
        {"date", "date"},         {"time", "time"},     {"long", "long"}, {"DateTime", "datetime"},
        {"text", "long varchar"}, {"bigint", "bigint"}, {"", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(lookupOutputType(mapping, c.input, c.input), c.expected) << c.input;
}

SourceColumn column(const char* name,
                    const char* type,
                    SqlSmallInt sqlType,
                    SqlULen size,
                    SqlSmallInt digits,
                    SqlSmallInt nullable = sql::kNullable) {
    SourceColumn c;
    c.name = name;
    c.typeName = type;
    c.sqlType = sqlType;
    c.size = size;
    c.decimals = digits;
    c.nullable = nullable;
    return c;
}

TEST(CreateTableText, EachTypeGetsTheSizeItNeedsAndNamesAreQuoted) {
    std::vector<SourceColumn> columns = {
        column("Id", "integer", sql::kInteger, 10, 0, sql::kNoNulls),
        column("Name", "varchar", sql::kVarChar, 30, 0),
        column("Price", "DECIMAL", sql::kDecimal, 10, 2),
        column("Amount", "", sql::kNumeric, 8, 0),
        column("Born", "date", sql::kDate, 10, 0),
        column("Nineteen_characters", "nvarchar", sql::kWVarChar, 20, 0),
        column("a`b\"c", "varbinary", sql::kVarBinary, 16, 0),
        column("Note", "varchar(40)", sql::kVarChar, 40, 0),
    };
    std::string text = "unchanged";
    ASSERT_EQ(buildCreateTableText(columns, "Person", identityTypeMapping(), true, &text), CreateText::Built);
    EXPECT_EQ(text,
              "CREATE TABLE `person` (\r\n"
              "`Id`                 integer Not null,\r\n"
              "`Name`               varchar(30),\r\n"
              "`Price`              decimal(10,2),\r\n"
              "`Amount`             numeric(8,0),\r\n"
              "`Born`               date,\r\n"
              "`Nineteen_characters`nvarchar(20),\r\n"
              "`a``b\"c`             varbinary(16),\r\n"
              "`Note`               varchar(40))");

    // A name beginning with "." leaves the text; a text past the limit is refused, not cut.
    std::string kept = "kept";
    EXPECT_EQ(buildCreateTableText(columns, ".hidden", identityTypeMapping(), false, &kept), CreateText::Skipped);
    std::vector<SourceColumn> many(700, column(std::string(90, 'n').c_str(), "varchar", sql::kVarChar, 10, 0));
    EXPECT_EQ(buildCreateTableText(many, "t", identityTypeMapping(), false, &kept), CreateText::TooLong);
    EXPECT_EQ(kept, "kept");
}

TEST(CreateTableText, BackquotedNamesTakeTheTargetsQuoteDoubledInside) {
    struct Case {
        const char* text;
        const char* quote;
        const char* expected;
    } cases[] = {
        {"CREATE TABLE `t` (`a``b` int, `c\"d` int)", "\"", "CREATE TABLE \"t\" (\"a`b\" int, \"c\"\"d\" int)"},
        {"CREATE TABLE `t` (`a``b` int, `c\"d` int)", "`", "CREATE TABLE `t` (`a``b` int, `c\"d` int)"},
        {"CREATE TABLE `t` (`x` int)", "", "CREATE TABLE t (x int)"},
        {"CREATE TABLE `t` (`x` varchar(5) default 'a\"b')", "\"",
         "CREATE TABLE \"t\" (\"x\" varchar(5) default 'a\"b')"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(retargetQuotes(c.text, c.quote), c.expected) << c.text;
    EXPECT_EQ(quoteIdentifier("it's \"x\"", "\""), "\"it's \"\"x\"\"\"");
    EXPECT_EQ(buildSelectText("", "", " Order`s ", " ` "), "SELECT * FROM `Order``s`");
    EXPECT_EQ(buildSelectText("", "dbo", "t", " "), "SELECT * FROM dbo.t");
}

TEST(TableCopy, NumericValuesReadAsZeroAreSentAsZeroAndDecimalsKept) {
    struct Case {
        const char* value;
        const char* sent;
    } cases[] = {
        {"0.5", "0.5"}, {"-0.25", "-0.25"}, {"12.34", "12.34"}, {"0.00", "0"}, {"-0", "0"}, {"abc", "0"}, {"7", "7"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(numericParameterText(c.value), c.sent) << c.value;
}

}  // namespace
