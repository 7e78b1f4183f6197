// The page body: the main text flow of a document, laid out on a column of up to 500
// pages around the floating objects it holds: its page frames (the text area of every
// page), the free regions the objects leave in them (the rectangles the line filler pours
// text into, in flow order), the page count, the object-list operations and the anchoring
// of objects to the paragraph they were placed beside (doc_body.cpp); the relayout that
// pours the text into the regions line by line (doc_body_layout.cpp); page painting with
// the caret and the selection (doc_body_paint.cpp); the body record, the paragraph
// commands and the find and replace walks (doc_body_record.cpp); the counts of the body
// and the word count (doc_body_count.cpp).
//
// Body coordinates are twips from the top left of the desk: with W and H the paper size,
// page i occupies (200, i(H+200)+200) to (W+200, i(H+200)+200+H).
#pragma once
#include <array>
#include <cstdint>
#include <list>
#include <memory>
#include <optional>
#include <vector>

#include "document/text_flow.h"
#include "platform/base/geometry.h"

class CFloatObject;
class CPageObjectList;
class CRtfFontTable;
class CRtfColorTable;
class CStatistics;
class CTextItem;
class CFindState;
class CLineLayout;
struct CRunMeasure;
namespace plat {
class Dc;
class Menu;
}

// What a replace-all asks of an object that holds text of its own beyond a plain frame (a
// table: every cell; a text shape: its inner frame). The object replaces every match and
// refits itself (a table takes its grid's size); the body then flows its text around the
// object's new bounds.
class CReplaceAllTarget {
public:
    virtual ~CReplaceAllTarget() = default;
    // True when anything was replaced.
    virtual bool ReplaceAllText(CFindState& state) = 0;
};

// What the RTF export's font and colour passes reach through an object whose cells hold
// text flows of their own (a table): each cell's flow adds its faces and colours to the
// export's tables, so that the header covers the text the object writes.
class CRtfCellSource {
public:
    virtual ~CRtfCellSource() = default;
    virtual void CollectRtfFonts(plat::Stream& out, CRtfFontTable& fonts) = 0;
    virtual void CollectRtfColors(plat::Stream& out, CRtfColorTable& colors) = 0;
};

// One rectangle of text area and the page it lies on (500: the overflow frame).
class CPageRegion {
public:
    CPageRegion() = default;
    CPageRegion(const plat::Rect& rect, std::int32_t page) : m_rect(rect), m_page(page) {}
    CPageRegion(const CPageRegion&) = default;
    CPageRegion& operator=(const CPageRegion&) = default;
    virtual ~CPageRegion() = default;

    plat::Rect m_rect;
    std::int32_t m_page = 0;
};

class CDocBody : public CTextFlow {
public:
    static constexpr int kMaxPages = 500;
    static constexpr int kOverflowFrame = kMaxPages;
    // Text inside a free region keeps this far from an object's side.
    static constexpr int kRegionGap = 105;
    // Fragments no wider or no taller than these cannot hold a line and are dropped.
    static constexpr int kMinRegionWidth = 420;
    static constexpr int kMinRegionHeight = 210;
    // The overflow frame reaches practically without end.
    static constexpr std::int32_t kOverflowBottom = 0x20000000;

    using RegionList = std::list<std::unique_ptr<CPageRegion>>;

    // A body with its one final paragraph end, the document's page geometry, its free
    // regions, laid out; it becomes the document's focus text.
    explicit CDocBody(CDocContext* doc);
    // The free regions, then every object, then the rest.
    ~CDocBody() override;

    // ---- page frames and free regions ----
    // Margins and paper size in millimetres.
    void SetPageGeometry(int marginLeft, int marginTop, int marginRight, int marginBottom, int paperWidth,
                         int paperHeight);
    // Frame i (0-499) is the text area of page i; frame 500 the overflow frame.
    const CPageRegion& GetPageFrame(int i) const { return m_frames.at(static_cast<size_t>(i)); }
    // Rebuilds the free regions: a copy of every frame, cut around each object in stacking
    // order.
    void BuildPageRegions();
    // Keeps a fragment that can hold a line, its sides inset where they face an object,
    // and links it after the given region (null: appended); drops any other.
    void InsertRegion(CPageRegion* after, std::unique_ptr<CPageRegion> region);
    void ClearRegions();
    // The region cursor: to the head, and on; null past the end.
    CPageRegion* GetFirstRegion();
    CPageRegion* GetNextRegion();
    int GetRegionCount() const { return static_cast<int>(m_regions.size()); }

