// The model of one table: a grid of at most 60 rows and 20 columns whose slots point at
// cells (a merged cell is pointed at from every slot of its span), and one rule segment for
// every piece of the table's lines. The grid keeps no column widths or row heights: they
// are read back from the cells' rectangles, and every size change walks the cells of a
// column or row (table_layout.cpp). The structural edits - insert, delete, merge, split -
// are in table_structure.cpp.
//
// Ownership: each cell is owned by the grid once, at the bottom-right slot of its span;
// each line segment by its one slot of the line arrays.
#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "document/doc_commands.h"
#include "document/doc_node.h"
#include "objects/table_cell.h"
#include "objects/table_values.h"
#include "platform/base/geometry.h"

class CFindState;
class CFloatObject;
class CFormatState;
class CSentenceChecker;
class CSpellCheckUi;
class CSpellEngine;
class CStatistics;
class CRenderContext;
class CRtfFontTable;
class CRtfColorTable;
namespace plat {
class Dc;
class Stream;
}

constexpr int kMaxTableRows = 60;
constexpr int kMaxTableColumns = 20;
// Around the cells on every side; the totals are the cells' extent + 2 x this.
constexpr int kTableMargin = 105;
constexpr int kDefaultColumnWidth = 900;
constexpr int kDefaultRowHeight = 400;
// The narrowest column and lowest row a split makes (twips).
constexpr int kMinSplitColumnWidth = kMinCellContentWidth + kCellPadding;
constexpr int kMinSplitRowHeight = kDefaultRowHeight;

class CTableGrid : public CDocNode, public CCellFormatTarget {
public:
    // Empty: no rows, no columns, every slot null.
    CTableGrid(CDocContext* doc, CDocNode* parent);
    ~CTableGrid() override;

    CDocContext* GetDoc() const override { return m_doc; }

    // ---- model (table_grid.cpp) ----
    // Deletes every cell and segment; the counts stay.
    void ClearAll();
    // A new grid of rows x columns single-slot cells (1-60 and 1-20; anything else makes
    // nothing), the columns of the given widths (empty: 900 each), 400 high, every segment
    // a default line; then laid out.
    void Create(int rows, int columns, std::span<const int> widths = {});
    int GetRows() const { return m_rows; }
    int GetColumns() const { return m_columns; }
    int GetRowCount() const override { return m_rows; }
    int GetColumnCount() const override { return m_columns; }
    // The cell of a slot; callers stay inside the grid.
    CTableCell* GetCell(int row, int column) const { return m_cells[row][column]; }
    CTableCell* GetCellAt(const CCellPos& pos) const { return GetCell(pos.m_row, pos.m_column); }
    // Segment of row boundary b (0 .. rows) in column c, and of column boundary b
    // (0 .. columns) in row r; null outside the grid.
    CBorderLine* GetHorizontalLine(int boundary, int column) const;
    CBorderLine* GetVerticalLine(int row, int boundary) const;
    // The parent: the table object that shows the grid.
    CFloatObject* GetTableObject() const;
    int GetTotalWidth() const { return m_totalWidth; }
    int GetTotalHeight() const { return m_totalHeight; }

    // The import's table building. Each non-zero byte of `flags` (one a column) merges the
    // cell of that column of the row into its left neighbour. A pair that is not two
    // cells of the same rows side by side is left as it is.
    void MergeRowCells(int row, std::span<const std::uint8_t> flags);
    // Without mergeUp: stores the alignment in the cell's paragraph format and the vertical
    // alignment in the cell, and returns the cell. With it: merges the cell into the cell
    // above of the same columns and returns that one (a cell that has no such neighbour
    // is returned unmerged). Null outside the grid.
    CTableCell* SetCellOrMergeUp(int row, int column, std::uint8_t alignment, std::uint8_t verticalAlign,
                                 bool mergeUp);

    // The grid's record, in every archive mode. Loading into an empty grid checks the
    // record whole (counts, spans, every slot covered once, flags only at bottom-right
    // slots, sizes) and raises the archive's error for anything else, leaving the grid
    // empty.
    void Load(plat::Archive& ar, int mode);
    void Save(plat::Archive& ar, int mode);
    void PrepareItems();
    // Every cell laid out at its bottom-right slot; then the table object takes the totals.
    void RelayoutForObject();

