// Edits of the table's structure from the current cell and the selected range: insert a
// row below or a column to the right, delete a row or a column, merge the selected
// rectangle, split the current cell. Each leaves every slot covered by one rectangular
// cell and no grid line that no cell boundary uses.
#include <algorithm>

#include "document/format_state.h"
#include "objects/table_grid.h"

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
    if (m_rows == 0 || m_rows >= kMaxTableRows) return;
    const int r0 = CurrentSlot().m_row;
    const std::vector<int> widths = GetColumnWidths();
    // The new row starts at the bottom of row r0: where a cell ending there ends, or,
    // when every cell of the row reaches further down, where the row heights put it.
    int top = kTableMargin + Sum(GetRowHeights(), 0, r0 + 1);
    for (int c = 0; c < m_columns; ++c) {
        const CTableCell* q = m_cells[r0][c];
        if (q->m_endRow != r0) continue;
        top = q->m_y + q->m_cellHeight;
        break;
    }
    // Cells below move down, cells across grow; each once, at its last row and first column.
    for (int r = r0 + 1; r < m_rows; ++r)
        for (int c = 0; c < m_columns; ++c) {
            CTableCell* q = m_cells[r][c];
            if (q->m_endRow != r || q->m_startCol != c) continue;
            if (q->m_startRow > r0) {
                q->SetPosition(q->m_x, q->m_y + kDefaultRowHeight);
                ++q->m_startRow;
            } else {
                q->SetSize(q->m_cellWidth, q->m_cellHeight + kDefaultRowHeight);
            }
            ++q->m_endRow;
        }
    for (int r = m_rows - 1; r > r0; --r) m_cells[r + 1] = m_cells[r];
    for (int c = 0; c < m_columns; ++c) {
        // The slot still holds the old next row's cell: one that moved down gets a new
        // cell beside it, one that reaches across the new row covers it.
        CTableCell*& slot = m_cells[r0 + 1][c];
        if (slot && slot->m_startRow <= r0) continue;
        slot = new CTableCell(m_doc, this, r0 + 1, c, r0 + 1, c, kTableMargin + Sum(widths, 0, c), top,
                              widths[static_cast<size_t>(c)], kDefaultRowHeight);
    }
    for (int c = 0; c < m_columns; ++c) {
        for (int b = m_rows; b >= r0 + 2; --b) m_horizontalLines[b + 1][c] = std::move(m_horizontalLines[b][c]);
        m_horizontalLines[r0 + 2][c] = CopyLine(m_horizontalLines[r0 + 1][c]);
    }
    for (int b = 0; b <= m_columns; ++b) {
        for (int r = m_rows - 1; r >= r0 + 1; --r) m_verticalLines[r + 1][b] = std::move(m_verticalLines[r][b]);
        m_verticalLines[r0 + 1][b] = CopyLine(m_verticalLines[r0][b]);
    }
    ++m_rows;
    for (int r = r0 + 1; r < m_rows; ++r)
        for (int c = 0; c < m_columns; ++c) {
            const CTableCell* q = m_cells[r][c];
            if (q->m_endRow == r && q->m_endCol == c) RelayoutCell(r, c, 0);
        }
    UpdateTotalSize();
}

