// Where the host's input goes and where the control's picture comes from. The script
// reader, the member caller and the action runner know the control only through this and
// through its dispatch interface; a headless run (HeadlessTarget) hands everything to the
// control's IControlWindow, and a run in a real window replaces the target with one that
// goes through the screen.
#pragma once
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/base/strings.h"
#include "platform/com/hresult.h"
#include "platform/gfx/bitmap.h"

namespace host {

// The client size of the host's window.
constexpr int kHostWidth = 800;
constexpr int kHostHeight = 600;

enum class MouseButton { kLeft, kRight };
enum class ClickCount { kSingle, kDouble };

class HostTarget {
public:
    virtual ~HostTarget() = default;

    // Makes the host's window of the given client size with the control's window over it.
    virtual plat::HRESULT Open(int width, int height) = 0;
    // Destroys both windows.
    virtual void Close() = 0;

    // ---- input ----
    // Text as the keyboard's text input or an input method gives it.
    virtual plat::HRESULT TypeText(plat::StringView text) = 0;
    // A key pressed and released with modifiers held (plat::KeyModifier bits).
    virtual plat::HRESULT PressKey(int virtualKey, unsigned modifiers) = 0;
    // The pointer moves to a point of the host window's client area and the button is
    // clicked there once or twice.
    virtual plat::HRESULT Click(MouseButton button, ClickCount count, int x, int y) = 0;
    // The left button pressed at (x1, y1), the pointer moved with it held to (x2, y2) and
    // released there. Not available unless the target says so.
    virtual plat::HRESULT Drag(int /*x1*/, int /*y1*/, int /*x2*/, int /*y2*/) { return plat::E_NOTIMPL; }

    // ---- running ----
    // Moves the clock on by ms, running the timers that fall due on the way.
    virtual plat::HRESULT AdvanceClock(std::int64_t ms) = 0;
    // The next dialog or message box is answered: the texts go into its edit boxes in
    // order, then `answer` (a button id) ends it.
    virtual plat::HRESULT AnswerNextModal(int answer, const std::vector<plat::String>& texts) = 0;
    // Dialogs and message boxes that ran with nobody to answer them, so far.
    virtual int UnansweredModalCount() = 0;
    // Lets the control handle what the last line left waiting: input, timers due, painting.
    virtual void Settle() = 0;
    // The window is closed as its user would close it; the host ends once the script has
    // run. Without a screen there is no window to close and the run ends with its script.
    virtual plat::HRESULT CloseWindow() { return plat::S_OK; }

    // ---- output ----
    // The host window's picture as painted now; null when there is none.
    virtual std::unique_ptr<plat::Bitmap> Picture() = 0;
};

} // namespace host
