#include "platform/ui/timer.h"

#include <algorithm>
#include <vector>

#include "platform/base/system.h"

namespace plat {

namespace {

struct Timer {
    const void* owner;
    unsigned id;
    std::int64_t period;
    std::int64_t due;
    TimerCallback callback;
};

std::vector<Timer>& Timers()
{
    static std::vector<Timer> timers;
    return timers;
}

auto Find(const void* owner, unsigned id)
{
    auto& timers = Timers();
    return std::find_if(timers.begin(), timers.end(),
                        [&](const Timer& t) { return t.owner == owner && t.id == id; });
}

// The earliest timer due at or before `now`; null when none is.
Timer* EarliestDue(std::int64_t now)
{
    Timer* best = nullptr;
    for (Timer& t : Timers())
        if (t.due <= now && (!best || t.due < best->due)) best = &t;
    return best;
}

// Runs the timer's callback: it is copied first, since a callback may set or kill timers.
void Fire(Timer& timer, std::int64_t nextDue)
{
    timer.due = nextDue;
    TimerCallback callback = timer.callback;
    if (callback) callback();
}

} // namespace

void SetTimer(const void* owner, unsigned id, std::int64_t periodMs, TimerCallback callback)
{
    const std::int64_t period = std::max<std::int64_t>(periodMs, 1);
    const std::int64_t due = NowMs() + period;
    auto it = Find(owner, id);
    if (it != Timers().end()) {
        it->period = period;
        it->due = due;
        it->callback = std::move(callback);
        return;
    }
    Timers().push_back(Timer{owner, id, period, due, std::move(callback)});
}

bool KillTimer(const void* owner, unsigned id)
{
    auto it = Find(owner, id);
    if (it == Timers().end()) return false;
    Timers().erase(it);
    return true;
}

void KillTimers(const void* owner)
{
    std::erase_if(Timers(), [owner](const Timer& t) { return t.owner == owner; });
}

bool IsTimerSet(const void* owner, unsigned id)
{
    return Find(owner, id) != Timers().end();
}

std::optional<std::int64_t> NextTimerDue()
{
    std::optional<std::int64_t> next;
    for (const Timer& t : Timers())
        if (!next || t.due < *next) next = t.due;
    return next;
}

int RunDueTimers()
{
    const std::int64_t now = NowMs();
    // Each timer due now runs once; those it sets or restarts wait for the next pump.
    std::vector<std::pair<const void*, unsigned>> due;
    for (const Timer& t : Timers())
        if (t.due <= now) due.emplace_back(t.owner, t.id);
    std::sort(due.begin(), due.end(), [](const auto& a, const auto& b) {
        return Find(a.first, a.second)->due < Find(b.first, b.second)->due;
    });
    int ran = 0;
    for (const auto& [owner, id] : due) {
        auto it = Find(owner, id);
        if (it == Timers().end() || it->due > now) continue; // killed or restarted meanwhile
        Fire(*it, now + it->period);
        ++ran;
    }
    return ran;
}

bool AdvanceClock(std::int64_t ms)
{
    const std::int64_t target = NowMs() + std::max<std::int64_t>(ms, 0);
    if (!AdvanceManualClock(0)) return false;
    for (;;) {
        Timer* timer = EarliestDue(target);
        if (!timer) break;
        // The clock stands at the timer's time while it runs.
        SetManualClock(timer->due);
        Fire(*timer, timer->due + timer->period);
    }
    SetManualClock(target);
    return true;
}

void ResetTimers()
{
    Timers().clear();
}

} // namespace plat
