// The main frame's panes: the splitter's two rows, the reference pane the first idle tick
// hides, showing it again, the bar between the rows, and a frame that cannot be created.
#include "tests/editor/main_frame_support.h"

#include "editor/pane_splitter.h"
#include "platform/ui/focus.h"
#include "platform/ui/message_box.h"

namespace {

using frametest::MainFrameTest;

TEST_F(MainFrameTest, PanesHoldTheMainAndTheReferenceViews)
{
    CPaneSplitter& splitter = frame().GetSplitter();
    EXPECT_EQ(splitter.GetId(), 0xE900);
    EXPECT_EQ(splitter.GetPane(0, 0), frame().GetMainView());
    EXPECT_EQ(splitter.GetPane(1, 0), frame().GetReferenceView());
    EXPECT_EQ(frame().GetMainView()->GetId(), 0xE900);
    EXPECT_EQ(frame().GetReferenceView()->GetId(), 0xE910);
    EXPECT_EQ(frame().GetMainView()->GetParent(), &splitter);
    EXPECT_EQ(frame().GetParentWnd(), &m_host);
    EXPECT_EQ(splitter.GetActivePane(), frame().GetMainView());

    // The reference document is never edited and shows no revisions or annotations; its
    // ruler is hidden, the main one shown.
    CQlDoc& reference = *frame().GetReferenceDoc();
    EXPECT_TRUE(reference.IsReference());
    EXPECT_FALSE(reference.IsRevisionsShown());
    EXPECT_FALSE(reference.IsAnnotationsShown());
    EXPECT_FALSE(doc().IsReference());
    EXPECT_FALSE(frame().GetReferenceView()->IsRulerShown());
    EXPECT_TRUE(frame().GetMainView()->IsRulerShown());
    EXPECT_EQ(frame().GetMainRuler(), frame().GetMainView()->GetRuler());

    // Both documents measure with the frame's cache, know the frame and check their words
    // with its engine, bound to the library beside the program.
    EXPECT_TRUE(frame().GetSpellEngine().IsBound());
    for (CQlDoc* d : {&doc(), &reference}) {
        EXPECT_EQ(d->GetWidthCache(), &frame().GetWidthCache());
        EXPECT_EQ(d->GetFrame(), &frame());
        EXPECT_EQ(d->GetSpellEngine(), &frame().GetSpellEngine());
    }
    EXPECT_EQ(frame().GetSpellEngine().IsCorrect(u"frame"), 1);
    EXPECT_EQ(frame().GetSpellEngine().IsCorrect(u"framme"), 0);

    // The main row keeps its ideal height, the reference row takes the rest below the bar.
    const int height = splitter.GetClientRect().Height();
    EXPECT_EQ(splitter.GetRowCurrent(0), 400);
    EXPECT_EQ(splitter.GetRowCurrent(1), height - 400 - CPaneSplitter::kBarSize);
    EXPECT_EQ(frame().GetReferenceView()->GetRect().top, 400 + CPaneSplitter::kBarSize);
}

TEST_F(MainFrameTest, FirstIdleTickHidesTheReferencePaneOnce)
{
    CPaneSplitter& splitter = frame().GetSplitter();
    CQlView& reference = *frame().GetReferenceView();
    ASSERT_TRUE(frame().IsReferencePaneShown());
    EXPECT_TRUE(reference.IsWindowVisible());

    Run(199);
    EXPECT_TRUE(frame().IsReferencePaneShown());
    Run(1);
    EXPECT_FALSE(frame().IsReferencePaneShown());
    EXPECT_FALSE(reference.IsWindowVisible());
    EXPECT_FALSE(reference.GetCanvas()->IsWindowVisible());
    EXPECT_EQ(reference.GetId(), CPaneSplitter::kHiddenPaneId);
    EXPECT_EQ(splitter.GetRowCount(), 1);
    EXPECT_EQ(splitter.GetPane(1, 0), nullptr);
    // The main pane fills the splitter; the keyboard goes to the control window.
    EXPECT_EQ(frame().GetMainView()->GetRect(), splitter.GetClientRect());
    EXPECT_EQ(plat::GetFocus(), &m_host);

    // Hiding again changes nothing; later ticks leave the pane as it is.
    EXPECT_EQ(frame().ShowReferencePane(false), 0);
    EXPECT_EQ(frame().ShowReferencePane(true), 1);
    Run(1000);
    EXPECT_TRUE(frame().IsReferencePaneShown());
    EXPECT_EQ(frame().ShowReferencePane(true), 0);
}

TEST_F(MainFrameTest, ShowingTheReferencePaneGivesItsRowBackWithItsLastHeight)
{
    CPaneSplitter& splitter = frame().GetSplitter();
    const int lastHeight = splitter.GetRowCurrent(1);
    Run(200);
    ASSERT_FALSE(frame().IsReferencePaneShown());

    ASSERT_EQ(frame().ShowReferencePane(true), 1);
    CQlView& reference = *frame().GetReferenceView();
    EXPECT_EQ(reference.GetId(), CPaneSplitter::PaneId(1, 0));
    EXPECT_EQ(splitter.GetRowCount(), 2);
    EXPECT_EQ(splitter.GetRowIdeal(1), lastHeight);
    EXPECT_EQ(splitter.GetRowCurrent(1), lastHeight);
    EXPECT_TRUE(reference.IsWindowVisible());
    EXPECT_TRUE(reference.GetCanvas()->IsWindowVisible());
    EXPECT_EQ(splitter.GetActivePane(), frame().GetMainView());
}

TEST_F(MainFrameTest, DraggingTheBarSharesTheHeightBetweenTheRows)
{
    CPaneSplitter& splitter = frame().GetSplitter();
    const plat::Rect bar = splitter.GetRowBarRect(0);
    ASSERT_FALSE(bar.IsEmpty());
    const int total = splitter.GetRowCurrent(0) + splitter.GetRowCurrent(1);
    const plat::Point grab(50, bar.top + 2);

    plat::SendMessage(&splitter, plat::kWmLButtonDown, 0, plat::MakeLParam(grab.x, grab.y));
    EXPECT_EQ(plat::GetCapture(), &splitter);
    plat::SendMessage(&splitter, plat::kWmMouseMove, 0, plat::MakeLParam(grab.x, grab.y - 150));
    plat::SendMessage(&splitter, plat::kWmLButtonUp, 0, plat::MakeLParam(grab.x, grab.y - 150));
    EXPECT_EQ(plat::GetCapture(), nullptr);
    EXPECT_EQ(splitter.GetRowCurrent(0), 250);
    EXPECT_EQ(splitter.GetRowCurrent(1), total - 250);
    EXPECT_EQ(frame().GetMainView()->GetRect().Height(), 250);

    // The bar stays inside the two rows however far the mouse goes.
    const plat::Rect moved = splitter.GetRowBarRect(0);
    plat::SendMessage(&splitter, plat::kWmLButtonDown, 0, plat::MakeLParam(10, moved.top + 1));
    plat::SendMessage(&splitter, plat::kWmMouseMove, 0, plat::MakeLParam(10, -500));
    plat::SendMessage(&splitter, plat::kWmLButtonUp, 0, plat::MakeLParam(10, -500));
    EXPECT_EQ(splitter.GetRowCurrent(0), 0);
    EXPECT_EQ(splitter.GetRowCurrent(1), total);

    // A press away from the bar drags nothing.
    plat::SendMessage(&splitter, plat::kWmLButtonDown, 0, plat::MakeLParam(10, 300));
    EXPECT_EQ(plat::GetCapture(), nullptr);
}

TEST_F(MainFrameTest, FrameWithoutAParentIsNotCreated)
{
    CQlMain orphan;
    plat::ClearModalLog();
    EXPECT_FALSE(orphan.Create(nullptr));
    EXPECT_FALSE(orphan.IsCreated());
    const auto boxes = plat::GetMessageBoxLog();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, u"QlMain Create Fail");
}

} // namespace
