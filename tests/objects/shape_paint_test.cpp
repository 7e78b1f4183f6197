// The line family painted: every code 0x1101-0x1109 with the decorations it allows,
// probed at the decorations, and the whole set compared with an expected picture.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <vector>

#include "document/render_context.h"
#include "objects/shape_object.h"
#include "tests/support/pixel_probe.h"

namespace {

using testsupport::kBlue;
using testsupport::kRed;
using testsupport::kWhite;

// GCC 12 at -O2 takes the vectors inside the tables of cases below, built from braces, for
// maybe uninitialized on the unwinding path (a false positive of that compiler).
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif

struct LineCase {
    const char* name;
    std::uint16_t code;
    std::vector<plat::Point> pixels; // device pixels at zoom 1.0
    std::uint8_t lineStyle = 2;
    std::uint8_t start = 1, end = 1;
    std::uint8_t fillStyle = 1;
};

// The shape drawn at (dx, dy) with red lines and a blue fill: its box at the origin, its
// points the pixels in twips.
void DrawLine(plat::Dc& dc, const LineCase& c, int dx = 0, int dy = 0)
{
    CShapeObject s(nullptr, nullptr, c.code);
    s.m_lineStyle = c.lineStyle;
    s.m_startLineEnd = c.start;
    s.m_endLineEnd = c.end;
    s.m_fillStyle = c.fillStyle;
    s.m_lineColor = static_cast<std::int32_t>(kRed);
    s.m_fillColor = static_cast<std::int32_t>(kBlue);
    s.m_bounds = plat::Rect(0, 0, 1, 1);
    for (const plat::Point& p : c.pixels) s.GetPoints().AddPoint(p.x * 15, p.y * 15);
    CRenderContext rc(nullptr, dc);
    s.Draw(dc, 1.0, dx, dy, 0, rc);
    rc.Restore(dc);
}

const std::vector<plat::Point> kStraight = {{20, 50}, {120, 50}};

TEST(LineShapes, DecorationsAsTheyAreDrawn)
{
    struct Probe {
        plat::Point at;
        plat::ColorRef color;
    };
    struct Row {
        LineCase shape;
        std::vector<Probe> probes;
    } rows[] = {
        // A one-pixel line gets h = 2: tip 2 beyond the end, base 8 back and 4 to each side.
        {{"end arrow", 0x1101, kStraight, 2, 1, 4}, {{{121, 50}, kRed}, {{113, 47}, kRed}, {{113, 53}, kRed}, {{124, 50}, kWhite}, {{113, 44}, kWhite}}},
        {{"start arrow", 0x1101, kStraight, 2, 4, 1}, {{{27, 47}, kRed}, {{19, 50}, kRed}, {{16, 50}, kWhite}, {{117, 48}, kWhite}}},
        {{"hollow circle", 0x1101, kStraight, 2, 1, 2}, {{{120, 50}, kWhite}, {{116, 50}, kRed}, {{120, 46}, kRed}, {{125, 50}, kWhite}}},
        {{"filled circle", 0x1101, kStraight, 2, 1, 3}, {{{120, 50}, kRed}, {{122, 48}, kRed}, {{125, 50}, kWhite}}},
        {{"start filled circle", 0x1101, kStraight, 2, 3, 1}, {{{20, 50}, kRed}, {{18, 52}, kRed}, {{15, 50}, kWhite}}},
        // The open square: 6h back, 6h to the left of travel (up), and forward again.
        {{"open square", 0x1101, kStraight, 2, 1, 5}, {{{117, 44}, kRed}, {{114, 47}, kRed}, {{120, 47}, kRed}, {{117, 47}, kWhite}}},
        // A thick line gets no extra pixel: h equals the pen width (6).
        {{"thick arrow", 0x1101, kStraight, 9, 1, 4}, {{{100, 59}, kRed}, {{100, 64}, kWhite}, {{125, 50}, kRed}}},
        {{"slender arrow", 0x1101, kStraight, 9, 1, 6}, {{{85, 56}, kRed}, {{85, 59}, kWhite}, {{123, 50}, kWhite}}},
        // Kinds 5 and 6 draw nothing at the start.
        {{"start kinds 5 and 6", 0x1101, kStraight, 2, 5, 6}, {{{23, 47}, kWhite}, {{17, 50}, kWhite}}},
        {{"polyline with arrows", 0x1102, {{20, 80}, {70, 20}, {120, 80}}, 2, 4, 4}, {{{120, 80}, kRed}, {{45, 50}, kRed}, {{70, 60}, kWhite}}},
        {{"polygon filled", 0x1103, {{20, 20}, {120, 20}, {70, 90}}, 2, 0, 0, 2}, {{{70, 40}, kBlue}, {{70, 20}, kRed}, {{20, 80}, kWhite}}},
        {{"polygon rubber band: one segment", 0x1103, {{20, 20}, {120, 90}}, 2, 0, 0, 2}, {{{70, 55}, kRed}, {{90, 40}, kWhite}}},
        // Two one-pixel lines 2 pixels either side, whatever the line style.
        {{"double line", 0x1104, kStraight, 9, 0, 0}, {{{70, 48}, kRed}, {{70, 52}, kRed}, {{70, 50}, kWhite}, {{70, 46}, kWhite}}},
        {{"curve with arrows", 0x1105, {{20, 80}, {20, 20}, {120, 20}, {120, 80}}, 2, 4, 4}, {{{70, 35}, kRed}, {{118, 76}, kRed}, {{120, 81}, kRed}, {{20, 81}, kRed}, {{70, 60}, kWhite}}},
        {{"curve with three points", 0x1105, {{20, 80}, {70, 20}, {120, 80}}, 2, 1, 1}, {{{45, 50}, kRed}}},
        {{"curve while drawn", 0x1106, {{20, 80}, {70, 20}, {120, 80}}, 2, 1, 4}, {{{45, 50}, kRed}, {{121, 81}, kRed}}},
        {{"open chain", 0x1107, {{20, 80}, {20, 20}, {60, 20}, {70, 50}, {80, 80}, {120, 80}, {120, 20}}, 2, 1, 1}, {{{70, 50}, kRed}, {{41, 31}, kRed}, {{40, 60}, kWhite}}},
        {{"closed chain filled", 0x1109, {{20, 50}, {20, 20}, {60, 20}, {60, 50}, {60, 80}, {20, 80}}, 2, 0, 0, 2}, {{{40, 50}, kBlue}, {{20, 50}, kRed}, {{90, 50}, kWhite}}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.shape.name);
        testsupport::Canvas canvas(150, 100);
        DrawLine(canvas.dc, r.shape);
        for (const Probe& p : r.probes) EXPECT_EQ(canvas.At(p.at.x, p.at.y), p.color) << p.at.x << "," << p.at.y;
    }
}

// Every member with every decoration it allows, on one picture.
std::unique_ptr<plat::Bitmap> AllLines()
{
    auto bitmap = plat::Bitmap::Create(600, 580);
    bitmap->Fill(kWhite);
    plat::MemoryDc dc;
    dc.Select(bitmap.get());
    int row = 0;
    for (std::uint8_t start = 1; start <= 6; ++start)
        for (std::uint8_t end = 1; end <= 6; ++end, ++row)
            DrawLine(dc, {"", 0x1101, kStraight, static_cast<std::uint8_t>(start % 2 ? 2 : 9), start, end},
                     (row % 4) * 150, (row / 4) * 45 - 25);
    const LineCase others[] = {
        {"", 0x1102, {{20, 80}, {70, 20}, {120, 80}}, 2, 4, 5},
        {"", 0x1103, {{20, 20}, {120, 20}, {70, 90}}, 7, 0, 0, 6},
        {"", 0x1104, kStraight, 2, 0, 0},
        {"", 0x1105, {{20, 80}, {20, 20}, {120, 20}, {120, 80}}, 8, 2, 3},
        {"", 0x1106, {{20, 80}, {70, 20}, {120, 80}}, 2, 1, 4},
        {"", 0x1107, {{20, 80}, {20, 20}, {60, 20}, {70, 50}, {80, 80}, {120, 80}, {120, 20}}, 2, 4, 6},
        {"", 0x1108, {{20, 20}, {120, 20}, {70, 90}}, 2, 0, 0, 2},
        {"", 0x1109, {{20, 50}, {20, 20}, {60, 20}, {60, 50}, {60, 80}, {20, 80}}, 2, 0, 0, 5},
    };
    int k = 0;
    for (const LineCase& c : others) {
        DrawLine(dc, c, (k % 4) * 150, 405 + (k / 4) * 85);
        ++k;
    }
    dc.Select(static_cast<plat::Bitmap*>(nullptr));
    return bitmap;
}

// The picture was looked at once and committed; a change in any painter shows here.
// QUILN_WRITE_EXPECTED=1 writes it afresh.
TEST(LineShapes, PictureOfEveryMemberMatchesTheExpectedOne)
{
    EXPECT_EQ(testsupport::DifferenceFromExpected(*AllLines(), "shapes/line_shapes.png"), 0);
}

} // namespace
