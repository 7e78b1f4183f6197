// The spelling walks of a flow: misspelt words marked through the real spelling library,
// the sentence checker's findings marked, the suggestions of a marked word for the
// context menu, replacing a marked word, and the interactive word and sentence checks
// driven through scripted dialogs.
#include <deque>
#include <memory>
#include <vector>

#include "document/check_text_buffer.h"
#include "document/sentence_checker.h"
#include "document/spell_check_ui.h"
#include "tests/document/spelling_support.h"
#include "tests/document/text_flow_support.h"

namespace {

using plat::String;
using spelltest::Marks;
using spelltest::RealEngine;
using spelltest::U;

// The flow's text with paragraph ends as '|' and the final one as '$'.
std::string Text(const CTextFlow& flow)
{
    std::string out;
    for (int i = 0; i < flow.GetCount(); ++i) {
        const CTextItem* item = flow.GetItem(i);
        const std::uint16_t t = item->GetNodeType();
        if (IsParaEndType(t)) out += t == kItemFinalParaEnd ? "$" : "|";
        else out += plat::Utf16ToUtf8(String(1, item->GetCode()));
    }
    return out;
}

class SpellFlowTest : public testing::Test {
protected:
    SpellFlowTest() : doc(flowtest::TwoAuthorDoc()), flow(doc.get(), nullptr) {}

    void Fill(const std::u16string& text) { flowtest::Fill(flow, text); }
    // The text on one line of placed items, marked; its one misspelt word's record.
    CSpellError* MarkOneLine(const std::u16string& text)
    {
        Fill(text);
        flowtest::PlaceLines(flow, {int(text.size())});
        flow.MarkSpelling(RealEngine(), 0, 0);
        EXPECT_EQ(errors.GetCount(), 1);
        return errors.GetAt(0);
    }
    int Selection() const
    {
        int start, end;
        flow.GetSelectionRange(start, end);
        return start * 1000 + end;
    }

