// dbf::setField: formats caller text into the record buffer by the field's type (C, N, D, L, M and others).
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "base/codepage.h"
#include "base/dates.h"
#include "base/values.h"
#include "dbf/dbf.h"

namespace {

// The standard decimal conversion: leading blanks, a sign, digits, a point, an exponent; no number is 0.
// Hexadecimal and the words inf and nan are not decimal numbers and would store unreadable text.
long double readDecimal(const char* text) {
    const char* p = text;
    while (*p == ' ' || *p == '\t' || *p == '\n' || *p == '\r' || *p == '\f' || *p == '\v')
        ++p;
    if (*p == '+' || *p == '-')
        ++p;
    if (!((*p >= '0' && *p <= '9') || (*p == '.' && p[1] >= '0' && p[1] <= '9')))
        return 0;
    if (p[0] == '0' && (p[1] == 'x' || p[1] == 'X'))
        return 0;
    long double value = strtold(text, nullptr);
    return std::isfinite(value) ? value : 0;
}

// Whether the number, rounded to the decimals, fits the width; a value that rounds to zero is taken as
// zero, so that -0.001 never needs room for a minus sign. Sets `value` to what will be stored.
bool fitsNumber(long double& value, size_t width, int decimals) {
    if (decimals < 0 || static_cast<size_t>(decimals) + (decimals > 0 ? 2 : 1) > width)
        return false;
    char text[80];
    int need = snprintf(text, sizeof text, "%.*Lf", decimals, value);
    if (need < 0 || static_cast<size_t>(need) > width)
        return false;
    if (strpbrk(text, "123456789") == nullptr)
        value = 0;
    return static_cast<size_t>(snprintf(text, sizeof text, "%.*Lf", decimals, value)) <= width;
}

}  // namespace

int dbf::setField(int index, const char* text) {
    if (!open_ || index < 0 || index >= fieldCount_)
        return 0;
    if (!text)
        text = "";
    size_t width = widths_[index];
    // The caller's text in the file's code page, in a copy: the caller's buffer stays as given.
    size_t length = strlen(text);
    work_.resize(length + width + 2);
    char* source = work_.data();
    memcpy(source, text, length + 1);
    if (oem_)
        ansiToOem(source);
    char* out = source + length + 1;
    memset(out, ' ', width);
    out[width] = '\0';
    switch (fieldType(index)) {
        case 'N': {
            int decimals = descriptors_[static_cast<size_t>(index) * 32 + 17];
            long double value = readDecimal(source);
            if (!fitsNumber(value, width, decimals))
                return 0;  // cutting it would store another number
            Str number = formatNumber(value, static_cast<int>(width), decimals);
            memcpy(out, number.c_str(), width);
            break;
        }
        case 'L':
            if (width > 0)
                out[0] = (source[0] == 'T' || source[0] == 't' || source[0] == 'Y' || source[0] == 'y') ? 'T' : 'F';
            break;
        case 'D': {
            char digits[9];
            int k = 0;
            for (const char* p = source; *p && k < 8; ++p)
                if (*p >= '0' && *p <= '9')
                    digits[k++] = *p;
            digits[k] = '\0';
            if (k == 8) {
                int year =
                    (digits[0] - '0') * 1000 + (digits[1] - '0') * 100 + (digits[2] - '0') * 10 + digits[3] - '0';
                int month = (digits[4] - '0') * 10 + digits[5] - '0';
                int day = (digits[6] - '0') * 10 + digits[7] - '0';
                if (Date(year, month, day).isValid())
                    memcpy(out, digits, width < 8 ? width : 8);
            }
            break;
        }
        case 'C':
            memcpy(out, source, length < width ? length : width);
            break;
        default: {
            size_t n = length < width ? length : width;
            memcpy(out, source, n);
            memset(out + n, 0, width - n);
            break;
        }
    }
    memcpy(&record_[offsets_[index]], out, width);
    return 1;
}
