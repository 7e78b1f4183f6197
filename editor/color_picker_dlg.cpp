#include "editor/color_picker_dlg.h"

#include <algorithm>
#include <array>

#include "document/color_math.h"
#include "platform/gfx/pen_brush.h"
#include "platform/ui/button.h"
#include "platform/ui/edit.h"
#include "platform/ui/focus.h"
#include "platform/ui/message_box.h"
#include "resources/res_dib.h"
#include "resources/res_palette_dialogs.h"

namespace {

constexpr int kMaxHue = 239;
constexpr int kMaxScale = 240; // saturation and luminance
constexpr int kMaxComponent = 255;
constexpr int kMarkerRadius = 4;
constexpr int kPointerLength = 8;
constexpr int kPointerHalfHeight = 4;
constexpr plat::ColorRef kMarkerColor = plat::Rgb(255, 255, 0);
constexpr plat::ColorRef kBlack = plat::Rgb(0, 0, 0);

bool InRange(std::optional<int> value, int max)
{
    return value && *value >= 0 && *value <= max;
}

} // namespace

CColorPickerDlg::CColorPickerDlg(CColorPalette& palette, ColorPickerAutomatic automatic, plat::Window* parent)
    : CColorPopupDlg(kIddColorPicker, parent), m_palette(palette), m_automatic(automatic)
{
}

// ---- colour arithmetic ----

void CColorPickerDlg::UpdateHslFromRgb()
{
    if (m_red == m_green && m_green == m_blue) {
        m_saturation = 0;
        m_luminance = m_red * kMaxScale / kMaxComponent;
        return;
    }
    const HslColor hsl = RgbToHsl(m_red, m_green, m_blue);
    m_hue = hsl.hue;
    m_saturation = hsl.saturation;
    m_luminance = hsl.lightness;
}

plat::ColorRef CColorPickerDlg::HslToColor() const
{
    return HslToRgb(m_hue, m_saturation, m_luminance);
}

plat::Rect CColorPickerDlg::GetMarkerRect() const
{
    const int x = m_hue * kFieldWidth / kMaxHue;
    const int y = (kMaxScale - m_saturation) * kFieldHeight / kMaxScale;
    return plat::Rect(x - kMarkerRadius, y - kMarkerRadius, x + kMarkerRadius, y + kMarkerRadius);
}

void CColorPickerDlg::SetRgbFromColor(plat::ColorRef color)
{
    // An automatic colour has no components of its own.
    if (color & 0xFF000000) color = 0;
    m_red = plat::RValue(color);
    m_green = plat::GValue(color);
    m_blue = plat::BValue(color);
}

void CColorPickerDlg::TakeHslColor()
{
    const plat::ColorRef color = HslToColor();
    m_color = static_cast<std::int32_t>(color);
    m_red = plat::RValue(color);
    m_green = plat::GValue(color);
    m_blue = plat::BValue(color);
}

// ---- opening ----

bool CColorPickerDlg::OnInitDialog()
{
    plat::Dialog::OnInitDialog();
    m_palette.UseColor(m_color);
    m_fullRect = GetClientRect();
    PlaceAt(kCompactSize);
    SetRgbFromColor(static_cast<plat::ColorRef>(m_color));
    UpdateHslFromRgb();
    FillEdits();
    if (m_automatic == ColorPickerAutomatic::kHide) {
        for (int id : {static_cast<int>(kIdcAutomatic), static_cast<int>(kIdcPickerFill)})
            if (plat::Control* c = GetDlgItem(id)) c->ShowWindow(plat::kSwHide);
    }
    plat::SetCapture(this);
    m_expanded = false;
    m_drag = DragMode::kNone;
    return false;
}

void CColorPickerDlg::FillEdits()
{
    m_filling = true;
    SetDlgItemInt(kIdcPickerRed, m_red);
    SetDlgItemInt(kIdcPickerGreen, m_green);
    SetDlgItemInt(kIdcPickerBlue, m_blue);
    SetDlgItemInt(kIdcPickerHue, m_hue);
    SetDlgItemInt(kIdcPickerSat, m_saturation);
    SetDlgItemInt(kIdcPickerLumEdit, m_luminance);
    m_filling = false;
}

void CColorPickerDlg::Expand()
{
    const plat::Size full(m_fullRect.Width(), m_fullRect.Height());
    PlaceAt(full);
    SetDlgItemText(kIdcPickerExpand, u"添加");
    m_expanded = true;
    if (plat::GetCapture() == this) plat::ReleaseCapture();
}

// ---- mouse ----

plat::LResult CColorPickerDlg::WindowProc(unsigned message, plat::WParam wParam, plat::LParam lParam)
{
    switch (message) {
    case plat::kWmLButtonDown:
        OnLButtonDown(ClientPoint(lParam));
        return 0;
    case plat::kWmMouseMove:
        if (m_drag != DragMode::kNone) OnDrag(ClientPoint(lParam), false);
        return 0;
    case plat::kWmLButtonUp:
        if (m_drag != DragMode::kNone) OnDrag(ClientPoint(lParam), true);
        return 0;
    default:
        return CColorPopupDlg::WindowProc(message, wParam, lParam);
    }
}

