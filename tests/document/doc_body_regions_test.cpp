// The page body's frames, free regions, page count, content bottom, object operations and
// anchoring. Paragraph positions are set by the tests, as a layout would leave them.
#include <gtest/gtest.h>

#include <string>

#include "document/doc_body.h"
#include "document/line_layout.h"
#include "document/page_object_list.h"
#include "document/text_item.h"
#include "tests/document/objects_support.h"

using namespace objtest;

namespace {

// A new document's geometry: paper 200 x 287 mm, margins 20 mm (1133 twips); a page is
// 11338 x 16270 twips and pages follow each other every 16470 twips.
constexpr int kPitch = 16470;
constexpr int kTextLeft = 1333, kTextRight = 10405;
constexpr int kTextTop = 1333, kTextBottom = 15337; // of page 0

plat::Rect Frame(int page)
{
    return plat::Rect(kTextLeft, kTextTop + page * kPitch, kTextRight, kTextBottom + page * kPitch);
}

struct Region {
    plat::Rect rect;
    int page;
    bool operator==(const Region&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Region& r)
{
    return os << "(" << r.rect.left << ", " << r.rect.top << ", " << r.rect.right << ", " << r.rect.bottom
              << " p" << r.page << ")";
}

std::vector<Region> Regions(CDocBody& body)
{
    std::vector<Region> out;
    for (CPageRegion* r = body.GetFirstRegion(); r; r = body.GetNextRegion()) out.push_back({r->m_rect, r->m_page});
    return out;
}

class Body : public testing::Test {
protected:
    void SetUp() override
    {
        doc.ResetFormatState();
        body = std::make_unique<CDocBody>(&doc);
    }
    CTestObject* Add(const plat::Rect& r, std::uint8_t wrap = kWrapBoth)
    {
        return static_cast<CTestObject*>(body->AddObject(NewObject(&doc, r.left, r.top, r.Width(), r.Height(), wrap)));
    }

