// A list view in report mode: a header of columns (text and width in pixels) over rows of
// cells. Rows are selected by a click on the first column's text, or anywhere on the row
// with kLvsExFullRowSelect; kLvsExGridLines draws lines between the rows and the columns.
// A change of a row's state notifies the parent WM_NOTIFY LVN_ITEMCHANGED.
#pragma once
#include <vector>

#include "platform/ui/control.h"

namespace plat {

// List view styles, with their Windows values.
constexpr unsigned kLvsReport = 0x0001;
constexpr unsigned kLvsSingleSel = 0x0004;
constexpr unsigned kLvsShowSelAlways = 0x0008;
constexpr unsigned kLvsNoColumnHeader = 0x4000;
// List view extended styles.
constexpr unsigned kLvsExGridLines = 0x0001;
constexpr unsigned kLvsExFullRowSelect = 0x0020;
enum ListViewItemState : unsigned {
    kLvisFocused = 0x0001,
    kLvisSelected = 0x0002,
};
enum ListViewNotify : int {
    kLvnItemChanged = -101,
};
constexpr int kLvniSelected = 0x0002;

// LVN_ITEMCHANGED.
struct ListViewNotifyInfo {
    NotifyHeader hdr;
    int item = -1;
    int subItem = 0;
    unsigned newState = 0;
    unsigned oldState = 0;
};

class ListView : public Control {
public:
    unsigned GetExtendedStyle() const { return m_exStyle; }
    void SetExtendedStyle(unsigned exStyle);

    // Inserts a column (index -1 or past the end: appends); returns its index.
    int InsertColumn(int index, StringView text, int width);
    int GetColumnCount() const { return static_cast<int>(m_columns.size()); }
    int GetColumnWidth(int column) const;
    String GetColumnText(int column) const;

    // Inserts a row with its first cell; returns its index, or -1.
    int InsertItem(int index, StringView text);
    bool SetItemText(int row, int column, StringView text);
    String GetItemText(int row, int column) const;
    int GetItemCount() const { return static_cast<int>(m_rows.size()); }
    bool DeleteItem(int row);
    void DeleteAllItems();

    // Sets the bits of the state the mask names; notifies LVN_ITEMCHANGED when they
    // changed. Selecting a row of a kLvsSingleSel list clears the others.
    bool SetItemState(int row, unsigned state, unsigned mask);
    unsigned GetItemState(int row, unsigned mask) const;
    // The next row after `start` (-1: from the first) with the state (kLvniSelected), or -1.
    int GetNextItem(int start, int flags) const;
    int GetSelectedCount() const;

    int GetHeaderHeight() const;
    int GetRowHeight() const;
    // The row's rectangle in the client area (whole width of the columns).
    Rect GetItemRect(int row) const;
    // The row and column under a client point; -1 when on no row, or off the label of the
    // first column without full-row selection.
    int HitTest(Point p, int* column = nullptr) const;
    int GetTopIndex() const { return m_top; }
    void EnsureVisible(int row);

protected:
    LResult WindowProc(unsigned message, WParam wParam, LParam lParam) override;
    void Paint(Dc& dc) override;
    unsigned DlgCode(int) const override { return kDlgcWantArrows; }

private:
    struct Column {
        String text;
        int width = 0;
    };
    struct Row {
        std::vector<String> cells;
        unsigned state = 0;
    };
    void SelectOnly(int row);
    int TextWidth(StringView text) const;

    unsigned m_exStyle = 0;
    std::vector<Column> m_columns;
    std::vector<Row> m_rows;
    int m_top = 0;
};

} // namespace plat