void CTableGrid::InsertColumn()
{
    if (m_columns == 0 || m_columns >= kMaxTableColumns) return;
    const int c0 = CurrentSlot().m_column;
    const std::vector<int> heights = GetRowHeights();
    int left = kTableMargin + Sum(GetColumnWidths(), 0, c0 + 1);
    for (int r = 0; r < m_rows; ++r) {
        const CTableCell* q = m_cells[r][c0];
        if (q->m_endCol != c0) continue;
        left = q->m_x + q->m_cellWidth;
        break;
    }
    for (int c = c0 + 1; c < m_columns; ++c)
        for (int r = 0; r < m_rows; ++r) {
            CTableCell* q = m_cells[r][c];
            if (q->m_endCol != c || q->m_startRow != r) continue;
            if (q->m_startCol > c0) {
                q->SetPosition(q->m_x + kDefaultColumnWidth, q->m_y);
                ++q->m_startCol;
            } else {
                q->SetSize(q->m_cellWidth + kDefaultColumnWidth, q->m_cellHeight);
            }
            ++q->m_endCol;
        }
    for (int r = 0; r < m_rows; ++r) {
        for (int c = m_columns - 1; c > c0; --c) m_cells[r][c + 1] = m_cells[r][c];
        CTableCell*& slot = m_cells[r][c0 + 1];
        if (slot && slot->m_startCol <= c0) continue; // reaches across the new column
        slot = new CTableCell(m_doc, this, r, c0 + 1, r, c0 + 1, left, kTableMargin + Sum(heights, 0, r),
                              kDefaultColumnWidth, heights[static_cast<size_t>(r)]);
    }
    for (int r = 0; r < m_rows; ++r) {
        for (int b = m_columns; b >= c0 + 2; --b) m_verticalLines[r][b + 1] = std::move(m_verticalLines[r][b]);
        m_verticalLines[r][c0 + 2] = CopyLine(m_verticalLines[r][c0 + 1]);
    }
    for (int b = 0; b <= m_rows; ++b) {
        for (int c = m_columns - 1; c >= c0 + 1; --c) m_horizontalLines[b][c + 1] = std::move(m_horizontalLines[b][c]);
        m_horizontalLines[b][c0 + 1] = CopyLine(m_horizontalLines[b][c0]);
    }
    ++m_columns;
    for (int r = 0; r < m_rows; ++r)
        for (int c = c0 + 1; c < m_columns; ++c) {
            const CTableCell* q = m_cells[r][c];
            if (q->m_endRow == r && q->m_endCol == c) RelayoutCell(r, c, 0);
        }
    UpdateTotalSize();
}

// ---- delete ----

void CTableGrid::DeleteRow()
{
    if (m_rows <= 1) return;
    const CCellPos current = CurrentSlot();
    const int r0 = current.m_row;
    const int h = GetRowHeights()[static_cast<size_t>(r0)];
    SetVisitedAll(0);
    std::vector<CTableCell*> gone;
    for (int c = 0; c < m_columns; ++c) {
        CTableCell* q = m_cells[r0][c];
        if (q->m_visited) continue;
        q->m_visited = 1;
        if (q->m_startRow == r0 && q->m_endRow == r0) {
            gone.push_back(q);
            continue;
        }
        // It reaches into other rows: it loses the deleted row's height.
        q->SetSize(q->m_cellWidth, q->m_cellHeight - h);
        --q->m_endRow;
    }
    for (int r = r0 + 1; r < m_rows; ++r) {
        for (int c = 0; c < m_columns; ++c) {
            CTableCell* q = m_cells[r][c];
            m_cells[r - 1][c] = q;
            if (q->m_visited) continue;
            q->m_visited = 1;
            q->SetPosition(q->m_x, q->m_y - h);
            --q->m_startRow;
            --q->m_endRow;
        }
    }
    m_cells[m_rows - 1].fill(nullptr);
    for (CTableCell* q : gone) delete q;
    for (int c = 0; c < m_columns; ++c) {
        for (int b = r0 + 1; b < m_rows; ++b) m_horizontalLines[b][c] = std::move(m_horizontalLines[b + 1][c]);
        m_horizontalLines[m_rows][c].reset();
    }
    for (int b = 0; b <= m_columns; ++b) {
        for (int r = r0; r + 1 < m_rows; ++r) m_verticalLines[r][b] = std::move(m_verticalLines[r + 1][b]);
        m_verticalLines[m_rows - 1][b].reset();
    }
    --m_rows;
    CCellPos next = current;
    if (r0 == m_rows) next.m_row = r0 - 1;
    SetCurrentSlot(next, next);
    for (int r = std::min(r0, m_rows - 1); r < m_rows; ++r)
        for (int c = 0; c < m_columns; ++c) {
            const CTableCell* q = m_cells[r][c];
            if (q->m_endRow == r && q->m_endCol == c) RelayoutCell(r, c, 0);
        }
    Normalize();
    ActivateCurrentCell();
    RelayoutAll(0);
}