    CQlDoc doc;
    std::unique_ptr<CDocBody> body;
};

} // namespace

// ---- construction and frames ----

TEST_F(Body, NewBodyHoldsOneJustifiedFinalParagraphEndAndIsTheFocusText)
{
    ASSERT_EQ(body->GetCount(), 1);
    const auto* end = dynamic_cast<const CParaEndItem*>(body->GetItem(0));
    ASSERT_NE(end, nullptr);
    EXPECT_EQ(end->GetNodeType(), kItemFinalParaEnd);
    EXPECT_EQ(end->GetParaFormat().m_align, kAlignJustify);
    EXPECT_EQ(end->GetParaFormat().m_spacing, 2);
    EXPECT_EQ(body->GetRunningParaFormat().m_align, kAlignJustify);
    EXPECT_EQ(body->GetNodeType(), kNodeBody);
    EXPECT_EQ(doc.GetFormatState()->GetFocusObject(), body.get());
    EXPECT_EQ(doc.GetFormatState()->m_paraFormat.m_spacing, 2);
    EXPECT_EQ(body->GetCaretPos().m_index, 0);
    EXPECT_EQ(body->GetPageCount(), 1);
    EXPECT_TRUE(body->PageCountChanged());
    EXPECT_FALSE(body->PageCountChanged());
}

TEST_F(Body, FramesAreTheTextAreasOfThePagesAndTheOverflowFrameFollows)
{
    for (int i : {0, 1, 7, 499}) {
        EXPECT_EQ(body->GetPageFrame(i).m_rect, Frame(i)) << i;
        EXPECT_EQ(body->GetPageFrame(i).m_rect, doc.GetPageTextRect(i)) << i;
        EXPECT_EQ(body->GetPageFrame(i).m_page, i);
        EXPECT_EQ(body->GetPageRect(i), doc.GetPageRect(i));
    }
    EXPECT_EQ(doc.GetPageRect(1), plat::Rect(200, 200 + kPitch, 11538, 200 + kPitch + 16270));
    const CPageRegion& overflow = body->GetPageFrame(500);
    EXPECT_EQ(overflow.m_rect, plat::Rect(kTextLeft, Frame(500).top, kTextRight, 0x20000000));
    EXPECT_EQ(overflow.m_page, 500);

    // A body with no objects has a region per frame, in page order.
    const std::vector<Region> regions = Regions(*body);
    ASSERT_EQ(regions.size(), 501u);
    for (int i = 0; i <= 500; ++i) EXPECT_EQ(regions[static_cast<size_t>(i)], (Region{body->GetPageFrame(i).m_rect, i}));
    EXPECT_EQ(body->GetNextRegion(), nullptr) << "the cursor stays past the end";
}

TEST_F(Body, PageSettingsOfTheDocumentShapeTheFrames)
{
    doc.SetPageSettings(plat::Rect(10, 30, 15, 25), plat::Size(150, 100));
    CDocBody other(&doc);
    // Paper 8503 x 5669 twips; margins 566, 1700, 850, 1417.
    EXPECT_EQ(other.GetPageFrame(0).m_rect, plat::Rect(766, 1900, 7853, 4452));
    EXPECT_EQ(other.GetPageFrame(2).m_rect, plat::Rect(766, 1900 + 2 * 5869, 7853, 4452 + 2 * 5869));
    EXPECT_EQ(other.GetPageFrame(2).m_rect, doc.GetPageTextRect(2));
}

// ---- free regions ----

struct RegionCase {
    const char* name;
    std::vector<std::pair<plat::Rect, std::uint8_t>> objects;
    std::vector<Region> expected; // the regions that replace the frames of the pages touched
    int pagesTouched;
};

class FreeRegions : public Body, public testing::WithParamInterface<RegionCase> {};

TEST_P(FreeRegions, ObjectsCutTheFramesByTheirWrapMode)
{
    const RegionCase& c = GetParam();
    for (const auto& [rect, wrap] : c.objects) Add(rect, wrap);
    body->BuildPageRegions();
    std::vector<Region> expected = c.expected;
    for (int i = c.pagesTouched; i <= 500; ++i) expected.push_back({body->GetPageFrame(i).m_rect, i});
    EXPECT_EQ(Regions(*body), expected);
}

const RegionCase kRegionCases[] = {
    {"AboveAndBelowOnly",
     {{{4000, 5000, 6000, 7000}, kWrapNone}},
     {{{1333, 1333, 10405, 5000}, 0}, {{1333, 7000, 10405, 15337}, 0}},
     1},
    {"BothSidesInsetFacingTheObject",
     {{{4000, 5000, 6000, 7000}, kWrapBoth}},
     {{{1333, 1333, 10405, 5000}, 0},
      {{1333, 5000, 3895, 7000}, 0},
      {{6105, 5000, 10405, 7000}, 0},
      {{1333, 7000, 10405, 15337}, 0}},
     1},
    {"LeftOnly",
     {{{4000, 5000, 6000, 7000}, kWrapLeft}},
     {{{1333, 1333, 10405, 5000}, 0}, {{1333, 5000, 3895, 7000}, 0}, {{1333, 7000, 10405, 15337}, 0}},
     1},
    {"RightOnly",
     {{{4000, 5000, 6000, 7000}, kWrapRight}},
     {{{1333, 1333, 10405, 5000}, 0}, {{6105, 5000, 10405, 7000}, 0}, {{1333, 7000, 10405, 15337}, 0}},
     1},
    {"FlushWithTheLeftEdgeLeavesNoLeftFragment",
     {{{1333, 5000, 3000, 7000}, kWrapBoth}},
     {{{1333, 1333, 10405, 5000}, 0}, {{3105, 5000, 10405, 7000}, 0}, {{1333, 7000, 10405, 15337}, 0}},
     1},
    {"ReachingIntoTheMarginIsCutAtTheFrame",
     {{{500, 5000, 3000, 7000}, kWrapBoth}},
     {{{1333, 1333, 10405, 5000}, 0}, {{3105, 5000, 10405, 7000}, 0}, {{1333, 7000, 10405, 15337}, 0}},
     1},
    {"SideExactly420WideIsDropped",
     {{{1753, 5000, 3000, 7000}, kWrapBoth}},
     {{{1333, 1333, 10405, 5000}, 0}, {{3105, 5000, 10405, 7000}, 0}, {{1333, 7000, 10405, 15337}, 0}},
     1},
    {"Side421WideIsKept",
     {{{1754, 5000, 3000, 7000}, kWrapBoth}},
     {{{1333, 1333, 10405, 5000}, 0},
      {{1333, 5000, 1649, 7000}, 0},
      {{3105, 5000, 10405, 7000}, 0},
      {{1333, 7000, 10405, 15337}, 0}},
     1},
    {"TopExactly210TallIsDropped",
     {{{4000, 1543, 6000, 7000}, kWrapNone}},
     {{{1333, 7000, 10405, 15337}, 0}},
     1},
    {"Top211TallIsKept",
     {{{4000, 1544, 6000, 7000}, kWrapNone}},
     {{{1333, 1333, 10405, 1544}, 0}, {{1333, 7000, 10405, 15337}, 0}},
     1},
    {"SidesNoTallerThan210AreDropped",
     {{{4000, 5000, 6000, 5210}, kWrapBoth}},
     {{{1333, 1333, 10405, 5000}, 0}, {{1333, 5210, 10405, 15337}, 0}},
     1},
    {"TwoOverlappingObjectsInsetTwiceBesideTheFirst",
     {{{4000, 5000, 6000, 7000}, kWrapBoth}, {{3000, 6000, 8000, 9000}, kWrapBoth}},
     {{{1333, 1333, 10405, 5000}, 0},
      {{1333, 5000, 3790, 6000}, 0}, // 210 from the first object: inset by both
      {{1333, 6000, 2895, 7000}, 0},
      {{6210, 5000, 10405, 6000}, 0},
      {{8105, 6000, 10405, 7000}, 0},
      {{1333, 7000, 2895, 9000}, 0},
      {{8105, 7000, 10405, 9000}, 0},
      {{1333, 9000, 10405, 15337}, 0}},
     1},
    {"ObjectAcrossAPageEndCutsBothFrames",
     {{{4000, 15000, 6000, 18500}, kWrapNone}},
     {{{1333, 1333, 10405, 15000}, 0}, {{1333, 18500, 10405, 31807}, 1}},
     2},
    {"ObjectInTheGapBetweenPagesCutsNothing",
     {{{4000, 15400, 6000, 17800}, kWrapBoth}},
     {},
     0},
    {"ObjectAsWideAsTheTextLeavesNoSides",
     {{{1000, 5000, 11000, 7000}, kWrapBoth}},
     {{{1333, 1333, 10405, 5000}, 0}, {{1333, 7000, 10405, 15337}, 0}},
     1},
    {"ObjectCoveringTheWholeTextAreaLeavesNothingOfThePage",
     {{{0, 0, 12000, 16000}, kWrapBoth}},
     {},
     1},
};

INSTANTIATE_TEST_SUITE_P(Cases, FreeRegions, testing::ValuesIn(kRegionCases),
                         [](const testing::TestParamInfo<RegionCase>& info) { return std::string(info.param.name); });

TEST_F(Body, InsertRegionKeepsFragmentsThatHoldALineAndInsetsInnerSides)
{
    body->ClearRegions();
    EXPECT_EQ(body->GetFirstRegion(), nullptr);
    EXPECT_EQ(body->GetRegionCount(), 0);
    auto piece = [](int l, int t, int r, int b) { return std::make_unique<CPageRegion>(plat::Rect(l, t, r, b), 3); };
    body->InsertRegion(nullptr, piece(kTextLeft, 100, kTextRight, 400));  // the frame's sides: kept as it is
    body->InsertRegion(nullptr, piece(2000, 500, kTextRight, 800));       // inner left side
    body->InsertRegion(nullptr, piece(kTextLeft, 900, 5000, 1200));       // inner right side
    body->InsertRegion(nullptr, piece(3000, 1300, 5000, 1600));           // both inner
    body->InsertRegion(nullptr, piece(kTextLeft, 100, kTextLeft + 420, 400)); // 420 wide: dropped
    body->InsertRegion(nullptr, piece(kTextLeft, 100, kTextRight, 310));      // 210 tall: dropped
    body->InsertRegion(nullptr, piece(kTextLeft, 100, kTextLeft + 421, 311)); // kept, inset to 316 wide
    CPageRegion* second = body->GetFirstRegion();
    second = body->GetNextRegion();
    body->InsertRegion(second, piece(kTextLeft, 2000, kTextRight, 3000)); // linked after the second
    EXPECT_EQ(Regions(*body), (std::vector<Region>{{{kTextLeft, 100, kTextRight, 400}, 3},
                                                   {{2105, 500, kTextRight, 800}, 3},
                                                   {{kTextLeft, 2000, kTextRight, 3000}, 3},
                                                   {{kTextLeft, 900, 4895, 1200}, 3},
                                                   {{3105, 1300, 4895, 1600}, 3},
                                                   {{kTextLeft, 100, kTextLeft + 316, 311}, 3}}));
}

// ---- page count and content bottom ----

class BodyText : public Body {
protected:
    // Paragraphs "ab", "cd", "ef" and the final paragraph end; items 2, 5 and 8 end them.
    void SetUp() override
    {
        Body::SetUp();
        body->InsertItemsAtCaret(u"ab\rcd\ref");
        ASSERT_EQ(body->GetCount(), 9);
    }
    // Places the item with its line (top, 200 twips high).
    void Put(int index, int top)
    {
        CTextItem* item = body->GetItem(index);
        item->SetMetrics(200, 200, 160);
        item->Place(kTextLeft, top, top, 200);
    }
    // Lays the two paragraph ends and the final one at the given tops.
    void PlaceParagraphs(int a, int b, int last)
    {
        Put(2, a);
        Put(5, b);
        Put(8, last);
    }
    const String& NameOf(int index) const
    {
        return static_cast<const CParaEndItem*>(body->GetItem(index))->GetName();
    }
};

TEST_F(BodyText, PageCountFollowsTheLastLineAndTheLowestObject)
{
    struct Case {
        int lastLineTop;
        int objectBottom; // 0: no object
        int pages;
    };
    const Case cases[] = {
        {kTextTop, 0, 1},
        {0, 0, 1},                           // not laid out: above every frame
        {Frame(0).bottom, 0, 1},             // the frame's bottom edge is in the frame
        {Frame(1).top, 0, 2},
        {Frame(1).bottom + 50, 0, 2},        // in page 2's bottom margin
        {2 * kPitch + 200, 0, 3},            // on page 3's top edge, above its text
        {Frame(41).top + 700, 0, 42},
        {Frame(499).top, 0, 500},
        {Frame(500).top, 0, 500},            // the overflow
        {kTextTop, 16000, 1},                // on page 1
        {kTextTop, 16670, 1},                // on page 1's lower edge (= page 2's top): still 1 page
        {kTextTop, 16671, 2},
        {kTextTop, 5 * kPitch + 1000, 6},
        {Frame(9).top, 2 * kPitch, 10},      // the text is lower
        {kTextTop, 499 * kPitch + 16000, 500},
        {kTextTop, 0x10000000, 1},           // below page 500: adds nothing
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.lastLineTop << " / " << c.objectBottom);
        body->DeleteAllObjects();
        Put(8, c.lastLineTop);
        if (c.objectBottom) Add(plat::Rect(2000, c.objectBottom - 500, 3000, c.objectBottom));
        body->RecalcPageCount();
        EXPECT_EQ(body->GetPageCount(), c.pages);
    }
}

