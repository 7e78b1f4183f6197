// The flow-chart symbols (0x1501-0x1516), drawn in the box of their two points. Symbols
// with curves are paths stroked and filled with winding fill; the DC's arc direction and
// fill mode are put back afterwards.
#include <cmath>

#include "document/render_context.h"
#include "objects/shape_geometry.h"
#include "objects/shape_object.h"

using shapepaint::ArcToOrLine;
using shapepaint::Box;
using shapepaint::FilledPath;
using shapepaint::LineThrough;
using plat::Point;

namespace {

constexpr double kSqrt2 = 1.4142136;
constexpr double kSqrt5 = 2.2360680;

} // namespace

void CShapeObject::PaintFlowChart(plat::Dc& dc, double zoom, const CPointList& list, CRenderContext& rc)
{
    if (list.GetCount() < 2) return;
    const Box b(list.GetPoint(0), list.GetPoint(1));
    const int L = b.L, T = b.T, R = b.R, B = b.B, w = b.w, h = b.h, mx = b.mx, my = b.my;

    auto polygon = [&](std::initializer_list<Point> points) {
        FillPolygonArray(dc, zoom, m_lineStyle, m_lineColor, m_fillStyle, m_fillColor,
                         std::span<const Point>(points.begin(), points.size()), rc);
    };
    auto pens = [&] {
        rc.SetBrush(dc, m_fillStyle >= 1 && m_fillStyle <= 8 ? m_fillStyle : 1, m_fillColor);
        rc.SetLinePen(dc, zoom, m_lineStyle, m_lineColor);
    };
    // The right end rounded by half the ellipse in (R - 2k, T, R, B), then along the top
    // back to (L + k, T): the terminator and the display share it.
    auto roundRightEndAndBack = [&](int k) {
        ArcToOrLine(dc, R - 2 * k, T, R, B, {R - k, B}, {R - k, T});
        dc.LineTo(R - k, T);
        dc.LineTo(L + k, T);
    };
    auto bezier = [&](Point c1, Point c2, Point end) {
        const Point q[] = {c1, c2, end};
        dc.PolyBezierTo(q);
    };

    switch (m_shapeCode) {
    case 0x1501:
    case 0x1502:
        polygon({{L, T}, {L, B}, {R, B}, {R, T}});
        if (m_shapeCode == 0x1501) {
            LineThrough(dc, {{L + w / 10, T}, {L + w / 10, B}});
            LineThrough(dc, {{R - w / 10, T}, {R - w / 10, B}});
        } else {
            LineThrough(dc, {{L + w / 5, T}, {L + w / 5, B}});
            LineThrough(dc, {{L, T + h / 5}, {R, T + h / 5}});
        }
        break;
    case 0x1503: {
        pens();
        FilledPath path(dc, plat::kCounterClockwise);
        dc.MoveTo(L, T);
        dc.LineTo(L, B - h / 10);
        bezier({mx, B + h / 10}, {mx, B - h / 5}, {R, B - h / 5});
        dc.LineTo(R, T);
        path.Finish();
        break;
    }
    case 0x1504: {
        // Three documents back to front; without a fill they are filled white so that each
        // hides the one behind it.
        const int a = w / 10, bb = h / 10;
        const std::uint16_t code = m_shapeCode;
        const std::uint8_t fillStyle = m_fillStyle;
        const std::int32_t fillColor = m_fillColor;
        if (m_fillStyle == 1) {
            m_fillStyle = 2;
            m_fillColor = 0xFFFFFF;
        }
        m_shapeCode = 0x1503;
        const plat::Rect boxes[] = {{L + 2 * a, T, R, B - 2 * bb}, {L + a, T + bb, R - a, B - bb}, {L, T + 2 * bb, R - 2 * a, B}};
        for (const plat::Rect& r : boxes) {
            CPointList doc;
            doc.AddPoint(r.left, r.top);
            doc.AddPoint(r.right, r.bottom);
            PaintFlowChart(dc, zoom, doc, rc);
        }
        m_shapeCode = code;
        m_fillStyle = fillStyle;
        m_fillColor = fillColor;
        break;
    }
    case 0x1505: {
        const int k = w / 5;
        pens();
        FilledPath path(dc, plat::kCounterClockwise);
        dc.MoveTo(L + k, T);
        ArcToOrLine(dc, L, T, L + 2 * k, B, {L + k, T}, {L + k, B});
        dc.LineTo(L + k, B);
        dc.LineTo(R - k, B);
        roundRightEndAndBack(k);
        path.Finish();
        break;
    }
    case 0x1506: {
        const int k = w / 5;
        polygon({{L, my}, {L + k, B}, {R - k, B}, {R, my}, {R - k, T}, {L + k, T}});
        break;
    }
    case 0x1507: polygon({{L, T + h / 5}, {L, B}, {R, B}, {R, T}}); break;
    case 0x1508: polygon({{L, T}, {L + w / 5, B}, {R - w / 5, B}, {R, T}}); break;
    case 0x1509: polygon({{L, T}, {L, B - h / 5}, {mx, B}, {R, B - h / 5}, {R, T}}); break;
    case 0x150A: polygon({{L, T + h / 5}, {L, B}, {R, B}, {R, T}, {L + w / 5, T}}); break;
    case 0x150B: {
        const int d = h / 10;
        pens();
        FilledPath path(dc, plat::kCounterClockwise);
        dc.MoveTo(L, T + d);
        dc.LineTo(L, B - d);
        bezier({mx, B + 2 * d}, {mx, B - 4 * d}, {R, B - d});
        dc.LineTo(R, T + d);
        bezier({mx, T - 2 * d}, {mx, T + 4 * d}, {L, T + d});
        path.Finish();
        break;
    }
    case 0x150C:
    case 0x150D:
        pens();
        dc.Ellipse(L, T, R, B);
        if (m_shapeCode == 0x150C) {
            const int e = static_cast<int>(w * kSqrt2 * 0.25), f = static_cast<int>(h * kSqrt2 * 0.25);
            LineThrough(dc, {{mx + e, my + f}, {mx - e, my - f}});
            LineThrough(dc, {{mx - e, my + f}, {mx + e, my - f}});
        } else {
            LineThrough(dc, {{mx, T}, {mx, B}});
            LineThrough(dc, {{L, my}, {R, my}});
        }
        break;
    case 0x150E:
        polygon({{L, T}, {mx, my}, {R, T}});
        polygon({{mx, my}, {L, B}, {R, B}});
        break;
    case 0x150F:
        polygon({{mx, T}, {L, my}, {R, my}});
        polygon({{L, my}, {mx, B}, {R, my}});
        break;
    case 0x1510: polygon({{mx, T}, {L, B}, {R, B}}); break;
    case 0x1511: polygon({{L, T}, {mx, B}, {R, T}}); break;
    case 0x1512: {
        const int k = w / 5;
        pens();
        FilledPath path(dc, plat::kCounterClockwise);
        dc.MoveTo(L + k, T);
        ArcToOrLine(dc, L, T, L + 2 * k, B, {L + k, T}, {L + k, B});
        dc.LineTo(L + k, B);
        dc.LineTo(R, B);
        path.SetArcDirection(plat::kClockwise); // the concave right side
        ArcToOrLine(dc, R - k, T, R + k, B, {R, B}, {R, T});
        dc.LineTo(L + k, T);
        path.Finish();
        break;
    }
    case 0x1513: {
        pens();
        FilledPath path(dc, plat::kCounterClockwise);
        dc.MoveTo(L, T);
        dc.LineTo(L, B);
        dc.LineTo(mx, B);
        ArcToOrLine(dc, L, T, R, B, {mx, B}, {mx, T});
        dc.LineTo(L, T);
        path.Finish();
        break;
    }
    case 0x1514: {
        const Point start(mx + static_cast<int>(w * kSqrt5 / 6), my + h / 3);
        pens();
        FilledPath path(dc, plat::kCounterClockwise);
        dc.MoveTo(start.x, start.y);
        ArcToOrLine(dc, L, T, R, B, start, {mx, B});
        dc.LineTo(mx, B);
        dc.LineTo(R, B);
        dc.LineTo(R, my + h / 3);
        dc.LineTo(start.x, start.y);
        path.Finish();
        break;
    }
    case 0x1515: {
        const int a = w / 8, q = w / 4;
        pens();
        FilledPath path(dc, plat::kCounterClockwise);
        dc.MoveTo(L + a, B);
        dc.LineTo(R - a, B);
        ArcToOrLine(dc, R - q, T, R, B, {R - a, B}, {R - a, T});
        dc.LineTo(R - a, T);
        dc.LineTo(L + a, T);
        ArcToOrLine(dc, L, T, L + q, B, {L + a, T}, {L + a, B});
        path.Finish();
        // The visible rim, with the pen only.
        dc.MoveTo(R - a, T);
        ArcToOrLine(dc, R - q, T, R, B, {R - a, T}, {R - a, B});
        break;
    }
    case 0x1516: {
        const int k = w / 5;
        pens();
        FilledPath path(dc, plat::kCounterClockwise);
        dc.MoveTo(L + k, T);
        dc.LineTo(L, my);
        dc.LineTo(L + k, B);
        dc.LineTo(R - k, B);
        roundRightEndAndBack(k);
        path.Finish();
        break;
    }
    default: break;
    }
}
