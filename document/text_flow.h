// An editable run of text: a named container with a caret, a selection anchor, the
// place where the mouse went down, and the running character and paragraph formats that
// new text receives. The page body, text frames and table-cell text derive from it and
// override layout, painting and some editing slots; the base keeps the archive record,
// selection, caret moves, mouse handling and the revision-aware deletions.
//
// A flow's last item is its one final paragraph end (0xFF11). The class that builds a
// flow adds it (AppendFinalParaEnd); nothing removes it, and a record that would leave a
// flow without it, or with another one inside, is refused.
#pragma once
#include <cstdint>
#include <functional>
#include <vector>

#include "document/char_format.h"
#include "document/named_container.h"
#include "document/spell_error.h"
#include "platform/base/geometry.h"
#include "platform/base/strings.h"
#include "platform/file/archive.h"

class CFindState;
class CSentenceChecker;
class CSpellCheckUi;
class CSpellEngine;
class CSpellError;
class CRtfFontTable;
class CRtfColorTable;
struct CRtfRunState;
struct CHtmlRunState;
class CParaFormatHtmlState;
namespace plat {
class Dc;
}

// Command ids of the special symbols InsertSymbol inserts.
constexpr int kSymbolFirst = 40001;
constexpr int kSymbolLast = 40017;

// ConvertCyrillic modes.
enum CyrillicMode : int {
    kCyrillicLower = 1,
    kCyrillicUpper = 2,
    kCyrillicSwap = 3,
};

class CTextFlow : public CNamedContainer {
public:
    CTextFlow(CDocContext* doc, CDocNode* parent, std::uint16_t type = kNodePlain);
    // A flow that is the document's focus text stops being it.
    ~CTextFlow() override;

    // Appends the final paragraph end, made from the running formats; nothing when the
    // flow already ends with one.
    void AppendFinalParaEnd();

    const CCharFormat& GetRunningCharFormat() const { return m_charFormat; }
    const CParaFormat& GetRunningParaFormat() const { return m_paraFormat; }
    void SetRunningCharFormat(const CCharFormat& f) { m_charFormat = f; }
    void SetRunningParaFormat(const CParaFormat& p) { m_paraFormat = p; }

