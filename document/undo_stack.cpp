#include "document/undo_stack.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "document/doc_body.h"
#include "document/doc_context.h"
#include "document/float_object.h"
#include "document/format_state.h"
#include "document/page_object_list.h"
#include "document/text_item.h"

using plat::ArchiveException;

// ---- the slots ----

void CUndoStack::Clear()
{
    for (auto& slot : m_slots) slot.reset();
    m_top = -1;
    m_count = 0;
}

plat::MemFile* CUndoStack::At(int slot) const
{
    return slot >= 0 && slot < m_count ? m_slots[static_cast<size_t>(slot)].get() : nullptr;
}

void CUndoStack::Push(std::unique_ptr<plat::MemFile> snapshot)
{
    if (m_top + 1 < m_count) {
        // Everything that could have been redone goes.
        for (int i = m_top + 1; i < m_count; ++i) m_slots[static_cast<size_t>(i)].reset();
        m_count = m_top + 1;
    }
    if (m_count >= kMaxUndo) {
        // The oldest snapshot goes; the others move down one slot.
        std::move(m_slots.begin() + 1, m_slots.begin() + m_count, m_slots.begin());
        m_slots[static_cast<size_t>(m_count - 1)].reset();
        m_count -= 1;
        m_top = m_count - 1;
    }
    m_top = m_count;
    m_slots[static_cast<size_t>(m_top)] = std::move(snapshot);
    m_count = m_top + 1;
}

void CUndoStack::PutRedo(std::unique_ptr<plat::MemFile> snapshot)
{
    if (m_top < 0) return;
    if (m_top + 1 >= m_count) {
        // The extra slot keeps room for this one even when kMaxUndo snapshots wait.
        if (m_count >= kSlots) {
            std::move(m_slots.begin() + 1, m_slots.begin() + m_count, m_slots.begin());
            m_slots[static_cast<size_t>(m_count - 1)].reset();
            m_count -= 1;
            m_top -= 1;
        }
        m_count += 1;
    }
    m_slots[static_cast<size_t>(m_top + 1)] = std::move(snapshot);
}

// ---- the body range ----

