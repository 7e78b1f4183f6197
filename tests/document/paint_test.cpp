// Text painting, colour resolving and the render context, checked by pixel probes on a
// bitmap: text is drawn with greyscale antialiasing, so glyph pixels are the text colour or
// a mix of it with the white page (TextInkOf); lines and marks carry their colour exactly.
#include <optional>
#include <string>
#include <vector>

#include "document/line_layout.h"
#include "document/render_context.h"
#include "document/text_paint.h"
#include "document/units.h"
#include "resources/res_bitmaps.h"
#include "tests/document/layout_support.h"
#include "tests/support/pixel_probe.h"

namespace {

using layouttest::TextBox;
using plat::ColorRef;
using plat::Rgb;
using testsupport::Ink;
using testsupport::InkOf;
using testsupport::TextInkOf;

constexpr ColorRef kWhite = Rgb(255, 255, 255);
constexpr ColorRef kBlack = Rgb(0, 0, 0);
constexpr ColorRef kRed = Rgb(255, 0, 0);

// The longest horizontal run of a colour on row y between x0 and x1.
int LongestRun(const plat::Bitmap& bmp, int y, int x0, int x1, ColorRef color)
{
    int best = 0, run = 0;
    for (int x = x0; x < x1; ++x) {
        run = bmp.GetPixel(x, y) == color ? run + 1 : 0;
        best = std::max(best, run);
    }
    return best;
}

// A frame laid out in a column and painted on a white bitmap at (kX0, kY0).
class PaintTest : public testing::Test {
protected:
    static constexpr int kX0 = 10;
    static constexpr int kY0 = 10;

    PaintTest() : bmp(plat::Bitmap::Create(600, 200))
    {
        bmp->Fill(kWhite);
        dc.Select(bmp.get());
    }

    void LayOut(int width = 8000, int align = kAlignLeft)
    {
        CLineLayout layout(*t.box);
        layout.LayOutColumn(0, t.Count(), width, align, 1);
    }
    void Paint(int pass = 1, bool marks = false, double zoom = 1.0)
    {
        CRenderContext rc(&t.doc, dc);
        t.box->Draw(dc, zoom, kX0, kY0, pass, rc, marks);
        rc.Restore(dc);
    }
    int Px(int twips) const { return TwipsToPixels(dc, 1.0, twips); }
    // The pixel cell of an item: its box on its line.
    plat::Rect Cell(int i) const
    {
        const CTextItem* item = t.Item(i);
        return plat::Rect(kX0 + Px(item->GetLeft()), kY0 + Px(item->GetLineTop()),
                          kX0 + Px(item->GetLeft() + item->GetDrawnWidth()),
                          kY0 + Px(item->GetLineTop() + item->GetLineHeight()));
    }
    int Baseline(int i) const { return kY0 + Px(t.Item(i)->GetTop() + t.Item(i)->GetAscent()); }
    // Where underlines and wavy lines of item i lie: 4/96 inch under the baseline.
    int MarkRow(int i) const { return Baseline(i) + 4; }

