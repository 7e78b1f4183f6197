// Painting of the page body: which items and objects a page or visible area gets, hidden
// deletions, and the caret, the selection bands, selected objects and the creation tool
// drawn over them. Checked by pixel probes on a white bitmap with the body's origin at
// pixel (0, 0) and zoom 1 (15 twips a pixel).
#include <gtest/gtest.h>

#include "document/format_state.h"
#include "document/text_frame.h"
#include "document/units.h"
#include "tests/document/objects_support.h"
#include "tests/document/page_body_support.h"

using namespace pagebody;
using objtest::Canvas;

namespace {

constexpr plat::ColorRef kWhite = 0xFFFFFF;
constexpr plat::ColorRef kBlack = 0x000000;

int Px(int twips)
{
    return twips * plat::kScreenDpi / kTwipsPerInch;
}

// Pixels in the rectangle that are not white.
int Ink(const Canvas& c, const plat::Rect& r)
{
    return testsupport::InkOn(*c.bitmap, r, kWhite).count;
}

class BodyPaint : public BodyTest {
protected:
    // The item's line box in pixels, of the body or of another flow laid out from the
    // desk's origin.
    static plat::Rect LineBox(const CTextItem& t)
    {
        return plat::Rect(Px(t.GetLeft()), Px(t.GetLineTop()), Px(t.GetLeft() + t.GetDrawnWidth()),
                          Px(t.GetLineTop() + t.GetLineHeight()));
    }
    plat::Rect LineBox(int i) const { return LineBox(Item(i)); }
    // The 2-pixel caret bar at an item.
    static plat::Rect CaretBar(const CTextItem& at)
    {
        return plat::Rect(Px(at.GetLeft()), Px(at.GetTop()), Px(at.GetLeft()) + 2, Px(at.GetTop()) + Px(at.GetHeight()));
    }
    // The canvas holds two solid inverted bands and nothing else.
    static void ExpectBands(const Canvas& c, const plat::Rect& first, const plat::Rect& next)
    {
        EXPECT_EQ(Ink(c, first), first.Width() * first.Height());
        EXPECT_EQ(Ink(c, next), next.Width() * next.Height());
        EXPECT_EQ(Ink(c, plat::Rect(0, 0, 300, 250)), first.Width() * first.Height() + next.Width() * next.Height());
    }
    void Draw(Canvas& c, int mode, const plat::Rect& twips) { body().DrawPage(c.dc, 1.0, 0, 0, mode, twips); }
    plat::Rect Page(int i) const { return body().GetPageRect(i); }
};

} // namespace

TEST_F(BodyPaint, PagePaintsItsItemsAndNotThoseOfOtherPages)
{
    Append(u"第一页的文字。\f第二页的文字。\f第三页。\f第四页的文字。");
    const int second = IndexOf(u'第', 1);
    const int fourth = IndexOf(u'第', 3);
    ASSERT_EQ(PageOf(fourth), 3);
    for (int mode : {1, 2, 3}) {
        SCOPED_TRACE(mode);
        {
            Canvas c(300, 500);
            // Only the second page: items of page 1 lie above it and are skipped.
            Draw(c, mode, Page(1));
            EXPECT_EQ(Ink(c, LineBox(0)), 0);
            EXPECT_GT(Ink(c, LineBox(second)), 20);
        }
        // The fourth page drawn at the top of the bitmap: nothing of the pages before it.
        Canvas c(300, 250);
        const int y0 = -Px(Page(3).top);
        body().DrawPage(c.dc, 1.0, 0, y0, mode, Page(3));
        plat::Rect where = LineBox(fourth).Union(LineBox(body().GetCount() - 2));
        where.Offset(0, y0);
        EXPECT_GT(Ink(c, where), 20);
        EXPECT_EQ(Ink(c, plat::Rect(0, 0, 300, where.top)), 0);
        EXPECT_EQ(Ink(c, plat::Rect(0, where.bottom, 300, 250)), 0);
    }
}

TEST_F(BodyPaint, ScreenSkipsLinesAboveTheVisibleArea)
{
    Append(u"第一行的文字很长很长很长很长很长很长很长。");
    int second = 1;
    while (Item(second).GetLineTop() == Item(0).GetLineTop()) ++second;
    Canvas c(300, 250);
    plat::Rect visible = Page(0);
    visible.top = Item(second).GetLineTop();
    Draw(c, 1, visible);
    EXPECT_EQ(Ink(c, LineBox(0)), 0);
    EXPECT_GT(Ink(c, LineBox(second)), 20);
}

