// Named properties: 10-character names, the shared empty string, removal by kind.
#include "base/properties.h"

#include <gtest/gtest.h>

namespace {

class Properties : public testing::Test {
  protected:
    void SetUp() override { removeProperty("", 'P'); }
    void TearDown() override { removeProperty("", 'P'); }
};

TEST_F(Properties, NeverSetReadsAsTheSharedEmptyString) {
    const char* before = static_cast<const char*>(property("HWND"));  // before the list exists
    ASSERT_NE(before, nullptr);
    EXPECT_STREQ(before, "");
    int value = 1;
    setProperty("OS", &value);
    const char* after = static_cast<const char*>(property("TMP_DIR"));
    ASSERT_NE(after, nullptr);
    EXPECT_STREQ(after, "");
    EXPECT_EQ(before, after);
    EXPECT_STREQ(static_cast<const char*>(property(nullptr)), "");
}

TEST_F(Properties, SetReturnsNullWhenNewAndThePreviousPointerAfter) {
    int a = 1, b = 2;
    EXPECT_EQ(setProperty("HINSTANCE", &a), nullptr);
    EXPECT_EQ(property("HINSTANCE"), &a);
    EXPECT_EQ(setProperty("HINSTANCE", &b), &a);
    EXPECT_EQ(property("HINSTANCE"), &b);
}

TEST_F(Properties, NamesAreCutToTenCharacters) {
    char* path = new char[255]();
    EXPECT_EQ(setProperty("SOURCE_PATH", path), nullptr);
    // Any name that begins with the same ten characters finds the same entry.
    EXPECT_EQ(property("SOURCE_PAT"), path);
    EXPECT_EQ(property("SOURCE_PATH"), path);
    EXPECT_EQ(property("SOURCE_PATXYZ"), path);
    EXPECT_STREQ(static_cast<const char*>(property("SOURCE_PA")), "");
    int other = 0;
    EXPECT_EQ(setProperty("SOURCE_PATHS", &other), path);  // replaces, does not add
    EXPECT_EQ(setProperty("SOURCE_PATH", path), &other);
    // Removal compares the stored name exactly, so a cut name must be given cut.
    removeProperty("SOURCE_PATH", 'C');
    EXPECT_EQ(property("SOURCE_PAT"), path);
    removeProperty("SOURCE_PAT", 'C');  // frees the buffer (ASan checks the delete[])
    EXPECT_STREQ(static_cast<const char*>(property("SOURCE_PAT")), "");
}

TEST_F(Properties, RemoveKindPLeavesTheValueAlone) {
    int value = 7;
    setProperty("HWND", &value);
    removeProperty("HWND", 'P');
    EXPECT_STREQ(static_cast<const char*>(property("HWND")), "");
    EXPECT_EQ(value, 7);
}

TEST_F(Properties, RemoveKindCWithNullValue) {
    setProperty("PRINT_FONT", nullptr);
    removeProperty("PRINT_FONT", 'C');
    EXPECT_STREQ(static_cast<const char*>(property("PRINT_FONT")), "");
}

TEST_F(Properties, RemoveKindONullIsSafe) {
    setProperty("FONT", nullptr);
    removeProperty("FONT", 'O');
    EXPECT_STREQ(static_cast<const char*>(property("FONT")), "");
}

TEST_F(Properties, RemovingAMissingNameOrAnUnknownKindChangesNothing) {
    int value = 3;
    setProperty("OS", &value);
    removeProperty("NOPE", 'C');
    removeProperty("OS", 'X');
    EXPECT_EQ(property("OS"), &value);
}

TEST_F(Properties, InsertionOrderDecidesWhichEntryMatches) {
    int first = 1, second = 2;
    setProperty("ABCDEFGHIJ", &first);
    setProperty("ABCDEFGHIJK", &second);  // same first ten characters: replaces the first entry
    EXPECT_EQ(property("ABCDEFGHIJ"), &second);
}

TEST_F(Properties, AnEmptyNameDestroysTheList) {
    int value = 1;
    setProperty("HWND", &value);
    void* result = setProperty("", nullptr);
    ASSERT_NE(result, nullptr);
    EXPECT_STREQ(static_cast<const char*>(result), "");
    EXPECT_STREQ(static_cast<const char*>(property("HWND")), "");
    setProperty("HWND", &value);
    removeProperty("", 'C');
    EXPECT_STREQ(static_cast<const char*>(property("HWND")), "");
}

}  // namespace