TEST_F(BodyText, PageCountChangedReportsEachChangeOnce)
{
    body->PageCountChanged();
    Put(8, Frame(3).top);
    body->RecalcPageCount();
    EXPECT_TRUE(body->PageCountChanged());
    EXPECT_FALSE(body->PageCountChanged());
    body->RecalcPageCount();
    EXPECT_FALSE(body->PageCountChanged());
}

TEST_F(BodyText, ContentBottomIsBelowTheLastItemOrTheLowestObject)
{
    Put(8, 3000);
    EXPECT_EQ(body->GetContentBottom(), 3000 + 200 + 105);
    Add(plat::Rect(2000, 2000, 3000, 3200));
    EXPECT_EQ(body->GetContentBottom(), 3305);
    Add(plat::Rect(2000, 2000, 3000, 9000));
    EXPECT_EQ(body->GetContentBottom(), 9000);
}

// ---- object operations ----

TEST_F(Body, ObjectOperationsForwardToTheList)
{
    CTestObject* a = Add(plat::Rect(0, 0, 10, 10));
    CTestObject* b = Add(plat::Rect(0, 0, 10, 10));
    CTestObject* c = Add(plat::Rect(0, 0, 10, 10));
    EXPECT_EQ(body->GetObjectCount(), 3);
    EXPECT_EQ(body->GetObject(1), b);
    EXPECT_EQ(body->GetObject(3), nullptr);
    EXPECT_EQ(a->GetParent(), &body->GetObjectList());
    EXPECT_EQ(a->GetBody(), body.get());
    c->SetSelected(true);
    a->SetSelected(true);
    EXPECT_EQ(body->GetSelectedCount(), 2);
    EXPECT_EQ(body->GetSelectedObject(0), a);
    EXPECT_EQ(body->GetSelectedObject(1), c);
    body->DeselectAll();
    EXPECT_EQ(body->GetSelectedCount(), 0);

    std::unique_ptr<CFloatObject> taken = body->RemoveObject(b);
    EXPECT_EQ(taken.get(), b);
    EXPECT_EQ(body->GetObjectCount(), 2);
    EXPECT_EQ(body->RemoveObject(b), nullptr) << "no longer in the list";
    body->DeleteAllObjects();
    EXPECT_EQ(body->GetObjectCount(), 0);
}

