#pragma once

#include <cstdint>
#include <vector>

#include <QColor>
#include <QImage>
#include <QPoint>

namespace velmora {
class MessageService;
}

// A copy of a bitmap held column by column, rendered rotated, scaled and mirrored: the sprite
// drawer of the credits window.
class TImageArray
{
public:
    enum class TPixelFormat { pf8bit, pf24bit };
    struct Pixel24
    {
        std::uint8_t blue = 0;
        std::uint8_t green = 0;
        std::uint8_t red = 0;
        bool operator==(const Pixel24 &) const = default;
    };

    // Refusals are reported through the message service (may be null: then they are silent).
    explicit TImageArray(velmora::MessageService *messages = nullptr);

    std::int16_t Width() const { return m_width; }
    std::int16_t Height() const { return m_height; }
    TPixelFormat PixelFormat() const { return m_pixelFormat; }
    QColor TransparentColor() const { return m_transparentColor; }
    const std::vector<std::vector<std::uint8_t>> &Columns8() const { return m_columns8; }
    const std::vector<std::vector<Pixel24>> &Columns24() const { return m_columns24; }
    const QList<QRgb> &Palette() const { return m_palette; }

    void SetWidth(int n);
    void SetHeight(int n);

    // Copies an 8-bit (palette) or 24-bit bitmap; any other format is refused and the array
    // stays as it was. Returns whether the bitmap was taken.
    bool LoadFromBitmap(const QImage &bitmap);

    // Draws the held image into target, turned by angle (radians), scaled and optionally
    // mirrored; returns where pivot lands in the target.
    QPoint Render(QImage &target, const QPoint &pivot, bool mirrored, float scale, float angle) const;

private:
    void fitColumns();

    velmora::MessageService *m_messages;
    std::int16_t m_width = 0;
    std::int16_t m_height = 0;
    TPixelFormat m_pixelFormat = TPixelFormat::pf24bit;
    QColor m_transparentColor;
    std::vector<std::vector<std::uint8_t>> m_columns8;
    std::vector<std::vector<Pixel24>> m_columns24;
    QList<QRgb> m_palette;
};
