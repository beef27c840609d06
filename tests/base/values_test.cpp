// Str and the number formatters: N field texts, display forms, arithmetic and comparisons.
#include "base/values.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>

#include "base/settings.h"

namespace {

class Values : public testing::Test {
  protected:
    void SetUp() override { resetSettings(); }
    void TearDown() override { resetSettings(); }
};

struct NumberCase {
    long double value;
    int width;
    int decimals;
    const char* text;
};

TEST_F(Values, FormatNumber) {
    const NumberCase kCases[] = {
        {123456, 5, 2, "0.00"},  // over-wide with decimals: the "0." form, not padded
        {-1.5L, 6, 1, "  -1.5"},
        {1.5L, 6, 1, "   1.5"},
        {3.14159L, 8, 2, "    3.14"},
        {2.6751L, 6, 2, "  2.68"},
        {2.6749L, 6, 2, "  2.67"},
        {-0.004L, 6, 2, " -0.00"},
        {42, 5, 0, "   42"},
        {42, 5, -1, "   42"},
        {42.7L, 5, 0, "   43"},
        {123456, 3, 0, "123456"},     // 0 decimals: an over-wide text stays whole
        {-99999, 5, 0, "-99999"},     // the minus sign makes it over-wide
        {-9999.5L, 7, 1, "-9999.5"},  // exactly the width
        {-99999.5L, 7, 1, "0.0"},     // one wider
        {0, 1, 0, "0"},
        {0, 0, 0, "0"},
        {0, 10, 3, "     0.000"},
        {1e18L, 18, 5, "0.00000"},
        {12345678901234.5L, 19, 4, "12345678901234.5000"},
    };
    for (const NumberCase& c : kCases)
        EXPECT_STREQ(formatNumber(c.value, c.width, c.decimals).c_str(), c.text)
            << static_cast<double>(c.value) << " " << c.width << " " << c.decimals;
}

TEST_F(Values, FormatNumberNeverExceedsTheWidthWithDecimals) {
    std::mt19937 random(7);
    std::uniform_real_distribution<double> magnitude(-12, 12);
    for (int i = 0; i < 2000; ++i) {
        int width = static_cast<int>(random() % 20) + 1;
        int decimals = static_cast<int>(random() % 6) + 1;
        long double value = std::pow(10.0L, static_cast<long double>(magnitude(random))) * (random() % 2 ? 1 : -1);
        Str s = formatNumber(value, width, decimals);
        std::string zeros = "0." + std::string(static_cast<std::size_t>(decimals), '0');
        // Independently: how many integer digits the width leaves, and the smallest magnitude that
        // needs more after rounding to the decimals.
        int negative = value < 0 ? 1 : 0;
        int integerDigits = width - decimals - 1 - negative;
        long double limit = integerDigits < 1 ? 0 : std::pow(10.0L, integerDigits) - 0.5L * std::pow(10.0L, -decimals);
        long double magnitudeOf = std::fabs(value);
        if (integerDigits >= 1 && std::fabs(magnitudeOf - limit) < 1e-6L * limit)
            continue;  // too close to the rounding edge to judge independently
        if (integerDigits < 1 || magnitudeOf >= limit) {
            EXPECT_EQ(zeros, s.c_str()) << static_cast<double>(value) << " " << width << " " << decimals;
        } else {
            EXPECT_EQ(s.length(), width) << s.c_str();
            EXPECT_NEAR(static_cast<double>(std::strtold(s.c_str(), nullptr)), static_cast<double>(value),
                        0.5 * std::pow(10.0, -decimals) + 1e-9 * std::fabs(static_cast<double>(value)));
        }
    }
}

TEST_F(Values, FormatNumberSurvivesHugeValuesAndWidths) {
    EXPECT_EQ(formatNumber(1e300L, 10, 0).length(), 301);
    EXPECT_STREQ(formatNumber(1e300L, 10, 2).c_str(), "0.00");
    EXPECT_EQ(formatNumber(1, 1000000, 0).length(), 4096);  // widths are held to a sane limit
    EXPECT_EQ(formatNumber(1, -5, 0), "1");
}

TEST_F(Values, FormatInteger) {
    EXPECT_STREQ(formatInteger(17, 10).c_str(), "        17");
    EXPECT_STREQ(formatInteger(-17, 4).c_str(), " -17");
    EXPECT_STREQ(formatInteger(123456, 3).c_str(), "123456");
    EXPECT_STREQ(formatInteger(0, 0).c_str(), "0");
}

TEST_F(Values, FormatDisplayFollowsTheSettings) {
    EXPECT_STREQ(formatDisplay(3.5L).c_str(), "             3.5000");  // width 19, 4 decimals
    setting(SET_NUMLEN, "8");
    setting(SET_DECIMAL, "1");
    EXPECT_STREQ(formatDisplay(-3.25L).c_str(), "    -3.2");
    // A display cell keeps an over-wide number whole instead of showing 0.
    EXPECT_STREQ(formatDisplay(123456789.0L).c_str(), "123456789.0");
    setting(SET_NUMLEN, "-3");
    EXPECT_STREQ(formatDisplay(1.0L).c_str(), "1.0");
}

TEST_F(Values, DoubleDisplayForm) {
    Str s;
    s = 2.5;
    EXPECT_STREQ(s.c_str(), "             2.5000");
    setting(SET_NUMLEN, "7");  // one digit: the width is 7, not a broken template
    setting(SET_DECIMAL, "2");
    s = 2.5;
    EXPECT_STREQ(s.c_str(), "   2.50");
    setting(SET_NUMLEN, "x9");
    setting(SET_DECIMAL, "z");
    s = 2.5;
    EXPECT_STREQ(s.c_str(), "2");
    setting(SET_NUMLEN, "123");  // only two characters count
    setting(SET_DECIMAL, "13");  // only one character counts
    s = 1.0;
    EXPECT_EQ(s.length(), 12);
    EXPECT_STREQ(s.c_str(), "         1.0");
}

TEST_F(Values, ConstructAssignAppend) {
    Str empty;
    EXPECT_EQ(empty.length(), 0);
    EXPECT_STREQ(empty.c_str(), "");
    Str room(40);
    EXPECT_EQ(room.length(), 0);
    Str a("abc");
    Str b(a);
    EXPECT_EQ(b, "abc");
    b += "de";
    b += 'f';
    b += a;
    EXPECT_EQ(b, "abcdefabc");
    EXPECT_EQ(b.length(), 9);
    EXPECT_EQ(a, "abc");
    b += b;
    EXPECT_EQ(b, "abcdefabcabcdefabc");
    Str c(std::move(b));
    EXPECT_EQ(c.length(), 18);
    a = c;
    EXPECT_EQ(a, c);
    a = a;
    EXPECT_EQ(a, c);
    a = a.c_str() + 3;  // a text inside the Str's own buffer
    EXPECT_EQ(a, "defabcabcdefabc");
    a = static_cast<const char*>(nullptr);
    EXPECT_EQ(a, "");
    a = 42;
    EXPECT_EQ(a, "42");
    a = -7L;
    EXPECT_EQ(a, "-7");
    a = 1.25L;
    EXPECT_EQ(a, "           1.25000");
}

TEST_F(Values, MovedFromStrIsAnUsableEmptyText) {
    Str a("abc");
    Str b(std::move(a));
    EXPECT_STREQ(a.c_str(), "");  // NOLINT: reading a moved-from Str is allowed
    a.upper().trim().padLeft(0);
    a += "x";
    EXPECT_EQ(a, "x");
    Str c("def");
    c = std::move(b);
    EXPECT_EQ(c, "abc");
    EXPECT_EQ(b.length(), 0);  // NOLINT
    b = "again";
    EXPECT_EQ(b, "again");
}

TEST_F(Values, Arithmetic) {
    Str s("40");
    s.add(2);
    EXPECT_EQ(s, "42");
    s.subtract(50L);
    EXPECT_EQ(s, "-8");
    s = "";
    s.add(5);
    EXPECT_EQ(s, "5");
    s = "abc";
    s.add(1L);
    EXPECT_EQ(s, "1");
    s = "1.5";
    s.add(1.0L);
    EXPECT_EQ(s, "           2.50000");
    s.subtract(0.25);
    EXPECT_EQ(s, "             2.2500");
    s = "9223372036854775807999";  // beyond any long: held at the limit, no overflow
    s.add(1L);
    EXPECT_GT(s.length(), 9);
    s = "-5";
    s.subtract(-2147483647 - 1);
    EXPECT_EQ(s, "2147483643");
}

TEST_F(Values, Comparisons) {
    EXPECT_TRUE(Str("abc") == Str("abc"));
    EXPECT_TRUE(Str("abc") != Str("abd"));
    EXPECT_TRUE(Str("abc") != "ab");
    EXPECT_TRUE("abc" == Str("abc"));
    // \xD6 = Ö: accent-folded it equals O, byte-compared it sorts after every ASCII letter.
    Str plain("OLAJ");
    Str accented("\xD6LAJ");
    EXPECT_NE(plain, accented);
    EXPECT_TRUE(plain <= accented);
    EXPECT_TRUE(plain >= accented);
    EXPECT_FALSE(plain < accented);
    EXPECT_TRUE(Str("\xC1rp\xE1"
                    "d") < Str("Bence"));  // Árpád before Bence
    setting(SET_HUN_CMP, "0");
    EXPECT_TRUE(plain < accented);
    EXPECT_TRUE(Str("\xC1rp\xE1"
                    "d") > Str("Bence"));
    EXPECT_TRUE(Str("a") < Str("b"));
}

TEST_F(Values, CaseTrimAndCuts) {
    Str s("  \xE1rv\xEDzt\xFBr\xF5 t\xFck\xF6rf\xFar\xF3g\xE9p  ");  // árvíztűrő tükörfúrógép
    s.trim();
    EXPECT_EQ(s, "\xE1rv\xEDzt\xFBr\xF5 t\xFck\xF6rf\xFar\xF3g\xE9p");
    s.upper();
    EXPECT_EQ(s, "\xC1RV\xCDZT\xDBR\xD5 T\xDCK\xD6RF\xDAR\xD3G\xC9P");
    s.lower();
    EXPECT_EQ(s, "\xE1rv\xEDzt\xFBr\xF5 t\xFck\xF6rf\xFar\xF3g\xE9p");
    Str t("  ab  ");
    EXPECT_EQ(Str(t).trimLeft(), "ab  ");
    EXPECT_EQ(Str(t).trimRight(), "  ab");
    EXPECT_EQ(Str("   ").trim(), "");
    Str word("abcdef");
    EXPECT_EQ(word.sub(1, 3), "bcd");
    EXPECT_EQ(word.sub(4, 100), "ef");
    EXPECT_EQ(word.sub(6, 1), "");
    EXPECT_EQ(word.sub(100, 1), "");
    EXPECT_EQ(word.sub(-2, 4), "ab");
    EXPECT_EQ(word.sub(2, -1), "");
    EXPECT_EQ(Str(word).keepLeft(2), "ab");
    EXPECT_EQ(Str(word).keepRight(2), "ef");
    EXPECT_EQ(Str(word).keepLeft(99), "abcdef");
    EXPECT_EQ(Str(word).keepRight(-1), "");
}

TEST_F(Values, PadFillInterleave) {
    EXPECT_EQ(Str("ab").padLeft(5), "   ab");
    EXPECT_EQ(Str("ab").padRight(5, '*'), "ab***");
    EXPECT_EQ(Str("ab").center(5, '-'), "-ab--");
    EXPECT_EQ(Str("ab").center(6), "  ab  ");
    EXPECT_EQ(Str("abcdef").padLeft(3), "abc");  // a longer text keeps its first characters
    EXPECT_EQ(Str("abcdef").padRight(3), "abc");
    EXPECT_EQ(Str("abcdef").center(3), "abc");
    EXPECT_EQ(Str("x").padLeft(-3), "");
    EXPECT_EQ(Str("x").fill(4, '='), "====");
    EXPECT_EQ(Str("x").fill(-4, '='), "");
    EXPECT_EQ(Str("abc").interleave(' '), "a b c ");
    EXPECT_EQ(Str("").interleave(' '), "");
}

TEST_F(Values, NumbersFindBlank) {
    EXPECT_EQ(Str("  42abc").toInt(), 42);
    EXPECT_EQ(Str("").toInt(), 0);
    EXPECT_EQ(Str("x").toLong(), 0);
    EXPECT_EQ(Str("99999999999999999999").toInt(), 2147483647);
    EXPECT_DOUBLE_EQ(static_cast<double>(Str(" 1.25").toLongDouble()), 1.25);
    EXPECT_EQ(Str("hello world").find("o w"), 4);
    EXPECT_EQ(Str("hello").find("z"), -1);
    EXPECT_TRUE(Str("").isBlank());
    EXPECT_TRUE(Str("   ").isBlank());
    EXPECT_FALSE(Str(" x ").isBlank());
}

TEST_F(Values, Lines) {
    Str memo("first\r\nsecond\r\n\r\nlast");
    EXPECT_EQ(memo.lineCount(), 4);
    EXPECT_EQ(memo.line(1), "first");
    EXPECT_EQ(memo.line(2), "second");
    EXPECT_EQ(memo.line(3), "");
    EXPECT_EQ(memo.line(4), "last");
    EXPECT_EQ(memo.line(5), "");
    EXPECT_EQ(memo.line(0), "");
    EXPECT_EQ(Str("").lineCount(), 0);
    EXPECT_EQ(Str("one").lineCount(), 1);
    EXPECT_EQ(Str("a\rb\nc").lineCount(), 1);  // only CR LF separates lines
    Str longLine;
    longLine.fill(2000, 'x');
    longLine += "\r\nnext";
    EXPECT_EQ(longLine.line(1).length(), 511);
    EXPECT_EQ(longLine.line(2), "next");
}

TEST_F(Values, PictureThroughStr) {
    EXPECT_EQ(Str("20240229").picture("@D", kPictureDisplay), "2024.02.29");
    EXPECT_EQ(Str("2024.02.29").picture("@D", kPictureStore), "20240229");
}

}  // namespace
