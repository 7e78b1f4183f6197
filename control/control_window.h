// What a host does with the control's window, besides calling its members through the
// dispatch interface. The control's library carries its own window kernel, so everything
// that crosses between the host and the library here is plain data: sizes, rectangles,
// results. The host window itself is made by the control on the host's behalf, a plain
// top-level window standing in for the page or application window that embeds it.
#pragma once
#include <cstdint>

#include "platform/base/geometry.h"
#include "platform/com/unknown.h"

// The desktop's clipboard as a host that shows the control on a screen reaches it. Only
// Unicode text crosses, as plain data.
class IDesktopClipboard {
public:
    // Offers the text (UTF-16, `length` code units) to other programs.
    virtual void PutText(const char16_t* text, std::int32_t length) = 0;
    // Copies up to `capacity` code units of the text the desktop's clipboard holds into the
    // buffer and returns the text's whole length; -1 when it holds no text.
    virtual std::int32_t GetText(char16_t* buffer, std::int32_t capacity) = 0;

protected:
    ~IDesktopClipboard() = default;
};

// A dialog of the control's, while the host shows it in a window of its own: its picture,
// the user's input for it and its run. Valid only during IModalSite::RunDialog.
class IModalDialog {
public:
    // The dialog's picture, as IControlWindow::RenderHost gives the host window's.
    virtual plat::HRESULT Render(std::int32_t* width, std::int32_t* height, std::uint32_t* pixels,
                                 std::int32_t stride) = 0;
    // Input for the dialog, as IControlWindow's: keys and text go to its focus control, the
    // mouse to the window under a point of the dialog's picture (its frame included).
    virtual plat::HRESULT KeyInput(std::int32_t virtualKey, bool down, bool textElsewhere) = 0;
    virtual plat::HRESULT TypeText(const char16_t* text, std::int32_t length) = 0;
    virtual plat::HRESULT MouseInput(std::uint32_t message, std::int32_t x, std::int32_t y, std::uint32_t keyFlags,
                                     std::int32_t wheelDelta) = 0;
    // Handles what waits, as IControlWindow::Pump; S_FALSE when nothing ran.
    virtual plat::HRESULT Pump(std::int32_t* dispatched) = 0;
    // True once the dialog has ended (a button of its own ended it); the host then closes
    // its window.
    virtual bool IsEnded() = 0;
    // The caret of an edit box of the dialog, in its picture's coordinates; S_FALSE when none
    // shows.
    virtual plat::HRESULT GetCaretRect(plat::Rect* rect) = 0;

protected:
    ~IModalDialog() = default;
};

// What the host does for the control when a dialog or message box opens that no queued
// answer takes: shows it to the user and returns what the user did. Plain data only.
class IModalSite {
public:
    // Shows a message box with the caption, the text and the buttons (ids 1 OK, 2 Cancel,
    // 3 Abort, 4 Retry, 5 Ignore, 6 Yes, 7 No) in their order, `defaultButton` pressed by
    // Enter; `style` holds the box's icon flags. Returns the id of the button pressed; 0
    // when the box could not be shown.
    virtual std::int32_t ShowMessageBox(const char16_t* caption, std::int32_t captionLength, const char16_t* text,
                                        std::int32_t textLength, std::uint32_t style, const std::int32_t* buttons,
                                        std::int32_t count, std::int32_t defaultButton) = 0;
    // Shows the dialog in a window of its own with the title and feeds it the user's input
    // until it ends, then closes that window. S_OK when the dialog ended, S_FALSE when the
    // user closed its window instead (the control cancels it), E_FAIL when it could not be
    // shown.
    virtual plat::HRESULT RunDialog(const char16_t* title, std::int32_t titleLength, IModalDialog& dialog) = 0;

protected:
    ~IModalSite() = default;
};

class IControlWindow : public plat::Unknown {
public:
    // Defined here, so that a host built apart from the library knows it too.
    static const plat::Guid& Iid()
    {
        static const plat::Guid id = plat::Guid::FromText(u"{6B1E04C2-3F5A-4D8E-9C21-7A0D5E3B1F10}");
        return id;
    }
    // Makes the host window of the given client size and the control's window over all of
    // it, with the editor's frame inside; the control's window takes the focus. E_UNEXPECTED when the window exists already,
    // E_FAIL when it cannot be made (the frame's creation failed).
    virtual plat::HRESULT CreateInHost(std::int32_t width, std::int32_t height) = 0;
    // Resizes the host window; the control's window and the frame follow it.
    virtual plat::HRESULT ResizeHost(std::int32_t width, std::int32_t height) = 0;
    // Destroys the control's window (the frame goes with it) and the host window.
    virtual plat::HRESULT DestroyInHost() = 0;
    // The client rectangles of the control's window and of the frame, in the control's
    // client coordinates; E_UNEXPECTED when there is no frame.
    virtual plat::HRESULT GetWindowRects(plat::Rect* control, plat::Rect* frame) = 0;

