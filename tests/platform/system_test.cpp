#include <gtest/gtest.h>

#include <set>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/base/system.h"
#include "tests/support/test_support.h"

TEST(System, GuidsAreLowerCaseWithoutBracesAndReplaceable)
{
    std::set<plat::String> seen;
    for (int i = 0; i < 100; ++i) {
        plat::String g = plat::NewGuid();
        ASSERT_TRUE(testsupport::IsGuidForm(plat::Utf16ToUtf8(g))) << plat::Utf16ToUtf8(g);
        seen.insert(g);
    }
    EXPECT_EQ(seen.size(), 100u);

    int n = 0;
    plat::SetGuidSource([&] { return plat::Format(u"00000000-0000-0000-0000-%012d", ++n); });
    EXPECT_EQ(plat::NewGuid(), u"00000000-0000-0000-0000-000000000001");
    EXPECT_EQ(plat::NewGuid(), u"00000000-0000-0000-0000-000000000002");
    plat::SetGuidSource(nullptr);
    EXPECT_NE(plat::NewGuid(), u"00000000-0000-0000-0000-000000000003");
}

TEST(System, ClockAndRandomCanBePinned)
{
    plat::SetManualClock(std::int64_t(1234567890) * 1000);
    EXPECT_EQ(plat::Now(), 1234567890);
    plat::SetClockSource(nullptr);
    EXPECT_GT(plat::Now(), 1600000000);

    // The generator is the classic linear congruential one: seed 1 starts 41, 18467, 6334.
    plat::RandomSeed(1);
    EXPECT_EQ(plat::RandomNext(), 41);
    EXPECT_EQ(plat::RandomNext(), 18467);
    EXPECT_EQ(plat::RandomNext(), 6334);
    plat::SetRandomSource([] { return 777; });
    EXPECT_EQ(plat::RandomNext(), 777);
    plat::SetRandomSource(nullptr);
    for (int i = 0; i < 1000; ++i) {
        int v = plat::RandomNext();
        ASSERT_GE(v, 0);
        ASSERT_LE(v, 32767);
    }
}

TEST(System, TempDirIsPrivateAndModuleDirIsAbsolute)
{
    std::string dir = plat::TempDirUtf8();
    ASSERT_FALSE(dir.empty());
    EXPECT_EQ(dir.back(), '/');
    EXPECT_EQ(dir, plat::TempDirUtf8()); // one folder per process
    struct stat st{};
    ASSERT_EQ(stat(dir.c_str(), &st), 0);
    EXPECT_TRUE(S_ISDIR(st.st_mode));
    EXPECT_EQ(st.st_mode & 0777, 0700u);

    std::string module = plat::Utf16ToUtf8(plat::ModuleDir());
    ASSERT_FALSE(module.empty());
    EXPECT_EQ(module.front(), '/');
    EXPECT_NE(module.back(), '/');
    ASSERT_EQ(stat(module.c_str(), &st), 0);
    EXPECT_TRUE(S_ISDIR(st.st_mode));
}

TEST(System, TempDirIsRemovedAtExit)
{
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        close(fds[0]);
        std::string dir = plat::TempDirUtf8();
        std::string file = dir + "left-over";
        FILE* f = fopen(file.c_str(), "w");
        if (f) fclose(f);
        if (write(fds[1], dir.data(), dir.size()) < 0) _exit(2);
        close(fds[1]);
        std::exit(0); // runs the exit handlers
    }
    close(fds[1]);
    char buf[512] = {};
    ssize_t n = read(fds[0], buf, sizeof buf - 1);
    close(fds[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    ASSERT_GT(n, 0);
    struct stat st{};
    EXPECT_NE(stat(buf, &st), 0) << buf << " still exists";
}
