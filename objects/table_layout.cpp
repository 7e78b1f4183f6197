// The table's sizes: column widths and row heights read back from the cells, cells that
// grow to fit their text and carry their column or row with them, boundaries dragged by
// the user, and the painting of cells and rules.
#include <algorithm>

#include "document/format_state.h"
#include "document/render_context.h"
#include "document/units.h"
#include "objects/table_axis.h"
#include "platform/gfx/dc.h"

void CTableGrid::GetSelRange(CCellPos& topLeft, CCellPos& bottomRight) const
{
    const CFormatState* fs = GetFormatState();
    const CCellPos current = CurrentSlot();
    CCellPos end = current;
    if (fs) {
        end = CCellPos(std::clamp(fs->m_rangeEndCell.m_row, 0, std::max(m_rows - 1, 0)),
                       std::clamp(fs->m_rangeEndCell.m_column, 0, std::max(m_columns - 1, 0)));
    }
    const CTableCell* a = GetCellAt(current);
    const CTableCell* b = GetCellAt(end);
    topLeft = CCellPos(std::min(a->m_startRow, b->m_startRow), std::min(a->m_startCol, b->m_startCol));
    bottomRight = CCellPos(std::max(a->m_endRow, b->m_endRow), std::max(a->m_endCol, b->m_endCol));
}

// Reading the sizes changes nothing; the axis is the one used by the edits too.
std::vector<int> CTableGrid::GetColumnWidths() const
{
    return Axis(const_cast<CTableGrid&>(*this), false).Sizes();
}

std::vector<int> CTableGrid::GetRowHeights() const
{
    return Axis(const_cast<CTableGrid&>(*this), true).Sizes();
}

void CTableGrid::UpdateTotalSize()
{
    if (m_rows == 0 || m_columns == 0) return;
    const CTableCell* q = m_cells[m_rows - 1][m_columns - 1];
    m_totalWidth = q->m_x + q->m_cellWidth + kTableMargin;
    m_totalHeight = q->m_y + q->m_cellHeight + kTableMargin;
}

void CTableGrid::SetVisitedAll(int value)
{
    SetVisitedRange(value, 0, 0, m_rows, m_columns);
}

void CTableGrid::SetVisitedRange(int value, int firstRow, int firstColumn, int rowEnd, int columnEnd)
{
    for (int r = std::max(firstRow, 0); r < std::min(rowEnd, m_rows); ++r)
        for (int c = std::max(firstColumn, 0); c < std::min(columnEnd, m_columns); ++c) m_cells[r][c]->m_visited = value;
}

void CTableGrid::RelayoutCell(int row, int column, int force)
{
    CTableCell* p = m_cells[row][column];
    p->Relayout(1, 0);
    const int needWidth = p->GetContentExtent().cx + kCellPadding;
    if (p->m_cellWidth < needWidth) ResizeColumn(p->m_cellWidth, needWidth, column);
    const int needHeight = p->m_textHeight + kCellPadding;
    if (p->m_cellHeight < needHeight || force) ResizeRow(p->m_cellHeight, needHeight, row);
    UpdateTotalSize();
}

void CTableGrid::RelayoutAll(int force)
{
    for (int r = 0; r < m_rows; ++r)
        for (int c = 0; c < m_columns; ++c) {
            const CTableCell* q = m_cells[r][c];
            if (q->m_startRow == r && q->m_startCol == c) RelayoutCell(r, c, force);
        }
    for (int b = 1; b <= m_rows; ++b) FitRowBoundary(0, b);
    UpdateTotalSize();
}

void CTableGrid::ResizeColumn(int oldWidth, int newWidth, int column)
{
    Axis axis(*this, false);
    ResizeLine(axis, oldWidth, newWidth, column);
}

void CTableGrid::ResizeRow(int oldHeight, int newHeight, int row)
{
    Axis axis(*this, true);
    ResizeLine(axis, oldHeight, newHeight, row);
}

void CTableGrid::ResizeLine(Axis& axis, int oldSize, int newSize, int line)
{
    const int delta = newSize - oldSize;
    SetVisitedAll(0);
    for (int i = 0; i < axis.Cross(); ++i) {
        CTableCell* q = axis.Slot(line, i);
        if (!q->m_visited) {
            q->m_visited = 1;
            axis.Grow(*q, delta);
        }
        q->SetPosition(q->m_x, q->m_y);
        for (int j = line + 1; j < axis.Count(); ++j) {
            CTableCell* s = axis.Slot(j, i);
            if (s->m_visited) continue;
            s->m_visited = 1;
            axis.Move(*s, delta);
        }
    }
}

