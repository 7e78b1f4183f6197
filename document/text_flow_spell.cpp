// The spelling walks of a text flow: misspelt words and the sentence checker's findings
// marked for painting, the suggestions of a marked word for the context menu, and the
// interactive word and sentence checks with their dialogs.
#include <algorithm>
#include <memory>

#include "document/check_text_buffer.h"
#include "document/doc_context.h"
#include "document/sentence_checker.h"
#include "document/spell_check_ui.h"
#include "document/spell_engine.h"
#include "document/spell_error.h"
#include "document/text_flow.h"
#include "document/text_item.h"

namespace {

bool IsWordChar(const CTextItem& item)
{
    if (item.GetNodeType() != kItemWestern) return false;
    const char16_t c = item.GetCode();
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || c == u'\'' || (c >= 0x0401 && c <= 0x045F);
}

// One word: its first item, the item after its last character, its text.
struct Word {
    int first = 0;
    int end = 0;
    plat::String text;
};

// The next word that starts at or after item i and before `to`; i is left on the item
// that ended it. A word running past `to` is taken whole; one that no item ends (which
// a flow's final paragraph end rules out) is not a word.
bool NextWord(const CTextFlow& flow, int& i, int to, Word& word)
{
    word.text.clear();
    for (const int count = flow.GetCount(); i < count; ++i) {
        if (word.text.empty() && i >= to) return false;
        const CTextItem& item = *flow.GetItem(i);
        if (item.IsDeleted()) continue;
        if (!IsWordChar(item)) {
            if (!word.text.empty()) return true;
            continue;
        }
        if (word.text.empty()) word.first = i;
        word.text += item.GetCode();
        word.end = i + 1;
    }
    return false;
}

// The first item of the word that item i lies in (i itself when it is in none).
int WordStart(const CTextFlow& flow, int i)
{
    const CTextItem* at = flow.GetItem(i);
    if (!at || !(at->IsDeleted() || IsWordChar(*at))) return i;
    while (i > 0) {
        const CTextItem& before = *flow.GetItem(i - 1);
        if (!before.IsDeleted() && !IsWordChar(before)) break;
        --i;
    }
    return i;
}

int RangeEnd(const CTextFlow& flow, int to)
{
    const int count = flow.GetCount();
    return to <= 0 || to > count ? count : to;
}

// Collects the runs of items from `from` on for the sentence checker. For each run that
// holds a character, onRun(buffer, stop) is called with the item that ended it (or the
// range's end); it returns where collection goes on, or a negative value to stop the
// walk. `to` = 0 runs to the end of the flow as it stands after each run. False when a
// run stopped the walk.
template <class OnRun>
bool ForEachRun(const CTextFlow& flow, int from, int to, OnRun onRun)
{
    CCheckTextBuffer buffer;
    int i = std::max(from, 0);
    for (;;) {
        const int end = RangeEnd(flow, to);
        if (i < end) {
            const CTextItem& item = *flow.GetItem(i);
            if (!IsParaEndType(item.GetNodeType()) &&
                (item.IsDeleted() || !item.IsChar() || buffer.Add(item.GetCode(), i))) {
                ++i;
                continue;
            }
        }
        // Item i ends the run: a paragraph end, a character the run refused or that
        // filled it, or the range's end.
        int next = i + 1;
        if (buffer.GetLength() > 0) {
            next = onRun(buffer, i);
            buffer.Reset();
            if (next < 0) return false;
        }
        if (i >= end) return true;
        i = next;
    }
}

// Findings a run may report: one per character at most, whatever the checker says.
int FindingCount(CSentenceChecker& checker, const CCheckTextBuffer& buffer)
{
    return std::min(checker.Check(buffer), buffer.GetLength());
}

// The items of the last fetched finding; false when it has no length or lies outside
// the run.
bool FindingRun(const CSentenceChecker& checker, const CCheckTextBuffer& buffer, CCheckTextBuffer::Run& run)
{
    const int length = checker.GetErrorLength();
    if (length <= 0) return false;
    run = buffer.GetRun(checker.GetErrorStart(), length);
    return run.end > run.start;
}

std::vector<plat::String> FindingSuggestions(const CSentenceChecker& checker)
{
    std::vector<plat::String> list;
    for (int slot = 0; slot < CSentenceChecker::kSlotCount; ++slot) {
        plat::String s = checker.GetSuggestion(slot);
        if (!s.empty()) list.push_back(std::move(s));
    }
    return list;
}

} // namespace

void CTextFlow::MarkSpelling(CSpellEngine& engine, int from, int to)
{
    CDocContext* doc = GetDoc();
    if (!doc) return;
    CSpellErrorList& errors = doc->GetSpellErrors();
    const int end = RangeEnd(*this, to);
    int i = WordStart(*this, std::clamp(from, 0, GetCount()));
    Word word;
    while (NextWord(*this, i, end, word)) {
        if (engine.IsCorrect(word.text)) continue;
        CSpellError* error = errors.Add(std::make_unique<CSpellError>(this, word.first, word.end - word.first));
        error->SetWord(word.text);
        for (int k = word.first; k < word.end; ++k)
            if (!ItemAt(k)->IsDeleted()) ItemAt(k)->SetMisspelt(error);
    }
}

