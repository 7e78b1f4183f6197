// The document object: construction and reset, page geometry from the header, units at the
// zoom, the selection tests, refitting the object that holds the focus text, and the
// requests that go to the window.
#include <gtest/gtest.h>

#include <set>

#include "document/float_object.h"
#include "document/text_flow.h"
#include "tests/document/doc_object_support.h"
#include "tests/document/test_object.h"

using namespace doctest;

namespace {

// ---- construction and reset ----

TEST(DocObject, ConstructionLeavesContentForTheFirstReset)
{
    CHeadlessWindows window;
    CQlDoc doc(&window, &window);
    EXPECT_EQ(doc.GetBody(), nullptr);
    EXPECT_EQ(doc.GetHeader(), nullptr);
    EXPECT_EQ(doc.GetFormatState(), nullptr);
    EXPECT_EQ(doc.GetView(), static_cast<CDocView*>(&window));
    EXPECT_EQ(doc.GetFrame(), static_cast<CDocFrame*>(&window));
    EXPECT_TRUE(doc.IsAnnotationsShown());
    EXPECT_FALSE(doc.HasRevisions() || doc.IsRevisionsShown() || doc.IsReadOnly() || doc.IsReferencePane() ||
                 doc.IsModified());
    EXPECT_EQ(doc.GetCurAuthorIndex(), 0);
    EXPECT_EQ(doc.GetReferencePasteCount(), 0);
    EXPECT_EQ(doc.GetAnnotations().GetDocument(), &doc);
    // Page settings read as a new document's until a header exists.
    EXPECT_EQ(doc.GetMargins(), plat::Rect(20, 20, 20, 20));
    EXPECT_EQ(doc.GetPaperSize(), plat::Size(200, 287));
    EXPECT_EQ(doc.GetFileVersion(), 0x101);
    EXPECT_EQ(doc.GetPageCount(), 0);
    EXPECT_TRUE(doc.SelectionAcceptsText());
    EXPECT_TRUE(doc.SelectionAcceptsFormat());
}

TEST(DocObject, ResetGivesTheStateOfANewDocument)
{
    ShownDoc s;
    CQlDoc& doc = s.doc;
    // Dirty everything a reset touches, and what it must keep.
    doc.GetAuthors().Append(0, u"");
    doc.GetAuthors().Append(5, u"甲");
    doc.SetCurAuthorIndex(1);
    doc.SetHasRevisions(true);
    doc.SetRevisionsShown(true);
    doc.SetAnnotationsShown(false);
    doc.SetReadOnly(true);
    doc.SetModified();
    doc.AddReferencePaste(1);
    doc.SetReference(true);
    doc.GetAnnotations().Add(1, 1700000000, u"注");
    doc.GetPalette().UseColor(0x123456);
    doc.GetHeader()->m_headerText = u"页眉";
    doc.GetFormatState()->m_zoom = 2.0;
    doc.GetBody()->InsertItemsAtCaret(u"正文");
    doc.GetSpellErrors().Add(std::make_unique<CSpellError>(doc.GetBody(), 0, 2));
    const int customIndex = CColorPalette::kStandardCount; // the first custom slot

    doc.Reset();

    EXPECT_EQ(doc.GetAuthors().GetCount(), 0);
    EXPECT_EQ(doc.GetCurAuthorIndex(), 0);
    EXPECT_FALSE(doc.HasRevisions() || doc.IsRevisionsShown() || doc.IsReadOnly() || doc.IsModified());
    EXPECT_TRUE(doc.IsAnnotationsShown());
    EXPECT_EQ(doc.GetReferencePasteCount(), 0);
    EXPECT_EQ(doc.GetAnnotations().GetCount(), 0);
    EXPECT_EQ(doc.GetSpellErrors().GetCount(), 0) << "its records pointed into the old body";
    EXPECT_EQ(doc.GetImageStore().GetCount() + doc.GetVideoStore().GetCount() + doc.GetAudioStore().GetCount(), 0);
    // Kept: the reference-pane flag and the palette's custom colours.
    EXPECT_TRUE(doc.IsReferencePane());
    EXPECT_EQ(doc.GetPalette().GetColor(customIndex), 0x123456);
    // New header, format state and body; the body is the focus text and holds nothing. (The
    // new body may sit at the old one's address: an allocator is free to reuse it, so only
    // its state tells it apart.)
    ASSERT_NE(doc.GetHeader(), nullptr);
    EXPECT_EQ(doc.GetHeader()->m_headerText, u"");
    EXPECT_EQ(doc.GetHeader()->GetDocument(), &doc);
    ASSERT_NE(doc.GetFormatState(), nullptr);
    EXPECT_EQ(doc.GetFormatState()->m_zoom, 1.0);
    ASSERT_NE(doc.GetBody(), nullptr);
    EXPECT_EQ(doc.GetBody()->GetDoc(), &doc);
    EXPECT_TRUE(doc.GetBody()->IsEmpty());
    EXPECT_EQ(doc.GetFormatState()->GetFocusObject(), doc.GetBody());
    EXPECT_EQ(doc.GetPageCount(), 1);
}

TEST(DocObject, ResetTakesOnlyObjectBlocksOffTheClipboard)
{
    struct Case {
        std::set<plat::String> before;
        bool heldElsewhere;
        std::set<plat::String> after;
    };
    const Case cases[] = {
        // Blocks of page objects refer to the stores the reset empties: the block goes, and
        // what the same copy left beside it (its RTF, text) stays.
        {{kBlockClipboardFormat, u"CF_UNICODETEXT"}, false, {u"CF_UNICODETEXT"}},
        {{kBlockClipboardFormat, kRtfClipboardFormat}, false, {kRtfClipboardFormat}},
        {{kBlockClipboardFormat}, false, {}},
        // Anything else stays.
        {{kTextClipboardFormat, u"CF_UNICODETEXT"}, false, {kTextClipboardFormat, u"CF_UNICODETEXT"}},
        {{}, false, {}},
        // A clipboard another window holds open is left alone.
        {{kBlockClipboardFormat}, true, {kBlockClipboardFormat}},
    };
    for (const Case& c : cases) {
        CHeadlessWindows window;
        for (const plat::String& format : c.before) window.m_clipboard[format] = {1, 2, 3};
        window.m_clipboardHeldElsewhere = c.heldElsewhere;
        CQlDoc doc(&window, &window);
        doc.Reset();
        std::set<plat::String> after;
        for (const auto& [format, bytes] : window.m_clipboard) after.insert(format);
        EXPECT_EQ(after, c.after);
        EXPECT_FALSE(window.m_clipboardOpen) << "closed again";
    }
}

// ---- geometry ----

TEST(DocObject, GeometryOfANewDocument)
{
    ShownDoc s;
    const CQlDoc& doc = s.doc;
    EXPECT_EQ(doc.GetPaperSizeTwips(), plat::Size(kPaperW, kPaperH));
    EXPECT_EQ(doc.GetTextAreaRect(), plat::Rect(kMargin, kMargin, kPaperW - kMargin, kPaperH - kMargin));
    EXPECT_EQ(doc.GetTextAreaSize(), plat::Size(kPaperW - 2 * kMargin, kPaperH - 2 * kMargin));
    struct Case {
        int page;
        plat::Rect rect;
        plat::Rect text;
    };
    const Case cases[] = {
        {0, {200, 200, kPaperW + 200, 200 + kPaperH}, {200 + kMargin, 200 + kMargin, kPaperW + 200 - kMargin, 200 + kPaperH - kMargin}},
        {1, {200, 200 + kPitch, kPaperW + 200, 200 + kPitch + kPaperH},
         {200 + kMargin, 200 + kPitch + kMargin, kPaperW + 200 - kMargin, 200 + kPitch + kPaperH - kMargin}},
        {499, {200, 200 + 499 * kPitch, kPaperW + 200, 200 + 499 * kPitch + kPaperH},
         {200 + kMargin, 200 + 499 * kPitch + kMargin, kPaperW + 200 - kMargin, 200 + 499 * kPitch + kPaperH - kMargin}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(doc.GetPageRect(c.page), c.rect) << c.page;
        EXPECT_EQ(doc.GetPageTextRect(c.page), c.text) << c.page;
        // The body's frames are the same text areas.
        EXPECT_EQ(s.Body().GetPageFrame(c.page).m_rect, c.text) << c.page;
    }
    EXPECT_EQ(doc.GetTotalExtent(), plat::Size(kPaperW + 400, kPitch + 200));
}

TEST(DocObject, GeometryFollowsTheHeader)
{
    ShownDoc s;
    CQlDoc& doc = s.doc;
    CDocHeader& h = *doc.GetHeader();
    h.m_paperWidth = 150;
    h.m_paperHeight = 100;
    h.m_marginLeft = 10;
    h.m_marginTop = 30;
    h.m_marginRight = 15;
    h.m_marginBottom = 25;
    h.m_defaultTextColor = 0x80112233; // a stored value beyond 24 bits resolves to its colour
    h.m_defaultFillColor = 0x00445566;
    plat::Rect margins;
    plat::Size paper;
    doc.GetPageGeometry(margins, paper);
    EXPECT_EQ(margins, plat::Rect(10, 30, 15, 25));
    EXPECT_EQ(paper, plat::Size(150, 100));
    // 150 x 100 mm is 8503 x 5669 twips; the margins 566, 1700, 850, 1417.
    EXPECT_EQ(doc.GetPaperSizeTwips(), plat::Size(8503, 5669));
    EXPECT_EQ(doc.GetTextAreaRect(), plat::Rect(566, 1700, 8503 - 850, 5669 - 1417));
    EXPECT_EQ(doc.GetPageRect(2), plat::Rect(200, 2 * 5869 + 200, 8703, 2 * 5869 + 200 + 5669));
    EXPECT_EQ(doc.GetPageTextRect(2), plat::Rect(766, 2 * 5869 + 1900, 7853, 2 * 5869 + 200 + 5669 - 1417));
    EXPECT_EQ(doc.GetDefaultTextColor(), 0x112233u);
    EXPECT_EQ(doc.GetDefaultFillColor(), 0x445566u);

    const CPageSettings ps = doc.GetPageSettings();
    EXPECT_EQ(ps.margins, margins);
    EXPECT_EQ(ps.pageNumberFace, u"宋体");
    EXPECT_EQ(ps.pageNumberSize, 180);
    EXPECT_EQ(ps.pageNumberStyle, CDocHeader::kPageOfPages);
    EXPECT_EQ(ps.headerRule, CDocHeader::kNoHeader);

    // The setters write the header.
    doc.SetPageSettings(plat::Rect(1, 2, 3, 4), plat::Size(50, 60));
    EXPECT_EQ(h.m_marginBottom, 4);
    EXPECT_EQ(h.m_paperHeight, 60);
    doc.SetDefaultTextColor(0xFF00AA00);
    EXPECT_EQ(h.m_defaultTextColor, 0x00AA00u);
}

TEST(DocObject, HeaderlessDocumentKeepsSettingsItIsGiven)
{
    // Documents that are never reset (layout tests, the body's defaults) still take
    // settings: the first setter makes their header.
    CQlDoc doc;
    doc.SetPageSettings(plat::Rect(10, 30, 15, 25), plat::Size(150, 100));
    ASSERT_NE(doc.GetHeader(), nullptr);
    EXPECT_EQ(doc.GetPaperSize(), plat::Size(150, 100));
    CQlDoc other;
    other.SetDefaultFillColor(0x00ABCDEF);
    EXPECT_EQ(other.GetDefaultFillColor(), 0xABCDEFu);
    EXPECT_EQ(other.GetMargins(), plat::Rect(20, 20, 20, 20));
}

TEST(DocObject, PageOfAPoint)
{
    ShownDoc s;
    CDocBody& body = s.Body();
    // Three pages.
    body.InsertPageBreak();
    body.InsertPageBreak();
    body.RelayoutWhole();
    ASSERT_EQ(s.doc.GetPageCount(), 3);
    EXPECT_EQ(s.doc.GetTotalExtent(), plat::Size(kPaperW + 400, 3 * kPitch + 200));
    struct Case {
        plat::Point point;
        int page;
    };
    const Case cases[] = {
        {{300, 300}, 0},
        {{300, 200 + kPaperH - 1}, 0},
        {{300, 200 + kPitch}, 1},
        {{300, 200 + kPitch + 5000}, 1},
        {{300, 200 + 2 * kPitch + kPaperH - 1}, 2},
        // The strip above a page belongs to that page; above the first and below the last
        // stay within the document.
        {{300, 200 + kPitch - 1}, 1},
        {{300, 200 + kPaperH + 50}, 1},
        {{300, -40}, 0},
        {{300, 20 * kPitch}, 2},
    };
    for (const Case& c : cases) EXPECT_EQ(s.doc.PageRectFromPoint(c.point), s.doc.GetPageRect(c.page)) << c.point.y;
}

// ---- units ----

TEST(DocObject, UnitsAtEachZoom)
{
    ShownDoc s;
    CQlDoc& doc = s.doc;
    ASSERT_EQ(CQlDoc::DesktopDpiX(), 96);
    struct Case {
        double zoom;
        int twips, pixels;       // TwipsToPixels(twips) == pixels
        int fromPixels, toTwips; // PixelsToTwips(fromPixels) == toTwips
    };
    const Case cases[] = {
        {2.0, 1440, 192, 7, 52},     // 52.5 truncated
        {2.0, 8, 1, -7, -52},        // toward zero on both sides
        {1.5, 1440, 144, 3, 30},
        {1.25, 100, 8, 5, 60},
        {1.0, 1440, 96, 7, 105},
        {1.0, 14, 0, 1, 15},         // less than a pixel
        {1.0, -16, -1, -1, -15},
        {0.75, 100, 5, 1, 20},
        {0.5, 1440, 48, -3, -90},
        {0.25, 59, 0, 1, 60},
        {0.25, 1440, 24, 24, 1440},
    };
    for (const Case& c : cases) {
        doc.GetFormatState()->m_zoom = c.zoom;
        EXPECT_EQ(doc.GetZoom(), c.zoom);
        EXPECT_EQ(doc.TwipsToPixels(c.twips), c.pixels) << c.zoom << " " << c.twips;
        EXPECT_EQ(doc.PixelsToTwips(c.fromPixels), c.toTwips) << c.zoom << " " << c.fromPixels;
        EXPECT_EQ(doc.TwipsToPixelsPoint(c.twips, -c.twips), plat::Point(c.pixels, -c.pixels));
        EXPECT_EQ(doc.PixelsToTwipsPoint(c.fromPixels, c.fromPixels), plat::Point(c.toTwips, c.toTwips));
        EXPECT_EQ(doc.TwipsToPixelsRect(plat::Rect(c.twips, 0, -c.twips, 2 * c.twips)),
                  plat::Rect(c.pixels, 0, -c.pixels, doc.TwipsToPixels(2 * c.twips)));
        EXPECT_EQ(doc.PixelsToTwipsRect(plat::Rect(c.fromPixels, c.fromPixels, 0, 0)),
                  plat::Rect(c.toTwips, c.toTwips, 0, 0));
    }
    // A document without a format state works at 100 %.
    CQlDoc bare;
    EXPECT_EQ(bare.TwipsToPixels(1440), 96);
}

// ---- the selection and the object that holds the focus text ----

// A test object that says whether its text is edited and has the focus, and refits itself
// like a table or a text shape.
class CTextHolder : public objtest::CTestObject, public CTextHostObject {
public:
    CTextHolder(CDocContext* doc, bool editing, bool focus) : CTestObject(doc, nullptr), m_editing(editing), m_focus(focus) {}
    bool IsEditingText() const override { return m_editing; }
    bool HasTextFocus() const override { return m_focus; }
    plat::Size RelayoutGrid() override
    {
        ++m_gridLayouts;
        return m_grid;
    }
    void RealignText() override { ++m_realigns; }

    bool m_editing;
    bool m_focus;
    plat::Size m_grid;
    int m_gridLayouts = 0;
    int m_realigns = 0;
};

CTextHolder* AddHolder(CDocBody& body, int top, bool editing, bool focus)
{
    auto o = std::make_unique<CTextHolder>(body.GetDoc(), editing, focus);
    o->m_bounds = plat::Rect(2000, top, 4000, top + 1000);
    o->m_width = 2000;
    o->m_height = 1000;
    o->RecalcLayout();
    return static_cast<CTextHolder*>(body.AddObject(std::move(o)));
}

TEST(DocObject, SelectionAcceptsTextAndFormatAsTheFirstSelectedObjectSays)
{
    struct Case {
        std::vector<std::pair<bool, bool>> selected; // (editing, focus) of each selected object
        bool text, format;
    };
    const Case cases[] = {
        {{}, true, true},
        {{{false, false}}, false, false},
        {{{true, false}}, true, false},
        {{{false, true}}, false, true},
        {{{true, true}, {false, false}}, true, true},   // the first selected decides
        {{{false, false}, {true, true}}, false, false},
    };
    for (const Case& c : cases) {
        ShownDoc s;
        AddHolder(s.Body(), 9000, true, true); // not selected: no say
        for (auto [editing, focus] : c.selected) AddHolder(s.Body(), 3000, editing, focus)->SetSelected(true);
        EXPECT_EQ(s.doc.SelectionAcceptsText(), c.text) << c.selected.size();
        EXPECT_EQ(s.doc.SelectionAcceptsFormat(), c.format) << c.selected.size();
    }
}

TEST(DocObject, RefreshFocusContainerRefitsTablesAndTextShapes)
{
    ShownDoc s;
    CTextHolder* holder = AddHolder(s.Body(), 3000, true, true);
    s.Body().BuildPageRegions();
    CTextFlow cell(&s.doc, holder, kNodeTableCell);
    CTextFlow shapeText(&s.doc, holder, kNodeTextShape);
    CTextFlow plain(&s.doc, holder, kNodePlain);

    // A grid of the table's own size: nothing changes.
    holder->m_grid = plat::Size(2000, 1000);
    s.doc.RefreshFocusContainer(&cell);
    EXPECT_EQ(holder->m_gridLayouts, 1);
    EXPECT_EQ(holder->m_bounds, plat::Rect(2000, 3000, 4000, 4000));

    // A grown grid: the table takes its size and the body flows around the new box.
    holder->m_grid = plat::Size(3000, 2500);
    s.doc.RefreshFocusContainer(&cell);
    EXPECT_EQ(holder->m_gridLayouts, 2);
    EXPECT_EQ(holder->m_width, 3000);
    EXPECT_EQ(holder->m_height, 2500);
    EXPECT_EQ(holder->m_bounds, plat::Rect(2000, 3000, 5000, 5500));
    bool cut = false;
    for (CPageRegion* r = s.Body().GetFirstRegion(); r; r = s.Body().GetNextRegion())
        cut = cut || (r->m_page == 0 && r->m_rect.bottom == 5500);
    EXPECT_TRUE(cut) << "the regions were rebuilt around the grown table";

    s.doc.RefreshFocusContainer(&shapeText);
    EXPECT_EQ(holder->m_realigns, 1);
    s.doc.RefreshFocusContainer(&plain);
    s.doc.RefreshFocusContainer(s.doc.GetBody());
    s.doc.RefreshFocusContainer(nullptr);
    EXPECT_EQ(holder->m_gridLayouts, 2);
    EXPECT_EQ(holder->m_realigns, 1);

    // A cell text outside any object: nothing to refit.
    CTextFlow loose(&s.doc, nullptr, kNodeTableCell);
    s.doc.RefreshFocusContainer(&loose);
}

// ---- the window ----

TEST(DocObject, RequestsGoToTheWindow)
{
    ShownDoc s;
    s.doc.RequestRepaint();
    s.doc.ScrollToCaret();
    s.doc.ScrollToCaret();
    EXPECT_EQ(s.window.m_repaints, 1);
    EXPECT_EQ(s.window.m_caretScrolls, 2);
    EXPECT_EQ(s.doc.GetCanvas(), nullptr);
    EXPECT_EQ(s.doc.GetControlWindow(), nullptr);

    // A document without a window asks nobody, until a caller watches its requests.
    CQlDoc bare;
    bare.RequestRepaint();
    int repaints = 0, scrolls = 0;
    bare.SetRepaintRequest([&] { ++repaints; });
    bare.SetScrollToCaret([&] { ++scrolls; });
    bare.RequestRepaint();
    bare.ScrollToCaret();
    EXPECT_EQ(repaints, 1);
    EXPECT_EQ(scrolls, 1);
    ASSERT_NE(bare.GetView(), nullptr);
    EXPECT_EQ(bare.GetFrame(), nullptr) << "a frame is never made up";
}

} // namespace
