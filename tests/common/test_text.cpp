#include <gtest/gtest.h>

#include "common/text.h"

#include <algorithm>
#include <vector>

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

TEST(Text, Cp1252RoundTripsEveryByte)
{
    std::string all;
    for (int b = 0; b < 256; ++b)
        all.push_back(static_cast<char>(b));
    const std::string utf8 = cp1252ToUtf8(all);
    EXPECT_TRUE(isUtf8(utf8));
    EXPECT_EQ(utf8ToCp1252(utf8), all);
    // The five bytes the code page leaves unassigned keep their own number as characters.
    for (const unsigned char b : {0x81, 0x8D, 0x8F, 0x90, 0x9D}) {
        EXPECT_EQ(cp1252CodePoint(b), char32_t(b));
        EXPECT_TRUE(isCp1252Character(b));
    }
    // Distinct bytes give distinct characters, so no two stored values read alike.
    std::vector<char32_t> seen;
    for (int b = 0; b < 256; ++b)
        seen.push_back(cp1252CodePoint(static_cast<unsigned char>(b)));
    std::sort(seen.begin(), seen.end());
    EXPECT_EQ(std::adjacent_find(seen.begin(), seen.end()), seen.end());
}

TEST(Text, Cp1252CharactersAreThoseOfTheTable)
{
    for (const char32_t held : {U'a', U'\t', U'€', U'Š', U'Ÿ', U'ÿ', U'\u00A0', U'\u0090'})
        EXPECT_TRUE(isCp1252Character(held)) << std::hex << static_cast<unsigned>(held);
    // The other control characters from 0x80 to 0x9F, letters of other alphabets, emoji and
    // surrogate halves have no byte.
    for (const char32_t foreign : {U'\u0080', U'\u0085', U'\u009F', U'Ł', U'ő', U'Ω', U'Ж', U'你', U'\U0001F600',
                                   char32_t(0xD83D), char32_t(0xFFFD)})
        EXPECT_FALSE(isCp1252Character(foreign)) << std::hex << static_cast<unsigned>(foreign);
}

TEST(Text, Cp1252KnownCharacters)
{
    EXPECT_EQ(utf8ToCp1252("€ è à ù"), "\x80 \xE8 \xE0 \xF9");
    EXPECT_EQ(cp1252ToUtf8("\x80"), "€");
    EXPECT_EQ(cp1252ToUtf8("\x93x\x94"), "“x”");
    // Characters the code page cannot hold are stored as "?".
    EXPECT_EQ(utf8ToCp1252("a→b 你"), "a?b ?");
    // A broken UTF-8 sequence does not swallow the next character.
    EXPECT_EQ(utf8ToCp1252(std::string("\xC3"
                                       "A")),
              "?A");
}

TEST(Text, WellFormedUtf8)
{
    EXPECT_TRUE(isUtf8(""));
    EXPECT_TRUE(isUtf8("Caff\xC3\xA8 \xE2\x82\xAC \xF0\x9F\x8D\xB7"));
    EXPECT_FALSE(isUtf8("Caff\xE8 bar"));     // a Windows-1252 byte
    EXPECT_FALSE(isUtf8("\xC3"));             // cut short
    EXPECT_FALSE(isUtf8("\xC0\xAF"));         // overlong "/"
    EXPECT_FALSE(isUtf8("\xE0\x80\xAF"));     // overlong "/"
    EXPECT_FALSE(isUtf8("\xED\xA0\x80"));     // a surrogate
    EXPECT_FALSE(isUtf8("\xF4\x90\x80\x80")); // past U+10FFFF
    EXPECT_FALSE(isUtf8("\xE2\x82"
                        "A")); // a continuation missing
}

TEST(Text, PadRight)
{
    EXPECT_EQ(padRight("ab", 4), "ab  ");
    EXPECT_EQ(padRight("abcdef", 4), "abcdef");
}

