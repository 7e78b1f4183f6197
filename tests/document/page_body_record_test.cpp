// The body record in the native file, undo snapshots, the clipboard and an inserted file
// (which appends after a page break), records that must be refused, and the walks over
// the body and its objects: find and replace-all.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "document/find_state.h"
#include "document/format_state.h"
#include "document/text_frame.h"
#include "tests/document/objects_support.h"
#include "tests/document/page_body_support.h"

using namespace pagebody;
using objtest::Bytes;
using objtest::LoadFrom;
using objtest::Store;

namespace {

// An object holding a text frame of its own, as a text shape does: searches reach its
// text, and a replace-all grows the object with its text.
class CTextBox : public CFloatObject, public CReplaceAllTarget {
public:
    static constexpr int kWidth = 1200;
    static constexpr int kMinHeight = 300;

    CTextBox(CQlDoc* doc, const plat::Rect& place, plat::StringView text)
        : CFloatObject(doc, nullptr, kNodeTextShape),
          m_frame(std::make_unique<CTextFrameObj>(doc, this, kNodeTextShape, kWidth, kMinHeight, kAlignLeft))
    {
        m_bounds = plat::Rect(place.left, place.top, place.left + kWidth, place.top + kMinHeight);
        m_width = kWidth;
        m_wrapMode = kWrapBoth;
        m_frame->InsertItemsAtCaret(text);
        Fit();
    }
    bool FindNext(CFindState& state) override { return m_frame->FindNext(state); }
    bool ReplaceAllText(CFindState& state) override
    {
        bool any = false;
        state.m_flow = m_frame.get();
        state.m_started = 1;
        state.m_pos = 0;
        while (m_frame->FindInFlow(state)) {
            m_frame->InsertItemsAtCaret(state.m_replaceText);
            state.m_pos = m_frame->GetCaretPos().m_index;
            any = true;
        }
        Fit();
        return any;
    }
    plat::String Text() const { return m_frame->GetText(0, m_frame->GetCount() - 1); }
    CTextFrameObj& Frame() { return *m_frame; }

private:
    void Fit()
    {
        m_height = std::max(kMinHeight, m_frame->GetContentHeight());
        RecalcLayout();
    }
    std::unique_ptr<CTextFrameObj> m_frame;
};

class BodyRecord : public BodyTest {
protected:
    void SetUp() override
    {
        BodyTest::SetUp();
        Append(u"第一段文字。\rSecond paragraph.\r第三段。");
        const plat::Rect t = TextArea(0);
        AddObject(plat::Rect(t.left + 2000, t.top + 900, t.left + 2800, t.top + 1500), kWrapBoth, 7);
    }
    void TearDown() override
    {
        CPageObjectList::SetPasteOffset(plat::Point(200, 200));
        BodyTest::TearDown();
    }
    static Bytes Save(CDocBody& b, int mode)
    {
        return Store([&](plat::Archive& ar) { b.Save(ar, mode); });
    }
    plat::String Text(const CDocBody& b) const { return b.GetText(0, b.GetCount()); }
};

// A second document to load records into.
struct OtherDoc {
    CHeadlessWindows window;
    CQlDoc doc{&window, &window};
    OtherDoc()
    {
        doc.Reset();
        doc.SetPageSettings(kSmallMargins, kSmallPaper);
    }
    CDocBody& body() const { return *doc.GetBody(); }
};

} // namespace

TEST_F(BodyRecord, RecordIsTheFlowRecordFollowedByTheObjectList)
{
    const Bytes bytes = Save(body(), kArchiveFile);
    const Bytes flow = Store([&](plat::Archive& ar) { body().CTextFlow::Save(ar, kArchiveFile); });
    const Bytes objects = Store([&](plat::Archive& ar) { body().GetObjectList().Save(ar, kArchiveFile); });
    ASSERT_EQ(bytes.size(), flow.size() + objects.size());
    EXPECT_TRUE(std::equal(flow.begin(), flow.end(), bytes.begin()));
    EXPECT_TRUE(std::equal(objects.begin(), objects.end(), bytes.begin() + flow.size()));
}

