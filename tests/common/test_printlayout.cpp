#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "common/printlayout.h"
#include "support/recordingsurface.h"

using velmora::PrintContent;
using velmora::PrintLayout;
using velmora::test::DrawnText;
using velmora::test::RecordingSurface;

namespace {

PrintContent listContent()
{
    PrintContent c;
    c.title = "Prodotti e servizi";
    c.ruleLength = 24;
    c.layout = PrintLayout::List;
    return c;
}

std::vector<std::string> numberedLines(int count)
{
    std::vector<std::string> lines;
    for (int i = 1; i <= count; ++i)
        lines.push_back("riga " + std::to_string(i));
    return lines;
}

const std::string kFooter = "Stampa eseguita in data 08/12/2026 alle ore 10:30:15";

} // namespace

struct HeightCase
{
    int points;
    int dpi;
    int height;
};

class CharHeight : public testing::TestWithParam<HeightCase>
{
};

TEST_P(CharHeight, IsPointsTimesDpiOver72Rounded)
{
    const HeightCase c = GetParam();
    EXPECT_EQ(velmora::charHeight(c.points, c.dpi), c.height) << c.points << " pt at " << c.dpi << " dpi";
}

INSTANTIATE_TEST_SUITE_P(Sizes, CharHeight,
                         testing::Values(HeightCase{8, 600, 67}, HeightCase{12, 600, 100}, HeightCase{14, 600, 117},
                                         HeightCase{8, 300, 33}, HeightCase{14, 300, 58}, HeightCase{8, 1200, 133},
                                         HeightCase{12, 72, 12}, HeightCase{3, 12, 1}, HeightCase{8, 96, 11},
                                         HeightCase{14, 96, 19}));

TEST(PrintLayoutList, HeadingLinesClosingAndFooterAt600Dpi)
{
    RecordingSurface page(600, 4800);
    velmora::layOutPrint(page, {"prima", "seconda"}, listContent(), kFooter);

    const std::string rule(24, '-');
    const std::vector<DrawnText> expected = {
        {1, 14, 150, 234, rule},         {1, 12, 150, 334, "Prodotti e servizi"},
        {1, 14, 150, 434, rule},         {1, 8, 150, 635, "prima"},
        {1, 8, 150, 769, "seconda"},     {1, 8, 150, 903 + 50, std::string(20, '_')},
        {1, 8, 150, 903 + 150, kFooter},
    };
    EXPECT_EQ(page.drawn, expected);
    EXPECT_EQ(page.pages(), 1);
}

TEST(PrintLayoutList, RuleLengthFollowsTheRequest)
{
    for (std::size_t length : {14u, 17u, 24u, 50u}) {
        RecordingSurface page;
        PrintContent c = listContent();
        c.ruleLength = length;
        velmora::layOutPrint(page, {"x"}, c, kFooter);
        EXPECT_EQ(page.drawn.at(0).text, std::string(length, '-'));
        EXPECT_EQ(page.drawn.at(2).text, std::string(length, '-'));
    }
}

struct BreakCase
{
    int pageHeight;
    int lines;
    std::vector<int> linesPerPage;
};

class PrintLayoutBreaks : public testing::TestWithParam<BreakCase>
{
};

// At 600 dpi lines fall at 635, 769, 903, 1037...; a page takes a line while y < height − 201.
TEST_P(PrintLayoutBreaks, ListContinuesNearTheTopWithoutHeading)
{
    const BreakCase c = GetParam();
    RecordingSurface surface(600, c.pageHeight);
    const auto lines = numberedLines(c.lines);
    velmora::layOutPrint(surface, lines, listContent(), kFooter);

    ASSERT_EQ(surface.pages(), static_cast<int>(c.linesPerPage.size()));
    int next = 0;
    for (int page = 1; page <= surface.pages(); ++page) {
        std::vector<DrawnText> listed;
        for (const DrawnText &d : surface.drawn)
            if (d.page == page && d.text.rfind("riga ", 0) == 0)
                listed.push_back(d);
        ASSERT_EQ(static_cast<int>(listed.size()), c.linesPerPage[page - 1]) << "page " << page;
        for (std::size_t i = 0; i < listed.size(); ++i) {
            EXPECT_EQ(listed[i].text, lines[static_cast<std::size_t>(next++)]);
            const int first = page == 1 ? 635 : 134;
            EXPECT_EQ(listed[i].y, first + 134 * static_cast<int>(i)) << listed[i].text;
        }
        if (page > 1) {
            // No heading on later pages.
            for (const DrawnText &d : surface.drawn) {
                if (d.page == page) {
                    EXPECT_NE(d.fontSize, 12) << d.text;
                }
            }
        }
    }
    // Closing line and footer stay on the last page, even below its bottom.
    EXPECT_EQ(surface.drawn.back().text, kFooter);
    EXPECT_EQ(surface.drawn.back().page, surface.pages());
}

