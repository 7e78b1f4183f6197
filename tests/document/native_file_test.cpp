// The native file through the document: New, Open and Save, what a saved document reopens
// to, the header bytes of a new document, refused and damaged files, the media that are
// written, saves that fail, passwords and the document settings.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <functional>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "document/doc_body.h"
#include "document/doc_password.h"
#include "tests/support/fifo_open.h"
#include "tests/support/headless_windows.h"
#include "document/layout_dump.h"
#include "document/page_object_list.h"
#include "document/ql_doc.h"
#include "document/text_item.h"
#include "platform/base/system.h"
#include "platform/file/archive.h"
#include "platform/file/file.h"
#include "platform/ui/message_box.h"
#include "tests/document/test_object.h"

namespace fs = std::filesystem;

namespace {

using Bytes = std::vector<std::uint8_t>;

// A test object that shows a picture of the image store: its record adds the entry's key,
// and preparing a save marks the entry as used.
class CStoreObject : public objtest::CTestObject {
public:
    using CTestObject::CTestObject;
    void Load(plat::Archive& ar, int mode) override
    {
        CTestObject::Load(ar, mode);
        m_key = ar.ReadString();
    }
    void Save(plat::Archive& ar, int mode, int dx, int dy) override
    {
        CTestObject::Save(ar, mode, dx, dy);
        ar.WriteString(m_key);
    }
    void PrepareItems() override { GetDoc()->GetImageStore().MarkUsed(m_key); }
};

std::unique_ptr<CFloatObject> MakeStoreObject(CDocContext* doc, CDocNode* parent)
{
    return std::make_unique<CStoreObject>(doc, parent);
}

Bytes ReadBytes(const fs::path& p)
{
    std::ifstream in(p, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

void WriteBytes(const fs::path& p, const Bytes& b)
{
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(b.data()), static_cast<std::streamsize>(b.size()));
}

plat::String U16(const fs::path& p)
{
    return plat::Utf8ToUtf16(p.string());
}

std::vector<plat::String> BoxTexts()
{
    std::vector<plat::String> out;
    for (const plat::MessageBoxRecord& r : plat::GetMessageBoxLog()) out.push_back(r.text);
    return out;
}

Bytes BodyRecord(CDocBody& body)
{
    plat::MemFile mem;
    {
        plat::Archive ar(mem, plat::Archive::kStore);
        body.Save(ar, kArchiveFile);
        ar.Close();
    }
    return mem.Data();
}

class NativeFile : public testing::Test {
protected:
    void SetUp() override
    {
        static std::atomic<int> counter{0};
        m_dir = fs::path(plat::TempDirUtf8()) / ("native_file_" + std::to_string(counter++));
        fs::create_directories(m_dir);
        plat::ClearMessageBoxLog();
        doc.FileNew();
    }
    void TearDown() override
    {
        SetPasswordPrompt({});
        CQlDoc::SetSettingsDialog({});
        plat::ClearModalAnswers();
        plat::SetRandomSource({});
        plat::SetClockSource({});
        std::error_code ec;
        fs::remove_all(m_dir, ec);
    }

    // Text by the author records 0 and 1, an annotation on the second author's text, a
    // custom colour and an object showing a picture of the image store.
    void FillDocument(CQlDoc& d)
    {
        d.GetAuthors().RemoveAll();
        d.GetAuthors().Append(7, u"甲");
        d.GetAuthors().Append(9, u"乙");
        CDocBody& body = *d.GetBody();
        CCharFormat first = body.GetRunningCharFormat();
        first.m_insertedBy = 0;
        int at = body.GetCount() - 1;
        body.InsertString(at, u"第一位作者写的文字。\rFirst author's words.\r", first);
        CCharFormat second = first;
        second.m_insertedBy = 1;
        second.m_bold = 1;
        second.m_annotation = 1;
        body.InsertString(at, u"第二位作者加的批注文字", second);
        d.GetAnnotations().Add(1, 1700000000, u"这里需要再看一下。");
        d.GetPalette().UseColor(0x123456);

        fs::path picture = m_dir / "picture.png";
        WriteBytes(picture, Bytes{0x89, 'P', 'N', 'G', 1, 2, 3, 4, 5});
        fs::path unused = m_dir / "unused.png";
        WriteBytes(unused, Bytes{9, 9, 9});
        const plat::String key = d.GetImageStore().AddFile(U16(picture), 0);
        d.GetImageStore().AddFile(U16(unused), 0);
        fs::path clip = m_dir / "clip.avi";
        WriteBytes(clip, Bytes{1, 2});
        d.GetVideoStore().AddFile(U16(clip));

        auto object = std::make_unique<CStoreObject>(&d, nullptr);
        object->m_bounds = plat::Rect(3000, 3000, 5000, 4500);
        object->m_width = 2000;
        object->m_height = 1500;
        object->m_tag = 5;
        object->m_key = key;
        object->RecalcLayout();
        body.AddObject(std::move(object));
        body.BuildPageRegions();
        body.RelayoutWhole();
        d.SetModified();
    }

    fs::path Path(const char* name) const { return m_dir / name; }
    void ExpectNewEmpty(CQlDoc& d)
    {
        EXPECT_EQ(d.GetBody()->GetCount(), 1);
        EXPECT_EQ(d.GetBody()->GetObjectCount(), 0);
        ASSERT_EQ(d.GetAuthors().GetCount(), 1);
        EXPECT_EQ(d.GetAuthors().GetAt(0)->m_id, 0);
        EXPECT_EQ(d.GetAuthors().GetAt(0)->m_name, u"");
        EXPECT_EQ(d.GetCurAuthorIndex(), 0);
        EXPECT_EQ(d.GetAnnotations().GetCount(), 0);
        EXPECT_EQ(d.GetImageStore().GetCount() + d.GetVideoStore().GetCount() + d.GetAudioStore().GetCount(), 0);
        EXPECT_FALSE(d.GetHeader()->HasPassword());
        EXPECT_FALSE(d.IsModified());
    }

    objtest::ScopedTestKind m_kind;
    DocObjectMaker m_previous = RegisterDocObject(objtest::kTestType, &MakeStoreObject);
    fs::path m_dir;
    CHeadlessWindows window;
    CQlDoc doc{&window, &window};
};

TEST_F(NativeFile, NewDocumentHasOneAnonymousAuthorAndRestartsTheFrame)
{
    FillDocument(doc);
    window.m_autosaveOn = window.m_autosaveTimer = true;
    window.m_barsShown = false;
    EXPECT_EQ(doc.FileNew(), 1);
    ExpectNewEmpty(doc);
    EXPECT_FALSE(doc.HasRevisions());
    EXPECT_FALSE(window.m_autosaveOn);
    EXPECT_FALSE(window.m_autosaveTimer);
    EXPECT_TRUE(window.m_idleTimer);
    EXPECT_TRUE(window.m_barsShown);
}

TEST_F(NativeFile, SavedDocumentReopensEqual)
{
    FillDocument(doc);
    const fs::path file = Path("two authors.qln");
    window.m_autosaveOn = window.m_autosaveTimer = true;
    ASSERT_EQ(doc.FileSave(U16(file)), 1);
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(window.m_waitCursorShows, 1);
    EXPECT_FALSE(window.m_waitCursor);
    EXPECT_TRUE(window.m_autosaveTimer) << "autosave goes on after a save";

    CHeadlessWindows window2;
    CQlDoc other(&window2, &window2);
    other.FileNew();
    window2.m_scroll = plat::Point(40, 9000);
    window2.m_referencePaneShown = true;
    ASSERT_EQ(other.FileOpen(U16(file), false), 1);
    // The view starts at the top at zoom 1.0, the ruler is painted again, and an editable
    // document keeps the reference pane beside it.
    EXPECT_EQ(window2.m_scroll, plat::Point());
    EXPECT_EQ(window2.m_scrollResets, 1);
    EXPECT_EQ(window2.m_zoomResets, 1);
    EXPECT_GE(window2.m_rulerRepaints, 1);
    EXPECT_TRUE(window2.m_referencePaneShown);

    // The text with every format, and the objects with their records.
    EXPECT_EQ(BodyRecord(*other.GetBody()), BodyRecord(*doc.GetBody()));
    ASSERT_EQ(other.GetBody()->GetCount(), doc.GetBody()->GetCount());
    for (int i = 0; i < doc.GetBody()->GetCount(); ++i) {
        EXPECT_EQ(other.GetBody()->GetItem(i)->GetCode(), doc.GetBody()->GetItem(i)->GetCode()) << i;
        EXPECT_TRUE(other.GetBody()->GetItem(i)->GetFormat() == doc.GetBody()->GetItem(i)->GetFormat()) << i;
    }
    ASSERT_EQ(other.GetBody()->GetObjectCount(), 1);
    auto* object = dynamic_cast<CStoreObject*>(other.GetBody()->GetObjectList().GetObject(0));
    ASSERT_NE(object, nullptr);
    EXPECT_EQ(object->m_tag, 5);
    EXPECT_EQ(DumpLayout(*other.GetBody()), DumpLayout(*doc.GetBody()));

    // The two authors come back, then the record of whoever edits now.
    ASSERT_EQ(other.GetAuthors().GetCount(), 3);
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(other.GetAuthors().GetAt(i)->m_id, doc.GetAuthors().GetAt(i)->m_id);
        EXPECT_EQ(other.GetAuthors().GetAt(i)->m_name, doc.GetAuthors().GetAt(i)->m_name);
        EXPECT_EQ(other.GetAuthors().GetAt(i)->m_time, doc.GetAuthors().GetAt(i)->m_time);
    }
    EXPECT_EQ(other.GetAuthors().GetAt(2)->m_id, 0);
    EXPECT_EQ(other.GetCurAuthorIndex(), 2);
    EXPECT_TRUE(other.HasRevisions());
    EXPECT_TRUE(other.IsRevisionsShown());

    ASSERT_EQ(other.GetAnnotations().GetCount(), 1);
    EXPECT_EQ(other.GetAnnotations().GetAt(0)->m_author, 1);
    EXPECT_EQ(other.GetAnnotations().GetAt(0)->m_time, 1700000000);
    EXPECT_EQ(other.GetAnnotations().GetAt(0)->m_text, u"这里需要再看一下。");

    for (int i = 0; i < CColorPalette::kColorCount; ++i)
        EXPECT_EQ(other.GetPalette().GetColor(i), doc.GetPalette().GetColor(i)) << i;
    for (int i = 0; i < CColorPalette::kCustomCount; ++i)
        EXPECT_EQ(other.GetPalette().GetUseCount(i), doc.GetPalette().GetUseCount(i)) << i;

    // Only the picture the object shows was written.
    ASSERT_EQ(other.GetImageStore().GetCount(), 1);
    EXPECT_EQ(other.GetImageStore().GetAt(0)->GetKey(), object->m_key);
    EXPECT_EQ(ReadBytes(fs::path(plat::Utf16ToUtf8(other.GetImageStore().GetFilePath(object->m_key)))),
              (Bytes{0x89, 'P', 'N', 'G', 1, 2, 3, 4, 5}));
    EXPECT_EQ(other.GetVideoStore().GetCount(), 0);
    EXPECT_EQ(doc.GetImageStore().GetUsedCount(), 1);

    EXPECT_FALSE(other.IsModified());
    EXPECT_FALSE(other.IsReadOnly());
    EXPECT_TRUE(window2.m_idleTimer);
    EXPECT_FALSE(window2.m_autosaveTimer);
    EXPECT_TRUE(window2.m_barsShown);
    EXPECT_EQ(other.GetFileVersion(), 0x101);
    EXPECT_TRUE(BoxTexts().empty());
}

TEST_F(NativeFile, ReadOnlyOpenHidesTheBarsAndKeepsRevisionsOff)
{
    FillDocument(doc);
    const fs::path file = Path("read only.qln");
    ASSERT_EQ(doc.FileSave(U16(file)), 1);
    window.m_referencePaneShown = true;
    ASSERT_EQ(doc.FileOpen(U16(file), true), 1);
    EXPECT_TRUE(doc.IsReadOnly());
    EXPECT_FALSE(window.m_barsShown);
    EXPECT_FALSE(window.m_referencePaneShown);
    EXPECT_FALSE(doc.HasRevisions());
    EXPECT_FALSE(doc.IsRevisionsShown());
    EXPECT_EQ(doc.GetCurAuthorIndex(), doc.GetAuthors().GetLastIndex());
}

// A new document's file, with the salt drawn from a pinned random source.
TEST_F(NativeFile, HeaderBytesOfANewDocument)
{
    plat::SetRandomSource([] { return 0x1234; });
    plat::SetManualClock(std::int64_t(1700000000) * 1000);
    doc.FileNew();
    const fs::path file = Path("new.qln");
    ASSERT_EQ(doc.FileSave(U16(file)), 1);
    const Bytes bytes = ReadBytes(file);

    Bytes expected = {'Q', 'u', 'i', 'l', 'n', 0, 0, 0, 0, 1, 1, 0x34, 0x12};
    expected.insert(expected.end(), 16, 0); // no password
    expected.push_back(1);                  // flag
    auto i32 = [&](std::uint32_t v) {
        for (int k = 0; k < 4; ++k) expected.push_back(static_cast<std::uint8_t>(v >> (8 * k)));
    };
    auto song = [&] { // "宋体" as a Unicode string
        expected.insert(expected.end(), {0xFF, 0xFE, 0xFF, 2, 0x8B, 0x5B, 0x53, 0x4F});
    };
    for (std::uint32_t v : {200u, 287u, 20u, 20u, 20u, 20u}) i32(v);
    song();
    i32(180);
    expected.insert(expected.end(), {1, 0});
    expected.insert(expected.end(), {0xFF, 0xFE, 0xFF, 0}); // no running head
    song();
    i32(180);
    expected.insert(expected.end(), {0, 0});
    i32(0);
    i32(0x00FFFF00);
    expected.insert(expected.end(), 64, 0);
    // Then three empty stores.
    for (int k = 0; k < 3; ++k) i32(0);

    ASSERT_GT(bytes.size(), expected.size());
    EXPECT_EQ(Bytes(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(expected.size())), expected);
}

// A missing file, a folder, a FIFO (with or without a writer) and a device are all files
// that cannot be opened: refused at once, without a message, the document as it was.
TEST_F(NativeFile, FileThatCannotBeOpenedChangesNothing)
{
    FillDocument(doc);
    const int count = doc.GetBody()->GetCount();
    const std::string fifo = Path("pipe.qln").string();
    ASSERT_TRUE(testsupport::MakeFifo(fifo));
    using testsupport::FifoWriter;
    struct Case {
        const char* what;
        std::string path;
        FifoWriter writer;
    } cases[] = {
        {"missing", Path("missing.qln").string(), FifoWriter::kNone},
        {"folder", m_dir.string(), FifoWriter::kNone},
        {"FIFO", fifo, FifoWriter::kNone},
        {"FIFO with a writer", fifo, FifoWriter::kHeldOpen},
        {"device", "/dev/zero", FifoWriter::kNone},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        window.m_idleTimer = true;
        EXPECT_FALSE(testsupport::OpensWithoutWaiting(fifo, c.writer,
                                                      [&] { return doc.FileOpen(U16(c.path), false) != 0; }));
        EXPECT_EQ(doc.GetBody()->GetCount(), count);
        EXPECT_EQ(doc.GetAuthors().GetCount(), 2);
        EXPECT_TRUE(doc.IsModified());
        EXPECT_TRUE(BoxTexts().empty());
    }
}

// Refused files: the message, an empty document with one author record, the idle timer
// running and autosave off.
TEST_F(NativeFile, RefusedFilesLeaveANewEmptyDocument)
{
    FillDocument(doc);
    ASSERT_EQ(doc.SetPassword(u"secret"), true);
    const fs::path protectedFile = Path("protected.qln");
    ASSERT_EQ(doc.FileSave(U16(protectedFile)), 1);
    doc.RemovePassword(u"secret");
    const fs::path plainFile = Path("plain.qln");
    ASSERT_EQ(doc.FileSave(U16(plainFile)), 1);
    const Bytes plain = ReadBytes(plainFile);

    struct Case {
        const char* name;
        std::function<Bytes()> bytes;
        plat::String message;
    };
    auto patched = [&](size_t at, std::uint8_t value) {
        Bytes b = plain;
        b[at] = value;
        return b;
    };
    const Case cases[] = {
        {"magic", [&] { return patched(0, 'q'); }, u"非法文件"},
        {"tiny", [] { return Bytes{'Q', 'u'}; }, u"非法文件"},
        {"minor", [&] { return patched(10, 2); },
         u"本软件的版本号是1.1；该文件的版本号时1.2，请升级软件。"},
        {"major", [&] {
             Bytes b = patched(9, 2);
             b[10] = 0;
             return b;
         },
         u"本软件的版本号是1.1；该文件的版本号时2.0，请升级软件。"},
        {"password", [&] { return ReadBytes(protectedFile); }, u"口令错误，无法打开文件。"},
    };
    SetPasswordPrompt([] { return plat::String(u"wrong"); });
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FillDocument(doc);
        window.m_autosaveOn = window.m_autosaveTimer = true;
        const fs::path file = Path("refused.qln");
        WriteBytes(file, c.bytes());
        plat::ClearMessageBoxLog();
        EXPECT_EQ(doc.FileOpen(U16(file), false), 0);
        EXPECT_EQ(BoxTexts(), std::vector<plat::String>{c.message});
        ExpectNewEmpty(doc);
        EXPECT_TRUE(window.m_idleTimer);
        EXPECT_FALSE(window.m_autosaveTimer);
        EXPECT_FALSE(window.m_autosaveOn);
    }
}

