// Cut, copy and paste of the document through its view's clipboard: text with the objects
// anchored to it between the reference pane and the main document, blocks of objects,
// Unicode text in and out, the paste command's choice of format, and the refusals that
// must leave the document as it was (a clipboard that will not open, a damaged block).
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "document/doc_view.h"
#include "document/format_state.h"
#include "platform/file/file.h"
#include "tests/document/page_body_support.h"

using namespace pagebody;

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Utf16Bytes(const std::u16string& text, bool nul = true)
{
    Bytes bytes;
    for (char16_t c : text) {
        bytes.push_back(static_cast<std::uint8_t>(c & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>(c >> 8));
    }
    if (nul) bytes.insert(bytes.end(), {0, 0});
    return bytes;
}

class Clipboard : public BodyTest {
protected:
    void SetUp() override
    {
        BodyTest::SetUp();
        reference.Reset();
        reference.SetReference(true);
        CDocBody& r = *reference.GetBody();
        reference.SetPageSettings(kSmallMargins, kSmallPaper);
        r.SetPageGeometry(kSmallMargins.left, kSmallMargins.top, kSmallMargins.right, kSmallMargins.bottom,
                          kSmallPaper.cx, kSmallPaper.cy);
        r.BuildPageRegions();
        r.RelayoutWhole();
    }

    plat::String Text() const { return body().GetText(0, body().GetCount() - 1); }
    Bytes BodyBytes() const
    {
        plat::MemFile mem;
        {
            plat::Archive ar(mem, plat::Archive::kStore);
            body().Save(ar, kArchiveUndo);
            ar.Flush();
        }
        return mem.Data();
    }
    int UndoDepth() const { return doc.GetUndoStack().Top(); }
    std::set<plat::String> Formats() const
    {
        std::set<plat::String> names;
        for (const auto& entry : window.m_clipboard) names.insert(entry.first);
        return names;
    }
    const CParaEndItem& ParaEnd(const CDocBody& b, int i) const
    {
        return static_cast<const CParaEndItem&>(*b.GetItem(i));
    }
    // Nothing changed: the body's snapshot, the history, the flag, the reference count.
    struct State {
        Bytes body;
        int undo;
        bool modified;
        int pastes;
    };
    State Now() const { return {BodyBytes(), UndoDepth(), doc.IsModified(), doc.GetReferencePasteCount()}; }
    void ExpectUnchanged(const State& before, const std::string& what) const
    {
        EXPECT_EQ(BodyBytes(), before.body) << what;
        EXPECT_EQ(UndoDepth(), before.undo) << what;
        EXPECT_EQ(doc.IsModified(), before.modified) << what;
        EXPECT_EQ(doc.GetReferencePasteCount(), before.pastes) << what;
    }

    // The reference pane's document, on the same clipboard as the main one.
    CQlDoc reference{&window, &window};
};

TEST_F(Clipboard, TextWithAnAnchoredObjectGoesFromTheReferencePaneToTheMainDocument)
{
    CDocBody& r = *reference.GetBody();
    AppendText(r, u"alpha\rbeta\rgamma");
    r.RelayoutWhole();
    const int alphaEnd = 5;
    // Where the second line stood: the box pushes it down and follows the first paragraph.
    const int top = r.GetItem(alphaEnd + 1)->GetLineTop();
    auto* box = static_cast<objtest::CTestObject*>(
        r.AddObject(objtest::NewObject(&reference, 2600, top, 700, 300, kWrapNone)));
    box->m_color = 0x00FF00;
    box->m_tag = 7;
    r.BuildPageRegions();
    r.RelayoutWhole();
    ASSERT_EQ(box->m_anchorName, ParaEnd(r, alphaEnd).GetName());
    const int offset = box->m_anchorOffset;
    // "alpha\nbe": the paragraph end the box anchors to is inside the selection.
    r.SetSelection(CTextPos(alphaEnd + 3, r.GetName()), CTextPos(0, r.GetName()));
    ASSERT_TRUE(reference.EditCopy());
    EXPECT_EQ(Formats(), (std::set<plat::String>{kPageClipboardFormat, kTextClipboardFormat,
                                                  kUnicodeTextClipboardFormat, kRtfClipboardFormat}));

    Append(u"XY");
    Caret(1);
    const Bytes before = BodyBytes();
    ASSERT_TRUE(doc.CanEditPaste());
    ASSERT_TRUE(doc.EditPaste());
    EXPECT_EQ(Text(), u"Xalpha\nbeY");
    EXPECT_FALSE(body().HasSelection()) << "the caret ends after the pasted text";
    EXPECT_EQ(body().GetCaretPos().m_index, 9);
    ASSERT_EQ(body().GetObjectCount(), 1) << "the page block was chosen over the text block";
    auto* pasted = static_cast<objtest::CTestObject*>(body().GetObject(0));
    EXPECT_NE(pasted, box);
    EXPECT_EQ(pasted->m_tag, 7);
    EXPECT_EQ(pasted->m_color, 0x00FF00u);
    EXPECT_EQ(pasted->m_bounds.left, 2600);
    EXPECT_EQ(pasted->m_bounds.Height(), box->m_bounds.Height());
    const CParaEndItem& end = ParaEnd(body(), 6);
    EXPECT_EQ(pasted->m_anchorName, end.GetName());
    EXPECT_NE(end.GetName(), ParaEnd(r, alphaEnd).GetName()) << "a pasted paragraph end gets a fresh name";
    EXPECT_EQ(pasted->m_bounds.top - end.GetTop(), offset) << "the box keeps its place below its paragraph";
    EXPECT_EQ(doc.GetReferencePasteCount(), 1);
    EXPECT_EQ(reference.GetReferencePasteCount(), 0);
    EXPECT_TRUE(doc.IsModified());
    ExpectSound();

    doc.EditUndo();
    EXPECT_EQ(BodyBytes(), before);
    EXPECT_EQ(body().GetObjectCount(), 0);

    // A text block into the main document from itself does not count.
    Select(0, 2);
    ASSERT_TRUE(doc.EditCopy());
    Caret(2);
    ASSERT_TRUE(doc.EditPaste());
    EXPECT_EQ(Text(), u"XYXY");
    EXPECT_EQ(doc.GetReferencePasteCount(), 1);
}

TEST_F(Clipboard, ABlockOfObjectsPastesAsAGroupBelowTheVisibleCorner)
{
    Append(u"text");
    auto* a = AddObject(plat::Rect(1500, 1200, 2100, 1600), kWrapBoth, 1);
    auto* b = AddObject(plat::Rect(2300, 1800, 2700, 2000), kWrapBoth, 2);
    AddObject(plat::Rect(900, 2200, 1200, 2400), kWrapBoth, 3);
    a->SetSelected(true);
    b->SetSelected(true);
    ASSERT_TRUE(doc.EditCopy());
    EXPECT_EQ(Formats(), (std::set<plat::String>{kBlockClipboardFormat, kRtfClipboardFormat}));
    EXPECT_EQ(doc.GetClipboardPasteKind(), CQlDoc::kPasteBlock);
    // The RTF holds the two selected objects as shapes, not the third.
    const Bytes& rtf = window.m_clipboard.at(kRtfClipboardFormat);
    const std::string text(rtf.begin(), rtf.end());
    int shapes = 0;
    for (size_t at = 0; (at = text.find("{\\shp{", at)) != std::string::npos; ++at) ++shapes;
    EXPECT_EQ(shapes, 2) << text;

    window.m_scroll = plat::Point(0, 30);
    const plat::Point origin = doc.PixelsToTwipsPoint(20, 50);
    for (int paste = 1; paste <= 2; ++paste) {
        ASSERT_TRUE(doc.EditPaste()) << paste;
        ASSERT_EQ(body().GetObjectCount(), 3 + 2 * paste);
        auto* first = static_cast<objtest::CTestObject*>(body().GetObject(1 + 2 * paste));
        auto* second = static_cast<objtest::CTestObject*>(body().GetObject(2 + 2 * paste));
        EXPECT_EQ(first->m_tag, 1);
        EXPECT_EQ(first->m_bounds, plat::Rect(origin.x, origin.y, origin.x + 600, origin.y + 400)) << paste;
        EXPECT_EQ(second->m_bounds,
                  plat::Rect(origin.x + 800, origin.y + 600, origin.x + 1200, origin.y + 800)) << paste;
        EXPECT_EQ(body().GetSelectedCount(), 2) << "only the pasted group is selected";
        EXPECT_TRUE(first->IsSelected() && second->IsSelected());
    }
    EXPECT_EQ(doc.GetReferencePasteCount(), 0);
    EXPECT_EQ(doc.GetFormatState()->GetFocusObject(), &body());
    ExpectSound();
    doc.EditUndo();
    EXPECT_EQ(body().GetObjectCount(), 5);

    // From the reference pane: the group comes over and counts once.
    CDocBody& r = *reference.GetBody();
    auto* theirs = static_cast<objtest::CTestObject*>(r.AddObject(objtest::NewObject(&reference, 1000, 900, 500, 200)));
    theirs->m_tag = 9;
    theirs->SetSelected(true);
    ASSERT_TRUE(reference.EditCopy());
    ASSERT_TRUE(doc.EditPaste());
    ASSERT_EQ(body().GetObjectCount(), 6);
    EXPECT_EQ(static_cast<objtest::CTestObject*>(body().GetObject(5))->m_tag, 9);
    EXPECT_EQ(body().GetObject(5)->m_bounds, plat::Rect(origin.x, origin.y, origin.x + 500, origin.y + 200));
    EXPECT_EQ(doc.GetReferencePasteCount(), 1);
    EXPECT_EQ(r.GetObjectCount(), 1) << "copying leaves the reference document as it was";
}

TEST_F(Clipboard, UnicodeTextGoesOutWholeAndComesIn)
{
    Append(u"你好 world\rsecond");
    Select(0, body().GetCount() - 1);
    ASSERT_TRUE(doc.EditCopy());
    EXPECT_EQ(window.m_clipboard[kUnicodeTextClipboardFormat], Utf16Bytes(u"你好 world\nsecond"));

    // Longer than any fixed buffer: all of it.
    const std::u16string longText(1500, u'x');
    Append(u"\r" + longText);
    Select(body().GetCount() - 1 - 1500, body().GetCount() - 1);
    ASSERT_TRUE(doc.EditCopy());
    EXPECT_EQ(window.m_clipboard[kUnicodeTextClipboardFormat].size(), 1500u * 2 + 2);

    // From another program: CR LF is one paragraph end, the text ends at its NUL, and a
    // last odd byte is no character.
    window.m_clipboard.clear();
    Bytes in = Utf16Bytes(u"甲乙\r\nc", false);
    in.push_back(0x41);
    window.m_clipboard[kUnicodeTextClipboardFormat] = in;
    Caret(0);
    ASSERT_TRUE(doc.EditPaste());
    EXPECT_EQ(Text().substr(0, 5), u"甲乙\nc你");
    Bytes stopped = Utf16Bytes(u"z");
    const Bytes tail = Utf16Bytes(u"never");
    stopped.insert(stopped.end(), tail.begin(), tail.end());
    window.m_clipboard[kUnicodeTextClipboardFormat] = stopped;
    Caret(0);
    ASSERT_TRUE(doc.EditPaste());
    EXPECT_EQ(Text().substr(0, 3), u"z甲乙");
}

TEST_F(Clipboard, ThePasteCommandTakesTheRichestFormatThatFits)
{
    struct Row {
        const char* what;
        std::vector<const char16_t*> formats;
        int kind;      // the canvas's kind
        bool command;  // the frame's paste command
    };
    const Row rows[] = {
        {"empty", {}, 0, false},
        {"unicode", {kUnicodeTextClipboardFormat}, CQlDoc::kPasteUnicodeText, true},
        {"cells need a table", {kUnitClipboardFormat, kUnicodeTextClipboardFormat}, CQlDoc::kPasteUnit, false},
        {"objects before text", {kBlockClipboardFormat, kUnicodeTextClipboardFormat}, CQlDoc::kPasteBlock, true},
        {"text block first", {kUnicodeTextClipboardFormat, kBlockClipboardFormat, kTextClipboardFormat},
         CQlDoc::kPasteText, true},
        {"page: the command only", {kPageClipboardFormat}, 0, true},
        {"RTF is not read yet", {u"Rich Text Format"}, 0, false},
    };
    for (const Row& row : rows) {
        window.m_clipboard.clear();
        for (const char16_t* f : row.formats) window.m_clipboard[f] = Bytes{0};
        EXPECT_EQ(doc.GetClipboardPasteKind(), row.kind) << row.what;
        EXPECT_EQ(doc.CanEditPaste(), row.command) << row.what;
    }
    // A selected object takes no text: the page block is not offered.
    AddObject(plat::Rect(1500, 1200, 2100, 1600))->SetSelected(true);
    window.m_clipboard.clear();
    window.m_clipboard[kPageClipboardFormat] = Bytes{0};
    EXPECT_FALSE(doc.CanPastePage());
    EXPECT_FALSE(doc.CanEditPaste());
}

TEST_F(Clipboard, CutDeletesOnlyWhatReachedTheClipboard)
{
    Append(u"keep this");
    Select(5, 9);
    doc.SetModified(false);
    window.m_clipboardHeldElsewhere = true;
    const State before = Now();
    EXPECT_FALSE(doc.EditCut());
    ExpectUnchanged(before, "the clipboard would not open");
    EXPECT_TRUE(body().HasSelection());

    window.m_clipboardHeldElsewhere = false;
    ASSERT_TRUE(doc.EditCut());
    EXPECT_EQ(Text(), u"keep ");
    EXPECT_TRUE(doc.IsModified());
    EXPECT_FALSE(window.m_clipboardOpen) << "closed after the copy";
    ASSERT_TRUE(doc.EditPaste());
    EXPECT_EQ(Text(), u"keep this");
}

TEST_F(Clipboard, TextMarkedDeletedIsNotPastedAsLiveText)
{
    doc.GetAuthors().Append(1, u"甲");
    doc.GetAuthors().Append(2, u"乙");
    doc.SetCurAuthorIndex(0);
    for (char16_t c : std::u16string(u"abc")) doc.InsertChar(c);
    doc.SetCurAuthorIndex(1);
    Caret(2);
    doc.Backspace();
    ASSERT_NE(Item(1).GetFormat().m_deletedBy, 0);
    doc.SetRevisionsShown(true);
    Select(0, 3);
    ASSERT_TRUE(doc.EditCopy());
    EXPECT_EQ(window.m_clipboard[kUnicodeTextClipboardFormat], Utf16Bytes(u"ac"));
    Caret(body().GetCount() - 1);
    const int end = body().GetCount() - 1;
    ASSERT_TRUE(doc.EditPaste());
    ASSERT_EQ(body().GetCount() - 1, end + 2);
    for (int i = end; i < end + 2; ++i) EXPECT_EQ(Item(i).GetFormat().m_deletedBy, 0) << i;
    EXPECT_EQ(Item(end).GetCode(), u'a');
    EXPECT_EQ(Item(end + 1).GetCode(), u'c');
}

// Blocks from another program are checked whole before the document changes.
TEST_F(Clipboard, ADamagedBlockIsRefusedWithoutAChange)
{
    Append(u"one\rtwo");
    auto* box = AddObject(plat::Rect(1500, 1200, 2100, 1600));
    body().RelayoutWhole();
    ASSERT_FALSE(box->m_anchorName.empty());
    Select(0, body().GetCount() - 1);
    ASSERT_TRUE(doc.EditCopy());
    const Bytes page = window.m_clipboard[kPageClipboardFormat];
    const Bytes text = window.m_clipboard[kTextClipboardFormat];
    body().DeselectAll();
    box->SetSelected(true);
    ASSERT_TRUE(doc.EditCopy());
    const Bytes objects = window.m_clipboard[kBlockClipboardFormat];
    Caret(2);
    body().DeselectAll();
    doc.SetModified(false);

    struct Damage {
        const char* what;
        Bytes (*make)(Bytes);
    };
    const Damage damages[] = {
        {"reference flag 2", [](Bytes b) { b[0] = 2; return b; }},
        {"count beyond the data", [](Bytes b) { b[4] = 0xFF; b[5] = 0xFF; b[6] = 0xFF; b[7] = 0x0F; return b; }},
        {"negative count", [](Bytes b) { b[7] = 0x80; return b; }},
        {"empty", [](Bytes) { return Bytes(); }},
    };
    auto refused = [&](const char16_t* format, const Bytes& block, const std::string& what) {
        window.m_clipboard.clear();
        window.m_clipboard[format] = block;
        const State before = Now();
        EXPECT_FALSE(doc.EditPaste()) << what;
        ExpectUnchanged(before, what);
        EXPECT_EQ(body().GetObjectCount(), 1) << what;
    };
    for (const auto& [format, good] : {std::pair{kPageClipboardFormat, page}, std::pair{kTextClipboardFormat, text},
                                       std::pair{kBlockClipboardFormat, objects}}) {
        const std::string name = plat::Utf16ToUtf8(format);
        for (const Damage& d : damages) refused(format, d.make(good), name + ": " + d.what);
        // Every block cut short anywhere.
        for (size_t n = 0; n < good.size(); ++n)
            refused(format, Bytes(good.begin(), good.begin() + static_cast<long>(n)), name + " cut at " + std::to_string(n));
    }

    // An object entry whose type has no class (its record cannot be measured).
    plat::MemFile mem;
    {
        plat::Archive ar(mem, plat::Archive::kStore);
        box->Save(ar, kArchiveClipboard, 0, 0);
        ar.Flush();
    }
    const Bytes record = mem.Data();
    const auto found = std::search(page.begin(), page.end(), record.begin(), record.end());
    ASSERT_NE(found, page.end());
    Bytes unknown = page;
    const size_t type = static_cast<size_t>(found - page.begin()) - 2;
    ASSERT_EQ(unknown[type], objtest::kTestType);
    unknown[type] = 20;
    refused(kPageClipboardFormat, unknown, "object type 20");

    // The good blocks still paste.
    window.m_clipboard.clear();
    window.m_clipboard[kPageClipboardFormat] = page;
    EXPECT_TRUE(doc.EditPaste());
    EXPECT_EQ(body().GetObjectCount(), 2);
}

} // namespace
