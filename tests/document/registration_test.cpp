// Object kinds and readers of other formats plug into the document through its registries
// alone: a kind registered by its library's function is created from a saved record, and a
// registered reader's files open and append through the document's own entry points.
#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <string>

#include "document/doc_body.h"
#include "document/doc_importer.h"
#include "document/page_object_list.h"
#include "document/process_state.h"
#include "document/statistics.h"
#include "document/doc_password.h"
#include "document/float_object.h"
#include "platform/ui/modal.h"
#include "platform/ui/timer.h"
#include "document/ql_doc.h"
#include "objects/object_kinds.h"
#include "media/metafile_playback.h"
#include "platform/base/system.h"
#include "platform/gfx/sys_colors.h"
#include "platform/ui/message_box.h"
#include "tests/document/test_importer.h"
#include "tests/document/test_object.h"
#include "tests/support/test_support.h"

namespace fs = std::filesystem;

namespace {

class Registration : public testing::Test {
protected:
    void SetUp() override
    {
        static std::atomic<int> counter{0};
        m_dir = fs::path(plat::TempDirUtf8()) / ("registration_" + std::to_string(counter++));
        fs::create_directories(m_dir);
        plat::ClearMessageBoxLog();
    }
    void TearDown() override
    {
        ResetProcessState();
        std::error_code ec;
        fs::remove_all(m_dir, ec);
    }
    plat::String Write(const std::string& name, const std::string& bytes)
    {
        const fs::path p = m_dir / name;
        testsupport::WriteFile(p.string(), testsupport::Bytes(bytes.begin(), bytes.end()));
        return plat::Utf8ToUtf16(p.string());
    }
    static plat::String BodyText(const CQlDoc& doc)
    {
        const CDocBody& body = *doc.GetBody();
        return body.GetText(0, body.GetCount() - 1);
    }

