#include <cmath>
#include <deque>
#include <numbers>

#include <gtest/gtest.h>

#include "app/spritemath.h"

using namespace velmora::sprites;

namespace {

// The credits window's own sizes: background 597 × 362, depth limit 362, sprite 108 × 60.
const Field kField{597, 362, 362, 108, 60};

// A random source that hands out scripted reals and counts how many were drawn.
struct ScriptedReals
{
    std::deque<double> values;
    int drawn = 0;
    std::function<double()> source()
    {
        return [this] {
            ++drawn;
            if (values.empty())
                return 0.5;
            const double v = values.front();
            values.pop_front();
            return v;
        };
    }
};

Sprite spriteAt(int x, int y, int depth, int dx, int dy, int ddepth)
{
    Sprite s;
    s.X = x;
    s.Y = y;
    s.Depth = depth;
    s.DX = dx;
    s.DY = dy;
    s.DDepth = ddepth;
    s.Angle = 1.0f;
    s.Spin = 0.05f;
    return s;
}

} // namespace

TEST(SpriteRounding, TiesGoToTheEvenInteger)
{
    const std::pair<double, int> cases[] = {{0.5, 0},   {1.5, 2},   {2.5, 2},    {3.5, 4},    {-0.5, 0},
                                            {-1.5, -2}, {-2.5, -2}, {2.4999, 2}, {2.5001, 3}, {-4.2426, -4}};
    for (const auto &[x, expected] : cases)
        EXPECT_EQ(roundEven(x), expected) << x;
}

TEST(SpriteRenderSize, FollowsTheSizeFormula)
{
    struct Case
    {
        int w, h;
        float scale, angle;
        int nw, nh;
    };
    const float quarter = static_cast<float>(std::numbers::pi / 2);
    const float eighth = static_cast<float>(std::numbers::pi / 4);
    const float half = static_cast<float>(std::numbers::pi);
    const Case cases[] = {
        {108, 60, 1.0f, 0.0f, 108, 60}, {108, 60, 0.5f, 0.0f, 54, 30},
        {5, 1, 0.5f, 0.0f, 2, 0},    // 2.5 and 0.5 round to the even 2 and 0
        {7, 3, 0.5f, 0.0f, 4, 2},    // 3.5 and 1.5 round to 4 and 2
        {3, 2, 1.0f, quarter, 2, 3}, // a quarter turn swaps the sides
        {4, 2, 1.0f, eighth, 4, 4},  // 1 + 3 both ways
        {10, 10, 1.5f, half, 15, 15},   {108, 60, 2.0f, quarter, 120, 216},
    };
    for (const Case &c : cases) {
        const RenderSize size = renderSize(c.w, c.h, c.scale, c.angle);
        EXPECT_EQ(size.width, c.nw) << c.w << "x" << c.h << " s=" << c.scale << " a=" << c.angle;
        EXPECT_EQ(size.height, c.nh) << c.w << "x" << c.h << " s=" << c.scale << " a=" << c.angle;
    }
}

TEST(SpriteRenderMap, TurnedPixelsUseTruncatingDivision)
{
    // 4 × 2 turned by an eighth: the corner (0, 3) computes column (4 − 4 − 1) div 2, which
    // truncates to 0 and stays inside; (0, 0) falls below row 0 and takes the fill.
    const RenderMap map(4, 2, false, 1.0f, static_cast<float>(std::numbers::pi / 4));
    const SourcePixel corner = map.source(0, 3);
    EXPECT_TRUE(corner.inside);
    EXPECT_EQ(corner.column, 0);
    EXPECT_EQ(corner.row, 0);
    EXPECT_FALSE(map.source(0, 0).inside);
    const SourcePixel inner = map.source(1, 1);
    EXPECT_TRUE(inner.inside);
    EXPECT_EQ(inner.column, 1);
    EXPECT_EQ(inner.row, 0);
}

TEST(SpriteRenderMap, PlainScalingTruncatesAndMirrors)
{
    const RenderMap plain(3, 2, false, 1.5f, 0.0f);
    EXPECT_EQ(plain.size().width, 4); // rnd(4.5) = 4
    EXPECT_EQ(plain.source(2, 2).column, 1);
    EXPECT_EQ(plain.source(2, 2).row, 1);
    EXPECT_EQ(plain.source(3, 0).column, 2);

    const RenderMap mirrored(3, 2, true, 1.5f, 0.0f);
    EXPECT_EQ(mirrored.source(0, 0).column, 2);
    EXPECT_EQ(mirrored.source(3, 0).column, 0);
}

TEST(SpriteRenderMap, CentrePivotLandsInTheMiddle)
{
    const RenderMap map(108, 60, true, 0.8f, 2.1f);
    int x = 0, y = 0;
    map.pivot(54, 30, x, y);
    EXPECT_EQ(x, map.size().width / 2);
    EXPECT_EQ(y, map.size().height / 2);
}

TEST(SpriteRadius, IsHalfTheScaledDiagonalTruncated)
{
    EXPECT_EQ(radius(kField, 1.0f), 61); // hypot(60, 108) = 123.55
    EXPECT_EQ(radius(kField, 2.0f), 123);
    EXPECT_EQ(radius(kField, 0.25f), 15);
    // Over the whole depth range of the window (and a step beyond) no sprite vanishes.
    for (int depth = 45; depth <= 367; ++depth)
        EXPECT_GT(radius(kField, static_cast<float>(100.0 / depth)), 0) << depth;
}