void CTableGrid::DeleteColumn()
{
    if (m_columns <= 1) return;
    const CCellPos current = CurrentSlot();
    const int c0 = current.m_column;
    const int w = GetColumnWidths()[static_cast<size_t>(c0)];
    SetVisitedAll(0);
    std::vector<CTableCell*> gone;
    for (int r = 0; r < m_rows; ++r) {
        CTableCell* q = m_cells[r][c0];
        if (q->m_visited) continue;
        q->m_visited = 1;
        if (q->m_startCol == c0 && q->m_endCol == c0) {
            gone.push_back(q);
            continue;
        }
        q->SetSize(q->m_cellWidth - w, q->m_cellHeight);
        --q->m_endCol;
    }
    for (int r = 0; r < m_rows; ++r) {
        for (int c = c0 + 1; c < m_columns; ++c) {
            CTableCell* q = m_cells[r][c];
            m_cells[r][c - 1] = q;
            if (q->m_visited) continue;
            q->m_visited = 1;
            q->SetPosition(q->m_x - w, q->m_y);
            --q->m_startCol;
            --q->m_endCol;
        }
        m_cells[r][m_columns - 1] = nullptr;
    }
    for (CTableCell* q : gone) delete q;
    for (int r = 0; r < m_rows; ++r) {
        for (int b = c0 + 1; b < m_columns; ++b) m_verticalLines[r][b] = std::move(m_verticalLines[r][b + 1]);
        m_verticalLines[r][m_columns].reset();
    }
    for (int b = 0; b <= m_rows; ++b) {
        for (int c = c0; c + 1 < m_columns; ++c) m_horizontalLines[b][c] = std::move(m_horizontalLines[b][c + 1]);
        m_horizontalLines[b][m_columns - 1].reset();
    }
    --m_columns;
    CCellPos next = current;
    if (c0 == m_columns) next.m_column = c0 - 1;
    SetCurrentSlot(next, next);
    for (int r = 0; r < m_rows; ++r)
        for (int c = std::min(c0, m_columns - 1); c < m_columns; ++c) {
            const CTableCell* q = m_cells[r][c];
            if (q->m_endRow == r && q->m_endCol == c) RelayoutCell(r, c, 0);
        }
    Normalize();
    ActivateCurrentCell();
    RelayoutAll(0);
}

// ---- normalisation ----

void CTableGrid::CollapseColumns(int a, int f)
{
    const int n = f - a;
    SetVisitedAll(0);
    for (int r = 0; r < m_rows; ++r)
        for (int c = 0; c < m_columns; ++c) {
            CTableCell* q = m_cells[r][c];
            if (q->m_visited) continue;
            q->m_visited = 1;
            if (q->m_startCol > a) q->m_startCol -= n;
            if (q->m_endCol > a) q->m_endCol -= n;
        }
    for (int r = 0; r < m_rows; ++r) {
        for (int c = f; c < m_columns; ++c) m_cells[r][c - n] = m_cells[r][c];
        for (int c = m_columns - n; c < m_columns; ++c) m_cells[r][c] = nullptr;
        for (int b = a + 1; b <= f; ++b) m_verticalLines[r][b].reset();
        for (int b = f + 1; b <= m_columns; ++b) m_verticalLines[r][b - n] = std::move(m_verticalLines[r][b]);
    }
    // The merged column keeps the segments of the last of the columns it replaces.
    for (int b = 0; b <= m_rows; ++b) {
        for (int c = a; c < f; ++c) m_horizontalLines[b][c].reset();
        for (int c = f; c < m_columns; ++c) m_horizontalLines[b][c - n] = std::move(m_horizontalLines[b][c]);
    }
    m_columns -= n;
}

void CTableGrid::CollapseRows(int a, int f)
{
    const int n = f - a;
    SetVisitedAll(0);
    for (int r = 0; r < m_rows; ++r)
        for (int c = 0; c < m_columns; ++c) {
            CTableCell* q = m_cells[r][c];
            if (q->m_visited) continue;
            q->m_visited = 1;
            if (q->m_startRow > a) q->m_startRow -= n;
            if (q->m_endRow > a) q->m_endRow -= n;
        }
    for (int r = f; r < m_rows; ++r) m_cells[r - n] = m_cells[r];
    for (int r = m_rows - n; r < m_rows; ++r) m_cells[r].fill(nullptr);
    for (int c = 0; c < m_columns; ++c) {
        for (int b = a + 1; b <= f; ++b) m_horizontalLines[b][c].reset();
        for (int b = f + 1; b <= m_rows; ++b) m_horizontalLines[b - n][c] = std::move(m_horizontalLines[b][c]);
    }
    for (int b = 0; b <= m_columns; ++b) {
        for (int r = a; r < f; ++r) m_verticalLines[r][b].reset();
        for (int r = f; r < m_rows; ++r) m_verticalLines[r - n][b] = std::move(m_verticalLines[r][b]);
    }
    m_rows -= n;
}