// ---- anchoring ----

TEST_F(BodyText, ObjectsAttachToTheLastLaidOutParagraphEndAboveThem)
{
    PlaceParagraphs(2000, 4000, 6000);
    CTestObject* below2 = Add(plat::Rect(5000, 4500, 6000, 5000));
    CTestObject* onEnd = Add(plat::Rect(5000, 2000, 6000, 2500));
    CTestObject* above = Add(plat::Rect(5000, 1500, 6000, 1900));
    body->UpdateAnchors();
    EXPECT_EQ(below2->m_anchorState, kAnchorAttached);
    EXPECT_EQ(below2->m_anchorName, NameOf(5));
    EXPECT_EQ(below2->m_anchorOffset, 500);
    EXPECT_EQ(below2->m_targetTop, 4500);
    EXPECT_EQ(onEnd->m_anchorName, NameOf(2)) << "a paragraph end level with the top counts";
    EXPECT_EQ(onEnd->m_anchorOffset, 0);
    EXPECT_EQ(above->m_anchorState, kAnchorNone) << "above every paragraph end";
    EXPECT_FALSE(body->HasObjectToMove());

    // Paragraph ends that are not laid out (y = 0) are passed over.
    Put(2, 0);
    above->m_bounds = plat::Rect(5000, 3000, 6000, 3400);
    body->UpdateAnchors();
    EXPECT_EQ(above->m_anchorState, kAnchorNone);
}