TEST(SpriteMotion, BouncesAtTheRightEdgeLimit)
{
    ScriptedReals random{{0.75}};
    Sprite s = spriteAt(540, 200, 100, 5, 0, 0); // depth 100: scale 1, radius 61, limit 597 − 61 + 8
    EXPECT_EQ(moveSprite(s, kField, random.source()), 61);
    EXPECT_EQ(s.X, 544);
    EXPECT_EQ(s.DX, -5);
    EXPECT_FLOAT_EQ(s.Spin, 0.1f); // 0.4 · 0.75 − 0.2, drawn anew
    EXPECT_EQ(random.drawn, 1);
    moveSprite(s, kField, random.source());
    EXPECT_EQ(s.X, 539); // moves left from the next tick
    EXPECT_EQ(random.drawn, 1);
}

TEST(SpriteMotion, ReachingTheLimitExactlyIsNoBounce)
{
    ScriptedReals random;
    Sprite s = spriteAt(539, 200, 100, 5, 0, 0);
    moveSprite(s, kField, random.source());
    EXPECT_EQ(s.X, 544);
    EXPECT_EQ(s.DX, 5);
    EXPECT_FLOAT_EQ(s.Spin, 0.05f);
    EXPECT_EQ(random.drawn, 0);
}

TEST(SpriteMotion, BouncesAtTheOtherEdges)
{
    ScriptedReals random;
    Sprite left = spriteAt(55, 200, 100, -3, 0, 0); // left limit 61 − 8 = 53
    moveSprite(left, kField, random.source());
    EXPECT_EQ(left.X, 53);
    EXPECT_EQ(left.DX, 3);

    Sprite bottom = spriteAt(300, 306, 100, 0, 4, 0); // bottom limit 362 − 61 + 8 = 309
    moveSprite(bottom, kField, random.source());
    EXPECT_EQ(bottom.Y, 309);
    EXPECT_EQ(bottom.DY, -4);

    Sprite top = spriteAt(300, 54, 100, 0, -2, 0); // top limit 53
    moveSprite(top, kField, random.source());
    EXPECT_EQ(top.Y, 53);
    EXPECT_EQ(top.DY, 2);
    EXPECT_EQ(random.drawn, 3);
}

TEST(SpriteMotion, DepthTurnsBackWithoutClampingAndDrawsANewSpin)
{
    ScriptedReals random{{0.0, 1.0}};
    Sprite far = spriteAt(300, 180, 360, 0, 0, 5);
    moveSprite(far, kField, random.source());
    EXPECT_EQ(far.Depth, 365);
    EXPECT_EQ(far.DDepth, -5);
    EXPECT_FLOAT_EQ(far.Spin, -0.2f);
    EXPECT_FLOAT_EQ(far.Scale, 100.0f / 360.0f); // the scale of the depth before the move

    Sprite near = spriteAt(300, 180, 52, 0, 0, -3);
    moveSprite(near, kField, random.source());
    EXPECT_EQ(near.Depth, 49);
    EXPECT_EQ(near.DDepth, 3);
    EXPECT_NEAR(near.Spin, 0.2f, 1e-6);
    EXPECT_EQ(random.drawn, 2);
}

TEST(SpriteMotion, AngleStaysWithinAFullTurn)
{
    ScriptedReals random;
    Sprite up = spriteAt(300, 180, 100, 0, 0, 0);
    up.Angle = 6.2f;
    up.Spin = 0.1f;
    moveSprite(up, kField, random.source());
    EXPECT_NEAR(up.Angle, 6.3 - 2 * std::numbers::pi, 1e-5);

    Sprite down = spriteAt(300, 180, 100, 0, 0, 0);
    down.Angle = 0.05f;
    down.Spin = -0.1f;
    moveSprite(down, kField, random.source());
    EXPECT_NEAR(down.Angle, 2 * std::numbers::pi - 0.05, 1e-5);
}

TEST(SpriteStart, DrawsEachSpriteInTheWrittenOrder)
{
    std::vector<int> asked;
    Random random;
    random.below = [&asked](int n) {
        asked.push_back(n);
        return n - 1;
    };
    random.real = [] { return 0.5; };
    const std::vector<Sprite> sprites = startSprites(kField, random);
    ASSERT_EQ(sprites.size(), 5u);
    const std::vector<int> perSprite = {597 - 216, 362 - 120, 362 - 50, 2, 2, 2};
    ASSERT_EQ(asked.size(), 30u);
    for (std::size_t i = 0; i < 5; ++i) {
        const Sprite &s = sprites[i];
        const int k = static_cast<int>(i) + 1;
        EXPECT_EQ(
            std::vector<int>(asked.begin() + static_cast<long>(6 * i), asked.begin() + static_cast<long>(6 * i + 6)),
            perSprite);
        EXPECT_EQ(s.X, 108 + 597 - 216 - 1);
        EXPECT_EQ(s.Y, 60 + 362 - 120 - 1);
        EXPECT_EQ(s.Depth, 50 + 362 - 50 - 1);
        EXPECT_EQ(s.DX, k);
        EXPECT_EQ(s.DY, k);
        EXPECT_EQ(s.DDepth, k);
        EXPECT_FLOAT_EQ(s.Angle, static_cast<float>(std::numbers::pi));
        EXPECT_FLOAT_EQ(s.Spin, 0.0f);
        EXPECT_FLOAT_EQ(s.Scale, k / 4.0f);
        EXPECT_EQ(s.Mirrored, i % 2 == 0);
    }
}

TEST(SpriteStart, LowDrawsGiveNegativeSteps)
{
    Random random;
    random.below = [](int) { return 0; };
    random.real = [] { return 0.0; };
    const std::vector<Sprite> sprites = startSprites(kField, random);
    EXPECT_EQ(sprites[2].X, 108);
    EXPECT_EQ(sprites[2].Depth, 50);
    EXPECT_EQ(sprites[2].DX, -3);
    EXPECT_EQ(sprites[4].DDepth, -5);
    EXPECT_FLOAT_EQ(sprites[4].Spin, -0.2f);
}
