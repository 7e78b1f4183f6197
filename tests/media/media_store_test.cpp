#include <gtest/gtest.h>

#include "media/media_store.h"
#include "platform/file/file.h"
#include "tests/media/media_files.h"
#include "tests/support/test_support.h"
#include "tests/support/record_builder.h"

using mediatest::ReadWhole;
using mediatest::ScratchFolder;
using mediatest::TempFolderContents;
using testsupport::Bytes;
using testsupport::ReadBy;
using testsupport::RecordBuilder;
using testsupport::WrittenBy;

namespace {

namespace fs = std::filesystem;

std::string Utf8(const plat::String& s)
{
    return plat::Utf16ToUtf8(s);
}

// Marks every entry used and returns the store's record.
Bytes SaveAll(CMediaStore& store)
{
    store.ClearUsed();
    for (int i = 0; i < store.GetCount(); ++i) store.MarkUsed(store.GetAt(i)->GetKey());
    store.CountUsed();
    return WrittenBy([&](plat::Archive& ar) { store.Save(ar); });
}

void LoadStore(CMediaStore& store, const Bytes& bytes, bool append = false)
{
    EXPECT_EQ(ReadBy(bytes, [&](plat::Archive& ar) { store.Load(ar, append); }), 0u);
}

bool IsInTempFolder(const plat::String& path)
{
    const plat::String temp = plat::TempDir();
    return path.size() > temp.size() && path.compare(0, temp.size(), temp) == 0 &&
           path.find(u'/', temp.size()) == plat::String::npos;
}

} // namespace

TEST(MediaStore, LocalFilesGetWorkingCopiesAndDeduplicate)
{
    ScratchFolder dir;
    const plat::String clip = dir.Write("movie.avi", "AVI bytes");
    const plat::String picture = dir.Write("pic.JPG", "JPEG bytes");
    {
        CVideoStore videos;
        const plat::String key = videos.AddFile(clip);
        EXPECT_TRUE(testsupport::IsGuidForm(Utf8(key)));
        EXPECT_EQ(videos.AddFile(clip), key) << "the same clip is shared";
        ASSERT_EQ(videos.GetCount(), 1);
        const plat::String copy = videos.GetFilePath(key);
        EXPECT_TRUE(IsInTempFolder(copy)) << Utf8(copy);
        EXPECT_EQ(ReadWhole(copy), "AVI bytes");
        const CMediaFileInfo info = videos.GetInfo(key);
        EXPECT_EQ(info.GetKind(), MEDIA_KIND_VIDEO);
        EXPECT_EQ(info.GetExt(), u".avi");
        EXPECT_EQ(info.GetSourcePath(), clip);
        EXPECT_EQ(info.GetName().substr(0, 5 + 36 + 1), u"VIDEO" + key + u"-");
        EXPECT_TRUE(testsupport::IsGuidForm(Utf8(info.GetName().substr(42))));
        EXPECT_EQ(copy, plat::TempDir() + info.GetName() + u".avi");

        CImageStore images;
        const plat::String a = images.AddFile(picture, 0);
        const plat::String b = images.AddFile(picture, 0);
        EXPECT_NE(a, b) << "without the flag every picture is added anew";
        EXPECT_NE(images.GetFilePath(a), images.GetFilePath(b));
        EXPECT_EQ(images.AddFile(picture, 1), a) << "with the flag 1 the first equal entry is found";
        EXPECT_NE(images.AddFile(picture, 2), a) << "only the flag 1 de-duplicates";
        EXPECT_EQ(images.GetCount(), 3);
        EXPECT_EQ(ReadWhole(images.GetFilePath(b)), "JPEG bytes");
        EXPECT_EQ(TempFolderContents().size(), 4u);

        // The user's file may change or go: the store works on its copy.
        fs::remove(dir.Path() / "pic.JPG");
        EXPECT_EQ(ReadWhole(images.GetFilePath(a)), "JPEG bytes");

        // Unknown keys.
        EXPECT_EQ(images.GetFilePath(u"nope"), u"");
        EXPECT_TRUE(images.GetInfo(u"nope").IsEmpty());
        EXPECT_EQ(images.Find(u"nope"), nullptr);
        EXPECT_EQ(images.GetAt(3), nullptr);
        EXPECT_EQ(images.GetAt(-1), nullptr);
    }
    EXPECT_TRUE(TempFolderContents().empty()) << "entries delete their working copies";
}

