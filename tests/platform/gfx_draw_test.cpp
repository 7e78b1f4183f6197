// Drawing on memory DCs, checked by reading pixels back: text placement by alignment,
// background modes, pens, brushes, shapes, inversion, selection, bitmaps and PNG files.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "platform/base/system.h"
#include "platform/gfx/dc.h"
#include "tests/support/pixel_probe.h"

namespace {

using plat::Bitmap;
using plat::Brush;
using plat::ColorRef;
using plat::Font;
using plat::FontDesc;
using plat::MemoryDc;
using plat::Pen;
using plat::Point;
using plat::Rect;
using plat::Rgb;

constexpr ColorRef kWhite = Rgb(255, 255, 255);
constexpr ColorRef kBlack = Rgb(0, 0, 0);
constexpr ColorRef kRed = Rgb(255, 0, 0);
constexpr ColorRef kBlue = Rgb(0, 0, 255);
constexpr ColorRef kGreen = Rgb(0, 160, 0);

class GfxCanvas : public testing::Test {
protected:
    void SetUp() override
    {
        bitmap = Bitmap::Create(240, 160);
        ASSERT_TRUE(bitmap);
        bitmap->Fill(kWhite);
        EXPECT_EQ(dc.Select(bitmap.get()), nullptr);
    }

    ColorRef At(int x, int y) const { return bitmap->GetPixel(x, y); }

    // The bounding box of every pixel that is not white; nullopt when there is none.
    std::optional<Rect> Ink() const
    {
        const testsupport::Ink ink = testsupport::InkOn(*bitmap, testsupport::Whole(*bitmap), kWhite);
        return ink.count ? std::optional<Rect>(ink.box) : std::nullopt;
    }

    // The set of colours present, white included, in increasing order.
    std::vector<ColorRef> Colours() const
    {
        std::vector<ColorRef> seen;
        for (int y = 0; y < bitmap->Height(); ++y)
            for (int x = 0; x < bitmap->Width(); ++x)
                if (std::find(seen.begin(), seen.end(), At(x, y)) == seen.end()) seen.push_back(At(x, y));
        std::sort(seen.begin(), seen.end());
        return seen;
    }

    // Lengths of the alternating runs of non-white and white along row y from x0 to x1.
    std::vector<int> Runs(int y, int x0, int x1) const
    {
        std::vector<int> runs;
        bool inked = true;
        int len = 0;
        for (int x = x0; x < x1; ++x) {
            const bool here = At(x, y) != kWhite;
            if (here == inked) {
                ++len;
            } else {
                runs.push_back(len);
                inked = here;
                len = 1;
            }
        }
        runs.push_back(len);
        return runs;
    }

    void Clear() { bitmap->Fill(kWhite); }

