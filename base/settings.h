// The process-wide settings table: 65 text settings addressed by row index or key, kept in memory only.
#pragma once

// Row indexes of the settings table.
enum SettingIndex {
    SET_DECIMAL = 0,
    SET_DATEFORMAT = 1,
    SET_USER = 2,
    SET_NUMLEN = 3,
    SET_SOFTSEEK = 4,
    SET_DELETED = 5,
    SET_HUN_LOWER = 6,
    SET_HUN_UPPER = 7,
    SET_HUN_CMP = 8,
    SET_CEGNEV = 9,
    SET_VAROS = 10,
    SET_UTCA = 11,
    SET_IRSZ = 12,
    SET_TELEFON = 13,
    SET_TELEFAX = 14,
    SET_ADOSZAM = 15,
    SET_BANKSZAM = 16,
    SET_PRINTER_TO = 17,
    SET_TOOLBARX = 18,
    SET_TOOLBARY = 19,
    SET_TIZEDESJEL = 20,
    SET_EZRESSEP = 21,
    SET_OEMTOANSI = 22,
    SET_852TO437 = 23,
    SET_FIELDSEP = 24,
    SET_CHAR_DELIMITER = 25,
    SET_DATE = 26,
    SET_EV = 27,
    SET_TBTOR = 28,
    SET_ADOJEL = 29,
    SET_KSH = 30,
    SET_LAND_WIDTH_ZOOM = 31,
    SET_LAND_HEIGHT_ZOOM = 32,
    SET_LAND_WIDTH_UNZOOM = 33,
    SET_LAND_HEIGHT_UNZOOM = 34,
    SET_PORT_WIDTH_ZOOM = 35,
    SET_PORT_HEIGHT_ZOOM = 36,
    SET_PORT_WIDTH_UNZOOM = 37,
    SET_PORT_HEIGHT_UNZOOM = 38,
    SET_GET_WRITE = 39,
    SET_GET_BACK = 40,
    SET_GET_CURRENT_WRITE = 41,
    SET_GET_CURRENT_BACK = 42,
    SET_GET_BKMODE = 43,
    SET_GET_COLOR = 44,
    SET_GET_FONT = 45,
    SET_GET_SAY_FONT = 46,
    SET_GET_FONT_TYPE = 47,
    SET_SEARCH_MODE = 48,
    SET_GET_ST_FONT = 49,
    SET_GET_ST_TYPE = 50,
    SET_GET_ST_COLOR = 51,
    SET_TXT_KONVERT = 52,
    SET_EXIT_KEY = 53,
    SET_FILTER = 54,
    SET_EUTAX = 55,
    SET_CEGJ = 56,
    SET_KERUL = 57,
    SET_KOZTN = 58,
    SET_KOZTJ = 59,
    SET_HAZSZ = 60,
    SET_EPULET = 61,
    SET_LEPCSO = 62,
    SET_SZINT = 63,
    SET_AJTO = 64,
};

constexpr int kSettingCount = 65;
constexpr int kSettingFieldSize = 128;  // key and value each live in a 128-byte field

// Returns the row's value before the call; a non-empty `value` replaces it (cut to 127 bytes).
// An index outside 0..64 returns an empty string and changes nothing. The result buffer is
// shared by all calls of `setting` and stays valid until the next one.
const char* setting(int index, const char* value = "");

// As `setting`, addressing the row by its exact key. An unknown key returns an empty string
// and changes nothing. Has its own result buffer.
const char* settingByName(const char* key, const char* value = "");

// Numeric readers: the value read with the standard decimal conversion.
long settingLong(int index);
double settingDouble(int index);
// A flag setting is on when its text reads as a non-zero number.
bool settingOn(int index);

// Puts every row back to its built-in default (start-up state; used by tests).
void resetSettings();
