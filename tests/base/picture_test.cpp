// The picture formatter: each picture kind both ways, the masks' edge cases, round trips of random
// values through a direction pair, and hostile lengths that must stay inside the 133-byte result.
#include "base/picture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>

#include "base/dates.h"
#include "base/settings.h"

namespace {

class Picture : public testing::Test {
  protected:
    void SetUp() override { resetSettings(); }
    void TearDown() override { resetSettings(); }

    std::string show(const char* text, const char* picture) {
        char result[kPictureResultSize];
        return formatPicture(text, picture, kPictureDisplay, result);
    }
    std::string store(const char* text, const char* picture) {
        char result[kPictureResultSize];
        return formatPicture(text, picture, kPictureStore, result);
    }
};

struct Case {
    const char* text;
    const char* picture;
    const char* result;
};

TEST_F(Picture, DateDisplay) {
    const Case kCases[] = {
        {"20240229", "@D", "2024.02.29"},
        {"", "@D", ""},
        {"2", "@D", "2"},
        {"2024", "@D", "2024"},
        {"20240", "@D", "2024.0"},  // typing: the separator appears with the next digit
        {"202402", "@D", "2024.02"},
        {"2024022", "@D", "2024.02.2"},
        {"        ", "@D", "    .  .  "},
        {"2024022912", "@D", "2024.02.29"},  // the format ends first
    };
    for (const Case& c : kCases)
        EXPECT_EQ(show(c.text, c.picture), c.result) << c.text;
    setting(SET_DATEFORMAT, "YYYY-MM-DD");
    EXPECT_EQ(show("20240229", "@D"), "2024-02-29");
    setting(SET_DATEFORMAT, "DD/MM/YYYY");
    EXPECT_EQ(show("20240229", "@D"), "29/02/2024");
    EXPECT_EQ(show("2024", "@D"), "//20");   // digits the text lacks show nothing
    setting(SET_DATEFORMAT, "YYYYYYYY.MM");  // extra Y's do not run into the month digits
    EXPECT_EQ(show("20240229", "@D"), "2024.02");
}

TEST_F(Picture, LogicalDisplay) {
    EXPECT_EQ(show("T", "@L"), "I");
    EXPECT_EQ(show("F", "@L"), "N");
    EXPECT_EQ(show(" ", "@L"), "N");
    EXPECT_EQ(show("", "@L"), "N");
    EXPECT_EQ(show("t", "@L"), "N");
    EXPECT_EQ(show("T", "L"), "T");  // the logical column picture without @ leaves the text
}

TEST_F(Picture, ScrollDisplay) {
    const Case kCases[] = {
        {"abcdef", "@S3", "abc"},
        {"ab", "@S5", "ab   "},
        {"", "@S2", "  "},
        {"\xE1rv\xEDz", "@S!5", "\xC1RV\xCDZ"},  // árvíz upper-cased
        {"\xE1rv\xEDz", "@S5!", "\xC1RV\xCDZ"},
        {"20240229", "@S10 9999-99-99", "2024-02-29"},
        {"20240229", "@S8 9999-99-99", "2024-02-29"},  // w counts text characters, not output
        {"2024ab29", "@S10 9999-99-99", "2024-  -29"},
        {"1-2x", "@S4 ####", "1-2."},
        {"1 2x", "@S4 ####", "1 2."},
        {"a1B2", "@S4 AAAA", "a.B."},
        {"TFxT", "@S4 LLLL", "INNI"},
        {"a\xE1_9", "@S4 NNNN", "a\xE1.9"},  // Hungarian accented letters count as letters
        {"abcd", "@S4 X!X!", "aBcD"},
        {"abcd", "@S4 Z?Q/", "abcd"},    // any other mask character takes the text character
        {"abcdef", "@S6 XX", "abcdef"},  // after the mask the text continues
        {"ab", "@S5 99.99", "  .  "},    // past the text the field is blank
        {"12345", "@S3 9,9,9,9", "1,2,3"},
        {"abc", "@S", ""},
        {"abc", "@S0", ""},
        {"abc", "@S3 ", "abc"},
    };
    for (const Case& c : kCases)
        EXPECT_EQ(show(c.text, c.picture), c.result) << c.text << " " << c.picture;
}

TEST_F(Picture, NumberDisplay) {
    const Case kCases[] = {
        {"1234.5", "@N 9999.99", "1234.50"},
        {"  12.345", "@N 9999.99", "  12.35"},
        {"-12.3", "@N 9999.99", " -12.30"},
        {"0", "@N 9999.99", "   0.00"},
        {"", "@N 9999.99", "   0.00"},
        {"abc", "@N 999", "  0"},
        {"-0.001", "@N 99.99", " 0.00"},  // no minus in front of a zero
        {"1234567", "@N 9,999,999", "1,234,567"},
        {"1234", "@N 9,999,999", "    1,234"},  // leading grouping characters stay blank
        {"-1234", "@N 9,999,999", "   -1,234"},
        {"12.7", "@N 999", " 13"},           // no decimal sign: rounded to an integer
        {"99999", "@N 9999", "****"},        // over-wide: asterisks, never a cut number
        {"-999", "@N 999", "***"},           // no room for the minus sign
        {"999.996", "@N 999.99", "***.**"},  // rounding makes it over-wide
        {"123456789", "@N 99,999", "**,***"},
        {"1e400", "@N 999", "***"},
        {"nan", "@N 999", "***"},
    };
    for (const Case& c : kCases)
        EXPECT_EQ(show(c.text, c.picture), c.result) << c.text << " " << c.picture;
}

TEST_F(Picture, NumberDisplayWithCommaDecimalSign) {
    setting(SET_TIZEDESJEL, ",");
    EXPECT_EQ(show("1234.5", "@N 9.999,99"), "1.234,50");
    EXPECT_EQ(show("4.5", "@N 9.999,99"), "    4,50");
    EXPECT_EQ(show("-4.5", "@N 9.999,99"), "   -4,50");
    // '.' is now a grouping character: no decimals, and it shows only inside the number.
    EXPECT_EQ(show("1234.7", "@N 9999.99"), "  12.35");
    EXPECT_EQ(show("12.7", "@N 9999.99"), "     13");
    EXPECT_EQ(store("1.234,50", "@N"), "1234.50");  // stored with '.', whatever the user types
}

TEST_F(Picture, Store) {
    const Case kCases[] = {
        {"-1,234.50", "@N", "-1234.50"},
        {" -12", "@N", "-12"},
        {"12-3", "@N", "123"},  // a minus after a digit is dropped
        {"--5", "@N", "-5"},
        {"x.y", "@N", "."},
        {"2024.02.29", "@D", "20240229"},
        {"2024.02.29 12", "@D", "20240229"},  // at most 8 digits
        {"ab", "@D", ""},
        {"ab-12 CD/x", "@R", "12CD"},
        {"ab-12 CD/x", "@0", "12"},
        {" keep  this ", "@S10", " keep  this "},
        {"anything", "", "anything"},
        {"anything", "@L", "anything"},
    };
    for (const Case& c : kCases)
        EXPECT_EQ(store(c.text, c.picture), c.result) << c.text << " " << c.picture;
}

TEST_F(Picture, NullArgumentsAreEmpty) {
    char result[kPictureResultSize];
    EXPECT_STREQ(formatPicture(nullptr, "@D", kPictureDisplay, result), "");
    EXPECT_STREQ(formatPicture("abc", nullptr, kPictureDisplay, result), "abc");
}

// Every valid stored date shows and stores back to itself, under each year-first format.
TEST_F(Picture, DatesRoundTrip) {
    const char* kFormats[] = {"YYYY.MM.DD", "YYYY-MM-DD", "YYYY/MM/DD", "YYYYMMDD"};
    std::mt19937 random(11);
    for (const char* format : kFormats) {
        setting(SET_DATEFORMAT, format);
        for (int i = 0; i < 500; ++i) {
            Date d(static_cast<std::uint32_t>(2415021 + random() % 73414));
            std::string stored = d.stored();
            std::string shown = show(stored.c_str(), "@D");
            EXPECT_EQ(shown.size(), std::strlen(format));
            EXPECT_EQ(store(shown.c_str(), "@D"), stored) << format;
            EXPECT_EQ(Date::fromText(shown.size() >= 10 ? shown.c_str() : stored.c_str()).dayNumber(), d.dayNumber());
        }
    }
}

// A number shown through an "@N " mask and stored back equals the number rounded to the mask's
// decimals, for both decimal signs.
TEST_F(Picture, NumbersRoundTrip) {
    struct Mask {
        const char* sign;
        const char* mask;
        int decimals;
        int integerPositions;
    };
    const Mask kMasks[] = {
        {".", "@N 999,999,999.99", 2, 9}, {",", "@N 999.999.999,99", 2, 9}, {".", "@N 9999999", 0, 7},
        {",", "@N 99999,999", 3, 5},      {".", "@N 9.9999", 4, 1},
    };
    std::mt19937 random(5);
    std::uniform_real_distribution<double> exponent(-3, 9);
    for (const Mask& m : kMasks) {
        setting(SET_TIZEDESJEL, m.sign);
        for (int i = 0; i < 500; ++i) {
            double value = std::pow(10.0, exponent(random)) * (random() % 3 == 0 ? -1 : 1);
            char text[64];
            std::snprintf(text, sizeof text, "%.6f", value);
            value = std::strtod(text, nullptr);  // the picture sees the text, not the double
            std::string shown = show(text, m.mask);
            EXPECT_EQ(shown.size(), std::strlen(m.mask) - 3);
            double scaled = value * std::pow(10.0, m.decimals);
            if (std::fabs(std::fabs(scaled - std::trunc(scaled)) - 0.5) < 1e-6)
                continue;  // a half: binary and decimal rounding may differ
            double rounded = std::round(scaled) / std::pow(10.0, m.decimals);
            // Too wide for the mask (the minus needs a position too): asterisks.
            int digits = std::fabs(rounded) < 1 ? 1 : static_cast<int>(std::floor(std::log10(std::fabs(rounded)))) + 1;
            bool negative = rounded < 0;
            if (digits + (negative ? 1 : 0) > m.integerPositions) {
                EXPECT_NE(shown.find('*'), std::string::npos) << text << " " << m.mask << " " << shown;
                continue;
            }
            std::string back = store(shown.c_str(), "@N");
            EXPECT_NEAR(std::strtod(back.c_str(), nullptr), rounded, 1e-9 * std::fabs(rounded) + 1e-9)
                << text << " " << m.mask << " " << shown;
        }
    }
}

// Stored text is a fixed point of the store direction.
TEST_F(Picture, StoreIsIdempotent) {
    const char* kPictures[] = {"@N", "@D", "@R", "@0", "@S5"};
    std::mt19937 random(3);
    for (int i = 0; i < 2000; ++i) {
        std::string text;
        int length = static_cast<int>(random() % 40);
        for (int k = 0; k < length; ++k)
            text += static_cast<char>(1 + random() % 255);
        for (const char* picture : kPictures) {
            std::string once = store(text.c_str(), picture);
            EXPECT_EQ(store(once.c_str(), picture), once) << picture;
        }
    }
}

// Hostile lengths and bytes: long texts, long pictures and masks (the grid holds at most 31
// characters, callers may pass more), random picture texts. The result never passes 132 characters
// and the sanitizers see no access outside any buffer.
TEST_F(Picture, HostileInputsStayInsideTheResult) {
    std::string longText(5000, '7');
    std::string longMask = "@N " + std::string(400, '9') + "." + std::string(300, '9');
    std::string longScroll = "@S99999999999999999999 " + std::string(500, 'X');
    std::string longPicture = "@S40" + std::string(300, '!');
    const std::string kPictures[] = {
        "@D", "@L", "@S10", "@S200", "@S!130", longMask, longScroll, longPicture, "@N " + std::string(200, ','),
        "@N", "@R", "@0",   ""};
    for (const std::string& picture : kPictures) {
        for (PictureDirection way : {kPictureDisplay, kPictureStore}) {
            char result[kPictureResultSize + 8];
            std::memset(result, '#', sizeof result);
            formatPicture(longText.c_str(), picture.c_str(), way, result);
            EXPECT_LE(std::strlen(result), static_cast<std::size_t>(kPictureResultSize - 1));
            for (std::size_t k = kPictureResultSize; k < sizeof result; ++k)
                EXPECT_EQ(result[k], '#') << "written past the result: " << picture.substr(0, 10);
        }
    }
    std::mt19937 random(17);
    for (int i = 0; i < 3000; ++i) {
        std::string text;
        std::string picture = random() % 2 ? "@S" : "@N ";
        int t = static_cast<int>(random() % 200);
        int p = static_cast<int>(random() % 60);
        for (int k = 0; k < t; ++k)
            text += static_cast<char>(1 + random() % 255);
        for (int k = 0; k < p; ++k)
            picture += "9#ALNX!,-. 1234567890@DSR"[random() % 25];
        char result[kPictureResultSize];
        formatPicture(text.c_str(), picture.c_str(), kPictureDisplay, result);
        ASSERT_LE(std::strlen(result), static_cast<std::size_t>(kPictureResultSize - 1));
    }
}

}  // namespace
