// Painting a page of the document: the page number under the text area, the running head
// with its rules above it, and the body's text, checked by pixel probes on the bitmap (text
// and lines are drawn without antialiasing, so their pixels carry their colour exactly).
#include <gtest/gtest.h>

#include <memory>

#include "document/render_context.h"
#include "document/text_item.h"
#include "document/units.h"
#include "platform/base/system.h"
#include "platform/gfx/bitmap.h"
#include "tests/document/doc_object_support.h"
#include "tests/support/pixel_probe.h"

using namespace doctest;
using testsupport::Ink;
using testsupport::InkOf;
using testsupport::InkOn;

namespace {

constexpr plat::ColorRef kWhite = plat::Rgb(255, 255, 255);
constexpr plat::ColorRef kInk = plat::Rgb(0, 0, 200);
// Where the page's top left corner goes.
constexpr int kX = 10;
constexpr int kY = 10;

// Rows top..bottom-1 of both bitmaps are the same.
bool SameRows(const plat::Bitmap& a, const plat::Bitmap& b, int top, int bottom)
{
    for (int y = std::max(0, top); y < std::min(a.Height(), bottom); ++y)
        for (int x = 0; x < a.Width(); ++x)
            if (a.GetPixel(x, y) != b.GetPixel(x, y)) return false;
    return true;
}

// A white bitmap of a page at 100 % with room around it, and a DC on it.
struct Sheet {
    std::unique_ptr<plat::Bitmap> bmp;
    plat::MemoryDc dc;
    explicit Sheet(double zoom = 1.0)
        : bmp(plat::Bitmap::Create(static_cast<int>(790 * zoom), static_cast<int>(1110 * zoom)))
    {
        bmp->Fill(kWhite);
        dc.Select(bmp.get());
    }
    int Px(int twips, double zoom = 1.0) const { return TwipsToPixels(dc, zoom, twips); }
    // The text area of a page drawn at (kX, kY), in pixels.
    plat::Rect Area(const CQlDoc& doc, double zoom = 1.0) const
    {
        const plat::Rect t = doc.GetTextAreaRect();
        plat::Rect a = TwipsToPixelsRect(dc, zoom, t.left, t.top, t.right, t.bottom);
        a.Offset(kX, kY);
        return a;
    }
};

// What the text looks like alone: drawn in the face and size (twips) at the zoom, centred
// over [left, right), its top at the row; returns the bitmap and the text's pixel height.
std::unique_ptr<plat::Bitmap> Reference(const Sheet& like, const plat::String& text, const plat::String& face,
                                        int size, double zoom, int left, int right, int top, int* height = nullptr)
{
    auto bmp = plat::Bitmap::Create(like.bmp->Width(), like.bmp->Height());
    bmp->Fill(kWhite);
    plat::MemoryDc dc;
    dc.Select(bmp.get());
    plat::FontDesc d;
    d.face = face;
    d.height = -std::max(1, TwipsToPixels(dc, zoom, size));
    plat::Font font(d);
    dc.Select(&font);
    dc.SetBkMode(plat::kTransparent);
    dc.SetTextColor(kInk);
    dc.SetTextAlign(plat::kTaTop | plat::kTaLeft);
    const int h = dc.GetTextMetrics().height;
    if (height) *height = h;
    dc.TextOut(left + (right - left - dc.GetTextExtent(text).cx) / 2, top, text);
    dc.Select(plat::DefaultGuiFont());
    return bmp;
}

int TextHeight(const plat::String& face, int size, double zoom)
{
    int h = 0;
    Sheet s;
    Reference(s, u"x", face, size, zoom, 0, 10, 0, &h);
    return h;
}

class PagePaint : public testing::Test {
protected:
    PagePaint()
    {
        doc().SetDefaultTextColor(kInk);
        // Three pages.
        s.Body().InsertPageBreak();
        s.Body().InsertPageBreak();
        s.Body().RelayoutWhole();
    }
    CQlDoc& doc() { return s.doc; }
    CDocHeader& header() { return *s.doc.GetHeader(); }

