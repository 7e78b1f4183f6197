#include "platform/ui/toolbar.h"

#include <algorithm>
#include <cstring>

#include "platform/gfx/pen_brush.h"
#include "platform/gfx/sys_colors.h"
#include "platform/ui/focus.h"
#include "platform/ui/message_queue.h"
#include "platform/ui/tooltip.h"

namespace plat {

namespace {
ColorRef Face() { return GetSysColor(kColorBtnFace); }
ColorRef Shadow() { return GetSysColor(kColorBtnShadow); }
ColorRef Light() { return GetSysColor(kColorBtnHighlight); }

// A copy of a bitmap's pixels.
std::unique_ptr<Bitmap> CopyBitmap(const Bitmap& source)
{
    std::unique_ptr<Bitmap> copy = Bitmap::Create(source.Width(), source.Height());
    if (!copy) return nullptr;
    for (int y = 0; y < source.Height(); ++y)
        std::memcpy(copy->MutableRow(y), source.Row(y), sizeof(std::uint32_t) * static_cast<size_t>(source.Width()));
    return copy;
}

// The checked look: face and white in a checkerboard, from the client origin.
void FillChecked(Dc& dc, const Rect& r)
{
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x) dc.SetPixel(x, y, ((x + y) & 1) ? Face() : Light());
}

bool IsDark(ColorRef c) { return RValue(c) + GValue(c) + BValue(c) < 3 * 192; }
} // namespace

void DrawButtonEdge(Dc& dc, const Rect& r, bool sunken)
{
    const Brush topLeft = Brush::Solid(sunken ? Shadow() : Light());
    const Brush bottomRight = Brush::Solid(sunken ? Light() : Shadow());
    dc.FillRect(Rect(r.left, r.top, r.right, r.top + 1), topLeft);
    dc.FillRect(Rect(r.left, r.top, r.left + 1, r.bottom), topLeft);
    dc.FillRect(Rect(r.left, r.bottom - 1, r.right, r.bottom), bottomRight);
    dc.FillRect(Rect(r.right - 1, r.top, r.right, r.bottom), bottomRight);
}

ToolBar::ToolBar() = default;

ToolBar::~ToolBar()
{
    Destroy();
}

// ---- buttons ----

bool ToolBar::InsertButton(int index, const ToolbarButton& button)
{
    if (index < 0 || index > GetButtonCount()) return false;
    m_buttons.insert(m_buttons.begin() + index, button);
    if (m_hot >= index) m_hot = -1;
    m_pressed = -1;
    m_rectsValid = false;
    if (IsCreated()) Invalidate();
    return true;
}

bool ToolBar::DeleteButton(int index)
{
    if (index < 0 || index >= GetButtonCount()) return false;
    m_buttons.erase(m_buttons.begin() + index);
    m_hot = m_pressed = -1;
    if (m_tipButton >= 0 && m_tips) m_tips->DelTool(this);
    m_tipButton = -1;
    m_rectsValid = false;
    if (IsCreated()) Invalidate();
    return true;
}

void ToolBar::DeleteAllButtons()
{
    while (GetButtonCount() > 0) DeleteButton(GetButtonCount() - 1);
}

bool ToolBar::GetButton(int index, ToolbarButton& out) const
{
    if (index < 0 || index >= GetButtonCount()) return false;
    out = m_buttons[static_cast<size_t>(index)];
    return true;
}

int ToolBar::CommandToIndex(int command) const
{
    for (size_t i = 0; i < m_buttons.size(); ++i)
        if (m_buttons[i].command == command) return static_cast<int>(i);
    return -1;
}

bool ToolBar::ReplaceButton(int index, const ToolbarButton& button)
{
    if (index < 0 || index >= GetButtonCount()) return false;
    ToolbarButton& b = m_buttons[static_cast<size_t>(index)];
    if (b == button) return true;
    const bool relayout = ((b.state ^ button.state) & (kTbstateHidden | kTbstateWrap)) != 0 ||
                          b.IsSeparator() != button.IsSeparator() || ButtonWidth(b) != ButtonWidth(button);
    b = button;
    if (relayout) m_rectsValid = false;
    if (IsCreated()) {
        Rect r;
        if (relayout || !GetItemRect(index, r)) Invalidate();
        else InvalidateRect(r);
    }
    return true;
}

bool ToolBar::SetState(int command, std::uint8_t state)
{
    const int index = CommandToIndex(command);
    if (index < 0) return false;
    ToolbarButton b = m_buttons[static_cast<size_t>(index)];
    b.state = state;
    return ReplaceButton(index, b);
}

