// Paths, Bézier curves, arcs and rounded rectangles of the DC, checked by reading pixels.
#include <gtest/gtest.h>

#include "platform/gfx/dc.h"
#include "tests/support/pixel_probe.h"

namespace {

using plat::Brush;
using plat::Pen;
using plat::Point;
using plat::Rect;
using testsupport::kBlack;
using testsupport::kRed;
using testsupport::kWhite;

struct PathCanvas : testsupport::Canvas {
    Pen pen{plat::kPenSolid, 1, kBlack};
    Brush brush = Brush::Solid(kRed);
    PathCanvas() : testsupport::Canvas(100, 100)
    {
        dc.Select(&pen);
        dc.Select(&brush);
    }
    int InkIn(const Rect& r) const { return testsupport::InkOn(*bitmap, r).count; }
};

TEST(GfxPath, StrokeDrawsOnlyOnceTheBracketIsClosedAndDiscardsThePath)
{
    PathCanvas c;
    EXPECT_FALSE(c.dc.StrokePath()); // no path yet
    ASSERT_TRUE(c.dc.BeginPath());
    c.dc.MoveTo(10, 10);
    c.dc.LineTo(60, 10);
    EXPECT_EQ(c.InkIn(Rect(0, 0, 100, 100)), 0); // recorded, not drawn
    EXPECT_FALSE(c.dc.StrokePath());              // bracket still open
    ASSERT_TRUE(c.dc.EndPath());
    ASSERT_TRUE(c.dc.StrokePath());
    EXPECT_EQ(c.At(30, 10), kBlack);
    EXPECT_EQ(c.At(30, 50), kWhite);
    EXPECT_FALSE(c.dc.StrokePath()); // used up
    EXPECT_EQ(c.dc.MoveTo(0, 0), Point(60, 10)); // the current position followed the path
}

TEST(GfxPath, AbortPathDiscardsWithoutDrawing)
{
    PathCanvas c;
    c.dc.BeginPath();
    c.dc.MoveTo(10, 10);
    c.dc.LineTo(60, 60);
    c.dc.EndPath();
    EXPECT_TRUE(c.dc.AbortPath());
    EXPECT_FALSE(c.dc.StrokeAndFillPath());
    EXPECT_EQ(c.InkIn(Rect(0, 0, 100, 100)), 0);
    EXPECT_FALSE(c.dc.AbortPath());
}

// Two squares drawn the same way round: winding fills the inner one, alternate leaves it
// a hole.
TEST(GfxPath, WindingAndAlternateFillModes)
{
    struct Row {
        int mode;
        plat::ColorRef centre;
    } rows[] = {{plat::kWinding, kRed}, {plat::kAlternate, kWhite}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.mode);
        PathCanvas c;
        EXPECT_EQ(c.dc.SetPolyFillMode(r.mode), plat::kAlternate);
        EXPECT_EQ(c.dc.GetPolyFillMode(), r.mode);
        c.dc.BeginPath();
        for (int inset : {10, 30}) {
            c.dc.MoveTo(inset, inset);
            c.dc.LineTo(100 - inset, inset);
            c.dc.LineTo(100 - inset, 100 - inset);
            c.dc.LineTo(inset, 100 - inset);
            c.dc.CloseFigure();
        }
        c.dc.EndPath();
        ASSERT_TRUE(c.dc.FillPath());
        EXPECT_EQ(c.At(50, 50), r.centre);
        EXPECT_EQ(c.At(20, 50), kRed);
        EXPECT_EQ(c.At(5, 50), kWhite);
    }
    PathCanvas c;
    EXPECT_EQ(c.dc.SetPolyFillMode(7), 0);
    EXPECT_EQ(c.dc.GetPolyFillMode(), plat::kAlternate);
}

TEST(GfxPath, StrokeAndFillClosesOpenFigures)
{
    PathCanvas c;
    c.dc.BeginPath();
    c.dc.MoveTo(10, 10);
    c.dc.LineTo(90, 10);
    c.dc.LineTo(90, 90); // the edge back to (10, 10) is left open
    c.dc.EndPath();
    ASSERT_TRUE(c.dc.StrokeAndFillPath());
    EXPECT_EQ(c.At(80, 30), kRed);   // inside
    EXPECT_EQ(c.At(50, 50), kBlack); // on the closing diagonal
    EXPECT_EQ(c.At(20, 60), kWhite); // outside
}

TEST(GfxPath, BezierCurvesAndChains)
{
    PathCanvas c;
    const Point curve[] = {{10, 50}, {10, 10}, {70, 10}, {70, 50}};
    ASSERT_TRUE(c.dc.PolyBezier(curve));
    // At t = 1/2 the curve passes (40, 20); its chord's middle (40, 50) stays empty.
    EXPECT_GT(c.InkIn(Rect(39, 19, 42, 22)), 0);
    EXPECT_EQ(c.InkIn(Rect(35, 40, 45, 60)), 0);
    EXPECT_FALSE(c.dc.PolyBezier(std::span<const Point>(curve, 3)));

    // PolyBezierTo goes on from the current position and moves it to the last end.
    c.dc.MoveTo(10, 90);
    const Point chain[] = {{30, 70}, {50, 70}, {70, 90}, {80, 95}, {85, 95}, {90, 90}};
    ASSERT_TRUE(c.dc.PolyBezierTo(chain));
    EXPECT_EQ(c.dc.MoveTo(0, 0), Point(90, 90));
    EXPECT_GT(c.InkIn(Rect(38, 73, 43, 78)), 0);
    EXPECT_FALSE(c.dc.PolyBezierTo(std::span<const Point>(chain, 2)));
}

