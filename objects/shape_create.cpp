// A new drawn shape from its creation gesture. A two-point shape gets at least a 10 x 10
// pixel extent and, for the codes with derived points, the control points its painter
// reads (an inset, a bevel, an arrow's proportions); a point-by-point shape keeps its
// clicks, as a chain of Bézier segments for the curves. The points go in as document
// pixels and the shape stores them in twips.
#include <cstdlib>
#include <vector>

#include "document/plane_geometry.h"
#include "objects/shape_object.h"

namespace {

constexpr int kLeastDrag = 10;  // pixels in each axis
constexpr int kClickSlop = 2;   // a current point this near the last click adds nothing
constexpr double kDegreesPerRadian = 57.29578;
constexpr double kRadiansPerDegree = 0.017453292222;
constexpr int kAngleStep = 15;

using Points = std::vector<plat::Point>;

// The two control points of a Bézier segment from a to b: two thirds and one third back
// along the segment, off to either side. Ends closer than 10 pixels count as 10 apart.
void AppendSegment(Points& out, plat::Point a, plat::Point b)
{
    if (std::abs(a.x - b.x) + std::abs(a.y - b.y) < kLeastDrag) b.x = a.x + kLeastDrag;
    const int d = static_cast<int>(Distance(a.x, a.y, b.x, b.y));
    out.push_back(a);
    out.push_back(OffsetPointOnLine(a.x, a.y, b.x, b.y, -2 * d / 3, d / 3));
    out.push_back(OffsetPointOnLine(a.x, a.y, b.x, b.y, -d / 3, -d / 3));
}

Points StarPoints(plat::Point p0, plat::Point p1, int n)
{
    if (std::abs(p0.x - p1.x) + std::abs(p0.y - p1.y) < kLeastDrag) p1.x = p0.x + kLeastDrag;
    const int r = static_cast<int>(Distance(p0.x, p0.y, p1.x, p1.y));
    const double a = LineAngle(p0.x, p0.y, p1.x, p1.y);
    const double step = kTwoPi / n;
    Points tips{p1};
    for (int k = 1; k < n; ++k) {
        double angle = a + k * step;
        if (angle > kTwoPi) angle -= kTwoPi;
        tips.emplace_back(p0.x + static_cast<int>(r * CosAngle(angle)), p0.y + static_cast<int>(r * SinAngle(angle)));
    }
    Points out;
    for (int i = 0; i < n; ++i) {
        const plat::Point t0 = tips[i], t2 = tips[(i + 2) % n], t1 = tips[(i + 1) % n], tm = tips[(i + n - 1) % n];
        out.push_back(t0);
        out.push_back(LineIntersection(t0.x, t0.y, t2.x, t2.y, t1.x, t1.y, tm.x, tm.y));
    }
    return out;
}

// The points of a two-point shape with derived points, from its first and second point.
Points DerivedPoints(std::uint16_t code, plat::Point p0, plat::Point p1)
{
    const int x0 = p0.x, y0 = p0.y, x1 = p1.x, y1 = p1.y;
    const int minx = std::min(x0, x1), maxx = std::max(x0, x1), miny = std::min(y0, y1), maxy = std::max(y0, y1);
    const int quarterInset = std::min((maxx - minx) / 4, (maxy - miny) / 4);
    switch (code) {
    case 0x1105: {
        Points out;
        AppendSegment(out, p0, p1);
        if (std::abs(x0 - x1) + std::abs(y0 - y1) < kLeastDrag) p1.x = x0 + kLeastDrag;
        out.push_back(p1);
        return out;
    }
    case 0x1202: {
        const int q = (x1 - x0) / 4;
        return {{x0 + q, y0}, {x0, y1}, {x1 - q, y1}};
    }
    case 0x1203: return {{x0 + (x1 - x0) / 4, y0}, {x0, y1}, {x1, y1}};
    case 0x1207: return {{minx, miny}, {maxx, maxy}, {minx, maxy}};
    case 0x1208: return {{maxx, miny}, {minx, maxy}, {maxx, maxy}};
    case 0x120A: return {p0, p1, {x0 + (x1 - x0) / 4, y0}};
    case 0x120B: case 0x120C: case 0x1212: case 0x120F: case 0x1210:
        return {{minx, miny}, {maxx, maxy}, {minx + quarterInset, miny}};
    case 0x120E: return {{minx, miny}, {maxx, maxy}, {(minx + maxx) / 2, miny + (maxy - miny) / 4}};
    case 0x1219: case 0x121A: case 0x121B: return {{minx, miny}, {maxx, maxy}, {minx + (maxx - minx) / 8, miny}};
    case 0x1305: case 0x130D: case 0x130F: case 0x1311: case 0x1313:
        return {p0, p1, {x1 - (x1 - x0) / 4, miny + (maxy - miny) / 4}};
    case 0x1306: case 0x130E: case 0x1310: case 0x1312: case 0x1314:
        return {p0, p1, {minx + (maxx - minx) / 4, y1 - (y1 - y0) / 4}};
    case 0x1307: case 0x1308: return {{minx, miny}, {maxx, maxy}, {minx + (maxx - minx) / 4, miny + (maxy - miny) / 4}};
    case 0x1309: case 0x130A: case 0x130B: case 0x130C: return {p0, p1};
    case 0x140B: return StarPoints(p0, p1, 5);
    case 0x140C: return StarPoints(p0, p1, 6);
    case 0x140D: return StarPoints(p0, p1, 8);
    case 0x140E: return StarPoints(p0, p1, 10);
    default: return {p0, p1, {(x0 + x1) / 2, (y0 + y1) / 2}};
    }
}

} // namespace

