#include "platform/ui/focus.h"

#include "platform/ui/message_queue.h"
#include "platform/ui/window.h"

namespace plat {

namespace {

struct Caret {
    Window* owner = nullptr;
    Size size;
    Point position;
    int hideCount = 0; // shown when 0
};

struct InputState {
    Window* focus = nullptr;
    Window* capture = nullptr;
    Caret caret;
    int cursor = kIdcArrow;
    Point cursorPos;
};

InputState& State()
{
    static InputState state;
    return state;
}

// The caret may be worked on by its owner, or by a caller naming no window.
bool OwnsCaret(const Window* window)
{
    const Caret& caret = State().caret;
    return caret.owner && (!window || window == caret.owner);
}

} // namespace

Window* SetFocus(Window* window)
{
    InputState& s = State();
    if (window && !window->IsCreated()) return nullptr;
    Window* old = s.focus;
    if (old == window) return old;
    if (old) {
        // While the old window hears of it, nobody has the focus; when its handler gives the
        // focus elsewhere, that stands and the window first asked for is not told.
        s.focus = nullptr;
        SendMessage(old, kWmKillFocus, reinterpret_cast<WParam>(window));
        if (s.focus) return old;
    }
    s.focus = window;
    if (window) SendMessage(window, kWmSetFocus, reinterpret_cast<WParam>(old));
    return old;
}

Window* GetFocus()
{
    return State().focus;
}

Window* SetCapture(Window* window)
{
    InputState& s = State();
    if (window && !window->IsCreated()) return nullptr;
    Window* old = s.capture;
    s.capture = window;
    if (old && old != window) SendMessage(old, kWmCaptureChanged, 0, reinterpret_cast<LParam>(window));
    return old;
}

Window* GetCapture()
{
    return State().capture;
}

bool ReleaseCapture()
{
    InputState& s = State();
    Window* old = s.capture;
    if (!old) return false;
    s.capture = nullptr;
    SendMessage(old, kWmCaptureChanged, 0, 0);
    return true;
}

bool CreateCaret(Window* owner, int width, int height)
{
    if (!owner || !owner->IsCreated()) return false;
    State().caret = Caret{owner, Size(width, height), Point(), 1};
    return true;
}

bool DestroyCaret()
{
    if (!State().caret.owner) return false;
    State().caret = Caret();
    return true;
}

bool ShowCaret(Window* window)
{
    if (!OwnsCaret(window)) return false;
    Caret& caret = State().caret;
    if (caret.hideCount > 0) --caret.hideCount;
    return true;
}

bool HideCaret(Window* window)
{
    if (!OwnsCaret(window)) return false;
    ++State().caret.hideCount;
    return true;
}

bool SetCaretPos(Point position)
{
    if (!State().caret.owner) return false;
    State().caret.position = position;
    return true;
}

Point GetCaretPos()
{
    return State().caret.position;
}

CaretState GetCaretState()
{
    const Caret& caret = State().caret;
    CaretState state;
    if (!caret.owner) return state;
    state.owner = caret.owner;
    state.rect = Rect(caret.position.x, caret.position.y, caret.position.x + caret.size.cx,
                      caret.position.y + caret.size.cy);
    state.visible = caret.hideCount == 0;
    return state;
}

int SetCursor(int cursorId)
{
    const int old = State().cursor;
    State().cursor = cursorId;
    return old;
}

int GetCursor()
{
    return State().cursor;
}

Point GetCursorPos()
{
    return State().cursorPos;
}

void SetCursorPos(Point screen)
{
    State().cursorPos = screen;
}

bool PostMouseInput(Window& top, unsigned message, Point screen, unsigned keyFlags, int wheelDelta)
{
    InputState& s = State();
    s.cursorPos = screen;
    if (message == kWmMouseWheel) {
        if (!s.focus) return false;
        return PostInputMessage(s.focus, message, MakeWParam(keyFlags, static_cast<unsigned>(wheelDelta)),
                                MakeLParam(screen.x, screen.y));
    }
    Window* target = s.capture ? s.capture : WindowFromPoint(top, screen);
    if (!target) return false;
    if (!s.capture) SendMessage(target, kWmSetCursor, reinterpret_cast<WParam>(target), MakeLParam(kHtClient, static_cast<int>(message)));
    const Point p = target->ScreenToClient(screen);
    return PostInputMessage(target, message, keyFlags, MakeLParam(p.x, p.y));
}

void ForgetInputWindow(const Window* window)
{
    InputState& s = State();
    if (s.focus == window) s.focus = nullptr;
    if (s.capture == window) s.capture = nullptr;
    if (s.caret.owner == window) s.caret = Caret();
}

void ResetInputState()
{
    State() = InputState();
}

} // namespace plat
