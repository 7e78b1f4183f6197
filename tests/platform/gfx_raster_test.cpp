// Raster operations checked by pixel probes: the boolean codes, conversions between
// colour and monochrome bitmaps, masks, colour keys, stretching, mirroring, turning,
// device-independent bitmaps and the cases that must be refused.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <numbers>
#include <vector>

#include "platform/gfx/raster_ops.h"
#include "tests/support/pixel_probe.h"

namespace {

using plat::Bitmap;
using plat::Brush;
using plat::ColorRef;
using plat::MemoryDc;
using plat::Rgb;

constexpr ColorRef kWhite = Rgb(255, 255, 255);
constexpr ColorRef kBlack = Rgb(0, 0, 0);
constexpr ColorRef kRed = Rgb(255, 0, 0);
constexpr ColorRef kGreen = Rgb(0, 255, 0);
constexpr ColorRef kBlue = Rgb(0, 0, 255);
constexpr ColorRef kGrey = Rgb(0x80, 0x80, 0x80);
constexpr ColorRef kOlive = Rgb(0x12, 0x34, 0x56);

// A bitmap with a DC drawing on it, pixels put and rows read.
struct Canvas : testsupport::Canvas {
    using testsupport::Canvas::Canvas;
    void Put(int x, int y, ColorRef c) { bitmap->SetPixel(x, y, c); }
    // Row y as colours.
    std::vector<ColorRef> Row(int y) const
    {
        std::vector<ColorRef> out;
        for (int x = 0; x < bitmap->Width(); ++x) out.push_back(At(x, y));
        return out;
    }
};

// Per-channel boolean results, as the codes work on every bit of a pixel.
struct CodeCase {
    const char* name;
    std::uint32_t rop;
    ColorRef expected; // for S = 0x0F0F0F-ish source and D = 0x3C3C3C-ish destination
};

constexpr ColorRef kS = Rgb(0x0F, 0xF0, 0x33);
constexpr ColorRef kD = Rgb(0x3C, 0x55, 0xFF);
constexpr ColorRef kP = Rgb(0x99, 0x0F, 0xA5);

constexpr ColorRef Not(ColorRef c) { return ~c & 0xFFFFFF; }

TEST(GfxRaster, CodesCombineSourceDestinationAndPattern)
{
    const CodeCase cases[] = {
        {"SRCCOPY", plat::kSrcCopy, kS},
        {"SRCAND", plat::kSrcAnd, kS & kD},
        {"SRCINVERT", plat::kSrcInvert, kS ^ kD},
        {"SRCPAINT", plat::kSrcPaint, kS | kD},
        {"MERGEPAINT", plat::kMergePaint, Not(kS) | kD},
        {"NOTSRCCOPY", plat::kNotSrcCopy, Not(kS)},
        {"SRCERASE", plat::kSrcErase, kS & Not(kD)},
        {"NOTSRCERASE", plat::kNotSrcErase, Not(kS | kD)},
        {"D AND NOT S", plat::kDstAndNotSrc, kD & Not(kS)},
        {"DSTINVERT", plat::kDstInvert, Not(kD)},
        {"DSTCOPY", plat::kDstCopy, kD},
        {"BLACKNESS", plat::kBlackness, kBlack},
        {"WHITENESS", plat::kWhiteness, kWhite},
        {"PATCOPY", plat::kPatCopy, kP},
        {"PATINVERT", plat::kPatInvert, kP ^ kD},
        {"MERGECOPY", plat::kMergeCopy, kP & kS},
        // A code without a shortcut: where S is 1 keep D, where it is 0 take P.
        {"PSDPxax", 0x00B8074A, (kS & kD) | (Not(kS) & kP)},
    };
    for (const auto& c : cases) {
        Canvas src(3, 2, kS), dst(3, 2, kD);
        const Brush brush = Brush::Solid(kP);
        dst.dc.Select(&brush);
        EXPECT_TRUE(plat::BitBlt(dst.dc, 1, 0, 1, 1, &src.dc, 2, 1, c.rop)) << c.name;
        EXPECT_EQ(dst.At(1, 0), c.expected) << c.name;
        // Only the one pixel changed.
        EXPECT_EQ(dst.At(0, 0), kD) << c.name;
        EXPECT_EQ(dst.At(2, 0), kD) << c.name;
        EXPECT_EQ(dst.At(1, 1), kD) << c.name;
    }
}

TEST(GfxRaster, PatBltInvertsAndRefusesSourceCodes)
{
    Canvas dst(4, 4, kOlive);
    EXPECT_TRUE(plat::PatBlt(dst.dc, 1, 1, 2, 2, plat::kDstInvert));
    EXPECT_EQ(dst.At(1, 1), Not(kOlive));
    EXPECT_EQ(dst.At(2, 2), Not(kOlive));
    EXPECT_EQ(dst.At(3, 3), kOlive);
    EXPECT_EQ(dst.At(0, 1), kOlive);
    EXPECT_FALSE(plat::PatBlt(dst.dc, 0, 0, 4, 4, plat::kSrcCopy));
    EXPECT_EQ(dst.At(0, 0), kOlive);
}

TEST(GfxRaster, ColourToMonochromeMarksTheSourceBackgroundColour)
{
    Canvas src(4, 1, kRed);
    src.Put(1, 0, kGreen);
    src.Put(3, 0, kGreen);
    Canvas mask(4, 1, kBlack, true);
    ASSERT_TRUE(mask.bitmap->IsMonochrome());

    src.dc.SetBkColor(kGreen);
    EXPECT_TRUE(plat::BitBlt(mask.dc, 0, 0, 4, 1, &src.dc, 0, 0, plat::kSrcCopy));
    EXPECT_EQ(mask.Row(0), (std::vector<ColorRef>{kBlack, kWhite, kBlack, kWhite}));

    // MERGEPAINT into a cleared mask: 1 for every pixel that is not the background colour.
    Canvas cleared(4, 1, kBlack, true);
    EXPECT_TRUE(plat::BitBlt(cleared.dc, 0, 0, 4, 1, &src.dc, 0, 0, plat::kMergePaint));
    EXPECT_EQ(cleared.Row(0), (std::vector<ColorRef>{kWhite, kBlack, kWhite, kBlack}));
}

TEST(GfxRaster, MonochromeToColourTakesTheDestinationColours)
{
    Canvas mask(3, 1, kBlack, true);
    mask.Put(1, 0, kWhite);
    Canvas dst(3, 1, kGrey);
    dst.dc.SetTextColor(kRed);
    dst.dc.SetBkColor(kBlue);
    EXPECT_TRUE(plat::BitBlt(dst.dc, 0, 0, 3, 1, &mask.dc, 0, 0, plat::kSrcCopy));
    EXPECT_EQ(dst.Row(0), (std::vector<ColorRef>{kRed, kBlue, kRed}));

    // With black text and a white background, AND keeps the destination under 1 bits.
    Canvas page(3, 1, kOlive);
    page.dc.SetTextColor(kBlack);
    page.dc.SetBkColor(kWhite);
    EXPECT_TRUE(plat::BitBlt(page.dc, 0, 0, 3, 1, &mask.dc, 0, 0, plat::kSrcAnd));
    EXPECT_EQ(page.Row(0), (std::vector<ColorRef>{kBlack, kOlive, kBlack}));
}

TEST(GfxRaster, MonochromeDestinationReadsBrightPixelsAsSet)
{
    // Pixels drawn in colour on a monochrome bitmap count by brightness, and the result is
    // stored as pure black or white.
    Canvas mask(2, 1, kBlack, true);
    mask.Put(0, 0, Rgb(200, 200, 200));
    mask.Put(1, 0, Rgb(100, 0, 0));
    EXPECT_TRUE(plat::PatBlt(mask.dc, 0, 0, 2, 1, plat::kDstInvert));
    EXPECT_EQ(mask.Row(0), (std::vector<ColorRef>{kBlack, kWhite}));
}

TEST(GfxRaster, XorAndXorLeavesTheDestinationUnderTheKeyColour)
{
    // The classic transparent draw: picture XOR, mask AND, picture XOR.
    Canvas picture(3, 1, kBlue);
    picture.Put(1, 0, kGreen); // the key colour
    Canvas mask(3, 1, kBlack, true);
    picture.dc.SetBkColor(kGreen);
    ASSERT_TRUE(plat::BitBlt(mask.dc, 0, 0, 3, 1, &picture.dc, 0, 0, plat::kSrcCopy));

    Canvas page(6, 2, kOlive);
    ASSERT_TRUE(plat::StretchBlt(page.dc, 0, 0, 6, 2, &picture.dc, 0, 0, 3, 1, plat::kSrcInvert));
    ASSERT_TRUE(plat::StretchBlt(page.dc, 0, 0, 6, 2, &mask.dc, 0, 0, 3, 1, plat::kSrcAnd));
    ASSERT_TRUE(plat::StretchBlt(page.dc, 0, 0, 6, 2, &picture.dc, 0, 0, 3, 1, plat::kSrcInvert));
    for (int y = 0; y < 2; ++y)
        EXPECT_EQ(page.Row(y), (std::vector<ColorRef>{kBlue, kBlue, kOlive, kOlive, kBlue, kBlue}));
}

TEST(GfxRaster, MaskBltChoosesTheOperationByMaskBit)
{
    Canvas src(4, 1, kRed);
    Canvas mask(6, 2, kBlack, true);
    mask.Put(2, 1, kWhite);
    mask.Put(4, 1, kWhite);

    Canvas a(4, 1, kBlue);
    // Source where the mask is 1, destination kept where it is 0.
    EXPECT_TRUE(plat::MaskBlt(a.dc, 0, 0, 4, 1, src.dc, 0, 0, *mask.bitmap, 1, 1, plat::MakeRop4(plat::kSrcCopy, plat::kDstCopy)));
    EXPECT_EQ(plat::MakeRop4(plat::kSrcCopy, plat::kDstCopy), 0xAACC0020u);
    EXPECT_EQ(a.Row(0), (std::vector<ColorRef>{kBlue, kRed, kBlue, kRed}));

    Canvas b(4, 1, kBlue);
    EXPECT_TRUE(plat::MaskBlt(b.dc, 0, 0, 4, 1, src.dc, 0, 0, *mask.bitmap, 1, 1, 0xCCAA0020u));
    EXPECT_EQ(b.Row(0), (std::vector<ColorRef>{kRed, kBlue, kRed, kBlue}));
}

TEST(GfxRaster, MaskBltRefusesMasksThatCannotServe)
{
    Canvas src(4, 4, kRed), dst(4, 4, kBlue);
    Canvas colour(4, 4, kWhite);
    Canvas small(3, 4, kWhite, true);
    EXPECT_FALSE(plat::MaskBlt(dst.dc, 0, 0, 4, 4, src.dc, 0, 0, *colour.bitmap, 0, 0, 0xAACC0020u));
    EXPECT_FALSE(plat::MaskBlt(dst.dc, 0, 0, 4, 4, src.dc, 0, 0, *small.bitmap, 0, 0, 0xAACC0020u));
    EXPECT_FALSE(plat::MaskBlt(dst.dc, 0, 0, 2, 2, src.dc, 0, 0, *small.bitmap, -1, 0, 0xAACC0020u));
    EXPECT_EQ(dst.At(0, 0), kBlue);
}

TEST(GfxRaster, TransparentBltSkipsTheKeyColourWhileStretching)
{
    Canvas src(2, 1, kWhite);
    src.Put(0, 0, kRed);
    Canvas dst(4, 2, kGreen);
    EXPECT_TRUE(plat::TransparentBlt(dst.dc, 0, 0, 4, 2, src.dc, 0, 0, 2, 1, kWhite));
    for (int y = 0; y < 2; ++y) EXPECT_EQ(dst.Row(y), (std::vector<ColorRef>{kRed, kRed, kGreen, kGreen}));
}

TEST(GfxRaster, StretchingTakesTheNearestPixelAndNegativeExtentsMirror)
{
    Canvas src(3, 2, kBlack);
    const ColorRef top[3] = {kRed, kGreen, kBlue};
    for (int x = 0; x < 3; ++x) {
        src.Put(x, 0, top[x]);
        src.Put(x, 1, kOlive);
    }
    struct Case {
        const char* name;
        int x, y, w, h;
        std::vector<ColorRef> row0;
        std::vector<ColorRef> row1;
    };
    const Case cases[] = {
        {"double", 0, 0, 6, 2, {kRed, kRed, kGreen, kGreen, kBlue, kBlue}, {kOlive, kOlive, kOlive, kOlive, kOlive, kOlive}},
        {"left-right", 6, 0, -6, 2, {kBlue, kBlue, kGreen, kGreen, kRed, kRed}, {kOlive, kOlive, kOlive, kOlive, kOlive, kOlive}},
        {"top-bottom", 0, 2, 3, -2, {kOlive, kOlive, kOlive, kWhite, kWhite, kWhite}, {kRed, kGreen, kBlue, kWhite, kWhite, kWhite}},
        {"narrower", 0, 0, 2, 2, {kRed, kBlue, kWhite, kWhite, kWhite, kWhite}, {kOlive, kOlive, kWhite, kWhite, kWhite, kWhite}},
    };
    for (const auto& c : cases) {
        Canvas dst(6, 2, kWhite);
        EXPECT_TRUE(plat::StretchBlt(dst.dc, c.x, c.y, c.w, c.h, &src.dc, 0, 0, 3, 2, plat::kSrcCopy)) << c.name;
        EXPECT_EQ(dst.Row(0), c.row0) << c.name;
        EXPECT_EQ(dst.Row(1), c.row1) << c.name;
    }
    // A mirrored source rectangle mirrors as well; both mirrored cancel out.
    Canvas a(3, 1, kWhite), b(3, 1, kWhite);
    EXPECT_TRUE(plat::StretchBlt(a.dc, 0, 0, 3, 1, &src.dc, 3, 0, -3, 1, plat::kSrcCopy));
    EXPECT_EQ(a.Row(0), (std::vector<ColorRef>{kBlue, kGreen, kRed}));
    EXPECT_TRUE(plat::StretchBlt(b.dc, 3, 0, -3, 1, &src.dc, 3, 0, -3, 1, plat::kSrcCopy));
    EXPECT_EQ(b.Row(0), (std::vector<ColorRef>{kRed, kGreen, kBlue}));
}

TEST(GfxRaster, EdgesClipAndOverlappingCopiesReadTheOldPixels)
{
    Canvas c(4, 1, kBlack);
    const ColorRef colours[4] = {kRed, kGreen, kBlue, kOlive};
    for (int x = 0; x < 4; ++x) c.Put(x, 0, colours[x]);
    // Shift right by one within the same bitmap.
    EXPECT_TRUE(plat::BitBlt(c.dc, 1, 0, 3, 1, &c.dc, 0, 0, plat::kSrcCopy));
    EXPECT_EQ(c.Row(0), (std::vector<ColorRef>{kRed, kRed, kGreen, kBlue}));

    // Partly outside both bitmaps: what lands inside is drawn, pixels whose source is
    // missing stay as they were.
    Canvas src(2, 2, kRed), dst(3, 3, kWhite);
    EXPECT_TRUE(plat::BitBlt(dst.dc, -1, 1, 4, 4, &src.dc, -1, 0, plat::kSrcCopy));
    EXPECT_EQ(dst.Row(0), (std::vector<ColorRef>{kWhite, kWhite, kWhite}));
    EXPECT_EQ(dst.Row(1), (std::vector<ColorRef>{kRed, kRed, kWhite}));
    EXPECT_EQ(dst.Row(2), (std::vector<ColorRef>{kRed, kRed, kWhite}));
    // Far away: nothing to do, and no harm.
    EXPECT_TRUE(plat::BitBlt(dst.dc, 1 << 30, 1 << 30, 1 << 30, 1 << 30, &src.dc, 0, 0, plat::kSrcCopy));
    EXPECT_TRUE(plat::StretchBlt(dst.dc, 0, 0, 3, 3, &src.dc, 0, 0, 0, 2, plat::kSrcCopy));
    EXPECT_EQ(dst.Row(0), (std::vector<ColorRef>{kWhite, kWhite, kWhite}));
}

TEST(GfxRaster, SameSizeCopiesTakeEachPixelFromItsPlace)
{
    Canvas src(3, 2, kBlack);
    const ColorRef colours[2][3] = {{kRed, kGreen, kBlue}, {kOlive, kWhite, kRed}};
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) src.Put(x, y, colours[y][x]);
    Canvas dst(4, 3, kWhite);
    EXPECT_TRUE(plat::BitBlt(dst.dc, 1, 1, 3, 2, &src.dc, 0, 0, plat::kSrcCopy));
    EXPECT_EQ(dst.Row(0), (std::vector<ColorRef>{kWhite, kWhite, kWhite, kWhite}));
    EXPECT_EQ(dst.Row(1), (std::vector<ColorRef>{kWhite, kRed, kGreen, kBlue}));
    EXPECT_EQ(dst.Row(2), (std::vector<ColorRef>{kWhite, kOlive, kWhite, kRed}));
    // From inside the source, and running past its right edge: the rest stays.
    EXPECT_TRUE(plat::BitBlt(dst.dc, 0, 0, 3, 1, &src.dc, 1, 1, plat::kSrcCopy));
    EXPECT_EQ(dst.Row(0), (std::vector<ColorRef>{kWhite, kRed, kWhite, kWhite}));
}