std::uint8_t ToolBar::GetState(int command) const
{
    const int index = CommandToIndex(command);
    return index < 0 ? 0 : m_buttons[static_cast<size_t>(index)].state;
}

// ---- geometry ----

bool ToolBar::SetButtonSize(Size size)
{
    if (size.cx <= 0 || size.cy <= 0) return false;
    m_buttonSize = size;
    m_rectsValid = false;
    if (IsCreated()) Invalidate();
    return true;
}

bool ToolBar::SetBitmapSize(Size size)
{
    // The size belongs to the images; a strip already cut keeps its own.
    if (size.cx <= 0 || size.cy <= 0 || m_strip) return false;
    m_bitmapSize = size;
    return true;
}

void ToolBar::SetContentOrigin(Point origin)
{
    if (origin == m_origin) return;
    m_origin = origin;
    m_rectsValid = false;
    if (IsCreated()) Invalidate();
}

void ToolBar::SetExtendedStyle(unsigned exStyle)
{
    if (exStyle == m_exStyle) return;
    m_exStyle = exStyle;
    m_rectsValid = false;
    if (IsCreated()) Invalidate();
}

int ToolBar::ButtonWidth(const ToolbarButton& b) const
{
    if (b.IsSeparator()) return b.bitmap;
    int width = m_buttonSize.cx;
    if ((b.style & kTbstyleDropDown) && (m_exStyle & kTbstyleExDrawDdArrows)) width += kDropDownAreaWidth;
    return width;
}

void ToolBar::RecalcRects() const
{
    if (m_rectsValid) return;
    m_rects.assign(m_buttons.size(), Rect());
    int x = m_origin.x, y = m_origin.y;
    for (size_t i = 0; i < m_buttons.size(); ++i) {
        const ToolbarButton& b = m_buttons[i];
        if (b.IsHidden()) continue;
        const int w = ButtonWidth(b);
        m_rects[i] = Rect(x, y, x + w, y + m_buttonSize.cy);
        x += w;
        if (b.state & kTbstateWrap) {
            // A wrapped separator becomes a gap of its width between the rows.
            x = m_origin.x;
            y += m_buttonSize.cy + (b.IsSeparator() ? w : 0);
        }
    }
    m_rectsValid = true;
}

bool ToolBar::GetItemRect(int index, Rect& out) const
{
    out = Rect();
    if (index < 0 || index >= GetButtonCount()) return false;
    RecalcRects();
    out = m_rects[static_cast<size_t>(index)];
    return !m_buttons[static_cast<size_t>(index)].IsHidden();
}

int ToolBar::HitTest(Point client) const
{
    RecalcRects();
    for (size_t i = 0; i < m_buttons.size(); ++i)
        if (!m_buttons[i].IsHidden() && m_rects[i].Contains(client)) return static_cast<int>(i);
    return -1;
}

bool ToolBar::InArrowArea(int index, Point client) const
{
    const ToolbarButton& b = m_buttons[static_cast<size_t>(index)];
    if (!(b.style & kTbstyleDropDown)) return false;
    // Without separate arrows the whole button drops the menu down.
    if (!(m_exStyle & kTbstyleExDrawDdArrows)) return true;
    Rect r;
    GetItemRect(index, r);
    return client.x >= r.right - kDropDownAreaWidth;
}

// ---- images ----

bool ToolBar::AddBitmap(const Bitmap& strip, int count)
{
    if (m_strip || count <= 0) return false;
    m_strip = CopyBitmap(strip);
    if (!m_strip) return false;
    m_imageCount = count;
    if (IsCreated()) Invalidate();
    return true;
}

bool ToolBar::ReplaceBitmap(const Bitmap& strip)
{
    if (!m_strip) return false;
    std::unique_ptr<Bitmap> copy = CopyBitmap(strip);
    if (!copy) return false;
    m_strip = std::move(copy);
    if (IsCreated()) Invalidate();
    return true;
}

bool ToolBar::ReplaceImage(int index, const Bitmap& image)
{
    if (!m_strip || index < 0 || index >= m_imageCount || image.GetSize() != m_bitmapSize) return false;
    const int sx = index * m_bitmapSize.cx;
    for (int y = 0; y < m_bitmapSize.cy; ++y)
        for (int x = 0; x < m_bitmapSize.cx; ++x) m_strip->SetPixel(sx + x, y, image.GetPixel(x, y));
    return true;
}