    ShownDoc s;
};

// ---- page numbers ----

TEST_F(PagePaint, PageNumberByStyleAndFirstPageFlag)
{
    ASSERT_EQ(doc().GetPageCount(), 3);
    struct Case {
        std::uint8_t style;
        std::uint8_t onFirst;
        int page;
        const char16_t* text; // nullptr: no number
    };
    const Case cases[] = {
        {CDocHeader::kPageOfPages, 0, 1, u"共 3 页·第 2 页"},
        {CDocHeader::kPageOfPages, 0, 2, u"共 3 页·第 3 页"},
        {CDocHeader::kPageOfPages, 0, 0, nullptr},
        {CDocHeader::kPageOfPages, 1, 0, u"共 3 页·第 1 页"},
        {CDocHeader::kPageOnly, 0, 0, nullptr},
        {CDocHeader::kPageOnly, 0, 1, u"第 2 页"},
        {CDocHeader::kPageOnly, 1, 0, u"第 1 页"},
        {CDocHeader::kNoPageNumber, 1, 1, nullptr},
    };
    for (const Case& c : cases) {
        header().m_pageNumberStyle = c.style;
        header().m_pageNumberOnFirst = c.onFirst;
        Sheet sheet;
        doc().DrawPageDecorations(sheet.dc, c.page, 1.0, kX, kY);
        const plat::Rect area = sheet.Area(doc());
        SCOPED_TRACE(testing::Message() << int(c.style) << "/" << int(c.onFirst) << " page " << c.page);
        if (!c.text) {
            EXPECT_EQ(InkOn(*sheet.bmp, plat::Rect(0, 0, 790, 1110)).count, 0);
            continue;
        }
        // The number is drawn under the text area, a quarter of its height below, centred.
        const int h = TextHeight(u"宋体", 180, 1.0);
        const int top = area.bottom + h / 4;
        const auto expected = Reference(sheet, c.text, u"宋体", 180, 1.0, area.left, area.right, top);
        EXPECT_TRUE(SameRows(*sheet.bmp, *expected, 0, 1110));
        const Ink ink = InkOn(*sheet.bmp, plat::Rect(0, 0, 790, 1110));
        EXPECT_GT(ink.count, 20);
        EXPECT_GE(ink.box.top, top);
        EXPECT_LE(ink.box.bottom, top + h);
        EXPECT_LE(std::abs((ink.box.left + ink.box.right) - (area.left + area.right)), 4) << "centred";
    }
}

TEST_F(PagePaint, PageNumberInItsOwnFaceAndSizeInTheAutomaticColour)
{
    header().m_pageNumberStyle = CDocHeader::kPageOnly;
    header().m_pageNumberFace = u"黑体";
    header().m_pageNumberSize = 315;
    Sheet sheet;
    doc().DrawPageDecorations(sheet.dc, 1, 1.0, kX, kY);
    const plat::Rect area = sheet.Area(doc());
    const int h = TextHeight(u"黑体", 315, 1.0);
    const auto expected = Reference(sheet, u"第 2 页", u"黑体", 315, 1.0, area.left, area.right, area.bottom + h / 4);
    EXPECT_TRUE(SameRows(*sheet.bmp, *expected, 0, 1110));
    // Every pixel drawn is the document's automatic text colour, or at a glyph's edge a
    // mix of it with the white page.
    const Ink all = InkOn(*sheet.bmp, plat::Rect(0, 0, 790, 1110));
    EXPECT_EQ(testsupport::TextInkOf(*sheet.bmp, all.box, kInk, 0).count, all.count);
    EXPECT_GT(InkOf(*sheet.bmp, all.box, kInk).count, 20) << "the strokes themselves in the colour";
}

// ---- the running head ----

// The rows that hold ink across the whole text width, between two rows.
std::vector<int> RuleRows(const plat::Bitmap& bmp, const plat::Rect& area, int from, int to)
{
    std::vector<int> rows;
    for (int y = from; y < to; ++y) {
        bool full = true;
        for (int x = area.left; x < area.right && full; ++x) full = bmp.GetPixel(x, y) == kInk;
        const bool outside = bmp.GetPixel(area.left - 1, y) == kWhite && bmp.GetPixel(area.right, y) == kWhite;
        if (full && outside) rows.push_back(y);
    }
    return rows;
}

TEST_F(PagePaint, HeaderRulesAtEachZoom)
{
    struct Case {
        std::uint8_t rule;
        double zoom;
        std::vector<int> rows; // relative to the text area's top
    };
    // 52 twips above the text area; lower rule 2/96 inch, upper 4/96 inch a gap of the
    // lower rule's thickness above it.
    const Case cases[] = {
        {CDocHeader::kSingleRule, 1.0, {-5, -4}},
        {CDocHeader::kDoubleRule, 1.0, {-11, -10, -9, -8, -5, -4}},
        {CDocHeader::kSingleRule, 2.0, {-10, -9, -8, -7}},
        {CDocHeader::kDoubleRule, 2.0, {-22, -21, -20, -19, -18, -17, -16, -15, -10, -9, -8, -7}},
        // At a quarter the rules keep at least one and two pixels.
        {CDocHeader::kDoubleRule, 0.25, {-4, -3, -1}},
        {CDocHeader::kNoHeader, 1.0, {}},
    };
    for (const Case& c : cases) {
        header().m_headerRule = c.rule;
        header().m_headerOnFirst = 1;
        Sheet sheet(std::max(1.0, c.zoom));
        doc().DrawPageDecorations(sheet.dc, 0, c.zoom, kX, kY);
        const plat::Rect area = sheet.Area(doc(), c.zoom);
        std::vector<int> rows;
        for (int y : RuleRows(*sheet.bmp, area, 0, area.top)) rows.push_back(y - area.top);
        EXPECT_EQ(rows, c.rows) << int(c.rule) << " at " << c.zoom;
        // Nothing else above the text area.
        EXPECT_EQ(InkOn(*sheet.bmp, plat::Rect(0, 0, sheet.bmp->Width(), area.top)).count,
                  static_cast<int>(c.rows.size()) * area.Width())
            << int(c.rule) << " at " << c.zoom;
    }
}

TEST_F(PagePaint, HeaderTextAboveTheUpperRule)
{
    header().m_headerText = u"第一章 Quiln";
    header().m_headerFace = u"楷体";
    header().m_headerSize = 240;
    struct Case {
        std::uint8_t rule;
        int upperRuleTop; // relative to the text area's top
    };
    for (const Case& c : {Case{CDocHeader::kSingleRule, -5}, Case{CDocHeader::kDoubleRule, -11}}) {
        header().m_headerRule = c.rule;
        Sheet sheet;
        doc().DrawPageDecorations(sheet.dc, 1, 1.0, kX, kY);
        const plat::Rect area = sheet.Area(doc());
        // The text's bottom is 52 twips (3 pixels) above the upper rule's top.
        const int h = TextHeight(u"楷体", 240, 1.0);
        const int top = area.top + c.upperRuleTop - 3 - h;
        const auto expected = Reference(sheet, u"第一章 Quiln", u"楷体", 240, 1.0, area.left, area.right, top);
        EXPECT_TRUE(SameRows(*sheet.bmp, *expected, 0, area.top + c.upperRuleTop)) << int(c.rule);
        EXPECT_GT(InkOn(*sheet.bmp, plat::Rect(0, top, 790, top + h)).count, 20);
    }
}

TEST_F(PagePaint, RuleStyleZeroOrFirstPageShowsNoHeader)
{
    header().m_headerText = u"页眉";
    header().m_pageNumberStyle = CDocHeader::kNoPageNumber;
    struct Case {
        std::uint8_t rule;
        std::uint8_t onFirst;
        int page;
        bool drawn;
    };
    const Case cases[] = {
        {CDocHeader::kNoHeader, 1, 1, false}, // the text alone is never drawn
        {CDocHeader::kSingleRule, 0, 0, false},
        {CDocHeader::kSingleRule, 1, 0, true},
        {CDocHeader::kSingleRule, 0, 2, true},
    };
    for (const Case& c : cases) {
        header().m_headerRule = c.rule;
        header().m_headerOnFirst = c.onFirst;
        Sheet sheet;
        doc().DrawPageDecorations(sheet.dc, c.page, 1.0, kX, kY);
        EXPECT_EQ(InkOn(*sheet.bmp, plat::Rect(0, 0, 790, 1110)).count > 0, c.drawn)
            << int(c.rule) << "/" << int(c.onFirst) << " page " << c.page;
    }
}

TEST_F(PagePaint, DecorationsLeaveTheDcAsTheyFoundIt)
{
    header().m_headerRule = CDocHeader::kDoubleRule;
    header().m_headerText = u"页眉";
    Sheet sheet;
    const plat::Pen pen(plat::kPenDash, 3, plat::Rgb(1, 2, 3));
    sheet.dc.Select(&pen);
    sheet.dc.SetTextColor(plat::Rgb(9, 8, 7));
    sheet.dc.SetTextAlign(plat::kTaRight);
    sheet.dc.SetBkMode(plat::kOpaque);
    doc().DrawPageDecorations(sheet.dc, 1, 1.0, kX, kY);
    EXPECT_EQ(*sheet.dc.CurrentPen(), pen);
    EXPECT_EQ(sheet.dc.GetTextColor(), plat::Rgb(9, 8, 7));
    EXPECT_EQ(sheet.dc.GetTextAlign(), unsigned(plat::kTaRight));
    EXPECT_EQ(sheet.dc.GetBkMode(), plat::kOpaque);
}

} // namespace

