// Hungarian case mapping, collation tables, 852-to-437 narrowing, string utilities and labels.
#include "base/text_rules.h"

#include <cstdlib>
#include <cstring>

#include "base/settings.h"

namespace {

constexpr int kHunLetters = 9;  // only the first 9 letters of each list pair up

// Finds c among the first 9 letters of a settings list; -1 when absent.
int hunIndex(const char* list, char c) {
    for (int i = 0; i < kHunLetters && list[i]; ++i)
        if (list[i] == c)
            return i;
    return -1;
}

// The partner of c at the same position of the other list, or c when it has none.
char hunPartner(int fromRow, int toRow, char c) {
    // Both lists are copied: `setting` hands out one shared result buffer.
    char from[kSettingFieldSize];
    char to[kSettingFieldSize];
    std::strcpy(from, setting(fromRow));
    std::strcpy(to, setting(toRow));
    int i = hunIndex(from, c);
    if (i < 0 || i >= static_cast<int>(std::strlen(to)))
        return c;
    return to[i];
}

char* mapCase(const char* src, char* dst, bool upper) {
    char from[kSettingFieldSize];
    char to[kSettingFieldSize];
    std::strcpy(from, setting(upper ? SET_HUN_LOWER : SET_HUN_UPPER));
    std::strcpy(to, setting(upper ? SET_HUN_UPPER : SET_HUN_LOWER));
    int toLength = static_cast<int>(std::strlen(to));
    std::size_t n = std::strlen(src);
    for (std::size_t k = 0; k <= n; ++k) {
        char c = src[k];
        if (upper && c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        } else if (!upper && c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        } else if (c != 0) {
            int i = hunIndex(from, c);
            if (i >= 0 && i < toLength)
                c = to[i];
        }
        dst[k] = c;
    }
    return dst;
}

struct FoldRange {
    unsigned char first;
    unsigned char last;
    char sortsAs;
};

// Code page 852 bytes of accented vowels, folded onto the plain vowel of the same case.
const unsigned char kOemFold[][6] = {
    {'u', 0x81, 0x96, 0x97, 0xA3, 0xFB},
    {'e', 0x82, 0x88, 0x89, 0, 0},
    {'a', 0x83, 0x84, 0x85, 0x86, 0xA0},
    {'i', 0x8B, 0x8C, 0x8D, 0xA1, 0},
    {'o', 0x93, 0x94, 0x95, 0xA2, 0},
    {'A', 0x8E, 0x8F, 0xB5, 0, 0},
    {'E', 0x90, 0, 0, 0, 0},
    {'I', 0xD6, 0, 0, 0, 0},
    {'O', 0x8A, 0x99, 0xE0, 0, 0},
    {'U', 0x9A, 0xE9, 0xEB, 0, 0},
};

// Windows-1250 ranges of accented vowels.
const FoldRange kAnsiFold[] = {
    {0xC0, 0xC5, 'A'}, {0xC8, 0xCB, 'E'}, {0xCC, 0xCF, 'I'}, {0xD0, 0xD6, 'O'}, {0xD9, 0xDC, 'U'},
    {0xE0, 0xE5, 'a'}, {0xE8, 0xEB, 'e'}, {0xEC, 0xEF, 'i'}, {0xF2, 0xF6, 'o'}, {0xF9, 0xFC, 'u'},
};

struct CollationTables {
    unsigned char oem[256];
    unsigned char ansi[256];
    CollationTables() {
        for (int i = 0; i < 256; ++i)
            oem[i] = ansi[i] = static_cast<unsigned char>(i);
        for (const auto& row : kOemFold)
            for (int k = 1; k < 6 && row[k]; ++k)
                oem[row[k]] = row[0];
        for (const FoldRange& r : kAnsiFold)
            for (int c = r.first; c <= r.last; ++c)
                ansi[c] = static_cast<unsigned char>(r.sortsAs);
    }
};

const CollationTables& tables() {
    static const CollationTables t;
    return t;
}

// Code page 852 letters 437 lacks, and the 437 byte each is written as.
const unsigned char kNarrow[][2] = {
    {0x8A, 0x99}, {0x8B, 0x94}, {0xB5, 0x8F}, {0xD6, 0xA1}, {0xE0, 0xA2}, {0xE9, 0xA3}, {0xEB, 0x9A}, {0xFB, 0x81},
};

struct Label {
    const char* key;
    const char* text;
};

const Label kLabels[] = {
    {"BR_ASZTAL", "Desktop"},
    {"BR_SAJATGEP", "My Computer"},
    {"BR_HALOZATOK", "Networks"},
    {"BR_FLOPPY", " (floppy)"},
    {"BR_HALOZATIESZKOZ", " (Network drive)"},
    {"BR_MEREVLEMEZ", " (Local drive)"},
    {"BR_CDROM", " (CD-ROM)"},
    {"BR_ODBC", "DSN"},
    {"BR_DBF", "Direct dBase III-access"},
    {"BR_TABLES", "Tables"},
    {"BR_FIELDS", "Fields"},
    {"BR_BROWSE", "Browse"},
    {"BR_COMMAND", "command"},
    {"BR_PRIMARY", "Primary keys"},
    {"BR_FOREIGN", "Foreign keys"},
    {"BR_PROCEDURES", "Procedures"},
    {"BR_TPRIV", "Table privileges"},
    {"BR_CPRIV", "Column privileges"},
};

}  // namespace

