#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// The page layout of every printout: a list of text lines under a small heading, drawn at
// printer-pixel positions on an abstract surface so it runs the same on paper and in tests.
namespace velmora {

// A printer page seen as a grid of pixels. Text is Windows-1252; a line is drawn from its top-left
// corner in the single monospaced font of the printouts, never wrapped.
class PrintSurface
{
public:
    virtual ~PrintSurface() = default;
    virtual int verticalDpi() const = 0;
    // Height of the printable area in pixels.
    virtual int pageHeight() const = 0;
    virtual void setFontSize(int points) = 0;
    virtual void drawText(int x, int y, std::string_view text) = 0;
    virtual void newPage() = 0;
};

enum class PrintLayout { List, Bill };

// What one printout shows besides its lines (Windows-1252 text).
struct PrintContent
{
    std::string title;
    std::size_t ruleLength = 0;
    PrintLayout layout = PrintLayout::List;
    std::string total; // the bill total, printed after "TOTALE IMPORTI:  € "
};

// Every line starts this many pixels from the left edge of the printable area.
inline constexpr int kPrintLeft = 150;

// Character height of a font of the given size: points × dpi ÷ 72, rounded to a whole pixel.
int charHeight(int points, int verticalDpi);

// "Stampa eseguita in data dd/mm/yyyy alle ore hh:mm:ss".
std::string printFooter(int day, int month, int year, int hour, int minute, int second);

// Draws the whole document: heading, the lines with page breaks inside the list only, then the
// closing line (list) or the total between rules (bill), and the footer.
void layOutPrint(PrintSurface &surface, const std::vector<std::string> &lines, const PrintContent &content,
                 const std::string &footer);

} // namespace velmora
