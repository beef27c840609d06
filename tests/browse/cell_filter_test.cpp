// The cell editor's rules without a window: what each typed character does by type and picture, the
// text a numeric cell stores, how a typed date is read, and how long a stored memo is.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "base/settings.h"
#include "browse/cell_filter.h"
#include "dbf/dbf.h"
#include "tests/dbf/dbf_test_util.h"

namespace {

class CellFilter : public testing::Test {
  protected:
    void SetUp() override { resetSettings(); }
    void TearDown() override { resetSettings(); }
};

// Types the characters one by one into a box that starts as `text` with everything selected, as the
// editor opens, applying what the filter decides; returns the text and the caret.
std::pair<std::string, int> typeInto(const std::string& text, const std::string& keys, const char* picture, char type) {
    std::string box = text;
    int start = 0, end = static_cast<int>(box.size());
    for (char c : keys) {
        CellInput in = filterCellInput(c, box.c_str(), start, end, picture, type);
        if (in.kind == CellInput::kAccept) {
            if (c == 8) {
                if (start == end && start > 0)
                    --start;
                box.erase(static_cast<size_t>(start), static_cast<size_t>(end - start));
            } else {
                box.replace(static_cast<size_t>(start), static_cast<size_t>(end - start), 1, c);
                ++start;
            }
            end = start;
        } else if (in.kind == CellInput::kReplace) {
            box = in.text;
            start = end = in.caret;
        }
    }
    return {box, start};
}

TEST_F(CellFilter, DateCellsTakeDigitsOnlyPlacedByTheDatePicture) {
    struct Case {
        const char* start;
        const char* keys;
        const char* text;
        int caret;
    } cases[] = {
        {"", "2", "2", 1},
        {"", "2024", "2024", 4},
        {"", "20240", "2024.0", 6},
        {"", "202402", "2024.02", 7},
        {"", "2024022", "2024.02.2", 9},
        {"", "20240229", "2024.02.29", 10},
        {"", "2x0a2-4", "2024", 4},                    // letters and signs change nothing
        {"2024.02.29", "19991231", "1999.12.31", 10},  // the whole old text was selected
        {"", "202402291", "2024.02.29", 10},           // a ninth digit has no place
    };
    for (const Case& c : cases) {
        auto [text, caret] = typeInto(c.start, c.keys, "@D", 'D');
        EXPECT_EQ(text, c.text) << c.keys;
        EXPECT_EQ(caret, c.caret) << c.keys;
    }
}

TEST_F(CellFilter, ADigitTypedInsideADateGoesWhereTheCaretIs) {
    // Caret after "2024.0": the digit lands between the month digits and the rest shifts right.
    CellInput in = filterCellInput('1', "2024.02.2", 6, 6, "@D", 'D');
    ASSERT_EQ(in.kind, CellInput::kReplace);
    EXPECT_EQ(in.text, "2024.01.22");
    EXPECT_EQ(in.caret, 8);
    // A selection is removed first.
    in = filterCellInput('5', "2024.02.29", 8, 10, "@D", 'D');
    ASSERT_EQ(in.kind, CellInput::kReplace);
    EXPECT_EQ(in.text, "2024.02.5");
    EXPECT_EQ(in.caret, 9);
    EXPECT_EQ(filterCellInput('a', "2024", 4, 4, "@D", 'D').kind, CellInput::kRefuse);
    EXPECT_EQ(filterCellInput(' ', "2024", 4, 4, "@D", 'D').kind, CellInput::kRefuse);
}

TEST_F(CellFilter, LogicalCellsTakeOneOfTfAtTheFirstPlace) {
    for (char c : std::string("TFtf"))
        EXPECT_EQ(filterCellInput(c, "T", 0, 1, "L", 'L').kind, CellInput::kAccept) << c;
    for (char c : std::string("xYyN1 "))
        EXPECT_EQ(filterCellInput(c, "T", 0, 1, "L", 'L').kind, CellInput::kRefuse) << c;
    // Behind the picture's one place nothing more goes in.
    EXPECT_EQ(filterCellInput('T', "t", 1, 1, "L", 'L').kind, CellInput::kRefuse);
    EXPECT_EQ(typeInto("T", "xt", "L", 'L').first, "t");
    EXPECT_EQ(typeInto("F", "tf", "L", 'L').first, "t");
}

TEST_F(CellFilter, EditingKeysAndOtherTypesPassUnfiltered) {
    for (char c : {'\b', '\r', '\n', '%', '\''}) {
        EXPECT_EQ(filterCellInput(c, "2024", 4, 4, "@D", 'D').kind, CellInput::kAccept) << int(c);
        EXPECT_EQ(filterCellInput(c, "T", 1, 1, "L", 'L').kind, CellInput::kAccept) << int(c);
    }
    // An empty picture takes everything, whatever the type.
    EXPECT_EQ(filterCellInput('x', "12", 2, 2, "", 'N').kind, CellInput::kAccept);
    EXPECT_EQ(filterCellInput('\xE1', "", 0, 0, "", 'C').kind, CellInput::kAccept);  // á
    EXPECT_EQ(filterCellInput('x', "", 0, 0, "", 'M').kind, CellInput::kAccept);
    // A hostile selection outside the text is clamped.
    CellInput in = filterCellInput('1', "20", 50, -3, "@D", 'D');
    EXPECT_EQ(in.kind, CellInput::kReplace);
    EXPECT_EQ(in.text, "1");
    EXPECT_EQ(filterCellInput('1', nullptr, 0, 0, nullptr, 'D').kind, CellInput::kAccept);
}

TEST_F(CellFilter, NumbersKeepDigitsTheDecimalSignAndALeadingMinus) {
    struct Case {
        const char* sign;
        const char* typed;
        const char* stored;
    } cases[] = {
        {".", "1,234.50", "1234.50"},
        {".", "-12.5", "-12.5"},
        {".", "12-5", "125"},
        {".", "  42 ", "42"},
        {".", "abc", ""},
        {",", "1 234,50", "1234.50"},
        {",", "-1.234,5", "-1234.5"},
        {",", "1.50", "1.50"},  // the form the cell shows: point kept
        {",", "x-3", "-3"},     // the minus is in front of every kept character
        {".", "", ""},
    };
    for (const Case& c : cases) {
        setting(SET_TIZEDESJEL, c.sign);
        EXPECT_EQ(numberInputText(c.typed), c.stored) << c.sign << " " << c.typed;
    }
    EXPECT_EQ(numberInputText(nullptr), "");
}

TEST_F(CellFilter, DatesAreReadInTheDateFormat) {
    char stored[9];
    EXPECT_TRUE(parseCellDate("2024.02.29", "YYYY.MM.DD", stored));
    EXPECT_STREQ(stored, "20240229");
    EXPECT_TRUE(parseCellDate("29/02/2024", "DD/MM/YYYY", stored));
    EXPECT_STREQ(stored, "20240229");
    EXPECT_TRUE(parseCellDate("2000-01-01", "YYYY-MM-DD", stored));
    EXPECT_STREQ(stored, "20000101");
    const char* bad[] = {"2023.02.29", "2024.13.01", "2024.00.10", "2024.02",     "",
                         ".  .",       "1900.02.29", "0024.02.29", "2024.02.291", "abcd"};
    for (const char* text : bad) {
        EXPECT_FALSE(parseCellDate(text, "YYYY.MM.DD", stored)) << text;
        EXPECT_STREQ(stored, "") << text;
    }
    EXPECT_FALSE(parseCellDate(nullptr, "YYYY.MM.DD", stored));
    EXPECT_FALSE(parseCellDate("20240229", "", stored));
}

class MemoLength : public CellFilter {
  protected:
    void SetUp() override {
        CellFilter::SetUp();
        path_ = dir_.file("MEMO.DBF");
        const FieldDef defs[] = {dbftest::field("NAME", 'C', 8), dbftest::field("NOTE", 'M', 10)};
        dbf t(path_.c_str());
        ASSERT_EQ(t.create(defs, 2), 1);
    }
    dbftest::TempDir dir_;
    std::string path_;
};

TEST_F(MemoLength, CountsTheStoredTextUpToTheLimitAndOne) {
    dbf t(path_.c_str());
    ASSERT_EQ(t.open(1), 1);
    const long lengths[] = {0, 1, 510, 511, 63998, 63999, 64000, 70000};
    ASSERT_EQ(t.lockTable(), 1);
    for (long length : lengths) {
        ASSERT_EQ(t.appendBlank(), 1);
        ASSERT_EQ(t.writeMemo(1, std::string(static_cast<size_t>(length), 'm').c_str()), 1);
        std::string block = t.getField(1);
        long expected = length > kMemoEditorLimit ? kMemoEditorLimit + 1 : length;
        EXPECT_EQ(storedMemoLength(t, block.c_str(), kMemoEditorLimit), expected) << length;
        // What the editor can hold is exactly what readMemo gives back whole.
        if (length <= kMemoEditorLimit) {
            EXPECT_EQ(static_cast<long>(strlen(t.readMemo(block.c_str()))), length);
        }
    }
    t.unlock();
    EXPECT_EQ(storedMemoLength(t, "", kMemoEditorLimit), 0);
    EXPECT_EQ(storedMemoLength(t, "         0", kMemoEditorLimit), 0);
    EXPECT_EQ(storedMemoLength(t, "   9999999", kMemoEditorLimit), 0);      // past the end
    EXPECT_EQ(storedMemoLength(t, "99999999999999", kMemoEditorLimit), 0);  // past any offset
    EXPECT_EQ(storedMemoLength(t, nullptr, kMemoEditorLimit), 0);
}

TEST_F(MemoLength, AMemoFileThatEndsWithoutItsMarkerCountsToTheEnd) {
    {
        dbf t(path_.c_str());
        ASSERT_EQ(t.open(1), 1);
        ASSERT_EQ(t.lockTable(), 1);
        ASSERT_EQ(t.appendBlank(), 1);
        ASSERT_EQ(t.writeMemo(1, "hello"), 1);
        t.unlock();
    }
    std::string memoPath = dir_.file("MEMO.DBT");
    std::vector<uint8_t> bytes = dbftest::readAll(memoPath);
    ASSERT_EQ(bytes.size(), 1024u + 6);
    bytes.pop_back();  // the 0x1A goes
    dbftest::writeAll(memoPath, bytes);
    dbf t(path_.c_str());
    ASSERT_EQ(t.open(0), 1);
    EXPECT_EQ(storedMemoLength(t, "         2", kMemoEditorLimit), 5);
}

}  // namespace