std::unique_ptr<Bitmap> ToolBar::CopyImage(int index) const
{
    if (!m_strip || index < 0 || index >= m_imageCount) return nullptr;
    std::unique_ptr<Bitmap> image = Bitmap::Create(m_bitmapSize.cx, m_bitmapSize.cy);
    if (!image) return nullptr;
    const int sx = index * m_bitmapSize.cx;
    for (int y = 0; y < m_bitmapSize.cy; ++y)
        for (int x = 0; x < m_bitmapSize.cx; ++x) image->SetPixel(x, y, m_strip->GetPixel(sx + x, y));
    return image;
}

// ---- notifications ----

LResult ToolBar::Notify(NotifyHeader& header)
{
    header.from = this;
    LResult result = 0;
    if (OnReflectedNotify(header, result)) return result;
    Window* owner = GetOwner();
    return owner ? SendMessage(owner, kWmNotify, static_cast<WParam>(GetId()), reinterpret_cast<LParam>(&header)) : 0;
}

// ---- mouse ----

void ToolBar::SetHot(int index)
{
    if (index == m_hot) return;
    Rect r;
    if (m_hot >= 0 && GetItemRect(m_hot, r)) InvalidateRect(r);
    m_hot = index;
    if (m_hot >= 0 && GetItemRect(m_hot, r)) InvalidateRect(r);
}

void ToolBar::UpdateToolTip(int index)
{
    if (!m_tips || index == m_tipButton) return;
    if (m_tipButton >= 0) m_tips->DelTool(this);
    m_tipButton = -1;
    if (index < 0) return;
    // The owner names the button (from its string table).
    ToolTipTextRequest request;
    request.header.idFrom = m_buttons[static_cast<size_t>(index)].command;
    request.header.code = kTtnNeedText;
    Notify(request.header);
    if (request.text.empty()) return;
    Rect r;
    GetItemRect(index, r);
    m_tips->AddTool(this, request.text, &r);
    m_tipButton = index;
}

void ToolBar::OnLButtonDown(Point client)
{
    const int index = HitTest(client);
    if (index < 0) return;
    const ToolbarButton& b = m_buttons[static_cast<size_t>(index)];
    if (b.IsSeparator() || !(b.state & kTbstateEnabled)) return;
    if (InArrowArea(index, client)) {
        ToolbarNotification n;
        n.header.idFrom = GetId();
        n.header.code = kTbnDropDown;
        n.item = b.command;
        n.button = b;
        Notify(n.header);
        return;
    }
    m_pressed = index;
    SetCapture(this);
    Rect r;
    if (GetItemRect(index, r)) InvalidateRect(r);
}

void ToolBar::OnLButtonUp(Point client)
{
    if (m_pressed < 0) return;
    const int index = m_pressed;
    m_pressed = -1;
    if (GetCapture() == this) ReleaseCapture();
    Rect r;
    if (GetItemRect(index, r)) InvalidateRect(r);
    if (HitTest(client) != index) return;
    ToolbarButton& b = m_buttons[static_cast<size_t>(index)];
    if (!(b.state & kTbstateEnabled)) return;
    if (b.style & kTbstyleCheck) b.state ^= kTbstateChecked;
    const int command = b.command;
    if (Window* owner = GetOwner())
        SendMessage(owner, kWmCommand, MakeWParam(static_cast<unsigned>(command), 0), reinterpret_cast<LParam>(this));
}

LResult ToolBar::WindowProc(unsigned message, WParam wParam, LParam lParam)
{
    switch (message) {
    case kWmMouseMove: {
        const Point p = PointFromLParam(lParam);
        int index = HitTest(p);
        if (index >= 0 && m_buttons[static_cast<size_t>(index)].IsSeparator()) index = -1;
        const int wasHot = m_hot;
        SetHot(index);
        // A held button shows pressed only while the mouse is over it.
        Rect r;
        if (m_pressed >= 0 && wasHot != m_hot && GetItemRect(m_pressed, r)) InvalidateRect(r);
        UpdateToolTip(index);
        if (m_tips) m_tips->RelayEvent(Message{this, message, wParam, lParam});
        return 0;
    }
    case kWmLButtonDown:
    case kWmLButtonDblClk:
        if (m_tips) m_tips->RelayEvent(Message{this, kWmLButtonDown, wParam, lParam});
        OnLButtonDown(PointFromLParam(lParam));
        return 0;
    case kWmLButtonUp:
        OnLButtonUp(PointFromLParam(lParam));
        return 0;
    case kWmCaptureChanged:
        if (reinterpret_cast<Window*>(lParam) != this && m_pressed >= 0) {
            Rect r;
            if (GetItemRect(m_pressed, r)) InvalidateRect(r);
            m_pressed = -1;
        }
        return 0;
    case kWmDestroy:
        if (m_tips && m_tipButton >= 0) m_tips->DelTool(this);
        m_tipButton = -1;
        return Control::WindowProc(message, wParam, lParam);
    default:
        return Control::WindowProc(message, wParam, lParam);
    }
}

