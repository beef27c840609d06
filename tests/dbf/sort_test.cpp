// sortRecords: the order against an independent sort of the same records (raw bytes and both collation
// tables), keys of several fields, the key length limit, memory exhaustion, sorting into a new file.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "dbf/maintenance.h"
#include "tests/dbf/maint_test_util.h"

namespace {

using dbftest::field;
using dbftest::readAll;
using mainttest::fileRecords;

// The collation tables written out again from their definition, independent of the engine's copy.
std::vector<unsigned char> oemFolding() {
    std::vector<unsigned char> t(256);
    for (int c = 0; c < 256; ++c)
        t[c] = static_cast<unsigned char>(c);
    const std::pair<const char*, char> groups[] = {{"\x81\x96\x97\xA3\xFB", 'u'},
                                                   {"\x82\x88\x89", 'e'},
                                                   {"\x83\x84\x85\x86\xA0", 'a'},
                                                   {"\x8B\x8C\x8D\xA1", 'i'},
                                                   {"\x93\x94\x95\xA2", 'o'},
                                                   {"\x8E\x8F\xB5", 'A'},
                                                   {"\x90", 'E'},
                                                   {"\xD6", 'I'},
                                                   {"\x8A\x99\xE0", 'O'},
                                                   {"\x9A\xE9\xEB", 'U'}};
    for (const auto& g : groups)
        for (const char* p = g.first; *p; ++p)
            t[static_cast<unsigned char>(*p)] = static_cast<unsigned char>(g.second);
    return t;
}

std::vector<unsigned char> ansiFolding() {
    std::vector<unsigned char> t(256);
    for (int c = 0; c < 256; ++c)
        t[c] = static_cast<unsigned char>(c);
    const struct {
        int from, to;
        char as;
    } ranges[] = {{0xC0, 0xC5, 'A'}, {0xC8, 0xCB, 'E'}, {0xCC, 0xCF, 'I'}, {0xD0, 0xD6, 'O'}, {0xD9, 0xDC, 'U'},
                  {0xE0, 0xE5, 'a'}, {0xE8, 0xEB, 'e'}, {0xEC, 0xEF, 'i'}, {0xF2, 0xF6, 'o'}, {0xF9, 0xFC, 'u'}};
    for (const auto& r : ranges)
        for (int c = r.from; c <= r.to; ++c)
            t[c] = static_cast<unsigned char>(r.as);
    return t;
}

struct KeyField {
    size_t offset, width;
};

// The key of one record: the key fields back to back, each at most its width and ending at a zero byte,
// folded when a table is given.
std::string keyOf(const std::string& record,
                  const std::vector<KeyField>& fields,
                  const std::vector<unsigned char>* folding) {
    std::string key;
    for (const auto& f : fields)
        for (size_t i = 0; i < f.width && record[f.offset + i] != '\0'; ++i) {
            unsigned char c = static_cast<unsigned char>(record[f.offset + i]);
            key.push_back(static_cast<char>(folding ? (*folding)[c] : c));
        }
    return key;
}

class Sort : public dbftest::DbfTest {
  protected:
    void TearDown() override {
        setSortMemoryLimit(0);
        DbfTest::TearDown();
    }

    // NAME C30, CITY C12, N N5; `count` records of random bytes written without conversion, about one in
    // seven deleted.
    void makeRandom(size_t count, const char* letters, unsigned seed) {
        FieldDef defs[] = {field("NAME", 'C', 30), field("CITY", 'C', 12), field("N", 'N', 5)};
        dbf t(name_.c_str());
        ASSERT_EQ(1, t.create(defs, 3));
        ASSERT_EQ(1, t.open(1));
        t.setOemConversion(false);
        std::mt19937 random(seed);
        std::string alphabet = letters;
        auto word = [&](size_t max) {
            std::string w;
            size_t n = random() % (max + 1);
            for (size_t i = 0; i < n; ++i)
                w.push_back(alphabet[random() % alphabet.size()]);
            return w;
        };
        ASSERT_EQ(1, t.lockTable());
        for (size_t i = 0; i < count; ++i) {
            ASSERT_EQ(1, t.appendBlank());
            t.setField(0, word(random() % 2 ? 3 : 30).c_str());
            t.setField(1, word(2).c_str());
            t.setField(2, std::to_string(i).c_str());
            ASSERT_EQ(1, t.writeRecord());
            if (random() % 7 == 0) {
                ASSERT_EQ(1, t.deleteRecord());
            }
        }
        ASSERT_EQ(1, t.unlock());
    }

