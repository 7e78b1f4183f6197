#include "objects/table_grid.h"

#include <algorithm>

#include "document/doc_context.h"
#include "document/float_object.h"
#include "document/format_state.h"

namespace {

using plat::ArchiveException;

void Refuse(const char* why)
{
    throw ArchiveException(ArchiveException::kBadSchema, std::string("table grid: ") + why);
}

// A coordinate or size of a record: never negative, and small enough that sums of two
// never overflow.
void CheckExtent(std::int32_t value, const char* what)
{
    if (value < 0 || value > CFloatObject::kMaxCoord) Refuse(what);
}

// The cell record's integers, in their order; the vertical alignment byte and the text
// follow them.
constexpr std::int32_t CTableCell::* kCellRecordFields[] = {
    &CTableCell::m_startRow,  &CTableCell::m_startCol,   &CTableCell::m_endRow,    &CTableCell::m_endCol,
    &CTableCell::m_x,         &CTableCell::m_y,          &CTableCell::m_cellWidth, &CTableCell::m_cellHeight,
    &CTableCell::m_textX,     &CTableCell::m_textY,      &CTableCell::m_textWidth, &CTableCell::m_textHeight,
};

} // namespace

CTableGrid::CTableGrid(CDocContext* doc, CDocNode* parent) : CDocNode(parent, kNodeTableGrid), m_doc(doc) {}

CTableGrid::~CTableGrid()
{
    ClearAll();
}

void CTableGrid::ClearAll()
{
    // A cell goes at its bottom-right slot, the one slot of its span that owns it.
    for (int r = 0; r < kMaxTableRows; ++r) {
        for (int c = 0; c < kMaxTableColumns; ++c) {
            CTableCell* cell = m_cells[r][c];
            if (cell && cell->m_endRow == r && cell->m_endCol == c) delete cell;
        }
    }
    for (auto& row : m_cells) row.fill(nullptr);
    for (auto& row : m_horizontalLines)
        for (auto& line : row) line.reset();
    for (auto& row : m_verticalLines)
        for (auto& line : row) line.reset();
}

void CTableGrid::Create(int rows, int columns, std::span<const int> widths)
{
    if (rows < 1 || rows > kMaxTableRows || columns < 1 || columns > kMaxTableColumns) return;
    if (!widths.empty() && static_cast<int>(widths.size()) < columns) return;
    ClearAll();
    m_rows = rows;
    m_columns = columns;
    auto widthOf = [&](int c) { return widths.empty() ? kDefaultColumnWidth : widths[static_cast<size_t>(c)]; };
    int extent = 0;
    for (int c = 0; c < columns; ++c) extent += widthOf(c);
    m_totalWidth = extent + 2 * kTableMargin;
    m_totalHeight = rows * kDefaultRowHeight + 2 * kTableMargin;
    for (int r = 0; r < rows; ++r) {
        int x = kTableMargin;
        for (int c = 0; c < columns; ++c) {
            m_cells[r][c] = new CTableCell(m_doc, this, r, c, r, c, x, kTableMargin + kDefaultRowHeight * r, widthOf(c),
                                           kDefaultRowHeight);
            x += widthOf(c);
        }
    }
    EnsureBorderLines();
    RelayoutAll(0);
}

CBorderLine* CTableGrid::GetHorizontalLine(int boundary, int column) const
{
    if (boundary < 0 || boundary > m_rows || column < 0 || column >= m_columns) return nullptr;
    return m_horizontalLines[boundary][column].get();
}

CBorderLine* CTableGrid::GetVerticalLine(int row, int boundary) const
{
    if (row < 0 || row >= m_rows || boundary < 0 || boundary > m_columns) return nullptr;
    return m_verticalLines[row][boundary].get();
}

CFloatObject* CTableGrid::GetTableObject() const
{
    return dynamic_cast<CFloatObject*>(GetParent());
}

