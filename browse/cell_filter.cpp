// The cell editor's input filter, the number and date texts it stores, and the memo length check.
#include "browse/cell_filter.h"

#include <cstdlib>
#include <cstring>
#include <vector>

#include "base/dates.h"
#include "base/files.h"
#include "base/picture.h"
#include "base/settings.h"
#include "dbf/dbf.h"

namespace {

bool digit(char c) {
    return c >= '0' && c <= '9';
}

// Characters every cell takes: Backspace, CR, LF, and the two that share their codes with the
// arrow keys Left and Right.
bool alwaysAccepted(char c) {
    return c == 8 || c == 13 || c == 10 || c == '%' || c == '\'';
}

std::string digitsOf(const std::string& text) {
    std::string out;
    for (char c : text)
        if (digit(c))
            out += c;
    return out;
}

// A digit typed into a date cell: the digits around the caret and the new one, placed by "@D".
CellInput dateInput(char typed, const std::string& text, int selStart, int selEnd) {
    CellInput result;
    result.kind = CellInput::kRefuse;
    if (!digit(typed))
        return result;
    int caret = selStart;
    std::string rest = text.substr(0, static_cast<size_t>(selStart)) + text.substr(static_cast<size_t>(selEnd));
    std::string digits = digitsOf(rest.substr(0, static_cast<size_t>(caret))) + typed +
                         digitsOf(rest.substr(static_cast<size_t>(caret)));
    char shown[kPictureResultSize];
    formatPicture(digits.c_str(), "@D", kPictureDisplay, shown);
    result.kind = CellInput::kReplace;
    result.text = shown;
    // The caret jumps over the separators the picture puts in after the year and the month.
    if (caret <= 3)
        result.caret = caret + 1;
    else if (caret <= 6)
        result.caret = caret + 2;
    else
        result.caret = result.text.size() == 10 ? caret + 1 : caret + 2;
    if (result.caret > static_cast<int>(result.text.size()))
        result.caret = static_cast<int>(result.text.size());
    return result;
}

}  // namespace

CellInput filterCellInput(char typed, const char* text, int selStart, int selEnd, const char* picture, char type) {
    CellInput result;
    std::string current = text ? text : "";
    if (!picture)
        picture = "";
    int length = static_cast<int>(current.size());
    if (selStart > selEnd)
        std::swap(selStart, selEnd);
    selStart = selStart < 0 ? 0 : selStart > length ? length : selStart;
    selEnd = selEnd < selStart ? selStart : selEnd > length ? length : selEnd;
    if (alwaysAccepted(typed) || !picture[0])
        return result;
    if (selStart >= static_cast<int>(strlen(picture)) && picture[0] != '@') {
        result.kind = CellInput::kRefuse;
        return result;
    }
    switch (type) {
        case 'D':
            return dateInput(typed, current, selStart, selEnd);
        case 'L':
            if (typed != 'T' && typed != 'F' && typed != 't' && typed != 'f')
                result.kind = CellInput::kRefuse;
            return result;
        default:
            return result;
    }
}

std::string numberInputText(const char* text) {
    if (!text)
        return "";
    char sign = setting(SET_TIZEDESJEL)[0];
    if (!sign)
        sign = '.';
    std::string typed = text;
    // The cell shows the number as the field stores it, with a point; a text without the setting's
    // sign reads that point as the decimal sign, so an unchanged cell keeps its value.
    if (sign != '.' && typed.find(sign) == std::string::npos) {
        for (char& c : typed)
            if (c == '.')
                c = sign;
    }
    char stored[kPictureResultSize];
    formatPicture(typed.c_str(), "@N", kPictureStore, stored);
    return stored;
}

bool parseCellDate(const char* text, const char* format, char stored[9]) {
    stored[0] = '\0';
    if (!text || !format)
        return false;
    std::string year, month, day;
    const char* f = format;
    for (const char* p = text; *p; ++p) {
        if (!digit(*p))
            continue;
        while (*f && *f != 'Y' && *f != 'M' && *f != 'D')
            ++f;
        if (!*f)
            return false;  // more digits than the format has places
        (*f == 'Y' ? year : *f == 'M' ? month : day) += *p;
        ++f;
    }
    while (*f && *f != 'Y' && *f != 'M' && *f != 'D')
        ++f;
    if (*f || year.size() != 4 || month.empty() || day.empty())
        return false;  // a place of the format left without a digit
    int y = std::atoi(year.c_str());
    // Years below 100 would be read as 19xx: a date other than the one typed.
    if (y < 100)
        return false;
    Date date(y, std::atoi(month.c_str()), std::atoi(day.c_str()));
    if (!date.isValid())
        return false;
    std::strncpy(stored, date.stored(), 8);
    stored[8] = '\0';
    return std::strlen(stored) == 8;
}

long storedMemoLength(const dbf& table, const char* fieldText, long limit) {
    if (!fieldText || limit < 0)
        return 0;
    unsigned long long block = 0;
    const char* p = fieldText;
    while (*p == ' ')
        ++p;
    for (; digit(*p); ++p) {
        block = block * 10 + static_cast<unsigned>(*p - '0');
        if (block > 0xFFFFFFFFull / kMemoBlockSize)
            return 0;
    }
    if (block == 0)
        return 0;
    files memo(table.memoFileName());
    if (!memo.openFile(platform::kGenericRead, platform::kShareRead | platform::kShareWrite, platform::kOpenExisting,
                       platform::kAttributeNormal))
        return 0;
    // Counted as readMemo reads: up to the first 0x1A or zero byte, or the end of the file.
    uint32_t position = static_cast<uint32_t>(block * kMemoBlockSize);
    std::vector<char> chunk(kMemoBlockSize);
    long length = 0;
    while (length <= limit) {
        uint32_t got = 0;
        if (!memo.readAt(position, chunk.data(), kMemoBlockSize, &got) || got == 0)
            break;
        for (uint32_t i = 0; i < got; ++i) {
            if (chunk[i] == 0x1A || chunk[i] == '\0') {
                memo.closeFile();
                return length;
            }
            if (++length > limit)
                break;
        }
        if (got < kMemoBlockSize || 0xFFFFFFFFu - position < kMemoBlockSize)
            break;
        position += got;
    }
    memo.closeFile();
    return length;
}
