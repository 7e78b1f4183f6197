// The mouse on a laid-out body, as the canvas sends it through the document: presses,
// drags and releases select text over lines and pages, a press that takes nothing drags
// nothing, and the right button asks the body's text for its suggestions.
#include <gtest/gtest.h>

#include <vector>

#include "document/spell_engine.h"
#include "document/spell_error.h"
#include "tests/document/body_input_support.h"
#include "tests/document/page_body_support.h"

using namespace pagebody;

namespace {

class BodyMouse : public BodyTest {
protected:
    void SetUp() override
    {
        BodyTest::SetUp();
        Append(std::u16string(200, u'文'));
        lines = CollectLines(body());
        ASSERT_GT(lines.size(), 2u);
    }
    // Pixels at 100 % (15 twips a pixel) of a point a quarter into item i, half down its line.
    plat::Point OnItem(int i) const
    {
        return plat::Point((Item(i).GetLeft() + Item(i).GetWidth() / 4) / 15,
                           (Item(i).GetLineTop() + Item(i).GetLineHeight() / 2) / 15);
    }
    static plat::Point Px(int x, int y) { return plat::Point(x / 15, y / 15); }
    CFormatState& State() { return *doc.GetFormatState(); }
    int CaretIndex() const { return body().GetCaretPos().m_index; }
    int AnchorIndex() const
    {
        CTextPos caret, anchor;
        body().GetSelectionPositions(caret, anchor);
        return anchor.m_index;
    }
    void Press(plat::Point p, bool shift = false) { doc.OnLButtonDown(p, shift ? CQlDoc::kMouseShift : 0); }
    void Move(plat::Point p)
    {
        State().m_dragActive = 1;
        doc.OnMouseMove(p);
    }
    void Release(plat::Point p)
    {
        State().m_dragActive = 0;
        doc.OnLButtonUp(p);
    }

