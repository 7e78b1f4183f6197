#include "platform/ui/modal.h"

#include <algorithm>
#include <deque>
#include <mutex>

namespace plat {

namespace {

std::mutex g_lock;
ModalHandler g_handler;
std::deque<ModalHandler> g_queued;
std::deque<ModalRecord> g_log;
std::size_t g_unanswered = 0;

} // namespace

int RunModal(ModalRecord run)
{
    run.answer = 0;
    run.answered = false;
    // The answerers run outside the lock: they may fill in a dialog, show a box of their
    // own or queue further answers.
    ModalHandler next;
    ModalHandler handler;
    {
        std::lock_guard<std::mutex> l(g_lock);
        if (!g_queued.empty()) {
            next = std::move(g_queued.front());
            g_queued.pop_front();
        }
        handler = g_handler;
    }
    std::optional<int> answer;
    if (next) answer = next(run);
    if (!answer && handler) answer = handler(run);
    if (run.settle)
        if (std::optional<int> ended = run.settle()) answer = ended;

    run.window = nullptr;
    run.menu = nullptr;
    run.settle = nullptr;
    run.answered = answer.has_value();
    run.answer = answer ? *answer : kModalFailed;
    if (run.answered && !run.buttons.empty() &&
        std::find(run.buttons.begin(), run.buttons.end(), run.answer) == run.buttons.end())
        run.answer = run.defaultAnswer;
    const int result = run.answer;
    std::lock_guard<std::mutex> l(g_lock);
    if (!run.answered) ++g_unanswered;
    g_log.push_back(std::move(run));
    if (g_log.size() > kModalLogSize) g_log.pop_front();
    return result;
}

void AnswerNextModal(ModalHandler handler)
{
    std::lock_guard<std::mutex> l(g_lock);
    g_queued.push_back(std::move(handler));
}

void AnswerNextModal(int answer)
{
    AnswerNextModal([answer](const ModalRecord&) -> std::optional<int> { return answer; });
}

std::size_t PendingModalAnswers()
{
    std::lock_guard<std::mutex> l(g_lock);
    return g_queued.size();
}

void ClearModalAnswers()
{
    std::lock_guard<std::mutex> l(g_lock);
    g_queued.clear();
}

void SetModalHandler(ModalHandler handler)
{
    std::lock_guard<std::mutex> l(g_lock);
    g_handler = std::move(handler);
}

std::vector<ModalRecord> GetModalLog()
{
    std::lock_guard<std::mutex> l(g_lock);
    return std::vector<ModalRecord>(g_log.begin(), g_log.end());
}

std::size_t UnansweredModalCount()
{
    std::lock_guard<std::mutex> l(g_lock);
    return g_unanswered;
}

void ClearModalLog()
{
    std::lock_guard<std::mutex> l(g_lock);
    g_log.clear();
    g_unanswered = 0;
}

int RunOkCancelDialog(StringView caption)
{
    ModalRecord run;
    run.kind = ModalKind::kDialog;
    run.caption = String(caption);
    run.buttons = {1, 2};
    run.defaultAnswer = 2;
    return RunModal(std::move(run));
}

} // namespace plat
