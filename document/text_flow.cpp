#include "document/text_flow.h"

#include <algorithm>
#include <cstdlib>
#include <limits>

#include "document/doc_context.h"
#include "document/format_state.h"
#include "document/spell_error.h"
#include "document/text_item.h"
#include "platform/base/system.h"

namespace {

using plat::ArchiveException;
using NodeVector = std::vector<std::unique_ptr<CDocNode>>;

CFormatState* FormatStateOf(const CDocContext* doc)
{
    return doc ? doc->GetFormatState() : nullptr;
}

// Layout gives trailing spaces of a line no width; they are no place to point at.
bool IsZeroWidthSpace(const CTextItem& item)
{
    return item.GetNodeType() == kItemSpace && item.GetWidth() == 0;
}

CParaEndItem* AsParaEnd(CTextItem* item)
{
    return dynamic_cast<CParaEndItem*>(item);
}

int Saturate(std::int64_t v)
{
    return static_cast<int>(std::clamp<std::int64_t>(v, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

// The centre of an item's line box and the point's distance from it.
std::int64_t CentreY(const CTextItem& item)
{
    return static_cast<std::int64_t>(item.GetLineTop()) + item.GetLineHeight() / 2;
}

std::int64_t SquaredDistance(const CTextItem& item, int x, int y)
{
    std::int64_t dx = static_cast<std::int64_t>(item.GetLeft()) + item.GetWidth() / 2 - x;
    std::int64_t dy = CentreY(item) - y;
    return dx * dx + dy * dy;
}

bool OnLineOf(const CTextItem& item, int y)
{
    std::int64_t top = item.GetLineTop();
    return y >= top && y <= top + item.GetLineHeight();
}

} // namespace

CTextFlow::CTextFlow(CDocContext* doc, CDocNode* parent, std::uint16_t type)
    : CNamedContainer(doc, parent, type), m_caret(0, m_name), m_anchor(0, m_name), m_press(0, m_name),
      m_charFormat(doc)
{
}

CTextFlow::~CTextFlow()
{
    // The state names its focus without owning it; it must not outlive the flow.
    CFormatState* state = FormatStateOf(GetDoc());
    if (state && state->GetFocusObject() == this) state->SetFocusObject(nullptr);
    // Nor may a spelling record of the document point to it.
    if (CDocContext* doc = GetDoc()) doc->GetSpellErrors().RemoveFlow(this);
}

void CTextFlow::AppendFinalParaEnd()
{
    const CTextItem* last = GetItem(GetCount() - 1);
    if (last && last->GetNodeType() == kItemFinalParaEnd) return;
    auto end = std::make_unique<CParaEndItem>(this, kItemFinalParaEnd);
    end->SetFormat(m_charFormat);
    end->SetParaFormat(m_paraFormat);
    AddItem(std::move(end));
}

bool CTextFlow::IsFocusText() const
{
    CFormatState* state = FormatStateOf(GetDoc());
    return state && state->GetFocusObject() == this;
}

int CTextFlow::ClampIndex(int index) const
{
    return std::clamp(index, 0, std::max(0, GetCount() - 1));
}

// ---- the flow record ----

void CTextFlow::Save(plat::Archive& ar, int mode)
{
    // Nothing is ever saved for inserting; asked to, write what inserting reads.
    if (mode == kArchiveInsert) mode = kArchiveFile;
    m_charFormat.Save(ar, mode);
    m_paraFormat.Save(ar, mode);
    m_caret.Save(ar, mode); // modes 1 and 2 only
    m_anchor.Save(ar, mode);
    if (mode == kArchiveUndo) ar.WriteI32(IsFocusText() ? 1 : 0);
    CCharFormat running(m_charFormat);
    CNamedContainer::Save(ar, running, mode);
}

void CTextFlow::Load(plat::Archive& ar, int mode)
{
    CCharFormat charFormat(GetDoc());
    charFormat.Load(ar, mode);
    if (mode == kArchiveInsert) {
        // Inserted text drops its revision marks; so does the format typing continues in.
        charFormat.m_insertedBy = 0;
        charFormat.m_deletedBy = 0;
        charFormat.m_annotation = 0;
    }
    CParaFormat paraFormat;
    paraFormat.Load(ar, mode);
    CTextPos caret, anchor; // mode 3 carries none; mode 4 drops them
    caret.Load(ar, mode);
    anchor.Load(ar, mode);
    const std::int32_t focus = mode == kArchiveUndo ? ar.ReadI32() : 0;

    // A record is the whole flow, except that inserting another file appends its text to
    // a flow that holds more than its final paragraph end.
    const CTextItem* first = GetItem(0);
    const bool holdsText = GetCount() > 1 || (first && first->GetNodeType() != kItemFinalParaEnd);
    const bool append = mode == kArchiveInsert && holdsText;
    NodeVector old;
    if (!append) {
        old.swap(m_children);
        NoteRefilled();
    }
    const int from = GetCount();
    const String oldName = m_name;
    try {
        CCharFormat running(charFormat);
        CNamedContainer::Load(ar, running, mode);
        // The loaded items must end with the one final paragraph end.
        const int count = GetCount();
        bool sound = count > from && ItemAt(count - 1)->GetNodeType() == kItemFinalParaEnd;
        for (int i = from; sound && i < count - 1; ++i)
            if (ItemAt(i)->GetNodeType() == kItemFinalParaEnd) sound = false;
        if (!sound) throw ArchiveException(ArchiveException::kBadSchema, "text flow without one final paragraph end");
        if (mode == kArchiveUndo) {
            auto inFlow = [count](const CTextPos& p) { return p.m_index >= 0 && p.m_index < count; };
            if (!inFlow(caret) || !inFlow(anchor)) throw ArchiveException(ArchiveException::kBadIndex, "caret position");
        }
    } catch (...) {
        m_children.erase(m_children.begin() + from, m_children.end());
        if (!append) m_children.swap(old);
        NoteRefilled();
        m_name = oldName;
        throw;
    }
    if (append) {
        // The inserted text starts on a new page; the flow keeps one final paragraph end.
        CTextItem* before = ItemAt(from - 1);
        if (before->GetNodeType() == kItemFinalParaEnd) before->SetNodeType(kItemParaPageBreak);
    }
    m_charFormat = charFormat;
    m_paraFormat = paraFormat;
    // Positions count in this flow, whatever container name the record gave them.
    switch (mode) {
    case kArchiveUndo:
        m_caret = CTextPos(caret.m_index, m_name);
        m_anchor = CTextPos(anchor.m_index, m_name);
        break;
    case kArchiveInsert:
        m_caret = CTextPos(ClampIndex(m_caret.m_index), m_name);
        m_anchor = CTextPos(ClampIndex(m_anchor.m_index), m_name);
        break;
    default:
        m_caret = CTextPos(0, m_name);
        m_anchor = m_caret;
        break;
    }
    m_press = m_caret;
    if (focus != 0) {
        if (CFormatState* state = FormatStateOf(GetDoc())) state->SetFocusObject(this);
    }
}

// ---- caret and selection ----

void CTextFlow::GetSelectionRange(int& start, int& end) const
{
    const int caret = m_caret.m_index;
    const int anchor = m_anchor.m_index;
    if (anchor < caret) {
        start = anchor;
        end = caret;
    } else if (caret < anchor) {
        start = caret;
        end = anchor;
    } else {
        start = caret;
        end = caret < std::numeric_limits<int>::max() ? caret + 1 : caret;
    }
    const int count = GetCount();
    start = std::clamp(start, 0, count);
    end = std::clamp(end, start, count);
}

bool CTextFlow::HasSelection() const
{
    if (m_caret.m_index == m_anchor.m_index) return false;
    if (RevisionsShown()) return true;
    // Text that is deleted and hidden is no selection.
    int start, end;
    GetSelectionRange(start, end);
    for (int i = start; i < end; ++i)
        if (!ItemAt(i)->IsDeleted()) return true;
    return false;
}

void CTextFlow::GetSelectionPositions(CTextPos& caret, CTextPos& anchor) const
{
    caret = m_caret;
    anchor = m_anchor;
}

void CTextFlow::SetCaret(const CTextPos& pos)
{
    m_caret = CTextPos(ClampIndex(pos.m_index), m_name);
    m_anchor = m_caret;
}

void CTextFlow::SetSelection(const CTextPos& caret, const CTextPos& anchor)
{
    m_caret = CTextPos(ClampIndex(caret.m_index), m_name);
    m_anchor = CTextPos(ClampIndex(anchor.m_index), m_name);
}

bool CTextFlow::CanDeleteForward() const
{
    if (HasSelection()) return true;
    const CTextItem* item = CaretItem();
    return item && item->GetNodeType() != kItemFinalParaEnd;
}

bool CTextFlow::CanDeleteBackward() const
{
    return HasSelection() || m_caret.m_index != 0;
}

plat::Point CTextFlow::GetItemPagePos(const CTextPos& pos) const
{
    plat::Point origin = GetPageOrigin();
    const CTextItem* item = GetItem(pos.m_index);
    return item ? origin + plat::Point(item->GetLeft(), item->GetTop()) : origin;
}

int CTextFlow::GetReflowStart(const CTextPos& pos) const
{
    int found = 0;
    for (int i = std::clamp(pos.m_index, 0, GetCount()) - 1; i >= 0; --i)
        if (IsParaBreakType(ItemAt(i)->GetNodeType()) && ++found == 3) return i + 1;
    return 0;
}

int CTextFlow::GetReflowEnd(const CTextPos& pos) const
{
    const int count = GetCount();
    int found = 0;
    for (int i = std::clamp(pos.m_index, -1, count) + 1; i < count; ++i)
        if (IsParaBreakType(ItemAt(i)->GetNodeType()) && ++found == 2) return i + 1;
    return count;
}

// ---- editing ----

void CTextFlow::SetCharFormat(int fieldId, const CCharFormat& values)
{
    if (HasSelection()) {
        int start, end;
        GetSelectionRange(start, end);
        SetItemsField(start, end, fieldId, values);
        RelayoutAroundEdit();
    }
    m_charFormat.SetField(fieldId, values);
    if (CFormatState* state = FormatStateOf(GetDoc())) state->m_charFormat = m_charFormat;
}

bool CTextFlow::RemovableOrMark(CTextItem& item)
{
    const CDocContext* doc = GetDoc();
    // Text that no other author has edited since it was typed goes. Without an author
    // table nobody else can have, and a mark by record 0 would mark nothing, so the text
    // goes then too rather than staying undeletable.
    const bool removable = !doc || doc->GetAuthors().GetCount() == 0 || doc->GetCurAuthorIndex() <= 0 ||
                           doc->GetAuthors().IsSameAuthorFrom(item.GetFormat().m_insertedBy);
    if (removable) return true;
    if (!item.IsDeleted()) {
        item.SetDeletedBy(doc->GetCurAuthorIndex());
        item.SetTime(static_cast<std::int32_t>(plat::Now()));
    }
    return false;
}

bool CTextFlow::DeleteOrMark(int index)
{
    if (!RemovableOrMark(*ItemAt(index))) return false;
    RemoveAt(index);
    return true;
}

int CTextFlow::DeleteRange(int start, int end)
{
    start = std::max(start, 0);
    end = std::min(end, GetCount());
    if (start >= end) return ClampIndex(start);
    // One pass over the range: a long selection costs one move of the text after it.
    const int removed = RemoveIf(start, end, [this](CDocNode& node) {
        auto& item = static_cast<CTextItem&>(node);
        const std::uint16_t type = item.GetNodeType();
        if (IsParaBreakType(type)) return true; // paragraph ends always go
        if (type == kItemFinalParaEnd) return false;
        return RemovableOrMark(item);
    });
    return ClampIndex(end - removed);
}

void CTextFlow::GiveParaFormat(int index, const CParaFormat& format)
{
    for (int i = std::max(index, 0); i < GetCount(); ++i) {
        if (!IsParaEndType(ItemAt(i)->GetNodeType())) continue;
        if (CParaEndItem* end = AsParaEnd(ItemAt(i))) end->SetParaFormat(format);
        return;
    }
}

void CTextFlow::DeleteSelection()
{
    int start, end;
    GetSelectionRange(start, end);
    m_caret = CTextPos(DeleteRange(start, end), m_name);
    m_anchor = m_caret;
}

void CTextFlow::OnDelete()
{
    if (HasSelection()) {
        DeleteSelection();
        return;
    }
    const bool shown = RevisionsShown();
    int i = ClampIndex(m_caret.m_index);
    while (CTextItem* item = GetItem(i)) {
        const std::uint16_t type = item->GetNodeType();
        if (type == kItemFinalParaEnd) break;
        if (item->IsDeleted() && !shown) {
            ++i; // hidden text is stepped over
            continue;
        }
        if (IsParaBreakType(type)) {
            // The joined paragraph keeps the format of the first of the two.
            CParaEndItem* end = AsParaEnd(item);
            CParaFormat format = end ? end->GetParaFormat() : CParaFormat();
            RemoveAt(i);
            GiveParaFormat(i, format);
        } else if (!DeleteOrMark(i)) {
            ++i; // a marked item is passed over
        }
        break;
    }
    m_caret = CTextPos(ClampIndex(i), m_name);
    m_anchor = m_caret;
}

void CTextFlow::OnBackspace()
{
    if (HasSelection()) {
        DeleteSelection();
        return;
    }
    int i = ClampIndex(m_caret.m_index);
    if (i == 0 || !GetItem(i - 1)) return;
    const bool shown = RevisionsShown();
    --i;
    while (ItemAt(i)->IsDeleted() && !shown) {
        m_caret = CTextPos(i, m_name);
        m_anchor = m_caret;
        if (i == 0) return; // only hidden text before the caret
        --i;
    }
    m_caret = CTextPos(i, m_name);
    CTextItem* item = ItemAt(i);
    const std::uint16_t type = item->GetNodeType();
    if (IsParaBreakType(type)) {
        CParaEndItem* end = AsParaEnd(item);
        CParaFormat format = end ? end->GetParaFormat() : CParaFormat();
        RemoveAt(i);
        GiveParaFormat(i, format);
    } else if (type != kItemFinalParaEnd) {
        DeleteOrMark(i); // the caret stays before a marked item
    }
    m_anchor = m_caret;
}

void CTextFlow::InsertItemsAtCaret(plat::StringView text)
{
    if (HasSelection()) DeleteSelection();
    int at = ClampIndex(m_caret.m_index);
    InsertString(at, text, m_charFormat);
    m_caret = CTextPos(at, m_name);
    RelayoutAroundEdit();
}

void CTextFlow::InsertPageBreak()
{
    if (HasSelection()) DeleteSelection();
    auto end = std::make_unique<CParaEndItem>(this, kItemParaPageBreak);
    CCharFormat format(m_charFormat);
    format.m_deletedBy = 0;
    end->SetFormat(format);
    const int at = ClampIndex(m_caret.m_index);
    InsertItem(at, std::move(end));
    m_caret = CTextPos(at + 1, m_name);
    m_anchor = m_caret;
    RelayoutAroundEdit();
}

namespace {

constexpr std::int8_t kAsRunning = -1; // the symbol takes the running format's position
struct SymbolChar {
    char16_t code;
    std::int8_t position;
};
struct Symbol {
    SymbolChar chars[2];
};
constexpr std::int8_t kSup = 1;
constexpr std::int8_t kSub = 2;

// Command ids 40001-40017 in order.
constexpr Symbol kSymbols[kSymbolLast - kSymbolFirst + 1] = {
    {{{u'2', kSup}}}, {{{u'3', kSup}}}, {{{u'4', kSup}}},
    {{{u'0', kSub}}}, {{{u'1', kSub}}}, {{{u'2', kSub}}}, {{{u'3', kSub}}},
    {{{u'm', 0}, {u'2', kSup}}}, {{{u'm', 0}, {u'3', kSup}}},
    {{{0x00AE, kAsRunning}}}, {{{0x00AE, kSup}}}, {{{0x00A9, kAsRunning}}}, {{{0x2122, kAsRunning}}},
    {{{0x2030, kAsRunning}}}, {{{0x00B0, kAsRunning}}}, {{{0x2032, kAsRunning}}}, {{{0x2033, kAsRunning}}},
};

} // namespace

void CTextFlow::InsertSymbol(int commandId)
{
    if (commandId < kSymbolFirst || commandId > kSymbolLast) return;
    if (HasSelection()) DeleteSelection();
    for (const SymbolChar& c : kSymbols[commandId - kSymbolFirst].chars) {
        if (c.code == 0) break;
        CCharFormat values(m_charFormat);
        if (c.position != kAsRunning) {
            values.m_position = static_cast<std::uint8_t>(c.position);
            SetCharFormat(kFieldPosition, values);
        }
        InsertItemsAtCaret(plat::StringView(&c.code, 1));
        m_anchor = m_caret;
        if (c.position != kAsRunning) {
            values.m_position = 0;
            SetCharFormat(kFieldPosition, values);
        }
    }
}

// ---- caret moves ----

void CTextFlow::FinishMove(bool extend)
{
    if (!extend) m_anchor = m_caret;
    UpdateCaretFormat(1);
    if (CDocContext* doc = GetDoc()) doc->ScrollToCaret();
}

void CTextFlow::MoveToStart(bool extend)
{
    m_caret = CTextPos(0, m_name);
    FinishMove(extend);
}

void CTextFlow::MoveToEnd(bool extend)
{
    m_caret = CTextPos(ClampIndex(GetCount() - 1), m_name);
    FinishMove(extend);
}

void CTextFlow::MoveToLineStart(bool extend)
{
    if (const CTextItem* c = CaretItem()) {
        const int caret = m_caret.m_index;
        for (int i = 0; i <= caret; ++i) {
            if (ItemAt(i)->GetLineTop() != c->GetLineTop()) continue;
            m_caret.m_index = i;
            break;
        }
    }
    FinishMove(extend);
}

void CTextFlow::MoveToLineEnd(bool extend)
{
    if (const CTextItem* c = CaretItem()) {
        const int last = GetCount() - 1;
        for (int j = last; j > m_caret.m_index; --j) {
            if (ItemAt(j)->GetLineTop() != c->GetLineTop()) continue;
            // Without extend the caret stands before the line's last item (its paragraph
            // end or trailing space); extending takes that item in, unless it is the
            // flow's final paragraph end.
            m_caret.m_index = extend && j != last ? j + 1 : j;
            break;
        }
    }
    FinishMove(extend);
}

void CTextFlow::StepToOtherPlace(bool extend, int step)
{
    // Items that share the caret item's place (zero-width ones) are passed over.
    if (const CTextItem* c = CaretItem()) {
        for (int i = m_caret.m_index + step; i >= 0 && i < GetCount(); i += step) {
            const CTextItem* item = ItemAt(i);
            if (item->GetLeft() == c->GetLeft() && item->GetLineTop() == c->GetLineTop()) continue;
            m_caret.m_index = i;
            break;
        }
    }
    FinishMove(extend);
}

void CTextFlow::MoveLeft(bool extend)
{
    StepToOtherPlace(extend, -1);
}

void CTextFlow::MoveRight(bool extend)
{
    StepToOtherPlace(extend, 1);
}

void CTextFlow::MoveToHeight(bool extend, int step, std::int64_t distance)
{
    if (const CTextItem* c = CaretItem()) {
        std::int64_t y = c->GetLineTop();
        if (step != 0) {
            // The line top of the nearest item on another line that way, if any.
            for (int i = m_caret.m_index + step; i >= 0 && i < GetCount(); i += step) {
                if (ItemAt(i)->GetLineTop() == c->GetLineTop()) continue;
                y = ItemAt(i)->GetLineTop();
                break;
            }
        }
        m_caret.m_index = PosFromPoint(c->GetLeft() + c->GetWidth() / 4, Saturate(y + distance)).m_index;
    }
    FinishMove(extend);
}

void CTextFlow::MoveUp(bool extend)
{
    MoveToHeight(extend, -1, 0);
}

void CTextFlow::MoveDown(bool extend)
{
    MoveToHeight(extend, 1, 0);
}

void CTextFlow::MoveUpBy(bool extend, int distance)
{
    MoveToHeight(extend, 0, -static_cast<std::int64_t>(distance));
}

void CTextFlow::MoveDownBy(bool extend, int distance)
{
    MoveToHeight(extend, 0, distance);
}

CTextPos CTextFlow::PosFromPoint(int x, int y) const
{
    CTextPos pos(0, m_name);
    const CTextItem* c = CaretItem();
    if (!c) return pos;
    const int count = GetCount();
    const int caret = m_caret.m_index;
    const std::int64_t left = c->GetLeft();
    const std::int64_t top = c->GetLineTop();

    // Walk from the caret toward the point when the point lies that way, else from the
    // start.
    int start = caret;
    int step = 1;
    if (x > left && y > top) {
        step = 1;
    } else if (x < left && y < top) {
        step = -1;
    } else if (OnLineOf(*c, y)) {
        step = x > left ? 1 : -1;
    } else {
        start = 0;
    }
    for (int i = start; i >= 0 && i < count; i += step) {
        const CTextItem* item = ItemAt(i);
        if (IsParaEndType(item->GetNodeType()) || IsZeroWidthSpace(*item) || !OnLineOf(*item, y)) continue;
        const std::int64_t l = item->GetLeft();
        const std::int64_t half = l + item->GetWidth() / 2;
        if (x >= l && x <= half) {
            pos.m_index = i;
            return pos;
        }
        if (x > half && x <= l + item->GetWidth()) {
            pos.m_index = ClampIndex(i + 1);
            return pos;
        }
    }

    // No item under the point: the nearest one. An item on the point's line beats any
    // other; among those the first wins unless a later one is strictly nearer.
    int best = caret;
    std::int64_t bestGap = std::llabs(CentreY(*c) - y);
    std::int64_t bestDist = SquaredDistance(*c, x, y);
    bool onLine = false;
    for (int i = 0; i < count; ++i) {
        const CTextItem* item = ItemAt(i);
        if (IsZeroWidthSpace(*item)) continue;
        const std::int64_t dist = SquaredDistance(*item, x, y);
        if (OnLineOf(*item, y)) {
            if (!onLine || dist < bestDist) {
                best = i;
                bestDist = dist;
            }
            onLine = true;
        } else if (!onLine) {
            const std::int64_t gap = std::llabs(CentreY(*item) - y);
            if (gap < bestGap || (gap == bestGap && dist <= bestDist)) {
                best = i;
                bestGap = gap;
                bestDist = dist;
            }
        }
    }
    pos.m_index = best;
    return pos;
}

// ---- mouse ----

void CTextFlow::OnLButtonDown(int x, int y)
{
    CTextPos pos;
    HitTestPos(x, y, pos);
    m_caret = CTextPos(ClampIndex(pos.m_index), m_name);
    m_anchor = m_caret;
    m_press = m_caret;
    UpdateCaretFormat(1);
}

void CTextFlow::OnMouseMove(int x, int y)
{
    CTextPos pos;
    HitTestPos(x, y, pos);
    m_caret = CTextPos(ClampIndex(pos.m_index), m_name);
    // The selection spans from where the button went down.
    m_anchor = CTextPos(ClampIndex(m_press.m_index), m_name);
    UpdateCaretFormat(1);
}

void CTextFlow::OnLButtonUp(int x, int y)
{
    OnMouseMove(x, y);
    UpdateCaretFormat(1);
}

void CTextFlow::OnClickItem(int x, int y)
{
    // No item class acts on a click yet; a click on an item only refreshes the formats.
    if (ItemAtPoint(x, y)) UpdateCaretFormat(1);
    else OnMouseMove(x, y);
}