    // Sorts by `key` and checks the records against an independent sort of the records read before.
    void expectSorted(const char* key,
                      const std::vector<KeyField>& fields,
                      const std::vector<unsigned char>* folding,
                      bool oem) {
        auto before = fileRecords(name_);
        auto header = readAll(name_);
        header.resize(dbftest::le16(header, 8));
        dbf t(name_.c_str());
        ASSERT_EQ(1, t.open(1));
        t.setOemConversion(oem);
        ASSERT_EQ(1, t.goTo(5));
        ASSERT_EQ(1, t.sortRecords(key, nullptr));
        EXPECT_EQ(5, t.recNo());
        EXPECT_FALSE(t.holdsTableLock());
        auto after = fileRecords(name_);
        ASSERT_EQ(before.size(), after.size());
        auto expected = before;
        std::stable_sort(expected.begin(), expected.end(), [&](const std::string& a, const std::string& b) {
            return keyOf(a, fields, folding) < keyOf(b, fields, folding);
        });
        for (size_t i = 0; i < after.size(); ++i) {
            ASSERT_EQ(keyOf(expected[i], fields, folding), keyOf(after[i], fields, folding)) << "record " << i + 1;
        }
        // The same records, flags included, and the header untouched.
        auto a = after, b = before;
        std::sort(a.begin(), a.end());
        std::sort(b.begin(), b.end());
        EXPECT_EQ(b, a);
        auto now = readAll(name_);
        EXPECT_TRUE(std::equal(header.begin(), header.end(), now.begin()));
    }

