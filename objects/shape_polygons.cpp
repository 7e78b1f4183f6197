// Regular polygons and stars (0x1401-0x140E). The polygons and the stars 0x1407-0x140A
// are kept as their centre and one vertex or tip; the stars 0x140B-0x140E store every
// corner once created and draw from two points only while they are being dragged.
#include <cstdlib>

#include "document/plane_geometry.h"
#include "objects/shape_geometry.h"
#include "objects/shape_object.h"

using plat::Point;

namespace {

// A star dragged shorter than this (|dx| + |dy|, pixels) is not drawn.
constexpr int kLeastStarDrag = 10;

int SidesOf(std::uint16_t code)
{
    static constexpr int kPolygonSides[] = {3, 4, 5, 6, 8, 10};
    static constexpr int kStarTips[] = {5, 6, 8, 10};
    if (code >= 0x1401 && code <= 0x1406) return kPolygonSides[code - 0x1401];
    if (code >= 0x1407 && code <= 0x140A) return kStarTips[code - 0x1407];
    if (code >= 0x140B && code <= 0x140E) return kStarTips[code - 0x140B];
    return 0;
}

} // namespace

std::vector<Point> CShapeObject::RegularVertices(Point centre, Point first, int n)
{
    std::vector<Point> v{first};
    const int r = static_cast<int>(Distance(centre.x, centre.y, first.x, first.y));
    const double a = LineAngle(centre.x, centre.y, first.x, first.y);
    const double step = kTwoPi / n;
    for (int k = 1; k < n; ++k) {
        double angle = a + k * step;
        if (angle > kTwoPi) angle -= kTwoPi;
        v.emplace_back(centre.x + static_cast<int>(r * CosAngle(angle)), centre.y + static_cast<int>(r * SinAngle(angle)));
    }
    return v;
}

std::vector<Point> CShapeObject::StarCorners(Point centre, Point tip, int n)
{
    const std::vector<Point> t = RegularVertices(centre, tip, n);
    std::vector<Point> out;
    out.reserve(2 * static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) {
        const Point a = t[i], b = t[(i + 2) % n], c = t[(i + 1) % n], d = t[(i + n - 1) % n];
        out.push_back(a);
        out.push_back(LineIntersection(a.x, a.y, b.x, b.y, c.x, c.y, d.x, d.y));
    }
    return out;
}

void CShapeObject::PaintPolygons(plat::Dc& dc, double zoom, const CPointList& list, CRenderContext& rc)
{
    const int n = SidesOf(m_shapeCode);
    if (n == 0 || list.GetCount() < 2) return;
    const Point p0 = list.GetPoint(0), p1 = list.GetPoint(1);
    const bool star = m_shapeCode >= 0x1407;
    if (m_shapeCode >= 0x140B && list.GetCount() > 2) {
        FillPolygonList(dc, zoom, m_lineStyle, m_lineColor, m_fillStyle, m_fillColor, list, rc);
        return;
    }
    if (star && std::abs(p0.x - p1.x) + std::abs(p0.y - p1.y) < kLeastStarDrag) return;
    if (p0 == p1) return; // a polygon of no size
    const std::vector<Point> v = star ? StarCorners(p0, p1, n) : RegularVertices(p0, p1, n);
    FillPolygonArray(dc, zoom, m_lineStyle, m_lineColor, m_fillStyle, m_fillColor, v, rc);
}