TEST(MediaStore, SourcesTakenAsLinks)
{
    struct Case { const char16_t* source; std::int32_t video; std::int32_t audio; std::int32_t image; };
    const Case cases[] = {
        {u"http://h/a.rm", MEDIA_KIND_HTTP, MEDIA_KIND_HTTP, MEDIA_KIND_IMAGE},
        {u"HTTP://H/A.RM", MEDIA_KIND_HTTP, MEDIA_KIND_HTTP, MEDIA_KIND_IMAGE},
        {u"rtsp://h/a.rm", MEDIA_KIND_RTSP, MEDIA_KIND_AUDIO, MEDIA_KIND_IMAGE},
        {u"https://h/a.rm", MEDIA_KIND_VIDEO, MEDIA_KIND_AUDIO, MEDIA_KIND_IMAGE},
    };
    for (const Case& c : cases) {
        CVideoStore videos;
        CAudioStore sounds;
        CImageStore images;
        const plat::String v = videos.AddFile(c.source);
        const plat::String a = sounds.AddFile(c.source);
        const plat::String i = images.AddFile(c.source, 1);
        EXPECT_EQ(videos.GetInfo(v).GetKind(), c.video) << Utf8(c.source);
        EXPECT_EQ(sounds.GetInfo(a).GetKind(), c.audio) << Utf8(c.source);
        EXPECT_EQ(images.GetInfo(i).GetKind(), c.image) << Utf8(c.source);
        if (c.video == MEDIA_KIND_HTTP || c.video == MEDIA_KIND_RTSP) {
            EXPECT_EQ(videos.GetFilePath(v), c.source) << "a link's path is the link";
            EXPECT_EQ(videos.AddFile(c.source), v);
        } else {
            // A local file that is not there: no copy, but the entry stands, without a
            // path outside the folder.
            EXPECT_TRUE(IsInTempFolder(videos.GetFilePath(v)));
        }
    }
    EXPECT_TRUE(TempFolderContents().empty());
}

// Links read from a document: addresses of the web and streaming schemes and plain names
// stay as they are; a link that could name a file of this machine is dropped, its entry
// kept as a link without a path and written back without the link.
TEST(MediaStore, StoredLinksThatNameLocalFilesAreDropped)
{
    struct Case { const char16_t* link; bool kept; };
    const Case cases[] = {
        {u"http://server/clip.rm", true},
        {u"HTTP://SERVER/CLIP.RM", true},
        {u"https://server/clip.wmv", true},
        {u"mms://server/live", true},
        {u"rtsp://server/live", true},
        {u"Rtsp://server:554/a/../b", true}, // the server resolves its own paths
        {u"clip.rm", true},
        {u"/etc/shadow", false},
        {u"/abs", false},
        {u"../x", false},
        {u"../../../../etc/passwd", false},
        {u"a/../../x", false},
        {u"a/b.rm", false},
        {u"..", false},
        {u"..\\..\\x", false},
        {u"C:\\x", false},
        {u"c:/x", false},
        {u"\\\\server\\x", false},
        {u"file:///etc/passwd", false},
        {u"FILE:/etc/passwd", false},
        {u"http:/etc/passwd", false},
        {u"http:///etc/passwd", false},
        {u"http:\\\\server\\x", false},
        {u"ftp://server/x", false},
        {u"http://server/a\nb", false},
        {u"", false},
    };
    auto record = [](std::int32_t kind, plat::StringView link) {
        return RecordBuilder().I32(1).Str(u"k").U32(1).U32(2).I32(0).I32(kind).Str(u"").Str(u"").Str(link).Get();
    };
    for (const Case& c : cases) {
        for (std::int32_t kind : {MEDIA_KIND_RTSP, MEDIA_KIND_HTTP}) {
            SCOPED_TRACE(Utf8(c.link) + " kind " + std::to_string(kind));
            CVideoStore videos;
            LoadStore(videos, record(kind, c.link));
            ASSERT_EQ(videos.GetCount(), 1);
            EXPECT_FALSE(videos.GetAt(0)->IsLocal());
            const plat::String kept = c.kept ? plat::String(c.link) : plat::String();
            EXPECT_EQ(videos.GetFilePath(u"k"), kept);
            EXPECT_EQ(SaveAll(videos), record(kind, kept));
        }
    }
    EXPECT_TRUE(TempFolderContents().empty());
}

