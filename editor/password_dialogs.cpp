#include "editor/password_dialogs.h"

#include "document/doc_header.h"
#include "platform/ui/data_exchange.h"
#include "platform/ui/edit.h"
#include "platform/ui/focus.h"
#include "platform/ui/message_box.h"
#include "resources/res_dialogs.h"

namespace {

void ExchangePassword(plat::DataExchange& dx, int id, plat::String& value)
{
    plat::DdxText(dx, id, value);
    plat::DdvMaxChars(dx, id, value, kMaxPasswordLength);
}

} // namespace

CPasswordEntryDlg::CPasswordEntryDlg(int templateId, int editId, plat::Window* parent)
    : plat::Dialog(DialogTemplateOf(templateId), parent), m_editId(editId)
{
}

void CPasswordEntryDlg::DoDataExchange(plat::DataExchange& dx) { ExchangePassword(dx, m_editId, m_password); }

CPasswordDlg::CPasswordDlg(plat::Window* parent) : CPasswordEntryDlg(kIddPassword, kIdcPassword, parent) {}

CProtectDlg::CProtectDlg(plat::Window* parent) : plat::Dialog(DialogTemplateOf(kIddProtect), parent) {}

bool CProtectDlg::OnInitDialog()
{
    const bool focusFirst = plat::Dialog::OnInitDialog();
    UpdateOkButton();
    return focusFirst;
}

void CProtectDlg::DoDataExchange(plat::DataExchange& dx)
{
    ExchangePassword(dx, kIdcProtectPassword, m_password);
    ExchangePassword(dx, kIdcProtectConfirm, m_confirmation);
}

bool CProtectDlg::OnCommand(unsigned id, unsigned code, plat::Window*)
{
    if (code == plat::kEnChange && (id == kIdcProtectPassword || id == kIdcProtectConfirm)) {
        UpdateOkButton();
        return true;
    }
    return false;
}

void CProtectDlg::UpdateOkButton()
{
    plat::Control* ok = GetDlgItem(plat::kIdOk);
    if (!ok) return;
    // The entries as they stand, without the length check's message.
    m_password = GetDlgItemText(kIdcProtectPassword);
    m_confirmation = GetDlgItemText(kIdcProtectConfirm);
    ok->EnableWindow(IsProtectEntryAcceptable(m_password, m_confirmation));
}

CUnprotectDlg::CUnprotectDlg(plat::Window* parent) : CPasswordEntryDlg(kIddUnprotect, kIdcUnprotectPassword, parent) {}

void InstallPasswordDialogPrompt(plat::Window* parent)
{
    SetPasswordPrompt([parent]() {
        CPasswordDlg dlg(parent);
        dlg.DoModal();
        return dlg.IsEnded() && dlg.GetResult() == plat::kIdOk ? dlg.m_password : plat::String();
    });
}

bool SetPasswordDialog(CDocHeader& header, plat::Window* parent, plat::Window* view)
{
    CProtectDlg dlg(parent);
    const bool ok = dlg.DoModal() == plat::kIdOk && header.SetPassword(dlg.m_password);
    if (view) plat::SetFocus(view);
    return ok;
}

bool RemovePasswordDialog(CDocHeader& header, plat::Window* parent, plat::Window* view)
{
    CUnprotectDlg dlg(parent);
    const bool ok = dlg.DoModal() == plat::kIdOk && header.RemovePassword(dlg.m_password);
    if (view) plat::SetFocus(view);
    return ok;
}
