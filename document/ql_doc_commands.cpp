// The document's commands on text: typing, page breaks, symbols, annotations, Cyrillic
// case, and the character and paragraph formats (on the focus text or on the cells of the
// selected table).
#include <algorithm>
#include <memory>

#include "document/doc_body.h"
#include "document/doc_commands.h"
#include "document/float_object.h"
#include "document/format_state.h"
#include "document/ql_doc.h"
#include "document/text_flow.h"
#include "document/text_item.h"
#include "platform/base/system.h"

namespace {

// Text the model takes: Tab, line feed, carriage return and every code from the space on
// except DEL. Esc and the other control codes are keys, not text.
bool IsTextCode(char16_t c)
{
    return c == u'\t' || c == u'\n' || c == u'\r' || (c >= 0x20 && c != 0x7F);
}

// Values for one field: a default format with the field set.
template <class Set>
CCharFormat With(Set set)
{
    CCharFormat v;
    set(v);
    return v;
}

} // namespace

CTextFlow* CQlDoc::GetFocusText() const
{
    CTextFlow* focus = m_formatState ? m_formatState->GetFocusObject() : nullptr;
    return focus ? focus : m_body.get();
}

void CQlDoc::FinishTextCommand(CTextFlow& text, bool charFormat, bool paraFormat)
{
    if (charFormat) m_formatState->m_charFormat = text.GetRunningCharFormat();
    if (paraFormat) m_formatState->m_paraFormat = text.GetRunningParaFormat();
    RefreshFocusContainer(&text);
    SetModified(true);
    ScrollToCaret();
}

void CQlDoc::InsertChar(char16_t code)
{
    InsertString(plat::StringView(&code, 1));
}

bool CQlDoc::InsertString(plat::StringView text)
{
    if (!IsEditable()) return false;
    // The string ends at a NUL, as the model reads it.
    plat::String typed;
    for (char16_t c : text) {
        if (c == 0) break;
        if (IsTextCode(c)) typed.push_back(c);
    }
    // Nothing to insert: the selection stays, and so do the history and the flag.
    if (typed.empty()) return false;
    CTextFlow* focus = GetFocusText();
    PushUndoState();
    focus->InsertItemsAtCaret(typed);
    focus->SetCaret(focus->GetCaretPos());
    FinishTextCommand(*focus, true, true);
    return true;
}

void CQlDoc::InsertNewPage()
{
    if (!IsEditable()) return;
    CTextFlow* focus = GetFocusText();
    PushUndoState();
    focus->InsertPageBreak();
    FinishTextCommand(*focus, true, true);
}

void CQlDoc::InsertSymbol(int commandId)
{
    if (!IsEditable() || commandId < kSymbolFirst || commandId > kSymbolLast) return;
    CTextFlow* focus = GetFocusText();
    PushUndoState();
    focus->InsertSymbol(commandId);
    FinishTextCommand(*focus, false, false);
}

int CQlDoc::InsertAnnotation(const plat::String& text)
{
    if (!IsEditable()) return 0;
    const CAuthor* author = m_authors.GetAt(m_curAuthor);
    const auto now = static_cast<std::int32_t>(plat::Now());
    const int number = m_annotations.InsertAnnotation(m_curAuthor, author ? author->m_name : plat::String(), now, text);
    if (number == 0) return 0;
    CTextFlow* focus = GetFocusText();
    PushUndoState();
    if (focus->HasSelection()) {
        int start, end;
        focus->GetSelectionRange(start, end);
        for (int i = start; i < end; ++i) {
            CTextItem* item = focus->GetItem(i);
            if (!item || item->GetNodeType() == kItemAnchor) continue;
            CCharFormat f(item->GetFormat());
            f.m_annotation = static_cast<std::int16_t>(number);
            item->SetFormat(f);
        }
    } else {
        auto anchor = std::make_unique<CAnchorItem>(focus);
        CCharFormat f(focus->GetRunningCharFormat());
        f.m_insertedBy = m_curAuthor;
        f.m_deletedBy = 0;
        f.m_annotation = static_cast<std::int16_t>(number);
        anchor->SetFormat(f);
        anchor->SetTime(now);
        const int at = std::clamp(focus->GetCaretPos().m_index, 0, focus->GetCount() - 1);
        focus->InsertItem(at, std::move(anchor));
        focus->SetCaret(CTextPos(at + 1, focus->GetName()));
        focus->RelayoutAroundEdit();
        RefreshFocusContainer(focus);
    }
    SetModified(true);
    ScrollToCaret();
    return number;
}