TEST_F(BodyRecord, RoundTripsInTheFileSnapshotAndClipboardModes)
{
    for (int mode : {kArchiveFile, kArchiveUndo, kArchiveClipboard}) {
        SCOPED_TRACE(mode);
        // Only a snapshot keeps the positions.
        if (mode == kArchiveUndo) Select(2, 5);
        else Caret(0);
        const Bytes bytes = Save(body(), mode);
        OtherDoc other;
        other.body().InsertItemsAtCaret(u"旧的内容");
        EXPECT_EQ(LoadFrom(bytes, [&](plat::Archive& ar) { other.body().Load(ar, mode); }), 0u);
        EXPECT_EQ(Text(other.body()), Text(body()));
        ASSERT_EQ(other.body().GetObjectCount(), 1);
        const plat::Rect moved = mode == kArchiveClipboard ? plat::Rect(200, 200, 200, 200) : plat::Rect();
        plat::Rect expected = body().GetObject(0)->m_bounds;
        expected.Offset(moved.left, moved.top);
        EXPECT_EQ(other.body().GetObject(0)->m_bounds, expected);
        // Positions: kept by a snapshot, the start otherwise.
        EXPECT_EQ(other.body().GetCaretPos().m_index, mode == kArchiveUndo ? 5 : 0);
        if (mode != kArchiveClipboard) {
            EXPECT_EQ(Save(other.body(), mode), bytes);
        }
        // Laid out on loading.
        EXPECT_EQ(other.body().GetItem(0)->GetLeft(), TextArea(0).left);
        const std::vector<std::string> faults = CheckLayoutInvariants(other.body());
        EXPECT_TRUE(faults.empty()) << Join(faults);
    }
}

TEST_F(BodyRecord, InsertedFileIsAppendedAfterAPageBreakWithItsObjectsShifted)
{
    OtherDoc source;
    source.body().InsertItemsAtCaret(u"插入的文件。");
    source.body().AddObject(objtest::NewObject(&source.doc, 1000, 1200, 500, 400, kWrapBoth, 2, 9));
    const Bytes bytes = Save(source.body(), kArchiveFile);

    const int oldCount = body().GetCount();
    const plat::Rect ownBounds = body().GetObject(0)->m_bounds;
    EXPECT_EQ(LoadFrom(bytes, [&](plat::Archive& ar) { body().Load(ar, kArchiveInsert, 300, 20000); }), 0u);
    EXPECT_EQ(Text(body()), u"第一段文字。\nSecond paragraph.\n第三段。\n插入的文件。");
    // The old final paragraph end now breaks the page; the inserted text opens page 2.
    EXPECT_EQ(Item(oldCount - 1).GetNodeType(), kItemParaPageBreak);
    EXPECT_EQ(Item(body().GetCount() - 1).GetNodeType(), kItemFinalParaEnd);
    EXPECT_EQ(PageOf(oldCount), 1);
    EXPECT_EQ(Item(oldCount).GetLineTop(), TextArea(1).top + CDocBody::LineGap(2) / 2);
    ASSERT_EQ(body().GetObjectCount(), 2);
    EXPECT_EQ(body().GetObject(0)->m_bounds, ownBounds);
    EXPECT_EQ(body().GetObject(1)->m_bounds.left, 1300);
    EXPECT_GE(body().GetObject(1)->m_bounds.top, 21200 - 1) << "shifted by the offset (and maybe anchored)";
    ExpectSound();
}