    // ---- the flow's virtual slots, in order after those of the container ----
    using CNamedContainer::Load;
    using CNamedContainer::Save;
    // With a selection every selected item gets the field and the flow is laid out again;
    // in every case the running format gets it and so does the document's format state.
    void SetCharFormat(int fieldId, const CCharFormat& values) override;
    // The flow record: running formats, caret and anchor, the focus flag (mode 2), items.
    virtual void Load(plat::Archive& ar, int mode);
    virtual void Save(plat::Archive& ar, int mode);
    // The RTF export's font and colour pre-passes over the flow's items; the export
    // supplies its tables (text_flow_export.cpp). The body's own passes also write them.
    virtual void CollectRtfFonts(plat::Stream& out, CRtfFontTable& fonts);
    virtual void CollectRtfColors(plat::Stream& out, CRtfColorTable& colors);
    // With a selection, inverts one band per line over the selected items; without one,
    // inverts a 2-pixel caret bar at the caret item (two thirds high for a raised or
    // lowered character). (x, y) is the pixel position of the desk's origin; the flow adds
    // its own page origin (text_flow_caret.cpp).
    virtual void DrawCaret(plat::Dc& dc, double zoom, int x, int y);
    // The caret bar the last DrawCaret showed, in pixels; empty while a selection is shown.
    const plat::Rect& GetCaretRect() const { return m_caretRect; }
    bool IsCaretShown() const { return !m_caretRect.IsEmpty(); }
    // Paragraph formats are set by the flows that lay out paragraphs (the page body).
    virtual void SetAlignment(std::uint8_t) {}
    virtual void SetLineSpacing(std::uint8_t) {}
    virtual void SetIndents(std::int32_t /*first*/, std::int32_t /*left*/, std::int32_t /*right*/) {}
    // Caret moves: without extend the anchor follows the caret. Each ends with
    // UpdateCaretFormat(1) and asks the document to scroll the caret into view.
    virtual void MoveToStart(bool extend);
    virtual void MoveToEnd(bool extend);
    virtual void MoveToLineStart(bool extend);
    virtual void MoveToLineEnd(bool extend);
    virtual void MoveLeft(bool extend);
    virtual void MoveRight(bool extend);
    virtual void MoveUp(bool extend);
    virtual void MoveDown(bool extend);
    virtual void MoveUpBy(bool extend, int distance);
    virtual void MoveDownBy(bool extend, int distance);
    // Mouse, in the flow's twips.
    virtual void OnLButtonDown(int x, int y);
    virtual void OnMouseMove(int x, int y);
    virtual void OnLButtonUp(int x, int y);
    virtual void OnClickItem(int x, int y);
    // The body and the frames refresh the format state from the caret.
    virtual void UpdateCaretFormat(int /*withCharFormat*/) {}
    virtual void DeleteSelection();
    virtual void OnDelete();
    virtual void OnBackspace();
    // Line layout belongs to the body and the frames. `all` 1 lays the whole flow out again,
    // 0 the paragraphs around the caret's edit; `retry` counts the body's own passes after
    // an object moved (callers start at 0). Callers use the named forms below.
    virtual void Relayout(int /*all*/, int /*retry*/) {}
    void RelayoutWhole() { Relayout(1, 0); }
    void RelayoutAroundEdit() { Relayout(0, 0); }
    // The bounds of a partial relayout around a position: from the start of the paragraph
    // two before its paragraph to the end of the paragraph after it.
    virtual int GetReflowStart(const CTextPos& pos) const;
    virtual int GetReflowEnd(const CTextPos& pos) const;
    // The suggestions of the marked word under a point (the flow's twips) go to the sink
    // at positions from `position` on, below 10, each with command id
    // kSpellSuggestionFirstId + position, and into the word's record at that slot.
    // Returns the next position; 0 when no item holds the point or it is not marked. The
    // record goes to *error when asked, for the command that follows.
    virtual int AddSpellingSuggestions(int x, int y, CSpellEngine& engine, const SpellSuggestionSink& sink,
                                       int position, CSpellError** error = nullptr);
    // Before an interactive check selects an error in this flow: the flows of table cells
    // and text shapes make their cell or shape the one being edited.
    virtual void FocusForSpellCheck() {}

    // ---- caret and selection ----
    // The selection is the items from the lower to the higher of caret and anchor.
    bool HasSelection() const;
    // (anchor, caret) or (caret, anchor) in order; (caret, caret + 1) when they are equal.
    void GetSelectionRange(int& start, int& end) const;
    CTextPos GetCaretPos() const { return m_caret; }
    void GetSelectionPositions(CTextPos& caret, CTextPos& anchor) const;
    CTextPos GetPressPos() const { return m_press; }
    CTextPos GetStartPos() const { return CTextPos(0, m_name); }
    CTextPos GetEndPos() const { return CTextPos(GetCount() - 1, m_name); }
    // Positions count in this flow: the index is kept between 0 and the final paragraph
    // end, the name is the flow's.
    void SetCaret(const CTextPos& pos);
    void SetSelection(const CTextPos& caret, const CTextPos& anchor);
    bool IsEmpty() const { return GetCount() == 1; }
    bool IsNotEmpty() const { return !IsEmpty(); }
    bool CanDeleteForward() const;
    bool CanDeleteBackward() const;
    // An item's left and top in page coordinates.
    plat::Point GetItemPagePos(const CTextPos& pos) const;
    // The text position nearest to a point, searched from the caret's line.
    CTextPos PosFromPoint(int x, int y) const;

