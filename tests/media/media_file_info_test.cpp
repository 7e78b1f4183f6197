#include <gtest/gtest.h>

#include <sys/stat.h>

#include "media/media_file_info.h"
#include "tests/media/media_files.h"
#include "tests/support/record_builder.h"

using mediatest::ScratchFolder;
using testsupport::Bytes;
using testsupport::ReadBy;
using testsupport::RecordBuilder;
using testsupport::WrittenBy;

TEST(MediaFileInfo, ExtensionAndBaseNameComeFromTheFileName)
{
    struct Case { const char16_t* path; const char16_t* ext; const char16_t* name; };
    const Case cases[] = {
        {u"/a/b.JPG", u".JPG", u"b"},
        {u"/x/archive.tar.gz", u".gz", u"archive.tar"},
        // Dots in folder names do not make an extension (the working copy's name would
        // otherwise hold a path).
        {u"/a.b/c", u"", u"c"},
        {u"C:\\a.b\\c", u"", u"c"},
        {u"C:\\a\\b.Png", u".Png", u"b"},
        {u"noext", u"", u"noext"},
        {u".hidden", u".hidden", u""},
        {u"a.", u".", u"a"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CMediaFileInfo::ExtensionOf(c.path), c.ext) << plat::Utf16ToUtf8(c.path);
        EXPECT_EQ(CMediaFileInfo::BaseNameOf(c.path), c.name) << plat::Utf16ToUtf8(c.path);
    }
}

TEST(MediaFileInfo, LocalFileStatusAndSameness)
{
    ScratchFolder dir;
    const plat::String path = dir.Write("clip.JPG", std::string(1234, 'x'));
    CMediaFileInfo info(MEDIA_KIND_IMAGE, u"clip", path);
    struct stat st{};
    ASSERT_EQ(::stat(plat::Utf16ToUtf8(path).c_str(), &st), 0);
    EXPECT_EQ(info.GetSize(), 1234);
    EXPECT_EQ(info.GetModifyTime(), static_cast<std::uint32_t>(st.st_mtime));
    EXPECT_NE(info.GetCreateTime(), 0u);
    EXPECT_EQ(info.GetKind(), MEDIA_KIND_IMAGE);
    EXPECT_EQ(info.GetName(), u"clip");
    EXPECT_EQ(info.GetExt(), u".JPG");
    EXPECT_EQ(info.GetFileName(), u"clip.JPG");
    EXPECT_EQ(info.GetSourcePath(), path);
    EXPECT_EQ(info.GetUrl(), u"");
    EXPECT_FALSE(info.IsEmpty());
    EXPECT_FALSE(info.IsLink());

    // The same file by another path and name is the same media.
    mediatest::fs::create_hard_link(dir.Path() / "clip.JPG", dir.Path() / "again.JPG");
    CMediaFileInfo again(MEDIA_KIND_IMAGE, u"again", plat::Utf8ToUtf16((dir.Path() / "." / "again.JPG").string()));
    EXPECT_TRUE(again == info);
    // The same file under another case of extension is not.
    mediatest::fs::create_hard_link(dir.Path() / "clip.JPG", dir.Path() / "lower.jpg");
    EXPECT_FALSE(CMediaFileInfo(MEDIA_KIND_IMAGE, u"lower", plat::Utf8ToUtf16((dir.Path() / "lower.jpg").string())) == info);
    // Nor is another kind, or the file once changed.
    EXPECT_FALSE(CMediaFileInfo(MEDIA_KIND_VIDEO, u"clip", path) == info);
    dir.Write("clip.JPG", std::string(1235, 'x'));
    CMediaFileInfo changed(MEDIA_KIND_IMAGE, u"clip", path);
    EXPECT_FALSE(changed == info);
    info.UpdateStatus(path);
    EXPECT_TRUE(changed == info);

    // A file that is not there has no times and no size.
    CMediaFileInfo missing(MEDIA_KIND_AUDIO, u"gone", plat::Utf8ToUtf16((dir.Path() / "gone.wav").string()));
    EXPECT_EQ(missing.GetSize(), 0);
    EXPECT_EQ(missing.GetCreateTime(), 0u);
    EXPECT_EQ(missing.GetModifyTime(), 0u);
    EXPECT_TRUE(CMediaFileInfo().IsEmpty());
}

