#include "editor/color_palette_dlg.h"

#include <algorithm>

#include "platform/gfx/pen_brush.h"
#include "platform/ui/focus.h"
#include "platform/ui/message_box.h"
#include "resources/res_dib.h"
#include "resources/res_dialogs.h"
#include "resources/res_palette_dialogs.h"

namespace {

// The pattern buttons' inner rectangle, inside their face.
constexpr int kPatternInset = 4;

} // namespace

// ---- CColorPopupDlg ----

CColorPopupDlg::CColorPopupDlg(int templateId, plat::Window* parent)
    : plat::Dialog(DialogTemplateOf(templateId), parent), m_parent(parent)
{
}

void CColorPopupDlg::PlaceAt(plat::Size size)
{
    plat::Point origin(m_x, m_y);
    if (m_x == 0 && m_y == 0) {
        const plat::Rect around = m_parent && m_parent->IsCreated() ? m_parent->GetWindowRect() : GetWindowRect();
        origin = plat::Point(around.left + (around.Width() - size.cx) / 2, around.top + (around.Height() - size.cy) / 2);
    }
    MoveWindow(plat::Rect(origin.x, origin.y, origin.x + size.cx, origin.y + size.cy));
}

int CColorPopupDlg::ControlAt(plat::Point client) const
{
    if (!GetClientRect().Contains(client)) return 0;
    for (plat::Control* c : GetControls())
        if ((c->GetStyle() & plat::kWsVisible) && c->GetRect().Contains(client) && c->GetId() != plat::kIdStatic)
            return c->GetId();
    return 0;
}

bool CColorPopupDlg::IsCell(int id)
{
    return id >= kIdcColorCellFirst && id <= kIdcColorCellLast;
}

int CColorPopupDlg::CellIndex(int id)
{
    return id - kIdcColorCellFirst;
}

plat::Point CColorPopupDlg::ClientPoint(plat::LParam lParam)
{
    return plat::PointFromLParam(lParam);
}

void CColorPopupDlg::Finish(int result)
{
    if (plat::GetCapture() == this) plat::ReleaseCapture();
    EndDialog(result);
}

// ---- CColorPaletteDlg ----

CColorPaletteDlg::CColorPaletteDlg(plat::Window* parent) : CColorPaletteDlg(kIddColorPalette, 0xFF0000, parent) {}

CColorPaletteDlg::CColorPaletteDlg(int templateId, std::int32_t color, plat::Window* parent)
    : CColorPopupDlg(templateId, parent), m_color(color)
{
    std::copy(std::begin(CColorPalette::kStandard), std::end(CColorPalette::kStandard), m_colors.begin());
}

bool CColorPaletteDlg::OnInitDialog()
{
    plat::Dialog::OnInitDialog();
    PlaceAt(plat::Size(GetWindowRect().Width(), GetWindowRect().Height()));
    plat::SetCapture(this);
    return false;
}

void CColorPaletteDlg::OnDrawItem(plat::DrawItem& item)
{
    if (!IsCell(item.ctlId) || CellIndex(item.ctlId) >= CColorPalette::kStandardCount) return;
    const std::int32_t color = m_colors[static_cast<size_t>(CellIndex(item.ctlId))];
    if (color == m_color) DrawSelectedCell(*item.dc, item.rect, static_cast<plat::ColorRef>(color));
    else DrawColourCell(*item.dc, item.rect, static_cast<plat::ColorRef>(color));
}

plat::LResult CColorPaletteDlg::WindowProc(unsigned message, plat::WParam wParam, plat::LParam lParam)
{
    if (message != plat::kWmLButtonDown) return CColorPopupDlg::WindowProc(message, wParam, lParam);
    const int id = ControlAt(ClientPoint(lParam));
    if (IsCell(id) && CellIndex(id) < CColorPalette::kStandardCount) {
        m_color = m_colors[static_cast<size_t>(CellIndex(id))];
        Finish(plat::kIdOk);
    } else if (id == kIdcAutomatic) {
        m_color = AutomaticColor();
        Finish(plat::kIdOk);
    } else {
        Finish(OnOtherClick(id) ? plat::kIdOk : plat::kIdCancel);
    }
    return 0;
}

// ---- CColorPatternPaletteDlg ----

CColorPatternPaletteDlg::CColorPatternPaletteDlg(plat::Window* parent)
    : CColorPaletteDlg(kIddColorPatternPalette, 0x00FFFF, parent)
{
}

bool CColorPatternPaletteDlg::OnOtherClick(int id)
{
    if (id < kIdcPatternFirst || id > kIdcPatternLast) return false;
    m_pattern = id - kIdcPatternFirst + 1;
    return true;
}

void CColorPatternPaletteDlg::OnDrawItem(plat::DrawItem& item)
{
    if (item.ctlId >= kIdcPatternFirst && item.ctlId <= kIdcPatternLast)
        DrawPatternButton(item, item.ctlId - kIdcPatternFirst + 1);
    else
        CColorPaletteDlg::OnDrawItem(item);
}

void CColorPatternPaletteDlg::DrawPatternButton(plat::DrawItem& item, int pattern) const
{
    plat::Dc& dc = *item.dc;
    if (pattern == m_pattern) DrawPressedButton(dc, item.rect);
    else FillButtonFace(dc, item.rect);
    plat::Rect inner = item.rect;
    inner.Inflate(-kPatternInset, -kPatternInset);
    const plat::ColorRef color = static_cast<plat::ColorRef>(m_color) & 0xFFFFFF;
    // Patterns 3-8 take the hatches in this order.
    static constexpr plat::HatchStyle kHatches[] = {plat::kHatchHorizontal, plat::kHatchVertical, plat::kHatchCross,
                                                    plat::kHatchFDiagonal, plat::kHatchBDiagonal,
                                                    plat::kHatchDiagCross};
    const plat::Brush brush = pattern == 1   ? plat::Brush::Null()
                              : pattern == 2 ? plat::Brush::Solid(color)
                                             : plat::Brush::Hatched(kHatches[pattern - 3], color);
    const plat::Pen pen(plat::kPenSolid, 1, plat::Rgb(0, 0, 0));
    const plat::Pen* oldPen = dc.Select(&pen);
    const plat::Brush* oldBrush = dc.Select(&brush);
    const int oldMode = dc.SetBkMode(plat::kTransparent);
    dc.Rectangle(inner.left, inner.top, inner.right, inner.bottom);
    dc.SetBkMode(oldMode);
    dc.Select(oldBrush);
    dc.Select(oldPen);
}
