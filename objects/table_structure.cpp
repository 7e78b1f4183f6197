// Edits of the table's structure from the current cell and the selected range: insert a
// row below or a column to the right, delete a row or a column, merge the selected
// rectangle, split the current cell. Each leaves every slot covered by one rectangular
// cell and no grid line that no cell boundary uses.
#include <algorithm>

#include "document/format_state.h"
#include "objects/table_axis.h"

namespace {

std::unique_ptr<CBorderLine> CopyLine(const std::unique_ptr<CBorderLine>& line)
{
    return std::make_unique<CBorderLine>(line ? *line : CBorderLine());
}

int Sum(const std::vector<int>& v, int from, int to)
{
    int s = 0;
    for (int i = from; i < to; ++i) s += v[static_cast<size_t>(i)];
    return s;
}

} // namespace

// ---- insert ----

void CTableGrid::InsertRow()
{
    Axis axis(*this, true);
    InsertLine(axis);
}

void CTableGrid::InsertColumn()
{
    Axis axis(*this, false);
    InsertLine(axis);
}

void CTableGrid::InsertLine(Axis& axis)
{
    const int count = axis.Count();
    const int capacity = axis.rows ? kMaxTableRows : kMaxTableColumns;
    if (count == 0 || count >= capacity) return;
    const int r0 = axis.CurrentLine();
    const std::vector<int> across = axis.Other().Sizes();
    // The new line starts at the far edge of line r0: where a cell ending there ends, or,
    // when every cell of the line reaches further, where the line sizes put it.
    int top = kTableMargin + Sum(axis.Sizes(), 0, r0 + 1);
    for (int c = 0; c < axis.Cross(); ++c) {
        const CTableCell* q = axis.Slot(r0, c);
        if (q->*axis.end != r0) continue;
        top = q->*axis.pos + q->*axis.size;
        break;
    }
    // Cells beyond move on, cells across grow; each once, at its last line and first slot
    // across.
    for (int r = r0 + 1; r < count; ++r)
        for (int c = 0; c < axis.Cross(); ++c) {
            CTableCell* q = axis.Slot(r, c);
            if (q->*axis.end != r || q->*axis.crossStart != c) continue;
            if (q->*axis.start > r0) {
                axis.Move(*q, axis.defaultSize);
                ++(q->*axis.start);
            } else {
                axis.Grow(*q, axis.defaultSize);
            }
            ++(q->*axis.end);
        }
    for (int c = 0; c < axis.Cross(); ++c) {
        for (int r = count - 1; r > r0; --r) axis.Slot(r + 1, c) = axis.Slot(r, c);
        // The slot still holds the old next line's cell: one that moved on gets a new cell
        // beside it, one that reaches across the new line covers it.
        CTableCell*& slot = axis.Slot(r0 + 1, c);
        if (slot && slot->*axis.start <= r0) continue;
        slot = axis.NewCell(r0 + 1, c, top, kTableMargin + Sum(across, 0, c), axis.defaultSize,
                            across[static_cast<size_t>(c)]);
    }
    // The rules move with their cells; the new line's copy those of line r0.
    for (int c = 0; c < axis.Cross(); ++c) {
        for (int b = count; b >= r0 + 2; --b) axis.Boundary(b + 1, c) = std::move(axis.Boundary(b, c));
        axis.Boundary(r0 + 2, c) = CopyLine(axis.Boundary(r0 + 1, c));
    }
    for (int b = 0; b <= axis.Cross(); ++b) {
        for (int r = count - 1; r >= r0 + 1; --r) axis.Side(r + 1, b) = std::move(axis.Side(r, b));
        axis.Side(r0 + 1, b) = CopyLine(axis.Side(r0, b));
    }
    ++axis.Count();
    RelayoutLinesFrom(axis, r0 + 1);
    UpdateTotalSize();
}

// ---- delete ----

void CTableGrid::DeleteRow()
{
    Axis axis(*this, true);
    DeleteLine(axis);
}

void CTableGrid::DeleteColumn()
{
    Axis axis(*this, false);
    DeleteLine(axis);
}

