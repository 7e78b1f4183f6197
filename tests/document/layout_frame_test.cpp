// Text frames and captions: a flow laid out in one column of fixed width, with one
// alignment and spacing for the whole frame, its record, and captions that turn
// justified when they need a second line.
#include <memory>
#include <string>

#include "document/find_state.h"
#include "document/format_state.h"
#include "document/line_layout.h"
#include "document/text_frame.h"
#include "tests/document/layout_support.h"
#include "tests/document/text_model_support.h"

namespace {

using layouttest::FaceMetrics;

class TextFrameTest : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        s_m = layouttest::ReadMetrics().release();
        s_caption = layouttest::ReadMetrics(180).release();
    }
    static void TearDownTestSuite()
    {
        delete s_m;
        delete s_caption;
        s_m = s_caption = nullptr;
    }
    static const FaceMetrics& M() { return *s_m; }

    // One author: deleting removes characters rather than marking them.
    TextFrameTest()
    {
        doc.GetAuthors().Append(0, u"");
        doc.ResetFormatState();
    }

    static inline FaceMetrics* s_m = nullptr;
    static inline FaceMetrics* s_caption = nullptr;
    CQlDoc doc;
};

TEST_F(TextFrameTest, FrameWithASizeHoldsItsFinalParagraphEndLaidOut)
{
    CTextFrameObj frame(&doc, nullptr, kNodeTextShape, 3000, 1000, kAlignCentre);
    ASSERT_EQ(frame.GetCount(), 1);
    EXPECT_EQ(frame.GetItem(0)->GetNodeType(), kItemFinalParaEnd);
    EXPECT_EQ(frame.GetRunningParaFormat().m_align, kAlignCentre);
    EXPECT_EQ(frame.GetRunningParaFormat().m_spacing, 1);
    EXPECT_EQ(frame.GetCaretPos().m_index, 0);
    EXPECT_EQ(frame.GetLineGap(), 109);
    EXPECT_EQ(frame.GetContentHeight(), 54 + M().C());
    EXPECT_EQ(frame.GetLineBreakCount(), 0);
    // The empty line is centred: the paragraph end's one twip of room in the middle.
    EXPECT_EQ(frame.GetItem(0)->GetLeft(), (3000 - 1) / 2);
}

TEST_F(TextFrameTest, FrameWithoutASizeStaysEmptyUntilLoaded)
{
    CTextFrameObj source(&doc, nullptr, kNodeTextShape, 2400, 900, kAlignLeft);
    source.InsertItemsAtCaret(u"框内文字\r第二段");
    const textmodel::Bytes bytes = textmodel::Store([&](plat::Archive& ar) { source.Save(ar, kArchiveFile); });

    CTextFrameObj frame(&doc, nullptr, kNodeTextShape, 0, 0, kAlignLeft);
    EXPECT_EQ(frame.GetCount(), 0);
    EXPECT_EQ(textmodel::LoadFrom(bytes, [&](plat::Archive& ar) { frame.Load(ar, kArchiveFile); }), 0u);
    EXPECT_EQ(frame.GetWidth(), 2400);
    EXPECT_EQ(frame.GetHeight(), 900);
    EXPECT_EQ(frame.GetContentHeight(), source.GetContentHeight());
    EXPECT_EQ(frame.GetText(0, frame.GetCount()), u"框内文字\n第二段");
    // The record begins with width, height and content height.
    EXPECT_EQ(textmodel::ToHex(textmodel::Bytes(bytes.begin(), bytes.begin() + 8)), "60 09 00 00 84 03 00 00 ");
}

TEST_F(TextFrameTest, TruncatedRecordLeavesTheSizeAsItWas)
{
    CTextFrameObj frame(&doc, nullptr, kNodeTextShape, 2400, 900, kAlignLeft);
    const textmodel::Bytes bytes = textmodel::Hex("10 00 00 00 20 00 00 00 30 00 00 00 FF");
    EXPECT_ANY_THROW(textmodel::LoadFrom(bytes, [&](plat::Archive& ar) { frame.Load(ar, kArchiveFile); }));
    EXPECT_EQ(frame.GetWidth(), 2400);
    EXPECT_EQ(frame.GetHeight(), 900);
}

