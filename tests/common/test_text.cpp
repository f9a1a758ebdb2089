#include <gtest/gtest.h>

#include "common/text.h"
#include "common/textlines.h"

#include <algorithm>
#include <cstring>
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

TEST(TextLines, LinesKeepTheirBoundsHoweverTheyWereWritten)
{
    TextLines lines;
    lines.push_back("primo");
    lines.push_back("");
    char *room = lines.openLine(20);
    std::memcpy(room, "terzo\0x", 7); // a stored byte 0 is text like any other
    lines.closeLine(7);
    lines.push_back("quarto");
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0], "primo");
    EXPECT_EQ(lines[1], "");
    EXPECT_EQ(lines[2], std::string_view("terzo\0x", 7)) << "the room left unused is not part of the line";
    EXPECT_EQ(lines[3], "quarto");
    EXPECT_EQ(lines.bytes(), 5u + 7u + 6u);
    const std::vector<std::string_view> walked(lines.begin(), lines.end());
    EXPECT_EQ(walked, (std::vector<std::string_view>{"primo", "", std::string_view("terzo\0x", 7), "quarto"}));
}

TEST(TextLines, LinesOfEveryLengthAreCopiedWhole)
{
    // Short lines are copied by overlapping moves: every length up to past the longest of them.
    std::string source;
    for (int i = 0; i < 40; ++i)
        source.push_back(static_cast<char>('A' + i));
    TextLines one;
    TextLines many;
    std::vector<std::string_view> row;
    for (std::size_t n = 0; n <= source.size(); ++n) {
        one.push_back(std::string_view(source).substr(0, n));
        row.push_back(std::string_view(source).substr(source.size() - n));
    }
    many.push_back(row.data(), row.size());
    ASSERT_EQ(one.size(), source.size() + 1);
    ASSERT_EQ(many.size(), source.size() + 1);
    for (std::size_t n = 0; n <= source.size(); ++n) {
        EXPECT_EQ(one[n], source.substr(0, n)) << n;
        EXPECT_EQ(many[n], source.substr(source.size() - n)) << n;
    }
}

TEST(TextLines, TruncatedAndJoinedListsStayWhole)
{
    TextLines first;
    for (const char *line : {"a", "bb", "ccc"})
        first.push_back(line);
    first.truncate(5); // more than it holds: nothing changes
    EXPECT_EQ(first.size(), 3u);
    first.truncate(1);
    first.push_back("dd");
    TextLines second;
    second.push_back("e");
    second.push_back("ff");
    first.append(second);
    ASSERT_EQ(first.size(), 4u);
    EXPECT_EQ(first[0], "a");
    EXPECT_EQ(first[1], "dd");
    EXPECT_EQ(first[2], "e");
    EXPECT_EQ(first[3], "ff");
    const TextLines copy = first;
    first.truncate(0);
    EXPECT_TRUE(first.empty());
    EXPECT_EQ(first.bytes(), 0u);
    ASSERT_EQ(copy.size(), 4u) << "a copy keeps its own lines";
    EXPECT_EQ(copy[3], "ff");

    // A long list grown line by line, then trimmed to its size, reads back the same.
    TextLines many;
    for (int i = 0; i < 20000; ++i)
        many.push_back(std::to_string(i));
    many.truncate(15000);
    many.shrinkToFit();
    ASSERT_EQ(many.size(), 15000u);
    EXPECT_EQ(many[0], "0");
    EXPECT_EQ(many[14999], "14999");
    first = many;
    EXPECT_TRUE(first == many);
}

TEST(TextLines, EqualOnlyWithTheSameLines)
{
    TextLines a;
    TextLines b;
    a.push_back("ab");
    a.push_back("c");
    b.push_back("a");
    b.push_back("bc");
    EXPECT_FALSE(a == b) << "the same characters split differently are other lines";
    TextLines c;
    c.push_back("ab");
    c.push_back("c");
    EXPECT_TRUE(a == c);
}
