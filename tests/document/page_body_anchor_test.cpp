// Objects that follow their paragraphs over many pages: after an edit moves them, the free
// regions and the text must be what building every region afresh and a whole layout give,
// the anchors must follow paragraph ends that come and go by every path that adds or
// removes items, and text in the overflow must still be reported.
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "tests/document/page_body_support.h"

using namespace pagebody;

namespace {

class AnchorMoves : public BodyTest {
public:
    using BodyTest::body;
    using BodyTest::Caret;

    // `paragraphs` paragraphs of one to four lines on the small pages.
    void AppendParagraphs(int paragraphs)
    {
        std::u16string text;
        for (int p = 0; p < paragraphs; ++p) {
            for (int k = 0; k <= p % 4; ++k) text += u"汉字排版与分页测试文档。";
            text += u"\r";
        }
        Append(text);
    }

    // An object of the given size `down` twips below the top of page `page`'s text area,
    // at its left or right side.
    objtest::CTestObject* AddOnPage(int page, int down, int width, int height, std::uint8_t wrap, bool right)
    {
        const plat::Rect t = TextArea(page);
        const int left = right ? t.right - width : t.left;
        return AddObject(plat::Rect(left, t.top + down, left + width, t.top + down + height), wrap);
    }

    std::vector<std::pair<plat::Rect, int>> Regions()
    {
        std::vector<std::pair<plat::Rect, int>> out;
        for (CPageRegion* r = body().GetFirstRegion(); r; r = body().GetNextRegion()) out.emplace_back(r->m_rect, r->m_page);
        return out;
    }

    // The regions and the layout are what a build of every region and a whole layout give.
    void ExpectSameAsWholeBuild()
    {
        const std::vector<std::pair<plat::Rect, int>> regions = Regions();
        const CLayoutSnapshot before = TakeLayoutSnapshot(body());
        body().BuildPageRegions();
        body().RelayoutWhole();
        EXPECT_TRUE(Regions() == regions) << "the regions differ from a whole build";
        EXPECT_EQ(DiffLayouts(TakeLayoutSnapshot(body()), before), "")
            << "the layout (right) differs from a whole build and layout (left)";
    }

    // The index of the first item of the first line on the page.
    int FirstOnPage(int page) const
    {
        for (int i = 0; i < body().GetCount(); ++i)
            if (PageOf(i) == page) return i;
        return -1;
    }
    const CParaEndItem& ParaEnd(int index) const { return static_cast<const CParaEndItem&>(Item(index)); }
    // A new document of four short paragraphs and an object at the right, just below the
    // second paragraph's line, anchored to its end.
    objtest::CTestObject* FourParagraphsAndAnObject()
    {
        doc.Reset();
        UsePage(kSmallMargins, kSmallPaper);
        Append(u"第一段。\r第二段的文字。\r第三段。\r第四段。");
        const plat::Rect t = TextArea(0);
        const int second = IndexOf(u'。', 1) + 1;
        const int y = Item(second).GetTop();
        objtest::CTestObject* o = AddObject(plat::Rect(t.right - 900, y + 300, t.right, y + 800));
        EXPECT_EQ(AnchorEnd(*o), second);
        return o;
    }
    // A paragraph end named as given put in at the index, then a whole layout.
    void InsertNamedEnd(int at, const plat::String& name)
    {
        auto end = std::make_unique<CParaEndItem>(&body(), kItemParaEnd);
        end->SetFormat(body().GetRunningCharFormat());
        end->SetName(name);
        body().InsertItem(at, std::move(end));
        body().RelayoutWhole();
    }
    // The first paragraph end of the name the object is anchored to; -1 when there is none.
    int AnchorEnd(const CFloatObject& object) const
    {
        for (int i = 0; i < body().GetCount(); ++i)
            if (IsParaEndType(Item(i).GetNodeType()) && ParaEnd(i).GetName() == object.m_anchorName) return i;
        return -1;
    }
    // The paragraph end an object attaches to: the last laid-out one at or above its top,
    // in text order; -1 when there is none.
    int AttachmentFor(const CFloatObject& object) const
    {
        int found = -1;
        for (int i = 0; i < body().GetCount(); ++i) {
            if (!IsParaEndType(Item(i).GetNodeType()) || Item(i).GetTop() == 0) continue;
            if (Item(i).GetTop() > object.m_bounds.top) break;
            found = i;
        }
        return found;
    }
    // The first item of the paragraph that holds the item.
    int ParagraphStart(int index) const
    {
        while (index > 0 && !IsParaEndType(Item(index - 1).GetNodeType())) --index;
        return index;
    }
};

} // namespace

