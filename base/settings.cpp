// The settings table with its built-in defaults.
#include "base/settings.h"

#include <cstdlib>
#include <cstring>

namespace {

struct SettingRow {
    char key[kSettingFieldSize];
    char value[kSettingFieldSize];
};

struct SettingDefault {
    const char* key;
    const char* value;
};

// Accented defaults are spelled as Windows-1250 bytes so they do not depend on the compiler's charset.
const SettingDefault kDefaults[kSettingCount] = {
    {"SET_DECIMAL", "4"},
    {"SET_DATEFORMAT", "YYYY.MM.DD"},
    {"SET_USER", ""},
    {"SET_NUMLEN", "19"},
    {"SET_SOFTSEEK", "0"},
    {"SET_DELETED", "0"},
    {"SET_HUN_LOWER", "\xF6\xFC\xF3\xF5\xFA\xE9\xE1\xFB\xED"},  // öüóőúéáűí
    {"SET_HUN_UPPER", "\xD6\xDC\xD3\xD5\xDA\xC9\xC1\xDB\xCD"},  // ÖÜÓŐÚÉÁŰÍ
    {"SET_HUN_CMP", "1"},
    {"SET_CEGNEV", ""},
    {"SET_VAROS", ""},
    {"SET_UTCA", ""},
    {"SET_IRSZ", ""},
    {"SET_TELEFON", ""},
    {"SET_TELEFAX", ""},
    {"SET_ADOSZAM", ""},
    {"SET_BANKSZAM", ""},
    {"SET_PRINTER_TO", "LPT1"},
    {"SET_TOOLBARX", "42"},
    {"SET_TOOLBARY", "42"},
    {"SET_TIZEDESJEL", "."},
    {"SET_EZRESSEP", ","},
    {"SET_OEMTOANSI", "1"},
    {"SET_852TO437", "1"},
    {"SET_FIELDSEP", "`"},
    {"SET_CHAR_DELIMITER", "'"},
    {"SET_DATE", ""},
    {"SET_EV", ""},
    {"SET_TBTOR", ""},
    {"SET_ADOJEL", ""},
    {"SET_KSH", ""},
    {"SET_LAND_WIDTH_ZOOM", "0.8"},
    {"SET_LAND_HEIGHT_ZOOM", "1.4"},
    {"SET_LAND_WIDTH_UNZOOM", "1.8"},
    {"SET_LAND_HEIGHT_UNZOOM", "1.0"},
    {"SET_PORT_WIDTH_ZOOM", "1.4"},
    {"SET_PORT_HEIGHT_ZOOM", "1.4"},
    {"SET_PORT_WIDTH_UNZOOM", "1.4"},
    {"SET_PORT_HEIGHT_UNZOOM", "1.65"},
    {"SET_GET_WRITE", "1"},
    {"SET_GET_BACK", "16777215"},
    {"SET_GET_CURRENT_WRITE", "255"},
    {"SET_GET_CURRENT_BACK", "65535"},
    {"SET_GET_BKMODE", "TRANSPARENT"},
    {"SET_GET_COLOR", "TRUE"},
    {"SET_GET_FONT", "Courier New"},
    {"SET_GET_SAY_FONT", "Courier New"},
    {"SET_GET_FONT_TYPE", "BOLD"},
    {"SET_SEARCH_MODE", "FIRST"},
    {"SET_GET_ST_FONT", "Courier New"},
    {"SET_GET_ST_TYPE", "800"},
    {"SET_GET_ST_COLOR", "255"},
    {"SET_TXT_KONVERT", "1"},
    {"SET_EXIT_KEY", "1"},
    {"SET_FILTER", "0"},
    {"SET_EUTAX", ""},
    {"SET_CEGJ", ""},
    {"SET_KERUL", ""},
    {"SET_KOZTN", ""},
    {"SET_KOZTJ", ""},
    {"SET_HAZSZ", ""},
    {"SET_EPULET", ""},
    {"SET_LEPCSO", ""},
    {"SET_SZINT", ""},
    {"SET_AJTO", ""},
};

// Copies at most size-1 bytes and always terminates.
void copyField(char* dest, const char* src, size_t size) {
    size_t n = src ? strnlen(src, size - 1) : 0;
    if (n)
        memcpy(dest, src, n);
    dest[n] = 0;
}

SettingRow* table() {
    static SettingRow rows[kSettingCount];
    static bool filled = false;
    if (!filled) {
        filled = true;
        resetSettings();
    }
    return rows;
}

const char* exchange(int index, const char* value, char* result) {
    result[0] = 0;
    if (index < 0 || index >= kSettingCount)
        return result;
    SettingRow& row = table()[index];
    copyField(result, row.value, kSettingFieldSize);
    if (value && *value)
        copyField(row.value, value, kSettingFieldSize);
    return result;
}

}  // namespace

void resetSettings() {
    SettingRow* rows = table();
    for (int i = 0; i < kSettingCount; ++i) {
        copyField(rows[i].key, kDefaults[i].key, kSettingFieldSize);
        copyField(rows[i].value, kDefaults[i].value, kSettingFieldSize);
    }
}

const char* setting(int index, const char* value) {
    static char result[kSettingFieldSize];
    return exchange(index, value, result);
}

const char* settingByName(const char* key, const char* value) {
    static char result[kSettingFieldSize];
    const SettingRow* rows = table();
    for (int i = 0; key && i < kSettingCount; ++i) {
        if (strcmp(rows[i].key, key) == 0)
            return exchange(i, value, result);
    }
    result[0] = 0;
    return result;
}

namespace {
// Reads without disturbing the shared result buffer of `setting`.
const char* peek(int index) {
    return (index >= 0 && index < kSettingCount) ? table()[index].value : "";
}
}  // namespace

long settingLong(int index) {
    return strtol(peek(index), nullptr, 10);
}

double settingDouble(int index) {
    return strtod(peek(index), nullptr);
}

bool settingOn(int index) {
    return settingDouble(index) != 0.0;
}