    // ---- input, as the host window receives it ----
    // Each is queued for the control's focus window (the mouse for the window under the
    // point) and handled by the next Pump. E_UNEXPECTED when there is no frame.
    //
    // A key goes down or up (a virtual key, VK_*); the modifiers follow from the keys held.
    // textElsewhere: the key's character comes through TypeText (the host's text input or an
    // input method), so the key makes none itself.
    virtual plat::HRESULT KeyInput(std::int32_t virtualKey, bool down, bool textElsewhere) = 0;
    // A key pressed and released with modifiers held (1 Shift, 2 Ctrl, 4 Alt).
    virtual plat::HRESULT PressKey(std::int32_t virtualKey, std::uint32_t modifiers) = 0;
    // Typed text, UTF-16.
    virtual plat::HRESULT TypeText(const char16_t* text, std::int32_t length) = 0;
    // A mouse message (WM_MOUSEMOVE, WM_LBUTTONDOWN ... WM_MOUSEWHEEL) at a point of the host
    // window's client area, with the key flags (MK_*) and, for the wheel, the delta (120 a
    // notch, positive away from the user).
    virtual plat::HRESULT MouseInput(std::uint32_t message, std::int32_t x, std::int32_t y, std::uint32_t keyFlags,
                                     std::int32_t wheelDelta) = 0;

    // ---- running ----
    // Handles what waits: posted messages and input, timers that are due, painting. Sets
    // *dispatched (when given) to how many messages ran; S_FALSE when nothing ran.
    virtual plat::HRESULT Pump(std::int32_t* dispatched) = 0;
    // Milliseconds until the next timer falls due (0 when one is due), -1 without timers.
    virtual plat::HRESULT NextTimerDelay(std::int64_t* ms) = 0;
    // From now on the control's clock stands still at startMs (milliseconds since the epoch)
    // until AdvanceClock moves it, so that a script runs the same every time; timers fall due
    // only as the clock is advanced. E_UNEXPECTED once the clock is a manual one.
    virtual plat::HRESULT UseManualClock(std::int64_t startMs) = 0;
    // Moves the manual clock on by ms and runs every timer due on the way, then pumps.
    // E_UNEXPECTED without a manual clock; E_INVALIDARG for a negative ms.
    virtual plat::HRESULT AdvanceClock(std::int64_t ms) = 0;
    // Answers the next dialog or message box that runs: the texts go into the dialog's edit
    // boxes that can be typed into (enabled and shown), in their order (a message box takes
    // none), then `answer` ends it (a button id:
    // 1 OK, 2 Cancel, 6 Yes, 7 No ...). A box or dialog that no answer was queued for fails
    // at once, as one that could not be shown.
    virtual plat::HRESULT AnswerNextModal(std::int32_t answer, const char16_t* const* texts,
                                          const std::int32_t* lengths, std::int32_t count) = 0;
    // From now on dialogs and message boxes that no queued answer takes are shown through
    // the site (null: nobody shows them, and they fail at once as before). The site must
    // outlive the connection; the control drops it when its window is destroyed.
    virtual plat::HRESULT SetModalSite(IModalSite* site) = 0;
    // Dialogs and message boxes that ran with nobody to answer them, since the control was
    // made.
    virtual plat::HRESULT GetUnansweredModalCount(std::int32_t* count) = 0;

    // ---- output ----
    // The host window's picture as painted now (pending painting is done first): its width
    // and height, and when pixels is given, its rows from the top, `stride` pixels apart,
    // each pixel 0x00RRGGBB. E_INVALIDARG when stride is less than the width.
    virtual plat::HRESULT RenderHost(std::int32_t* width, std::int32_t* height, std::uint32_t* pixels,
                                     std::int32_t stride) = 0;
    // The caret in the host window's client coordinates, for an input method's candidate
    // window: the window system's caret when one shows (an edit box's), else the document's
    // caret as the page canvas last painted it; S_FALSE (and an empty rectangle) when no
    // caret shows. The host window's picture holds the document's caret already.
    virtual plat::HRESULT GetCaretRect(plat::Rect* rect) = 0;
    // The cursor the control asks for now: a system cursor id (IDC_*) or a resource id.
    virtual plat::HRESULT GetCursorId(std::int32_t* id) = 0;

    // ---- the desktop's clipboard ----
    // From now on Unicode text goes between the control's clipboard and the desktop's
    // through `clipboard` (not owned; it must outlive the connection); null disconnects,
    // and so does DestroyInHost.
    virtual plat::HRESULT ConnectDesktopClipboard(IDesktopClipboard* clipboard) = 0;
};
