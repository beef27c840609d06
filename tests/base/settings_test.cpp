// The settings table: keys, indexes, defaults and the exchange semantics of setting/settingByName.
#include "base/settings.h"

#include <gtest/gtest.h>

#include <string>

namespace {

class Settings : public testing::Test {
  protected:
    void SetUp() override { resetSettings(); }
    void TearDown() override { resetSettings(); }
};

struct Row {
    int index;
    const char* key;
    const char* value;
};

// Every row with a default, and a sample of the empty ones, as the program reads them.
const Row kRows[] = {
    {0, "SET_DECIMAL", "4"},
    {1, "SET_DATEFORMAT", "YYYY.MM.DD"},
    {2, "SET_USER", ""},
    {3, "SET_NUMLEN", "19"},
    {4, "SET_SOFTSEEK", "0"},
    {5, "SET_DELETED", "0"},
    {6, "SET_HUN_LOWER", "\xF6\xFC\xF3\xF5\xFA\xE9\xE1\xFB\xED"},
    {7, "SET_HUN_UPPER", "\xD6\xDC\xD3\xD5\xDA\xC9\xC1\xDB\xCD"},
    {8, "SET_HUN_CMP", "1"},
    {9, "SET_CEGNEV", ""},
    {16, "SET_BANKSZAM", ""},
    {17, "SET_PRINTER_TO", "LPT1"},
    {18, "SET_TOOLBARX", "42"},
    {19, "SET_TOOLBARY", "42"},
    {20, "SET_TIZEDESJEL", "."},
    {21, "SET_EZRESSEP", ","},
    {22, "SET_OEMTOANSI", "1"},
    {23, "SET_852TO437", "1"},
    {24, "SET_FIELDSEP", "`"},
    {25, "SET_CHAR_DELIMITER", "'"},
    {30, "SET_KSH", ""},
    {31, "SET_LAND_WIDTH_ZOOM", "0.8"},
    {32, "SET_LAND_HEIGHT_ZOOM", "1.4"},
    {33, "SET_LAND_WIDTH_UNZOOM", "1.8"},
    {34, "SET_LAND_HEIGHT_UNZOOM", "1.0"},
    {35, "SET_PORT_WIDTH_ZOOM", "1.4"},
    {36, "SET_PORT_HEIGHT_ZOOM", "1.4"},
    {37, "SET_PORT_WIDTH_UNZOOM", "1.4"},
    {38, "SET_PORT_HEIGHT_UNZOOM", "1.65"},
    {39, "SET_GET_WRITE", "1"},
    {40, "SET_GET_BACK", "16777215"},
    {41, "SET_GET_CURRENT_WRITE", "255"},
    {42, "SET_GET_CURRENT_BACK", "65535"},
    {43, "SET_GET_BKMODE", "TRANSPARENT"},
    {44, "SET_GET_COLOR", "TRUE"},
    {45, "SET_GET_FONT", "Courier New"},
    {46, "SET_GET_SAY_FONT", "Courier New"},
    {47, "SET_GET_FONT_TYPE", "BOLD"},
    {48, "SET_SEARCH_MODE", "FIRST"},
    {49, "SET_GET_ST_FONT", "Courier New"},
    {50, "SET_GET_ST_TYPE", "800"},
    {51, "SET_GET_ST_COLOR", "255"},
    {52, "SET_TXT_KONVERT", "1"},
    {53, "SET_EXIT_KEY", "1"},
    {54, "SET_FILTER", "0"},
    {55, "SET_EUTAX", ""},
    {64, "SET_AJTO", ""},
};

TEST_F(Settings, EveryRowHasItsKeyIndexAndDefault) {
    for (const Row& row : kRows) {
        SCOPED_TRACE(row.key);
        EXPECT_STREQ(setting(row.index), row.value);
        EXPECT_STREQ(settingByName(row.key), row.value);
    }
}

TEST_F(Settings, KeysAreUniqueAndFindTheirOwnRow) {
    // Writing each row by index under a marker must be readable back by key at that row only.
    const char* keys[kSettingCount] = {
        "SET_DECIMAL",
        "SET_DATEFORMAT",
        "SET_USER",
        "SET_NUMLEN",
        "SET_SOFTSEEK",
        "SET_DELETED",
        "SET_HUN_LOWER",
        "SET_HUN_UPPER",
        "SET_HUN_CMP",
        "SET_CEGNEV",
        "SET_VAROS",
        "SET_UTCA",
        "SET_IRSZ",
        "SET_TELEFON",
        "SET_TELEFAX",
        "SET_ADOSZAM",
        "SET_BANKSZAM",
        "SET_PRINTER_TO",
        "SET_TOOLBARX",
        "SET_TOOLBARY",
        "SET_TIZEDESJEL",
        "SET_EZRESSEP",
        "SET_OEMTOANSI",
        "SET_852TO437",
        "SET_FIELDSEP",
        "SET_CHAR_DELIMITER",
        "SET_DATE",
        "SET_EV",
        "SET_TBTOR",
        "SET_ADOJEL",
        "SET_KSH",
        "SET_LAND_WIDTH_ZOOM",
        "SET_LAND_HEIGHT_ZOOM",
        "SET_LAND_WIDTH_UNZOOM",
        "SET_LAND_HEIGHT_UNZOOM",
        "SET_PORT_WIDTH_ZOOM",
        "SET_PORT_HEIGHT_ZOOM",
        "SET_PORT_WIDTH_UNZOOM",
        "SET_PORT_HEIGHT_UNZOOM",
        "SET_GET_WRITE",
        "SET_GET_BACK",
        "SET_GET_CURRENT_WRITE",
        "SET_GET_CURRENT_BACK",
        "SET_GET_BKMODE",
        "SET_GET_COLOR",
        "SET_GET_FONT",
        "SET_GET_SAY_FONT",
        "SET_GET_FONT_TYPE",
        "SET_SEARCH_MODE",
        "SET_GET_ST_FONT",
        "SET_GET_ST_TYPE",
        "SET_GET_ST_COLOR",
        "SET_TXT_KONVERT",
        "SET_EXIT_KEY",
        "SET_FILTER",
        "SET_EUTAX",
        "SET_CEGJ",
        "SET_KERUL",
        "SET_KOZTN",
        "SET_KOZTJ",
        "SET_HAZSZ",
        "SET_EPULET",
        "SET_LEPCSO",
        "SET_SZINT",
        "SET_AJTO",
    };
    for (int i = 0; i < kSettingCount; ++i)
        setting(i, ("row" + std::to_string(i)).c_str());
    for (int i = 0; i < kSettingCount; ++i) {
        SCOPED_TRACE(keys[i]);
        EXPECT_EQ(std::string(settingByName(keys[i])), "row" + std::to_string(i));
    }
}

TEST_F(Settings, IndexOutsideTheTableReadsEmptyAndChangesNothing) {
    EXPECT_STREQ(setting(65, "x"), "");
    EXPECT_STREQ(setting(-1, "x"), "");
    EXPECT_STREQ(setting(64), "");
    EXPECT_STREQ(setting(0), "4");
}

TEST_F(Settings, WriteReturnsTheOldValueAndTheNextReadTheNew) {
    EXPECT_STREQ(setting(SET_CEGNEV, "Quarrow 0.50"), "");
    EXPECT_STREQ(setting(SET_CEGNEV), "Quarrow 0.50");
    // The caller keeps the old value to restore it later, as the sort does with SET_OEMTOANSI.
    std::string old = setting(SET_OEMTOANSI, "0");
    EXPECT_EQ(old, "1");
    EXPECT_FALSE(settingOn(SET_OEMTOANSI));
    setting(SET_OEMTOANSI, old.c_str());
    EXPECT_TRUE(settingOn(SET_OEMTOANSI));
}

TEST_F(Settings, AnEmptyValueOnlyReads) {
    setting(SET_USER, "someone");
    EXPECT_STREQ(setting(SET_USER, ""), "someone");
    EXPECT_STREQ(setting(SET_USER, nullptr), "someone");
    EXPECT_STREQ(setting(SET_USER), "someone");
}

TEST_F(Settings, ByNameIsExactAndCaseSensitive) {
    EXPECT_STREQ(settingByName("SET_DECIMAL", "2"), "4");
    EXPECT_STREQ(setting(SET_DECIMAL), "2");
    EXPECT_STREQ(settingByName("set_decimal", "9"), "");
    EXPECT_STREQ(settingByName("SET_DECIMA", "9"), "");
    EXPECT_STREQ(settingByName(nullptr, "9"), "");
    EXPECT_STREQ(setting(SET_DECIMAL), "2");
}

TEST_F(Settings, ValuesAreCutTo127Bytes) {
    std::string longValue(300, 'v');
    setting(SET_USER, longValue.c_str());
    EXPECT_EQ(std::string(setting(SET_USER)), std::string(127, 'v'));
}

TEST_F(Settings, EachOperationHasItsOwnResultBuffer) {
    const char* bySetting = setting(SET_DECIMAL);
    const char* byName = settingByName("SET_NUMLEN");
    EXPECT_STREQ(bySetting, "4");
    EXPECT_STREQ(byName, "19");
}

TEST_F(Settings, NumericReadersUseDecimalConversion) {
    EXPECT_EQ(settingLong(SET_NUMLEN), 19);
    EXPECT_DOUBLE_EQ(settingDouble(SET_PORT_HEIGHT_UNZOOM), 1.65);
    EXPECT_TRUE(settingOn(SET_HUN_CMP));
    EXPECT_FALSE(settingOn(SET_DELETED));
    setting(SET_DELETED, "0.5");
    EXPECT_TRUE(settingOn(SET_DELETED));
    setting(SET_DELETED, "yes");  // not a number: off
    EXPECT_FALSE(settingOn(SET_DELETED));
    EXPECT_EQ(settingLong(99), 0);
}

}  // namespace
