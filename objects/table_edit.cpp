// Editing a table: the caret moving through cells and the keys that select a range of
// cells, the mouse zones, presses and drags, the walks over every cell for search,
// spelling, statistics and conversion, and the clipboard's cell blocks.
//
// Two positions of the format state carry the editing mode: the current cell (the caret's
// cell, or the moving corner of a range) and the range end (the other corner). While they
// differ a range is selected and no cell's text has the focus, so no caret is shown.
#include <algorithm>
#include <cstdlib>

#include "document/format_state.h"
#include "document/statistics.h"
#include "document/text_item.h"
#include "objects/table_grid.h"
#include "platform/file/archive.h"
#include "platform/file/file.h"

namespace {

// A boundary is grabbed within this distance of it (exclusive, twips).
constexpr int kBoundaryGrab = 60;

// The cell block's kinds.
enum : std::uint8_t { kBlockCells = 1, kBlockRows = 2, kBlockColumns = 3 };

} // namespace

// ---- focus and the current cell ----

void CTableGrid::ClearFocus()
{
    if (CFormatState* fs = GetFormatState()) fs->SetFocusObject(nullptr);
}

void CTableGrid::SelectCell(CTableCell& cell)
{
    const CCellPos slot(cell.m_startRow, cell.m_startCol);
    SetCurrentSlot(slot, slot);
    ActivateCurrentCell();
}

void CTableGrid::SetVerticalAlign(std::uint8_t code)
{
    if (m_rows == 0) return;
    // A merged block changes once, through its top-left cell.
    CCellPos topLeft, bottomRight;
    if (HasRange()) GetSelRange(topLeft, bottomRight);
    else topLeft = bottomRight = CurrentSlot();
    for (int r = topLeft.m_row; r <= bottomRight.m_row; ++r)
        for (int c = topLeft.m_column; c <= bottomRight.m_column; ++c) {
            CTableCell* cell = m_cells[r][c];
            if (!HasRange()) cell = GetCellAt(CurrentSlot());
            else if (cell->m_startRow != r || cell->m_startCol != c) continue;
            cell->m_verticalAlign = code;
            cell->SetPosition(cell->m_x, cell->m_y);
        }
    if (CFormatState* fs = GetFormatState()) fs->m_verticalAlign = code;
}

// ---- keys ----

void CTableGrid::MoveToNextCell(bool backward)
{
    if (m_rows == 0) return;
    const CCellPos current = CurrentSlot();
    const CTableCell* q = GetCellAt(current);
    CCellPos target(current.m_row, backward ? q->m_startCol - 1 : q->m_endCol + 1);
    if (!backward && target.m_column >= m_columns) target = CCellPos(current.m_row + 1, 0);
    if (!backward && target.m_row >= m_rows) target = CCellPos(m_rows - 1, m_columns - 1);
    if (backward && target.m_column < 0) target = CCellPos(current.m_row - 1, m_columns - 1);
    if (backward && target.m_row < 0) target = CCellPos(0, 0);
    SetCurrentSlot(target, target);
    CTableCell* cell = GetCellAt(target);
    cell->SetCaret(cell->GetStartPos());
    ActivateCurrentCell();
}

void CTableGrid::MoveInCell(void (CTextFlow::*move)(bool), bool extend)
{
    if (m_rows == 0) return;
    const CCellPos current = CurrentSlot();
    SetCurrentSlot(current, current);
    (GetCellAt(current)->*move)(extend);
    ActivateCurrentCell();
}

void CTableGrid::MoveToCellStart(bool extend)
{
    MoveInCell(&CTextFlow::MoveToStart, extend);
}
void CTableGrid::MoveToCellEnd(bool extend)
{
    MoveInCell(&CTextFlow::MoveToEnd, extend);
}
void CTableGrid::MoveToLineStart(bool extend)
{
    MoveInCell(&CTextFlow::MoveToLineStart, extend);
}
void CTableGrid::MoveToLineEnd(bool extend)
{
    MoveInCell(&CTextFlow::MoveToLineEnd, extend);
}

