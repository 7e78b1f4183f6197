#include <gtest/gtest.h>

#include <dirent.h>
#include <fstream>
#include <sys/stat.h>

#include "platform/base/system.h"
#include "platform/file/archive.h"
#include "platform/file/replacing_file.h"

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
