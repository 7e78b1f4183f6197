// The page body's relayout: text poured into the free regions of small pages, page breaks,
// objects the text flows around and objects that follow their paragraph, the rules for
// runs too wide or too tall, the 500-page limit and the paragraph format lookup. Every
// layout is checked against the layout rules; the main cases against expected dumps.
#include <gtest/gtest.h>

#include "tests/document/page_body_support.h"

using namespace pagebody;

namespace {

// Eleven CJK characters and a full stop: 2700 twips of the small page's 3403-twip text
// width (a CJK character is 225 twips at the default size).
const std::u16string kCjk = u"汉字排版与分页测试文档。";
const std::u16string kLatin = u"The quick brown fox jumps over the lazy dog. ";

} // namespace

TEST_F(BodyTest, NewBodyLaysOutItsFinalParagraphEndAtTheTopOfPageOne)
{
    ASSERT_EQ(body().GetCount(), 1);
    const CTextItem& end = Item(0);
    const int gap = CDocBody::LineGap(2);
    EXPECT_EQ(end.GetLeft(), TextArea(0).left);
    EXPECT_EQ(end.GetLineTop(), TextArea(0).top + gap / 2);
    EXPECT_EQ(body().GetPageCount(), 1);
    ExpectSound();
    ExpectDump("empty_body");
}

TEST_F(BodyTest, ParagraphsFillLinesAndFlowOntoTheNextPage)
{
    for (int i = 0; i < 6; ++i) Append(kCjk + kLatin + u"\r");
    EXPECT_EQ(body().GetPageCount(), 4);
    ExpectSound();
    ExpectDump("paragraphs_over_pages");
    // Every line of a page lies in that page's text area, and the first line of page 2
    // starts at its top.
    int firstOnPage2 = -1;
    for (int i = 0; i < body().GetCount() && firstOnPage2 < 0; ++i)
        if (PageOf(i) == 1) firstOnPage2 = i;
    ASSERT_GE(firstOnPage2, 0);
    EXPECT_EQ(Item(firstOnPage2).GetLineTop(), TextArea(1).top + CDocBody::LineGap(2) / 2);
}

TEST_F(BodyTest, PageBreakParagraphEndStartsTheNextPage)
{
    Append(u"第一页。\f第二页的段落。\r第二页。");
    const int second = IndexOf(u'第', 1);
    ASSERT_GT(second, 0);
    EXPECT_EQ(Item(second - 1).GetNodeType(), kItemParaPageBreak);
    EXPECT_EQ(PageOf(second - 1), 0);
    // The rest of page 1 stays empty: the next paragraph opens page 2's text area.
    EXPECT_EQ(PageOf(second), 1);
    EXPECT_EQ(Item(second).GetLeft(), TextArea(1).left);
    EXPECT_EQ(Item(second).GetLineTop(), TextArea(1).top + CDocBody::LineGap(2) / 2);
    EXPECT_EQ(body().GetPageCount(), 2);
    ExpectSound();
    ExpectDump("page_break");
}

TEST_F(BodyTest, ParagraphRunsOverThePageEndAndItsPageBreakOpensTheNextPage)
{
    // Page 1 holds six lines of this text: the long paragraph fills them and goes on at the
    // top of page 2, where its page-break end sends the next paragraph to page 3.
    std::u16string text;
    for (int i = 0; i < 5; ++i) text += kCjk + kLatin;
    Append(text + u"\f第三页。");
    const int brk = IndexOf(u'第') - 1;
    ASSERT_EQ(Item(brk).GetNodeType(), kItemParaPageBreak);
    EXPECT_EQ(PageOf(0), 0);
    EXPECT_EQ(PageOf(brk), 1);
    EXPECT_EQ(PageOf(brk + 1), 2);
    EXPECT_EQ(Item(brk + 1).GetLineTop(), TextArea(2).top + CDocBody::LineGap(2) / 2);
    // The paragraph's first line on page 2 starts at its top.
    int first = 0;
    while (first < brk && PageOf(first) == 0) ++first;
    EXPECT_EQ(Item(first).GetLineTop(), TextArea(1).top + CDocBody::LineGap(2) / 2);
    EXPECT_EQ(body().GetPageCount(), 3);
    ExpectSound();
    ExpectDump("page_break_after_a_full_page");
}

