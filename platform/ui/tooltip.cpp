#include "platform/ui/tooltip.h"

#include <algorithm>

namespace plat {

namespace {
constexpr unsigned kShowTimer = 1;
constexpr int kPadding = 4;
} // namespace

bool ToolTip::CreateFor(Window& top)
{
    return Create(&top, Rect(0, 0, 10, 10), kWsChild);
}

void ToolTip::AddTool(Window* tool, StringView text, const Rect* rect)
{
    Tool t;
    t.window = tool;
    t.text = String(text);
    t.wholeClient = rect == nullptr;
    if (rect) t.rect = *rect;
    m_tools.push_back(std::move(t));
}

void ToolTip::DelTool(Window* tool)
{
    if (GetCurrentTool() == tool) Hide();
    std::erase_if(m_tools, [tool](const Tool& t) { return t.window == tool; });
}

void ToolTip::UpdateTipText(Window* tool, StringView text)
{
    for (Tool& t : m_tools)
        if (t.window == tool) t.text = String(text);
    if (GetCurrentTool() == tool && IsShown()) Show();
}

void ToolTip::Activate(bool active)
{
    m_active = active;
    if (!active) Hide();
}

void ToolTip::RelayEvent(const Message& message)
{
    if (!IsCreated() || !message.window) return;
    if (message.message == kWmLButtonDown || message.message == kWmRButtonDown) {
        Hide();
        return;
    }
    if (message.message != kWmMouseMove || !m_active) return;
    const Point client = PointFromLParam(message.lParam);
    int found = -1;
    for (size_t i = 0; i < m_tools.size(); ++i) {
        const Tool& t = m_tools[i];
        if (t.window != message.window) continue;
        const Rect area = t.wholeClient ? t.window->GetClientRect() : t.rect;
        if (area.Contains(client)) {
            found = static_cast<int>(i);
            break;
        }
    }
    m_screenPoint = message.window->ClientToScreen(client);
    if (found == m_current) return;
    const bool wasShown = IsShown();
    m_current = found;
    if (found < 0) Hide();
    else if (wasShown) Show();
    else SetTimer(kShowTimer, m_delay);
}

void ToolTip::Show()
{
    KillTimer(kShowTimer);
    if (m_current < 0 || !GetParent()) return;
    std::unique_ptr<Dc> dc = GetDc();
    dc->Select(GetFont());
    const Size extent = dc->GetTextExtent(m_tools[m_current].text);
    Window* top = GetParent();
    const Point at = top->ScreenToClient(m_screenPoint);
    const Rect limit = top->GetClientRect();
    const int w = extent.cx + 2 * kPadding, h = dc->GetTextMetrics().height + 2 * kPadding;
    const int x = std::max(0, std::min(at.x, limit.right - w));
    int y = at.y + 20;
    if (y + h > limit.bottom) y = std::max(0, at.y - h - 2);
    SetWindowPos(Rect(x, y, x + w, y + h), kSwpShowWindow);
    Invalidate();
}

void ToolTip::Hide()
{
    KillTimer(kShowTimer);
    m_current = -1;
    if (IsCreated() && (GetStyle() & kWsVisible)) ShowWindow(kSwHide);
}

LResult ToolTip::WindowProc(unsigned message, WParam wParam, LParam lParam)
{
    if (message == kWmTimer && wParam == kShowTimer) {
        Show();
        return 0;
    }
    return Control::WindowProc(message, wParam, lParam);
}

void ToolTip::Paint(Dc& dc)
{
    const Rect client = GetClientRect();
    FillSolid(dc, client, look::kInfoBk);
    DrawFrame(dc, client, look::kText);
    if (m_current >= 0) {
        dc.SetTextColor(look::kText);
        dc.TextOut(kPadding, kPadding, m_tools[m_current].text);
    }
}

} // namespace plat