    fs::path m_dir;
};

TEST_F(Registration, KindAndReaderThroughTheirRegistrationFunctionsAlone)
{
    RegisterObjectKinds();
    objtest::RegisterTestObjectKind();
    objtest::CTestImporter& importer = objtest::RegisterTestImporter();
    const int readsBefore = importer.m_reads;

    // A file of the reader's format opens through FileOpen.
    CQlDoc doc;
    ASSERT_EQ(doc.FileOpen(Write("letter.qlt", "QLTEXT 1\n读入的文字\rsecond"), false), 1);
    EXPECT_EQ(importer.m_reads, readsBefore + 1);
    EXPECT_EQ(importer.m_lastMode, ImportMode::kOpen);
    EXPECT_EQ(BodyText(doc), u"读入的文字\nsecond");
    // The opens' closing steps: the caret at the start, the next editor's author record.
    EXPECT_EQ(doc.GetBody()->GetCaretPos().m_index, 0);
    EXPECT_EQ(doc.GetAuthors().GetCount(), 1);
    EXPECT_FALSE(doc.IsModified());

    // An object of the registered kind saves and comes back as that kind.
    auto object = objtest::NewObject(&doc, 600, 1800, 900, 700);
    object->m_color = 0x2040A0;
    object->m_tag = 7;
    doc.GetBody()->AddObject(std::move(object));
    const plat::String native = plat::Utf8ToUtf16((m_dir / "saved.qln").string());
    ASSERT_EQ(doc.FileSave(native), 1);

    CQlDoc reopened;
    ASSERT_EQ(reopened.FileOpen(native, false), 1);
    EXPECT_EQ(BodyText(reopened), u"读入的文字\nsecond");
    ASSERT_EQ(reopened.GetBody()->GetObjectCount(), 1);
    auto* back = dynamic_cast<objtest::CTestObject*>(reopened.GetBody()->GetObject(0));
    ASSERT_NE(back, nullptr) << "the saved record made an object of the registered kind";
    EXPECT_EQ(back->m_color, 0x2040A0u);
    EXPECT_EQ(back->m_tag, 7);
    EXPECT_EQ(back->m_bounds, plat::Rect(600, 1800, 1500, 2500));
}

TEST_F(Registration, FilesTheReadersRefuseOrDoNotKnow)
{
    struct Case {
        const char* what;
        bool registered;
        std::string bytes;
        int result;
        bool illegalFileShown; // the native reader's refusal
    };
    const Case cases[] = {
        {"recognised and read", true, "QLTEXT 1\nabc", 1, false},
        {"recognised, refused by the reader", true, "QLTEXT 2\nabc", 0, false},
        {"no reader registered: the native reader refuses it", false, "QLTEXT 1\nabc", 0, true},
        {"not the reader's bytes: the native reader refuses it", true, "plain words", 0, true},
        {"empty file", true, "", 0, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        UnregisterDocImporter(u"qltext");
        if (c.registered) objtest::RegisterTestImporter();
        plat::ClearMessageBoxLog();
        CQlDoc doc;
        doc.FileNew();
        doc.GetBody()->InsertItemsAtCaret(u"old");
        EXPECT_EQ(doc.FileOpen(Write("in.bin", c.bytes), false), c.result);
        // Accepted or not, an open leaves a document with the next editor's record; a
        // refused file leaves an empty one.
        EXPECT_EQ(BodyText(doc), c.result ? u"abc" : u"");
        EXPECT_EQ(doc.GetAuthors().GetCount(), 1);
        bool shown = false;
        for (const plat::MessageBoxRecord& r : plat::GetMessageBoxLog()) shown |= r.text == u"非法文件";
        EXPECT_EQ(shown, c.illegalFileShown);
    }
}

TEST_F(Registration, NativeFilesStillOpenNativelyWithAReaderRegistered)
{
    objtest::RegisterTestImporter();
    CQlDoc doc;
    doc.FileNew();
    doc.GetBody()->InsertItemsAtCaret(u"原生文件");
    const plat::String native = plat::Utf8ToUtf16((m_dir / "n.qln").string());
    ASSERT_EQ(doc.FileSave(native), 1);
    CQlDoc reopened;
    ASSERT_EQ(reopened.FileOpen(native, true), 1);
    EXPECT_EQ(BodyText(reopened), u"原生文件");
    EXPECT_TRUE(reopened.IsReadOnly());
}

TEST_F(Registration, AppendAddsAParagraphOrRefusesLeavingTheBody)
{
    objtest::CTestImporter& importer = objtest::RegisterTestImporter();
    struct Case {
        const char* what;
        std::string bytes;
        bool readOnly;
        int result;
        plat::String text;
    };
    const Case cases[] = {
        {"appended as a paragraph of its own", "QLTEXT 1\n追加", false, 1, u"原有\n追加"},
        {"refused by the reader", "QLTEXT 9\n追加", false, 0, u"原有"},
        {"no reader recognises it", "something else", false, 0, u"原有"},
        {"read-only document", "QLTEXT 1\n追加", true, 0, u"原有"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CQlDoc doc;
        doc.FileNew();
        doc.GetBody()->InsertItemsAtCaret(u"原有");
        doc.SetModified(false);
        doc.SetReadOnly(c.readOnly);
        EXPECT_EQ(doc.AppendImported(Write("more.qlt", c.bytes)), c.result);
        EXPECT_EQ(BodyText(doc), c.text);
        EXPECT_EQ(doc.IsModified(), c.result == 1);
        if (c.result == 1) {
            EXPECT_EQ(importer.m_lastMode, ImportMode::kAppend);
            EXPECT_EQ(doc.GetBody()->GetCaretPos().m_index, 0);
        }
    }
    CQlDoc doc;
    doc.FileNew();
    EXPECT_EQ(doc.AppendImported(plat::Utf8ToUtf16((m_dir / "missing.qlt").string())), 0);
}

TEST_F(Registration, ARegisteredNameIsReplacedAndFoundOnce)
{
    objtest::CTestImporter first;
    objtest::CTestImporter second;
    EXPECT_EQ(RegisterDocImporter(&first), nullptr);
    EXPECT_EQ(RegisterDocImporter(&second), &first);
    EXPECT_EQ(FindDocImporterByName(u"qltext"), &second);
    const std::uint8_t head[] = {'Q', 'L', 'T', 'E', 'X', 'T', ' ', '1'};
    EXPECT_EQ(FindDocImporter(head), &second);
    UnregisterDocImporter(u"qltext");
    EXPECT_EQ(FindDocImporterByName(u"qltext"), nullptr);
    EXPECT_EQ(FindDocImporter(head), nullptr);
    EXPECT_EQ(RegisterDocImporter(nullptr), nullptr);
}

TEST_F(Registration, ResetProcessStatePutsBackWhatTestsChange)
{
    objtest::RegisterTestObjectKind();
    objtest::RegisterTestImporter();
    plat::SetManualClock(5000);
    plat::SetGuidSource([] { return plat::String(u"fixed"); });
    int owner = 0;
    plat::SetTimer(&owner, 1, 10, [] {});
    plat::SetModalHandler([](const plat::ModalRecord&) { return std::optional<int>(1); });
    SetPasswordPrompt([] { return plat::String(u"pw"); });
    CPageObjectList::SetPasteOffset(plat::Point(999, 999));
    bool counted = false;
    SetWordCountDialog([&counted](const std::vector<CStatisticsRow>&) { counted = true; });
    const plat::ColorRef face = plat::GetSysColor(plat::kColorBtnFace);
    plat::SetSysColor(plat::kColorBtnFace, face ^ 0xFFFFFF);
    SetMetafileWaits({std::chrono::seconds(9), std::chrono::seconds(9)});

    ResetProcessState();

    CQlDoc doc;
    EXPECT_EQ(CreateDocObject(&doc, objtest::kTestType, nullptr), nullptr);
    EXPECT_EQ(FindDocImporterByName(u"qltext"), nullptr);
    EXPECT_GT(plat::Now(), 1'600'000'000) << "the real clock runs again";
    EXPECT_NE(plat::NewGuid(), u"fixed");
    EXPECT_FALSE(plat::IsTimerSet(&owner, 1));
    EXPECT_EQ(CPageObjectList::GetPasteOffset(), plat::Point(200, 200));
    ShowWordCount({});
    EXPECT_FALSE(counted) << "no word-count dialog";
    EXPECT_EQ(plat::GetSysColor(plat::kColorBtnFace), face);
    EXPECT_EQ(GetMetafileWaits().repaint, MetafileWaits{}.repaint);
    EXPECT_EQ(GetMetafileWaits().load, MetafileWaits{}.load);
}

} // namespace
