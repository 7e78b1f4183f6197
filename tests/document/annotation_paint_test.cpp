// Annotations on the page: the yellow highlight of annotated text, the boxes in the right
// margin with their leader lines, stacked when several notes share a line, shown always or
// only for the note under the mouse. Checked by pixel probes on the body painted at zoom 1
// with the desk's origin at pixel (0, 0).
#include <gtest/gtest.h>

#include "document/units.h"
#include "platform/gfx/sys_colors.h"
#include "tests/document/objects_support.h"
#include "tests/document/page_body_support.h"

using namespace pagebody;
using objtest::Canvas;

namespace {

constexpr plat::ColorRef kYellow = 0x00FFFF;
constexpr plat::Rect kA4Margins{20, 20, 20, 20};
constexpr plat::Size kA4Paper{200, 287};

int Px(int twips)
{
    return twips * plat::kScreenDpi / kTwipsPerInch;
}

class AnnotationPaint : public BodyTest {
protected:
    void SetUp() override
    {
        BodyTest::SetUp();
        UsePage(kA4Margins, kA4Paper);
        doc.GetAuthors().Append(7, u"甲");
        doc.GetAuthors().Append(9, u"乙");
        doc.SetCurAuthorIndex(1);
        Append(u"Alpha beta gamma");
    }
    CAnnotationList& Notes() { return doc.GetAnnotations(); }
    const CAnnotation& Note(int number) { return *Notes().FromNumber(number); }
    int Mark(int from, int to, const char16_t* text)
    {
        Select(from, to);
        return doc.InsertAnnotation(text);
    }
    // The first page's top, as the screen shows it.
    void Paint(Canvas& c, int mode) { body().DrawPage(c.dc, 1.0, 0, 0, mode, plat::Rect(0, 0, 12000, 6000)); }
    // The item's cell in pixels.
    plat::Rect Cell(int i) const
    {
        const CTextItem& t = Item(i);
        return plat::Rect(Px(t.GetLeft()), Px(t.GetLineTop()), Px(t.GetLeft() + t.GetDrawnWidth()),
                          Px(t.GetLineTop() + t.GetLineHeight()));
    }
    static int Yellow(const Canvas& c, const plat::Rect& r) { return testsupport::InkOf(*c.bitmap, r, kYellow).count; }
    // The right margin of the first page, in pixels.
    plat::Rect Margin() const
    {
        const int right = 200 + MmToTwips(kA4Paper.cx);
        return plat::Rect(Px(right - MmToTwips(kA4Margins.right)), 0, Px(right), 400);
    }
    plat::ColorRef AuthorColor() const { return doc.GetAuthors().GetAuthorColor(1); }
};

} // namespace

TEST_F(AnnotationPaint, TwoNotesOnOneLineStackInTheMarginWithLeadersFromTheirText)
{
    ASSERT_EQ(Mark(0, 5, u"first"), 1);
    ASSERT_EQ(Mark(6, 10, u"second"), 2);
    ASSERT_EQ(Item(0).GetLineTop(), Item(6).GetLineTop()) << "both marks on one line";
    Canvas c(800, 400);
    Paint(c, CQlDoc::kDrawScreen);

    for (int i : {0, 4, 6, 9}) EXPECT_GT(Yellow(c, Cell(i)), 0) << "highlight under item " << i;
    EXPECT_EQ(Yellow(c, Cell(5)), 0) << "the space between the marks is not annotated";

    const plat::Rect a = Note(1).m_box;
    const plat::Rect b = Note(2).m_box;
    ASSERT_TRUE(Note(1).m_drawn && Note(2).m_drawn);
    const int pageRight = 200 + MmToTwips(kA4Paper.cx);
    EXPECT_EQ(a.left, pageRight - MmToTwips(kA4Margins.right));
    EXPECT_EQ(a.right, pageRight);
    EXPECT_NEAR(a.top, Item(0).GetLineTop(), 15) << "the box starts level with its text";
    EXPECT_GT(a.Height(), 3 * 180) << "name, date and text, each a line";
    EXPECT_EQ(b.top, a.bottom + 90) << "the second box goes below the first";
    EXPECT_EQ(b.left, a.left);

    // The boxes are hit where they were drawn, and not in the gap between them.
    EXPECT_TRUE(Notes().HitTestMark(a.left + 100, a.top + 100));
    EXPECT_TRUE(Notes().HitTestMark(b.left + 100, b.bottom - 10));
    EXPECT_FALSE(Notes().HitTestMark(a.left + 100, a.bottom + 45));

    // Each box: the tooltip colour inside, the author's colour on its edge, and the leader
    // reaching its left edge 50 twips below its top.
    for (const plat::Rect& box : {a, b}) {
        const int x = Px(box.left);
        const int y = Px(box.top);
        EXPECT_EQ(c.At(x + 2, y + 2), plat::GetSysColor(plat::kColorInfoBk));
        EXPECT_EQ(c.At(x, y + 5), AuthorColor());
        EXPECT_EQ(c.At(x - 1, y + Px(50)), AuthorColor()) << "leader at the box";
        // The box's text is drawn inside it, in the author's colour.
        EXPECT_GT(testsupport::InkOf(*c.bitmap, plat::Rect(x + 1, y + 1, Px(box.right) - 1, Px(box.bottom) - 1),
                                     AuthorColor()).count, 20);
    }
    // The leader starts at the annotated text: straight down from its first character.
    const int anchorX = Px(Item(6).GetLeft());
    const int baseline = Px(Item(6).GetTop() + Item(6).GetAscent());
    EXPECT_EQ(c.At(anchorX, baseline + 1), AuthorColor());
}