// Edits at several places of a document whose objects sit on many pages, some side by
// side, one over another, one reaching across a page end, each anchored to its paragraph.
TEST_F(AnchorMoves, RegionsAndTextAfterObjectsFollowTheirParagraphsMatchAWholeBuild)
{
    struct Edit {
        const char* what;
        int page;                // the caret goes to the first item of this page
        int along;               // and this many items on
        std::u16string typed;    // typed there; empty: one backspace
        bool moves;              // some object follows its paragraph
    };
    const Edit edits[] = {
        {"Enter on page 1", 0, 3, u"\r", true},
        {"a paragraph on page 1", 0, 5, u"新段落\r", true},
        {"a character on page 2", 1, 4, u"字", false},
        {"a paragraph on page 3", 2, 0, u"前面的段落。\r", true},
        {"a paragraph end taken away on page 2", 1, 0, u"", false},
        {"Enter at the top of page 4", 3, 0, u"\r", true},
        {"a long paragraph on page 6", 5, 2, u"汉字排版与分页测试文档。汉字排版与分页测试文档。\r", true},
    };
    for (const Edit& e : edits) {
        SCOPED_TRACE(e.what);
        doc.Reset();
        UsePage(kSmallMargins, kSmallPaper);
        AppendParagraphs(48);
        ASSERT_GT(body().GetPageCount(), 12);
        AddOnPage(0, 900, 900, 600, kWrapBoth, true);
        AddOnPage(1, 300, 1000, 500, kWrapRight, false);
        AddOnPage(1, 1200, 1000, 500, kWrapLeft, true);
        AddOnPage(2, 500, 1400, 700, kWrapBoth, false);
        AddOnPage(2, 800, 1000, 700, kWrapNone, false);   // over the one before
        AddOnPage(4, 1900, 900, 900, kWrapBoth, true);    // reaching past the page's text
        AddOnPage(7, 200, 900, 500, kWrapBoth, false);
        AddOnPage(10, 1000, 900, 500, kWrapRight, false);
        const std::vector<plat::Rect> placed = [&] {
            std::vector<plat::Rect> out;
            for (int k = 0; k < body().GetObjectCount(); ++k) out.push_back(body().GetObject(k)->m_bounds);
            return out;
        }();

        Caret(FirstOnPage(e.page) + e.along);
        if (e.typed.empty()) body().OnBackspace();
        else body().InsertItemsAtCaret(e.typed);

        bool moved = false;
        for (int k = 0; k < body().GetObjectCount(); ++k) moved = moved || body().GetObject(k)->m_bounds != placed[k];
        EXPECT_EQ(moved, e.moves);
        ExpectSound();
        ExpectSameAsWholeBuild();
    }
}

// Objects that move by themselves between two relayouts, without the regions being built
// again, are taken into account when the next edit moves anchored objects.
TEST_F(AnchorMoves, ObjectsMovedWithoutARebuildAreCutIntoTheRegionsAtTheNextMove)
{
    AppendParagraphs(30);
    AddOnPage(0, 1000, 900, 500, kWrapBoth, true);
    objtest::CTestObject* quiet = AddOnPage(5, 300, 900, 500, kWrapBoth, false);
    quiet->Offset(0, TextArea(6).top - TextArea(5).top);

    Caret(2);
    body().InsertItemsAtCaret(u"\r");
    ExpectSound();
    ExpectSameAsWholeBuild();
}

// Paragraph ends that come and go by each path that adds or removes items: the object
// anchored to a paragraph that went attaches afresh to the paragraph end above it.
TEST_F(AnchorMoves, AnchorsFollowParagraphEndsAddedAndRemovedByEveryPath)
{
    struct Path {
        const char* what;
        void (*change)(CDocBody& body, int paragraphStart, int paragraphEnd);
    };
    const Path paths[] = {
        {"RemoveRange", [](CDocBody& b, int from, int end) { b.RemoveRange(from, end + 1); }},
        {"RemoveAt", [](CDocBody& b, int, int end) { b.RemoveAt(end); }},
        {"Detach", [](CDocBody& b, int, int end) { b.Detach(end); }},
        {"RemoveIf",
         [](CDocBody& b, int from, int end) {
             b.RemoveIf(from, end + 1, [](CDocNode& n) { return IsParaEndType(n.GetNodeType()); });
         }},
        {"SetAtGrow",
         [](CDocBody& b, int, int end) {
             b.SetAtGrow(end, b.NewCharItem(u'字', b.GetRunningCharFormat()));
         }},
        {"MoveItemsFrom",
         [](CDocBody& b, int from, int end) {
             // The paragraph goes, and the paragraph of another container comes in.
             b.RemoveRange(from, end + 1);
             CNamedContainer other(b.GetDoc(), nullptr);
             int at = 0;
             other.InsertString(at, u"另一段\r", b.GetRunningCharFormat());
             b.MoveItemsFrom(other, from);
         }},
    };
    for (const Path& p : paths) {
        SCOPED_TRACE(p.what);
        objtest::CTestObject* o = FourParagraphsAndAnObject();
        const int end = AnchorEnd(*o);
        const plat::String gone = o->m_anchorName;

        p.change(body(), ParagraphStart(end), end);
        body().RelayoutWhole();

        const int expected = AttachmentFor(*o);
        ASSERT_GE(expected, 0);
        EXPECT_NE(o->m_anchorName, gone);
        EXPECT_EQ(o->m_anchorName, ParaEnd(expected).GetName());
        EXPECT_EQ(o->m_anchorOffset, o->m_bounds.top - Item(expected).GetTop());
    }
}

