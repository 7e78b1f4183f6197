// The line family of drawn shapes (0x1101-0x1109): straight lines with their line-end
// decorations, polylines, polygons, the double line and Bézier curves, open or closed. The
// same painter draws the rubber band while a shape is created, so every member also draws
// sensibly from the points collected so far.
#include <vector>

#include "document/plane_geometry.h"
#include "document/render_context.h"
#include "document/units.h"
#include "objects/shape_geometry.h"
#include "objects/shape_object.h"
#include "platform/gfx/dc.h"

namespace {

enum LineEndKind : int {
    kEndNone = 0,
    kEndPlain = 1,
    kEndHollowCircle = 2,
    kEndFilledCircle = 3,
    kEndArrow = 4,
    kEndOpenSquare = 5,
    kEndSlenderArrow = 6,
};

constexpr int kSolidLineKind = 2;

using shapepaint::PointsOf;

// A point of a decoration: along the line beyond the end point and across it (positive to
// the right of the direction of travel), in the frame of the line from `other` to `end`.
plat::Point At(plat::Point other, plat::Point end, int along, int across)
{
    return OffsetPointOnLine(other.x, other.y, end.x, end.y, along, across);
}

void CircleAround(plat::Dc& dc, plat::Point c, int h)
{
    dc.Ellipse(c.x - 2 * h, c.y - 2 * h, c.x + 2 * h, c.y + 2 * h);
}

} // namespace

int CShapeObject::StartDecorationExtra() const
{
    const bool onePixel = m_lineStyle >= 2 && m_lineStyle <= 6;
    return onePixel && m_startLineEnd >= kEndHollowCircle && m_startLineEnd <= kEndArrow ? 1 : 0;
}

int CShapeObject::EndDecorationExtra() const
{
    const bool onePixel = m_lineStyle >= 2 && m_lineStyle <= 6;
    return onePixel && m_endLineEnd >= kEndHollowCircle && m_endLineEnd <= kEndArrow ? 1 : 0;
}

void CShapeObject::DrawStartDecoration(plat::Dc& dc, double zoom, plat::Point end, plat::Point other, int kind,
                                       std::int32_t color, int h, CRenderContext& rc)
{
    switch (kind) {
    case kEndHollowCircle:
        rc.SetPen(dc, plat::kPenSolid, h, color);
        rc.SetBrush(dc, 2, 0xFFFFFF);
        CircleAround(dc, end, h);
        break;
    case kEndFilledCircle:
        rc.SetPen(dc, plat::kPenSolid, 1, color);
        rc.SetSolidBrush(dc, color);
        CircleAround(dc, end, h);
        break;
    case kEndArrow: {
        const plat::Point tri[] = {At(other, end, h, 0), At(other, end, -4 * h, 2 * h), At(other, end, -4 * h, -2 * h)};
        FillPolygonPoints(dc, zoom, color, tri, rc);
        break;
    }
    default: break; // plain, or kinds that only an end has
    }
}

void CShapeObject::DrawEndDecoration(plat::Dc& dc, double zoom, plat::Point other, plat::Point end, int kind,
                                     std::int32_t color, int h, CRenderContext& rc)
{
    switch (kind) {
    case kEndHollowCircle:
    case kEndArrow: DrawStartDecoration(dc, zoom, end, other, kind, color, h, rc); break;
    case kEndFilledCircle:
        rc.SetLinePen(dc, 0, 1, color);
        rc.SetSolidBrush(dc, color);
        CircleAround(dc, end, h);
        break;
    case kEndOpenSquare: {
        rc.SetPen(dc, plat::kPenSolid, h, color);
        const plat::Point square[] = {end, At(other, end, -6 * h, 0), At(other, end, -6 * h, -6 * h),
                                      At(other, end, 0, -6 * h)};
        dc.MoveTo(square[0].x, square[0].y);
        for (int k = 1; k <= 4; ++k) dc.LineTo(square[k % 4].x, square[k % 4].y);
        break;
    }
    case kEndSlenderArrow: {
        const int half = 3 * h / 2;
        const plat::Point tri[] = {At(other, end, -2 * h, 0), At(other, end, -7 * h, half), At(other, end, -7 * h, -half)};
        FillPolygonPoints(dc, zoom, color, tri, rc);
        break;
    }
    default: break;
    }
}