void CColorPickerDlg::OnLButtonDown(plat::Point client)
{
    const int id = ControlAt(client);
    if (!m_expanded) {
        if (IsCell(id)) {
            const std::int32_t color = m_palette.GetColor(CellIndex(id));
            // An empty custom slot keeps the colour as it was.
            if (CellIndex(id) < CColorPalette::kStandardCount || color != CColorPalette::kEmptySlot) m_color = color;
            Finish(plat::kIdOk);
        } else if (id == kIdcAutomatic || id == kIdcPickerFill) {
            // Hidden buttons are not found under the mouse.
            m_color = id == kIdcAutomatic ? kAutomaticTextColor : kAutomaticFillColor;
            Finish(plat::kIdOk);
        } else if (id == kIdcPickerExpand) {
            Expand();
        } else {
            Finish(plat::kIdCancel);
        }
        return;
    }
    if (!GetClientRect().Contains(client)) {
        Finish(plat::kIdCancel);
    } else if (id == kIdcPickerLum) {
        m_drag = DragMode::kLuminance;
        plat::SetCapture(this);
    } else if (id == kIdcPickerHueSat) {
        m_drag = DragMode::kHueSaturation;
        Repaint(kIdcPickerHueSat); // the marker goes while dragging
        plat::SetCapture(this);
    }
}

plat::Point CColorPickerDlg::ControlPoint(int id, plat::Point client) const
{
    const plat::Control* c = GetDlgItem(id);
    const plat::Rect r = c ? c->GetRect() : plat::Rect();
    return plat::Point(client.x - r.left, client.y - r.top);
}

void CColorPickerDlg::OnDrag(plat::Point client, bool release)
{
    const bool luminance = m_drag == DragMode::kLuminance;
    plat::Point p = ControlPoint(luminance ? kIdcPickerLum : kIdcPickerHueSat, client);
    p.y = p.y > kFieldHeight - 1 ? kFieldHeight : std::max(p.y, 0);
    p.x = p.x > kFieldWidth - 1 ? kFieldWidth : std::max(p.x, 0);
    if (luminance) {
        m_luminance = (kFieldHeight - p.y) * kMaxScale / kFieldHeight;
    } else {
        m_saturation = kMaxScale - p.y * kMaxScale / kFieldHeight;
        m_hue = p.x * kMaxHue / kFieldWidth;
    }
    TakeHslColor();
    FillEdits();
    Repaint(kIdcPickerLum);
    Repaint(kIdcPickerPreview);
    if (!release) return;
    m_drag = DragMode::kNone;
    if (plat::GetCapture() == this) plat::ReleaseCapture();
    Repaint(kIdcPickerHueSat);
}

// ---- controls ----

bool CColorPickerDlg::OnCommand(unsigned id, unsigned code, plat::Window* control)
{
    const int ctl = static_cast<int>(id);
    if (code == plat::kEnChange) {
        if (!m_filling) OnEditChange(id);
        return true;
    }
    if (code != plat::kBnClicked || !control) return CColorPopupDlg::OnCommand(id, code, control);
    if (IsCell(ctl)) {
        const std::int32_t color = m_palette.GetColor(CellIndex(ctl));
        if (CellIndex(ctl) >= CColorPalette::kStandardCount && color == CColorPalette::kEmptySlot) return true;
        m_color = color;
        Finish(plat::kIdOk);
        return true;
    }
    if (ctl == kIdcPickerExpand) {
        if (m_expanded) {
            m_palette.UseColor(m_color);
            Finish(plat::kIdOk);
        }
        return true;
    }
    // "文本" and "填充" do nothing in the expanded picker.
    return ctl == kIdcAutomatic || ctl == kIdcPickerFill;
}

void CColorPickerDlg::OnEditChange(unsigned id)
{
    const std::optional<int> value = GetDlgItemInt(static_cast<int>(id));
    switch (id) {
    case kIdcPickerRed:
    case kIdcPickerGreen:
    case kIdcPickerBlue: {
        if (!InRange(value, kMaxComponent)) return;
        (id == kIdcPickerRed ? m_red : id == kIdcPickerGreen ? m_green : m_blue) = *value;
        m_color = static_cast<std::int32_t>(plat::Rgb(m_red, m_green, m_blue));
        UpdateHslFromRgb();
        break;
    }
    case kIdcPickerHue:
        if (!InRange(value, kMaxHue)) return;
        m_hue = *value;
        TakeHslColor();
        break;
    case kIdcPickerSat:
        if (!InRange(value, kMaxScale)) return;
        m_saturation = *value;
        TakeHslColor();
        break;
    case kIdcPickerLumEdit:
        if (!InRange(value, kMaxComponent)) return;
        m_luminance = *value;
        TakeHslColor();
        break;
    default: return;
    }
    // The other edits follow; the one typed in keeps its text.
    FillEdits();
    Repaint(kIdcPickerPreview);
    Repaint(kIdcPickerLum);
    Repaint(kIdcPickerHueSat);
}

