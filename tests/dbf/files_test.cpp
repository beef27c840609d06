// files: open flags, CR LF lines both ways, positioned and read-ahead reads, byte-range locks per handle.
#include "base/files.h"

#include <gtest/gtest.h>

#include <cstring>

#include "tests/dbf/dbf_test_util.h"

namespace {

using dbftest::TempDir;
using dbftest::writeAll;

constexpr uint32_t kReadWrite = platform::kGenericRead | platform::kGenericWrite;
constexpr uint32_t kShareAll = platform::kShareRead | platform::kShareWrite;

class Files : public testing::Test {
  protected:
    void SetUp() override { resetSettings(); }
    void TearDown() override { resetSettings(); }
    files openWith(const std::string& bytes) {
        writeAll(name_, bytes);
        return files(name_.c_str(), 512);
    }
    TempDir dir_;
    std::string name_ = dir_.file("text.txt");
};

TEST_F(Files, EmptyFileOpensWithBothFlagsAndFirstReadReturnsZero) {
    files f = openWith("");
    ASSERT_EQ(1, f.openFile(platform::kGenericRead, platform::kShareRead, platform::kOpenExisting, 0));
    EXPECT_EQ(1, f.isEof());
    EXPECT_EQ(1, f.isStart());
    char buffer[4];
    uint32_t got = 99;
    EXPECT_EQ(0, f.read(buffer, sizeof buffer, &got));
    EXPECT_EQ(0u, got);
    EXPECT_EQ(1, f.isEof());
}

TEST_F(Files, FailedOpenKeepsNoHandleAndSetsBothFlags) {
    files f(dir_.file("missing.txt").c_str(), 512);
    EXPECT_EQ(0, f.openFile(platform::kGenericRead, platform::kShareRead, platform::kOpenExisting, 0));
    EXPECT_FALSE(f.isOpen());
    EXPECT_EQ(1, f.isEof());
    EXPECT_EQ(1, f.isStart());
    EXPECT_EQ(0, f.closeFile());
}

TEST_F(Files, ReadLineSplitsAtCrLfAndReportsTheEnd) {
    files f = openWith("ab\r\ncd");
    ASSERT_EQ(1, f.openFile(platform::kGenericRead, platform::kShareRead, platform::kOpenExisting, 0));
    char line[16];
    uint32_t got = 0;
    ASSERT_EQ(1, f.readLine(line, 10, &got));
    EXPECT_STREQ("ab", line);
    EXPECT_STREQ("ab", f.lastLine());
    ASSERT_EQ(1, f.readLine(line, 10, &got));
    EXPECT_STREQ("cd", line);
    EXPECT_EQ(0, f.readLine(line, 10, &got));
    EXPECT_EQ(1, f.isEof());
}

TEST_F(Files, ReadLineCutsALongLineAndItsRestBecomesTheNextLine) {
    files f = openWith("abcdef\r\n");
    ASSERT_EQ(1, f.openFile(platform::kGenericRead, platform::kShareRead, platform::kOpenExisting, 0));
    char line[8];
    uint32_t got = 0;
    ASSERT_EQ(1, f.readLine(line, 3, &got));
    EXPECT_STREQ("abc", line);
    ASSERT_EQ(1, f.readLine(line, 3, &got));
    EXPECT_STREQ("def", line);
    ASSERT_EQ(1, f.readLine(line, 3, &got));
    EXPECT_STREQ("", line);
    EXPECT_EQ(0, f.readLine(line, 3, &got));
}

TEST_F(Files, ReadLineStopsAtAZeroByteAndGoesOnBehindIt) {
    files f = openWith(std::string("ab\0cd\r\n", 7));
    ASSERT_EQ(1, f.openFile(platform::kGenericRead, platform::kShareRead, platform::kOpenExisting, 0));
    char line[16];
    uint32_t got = 0;
    ASSERT_EQ(1, f.readLine(line, 10, &got));
    EXPECT_STREQ("ab", line);
    ASSERT_EQ(1, f.readLine(line, 10, &got));
    EXPECT_STREQ("cd", line);
}

TEST_F(Files, ReadPrevLineWalksBackwardsAndSetsTheStartFlagAtZero) {
    files f = openWith("one\r\ntwo\r\nthree\r\n");
    ASSERT_EQ(1, f.openFile(platform::kGenericRead, platform::kShareRead, platform::kOpenExisting, 0));
    char line[32];
    uint32_t got = 0;
    f.seek(0, platform::kFileEnd);
    EXPECT_STREQ("three", f.readPrevLine(line, 30, &got));
    EXPECT_EQ(10u, f.tell());
    EXPECT_STREQ("two", f.readPrevLine(line, 30, &got));
    EXPECT_STREQ("one", f.readPrevLine(line, 30, &got));
    EXPECT_EQ(0u, f.tell());
    EXPECT_STREQ("", f.readPrevLine(line, 30, &got));
    EXPECT_EQ(1, f.isStart());
    EXPECT_EQ(0u, got);
}

TEST_F(Files, MoveLinesForwardAndBackConvertsOemTextWhenAsked) {
    // "\x82" is e-acute in code page 852 and "\xE9" in Windows-1250.
    files f = openWith("l1\r\nl2 \x82\r\nl3\r\n");
    ASSERT_EQ(1, f.openFile(platform::kGenericRead, platform::kShareRead, platform::kOpenExisting, 0));
    char line[520];
    EXPECT_STREQ("l1", f.moveLines(1, line));
    EXPECT_STREQ("l2 \xE9", f.moveLines(1, line));
    EXPECT_STREQ("l2 \xE9", f.moveLines(-1, line));
    setting(SET_OEMTOANSI, "0");
    f.seek(0, platform::kFileBegin);
    EXPECT_STREQ("l1", f.moveLines(0, line));
    EXPECT_STREQ("l2 \x82", f.moveLines(1, line));
}

TEST_F(Files, PositionedReadsAndWritesAndTheReadAheadWindow) {
    std::string bytes(100000, 'x');
    for (size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<char>('a' + i % 26);
    files f = openWith(bytes);
    ASSERT_EQ(1, f.openFile(kReadWrite, kShareAll, platform::kOpenExisting, platform::kFlagRandomAccess));
    char buffer[64];
    uint32_t got = 0;
    for (uint32_t at : {0u, 40000u, 99990u}) {
        ASSERT_EQ(1, f.readAhead(at, buffer, 20, &got));
        ASSERT_EQ(at == 99990u ? 10u : 20u, got);
        EXPECT_EQ(0, memcmp(buffer, bytes.data() + at, got));
    }
    EXPECT_EQ(0, f.readAhead(100000, buffer, 20, &got));
    EXPECT_EQ(0u, got);
    EXPECT_EQ(1, f.isEof());
    // A write through the object replaces what the window held.
    ASSERT_EQ(1, f.readAhead(500, buffer, 10, &got));
    uint32_t written = 0;
    ASSERT_EQ(1, f.writeAt(505, "HELLO", 5, &written));
    EXPECT_EQ(510u, f.tell());
    ASSERT_EQ(1, f.readAhead(500, buffer, 10, &got));
    EXPECT_EQ(0, memcmp(buffer + 5, "HELLO", 5));
}

TEST_F(Files, LocksConflictBetweenTwoHandlesOfOneProcess) {
    files a = openWith(std::string(1000, ' '));
    files b(name_.c_str(), 512);
    ASSERT_EQ(1, a.openFile(kReadWrite, kShareAll, platform::kOpenExisting, 0));
    ASSERT_EQ(1, b.openFile(kReadWrite, kShareAll, platform::kOpenExisting, 0));
    ASSERT_EQ(1, a.lock(100, 50));
    EXPECT_EQ(100u, a.lastLockOffset());
    EXPECT_EQ(0, b.lock(120, 10));
    EXPECT_EQ(0, b.lock(0, 101));
    EXPECT_EQ(1, b.lock(150, 10));  // the ranges touch but do not overlap
    EXPECT_EQ(1, a.unlock(100, 50));
    EXPECT_EQ(1, b.lock(120, 10));
    EXPECT_EQ(1, b.unlock(120, 10));
    EXPECT_EQ(1, b.unlock(150, 10));
}

}  // namespace
