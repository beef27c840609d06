// Maintenance and export seen from outside: dbfread reads the packed table, Python's html.parser reads the
// exported page, and a table locked by another process makes every operation refuse and change nothing.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include "base/codepage.h"
#include "base/find.h"
#include "dbf/maintenance.h"
#include "tests/dbf/maint_test_util.h"

namespace {

using dbftest::readAll;
using mainttest::oracle;
using mainttest::unhex;

class MaintInterop : public dbftest::DbfTest {
  protected:
    std::string name_ = dir_.file("I.DBF");
};

// The browse window swaps the packed files in under the table's name; dbfread finds the memo file by it.
TEST_F(MaintInterop, DbfreadSeesExactlyTheLiveRecordsAndTheirMemosAfterPacking) {
    if (!mainttest::havePythonModule("dbfread"))
        GTEST_SKIP() << "dbfread is not installed";
    mainttest::makeSample(name_);
    dbf t(name_.c_str());
    ASSERT_EQ(1, t.open(1));
    char out[512] = {};
    ASSERT_EQ(1, t.packToNew(out));
    t.close();
    dbftest::TempDir swapped;
    std::string packed = swapped.file("I.DBF"), memo(out);
    memo.back() = 'T';
    dbftest::writeAll(packed, readAll(out));
    dbftest::writeAll(swapped.file("I.DBT"), readAll(memo));

    auto rows = oracle("dbfread", packed, swapped.file("rows.txt"));
    ASSERT_FALSE(rows.empty());
    EXPECT_EQ((std::vector<std::string>{"names", "NAME", "CITY", "AMOUNT", "DAY", "OK", "NOTE"}), rows[0]);
    auto sample = mainttest::sampleRows();
    std::vector<size_t> live;
    for (size_t i = 0; i < sample.size(); ++i)
        if (!sample[i].deleted)
            live.push_back(i);
    ASSERT_EQ(live.size() + 1, rows.size());  // and no deleted records
    const char* amounts[] = {"12.5", "-3.0", "0.0", "99999.99", "0.0"};
    const char* days[] = {"20240229", "19991231", "-", "20000101", "-"};
    for (size_t k = 0; k < live.size(); ++k) {
        const auto& want = sample[live[k]];
        const auto& got = rows[k + 1];
        SCOPED_TRACE(k);
        ASSERT_EQ(7u, got.size());
        EXPECT_EQ("live", got[0]);
        // Texts come back in code page 852; the sample is Windows-1250.
        std::string name = want.fields[0], city = want.fields[1];
        ansiToOem(name.data());
        ansiToOem(city.data());
        EXPECT_EQ(name, unhex(got[1]));
        EXPECT_EQ(city, unhex(got[2]));
        EXPECT_EQ(amounts[live[k]], got[3]);
        EXPECT_EQ(days[live[k]], got[4]);
        EXPECT_EQ(want.fields[4], got[5]);
        if (want.memo.empty()) {
            EXPECT_EQ("-", got[6]);
        } else
            EXPECT_EQ(want.memo, unhex(got[6]));
    }
}

TEST_F(MaintInterop, HtmlParserReadsTheExpectedCells) {
    if (!mainttest::havePythonModule("html.parser"))
        GTEST_SKIP() << "python3 is not installed";
    mainttest::makeSample(name_);
    dbf t(name_.c_str());
    ASSERT_EQ(1, t.open(0));
    const char* titles[] = {"N\xE9v", "V<ros", "\xD6sszeg & m\xE1s", "Nap", "OK", "Megjegyz\xE9s"};
    std::string page = dir_.file("x&y.htm");
    ASSERT_EQ(1, t.exportHtml(page.c_str(), "\x8A\x9A\x8D\x9D & <Kft>", titles));  // Šš Ťť
    auto items = oracle("html", page, dir_.file("cells.txt"));
    ASSERT_EQ(7u, items.size());
    EXPECT_EQ((std::vector<std::string>{"charset", "TEXT/HTML; charset=windows-1250"}), items[0]);
    EXPECT_EQ("title", items[1][0]);
    EXPECT_EQ("\x8A\x9A\x8D\x9D & <Kft>", unhex(items[1][1]));
    EXPECT_EQ("caption", items[2][0]);
    EXPECT_EQ(page, unhex(items[2][1]));
    ASSERT_EQ(7u, items[3].size());
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(titles[i], unhex(items[3][i + 1]));
    }
    const std::string nbsp = "\xA0";
    const std::vector<std::vector<std::string>> cells = {
        {"\xC1rv\xEDzt\xFBr\xF5" + std::string(21, ' '), "Szeged      ", "     12.50", "20240229", "T", "         2"},
        {"<b>&amp;" + std::string(22, ' '), "a<b" + std::string(9, ' '), "      0.00", nbsp, "T", nbsp},
        {"T\xFCk\xF6rf\xFAr\xF3g\xE9p" + std::string(18, ' '), nbsp, "  99999.99", "20000101", "F", ""},
    };
    for (size_t r = 0; r < cells.size(); ++r) {
        SCOPED_TRACE(r);
        ASSERT_EQ(7u, items[r + 4].size());
        for (size_t c = 0; c < 6; ++c) {
            if (r == 2 && c == 5)
                EXPECT_GT(atol(unhex(items[r + 4][c + 1]).c_str()), 2);  // a memo's block number
            else
                EXPECT_EQ(cells[r][c], unhex(items[r + 4][c + 1])) << "cell " << c;
        }
    }
}

