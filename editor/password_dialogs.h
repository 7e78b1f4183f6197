// The password dialogs: asking for the password of a protected file on opening
// (CPasswordDlg), protecting a document (CProtectDlg) and removing the protection
// (CUnprotectDlg), and the header's two dialog operations that run them.
#pragma once
#include "document/doc_password.h"
#include "platform/ui/dialog.h"

class CDocHeader;

// A dialog with one password entry (at most 14 characters), taken only when confirmed;
// closed any other way, the entry stays empty.
class CPasswordEntryDlg : public plat::Dialog {
public:
    CPasswordEntryDlg(int templateId, int editId, plat::Window* parent);
    plat::String m_password;

protected:
    void DoDataExchange(plat::DataExchange& dx) override;

private:
    int m_editId;
};

// Template 7180: the password of a protected file.
class CPasswordDlg : public CPasswordEntryDlg {
public:
    explicit CPasswordDlg(plat::Window* parent = nullptr);
};

// Template 7178: a new password and its confirmation. OK is enabled only while the first
// entry is not empty and the second repeats it.
class CProtectDlg : public plat::Dialog {
public:
    explicit CProtectDlg(plat::Window* parent = nullptr);
    plat::String m_password;
    plat::String m_confirmation;

protected:
    bool OnInitDialog() override;
    void DoDataExchange(plat::DataExchange& dx) override;
    bool OnCommand(unsigned id, unsigned code, plat::Window* control) override;

private:
    void UpdateOkButton();
};

// Template 7179: the password whose protection is to be removed.
class CUnprotectDlg : public CPasswordEntryDlg {
public:
    explicit CUnprotectDlg(plat::Window* parent = nullptr);
};

// The document's password prompt (SetPasswordPrompt) becomes CPasswordDlg over the parent:
// opening a protected file asks through it.
void InstallPasswordDialogPrompt(plat::Window* parent = nullptr);

// CProtectDlg; on OK the header is protected with the first entry. Then the view (when
// given) takes the focus. True when the protection was set. The modified flag is left.
bool SetPasswordDialog(CDocHeader& header, plat::Window* parent = nullptr, plat::Window* view = nullptr);
// CUnprotectDlg; on OK the protection is removed when the entry is the password
// (otherwise the header shows "口令错误，无法解除保护。"). Then the view takes the focus.
// True when the protection was removed.
bool RemovePasswordDialog(CDocHeader& header, plat::Window* parent = nullptr, plat::Window* view = nullptr);
