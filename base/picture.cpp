// The picture formatter in both directions: stored text to display text, typed text to stored text.
#include "base/picture.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "base/settings.h"
#include "base/text_rules.h"

namespace {

constexpr int kMaxResult = kPictureResultSize - 1;

// Appends to the result buffer and never writes past its last byte.
struct Output {
    char* buffer;
    int length = 0;
    void put(char c) {
        if (length < kMaxResult)
            buffer[length++] = c;
    }
    void padTo(int width) {
        while (length < width && length < kMaxResult)
            buffer[length++] = ' ';
    }
    char* finish() {
        buffer[length] = 0;
        return buffer;
    }
};

bool startsWith(const char* text, const char* prefix) {
    return std::strncmp(text, prefix, std::strlen(prefix)) == 0;
}

bool isAsciiLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// A letter for the N mask character: ASCII letters and the Hungarian accented letters of the settings.
bool isLetterHun(char c) {
    if (isAsciiLetter(c))
        return true;
    return c != 0 && (toUpperHunChar(c) != c || toLowerHunChar(c) != c);
}

char decimalSign() {
    char c = setting(SET_TIZEDESJEL)[0];
    return c ? c : '.';
}

// "@D": the digits of YYYYMMDD placed by SET_DATEFORMAT.
void displayDate(const char* text, Output& out) {
    int n = static_cast<int>(strnlen(text, kMaxResult));
    if (n == 0)
        return;
    int limit = n + (n == 5 || n == 6 ? 1 : n >= 7 ? 2 : 0);
    if (limit > kMaxResult)
        limit = kMaxResult;
    char format[kSettingFieldSize];
    std::strcpy(format, setting(SET_DATEFORMAT));
    // Next digit of each part and where its run of digits ends in the stored form.
    int year = 0, month = 4, day = 6;
    for (const char* f = format; *f && out.length < limit; ++f) {
        int* next = *f == 'Y' ? &year : *f == 'M' ? &month : *f == 'D' ? &day : nullptr;
        if (!next) {
            out.put(*f);
            continue;
        }
        int end = next == &year ? 4 : next == &month ? 6 : 8;
        // A part the text does not reach yet (while typing) shows nothing.
        if (*next < end && *next < n)
            out.put(text[(*next)++]);
    }
}

char maskChar(char mask, char c) {
    bool digit = isDigit(c) != 0;
    switch (mask) {
        case '9':
            return digit || c == '-' ? c : ' ';
        case '#':
            return digit || c == '-' || c == ' ' ? c : '.';
        case 'A':
            return digit ? '.' : c;
        case 'L':
            return c == 'T' ? 'I' : 'N';
        case 'N':
            return digit || isLetterHun(c) ? c : '.';
        case '!':
            return toUpperHunChar(c);
        default:
            return c;
    }
}

// "@S<w>[!][ mask]": a fixed width of w text characters, optionally through a mask.
void displayScroll(const char* text, const char* picture, Output& out) {
    const char* function = picture + 2;
    const char* space = std::strchr(function, ' ');
    const char* functionEnd = space ? space : function + std::strlen(function);
    int width = 0;
    bool upper = false;
    for (const char* p = function; p < functionEnd; ++p) {
        if (isDigit(*p) && width <= kMaxResult)
            width = width * 10 + (*p - '0');
        else if (*p == '!')
            upper = true;
    }
    if (width > kMaxResult)
        width = kMaxResult;
    std::string t(text);
    if (upper)
        toUpperHun(&t[0], &t[0]);
    int used = 0;
    int length = static_cast<int>(t.size());
    if (space && space[1]) {
        for (const char* m = space + 1; *m && used < width && out.length < kMaxResult; ++m) {
            if (*m == ',' || *m == '-' || *m == '.') {
                out.put(*m);
                continue;
            }
            // Past the end of the text the field is blank, as a stored field is padded.
            char c = used < length ? t[static_cast<std::size_t>(used)] : ' ';
            ++used;
            out.put(maskChar(*m, c));
        }
    }
    while (out.length < width && used < length)
        out.put(t[static_cast<std::size_t>(used++)]);
    out.padTo(width);
}

// "@N <mask>": the number right-aligned into the digit positions of the mask.
void displayNumber(const char* text, const char* mask, Output& out) {
    char m[kPictureResultSize];
    int size = static_cast<int>(strnlen(mask, kMaxResult));
    std::memcpy(m, mask, static_cast<std::size_t>(size));
    m[size] = 0;
    const char* sign = std::strchr(m, decimalSign());
    int point = sign ? static_cast<int>(sign - m) : -1;
    int decimals = 0;
    for (int i = point + 1; point >= 0 && i < size; ++i)
        decimals += m[i] == '9';

    long double value = std::strtold(text, nullptr);
    // Non-numbers and magnitudes beyond any mask both end up as overflow below.
    if (!(value < 1e300L && value > -1e300L))
        value = 1e300L;
    char number[512];  // 301 integer digits, the point, at most 131 decimals
    std::snprintf(number, sizeof number, "%.*Lf", decimals, value);
    char digits[sizeof number];
    int count = 0;
    bool nonZero = false;
    for (const char* p = number; *p; ++p)
        if (isDigit(*p)) {
            digits[count++] = *p;
            nonZero = nonZero || *p != '0';
        }
    bool negative = number[0] == '-' && nonZero;

    char result[kPictureResultSize];
    std::memset(result, ' ', static_cast<std::size_t>(size));
    int next = count;  // digits still to place, taken from the right
    int first = -1;    // position of the leftmost digit placed
    for (int i = size - 1; i >= 0; --i) {
        if (m[i] == '9') {
            if (next > 0) {
                result[i] = digits[--next];
                first = i;
            }
        } else if (next > 0 || (point >= 0 && i >= point)) {
            // Grouping and other characters show only inside the number; leading ones stay blank.
            result[i] = m[i];
        }
    }
    bool overflow = next > 0;
    if (negative && !overflow) {
        if (first > 0 && result[first - 1] == ' ')
            result[first - 1] = '-';
        else
            overflow = true;
    }
    // A number the mask cannot hold shows as asterisks rather than as a wrong number.
    for (int i = 0; i < size; ++i)
        out.put(overflow ? (m[i] == '9' ? '*' : m[i]) : result[i]);
}

void copyText(const char* text, Output& out) {
    for (const char* p = text; *p && out.length < kMaxResult; ++p)
        out.put(*p);
}

void storeNumber(const char* text, Output& out) {
    char sign = decimalSign();
    for (const char* p = text; *p; ++p) {
        if (isDigit(*p))
            out.put(*p);
        else if (*p == sign)
            out.put('.');  // N fields always store '.', whatever sign the user types
        else if (*p == '-' && out.length == 0)
            out.put('-');
    }
}

void storeFiltered(const char* text, Output& out, bool capitals, int limit) {
    for (const char* p = text; *p && out.length < limit; ++p)
        if (isDigit(*p) || (capitals && *p >= 'A' && *p <= 'Z'))
            out.put(*p);
}

}  // namespace

char* formatPicture(const char* text, const char* picture, PictureDirection direction, char* result) {
    Output out{result};
    if (!text)
        text = "";
    if (!picture)
        picture = "";
    if (direction == kPictureDisplay) {
        if (startsWith(picture, "@D"))
            displayDate(text, out);
        else if (startsWith(picture, "@L"))
            out.put(text[0] == 'T' ? 'I' : 'N');
        else if (startsWith(picture, "@S"))
            displayScroll(text, picture, out);
        else if (startsWith(picture, "@N "))
            displayNumber(text, picture + 3, out);
        else
            copyText(text, out);
    } else {
        if (startsWith(picture, "@N"))
            storeNumber(text, out);
        else if (startsWith(picture, "@D"))
            storeFiltered(text, out, false, 8);
        else if (startsWith(picture, "@R"))
            storeFiltered(text, out, true, kMaxResult);
        else if (startsWith(picture, "@0"))
            storeFiltered(text, out, false, kMaxResult);
        else
            copyText(text, out);
    }
    return out.finish();
}
