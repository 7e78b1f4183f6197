// The basic shapes (0x1201-0x121C): rectangles, polygons, triangles, ellipses, the cylinder,
// cube, bevel and ring, the rectangle with concave corners, brackets and braces. Members
// with an adjust point also draw from two points (the rubber band) with their default
// inset; a figure of no size draws what it collapses to and leaves the DC as it found it.
#include <cmath>

#include "document/color_math.h"
#include "document/plane_geometry.h"
#include "document/render_context.h"
#include "objects/shape_geometry.h"
#include "objects/shape_object.h"

using shapepaint::ArcToOrLine;
using shapepaint::Box;
using shapepaint::FilledPath;
using shapepaint::LineThrough;
using plat::Point;

namespace {

constexpr double kSqrt3 = 1.7320508;

// The colour the shaded faces of the cube and bevel darken: white without a fill.
plat::ColorRef ShadeBase(const CRenderContext& rc, int fillStyle, std::int32_t fillColor)
{
    return fillStyle == 1 ? plat::ColorRef(0xFFFFFF) : CColorRef(rc.GetDoc()).Resolve(fillColor);
}

void Bezier(plat::Dc& dc, Point c1, Point c2, Point end)
{
    const Point p[] = {c1, c2, end};
    dc.PolyBezierTo(p);
}

} // namespace