TEST_F(BodyTest, PageBreakBeforeAnObjectAtTheTopOfTheNextPageUsesThatPage)
{
    // Page 2 begins with an object that leaves only a strip too short for a line above
    // it; the text after the page break still belongs on page 2, beside and below it.
    Append(u"一\f二三四五六七八九十。");
    const plat::Rect t = TextArea(1);
    AddObject(plat::Rect(t.left + 1200, t.top + 250, t.left + 2000, t.top + 900), kWrapNone);
    const int two = IndexOf(u'二');
    EXPECT_EQ(PageOf(two), 1);
    EXPECT_GE(Item(two).GetLineTop(), t.top + 900);
    ExpectSound();
}

TEST_F(BodyTest, TextFlowsOnBothSidesOfAWrapMode3ObjectAcrossPages)
{
    for (int i = 0; i < 16; ++i) Append(kCjk + u"\r");
    const plat::Rect t = TextArea(1);
    // On page 2: regions of 1095 twips on the left and 1298 on the right.
    const plat::Rect box(t.left + 1200, t.top + 500, t.left + 2000, t.top + 1600);
    AddObject(box, kWrapBoth);
    ASSERT_GE(body().GetPageCount(), 3);
    ExpectSound();
    ExpectDump("wrap_both_sides");

    // Lines run down the left of the object, then down its right, within its height.
    bool left = false, right = false;
    for (const CLaidOutLine& line : CollectLines(body())) {
        if (line.box.top < box.top || line.box.bottom > box.bottom) continue;
        if (line.box.right <= box.left - CDocBody::kRegionGap) left = true;
        if (line.box.left >= box.right + CDocBody::kRegionGap) right = true;
    }
    EXPECT_TRUE(left);
    EXPECT_TRUE(right);
}

TEST_F(BodyTest, WrapModesChooseTheSidesTextUses)
{
    const plat::Rect t = TextArea(0);
    const plat::Rect box(t.left + 1200, t.top + 400, t.left + 2000, t.top + 1500);
    struct Case {
        std::uint8_t wrap;
        bool left, right;
        const char* dump; // none for both sides: wrap_both_sides has that, across pages
    };
    for (int i = 0; i < 6; ++i) Append(kCjk + u"\r");
    for (const Case c : {Case{kWrapNone, false, false, "wrap_none"}, Case{kWrapLeft, true, false, "wrap_left"},
                         Case{kWrapRight, false, true, "wrap_right"}, Case{kWrapBoth, true, true, nullptr}}) {
        SCOPED_TRACE(int(c.wrap));
        body().DeleteAllObjects();
        AddObject(box, c.wrap);
        bool left = false, right = false;
        for (const CLaidOutLine& line : CollectLines(body())) {
            if (line.box.top >= box.bottom || line.box.bottom <= box.top) continue;
            if (line.box.right <= box.left) left = true;
            if (line.box.left >= box.right) right = true;
        }
        EXPECT_EQ(left, c.left);
        EXPECT_EQ(right, c.right);
        ExpectSound();
        if (c.dump) ExpectDump(c.dump);
    }
}

TEST_F(BodyTest, AnchoredObjectFollowsItsParagraph)
{
    Append(u"第一段。\r第二段。\r第三段。");
    const int secondEnd = IndexOf(u'。', 1) + 1;
    ASSERT_EQ(Item(secondEnd).GetNodeType(), kItemParaEnd);
    const int y = Item(secondEnd).GetTop();
    const plat::Rect t = TextArea(0);
    objtest::CTestObject* o = AddObject(plat::Rect(t.left + 2400, y + 300, t.left + 3000, y + 900), kWrapLeft);
    EXPECT_EQ(o->m_anchorState, kAnchorAttached);
    EXPECT_EQ(o->m_anchorName, static_cast<const CParaEndItem&>(Item(secondEnd)).GetName());
    const int offset = o->m_anchorOffset;

    // Two paragraphs typed at the start push the second paragraph down; the object keeps
    // its distance from it.
    Caret(0);
    body().InsertItemsAtCaret(u"新的\r段落\r");
    const int moved = IndexOf(u'。', 1) + 1;
    ASSERT_GT(Item(moved).GetTop(), y);
    EXPECT_EQ(o->m_bounds.top, Item(moved).GetTop() + offset);
    EXPECT_EQ(o->m_anchorState, kAnchorAttached);
    ExpectSound();
    ExpectSameAsWholeLayout();
    ExpectDump("anchored_object");
}