namespace {

// ---- whole pages ----

std::unique_ptr<plat::Bitmap> Copy(const plat::Bitmap& from)
{
    auto to = plat::Bitmap::Create(from.Width(), from.Height());
    for (int y = 0; y < from.Height(); ++y) std::copy_n(from.Row(y), from.Width(), to->MutableRow(y));
    return to;
}

class WholePage : public PagePaint {
protected:
    // Text on the first page, then the two page breaks, then text on the third page.
    WholePage()
    {
        s.Body().SetCaret(CTextPos(0, s.Body().GetName()));
        s.Body().InsertItemsAtCaret(u"中文 Quiln 第一页");
        s.Body().SetCaret(CTextPos(s.Body().GetCount() - 1, s.Body().GetName()));
        s.Body().InsertItemsAtCaret(u"第三页");
        s.Body().SetCaret(CTextPos(0, s.Body().GetName()));
        s.Body().RelayoutWhole();
    }
    // Where the body's origin lands when page i is drawn at (kX, kY) at 100 %: the page's
    // top left corner at (kX, kY + 8 pixels).
    plat::Point Origin(const Sheet& sheet, int page) const
    {
        const plat::Rect r = s.doc.GetPageRect(page);
        return plat::Point(kX - sheet.Px(r.left), kY + 8 - sheet.Px(r.top));
    }
    // An item's box in pixels on the sheet.
    plat::Rect Cell(const Sheet& sheet, int page, int i) const
    {
        const CTextItem* item = s.Body().GetItem(i);
        const plat::Point o = Origin(sheet, page);
        return plat::Rect(o.x + sheet.Px(item->GetLeft()), o.y + sheet.Px(item->GetLineTop()),
                          o.x + sheet.Px(item->GetLeft() + item->GetDrawnWidth()),
                          o.y + sheet.Px(item->GetLineTop() + item->GetLineHeight()));
    }
};

TEST_F(WholePage, RenderedPageShowsTextPageNumberAndHeaderRule)
{
    header().m_pageNumberStyle = CDocHeader::kPageOfPages;
    header().m_pageNumberOnFirst = 1;
    header().m_headerRule = CDocHeader::kDoubleRule;
    header().m_headerOnFirst = 1;
    header().m_headerText = u"页眉 Header";
    Sheet sheet;
    doc().DrawPage(sheet.dc, 1.0, kX, kY, 0, CQlDoc::kDrawPrint);
    const plat::String path = plat::TempDir() + u"doc_object_page.png";
    ASSERT_TRUE(sheet.bmp->SavePng(path));
    const auto png = plat::Bitmap::LoadPng(path);
    ASSERT_NE(png, nullptr);
    EXPECT_TRUE(SameRows(*png, *sheet.bmp, 0, png->Height()));

    // The text area of the page, whose top is 8 pixels below kY.
    plat::Rect area = sheet.Area(doc());
    area.Offset(0, 8);
    // The page number: "共 3 页·第 1 页" centred a quarter of its height under the text area.
    const int h = TextHeight(u"宋体", 180, 1.0);
    const auto number = Reference(sheet, u"共 3 页·第 1 页", u"宋体", 180, 1.0, area.left, area.right, area.bottom + h / 4);
    EXPECT_TRUE(SameRows(*png, *number, area.bottom, png->Height()));
    // The double rule.
    std::vector<int> rows;
    for (int y : RuleRows(*png, area, 0, area.top)) rows.push_back(y - area.top);
    EXPECT_EQ(rows, (std::vector<int>{-11, -10, -9, -8, -5, -4}));
    // The text of the first page in its cells, and only there.
    const CDocBody& body = s.Body();
    ASSERT_EQ(body.GetItem(0)->GetCode(), u'中');
    for (int i : {0, 1, 3, 4, 9, 11}) EXPECT_GT(InkOn(*png, Cell(sheet, 0, i)).count, 0) << i;
    EXPECT_EQ(InkOn(*png, Cell(sheet, 0, 2)).count, 0) << "a space";
    const plat::Rect firstLine = Cell(sheet, 0, 0).Union(Cell(sheet, 0, 11));
    EXPECT_EQ(InkOn(*png, plat::Rect(area.left, area.top, area.right, area.bottom)).count,
              InkOn(*png, firstLine).count)
        << "nothing of the third page's text";
}

TEST_F(WholePage, EachPageDrawsItsOwnPartOfTheBody)
{
    header().m_pageNumberStyle = CDocHeader::kNoPageNumber;
    // The paragraph after the two page breaks lies on the third page.
    const int third = s.Body().GetCount() - 4; // "第" of "第三页"
    ASSERT_EQ(s.doc.PageRectFromPoint(plat::Point(300, s.Body().GetItem(third)->GetTop())), s.doc.GetPageRect(2));
    Sheet sheet;
    doc().DrawPage(sheet.dc, 1.0, kX, kY, 2, CQlDoc::kDrawPrint);
    const Ink ink = InkOn(*sheet.bmp, plat::Rect(0, 0, 790, 1110));
    EXPECT_GT(ink.count, 0);
    EXPECT_GT(InkOn(*sheet.bmp, Cell(sheet, 2, third)).count, 0);
    EXPECT_LT(ink.box.right, Cell(sheet, 2, third + 2).right + 2) << "only its own text";
    // It starts at the top of that page's text area.
    plat::Rect area = sheet.Area(doc());
    area.Offset(0, 8);
    EXPECT_GE(ink.box.top, area.top);
    EXPECT_LT(ink.box.top, area.top + 30);
    EXPECT_GE(ink.box.left, area.left);
}

TEST_F(WholePage, SelectionIsInvertedAndTheCaretIsABar)
{
    header().m_pageNumberStyle = CDocHeader::kNoPageNumber;
    Sheet sheet;
    doc().DrawPage(sheet.dc, 1.0, kX, kY, 0, CQlDoc::kDrawScreen);
    const auto before = Copy(*sheet.bmp);
    const plat::Point o = Origin(sheet, 0);
    const std::u16string name = s.Body().GetName();

    // Items 1 and 2 ("文" and the space) selected: their cells are inverted, one band.
    s.Body().SetSelection(CTextPos(3, name), CTextPos(1, name));
    s.Body().DrawCaret(sheet.dc, 1.0, o.x, o.y);
    const plat::Rect band = Cell(sheet, 0, 1).Union(Cell(sheet, 0, 2));
    int inverted = 0, kept = 0, outsideChanged = 0;
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 790; ++x) {
            const plat::ColorRef was = before->GetPixel(x, y), now = sheet.bmp->GetPixel(x, y);
            if (band.Contains(plat::Point(x, y))) {
                inverted += now == (was ^ 0xFFFFFF);
                kept += now == was;
            } else {
                outsideChanged += now != was;
            }
        }
    EXPECT_EQ(inverted, band.Width() * band.Height());
    EXPECT_EQ(outsideChanged, 0);
    EXPECT_EQ(sheet.bmp->GetPixel(band.left, band.top), plat::Rgb(0, 0, 0)) << "white paper turns black";
    EXPECT_FALSE(s.Body().IsCaretShown()) << "no caret while text is selected";

