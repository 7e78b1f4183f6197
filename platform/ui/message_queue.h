// Sending and posting messages, the thread's message queue and the host's message loop.
//
// Sent messages run the window's procedure at once. Posted messages wait in the queue, oldest
// first, for the loop; input (keys, typed text, the mouse) waits in its own queue behind
// them, so that the character a key-down makes comes before the key-up. The loop takes a
// posted message when there is one; else input; else, once both are empty, a pending quit;
// else a WM_PAINT for a visible window that needs painting (parents before children). Timers run as their time comes (timer.h). Each message taken
// passes the pre-translate hooks of its window and the window's ancestors (innermost first;
// one that returns true swallows it), then keyboard translation (keyboard.h), then its window.
#pragma once
#include <cstddef>
#include <optional>

#include "platform/ui/message.h"

namespace plat {

// Runs the window's procedure now; 0 for a null or destroyed window.
LResult SendMessage(Window* window, unsigned message, WParam wParam = 0, LParam lParam = 0);
// Queues the message; false for a window that is not created.
bool PostMessage(Window* window, unsigned message, WParam wParam = 0, LParam lParam = 0);

// Queues input from the keyboard or the mouse (keyboard.h and focus.h do this).
bool PostInputMessage(Window* window, unsigned message, WParam wParam, LParam lParam);

// Peek/remove filter: window null takes any window's messages; first..last (both 0: all)
// limits the message numbers.
struct MessageFilter {
    Window* window = nullptr;
    unsigned first = 0;
    unsigned last = 0;
    bool Matches(const Message& m) const;
};
// The first queued message that matches (posted ones before input), removed from the queue
// when remove is set. Only queued messages are looked at (no paint, quit or timer).
std::optional<Message> PeekMessage(const MessageFilter& filter, bool remove);
// How many queued messages match.
std::size_t CountQueuedMessages(const MessageFilter& filter = {});

// The loop asks to end with the exit code, once the messages queued before are handled.
void PostQuitMessage(int exitCode);

// Takes and dispatches messages, and runs due timers, until nothing is left to do now:
// the queue is empty, no window needs painting and no timer is due. Stops before a quit and
// leaves it pending. Returns how many messages it dispatched.
std::size_t PumpMessages();
// The same for one message; false when there was nothing to do (or a quit is pending).
bool PumpOneMessage();
// Runs the loop until a quit arrives and returns its exit code. Between messages it waits
// for the next timer under the real clock; when nothing can arrive any more (an empty queue
// and no timer that the clock will bring) it returns nothing.
std::optional<int> RunMessageLoop();

// The hooks, translation and dispatch of one message, as the loop does it.
void DispatchFromLoop(Message message);
// The window's queued messages go (a window that is destroyed).
void DropQueuedMessages(const Window* window);
// Empties the queue and forgets a pending quit (a test's clean-up).
void ResetMessageQueue();

} // namespace plat
