// What the shape painters of every family share: the points as a vector, the box of the
// first two points, the adjust rule of a third point, and a path bracket that strokes and
// fills with winding fill in a chosen arc direction and puts the DC's modes back.
#pragma once
#include <algorithm>
#include <cstdlib>
#include <initializer_list>
#include <vector>

#include "document/render_context.h"
#include "objects/point_list.h"
#include "platform/gfx/dc.h"

namespace shapepaint {

inline std::vector<plat::Point> PointsOf(const CPointList& list)
{
    std::vector<plat::Point> out;
    out.reserve(static_cast<std::size_t>(list.GetCount()));
    for (int i = 0; i < list.GetCount(); ++i) out.push_back(list.GetPoint(i));
    return out;
}

// The extremes of the first two points and their middle (integer halves truncate).
struct Box {
    int L, T, R, B, w, h, mx, my;
    Box(plat::Point p0, plat::Point p1)
        : L(std::min(p0.x, p1.x)), T(std::min(p0.y, p1.y)), R(std::max(p0.x, p1.x)), B(std::max(p0.y, p1.y)),
          w(R - L), h(B - T), mx((L + R) / 2), my((T + B) / 2)
    {
    }
    // The inset a dragged adjust point at x = a gives: outside the box it falls back to
    // `outside`, past the middle it is mirrored, so either half gives the same inset.
    int Inset(int a, int outside) const
    {
        if (a < L || a > R) a = outside;
        if (a > mx) a = R + L - a;
        return a - L;
    }
};

// An arc of the ellipse in the rectangle (normalised first); an ellipse with no width or
// height draws the straight line to the arc's end instead, which is what it collapses to.
inline void ArcToOrLine(plat::Dc& dc, int l, int t, int r, int b, plat::Point from, plat::Point to)
{
    if (l > r) std::swap(l, r);
    if (t > b) std::swap(t, b);
    if (!dc.ArcTo(l, t, r, b, from.x, from.y, to.x, to.y)) dc.LineTo(to.x, to.y);
}

// A path that is stroked with the DC's pen and filled with its brush using winding fill.
// The arc direction and fill mode in force before are put back when the bracket ends,
// whatever happened in between.
class FilledPath {
public:
    FilledPath(plat::Dc& dc, int arcDirection) : m_dc(dc)
    {
        m_oldFill = dc.SetPolyFillMode(plat::kWinding);
        m_oldArc = dc.SetArcDirection(arcDirection);
        dc.BeginPath();
    }
    ~FilledPath()
    {
        m_dc.AbortPath();
        m_dc.SetArcDirection(m_oldArc);
        m_dc.SetPolyFillMode(m_oldFill);
    }
    FilledPath(const FilledPath&) = delete;
    FilledPath& operator=(const FilledPath&) = delete;
    void SetArcDirection(int direction) { m_dc.SetArcDirection(direction); }
    // Closes the figure and strokes and fills it.
    void Finish()
    {
        m_dc.CloseFigure();
        m_dc.EndPath();
        m_dc.StrokeAndFillPath();
    }

private:
    plat::Dc& m_dc;
    int m_oldFill = plat::kAlternate;
    int m_oldArc = plat::kCounterClockwise;
};

inline void LineThrough(plat::Dc& dc, std::initializer_list<plat::Point> points)
{
    bool first = true;
    for (const plat::Point& p : points) {
        if (first)
            dc.MoveTo(p.x, p.y);
        else
            dc.LineTo(p.x, p.y);
        first = false;
    }
}

} // namespace shapepaint