TEST_F(BodyTest, AnchoredObjectThatWouldCrossThePageEndGoesToTheNextPage)
{
    Append(u"段落。\r后面。");
    const int end = IndexOf(u'。') + 1;
    const plat::Rect t = TextArea(0);
    objtest::CTestObject* o =
        AddObject(plat::Rect(t.left + 2400, Item(end).GetTop() + 400, t.left + 3000, Item(end).GetTop() + 1900),
                  kWrapLeft);
    ASSERT_EQ(o->m_anchorState, kAnchorAttached);
    // Enough lines before the paragraph to push it near the bottom of page 1.
    Caret(0);
    body().InsertItemsAtCaret(u"一\r二\r三\r四\r");
    ASSERT_EQ(PageOf(IndexOf(u'。')), 0);
    EXPECT_EQ(o->m_bounds.top, TextArea(1).top);
    ExpectSound();
    ExpectSameAsWholeLayout();
    ExpectDump("anchored_object_next_page");
}

TEST_F(BodyTest, FirstLineIndentBesideAnObjectIndentsOnlyByItself)
{
    // The object takes the left part of the text area, so paragraphs beside it begin in a
    // region cut on the left, where the left indent does not apply.
    const plat::Rect t = TextArea(0);
    AddObject(plat::Rect(t.left, t.top, t.left + 1000, t.top + 1400), kWrapRight);
    Append(u"缩进的段落在对象旁边开始排版。");
    Select(0, body().GetCount() - 1);
    body().SetIndents(420, 315, 0);
    const CPageRegion region = [&] {
        for (CPageRegion* r = body().GetFirstRegion(); r; r = body().GetNextRegion())
            if (r->m_rect.left != t.left) return *r;
        return CPageRegion();
    }();
    ASSERT_EQ(region.m_rect.left, t.left + 1000 + CDocBody::kRegionGap);
    EXPECT_EQ(Item(0).GetLeft(), region.m_rect.left + 420);
    // The continuation line beside the object starts at the region's edge.
    const int second = [&] {
        for (int i = 1; i < body().GetCount(); ++i)
            if (Item(i).GetLineTop() != Item(0).GetLineTop()) return i;
        return -1;
    }();
    ASSERT_GT(second, 0);
    EXPECT_EQ(Item(second).GetLeft(), region.m_rect.left);
    ExpectSound();
}

TEST_F(BodyTest, IndentsApplyAtTheFrameEdges)
{
    Append(u"左右缩进和首行缩进的段落，用来检查每一行的起点和宽度。");
    Select(0, body().GetCount() - 1);
    body().SetAlignment(kAlignLeft);
    body().SetIndents(630, 210, 420);
    const plat::Rect t = TextArea(0);
    for (const CLaidOutLine& line : CollectLines(body())) {
        const bool first = line.from == 0;
        EXPECT_EQ(line.box.left, t.left + (first ? 630 : 210));
        EXPECT_LE(line.box.right, t.right - 420);
    }
    ExpectSound();
}

TEST_F(BodyTest, WordWiderThanTheTextWidthIsSplitAcrossLines)
{
    Append(std::u16string(60, u'w') + u" end");
    const std::vector<CLaidOutLine> lines = CollectLines(body());
    ASSERT_GE(lines.size(), 2u);
    // The first line is filled up to the text width and the word goes on below.
    EXPECT_EQ(lines[0].box.left, TextArea(0).left);
    EXPECT_LE(lines[0].box.right, TextArea(0).right);
    EXPECT_GT(lines[0].box.right, TextArea(0).right - Item(0).GetWidth() - 1);
    EXPECT_EQ(Item(lines[1].from).GetCode(), u'w');
    ExpectSound();
}

