// Dates held as Julian day numbers, with the stored and printed forms and Hungarian names.
#pragma once

#include <cstdint>

class Date {
  public:
    // Today, by the local clock.
    Date();
    explicit Date(std::uint32_t dayNumber);
    // A year below 100 gets 1900 added; an impossible date gives day number 0.
    Date(int year, int month, int day);
    // Empty text: 0; shorter than 10 characters: YYYYMMDD digits; 10 or more: only the first 10
    // count, read as year, separator, month, separator, day (dotted, dashed and slashed forms).
    static Date fromText(const char* text);
    // As fromText, but a text shorter than 10 characters that is not exactly 8 long gives 0
    // (the form date columns of result tables use).
    static Date fromColumnText(const char* text);

    // The day number of a date, 0 when impossible.
    static std::uint32_t dayNumberOf(int year, int month, int day);
    static bool isLeap(int year);
    static int daysInMonthOf(int year, int month);

    std::uint32_t dayNumber() const { return day_; }
    bool isValid() const { return day_ != 0; }
    // Calendar parts; 0 for an empty date.
    int year() const;
    int month() const;
    int day() const;
    int weekday() const;  // 1 = Monday ... 7 = Sunday
    int dayOfYear() const;
    int daysInMonth() const;
    bool isLeapYear() const;

    // Windows-1250 names, null outside 1-12 / 1-7.
    static const char* monthName(int month);
    static const char* weekdayName(int weekday);
    // Case-insensitive match of the given text (or a prefix) against the capital names, the last
    // entry first; 1-based, 0 when nothing matches.
    static int monthNumber(const char* name);
    static int weekdayNumber(const char* name);

    int compare(const Date& other) const;
    bool operator==(const Date& other) const { return day_ == other.day_; }
    bool operator!=(const Date& other) const { return day_ != other.day_; }
    bool operator<(const Date& other) const { return day_ < other.day_; }
    bool operator>(const Date& other) const { return day_ > other.day_; }
    // An empty date stays empty; a result outside the calendar becomes empty.
    Date& addDays(long days);
    Date& subtractDays(long days);

    // Printed forms, in the object's text buffer (overwritten by the next print); empty for an
    // empty date. stored: YYYYMMDD (the D field form); dashed: YYYY-MM-DD; dotted: YYYY.MM.DD.
    const char* stored() const;
    const char* dashed() const;
    const char* dotted() const;

  private:
    // year, month, day of the day number; all 0 when it is outside years 1..9999.
    void split(int& year, int& month, int& day) const;
    const char* print(const char* format) const;

    std::uint32_t day_ = 0;
    mutable char text_[16] = {};
};