    // ---- pages ----
    int GetPageCount() const { return m_pageCount; }
    // True when the page count changed since the last call.
    bool PageCountChanged();
    // Pages used by the text (the frame holding the last item's line) and by the objects,
    // at most 500.
    void RecalcPageCount();
    // Below the last item (by 105 twips) or the lowest object, whichever is lower: where
    // pasted and appended objects go.
    int GetContentBottom() const;

    // ---- anchoring ----
    // After every layout: unanchored objects attach to the paragraph end above them, the
    // others check whether their paragraph moved.
    void UpdateAnchors();
    void AttachAnchor(CFloatObject& object);
    void CheckAnchor(CFloatObject& object);
    // Whether a span from a to b starts inside a page's text area and ends on that page.
    bool FitsOnPage(int a, int b) const;
    bool HasObjectToMove() const;
    // Moves every object that must move to its target top; true when there was one.
    bool MoveAnchoredObjects();

    // ---- the page objects ----
    CPageObjectList& GetObjectList() { return *m_objects; }
    int GetObjectCount() const;
    CFloatObject* GetObject(int index) const;
    // Appends at the top of the stacking order; the body owns the object from then on.
    CFloatObject* AddObject(std::unique_ptr<CFloatObject> object);
    // Unlinks the object and hands it back; null when it is not in the list.
    std::unique_ptr<CFloatObject> RemoveObject(CFloatObject* object);
    void DeleteAllObjects();
    int GetSelectedCount() const;
    CFloatObject* GetSelectedObject(int n) const;
    void DeselectAll();

    // Page i of the desk in the current geometry (what the document's GetPageRect gives).
    plat::Rect GetPageRect(int i) const;

    // ---- layout ----
    // Pours the items into the free regions line by line and re-anchors the objects. all
    // = 0 lays out the paragraphs around the selection and stops at the first paragraph
    // that lands where it already is; retry counts the anchor-driven layouts before this
    // one (at most three follow an edit).
    void Relayout(int all, int retry) override;
    // Fills one region from the item at `position` with `paraState` (0 inside a paragraph,
    // 1 a paragraph begins, 2 one begins after a page break); both move on. True when no
    // more layout is needed; false when the next region must go on.
    bool FillRegion(int all, int end, int& position, int& paraState, const CPageRegion& region,
                    const plat::Rect& frame);
    // Every object lays out its content, the regions are rebuilt and the text relaid.
    void RecalcAllObjects();
    // The gap between lines of a paragraph with the spacing code.
    static int LineGap(int spacing);

    // ---- painting ----
    // Paints the items and objects that meet the rectangle (twips) with (x0, y0) the pixel
    // position of the body's origin. Mode 1 is the screen (the rectangle is the visible
    // area), 2 print preview and 3 printing and export (the rectangle is one page).
    void DrawPage(plat::Dc& dc, double zoom, int x0, int y0, int mode, const plat::Rect& rect);
    // The creation tracker, or the selected objects' marks, or the focus text's caret or
    // selection.
    // The caret the body keeps (GetCaretRect) is the one the focus text showed: a 2-pixel
    // bar the canvas shows as its caret (here drawn by inverting it); empty when hidden.
    void DrawCaret(plat::Dc& dc, double zoom, int x0, int y0) override;

    // ---- spelling marks (doc_body_spell.cpp) ----
    // Empties the document's error list, then marks afresh the misspelt words (and, with
    // the frame's sentence checker, the sentence findings) of the paragraphs meeting the
    // band top..bottom (twips) and of the objects the band meets; nothing without an engine.
    void SpellCheckRange(std::int64_t top, std::int64_t bottom);
    // Empties the document's error list and unmarks every item of the body and of the
    // objects.
    void ClearSpellMarks();
    using CTextFlow::ClearSpellMarks;
    // The interactive checks of the body and then of each page object in list order, from
    // the start of the body (the focus text); 0 as soon as one of them is stopped, else 1.
    int SpellCheckWords(CSpellEngine& engine, CSpellCheckUi& ui, plat::Point& dialogPos);
    int SpellCheckSentences(CSentenceChecker& checker, CSpellCheckUi& ui, plat::Point& dialogPos);

