// Runs the same work in several child processes at once, for tests of what concurrent
// processes leave behind. Each child runs `work` with its index and exits with its result;
// the test fails unless every child exits with 0.
#pragma once
#include <gtest/gtest.h>

#include <functional>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace testsupport {

inline void RunInChildProcesses(int count, const std::function<int(int index)>& work)
{
    std::vector<pid_t> children;
    for (int i = 0; i < count; ++i) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) ::_exit(work(i));
        children.push_back(child);
    }
    for (pid_t child : children) {
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFEXITED(status));
        EXPECT_EQ(WEXITSTATUS(status), 0);
    }
}

} // namespace testsupport