    std::vector<CLaidOutLine> lines;
};

TEST_F(BodyMouse, PressDragAndReleaseSelectText)
{
    const int from = lines[0].from + 2;
    const int over = lines[1].from + 4;
    const int to = lines.back().from + 1;
    ASSERT_GE(PageOf(to), 1) << "the drag ends on another page";
    Press(OnItem(from));
    EXPECT_EQ(State().m_tableZone, 1);
    EXPECT_EQ(CaretIndex(), from);
    EXPECT_FALSE(body().HasSelection());
    Move(OnItem(over));
    EXPECT_EQ(CaretIndex(), over);
    EXPECT_EQ(AnchorIndex(), from);
    const int scrolls = window.m_caretScrolls;
    Release(OnItem(to));
    EXPECT_EQ(CaretIndex(), to);
    EXPECT_EQ(AnchorIndex(), from);
    EXPECT_GT(window.m_caretScrolls, scrolls) << "the release scrolls to the caret";
    EXPECT_FALSE(doc.IsModified()) << "selecting text edits nothing";

    // Shift+press moves the caret and keeps the anchor; a drag goes on from that anchor.
    Press(OnItem(over), true);
    EXPECT_EQ(CaretIndex(), over);
    EXPECT_EQ(AnchorIndex(), from);
    Move(OnItem(to));
    Release(OnItem(to));
    EXPECT_EQ(AnchorIndex(), from);
    EXPECT_EQ(CaretIndex(), to);

    // A plain press drops the selection.
    Press(OnItem(over));
    EXPECT_FALSE(body().HasSelection());
}

TEST_F(BodyMouse, ReadOnlyStillSelectsText)
{
    doc.SetReadOnly(true);
    const int from = lines[0].from + 1;
    const int to = lines[1].from + 3;
    Press(OnItem(from));
    Move(OnItem(to));
    Release(OnItem(to));
    EXPECT_EQ(AnchorIndex(), from);
    EXPECT_EQ(CaretIndex(), to);
    EXPECT_FALSE(doc.IsModified());
}

TEST_F(BodyMouse, APressThatTakesNothingDragsNothing)
{
    // A selected object and an unselected one whose press answers a corner handle: that
    // press does nothing (0), so the drag neither moves the selection nor lays out.
    class CHandle : public objtest::CTestObject {
    public:
        explicit CHandle(CQlDoc* d) : CTestObject(d, nullptr) {}
        std::uint8_t BeginTrack(int x, int y, bool, CPointList&) override
        {
            return m_bounds.Contains(plat::Point(x, y)) ? 33 : 0;
        }
        void TrackTo(int, int) override { ++m_tracks; }
        void EndTrack(int, int) override { ++m_ends; }
        int m_tracks = 0, m_ends = 0;
    };
    auto make = [&](const plat::Rect& r) { return bodyinput::AddBox<CHandle>(doc, r); };
    CHandle* selected = make(plat::Rect(1000, 5000, 1600, 5600));
    CHandle* other = make(plat::Rect(2500, 5000, 3100, 5600));
    selected->SetSelected(true);
    State().m_trackedObject = selected; // left from an earlier drag
    doc.SetModified(false);

    Press(Px(2800, 5300));
    EXPECT_EQ(State().m_tableZone, 0);
    EXPECT_FALSE(other->IsSelected());
    Move(Px(3500, 6000));
    Release(Px(3500, 6000));
    EXPECT_EQ(selected->m_bounds, plat::Rect(1000, 5000, 1600, 5600));
    EXPECT_EQ(selected->m_tracks + selected->m_ends, 0);
    EXPECT_FALSE(doc.IsModified());
    EXPECT_TRUE(selected->IsSelected());
}

TEST_F(BodyMouse, ATrackedObjectThatIsGoneIsNotFollowed)
{
    // An object whose press answers a code of its own but does not make itself the
    // tracked object; the tracked object left from before has been deleted since.
    class CPlain : public objtest::CTestObject {
    public:
        explicit CPlain(CQlDoc* d) : CTestObject(d, nullptr) {}
        std::uint8_t BeginTrack(int x, int y, bool, CPointList&) override
        {
            return m_bounds.Contains(plat::Point(x, y)) ? 50 : 0;
        }
    };
    auto gone = std::make_unique<CPlain>(&doc);
    State().m_trackedObject = gone.get();
    gone.reset();
    CFloatObject* plain = bodyinput::AddBox<CPlain>(doc, plat::Rect(1000, 5000, 1600, 5600));
    Press(Px(1300, 5300));
    EXPECT_EQ(State().m_tableZone, 50);
    EXPECT_TRUE(plain->IsSelected());
    Move(Px(1500, 5500)); // would reach freed memory
    Release(Px(1500, 5500));
    EXPECT_EQ(plain->m_bounds, plat::Rect(1000, 5000, 1600, 5600));
    EXPECT_EQ(State().m_tableZone, 0);
}

TEST_F(BodyMouse, ATextShapesTextAreaTakesThePressWithoutAnUndoStep)
{
    class CShapeText : public objtest::CTestObject {
    public:
        explicit CShapeText(CQlDoc* d) : CTestObject(d, nullptr) {}
        std::uint8_t BeginTrack(int x, int y, bool, CPointList&) override
        {
            return m_bounds.Contains(plat::Point(x, y)) ? m_code : 0;
        }
        bool IsTextShape() const override { return m_textShape; }
        std::uint8_t m_code = 93;
        bool m_textShape = true;
    };
    CShapeText* o = bodyinput::AddBox<CShapeText>(doc, plat::Rect(1000, 5000, 1600, 5600));
    Press(Px(1300, 5300));
    EXPECT_EQ(State().m_tableZone, 93);
    EXPECT_FALSE(o->IsSelected()) << "the click goes into its text";
    EXPECT_FALSE(doc.CanUndo());
    Release(Px(1300, 5300));
    // The same code from an object that is not a text shape is an ordinary hit: it selects
    // the object and is one undo step.
    o->m_textShape = false;
    Press(Px(1300, 5300));
    EXPECT_EQ(State().m_tableZone, 93);
    EXPECT_TRUE(o->IsSelected());
    EXPECT_TRUE(doc.CanUndo());
}

TEST_F(BodyMouse, RightButtonAsksTheBodyTextForSuggestions)
{
    // A word marked misspelt in the body; the engine here is not bound, so it offers no
    // suggestion, but the marked word is found and the menu position comes back.
    CSpellError* record = doc.GetSpellErrors().Add(std::make_unique<CSpellError>(&body(), 5, 1));
    record->SetWord(u"wrod");
    body().GetItem(5)->SetMisspelt(record);
    CSpellEngine unbound;
    std::vector<int> offered;
    auto sink = [&](int position, int, const plat::String&) { offered.push_back(position); };
    const plat::Point on5 = OnItem(5);
    const plat::Point on7 = OnItem(7);
    EXPECT_EQ(body().OnRButtonDown(on5.x * 15, on5.y * 15, 2, unbound, sink), 2);
    EXPECT_EQ(body().OnRButtonDown(on7.x * 15, on7.y * 15, 2, unbound, sink), 0) << "not marked";
    EXPECT_TRUE(offered.empty());

    // An object over the point answers first.
    auto* o = body().AddObject(objtest::NewObject(&doc, on7.x * 15 - 100, on7.y * 15 - 100, 400, 400));
    o->SetNodeType(kNodeImage);
    EXPECT_EQ(body().OnRButtonDown(on7.x * 15, on7.y * 15, 2, unbound, sink), 0)
        << "the object's own suggestions (none)";
}

} // namespace