    TextBox t;
    std::unique_ptr<plat::Bitmap> bmp;
    plat::MemoryDc dc;
};

TEST_F(PaintTest, TextIsDrawnInItsCellsInItsColour)
{
    t.format.m_color = 0x00C000;
    t.Set(u"中文 Quiln");
    LayOut();
    Paint();
    const ColorRef green = Rgb(0, 0xC0, 0);
    for (int i : {0, 1, 3, 4, 5, 6, 7}) EXPECT_GT(TextInkOf(*bmp, Cell(i), green).count, 0) << i;
    EXPECT_EQ(TextInkOf(*bmp, Cell(2), green, 0).count, 0) << "a space draws nothing";
    // Nothing outside the laid-out line.
    const plat::Rect line(kX0, Cell(0).top, Cell(7).right + 2, Cell(0).bottom);
    EXPECT_EQ(TextInkOf(*bmp, plat::Rect(0, 0, 600, 200), green, 0).count, TextInkOf(*bmp, line, green, 0).count);
    EXPECT_EQ(TextInkOf(*bmp, plat::Rect(0, 0, 600, 200), kBlack).count, 0);
}

TEST_F(PaintTest, AutomaticColourIsTheDocumentsDefaultTextColour)
{
    t.doc.SetDefaultTextColor(Rgb(0, 0, 200));
    t.Set(u"中");
    LayOut();
    Paint();
    EXPECT_GT(TextInkOf(*bmp, Cell(0), Rgb(0, 0, 200)).count, 0);
}

TEST_F(PaintTest, EachUnderlineKind)
{
    t.format.m_color = 0x0000FF; // red
    t.Set(u"ab 中 cd 文");
    t.Modify(0, [](CCharFormat& f) { f.m_underline = 1; });
    t.Modify(3, [](CCharFormat& f) { f.m_underline = 2; });
    t.Modify(5, [](CCharFormat& f) { f.m_underline = 3; });
    t.Modify(8, [](CCharFormat& f) { f.m_underline = 3; });
    LayOut();
    Paint();
    // Single: one line from a pixel before the cell to a pixel after its drawn width.
    {
        const plat::Rect c = Cell(0);
        const int y = MarkRow(0);
        EXPECT_EQ(LongestRun(*bmp, y, c.left - 3, c.right + 3, kRed), c.Width() + 2);
        EXPECT_EQ(bmp->GetPixel(c.left - 1, y), kRed);
        EXPECT_EQ(LongestRun(*bmp, y + 3, c.left - 3, c.right + 3, kRed), 0);
        EXPECT_EQ(LongestRun(*bmp, MarkRow(1), Cell(1).left + 2, Cell(1).right - 1, kRed), 0) << "b is not underlined";
    }
    // Double: a second line 3 pixels lower.
    {
        const plat::Rect c = Cell(3);
        EXPECT_EQ(LongestRun(*bmp, MarkRow(3), c.left - 3, c.right + 3, kRed), c.Width() + 2);
        EXPECT_EQ(LongestRun(*bmp, MarkRow(3) + 3, c.left - 3, c.right + 3, kRed), c.Width() + 2);
        EXPECT_EQ(LongestRun(*bmp, MarkRow(3) + 1, c.left - 3, c.right + 3, kRed), 0);
    }
    // Dotted: a dot 3 pixels across under the middle of the cell, for Western and CJK.
    for (int i : {5, 8}) {
        const plat::Rect c = Cell(i);
        const int y = MarkRow(i);
        const Ink dot = InkOf(*bmp, plat::Rect(c.left, y, c.right, y + 6), kRed);
        EXPECT_GT(dot.count, 0) << i;
        EXPECT_EQ(dot.box.top, y) << i;
        EXPECT_LE(dot.box.bottom, y + 3) << i;
        EXPECT_GE(dot.box.left, c.left + (c.Width() - 3) / 2) << i;
        EXPECT_LE(dot.box.right, c.left + (c.Width() - 3) / 2 + 3) << i;
    }
}

TEST_F(PaintTest, MisspeltWordGetsAWavyLineOnlyOnTheScreenPass)
{
    t.Set(u"mmm cat");
    alignas(8) static char errorRecord[8];
    auto* error = reinterpret_cast<CSpellError*>(errorRecord); // only its identity matters here
    for (int i = 0; i < 3; ++i) t.Item(i)->SetMisspelt(error);
    LayOut();
    Paint(4);
    const int y = MarkRow(0);
    const plat::Rect word(Cell(0).left, y - 3, Cell(2).right + 1, y + 2);
    EXPECT_EQ(InkOf(*bmp, word, kRed).count, 0);
    Paint(1);
    const int x = Cell(0).left;
    // A zigzag 2 pixels high: the low points every 4 pixels, the high ones between them.
    EXPECT_EQ(bmp->GetPixel(x + 2, y), kRed);
    EXPECT_EQ(bmp->GetPixel(x + 4, y - 2), kRed);
    EXPECT_EQ(bmp->GetPixel(x + 6, y), kRed);
    EXPECT_EQ(bmp->GetPixel(x + 4, y), kWhite);
    EXPECT_EQ(bmp->GetPixel(x + 2, y - 2), kWhite);
    const Ink wave = InkOf(*bmp, word, kRed);
    EXPECT_EQ(wave.box.Height(), 3);
    for (int i = 4; i < 7; ++i)
        EXPECT_EQ(InkOf(*bmp, plat::Rect(Cell(i).left, y - 3, Cell(i).right, y + 2), kRed).count, 0) << i;
    for (int i = 0; i < 3; ++i) t.Item(i)->SetMisspelt(nullptr);
}

TEST_F(PaintTest, DeletedTextIsStruckOutInTheAuthorsColourWithRevisionsShown)
{
    t.AddAuthors(); // record 2 is author 7, colour 0x003250
    t.Set(u"oxo");
    t.Modify(1, [](CCharFormat& f) { f.m_deletedBy = 2; });
    t.doc.SetRevisionsShown(true);
    LayOut();
    Paint();
    const ColorRef author = t.doc.GetAuthors().GetAuthorColor(2);
    ASSERT_EQ(author, 0x003250u);
    const plat::Rect c = Cell(1);
    const Ink ink = InkOf(*bmp, c, author);
    EXPECT_GT(ink.count, 0);
    // The strike-out runs across the whole advance; no row of the glyph alone does.
    int struck = 0;
    for (int y = c.top; y < c.bottom; ++y) struck = std::max(struck, LongestRun(*bmp, y, c.left, c.right, author));
    EXPECT_EQ(struck, c.Width());
    EXPECT_GT(TextInkOf(*bmp, Cell(0), kBlack).count, 0) << "undeleted text keeps its colour";

    // With revisions hidden the deleted character takes no room and is not drawn.
    bmp->Fill(kWhite);
    t.doc.SetRevisionsShown(false);
    LayOut();
    Paint();
    EXPECT_EQ(TextInkOf(*bmp, plat::Rect(0, 0, 600, 200), author, 0).count, 0);
}

TEST_F(PaintTest, InsertedTextTakesTheAuthorsColourOverTheAutomaticColour)
{
    t.AddAuthors();
    t.Set(u"中中");
    t.Modify(0, [](CCharFormat& f) { f.m_insertedBy = 2; });
    t.Modify(1, [](CCharFormat& f) { f.m_insertedBy = 0; });
    t.doc.SetRevisionsShown(true);
    LayOut();
    Paint();
    EXPECT_GT(TextInkOf(*bmp, Cell(0), 0x003250).count, 0);
    EXPECT_EQ(TextInkOf(*bmp, Cell(0), kBlack).count, 0);
    EXPECT_GT(TextInkOf(*bmp, Cell(1), kBlack).count, 0) << "the first author's text is not coloured";
}

TEST_F(PaintTest, RevisionMarkerOfASpaceInTheAuthorsColour)
{
    t.AddAuthors();
    t.Set(u"a b");
    t.Modify(1, [](CCharFormat& f) { f.m_insertedBy = 2; });
    t.doc.SetRevisionsShown(true);
    LayOut();
    Paint(1, false);
    EXPECT_EQ(InkOf(*bmp, Cell(1), 0x003250).count, 0) << "spaces draw only with marks on";
    Paint(1, true);
    const CTextItem* sp = t.Item(1);
    const plat::Point wh = TwipsToPixelsPoint(dc, 1.0, sp->GetWidth(), sp->GetFormat().m_size);
    const int left = kX0 + Px(sp->GetLeft()) + wh.x / 3;
    const int top = kY0 + Px(sp->GetTop()) + wh.y / 2;
    const Ink block = InkOf(*bmp, Cell(1), 0x003250);
    EXPECT_EQ(block.box, plat::Rect(left, top, left + wh.x / 2, top + wh.y / 4));
    EXPECT_EQ(block.count, block.box.Width() * block.box.Height()) << "filled";
}

TEST_F(PaintTest, BatchedRunIsCentredInItsLaidOutWidth)
{
    t.Set(u"ill");
    LayOut();
    // Give the word three times its width, as a wider screen font would leave it.
    int x = t.Item(0)->GetLeft();
    for (int i = 0; i < 3; ++i) {
        CTextItem* item = t.Item(i);
        item->SetWidth(3 * item->GetWidth());
        item->SetPos(x, item->GetTop());
        x += item->GetWidth();
    }
    Paint(4);
    plat::Font font([] {
        plat::FontDesc d;
        d.face = u"Times New Roman";
        d.height = -14;
        d.charSet = plat::kDefaultCharSet;
        return d;
    }());
    plat::MemoryDc measure;
    measure.Select(&font);
    const int extent = measure.GetTextExtent(u"ill").cx;
    const int runWidth = Px(x - t.Item(0)->GetLeft());
    const int start = kX0 + Px(t.Item(0)->GetLeft()) + (runWidth - extent + 1) / 2;
    const Ink ink = TextInkOf(*bmp, plat::Rect(kX0, 0, kX0 + Px(x), 200), kBlack, 0);
    ASSERT_GT(ink.count, 0);
    EXPECT_GE(ink.box.left, start);
    EXPECT_LE(ink.box.right, start + extent);
    EXPECT_GT(ink.box.left, kX0 + runWidth / 4) << "not drawn from the run's left edge";

    // The interactive pass draws letter by letter from each item's left edge.
    bmp->Fill(kWhite);
    Paint(1);
    const Ink first = TextInkOf(*bmp, Cell(0), kBlack, 0);
    ASSERT_GT(first.count, 0);
    EXPECT_LT(first.box.left, kX0 + Px(t.Item(0)->GetWidth()) / 2);
}

TEST_F(PaintTest, SuperscriptIsSmallerAndRaisedByHalfTheSize)
{
    t.Set(u"HH");
    t.Modify(1, [](CCharFormat& f) { f.m_position = 1; });
    LayOut();
    Paint();
    const Ink normal = TextInkOf(*bmp, Cell(0), kBlack);
    // The superscript's cell is the item's; its glyph may rise above the line box.
    plat::Rect c = Cell(1);
    c.top -= 10;
    const Ink super = TextInkOf(*bmp, c, kBlack);
    ASSERT_GT(normal.count, 0);
    ASSERT_GT(super.count, 0);
    EXPECT_EQ(normal.box.bottom, Baseline(0));
    EXPECT_EQ(super.box.bottom, kY0 + Px(t.Item(1)->GetTop() + t.Item(1)->GetAscent() - 105));
    EXPECT_NEAR(super.box.Height() * 3, normal.box.Height() * 2, 3);
}

TEST_F(PaintTest, CompressedOpeningMarkShowsTheRightHalfOfItsGlyph)
{
    t.Set(u"（（中");
    LayOut();
    ASSERT_EQ(t.Item(1)->GetWidth(), t.Item(1)->GetHeight() / 2);
    // Each mark alone: the second is drawn half a cell to the left, so that the right
    // half of its glyph (where an opening mark's ink is) falls into its own half cell.
    auto inkOf = [&](int i) {
        bmp->Fill(kWhite);
        CRenderContext rc(&t.doc, dc);
        t.Item(i)->Draw(dc, 1.0, kX0, kY0, 1, rc, false);
        rc.Restore(dc);
        return TextInkOf(*bmp, plat::Rect(0, 0, 600, 200), kBlack, 0);
    };
    const Ink full = inkOf(0);
    const Ink half = inkOf(1);
    ASSERT_GT(full.count, 0);
    ASSERT_EQ(half.count, full.count);
    const int origin0 = kX0 + Px(t.Item(0)->GetLeft());
    const int origin1 = kX0 + Px(t.Item(1)->GetLeft() - t.Item(1)->GetWidth());
    EXPECT_EQ(half.box.left - origin1, full.box.left - origin0);
    EXPECT_GE(half.box.left, Cell(1).left - 1);
    EXPECT_LE(half.box.right, Cell(1).right + 1);
}

TEST_F(PaintTest, ParagraphMarksOnlyOnTheScreenPassWithMarksOnAndNeverInCaptions)
{
    const plat::Bitmap* mark = LoadResBitmap(u"IDB_ENDPAR");
    ASSERT_NE(mark, nullptr);
    EXPECT_EQ(LoadResBitmap(u"IDB_NOSUCH"), nullptr);
    const ColorRef markInk = Rgb(64, 64, 160);
    struct Case {
        std::uint16_t container;
        int pass;
        bool marks;
        bool shown;
    };
    const Case cases[] = {
        {kNodePlain, 1, true, true},
        {kNodePlain, 1, false, false},
        {kNodePlain, 4, true, false},
        {kNodeCaption, 1, true, false},
    };
    for (const Case& c : cases) {
        TextBox box(c.container);
        box.Set(u"ab\rc");
        CLineLayout(*box.box).LayOutColumn(0, box.Count(), 8000, kAlignLeft, 1);
        bmp->Fill(kWhite);
        CRenderContext rc(&box.doc, dc);
        box.box->Draw(dc, 1.0, kX0, kY0, c.pass, rc, c.marks);
        rc.Restore(dc);
        const CTextItem* end = box.Item(2);
        const int x = kX0 + Px(end->GetLeft());
        const int bottom = kY0 + Px(end->GetTop() + end->GetAscent());
        const int lineTop = kY0 + Px(end->GetLineTop());
        const Ink ink = InkOf(*bmp, plat::Rect(0, lineTop, 600, lineTop + Px(end->GetLineHeight())), markInk);
        if (c.shown) {
            ASSERT_GT(ink.count, 0);
            EXPECT_EQ(ink.box.left, x);
            EXPECT_EQ(ink.box.bottom, bottom - 1) << "the picture's last row is paper";
            EXPECT_GE(ink.box.top, bottom - mark->Height());
        } else {
            EXPECT_EQ(ink.count, 0) << c.container << " " << c.pass << " " << c.marks;
        }
    }
}

TEST_F(PaintTest, ReferencePaneIsPaintedAsAFullPass)
{
    t.Set(u"teh");
    alignas(8) static char errorRecord[8];
    t.Item(0)->SetMisspelt(reinterpret_cast<CSpellError*>(errorRecord));
    t.doc.SetReference(true);
    LayOut();
    Paint(1);
    EXPECT_GT(TextInkOf(*bmp, Cell(0), kBlack).count, 0);
    EXPECT_EQ(InkOf(*bmp, plat::Rect(0, 0, 600, 200), kRed).count, 0);
    EXPECT_FALSE(IsInteractivePass(&t.doc, 1));
    t.Item(0)->SetMisspelt(nullptr);
}

// ---- the colour resolver and the render context ----------------------------------------

TEST(ColorRef, ResolvesTheAutomaticColoursFromTheDocument)
{
    CQlDoc doc;
    doc.SetDefaultTextColor(0x112233);
    CColorRef colors(&doc);
    EXPECT_EQ(colors.Resolve(kAutoTextColor), 0x112233u);
    EXPECT_EQ(colors.Resolve(kAutoFillColor), 0x00FFFF00u) << "the header's default fill colour";
    EXPECT_EQ(colors.Resolve(static_cast<std::int32_t>(0x7F123456)), 0x123456u);
    EXPECT_EQ(colors.ResolveBGR(0x0000FF), 0xFF0000u);
    EXPECT_EQ(colors.ResolveBGR(0x123456), 0x563412u);
    EXPECT_EQ(CColorRef::GetBlue(), 0xFF0000u);
    EXPECT_EQ(CColorRef::GetGrey(), 0x808080u);
}

TEST(RenderContext, CreatesOneFontPerDistinctKey)
{
    CQlDoc doc;
    plat::MemoryDc dc;
    CRenderContext rc(&doc, dc);
    rc.SetFont(dc, 1.0, u"宋体", 210, false, false, false, false);
    const plat::Font* first = dc.CurrentFont();
    rc.SetFont(dc, 1.0, u"宋体", 210, false, false, false, false);
    EXPECT_EQ(dc.CurrentFont(), first);
    EXPECT_EQ(rc.GetFontCount(), 1);
    EXPECT_EQ(first->Desc().height, -14);
    EXPECT_EQ(first->Desc().weight, plat::kFwNormal);
    rc.SetFont(dc, 2.0, u"宋体", 105, false, false, false, false); // the same scaled size
    EXPECT_EQ(rc.GetFontCount(), 1);
    rc.SetFont(dc, 1.0, u"Times New Roman", 210, true, false, false, true);
    EXPECT_EQ(rc.GetFontCount(), 2);
    EXPECT_EQ(dc.CurrentFont()->Desc().weight, plat::kFwBold);
    EXPECT_TRUE(dc.CurrentFont()->Desc().strikeOut);
    rc.SetFont(dc, 1.0, u"宋体", 210, false, false, false, false);
    EXPECT_EQ(rc.GetFontCount(), 2);
    EXPECT_EQ(dc.CurrentFont(), first);
    rc.SetFont(dc, 0.25, u"宋体", 20, false, false, false, false);
    EXPECT_EQ(dc.CurrentFont()->Desc().height, -1) << "a size of 0 pixels still gives a font";
    rc.Restore(dc);
}

TEST(RenderContext, LinePensFollowTheLineKindsAndTheZoom)
{
    CQlDoc doc;
    plat::MemoryDc dc;
    CRenderContext rc(&doc, dc);
    struct Case {
        int kind;
        double zoom;
        plat::PenStyle style;
        int width;
    };
    const Case cases[] = {
        {2, 1.0, plat::kPenSolid, 1},  {3, 1.0, plat::kPenDash, 1},   {4, 1.0, plat::kPenDot, 1},
        {5, 1.0, plat::kPenDashDot, 1}, {6, 1.0, plat::kPenDashDotDot, 1}, {7, 1.0, plat::kPenSolid, 2},
        {8, 2.0, plat::kPenSolid, 8},  {13, 1.0, plat::kPenSolid, 16}, {2, 0.25, plat::kPenSolid, 1},
        {9, 0.25, plat::kPenSolid, 1}, {1, 1.0, plat::kPenSolid, 1},   {40, 1.0, plat::kPenSolid, 1},
    };
    for (const Case& c : cases) {
        rc.SetLinePen(dc, c.zoom, c.kind, 0x123456);
        EXPECT_EQ(dc.CurrentPen()->Style(), c.style) << c.kind;
        EXPECT_EQ(dc.CurrentPen()->Width(), c.width) << c.kind << " at " << c.zoom;
        EXPECT_EQ(rc.GetPenWidth(), c.width);
        EXPECT_EQ(dc.CurrentPen()->Color(), 0x123456u);
    }
    rc.SetLinePen(dc, 1.0, 2, kAutoTextColor);
    EXPECT_EQ(dc.CurrentPen()->Color(), 0u);
    const plat::Pen* pen = dc.CurrentPen();
    rc.SetLinePen(dc, 1.0, 2, kAutoTextColor);
    EXPECT_EQ(dc.CurrentPen(), pen) << "an unchanged key keeps the pen";
    rc.SetPen(dc, plat::kPenDot, 1, 0x0000FF);
    EXPECT_EQ(dc.CurrentPen()->Style(), plat::kPenDot);
    rc.SetLinePen(dc, 1.0, 2, kAutoTextColor);
    EXPECT_EQ(dc.CurrentPen()->Style(), plat::kPenSolid) << "the line pen comes back after a raw pen";
    rc.Restore(dc);
}

TEST(RenderContext, BrushKinds)
{
    CQlDoc doc;
    plat::MemoryDc dc;
    CRenderContext rc(&doc, dc);
    rc.SetBrush(dc, 1, 0);
    EXPECT_EQ(dc.CurrentBrush()->Style(), plat::BrushStyle::kNull);
    rc.SetSolidBrush(dc, 0x00FF00);
    EXPECT_EQ(*dc.CurrentBrush(), plat::Brush::Solid(0x00FF00));
    const std::pair<int, plat::HatchStyle> hatches[] = {
        {3, plat::kHatchHorizontal}, {4, plat::kHatchVertical},  {5, plat::kHatchCross},
        {6, plat::kHatchFDiagonal},  {7, plat::kHatchBDiagonal}, {8, plat::kHatchDiagCross}};
    for (auto [kind, hatch] : hatches) {
        rc.SetBrush(dc, kind, 0x0000FF);
        EXPECT_EQ(*dc.CurrentBrush(), plat::Brush::Hatched(hatch, 0x0000FF)) << kind;
    }
    rc.SetBrush(dc, 9, 0x00FF00);
    EXPECT_EQ(*dc.CurrentBrush(), plat::Brush::Hatched(plat::kHatchDiagCross, 0x0000FF)) << "no brush for kind 9";
    rc.Restore(dc);
}

TEST(RenderContext, RestorePutsTheDcBackAsItWas)
{
    CQlDoc doc;
    doc.GetAuthors().Append(0, u"");
    doc.GetAuthors().Append(7, u"乙");
    doc.SetRevisionsShown(true);
    plat::MemoryDc dc;
    auto bmp = plat::Bitmap::Create(50, 50);
    dc.Select(bmp.get());
    const plat::Font own([] {
        plat::FontDesc d;
        d.face = u"黑体";
        d.height = -20;
        return d;
    }());
    const plat::Pen ownPen(plat::kPenDash, 1, 0x00FF00);
    const plat::Brush ownBrush = plat::Brush::Hatched(plat::kHatchCross, 0xFF0000);
    dc.Select(&own);
    dc.Select(&ownPen);
    dc.Select(&ownBrush);
    dc.SetTextColor(0x445566);
    dc.SetBkMode(plat::kOpaque);
    dc.SetTextAlign(plat::kTaRight | plat::kTaBottom);
    {
        CRenderContext rc(&doc, dc);
        EXPECT_EQ(dc.GetBkMode(), plat::kTransparent);
        EXPECT_EQ(dc.GetTextAlign(), plat::kTaBaseline | plat::kTaLeft);
        CCharFormat f(&doc);
        f.m_insertedBy = 1;
        rc.DrawChar(dc, 1.0, 5, 30, u'中', u"宋体", 210, true, false, f, kAutoTextColor);
        EXPECT_EQ(dc.GetTextColor(), doc.GetAuthors().GetAuthorColor(1));
        rc.SetLinePen(dc, 1.0, 9, 0x123456);
        rc.SetSolidBrush(dc, 0x654321);
        rc.SetTextAlign(dc, plat::kTaCenter);
        rc.SetBkMode(dc, plat::kOpaque);
        EXPECT_EQ(dc.GetBkMode(), plat::kTransparent) << "always transparent";
        rc.Restore(dc);
    }
    EXPECT_EQ(dc.CurrentFont(), &own);
    EXPECT_EQ(dc.CurrentPen(), &ownPen);
    EXPECT_EQ(dc.CurrentBrush(), &ownBrush);
    EXPECT_EQ(dc.GetTextColor(), 0x445566u);
    EXPECT_EQ(dc.GetBkMode(), plat::kOpaque);
    EXPECT_EQ(dc.GetTextAlign(), plat::kTaRight | plat::kTaBottom);
}

TEST(RenderContext, DeletedCharactersAreStruckOut)
{
    CQlDoc doc;
    plat::MemoryDc dc;
    CRenderContext rc(&doc, dc);
    CCharFormat f(&doc);
    f.m_deletedBy = 1;
    rc.DrawChar(dc, 1.0, 0, 20, u'a', u"Times New Roman", 210, false, true, f, kAutoTextColor);
    EXPECT_TRUE(dc.CurrentFont()->Desc().strikeOut);
    EXPECT_TRUE(dc.CurrentFont()->Desc().italic);
    EXPECT_FALSE(dc.CurrentFont()->Desc().underline);
    rc.Restore(dc);
}

} // namespace