TEST_F(BodyRecord, InsertedFileReplacesAnEmptyBodyAndKeepsItsPlaces)
{
    OtherDoc source;
    source.body().InsertItemsAtCaret(u"全部内容。");
    source.body().AddObject(objtest::NewObject(&source.doc, 1000, 1200, 500, 400, kWrapBoth, 2, 9));
    source.body().BuildPageRegions();
    source.body().RelayoutWhole();
    const plat::Rect bounds = source.body().GetObject(0)->m_bounds;
    const Bytes bytes = Save(source.body(), kArchiveFile);

    OtherDoc empty;
    EXPECT_EQ(LoadFrom(bytes, [&](plat::Archive& ar) { empty.body().Load(ar, kArchiveInsert, 300, 20000); }), 0u);
    EXPECT_EQ(Text(empty.body()), u"全部内容。");
    EXPECT_EQ(empty.body().GetItem(empty.body().GetCount() - 1)->GetNodeType(), kItemFinalParaEnd);
    ASSERT_EQ(empty.body().GetObjectCount(), 1);
    EXPECT_EQ(empty.body().GetObject(0)->m_bounds, bounds) << "no offset";
}

TEST_F(BodyRecord, RefusedRecordsLeaveTheBodyAsItWas)
{
    OtherDoc source;
    source.body().InsertItemsAtCaret(u"别的内容\r第二段");
    source.body().AddObject(objtest::NewObject(&source.doc, 1000, 1200, 500, 400, kWrapBoth, 2, 9));
    const Bytes record = Save(source.body(), kArchiveFile);
    Select(3, 8);
    const Bytes before = Save(body(), kArchiveUndo);
    const CLayoutSnapshot layout = TakeLayoutSnapshot(body());

    // Every cut of the record, read to replace and to append.
    for (int mode : {kArchiveFile, kArchiveInsert}) {
        for (size_t cut = 0; cut < record.size(); cut += 3) {
            const Bytes part(record.begin(), record.begin() + static_cast<std::ptrdiff_t>(cut));
            EXPECT_THROW(LoadFrom(part, [&](plat::Archive& ar) { body().Load(ar, mode, 100, 100); }),
                         plat::ArchiveException)
                << mode << " cut at " << cut;
            ASSERT_EQ(Save(body(), kArchiveUndo), before) << mode << " cut at " << cut;
        }
    }
    // An object of a type no kind makes.
    Bytes bad = record;
    const Bytes objects = Store([&](plat::Archive& ar) { source.body().GetObjectList().Save(ar, kArchiveFile); });
    const size_t at = record.size() - objects.size() + 4;
    bad[at] = 0x7F;
    bad[at + 1] = 0x00;
    EXPECT_THROW(LoadFrom(bad, [&](plat::Archive& ar) { body().Load(ar, kArchiveFile); }), plat::ArchiveException);
    EXPECT_THROW(LoadFrom(bad, [&](plat::Archive& ar) { body().Load(ar, kArchiveInsert, 0, 0); }),
                 plat::ArchiveException);
    EXPECT_EQ(Save(body(), kArchiveUndo), before);
    EXPECT_EQ(DiffLayouts(layout, TakeLayoutSnapshot(body())), "");
    EXPECT_EQ(doc.GetFormatState()->GetFocusObject(), &body());
}

TEST_F(BodyRecord, PrepareItemsReachesTheObjects)
{
    struct Counting : objtest::CTestObject {
        using CTestObject::CTestObject;
        void PrepareItems() override { ++calls; }
        int calls = 0;
    };
    auto* o = static_cast<Counting*>(body().AddObject(std::make_unique<Counting>(&doc, nullptr)));
    body().PrepareItems();
    EXPECT_EQ(o->calls, 1);
}

// ---- find and replace ----