plat::Point CShapeObject::ConstrainCreationPoint(plat::Point anchor, plat::Point point) const
{
    if (m_shapeCode == 0x1101) {
        const int d = static_cast<int>(Distance(anchor.x, anchor.y, point.x, point.y));
        const int degrees = static_cast<int>(LineAngle(anchor.x, anchor.y, point.x, point.y) * kDegreesPerRadian + 7.5);
        const double angle = (degrees / kAngleStep * kAngleStep) * kRadiansPerDegree;
        return plat::Point(anchor.x + static_cast<int>(d * CosAngle(angle)),
                           anchor.y + static_cast<int>(d * SinAngle(angle)));
    }
    if (m_shapeCode == 0x1201 || m_shapeCode == 0x1209) {
        const int e = std::min(std::abs(anchor.x - point.x), std::abs(anchor.y - point.y));
        return plat::Point(anchor.x >= point.x ? anchor.x - e : anchor.x + e,
                           anchor.y >= point.y ? anchor.y - e : anchor.y + e);
    }
    return point;
}

bool CShapeObject::CompleteCreation(const CCreationGesture& gesture)
{
    Points work;
    for (int i = 0; i < gesture.points.GetCount(); ++i) work.push_back(gesture.points.GetPoint(i));
    const plat::Point last = gesture.lastClick;
    plat::Point current = gesture.current;
    switch (GetCreateMode()) {
    case 2:
        if (std::abs(last.x - current.x) < kLeastDrag && std::abs(last.y - current.y) < kLeastDrag) {
            current.x = last.x < current.x ? last.x + kLeastDrag : last.x - kLeastDrag;
            current.y = last.y < current.y ? last.y + kLeastDrag : last.y - kLeastDrag;
        }
        work.push_back(current);
        if (HasDerivedPoints() && work.size() >= 2) {
            const std::uint16_t code = m_shapeCode;
            work = DerivedPoints(code, work[0], work[1]);
            if (code == 0x1207 || code == 0x1208) m_shapeCode = 0x121C;
        }
        break;
    case 0: {
        const int clicked = static_cast<int>(work.size());
        if ((std::abs(current.x - last.x) > kClickSlop || std::abs(current.y - last.y) > kClickSlop) &&
            static_cast<int>(work.size()) < kMaxPoints)
            work.push_back(current);
        if (clicked < 2) return false;
        if (m_shapeCode == 0x1106 || m_shapeCode == 0x1108) {
            // The curves become chains of Bézier segments through the clicked points.
            const bool closed = m_shapeCode == 0x1108;
            m_shapeCode = closed ? 0x1109 : 0x1107;
            Points chain;
            for (std::size_t i = 0; i + 1 < work.size(); ++i) AppendSegment(chain, work[i], work[i + 1]);
            // The closed chain ends with the closing segment's control points (its painter
            // closes it on the first point); the open one with its last point.
            if (closed)
                AppendSegment(chain, work.back(), work.front());
            else
                chain.push_back(work.back());
            work = std::move(chain);
        }
        break;
    }
    default: work.push_back(current); break;
    }
    if (static_cast<int>(work.size()) > kMaxPoints) work.resize(kMaxPoints);
    CPointList pixels;
    for (const plat::Point& p : work) pixels.AddPoint(p.x, p.y);
    SetPointsFromPixels(pixels);
    SetResizeModeByCode();
    return true;
}