void CColorPickerDlg::Repaint(int id)
{
    if (plat::Control* c = GetDlgItem(id)) c->Invalidate(false);
}

// ---- drawing ----

void CColorPickerDlg::OnDrawItem(plat::DrawItem& item)
{
    plat::Dc& dc = *item.dc;
    switch (item.ctlId) {
    case kIdcPickerHueSat: DrawField(dc, item.rect); return;
    case kIdcPickerLum: DrawLuminanceBar(dc, item.rect); return;
    case kIdcPickerPreview: {
        plat::Rect r = item.rect;
        DrawFrameRect(dc, r, kBlack);
        dc.FillRect(r, plat::Brush::Solid(static_cast<plat::ColorRef>(m_color) & 0xFFFFFF));
        return;
    }
    default:
        if (IsCell(item.ctlId)) DrawCell(item);
    }
}

void CColorPickerDlg::DrawCell(plat::DrawItem& item) const
{
    const int index = CellIndex(item.ctlId);
    const std::int32_t color = m_palette.GetColor(index);
    const bool emptySlot = index >= CColorPalette::kStandardCount && color == CColorPalette::kEmptySlot;
    if (color == m_color && !emptySlot) DrawSelectedCell(*item.dc, item.rect, static_cast<plat::ColorRef>(color));
    else DrawColourCell(*item.dc, item.rect, static_cast<plat::ColorRef>(color));
}

void CColorPickerDlg::DrawField(plat::Dc& dc, plat::Rect rect) const
{
    plat::Rect frame(rect.left, rect.top, rect.left + kFieldWidth + 2, rect.top + kFieldHeight + 2);
    DrawFrameRect(dc, frame, kBlack);
    CResDib field;
    if (field.Load(u"IDB_RESCOLOR")) field.Draw(dc, frame.left, frame.top, kFieldWidth, kFieldHeight);
    if (m_drag == DragMode::kHueSaturation) return;
    plat::Rect marker = GetMarkerRect();
    marker.Offset(rect.left, rect.top);
    const plat::Pen pen(plat::kPenSolid, 1, kMarkerColor);
    const plat::Pen* oldPen = dc.Select(&pen);
    const plat::Brush* oldBrush = dc.Select(plat::StockBrush(plat::StockObject::kNullBrush));
    dc.Ellipse(marker.left, marker.top, marker.right, marker.bottom);
    dc.Select(oldBrush);
    dc.Select(oldPen);
}

void CColorPickerDlg::DrawLuminanceBar(plat::Dc& dc, const plat::Rect& rect) const
{
    dc.FillRect(rect, plat::Brush::Solid(plat::look::kFace));
    // Line k has luminance (41280 - 240k) / 172: 240 at the top, 0 at the bottom.
    for (int k = 0; k <= kFieldHeight; ++k) {
        const plat::ColorRef color = HslToRgb(m_hue, m_saturation, (kMaxScale * kFieldHeight - kMaxScale * k) / kFieldHeight);
        dc.FillRect(plat::Rect(rect.left + 1, rect.top + 1 + k, rect.left + 1 + kBarStripWidth, rect.top + 2 + k),
                    plat::Brush::Solid(color));
    }
    plat::Rect frame(rect.left, rect.top, rect.left + kBarStripWidth + 2, rect.top + kFieldHeight + 2);
    DrawFrameRect(dc, frame, kBlack);
    const int y = rect.top + 1 + (kMaxScale - m_luminance) * kFieldHeight / kMaxScale;
    const int tip = rect.left + kBarStripWidth + 3;
    const std::array<plat::Point, 3> pointer = {plat::Point(tip, y),
                                                plat::Point(tip + kPointerLength, y - kPointerHalfHeight),
                                                plat::Point(tip + kPointerLength, y + kPointerHalfHeight)};
    const plat::Pen* oldPen = dc.Select(plat::StockPen(plat::StockObject::kBlackPen));
    const plat::Brush* oldBrush = dc.Select(plat::StockBrush(plat::StockObject::kBlackBrush));
    dc.Polygon(pointer);
    dc.Select(oldBrush);
    dc.Select(oldPen);
}

void InstallColorPickerDialog()
{
    CQlDoc::SetColorPickerDialog([](plat::Window* parent, CColorPalette& palette, ColorPickerAutomatic automatic,
                                    plat::Point at, plat::ColorRef& color) {
        CColorPickerDlg dlg(palette, automatic, parent);
        dlg.m_color = static_cast<std::int32_t>(color);
        dlg.m_x = at.x;
        dlg.m_y = at.y;
        const int answer = dlg.DoModal();
        if (answer == plat::kIdOk) color = static_cast<plat::ColorRef>(dlg.m_color);
        return answer;
    });
}
