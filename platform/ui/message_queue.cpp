#include "platform/ui/message_queue.h"

#include <algorithm>
#include <chrono>
#include <deque>
#include <thread>

#include "platform/base/system.h"
#include "platform/ui/keyboard.h"
#include "platform/ui/timer.h"
#include "platform/ui/window.h"

namespace plat {

namespace {

std::deque<Message>& Queue()
{
    static std::deque<Message> queue;
    return queue;
}

std::deque<Message>& InputQueue()
{
    static std::deque<Message> queue;
    return queue;
}

bool QueuesEmpty()
{
    return Queue().empty() && InputQueue().empty();
}

std::optional<int>& PendingQuit()
{
    static std::optional<int> quit;
    return quit;
}

// The first visible window needing paint, parents before children.
Window* FindWindowToPaint(const std::vector<Window*>& windows)
{
    for (Window* w : windows) {
        if (!w->IsWindowVisible()) continue;
        if (w->NeedsPaint()) return w;
        if (Window* inner = FindWindowToPaint(w->GetChildren())) return inner;
    }
    return nullptr;
}

// The next message the loop handles: posted, else input, else a quit, else a paint.
std::optional<Message> NextMessage()
{
    for (std::deque<Message>* queue : {&Queue(), &InputQueue()}) {
        if (queue->empty()) continue;
        Message m = queue->front();
        queue->pop_front();
        return m;
    }
    if (PendingQuit()) return Message{nullptr, kWmQuit, static_cast<WParam>(*PendingQuit()), 0};
    if (Window* w = FindWindowToPaint(GetTopLevelWindows())) return Message{w, kWmPaint, 0, 0};
    return std::nullopt;
}

// Dispatches; a window that handled its WM_PAINT without painting (the region left as it
// was) is validated, so that the loop does not ask it again and again.
void DispatchPainting(const Message& m)
{
    const bool paint = m.message == kWmPaint && m.window;
    const std::vector<Rect> before = paint ? m.window->GetUpdateRegion() : std::vector<Rect>();
    DispatchFromLoop(m);
    if (paint && m.window->IsCreated() && m.window->GetUpdateRegion() == before) m.window->ValidateRect(nullptr);
}

} // namespace

LResult SendMessage(Window* window, unsigned message, WParam wParam, LParam lParam)
{
    if (!window || !window->m_created) return 0;
    return window->WindowProc(message, wParam, lParam);
}

bool PostMessage(Window* window, unsigned message, WParam wParam, LParam lParam)
{
    if (!window || !window->IsCreated()) return false;
    Queue().push_back(Message{window, message, wParam, lParam});
    return true;
}

bool PostInputMessage(Window* window, unsigned message, WParam wParam, LParam lParam)
{
    if (!window || !window->IsCreated()) return false;
    InputQueue().push_back(Message{window, message, wParam, lParam});
    return true;
}

bool MessageFilter::Matches(const Message& m) const
{
    if (window && m.window != window) return false;
    if (first == 0 && last == 0) return true;
    return m.message >= first && m.message <= last;
}

std::optional<Message> PeekMessage(const MessageFilter& filter, bool remove)
{
    for (std::deque<Message>* queue : {&Queue(), &InputQueue()}) {
        auto it = std::find_if(queue->begin(), queue->end(), [&](const Message& m) { return filter.Matches(m); });
        if (it == queue->end()) continue;
        Message m = *it;
        if (remove) queue->erase(it);
        return m;
    }
    return std::nullopt;
}

std::size_t CountQueuedMessages(const MessageFilter& filter)
{
    std::size_t count = 0;
    for (const std::deque<Message>* queue : {&Queue(), &InputQueue()})
        count += static_cast<std::size_t>(
            std::count_if(queue->begin(), queue->end(), [&](const Message& m) { return filter.Matches(m); }));
    return count;
}

void PostQuitMessage(int exitCode)
{
    PendingQuit() = exitCode;
}

bool PreTranslateAlongTree(Message& message)
{
    for (Window* w = message.window; w; w = w->m_parent)
        if (w->PreTranslateMessage(message)) return true;
    return false;
}

void DispatchFromLoop(Message message)
{
    NoteKeyMessage(message);
    if (!message.window || !message.window->IsCreated()) return;
    if (PreTranslateAlongTree(message)) return;
    TranslateMessage(message);
    SendMessage(message.window, message.message, message.wParam, message.lParam);
}

bool PumpOneMessage()
{
    RunDueTimers();
    if (PendingQuit() && QueuesEmpty()) return false;
    std::optional<Message> m = NextMessage();
    if (!m) return false;
    DispatchPainting(*m);
    return true;
}

std::size_t PumpMessages()
{
    std::size_t dispatched = 0;
    while (PumpOneMessage()) ++dispatched;
    return dispatched;
}

std::optional<int> RunMessageLoop()
{
    for (;;) {
        RunDueTimers();
        std::optional<Message> m = NextMessage();
        if (m && m->message == kWmQuit && !m->window) {
            PendingQuit().reset();
            return static_cast<int>(m->wParam);
        }
        if (m) {
            DispatchPainting(*m);
            continue;
        }
        // Nothing to do now: wait for the next timer, when the clock will bring it.
        const std::optional<std::int64_t> due = NextTimerDue();
        if (!due || AdvanceManualClock(0)) return std::nullopt;
        const std::int64_t wait = *due - NowMs();
        if (wait > 0) std::this_thread::sleep_for(std::chrono::milliseconds(wait));
    }
}

void DropQueuedMessages(const Window* window)
{
    for (std::deque<Message>* queue : {&Queue(), &InputQueue()})
        std::erase_if(*queue, [window](const Message& m) { return m.window == window; });
}

void ResetMessageQueue()
{
    Queue().clear();
    InputQueue().clear();
    PendingQuit().reset();
}

} // namespace plat