// A child process opens the table and holds its table lock until the parent says it is done.
class LockedByAnotherProcess : public MaintInterop {
  protected:
    void SetUp() override {
        MaintInterop::SetUp();
        mainttest::makeSample(name_);
        int ready[2], done[2];
        ASSERT_EQ(0, pipe(ready));
        ASSERT_EQ(0, pipe(done));
        child_ = fork();
        ASSERT_GE(child_, 0);
        if (child_ == 0) {
            close(ready[0]);
            close(done[1]);
            dbf holder(name_.c_str());
            char ok = holder.open(1) && holder.lockTable() ? 'y' : 'n';
            if (write(ready[1], &ok, 1) != 1)
                _exit(2);
            char c;
            while (read(done[0], &c, 1) < 0) {
            }
            _exit(0);
        }
        close(ready[1]);
        close(done[0]);
        done_ = done[1];
        char ok = 0;
        ASSERT_EQ(1, read(ready[0], &ok, 1));
        close(ready[0]);
        ASSERT_EQ('y', ok);
    }
    void TearDown() override {
        if (child_ > 0) {
            close(done_);
            int status = 0;
            waitpid(child_, &status, 0);
            EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
        }
        MaintInterop::TearDown();
    }
    pid_t child_ = -1;
    int done_ = -1;
};

TEST_F(LockedByAnotherProcess, EveryOperationReturnsZeroAndChangesNothing) {
    std::string text = dir_.file("in.txt"), other = dir_.file("OTHER.DBF");
    dbftest::writeAll(text, std::string(80, 'x') + "\r\n");
    auto defs = mainttest::sampleFields();
    {
        dbf o(other.c_str());
        ASSERT_EQ(1, o.create(defs.data(), static_cast<int>(defs.size())));
    }
    auto table = readAll(name_), memo = readAll(dir_.file("I.DBT"));
    auto entries = [&] { return findFiles((dir_.path() / "*").string().c_str()).size(); };
    size_t before = entries();
    dbf t(name_.c_str());
    ASSERT_EQ(1, t.open(1));
    ASSERT_EQ(1, t.goTo(3));
    char out[512] = "untouched";
    EXPECT_EQ(0, t.zapToNew(out));
    EXPECT_EQ(0, t.packToNew(out));
    EXPECT_STREQ("untouched", out);
    EXPECT_EQ(0, t.sortRecords("NAME", nullptr));
    EXPECT_EQ(0, t.sortRecords("NAME", dir_.file("SORTED.DBF").c_str()));
    EXPECT_EQ(0, t.appendFrom(text.c_str()));
    EXPECT_EQ(0, t.appendFrom(other.c_str()));
    EXPECT_EQ(0, t.exportText(dir_.file("out.txt").c_str()));
    EXPECT_EQ(0, t.exportHtml(dir_.file("out.htm").c_str(), "t", nullptr));
    EXPECT_EQ(3, t.recNo());
    EXPECT_TRUE(t.oemConversion());
    EXPECT_STREQ("1", setting(SET_OEMTOANSI));
    EXPECT_EQ(table, readAll(name_));
    EXPECT_EQ(memo, readAll(dir_.file("I.DBT")));
    EXPECT_EQ(before, entries());

    // The other way round: a source table locked elsewhere is not appended.
    dbf o(other.c_str());
    ASSERT_EQ(1, o.open(1));
    EXPECT_EQ(0, o.appendFrom(name_.c_str()));
    EXPECT_EQ(0, o.recCount());
    EXPECT_FALSE(o.holdsTableLock());
}

}  // namespace