TEST_F(TextFrameTest, AnnotationBoxIsLeftAlignedAndNotLaidOut)
{
    CTextFrameObj box(&doc, 31, 2000, 600);
    ASSERT_EQ(box.GetCount(), 1);
    EXPECT_EQ(box.GetRunningParaFormat().m_align, kAlignLeft);
    EXPECT_EQ(box.GetItem(0)->GetHeight(), 0) << "not measured";
    EXPECT_EQ(box.GetParent(), nullptr);
}

TEST_F(TextFrameTest, AlignmentSpacingAndIndentsApplyToTheWholeFrame)
{
    const int w = 10 * M().C();
    CTextFrameObj frame(&doc, nullptr, kNodeTextShape, w, 2000, kAlignLeft);
    frame.InsertItemsAtCaret(u"甲乙\r丙");
    EXPECT_EQ(frame.GetItem(0)->GetLeft(), 0);
    EXPECT_EQ(frame.GetItem(3)->GetLeft(), 0);

    frame.SetAlignment(kAlignRight);
    // Each paragraph's last line ends one twip (the paragraph end's room) short of the edge.
    EXPECT_EQ(frame.GetItem(0)->GetLeft(), w - 2 * M().C() - 1);
    EXPECT_EQ(frame.GetItem(3)->GetLeft(), w - M().C() - 1);

    frame.SetLineSpacing(2);
    EXPECT_EQ(frame.GetLineGap(), 220) << "frames space lines 2.1 times as far as the page";
    EXPECT_EQ(frame.GetItem(3)->GetLineTop(), 110 + M().C() + 220);
    EXPECT_EQ(frame.GetContentHeight(), 110 + 2 * M().C() + 220);
    EXPECT_EQ(frame.GetLineBreakCount(), 1);

    frame.SetIndents(500, 500, 500);
    EXPECT_EQ(frame.GetItem(0)->GetLeft(), w - 2 * M().C() - 1);
}

TEST_F(TextFrameTest, EditingLaysTheFrameOutAgain)
{
    // Four characters and the paragraph end's twip.
    const int w = 4 * M().C() + 1;
    CTextFrameObj frame(&doc, nullptr, kNodeTextShape, w, 2000, kAlignLeft);
    frame.InsertItemsAtCaret(u"一二三四五六");
    EXPECT_EQ(frame.GetLineBreakCount(), 1);
    EXPECT_EQ(frame.GetItem(4)->GetLeft(), 0);
    EXPECT_GT(frame.GetItem(4)->GetLineTop(), frame.GetItem(3)->GetLineTop());
    frame.SetCaret(CTextPos(0, frame.GetName()));
    frame.OnDelete();
    frame.OnDelete();
    EXPECT_EQ(frame.GetText(0, frame.GetCount()), u"三四五六");
    EXPECT_EQ(frame.GetLineBreakCount(), 0);
    EXPECT_EQ(frame.GetItem(3)->GetLeft(), 3 * M().C());
    frame.SetCaret(CTextPos(4, frame.GetName()));
    frame.OnBackspace();
    EXPECT_EQ(frame.GetText(0, frame.GetCount()), u"三四五");
    EXPECT_EQ(frame.GetItem(3)->GetLeft(), 3 * M().C()) << "the paragraph end follows the text";
}

TEST_F(TextFrameTest, ForwardDeleteShrinksATableCellToItsContent)
{
    for (std::uint16_t type : {kNodeTableCell, kNodeTextShape}) {
        CTextFrameObj frame(&doc, nullptr, type, 3000, 5000, kAlignLeft);
        frame.InsertItemsAtCaret(u"ab");
        frame.SetCaret(CTextPos(0, frame.GetName()));
        frame.OnDelete();
        EXPECT_EQ(frame.GetHeight(), type == kNodeTableCell ? frame.GetContentHeight() : 5000) << type;
    }
}

