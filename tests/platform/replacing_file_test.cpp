#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <dirent.h>
#include <filesystem>
#include <fstream>
#include <limits>
#include <random>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

#include "platform/base/system.h"
#include "platform/file/archive.h"
#include "platform/file/replacing_file.h"
#include "tests/support/test_support.h"

namespace {

std::string Slurp(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

int CountEntries(const std::string& folder)
{
    int n = 0;
    if (DIR* d = opendir(folder.c_str())) {
        while (dirent* e = readdir(d)) n += e->d_name[0] != '.';
        closedir(d);
    }
    return n;
}

std::string FreshFolder(const char* name)
{
    std::string folder = plat::TempDirUtf8() + name;
    mkdir(folder.c_str(), 0700);
    return folder + "/";
}

} // namespace

TEST(ReplacingFile, CommitReplacesAndKeepsPermissions)
{
    // A scratch file is committed like any other; only the sync to the disk is left out.
    for (plat::FileDurability durability : {plat::FileDurability::kSynced, plat::FileDurability::kScratch}) {
        SCOPED_TRACE(durability == plat::FileDurability::kSynced ? "synced" : "scratch");
        std::string folder = FreshFolder(durability == plat::FileDurability::kSynced ? "replace-commit" : "replace-scratch");
        std::string target = folder + "doc.qln";
        { std::ofstream(target) << "old"; }
        chmod(target.c_str(), 0640);

        plat::ReplacingFile out;
        ASSERT_TRUE(out.Open(plat::Utf8ToUtf16(target)));
        {
            plat::StdioStream stream(out.Stdio());
            plat::Archive ar(stream, plat::Archive::kStore);
            ar << std::int32_t(0x64636261);
            ar.Close();
        }
        EXPECT_EQ(Slurp(target), "old"); // untouched until the commit
        EXPECT_EQ(CountEntries(folder), 2);
        ASSERT_TRUE(out.Commit(durability));
        EXPECT_EQ(Slurp(target), "abcd");
        EXPECT_EQ(CountEntries(folder), 1);
        struct stat st{};
        ASSERT_EQ(stat(target.c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 0777, 0640u);
        EXPECT_FALSE(out.Commit(durability)) << "nothing left to commit";
    }
}

TEST(ReplacingFile, AbandonedOrFailedWritesLeaveTheOldFile)
{
    std::string folder = FreshFolder("replace-abandon");
    std::string target = folder + "doc.qln";
    { std::ofstream(target) << "old"; }
    {
        plat::ReplacingFile out;
        ASSERT_TRUE(out.Open(plat::Utf8ToUtf16(target)));
        std::fputs("half-written", out.Stdio());
    } // destroyed without a commit
    EXPECT_EQ(Slurp(target), "old");
    EXPECT_EQ(CountEntries(folder), 1);

    plat::ReplacingFile nowhere;
    EXPECT_FALSE(nowhere.Open(u"/nonexistent-folder/doc.qln"));
    EXPECT_FALSE(nowhere.Commit());
    EXPECT_FALSE(nowhere.Open(plat::Utf8ToUtf16(folder))); // a folder is not a file name

    // A target that is a folder: the rename fails and the new file is removed.
    std::string sub = folder + "sub";
    mkdir(sub.c_str(), 0700);
    std::string inner = sub + "/x";
    { std::ofstream(inner) << "x"; }
    plat::ReplacingFile onFolder;
    ASSERT_TRUE(onFolder.Open(plat::Utf8ToUtf16(sub)));
    EXPECT_FALSE(onFolder.Commit());
    EXPECT_EQ(CountEntries(folder), 2); // doc.qln and sub, no stray new file
    EXPECT_EQ(Slurp(inner), "x");
}

// A save killed at any moment leaves the target whole, old or new, and the next save of
// that target removes the new file the killed one left beside it. The child writes a large
// file in chunks and tells the parent when it reaches a chosen one; the parent kills it
// then (the child waiting there) or after a random while (the child going on, through
// the commit or not).
TEST(ReplacingFile, KilledSavesLeaveTheTargetWholeAndTheNextSaveClearsUp)
{
    std::string folder = FreshFolder("replace-killed");
    std::string target = folder + "doc.qln";
    const std::size_t kChunk = 64 * 1024;
    const int kChunks = 32;
    auto content = [&](char fill) { return std::string(kChunk * kChunks + static_cast<std::size_t>(fill), fill); };
    auto save = [&](const std::string& bytes) {
        plat::ReplacingFile out;
        return out.Open(plat::Utf8ToUtf16(target)) &&
               std::fwrite(bytes.data(), 1, bytes.size(), out.Stdio()) == bytes.size() && out.Commit();
    };
    // Kills that do not wait fall anywhere up to one and a half times a whole save's time
    // (the fastest of three) after the mark, so that some land in the commit or after it.
    int saveMicros = std::numeric_limits<int>::max();
    for (int i = 0; i < 3; ++i) {
        const auto start = std::chrono::steady_clock::now();
        ASSERT_TRUE(save(content('a')));
        saveMicros = std::min(saveMicros, static_cast<int>(std::chrono::duration_cast<std::chrono::microseconds>(
                                                               std::chrono::steady_clock::now() - start)
                                                               .count()));
    }
    std::mt19937 rng(20240607);
    int killedMidSave = 0;
    for (int round = 0; round < 20; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        const std::string old = Slurp(target);
        const char fill = old[0] == 'a' ? 'b' : 'a';
        const int signalAt = std::uniform_int_distribution<int>(0, kChunks - 1)(rng);
        const bool waitThere = round % 2 == 0;
        const auto delay = std::chrono::microseconds(std::uniform_int_distribution<int>(0, saveMicros * 3 / 2)(rng));
        const testsupport::ChildProcess child = testsupport::ForkWithPipe([&](int toParent) {
            const std::string bytes = content(fill);
            plat::ReplacingFile out;
            if (!out.Open(plat::Utf8ToUtf16(target))) return 3;
            for (int i = 0; i < kChunks; ++i) {
                std::fwrite(bytes.data() + i * kChunk, 1, i + 1 == kChunks ? bytes.size() - i * kChunk : kChunk,
                            out.Stdio());
                if (i == signalAt) {
                    std::fflush(out.Stdio());
                    if (::write(toParent, "!", 1) != 1) return 4;
                    if (waitThere) ::pause();
                }
            }
            return out.Commit() ? 0 : 5;
        });
        ASSERT_GT(child.pid, 0);
        char mark = 0;
        const ssize_t got = ::read(child.fromChild, &mark, 1);
        ::close(child.fromChild);
        if (!waitThere) std::this_thread::sleep_for(delay);
        ::kill(child.pid, SIGKILL);
        ::waitpid(child.pid, nullptr, 0);
        ASSERT_EQ(got, 1) << "the child did not reach its mark";
        const std::string now = Slurp(target);
        EXPECT_TRUE(now == old || now == content(fill)) << "a target of " << now.size() << " bytes";
        killedMidSave += CountEntries(folder) > 1;

        // The next save of the target leaves nothing but the target beside it.
        ASSERT_TRUE(save(now));
        EXPECT_EQ(CountEntries(folder), 1);
    }
    EXPECT_GT(killedMidSave, 0) << "no round killed a save before its commit";
}

// Only the leftovers of this target's saves by processes that are gone are removed: not
// those of a live process, of another file, of another owner, nor anything that is not a
// regular file.
TEST(ReplacingFile, OnlyStaleNewFilesOfTheTargetAreRemoved)
{
    std::string folder = FreshFolder("replace-stale");
    std::string target = folder + "doc.qln";
    { std::ofstream(target) << "old"; }
    const std::string gone = std::to_string(testsupport::GonePid());
    const std::string live = std::to_string(::getppid());
    struct Case {
        std::string name;
        bool removed;
        enum { kFile, kFolder, kLink, kForeign } kind = kFile;
    } cases[] = {
        {"doc.qln.~" + gone + "-1", true},
        {"doc.qln.~" + gone + "-27", true},
        {"doc.qln.~" + live + "-1", false},
        {"other.qln.~" + gone + "-1", false},
        {"doc.qln.~" + gone + "-", false},
        {"doc.qln.~" + gone + "-1x", false},
        {"doc.qln.~x" + gone + "-1", false},
        {"doc.qln~" + gone + "-1", false},
        {"doc.qln.~" + gone + "-2", false, Case::kFolder},
        {"doc.qln.~" + gone + "-3", false, Case::kLink},
        {"doc.qln.~" + gone + "-4", false, Case::kForeign},
    };
    std::vector<const Case*> made;
    for (const Case& c : cases) {
        const std::string path = folder + c.name;
        if (c.kind == Case::kFolder) {
            ASSERT_EQ(::mkdir(path.c_str(), 0700), 0);
        } else if (c.kind == Case::kLink) {
            ASSERT_EQ(::symlink(target.c_str(), path.c_str()), 0);
        } else {
            { std::ofstream(path) << "left"; }
            if (c.kind == Case::kForeign && (::geteuid() != 0 || ::chown(path.c_str(), 65534, 65534) != 0)) {
                ::unlink(path.c_str()); // only root can give a file to another user
                continue;
            }
        }
        made.push_back(&c);
    }
    plat::ReplacingFile out;
    ASSERT_TRUE(out.Open(plat::Utf8ToUtf16(target)));
    std::fputs("new", out.Stdio());
    ASSERT_TRUE(out.Commit());
    struct stat st{};
    for (const Case* c : made) EXPECT_EQ(::lstat((folder + c->name).c_str(), &st) != 0, c->removed) << c->name;
    EXPECT_EQ(Slurp(target), "new");
}

// What a save does to the file it replaces: a file that could not be written in place is
// refused and left as it was; a writable one is replaced and keeps its mode bits; a link
// is followed and the file it names is replaced in its own folder, the link left a link.
TEST(ReplacingFile, SaveTargetsReadOnlyModesAndLinks)
{
    std::string folder = FreshFolder("replace-targets");
    std::string elsewhere = FreshFolder("replace-targets-elsewhere");
    const mode_t oldMask = ::umask(077); // the modes are kept whatever the mask
    enum class Setup { kFile, kLink, kRelativeLink, kLinkToLink, kDanglingLink, kLinkLoop };
    struct Case {
        const char* what;
        Setup setup;
        mode_t mode;     // of the file (the real one, where the target is a link)
        bool saved;
    } cases[] = {
        {"read-only", Setup::kFile, 0444, false},
        {"read-only to the owner alone", Setup::kFile, 0400, false},
        {"read-only, executable", Setup::kFile, 0555, false},
        {"writable", Setup::kFile, 0644, true},
        {"private", Setup::kFile, 0600, true},
        {"group-writable", Setup::kFile, 0664, true},
        {"executable", Setup::kFile, 0755, true},
        {"link", Setup::kLink, 0640, true},
        {"link to a read-only file", Setup::kLink, 0444, false},
        {"relative link", Setup::kRelativeLink, 0604, true},
        {"link to a link", Setup::kLinkToLink, 0660, true},
        {"dangling link", Setup::kDanglingLink, 0644, true},
        {"link loop", Setup::kLinkLoop, 0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::filesystem::remove_all(folder);
        std::filesystem::remove_all(elsewhere);
        ::mkdir(folder.c_str(), 0700);
        ::mkdir(elsewhere.c_str(), 0700);
        const std::string target = folder + "doc.qln";
        std::string real = target; // the file the save should write
        switch (c.setup) {
        case Setup::kFile: break;
        case Setup::kLink: real = elsewhere + "real.qln"; break;
        case Setup::kRelativeLink: real = folder + "sub/real.qln"; break;
        case Setup::kLinkToLink: real = elsewhere + "real.qln"; break;
        case Setup::kDanglingLink: real = elsewhere + "new.qln"; break;
        case Setup::kLinkLoop: real.clear(); break;
        }
        if (c.setup == Setup::kRelativeLink) ::mkdir((folder + "sub").c_str(), 0700);
        if (!real.empty() && c.setup != Setup::kDanglingLink) {
            { std::ofstream(real) << "old"; }
            ASSERT_EQ(::chmod(real.c_str(), c.mode), 0);
        }
        auto link = [](const std::string& to, const std::string& at) { ASSERT_EQ(::symlink(to.c_str(), at.c_str()), 0); };
        switch (c.setup) {
        case Setup::kFile: break;
        case Setup::kLink:
        case Setup::kDanglingLink: link(real, target); break;
        case Setup::kRelativeLink: link("sub/real.qln", target); break;
        case Setup::kLinkToLink:
            link(real, elsewhere + "middle");
            link("../replace-targets-elsewhere/middle", target);
            break;
        case Setup::kLinkLoop:
            link(folder + "other", target);
            link(target, folder + "other");
            break;
        }
        struct stat linkBefore{};
        ::lstat(target.c_str(), &linkBefore);
        const int entriesBefore = CountEntries(folder) + CountEntries(elsewhere);

        plat::ReplacingFile out;
        const bool opened = out.Open(plat::Utf8ToUtf16(target));
        if (opened) std::fputs("new", out.Stdio());
        EXPECT_EQ(opened && out.Commit(), c.saved);

        struct stat st{};
        ASSERT_EQ(::lstat(target.c_str(), &st), 0);
        EXPECT_EQ(S_ISLNK(st.st_mode), S_ISLNK(linkBefore.st_mode)) << "the target stays what it was";
        if (S_ISLNK(st.st_mode)) {
            EXPECT_EQ(st.st_ino, linkBefore.st_ino) << "the link itself is not replaced";
        }
        if (!real.empty()) {
            EXPECT_EQ(Slurp(real), c.saved ? "new" : (c.setup == Setup::kDanglingLink ? "" : "old"));
            ASSERT_EQ(::stat(real.c_str(), &st), 0);
            EXPECT_EQ(st.st_mode & 07777, c.mode);
            EXPECT_TRUE(S_ISREG(st.st_mode));
        }
        EXPECT_EQ(CountEntries(folder) + CountEntries(elsewhere), entriesBefore + (c.setup == Setup::kDanglingLink))
            << "nothing left beside the file";
    }
    ::umask(oldMask);
}

// A file the user has no write permission for is not replaced even where the folder would
// let the user rename over it. Only root can set this up (a file of one user in a folder
// of another): the save runs in a child that has become the unprivileged user.
TEST(ReplacingFile, AnotherUsersFileIsNotReplaced)
{
    if (::geteuid() != 0) GTEST_SKIP() << "needs root to give files to two users";
    const uid_t nobody = 65534;
    std::string folder = "/tmp/replacing-file-test-XXXXXX";
    ASSERT_NE(::mkdtemp(folder.data()), nullptr);
    folder += "/";
    ASSERT_EQ(::chmod(folder.c_str(), 0755), 0);
    ASSERT_EQ(::chown(folder.c_str(), nobody, nobody), 0);
    struct Case {
        const char* name;
        uid_t owner;
        bool saved;
    } cases[] = {{"roots.qln", 0, false}, {"own.qln", nobody, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string target = folder + c.name;
        { std::ofstream(target) << "old"; }
        ASSERT_EQ(::chmod(target.c_str(), 0644), 0);
        ASSERT_EQ(::chown(target.c_str(), c.owner, c.owner), 0);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            if (::setgid(nobody) != 0 || ::setuid(nobody) != 0) ::_exit(3);
            plat::ReplacingFile out;
            if (!out.Open(plat::Utf8ToUtf16(target))) ::_exit(1);
            std::fputs("new", out.Stdio());
            ::_exit(out.Commit() ? 0 : 2);
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFEXITED(status));
        EXPECT_EQ(WEXITSTATUS(status), c.saved ? 0 : 1);
        EXPECT_EQ(Slurp(target), c.saved ? "new" : "old");
        struct stat st{};
        ASSERT_EQ(::stat(target.c_str(), &st), 0);
        EXPECT_EQ(st.st_uid, c.owner);
    }
    EXPECT_EQ(CountEntries(folder), 2);
    std::filesystem::remove_all(folder);
}
