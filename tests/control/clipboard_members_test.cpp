// The clipboard members of the automation interface on a main frame in a host window:
// copy, cut and paste through the process's clipboard, the paste command of the frame,
// text from another program, a clipboard that refuses, and the count of blocks pasted
// from the reference pane that CloseReference gives back.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "document/doc_importer.h"
#include "document/doc_view.h"
#include "io/rtf_importer.h"
#include "platform/ui/clipboard.h"
#include "platform/ui/message.h"
#include "tests/control/automation_support.h"

namespace {

using autotest::AutomationTest;
using plat::Variant;

class ClipboardMembers : public AutomationTest {
protected:
    void SetUp() override
    {
        AutomationTest::SetUp();
        plat::ResetClipboard();
    }
    void TearDown() override
    {
        plat::ResetClipboard();
        AutomationTest::TearDown();
    }
    std::vector<plat::String> Formats() const
    {
        std::vector<plat::String> names;
        for (unsigned f : plat::GetClipboardFormats()) names.push_back(plat::GetClipboardFormatName(f).value_or(u"?"));
        return names;
    }
    // Another program puts text on the clipboard.
    static void PutUnicodeText(const std::u16string& text)
    {
        std::vector<std::uint8_t> bytes;
        for (char16_t c : text) {
            bytes.push_back(static_cast<std::uint8_t>(c & 0xFF));
            bytes.push_back(static_cast<std::uint8_t>(c >> 8));
        }
        bytes.insert(bytes.end(), {0, 0});
        ASSERT_TRUE(plat::OpenClipboard(nullptr));
        ASSERT_TRUE(plat::EmptyClipboard());
        ASSERT_TRUE(plat::SetClipboardData(plat::kCfUnicodeText, bytes));
        ASSERT_TRUE(plat::CloseClipboard());
    }
};

TEST_F(ClipboardMembers, CopyCutAndPasteTheMainDocument)
{
    ASSERT_TRUE(CallBool(u"InsertString", {Variant::Str(u"copy me")}));
    EXPECT_FALSE(CallBool(u"CanEditCopy")) << "no selection";
    EXPECT_FALSE(CallBool(u"EditCopy"));
    EXPECT_FALSE(CallBool(u"CanEditPaste")) << "an empty clipboard";
    EXPECT_FALSE(CallBool(u"EditPaste"));

    ASSERT_TRUE(CallBool(u"EditSelectAll"));
    EXPECT_TRUE(CallBool(u"CanEditCopy"));
    EXPECT_TRUE(CallBool(u"EditCopy"));
    EXPECT_EQ(Formats(), (std::vector<plat::String>{kTextClipboardFormat, u"CF_UNICODETEXT", kPageClipboardFormat,
                                                     kRtfClipboardFormat}));
    EXPECT_FALSE(plat::IsClipboardOpen());
    SetCaret(7);
    EXPECT_TRUE(CallBool(u"CanEditPaste"));
    EXPECT_TRUE(CallBool(u"EditPaste"));
    EXPECT_EQ(Text(), "copy mecopy me");

    ASSERT_TRUE(CallBool(u"EditSelectAll"));
    EXPECT_TRUE(CallBool(u"CanEditCut"));
    EXPECT_TRUE(CallBool(u"EditCut"));
    EXPECT_EQ(Text(), "");
    EXPECT_TRUE(CallBool(u"EditPaste"));
    EXPECT_EQ(Text(), "copy mecopy me");
    EXPECT_TRUE(CallBool(u"EditUndo"));
    EXPECT_EQ(Text(), "");
}

TEST_F(ClipboardMembers, ARefusingClipboardCutsNothing)
{
    ASSERT_TRUE(CallBool(u"InsertString", {Variant::Str(u"stays")}));
    ASSERT_TRUE(CallBool(u"EditSelectAll"));
    for (const plat::ClipboardFailures failures : {plat::ClipboardFailures{true, false}, plat::ClipboardFailures{false, true}}) {
        plat::SetClipboardFailures(failures);
        EXPECT_TRUE(CallBool(u"CanEditCut")) << "the test cannot know";
        EXPECT_FALSE(CallBool(u"EditCut"));
        EXPECT_FALSE(CallBool(u"EditCopy"));
        EXPECT_EQ(Text(), "stays");
        EXPECT_TRUE(body().HasSelection());
        EXPECT_FALSE(plat::IsClipboardOpen()) << "an emptying refused closes the clipboard";
    }
    plat::SetClipboardFailures({});
    EXPECT_TRUE(CallBool(u"EditCut"));
    EXPECT_EQ(Text(), "");
}

TEST_F(ClipboardMembers, TextFromAnotherProgramPastes)
{
    PutUnicodeText(u"外来 text");
    EXPECT_TRUE(CallBool(u"CanEditPaste"));
    EXPECT_TRUE(CallBool(u"EditPaste"));
    EXPECT_EQ(Text(), "外来 text");
    // The frame's own paste command does the same.
    plat::SendMessage(&frame(), plat::kWmCommand, 57637, 0);
    EXPECT_EQ(Text(), "外来 text外来 text");
}

TEST_F(ClipboardMembers, CloseReferenceCountsTheBlocksPastedFromTheReferencePane)
{
    const plat::String path = SavedDocument("reference.qln", u"seen there");
    ASSERT_TRUE(CallBool(u"OpenReference", {Variant::Str(path)}));
    CQlDoc& reference = *frame().GetReferenceDoc();
    // The reference pane's select all and copy, as its context menu sends them.
    plat::SendMessage(&frame(), plat::kWmCommand, 35013, 0);
    plat::SendMessage(&frame(), plat::kWmCommand, 35012, 0);
    EXPECT_TRUE(reference.GetBody()->HasSelection());
    EXPECT_TRUE(CallBool(u"EditPaste"));
    EXPECT_TRUE(CallBool(u"EditPaste"));
    EXPECT_EQ(Text(), "seen thereseen there");
    // Text typed or pasted from the main document itself does not count.
    ASSERT_TRUE(CallBool(u"EditSelectAll"));
    ASSERT_TRUE(CallBool(u"EditCopy"));
    SetCaret(0);
    EXPECT_TRUE(CallBool(u"EditPaste"));
    EXPECT_EQ(CallLong(u"CloseReference"), 2);
    EXPECT_EQ(CallLong(u"CloseReference"), 0);
    EXPECT_EQ(doc().GetReferencePasteCount(), 0);
}

TEST_F(ClipboardMembers, RtfAloneIsPastedAsTheFramesPasteCommandPastesIt)
{
    // Another program leaves only RTF: the member offers and pastes it through the RTF
    // reader, which the control registers when it starts.
    RegisterRtfImporter();
    const std::string rtf = "{\\rtf1\\ansi\\ansicpg936 {\\b bold} rtf\\par}";
    ASSERT_TRUE(plat::OpenClipboard(nullptr));
    ASSERT_TRUE(plat::EmptyClipboard());
    ASSERT_TRUE(plat::SetClipboardData(plat::RegisterClipboardFormat(kRtfClipboardFormat),
                                       std::vector<std::uint8_t>(rtf.begin(), rtf.end())));
    ASSERT_TRUE(plat::CloseClipboard());
    EXPECT_TRUE(CallBool(u"CanEditPaste"));
    EXPECT_TRUE(CallBool(u"EditPaste"));
    EXPECT_EQ(Text().rfind("bold rtf", 0), 0u) << Text();
    UnregisterDocImporters();
}

TEST_F(ClipboardMembers, AReadOnlyDocumentCopiesButTakesNothing)
{
    const plat::String path = SavedDocument("fixed.qln", u"fixed");
    ASSERT_TRUE(CallBool(u"FileOpen", {Variant::Str(path), Variant::Long(1)}));
    doc().EditSelectAll();
    PutUnicodeText(u"more");
    EXPECT_FALSE(CallBool(u"CanEditPaste"));
    EXPECT_FALSE(CallBool(u"EditPaste"));
    EXPECT_FALSE(CallBool(u"EditCut"));
    EXPECT_EQ(Text(), "fixed");
    // The frame's copy command works in a read-only document.
    plat::SendMessage(&frame(), plat::kWmCommand, 57634, 0);
    ASSERT_TRUE(plat::OpenClipboard(nullptr));
    const auto text = plat::GetClipboardData(plat::kCfUnicodeText);
    plat::CloseClipboard();
    ASSERT_TRUE(text);
    EXPECT_EQ(text->size(), 12u);
}

} // namespace
