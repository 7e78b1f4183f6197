// The flat picture button: its faces under the mouse and the press that sends its command.
#include <gtest/gtest.h>

#include "editor/flat_bitmap_button.h"
#include "platform/gfx/sys_colors.h"
#include "tests/platform/ui_test_window.h"

namespace {

constexpr int kCommand = 4711;

class FlatButtonTest : public uitest::UiTest {
protected:
    void SetUp() override
    {
        UiTest::SetUp();
        m_top.m_quiet = {plat::kWmPaint, plat::kWmEraseBkgnd, plat::kWmSetCursor};
        ASSERT_TRUE(m_top.Create(nullptr, plat::Rect(100, 100, 300, 200), plat::kWsVisible));
        ASSERT_TRUE(m_owner.Create(nullptr, plat::Rect(0, 0, 10, 10), 0));
        ASSERT_TRUE(m_button.Create(&m_top, plat::Rect(10, 20, 40, 45), 7, u"IDB_ENDPAR", kCommand, &m_owner));
        m_log.clear();
    }
    void TearDown() override
    {
        m_button.Destroy();
        UiTest::TearDown();
    }
    // A screen point at (x, y) of the button's client area.
    plat::Point Screen(int x, int y) const { return m_button.ClientToScreen(plat::Point(x, y)); }
    int CommandsToOwner() const
    {
        int n = 0;
        for (const uitest::Logged& l : m_log)
            if (l.window == "owner" && l.message == plat::kWmCommand && l.wParam == kCommand && l.lParam == 0) ++n;
        return n;
    }
    // Presses with the cursor at client (x, y) of the button while the release waits.
    void PressAndRelease(int x, int y)
    {
        plat::SetCursorPos(Screen(x, y));
        plat::PostInputMessage(&m_button, plat::kWmLButtonUp, 0, plat::MakeLParam(x, y));
        plat::SendMessage(&m_button, plat::kWmLButtonDown, plat::kMkLButton, plat::MakeLParam(5, 5));
    }

    std::vector<uitest::Logged> m_log;
    uitest::TestWindow m_top{"top", &m_log};
    uitest::TestWindow m_owner{"owner", &m_log};
    CFlatBitmapButton m_button;
};

TEST_F(FlatButtonTest, ReleaseInsideSendsTheCommandOnce)
{
    PressAndRelease(12, 12);
    EXPECT_EQ(CommandsToOwner(), 1);
    EXPECT_EQ(plat::GetCapture(), nullptr);
    EXPECT_EQ(plat::GetCursor(), plat::kIdcArrow);
    EXPECT_FALSE(m_button.IsHot());
    EXPECT_EQ(m_button.GetFace(), CFlatBitmapButton::Face::kFlat);
    EXPECT_TRUE(m_top.NeedsPaint());
    // The release stays queued for the loop, which finds nothing more to send.
    plat::PumpMessages();
    EXPECT_EQ(CommandsToOwner(), 1);
}

TEST_F(FlatButtonTest, ReleaseOutsideSendsNothing)
{
    struct Case {
        const char* name;
        int x, y;
    };
    const Case outside[] = {{"left", -1, 5}, {"right", 30, 5}, {"below", 5, 25}, {"far away", 500, -300}};
    for (const Case& c : outside) {
        SCOPED_TRACE(c.name);
        m_log.clear();
        PressAndRelease(c.x, c.y);
        EXPECT_EQ(CommandsToOwner(), 0);
        EXPECT_EQ(plat::GetCapture(), nullptr);
        EXPECT_EQ(m_button.GetFace(), CFlatBitmapButton::Face::kFlat);
        plat::ResetMessageQueue();
    }
}

TEST_F(FlatButtonTest, TheMouseOverItMakesItHotAndLeavingEndsThat)
{
    plat::SendMessage(&m_button, plat::kWmMouseMove, 0, plat::MakeLParam(3, 4));
    EXPECT_TRUE(m_button.IsHot());
    EXPECT_EQ(m_button.GetFace(), CFlatBitmapButton::Face::kHot);
    EXPECT_EQ(plat::GetCapture(), &m_button);
    EXPECT_EQ(plat::GetCursor(), plat::kIdcCross);
    // The raised face is on the surface: white top-left, black bottom-right.
    ASSERT_NE(m_button.GetSurface(), nullptr);
    EXPECT_EQ(m_button.GetSurface()->GetPixel(0, 0), plat::Rgb(255, 255, 255));
    EXPECT_EQ(m_button.GetSurface()->GetPixel(29, 24), plat::Rgb(0, 0, 0));

    plat::SendMessage(&m_button, plat::kWmMouseMove, 0, plat::MakeLParam(31, 4));
    EXPECT_FALSE(m_button.IsHot());
    EXPECT_EQ(m_button.GetFace(), CFlatBitmapButton::Face::kFlat);
    EXPECT_EQ(plat::GetCapture(), nullptr);
    EXPECT_EQ(plat::GetCursor(), plat::kIdcArrow);
    EXPECT_TRUE(m_button.NeedsPaint());
    EXPECT_TRUE(m_top.NeedsPaint());
    EXPECT_EQ(CommandsToOwner(), 0);
}

TEST_F(FlatButtonTest, FlatFaceShowsThePictureCentred)
{
    m_button.Invalidate();
    m_button.UpdateWindow();
    const plat::Bitmap* surface = m_button.GetSurface();
    const plat::Bitmap* picture = LoadResBitmap(u"IDB_ENDPAR");
    ASSERT_TRUE(surface && picture);
    const int left = (30 - picture->Width()) / 2;
    const int top = (25 - picture->Height()) / 2;
    for (int y = 0; y < picture->Height(); ++y)
        for (int x = 0; x < picture->Width(); ++x)
            ASSERT_EQ(surface->GetPixel(left + x, top + y), picture->GetPixel(x, y)) << x << "," << y;
    EXPECT_EQ(surface->GetPixel(0, 0), plat::GetSysColor(plat::kColorActiveBorder));
    EXPECT_EQ(surface->GetPixel(29, 24), plat::GetSysColor(plat::kColorActiveBorder));
}

} // namespace
