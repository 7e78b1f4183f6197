// The walks of a text flow that are not layout: search, annotation and spelling marks,
// Cyrillic case, and the selection as a clipboard text block.
#include <algorithm>

#include "document/doc_context.h"
#include "document/find_state.h"
#include "document/format_pool.h"
#include "document/text_flow.h"
#include "document/text_item.h"

namespace {

using plat::ArchiveException;

char16_t ToLowerCyrillic(char16_t c)
{
    if (c >= 0x0410 && c <= 0x042F) return static_cast<char16_t>(c + 32);
    return c == 0x0401 ? char16_t(0x0451) : c;
}

char16_t ToUpperCyrillic(char16_t c)
{
    if (c >= 0x0430 && c <= 0x044F) return static_cast<char16_t>(c - 32);
    return c == 0x0451 ? char16_t(0x0401) : c;
}

char16_t ConvertCase(char16_t c, int mode)
{
    switch (mode) {
    case kCyrillicLower: return ToLowerCyrillic(c);
    case kCyrillicUpper: return ToUpperCyrillic(c);
    case kCyrillicSwap: return ToLowerCyrillic(c) != c ? ToLowerCyrillic(c) : ToUpperCyrillic(c);
    default: return c;
    }
}

} // namespace

int CTextFlow::FindNext(CFindState& state)
{
    // Until the search reaches the flow it began in, the flows before it are skipped.
    if (!state.m_started) {
        if (state.m_flow != this) return 0;
        state.m_started = 1;
    }
    if (state.m_flow != this) {
        state.m_flow = this;
        state.m_pos = 0;
    }
    return FindInFlow(state);
}

bool CTextFlow::ReplaceAllInFlow(CFindState& state)
{
    bool replaced = false;
    state.m_flow = this;
    state.m_started = 1;
    state.m_pos = 0;
    while (FindInFlow(state)) {
        InsertItemsAtCaret(state.m_replaceText);
        m_anchor = m_caret;
        state.m_pos = m_caret.m_index;
        replaced = true;
    }
    return replaced;
}

int CTextFlow::FindInFlow(CFindState& state)
{
    const plat::String& text = state.m_findText;
    if (text.empty()) return 0;
    // Deleted text is searched only where it is seen, and never by a replace.
    const bool withDeleted = RevisionsShown() && !state.m_replaceMode;
    auto takesPart = [withDeleted](const CTextItem& item) {
        std::uint16_t t = item.GetNodeType();
        return t >= kItemParaPageBreak && t <= kItemCjkClose && t != kItemFinalParaEnd && t != kItemUnused &&
               (withDeleted || !item.IsDeleted());
    };
    const int count = GetCount();
    for (int i = std::max(state.m_pos, 0); i < count; ++i) {
        // A match begins on a character that takes part.
        if (!takesPart(*ItemAt(i))) continue;
        size_t matched = 0;
        int last = i;
        for (int j = i; j < count && matched < text.size(); ++j) {
            const CTextItem& item = *ItemAt(j);
            if (!takesPart(item)) continue;
            // A paragraph end takes a place that no search character matches.
            if (IsParaEndType(item.GetNodeType()) || item.GetCode() != text[matched]) break;
            ++matched;
            last = j;
        }
        if (matched < text.size()) continue;
        m_anchor = CTextPos(i, m_name);
        m_caret = CTextPos(last + 1, m_name);
        // The next search starts right after the match, so adjacent matches are all found.
        state.m_pos = last + 1;
        return 1;
    }
    return 0;
}

plat::String CTextFlow::GetSelectedText(CTextScope scope) const
{
    if (!HasSelection()) return plat::String();
    int start, end;
    GetSelectionRange(start, end);
    return GetText(start, end, scope);
}

std::vector<std::uint8_t> CTextFlow::CopyTextBlock(bool withObjects)
{
    if (!HasSelection()) return {};
    int start, end;
    GetSelectionRange(start, end);
    plat::MemFile mem;
    {
        plat::Archive ar(mem, plat::Archive::kStore);
        const CDocContext* doc = GetDoc();
        ar.WriteI32(doc && doc->IsReference() ? 1 : 0);
        WriteTextBlock(ar, start, end, withObjects);
        ar.Close();
    }
    return mem.Detach();
}

CTextFlow::CClipboardTextBlock CTextFlow::ReadClipboardBlock(const std::vector<std::uint8_t>& block, int mode)
{
    plat::MemFile mem(block);
    plat::Archive ar(mem, plat::Archive::kLoad);
    CClipboardTextBlock read;
    read.fromReference = ar.ReadI32();
    if (read.fromReference != 0 && read.fromReference != 1)
        throw ArchiveException(ArchiveException::kBadIndex, "reference flag");
    read.block = ParseTextBlock(ar, mode);
    return read;
}

void CTextFlow::PasteTextBlock(CClipboardTextBlock block)
{
    // The block goes in after the selection and the selection is deleted afterwards, so
    // that the objects it carries are placed against paragraph ends that stay.
    const bool replace = HasSelection();
    int start, end;
    GetSelectionRange(start, end);
    int at = replace ? end : ClampIndex(m_caret.m_index);
    const int before = at;
    InsertTextBlock(std::move(block.block), at);
    const int inserted = at - before;
    // Copied text never holds a flow's final paragraph end; one in a block would end the
    // flow in its middle, so it goes in as a plain paragraph end.
    for (int i = before; i < at; ++i)
        if (ItemAt(i)->GetNodeType() == kItemFinalParaEnd) ItemAt(i)->SetNodeType(kItemParaEnd);
    const int first = replace ? DeleteRange(start, end) : before;
    m_anchor = CTextPos(first, m_name);
    m_caret = CTextPos(ClampIndex(first + inserted), m_name);
    if (CDocContext* doc = GetDoc()) doc->AddReferencePaste(block.fromReference);
    RelayoutAroundEdit();
}

void CTextFlow::PasteTextBlock(const std::vector<std::uint8_t>& block, int mode)
{
    PasteTextBlock(ReadClipboardBlock(block, mode));
}

void CTextFlow::ClearSpellMarks(int from, int to)
{
    const int count = GetCount();
    if (to == 0 || to > count) to = count;
    for (int i = std::max(from, 0); i < to; ++i) ItemAt(i)->SetMisspelt(nullptr);
}

void CTextFlow::RemoveAnnotationMark(std::int16_t annotation)
{
    CFormatMemo memo;
    for (int i = 0; i < GetCount(); ++i) {
        CTextItem* item = ItemAt(i);
        if (item->GetFormat().m_annotation != annotation) continue;
        item->SetFormatHandle(memo.Map(item->FormatHandle(), [](CCharFormat& f) { f.m_annotation = -1; }));
    }
}

void CTextFlow::ConvertCyrillic(int mode, bool wholeFlow)
{
    int start = 0;
    int end = GetCount();
    if (!wholeFlow) GetSelectionRange(start, end);
    for (int i = start; i < end; ++i) {
        CTextItem* item = ItemAt(i);
        if (item->GetNodeType() != kItemWestern) continue;
        // Western items are character items; the cast only guards a hand-made item.
        if (auto* c = dynamic_cast<CCharItem*>(item)) c->SetCode(ConvertCase(c->GetCode(), mode));
    }
    RelayoutWhole();
}
