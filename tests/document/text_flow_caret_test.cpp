// Caret moves, hit positions and the mouse over items placed by hand where line layout
// would put them.
#include <gtest/gtest.h>

#include <climits>

#include "tests/document/text_flow_support.h"

using namespace flowtest;

namespace {

// "abc def|gh$" on three lines:  a b c ' '   (0-3, line 0)
//                                d e f |     (4-7, line 1)
//                                g h $       (8-10, line 2)
struct PlacedFlow {
    std::unique_ptr<CQlDoc> doc = OneAuthorDoc();
    ProbeFlow flow{doc.get(), nullptr};
    int scrolls = 0;
    PlacedFlow()
    {
        Fill(flow, u"abc def|gh$");
        PlaceLines(flow, {4, 4, 3});
        doc->SetScrollToCaret([this] { ++scrolls; });
    }
    int Anchor() const { return AnchorOf(flow).m_index; }
};

} // namespace

TEST(TextFlowCaret, MovesOverPlacedItems)
{
    enum Op { Start, End, LineStart, LineEnd, Left, Right, Up, Down, UpBy, DownBy };
    struct Case { int caret; Op op; bool extend; int distance; int want; };
    const Case cases[] = {
        {5, Start, false, 0, 0},   {5, Start, true, 0, 0},
        {2, End, false, 0, 10},
        {6, LineStart, false, 0, 4}, {4, LineStart, false, 0, 4}, {2, LineStart, true, 0, 0},
        {4, LineEnd, false, 0, 7},   // before the line's paragraph end
        {4, LineEnd, true, 0, 8},    // extending takes it in
        {0, LineEnd, false, 0, 3},   // before the trailing space
        {0, LineEnd, true, 0, 4},
        {8, LineEnd, false, 0, 10}, {8, LineEnd, true, 0, 10}, // never past the final end
        {7, LineEnd, false, 0, 7},   // already the line's last item
        {5, Left, false, 0, 4}, {4, Left, false, 0, 3}, {0, Left, false, 0, 0},
        {3, Right, false, 0, 4}, {10, Right, false, 0, 10},
        {5, Up, false, 0, 1}, {1, Up, false, 0, 1}, {9, Up, true, 0, 5},
        {1, Down, false, 0, 5}, {2, Down, false, 0, 6},
        {6, Down, false, 0, 10},     // past the end of a shorter line: before its end
        {9, Down, false, 0, 9},      // the last line
        {9, UpBy, false, 800, 1}, {1, DownBy, false, 400, 5}, {1, DownBy, true, 800, 9},
        {1, DownBy, false, INT_MAX, 9}, {9, UpBy, false, INT_MAX, 1},
    };
    for (const Case& c : cases) {
        PlacedFlow p;
        p.flow.SetCaret(At(p.flow, c.caret));
        switch (c.op) {
        case Start: p.flow.MoveToStart(c.extend); break;
        case End: p.flow.MoveToEnd(c.extend); break;
        case LineStart: p.flow.MoveToLineStart(c.extend); break;
        case LineEnd: p.flow.MoveToLineEnd(c.extend); break;
        case Left: p.flow.MoveLeft(c.extend); break;
        case Right: p.flow.MoveRight(c.extend); break;
        case Up: p.flow.MoveUp(c.extend); break;
        case Down: p.flow.MoveDown(c.extend); break;
        case UpBy: p.flow.MoveUpBy(c.extend, c.distance); break;
        case DownBy: p.flow.MoveDownBy(c.extend, c.distance); break;
        }
        SCOPED_TRACE(testing::Message() << "from " << c.caret << " op " << c.op << " extend " << c.extend);
        EXPECT_EQ(p.flow.GetCaretPos(), At(p.flow, c.want));
        EXPECT_EQ(p.Anchor(), c.extend ? c.caret : c.want);
        EXPECT_EQ(p.flow.caretFormats, 1);
        EXPECT_EQ(p.scrolls, 1) << "every move asks for the caret to be shown";
    }
}

