// The border of a text shape: one figure per border kind, painted under the text from the
// box, the colours, the fill pattern and the adjust points. Callout tails and line
// callouts attach to the side of the box that the ray from the centre to the tip crosses.
#include <algorithm>
#include <cmath>
#include <vector>

#include "document/plane_geometry.h"
#include "document/render_context.h"
#include "document/units.h"
#include "objects/text_shape.h"
#include "platform/gfx/dc.h"

namespace {

constexpr int kSolidLine = 2;
constexpr int kDottedLine = 4;
constexpr int kSolidBrush = 2;
constexpr int kShadowOffset96 = 10; // 1/96 inch
constexpr int kInset96 = 3;         // the double frame's inset and the dot's radius
constexpr double kTenDegrees = 0.17453292;
const std::int32_t kGrey = static_cast<std::int32_t>(CColorRef::GetGrey());

// The sides of the box in the order the outline runs them (counter-clockwise on screen
// from the top-left corner).
enum class Side { kLeft, kBottom, kRight, kTop };

// Which side the ray from the centre to the tip crosses, with a the angle from the centre
// to the top-right corner and theta the angle to the tip.
Side SideOfRay(double a, double theta)
{
    if ((theta >= 0 && theta < a) || (theta >= kTwoPi - a && theta < kTwoPi)) return Side::kRight;
    if (theta >= a && theta <= kPi - a) return Side::kTop;
    if (theta > kPi - a && theta < kPi + a) return Side::kLeft;
    return Side::kBottom;
}

// A side as it is run: from corner `from` to corner `to`.
struct RunSide {
    plat::Point from, to;
};

RunSide RunOf(Side side, const plat::Rect& box)
{
    switch (side) {
    case Side::kLeft: return {{box.left, box.top}, {box.left, box.bottom}};
    case Side::kBottom: return {{box.left, box.bottom}, {box.right, box.bottom}};
    case Side::kRight: return {{box.right, box.bottom}, {box.right, box.top}};
    case Side::kTop: break;
    }
    return {{box.right, box.top}, {box.left, box.top}};
}

// Where the tail meets the box: its side and the crossing point X (twips).
struct Attachment {
    Side side;
    plat::Point cross;
};

Attachment Attach(const plat::Rect& box, plat::Point tip)
{
    const plat::Point c((box.left + box.right) / 2, (box.top + box.bottom) / 2);
    const double a = LineAngle(c.x, c.y, box.right, box.top);
    const double theta = LineAngle(c.x, c.y, tip.x, tip.y);
    const Side side = SideOfRay(a, theta);
    const RunSide run = RunOf(side, box);
    return {side, LineIntersection(c.x, c.y, tip.x, tip.y, run.from.x, run.from.y, run.to.x, run.to.y)};
}

// The tail's base ends on its side, in running order: centred on X with length L (a fifth
// of the side), shifted so that the end toward the nearer corner stops `margin` short of
// that corner (the corner itself, or a rounded corner's tangent point).
std::pair<plat::Point, plat::Point> TailBase(const plat::Rect& box, const Attachment& at, int margin)
{
    const RunSide run = RunOf(at.side, box);
    const bool vertical = run.from.x == run.to.x;
    const int length = vertical ? std::abs(run.to.y - run.from.y) : std::abs(run.to.x - run.from.x);
    const int step = vertical ? (run.to.y > run.from.y ? 1 : -1) : (run.to.x > run.from.x ? 1 : -1);
    const int along = vertical ? (at.cross.y - run.from.y) * step : (at.cross.x - run.from.x) * step;
    const int base = length / 5;
    int first = along - base / 2;
    if (along < length / 2 && first < margin) first = margin;
    if (along >= length / 2 && first + base > length - margin) first = length - margin - base;
    const int last = first + base;
    auto at_ = [&](int s) {
        return vertical ? plat::Point(run.from.x, run.from.y + s * step) : plat::Point(run.from.x + s * step, run.from.y);
    };
    return {at_(first), at_(last)};
}

// Saves the polygon fill mode and sets winding for a path figure; puts it back after.
class WindingFill {
public:
    explicit WindingFill(plat::Dc& dc) : m_dc(dc), m_old(dc.SetPolyFillMode(plat::kWinding)) {}
    ~WindingFill()
    {
        if (m_old != 0) m_dc.SetPolyFillMode(m_old);
    }

private:
    plat::Dc& m_dc;
    int m_old;
};

} // namespace

