// The bulk appender's direct placing of plain decimals leaves the bytes setField leaves.
#include <gtest/gtest.h>

#include <string>

#include "dbf/bulk_io.h"
#include "tests/dbf/dbf_test_util.h"

namespace {

TEST(BulkNumber, SameBytesAsSetField) {
    dbftest::TempDir dir;
    const FieldDef defs[] = {dbftest::field("A", 'N', 20, 0), dbftest::field("B", 'N', 10, 2),
                             dbftest::field("C", 'N', 4, 0)};
    std::string name = dir.file("n.dbf");
    dbf table(name.c_str());
    ASSERT_EQ(table.create(defs, 3), 1);
    ASSERT_EQ(table.open(1), 1);
    ASSERT_EQ(table.lockTable(), 1);
    const char* texts[] = {"0",
                           "7",
                           "-7",
                           "1234567890123",
                           "-9223372036854775808",
                           "007",
                           "-0",
                           "-0.00",
                           "12.5",
                           "12.345",
                           "12.",
                           ".5",
                           "1e3",
                           " 5",
                           "12345",
                           "-123",
                           "abc",
                           "",
                           "99999999.99",
                           "-99999.99",
                           "1.005",
                           "3.14159",
                           "+4",
                           "5 ",
                           "1234567890123456789"};
    BulkAppender appender(table);
    for (int field = 0; field < 3; ++field) {
        for (const char* text : texts) {
            appender.startRecord();
            bool fast = appender.setNumber(field, text);
            std::string placed(table.recordBuffer(), static_cast<size_t>(table.recordLength()));
            appender.startRecord();
            bool slow = table.setField(field, text) != 0;
            std::string expected(table.recordBuffer(), static_cast<size_t>(table.recordLength()));
            EXPECT_EQ(fast, slow) << field << " '" << text << "'";
            EXPECT_EQ(placed, expected) << field << " '" << text << "'";
        }
    }
    appender.abandon();
}

}  // namespace
