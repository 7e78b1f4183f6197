// The document's commands that remove content, select the whole body, find and replace.
#include <algorithm>

#include "document/doc_body.h"
#include "document/doc_commands.h"
#include "document/find_state.h"
#include "document/float_object.h"
#include "document/format_state.h"
#include "document/ql_doc.h"
#include "document/text_flow.h"
#include "platform/base/strings.h"
#include "platform/ui/message_box.h"

namespace {

// What a selected object answers when asked to delete.
enum DeleteKind : int {
    kDeleteNothing = 0,
    kDeleteText = 1,   // the object is editing its text: the focus text deletes
    kDeleteObject = 2, // the object itself goes
    kDeleteCells = 4,  // a table clears its selected cells
};

} // namespace

void CQlDoc::EditDelete()
{
    if (!IsEditable()) return;
    PushUndoState();
    CTextFlow* focus = GetFocusText();
    const int selected = m_body->GetSelectedCount();
    if (selected == 0) {
        focus->OnDelete();
    } else if (selected == 1) {
        CFloatObject* object = m_body->GetSelectedObject(0);
        switch (object->CanDeleteText()) {
        case kDeleteText:
            focus->OnDelete();
            RefreshFocusContainer(focus);
            break;
        case kDeleteObject:
            m_body->RemoveObject(object);
            m_body->BuildPageRegions();
            m_body->RelayoutWhole();
            m_formatState->SetFocusObject(m_body.get());
            break;
        case kDeleteCells:
            object->DeleteCells();
            // The size sync repaints; a table without a grid model repaints here.
            if (CCellFormatTarget* grid = GetSelectedTableGrid()) SyncTableSize(*object, *grid);
            else RequestRepaint();
            break;
        default:
            break;
        }
    } else {
        // From the last selected to the first, so that the positions still to come stay.
        for (int n = selected - 1; n >= 0; --n) m_body->RemoveObject(m_body->GetSelectedObject(n));
        m_body->BuildPageRegions();
        m_body->RelayoutWhole();
        m_formatState->SetFocusObject(m_body.get());
    }
    SetModified(true);
    ScrollToCaret();
}

bool CQlDoc::CanDelete() const
{
    if (!m_body) return false;
    const int selected = m_body->GetSelectedCount();
    if (selected == 0) return GetFocusText()->CanDeleteForward();
    if (selected == 1) return m_body->GetSelectedObject(0)->CanDeleteText() != kDeleteNothing;
    return true;
}

void CQlDoc::Backspace()
{
    if (!IsEditable()) return;
    PushUndoState();
    CTextFlow* focus = GetFocusText();
    focus->OnBackspace();
    RefreshFocusContainer(focus);
    SetModified(true);
    ScrollToCaret();
}

bool CQlDoc::CanBackspace() const
{
    if (!m_body) return false;
    const int selected = m_body->GetSelectedCount();
    if (selected == 0) return GetFocusText()->CanDeleteBackward();
    if (selected == 1) return m_body->GetSelectedObject(0)->CanDeleteBackward();
    return false;
}

void CQlDoc::EditSelectAll()
{
    if (!m_body || !m_formatState) return;
    m_body->DeselectAll();
    m_body->SetSelection(m_body->GetEndPos(), m_body->GetStartPos());
    m_formatState->SetFocusObject(m_body.get());
    RequestRepaint();
}

bool CQlDoc::CanSelectAll() const
{
    return m_body && m_body->GetCount() > 1;
}

bool CQlDoc::CanFind() const
{
    if (!m_body || !SelectionAcceptsText()) return false;
    if (m_body->GetCount() > 1) return true;
    for (int k = 0; k < m_body->GetObjectCount(); ++k)
        if (m_body->GetObject(k)->HasText()) return true;
    return false;
}

void CQlDoc::GetFindStart(CFindState& state)
{
    if (!m_body || !m_formatState) return;
    if (!m_formatState->GetFocusObject()) m_formatState->SetFocusObject(m_body.get());
    CTextFlow* focus = GetFocusText();
    state.m_flow = focus;
    state.m_pos = focus->GetCaretPos().m_index;
    state.m_started = 0;
}

int CQlDoc::FindNext(CFindState& state)
{
    if (!m_body || state.m_findText.empty()) return 0;
    state.m_started = 0;
    if (!m_body->FindNext(state)) {
        if (plat::MessageBox(u"已查找到文档结束，是否从开始继续查找", {}, plat::kMbYesNo) != plat::kIdYes) return 0;
        state.m_flow = m_body.get();
        state.m_pos = 0;
        if (!m_body->FindNext(state)) {
            plat::MessageBox(plat::Format(u"已完成对字符串%s的查找，没有找到", state.m_findText));
            return 0;
        }
    }
    ScrollToCaret();
    RequestRepaint();
    return 1;
}

void CQlDoc::ReplaceAll(CFindState& state)
{
    if (!IsEditable() || state.m_findText.empty()) return;
    PushUndoState(0, m_body->GetCount() - 1);
    CTextFlow* focus = m_formatState->GetFocusObject();
    CTextPos remembered;
    if (focus) remembered = focus->GetCaretPos();
    const bool replaced = m_body->ReplaceAll(state);
    // The focus text may be gone with a replaced table's cells; only a flow still named
    // the focus gets its caret back.
    if (focus && m_formatState->GetFocusObject() == focus) {
        CTextPos pos = remembered;
        pos.m_index = std::min(pos.m_index, focus->GetCount() - 1);
        focus->SetCaret(pos);
    }
    if (replaced) {
        SetModified(true);
        plat::MessageBox(u"替换完成。");
    } else {
        plat::MessageBox(plat::Format(u"字符串%s没有找到，替换完成。", state.m_findText));
    }
    ScrollToCaret();
    RequestRepaint();
}