TEST_F(BodyTest, WordWiderThanASideRegionMovesToTheNextRegion)
{
    const plat::Rect t = TextArea(0);
    // A left region of 1095 twips beside the object and a right one of 898.
    AddObject(plat::Rect(t.left + 1200, t.top, t.left + 2400, t.top + 1000), kWrapBoth);
    const std::u16string word(20, u'm'); // wider than a side region, narrower than the text
    Append(word);
    const int w = Item(0).GetWidth() * 20;
    ASSERT_GT(w, 1200);
    ASSERT_LT(w, t.Width());
    // It lands below the object, whole, on one line.
    EXPECT_GE(Item(0).GetLineTop(), t.top + 1000);
    EXPECT_EQ(Item(0).GetLineTop(), Item(19).GetLineTop());
    ExpectSound();
}

TEST_F(BodyTest, WordWiderThanTheLineAfterAnIndentIsSplitNotLost)
{
    // A word a little narrower than the text area but wider than the line its indents
    // leave: there is no wider region to wait for, so it is split, and the text after it
    // is laid out.
    Append(u"x\r" + std::u16string(30, u'n') + u" tail\r后面的段落。");
    const int start = IndexOf(u'n');
    Select(start, start + 1);
    body().SetIndents(840, 0, 0);
    const int w = Item(start).GetWidth() * 30;
    ASSERT_GT(w, TextArea(0).Width() - 840);
    ASSERT_LT(w, TextArea(0).Width());
    const int after = IndexOf(u'后');
    EXPECT_EQ(PageOf(after), 0);
    EXPECT_GT(Item(after).GetLineTop(), Item(start).GetLineTop());
    EXPECT_NE(Item(start).GetLineTop(), Item(start + 29).GetLineTop()) << "split";
}

TEST_F(BodyTest, CharacterTallerThanTheTextAreaStandsAloneAtTheTopOfAPage)
{
    Append(u"前面。");
    // A character of 2400 twips: taller than the 2268-twip text area.
    CCharFormat big(body().GetRunningCharFormat());
    big.m_size = 2400;
    body().SetRunningCharFormat(big);
    Append(u"大");
    CCharFormat small(big);
    small.m_size = 210;
    body().SetRunningCharFormat(small);
    Append(u"后面。");
    const int tall = IndexOf(u'大');
    ASSERT_GE(Item(tall).GetHeight() + CDocBody::LineGap(2), TextArea(0).Height());
    // Page 1 has too little room left: it opens page 2 alone, and the rest of that page
    // stays empty.
    EXPECT_EQ(PageOf(tall), 1);
    EXPECT_EQ(Item(tall).GetLineTop(), TextArea(1).top + CDocBody::LineGap(2) / 2);
    EXPECT_EQ(PageOf(IndexOf(u'后')), 2);
    EXPECT_EQ(body().GetPageCount(), 3);
}

TEST_F(BodyTest, ContentBeyondFiveHundredPagesSaysContentOverflow)
{
    // Pages that hold one short line each.
    UsePage(plat::Rect(5, 5, 5, 5), plat::Size(30, 20));
    std::u16string text;
    for (int i = 0; i < 499; ++i) text += u"页\r";
    Append(text);
    EXPECT_EQ(body().GetPageCount(), 500);
    EXPECT_TRUE(BoxTexts().empty());

    plat::AnswerNextModal(plat::kIdOk);
    Append(u"多余\r溢出");
    EXPECT_EQ(BoxTexts(), std::vector<plat::String>{u"内容溢出!"});
    EXPECT_EQ(body().GetPageCount(), 500);
    // The text goes on in the overflow frame, which no page shows.
    const int last = IndexOf(u'溢');
    EXPECT_GE(Item(last).GetLineTop(), TextArea(CDocBody::kOverflowFrame).top);
    // A layout that does not reach the overflow says nothing.
    plat::ClearMessageBoxLog();
    Caret(0);
    body().InsertItemsAtCaret(u"页");
    EXPECT_TRUE(BoxTexts().empty());
}

