#include "app/spritemath.h"

#include <cmath>

namespace velmora::sprites {

namespace {

constexpr double kTwoPi = 6.283185307179586476925286766559;

float newSpin(const std::function<double()> &random)
{
    return static_cast<float>(0.4 * random() - 0.2);
}

} // namespace

int roundEven(double x)
{
    // nearbyint follows the default rounding mode, which is to nearest with ties to even.
    return static_cast<int>(std::nearbyint(x));
}

RenderSize renderSize(int w, int h, float scale, float angle)
{
    const double s = scale;
    const double sine = std::sin(angle);
    const double cosine = std::cos(angle);
    RenderSize size;
    size.width = std::abs(roundEven(s * h * sine)) + std::abs(roundEven(s * w * cosine));
    size.height = std::abs(roundEven(s * w * sine)) + std::abs(roundEven(s * h * cosine));
    return size;
}

RenderMap::RenderMap(int w, int h, bool mirrored, float scale, float angle)
    : m_w(w), m_h(h), m_mirrored(mirrored), m_scale(scale), m_angle(angle), m_sin(std::sin(angle)),
      m_cos(std::cos(angle)), m_size(renderSize(w, h, scale, angle))
{
}

SourcePixel RenderMap::source(int i, int j) const
{
    SourcePixel p;
    if (m_angle != 0.0f) {
        const int a = 2 * i - (m_size.width - 1);
        const int b = 2 * j - (m_size.height - 1);
        const double s = m_scale;
        const int u = roundEven((static_cast<double>(m_cos) * a - static_cast<double>(m_sin) * b) / s);
        const int v = roundEven((static_cast<double>(m_sin) * a + static_cast<double>(m_cos) * b) / s);
        // Integer division truncates toward zero, as the formula is written.
        p.column = (m_w + u - 1) / 2;
        p.row = (m_h + v - 1) / 2;
    } else {
        p.column = static_cast<int>(std::trunc(i / static_cast<double>(m_scale)));
        p.row = static_cast<int>(std::trunc(j / static_cast<double>(m_scale)));
    }
    if (m_mirrored)
        p.column = m_w - 1 - p.column;
    p.inside = p.column >= 0 && p.column < m_w && p.row >= 0 && p.row < m_h;
    return p;
}

void RenderMap::pivot(int px, int py, int &tx, int &ty) const
{
    tx = m_size.width / 2;
    ty = m_size.height / 2;
    if (px == m_w / 2 && py == m_h / 2)
        return;
    // Any other pivot: its offset from the centre, mirrored and turned the way the image is.
    double dx = px - m_w / 2;
    const double dy = py - m_h / 2;
    if (m_mirrored)
        dx = -dx;
    const double s = m_scale;
    tx += roundEven(s * (m_cos * dx + m_sin * dy));
    ty += roundEven(s * (-m_sin * dx + m_cos * dy));
}

int radius(const Field &field, float scale)
{
    return static_cast<int>(std::trunc(std::hypot(static_cast<double>(field.SH), static_cast<double>(field.SW)) *
                                       static_cast<double>(scale) / 2.0));
}

std::vector<Sprite> startSprites(const Field &field, const Random &random)
{
    const auto below = [&random](int n) { return n > 0 ? random.below(n) : 0; };
    std::vector<Sprite> result(kSpriteCount);
    for (int i = 0; i < kSpriteCount; ++i) {
        const int k = i + 1;
        Sprite &s = result[static_cast<std::size_t>(i)];
        s.X = field.SW + below(field.BW - 2 * field.SW);
        s.Y = field.SH + below(field.BH - 2 * field.SH);
        s.Depth = 50 + below(field.DMax - 50);
        s.DX = (2 * below(2) - 1) * k;
        s.DY = (2 * below(2) - 1) * k;
        s.DDepth = (2 * below(2) - 1) * k;
        s.Angle = static_cast<float>(kTwoPi * random.real());
        s.Spin = newSpin(random.real);
        s.Scale = static_cast<float>(k) / 4.0f;
        s.Mirrored = i % 2 == 0;
    }
    return result;
}

int moveSprite(Sprite &sprite, const Field &field, const std::function<double()> &random)
{
    sprite.Scale = static_cast<float>(100.0 / sprite.Depth);
    const int r = radius(field, sprite.Scale);

    sprite.X += sprite.DX;
    if (sprite.X > field.BW - r + 8) {
        sprite.DX = -sprite.DX;
        sprite.Spin = newSpin(random);
        sprite.X = field.BW - r + 8;
    }
    if (sprite.X < r - 8) {
        sprite.DX = -sprite.DX;
        sprite.Spin = newSpin(random);
        sprite.X = r - 8;
    }

    sprite.Y += sprite.DY;
    if (sprite.Y > field.BH - r + 8) {
        sprite.DY = -sprite.DY;
        sprite.Spin = newSpin(random);
        sprite.Y = field.BH - r + 8;
    }
    if (sprite.Y < r - 8) {
        sprite.DY = -sprite.DY;
        sprite.Spin = newSpin(random);
        sprite.Y = r - 8;
    }

    // The depth turns back at its limits but is not clamped.
    sprite.Depth += sprite.DDepth;
    if (sprite.Depth > field.DMax || sprite.Depth < 50) {
        sprite.DDepth = -sprite.DDepth;
        sprite.Spin = newSpin(random);
    }

    sprite.Angle += sprite.Spin;
    if (sprite.Angle > kTwoPi)
        sprite.Angle = static_cast<float>(sprite.Angle - kTwoPi);
    if (sprite.Angle < 0)
        sprite.Angle = static_cast<float>(sprite.Angle + kTwoPi);
    return r;
}

} // namespace velmora::sprites
