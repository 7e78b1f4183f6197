// The host in a real window: the control's picture is shown through the screen
// (platform/display), and scripted typing, keys and clicks go into the window system's
// queue, so they reach the control by the same path as the user's. The clock is the real
// one; !clock lets that much time pass with the loop running. Pictures are screenshots of
// the window as the display server has it. Dialogs and message boxes the control opens with
// no answer queued are shown to the user: a box as the window system's message box, a
// dialog in a window of its own, fed the user's input until it ends.
#pragma once
#include <cstdint>
#include <functional>
#include <optional>

#include "control/control_window.h"
#include "host/headless_target.h"
#include "host/host_target.h"
#include "platform/display/display.h"

namespace host {

class WindowTarget : public HostTarget, public IModalSite {
public:
    WindowTarget(IControlWindow& control, plat::Display& display)
        : m_control(control), m_direct(control), m_display(display) {}
    ~WindowTarget() override { Close(); }

    plat::HRESULT Open(int width, int height) override;
    void Close() override;
    plat::HRESULT TypeText(plat::StringView text) override;
    plat::HRESULT PressKey(int virtualKey, unsigned modifiers) override;
    plat::HRESULT Click(MouseButton button, ClickCount count, int x, int y) override;
    plat::HRESULT AdvanceClock(std::int64_t ms) override;
    plat::HRESULT AnswerNextModal(int answer, const std::vector<plat::String>& texts) override;
    int UnansweredModalCount() override;
    plat::HRESULT CloseWindow() override;
    void Settle() override;
    std::unique_ptr<plat::Bitmap> Picture() override;

    std::int32_t ShowMessageBox(const char16_t* caption, std::int32_t captionLength, const char16_t* text,
                                std::int32_t textLength, std::uint32_t style, const std::int32_t* buttons,
                                std::int32_t count, std::int32_t defaultButton) override;
    plat::HRESULT RunDialog(const char16_t* title, std::int32_t titleLength, IModalDialog& dialog) override;

    // The message loop: waits for the user or the next timer, hands input to the control
    // and shows what changed, until the window is closed.
    void RunUntilClosed();

private:
    // Runs the loop until the window closes or, when given, the deadline (the real clock's
    // milliseconds) passes; afterEach, when given, after each round.
    void RunLoop(std::optional<std::int64_t> deadline, const std::function<void()>& afterEach = {});
    // Hands the screen's events to the control; true when the window must be shown again.
    bool Feed(const std::vector<plat::DisplayEvent>& events);
    // Lets the control run what waits and shows the window again when anything ran.
    void PumpAndShow(bool mustShow);
    void ShowPicture();
    // While a dialog runs: the main window is shown again when it must be, its input goes
    // nowhere (the dialog's owner is disabled), closing it closes the dialog too.
    void KeepMainWindowShown();
    // How long the loop may wait for the user: until the control's next timer, bounded.
    int WaitTimeout();

    // The screen's clipboard as the control reaches it.
    class ClipboardBridge final : public IDesktopClipboard {
    public:
        explicit ClipboardBridge(plat::Display& display) : m_display(display) {}
        void PutText(const char16_t* text, std::int32_t length) override;
        std::int32_t GetText(char16_t* buffer, std::int32_t capacity) override;

    private:
        plat::Display& m_display;
    };

    IControlWindow& m_control;
    // What goes to the control the same way with or without a screen: answers to dialogs,
    // the count of unanswered ones, the control's own picture.
    HeadlessTarget m_direct;
    plat::Display& m_display;
    ClipboardBridge m_clipboard{m_display};
    bool m_open = false;
    bool m_closed = false;
    // Some of the input the last action made went nowhere.
    bool m_inputIgnored = false;
    int m_cursor = 0;
    plat::Rect m_textInputRect;
};

} // namespace host
