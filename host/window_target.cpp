#include "host/window_target.h"

#include <algorithm>
#include <chrono>
#include <climits>
#include <cstdio>

#include "platform/gfx/bitmap.h"
#include "platform/ui/message.h"

namespace host {

namespace {

std::int64_t NowMs()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

// Pump runs what waits; what it sets going may queue more (a paint after an edit), so it
// runs until nothing is left, with a bound against a window that keeps posting to itself.
constexpr int kMaxPumpRounds = 64;

} // namespace

plat::HRESULT WindowTarget::Open(int width, int height)
{
    const plat::HRESULT hr = m_control.CreateInHost(width, height);
    m_open = plat::Succeeded(hr);
    if (m_open) PumpAndShow(true);
    return hr;
}

void WindowTarget::Close()
{
    if (!m_open) return;
    m_control.DestroyInHost();
    m_open = false;
}

plat::HRESULT WindowTarget::TypeText(plat::StringView text)
{
    if (!m_open) return plat::E_UNEXPECTED;
    m_inputIgnored = false;
    if (!m_display.InjectText(text)) return plat::E_FAIL;
    Settle();
    return m_inputIgnored ? plat::S_FALSE : plat::S_OK;
}

plat::HRESULT WindowTarget::PressKey(int virtualKey, unsigned modifiers)
{
    if (!m_open) return plat::E_UNEXPECTED;
    m_inputIgnored = false;
    if (!m_display.InjectKey(virtualKey, modifiers)) return plat::E_INVALIDARG;
    Settle();
    return m_inputIgnored ? plat::S_FALSE : plat::S_OK;
}

plat::HRESULT WindowTarget::Click(MouseButton button, ClickCount count, int x, int y)
{
    if (!m_open) return plat::E_UNEXPECTED;
    m_inputIgnored = false;
    if (!m_display.InjectClick(button == MouseButton::kRight, count == ClickCount::kDouble, plat::Point(x, y)))
        return plat::E_FAIL;
    Settle();
    return m_inputIgnored ? plat::S_FALSE : plat::S_OK;
}

plat::HRESULT WindowTarget::AdvanceClock(std::int64_t ms)
{
    if (!m_open) return plat::E_UNEXPECTED;
    if (ms < 0) return plat::E_INVALIDARG;
    RunLoop(NowMs() + ms);
    return plat::S_OK;
}

plat::HRESULT WindowTarget::AnswerNextModal(int answer, const std::vector<plat::String>& texts)
{
    return m_direct.AnswerNextModal(answer, texts);
}

int WindowTarget::UnansweredModalCount()
{
    return m_direct.UnansweredModalCount();
}

plat::HRESULT WindowTarget::CloseWindow()
{
    return m_display.InjectClose() ? plat::S_OK : plat::E_FAIL;
}

void WindowTarget::Settle()
{
    if (!m_open) return;
    // Everything the window system holds now, scripted input included, then what it set going.
    PumpAndShow(Feed(m_display.WaitEvents(0)));
}

std::unique_ptr<plat::Bitmap> WindowTarget::Picture()
{
    Settle();
    std::string reason;
    std::unique_ptr<plat::Bitmap> shot = m_display.Screenshot(&reason);
    if (!shot) std::fprintf(stderr, "quiln-host: no screenshot of the window: %s\n", reason.c_str());
    return shot;
}

void WindowTarget::RunUntilClosed()
{
    // Dialogs, message boxes and popup menus run modal loops of their own inside the
    // control, which the screen cannot show yet: each ends at once, and the user hears why.
    int unanswered = UnansweredModalCount();
    RunLoop(std::nullopt, [&] {
        const int now = UnansweredModalCount();
        if (now > unanswered)
            std::fprintf(stderr, "quiln-host: a dialog, message box or menu opened, but the window cannot show "
                                 "those yet; it was closed at once\n");
        unanswered = now;
    });
}

void WindowTarget::RunLoop(std::optional<std::int64_t> deadline, const std::function<void()>& afterEach)
{
    while (m_open && !m_closed) {
        std::int64_t timer = -1;
        if (plat::Failed(m_control.NextTimerDelay(&timer))) timer = -1;
        std::int64_t wait = timer;
        if (deadline) {
            const std::int64_t left = std::max<std::int64_t>(0, *deadline - NowMs());
            wait = wait < 0 ? left : std::min(wait, left);
        }
        const int timeout = wait < 0 ? -1 : static_cast<int>(std::min<std::int64_t>(wait, INT_MAX));
        PumpAndShow(Feed(m_display.WaitEvents(timeout)));
        if (afterEach) afterEach();
        // The timers due by the deadline have run even when the machine was too busy to
        // wake us before it.
        if (deadline && NowMs() >= *deadline) break;
    }
}

bool WindowTarget::Feed(const std::vector<plat::DisplayEvent>& events)
{
    bool mustShow = false;
    for (const plat::DisplayEvent& e : events) {
        plat::HRESULT taken = plat::S_OK;
        switch (e.kind) {
        case plat::DisplayEventKind::kKey: taken = m_control.KeyInput(e.virtualKey, e.down, e.textElsewhere); break;
        case plat::DisplayEventKind::kText:
            taken = m_control.TypeText(e.text.data(), static_cast<std::int32_t>(e.text.size()));
            break;
        case plat::DisplayEventKind::kComposition: break; // the screen shows it; nothing is typed yet
        case plat::DisplayEventKind::kMouse:
            taken = m_control.MouseInput(e.message, e.point.x, e.point.y, e.keyFlags, e.wheelDelta);
            break;
        case plat::DisplayEventKind::kResize:
            if (e.size.cx > 0 && e.size.cy > 0) m_control.ResizeHost(e.size.cx, e.size.cy);
            mustShow = true;
            break;
        case plat::DisplayEventKind::kExposed: mustShow = true; break;
        case plat::DisplayEventKind::kClose: m_closed = true; break;
        }
        // S_FALSE: no window had the focus or was under the point.
        if (taken == plat::S_FALSE) m_inputIgnored = true;
    }
    return mustShow;
}

void WindowTarget::PumpAndShow(bool mustShow)
{
    for (int round = 0; round < kMaxPumpRounds; ++round) {
        std::int32_t ran = 0;
        m_control.Pump(&ran);
        if (!ran) break;
        mustShow = true;
    }
    if (mustShow) ShowPicture();
    std::int32_t cursor = 0;
    if (plat::Succeeded(m_control.GetCursorId(&cursor)) && cursor != m_cursor) {
        m_display.SetCursor(cursor);
        m_cursor = cursor;
    }
}

void WindowTarget::ShowPicture()
{
    const std::unique_ptr<plat::Bitmap> picture = m_direct.Picture();
    if (!picture) return;
    m_display.Show(*picture);
    // The input method's composition and candidates go where the caret is.
    plat::Rect caret;
    if (m_control.GetCaretRect(&caret) == plat::S_OK && caret != m_textInputRect) {
        m_display.SetTextInputRect(caret);
        m_textInputRect = caret;
    }
}

} // namespace host