TEST_F(BodyText, AnObjectFollowsItsParagraphDownOnItsPage)
{
    PlaceParagraphs(2000, 4000, 6000);
    CTestObject* o = Add(plat::Rect(5000, 4500, 6000, 5500));
    body->UpdateAnchors();
    body->UpdateAnchors(); // nothing moved: no change
    EXPECT_EQ(o->m_anchorState, kAnchorAttached);

    PlaceParagraphs(2000, 4800, 6800); // text above grew by 800
    body->UpdateAnchors();
    EXPECT_EQ(o->m_anchorState, kAnchorMustMove);
    EXPECT_EQ(o->m_targetTop, 5300);
    EXPECT_TRUE(body->HasObjectToMove());
    EXPECT_TRUE(body->MoveAnchoredObjects());
    EXPECT_EQ(o->m_bounds, plat::Rect(5000, 5300, 6000, 6300));
    EXPECT_EQ(o->m_anchorState, kAnchorAttached);
    EXPECT_EQ(o->m_targetTop, 0);
    EXPECT_FALSE(body->MoveAnchoredObjects());
    body->UpdateAnchors();
    EXPECT_EQ(o->m_anchorState, kAnchorAttached) << "in step with its paragraph again";

    // Up again, still on the page: it follows.
    PlaceParagraphs(2000, 4100, 6100);
    body->UpdateAnchors();
    EXPECT_EQ(o->m_anchorState, kAnchorMustMove);
    EXPECT_EQ(o->m_targetTop, 4600);
}

TEST_F(BodyText, AnObjectPushedAcrossThePageEndJumpsToTheNextPagesText)
{
    PlaceParagraphs(2000, 12000, 14000);
    CTestObject* o = Add(plat::Rect(5000, 12500, 6000, 14500));
    body->UpdateAnchors();
    ASSERT_EQ(o->m_anchorName, NameOf(5));

    // The paragraph moves down 3000: the object would run from 15500 to 17500, past the
    // page's lower edge (16470).
    PlaceParagraphs(2000, 15000, Frame(1).top + 500);
    body->UpdateAnchors();
    EXPECT_EQ(o->m_anchorState, kAnchorMustMove);
    EXPECT_EQ(o->m_targetTop, Frame(1).top);
    body->MoveAnchoredObjects();
    EXPECT_EQ(o->m_bounds.top, Frame(1).top);
    EXPECT_EQ(o->m_bounds.bottom, Frame(1).top + 2000);

    // Reaching into the page's bottom margin is allowed: only the page's edge counts.
    o->m_bounds = plat::Rect(5000, 12500, 6000, 14500);
    o->m_anchorOffset = 500;
    o->m_anchorState = kAnchorAttached;
    PlaceParagraphs(2000, 13500, 15000);
    body->UpdateAnchors();
    EXPECT_EQ(o->m_targetTop, 14000); // 14000 to 16000, below the text area, on the page
}

