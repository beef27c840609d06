// The table swap never leaves the table's name without a complete table: every rename and delete is
// made to fail in turn (and then every later one too), and the table under its name is checked.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "dbf/table_swap.h"
#include "tests/dbf/dbf_test_util.h"
#include "tests/dbf/fault_fs.h"

namespace {

using dbftest::field;

// The real file system, with the n-th mutating call (rename or remove, counted from 1) failing, and
// optionally every call after it as well.
class FailingOps : public FileOps {
  public:
    FailingOps(int failAt, bool andLater) : failAt_(failAt), andLater_(andLater) {}
    bool exists(const char* name) override { return systemFileOps().exists(name); }
    bool rename(const char* from, const char* to) override {
        return fails() ? false : systemFileOps().rename(from, to);
    }
    bool remove(const char* name) override { return fails() ? false : systemFileOps().remove(name); }
    int calls() const { return calls_; }

  private:
    bool fails() {
        ++calls_;
        return calls_ == failAt_ || (andLater_ && failAt_ > 0 && calls_ > failAt_);
    }
    int failAt_;
    bool andLater_;
    int calls_ = 0;
};

// Writes a table NAME C 10 (+ NOTE M when `memo`) with `rows` records "<tag><i>" and memos "<tag> memo <i>".
void writeTable(const std::string& path, const std::string& tag, int rows, bool memo) {
    const FieldDef defs[] = {field("NAME", 'C', 10), field("NOTE", 'M', 10)};
    dbf table(path.c_str());
    ASSERT_EQ(table.create(defs, memo ? 2 : 1), 1);
    ASSERT_EQ(table.open(1), 1);
    ASSERT_EQ(table.lockTable(), 1);
    for (int i = 1; i <= rows; ++i) {
        ASSERT_EQ(table.appendBlank(), 1);
        ASSERT_EQ(table.setField(0, (tag + std::to_string(i)).c_str()), 1);
        if (memo) {
            ASSERT_EQ(table.writeMemo(1, (tag + " memo " + std::to_string(i)).c_str()), 1);
        }
        ASSERT_EQ(table.writeRecord(), 1);
    }
    table.unlock();
    table.close();
}

// "old" or "new" when the table under `path` is that whole table with its memos, else what is wrong.
std::string whichTable(const std::string& path, int oldRows, bool oldMemo, int newRows, bool newMemo) {
    dbf table(path.c_str());
    if (!table.open(0))
        return "no table under the name";
    table.goTop();
    std::string tag = std::string(table.getField(0)).substr(0, 3);
    bool isOld = tag == "old";
    int rows = isOld ? oldRows : newRows;
    bool memo = isOld ? oldMemo : newMemo;
    if (!isOld && tag != "new")
        return "unknown table " + tag;
    if (table.recCount() != rows)
        return tag + " with " + std::to_string(table.recCount()) + " records";
    if ((table.fieldCount() == 2) != memo)
        return tag + " with the wrong fields";
    for (int i = 1; i <= rows; ++i) {
        table.goTo(i);
        if (std::string(table.getField(0)) != (tag + std::to_string(i) + std::string(10, ' ')).substr(0, 10))
            return tag + " record " + std::to_string(i) + " wrong";
        if (memo && std::string(table.readMemo(table.getField(1))) != tag + " memo " + std::to_string(i))
            return tag + " memo " + std::to_string(i) + " is '" + table.readMemo(table.getField(1)) + "'";
    }
    return tag;
}

std::set<std::string> filesIn(const dbftest::TempDir& dir) {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
        names.insert(entry.path().filename().string());
    return names;
}

struct Pairing {
    bool oldMemo;
    bool newMemo;
};

class TableSwap : public dbftest::DbfTest, public testing::WithParamInterface<Pairing> {
  protected:
    void SetUp() override {
        DbfTest::SetUp();
        table_ = dir_.file("T.DBF");
        fresh_ = dir_.file("T.DBF2");
    }
    void makePair() {
        writeTable(table_, "old", 3, GetParam().oldMemo);
        writeTable(fresh_, "new", 1, GetParam().newMemo);
    }
    std::string table_, fresh_;
};

TEST_P(TableSwap, ASwapWithoutFailuresLeavesOnlyTheNewPair) {
    makePair();
    FailingOps ops(0, false);
    SwapOutcome outcome = swapTableFiles(ops, table_, fresh_);
    EXPECT_EQ(outcome.result, kSwapDone);
    EXPECT_FALSE(outcome.leftovers);
    EXPECT_EQ(outcome.backup, table_ + "0");
    EXPECT_EQ(whichTable(table_, 3, GetParam().oldMemo, 1, GetParam().newMemo), "new");
    std::set<std::string> expected = {"T.DBF"};
    if (GetParam().newMemo)
        expected.insert("T.DBT");
    EXPECT_EQ(filesIn(dir_), expected);
}

TEST_P(TableSwap, EveryFailurePointLeavesACompleteTableUnderItsName) {
    FailingOps count(0, false);
    makePair();
    swapTableFiles(count, table_, fresh_);
    int steps = count.calls();
    ASSERT_GE(steps, 3);
    for (bool andLater : {false, true}) {
        for (int failAt = 1; failAt <= steps; ++failAt) {
            SCOPED_TRACE("failing call " + std::to_string(failAt) + (andLater ? " and every later one" : ""));
            std::filesystem::remove_all(dir_.path());
            std::filesystem::create_directory(dir_.path());
            makePair();
            std::vector<uint8_t> oldTable = dbftest::readAll(table_);
            std::vector<uint8_t> oldMemo = dbftest::readAll(dir_.file("T.DBT"));
            FailingOps ops(failAt, andLater);
            SwapOutcome outcome = swapTableFiles(ops, table_, fresh_);
            std::string found = whichTable(table_, 3, GetParam().oldMemo, 1, GetParam().newMemo);
            // One failure alone is always undone or harmless.
            if (!andLater) {
                EXPECT_NE(outcome.result, kSwapBroken);
            }
            if (outcome.result == kSwapDone) {
                EXPECT_EQ(found, "new");
            } else if (outcome.result == kSwapRestored) {
                EXPECT_EQ(found, "old");
                // The old memo file is back under its own name.
                EXPECT_EQ(std::filesystem::exists(dir_.file("T.DBT")), GetParam().oldMemo);
            } else {
                // Undoing failed as well: nothing was deleted, the old files' bytes are all still there,
                // under their own names or the backup names.
                EXPECT_TRUE(andLater);
                EXPECT_TRUE(dbftest::readAll(table_) == oldTable || dbftest::readAll(outcome.backup) == oldTable);
                if (GetParam().oldMemo) {
                    EXPECT_TRUE(dbftest::readAll(dir_.file("T.DBT")) == oldMemo ||
                                dbftest::readAll(outcome.backupMemo) == oldMemo);
                }
            }
            // Only deleting a backup can fail after the new pair is in place.
            if (outcome.result == kSwapDone && outcome.leftovers) {
                EXPECT_GT(failAt, steps - (GetParam().oldMemo ? 2 : 1));
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    MemoPairs,
    TableSwap,
    testing::Values(Pairing{true, true}, Pairing{false, false}, Pairing{true, false}, Pairing{false, true}),
    [](const testing::TestParamInfo<Pairing>& param) {
        return std::string(param.param.oldMemo ? "OldMemo" : "OldPlain") +
               (param.param.newMemo ? "NewMemo" : "NewPlain");
    });

using SwapNames = dbftest::DbfTest;

TEST_F(SwapNames, BackupNamesSkipTakenNamesAndTheirMemoNames) {
    dbftest::writeAll(dir_.file("A.DBF0"), "x");
    dbftest::writeAll(dir_.file("A.DBF1T"), "x");  // a backup memo of A.DBF1
    dbftest::writeAll(dir_.file("A.DBF2"), "x");
    dbftest::writeAll(dir_.file("A.DBFT"), "x");  // the memo rule's name: never in the way
    std::string base = dir_.file("A.DBF");
    EXPECT_EQ(freeNumberedName(systemFileOps(), base, 0), base + "1");
    EXPECT_EQ(freeNumberedName(systemFileOps(), base, 0, true), base + "3");
    EXPECT_EQ(freeNumberedName(systemFileOps(), base, 5, true), base + "5");
    EXPECT_EQ(memoNameFor("X.DBF"), "X.DBT");
    EXPECT_EQ(memoNameFor(""), "");
}

TEST_F(SwapNames, ASwapWhoseTableIsMissingChangesNothing) {
    writeTable(dir_.file("N.DBF2"), "new", 1, true);
    SwapOutcome outcome = swapTableFiles(systemFileOps(), dir_.file("N.DBF"), dir_.file("N.DBF2"));
    EXPECT_EQ(outcome.result, kSwapRestored);
    EXPECT_FALSE(std::filesystem::exists(dir_.file("N.DBF")));
}

// The real file operations go through the installed file system: a rename it refuses is undone.
TEST_F(SwapNames, TheSwapMeetsTheFailuresOfTheInstalledFileSystem) {
    std::string table = dir_.file("S.DBF"), fresh = dir_.file("S.DBF2");
    writeTable(table, "old", 3, true);
    writeTable(fresh, "new", 1, true);
    dbftest::FaultyFileSystem fs;
    fs.failAt(dbftest::FaultOp::Rename, 3);
    {
        dbftest::ScopedFileSystem scope(fs);
        EXPECT_EQ(kSwapRestored, swapTableFiles(systemFileOps(), table, fresh).result);
    }
    EXPECT_TRUE(fs.fired());
    EXPECT_EQ("old", whichTable(table, 3, true, 1, true));
}

}  // namespace
