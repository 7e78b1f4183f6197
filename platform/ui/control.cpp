#include "platform/ui/control.h"

#include "platform/gfx/pen_brush.h"
#include "platform/ui/message_queue.h"

namespace plat {

Control::Control() = default;

Control::~Control() { Destroy(); }

void Control::SetFont(const Font* font)
{
    m_font = font;
    Invalidate();
}

const Font* Control::GetFont() const { return m_font ? m_font : DefaultGuiFont(); }

void Control::SetText(StringView text)
{
    SendMessage(this, kWmSetText, 0, reinterpret_cast<LParam>(&text));
}

void Control::NotifyParent(unsigned code)
{
    if (Window* parent = GetParent())
        SendMessage(parent, kWmCommand, MakeWParam(static_cast<unsigned>(GetId()), code), reinterpret_cast<LParam>(this));
}

LResult Control::NotifyParentEx(NotifyHeader& header)
{
    header.from = this;
    header.idFrom = GetId();
    Window* parent = GetParent();
    return parent ? SendMessage(parent, kWmNotify, static_cast<WParam>(GetId()), reinterpret_cast<LParam>(&header)) : 0;
}

bool Control::OwnerDraw(Dc& dc, const Rect& rect, int itemId, unsigned state, std::uintptr_t data, Window* owner, int ctlId)
{
    Window* target = owner ? owner : GetParent();
    if (!target) return false;
    DrawItem item;
    item.ctlId = owner ? ctlId : GetId();
    item.itemId = itemId;
    item.state = state | (IsWindowEnabled() ? 0u : kOdsDisabled);
    item.item = this;
    item.dc = &dc;
    item.rect = rect;
    item.itemData = data;
    SendMessage(target, kWmDrawItem, static_cast<WParam>(item.ctlId), reinterpret_cast<LParam>(&item));
    return true;
}

LResult Control::WindowProc(unsigned message, WParam wParam, LParam lParam)
{
    switch (message) {
    case kWmSetText:
        SetWindowText(lParam ? *reinterpret_cast<const StringView*>(lParam) : StringView());
        Invalidate();
        OnTextSet();
        return 1;
    case kWmEnable:
        Invalidate();
        return 0;
    case kWmSetFocus:
    case kWmKillFocus:
        m_focused = message == kWmSetFocus;
        Invalidate();
        return 0;
    case kWmGetDlgCode:
        return static_cast<LResult>(DlgCode(static_cast<int>(wParam)));
    case kWmPaint: {
        PaintDc dc(*this);
        dc.Select(GetFont());
        dc.SetBkMode(kTransparent);
        dc.SetTextColor(IsWindowEnabled() ? look::kText : look::kGrayText);
        Paint(dc);
        return 0;
    }
    default:
        return DefWindowProc(message, wParam, lParam);
    }
}

int WheelScrolledTop(int top, WParam wheelParam, int count)
{
    const int next = top - WheelDelta(wheelParam) / kWheelDelta * 3;
    return next < 0 ? 0 : (next > count - 1 ? (count > 0 ? count - 1 : 0) : next);
}

void FillSolid(Dc& dc, const Rect& rect, ColorRef color) { dc.FillRect(rect, Brush::Solid(color)); }

void DrawFrame(Dc& dc, const Rect& rect, ColorRef color)
{
    if (rect.Width() <= 0 || rect.Height() <= 0) return;
    const Brush b = Brush::Solid(color);
    dc.FillRect(Rect(rect.left, rect.top, rect.right, rect.top + 1), b);
    dc.FillRect(Rect(rect.left, rect.bottom - 1, rect.right, rect.bottom), b);
    dc.FillRect(Rect(rect.left, rect.top, rect.left + 1, rect.bottom), b);
    dc.FillRect(Rect(rect.right - 1, rect.top, rect.right, rect.bottom), b);
}

size_t FitText(const Dc& dc, StringView text, int width)
{
    if (dc.GetTextExtent(text).cx <= width) return text.size();
    size_t lo = 0, hi = text.size();
    while (lo < hi) {
        const size_t mid = (lo + hi + 1) / 2;
        if (dc.GetTextExtent(text.substr(0, mid)).cx <= width) lo = mid;
        else hi = mid - 1;
    }
    return lo;
}

void DrawTextIn(Dc& dc, const Rect& rect, StringView text, int align, int indent)
{
    const int width = rect.Width() - 2 * indent;
    if (width <= 0 || text.empty()) return;
    const StringView shown = text.substr(0, FitText(dc, text, width));
    const Size extent = dc.GetTextExtent(shown);
    int x = rect.left + indent;
    if (align == 1) x = rect.left + (rect.Width() - extent.cx) / 2;
    else if (align == 2) x = rect.right - indent - extent.cx;
    const int y = rect.top + (rect.Height() - dc.GetTextMetrics().height) / 2;
    const int oldMode = dc.SetBkMode(kTransparent);
    dc.TextOut(x, y, shown);
    dc.SetBkMode(oldMode);
}

void DrawFocusRect(Dc& dc, const Rect& rect)
{
    for (int x = rect.left; x < rect.right; x += 2) {
        dc.SetPixel(x, rect.top, look::kText);
        dc.SetPixel(x, rect.bottom - 1, look::kText);
    }
    for (int y = rect.top; y < rect.bottom; y += 2) {
        dc.SetPixel(rect.left, y, look::kText);
        dc.SetPixel(rect.right - 1, y, look::kText);
    }
}

} // namespace plat