void CTableGrid::MoveLeft(bool extend)
{
    Move(Direction::kLeft, extend);
}
void CTableGrid::MoveRight(bool extend)
{
    Move(Direction::kRight, extend);
}
void CTableGrid::MoveUp(bool extend)
{
    Move(Direction::kUp, extend);
}
void CTableGrid::MoveDown(bool extend)
{
    Move(Direction::kDown, extend);
}

CCellPos CTableGrid::StepFrom(const CCellPos& slot, Direction direction) const
{
    const CTableCell* q = GetCellAt(slot);
    const int r = slot.m_row, c = slot.m_column;
    switch (direction) {
    case Direction::kLeft:
        if (q->m_startCol > 0) return CCellPos(r, q->m_startCol - 1);
        return r > 0 ? CCellPos(r - 1, m_columns - 1) : CCellPos(0, 0);
    case Direction::kRight:
        if (q->m_endCol + 1 < m_columns) return CCellPos(r, q->m_endCol + 1);
        return r + 1 < m_rows ? CCellPos(r + 1, 0) : CCellPos(m_rows - 1, m_columns - 1);
    case Direction::kUp:
        if (q->m_startRow > 0) return CCellPos(q->m_startRow - 1, c);
        return c > 0 ? CCellPos(m_rows - 1, c - 1) : CCellPos(0, 0);
    case Direction::kDown:
        if (q->m_endRow + 1 < m_rows) return CCellPos(q->m_endRow + 1, c);
        return c + 1 < m_columns ? CCellPos(0, c + 1) : CCellPos(m_rows - 1, m_columns - 1);
    }
    return slot;
}

void CTableGrid::Move(Direction direction, bool extend)
{
    if (m_rows == 0) return;
    const bool backward = direction == Direction::kLeft || direction == Direction::kUp;
    const CCellPos current = CurrentSlot();
    CTableCell* cell = GetCellAt(current);
    // Where the caret lands in a cell it enters: the end going back, the start going on.
    auto enter = [&](CTableCell& target) { target.SetCaret(backward ? target.GetEndPos() : target.GetStartPos()); };
    // A step to another cell: with Shift the range grows from the anchor (no caret while it
    // covers more than one cell); without, the caret enters the target cell alone.
    auto stepTo = [&](const CCellPos& target, const CCellPos& anchor) {
        if (extend) {
            SetCurrentSlot(target, anchor);
            if (HasRange()) ClearFocus();
            else ActivateCurrentCell();
            return;
        }
        SetCurrentSlot(target, target);
        enter(*GetCellAt(target));
        ActivateCurrentCell();
    };

    if (!HasRange()) {
        const bool inside = direction == Direction::kLeft    ? cell->CanMoveLeft()
                            : direction == Direction::kRight ? cell->CanMoveRight()
                            : direction == Direction::kUp    ? cell->CanMoveUp()
                                                             : cell->CanMoveDown();
        if (inside) {
            switch (direction) {
            case Direction::kLeft: cell->CTextFlow::MoveLeft(extend); break;
            case Direction::kRight: cell->CTextFlow::MoveRight(extend); break;
            case Direction::kUp: cell->CTextFlow::MoveUp(extend); break;
            case Direction::kDown: cell->CTextFlow::MoveDown(extend); break;
            }
            ActivateCurrentCell();
            return;
        }
        stepTo(StepFrom(current, direction), current);
        return;
    }

    const CFormatState* fs = GetFormatState();
    const CCellPos rangeEnd = fs ? fs->m_rangeEndCell : current;
    const CCellPos target = StepFrom(current, direction);
    if (target == rangeEnd || GetCellAt(target) == GetCellAt(rangeEnd)) {
        // The range shrinks back onto its anchor cell.
        SetCurrentSlot(rangeEnd, rangeEnd);
        CTableCell& anchor = *GetCellAt(rangeEnd);
        if (extend) anchor.SetSelection(backward ? anchor.GetEndPos() : anchor.GetStartPos(), anchor.GetCaretPos());
        else enter(anchor);
        ActivateCurrentCell();
        return;
    }
    stepTo(target, rangeEnd);
}

