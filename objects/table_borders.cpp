// The two dialogs of the grid: the border dialog on the current cell or the selected
// range, and the split dialog's choice of counts for the current cell.
#include <memory>

#include "document/ql_doc.h"
#include "objects/table_dialogs.h"
#include "objects/table_grid.h"
#include "platform/ui/message_box.h"

namespace {

plat::Window* DialogParent(CDocContext* context)
{
    CQlDoc* doc = dynamic_cast<CQlDoc*>(context);
    return doc ? doc->GetCanvas() : nullptr;
}

// A segment's line, and a line written into a segment slot (the grid keeps every slot
// filled; an empty one reads as the default line and takes its own copy).
CBorderLine LineOf(const std::unique_ptr<CBorderLine>& slot)
{
    return slot ? *slot : CBorderLine();
}

void Put(std::unique_ptr<CBorderLine>& slot, const CBorderLine& line)
{
    if (slot)
        *slot = line;
    else
        slot = std::make_unique<CBorderLine>(line);
}

} // namespace

CTableGrid::BorderFrame CTableGrid::GetBorderFrame() const
{
    BorderFrame f;
    if (!HasRange()) {
        const CTableCell* q = GetCellAt(CurrentSlot());
        f.top = q->m_startRow;
        f.left = q->m_startCol;
        f.bottom = q->m_endRow;
        f.right = q->m_endCol;
        f.single = true;
        return f;
    }
    CCellPos topLeft, bottomRight;
    GetSelRange(topLeft, bottomRight);
    f.top = topLeft.m_row;
    f.left = topLeft.m_column;
    f.bottom = bottomRight.m_row;
    f.right = bottomRight.m_column;
    return f;
}

CBorderSet CTableGrid::GetBorderSet() const
{
    CBorderSet set;
    if (m_rows == 0) return set;
    const BorderFrame f = GetBorderFrame();
    set.m_top = LineOf(m_horizontalLines[f.top][f.left]);
    set.m_bottom = LineOf(m_horizontalLines[f.bottom + 1][f.left]);
    set.m_left = LineOf(m_verticalLines[f.top][f.left]);
    set.m_right = LineOf(m_verticalLines[f.top][f.right + 1]);
    set.m_hasInnerHorizontal = 0;
    set.m_hasInnerVertical = 0;
    if (f.single) return set;
    // The inner lines shown are those of the first cell that starts below (right of) the
    // rectangle's first row (column), scanning row by row (column by column).
    auto firstStarting = [this, &f](bool rows) -> const CTableCell* {
        const int outerEnd = rows ? f.bottom : f.right;
        const int innerFirst = rows ? f.left : f.top;
        const int innerEnd = rows ? f.right : f.bottom;
        for (int a = (rows ? f.top : f.left) + 1; a <= outerEnd; ++a)
            for (int b = innerFirst; b <= innerEnd; ++b) {
                const int r = rows ? a : b, c = rows ? b : a;
                const CTableCell* q = m_cells[r][c];
                if (q->m_startRow == r && q->m_startCol == c) return q;
            }
        return nullptr;
    };
    if (const CTableCell* q = firstStarting(true)) {
        set.m_innerHorizontal = LineOf(m_horizontalLines[q->m_startRow][q->m_startCol]);
        set.m_hasInnerHorizontal = 1;
    }
    if (const CTableCell* q = firstStarting(false)) {
        set.m_innerVertical = LineOf(m_verticalLines[q->m_startRow][q->m_startCol]);
        set.m_hasInnerVertical = 1;
    }
    return set;
}

void CTableGrid::SetBorderSet(const CBorderSet& set)
{
    if (m_rows == 0) return;
    const BorderFrame f = GetBorderFrame();
    // Every segment along each edge, also for one merged cell: painting draws them all,
    // so writing only the first would leave the edge in two styles.
    for (int c = f.left; c <= f.right; ++c) {
        Put(m_horizontalLines[f.top][c], set.m_top);
        Put(m_horizontalLines[f.bottom + 1][c], set.m_bottom);
    }
    for (int r = f.top; r <= f.bottom; ++r) {
        Put(m_verticalLines[r][f.left], set.m_left);
        Put(m_verticalLines[r][f.right + 1], set.m_right);
    }
    // Inside a range, every segment of its inner boundaries, those hidden in merged cells
    // too; one cell has no inner lines to edit.
    if (set.m_hasInnerHorizontal)
        for (int b = f.top + 1; b <= f.bottom; ++b)
            for (int c = f.left; c <= f.right; ++c) Put(m_horizontalLines[b][c], set.m_innerHorizontal);
    if (set.m_hasInnerVertical)
        for (int r = f.top; r <= f.bottom; ++r)
            for (int b = f.left + 1; b <= f.right; ++b) Put(m_verticalLines[r][b], set.m_innerVertical);
}

bool CTableGrid::BordersDialog()
{
    if (m_rows == 0) return false;
    const CBorderSet before = GetBorderSet();
    CTableBorderDlg dlg(dynamic_cast<CQlDoc*>(m_doc), DialogParent(m_doc));
    dlg.m_borders = before;
    if (dlg.DoModal() != plat::kIdOk || dlg.m_borders == before) return false;
    m_doc->PushUndoState();
    // The flags describe the rectangle; the dialog does not edit them.
    CBorderSet edited = dlg.m_borders;
    edited.m_hasInnerHorizontal = before.m_hasInnerHorizontal;
    edited.m_hasInnerVertical = before.m_hasInnerVertical;
    SetBorderSet(edited);
    m_doc->RequestRepaint();
    return true;
}

bool CTableGrid::AskSplitParts(int& rowParts, int& columnParts)
{
    if (!CanSplit()) return false;
    const CTableCell* q = GetCellAt(CurrentSlot());
    CSplitCellDlg dlg(DialogParent(m_doc));
    auto choices = [this, q](bool rows) {
        std::vector<std::uint16_t> out;
        for (int n : GetSplitChoicesOf(*q, rows)) out.push_back(static_cast<std::uint16_t>(n));
        return out;
    };
    dlg.m_rowChoices = choices(true);
    dlg.m_columnChoices = choices(false);
    if (dlg.DoModal() != plat::kIdOk) return false;
    if (dlg.m_chosenRows == 1 && dlg.m_chosenColumns == 1) return false;
    rowParts = dlg.m_chosenRows;
    columnParts = dlg.m_chosenColumns;
    return true;
}
