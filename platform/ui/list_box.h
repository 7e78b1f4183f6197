// List boxes: rows of strings (with a number each), one selected at most; rows sorted with
// kLbsSort; owner-drawn rows with kLbsOwnerDrawFixed (WM_DRAWITEM to the parent). A click
// or the arrow keys select; with kLbsNotify the parent hears LBN_SELCHANGE when the
// selection changed that way and LBN_DBLCLK for a double click. Setting the selection from
// code notifies nobody.
#pragma once
#include <cstdint>
#include <functional>
#include <vector>

#include "platform/ui/control.h"

namespace plat {

// List box styles, with their Windows values.
constexpr unsigned kLbsNotify = 0x0001;
constexpr unsigned kLbsSort = 0x0002;
constexpr unsigned kLbsOwnerDrawFixed = 0x0010;
constexpr unsigned kLbsHasStrings = 0x0040;
enum ListBoxNotify : unsigned {
    kLbnSelChange = 1,
    kLbnDblClk = 2,
};
constexpr int kLbErr = -1;

// The rows of a list or combo box; their text, data and the selection.
class ListRows {
public:
    // Appends (or inserts in order when sorted) and returns the row's index.
    int Add(StringView text, bool sorted);
    // At index (-1: the end); returns the index or kLbErr.
    int Insert(int index, StringView text);
    // The number left, or kLbErr.
    int Delete(int index);
    void Clear();
    int Count() const { return static_cast<int>(m_rows.size()); }
    String Text(int index) const;
    int FindExact(StringView text, int after = -1) const;
    bool SetData(int index, std::uintptr_t data);
    std::uintptr_t Data(int index) const;
    int Selected() const { return m_selected; }
    // -1 clears the selection; false for an index outside the rows.
    bool Select(int index);

private:
    struct Row {
        String text;
        std::uintptr_t data = 0;
    };
    std::vector<Row> m_rows;
    int m_selected = -1;
};

// A control over rows (list and combo boxes): adding, finding and removing them.
class RowsControl : public Control {
public:
    // Appends, or inserts in order when the control sorts; returns the row's index.
    int AddString(StringView text);
    int InsertString(int index, StringView text);
    // The number of rows left, or kLbErr.
    int DeleteString(int index);
    void ResetContent();
    int GetCount() const { return m_rows.Count(); }
    String GetText(int index) const { return m_rows.Text(index); }
    int FindStringExact(StringView text, int after = -1) const { return m_rows.FindExact(text, after); }
    bool SetItemData(int index, std::uintptr_t data) { return m_rows.SetData(index, data); }
    std::uintptr_t GetItemData(int index) const { return m_rows.Data(index); }
    int GetCurSel() const { return m_rows.Selected(); }

protected:
    virtual bool IsSorted() const = 0;
    // After rows were added or removed (the control has repainted).
    virtual void OnRowsChanged() {}
    ListRows m_rows;
};

class ListBox : public RowsControl {
public:
    // Selects the row (-1: none) and scrolls it into view; no notification.
    bool SetCurSel(int index);
    int GetTopIndex() const { return m_top; }
    void SetTopIndex(int index);
    int GetItemHeight() const;
    // Rows of a fixed height (an owner-drawn list's); 0: the font's height and a margin.
    void SetItemHeight(int height);
    // The row under a client point, or -1.
    int ItemFromPoint(Point p) const;
    // Who draws owner-drawn rows and under which id (the parent and this id by default);
    // a combo box's drop-down list draws through the combo's owner.
    void SetOwnerDraw(Window* owner, int ctlId)
    {
        m_drawOwner = owner;
        m_drawId = ctlId;
    }
    // Called after the user picked a row by mouse (the drop-down list of a combo box).
    std::function<void(int)> m_onPick;

protected:
    LResult WindowProc(unsigned message, WParam wParam, LParam lParam) override;
    void Paint(Dc& dc) override;
    unsigned DlgCode(int) const override { return kDlgcWantArrows | kDlgcWantChars; }
    bool IsSorted() const override { return (GetStyle() & kLbsSort) != 0; }
    void OnRowsChanged() override;

private:
    void UserSelect(int index);
    int VisibleRows() const;

    int m_top = 0;
    int m_itemHeight = 0;
    Window* m_drawOwner = nullptr;
    int m_drawId = 0;
};

} // namespace plat