int CQlDoc::RussianConvert(int mode)
{
    if (!IsEditable()) return 0;
    PushUndoState();
    if (SelectionAcceptsText()) {
        GetFocusText()->ConvertCyrillic(mode, false);
    } else {
        for (int n = 0; CFloatObject* object = m_body->GetSelectedObject(n); ++n) object->ConvertCyrillic(mode);
    }
    RequestRepaint();
    return 1;
}

bool CQlDoc::CanRussianConvert() const
{
    if (!m_body) return false;
    if (SelectionAcceptsText()) return GetFocusText()->HasSelection();
    for (int n = 0; const CFloatObject* object = m_body->GetSelectedObject(n); ++n)
        if (object->IsTextBearing()) return true;
    return false;
}

// ---- character formats ----

int CQlDoc::GetSelectedObjectCount() const
{
    return m_body ? m_body->GetSelectedCount() : 0;
}

CCellFormatTarget* CQlDoc::GetSelectedTableGrid() const
{
    if (GetSelectedObjectCount() != 1) return nullptr;
    CFloatObject* object = m_body->GetSelectedObject(0);
    if (!object->IsTable()) return nullptr;
    auto* host = dynamic_cast<CTextHostObject*>(object);
    return host ? host->GetTableGrid() : nullptr;
}

void CQlDoc::SyncTableSize(CFloatObject& table, CCellFormatTarget& grid)
{
    const plat::Size size = grid.GetTotalSize();
    if (size.cx != table.m_width || size.cy != table.m_height) {
        table.m_width = size.cx;
        table.m_height = size.cy;
        table.RecalcLayout();
        m_body->BuildPageRegions();
        m_body->RelayoutWhole();
    }
    SetModified(true);
    RequestRepaint();
}

void CQlDoc::ApplyCharFormatField(int kind, const CCharFormat& values)
{
    if (!IsEditable() || kind < kFieldChineseFace || kind > kFieldPosition) return;
    PushUndoState();
    if (CCellFormatTarget* grid = GetSelectedTableGrid()) {
        grid->SetCharFormat(kind, values);
        SyncTableSize(*m_body->GetSelectedObject(0), *grid);
        return;
    }
    CTextFlow* focus = GetFocusText();
    focus->SetCharFormat(kind, values);
    FinishTextCommand(*focus, true, false);
}

void CQlDoc::SetChFont(const plat::String& face)
{
    ApplyCharFormatField(kFieldChineseFace, With([&](CCharFormat& v) { v.m_chineseFace = face; }));
}

void CQlDoc::SetAscFont(const plat::String& face)
{
    ApplyCharFormatField(kFieldWesternFace, With([&](CCharFormat& v) { v.m_westernFace = face; }));
}

void CQlDoc::SetFontSize(std::int32_t size)
{
    // A size the format cannot hold is refused rather than wrapped.
    if (size < 1 || size > 0xFFFF) return;
    ApplyCharFormatField(kFieldSize, With([&](CCharFormat& v) { v.m_size = static_cast<std::uint16_t>(size); }));
}

void CQlDoc::SetCharBold(std::int32_t bold)
{
    ApplyCharFormatField(kFieldBold, With([&](CCharFormat& v) { v.m_bold = bold != 0 ? 1 : 0; }));
}

void CQlDoc::SetCharItalic(std::int32_t italic)
{
    ApplyCharFormatField(kFieldItalic, With([&](CCharFormat& v) { v.m_italic = italic != 0 ? 1 : 0; }));
}