// Paragraph ends that come one at a time, before and after the one an object is anchored
// to, some of them under its name: the object follows the first paragraph end of its name,
// and an object placed afterwards attaches to the last paragraph end above it in the text.
TEST_F(AnchorMoves, AnchorsFollowTheFirstParagraphEndOfTheirNameAsEndsComeAndGo)
{
    struct Case {
        const char* what;
        void (*change)(AnchorMoves& t, int anchorEnd, const plat::String& name);
    };
    const Case cases[] = {
        {"Enter typed in the paragraph before",
         [](AnchorMoves& t, int end, const plat::String&) {
             t.Caret(t.ParagraphStart(end) - 2);
             t.body().InsertItemsAtCaret(u"\r");
         }},
        {"Enter typed in the paragraph after",
         [](AnchorMoves& t, int end, const plat::String&) {
             t.Caret(end + 2);
             t.body().InsertItemsAtCaret(u"\r");
         }},
        {"Enter typed and taken back",
         [](AnchorMoves& t, int end, const plat::String&) {
             t.Caret(t.ParagraphStart(end) + 1);
             t.body().InsertItemsAtCaret(u"\r");
             t.body().OnBackspace();
         }},
        {"an end of the same name before it",
         [](AnchorMoves& t, int end, const plat::String& name) { t.InsertNamedEnd(t.ParagraphStart(end) - 2, name); }},
        {"an end of the same name after it",
         [](AnchorMoves& t, int end, const plat::String& name) { t.InsertNamedEnd(end + 2, name); }},
        {"an end of the same name before it, then that one taken away",
         [](AnchorMoves& t, int end, const plat::String& name) {
             const int at = t.ParagraphStart(end) - 2;
             t.InsertNamedEnd(at, name);
             t.body().RemoveAt(at);
             t.body().RelayoutWhole();
         }},
        {"an end of the same name after it, then the first taken away",
         [](AnchorMoves& t, int end, const plat::String& name) {
             t.InsertNamedEnd(end + 2, name);
             t.body().RemoveAt(end);
             t.body().RelayoutWhole();
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        objtest::CTestObject* o = FourParagraphsAndAnObject();
        const int end = AnchorEnd(*o);
        const plat::String name = o->m_anchorName;

        c.change(*this, end, name);

        EXPECT_EQ(o->m_anchorName, name);
        const int first = AnchorEnd(*o);
        ASSERT_GE(first, 0);
        EXPECT_EQ(o->m_bounds.top, Item(first).GetTop() + o->m_anchorOffset);
        // A new object low on the page attaches in text order.
        const plat::Rect t = TextArea(0);
        objtest::CTestObject* added = AddObject(plat::Rect(t.left, t.bottom - 500, t.left + 600, t.bottom - 100));
        ASSERT_GE(AttachmentFor(*added), 0);
        EXPECT_EQ(AnchorEnd(*added), AttachmentFor(*added));
        ExpectSound();
    }
}

// A paragraph end deleted and brought back by undo is found by its name again.
TEST_F(AnchorMoves, AnchorFollowsAParagraphEndBroughtBackByUndo)
{
    objtest::CTestObject* o = FourParagraphsAndAnObject();
    const int end = AnchorEnd(*o);
    const plat::String name = o->m_anchorName;

    // The paragraph end goes (the object attaches above), then comes back by undo with
    // its name, and the object as it was, anchored to it again.
    Select(end + 1, end);
    doc.EditDelete();
    ASSERT_NE(o->m_anchorName, name);
    doc.EditUndo();
    const int back = end;
    ASSERT_TRUE(IsParaEndType(Item(back).GetNodeType()));
    EXPECT_EQ(ParaEnd(back).GetName(), name);
    ASSERT_EQ(body().GetObjectCount(), 1);
    const CFloatObject& restored = *body().GetObject(0);
    EXPECT_EQ(restored.m_anchorName, name);
    EXPECT_EQ(restored.m_anchorOffset, restored.m_bounds.top - Item(back).GetTop());
    ExpectSound();
    ExpectSameAsWholeBuild();
}

// In a document whose text runs into the overflow, moving an anchored object still says
// that the content overflows, as a whole layout reaching the overflow does.
TEST_F(AnchorMoves, MovingAnObjectInADocumentThatOverflowsSaysContentOverflow)
{
    UsePage(plat::Rect(5, 5, 5, 5), plat::Size(30, 20));
    std::u16string text;
    for (int i = 0; i < 502; ++i) text += u"页\r";
    plat::AnswerNextModal(plat::kIdOk);
    Append(text);
    ASSERT_EQ(BoxTexts(), std::vector<plat::String>{u"内容溢出!"});
    plat::AnswerNextModal(plat::kIdOk);
    const plat::Rect t = TextArea(3);
    AddObject(plat::Rect(t.right - 450, t.top + 10, t.right, t.top + 250), kWrapLeft);
    plat::ClearMessageBoxLog();

    plat::AnswerNextModal(plat::kIdOk);
    Caret(0);
    body().InsertItemsAtCaret(u"\r");
    EXPECT_EQ(BoxTexts(), std::vector<plat::String>{u"内容溢出!"});
}
