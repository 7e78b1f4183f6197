#include "platform/ui/list_box.h"

#include <algorithm>

#include "platform/ui/focus.h"
#include "platform/ui/keyboard.h"

namespace plat {

int ListRows::Add(StringView text, bool sorted)
{
    size_t at = m_rows.size();
    if (sorted)
        at = static_cast<size_t>(std::upper_bound(m_rows.begin(), m_rows.end(), text,
                                                  [](StringView t, const Row& r) { return t < StringView(r.text); }) -
                                 m_rows.begin());
    return Insert(static_cast<int>(at), text);
}

int ListRows::Insert(int index, StringView text)
{
    if (index < 0) index = Count();
    if (index > Count()) return kLbErr;
    m_rows.insert(m_rows.begin() + index, Row{String(text), 0});
    if (m_selected >= index) ++m_selected;
    return index;
}

int ListRows::Delete(int index)
{
    if (index < 0 || index >= Count()) return kLbErr;
    m_rows.erase(m_rows.begin() + index);
    if (m_selected == index) m_selected = -1;
    else if (m_selected > index) --m_selected;
    return Count();
}

void ListRows::Clear()
{
    m_rows.clear();
    m_selected = -1;
}

String ListRows::Text(int index) const { return index >= 0 && index < Count() ? m_rows[index].text : String(); }

int ListRows::FindExact(StringView text, int after) const
{
    for (int i = after + 1; i < Count(); ++i)
        if (m_rows[i].text == text) return i;
    return kLbErr;
}

bool ListRows::SetData(int index, std::uintptr_t data)
{
    if (index < 0 || index >= Count()) return false;
    m_rows[index].data = data;
    return true;
}

std::uintptr_t ListRows::Data(int index) const { return index >= 0 && index < Count() ? m_rows[index].data : 0; }

bool ListRows::Select(int index)
{
    if (index < -1 || index >= Count()) return false;
    m_selected = index;
    return true;
}

int RowsControl::AddString(StringView text)
{
    const int at = m_rows.Add(text, IsSorted());
    Invalidate();
    OnRowsChanged();
    return at;
}

int RowsControl::InsertString(int index, StringView text)
{
    const int at = m_rows.Insert(index, text);
    Invalidate();
    OnRowsChanged();
    return at;
}

int RowsControl::DeleteString(int index)
{
    const int left = m_rows.Delete(index);
    Invalidate();
    OnRowsChanged();
    return left;
}

void RowsControl::ResetContent()
{
    m_rows.Clear();
    Invalidate();
    OnRowsChanged();
}

void ListBox::OnRowsChanged() { m_top = std::clamp(m_top, 0, std::max(0, GetCount() - 1)); }

void ListBox::SetItemHeight(int height)
{
    m_itemHeight = std::max(0, height);
    Invalidate();
}

int ListBox::GetItemHeight() const
{
    if (m_itemHeight > 0) return m_itemHeight;
    std::unique_ptr<Dc> dc = GetDc();
    dc->Select(GetFont());
    return dc->GetTextMetrics().height + 2;
}

int ListBox::VisibleRows() const { return std::max(1, (GetClientRect().Height() - 2) / GetItemHeight()); }

bool ListBox::SetCurSel(int index)
{
    if (!m_rows.Select(index)) return false;
    if (index >= 0) {
        if (index < m_top) m_top = index;
        else if (index >= m_top + VisibleRows()) m_top = index - VisibleRows() + 1;
    }
    Invalidate();
    return true;
}

void ListBox::SetTopIndex(int index)
{
    m_top = std::clamp(index, 0, std::max(0, GetCount() - 1));
    Invalidate();
}

int ListBox::ItemFromPoint(Point p) const
{
    if (!GetClientRect().Contains(p)) return -1;
    const int row = m_top + (p.y - 1) / GetItemHeight();
    return row < GetCount() ? row : -1;
}

void ListBox::UserSelect(int index)
{
    if (index < 0 || index >= GetCount()) return;
    const bool changed = index != GetCurSel();
    SetCurSel(index);
    if (changed && (GetStyle() & kLbsNotify)) NotifyParent(kLbnSelChange);
}

LResult ListBox::WindowProc(unsigned message, WParam wParam, LParam lParam)
{
    switch (message) {
    case kWmLButtonDown: {
        if (!IsWindowEnabled()) return 0;
        SetFocus(this);
        const int row = ItemFromPoint(PointFromLParam(lParam));
        UserSelect(row);
        if (row >= 0 && m_onPick) m_onPick(row);
        return 0;
    }
    case kWmLButtonDblClk:
        if (ItemFromPoint(PointFromLParam(lParam)) >= 0 && (GetStyle() & kLbsNotify)) NotifyParent(kLbnDblClk);
        return 0;
    case kWmKeyDown: {
        const int sel = GetCurSel();
        switch (static_cast<int>(wParam)) {
        case kVkUp: UserSelect(sel < 0 ? 0 : std::max(0, sel - 1)); break;
        case kVkDown: UserSelect(sel < 0 ? 0 : std::min(GetCount() - 1, sel + 1)); break;
        case kVkHome: UserSelect(0); break;
        case kVkEnd: UserSelect(GetCount() - 1); break;
        case kVkPrior: UserSelect(std::max(0, sel - VisibleRows())); break;
        case kVkNext: UserSelect(std::min(GetCount() - 1, sel + VisibleRows())); break;
        default: break;
        }
        return 0;
    }
    case kWmMouseWheel:
        SetTopIndex(WheelScrolledTop(m_top, wParam, GetCount()));
        return 0;
    default:
        return Control::WindowProc(message, wParam, lParam);
    }
}

void ListBox::Paint(Dc& dc)
{
    const Rect client = GetClientRect();
    FillSolid(dc, client, look::kWindow);
    DrawFrame(dc, client, look::kBorder);
    const int h = GetItemHeight();
    for (int row = m_top, y = 1; row < GetCount() && y < client.bottom - 1; ++row, y += h) {
        const Rect r(1, y, client.right - 1, std::min(y + h, client.bottom - 1));
        const bool selected = row == GetCurSel();
        if (GetStyle() & kLbsOwnerDrawFixed) {
            OwnerDraw(dc, r, row, (selected ? kOdsSelected : 0u) | (selected && IsFocused() ? kOdsFocus : 0u),
                      GetItemData(row), m_drawOwner, m_drawOwner ? m_drawId : GetId());
            continue;
        }
        if (selected) FillSolid(dc, r, IsFocused() ? look::kHighlight : look::kInactiveHighlight);
        const ColorRef old = dc.SetTextColor(selected && IsFocused() ? look::kHighlightText : dc.GetTextColor());
        DrawTextIn(dc, r, GetText(row), 0, 2);
        dc.SetTextColor(old);
    }
}

} // namespace plat