TEST_F(BodyTest, NoRegionAtAllSaysContentOverflowAndKeepsTheLayout)
{
    Append(u"文字。");
    const CLayoutSnapshot before = TakeLayoutSnapshot(body());
    plat::AnswerNextModal(plat::kIdOk);
    // An object that covers every page and the overflow leaves no region.
    AddObject(plat::Rect(0, 0, 20000, CDocBody::kOverflowBottom), kWrapNone);
    EXPECT_EQ(body().GetRegionCount(), 0);
    EXPECT_EQ(BoxTexts(), std::vector<plat::String>{u"内容溢出!"});
    CLayoutSnapshot after = TakeLayoutSnapshot(body());
    after.objects = before.objects;
    EXPECT_EQ(DiffLayouts(before, after), "");
}

TEST_F(BodyTest, ParagraphWithoutAlignmentTakesTheNextParagraphsFormat)
{
    // Many paragraphs without an alignment before one that has it: all take its format,
    // without walking the chain by recursion.
    std::u16string text;
    for (int i = 0; i < 100000; ++i) text += u"\r";
    int at = 0;
    body().InsertString(at, text, body().GetRunningCharFormat());
    for (int i = 0; i + 1 < body().GetCount(); ++i)
        static_cast<CParaEndItem*>(body().GetItem(i))->SetParaFormat(CParaFormat());
    CParaFormat last;
    last.m_align = kAlignCentre;
    last.m_spacing = 3;
    last.m_firstIndent = 105;
    static_cast<CParaEndItem*>(body().GetItem(body().GetCount() - 1))->SetParaFormat(last);
    EXPECT_EQ(body().GetParaFormatAt(0), last);
    EXPECT_EQ(static_cast<const CParaEndItem&>(Item(12345)).GetParaFormat(), last) << "kept";
    EXPECT_EQ(body().GetParaFormatAt(body().GetCount()), CParaFormat()) << "past the end";

    // With no paragraph that has one, the default.
    for (int i = 0; i < body().GetCount(); ++i)
        static_cast<CParaEndItem*>(body().GetItem(i))->SetParaFormat(CParaFormat());
    EXPECT_EQ(body().GetParaFormatAt(5), CParaFormat());
}

TEST_F(BodyTest, LineSpacingCodesSetTheGapBetweenLines)
{
    Append(u"第一行的文字很长很长很长很长很长很长。");
    for (std::uint8_t code = 0; code <= 5; ++code) {
        SCOPED_TRACE(int(code));
        Caret(0);
        body().SetLineSpacing(code);
        const std::vector<CLaidOutLine> lines = CollectLines(body());
        ASSERT_GE(lines.size(), 2u);
        EXPECT_EQ(lines[0].box.top, TextArea(0).top + CDocBody::LineGap(code) / 2);
        EXPECT_EQ(lines[1].box.top - lines[0].box.bottom, CDocBody::LineGap(code));
        ExpectSound();
    }
}

TEST_F(BodyTest, AlignmentsPlaceLinesInTheTextWidth)
{
    Append(u"短行。");
    const plat::Rect t = TextArea(0);
    struct Case {
        std::uint8_t align;
        int expectedLeft; // of the first character
    };
    const int w = 3 * Item(0).GetWidth();
    for (const Case c : {Case{kAlignLeft, t.left}, Case{kAlignRight, t.right - w},
                         Case{kAlignCentre, t.left + (t.Width() - w) / 2}, Case{kAlignJustify, t.left}}) {
        SCOPED_TRACE(int(c.align));
        Caret(1);
        body().SetAlignment(c.align);
        // The one-twip room of the paragraph mark counts in the line width.
        EXPECT_NEAR(Item(0).GetLeft(), c.expectedLeft, 1);
    }
}

TEST_F(BodyTest, ObjectsReachingBelowTheLastLineCountTheirPages)
{
    Append(u"一页。");
    const plat::Rect t = TextArea(2);
    AddObject(plat::Rect(t.left, t.top, t.left + 500, t.top + 500), kWrapNone);
    EXPECT_EQ(body().GetPageCount(), 3);
}