    std::unique_ptr<CQlDoc> doc;
    flowtest::ProbeFlow flow;
    CSpellErrorList& errors = doc->GetSpellErrors();
};

TEST_F(SpellFlowTest, MarksTheItemsOfEachMisspeltWord)
{
    Fill(u"we recieve teh mail|and don't stop$");
    flow.MarkSpelling(RealEngine(), 0, 0);
    //                     we recieve teh mail|and don't stop$
    EXPECT_EQ(Marks(flow), "...xxxxxxx.xxx.....................");
    ASSERT_EQ(errors.GetCount(), 2);
    const CSpellError* e = errors.GetAt(0);
    EXPECT_EQ(e->GetFlow(), &flow);
    EXPECT_EQ(e->GetStart(), 3);
    EXPECT_EQ(e->GetLength(), 7);
    EXPECT_EQ(e->GetWord(), u"recieve");
    for (int i = 3; i < 10; ++i) EXPECT_EQ(flow.GetItem(i)->GetMisspelt(), e) << i;
    EXPECT_EQ(errors.GetAt(1)->GetWord(), u"teh");
    EXPECT_EQ(errors.GetAt(1)->GetStart(), 11);
}

TEST_F(SpellFlowTest, WordsFollowTheirLettersAndSkipDeletedItems)
{
    struct Case {
        const char16_t* text;
        const char* marks;
        const char16_t* word; // of the first record
        int length;           // its items
    };
    const Case cases[] = {
        // A deleted item neither splits nor ends a word; it stays unmarked inside the span.
        {u"a wo~xrd$", "........", nullptr, 0},
        {u"a reci~xeve$", "..xxxx.xxx.", u"recieve", 8},
        // Cyrillic words are checked as Russian.
        {u"МИР ыыыы$", "....xxxx.", u"ыыыы", 4},
        // Digits, punctuation and Chinese end words.
        {u"teh2teh,中teh$", "xxx.xxx..xxx.", u"teh", 3},
        // Capitals too.
        {u"Recieve$", "xxxxxxx.", u"Recieve", 7},
    };
    for (const Case& c : cases) {
        // Each case's flow takes its records out of the document's list when it goes.
        const CSpellErrorList& list = errors;
        flowtest::ProbeFlow f(doc.get(), nullptr);
        flowtest::Fill(f, c.text);
        f.MarkSpelling(RealEngine(), 0, 0);
        EXPECT_EQ(Marks(f), c.marks) << plat::Utf16ToUtf8(c.text);
        if (!c.word) {
            EXPECT_EQ(list.GetCount(), 0) << plat::Utf16ToUtf8(c.text);
            continue;
        }
        ASSERT_GE(list.GetCount(), 1) << plat::Utf16ToUtf8(c.text);
        EXPECT_EQ(list.GetAt(0)->GetWord(), c.word) << plat::Utf16ToUtf8(c.text);
        EXPECT_EQ(list.GetAt(0)->GetLength(), c.length) << plat::Utf16ToUtf8(c.text);
    }
}

TEST_F(SpellFlowTest, ARangeChecksTheWordsStartingInItWhole)
{
    struct Case {
        int from, to;
        const char* marks;
    };
    //                       0123456789012345
    const std::u16string text = u"teh recieve teh$";
    const Case cases[] = {
        {0, 0, "xxx.xxxxxxx.xxx."},
        {5, 8, "....xxxxxxx....."},  // inside a word: the whole word
        {0, 2, "xxx............."},
        {3, 4, "................"},  // only the space
        {4, 5, "....xxxxxxx....."},
        {12, 100, "............xxx."},
    };
    for (const Case& c : cases) {
        flowtest::ProbeFlow f(doc.get(), nullptr);
        flowtest::Fill(f, text);
        f.MarkSpelling(RealEngine(), c.from, c.to);
        EXPECT_EQ(Marks(f), c.marks) << c.from << "-" << c.to;
    }
}

TEST_F(SpellFlowTest, AnUnboundEngineMarksNothing)
{
    Fill(u"we recieve teh mail$");
    CSpellEngine unbound;
    flow.MarkSpelling(unbound, 0, 0);
    EXPECT_EQ(Marks(flow), "....................");
    EXPECT_EQ(errors.GetCount(), 0);
}

TEST_F(SpellFlowTest, EmptyingTheListTakesTheMarksAway)
{
    Fill(u"teh recieve$");
    flow.MarkSpelling(RealEngine(), 0, 0);
    EXPECT_EQ(Marks(flow), "xxx.xxxxxxx.");
    EXPECT_EQ(errors.GetMarkCount(), 10);
    errors.RemoveAll();
    EXPECT_EQ(Marks(flow), "............");
    EXPECT_EQ(errors.GetCount(), 0);
    EXPECT_EQ(errors.GetMarkCount(), 0);
    // The items of "recieve" were marked before and are not now: no old mark comes back.
    flow.MarkSpelling(RealEngine(), 0, 4);
    EXPECT_EQ(Marks(flow), "xxx.........");
}

TEST_F(SpellFlowTest, AFlowThatGoesAwayTakesItsRecordsFromTheDocumentsList)
{
    Fill(u"teh$");
    flow.MarkSpelling(RealEngine(), 0, 0);
    {
        flowtest::ProbeFlow other(doc.get(), nullptr);
        flowtest::Fill(other, u"recieve and teh$");
        other.MarkSpelling(RealEngine(), 0, 0);
        EXPECT_EQ(doc->GetSpellErrors().GetCount(), 3);
    }
    // Only the record of the flow still here is left, and its word stays marked; the
    // marks of the deleted items went with their records.
    ASSERT_EQ(doc->GetSpellErrors().GetCount(), 1);
    EXPECT_EQ(doc->GetSpellErrors().GetAt(0)->GetFlow(), &flow);
    EXPECT_EQ(Marks(flow), "xxx.");
    EXPECT_EQ(doc->GetSpellErrors().GetMarkCount(), 3);
}

TEST_F(SpellFlowTest, EachDocumentKeepsTheMarksOfItsOwnItems)
{
    Fill(u"teh$");
    flow.MarkSpelling(RealEngine(), 0, 0);
    auto second = flowtest::TwoAuthorDoc();
    flowtest::ProbeFlow there(second.get(), nullptr);
    flowtest::Fill(there, u"recieve teh$");
    there.MarkSpelling(RealEngine(), 0, 0);
    EXPECT_EQ(errors.GetCount(), 1);
    EXPECT_EQ(errors.GetMarkCount(), 3);
    EXPECT_EQ(second->GetSpellErrors().GetCount(), 2);
    EXPECT_EQ(second->GetSpellErrors().GetMarkCount(), 10);
    // Emptying one document's list leaves the other's marks.
    second->GetSpellErrors().RemoveAll();
    EXPECT_EQ(Marks(there), "............");
    EXPECT_EQ(Marks(flow), "xxx.");
    // Marked items moved into the other document leave their marks behind.
    there.MoveItemsFrom(flow, 0);
    EXPECT_EQ(Marks(there), "...............");
    EXPECT_EQ(errors.GetMarkCount(), 0);
}

TEST_F(SpellFlowTest, AnItemMadeWhereAMarkedOneWasDeletedIsNotMarked)
{
    CSpellError* record = errors.Add(std::make_unique<CSpellError>(&flow, 0, 1));
    // Two items in turn at one address, the first deleted while marked.
    alignas(CCharItem) unsigned char place[sizeof(CCharItem)];
    auto* first = ::new (place) CCharItem(&flow, kItemWestern, u'a');
    first->SetMisspelt(record);
    EXPECT_EQ(first->GetMisspelt(), record);
    first->~CCharItem();
    auto* second = ::new (place) CCharItem(&flow, kItemWestern, u'b');
    EXPECT_EQ(second->GetMisspelt(), nullptr) << "the first item's mark is not inherited";
    EXPECT_EQ(errors.GetMarkCount(), 1);
    CSpellError* other = errors.Add(std::make_unique<CSpellError>(&flow, 0, 1));
    second->SetMisspelt(other);
    EXPECT_EQ(second->GetMisspelt(), other);
    EXPECT_EQ(errors.GetMarkCount(), 1) << "marking the new item replaced the old key";
    second->SetMisspelt(nullptr);
    EXPECT_EQ(second->GetMisspelt(), nullptr);
    EXPECT_EQ(errors.GetMarkCount(), 0);
    second->~CCharItem();
}

TEST_F(SpellFlowTest, SuggestionsOfTheMarkedWordUnderAPoint)
{
    CSpellError* record = MarkOneLine(u"we recieve it$");
    ASSERT_NE(record, nullptr);
    const int y = flowtest::LineTop(0) + 150;
    auto xOf = [](int item) { return item * flowtest::kItemWidth + 50; };

    struct Entry {
        int position;
        int id;
        String text;
    };
    std::vector<Entry> menu;
    auto sink = [&menu](int position, int id, const String& text) { menu.push_back({position, id, text}); };

    CSpellError* chosen = nullptr;
    const int next = flow.AddSpellingSuggestions(xOf(5), y, RealEngine(), sink, 2, &chosen);
    EXPECT_EQ(chosen, record);
    ASSERT_GE(menu.size(), 1u);
    EXPECT_LE(next, CSpellError::kMaxSuggestions);
    EXPECT_EQ(next, 2 + int(menu.size()));
    bool receive = false;
    for (size_t k = 0; k < menu.size(); ++k) {
        EXPECT_EQ(menu[k].position, int(2 + k));
        EXPECT_EQ(menu[k].id, kSpellSuggestionFirstId + 2 + int(k));
        EXPECT_EQ(record->GetSuggestion(2 + int(k)), menu[k].text);
        receive = receive || menu[k].text == u"receive";
    }
    EXPECT_TRUE(receive);
    EXPECT_EQ(record->GetSuggestion(0), u"") << "slots before the position stay empty";

    // Never past the tenth slot.
    menu.clear();
    EXPECT_EQ(flow.AddSpellingSuggestions(xOf(3), y, RealEngine(), sink, 9, nullptr), 10);
    EXPECT_EQ(menu.size(), 1u);

    // Unmarked item, no item at all: nothing.
    menu.clear();
    chosen = nullptr;
    EXPECT_EQ(flow.AddSpellingSuggestions(xOf(0), y, RealEngine(), sink, 2, &chosen), 0);
    EXPECT_EQ(flow.AddSpellingSuggestions(xOf(11), y, RealEngine(), sink, 2, &chosen), 0);
    EXPECT_EQ(flow.AddSpellingSuggestions(xOf(3), y + 5000, RealEngine(), sink, 2, &chosen), 0);
    EXPECT_TRUE(menu.empty());
    EXPECT_EQ(chosen, nullptr);
}

TEST_F(SpellFlowTest, ChosenSuggestionReplacesTheMarkedWord)
{
    CSpellError* record = MarkOneLine(u"we recieve it$");
    ASSERT_NE(record, nullptr);
    std::vector<String> entries;
    flow.AddSpellingSuggestions(350, flowtest::LineTop(0) + 150, RealEngine(),
                                [&](int, int, const String& s) { entries.push_back(s); }, 0);
    int slot = -1;
    for (size_t k = 0; k < entries.size(); ++k)
        if (entries[k] == u"receive") slot = int(k);
    ASSERT_GE(slot, 0);

    // Refused: another flow's record, an empty slot, a record its items no longer carry.
    flowtest::ProbeFlow other(doc.get(), nullptr);
    flowtest::Fill(other, u"we recieve it$");
    EXPECT_FALSE(other.ReplaceSpellError(*record, slot));
    EXPECT_FALSE(flow.ReplaceSpellError(*record, CSpellError::kMaxSuggestions));
    if (entries.size() < size_t(CSpellError::kMaxSuggestions)) {
        EXPECT_FALSE(flow.ReplaceSpellError(*record, int(entries.size())));
    }
    flow.ClearSpellMarks(3, 4);
    EXPECT_FALSE(flow.ReplaceSpellError(*record, slot));
    EXPECT_EQ(Text(flow), "we recieve it$");

    flow.GetItem(3)->SetMisspelt(record);
    EXPECT_TRUE(flow.ReplaceSpellError(*record, slot));
    EXPECT_EQ(Text(flow), "we receive it$");
    EXPECT_EQ(flow.GetCaretPos().m_index, 10);
}

TEST_F(SpellFlowTest, MarksTheFindingsOfTheSentenceChecker)
{
    // Runs: "we teh one" (ended by '.'), " 他以经来" (by the paragraph end), "twoslots bare"
    // (by the final one); the deleted x is passed over but lies inside the finding.
    Fill(U("we te~xh one. 他以经来|twoslots bare$"));
    CSentenceChecker checker(spelltest::CheckerPath());
    flow.MarkSentenceErrors(checker, 0, 0);
    //                     we te~xh one. 他以经来|twoslots bare$
    EXPECT_EQ(Marks(flow), "...xxxx.......xx..xxxxxxxx......");
    ASSERT_EQ(errors.GetCount(), 3);
    EXPECT_EQ(errors.GetAt(0)->GetWord(), u"teh");
    EXPECT_EQ(errors.GetAt(0)->GetStart(), 3);
    EXPECT_EQ(errors.GetAt(0)->GetLength(), 4);
    EXPECT_EQ(errors.GetAt(0)->GetSuggestion(0), u"the");
    EXPECT_EQ(errors.GetAt(0)->GetSuggestion(1), u"ten");
    EXPECT_EQ(errors.GetAt(1)->GetWord(), U("以经"));
    EXPECT_EQ(errors.GetAt(1)->GetSuggestion(0), U("已经"));
    // The filled slots are kept in order, without the gaps between them.
    EXPECT_EQ(errors.GetAt(2)->GetWord(), u"twoslots");
    EXPECT_EQ(errors.GetAt(2)->GetSuggestion(0), u"s1");
    EXPECT_EQ(errors.GetAt(2)->GetSuggestion(1), u"s3");
}

TEST_F(SpellFlowTest, SentenceRunsEndWhereTheBufferIsFull)
{
    // 130 Chinese characters make two runs: 127 and 3.
    spelltest::CheckerProbe probe;
    Fill(std::u16string(130, 0x4E2D) + u"$");
    CSentenceChecker checker(spelltest::CheckerPath());
    const int calls = probe.Calls();
    flow.MarkSentenceErrors(checker, 0, 0);
    EXPECT_EQ(probe.Calls(), calls + 2);
    EXPECT_EQ(probe.Text().size(), 6u);
}

TEST_F(SpellFlowTest, CheckerAnswersOutOfBoundsMarkNothing)
{
    // "flood" claims countless findings, "outside" one that starts past its run.
    Fill(u"flood. outside$");
    CSentenceChecker checker(spelltest::CheckerPath());
    flow.MarkSentenceErrors(checker, 0, 0);
    EXPECT_EQ(errors.GetCount(), 0);
    EXPECT_EQ(Marks(flow), "...............");
}

TEST_F(SpellFlowTest, NoCheckerMarksNothing)
{
    Fill(u"we teh one$");
    CSentenceChecker unavailable(u"");
    flow.MarkSentenceErrors(unavailable, 0, 0);
    EXPECT_EQ(errors.GetCount(), 0);
    EXPECT_EQ(Marks(flow), "...........");
}

// ---------------------------------------------------------------------------------------
// Interactive checks through scripted dialogs.

class ScriptedUi : public CSpellCheckUi {
public:
    struct Answer {
        int choice;
        String replacement;
    };
    struct Asked {
        String text;
        std::vector<String> suggestions;
        int selection; // start * 1000 + end when asked
    };
    explicit ScriptedUi(const CTextFlow& flow, std::deque<Answer> answers) : m_flow(flow), m_answers(std::move(answers)) {}

