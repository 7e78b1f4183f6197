// Keyboard focus, mouse capture, the caret, the cursor and mouse input, one of each for the
// UI thread.
#pragma once
#include "platform/base/geometry.h"
#include "platform/ui/message.h"

namespace plat {

// Gives the keyboard focus to the window (null: to none) and returns the window that had it.
// The old window gets WM_KILLFOCUS naming the new one, then the new one WM_SETFOCUS naming
// the old one. Giving it to the window that has it sends nothing; an uncreated window does
// not take it (nothing changes, null is returned).
Window* SetFocus(Window* window);
Window* GetFocus();

// The mouse goes to the window, wherever it is, until released. Returns the previous
// holder, which gets WM_CAPTURECHANGED naming the new one.
Window* SetCapture(Window* window);
Window* GetCapture();
// The holder gets WM_CAPTURECHANGED (lParam 0); false when nobody held the capture.
bool ReleaseCapture();

// The caret: one for the thread, owned by a window. Created hidden; each HideCaret needs a
// ShowCaret to undo it. Only the owner (or null, meaning the owner) shows and hides it.
bool CreateCaret(Window* owner, int width, int height);
bool DestroyCaret();
bool ShowCaret(Window* window);
bool HideCaret(Window* window);
bool SetCaretPos(Point position); // client coordinates of the owner
Point GetCaretPos();
struct CaretState {
    Window* owner = nullptr; // null: no caret
    Rect rect;               // in the owner's client coordinates
    bool visible = false;    // shown and not hidden
};
CaretState GetCaretState();

// The mouse cursor: a system cursor (kIdcArrow ...) or an application's cursor resource id.
// Returns the previous one.
int SetCursor(int cursorId);
int GetCursor();
// Where the mouse is on the screen: the point of the last mouse input (PostMouseInput), or
// where SetCursorPos put it. Setting it sends nothing.
Point GetCursorPos();
void SetCursorPos(Point screen);

// Mouse input over a tree, as the screen delivers it: the message goes to the window that
// holds the capture, else to the deepest visible window under the screen point, with the
// point in its client coordinates; a window that is not captured first gets WM_SETCURSOR.
// The wheel goes to the focus window with the screen point and the delta. Posted; false
// when no window takes it.
bool PostMouseInput(Window& top, unsigned message, Point screen, unsigned keyFlags = 0, int wheelDelta = 0);

// A window that goes gives up the focus, the capture and the caret it held; sends nothing.
void ForgetInputWindow(const Window* window);
// Forgets focus, capture, caret and cursor (a test's clean-up); sends nothing.
void ResetInputState();

} // namespace plat