TEST_F(AnnotationPaint, HiddenNotesShowOnlyTheHoveredBoxAndPrintNothing)
{
    Mark(0, 5, u"first");
    Mark(6, 10, u"second");
    doc.SetAnnotationsShown(false);
    {
        Canvas c(800, 400);
        Paint(c, CQlDoc::kDrawScreen);
        EXPECT_GT(Yellow(c, Cell(0)), 0) << "the screen highlights the text anyway";
        EXPECT_FALSE(Note(1).m_drawn || Note(2).m_drawn);
        EXPECT_EQ(testsupport::InkOn(*c.bitmap, Margin(), testsupport::kWhite).count, 0) << "no box";
    }
    ASSERT_TRUE(Notes().SetHover(1));
    {
        Canvas c(800, 400);
        Paint(c, CQlDoc::kDrawScreen);
        EXPECT_FALSE(Note(1).m_drawn);
        ASSERT_TRUE(Note(2).m_drawn);
        EXPECT_NEAR(Note(2).m_box.top, Item(6).GetLineTop(), 15) << "alone, the box is not pushed down";
    }
    // Printing shows neither highlight nor box of hidden notes, hovered or not.
    for (int i = 0; i < Notes().GetCount(); ++i) Notes().GetAt(i)->m_hovered = 0;
    {
        Canvas c(800, 400);
        Paint(c, CQlDoc::kDrawPrint);
        EXPECT_EQ(Yellow(c, plat::Rect(0, 0, 800, 400)), 0);
        EXPECT_EQ(testsupport::InkOn(*c.bitmap, Margin(), testsupport::kWhite).count, 0);
    }
    // Shown, printing draws them as the screen does.
    doc.SetAnnotationsShown(true);
    {
        Canvas c(800, 400);
        Paint(c, CQlDoc::kDrawPrint);
        EXPECT_GT(Yellow(c, Cell(0)), 0);
        EXPECT_TRUE(Note(1).m_drawn && Note(2).m_drawn);
        EXPECT_EQ(Note(2).m_box.top, Note(1).m_box.bottom + 90);
    }
}

TEST_F(AnnotationPaint, AnAnchorAtTheCaretDrawsItsNote)
{
    Caret(5);
    ASSERT_EQ(doc.InsertAnnotation(u"here"), 1);
    ASSERT_EQ(Item(5).GetNodeType(), kItemAnchor);
    Canvas c(800, 400);
    Paint(c, CQlDoc::kDrawScreen);
    ASSERT_TRUE(Note(1).m_drawn);
    EXPECT_NEAR(Note(1).m_box.top, Item(5).GetLineTop(), 15);
    EXPECT_GT(testsupport::InkOf(*c.bitmap, Margin(), AuthorColor()).count, 20);
    // A note that the reference pane's document carries is never drawn there.
    doc.SetReference(true);
    Canvas r(800, 400);
    Paint(r, CQlDoc::kDrawScreen);
    EXPECT_FALSE(Note(1).m_drawn);
    EXPECT_EQ(testsupport::InkOn(*r.bitmap, Margin(), testsupport::kWhite).count, 0);
    doc.SetReference(false);
}

// ---- opening a note from its box ----

namespace {

class AnnotationOpen : public AnnotationPaint {
protected:
    void SetUp() override
    {
        AnnotationPaint::SetUp();
        Mark(0, 5, u"first");
        Mark(6, 10, u"second");
        // The dialog as the frame installs it: here it shows what it was given and answers
        // as the test says.
        CAnnotationList::SetAnnotationDialog([this](CAnnotationDlgValues& v) {
            shown.push_back(v);
            if (answer == kDelete) v.deleteRequested = true;
            if (answer == kEdit) v.text = u"changed";
            return answer == kCancel ? 2 : 1;
        });
        Canvas c(800, 400);
        Paint(c, CQlDoc::kDrawScreen);
    }
    void TearDown() override
    {
        CAnnotationList::SetAnnotationDialog({});
        AnnotationPaint::TearDown();
    }
    // A double click in the middle of a note's box, in canvas pixels.
    void DoubleClick(int number)
    {
        const plat::Rect& b = Note(number).m_box;
        doc.OnLButtonDblClk(plat::Point(Px(b.left + b.Width() / 2), Px(b.top + b.Height() / 2)));
    }
    std::vector<std::int16_t> Numbers() const
    {
        std::vector<std::int16_t> out;
        for (int i = 0; i < 11; ++i) out.push_back(Item(i).GetFormat().m_annotation);
        return out;
    }
    enum Answer { kEdit, kDelete, kCancel };
    Answer answer = kEdit;
    std::vector<CAnnotationDlgValues> shown;
};

} // namespace

