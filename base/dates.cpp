// Date arithmetic on Julian day numbers, parsing, printing and the Hungarian month and weekday names.
#include "base/dates.h"

#include <cstdio>
#include <cstring>
#include <ctime>

#include "base/text_rules.h"

namespace {

const int kDaysPerMonth[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
const int kDaysBeforeMonth[12] = {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334};

// Windows-1250 bytes, spelled out so they do not depend on the compiler's execution charset.
const char* const kMonthNames[12] = {
    "Janu\xE1r",   // Január
    "Febru\xE1r",  // Február
    "M\xE1rcius",  // Március
    "\xC1prilis",  // Április
    "M\xE1jus",    // Május
    "J\xFAnius",   // Június
    "J\xFAlius",   // Július
    "Augusztus",
    "Szeptember",
    "Okt\xF3"  // Október
    "ber",
    "November",
    "December",
};
const char* const kMonthCapitals[12] = {
    "JANU\xC1R",   // JANUÁR
    "FEBRU\xC1R",  // FEBRUÁR
    "M\xC1RCIUS",  // MÁRCIUS
    "\xC1PRILIS",  // ÁPRILIS
    "M\xC1JUS",    // MÁJUS
    "J\xDANIUS",   // JÚNIUS
    "J\xDALIUS",   // JÚLIUS
    "AUGUSZTUS",
    "SZEPTEMBER",
    "OKT\xD3"  // OKTÓBER
    "BER",
    "NOVEMBER",
    "DECEMBER",
};
const char* const kWeekdayNames[7] = {
    "H\xE9tf\xF5",  // Hétfő
    "Kedd",
    "Szerda",
    "Cs\xFCt\xF6rt\xF6k",  // Csütörtök
    "P\xE9ntek",           // Péntek
    "Szombat",
    "Vas\xE1rnap",  // Vasárnap
};
const char* const kWeekdayCapitals[7] = {
    "H\xC9TF\xD5",  // HÉTFŐ
    "KEDD",
    "SZERDA",
    "CS\xDCT\xD6RT\xD6K",  // CSÜTÖRTÖK
    "P\xC9NTEK",           // PÉNTEK
    "SZOMBAT",
    "VAS\xC1RNAP",  // VASÁRNAP
};

// Matches `name` upper-cased over its own length against the capital names, last entry first.
int lookUp(const char* name, const char* const* capitals, int count) {
    char upper[64];
    if (!name)
        return 0;
    std::size_t n = std::strlen(name);
    // An empty text names nothing; a text longer than every name cannot match one.
    if (n == 0 || n >= sizeof upper)
        return 0;
    toUpperHun(name, upper);
    for (int i = count; i-- > 0;)
        if (std::strncmp(upper, capitals[i], n) == 0)
            return i + 1;
    return 0;
}

// First and last day numbers the calendar arithmetic handles: 0001-01-01 and 9999-12-31.
constexpr std::uint32_t kFirstDay = 1721426;
constexpr std::uint32_t kLastDay = 5373484;

// Reads "%4d", "%2d" style fields as sscanf does, from a private, terminated copy.
Date parse(const char* text, bool columnForm) {
    std::size_t n = strnlen(text, 10);
    if (n == 0)
        return Date(0u);
    int year = 0, month = 0, day = 0;
    char copy[11] = {};
    std::memcpy(copy, text, n);
    if (n < 10) {
        if (columnForm && n != 8)
            return Date(0u);
        std::sscanf(copy, "%4d%2d%2d", &year, &month, &day);
    } else {
        std::sscanf(copy, "%4d%*c%2d%*c%2d", &year, &month, &day);
    }
    return Date(year, month, day);
}

}  // namespace

Date::Date() {
    std::time_t now = std::time(nullptr);
    std::tm* local = std::localtime(&now);
    if (local)
        day_ = dayNumberOf(local->tm_year + 1900, local->tm_mon + 1, local->tm_mday);
}

Date::Date(std::uint32_t dayNumber) : day_(dayNumber) {}

Date::Date(int year, int month, int day) : day_(dayNumberOf(year, month, day)) {}

Date Date::fromText(const char* text) {
    return parse(text, false);
}

Date Date::fromColumnText(const char* text) {
    return parse(text, true);
}

bool Date::isLeap(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int Date::daysInMonthOf(int year, int month) {
    if (month < 1 || month > 12)
        return 0;
    return kDaysPerMonth[month - 1] + (month == 2 && isLeap(year) ? 1 : 0);
}

std::uint32_t Date::dayNumberOf(int year, int month, int day) {
    if (year < 100)
        year += 1900;
    // Outside years 1..9999 the formula's truncating divisions no longer count days.
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 || day > daysInMonthOf(year, month))
        return 0;
    long y = month < 3 ? year - 1 : year;
    long n = ((month < 3 ? 1836 : 0) + 153L * month - 457) / 5 + ((y % 100) * 1461) / 4 + (y / 100) * 146097 / 4 + day +
             1721119;
    return static_cast<std::uint32_t>(n);
}

void Date::split(int& year, int& month, int& day) const {
    year = month = day = 0;
    if (day_ < kFirstDay || day_ > kLastDay)
        return;
    long long a = 4LL * day_ - 6884477;
    long long c = a / 146097;
    a = (a - 146097 * c) | 3;
    long long b = 5 * (((a % 1461) + 4) / 4) - 3;
    long long m = b / 153;
    day = static_cast<int>(((b % 153) + 5) / 5);
    long long y = a / 1461 + 100 * c;
    if (m > 9) {
        m -= 9;
        ++y;
    } else {
        m += 3;
    }
    year = static_cast<int>(y);
    month = static_cast<int>(m);
}

int Date::year() const {
    int y, m, d;
    split(y, m, d);
    return y;
}

int Date::month() const {
    int y, m, d;
    split(y, m, d);
    return m;
}

int Date::day() const {
    int y, m, d;
    split(y, m, d);
    return d;
}

int Date::weekday() const {
    if (day_ == 0)
        return 0;
    return static_cast<int>(((day_ + 1) % 7 + 6) % 7 + 1);
}

int Date::dayOfYear() const {
    int y, m, d;
    split(y, m, d);
    if (y == 0)
        return 0;
    // Day number of 31 December of the previous year, from the calendar tables.
    return kDaysBeforeMonth[m - 1] + (m > 2 && isLeap(y) ? 1 : 0) + d;
}

int Date::daysInMonth() const {
    int y, m, d;
    split(y, m, d);
    return daysInMonthOf(y, m);
}

bool Date::isLeapYear() const {
    int y = year();
    return y != 0 && isLeap(y);
}

const char* Date::monthName(int month) {
    return month >= 1 && month <= 12 ? kMonthNames[month - 1] : nullptr;
}

const char* Date::weekdayName(int weekday) {
    return weekday >= 1 && weekday <= 7 ? kWeekdayNames[weekday - 1] : nullptr;
}

int Date::monthNumber(const char* name) {
    return lookUp(name, kMonthCapitals, 12);
}

int Date::weekdayNumber(const char* name) {
    return lookUp(name, kWeekdayCapitals, 7);
}

int Date::compare(const Date& other) const {
    return day_ < other.day_ ? -1 : day_ > other.day_ ? 1 : 0;
}

Date& Date::addDays(long days) {
    if (day_ == 0)
        return *this;
    long long n = static_cast<long long>(day_) + static_cast<long long>(days);
    day_ = n < kFirstDay || n > kLastDay ? 0 : static_cast<std::uint32_t>(n);
    return *this;
}

Date& Date::subtractDays(long days) {
    // Any step this long leaves the calendar; clamping first keeps -days from overflowing.
    constexpr long kFar = 100000000;
    return addDays(days > kFar ? -kFar : days < -kFar ? kFar : -days);
}

const char* Date::print(const char* format) const {
    int y, m, d;
    split(y, m, d);
    if (y == 0) {
        text_[0] = 0;
        return text_;
    }
    std::snprintf(text_, sizeof text_, format, y, m, d);
    return text_;
}

const char* Date::stored() const {
    return print("%04d%02d%02d");
}

const char* Date::dashed() const {
    return print("%04d-%02d-%02d");
}

const char* Date::dotted() const {
    return print("%04d.%02d.%02d");
}
