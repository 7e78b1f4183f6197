#include "platform/base/process.h"

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <gtest/gtest.h>
#include <unistd.h>

#include "platform/base/system.h"

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

bool Listed(pid_t pid)
{
    const auto children = plat::ListChildProcesses();
    return std::any_of(children.begin(), children.end(), [pid](const plat::ChildProcess& c) { return c.pid == pid; });
}

} // namespace

TEST(ProcessService, ArgumentsArriveWholeAndExitCodesComeBack)
{
    const fs::path dir = fs::path(plat::TempDirUtf8()) / "process args";
    fs::create_directories(dir);
    // No shell: the spaces and the quote stay inside the one argument.
    const fs::path file = dir / "a b 'c'.txt";
    EXPECT_EQ(plat::RunProgramAndWait({"touch", file.string()}), 0);
    EXPECT_TRUE(fs::exists(file));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);

    struct Case {
        std::vector<std::string> argv;
        int code;
    };
    const Case cases[] = {
        {{"true"}, 0},
        {{"false"}, 1},
        {{"no-such-program-of-quiln"}, -1},
        {{""}, -1},
        {{"sh", "-c", "kill -SEGV $$"}, -1}, // crashed: no exit code
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.argv[0]);
        EXPECT_EQ(plat::RunProgramAndWait(c.argv), c.code);
    }
    EXPECT_TRUE(plat::ListChildProcesses().empty());
}

TEST(ProcessService, OnlyOwnChildrenAreListedWaitedForAndEnded)
{
    const pid_t a = plat::StartProgram({"sleep", "30"});
    const pid_t b = plat::StartProgram({"/bin/sleep", "30"});
    ASSERT_GT(a, 0);
    ASSERT_GT(b, 0);
    EXPECT_TRUE(Listed(a));
    EXPECT_TRUE(Listed(b));
    EXPECT_EQ(plat::WaitProgram(a, 20ms).state, plat::ChildState::kRunning);

    // Not ours: our own parent, and this process.
    EXPECT_FALSE(plat::EndProgram(::getppid()));
    EXPECT_FALSE(plat::EndProgram(::getpid()));
    EXPECT_EQ(plat::WaitProgram(::getppid(), 1ms).state, plat::ChildState::kUnknown);

    // By name: both, whatever folder started them, and ASCII case is ignored.
    EXPECT_EQ(plat::EndProgramsNamed("other"), 0);
    EXPECT_EQ(plat::EndProgramsNamed("SLEEP"), 2);
    EXPECT_FALSE(Listed(a));
    EXPECT_FALSE(Listed(b));
    // Reaped: no such process remains.
    EXPECT_NE(::kill(a, 0), 0);
    EXPECT_NE(::kill(b, 0), 0);

    const pid_t c = plat::StartProgram({"sleep", "30"});
    EXPECT_TRUE(plat::EndProgram(c));
    EXPECT_FALSE(plat::EndProgram(c)) << "already ended";
    EXPECT_TRUE(plat::ListChildProcesses().empty());
}

TEST(ProcessService, AForkedRunHandsItsResultBackOrIsReportedAndReaped)
{
    struct Case {
        const char* name;
        std::function<bool(void*)> work;
        plat::ForkedRun::State state;
    };
    const Case cases[] = {
        {"fills the block", [](void* shared) { std::memcpy(shared, "result", 7); return true; },
         plat::ForkedRun::State::kDone},
        {"reports failure", [](void*) { return false; }, plat::ForkedRun::State::kFailed},
        {"crashes", [](void*) { ::raise(SIGSEGV); return true; }, plat::ForkedRun::State::kFailed},
        {"outlives its limit", [](void*) { for (;;) ::pause(); return true; }, plat::ForkedRun::State::kFailed},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto run = plat::ForkedRun::Start(c.work, 16, 1s);
        ASSERT_NE(run, nullptr);
        EXPECT_EQ(run->Wait(3s), c.state);
        if (c.state == plat::ForkedRun::State::kDone) {
            EXPECT_STREQ(static_cast<const char*>(run->Shared()), "result");
        }
    }

    // One given up while still running is killed and reaped when it goes.
    pid_t child = 0;
    {
        auto run = plat::ForkedRun::Start([](void* shared) {
            *static_cast<pid_t*>(shared) = ::getpid();
            for (;;) ::pause();
            return true;
        }, sizeof(pid_t), 30s);
        ASSERT_NE(run, nullptr);
        EXPECT_EQ(run->Wait(50ms), plat::ForkedRun::State::kRunning);
        for (int i = 0; i < 200 && child == 0; ++i) {
            child = *static_cast<volatile pid_t*>(run->Shared());
            if (child == 0) ::usleep(5000);
        }
        ASSERT_GT(child, 0);
    }
    EXPECT_NE(::kill(child, 0), 0);
}