// From the right of the circle to its top: the short way counter-clockwise, the long way
// (through the bottom) clockwise.
TEST(GfxPath, ArcRunsInTheArcDirection)
{
    struct Row {
        int direction;
        bool upperRight, bottom;
    } rows[] = {{plat::kCounterClockwise, true, false}, {plat::kClockwise, false, true}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.direction);
        PathCanvas c;
        EXPECT_EQ(c.dc.SetArcDirection(r.direction), plat::kCounterClockwise);
        ASSERT_TRUE(c.dc.Arc(10, 10, 90, 90, 95, 50, 50, 0));
        EXPECT_EQ(c.InkIn(Rect(75, 19, 82, 26)) > 0, r.upperRight);
        EXPECT_EQ(c.InkIn(Rect(47, 86, 54, 92)) > 0, r.bottom);
        EXPECT_EQ(c.InkIn(Rect(18, 18, 26, 26)) > 0, r.bottom); // upper left: only the long way
    }
}

TEST(GfxPath, ArcToJoinsFromTheCurrentPositionAndEndsAtTheArcsEnd)
{
    PathCanvas c;
    c.dc.MoveTo(5, 95);
    ASSERT_TRUE(c.dc.ArcTo(10, 10, 90, 90, 95, 50, 50, 0));
    EXPECT_EQ(c.dc.MoveTo(0, 0), Point(50, 10));
    EXPECT_GT(c.InkIn(Rect(48, 70, 53, 75)), 0); // the line from (5, 95) to (90, 50)
    // Inside a path, ArcTo records: a filled quarter disc with its two radii.
    PathCanvas d;
    d.dc.BeginPath();
    d.dc.MoveTo(50, 50);
    d.dc.ArcTo(10, 10, 90, 90, 95, 50, 50, 0);
    d.dc.LineTo(50, 50);
    d.dc.EndPath();
    ASSERT_TRUE(d.dc.FillPath());
    EXPECT_EQ(d.At(65, 35), kRed);
    EXPECT_EQ(d.At(35, 35), kWhite);
    EXPECT_EQ(d.At(65, 65), kWhite);
}

TEST(GfxPath, RoundRectRoundsItsCorners)
{
    PathCanvas c;
    c.dc.RoundRect(10, 10, 90, 70, 30, 30);
    EXPECT_EQ(c.At(11, 11), kWhite);  // cut corner
    EXPECT_EQ(c.At(50, 40), kRed);    // inside
    EXPECT_EQ(c.At(50, 10), kBlack);  // top edge
    EXPECT_EQ(c.At(89, 40), kBlack);  // right edge
    EXPECT_EQ(c.At(50, 70), kWhite);  // the bottom edge is left out
    // No corner size: a plain rectangle.
    PathCanvas d;
    d.dc.RoundRect(10, 10, 90, 70, 0, 0);
    EXPECT_EQ(d.At(10, 10), kBlack);
}

} // namespace

namespace {

// Two circles recorded in one path, the inner one run in the given direction and the outer
// one counter-clockwise, stroked and filled with winding fill.
void TwoCircles(PathCanvas& c, int innerDirection)
{
    c.dc.SetPolyFillMode(plat::kWinding);
    c.dc.BeginPath();
    c.dc.SetArcDirection(innerDirection);
    c.dc.Ellipse(35, 35, 65, 65);
    c.dc.SetArcDirection(plat::kCounterClockwise);
    c.dc.Ellipse(10, 10, 90, 90);
    c.dc.EndPath();
    c.dc.StrokeAndFillPath();
}

TEST(GfxPath, EllipsesInAPathRunInTheArcDirection)
{
    struct Row {
        const char* name;
        int innerDirection;
        plat::ColorRef centre;
    } rows[] = {
        {"opposite directions leave a hole", plat::kClockwise, kWhite},
        {"the same direction fills the centre", plat::kCounterClockwise, kRed},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        PathCanvas c;
        c.dc.MoveTo(3, 4);
        TwoCircles(c, r.innerDirection);
        EXPECT_EQ(c.At(50, 50), r.centre);
        EXPECT_EQ(c.At(50, 20), kRed);   // between the circles
        EXPECT_EQ(c.At(50, 10), kBlack); // the outer rim
        EXPECT_EQ(c.At(5, 5), kWhite);
        EXPECT_EQ(c.dc.MoveTo(0, 0), Point(3, 4)); // the current position stayed
    }
}

TEST(GfxPath, FlatEllipseInAPathRecordsNothingAndTheDcDrawsOn)
{
    PathCanvas c;
    c.dc.BeginPath();
    c.dc.Ellipse(10, 50, 90, 50); // no height
    c.dc.EndPath();
    c.dc.StrokeAndFillPath();
    EXPECT_EQ(c.InkIn(Rect(0, 0, 100, 100)), 0);
    // Drawing afterwards is unharmed, and outside a bracket Ellipse draws at once.
    c.dc.Ellipse(20, 20, 40, 40);
    EXPECT_EQ(c.At(30, 30), kRed);
    EXPECT_EQ(c.At(20, 30), kBlack);
}

} // namespace
