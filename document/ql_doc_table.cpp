// The document's commands on the selected table: rows and columns inserted and deleted,
// cells merged and split, the vertical alignment of cells, the border lines, each with the
// enable test that the frame's update handlers and the automation Can... members call
// first. The grid does the
// work; the commands take the undo step, keep the table object's size in step with its
// grid and mark the document modified.
#include "document/doc_body.h"
#include "document/doc_commands.h"
#include "document/float_object.h"
#include "document/ql_doc.h"

namespace {

// A table has at most 59 rows and 19 columns, and never shrinks to a single cell.
constexpr int kTableRowLimit = 60;
constexpr int kTableColumnLimit = 20;

bool SingleCell(const CCellFormatTarget* grid)
{
    return grid && !grid->HasCellRange();
}

} // namespace

bool CQlDoc::CanTableInsertRow() const
{
    const CCellFormatTarget* grid = GetSelectedTableGrid();
    return SingleCell(grid) && grid->GetRowCount() + 1 < kTableRowLimit;
}

bool CQlDoc::CanTableInsertCol() const
{
    const CCellFormatTarget* grid = GetSelectedTableGrid();
    return SingleCell(grid) && grid->GetColumnCount() + 1 < kTableColumnLimit;
}

bool CQlDoc::CanTableDeleteRow() const
{
    const CCellFormatTarget* grid = GetSelectedTableGrid();
    if (!SingleCell(grid)) return false;
    const int rows = grid->GetRowCount();
    return rows > 2 || (rows == 2 && grid->GetColumnCount() > 1);
}

bool CQlDoc::CanTableDeleteCol() const
{
    const CCellFormatTarget* grid = GetSelectedTableGrid();
    if (!SingleCell(grid)) return false;
    const int columns = grid->GetColumnCount();
    return columns > 2 || (columns == 2 && grid->GetRowCount() > 1);
}

bool CQlDoc::CanTableMerge() const
{
    const CCellFormatTarget* grid = GetSelectedTableGrid();
    return grid && grid->CanMerge();
}

bool CQlDoc::CanTableSeparate() const
{
    const CCellFormatTarget* grid = GetSelectedTableGrid();
    return grid && grid->CanSplit();
}

bool CQlDoc::CanTableUDFormat() const
{
    if (IsTableSelected()) return true;
    for (int k = 0; m_body && k < m_body->GetSelectedCount(); ++k)
        if (m_body->GetSelectedObject(k)->IsTextShape()) return true;
    return false;
}

bool CQlDoc::RunTableCommand(bool (CQlDoc::*test)() const, void (CCellFormatTarget::*apply)())
{
    if (!IsEditable() || !(this->*test)()) return false;
    CCellFormatTarget* grid = GetSelectedTableGrid();
    CFloatObject& table = *m_body->GetSelectedObject(0);
    PushUndoState();
    (grid->*apply)();
    SyncTableSize(table, *grid);
    return true;
}

bool CQlDoc::TableInsertRow()
{
    return RunTableCommand(&CQlDoc::CanTableInsertRow, &CCellFormatTarget::InsertRow);
}

bool CQlDoc::TableInsertCol()
{
    return RunTableCommand(&CQlDoc::CanTableInsertCol, &CCellFormatTarget::InsertColumn);
}

bool CQlDoc::TableDeleteRow()
{
    return RunTableCommand(&CQlDoc::CanTableDeleteRow, &CCellFormatTarget::DeleteRow);
}

bool CQlDoc::TableDeleteCol()
{
    return RunTableCommand(&CQlDoc::CanTableDeleteCol, &CCellFormatTarget::DeleteColumn);
}

bool CQlDoc::TableMerge()
{
    return RunTableCommand(&CQlDoc::CanTableMerge, &CCellFormatTarget::MergeCells);
}

bool CQlDoc::TableSeparate()
{
    if (!IsEditable() || !CanTableSeparate()) return false;
    CCellFormatTarget* grid = GetSelectedTableGrid();
    CFloatObject& table = *m_body->GetSelectedObject(0);
    // The counts come first, so that a cancelled dialog leaves no undo step.
    int rowParts = 1;
    int columnParts = 1;
    if (!grid->AskSplitParts(rowParts, columnParts)) return false;
    PushUndoState();
    if (!grid->SplitCurrentCell(rowParts, columnParts)) return false;
    SyncTableSize(table, *grid);
    return true;
}

bool CQlDoc::TableBorderLines()
{
    if (!IsEditable() || !IsTableSelected()) return false;
    CCellFormatTarget* grid = GetSelectedTableGrid();
    CFloatObject& table = *m_body->GetSelectedObject(0);
    // The grid takes the undo step itself, only when the dialog changed a line; a changed
    // table is marked modified like every other table command.
    if (!grid->BordersDialog()) return false;
    SyncTableSize(table, *grid);
    return true;
}

bool CQlDoc::SetTableUDFormat(std::uint8_t code)
{
    if (!IsEditable() || !CanTableUDFormat()) return false;
    if (code != kAlignTop && code != kAlignMiddle && code != kAlignBottom) return false;
    PushUndoState();
    // Text shapes take the code through their own kind once it is there; a table's cells
    // are placed here. The table's size does not change.
    if (CCellFormatTarget* grid = GetSelectedTableGrid()) grid->SetVerticalAlign(code);
    m_tableUDFormat = code;
    SetModified(true);
    RequestRepaint();
    return true;
}