// ---- mouse ----

namespace {

// The grid line (row or column) that holds a position, by the lines' sizes from the
// table's margin; the last line past the end, the first before the start.
int LineAt(const std::vector<int>& sizes, int at)
{
    int end = kTableMargin;
    for (size_t k = 0; k < sizes.size(); ++k) {
        end += sizes[k];
        if (at < end) return static_cast<int>(k);
    }
    return std::max(static_cast<int>(sizes.size()) - 1, 0);
}

} // namespace

int CTableGrid::BoundaryNear(bool rows, int at) const
{
    // Boundary b can be dragged where some cell lies in line b - 1 alone.
    for (int r = 0; r < m_rows; ++r)
        for (int c = 0; c < m_columns; ++c) {
            const CTableCell* q = m_cells[r][c];
            const int line = rows ? r : c;
            const int first = rows ? q->m_startRow : q->m_startCol;
            const int last = rows ? q->m_endRow : q->m_endCol;
            const int edge = rows ? q->m_y + q->m_cellHeight : q->m_x + q->m_cellWidth;
            if (first == line && last == line && std::abs(at - edge) < kBoundaryGrab) return line + 1;
        }
    return 0;
}

int CTableGrid::RowBoundaryNear(int y) const
{
    return BoundaryNear(true, y);
}

int CTableGrid::ColumnBoundaryNear(int x) const
{
    return BoundaryNear(false, x);
}

int CTableGrid::RowAt(int y) const
{
    return LineAt(GetRowHeights(), y);
}

int CTableGrid::ColumnAt(int x) const
{
    return LineAt(GetColumnWidths(), x);
}

std::uint8_t CTableGrid::GetZone(int x, int y) const
{
    if (m_rows == 0) return kZoneNone;
    const int w = m_totalWidth, h = m_totalHeight;
    if (x >= kTableMargin && x <= w - kTableMargin && y >= kTableMargin && y <= h - kTableMargin) {
        if (RowBoundaryNear(y)) return kZoneRowBoundary;
        if (ColumnBoundaryNear(x)) return kZoneColumnBoundary;
        return kZoneCell;
    }
    const bool besideRows = y > kTableMargin && y < h - kTableMargin;
    const bool besideColumns = x > kTableMargin && x < w - kTableMargin;
    if (x < kTableMargin && besideRows) return kZoneLeftMargin;
    if (x > w - kTableMargin && besideRows) return kZoneRightMargin;
    if (y < kTableMargin && besideColumns) return kZoneTopMargin;
    if (y > h - kTableMargin && besideColumns) return kZoneBottomMargin;
    return kZoneNone;
}

CTableCell* CTableGrid::CellUnder(int x, int y) const
{
    if (m_rows == 0) return nullptr;
    return m_cells[RowAt(y)][ColumnAt(x)];
}

std::uint8_t CTableGrid::OnLButtonDown(int x, int y)
{
    const std::uint8_t zone = GetZone(x, y);
    CFormatState* fs = GetFormatState();
    switch (zone) {
    case kZoneRowBoundary:
        if (fs) fs->m_dragBoundary = RowBoundaryNear(y);
        break;
    case kZoneColumnBoundary:
        if (fs) fs->m_dragBoundary = ColumnBoundaryNear(x);
        break;
    case kZoneCell: {
        const CCellPos slot(RowAt(y), ColumnAt(x));
        SetCurrentSlot(slot, slot);
        CTableCell* cell = GetCellAt(slot);
        cell->OnLButtonDown(x - cell->m_textX, y - cell->m_textY);
        ActivateCurrentCell();
        break;
    }
    case kZoneLeftMargin:
    case kZoneRightMargin: {
        const int row = RowAt(y);
        const bool left = zone == kZoneLeftMargin;
        SetCurrentSlot(CCellPos(row, left ? 0 : m_columns - 1), CCellPos(row, left ? m_columns - 1 : 0));
        if (HasRange()) ClearFocus();
        else ActivateCurrentCell();
        break;
    }
    case kZoneTopMargin:
    case kZoneBottomMargin: {
        const int column = ColumnAt(x);
        const bool top = zone == kZoneTopMargin;
        SetCurrentSlot(CCellPos(top ? 0 : m_rows - 1, column), CCellPos(top ? m_rows - 1 : 0, column));
        if (HasRange()) ClearFocus();
        else ActivateCurrentCell();
        break;
    }
    default: break;
    }
    return zone;
}

