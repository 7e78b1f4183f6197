// The basic shapes, block arrows, polygons, stars and flow-chart symbols painted: each
// code probed at the points its geometry defines, the catalogue of every code at three
// sizes and in its two-point form compared with expected pictures at 100 % and 200 %, the
// fill and line styles, the per-code properties, and figures of no size.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <vector>

#include "document/color_math.h"
#include "document/plane_geometry.h"
#include "document/render_context.h"
#include "objects/shape_object.h"
#include "tests/objects/shape_catalogue.h"
#include "tests/support/pixel_probe.h"

namespace {

using plat::Point;
using testsupport::kBlue;
using testsupport::kRed;
using testsupport::kWhite;

struct Shape {
    std::uint16_t code;
    std::vector<Point> pixels; // device pixels at zoom 1.0
    std::uint8_t lineStyle = 2;
    std::uint8_t fillStyle = 2;
};

// The shape drawn with red lines and a blue fill, its box at the origin and its points the
// pixels in twips.
void DrawShape(plat::Dc& dc, const Shape& c, double zoom = 1.0, int dx = 0, int dy = 0)
{
    CShapeObject s(nullptr, nullptr, c.code);
    s.m_lineStyle = c.lineStyle;
    s.m_fillStyle = c.fillStyle;
    s.m_lineColor = static_cast<std::int32_t>(kRed);
    s.m_fillColor = static_cast<std::int32_t>(kBlue);
    s.m_bounds = plat::Rect(0, 0, 1, 1);
    for (const Point& p : c.pixels) s.GetPoints().AddPoint(p.x * 15, p.y * 15);
    CRenderContext rc(nullptr, dc);
    s.Draw(dc, zoom, dx, dy, 0, rc);
    rc.Restore(dc);
}

// The box every probe case is drawn in, unless it gives its own points.
const std::vector<Point> kBox = {{20, 20}, {220, 160}};

constexpr plat::ColorRef kAny = 0x01000000; // any painted colour (not white)

struct Probe {
    Point at;
    plat::ColorRef color;
};

plat::ColorRef Shade(double factor)
{
    return AdjustLightness(kBlue, factor);
}

// g++ 12 reports the vectors of a long table like the one below as maybe uninitialised on
// the path that unwinds a half-built table; they are not.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
TEST(ShapeFamilies, GeometryProbedWhereTheShapeIsDefined)
{
    const plat::ColorRef cubeSide = Shade(0.6), bevelRight = Shade(0.5);
    std::vector<Point> pulled = CShapeObject::StarCorners({120, 90}, {120, 30}, 5);
    pulled[1] = {91, 45}; // an inner corner dragged outward
    struct Row {
        const char* name;
        Shape shape;
        std::vector<Probe> probes;
    };
    const Row rows[] = {
        // ---- basic shapes, box (20, 20)-(220, 160) ----
        {"rectangle", {0x1201, kBox}, {{{120, 90}, kBlue}, {{20, 90}, kRed}, {{222, 90}, kWhite}}},
        {"parallelogram: quarter inset", {0x1202, kBox}, {{{120, 90}, kBlue}, {{25, 25}, kWhite}, {{215, 155}, kWhite}, {{70, 20}, kRed}}},
        {"trapezoid", {0x1203, kBox}, {{{120, 150}, kBlue}, {{25, 25}, kWhite}, {{215, 25}, kWhite}}},
        {"diamond", {0x1204, kBox}, {{{120, 90}, kBlue}, {{30, 30}, kWhite}, {{210, 150}, kWhite}}},
        {"rounded rectangle: corner radius min(w, h)/6", {0x1205, kBox}, {{{120, 90}, kBlue}, {{22, 22}, kWhite}, {{20, 90}, kRed}}},
        {"isosceles triangle: apex at the press", {0x1206, {{120, 20}, {220, 160}}}, {{{120, 120}, kBlue}, {{30, 30}, kWhite}, {{210, 30}, kWhite}}},
        {"right triangle, lower left", {0x1207, kBox}, {{{40, 140}, kBlue}, {{200, 40}, kWhite}}},
        {"right triangle, lower right", {0x1208, kBox}, {{{200, 140}, kBlue}, {{40, 40}, kWhite}}},
        {"ellipse", {0x1209, kBox}, {{{120, 90}, kBlue}, {{25, 25}, kWhite}, {{20, 90}, kRed}}},
        {"hexagon", {0x120A, kBox}, {{{120, 90}, kBlue}, {{25, 25}, kWhite}, {{30, 90}, kBlue}}},
        {"hexagon adjusted past the middle is mirrored", {0x120A, {{20, 20}, {220, 160}, {200, 60}}}, {{{120, 90}, kBlue}, {{35, 25}, kWhite}, {{45, 25}, kBlue}}},
        {"octagon", {0x120B, kBox}, {{{120, 90}, kBlue}, {{22, 22}, kWhite}, {{40, 40}, kBlue}}},
        {"cross: the corner squares cut", {0x120C, kBox}, {{{120, 90}, kBlue}, {{30, 30}, kWhite}, {{210, 150}, kWhite}, {{120, 25}, kBlue}}},
        {"pentagon", {0x120D, kBox}, {{{120, 90}, kBlue}, {{25, 25}, kWhite}, {{30, 155}, kWhite}}},
        // Lid ellipse (20, 20)-(220, 55): its front rim crosses x = 120 at its bottom.
        {"cylinder: the lid's front rim", {0x120E, kBox}, {{{120, 90}, kBlue}, {{22, 22}, kWhite}, {{120, 55}, kRed}, {{120, 45}, kBlue}, {{22, 158}, kWhite}}},
        {"cube: side face shaded", {0x120F, kBox}, {{{100, 120}, kBlue}, {{22, 22}, kWhite}, {{210, 90}, cubeSide}, {{215, 150}, kWhite}}},
        {"bevel: bottom and right faces shaded", {0x1210, kBox}, {{{120, 90}, kBlue}, {{120, 150}, Shade(0.6)}, {{210, 90}, bevelRight}}},
        {"ring: hole of half the radius", {0x1211, {{120, 90}, {180, 90}}}, {{{120, 90}, kWhite}, {{120, 45}, kBlue}, {{120, 25}, kWhite}, {{120, 30}, kRed}}},
        {"ring adjusted: the hole follows the third point", {0x1211, {{120, 90}, {180, 90}, {170, 90}}}, {{{120, 55}, kWhite}, {{120, 35}, kBlue}}},
        {"concave corners", {0x1212, kBox}, {{{120, 90}, kBlue}, {{25, 25}, kWhite}, {{215, 155}, kWhite}, {{60, 60}, kBlue}}},
        {"brace: point at the press, spine between", {0x1213, {{20, 20}, {60, 160}}, 2, 2}, {{{20, 90}, kRed}, {{40, 55}, kRed}, {{30, 60}, kWhite}}},
        {"brace turned", {0x1214, {{20, 20}, {220, 60}}, 2, 2}, {{{120, 20}, kRed}, {{70, 40}, kRed}, {{60, 30}, kWhite}}},
        {"square bracket", {0x1215, {{20, 20}, {60, 160}}, 2, 2}, {{{20, 90}, kRed}, {{40, 20}, kRed}, {{40, 90}, kWhite}}},
        {"square bracket turned", {0x1216, {{20, 20}, {220, 60}}, 2, 2}, {{{120, 20}, kRed}, {{20, 40}, kRed}, {{120, 40}, kWhite}}},
        {"round bracket", {0x1217, {{20, 20}, {60, 160}}, 2, 2}, {{{20, 90}, kRed}, {{40, 90}, kWhite}}},
        {"round bracket turned", {0x1218, {{20, 20}, {220, 60}}, 2, 2}, {{{120, 20}, kRed}, {{120, 40}, kWhite}}},
        {"pair of braces", {0x1219, kBox}, {{{20, 90}, kRed}, {{219, 90}, kRed}, {{120, 90}, kWhite}}},
        {"pair of square brackets", {0x121A, kBox}, {{{20, 90}, kRed}, {{220, 90}, kRed}, {{120, 90}, kWhite}, {{120, 20}, kWhite}}},
        {"pair of round brackets", {0x121B, kBox}, {{{20, 90}, kRed}, {{220, 90}, kRed}, {{120, 90}, kWhite}}},
        {"right triangle over its hypotenuse", {0x121C, {{20, 160}, {220, 160}, {120, 20}}}, {{{120, 140}, kBlue}, {{120, 61}, kRed}, {{120, 50}, kWhite}, {{30, 40}, kWhite}}},
        {"right triangle with two points is its line", {0x121C, {{20, 160}, {220, 160}}}, {{{120, 160}, kRed}, {{120, 150}, kWhite}}},
        // ---- block arrows, dragged from (20, 20) to (220, 160) ----
        {"two lines with half heads", {0x1301, {{20, 90}, {220, 90}}}, {{{120, 88}, kRed}, {{120, 92}, kRed}, {{120, 90}, kWhite}}},
        {"two lines, mirrored kind", {0x1302, {{20, 90}, {220, 90}}}, {{{120, 88}, kRed}, {{120, 92}, kRed}, {{120, 90}, kWhite}}},
        {"slim arrow: tip at the release", {0x1303, {{20, 90}, {220, 90}}}, {{{120, 90}, kBlue}, {{210, 90}, kBlue}, {{219, 90}, kAny}, {{120, 84}, kWhite}, {{206, 83}, kAny}}},
        {"slim double arrow", {0x1304, {{20, 90}, {220, 90}}}, {{{120, 90}, kBlue}, {{26, 90}, kAny}, {{120, 84}, kWhite}, {{34, 83}, kAny}}},
        {"block arrow: head at the release", {0x1305, kBox}, {{{100, 90}, kBlue}, {{100, 40}, kWhite}, {{195, 90}, kBlue}, {{190, 60}, kBlue}, {{190, 40}, kWhite}}},
        {"block arrow dragged leftward points left", {0x1305, {{220, 20}, {20, 160}}}, {{{45, 90}, kBlue}, {{50, 40}, kWhite}, {{140, 90}, kBlue}, {{140, 40}, kWhite}}},
        {"block arrow, vertical", {0x1306, kBox}, {{{120, 90}, kBlue}, {{40, 90}, kWhite}, {{120, 135}, kBlue}, {{40, 140}, kWhite}}},
        {"block arrow adjusted past the middle: the shaft shrinks to its line", {0x1305, {{20, 20}, {220, 160}, {120, 150}}}, {{{60, 90}, kRed}, {{60, 85}, kWhite}, {{150, 90}, kBlue}}},
        {"double block arrow", {0x1307, kBox}, {{{120, 90}, kBlue}, {{120, 40}, kWhite}, {{40, 90}, kBlue}}},
        {"double block arrow, vertical", {0x1308, kBox}, {{{120, 90}, kBlue}, {{40, 90}, kWhite}, {{120, 40}, kBlue}}},
        {"three-way arrow", {0x1309, kBox}, {{{150, 90}, kBlue}, {{150, 60}, kWhite}, {{70, 25}, kBlue}, {{70, 155}, kBlue}}},
        {"three-way arrow, down", {0x130A, kBox}, {{{120, 100}, kBlue}, {{60, 120}, kWhite}, {{120, 155}, kBlue}}},
        {"bent double arrow", {0x130B, kBox}, {{{70, 80}, kBlue}, {{150, 60}, kWhite}, {{200, 125}, kBlue}}},
        {"bent arrow", {0x130C, kBox}, {{{45, 80}, kBlue}, {{150, 60}, kWhite}, {{200, 125}, kBlue}}},
        {"striped arrow: the stripes and the gap", {0x130D, kBox}, {{{23, 90}, kBlue}, {{29, 90}, kWhite}, {{38, 90}, kBlue}, {{47, 90}, kWhite}, {{100, 90}, kBlue}, {{100, 40}, kWhite}}},
        // Dragged leftward with the adjust point among the stripes: the head is held back at
        // the stripes' end and leaves the gap between them white.
        {"striped arrow leftward, adjusted into its stripes", {0x130D, {{220, 20}, {20, 160}, {215, 60}}}, {{{217, 90}, kBlue}, {{211, 90}, kWhite}, {{100, 90}, kBlue}, {{25, 90}, kAny}}},
        {"striped arrow, vertical", {0x130E, kBox}, {{{120, 22}, kBlue}, {{120, 26}, kWhite}, {{120, 90}, kBlue}, {{40, 90}, kWhite}}},
        {"notched arrow: the notch", {0x130F, kBox}, {{{30, 90}, kWhite}, {{50, 90}, kBlue}, {{100, 90}, kBlue}, {{25, 60}, kBlue}}},
        {"notched arrow, vertical", {0x1310, kBox}, {{{120, 25}, kWhite}, {{120, 90}, kBlue}}},
        {"notched arrow with a full-height shaft: the notch k deep", {0x130F, {{20, 20}, {220, 160}, {120, 20}}}, {{{60, 90}, kWhite}, {{110, 90}, kWhite}, {{150, 90}, kBlue}, {{100, 40}, kBlue}}},
        {"pentagon arrow", {0x1311, kBox}, {{{100, 90}, kBlue}, {{210, 30}, kWhite}, {{210, 90}, kBlue}}},
        {"pentagon arrow, vertical", {0x1312, kBox}, {{{120, 90}, kBlue}, {{30, 150}, kWhite}}},
        {"chevron: notched tail", {0x1313, kBox}, {{{120, 90}, kBlue}, {{30, 90}, kWhite}, {{210, 30}, kWhite}}},
        {"chevron, vertical", {0x1314, kBox}, {{{120, 90}, kBlue}, {{120, 30}, kWhite}}},
        {"arrow callout", {0x1315, kBox}, {{{80, 90}, kBlue}, {{190, 40}, kWhite}, {{200, 90}, kBlue}}},
        {"arrow callout, vertical", {0x1316, kBox}, {{{120, 60}, kBlue}, {{40, 140}, kWhite}, {{120, 140}, kBlue}}},
        {"double arrow callout", {0x1317, kBox}, {{{120, 90}, kBlue}, {{40, 40}, kWhite}, {{30, 90}, kBlue}}},
        {"double arrow callout, vertical", {0x1318, kBox}, {{{120, 90}, kBlue}, {{40, 30}, kWhite}, {{120, 25}, kBlue}}},
        {"quad arrow", {0x1319, kBox}, {{{120, 90}, kBlue}, {{40, 40}, kWhite}, {{25, 90}, kBlue}, {{120, 25}, kBlue}}},
        {"quad arrow callout", {0x131A, kBox}, {{{120, 90}, kBlue}, {{40, 40}, kWhite}, {{25, 90}, kBlue}}},
        {"curved bent arrow, down then forward", {0x131B, kBox}, {{{45, 40}, kBlue}, {{150, 40}, kWhite}, {{200, 125}, kBlue}}},
        {"U-turn arrow", {0x131C, kBox}, {{{120, 30}, kBlue}, {{45, 120}, kBlue}, {{120, 120}, kWhite}, {{170, 90}, kBlue}}},
        {"curved bent arrow, forward then down", {0x131D, kBox}, {{{70, 37}, kBlue}, {{50, 120}, kWhite}, {{170, 140}, kBlue}}},
        {"C-shaped turning arrow", {0x131E, kBox}, {{{150, 142}, kBlue}, {{150, 100}, kWhite}, {{30, 100}, kBlue}, {{140, 55}, kBlue}}},
        {"elbow over the top with its arrowhead", {0x131F, kBox}, {{{120, 20}, kRed}, {{120, 90}, kWhite}, {{221, 156}, kRed}, {{221, 150}, kWhite}}},
        {"elbow round the side", {0x1320, kBox}, {{{20, 90}, kRed}, {{120, 90}, kWhite}, {{215, 158}, kRed}, {{205, 158}, kWhite}}},
        // ---- regular polygons and stars: centre (120, 90), first vertex straight up ----
        {"triangle", {0x1401, {{120, 90}, {120, 30}}}, {{{120, 100}, kBlue}, {{120, 31}, kAny}, {{70, 40}, kWhite}, {{120, 140}, kWhite}}},
        {"square turned on its corner", {0x1402, {{120, 90}, {120, 30}}}, {{{120, 90}, kBlue}, {{70, 40}, kWhite}, {{65, 90}, kBlue}}},
        {"pentagon", {0x1403, {{120, 90}, {120, 30}}}, {{{120, 90}, kBlue}, {{65, 35}, kWhite}}},
        {"hexagon", {0x1404, {{120, 90}, {120, 30}}}, {{{120, 90}, kBlue}, {{65, 35}, kWhite}, {{70, 90}, kBlue}}},
        {"octagon", {0x1405, {{120, 90}, {120, 30}}}, {{{120, 90}, kBlue}, {{70, 40}, kWhite}}},
        {"decagon", {0x1406, {{120, 90}, {120, 30}}}, {{{120, 90}, kBlue}, {{72, 42}, kWhite}}},
        {"five-pointed star: tip and notch", {0x1407, {{120, 90}, {120, 30}}}, {{{120, 32}, kAny}, {{120, 90}, kBlue}, {{91, 50}, kWhite}}},
        {"six-pointed star", {0x1408, {{120, 90}, {120, 30}}}, {{{120, 32}, kAny}, {{120, 90}, kBlue}, {{95, 47}, kWhite}}},
        {"eight-pointed star", {0x1409, {{120, 90}, {120, 30}}}, {{{120, 32}, kAny}, {{120, 90}, kBlue}, {{99, 39}, kWhite}}},
        {"ten-pointed star", {0x140A, {{120, 90}, {120, 30}}}, {{{120, 32}, kAny}, {{120, 90}, kBlue}, {{102, 36}, kWhite}}},
        {"star dragged under 10 pixels is not drawn", {0x1407, {{120, 90}, {124, 85}}}, {{{120, 90}, kWhite}, {{122, 87}, kWhite}}},
        {"free-cornered star while dragged", {0x140B, {{120, 90}, {120, 30}}}, {{{120, 32}, kAny}, {{120, 90}, kBlue}, {{91, 50}, kWhite}}},
        {"free-cornered star from its corners", {0x140C, CShapeObject::StarCorners({120, 90}, {120, 30}, 6)}, {{{120, 32}, kAny}, {{120, 90}, kBlue}, {{95, 47}, kWhite}}},
        {"free-cornered star with one corner pulled out", {0x140B, pulled}, {{{92, 47}, kAny}, {{120, 90}, kBlue}}},
        // ---- flow-chart symbols, box (20, 20)-(220, 160) ----
        {"predefined process: inner lines at w/10", {0x1501, kBox}, {{{120, 90}, kBlue}, {{40, 90}, kRed}, {{200, 90}, kRed}, {{30, 90}, kBlue}}},
        {"internal storage", {0x1502, kBox}, {{{120, 90}, kBlue}, {{60, 90}, kRed}, {{120, 48}, kRed}}},
        {"document: wavy bottom", {0x1503, kBox}, {{{120, 90}, kBlue}, {{210, 150}, kWhite}, {{30, 140}, kBlue}}},
        {"multiple documents", {0x1504, kBox}, {{{120, 90}, kBlue}, {{25, 25}, kWhite}, {{215, 135}, kWhite}}},
        {"multiple documents without fill hide each other", {0x1504, kBox, 2, 1}, {{{120, 90}, kWhite}, {{44, 90}, kWhite}, {{20, 90}, kRed}}},
        {"terminator: rounded ends", {0x1505, kBox}, {{{120, 90}, kBlue}, {{22, 22}, kWhite}, {{218, 158}, kWhite}, {{25, 90}, kBlue}}},
        {"preparation", {0x1506, kBox}, {{{120, 90}, kBlue}, {{25, 25}, kWhite}, {{215, 155}, kWhite}}},
        {"manual input: slanted top", {0x1507, kBox}, {{{120, 90}, kBlue}, {{25, 25}, kWhite}, {{215, 25}, kBlue}}},
        {"manual operation", {0x1508, kBox}, {{{120, 90}, kBlue}, {{30, 150}, kWhite}}},
        {"off-page connector", {0x1509, kBox}, {{{120, 90}, kBlue}, {{30, 155}, kWhite}, {{120, 155}, kBlue}}},
        {"card: the cut corner", {0x150A, kBox}, {{{120, 90}, kBlue}, {{25, 25}, kWhite}, {{215, 25}, kBlue}}},
        {"punched tape", {0x150B, kBox}, {{{120, 90}, kBlue}, {{25, 25}, kWhite}}},
        {"summing junction: the diagonal cross", {0x150C, kBox}, {{{120, 90}, kRed}, {{120, 50}, kBlue}, {{25, 25}, kWhite}, {{160, 118}, kRed}}},
        {"or: the upright cross", {0x150D, kBox}, {{{120, 50}, kRed}, {{80, 60}, kBlue}, {{25, 25}, kWhite}}},
        {"collate", {0x150E, kBox}, {{{120, 40}, kBlue}, {{40, 90}, kWhite}, {{120, 140}, kBlue}}},
        {"sort", {0x150F, kBox}, {{{120, 60}, kBlue}, {{30, 30}, kWhite}, {{120, 90}, kRed}}},
        {"extract", {0x1510, kBox}, {{{120, 120}, kBlue}, {{30, 30}, kWhite}}},
        {"merge", {0x1511, kBox}, {{{120, 40}, kBlue}, {{30, 150}, kWhite}}},
        {"stored data: concave right side", {0x1512, kBox}, {{{120, 90}, kBlue}, {{215, 90}, kWhite}, {{22, 22}, kWhite}, {{200, 25}, kBlue}}},
        {"delay: round right side", {0x1513, kBox}, {{{120, 90}, kBlue}, {{215, 25}, kWhite}, {{25, 25}, kBlue}}},
        {"sequential-access storage: the tail", {0x1514, kBox}, {{{120, 90}, kBlue}, {{25, 25}, kWhite}, {{210, 155}, kBlue}, {{215, 25}, kWhite}}},
        {"direct-access storage: the rim", {0x1515, kBox}, {{{120, 90}, kBlue}, {{22, 22}, kWhite}, {{170, 90}, kRed}, {{200, 90}, kBlue}}},
        {"display", {0x1516, kBox}, {{{120, 90}, kBlue}, {{25, 25}, kWhite}, {{215, 25}, kWhite}, {{25, 90}, kBlue}}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        testsupport::Canvas canvas(240, 180);
        DrawShape(canvas.dc, r.shape);
        for (const Probe& p : r.probes) {
            const plat::ColorRef got = canvas.At(p.at.x, p.at.y);
            if (p.color == kAny)
                EXPECT_NE(got, kWhite) << p.at.x << "," << p.at.y;
            else
                EXPECT_EQ(got, p.color) << p.at.x << "," << p.at.y;
        }
    }
}


#pragma GCC diagnostic pop

// The catalogue painted at the zoom on a white page.
std::unique_ptr<plat::Bitmap> CataloguePage(double zoom)
{
    const int w = static_cast<int>(shapetest::kCatalogueWidth * zoom);
    const int h = static_cast<int>(shapetest::CatalogueHeight() * zoom);
    auto bitmap = plat::Bitmap::Create(w, h);
    bitmap->Fill(kWhite);
    plat::MemoryDc dc;
    dc.Select(bitmap.get());
    int k = 0;
    for (const shapetest::CatalogueShape& c : shapetest::Catalogue()) {
        // The fill styles take turns so that every one shows somewhere.
        const auto fill = static_cast<std::uint8_t>(k++ % 8 + 1);
        DrawShape(dc, {c.code, c.points, 2, fill == 1 ? std::uint8_t(2) : fill}, zoom);
    }
    dc.Select(static_cast<plat::Bitmap*>(nullptr));
    return bitmap;
}

// How many pixels differ by more than a small amount in some channel.
int DifferingPixels(const plat::Bitmap& a, const plat::Bitmap& b)
{
    int differing = 0;
    for (int y = 0; y < a.Height(); ++y)
        for (int x = 0; x < a.Width(); ++x) {
            const plat::ColorRef p = a.GetPixel(x, y), q = b.GetPixel(x, y);
            for (int shift = 0; shift < 24; shift += 8) {
                if (std::abs(int((p >> shift) & 0xFF) - int((q >> shift) & 0xFF)) > 24) {
                    ++differing;
                    break;
                }
            }
        }
    return differing;
}

// The pictures were looked at once and committed; a change in any painter shows here.
// QUILN_WRITE_EXPECTED=1 writes them afresh.
TEST(ShapeFamilies, CataloguePicturesMatchTheExpectedOnesAtTwoZooms)
{
    const char* root = std::getenv("QUILN_FIXTURES");
    ASSERT_NE(root, nullptr);
    const struct {
        double zoom;
        const char* file;
    } rows[] = {{1.0, "shape_catalogue_100.png"}, {2.0, "shape_catalogue_200.png"}};
    for (const auto& r : rows) {
        SCOPED_TRACE(r.file);
        const std::filesystem::path path = std::filesystem::path(root) / "shapes" / r.file;
        const std::unique_ptr<plat::Bitmap> got = CataloguePage(r.zoom);
        if (std::getenv("QUILN_WRITE_EXPECTED")) {
            ASSERT_TRUE(got->SavePng(plat::Utf8ToUtf16(path.string())));
        }
        const std::unique_ptr<plat::Bitmap> want = plat::Bitmap::LoadPng(plat::Utf8ToUtf16(path.string()));
        ASSERT_NE(want, nullptr) << path;
        ASSERT_EQ(got->GetSize(), want->GetSize());
        EXPECT_LE(DifferingPixels(*got, *want), got->Width() * got->Height() / 100);
    }
}

TEST(ShapeFamilies, FillStylesAndLineStylesShow)
{
    // A predefined-process box (fillable, polygon outline) with each fill style: style 1
    // leaves the inside white, 2 fills it solid, 3-8 hatch it each in their own way.
    std::vector<std::vector<bool>> patterns;
    for (std::uint8_t fill = 1; fill <= 8; ++fill) {
        SCOPED_TRACE(int(fill));
        testsupport::Canvas canvas(120, 100);
        DrawShape(canvas.dc, {0x1507, {{10, 10}, {110, 90}}, 2, fill});
        std::vector<bool> blue;
        for (int y = 50; y < 80; ++y)
            for (int x = 40; x < 80; ++x) blue.push_back(canvas.At(x, y) == kBlue);
        const auto count = std::count(blue.begin(), blue.end(), true);
        if (fill == 1) {
            EXPECT_EQ(count, 0);
        } else if (fill == 2) {
            EXPECT_EQ(count, static_cast<long>(blue.size()));
        } else {
            EXPECT_GT(count, 0) << "a hatch shows";
        }
        for (const auto& other : patterns) EXPECT_NE(blue, other) << "each fill style looks different";
        patterns.push_back(blue);
    }
    // A rectangle with each line style: every style shows red on the outline; the dashed
    // and dotted ones (3-6) leave gaps along it; the wide ones (7-13) grow with the style.
    int lastWidth = 0;
    for (std::uint8_t line = 1; line <= 13; ++line) {
        SCOPED_TRACE(int(line));
        testsupport::Canvas canvas(140, 140);
        DrawShape(canvas.dc, {0x1201, {{20, 20}, {120, 120}}, line, 1});
        int red = 0, width = 0;
        for (int y = 30; y < 110; ++y) red += canvas.At(20, y) == kRed;
        for (int x = 0; x < 60; ++x) width += canvas.At(x, 70) == kRed;
        EXPECT_GT(red, 0);
        if (line >= 3 && line <= 6) {
            EXPECT_LT(red, 80) << "gaps in a dashed or dotted line";
        } else {
            EXPECT_EQ(red, 80);
        }
        if (line >= 7) {
            EXPECT_GT(width, lastWidth);
            lastWidth = width;
        } else {
            EXPECT_LE(width, 1) << "one pixel wide, or a gap in the dashes";
            lastWidth = 1;
        }
    }
}

// The properties of every code of the three families, written out from the code table
// range by range.
TEST(ShapeFamilies, PropertiesOfEveryCode)
{
    struct Row {
        std::uint16_t first, last;
        bool fillable, lineStyle, derived;
        int startEnd, endEnd, resizeMode;
        int handles; // handles shown with resize mode 3
    } rows[] = {
        {0x1201, 0x1201, true, true, false, 0, 0, 3, 0},
        {0x1202, 0x1203, true, true, true, 0, 0, 3, 1},
        {0x1204, 0x1205, true, true, false, 0, 0, 3, 0},
        {0x1206, 0x1206, true, true, false, 0, 0, 3, 1},
        {0x1207, 0x1208, false, true, true, 0, 0, 3, 1},
        {0x1209, 0x1209, true, true, false, 0, 0, 3, 0},
        {0x120A, 0x120C, true, true, true, 0, 0, 3, 1},
        {0x120D, 0x120D, true, true, false, 0, 0, 3, 1},
        {0x120E, 0x1210, true, true, true, 0, 0, 3, 1},
        {0x1211, 0x1211, true, false, true, 0, 0, 3, 1},
        {0x1212, 0x1212, true, true, true, 0, 0, 3, 1},
        {0x1213, 0x1213, false, true, false, 0, 0, 2, 0},
        {0x1214, 0x1214, false, true, false, 0, 0, 1, 0},
        {0x1215, 0x1215, false, true, false, 0, 0, 2, 0},
        {0x1216, 0x1216, false, true, false, 0, 0, 1, 0},
        {0x1217, 0x1217, false, true, false, 0, 0, 2, 0},
        {0x1218, 0x1218, false, true, false, 0, 0, 1, 0},
        {0x1219, 0x121B, false, true, true, 0, 0, 3, 0},
        {0x121C, 0x121C, true, true, false, 0, 0, 3, 1},
        {0x1301, 0x1302, false, true, false, 0, 0, 3, 0},
        {0x1303, 0x1304, true, true, false, 0, 0, 3, 0},
        {0x1305, 0x1314, true, true, true, 0, 0, 3, 0},
        {0x1315, 0x131E, true, true, false, 0, 0, 3, 0},
        {0x131F, 0x1320, false, true, false, 1, 4, 3, 0},
        {0x1401, 0x140A, true, true, false, 0, 0, 4, 0},
        {0x140B, 0x140E, true, true, true, 0, 0, 3, 3},
        {0x1501, 0x1516, true, true, false, 0, 0, 3, 0},
    };
    int seen = 0;
    for (const Row& r : rows)
        for (int code = r.first; code <= r.last; ++code, ++seen) {
            SCOPED_TRACE(code);
            CShapeObject s(nullptr, nullptr, static_cast<std::uint16_t>(code));
            EXPECT_EQ(s.GetCreateMode(), 2);
            EXPECT_EQ(s.IsFillable(), r.fillable);
            EXPECT_EQ(s.HasLineStyle(), r.lineStyle);
            EXPECT_EQ(s.HasDerivedPoints(), r.derived);
            EXPECT_EQ(s.m_startLineEnd, r.startEnd);
            EXPECT_EQ(s.m_endLineEnd, r.endEnd);
            s.SetResizeModeByCode();
            EXPECT_EQ(s.m_resizeMode, r.resizeMode);
            s.m_resizeMode = 3;
            s.m_bounds = plat::Rect(0, 0, 600, 600);
            s.m_width = s.m_height = 600;
            CPointList handles;
            s.GetHandles(handles);
            EXPECT_EQ(handles.GetCount(), r.handles);
        }
    EXPECT_EQ(seen, static_cast<int>(shapetest::FamilyCodes().size())) << "the table covers every code";
}

// Figures of no size: a zero width or height, coincident points, the curved arrows'
// ellipses collapsing. They draw at most the line they collapse to, never outside their
// box, and a shape drawn after them on the same DC comes out whole.
TEST(ShapeFamilies, FiguresOfNoSizeDrawSafelyAndSpoilNothingAfter)
{
    testsupport::Canvas reference(120, 100);
    DrawShape(reference.dc, {0x1212, {{20, 20}, {100, 80}}});
    const std::vector<std::vector<Point>> degenerate = {
        {{50, 50}, {50, 50}},           // a click
        {{50, 50}, {50, 50}, {50, 50}}, // a click with its adjust point
        {{30, 50}, {70, 50}},           // no height
        {{50, 30}, {50, 70}, {50, 40}}, // no width
        {{50, 50}, {52, 51}},           // a pixel or two
    };
    for (const std::uint16_t code : shapetest::FamilyCodes())
        for (const auto& points : degenerate) {
            SCOPED_TRACE(testing::Message() << std::hex << code << std::dec << " " << points.size() << " points at "
                                            << points[1].x << "," << points[1].y);
            testsupport::Canvas canvas(120, 100);
            // Modes other than the defaults, so that putting back is told from resetting.
            canvas.dc.SetArcDirection(plat::kClockwise);
            const int oldFill = canvas.dc.GetPolyFillMode(), oldArc = canvas.dc.GetArcDirection();
            DrawShape(canvas.dc, {code, points});
            EXPECT_EQ(canvas.dc.GetPolyFillMode(), oldFill);
            EXPECT_EQ(canvas.dc.GetArcDirection(), oldArc);
            EXPECT_FALSE(canvas.dc.StrokePath()) << "no path left open";
            // Nothing strays from the points further than the figure reaches about its first
            // point (the ring and polygons are centred there) and a few pixels more (the quad
            // arrow keeps its least 10 x 10, elbow connectors their arrowheads).
            const int reach = static_cast<int>(Distance(points[0].x, points[0].y, points[1].x, points[1].y)) + 12;
            const testsupport::Ink ink = testsupport::InkWhere(*canvas.bitmap, plat::Rect(0, 0, 120, 100),
                                                              [](plat::ColorRef c) { return c != kWhite; });
            if (ink.count > 0) {
                EXPECT_GE(ink.box.left, 30 - reach);
                EXPECT_GE(ink.box.top, 30 - reach);
                EXPECT_LE(ink.box.right, 70 + reach);
                EXPECT_LE(ink.box.bottom, 70 + reach);
            }
            // The concave-corner rectangle drawn afterwards, over a cleared page, is the
            // same as on a fresh DC.
            canvas.bitmap->Fill(kWhite);
            DrawShape(canvas.dc, {0x1212, {{20, 20}, {100, 80}}});
            EXPECT_EQ(DifferingPixels(*canvas.bitmap, *reference.bitmap), 0);
        }
}

} // namespace