    // ---- editing ----
    // Replaces the selection by the text in the running format; the caret ends after the
    // text, the anchor stays where it was.
    void InsertItemsAtCaret(plat::StringView text);
    void InsertPageBreak();
    // Ids outside 40001-40017 insert nothing.
    void InsertSymbol(int commandId);

    // ---- search, marks and text blocks ----
    // Searches this flow once the search has reached the flow it began in.
    int FindNext(CFindState& state);
    // Selects the next match from the state's index; a match leaves the index just after
    // it, so matches never overlap and none is skipped.
    int FindInFlow(CFindState& state);
    // Replaces every match from the flow's start with the state's replacement text, on
    // after each replacement so that one holding the searched text is never searched
    // again; the caret and anchor end after the last. True when anything was replaced.
    // The caller lays the flow out afterwards.
    bool ReplaceAllInFlow(CFindState& state);
    plat::String GetSelectedText(CTextScope scope = CTextScope::kAsShown) const;
    // The selection as a clipboard text block, after the reference-pane flag; empty
    // without a selection.
    std::vector<std::uint8_t> CopyTextBlock(bool withObjects);
    // A clipboard text block read whole (the reference-pane flag, then the block),
    // changing nothing; a bad block raises the archive's error.
    struct CClipboardTextBlock {
        std::int32_t fromReference = 0;
        CTextBlock block;
    };
    CClipboardTextBlock ReadClipboardBlock(const std::vector<std::uint8_t>& block, int mode);
    // Replaces the selection by a read block; the reference-pane flag counts a paste
    // from the reference pane.
    void PasteTextBlock(CClipboardTextBlock block);
    // Both: a block that does not read leaves the flow (its selection included) as it was
    // and raises the archive's error.
    void PasteTextBlock(const std::vector<std::uint8_t>& block, int mode);
    // Items from..to-1 lose their spelling marks; to = 0 means to the end.
    void ClearSpellMarks(int from, int to);
    // Items carrying the annotation number lose it.
    void RemoveAnnotationMark(std::int16_t annotation);
    // Changes the case of the Cyrillic letters of the selection (or the whole flow).
    void ConvertCyrillic(int mode, bool wholeFlow);

    // ---- spelling (text_flow_spell.cpp) ----
    // Words are runs of not-deleted Western items a-z, A-Z, the apostrophe and Cyrillic
    // U+0401-U+045F; deleted items neither extend nor end a word.
    // Marks every misspelt word that starts in items from..to-1 (to = 0: to the end) and
    // is ended by another item: a record of the document's list for each, which marks the
    // word's not-deleted items. A word cut by either end of the range is checked whole. A
    // flow outside a document marks nothing.
    void MarkSpelling(CSpellEngine& engine, int from, int to);
    // Feeds the not-deleted characters of items from..to-1 (to = 0: to the end) to the
    // checker run by run (a run ends at a character the run refuses, when it is full, at a
    // paragraph end and at the range's end) and marks the items of each finding, as above.
    void MarkSentenceErrors(CSentenceChecker& checker, int from, int to);
    // The word-by-word check of the whole flow with the word dialog; 0 when the user
    // stopped it, else 1.
    int SpellCheck(CSpellEngine& engine, CSpellCheckUi& ui, plat::Point& dialogPos);
    // The sentence check of the whole flow with the sentence dialog; 0 when the user
    // stopped it, else 1.
    int SpellCheckWith(CSentenceChecker& checker, CSpellCheckUi& ui, plat::Point& dialogPos);
    // Replaces the items of a marked error of this flow by its suggestion in the slot.
    // False, changing nothing, when the record is not of this flow, the slot is empty or
    // the record's items are no longer marked with it.
    bool ReplaceSpellError(const CSpellError& error, int slot);

