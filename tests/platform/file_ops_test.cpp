#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <sys/stat.h>

#include "platform/base/system.h"
#include "platform/file/file.h"
#include "platform/file/file_ops.h"
#include "platform/gfx/bitmap.h"
#include "tests/support/fifo_open.h"

namespace {

namespace fs = std::filesystem;

class FileOpsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_dir = fs::path(plat::TempDirUtf8()) / ("file-ops-" + std::to_string(::getpid()));
        fs::create_directories(m_dir);
    }
    void TearDown() override { fs::remove_all(m_dir); }

    plat::String Path(const std::string& name) const { return plat::Utf8ToUtf16((m_dir / name).string()); }
    void Write(const std::string& name, const std::string& bytes) const
    {
        std::ofstream(m_dir / name, std::ios::binary) << bytes;
    }
    std::string Read(const std::string& name) const
    {
        std::ifstream in(m_dir / name, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    fs::path m_dir;
};

TEST_F(FileOpsTest, StatusOfAFile)
{
    Write("a.bin", std::string(4097, 'a'));
    plat::FileStatus status;
    ASSERT_TRUE(plat::GetFileStatus(Path("a.bin"), status));
    struct stat st{};
    ASSERT_EQ(::stat((m_dir / "a.bin").c_str(), &st), 0);
    EXPECT_EQ(status.size, 4097u);
    EXPECT_EQ(status.modified, st.st_mtime);
    EXPECT_NE(status.created, 0) << "the birth time, or the modification time in its place";
    EXPECT_FALSE(plat::GetFileStatus(Path("missing"), status));
}

TEST_F(FileOpsTest, CopyWithAndWithoutReplacing)
{
    Write("src", "source bytes");
    Write("dst", "old");
    EXPECT_FALSE(plat::CopyFile(Path("src"), Path("dst"), true)) << "an existing target stays";
    EXPECT_EQ(Read("dst"), "old");
    EXPECT_TRUE(plat::CopyFile(Path("src"), Path("dst"), false));
    EXPECT_EQ(Read("dst"), "source bytes");
    EXPECT_TRUE(plat::CopyFile(Path("src"), Path("new"), true));
    EXPECT_EQ(Read("new"), "source bytes");
    EXPECT_TRUE(plat::CopyFile(Path("src"), Path("src"), false));
    EXPECT_EQ(Read("src"), "source bytes") << "a file copied onto itself is not emptied";
    EXPECT_FALSE(plat::CopyFile(Path("missing"), Path("other"), true));
    EXPECT_FALSE(fs::exists(m_dir / "other"));
}

TEST_F(FileOpsTest, OnlyRegularFilesAreCopied)
{
    // A pipe with no writer would block a plain read for ever.
    ASSERT_EQ(::mkfifo((m_dir / "pipe").c_str(), 0600), 0);
    EXPECT_FALSE(plat::CopyFile(Path("pipe"), Path("from-pipe"), true));
    fs::create_directories(m_dir / "folder");
    EXPECT_FALSE(plat::CopyFile(Path("folder"), Path("from-folder"), true));
    EXPECT_FALSE(plat::CopyFile(u"/dev/zero", Path("from-device"), true));
    EXPECT_FALSE(fs::exists(m_dir / "from-pipe"));
    EXPECT_FALSE(fs::exists(m_dir / "from-folder"));
    EXPECT_FALSE(fs::exists(m_dir / "from-device"));
}

// Every way the platform opens a file by name refuses a FIFO at once, as it refuses a
// file it cannot read, whether the FIFO has a writer or not; devices are refused alike.
TEST_F(FileOpsTest, PipesAndDevicesAreRefusedWithoutWaiting)
{
    struct Case {
        const char* what;
        std::function<bool(const plat::String&)> open;
    } cases[] = {
        {"File::TryOpen to read", [](const plat::String& p) {
             plat::File f;
             plat::FileException::Cause cause = plat::FileException::kGeneric;
             const bool opened = f.TryOpen(p, plat::File::kRead, &cause);
             EXPECT_TRUE(opened || cause == plat::FileException::kAccessDenied) << "refused as unreadable";
             return opened;
         }},
        {"File::TryOpen to read and write", [](const plat::String& p) {
             plat::File f;
             return f.TryOpen(p, plat::File::kReadWrite);
         }},
        {"File::TryOpen to create", [](const plat::String& p) {
             plat::File f;
             return f.TryOpen(p, plat::File::kWrite | plat::File::kCreate);
         }},
        {"File::Open", [](const plat::String& p) {
             try {
                 plat::File f(p, plat::File::kRead);
                 return true;
             } catch (const plat::FileException& e) {
                 EXPECT_EQ(e.GetCause(), plat::FileException::kAccessDenied);
                 return false;
             }
         }},
        {"CopyFile from it", [this](const plat::String& p) { return plat::CopyFile(p, Path("copy"), false); }},
        {"CopyFile onto it", [this](const plat::String& p) {
             Write("source", "bytes");
             return plat::CopyFile(Path("source"), p, false);
         }},
        {"Bitmap::LoadPng", [](const plat::String& p) { return plat::Bitmap::LoadPng(p) != nullptr; }},
    };
    const std::string fifo = (m_dir / "pipe").string();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        fs::remove(fifo);
        ASSERT_TRUE(testsupport::MakeFifo(fifo));
        for (auto writer : {testsupport::FifoWriter::kNone, testsupport::FifoWriter::kHeldOpen})
            EXPECT_FALSE(testsupport::OpensWithoutWaiting(fifo, writer, [&] { return c.open(plat::Utf8ToUtf16(fifo)); }));
        for (const char* device : {"/dev/null", "/dev/zero"})
            EXPECT_FALSE(c.open(plat::Utf8ToUtf16(device))) << device;
        EXPECT_FALSE(fs::exists(m_dir / "copy"));
    }
}

} // namespace