TEST_F(NativeFile, RightPasswordAndOlderVersionOpen)
{
    FillDocument(doc);
    doc.SetPassword(u"口令");
    const fs::path file = Path("protected.qln");
    ASSERT_EQ(doc.FileSave(U16(file)), 1);
    SetPasswordPrompt([] { return plat::String(u"口令"); });
    CQlDoc other(&window, &window);
    ASSERT_EQ(other.FileOpen(U16(file), false), 1);
    EXPECT_TRUE(other.GetHeader()->HasPassword());
    EXPECT_EQ(other.GetHeader()->GetSalt(), doc.GetHeader()->GetSalt());

    // Version 1.0, with three arbitrary bytes after the magic.
    Bytes b = ReadBytes(file);
    b[6] = 0xAB;
    b[7] = 0xCD;
    b[8] = 0xEF;
    b[10] = 0;
    WriteBytes(file, b);
    ASSERT_EQ(other.FileOpen(U16(file), false), 1);
    EXPECT_EQ(other.GetFileVersion(), 256);
    EXPECT_EQ(other.GetBody()->GetCount(), doc.GetBody()->GetCount());
}

// A file cut short anywhere after its header is refused as a whole; nothing of it stays.
TEST_F(NativeFile, TruncatedFileIsRefused)
{
    FillDocument(doc);
    const fs::path file = Path("whole.qln");
    ASSERT_EQ(doc.FileSave(U16(file)), 1);
    const Bytes whole = ReadBytes(file);
    const fs::path cut = Path("cut.qln");
    for (size_t length : {size_t(20), size_t(60), size_t(150), size_t(200), whole.size() / 2, whole.size() - 40,
                          whole.size() - 1}) {
        SCOPED_TRACE(length);
        WriteBytes(cut, Bytes(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(length)));
        FillDocument(doc);
        EXPECT_EQ(doc.FileOpen(U16(cut), false), 0);
        ExpectNewEmpty(doc);
        EXPECT_TRUE(window.m_idleTimer);
    }
}

