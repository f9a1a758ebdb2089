#include <gtest/gtest.h>

#include "app/passwordcodec.h"

using namespace velmora;

// Known answers computed with an independent implementation of the scrambling.
TEST(PasswordCodec, KnownAnswers)
{
    EXPECT_EQ(EncodeStoredPassword("A"), "59");
    EXPECT_EQ(EncodeStoredPassword("VELMORA"), "4E0D6B334789D2");
    EXPECT_EQ(EncodeStoredPassword("PASSWORD"), "48D21BD23FDA7E7C");
    EXPECT_EQ(EncodeStoredPassword("CAFF\xC8 1"), "5B106982900CAB");
    EXPECT_EQ(DecodeStoredPassword("4E0D6B334789D2"), std::optional<std::string>("VELMORA"));
    EXPECT_EQ(DecodeStoredPassword("4e0d6b334789d2"), std::optional<std::string>("VELMORA"));
    EXPECT_EQ(EncodeStoredPassword(""), "");
    EXPECT_EQ(DecodeStoredPassword(""), std::optional<std::string>(""));
}

TEST(PasswordCodec, OddDigitIgnoredAndNonHexRefused)
{
    EXPECT_EQ(DecodeStoredPassword("4E0D6B334789D2F"), std::optional<std::string>("VELMORA"));
    EXPECT_FALSE(DecodeStoredPassword("4G").has_value());
    EXPECT_FALSE(DecodeStoredPassword("4E0D 6B").has_value());
}

TEST(PasswordCodec, EveryByteAndTheLongestPasswordRoundTrip)
{
    std::string all;
    for (int b = 1; b < 256; ++b)
        all.push_back(static_cast<char>(b));
    EXPECT_EQ(DecodeStoredPassword(EncodeStoredPassword(all)), std::optional<std::string>(all));

    const std::string longest(kPasswordMaxLength, 'Q');
    const std::string hex = EncodeStoredPassword(longest);
    EXPECT_EQ(hex.size(), 460u);
    EXPECT_EQ(DecodeStoredPassword(hex), std::optional<std::string>(longest));
    // The routines stop at 255 characters.
    EXPECT_EQ(EncodeStoredPassword(std::string(300, 'Q')).size(), 510u);
}

TEST(PasswordCodec, KeyRaisesOnlyAToZAndTrims)
{
    EXPECT_EQ(passwordKey("  segreto\t"), "SEGRETO");
    EXPECT_EQ(passwordKey("caff\xE8"), "CAFF\xE8");
}
