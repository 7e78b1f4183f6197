// Edits of the page body and the partial relayout that follows each: after every edit of a
// scripted series the layout must be exactly the one a whole relayout gives, item by item,
// and the partial relayout must leave paragraphs far from the edit untouched. Also the
// paragraph commands, the caret format and the deletions.
#include <gtest/gtest.h>

#include <functional>

#include "document/format_state.h"
#include "tests/document/page_body_support.h"

using namespace pagebody;

namespace {

// Paragraphs of mixed text: English with spaces (whose trailing widths justification takes
// away), Chinese with punctuation, numbers.
const std::u16string kParagraphs[] = {
    u"Justified English text wraps between words, and the spaces at each line end vanish.",
    u"中文段落，包括标点符号：逗号、句号。还有（括号）和“引号”。",
    u"Mixed 中文 and Latin 3.14159 with numbers 2024 and more words to wrap here.",
    u"短段。",
    u"",
    u"Another paragraph of plain words that runs over two or three lines of the page.",
};

class EditScript : public BodyTest {
protected:
    void SetUp() override
    {
        BodyTest::SetUp();
        std::u16string text;
        for (int copy = 0; copy < 4; ++copy)
            for (const std::u16string& p : kParagraphs) text += p + u"\r";
        Append(text);
        ASSERT_GE(body().GetPageCount(), 4);
    }
    // Runs the edit (which lays the paragraphs around it out) and checks the result
    // against a whole layout and the layout rules.
    void Edit(const char* what, const std::function<void()>& edit)
    {
        SCOPED_TRACE(what);
        edit();
        ExpectSameAsWholeLayout();
        ExpectSound();
    }
    int ParagraphStart(int n) const
    {
        int found = 0;
        for (int i = 0; i < body().GetCount(); ++i) {
            if (found == n) return i;
            if (IsParaBreakType(Item(i).GetNodeType())) ++found;
        }
        return body().GetCount() - 1;
    }
    void Type(int at, const std::u16string& text)
    {
        Caret(at);
        body().InsertItemsAtCaret(text);
        body().SetCaret(body().GetCaretPos());
    }
    // The edits, each with its partial relayout.
    void RunScript()
    {
        auto para = [&](int n) { return ParagraphStart(n); };
        Edit("a character in the middle of page 1", [&] { Type(para(1) + 5, u"字"); });
        Edit("a word that makes a line longer", [&] { Type(para(0) + 10, u"extraordinarily "); });
        Edit("a paragraph break in a paragraph", [&] { Type(para(2) + 12, u"\r"); });
        Edit("text on a later page", [&] { Type(para(13) + 3, u"插入的文字使段落变长，换到下一行。"); });
        Edit("a forward delete joining two paragraphs", [&] {
            Select(para(3) - 1, para(3) - 1);
            body().OnDelete();
        });
        Edit("a backspace at a paragraph start", [&] {
            Select(para(6), para(6));
            body().OnBackspace();
        });
        Edit("deleting a selection across paragraphs", [&] {
            Select(para(8) + 3, para(10) + 4);
            body().DeleteSelection();
        });
        Edit("typing over a selection", [&] {
            Select(para(4) + 2, para(4) + 20);
            body().InsertItemsAtCaret(u"replaced");
        });
        Edit("a page break", [&] {
            Select(para(7) + 4, para(7) + 4);
            body().InsertPageBreak();
        });
        Edit("several paragraphs at once", [&] { Type(para(5), u"一\r二\r三\r"); });
        Edit("text at the very start", [&] { Type(0, u"Start "); });
        Edit("text at the very end", [&] { Type(body().GetCount() - 1, u" 结尾 and the end."); });
        Edit("removing the page break again", [&] {
            for (int i = 0; i < body().GetCount(); ++i)
                if (body().GetItem(i)->GetNodeType() == kItemParaPageBreak) {
                    Select(i, i);
                    body().OnDelete();
                    break;
                }
        });
    }
};

} // namespace

TEST_F(EditScript, PartialRelayoutAfterEachEditEqualsAWholeOne)
{
    RunScript();
}

TEST_F(EditScript, PartialRelayoutAroundObjectsEqualsAWholeOne)
{
    // One object the text flows around on both sides, one that text keeps to the left of,
    // each anchored to a paragraph: edits before them move them, edits after them re-flow
    // text through their regions.
    const plat::Rect t1 = TextArea(1);
    AddObject(plat::Rect(t1.left + 1200, t1.top + 600, t1.left + 2000, t1.top + 1500), kWrapBoth, 1);
    const plat::Rect t2 = TextArea(2);
    AddObject(plat::Rect(t2.left + 2500, t2.top + 300, t2.left + 3300, t2.top + 1000), kWrapLeft, 2);
    ExpectSameAsWholeLayout();
    ExpectSound();
    RunScript();
}

TEST_F(EditScript, PartialRelayoutWithHiddenDeletionsEqualsAWholeOne)
{
    // Text of a second author, deleted by the first and hidden: whole paragraphs of it too.
    doc.GetAuthors().Append(0, u"");
    doc.GetAuthors().Append(5, u"甲");
    doc.GetAuthors().Append(7, u"乙");
    doc.SetCurAuthorIndex(1);
    const int start = ParagraphStart(3);
    Type(start, u"删除的段落\r");
    doc.SetCurAuthorIndex(2);
    Edit("deleting another author's paragraph", [&] {
        Select(start, start + 6);
        body().DeleteSelection();
    });
    Edit("typing right after the hidden text", [&] { Type(start + 5, u"新"); });
    Edit("typing before it", [&] { Type(start - 2, u"前"); });
}

