// dbf create and open: the bytes create writes, and the tables open refuses (damaged and hostile headers).
#include <gtest/gtest.h>

#include "tests/dbf/dbf_test_util.h"

namespace {

using dbftest::field;
using dbftest::le16;
using dbftest::le32;
using dbftest::readAll;
using dbftest::writeAll;

class DbfCreate : public dbftest::DbfTest {
  protected:
    std::string name_ = dir_.file("T.DBF");
};

TEST_F(DbfCreate, WritesHeaderDescriptorsAndTerminatorWithoutEndMarker) {
    FieldDef defs[] = {field("NAME", 'C', 30), field("PRICE", 'N', 10, 2), field("BORN", 'D', 8), field("OK", 'L', 1)};
    dbf table(name_.c_str());
    ASSERT_EQ(1, table.create(defs, 4));
    EXPECT_FALSE(table.isOpen());
    auto b = readAll(name_);
    ASSERT_EQ(32u * 5 + 2, b.size());
    EXPECT_EQ(0x03, b[0]);
    EXPECT_GE(b[2], 1);
    EXPECT_LE(b[2], 12);
    EXPECT_EQ(0u, le32(b, 4));
    EXPECT_EQ(162, le16(b, 8));
    EXPECT_EQ(1 + 30 + 10 + 8 + 1, le16(b, 10));
    EXPECT_EQ(0x64, b[29]);  // code page 852: the OEM conversion is on by default
    EXPECT_EQ(std::string("NAME"), std::string(reinterpret_cast<const char*>(&b[32])));
    EXPECT_EQ('C', b[32 + 11]);
    EXPECT_EQ(1u, le32(b, 32 + 12));
    EXPECT_EQ(30, le16(b, 32 + 16));
    EXPECT_EQ('N', b[64 + 11]);
    EXPECT_EQ(31u, le32(b, 64 + 12));
    EXPECT_EQ(10, b[64 + 16]);
    EXPECT_EQ(2, b[64 + 17]);
    EXPECT_EQ(41u, le32(b, 96 + 12));
    EXPECT_EQ(49u, le32(b, 128 + 12));
    EXPECT_EQ(0x0D, b[160]);
    EXPECT_EQ(0x00, b[161]);
    for (int i = 12; i < 32; ++i) {
        if (i != 29) {
            EXPECT_EQ(0, b[i]) << i;
        }
    }
}

TEST_F(DbfCreate, LanguageDriverFollowsTheOemSetting) {
    setting(SET_OEMTOANSI, "0");
    FieldDef defs[] = {field("A", 'C', 5)};
    dbf table(name_.c_str());
    ASSERT_EQ(1, table.create(defs, 1));
    EXPECT_EQ(0xC8, readAll(name_)[29]);  // code page 1250
}

TEST_F(DbfCreate, MemoFieldMakesVersion83AndAOneBlockMemoFile) {
    FieldDef defs[] = {field("ID", 'N', 5), field("NOTE", 'M', 10)};
    dbf table(name_.c_str());
    ASSERT_EQ(1, table.create(defs, 2));
    EXPECT_EQ(0x83, readAll(name_)[0]);
    auto memo = readAll(dir_.file("T.DBT"));
    ASSERT_EQ(512u, memo.size());
    EXPECT_EQ(1u, le32(memo, 0));
    EXPECT_EQ(0x03, memo[16]);
    ASSERT_EQ(1, table.open(1));
    EXPECT_EQ(1, table.hasMemo());
    EXPECT_EQ(0x83, table.version());
}

TEST_F(DbfCreate, RefusesCountsThatDoNotFitTheHeader) {
    std::vector<FieldDef> defs;
    for (int i = 0; i < 128; ++i)
        defs.push_back(field(("F" + std::to_string(i)).c_str(), 'C', 1));
    dbf table(name_.c_str());
    EXPECT_EQ(0, table.create(defs.data(), 128));
    EXPECT_EQ(0, table.create(defs.data(), 0));
    EXPECT_EQ(1, table.create(defs.data(), 127));
    ASSERT_EQ(1, table.open(0));
    EXPECT_EQ(127, table.fieldCount());
}

TEST_F(DbfCreate, OpenOfAnEmptyTableHasRecordZeroAndBothFlags) {
    FieldDef defs[] = {field("A", 'C', 5)};
    dbf table(name_.c_str());
    ASSERT_EQ(1, table.create(defs, 1));
    ASSERT_EQ(1, table.open(1));
    EXPECT_EQ(0, table.recNo());
    EXPECT_EQ(1, table.isEof());
    EXPECT_EQ(1, table.isBof());
    EXPECT_EQ(0, table.recCount());
    EXPECT_EQ(1, table.goTop());
    EXPECT_EQ(1, table.recNo());
    EXPECT_EQ(1, table.isEof());
    EXPECT_EQ(std::string(5, '\0'), std::string(table.getField(0), 5));
    EXPECT_EQ(1, table.open(1));  // already open: succeeds at once
}

TEST_F(DbfCreate, FieldDirectory) {
    FieldDef defs[] = {field("NAME", 'C', 30), field("price", 'N', 10, 2), field("BORN", 'D', 8)};
    dbf table(name_.c_str());
    ASSERT_EQ(1, table.create(defs, 3));
    ASSERT_EQ(1, table.open(0));
    EXPECT_EQ(3, table.fieldCount());
    EXPECT_EQ(49, table.recordLength());
    EXPECT_EQ(1, table.fieldIndex("PRICE"));
    EXPECT_EQ(0, table.fieldIndex("name"));
    EXPECT_EQ(-1, table.fieldIndex("NAM"));
    EXPECT_EQ(-1, table.fieldIndex("NAMES"));
    EXPECT_EQ(31, table.fieldOffset(1));
    EXPECT_EQ(-1, table.fieldOffset(3));
    EXPECT_EQ('D', table.fieldType(2));
    EXPECT_EQ(0, table.fieldType(3));
    const FieldInfo* info = table.fieldInfo(1);
    EXPECT_STREQ("price", info->name);
    EXPECT_EQ('N', info->type);
    EXPECT_EQ(10, info->width);
    EXPECT_EQ(2, info->decimals);
    EXPECT_EQ(0, table.fieldInfo(0)->decimals);
    EXPECT_EQ(0, table.hasMemo());
    EXPECT_STREQ("", table.getField(-1));
    EXPECT_STREQ(name_.c_str(), table.fileName());
}

// Builds a header with the given descriptors (each: name, type, byte 16, byte 17).
struct Desc {
    const char* name;
    char type;
    uint8_t b16, b17;
};

std::vector<uint8_t> rawTable(const std::vector<Desc>& fields,
                              uint16_t recordLength,
                              uint32_t count,
                              uint8_t version = 0x03) {
    std::vector<uint8_t> b(32 * (fields.size() + 1) + 2, 0);
    b[0] = version;
    b[4] = static_cast<uint8_t>(count);
    b[5] = static_cast<uint8_t>(count >> 8);
    b[6] = static_cast<uint8_t>(count >> 16);
    b[7] = static_cast<uint8_t>(count >> 24);
    b[8] = static_cast<uint8_t>(b.size());
    b[9] = static_cast<uint8_t>(b.size() >> 8);
    b[10] = static_cast<uint8_t>(recordLength);
    b[11] = static_cast<uint8_t>(recordLength >> 8);
    for (size_t i = 0; i < fields.size(); ++i) {
        uint8_t* d = &b[32 * (i + 1)];
        memcpy(d, fields[i].name, strlen(fields[i].name));
        d[11] = static_cast<uint8_t>(fields[i].type);
        d[16] = fields[i].b16;
        d[17] = fields[i].b17;
    }
    b[b.size() - 2] = 0x0D;
    return b;
}

struct Refusal {
    const char* what;
    std::vector<Desc> fields;
    uint16_t recordLength;
};

TEST_F(DbfCreate, OpenRefusesTablesWhoseFieldsAreTooWideOrDoNotFit) {
    const Refusal cases[] = {
        {"C(300) last", {{"A", 'C', 5, 0}, {"B", 'C', 44, 1}}, 306},
        {"C(300) first", {{"B", 'C', 44, 1}, {"A", 'C', 5, 0}}, 306},
        {"N(64)", {{"N", 'N', 64, 0}}, 65},
        {"fields beyond the record", {{"A", 'C', 10, 0}, {"B", 'C', 10, 0}}, 20},
        {"record length 0", {{"A", 'C', 1, 0}}, 0},
    };
    for (const auto& c : cases) {
        writeAll(name_, rawTable(c.fields, c.recordLength, 0));
        dbf table(name_.c_str());
        EXPECT_EQ(0, table.open(0)) << c.what;
        EXPECT_FALSE(table.isOpen()) << c.what;
    }
    // The same layouts that fit are accepted; D is read as 8 wide whatever the descriptor says.
    writeAll(name_, rawTable({{"A", 'C', 255, 0}, {"N", 'N', 63, 2}, {"D", 'D', 8, 0}}, 1 + 255 + 63 + 8, 0));
    dbf good(name_.c_str());
    EXPECT_EQ(1, good.open(0));
}

TEST_F(DbfCreate, OpenRefusesBadVersionsShortHeadersAndMissingMemos) {
    auto table = rawTable({{"A", 'C', 5, 0}}, 6, 0);
    struct Case {
        const char* what;
        std::vector<uint8_t> bytes;
    };
    std::vector<Case> cases;
    auto v = table;
    v[0] = 0x30;
    cases.push_back({"version 0x30", v});
    cases.push_back({"no bytes", {}});
    cases.push_back({"31 bytes", std::vector<uint8_t>(table.begin(), table.begin() + 31)});
    v = table;
    v[8] = 31;
    v[9] = 0;
    cases.push_back({"header length 31", v});
    v = table;
    v[8] = 0xFF;
    v[9] = 0xFF;
    cases.push_back({"field count far beyond the file", v});
    v = table;
    v[32] = 0x0D;
    cases.push_back({"no field before the terminator", v});
    cases.push_back({"version 0x83 without memo file", rawTable({{"A", 'C', 5, 0}}, 6, 0, 0x83)});
    for (const auto& c : cases) {
        writeAll(name_, c.bytes);
        dbf t(name_.c_str());
        EXPECT_EQ(0, t.open(1)) << c.what;
    }
    // A missing table file is created empty by the open and then refused.
    std::string missing = dir_.file("NEW.DBF");
    dbf t(missing.c_str());
    EXPECT_EQ(0, t.open(1));
    EXPECT_TRUE(std::filesystem::exists(missing));
}

TEST_F(DbfCreate, DescriptorsEndAtTheTerminatorWhenTheHeaderHasRoomBehindThem) {
    // A writer that reserves room after the descriptors (as some do) leaves a longer header length.
    auto b = rawTable({{"A", 'C', 3, 0}}, 4, 1);
    b.resize(32 * 2 + 1);
    b.insert(b.end(), 63, 0);  // header length 128: three descriptor slots, one used
    b[8] = 128;
    std::string record = " abc";
    b.insert(b.end(), record.begin(), record.end());
    writeAll(name_, b);
    dbf table(name_.c_str());
    ASSERT_EQ(1, table.open(0));
    EXPECT_EQ(1, table.fieldCount());
    EXPECT_STREQ("abc", table.getField(0));
}

}  // namespace
