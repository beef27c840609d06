// The portable rules of record editing: the cell editor's input filter by type and picture, the
// number and date texts it stores, and how much of a memo the memo editor can hold.
#pragma once

#include <string>

class dbf;

// What the input filter makes of one typed character.
struct CellInput {
    enum Kind {
        kAccept,   // the edit box takes the character as usual
        kRefuse,   // the character is dropped
        kReplace,  // the box's text becomes `text` with the caret at `caret`; the character is dropped
    };
    Kind kind = kAccept;
    std::string text;
    int caret = 0;
};

// Decides on `typed` for an edit box holding `text` with the selection selStart..selEnd (the caret
// is at selStart once the selection is gone), for a column of `type` with `picture`.
CellInput filterCellInput(char typed, const char* text, int selStart, int selEnd, const char* picture, char type);

// The text a numeric cell stores: its digits, a minus sign in front of every other kept character,
// and the decimal sign of SET_TIZEDESJEL written as the point the field parses. A '.' counts as
// the point too when the text has no decimal sign of the setting (the form the cell shows).
std::string numberInputText(const char* text);

// Reads a date typed in the date format `format` (Y, M and D letters, other characters
// separators): the digits of the text in order, each taken by the next letter of the format.
// Writes the YYYYMMDD form into `stored` (9 bytes) and returns true for a valid date.
bool parseCellDate(const char* text, const char* format, char stored[9]);

// The most characters the memo editor holds: what readMemo can give back whole, so that a saved
// memo always reads back as it was saved.
constexpr long kMemoEditorLimit = 63999;

// The length of the memo stored under `fieldText` (the block number a memo field holds), counted up
// to `limit` + 1: a result above `limit` means the memo is longer than that. Reads the memo file
// through its own read-only handle; 0 for no memo or an unreadable file.
long storedMemoLength(const dbf& table, const char* fieldText, long limit);