void CTableGrid::PlaceCell(CTableCell* cell)
{
    for (int r = cell->m_startRow; r <= cell->m_endRow; ++r)
        for (int c = cell->m_startCol; c <= cell->m_endCol; ++c) m_cells[r][c] = cell;
}

// ---- the import's table building ----

void CTableGrid::MergeRowCells(int row, std::span<const std::uint8_t> flags)
{
    if (row < 0 || row >= m_rows) return;
    const int n = std::min(m_columns, static_cast<int>(flags.size()));
    for (int c = 1; c < n; ++c) {
        if (flags[static_cast<size_t>(c)] == 0) continue;
        CTableCell* left = m_cells[row][c - 1];
        CTableCell* right = m_cells[row][c];
        // Only two neighbours of the same rows merge into a rectangle.
        if (left == right || left->m_endCol != c - 1 || right->m_startCol != c || left->m_startRow != right->m_startRow ||
            left->m_endRow != right->m_endRow)
            continue;
        left->m_endCol = right->m_endCol;
        left->SetSize(right->m_x + right->m_cellWidth - left->m_x, right->m_y + right->m_cellHeight - left->m_y);
        PlaceCell(left);
        delete right;
    }
}

CTableCell* CTableGrid::SetCellOrMergeUp(int row, int column, std::uint8_t alignment, std::uint8_t verticalAlign,
                                         bool mergeUp)
{
    if (row < 0 || row >= m_rows || column < 0 || column >= m_columns) return nullptr;
    CTableCell* lower = m_cells[row][column];
    if (!mergeUp) {
        CParaFormat format = lower->GetRunningParaFormat();
        format.m_align = alignment;
        lower->SetRunningParaFormat(format);
        lower->m_verticalAlign = verticalAlign;
        return lower;
    }
    if (row == 0) return lower;
    CTableCell* upper = m_cells[row - 1][column];
    // The cell above must end right above and cover the same columns, or the merged cell
    // would not be a rectangle.
    if (upper == lower || upper->m_endRow != row - 1 || lower->m_startRow != row ||
        upper->m_startCol != lower->m_startCol || upper->m_endCol != lower->m_endCol)
        return lower;
    upper->m_endRow = lower->m_endRow;
    upper->SetSize(lower->m_x + lower->m_cellWidth - upper->m_x, lower->m_y + lower->m_cellHeight - upper->m_y);
    PlaceCell(upper);
    delete lower;
    return upper;
}

// ---- record ----

void CTableGrid::Save(plat::Archive& ar, int mode)
{
    ar.WriteI32(m_totalWidth);
    ar.WriteI32(m_totalHeight);
    ar.WriteI32(m_rows);
    ar.WriteI32(m_columns);
    for (int b = 0; b <= m_rows; ++b)
        for (int c = 0; c < m_columns; ++c) {
            const CBorderLine* line = m_horizontalLines[b][c].get();
            (line ? *line : CBorderLine()).Save(ar);
        }
    for (int r = 0; r < m_rows; ++r)
        for (int b = 0; b <= m_columns; ++b) {
            const CBorderLine* line = m_verticalLines[r][b].get();
            (line ? *line : CBorderLine()).Save(ar);
        }
    for (int r = 0; r < m_rows; ++r) {
        for (int c = 0; c < m_columns; ++c) {
            CTableCell* cell = m_cells[r][c];
            const bool owner = cell && cell->m_endRow == r && cell->m_endCol == c;
            ar.WriteI32(owner ? 1 : 0);
            if (!owner) continue;
            for (const auto field : kCellRecordFields) ar.WriteI32(cell->*field);
            ar.WriteU8(cell->m_verticalAlign);
            cell->CTextFrameObj::Save(ar, mode);
        }
    }
}