void CShapeObject::PaintLines(plat::Dc& dc, double zoom, const CPointList& list, CRenderContext& rc)
{
    const std::vector<plat::Point> p = PointsOf(list);
    const std::size_t n = p.size();
    if (n < 2) return;
    if (m_shapeCode != 0x1104) rc.SetLinePen(dc, zoom, m_lineStyle, m_lineColor);
    const int pen = std::max(1, rc.GetPenWidth());
    // Both decorations, the start at p[0] (toward p[1]) and the end at p[n-1] (from p[n-2]).
    auto decorate = [&] {
        DrawStartDecoration(dc, zoom, p[0], p[1], m_startLineEnd, m_lineColor, pen + StartDecorationExtra(), rc);
        DrawEndDecoration(dc, zoom, p[n - 2], p[n - 1], m_endLineEnd, m_lineColor, pen + EndDecorationExtra(), rc);
    };
    switch (m_shapeCode) {
    case 0x1101:
        dc.MoveTo(p[0].x, p[0].y);
        dc.LineTo(p[1].x, p[1].y);
        DrawStartDecoration(dc, zoom, p[0], p[1], m_startLineEnd, m_lineColor, pen + StartDecorationExtra(), rc);
        DrawEndDecoration(dc, zoom, p[0], p[1], m_endLineEnd, m_lineColor, pen + EndDecorationExtra(), rc);
        break;
    case 0x1102:
    case 0x1106:
        dc.Polyline(p);
        decorate();
        break;
    case 0x1103:
    case 0x1108:
        // The rubber band's first segment is a line, not a degenerate filled shape.
        if (n == 2) {
            dc.MoveTo(p[0].x, p[0].y);
            dc.LineTo(p[1].x, p[1].y);
        } else {
            FillPolygonList(dc, zoom, m_lineStyle, m_lineColor, m_fillStyle, m_fillColor, list, rc);
        }
        break;
    case 0x1104: {
        rc.SetLinePen(dc, zoom, kSolidLineKind, m_lineColor);
        const int g = Px96ToPixels(dc, zoom, 2);
        const int d = static_cast<int>(Distance(p[0].x, p[0].y, p[1].x, p[1].y));
        const plat::Point a0 = OffsetPointOnLine(p[0].x, p[0].y, p[1].x, p[1].y, -d, -g);
        const plat::Point a1 = OffsetPointOnLine(p[1].x, p[1].y, p[0].x, p[0].y, -d, g);
        const plat::Point b0 = OffsetPointOnLine(p[0].x, p[0].y, p[1].x, p[1].y, -d, g);
        const plat::Point b1 = OffsetPointOnLine(p[1].x, p[1].y, p[0].x, p[0].y, -d, -g);
        dc.MoveTo(a0.x, a0.y);
        dc.LineTo(a1.x, a1.y);
        dc.MoveTo(b0.x, b0.y);
        dc.LineTo(b1.x, b1.y);
        break;
    }
    case 0x1105:
        // The curve from as many points as it has: two (the rubber band) or three make a
        // polyline, four or more the curve through every whole segment of three.
        if (n < 4) {
            dc.Polyline(p);
        } else {
            dc.PolyBezier(std::span<const plat::Point>(p.data(), n - (n - 1) % 3));
            DrawStartDecoration(dc, zoom, p[0], p[1], m_startLineEnd, m_lineColor, pen + StartDecorationExtra(), rc);
            DrawEndDecoration(dc, zoom, p[2], p[3], m_endLineEnd, m_lineColor, pen + EndDecorationExtra(), rc);
        }
        break;
    case 0x1107: {
        // A chain of 3k + 1 points; extra points after the last whole segment are left out.
        const std::size_t used = n - (n - 1) % 3;
        if (used >= 4)
            dc.PolyBezier(std::span<const plat::Point>(p.data(), used));
        else
            dc.Polyline(p);
        decorate();
        break;
    }
    case 0x1109: {
        // Closed: point 0 follows the last, and the chain runs on whole segments of three.
        std::vector<plat::Point> closed(p);
        closed.push_back(p[0]);
        const std::size_t segments = (closed.size() - 1) / 3;
        if (segments == 0) {
            dc.Polyline(closed);
            break;
        }
        closed.resize(segments * 3 + 1);
        FillBezierArray(dc, zoom, m_lineStyle, m_lineColor, m_fillStyle, m_fillColor, closed, rc);
        break;
    }
    default: break;
    }
}
