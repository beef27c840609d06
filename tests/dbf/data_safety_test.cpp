// Places where a table's data could be lost or silently changed: names too long to open whole, memo
// block numbers in narrow fields, long memos, the order of memo and record writes, damaged memo headers,
// the reach of the table lock, and the table's own files reached under another spelling.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <iterator>

#include "dbf/restructure.h"
#include "dbf/table_swap.h"
#include "tests/dbf/fault_fs.h"
#include "tests/dbf/maint_test_util.h"

namespace {

using dbftest::FaultOp;
using dbftest::FaultyFileSystem;
using dbftest::field;
using dbftest::ScopedFileSystem;

class DataSafety : public dbftest::DbfTest {
  protected:
    // ID N4, NOTE M `memoWidth`, one record per memo text (an empty one: no memo).
    void makeMemoTable(const std::string& name, int memoWidth, const std::vector<std::string>& memos) {
        FieldDef defs[] = {field("ID", 'N', 4), field("NOTE", 'M', static_cast<uint16_t>(memoWidth))};
        dbf t(name.c_str());
        ASSERT_EQ(1, t.create(defs, 2));
        ASSERT_EQ(1, t.open(1));
        ASSERT_EQ(1, t.lockTable());
        for (size_t i = 0; i < memos.size(); ++i) {
            ASSERT_EQ(1, t.appendBlank());
            ASSERT_EQ(1, t.setField(0, std::to_string(i + 1).c_str()));
            ASSERT_EQ(1, t.writeRecord());
            if (!memos[i].empty()) {
                ASSERT_EQ(1, t.writeMemo(1, memos[i].c_str()));
            }
        }
        t.unlock();
    }
    std::vector<std::string> memosOf(const std::string& name) {
        dbf t(name.c_str());
        std::vector<std::string> out;
        if (!t.open(0))
            return {"unopenable"};
        for (long r = 1; r <= t.recCount(); ++r) {
            t.goTo(r);
            out.push_back(t.readMemoWhole(t.getField(1)));
        }
        return out;
    }
    std::string table_ = dir_.file("T.DBF");
};

// Pack, append and restructure carry memos whole, also in M fields narrower than 10 characters.
TEST_F(DataSafety, MemosSurvivePackAppendAndRestructureAtAnyLengthAndFieldWidth) {
    const std::vector<std::string> memos = {"short", std::string(70000, 'L'), std::string(600, 'm')};
    const std::function<std::string(dbf&, const std::string&)> copies[] = {
        [](dbf& t, const std::string&) {
            char out[512];
            return t.packToNew(out) ? std::string(out) : "";
        },
        [](dbf& t, const std::string& dir) {
            std::string target = dir + "/A.DBF";
            dbf empty(target.c_str());
            char out[512];
            if (!t.zapToNew(out) || !platform::renameFile(out, target.c_str()) ||
                !platform::renameFile(memoNameFor(out).c_str(), memoNameFor(target).c_str()) || !empty.open(1))
                return std::string();
            return empty.appendFrom(t.fileName()) ? target : "";
        },
        [](dbf& t, const std::string& dir) {
            FieldDef defs[] = {field("NOTE", 'M', 10), field("ID", 'N', 5)};
            std::string fresh;
            return copyToNewStructure(t, defs, 2, dir + "/R.DBF", systemFileOps(), fresh) ? fresh : "";
        },
    };
    for (int width : {4, 10}) {
        for (const auto& copy : copies) {
            SCOPED_TRACE("width " + std::to_string(width));
            dbftest::TempDir dir;
            std::string name = dir.file("T.DBF");
            makeMemoTable(name, width, memos);
            dbf t(name.c_str());
            ASSERT_EQ(1, t.open(1));
            std::string out = copy(t, dir.path().string());
            ASSERT_FALSE(out.empty());
            dbf copied(out.c_str());
            ASSERT_EQ(1, copied.open(0));
            int note = copied.fieldIndex("NOTE");
            for (long r = 1; r <= 3; ++r) {
                copied.goTo(r);
                EXPECT_EQ(memos[static_cast<size_t>(r - 1)], copied.readMemoWhole(copied.getField(note)));
            }
        }
    }
}

// Whichever memo write fails (once, or half-way and every later one), the record does not point at
// blocks the counter still calls free: the next memo of another record never lands in them.
TEST_F(DataSafety, AFailedMemoWriteLeavesNoRecordPointingAtFreeBlocks) {
    for (bool later : {false, true}) {
        for (int k = 1; k <= 3; ++k) {
            SCOPED_TRACE("memo write " + std::to_string(k) + (later ? " and later" : ""));
            dbftest::TempDir dir;
            std::string name = dir.file("T.DBF");
            makeMemoTable(name, 10, {"", ""});
            FaultyFileSystem fs;
            int first = 0;
            {
                ScopedFileSystem scope(fs);
                dbf t(name.c_str());
                ASSERT_EQ(1, t.open(1));
                ASSERT_EQ(1, t.lockTable());
                fs.failAt(FaultOp::Write, k, later, later, ".DBT");
                t.goTo(1);
                first = t.writeMemo(1, "first");
                fs.clear();
                t.goTo(2);
                ASSERT_EQ(1, t.writeMemo(1, "second"));
                t.unlock();
            }
            EXPECT_EQ((std::vector<std::string>{first == 1 ? "first" : "", "second"}), memosOf(name));
        }
    }
}

// Without the record's lock or the table's, a memo is not rewritten in place, nor while another holder
// has the record locked; a damaged header cannot make the rewrite wrap onto another record's memo.
TEST_F(DataSafety, AMemoIsRewrittenOnlyUnderTheLockAndWithinTheFile) {
    makeMemoTable(table_, 10, {"keep", "mine"});
    // The tables close before the files are read back: on Windows a read-only open shares reading only,
    // so it cannot open a table another object holds for writing.
    {
        dbf t(table_.c_str());
        ASSERT_EQ(1, t.open(1));
        t.goTo(2);
        EXPECT_EQ(0, t.writeMemo(1, "unlocked"));
        dbf holder(table_.c_str());
        ASSERT_EQ(1, holder.open(1));
        holder.goTo(2);
        ASSERT_EQ(1, holder.lockRecord());
        EXPECT_EQ(0, t.writeMemo(1, "held"));
        holder.unlock();
    }
    EXPECT_EQ((std::vector<std::string>{"keep", "mine"}), memosOf(table_));

    // A counter of 2^23 + 100 lets record 2 claim block 2^23 + 2, which is byte 1024 when cut to 32 bits.
    std::string memoName = memoNameFor(table_);
    auto bytes = dbftest::readAll(memoName);
    uint32_t damaged = (1u << 23) + 100;
    for (int i = 0; i < 4; ++i)
        bytes[static_cast<size_t>(i)] = static_cast<uint8_t>(damaged >> (8 * i));
    dbftest::writeAll(memoName, bytes);
    {
        dbf t(table_.c_str());
        ASSERT_EQ(1, t.open(1));
        t.goTo(2);
        ASSERT_EQ(1, t.lockRecord());
        ASSERT_EQ(1, t.setField(1, "8388610"));
        ASSERT_EQ(1, t.writeRecord());
        EXPECT_NE(1, t.writeMemo(1, "overwrites"));
        t.unlock();
    }
    EXPECT_EQ("keep", memosOf(table_)[0]);
}

// A failed write of appendBlank (once or half-way) never leaves the count ahead of the records.
TEST_F(DataSafety, AFailedAppendBlankLeavesNoPhantomRecord) {
    for (bool half : {false, true}) {
        for (int k = 1; k <= 2; ++k) {
            SCOPED_TRACE("write " + std::to_string(k) + (half ? " half-way" : ""));
            dbftest::TempDir dir;
            std::string name = dir.file("T.DBF");
            makeMemoTable(name, 10, {"a"});
            FaultyFileSystem fs;
            int result = 0;
            {
                ScopedFileSystem scope(fs);
                dbf t(name.c_str());
                ASSERT_EQ(1, t.open(1));
                ASSERT_EQ(1, t.lockTable());
                fs.failAt(FaultOp::Write, k, false, half);
                result = t.appendBlank();
                t.unlock();
            }
            auto file = dbftest::readAll(name);
            uint32_t count = dbftest::le32(file, 4);
            EXPECT_EQ(result == 1 ? 2u : 1u, count);
            EXPECT_GE(file.size(), dbftest::le16(file, 8) + size_t{count} * dbftest::le16(file, 10));
        }
    }
}

// A record appended under the table lock is covered by it: another holder cannot lock or write it.
TEST_F(DataSafety, TheTableLockCoversRecordsAppendedUnderIt) {
    makeMemoTable(table_, 10, {"a"});
    dbf t(table_.c_str()), other(table_.c_str());
    ASSERT_EQ(1, t.open(1));
    ASSERT_EQ(1, other.open(1));
    ASSERT_EQ(1, t.lockTable());
    ASSERT_EQ(1, t.appendBlank());
    ASSERT_EQ(1, t.writeRecord());
    other.goBottom();
    ASSERT_EQ(2, other.recNo());
    EXPECT_EQ(0, other.lockRecord());
    t.unlock();
    EXPECT_EQ(1, other.lockRecord());
}

// Names one character too long to open whole are refused, not cut back to the table's own name.
TEST_F(DataSafety, NamesTooLongToOpenAreRefusedAndTheTableStays) {
    std::string dir = dir_.path().string() + "/";
    std::string name = dir + std::string(kMaxFileName - dir.size() - 4, 'N') + ".DBF";
    ASSERT_EQ(kMaxFileName, name.size());
    mainttest::makeSample(name);
    auto before = mainttest::fileRecords(name);
    const std::string longer = name + "X";
    const std::function<int(dbf&)> ops[] = {
        [](dbf& t) {
            char out[512];
            return t.packToNew(out);
        },
        [](dbf& t) {
            char out[512];
            return t.zapToNew(out);
        },
        [&](dbf& t) { return t.exportText(longer.c_str()); },
        [&](dbf& t) { return t.exportHtml(longer.c_str(), "x", nullptr); },
        [&](dbf& t) { return t.sortRecords("NAME", longer.c_str()); },
        [&](dbf& t) {
            auto defs = mainttest::sampleFields();
            std::string fresh;
            return copyToNewStructure(t, defs.data(), static_cast<int>(defs.size()), name, systemFileOps(), fresh);
        },
    };
    for (const auto& op : ops) {
        dbf t(name.c_str());
        ASSERT_EQ(1, t.open(1));
        EXPECT_EQ(0, op(t));
        EXPECT_NE(TableError::None, t.lastError());
        t.close();
        EXPECT_EQ(before, mainttest::fileRecords(name));
    }
}

// The table's own files under another spelling (relative, "./", "dir/../dir", a second link) are
// refused as export output, append source and sort output, and the table stays whole.
TEST_F(DataSafety, TheTablesOwnFilesAreRecognisedUnderAnySpelling) {
    mainttest::makeSample(table_);
    auto before = mainttest::fileRecords(table_);
    std::string dir = dir_.path().string();
    std::string parent = dir_.path().filename().string();
    std::filesystem::create_hard_link(table_, dir + "/LINK.DBF");
    std::filesystem::create_hard_link(memoNameFor(table_), dir + "/LINKMEMO");
    struct CurrentDir {
        std::filesystem::path saved = std::filesystem::current_path();
        ~CurrentDir() { std::filesystem::current_path(saved); }
    } restore;
    std::filesystem::current_path(dir);
    const char* tableSpellings[] = {"T.DBF", "./T.DBF", "LINK.DBF"};
    std::vector<std::string> spellings(std::begin(tableSpellings), std::end(tableSpellings));
    spellings.push_back(dir + "/./T.DBF");
    spellings.push_back(dir + "/../" + parent + "/T.DBF");
    spellings.push_back("./T.DBT");
    spellings.push_back("LINKMEMO");
    for (const std::string& spelling : spellings) {
        SCOPED_TRACE(spelling);
        dbf t(table_.c_str());
        ASSERT_EQ(1, t.open(1));
        EXPECT_EQ(0, t.exportText(spelling.c_str()));
        EXPECT_EQ(TableError::SameFile, t.lastError());
        EXPECT_EQ(0, t.exportHtml(spelling.c_str(), "x", nullptr));
        EXPECT_EQ(0, t.appendFrom(spelling.c_str()));
        EXPECT_EQ(TableError::SameFile, t.lastError());
        t.close();
        EXPECT_EQ(before, mainttest::fileRecords(table_));
    }
    dbf t(table_.c_str());
    ASSERT_EQ(1, t.open(1));
    EXPECT_EQ(0, t.sortRecords("NAME", "LINKMEMO"));
    EXPECT_EQ(TableError::SameFile, t.lastError());
    EXPECT_EQ(0, t.sortRecords("NAME", "./T.DBX"));  // its memo copy would be the table's memo file
}

// Tables other writers make with room behind the last field pack; a record another holder appends
// just before the sort takes its lock is sorted with the others.
TEST_F(DataSafety, PackTakesRoomBehindTheFieldsAndSortCountsUnderItsLock) {
    FieldDef defs[] = {field("A", 'C', 3), field("B", 'C', 2)};
    {
        dbf t(table_.c_str());
        ASSERT_EQ(1, t.create(defs, 2));
        ASSERT_EQ(1, t.open(1));
        dbftest::appendRows(t, {{"ccc", "zz"}, {"bbb", "yy"}});
    }
    // The second descriptor becomes the terminator: field B is room behind field A.
    auto bytes = dbftest::readAll(table_);
    bytes[64] = 0x0D;
    dbftest::writeAll(table_, bytes);
    dbf t(table_.c_str());
    ASSERT_EQ(1, t.open(1));
    char out[512];
    ASSERT_EQ(1, t.packToNew(out));
    EXPECT_EQ((std::vector<std::string>{" ccc", " bbb"}), mainttest::fileRecords(out));

    FaultyFileSystem fs;
    fs.beforeLock = [&] {
        dbf other(table_.c_str());
        ASSERT_EQ(1, other.open(1));
        dbftest::appendRows(other, {{"aaa"}});
    };
    {
        ScopedFileSystem scope(fs);
        dbf sorted(table_.c_str());
        ASSERT_EQ(1, sorted.open(1));
        ASSERT_EQ(1, sorted.sortRecords("A", nullptr));
    }
    auto sorted = mainttest::fileRecords(table_);
    ASSERT_EQ(3u, sorted.size());
    EXPECT_EQ(" aaa", sorted[0].substr(0, 4));
    EXPECT_EQ(" ccc", sorted[2].substr(0, 4));
}

// A table whose memo file cannot be made, or whose header cannot be written, is not left behind.
TEST_F(DataSafety, ACreateThatFailsLeavesNoFile) {
    FieldDef defs[] = {field("ID", 'N', 4), field("NOTE", 'M', 10)};
    struct Case {
        FaultOp op;
        int nth;
    };
    for (Case c : {Case{FaultOp::Open, 2}, Case{FaultOp::Write, 1}, Case{FaultOp::Write, 2}}) {
        SCOPED_TRACE(std::to_string(c.nth));
        FaultyFileSystem fs;
        fs.failAt(c.op, c.nth, false, true);
        dbf t(table_.c_str());
        {
            ScopedFileSystem scope(fs);
            EXPECT_EQ(0, t.create(defs, 2));
        }
        EXPECT_FALSE(platform::fileExists(table_.c_str()));
        EXPECT_FALSE(platform::fileExists(memoNameFor(table_).c_str()));
    }
}

}  // namespace