class FindReplace : public BodyTest {
protected:
    void SetUp() override
    {
        BodyTest::SetUp();
        // "cat" on each of three pages, and once in an object on page 2.
        Append(u"The cat sat.\f第二页 cat 和 cat.\f第三页 concatenate.");
        const plat::Rect t = TextArea(1);
        box = static_cast<CTextBox*>(body().AddObject(
            std::make_unique<CTextBox>(&doc, plat::Rect(t.left + 1800, t.top + 800, 0, 0), u"a cat in a box")));
        body().BuildPageRegions();
        body().RelayoutWhole();
        state.m_findText = u"cat";
        state.m_replaceMode = 1;
    }
    // Where the search stands, as the document's GetFindStart sets it.
    void StartAt(CTextFlow* flow, int index)
    {
        state.m_flow = flow;
        state.m_pos = index;
        state.m_started = 0;
    }
    int Count(plat::StringView what) const
    {
        const plat::String text = body().GetText(0, body().GetCount());
        int n = 0;
        for (size_t at = text.find(what); at != plat::String::npos; at = text.find(what, at + 1)) ++n;
        return n;
    }

    CFindState state;
    CTextBox* box = nullptr;
};

TEST_F(FindReplace, FindNextWalksTheBodyAcrossPagesThenTheObjects)
{
    StartAt(&body(), 0);
    std::vector<int> pages;
    // As the document asks: the started flag is cleared before each search.
    auto next = [&] {
        state.m_started = 0;
        return body().FindNext(state);
    };
    while (next()) {
        if (box->IsSelected()) break;
        int start, end;
        body().GetSelectionRange(start, end);
        EXPECT_EQ(body().GetText(start, end), u"cat");
        pages.push_back(PageOf(start));
        EXPECT_EQ(doc.GetFormatState()->GetFocusObject(), &body());
    }
    EXPECT_EQ(pages, (std::vector<int>{0, 1, 1, 2}));
    // Past the body's text the object's frame found its own.
    ASSERT_TRUE(box->IsSelected());
    EXPECT_EQ(body().GetSelectedCount(), 1);
    EXPECT_EQ(doc.GetFormatState()->GetFocusObject(), &box->Frame());
    EXPECT_FALSE(next());
}

TEST_F(FindReplace, FindNextFromAnObjectSkipsTheBodyText)
{
    // The search began in the object's frame: the body's text is not searched again.
    StartAt(&box->Frame(), 0);
    EXPECT_TRUE(body().FindNext(state));
    EXPECT_TRUE(box->IsSelected());
    EXPECT_EQ(body().GetCaretPos().m_index, 0);
}

TEST_F(FindReplace, ReplaceAllGoesOnAfterEachReplacementAcrossPagesAndObjects)
{
    // A replacement that contains the searched text is not searched again.
    state.m_replaceText = u"a cat!";
    EXPECT_TRUE(body().ReplaceAll(state));
    EXPECT_EQ(Count(u"a cat!"), 4);
    EXPECT_EQ(Count(u"cat"), 4);
    EXPECT_EQ(box->Text(), u"a a cat! in a box");
    ExpectSound();
    ExpectSameAsWholeLayout();
    // Nothing left to replace with a text that does not occur.
    state.m_findText = u"dog";
    EXPECT_FALSE(body().ReplaceAll(state));
}

TEST_F(FindReplace, ReplaceAllThatGrowsAnObjectReflowsTheTextAroundIt)
{
    const int before = box->m_bounds.bottom;
    state.m_replaceText = u"一只很大很大很大很大很大很大很大很大很大的猫";
    EXPECT_TRUE(body().ReplaceAll(state));
    ASSERT_GT(box->m_bounds.bottom, before);
    // The regions follow the grown object, and no line overlaps it.
    bool regionEndsAtNewBottom = false;
    for (CPageRegion* r = body().GetFirstRegion(); r; r = body().GetNextRegion())
        if (r->m_rect.top == box->m_bounds.bottom) regionEndsAtNewBottom = true;
    EXPECT_TRUE(regionEndsAtNewBottom);
    ExpectSound();
}

TEST_F(FindReplace, ReplaceAllWithAnEmptyTextDeletesEveryMatch)
{
    state.m_replaceText = u"";
    EXPECT_TRUE(body().ReplaceAll(state));
    EXPECT_EQ(Count(u"cat"), 0);
    EXPECT_EQ(Count(u"conenate"), 1);
    ExpectSameAsWholeLayout();
}