TEST(MediaFileInfo, RecordKeepsLinksOnlyForLinkKinds)
{
    CMediaFileInfo link(MEDIA_KIND_HTTP, u"http://host/a.rm");
    EXPECT_TRUE(link.IsHttpLink());
    const Bytes linkBytes = WrittenBy([&](plat::Archive& ar) { link.Save(ar); });
    EXPECT_EQ(linkBytes, RecordBuilder().U32(0).U32(0).I32(0).I32(30).Str(u"").Str(u"").Str(u"http://host/a.rm").Get());
    CMediaFileInfo back;
    EXPECT_EQ(ReadBy(linkBytes, [&](plat::Archive& ar) { back.Load(ar); }), 0u);
    EXPECT_TRUE(back == link);
    EXPECT_EQ(back.GetUrl(), u"http://host/a.rm");

    ScratchFolder dir;
    const plat::String path = dir.Write("s.wav", "RIFF");
    CMediaFileInfo local(MEDIA_KIND_AUDIO, u"s", path);
    const Bytes localBytes = WrittenBy([&](plat::Archive& ar) { local.Save(ar); });
    EXPECT_EQ(localBytes, RecordBuilder()
                              .U32(local.GetCreateTime()).U32(local.GetModifyTime()).I32(4).I32(17)
                              .Str(u"s").Str(u".wav").Get())
        << "no link and no source path";
    CMediaFileInfo loaded(MEDIA_KIND_HTTP, u"http://before");
    EXPECT_EQ(ReadBy(localBytes, [&](plat::Archive& ar) { loaded.Load(ar); }), 0u);
    EXPECT_TRUE(loaded == local);
    EXPECT_EQ(loaded.GetSourcePath(), u"");
    EXPECT_EQ(loaded.GetUrl(), u"") << "the link of the descriptor loaded over is gone";
    EXPECT_EQ(loaded.GetName(), u"s");
}

TEST(MediaFileInfo, NamesThatCouldLeaveTheFolderAreRefused)
{
    const char16_t* hostile[] = {u"../x", u"/etc/passwd", u"a/b", u"..\\x", u"a\\b", u"..", u"x..y"};
    for (const char16_t* bad : hostile) {
        for (bool inExt : {false, true}) {
            const Bytes b = RecordBuilder().U32(1).U32(1).I32(1).I32(18)
                                .Str(inExt ? u"name" : bad).Str(inExt ? bad : u".jpg").Get();
            CMediaFileInfo info;
            try {
                ReadBy(b, [&](plat::Archive& ar) { info.Load(ar); });
                ADD_FAILURE() << plat::Utf16ToUtf8(bad) << " accepted";
            } catch (const plat::ArchiveException& e) {
                EXPECT_EQ(e.GetCause(), plat::ArchiveException::kBadSchema);
            }
        }
    }
    // NUL inside a name, and a name too long for any file system.
    const Bytes nul = RecordBuilder().U32(1).U32(1).I32(1).I32(18).Str(plat::String(u"a\0b", 3)).Str(u"").Get();
    CMediaFileInfo info;
    EXPECT_THROW(ReadBy(nul, [&](plat::Archive& ar) { info.Load(ar); }), plat::ArchiveException);
    EXPECT_FALSE(IsSafeFileNamePart(plat::String(86, u'中'))) << "258 bytes in UTF-8";
    EXPECT_TRUE(IsSafeFileNamePart(plat::String(85, u'中')));
    EXPECT_TRUE(IsSafeFileNamePart(u".JPG"));
    EXPECT_TRUE(IsSafeFileNamePart(u""));
}
