// Combo boxes: a drop-down list (kCbsDropDownList: the field shows the selected row) or a
// drop-down combo (kCbsDropDown: an edit field over the rows), owner-drawn with
// kCbsOwnerDrawFixed. The list drops below the field (a click on the field, F4, Alt+Down)
// as a list box on the top-level window; picking a row there selects it and closes the
// list. A selection the user makes notifies CBN_SELCHANGE; SetCurSel notifies nobody.
// The combo's window text is the field's text.
#pragma once
#include <memory>

#include "platform/ui/control.h"
#include "platform/ui/list_box.h"

namespace plat {

class Edit;

// Combo box styles, with their Windows values.
constexpr unsigned kCbsSimple = 0x0001;
constexpr unsigned kCbsDropDown = 0x0002;
constexpr unsigned kCbsDropDownList = 0x0003;
constexpr unsigned kCbsTypeMask = 0x0003;
constexpr unsigned kCbsOwnerDrawFixed = 0x0010;
constexpr unsigned kCbsSort = 0x0100;
constexpr unsigned kCbsHasStrings = 0x0200;
enum ComboBoxNotify : unsigned {
    kCbnSelChange = 1,
    kCbnEditChange = 5,
    kCbnDropDown = 7,
    kCbnCloseUp = 8,
};
constexpr int kCbErr = -1;
// The id of a drop-down combo's edit field.
constexpr int kComboEditId = 1001;
// Rows the dropped list shows at most.
constexpr int kComboDropRows = 8;

class ComboBox : public RowsControl {
public:
    ComboBox();
    ~ComboBox() override;

    String GetLBText(int index) const { return GetText(index); }
    // Selects a row (-1: none) and shows its text in the field; no notification.
    bool SetCurSel(int index);
    // Opens or closes the list (CBN_DROPDOWN, CBN_CLOSEUP).
    void ShowDropDown(bool show);
    bool GetDroppedState() const { return m_list != nullptr; }
    ListBox* GetDroppedList() const { return m_list.get(); }
    Edit* GetEdit() const { return m_edit.get(); }
    bool IsEditable() const { return (GetStyle() & kCbsTypeMask) != kCbsDropDownList; }
    // The dropped list's rows (0: by the font) and its least width (0: the field's).
    void SetItemHeight(int height) { m_itemHeight = height; }
    int GetItemHeight() const { return m_itemHeight; }
    void SetDroppedWidth(int width) { m_droppedWidth = width; }
    int GetDroppedWidth() const { return m_droppedWidth; }

protected:
    LResult WindowProc(unsigned message, WParam wParam, LParam lParam) override;
    void Paint(Dc& dc) override;
    void OnTextSet() override;
    unsigned DlgCode(int virtualKey) const override;
    bool IsSorted() const override { return (GetStyle() & kCbsSort) != 0; }
    void OnRowsChanged() override;
    // Who draws the rows of an owner-drawn combo, in the field and in the dropped list:
    // the parent, unless a combo draws its own.
    virtual Window* GetDrawOwner() { return GetParent(); }

private:
    void UserSelect(int index);
    Rect ArrowRect() const;

    std::unique_ptr<Edit> m_edit;
    std::unique_ptr<ListBox> m_list;
    int m_itemHeight = 0;
    int m_droppedWidth = 0;
};

} // namespace plat
