// The block arrows (0x1301-0x1320): arrows along the drag line, block arrows in a box with
// an optional adjust point, striped, notched, pentagon and chevron arrows, three-way and
// bent arrows, arrow callouts, quad arrows, curved arrows and two elbow connectors. The
// points are kept as dragged, so the arrows point from the press toward the release.
#include "document/plane_geometry.h"
#include "document/render_context.h"
#include "document/units.h"
#include "objects/shape_geometry.h"
#include "objects/shape_object.h"

using shapepaint::ArcToOrLine;
using shapepaint::Box;
using shapepaint::FilledPath;
using plat::Point;

namespace {

constexpr int kSolidLineKind = 2;

// The arc direction of a curved arrow's outer arc; the inner arc runs the other way.
int OuterArcDirection(std::uint16_t code, int x0, int y0, int x1, int y1)
{
    bool clockwise;
    if (code == 0x131B)
        clockwise = (y0 < y1 && x0 >= x1) || (y0 >= y1 && x0 < x1);
    else
        clockwise = (y0 < y1 && x0 < x1) || (y0 >= y1 && x0 >= x1);
    return clockwise ? plat::kClockwise : plat::kCounterClockwise;
}

int Other(int direction)
{
    return direction == plat::kClockwise ? plat::kCounterClockwise : plat::kClockwise;
}

} // namespace

