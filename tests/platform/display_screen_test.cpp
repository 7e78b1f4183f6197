// The screen in a real window (run under tests/support/with_xvfb.sh): what it shows is what
// the display server holds, and scripted input comes back as the events a keyboard, an
// input method and a mouse make.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>

#include "platform/display/display.h"
#include "platform/gfx/bitmap.h"
#include "platform/ui/keyboard.h"
#include "platform/ui/message.h"

namespace {

using plat::DisplayEvent;
using plat::DisplayEventKind;

class Screen : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string reason;
        m_display = plat::Display::Open("display test", plat::Size(200, 100), &reason);
        ASSERT_TRUE(m_display) << reason;
        // What the window's appearing makes (showing, the pointer entering it) is over
        // once nothing has come for a while.
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (!m_display->WaitEvents(300).empty() && std::chrono::steady_clock::now() < deadline) {
        }
    }

    // The events of these kinds that come within a generous time, until `count` of them came.
    std::vector<DisplayEvent> Input(std::size_t count, std::initializer_list<DisplayEventKind> kinds)
    {
        std::vector<DisplayEvent> input;
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (input.size() < count && std::chrono::steady_clock::now() < deadline) {
            for (DisplayEvent& e : m_display->WaitEvents(100))
                if (std::find(kinds.begin(), kinds.end(), e.kind) != kinds.end()) input.push_back(std::move(e));
        }
        return input;
    }

    std::unique_ptr<plat::Display> m_display;
};

// Texts typed into a display, as its WaitEvents gives them within a generous time.
plat::String TextOf(plat::Display& display, std::size_t length)
{
    plat::String text;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (text.size() < length && std::chrono::steady_clock::now() < deadline)
        for (const DisplayEvent& e : display.WaitEvents(100))
            if (e.kind == DisplayEventKind::kText) text += e.text;
    return text;
}

TEST_F(Screen, TheScreenshotIsThePictureWithGreyBeyondIt)
{
    std::unique_ptr<plat::Bitmap> picture = plat::Bitmap::Create(150, 60);
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 150; ++x) picture->MutableRow(y)[x] = std::uint32_t(x * 0x010000 + y * 0x000301 + 7);
    ASSERT_TRUE(m_display->Show(*picture));
    std::string reason;
    const std::unique_ptr<plat::Bitmap> shot = m_display->Screenshot(&reason);
    ASSERT_TRUE(shot) << reason;
    ASSERT_EQ(shot->GetSize(), plat::Size(200, 100));
    int wrong = 0;
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 200; ++x) wrong += shot->Row(y)[x] != (x < 150 && y < 60 ? picture->Row(y)[x] : 0x808080u);
    EXPECT_EQ(wrong, 0);
}

TEST_F(Screen, ScriptedTypingComesBackAsKeysAndText)
{
    // 'A' is a key with Shift; the Chinese has no key and comes as an input method's
    // committed text: 66 bytes of UTF-8, in pieces that fit SDL's text event (31 bytes, ten
    // of these characters) and never split a character.
    const plat::String chinese = u"中文输入法提交的一段很长的文字，分几次送出。";
    ASSERT_TRUE(m_display->InjectText(u"A" + chinese));
    const std::vector<DisplayEvent> input = Input(5 + 3, {DisplayEventKind::kKey, DisplayEventKind::kText});
    ASSERT_EQ(input.size(), 8u);
    EXPECT_EQ(input[0].virtualKey, plat::kVkShift);
    EXPECT_TRUE(input[0].down);
    EXPECT_EQ(input[1].virtualKey, 'A');
    EXPECT_TRUE(input[1].textElsewhere) << "the character comes as text, not from the key";
    EXPECT_EQ(input[2].kind, DisplayEventKind::kText);
    EXPECT_EQ(input[2].text, u"A");
    EXPECT_EQ(input[3].virtualKey, 'A');
    EXPECT_FALSE(input[3].down);
    EXPECT_EQ(input[4].virtualKey, plat::kVkShift);
    EXPECT_FALSE(input[4].down);
    plat::String committed;
    for (std::size_t i = 5; i < input.size(); ++i) {
        EXPECT_EQ(input[i].kind, DisplayEventKind::kText);
        committed += input[i].text;
    }
    EXPECT_EQ(committed, chinese);
}

TEST_F(Screen, ScriptedKeysClicksAndClosingComeBack)
{
    ASSERT_TRUE(m_display->InjectKey('B', plat::kModCtrl));
    const std::vector<DisplayEvent> keys = Input(4, {DisplayEventKind::kKey, DisplayEventKind::kText});
    ASSERT_EQ(keys.size(), 4u) << "Ctrl down, B down, B up, Ctrl up; no text with Ctrl";
    EXPECT_EQ(keys[0].virtualKey, plat::kVkControl);
    EXPECT_EQ(keys[1].virtualKey, 'B');
    EXPECT_FALSE(keys[1].textElsewhere);
    EXPECT_FALSE(keys[3].down);
    EXPECT_FALSE(m_display->InjectKey(0x07, 0)) << "no key has that code";

    ASSERT_TRUE(m_display->InjectClick(false, true, plat::Point(40, 30)));
    const std::vector<DisplayEvent> clicks = Input(5, {DisplayEventKind::kMouse});
    ASSERT_EQ(clicks.size(), 5u);
    const unsigned expected[] = {plat::kWmMouseMove, plat::kWmLButtonDown, plat::kWmLButtonUp, plat::kWmLButtonDblClk,
                                 plat::kWmLButtonUp};
    for (std::size_t i = 0; i < 5; ++i) {
        EXPECT_EQ(clicks[i].message, expected[i]) << i;
        EXPECT_EQ(clicks[i].point, plat::Point(40, 30)) << i;
    }

    ASSERT_TRUE(m_display->InjectClose());
    const std::vector<DisplayEvent> closing = Input(1, {DisplayEventKind::kClose});
    ASSERT_EQ(closing.size(), 1u);
    EXPECT_EQ(closing[0].kind, DisplayEventKind::kClose);
}

// A second window (a dialog over the first): SDL's one queue is shared out, each window
// gets its own events whichever waits first, and closing one leaves the other's typing on.
TEST_F(Screen, TwoWindowsEachGetTheirOwnEvents)
{
    std::string reason;
    std::unique_ptr<plat::Display> second = plat::Display::Open("second", plat::Size(120, 80), &reason);
    ASSERT_TRUE(second) << reason;
    ASSERT_TRUE(m_display->InjectText(u"first中"));
    ASSERT_TRUE(second->InjectText(u"second文"));
    // The second waits first: the first's events are kept for it.
    EXPECT_EQ(TextOf(*second, 7), u"second文");
    EXPECT_EQ(TextOf(*m_display, 6), u"first中");

    second.reset();
    ASSERT_TRUE(m_display->InjectText(u"again"));
    EXPECT_EQ(TextOf(*m_display, 5), u"again");
}

// The window system's message box: shown over the window, and when it cannot be (no
// buttons), a refusal that says why rather than a box nobody can close.
TEST_F(Screen, AMessageBoxWithoutButtonsIsRefused)
{
    plat::ScreenMessageBox box;
    box.caption = u"标题";
    box.text = u"正文";
    std::string reason;
    EXPECT_FALSE(m_display->ShowMessageBox(box, &reason));
    EXPECT_EQ(reason, "a message box needs a button");
}

} // namespace
