#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "common/printlayout.h"

// A print surface that keeps every drawn text with its page, font size and position, so the
// layout can be checked without a printer. Qt-free: core tests use it too.
namespace velmora::test {

struct DrawnText
{
    int page = 1;
    int fontSize = 0;
    int x = 0;
    int y = 0;
    std::string text; // Windows-1252, as drawn

    bool operator==(const DrawnText &) const = default;
};

class RecordingSurface : public PrintSurface
{
public:
    explicit RecordingSurface(int dpi = 600, int height = 4800) : m_dpi(dpi), m_height(height) {}

    int verticalDpi() const override { return m_dpi; }
    int pageHeight() const override { return m_height; }
    void setFontSize(int points) override { m_size = points; }
    void drawText(int x, int y, std::string_view text) override
    {
        drawn.push_back({m_page, m_size, x, y, std::string(text)});
    }
    void newPage() override { ++m_page; }

    int pages() const { return m_page; }
    // Texts of one page in drawing order.
    std::vector<std::string> textsOf(int page) const
    {
        std::vector<std::string> texts;
        for (const DrawnText &d : drawn)
            if (d.page == page)
                texts.push_back(d.text);
        return texts;
    }

    std::vector<DrawnText> drawn;

private:
    int m_dpi;
    int m_height;
    int m_size = 0;
    int m_page = 1;
};

} // namespace velmora::test