    // ---- the format commands on the current cell or the selected range ----
    void SetCharFormat(int fieldId, const CCharFormat& values) override;
    void SetAlignment(std::uint8_t alignment) override { SetParagraphAlign(alignment); }
    void SetParagraphAlign(std::uint8_t alignment);
    void SetLineSpacing(std::uint8_t spacing) override;
    plat::Size GetTotalSize() const override { return plat::Size(m_totalWidth, m_totalHeight); }
    // The current cell's text becomes the focus text.
    void ActivateCurrentCell();
    // After an edit of a cell's text: the focus text when it is one of this grid's cells,
    // else the current cell, laid out again (its column and row may grow).
    void RelayoutEditedCell();

    // ---- layout and painting (table_layout.cpp) ----
    // The selected rectangle, widened by the two corner cells' spans.
    void GetSelRange(CCellPos& topLeft, CCellPos& bottomRight) const;
    std::vector<int> GetColumnWidths() const;
    std::vector<int> GetRowHeights() const;
    void UpdateTotalSize();
    void SetVisitedAll(int value);
    // Ends exclusive.
    void SetVisitedRange(int value, int firstRow, int firstColumn, int rowEnd, int columnEnd);
    // Lays the cell's text out and grows its column and row to fit it (force: the row
    // also shrinks to it).
    void RelayoutCell(int row, int column, int force);
    void RelayoutCellAt(const CCellPos& pos) { RelayoutCell(pos.m_row, pos.m_column, 0); }
    void RelayoutAll(int force);
    void ResizeColumn(int oldWidth, int newWidth, int column);
    void ResizeRow(int oldHeight, int newHeight, int row);
    // Boundary b lies between grid row (column) b - 1 and b, 1 <= b <= rows (columns).
    // Fit only grows the row above to its text; Move puts the boundary at y (x) as far as
    // the text of the row (column) before it allows.
    void FitRowBoundary(int y, int boundary);
    void MoveRowBoundary(int y, int boundary);
    void MoveColumnBoundary(int x, int boundary);
    // Cells and rules, with (x, y) the pixel position of the table's corner.
    void Draw(plat::Dc& dc, double zoom, int x, int y, CRenderContext& rc, int pass = 1);
    void DrawBorderLine(plat::Dc& dc, double zoom, const CBorderLine* segment, plat::Point from, plat::Point to, int x,
                        int y, CRenderContext& rc);