// A store entry whose extension climbs out of the temporary folder refuses the file, and
// no file appears where it pointed.
TEST_F(NativeFile, HostileExtensionIsRefusedWithoutTouchingOtherFiles)
{
    const std::string ext = ".abcdefghijklmnop";
    const fs::path picture = m_dir / ("picture" + ext);
    WriteBytes(picture, Bytes{1, 2, 3});
    const plat::String key = doc.GetImageStore().AddFile(U16(picture), 0);
    auto object = std::make_unique<CStoreObject>(&doc, nullptr);
    object->m_bounds = plat::Rect(3000, 3000, 4000, 4000);
    object->m_width = object->m_height = 1000;
    object->m_key = key;
    doc.GetBody()->AddObject(std::move(object));
    const fs::path file = Path("hostile.qln");
    ASSERT_EQ(doc.FileSave(U16(file)), 1);

    // The same length, so that the record stays in step.
    const std::string hostile = "/../../" + std::string(ext.size() - 7, 'x');
    Bytes b = ReadBytes(file);
    const std::u16string from = plat::Utf8ToUtf16(ext), to = plat::Utf8ToUtf16(hostile);
    const auto* f = reinterpret_cast<const std::uint8_t*>(from.data());
    auto at = std::search(b.begin(), b.end(), f, f + from.size() * 2);
    ASSERT_NE(at, b.end());
    std::memcpy(&*at, to.data(), to.size() * 2);
    WriteBytes(file, b);

    const fs::path temp(plat::TempDirUtf8());
    const fs::path target = temp.parent_path().parent_path() / std::string(ext.size() - 7, 'x');
    ASSERT_FALSE(fs::exists(target));
    const auto before = std::distance(fs::directory_iterator(temp), fs::directory_iterator());
    EXPECT_EQ(doc.FileOpen(U16(file), false), 0);
    ExpectNewEmpty(doc);
    EXPECT_FALSE(fs::exists(target));
    EXPECT_LE(std::distance(fs::directory_iterator(temp), fs::directory_iterator()), before);
}