void CQlDoc::SetCharUnderline(std::int32_t underline)
{
    if (underline < 0 || underline > 3) return;
    ApplyCharFormatField(kFieldUnderline,
                         With([&](CCharFormat& v) { v.m_underline = static_cast<std::uint8_t>(underline); }));
}

void CQlDoc::SetCharColor(std::int32_t color)
{
    ApplyCharFormatField(kFieldColor, With([&](CCharFormat& v) { v.m_color = color; }));
}

void CQlDoc::SetCharPos(std::int32_t position)
{
    if (position < 0 || position > 2) return;
    ApplyCharFormatField(kFieldPosition,
                         With([&](CCharFormat& v) { v.m_position = static_cast<std::uint8_t>(position); }));
}

void CQlDoc::CharAttrDialog(const plat::String& chineseFace, const plat::String& westernFace, std::int32_t size,
                            std::int32_t bold, std::int32_t italic, std::int32_t underline)
{
    if (!IsEditable() || size < 1 || size > 0xFFFF || underline < 0 || underline > 3) return;
    CCharFormat v;
    v.m_chineseFace = chineseFace;
    v.m_westernFace = westernFace;
    v.m_size = static_cast<std::uint16_t>(size);
    v.m_bold = bold != 0 ? 1 : 0;
    v.m_italic = italic != 0 ? 1 : 0;
    v.m_underline = static_cast<std::uint8_t>(underline);
    constexpr int kinds[] = {kFieldChineseFace, kFieldWesternFace, kFieldSize, kFieldBold, kFieldItalic,
                             kFieldUnderline};
    PushUndoState();
    if (CCellFormatTarget* grid = GetSelectedTableGrid()) {
        for (int kind : kinds) grid->SetCharFormat(kind, v);
        SyncTableSize(*m_body->GetSelectedObject(0), *grid);
        return;
    }
    CTextFlow* focus = GetFocusText();
    for (int kind : kinds) focus->SetCharFormat(kind, v);
    FinishTextCommand(*focus, true, false);
}

// ---- paragraph formats ----

void CQlDoc::SetParaFormat(std::uint8_t alignment)
{
    if (!IsEditable() || alignment < 1 || alignment > 4) return;
    PushUndoState();
    if (CCellFormatTarget* grid = GetSelectedTableGrid()) {
        grid->SetAlignment(alignment);
        SyncTableSize(*m_body->GetSelectedObject(0), *grid);
        return;
    }
    CTextFlow* focus = GetFocusText();
    focus->SetAlignment(alignment);
    m_formatState->m_paraFormat.m_align = focus->GetRunningParaFormat().m_align;
    FinishTextCommand(*focus, false, false);
}

void CQlDoc::SetParaGap(std::uint8_t spacing)
{
    if (!IsEditable() || spacing > 5) return;
    PushUndoState();
    if (CCellFormatTarget* grid = GetSelectedTableGrid()) {
        grid->SetLineSpacing(spacing);
        SyncTableSize(*m_body->GetSelectedObject(0), *grid);
        return;
    }
    CTextFlow* focus = GetFocusText();
    focus->SetLineSpacing(spacing);
    m_formatState->m_paraFormat.m_spacing = focus->GetRunningParaFormat().m_spacing;
    FinishTextCommand(*focus, false, false);
}

void CQlDoc::SetParaIndents(std::int32_t first, std::int32_t left, std::int32_t right)
{
    if (!IsEditable()) return;
    PushUndoState();
    CTextFlow* focus = GetFocusText();
    focus->SetIndents(first, left, right);
    const CParaFormat& p = focus->GetRunningParaFormat();
    m_formatState->m_paraFormat.m_firstIndent = p.m_firstIndent;
    m_formatState->m_paraFormat.m_leftIndent = p.m_leftIndent;
    m_formatState->m_paraFormat.m_rightIndent = p.m_rightIndent;
    FinishTextCommand(*focus, false, false);
}
