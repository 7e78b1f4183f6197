#include "platform/ui/button.h"

#include <algorithm>

#include "platform/gfx/pen_brush.h"
#include "platform/ui/focus.h"
#include "platform/ui/keyboard.h"

namespace plat {

bool Button::IsPushButton() const
{
    const unsigned t = GetButtonType();
    return t == kBsPushButton || t == kBsDefPushButton || t == kBsOwnerDraw;
}

bool Button::IsRadio() const
{
    const unsigned t = GetButtonType();
    return t == kBsRadioButton || t == kBsAutoRadioButton;
}

bool Button::IsCheckBox() const
{
    const unsigned t = GetButtonType();
    return t == kBsCheckBox || t == kBsAutoCheckBox || t == kBs3State || t == kBsAuto3State;
}

void Button::SetCheck(int check)
{
    if (check == m_check) return;
    m_check = check;
    Invalidate();
}

void Button::SetDefault(bool on)
{
    if (!IsPushButton() || GetButtonType() == kBsOwnerDraw) return;
    ModifyStyle(kBsTypeMask, on ? kBsDefPushButton : kBsPushButton);
    Invalidate();
}

std::vector<Button*> RadioGroupOf(const Button& button)
{
    std::vector<Button*> group;
    Window* parent = button.GetParent();
    if (!parent) return group;
    // The children are kept top first; new windows go on top, so creation order is reversed.
    std::vector<Window*> order(parent->GetChildren().rbegin(), parent->GetChildren().rend());
    auto at = std::find(order.begin(), order.end(), &button);
    if (at == order.end()) return group;
    auto start = at;
    while (start != order.begin() && !((*start)->GetStyle() & kWsGroup)) --start;
    for (auto it = start; it != order.end(); ++it) {
        if (it != start && ((*it)->GetStyle() & kWsGroup)) break;
        if (auto* b = dynamic_cast<Button*>(*it); b && b->IsRadio()) group.push_back(b);
    }
    return group;
}

bool Button::Click()
{
    if (!IsWindowEnabled() || GetButtonType() == kBsGroupBox) return false;
    switch (GetButtonType()) {
    case kBsAutoCheckBox: SetCheck(m_check == kBstChecked ? kBstUnchecked : kBstChecked); break;
    case kBsAuto3State: SetCheck((m_check + 1) % 3); break;
    case kBsAutoRadioButton:
        for (Button* other : RadioGroupOf(*this))
            if (other != this) other->SetCheck(kBstUnchecked);
        SetCheck(kBstChecked);
        break;
    default: break;
    }
    NotifyParent(kBnClicked);
    return true;
}

unsigned Button::DlgCode(int) const
{
    if (GetButtonType() == kBsGroupBox) return kDlgcStatic;
    if (IsRadio()) return kDlgcButton | kDlgcRadioButton;
    if (GetButtonType() == kBsDefPushButton) return kDlgcButton | kDlgcDefPushButton;
    if (IsPushButton()) return kDlgcButton | kDlgcUndefPushButton;
    return kDlgcButton;
}

LResult Button::WindowProc(unsigned message, WParam wParam, LParam lParam)
{
    switch (message) {
    case kBmGetCheck: return m_check;
    case kBmSetCheck: SetCheck(static_cast<int>(wParam)); return 0;
    case kBmClick: Click(); return 0;
    case kWmLButtonDown:
    case kWmLButtonDblClk:
        if (!IsWindowEnabled() || GetButtonType() == kBsGroupBox) return 0;
        SetFocus(this);
        SetCapture(this);
        m_pushed = true;
        Invalidate();
        return 0;
    case kWmMouseMove:
        if (GetCapture() == this) {
            const bool inside = GetClientRect().Contains(PointFromLParam(lParam));
            if (inside != m_pushed) {
                m_pushed = inside;
                Invalidate();
            }
        }
        return 0;
    case kWmLButtonUp:
        if (GetCapture() == this) {
            const bool inside = GetClientRect().Contains(PointFromLParam(lParam));
            ReleaseCapture();
            m_pushed = false;
            Invalidate();
            if (inside) Click();
        }
        return 0;
    case kWmKeyDown:
        if (wParam == static_cast<WParam>(kVkSpace) && IsWindowEnabled()) {
            m_pushed = true;
            Invalidate();
        }
        return 0;
    case kWmKeyUp:
        if (wParam == static_cast<WParam>(kVkSpace) && m_pushed) {
            m_pushed = false;
            Invalidate();
            Click();
        }
        return 0;
    case kWmKillFocus:
        m_pushed = false;
        return Control::WindowProc(message, wParam, lParam);
    default:
        return Control::WindowProc(message, wParam, lParam);
    }
}

void Button::Paint(Dc& dc)
{
    const Rect client = GetClientRect();
    const unsigned type = GetButtonType();
    if (type == kBsOwnerDraw) {
        OwnerDraw(dc, client, -1, (m_pushed ? kOdsSelected : 0u) | (IsFocused() ? kOdsFocus : 0u), 0);
        return;
    }
    if (type == kBsGroupBox) {
        const int half = dc.GetTextMetrics().height / 2;
        DrawFrame(dc, Rect(client.left, client.top + half, client.right, client.bottom), look::kBorder);
        const Size extent = dc.GetTextExtent(GetWindowText());
        if (extent.cx > 0) {
            FillSolid(dc, Rect(8, 0, 12 + extent.cx, extent.cy), look::kFace);
            dc.TextOut(10, 0, GetWindowText());
        }
        return;
    }
    if (IsPushButton()) {
        FillSolid(dc, client, m_pushed ? look::kFacePushed : look::kFace);
        // The default button's double frame, while it can be pressed.
        const bool marked = type == kBsDefPushButton && IsWindowEnabled();
        DrawFrame(dc, client, marked ? look::kHighlight : look::kBorder);
        if (marked) {
            Rect inner = client;
            inner.Inflate(-1, -1);
            DrawFrame(dc, inner, look::kHighlight);
        }
        Rect text = client;
        if (m_pushed) text.Offset(1, 1);
        DrawTextIn(dc, text, GetWindowText(), 1, 2);
        if (IsFocused()) {
            Rect focus = client;
            focus.Inflate(-3, -3);
            DrawFocusRect(dc, focus);
        }
        return;
    }
    // A check box or a radio button: the mark at the left, the text after it.
    FillSolid(dc, client, look::kFace);
    const int box = 13;
    const int top = (client.Height() - box) / 2;
    const Rect mark(0, top, box, top + box);
    const ColorRef ink = IsWindowEnabled() ? look::kText : look::kGrayText;
    if (IsRadio()) {
        Pen pen(kPenSolid, 1, look::kBorder);
        Brush fill = Brush::Solid(m_pushed ? look::kFacePushed : look::kWindow);
        const Pen* oldPen = dc.Select(&pen);
        const Brush* oldBrush = dc.Select(&fill);
        dc.Ellipse(mark.left, mark.top, mark.right, mark.bottom);
        if (m_check == kBstChecked) {
            Pen dotPen(kPenSolid, 1, ink);
            Brush dot = Brush::Solid(ink);
            dc.Select(&dotPen);
            dc.Select(&dot);
            dc.Ellipse(mark.left + 4, mark.top + 4, mark.right - 4, mark.bottom - 4);
        }
        dc.Select(oldPen);
        dc.Select(oldBrush);
    } else {
        FillSolid(dc, mark, m_pushed ? look::kFacePushed : look::kWindow);
        DrawFrame(dc, mark, look::kBorder);
        if (m_check == kBstIndeterminate) {
            Rect in = mark;
            in.Inflate(-3, -3);
            FillSolid(dc, in, look::kGrayText);
        } else if (m_check == kBstChecked) {
            Pen pen(kPenSolid, 2, ink);
            const Pen* old = dc.Select(&pen);
            dc.MoveTo(mark.left + 3, mark.top + 6);
            dc.LineTo(mark.left + 5, mark.top + 9);
            dc.LineTo(mark.left + 10, mark.top + 3);
            dc.Select(old);
        }
    }
    const Rect text(box + 4, 0, client.right, client.bottom);
    DrawTextIn(dc, text, GetWindowText());
    if (IsFocused()) {
        const int w = std::min<int>(dc.GetTextExtent(GetWindowText()).cx + 4, text.Width());
        DrawFocusRect(dc, Rect(text.left - 2, 0, text.left - 2 + w, client.bottom));
    }
}

} // namespace plat
