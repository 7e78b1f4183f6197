#include <gtest/gtest.h>

#include <cmath>

#include "document/color_math.h"
#include "document/plane_geometry.h"

TEST(Hsl, ConvertsBothWays)
{
    struct Case { int r, g, b; HslColor hsl; };
    const Case cases[] = {
        {255, 0, 0, {0, 240, 120}},
        {255, 255, 255, {0, 0, 240}},
        {0, 0, 0, {0, 0, 0}},
        {128, 128, 128, {0, 0, 120}},
        {0, 255, 0, {80, 240, 120}},
        {0, 0, 255, {160, 240, 120}},
        {255, 255, 0, {40, 240, 120}},
        {0, 255, 255, {120, 240, 120}},
        {255, 0, 255, {200, 240, 120}},
        {255, 128, 0, {20, 240, 120}},   // red max, blue min
        {255, 0, 128, {219, 240, 120}},  // red max, green min
        {200, 150, 100, {20, 114, 141}}, // a light brown: lightness above 120
    };
    for (const auto& c : cases) {
        EXPECT_EQ(RgbToHsl(c.r, c.g, c.b), c.hsl) << c.r << "," << c.g << "," << c.b;
    }
    struct Back { HslColor hsl; plat::ColorRef rgb; };
    const Back back[] = {
        {{0, 240, 120}, plat::Rgb(255, 0, 0)},
        {{80, 240, 120}, plat::Rgb(0, 255, 0)},
        {{160, 240, 120}, plat::Rgb(0, 0, 255)},
        {{0, 0, 240}, plat::Rgb(255, 255, 255)},
        {{0, 0, 0}, plat::Rgb(0, 0, 0)},
        {{20, 240, 120}, plat::Rgb(255, 128, 0)},
        {{200, 240, 120}, plat::Rgb(255, 0, 255)},
        {{240, 0, 120}, plat::Rgb(128, 128, 128)}, // no sector 6: all three high
    };
    for (const auto& c : back) {
        EXPECT_EQ(HslToRgb(c.hsl.hue, c.hsl.saturation, c.hsl.lightness), c.rgb)
            << c.hsl.hue << "," << c.hsl.saturation << "," << c.hsl.lightness;
    }
    // Lightening a light colour saturates every component; darkening halves towards black.
    EXPECT_EQ(AdjustLightness(plat::Rgb(230, 230, 230), 2.0), plat::Rgb(255, 255, 255));
    EXPECT_EQ(AdjustLightness(plat::Rgb(200, 220, 240), 1.8), plat::Rgb(255, 255, 255));
    EXPECT_EQ(AdjustLightness(plat::Rgb(255, 0, 0), 0.5), plat::Rgb(127, 0, 0));
    // Grey 90 has lightness 84 on the 240 scale, which maps back to 89: the scale is coarse.
    EXPECT_EQ(AdjustLightness(plat::Rgb(90, 90, 90), 1.0), plat::Rgb(89, 89, 89));
}

TEST(Geometry, AnglesAndPoints)
{
    const double eps = 1e-6;
    struct AngleCase { int x1, y1, x2, y2; double want; };
    const AngleCase angles[] = {
        {0, 0, 10, -10, kPi / 4}, // up and to the right
        {0, 0, 10, 10, 7 * kPi / 4},
        {0, 0, -10, -10, 3 * kPi / 4},
        {0, 0, -10, 10, 5 * kPi / 4},
        {0, 0, 10, 0, 0},
        {0, 0, -10, 0, kPi},
        {5, 5, 5, 5, kPi}, // the same point counts as "not to the right"
        {0, 0, 0, -3, kHalfPi},
        {0, 0, 0, 3, kThreeHalfPi},
    };
    for (const auto& a : angles)
        EXPECT_NEAR(LineAngle(a.x1, a.y1, a.x2, a.y2), a.want, 1e-6) << a.x2 << "," << a.y2;

    EXPECT_NEAR(SinAngle(kHalfPi), -1.0, eps); // positive angles point up on screen
    EXPECT_NEAR(CosAngle(0), 1.0, eps);
    EXPECT_NEAR(SinAngle(-kHalfPi), 1.0, eps);
    EXPECT_NEAR(CosAngle(kTwoPi + kPi), -1.0, eps);
    EXPECT_DOUBLE_EQ(Distance(0, 0, 3, 4), 5.0);

    struct PointCase { const char* what; plat::Point got; plat::Point want; };
    const PointCase points[] = {
        {"offset on a rightward line", OffsetPointOnLine(0, 0, 100, 0, 10, 5), {110, 5}},
        {"offset on a leftward line", OffsetPointOnLine(100, 0, 0, 0, 10, 5), {-10, -5}},
        {"offset on an upward line", OffsetPointOnLine(0, 0, 0, -100, 10, 0), {0, -109}},
        {"offset on a downward line", OffsetPointOnLine(0, 0, 0, 100, 10, 0), {0, 109}},
        {"distance toward a point on the right", PointAtDistance(0, 0, 30, 40, 100, 0), {50, 0}},
        {"distance toward a point on the left", PointAtDistance(0, 0, 30, 40, -100, 0), {-50, 0}},
        {"distance along a diagonal", PointAtDistance(0, 0, 0, 10, 5, 5), {7, 7}},
        {"distance straight up", PointAtDistance(0, 0, 6, 8, 0, -50), {0, -10}},
        {"distance straight down", PointAtDistance(0, 0, 6, 8, 0, 50), {0, 10}},
        {"crossing diagonals", LineIntersection(0, 0, 10, 10, 0, 10, 10, 0), {5, 5}},
        {"first line vertical", LineIntersection(3, 0, 3, 10, 0, 1, 10, 21), {3, 7}},
        {"second line vertical", LineIntersection(0, 1, 10, 21, 4, 0, 4, 10), {4, 9}},
        {"parallel lines give the first start", LineIntersection(1, 2, 11, 12, 0, 5, 10, 15), {1, 2}},
        {"both vertical give the first start", LineIntersection(1, 2, 1, 12, 5, 0, 5, 10), {1, 2}},
        {"coincident lines give the first start", LineIntersection(0, 0, 5, 5, 1, 1, 9, 9), {0, 0}},
    };
    for (const auto& p : points) EXPECT_EQ(p.got, p.want) << p.what;
}

TEST(Geometry, FitRect)
{
    struct Case { int w, h, bw, bh; plat::Size size; plat::Point pos; };
    const Case cases[] = {
        {100, 50, 200, 200, {100, 50}, {50, 75}},   // fits: centred
        {400, 100, 200, 200, {200, 50}, {0, 75}},   // wide: full width, centred vertically
        {100, 400, 200, 200, {50, 200}, {75, 0}},   // tall: full height, centred horizontally
        {400, 400, 200, 200, {200, 200}, {0, 0}},   // same proportions
        {300, 200, 300, 100, {150, 100}, {75, 0}},  // too tall only
        {200, 200, 200, 200, {200, 200}, {0, 0}},
        {0, 0, 10, 10, {0, 0}, {5, 5}},
    };
    for (const auto& c : cases) {
        plat::Point pos(0, 0);
        EXPECT_EQ(FitRect(c.w, c.h, c.bw, c.bh, pos), c.size) << c.w << "x" << c.h;
        EXPECT_EQ(pos, c.pos) << c.w << "x" << c.h;
    }
    plat::Point pos(1000, 2000);
    FitRect(100, 50, 200, 200, pos);
    EXPECT_EQ(pos, plat::Point(1050, 2075));
}