    // ---- caret, selection and the whole-grid walks (table_edit.cpp) ----
    // Zones of a point in table-local twips.
    enum TableZone : std::uint8_t {
        kZoneNone = 0,
        kZoneLeftMargin = '1',
        kZoneRightMargin = '2',
        kZoneTopMargin = '3',
        kZoneBottomMargin = '4',
        kZoneRowBoundary = '5',
        kZoneColumnBoundary = '6',
        kZoneCell = '7',
    };
    // Tab and Shift+Tab.
    void MoveToNextCell(bool backward);
    // Ctrl+Home, Ctrl+End, Home, End: the range collapses onto the current cell, whose text
    // makes the move.
    void MoveToCellStart(bool extend);
    void MoveToCellEnd(bool extend);
    void MoveToLineStart(bool extend);
    void MoveToLineEnd(bool extend);
    // The arrows: inside the current cell's text while it can move, else to the next cell;
    // extend (Shift) selects a range of cells.
    void MoveLeft(bool extend);
    void MoveRight(bool extend);
    void MoveUp(bool extend);
    void MoveDown(bool extend);
    std::uint8_t GetZone(int x, int y) const;
    // The press returns its zone, which the caller keeps in the format state for the drag.
    std::uint8_t OnLButtonDown(int x, int y);
    void OnMouseMove(int x, int y);
    void OnLButtonUp(int x, int y);
    CTextItem* TextItemAtPoint(int x, int y) const;
    // The suggestions for the marked word of the cell under the point, as its text gives
    // them; 0 outside the cells.
    int AddSpellingSuggestions(int x, int y, CSpellEngine& engine, const SpellSuggestionSink& sink, int position,
                               CSpellError** error);
    // The cell becomes the current cell and the range end, and its text the focus text.
    void SelectCell(CTableCell& cell);
    // Whether a range of cells (more than one slot) is selected.
    bool HasCellRange() const override { return HasRange(); }
    void SetVerticalAlign(std::uint8_t code) override;
    // Calls `visit` for every cell once, at its top-left slot, in row order.
    template <class Visit>
    void ForEachCell(Visit visit) const
    {
        for (int r = 0; r < m_rows; ++r)
            for (int c = 0; c < m_columns; ++c) {
                CTableCell* cell = m_cells[r][c];
                if (cell->m_startRow == r && cell->m_startCol == c) visit(*cell);
            }
    }
    void CountStatistics(CStatistics& stats) const;
    bool HasText() const;
    bool FindNext(CFindState& state);
    // The interactive word and sentence checks: every cell's text in turn, each checked
    // whole by its text flow. A cell where the user stops the check becomes the current
    // cell and 0 is returned; 1 when every cell ran to its end.
    int SpellCheck(CSpellEngine& engine, CSpellCheckUi& ui, plat::Point& dialogPos);
    int SpellCheckWith(CSentenceChecker& checker, CSpellCheckUi& ui, plat::Point& dialogPos);
    void ClearSpellMarks(int from, int to);
    void MarkSpelling(CSpellEngine& engine, int from, int to);
    void MarkSentenceErrors(CSentenceChecker& checker, int from, int to);
    void RemoveAnnotationMark(std::int16_t annotation);
    // The cells of the selected range (or the current cell), each over its whole text.
    void ConvertCyrillic(int mode);
    // Every cell of the selected range clears its text under the revision rules.
    void DeleteCells();
    // The cell block of the clipboard: kind (1 cells, 2 whole rows, 3 whole columns),
    // rows, columns, then one text record per slot of the selected rectangle, row by row.
    std::vector<std::uint8_t> CopyCellBlock() const;
    // Reads a block whole; false (changing nothing) for a kind other than 1-3, counts
    // beyond the grid's limits or an unreadable record.
    static bool IsCellBlockValid(CDocContext* doc, const std::vector<std::uint8_t>& block);
    // Pastes a valid block by its kind at the current cell; false when it was refused.
    bool PasteCellBlock(const std::vector<std::uint8_t>& block);
    // The block's records at the current cell: each slot inside the grid takes its record
    // as its new text; records beyond the grid are read and dropped.
    void PasteCellBlock(plat::Archive& ar, int rows, int columns);
    void PasteRows(plat::Archive& ar, int rows, int columns);
    void PasteColumns(plat::Archive& ar, int rows, int columns);

    // ---- rows, columns, merging and splitting (table_structure.cpp) ----
    // Below the current row / after the current column; the callers keep within 60 x 20.
    void InsertRow() override;
    void InsertColumn() override;
    // The current row / column; the callers keep the table from shrinking to one cell.
    void DeleteRow() override;
    void DeleteColumn() override;
    bool CanMerge() const override;
    void MergeCells() override;
    bool CanSplit() const override;
    // The part counts offered for one axis of a split: 1 .. limit for a span of 1, else
    // the divisors of the span.
    static std::vector<int> GetSplitChoices(int span, int limit);
    // The split choices of the current cell along its rows (columns) in this grid.
    std::vector<int> GetSplitChoicesOf(const CTableCell& cell, bool rows) const;
    // Splits the current cell into rowParts x columnParts; false, changing nothing, for
    // counts the split choices do not offer or 1 x 1.
    bool SplitCurrentCell(int rowParts, int columnParts) override;
    // The split dialog over the current cell's choices (table_borders.cpp); false when it
    // was cancelled or chose 1 x 1.
    bool AskSplitParts(int& rowParts, int& columnParts) override;

    // ---- the border dialog on the current cell or the range (table_borders.cpp) ----
    // The six lines: a range's edges and first inner lines with their flags; one cell's
    // edges without inner lines (both flags 0).
    CBorderSet GetBorderSet() const;
    // Writes every segment of each edge; inside a range every inner segment, by the flags.
    void SetBorderSet(const CBorderSet& set);
    // Runs the dialog; on OK with a change, takes an undo step, writes the lines back,
    // repaints and returns true.
    bool BordersDialog() override;
    // Every empty segment slot inside the grid gets a default line.
    void EnsureBorderLines();
    // Drops grid columns and rows that no cell boundary uses.
    void Normalize();