    // Inverting again puts the page back; then the caret: a 2-pixel bar at item 4's left
    // edge, as high as the item.
    s.Body().DrawCaret(sheet.dc, 1.0, o.x, o.y);
    EXPECT_TRUE(SameRows(*sheet.bmp, *before, 0, sheet.bmp->Height()));
    s.Body().SetCaret(CTextPos(4, name));
    s.Body().DrawCaret(sheet.dc, 1.0, o.x, o.y);
    const CTextItem* item = s.Body().GetItem(4);
    const plat::Rect bar(o.x + sheet.Px(item->GetLeft()), o.y + sheet.Px(item->GetTop()),
                         o.x + sheet.Px(item->GetLeft()) + 2, o.y + sheet.Px(item->GetTop()) + sheet.Px(item->GetHeight()));
    ASSERT_TRUE(s.Body().IsCaretShown());
    EXPECT_EQ(s.Body().GetCaretRect(), bar);
    int changed = 0;
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 790; ++x) {
            const plat::ColorRef was = before->GetPixel(x, y), now = sheet.bmp->GetPixel(x, y);
            if (bar.Contains(plat::Point(x, y))) EXPECT_EQ(now, was ^ 0xFFFFFF) << x << "," << y;
            else changed += now != was;
        }
    EXPECT_EQ(changed, 0);
}

} // namespace
