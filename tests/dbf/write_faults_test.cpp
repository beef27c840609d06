// Whole-table operations under failing writes, opens and cancels: whatever goes wrong, the user's table
// keeps every record and memo, and no partial output is left behind.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <set>

#include "dbf/restructure.h"
#include "dbf/table_swap.h"
#include "tests/dbf/fault_fs.h"
#include "tests/dbf/maint_test_util.h"

namespace {

using dbftest::FaultOp;
using dbftest::FaultyFileSystem;
using dbftest::ScopedFileSystem;

// Every record's bytes, each followed by its memo text read whole, through a handle of its own.
std::vector<std::string> snapshot(const std::string& name) {
    dbf t(name.c_str());
    if (!t.open(0))
        return {"unopenable"};
    std::vector<std::string> out;
    for (long r = 1; r <= t.recCount(); ++r) {
        t.goTo(r);
        std::string record(t.recordBuffer(), static_cast<size_t>(t.recordLength()));
        for (int i = 0; i < t.fieldCount(); ++i)
            if (t.fieldType(i) == 'M')
                record += "|" + t.readMemoWhole(t.getField(i));
        out.push_back(record);
    }
    return out;
}

std::set<std::string> filesIn(const std::filesystem::path& dir) {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir))
        names.insert(entry.path().filename().string());
    return names;
}

std::vector<std::string> sortedCopy(std::vector<std::string> v) {
    std::sort(v.begin(), v.end());
    return v;
}

// One operation on the open sample table T.DBF in `dir`; a success adds `adds` records.
struct Operation {
    const char* name;
    std::function<int(dbf&, const std::string& dir)> run;
    size_t adds = 0;
    bool inPlace = false;  // rewrites the table's records (a persistent failure cannot be undone there)
};

std::vector<Operation> operations() {
    return {
        {"pack",
         [](dbf& t, const std::string&) {
             char out[512];
             return t.packToNew(out);
         }},
        {"zap",
         [](dbf& t, const std::string&) {
             char out[512];
             return t.zapToNew(out);
         }},
        {"sort in place", [](dbf& t, const std::string&) { return t.sortRecords("NAME", nullptr); }, 0, true},
        {"sort to a file", [](dbf& t, const std::string& d) { return t.sortRecords("CITY", (d + "/S.DBF").c_str()); }},
        {"append a table", [](dbf& t, const std::string& d) { return t.appendFrom((d + "/SRC.DBF").c_str()); }, 5},
        {"append text", [](dbf& t, const std::string& d) { return t.appendFrom((d + "/SRC.TXT").c_str()); }, 2},
        {"export text", [](dbf& t, const std::string& d) { return t.exportText((d + "/E.TXT").c_str()); }},
        {"export html",
         [](dbf& t, const std::string& d) { return t.exportHtml((d + "/E.HTM").c_str(), "x", nullptr); }},
        {"restructure",
         [](dbf& t, const std::string& d) {
             auto defs = mainttest::sampleFields();
             std::string fresh;
             return copyToNewStructure(t, defs.data(), static_cast<int>(defs.size()), d + "/T.DBF", systemFileOps(),
                                       fresh);
         }},
    };
}

class WriteFaults : public dbftest::DbfTest {
  protected:
    // A fresh folder with the sample table T.DBF and the append sources SRC.DBF and SRC.TXT.
    std::string prepare(int round) {
        std::string dir = dir_.file("r" + std::to_string(round));
        std::filesystem::create_directory(dir);
        mainttest::makeSample(dir + "/T.DBF");
        mainttest::makeSample(dir + "/SRC.DBF");
        dbftest::writeAll(dir + "/SRC.TXT", std::string("Text row\r\nAnother\r\n"));
        return dir;
    }
};