TEST_F(BodyPaint, DeletedTextShowsOnlyInRevisionView)
{
    Append(u"删除");
    CCharFormat deleted(Item(0).GetFormat());
    deleted.m_deletedBy = 1;
    body().GetItem(0)->SetFormat(deleted);
    body().RelayoutWhole();
    const plat::Rect where(Px(TextArea(0).left), Px(TextArea(0).top), Px(TextArea(0).left) + 15, Px(TextArea(0).top) + 20);
    {
        Canvas c(300, 250);
        Draw(c, 1, Page(0));
        // The hidden character takes no room: the second one is drawn where it would be.
        EXPECT_EQ(Item(1).GetLeft(), TextArea(0).left);
        EXPECT_GT(Ink(c, where), 0);
    }
    doc.SetRevisionsShown(true);
    body().RelayoutWhole();
    Canvas c(300, 250);
    Draw(c, 1, Page(0));
    EXPECT_GT(Ink(c, LineBox(0)), 20);
    EXPECT_GT(Ink(c, LineBox(1)), 20);
}

TEST_F(BodyPaint, LatinTextPrintsInRunsWithinItsLineAndUnderlines)
{
    Append(u"Printed words");
    CCharFormat under(Item(0).GetFormat());
    under.m_underline = 1;
    for (int i = 8; i < 13; ++i) body().GetItem(i)->SetFormat(under); // "words"
    body().RelayoutWhole();
    for (int mode : {1, 3}) {
        SCOPED_TRACE(mode);
        Canvas c(300, 250);
        Draw(c, mode, Page(0));
        const plat::Rect line = LineBox(0).Union(LineBox(12));
        EXPECT_GT(Ink(c, line), 40);
        // The underline runs under "words" below its baseline, not under "Printed".
        const int y = Px(Item(8).GetTop() + Item(8).GetAscent()) + 1;
        plat::Rect below(Px(Item(8).GetLeft()), y, Px(Item(12).GetLeft() + Item(12).GetWidth()), line.bottom + 2);
        EXPECT_GT(Ink(c, below), 10);
        plat::Rect plain(Px(Item(0).GetLeft()), y + 2, Px(Item(6).GetLeft()), line.bottom + 2);
        EXPECT_LT(Ink(c, plain), Ink(c, below));
    }
}

TEST_F(BodyPaint, ObjectsAreDrawnOverTheTextOfTheirBand)
{
    Append(u"对象下面的文字。");
    const plat::Rect t = TextArea(0);
    objtest::CTestObject::PaintLog().clear();
    objtest::CTestObject* o = AddObject(plat::Rect(t.left + 1500, t.top + 1000, t.left + 2000, t.top + 1400), kWrapNone, 4);
    AddObject(plat::Rect(t.left, Page(1).top + 1000, t.left + 500, Page(1).top + 1500), kWrapNone, 5);
    Canvas c(300, 250);
    Draw(c, 3, Page(0));
    EXPECT_EQ(objtest::CTestObject::PaintLog(), std::vector<int>{4});
    EXPECT_EQ(c.At(Px(o->m_bounds.left) + 3, Px(o->m_bounds.top) + 3), o->m_color);
}

// ---- caret and selection ----

TEST_F(BodyPaint, CaretIsATwoPixelBarAtTheCaretItem)
{
    Append(u"光标Ab");
    Caret(2);
    Canvas c(300, 250);
    body().DrawCaret(c.dc, 1.0, 0, 0);
    ASSERT_TRUE(body().IsCaretShown());
    const plat::Rect expected = CaretBar(Item(2));
    EXPECT_EQ(body().GetCaretRect(), expected);
    // Drawn by inversion: white becomes black inside the bar only.
    EXPECT_EQ(c.At(expected.left, expected.top), kBlack);
    EXPECT_EQ(c.At(expected.left + 1, expected.bottom - 1), kBlack);
    EXPECT_EQ(c.At(expected.left + 2, expected.top + 2), kWhite);
    EXPECT_EQ(c.At(expected.left, expected.bottom), kWhite);
    EXPECT_EQ(Ink(c, plat::Rect(0, 0, 300, 250)), 2 * expected.Height());
}

TEST_F(BodyPaint, SuperscriptCaretIsTwoThirdsHighAndRaised)
{
    Append(u"x2");
    CCharFormat sup(Item(1).GetFormat());
    sup.m_position = 1;
    body().GetItem(1)->SetFormat(sup);
    body().RelayoutWhole();
    Caret(1);
    Canvas c(300, 250);
    body().DrawCaret(c.dc, 1.0, 0, 0);
    const int h = Px(Item(1).GetHeight());
    const int small = 2 * h / 3;
    EXPECT_EQ(body().GetCaretRect().Height(), small);
    EXPECT_EQ(body().GetCaretRect().top, Px(Item(1).GetTop()) - small / 3);
}

TEST_F(BodyPaint, SelectionIsOneInvertedBandPerLine)
{
    Append(u"选择的文字跨过两行，第二行也有一些被选择的文字。");
    int second = 1;
    while (Item(second).GetLineTop() == Item(0).GetLineTop()) ++second;
    Select(2, second + 3);
    Canvas c(300, 250);
    body().DrawCaret(c.dc, 1.0, 0, 0);
    EXPECT_FALSE(body().IsCaretShown());
    ExpectBands(c, LineBox(2).Union(LineBox(second - 1)), LineBox(second).Union(LineBox(second + 2)));
    // Painted twice, the bands put the page back.
    body().DrawCaret(c.dc, 1.0, 0, 0);
    EXPECT_EQ(Ink(c, plat::Rect(0, 0, 300, 250)), 0);
}