void CTableGrid::DeleteLine(Axis& axis)
{
    const int count = axis.Count();
    if (count <= 1) return;
    const int r0 = axis.CurrentLine();
    const int h = axis.Sizes()[static_cast<size_t>(r0)];
    SetVisitedAll(0);
    std::vector<CTableCell*> gone;
    for (int c = 0; c < axis.Cross(); ++c) {
        CTableCell* q = axis.Slot(r0, c);
        if (q->m_visited) continue;
        q->m_visited = 1;
        if (q->*axis.start == r0 && q->*axis.end == r0) {
            gone.push_back(q);
            continue;
        }
        // It reaches into other lines: it loses the deleted line's size.
        axis.Grow(*q, -h);
        --(q->*axis.end);
    }
    for (int c = 0; c < axis.Cross(); ++c) {
        for (int r = r0 + 1; r < count; ++r) {
            CTableCell* q = axis.Slot(r, c);
            axis.Slot(r - 1, c) = q;
            if (q->m_visited) continue;
            q->m_visited = 1;
            axis.Move(*q, -h);
            --(q->*axis.start);
            --(q->*axis.end);
        }
        axis.Slot(count - 1, c) = nullptr;
    }
    for (CTableCell* q : gone) delete q;
    for (int c = 0; c < axis.Cross(); ++c) {
        for (int b = r0 + 1; b < count; ++b) axis.Boundary(b, c) = std::move(axis.Boundary(b + 1, c));
        axis.Boundary(count, c).reset();
    }
    for (int b = 0; b <= axis.Cross(); ++b) {
        for (int r = r0; r + 1 < count; ++r) axis.Side(r, b) = std::move(axis.Side(r + 1, b));
        axis.Side(count - 1, b).reset();
    }
    --axis.Count();
    if (r0 == axis.Count()) {
        const CCellPos current = CurrentSlot();
        const CCellPos back = axis.rows ? CCellPos(r0 - 1, current.m_column) : CCellPos(current.m_row, r0 - 1);
        SetCurrentSlot(back, back);
    }
    RelayoutLinesFrom(axis, std::min(r0, axis.Count() - 1));
    Normalize();
    ActivateCurrentCell();
    RelayoutAll(0);
}

void CTableGrid::RelayoutLinesFrom(Axis& axis, int first)
{
    for (int r = 0; r < m_rows; ++r)
        for (int c = 0; c < m_columns; ++c) {
            const CTableCell* q = m_cells[r][c];
            if (q->m_endRow == r && q->m_endCol == c && (axis.rows ? r : c) >= first) RelayoutCell(r, c, 0);
        }
}

// ---- normalisation ----

void CTableGrid::CollapseLines(Axis& axis, int a, int f)
{
    const int n = f - a;
    const int count = axis.Count();
    SetVisitedAll(0);
    for (int r = 0; r < m_rows; ++r)
        for (int c = 0; c < m_columns; ++c) {
            CTableCell* q = m_cells[r][c];
            if (q->m_visited) continue;
            q->m_visited = 1;
            if (q->*axis.start > a) q->*axis.start -= n;
            if (q->*axis.end > a) q->*axis.end -= n;
        }
    for (int c = 0; c < axis.Cross(); ++c) {
        for (int r = f; r < count; ++r) axis.Slot(r - n, c) = axis.Slot(r, c);
        for (int r = count - n; r < count; ++r) axis.Slot(r, c) = nullptr;
        for (int b = a + 1; b <= f; ++b) axis.Boundary(b, c).reset();
        for (int b = f + 1; b <= count; ++b) axis.Boundary(b - n, c) = std::move(axis.Boundary(b, c));
    }
    // The merged line keeps the segments of the last of the lines it replaces.
    for (int b = 0; b <= axis.Cross(); ++b) {
        for (int r = a; r < f; ++r) axis.Side(r, b).reset();
        for (int r = f; r < count; ++r) axis.Side(r - n, b) = std::move(axis.Side(r, b));
    }
    axis.Count() -= n;
}

void CTableGrid::Normalize()
{
    // A run of grid lines that every cell across spans together is one line: columns
    // first, then rows.
    for (bool rows : {false, true}) {
        Axis axis(*this, rows);
        for (int line = 0; line < axis.Count(); ++line) {
            int a = 0, f = rows ? kMaxTableRows : kMaxTableColumns;
            for (int c = 0; c < axis.Cross(); ++c) {
                a = std::max(a, axis.Slot(line, c)->*axis.start);
                f = std::min(f, axis.Slot(line, c)->*axis.end);
            }
            if (f > a) CollapseLines(axis, a, f);
        }
    }
    const CCellPos current = CurrentSlot();
    SetCurrentSlot(current, current);
}

void CTableGrid::EnsureBorderLines()
{
    for (int b = 0; b <= m_rows; ++b)
        for (int c = 0; c < m_columns; ++c)
            if (!m_horizontalLines[b][c]) m_horizontalLines[b][c] = std::make_unique<CBorderLine>();
    for (int r = 0; r < m_rows; ++r)
        for (int b = 0; b <= m_columns; ++b)
            if (!m_verticalLines[r][b]) m_verticalLines[r][b] = std::make_unique<CBorderLine>();
}

