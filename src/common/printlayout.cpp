#include "common/printlayout.h"

#include <cstdio>

#include "common/text.h"

namespace velmora {

namespace {

constexpr int kRuleSize = 14;
constexpr int kTitleSize = 12;
constexpr int kLineSize = 8;

} // namespace

int charHeight(int points, int verticalDpi)
{
    // Half up to the nearest pixel; both factors are positive.
    return (2 * points * verticalDpi + 72) / 144;
}

std::string printFooter(int day, int month, int year, int hour, int minute, int second)
{
    char text[80];
    std::snprintf(text, sizeof text, "Stampa eseguita in data %02d/%02d/%04d alle ore %02d:%02d:%02d", day, month, year,
                  hour, minute, second);
    return text;
}

void layOutPrint(PrintSurface &surface, const std::vector<std::string> &lines, const PrintContent &content,
                 const std::string &footer)
{
    const int dpi = surface.verticalDpi();
    const int h8 = charHeight(kLineSize, dpi);
    const int h12 = charHeight(kTitleSize, dpi);
    const int h14 = charHeight(kRuleSize, dpi);
    const std::string rule(content.ruleLength, '-');

    surface.setFontSize(kRuleSize);
    int y = 2 * h14;
    surface.drawText(kPrintLeft, y, rule);
    surface.setFontSize(kTitleSize);
    y += h12;
    surface.drawText(kPrintLeft, y, content.title);
    y += h12;
    surface.setFontSize(kRuleSize);
    surface.drawText(kPrintLeft, y, rule);

    surface.setFontSize(kLineSize);
    y += 3 * h8;
    for (const std::string &line : lines) {
        // The heading is printed once; later pages start near the top with the next line.
        if (y >= surface.pageHeight() - 3 * h8) {
            surface.newPage();
            y = 2 * h8;
        }
        surface.drawText(kPrintLeft, y, line);
        y += 2 * h8;
    }

    // What follows the list stays on the current page, wherever it falls.
    if (content.layout == PrintLayout::List) {
        surface.drawText(kPrintLeft, y + 50, std::string(20, '_'));
        surface.drawText(kPrintLeft, y + 150, footer);
        return;
    }
    surface.setFontSize(kRuleSize);
    surface.drawText(kPrintLeft, y, rule);
    surface.setFontSize(kTitleSize);
    y += h12;
    surface.drawText(kPrintLeft, y, std::string("TOTALE IMPORTI:  ") + kEuro + ' ' + trimField(content.total));
    y += h12;
    surface.setFontSize(kRuleSize);
    surface.drawText(kPrintLeft, y, rule);
    surface.setFontSize(kLineSize);
    y += h8;
    surface.drawText(kPrintLeft, y + 150, footer);
}

} // namespace velmora
