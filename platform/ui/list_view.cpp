#include "platform/ui/list_view.h"

#include <algorithm>

#include "platform/ui/focus.h"
#include "platform/ui/keyboard.h"

namespace plat {

namespace {
constexpr int kCellIndent = 4;
} // namespace

void ListView::SetExtendedStyle(unsigned exStyle)
{
    m_exStyle = exStyle;
    Invalidate();
}

int ListView::InsertColumn(int index, StringView text, int width)
{
    if (index < 0 || index > GetColumnCount()) index = GetColumnCount();
    m_columns.insert(m_columns.begin() + index, Column{String(text), std::max(0, width)});
    for (Row& row : m_rows)
        if (static_cast<int>(row.cells.size()) > index) row.cells.insert(row.cells.begin() + index, String());
    Invalidate();
    return index;
}

int ListView::GetColumnWidth(int column) const
{
    return column >= 0 && column < GetColumnCount() ? m_columns[column].width : 0;
}

String ListView::GetColumnText(int column) const
{
    return column >= 0 && column < GetColumnCount() ? m_columns[column].text : String();
}

int ListView::InsertItem(int index, StringView text)
{
    if (index < 0 || index > GetItemCount()) index = GetItemCount();
    Row row;
    row.cells.push_back(String(text));
    m_rows.insert(m_rows.begin() + index, std::move(row));
    Invalidate();
    return index;
}

bool ListView::SetItemText(int row, int column, StringView text)
{
    if (row < 0 || row >= GetItemCount() || column < 0 || column >= std::max(1, GetColumnCount())) return false;
    std::vector<String>& cells = m_rows[row].cells;
    if (static_cast<int>(cells.size()) <= column) cells.resize(column + 1);
    cells[column] = String(text);
    Invalidate();
    return true;
}

String ListView::GetItemText(int row, int column) const
{
    if (row < 0 || row >= GetItemCount() || column < 0) return String();
    const std::vector<String>& cells = m_rows[row].cells;
    return column < static_cast<int>(cells.size()) ? cells[column] : String();
}

bool ListView::DeleteItem(int row)
{
    if (row < 0 || row >= GetItemCount()) return false;
    m_rows.erase(m_rows.begin() + row);
    m_top = std::clamp(m_top, 0, std::max(0, GetItemCount() - 1));
    Invalidate();
    return true;
}

void ListView::DeleteAllItems()
{
    m_rows.clear();
    m_top = 0;
    Invalidate();
}

bool ListView::SetItemState(int row, unsigned state, unsigned mask)
{
    if (row < 0 || row >= GetItemCount()) return false;
    if ((mask & state & kLvisSelected) && (GetStyle() & kLvsSingleSel))
        for (int other = 0; other < GetItemCount(); ++other)
            if (other != row) SetItemState(other, 0, kLvisSelected);
    const unsigned old = m_rows[row].state;
    const unsigned next = (old & ~mask) | (state & mask);
    if (next == old) return true;
    m_rows[row].state = next;
    Invalidate();
    ListViewNotifyInfo info;
    info.hdr.code = kLvnItemChanged;
    info.item = row;
    info.newState = next;
    info.oldState = old;
    NotifyParentEx(info.hdr);
    return true;
}

unsigned ListView::GetItemState(int row, unsigned mask) const
{
    return row >= 0 && row < GetItemCount() ? m_rows[row].state & mask : 0;
}

int ListView::GetNextItem(int start, int flags) const
{
    for (int row = start + 1; row < GetItemCount(); ++row)
        if (!(flags & kLvniSelected) || (m_rows[row].state & kLvisSelected)) return row;
    return -1;
}

int ListView::GetSelectedCount() const
{
    return static_cast<int>(std::count_if(m_rows.begin(), m_rows.end(), [](const Row& r) { return r.state & kLvisSelected; }));
}

int ListView::TextWidth(StringView text) const
{
    std::unique_ptr<Dc> dc = GetDc();
    dc->Select(GetFont());
    return dc->GetTextExtent(text).cx;
}

int ListView::GetRowHeight() const
{
    std::unique_ptr<Dc> dc = GetDc();
    dc->Select(GetFont());
    return dc->GetTextMetrics().height + 4;
}

int ListView::GetHeaderHeight() const { return (GetStyle() & kLvsNoColumnHeader) ? 0 : GetRowHeight() + 2; }

Rect ListView::GetItemRect(int row) const
{
    int width = 0;
    for (const Column& c : m_columns) width += c.width;
    const int y = GetHeaderHeight() + (row - m_top) * GetRowHeight();
    return Rect(0, y, width, y + GetRowHeight());
}

int ListView::HitTest(Point p, int* column) const
{
    if (column) *column = -1;
    if (p.y < GetHeaderHeight() || p.x < 0) return -1;
    const int row = m_top + (p.y - GetHeaderHeight()) / GetRowHeight();
    if (row >= GetItemCount()) return -1;
    int x = 0, col = -1;
    for (int c = 0; c < GetColumnCount(); ++c) {
        if (p.x >= x && p.x < x + m_columns[c].width) col = c;
        x += m_columns[c].width;
    }
    if (col < 0) return -1;
    if (!(m_exStyle & kLvsExFullRowSelect)) {
        // Without full-row selection only the first cell's label takes the click.
        if (col != 0 || p.x >= kCellIndent + TextWidth(GetItemText(row, 0)) + kCellIndent) return -1;
    }
    if (column) *column = col;
    return row;
}

void ListView::EnsureVisible(int row)
{
    if (row < 0 || row >= GetItemCount()) return;
    const int visible = std::max(1, (GetClientRect().Height() - GetHeaderHeight()) / GetRowHeight());
    if (row < m_top) m_top = row;
    else if (row >= m_top + visible) m_top = row - visible + 1;
    Invalidate();
}

void ListView::SelectOnly(int row)
{
    for (int other = 0; other < GetItemCount(); ++other)
        if (other != row) SetItemState(other, 0, kLvisSelected | kLvisFocused);
    if (row >= 0) {
        SetItemState(row, kLvisSelected | kLvisFocused, kLvisSelected | kLvisFocused);
        EnsureVisible(row);
    }
}

LResult ListView::WindowProc(unsigned message, WParam wParam, LParam lParam)
{
    switch (message) {
    case kWmLButtonDown:
    case kWmLButtonDblClk: {
        if (!IsWindowEnabled()) return 0;
        SetFocus(this);
        const int row = HitTest(PointFromLParam(lParam));
        if (row >= 0 && (wParam & kMkControl) && !(GetStyle() & kLvsSingleSel))
            SetItemState(row, GetItemState(row, kLvisSelected) ^ kLvisSelected, kLvisSelected);
        else
            SelectOnly(row);
        NotifyHeader hdr;
        hdr.code = message == kWmLButtonDown ? kNmClick : kNmDblClk;
        NotifyParentEx(hdr);
        return 0;
    }
    case kWmKeyDown: {
        int row = GetNextItem(-1, kLvniSelected);
        switch (static_cast<int>(wParam)) {
        case kVkUp: row = row < 0 ? 0 : std::max(0, row - 1); break;
        case kVkDown: row = row < 0 ? 0 : std::min(GetItemCount() - 1, row + 1); break;
        case kVkHome: row = 0; break;
        case kVkEnd: row = GetItemCount() - 1; break;
        default: return 0;
        }
        if (row >= 0 && row < GetItemCount()) SelectOnly(row);
        return 0;
    }
    case kWmMouseWheel:
        m_top = WheelScrolledTop(m_top, wParam, GetItemCount());
        Invalidate();
        return 0;
    default:
        return Control::WindowProc(message, wParam, lParam);
    }
}

void ListView::Paint(Dc& dc)
{
    const Rect client = GetClientRect();
    FillSolid(dc, client, look::kWindow);
    const int header = GetHeaderHeight();
    const int rowHeight = GetRowHeight();
    int total = 0;
    for (const Column& c : m_columns) total += c.width;
    if (header > 0) {
        FillSolid(dc, Rect(0, 0, client.right, header), look::kFace);
        FillSolid(dc, Rect(0, header - 1, client.right, header), look::kBorder);
        int x = 0;
        for (const Column& c : m_columns) {
            DrawTextIn(dc, Rect(x, 0, x + c.width, header - 1), c.text, 0, kCellIndent);
            x += c.width;
            FillSolid(dc, Rect(x - 1, 2, x, header - 3), look::kBorder);
        }
    }
    const bool showSelection = IsFocused() || (GetStyle() & kLvsShowSelAlways);
    for (int row = m_top, y = header; row < GetItemCount() && y < client.bottom; ++row, y += rowHeight) {
        const bool selected = showSelection && (m_rows[row].state & kLvisSelected);
        const ColorRef fill = IsFocused() ? look::kHighlight : look::kInactiveHighlight;
        if (selected) {
            const int labelRight = (m_exStyle & kLvsExFullRowSelect)
                                       ? total
                                       : std::min(GetColumnWidth(0), 2 * kCellIndent + dc.GetTextExtent(GetItemText(row, 0)).cx);
            FillSolid(dc, Rect(0, y, labelRight, y + rowHeight), fill);
        }
        int x = 0;
        for (int c = 0; c < GetColumnCount(); ++c) {
            const bool inverse = selected && IsFocused() && (c == 0 || (m_exStyle & kLvsExFullRowSelect));
            const ColorRef old = dc.SetTextColor(inverse ? look::kHighlightText : dc.GetTextColor());
            DrawTextIn(dc, Rect(x, y, x + m_columns[c].width, y + rowHeight), GetItemText(row, c), 0, kCellIndent);
            dc.SetTextColor(old);
            x += m_columns[c].width;
        }
        if (m_exStyle & kLvsExGridLines) FillSolid(dc, Rect(0, y + rowHeight - 1, total, y + rowHeight), look::kGrid);
    }
    if (m_exStyle & kLvsExGridLines) {
        int x = 0;
        for (const Column& c : m_columns) {
            x += c.width;
            FillSolid(dc, Rect(x - 1, header, x, client.bottom), look::kGrid);
        }
    }
    DrawFrame(dc, client, look::kBorder);
}

} // namespace plat
