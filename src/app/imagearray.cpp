#include "app/imagearray.h"

#include "app/spritemath.h"
#include "common/services.h"

using velmora::sprites::RenderMap;

TImageArray::TImageArray(velmora::MessageService *messages) : m_messages(messages) {}

void TImageArray::SetWidth(int n)
{
    if (n == m_width)
        return;
    const auto columns = static_cast<std::size_t>(n);
    const auto rows = static_cast<std::size_t>(m_height);
    if (m_pixelFormat == TPixelFormat::pf8bit)
        m_columns8.resize(columns, std::vector<std::uint8_t>(rows));
    else
        m_columns24.resize(columns, std::vector<Pixel24>(rows));
    m_width = static_cast<std::int16_t>(n);
}

void TImageArray::SetHeight(int n)
{
    if (n == m_height)
        return;
    m_height = static_cast<std::int16_t>(n);
    for (auto &column : m_columns8)
        column.resize(static_cast<std::size_t>(n));
    for (auto &column : m_columns24)
        column.resize(static_cast<std::size_t>(n));
}

void TImageArray::fitColumns()
{
    // The array in use may be empty when the format changes while the size stays the same.
    const auto columns = static_cast<std::size_t>(m_width);
    const auto rows = static_cast<std::size_t>(m_height);
    if (m_pixelFormat == TPixelFormat::pf8bit) {
        m_columns8.resize(columns);
        for (auto &column : m_columns8)
            column.resize(rows);
    } else {
        m_columns24.resize(columns);
        for (auto &column : m_columns24)
            column.resize(rows);
    }
}

bool TImageArray::LoadFromBitmap(const QImage &bitmap)
{
    const QImage::Format format = bitmap.format();
    const bool eight = format == QImage::Format_Indexed8;
    const bool twentyFour = format == QImage::Format_RGB888 || format == QImage::Format_BGR888;
    if (!eight && !twentyFour) {
        if (m_messages)
            m_messages->plain(nullptr, QStringLiteral("only 8 bit and 24 bit bitmaps are allowed"));
        return false;
    }
    m_pixelFormat = eight ? TPixelFormat::pf8bit : TPixelFormat::pf24bit;
    fitColumns();
    SetWidth(bitmap.width());
    SetHeight(bitmap.height());
    m_transparentColor = m_height > 0 && m_width > 0 ? bitmap.pixelColor(0, m_height - 1) : QColor();

    for (int y = 0; y < m_height; ++y) {
        const uchar *line = bitmap.constScanLine(y);
        for (int x = 0; x < m_width; ++x) {
            const auto column = static_cast<std::size_t>(x);
            const auto row = static_cast<std::size_t>(y);
            if (eight) {
                m_columns8[column][row] = line[x];
            } else {
                const uchar *p = line + 3 * x;
                Pixel24 &target = m_columns24[column][row];
                if (format == QImage::Format_RGB888)
                    target = Pixel24{p[2], p[1], p[0]};
                else
                    target = Pixel24{p[0], p[1], p[2]};
            }
        }
    }
    if (eight)
        m_palette = bitmap.colorTable();
    return true;
}

QPoint TImageArray::Render(QImage &target, const QPoint &pivot, bool mirrored, float scale, float angle) const
{
    const RenderMap map(m_width, m_height, mirrored, scale, angle);
    const int nw = map.size().width;
    const int nh = map.size().height;
    if (m_pixelFormat == TPixelFormat::pf8bit) {
        target = QImage(nw, nh, QImage::Format_Indexed8);
        target.setColorTable(m_palette);
        const std::vector<std::uint8_t> pixels = velmora::sprites::render(m_columns8, m_height, map);
        for (int j = 0; j < nh; ++j) {
            uchar *line = target.scanLine(j);
            for (int i = 0; i < nw; ++i)
                line[i] =
                    pixels[static_cast<std::size_t>(j) * static_cast<std::size_t>(nw) + static_cast<std::size_t>(i)];
        }
    } else {
        target = QImage(nw, nh, QImage::Format_RGB888);
        const std::vector<Pixel24> pixels = velmora::sprites::render(m_columns24, m_height, map);
        for (int j = 0; j < nh; ++j) {
            uchar *line = target.scanLine(j);
            for (int i = 0; i < nw; ++i) {
                const Pixel24 &p =
                    pixels[static_cast<std::size_t>(j) * static_cast<std::size_t>(nw) + static_cast<std::size_t>(i)];
                line[3 * i] = p.red;
                line[3 * i + 1] = p.green;
                line[3 * i + 2] = p.blue;
            }
        }
    }
    QPoint landed;
    map.pivot(pivot.x(), pivot.y(), landed.rx(), landed.ry());
    return landed;
}
