// Memo files: block allocation, in-place rewrites, the 511-character step, the 63999-character cut,
// locks, and damaged memo files.
#include <gtest/gtest.h>

#include "tests/dbf/dbf_test_util.h"

namespace {

using dbftest::field;
using dbftest::le32;
using dbftest::readAll;
using dbftest::writeAll;

class Memo : public dbftest::DbfTest {
  protected:
    void SetUp() override {
        DbfTest::SetUp();
        FieldDef defs[] = {field("ID", 'N', 4), field("NOTE", 'M', 10)};
        dbf maker(name_.c_str());
        ASSERT_EQ(1, maker.create(defs, 2));
        ASSERT_EQ(1, maker.open(1));
        dbftest::appendRows(maker, {{"1"}, {"2"}, {"3"}});
    }
    uint32_t nextFree() { return le32(readAll(memoName_), 0); }
    long block(dbf& t) { return atol(t.getField(1)); }
    std::string name_ = dir_.file("M.DBF");
    std::string memoName_ = dir_.file("M.DBT");
};

TEST_F(Memo, FirstMemoGoesToBlockTwoAndShortRewritesStayInPlace) {
    dbf t(name_.c_str());
    ASSERT_EQ(1, t.open(1));
    EXPECT_STREQ("", t.readMemo(t.getField(1)));  // blank field: no memo
    ASSERT_EQ(1, t.lockRecord());
    ASSERT_EQ(1, t.writeMemo(1, "hello"));
    EXPECT_EQ(std::string("         2"), t.getField(1));
    EXPECT_EQ(3u, nextFree());
    auto bytes = readAll(memoName_);
    ASSERT_EQ(1024u + 6, bytes.size());
    EXPECT_EQ(std::string("hello\x1A"), std::string(bytes.begin() + 1024, bytes.end()));
    ASSERT_EQ(1, t.writeMemo(1, "bye"));
    EXPECT_EQ(2, block(t));
    EXPECT_EQ(3u, nextFree());
    EXPECT_STREQ("bye", t.readMemo(t.getField(1)));
    t.unlock();
    dbf other(name_.c_str());
    ASSERT_EQ(1, other.open(1));
    EXPECT_STREQ("bye", other.readMemo(other.getField(1)));
    EXPECT_STREQ("", other.readMemo("0"));
    EXPECT_STREQ("", other.readMemo("          "));
}

TEST_F(Memo, TheFiveHundredElevenCharacterStep) {
    dbf t(name_.c_str());
    ASSERT_EQ(1, t.open(1));
    ASSERT_EQ(1, t.lockTable());
    ASSERT_EQ(1, t.writeMemo(1, std::string(510, 'a').c_str()));
    EXPECT_EQ(3u, nextFree());
    t.skip(1);
    ASSERT_EQ(1, t.writeMemo(1, std::string(511, 'b').c_str()));
    EXPECT_EQ(3, block(t));
    EXPECT_EQ(5u, nextFree());  // 511 characters and the 0x1A fill one block; the counter moves by two
    // A text of 511 characters or more never overwrites: a new place each time.
    ASSERT_EQ(1, t.writeMemo(1, std::string(600, 'c').c_str()));
    EXPECT_EQ(5, block(t));
    EXPECT_EQ(7u, nextFree());
    EXPECT_EQ(std::string(600, 'c'), t.readMemo(t.getField(1)));
    t.goTop();
    EXPECT_EQ(std::string(510, 'a'), t.readMemo(t.getField(1)));
}

TEST_F(Memo, ASeventyThousandCharacterMemoReadsBackAsItsFirst63999) {
    std::string text(70000, ' ');
    for (size_t i = 0; i < text.size(); ++i)
        text[i] = static_cast<char>('A' + i % 23);
    dbf t(name_.c_str());
    ASSERT_EQ(1, t.open(1));
    ASSERT_EQ(1, t.lockRecord());
    ASSERT_EQ(1, t.writeMemo(1, text.c_str()));
    EXPECT_EQ(2u + 70001 / 512 + 1, nextFree());
    std::string back = t.readMemo(t.getField(1));
    EXPECT_EQ(63999u, back.size());
    EXPECT_EQ(text.substr(0, 63999), back);
}

TEST_F(Memo, TextIsStoredInTheOemCodePage) {
    dbf t(name_.c_str());
    ASSERT_EQ(1, t.open(1));
    ASSERT_EQ(1, t.lockRecord());
    // "\xF5r\xFCl" is őrül in Windows-1250; 852 stores ő as 0x8B and ü as 0x81.
    std::string text = "\xF5r\xFCl";
    ASSERT_EQ(1, t.writeMemo(1, text.c_str()));
    EXPECT_EQ("\xF5r\xFCl", text);  // the caller's text comes back unchanged
    auto bytes = readAll(memoName_);
    EXPECT_EQ(std::string("\x8Br\x81l\x1A"), std::string(bytes.begin() + 1024, bytes.begin() + 1029));
    EXPECT_STREQ("\xF5r\xFCl", t.readMemo(t.getField(1)));
}

TEST_F(Memo, WriteMemoWithoutTheLockChangesNothing) {
    dbf t(name_.c_str());
    ASSERT_EQ(1, t.open(1));
    // Neither the in-place rewrite (short text) nor new blocks (long text) may touch either file.
    auto tryWithoutLock = [&](const char* memo) {
        auto memoBefore = readAll(memoName_), tableBefore = readAll(name_);
        for (const std::string& text : {std::string("x"), std::string(700, 'y')}) {
            EXPECT_EQ(0, t.writeMemo(1, text.c_str())) << text.size();
            EXPECT_EQ(memoBefore, readAll(memoName_)) << text.size();
            EXPECT_EQ(tableBefore, readAll(name_)) << text.size();
            EXPECT_STREQ(memo, t.readMemo(t.getField(1)));
        }
    };
    tryWithoutLock("");
    EXPECT_EQ(std::string(10, ' '), t.getField(1));
    ASSERT_EQ(1, t.lockRecord());
    ASSERT_EQ(1, t.writeMemo(1, "kept"));
    ASSERT_EQ(1, t.unlock());
    tryWithoutLock("kept");
    EXPECT_EQ(0, t.writeMemo(2, "x"));
    EXPECT_EQ(0, t.writeMemo(-1, "x"));
    // A record that has a memo keeps it: a short text is not rewritten in place without the lock.
    ASSERT_EQ(1, t.lockRecord());
    ASSERT_EQ(1, t.writeMemo(1, "kept"));
    ASSERT_EQ(1, t.unlock());
    EXPECT_EQ(0, t.writeMemo(1, "lost"));
    EXPECT_STREQ("kept", t.readMemo(t.getField(1)));
    EXPECT_EQ(3u, nextFree());
    // The memo header's lock makes a second writer fail at once.
    dbf other(name_.c_str());
    ASSERT_EQ(1, other.open(1));
    ASSERT_EQ(1, t.lockRecord());
    files holder(memoName_.c_str(), 512);
    ASSERT_EQ(1, holder.openFile(platform::kGenericRead | platform::kGenericWrite,
                                 platform::kShareRead | platform::kShareWrite, platform::kOpenExisting, 0));
    ASSERT_EQ(1, holder.lock(0, 512));
    EXPECT_EQ(0, t.writeMemo(1, "x"));
    holder.unlock(0, 512);
    EXPECT_EQ(1, t.writeMemo(1, "x"));
    EXPECT_STREQ("x", t.readMemo(t.getField(1)));
}

TEST_F(Memo, DamagedMemoFilesReadAsEmptyOrAsFarAsTheyGo) {
    dbf t(name_.c_str());
    ASSERT_EQ(1, t.open(1));
    ASSERT_EQ(1, t.lockRecord());
    ASSERT_EQ(1, t.writeMemo(1, "keep"));
    t.unlock();
    EXPECT_STREQ("", t.readMemo("99999"));       // past the end of the memo file
    EXPECT_STREQ("", t.readMemo("9999999999"));  // past any 32-bit position
    auto bytes = readAll(memoName_);
    bytes.resize(1024);
    std::string open = "no terminator";
    bytes.insert(bytes.end(), open.begin(), open.end());
    writeAll(memoName_, bytes);
    EXPECT_EQ(open, t.readMemo("2"));  // the text ends with the file
}

TEST_F(Memo, ADamagedCounterNeverHandsOutBlocksInUse) {
    dbf t(name_.c_str());
    ASSERT_EQ(1, t.open(1));
    ASSERT_EQ(1, t.lockTable());
    ASSERT_EQ(1, t.writeMemo(1, std::string(700, 'x').c_str()));  // blocks 2 and 3
    t.unlock();
    auto bytes = readAll(memoName_);
    bytes[0] = 2;  // the counter claims block 2 is free
    writeAll(memoName_, bytes);
    t.skip(1);
    ASSERT_EQ(1, t.lockRecord());
    ASSERT_EQ(1, t.writeMemo(1, "new"));
    EXPECT_EQ(4, block(t));
    t.goTop();
    EXPECT_EQ(std::string(700, 'x'), t.readMemo(t.getField(1)));
    // A memo file shorter than its header still takes memos, from block 2 on.
    t.close();
    writeAll(memoName_, std::string(7, '\0'));
    ASSERT_EQ(1, t.open(1));
    ASSERT_EQ(1, t.lockRecord());
    ASSERT_EQ(1, t.writeMemo(1, "again"));
    EXPECT_EQ(2, block(t));
    EXPECT_EQ(3u, nextFree());
    EXPECT_STREQ("again", t.readMemo(t.getField(1)));
}

TEST_F(Memo, ANarrowMemoFieldGetsNumbersThatFitOrNothing) {
    FieldDef defs[] = {field("M", 'M', 1)};
    std::string name = dir_.file("N.DBF");
    dbf t(name.c_str());
    ASSERT_EQ(1, t.create(defs, 1));
    ASSERT_EQ(1, t.open(1));
    dbftest::appendRows(t, {{""}, {""}});
    t.goTop();
    ASSERT_EQ(1, t.lockRecord());
    ASSERT_EQ(1, t.writeMemo(0, std::string(4000, 'a').c_str()));  // blocks 2 to 9
    EXPECT_STREQ("2", t.getField(0));
    EXPECT_EQ(std::string(4000, 'a'), t.readMemo(t.getField(0)));
    t.unlock();
    t.skip(1);
    ASSERT_EQ(1, t.lockRecord());
    EXPECT_EQ(0, t.writeMemo(0, "x"));  // block 10 does not fit in one character
    EXPECT_STREQ("", t.getField(0));    // as appendRows set it: one zero byte
    t.unlock();
}

}  // namespace