TEST_F(EditScript, TypingInTheMiddleReflowsOnlyTheParagraphsAroundTheCaret)
{
    const int caretPara = 12;
    const int at = ParagraphStart(caretPara) + 3;
    // Marks on items three paragraphs before and two after the caret's: a partial layout
    // that stops where the text is in place never measures or places them again.
    CTextItem& before = *body().GetItem(ParagraphStart(caretPara - 3) + 1);
    CTextItem& after = *body().GetItem(ParagraphStart(caretPara + 2) + 1);
    before.Place(1, 2, 2, 3);
    after.SetMetrics(7, 8, 9);
    Type(at, u"字");
    EXPECT_EQ(before.GetLeft(), 1) << "two paragraphs before the caret's are the first laid out";
    EXPECT_EQ(after.GetWidth(), 7) << "the paragraph after the next is found in place";
}

TEST_F(EditScript, AParagraphThatGrowsALinePushesTheRestDown)
{
    const int last = body().GetCount() - 1;
    const int lastTop = Item(last).GetLineTop();
    Type(ParagraphStart(3), u"这一段变长了很多很多很多很多很多很多很多很多很多很多很多。");
    EXPECT_GT(Item(body().GetCount() - 1).GetLineTop(), lastTop);
    ExpectSameAsWholeLayout();
}

// ---- paragraph commands and the caret format ----

TEST_F(BodyTest, ParagraphCommandsSetTheCaretsParagraphOrEveryParagraphOfTheSelection)
{
    Append(u"一\r二\r三\r四");
    auto format = [&](int paragraph) {
        int found = 0;
        for (int i = 0; i < body().GetCount(); ++i)
            if (IsParaEndType(Item(i).GetNodeType()) && found++ == paragraph)
                return static_cast<const CParaEndItem&>(Item(i)).GetParaFormat();
        return CParaFormat();
    };
    const CParaFormat untouched = format(0);

    Caret(2); // in "二"
    body().SetAlignment(kAlignCentre);
    EXPECT_EQ(format(1).m_align, kAlignCentre);
    EXPECT_EQ(format(0), untouched);
    EXPECT_NE(format(2).m_align, kAlignCentre);
    EXPECT_EQ(body().GetRunningParaFormat().m_align, kAlignCentre);

    // From "一" into "三": paragraphs 1 to 3; the selection end's paragraph is included.
    Select(0, 4);
    body().SetLineSpacing(4);
    body().SetIndents(100, 200, 300);
    for (int p = 0; p < 3; ++p) {
        EXPECT_EQ(format(p).m_spacing, 4) << p;
        EXPECT_EQ(format(p).m_firstIndent, 100) << p;
        EXPECT_EQ(format(p).m_leftIndent, 200) << p;
        EXPECT_EQ(format(p).m_rightIndent, 300) << p;
    }
    EXPECT_NE(format(3).m_spacing, 4);
    // The layout followed: the first line is indented.
    EXPECT_EQ(Item(0).GetLeft(), TextArea(0).left + 100);
    ExpectSound();
}

TEST_F(BodyTest, UpdateCaretFormatCopiesTheFormatsIntoTheFormatState)
{
    Append(u"ab\rcd");
    CCharFormat bold(body().GetRunningCharFormat());
    bold.m_bold = 1;
    body().GetItem(3)->SetFormat(bold); // 'c'
    Caret(4);
    body().SetAlignment(kAlignRight);
    Caret(3);
    body().UpdateCaretFormat(0);
    EXPECT_EQ(body().GetRunningCharFormat().m_bold, 0) << "the character format only when asked";
    body().UpdateCaretFormat(1);
    EXPECT_EQ(body().GetRunningCharFormat().m_bold, 1);
    CFormatState& state = *doc.GetFormatState();
    EXPECT_EQ(state.m_charFormat.m_bold, 1);
    EXPECT_EQ(state.m_paraFormat.m_align, kAlignRight);
    Caret(0);
    body().UpdateCaretFormat(1);
    EXPECT_NE(state.m_paraFormat.m_align, kAlignRight);
}

TEST_F(BodyTest, CharacterFormatOfASelectionIsLaidOutWhole)
{
    Append(u"字号变化的文字会改变行高。");
    const int lineHeight = Item(0).GetLineHeight();
    Select(0, 3);
    CCharFormat big(body().GetRunningCharFormat());
    big.m_size = 420;
    body().SetCharFormat(kFieldSize, big);
    EXPECT_GT(Item(0).GetLineHeight(), lineHeight);
    EXPECT_EQ(Item(5).GetLineHeight(), Item(0).GetLineHeight()) << "one line";
    EXPECT_EQ(doc.GetFormatState()->m_charFormat.m_size, 420);
    ExpectSameAsWholeLayout();
}

TEST_F(BodyTest, DeletionsRefreshTheCaretFormatAndTheLayout)
{
    Append(u"ab\rcd");
    CCharFormat italic(body().GetRunningCharFormat());
    italic.m_italic = 1;
    body().GetItem(4)->SetFormat(italic); // 'd'
    Caret(3);
    body().OnDelete(); // 'c' goes; the caret stands before 'd'
    EXPECT_EQ(body().GetRunningCharFormat().m_italic, 1);
    EXPECT_EQ(Item(3).GetLeft(), TextArea(0).left);
    Caret(3);
    body().OnBackspace(); // the paragraph end goes: "abd"
    EXPECT_EQ(Item(2).GetCode(), u'd');
    EXPECT_EQ(Item(2).GetLineTop(), Item(0).GetLineTop());
    ExpectSameAsWholeLayout();
}
