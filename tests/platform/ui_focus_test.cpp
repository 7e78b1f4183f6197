// Focus, capture, caret and cursor: each change tells both windows, the mouse follows the
// capture, the caret hides and shows by count, and the cursor is chosen through the tree.
#include "tests/platform/ui_test_window.h"

namespace {

using plat::Point;
using plat::Rect;
using uitest::TestWindow;

class Input : public uitest::ThreeWindows {
protected:
    void SetUp() override
    {
        ThreeWindows::SetUp();
        for (TestWindow* w : {&m_top, &m_a, &m_b}) w->m_quiet = {plat::kWmPaint};
    }
};

TEST_F(Input, FocusChangesTellBothWindowsWhoTheOtherIs)
{
    EXPECT_EQ(plat::SetFocus(&m_a), nullptr);
    EXPECT_EQ(plat::GetFocus(), &m_a);
    EXPECT_EQ(plat::SetFocus(&m_b), &m_a);
    EXPECT_EQ(plat::SetFocus(&m_b), &m_b);
    EXPECT_EQ(plat::SetFocus(nullptr), &m_b);
    EXPECT_EQ(Trace(), (std::vector<std::string>{"a:setfocus", "a:killfocus", "b:setfocus", "b:killfocus"}));
    EXPECT_EQ(m_log[0].wParam, 0u);
    EXPECT_EQ(m_log[1].wParam, reinterpret_cast<plat::WParam>(&m_b));
    EXPECT_EQ(m_log[2].wParam, reinterpret_cast<plat::WParam>(&m_a));
    EXPECT_EQ(m_log[3].wParam, 0u);
    TestWindow uncreated("u");
    EXPECT_EQ(plat::SetFocus(&uncreated), nullptr);
    EXPECT_EQ(plat::GetFocus(), nullptr);
}

TEST_F(Input, AWindowLosingFocusMayPassItOn)
{
    // A window that gives the focus elsewhere as it loses it: the window first asked for it
    // is not told it has it.
    m_a.m_handlers[plat::kWmKillFocus] = [this](plat::WParam, plat::LParam) {
        plat::SetFocus(&m_top);
        return plat::LResult(0);
    };
    plat::SetFocus(&m_a);
    m_log.clear();
    plat::SetFocus(&m_b);
    EXPECT_EQ(plat::GetFocus(), &m_top);
    EXPECT_EQ(Trace(), (std::vector<std::string>{"a:killfocus", "top:setfocus"}));
}

TEST_F(Input, TheMouseGoesToTheWindowUnderItUnlessCaptured)
{
    // Screen (150, 150) is over a; (250, 150) over b.
    ASSERT_TRUE(plat::PostMouseInput(m_top, plat::kWmLButtonDown, Point(150, 150), plat::kMkLButton));
    EXPECT_EQ(plat::SetCapture(&m_a), nullptr);
    ASSERT_TRUE(plat::PostMouseInput(m_top, plat::kWmMouseMove, Point(250, 160), plat::kMkLButton));
    plat::PumpMessages();
    EXPECT_EQ(Trace({plat::kWmLButtonDown, plat::kWmMouseMove}),
              (std::vector<std::string>{"a:lbuttondown", "a:mousemove"}));
    EXPECT_EQ(plat::PointFromLParam(m_log.back().lParam), Point(150, 60)) << "in a's client coordinates";
    EXPECT_EQ(Trace({plat::kWmSetCursor}), (std::vector<std::string>{"a:setcursor", "top:setcursor"}))
        << "the parent is asked first by default; a captured mouse does not ask for the cursor";

    // Capture taken by another window and released: each holder hears of it.
    m_log.clear();
    EXPECT_EQ(plat::SetCapture(&m_b), &m_a);
    EXPECT_EQ(plat::GetCapture(), &m_b);
    EXPECT_TRUE(plat::ReleaseCapture());
    EXPECT_FALSE(plat::ReleaseCapture());
    EXPECT_EQ(Trace(), (std::vector<std::string>{"a:capturechanged", "b:capturechanged"}));
    EXPECT_EQ(m_log[0].lParam, reinterpret_cast<plat::LParam>(&m_b));
    EXPECT_EQ(m_log[1].lParam, 0);

    m_log.clear();
    plat::PostMouseInput(m_top, plat::kWmMouseMove, Point(250, 160));
    plat::PumpMessages();
    EXPECT_EQ(Trace({plat::kWmMouseMove}), std::vector<std::string>{"b:mousemove"});
    EXPECT_FALSE(plat::PostMouseInput(m_top, plat::kWmMouseMove, Point(10, 10))) << "outside the tree";
}

TEST_F(Input, TheCursorPositionIsWhereTheLastMouseInputWas)
{
    plat::SetCursorPos(Point(5, 6));
    EXPECT_EQ(plat::GetCursorPos(), Point(5, 6));
    EXPECT_TRUE(m_log.empty()) << "placing the cursor sends nothing";
    plat::PostMouseInput(m_top, plat::kWmMouseMove, Point(150, 150));
    EXPECT_EQ(plat::GetCursorPos(), Point(150, 150));
    // Input outside every window still moves the cursor.
    EXPECT_FALSE(plat::PostMouseInput(m_top, plat::kWmMouseMove, Point(10, 10)));
    EXPECT_EQ(plat::GetCursorPos(), Point(10, 10));
    plat::ResetInputState();
    EXPECT_EQ(plat::GetCursorPos(), Point(0, 0));
}

TEST_F(Input, TheWheelGoesToTheFocusWindowAndUpToItsParent)
{
    EXPECT_FALSE(plat::PostMouseInput(m_top, plat::kWmMouseWheel, Point(150, 150), 0, -240));
    plat::SetFocus(&m_a);
    m_log.clear();
    ASSERT_TRUE(plat::PostMouseInput(m_top, plat::kWmMouseWheel, Point(150, 150), plat::kMkControl, -240));
    plat::PumpMessages();
    EXPECT_EQ(Trace(), (std::vector<std::string>{"a:wheel", "top:wheel"}));
    EXPECT_EQ(plat::WheelDelta(m_log[0].wParam), -240);
    EXPECT_EQ(plat::LoWord(m_log[0].wParam), plat::kMkControl);
    EXPECT_EQ(plat::PointFromLParam(m_log[0].lParam), Point(150, 150)) << "screen coordinates";
}

TEST_F(Input, TheCursorIsTheClassCursorUnlessAParentDecides)
{
    m_a.SetClassCursor(plat::kIdcIBeam);
    plat::SetCursor(7050);
    plat::PostMouseInput(m_top, plat::kWmMouseMove, Point(150, 150));
    EXPECT_EQ(plat::GetCursor(), plat::kIdcIBeam);
    plat::PostMouseInput(m_top, plat::kWmMouseMove, Point(250, 150));
    EXPECT_EQ(plat::GetCursor(), plat::kIdcArrow);
    // A parent that handles the cursor for its children.
    m_top.m_handlers[plat::kWmSetCursor] = [](plat::WParam, plat::LParam) {
        plat::SetCursor(plat::kIdcWait);
        return plat::LResult(1);
    };
    plat::PostMouseInput(m_top, plat::kWmMouseMove, Point(150, 150));
    EXPECT_EQ(plat::GetCursor(), plat::kIdcWait);
    EXPECT_EQ(plat::SetCursor(7063), plat::kIdcWait);
    EXPECT_EQ(plat::GetCursor(), 7063);
}

TEST_F(Input, TheCaretHidesAndShowsByCountForItsOwnerOnly)
{
    EXPECT_FALSE(plat::ShowCaret(&m_a)) << "no caret yet";
    ASSERT_TRUE(plat::CreateCaret(&m_a, 2, 15));
    EXPECT_FALSE(plat::GetCaretState().visible) << "created hidden";
    EXPECT_TRUE(plat::ShowCaret(&m_a));
    EXPECT_TRUE(plat::GetCaretState().visible);
    EXPECT_FALSE(plat::HideCaret(&m_b)) << "another window's caret";
    EXPECT_TRUE(plat::HideCaret(&m_a));
    EXPECT_TRUE(plat::HideCaret(nullptr));
    EXPECT_TRUE(plat::ShowCaret(&m_a));
    EXPECT_FALSE(plat::GetCaretState().visible) << "two hides need two shows";
    EXPECT_TRUE(plat::ShowCaret(nullptr));
    EXPECT_TRUE(plat::GetCaretState().visible);
    EXPECT_TRUE(plat::SetCaretPos(Point(30, 40)));
    EXPECT_EQ(plat::GetCaretPos(), Point(30, 40));
    EXPECT_EQ(plat::GetCaretState().rect, Rect(30, 40, 32, 55));
    // One caret: creating it for another window takes it over.
    ASSERT_TRUE(plat::CreateCaret(&m_b, 1, 10));
    EXPECT_EQ(plat::GetCaretState().owner, &m_b);
    EXPECT_FALSE(plat::GetCaretState().visible);
    EXPECT_TRUE(plat::DestroyCaret());
    EXPECT_FALSE(plat::DestroyCaret());
    EXPECT_EQ(plat::GetCaretState().owner, nullptr);
}

} // namespace
