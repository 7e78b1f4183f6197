#include <gtest/gtest.h>

#include "document/format_pool.h"
#include "document/named_container.h"
#include "document/ql_doc.h"
#include "document/statistics.h"
#include "document/text_item.h"
#include "tests/document/text_model_support.h"

using namespace textmodel;

namespace {

// Builds items from the same notation (a '|' goes through InsertString as a line end).
void Fill(CNamedContainer& c, const plat::String& text, const CCharFormat& f = CCharFormat())
{
    for (char16_t ch : text) {
        int at = c.GetCount();
        switch (ch) {
        case u'|': c.InsertCharAt(at, u'\r', f); break;
        case u'/': c.AddItem(std::make_unique<CParaEndItem>(&c, kItemParaPageBreak)); break;
        case u'$': c.AddItem(std::make_unique<CParaEndItem>(&c, kItemFinalParaEnd)); break;
        case u'^': c.AddItem(std::make_unique<CAnchorItem>(&c)); break;
        default: c.InsertCharAt(at, ch, f); break;
        }
    }
}

class CountedNode : public CDocNode {
public:
    explicit CountedNode(int& alive) : m_alive(alive) { ++m_alive; }
    ~CountedNode() override { --m_alive; }

private:
    int& m_alive;
};

} // namespace

TEST(NodeList, OwnsItsChildren)
{
    int alive = 0;
    {
        CNodeList list(nullptr, nullptr);
        auto made = [&] { return std::make_unique<CountedNode>(alive); };
        EXPECT_EQ(list.Add(made()), 0);
        EXPECT_EQ(list.Add(made()), 1);
        list.InsertAt(0, made());
        EXPECT_THROW(list.InsertAt(4, made()), std::out_of_range);
        EXPECT_EQ(alive, 3) << "a refused insertion still deletes what it was given";
        list.SetAtGrow(5, made());
        EXPECT_EQ(list.GetCount(), 6);
        EXPECT_EQ(list.GetAt(4), nullptr) << "the gap holds no node";
        EXPECT_EQ(list.GetAt(6), nullptr);
        EXPECT_EQ(list.GetAt(-1), nullptr);
        list.SetAtGrow(5, made()); // replaces and deletes the node there
        EXPECT_EQ(alive, 4);

        CDocNode* second = list.GetAt(1);
        std::unique_ptr<CDocNode> detached = list.Detach(1);
        EXPECT_EQ(detached.get(), second);
        EXPECT_EQ(alive, 4);
        std::unique_ptr<CDocNode> removed = list.Remove(list.GetAt(0));
        EXPECT_NE(removed, nullptr);
        EXPECT_EQ(list.Remove(second), nullptr) << "no longer in the list";
        EXPECT_TRUE(list.RemoveAt(0));
        EXPECT_TRUE(list.RemoveAt(0)) << "an empty slot is removed too";
        EXPECT_FALSE(list.RemoveAt(10));
        EXPECT_EQ(alive, 3);
        list.RemoveAll();
        EXPECT_EQ(list.GetCount(), 0);
        EXPECT_EQ(alive, 2); // the two handed out
    }
    EXPECT_EQ(alive, 0);
}

TEST(NodeList, RemovesRunsInOnePassKeepingTheOrder)
{
    int alive = 0;
    CNodeList list(nullptr, nullptr);
    std::vector<CDocNode*> nodes;
    for (int i = 0; i < 8; ++i) {
        list.Add(std::make_unique<CountedNode>(alive));
        nodes.push_back(list.GetAt(i));
    }
    // Every other node of 1..5, asked in order.
    std::vector<CDocNode*> asked;
    const int removed = list.RemoveIf(1, 6, [&](CDocNode& n) {
        asked.push_back(&n);
        return asked.size() % 2 == 1;
    });
    EXPECT_EQ(removed, 3);
    EXPECT_EQ(asked, (std::vector<CDocNode*>{nodes[1], nodes[2], nodes[3], nodes[4], nodes[5]}));
    EXPECT_EQ(alive, 5);
    const std::vector<CDocNode*> left = {nodes[0], nodes[2], nodes[4], nodes[6], nodes[7]};
    ASSERT_EQ(list.GetCount(), 5);
    for (int i = 0; i < 5; ++i) EXPECT_EQ(list.GetAt(i), left[static_cast<size_t>(i)]);
    // Ranges are clamped to the list; an empty or reversed one removes nothing.
    list.RemoveRange(4, 2);
    list.RemoveRange(-3, 0);
    EXPECT_EQ(list.GetCount(), 5);
    list.RemoveRange(3, 100);
    EXPECT_EQ(list.GetCount(), 3);
    EXPECT_EQ(alive, 3);
}