TEST(GfxRaster, TwipsCoordinatesBecomeDevicePixels)
{
    // 15 twips to the pixel at 96 dpi; positive heights run down the page.
    Canvas src(2, 2, kRed), dst(8, 8, kWhite);
    dst.dc.SetMapMode(plat::kMmTwips);
    src.dc.SetMapMode(plat::kMmTwips);
    EXPECT_TRUE(plat::BitBlt(dst.dc, 45, -30, 30, 30, &src.dc, 0, 0, plat::kSrcCopy));
    EXPECT_EQ(dst.At(3, 2), kRed);
    EXPECT_EQ(dst.At(4, 3), kRed);
    EXPECT_EQ(dst.At(5, 3), kWhite);
    EXPECT_EQ(dst.At(3, 4), kWhite);
    EXPECT_EQ(dst.At(2, 2), kWhite);
}

TEST(GfxRaster, TransformTurnsTheSourceAboutItsCorner)
{
    // 3 × 2 turned a quarter counter-clockwise (as the screen shows it): (u, v) goes to
    // (v, 2 - u) once moved down by its width.
    Canvas src(3, 2, kBlack);
    src.Put(0, 0, kRed);
    src.Put(2, 0, kGreen);
    src.Put(2, 1, kBlue);
    Canvas dst(2, 3, kWhite);
    const plat::XForm quarter{0, -1, 1, 0, 0, 3};
    EXPECT_TRUE(plat::TransformBlt(dst.dc, quarter, src.dc, 0, 0, 3, 2, plat::kSrcCopy));
    EXPECT_EQ(dst.Row(0), (std::vector<ColorRef>{kGreen, kBlue}));
    EXPECT_EQ(dst.Row(1), (std::vector<ColorRef>{kBlack, kBlack}));
    EXPECT_EQ(dst.Row(2), (std::vector<ColorRef>{kRed, kBlack}));

    // A turn by some angle covers the pixels near the turned rectangle's middle and
    // leaves the far corners of the destination alone.
    Canvas big(40, 40, kRed), out(60, 60, kWhite);
    const float a = 0.5f;
    const plat::XForm turn{std::cos(a), -std::sin(a), std::sin(a), std::cos(a), 10, 30};
    EXPECT_TRUE(plat::TransformBlt(out.dc, turn, big.dc, 0, 0, 40, 40, plat::kSrcCopy));
    EXPECT_EQ(out.At(35, 30), kRed);
    EXPECT_EQ(out.At(0, 0), kWhite);
    EXPECT_EQ(out.At(59, 59), kWhite);

    const plat::XForm flat{1, 0, 1, 0, 0, 0};
    EXPECT_FALSE(plat::TransformBlt(out.dc, flat, big.dc, 0, 0, 40, 40, plat::kSrcCopy));
}

