// The page body's mouse handling: whether a press, a drag or a click belongs to an
// annotation mark, to a floating object (front layer first) or to the text.
#include <algorithm>

#include "document/doc_body.h"
#include "document/doc_context.h"
#include "document/float_object.h"
#include "document/format_state.h"
#include "document/page_object_list.h"
#include "objects/point_list.h"
#include "platform/base/saturate.h"

namespace {

// Hit codes with a meaning of their own here.
constexpr std::uint8_t kHitText = 1;
constexpr std::uint8_t kHitVertex = 90;         // a drawn shape's vertex
constexpr std::uint8_t kHitTextShapeText = 93;  // the text area of a text shape
constexpr std::uint8_t kHitAnnotation = 96;
constexpr std::uint8_t kHitNoDrag = 71;
constexpr std::uint8_t kHitDeselected = 72;     // a Shift-click took an object out of the selection
// Codes a reference pane or read-only document still follows (text selection, and what
// the objects use them for).
constexpr std::uint8_t kHitReadOnlyText = 55;

// Handles that count only on a selected object.
bool IsSelectedOnlyCode(std::uint8_t c)
{
    return c == 33 || c == 35 || c == 38 || c == 40 || c == 92;
}

// Dragging with these moves every selected object together.
bool IsMoveCode(std::uint8_t c)
{
    return (c >= 16 && c <= 19) || c == 26 || c == 28 || c == 43 || c == 70;
}

// A press that did nothing (0) leaves nothing to drag either: the tracked object may be
// one an earlier drag left behind.
bool IsNoDragCode(std::uint8_t c)
{
    return c == 0 || c == kHitNoDrag || c == kHitDeselected;
}

bool FollowsWhenReadOnly(std::uint8_t c)
{
    return c == kHitText || c == kHitReadOnlyText || c == kHitTextShapeText;
}

// The first object, front layer first and in list order within a layer, for which the
// visitor returns true; null when there is none.
template <class Visit>
CFloatObject* FirstFrontToBack(const CPageObjectList& objects, Visit visit)
{
    for (int layer = CPageObjectList::kLayerCount - 1; layer >= 0; --layer)
        for (int k = 0; k < objects.GetCount(); ++k) {
            CFloatObject* object = objects.GetObject(k);
            if (object->m_layer == layer && visit(*object)) return object;
        }
    return nullptr;
}

// The object's own box, without its caption.
bool BoxHolds(const CFloatObject& o, int x, int y)
{
    const std::int64_t left = o.m_bounds.left;
    const std::int64_t top = o.m_bounds.top;
    return x >= left && y >= top && x < left + o.m_width && y < top + o.m_height;
}

// The object that follows the drag, when it is still one of the body's: an undo or a
// deletion since it was set may have replaced the objects.
CFloatObject* TrackedObject(const CFormatState* state, const CPageObjectList& objects)
{
    if (!state || !state->m_trackedObject) return nullptr;
    for (int k = 0; k < objects.GetCount(); ++k)
        if (objects.GetObject(k) == state->m_trackedObject) return state->m_trackedObject;
    return nullptr;
}

} // namespace

std::uint8_t CDocBody::HitTest(int x, int y)
{
    std::uint8_t code = 0;
    FirstFrontToBack(*m_objects, [&](CFloatObject& o) {
        CPointList handles;
        o.GetHandles(handles);
        code = o.HitTest(x, y, handles);
        return code != 0;
    });
    return code != 0 ? code : kHitText;
}

CTextItem* CDocBody::ItemAtPoint(int x, int y) const
{
    CFloatObject* holder =
        FirstFrontToBack(*m_objects, [&](CFloatObject& o) { return o.m_bounds.Contains(plat::Point(x, y)); });
    return holder ? holder->TextItemAtPoint(x, y) : CNamedContainer::ItemAtPoint(x, y);
}

std::uint8_t CDocBody::OnLButtonDown(int x, int y, bool shift)
{
    CDocContext* doc = GetDoc();
    CFormatState* state = doc ? doc->GetFormatState() : nullptr;
    if (doc && doc->GetAnnotations().HitTestMark(x, y)) return kHitAnnotation;

    std::uint8_t code = 0;
    CFloatObject* hit = FirstFrontToBack(*m_objects, [&](CFloatObject& o) {
        CPointList handles;
        o.GetHandles(handles);
        code = o.BeginTrack(x, y, shift, handles);
        return code != 0;
    });
    if (hit) {
        // Tables handle their own clicks; handles and vertices count only on a selected
        // object; a text shape's text area takes the click into its text.
        if (hit->IsTable()) return code;
        const bool shape = hit->GetNodeType() == kNodeShape;
        if (IsSelectedOnlyCode(code) || (code == kHitVertex && shape)) {
            if (!hit->IsSelected()) return 0;
            // Reshaping a drawn shape by a handle or a vertex is undone as one step.
            if (shape && doc) doc->PushUndoState(-1, -1);
            return code;
        }
        if (code == kHitTextShapeText && hit->IsTextShape()) return code;
        // The selection, and a drag that follows, can be undone.
        if (doc) doc->PushUndoState(-1, -1);
        auto focusNone = [&] {
            if (state) state->SetFocusObject(nullptr);
        };
        if (shift) {
            if (hit->IsSelected()) {
                if (GetSelectedCount() > 1) {
                    hit->SetSelected(false);
                    if (GetSelectedCount() == 1 && state) state->m_trackedObject = hit;
                }
                return kHitDeselected;
            }
            if (GetSelectedCount() == 1 && GetSelectedObject(0)->IsTable()) DeselectAll();
            focusNone();
            hit->SetSelected(true);
        } else if (!hit->IsSelected()) {
            DeselectAll();
            focusNone();
            hit->SetSelected(true);
        }
        if (GetSelectedCount() > 1) focusNone();
        return code;
    }

    DeselectAll();
    if (state) state->SetFocusObject(this);
    if (shift) {
        // The caret goes to the point and the selection keeps its anchor, from which a drag
        // goes on extending it.
        CTextPos pos;
        HitTestPos(x, y, pos);
        m_caret = CTextPos(ClampIndex(pos.m_index), m_name);
        m_press = m_anchor;
        UpdateCaretFormat(1);
    } else {
        CTextFlow::OnLButtonDown(x, y);
    }
    if (doc) doc->RequestRepaint();
    return kHitText;
}