void CTableGrid::Load(plat::Archive& ar, int mode)
{
    const std::int32_t totalWidth = ar.ReadI32();
    const std::int32_t totalHeight = ar.ReadI32();
    const std::int32_t rows = ar.ReadI32();
    const std::int32_t columns = ar.ReadI32();
    CheckExtent(totalWidth, "total width");
    CheckExtent(totalHeight, "total height");
    if (rows < 1 || rows > kMaxTableRows) Refuse("row count");
    if (columns < 1 || columns > kMaxTableColumns) Refuse("column count");

    // Everything is read into its own owners first; the grid takes it only when the
    // whole record has been read and checked.
    LineArray horizontal, vertical;
    for (int b = 0; b <= rows; ++b)
        for (int c = 0; c < columns; ++c) {
            horizontal[b][c] = std::make_unique<CBorderLine>();
            horizontal[b][c]->Load(ar);
        }
    for (int r = 0; r < rows; ++r)
        for (int b = 0; b <= columns; ++b) {
            vertical[r][b] = std::make_unique<CBorderLine>();
            vertical[r][b]->Load(ar);
        }
    std::vector<std::unique_ptr<CTableCell>> owned;
    SlotArray slots{};
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < columns; ++c) {
            const std::int32_t flag = ar.ReadI32();
            if (flag == 0) continue;
            if (flag != 1) Refuse("slot flag");
            auto cell = std::make_unique<CTableCell>(m_doc, this);
            for (const auto field : kCellRecordFields) (*cell).*field = ar.ReadI32();
            // A cell is written at its bottom-right slot and spans a rectangle inside the grid.
            if (cell->m_endRow != r || cell->m_endCol != c) Refuse("cell written away from its last slot");
            if (cell->m_startRow < 0 || cell->m_startRow > r || cell->m_startCol < 0 || cell->m_startCol > c)
                Refuse("cell span");
            for (int sr = cell->m_startRow; sr <= r; ++sr)
                for (int sc = cell->m_startCol; sc <= c; ++sc)
                    if (slots[sr][sc]) Refuse("overlapping cells");
            CheckExtent(cell->m_x, "cell left");
            CheckExtent(cell->m_y, "cell top");
            CheckExtent(cell->m_cellWidth, "cell width");
            CheckExtent(cell->m_cellHeight, "cell height");
            // The text's place and measures read are worked out again below.
            cell->m_verticalAlign = ar.ReadU8();
            cell->RemoveAll();
            cell->CTextFrameObj::Load(ar, mode);
            CTableCell* placed = cell.get();
            owned.push_back(std::move(cell));
            for (int sr = placed->m_startRow; sr <= r; ++sr)
                for (int sc = placed->m_startCol; sc <= c; ++sc) slots[sr][sc] = placed;
        }
    }
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < columns; ++c)
            if (!slots[r][c]) Refuse("slot without a cell");

    ClearAll();
    m_rows = rows;
    m_columns = columns;
    m_totalWidth = totalWidth;
    m_totalHeight = totalHeight;
    m_horizontalLines = std::move(horizontal);
    m_verticalLines = std::move(vertical);
    m_cells = slots;
    for (auto& cell : owned) {
        CTableCell* c = cell.release();
        // The frame is the cell less its padding, whatever the record said.
        c->SetSize(c->m_cellWidth, c->m_cellHeight);
    }
}

void CTableGrid::PrepareItems()
{
    for (int r = 0; r < m_rows; ++r)
        for (int c = 0; c < m_columns; ++c) {
            CTableCell* cell = m_cells[r][c];
            if (cell->m_startRow == r && cell->m_startCol == c) cell->PrepareItems();
        }
}

void CTableGrid::RelayoutForObject()
{
    for (int r = 0; r < m_rows; ++r)
        for (int c = 0; c < m_columns; ++c) {
            CTableCell* cell = m_cells[r][c];
            if (cell->m_endRow == r && cell->m_endCol == c) RelayoutCell(r, c, 0);
        }
    if (CFloatObject* table = GetTableObject()) {
        table->m_width = m_totalWidth;
        table->m_height = m_totalHeight;
        table->RecalcLayout();
    }
}