// ---- painting ----

void ToolBar::PaintBackground(Dc& dc)
{
    FillSolid(dc, GetClientRect(), Face());
}

void ToolBar::Paint(Dc& dc)
{
    PaintBackground(dc);
    for (int i = 0; i < GetButtonCount(); ++i) DrawButton(dc, i);
}

void ToolBar::DrawImage(Dc& dc, int image, Point at, bool disabled)
{
    if (!m_strip || image < 0 || image >= m_imageCount) return;
    const int sx = image * m_bitmapSize.cx;
    const auto pixel = [&](int x, int y) { return m_strip->GetPixel(sx + x, y); };
    const ColorRef key = Face();
    const auto drawn = [&](ColorRef c) { return c != kInvalidColor && c != key; };
    if (!disabled) {
        for (int y = 0; y < m_bitmapSize.cy; ++y)
            for (int x = 0; x < m_bitmapSize.cx; ++x)
                if (const ColorRef c = pixel(x, y); drawn(c)) dc.SetPixel(at.x + x, at.y + y, c);
        return;
    }
    // Grayed: the dark pixels embossed, a light copy one pixel down-right under a shadow.
    for (int pass = 0; pass < 2; ++pass)
        for (int y = 0; y < m_bitmapSize.cy; ++y)
            for (int x = 0; x < m_bitmapSize.cx; ++x)
                if (const ColorRef c = pixel(x, y); drawn(c) && IsDark(c)) {
                    if (pass == 0) dc.SetPixel(at.x + x + 1, at.y + y + 1, Light());
                    else dc.SetPixel(at.x + x, at.y + y, Shadow());
                }
}

void ToolBar::DrawDropArrow(Dc& dc, const Rect& area, bool enabled)
{
    // A downward triangle kDropDownArrowWidth wide, centred in the area.
    const int rows = (kDropDownArrowWidth + 1) / 2;
    const int x0 = area.left + (area.Width() - kDropDownArrowWidth) / 2;
    const int y0 = area.top + (area.Height() - rows) / 2;
    const Brush ink = Brush::Solid(GetSysColor(enabled ? kColorBtnText : kColorBtnShadow));
    for (int row = 0; row < rows; ++row)
        dc.FillRect(Rect(x0 + row, y0 + row, x0 + kDropDownArrowWidth - row, y0 + row + 1), ink);
}

void ToolBar::DrawButton(Dc& dc, int index)
{
    Rect r;
    if (!GetItemRect(index, r) || r.Width() <= 0) return;
    const ToolbarButton& b = m_buttons[static_cast<size_t>(index)];
    const bool flat = (GetStyle() & kTbstyleFlat) != 0;
    if (b.IsSeparator()) {
        // Flat bars show an etched line in the middle of a separator that ends no row.
        if (flat && !(b.state & kTbstateWrap)) {
            const int x = r.left + r.Width() / 2 - 1;
            dc.FillRect(Rect(x, r.top + 1, x + 1, r.bottom - 1), Brush::Solid(Shadow()));
            dc.FillRect(Rect(x + 1, r.top + 1, x + 2, r.bottom - 1), Brush::Solid(Light()));
        }
        return;
    }
    const bool enabled = (b.state & kTbstateEnabled) != 0;
    const bool hot = enabled && index == m_hot;
    const bool pressed = (b.state & kTbstatePressed) || (index == m_pressed && hot);
    const bool checked = (b.state & kTbstateChecked) != 0;
    const bool arrows = (b.style & kTbstyleDropDown) && (m_exStyle & kTbstyleExDrawDdArrows);
    Rect face = r;
    if (arrows) face.right -= kDropDownAreaWidth;

    if (checked && !pressed && !hot) FillChecked(dc, Rect(face.left + 1, face.top + 1, face.right - 1, face.bottom - 1));
    if (pressed || checked) DrawButtonEdge(dc, face, true);
    else if (hot || !flat) DrawButtonEdge(dc, face, false);

    const int shift = pressed || checked ? 1 : 0;
    const Point at(face.left + (face.Width() - m_bitmapSize.cx) / 2 + shift,
                   face.top + (face.Height() - m_bitmapSize.cy) / 2 + shift);
    DrawImage(dc, b.bitmap, at, !enabled || (b.state & kTbstateIndeterminate));

    if (arrows) {
        const Rect area(face.right, r.top, r.right, r.bottom);
        if (hot || !flat) DrawButtonEdge(dc, area, false);
        DrawDropArrow(dc, area, enabled);
    }
}

} // namespace plat
