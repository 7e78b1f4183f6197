#include "host/window_target.h"

#include <algorithm>
#include <chrono>
#include <climits>
#include <cstdio>

#include "platform/gfx/bitmap.h"
#include "platform/ui/clipboard.h"
#include "platform/ui/message.h"
#include "platform/ui/message_box.h"

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

void WindowTarget::ClipboardBridge::PutText(const char16_t* text, std::int32_t length)
{
    m_display.GetDesktopClipboard().Export(plat::StringView(text, static_cast<std::size_t>(std::max(length, 0))));
}

std::int32_t WindowTarget::ClipboardBridge::GetText(char16_t* buffer, std::int32_t capacity)
{
    const std::optional<plat::String> text = m_display.GetDesktopClipboard().Import();
    if (!text || text->size() > INT32_MAX) return -1;
    const auto length = static_cast<std::int32_t>(text->size());
    if (buffer && capacity > 0) std::copy_n(text->data(), std::min(length, capacity), buffer);
    return length;
}

plat::HRESULT WindowTarget::Open(int width, int height)
{
    const plat::HRESULT hr = m_control.CreateInHost(width, height);
    m_open = plat::Succeeded(hr);
    if (m_open) {
        // In a real window the control's clipboard is the desktop's.
        m_control.ConnectDesktopClipboard(&m_clipboard);
        m_control.SetModalSite(this);
        PumpAndShow(true);
    }
    return hr;
}

void WindowTarget::Close()
{
    if (!m_open) return;
    m_control.ConnectDesktopClipboard(nullptr);
    m_control.SetModalSite(nullptr);
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
    // Popup menus run modal loops of their own inside the control, which the screen cannot
    // show yet (nor a dialog or box it failed to show): each ends at once, and the user
    // hears why.
    int unanswered = UnansweredModalCount();
    RunLoop(std::nullopt, [&] {
        const int now = UnansweredModalCount();
        if (now > unanswered)
            std::fprintf(stderr, "quiln-host: a menu (or a dialog or message box that could not be shown) "
                                 "opened, but the window cannot show it; it was closed at once\n");
        unanswered = now;
    });
}

std::int32_t WindowTarget::ShowMessageBox(const char16_t* caption, std::int32_t captionLength, const char16_t* text,
                                          std::int32_t textLength, std::uint32_t style, const std::int32_t* buttons,
                                          std::int32_t count, std::int32_t defaultButton)
{
    if (captionLength < 0 || textLength < 0 || count <= 0 || !buttons || (captionLength > 0 && !caption) ||
        (textLength > 0 && !text))
        return 0;
    plat::ScreenMessageBox box;
    box.caption.assign(caption ? caption : u"", static_cast<std::size_t>(captionLength));
    box.text.assign(text ? text : u"", static_cast<std::size_t>(textLength));
    switch (style & 0xF0) {
    case plat::kMbIconStop: box.icon = plat::ScreenMessageBox::Icon::kError; break;
    case plat::kMbIconExclamation: box.icon = plat::ScreenMessageBox::Icon::kWarning; break;
    case plat::kMbIconQuestion:
    case plat::kMbIconInformation: box.icon = plat::ScreenMessageBox::Icon::kInformation; break;
    default: break;
    }
    const std::vector<int> ids(buttons, buttons + count);
    for (const int id : ids) {
        plat::String label = plat::MessageBoxButtonText(id);
        if (label.empty()) label = plat::Utf8ToUtf16(std::to_string(id));
        box.buttons.push_back({id, std::move(label)});
    }
    box.defaultButton = defaultButton;
    box.escapeButton = plat::EscapeMessageBoxAnswer(ids);
    std::string reason;
    const std::optional<int> pressed = m_display.ShowMessageBox(box, &reason);
    if (!pressed) {
        std::fprintf(stderr, "quiln-host: %s\n", reason.c_str());
        return 0;
    }
    // The main window lay under the box: it shows again.
    ShowPicture();
    return *pressed;
}

plat::HRESULT WindowTarget::RunDialog(const char16_t* title, std::int32_t titleLength, IModalDialog& dialog)
{
    if (titleLength < 0 || (titleLength > 0 && !title)) return plat::E_INVALIDARG;
    const PixelSource render = [&dialog](std::int32_t* w, std::int32_t* h, std::uint32_t* pixels, std::int32_t stride) {
        return dialog.Render(w, h, pixels, stride);
    };
    std::unique_ptr<plat::Bitmap> picture = PictureFrom(render);
    if (!picture) return plat::E_FAIL;
    std::string reason;
    const std::string caption = plat::Utf16ToUtf8(plat::StringView(title ? title : u"", std::size_t(titleLength)));
    const std::unique_ptr<plat::Display> screen =
        plat::Display::Open(caption, plat::Size(picture->Width(), picture->Height()), &reason);
    if (!screen) {
        std::fprintf(stderr, "quiln-host: the dialog could not be shown: %s\n", reason.c_str());
        return plat::E_FAIL;
    }
    screen->Show(*picture);
    plat::Rect textInputRect;
    bool closed = false;
    while (!dialog.IsEnded() && !closed && !m_closed) {
        bool mustShow = false;
        for (const plat::DisplayEvent& e : screen->WaitEvents(WaitTimeout())) {
            switch (e.kind) {
            case plat::DisplayEventKind::kKey: dialog.KeyInput(e.virtualKey, e.down, e.textElsewhere); break;
            case plat::DisplayEventKind::kText:
                dialog.TypeText(e.text.data(), static_cast<std::int32_t>(e.text.size()));
                break;
            case plat::DisplayEventKind::kComposition: break;
            case plat::DisplayEventKind::kMouse:
                dialog.MouseInput(e.message, e.point.x, e.point.y, e.keyFlags, e.wheelDelta);
                break;
            case plat::DisplayEventKind::kResize:
            case plat::DisplayEventKind::kExposed: mustShow = true; break;
            case plat::DisplayEventKind::kClose: closed = true; break;
            }
        }
        KeepMainWindowShown();
        for (int round = 0; round < kMaxPumpRounds && !dialog.IsEnded(); ++round) {
            std::int32_t ran = 0;
            dialog.Pump(&ran);
            if (!ran) break;
            mustShow = true;
        }
        if (dialog.IsEnded()) break;
        if (mustShow && (picture = PictureFrom(render))) screen->Show(*picture);
        plat::Rect caret;
        if (dialog.GetCaretRect(&caret) == plat::S_OK && caret != textInputRect) {
            screen->SetTextInputRect(caret);
            textInputRect = caret;
        }
    }
    return dialog.IsEnded() ? plat::S_OK : plat::S_FALSE;
}

void WindowTarget::KeepMainWindowShown()
{
    bool mustShow = false;
    for (const plat::DisplayEvent& e : m_display.WaitEvents(0)) {
        if (e.kind == plat::DisplayEventKind::kResize && e.size.cx > 0 && e.size.cy > 0)
            m_control.ResizeHost(e.size.cx, e.size.cy);
        if (e.kind == plat::DisplayEventKind::kResize || e.kind == plat::DisplayEventKind::kExposed) mustShow = true;
        if (e.kind == plat::DisplayEventKind::kClose) m_closed = true;
    }
    if (mustShow) ShowPicture();
}

int WindowTarget::WaitTimeout()
{
    // The main window's events are looked at between waits, so the wait is short.
    constexpr std::int64_t kLongestWaitMs = 100;
    std::int64_t timer = -1;
    if (plat::Failed(m_control.NextTimerDelay(&timer)) || timer < 0) timer = kLongestWaitMs;
    return static_cast<int>(std::min(timer, kLongestWaitMs));
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
