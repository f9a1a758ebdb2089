#include <gtest/gtest.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <random>
#include <string>

#include "common/amount.h"

using namespace velmora;

struct ParseCase
{
    const char *text;
    bool ok;
    long double value;
};

class ParseNumber : public ::testing::TestWithParam<ParseCase>
{
};

TEST_P(ParseNumber, ReadsOnlyWellFormedNumbers)
{
    const ParseCase c = GetParam();
    const auto v = parseNumber(c.text);
    ASSERT_EQ(v.has_value(), c.ok) << c.text;
    if (c.ok) {
        EXPECT_EQ(*v, c.value) << c.text;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Amounts, ParseNumber,
    ::testing::Values(ParseCase{"12", true, 12}, ParseCase{" 12,5 ", true, 12.5L}, ParseCase{"-3", true, -3},
                      ParseCase{"+3", true, 3}, ParseCase{",5", true, 0.5L}, ParseCase{"5,", true, 5},
                      ParseCase{"1E3", true, 1000}, ParseCase{"1,5e-1", true, 0.15L}, ParseCase{"", false, 0},
                      ParseCase{",", false, 0}, ParseCase{"1.5", false, 0}, ParseCase{"1,2,3", false, 0},
                      ParseCase{"12a", false, 0}, ParseCase{"1 000", false, 0}, ParseCase{"E5", false, 0},
                      ParseCase{"1E", false, 0}, ParseCase{"- 1", false, 0}, ParseCase{"1E99999", false, 0}));

struct TextCase
{
    long double value;
    const char *text;
};

class NumberText : public ::testing::TestWithParam<TextCase>
{
};

TEST_P(NumberText, ShortestFormWithComma)
{
    EXPECT_EQ(numberText(GetParam().value), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Amounts, NumberText,
                         ::testing::Values(TextCase{12, "12"}, TextCase{12.5L, "12,5"}, TextCase{0.125L, "0,125"},
                                           TextCase{0, "0"}, TextCase{-7.25L, "-7,25"}, TextCase{30000000, "30000000"},
                                           TextCase{0.0001L, "0,0001"}, TextCase{1e20L, "1E20"},
                                           TextCase{0.00001L, "1E-5"}, TextCase{123456789012345.0L, "123456789012345"},
                                           TextCase{0.1L + 0.2L, "0,3"}, TextCase{1.0L / 3.0L, "0,333333333333333"}));

TEST(Rounding, HalfUpThenTruncate)
{
    // Amount examples: quantity × price rounded to two decimals.
    EXPECT_EQ(roundedText(2 * *parseNumber("3,5"), 2), "7");
    EXPECT_EQ(roundedText(3 * *parseNumber("0,3333"), 2), "1");
    EXPECT_EQ(roundedText(*parseNumber("1,5") * *parseNumber("1,25"), 2), "1,88");
    // Price exits rounded to four decimals.
    EXPECT_EQ(roundedText(*parseNumber("1,23456"), 4), "1,2346");
    EXPECT_EQ(roundedText(*parseNumber("7,123456"), 4), "7,1235");
    // Stock rounded to a whole number.
    EXPECT_EQ(roundedText(*parseNumber("2,5"), 0), "3");
    EXPECT_EQ(roundedText(*parseNumber("2,4"), 0), "2");
    // The digits shown are rounded, half away from zero, not the binary value behind them.
    EXPECT_EQ(roundedText(*parseNumber("1,5") * *parseNumber("0,35"), 2), "0,53");
    EXPECT_EQ(roundedText(*parseNumber("-7"), 2), "-7");
    EXPECT_EQ(roundedText(*parseNumber("-2,5"), 0), "-3");
    EXPECT_EQ(roundedText(*parseNumber("9,995"), 2), "10");
    EXPECT_EQ(roundTo(*parseNumber("0,125"), 2), *parseNumber("0,13"));
    EXPECT_EQ(roundedText(*parseNumber("0,1") + *parseNumber("0,2"), 2), "0,3");
}

TEST(Rounding, HalvesGoAwayFromZeroOnTheDecimalDigits)
{
    EXPECT_EQ(roundedText(0.525L, 2), "0,53");
    EXPECT_EQ(roundedText(-0.525L, 2), "-0,53");
    EXPECT_EQ(roundedText(9.995L, 2), "10");
    EXPECT_EQ(roundedText(99.99995L, 4), "100");
    EXPECT_EQ(roundedText(0.004L, 2), "0");
    EXPECT_EQ(roundedText(-0.004L, 2), "0");
    EXPECT_EQ(roundedText(12.5L, 2), "12,5");
    EXPECT_EQ(roundedText(1e20L, 2), "1E20");
}

struct NormCase
{
    const char *in;
    const char *out;
};

class NormaliseAmount : public ::testing::TestWithParam<NormCase>
{
};

TEST_P(NormaliseAmount, AtLeastTwoDecimals)
{
    EXPECT_EQ(normaliseAmount(GetParam().in), GetParam().out);
}

INSTANTIATE_TEST_SUITE_P(Amounts, NormaliseAmount,
                         ::testing::Values(NormCase{"4", "4,00"}, NormCase{"2,5", "2,50"}, NormCase{"1,2346", "1,2346"},
                                           NormCase{",5", "0,50"}, NormCase{"", "0,00"}, NormCase{",", "0,00"},
                                           NormCase{"7,", "7,00"}, NormCase{"0,3", "0,30"}, NormCase{"7,00", "7,00"},
                                           NormCase{"12", "12,00"}));

TEST(ParseNumberExactly, EveryDecimalReadsAsTheLibraryReadsIt)
{
    // Random amounts, counts and long decimals of 1 to 22 digits, signed or not, the comma
    // anywhere: the value must be the very long double the C library's reading gives.
    std::mt19937_64 gen(42);
    for (int i = 0; i < 200000; ++i) {
        const std::size_t digits = 1 + gen() % 22;
        std::string text;
        if (gen() % 4 == 0)
            text += gen() % 2 ? '-' : '+';
        const std::size_t comma = gen() % (digits + 2); // past the digits: no comma
        for (std::size_t d = 0; d < digits; ++d) {
            if (d == comma)
                text += ',';
            text += static_cast<char>('0' + gen() % 10);
        }
        if (comma == digits)
            text += ',';
        std::string plain = text;
        std::replace(plain.begin(), plain.end(), ',', '.');
        if (plain.front() == '+')
            plain.erase(0, 1);
        long double expected = 0;
        const auto [ptr, ec] = std::from_chars(plain.data(), plain.data() + plain.size(), expected);
        ASSERT_EQ(ec, std::errc()) << plain;
        ASSERT_EQ(ptr, plain.data() + plain.size()) << plain;
        const auto read = parseNumber(text);
        ASSERT_TRUE(read.has_value()) << text;
        ASSERT_EQ(*read, expected) << text;
        ASSERT_EQ(std::signbit(*read), std::signbit(expected)) << text;
    }
}

TEST(ExactDecimal, ReadsWhatTheBillTotalReadsAndRoundsHalfAwayFromZero)
{
    struct Case
    {
        const char *text;
        const char *fixed2; // nullptr: not read
        const char *short4;
    };
    const Case cases[] = {
        {"12,5", "12,50", "12,5"},
        {" 7 ", "7,00", "7"},
        {"+3,", "3,00", "3"},
        {",5", "0,50", "0,5"},
        {"2,345", "2,35", "2,345"},
        {"-2,345", "-2,35", "-2,345"},
        {"0,005", "0,01", "0,005"},
        {"-0,004", "0,00", "-0,004"},
        {"1,00005", "1,00", "1,0001"},
        {"1E3", "1000,00", "1000"},
        {"1,5e-1", "0,15", "0,15"},
        {"9999999999999999", "9999999999999999,00", nullptr},
        {"1,000000000000000000000", "1,00", "1"},
        {"0,000000000000001", "0,00", "0"},
        {"0,0000000000000001", nullptr, nullptr}, // beyond the 15th decimal
        {"1E22", nullptr, nullptr},               // too large to add up safely
        {"", nullptr, nullptr},
        {"tre", nullptr, nullptr},
        {"1.5", nullptr, nullptr},
        {"1,2,3", nullptr, nullptr},
    };
    for (const Case &c : cases) {
        const auto d = ExactDecimal::parse(c.text);
        ASSERT_EQ(d.has_value(), c.fixed2 != nullptr) << c.text;
        if (!d)
            continue;
        EXPECT_EQ(d->fixedText(2), c.fixed2) << c.text;
        if (!c.short4)
            continue; // more digits than the bill total's 15 can show
        EXPECT_EQ(d->shortText(4), c.short4) << c.text;
        // Whatever it reads, the bill total reads as the same number.
        const auto binary = parseNumber(c.text);
        ASSERT_TRUE(binary) << c.text;
        EXPECT_EQ(roundedText(*binary, 2), d->shortText(2)) << c.text;
    }
}

TEST(ExactDecimal, SumsOfManyAmountsComeOutToTheCent)
{
    // A hundred thousand amounts of random cents, a few negative: the sum must be the integer
    // sum of the cents, however many there are.
    std::mt19937_64 gen(7);
    ExactDecimal sum;
    long double binary = 0;
    std::int64_t cents = 0;
    for (int i = 0; i < 100000; ++i) {
        std::int64_t c = static_cast<std::int64_t>(gen() % 1000000);
        if (gen() % 10 == 0)
            c = -c;
        cents += c;
        const std::int64_t m = c < 0 ? -c : c;
        const std::string text =
            (c < 0 ? "-" : "") + std::to_string(m / 100) + "," + (m % 100 < 10 ? "0" : "") + std::to_string(m % 100);
        const auto amount = ExactDecimal::parse(text);
        ASSERT_TRUE(amount) << text;
        ASSERT_TRUE(sum.add(*amount));
        binary += *parseNumber(text);
    }
    const std::int64_t m = cents < 0 ? -cents : cents;
    const std::string expected =
        (cents < 0 ? "-" : "") + std::to_string(m / 100) + "," + (m % 100 < 10 ? "0" : "") + std::to_string(m % 100);
    EXPECT_EQ(sum.fixedText(2), expected);
    EXPECT_EQ(roundedText(binary, 2), sum.shortText(2));

    // Ten times 0,10 is exactly 1.
    ExactDecimal tenth;
    for (int i = 0; i < 10; ++i)
        ASSERT_TRUE(tenth.add(*ExactDecimal::parse("0,1")));
    EXPECT_EQ(tenth, *ExactDecimal::parse("1"));
}

TEST(ExactDecimal, ASumTooLargeToHoldIsRefusedAndLeftAsItWas)
{
    const ExactDecimal big = *ExactDecimal::parse("9E21");
    ExactDecimal sum;
    int added = 0;
    while (sum.add(big))
        ++added;
    EXPECT_EQ(added, 11);
    EXPECT_EQ(sum.shortText(0), "99000000000000000000000");
    const ExactDecimal before = sum;
    EXPECT_FALSE(sum.add(big));
    EXPECT_EQ(sum, before);
    EXPECT_TRUE(sum.add(*ExactDecimal::parse("-9E21")));
}
