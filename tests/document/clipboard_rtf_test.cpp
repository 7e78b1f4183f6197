// RTF and bitmaps on the clipboard: what a copy offers where, RTF copied from one document
// and pasted into another through the registered RTF reader (formats kept item by item),
// the paste command's preference of PAGE over RTF, and a bitmap put on the clipboard by
// another program pasted as a new picture of the image kind with no file left behind.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "document/doc_commands.h"
#include "document/doc_importer.h"
#include "document/doc_view.h"
#include "document/float_object.h"
#include "document/format_state.h"
#include "io/rtf_importer.h"
#include "platform/base/system.h"
#include "platform/ui/clipboard.h"
#include "objects/object_kinds.h"
#include "tests/document/test_object.h"
#include "tests/document/visible_items.h"
#include "tests/io/pdf_support.h"
#include "tests/objects/mixed_export_document.h"
#include "tests/support/dib_bytes.h"

using namespace exporttest;

namespace {

using Bytes = std::vector<std::uint8_t>;

class ClipboardRtf : public testing::Test {
protected:
    static void SetUpTestSuite() { RegisterRtfImporter(); }
    void SetUp() override { RegisterObjectKinds(); }
    void TearDown() override { UnregisterDocObjects(); }

    std::set<plat::String> Formats(ExportDoc& d) const
    {
        std::set<plat::String> names;
        for (const auto& entry : d.window.m_clipboard) names.insert(entry.first);
        return names;
    }
};

TEST_F(ClipboardRtf, ACopyOffersRtfOfTheBodySelectionAndOfSelectedObjects)
{
    ExportDoc d;
    d.Append(u"abc");
    d.Body().SetSelection(CTextPos(3, d.Body().GetName()), d.Body().GetStartPos());
    ASSERT_TRUE(d.doc.EditCopy());
    EXPECT_EQ(Formats(d), (std::set<plat::String>{kTextClipboardFormat, kUnicodeTextClipboardFormat,
                                                   kPageClipboardFormat, kRtfClipboardFormat}));
    const Bytes& rtf = d.window.m_clipboard.at(kRtfClipboardFormat);
    const std::string text(rtf.begin(), rtf.end());
    EXPECT_EQ(text.rfind("{\\rtf1\\ansi\\ansicpg936", 0), 0u) << text;
    // The selection's run, then the closing brace; lines end as the export's do.
    EXPECT_TRUE(Contains(text, "\\gutter0\\qj\\fi0\\li0\\ri0\\sl315\r\n\\f0\\cf1\\fs21 \\b0 \\i0 \\ul0 abc}\r\n"))
        << text;

    // One picture selected (inserted, so selected): its block and its RTF shape.
    d.Body().SetCaret(d.Body().GetStartPos());
    const std::string file = WritePicture(pdftest::Dir("clip") + "copied.jpg", 100, 50);
    ASSERT_EQ(d.doc.InsertImage(pdftest::U(file), plat::String(), 0, 0, 0, 0), 1);
    ASSERT_EQ(d.Body().GetSelectedCount(), 1);
    const plat::Rect box = d.Body().GetSelectedObject(0)->GetBounds();
    ASSERT_TRUE(d.doc.EditCopy());
    EXPECT_EQ(Formats(d), (std::set<plat::String>{kBlockClipboardFormat, kRtfClipboardFormat}));
    const Bytes& shape = d.window.m_clipboard.at(kRtfClipboardFormat);
    EXPECT_TRUE(Contains(std::string(shape.begin(), shape.end()),
                         plat::Utf16ToUtf8(plat::Format(u"\\picwgoal%d\\pichgoal%d", box.Width(), box.Height()))));
    // No scratch file stays behind.
    for (const std::string& name : pdftest::List(plat::TempDirUtf8())) EXPECT_EQ(name.find("EditCopy"), std::string::npos);
}

TEST_F(ClipboardRtf, ANewDocumentDropsTheObjectBlockAndPastesTheObjectsRtf)
{
    ExportDoc d;
    d.Append(u"text");
    const std::string file = WritePicture(pdftest::Dir("clip") + "renewed.jpg", 60, 30);
    ASSERT_EQ(d.doc.InsertImage(pdftest::U(file), plat::String(), 0, 0, 0, 0), 1);
    const plat::Rect box = d.Body().GetSelectedObject(0)->GetBounds();
    ASSERT_TRUE(d.doc.EditCopy());

    // The block refers to the old document's image store: it goes, and the RTF stays.
    d.doc.FileNew();
    EXPECT_EQ(Formats(d), std::set<plat::String>{kRtfClipboardFormat});
    ASSERT_TRUE(d.doc.CanEditPaste());
    ASSERT_TRUE(d.doc.EditPaste());
    ASSERT_EQ(d.Body().GetObjectCount(), 1);
    const auto* picture = dynamic_cast<const CImageObject*>(d.Body().GetObject(0));
    ASSERT_NE(picture, nullptr);
    EXPECT_NEAR(picture->m_width, box.Width(), 15);
    EXPECT_NEAR(picture->m_height, box.Height(), 15);

    // A reset without a block on the clipboard leaves it alone.
    d.doc.FileNew();
    EXPECT_EQ(Formats(d), std::set<plat::String>{kRtfClipboardFormat});
}

TEST_F(ClipboardRtf, ACopyInsideATextShapeOffersTextOnly)
{
    ExportDoc d;
    d.Append(u"body text");
    CFloatObject* added = d.doc.AddNewObject(MakeTextShape(d.doc, plat::Rect(2000, 2000, 5000, 3200), u"框中 text"));
    auto* shape = dynamic_cast<CTextShapeObject*>(added);
    ASSERT_NE(shape, nullptr);
    ASSERT_EQ(d.Body().GetSelectedCount(), 1);
    // The shape's text takes the focus, as a new shape's does, and two characters are
    // selected in it.
    shape->OnPlaced();
    CTextFlow& frame = *shape->GetFrame();
    ASSERT_EQ(d.doc.GetFocusText(), &frame);
    frame.SetSelection(CTextPos(2, frame.GetName()), frame.GetStartPos());
    ASSERT_TRUE(d.doc.CanCopy());
    ASSERT_TRUE(d.doc.EditCopy());
    EXPECT_EQ(Formats(d), (std::set<plat::String>{kTextClipboardFormat, kUnicodeTextClipboardFormat}));
    EXPECT_EQ(plat::UnicodeTextFromBytes(d.window.m_clipboard.at(kUnicodeTextClipboardFormat)), u"框中");
}

TEST_F(ClipboardRtf, RtfCopiedFromOneDocumentPastesIntoAnotherWithItsFormats)
{
    ExportDoc from;
    from.Append(u"Plain ");
    from.Append(u"Bold", StyledFormat(u"Arial Black", 280, true, false, 0, plat::Rgb(200, 0, 0)));
    from.Append(u" it", StyledFormat(u"Courier New", 210, false, true, 2, plat::Rgb(0, 0, 255)));
    from.Append(u"\r中文", PlainFormat());
    CCharFormat dotted = StyledFormat(u"Times New Roman", 240, false, false, 3, 0);
    from.Append(u"x", dotted);
    const int end = from.Body().GetCount() - 1;
    from.Body().SetSelection(CTextPos(end, from.Body().GetName()), from.Body().GetStartPos());
    ASSERT_TRUE(from.doc.EditCopy());

    // Another program sees only RTF and text: the private formats go.
    ExportDoc to;
    to.window.m_clipboard = from.window.m_clipboard;
    to.window.m_clipboard.erase(kPageClipboardFormat);
    to.window.m_clipboard.erase(kTextClipboardFormat);
    ASSERT_TRUE(to.doc.CanEditPaste());
    ASSERT_TRUE(to.doc.EditPaste());
    EXPECT_TRUE(to.doc.IsModified());

    // The pasted text is the copied text, item by item, before the body's final paragraph
    // end (the reader ends its last paragraph too).
    std::vector<VisibleItem> want = VisibleItems(from.Body(), 0, end);
    std::vector<VisibleItem> got = VisibleItems(to.Body(), 0, to.Body().GetCount() - 1);
    while (!got.empty() && got.back().type == kItemParaEnd) got.pop_back();
    EXPECT_EQ(got, want);

    // Undo takes the whole paste back.
    to.doc.EditUndo();
    EXPECT_EQ(to.Body().GetCount(), 1);
}

TEST_F(ClipboardRtf, ThePasteCommandPrefersPageToRtfAndRtfToText)
{
    ExportDoc from;
    from.Append(u"xy", StyledFormat(u"Arial Black", 210, true, false, 0, 0));
    from.Body().SetSelection(CTextPos(2, from.Body().GetName()), from.Body().GetStartPos());
    ASSERT_TRUE(from.doc.EditCopy());
    const auto clipboard = from.window.m_clipboard;

    // PAGE, then RTF with the private text block left, then the text block alone; each
    // keeps the bold word.
    for (const auto& removed : std::vector<std::vector<const char16_t*>>{
             {}, {kPageClipboardFormat}, {kPageClipboardFormat, kRtfClipboardFormat}}) {
        ExportDoc to;
        to.window.m_clipboard = clipboard;
        for (const char16_t* f : removed) to.window.m_clipboard.erase(f);
        // The PAGE block is read by the body, the RTF by the reader: a damaged PAGE block
        // shows which one ran.
        if (removed.empty()) to.window.m_clipboard[kRtfClipboardFormat] = {'{', '\\', 'r', 't', 'f', '1', ' ', 'Q', '}'};
        if (removed.size() == 1) to.window.m_clipboard[kTextClipboardFormat] = {1, 2, 3};
        ASSERT_TRUE(to.doc.EditPaste()) << removed.size();
        EXPECT_EQ(to.Body().GetText(0, to.Body().GetCount() - 1).substr(0, 2), u"xy") << removed.size();
        EXPECT_TRUE(to.Body().GetItem(0)->GetFormat().m_bold) << removed.size();
    }

    // Objects copied here paste from their block, not as the pictures of their RTF.
    {
        objtest::ScopedTestKind kind;
        ExportDoc objects;
        CFloatObject* box = objects.Body().AddObject(objtest::NewObject(&objects.doc, 1000, 1000, 500, 500, kWrapNone));
        box->SetSelected(true);
        ASSERT_TRUE(objects.doc.EditCopy());
        ASSERT_EQ(objects.window.m_clipboard.count(kRtfClipboardFormat), 1u);
        objects.Body().DeselectAll();
        ASSERT_TRUE(objects.doc.CanPasteRtf());
        ASSERT_TRUE(objects.doc.EditPaste());
        ASSERT_EQ(objects.Body().GetObjectCount(), 2);
        EXPECT_EQ(objects.Body().GetObject(1)->GetNodeType(), box->GetNodeType());
    }

    // A selected page object leaves RTF out: the first private kind present is pasted.
    ExportDoc to;
    to.window.m_clipboard = clipboard;
    to.window.m_clipboard.erase(kPageClipboardFormat);
    CFloatObject* box = to.Body().AddObject(objtest::NewObject(&to.doc, 1000, 1000, 500, 500, kWrapNone));
    box->SetSelected(true);
    EXPECT_FALSE(to.doc.CanPasteRtf());
    EXPECT_EQ(to.doc.GetClipboardPasteKind(), CQlDoc::kPasteText);
}

TEST_F(ClipboardRtf, ABitmapPastesAsANewPictureAndLeavesNoFile)
{
    ExportDoc d;
    d.Append(u"text");
    test_support::DibSpec spec;
    spec.width = 3;
    spec.height = 2;
    spec.bitCount = 24;
    spec.rows = {{0xFF0000, 0x00FF00, 0x0000FF}, {0xFFFFFF, 0x000000, 0x808080}};
    d.window.m_clipboard[kBitmapClipboardFormat] = test_support::MakeDib(spec);
    const std::string dir = pdftest::Dir("clip");
    const std::vector<std::string> before = pdftest::List(plat::TempDirUtf8());

    EXPECT_EQ(d.doc.GetClipboardPasteKind(), CQlDoc::kPasteBitmap);
    ASSERT_TRUE(d.doc.CanEditPaste());
    ASSERT_TRUE(d.doc.EditPaste());
    ASSERT_EQ(d.Body().GetObjectCount(), 1);
    auto* pasted = dynamic_cast<CImageObject*>(d.Body().GetObject(0));
    ASSERT_NE(pasted, nullptr);
    EXPECT_EQ(pasted->GetNaturalSize(), plat::Size(3, 2));
    // The image store holds a JPEG of the bitmap; the scratch file it was made from is
    // gone (the one new file is the store's working copy).
    EXPECT_EQ(pasted->GetExportExt(), u".jpg");
    ASSERT_TRUE(pasted->ExportFile(pdftest::U(dir + "pasted.jpg")));
    const Bytes jpeg = testsupport::ReadFile(dir + "pasted.jpg");
    ASSERT_GE(jpeg.size(), 4u);
    EXPECT_EQ(jpeg[0], 0xFF);
    EXPECT_EQ(jpeg[1], 0xD8);
    std::vector<std::string> added;
    for (const std::string& name : pdftest::List(plat::TempDirUtf8()))
        if (std::find(before.begin(), before.end(), name) == before.end()) added.push_back(name);
    EXPECT_LE(added.size(), 1u);
    for (const std::string& name : added) EXPECT_EQ(name.find("bmpCopy"), std::string::npos) << name;

    // Placed as a picture of the same size inserted from a file is.
    ExportDoc direct;
    direct.Append(u"text");
    ASSERT_EQ(direct.doc.InsertImage(pdftest::U(WritePicture(dir + "same.jpg", 3, 2)), plat::String(), 0, 0, 0, 0), 1);
    EXPECT_EQ(pasted->m_bounds, direct.Body().GetObject(0)->m_bounds);
    EXPECT_EQ(pasted->GetCorners(), dynamic_cast<CImageObject&>(*direct.Body().GetObject(0)).GetCorners());

    // Bytes that are no bitmap paste nothing.
    d.window.m_clipboard[kBitmapClipboardFormat] = {1, 2, 3};
    EXPECT_FALSE(d.doc.PasteFormat(CQlDoc::kPasteBitmap));
    EXPECT_EQ(d.Body().GetObjectCount(), 1);
}

} // namespace
