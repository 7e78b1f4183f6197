// The page-object list: the record in its four modes with the paste offset and the
// selected-only copy, refused records, selection helpers and the five layer passes.
#include <gtest/gtest.h>

#include "document/page_object_list.h"
#include "document/render_context.h"
#include "tests/document/loader_fuzz_support.h"
#include "tests/document/objects_support.h"

using namespace objtest;

namespace {

class PageObjectList : public testing::Test {
protected:
    void SetUp() override { doc.ResetFormatState(); }
    void TearDown() override { CPageObjectList::SetPasteOffset(plat::Point(200, 200)); }

    CTestObject* Add(CPageObjectList& list, int left, int top, int width, int height, std::uint8_t layer, int tag)
    {
        return static_cast<CTestObject*>(list.AddObject(NewObject(&doc, left, top, width, height, kWrapBoth, layer, tag)));
    }
    static CTestObject* At(const CPageObjectList& list, int i) { return static_cast<CTestObject*>(list.GetObject(i)); }
    static std::vector<int> Tags(const CPageObjectList& list)
    {
        std::vector<int> tags;
        for (int i = 0; i < list.GetCount(); ++i) tags.push_back(At(list, i)->m_tag);
        return tags;
    }
    // Three objects: tag 1 (layer 3, captioned), tag 2 (layer 0), tag 3 (layer 2).
    void Fill(CPageObjectList& list)
    {
        CTestObject* a = Add(list, 1000, 2000, 1500, 900, 3, 1);
        a->SetCaption(u"甲图");
        a->RecalcLayout();
        a->m_wrapMode = kWrapLeft;
        Add(list, 5000, 2000, 800, 800, 0, 2)->m_color = 0x00FF00;
        CTestObject* c = Add(list, 3000, 8000, 2000, 600, 2, 3);
        c->m_anchorState = kAnchorAttached;
        c->m_anchorName = u"p1";
        c->m_anchorOffset = 120;
        c->m_targetTop = 8000;
    }
    Bytes Save(CPageObjectList& list, int mode)
    {
        return Store([&](plat::Archive& ar) { list.Save(ar, mode); });
    }

    ScopedTestKind kind;
    CQlDoc doc;
};

} // namespace

TEST_F(PageObjectList, FileAndUndoRecordsRoundTrip)
{
    CPageObjectList source(&doc, nullptr);
    Fill(source);
    At(source, 1)->SetSelected(true);
    for (int mode : {kArchiveFile, kArchiveUndo}) {
        SCOPED_TRACE(mode);
        const Bytes bytes = Save(source, mode);
        CPageObjectList back(&doc, nullptr);
        EXPECT_EQ(LoadFrom(bytes, [&](plat::Archive& ar) { back.Load(ar, mode, 900, 900); }), 0u);
        ASSERT_EQ(Tags(back), (std::vector<int>{1, 2, 3}));
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(At(back, i)->m_bounds, At(source, i)->m_bounds) << "no offset outside modes 3 and 4";
            EXPECT_EQ(At(back, i)->m_layer, At(source, i)->m_layer);
            EXPECT_EQ(At(back, i)->GetParent(), &back);
        }
        EXPECT_EQ(At(back, 0)->GetCaption(), u"甲图");
        EXPECT_EQ(At(back, 0)->m_wrapMode, kWrapLeft);
        EXPECT_EQ(At(back, 1)->m_color, 0x00FF00u);
        const bool undo = mode == kArchiveUndo;
        EXPECT_EQ(back.CountSelected(), undo ? 1 : 0);
        EXPECT_EQ(At(back, 2)->m_anchorName, undo ? u"p1" : u"");
        EXPECT_EQ(At(back, 2)->m_anchorOffset, undo ? 120 : 0);
        EXPECT_EQ(Save(back, mode), bytes);
    }
    EXPECT_EQ(CPageObjectList::GetPasteOffset(), plat::Point(200, 200));
}

