// File records, their column texts and sort keys.
#include "copy/file_entry.h"

#include <cinttypes>
#include <cstdio>
#include <cstring>

#include "base/text_rules.h"
#include "base/values.h"

FileEntry makeFileEntry(const std::string& pattern, const FileFindData& find) {
    FileEntry entry;
    entry.find = find;
    size_t dot = find.name.rfind('.');
    bool directory = entry.isDirectory();
    entry.displayName = directory || dot == std::string::npos ? find.name : find.name.substr(0, dot);
    if (directory)
        entry.typeText = "<dir>";
    else if (dot != std::string::npos)
        entry.typeText = find.name.substr(dot + 1);
    // The pattern ends in "*.*"; the record keeps the enumeration's own name, so "report." and
    // "report" (both possible on a Unix drive) keep distinct paths.
    std::string directoryPart = pattern.size() >= 3 ? pattern.substr(0, pattern.size() - 3) : std::string();
    entry.fullPath = directoryPart + find.name;
    return entry;
}

std::string fileSizeText(uint64_t size) {
    long double shown = static_cast<long double>(size);
    const char* unit = "";
    if (size > 1024 && size < 1048576) {
        shown /= 1024;
        unit = " kb";
    } else if (size >= 1048576) {
        shown /= 1048576;
        unit = " mb";
    }
    Str number = formatNumber(shown, 10, 0);
    char text[64];
    std::snprintf(text, sizeof text, "%s", number.c_str());
    return std::string(trim(text)) + unit;
}

namespace {

// Days since 1970-01-01 to a calendar date (proleptic Gregorian).
void civilFromDays(int64_t days, int64_t& year, int& month, int& day) {
    days += 719468;
    int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    int64_t dayOfEra = days - era * 146097;
    int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    int64_t monthIndex = (5 * dayOfYear + 2) / 153;
    day = static_cast<int>(dayOfYear - (153 * monthIndex + 2) / 5 + 1);
    month = static_cast<int>(monthIndex < 10 ? monthIndex + 3 : monthIndex - 9);
    year = yearOfEra + era * 400 + (month <= 2);
}

constexpr int64_t kUnitsPerSecond = 10000000;
constexpr int64_t kDaysFrom1601To1970 = 134774;

}  // namespace

std::string fileTimeText(int64_t fileTime) {
    int64_t seconds = fileTime / kUnitsPerSecond;
    int64_t days = seconds / 86400 - kDaysFrom1601To1970;
    int64_t secondOfDay = seconds % 86400;
    int64_t year = 0;
    int month = 0, day = 0;
    civilFromDays(days, year, month, day);
    char text[64];
    std::snprintf(text, sizeof text, "%" PRId64 ".%02d.%02d %02d:%02d:%02d", year, month, day,
                  static_cast<int>(secondOfDay / 3600), static_cast<int>(secondOfDay / 60 % 60),
                  static_cast<int>(secondOfDay % 60));
    return text;
}

std::string fileAttributeText(uint32_t attributes) {
    using namespace file_attribute;
    const struct {
        uint32_t bit;
        char letter;
    } letters[] = {{kArchive, 'A'},  {kCompressed, 'C'}, {kDirectory, 'D'}, {kHidden, 'H'},
                   {kReadOnly, 'R'}, {kSystem, 'S'},     {kTemporary, 'T'}};
    std::string text;
    for (const auto& l : letters)
        text += (attributes & l.bit) ? l.letter : '-';
    return text;
}

std::string fileSortKey(const FileEntry& entry, int column) {
    switch (column) {
        case kColumnName:
            return entry.find.name;
        case kColumnType:
            // Directories come first; those named below ".." (a leading space or '!') before it.
            if (entry.isDirectory())
                return std::strcmp(entry.find.name.c_str(), "..") < 0 ? "-" : "";
            return entry.typeText.empty() ? "-" : entry.typeText;
        case kColumnSize: {
            // Wide enough for any 64-bit size, so files of 10 GB and more sort by size too.
            char key[32];
            std::snprintf(key, sizeof key, "%20" PRIu64, entry.find.size);
            return key;
        }
        case kColumnCreated:
            return fileTimeText(entry.find.creationTime);
        case kColumnAccessed:
            return fileTimeText(entry.find.accessTime);
        case kColumnModified:
            return fileTimeText(entry.find.writeTime);
        default:
            return std::string();
    }
}

int compareNoCase(const std::string& a, const std::string& b) {
    size_t n = a.size() < b.size() ? a.size() : b.size();
    for (size_t i = 0; i < n; ++i) {
        unsigned char x = static_cast<unsigned char>(toUpperHunChar(a[i]));
        unsigned char y = static_cast<unsigned char>(toUpperHunChar(b[i]));
        if (x != y)
            return x < y ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : a.size() < b.size() ? -1 : 1;
}

int compareFileEntries(const FileEntry* a, const FileEntry* b, int column) {
    if (!a || !b || a->fileItem != 1 || b->fileItem != 1)
        return 1;
    int order = compareNoCase(fileSortKey(*a, column), fileSortKey(*b, column));
    return order ? order : compareNoCase(a->find.name, b->find.name);
}

int compareNodeEntries(const NodeSortKeys& a, const NodeSortKeys& b, int column) {
    int order = column == 1 ? compareNoCase(a.description, b.description) : 0;
    return order ? order : compareNoCase(a.name, b.name);
}
