#include <gtest/gtest.h>

#include "common/text.h"

using namespace velmora;

TEST(Text, TrimRemovesControlsAndBlanksAtBothEndsOnly)
{
    EXPECT_EQ(trimField(std::string("\t\r\n  a b \x01\x1f ")), "a b");
    EXPECT_EQ(trimField(std::string("\0\0x", 3)), "x");
    EXPECT_EQ(trimField("   "), "");
    // Byte 0xA0 (no-break space) and accented letters are values, not blanks.
    EXPECT_EQ(trimField("\xA0\xE8 "), "\xA0\xE8");
}

TEST(Text, FoldingTouchesOnlyAToZ)
{
    EXPECT_EQ(foldAZ("ROSSI Mario"), "rossi mario");
    EXPECT_EQ(foldAZ("\xC8\xC0"), "\xC8\xC0"); // È and À stay as they are
    EXPECT_EQ(upperAZ("caff\xE8 x1"), "CAFF\xE8 X1");
}

TEST(Text, Cp1252RoundTripsEveryAssignedByte)
{
    std::string all;
    for (int b = 1; b < 256; ++b)
        if (b != 0x81 && b != 0x8D && b != 0x8F && b != 0x90 && b != 0x9D)
            all.push_back(static_cast<char>(b));
    EXPECT_EQ(utf8ToCp1252(cp1252ToUtf8(all)), all);
}

TEST(Text, Cp1252KnownCharacters)
{
    EXPECT_EQ(utf8ToCp1252("€ è à ù"), "\x80 \xE8 \xE0 \xF9");
    EXPECT_EQ(cp1252ToUtf8("\x80"), "€");
    EXPECT_EQ(cp1252ToUtf8("\x93x\x94"), "“x”");
    // Characters the code page cannot hold are stored as "?".
    EXPECT_EQ(utf8ToCp1252("a→b 你"), "a?b ?");
    // A broken UTF-8 sequence does not swallow the next character.
    EXPECT_EQ(utf8ToCp1252(std::string("\xC3" "A")), "?A");
}

TEST(Text, PadRight)
{
    EXPECT_EQ(padRight("ab", 4), "ab  ");
    EXPECT_EQ(padRight("abcdef", 4), "abcdef");
}