TEST(NamedContainer, InsertStringTurnsLineEndsAndTabsIntoItems)
{
    struct Case { const char16_t* start; int at; plat::String text; const char* want; int indexAfter; };
    const Case cases[] = {
        {u"ab", 1, u"x\r\ny", "ax|yb", 4},         // CR LF is one paragraph end
        {u"abcde", 3, u"\t", "abc    de", 7},      // Tab is four spaces
        {u"", 0, u"a\rb", "a|b", 3},
        {u"", 0, u"a\nb", "a|b", 3},
        {u"", 0, u"a\r\rb", "a||b", 4},
        {u"", 0, u"a\n\rb", "a||b", 4},            // LF CR is two
        {u"", 0, u"\r\n\r\n", "||", 2},
        {u"", 0, u"a\x01\x1F\x7F" u"b", "a\x7F" "b", 3}, // control codes below 32 vanish
        {u"", 0, plat::String(u"ab\0cd", 5), "ab", 2}, // up to the terminating zero
        {u"xy", 2, u"", "xy", 2},
    };
    for (const Case& c : cases) {
        CNamedContainer box(nullptr, nullptr);
        int at = 0;
        box.InsertString(at, c.start, CCharFormat());
        at = c.at;
        box.InsertString(at, c.text, CCharFormat());
        EXPECT_EQ(Describe(box), c.want) << c.want;
        EXPECT_EQ(at, c.indexAfter) << c.want;
    }

    struct CharCase { char16_t code; const char* want; int indexAfter; };
    const CharCase chars[] = {{u'\t', "abc    de", 7}, {13, "abc|de", 4}, {10, "abc|de", 4},
                              {7, "abcde", 3}, {u'q', "abcqde", 4}};
    for (const CharCase& c : chars) {
        CNamedContainer box(nullptr, nullptr);
        int at = 0;
        box.InsertString(at, u"abcde", CCharFormat());
        at = 3;
        box.InsertCharAt(at, c.code, CCharFormat());
        EXPECT_EQ(Describe(box), c.want);
        EXPECT_EQ(at, c.indexAfter);
    }
}

TEST(NamedContainer, TypedItemsCarryTheCurrentAuthorButParagraphEndsTheGivenFormat)
{
    PinnedSources pin;
    CQlDoc doc;
    doc.GetAuthors().Append(0, u"");
    doc.GetAuthors().Append(9, u"丙");
    doc.SetCurAuthorIndex(1);
    CNamedContainer box(&doc, nullptr);
    CCharFormat f(&doc);
    f.m_bold = 1;
    int at = 0;
    box.InsertString(at, u"a\n", f);
    const CTextItem* a = box.GetItem(0);
    const auto* end = dynamic_cast<const CParaEndItem*>(box.GetItem(1));
    ASSERT_NE(end, nullptr);
    EXPECT_EQ(a->GetFormat().m_insertedBy, 1);
    EXPECT_EQ(a->GetFormat().m_bold, 1);
    EXPECT_EQ(a->GetTime(), kPinnedTime);
    EXPECT_EQ(a->GetParent(), &box);
    EXPECT_EQ(end->GetFormat().Differs(f), 0) << "the paragraph end takes the format as given";
    EXPECT_EQ(end->GetTime(), 0);
    EXPECT_EQ(end->GetParaFormat(), CParaFormat());
    EXPECT_EQ(plat::Utf16ToUtf8(end->GetName()), PinnedGuid(2)) << "named when made";
    EXPECT_EQ(plat::Utf16ToUtf8(box.GetName()), PinnedGuid(1));

    std::unique_ptr<CCharItem> item = box.NewCharItem(0xFF0C, f);
    EXPECT_EQ(item->GetNodeType(), kItemCjkClose);
    EXPECT_EQ(item->GetCode(), 0xFF0C);
    EXPECT_EQ(item->GetFormat().m_insertedBy, 1);
}

