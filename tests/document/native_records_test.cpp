// Native files holding records no editor writes, built by the tests' own builder: what
// opening makes of them, and that saving never writes such a record back. Each file is
// also a fixture of tests/fixtures/native, so that the fixture walk reads it too.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "document/ql_doc.h"
#include "media/media_store.h"
#include "platform/base/system.h"
#include "tests/support/native_file_builder.h"
#include "tests/support/test_support.h"

namespace {

namespace fs = std::filesystem;
using testsupport::Bytes;
using testsupport::NativeFileBuilder;
using testsupport::ReadFile;
using testsupport::WriteFile;

// The fixture tests/fixtures/native/<relative> must hold exactly the built bytes, so that
// the fixture walk reads what the test reads. With QUILN_NATIVE_FIXTURES_OUT naming a
// folder (scripts/make-fixtures names tests/fixtures/native) the file is written there
// instead.
void ExpectFixture(const std::string& relative, const Bytes& bytes)
{
    if (const char* out = std::getenv("QUILN_NATIVE_FIXTURES_OUT")) {
        const fs::path file = fs::path(out) / relative;
        fs::create_directories(file.parent_path());
        WriteFile(file.string(), bytes);
        return;
    }
    const char* root = std::getenv("QUILN_FIXTURES");
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(ReadFile((fs::path(root) / "native" / relative).string()), bytes)
        << relative << " differs from what the builder makes: run scripts/make-fixtures";
}

int Open(CQlDoc& doc, const Bytes& bytes)
{
    const fs::path file = fs::path(plat::TempDirUtf8()) / "native_record.qln";
    WriteFile(file.string(), bytes);
    return doc.FileOpen(plat::Utf8ToUtf16(file.string()), false);
}

// Links a player would open: a local path stored as a link opens as a link entry without
// a path, so nothing of this machine is handed to a player as the document's media.
TEST(NativeRecords, MediaLinksThatNameLocalFilesOpenWithoutAPath)
{
    const Bytes file = NativeFileBuilder()
                           .Link(NativeFileBuilder::kVideos, u"live", MEDIA_KIND_RTSP, u"rtsp://server/live")
                           .Link(NativeFileBuilder::kVideos, u"shadow", MEDIA_KIND_HTTP, u"/etc/shadow")
                           .Link(NativeFileBuilder::kVideos, u"passwd", MEDIA_KIND_RTSP, u"../../../../etc/passwd")
                           .Link(NativeFileBuilder::kAudio, u"song", MEDIA_KIND_HTTP, u"http://server/song.mp3")
                           .Link(NativeFileBuilder::kAudio, u"share", MEDIA_KIND_HTTP, u"\\\\server\\share\\x.wav")
                           .Build();
    ExpectFixture("pass/media_links_to_local_files.qln", file);

    CQlDoc doc;
    ASSERT_EQ(Open(doc, file), 1);
    ASSERT_EQ(doc.GetVideoStore().GetCount(), 3);
    ASSERT_EQ(doc.GetAudioStore().GetCount(), 2);
    EXPECT_EQ(doc.GetVideoStore().GetFilePath(u"live"), u"rtsp://server/live");
    EXPECT_EQ(doc.GetVideoStore().GetFilePath(u"shadow"), u"");
    EXPECT_EQ(doc.GetVideoStore().GetFilePath(u"passwd"), u"");
    EXPECT_EQ(doc.GetAudioStore().GetFilePath(u"song"), u"http://server/song.mp3");
    EXPECT_EQ(doc.GetAudioStore().GetFilePath(u"share"), u"");
    // The dropped links are link entries still, with no working copy behind them.
    for (plat::StringView key : {u"shadow", u"passwd"}) {
        const CMediaStoreEntry* entry = doc.GetVideoStore().Find(key);
        ASSERT_NE(entry, nullptr);
        EXPECT_FALSE(entry->IsLocal());
        EXPECT_EQ(entry->GetInfo().GetUrl(), u"");
    }
}

} // namespace