// Saving over a file and failing part-way keeps the old file and the modified flag.
TEST_F(NativeFile, FailedSaveKeepsTheOldFile)
{
    FillDocument(doc);
    const fs::path file = Path("kept.qln");
    ASSERT_EQ(doc.FileSave(U16(file)), 1);
    const Bytes old = ReadBytes(file);

    // The working copy of the shown picture is gone: writing its entry fails.
    int at = 0;
    doc.GetBody()->InsertString(at, u"新", doc.GetBody()->GetRunningCharFormat());
    doc.SetModified();
    doc.GetImageStore().GetAt(0)->DeleteTempFile();
    window.m_autosaveOn = true;
    auto listing = [&] {
        std::vector<fs::path> names;
        for (const auto& e : fs::directory_iterator(m_dir)) names.push_back(e.path().filename());
        std::sort(names.begin(), names.end());
        return names;
    };
    const std::vector<fs::path> before = listing();
    const int waits = window.m_waitCursorShows;
    EXPECT_EQ(doc.FileSave(U16(file)), 0);
    EXPECT_EQ(ReadBytes(file), old);
    EXPECT_TRUE(doc.IsModified());
    EXPECT_TRUE(window.m_idleTimer);
    EXPECT_TRUE(window.m_autosaveTimer);
    // The wait cursor was shown and is gone again.
    EXPECT_EQ(window.m_waitCursorShows, waits + 1);
    EXPECT_FALSE(window.m_waitCursor);
    // Nothing was left beside it.
    EXPECT_EQ(listing(), before);

    // A folder that does not exist.
    EXPECT_EQ(doc.FileSave(U16(m_dir / "no such folder" / "x.qln")), 0);
    EXPECT_TRUE(doc.IsModified());
}

