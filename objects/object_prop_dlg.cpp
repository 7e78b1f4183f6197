#include "objects/object_prop_dlg.h"

#include "platform/ui/button.h"
#include "platform/ui/data_exchange.h"
#include "platform/ui/message_box.h"
#include "resources/res_dialogs.h"

// ---- object properties ----

CObjectPropDlg::CObjectPropDlg(plat::Window* parent)
    : plat::Dialog(DialogTemplateOf(kIddObjectProp), parent), m_buttons(kIdcObjectWrapNone)
{
}

bool CObjectPropDlg::OnInitDialog()
{
    plat::Dialog::OnInitDialog();
    if (plat::Control* note = GetDlgItem(kIdcObjectNote)) note->EnableWindow(m_noteEditable != 0);
    UpdateData(true);
    return true;
}

void CObjectPropDlg::DoDataExchange(plat::DataExchange& dx)
{
    plat::DdxText(dx, kIdcObjectNote, m_note);
}

bool CObjectPropDlg::OnCommand(unsigned id, unsigned code, plat::Window* control)
{
    if (const std::optional<int> mode = m_buttons.ModeOf(static_cast<int>(id))) {
        OnWrap(*mode);
        return true;
    }
    return plat::Dialog::OnCommand(id, code, control);
}

void CObjectPropDlg::OnWrap(int mode)
{
    m_buttons.OnCommand(*this, kIdcObjectWrapNone + mode, m_wrapMode);
}

void CObjectPropDlg::OnDrawItem(plat::DrawItem& item)
{
    if (!m_buttons.OnDrawItem(item, m_wrapMode)) plat::Dialog::OnDrawItem(item);
}

// ---- table properties ----

CTablePropDlg::CTablePropDlg(plat::Window* parent)
    : plat::Dialog(DialogTemplateOf(kIddTableProp), parent), m_buttons(kIdcTableWrapNone)
{
}

bool CTablePropDlg::OnInitDialog()
{
    plat::Dialog::OnInitDialog();
    UpdateData(true);
    return true;
}

void CTablePropDlg::DoDataExchange(plat::DataExchange& dx)
{
    plat::DdxText(dx, kIdcTableNote, m_note);
}

bool CTablePropDlg::OnCommand(unsigned id, unsigned code, plat::Window* control)
{
    if (const std::optional<int> mode = m_buttons.ModeOf(static_cast<int>(id))) {
        OnWrap(*mode);
        return true;
    }
    return plat::Dialog::OnCommand(id, code, control);
}

void CTablePropDlg::OnWrap(int mode)
{
    m_buttons.OnCommand(*this, kIdcTableWrapNone + mode, m_wrapMode);
}

void CTablePropDlg::OnDrawItem(plat::DrawItem& item)
{
    if (!m_buttons.OnDrawItem(item, m_wrapMode)) plat::Dialog::OnDrawItem(item);
}

int RunObjectLayoutDialog(std::uint8_t& wrapMode, plat::Window* parent)
{
    CObjectPropDlg dlg(parent);
    dlg.m_wrapMode = wrapMode;
    const int answer = dlg.DoModal();
    if (answer == plat::kIdOk && dlg.m_wrapMode >= 0 && dlg.m_wrapMode < kWrapButtonCount)
        wrapMode = static_cast<std::uint8_t>(dlg.m_wrapMode);
    return answer == plat::kIdOk ? 1 : answer;
}
