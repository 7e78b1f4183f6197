// Dragging selected objects with the mouse: the selection stays within the pages' width
// and below the top of the first page, is anchored afresh after the release, and every
// move is one undo step that brings the layout back as it was.
#include <gtest/gtest.h>

#include <string>

#include "tests/document/body_input_support.h"
#include "tests/document/page_body_support.h"

using namespace pagebody;

namespace {

// A box whose press anywhere on it is a move.
class CMover : public objtest::CTestObject {
public:
    explicit CMover(CDocContext* doc) : CTestObject(doc, nullptr) {}
    std::uint8_t BeginTrack(int x, int y, bool, CPointList&) override
    {
        return m_bounds.Contains(plat::Point(x, y)) ? kMove : 0;
    }
    static constexpr std::uint8_t kMove = 16;
};

// Undo brings back objects made by the factory: they must be movers too.
std::unique_ptr<CFloatObject> MakeMover(CDocContext* doc, CDocNode*)
{
    return std::make_unique<CMover>(doc);
}

class ObjectDrag : public BodyTest {
protected:
    void SetUp() override
    {
        BodyTest::SetUp();
        m_previousKind = RegisterDocObject(objtest::kTestType, &MakeMover);
        Append(u"一二三四五六七八九十一二三四五六七八九十\r一二三四五六七八九十\r一二三四五六七八九十一二三四五六七八九十");
        mover = AddMover(plat::Rect(1500, 1500, 2100, 2100));
    }
    void TearDown() override
    {
        RegisterDocObject(objtest::kTestType, m_previousKind);
        BodyTest::TearDown();
    }
    CMover* AddMover(const plat::Rect& r) { return bodyinput::AddBox<CMover>(doc, r); }
    static plat::Point Px(int x, int y) { return plat::Point(x / 15, y / 15); }
    // Press on the object's centre, move by (dx, dy) twips in two steps, release.
    void DragBy(CFloatObject& o, int dx, int dy)
    {
        const int cx = (o.m_bounds.left + o.m_width / 2) / 15 * 15;
        const int cy = (o.m_bounds.top + o.m_height / 2) / 15 * 15;
        doc.OnLButtonDown(Px(cx, cy), 0);
        doc.GetFormatState()->m_dragActive = 1;
        doc.OnMouseMove(Px(cx + dx / 2, cy + dy / 2));
        doc.GetFormatState()->m_dragActive = 0;
        doc.OnLButtonUp(Px(cx + dx, cy + dy));
    }
    // The object in the body now (undo brings back objects of its own).
    CFloatObject& Object(int i = 0) const { return *body().GetObject(i); }

    CMover* mover = nullptr;
    DocObjectMaker m_previousKind = nullptr;
};

TEST_F(ObjectDrag, ClampedMovesAndEachOneUndoes)
{
    const int paperW = doc.GetPaperSizeTwips().cx;
    const int pitch = doc.GetPaperSizeTwips().cy + 200;
    struct Case {
        const char* what;
        int dx, dy;
        int left, top; // after the drag
        bool anchored;  // a paragraph end lies above its new top
    };
    const Case cases[] = {
        {"right and down", 300, 450, 1800, 1950, true},
        {"far left stops at the page's left edge", -6000, 0, 200, 1500, true},
        {"far right stops at the page's right edge", 9000, 0, paperW + 200 - 600, 1500, true},
        {"far up stops at the top of the first page", 0, -6000, 1500, 200, false},
        {"down is not limited", 0, 3 * pitch / 30 * 30, 1500, 1500 + 3 * pitch / 30 * 30, true},
    };
    const std::string dumpBefore = DumpLayout(body());
    const CLayoutSnapshot before = TakeLayoutSnapshot(body());
    for (const Case& c : cases) {
        doc.SetModified(false);
        DragBy(Object(), c.dx, c.dy);
        EXPECT_EQ(Object().m_bounds.left, c.left) << c.what;
        EXPECT_EQ(Object().m_bounds.top, c.top) << c.what;
        EXPECT_TRUE(Object().IsSelected()) << c.what;
        EXPECT_EQ(Object().m_anchorState, c.anchored ? kAnchorAttached : kAnchorNone)
            << c.what << ": anchored afresh after the release";
        EXPECT_TRUE(doc.IsModified()) << c.what;
        ExpectSound();
        const CLayoutSnapshot moved = TakeLayoutSnapshot(body());

        ASSERT_TRUE(doc.CanUndo()) << c.what;
        doc.EditUndo();
        EXPECT_EQ(Object().m_bounds, plat::Rect(1500, 1500, 2100, 2100)) << c.what;
        EXPECT_EQ(DiffLayouts(before, TakeLayoutSnapshot(body())), "") << c.what << ": undone";
        EXPECT_EQ(DumpLayout(body()), dumpBefore) << c.what;
        ASSERT_TRUE(doc.CanRedo()) << c.what;
        doc.EditRedo();
        EXPECT_EQ(DiffLayouts(moved, TakeLayoutSnapshot(body())), "") << c.what << ": redone";
        doc.EditUndo();
    }
}

TEST_F(ObjectDrag, TwoSelectedObjectsMoveTogetherAndUndoStepByStep)
{
    CMover* second = AddMover(plat::Rect(3000, 1500, 3600, 2100));
    (void)second;
    // Select both: a press on the first, a Shift-press on the second.
    doc.OnLButtonDown(Px(1800, 1800), 0);
    doc.OnLButtonUp(Px(1800, 1800));
    doc.OnLButtonDown(Px(3300, 1800), CQlDoc::kMouseShift);
    doc.OnLButtonUp(Px(3300, 1800));
    ASSERT_EQ(body().GetSelectedCount(), 2);
    const CLayoutSnapshot start = TakeLayoutSnapshot(body());

    DragBy(Object(0), 1200, 0); // the right one stops at the right edge of the paper
    const int paperW = doc.GetPaperSizeTwips().cx;
    EXPECT_EQ(Object(1).m_bounds.right, paperW + 200);
    EXPECT_EQ(Object(0).m_bounds.left, 1500 + (paperW + 200 - 3600));
    const CLayoutSnapshot first = TakeLayoutSnapshot(body());
    DragBy(Object(0), 0, 900);
    EXPECT_EQ(Object(0).m_bounds.top, 2400);
    EXPECT_EQ(Object(1).m_bounds.top, 2400);

    doc.EditUndo();
    EXPECT_EQ(DiffLayouts(first, TakeLayoutSnapshot(body())), "") << "the second move undone";
    doc.EditUndo();
    EXPECT_EQ(DiffLayouts(start, TakeLayoutSnapshot(body())), "") << "the first move undone";
}

} // namespace
