// The mouse from the page canvas: the document turns pixels into body twips at its zoom and
// the body hands presses, drags and clicks to the annotation marks, to the objects (front
// layer first, list order within a layer) or to its text; the cursor, the revision tip and
// the annotation under the mouse follow.
#include <gtest/gtest.h>

#include <vector>

#include "document/spell_engine.h"
#include "document/text_item.h"
#include "tests/document/doc_object_support.h"
#include "tests/document/test_object.h"

using namespace doctest;

namespace {

// An object that answers the mouse with fixed codes and records what reached it.
class CProbe : public objtest::CTestObject {
public:
    CProbe(CQlDoc* doc, int tag) : CTestObject(doc, nullptr) { m_tag = tag; }

    std::uint8_t HitTest(int x, int y, CPointList&) override { return Holds(x, y) ? m_hitCode : 0; }
    std::uint8_t BeginTrack(int x, int y, bool shift, CPointList&) override
    {
        if (!Holds(x, y)) return 0;
        m_calls.push_back(shift ? "press+shift" : "press");
        return m_pressCode;
    }
    void TrackTo(int x, int y) override
    {
        m_calls.push_back("track");
        m_last = plat::Point(x, y);
    }
    void EndTrack(int x, int y) override
    {
        m_calls.push_back("end");
        m_last = plat::Point(x, y);
        CFloatObject::EndTrack(x, y);
    }
    int Play() override
    {
        m_calls.push_back("play");
        return m_plays;
    }
    int AddSpellingSuggestions(int x, int y, CSpellEngine&, const SpellSuggestionSink&, int position,
                               CSpellError**) override
    {
        m_calls.push_back("suggest");
        m_last = plat::Point(x, y);
        return position + 3;
    }
    CTextItem* TextItemAtPoint(int, int) override { return m_item; }
    bool IsTable() const override { return m_table; }

    bool Holds(int x, int y) const { return m_bounds.Contains(plat::Point(x, y)); }

    std::uint8_t m_hitCode = 20;
    std::uint8_t m_pressCode = 20;
    int m_plays = 0;
    bool m_table = false;
    CTextItem* m_item = nullptr;
    std::vector<std::string> m_calls;
    plat::Point m_last;
};

class Mouse : public testing::Test {
protected:
    CProbe* Add(const plat::Rect& twips, int tag, std::uint8_t layer = 2)
    {
        auto o = std::make_unique<CProbe>(&s.doc, tag);
        o->m_bounds = twips;
        o->m_width = twips.Width();
        o->m_height = twips.Height();
        o->m_layer = layer;
        o->RecalcLayout();
        auto* probe = static_cast<CProbe*>(s.Body().AddObject(std::move(o)));
        s.Body().BuildPageRegions();
        return probe;
    }
    // Pixels at 100 % for a point in twips (15 twips a pixel).
    static plat::Point Px(int x, int y) { return plat::Point(x / 15, y / 15); }
    CFormatState& State() { return *s.doc.GetFormatState(); }
    // A press, drag and release as the canvas sends them.
    void Drag(plat::Point from, plat::Point to)
    {
        s.doc.OnLButtonDown(from, 0);
        State().m_dragActive = 1;
        s.doc.OnMouseMove(to);
        State().m_dragActive = 0;
        s.doc.OnLButtonUp(to);
    }