TEST_F(BodyText, AnObjectWhoseParagraphMovedUpAcrossAPageGoesToItsPagesTextTop)
{
    // The object sits on page 2, anchored to a paragraph end on page 2 with offset 400.
    const int p2 = Frame(1).top;
    PlaceParagraphs(2000, p2 + 600, p2 + 2000);
    CTestObject* o = Add(plat::Rect(5000, p2 + 1000, 6000, p2 + 3000));
    body->UpdateAnchors();
    ASSERT_EQ(o->m_anchorOffset, 400);

    // Text was deleted and the paragraph end now lies on page 1 near its text end: the
    // object would cross the page end, so it goes to the top of its own page's text.
    PlaceParagraphs(2000, 14500, 15000);
    body->UpdateAnchors();
    EXPECT_EQ(o->m_anchorState, kAnchorMustMove);
    EXPECT_EQ(o->m_targetTop, p2);

    // Already at that top: nothing to do.
    o->m_bounds = plat::Rect(5000, p2, 6000, p2 + 2000);
    o->m_anchorState = kAnchorAttached;
    o->m_targetTop = 0;
    body->UpdateAnchors();
    EXPECT_EQ(o->m_anchorState, kAnchorAttached);
}

TEST_F(BodyText, DeletingTheAnchorParagraphReanchorsWithoutMoving)
{
    PlaceParagraphs(2000, 4000, 6000);
    CTestObject* o = Add(plat::Rect(5000, 4500, 6000, 5000));
    body->UpdateAnchors();
    ASSERT_EQ(o->m_anchorName, NameOf(5));

    // Join paragraphs 2 and 3: the paragraph end at item 5 goes. The deletion lays the
    // body out, which anchors the object again, to the last paragraph end above its top
    // where the layout put them.
    body->SetSelection(CTextPos(5, body->GetName()), CTextPos(5, body->GetName()));
    body->OnDelete();
    ASSERT_EQ(body->GetCount(), 8);
    ASSERT_LT(body->GetItem(7)->GetTop(), 4500);
    EXPECT_EQ(o->m_anchorState, kAnchorAttached);
    EXPECT_EQ(o->m_anchorName, NameOf(7));
    EXPECT_EQ(o->m_anchorOffset, 4500 - body->GetItem(7)->GetTop());
    EXPECT_EQ(o->m_bounds.top, 4500) << "not moved";
    EXPECT_FALSE(body->HasObjectToMove());

    // With the paragraph ends placed as before, the object keeps to its new paragraph.
    Put(2, 2000);
    Put(7, 4000);
    body->UpdateAnchors();
    EXPECT_EQ(o->m_anchorName, NameOf(7));
    EXPECT_TRUE(body->HasObjectToMove());
    EXPECT_EQ(o->m_targetTop, 4000 + o->m_anchorOffset);
}

TEST_F(BodyText, AnObjectMarkedToMoveWithoutAnAnchorIsReleased)
{
    CTestObject* o = Add(plat::Rect(5000, 4500, 6000, 5000));
    o->m_anchorState = kAnchorMustMove;
    o->m_targetTop = 9000;
    EXPECT_TRUE(body->MoveAnchoredObjects());
    EXPECT_EQ(o->m_bounds.top, 4500);
    EXPECT_EQ(o->m_anchorState, kAnchorNone);
    EXPECT_EQ(o->m_targetTop, 0);
}

TEST_F(Body, FitsOnPageNeedsAStartInsideATextAreaAndAnEndOnThatPage)
{
    struct Case {
        int a, b;
        bool fits;
    };
    const Case cases[] = {
        {kTextTop, kTextTop + 100, true},
        {kTextTop - 1, kTextTop + 100, false},      // in the top margin
        {5000, 16470, true},                        // ends on the page's lower edge
        {5000, 16471, false},
        {kTextBottom, 16000, true},                 // starts on the text's last line
        {kTextBottom + 1, 16000, false},            // in the bottom margin
        {Frame(1).top, Frame(1).top + 15000, true},
        {Frame(499).bottom + 1, 0x1FFFFFFF, false}, // past the last page
    };
    for (const Case& c : cases) EXPECT_EQ(body->FitsOnPage(c.a, c.b), c.fits) << c.a << ".." << c.b;
}
