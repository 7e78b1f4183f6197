// A window for the window-kernel tests: it logs the messages it gets (tagged with its name),
// lets a test answer a message its own way, and paints by a function the test gives. The
// fixture starts each test from a clean UI thread: no queued messages, focus, capture,
// caret, timers, clipboard data or modal answers, and a manual clock.
#pragma once
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/base/system.h"
#include "platform/ui/clipboard.h"
#include "platform/ui/focus.h"
#include "platform/ui/keyboard.h"
#include "platform/ui/message_queue.h"
#include "platform/ui/modal.h"
#include "platform/ui/timer.h"
#include "platform/ui/window.h"

namespace uitest {

struct Logged {
    std::string window;
    unsigned message;
    plat::WParam wParam;
    plat::LParam lParam;
};

class TestWindow : public plat::Window {
public:
    using Handler = std::function<std::optional<plat::LResult>(plat::WParam, plat::LParam)>;
    using Painter = std::function<void(plat::PaintDc&)>;

    TestWindow(std::string name, std::vector<Logged>* log = nullptr) : m_name(std::move(name)), m_log(log) {}
    ~TestWindow() override { Destroy(); }

    // Messages logged: all but those in m_quiet.
    std::vector<unsigned> m_quiet;
    std::map<unsigned, Handler> m_handlers;
    Painter m_painter;
    std::function<bool(plat::Message&)> m_preTranslate;
    const std::string& Name() const { return m_name; }

protected:
    plat::LResult WindowProc(unsigned message, plat::WParam wParam, plat::LParam lParam) override
    {
        if (m_log && std::find(m_quiet.begin(), m_quiet.end(), message) == m_quiet.end())
            m_log->push_back(Logged{m_name, message, wParam, lParam});
        if (auto it = m_handlers.find(message); it != m_handlers.end())
            if (std::optional<plat::LResult> r = it->second(wParam, lParam)) return *r;
        if (message == plat::kWmPaint && m_painter) {
            plat::PaintDc dc(*this);
            m_painter(dc);
            return 0;
        }
        return DefWindowProc(message, wParam, lParam);
    }
    bool PreTranslateMessage(plat::Message& message) override
    {
        return m_preTranslate ? m_preTranslate(message) : false;
    }

private:
    std::string m_name;
    std::vector<Logged>* m_log;
};

class UiTest : public testing::Test {
protected:
    void SetUp() override
    {
        plat::SetManualClock(kStart);
        Clean();
    }
    void TearDown() override
    {
        Clean();
        plat::SetClockSource({});
    }
    static void Clean()
    {
        plat::ResetMessageQueue();
        plat::ResetInputState();
        plat::ResetKeyState();
        plat::ResetClipboard();
        plat::ResetTimers();
        plat::ClearModalAnswers();
        plat::SetModalHandler({});
        plat::ClearModalLog();
    }
    // The messages logged, as "window:message" with the message in hex, oldest first; only
    // those in `only` when given.
    std::vector<std::string> Trace(std::initializer_list<unsigned> only = {}) const
    {
        std::vector<std::string> out;
        for (const Logged& l : m_log) {
            if (only.size() && std::find(only.begin(), only.end(), l.message) == only.end()) continue;
            out.push_back(l.window + ":" + MessageName(l.message));
        }
        return out;
    }

    static std::string MessageName(unsigned message)
    {
        static const std::map<unsigned, std::string> names = {
            {plat::kWmCreate, "create"}, {plat::kWmDestroy, "destroy"}, {plat::kWmMove, "move"},
            {plat::kWmSize, "size"}, {plat::kWmSetFocus, "setfocus"}, {plat::kWmKillFocus, "killfocus"},
            {plat::kWmPaint, "paint"}, {plat::kWmEraseBkgnd, "erase"}, {plat::kWmShowWindow, "show"},
            {plat::kWmSetCursor, "setcursor"}, {plat::kWmKeyDown, "keydown"}, {plat::kWmKeyUp, "keyup"},
            {plat::kWmChar, "char"}, {plat::kWmSysKeyDown, "syskeydown"}, {plat::kWmSysKeyUp, "syskeyup"},
            {plat::kWmCommand, "command"}, {plat::kWmTimer, "timer"}, {plat::kWmHScroll, "hscroll"},
            {plat::kWmVScroll, "vscroll"}, {plat::kWmInitMenuPopup, "initmenupopup"},
            {plat::kWmMouseMove, "mousemove"}, {plat::kWmLButtonDown, "lbuttondown"},
            {plat::kWmLButtonUp, "lbuttonup"}, {plat::kWmRButtonDown, "rbuttondown"},
            {plat::kWmMouseWheel, "wheel"}, {plat::kWmCaptureChanged, "capturechanged"},
        };
        if (auto it = names.find(message); it != names.end()) return it->second;
        char hex[16];
        std::snprintf(hex, sizeof hex, "0x%x", message);
        return hex;
    }

    static constexpr std::int64_t kStart = 1'700'000'000'000;
    std::vector<Logged> m_log;
};

// A top-level window at (100, 100)-(300, 300) on the screen with two children side by side,
// a over (100, 100)-(200, 200) and b over (200, 100)-(300, 200), all painted and the log
// empty.
class ThreeWindows : public UiTest {
protected:
    void SetUp() override
    {
        UiTest::SetUp();
        ASSERT_TRUE(m_top.Create(nullptr, plat::Rect(100, 100, 300, 300), plat::kWsVisible));
        ASSERT_TRUE(m_a.Create(&m_top, plat::Rect(0, 0, 100, 100), plat::kWsChild | plat::kWsVisible));
        ASSERT_TRUE(m_b.Create(&m_top, plat::Rect(100, 0, 200, 100), plat::kWsChild | plat::kWsVisible));
        for (TestWindow* w : {&m_top, &m_a, &m_b}) w->ValidateRect();
        m_log.clear();
    }
    TestWindow m_top{"top", &m_log};
    TestWindow m_a{"a", &m_log};
    TestWindow m_b{"b", &m_log};
};

} // namespace uitest
