// Text rules: Hungarian case mapping, the two collation tables, 852-to-437 narrowing, labels,
// 16-bit narrowing and the string utilities, including their buffer limits.
#include "base/text_rules.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "base/codepage.h"
#include "base/settings.h"

namespace {

class TextRules : public testing::Test {
  protected:
    void SetUp() override { resetSettings(); }
    void TearDown() override { resetSettings(); }
};

// The Hungarian alphabet in Windows-1250, small and capital letters position by position.
const char kHunSmall[] =
    "a\xE1"
    "bcdef\xE9ghi\xEDjklmno\xF3\xF6\xF5pqrstu\xFA\xFC\xFBvwxyz";
const char kHunCapital[] =
    "A\xC1"
    "BCDEF\xC9GHI\xCDJKLMNO\xD3\xD6\xD5PQRSTU\xDA\xDC\xDBVWXYZ";

TEST_F(TextRules, LetterListsAreWindows1250Bytes) {
    const unsigned char kLower[] = {0xF6, 0xFC, 0xF3, 0xF5, 0xFA, 0xE9, 0xE1, 0xFB, 0xED, 0};
    const unsigned char kUpper[] = {0xD6, 0xDC, 0xD3, 0xD5, 0xDA, 0xC9, 0xC1, 0xDB, 0xCD, 0};
    EXPECT_EQ(std::memcmp(setting(SET_HUN_LOWER), kLower, sizeof kLower), 0);
    EXPECT_EQ(std::memcmp(setting(SET_HUN_UPPER), kUpper, sizeof kUpper), 0);
}

TEST_F(TextRules, WholeHungarianAlphabetChangesCase) {
    char buffer[64];
    EXPECT_STREQ(toUpperHun(kHunSmall, buffer), kHunCapital);
    EXPECT_STREQ(toLowerHun(kHunCapital, buffer), kHunSmall);
    // In place.
    std::strcpy(buffer, kHunSmall);
    EXPECT_STREQ(toUpperHun(buffer, buffer), kHunCapital);
    for (std::size_t i = 0; kHunSmall[i]; ++i) {
        EXPECT_EQ(toUpperHunChar(kHunSmall[i]), kHunCapital[i]) << i;
        EXPECT_EQ(toLowerHunChar(kHunCapital[i]), kHunSmall[i]) << i;
    }
}

TEST_F(TextRules, OtherAccentedLettersKeepTheirCase) {
    // ä ç ś ř ę and their capitals, digits and punctuation stay as they are.
    const char kOthers[] =
        "\xE4\xE7\x9C\xF8\xEA\xC4\xC7\x8C\xD8\xCA"
        "0189 .,-";
    char buffer[32];
    EXPECT_STREQ(toUpperHun(kOthers, buffer), kOthers);
    EXPECT_STREQ(toLowerHun(kOthers, buffer), kOthers);
}

TEST_F(TextRules, CaseFollowsTheSettingsAtEveryCall) {
    char buffer[8];
    setting(SET_HUN_LOWER, "\xE4");  // ä
    setting(SET_HUN_UPPER, "\xC4");  // Ä
    EXPECT_STREQ(toUpperHun("\xE4\xF6", buffer), "\xC4\xF6");
    // A shorter partner list: letters without a partner stay.
    setting(SET_HUN_LOWER, "\xE4\xF6");
    EXPECT_STREQ(toUpperHun("\xE4\xF6", buffer), "\xC4\xF6");
    EXPECT_EQ(toUpperHunChar('\xF6'), '\xF6');
    // Only the first nine letters pair up.
    setting(SET_HUN_LOWER, "123456789\xE4");
    setting(SET_HUN_UPPER, "ABCDEFGHI\xC4");
    EXPECT_STREQ(toUpperHun("1\xE4", buffer), "A\xE4");
}

TEST_F(TextRules, AnsiTableFoldsAccentedVowels) {
    struct Fold {
        unsigned char first, last;
        char as;
    };
    const Fold kFolds[] = {{0xC0, 0xC5, 'A'}, {0xC8, 0xCB, 'E'}, {0xCC, 0xCF, 'I'}, {0xD0, 0xD6, 'O'},
                           {0xD9, 0xDC, 'U'}, {0xE0, 0xE5, 'a'}, {0xE8, 0xEB, 'e'}, {0xEC, 0xEF, 'i'},
                           {0xF2, 0xF6, 'o'}, {0xF9, 0xFC, 'u'}};
    int folded = 0;
    for (int c = 0; c < 256; ++c) {
        char expected = static_cast<char>(c);
        for (const Fold& f : kFolds)
            if (c >= f.first && c <= f.last)
                expected = f.as;
        EXPECT_EQ(static_cast<char>(collateByte(static_cast<unsigned char>(c), kCollateAnsi)), expected) << c;
        folded += expected != static_cast<char>(c);
    }
    EXPECT_EQ(folded, 48);
}

// The OEM table, checked through the code page: every Hungarian letter in 852 folds onto the same
// letter as its Windows-1250 counterpart does under the ANSI table, except the small o with double
// acute, whose byte 0x8B the OEM table keeps folding as the i with diaeresis it is in code page 437.
TEST_F(TextRules, OemTableAgreesWithAnsiTableForHungarianVowels) {
    std::string ansi = std::string(kHunSmall) + kHunCapital;
    std::vector<char> oem(ansi.begin(), ansi.end());
    oem.push_back(0);
    ansiToOem(oem.data());
    for (std::size_t i = 0; i < ansi.size(); ++i) {
        unsigned char expected = collateByte(static_cast<unsigned char>(ansi[i]), kCollateAnsi);
        if (ansi[i] == '\xF5')
            expected = 'i';
        EXPECT_EQ(collateByte(static_cast<unsigned char>(oem[i]), kCollateOem), expected) << "letter " << i;
    }
}

TEST_F(TextRules, OemTableQuirks) {
    EXPECT_EQ(collateByte(0x8B, kCollateOem), 'i');  // ő in 852 (ï in 437) sorts as i
    EXPECT_EQ(collateByte(0x8A, kCollateOem), 'O');  // Ő
    EXPECT_EQ(collateByte(0x8E, kCollateOem), 'A');
    EXPECT_EQ(collateByte(0xD6, kCollateOem), 'I');
    EXPECT_EQ(collateByte(0xFB, kCollateOem), 'u');
    EXPECT_EQ(collateByte(0x87, kCollateOem), 0x87);  // consonants are untouched
    EXPECT_EQ(collateByte('Z', kCollateOem), 'Z');
    char text[] = "\xA0rv\xA1zt\xFBr\x8B";  // árvíztűrő in 852
    EXPECT_STREQ(collate(text, kCollateOem), "arvizturi");
}

TEST_F(TextRules, ComparisonFoldsAccentsOnlyWhenAsked) {
    EXPECT_EQ(compareHun("\xD6R\xD6M", "OROM"), 0);  // ÖRÖM / OROM
    EXPECT_LT(compareHun("\xC1ron", "Bal"), 0);      // Áron before Bal
    EXPECT_LT(compareHun("ab", "abc"), 0);
    EXPECT_GT(compareHun("b", "a"), 0);
    EXPECT_EQ(compareText("\xD6R\xD6M", "OROM"), 0);
    setting(SET_HUN_CMP, "0");
    EXPECT_NE(compareText("\xD6R\xD6M", "OROM"), 0);
    EXPECT_GT(compareText("\xC1ron", "Bal"), 0);
    setting(SET_HUN_CMP, "01");  // starts with 0: plain bytes
    EXPECT_NE(compareText("\xD6R\xD6M", "OROM"), 0);
    EXPECT_EQ(compareCollated("\x99x\0y", "Ox\0z", 3, kCollateOem), 0);  // counts zero bytes, stops at n
    EXPECT_LT(compareCollated("\x99x\0y", "Ox\0z", 4, kCollateOem), 0);
}

TEST_F(TextRules, Narrow852To437) {
    char text[] =
        "\x8A\x8B\xB5\xD6\xE0\xE9\xEB\xFB"
        "ab\x94";
    EXPECT_STREQ(narrow852To437(text),
                 "\x99\x94\x8F\xA1\xA2\xA3\x9A\x81"
                 "ab\x94");
}

TEST_F(TextRules, Labels) {
    EXPECT_STREQ(label("BR_ASZTAL"), "Desktop");
    EXPECT_STREQ(label("BR_FLOPPY"), " (floppy)");
    EXPECT_STREQ(label("BR_HALOZATIESZKOZ"), " (Network drive)");
    EXPECT_STREQ(label("BR_DBF"), "Direct dBase III-access");
    EXPECT_STREQ(label("BR_COMMAND"), "command");
    EXPECT_STREQ(label("BR_CPRIV"), "Column privileges");
    EXPECT_STREQ(label("BR_NOSUCH"), "Table privileges");
    EXPECT_STREQ(label("br_asztal"), "Table privileges");  // exact keys only
    EXPECT_STREQ(label(""), "Table privileges");
}

TEST_F(TextRules, NarrowWide) {
    // "Ab" then U+0151 (ő, low byte 0x51) then the terminator.
    char wide[] = {'A', 0, 'b', 0, 0x51, 0x01, 0, 0, 'z', 0};
    EXPECT_STREQ(narrowWide(wide, sizeof wide), "AbQ");
    // A zero low byte before a non-zero one is stepped over one byte at a time.
    char odd[] = {0, 'x', 0, 0, 0};
    EXPECT_STREQ(narrowWide(odd, sizeof odd), "x");
    // No 16-bit terminator inside the buffer: the walk stops at its end.
    char* unterminated = new char[6]{'a', 0, 'b', 0, 'c', 0};
    narrowWide(unterminated, 6);
    EXPECT_STREQ(unterminated, "abc");
    delete[] unterminated;
    char* oddSize = new char[5]{'a', 0, 'b', 0, 'c'};
    narrowWide(oddSize, 5);
    EXPECT_STREQ(oddSize, "ab");
    delete[] oddSize;
    char one[1] = {'q'};
    EXPECT_STREQ(narrowWide(one, 1), "");
}

TEST_F(TextRules, TrimAndBlank) {
    char buffer[32];
    EXPECT_STREQ(trimLeft("  ab  ", buffer), "ab  ");
    EXPECT_STREQ(trimRight("  ab  ", buffer), "  ab");
    std::strcpy(buffer, "   ab c   ");
    EXPECT_STREQ(trim(buffer), "ab c");
    std::strcpy(buffer, "    ");
    EXPECT_STREQ(trim(buffer), "");
    std::strcpy(buffer, "  x");
    EXPECT_STREQ(trimLeft(buffer, buffer), "x");
    EXPECT_EQ(isBlank(""), 1);
    EXPECT_EQ(isBlank("   "), 1);
    EXPECT_EQ(isBlank(" a "), 0);
    EXPECT_EQ(isBlank("\t"), 0);
}

TEST_F(TextRules, SearchAndCount) {
    EXPECT_EQ(containsChar('b', "abc"), 1);
    EXPECT_EQ(containsChar('z', "abc"), 0);
    EXPECT_EQ(containsChar(0, "abc"), 0);
    EXPECT_EQ(findText("lo", "hello lo"), 3);
    EXPECT_EQ(findLastText("lo", "hello lo"), 6);
    EXPECT_EQ(findText("x", "hello"), -1);
    EXPECT_EQ(findLastText("x", "hello"), -1);
    EXPECT_EQ(findLastText("hello!", "hello"), -1);
    EXPECT_EQ(findLastText("h", "hello"), 0);
    EXPECT_EQ(findText("", "abc"), -1);
    EXPECT_EQ(findLastText("", "abc"), -1);
    EXPECT_EQ(countChar("a,b,,c", ','), 3);
    EXPECT_EQ(countChar("", ','), 0);
}

TEST_F(TextRules, FillAndPadOrCut) {
    char buffer[8] = "abcdefg";
    fillChars(buffer, 3, '-');
    EXPECT_STREQ(buffer, "---defg");
    fillChars(buffer, 0, '*');
    fillChars(buffer, -2, '*');
    EXPECT_STREQ(buffer, "---defg");
    char pad[8] = "abc";
    EXPECT_STREQ(padOrCut(pad, 5, '*'), "abc**");
    EXPECT_STREQ(padOrCut(pad, 2, '*'), "ab");
    EXPECT_STREQ(padOrCut(pad, 0, '*'), "");
    // A fixed buffer of n + 1 bytes whose first n bytes hold no terminator: nothing past n is read.
    char* field = new char[5];
    std::memcpy(field, "wxyzq", 5);
    EXPECT_STREQ(padOrCut(field, 4, ' '), "wxyz");
    delete[] field;
}

TEST_F(TextRules, InsertStaysInsideTheBuffer) {
    char buffer[8] = "abcd";
    EXPECT_STREQ(insertChar(buffer, sizeof buffer, 2, 'X'), "abXcd");
    EXPECT_STREQ(insertText(buffer, sizeof buffer, 0, "12"), "12abXcd");
    // Full: the tail that no longer fits is dropped, the buffer stays terminated.
    EXPECT_STREQ(insertText(buffer, sizeof buffer, 1, "##"), "1##2abX");
    EXPECT_STREQ(insertChar(buffer, sizeof buffer, 99, '!'), "1##2abX");
    char small[8] = "ab";
    EXPECT_STREQ(insertText(small, sizeof small, 99, "cd"), "abcd");
    EXPECT_STREQ(insertText(small, sizeof small, -3, "0"), "0abcd");
    EXPECT_STREQ(insertText(small, sizeof small, 2, "LONGTEXT"), "0aLONGT");
    // An unterminated buffer is treated as full, never read past its size.
    char* raw = new char[4];
    std::memcpy(raw, "wxyz", 4);
    EXPECT_STREQ(insertChar(raw, 4, 0, 'a'), "awx");
    delete[] raw;
}

TEST_F(TextRules, PathParts) {
    char buffer[64];
    EXPECT_STREQ(fileNamePart("C:\\data\\tables\\PEOPLE.DBF", buffer), "PEOPLE.DBF");
    EXPECT_STREQ(directoryPart("C:\\data\\tables\\PEOPLE.DBF", buffer), "C:\\data\\tables\\");
    EXPECT_STREQ(fileNamePart("PEOPLE.DBF", buffer), "PEOPLE.DBF");
    EXPECT_STREQ(directoryPart("PEOPLE.DBF", buffer), "");
    EXPECT_STREQ(fileNamePart("C:\\data\\", buffer), "");
    EXPECT_STREQ(directoryPart("C:\\data\\", buffer), "C:\\data\\");
}

TEST_F(TextRules, DigitsAndZero) {
    for (int c = 0; c < 256; ++c)
        EXPECT_EQ(isDigit(c), c >= '0' && c <= '9' ? 1 : 0) << c;
    EXPECT_EQ(isZero("0"), 1);
    EXPECT_EQ(isZero("  0.000"), 1);
    EXPECT_EQ(isZero(""), 1);
    EXPECT_EQ(isZero("abc"), 1);
    EXPECT_EQ(isZero("-0"), 1);
    EXPECT_EQ(isZero("0.001"), 0);
    EXPECT_EQ(isZero(" 12"), 0);
}

TEST_F(TextRules, StringArrays) {
    char** array = newStringArray(5, 16);
    ASSERT_NE(array, nullptr);
    for (int i = 0; i < 5; ++i) {
        EXPECT_STREQ(array[i], "");
        std::memset(array[i], 'x', 16);  // all size bytes are usable
    }
    freeStringArray(array, 5);
    freeStringArray(newStringArray(0, 10), 0);
    freeStringArray(nullptr, 3);
}

TEST_F(TextRules, LongTexts) {
    std::string big(100000, 'a');
    big[50000] = '\xF6';
    std::vector<char> buffer(big.size() + 1);
    toUpperHun(big.c_str(), buffer.data());
    EXPECT_EQ(buffer[50000], '\xD6');
    EXPECT_EQ(buffer[99999], 'A');
    EXPECT_EQ(compareHun(big.c_str(), big.c_str()), 0);
    EXPECT_EQ(findLastText("a", big.c_str()), 99999);
    EXPECT_EQ(countChar(big.c_str(), 'a'), 99999);
}

}  // namespace
