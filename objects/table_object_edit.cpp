// The table object's editing slots: keys, mouse and text requests go to the grid at
// table-local points; the selection is painted here, with the feedback line of a boundary
// drag; cell blocks go to and from the clipboard.
#include "document/doc_body.h"
#include "document/render_context.h"
#include "document/statistics.h"
#include "document/units.h"
#include "objects/object_prop_dlg.h"
#include "objects/point_list.h"
#include "objects/table_object.h"
#include "platform/gfx/dc.h"
#include "platform/gfx/pen_brush.h"

namespace {

// The move handle at the top-left corner: its hit code and half its square (twips).
constexpr std::uint8_t kTableHandleCode = 26;
constexpr int kHandleHalf = 80;
// The copy and delete answers: the text in a cell, the whole object, a block of cells.
constexpr int kCopyNothing = 0;
constexpr int kCopyText = 1;
constexpr int kCopyObject = 2;
constexpr int kCopyCells = 4;
constexpr plat::ColorRef kDragLineColor = 0x808080;
// Far beyond any canvas: the feedback line crosses all that is visible.
constexpr int kAcrossCanvas = 1 << 15;

bool OnHandle(const plat::Rect& bounds, int x, int y)
{
    return x >= bounds.left - kHandleHalf && x < bounds.left + kHandleHalf && y >= bounds.top - kHandleHalf &&
           y < bounds.top + kHandleHalf;
}

} // namespace

int CTableObject::ShowProperties()
{
    CQlDoc* doc = dynamic_cast<CQlDoc*>(m_doc);
    CTablePropDlg dlg(doc ? doc->GetCanvas() : nullptr);
    return RunWrapProperties(*this, dlg, true);
}

void CTableObject::OnKeyTab(bool shift)
{
    if (m_grid) m_grid->MoveToNextCell(shift);
}
void CTableObject::OnKeyCtrlHome(bool shift)
{
    if (m_grid) m_grid->MoveToCellStart(shift);
}
void CTableObject::OnKeyCtrlEnd(bool shift)
{
    if (m_grid) m_grid->MoveToCellEnd(shift);
}
void CTableObject::OnKeyHome(bool shift)
{
    if (m_grid) m_grid->MoveToLineStart(shift);
}
void CTableObject::OnKeyEnd(bool shift)
{
    if (m_grid) m_grid->MoveToLineEnd(shift);
}
void CTableObject::OnKeyLeft(bool shift)
{
    if (m_grid) m_grid->MoveLeft(shift);
}
void CTableObject::OnKeyRight(bool shift)
{
    if (m_grid) m_grid->MoveRight(shift);
}
void CTableObject::OnKeyUp(bool shift)
{
    if (m_grid) m_grid->MoveUp(shift);
}
void CTableObject::OnKeyDown(bool shift)
{
    if (m_grid) m_grid->MoveDown(shift);
}

void CTableObject::GetHandles(CPointList& handles)
{
    handles.RemoveAll();
    handles.AddNode(CPointNode(m_bounds.left, m_bounds.top, kTableHandleCode));
}

std::uint8_t CTableObject::HitTest(int x, int y, CPointList& /*handles*/)
{
    if (!m_grid) return 0;
    if (OnHandle(m_bounds, x, y)) return kTableHandleCode;
    if (!m_bounds.Contains(plat::Point(x, y))) return 0;
    return m_grid->GetZone(x - m_bounds.left, y - m_bounds.top);
}

CTextItem* CTableObject::TextItemAtPoint(int x, int y)
{
    if (!m_grid || !m_bounds.Contains(plat::Point(x, y))) return nullptr;
    return m_grid->TextItemAtPoint(x - m_bounds.left, y - m_bounds.top);
}

int CTableObject::AddSpellingSuggestions(int x, int y, CSpellEngine& engine, const SpellSuggestionSink& sink,
                                         int position, CSpellError** error)
{
    if (!m_grid) return 0;
    return m_grid->AddSpellingSuggestions(x - m_bounds.left, y - m_bounds.top, engine, sink, position, error);
}

std::uint8_t CTableObject::BeginTrack(int x, int y, bool /*shift*/, CPointList& /*handles*/)
{
    if (!m_grid || m_grid->GetRows() == 0) return 0;
    const bool handle = OnHandle(m_bounds, x, y);
    if (!handle && !m_bounds.Contains(plat::Point(x, y))) return 0;
    CFormatState* fs = m_doc ? m_doc->GetFormatState() : nullptr;
    if (CDocBody* body = GetBody()) body->DeselectAll();
    SetSelected(true);
    if (fs) fs->m_trackedObject = this;
    if (handle) {
        // The whole table is selected and the page drags the object.
        if (fs) {
            fs->m_currentCell = CCellPos(0, 0);
            fs->m_rangeEndCell = CCellPos(m_grid->GetRows() - 1, m_grid->GetColumns() - 1);
            fs->SetFocusObject(nullptr);
        }
        return kTableHandleCode;
    }
    if (fs) fs->m_currentCell = fs->m_rangeEndCell = CCellPos(0, 0);
    m_grid->ActivateCurrentCell();
    return m_grid->OnLButtonDown(x - m_bounds.left, y - m_bounds.top);
}

