// The message queue and the loop: posted messages in order, peeking and removing by window
// and range, paints and quits after what was posted, the pre-translate hooks along the tree,
// and window timers delivered as WM_TIMER on the hand-advanced clock.
#include "tests/platform/ui_test_window.h"

namespace {

using plat::Rect;
using uitest::TestWindow;

using MessageQueue = uitest::ThreeWindows;

TEST_F(MessageQueue, SentRunsAtOncePostedWaitsForTheLoopInOrder)
{
    m_a.m_handlers[plat::kWmUser] = [](plat::WParam w, plat::LParam l) { return plat::LResult(w * 10 + l); };
    EXPECT_EQ(plat::SendMessage(&m_a, plat::kWmUser, 4, 2), 42);
    EXPECT_EQ(plat::SendMessage(nullptr, plat::kWmUser, 4, 2), 0);
    m_log.clear();
    EXPECT_TRUE(plat::PostMessage(&m_b, plat::kWmUser + 1));
    EXPECT_TRUE(plat::PostMessage(&m_a, plat::kWmUser + 2));
    EXPECT_TRUE(plat::PostMessage(&m_b, plat::kWmUser + 3));
    TestWindow uncreated("u");
    EXPECT_FALSE(plat::PostMessage(&uncreated, plat::kWmUser));
    EXPECT_TRUE(m_log.empty());
    EXPECT_EQ(plat::PumpMessages(), 3u);
    EXPECT_EQ(Trace(), (std::vector<std::string>{"b:0x401", "a:0x402", "b:0x403"}));
    EXPECT_EQ(plat::PumpMessages(), 0u);
}

TEST_F(MessageQueue, PeekFiltersByWindowAndRangeAndRemovesOnlyWhenAsked)
{
    plat::PostMessage(&m_a, plat::kWmLButtonDown, 0, 1);
    plat::PostMessage(&m_b, plat::kWmLButtonDown, 0, 2);
    plat::PostMessage(&m_a, plat::kWmKeyDown, 0, 3);
    plat::PostMessage(&m_a, plat::kWmLButtonDown, 0, 4);
    plat::PostMessage(&m_a, plat::kWmMouseMove, 0, 5);

    struct Row {
        plat::MessageFilter filter;
        std::size_t count;
        plat::LParam first; // lParam of the oldest match; 0: none
    };
    const Row rows[] = {
        {{}, 5, 1},
        {{&m_a, 0, 0}, 4, 1},
        {{&m_b, 0, 0}, 1, 2},
        {{&m_a, plat::kWmLButtonDown, plat::kWmLButtonDown}, 2, 1},
        {{nullptr, plat::kWmMouseFirst, plat::kWmMouseLast}, 4, 1},
        {{&m_a, plat::kWmKeyFirst, plat::kWmKeyLast}, 1, 3},
        {{&m_b, plat::kWmKeyFirst, plat::kWmKeyLast}, 0, 0},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(plat::CountQueuedMessages(r.filter), r.count) << r.first;
        const std::optional<plat::Message> m = plat::PeekMessage(r.filter, false);
        EXPECT_EQ(m ? m->lParam : 0, r.first);
    }
    EXPECT_EQ(plat::CountQueuedMessages(), 5u) << "peeking without removing leaves the queue";

    // The canvas drops every button-down still queued for it before acting on one.
    const plat::MessageFilter downs{&m_a, plat::kWmLButtonDown, plat::kWmLButtonDown};
    int removed = 0;
    while (plat::PeekMessage(downs, true)) ++removed;
    EXPECT_EQ(removed, 2);
    plat::PumpMessages();
    EXPECT_EQ(Trace(), (std::vector<std::string>{"b:lbuttondown", "a:keydown", "a:mousemove"}));
}

TEST_F(MessageQueue, PaintComesAfterPostedMessagesAndParentsPaintFirst)
{
    m_b.Invalidate(false);
    m_top.InvalidateRect(Rect(0, 0, 5, 5), false);
    plat::PostMessage(&m_a, plat::kWmUser);
    plat::PumpMessages();
    EXPECT_EQ(Trace(), (std::vector<std::string>{"a:0x400", "top:paint", "b:paint"}));
    EXPECT_FALSE(m_top.NeedsPaint());
    EXPECT_FALSE(m_b.NeedsPaint());
}

TEST_F(MessageQueue, AWindowThatDoesNotPaintIsNotAskedAgainAndAgain)
{
    m_a.m_handlers[plat::kWmPaint] = [](plat::WParam, plat::LParam) { return plat::LResult(0); };
    m_a.Invalidate();
    EXPECT_EQ(plat::PumpMessages(), 1u);
    EXPECT_FALSE(m_a.NeedsPaint());
}

TEST_F(MessageQueue, QuitEndsTheLoopAfterWhatWasPostedBefore)
{
    m_a.m_handlers[plat::kWmUser] = [](plat::WParam, plat::LParam) {
        plat::PostQuitMessage(3);
        return plat::LResult(0);
    };
    plat::PostMessage(&m_a, plat::kWmUser);
    plat::PostMessage(&m_b, plat::kWmUser + 1);
    EXPECT_EQ(plat::RunMessageLoop(), std::optional<int>(3));
    EXPECT_EQ(Trace(), (std::vector<std::string>{"a:0x400", "b:0x401"}));
    // Pumping stops before a quit and leaves it for the loop.
    plat::PostQuitMessage(5);
    plat::PostMessage(&m_b, plat::kWmUser + 2);
    m_b.Invalidate();
    EXPECT_EQ(plat::PumpMessages(), 1u);
    EXPECT_TRUE(m_b.NeedsPaint());
    EXPECT_EQ(plat::RunMessageLoop(), std::optional<int>(5));
    // Nothing queued, no timer: nothing can arrive, and the loop says so instead of waiting.
    m_b.ValidateRect();
    EXPECT_EQ(plat::RunMessageLoop(), std::nullopt);
}

TEST_F(MessageQueue, PreTranslateRunsInnermostFirstAndCanSwallow)
{
    std::vector<std::string> seen;
    TestWindow leaf("leaf", &m_log);
    ASSERT_TRUE(leaf.Create(&m_a, Rect(0, 0, 10, 10), plat::kWsChild | plat::kWsVisible));
    leaf.ValidateRect();
    leaf.m_preTranslate = [&](plat::Message& m) {
        seen.push_back("leaf");
        return m.message == plat::kWmUser + 1;
    };
    m_a.m_preTranslate = [&](plat::Message&) {
        seen.push_back("a");
        return false;
    };
    m_top.m_preTranslate = [&](plat::Message& m) {
        seen.push_back("top");
        if (m.message != plat::kWmUser + 2) return false;
        // A frame forwards a key to another window and reports it handled.
        plat::SendMessage(&m_b, m.message, m.wParam, m.lParam);
        return true;
    };
    m_log.clear();
    plat::PostMessage(&leaf, plat::kWmUser);
    plat::PostMessage(&leaf, plat::kWmUser + 1);
    plat::PostMessage(&leaf, plat::kWmUser + 2);
    plat::PumpMessages();
    EXPECT_EQ(seen, (std::vector<std::string>{"leaf", "a", "top", "leaf", "leaf", "a", "top"}));
    EXPECT_EQ(Trace(), (std::vector<std::string>{"leaf:0x400", "b:0x402"}));
}

TEST_F(MessageQueue, WindowTimersArriveAsTimerMessagesOnTheClock)
{
    m_a.SetTimer(302, 200);
    m_b.SetTimer(306, 1000);
    EXPECT_TRUE(m_a.IsTimerSet(302));
    plat::AdvanceClock(199);
    EXPECT_TRUE(m_log.empty()) << "never before its time";
    plat::AdvanceClock(1001);
    // 200, 400, ... 1200 for a; 1000 for b, in time order.
    EXPECT_EQ(Trace(), (std::vector<std::string>{"a:timer", "a:timer", "a:timer", "a:timer", "a:timer", "b:timer",
                                                 "a:timer"}));
    EXPECT_EQ(m_log.back().wParam, 302u);
    EXPECT_EQ(m_log[5].wParam, 306u);

    // A timer killed in its own tick and set again after the work, as the frame's idle timer.
    m_log.clear();
    m_b.KillTimer(306);
    int ticks = 0;
    m_a.m_handlers[plat::kWmTimer] = [&](plat::WParam id, plat::LParam) {
        m_a.KillTimer(static_cast<unsigned>(id));
        ++ticks;
        m_a.SetTimer(static_cast<unsigned>(id), 200);
        return plat::LResult(0);
    };
    plat::AdvanceClock(1000);
    EXPECT_EQ(ticks, 5);
    EXPECT_TRUE(m_a.KillTimer(302));
    EXPECT_FALSE(m_a.KillTimer(302));
    plat::AdvanceClock(1000);
    EXPECT_EQ(ticks, 5);
}

TEST_F(MessageQueue, TheLoopRunsDueTimersWhilePumping)
{
    m_a.SetTimer(1, 50);
    plat::SetManualClock(kStart + 60); // the clock moved without running the timer
    EXPECT_EQ(Trace(), std::vector<std::string>{});
    plat::PumpMessages();
    EXPECT_EQ(Trace(), std::vector<std::string>{"a:timer"});
}

} // namespace
