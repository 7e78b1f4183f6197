#include "objects/table_object.h"

#include "document/units.h"

namespace {

constexpr std::uint8_t kTableLayer = 3;

std::unique_ptr<CFloatObject> MakeTable(CDocContext* doc, CDocNode* parent)
{
    return std::make_unique<CTableObject>(doc, parent);
}

} // namespace

void RegisterTableKind()
{
    RegisterDocObject(kNodeTable, &MakeTable);
}

CTableObject::CTableObject(CDocContext* doc, CDocNode* parent) : CFloatObject(doc, parent, kNodeTable)
{
    m_wrapMode = kWrapNone;
    m_layer = kTableLayer;
}

CTableObject::~CTableObject() = default;

void CTableObject::Load(plat::Archive& ar, int mode)
{
    LoadBase(ar, mode);
    auto grid = std::make_unique<CTableGrid>(m_doc, this);
    grid->Load(ar, mode);
    m_grid = std::move(grid);
    RecalcLayout();
}

void CTableObject::Save(plat::Archive& ar, int mode, int dx, int dy)
{
    if (!m_grid) throw plat::ArchiveException(plat::ArchiveException::kGeneric, "table without a grid");
    SaveBase(ar, mode, dx, dy);
    m_grid->Save(ar, mode);
}

void CTableObject::PrepareItems()
{
    if (m_grid) m_grid->PrepareItems();
}

void CTableObject::RelayoutContent()
{
    if (m_grid) m_grid->RelayoutForObject();
}

void CTableObject::Draw(plat::Dc& dc, double zoom, int x0, int y0, int pass, CRenderContext& rc)
{
    if (m_grid) {
        const plat::Point corner = TwipsToPixelsPoint(dc, zoom, m_bounds.left, m_bounds.top);
        m_grid->Draw(dc, zoom, x0 + corner.x, y0 + corner.y, rc, pass);
    }
    CFloatObject::Draw(dc, zoom, x0, y0, pass, rc);
}

plat::Size CTableObject::RelayoutGrid()
{
    if (!m_grid || m_grid->GetRows() == 0) return plat::Size(m_width, m_height);
    m_grid->RelayoutEditedCell();
    return m_grid->GetTotalSize();
}

bool CTableObject::TakeSource(const CNewObjectSource& /*source*/)
{
    return true;
}

CTableGrid& CTableObject::CreateGrid(int rows, int columns, std::span<const int> widths)
{
    m_grid = std::make_unique<CTableGrid>(m_doc, this);
    m_grid->Create(rows, columns, widths);
    TakeGridSize();
    return *m_grid;
}

bool CTableObject::BeginGrid(int rows, int columns, std::span<const std::int32_t> widths)
{
    auto grid = std::make_unique<CTableGrid>(m_doc, this);
    grid->Create(rows, columns, widths);
    if (grid->GetRows() != rows || grid->GetColumns() != columns) return false;
    m_grid = std::move(grid);
    TakeGridSize();
    return true;
}

void CTableObject::MergeRowCells(int row, std::span<const std::uint8_t> flags)
{
    if (m_grid) m_grid->MergeRowCells(row, flags);
}

CTextFlow* CTableObject::SetCell(int row, int column, std::uint8_t alignment, std::uint8_t verticalAlignment,
                                 bool mergeUp)
{
    if (!m_grid) return nullptr;
    CTableCell* cell = m_grid->SetCellOrMergeUp(row, column, alignment, verticalAlignment, mergeUp);
    // A joined cell's text has nowhere to go; a cell that found nothing to join keeps its own.
    if (cell && mergeUp && cell->m_startRow != row) return nullptr;
    return cell;
}

void CTableObject::TakeGridSize()
{
    if (!m_grid) return;
    m_width = m_grid->GetTotalWidth();
    m_height = m_grid->GetTotalHeight();
    RecalcLayout();
}