void CTableGrid::CellDrag(int x, int y)
{
    CFormatState* fs = GetFormatState();
    if (!fs) return;
    const CCellPos slot(RowAt(y), ColumnAt(x));
    const CCellPos anchorSlot = fs->m_rangeEndCell;
    CTableCell* q = GetCellAt(slot);
    CTableCell* anchor = GetCellAt(anchorSlot);
    if (q != anchor) {
        SetCurrentSlot(slot, anchorSlot);
        ClearFocus();
        return;
    }
    SetCurrentSlot(anchorSlot, anchorSlot);
    q->OnMouseMove(x - q->m_textX, y - q->m_textY);
    ActivateCurrentCell();
}

void CTableGrid::OnMouseMove(int x, int y)
{
    CFormatState* fs = GetFormatState();
    if (!fs || m_rows == 0) return;
    switch (fs->m_tableZone) {
    case kZoneLeftMargin:
    case kZoneRightMargin:
        SetCurrentSlot(CCellPos(RowAt(y), fs->m_currentCell.m_column), fs->m_rangeEndCell);
        break;
    case kZoneTopMargin:
    case kZoneBottomMargin:
        SetCurrentSlot(CCellPos(fs->m_currentCell.m_row, ColumnAt(x)), fs->m_rangeEndCell);
        break;
    case kZoneCell: CellDrag(x, y); break;
    default: break;
    }
}

void CTableGrid::OnLButtonUp(int x, int y)
{
    CFormatState* fs = GetFormatState();
    if (!fs || m_rows == 0) return;
    switch (fs->m_tableZone) {
    case kZoneRowBoundary: MoveRowBoundary(y, fs->m_dragBoundary); break;
    case kZoneColumnBoundary: MoveColumnBoundary(x, fs->m_dragBoundary); break;
    case kZoneCell: CellDrag(x, y); break;
    default: break;
    }
}

CTableCell* CTableGrid::CellInArea(int x, int y) const
{
    if (m_rows == 0 || x < kTableMargin || y < kTableMargin || x >= m_totalWidth - kTableMargin ||
        y >= m_totalHeight - kTableMargin)
        return nullptr;
    return CellUnder(x, y);
}

CTextItem* CTableGrid::TextItemAtPoint(int x, int y) const
{
    const CTableCell* cell = CellInArea(x, y);
    return cell ? cell->ItemAtPoint(x - cell->m_textX, y - cell->m_textY) : nullptr;
}

int CTableGrid::AddSpellingSuggestions(int x, int y, CSpellEngine& engine, const SpellSuggestionSink& sink,
                                       int position, CSpellError** error)
{
    CTableCell* cell = CellInArea(x, y);
    return cell ? cell->AddSpellingSuggestions(x - cell->m_textX, y - cell->m_textY, engine, sink, position, error)
                : 0;
}

// ---- walks over every cell ----

void CTableGrid::CountStatistics(CStatistics& stats) const
{
    ForEachCell([&](CTableCell& cell) { cell.CountStatistics(stats, 0, cell.GetCount()); });
}

bool CTableGrid::HasText() const
{
    bool any = false;
    ForEachCell([&](CTableCell& cell) { any = any || !cell.IsEmpty(); });
    return any;
}

bool CTableGrid::FindNext(CFindState& state)
{
    for (int r = 0; r < m_rows; ++r)
        for (int c = 0; c < m_columns; ++c) {
            CTableCell* cell = m_cells[r][c];
            if (cell->m_startRow != r || cell->m_startCol != c) continue;
            if (cell->CTextFrameObj::FindNext(state)) {
                SelectCell(*cell);
                return true;
            }
        }
    return false;
}