TEST(MediaStore, SaveWritesOnlyUsedEntriesAndReopens)
{
    ScratchFolder dir;
    CImageStore images;
    images.AddFile(dir.Write("1.png", "one"), 1);
    const plat::String second = images.AddFile(dir.Write("2.bmp", std::string(70000, 'b')), 1);
    images.AddFile(dir.Write("3.gif", "three"), 1);

    images.ClearUsed();
    images.MarkUsed(second);
    images.MarkUsed(u"no such key");
    EXPECT_EQ(images.CountUsed(), 1);
    EXPECT_EQ(images.GetUsedCount(), 1);
    const Bytes bytes = WrittenBy([&](plat::Archive& ar) { images.Save(ar); });
    const CMediaFileInfo info = images.GetInfo(second);
    RecordBuilder expected;
    expected.I32(1).Str(second).U32(info.GetCreateTime()).U32(info.GetModifyTime()).I32(70000).I32(18)
        .Str(info.GetName()).Str(u".bmp").I32(70000).Raw(std::string(70000, 'b'));
    EXPECT_EQ(bytes, expected.Get());
    EXPECT_EQ(images.GetCount(), 3) << "unused entries stay in memory";

    // Reopening twice: the stored keys, fresh working copies under new names.
    CImageStore once, twice;
    LoadStore(once, bytes);
    LoadStore(twice, bytes);
    ASSERT_EQ(once.GetCount(), 1);
    ASSERT_EQ(twice.GetCount(), 1);
    EXPECT_EQ(once.GetAt(0)->GetKey(), second);
    EXPECT_EQ(twice.GetAt(0)->GetKey(), second);
    EXPECT_NE(once.GetFilePath(second), twice.GetFilePath(second));
    EXPECT_NE(once.GetFilePath(second), images.GetFilePath(second));
    EXPECT_EQ(ReadWhole(once.GetFilePath(second)), std::string(70000, 'b'));
    const CMediaFileInfo loaded = once.GetInfo(second);
    EXPECT_TRUE(loaded == info) << "times and size as stored";
    EXPECT_EQ(loaded.GetSourcePath(), u"");
    EXPECT_EQ(loaded.GetName().substr(0, 5 + 36), u"IMAGE" + second);
    EXPECT_FALSE(once.GetAt(0)->IsUsed());

    // Loading without append empties the store first; with append it adds, keys as
    // stored, so the earlier entry answers for a shared key.
    LoadStore(once, bytes, true);
    ASSERT_EQ(once.GetCount(), 2);
    EXPECT_EQ(once.Find(second), once.GetAt(0));
    LoadStore(once, RecordBuilder().I32(0).Get());
    EXPECT_EQ(once.GetCount(), 0);
}

