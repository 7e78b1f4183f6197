// The document's spelling operations: the marks switch and replacing a marked word by
// one of its suggestions (the context menu's suggestion commands).
#include "document/doc_body.h"
#include "document/ql_doc.h"
#include "document/text_flow.h"
#include "document/text_item.h"

void CQlDoc::SetSpellMarks(bool on)
{
    if (m_spellMarks == on) return;
    m_spellMarks = on;
    if (!on && m_body) m_body->ClearSpellMarks();
    RequestRepaint();
}

bool CQlDoc::ReplaceWithSuggestion(const CSpellError* error, int slot)
{
    if (!error || IsReadOnly()) return false;
    // Only a record of the current list: an older one may point to a deleted flow.
    bool listed = false;
    for (int i = 0; i < m_spellErrors.GetCount() && !listed; ++i) listed = m_spellErrors.GetAt(i) == error;
    if (!listed) return false;
    CTextFlow* flow = error->GetFlow();
    const int start = error->GetStart();
    const int end = start + error->GetLength();
    // The flow's own conditions, checked first so that a refused replacement pushes no
    // undo step (undoing it again would throw away the redo steps).
    if (!flow || error->GetSuggestion(slot).empty() || start < 0 || end <= start || end >= flow->GetCount() ||
        flow->GetItem(start)->GetMisspelt() != error)
        return false;
    // The body's snapshot is taken around the word; a flow inside an object is saved with
    // every page object.
    if (flow == m_body.get()) PushUndoState(start, end);
    else PushUndoState();
    if (!flow->ReplaceSpellError(*error, slot)) return false;
    SetModified();
    RequestRepaint();
    return true;
}
