// The one clock and the timers on it: seconds follow milliseconds, timers run at their
// periods as a test advances the clock by hand, never before, and not once killed.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/base/system.h"
#include "platform/ui/timer.h"

namespace {

class Timers : public testing::Test {
protected:
    void SetUp() override { plat::SetManualClock(kStart); }
    void TearDown() override
    {
        plat::ResetTimers();
        plat::SetClockSource({});
    }
    static constexpr std::int64_t kStart = 1'700'000'000'000; // milliseconds
    std::vector<std::string> m_log;
    int m_owner = 0; // its address names the owner of the timers
};

TEST_F(Timers, SecondsFollowTheMillisecondClock)
{
    struct Row {
        std::int64_t ms;
        std::int64_t seconds;
    };
    const Row rows[] = {{0, 0}, {999, 0}, {1000, 1}, {1'700'000'000'999, 1'700'000'000}, {-1, -1}, {-1000, -1}, {-1001, -2}};
    for (const Row& r : rows) {
        plat::SetManualClock(r.ms);
        EXPECT_EQ(plat::NowMs(), r.ms);
        EXPECT_EQ(plat::Now(), r.seconds) << r.ms;
    }
    plat::SetManualClock(5000);
    EXPECT_TRUE(plat::AdvanceManualClock(2500));
    EXPECT_EQ(plat::NowMs(), 7500);
    // The real clock cannot be moved by hand, and it runs.
    plat::SetClockSource({});
    EXPECT_FALSE(plat::AdvanceManualClock(1000));
    EXPECT_FALSE(plat::AdvanceClock(1000));
    EXPECT_GT(plat::Now(), 1'600'000'000);
}

TEST_F(Timers, RunAtTheirPeriodsAsTheClockIsAdvanced)
{
    plat::SetTimer(&m_owner, 1, 250, [&] { m_log.push_back("a@" + std::to_string(plat::NowMs() - kStart)); });
    plat::SetTimer(&m_owner, 2, 400, [&] { m_log.push_back("b@" + std::to_string(plat::NowMs() - kStart)); });
    EXPECT_EQ(plat::NextTimerDue(), kStart + 250);

    plat::AdvanceClock(249);
    EXPECT_TRUE(m_log.empty()) << "nothing before its period";
    plat::AdvanceClock(751);
    EXPECT_EQ(m_log, (std::vector<std::string>{"a@250", "b@400", "a@500", "a@750", "b@800", "a@1000"}));
    EXPECT_EQ(plat::NowMs(), kStart + 1000);

    // Killed: it runs no more; the other one goes on.
    m_log.clear();
    EXPECT_TRUE(plat::KillTimer(&m_owner, 1));
    EXPECT_FALSE(plat::KillTimer(&m_owner, 1));
    plat::AdvanceClock(500);
    EXPECT_EQ(m_log, (std::vector<std::string>{"b@1200"}));

    // Set again: it restarts from now with the new period.
    m_log.clear();
    plat::SetTimer(&m_owner, 2, 100, [&] { m_log.push_back("c"); });
    plat::AdvanceClock(99);
    EXPECT_TRUE(m_log.empty());
    plat::AdvanceClock(1);
    EXPECT_EQ(m_log, std::vector<std::string>{"c"});
    plat::KillTimers(&m_owner);
    EXPECT_FALSE(plat::IsTimerSet(&m_owner, 2));
    EXPECT_EQ(plat::NextTimerDue(), std::nullopt);
}

TEST_F(Timers, APumpRunsEachDueTimerOnceAndCallbacksMayKillTimers)
{
    int other = 0;
    plat::SetTimer(&m_owner, 1, 100, [&] {
        m_log.push_back("first");
        plat::KillTimer(&other, 1); // due too, but killed before its turn
    });
    plat::SetTimer(&other, 1, 150, [&] { m_log.push_back("other"); });
    EXPECT_EQ(plat::RunDueTimers(), 0);
    plat::AdvanceManualClock(1000); // overdue by many periods
    EXPECT_EQ(plat::RunDueTimers(), 1);
    EXPECT_EQ(m_log, std::vector<std::string>{"first"});
    EXPECT_EQ(plat::NextTimerDue(), kStart + 1100);
    // A timer that kills itself while running.
    plat::SetTimer(&m_owner, 3, 10, [&] { plat::KillTimer(&m_owner, 3); m_log.push_back("once"); });
    plat::AdvanceClock(50);
    EXPECT_EQ(std::count(m_log.begin(), m_log.end(), "once"), 1);
}

} // namespace