void CTableGrid::Normalize()
{
    // A run of grid columns that every row covers with one cell is one column.
    for (int c = 0; c < m_columns; ++c) {
        int a = 0, f = kMaxTableColumns;
        for (int r = 0; r < m_rows; ++r) {
            a = std::max(a, m_cells[r][c]->m_startCol);
            f = std::min(f, m_cells[r][c]->m_endCol);
        }
        if (f > a) CollapseColumns(a, f);
    }
    for (int r = 0; r < m_rows; ++r) {
        int a = 0, f = kMaxTableRows;
        for (int c = 0; c < m_columns; ++c) {
            a = std::max(a, m_cells[r][c]->m_startRow);
            f = std::min(f, m_cells[r][c]->m_endRow);
        }
        if (f > a) CollapseRows(a, f);
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

void CTableGrid::InsertSplitColumns(CTableCell* q, int after, int count, int growth)
{
    SetVisitedAll(0);
    for (int r = 0; r < m_rows; ++r)
        for (int c = 0; c < m_columns; ++c) {
            CTableCell* s = m_cells[r][c];
            if (s->m_visited || s == q) continue;
            s->m_visited = 1;
            if (s->m_startCol > after) {
                s->m_startCol += count;
                s->m_endCol += count;
                s->SetPosition(s->m_x + growth, s->m_y);
            } else if (s->m_endCol >= after) {
                s->m_endCol += count;
                s->SetSize(s->m_cellWidth + growth, s->m_cellHeight);
            }
        }
    for (int r = 0; r < m_rows; ++r) {
        for (int c = m_columns - 1; c > after; --c) m_cells[r][c + count] = m_cells[r][c];
        for (int c = after + 1; c <= after + count; ++c) m_cells[r][c] = m_cells[r][after];
        // The segments move with their cells; the new boundaries get default lines later.
        for (int b = m_columns; b > after; --b) m_verticalLines[r][b + count] = std::move(m_verticalLines[r][b]);
    }
    for (int b = 0; b <= m_rows; ++b) {
        for (int c = m_columns - 1; c > after; --c) m_horizontalLines[b][c + count] = std::move(m_horizontalLines[b][c]);
        for (int c = after + 1; c <= after + count; ++c) m_horizontalLines[b][c] = CopyLine(m_horizontalLines[b][after]);
    }
    m_columns += count;
}

void CTableGrid::InsertSplitRows(CTableCell* q, int after, int count, int growth)
{
    SetVisitedAll(0);
    for (int r = 0; r < m_rows; ++r)
        for (int c = 0; c < m_columns; ++c) {
            CTableCell* s = m_cells[r][c];
            if (s->m_visited || s == q) continue;
            s->m_visited = 1;
            if (s->m_startRow > after) {
                s->m_startRow += count;
                s->m_endRow += count;
                s->SetPosition(s->m_x, s->m_y + growth);
            } else if (s->m_endRow >= after) {
                s->m_endRow += count;
                s->SetSize(s->m_cellWidth, s->m_cellHeight + growth);
            }
        }
    for (int r = m_rows - 1; r > after; --r) m_cells[r + count] = m_cells[r];
    for (int r = after + 1; r <= after + count; ++r) m_cells[r] = m_cells[after];
    for (int c = 0; c < m_columns; ++c) {
        for (int b = m_rows; b > after; --b) m_horizontalLines[b + count][c] = std::move(m_horizontalLines[b][c]);
    }
    for (int b = 0; b <= m_columns; ++b) {
        for (int r = m_rows - 1; r > after; --r) m_verticalLines[r + count][b] = std::move(m_verticalLines[r][b]);
        for (int r = after + 1; r <= after + count; ++r) m_verticalLines[r][b] = CopyLine(m_verticalLines[after][b]);
    }
    m_rows += count;
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
    if (!Offered(GetSplitChoices(rowSpan, kMaxTableRows + 1 - m_rows), rowParts) ||
        !Offered(GetSplitChoices(columnSpan, kMaxTableColumns + 1 - m_columns), columnParts))
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
        InsertSplitColumns(q, q->m_startCol, columnParts - 1, columnParts * cols[0].size - q->m_cellWidth);
        added = true;
    }
    if (rowSpan > 1 || rowParts == 1) {
        rows = rowParts == 1 ? std::vector<SplitPart>{{q->m_startRow, q->m_endRow, q->m_y, q->m_cellHeight}}
                             : DivideSpan(q->m_startRow, rowSpan, rowParts, q->m_y, heights);
    } else {
        rows = CutLine(q->m_startRow, rowParts, q->m_y, q->m_cellHeight, kMinSplitRowHeight);
        InsertSplitRows(q, q->m_startRow, rowParts - 1, rowParts * rows[0].size - q->m_cellHeight);
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
