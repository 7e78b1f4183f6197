// Helpers of the text-flow tests: documents with one or two authors, flows written in a
// one-character-an-item notation, and items placed by hand where layout would put them.
#pragma once
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "document/format_state.h"
#include "document/ql_doc.h"
#include "document/text_flow.h"
#include "document/text_item.h"
#include "tests/document/text_model_support.h"

namespace flowtest {

// A document whose author table holds records with the given ids; the current author is
// the last record, as every editing visit makes it. The format state exists.
inline std::unique_ptr<CQlDoc> MakeDoc(const std::vector<int>& authorIds)
{
    auto doc = std::make_unique<CQlDoc>();
    for (int id : authorIds) doc->GetAuthors().Append(id, id ? u"作者" : u"");
    doc->SetCurAuthorIndex(static_cast<std::int16_t>(doc->GetAuthors().GetLastIndex()));
    doc->ResetFormatState();
    return doc;
}
inline std::unique_ptr<CQlDoc> OneAuthorDoc() { return MakeDoc({0}); }
// Records: 0 anonymous, 1 id 5 (the other author), 2 id 7 (current).
inline std::unique_ptr<CQlDoc> TwoAuthorDoc() { return MakeDoc({0, 5, 7}); }

// Notation, one item a character:
//   lower case, digits, space, other codes   typed by the current author (last record)
//   upper case                               typed by record 1 (the other author)
//   '|' paragraph end, '/' page-break paragraph end, '$' the final paragraph end
//   '~' before an item: it is deleted by record 1; '!' before an item: by record 2
// The k-th paragraph end (from 0, the final one included) gets alignment k % 4 + 1, so
// Describe shows which paragraph format each end carries after a join.
inline void Fill(CTextFlow& flow, const std::u16string& text)
{
    const CDocContext* doc = flow.GetDoc();
    const std::int16_t current = doc ? doc->GetCurAuthorIndex() : 0;
    int ends = 0;
    std::int16_t deletedBy = 0;
    for (char16_t ch : text) {
        if (ch == u'~' || ch == u'!') {
            deletedBy = ch == u'~' ? 1 : 2;
            continue;
        }
        std::unique_ptr<CTextItem> item;
        if (ch == u'|' || ch == u'/' || ch == u'$') {
            std::uint16_t type = ch == u'|' ? kItemParaEnd : ch == u'/' ? kItemParaPageBreak : kItemFinalParaEnd;
            auto end = std::make_unique<CParaEndItem>(&flow, type);
            CParaFormat p;
            p.m_align = static_cast<std::uint8_t>(ends++ % 4 + 1);
            end->SetParaFormat(p);
            end->SetInsertedBy(current);
            item = std::move(end);
        } else {
            bool other = ch >= u'A' && ch <= u'Z';
            item = std::make_unique<CCharItem>(&flow, ClassifyChar(ch), ch);
            item->SetInsertedBy(other ? 1 : current);
        }
        if (deletedBy) item->SetDeletedBy(deletedBy);
        deletedBy = 0;
        item->SetTime(1000);
        flow.AddItem(std::move(item));
    }
}

// The items in the notation: characters as they are, paragraph ends with their alignment
// digit ("|1", "/2", "$3"), deleted items after '~' (record 1) or '!' (record 2); other
// deleting records show as '?'.
inline std::string Describe(const CTextFlow& flow)
{
    std::u16string out;
    for (int i = 0; i < flow.GetCount(); ++i) {
        const CTextItem* item = flow.GetItem(i);
        std::int16_t d = item->GetFormat().m_deletedBy;
        if (d) out += d == 1 ? u'~' : d == 2 ? u'!' : u'?';
        std::uint16_t t = item->GetNodeType();
        if (IsParaEndType(t)) {
            out += t == kItemParaEnd ? u'|' : t == kItemParaPageBreak ? u'/' : u'$';
            const auto* end = dynamic_cast<const CParaEndItem*>(item);
            out += static_cast<char16_t>(u'0' + (end ? end->GetParaFormat().m_align : 0));
        } else if (t == kItemAnchor) {
            out += u'^';
        } else {
            out += item->GetCode();
        }
    }
    return plat::Utf16ToUtf8(out);
}

// A flow that counts the slots the base leaves to the body and the frames.
class ProbeFlow : public CTextFlow {
public:
    using CTextFlow::CTextFlow;
    void Relayout(int all, int retry) override
    {
        ++relayouts;
        lastRelayoutAll = all;
        (void)retry;
    }
    void UpdateCaretFormat(int) override { ++caretFormats; }
    int relayouts = 0;
    int lastRelayoutAll = -1;
    int caretFormats = 0;
};

// Places the items as layout would: lines of the given lengths, every item 100 twips wide
// and 200 high on a line box 300 high; line k has its top at 1000 + 400 k. Items past
// the given lines go on one more line.
constexpr int kItemWidth = 100;
constexpr int kLineHeight = 300;
inline int LineTop(int line) { return 1000 + 400 * line; }

inline void PlaceLines(CTextFlow& flow, const std::vector<int>& lengths)
{
    int i = 0;
    int line = 0;
    for (int length : lengths) {
        for (int col = 0; col < length && i < flow.GetCount(); ++col, ++i) {
            CTextItem* item = flow.GetItem(i);
            item->SetMetrics(kItemWidth, 200, 160);
            item->Place(col * kItemWidth, LineTop(line) + 100, LineTop(line), kLineHeight);
        }
        ++line;
    }
    for (int col = 0; i < flow.GetCount(); ++col, ++i) {
        CTextItem* item = flow.GetItem(i);
        item->SetMetrics(kItemWidth, 200, 160);
        item->Place(col * kItemWidth, LineTop(line) + 100, LineTop(line), kLineHeight);
    }
}

inline CTextPos At(const CTextFlow& flow, int index) { return CTextPos(index, flow.GetName()); }

inline CTextPos AnchorOf(const CTextFlow& flow)
{
    CTextPos caret, anchor;
    flow.GetSelectionPositions(caret, anchor);
    return anchor;
}

} // namespace flowtest