void CShapeObject::PaintArrows(plat::Dc& dc, double zoom, const CPointList& list, CRenderContext& rc)
{
    const std::vector<Point> p = shapepaint::PointsOf(list);
    if (p.size() < 2) return;
    const bool three = p.size() >= 3;
    const Point p0 = p[0], p1 = p[1], c = three ? p[2] : Point(0, 0);
    const int x0 = p0.x, y0 = p0.y, x1 = p1.x, y1 = p1.y;
    const Box box(p0, p1);
    int L = box.L, T = box.T, R = box.R, B = box.B;
    int w = box.w, h = box.h, mx = box.mx, my = box.my;

    auto polygonOf = [&](std::span<const Point> points, int lineKind) {
        FillPolygonArray(dc, zoom, lineKind, m_lineColor, m_fillStyle, m_fillColor, points, rc);
    };
    auto polygon = [&](std::initializer_list<Point> points) {
        polygonOf(std::span<const Point>(points.begin(), points.size()), m_lineStyle);
    };
    rc.SetLinePen(dc, zoom, m_lineStyle, m_lineColor);

    switch (m_shapeCode) {
    case 0x1301:
    case 0x1302:
    case 0x1303:
    case 0x1304: {
        // In the frame of the drag line: along it from p0, across it to the right of travel.
        const int d = static_cast<int>(Distance(x0, y0, x1, y1));
        if (d == 0) break;
        const int u = Px96ToPixels(dc, zoom, m_shapeCode <= 0x1302 ? 2 : 3);
        auto at = [&](int a, int b) { return OffsetPointOnLine(x0, y0, x1, y1, a - d, b); };
        auto run = [&](std::initializer_list<Point> points) {
            dc.Polyline(std::span<const Point>(points.begin(), points.size()));
        };
        if (m_shapeCode <= 0x1302) rc.SetLinePen(dc, zoom, kSolidLineKind, m_lineColor);
        if (m_shapeCode == 0x1301) {
            run({at(0, -u), at(d, -u), at(d - 6 * u, -3 * u)});
            run({at(6 * u, 3 * u), at(0, u), at(d, u)});
        } else if (m_shapeCode == 0x1302) {
            run({at(6 * u, -3 * u), at(0, -u), at(d, -u)});
            run({at(d - 6 * u, 3 * u), at(d, u), at(0, u)});
        } else if (m_shapeCode == 0x1303) {
            const Point pts[] = {at(d, 0),  at(d - 6 * u, -3 * u), at(d - 6 * u, -u), at(0, -u),
                                 at(0, u), at(d - 6 * u, u),      at(d - 6 * u, 3 * u)};
            polygonOf(pts, kSolidLineKind);
        } else {
            const Point pts[] = {at(d, 0),         at(d - 6 * u, -3 * u), at(d - 6 * u, -u), at(6 * u, -u),
                                 at(6 * u, -3 * u), at(0, 0),             at(6 * u, 3 * u),  at(6 * u, u),
                                 at(d - 6 * u, u),  at(d - 6 * u, 3 * u)};
            polygonOf(pts, kSolidLineKind);
        }
        break;
    }
    case 0x1305:
    case 0x130D:
    case 0x130F: {
        const int s = three ? std::min(my, std::max(c.y, T)) - T : h / 4;
        int k = three ? x1 - std::min(R, std::max(c.x, L)) : (x1 - x0) / 4;
        if (m_shapeCode == 0x1305) {
            polygon({{x1, my}, {x1 - k, T}, {x1 - k, T + s}, {x0, T + s}, {x0, B - s}, {x1 - k, B - s}, {x1 - k, B}});
        } else if (m_shapeCode == 0x130F) {
            const int half = h / 2;
            const int n = half == 0 ? 0 : (half - s) * k / half;
            polygon({{x1, my}, {x1 - k, T}, {x1 - k, T + s}, {x0, T + s}, {x0 + n, my}, {x0, B - s}, {x1 - k, B - s},
                     {x1 - k, B}});
        } else {
            const int e = (x1 - x0) / 30;
            if (three) {
                // The head stays on p1's side of the stripes, whichever way the arrow points.
                const int stripes = x0 + 5 * e;
                k = x1 - std::clamp(c.x, std::min(stripes, x1), std::max(stripes, x1));
            }
            polygon({{x1, my}, {x1 - k, T}, {x1 - k, T + s}, {x0 + 5 * e, T + s}, {x0 + 5 * e, B - s}, {x1 - k, B - s},
                     {x1 - k, B}});
            polygon({{x0, T + s}, {x0, B - s}, {x0 + e, B - s}, {x0 + e, T + s}});
            polygon({{x0 + 2 * e, T + s}, {x0 + 2 * e, B - s}, {x0 + 4 * e, B - s}, {x0 + 4 * e, T + s}});
        }
        break;
    }
    case 0x1306:
    case 0x130E:
    case 0x1310: {
        const int s = three ? std::min(mx, std::max(c.x, L)) - L : w / 4;
        int k = three ? y1 - std::min(B, std::max(c.y, T)) : (y1 - y0) / 4;
        if (m_shapeCode == 0x1306) {
            polygon({{mx, y1}, {L, y1 - k}, {L + s, y1 - k}, {L + s, y0}, {R - s, y0}, {R - s, y1 - k}, {R, y1 - k}});
        } else if (m_shapeCode == 0x1310) {
            const int half = w / 2;
            const int n = half == 0 ? 0 : (half - s) * k / half;
            polygon({{mx, y1}, {L, y1 - k}, {L + s, y1 - k}, {L + s, y0}, {mx, y0 + n}, {R - s, y0}, {R - s, y1 - k},
                     {R, y1 - k}});
        } else {
            const int e = (y1 - y0) / 30;
            if (three) {
                const int stripes = y0 + 5 * e;
                k = y1 - std::clamp(c.y, std::min(stripes, y1), std::max(stripes, y1));
            }
            polygon({{mx, y1}, {L, y1 - k}, {L + s, y1 - k}, {L + s, y0 + 5 * e}, {R - s, y0 + 5 * e}, {R - s, y1 - k},
                     {R, y1 - k}});
            polygon({{L + s, y0}, {R - s, y0}, {R - s, y0 + e}, {L + s, y0 + e}});
            polygon({{L + s, y0 + 2 * e}, {R - s, y0 + 2 * e}, {R - s, y0 + 4 * e}, {L + s, y0 + 4 * e}});
        }
        break;
    }
    case 0x1307: {
        const int s = three ? std::min(my, std::max(c.y, T)) - T : h / 4;
        const int k = three ? std::min(mx, std::max(c.x, L)) - L : w / 4;
        polygon({{L, my}, {L + k, B}, {L + k, B - s}, {R - k, B - s}, {R - k, B}, {R, my}, {R - k, T}, {R - k, T + s},
                 {L + k, T + s}, {L + k, T}});
        break;
    }
    case 0x1308: {
        const int s = three ? std::min(mx, std::max(c.x, L)) - L : w / 4;
        const int k = three ? std::min(my, std::max(c.y, T)) - T : h / 4;
        polygon({{mx, T}, {L, T + k}, {L + s, T + k}, {L + s, B - k}, {L, B - k}, {mx, B}, {R, B - k}, {R - s, B - k},
                 {R - s, T + k}, {R, T + k}});
        break;
    }
    case 0x1311:
    case 0x1313: {
        const int k = three ? x1 - std::min(R, std::max(c.x, L)) : (x1 - x0) / 4;
        if (m_shapeCode == 0x1311)
            polygon({{x1, my}, {x1 - k, T}, {x0, T}, {x0, B}, {x1 - k, B}});
        else
            polygon({{x1, my}, {x1 - k, T}, {x0, T}, {x0 + k, my}, {x0, B}, {x1 - k, B}});
        break;
    }
    case 0x1312:
    case 0x1314: {
        const int k = three ? y1 - std::min(B, std::max(c.y, T)) : (y1 - y0) / 4;
        if (m_shapeCode == 0x1312)
            polygon({{mx, y1}, {L, y1 - k}, {L, y0}, {R, y0}, {R, y1 - k}});
        else
            polygon({{mx, y1}, {L, y1 - k}, {L, y0}, {mx, y0 + k}, {R, y0}, {R, y1 - k}});
        break;
    }
    case 0x1309: {
        const int g = (x1 - x0) / 4, e = (x1 - x0) / 12;
        polygon({{x1, my}, {x1 - g, my - h / 5}, {x1 - g, my - h / 10}, {x0 + g + e, my - h / 10},
                 {x0 + g + e, T + h / 6}, {x0 + 2 * g, T + h / 6}, {x0 + g, T}, {x0, T + h / 6}, {x0 + g - e, T + h / 6},
                 {x0 + g - e, B - h / 6}, {x0, B - h / 6}, {x0 + g, B}, {x0 + 2 * g, B - h / 6}, {x0 + g + e, B - h / 6},
                 {x0 + g + e, my + h / 10}, {x1 - g, my + h / 10}, {x1 - g, my + h / 5}});
        break;
    }
    case 0x130A: {
        const int g = (y1 - y0) / 4, e = (y1 - y0) / 12;
        polygon({{mx, y1}, {mx + w / 5, y1 - g}, {mx + w / 10, y1 - g}, {mx + w / 10, y0 + g + e},
                 {R - w / 6, y0 + g + e}, {R - w / 6, y0 + 2 * g}, {R, y0 + g}, {R - w / 6, y0}, {R - w / 6, y0 + g - e},
                 {L + w / 6, y0 + g - e}, {L + w / 6, y0}, {L, y0 + g}, {L + w / 6, y0 + 2 * g}, {L + w / 6, y0 + g + e},
                 {mx - w / 10, y0 + g + e}, {mx - w / 10, y1 - g}, {mx - w / 5, y1 - g}});
        break;
    }
    case 0x130B:
    case 0x130C: {
        const int a = (x1 - x0) / 4, b = (y1 - y0) / 4, e = (x1 - x0) / 8, f = (y1 - y0) / 8;
        if (m_shapeCode == 0x130B)
            polygon({{x0 + a, y0}, {x0, y0 + b}, {x0 + a - e, y0 + b}, {x0 + a - e, y1 - b + f}, {x1 - a, y1 - b + f},
                     {x1 - a, y1}, {x1, y1 - b}, {x1 - a, y1 - 2 * b}, {x1 - a, y1 - b - f}, {x0 + a + e, y1 - b - f},
                     {x0 + a + e, y0 + b}, {x0 + 2 * a, y0 + b}});
        else
            polygon({{x0, y0}, {x0, y1 - b + f}, {x1 - a, y1 - b + f}, {x1 - a, y1}, {x1, y1 - b}, {x1 - a, y1 - 2 * b},
                     {x1 - a, y1 - b - f}, {x0 + a, y1 - b - f}, {x0 + a, y0}});
        break;
    }
    case 0x1315: {
        const int a = (x1 - x0) / 6, b = (x1 - x0) / 3;
        polygon({{x1, my}, {x1 - a, my - h / 5}, {x1 - a, my - h / 10}, {x1 - b, my - h / 10}, {x1 - b, T}, {x0, T},
                 {x0, B}, {x1 - b, B}, {x1 - b, my + h / 10}, {x1 - a, my + h / 10}, {x1 - a, my + h / 5}});
        break;
    }
    case 0x1316: {
        const int a = (y1 - y0) / 6, b = (y1 - y0) / 3;
        polygon({{mx, y1}, {mx + w / 5, y1 - a}, {mx + w / 10, y1 - a}, {mx + w / 10, y1 - b}, {R, y1 - b}, {R, y0},
                 {L, y0}, {L, y1 - b}, {mx - w / 10, y1 - b}, {mx - w / 10, y1 - a}, {mx - w / 5, y1 - a}});
        break;
    }
    case 0x1317: {
        const int a = (x1 - x0) / 8, b = (x1 - x0) / 4;
        polygon({{L, my}, {L + a, my + h / 5}, {L + a, my + h / 10}, {L + b, my + h / 10}, {L + b, B}, {R - b, B},
                 {R - b, my + h / 10}, {R - a, my + h / 10}, {R - a, my + h / 5}, {R, my}, {R - a, my - h / 5},
                 {R - a, my - h / 10}, {R - b, my - h / 10}, {R - b, T}, {L + b, T}, {L + b, my - h / 10},
                 {L + a, my - h / 10}, {L + a, my - h / 5}});
        break;
    }
    case 0x1318: {
        const int a = (y1 - y0) / 8, b = (y1 - y0) / 4;
        polygon({{mx, T}, {mx - w / 5, T + a}, {mx - w / 10, T + a}, {mx - w / 10, T + b}, {L, T + b}, {L, B - b},
                 {mx - w / 10, B - b}, {mx - w / 10, B - a}, {mx - w / 5, B - a}, {mx, B}, {mx + w / 5, B - a},
                 {mx + w / 10, B - a}, {mx + w / 10, B - b}, {R, B - b}, {R, T + b}, {mx + w / 10, T + b},
                 {mx + w / 10, T + a}, {mx + w / 5, T + a}});
        break;
    }
    case 0x1319: {
        // Never smaller than 10 x 10, which also keeps the divisions below defined.
        if (w < 10) R = L + 10;
        if (h < 10) B = T + 10;
        w = R - L;
        h = B - T;
        mx = (L + R) / 2;
        my = (T + B) / 2;
        const int e = w / 10, f = h / 6, g = h * e / w, k = w * f / h;
        polygon({{mx, T}, {mx - 2 * e, T + f}, {mx - e, T + f}, {mx - e, my - g}, {L + k, my - g}, {L + k, my - 2 * g},
                 {L, my}, {L + k, my + 2 * g}, {L + k, my + g}, {mx - e, my + g}, {mx - e, B - f}, {mx - 2 * e, B - f},
                 {mx, B}, {mx + 2 * e, B - f}, {mx + e, B - f}, {mx + e, my + g}, {R - k, my + g}, {R - k, my + 2 * g},
                 {R, my}, {R - k, my - 2 * g}, {R - k, my - g}, {mx + e, my - g}, {mx + e, T + f}, {mx + 2 * e, T + f}});
        break;
    }
    case 0x131A: {
        const int a = w / 8, e = w / 16, b = h / 8, f = h / 16;
        polygon({{mx, T},           {mx - a, T + b},     {mx - e, T + b},     {mx - e, T + 2 * b}, {L + 2 * a, T + 2 * b},
                 {L + 2 * a, my - f}, {L + a, my - f},     {L + a, my - b},     {L, my},             {L + a, my + b},
                 {L + a, my + f},     {L + 2 * a, my + f}, {L + 2 * a, B - 2 * b}, {mx - e, B - 2 * b}, {mx - e, B - b},
                 {mx - a, B - b},     {mx, B},             {mx + a, B - b},     {mx + e, B - b},     {mx + e, B - 2 * b},
                 {R - 2 * a, B - 2 * b}, {R - 2 * a, my + f}, {R - a, my + f},   {R - a, my + b},     {R, my},
                 {R - a, my - b},     {R - a, my - f},     {R - 2 * a, my - f}, {R - 2 * a, T + 2 * b}, {mx + e, T + 2 * b},
                 {mx + e, T + b},     {mx + a, T + b}});
        break;
    }
    case 0x131B:
    case 0x131C:
    case 0x131D:
    case 0x131E: {
        const int outer = OuterArcDirection(m_shapeCode, x0, y0, x1, y1);
        rc.SetBrush(dc, m_fillStyle >= 1 && m_fillStyle <= 8 ? m_fillStyle : 1, m_fillColor);
        FilledPath path(dc, outer);
        auto lines = [&](std::initializer_list<Point> points) {
            for (const Point& q : points) dc.LineTo(q.x, q.y);
        };
        if (m_shapeCode == 0x131B) {
            const int a = (x1 - x0) / 4, b = (y1 - y0) / 4, f = (y1 - y0) / 8;
            dc.MoveTo(x0, y0);
            dc.LineTo(x0, y1 - 2 * b);
            ArcToOrLine(dc, x0, 2 * (y1 - 2 * b) - (y1 - b + f), 2 * (x1 - a) - x0, y1 - b + f, {x0, y1 - 2 * b},
                        {x1 - a, y1 - b + f});
            lines({{x1 - a, y1}, {x1, y1 - b}, {x1 - a, y1 - 2 * b}, {x1 - a, y1 - b - f}});
            path.SetArcDirection(Other(outer));
            ArcToOrLine(dc, x0 + a, 2 * (y1 - 2 * b) - (y1 - b - f), 2 * (x1 - a) - x0 - a, y1 - b - f,
                        {x1 - a, y1 - b - f}, {x0 + a, y1 - 2 * b});
            dc.LineTo(x0 + a, y0);
        } else if (m_shapeCode == 0x131C) {
            const int d = y1 - y0, a = (x1 - x0) / 4, e = (x1 - x0) / 8, q = x0 + 3 * (x1 - x0) / 4;
            const int m1 = y0 + d / 3, m2 = y0 + 2 * d / 3, m3 = y0 + d / 5;
            dc.MoveTo(x0, y1);
            dc.LineTo(x0, m1);
            ArcToOrLine(dc, x0, y0, q + e, 2 * m1 - y0, {x0, m1}, {q + e, m1});
            lines({{q + a, m1}, {q, m2}, {q - a, m1}, {q - e, m1}});
            path.SetArcDirection(Other(outer));
            ArcToOrLine(dc, x0 + a, m3, q - e, 2 * m1 - m3, {q - e, m1}, {x0 + a, m1});
            lines({{x0 + a, m1}, {x0 + a, y1}});
        } else if (m_shapeCode == 0x131D) {
            const int a = (x1 - x0) / 4, b = (y1 - y0) / 4, e = (x1 - x0) / 8;
            const int r = x1 - 2 * a, g = x1 - e - a, j = y1 - b;
            dc.MoveTo(x0, y0);
            lines({{x0, y0 + b}, {r, y0 + b}});
            ArcToOrLine(dc, 2 * r - g, y0 + b, g, 2 * j - (y0 + b), {r, y0 + b}, {g, j});
            lines({{r, j}, {x1 - a, y1}, {x1, j}, {x1 - a + e, j}});
            path.SetArcDirection(Other(outer));
            ArcToOrLine(dc, 2 * r - (x1 - a + e), y0, x1 - a + e, 2 * j - y0, {x1 - a + e, j}, {r, y0});
            lines({{r, y0}, {x0, y0}});
        } else {
            const int b = (y1 - y0) / 4, t = x0 + (x1 - x0) / 3, n = x0 + (x1 - x0) / 5;
            const Point tip(x0 + 2 * (x1 - x0) / 3, y0 + b);
            dc.MoveTo(x1, y1);
            dc.LineTo(t, y1);
            ArcToOrLine(dc, x0, y0 + b - b / 2, 2 * t - x0, y1, {t, y1}, {t, y0 + b - b / 2});
            lines({{t, y0}, tip, {t, y0 + 2 * b}, {t, y0 + b + b / 2}});
            path.SetArcDirection(Other(outer));
            ArcToOrLine(dc, n, y0 + b + b / 2, 2 * t - n, y1 - b, {t, y0 + b + b / 2}, {t, y1 - b});
            lines({{t, y1 - b}, {x1, y1 - b}});
        }
        path.Finish();
        break;
    }
    case 0x131F:
    case 0x1320: {
        const Point v[] = {m_shapeCode == 0x131F ? Point(x0, y1) : Point(x1, y0), p0,
                           m_shapeCode == 0x131F ? Point(x1, y0) : Point(x0, y1), p1};
        dc.Polyline(v);
        const int pen = std::max(1, rc.GetPenWidth());
        DrawStartDecoration(dc, zoom, v[0], v[1], m_startLineEnd, m_lineColor, pen + StartDecorationExtra(), rc);
        DrawEndDecoration(dc, zoom, v[2], v[3], m_endLineEnd, m_lineColor, pen + EndDecorationExtra(), rc);
        break;
    }
    default: break;
    }
}
