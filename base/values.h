// Value text: `Str`, an owned text with arithmetic and comparison helpers, and the number formatters
// that turn a number into the text of an N field or of a display cell.
#pragma once

#include <cstddef>

#include "base/picture.h"

class Str {
  public:
    Str();
    // Empty text with room for `room` characters.
    explicit Str(int room);
    Str(const char* text);  // NOLINT: a text literal is a natural Str
    Str(const Str& other);
    Str(Str&& other) noexcept;
    ~Str();

    Str& operator=(const Str& other);
    Str& operator=(Str&& other) noexcept;
    Str& operator=(const char* text);
    // Decimal text of an integer.
    Str& operator=(int value);
    Str& operator=(long value);
    // formatNumber(value, 18, 5).
    Str& operator=(long double value);
    // The display form of a double (width SET_NUMLEN, decimals SET_DECIMAL).
    Str& operator=(double value);

    Str& operator+=(const Str& other);
    Str& operator+=(const char* text);
    Str& operator+=(char c);

    // Reads the text as a number, adds or takes away the value and writes the result back: integers
    // in decimal, double in display form, long double as formatNumber(value, 18, 5).
    Str& add(int value);
    Str& add(long value);
    Str& add(double value);
    Str& add(long double value);
    Str& subtract(int value);
    Str& subtract(long value);
    Str& subtract(double value);
    Str& subtract(long double value);

    const char* c_str() const { return text_; }
    int length() const { return length_; }

    // Exact byte comparison.
    bool operator==(const Str& other) const;
    bool operator==(const char* text) const;
    bool operator!=(const Str& other) const { return !(*this == other); }
    bool operator!=(const char* text) const { return !(*this == text); }
    // Ordering: accent-folded unless SET_HUN_CMP starts with '0'.
    int compare(const Str& other) const;
    bool operator<(const Str& other) const { return compare(other) < 0; }
    bool operator<=(const Str& other) const { return compare(other) <= 0; }
    bool operator>(const Str& other) const { return compare(other) > 0; }
    bool operator>=(const Str& other) const { return compare(other) >= 0; }

    // In-place edits; each returns *this.
    Str& upper();
    Str& lower();
    Str& trimLeft();
    Str& trimRight();
    Str& trim();
    Str& keepLeft(int n);
    Str& keepRight(int n);
    // Pad on the left (right-align), on the right, or both sides to `width`; a longer text is cut
    // to `width`, keeping its first characters.
    Str& padLeft(int width, char fill = ' ');
    Str& padRight(int width, char fill = ' ');
    Str& center(int width, char fill = ' ');
    // n copies of c.
    Str& fill(int n, char c);
    // Puts c after each character.
    Str& interleave(char c);

    // `count` characters from `start` (0-based), clipped to the text.
    Str sub(int start, int count) const;
    // Numeric readings; an empty or non-numeric text reads as 0.
    int toInt() const;
    long toLong() const;
    long double toLongDouble() const;
    // Index of the first occurrence, or -1.
    int find(const char* needle) const;
    bool isBlank() const;
    // Lines are separated by CR LF; an empty text has no lines. `line` is 1-based and gives at
    // most 511 characters (empty past the last line).
    int lineCount() const;
    Str line(int n) const;
    // The text through formatPicture.
    Str picture(const char* pictureText, PictureDirection direction) const;

  private:
    // Replaces the text by the first n bytes of `text` with a fresh buffer of room for `room`.
    void assign(const char* text, std::size_t n, std::size_t room = 0);
    // Takes ownership of `fresh` (length characters, terminated) and frees the old buffer.
    void adopt(char* fresh, int length);
    void release();
    static char* sharedEmpty();

    int length_ = 0;
    char* text_ = sharedEmpty();
};

inline bool operator==(const char* text, const Str& s) {
    return s == text;
}
inline bool operator!=(const char* text, const Str& s) {
    return s != text;
}

// Fixed-point text of value right-aligned in `width` with `decimals` decimals (-1 counts as 0).
// With decimals > 0 a text wider than the width becomes "0." and `decimals` zeros (not padded);
// with 0 decimals an over-wide text is returned whole.
Str formatNumber(long double value, int width, int decimals);
// Decimal text of value right-aligned in `width` (wider texts are returned whole).
Str formatInteger(long value, int width);
// Fixed-point text right-aligned in width SET_NUMLEN with SET_DECIMAL decimals (19 and 4 by default).
Str formatDisplay(long double value);