TEST(NamedContainer, TextOfItems)
{
    CQlDoc doc;
    CNamedContainer box(&doc, nullptr);
    Fill(box, u"ab|c/d^e$");
    EXPECT_EQ(plat::Utf16ToUtf8(box.GetText(0, box.GetCount())), "ab\nc\nde");
    EXPECT_EQ(plat::Utf16ToUtf8(box.GetText(1, 4)), "b\nc");
    EXPECT_EQ(plat::Utf16ToUtf8(box.GetText(-5, 100)), "ab\nc\nde") << "the range is clamped";
    EXPECT_EQ(plat::Utf16ToUtf8(box.GetText(5, 2)), "");

    box.GetItem(1)->SetDeletedBy(1);
    EXPECT_EQ(plat::Utf16ToUtf8(box.GetText(0, 4)), "a\nc");
    doc.SetRevisionsShown(true);
    EXPECT_EQ(plat::Utf16ToUtf8(box.GetText(0, 4)), "ab\nc");

    struct Case { const char16_t* items; int deleted; const char* want; };
    const Case cases[] = {
        {u"||  ab cd|ef$", -1, "ab cd"}, // empty paragraphs and leading spaces are passed over
        {u"  |  $", -1, ""},
        {u"xy$zz", -1, "xy"},
        {u"|q|r$", 1, "r"},              // a deleted item does not make a paragraph non-empty
        {u"a^b$", -1, "ab"},
    };
    for (const Case& c : cases) {
        CQlDoc plain;
        CNamedContainer first(&plain, nullptr);
        Fill(first, c.items);
        if (c.deleted >= 0) first.GetItem(c.deleted)->SetDeletedBy(1);
        EXPECT_EQ(plat::Utf16ToUtf8(first.GetFirstParagraphText()), c.want) << plat::Utf16ToUtf8(c.items);
    }
}

TEST(NamedContainer, MoveItemsLeavesTheFinalParagraphEnd)
{
    CNamedContainer flow(nullptr, nullptr);
    CNamedContainer target(nullptr, nullptr);
    Fill(flow, u"ab$");
    Fill(target, u"xy");
    EXPECT_EQ(target.MoveItemsFrom(flow, 1), 3);
    EXPECT_EQ(Describe(target), "xaby");
    EXPECT_EQ(Describe(flow), "$");
    for (int i = 0; i < target.GetCount(); ++i) EXPECT_EQ(target.GetItem(i)->GetParent(), &target);
    EXPECT_EQ(flow.GetItem(0)->GetParent(), &flow);

    // Whatever follows a final paragraph end stays behind it.
    CNamedContainer odd(nullptr, nullptr);
    Fill(odd, u"p$q");
    EXPECT_EQ(target.MoveItemsFrom(odd, target.GetCount()), 3);
    EXPECT_EQ(Describe(target), "xabyp");
    EXPECT_EQ(Describe(odd), "$q");
    EXPECT_EQ(target.MoveItemsFrom(target, 0), 5);
    EXPECT_EQ(Describe(target), "xabyp");
}

TEST(NamedContainer, HitTestingPlacedItems)
{
    CNamedContainer line(nullptr, nullptr);
    Fill(line, u"abcde");
    for (int i = 0; i < 5; ++i) {
        line.GetItem(i)->SetMetrics(100, 200, 160);
        line.GetItem(i)->Place(100 * i, 0, 0, 200);
    }
    struct Case { int x, y, index; };
    const Case cases[] = {
        {220, 50, 2},   // left half of the third item
        {260, 50, 3},   // right half gives the next index
        {250, 50, 3},   // the middle counts as the right half
        {480, 50, 4},   // the last item always gives its own index
        {1000, 100, 4}, // off the items but on their line: the nearest
        {-50, 100, 0},
        {150, 1000, 1}, // below every line: the nearest by gap, then distance
        {420, -300, 4},
    };
    for (const Case& c : cases) {
        CTextPos pos;
        EXPECT_TRUE(line.HitTestPos(c.x, c.y, pos));
        EXPECT_EQ(pos.m_index, c.index) << c.x << "," << c.y;
        EXPECT_EQ(pos.m_name, line.GetName());
    }

    EXPECT_EQ(line.ItemAtPoint(150, 10), line.GetItem(1));
    EXPECT_EQ(line.ItemAtPoint(150, 200), nullptr);
    auto anchor = std::make_unique<CAnchorItem>(&line);
    anchor->SetMetrics(1, 210, 210);
    anchor->Place(600, 0, 0, 210);
    CTextItem* a = anchor.get();
    line.AddItem(std::move(anchor));
    EXPECT_EQ(line.ItemAtPoint(700, 10), a) << "an anchor is as wide as it is high";

    CNamedContainer empty(nullptr, nullptr);
    CTextPos pos(7, u"x");
    EXPECT_TRUE(empty.HitTestPos(5, 5, pos));
    EXPECT_EQ(pos.m_index, 0);

    EXPECT_EQ(line.FindContainer(CTextPos(3, line.GetName())), &line);
    EXPECT_EQ(line.FindContainer(CTextPos(3, u"other")), nullptr);
}

