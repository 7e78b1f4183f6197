// The screen: a real, resizable window that shows a picture (a top-level window tree as
// RenderWindowTree or a host paints it) and reports keyboard, text input, mouse, wheel,
// resizing and closing as plain events of our own. It knows nothing of what it shows.
// Several may be open at once (a dialog over the main window): each reports only its own
// window's events. A message box of the window system's can be shown over one.
// Built on SDL2 when the build found it; without it Open refuses and says why.
#pragma once
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/base/geometry.h"
#include "platform/base/strings.h"

namespace plat {

class Bitmap;
class DesktopClipboard;

// A message box of the window system's: its buttons, left to right, each with the id it
// answers with.
struct ScreenMessageBox {
    enum class Icon { kNone, kError, kWarning, kInformation };
    String caption;
    String text;
    Icon icon = Icon::kNone;
    struct Button {
        int id = 0;
        String label;
    };
    std::vector<Button> buttons;
    int defaultButton = 0; // Enter presses it
    int escapeButton = 0;  // Esc presses it (0: none)
};

enum class DisplayEventKind {
    kKey,         // virtualKey, down, textElsewhere
    kText,        // text: typed or committed by an input method
    kComposition, // text: what an input method is composing (empty when it ends)
    kMouse,       // message (WM_MOUSEMOVE ... WM_MOUSEWHEEL), point, keyFlags, wheelDelta
    kResize,      // size: the new client size
    kExposed,     // the window must be shown again
    kClose,       // the user closed the window
};

struct DisplayEvent {
    DisplayEventKind kind = DisplayEventKind::kExposed;
    int virtualKey = 0;
    bool down = false;
    // The key's character comes as a kText event of its own, so the key makes none.
    bool textElsewhere = false;
    String text;
    unsigned message = 0;
    Point point;           // client coordinates
    unsigned keyFlags = 0; // MK_* of the mouse messages
    int wheelDelta = 0;    // 120 a notch, positive away from the user
    Size size;
};

class Display {
public:
    // Opens the window with the given client size; null, with the reason in *error, when
    // there is no screen (no SDL2 in this build, no display server).
    static std::unique_ptr<Display> Open(const std::string& title, Size clientSize, std::string* error);
    virtual ~Display() = default;

    virtual Size ClientSize() const = 0;
    // Shows the picture at the top left of the window (grey where it does not reach).
    virtual bool Show(const Bitmap& picture) = 0;

    // Waits up to timeoutMs (negative: as long as it takes) for something to happen and
    // returns every event of this window that is waiting, in order; empty when the time ran
    // out or what came was for another window (which keeps it for its own WaitEvents).
    virtual std::vector<DisplayEvent> WaitEvents(int timeoutMs) = 0;
    // Where an input method shows what it composes: the caret, in client coordinates.
    virtual void SetTextInputRect(const Rect& caret) = 0;
    // The mouse cursor: a system cursor id (kIdcArrow ...); others show the arrow.
    virtual void SetCursor(int cursorId) = 0;

    // Scripted input. It goes into the window system's own queue as the events a real
    // keyboard and mouse make, so it reaches the window the same way: a character of the US
    // layout as its key (with Shift when it needs it) and its text, any other character as
    // an input method's committed text. WaitEvents returns it.
    virtual bool InjectText(StringView text) = 0;
    // A key pressed and released with modifiers (kModShift | kModCtrl | kModAlt); false for
    // a key the keyboard has no counterpart of.
    virtual bool InjectKey(int virtualKey, unsigned modifiers) = 0;
    // The pointer moves to the point and the button (left, or right) is clicked once or twice.
    virtual bool InjectClick(bool right, bool twice, Point at) = 0;
    virtual bool InjectClose() = 0;

    // Shows the box over this window and waits for the user; the id of the button pressed
    // (closing the box presses the escape button, else the default one); nullopt, with the
    // reason in *error, when it cannot be shown.
    virtual std::optional<int> ShowMessageBox(const ScreenMessageBox& box, std::string* error) = 0;

    // The window's content as the display server has it now (not the picture last shown):
    // null, with the reason in *error, when it cannot be read.
    virtual std::unique_ptr<Bitmap> Screenshot(std::string* error) = 0;

    // The desktop's clipboard, for Unicode text to and from other programs; SDL answers
    // their requests while WaitEvents runs.
    virtual DesktopClipboard& GetDesktopClipboard() = 0;
};

} // namespace plat