    int AskWord(const String& word, const std::vector<String>& s, plat::Point& pos, String& r) override
    {
        return Ask(word, s, pos, r, kWordIgnore);
    }
    int AskSentence(const String& text, const std::vector<String>& s, plat::Point& pos, String& r) override
    {
        return Ask(text, s, pos, r, kSentenceIgnore);
    }

    std::vector<Asked> asked;

private:
    int Ask(const String& text, const std::vector<String>& s, plat::Point& pos, String& r, int otherwise)
    {
        int start, end;
        m_flow.GetSelectionRange(start, end);
        asked.push_back({text, s, start * 1000 + end});
        // The dialog moves and says where it was left.
        pos = plat::Point(pos.x + 1, 7);
        if (m_answers.empty()) return otherwise;
        Answer a = m_answers.front();
        m_answers.pop_front();
        r = a.replacement;
        return a.choice;
    }
    const CTextFlow& m_flow;
    std::deque<Answer> m_answers;
};

// Counts what a check asks of the flow and of the window.
class CheckedFlow : public flowtest::ProbeFlow {
public:
    using ProbeFlow::ProbeFlow;
    void FocusForSpellCheck() override { ++focused; }
    int focused = 0;
};

class SpellCheckTest : public testing::Test {
protected:
    SpellCheckTest() : doc(flowtest::OneAuthorDoc()), flow(doc.get(), nullptr)
    {
        doc->SetRepaintRequest([this] { ++repaints; });
        doc->SetScrollToCaret([this] { ++scrolls; });
    }
    std::unique_ptr<CQlDoc> doc;
    CheckedFlow flow;
    int repaints = 0;
    int scrolls = 0;
    plat::Point pos;
};

TEST_F(SpellCheckTest, WordCheckSelectsEachMisspeltWordAndDoesWhatTheDialogSays)
{
    flowtest::Fill(flow, u"teh cat recieve qlzxwordcheck dog teh qlzxwordcheck$");
    ScriptedUi ui(flow, {{CSpellCheckUi::kWordReplace, u"the"},
                         {CSpellCheckUi::kWordIgnore, u""},
                         {CSpellCheckUi::kWordIgnoreAll, u""},
                         {CSpellCheckUi::kWordReplace, u"tea"}});
    EXPECT_EQ(flow.SpellCheck(RealEngine(), ui, pos), 1);
    EXPECT_EQ(Text(flow), "the cat recieve qlzxwordcheck dog tea qlzxwordcheck$");
    ASSERT_EQ(ui.asked.size(), 4u) << "the ignored-all word is not asked again";
    EXPECT_EQ(ui.asked[0].text, u"teh");
    EXPECT_EQ(ui.asked[0].selection, 3);
    EXPECT_EQ(ui.asked[1].text, u"recieve");
    EXPECT_EQ(ui.asked[1].selection, 8015);
    EXPECT_NE(std::find(ui.asked[1].suggestions.begin(), ui.asked[1].suggestions.end(), u"receive"),
              ui.asked[1].suggestions.end());
    EXPECT_EQ(ui.asked[2].text, u"qlzxwordcheck");
    EXPECT_EQ(ui.asked[3].text, u"teh");
    EXPECT_EQ(ui.asked[3].selection, 34037);
    EXPECT_EQ(pos, plat::Point(4, 7)) << "the dialog's place is kept from error to error";
    EXPECT_EQ(flow.focused, 4);
    EXPECT_EQ(repaints, 4);
    EXPECT_EQ(scrolls, 4);
    EXPECT_EQ(flow.caretFormats, 4);
}

TEST_F(SpellCheckTest, WordCheckStopsWhenTheUserExits)
{
    flowtest::Fill(flow, u"teh recieve$");
    ScriptedUi ui(flow, {{CSpellCheckUi::kWordExit, u""}});
    EXPECT_EQ(flow.SpellCheck(RealEngine(), ui, pos), 0);
    EXPECT_EQ(ui.asked.size(), 1u);
    EXPECT_EQ(Text(flow), "teh recieve$");
}

TEST_F(SpellCheckTest, WordCheckStopsAtAMisspeltWordWithoutSuggestions)
{
    flowtest::Fill(flow, u"it qqqqqqqqqqqqqqqqqqqqqqqqqqqq$");
    std::vector<String> none;
    ASSERT_EQ(RealEngine().GetSuggestions(u"qqqqqqqqqqqqqqqqqqqqqqqqqqqq", none), 1) << "no suggestions";
    ScriptedUi ui(flow, {});
    EXPECT_EQ(flow.SpellCheck(RealEngine(), ui, pos), 1);
    ASSERT_EQ(ui.asked.size(), 1u);
    EXPECT_TRUE(ui.asked[0].suggestions.empty());
}

TEST_F(SpellCheckTest, WordCheckAddsToTheUserDictionary)
{
    CSpellEngine engine;
    ASSERT_TRUE(engine.Load(spelltest::PrivateLibraryFolder("flow_user_words")));
    flowtest::Fill(flow, u"qlzxflowword and qlzxflowword$");
    ScriptedUi ui(flow, {{CSpellCheckUi::kWordAdd, u""}});
    EXPECT_EQ(flow.SpellCheck(engine, ui, pos), 1);
    EXPECT_EQ(ui.asked.size(), 1u);
    EXPECT_EQ(engine.IsCorrect(u"qlzxflowword"), 1);
}

TEST_F(SpellCheckTest, SentenceCheckShowsEachFindingAndDoesWhatTheDialogSays)
{
    flowtest::Fill(flow, U("we teh one. 他以经来|twoslots bare$"));
    CSentenceChecker checker(spelltest::CheckerPath());
    ScriptedUi ui(flow, {{CSpellCheckUi::kSentenceReplace, u"the"},
                         {CSpellCheckUi::kSentenceIgnore, u""},
                         {CSpellCheckUi::kSentenceExit, u""}});
    EXPECT_EQ(flow.SpellCheckWith(checker, ui, pos), 0);
    EXPECT_EQ(Text(flow), "we the one. 他以经来|twoslots bare$");
    ASSERT_EQ(ui.asked.size(), 3u) << "a finding without suggestions is not shown";
    EXPECT_EQ(ui.asked[0].text, u"teh");
    EXPECT_EQ(ui.asked[0].suggestions, (std::vector<String>{u"the", u"ten"}));
    EXPECT_EQ(ui.asked[0].selection, 3006);
    EXPECT_EQ(ui.asked[1].text, U("以经"));
    EXPECT_EQ(ui.asked[1].suggestions, std::vector<String>{U("已经")});
    EXPECT_EQ(ui.asked[1].selection, 13015);
    EXPECT_EQ(ui.asked[2].suggestions, (std::vector<String>{u"s1", u"s3"}));
    EXPECT_EQ(flow.focused, 3);
    EXPECT_EQ(repaints, 3);
    EXPECT_EQ(scrolls, 3);
}

TEST_F(SpellCheckTest, SentenceCheckGoesOnAfterAnIgnoredFindingButDropsARunAfterAReplace)
{
    struct Case {
        int choice;
        const char* text;
        size_t asked;
    };
    const Case cases[] = {
        {CSpellCheckUi::kSentenceIgnore, "teh teh. teh$", 3},
        {CSpellCheckUi::kSentenceReplace, "the teh. the$", 2},
    };
    for (const Case& c : cases) {
        auto d = flowtest::OneAuthorDoc();
        flowtest::ProbeFlow f(d.get(), nullptr);
        flowtest::Fill(f, u"teh teh. teh$");
        CSentenceChecker checker(spelltest::CheckerPath());
        ScriptedUi ui(f, {{c.choice, u"the"}, {c.choice, u"the"}, {c.choice, u"the"}});
        plat::Point p;
        EXPECT_EQ(f.SpellCheckWith(checker, ui, p), 1);
        EXPECT_EQ(Text(f), c.text);
        ASSERT_EQ(ui.asked.size(), c.asked);
        EXPECT_EQ(ui.asked.back().selection, 9012);
    }
}

TEST_F(SpellCheckTest, SentenceCheckWithoutACheckerFindsNothing)
{
    flowtest::Fill(flow, u"teh$");
    CSentenceChecker checker(u"/nonexistent/libChecker.so");
    ScriptedUi ui(flow, {});
    EXPECT_EQ(flow.SpellCheckWith(checker, ui, pos), 1);
    EXPECT_TRUE(ui.asked.empty());
    EXPECT_EQ(pos, plat::Point(0, 0));
}

} // namespace
