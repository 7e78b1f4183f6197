// The table object as an import's table: the reader gives the grid's size and column
// widths, each row's merges and then each cell's alignments, and writes the cell's text
// into the flow it gets back.
#include <algorithm>
#include <vector>

#include "objects/table_object.h"

bool CTableObject::BeginGrid(int rows, int columns, std::span<const std::int32_t> widths)
{
    if (rows < 1 || rows > kMaxTableRows || columns < 1 || columns > kMaxTableColumns ||
        widths.size() < static_cast<size_t>(columns))
        return false;
    // A column narrower than a cell's least content and padding would not lay out.
    std::vector<int> kept;
    for (int c = 0; c < columns; ++c) kept.push_back(std::max<int>(widths[c], kMinSplitColumnWidth));
    CreateGrid(rows, columns, kept);
    return m_grid && m_grid->GetRows() == rows;
}

void CTableObject::MergeRowCells(int row, std::span<const std::uint8_t> flags)
{
    if (m_grid) m_grid->MergeRowCells(row, flags);
}

CTextFlow* CTableObject::SetCell(int row, int column, std::uint8_t alignment, std::uint8_t verticalAlignment,
                                 bool mergeUp)
{
    if (!m_grid) return nullptr;
    CTableCell* slot = (row >= 0 && row < m_grid->GetRows() && column >= 0 && column < m_grid->GetColumns())
                           ? m_grid->GetCell(row, column)
                           : nullptr;
    CTableCell* cell = m_grid->SetCellOrMergeUp(row, column, alignment, verticalAlignment, mergeUp);
    // A cell joined to the one above takes no text of its own; one that could not join
    // keeps its text.
    if (mergeUp && cell != slot) return nullptr;
    // A cell is written once, at its first slot; the other slots of a merged span get none.
    if (cell && (cell->m_startRow != row || cell->m_startCol != column)) return nullptr;
    return cell;
}