void CTextShapeObject::DrawBorder(plat::Dc& dc, double zoom, int dx, int dy, CRenderContext& rc)
{
    // The pixel box: the corner converted, plus the size converted as one pair.
    const plat::Point corner = TwipsToPixelsPoint(dc, zoom, m_bounds.left, m_bounds.top);
    const plat::Point size = TwipsToPixelsPoint(dc, zoom, m_width, m_height);
    const plat::Rect box(dx + corner.x, dy + corner.y, dx + corner.x + size.x, dy + corner.y + size.y);
    const plat::Point c((m_bounds.left * 2 + m_width) / 2, (m_bounds.top * 2 + m_height) / 2);
    const plat::Point tip(m_bounds.left + m_adjust1.x, m_bounds.top + m_adjust1.y);
    auto px = [&](plat::Point p) {
        const plat::Point d = TwipsToPixelsPoint(dc, zoom, p.x, p.y);
        return plat::Point(d.x + dx, d.y + dy);
    };
    // The shadow moves d pixels toward the tip.
    auto shadowed = [&]() {
        const int d = Px96ToPixels(dc, zoom, kShadowOffset96);
        const double angle = LineAngle(c.x, c.y, tip.x, tip.y);
        plat::Rect r = box;
        r.Offset(static_cast<int>(std::cos(angle) * d), static_cast<int>(-std::sin(angle) * d));
        return r;
    };
    auto linePen = [&](int kind) { rc.SetLinePen(dc, zoom, kind, m_lineColor); };
    auto fillBrush = [&] { rc.SetBrush(dc, m_fillPattern, m_fillColor); };
    auto greyShadow = [&] {
        rc.SetLinePen(dc, zoom, kSolidLine, kGrey);
        rc.SetBrush(dc, kSolidBrush, kGrey);
    };
    auto frontSolid = [&] {
        linePen(kSolidLine);
        rc.SetBrush(dc, kSolidBrush, m_fillColor);
    };
    const int corner6 = std::min(box.Width(), box.Height()) / 6;

    switch (m_borderKind) {
    case 1: FillBox(dc, zoom, dx, dy, rc); break;
    case 2:
    case 3:
        linePen(m_borderKind == 2 ? kSolidLine : kDottedLine);
        fillBrush();
        dc.Rectangle(box.left, box.top, box.right, box.bottom);
        break;
    case 4: {
        const plat::Rect s = shadowed();
        greyShadow();
        dc.Rectangle(s.left, s.top, s.right, s.bottom);
        frontSolid();
        dc.Rectangle(box.left, box.top, box.right, box.bottom);
        break;
    }
    case 5:
        linePen(kSolidLine);
        fillBrush();
        DrawCallout(dc, zoom, dx, dy, false);
        break;
    case 6:
    case 7:
        linePen(m_borderKind == 6 ? kSolidLine : kDottedLine);
        fillBrush();
        dc.RoundRect(box.left, box.top, box.right, box.bottom, corner6, corner6);
        break;
    case 8: {
        const plat::Rect s = shadowed();
        greyShadow();
        dc.RoundRect(s.left, s.top, s.right, s.bottom, std::min(s.Width(), s.Height()) / 6,
                     std::min(s.Width(), s.Height()) / 6);
        frontSolid();
        dc.RoundRect(box.left, box.top, box.right, box.bottom, corner6, corner6);
        break;
    }
    case 9:
        linePen(kSolidLine);
        fillBrush();
        DrawCallout(dc, zoom, dx, dy, true);
        break;
    case 10:
    case 11: {
        const int s = std::min(box.Width(), box.Height());
        linePen(m_borderKind == 10 ? kSolidLine : kDottedLine);
        fillBrush();
        dc.Ellipse(box.left, box.top, box.left + s, box.top + s);
        break;
    }
    case 12:
    case 13:
        linePen(m_borderKind == 12 ? kSolidLine : kDottedLine);
        fillBrush();
        dc.Ellipse(box.left, box.top, box.right, box.bottom);
        break;
    case 14: {
        const plat::Rect s = shadowed();
        greyShadow();
        dc.Ellipse(s.left, s.top, s.right, s.bottom);
        frontSolid();
        dc.Ellipse(box.left, box.top, box.right, box.bottom);
        break;
    }
    case 15:
        linePen(kSolidLine);
        fillBrush();
        DrawEllipseCallout(dc, zoom, dx, dy);
        break;
    case 16: {
        linePen(kSolidLine);
        fillBrush();
        const int mx = (box.left + box.right) / 2, my = (box.top + box.bottom) / 2;
        WindingFill winding(dc);
        dc.BeginPath();
        dc.MoveTo(mx, box.top);
        dc.LineTo(box.left, my);
        dc.LineTo(mx, box.bottom);
        dc.LineTo(box.right, my);
        dc.CloseFigure();
        dc.EndPath();
        dc.StrokeAndFillPath();
        dc.AbortPath();
        break;
    }
    case 17: {
        linePen(kSolidLine);
        fillBrush();
        dc.Rectangle(box.left, box.top, box.right, box.bottom);
        const int e = Px96ToPixels(dc, zoom, kInset96);
        dc.MoveTo(box.left + e, box.top + e);
        dc.LineTo(box.left + e, box.bottom - e);
        dc.LineTo(box.right - e, box.bottom - e);
        dc.LineTo(box.right - e, box.top + e);
        dc.LineTo(box.left + e, box.top + e);
        break;
    }
    case 18: {
        const int e = Px96ToPixels(dc, zoom, kInset96);
        const plat::Point t = px(tip);
        linePen(kSolidLine);
        rc.SetBrush(dc, kSolidBrush, m_lineColor);
        dc.Ellipse(t.x - e, t.y - e, t.x + e, t.y + e);
        break;
    }
    case 19:
    case 20:
    case 21: DrawLineCallout(dc, zoom, dx, dy, rc); break;
    default: break; // other kinds have no border
    }
}