// ---- merge ----

bool CTableGrid::CanMerge() const
{
    if (m_rows == 0 || !HasRange()) return false;
    CCellPos topLeft, bottomRight;
    GetSelRange(topLeft, bottomRight);
    if (topLeft == CCellPos(0, 0) && bottomRight == CCellPos(m_rows - 1, m_columns - 1)) return false;
    for (int r = topLeft.m_row; r <= bottomRight.m_row; ++r)
        for (int c = topLeft.m_column; c <= bottomRight.m_column; ++c) {
            const CTableCell* q = m_cells[r][c];
            if (q->m_startRow < topLeft.m_row || q->m_endRow > bottomRight.m_row ||
                q->m_startCol < topLeft.m_column || q->m_endCol > bottomRight.m_column)
                return false;
        }
    return true;
}

void CTableGrid::MergeCells()
{
    if (!CanMerge()) return;
    CCellPos topLeft, bottomRight;
    GetSelRange(topLeft, bottomRight);
    CTableCell* p = GetCellAt(topLeft);
    const CTableCell* last = GetCellAt(bottomRight);
    p->m_endRow = bottomRight.m_row;
    p->m_endCol = bottomRight.m_column;
    p->SetSize(last->m_x + last->m_cellWidth - p->m_x, last->m_y + last->m_cellHeight - p->m_y);
    SetVisitedAll(0);
    p->m_visited = 1;
    for (int r = topLeft.m_row; r <= bottomRight.m_row; ++r)
        for (int c = topLeft.m_column; c <= bottomRight.m_column; ++c) {
            CTableCell* q = m_cells[r][c];
            if (q->m_visited) continue;
            // q's first paragraph continues p's last one.
            p->AppendItemsFrom(*q);
            for (int qr = q->m_startRow; qr <= q->m_endRow; ++qr)
                for (int qc = q->m_startCol; qc <= q->m_endCol; ++qc) m_cells[qr][qc] = p;
            delete q;
        }
    RelayoutCellAt(topLeft);
    p->SetCaret(p->GetStartPos());
    p->SetSelection(p->GetStartPos(), p->GetStartPos());
    Normalize();
    const CCellPos at(p->m_startRow, p->m_startCol);
    SetCurrentSlot(at, at);
    ActivateCurrentCell();
    RelayoutAll(0);
}

// ---- split ----

bool CTableGrid::CanSplit() const
{
    if (m_rows == 0 || HasRange()) return false;
    return !(m_rows + 1 >= kMaxTableRows && m_columns + 1 >= kMaxTableColumns);
}

std::vector<int> CTableGrid::GetSplitChoices(int span, int limit)
{
    std::vector<int> choices;
    if (span == 1) {
        for (int n = 1; n <= limit; ++n) choices.push_back(n);
    } else {
        for (int n = 1; n <= span; ++n)
            if (span % n == 0) choices.push_back(n);
    }
    return choices;
}

std::vector<int> CTableGrid::GetSplitChoicesOf(const CTableCell& cell, bool rows) const
{
    if (rows) return GetSplitChoices(cell.m_endRow - cell.m_startRow + 1, kMaxTableRows + 1 - m_rows);
    return GetSplitChoices(cell.m_endCol - cell.m_startCol + 1, kMaxTableColumns + 1 - m_columns);
}

void CTableGrid::InsertSplitLines(Axis& axis, CTableCell* q, int after, int count, int growth)
{
    const int lines = axis.Count();
    SetVisitedAll(0);
    for (int r = 0; r < m_rows; ++r)
        for (int c = 0; c < m_columns; ++c) {
            CTableCell* s = m_cells[r][c];
            if (s->m_visited || s == q) continue;
            s->m_visited = 1;
            if (s->*axis.start > after) {
                s->*axis.start += count;
                s->*axis.end += count;
                axis.Move(*s, growth);
            } else if (s->*axis.end >= after) {
                s->*axis.end += count;
                axis.Grow(*s, growth);
            }
        }
    for (int c = 0; c < axis.Cross(); ++c) {
        for (int r = lines - 1; r > after; --r) axis.Slot(r + count, c) = axis.Slot(r, c);
        for (int r = after + 1; r <= after + count; ++r) axis.Slot(r, c) = axis.Slot(after, c);
        // The boundaries move with their cells; the new ones get default lines later.
        for (int b = lines; b > after; --b) axis.Boundary(b + count, c) = std::move(axis.Boundary(b, c));
    }
    for (int b = 0; b <= axis.Cross(); ++b) {
        for (int r = lines - 1; r > after; --r) axis.Side(r + count, b) = std::move(axis.Side(r, b));
        for (int r = after + 1; r <= after + count; ++r) axis.Side(r, b) = CopyLine(axis.Side(after, b));
    }
    axis.Count() += count;
}