// Each write (then each open) of each operation fails in turn, once, or half-way and every later one
// too, as on a full disk: the table keeps its records and memos, and a failure leaves no new file.
TEST_F(WriteFaults, NoFailedWriteOrOpenLosesTheTableOrLeavesPartialOutput) {
    int round = 0;
    for (const Operation& op : operations()) {
        FaultyFileSystem fs;
        std::string dir = prepare(++round);
        int writes = 0, opens = 0;
        {
            dbf t((dir + "/T.DBF").c_str());
            ASSERT_EQ(1, t.open(1));
            ScopedFileSystem scope(fs);
            ASSERT_EQ(1, op.run(t, dir)) << op.name;
            writes = fs.calls(FaultOp::Write);
            opens = fs.calls(FaultOp::Open);
        }
        struct Fault {
            FaultOp op;
            bool later;
        };
        const Fault faults[] = {{FaultOp::Write, false}, {FaultOp::Write, true}, {FaultOp::Open, false}};
        for (const Fault& fault : faults) {
            int total = fault.op == FaultOp::Write ? writes : opens;
            if (fault.later && op.inPlace)
                continue;
            for (int k = 1; k <= total; ++k) {
                SCOPED_TRACE(std::string(op.name) + (fault.op == FaultOp::Open ? " open " : " write ") +
                             std::to_string(k) + (fault.later ? " and later" : ""));
                dir = prepare(++round);
                auto before = snapshot(dir + "/T.DBF");
                auto filesBefore = filesIn(dir);
                int result = 0;
                {
                    dbf t((dir + "/T.DBF").c_str());
                    ASSERT_EQ(1, t.open(1));
                    ScopedFileSystem scope(fs);
                    fs.failAt(fault.op, k, fault.later, fault.later);
                    result = op.run(t, dir);
                    if (result == 0) {
                        EXPECT_NE(TableError::None, t.lastError());
                    }
                }
                auto after = snapshot(dir + "/T.DBF");
                if (result == 1 && op.adds) {
                    EXPECT_EQ(before.size() + op.adds, after.size());
                } else if (result == 1 && op.inPlace) {
                    EXPECT_EQ(sortedCopy(before), sortedCopy(after));
                } else {
                    EXPECT_EQ(before, after);
                }
                if (result == 0) {
                    EXPECT_EQ(filesBefore, filesIn(dir));
                }
            }
        }
    }
}

// A progress callback that stops at its second call: the operation fails as cancelled and leaves the
// table and the folder as they were. Without a stop the callback is called often, never once a record.
TEST_F(WriteFaults, ACancelLeavesTheTableAsItWasAndProgressIsReportedInSteps) {
    struct Count {
        int calls = 0;
        int stopAt = 0;
    };
    auto report = [](void* context, uint32_t, uint32_t) {
        auto* c = static_cast<Count*>(context);
        return ++c->calls == c->stopAt ? 0 : 1;
    };
    int round = 0;
    for (const Operation& op : operations()) {
        if (std::string(op.name) == "zap")
            continue;  // an empty copy has no records to count
        SCOPED_TRACE(op.name);
        std::string dir = prepare(++round);
        auto before = snapshot(dir + "/T.DBF");
        auto filesBefore = filesIn(dir);
        Count count;
        count.stopAt = 2;
        {
            dbf t((dir + "/T.DBF").c_str());
            ASSERT_EQ(1, t.open(1));
            t.setProgress({report, &count});
            EXPECT_EQ(0, op.run(t, dir));
            EXPECT_EQ(TableError::Cancelled, t.lastError());
        }
        EXPECT_EQ(before, snapshot(dir + "/T.DBF"));
        EXPECT_EQ(filesBefore, filesIn(dir));
    }
    // 20,000 records report in steps of 1%, not once a record.
    std::string dir = prepare(++round);
    {
        dbf t((dir + "/T.DBF").c_str());
        ASSERT_EQ(1, t.open(1));
        ASSERT_EQ(1, t.lockTable());
        for (int i = 0; i < 20000; ++i)
            ASSERT_EQ(1, t.appendBlank());
        t.unlock();
        Count count;
        t.setProgress({report, &count});
        ASSERT_EQ(1, t.exportText((dir + "/E.TXT").c_str()));
        EXPECT_GE(count.calls, 50);
        EXPECT_LE(count.calls, 120);
    }
}

// Each operation refuses while another holder has a record locked, and says so.
TEST_F(WriteFaults, ARefusedLockIsReportedAsSuch) {
    int round = 0;
    for (const Operation& op : operations()) {
        SCOPED_TRACE(op.name);
        std::string dir = prepare(++round);
        dbf holder((dir + "/T.DBF").c_str());
        ASSERT_EQ(1, holder.open(1));
        ASSERT_EQ(1, holder.lockRecord());
        dbf t((dir + "/T.DBF").c_str());
        ASSERT_EQ(1, t.open(1));
        EXPECT_EQ(0, op.run(t, dir));
        EXPECT_EQ(TableError::LockRefused, t.lastError());
    }
}

}  // namespace