TEST_F(AnnotationOpen, ADoubleClickOnABoxEditsItsNote)
{
    doc.SetModified(false);
    DoubleClick(2);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_FALSE(shown[0].isNew);
    EXPECT_TRUE(shown[0].editable);
    EXPECT_EQ(shown[0].authorName, u"乙");
    EXPECT_EQ(shown[0].text, u"second");
    EXPECT_EQ(shown[0].time, Note(2).m_time);
    EXPECT_EQ(Note(2).m_text, u"changed");
    EXPECT_EQ(Note(1).m_text, u"first");
    EXPECT_TRUE(doc.IsModified());

    // Cancelled, nothing changes; a click beside the boxes opens nothing.
    answer = kCancel;
    DoubleClick(1);
    EXPECT_EQ(Note(1).m_text, u"first");
    const int before = static_cast<int>(shown.size());
    doc.OnLButtonDblClk(plat::Point(Px(Note(1).m_box.left) - 5, Px(Note(1).m_box.top) + 5));
    EXPECT_EQ(static_cast<int>(shown.size()), before);
}

TEST_F(AnnotationOpen, APressOnABoxLeavesTheTextAsItWas)
{
    Select(2, 8);
    const plat::Rect& b = Note(1).m_box;
    doc.OnLButtonDown(plat::Point(Px(b.left + b.Width() / 2), Px(b.top + 100)), 0);
    EXPECT_EQ(doc.GetFormatState()->m_tableZone, 96) << "the press belongs to the note";
    int from = 0, to = 0;
    body().GetSelectionRange(from, to);
    EXPECT_EQ(from, 2);
    EXPECT_EQ(to, 8);
    doc.OnLButtonUp(plat::Point(Px(b.left + 10), Px(b.top + 100)));
    body().GetSelectionRange(from, to);
    EXPECT_EQ(to, 8) << "nor does its release move the caret";
    EXPECT_TRUE(shown.empty()) << "a single press opens nothing";
}

TEST_F(AnnotationOpen, DeletingANoteUnmarksTheTextAndTheObjectsAndUndoes)
{
    auto* object = AddObject(plat::Rect(1500, 3000, 2500, 4000));
    Canvas c(800, 400);
    Paint(c, CQlDoc::kDrawScreen);
    const std::vector<std::int16_t> before = Numbers();
    answer = kDelete;
    DoubleClick(1);
    std::vector<std::int16_t> expected = before;
    for (int i = 0; i < 5; ++i) expected[static_cast<size_t>(i)] = -1;
    EXPECT_EQ(Numbers(), expected) << "note 1's characters lose it, note 2's keep theirs";
    EXPECT_EQ(object->m_removedMarks, std::vector<int>{1}) << "the objects are asked too";
    EXPECT_EQ(Notes().GetCount(), 2) << "the record stays: the other numbers keep their meaning";

    Canvas after(800, 400);
    Paint(after, CQlDoc::kDrawScreen);
    EXPECT_EQ(Yellow(after, Cell(0)), 0);
    EXPECT_FALSE(Note(1).m_drawn);
    EXPECT_TRUE(Note(2).m_drawn);

    doc.EditUndo();
    EXPECT_EQ(Numbers(), before);
}

TEST_F(AnnotationOpen, UndoOfADeletionFarFromTheCaretBringsTheMarksBack)
{
    // Many paragraphs after the notes, and the caret at the end of them.
    Caret(body().GetCount() - 1);
    doc.InsertString(u"\rone\rtwo\rthree\rfour\rfive\rsix\rseven");
    Canvas c(800, 400);
    Paint(c, CQlDoc::kDrawScreen);
    const std::vector<std::int16_t> before = Numbers();
    answer = kDelete;
    DoubleClick(1);
    ASSERT_EQ(Item(0).GetFormat().m_annotation, -1);
    doc.EditUndo();
    EXPECT_EQ(Numbers(), before);
}

TEST_F(AnnotationOpen, AnEarlierAuthorsNoteOrAReadOnlyDocumentOpensOnlyToRead)
{
    struct Case {
        const char* what;
        std::function<void()> arrange;
    };
    const Case cases[] = {
        {"a later author edits", [this] {
             doc.GetAuthors().Append(11, u"丙");
             doc.SetCurAuthorIndex(2);
         }},
        {"read-only", [this] { doc.SetReadOnly(true); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        c.arrange();
        shown.clear();
        for (Answer a : {kEdit, kDelete}) {
            answer = a;
            DoubleClick(2);
        }
        ASSERT_EQ(shown.size(), 2u);
        EXPECT_FALSE(shown[0].editable);
        EXPECT_EQ(Note(2).m_text, u"second");
        EXPECT_EQ(Item(6).GetFormat().m_annotation, 2) << "nothing deleted";
        doc.SetReadOnly(false);
    }
}