void CTextFlow::MarkSentenceErrors(CSentenceChecker& checker, int from, int to)
{
    CDocContext* doc = GetDoc();
    if (!doc || !checker.IsAvailable()) return;
    CSpellErrorList& errors = doc->GetSpellErrors();
    ForEachRun(*this, from, to == 0 ? GetCount() : to, [&](const CCheckTextBuffer& buffer, int stop) {
        const int found = FindingCount(checker, buffer);
        for (int k = 0; k < found; ++k) {
            CCheckTextBuffer::Run run;
            if (!checker.Fetch(k) || !FindingRun(checker, buffer, run)) continue;
            CSpellError* error = errors.Add(std::make_unique<CSpellError>(this, run.start, run.end - run.start));
            error->SetWord(run.text);
            const std::vector<plat::String> suggestions = FindingSuggestions(checker);
            for (size_t s = 0; s < suggestions.size(); ++s) error->SetSuggestion(static_cast<int>(s), suggestions[s]);
            for (int item = run.start; item < run.end; ++item) ItemAt(item)->SetMisspelt(error);
        }
        return stop + 1;
    });
}

int CTextFlow::AddSpellingSuggestions(int x, int y, CSpellEngine& engine, const SpellSuggestionSink& sink,
                                      int position, CSpellError** errorOut)
{
    const CTextItem* item = ItemAtPoint(x, y);
    CSpellError* error = item ? item->GetMisspelt() : nullptr;
    if (!error) return 0;
    std::vector<plat::String> suggestions;
    if (engine.GetSuggestions(error->GetWord(), suggestions) == 0) {
        for (const plat::String& s : suggestions) {
            if (position < 0 || position >= CSpellError::kMaxSuggestions) break;
            if (sink) sink(position, kSpellSuggestionFirstId + position, s);
            error->SetSuggestion(position, s);
            ++position;
        }
    }
    if (errorOut) *errorOut = error;
    return position;
}

int CTextFlow::SpellCheck(CSpellEngine& engine, CSpellCheckUi& ui, plat::Point& dialogPos)
{
    int i = 0;
    Word word;
    while (NextWord(*this, i, GetCount(), word)) {
        // A misspelt word stops the check even when the library has no suggestion for it.
        if (engine.IsCorrect(word.text)) continue;
        std::vector<plat::String> suggestions;
        engine.GetSuggestions(word.text, suggestions);
        FocusForSpellCheck();
        SetSelection(CTextPos(word.end, m_name), CTextPos(word.first, m_name));
        UpdateCaretFormat(1);
        if (const CDocContext* doc = GetDoc()) {
            doc->RequestRepaint();
            doc->ScrollToCaret();
        }
        plat::String replacement;
        switch (ui.AskWord(word.text, suggestions, dialogPos, replacement)) {
        case CSpellCheckUi::kWordExit:
            return 0;
        case CSpellCheckUi::kWordIgnoreAll:
            engine.AddIgnore(word.text);
            break;
        case CSpellCheckUi::kWordAdd:
            engine.AddWord(word.text);
            break;
        case CSpellCheckUi::kWordReplace:
            InsertItemsAtCaret(replacement);
            // The check goes on after the new text.
            i = m_caret.m_index;
            break;
        default:
            break;
        }
    }
    return 1;
}

int CTextFlow::SpellCheckWith(CSentenceChecker& checker, CSpellCheckUi& ui, plat::Point& dialogPos)
{
    if (!checker.IsAvailable()) return 1;
    const bool done = ForEachRun(*this, 0, 0, [&](const CCheckTextBuffer& buffer, int stop) {
        const int found = FindingCount(checker, buffer);
        for (int k = 0; k < found; ++k) {
            CCheckTextBuffer::Run run;
            if (!checker.Fetch(k) || !FindingRun(checker, buffer, run)) continue;
            FocusForSpellCheck();
            SetSelection(CTextPos(run.end, m_name), CTextPos(run.start, m_name));
            if (const CDocContext* doc = GetDoc()) {
                doc->RequestRepaint();
                doc->ScrollToCaret();
            }
            plat::String replacement;
            switch (ui.AskSentence(run.text, FindingSuggestions(checker), dialogPos, replacement)) {
            case CSpellCheckUi::kSentenceExit:
                return -1;
            case CSpellCheckUi::kSentenceReplace: {
                // The run's other findings point at items that may have moved: they are
                // dropped and collection goes on after the run.
                const int before = GetCount();
                InsertItemsAtCaret(replacement);
                return stop + 1 + (GetCount() - before);
            }
            default:
                // Ignored: the rest of the run is collected and checked again.
                return run.end;
            }
        }
        return stop + 1;
    });
    return done ? 1 : 0;
}

bool CTextFlow::ReplaceSpellError(const CSpellError& error, int slot)
{
    if (error.GetFlow() != this) return false;
    const plat::String text = error.GetSuggestion(slot);
    const int start = error.GetStart();
    const int end = start + error.GetLength();
    // The final paragraph end is never part of an error.
    if (text.empty() || start < 0 || end <= start || end >= GetCount()) return false;
    if (ItemAt(start)->GetMisspelt() != &error) return false;
    SetSelection(CTextPos(end, m_name), CTextPos(start, m_name));
    InsertItemsAtCaret(text);
    return true;
}
