// Spelling and sentence errors: one record per marked word or finding, with the flow and
// item span it covers, the text and up to ten suggestions; and the document's list that
// owns the records of the marks on the visible pages and the marks themselves: which
// record each marked item belongs to (asked through CTextItem::GetMisspelt).
#pragma once
#include <array>
#include <functional>
#include <memory>
#include <unordered_map>
#include <vector>

#include "platform/base/strings.h"

class CTextFlow;
class CTextItem;

// Command id of the first spelling suggestion of a context menu; suggestion slot i has
// this id + i.
constexpr int kSpellSuggestionFirstId = 37901;
// Receives one suggestion of the context menu: its menu position, command id and text.
using SpellSuggestionSink = std::function<void(int position, int commandId, const plat::String& text)>;

class CSpellError {
public:
    static constexpr int kMaxSuggestions = 10;

    // Items start..start+length-1 of the flow (not owned).
    CSpellError(CTextFlow* flow, int start, int length) : m_flow(flow), m_start(start), m_length(length) {}

    CTextFlow* GetFlow() const { return m_flow; }
    int GetStart() const { return m_start; }
    int GetLength() const { return m_length; }

    // Word and suggestions are kept whole, so choosing a suggestion never puts a cut
    // word into the text.
    void SetWord(plat::StringView word) { m_word.assign(word); }
    const plat::String& GetWord() const { return m_word; }
    // Slots 0-9; any other index is ignored.
    void SetSuggestion(int index, plat::StringView text);
    // The text of slot i; empty for an unset slot or an index outside 0-9.
    plat::String GetSuggestion(int index) const;

private:
    CTextFlow* m_flow;
    int m_start;
    int m_length;
    plat::String m_word;
    std::array<plat::String, kMaxSuggestions> m_suggestions;
};

class CSpellErrorList {
public:
    CSpellErrorList() = default;
    ~CSpellErrorList() { RemoveAll(); }
    CSpellErrorList(const CSpellErrorList&) = delete;
    CSpellErrorList& operator=(const CSpellErrorList&) = delete;

    // Appends the record and returns it.
    CSpellError* Add(std::unique_ptr<CSpellError> error);
    int GetCount() const { return static_cast<int>(m_errors.size()); }
    // Null outside 0..count-1.
    CSpellError* GetAt(int index) const;
    // Deletes every record and every mark, so no item is left marked by a deleted record,
    // wherever it lies.
    void RemoveAll();
    // Deletes the records of words in the flow, which is going away, and their marks.
    void RemoveFlow(const CTextFlow* flow);

    // The marks, kept by item address. They are set and read through the item
    // (CTextItem::SetMisspelt, GetMisspelt), which keeps a bit saying that its document's
    // list may hold a mark of it and asks only then. An item deleted while marked leaves
    // its key behind until its record goes; the key is never followed, and an item made
    // later at the same address starts without the bit, so it never reads the old mark,
    // and marking it replaces the key.
    CSpellError* MarkOf(const CTextItem* item) const;
    // Null takes the item's mark away.
    void SetMark(const CTextItem* item, CSpellError* error);
    int GetMarkCount() const { return static_cast<int>(m_marks.size()); }

private:
    std::vector<std::unique_ptr<CSpellError>> m_errors;
    std::unordered_map<const CTextItem*, CSpellError*> m_marks;
};