TEST(GfxRaster, DibsOfEveryDepthDrawTheirPixels)
{
    // Two rows of four pixels; the top row (as shown) is palette index/colour A B A B.
    const std::uint8_t palette[8] = {0, 0, 255, 0, /* red */ 255, 0, 0, 0 /* blue */};
    struct Case {
        const char* name;
        int bitCount;
        std::vector<std::uint8_t> rows; // bottom row first (rowBytes each)
        int rowBytes;
    };
    const Case cases[] = {
        {"1-bit", 1, {0xF0, 0, 0, 0, 0x50, 0, 0, 0}, 4},
        {"4-bit", 4, {0x11, 0x11, 0, 0, 0x01, 0x01, 0, 0}, 4},
        {"8-bit", 8, {1, 1, 1, 1, 0, 1, 0, 1}, 4},
        {"24-bit", 24, {255, 0, 0, 255, 0, 0, 255, 0, 0, 255, 0, 0,
                        0, 0, 255, 255, 0, 0, 0, 0, 255, 255, 0, 0}, 12},
    };
    for (const auto& c : cases) {
        plat::DibView dib;
        dib.width = 4;
        dib.height = 2;
        dib.bitCount = c.bitCount;
        dib.rowBytes = c.rowBytes;
        dib.bits = c.rows.data();
        dib.palette = palette;
        dib.paletteEntries = 2;
        Canvas dst(4, 2, kWhite);
        EXPECT_TRUE(plat::StretchDib(dst.dc, 0, 0, 4, 2, dib, 0, 0, 4, 2, plat::kSrcCopy)) << c.name;
        EXPECT_EQ(dst.Row(0), (std::vector<ColorRef>{kRed, kBlue, kRed, kBlue})) << c.name;
        EXPECT_EQ(dst.Row(1), (std::vector<ColorRef>{kBlue, kBlue, kBlue, kBlue})) << c.name;
        // Top-down rows, by a negative height.
        dib.height = -2;
        EXPECT_TRUE(plat::StretchDib(dst.dc, 0, 0, 4, 2, dib, 0, 0, 4, 2, plat::kSrcCopy)) << c.name;
        EXPECT_EQ(dst.Row(0), (std::vector<ColorRef>{kBlue, kBlue, kBlue, kBlue})) << c.name;
    }
    // Indices beyond the palette read as black.
    const std::uint8_t index3[4] = {3, 0, 0, 0};
    plat::DibView dib{1, 1, 8, 4, index3, palette, 2};
    Canvas dst(1, 1, kWhite);
    EXPECT_TRUE(plat::StretchDib(dst.dc, 0, 0, 1, 1, dib, 0, 0, 1, 1, plat::kSrcCopy));
    EXPECT_EQ(dst.At(0, 0), kBlack);
}

