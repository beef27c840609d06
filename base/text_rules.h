// Character-level text rules: Hungarian case mapping, accent-folding collation, 852-to-437 narrowing,
// the small string utilities the text code shares, the explorer labels and narrowing of 16-bit text.
#pragma once

#include <cstddef>

// Upper / lower case: a-z and the Hungarian letters of SET_HUN_LOWER / SET_HUN_UPPER (read at every
// call). `dst` may be `src`; it must hold strlen(src) + 1 bytes. Returns dst.
char* toUpperHun(const char* src, char* dst);
char* toLowerHun(const char* src, char* dst);
// One character by the same rules.
char toUpperHunChar(char c);
char toLowerHunChar(char c);

enum CollationTable {
    kCollateOem,   // text as stored in table files (code page 852)
    kCollateAnsi,  // text already converted to Windows-1250
};

// The byte `c` sorts as under the chosen table (accented vowels fold onto the plain vowel).
unsigned char collateByte(unsigned char c, CollationTable table);
// Folds the text in place through the chosen table; returns it.
char* collate(char* text, CollationTable table);
// strcmp of both texts after folding them through the ANSI table.
int compareHun(const char* a, const char* b);
// memcmp of n bytes after folding both through the chosen table (raw record bytes).
int compareCollated(const char* a, const char* b, std::size_t n, CollationTable table);
// Text comparison as the settings ask: accent-folded (ANSI table) unless SET_HUN_CMP starts with '0'.
int compareText(const char* a, const char* b);

// Replaces the Hungarian letters code page 437 lacks by their nearest 437 letters, in place.
char* narrow852To437(char* text);

// trimLeft skips leading spaces, trimRight drops trailing ones; dst may be src. Return dst.
char* trimLeft(const char* src, char* dst);
char* trimRight(const char* src, char* dst);
// Both, in place.
char* trim(char* text);
// 1 when the text is empty or only spaces.
int isBlank(const char* text);
// 1 when the text holds the character (the terminator is not part of the text).
int containsChar(char c, const char* text);
// Index of the first / last occurrence of needle in haystack, or -1. An empty needle is not found.
int findText(const char* needle, const char* haystack);
int findLastText(const char* needle, const char* haystack);
// Fills count bytes with c; writes no terminator.
void fillChars(char* buffer, int count, char c);
// Pads with c or cuts so the text is exactly n characters; buffer must hold n + 1 bytes.
char* padOrCut(char* buffer, int n, char c);
// Insert at `position` (the end when past it); `size` is the buffer's capacity, text that would
// overflow it is dropped from the end. Return the buffer.
char* insertChar(char* buffer, std::size_t size, int position, char c);
char* insertText(char* buffer, std::size_t size, int position, const char* text);
// Number of occurrences of c.
int countChar(const char* text, char c);
// The text after the last backslash / the path up to and including its last backslash (empty
// when there is none). dst must hold strlen(path) + 1 bytes; returns dst.
char* fileNamePart(const char* path, char* dst);
char* directoryPart(const char* path, char* dst);
// 1 for '0'..'9'.
int isDigit(int c);
// 1 when the text reads as the number 0 (standard decimal conversion; no number reads as 0).
int isZero(const char* text);

// An array of count buffers of size bytes each, zero-filled; the process ends with exit code 99
// when memory runs out. freeStringArray releases all of them.
char** newStringArray(int count, int size);
void freeStringArray(char** array, int count);

// The caption of an explorer tree node by its BR_... key; unknown keys give "Table privileges".
const char* label(const char* key);

// Keeps the low byte of each 16-bit little-endian character, in place, up to the first 16-bit zero
// or the end of the buffer's `size` bytes; the result is NUL-terminated. Returns the buffer.
char* narrowWide(char* buffer, std::size_t size);