TEST(MediaStore, AllThreeStoresRoundTripLinksAndFiles)
{
    ScratchFolder dir;
    CVideoStore videos;
    CAudioStore sounds;
    videos.AddFile(dir.Write("a.mpg", "mpeg"));
    videos.AddFile(u"rtsp://server/live");
    videos.AddFile(u"http://server/clip.wmv");
    sounds.AddFile(dir.Write("a.wav", std::string(5, '\0') + "wave"));
    sounds.AddFile(u"Http://server/song.mp3");

    CVideoStore videosBack;
    CAudioStore soundsBack;
    LoadStore(videosBack, SaveAll(videos));
    LoadStore(soundsBack, SaveAll(sounds));
    const std::pair<CMediaStore*, CMediaStore*> pairs[] = {{&videos, &videosBack}, {&sounds, &soundsBack}};
    for (auto [from, to] : pairs) {
        ASSERT_EQ(to->GetCount(), from->GetCount());
        for (int i = 0; i < from->GetCount(); ++i) {
            const CMediaStoreEntry* a = from->GetAt(i);
            const CMediaStoreEntry* b = to->GetAt(i);
            EXPECT_EQ(b->GetKey(), a->GetKey());
            EXPECT_TRUE(b->GetInfo() == a->GetInfo());
            EXPECT_EQ(b->IsLocal(), a->IsLocal());
            if (a->IsLocal()) EXPECT_EQ(ReadWhole(b->GetFilePath()), ReadWhole(a->GetFilePath()));
            else EXPECT_EQ(b->GetFilePath(), a->GetFilePath());
        }
    }
}

TEST(MediaStore, WorkingCopyShorterThanRecordedOrGone)
{
    ScratchFolder dir;
    CImageStore images;
    const plat::String key = images.AddFile(dir.Write("p.jpg", std::string(100, 'p')), 1);
    ASSERT_EQ(images.GetInfo(key).GetSize(), 100);
    fs::resize_file(Utf8(images.GetFilePath(key)), 10);
    const Bytes bytes = SaveAll(images);
    CImageStore back;
    LoadStore(back, bytes);
    EXPECT_EQ(ReadWhole(back.GetFilePath(key)), std::string(10, 'p'));
    EXPECT_EQ(back.GetInfo(key).GetSize(), 100) << "the descriptor keeps the recorded size";

    // A working copy that is gone fails the save with the file error.
    images.GetAt(0)->DeleteTempFile();
    EXPECT_EQ(images.GetFilePath(key), u"");
    images.GetAt(0)->DeleteTempFile(); // already gone: nothing
    EXPECT_THROW(SaveAll(images), plat::FileException);
}

TEST(MediaStore, HostileNamesAreRefusedWithoutTouchingOtherFiles)
{
    // The working copy's name is "IMAGE" + key + "-" + GUID + extension. With the GUID
    // pinned, the folders a naive reader would walk through are made beforehand, so a
    // reader that honoured the stored text would reach the victim file.
    ScratchFolder outside;
    const plat::String victim = outside.Write("victim.txt", "keep me");
    const std::string victimRel = "../" + outside.Path().filename().string() + "/victim.txt";
    const std::string guid = "00000000-0000-4000-8000-000000000001";
    plat::SetGuidSource([&] { return plat::AsciiToUtf16(guid); });
    const fs::path temp = plat::TempDirUtf8();
    fs::create_directories(temp / ("IMAGEk-" + guid));
    fs::create_directories(temp / "IMAGE..");
    const auto before = TempFolderContents();

    struct Case { std::string key, name, ext; };
    const Case cases[] = {
        {"k", "n", "/../" + victimRel},          // extension climbing out
        {"k", "n", "/etc/passwd"},               // an absolute path as extension
        {"k", "a/b", ".jpg"},                    // a stored name with a separator
        {"k", "../x", ".jpg"},
        {"/../" + victimRel, "n", ".jpg"},       // a key that is a path
        {"../x", "n", ".jpg"},
        {"/etc/passwd", "n", ".jpg"},
        {"a/b", "n", ".jpg"},
        {"k", "n", "..\\x"},
        {"", "n", ".jpg"},                       // an empty key would answer for objects without one
        {std::string("k\0x", 3), "n", ".jpg"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key + " | " + c.name + " | " + c.ext);
        RecordBuilder r;
        r.I32(1).Str(plat::Utf8ToUtf16(c.key)).U32(1).U32(1).I32(7).I32(MEDIA_KIND_IMAGE)
            .Str(plat::Utf8ToUtf16(c.name)).Str(plat::Utf8ToUtf16(c.ext)).I32(7).Raw(std::string("hostile"));
        CImageStore images;
        try {
            LoadStore(images, r.Get());
            ADD_FAILURE() << "accepted";
        } catch (const plat::ArchiveException& e) {
            EXPECT_EQ(e.GetCause(), plat::ArchiveException::kBadSchema);
        }
        EXPECT_EQ(images.GetCount(), 0);
        EXPECT_EQ(TempFolderContents(), before);
        EXPECT_EQ(ReadWhole(victim), "keep me");
    }
    plat::SetGuidSource({});
}

