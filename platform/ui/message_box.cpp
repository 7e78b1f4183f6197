#include "platform/ui/message_box.h"

#include <algorithm>
#include <deque>
#include <mutex>

namespace plat {

namespace {

std::mutex g_lock;
MessageBoxHandler g_handler;
std::deque<MessageBoxRecord> g_log;

} // namespace

std::vector<int> MessageBoxButtons(unsigned style)
{
    switch (style & kMbButtonsMask) {
    case kMbOkCancel: return {kIdOk, kIdCancel};
    case kMbAbortRetryIgnore: return {kIdAbort, kIdRetry, kIdIgnore};
    case kMbYesNoCancel: return {kIdYes, kIdNo, kIdCancel};
    case kMbYesNo: return {kIdYes, kIdNo};
    case kMbRetryCancel: return {kIdRetry, kIdCancel};
    default: return {kIdOk};
    }
}

int DefaultMessageBoxAnswer(unsigned style)
{
    const std::vector<int> buttons = MessageBoxButtons(style);
    size_t index = 0;
    if ((style & kMbDefButtonMask) == kMbDefButton2) index = 1;
    else if ((style & kMbDefButtonMask) == kMbDefButton3) index = 2;
    return buttons[index < buttons.size() ? index : 0];
}

int MessageBox(StringView text, StringView caption, unsigned style)
{
    MessageBoxRecord box{String(text), String(caption), style, 0};
    MessageBoxHandler handler;
    {
        std::lock_guard<std::mutex> l(g_lock);
        handler = g_handler;
    }
    int answer = handler ? handler(box) : 0;
    const std::vector<int> buttons = MessageBoxButtons(style);
    if (std::find(buttons.begin(), buttons.end(), answer) == buttons.end())
        answer = DefaultMessageBoxAnswer(style);
    box.answer = answer;
    std::lock_guard<std::mutex> l(g_lock);
    g_log.push_back(std::move(box));
    if (g_log.size() > kMessageBoxLogSize) g_log.pop_front();
    return answer;
}

void SetMessageBoxHandler(MessageBoxHandler handler)
{
    std::lock_guard<std::mutex> l(g_lock);
    g_handler = std::move(handler);
}

std::vector<MessageBoxRecord> GetMessageBoxLog()
{
    std::lock_guard<std::mutex> l(g_lock);
    return std::vector<MessageBoxRecord>(g_log.begin(), g_log.end());
}

void ClearMessageBoxLog()
{
    std::lock_guard<std::mutex> l(g_lock);
    g_log.clear();
}

} // namespace plat