INSTANTIATE_TEST_SUITE_P(Pages, PrintLayoutBreaks,
                         testing::Values(BreakCase{4800, 3, {3}}, BreakCase{1200, 10, {3, 7}},
                                         // y = 903 equals height − 3·h(8): the third line opens page 2.
                                         BreakCase{1104, 3, {2, 1}}, BreakCase{1105, 3, {3}},
                                         BreakCase{1104, 17, {2, 6, 6, 3}}));

TEST(PrintLayoutList, FooterMayFallBelowThePage)
{
    RecordingSurface surface(600, 1200);
    velmora::layOutPrint(surface, numberedLines(10), listContent(), kFooter);
    // Last line at 938 on page 2, closing line and footer 50 and 150 below the next step.
    const DrawnText &closing = surface.drawn[surface.drawn.size() - 2];
    EXPECT_EQ(closing, (DrawnText{2, 8, 150, 1072 + 50, std::string(20, '_')}));
    EXPECT_EQ(surface.drawn.back(), (DrawnText{2, 8, 150, 1072 + 150, kFooter}));
}

TEST(PrintLayoutBill, TotalBetweenRulesThenFooter)
{
    RecordingSurface surface(600, 4800);
    PrintContent c;
    c.title = "Camera 12 Rossi";
    c.ruleLength = 50;
    c.layout = PrintLayout::Bill;
    c.total = "  12,50 ";
    velmora::layOutPrint(surface, {"a", "b", "c"}, c, kFooter);

    const std::string rule(50, '-');
    // Lines at 635, 769, 903; y = 1037 afterwards.
    const std::vector<DrawnText> tail = {
        {1, 8, 150, 903, "c"},
        {1, 14, 150, 1037, rule},
        {1, 12, 150, 1137, std::string("TOTALE IMPORTI:  \x80 12,50")},
        {1, 14, 150, 1237, rule},
        {1, 8, 150, 1237 + 67 + 150, kFooter},
    };
    ASSERT_EQ(surface.drawn.size(), 10u); // heading 3, lines 3, rule, total, rule, footer
    EXPECT_EQ(
        std::vector<DrawnText>(surface.drawn.end() - static_cast<std::ptrdiff_t>(tail.size()), surface.drawn.end()),
        tail);
    EXPECT_EQ(surface.drawn[1].text, "Camera 12 Rossi");
    for (const DrawnText &d : surface.drawn)
        EXPECT_NE(d.text, std::string(20, '_')) << "a bill has no closing line";
}

TEST(PrintLayoutBill, TotalAndFooterFollowTheLastPage)
{
    RecordingSurface surface(600, 1200);
    PrintContent c;
    c.title = "Conto";
    c.ruleLength = 50;
    c.layout = PrintLayout::Bill;
    c.total = "3,00";
    velmora::layOutPrint(surface, numberedLines(10), c, kFooter);
    ASSERT_EQ(surface.pages(), 2);
    const auto last = surface.textsOf(2);
    ASSERT_GE(last.size(), 4u);
    EXPECT_EQ(last[last.size() - 3], std::string("TOTALE IMPORTI:  \x80 3,00"));
    EXPECT_EQ(last.back(), kFooter);
}

TEST(PrintFooter, DateAndTimeWithLeadingZeros)
{
    EXPECT_EQ(velmora::printFooter(8, 12, 2026, 9, 5, 3), "Stampa eseguita in data 08/12/2026 alle ore 09:05:03");
    EXPECT_EQ(velmora::printFooter(31, 1, 1999, 23, 59, 59), "Stampa eseguita in data 31/01/1999 alle ore 23:59:59");
}