void CDocBody::OnMouseDrag(int x, int y)
{
    CDocContext* doc = GetDoc();
    CFormatState* state = doc ? doc->GetFormatState() : nullptr;
    const std::uint8_t code = state ? state->m_tableZone : kHitText;
    if (code == kHitAnnotation) return;
    if (doc && (doc->IsReferencePane() || doc->IsReadOnly()) && !FollowsWhenReadOnly(code)) return;
    if (GetSelectedCount() == 0) {
        CTextFlow::OnMouseMove(x, y);
    } else if (IsMoveCode(code)) {
        DragSelected(x, y);
    } else if (!IsNoDragCode(code)) {
        if (CFloatObject* tracked = TrackedObject(state, *m_objects)) tracked->TrackTo(x, y);
    }
    if (doc) doc->RequestRepaint();
}

void CDocBody::OnLButtonUp(int x, int y)
{
    CDocContext* doc = GetDoc();
    CFormatState* state = doc ? doc->GetFormatState() : nullptr;
    const std::uint8_t code = state ? state->m_tableZone : kHitText;
    if (code == kHitAnnotation) return;
    if (doc && (doc->IsReferencePane() || doc->IsReadOnly()) && !FollowsWhenReadOnly(code)) {
        if (state) state->m_tableZone = 0;
        return;
    }
    if (GetSelectedCount() == 0) {
        CTextFlow::OnMouseMove(x, y);
        UpdateCaretFormat(1);
        if (doc) {
            doc->RequestRepaint();
            doc->ScrollToCaret();
        }
        return;
    }
    if (IsMoveCode(code)) {
        DragSelected(x, y);
    } else if (IsNoDragCode(code)) {
        // Nothing moved: no layout, and the document stays as it was.
        if (state) state->m_tableZone = 0;
        if (doc) doc->RequestRepaint();
        return;
    } else if (CFloatObject* tracked = TrackedObject(state, *m_objects)) {
        tracked->EndTrack(x, y);
    }
    if (state) state->m_tableZone = 0;
    BuildPageRegions();
    RelayoutWhole();
    if (doc) {
        doc->SetModified();
        doc->RequestRepaint();
    }
}

bool CDocBody::OnLButtonDblClk(int x, int y)
{
    CDocContext* doc = GetDoc();
    int deleted = 0;
    if (doc && doc->GetAnnotations().OpenAt(x, y, deleted)) {
        if (deleted > 0) RemoveAnnotationMark(static_cast<std::int16_t>(deleted));
        return true;
    }
    CFloatObject* hit = FirstFrontToBack(*m_objects, [&](CFloatObject& o) {
        const std::uint16_t type = o.GetNodeType();
        return type != kNodeShape && type != kNodeChart && BoxHolds(o, x, y);
    });
    if (!hit) return false; // no text item acts on a double click
    if (hit->Play() == 0) {
        DeselectAll();
        hit->SetSelected(true);
    }
    return true;
}

int CDocBody::OnRButtonDown(int x, int y, int position, CSpellEngine& engine, const SpellSuggestionSink& sink,
                            CSpellError** error)
{
    CFloatObject* hit = FirstFrontToBack(
        *m_objects, [&](CFloatObject& o) { return o.GetNodeType() != kNodeShape && BoxHolds(o, x, y); });
    if (hit) return hit->AddSpellingSuggestions(x, y, engine, sink, position, error);
    return AddSpellingSuggestions(x, y, engine, sink, position, error);
}

void CDocBody::DragSelected(int x, int y)
{
    CDocContext* doc = GetDoc();
    CFormatState* state = doc ? doc->GetFormatState() : nullptr;
    const int selected = GetSelectedCount();
    if (selected == 0) return;
    std::int64_t left = INT64_MAX, right = INT64_MIN, top = INT64_MAX;
    for (int n = 0; n < selected; ++n) {
        const plat::Rect& b = GetSelectedObject(n)->m_bounds;
        left = std::min<std::int64_t>(left, b.left);
        right = std::max<std::int64_t>(right, b.right);
        top = std::min<std::int64_t>(top, b.top);
    }
    const plat::Point from = state ? state->m_dragPoint : plat::Point(x, y);
    constexpr std::int64_t kDesk = CDocContext::kDeskMargin;
    std::int64_t dx = std::int64_t(x) - from.x;
    if (left + dx < kDesk) dx = kDesk - left;
    if (right + dx > m_paperWidth + kDesk) dx = m_paperWidth + kDesk - right;
    std::int64_t dy = std::int64_t(y) - from.y;
    if (top + dy < kDesk) dy = kDesk - top;
    const int mx = plat::SaturateI32(dx);
    const int my = plat::SaturateI32(dy);
    for (int n = 0; n < selected; ++n) {
        CFloatObject* object = GetSelectedObject(n);
        object->Offset(mx, my);
        object->m_anchorState = kAnchorNone;
    }
    if (state) state->m_dragPoint = plat::Point(x, y);
}