TEST(NamedContainer, CountStatistics)
{
    struct Case {
        const char16_t* items;
        std::initializer_list<int> deleted;
        int from, to;
        int chinese, letters, words, spaces, symbols, paragraphs;
    };
    const Case cases[] = {
        {u"Hi, 你好 don't$", {}, 0, -1, 2, 6, 2, 2, 2, 0},
        {u"hello world$", {}, 0, -1, 0, 10, 2, 1, 0, 0},
        {u"  ab|  cd|$", {}, 0, -1, 0, 4, 2, 0, 0, 2},  // leading spaces of paragraphs
        {u"x /  y$", {}, 0, -1, 0, 2, 2, 1, 0, 1},      // a page-break paragraph end
        {u"１2中。（$", {}, 0, -1, 1, 0, 0, 0, 4, 0},     // full-width digit and CJK marks
        {u"ab1cd.e$", {}, 0, -1, 0, 5, 3, 0, 2, 0},     // a digit or stop ends a word
        {u"abc$", {1}, 0, -1, 0, 2, 1, 0, 0, 0},        // deleted items neither count nor split
        {u"a b|c$", {1, 3}, 0, -1, 0, 3, 1, 0, 0, 0},
        {u"ab  cd$", {}, 2, 5, 0, 1, 1, 0, 0, 0},       // the range starts a paragraph
        {u"^中^$", {}, 0, -1, 1, 0, 0, 0, 0, 0},        // anchors and the final end count nowhere
    };
    for (bool shown : {false, true}) {
        for (const Case& c : cases) {
            CQlDoc doc;
            doc.SetRevisionsShown(shown); // deleted text is never counted, shown or not
            CNamedContainer box(&doc, nullptr);
            Fill(box, c.items);
            for (int d : c.deleted) box.GetItem(d)->SetDeletedBy(1);
            CStatistics s;
            s[CStatistics::kPages] = 5;
            box.CountStatistics(s, c.from, c.to);
            std::string what = plat::Utf16ToUtf8(c.items);
            EXPECT_EQ(s[CStatistics::kChinese], c.chinese) << what;
            EXPECT_EQ(s[CStatistics::kLetters], c.letters) << what;
            EXPECT_EQ(s[CStatistics::kWords], c.words) << what;
            EXPECT_EQ(s[CStatistics::kSpaces], c.spaces) << what;
            EXPECT_EQ(s[CStatistics::kSymbols], c.symbols) << what;
            EXPECT_EQ(s[CStatistics::kParagraphs], c.paragraphs) << what;
            EXPECT_EQ(s[CStatistics::kPages], 5) << "counts add to what the record holds";
            EXPECT_EQ(s[CStatistics::kGraphics], 0);
        }
    }
}

TEST(NamedContainer, SetCharFormatReachesEveryItem)
{
    CFormatPool& pool = CFormatPool::Instance();
    const size_t before = pool.LiveCount();
    {
        CNamedContainer box(nullptr, nullptr);
        CCharFormat bold;
        bold.m_bold = 1;
        Fill(box, u"plain ");
        Fill(box, u"bold|", bold);
        CCharFormat red;
        red.m_color = 0x0000FF;
        box.SetCharFormat(kFieldColor, red);
        for (int i = 0; i < box.GetCount(); ++i) {
            EXPECT_EQ(box.GetItem(i)->GetFormat().m_color, 0x0000FF) << i;
            EXPECT_EQ(box.GetItem(i)->GetFormat().m_bold, i >= 6 ? 1 : 0) << i;
        }
        EXPECT_EQ(pool.LiveCount(), before + 2) << "the two formats became two others";
        box.SetCharFormat(42, red); // not a field id: nothing changes
        EXPECT_EQ(box.GetItem(0)->GetFormat().m_color, 0x0000FF);
    }
    EXPECT_EQ(pool.LiveCount(), before);
}