    // ---- HTML and RTF writers (table_export.cpp) ----
    // The table as an HTML table element, 8-bit (code page 936) or UTF-16; returns 1.
    int WriteHtml(plat::Stream& out);
    int WriteHtmlW(plat::Stream& out);
    // The table as RTF rows with the export's font and colour tables; returns 1.
    int WriteRtf(plat::Stream& out, const CRtfFontTable& fonts, const CRtfColorTable& colors);
    // Every cell's faces and colours, each cell once, into the export's tables.
    void CollectRtfFonts(plat::Stream& out, CRtfFontTable& fonts);
    void CollectRtfColors(plat::Stream& out, CRtfColorTable& colors);

private:
    using SlotArray = std::array<std::array<CTableCell*, kMaxTableColumns>, kMaxTableRows>;
    using LineArray =
        std::array<std::array<std::unique_ptr<CBorderLine>, kMaxTableColumns + 1>, kMaxTableRows + 1>;

    CFormatState* GetFormatState() const;
    // The rows and columns the border dialog edits: the current cell's span, or the
    // selected rectangle.
    struct BorderFrame {
        int top = 0, left = 0, bottom = 0, right = 0;
        bool single = false;
    };
    BorderFrame GetBorderFrame() const;
    // The format state's current slot and range end, kept inside the grid.
    CCellPos CurrentSlot() const;
    void SetCurrentSlot(const CCellPos& current, const CCellPos& rangeEnd);
    bool HasRange() const;
    // Calls `apply` for the current cell, or for every cell of the selected range once.
    template <class Apply>
    void ForSelectedCells(Apply apply);
    // Points every slot of the cell's span at it.
    void PlaceCell(CTableCell* cell);
    // Ctrl+Home, Ctrl+End, Home and End: the range collapses and the cell's text moves.
    void MoveInCell(void (CTextFlow::*move)(bool), bool extend);
    // The arrows' common steps.
    enum class Direction { kLeft, kRight, kUp, kDown };
    void Move(Direction direction, bool extend);
    CCellPos StepFrom(const CCellPos& slot, Direction direction) const;
    // The single-row (single-column) cells' boundary within 60 twips of y (x); 0 for none.
    int BoundaryNear(bool rows, int at) const;
    int RowBoundaryNear(int y) const;
    int ColumnBoundaryNear(int x) const;
    // The grid row (column) under y (x), clamped into the grid.
    int RowAt(int y) const;
    int ColumnAt(int x) const;
    void ClearFocus();
    // Runs `check` on every cell once, in row order, until one returns 0; that cell is
    // selected.
    template <class Check>
    int CheckEachCell(Check check);
    void CellDrag(int x, int y);
    // The selected rectangle's corners as the format state names them (not widened).
    CTableCell* CellUnder(int x, int y) const;
    // The cell under a point of the cell area; null in the margins and outside.
    CTableCell* CellInArea(int x, int y) const;

    // Shared by Fit and Move: shrink only when asked.
    void ShiftRowBoundary(int y, int boundary, bool mayShrink);

    // The line-by-line operations, the same along the rows and along the columns
    // (table_axis.h).
    struct Axis;
    friend struct Axis;
    void ResizeLine(Axis& axis, int oldSize, int newSize, int line);
    void InsertLine(Axis& axis);
    void DeleteLine(Axis& axis);
    // Every cell whose last line is `first` or later, at its bottom-right slot.
    void RelayoutLinesFrom(Axis& axis, int first);
    // Lines first .. last become one: every cell spans them together.
    void CollapseLines(Axis& axis, int first, int last);
    // The split's lines added after `after` for the split cell q: cells beyond move by
    // `growth`, cells across grow by it; the slots of the new lines in q's own lines point
    // at q until the parts are placed.
    void InsertSplitLines(Axis& axis, CTableCell* q, int after, int count, int growth);

    CDocContext* m_doc; // not owned
    std::int32_t m_rows = 0;
    std::int32_t m_columns = 0;
    SlotArray m_cells{};
    LineArray m_horizontalLines; // [row boundary][column]
    LineArray m_verticalLines;   // [row][column boundary]
    std::int32_t m_totalWidth = 0;
    std::int32_t m_totalHeight = 0;
};
