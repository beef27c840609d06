// The portable CP852 <-> CP1250 table against Windows' own OemToCharA / CharToOemA, all 256 bytes.
#include <windows.h>

#include <gtest/gtest.h>

#include "base/codepage.h"

namespace {

// The table is only proven under the Hungarian code pages the program is meant to run with.
bool hungarianCodePages() {
    return GetOEMCP() == 852 && GetACP() == 1250;
}

TEST(CodepageWin32, RunsUnderHungarianCodePages) {
    EXPECT_EQ(GetOEMCP(), 852u);
    EXPECT_EQ(GetACP(), 1250u);
}

TEST(CodepageWin32, PortableTableEqualsOemToCharA) {
    if (!hungarianCodePages())
        GTEST_SKIP() << "not a Hungarian locale";
    for (int i = 0; i < 256; ++i) {
        char source[2] = {static_cast<char>(i), 0};
        char converted[2] = {0, 0};
        OemToCharA(source, converted);
        EXPECT_EQ(static_cast<unsigned char>(converted[0]), codepage::portableOemToAnsi(static_cast<unsigned char>(i)))
            << "OEM byte " << i;
    }
}

TEST(CodepageWin32, PortableTableEqualsCharToOemA) {
    if (!hungarianCodePages())
        GTEST_SKIP() << "not a Hungarian locale";
    for (int i = 0; i < 256; ++i) {
        char source[2] = {static_cast<char>(i), 0};
        char converted[2] = {0, 0};
        CharToOemA(source, converted);
        EXPECT_EQ(static_cast<unsigned char>(converted[0]), codepage::portableAnsiToOem(static_cast<unsigned char>(i)))
            << "ANSI byte " << i;
    }
}

// The program's own conversion points (string and counted forms) over one buffer of every byte.
TEST(CodepageWin32, ConversionPointsAgreeWithTheTable) {
    if (!hungarianCodePages())
        GTEST_SKIP() << "not a Hungarian locale";
    char text[256];
    char counted[256];
    for (int i = 1; i < 256; ++i)
        text[i - 1] = counted[i - 1] = static_cast<char>(i);
    text[255] = 0;
    counted[255] = 0;
    oemToAnsi(text);
    oemToAnsi(counted, 256);
    for (int i = 1; i < 256; ++i) {
        unsigned char expected = codepage::portableOemToAnsi(static_cast<unsigned char>(i));
        EXPECT_EQ(static_cast<unsigned char>(text[i - 1]), expected) << i;
        EXPECT_EQ(static_cast<unsigned char>(counted[i - 1]), expected) << i;
    }
    for (int i = 1; i < 256; ++i)
        text[i - 1] = counted[i - 1] = static_cast<char>(i);
    ansiToOem(text);
    ansiToOem(counted, 256);
    for (int i = 1; i < 256; ++i) {
        unsigned char expected = codepage::portableAnsiToOem(static_cast<unsigned char>(i));
        EXPECT_EQ(static_cast<unsigned char>(text[i - 1]), expected) << i;
        EXPECT_EQ(static_cast<unsigned char>(counted[i - 1]), expected) << i;
    }
}

}  // namespace