void CTableObject::TrackTo(int x, int y)
{
    if (!m_grid) return;
    CFormatState* fs = m_doc ? m_doc->GetFormatState() : nullptr;
    const std::uint8_t zone = fs ? fs->m_tableZone : 0;
    if (zone == CTableGrid::kZoneRowBoundary || zone == CTableGrid::kZoneColumnBoundary) {
        // Only the feedback line follows; the grid changes on release.
        fs->m_dragPoint = plat::Point(x, y);
        return;
    }
    m_grid->OnMouseMove(x - m_bounds.left, y - m_bounds.top);
}

void CTableObject::EndTrack(int x, int y)
{
    if (!m_grid) return;
    CFormatState* fs = m_doc ? m_doc->GetFormatState() : nullptr;
    const std::uint8_t zone = fs ? fs->m_tableZone : 0;
    if (zone >= CTableGrid::kZoneLeftMargin && zone <= CTableGrid::kZoneBottomMargin) {
        if (m_grid->HasCellRange()) fs->SetFocusObject(nullptr);
        else m_grid->ActivateCurrentCell();
        return;
    }
    m_grid->OnLButtonUp(x - m_bounds.left, y - m_bounds.top);
    if (m_grid->GetTotalWidth() != m_width || m_grid->GetTotalHeight() != m_height) TakeGridSize();
}

void CTableObject::DrawSelection(plat::Dc& dc, double zoom, int x0, int y0)
{
    if (!m_grid || m_grid->GetRows() == 0) return;
    CRenderContext rc(m_doc, dc);
    const plat::Point corner = TwipsToPixelsPoint(dc, zoom, m_bounds.left, m_bounds.top);
    const int cx = x0 + corner.x, cy = y0 + corner.y;

    // The move handle: a square with a cross through its centre.
    rc.SetLinePen(dc, zoom, 2, static_cast<std::int32_t>(CColorRef::GetBlue()));
    const int half = TwipsToPixels(dc, zoom, kHandleHalf);
    dc.MoveTo(cx - half, cy - half);
    dc.LineTo(cx + half, cy - half);
    dc.LineTo(cx + half, cy + half);
    dc.LineTo(cx - half, cy + half);
    dc.LineTo(cx - half, cy - half);
    dc.MoveTo(cx - half, cy);
    dc.LineTo(cx + half, cy);
    dc.MoveTo(cx, cy - half);
    dc.LineTo(cx, cy + half);

    const CFormatState* fs = m_doc ? m_doc->GetFormatState() : nullptr;
    if (!m_grid->HasCellRange()) {
        // The caret's cell draws its caret and selection; its text knows its own origin.
        if (fs && fs->m_currentCell.m_row < m_grid->GetRows() && fs->m_currentCell.m_column < m_grid->GetColumns())
            m_grid->GetCellAt(fs->m_currentCell)->DrawCaret(dc, zoom, x0, y0);
    } else {
        CCellPos topLeft, bottomRight;
        m_grid->GetSelRange(topLeft, bottomRight);
        for (int r = topLeft.m_row; r <= bottomRight.m_row; ++r)
            for (int c = topLeft.m_column; c <= bottomRight.m_column; ++c) {
                const CTableCell* cell = m_grid->GetCell(r, c);
                if (cell->m_startRow != r || cell->m_startCol != c) continue;
                const plat::Point a = TwipsToPixelsPoint(dc, zoom, cell->m_x, cell->m_y);
                const plat::Point b =
                    TwipsToPixelsPoint(dc, zoom, cell->m_x + cell->m_cellWidth, cell->m_y + cell->m_cellHeight);
                dc.InvertRect(plat::Rect(cx + a.x + 1, cy + a.y + 1, cx + b.x - 1, cy + b.y - 1));
            }
    }

    if (fs && fs->m_dragActive &&
        (fs->m_tableZone == CTableGrid::kZoneRowBoundary || fs->m_tableZone == CTableGrid::kZoneColumnBoundary)) {
        rc.SetPen(dc, plat::kPenDot, 1, static_cast<std::int32_t>(kDragLineColor));
        const plat::Point p = TwipsToPixelsPoint(dc, zoom, fs->m_dragPoint.x, fs->m_dragPoint.y);
        if (fs->m_tableZone == CTableGrid::kZoneRowBoundary) {
            dc.MoveTo(-kAcrossCanvas, y0 + p.y);
            dc.LineTo(kAcrossCanvas, y0 + p.y);
        } else {
            dc.MoveTo(x0 + p.x, -kAcrossCanvas);
            dc.LineTo(x0 + p.x, kAcrossCanvas);
        }
    }
    rc.Restore(dc);
}

