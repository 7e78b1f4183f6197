// The page body's record, its format and editing slots, and the walks over its text and
// then its objects (find and replace-all).
#include <algorithm>
#include <memory>
#include <utility>
#include <vector>

#include "document/doc_body.h"
#include "document/doc_context.h"
#include "document/find_state.h"
#include "document/float_object.h"
#include "document/format_state.h"
#include "document/page_object_list.h"
#include "document/text_item.h"
#include "platform/base/saturate.h"
#include "platform/file/archive.h"

namespace {

using NodeVector = std::vector<std::unique_ptr<CDocNode>>;

} // namespace

// ---- record ----

std::int32_t CDocBody::CountBlockObjects(const CParaEndItem& end) const
{
    std::int32_t count = 0;
    for (int i = 0; i < m_objects->GetCount(); ++i)
        if (m_objects->GetObject(i)->m_anchorName == end.GetName()) ++count;
    return count;
}

void CDocBody::SaveBlockObjects(plat::Archive& ar, const CParaEndItem& end)
{
    for (int i = 0; i < m_objects->GetCount(); ++i) {
        CFloatObject* object = m_objects->GetObject(i);
        if (object->m_anchorName != end.GetName()) continue;
        ar.WriteU16(object->GetNodeType());
        object->Save(ar, kArchiveClipboard, 0, 0);
        ar.WriteI32(object->m_anchorOffset);
    }
}

std::unique_ptr<CDocNode> CDocBody::LoadBlockObject(plat::Archive& ar, std::uint16_t type, int mode,
                                                    std::int32_t& anchorOffset)
{
    std::unique_ptr<CFloatObject> object = CreateDocObject(GetDoc(), type, m_objects.get());
    if (!object) throw plat::ArchiveException(plat::ArchiveException::kBadClass, "object type in a text block");
    object->Load(ar, mode);
    object->OnLoaded();
    anchorOffset = ar.ReadI32();
    return object;
}

void CDocBody::PlaceBlockObject(std::unique_ptr<CDocNode> node, std::int32_t anchorOffset, const CParaEndItem& end)
{
    std::unique_ptr<CFloatObject> object(static_cast<CFloatObject*>(node.release()));
    RelayoutWhole();
    const std::int64_t below = std::int64_t(end.GetTop()) + end.GetHeight() + kRegionGap;
    object->Offset(0, plat::SaturateI32(below - object->m_bounds.top));
    object->m_anchorState = kAnchorAttached;
    object->m_anchorName = end.GetName();
    object->m_anchorOffset = anchorOffset;
    object->m_targetTop = object->m_bounds.top;
    CFloatObject* placed = AddObject(std::move(object));
    CheckAnchor(*placed);
    BuildPageRegions();
    RelayoutWhole();
}

void CDocBody::Save(plat::Archive& ar, int mode)
{
    CTextFlow::Save(ar, mode);
    m_objects->Save(ar, mode);
}

void CDocBody::Load(plat::Archive& ar, int mode, int dx, int dy)
{
    CDocContext* doc = GetDoc();
    // What a refused record must leave as it was.
    const CCharFormat charFormat(m_charFormat);
    const CParaFormat paraFormat(m_paraFormat);
    const CTextPos caret = m_caret, anchor = m_anchor, press = m_press;
    const String name = m_name;
    auto restoreFields = [&] {
        m_charFormat = charFormat;
        m_paraFormat = paraFormat;
        m_caret = caret;
        m_anchor = anchor;
        m_press = press;
        m_name = name;
        CFormatState* state = doc ? doc->GetFormatState() : nullptr;
        if (state && state->GetFocusObject() == this) state->SetFocusObject(this);
    };

    if (mode != kArchiveInsert || (IsEmpty() && GetObjectCount() == 0)) {
        // The record replaces the content; an inserted file into an empty body keeps its
        // own places (no offset).
        auto objects = std::make_unique<CPageObjectList>(doc, this);
        NodeVector old;
        old.swap(m_children);
        NoteRefilled();
        try {
            CTextFlow::Load(ar, mode);
            objects->Load(ar, mode, 0, 0);
        } catch (...) {
            m_children.swap(old); // the loaded items go with `old`
            NoteRefilled();
            restoreFields();
            throw;
        }
        m_objects = std::move(objects); // the old objects go with the old list
    } else {
        // Another file appended after a page break; its objects are shifted by (dx, dy).
        const int oldCount = GetCount();
        try {
            CTextFlow::Load(ar, mode);
            m_objects->Load(ar, mode, dx, dy);
        } catch (...) {
            m_children.erase(m_children.begin() + std::min<std::ptrdiff_t>(oldCount, GetCount()),
                             m_children.end());
            NoteRefilled();
            if (CTextItem* last = GetItem(GetCount() - 1)) last->SetNodeType(kItemFinalParaEnd);
            restoreFields();
            throw;
        }
    }

    SetGeometryFromDocument();
    BuildPageRegions();
    RelayoutWhole();
}

void CDocBody::PrepareItems()
{
    CTextFlow::PrepareItems();
    for (int k = 0; k < m_objects->GetCount(); ++k) m_objects->GetObject(k)->PrepareItems();
}

// ---- formats ----