    // ---- record ----
    using CTextFlow::Load;
    using CTextFlow::Save;
    // The text-flow record, then the page-object list record. Inserting another file
    // (mode 4) into a body that holds anything appends after a page break and shifts the
    // objects by (dx, dy); anything else replaces the content. A refused record leaves the
    // body as it was.
    void Load(plat::Archive& ar, int mode) override { Load(ar, mode, 0, 0); }
    void Load(plat::Archive& ar, int mode, int dx, int dy);
    void Save(plat::Archive& ar, int mode) override;
    void PrepareItems() override;

    // ---- formats and editing ----
    void SetCharFormat(int fieldId, const CCharFormat& values) override;
    // With a selection every paragraph it touches gets the value, else the caret's.
    void SetAlignment(std::uint8_t alignment) override;
    void SetLineSpacing(std::uint8_t spacing) override;
    void SetIndents(std::int32_t first, std::int32_t left, std::int32_t right) override;
    // The running formats from the caret (the character format only when asked), copied
    // into the format state.
    void UpdateCaretFormat(int take) override;
    // The format of the paragraph that holds the item. A paragraph end without an
    // alignment takes (and keeps) the format of the paragraph after it.
    CParaFormat GetParaFormatAt(int index);
    void DeleteSelection() override;
    void OnDelete() override;
    void OnBackspace() override;

    // ---- traversals: the body text, then the objects in stacking order ----
    // The next match from the find state; the text or object found is selected.
    bool FindNext(CFindState& state);
    // Replaces every match with the state's replacement text; the search goes on after
    // each inserted text, so a replacement that contains the searched text never loops.
    // True when anything was replaced.
    bool ReplaceAll(CFindState& state);
    // A deleted note: its number leaves the body's text and every object's, as one undoable
    // step; the document is modified and repainted.
    void RemoveAnnotationMark(std::int16_t annotation);

    // ---- export writers (doc_body_html.cpp, doc_body_rtf.cpp) ----
    // The body of an HTML page: the text in a table of the first page's text width, the
    // objects met in the text written in wrapped tables of their own, the rest after it.
    // The 8-bit page's pictures go into folderPath (the page's stem + ".files"), the
    // UTF-16 page's into the page's own folder.
    void ExportHtml(plat::Stream& out, const plat::String& folderPath, const plat::String& baseName);
    void ExportHtmlW(plat::Stream& out, const plat::String& folderPath, const plat::String& baseName);
    // The object not yet written with the smallest top, then left; the earlier in the
    // list on a full tie. Null when all are written.
    CFloatObject* NextHtmlObject() const;
    // The default faces and colours, those of the text and of every object's cells; then
    // the table group.
    void CollectRtfFonts(plat::Stream& out, CRtfFontTable& fonts) override;
    void CollectRtfColors(plat::Stream& out, CRtfColorTable& colors) override;
    // "\ql".."\qj", indents and line spacing of the paragraph holding the item.
    void WriteRtfParagraphProps(plat::Stream& out, int index);
    // The whole body as RTF, objects in the text as shapes and the rest as pictures after
    // it; and the selected items only, with the shapes that stand among them.
    void ExportRtf(plat::Stream& out, const CRtfFontTable& fonts, const CRtfColorTable& colors);
    void ExportRtfSelection(plat::Stream& out, const CRtfFontTable& fonts, const CRtfColorTable& colors);

    // ---- counting (doc_body_count.cpp) ----
    using CTextFlow::CountStatistics;
    // Adds to the record the page count, what each object in list order adds (its own
    // CountStatistics) and the counts of the body's text.
    void CountStatistics(CStatistics& stats) const;
    // The word-count dialog (ShowWordCount): with a selection one row "当前选择" of the
    // selected items; without one the rows "当前位置" (the items before the caret) and
    // "当前段落" (the caret's paragraph, its closing paragraph end included).
    void OnWordCount() const;

    // ---- keys (doc_body_keys.cpp; shift: Shift is held) ----
    // With objects selected, each of them takes the key (Home/End and Ctrl+Home/Ctrl+End
    // restack it, the arrows nudge it by a pixel) and the caret is scrolled into view;
    // otherwise the focus text moves its caret, extending the selection with Shift. A
    // read-only document or the reference pane keeps its objects as they are.
    // Tab: true when selected objects took it; otherwise the document inserts a Tab.
    bool OnKeyTab(bool shift);
    void OnKeyCtrlHome(bool shift);
    void OnKeyCtrlEnd(bool shift);
    void OnKeyHome(bool shift);
    void OnKeyEnd(bool shift);
    void OnKeyLeft(bool shift);
    void OnKeyRight(bool shift);
    void OnKeyUp(bool shift);
    void OnKeyDown(bool shift);

