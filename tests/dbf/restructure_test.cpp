// Field-name and size rules, and the record copy into a new structure: fields by name, memo text
// moving to and from memo fields, renamed fields losing their data, deletion flags, locks, progress.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dbf/restructure.h"
#include "dbf/table_swap.h"
#include "tests/dbf/dbf_test_util.h"

namespace {

using dbftest::field;

TEST(FieldRules, NamesAreCapitalsDigitsAndUnderscoresUpToTenStartingWithoutADigit) {
    for (const char* good : {"A", "_", "NAME", "A1", "_X_9", "ABCDEFGHIJ", "Z_________"})
        EXPECT_TRUE(isValidFieldName(good)) << good;
    for (const char* bad : {"", "1A", "name", "NAME X", "ABCDEFGHIJK", "\xC1RV\xCDZ", "A-B", "A.B", " A"})
        EXPECT_FALSE(isValidFieldName(bad)) << bad;
    EXPECT_FALSE(isValidFieldName(nullptr));
}

TEST(FieldRules, LengthsAndDecimalsAreCorrectedByType) {
    struct Case {
        char type;
        int length, decimals;
        int wantLength, wantDecimals;
    };
    const Case cases[] = {
        {'D', 20, 3, 8, 0}, {'N', 25, 2, 19, 2},   {'N', 19, 9, 19, 9},   {'N', 0, 0, 1, 0}, {'M', 3, 1, 10, 0},
        {'L', 9, 9, 1, 0},  {'C', 300, 2, 255, 0}, {'C', 255, 0, 255, 0}, {'C', 0, 0, 1, 0}, {'C', 12, 0, 12, 0},
    };
    for (const Case& c : cases) {
        int length = c.length, decimals = c.decimals;
        correctFieldSize(c.type, length, decimals);
        EXPECT_EQ(length, c.wantLength) << c.type << c.length;
        EXPECT_EQ(decimals, c.wantDecimals) << c.type << c.length;
    }
}

class Restructure : public dbftest::DbfTest {
  protected:
    void SetUp() override {
        DbfTest::SetUp();
        path_ = dir_.file("PEOPLE.DBF");
        const FieldDef defs[] = {field("NAME", 'C', 10), field("AGE", 'N', 3), field("NOTE", 'M', 10),
                                 field("CITY", 'C', 8)};
        dbf table(path_.c_str());
        ASSERT_EQ(table.create(defs, 4), 1);
        ASSERT_EQ(table.open(1), 1);
        dbftest::appendRows(table, {{"B\xE9la", "42", "",
                                     "P\xE9"
                                     "cs"},
                                    {"Anna", "7", "", "Gy\xF5r"},
                                    {"Zolt\xE1n", "100", "", ""}});
        ASSERT_EQ(table.lockTable(), 1);
        table.goTo(1);
        ASSERT_EQ(table.writeMemo(2, "first memo, long enough to matter"), 1);
        table.goTo(2);
        ASSERT_EQ(table.writeMemo(2, std::string(1500, 'x').c_str()), 1);
        ASSERT_EQ(table.deleteRecord(), 1);
        table.unlock();
        table.close();
    }
    // Copies the table into `defs`, swaps it in, and opens the result.
    void restructure(const std::vector<FieldDef>& defs) {
        dbf old(path_.c_str());
        ASSERT_EQ(old.open(1), 1);
        old.goTo(2);
        std::string fresh;
        ASSERT_EQ(copyToNewStructure(old, defs.data(), static_cast<int>(defs.size()), path_, systemFileOps(), fresh),
                  1);
        EXPECT_EQ(fresh, path_ + "0");
        EXPECT_EQ(old.recNo(), 2);  // the old table's position is kept
        old.close();
        EXPECT_EQ(swapTableFiles(systemFileOps(), path_, fresh).result, kSwapDone);
    }
    std::string path_;
};

TEST_F(Restructure, FieldsKeepTheirDataByNameAndARenamedFieldLosesIt) {
    restructure({field("CITY", 'C', 5), field("NAME", 'C', 12), field("YEARS", 'N', 3), field("AGE", 'N', 5, 1)});
    dbf table(path_.c_str());
    ASSERT_EQ(table.open(0), 1);
    EXPECT_EQ(table.recCount(), 3);
    EXPECT_EQ(table.fieldCount(), 4);
    EXPECT_FALSE(table.hasMemo());
    table.goTo(1);
    EXPECT_STREQ(table.getField(0),
                 "P\xE9"
                 "cs ");
    EXPECT_STREQ(table.getField(1), "B\xE9la        ");
    EXPECT_STREQ(table.getField(2), "   ");  // YEARS: no old field of this name
    EXPECT_STREQ(table.getField(3), " 42.0");
    table.goTo(3);
    EXPECT_STREQ(table.getField(1), "Zolt\xE1n      ");
    EXPECT_STREQ(table.getField(3), "100.0");
    // The old memo file went with the old structure.
    EXPECT_FALSE(std::filesystem::exists(dir_.file("PEOPLE.DBT")));
    EXPECT_FALSE(std::filesystem::exists(path_ + "0"));
}

TEST_F(Restructure, DeletedRecordsStayDeleted) {
    restructure({field("NAME", 'C', 10)});
    dbf table(path_.c_str());
    ASSERT_EQ(table.open(0), 1);
    table.goTo(2);
    EXPECT_EQ(table.isDeleted(), 1);
    table.goTo(1);
    EXPECT_EQ(table.isDeleted(), 0);
}

TEST_F(Restructure, TextMovesBetweenMemoAndCharacterFields) {
    // NAME becomes a memo; NOTE, a memo, becomes a 20-character field; CITY stays.
    restructure({field("NAME", 'M', 10), field("NOTE", 'C', 20), field("CITY", 'C', 8)});
    dbf table(path_.c_str());
    ASSERT_EQ(table.open(0), 1);
    EXPECT_TRUE(table.hasMemo());
    table.goTo(1);
    EXPECT_STREQ(table.readMemo(table.getField(0)), "B\xE9la      ");
    EXPECT_STREQ(table.getField(1), "first memo, long eno");
    table.goTo(2);
    EXPECT_STREQ(table.readMemo(table.getField(0)), "Anna      ");
    EXPECT_EQ(std::string(table.getField(1)), std::string(20, 'x'));
    table.goTo(3);
    EXPECT_STREQ(table.getField(1), std::string(20, ' ').c_str());  // no memo: blank
}

TEST_F(Restructure, MemoTextIsCarriedIntoTheNewMemoFile) {
    restructure({field("NOTE", 'M', 10), field("NAME", 'C', 10)});
    dbf table(path_.c_str());
    ASSERT_EQ(table.open(0), 1);
    table.goTo(1);
    EXPECT_STREQ(table.readMemo(table.getField(0)), "first memo, long enough to matter");
    table.goTo(2);
    EXPECT_EQ(std::string(table.readMemo(table.getField(0))), std::string(1500, 'x'));
    table.goTo(3);
    EXPECT_STREQ(table.getField(0), "          ");  // an empty memo takes no block
    EXPECT_STREQ(table.readMemo(table.getField(0)), "");
}

TEST_F(Restructure, AccentedBytesAreCopiedUnconverted) {
    restructure({field("NAME", 'C', 10)});
    setting(SET_OEMTOANSI, "0");
    dbf raw(path_.c_str());
    ASSERT_EQ(raw.open(0), 1);
    raw.goTo(1);
    // "B\xE9la" is stored in code page 852, where e-acute is 0x82; the copy moved the byte as it was.
    EXPECT_EQ(static_cast<unsigned char>(raw.getField(0)[1]), 0x82);
}

TEST_F(Restructure, ALockedTableIsNotCopiedAndLeavesNoNewFile) {
    dbf holder(path_.c_str());
    ASSERT_EQ(holder.open(1), 1);
    ASSERT_EQ(holder.lockTable(), 1);
    dbf old(path_.c_str());
    ASSERT_EQ(old.open(1), 1);
    const FieldDef defs[] = {field("NAME", 'C', 10), field("NOTE", 'M', 10)};
    std::string fresh;
    EXPECT_EQ(copyToNewStructure(old, defs, 2, path_, systemFileOps(), fresh), 0);
    EXPECT_EQ(fresh, "");
    EXPECT_FALSE(std::filesystem::exists(path_ + "0"));
    EXPECT_FALSE(std::filesystem::exists(dir_.file("PEOPLE.DBFT")));
    holder.unlock();
}

TEST_F(Restructure, ProgressRunsFromZeroInStepsOf102Records) {
    {
        dbf table(path_.c_str());
        ASSERT_EQ(table.open(1), 1);
        std::vector<std::vector<std::string>> rows(300, {"n", "1"});
        dbftest::appendRows(table, rows);
    }
    std::vector<int> steps;
    dbf old(path_.c_str());
    ASSERT_EQ(old.open(1), 1);
    const FieldDef defs[] = {field("NAME", 'C', 10)};
    std::string fresh;
    auto record = [](void* context, int percent) { static_cast<std::vector<int>*>(context)->push_back(percent); };
    ASSERT_EQ(copyToNewStructure(old, defs, 1, path_, systemFileOps(), fresh, record, &steps), 1);
    // 303 records: 102 x 100 / 303 + 1 = 34, 204 x 100 / 303 + 1 = 68, 306 would be past the end.
    EXPECT_EQ(steps, (std::vector<int>{0, 34, 68}));
}

TEST_F(Restructure, ATakenNumberedNameIsSkipped) {
    dbftest::writeAll(path_ + "0", "taken");
    dbf old(path_.c_str());
    ASSERT_EQ(old.open(1), 1);
    const FieldDef defs[] = {field("NAME", 'C', 10)};
    std::string fresh;
    ASSERT_EQ(copyToNewStructure(old, defs, 1, path_, systemFileOps(), fresh), 1);
    EXPECT_EQ(fresh, path_ + "1");
    EXPECT_EQ(dbftest::readAll(path_ + "0").size(), 5u);
}

}  // namespace
