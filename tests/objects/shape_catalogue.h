// The catalogue of the basic shapes, block arrows, polygons, stars and flow-chart symbols:
// every code at a normal, a narrow and a very small size and in its two-point form (the
// rubber band of creation), laid out in a grid. The points are pixels at zoom 1.0; a
// shape's points in twips are those times 15.
#pragma once
#include <cstdint>
#include <vector>

#include "objects/shape_object.h"
#include "platform/base/geometry.h"

namespace shapetest {

enum class Form { kNormal, kNarrow, kSmall, kTwoPoints };

struct CatalogueShape {
    std::uint16_t code;
    Form form;
    std::vector<plat::Point> points; // pixels at zoom 1.0
};

// Every code of the three families, in order.
inline std::vector<std::uint16_t> FamilyCodes()
{
    std::vector<std::uint16_t> codes;
    for (int c = 0x1201; c <= 0x121C; ++c) codes.push_back(static_cast<std::uint16_t>(c));
    for (int c = 0x1301; c <= 0x1320; ++c) codes.push_back(static_cast<std::uint16_t>(c));
    for (int c = 0x1401; c <= 0x140E; ++c) codes.push_back(static_cast<std::uint16_t>(c));
    for (int c = 0x1501; c <= 0x1516; ++c) codes.push_back(static_cast<std::uint16_t>(c));
    return codes;
}

inline int StarTips(std::uint16_t code)
{
    static constexpr int kTips[] = {5, 6, 8, 10};
    return kTips[(code - 0x140B) % 4];
}

// The press and release of a drag over the box: corner to corner, or from the centre for
// the ring, polygons and stars, along the middle for the arrows along the drag line.
inline std::vector<plat::Point> DragPoints(std::uint16_t code, const plat::Rect& r)
{
    const int L = r.left, T = r.top, R = r.right, B = r.bottom;
    const int mx = (L + R) / 2, my = (T + B) / 2, radius = std::min(R - L, B - T) / 2;
    if (code == 0x1211) return {{mx, my}, {mx + radius, my}};
    if (code >= 0x1401 && code <= 0x140E) return {{mx, my}, {mx, my - radius}};
    if (code == 0x1206) return {{mx, T}, {R, B}};
    if (code == 0x121C) return {{L, B}, {R, B}};
    if (code >= 0x1301 && code <= 0x1304) return {{L, my}, {R, my}};
    return {{L, T}, {R, B}};
}

// The points a finished shape in the box keeps: the drag's two, and the adjust point or
// the stored corners where the code has them.
inline std::vector<plat::Point> PointsInBox(std::uint16_t code, const plat::Rect& r, bool twoPoints)
{
    std::vector<plat::Point> p = DragPoints(code, r);
    if (twoPoints) return p;
    const int L = r.left, T = r.top, R = r.right, B = r.bottom, w = R - L, h = B - T;
    switch (code) {
    case 0x1202:
    case 0x1203:
        // The two left corners and the bottom-right one (a quarter inset): the same figure
        // as the two-point form.
        return {{L + w / 4, T}, {L, B}, {code == 0x1202 ? R - w / 4 : R, B}};
    case 0x1211: p.emplace_back((p[0].x * 2 + p[1].x) / 3, p[0].y); return p;
    case 0x121C: p.emplace_back((L + R) / 2, T); return p;
    case 0x140B: case 0x140C: case 0x140D: case 0x140E: return CShapeObject::StarCorners(p[0], p[1], StarTips(code));
    case 0x1306: case 0x130E: case 0x1310: case 0x1312: case 0x1314: p.emplace_back(L + w / 4, T + 2 * h / 3); return p;
    case 0x1305: case 0x130D: case 0x130F: case 0x1311: case 0x1313: p.emplace_back(L + 2 * w / 3, T + h / 4); return p;
    case 0x1307: p.emplace_back(L + w / 5, T + h / 4); return p;
    case 0x1308: p.emplace_back(L + w / 4, T + h / 5); return p;
    default:
        if (CShapeObject::HasDerivedPointsCode(code)) p.emplace_back(L + w / 5, T + h / 5);
        return p;
    }
}

// Grid of the catalogue: four codes a row (it fits an A4 page at 96 dpi), each with its four forms side by side.
constexpr int kCellWidth = 44, kCellHeight = 34, kCodesPerRow = 4, kCodeGap = 8;
constexpr int kCatalogueWidth = kCodesPerRow * (4 * kCellWidth + kCodeGap);

inline std::vector<CatalogueShape> Catalogue()
{
    std::vector<CatalogueShape> out;
    const std::vector<std::uint16_t> codes = FamilyCodes();
    for (std::size_t i = 0; i < codes.size(); ++i) {
        const int x = static_cast<int>(i % kCodesPerRow) * (4 * kCellWidth + kCodeGap) + 4;
        const int y = static_cast<int>(i / kCodesPerRow) * kCellHeight + 4;
        const struct {
            Form form;
            plat::Rect box;
        } forms[] = {
            {Form::kNormal, {x, y, x + 36, y + 26}},
            {Form::kNarrow, {x + kCellWidth, y + 9, x + kCellWidth + 36, y + 17}},
            {Form::kSmall, {x + 2 * kCellWidth + 16, y + 12, x + 2 * kCellWidth + 20, y + 15}},
            {Form::kTwoPoints, {x + 3 * kCellWidth, y, x + 3 * kCellWidth + 36, y + 26}},
        };
        for (const auto& f : forms)
            out.push_back({codes[i], f.form, PointsInBox(codes[i], f.box, f.form == Form::kTwoPoints)});
    }
    return out;
}

inline int CatalogueHeight()
{
    const int rows = static_cast<int>((FamilyCodes().size() + kCodesPerRow - 1) / kCodesPerRow);
    return rows * kCellHeight + 8;
}

} // namespace shapetest
