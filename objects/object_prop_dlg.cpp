#include "objects/object_prop_dlg.h"

#include "document/doc_body.h"
#include "document/float_object.h"
#include "document/ql_doc.h"
#include "platform/ui/focus.h"

#include "platform/ui/data_exchange.h"
#include "platform/ui/focus.h"
#include "platform/ui/message_box.h"
#include "resources/res_dialogs.h"

// ---- what both dialogs share ----

CWrapPropDlg::CWrapPropDlg(int templateId, int firstWrapId, int noteId, plat::Window* parent)
    : plat::Dialog(DialogTemplateOf(templateId), parent), m_buttons(firstWrapId), m_firstWrapId(firstWrapId),
      m_noteId(noteId)
{
}

bool CWrapPropDlg::OnInitDialog()
{
    plat::Dialog::OnInitDialog();
    UpdateData(true);
    return true;
}

void CWrapPropDlg::DoDataExchange(plat::DataExchange& dx)
{
    plat::DdxText(dx, m_noteId, m_note);
}

bool CWrapPropDlg::OnCommand(unsigned id, unsigned code, plat::Window* control)
{
    if (const std::optional<int> mode = m_buttons.ModeOf(static_cast<int>(id))) {
        OnWrap(*mode);
        return true;
    }
    return plat::Dialog::OnCommand(id, code, control);
}

void CWrapPropDlg::OnWrap(int mode)
{
    m_buttons.OnCommand(*this, m_firstWrapId + mode, m_wrapMode);
}

void CWrapPropDlg::OnDrawItem(plat::DrawItem& item)
{
    if (!m_buttons.OnDrawItem(item, m_wrapMode)) plat::Dialog::OnDrawItem(item);
}

// ---- the two dialogs ----

CObjectPropDlg::CObjectPropDlg(plat::Window* parent)
    : CWrapPropDlg(kIddObjectProp, kIdcObjectWrapNone, kIdcObjectNote, parent)
{
}

bool CObjectPropDlg::OnInitDialog()
{
    plat::Dialog::OnInitDialog();
    if (plat::Control* note = GetDlgItem(NoteId())) note->EnableWindow(m_noteEditable != 0);
    UpdateData(true);
    return true;
}

CTablePropDlg::CTablePropDlg(plat::Window* parent) : CWrapPropDlg(kIddTableProp, kIdcTableWrapNone, kIdcTableNote, parent)
{
}

int RunWrapProperties(CFloatObject& object, CWrapPropDlg& dlg, bool withNote)
{
    CDocContext* context = object.GetDoc();
    CQlDoc* doc = dynamic_cast<CQlDoc*>(context);
    plat::Window* canvas = doc ? doc->GetCanvas() : nullptr;
    dlg.m_wrapMode = object.m_wrapMode;
    if (withNote) {
        dlg.m_note = object.GetCaption();
    }
    const bool confirmed = dlg.DoModal() == plat::kIdOk && dlg.m_wrapMode >= 0 && dlg.m_wrapMode <= kWrapBoth;
    if (confirmed && context) {
        context->PushUndoState();
        object.m_wrapMode = static_cast<std::uint8_t>(dlg.m_wrapMode);
        if (withNote) object.SetCaption(dlg.m_note);
        object.RecalcLayout();
        if (CDocBody* body = object.GetBody()) {
            body->BuildPageRegions();
            body->RelayoutWhole();
        }
        context->SetModified();
        context->RequestRepaint();
    }
    if (canvas) plat::SetFocus(canvas);
    return confirmed ? 1 : 0;
}

int RunObjectLayoutDialog(std::uint8_t& wrapMode, plat::Window* parent)
{
    CObjectPropDlg dlg(parent);
    dlg.m_wrapMode = wrapMode;
    const int answer = dlg.DoModal();
    if (answer == plat::kIdOk && dlg.m_wrapMode >= 0 && dlg.m_wrapMode < kWrapButtonCount)
        wrapMode = static_cast<std::uint8_t>(dlg.m_wrapMode);
    return answer;
}

int ShowWrapProperties(CFloatObject& object)
{
    CQlDoc* doc = dynamic_cast<CQlDoc*>(object.GetDoc());
    CObjectPropDlg dlg(doc ? doc->GetCanvas() : nullptr);
    return RunWrapProperties(object, dlg, false);
}
