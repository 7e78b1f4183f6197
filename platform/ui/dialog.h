// Dialogs built from templates (dialog_template.h). A dialog is a top-level window whose
// controls come from its template's items, sized in dialog units of its font. It handles
// the dialog keys: Tab and Shift+Tab move the focus between the enabled, visible tab-stop
// controls; Enter presses the default button (the kBsDefPushButton, else IDOK), Esc
// IDCANCEL, unless the focus control wants the key (WM_GETDLGCODE); a disabled button is
// not pressed; the arrow keys move through a radio group and check the button they reach. IDOK runs OnOK (the data exchange, then EndDialog(IDOK)), IDCANCEL OnCancel.
//
// DoModal runs the dialog on the modal-run service (modal.h) as a modal loop: the answerer
// sees the dialog as the run's window (DialogOf), fills its controls and presses buttons by
// control id; the button that ends the dialog gives DoModal its result. An answer returned
// without pressing anything counts as pressing the button of that id, once the run is over.
#pragma once
#include <memory>
#include <optional>
#include <vector>

#include "platform/gfx/font.h"
#include "platform/ui/control.h"
#include "platform/ui/dialog_template.h"
#include "platform/ui/modal.h"

namespace plat {

class DataExchange;
class ToolTip;

class Dialog : public Window {
public:
    explicit Dialog(const DialogTemplate& tpl, Window* parent = nullptr);
    ~Dialog() override;

    // Runs the dialog modally; returns the id it was ended with, or kModalFailed when it
    // could not be made or nobody answered. The parent is disabled while it runs.
    int DoModal();
    // Makes the window and its controls and initialises it (modeless); false when a control
    // class is unknown.
    bool CreateDialog();
    // Ends the dialog with the result (a modal run returns it).
    void EndDialog(int result);
    bool IsEnded() const { return m_ended; }
    int GetResult() const { return m_result; }

    const DialogTemplate& GetTemplate() const { return m_template; }
    const Font& GetDialogFont() const { return m_font; }
    Size GetBaseUnits() const { return m_baseUnits; }
    Rect MapDialogRect(const Rect& dialogUnits) const { return plat::MapDialogRect(dialogUnits, m_baseUnits); }

    // ---- controls by id ----
    Control* GetDlgItem(int id) const;
    template <class T>
    T* GetItem(int id) const { return dynamic_cast<T*>(GetDlgItem(id)); }
    // The controls in template order.
    const std::vector<Control*>& GetControls() const { return m_order; }
    String GetDlgItemText(int id) const;
    // As WM_SETTEXT (an edit notifies EN_CHANGE).
    void SetDlgItemText(int id, StringView text);
    std::optional<int> GetDlgItemInt(int id) const;
    void SetDlgItemInt(int id, int value);
    int IsDlgButtonChecked(int id) const;
    void CheckDlgButton(int id, int check);
    // Checks one radio button of first..last and clears the others.
    void CheckRadioButton(int first, int last, int check);
    // What the user's press does: clicks the button when it is there, visible and enabled.
    // False otherwise.
    bool PressButton(int id);
    // Types text into the control as the user does: focus, select all, then type.
    bool TypeInto(int id, StringView text);
    // Picks the row of exactly that text in a list box or a drop-down list, as the user's
    // click does: the control takes the focus, the row is selected, and a changed selection
    // is notified (a list box only with kLbsNotify). False when the control is not there,
    // visible and enabled, or holds no such row.
    bool ChooseRow(int id, StringView text);
    bool IsDlgItemEnabled(int id) const;

    // ---- focus ----
    void GotoDlgCtrl(Window* control);
    // The next (or previous) enabled, visible tab stop after the focus, wrapping.
    void NextDlgCtrl(bool previous = false);
    int GetDefID() const;
    void SetDefID(int id);

    // Runs DoDataExchange: false when a field failed (its message was shown and the
    // field took the focus).
    bool UpdateData(bool saveAndValidate = true);

    // The dialog's tooltip, made on first use; mouse messages over the dialog reach it.
    ToolTip& GetToolTip();

protected:
    // After the controls are made: by default loads the fields (UpdateData(false)). True
    // lets the dialog give the focus to its first tab stop.
    virtual bool OnInitDialog();
    virtual void DoDataExchange(DataExchange& dx);
    virtual void OnOK();
    virtual void OnCancel();
    // WM_COMMAND from a control or a menu; true when handled. IDOK and IDCANCEL reach
    // OnOK and OnCancel when this leaves them.
    virtual bool OnCommand(unsigned id, unsigned code, Window* control);
    virtual void OnDrawItem(DrawItem&) {}

    LResult WindowProc(unsigned message, WParam wParam, LParam lParam) override;
    bool PreTranslateMessage(Message& message) override;

private:
    bool HandleDialogKey(const Message& message);
    // True when the control takes the key itself.
    bool Wants(Window* control, int virtualKey, unsigned code) const;
    std::vector<Control*> TabStops() const;

    DialogTemplate m_template;
    Window* m_owner;
    Font m_font;
    Size m_baseUnits;
    std::vector<std::unique_ptr<Control>> m_controls;
    std::vector<Control*> m_order;
    std::unique_ptr<ToolTip> m_toolTip;
    bool m_ended = false;
    int m_result = 0;
};

// The dialog a modal run shows (null for a run of another kind).
Dialog* DialogOf(const ModalRecord& run);

} // namespace plat