TEST(GfxRaster, MalformedDibsAndMissingBitmapsAreRefused)
{
    const std::uint8_t bits[16] = {};
    struct Case {
        const char* name;
        plat::DibView dib;
    };
    const Case cases[] = {
        {"no bits", {2, 2, 24, 8, nullptr, nullptr, 0}},
        {"rows too short", {4, 2, 24, 8, bits, nullptr, 0}},
        {"bit count", {2, 2, 16, 8, bits, nullptr, 0}},
        {"no width", {0, 2, 24, 8, bits, nullptr, 0}},
        {"palette missing", {2, 2, 8, 4, bits, nullptr, 2}},
    };
    Canvas dst(2, 2, kGreen);
    for (const auto& c : cases)
        EXPECT_FALSE(plat::StretchDib(dst.dc, 0, 0, 2, 2, c.dib, 0, 0, 2, 2, plat::kSrcCopy)) << c.name;
    EXPECT_EQ(dst.At(0, 0), kGreen);

    MemoryDc empty;
    Canvas src(2, 2, kRed);
    EXPECT_FALSE(plat::BitBlt(empty, 0, 0, 2, 2, &src.dc, 0, 0, plat::kSrcCopy));
    EXPECT_FALSE(plat::BitBlt(dst.dc, 0, 0, 2, 2, &empty, 0, 0, plat::kSrcCopy));
    EXPECT_FALSE(plat::BitBlt(dst.dc, 0, 0, 2, 2, nullptr, 0, 0, plat::kSrcCopy));
    EXPECT_FALSE(plat::RectVisible(empty, plat::Rect(0, 0, 2, 2)));
    EXPECT_EQ(dst.At(0, 0), kGreen);
}

TEST(GfxRaster, RectVisibleAsksWhetherTheRectangleTouchesTheBitmap)
{
    Canvas c(10, 10, kWhite);
    EXPECT_TRUE(plat::RectVisible(c.dc, plat::Rect(-5, -5, 1, 1)));
    EXPECT_TRUE(plat::RectVisible(c.dc, plat::Rect(9, 9, 20, 20)));
    EXPECT_FALSE(plat::RectVisible(c.dc, plat::Rect(10, 0, 20, 5)));
    EXPECT_FALSE(plat::RectVisible(c.dc, plat::Rect(-5, 2, 0, 4)));
    EXPECT_FALSE(plat::RectVisible(c.dc, plat::Rect(3, 3, 3, 8)));
}

} // namespace
