// The document's spelling operations: the marks switch, replacing a marked word by one
// of its suggestions (the context menu's suggestion commands) and the interactive checks
// of the whole document.
#include <utility>

#include "document/doc_body.h"
#include "document/ql_doc.h"
#include "document/sentence_checker.h"
#include "document/spell_check_ui.h"
#include "document/text_flow.h"
#include "document/text_item.h"
#include "platform/ui/message_box.h"

void CQlDoc::SetSpellMarks(bool on)
{
    if (m_spellMarks == on) return;
    m_spellMarks = on;
    if (!on && m_body) m_body->ClearSpellMarks();
    RequestRepaint();
}

bool CQlDoc::ReplaceWithSuggestion(const CSpellError* error, int slot)
{
    if (!error || IsReadOnly()) return false;
    // Only a record of the current list: an older one may point to a deleted flow.
    bool listed = false;
    for (int i = 0; i < m_spellErrors.GetCount() && !listed; ++i) listed = m_spellErrors.GetAt(i) == error;
    if (!listed) return false;
    CTextFlow* flow = error->GetFlow();
    const int start = error->GetStart();
    const int end = start + error->GetLength();
    // The flow's own conditions, checked first so that a refused replacement pushes no
    // undo step (undoing it again would throw away the redo steps).
    if (!flow || error->GetSuggestion(slot).empty() || start < 0 || end <= start || end >= flow->GetCount() ||
        flow->GetItem(start)->GetMisspelt() != error)
        return false;
    // The body's snapshot is taken around the word; a flow inside an object is saved with
    // every page object.
    if (flow == m_body.get()) PushUndoState(start, end);
    else PushUndoState();
    if (!flow->ReplaceSpellError(*error, slot)) return false;
    // The table or text shape that holds the text takes its new size.
    if (flow != m_body.get()) m_body->RecalcAllObjects();
    SetModified();
    RequestRepaint();
    return true;
}

bool CQlDoc::ChooseSpellSuggestion(int commandId)
{
    const int slot = commandId - kSpellSuggestionFirstId;
    if (slot < 0 || slot >= CSpellError::kMaxSuggestions) return false;
    return ReplaceWithSuggestion(std::exchange(m_menuSpellError, nullptr), slot);
}

namespace {

// Passes the dialogs on and notes whether any answer changed the text.
class CReplaceWatch : public CSpellCheckUi {
public:
    explicit CReplaceWatch(CSpellCheckUi& ui) : m_ui(ui) {}
    int AskWord(const plat::String& word, const std::vector<plat::String>& suggestions, plat::Point& dialogPos,
                plat::String& replacement) override
    {
        const int choice = m_ui.AskWord(word, suggestions, dialogPos, replacement);
        m_replaced = m_replaced || choice == kWordReplace;
        return choice;
    }
    int AskSentence(const plat::String& text, const std::vector<plat::String>& suggestions, plat::Point& dialogPos,
                    plat::String& replacement) override
    {
        const int choice = m_ui.AskSentence(text, suggestions, dialogPos, replacement);
        m_replaced = m_replaced || choice == kSentenceReplace;
        return choice;
    }
    bool Replaced() const { return m_replaced; }

private:
    CSpellCheckUi& m_ui;
    bool m_replaced = false;
};

} // namespace

bool CQlDoc::RunSpellCheck(CSpellCheckUi& ui, const std::function<void(CSpellCheckUi&, plat::Point&)>& walk)
{
    if (!m_body || IsReadOnly()) return false;
    // The check may replace words anywhere in the body, so the step holds all of it, not
    // only the paragraphs around the selection.
    PushUndoState(0, m_body->GetCount() - 1);
    CReplaceWatch watch(ui);
    plat::Point dialogPos(0, 0);
    walk(watch, dialogPos);
    if (watch.Replaced()) {
        SetModified();
        // A replacement in a cell or a text shape re-flowed only that text: its table or
        // shape takes the new size of its text, and the body flows around it again.
        m_body->RecalcAllObjects();
    }
    ScrollToCaret();
    RequestRepaint();
    // A dialog that was shown has moved the position off (0, 0).
    if (dialogPos == plat::Point(0, 0)) plat::MessageBox(u"拼写检查完成。");
    return true;
}

bool CQlDoc::SpellCheckWords(CSpellCheckUi& ui)
{
    if (!m_spellEngine) return false;
    return RunSpellCheck(ui, [&](CSpellCheckUi& watch, plat::Point& pos) {
        m_body->SpellCheckWords(*m_spellEngine, watch, pos);
    });
}

bool CQlDoc::SpellCheckSentences(const plat::String& checkerPath, CSpellCheckUi& ui)
{
    // Loaded for this run only and freed when it ends.
    CSentenceChecker checker(checkerPath);
    return RunSpellCheck(ui, [&](CSpellCheckUi& watch, plat::Point& pos) {
        m_body->SpellCheckSentences(checker, watch, pos);
    });
}