template <class Check>
int CTableGrid::CheckEachCell(Check check)
{
    for (int r = 0; r < m_rows; ++r)
        for (int c = 0; c < m_columns; ++c) {
            CTableCell* cell = m_cells[r][c];
            if (cell->m_startRow != r || cell->m_startCol != c) continue;
            if (!check(*cell)) {
                SelectCell(*cell);
                return 0;
            }
        }
    return 1;
}

int CTableGrid::SpellCheck(CSpellEngine& engine, CSpellCheckUi& ui, plat::Point& dialogPos)
{
    return CheckEachCell([&](CTableCell& cell) { return cell.SpellCheck(engine, ui, dialogPos); });
}

int CTableGrid::SpellCheckWith(CSentenceChecker& checker, CSpellCheckUi& ui, plat::Point& dialogPos)
{
    return CheckEachCell([&](CTableCell& cell) { return cell.SpellCheckWith(checker, ui, dialogPos); });
}

void CTableGrid::ClearSpellMarks(int from, int to)
{
    ForEachCell([&](CTableCell& cell) { cell.ClearSpellMarks(from, to); });
}

void CTableGrid::MarkSpelling(CSpellEngine& engine, int from, int to)
{
    ForEachCell([&](CTableCell& cell) { cell.MarkSpelling(engine, from, to); });
}

void CTableGrid::MarkSentenceErrors(CSentenceChecker& checker, int from, int to)
{
    ForEachCell([&](CTableCell& cell) { cell.MarkSentenceErrors(checker, from, to); });
}

void CTableGrid::RemoveAnnotationMark(std::int16_t annotation)
{
    ForEachCell([&](CTableCell& cell) { cell.RemoveAnnotationMark(annotation); });
}

void CTableGrid::ConvertCyrillic(int mode)
{
    if (m_rows == 0) return;
    CCellPos topLeft, bottomRight;
    GetSelRange(topLeft, bottomRight);
    for (int r = topLeft.m_row; r <= bottomRight.m_row; ++r)
        for (int c = topLeft.m_column; c <= bottomRight.m_column; ++c) {
            CTableCell* cell = m_cells[r][c];
            if (cell->m_startRow == r && cell->m_startCol == c) cell->ConvertCyrillic(mode, true);
        }
    RelayoutAll(0);
}

void CTableGrid::DeleteCells()
{
    if (m_rows == 0) return;
    CCellPos topLeft, bottomRight;
    GetSelRange(topLeft, bottomRight);
    for (int r = topLeft.m_row; r <= bottomRight.m_row; ++r)
        for (int c = topLeft.m_column; c <= bottomRight.m_column; ++c) {
            CTableCell* cell = m_cells[r][c];
            if (cell->m_startRow == r && cell->m_startCol == c) cell->ClearText();
        }
    RelayoutAll(0);
}

// ---- the clipboard's cell blocks ----

std::vector<std::uint8_t> CTableGrid::CopyCellBlock() const
{
    if (m_rows == 0) return {};
    CCellPos topLeft, bottomRight;
    GetSelRange(topLeft, bottomRight);
    const int rows = bottomRight.m_row - topLeft.m_row + 1;
    const int columns = bottomRight.m_column - topLeft.m_column + 1;
    const std::uint8_t kind = rows == m_rows ? kBlockColumns : columns == m_columns ? kBlockRows : kBlockCells;
    plat::MemFile mem;
    {
        plat::Archive ar(mem, plat::Archive::kStore);
        ar.WriteU8(kind);
        ar.WriteI32(rows);
        ar.WriteI32(columns);
        // A merged cell is written for every slot of the rectangle it covers.
        for (int r = topLeft.m_row; r <= bottomRight.m_row; ++r)
            for (int c = topLeft.m_column; c <= bottomRight.m_column; ++c)
                m_cells[r][c]->CTextFrameObj::Save(ar, kArchiveClipboard);
        ar.Close();
    }
    return mem.Detach();
}