    // ---- the mouse (doc_body_mouse.cpp; points in body twips) ----
    // Objects are tried front layer first and, within a layer, in list order.
    // The hit code under the point while the button is up: the first object's that
    // answers, else 1 (text or an empty page).
    std::uint8_t HitTest(int x, int y);
    // The text item under the point: that of the first object whose box holds the point,
    // else the body's own.
    CTextItem* ItemAtPoint(int x, int y) const;
    // A press: 96 on an annotation mark; else the code of the first object that takes it
    // (selecting it), 0 when the press does nothing; else the text takes it and 1.
    using CTextFlow::OnLButtonDown;
    std::uint8_t OnLButtonDown(int x, int y, bool shift);
    // Moves with the button down, by the press hit code: the text's selection, the
    // selected objects, or the tracked object.
    void OnMouseDrag(int x, int y);
    // The release; an object drag ends with the regions rebuilt and the text relaid.
    void OnLButtonUp(int x, int y) override;
    // True when something took the double click (an object that plays, or is selected).
    bool OnLButtonDblClk(int x, int y);
    // The suggestions of the marked word under the point (from the engine) go to the sink
    // from the position on, and its record to *error when asked: the word of the object
    // under the point, else of the body's text. Returns the next position (0: none).
    int OnRButtonDown(int x, int y, int position, CSpellEngine& engine, const SpellSuggestionSink& sink,
                      CSpellError** error = nullptr);
    // Moves the selected objects by the mouse's move since the last point, keeping them
    // within the pages' width and below the top of the first page.
    void DragSelected(int x, int y);

protected:
    // Copied text carries the objects anchored to its paragraph ends (doc_body_record.cpp).
    std::int32_t CountBlockObjects(const CParaEndItem& end) const override;
    void SaveBlockObjects(plat::Archive& ar, const CParaEndItem& end) override;
    std::unique_ptr<CDocNode> LoadBlockObject(plat::Archive& ar, std::uint16_t type, int mode,
                                              std::int32_t& anchorOffset) override;
    // The object goes 105 twips below the paragraph end, anchored to it with the offset it
    // was copied with, and the text flows around it.
    void PlaceBlockObject(std::unique_ptr<CDocNode> object, std::int32_t anchorOffset,
                          const CParaEndItem& end) override;

private:
    struct ParaEndIndex;
    // The paragraph ends, gathered afresh only when one came or went since the last time.
    const ParaEndIndex& IndexParaEnds() const;
    // The item at i when the index holds it: a paragraph end by type and by class.
    const CParaEndItem* IndexedParaEnd(int i) const;
    // Puts the one paragraph end that came since the index was gathered into it, or takes
    // the one that went out of it; false when that cannot be done.
    using ParaEdit = CNodeList::ParaEndEdit;
    bool UpdateParaEnds(ParaEndIndex& index) const;
    void AttachAnchor(CFloatObject& object, const ParaEndIndex& index);
    void CheckAnchor(CFloatObject& object, const ParaEndIndex& index);
    void InsertRegion(RegionList& list, RegionList::iterator after, std::unique_ptr<CPageRegion> region) const;
    // Cuts the regions of the list around the object.
    void CutRegions(RegionList& list, const CFloatObject& object);
    // True when every frame holds a line's half gap and lies below the one before it.
    bool FramesInOrder() const;
    // Calls visit(i) for each frame i (overflow frame included) that the box meets.
    template <class Visit>
    void ForFramesMeeting(const plat::Rect& box, bool inOrder, Visit visit) const;
    // Builds the regions of every frame, or of the frames marked, in place in the list.
    void BuildRegionsOfFrames(const std::vector<bool>* only);
    // Builds again the regions of the frames that an object left or reached since the
    // last build: first and last are the first and last such frames (last < 0: none).
    // False, with nothing done, when the list cannot be mended that way.
    bool RebuildChangedRegions(int& first, int& last);
    // Moves the anchored objects that must move and lays the text out again from the
    // first page whose regions that changes; a whole relayout when the layout or the
    // regions are not what a whole build and relayout leave.
    void RelayoutAfterMoves(int retry);
    // The HTML and RTF body walks shared by both variants and by the selection.
    void ExportHtmlBody(plat::Stream& out, const plat::String& folderPath, const plat::String& baseName,
                        bool wide);
    void ExportRtfRange(plat::Stream& out, const CRtfFontTable& fonts, const CRtfColorTable& colors, int start,
                        int end, bool selection);
    // The body's last line lies in the overflow frame (frames in order).
    bool LastLineInOverflow() const;

