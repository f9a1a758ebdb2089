#include <gtest/gtest.h>

#include "common/quickfind.h"

using namespace velmora;

namespace {

const std::vector<std::string> kLines = {"Bar Centrale", "Camera 12", "bar piscina", "Ombrellone 4", "BAR spiaggia"};

} // namespace

TEST(QuickFind, NewKeyStartsAtTheTopAndIgnoresCaseOfAToZ)
{
    QuickFind f;
    EXPECT_EQ(f.find(kLines, "BAR", 3), 0u);
    QuickFind g;
    EXPECT_EQ(g.find(kLines, "camera", std::nullopt), 1u);
}

TEST(QuickFind, SameKeyWalksOnAndWrapsAround)
{
    QuickFind f;
    auto sel = f.find(kLines, "bar", 0);
    ASSERT_EQ(sel, 0u);
    sel = f.find(kLines, "bar", sel);
    EXPECT_EQ(sel, 2u);
    sel = f.find(kLines, "Bar", sel);
    EXPECT_EQ(sel, 4u);
    sel = f.find(kLines, "bar", sel);
    EXPECT_EQ(sel, 0u);
}

TEST(QuickFind, SingleMatchStaysSelectedWhenRepeated)
{
    QuickFind f;
    auto sel = f.find(kLines, "ombrellone", 0);
    ASSERT_EQ(sel, 3u);
    EXPECT_EQ(f.find(kLines, "ombrellone", sel), 3u);
}

TEST(QuickFind, NoMatchAndEmptyKeyLeaveSelection)
{
    QuickFind f;
    EXPECT_EQ(f.find(kLines, "sauna", 2), std::nullopt);
    EXPECT_EQ(f.find(kLines, "", 2), std::nullopt);
    EXPECT_EQ(f.find({}, "bar", std::nullopt), std::nullopt);
}

TEST(QuickFind, KeyIsNotTrimmedAndAccentsAreNotFolded)
{
    QuickFind f;
    EXPECT_EQ(f.find(kLines, "12 ", 0), std::nullopt);
    const std::vector<std::string> accented = {"CAFF\xC8", "caff\xE8"};
    EXPECT_EQ(f.find(accented, "caff\xE8", 0), 1u);
}

TEST(QuickFind, AChangedKeyRestartsFromTheTop)
{
    QuickFind f;
    auto sel = f.find(kLines, "bar", 0);
    sel = f.find(kLines, "bar", sel);
    ASSERT_EQ(sel, 2u);
    EXPECT_EQ(f.find(kLines, "ba", sel), 0u);
}
