// Internal to platform/gfx: the path a DC records between BeginPath and EndPath, and what
// the path code (path.cpp) needs of a DC beyond its public face.
#pragma once
#include <cairo.h>

#include <vector>

#include "platform/base/geometry.h"
#include "platform/gfx/dc.h"

namespace plat::gfx_detail {

// One step of a recorded path, in device pixels.
struct PathSegment {
    enum class Kind { kMove, kLine, kCurve, kClose };
    Kind kind = Kind::kMove;
    double x = 0, y = 0;          // the end point
    double c1x = 0, c1y = 0;      // control points of a curve
    double c2x = 0, c2y = 0;
};

struct PathState {
    bool recording = false; // between BeginPath and EndPath
    bool ready = false;     // EndPath closed a bracket; the path waits to be used
    std::vector<PathSegment> segments;
    int fillMode = kAlternate;
    int arcDirection = kCounterClockwise;

    void Clear()
    {
        recording = false;
        ready = false;
        segments.clear();
    }
};

struct DcPaint {
    // The DC's path state, made on first use.
    static PathState& Path(Dc& dc);
    static const PathState* PathIfAny(const Dc& dc);
    // Null when no bitmap is selected.
    static cairo_t* Cairo(Dc& dc);
    static double DevX(const Dc& dc, int x);
    static double DevY(const Dc& dc, int y);
    static Point& Current(Dc& dc);
    // Fills Cairo's current path with the brush (kept for a stroke).
    static void Fill(Dc& dc, bool winding);
    // Strokes Cairo's current path with the pen and clears it.
    static void Stroke(Dc& dc);
    // Where paths are laid for the pen: half a pixel in for odd widths.
    static double PenOffset(const Dc& dc);
};

} // namespace plat::gfx_detail