void CShapeObject::PaintBasic(plat::Dc& dc, double zoom, const CPointList& list, CRenderContext& rc)
{
    const std::vector<Point> p = shapepaint::PointsOf(list);
    if (p.size() < 2) return;
    const bool three = p.size() >= 3;
    const Point p0 = p[0], p1 = p[1], c = three ? p[2] : Point(0, 0);
    const int x0 = p0.x, y0 = p0.y, x1 = p1.x, y1 = p1.y;
    const Box b(p0, p1);
    const int L = b.L, T = b.T, R = b.R, B = b.B, w = b.w, h = b.h, mx = b.mx, my = b.my;

    rc.SetLinePen(dc, zoom, m_lineStyle, m_lineColor);
    auto polygon = [&](std::initializer_list<Point> points) {
        FillPolygonArray(dc, zoom, m_lineStyle, m_lineColor, m_fillStyle, m_fillColor,
                         std::span<const Point>(points.begin(), points.size()), rc);
    };
    auto shaded = [&](double factor, std::initializer_list<Point> points) {
        const plat::ColorRef shade = AdjustLightness(ShadeBase(rc, m_fillStyle, m_fillColor), factor);
        FillPolygonArray(dc, zoom, m_lineStyle, m_lineColor, 2, static_cast<std::int32_t>(shade),
                         std::span<const Point>(points.begin(), points.size()), rc);
    };
    auto useBrush = [&] { rc.SetBrush(dc, m_fillStyle >= 1 && m_fillStyle <= 8 ? m_fillStyle : 1, m_fillColor); };

    switch (m_shapeCode) {
    case 0x1201:
        useBrush();
        dc.Rectangle(L, T, R, B);
        break;
    case 0x1202:
        if (three) {
            polygon({p0, p1, {c.x, y1}, {c.x + x0 - x1, y0}});
        } else {
            const int q = (x1 - x0) / 4;
            polygon({{x0 + q, y0}, {x0, y1}, {x1 - q, y1}, {x1, y0}});
        }
        break;
    case 0x1203:
        if (three) {
            polygon({p0, p1, {c.x, y1}, {c.x + x1 - x0, y0}});
        } else {
            const int q = (x1 - x0) / 4;
            polygon({{x0 + q, y0}, {x0, y1}, {x1, y1}, {x1 - q, y0}});
        }
        break;
    case 0x1204: polygon({{mx, T}, {L, my}, {mx, B}, {R, my}}); break;
    case 0x1205: {
        const int r = std::min(w, h) / 6;
        useBrush();
        dc.RoundRect(L, T, R, B, r, r);
        break;
    }
    case 0x1206: polygon({p0, p1, {2 * x0 - x1, y1}}); break;
    case 0x1207: polygon({{L, T}, {R, B}, {L, B}}); break;
    case 0x1208: polygon({{R, T}, {L, B}, {R, B}}); break;
    case 0x1209:
        useBrush();
        dc.Ellipse(L, T, R, B);
        break;
    case 0x120A: {
        const int e = three ? b.Inset(c.x, L) : w / 4;
        polygon({{L + e, T}, {L, my}, {L + e, B}, {R - e, B}, {R, my}, {R - e, T}});
        break;
    }
    case 0x120B:
    case 0x120C: {
        const int d = three ? std::min(b.Inset(c.x, L), h / 2) : std::min(w / 4, h / 4);
        if (m_shapeCode == 0x120B)
            polygon({{L + d, T}, {L, T + d}, {L, B - d}, {L + d, B}, {R - d, B}, {R, B - d}, {R, T + d}, {R - d, T}});
        else
            polygon({{L + d, T}, {L + d, T + d}, {L, T + d}, {L, B - d}, {L + d, B - d}, {L + d, B}, {R - d, B},
                     {R - d, B - d}, {R, B - d}, {R, T + d}, {R - d, T + d}, {R - d, T}});
        break;
    }
    case 0x120D: polygon({{mx, T}, {L, T + h / 3}, {L + w / 5, B}, {R - w / 5, B}, {R, T + h / 3}}); break;
    case 0x120E: {
        const int e = three ? std::min(my, std::max(c.y, T + 2)) - T : h / 4;
        const int top = T + e / 2, bottom = B - e / 2;
        useBrush();
        {
            FilledPath path(dc, plat::kCounterClockwise);
            dc.MoveTo(L, top);
            dc.LineTo(L, bottom);
            ArcToOrLine(dc, L, B - e, R, B, {L, bottom}, {R, bottom}); // the front half of the base
            dc.LineTo(R, top);
            ArcToOrLine(dc, L, T, R, T + e, {R, top}, {L, top}); // the back half of the lid
            path.Finish();
            // The lid's front rim, with the pen only.
            dc.MoveTo(L, top);
            ArcToOrLine(dc, L, T, R, T + e, {L, top}, {R, top});
        }
        break;
    }
    case 0x120F: {
        int g = std::min(w / 4, h / 4);
        if (three) {
            const int a = c.x < L ? L + 1 : c.x;
            g = std::min((a > R ? R - 1 : a) - L, static_cast<int>(h / kSqrt3));
        }
        g = std::max(g, 0);
        const int v = static_cast<int>(g * kSqrt3);
        polygon({{L + g, T}, {L, T + v}, {L, B}, {R - g, B}, {R - g, T + v}, {R, T}});
        shaded(0.6, {{R, T}, {R - g, T + v}, {R - g, B}, {R, B - v}});
        rc.SetLinePen(dc, zoom, m_lineStyle, m_lineColor);
        LineThrough(dc, {{L, T + v}, {R - g, T + v}});
        break;
    }
    case 0x1210: {
        const int l = three ? std::min(b.Inset(c.x, L), h / 2) : std::min(w / 4, h / 4);
        polygon({{L, T}, {L, B}, {L + l, B - l}, {R - l, B - l}, {R - l, T + l}, {R, T}});
        shaded(0.6, {{L + l, B - l}, {L, B}, {R, B}, {R - l, B - l}});
        shaded(0.5, {{R - l, B - l}, {R, B}, {R, T}, {R - l, T + l}});
        rc.SetLinePen(dc, zoom, m_lineStyle, m_lineColor);
        LineThrough(dc, {{L, T}, {L + l, T + l}, {L + l, B - l}});
        LineThrough(dc, {{L + l, T + l}, {R - l, T + l}});
        break;
    }
    case 0x1211: {
        const int ro = static_cast<int>(Distance(x0, y0, x1, y1));
        if (ro == 0) break;
        int ri = ro / 2;
        if (three) {
            const int d = static_cast<int>(Distance(x0, y0, c.x, c.y));
            if (d < ro) ri = d;
        }
        useBrush();
        // The two circles run opposite ways, so winding fill leaves the centre open.
        FilledPath path(dc, plat::kClockwise);
        dc.Ellipse(x0 - ri, y0 - ri, x0 + ri, y0 + ri);
        path.SetArcDirection(plat::kCounterClockwise);
        dc.Ellipse(x0 - ro, y0 - ro, x0 + ro, y0 + ro);
        dc.EndPath();
        dc.StrokeAndFillPath();
        break;
    }
    case 0x1212: {
        const int t = three ? std::min(b.Inset(c.x, L + 1), h / 2) : std::min(w / 4, h / 4);
        useBrush();
        // Quarter circles about the four corners, bulging inward.
        FilledPath path(dc, plat::kClockwise);
        dc.MoveTo(L + t, T);
        ArcToOrLine(dc, L - t, T - t, L + t, T + t, {L + t, T}, {L, T + t});
        dc.LineTo(L, B - t);
        ArcToOrLine(dc, L - t, B - t, L + t, B + t, {L, B - t}, {L + t, B});
        dc.LineTo(R - t, B);
        ArcToOrLine(dc, R - t, B - t, R + t, B + t, {R - t, B}, {R, B - t});
        dc.LineTo(R, T + t);
        ArcToOrLine(dc, R - t, T - t, R + t, T + t, {R, T + t}, {R - t, T});
        dc.LineTo(L + t, T);
        path.Finish();
        break;
    }
    case 0x1213: {
        const int n = (x0 + x1) / 2, cc = (y0 + y1) / 2, k = std::abs(x1 - n);
        const int a1 = std::min(T + k, (cc + T) / 2), a2 = std::max(cc - k, (cc + T) / 2);
        const int b1 = std::min(cc + k, (cc + B) / 2), b2 = std::max(B - k, (cc + B) / 2);
        dc.MoveTo(x1, T);
        Bezier(dc, {(x1 + n) / 2, T}, {n, (T + a1) / 2}, {n, a1});
        dc.LineTo(n, a2);
        Bezier(dc, {n, (cc + a2) / 2}, {(x0 + n) / 2, cc}, {x0, cc});
        Bezier(dc, {(x0 + n) / 2, cc}, {n, (cc + b1) / 2}, {n, b1});
        dc.LineTo(n, b2);
        Bezier(dc, {n, (b2 + B) / 2}, {(x1 + n) / 2, B}, {x1, B});
        break;
    }
    case 0x1214: {
        const int n = (y0 + y1) / 2, cc = (x0 + x1) / 2, k = std::abs(y1 - n);
        const int a1 = std::min(L + k, (cc + L) / 2), a2 = std::max(cc - k, (cc + L) / 2);
        const int b1 = std::min(cc + k, (cc + R) / 2), b2 = std::max(R - k, (cc + R) / 2);
        dc.MoveTo(L, y1);
        Bezier(dc, {L, (y1 + n) / 2}, {(a1 + L) / 2, n}, {a1, n});
        dc.LineTo(a2, n);
        Bezier(dc, {(cc + a2) / 2, n}, {cc, (y0 + n) / 2}, {cc, y0});
        Bezier(dc, {cc, (y0 + n) / 2}, {(cc + b1) / 2, n}, {b1, n});
        dc.LineTo(b2, n);
        Bezier(dc, {(b2 + R) / 2, n}, {R, (y1 + n) / 2}, {R, y1});
        break;
    }
    case 0x1215: LineThrough(dc, {{x1, T}, {x0, T}, {x0, B}, {x1, B}}); break;
    case 0x1216: LineThrough(dc, {{L, y1}, {L, y0}, {R, y0}, {R, y1}}); break;
    case 0x1217: {
        const int k = std::abs(x1 - x0), cc = (y0 + y1) / 2;
        const int a = std::min(T + k, (T + cc) / 2), bb = std::max(B - k, (cc + B) / 2);
        dc.MoveTo(x1, T);
        Bezier(dc, {(x1 + x0) / 2, T}, {x0, (T + a) / 2}, {x0, a});
        dc.LineTo(x0, bb);
        Bezier(dc, {x0, (bb + B) / 2}, {(x1 + x0) / 2, B}, {x1, B});
        break;
    }
    case 0x1218: {
        const int k = std::abs(y1 - y0), cc = (x0 + x1) / 2;
        const int a = std::min(L + k, (L + cc) / 2), bb = std::max(R - k, (cc + R) / 2);
        dc.MoveTo(L, y1);
        Bezier(dc, {L, (y1 + y0) / 2}, {(L + a) / 2, y0}, {a, y0});
        dc.LineTo(bb, y0);
        Bezier(dc, {(bb + R) / 2, y0}, {R, (y1 + y0) / 2}, {R, y1});
        break;
    }
    case 0x1219:
    case 0x121A:
    case 0x121B: {
        const int e = three ? b.Inset(c.x, L + 1) : w / 8;
        // The pair is two single members facing each other; the stored code comes back.
        const std::uint16_t code = m_shapeCode;
        m_shapeCode = code == 0x1219 ? 0x1213 : code == 0x121A ? 0x1215 : 0x1217;
        CPointList left, right;
        left.AddPoint(L, T);
        left.AddPoint(L + e, B);
        right.AddPoint(R, T);
        right.AddPoint(R - e, B);
        PaintBasic(dc, zoom, left, rc);
        PaintBasic(dc, zoom, right, rc);
        m_shapeCode = code;
        break;
    }
    case 0x121C:
        if (!three) {
            LineThrough(dc, {p0, p1});
        } else {
            const Point m((x0 + x1) / 2, (y0 + y1) / 2);
            // The right angle stays on the circle over the hypotenuse, toward the third point.
            const Point v = PointAtDistance(m.x, m.y, x0, y0, c.x, c.y);
            polygon({p0, p1, v});
        }
        break;
    default: break;
    }
}