char* toUpperHun(const char* src, char* dst) {
    return mapCase(src, dst, true);
}

char* toLowerHun(const char* src, char* dst) {
    return mapCase(src, dst, false);
}

char toUpperHunChar(char c) {
    if (c >= 'a' && c <= 'z')
        return static_cast<char>(c - 'a' + 'A');
    return hunPartner(SET_HUN_LOWER, SET_HUN_UPPER, c);
}

char toLowerHunChar(char c) {
    if (c >= 'A' && c <= 'Z')
        return static_cast<char>(c - 'A' + 'a');
    return hunPartner(SET_HUN_UPPER, SET_HUN_LOWER, c);
}

unsigned char collateByte(unsigned char c, CollationTable table) {
    return table == kCollateOem ? tables().oem[c] : tables().ansi[c];
}

char* collate(char* text, CollationTable table) {
    for (char* p = text; *p; ++p)
        *p = static_cast<char>(collateByte(static_cast<unsigned char>(*p), table));
    return text;
}

int compareHun(const char* a, const char* b) {
    const auto* x = reinterpret_cast<const unsigned char*>(a);
    const auto* y = reinterpret_cast<const unsigned char*>(b);
    for (;; ++x, ++y) {
        int d = collateByte(*x, kCollateAnsi) - collateByte(*y, kCollateAnsi);
        if (d != 0 || *x == 0)
            return d;
    }
}

int compareCollated(const char* a, const char* b, std::size_t n, CollationTable table) {
    for (std::size_t i = 0; i < n; ++i) {
        int d =
            collateByte(static_cast<unsigned char>(a[i]), table) - collateByte(static_cast<unsigned char>(b[i]), table);
        if (d != 0)
            return d;
    }
    return 0;
}

int compareText(const char* a, const char* b) {
    if (setting(SET_HUN_CMP)[0] == '0')
        return std::strcmp(a, b);
    return compareHun(a, b);
}

char* narrow852To437(char* text) {
    for (char* p = text; *p; ++p)
        for (const auto& pair : kNarrow)
            if (static_cast<unsigned char>(*p) == pair[0]) {
                *p = static_cast<char>(pair[1]);
                break;
            }
    return text;
}

char* trimLeft(const char* src, char* dst) {
    const char* p = src;
    while (*p == ' ')
        ++p;
    std::memmove(dst, p, std::strlen(p) + 1);
    return dst;
}

char* trimRight(const char* src, char* dst) {
    std::size_t n = std::strlen(src);
    while (n > 0 && src[n - 1] == ' ')
        --n;
    std::memmove(dst, src, n);
    dst[n] = 0;
    return dst;
}

char* trim(char* text) {
    return trimLeft(trimRight(text, text), text);
}

int isBlank(const char* text) {
    for (const char* p = text; *p; ++p)
        if (*p != ' ')
            return 0;
    return 1;
}

int containsChar(char c, const char* text) {
    return c != 0 && std::strchr(text, c) != nullptr ? 1 : 0;
}

int findText(const char* needle, const char* haystack) {
    if (!*needle)
        return -1;
    const char* hit = std::strstr(haystack, needle);
    return hit ? static_cast<int>(hit - haystack) : -1;
}

