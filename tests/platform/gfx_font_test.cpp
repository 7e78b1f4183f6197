// Fonts and measuring: which installed faces serve the control's face names, and the
// integer metrics the desktop (a 96-dpi device) gives for them in pixels and in twips.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/gfx/dc.h"

namespace {

using plat::Dc;
using plat::Font;
using plat::FontDesc;
using plat::String;
using plat::TextMetrics;

FontDesc Desc(const char16_t* face, int height, int weight = plat::kFwNormal, bool italic = false)
{
    FontDesc d;
    d.face = face;
    d.height = height;
    d.weight = weight;
    d.italic = italic;
    return d;
}

int Width(const Dc& dc, char32_t ch)
{
    int w = -1;
    EXPECT_TRUE(dc.GetCharWidth(ch, ch, &w));
    return w;
}

struct FaceCase {
    const char16_t* face;
    const char16_t* family;
};

class GfxFaceResolution : public testing::TestWithParam<FaceCase> {};

TEST_P(GfxFaceResolution, NameMapsToTheInstalledFamily)
{
    const FaceCase& c = GetParam();
    Font font(Desc(c.face, -16));
    EXPECT_EQ(font.FamilyName(), String(c.family));
    EXPECT_EQ(font.FilePath().rfind("/usr/share/fonts/truetype/", 0), 0u) << font.FilePath();
}

INSTANTIATE_TEST_SUITE_P(
    Faces, GfxFaceResolution,
    testing::Values(FaceCase{u"宋体", u"AR PL UMing CN"}, FaceCase{u"SimSun", u"AR PL UMing CN"},
                    FaceCase{u"仿宋", u"AR PL UMing CN"}, FaceCase{u"楷体", u"AR PL UKai CN"},
                    FaceCase{u"黑体", u"WenQuanYi Zen Hei"}, FaceCase{u"Times New Roman", u"Liberation Serif"},
                    FaceCase{u"Times new Roman", u"Liberation Serif"}, FaceCase{u"Arial", u"Liberation Sans"},
                    FaceCase{u"Courier New", u"Liberation Mono"}));

TEST(GfxFontFaces, ChineseFacesDrawChineseThemselves)
{
    for (const char16_t* face : {u"宋体", u"楷体", u"黑体"}) {
        Font font(Desc(face, -16));
        EXPECT_EQ(font.FamilyFor(U'中'), font.FamilyName()) << plat::Utf16ToUtf8(face);
        EXPECT_EQ(font.FamilyFor(U'，'), font.FamilyName());
    }
}

TEST(GfxFontFaces, UnknownChineseFaceStillGetsAChineseFont)
{
    // A family nothing provides must not fall to a Latin font when Chinese is asked for.
    FontDesc d = Desc(u"方正舒体", -16);
    Font byName(d);
    EXPECT_EQ(byName.FamilyFor(U'中'), byName.FamilyName());
    d.face = u"NoSuchFace";
    d.charSet = plat::kGb2312CharSet;
    Font byCharSet(d);
    EXPECT_EQ(byCharSet.FamilyFor(U'中'), byCharSet.FamilyName());
    EXPECT_EQ(byCharSet.FamilyName().find(u"Liberation"), String::npos);
}

TEST(GfxFontFaces, LatinFaceFallsBackToItsChineseCompanion)
{
    EXPECT_EQ(Font(Desc(u"Times New Roman", -16)).FamilyFor(U'中'), u"AR PL UMing CN");
    EXPECT_EQ(Font(Desc(u"Arial", -16)).FamilyFor(U'中'), u"WenQuanYi Zen Hei");
    EXPECT_EQ(Font(Desc(u"Times New Roman", -16)).FamilyFor(U'A'), u"Liberation Serif");
}

TEST(GfxFontFaces, BoldUsesTheBoldFaceWhereThereIsOne)
{
    Font bold(Desc(u"Times New Roman", -16, plat::kFwBold));
    EXPECT_EQ(bold.FamilyName(), u"Liberation Serif");
    EXPECT_NE(bold.FilePath().find("Bold"), std::string::npos) << bold.FilePath();
    Font italic(Desc(u"Arial", -16, plat::kFwNormal, true));
    EXPECT_NE(italic.FilePath().find("Italic"), std::string::npos) << italic.FilePath();
}

// Expected values come from the fonts' own tables: em size in pixels p = twips / 15;
// ascent = round(usWinAscent * p / unitsPerEm), descent likewise from usWinDescent,
// widths = round(advance * p / unitsPerEm), and twips = pixels * 15.
struct MetricCase {
    const char16_t* face;
    int twips;  // the height asked for, as -twips
    int weight;
    int height, ascent, descent, internalLeading, aveCharWidth, maxCharWidth; // pixels
    int widthA, widthHan; // pixels, 'A' and U+4E2D
};

class GfxDesktopMetrics : public testing::TestWithParam<MetricCase> {};

TEST_P(GfxDesktopMetrics, TwipsAreWholePixelsTimesFifteen)
{
    const MetricCase& c = GetParam();
    Dc desktop; // 96 dpi
    ASSERT_EQ(desktop.SetMapMode(plat::kMmTwips), plat::kMmText);
    Font font(Desc(c.face, -c.twips, c.weight));
    desktop.Select(&font);
    const TextMetrics tm = desktop.GetTextMetrics();
    EXPECT_EQ(tm.height, c.height * 15);
    EXPECT_EQ(tm.ascent, c.ascent * 15);
    EXPECT_EQ(tm.descent, c.descent * 15);
    EXPECT_EQ(tm.internalLeading, c.internalLeading * 15);
    EXPECT_EQ(tm.aveCharWidth, c.aveCharWidth * 15);
    EXPECT_EQ(tm.maxCharWidth, c.maxCharWidth * 15);
    EXPECT_EQ(tm.weight, c.weight);
    EXPECT_EQ(Width(desktop, U'A'), c.widthA * 15);
    EXPECT_EQ(Width(desktop, U'中'), c.widthHan * 15);
    EXPECT_EQ(desktop.GetTextExtent(u"A中"), plat::Size((c.widthA + c.widthHan) * 15, c.height * 15));

    // The same font in pixels: the em height is the twips size at 96 dpi.
    Dc pixels;
    Font pixelFont(Desc(c.face, -c.twips / 15, c.weight));
    pixels.Select(&pixelFont);
    const TextMetrics px = pixels.GetTextMetrics();
    EXPECT_EQ(px.height, c.height);
    EXPECT_EQ(px.ascent, c.ascent);
    EXPECT_EQ(px.height - px.internalLeading, c.twips / 15);
    EXPECT_EQ(Width(pixels, U'A'), c.widthA);
}

INSTANTIATE_TEST_SUITE_P(
    Faces, GfxDesktopMetrics,
    testing::Values(
        // 宋体 → AR PL UMing CN: upem 1024, win 917/155, xAvg 512, max 1038, 'A' 512, 中 1024.
        MetricCase{u"宋体", 210, plat::kFwNormal, 15, 13, 2, 1, 7, 14, 7, 14},
        MetricCase{u"宋体", 240, plat::kFwNormal, 16, 14, 2, 0, 8, 16, 8, 16},
        // Synthesised bold: one more pixel of advance.
        MetricCase{u"宋体", 240, plat::kFwBold, 16, 14, 2, 0, 9, 17, 9, 17},
        // Liberation Serif: upem 2048, win 1825/443, xAvg 1163, max 2155, 'A' 1479; 中 from UMing.
        MetricCase{u"Times New Roman", 240, plat::kFwNormal, 17, 14, 3, 1, 9, 17, 12, 16},
        MetricCase{u"Times New Roman", 210, plat::kFwNormal, 15, 12, 3, 1, 8, 15, 10, 14},
        // WenQuanYi Zen Hei: upem 1024, win 986/304, xAvg 448, 'A' 573.
        MetricCase{u"黑体", 210, plat::kFwNormal, 17, 13, 4, 3, 6, 15, 8, 14}));

TEST(GfxMeasure, SameMetricsEveryTime)
{
    std::vector<int> first;
    for (int round = 0; round < 2; ++round) {
        Dc dc;
        dc.SetMapMode(plat::kMmTwips);
        std::vector<int> seen;
        for (const char16_t* face : {u"宋体", u"Times New Roman", u"楷体"}) {
            Font font(Desc(face, -210));
            dc.Select(&font);
            std::vector<int> widths(1280);
            ASSERT_TRUE(dc.GetCharWidth(0, 1279, widths.data()));
            const TextMetrics tm = dc.GetTextMetrics();
            seen.insert(seen.end(), {tm.height, tm.ascent, tm.descent, tm.aveCharWidth, tm.maxCharWidth});
            seen.insert(seen.end(), widths.begin(), widths.end());
        }
        for (int v : seen) EXPECT_EQ(v % 15, 0);
        if (round == 0) first = seen;
        else EXPECT_EQ(seen, first);
    }
}

TEST(GfxMeasure, PositiveHeightIsTheCellHeight)
{
    Dc dc;
    for (const char16_t* face : {u"宋体", u"Times New Roman", u"黑体"}) {
        for (int cell : {12, 16, 17, 20, 33}) {
            Font font(Desc(face, cell));
            dc.Select(&font);
            const TextMetrics tm = dc.GetTextMetrics();
            EXPECT_LE(tm.height, cell) << plat::Utf16ToUtf8(face) << " " << cell;
            EXPECT_GE(tm.height, cell - 2) << plat::Utf16ToUtf8(face) << " " << cell;
        }
    }
}

TEST(GfxMeasure, ZeroHeightIsTwelvePoints)
{
    Dc dc;
    Font font(Desc(u"宋体", 0));
    dc.Select(&font);
    const TextMetrics tm = dc.GetTextMetrics();
    EXPECT_EQ(tm.height - tm.internalLeading, 16);
}

TEST(GfxMeasure, TinyAndHugeSizesStayBounded)
{
    Dc dc;
    dc.SetMapMode(plat::kMmTwips);
    Font tiny(Desc(u"宋体", -3)); // less than a pixel: one pixel
    dc.Select(&tiny);
    EXPECT_EQ(dc.GetTextMetrics().height - dc.GetTextMetrics().internalLeading, 15);
    EXPECT_GT(Width(dc, U'中'), 0);

    Dc px;
    Font huge(Desc(u"Times New Roman", -2000000000));
    px.Select(&huge);
    const TextMetrics tm = px.GetTextMetrics();
    EXPECT_GT(tm.height, 0);
    EXPECT_LE(tm.height, 3 * 4096);
    Font hugeCell(Desc(u"Times New Roman", 2000000000));
    px.Select(&hugeCell);
    EXPECT_LE(px.GetTextMetrics().height, 3 * 4096);
}

TEST(GfxMeasure, CharWidthRangeChecks)
{
    Dc dc;
    Font font(Desc(u"宋体", -14));
    dc.Select(&font);
    int w[2] = {-7, -7};
    EXPECT_FALSE(dc.GetCharWidth(66, 65, w));
    EXPECT_EQ(w[0], -7);
    EXPECT_FALSE(dc.GetCharWidth(0, 65536, w));
    EXPECT_TRUE(dc.GetCharWidth(65, 66, w));
    EXPECT_EQ(w[0], 7);
    EXPECT_EQ(w[1], 7);
    EXPECT_FALSE(dc.GetCharWidth(0, 1, nullptr));
}

TEST(GfxMeasure, ExtentSumsTheWidthsAndReadsSurrogatePairs)
{
    Dc dc;
    Font font(Desc(u"Times New Roman", -16));
    dc.Select(&font);
    EXPECT_EQ(dc.GetTextExtent(u"Wa").cx, Width(dc, U'W') + Width(dc, U'a'));
    EXPECT_EQ(dc.GetTextExtent(u"").cx, 0);
    // U+20000 written as a pair is one character; a lone surrogate is measured as itself.
    EXPECT_EQ(dc.GetTextExtent(u"\xD840\xDC00").cx, Width(dc, 0x20000));
    EXPECT_EQ(dc.GetTextExtent(std::u16string(1, u'\xD840')).cx, Width(dc, 0xD840));
}

TEST(GfxMeasure, MapModeChangeRemeasuresTheSelectedFont)
{
    Dc dc;
    Font font(Desc(u"宋体", -210));
    dc.Select(&font);
    EXPECT_EQ(dc.GetTextMetrics().height - dc.GetTextMetrics().internalLeading, 210); // 210 pixels
    dc.SetMapMode(plat::kMmTwips);
    EXPECT_EQ(dc.GetTextMetrics().height, 225); // 14 pixels' worth
    EXPECT_EQ(dc.SetMapMode(12345), 0);
    EXPECT_EQ(dc.GetMapMode(), plat::kMmTwips);
}

TEST(GfxMeasure, MetricsReportTheDescription)
{
    Dc dc;
    FontDesc d = Desc(u"宋体", -14, plat::kFwBold, true);
    d.underline = true;
    d.strikeOut = true;
    d.charSet = plat::kGb2312CharSet;
    Font font(d);
    dc.Select(&font);
    const TextMetrics tm = dc.GetTextMetrics();
    EXPECT_EQ(tm.weight, plat::kFwBold);
    EXPECT_TRUE(tm.italic);
    EXPECT_TRUE(tm.underlined);
    EXPECT_TRUE(tm.struckOut);
    EXPECT_EQ(tm.charSet, plat::kGb2312CharSet);
}

TEST(GfxMeasure, PrinterResolutionScalesTheSize)
{
    // 210 twips on a 600-dpi device: an em of 87.5 -> 88 pixels; lengths in twips are
    // rounded from those pixels.
    Dc printer(600, 600);
    printer.SetMapMode(plat::kMmTwips);
    Font font(Desc(u"宋体", -210));
    printer.Select(&font);
    EXPECT_EQ(Width(printer, U'中'), (88 * 1440 + 300) / 600);
}

} // namespace