namespace undo_range {

namespace {

bool IsRangeBreak(std::uint16_t type)
{
    return type == kItemParaEnd || type == kItemParaPageBreak;
}

// A record with every item of the range read, not yet put into the body.
struct ParsedRange {
    std::int32_t start = 0;
    plat::String endName;
    std::unique_ptr<CPageObjectList> objects;
    CCharFormat charFormat;
    CParaFormat paraFormat;
    CTextPos caret;
    CTextPos anchor;
    std::int32_t focus = 0;
    std::vector<std::unique_ptr<CTextItem>> items;
    std::int32_t revisionsShown = 0;
};

// Index of the paragraph end that closes a range starting at `start`: the one named, or
// the last item when none from the start on has the name.
int FindRangeEnd(const CDocBody& body, int start, const plat::String& endName)
{
    const int count = body.GetCount();
    for (int i = std::max(start, 0); i < count; ++i) {
        const CTextItem* item = body.GetItem(i);
        if (IsParaEndType(item->GetNodeType()) && static_cast<const CParaEndItem*>(item)->GetName() == endName)
            return i;
    }
    return count - 1;
}

void ReadRange(CDocBody& body, plat::Archive& ar, ParsedRange& r)
{
    CDocContext* doc = body.GetDoc();
    ReadUndoRangeHeader(ar, r.start, r.endName);
    r.objects = std::make_unique<CPageObjectList>(doc, &body);
    r.objects->Load(ar, kArchiveUndo, 0, 0);
    r.charFormat = CCharFormat(doc);
    r.charFormat.Load(ar, kArchiveUndo);
    r.paraFormat.Load(ar, kArchiveUndo);
    r.caret.Load(ar, kArchiveUndo);
    r.anchor.Load(ar, kArchiveUndo);
    r.focus = ar.ReadI32();
    const std::int32_t count = ar.ReadI32();
    // Every item record takes at least its type and its format flag.
    if (count < 1) throw ArchiveException(ArchiveException::kBadIndex, "undo item count");
    ar.Require(static_cast<std::uint64_t>(count) * 3);
    CTextItem::RecordWalk walk(r.charFormat, doc, kArchiveUndo);
    r.items.reserve(static_cast<size_t>(count));
    for (std::int32_t i = 0; i < count; ++i) {
        std::unique_ptr<CTextItem> item = NewTextItemOfType(ar.ReadU16(), &body);
        if (!item) throw ArchiveException(ArchiveException::kBadClass, "text item type");
        item->LoadRecord(ar, walk);
        r.items.push_back(std::move(item));
    }
    r.revisionsShown = ar.ReadI32();
}

// Whether the record's items can take the place of body items start..end.
void CheckFits(const CDocBody& body, const ParsedRange& r, int end)
{
    const int count = body.GetCount();
    if (r.start < 0 || r.start >= count) throw ArchiveException(ArchiveException::kBadIndex, "undo range start");
    const CTextItem* last = r.items.back().get();
    if (!IsParaEndType(last->GetNodeType()) || static_cast<const CParaEndItem*>(last)->GetName() != r.endName)
        throw ArchiveException(ArchiveException::kBadSchema, "undo range end");
    // The flow keeps exactly one final paragraph end, as its last item.
    const bool closesFlow = end == count - 1;
    for (size_t i = 0; i < r.items.size(); ++i) {
        const bool final = r.items[i]->GetNodeType() == kItemFinalParaEnd;
        const bool wanted = closesFlow && i + 1 == r.items.size();
        if (final != wanted) throw ArchiveException(ArchiveException::kBadSchema, "undo range final paragraph end");
    }
    const std::int64_t newCount = std::int64_t(count) - (end - r.start + 1) + std::int64_t(r.items.size());
    auto inFlow = [newCount](const CTextPos& p) { return p.m_index >= 0 && p.m_index < newCount; };
    if (!inFlow(r.caret) || !inFlow(r.anchor)) throw ArchiveException(ArchiveException::kBadIndex, "caret position");
}

void ApplyRange(CDocBody& body, ParsedRange& r, int end)
{
    CDocContext* doc = body.GetDoc();
    CFormatState* state = doc ? doc->GetFormatState() : nullptr;
    // The tracked object is one of those about to go.
    if (state) state->m_trackedObject = nullptr;
    body.DeleteAllObjects();
    while (r.objects->GetCount() > 0) {
        std::unique_ptr<CDocNode> node = r.objects->Detach(0);
        body.AddObject(std::unique_ptr<CFloatObject>(static_cast<CFloatObject*>(node.release())));
    }
    body.RemoveRange(r.start, end + 1);
    body.InsertItems(r.start, std::move(r.items));
    r.items.clear();
    body.SetRunningCharFormat(r.charFormat);
    body.SetRunningParaFormat(r.paraFormat);
    body.SetSelection(CTextPos(r.caret.m_index, body.GetName()), CTextPos(r.anchor.m_index, body.GetName()));
    if (state) {
        if (r.focus == 1)
            state->SetFocusObject(&body);
        else
            state->SyncToolbar();
    }
    // Page frames from the header's settings, then the regions and the whole text.
    if (doc) {
        const plat::Rect m = doc->GetMargins();
        const plat::Size paper = doc->GetPaperSize();
        body.SetPageGeometry(m.left, m.top, m.right, m.bottom, paper.cx, paper.cy);
    }
    body.BuildPageRegions();
    body.RelayoutWhole();
    // Objects lay their text out again when the revisions shown differ from the snapshot's.
    if (doc && (r.revisionsShown != 0) != doc->IsRevisionsShown()) body.RecalcAllObjects();
}

} // namespace

void ReadUndoRangeHeader(plat::Archive& ar, std::int32_t& start, plat::String& endName)
{
    std::int32_t s = ar.ReadI32();
    plat::String name = ar.ReadString();
    start = s;
    endName = std::move(name);
}

void WriteUndoRange(CDocBody& body, plat::Archive& ar, int start, const plat::String& endName)
{
    const int end = FindRangeEnd(body, start, endName);
    start = std::clamp(start, 0, end);
    ar.WriteI32(start);
    // The item that really closes the range, so that the record always names its last item.
    ar.WriteString(static_cast<const CParaEndItem*>(body.GetItem(end))->GetName());
    body.GetObjectList().Save(ar, kArchiveUndo);
    body.GetRunningCharFormat().Save(ar, kArchiveUndo);
    body.GetRunningParaFormat().Save(ar, kArchiveUndo);
    CTextPos caret, anchor;
    body.GetSelectionPositions(caret, anchor);
    caret.Save(ar, kArchiveUndo);
    anchor.Save(ar, kArchiveUndo);
    CDocContext* doc = body.GetDoc();
    const CFormatState* state = doc ? doc->GetFormatState() : nullptr;
    ar.WriteI32(state && state->GetFocusObject() == &body ? 1 : 0);
    // The items, walked from the running format the record carries.
    ar.WriteI32(end - start + 1);
    CTextItem::RecordWalk walk(body.GetRunningCharFormat(), body.GetDoc(), kArchiveUndo);
    for (int i = start; i <= end; ++i) {
        const CTextItem* item = body.GetItem(i);
        ar.WriteU16(item->GetNodeType());
        item->SaveRecord(ar, walk);
    }
    ar.WriteI32(doc && doc->IsRevisionsShown() ? 1 : 0);
}

void SaveUndoRange(CDocBody& body, plat::Archive& ar, int p, int q)
{
    CTextPos caret, anchor;
    body.GetSelectionPositions(caret, anchor);
    if (p < 0) p = caret.m_index;
    if (q < 0) q = anchor.m_index;
    const int last = body.GetCount() - 1;
    const int lo = std::clamp(std::min(p, q), 0, last);
    const int hi = std::clamp(std::max(p, q), 0, last);
    WriteUndoRange(body, ar, GetUndoRangeStart(body, lo), GetUndoRangeEndName(body, hi));
}

void RestoreUndoRange(CDocBody& body, plat::Archive& ar, const std::function<void(plat::Archive&)>& readTail)
{
    ParsedRange r;
    ReadRange(body, ar, r);
    const int end = FindRangeEnd(body, r.start, r.endName);
    CheckFits(body, r, end);
    if (readTail) readTail(ar);
    ApplyRange(body, r, end);
}

int GetUndoRangeStart(const CTextFlow& flow, int i)
{
    int found = 0;
    for (int k = std::min(i, flow.GetCount()) - 1; k >= 0; --k) {
        if (IsRangeBreak(flow.GetItem(k)->GetNodeType()) && ++found == 3) return k + 1;
    }
    return 0;
}

plat::String GetUndoRangeEndName(const CTextFlow& flow, int i)
{
    const int count = flow.GetCount();
    int found = 0;
    for (int k = std::max(i, -1) + 1; k < count; ++k) {
        const CTextItem* item = flow.GetItem(k);
        if (IsRangeBreak(item->GetNodeType()) && ++found == 3)
            return static_cast<const CParaEndItem*>(item)->GetName();
    }
    const CTextItem* last = flow.GetItem(count - 1);
    if (last && IsParaEndType(last->GetNodeType())) return static_cast<const CParaEndItem*>(last)->GetName();
    return plat::String();
}

} // namespace undo_range