int findLastText(const char* needle, const char* haystack) {
    std::size_t n = std::strlen(needle);
    std::size_t h = std::strlen(haystack);
    if (n == 0 || n > h)
        return -1;
    for (std::size_t i = h - n + 1; i-- > 0;)
        if (std::memcmp(haystack + i, needle, n) == 0)
            return static_cast<int>(i);
    return -1;
}

void fillChars(char* buffer, int count, char c) {
    if (count > 0)
        std::memset(buffer, c, static_cast<std::size_t>(count));
}

char* padOrCut(char* buffer, int n, char c) {
    if (n < 0)
        n = 0;
    std::size_t length = strnlen(buffer, static_cast<std::size_t>(n));
    for (std::size_t i = length; i < static_cast<std::size_t>(n); ++i)
        buffer[i] = c;
    buffer[n] = 0;
    return buffer;
}

char* insertText(char* buffer, std::size_t size, int position, const char* text) {
    if (size == 0)
        return buffer;
    std::size_t length = strnlen(buffer, size - 1);
    buffer[length] = 0;
    std::size_t at = position < 0 ? 0 : static_cast<std::size_t>(position);
    if (at > length)
        at = length;
    std::size_t add = std::strlen(text);
    if (add > size - 1 - at)
        add = size - 1 - at;
    // Keep as much of the tail as still fits behind the inserted text.
    std::size_t tail = length - at;
    if (tail > size - 1 - at - add)
        tail = size - 1 - at - add;
    std::memmove(buffer + at + add, buffer + at, tail);
    std::memcpy(buffer + at, text, add);
    buffer[at + add + tail] = 0;
    return buffer;
}

char* insertChar(char* buffer, std::size_t size, int position, char c) {
    const char text[2] = {c, 0};
    return insertText(buffer, size, position, text);
}

int countChar(const char* text, char c) {
    int n = 0;
    for (const char* p = text; *p; ++p)
        n += *p == c;
    return n;
}

char* fileNamePart(const char* path, char* dst) {
    const char* slash = std::strrchr(path, '\\');
    const char* name = slash ? slash + 1 : path;
    std::memmove(dst, name, std::strlen(name) + 1);
    return dst;
}

char* directoryPart(const char* path, char* dst) {
    const char* slash = std::strrchr(path, '\\');
    std::size_t n = slash ? static_cast<std::size_t>(slash - path) + 1 : 0;
    std::memmove(dst, path, n);
    dst[n] = 0;
    return dst;
}

int isDigit(int c) {
    return c >= '0' && c <= '9' ? 1 : 0;
}

int isZero(const char* text) {
    return std::strtod(text, nullptr) == 0.0 ? 1 : 0;
}

char** newStringArray(int count, int size) {
    if (count < 0 || size < 0)
        std::exit(99);
    char** array = static_cast<char**>(std::calloc(static_cast<std::size_t>(count) + 1, sizeof(char*)));
    if (!array)
        std::exit(99);
    for (int i = 0; i < count; ++i) {
        array[i] = static_cast<char*>(std::calloc(static_cast<std::size_t>(size) + 1, 1));
        if (!array[i])
            std::exit(99);
    }
    return array;
}

void freeStringArray(char** array, int count) {
    if (!array)
        return;
    for (int i = 0; i < count; ++i)
        std::free(array[i]);
    std::free(array);
}

const char* label(const char* key) {
    for (const Label& row : kLabels)
        if (std::strcmp(row.key, key) == 0)
            return row.text;
    return "Table privileges";
}

char* narrowWide(char* buffer, std::size_t size) {
    if (size == 0)
        return buffer;
    std::size_t out = 0;
    std::size_t i = 0;
    while (i + 1 < size) {
        unsigned char low = static_cast<unsigned char>(buffer[i]);
        unsigned char high = static_cast<unsigned char>(buffer[i + 1]);
        if (low == 0 && high == 0)
            break;
        if (low == 0) {
            ++i;  // a zero low byte is stepped over one byte at a time
            continue;
        }
        buffer[out++] = static_cast<char>(low);
        i += 2;
    }
    // An odd last byte (no partner) carries no character.
    buffer[out < size ? out : size - 1] = 0;
    return buffer;
}
