#pragma once

#include <cstdint>
#include <functional>
#include <vector>

// The arithmetic of the credits window's animation, kept apart from any bitmap or window so it
// can be checked number by number: rotated and scaled rendering of a column-held image, and the
// per-tick motion of the sprites with their bounces.
namespace velmora::sprites {

// Nearest integer, ties to the even one (the rounding the rendering formulas are written with).
int roundEven(double x);

// The size of a rendered image: NW × NH for a held image of W × H at scale s and angle θ.
struct RenderSize
{
    int width = 0;
    int height = 0;
};
RenderSize renderSize(int w, int h, float scale, float angle);

// Where a target pixel takes its colour from; inside is false when it falls outside the held
// image and takes the fill colour.
struct SourcePixel
{
    int column = 0;
    int row = 0;
    bool inside = false;
};

// The mapping of target pixels back to source pixels for one rendering.
class RenderMap
{
public:
    RenderMap(int w, int h, bool mirrored, float scale, float angle);
    const RenderSize &size() const { return m_size; }
    SourcePixel source(int i, int j) const;
    // Where a pivot point of the held image lands in the target.
    void pivot(int px, int py, int &tx, int &ty) const;

private:
    int m_w;
    int m_h;
    bool m_mirrored;
    float m_scale;
    float m_angle;
    float m_sin;
    float m_cos;
    RenderSize m_size;
};

// Renders a column-held image (columns[x][y]) into a row-major pixel vector of size NW × NH.
template <typename Pixel>
std::vector<Pixel> render(const std::vector<std::vector<Pixel>> &columns, int h, const RenderMap &map)
{
    const RenderSize &size = map.size();
    std::vector<Pixel> out(static_cast<std::size_t>(size.width) * static_cast<std::size_t>(size.height));
    if (columns.empty() || h <= 0)
        return out;
    const Pixel fill = columns[0][static_cast<std::size_t>(h - 1)];
    for (int j = 0; j < size.height; ++j) {
        for (int i = 0; i < size.width; ++i) {
            const SourcePixel s = map.source(i, j);
            out[static_cast<std::size_t>(j) * static_cast<std::size_t>(size.width) + static_cast<std::size_t>(i)] =
                s.inside ? columns[static_cast<std::size_t>(s.column)][static_cast<std::size_t>(s.row)] : fill;
        }
    }
    return out;
}

// One sprite of the credits window.
struct Sprite
{
    std::int32_t X = 0;
    std::int32_t Y = 0;
    std::int32_t Depth = 0;
    std::int32_t DX = 0;
    std::int32_t DY = 0;
    std::int32_t DDepth = 0;
    float Angle = 0;
    float Spin = 0;
    float Scale = 0;
    bool Mirrored = false;
};

// The room the sprites move in: background BW × BH, depth limit, sprite picture SW × SH.
struct Field
{
    int BW = 0;
    int BH = 0;
    int DMax = 0;
    int SW = 0;
    int SH = 0;
};

// A real in [0, 1) and an integer in 0 … n − 1, both uniform.
struct Random
{
    std::function<double()> real;
    std::function<int(int)> below;
};

constexpr int kSpriteCount = 5;

// Half the diagonal of the sprite picture at a scale, truncated: the radius a sprite covers.
int radius(const Field &field, float scale);

// The sprites as the window starts them, drawn in a fixed order from the random source.
std::vector<Sprite> startSprites(const Field &field, const Random &random);

// Advances one sprite by one tick: new scale from its depth, position with bounces on the four
// limits, depth with its bounces, angle kept in 0 … 2π. Returns the radius at the new scale.
int moveSprite(Sprite &sprite, const Field &field, const std::function<double()> &random);

} // namespace velmora::sprites