void CTextShapeObject::FillBox(plat::Dc& dc, double zoom, int dx, int dy, CRenderContext& rc)
{
    if (m_fillPattern == kNoFill) return;
    const plat::Point corner = TwipsToPixelsPoint(dc, zoom, m_bounds.left, m_bounds.top);
    const plat::Point size = TwipsToPixelsPoint(dc, zoom, m_width, m_height);
    const int l = dx + corner.x, t = dy + corner.y;
    // The pen takes the fill colour: a fill-only figure draws no outline of its own.
    rc.SetLinePen(dc, zoom, kSolidLine, m_fillColor);
    rc.SetBrush(dc, m_fillPattern, m_fillColor);
    WindingFill winding(dc);
    dc.BeginPath();
    dc.MoveTo(l, t);
    dc.LineTo(l + size.x, t);
    dc.LineTo(l + size.x, t + size.y);
    dc.LineTo(l, t + size.y);
    dc.CloseFigure();
    dc.EndPath();
    dc.FillPath();
    dc.AbortPath();
}

void CTextShapeObject::DrawCallout(plat::Dc& dc, double zoom, int dx, int dy, bool rounded)
{
    const plat::Rect box(m_bounds.left, m_bounds.top, m_bounds.left + m_width, m_bounds.top + m_height);
    const plat::Point tip(m_bounds.left + m_adjust1.x, m_bounds.top + m_adjust1.y);
    const int r = rounded ? std::min(m_width, m_height) / 6 : 0;
    const Attachment at = Attach(box, tip);
    // Named points, not a structured binding: the tail's lambda below captures them.
    const std::pair<plat::Point, plat::Point> base = TailBase(box, at, r);
    const plat::Point b0 = base.first, b1 = base.second;
    auto px = [&](plat::Point p) {
        const plat::Point d = TwipsToPixelsPoint(dc, zoom, p.x, p.y);
        return plat::Point(d.x + dx, d.y + dy);
    };
    auto lineTo = [&](plat::Point p) {
        const plat::Point q = px(p);
        dc.LineTo(q.x, q.y);
    };
    auto tail = [&](Side side) {
        if (at.side != side) return;
        lineTo(b0);
        lineTo(tip);
        lineTo(b1);
    };
    WindingFill winding(dc);
    dc.BeginPath();
    if (!rounded) {
        const plat::Point start = px(plat::Point(box.left, box.top));
        dc.MoveTo(start.x, start.y);
        tail(Side::kLeft);
        lineTo(plat::Point(box.left, box.bottom));
        tail(Side::kBottom);
        lineTo(plat::Point(box.right, box.bottom));
        tail(Side::kRight);
        lineTo(plat::Point(box.right, box.top));
        tail(Side::kTop);
        dc.CloseFigure();
    } else {
        // The corner squares of side 2r in pixels; the bottom-right one is placed from its
        // neighbours' pixel edges so that the rounding meets the straight sides.
        auto square = [&](int l, int t) {
            plat::Rect sq = TwipsToPixelsRect(dc, zoom, l, t, l + 2 * r, t + 2 * r);
            sq.Offset(dx, dy);
            return sq;
        };
        const plat::Rect tl = square(box.left, box.top);
        const plat::Rect bl = square(box.left, box.bottom - 2 * r);
        const plat::Rect tr = square(box.right - 2 * r, box.top);
        const plat::Rect br(tr.left + 1, bl.top + 1, tr.left + 1 + bl.Width(), bl.top + 1 + bl.Height());
        auto arc = [&](const plat::Rect& sq, plat::Point from, plat::Point to) {
            const plat::Point a = px(from), b = px(to);
            dc.ArcTo(sq.left, sq.top, sq.right, sq.bottom, a.x, a.y, b.x, b.y);
        };
        const plat::Point start = px(plat::Point(box.left + r, box.top));
        dc.MoveTo(start.x, start.y);
        arc(tl, {box.left + r, box.top}, {box.left, box.top + r});
        tail(Side::kLeft);
        lineTo({box.left, box.bottom - r});
        arc(bl, {box.left, box.bottom - r}, {box.left + r, box.bottom});
        tail(Side::kBottom);
        lineTo({box.right - r, box.bottom});
        arc(br, {box.right - r, box.bottom}, {box.right, box.bottom - r});
        tail(Side::kRight);
        lineTo({box.right, box.top + r});
        arc(tr, {box.right, box.top + r}, {box.right - r, box.top});
        tail(Side::kTop);
        lineTo({box.left + r, box.top});
    }
    dc.EndPath();
    dc.StrokeAndFillPath();
    dc.AbortPath();
}

