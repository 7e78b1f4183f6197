// The window tree: creation and destruction order, z-order, ids, rectangles of window and
// client area, visibility, and what a destroyed window leaves behind (nothing).
#include "tests/platform/ui_test_window.h"

namespace {

using plat::Point;
using plat::Rect;
using uitest::TestWindow;

class WindowTree : public uitest::UiTest {};

TEST_F(WindowTree, CreationSendsCreateSizeMoveAndPutsTheChildOnTop)
{
    TestWindow top("top", &m_log), a("a", &m_log), b("b", &m_log);
    ASSERT_TRUE(top.Create(nullptr, Rect(100, 50, 400, 350), plat::kWsVisible));
    ASSERT_TRUE(a.Create(&top, Rect(0, 0, 50, 50), plat::kWsChild | plat::kWsVisible, 7));
    ASSERT_TRUE(b.Create(&top, Rect(10, 10, 60, 60), plat::kWsChild | plat::kWsVisible, 7));
    EXPECT_EQ(Trace(), (std::vector<std::string>{"top:create", "top:size", "top:move", "a:create", "a:size",
                                                 "a:move", "b:create", "b:size", "b:move"}));
    // The newest child is on top; ids may repeat, and the one nearer the top is found.
    EXPECT_EQ(top.GetChildren(), (std::vector<plat::Window*>{&b, &a}));
    EXPECT_EQ(top.GetChild(7), &b);
    EXPECT_EQ(top.GetChild(8), nullptr);
    EXPECT_FALSE(a.Create(&top, Rect(), 0)) << "a created window is not created twice";

    // Moving a window to the top of its siblings.
    a.SetWindowPos(Rect(), plat::kSwpNoMove | plat::kSwpNoSize);
    EXPECT_EQ(top.GetChildren(), (std::vector<plat::Window*>{&a, &b}));
    b.SetWindowPos(Rect(5, 5, 20, 20), plat::kSwpNoZOrder);
    EXPECT_EQ(top.GetChildren(), (std::vector<plat::Window*>{&a, &b}));
    EXPECT_EQ(b.GetRect(), Rect(5, 5, 20, 20));
}

TEST_F(WindowTree, CreateRefusedByTheWindowLeavesNothing)
{
    TestWindow top("top", &m_log), child("child", &m_log);
    ASSERT_TRUE(top.Create(nullptr, Rect(0, 0, 100, 100), plat::kWsVisible));
    child.m_handlers[plat::kWmCreate] = [](plat::WParam, plat::LParam) { return plat::LResult(-1); };
    EXPECT_FALSE(child.Create(&top, Rect(0, 0, 10, 10), plat::kWsChild));
    EXPECT_FALSE(child.IsCreated());
    EXPECT_TRUE(top.GetChildren().empty());
    TestWindow orphan("orphan");
    TestWindow never("never");
    EXPECT_FALSE(orphan.Create(&never, Rect(0, 0, 10, 10), plat::kWsChild)) << "the parent must exist";
}

TEST_F(WindowTree, DestroyGoesChildrenFirstAndCleansUp)
{
    TestWindow top("top", &m_log), mid("mid", &m_log), leaf("leaf", &m_log), other("other", &m_log);
    ASSERT_TRUE(top.Create(nullptr, Rect(0, 0, 200, 200), plat::kWsVisible));
    ASSERT_TRUE(mid.Create(&top, Rect(0, 0, 100, 100), plat::kWsChild | plat::kWsVisible));
    ASSERT_TRUE(leaf.Create(&mid, Rect(0, 0, 50, 50), plat::kWsChild | plat::kWsVisible));
    ASSERT_TRUE(other.Create(&top, Rect(100, 0, 200, 100), plat::kWsChild | plat::kWsVisible));
    leaf.SetTimer(5, 100);
    mid.SetTimer(6, 100);
    plat::SetFocus(&leaf);
    plat::SetCapture(&mid);
    plat::CreateCaret(&leaf, 1, 12);
    ASSERT_TRUE(plat::OpenClipboard(&leaf));
    plat::PostMessage(&leaf, plat::kWmUser);
    plat::PostMessage(&other, plat::kWmUser + 1);
    m_log.clear();

    mid.Destroy();
    // Children first; the destroyed subtree is out of the tree and its parent's list.
    EXPECT_EQ(Trace(),
              (std::vector<std::string>{"leaf:killfocus", "leaf:destroy", "mid:capturechanged", "mid:destroy"}))
        << "the focus and capture go as the windows go";
    EXPECT_FALSE(leaf.IsCreated());
    EXPECT_EQ(leaf.GetParent(), nullptr);
    EXPECT_EQ(top.GetChildren(), (std::vector<plat::Window*>{&other}));
    EXPECT_FALSE(leaf.IsTimerSet(5));
    EXPECT_FALSE(mid.IsTimerSet(6));
    EXPECT_EQ(plat::GetCaretState().owner, nullptr);
    EXPECT_FALSE(plat::IsClipboardOpen());
    EXPECT_EQ(plat::CountQueuedMessages(), 1u) << "only the living window's message stays";
    // Advancing past the timers sends nothing to the dead windows.
    m_log.clear();
    plat::AdvanceClock(500);
    plat::PumpMessages();
    EXPECT_EQ(Trace({plat::kWmTimer, plat::kWmUser}), std::vector<std::string>{});
    EXPECT_EQ(Trace({plat::kWmUser + 1}), std::vector<std::string>{"other:0x401"});
}

TEST_F(WindowTree, DeletingAWindowTakesItOutOfTheTree)
{
    TestWindow top("top");
    ASSERT_TRUE(top.Create(nullptr, Rect(0, 0, 100, 100), plat::kWsVisible));
    {
        TestWindow child("child");
        ASSERT_TRUE(child.Create(&top, Rect(0, 0, 10, 10), plat::kWsChild));
        EXPECT_EQ(top.GetChildren().size(), 1u);
    }
    EXPECT_TRUE(top.GetChildren().empty());
    // A tree whose top goes first leaves its children uncreated but intact as objects.
    auto parent = std::make_unique<TestWindow>("parent");
    TestWindow kid("kid");
    ASSERT_TRUE(parent->Create(nullptr, Rect(0, 0, 10, 10), 0));
    ASSERT_TRUE(kid.Create(parent.get(), Rect(0, 0, 5, 5), plat::kWsChild));
    parent.reset();
    EXPECT_FALSE(kid.IsCreated());
    EXPECT_EQ(kid.GetParent(), nullptr);
}

TEST_F(WindowTree, ClientAreaLeavesOutFramesAndScrollBars)
{
    struct Row {
        unsigned style;
        unsigned exStyle;
        Rect client;
        Point clientOrigin; // on the screen, for a window at (10, 20)
    };
    const Row rows[] = {
        {0, 0, Rect(0, 0, 200, 100), Point(10, 20)},
        {plat::kWsBorder, 0, Rect(0, 0, 198, 98), Point(11, 21)},
        {0, plat::kWsExClientEdge, Rect(0, 0, 196, 96), Point(12, 22)},
        {plat::kWsVScroll, 0, Rect(0, 0, 183, 100), Point(10, 20)},
        {plat::kWsVScroll | plat::kWsHScroll, plat::kWsExClientEdge, Rect(0, 0, 179, 79), Point(12, 22)},
    };
    for (const Row& r : rows) {
        TestWindow w("w");
        ASSERT_TRUE(w.Create(nullptr, Rect(10, 20, 210, 120), r.style, 0, r.exStyle));
        EXPECT_EQ(w.GetClientRect(), r.client) << r.style << " " << r.exStyle;
        EXPECT_EQ(w.ClientToScreen(Point(0, 0)), r.clientOrigin) << r.style;
        EXPECT_EQ(w.ScreenToClient(r.clientOrigin), Point(0, 0));
        ASSERT_NE(w.GetSurface(), nullptr);
        EXPECT_EQ(w.GetSurface()->Width(), r.client.Width());
    }
}

TEST_F(WindowTree, NestedCoordinatesAddUpAndShowingAScrollBarResizesTheClient)
{
    TestWindow top("top", &m_log), mid("mid", &m_log), leaf("leaf", &m_log);
    ASSERT_TRUE(top.Create(nullptr, Rect(100, 100, 500, 400), plat::kWsVisible | plat::kWsBorder));
    ASSERT_TRUE(mid.Create(&top, Rect(20, 30, 220, 230), plat::kWsChild | plat::kWsVisible, 0, plat::kWsExClientEdge));
    ASSERT_TRUE(leaf.Create(&mid, Rect(5, 5, 25, 25), plat::kWsChild | plat::kWsVisible));
    EXPECT_EQ(mid.GetWindowRect(), Rect(121, 131, 321, 331));
    EXPECT_EQ(leaf.GetWindowRect(), Rect(128, 138, 148, 158));
    EXPECT_EQ(leaf.ClientToScreen(Point(1, 2)), Point(129, 140));
    // The view maps its client origin into its parent's coordinates this way.
    EXPECT_EQ(top.ScreenToClient(mid.ClientToScreen(Point(0, 0))), Point(22, 32));

    m_log.clear();
    mid.ShowScrollBar(plat::kSbVert, true);
    EXPECT_EQ(mid.GetClientRect(), Rect(0, 0, 196 - plat::kScrollBarSize, 196));
    ASSERT_EQ(Trace({plat::kWmSize}), std::vector<std::string>{"mid:size"});
    EXPECT_EQ(plat::PointFromLParam(m_log.back().lParam), Point(196 - plat::kScrollBarSize, 196));
    m_log.clear();
    mid.ShowScrollBar(plat::kSbVert, true);
    EXPECT_TRUE(m_log.empty()) << "showing a shown bar changes nothing";
    mid.MoveWindow(Rect(0, 0, 200, 200));
    EXPECT_EQ(Trace(), std::vector<std::string>{"mid:move"}) << "same size: no WM_SIZE";
}

TEST_F(WindowTree, VisibilityFollowsTheAncestors)
{
    TestWindow top("top", &m_log), child("child", &m_log);
    ASSERT_TRUE(top.Create(nullptr, Rect(0, 0, 100, 100), 0));
    ASSERT_TRUE(child.Create(&top, Rect(0, 0, 10, 10), plat::kWsChild | plat::kWsVisible));
    EXPECT_FALSE(child.IsWindowVisible()) << "a hidden parent hides its children";
    m_log.clear();
    EXPECT_FALSE(top.ShowWindow(plat::kSwShow));
    EXPECT_TRUE(child.IsWindowVisible());
    EXPECT_TRUE(top.ShowWindow(plat::kSwShow));
    EXPECT_TRUE(child.ShowWindow(plat::kSwHide));
    EXPECT_FALSE(child.IsWindowVisible());
    EXPECT_EQ(Trace(), (std::vector<std::string>{"top:show", "child:show"})) << "only real changes are told";
    child.ModifyStyle(0, plat::kWsVisible);
    EXPECT_TRUE(child.IsWindowVisible());
    child.SetWindowPos(Rect(), plat::kSwpNoMove | plat::kSwpNoSize | plat::kSwpHideWindow);
    EXPECT_FALSE(child.IsWindowVisible());
}

TEST_F(WindowTree, WindowFromPointFindsTheTopmostVisibleChild)
{
    TestWindow top("top"), under("under"), over("over"), hidden("hidden");
    ASSERT_TRUE(top.Create(nullptr, Rect(0, 0, 100, 100), plat::kWsVisible));
    ASSERT_TRUE(under.Create(&top, Rect(10, 10, 60, 60), plat::kWsChild | plat::kWsVisible));
    ASSERT_TRUE(over.Create(&top, Rect(40, 40, 90, 90), plat::kWsChild | plat::kWsVisible));
    ASSERT_TRUE(hidden.Create(&top, Rect(0, 0, 100, 100), plat::kWsChild));
    struct Row {
        Point at;
        plat::Window* expected;
    };
    const Row rows[] = {{{20, 20}, &under}, {{50, 50}, &over}, {{80, 80}, &over},
                        {{5, 5}, &top},     {{100, 5}, nullptr}, {{-1, 5}, nullptr}};
    for (const Row& r : rows) EXPECT_EQ(plat::WindowFromPoint(top, r.at), r.expected) << r.at.x << "," << r.at.y;
}

} // namespace
