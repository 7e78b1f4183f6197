// Timers on the process's one clock (platform/base/system.h): a window or any other owner
// sets a timer by id with a period and a callback; a timer whose time has come runs when
// the event loop pumps (RunDueTimers), or, under a manual clock, as a test advances the
// clock through its time (AdvanceClock). Timers run on the thread that pumps them.
#pragma once
#include <cstdint>
#include <functional>
#include <optional>

namespace plat {

using TimerCallback = std::function<void()>;

// Sets the owner's timer `id` to run every periodMs (at least 1) from now; setting it
// again restarts it with the new period and callback.
void SetTimer(const void* owner, unsigned id, std::int64_t periodMs, TimerCallback callback);
// False when the owner had no such timer.
bool KillTimer(const void* owner, unsigned id);
// Every timer of the owner goes (a window that is destroyed).
void KillTimers(const void* owner);
bool IsTimerSet(const void* owner, unsigned id);
// When the next timer falls due (clock milliseconds); nothing without timers.
std::optional<std::int64_t> NextTimerDue();
// Runs, once each, the timers whose time has come by the clock, the earliest first; a
// timer overdue by several periods runs once, as a message loop coalesces them. Returns
// how many ran.
int RunDueTimers();
// A manual clock moves on by ms, and every timer that falls due on the way runs at its
// time, as often as its period fits. False (nothing runs) without a manual clock.
bool AdvanceClock(std::int64_t ms);
// No timers (a test's clean-up).
void ResetTimers();

} // namespace plat