// A read-only document is not replaced by a save: the save is refused and the document
// stays modified. A document opened through a link is saved to the file the link names,
// which keeps its mode; the link stays.
TEST_F(NativeFile, SaveRefusesReadOnlyFilesAndWritesThroughLinks)
{
    FillDocument(doc);
    const fs::path readOnly = Path("read-only.qln");
    ASSERT_EQ(doc.FileSave(U16(readOnly)), 1);
    const Bytes old = ReadBytes(readOnly);
    fs::permissions(readOnly, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    int at = 0;
    doc.GetBody()->InsertString(at, u"新", doc.GetBody()->GetRunningCharFormat());
    doc.SetModified();
    EXPECT_EQ(doc.FileSave(U16(readOnly)), 0);
    EXPECT_EQ(ReadBytes(readOnly), old);
    EXPECT_TRUE(doc.IsModified());

    const fs::path real = Path("real.qln");
    const fs::path link = Path("link.qln");
    ASSERT_EQ(doc.FileSave(U16(real)), 1);
    fs::permissions(real, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    fs::create_symlink(real.filename(), link);
    doc.GetBody()->InsertString(at, u"再", doc.GetBody()->GetRunningCharFormat());
    doc.SetModified();
    ASSERT_EQ(doc.FileSave(U16(link)), 1);
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(fs::status(real).permissions(), fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    CHeadlessWindows window2;
    CQlDoc other(&window2, &window2);
    other.FileNew();
    ASSERT_EQ(other.FileOpen(U16(real), false), 1);
    EXPECT_EQ(other.GetBody()->GetCount(), doc.GetBody()->GetCount());
}

TEST_F(NativeFile, PasswordChangesMarkTheDocumentModified)
{
    EXPECT_FALSE(doc.IsModified());
    EXPECT_TRUE(doc.SetPassword(u"abc"));
    EXPECT_TRUE(doc.IsModified());
    doc.SetModified(false);
    EXPECT_FALSE(doc.RemovePassword(u"xyz"));
    EXPECT_FALSE(doc.IsModified());
    EXPECT_TRUE(doc.GetHeader()->HasPassword());
    EXPECT_EQ(BoxTexts(), std::vector<plat::String>{u"口令错误，无法解除保护。"});
    EXPECT_TRUE(doc.RemovePassword(u"abc"));
    EXPECT_TRUE(doc.IsModified());
    EXPECT_FALSE(doc.GetHeader()->HasPassword());
}

// The settings dialog: OK writes the values into the header, lays the pages out at the
// new size and pulls objects back inside the narrower paper; cancel changes nothing.
TEST_F(NativeFile, SettingsDialogAppliesItsValues)
{
    CDocBody& body = *doc.GetBody();
    const int paper = MmToTwips(200);
    auto place = [&](int left, int width) {
        auto o = objtest::NewObject(&doc, left, 3000, width, 800);
        return body.AddObject(std::move(o));
    };
    CFloatObject* inside = place(1000, 1000);
    CFloatObject* sticking = place(paper - 2000, 3000);
    CFloatObject* wide = place(2000, MmToTwips(150));
    body.BuildPageRegions();
    body.RelayoutWhole();

    CQlDoc::SetSettingsDialog([](CDocSettingsValues& v) {
        EXPECT_EQ(v.page.paper, plat::Size(200, 287));
        EXPECT_EQ(v.defaultFillColor, 0x00FFFF00u);
        v.page.paper = plat::Size(120, 200);
        v.page.headerText = u"眉文";
        v.defaultTextColor = 0x0000FF;
        plat::ModalRecord run;
        run.caption = u"文件设置";
        return plat::RunModal(run);
    });
    plat::AnswerNextModal(2); // cancelled
    EXPECT_EQ(doc.FileSetup(), 1);
    EXPECT_EQ(doc.GetPaperSize(), plat::Size(200, 287));
    EXPECT_FALSE(doc.IsModified());

    plat::AnswerNextModal(1);
    EXPECT_EQ(doc.FileSetup(), 1);
    EXPECT_EQ(doc.GetPaperSize(), plat::Size(120, 200));
    EXPECT_EQ(doc.GetHeader()->m_headerText, u"眉文");
    EXPECT_EQ(doc.GetDefaultTextColor(), 0x0000FFu);
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(doc.GetPaperSizeTwips().cx, MmToTwips(120));

    const int right = MmToTwips(120) + CQlDoc::kDeskMargin;
    EXPECT_EQ(inside->m_bounds.left, 1000);
    EXPECT_EQ(sticking->m_bounds.right, right);
    EXPECT_EQ(sticking->m_bounds.right - sticking->m_bounds.left, 3000);
    EXPECT_EQ(wide->m_bounds.left, CQlDoc::kDeskMargin);
    EXPECT_EQ(wide->m_bounds.right - wide->m_bounds.left, MmToTwips(150));
    EXPECT_EQ(body.GetPageFrame(0).m_rect.right, right - MmToTwips(20));
    const std::vector<std::string> faults = CheckLayoutInvariants(body);
    EXPECT_TRUE(faults.empty());
}

// Without an installed dialog, FileSetup is a bare modal run: OK keeps the values.
TEST_F(NativeFile, BareSettingsRunKeepsTheValues)
{
    plat::ClearModalLog();
    plat::AnswerNextModal(1);
    EXPECT_EQ(doc.FileSetup(), 1);
    ASSERT_EQ(plat::GetModalLog().size(), 1u);
    EXPECT_EQ(plat::GetModalLog()[0].caption, u"文件设置");
    EXPECT_EQ(doc.GetPaperSize(), plat::Size(200, 287));
    EXPECT_FALSE(doc.IsModified());
}

} // namespace