TEST_F(TextFrameTest, CaretFormatReachesTheFormatState)
{
    CTextFrameObj frame(&doc, nullptr, kNodeTextShape, 3000, 1000, kAlignCentre);
    frame.InsertItemsAtCaret(u"ab");
    CCharFormat bold(&doc);
    bold.m_bold = 1;
    frame.SetSelection(CTextPos(2, frame.GetName()), CTextPos(1, frame.GetName()));
    frame.SetCharFormat(kFieldBold, bold);
    EXPECT_EQ(frame.GetItem(1)->GetFormat().m_bold, 1);
    EXPECT_EQ(doc.GetFormatState()->m_charFormat.m_bold, 1);
    EXPECT_EQ(doc.GetFormatState()->m_paraFormat.m_align, kAlignCentre);
    // Taking the caret item's format: the caret stands before a.
    frame.SetCaret(CTextPos(0, frame.GetName()));
    frame.UpdateCaretFormat(1);
    EXPECT_EQ(frame.GetRunningCharFormat().m_bold, 0);
    EXPECT_EQ(doc.GetFormatState()->m_charFormat.m_bold, 0);
}

TEST_F(TextFrameTest, CaptionThatFitsKeepsItsAlignment)
{
    const FaceMetrics& m = *s_caption;
    CCaptionText caption(&doc, nullptr, u"图1 窗口", 4000, 400, kAlignCentre);
    EXPECT_EQ(caption.GetNodeType(), kNodeCaption);
    EXPECT_EQ(caption.GetLineBreakCount(), 0);
    EXPECT_EQ(caption.GetRunningParaFormat().m_align, kAlignCentre);
    EXPECT_EQ(caption.GetItem(0)->GetFormat().m_size, 180) << "captions write in 9 point";
    EXPECT_EQ(caption.GetItem(0)->GetWidth(), m.C());
    // Centred: "图" + "1 " + "窗口" and the paragraph end's twip.
    const int line = 3 * m.C() + m.W(u"1 ") + 1;
    EXPECT_EQ(caption.GetItem(0)->GetLeft(), (4000 - line) / 2);
    EXPECT_FALSE(caption.HasSelection());
}

TEST_F(TextFrameTest, CaptionThatNeedsTwoLinesTurnsJustified)
{
    const FaceMetrics& m = *s_caption;
    const std::u16string text = u"这是一段需要两行才能放下的图片说明";
    const int width = 10 * m.C() + m.C() / 2;
    CCaptionText caption(&doc, nullptr, text, width, 600, kAlignCentre);
    EXPECT_EQ(caption.GetLineBreakCount(), 1);
    EXPECT_EQ(caption.GetRunningParaFormat().m_align, kAlignJustify);
    // Ten characters on the first line, spread to the full width: the last one ends at the
    // right edge; the second line, the caption's last, is set flush left.
    const CTextItem* tenth = caption.GetItem(9);
    const CTextItem* eleventh = caption.GetItem(10);
    EXPECT_EQ(caption.GetItem(0)->GetLeft(), 0);
    EXPECT_EQ(tenth->GetLeft() + tenth->GetWidth(), width);
    EXPECT_GT(caption.GetItem(1)->GetLeft(), m.C());
    EXPECT_EQ(eleventh->GetLeft(), 0);
    EXPECT_GT(eleventh->GetLineTop(), tenth->GetLineTop());
    EXPECT_EQ(caption.GetItem(11)->GetLeft(), m.C());
}

TEST_F(TextFrameTest, FindNextMakesTheFrameTheFocusText)
{
    CTextFrameObj frame(&doc, nullptr, kNodeTextShape, 3000, 1000, kAlignLeft);
    frame.InsertItemsAtCaret(u"查找文字");
    frame.SetCaret(CTextPos(0, frame.GetName()));
    CFindState state;
    state.m_flow = &frame;
    state.m_findText = u"文字";
    EXPECT_TRUE(frame.FindNext(state));
    EXPECT_EQ(doc.GetFormatState()->GetFocusObject(), &frame);
    state.m_findText = u"没有";
    EXPECT_FALSE(frame.FindNext(state));
}

} // namespace