TEST(MediaStore, DamagedRecordsLeaveNoFilesBehind)
{
    ScratchFolder dir;
    CAudioStore sounds;
    sounds.AddFile(dir.Write("x.wav", "0123456789"));
    sounds.AddFile(u"http://h/s.mp3");
    sounds.AddFile(dir.Write("y.wav", "abcdef"));
    const Bytes good = SaveAll(sounds);
    const auto before = TempFolderContents();

    struct Case { const char* what; Bytes bytes; plat::ArchiveException::Cause cause; };
    const Case cases[] = {
        {"negative count", RecordBuilder().I32(-3).Get(), plat::ArchiveException::kBadIndex},
        {"count beyond the data", RecordBuilder().I32(1 << 30).Zeros(40).Get(), plat::ArchiveException::kEndOfFile},
        {"negative length",
         RecordBuilder().I32(1).Str(u"k").U32(0).U32(0).I32(0).I32(17).Str(u"n").Str(u".wav").I32(-1).Get(),
         plat::ArchiveException::kBadIndex},
        {"length beyond the data",
         RecordBuilder().I32(1).Str(u"k").U32(0).U32(0).I32(0).I32(17).Str(u"n").Str(u".wav").I32(1000).Zeros(10).Get(),
         plat::ArchiveException::kEndOfFile},
        {"a kind this store does not hold",
         RecordBuilder().I32(1).Str(u"k").U32(0).U32(0).I32(0).I32(MEDIA_KIND_IMAGE).Str(u"n").Str(u".wav").I32(0).Get(),
         plat::ArchiveException::kBadSchema},
        {"an rtsp link in the audio store",
         RecordBuilder().I32(1).Str(u"k").U32(0).U32(0).I32(0).I32(MEDIA_KIND_RTSP).Str(u"").Str(u"").Str(u"rtsp://x").Get(),
         plat::ArchiveException::kBadSchema},
    };
    for (const Case& c : cases) {
        CAudioStore back;
        try {
            LoadStore(back, c.bytes);
            ADD_FAILURE() << c.what;
        } catch (const plat::ArchiveException& e) {
            EXPECT_EQ(e.GetCause(), c.cause) << c.what;
        }
        EXPECT_EQ(back.GetCount(), 0) << c.what;
        EXPECT_EQ(TempFolderContents(), before) << c.what;
    }

    // Every cut of a good record, and every flipped bit of it: refused or read, and when
    // refused nothing is left in the folder; when read, only working copies inside it.
    for (size_t n = 0; n < good.size(); ++n) {
        CAudioStore back;
        back.AddFile(u"http://kept/earlier.mp3");
        EXPECT_THROW(ReadBy(Bytes(good.begin(), good.begin() + static_cast<long>(n)),
                            [&](plat::Archive& ar) { back.Load(ar, true); }),
                     plat::ArchiveException) << n;
        EXPECT_EQ(back.GetCount(), 1) << "appending a refused record adds nothing";
        EXPECT_EQ(TempFolderContents(), before) << n;
    }
    for (size_t bit = 0; bit < good.size() * 8; ++bit) {
        Bytes b = good;
        b[bit / 8] ^= static_cast<std::uint8_t>(1u << (bit % 8));
        CAudioStore back;
        try {
            ReadBy(b, [&](plat::Archive& ar) { back.Load(ar, false); });
        } catch (const plat::ArchiveException&) {
            EXPECT_EQ(back.GetCount(), 0) << bit;
        }
        for (int i = 0; i < back.GetCount(); ++i) {
            if (back.GetAt(i)->IsLocal()) {
                EXPECT_TRUE(IsInTempFolder(back.GetAt(i)->GetFilePath())) << bit;
            }
        }
        back.RemoveAll();
        EXPECT_EQ(TempFolderContents(), before) << bit;
    }
}