namespace {

// One axis of a split: where each part starts (grid index and twips) and how big it is.
struct SplitPart {
    int first = 0, last = 0; // grid indices, inclusive
    int pos = 0, size = 0;   // twips
};

// Divides a span of several grid lines evenly among the parts; no grid line is added.
std::vector<SplitPart> DivideSpan(int first, int span, int parts, int pos, const std::vector<int>& sizes)
{
    std::vector<SplitPart> out;
    const int each = span / parts;
    for (int k = 0; k < parts; ++k) {
        SplitPart p;
        p.first = first + k * each;
        p.last = p.first + each - 1;
        p.pos = pos;
        p.size = Sum(sizes, p.first, p.last + 1);
        pos += p.size;
        out.push_back(p);
    }
    return out;
}

// Cuts a one-line span into parts of one new grid line each, at least `minimum` big.
std::vector<SplitPart> CutLine(int first, int parts, int pos, int size, int minimum)
{
    const int each = std::max((size + parts - 1) / parts, minimum);
    std::vector<SplitPart> out;
    for (int k = 0; k < parts; ++k) out.push_back(SplitPart{first + k, first + k, pos + k * each, each});
    return out;
}

bool Offered(const std::vector<int>& choices, int n)
{
    return std::find(choices.begin(), choices.end(), n) != choices.end();
}

} // namespace

bool CTableGrid::SplitCurrentCell(int rowParts, int columnParts)
{
    if (!CanSplit()) return false;
    CTableCell* q = GetCellAt(CurrentSlot());
    const int rowSpan = q->m_endRow - q->m_startRow + 1;
    const int columnSpan = q->m_endCol - q->m_startCol + 1;
    if (!Offered(GetSplitChoicesOf(*q, true), rowParts) || !Offered(GetSplitChoicesOf(*q, false), columnParts))
        return false;
    if (rowParts == 1 && columnParts == 1) return false;

    const std::vector<int> widths = GetColumnWidths();
    const std::vector<int> heights = GetRowHeights();
    std::vector<SplitPart> cols, rows;
    bool added = false;
    if (columnSpan > 1 || columnParts == 1) {
        cols = columnParts == 1 ? std::vector<SplitPart>{{q->m_startCol, q->m_endCol, q->m_x, q->m_cellWidth}}
                                : DivideSpan(q->m_startCol, columnSpan, columnParts, q->m_x, widths);
    } else {
        cols = CutLine(q->m_startCol, columnParts, q->m_x, q->m_cellWidth, kMinSplitColumnWidth);
        Axis axis(*this, false);
        InsertSplitLines(axis, q, q->m_startCol, columnParts - 1, columnParts * cols[0].size - q->m_cellWidth);
        added = true;
    }
    if (rowSpan > 1 || rowParts == 1) {
        rows = rowParts == 1 ? std::vector<SplitPart>{{q->m_startRow, q->m_endRow, q->m_y, q->m_cellHeight}}
                             : DivideSpan(q->m_startRow, rowSpan, rowParts, q->m_y, heights);
    } else {
        rows = CutLine(q->m_startRow, rowParts, q->m_y, q->m_cellHeight, kMinSplitRowHeight);
        Axis axis(*this, true);
        InsertSplitLines(axis, q, q->m_startRow, rowParts - 1, rowParts * rows[0].size - q->m_cellHeight);
        added = true;
    }
    // q keeps its text and becomes the top-left part; the others are new empty cells.
    for (const SplitPart& rp : rows)
        for (const SplitPart& cp : cols) {
            CTableCell* part = q;
            if (&rp == &rows.front() && &cp == &cols.front()) {
                q->m_startRow = rp.first;
                q->m_endRow = rp.last;
                q->m_startCol = cp.first;
                q->m_endCol = cp.last;
                q->SetPosition(cp.pos, rp.pos);
                q->SetSize(cp.size, rp.size);
            } else {
                part = new CTableCell(m_doc, this, rp.first, cp.first, rp.last, cp.last, cp.pos, rp.pos, cp.size, rp.size);
            }
            PlaceCell(part);
        }
    if (added) EnsureBorderLines();
    const CCellPos at(q->m_startRow, q->m_startCol);
    SetCurrentSlot(at, at);
    q->SetSelection(q->GetStartPos(), q->GetStartPos());
    ActivateCurrentCell();
    RelayoutCellAt(at);
    UpdateTotalSize();
    return true;
}
