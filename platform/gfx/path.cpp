// Paths, Bézier curves, elliptic arcs and rounded rectangles of the device context. Paths
// are recorded in device pixels while a bracket is open and replayed into Cairo when they
// are stroked or filled; arcs become cubic curves of at most a quarter turn each.
#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <utility>

#include "platform/gfx/dc.h"
#include "platform/gfx/path_state.h"

namespace plat {

using gfx_detail::DcPaint;
using gfx_detail::PathSegment;
using gfx_detail::PathState;
using Kind = PathSegment::Kind;

namespace {

constexpr double kQuarterTurn = std::numbers::pi / 2;

// An ellipse in device pixels: its centre and radii.
struct DevEllipse {
    double cx = 0, cy = 0, rx = 0, ry = 0;

    // The angle (y down, so growing clockwise on screen) of the ray through (x, y).
    double AngleOf(double x, double y) const
    {
        const double dx = rx > 0 ? (x - cx) / rx : 0, dy = ry > 0 ? (y - cy) / ry : 0;
        return dx == 0 && dy == 0 ? 0 : std::atan2(dy, dx);
    }
    double X(double a) const { return cx + rx * std::cos(a); }
    double Y(double a) const { return cy + ry * std::sin(a); }
};

DevEllipse EllipseOf(const Dc& dc, int left, int top, int right, int bottom)
{
    const double l = DcPaint::DevX(dc, left), r = DcPaint::DevX(dc, right);
    const double t = DcPaint::DevY(dc, top), b = DcPaint::DevY(dc, bottom);
    return {(l + r) / 2, (t + b) / 2, std::abs(r - l) / 2, std::abs(b - t) / 2};
}

// The sweep from a0 to a1 in the direction: clockwise grows the angle; equal rays make a
// whole turn.
double EndAngle(double a0, double a1, int direction)
{
    if (direction == kClockwise) {
        while (a1 <= a0) a1 += 2 * std::numbers::pi;
    } else {
        while (a1 >= a0) a1 -= 2 * std::numbers::pi;
    }
    return a1;
}

void AppendArc(std::vector<PathSegment>& out, const DevEllipse& e, double a0, double a1)
{
    const double sweep = a1 - a0;
    const int pieces = std::max(1, static_cast<int>(std::ceil(std::abs(sweep) / kQuarterTurn - 1e-9)));
    const double step = sweep / pieces;
    const double k = 4.0 / 3.0 * std::tan(step / 4);
    for (int i = 0; i < pieces; ++i) {
        const double t0 = a0 + i * step, t1 = t0 + step;
        const double x0 = std::cos(t0), y0 = std::sin(t0), x3 = std::cos(t1), y3 = std::sin(t1);
        PathSegment c{Kind::kCurve, e.cx + e.rx * x3, e.cy + e.ry * y3};
        c.c1x = e.cx + e.rx * (x0 - k * y0);
        c.c1y = e.cy + e.ry * (y0 + k * x0);
        c.c2x = e.cx + e.rx * (x3 + k * y3);
        c.c2y = e.cy + e.ry * (y3 - k * x3);
        out.push_back(c);
    }
}

// Lays the segments into Cairo's path, each coordinate moved by o.
void Replay(cairo_t* cr, const std::vector<PathSegment>& segments, double o, bool closeFigures)
{
    cairo_new_path(cr);
    bool open = false;
    for (const PathSegment& s : segments) {
        switch (s.kind) {
        case Kind::kMove:
            if (open && closeFigures) cairo_close_path(cr);
            cairo_move_to(cr, s.x + o, s.y + o);
            open = false;
            break;
        case Kind::kLine:
            cairo_line_to(cr, s.x + o, s.y + o);
            open = true;
            break;
        case Kind::kCurve:
            cairo_curve_to(cr, s.c1x + o, s.c1y + o, s.c2x + o, s.c2y + o, s.x + o, s.y + o);
            open = true;
            break;
        case Kind::kClose:
            cairo_close_path(cr);
            open = false;
            break;
        }
    }
    if (open && closeFigures) cairo_close_path(cr);
}

// Strokes segments drawn outside a path bracket.
void StrokeNow(Dc& dc, const std::vector<PathSegment>& segments)
{
    cairo_t* cr = DcPaint::Cairo(dc);
    if (!cr) return;
    Replay(cr, segments, DcPaint::PenOffset(dc), false);
    DcPaint::Stroke(dc);
}

PathSegment CurveOf(const Dc& dc, Point c1, Point c2, Point end)
{
    PathSegment s{Kind::kCurve, DcPaint::DevX(dc, end.x), DcPaint::DevY(dc, end.y)};
    s.c1x = DcPaint::DevX(dc, c1.x);
    s.c1y = DcPaint::DevY(dc, c1.y);
    s.c2x = DcPaint::DevX(dc, c2.x);
    s.c2y = DcPaint::DevY(dc, c2.y);
    return s;
}

// Segments of a curve or arc call: recorded while a path is open (from `from` on, the
// segments before it only place the pen), else stroked at once.
void RecordOrStroke(Dc& dc, const std::vector<PathSegment>& segments, std::size_t from)
{
    PathState& path = DcPaint::Path(dc);
    if (path.recording)
        path.segments.insert(path.segments.end(), segments.begin() + static_cast<std::ptrdiff_t>(from), segments.end());
    else
        StrokeNow(dc, segments);
}

// The recorded path once the bracket is closed; null otherwise.
PathState* ReadyPath(Dc& dc)
{
    PathState& path = DcPaint::Path(dc);
    return path.ready ? &path : nullptr;
}

} // namespace

bool Dc::BeginPath()
{
    PathState& path = DcPaint::Path(*this);
    path.Clear();
    path.recording = true;
    // A figure starts at the current position.
    const Point at = DcPaint::Current(*this);
    path.segments.push_back({Kind::kMove, DcPaint::DevX(*this, at.x), DcPaint::DevY(*this, at.y)});
    return true;
}

bool Dc::EndPath()
{
    PathState& path = DcPaint::Path(*this);
    if (!path.recording) return false;
    path.recording = false;
    path.ready = true;
    return true;
}

bool Dc::AbortPath()
{
    PathState& path = DcPaint::Path(*this);
    const bool had = path.recording || path.ready;
    path.Clear();
    return had;
}

bool Dc::CloseFigure()
{
    PathState& path = DcPaint::Path(*this);
    if (!path.recording) return false;
    path.segments.push_back({Kind::kClose});
    return true;
}

bool Dc::StrokePath()
{
    PathState* path = ReadyPath(*this);
    if (!path) return false;
    if (cairo_t* cr = DcPaint::Cairo(*this)) {
        Replay(cr, path->segments, DcPaint::PenOffset(*this), false);
        DcPaint::Stroke(*this);
    }
    path->Clear();
    return true;
}

bool Dc::FillPath()
{
    PathState* path = ReadyPath(*this);
    if (!path) return false;
    if (cairo_t* cr = DcPaint::Cairo(*this)) {
        Replay(cr, path->segments, 0.5, true);
        DcPaint::Fill(*this, path->fillMode == kWinding);
        cairo_new_path(cr);
    }
    path->Clear();
    return true;
}

bool Dc::StrokeAndFillPath()
{
    PathState* path = ReadyPath(*this);
    if (!path) return false;
    if (cairo_t* cr = DcPaint::Cairo(*this)) {
        Replay(cr, path->segments, 0.5, true);
        DcPaint::Fill(*this, path->fillMode == kWinding);
        Replay(cr, path->segments, DcPaint::PenOffset(*this), true);
        DcPaint::Stroke(*this);
    }
    path->Clear();
    return true;
}

int Dc::SetPolyFillMode(int mode)
{
    if (mode != kAlternate && mode != kWinding) return 0;
    return std::exchange(DcPaint::Path(*this).fillMode, mode);
}

int Dc::GetPolyFillMode() const
{
    const PathState* path = DcPaint::PathIfAny(*this);
    return path ? path->fillMode : kAlternate;
}

int Dc::SetArcDirection(int direction)
{
    if (direction != kCounterClockwise && direction != kClockwise) return 0;
    return std::exchange(DcPaint::Path(*this).arcDirection, direction);
}

int Dc::GetArcDirection() const
{
    const PathState* path = DcPaint::PathIfAny(*this);
    return path ? path->arcDirection : kCounterClockwise;
}

bool Dc::PolyBezier(std::span<const Point> points)
{
    if (points.size() < 4 || (points.size() - 1) % 3 != 0) return false;
    std::vector<PathSegment> segments{{Kind::kMove, DcPaint::DevX(*this, points[0].x), DcPaint::DevY(*this, points[0].y)}};
    for (std::size_t i = 1; i + 2 < points.size(); i += 3)
        segments.push_back(CurveOf(*this, points[i], points[i + 1], points[i + 2]));
    RecordOrStroke(*this, segments, 0);
    return true;
}

bool Dc::PolyBezierTo(std::span<const Point> points)
{
    if (points.empty() || points.size() % 3 != 0) return false;
    Point& current = DcPaint::Current(*this);
    std::vector<PathSegment> segments{{Kind::kMove, DcPaint::DevX(*this, current.x), DcPaint::DevY(*this, current.y)}};
    for (std::size_t i = 0; i + 2 < points.size(); i += 3)
        segments.push_back(CurveOf(*this, points[i], points[i + 1], points[i + 2]));
    current = points.back();
    RecordOrStroke(*this, segments, 1);
    return true;
}

bool Dc::Arc(int left, int top, int right, int bottom, int x1, int y1, int x2, int y2)
{
    const DevEllipse e = EllipseOf(*this, left, top, right, bottom);
    if (e.rx <= 0 || e.ry <= 0) return false;
    const double a0 = e.AngleOf(DcPaint::DevX(*this, x1), DcPaint::DevY(*this, y1));
    const double a1 = EndAngle(a0, e.AngleOf(DcPaint::DevX(*this, x2), DcPaint::DevY(*this, y2)), GetArcDirection());
    std::vector<PathSegment> segments{{Kind::kMove, e.X(a0), e.Y(a0)}};
    AppendArc(segments, e, a0, a1);
    RecordOrStroke(*this, segments, 0);
    return true;
}

bool Dc::ArcTo(int left, int top, int right, int bottom, int x1, int y1, int x2, int y2)
{
    const DevEllipse e = EllipseOf(*this, left, top, right, bottom);
    if (e.rx <= 0 || e.ry <= 0) return false;
    const double a0 = e.AngleOf(DcPaint::DevX(*this, x1), DcPaint::DevY(*this, y1));
    const double a1 = EndAngle(a0, e.AngleOf(DcPaint::DevX(*this, x2), DcPaint::DevY(*this, y2)), GetArcDirection());
    Point& current = DcPaint::Current(*this);
    std::vector<PathSegment> segments{{Kind::kMove, DcPaint::DevX(*this, current.x), DcPaint::DevY(*this, current.y)},
                                      {Kind::kLine, e.X(a0), e.Y(a0)}};
    AppendArc(segments, e, a0, a1);
    // The current position is the arc's end in logical units.
    const double endX = e.X(a1), endY = e.Y(a1);
    const double sx = (right - left) != 0 ? (DcPaint::DevX(*this, right) - DcPaint::DevX(*this, left)) / (right - left) : 1;
    const double sy = (bottom - top) != 0 ? (DcPaint::DevY(*this, bottom) - DcPaint::DevY(*this, top)) / (bottom - top) : 1;
    current = Point(static_cast<int>(std::lround(left + (endX - DcPaint::DevX(*this, left)) / sx)),
                    static_cast<int>(std::lround(top + (endY - DcPaint::DevY(*this, top)) / sy)));
    RecordOrStroke(*this, segments, 1);
    return true;
}

bool Dc::RecordEllipse(int left, int top, int right, int bottom)
{
    PathState& path = DcPaint::Path(*this);
    if (!path.recording) return false;
    const DevEllipse e = EllipseOf(*this, left, top, right, bottom);
    if (e.rx <= 0 || e.ry <= 0) return true; // nothing to enclose: nothing recorded
    const double turn = GetArcDirection() == kClockwise ? 2 * std::numbers::pi : -2 * std::numbers::pi;
    path.segments.push_back({Kind::kMove, e.X(0), e.Y(0)});
    AppendArc(path.segments, e, 0, turn);
    path.segments.push_back({Kind::kClose});
    // As for a figure drawn outside a path, the current position stays where it was.
    return true;
}

void Dc::RoundRect(int left, int top, int right, int bottom, int cornerWidth, int cornerHeight)
{
    cairo_t* cr = DcPaint::Cairo(*this);
    if (!cr) return;
    double l = DcPaint::DevX(*this, left), r = DcPaint::DevX(*this, right);
    double t = DcPaint::DevY(*this, top), b = DcPaint::DevY(*this, bottom);
    if (l > r) std::swap(l, r);
    if (t > b) std::swap(t, b);
    if (r - l < 1 || b - t < 1) return;
    const double cw = std::abs(DcPaint::DevX(*this, cornerWidth) - DcPaint::DevX(*this, 0));
    const double ch = std::abs(DcPaint::DevY(*this, cornerHeight) - DcPaint::DevY(*this, 0));
    auto outline = [&](double x0, double y0, double x1, double y1) {
        const double rx = std::min(cw, x1 - x0) / 2, ry = std::min(ch, y1 - y0) / 2;
        std::vector<PathSegment> s;
        if (rx <= 0 || ry <= 0) {
            s = {{Kind::kMove, x0, y0}, {Kind::kLine, x1, y0}, {Kind::kLine, x1, y1}, {Kind::kLine, x0, y1}, {Kind::kClose}};
        } else {
            s.push_back({Kind::kMove, x0 + rx, y0});
            s.push_back({Kind::kLine, x1 - rx, y0});
            AppendArc(s, {x1 - rx, y0 + ry, rx, ry}, -kQuarterTurn, 0);
            s.push_back({Kind::kLine, x1, y1 - ry});
            AppendArc(s, {x1 - rx, y1 - ry, rx, ry}, 0, kQuarterTurn);
            s.push_back({Kind::kLine, x0 + rx, y1});
            AppendArc(s, {x0 + rx, y1 - ry, rx, ry}, kQuarterTurn, 2 * kQuarterTurn);
            s.push_back({Kind::kLine, x0, y0 + ry});
            AppendArc(s, {x0 + rx, y0 + ry, rx, ry}, 2 * kQuarterTurn, 3 * kQuarterTurn);
            s.push_back({Kind::kClose});
        }
        return s;
    };
    Replay(cr, outline(l, t, r, b), 0, false);
    DcPaint::Fill(*this, true);
    // The pen runs through the centres of the outermost pixels, as for Rectangle.
    Replay(cr, outline(l + 0.5, t + 0.5, r - 0.5, b - 0.5), 0, false);
    DcPaint::Stroke(*this);
}

} // namespace plat
