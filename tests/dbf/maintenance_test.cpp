// Zap and pack: the free name of the new file, the empty copy, the packed copy against one built record by
// record through the engine, memo files without dead blocks, locks released and flags restored.
#include <gtest/gtest.h>

#include <cstring>

#include "base/find.h"
#include "tests/dbf/maint_test_util.h"

namespace {

using dbftest::field;
using dbftest::le32;
using dbftest::readAll;
using mainttest::fileRecords;

class Maintenance : public dbftest::DbfTest {
  protected:
    std::string name_ = dir_.file("A.DBF");
};

TEST_F(Maintenance, CopyStructureTakesTheFirstFreeNumberFromTheFieldCount) {
    FieldDef defs[] = {field("ID", 'N', 6, 2), field("WHEN", 'D', 8), field("TEXT", 'C', 200)};
    dbf t(name_.c_str());
    ASSERT_EQ(1, t.create(defs, 3));
    ASSERT_EQ(1, t.open(1));
    dbftest::appendRows(t, {{"1.5", "20240101", "x"}});
    dbftest::writeAll(name_ + "3", "taken");
    char out[512] = {};
    ASSERT_EQ(1, t.copyStructure(out));
    EXPECT_EQ(name_ + "4", out);
    auto taken = readAll(name_ + "3");
    EXPECT_EQ("taken", std::string(taken.begin(), taken.end()));
    dbf copy(out);
    ASSERT_EQ(1, copy.open(0));
    EXPECT_EQ(0, copy.recCount());
    ASSERT_EQ(3, copy.fieldCount());
    for (int i = 0; i < 3; ++i) {
        FieldInfo want = *t.fieldInfo(i);
        const FieldInfo* got = copy.fieldInfo(i);
        EXPECT_STREQ(want.name, got->name);
        EXPECT_EQ(want.type, got->type);
        EXPECT_EQ(want.width, got->width);
        EXPECT_EQ(want.decimals, got->decimals);
    }
    EXPECT_EQ(0x03, copy.version());
    EXPECT_EQ(1, t.recCount());  // the source keeps its record
    auto header = readAll(out);
    EXPECT_EQ(0x64, header[29]);  // the copy says code page 852 like its source
}

TEST_F(Maintenance, ZapWritesAnEmptyCopyWithMemoFileAndReleasesTheLock) {
    mainttest::makeSample(name_);
    dbf t(name_.c_str());
    ASSERT_EQ(1, t.open(1));
    auto before = readAll(name_);
    char out[512] = {};
    ASSERT_EQ(1, t.zapToNew(out));
    EXPECT_EQ(name_ + "6", out);
    EXPECT_EQ(before, readAll(name_));
    dbf copy(out);
    ASSERT_EQ(1, copy.open(1));
    EXPECT_EQ(0x83, copy.version());
    EXPECT_EQ(0, copy.recCount());
    auto memo = readAll(copy.memoFileName());
    ASSERT_EQ(512u, memo.size());
    EXPECT_EQ(1u, le32(memo, 0));
    EXPECT_FALSE(t.holdsTableLock());
    dbf other(name_.c_str());
    ASSERT_EQ(1, other.open(1));
    EXPECT_EQ(1, other.lockTable());
}

// The packed table as the record-by-record algorithm builds it: every live record appended, each field set
// from the source's text, each memo written with writeMemo (an empty one takes no block).
void buildReference(const std::string& source, const std::string& reference) {
    // Beside the test's own writer Windows lets a second handle in only with write access.
    dbf src(source.c_str());
    ASSERT_EQ(1, src.open(1));
    src.setOemConversion(false);
    std::vector<FieldDef> defs;
    for (int i = 0; i < src.fieldCount(); ++i) {
        const FieldInfo* info = src.fieldInfo(i);
        defs.push_back(field(info->name, info->type, info->type == 'D' ? 8 : info->width, info->decimals));
    }
    dbf ref(reference.c_str());
    ASSERT_EQ(1, ref.create(defs.data(), static_cast<int>(defs.size())));
    ASSERT_EQ(1, ref.open(1));
    ref.setOemConversion(false);
    ASSERT_EQ(1, ref.lockTable());
    for (src.goTop(); !src.isEof(); src.skip(1)) {
        if (src.isDeleted())
            continue;
        ASSERT_EQ(1, ref.appendBlank());
        for (int i = 0; i < src.fieldCount(); ++i)
            if (src.fieldType(i) != 'M')
                ref.setField(i, src.getField(i));  // a refused number leaves the blank field
        ASSERT_EQ(1, ref.writeRecord());
        for (int i = 0; i < src.fieldCount(); ++i) {
            if (src.fieldType(i) != 'M')
                continue;
            std::string text = src.readMemo(src.getField(i));
            if (!text.empty()) {
                ASSERT_EQ(1, ref.writeMemo(i, text.c_str()));
            }
        }
    }
    ASSERT_EQ(1, ref.unlock());
}

// Walks the memo texts from block 2: each must start where the previous one's blocks end and be the memo
// of a record, and the file and the next-free counter must end behind the last one.
void expectNoDeadBlocks(const std::string& table, const std::string& memoFile) {
    auto memo = readAll(memoFile);
    ASSERT_GE(memo.size(), 512u);
    uint32_t next = le32(memo, 0);
    std::vector<long> referenced;
    dbf t(table.c_str());
    ASSERT_EQ(1, t.open(0));
    for (t.goTop(); !t.isEof(); t.skip(1))
        if (atol(t.getField(5)) > 0)
            referenced.push_back(atol(t.getField(5)));
    if (referenced.empty()) {
        EXPECT_EQ(512u, memo.size());
        EXPECT_EQ(1u, next);
        return;
    }
    uint32_t block = 2;
    size_t end = 0;
    for (long want : referenced) {
        EXPECT_EQ(static_cast<uint32_t>(want), block);
        size_t at = static_cast<size_t>(block) * 512, length = 0;
        while (at + length < memo.size() && memo[at + length] != 0x1A)
            ++length;
        ASSERT_LT(at + length, memo.size());
        end = at + length + 1;
        block += static_cast<uint32_t>((length + 1) / 512 + 1);
    }
    EXPECT_EQ(next, block);
    EXPECT_EQ(end, memo.size());
}

TEST_F(Maintenance, PackEqualsTheRecordByRecordCopyAndLeavesNoDeadBlocks) {
    for (const char* hidden : {"0", "1"}) {
        SCOPED_TRACE(hidden);
        dbftest::TempDir dir;
        std::string name = dir.file("P.DBF");
        mainttest::makeSample(name);
        setting(SET_DELETED, hidden);
        dbf t(name.c_str());
        ASSERT_EQ(1, t.open(1));
        ASSERT_EQ(1, t.goTo(2));
        long here = t.recNo();
        char out[512] = {};
        ASSERT_EQ(1, t.packToNew(out));
        EXPECT_EQ(name + "6", out);
        EXPECT_EQ(here, t.recNo());
        EXPECT_TRUE(t.oemConversion());
        EXPECT_FALSE(t.holdsTableLock());
        buildReference(name, dir.file("R.DBF"));
        auto got = readAll(out), want = readAll(dir.file("R.DBF"));
        ASSERT_EQ(want.size(), got.size());
        for (size_t i = 0; i < got.size(); ++i)
            if (i < 1 || i > 3) {  // the creation date may differ
                ASSERT_EQ(want[i], got[i]) << "byte " << i;
            }
        std::string memoName = out;
        memoName.back() = 'T';
        EXPECT_EQ(readAll(dir.file("R.DBT")), readAll(memoName));
        EXPECT_EQ(3u, fileRecords(out).size());
        expectNoDeadBlocks(out, memoName);
        setting(SET_DELETED, "0");
    }
}

// Field bytes of every kind, canonical or not (numbers too wide, stray signs, zero bytes, bad dates,
// lower-case logicals): the packed copy holds what setField makes of each, exactly as the reference.
TEST_F(Maintenance, PackSetsEveryFieldAsSetFieldWouldWhateverItsBytes) {
    FieldDef defs[] = {field("C", 'C', 5),     field("N", 'N', 7, 2), field("I", 'N', 4),
                       field("W", 'N', 25, 3), field("D", 'D', 8),    field("L", 'L', 1)};
    dbf t(name_.c_str());
    ASSERT_EQ(1, t.create(defs, 6));
    ASSERT_EQ(1, t.open(1));
    dbftest::appendRows(t, std::vector<std::vector<std::string>>(3000, std::vector<std::string>{"x"}));
    t.close();
    auto bytes = readAll(name_);
    size_t header = dbftest::le16(bytes, 8), length = dbftest::le16(bytes, 10);
    std::mt19937 random(11);
    const std::string pieces[] = {"  1.25",
                                  "-0.50",
                                  "12345.678",
                                  "   0",
                                  "007",
                                  "+3",
                                  "-",
                                  ".5",
                                  "1e3",
                                  "20240229",
                                  "20230229",
                                  "19991231",
                                  "        ",
                                  "T",
                                  "F",
                                  "t",
                                  "y",
                                  "?",
                                  std::string(1, '\0'),
                                  " ",
                                  "ab",
                                  "9999999999999999999.999",
                                  "12345678901234567.891"};
    for (size_t r = 0; r < 3000; ++r) {
        char* record = reinterpret_cast<char*>(&bytes[header + r * length]);
        record[0] = random() % 5 == 0 ? '*' : ' ';
        for (size_t i = 1; i < length; ++i)
            record[i] = ' ';
        // Each field right-aligned or left-aligned pieces, cut to the width.
        size_t offsets[] = {1, 6, 13, 17, 42, 50, 51};
        for (int f = 0; f < 6; ++f) {
            std::string text = pieces[random() % (sizeof pieces / sizeof pieces[0])];
            size_t width = offsets[f + 1] - offsets[f];
            if (random() % 2 && text.size() < width)
                text = std::string(width - text.size(), ' ') + text;
            memcpy(record + offsets[f], text.data(), std::min(text.size(), width));
        }
    }
    dbftest::writeAll(name_, bytes);
    ASSERT_EQ(1, t.open(1));
    char out[512] = {};
    ASSERT_EQ(1, t.packToNew(out));
    buildReference(name_, dir_.file("R.DBF"));
    auto got = fileRecords(out), want = fileRecords(dir_.file("R.DBF"));
    ASSERT_EQ(want.size(), got.size());
    EXPECT_GT(got.size(), 2000u);
    for (size_t i = 0; i < got.size(); ++i) {
        ASSERT_EQ(want[i], got[i]) << "record " << i + 1;
    }
}

TEST_F(Maintenance, PackOfOnlyDeletedRecordsWritesNoRecordsAndNoMemoText) {
    auto rows = mainttest::sampleRows();
    for (auto& row : rows)
        row.deleted = true;
    mainttest::makeSample(name_, rows);
    dbf t(name_.c_str());
    ASSERT_EQ(1, t.open(1));
    char out[512] = {};
    ASSERT_EQ(1, t.packToNew(out));
    dbf packed(out);
    ASSERT_EQ(1, packed.open(0));
    EXPECT_EQ(0, packed.recCount());
    EXPECT_EQ(512u, readAll(packed.memoFileName()).size());
}

TEST_F(Maintenance, PackKeepsTheBytesAsStoredWhateverTheConversion) {
    mainttest::makeSample(name_);
    setting(SET_OEMTOANSI, "0");  // the object then converts nothing; the copy must not either way
    dbf t(name_.c_str());
    ASSERT_EQ(1, t.open(1));
    t.setOemConversion(true);
    char out[512] = {};
    ASSERT_EQ(1, t.packToNew(out));
    auto source = fileRecords(name_), packed = fileRecords(out);
    ASSERT_EQ(3u, packed.size());
    // NAME and CITY of the live records 1, 3, 4 come over byte for byte (code page 852 as stored).
    size_t k = 0;
    for (size_t i : {0u, 2u, 3u}) {
        EXPECT_EQ(source[i].substr(0, 43), packed[k++].substr(0, 43));
    }
    EXPECT_EQ('\xB5', packed[0][1]);  // Á in code page 852
    EXPECT_TRUE(t.oemConversion());
}

}  // namespace
