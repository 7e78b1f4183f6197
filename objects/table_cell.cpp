#include "objects/table_cell.h"

#include <algorithm>

#include "document/doc_body.h"
#include "document/float_object.h"
#include "document/line_layout.h"
#include "document/text_item.h"
#include "document/units.h"
#include "objects/table_grid.h"

namespace {

constexpr int kHalfPadding = kCellPadding / 2;

} // namespace

CTableCell::CTableCell(CDocContext* doc, CTableGrid* grid, int startRow, int startCol, int endRow, int endCol, int x,
                       int y, int width, int height)
    : CTextFrameObj(doc, grid, kNodeTableCell, width - kCellPadding, height - kCellPadding, kAlignLeft),
      m_startRow(startRow), m_startCol(startCol), m_endRow(endRow), m_endCol(endCol), m_x(x), m_y(y),
      m_cellWidth(width), m_cellHeight(height), m_textX(x + kHalfPadding), m_textY(y + kHalfPadding),
      m_textWidth(width - kCellPadding), m_textHeight(height - kCellPadding)
{
    // A frame made with no size at all is left empty for a record; a cell never is.
    AppendFinalParaEnd();
    SetCaret(GetStartPos());
    Relayout(1, 0);
}

CTableCell::CTableCell(CDocContext* doc, CTableGrid* grid)
    : CTextFrameObj(doc, grid, kNodeTableCell, 0, 0, kAlignLeft)
{
}

CTableCell::~CTableCell() = default;

CTableGrid* CTableCell::GetGrid() const
{
    return static_cast<CTableGrid*>(GetParent());
}

void CTableCell::FocusForSpellCheck()
{
    CTableGrid* grid = GetGrid();
    if (!grid) return;
    if (CFloatObject* table = grid->GetTableObject()) {
        if (CDocBody* body = table->GetBody()) body->DeselectAll();
        table->SetSelected(true);
    }
    grid->SelectCell(*this);
}

void CTableCell::SetSize(int width, int height)
{
    m_cellWidth = width;
    m_cellHeight = height;
    CTextFrameObj::SetSize(width - kCellPadding, height - kCellPadding);
    Relayout(1, 0);
}

void CTableCell::SetPosition(int x, int y)
{
    m_x = x;
    m_y = y;
    const int frameHeight = m_cellHeight - kCellPadding;
    switch (m_verticalAlign) {
    case kAlignTop:
        m_textX = x + kHalfPadding;
        m_textY = y + kHalfPadding;
        break;
    case kAlignMiddle:
        m_textX = x + kHalfPadding;
        m_textY = y + kHalfPadding + (frameHeight - m_textHeight) / 2;
        break;
    case kAlignBottom:
        m_textX = x + kHalfPadding;
        m_textY = y + kHalfPadding + (frameHeight - m_textHeight);
        break;
    default:
        break; // an alignment the cell does not know leaves the text where it was
    }
}

void CTableCell::Relayout(int all, int retry)
{
    CTextFrameObj::Relayout(all, retry);
    m_textWidth = m_width;
    m_textHeight = m_contentHeight;
    SetPosition(m_x, m_y);
}

plat::Size CTableCell::GetContentExtent() const
{
    if (GetCount() == 0) return plat::Size(kMinCellContentWidth, 0);
    int right = 0, bottom = 0;
    for (int i = 0; i < GetCount(); ++i) {
        const CTextItem* item = ItemAt(i);
        right = std::max(right, item->GetLeft() + item->GetWidth());
        bottom = std::max(bottom, item->GetTop() + item->GetHeight());
    }
    return plat::Size(std::max(right, kMinCellContentWidth), bottom);
}

void CTableCell::DrawAt(plat::Dc& dc, double zoom, int x, int y, CRenderContext& rc, int pass)
{
    Draw(dc, zoom, x + TwipsToPixels(dc, zoom, m_textX), y + TwipsToPixels(dc, zoom, m_textY), pass, rc, true);
}

void CTableCell::AppendItemsFrom(CTableCell& other)
{
    MoveItemsFrom(other, GetCount() - 1);
    Relayout(1, 0);
}

bool CTableCell::CanMoveLeft() const
{
    return m_caret.m_index > 0;
}

bool CTableCell::CanMoveRight() const
{
    return m_caret.m_index < GetCount() - 1;
}

bool CTableCell::CanMoveUp() const
{
    const CTextItem* caret = CaretItem();
    return caret && GetCount() > 0 && caret->GetLineTop() > ItemAt(0)->GetLineTop();
}

bool CTableCell::CanMoveDown() const
{
    const CTextItem* caret = CaretItem();
    return caret && GetCount() > 0 && caret->GetLineTop() < ItemAt(GetCount() - 1)->GetLineTop();
}

void CTableCell::ClearText()
{
    DeleteRange(0, GetCount() - 1);
    SetCaret(GetStartPos());
    m_anchor = m_caret;
    Relayout(1, 0);
}

plat::Point CTableCell::GetPageOrigin() const
{
    const CDocNode* grid = GetParent();
    const auto* table = grid ? dynamic_cast<const CFloatObject*>(grid->GetParent()) : nullptr;
    const plat::Point corner = table ? plat::Point(table->m_bounds.left, table->m_bounds.top) : plat::Point();
    return plat::Point(corner.x + m_textX, corner.y + m_textY);
}
