#include <gtest/gtest.h>

#include "common/keyfilters.h"

using namespace velmora;

TEST(KeyFilters, DecimalCharactersAndOneComma)
{
    for (auto rule : {importQuantityKey, consumptionKey, productCardKey}) {
        EXPECT_EQ(rule("12", '5'), KeyVerdict::Accept);
        EXPECT_EQ(rule("12", ','), KeyVerdict::Accept);
        EXPECT_EQ(rule("1,2", ','), KeyVerdict::Refuse);
        EXPECT_EQ(rule("12", 'a'), KeyVerdict::Refuse);
        EXPECT_EQ(rule("12", '.'), KeyVerdict::Refuse);
        EXPECT_EQ(rule("12", '-'), KeyVerdict::Refuse);
        EXPECT_EQ(rule("12", kKeyEnter), KeyVerdict::Accept);
    }
}

TEST(KeyFilters, ProductCardChecksTheLimitBeforeEveryKeyButEnter)
{
    EXPECT_EQ(productCardKey("30000000", '1'), KeyVerdict::Accept);
    EXPECT_EQ(productCardKey("30000001", '1'), KeyVerdict::OverLimit);
    EXPECT_EQ(productCardKey("30000001", kKeyBackspace), KeyVerdict::OverLimit);
    EXPECT_EQ(productCardKey("30000001", 'x'), KeyVerdict::OverLimit);
    EXPECT_EQ(productCardKey("30000001", kKeyEnter), KeyVerdict::Accept);
    // A text that is not a number counts as zero for the limit.
    EXPECT_EQ(productCardKey(",", '5'), KeyVerdict::Accept);
    EXPECT_EQ(productCardKey("  ", '5'), KeyVerdict::Accept);
}

TEST(KeyFilters, ConsumptionAcceptsBackspaceOverTheLimitAndResetsOnGarbage)
{
    EXPECT_EQ(consumptionKey("30000001", kKeyBackspace), KeyVerdict::Accept);
    EXPECT_EQ(consumptionKey("30000001", '1'), KeyVerdict::OverLimit);
    EXPECT_EQ(consumptionKey(",", '5'), KeyVerdict::OverLimit);
    EXPECT_EQ(consumptionKey("", '5'), KeyVerdict::Accept);
}

TEST(KeyFilters, ImportQuantityHasNoLimit)
{
    EXPECT_EQ(importQuantityKey("99999999999", '1'), KeyVerdict::Accept);
    EXPECT_EQ(importQuantityKey("1", kKeyBackspace), KeyVerdict::Accept);
}

TEST(KeyFilters, DigitsOnly)
{
    EXPECT_EQ(digitsOnlyKey('7'), KeyVerdict::Accept);
    EXPECT_EQ(digitsOnlyKey(kKeyBackspace), KeyVerdict::Accept);
    EXPECT_EQ(digitsOnlyKey(kKeyEnter), KeyVerdict::Accept);
    EXPECT_EQ(digitsOnlyKey(','), KeyVerdict::Refuse);
    EXPECT_EQ(digitsOnlyKey(' '), KeyVerdict::Refuse);
}