    std::unique_ptr<Bitmap> bitmap;
    MemoryDc dc;
};

std::vector<ColorRef> Set(std::vector<ColorRef> colours)
{
    std::sort(colours.begin(), colours.end());
    return colours;
}

FontDesc SongTi(int height)
{
    FontDesc d;
    d.face = u"宋体";
    d.height = height;
    return d;
}

struct AlignCase {
    unsigned align;
    int dx;       // where the text's cell starts, relative to the reference x, in extents
    int dyAscent; // ... and its top, relative to the reference y: 0 top, -1 ascent above, -2 height above
};

class GfxTextAlignment : public GfxCanvas, public testing::WithParamInterface<AlignCase> {};

TEST_P(GfxTextAlignment, InkLiesInTheCellTheAlignmentNames)
{
    const AlignCase& c = GetParam();
    Font font(SongTi(-16));
    dc.Select(&font);
    dc.SetBkMode(plat::kTransparent);
    dc.SetTextColor(kRed);
    dc.SetTextAlign(c.align);
    const auto tm = dc.GetTextMetrics();
    const int w = dc.GetTextExtent(u"中国").cx;
    ASSERT_EQ(w, 32);
    const int x = 120, y = 80;
    dc.TextOut(x, y, u"中国");

    int left = x;
    if (c.dx == -1) left = x - w;
    if (c.dx == -2) left = x - w / 2;
    int top = y;
    if (c.dyAscent == -1) top = y - tm.ascent;
    if (c.dyAscent == -2) top = y - tm.height;
    const Rect cell(left, top, left + w, top + tm.height);

    const auto ink = Ink();
    ASSERT_TRUE(ink);
    EXPECT_EQ(ink->Intersect(cell), *ink) << "ink " << ink->left << "," << ink->top << " " << ink->right << ","
                                            << ink->bottom;
    // Two full-width characters fill most of their cell.
    EXPECT_GE(ink->Width(), w - 4);
    EXPECT_GE(ink->Height(), tm.height / 2);
    // Without antialiasing every glyph pixel has exactly the text colour.
    EXPECT_EQ(Colours(), Set({kRed, kWhite}));
}

INSTANTIATE_TEST_SUITE_P(Alignments, GfxTextAlignment,
                         testing::Values(AlignCase{plat::kTaLeft | plat::kTaTop, 0, 0},
                                         AlignCase{plat::kTaLeft | plat::kTaBaseline, 0, -1},
                                         AlignCase{plat::kTaLeft | plat::kTaBottom, 0, -2},
                                         AlignCase{plat::kTaRight | plat::kTaTop, -1, 0},
                                         AlignCase{plat::kTaRight | plat::kTaBaseline, -1, -1},
                                         AlignCase{plat::kTaCenter | plat::kTaBaseline, -2, -1}));

TEST_F(GfxCanvas, AlignmentMovesTheSamePixels)
{
    Font font(FontDesc{u"Times New Roman", -20});
    dc.Select(&font);
    dc.SetBkMode(plat::kTransparent);
    const int w = dc.GetTextExtent(u"Hello").cx;
    dc.SetTextAlign(plat::kTaLeft | plat::kTaBaseline);
    dc.TextOut(100, 60, u"Hello");
    const auto left = Ink();
    Clear();
    dc.SetTextAlign(plat::kTaRight | plat::kTaBaseline);
    dc.TextOut(100, 60, u"Hello");
    auto right = Ink();
    ASSERT_TRUE(left && right);
    right->Offset(w, 0);
    EXPECT_EQ(*right, *left);
}

TEST_F(GfxCanvas, TextQualityChoosesAntialiasedOrAliasedGlyphsOnTheSamePenPositions)
{
    EXPECT_EQ(FontDesc{}.quality, plat::kDefaultQuality);
    struct Case {
        std::uint8_t quality;
        bool smooth;
    };
    const Case cases[] = {
        {plat::kDefaultQuality, true},
        {plat::kAntialiasedQuality, true},
        {plat::kClearTypeQuality, true},
        {plat::kNonAntialiasedQuality, false},
    };
    std::optional<Rect> aliasedInk;
    std::vector<std::optional<Rect>> letters; // the ink of each case
    std::optional<int> extent;
    for (const Case& c : cases) {
        SCOPED_TRACE(int(c.quality));
        FontDesc d{u"Times New Roman", -20};
        d.quality = c.quality;
        Font font(d);
        Clear();
        dc.Select(&font);
        dc.SetBkMode(plat::kTransparent);
        dc.SetTextColor(kBlue);
        // Measuring never depends on the quality.
        const int w = dc.GetTextExtent(u"Wavy").cx;
        EXPECT_EQ(w, extent.value_or(w));
        extent = w;
        dc.TextOut(20, 40, u"Wavy");
        const std::vector<ColorRef> colours = Colours();
        const testsupport::Ink ink = testsupport::InkOn(*bitmap, testsupport::Whole(*bitmap));
        // Every pixel is blue or a mix of blue and the white background.
        EXPECT_EQ(testsupport::TextInkOf(*bitmap, testsupport::Whole(*bitmap), kBlue, 0).count, ink.count);
        if (c.smooth) {
            EXPECT_GT(colours.size(), 4u) << "edges in shades between blue and white";
        } else {
            EXPECT_EQ(colours, Set({kBlue, kWhite}));
        }
        if (!c.smooth) aliasedInk = ink.box;
        letters.push_back(ink.box);
    }
    // The aliased text (last) and the smooth ones cover the same cells, give or take the
    // shaded edge pixel: the pen stands on the same whole pixels whatever the quality.
    ASSERT_TRUE(aliasedInk);
    for (size_t k = 0; k + 1 < letters.size(); ++k) {
        EXPECT_LE(std::abs(letters[k]->left - aliasedInk->left), 1);
        EXPECT_LE(std::abs(letters[k]->right - aliasedInk->right), 1);
        EXPECT_LE(std::abs(letters[k]->bottom - aliasedInk->bottom), 1);
    }
}

TEST_F(GfxCanvas, OpaqueBackgroundFillsExactlyTheCell)
{
    Font font(SongTi(-16));
    dc.Select(&font);
    dc.SetBkColor(kBlue);
    dc.SetTextColor(kBlack);
    EXPECT_EQ(dc.GetBkMode(), plat::kOpaque); // a fresh DC is opaque
    dc.TextOut(20, 30, u"中文");
    const auto tm = dc.GetTextMetrics();
    const Rect cell(20, 30, 20 + 32, 30 + tm.height);
    EXPECT_EQ(Ink(), cell);
    for (int y = cell.top; y < cell.bottom; ++y)
        for (int x = cell.left; x < cell.right; ++x) ASSERT_TRUE(At(x, y) == kBlue || At(x, y) == kBlack);
    EXPECT_EQ(Colours(), Set({kBlack, kWhite, kBlue}));

    Clear();
    EXPECT_EQ(dc.SetBkMode(plat::kTransparent), plat::kOpaque);
    dc.TextOut(20, 30, u"中文");
    EXPECT_EQ(Colours(), Set({kBlack, kWhite}));
}

TEST_F(GfxCanvas, UnderlineAndStrikeOutSpanTheText)
{
    FontDesc d{u"Times New Roman", -24};
    d.underline = true;
    d.strikeOut = true;
    Font font(d);
    dc.Select(&font);
    dc.SetBkMode(plat::kTransparent);
    dc.SetTextAlign(plat::kTaBaseline);
    const int w = dc.GetTextExtent(u"a b").cx;
    dc.TextOut(40, 80, u"a b");
    // Rows that are inked over the whole width: one under the baseline, one through the
    // middle of the lower-case letters (the space between them shows it best).
    std::vector<int> fullRows;
    for (int y = 40; y < 100; ++y) {
        bool full = true;
        for (int x = 40; x < 40 + w; ++x) full = full && At(x, y) == kBlack;
        if (full) fullRows.push_back(y);
    }
    ASSERT_GE(fullRows.size(), 2u);
    EXPECT_GT(fullRows.back(), 80);  // underline below the baseline
    EXPECT_LT(fullRows.front(), 80); // strike-out above it
    EXPECT_EQ(At(40 + w, fullRows.back()), kWhite);
}

TEST_F(GfxCanvas, EscapementTurnsTextCounterClockwise)
{
    FontDesc d = SongTi(-16);
    d.escapement = 900;
    Font font(d);
    dc.Select(&font);
    dc.SetBkMode(plat::kTransparent);
    dc.SetTextAlign(plat::kTaBaseline);
    const auto tm = dc.GetTextMetrics();
    dc.TextOut(100, 120, u"中文字");
    const auto ink = Ink();
    ASSERT_TRUE(ink);
    // Reading upward from the reference point, the tops of the glyphs to the left.
    EXPECT_GE(ink->left, 100 - tm.ascent);
    EXPECT_LE(ink->right, 100 + tm.descent);
    EXPECT_GE(ink->top, 120 - 48);
    EXPECT_LE(ink->bottom, 120);
    EXPECT_GE(ink->Height(), 40);
}

TEST_F(GfxCanvas, TwipsModeMapsUpwardYToPixels)
{
    dc.SetMapMode(plat::kMmTwips);
    dc.Select(plat::StockPen(plat::StockObject::kNullPen));
    const Brush red = Brush::Solid(kRed);
    dc.Select(&red);
    // 1500 twips = 100 pixels at 96 dpi; y below the origin is negative.
    dc.Rectangle(150, -150, 1500, -750);
    EXPECT_EQ(Ink(), Rect(10, 10, 100, 50));
    EXPECT_EQ(dc.GetPixel(150, -150), kRed);
    EXPECT_EQ(dc.GetPixel(150, 150), plat::kInvalidColor); // above the top edge

    Clear();
    Font font(SongTi(-240));
    dc.Select(&font);
    dc.SetBkMode(plat::kTransparent);
    dc.TextOut(1500, -1500, u"中"); // top-left at pixel (100, 100)
    const auto ink = Ink();
    ASSERT_TRUE(ink);
    EXPECT_EQ(ink->Intersect(Rect(100, 100, 116, 116)), *ink);
}

struct PenCase {
    plat::PenStyle style;
    std::vector<int> runs; // inked, blank, inked, ... from the line's first pixel
};

class GfxPenStyles : public GfxCanvas, public testing::WithParamInterface<PenCase> {};

TEST_P(GfxPenStyles, ThinLinesFollowTheirPattern)
{
    const PenCase& c = GetParam();
    const Pen pen(c.style, 1, kBlue);
    dc.Select(&pen);
    dc.SetBkMode(plat::kTransparent);
    dc.MoveTo(10, 20);
    dc.LineTo(58, 20);
    EXPECT_EQ(Runs(20, 10, 58), c.runs);
    EXPECT_EQ(At(9, 20), kWhite);
    EXPECT_EQ(At(58, 20), kWhite); // the last point is left out
    EXPECT_EQ(At(20, 19), kWhite);
    EXPECT_EQ(At(20, 21), kWhite);
}

INSTANTIATE_TEST_SUITE_P(Styles, GfxPenStyles,
                         testing::Values(PenCase{plat::kPenSolid, {48}}, PenCase{plat::kPenDash, {18, 6, 18, 6}},
                                         PenCase{plat::kPenDot, {3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3}},
                                         PenCase{plat::kPenDashDot, {9, 6, 3, 6, 9, 6, 3, 6}},
                                         PenCase{plat::kPenDashDotDot, {9, 3, 3, 3, 3, 3, 9, 3, 3, 3, 3, 3}}));

TEST_F(GfxCanvas, OpaqueModeFillsTheGapsOfStyledLines)
{
    const Pen pen(plat::kPenDash, 0, kBlue);
    dc.Select(&pen);
    dc.SetBkColor(kRed);
    dc.MoveTo(10, 20);
    dc.LineTo(58, 20);
    EXPECT_EQ(At(10, 20), kBlue);
    EXPECT_EQ(At(30, 20), kRed);
    EXPECT_EQ(Runs(20, 10, 58), std::vector<int>{48});
}

TEST_F(GfxCanvas, WidePensAndTheNullPen)
{
    const Pen wide(plat::kPenDash, 5, kBlue); // styles apply to thin pens only
    dc.Select(&wide);
    dc.MoveTo(20, 40);
    dc.LineTo(100, 40);
    for (int y = 38; y <= 42; ++y) EXPECT_EQ(At(60, y), kBlue) << y;
    EXPECT_EQ(At(60, 37), kWhite);
    EXPECT_EQ(At(60, 43), kWhite);
    EXPECT_EQ(Runs(40, 22, 98), std::vector<int>{76});

    const Pen even(plat::kPenSolid, 2, kRed);
    dc.Select(&even);
    dc.MoveTo(20, 80);
    dc.LineTo(100, 80);
    EXPECT_EQ(At(60, 78), kWhite);
    EXPECT_EQ(At(60, 79), kRed);
    EXPECT_EQ(At(60, 80), kRed);
    EXPECT_EQ(At(60, 81), kWhite);

    Clear();
    dc.Select(plat::StockPen(plat::StockObject::kNullPen));
    dc.MoveTo(10, 10);
    dc.LineTo(100, 100);
    EXPECT_FALSE(Ink());
}

TEST_F(GfxCanvas, DiagonalAndPolylineStrokesAreConnected)
{
    dc.MoveTo(10, 10);
    dc.LineTo(60, 35);
    for (int x = 10; x < 60; ++x) {
        int inked = 0;
        for (int y = 0; y < 60; ++y) inked += At(x, y) == kBlack;
        EXPECT_GE(inked, 1) << x;
    }
    Clear();
    const std::vector<Point> zigzag{{10, 100}, {50, 60}, {90, 100}, {130, 60}};
    dc.Polyline(zigzag);
    EXPECT_EQ(At(10, 100), kBlack);
    EXPECT_EQ(At(50, 60), kBlack);
    EXPECT_EQ(At(90, 100), kBlack);
    EXPECT_EQ(At(70, 80), kBlack);
    EXPECT_EQ(Ink()->Intersect(Rect(10, 60, 131, 101)), *Ink());
}

TEST_F(GfxCanvas, ThinDiagonalLinesDrawTheirFirstPixelAndLeaveOutTheLast)
{
    // A zigzag of 2 x 2 steps, as the spelling line is drawn: every corner shows.
    dc.MoveTo(10, 8);
    for (int i = 1; i < 6; ++i) dc.LineTo(10 + 2 * i, i % 2 ? 10 : 8);
    for (int x = 10; x < 20; ++x) {
        const int y = x % 4 == 2 ? 8 : x % 4 == 0 ? 10 : 9;
        EXPECT_EQ(At(x, y), kBlack) << x;
        for (int other = 7; other <= 11; ++other) {
            if (other == y) continue;
            EXPECT_EQ(At(x, other), kWhite) << x << "," << other;
        }
    }
    EXPECT_EQ(At(20, 10), kWhite) << "the last point is left out";

    Clear();
    dc.MoveTo(30, 30);
    dc.LineTo(40, 35);
    EXPECT_EQ(At(30, 30), kBlack);
    EXPECT_EQ(At(40, 35), kWhite);
    EXPECT_EQ(Ink(), Rect(30, 30, 40, 35));
}

TEST_F(GfxCanvas, PatternRunsOnAlongAPolylineOfThinLines)
{
    const Pen dot(plat::kPenDot, 1, kBlue);
    dc.Select(&dot);
    dc.SetBkMode(plat::kTransparent);
    // Two pixels in the first line, then the dot pattern goes on round the corner.
    const std::vector<Point> corner{{10, 20}, {12, 20}, {12, 40}};
    dc.Polyline(corner);
    EXPECT_EQ(At(10, 20), kBlue);
    EXPECT_EQ(At(11, 20), kBlue);
    EXPECT_EQ(At(12, 20), kBlue);
    EXPECT_EQ(At(12, 21), kWhite);
    EXPECT_EQ(At(12, 23), kWhite);
    EXPECT_EQ(At(12, 24), kBlue);
    // A line that lies wholly outside the bitmap draws nothing and costs no time.
    Clear();
    dc.Select(plat::StockPen(plat::StockObject::kBlackPen));
    dc.MoveTo(-4000000, -10);
    dc.LineTo(4000000, -10);
    EXPECT_FALSE(Ink());
}

TEST_F(GfxCanvas, RectangleCoversRightAndBottomExclusive)
{
    const Brush fill = Brush::Solid(kGreen);
    const Pen border(plat::kPenSolid, 1, kBlue);
    dc.Select(&fill);
    dc.Select(&border);
    dc.Rectangle(10, 20, 30, 50);
    EXPECT_EQ(Ink(), Rect(10, 20, 30, 50));
    EXPECT_EQ(At(10, 20), kBlue);
    EXPECT_EQ(At(29, 49), kBlue);
    EXPECT_EQ(At(29, 30), kBlue);
    EXPECT_EQ(At(11, 21), kGreen);
    EXPECT_EQ(At(28, 48), kGreen);

    Clear();
    dc.Select(plat::StockBrush(plat::StockObject::kNullBrush));
    dc.Rectangle(10, 20, 30, 50);
    EXPECT_EQ(At(10, 35), kBlue);
    EXPECT_EQ(At(20, 35), kWhite);

    Clear();
    dc.Select(&fill);
    dc.Select(plat::StockPen(plat::StockObject::kNullPen));
    dc.Rectangle(30, 50, 10, 20); // corners in either order
    EXPECT_EQ(Ink(), Rect(10, 20, 30, 50));
    EXPECT_EQ(Colours(), Set({kGreen, kWhite}));
}

TEST_F(GfxCanvas, EllipseFillsItsBoxAndNotItsCorners)
{
    const Brush fill = Brush::Solid(kRed);
    dc.Select(&fill);
    dc.Select(plat::StockPen(plat::StockObject::kNullPen));
    dc.Ellipse(20, 10, 100, 50);
    EXPECT_EQ(Ink(), Rect(20, 10, 100, 50));
    EXPECT_EQ(At(60, 30), kRed);
    EXPECT_EQ(At(21, 11), kWhite);
    EXPECT_EQ(At(98, 48), kWhite);

    Clear();
    const Pen ring(plat::kPenSolid, 1, kBlue);
    dc.Select(&ring);
    dc.Select(plat::StockBrush(plat::StockObject::kNullBrush));
    dc.Ellipse(20, 10, 100, 50);
    EXPECT_EQ(Ink(), Rect(20, 10, 100, 50));
    EXPECT_EQ(At(60, 10), kBlue);
    EXPECT_EQ(At(20, 30), kBlue);
    EXPECT_EQ(At(60, 30), kWhite);

    Clear();
    const Pen redPen(plat::kPenSolid, 1, kRed);
    dc.Select(&fill);
    dc.Select(&redPen);
    dc.Ellipse(50, 50, 53, 53); // a dot of diameter 3, as underline dots are drawn
    EXPECT_EQ(At(51, 51), kRed);
    EXPECT_EQ(Ink()->Intersect(Rect(50, 50, 53, 53)), *Ink());
}

TEST_F(GfxCanvas, PolygonFillsAlternately)
{
    const Brush fill = Brush::Solid(kGreen);
    dc.Select(&fill);
    dc.Select(plat::StockPen(plat::StockObject::kNullPen));
    // A five-pointed star drawn in one stroke: its centre is crossed twice, so stays empty.
    const std::vector<Point> star{{100, 10}, {130, 100}, {55, 45}, {145, 45}, {70, 100}};
    dc.Polygon(star);
    EXPECT_EQ(At(100, 20), kGreen);  // top point
    EXPECT_EQ(At(100, 60), kWhite);  // centre
    EXPECT_EQ(At(60, 46), kGreen);   // left point
    EXPECT_EQ(At(100, 120), kWhite);

    Clear();
    const Pen border(plat::kPenSolid, 1, kBlack);
    dc.Select(&border);
    const std::vector<Point> triangle{{10, 10}, {60, 10}, {10, 60}};
    dc.Polygon(triangle);
    EXPECT_EQ(At(10, 10), kBlack);
    EXPECT_EQ(At(35, 10), kBlack);
    EXPECT_EQ(At(20, 20), kGreen);
    EXPECT_EQ(At(50, 50), kWhite);
}

struct HatchCase {
    plat::HatchStyle hatch;
    bool rows, columns, falling, rising; // line families the pattern must contain
};

class GfxHatches : public GfxCanvas, public testing::WithParamInterface<HatchCase> {};

TEST_P(GfxHatches, RepeatEveryEightPixelsAndKeepTheBackgroundWhenTransparent)
{
    const HatchCase& c = GetParam();
    const Brush brush = Brush::Hatched(c.hatch, kBlue);
    dc.SetBkMode(plat::kTransparent);
    dc.FillRect(Rect(0, 0, 64, 64), brush);
    EXPECT_EQ(Ink()->Intersect(Rect(0, 0, 64, 64)), *Ink());
    EXPECT_EQ(Colours(), Set({kWhite, kBlue}));
    bool fullRow = false, fullColumn = false, falling = false, rising = false;
    for (int i = 0; i < 8; ++i) {
        bool row = true, col = true, fall = true, rise = true;
        for (int j = 0; j < 48; ++j) {
            row = row && At(j, i) == kBlue;
            col = col && At(i, j) == kBlue;
            fall = fall && At(i + j, j) == kBlue;
            rise = rise && At(i + j, 56 - j) == kBlue;
        }
        fullRow |= row;
        fullColumn |= col;
        falling |= fall;
        rising |= rise;
    }
    EXPECT_EQ(fullRow, c.rows);
    EXPECT_EQ(fullColumn, c.columns);
    EXPECT_EQ(falling, c.falling);
    EXPECT_EQ(rising, c.rising);
    for (int y = 0; y < 56; ++y)
        for (int x = 0; x < 56; ++x) ASSERT_EQ(At(x, y), At(x + 8, y + 8));

    Clear();
    dc.SetBkMode(plat::kOpaque);
    dc.SetBkColor(kRed);
    dc.FillRect(Rect(0, 0, 64, 64), brush);
    EXPECT_EQ(Colours(), Set({kWhite, kBlue, kRed}));
    EXPECT_EQ(Ink(), Rect(0, 0, 64, 64));
}

INSTANTIATE_TEST_SUITE_P(Patterns, GfxHatches,
                         testing::Values(HatchCase{plat::kHatchHorizontal, true, false, false, false},
                                         HatchCase{plat::kHatchVertical, false, true, false, false},
                                         HatchCase{plat::kHatchFDiagonal, false, false, true, false},
                                         HatchCase{plat::kHatchBDiagonal, false, false, false, true},
                                         HatchCase{plat::kHatchCross, true, true, false, false},
                                         HatchCase{plat::kHatchDiagCross, false, false, true, true}));

TEST_F(GfxCanvas, InvertTwiceRestoresAndClipsAtTheEdges)
{
    bitmap->SetPixel(5, 5, Rgb(10, 20, 30));
    dc.InvertRect(Rect(-10, -10, 20, 20));
    EXPECT_EQ(At(0, 0), kBlack);
    EXPECT_EQ(At(19, 19), kBlack);
    EXPECT_EQ(At(20, 20), kWhite);
    EXPECT_EQ(At(5, 5), Rgb(245, 235, 225));
    dc.InvertRect(Rect(20, 20, -10, -10));
    EXPECT_EQ(At(5, 5), Rgb(10, 20, 30));
    EXPECT_EQ(Colours(), Set({Rgb(10, 20, 30), kWhite}));
    dc.InvertRect(Rect(1000, 1000, 5000, 5000)); // wholly outside: nothing
    EXPECT_EQ(At(239, 159), kWhite);
}

TEST_F(GfxCanvas, SelectReturnsWhatWasThereSoCallersCanRestore)
{
    const Pen* stockPen = dc.CurrentPen();
    const plat::Brush* stockBrush = dc.CurrentBrush();
    const Font* stockFont = dc.CurrentFont();
    EXPECT_EQ(stockPen, plat::StockPen(plat::StockObject::kBlackPen));
    EXPECT_EQ(stockBrush, plat::StockBrush(plat::StockObject::kWhiteBrush));
    EXPECT_EQ(stockFont, plat::DefaultGuiFont());

    const Pen red(plat::kPenSolid, 1, kRed), blue(plat::kPenSolid, 1, kBlue);
    EXPECT_EQ(dc.Select(&red), stockPen);
    EXPECT_EQ(dc.Select(&blue), &red);
    const Brush green = Brush::Solid(kGreen);
    EXPECT_EQ(dc.Select(&green), stockBrush);
    Font font(SongTi(-20));
    EXPECT_EQ(dc.Select(&font), stockFont);
    EXPECT_EQ(dc.Select(static_cast<const Pen*>(nullptr)), nullptr); // selects nothing
    EXPECT_EQ(dc.CurrentPen(), &blue);

    EXPECT_EQ(dc.SetTextColor(kRed), kBlack);
    EXPECT_EQ(dc.SetBkColor(kBlue), kWhite);
    EXPECT_EQ(dc.SetTextAlign(plat::kTaBaseline), plat::kTaLeft | plat::kTaTop);
    EXPECT_EQ(dc.SetBkMode(plat::kTransparent), plat::kOpaque);
    EXPECT_EQ(dc.SetBkMode(99), 0);
    EXPECT_EQ(dc.GetBkMode(), plat::kTransparent);

    // Putting everything back gives the stock objects' drawing again.
    dc.Select(stockPen);
    dc.Select(stockBrush);
    EXPECT_EQ(dc.Select(stockFont), &font);
    dc.Rectangle(10, 10, 20, 20);
    EXPECT_EQ(At(10, 10), kBlack);
    EXPECT_EQ(At(15, 15), kWhite);
    EXPECT_EQ(dc.GetTextMetrics().height - dc.GetTextMetrics().internalLeading, 12);
}

TEST_F(GfxCanvas, ObjectsDestroyedWhileSelectedDrawOn)
{
    {
        auto pen = std::make_unique<Pen>(plat::kPenSolid, 1, kRed);
        auto font = std::make_unique<Font>(SongTi(-16));
        dc.Select(pen.get());
        dc.Select(font.get());
    }
    dc.MoveTo(0, 100);
    dc.LineTo(50, 100);
    dc.SetBkMode(plat::kTransparent);
    dc.TextOut(60, 60, u"中");
    EXPECT_EQ(At(20, 100), kRed);
    EXPECT_EQ(dc.GetTextExtent(u"中").cx, 16);

    // A bitmap deleted while selected: drawing and reading stay safe.
    auto other = Bitmap::Create(10, 10);
    MemoryDc second;
    second.Select(other.get());
    other.reset();
    second.Rectangle(0, 0, 5, 5);
    second.InvertRect(Rect(0, 0, 10, 10));
    EXPECT_NE(second.GetPixel(2, 2), plat::kInvalidColor);
}

TEST(GfxMemoryDcWithoutBitmap, DrawsNothingAndReadsInvalid)
{
    MemoryDc dc;
    EXPECT_EQ(dc.CurrentBitmap(), nullptr);
    dc.Rectangle(0, 0, 10, 10);
    dc.TextOut(0, 0, u"x");
    dc.InvertRect(Rect(0, 0, 10, 10));
    EXPECT_EQ(dc.GetPixel(0, 0), plat::kInvalidColor);
    EXPECT_EQ(dc.SetPixel(0, 0, kRed), plat::kInvalidColor);
    EXPECT_EQ(dc.GetTextExtent(u"中").cx, 12); // still measures, with the 12-pixel default font

    plat::Dc printer(300, 300);
    MemoryDc compatible(&printer);
    EXPECT_EQ(compatible.LogPixelsY(), 300);
    EXPECT_EQ(compatible.GetDeviceCaps(plat::kLogPixelsX), 300);
}

TEST_F(GfxCanvas, PixelsOutsideReadInvalid)
{
    EXPECT_EQ(dc.GetPixel(-1, 0), plat::kInvalidColor);
    EXPECT_EQ(dc.GetPixel(240, 0), plat::kInvalidColor);
    EXPECT_EQ(dc.GetPixel(0, 160), plat::kInvalidColor);
    EXPECT_EQ(dc.SetPixel(3, 4, Rgb(1, 2, 3)), Rgb(1, 2, 3));
    EXPECT_EQ(bitmap->GetPixel(3, 4), Rgb(1, 2, 3));
    EXPECT_EQ(bitmap->GetPixel(-5, 4), plat::kInvalidColor);
    EXPECT_EQ(bitmap->Row(160), nullptr);
    bitmap->SetPixel(999, 999, kRed); // ignored
}

TEST(GfxBitmapCreate, RefusesSizesItCannotHold)
{
    EXPECT_FALSE(Bitmap::Create(0, 10));
    EXPECT_FALSE(Bitmap::Create(10, -1));
    EXPECT_FALSE(Bitmap::Create(Bitmap::kMaxSide + 1, 1));
    EXPECT_FALSE(Bitmap::Create(20000, 20000));
    auto b = Bitmap::Create(3, 2);
    ASSERT_TRUE(b);
    EXPECT_EQ(b->GetSize(), plat::Size(3, 2));
    EXPECT_EQ(b->GetPixel(2, 1), kBlack);
}

TEST_F(GfxCanvas, StretchBitmapCopiesByNearestPixel)
{
    auto src = Bitmap::Create(2, 2);
    src->SetPixel(0, 0, kRed);
    src->SetPixel(1, 0, kGreen);
    src->SetPixel(0, 1, kBlue);
    src->SetPixel(1, 1, kBlack);
    dc.StretchBitmap(10, 10, 4, 6, *src);
    EXPECT_EQ(Ink(), Rect(10, 10, 14, 16));
    EXPECT_EQ(At(10, 10), kRed);
    EXPECT_EQ(At(11, 12), kRed);
    EXPECT_EQ(At(12, 10), kGreen);
    EXPECT_EQ(At(11, 13), kBlue);
    EXPECT_EQ(At(13, 15), kBlack);

    Clear();
    dc.StretchBitmap(-1, -1, 2, 2, *src); // clipped at the edge
    EXPECT_EQ(At(0, 0), kBlack);
    EXPECT_EQ(Ink(), Rect(0, 0, 1, 1));

    // Drawing a bitmap onto itself reads the source before writing.
    bitmap->SetPixel(0, 0, kRed);
    dc.StretchBitmap(0, 0, 480, 320, *bitmap);
    EXPECT_EQ(At(1, 1), kRed);
    EXPECT_EQ(At(2, 2), kWhite);
}

TEST_F(GfxCanvas, PngRoundTripAndBadFiles)
{
    dc.Select(plat::StockPen(plat::StockObject::kNullPen));
    const Brush fill = Brush::Solid(Rgb(12, 200, 99));
    dc.Select(&fill);
    dc.Rectangle(5, 5, 50, 40);
    bitmap->SetPixel(200, 150, kRed);
    const plat::String path = plat::TempDir() + u"gfx_roundtrip.png";
    ASSERT_TRUE(bitmap->SavePng(path));
    auto back = Bitmap::LoadPng(path);
    ASSERT_TRUE(back);
    ASSERT_EQ(back->GetSize(), bitmap->GetSize());
    for (int y = 0; y < bitmap->Height(); ++y)
        for (int x = 0; x < bitmap->Width(); ++x) ASSERT_EQ(back->GetPixel(x, y), At(x, y)) << x << "," << y;

    EXPECT_FALSE(Bitmap::LoadPng(plat::TempDir() + u"missing.png"));
    EXPECT_FALSE(bitmap->SavePng(plat::TempDir() + u"no/such/folder/x.png"));

    // A header that claims a huge picture is refused before anything is decoded.
    const plat::String hugePath = plat::TempDir() + u"huge.png";
    {
        std::FILE* f = std::fopen(plat::Utf16ToUtf8(hugePath).c_str(), "wb");
        ASSERT_TRUE(f);
        const unsigned char header[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0, 0, 13, 'I', 'H', 'D', 'R',
                                        0,    1,   0x86, 0xA0, 0, 1, 0x86, 0xA0, 8, 2, 0, 0, 0, 0, 0, 0, 0};
        std::fwrite(header, 1, sizeof header, f);
        std::fclose(f);
    }
    EXPECT_FALSE(Bitmap::LoadPng(hugePath));
    const plat::String junkPath = plat::TempDir() + u"junk.png";
    {
        std::FILE* f = std::fopen(plat::Utf16ToUtf8(junkPath).c_str(), "wb");
        ASSERT_TRUE(f);
        std::fputs("not a picture at all, just words", f);
        std::fclose(f);
    }
    EXPECT_FALSE(Bitmap::LoadPng(junkPath));
}

} // namespace