void CDocBody::SetCharFormat(int fieldId, const CCharFormat& values)
{
    // The flow's own change would lay out the selection; one full layout follows anyway.
    ++m_layoutDeferred;
    CTextFlow::SetCharFormat(fieldId, values);
    --m_layoutDeferred;
    UpdateCaretFormat(0);
    RelayoutWhole();
}

template <class Change>
void CDocBody::ChangeParagraphs(Change change)
{
    const int count = GetCount();
    int from = m_caret.m_index;
    int to = m_caret.m_index; // up to and including the first paragraph end at or after this
    if (HasSelection()) {
        from = std::min(m_caret.m_index, m_anchor.m_index);
        to = std::max(m_caret.m_index, m_anchor.m_index);
    }
    for (int i = std::max(from, 0); i < count; ++i) {
        if (!IsParaEndType(ItemAt(i)->GetNodeType())) continue;
        if (auto* end = dynamic_cast<CParaEndItem*>(ItemAt(i))) {
            CParaFormat f = end->GetParaFormat();
            change(f);
            end->SetParaFormat(f);
        }
        if (i >= to) break;
    }
    change(m_paraFormat);
    RelayoutWhole();
}

void CDocBody::SetAlignment(std::uint8_t alignment)
{
    ChangeParagraphs([alignment](CParaFormat& f) { f.m_align = alignment; });
}

void CDocBody::SetLineSpacing(std::uint8_t spacing)
{
    ChangeParagraphs([spacing](CParaFormat& f) { f.m_spacing = spacing; });
}

void CDocBody::SetIndents(std::int32_t first, std::int32_t left, std::int32_t right)
{
    ChangeParagraphs([=](CParaFormat& f) {
        f.m_firstIndent = first;
        f.m_leftIndent = left;
        f.m_rightIndent = right;
    });
}

void CDocBody::UpdateCaretFormat(int take)
{
    if (take) {
        if (const CTextItem* item = CaretItem()) {
            m_charFormat = item->GetFormat();
            // What is typed next is new text, even beside text marked as deleted.
            m_charFormat.m_deletedBy = 0;
        }
    }
    m_paraFormat = GetParaFormatAt(m_caret.m_index);
    CFormatState* state = GetDoc() ? GetDoc()->GetFormatState() : nullptr;
    if (!state) return;
    state->m_charFormat = m_charFormat;
    state->m_paraFormat = m_paraFormat;
    state->SyncToolbar();
}

// ---- deletion ----

void CDocBody::DeleteSelection()
{
    CTextFlow::DeleteSelection();
    UpdateCaretFormat(1);
    RelayoutAroundEdit();
}

void CDocBody::OnDelete()
{
    CTextFlow::OnDelete();
    UpdateCaretFormat(1);
    RelayoutAroundEdit();
}

void CDocBody::OnBackspace()
{
    CTextFlow::OnBackspace();
    UpdateCaretFormat(1);
    RelayoutAroundEdit();
}

// ---- traversals ----

bool CDocBody::FindNext(CFindState& state)
{
    if (CTextFlow::FindNext(state)) {
        DeselectAll();
        if (CFormatState* fs = GetDoc() ? GetDoc()->GetFormatState() : nullptr) fs->SetFocusObject(this);
        UpdateCaretFormat(1);
        return true;
    }
    for (int k = 0; k < m_objects->GetCount(); ++k) {
        CFloatObject* object = m_objects->GetObject(k);
        if (!object->FindNext(state)) continue;
        DeselectAll();
        object->SetSelected(true);
        return true;
    }
    return false;
}

void CDocBody::RemoveAnnotationMark(std::int16_t annotation)
{
    CDocContext* doc = GetDoc();
    // The snapshot spans every item that loses the mark, wherever the caret is: undo puts
    // back only the paragraphs it holds.
    int first = -1;
    int last = -1;
    for (int i = 0; i < GetCount(); ++i) {
        if (ItemAt(i)->GetFormat().m_annotation != annotation) continue;
        if (first < 0) first = i;
        last = i;
    }
    if (doc) doc->PushUndoState(first, last);
    CTextFlow::RemoveAnnotationMark(annotation);
    for (int k = 0; k < m_objects->GetCount(); ++k) m_objects->GetObject(k)->RemoveAnnotationMark(annotation);
    if (doc) {
        doc->SetModified();
        doc->RequestRepaint();
    }
}

bool CDocBody::ReplaceAll(CFindState& state)
{
    bool replaced = false;
    {
        // Every replacement would lay out the paragraphs around it; one layout at the end
        // gives the same result.
        ++m_layoutDeferred;
        replaced = ReplaceAllInFlow(state);
        --m_layoutDeferred;
    }

    bool moved = false;
    for (int k = 0; k < m_objects->GetCount(); ++k) {
        CFloatObject* object = m_objects->GetObject(k);
        auto* target = dynamic_cast<CReplaceAllTarget*>(object);
        if (!target) continue;
        const plat::Rect before = object->m_bounds;
        state.m_pos = 0;
        if (target->ReplaceAllText(state)) replaced = true;
        // A table that grew or shrank takes its place among the regions again.
        if (object->m_bounds != before) moved = true;
    }
    if (moved) BuildPageRegions();
    if (replaced || moved) RelayoutWhole();
    return replaced;
}
