#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <optional>
#include <set>
#include <string>
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

// A process killed before its exit handlers ran leaves its private folder behind; the next
// private folder made in the same place removes it, and only folders that are surely such
// leftovers: ours by name, of a process that is gone, owned by us, mode 0700, not a link.
TEST(System, PrivateTempDirsOfGoneProcessesAreRemoved)
{
    namespace fs = std::filesystem;
    const std::string base = plat::TempDirUtf8() + "stale-temp-dirs/";
    fs::remove_all(base);
    fs::create_directories(base);
    const std::string outside = plat::TempDirUtf8() + "stale-temp-dirs-outside";
    testsupport::WriteFile(outside, {1, 2, 3});

    const pid_t gone = testsupport::GonePid();
    ASSERT_GT(gone, 0);
    const std::string g = std::to_string(gone);
    enum class Kind { kFolder, kOpenFolder, kFile, kLink, kForeignFolder };
    struct Case {
        std::string name;
        Kind kind;
        bool removed;
    } cases[] = {
        {"quiln-" + g + "-a1B2c3", Kind::kFolder, true},
        {"quiln-" + std::to_string(::getpid()) + "-a1B2c3", Kind::kFolder, false}, // alive
        {"quiln-1-a1B2c3", Kind::kFolder, false},                                 // init, alive
        {"other-" + g + "-a1B2c3", Kind::kFolder, false},
        {"quiln-" + g + "-abc", Kind::kFolder, false},
        {"quiln-" + g + "x-a1B2c3", Kind::kFolder, false},
        {"quiln-a1B2c3", Kind::kFolder, false}, // no PID in the name
        {"quiln-" + g + "-open00", Kind::kOpenFolder, false},
        {"quiln-" + g + "-file00", Kind::kFile, false},
        {"quiln-" + g + "-link00", Kind::kLink, false},
        {"quiln-" + g + "-other0", Kind::kForeignFolder, false},
    };
    const std::string linkTarget = base + "link-target";
    fs::create_directories(linkTarget);
    ::chmod(linkTarget.c_str(), 0700);
    testsupport::WriteFile(linkTarget + "/inside", {4});
    std::vector<const Case*> made;
    for (const Case& c : cases) {
        const std::string path = base + c.name;
        switch (c.kind) {
        case Kind::kFolder:
        case Kind::kOpenFolder:
        case Kind::kForeignFolder:
            ASSERT_EQ(::mkdir(path.c_str(), 0700), 0) << c.name;
            ::chmod(path.c_str(), c.kind == Kind::kOpenFolder ? 0755 : 0700);
            testsupport::WriteFile(path + "/inside", {5});
            fs::create_symlink(outside, path + "/link-out");
            if (c.kind == Kind::kForeignFolder && (::geteuid() != 0 || ::chown(path.c_str(), 65534, 65534) != 0)) {
                fs::remove_all(path); // only root can give a folder to another user
                continue;
            }
            break;
        case Kind::kFile: testsupport::WriteFile(path, {6}); break;
        case Kind::kLink: fs::create_directory_symlink(linkTarget, path); break;
        }
        made.push_back(&c);
    }

    const std::string mine = plat::MakePrivateTempDir(base);
    for (const Case* c : made) EXPECT_EQ(fs::exists(fs::symlink_status(base + c->name)), !c->removed) << c->name;
    EXPECT_EQ(testsupport::ReadFile(outside).size(), 3u) << "links inside a removed folder are not followed";
    EXPECT_EQ(testsupport::ReadFile(linkTarget + "/inside").size(), 1u);
    EXPECT_EQ(mine.rfind(base + "quiln-" + std::to_string(::getpid()) + "-", 0), 0u) << mine;
    struct stat st{};
    ASSERT_EQ(::stat(mine.c_str(), &st), 0);
    EXPECT_TRUE(S_ISDIR(st.st_mode));
    EXPECT_EQ(st.st_mode & 07777, 0700u);

    // A process killed outright: its folder stays until the next one is made.
    const testsupport::ChildProcess child = testsupport::ForkWithPipe([&](int toParent) {
        const std::string dir = plat::MakePrivateTempDir(base);
        testsupport::WriteFile(dir + "media.bin", {7, 7});
        if (::write(toParent, dir.data(), dir.size()) < 0) return 2;
        ::close(toParent);
        ::raise(SIGKILL);
        return 3;
    });
    ASSERT_GT(child.pid, 0);
    char buffer[512] = {};
    const ssize_t n = ::read(child.fromChild, buffer, sizeof buffer - 1);
    ::close(child.fromChild);
    ::waitpid(child.pid, nullptr, 0);
    ASSERT_GT(n, 0);
    const std::string killed(buffer);
    EXPECT_TRUE(fs::exists(killed + "media.bin"));
    const std::string next = plat::MakePrivateTempDir(base);
    EXPECT_FALSE(fs::exists(killed)) << killed;
    EXPECT_TRUE(fs::exists(mine)) << "this process's own folder stays";
    EXPECT_TRUE(fs::exists(next));
    fs::remove_all(base);
    fs::remove(outside);
}

TEST(System, UserDataDirFollowsTheXdgVariables)
{
    struct Case {
        std::optional<std::string> data, home;
        std::string expected;
    };
    const Case cases[] = {
        {"/data/", "/home/u", "/data/quiln"},
        {"relative/data", "/home/u", "/home/u/.local/share/quiln"},
        {"", "/home/u", "/home/u/.local/share/quiln"},
        {std::nullopt, "/home/u/", "/home/u/.local/share/quiln"},
    };
    for (const Case& c : cases) {
        testsupport::EnvVar data("XDG_DATA_HOME", c.data), home("HOME", c.home);
        EXPECT_EQ(plat::UserDataDir(), c.expected);
    }
}

TEST(System, MakeFoldersMakesPrivateFoldersAndLeavesExistingOnesAlone)
{
    namespace fs = std::filesystem;
    const std::string base = plat::MakePrivateTempDir(plat::TempDirUtf8());
    ::chmod(base.c_str(), 0755);
    const std::string deep = base + "a/b/c";
    ASSERT_TRUE(plat::MakeFolders(deep));
    for (const std::string& dir : {base + "a", base + "a/b", deep}) {
        struct stat st{};
        ASSERT_EQ(::stat(dir.c_str(), &st), 0) << dir;
        EXPECT_EQ(st.st_mode & 07777, 0700u) << dir;
    }
    struct stat st{};
    ASSERT_EQ(::stat(base.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0755u);
    EXPECT_TRUE(plat::MakeFolders(deep + "/")); // again: nothing to do
    EXPECT_TRUE(plat::FolderIsWritable(deep));
    EXPECT_FALSE(plat::FolderIsWritable(base + "absent"));
    EXPECT_FALSE(plat::FolderIsWritable(""));

    // A file in the way is refused, not taken for a folder.
    std::ofstream(base + "file") << "x";
    EXPECT_FALSE(plat::MakeFolders(base + "file"));
    EXPECT_FALSE(plat::MakeFolders(base + "file/below"));
    fs::remove_all(base);
}