    std::string name_ = dir_.file("S.DBF");
};

// Code page 852 letters: the Hungarian accented vowels among others, both cases.
const char kOemLetters[] =
    "aAeEiIoOuUbBzZ \x81\x82\x83\x8A\x8B\x90\x93\x94\x99\x9A\xA0\xA1\xA2\xA3\xB5\xD6\xE0\xE9\xEB\xFB";
// Windows-1250 letters the ANSI table folds, and some it keeps.
const char kAnsiLetters[] =
    "aAeEiIoOuUbBzZ \xC1\xC9\xCD\xD3\xD6\xD5\xDA\xDC\xDB\xE1\xE9\xED\xF3\xF6\xF5\xFA\xFC\xFB\x8A\x9A";

TEST_F(Sort, RawBytesByOneFieldMatchAnIndependentSort) {
    makeRandom(3000, kOemLetters, 1);
    setting(SET_HUN_CMP, "0");
    expectSorted("NAME", {{1, 30}}, nullptr, true);
}

TEST_F(Sort, HungarianCollationOfCodePage852Records) {
    makeRandom(3000, kOemLetters, 2);
    auto folding = oemFolding();
    expectSorted("name", {{1, 30}}, &folding, true);
    EXPECT_STREQ("1", setting(SET_OEMTOANSI));
}

TEST_F(Sort, HungarianCollationOfWindows1250RecordsUsesTheAnsiTable) {
    makeRandom(3000, kAnsiLetters, 3);
    auto folding = ansiFolding();
    expectSorted("NAME+CITY", {{1, 30}, {31, 12}}, &folding, false);
    EXPECT_STREQ("1", setting(SET_OEMTOANSI));  // put back after the sort set it to "0"
}

TEST_F(Sort, TwoFieldsOrderByTheirConcatenatedBytes) {
    makeRandom(2000, "ab ", 4);
    setting(SET_HUN_CMP, "0");
    expectSorted("CITY+NAME", {{31, 12}, {1, 30}}, nullptr, true);
}

TEST_F(Sort, AFieldEndsAtAZeroByteAndTheNextFieldFollowsAtOnce) {
    FieldDef defs[] = {field("A", 'C', 4), field("B", 'C', 2)};
    dbf t(name_.c_str());
    ASSERT_EQ(1, t.create(defs, 2));
    ASSERT_EQ(1, t.open(1));
    dbftest::appendRows(t, {{"ab", "zz"}, {"abc", "aa"}});
    t.close();
    // Zero bytes behind "ab" and "abc": the keys are "abzz" and "abcaa", so the second record sorts first.
    auto bytes = readAll(name_);
    size_t first = dbftest::le16(bytes, 8);
    bytes[first + 3] = bytes[first + 4] = 0;
    bytes[first + 7 + 4] = 0;
    dbftest::writeAll(name_, bytes);
    setting(SET_HUN_CMP, "0");
    ASSERT_EQ(1, t.open(1));
    ASSERT_EQ(1, t.sortRecords("A+B", nullptr));
    auto records = fileRecords(name_);
    EXPECT_EQ(std::string(" abc\0aa", 7), records[0]);
    EXPECT_EQ(std::string(" ab\0\0zz", 7), records[1]);
}

TEST_F(Sort, NamesDifferingOnlyByAccentsCompareEqual) {
    FieldDef defs[] = {field("NAME", 'C', 10), field("ID", 'N', 2)};
    dbf t(name_.c_str());
    ASSERT_EQ(1, t.create(defs, 2));
    ASSERT_EQ(1, t.open(1));
    // Abfa, Ábel, Abez, Abel (Á is 0xC1 in Windows-1250, stored as 0xB5 in code page 852).
    dbftest::appendRows(t, {{"Abfa", "1"},
                            {"\xC1"
                             "bel",
                             "2"},
                            {"Abez", "3"},
                            {"Abel", "4"}});
    auto ids = [&] {
        std::string order;
        for (t.goTop(); !t.isEof(); t.skip(1))
            order += std::to_string(atoi(t.getField(1)));
        return order;
    };
    ASSERT_EQ(1, t.sortRecords("NAME", nullptr));
    std::string hungarian = ids();
    EXPECT_TRUE(hungarian == "2431" || hungarian == "4231") << hungarian;
    setting(SET_HUN_CMP, "0");
    ASSERT_EQ(1, t.sortRecords("NAME", nullptr));
    EXPECT_EQ("4312", ids());
}

TEST_F(Sort, KeysOf255CharactersOrMoreAndUnknownFirstNamesAreRefused) {
    FieldDef defs[] = {field("A", 'C', 200), field("B", 'C', 54), field("C", 'C', 1), field("D", 'C', 5)};
    dbf t(name_.c_str());
    ASSERT_EQ(1, t.create(defs, 4));
    ASSERT_EQ(1, t.open(1));
    dbftest::appendRows(t, {{"b", "x"}, {"a", "y"}});
    auto before = readAll(name_);
    EXPECT_EQ(0, t.sortRecords("A+B+C", nullptr));  // 255 characters
    EXPECT_EQ(0, t.sortRecords("NOPE+A", nullptr));
    EXPECT_EQ(0, t.sortRecords("", nullptr));
    EXPECT_EQ(before, readAll(name_));
    EXPECT_FALSE(t.holdsTableLock());
    // A name that is no field ends the key: A alone (200) is short enough.
    ASSERT_EQ(1, t.sortRecords("A+NOPE+B+C+D", nullptr));
    EXPECT_EQ('a', fileRecords(name_)[0][1]);
    EXPECT_EQ(1, t.sortRecords("A+B", nullptr));  // 254 characters
}

TEST_F(Sort, AnEmptyTableSortsAtOnce) {
    FieldDef defs[] = {field("A", 'C', 3)};
    dbf t(name_.c_str());
    ASSERT_EQ(1, t.create(defs, 1));
    ASSERT_EQ(1, t.open(1));
    auto before = readAll(name_);
    EXPECT_EQ(1, t.sortRecords("NOPE", nullptr));
    EXPECT_EQ(before, readAll(name_));
}

TEST_F(Sort, ATableThatDoesNotFitIntoMemoryIsLeftAsItWas) {
    makeRandom(500, kOemLetters, 5);
    auto before = readAll(name_);
    dbf t(name_.c_str());
    ASSERT_EQ(1, t.open(1));
    ASSERT_EQ(1, t.goTo(7));
    // Room for the records but not for their keys and order: the failure comes after the first allocation.
    setSortMemoryLimit(before.size() + 100);
    EXPECT_EQ(0, t.sortRecords("NAME", nullptr));
    setSortMemoryLimit(1000);
    EXPECT_EQ(0, t.sortRecords("NAME", nullptr));
    EXPECT_EQ(before, readAll(name_));
    EXPECT_EQ(7, t.recNo());
    EXPECT_FALSE(t.holdsTableLock());
    EXPECT_STREQ("1", setting(SET_OEMTOANSI));
    setSortMemoryLimit(0);
    EXPECT_EQ(1, t.sortRecords("NAME", nullptr));
    EXPECT_NE(before, readAll(name_));
}

TEST_F(Sort, IntoANewFileWithItsMemoFile) {
    mainttest::makeSample(name_);
    auto before = readAll(name_);
    std::string out = dir_.file("SORTED.DBF");
    dbf t(name_.c_str());
    ASSERT_EQ(1, t.open(1));
    setting(SET_HUN_CMP, "0");
    ASSERT_EQ(1, t.sortRecords("CITY+NAME", out.c_str()));
    EXPECT_EQ(before, readAll(name_));
    dbf sorted(out.c_str());
    ASSERT_EQ(1, sorted.open(0));
    std::vector<std::string> cities, memos;
    for (sorted.goTop(); !sorted.isEof(); sorted.skip(1)) {
        cities.push_back(mainttest::rtrim(sorted.getField(1)));
        memos.push_back(sorted.readMemo(sorted.getField(5)));
    }
    // Blank cities first (the blank name before Tükörfúrógép), then "P\xE9cs", Szeged, "a<b".
    ASSERT_EQ(5u, cities.size());
    EXPECT_EQ((std::vector<std::string>{"", "",
                                        "P\xE9"
                                        "cs",
                                        "Szeged", "a<b"}),
              cities);
    EXPECT_EQ((std::vector<std::string>{std::string(511, 'm'), "x", std::string(700, 'k'), "first memo", ""}), memos);
}

}  // namespace