    // Layout helpers (doc_body_layout.cpp).
    struct LineBox;
    struct ProbeSave;
    class RegionFiller;
    LineBox ComputeLineBox(const plat::Rect& region, const plat::Rect& frame, const CParaFormat& para,
                           int paraState) const;
    bool Fill(CLineLayout& layout, int all, int& position, int& paraState, const CPageRegion& region,
              const plat::Rect& frame);
    // Measures and marks items from..to-1 as a measurement of the whole flow would.
    void MeasureRange(CLineLayout& layout, int from, int to);
    // A partial layout measures each paragraph past its range just before placing it, or
    // takes it to be re-stacked from the lines it was placed in before.
    void PrepareParagraph(int start);
    // Measures the paragraph from `start` as the partial layout does past its range.
    void MeasureParagraph(int start);
    // The paragraph being re-stacked meets a line it cannot take as it was placed: it is
    // measured after all, and the lines before `lineStart` keep what their placing left.
    void MeasureRestacked(int lineStart);
    // The end of the line the last layout placed from `from` when it may be stacked again
    // as it is, with how it ended; -1 otherwise.
    int PlacedLineEnd(int from, int& kind) const;
    void SaveMetrics(ProbeSave& save, int from, int to) const;
    void RestoreMetrics(const ProbeSave& save);
    int ExtendToBoundary(int index) const;
    int ParagraphEndAfter(int index) const;
    bool FindStartRegion(int start, CPageRegion& working);
    void ShowOverflow() const;
    // Page frames from the document's margins and paper size.
    void SetGeometryFromDocument();
    // Sets one paragraph field on the paragraphs of the selection (or the caret's).
    template <class Change>
    void ChangeParagraphs(Change change);

    std::array<CPageRegion, kMaxPages + 1> m_frames;
    std::int32_t m_paperWidth = 0; // twips
    std::int32_t m_paperHeight = 0;
    std::uint16_t m_pageCount = 1;
    std::uint16_t m_prevPageCount = 0;
    RegionList m_regions;
    RegionList::iterator m_regionCursor;
    std::unique_ptr<CPageObjectList> m_objects;
    mutable std::unique_ptr<ParaEndIndex> m_paraEnds;
    // What the regions were last built from: each object's box and wrap mode, in stacking
    // order.
    struct RegionSource {
        plat::Rect bounds;
        std::uint8_t wrap;
    };
    std::vector<RegionSource> m_regionSources;
    bool m_regionsBuilt = false; // the region list is as the last build left it
    bool m_layoutWhole = false;  // the items lie where a whole relayout over the regions puts them
    // The range a relayout after object moves starts at and measures ahead; taken by the
    // next Relayout.
    struct MovedRange {
        int start = 0;
        int end = 0;
    };
    std::optional<MovedRange> m_movedRange;

    // State of the relayout in progress.
    CLineLayout* m_layout = nullptr;    // not owned
    bool m_layoutAll = false;
    int m_measuredEnd = 0;              // items before this are measured for this layout
    int m_probeAt = -1;                 // the paragraph start that may find itself in place
    ProbeSave* m_probe = nullptr;       // what measuring that paragraph replaced; not owned
    int m_restackFrom = -1;             // the paragraph from here is re-stacked, not measured
    int m_defaultTailFrom = -1;         // paragraphs from here on resolve to the default format
    int m_paraEndFrom = -1;             // no paragraph end lies from here up to m_paraEndAt,
    int m_paraEndAt = -1;               // the index of the one that ends that stretch
    bool m_pageBreakPlaced = false;     // the last FillRegion ended its page
    bool m_overflowPlaced = false;      // a line went into the overflow frame
    // Edits that run many steps (replace-all, a format over a selection) lay out once at
    // the end.
    int m_layoutDeferred = 0;

};