TEST_F(BodyTest, RecalcAllObjectsRelaysTheirContentAndTheText)
{
    Append(u"文字。");
    struct Counting : objtest::CTestObject {
        using CTestObject::CTestObject;
        void RelayoutContent() override
        {
            ++calls;
            m_bounds.bottom += 0; // content keeps its size
        }
        int calls = 0;
    };
    auto* o = static_cast<Counting*>(body().AddObject(std::make_unique<Counting>(&doc, nullptr)));
    const plat::Rect t = TextArea(0);
    o->m_bounds = plat::Rect(t.left + 500, t.top + 800, t.left + 1000, t.top + 1300);
    o->m_wrapMode = kWrapNone;
    body().RecalcAllObjects();
    EXPECT_EQ(o->calls, 1);
    EXPECT_EQ(body().GetRegionCount(), 502);
    ExpectSound();
}

TEST_F(BodyTest, DeletedTextTakesRoomOnlyWhileRevisionsAreShown)
{
    // The first author writes the paragraph; the second deletes two of its words and
    // types others after them. Hidden, the deleted words take no room and the typed ones
    // stand in their place; shown, they keep their room and the rest moves on.
    doc.GetAuthors().Append(1, u"甲");
    doc.GetAuthors().Append(2, u"乙");
    doc.SetHasRevisions(true);
    doc.SetCurAuthorIndex(0);
    Append(u"排版测试：" + kLatin + u"汉字与英文混排的段落。");
    doc.SetCurAuthorIndex(1);
    const int quick = IndexOf(u'q');
    const int typed = quick + 12; // after "quick brown "
    Select(quick, typed);
    doc.EditDelete();
    for (int i = quick; i < typed; ++i) ASSERT_TRUE(Item(i).IsDeleted()) << i;
    Caret(typed);
    body().InsertItemsAtCaret(u"slow red ");
    ASSERT_EQ(Item(typed).GetCode(), u's');
    ASSERT_FALSE(Item(typed).IsDeleted());

    ASSERT_FALSE(doc.IsRevisionsShown());
    body().RelayoutWhole();
    EXPECT_EQ(Item(typed).GetLeft(), Item(quick).GetLeft());
    for (int i = quick; i < typed; ++i) EXPECT_EQ(Item(i).GetDrawnWidth(), 0) << i;
    const CLayoutSnapshot hidden = TakeLayoutSnapshot(body());
    ExpectSound();
    ExpectDump("revisions_hidden");

    doc.SetRevisionsShown(true);
    body().RelayoutWhole();
    EXPECT_GT(Item(typed).GetLeft(), Item(quick).GetLeft() + Item(quick).GetWidth());
    for (int i = quick; i < typed; ++i) EXPECT_GT(Item(i).GetDrawnWidth(), 0) << i;
    ExpectSound();
    ExpectDump("revisions_shown");

    // Hidden again, the layout is the first one.
    doc.SetRevisionsShown(false);
    body().RelayoutWhole();
    EXPECT_EQ(DiffLayouts(hidden, TakeLayoutSnapshot(body())), "");
}

TEST_F(BodyTest, JustifiedLinesOfChineseAndLatinReachBothEdges)
{
    Append(u"两端对齐的段落：Justified text fills each line but the last, 中文与 English words "
           u"混排在同一行里，the room left over spreads between words and characters alike.");
    Select(0, body().GetCount() - 1);
    body().SetAlignment(kAlignJustify);
    const plat::Rect t = TextArea(0);
    const std::vector<CLaidOutLine> lines = CollectLines(body());
    ASSERT_GE(lines.size(), 3u);
    for (size_t i = 0; i + 1 < lines.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(lines[i].box.left, t.left);
        EXPECT_EQ(lines[i].box.right, t.right);
    }
    // The last line keeps its natural width.
    EXPECT_EQ(lines.back().box.left, t.left);
    EXPECT_LT(lines.back().box.right, t.right);
    ExpectSound();
    ExpectDump("justified_chinese_and_latin");
}
