// Native files holding records no editor writes, built by the tests' own builder: what
// opening makes of them, and that saving never writes such a record back. Each file is
// also a fixture of tests/fixtures/native, so that the fixture walk reads it too.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "document/doc_body.h"
#include "document/ql_doc.h"
#include "document/text_item.h"
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

std::vector<std::uint8_t> BodyRecord(CDocBody& body)
{
    return testsupport::WrittenBy([&](plat::Archive& ar) { body.Save(ar, kArchiveFile); });
}

std::vector<std::uint16_t> ItemTypes(CDocBody& body)
{
    std::vector<std::uint16_t> types;
    for (int i = 0; i < body.GetCount(); ++i) types.push_back(body.GetItem(i)->GetNodeType());
    return types;
}

std::vector<std::int32_t> AnnotationAuthors(CQlDoc& doc)
{
    std::vector<std::int32_t> authors;
    for (int i = 0; i < doc.GetAnnotations().GetCount(); ++i) authors.push_back(doc.GetAnnotations().GetAt(i)->m_author);
    return authors;
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

// Records the format forbids. Where its rules refuse them the file is refused; where they
// are silent and refusing would lose a document the user could otherwise open, the reader
// makes the record one the format allows, and what it made saves and reads back unchanged.
TEST(NativeRecords, ForbiddenRecordsAreNormalisedOrRefused)
{
    using B = NativeFileBuilder;
    constexpr std::uint16_t kFinal = kItemFinalParaEnd;
    struct Case {
        const char* fixture; // under tests/fixtures/native: pass/ opens, fail/ is refused
        Bytes bytes;
        // What the opened document holds; asked again of the document its save reads back as.
        std::function<void(CQlDoc&)> check;
    };
    const Case cases[] = {
        {"pass/control_characters_as_items.qln",
         B().Chars(kItemWestern, u"a").Char(kItemWestern, 0x07).Char(kItemSpace, u'\t').Char(kItemCjk, 0x1F)
             .Char(kItemWestern, 0x0D).Chars(kItemWestern, u"b").Build(),
         [](CQlDoc& doc) {
             CDocBody& body = *doc.GetBody();
             EXPECT_EQ(body.GetText(0, body.GetCount()), u"ab");
             EXPECT_EQ(ItemTypes(body), (std::vector<std::uint16_t>{kItemWestern, kItemWestern, kFinal}));
         }},
        {"pass/items_of_the_wrong_type.qln",
         B().Char(kItemCjk, u'a').Char(kItemWestern, u'中').Char(kItemSpace, u'x').Char(kItemDigit, u'。')
             .Char(kItemCjkClose, u'1').Char(kItemFullStop, u' ').Char(kItemWesternOpen, u'.').Build(),
         [](CQlDoc& doc) {
             CDocBody& body = *doc.GetBody();
             EXPECT_EQ(body.GetText(0, body.GetCount()), u"a中x。1 .");
             EXPECT_EQ(ItemTypes(body), (std::vector<std::uint16_t>{kItemWestern, kItemCjk, kItemWestern, kItemCjkClose,
                                                                   kItemDigit, kItemSpace, kItemFullStop, kFinal}));
         }},
        {"pass/names_that_are_not_guids.qln",
         B().BodyName(u"../../etc/x").Chars(kItemWestern, u"a").ParaEnd(kItemParaEnd, u"../../etc/y")
             .Chars(kItemWestern, u"b").Build(),
         [](CQlDoc& doc) {
             CDocBody& body = *doc.GetBody();
             EXPECT_TRUE(testsupport::IsGuidForm(plat::Utf16ToUtf8(body.GetName()))) << plat::Utf16ToUtf8(body.GetName());
             EXPECT_EQ(body.GetCaretPos().m_name, body.GetName()) << "the caret counts in the renamed body";
             EXPECT_EQ(body.FindContainer(body.GetCaretPos()), &body);
             auto* end = dynamic_cast<CParaEndItem*>(body.GetItem(1));
             ASSERT_NE(end, nullptr);
             EXPECT_TRUE(testsupport::IsGuidForm(plat::Utf16ToUtf8(end->GetName()))) << plat::Utf16ToUtf8(end->GetName());
             EXPECT_EQ(body.GetText(0, body.GetCount()), u"a\nb");
         }},
        {"pass/annotation_authors_out_of_range.qln",
         B().Author(7, u"甲").Author(9, u"乙").Annotation(1, u"有").Annotation(2, u"越界").Annotation(-1, u"负")
             .Annotation(99, u"远").Chars(kItemWestern, u"a").Build(),
         [](CQlDoc& doc) {
             EXPECT_EQ(AnnotationAuthors(doc), (std::vector<std::int32_t>{1, 0, 0, 0}));
             ASSERT_EQ(doc.GetAnnotations().GetCount(), 4);
             EXPECT_EQ(doc.GetAnnotations().GetAt(3)->m_text, u"远");
         }},
        // The body is the file's last section: bytes after it are not part of a document.
        {"fail/bytes_after_the_body.qln",
         B().Chars(kItemWestern, u"ab").Trailer(Bytes{'j', 'u', 'n', 'k'}).Build(), nullptr},
    };
    const fs::path saved = fs::path(plat::TempDirUtf8()) / "native_record_saved.qln";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fixture);
        ExpectFixture(c.fixture, c.bytes);
        CQlDoc doc;
        doc.FileNew();
        const int opened = Open(doc, c.bytes);
        if (!c.check) {
            EXPECT_EQ(opened, 0);
            EXPECT_TRUE(doc.GetBody()->IsEmpty());
            EXPECT_EQ(doc.GetAuthors().GetCount(), 1);
            EXPECT_EQ(doc.GetAnnotations().GetCount(), 0);
            continue;
        }
        ASSERT_EQ(opened, 1);
        c.check(doc);
        ASSERT_EQ(doc.FileSave(plat::Utf8ToUtf16(saved.string())), 1);
        CQlDoc again;
        ASSERT_EQ(again.FileOpen(plat::Utf8ToUtf16(saved.string()), false), 1);
        c.check(again);
        EXPECT_EQ(BodyRecord(*again.GetBody()), BodyRecord(*doc.GetBody()));
        EXPECT_EQ(AnnotationAuthors(again), AnnotationAuthors(doc));
    }
    // Without what was wrong, the same builder's file opens: each refusal is for its fault.
    CQlDoc doc;
    EXPECT_EQ(Open(doc, NativeFileBuilder().Chars(kItemWestern, u"ab").Build()), 1);
    EXPECT_EQ(doc.GetBody()->GetText(0, doc.GetBody()->GetCount()), u"ab");
}

} // namespace