TEST(TextFlowCaret, ItemsSharingTheCaretPositionArePassedOver)
{
    // An anchor item sits where the next character starts; a hidden deleted item too.
    auto doc = TwoAuthorDoc();
    CTextFlow flow(doc.get(), nullptr);
    Fill(flow, u"ab~Xc$");
    PlaceLines(flow, {6});
    flow.GetItem(2)->Place(200, 1100, 1000, kLineHeight);
    flow.GetItem(2)->SetWidth(0);
    flow.GetItem(3)->Place(200, 1100, 1000, kLineHeight); // c after the zero-width X
    flow.SetCaret(At(flow, 3));
    flow.MoveLeft(false);
    EXPECT_EQ(flow.GetCaretPos().m_index, 1);
    flow.SetCaret(At(flow, 2));
    flow.MoveRight(false);
    EXPECT_EQ(flow.GetCaretPos().m_index, 4);
}

TEST(TextFlowCaret, PosFromPoint)
{
    struct Case { int caret; int x; int y; int want; };
    const Case cases[] = {
        {0, 130, 1500, 5},   // left half of e, walking forward from the caret
        {0, 170, 1500, 6},   // right half of e: after it
        {6, 30, 1100, 0},    // walking backward
        {6, 260, 1500, 7},   // right half of f: before the paragraph end
        {6, 900, 1500, 7},   // right of a line: its paragraph end is nearest
        {0, 50, 3000, 8},    // below everything: the nearest line, the nearest item on it
        {0, -500, 500, 0},   // above and left of everything
        {9, 1000, 1100, 3},  // right of the first line
        {2, 210, 1200, 2},   // the left half of the caret item itself
    };
    for (const Case& c : cases) {
        PlacedFlow p;
        p.flow.SetCaret(At(p.flow, c.caret));
        EXPECT_EQ(p.flow.PosFromPoint(c.x, c.y), At(p.flow, c.want))
            << "caret " << c.caret << " point " << c.x << "," << c.y;
    }

    // A space that layout gave no width is never chosen.
    PlacedFlow p;
    p.flow.GetItem(3)->SetWidth(0);
    p.flow.SetCaret(At(p.flow, 0));
    EXPECT_EQ(p.flow.PosFromPoint(305, 1100), At(p.flow, 2)) << "the nearest is c, not the space";
}

TEST(TextFlowCaret, MouseSelectsFromWhereTheButtonWentDown)
{
    PlacedFlow p;
    p.flow.OnLButtonDown(110, 1500); // left half of e
    EXPECT_EQ(p.flow.GetCaretPos().m_index, 5);
    EXPECT_EQ(p.Anchor(), 5);
    EXPECT_EQ(p.flow.GetPressPos().m_index, 5);
    p.flow.OnMouseMove(170, 1900);   // right half of h
    EXPECT_EQ(p.flow.GetCaretPos().m_index, 10);
    EXPECT_EQ(p.Anchor(), 5);
    p.flow.OnLButtonUp(10, 1100);    // left half of a
    EXPECT_EQ(p.flow.GetCaretPos().m_index, 0);
    EXPECT_EQ(p.Anchor(), 5);
    EXPECT_EQ(p.flow.caretFormats, 4) << "down 1, move 1, up 2";

    // A click on an item only refreshes the formats; off the items it drags.
    p.flow.OnClickItem(110, 1500);
    EXPECT_EQ(p.flow.GetCaretPos().m_index, 0);
    EXPECT_EQ(p.flow.caretFormats, 5);
    p.flow.OnClickItem(5000, 1500);
    EXPECT_EQ(p.flow.GetCaretPos().m_index, 7) << "nearest: the paragraph end of that line";
    EXPECT_EQ(p.Anchor(), 5);
    EXPECT_EQ(p.scrolls, 0) << "the canvas scrolls after mouse moves itself";
}

TEST(TextFlowCaret, ItemPagePosition)
{
    PlacedFlow p;
    EXPECT_EQ(p.flow.GetItemPagePos(At(p.flow, 5)), plat::Point(100, LineTop(1) + 100));
    EXPECT_EQ(p.flow.GetItemPagePos(At(p.flow, 50)), plat::Point());
}
