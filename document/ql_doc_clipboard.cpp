// The enable tests of the clipboard commands.
#include "document/doc_body.h"
#include "document/doc_node.h"
#include "document/float_object.h"
#include "document/ql_doc.h"
#include "document/text_flow.h"

bool CQlDoc::CanCopy() const
{
    if (!m_body) return false;
    const int selected = m_body->GetSelectedCount();
    if (selected == 0) {
        const CTextFlow* focus = GetFocusText();
        return focus && focus->HasSelection();
    }
    if (selected == 1) return m_body->GetSelectedObject(0)->CanCopyText() != 0;
    return true;
}

bool CQlDoc::CanPasteFormat(int kind) const
{
    switch (kind) {
    case kPasteText:
    case kPasteUnicodeText:
        return SelectionAcceptsText();
    case kPasteBlock:
    case kPasteBitmap:
        return true;
    case kPasteUnit:
        return m_body && m_body->GetSelectedCount() > 0 &&
               m_body->GetSelectedObject(0)->GetNodeType() == kNodeTable;
    default:
        return false;
    }
}
