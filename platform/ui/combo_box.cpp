#include "platform/ui/combo_box.h"

#include <algorithm>

#include "platform/gfx/pen_brush.h"
#include "platform/ui/edit.h"
#include "platform/ui/focus.h"
#include "platform/ui/keyboard.h"
#include "platform/ui/message_queue.h"

namespace plat {

namespace {
// Posted to itself when a row was picked from the dropped list.
constexpr unsigned kClosePicked = kWmUser + 0x0100;
} // namespace

ComboBox::ComboBox() = default;

ComboBox::~ComboBox()
{
    m_list.reset();
    Destroy();
}

Rect ComboBox::ArrowRect() const
{
    const Rect c = GetClientRect();
    return Rect(c.right - std::min(17, c.Width()), c.top, c.right, c.bottom);
}

void ComboBox::OnRowsChanged()
{
    // An emptied list leaves no text in a list-only field.
    if (GetCount() == 0 && !IsEditable()) SetWindowText(u"");
}

bool ComboBox::SetCurSel(int index)
{
    if (!m_rows.Select(index)) return false;
    const String text = m_rows.Text(index);
    SetWindowText(text);
    if (m_edit) m_edit->SetWindowText(text);
    if (m_list) m_list->SetCurSel(index);
    Invalidate();
    return true;
}

void ComboBox::UserSelect(int index)
{
    if (index < 0 || index >= GetCount()) return;
    const bool changed = index != GetCurSel();
    SetCurSel(index);
    if (changed) NotifyParent(kCbnSelChange);
}

void ComboBox::OnTextSet()
{
    if (m_edit) m_edit->SetWindowText(GetWindowText());
}

void ComboBox::ShowDropDown(bool show)
{
    if (show == GetDroppedState() || !IsCreated()) return;
    if (!show) {
        m_list.reset();
        NotifyParent(kCbnCloseUp);
        return;
    }
    NotifyParent(kCbnDropDown);
    Window* top = GetTopLevel();
    auto list = std::make_unique<ListBox>();
    list->SetFont(GetFont());
    const int rows = std::clamp(GetCount(), 1, kComboDropRows);
    std::unique_ptr<Dc> dc = GetDc();
    dc->Select(GetFont());
    const int rowHeight = m_itemHeight > 0 ? m_itemHeight : dc->GetTextMetrics().height + 2;
    const int height = rows * rowHeight + 2;
    const Rect field = GetWindowRect();
    const Point at = top->ScreenToClient(Point(field.left, field.bottom));
    const int width = std::max(field.Width(), m_droppedWidth);
    unsigned style = kWsChild | kWsVisible;
    if (GetStyle() & kCbsOwnerDrawFixed) style |= kLbsOwnerDrawFixed;
    list->SetItemHeight(m_itemHeight);
    if (!list->Create(top, Rect(at.x, at.y, at.x + width, at.y + height), style, 0)) return;
    list->SetOwnerDraw(GetDrawOwner(), GetId());
    for (int i = 0; i < GetCount(); ++i) {
        list->AddString(GetLBText(i));
        list->SetItemData(i, GetItemData(i));
    }
    list->SetCurSel(GetCurSel());
    list->m_onPick = [this](int row) {
        UserSelect(row);
        // The list goes once its click is over.
        PostMessage(this, kClosePicked);
    };
    m_list = std::move(list);
}

unsigned ComboBox::DlgCode(int virtualKey) const
{
    unsigned code = kDlgcWantArrows | kDlgcWantChars;
    if (GetDroppedState() && (virtualKey == kVkReturn || virtualKey == kVkEscape)) code |= kDlgcWantAllKeys;
    return code;
}

LResult ComboBox::WindowProc(unsigned message, WParam wParam, LParam lParam)
{
    switch (message) {
    case kWmCreate:
        if (IsEditable()) {
            m_edit = std::make_unique<Edit>();
            const Rect c = GetClientRect();
            m_edit->Create(this, Rect(0, 0, std::max(0, c.Width() - 17), c.Height()),
                           kWsChild | kWsVisible | kEsAutoHScroll, kComboEditId);
            m_edit->SetFont(GetFont());
        }
        return 0;
    case kWmCommand:
        // The field's typing.
        if (m_edit && lParam == reinterpret_cast<LParam>(m_edit.get()) && HiWord(wParam) == kEnChange) {
            SetWindowText(m_edit->GetWindowText());
            NotifyParent(kCbnEditChange);
        }
        return 0;
    case kWmLButtonDown:
        if (!IsWindowEnabled()) return 0;
        SetFocus(m_edit ? static_cast<Window*>(m_edit.get()) : this);
        ShowDropDown(!GetDroppedState());
        return 0;
    case kWmKeyDown: {
        const int key = static_cast<int>(wParam);
        const bool alt = (HeldModifiers() & kModAlt) != 0;
        if (key == kVkF1 + 3 || (alt && (key == kVkDown || key == kVkUp))) {
            ShowDropDown(!GetDroppedState());
            return 0;
        }
        const int sel = GetCurSel();
        int next = sel;
        switch (key) {
        case kVkUp: next = std::max(0, sel - 1); break;
        case kVkDown: next = std::min(GetCount() - 1, sel + 1); break;
        case kVkHome: next = 0; break;
        case kVkEnd: next = GetCount() - 1; break;
        case kVkReturn:
        case kVkEscape: ShowDropDown(false); return 0;
        default: return 0;
        }
        UserSelect(next);
        return 0;
    }
    case kWmSysKeyDown:
        if (wParam == static_cast<WParam>(kVkDown) || wParam == static_cast<WParam>(kVkUp)) ShowDropDown(!GetDroppedState());
        return 0;
    case kClosePicked:
        ShowDropDown(false);
        SetFocus(m_edit ? static_cast<Window*>(m_edit.get()) : this);
        return 0;
    case kWmKillFocus: {
        Window* next = reinterpret_cast<Window*>(wParam);
        if (next != m_list.get() && next != m_edit.get()) ShowDropDown(false);
        return Control::WindowProc(message, wParam, lParam);
    }
    default:
        return Control::WindowProc(message, wParam, lParam);
    }
}

void ComboBox::Paint(Dc& dc)
{
    const Rect client = GetClientRect();
    FillSolid(dc, client, IsWindowEnabled() ? look::kWindow : look::kFace);
    const Rect arrow = ArrowRect();
    FillSolid(dc, arrow, look::kFace);
    const ColorRef ink = IsWindowEnabled() ? look::kText : look::kGrayText;
    const Pen pen(kPenSolid, 1, ink);
    const Brush brush = Brush::Solid(ink);
    const Pen* oldPen = dc.Select(&pen);
    const Brush* oldBrush = dc.Select(&brush);
    const int cx = (arrow.left + arrow.right) / 2, cy = (arrow.top + arrow.bottom) / 2;
    const Point tri[3] = {Point(cx - 4, cy - 2), Point(cx + 4, cy - 2), Point(cx, cy + 2)};
    dc.Polygon(tri);
    dc.Select(oldPen);
    dc.Select(oldBrush);
    const Rect field(1, 1, arrow.left, client.bottom - 1);
    if (!m_edit) {
        const int sel = GetCurSel();
        if (GetStyle() & kCbsOwnerDrawFixed) {
            OwnerDraw(dc, field, sel, IsFocused() ? (kOdsSelected | kOdsFocus) : 0u, GetItemData(sel), GetDrawOwner(), GetId());
        } else {
            if (IsFocused()) FillSolid(dc, Rect(field.left + 1, field.top + 1, field.right - 1, field.bottom - 1), look::kHighlight);
            const ColorRef old = dc.SetTextColor(IsFocused() ? look::kHighlightText : dc.GetTextColor());
            DrawTextIn(dc, field, GetWindowText(), 0, 2);
            dc.SetTextColor(old);
        }
    }
    DrawFrame(dc, client, IsFocused() ? look::kHighlight : look::kBorder);
}

} // namespace plat