    ShownDoc s;
};

// ---- presses ----

TEST_F(Mouse, PressOnAnObjectSelectsItAndSetsTheCursor)
{
    CProbe* o = Add(plat::Rect(3000, 3000, 6000, 6000), 1);
    s.doc.OnLButtonDown(Px(4500, 4500), 0);
    EXPECT_EQ(o->m_calls, std::vector<std::string>{"press"});
    EXPECT_TRUE(o->IsSelected());
    EXPECT_EQ(State().m_tableZone, 20);
    EXPECT_EQ(State().m_dragPoint, plat::Point(4500, 4500));
    EXPECT_EQ(State().GetFocusObject(), nullptr) << "typing goes to no text while an object is selected";
    EXPECT_EQ(s.window.m_cursorCode, 20);
    EXPECT_GE(s.window.m_repaints, 1);
    EXPECT_FALSE(s.doc.SelectionAcceptsText());

    // A press beside it goes to the text: the object is deselected, the body has the focus.
    s.doc.OnLButtonDown(Px(8000, 8000), 0);
    EXPECT_FALSE(o->IsSelected());
    EXPECT_EQ(State().m_tableZone, 1);
    EXPECT_EQ(State().GetFocusObject(), s.doc.GetBody());
    EXPECT_EQ(s.window.m_cursorCode, 1);
}

TEST_F(Mouse, FrontLayerFirstThenListOrder)
{
    const plat::Rect box(3000, 3000, 6000, 6000);
    CProbe* back = Add(box, 1, 0);
    CProbe* firstOfTwo = Add(box, 2, 3);
    CProbe* secondOfTwo = Add(box, 3, 3);
    s.doc.OnLButtonDown(Px(4500, 4500), 0);
    EXPECT_TRUE(firstOfTwo->IsSelected());
    EXPECT_TRUE(secondOfTwo->m_calls.empty());
    EXPECT_TRUE(back->m_calls.empty());
    // Brought to the front layer, the back object takes the next press.
    back->m_layer = 4;
    s.doc.OnLButtonDown(Px(4500, 4500), 0);
    EXPECT_TRUE(back->IsSelected());
    EXPECT_FALSE(firstOfTwo->IsSelected());
}

TEST_F(Mouse, PressCodesThatCountOnlyOnASelectedObject)
{
    struct Case {
        std::uint8_t code;
        bool table;
        bool selectedBefore;
        std::uint8_t result;
        bool selectedAfter;
    };
    const Case cases[] = {
        {33, false, false, 0, false},  // a corner handle of an unselected object does nothing
        {33, false, true, 33, true},
        {92, false, false, 0, false},
        {90, false, false, 0, false},  // a vertex: on a drawn shape (the probe's type) only when selected
        {90, false, true, 90, true},
        {45, true, false, 45, false},  // tables handle their own clicks
        {20, false, false, 20, true},
    };
    for (const Case& c : cases) {
        ShownDoc doc2;
        auto o = std::make_unique<CProbe>(&doc2.doc, 1);
        o->m_bounds = plat::Rect(3000, 3000, 6000, 6000);
        o->m_width = o->m_height = 3000;
        o->m_pressCode = c.code;
        o->m_table = c.table;
        o->SetSelected(c.selectedBefore);
        CProbe* probe = static_cast<CProbe*>(doc2.Body().AddObject(std::move(o)));
        doc2.doc.OnLButtonDown(Px(4500, 4500), 0);
        EXPECT_EQ(doc2.doc.GetFormatState()->m_tableZone, c.result) << int(c.code);
        EXPECT_EQ(probe->IsSelected(), c.selectedAfter) << int(c.code);
    }
}

TEST_F(Mouse, ShiftPressesAddToAndTakeFromTheSelection)
{
    CProbe* a = Add(plat::Rect(3000, 3000, 5000, 5000), 1);
    CProbe* b = Add(plat::Rect(6000, 3000, 8000, 5000), 2);
    s.doc.OnLButtonDown(Px(4000, 4000), 0);
    s.doc.OnLButtonDown(Px(7000, 4000), CQlDoc::kMouseShift);
    EXPECT_TRUE(a->IsSelected() && b->IsSelected());
    EXPECT_EQ(b->m_calls, std::vector<std::string>{"press+shift"});
    EXPECT_EQ(State().m_tableZone, 20);
    // Shift on a selected one among others takes it out and starts no drag.
    s.doc.OnLButtonDown(Px(4000, 4000), CQlDoc::kMouseShift);
    EXPECT_FALSE(a->IsSelected());
    EXPECT_TRUE(b->IsSelected());
    EXPECT_EQ(State().m_tableZone, 72);
    // Shift on the only selected one keeps it.
    s.doc.OnLButtonDown(Px(7000, 4000), CQlDoc::kMouseShift);
    EXPECT_TRUE(b->IsSelected());
    EXPECT_EQ(State().m_tableZone, 72);
}

// ---- drags ----

TEST_F(Mouse, MoveCodeDragsTheSelectionWithinThePagesWidth)
{
    CProbe* a = Add(plat::Rect(3000, 3000, 5000, 5000), 1);
    CProbe* b = Add(plat::Rect(6000, 4000, 8000, 6000), 2);
    a->m_pressCode = b->m_pressCode = 16;
    a->SetSelected(true);
    b->SetSelected(true);
    a->m_anchorState = b->m_anchorState = kAnchorAttached;
    // 1500 twips right and 750 down, in two moves.
    s.doc.OnLButtonDown(Px(4500, 4500), 0);
    State().m_dragActive = 1;
    s.doc.OnMouseMove(Px(5250, 4500));
    EXPECT_EQ(a->m_bounds, plat::Rect(3750, 3000, 5750, 5000));
    EXPECT_EQ(a->m_anchorState, kAnchorNone) << "a dragged object lets go of its paragraph";
    EXPECT_FALSE(s.doc.IsModified()) << "not before the release";
    s.doc.OnMouseMove(Px(6000, 5250));
    State().m_dragActive = 0;
    s.doc.OnLButtonUp(Px(6000, 5250));
    EXPECT_EQ(a->m_bounds, plat::Rect(4500, 3750, 6500, 5750));
    EXPECT_EQ(b->m_bounds, plat::Rect(7500, 4750, 9500, 6750));
    EXPECT_TRUE(s.doc.IsModified());
    EXPECT_EQ(State().m_tableZone, 0) << "the release ends the drag";
    EXPECT_EQ(a->m_anchorState, kAnchorAttached) << "anchored afresh by the layout after the release";

    // Far left and up: the leftmost stops at the desk's edge of the page, the top at the
    // first page's top; right: the rightmost at the page's right edge. Each drag starts
    // on the first object.
    auto onA = [&] { return Px(a->m_bounds.left + 1000, a->m_bounds.top + 1000); };
    Drag(onA(), Px(0, 0));
    EXPECT_EQ(a->m_bounds.left, 200);
    EXPECT_EQ(a->m_bounds.top, 200);
    EXPECT_EQ(b->m_bounds.left - a->m_bounds.left, 3000) << "both moved together";
    Drag(onA(), Px(30000, 1200));
    EXPECT_EQ(b->m_bounds.right, kPaperW + 200);
    // Down is not limited.
    const int top = a->m_bounds.top;
    const plat::Point from = onA();
    Drag(from, plat::Point(from.x, from.y + 3 * kPitch / 15));
    EXPECT_EQ(a->m_bounds.top, top + 3 * kPitch);
    EXPECT_TRUE(a->IsSelected() && b->IsSelected());
}

TEST_F(Mouse, OtherCodesTrackTheObject)
{
    CProbe* o = Add(plat::Rect(3000, 3000, 6000, 6000), 1);
    o->m_pressCode = 50;
    s.doc.OnLButtonDown(Px(4500, 4500), 0);
    State().m_trackedObject = o; // the object's own press would set it
    State().m_dragActive = 1;
    s.doc.OnMouseMove(Px(5250, 4500));
    State().m_dragActive = 0;
    s.doc.OnLButtonUp(Px(5400, 4500));
    EXPECT_EQ(o->m_calls, (std::vector<std::string>{"press", "track", "end"}));
    EXPECT_EQ(o->m_last, plat::Point(5400, 4500));
    EXPECT_TRUE(s.doc.IsModified());
}

TEST_F(Mouse, ReadOnlySelectsButMovesNothing)
{
    CProbe* o = Add(plat::Rect(3000, 3000, 5000, 5000), 1);
    o->m_pressCode = 16;
    s.doc.SetReadOnly(true);
    Drag(Px(4500, 4500), Px(6000, 6000));
    EXPECT_TRUE(o->IsSelected());
    EXPECT_EQ(o->m_bounds, plat::Rect(3000, 3000, 5000, 5000));
    EXPECT_FALSE(s.doc.IsModified());
    EXPECT_EQ(State().m_tableZone, 0);
}

// ---- the mouse with the button up ----

TEST_F(Mouse, MoveWithTheButtonUpSetsTheCursorAndTheRevisionTip)
{
    CProbe* o = Add(plat::Rect(3000, 3000, 6000, 6000), 1);
    o->m_hitCode = 38;
    o->m_item = s.Body().GetItem(0);
    s.doc.OnMouseMove(Px(4500, 4500));
    EXPECT_EQ(s.window.m_cursorCode, 38);
    EXPECT_EQ(s.window.m_tipUpdates, 1);
    EXPECT_EQ(s.window.m_tipItem, s.Body().GetItem(0)) << "the item the object holds there";
    // Over the empty page: the text cursor, and no item.
    s.doc.OnMouseMove(Px(9000, 12000));
    EXPECT_EQ(s.window.m_cursorCode, 1);
    EXPECT_EQ(s.window.m_tipItem, nullptr);
    // The reference pane has no tip.
    s.doc.SetReference(true);
    s.doc.OnMouseMove(Px(4500, 4500));
    EXPECT_EQ(s.window.m_tipUpdates, 2);
    EXPECT_EQ(s.window.m_cursorCode, 38);
}

TEST_F(Mouse, HiddenAnnotationsShowTheOneUnderTheMouse)
{
    s.doc.SetAnnotationsShown(false);
    s.doc.GetAnnotations().Add(0, 0, u"甲");
    s.doc.GetAnnotations().Add(0, 0, u"乙");
    CProbe* o = Add(plat::Rect(3000, 3000, 6000, 6000), 1);
    s.Body().InsertItemsAtCaret(u"注");
    CTextItem* item = s.Body().GetItem(0);
    item->SetAnnotation(2);
    o->m_item = item;

    const int before = s.window.m_repaints;
    s.doc.OnMouseMove(Px(4500, 4500));
    EXPECT_TRUE(CQlDoc::IsAnnotationHovered());
    EXPECT_EQ(s.doc.GetAnnotations().GetAt(1)->m_hovered, 1);
    EXPECT_EQ(s.doc.GetAnnotations().GetAt(0)->m_hovered, 0);
    EXPECT_EQ(s.window.m_repaints, before + 1);
    // Off the annotated text: the highlight goes and the canvas repaints once.
    s.doc.OnMouseMove(Px(9000, 12000));
    EXPECT_FALSE(CQlDoc::IsAnnotationHovered());
    EXPECT_EQ(s.doc.GetAnnotations().GetAt(1)->m_hovered, 0);
    EXPECT_EQ(s.window.m_repaints, before + 2);
    s.doc.OnMouseMove(Px(9000, 12000));
    EXPECT_EQ(s.window.m_repaints, before + 2);
    // Shown annotations need no hover.
    s.doc.SetAnnotationsShown(true);
    s.doc.OnMouseMove(Px(4500, 4500));
    EXPECT_FALSE(CQlDoc::IsAnnotationHovered());
}

// ---- clicks ----

TEST_F(Mouse, DoubleClickPlaysOrSelectsAndRightClickAsksForSuggestions)
{
    CProbe* shape = Add(plat::Rect(3000, 3000, 6000, 6000), 1);
    shape->SetNodeType(kNodeShape);
    CProbe* clip = Add(plat::Rect(7000, 3000, 9000, 6000), 2);
    clip->SetNodeType(kNodeAudio);

    s.doc.OnLButtonDblClk(Px(4500, 4500));
    EXPECT_TRUE(shape->m_calls.empty()) << "drawn shapes do not play";
    s.doc.OnLButtonDblClk(Px(8000, 4500));
    EXPECT_EQ(clip->m_calls, std::vector<std::string>{"play"});
    EXPECT_TRUE(clip->IsSelected()) << "a clip that did not play itself is selected";

    // The suggestions need the spelling engine, bound or not.
    EXPECT_EQ(s.doc.OnRButtonDown(Px(8000, 4500), 2, {}), 0);
    EXPECT_EQ(clip->m_calls.size(), 1u) << "not asked without an engine";
    CSpellEngine unbound;
    s.doc.SetSpellEngine(&unbound);
    EXPECT_EQ(s.doc.OnRButtonDown(Px(8000, 4500), 2, {}), 5);
    EXPECT_EQ(clip->m_last, plat::Point(7995, 4500));
    EXPECT_EQ(s.doc.OnRButtonDown(Px(4500, 4500), 2, {}), 0) << "not a drawn shape";
    s.doc.SetSpellEngine(nullptr);
}

TEST_F(Mouse, PointsAreTwipsAtTheZoom)
{
    CProbe* o = Add(plat::Rect(3000, 3000, 3400, 3400), 1);
    State().m_zoom = 2.0;
    // At 200 % a pixel is 7.5 twips: pixel 424 is twips 3180.
    s.doc.OnLButtonDown(plat::Point(424, 424), 0);
    EXPECT_EQ(State().m_dragPoint, plat::Point(3180, 3180));
    EXPECT_TRUE(o->IsSelected());
    State().m_zoom = 0.5;
    s.doc.OnLButtonDown(plat::Point(106, 106), 0); // 3180 twips again
    EXPECT_EQ(State().m_dragPoint, plat::Point(3180, 3180));
}

} // namespace