// ---- format state ----

CFormatState* CTableGrid::GetFormatState() const
{
    return m_doc ? m_doc->GetFormatState() : nullptr;
}

namespace {

CCellPos ClampToGrid(const CCellPos& p, int rows, int columns)
{
    return CCellPos(std::clamp(p.m_row, 0, std::max(rows - 1, 0)), std::clamp(p.m_column, 0, std::max(columns - 1, 0)));
}

} // namespace

CCellPos CTableGrid::CurrentSlot() const
{
    const CFormatState* fs = GetFormatState();
    return fs ? ClampToGrid(fs->m_currentCell, m_rows, m_columns) : CCellPos();
}

void CTableGrid::SetCurrentSlot(const CCellPos& current, const CCellPos& rangeEnd)
{
    if (CFormatState* fs = GetFormatState()) {
        fs->m_currentCell = current;
        fs->m_rangeEndCell = rangeEnd;
    }
}

bool CTableGrid::HasRange() const
{
    const CFormatState* fs = GetFormatState();
    if (!fs) return false;
    return ClampToGrid(fs->m_currentCell, m_rows, m_columns) != ClampToGrid(fs->m_rangeEndCell, m_rows, m_columns);
}

void CTableGrid::ActivateCurrentCell()
{
    CFormatState* fs = GetFormatState();
    if (!fs || m_rows == 0) return;
    CTableCell* cell = GetCellAt(CurrentSlot());
    fs->SetFocusObject(cell);
    fs->m_verticalAlign = cell->m_verticalAlign;
}

void CTableGrid::RelayoutEditedCell()
{
    if (m_rows == 0) return;
    const CFormatState* fs = GetFormatState();
    const auto* cell = fs ? dynamic_cast<const CTableCell*>(fs->GetFocusObject()) : nullptr;
    if (cell && cell->GetGrid() == this) RelayoutCell(cell->m_startRow, cell->m_startCol, 0);
    else RelayoutCellAt(CurrentSlot());
}

template <class Apply>
void CTableGrid::ForSelectedCells(Apply apply)
{
    if (m_rows == 0) return;
    if (!HasRange()) {
        const CCellPos current = CurrentSlot();
        apply(*GetCellAt(current), false);
        RelayoutCellAt(current);
    } else {
        CCellPos topLeft, bottomRight;
        GetSelRange(topLeft, bottomRight);
        for (int r = topLeft.m_row; r <= bottomRight.m_row; ++r)
            for (int c = topLeft.m_column; c <= bottomRight.m_column; ++c) {
                CTableCell* cell = m_cells[r][c];
                if (cell->m_startRow != r || cell->m_startCol != c) continue;
                apply(*cell, true);
                RelayoutCell(r, c, 0);
            }
    }
    RelayoutAll(0);
    ActivateCurrentCell();
}

void CTableGrid::SetCharFormat(int fieldId, const CCharFormat& values)
{
    ForSelectedCells([&](CTableCell& cell, bool whole) {
        if (!whole) {
            cell.SetCharFormat(fieldId, values);
            return;
        }
        // Every character of the cell takes the format; the cell's own selection stays.
        CTextPos caret, anchor;
        cell.GetSelectionPositions(caret, anchor);
        cell.SetSelection(cell.GetEndPos(), cell.GetStartPos());
        cell.SetCharFormat(fieldId, values);
        cell.SetSelection(caret, anchor);
    });
}

void CTableGrid::SetParagraphAlign(std::uint8_t alignment)
{
    ForSelectedCells([&](CTableCell& cell, bool) { cell.CTextFrameObj::SetAlignment(alignment); });
}

void CTableGrid::SetLineSpacing(std::uint8_t spacing)
{
    ForSelectedCells([&](CTableCell& cell, bool) { cell.CTextFrameObj::SetLineSpacing(spacing); });
}