TEST_F(BodyPaint, SelectedObjectsDrawTheirMarksInsteadOfTheCaret)
{
    struct Marked : objtest::CTestObject {
        using CTestObject::CTestObject;
        void DrawSelection(plat::Dc&, double, int, int) override { ++marks; }
        int marks = 0;
    };
    Append(u"文字");
    auto* a = static_cast<Marked*>(body().AddObject(std::make_unique<Marked>(&doc, nullptr)));
    auto* b = static_cast<Marked*>(body().AddObject(std::make_unique<Marked>(&doc, nullptr)));
    a->SetSelected(true);
    Canvas c(300, 250);
    body().DrawCaret(c.dc, 1.0, 0, 0);
    EXPECT_EQ(a->marks, 1);
    EXPECT_EQ(b->marks, 0);
    EXPECT_FALSE(body().IsCaretShown());
    EXPECT_EQ(Ink(c, plat::Rect(0, 0, 300, 250)), 0);
}

TEST_F(BodyPaint, CreationToolDrawsItselfAndNothingElse)
{
    struct Tool : CCreationTool {
        std::uint16_t GetCreateType() const override { return kNodeShape; }
        void Draw(plat::Dc&, double, int, int) override { ++(*draws); }
        int* draws = nullptr;
    };
    int draws = 0;
    auto tool = std::make_unique<Tool>();
    tool->draws = &draws;
    doc.GetFormatState()->SetCreationTracker(std::move(tool));
    Append(u"文字");
    Canvas c(300, 250);
    body().DrawCaret(c.dc, 1.0, 0, 0);
    EXPECT_EQ(draws, 1);
    EXPECT_FALSE(body().IsCaretShown());
    EXPECT_EQ(Ink(c, plat::Rect(0, 0, 300, 250)), 0);
}

TEST_F(BodyPaint, FocusFrameShowsItsCaretAndSelectionThroughTheBody)
{
    // A frame with no owner lays out from the desk's origin; the body draws the frame's
    // caret and keeps it as the canvas's caret.
    CTextFrameObj frame(&doc, nullptr, kNodeTextShape, 3000, 1500, kAlignLeft);
    frame.InsertItemsAtCaret(u"框里的文字，框里的文字，框里的文字。");
    frame.RelayoutWhole();
    ASSERT_GT(frame.GetLineBreakCount(), 0) << "the text needs two lines";
    int second = 1;
    while (frame.GetItem(second)->GetLineTop() == frame.GetItem(0)->GetLineTop()) ++second;
    doc.GetFormatState()->SetFocusObject(&frame);

    frame.SetCaret(CTextPos(2, frame.GetName()));
    Canvas c(300, 250);
    body().DrawCaret(c.dc, 1.0, 0, 0);
    ASSERT_TRUE(body().IsCaretShown());
    const plat::Rect bar = CaretBar(*frame.GetItem(2));
    EXPECT_EQ(body().GetCaretRect(), bar);
    EXPECT_EQ(frame.GetCaretRect(), bar);
    EXPECT_EQ(Ink(c, plat::Rect(0, 0, 300, 250)), bar.Width() * bar.Height());
    EXPECT_EQ(c.At(bar.left, bar.top), kBlack);
    body().DrawCaret(c.dc, 1.0, 0, 0);
    EXPECT_EQ(Ink(c, plat::Rect(0, 0, 300, 250)), 0) << "drawn again, the bar goes";

    frame.SetSelection(CTextPos(second + 2, frame.GetName()), CTextPos(1, frame.GetName()));
    body().DrawCaret(c.dc, 1.0, 0, 0);
    EXPECT_FALSE(body().IsCaretShown());
    auto box = [&](int i) { return LineBox(*frame.GetItem(i)); };
    ExpectBands(c, box(1).Union(box(second - 1)), box(second).Union(box(second + 1)));
    doc.GetFormatState()->SetFocusObject(&body());
}

TEST_F(BodyPaint, AnotherFocusTextDrawsItsOwnCaret)
{
    struct Frame : CTextFrameObj {
        using CTextFrameObj::CTextFrameObj;
        void DrawCaret(plat::Dc&, double, int, int) override { ++carets; }
        int carets = 0;
    };
    Frame frame(&doc, nullptr, kNodeTextShape, 1000, 300, kAlignLeft);
    doc.GetFormatState()->SetFocusObject(&frame);
    Canvas c(300, 250);
    body().DrawCaret(c.dc, 1.0, 0, 0);
    EXPECT_EQ(frame.carets, 1);
    EXPECT_FALSE(body().IsCaretShown());
    doc.GetFormatState()->SetFocusObject(&body());
}
