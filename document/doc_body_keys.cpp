// The page body's navigation keys: they belong to the selected floating objects when
// there are any (nudged and restacked through their own key slots), else to the text that
// holds the caret.
#include <vector>

#include "document/doc_body.h"
#include "document/doc_context.h"
#include "document/float_object.h"
#include "document/format_state.h"

namespace {

using ObjectKey = void (CFloatObject::*)(bool);
using TextKey = void (CTextFlow::*)(bool);

// True when the selected objects took the key.
bool RouteKey(CDocBody& body, bool shift, ObjectKey objectKey, TextKey textKey)
{
    CDocContext* doc = body.GetDoc();
    const int selected = body.GetSelectedCount();
    if (selected > 0) {
        // Nudging and restacking are edits; a document that may not change keeps its
        // objects where they are (its keys only move carets).
        if (doc && (doc->IsReadOnly() || doc->IsReferencePane())) return true;
        // Restacking appends an object to the end of the list, which reorders the
        // selection as it is walked: act on the objects selected when the key came, once
        // each.
        std::vector<CFloatObject*> objects;
        objects.reserve(static_cast<size_t>(selected));
        for (int n = 0; n < selected; ++n) objects.push_back(body.GetSelectedObject(n));
        for (CFloatObject* object : objects) (object->*objectKey)(shift);
        if (doc) doc->ScrollToCaret();
        return true;
    }
    if (!textKey) return false;
    const CFormatState* state = doc ? doc->GetFormatState() : nullptr;
    CTextFlow* focus = state ? state->GetFocusObject() : &body;
    if (focus) (focus->*textKey)(shift);
    return false;
}

} // namespace

bool CDocBody::OnKeyTab(bool shift)
{
    return RouteKey(*this, shift, &CFloatObject::OnKeyTab, nullptr);
}

void CDocBody::OnKeyCtrlHome(bool shift)
{
    RouteKey(*this, shift, &CFloatObject::OnKeyCtrlHome, &CTextFlow::MoveToStart);
}

void CDocBody::OnKeyCtrlEnd(bool shift)
{
    RouteKey(*this, shift, &CFloatObject::OnKeyCtrlEnd, &CTextFlow::MoveToEnd);
}

void CDocBody::OnKeyHome(bool shift)
{
    RouteKey(*this, shift, &CFloatObject::OnKeyHome, &CTextFlow::MoveToLineStart);
}

void CDocBody::OnKeyEnd(bool shift)
{
    RouteKey(*this, shift, &CFloatObject::OnKeyEnd, &CTextFlow::MoveToLineEnd);
}

void CDocBody::OnKeyLeft(bool shift)
{
    RouteKey(*this, shift, &CFloatObject::OnKeyLeft, &CTextFlow::MoveLeft);
}

void CDocBody::OnKeyRight(bool shift)
{
    RouteKey(*this, shift, &CFloatObject::OnKeyRight, &CTextFlow::MoveRight);
}

void CDocBody::OnKeyUp(bool shift)
{
    RouteKey(*this, shift, &CFloatObject::OnKeyUp, &CTextFlow::MoveUp);
}

void CDocBody::OnKeyDown(bool shift)
{
    RouteKey(*this, shift, &CFloatObject::OnKeyDown, &CTextFlow::MoveDown);
}