namespace {

struct BlockHead {
    std::uint8_t kind = 0;
    std::int32_t rows = 0;
    std::int32_t columns = 0;
};

// The head of a block, checked: kind 1-3, rows 1-60, columns 1-20.
bool ReadBlockHead(plat::Archive& ar, BlockHead& head)
{
    head.kind = ar.ReadU8();
    head.rows = ar.ReadI32();
    head.columns = ar.ReadI32();
    return head.kind >= kBlockCells && head.kind <= kBlockColumns && head.rows >= 1 && head.rows <= kMaxTableRows &&
           head.columns >= 1 && head.columns <= kMaxTableColumns;
}

} // namespace

bool CTableGrid::IsCellBlockValid(CDocContext* doc, const std::vector<std::uint8_t>& block)
{
    try {
        plat::MemFile mem(block);
        plat::Archive ar(mem, plat::Archive::kLoad);
        BlockHead head;
        if (!ReadBlockHead(ar, head)) return false;
        CTableCell scratch(doc, nullptr);
        for (int k = 0; k < head.rows * head.columns; ++k) {
            scratch.RemoveAll();
            scratch.CTextFrameObj::Load(ar, kArchiveClipboard);
        }
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

bool CTableGrid::PasteCellBlock(const std::vector<std::uint8_t>& block)
{
    if (m_rows == 0 || !IsCellBlockValid(m_doc, block)) return false;
    // The block was read whole above, so reading it again cannot fail half way.
    plat::MemFile mem(block);
    plat::Archive ar(mem, plat::Archive::kLoad);
    BlockHead head;
    ReadBlockHead(ar, head);
    switch (head.kind) {
    case kBlockCells: PasteCellBlock(ar, head.rows, head.columns); break;
    case kBlockRows: PasteRows(ar, head.rows, head.columns); break;
    case kBlockColumns: PasteColumns(ar, head.rows, head.columns); break;
    default: break;
    }
    return true;
}

void CTableGrid::PasteCellBlock(plat::Archive& ar, int rows, int columns)
{
    const CCellPos origin = CurrentSlot();
    CTableCell scratch(m_doc, nullptr);
    for (int i = 0; i < rows; ++i)
        for (int j = 0; j < columns; ++j) {
            const int r = origin.m_row + i, c = origin.m_column + j;
            CTableCell* cell = r < m_rows && c < m_columns ? m_cells[r][c] : &scratch;
            cell->RemoveAll();
            cell->CTextFrameObj::Load(ar, kArchiveClipboard);
            if (cell != &scratch) cell->Relayout(1, 0);
        }
    RelayoutAll(0);
}

void CTableGrid::PasteRows(plat::Archive& ar, int rows, int columns)
{
    if (m_rows + 1 >= kMaxTableRows) return;
    const CCellPos origin = CurrentSlot();
    int inserted = 0;
    for (; inserted < rows && m_rows + 1 < kMaxTableRows; ++inserted) InsertRow();
    SetCurrentSlot(CCellPos(origin.m_row + 1, 0), CCellPos(origin.m_row + 1, 0));
    PasteCellBlock(ar, rows, columns);
    SetCurrentSlot(CCellPos(origin.m_row + 1, 0), CCellPos(origin.m_row + inserted, m_columns - 1));
    ClearFocus();
}

void CTableGrid::PasteColumns(plat::Archive& ar, int rows, int columns)
{
    if (m_columns + 1 >= kMaxTableColumns) return;
    const CCellPos origin = CurrentSlot();
    int inserted = 0;
    for (; inserted < columns && m_columns + 1 < kMaxTableColumns; ++inserted) InsertColumn();
    SetCurrentSlot(CCellPos(0, origin.m_column + 1), CCellPos(0, origin.m_column + 1));
    PasteCellBlock(ar, rows, columns);
    SetCurrentSlot(CCellPos(0, origin.m_column + 1), CCellPos(m_rows - 1, origin.m_column + inserted));
    ClearFocus();
}