bool CTableObject::IsEditingText() const
{
    return m_grid && !m_grid->HasCellRange();
}

namespace {

// Whether the selected range is the whole table.
bool WholeTableSelected(const CTableGrid& grid)
{
    CCellPos topLeft, bottomRight;
    grid.GetSelRange(topLeft, bottomRight);
    return topLeft == CCellPos(0, 0) && bottomRight == CCellPos(grid.GetRows() - 1, grid.GetColumns() - 1);
}

const CTextFlow* FocusText(const CDocContext* doc)
{
    const CFormatState* fs = doc ? doc->GetFormatState() : nullptr;
    return fs ? fs->GetFocusObject() : nullptr;
}

} // namespace

int CTableObject::CanCopyText() const
{
    if (!m_grid || m_grid->GetRows() == 0) return kCopyObject;
    if (!m_grid->HasCellRange()) {
        const CTextFlow* focus = FocusText(m_doc);
        return focus && focus->HasSelection() ? kCopyText : kCopyNothing;
    }
    return WholeTableSelected(*m_grid) ? kCopyObject : kCopyCells;
}

int CTableObject::CanDeleteText() const
{
    if (!m_grid || m_grid->GetRows() == 0) return kCopyObject;
    if (!m_grid->HasCellRange()) {
        const CTextFlow* focus = FocusText(m_doc);
        return focus && (focus->HasSelection() || focus->CanDeleteForward()) ? kCopyText : kCopyNothing;
    }
    return WholeTableSelected(*m_grid) ? kCopyObject : kCopyCells;
}

bool CTableObject::CanDeleteBackward() const
{
    if (!m_grid || m_grid->HasCellRange()) return false;
    const CTextFlow* focus = FocusText(m_doc);
    return focus && focus->CanDeleteBackward();
}

std::vector<std::uint8_t> CTableObject::CopyCells()
{
    return m_grid ? m_grid->CopyCellBlock() : std::vector<std::uint8_t>();
}

bool CTableObject::CanPasteCells(const std::vector<std::uint8_t>& block) const
{
    return m_grid && m_grid->GetRows() > 0 && CTableGrid::IsCellBlockValid(m_doc, block);
}

void CTableObject::PasteCells(const std::vector<std::uint8_t>& block)
{
    if (!m_grid || !m_grid->PasteCellBlock(block)) return;
    TakeGridSize();
}

void CTableObject::DeleteCells()
{
    if (m_grid) m_grid->DeleteCells();
}

bool CTableObject::HasText() const
{
    return m_grid && m_grid->HasText();
}

int CTableObject::SpellCheck(CSpellEngine& engine, CSpellCheckUi& ui, plat::Point& dialogPos)
{
    return m_grid ? m_grid->SpellCheck(engine, ui, dialogPos) : 1;
}

int CTableObject::SpellCheckWith(CSentenceChecker& checker, CSpellCheckUi& ui, plat::Point& dialogPos)
{
    return m_grid ? m_grid->SpellCheckWith(checker, ui, dialogPos) : 1;
}

void CTableObject::ClearSpellMarks()
{
    if (m_grid) m_grid->ClearSpellMarks(0, 0);
}

void CTableObject::MarkSpelling()
{
    CSpellEngine* engine = m_doc ? m_doc->GetSpellEngine() : nullptr;
    if (m_grid && engine) m_grid->MarkSpelling(*engine, 0, 0);
}

void CTableObject::MarkSentenceErrors(CSentenceChecker& checker)
{
    if (m_grid) m_grid->MarkSentenceErrors(checker, 0, 0);
}

void CTableObject::RemoveAnnotationMark(std::int16_t annotation)
{
    if (m_grid) m_grid->RemoveAnnotationMark(annotation);
}

void CTableObject::ConvertCyrillic(int mode)
{
    if (m_grid) m_grid->ConvertCyrillic(mode);
}

void CTableObject::CountStatistics(CStatistics& stats) const
{
    stats[CStatistics::kTables] += 1;
    if (m_grid) m_grid->CountStatistics(stats);
}

bool CTableObject::FindNext(CFindState& state)
{
    return m_grid && m_grid->FindNext(state);
}
