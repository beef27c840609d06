// OEM/ANSI conversion: the Hungarian letters both ways and round trips of the mappable bytes.
#include "base/codepage.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

// Code page 852 and Windows-1250 bytes of the Hungarian accented letters, in the same order:
// á é í ó ö ő ú ü ű Á É Í Ó Ö Ő Ú Ü Ű.
const char kOem[] = "\xA0\x82\xA1\xA2\x94\x8B\xA3\x81\xFB\xB5\x90\xD6\xE0\x99\x8A\xE9\x9A\xEB";
const char kAnsi[] = "\xE1\xE9\xED\xF3\xF6\xF5\xFA\xFC\xFB\xC1\xC9\xCD\xD3\xD6\xD5\xDA\xDC\xDB";

TEST(Codepage, HungarianLettersBothWays) {
    char text[sizeof kOem];
    std::memcpy(text, kOem, sizeof kOem);
    EXPECT_STREQ(oemToAnsi(text), kAnsi);
    EXPECT_STREQ(ansiToOem(text), kOem);
}

TEST(Codepage, AsciiIsUnchanged) {
    char text[128];
    for (int i = 1; i < 128; ++i)
        text[i - 1] = static_cast<char>(i);
    text[127] = 0;
    char copy[128];
    std::memcpy(copy, text, sizeof text);
    oemToAnsi(text);
    EXPECT_EQ(std::memcmp(text, copy, sizeof text), 0);
    ansiToOem(text);
    EXPECT_EQ(std::memcmp(text, copy, sizeof text), 0);
}

// Every byte that has an exact counterpart comes back; the best-fit ones map to ASCII or to
// another byte, never to themselves in the upper half unless mapped exactly.
TEST(Codepage, ExactMappingsRoundTrip) {
    int exact = 0;
    for (int i = 1; i < 256; ++i) {
        unsigned char c = static_cast<unsigned char>(i);
        if (codepage::portableAnsiToOem(codepage::portableOemToAnsi(c)) == c)
            ++exact;
    }
    EXPECT_EQ(exact, 226);  // 227 mappable bytes with zero, which is left out here
}

TEST(Codepage, CountedFormConvertsZeroBytesAndStopsAtTheLength) {
    char record[6] = {'\xA0', 0, '\x82', 'x', '\xA1', '\x81'};
    oemToAnsi(record, 5);
    EXPECT_EQ(record[0], '\xE1');
    EXPECT_EQ(record[1], 0);
    EXPECT_EQ(record[2], '\xE9');
    EXPECT_EQ(record[3], 'x');
    EXPECT_EQ(record[4], '\xED');
    EXPECT_EQ(record[5], '\x81');  // beyond the length: untouched
    ansiToOem(record, 5);
    EXPECT_EQ(record[0], '\xA0');
    EXPECT_EQ(record[4], '\xA1');
    oemToAnsi(record, 0);
    EXPECT_EQ(record[0], '\xA0');
}

}  // namespace
