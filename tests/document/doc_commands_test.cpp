// The document's editing commands as the canvas, the frame and the automation interface
// call them: typing, formats, page breaks, symbols, annotations, deleting, selecting,
// finding and replacing, and new page objects. Each is checked on the items and formats
// of the body, undone and redone; a read-only document refuses them all.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "document/doc_commands.h"
#include "document/find_state.h"
#include "document/format_state.h"
#include "platform/file/file.h"
#include "platform/ui/modal.h"
#include "tests/document/body_input_support.h"
#include "tests/document/page_body_support.h"

using namespace pagebody;

namespace {

class Commands : public BodyTest {
protected:
    // The body text as the user reads it (paragraph ends as '\n', the final one left out).
    plat::String Text() const { return body().GetText(0, body().GetCount() - 1); }
    // The body's record: items with their formats, running formats, caret and anchor.
    std::vector<std::uint8_t> BodyBytes() const
    {
        plat::MemFile mem;
        {
            plat::Archive ar(mem, plat::Archive::kStore);
            body().Save(ar, kArchiveFile);
            ar.Flush();
        }
        return mem.Data();
    }
    int UndoDepth() const { return doc.GetUndoStack().Top(); }
    void Type(const std::u16string& s)
    {
        for (char16_t c : s) doc.InsertChar(c);
    }
    // Undo brings back the state before, redo the state after.
    void ExpectUndoRedo(const std::vector<std::uint8_t>& before, const std::vector<std::uint8_t>& after)
    {
        doc.EditUndo();
        EXPECT_EQ(BodyBytes(), before) << "undo";
        doc.EditRedo();
        EXPECT_EQ(BodyBytes(), after) << "redo";
    }
    CTextFlow& Focus() const { return *doc.GetFocusText(); }
};

// ---- typing ----

TEST_F(Commands, TypingInsertsAtTheCaretOneUndoStepPerCharacter)
{
    const int depth = UndoDepth();
    Type(u"ab\tc\rd");
    EXPECT_EQ(Text(), u"ab    c\nd");
    EXPECT_EQ(UndoDepth(), depth + 6);
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(body().GetCaretPos().m_index, body().GetCount() - 1);
    EXPECT_FALSE(body().HasSelection());
    ExpectSound();
    doc.EditUndo();
    EXPECT_EQ(Text(), u"ab    c\n");
    doc.EditRedo();
    EXPECT_EQ(Text(), u"ab    c\nd");
}

TEST_F(Commands, TypingOverASelectionReplacesItAndOneUndoBringsItBack)
{
    Append(u"Hello world");
    Select(0, 5);
    const auto before = BodyBytes();
    doc.InsertChar(u'J');
    EXPECT_EQ(Text(), u"J world");
    EXPECT_FALSE(body().HasSelection());
    EXPECT_EQ(body().GetCaretPos().m_index, 1);
    ExpectUndoRedo(before, BodyBytes());
}

TEST_F(Commands, AStringIsOneUndoStep)
{
    Append(u"前后");
    Caret(1);
    const int depth = UndoDepth();
    const auto before = BodyBytes();
    doc.InsertString(u"中间 middle\r新段");
    EXPECT_EQ(Text(), u"前中间 middle\n新段后");
    EXPECT_EQ(UndoDepth(), depth + 1);
    EXPECT_EQ(doc.GetFormatState()->m_charFormat, body().GetRunningCharFormat());
    ExpectSound();
    ExpectUndoRedo(before, BodyBytes());
}

TEST_F(Commands, ControlCodesThatAreNotTextChangeNothing)
{
    Append(u"abc");
    Select(1, 2);
    doc.SetModified(false);
    const auto before = BodyBytes();
    const int depth = UndoDepth();
    for (char16_t code : {char16_t(27), char16_t(1), char16_t(3), char16_t(22), char16_t(26), char16_t(0x7F),
                          char16_t(0)}) {
        doc.InsertChar(code);
        EXPECT_EQ(BodyBytes(), before) << int(code);
    }
    doc.InsertString(u"\x1b\x01");
    EXPECT_EQ(BodyBytes(), before);
    EXPECT_EQ(UndoDepth(), depth);
    EXPECT_FALSE(doc.IsModified());
}

// ---- character formats ----

struct CharSetter {
    const char* name;
    std::function<void(CQlDoc&)> apply;
    std::function<bool(const CCharFormat&)> applied;
};

TEST_F(Commands, EachCharacterSetterChangesOnlyTheSelection)
{
    const std::vector<CharSetter> setters = {
        {"SetChFont", [](CQlDoc& d) { d.SetChFont(u"黑体"); }, [](const CCharFormat& f) { return f.m_chineseFace == u"黑体"; }},
        {"SetAscFont", [](CQlDoc& d) { d.SetAscFont(u"Courier New"); },
         [](const CCharFormat& f) { return f.m_westernFace == u"Courier New"; }},
        {"SetFontSize", [](CQlDoc& d) { d.SetFontSize(420); }, [](const CCharFormat& f) { return f.m_size == 420; }},
        {"SetCharBold", [](CQlDoc& d) { d.SetCharBold(1); }, [](const CCharFormat& f) { return f.m_bold == 1; }},
        {"SetCharItalic", [](CQlDoc& d) { d.SetCharItalic(1); }, [](const CCharFormat& f) { return f.m_italic == 1; }},
        {"SetCharUnderline", [](CQlDoc& d) { d.SetCharUnderline(2); },
         [](const CCharFormat& f) { return f.m_underline == 2; }},
        {"SetCharColor", [](CQlDoc& d) { d.SetCharColor(0x0000FF); },
         [](const CCharFormat& f) { return f.m_color == 0x0000FF; }},
        {"SetCharPos", [](CQlDoc& d) { d.SetCharPos(1); }, [](const CCharFormat& f) { return f.m_position == 1; }},
    };
    for (const CharSetter& s : setters) {
        SCOPED_TRACE(s.name);
        doc.Reset();
        UsePage(kSmallMargins, kSmallPaper);
        Append(u"ab中文cd");
        Select(1, 4);
        const auto before = BodyBytes();
        const int depth = UndoDepth();
        s.apply(doc);
        EXPECT_EQ(UndoDepth(), depth + 1);
        EXPECT_TRUE(doc.IsModified());
        for (int i = 0; i < 6; ++i) EXPECT_EQ(s.applied(Item(i).GetFormat()), i >= 1 && i < 4) << "item " << i;
        EXPECT_TRUE(s.applied(doc.GetFormatState()->m_charFormat));
        ExpectSound();
        const auto after = BodyBytes();
        ExpectUndoRedo(before, after);
    }
}

TEST_F(Commands, BoldWithoutASelectionGoesToTheNextTypedCharacter)
{
    Append(u"ab");
    Caret(2);
    doc.SetCharBold(1);
    EXPECT_EQ(Item(0).GetFormat().m_bold, 0);
    EXPECT_EQ(Item(1).GetFormat().m_bold, 0);
    doc.InsertChar(u'c');
    EXPECT_EQ(Item(2).GetFormat().m_bold, 1);
    doc.SetCharBold(0);
    doc.InsertChar(u'd');
    EXPECT_EQ(Item(3).GetFormat().m_bold, 0);
}

TEST_F(Commands, TheFontDialogLeavesColourAndPositionAlone)
{
    Append(u"abcd");
    Select(0, 4);
    doc.SetCharColor(0x00FF00);
    Select(1, 2);
    doc.SetCharPos(2);
    Select(0, 4);
    const int depth = UndoDepth();
    const auto before = BodyBytes();
    doc.CharAttrDialog(u"楷体", u"Arial", 300, 1, 1, 1);
    EXPECT_EQ(UndoDepth(), depth + 1);
    for (int i = 0; i < 4; ++i) {
        const CCharFormat& f = Item(i).GetFormat();
        EXPECT_EQ(f.m_chineseFace, u"楷体");
        EXPECT_EQ(f.m_westernFace, u"Arial");
        EXPECT_EQ(f.m_size, 300);
        EXPECT_EQ(f.m_bold + f.m_italic + f.m_underline, 3);
        EXPECT_EQ(f.m_color, 0x00FF00);
        EXPECT_EQ(f.m_position, i == 1 ? 2 : 0);
    }
    ExpectUndoRedo(before, BodyBytes());
}

TEST_F(Commands, OutOfRangeFormatValuesAreRefused)
{
    Append(u"ab");
    Select(0, 2);
    const auto before = BodyBytes();
    const int depth = UndoDepth();
    doc.SetFontSize(0);
    doc.SetFontSize(70000);
    doc.SetCharUnderline(7);
    doc.SetCharPos(3);
    doc.SetParaFormat(9);
    doc.SetParaGap(6);
    doc.ApplyCharFormatField(12, CCharFormat());
    EXPECT_EQ(BodyBytes(), before);
    EXPECT_EQ(UndoDepth(), depth);
}

// ---- paragraphs ----

TEST_F(Commands, ParagraphCommandsMoveTheLinesAndAreUndone)
{
    Append(u"短段。\rLong paragraph of words that must wrap over several lines of the small page.\r");
    Caret(1);
    const int left = Item(0).GetLeft();
    auto before = BodyBytes();
    doc.SetParaFormat(kAlignRight);
    EXPECT_GT(Item(0).GetLeft(), left + 1000);
    EXPECT_EQ(doc.GetFormatState()->m_paraFormat.m_align, kAlignRight);
    ExpectSameAsWholeLayout();
    ExpectUndoRedo(before, BodyBytes());
    doc.EditUndo();
    EXPECT_EQ(Item(0).GetLeft(), left);

    // Wider line spacing lowers the second line of the long paragraph.
    const int second = IndexOf(u'L');
    Caret(second + 2);
    // The first item of the paragraph's second line.
    auto secondLine = [&] {
        for (int i = second; i < body().GetCount(); ++i)
            if (Item(i).GetTop() > Item(second).GetTop()) return i;
        return -1;
    };
    int lineTwo = secondLine();
    ASSERT_GT(lineTwo, 0);
    const int gapBefore = Item(lineTwo).GetTop() - Item(second).GetTop();
    before = BodyBytes();
    doc.SetParaGap(3);
    EXPECT_GT(Item(lineTwo).GetTop() - Item(second).GetTop(), gapBefore);
    EXPECT_EQ(doc.GetFormatState()->m_paraFormat.m_spacing, 3);
    ExpectUndoRedo(before, BodyBytes());

    before = BodyBytes();
    doc.SetParaIndents(600, 300, 0);
    // The first line starts at the first-line indent, the others at the left indent.
    EXPECT_EQ(Item(second).GetLeft(), TextArea(0).left + 600);
    EXPECT_EQ(Item(secondLine()).GetLeft(), TextArea(0).left + 300);
    EXPECT_EQ(doc.GetFormatState()->m_paraFormat.m_firstIndent, 600);
    ExpectSameAsWholeLayout();
    ExpectUndoRedo(before, BodyBytes());
}

TEST_F(Commands, IndentsThatLeaveNoRoomKeepTheTextOnThePage)
{
    Append(u"中文 words of a paragraph whose indents leave no room 中文也在其中。");
    Select(0, body().GetCount() - 1);
    doc.SetFontSize(600);
    Caret(3);
    doc.SetParaIndents(2000, 2100, 2000);
    // The lines take the whole text area rather than running past its right edge.
    EXPECT_EQ(Item(0).GetLeft(), TextArea(0).left);
    ExpectSound();
    ExpectSameAsWholeLayout();
    // Indents that leave room still apply.
    doc.SetParaIndents(1000, 500, 1000);
    EXPECT_EQ(Item(0).GetLeft(), TextArea(0).left + 1000);
    ExpectSound();
    // A first line with room for less than its first character moves left just enough.
    const int room = 500;
    doc.SetParaIndents(TextArea(0).Width() - room, 0, 0);
    ASSERT_GT(Item(0).GetWidth(), room);
    EXPECT_EQ(Item(0).GetLeft() + Item(0).GetWidth(), TextArea(0).right);
    ExpectSound();
    ExpectSameAsWholeLayout();
}

// ---- page breaks, symbols, Cyrillic, annotations ----

TEST_F(Commands, APageBreakStartsTheRestOnTheNextPage)
{
    Append(u"第一页second");
    Caret(3);
    const auto before = BodyBytes();
    doc.InsertNewPage();
    EXPECT_EQ(Item(3).GetNodeType(), kItemParaPageBreak);
    EXPECT_EQ(PageOf(2), 0);
    EXPECT_EQ(PageOf(4), 1);
    EXPECT_EQ(body().GetCaretPos().m_index, 4);
    EXPECT_EQ(doc.GetPageCount(), 2);
    ExpectSound();
    ExpectUndoRedo(before, BodyBytes());
    doc.EditUndo();
    EXPECT_EQ(doc.GetPageCount(), 1);
}

TEST_F(Commands, SymbolsAreInsertedWithTheirPositionAndTheRunningFormatStays)
{
    Append(u"m");
    Caret(1);
    const auto before = BodyBytes();
    doc.InsertSymbol(40008); // m and a superscript 2
    EXPECT_EQ(Text(), u"mm2");
    EXPECT_EQ(Item(1).GetFormat().m_position, 0);
    EXPECT_EQ(Item(2).GetFormat().m_position, 1);
    EXPECT_EQ(body().GetRunningCharFormat().m_position, 0);
    ExpectUndoRedo(before, BodyBytes());

    const int depth = UndoDepth();
    doc.InsertSymbol(40018);
    doc.InsertSymbol(40000);
    EXPECT_EQ(UndoDepth(), depth);
}

TEST_F(Commands, CyrillicCaseOfTheSelection)
{
    Append(u"привет мир");
    Select(0, 6);
    EXPECT_TRUE(doc.CanRussianConvert());
    const auto before = BodyBytes();
    EXPECT_EQ(doc.RussianConvert(kCyrillicUpper), 1);
    EXPECT_EQ(Text(), u"ПРИВЕТ мир");
    ExpectUndoRedo(before, BodyBytes());
    Caret(2);
    EXPECT_FALSE(doc.CanRussianConvert());
}

TEST_F(Commands, AnAnnotationMarksTheSelectionOrPutsAnAnchorAtTheCaret)
{
    doc.GetAuthors().Append(7, u"甲");
    Append(u"abcd");
    Caret(2);
    auto before = BodyBytes();
    EXPECT_EQ(doc.InsertAnnotation(u"note one"), 1);
    ASSERT_EQ(Item(2).GetNodeType(), kItemAnchor);
    EXPECT_EQ(Item(2).GetFormat().m_annotation, 1);
    EXPECT_EQ(body().GetCaretPos().m_index, 3);
    EXPECT_EQ(doc.GetAnnotations().GetAt(0)->m_text, u"note one");
    ExpectUndoRedo(before, BodyBytes());

    // Over a selection every item but the anchor gets the number.
    Select(1, 4);
    before = BodyBytes();
    EXPECT_EQ(doc.InsertAnnotation(u"note two"), 2);
    EXPECT_EQ(Item(1).GetFormat().m_annotation, 2);
    EXPECT_EQ(Item(2).GetFormat().m_annotation, 1);
    EXPECT_EQ(Item(3).GetFormat().m_annotation, 2);
    EXPECT_EQ(Item(4).GetFormat().m_annotation, 0);
    ExpectUndoRedo(before, BodyBytes());

    // An empty text asks in the dialog; cancelling it changes nothing.
    before = BodyBytes();
    const int depth = UndoDepth();
    plat::AnswerNextModal(2);
    EXPECT_EQ(doc.InsertAnnotation(u""), 0);
    EXPECT_EQ(BodyBytes(), before);
    EXPECT_EQ(UndoDepth(), depth);
    EXPECT_EQ(doc.GetAnnotations().GetCount(), 2);
}

// ---- deleting ----

TEST_F(Commands, DeleteAndBackspaceAcrossFormatsAndAuthors)
{
    doc.GetAuthors().Append(1, u"甲");
    doc.GetAuthors().Append(2, u"乙");
    doc.SetCurAuthorIndex(0);
    Type(u"abcd");
    Select(1, 3);
    doc.SetCharBold(1);
    // The second author types after the first one's text.
    doc.SetCurAuthorIndex(1);
    Caret(4);
    doc.SetCharBold(0);
    Type(u"ef");
    ASSERT_EQ(Item(4).GetFormat().m_insertedBy, 1);

    // Backspace removes the current author's own text...
    auto before = BodyBytes();
    doc.Backspace();
    EXPECT_EQ(body().GetCount(), 6);
    ExpectUndoRedo(before, BodyBytes());
    // ...and marks the other author's as deleted, keeping it.
    Select(2, 5);
    ASSERT_TRUE(doc.CanDelete());
    before = BodyBytes();
    doc.EditDelete();
    EXPECT_EQ(Item(2).GetFormat().m_deletedBy, 1);
    EXPECT_EQ(Item(3).GetFormat().m_deletedBy, 1);
    EXPECT_EQ(Item(2).GetFormat().m_bold, 1);
    EXPECT_EQ(Item(3).GetFormat().m_bold, 0);
    ExpectSound();
    ExpectUndoRedo(before, BodyBytes());
    doc.EditUndo();
    EXPECT_EQ(Item(2).GetFormat().m_deletedBy, 0);
}

TEST_F(Commands, TheEnableTestsOfDeleteAndBackspace)
{
    EXPECT_FALSE(doc.CanDelete());
    EXPECT_FALSE(doc.CanBackspace());
    Append(u"ab");
    Caret(0);
    EXPECT_TRUE(doc.CanDelete());
    EXPECT_FALSE(doc.CanBackspace());
    Caret(2);
    EXPECT_FALSE(doc.CanDelete());
    EXPECT_TRUE(doc.CanBackspace());
}

TEST_F(Commands, DeletingSelectedObjectsLeavesTheTextAndFocusesTheBody)
{
    objtest::ScopedTestKind kind;
    Append(u"text around the boxes");
    auto* a = AddObject(plat::Rect(900, 1500, 1500, 2000));
    auto* b = AddObject(plat::Rect(2000, 1500, 2600, 2000));
    AddObject(plat::Rect(2000, 2100, 2600, 2300));
    a->SetSelected(true);
    b->SetSelected(true);
    EXPECT_TRUE(doc.CanDelete());
    EXPECT_FALSE(doc.CanBackspace());
    const plat::String text = Text();
    doc.EditDelete();
    EXPECT_EQ(body().GetObjectCount(), 1);
    EXPECT_EQ(Text(), text);
    EXPECT_EQ(doc.GetFormatState()->GetFocusObject(), &body());
    EXPECT_TRUE(doc.IsModified());
    ExpectSound();
    const auto after = BodyBytes();
    doc.EditUndo();
    EXPECT_EQ(body().GetObjectCount(), 3);
    doc.EditRedo();
    EXPECT_EQ(body().GetObjectCount(), 1);
    EXPECT_EQ(BodyBytes(), after);
}

TEST_F(Commands, TextTypedBesideADeletionIsNotDeleted)
{
    // The second author deletes the first one's last letter: it stays, marked and hidden,
    // with the caret before it.
    doc.GetAuthors().Append(1, u"甲");
    doc.GetAuthors().Append(2, u"乙");
    doc.SetCurAuthorIndex(0);
    Type(u"first\rsecond");
    doc.SetCurAuthorIndex(1);
    doc.Backspace();
    const int d = body().GetCount() - 2;
    ASSERT_EQ(Item(d).GetFormat().m_deletedBy, 1);
    ASSERT_EQ(body().GetCaretPos().m_index, d);

    doc.InsertNewPage();
    doc.InsertNewPage();
    doc.InsertChar(u'x');
    doc.InsertSymbol(kSymbolFirst);
    doc.InsertAnnotation(u"note");
    for (int i = d; i < d + 5; ++i) EXPECT_EQ(Item(i).GetFormat().m_deletedBy, 0) << i;
    EXPECT_EQ(Text(), u"first\nsecon\n\nx2");
    EXPECT_EQ(doc.GetFormatState()->m_charFormat.m_deletedBy, 0);
    ExpectSound();
    ExpectSameAsWholeLayout();
}

// ---- select all ----

TEST_F(Commands, SelectAllSelectsTheWholeBodyAndDeselectsObjects)
{
    EXPECT_FALSE(doc.CanSelectAll());
    objtest::ScopedTestKind kind;
    Append(u"abc\rdef");
    AddObject(plat::Rect(900, 1500, 1500, 2000))->SetSelected(true);
    EXPECT_TRUE(doc.CanSelectAll());
    doc.SetModified(false);
    const int depth = UndoDepth();
    doc.EditSelectAll();
    EXPECT_EQ(body().GetSelectedCount(), 0);
    int start, end;
    body().GetSelectionRange(start, end);
    EXPECT_EQ(start, 0);
    EXPECT_EQ(end, body().GetCount() - 1);
    EXPECT_EQ(doc.GetFormatState()->GetFocusObject(), &body());
    EXPECT_EQ(UndoDepth(), depth);
    EXPECT_FALSE(doc.IsModified());
}

// ---- find and replace ----

TEST_F(Commands, FindAsksAtTheEndAndGoesOnFromTheStartOnlyOnYes)
{
    EXPECT_FALSE(doc.CanFind());
    Append(u"abc xyz abc");
    EXPECT_TRUE(doc.CanFind());
    Caret(2);
    CFindState state;
    state.m_findText = u"abc";
    doc.GetFindStart(state);
    EXPECT_EQ(doc.FindNext(state), 1);
    int start, end;
    body().GetSelectionRange(start, end);
    EXPECT_EQ(start, 8);
    EXPECT_EQ(end, 11);

    // At the end: "No" keeps the selection.
    plat::AnswerNextModal(plat::kIdNo);
    EXPECT_EQ(doc.FindNext(state), 0);
    ASSERT_EQ(BoxTexts().size(), 1u);
    EXPECT_EQ(BoxTexts()[0], u"已查找到文档结束，是否从开始继续查找");
    body().GetSelectionRange(start, end);
    EXPECT_EQ(start, 8);

    // "Yes" goes on from the start.
    plat::AnswerNextModal(plat::kIdYes);
    EXPECT_EQ(doc.FindNext(state), 1);
    body().GetSelectionRange(start, end);
    EXPECT_EQ(start, 0);
    EXPECT_EQ(end, 3);

    // Nowhere at all: asked, then told.
    plat::ClearMessageBoxLog();
    state.m_findText = u"qqq";
    doc.GetFindStart(state);
    plat::AnswerNextModal(plat::kIdYes);
    EXPECT_EQ(doc.FindNext(state), 0);
    ASSERT_EQ(BoxTexts().size(), 2u);
    EXPECT_EQ(BoxTexts()[1], u"已完成对字符串qqq的查找，没有找到");
    EXPECT_FALSE(doc.IsModified());
}

TEST_F(Commands, FindIsRefusedWhileAnObjectThatTakesNoTextIsSelected)
{
    objtest::ScopedTestKind kind;
    Append(u"abc");
    AddObject(plat::Rect(900, 1500, 1500, 2000))->SetSelected(true);
    EXPECT_FALSE(doc.CanFind());
    EXPECT_FALSE(doc.CanReplace());
}

TEST_F(Commands, ReplaceAllIsOneUndoStepAndSaysWhatItDid)
{
    Append(u"one two one two one");
    Caret(body().GetCount() - 1);
    CFindState state;
    state.m_findText = u"one";
    state.m_replaceText = u"1";
    doc.SetModified(false);
    const int depth = UndoDepth();
    const auto before = BodyBytes();
    doc.ReplaceAll(state);
    EXPECT_EQ(Text(), u"1 two 1 two 1");
    EXPECT_EQ(UndoDepth(), depth + 1);
    EXPECT_TRUE(doc.IsModified());
    ASSERT_EQ(BoxTexts().size(), 1u);
    EXPECT_EQ(BoxTexts()[0], u"替换完成。");
    // The caret was past what is left: it stays on the last item.
    EXPECT_EQ(body().GetCaretPos().m_index, body().GetCount() - 1);
    ExpectSound();
    ExpectUndoRedo(before, BodyBytes());

    plat::ClearMessageBoxLog();
    doc.SetModified(false);
    state.m_findText = u"three";
    doc.ReplaceAll(state);
    EXPECT_EQ(UndoDepth(), depth + 2);
    EXPECT_FALSE(doc.IsModified());
    ASSERT_EQ(BoxTexts().size(), 1u);
    EXPECT_EQ(BoxTexts()[0], u"字符串three没有找到，替换完成。");
}

// ---- read-only ----

TEST_F(Commands, AReadOnlyDocumentRefusesEveryCommand)
{
    objtest::ScopedTestKind kind;
    Append(u"abc def abc");
    Select(1, 5);
    doc.SetReadOnly(true);
    doc.SetModified(false);
    const auto before = BodyBytes();
    const int depth = UndoDepth();
    CFindState state;
    state.m_findText = u"abc";
    state.m_replaceText = u"x";
    const std::vector<std::pair<const char*, std::function<void()>>> commands = {
        {"InsertChar", [&] { doc.InsertChar(u'x'); }},
        {"InsertString", [&] { doc.InsertString(u"xyz"); }},
        {"InsertNewPage", [&] { doc.InsertNewPage(); }},
        {"InsertSymbol", [&] { doc.InsertSymbol(40001); }},
        {"InsertAnnotation", [&] { EXPECT_EQ(doc.InsertAnnotation(u"n"), 0); }},
        {"RussianConvert", [&] { doc.RussianConvert(kCyrillicUpper); }},
        {"SetCharBold", [&] { doc.SetCharBold(1); }},
        {"SetChFont", [&] { doc.SetChFont(u"黑体"); }},
        {"CharAttrDialog", [&] { doc.CharAttrDialog(u"黑体", u"Arial", 300, 1, 1, 1); }},
        {"SetParaFormat", [&] { doc.SetParaFormat(kAlignCentre); }},
        {"SetParaGap", [&] { doc.SetParaGap(2); }},
        {"SetParaIndents", [&] { doc.SetParaIndents(100, 100, 100); }},
        {"EditDelete", [&] { doc.EditDelete(); }},
        {"Backspace", [&] { doc.Backspace(); }},
        {"ReplaceAll", [&] { doc.ReplaceAll(state); }},
        {"BeginInsertShape", [&] { EXPECT_EQ(doc.BeginInsertShapeCommand(32821), nullptr); }},
    };
    for (const auto& [name, run] : commands) {
        run();
        EXPECT_EQ(BodyBytes(), before) << name;
        EXPECT_EQ(UndoDepth(), depth) << name;
        EXPECT_FALSE(doc.IsModified()) << name;
    }
    EXPECT_EQ(doc.GetAnnotations().GetCount(), 0);
    EXPECT_EQ(body().GetObjectCount(), 0);
    EXPECT_EQ(doc.GetFormatState()->GetCreationTracker(), nullptr);
}

// ---- tables ----

// A table whose grid records the format calls and grows a row with each bold call.
class CFakeGrid : public CCellFormatTarget {
public:
    void SetCharFormat(int fieldId, const CCharFormat& values) override
    {
        fields.push_back(fieldId);
        if (fieldId == kFieldBold && values.m_bold) size.cy += 300;
    }
    void SetAlignment(std::uint8_t a) override { alignment = a; }
    void SetLineSpacing(std::uint8_t s) override { spacing = s; }
    plat::Size GetTotalSize() const override { return size; }
    std::vector<int> fields;
    std::uint8_t alignment = 0, spacing = 0;
    plat::Size size{1200, 600};
};

class CFakeTable : public objtest::CTestObject, public CTextHostObject {
public:
    explicit CFakeTable(CQlDoc* doc) : CTestObject(doc, nullptr) {}
    bool IsTable() const override { return true; }
    CCellFormatTarget* GetTableGrid() override { return &grid; }
    int CanDeleteText() const override { return 4; }
    void DeleteCells() override { grid.size.cy = 300; }
    CFakeGrid grid;
};

TEST_F(Commands, FormatsOfASelectedTableGoToItsCellsAndTheTableTakesTheGridsSize)
{
    Append(u"text below the table");
    auto* table = bodyinput::AddBox<CFakeTable>(doc, plat::Rect(900, 900, 2100, 1500));
    table->SetSelected(true);
    doc.SetCharBold(1);
    EXPECT_EQ(table->grid.fields, std::vector<int>{kFieldBold});
    EXPECT_EQ(table->m_height, 900);
    EXPECT_EQ(table->m_bounds.bottom, 900 + 900);
    EXPECT_TRUE(doc.IsModified());
    doc.CharAttrDialog(u"黑体", u"Arial", 240, 0, 0, 0);
    EXPECT_EQ(table->grid.fields, (std::vector<int>{kFieldBold, 1, 2, 3, 4, 5, 6}));
    doc.SetParaFormat(kAlignCentre);
    doc.SetParaGap(4);
    EXPECT_EQ(table->grid.alignment, kAlignCentre);
    EXPECT_EQ(table->grid.spacing, 4);
    // The body's text kept its formats.
    for (int i = 0; i < body().GetCount() - 1; ++i) EXPECT_EQ(Item(i).GetFormat().m_bold, 0);

    // Delete empties the selected cells, keeps the table and shrinks it with its grid.
    EXPECT_TRUE(doc.CanDelete());
    doc.EditDelete();
    ASSERT_EQ(body().GetObjectCount(), 1);
    EXPECT_EQ(table->m_height, 300);
    ExpectSound();
}

// ---- new page objects ----

// A picture kind: its natural size (pixels) comes from the path "WxH".
class CFakePicture : public objtest::CTestObject, public CInsertableObject {
public:
    explicit CFakePicture(CDocContext* doc) : CTestObject(doc, nullptr) {}
    bool TakeSource(const CNewObjectSource& source) override
    {
        int w = 0, h = 0;
        if (std::sscanf(plat::Utf16ToUtf8(source.path).c_str(), "%dx%d", &w, &h) != 2) return false;
        natural = plat::Size(w, h);
        shapeCode = source.shapeCode;
        endLineEnd = source.endLineEnd;
        return true;
    }
    plat::Size GetNaturalSize() const override { return natural; }
    void OnPlaced() override { placedBox = m_bounds; }
    plat::Size natural;
    std::uint16_t shapeCode = 0;
    std::int16_t endLineEnd = -1;
    plat::Rect placedBox;
};

std::unique_ptr<CFloatObject> MakePicture(CDocContext* doc, CDocNode*)
{
    return std::make_unique<CFakePicture>(doc);
}

class NewObjects : public Commands {
protected:
    void SetUp() override
    {
        Commands::SetUp();
        m_previous = RegisterDocObject(kNodeImage, &MakePicture);
        Append(u"第一行\r第二行");
    }
    void TearDown() override
    {
        RegisterDocObject(kNodeImage, m_previous);
        Commands::TearDown();
    }
    CFakePicture& Last() const
    {
        return dynamic_cast<CFakePicture&>(*body().GetObject(body().GetObjectCount() - 1));
    }
    // 105 twips below the bottom of the caret's item.
    int BelowCaret() const
    {
        const CTextItem& item = Item(body().GetCaretPos().m_index);
        return item.GetTop() + item.GetHeight() + 105;
    }
    DocObjectMaker m_previous = nullptr;
};

TEST_F(NewObjects, APictureIsFittedIntoTwoThirdsOfTheTextAreaBelowTheCaret)
{
    const plat::Size area = doc.GetTextAreaSize();
    const int left = TextArea(0).left;
    struct Case {
        const char16_t* path;
        int width, height; // expected, twips
    };
    const Case cases[] = {
        {u"20x10", 300, 150},                                        // fits: its own size
        {u"1000x100", area.cx * 2 / 3, 100 * 15 * (area.cx * 2 / 3) / (1000 * 15)}, // wide
        {u"100x1000", 100 * 15 * (area.cy * 2 / 3) / (1000 * 15), area.cy * 2 / 3}, // tall
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(plat::Utf16ToUtf8(c.path));
        body().DeselectAll();
        Caret(4);
        const int top = BelowCaret();
        const auto before = BodyBytes();
        ASSERT_EQ(doc.InsertImage(c.path, u"图", 0, 0, 0, 0), 1);
        CFakePicture& p = Last();
        EXPECT_EQ(p.m_width, c.width);
        EXPECT_EQ(p.m_height, c.height);
        EXPECT_EQ(p.m_bounds.left, left);
        EXPECT_EQ(p.m_bounds.top, top);
        EXPECT_EQ(p.GetCaption(), u"图");
        EXPECT_EQ(p.placedBox, p.m_bounds);
        EXPECT_EQ(body().GetSelectedCount(), 1);
        EXPECT_TRUE(p.IsSelected());
        ExpectSound();
        const int count = body().GetObjectCount();
        doc.EditUndo();
        EXPECT_EQ(body().GetObjectCount(), count - 1);
        EXPECT_EQ(BodyBytes(), before);
        doc.EditRedo();
        EXPECT_EQ(body().GetObjectCount(), count);
    }
}

TEST_F(NewObjects, TheCallersBoxIsUsedButTheTopFollowsTheSelectedObject)
{
    ASSERT_EQ(doc.InsertImage(u"20x10", u"", 0, 0, 0, 0), 1);
    const int firstBottom = Last().m_bounds.bottom;
    // The first one is selected: the next goes below it, at the caller's x and size.
    ASSERT_EQ(doc.InsertImage(u"20x10", u"", 1200, 50, 800, 400), 1);
    EXPECT_EQ(Last().m_bounds.left, 1200);
    EXPECT_EQ(Last().m_bounds.top, firstBottom + 105);
    EXPECT_EQ(Last().m_width, 800);
    EXPECT_EQ(Last().m_height, 400);
    EXPECT_EQ(body().GetSelectedCount(), 1);

    // A source that does not read, and kinds without a class, insert nothing.
    const int count = body().GetObjectCount();
    const int depth = UndoDepth();
    EXPECT_EQ(doc.InsertImage(u"not a picture", u"", 0, 0, 0, 0), 0);
    EXPECT_EQ(doc.InsertAudio(u"a.wav", 10, u"", 0, 0, 0, 0), 0);
    EXPECT_EQ(doc.InsertChart(), 0);
    EXPECT_EQ(body().GetObjectCount(), count);
    EXPECT_EQ(UndoDepth(), depth);
}

TEST_F(NewObjects, CreationCommandsMakeTheirPrototypes)
{
    struct Case {
        int id;
        std::uint16_t code;
        std::int16_t endLineEnd;
    };
    const Case shapes[] = {{32821, 0x1401, -1}, {32834, 0x140E, -1}, {32841, 0x1201, -1}, {32867, 0x121B, -1},
                           {32871, 0x1301, -1}, {32902, 0x1320, -1}, {32911, 0x1501, -1}, {32932, 0x1516, -1}};
    const Case lines[] = {{32802, 0x1101, -1}, {32803, 0x1101, 4}, {32804, 0x1101, 4}, {32805, 0x1102, -1},
                          {32809, 0x1106, -1}, {32810, 0x1108, -1}};
    CCreateSpec spec;
    for (const Case& c : shapes) {
        ASSERT_TRUE(GetShapeCommandSpec(c.id, spec)) << c.id;
        EXPECT_EQ(spec.nodeType, kNodeShape);
        EXPECT_EQ(spec.source.shapeCode, c.code) << c.id;
    }
    for (const Case& c : lines) {
        ASSERT_TRUE(GetLineCommandSpec(c.id, spec)) << c.id;
        EXPECT_EQ(spec.source.shapeCode, c.code) << c.id;
        EXPECT_EQ(spec.source.endLineEnd, c.endLineEnd) << c.id;
        EXPECT_EQ(spec.source.startLineEnd, c.id == 32804 ? 4 : -1) << c.id;
    }
    for (int id : {32820, 32835, 32840, 32868, 32903, 32933, 32801, 32811})
        EXPECT_FALSE(GetShapeCommandSpec(id, spec) || GetLineCommandSpec(id, spec)) << id;

    // Without a shape or table class there is no prototype, and no tracker.
    EXPECT_EQ(doc.BeginInsertShapeCommand(32821), nullptr) << "no shape class";
    EXPECT_EQ(doc.BeginInsertTable(), nullptr) << "no table class";
    EXPECT_EQ(doc.GetFormatState()->GetCreationTracker(), nullptr);
}

// A shape kind that takes any source.
class CFakeShape : public objtest::CTestObject, public CInsertableObject {
public:
    explicit CFakeShape(CDocContext* doc) : CTestObject(doc, nullptr) {}
    bool TakeSource(const CNewObjectSource& source) override
    {
        code = source.shapeCode;
        endLineEnd = source.endLineEnd;
        return true;
    }
    std::uint16_t code = 0;
    std::int16_t endLineEnd = -1;
};

TEST_F(NewObjects, ACreationTrackerHoldsThePrototypeUntilTheNextOne)
{
    const DocObjectMaker previous = RegisterDocObject(
        kNodeShape, [](CDocContext* d, CDocNode*) { return std::unique_ptr<CFloatObject>(std::make_unique<CFakeShape>(d)); });
    CCreationTool* first = doc.BeginInsertLine(32803);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(doc.GetFormatState()->GetCreationTracker(), first);
    auto* tracker = dynamic_cast<CCreateTracker*>(first);
    ASSERT_NE(tracker, nullptr);
    auto* shape = dynamic_cast<CFakeShape*>(tracker->GetPrototype());
    ASSERT_NE(shape, nullptr);
    EXPECT_EQ(shape->code, 0x1101);
    EXPECT_EQ(shape->endLineEnd, 4);
    EXPECT_EQ(tracker->GetCreateType(), kNodeShape);
    EXPECT_EQ(body().GetObjectCount(), 0) << "the prototype is not in the body";

    CCreationTool* second = doc.BeginInsertShapeCommand(32821);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(doc.GetFormatState()->GetCreationTracker(), second);
    EXPECT_EQ(dynamic_cast<CFakeShape*>(dynamic_cast<CCreateTracker*>(second)->GetPrototype())->code, 0x1401);
    EXPECT_FALSE(doc.IsModified());
    RegisterDocObject(kNodeShape, previous);
}

} // namespace