void CTableGrid::ShiftRowBoundary(int y, int boundary, bool mayShrink)
{
    if (boundary < 1 || boundary > m_rows) return;
    const std::vector<int> heights = GetRowHeights();
    int position = kTableMargin;
    for (int r = 0; r < boundary; ++r) position += heights[static_cast<size_t>(r)];
    int offset = y - position;
    if (offset < 0) {
        // No cell of the row above may get lower than its text + padding.
        for (int c = 0; c < m_columns; ++c) {
            const CTableCell* q = m_cells[boundary - 1][c];
            const int need = q->m_textHeight + kCellPadding;
            if (offset + q->m_cellHeight < need) offset = need - q->m_cellHeight;
        }
    }
    if (!mayShrink && offset <= 0) return;
    SetVisitedAll(0);
    for (int c = 0; c < m_columns; ++c) {
        CTableCell* q = m_cells[boundary - 1][c];
        if (!q->m_visited) {
            q->m_visited = 1;
            q->SetSize(q->m_cellWidth, q->m_cellHeight + offset);
        }
        for (int r = boundary; r < m_rows; ++r) {
            CTableCell* s = m_cells[r][c];
            if (s->m_visited) continue;
            s->m_visited = 1;
            s->SetPosition(s->m_x, s->m_y + offset);
        }
    }
    UpdateTotalSize();
}

void CTableGrid::FitRowBoundary(int y, int boundary)
{
    ShiftRowBoundary(y, boundary, false);
}

void CTableGrid::MoveRowBoundary(int y, int boundary)
{
    ShiftRowBoundary(y, boundary, true);
}

void CTableGrid::MoveColumnBoundary(int x, int boundary)
{
    if (boundary < 1 || boundary > m_columns) return;
    const std::vector<int> widths = GetColumnWidths();
    int position = kTableMargin;
    for (int c = 0; c < boundary; ++c) position += widths[static_cast<size_t>(c)];
    int offset = x - position;
    if (offset < 0) {
        // No cell of the column before may get narrower than its content + padding.
        for (int r = 0; r < m_rows; ++r) {
            const CTableCell* q = m_cells[r][boundary - 1];
            const int need = q->GetContentExtent().cx + kCellPadding;
            if (offset + q->m_cellWidth < need) offset = need - q->m_cellWidth;
        }
    }
    SetVisitedAll(0);
    for (int r = 0; r < m_rows; ++r) {
        CTableCell* q = m_cells[r][boundary - 1];
        if (!q->m_visited) {
            q->m_visited = 1;
            q->SetSize(q->m_cellWidth + offset, q->m_cellHeight);
        }
        for (int c = boundary; c < m_columns; ++c) {
            CTableCell* s = m_cells[r][c];
            if (s->m_visited) continue;
            s->m_visited = 1;
            s->SetPosition(s->m_x + offset, s->m_y);
        }
    }
    RelayoutAll(0);
    UpdateTotalSize();
}

void CTableGrid::Draw(plat::Dc& dc, double zoom, int x, int y, CRenderContext& rc, int pass)
{
    for (int i = 0; i < m_rows; ++i) {
        for (int j = 0; j < m_columns; ++j) {
            CTableCell* q = m_cells[i][j];
            if (i == q->m_startRow && j == q->m_startCol) q->DrawAt(dc, zoom, x, y, rc, pass);
            const int x1 = q->m_x, y1 = q->m_y;
            const int x2 = q->m_x + q->m_cellWidth, y2 = q->m_y + q->m_cellHeight;
            // Top and left edges belong to the first row and column; every other rule is
            // the bottom or right edge of the cell before it, so lines inside a merged cell
            // are never drawn.
            if (i == 0 && q->m_startRow == 0)
                DrawBorderLine(dc, zoom, m_horizontalLines[0][j].get(), {x1, y1}, {x2, y1}, x, y, rc);
            if (i == q->m_endRow)
                DrawBorderLine(dc, zoom, m_horizontalLines[i + 1][j].get(), {x1, y2}, {x2, y2}, x, y, rc);
            if (j == 0 && q->m_startCol == 0)
                DrawBorderLine(dc, zoom, m_verticalLines[i][0].get(), {x1, y1}, {x1, y2}, x, y, rc);
            if (j == q->m_endCol)
                DrawBorderLine(dc, zoom, m_verticalLines[i][j + 1].get(), {x2, y1}, {x2, y2}, x, y, rc);
        }
    }
}

void CTableGrid::DrawBorderLine(plat::Dc& dc, double zoom, const CBorderLine* segment, plat::Point from,
                                plat::Point to, int x, int y, CRenderContext& rc)
{
    if (!segment || segment->m_style == kLineNone) return;
    rc.SetLinePen(dc, zoom, segment->m_style, segment->m_colour);
    const plat::Point a = TwipsToPixelsPoint(dc, zoom, from.x, from.y);
    const plat::Point b = TwipsToPixelsPoint(dc, zoom, to.x, to.y);
    dc.MoveTo(x + a.x, y + a.y);
    dc.LineTo(x + b.x, y + b.y);
}