void CTextShapeObject::DrawEllipseCallout(plat::Dc& dc, double zoom, int dx, int dy)
{
    const plat::Point c(m_bounds.left + m_width / 2, m_bounds.top + m_height / 2);
    const plat::Point tip(m_bounds.left + m_adjust1.x, m_bounds.top + m_adjust1.y);
    const int hw = m_width / 2, hh = m_height / 2;
    const double theta = LineAngle(c.x, c.y, tip.x, tip.y);
    double theta1 = theta + kTenDegrees;
    double theta2 = theta - kTenDegrees;
    if (theta1 > kTwoPi) theta1 -= kTwoPi;
    if (theta2 < 0) theta2 += kTwoPi;
    auto onEllipse = [&](double angle) {
        return plat::Point(c.x + static_cast<int>(std::cos(angle) * hw), c.y - static_cast<int>(std::sin(angle) * hh));
    };
    auto px = [&](plat::Point p) {
        const plat::Point d = TwipsToPixelsPoint(dc, zoom, p.x, p.y);
        return plat::Point(d.x + dx, d.y + dy);
    };
    const plat::Point p1 = px(onEllipse(theta1)), p2 = px(onEllipse(theta2)), t = px(tip);
    const plat::Point corner = TwipsToPixelsPoint(dc, zoom, m_bounds.left, m_bounds.top);
    const plat::Point size = TwipsToPixelsPoint(dc, zoom, m_width, m_height);
    const int l = dx + corner.x, top = dy + corner.y;
    WindingFill winding(dc);
    const int oldDirection = dc.SetArcDirection(plat::kCounterClockwise);
    dc.BeginPath();
    dc.MoveTo(p1.x, p1.y);
    dc.ArcTo(l, top, l + size.x, top + size.y, p1.x, p1.y, p2.x, p2.y);
    dc.LineTo(t.x, t.y);
    dc.LineTo(p1.x, p1.y);
    dc.CloseFigure();
    dc.EndPath();
    dc.StrokeAndFillPath();
    dc.AbortPath();
    if (oldDirection != 0) dc.SetArcDirection(oldDirection);
}

void CTextShapeObject::DrawLineCallout(plat::Dc& dc, double zoom, int dx, int dy, CRenderContext& rc)
{
    FillBox(dc, zoom, dx, dy, rc);
    const plat::Rect box(m_bounds.left, m_bounds.top, m_bounds.left + m_width, m_bounds.top + m_height);
    const plat::Point t1(m_bounds.left + m_adjust1.x, m_bounds.top + m_adjust1.y);
    const plat::Point t2(m_bounds.left + m_adjust2.x, m_bounds.top + m_adjust2.y);
    const Attachment at = Attach(box, t1);
    auto px = [&](plat::Point p) {
        const plat::Point d = TwipsToPixelsPoint(dc, zoom, p.x, p.y);
        return plat::Point(d.x + dx, d.y + dy);
    };
    rc.SetLinePen(dc, zoom, kSolidLine, m_lineColor);
    if (m_borderKind != 21) {
        // The accent bar along the whole side.
        const RunSide run = RunOf(at.side, box);
        const plat::Point a = px(run.from), b = px(run.to);
        dc.MoveTo(a.x, a.y);
        dc.LineTo(b.x, b.y);
    }
    const plat::Point x = px(at.cross), p1 = px(t1);
    if (m_borderKind == 19) {
        dc.MoveTo(x.x, x.y);
        dc.LineTo(p1.x, p1.y);
        return;
    }
    const plat::Point leader[] = {x, p1, px(t2)};
    dc.Polyline(leader);
}