TEST_F(PageObjectList, CopyWritesOnlyTheSelectionAndPasteSelectsAndOffsetsIt)
{
    CPageObjectList source(&doc, nullptr);
    Fill(source);
    At(source, 0)->SetSelected(true);
    At(source, 2)->SetSelected(true);
    const Bytes copied = Save(source, kArchiveClipboard);
    EXPECT_EQ(LoadFrom(copied, [](plat::Archive& ar) { EXPECT_EQ(ar.ReadI32(), 2); }), copied.size() - 4);

    CPageObjectList target(&doc, nullptr);
    CTestObject* existing = Add(target, 0, 0, 500, 500, 2, 9);
    existing->SetSelected(true);
    LoadFrom(copied, [&](plat::Archive& ar) { target.Load(ar, kArchiveClipboard, 0, 0); });
    ASSERT_EQ(Tags(target), (std::vector<int>{9, 1, 3}));
    EXPECT_FALSE(existing->IsSelected()) << "the pasted objects become the selection";
    EXPECT_EQ(target.CountSelected(), 2);
    EXPECT_EQ(target.GetSelected(0), target.GetObject(1));
    EXPECT_EQ(target.GetSelected(1), target.GetObject(2));
    EXPECT_EQ(target.GetSelected(2), nullptr);
    plat::Rect moved = At(source, 0)->m_bounds;
    moved.Offset(200, 200);
    EXPECT_EQ(At(target, 1)->m_bounds, moved);
    moved = At(source, 2)->m_bounds;
    moved.Offset(200, 200);
    EXPECT_EQ(At(target, 2)->m_bounds, moved);

    // With nothing selected a copy takes every object.
    source.ClearSelection();
    EXPECT_EQ(source.CountSelected(), 0);
    const Bytes all = Save(source, kArchiveClipboard);
    LoadFrom(all, [](plat::Archive& ar) { EXPECT_EQ(ar.ReadI32(), 3); });
}

TEST_F(PageObjectList, InsertedFileMovesByItsOffsetAndKeepsItForLaterPastes)
{
    CPageObjectList source(&doc, nullptr);
    Fill(source);
    At(source, 1)->SetSelected(true);
    const Bytes file = Save(source, kArchiveFile);

    CPageObjectList target(&doc, nullptr);
    LoadFrom(file, [&](plat::Archive& ar) { target.Load(ar, kArchiveInsert, 300, 20000); });
    ASSERT_EQ(target.GetCount(), 3);
    for (int i = 0; i < 3; ++i) {
        plat::Rect moved = At(source, i)->m_bounds;
        moved.Offset(300, 20000);
        EXPECT_EQ(At(target, i)->m_bounds, moved);
    }
    EXPECT_EQ(target.CountSelected(), 0) << "inserted objects are not selected";
    EXPECT_EQ(CPageObjectList::GetPasteOffset(), plat::Point(300, 20000));

    CPageObjectList pasted(&doc, nullptr);
    LoadFrom(Save(source, kArchiveClipboard), [&](plat::Archive& ar) { pasted.Load(ar, kArchiveClipboard, 0, 0); });
    ASSERT_EQ(pasted.GetCount(), 1);
    plat::Rect moved = At(source, 1)->m_bounds;
    moved.Offset(300, 20000);
    EXPECT_EQ(At(pasted, 0)->m_bounds, moved);
}

TEST_F(PageObjectList, UnknownNodeTypeRefusesTheWholeRecord)
{
    CPageObjectList source(&doc, nullptr);
    Fill(source);
    Bytes bytes = Save(source, kArchiveFile);
    // The second object's type becomes 20, which has no object class; the record after it
    // cannot be measured, so nothing of the record may be kept.
    const Bytes first = Store([&](plat::Archive& ar) { At(source, 0)->Save(ar, kArchiveFile, 0, 0); });
    const size_t second = 4 + 2 + first.size();
    ASSERT_EQ(bytes[second], kTestType);
    bytes[second] = 20;

    CPageObjectList target(&doc, nullptr);
    Add(target, 0, 0, 500, 500, 2, 9)->SetSelected(true);
    try {
        LoadFrom(bytes, [&](plat::Archive& ar) { target.Load(ar, kArchiveClipboard, 0, 0); });
        FAIL() << "loaded";
    } catch (const plat::ArchiveException& e) {
        EXPECT_EQ(e.GetCause(), plat::ArchiveException::kBadClass);
    }
    EXPECT_EQ(Tags(target), (std::vector<int>{9}));
    EXPECT_EQ(target.CountSelected(), 1);

    // Without the kind registered even the first type is unknown.
    {
        const DocObjectMaker mine = RegisterDocObject(kTestType, nullptr);
        EXPECT_THROW(LoadFrom(Save(source, kArchiveFile), [&](plat::Archive& ar) { target.Load(ar, kArchiveFile, 0, 0); }),
                     plat::ArchiveException);
        RegisterDocObject(kTestType, mine);
    }
    EXPECT_EQ(target.GetCount(), 1);
}

TEST_F(PageObjectList, CountsThatTheDataCannotHoldAreRefused)
{
    CPageObjectList target(&doc, nullptr);
    for (const char* hex : {"ffffffff", "00000080", "ffffff7f 1600", "02000000 1600 03 02"}) {
        SCOPED_TRACE(hex);
        EXPECT_THROW(LoadFrom(textmodel::Hex(hex), [&](plat::Archive& ar) { target.Load(ar, kArchiveFile, 0, 0); }),
                     plat::ArchiveException);
        EXPECT_EQ(target.GetCount(), 0);
    }
    // An empty record is fine.
    EXPECT_EQ(LoadFrom(textmodel::Hex("00000000"), [&](plat::Archive& ar) { target.Load(ar, kArchiveFile, 0, 0); }), 0u);
}

