// Spelling marks of the page body: the paragraphs the screen is about to show are
// checked afresh, so marks follow the text as it is edited without a check of the whole
// body on each keystroke. The interactive checks walk the body, then every page object.
#include "document/doc_body.h"
#include "document/doc_context.h"
#include "document/doc_frame.h"
#include "document/float_object.h"
#include "document/format_state.h"
#include "document/page_object_list.h"
#include "document/sentence_checker.h"
#include "document/spell_engine.h"
#include "document/spell_error.h"
#include "document/text_item.h"

void CDocBody::SpellCheckRange(std::int64_t top, std::int64_t bottom)
{
    CDocContext* doc = GetDoc();
    CSpellEngine* engine = doc ? doc->GetSpellEngine() : nullptr;
    if (!engine) return;
    // The records of the last check go first: their items are unmarked wherever they lie.
    doc->GetSpellErrors().RemoveAll();
    // The host's sentence checker, for this pass only; without one only words are marked.
    const CDocFrame* frame = doc->GetFrame();
    CSentenceChecker checker(frame ? frame->GetSentenceCheckerPath() : plat::String());
    const int count = GetCount();
    int first = -1;
    int last = -1;
    for (int i = 0; i < count; ++i) {
        const CTextItem* item = ItemAt(i);
        const std::int64_t itemTop = item->GetTop();
        if (itemTop + item->GetLineHeight() < top || itemTop > bottom) continue;
        if (first < 0) first = i;
        last = i;
    }
    if (first >= 0) {
        // Whole paragraphs, so a word cut by the band's edge is checked with its context.
        while (first > 0 && !IsParaEndType(ItemAt(first - 1)->GetNodeType())) --first;
        const int to = ParagraphEndAfter(last);
        CTextFlow::ClearSpellMarks(first, to);
        MarkSpelling(*engine, first, to);
        if (checker.IsAvailable()) MarkSentenceErrors(checker, first, to);
    }
    // The objects the band meets mark their own text afresh.
    for (int k = 0; k < m_objects->GetCount(); ++k) {
        CFloatObject* object = m_objects->GetObject(k);
        if (object->m_bounds.top > bottom || object->m_bounds.bottom < top) continue;
        object->ClearSpellMarks();
        object->MarkSpelling();
        if (checker.IsAvailable()) object->MarkSentenceErrors(checker);
    }
}

void CDocBody::ClearSpellMarks()
{
    if (CDocContext* doc = GetDoc()) doc->GetSpellErrors().RemoveAll();
    CTextFlow::ClearSpellMarks(0, 0);
    for (int k = 0; k < m_objects->GetCount(); ++k) m_objects->GetObject(k)->ClearSpellMarks();
}

namespace {

// Both interactive checks: the body's text from its start with the body as the focus
// text, then each object selected alone in turn; stops at the first that was stopped.
template <typename CheckFlow, typename CheckObject>
int WalkSpellCheck(CDocBody& body, CheckFlow checkFlow, CheckObject checkObject)
{
    body.DeselectAll();
    body.SetSelection(CTextPos(0, body.GetName()), CTextPos(0, body.GetName()));
    if (CDocContext* doc = body.GetDoc())
        if (CFormatState* state = doc->GetFormatState()) state->SetFocusObject(&body);
    if (!checkFlow()) return 0;
    for (int i = 0; i < body.GetObjectCount(); ++i) {
        CFloatObject* object = body.GetObject(i);
        if (!object) continue;
        body.DeselectAll();
        object->SetSelected(true);
        if (!checkObject(*object)) return 0;
    }
    return 1;
}

} // namespace

int CDocBody::SpellCheckWords(CSpellEngine& engine, CSpellCheckUi& ui, plat::Point& dialogPos)
{
    return WalkSpellCheck(
        *this, [&] { return SpellCheck(engine, ui, dialogPos); },
        [&](CFloatObject& object) { return object.SpellCheck(engine, ui, dialogPos); });
}

int CDocBody::SpellCheckSentences(CSentenceChecker& checker, CSpellCheckUi& ui, plat::Point& dialogPos)
{
    return WalkSpellCheck(
        *this, [&] { return SpellCheckWith(checker, ui, dialogPos); },
        [&](CFloatObject& object) { return object.SpellCheckWith(checker, ui, dialogPos); });
}