    // ---- export writers (text_flow_export.cpp) ----
    // The HTML pieces of the body writers, the page objects' wrapped writers and the table
    // cells, each in the 8-bit (code page 936) and the UTF-16 variant. Lengths become
    // screen pixels at zoom 1.0 on the device context.
    // "<div style=...>" of the paragraph with the state's format: alignment, the line
    // height of its tallest character from the item on, indents.
    void HtmlOpenParagraph(plat::Stream& out, const plat::Dc& dc, const CParaFormatHtmlState& para,
                           int firstItem) const;
    void HtmlOpenParagraphW(plat::Stream& out, const plat::Dc& dc, const CParaFormatHtmlState& para,
                            int firstItem) const;
    static void HtmlCloseParagraph(plat::Stream& out);
    static void HtmlCloseParagraphW(plat::Stream& out);
    // The span of the item's format (and "<b>", "<i>", "<u>"), kept as the run state.
    void HtmlOpenRun(plat::Stream& out, const CTextItem& item, CHtmlRunState& run) const;
    void HtmlOpenRunW(plat::Stream& out, const CTextItem& item, CHtmlRunState& run) const;
    // A new run when the item's format differs from the run's.
    void HtmlUpdateRun(plat::Stream& out, const CTextItem& item, CHtmlRunState& run) const;
    void HtmlUpdateRunW(plat::Stream& out, const CTextItem& item, CHtmlRunState& run) const;
    static void HtmlCloseRunW(plat::Stream& out, CHtmlRunState& run);
    static void HtmlWriteChar(plat::Stream& out, const CTextItem& item);
    static void HtmlWriteCharW(plat::Stream& out, const CTextItem& item);
    // An ideographic space when the item is wider than half its height, else a blank.
    static void HtmlWriteSpaceItem(plat::Stream& out, const CTextItem& item);
    static void HtmlWriteSpaceItemW(plat::Stream& out, const CTextItem& item);
    // RTF: with newParagraph the run header of a paragraph (font, colour, size, styles
    // reset), else the format changes for the item and its character.
    void WriteRtfRunFormat(plat::Stream& out, const CRtfFontTable& fonts, const CRtfColorTable& colors,
                           const CTextItem& item, CRtfRunState& run, bool newParagraph) const;
    // A space item, switching the font to the face it is written in when needed.
    static void WriteRtfSpaceItem(plat::Stream& out, const CRtfFontTable& fonts, const CTextItem& item,
                                  CRtfRunState& run);
    // The face and character set an item is written in.
    static void GetRtfFontOfItem(const CTextItem& item, plat::String& face, int& charset);

protected:
    // Where the flow's page coordinates start; flows inside objects add the object's place.
    virtual plat::Point GetPageOrigin() const { return plat::Point(); }
    const CTextItem* CaretItem() const { return GetItem(m_caret.m_index); }
    int ClampIndex(int index) const;
    // Deletes or marks the item by the revision rule; true when it was removed.
    bool DeleteOrMark(int index);
    // Whether another author's edit keeps the item; such an item is marked as deleted by
    // the current author instead.
    bool RemovableOrMark(CTextItem& item);
    // The revision-aware deletion of items start..end-1; returns the index after the last
    // item that stayed (where the caret goes).
    int DeleteRange(int start, int end);
    // The first paragraph end at or after the index takes the format (a paragraph join).
    void GiveParaFormat(int index, const CParaFormat& format);
    void FinishMove(bool extend);
    // Left or right (step -1 or 1) to the nearest item at another place.
    void StepToOtherPlace(bool extend, int step);
    // To the point a quarter into the caret item at a height: the line top of the nearest
    // item on another line up or down (step -1 or 1; step 0: the caret's own line top),
    // moved by the distance.
    void MoveToHeight(bool extend, int step, std::int64_t distance);
    bool IsFocusText() const;

    CTextPos m_caret;
    CTextPos m_anchor;
    CTextPos m_press;
    CCharFormat m_charFormat;
    CParaFormat m_paraFormat;
    plat::Rect m_caretRect; // pixels; empty while hidden
};