TEST_F(PageObjectList, CutAndFlippedRecordsLoadOrAreRefusedCleanly)
{
    CPageObjectList source(&doc, nullptr);
    Fill(source);
    At(source, 2)->SetSelected(true);
    std::vector<loaderfuzz::Target> targets;
    CQlDoc* d = &doc;
    for (int mode : {kArchiveFile, kArchiveUndo, kArchiveClipboard, kArchiveInsert}) {
        const Bytes seed = Save(source, mode == kArchiveInsert ? kArchiveFile : mode);
        targets.push_back({"object list", seed, [d, mode](plat::Archive& ar, bool& untouched) {
                               CPageObjectList list(d, nullptr);
                               auto kept = std::make_unique<CTestObject>(d, nullptr);
                               kept->SetSelected(true);
                               list.AddObject(std::move(kept));
                               try {
                                   list.Load(ar, mode, 40, 50);
                               } catch (...) {
                                   untouched = list.GetCount() == 1 && list.CountSelected() == 1 &&
                                               CPageObjectList::GetPasteOffset() == plat::Point(200, 200);
                                   throw;
                               }
                               CPageObjectList::SetPasteOffset(plat::Point(200, 200));
                           }});
    }
    loaderfuzz::RefuseTruncations(targets);
    loaderfuzz::FlipBits(targets, 6, 300, 4);
}

TEST_F(PageObjectList, LayersAreDrawnBackToFrontAndListOrderWithinALayer)
{
    CPageObjectList list(&doc, nullptr);
    // 20 x 20 pixel boxes (300 twips), each 10 pixels down and right of the one before.
    CTestObject* front = Add(list, 0, 0, 300, 300, 4, 1);
    front->m_color = 0x0000FF;
    CTestObject* back = Add(list, 150, 150, 300, 300, 0, 2); // appended later, still below
    back->m_color = 0xFF0000;
    CTestObject* mid1 = Add(list, 300, 300, 300, 300, 2, 3);
    mid1->m_color = 0x00FF00;
    CTestObject* mid2 = Add(list, 450, 450, 300, 300, 2, 4); // same layer, later: on top
    mid2->m_color = 0x00FFFF;

    Canvas canvas(60, 60);
    CRenderContext rc(&doc, canvas.dc);
    CTestObject::PaintLog().clear();
    list.Draw(canvas.dc, 1.0, 0, 0, 1, 0, 10000, rc);
    rc.Restore(canvas.dc);
    EXPECT_EQ(CTestObject::PaintLog(), (std::vector<int>{2, 3, 4, 1}));
    EXPECT_EQ(canvas.At(5, 5), 0x0000FFu);   // front alone
    EXPECT_EQ(canvas.At(15, 15), 0x0000FFu); // front over back (layer 4 over 0)
    EXPECT_EQ(canvas.At(25, 25), 0x00FF00u); // layer 2 over layer 0
    EXPECT_EQ(canvas.At(35, 35), 0x00FFFFu); // the later of two in layer 2
    EXPECT_EQ(canvas.At(45, 45), 0x00FFFFu);
    EXPECT_EQ(canvas.At(55, 55), 0xFFFFFFu);
}

TEST_F(PageObjectList, OnlyObjectsMeetingTheVisibleBandAreDrawn)
{
    CPageObjectList list(&doc, nullptr);
    struct Case {
        int top, bottom;
        bool drawn;
    };
    const Case cases[] = {
        {0, 999, false},      // wholly above the band 1000..2000
        {0, 1000, true},      // bottom on the band's top edge
        {500, 1500, true},    // bottom inside
        {1200, 1800, true},   // inside
        {1500, 2500, true},   // top inside
        {2000, 2600, true},   // top on the band's bottom edge
        {2001, 2600, false},  // wholly below
        {500, 2500, true},    // spans the whole band
    };
    int tag = 0;
    for (const Case& c : cases) Add(list, 0, c.top, 100, c.bottom - c.top, 2, tag++);
    Canvas canvas(10, 10);
    CRenderContext rc(&doc, canvas.dc);
    CTestObject::PaintLog().clear();
    list.Draw(canvas.dc, 1.0, 0, 0, 1, 1000, 2000, rc);
    rc.Restore(canvas.dc);
    std::vector<int> expected;
    for (int i = 0; i < static_cast<int>(std::size(cases)); ++i)
        if (cases[i].drawn) expected.push_back(i);
    EXPECT_EQ(CTestObject::PaintLog(), expected);
}
