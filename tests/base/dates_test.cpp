// Dates: day numbers against an independent calendar count, parsing, printing and Hungarian names.
#include "base/dates.h"

#include <gtest/gtest.h>

#include <cstring>
#include <ctime>
#include <string>

#include "base/settings.h"

namespace {

bool leap(int y) {
    return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

int monthLength(int y, int m) {
    static const int kLength[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && leap(y) ? 29 : kLength[m - 1];
}

// Every day from 1900-01-01 to 2100-12-31, counted one by one from the known anchor of
// 1900-01-01 (Julian day 2415021), must give the same number both ways.
TEST(Dates, EveryDayFrom1900To2100MatchesACalendarCount) {
    std::uint32_t expected = 2415021;
    int failures = 0;
    for (int y = 1900; y <= 2100; ++y) {
        for (int m = 1; m <= 12; ++m) {
            for (int d = 1; d <= monthLength(y, m); ++d, ++expected) {
                Date date(y, m, d);
                Date back(expected);
                bool wrong = date.dayNumber() != expected || back.year() != y || back.month() != m || back.day() != d;
                if (wrong && ++failures < 5) {
                    ADD_FAILURE() << y << "-" << m << "-" << d << " gave " << date.dayNumber() << ", expected "
                                  << expected << ", back " << back.year() << "-" << back.month() << "-" << back.day();
                }
            }
        }
    }
    EXPECT_EQ(failures, 0);
    EXPECT_EQ(expected, Date(2101, 1, 1).dayNumber());
}

// The whole supported range, one day in 97 (coprime with the week and month lengths), round-trips.
TEST(Dates, WholeRangeRoundTripsAndStaysInOrder) {
    // Years below 100 read as 19xx, so the first constructible year is 100.
    std::uint32_t first = Date(100, 1, 1).dayNumber();
    std::uint32_t last = Date(9999, 12, 31).dayNumber();
    ASSERT_NE(first, 0u);
    ASSERT_GT(last, first);
    int previousWeekday = Date(first).weekday();
    for (std::uint32_t n = first; n <= last; n += 97) {
        Date d(n);
        ASSERT_EQ(Date(d.year(), d.month(), d.day()).dayNumber(), n) << n;
        int w = d.weekday();
        if (n != first) {
            ASSERT_EQ(w, (previousWeekday - 1 + 97) % 7 + 1) << n;
        }
        previousWeekday = w;
    }
    EXPECT_EQ(Date(last + 1).year(), 0);
    // The calendar arithmetic itself reaches back to 0001-01-01, Julian day 1721426.
    EXPECT_STREQ(Date(1721426u).dotted(), "0001.01.01");
    EXPECT_EQ(Date(1721425u).year(), 0);
    EXPECT_STREQ(Date(1721425u).dotted(), "");
    EXPECT_EQ(Date(4000000000u).year(), 0);
}

TEST(Dates, KnownDays) {
    Date d(2451545u);
    EXPECT_STREQ(d.dotted(), "2000.01.01");
    EXPECT_STREQ(d.dashed(), "2000-01-01");
    EXPECT_STREQ(d.stored(), "20000101");
    EXPECT_EQ(d.weekday(), 6);  // Saturday
    EXPECT_EQ(Date(2024, 2, 26).weekday(), 1);
    EXPECT_EQ(Date(2024, 3, 3).weekday(), 7);
    EXPECT_EQ(Date(2024, 12, 31).dayOfYear(), 366);
    EXPECT_EQ(Date(2023, 12, 31).dayOfYear(), 365);
    EXPECT_EQ(Date(2023, 3, 1).dayOfYear(), 60);
    EXPECT_EQ(Date(2024, 3, 1).dayOfYear(), 61);
    EXPECT_EQ(Date(2024, 2, 1).daysInMonth(), 29);
    EXPECT_EQ(Date(2023, 2, 1).daysInMonth(), 28);
    EXPECT_TRUE(Date(2000, 6, 1).isLeapYear());
    EXPECT_FALSE(Date(1900, 6, 1).isLeapYear());
}

TEST(Dates, WeekdaysCycleMondayToSunday) {
    // 1 January 2001 was a Monday.
    for (int i = 0; i < 28; ++i)
        EXPECT_EQ(Date(2001, 1, 1 + i).weekday(), i % 7 + 1) << i;
}

TEST(Dates, InvalidDatesGiveZero) {
    struct Case {
        int y, m, d;
    };
    const Case kInvalid[] = {{1900, 2, 29}, {2023, 2, 29}, {2024, 2, 30}, {2024, 4, 31}, {2024, 13, 1}, {2024, 0, 1},
                             {2024, 1, 0},  {2024, 1, 32}, {2024, -1, 5}, {10000, 1, 1}, {-5000, 1, 1}};
    for (const Case& c : kInvalid) {
        Date d(c.y, c.m, c.d);
        EXPECT_EQ(d.dayNumber(), 0u) << c.y << "-" << c.m << "-" << c.d;
        EXPECT_FALSE(d.isValid());
        EXPECT_STREQ(d.dotted(), "");
        EXPECT_STREQ(d.stored(), "");
        EXPECT_EQ(d.weekday(), 0);
        EXPECT_EQ(d.year(), 0);
    }
    EXPECT_NE(Date(2000, 2, 29).dayNumber(), 0u);
    EXPECT_NE(Date(2024, 2, 29).dayNumber(), 0u);
}

TEST(Dates, TwoDigitYearsAreTwentiethCentury) {
    Date d(24, 2, 29);
    ASSERT_TRUE(d.isValid());
    EXPECT_STREQ(d.dotted(), "1924.02.29");
    EXPECT_EQ(Date(99, 12, 31).year(), 1999);
    EXPECT_EQ(Date(100, 1, 1).year(), 100);
}

TEST(Dates, FromText) {
    struct Case {
        const char* text;
        const char* dotted;
    };
    const Case kCases[] = {
        {"", ""},
        {"20240229", "2024.02.29"},
        {"202402291", "2024.02.29"},  // 9 characters: the first eight count
        {"2024.02.29", "2024.02.29"},
        {"2024-02-29", "2024.02.29"},
        {"2024/02/29", "2024.02.29"},
        {"2024-02-29 13:45:10", "2024.02.29"},  // only the first 10 characters count
        {"2024-02-30", ""},
        {"20230229", ""},
        {"19000229", ""},
        {"00240229", "1924.02.29"},
        {"        ", ""},
        {"abcdefgh", ""},
        {"2024", ""},
    };
    for (const Case& c : kCases)
        EXPECT_STREQ(Date::fromText(c.text).dotted(), c.dotted) << c.text;
}

TEST(Dates, FromColumnTextWantsEightOrTenCharacters) {
    EXPECT_STREQ(Date::fromColumnText("20240229").dotted(), "2024.02.29");
    EXPECT_STREQ(Date::fromColumnText("2024-02-29").dotted(), "2024.02.29");
    EXPECT_FALSE(Date::fromColumnText("202402291").isValid());
    EXPECT_FALSE(Date::fromColumnText("2024022").isValid());
    EXPECT_FALSE(Date::fromColumnText("").isValid());
}

TEST(Dates, TextReadingStopsAtTenCharactersOfAFixedBuffer) {
    // A 10-byte field copied without terminator: nothing behind it may be read.
    char* field = new char[10];
    std::memcpy(field, "2024.02.29", 10);
    EXPECT_STREQ(Date::fromText(field).dotted(), "2024.02.29");
    delete[] field;
}

TEST(Dates, AddAndCompare) {
    Date d(2024, 2, 28);
    d.addDays(1);
    EXPECT_STREQ(d.dotted(), "2024.02.29");
    d.addDays(1);
    EXPECT_STREQ(d.dotted(), "2024.03.01");
    d.subtractDays(366);
    EXPECT_STREQ(d.dotted(), "2023.03.01");
    EXPECT_LT(Date(2023, 1, 1).compare(Date(2023, 1, 2)), 0);
    EXPECT_GT(Date(2023, 1, 2).compare(Date(2023, 1, 1)), 0);
    EXPECT_EQ(Date(2023, 1, 2).compare(Date(2023, 1, 2)), 0);
    EXPECT_TRUE(Date(2023, 1, 1) < Date(2023, 1, 2));
    // An empty date stays empty; leaving the calendar empties the date.
    Date empty(0u);
    empty.addDays(10);
    EXPECT_FALSE(empty.isValid());
    Date far(9999, 12, 31);
    far.addDays(1);
    EXPECT_FALSE(far.isValid());
    Date big(2000, 1, 1);
    big.subtractDays(-2147483647L - 1);
    EXPECT_FALSE(big.isValid());
}

TEST(Dates, TodayIsAValidDate) {
    // Today by the C library's own clock, read before and after: a midnight in between gives either.
    auto localDay = [] {
        std::time_t now = std::time(nullptr);
        std::tm t = *std::localtime(&now);
        return std::to_string(t.tm_year + 1900) + "-" + std::to_string(t.tm_mon + 1) + "-" + std::to_string(t.tm_mday);
    };
    std::string before = localDay();
    Date today;
    std::string after = localDay();
    ASSERT_TRUE(today.isValid());
    std::string ours =
        std::to_string(today.year()) + "-" + std::to_string(today.month()) + "-" + std::to_string(today.day());
    EXPECT_TRUE(ours == before || ours == after) << ours << " vs " << before;
}

// Windows-1250 bytes of the names.
TEST(Dates, HungarianNamesAreWindows1250) {
    EXPECT_STREQ(Date::monthName(1), "Janu\xE1r");
    EXPECT_STREQ(Date::monthName(3), "M\xE1rcius");
    EXPECT_STREQ(Date::monthName(4), "\xC1prilis");
    EXPECT_STREQ(Date::monthName(6), "J\xFAnius");
    EXPECT_STREQ(Date::monthName(10),
                 "Okt\xF3"
                 "ber");
    EXPECT_STREQ(Date::monthName(12), "December");
    EXPECT_EQ(Date::monthName(0), nullptr);
    EXPECT_EQ(Date::monthName(13), nullptr);
    EXPECT_STREQ(Date::weekdayName(1), "H\xE9tf\xF5");
    EXPECT_STREQ(Date::weekdayName(4), "Cs\xFCt\xF6rt\xF6k");
    EXPECT_STREQ(Date::weekdayName(7), "Vas\xE1rnap");
    EXPECT_EQ(Date::weekdayName(0), nullptr);
    EXPECT_EQ(Date::weekdayName(8), nullptr);
    const unsigned char kHetfo[] = {0x48, 0xE9, 0x74, 0x66, 0xF5, 0};
    EXPECT_EQ(std::memcmp(Date::weekdayName(1), kHetfo, sizeof kHetfo), 0);
}

TEST(Dates, NameLookUp) {
    resetSettings();
    for (int m = 1; m <= 12; ++m)
        EXPECT_EQ(Date::monthNumber(Date::monthName(m)), m) << m;
    for (int w = 1; w <= 7; ++w)
        EXPECT_EQ(Date::weekdayNumber(Date::weekdayName(w)), w) << w;
    EXPECT_EQ(Date::monthNumber("M\xC1J"), 5);  // MÁJ: a prefix finds May
    EXPECT_EQ(Date::monthNumber("m\xE1j"), 5);  // máj
    EXPECT_EQ(Date::monthNumber("M\xC1R"), 3);
    EXPECT_EQ(Date::monthNumber("J\xFAl"), 7);  // Júl
    EXPECT_EQ(Date::monthNumber("J"), 7);       // searched from the last entry
    EXPECT_EQ(Date::monthNumber("Xyz"), 0);
    EXPECT_EQ(Date::monthNumber(""), 0);
    EXPECT_EQ(Date::monthNumber("Decemberben"), 0);
    EXPECT_EQ(Date::weekdayNumber("sz"), 6);
    EXPECT_EQ(Date::weekdayNumber("cs\xFC"), 4);  // csü
    std::string longName(500, 'A');
    EXPECT_EQ(Date::monthNumber(longName.c_str()), 0);
}

}  // namespace
