// Spelling marks on the document's rendered page and the document's replacement of a
// marked word, and the interactive checks of the whole document: a headless document bound
// to the real spelling library in bin/.
#include <algorithm>
#include <deque>
#include <memory>
#include <string>

#include "document/doc_body.h"
#include "tests/support/headless_windows.h"
#include "document/ql_doc.h"
#include "document/spell_check_ui.h"
#include "document/text_item.h"
#include "document/units.h"
#include "platform/gfx/bitmap.h"
#include "platform/gfx/dc.h"
#include "platform/ui/message_box.h"
#include "tests/document/spelling_support.h"
#include "tests/document/test_object.h"
#include "tests/support/pixel_probe.h"

namespace {

constexpr plat::ColorRef kWhite = plat::Rgb(255, 255, 255);
constexpr plat::ColorRef kRed = plat::Rgb(255, 0, 0);
// "I recieve it": the misspelt word is items 2-8, "it" items 10-11.
constexpr int kWordFirst = 2;
constexpr int kWordLast = 8;

class SpellPageTest : public testing::Test {
protected:
    SpellPageTest() : bmp(plat::Bitmap::Create(800, 200))
    {
        dc.Select(bmp.get());
        doc.Reset();
        doc.SetSpellEngine(&spelltest::RealEngine());
        doc.SetSpellMarks(true);
        body().SetCaret(CTextPos(0, body().GetName()));
        body().InsertItemsAtCaret(u"I recieve it");
        body().RelayoutWhole();
        doc.SetModified(false);
    }
    CDocBody& body() const { return *doc.GetBody(); }

    // Page 1 on the screen with its top left corner at (0, 0).
    void Render()
    {
        bmp->Fill(kWhite);
        doc.DrawPage(dc, 1.0, 0, 0, 0, 1);
    }
    int Px(int twips) const { return TwipsToPixels(dc, 1.0, twips); }
    // Red pixels from the baseline of items first..last down to 6 pixels below it.
    int RedUnder(int first, int last) const
    {
        const plat::Rect page = doc.GetPageRect(0);
        const int x0 = -Px(page.left);
        const int y0 = Px96ToPixels(dc, 1.0, 8) - Px(page.top);
        const CTextItem* a = body().GetItem(first);
        const CTextItem* b = body().GetItem(last);
        const int baseline = y0 + Px(a->GetTop() + a->GetAscent());
        const plat::Rect band(x0 + Px(a->GetLeft()), baseline, x0 + Px(b->GetLeft() + b->GetDrawnWidth()),
                              baseline + 7);
        return testsupport::InkOf(*bmp, band, kRed).count;
    }
    std::string Text() const
    {
        std::u16string out;
        for (int i = 0; i + 1 < body().GetCount(); ++i) out += body().GetItem(i)->GetCode();
        return plat::Utf16ToUtf8(out);
    }
    // The marked word's record with its suggestions filled as the context menu fills
    // them; the slot of "receive" in it.
    CSpellError* Suggest(int& slot)
    {
        const CTextItem* item = body().GetItem(kWordFirst + 1);
        CSpellError* error = nullptr;
        const int end = body().AddSpellingSuggestions(item->GetLeft() + 5, item->GetTop() + 5,
                                                      spelltest::RealEngine(), nullptr, 0, &error);
        slot = -1;
        for (int k = 0; error && k < end; ++k)
            if (error->GetSuggestion(k) == u"receive") slot = k;
        return error;
    }

    CHeadlessWindows window;
    CQlDoc doc{&window, &window};
    std::unique_ptr<plat::Bitmap> bmp;
    plat::MemoryDc dc;
};

TEST_F(SpellPageTest, ScreenPageMarksTheMisspeltWordOnly)
{
    ASSERT_TRUE(spelltest::RealEngine().IsBound());
    Render();
    EXPECT_GT(RedUnder(kWordFirst, kWordLast), 10);
    EXPECT_EQ(RedUnder(0, 0), 0);
    EXPECT_EQ(RedUnder(10, 11), 0);
    ASSERT_EQ(doc.GetSpellErrors().GetCount(), 1);
    EXPECT_EQ(doc.GetSpellErrors().GetAt(0)->GetWord(), u"recieve");

    // Painting again checks afresh: one record still, not one a paint.
    Render();
    EXPECT_EQ(doc.GetSpellErrors().GetCount(), 1);
}

TEST_F(SpellPageTest, NoMarksWhenSwitchedOffWithoutEngineOrInPrint)
{
    Render();
    ASSERT_GT(RedUnder(kWordFirst, kWordLast), 10);
    doc.SetSpellMarks(false);
    EXPECT_EQ(doc.GetSpellErrors().GetCount(), 0);
    EXPECT_EQ(body().GetItem(kWordFirst)->GetMisspelt(), nullptr);
    Render();
    EXPECT_EQ(RedUnder(kWordFirst, kWordLast), 0);

    doc.SetSpellMarks(true);
    doc.SetSpellEngine(nullptr);
    Render();
    EXPECT_EQ(RedUnder(kWordFirst, kWordLast), 0);

    // Print mode never checks.
    doc.SetSpellEngine(&spelltest::RealEngine());
    bmp->Fill(kWhite);
    doc.DrawPage(dc, 1.0, 0, 0, 0, 3);
    EXPECT_EQ(doc.GetSpellErrors().GetCount(), 0);
    EXPECT_EQ(RedUnder(kWordFirst, kWordLast), 0);
}

TEST_F(SpellPageTest, ThePageMarksSentencesWithTheFramesCheckerAndTheObjectsInItsBand)
{
    body().SetCaret(CTextPos(body().GetCount() - 1, body().GetName()));
    body().InsertItemsAtCaret(u"\r\u4ed6\u4ee5\u7ecf\u8d70\u4e86\u3002"); // 他以经走了。
    body().RelayoutWhole();
    const int second = 13; // 他, after "I recieve it" and its paragraph end
    const plat::Rect page0 = doc.GetPageRect(0);
    const plat::Rect page1 = doc.GetPageRect(1);
    auto* onPage = static_cast<objtest::CTestObject*>(
        body().AddObject(objtest::NewObject(&doc, page0.left + 2000, page0.top + 3000, 1000, 800)));
    auto* below = static_cast<objtest::CTestObject*>(
        body().AddObject(objtest::NewObject(&doc, page1.left + 2000, page1.top + 3000, 1000, 800)));
    body().BuildPageRegions();
    body().RelayoutWhole();

    // Without a sentence checker only words are marked.
    Render();
    EXPECT_EQ(doc.GetSpellErrors().GetCount(), 1);
    EXPECT_EQ(body().GetItem(second + 1)->GetMisspelt(), nullptr);
    EXPECT_EQ(onPage->m_spellClears, 1);
    EXPECT_EQ(onPage->m_spellMarks, 1);
    EXPECT_EQ(onPage->m_sentenceMarks, 0);
    EXPECT_EQ(below->m_spellMarks, 0) << "an object outside the band is left alone";

    // With the host's checker the sentence's finding is marked too, and the objects in the
    // band are asked for theirs.
    window.m_sentenceCheckerPath = spelltest::CheckerPath();
    Render();
    // The word, and the checker's two findings ("recieve" and 以经).
    ASSERT_EQ(doc.GetSpellErrors().GetCount(), 3);
    ASSERT_NE(body().GetItem(second + 1)->GetMisspelt(), nullptr);
    EXPECT_EQ(body().GetItem(second + 1)->GetMisspelt(), body().GetItem(second + 2)->GetMisspelt());
    EXPECT_EQ(body().GetItem(second)->GetMisspelt(), nullptr);
    EXPECT_EQ(onPage->m_sentenceMarks, 1);
    EXPECT_EQ(below->m_sentenceMarks, 0);

    // Turning the marks off unmarks the objects as well.
    const int cleared = below->m_spellClears;
    doc.SetSpellMarks(false);
    EXPECT_EQ(below->m_spellClears, cleared + 1);
    EXPECT_EQ(body().GetItem(second + 1)->GetMisspelt(), nullptr);
}

TEST_F(SpellPageTest, ReplacingWithASuggestionIsOneUndoableEdit)
{
    Render();
    int slot = -1;
    CSpellError* error = Suggest(slot);
    ASSERT_NE(error, nullptr);
    ASSERT_GE(slot, 0);

    ASSERT_TRUE(doc.ReplaceWithSuggestion(error, slot));
    EXPECT_EQ(Text(), "I receive it");
    EXPECT_TRUE(doc.IsModified());
    Render();
    EXPECT_EQ(RedUnder(kWordFirst, kWordLast), 0);
    EXPECT_EQ(doc.GetSpellErrors().GetCount(), 0);

    doc.EditUndo();
    EXPECT_EQ(Text(), "I recieve it");
    Render();
    EXPECT_GT(RedUnder(kWordFirst, kWordLast), 10);
}

TEST_F(SpellPageTest, RefusedReplacementChangesNothingAndPushesNoUndo)
{
    Render();
    int slot = -1;
    CSpellError* error = Suggest(slot);
    ASSERT_NE(error, nullptr);
    // A record that is not in the document's list, an empty slot, a null record.
    CSpellError stray(&body(), kWordFirst, kWordLast - kWordFirst + 1);
    stray.SetSuggestion(0, u"receive");
    EXPECT_FALSE(doc.ReplaceWithSuggestion(&stray, 0));
    EXPECT_FALSE(doc.ReplaceWithSuggestion(error, CSpellError::kMaxSuggestions));
    EXPECT_FALSE(doc.ReplaceWithSuggestion(nullptr, 0));
    // A read-only document.
    doc.SetReadOnly(true);
    EXPECT_FALSE(doc.ReplaceWithSuggestion(error, slot));
    EXPECT_EQ(Text(), "I recieve it");
    EXPECT_FALSE(doc.IsModified());
    EXPECT_FALSE(doc.CanUndo());
}

TEST_F(SpellPageTest, RightPressOffersTheWordsSuggestionsAndChoosingOneReplacesIt)
{
    Render();
    struct Entry {
        int position;
        int id;
        plat::String text;
    };
    std::vector<Entry> menu;
    auto sink = [&menu](int position, int id, const plat::String& text) { menu.push_back({position, id, text}); };
    // Canvas points are desk pixels: the middle of an item of the word, or of "it".
    auto on = [&](int i) {
        const CTextItem* item = body().GetItem(i);
        return plat::Point(Px(item->GetLeft() + item->GetDrawnWidth() / 2), Px(item->GetTop() + item->GetHeight() / 2));
    };

    const int next = doc.OnRButtonDown(on(kWordFirst + 2), 0, sink);
    ASSERT_GE(menu.size(), 2u);
    EXPECT_EQ(next, int(menu.size()));
    EXPECT_LE(next, CSpellError::kMaxSuggestions);
    int slot = -1;
    for (size_t k = 0; k < menu.size(); ++k) {
        EXPECT_EQ(menu[k].position, int(k));
        EXPECT_EQ(menu[k].id, kSpellSuggestionFirstId + int(k));
        if (menu[k].text == u"receive") slot = int(k);
    }
    ASSERT_GE(slot, 0) << "receive is offered";
    EXPECT_TRUE(doc.ChooseSpellSuggestion(kSpellSuggestionFirstId + slot));
    EXPECT_EQ(Text(), "I receive it");
    EXPECT_TRUE(doc.IsModified());
    EXPECT_FALSE(doc.ChooseSpellSuggestion(kSpellSuggestionFirstId + slot)) << "one choice a press";
    doc.EditUndo();
    EXPECT_EQ(Text(), "I recieve it");
    EXPECT_FALSE(doc.CanUndo()) << "the replacement was one step";
}

TEST_F(SpellPageTest, RightPressOffersNothingForACorrectWordOrWithoutTheEngine)
{
    Render();
    int offered = 0;
    auto sink = [&offered](int, int, const plat::String&) { ++offered; };
    const CTextItem* it = body().GetItem(10);
    const CTextItem* word = body().GetItem(kWordFirst + 1);
    const plat::Point onIt(Px(it->GetLeft() + 20), Px(it->GetTop() + 20));
    const plat::Point onWord(Px(word->GetLeft() + 20), Px(word->GetTop() + 20));

    EXPECT_EQ(doc.OnRButtonDown(onIt, 0, sink), 0);
    EXPECT_EQ(offered, 0);
    EXPECT_FALSE(doc.ChooseSpellSuggestion(kSpellSuggestionFirstId));

    // Slots run out at the tenth: from position 8 only two are offered.
    EXPECT_EQ(doc.OnRButtonDown(onWord, 8, sink), CSpellError::kMaxSuggestions);
    EXPECT_EQ(offered, 2);
    // Ids outside the ten suggestion commands choose nothing.
    EXPECT_FALSE(doc.ChooseSpellSuggestion(kSpellSuggestionFirstId + CSpellError::kMaxSuggestions));
    EXPECT_FALSE(doc.ChooseSpellSuggestion(kSpellSuggestionFirstId - 1));

    offered = 0;
    doc.SetSpellEngine(nullptr);
    EXPECT_EQ(doc.OnRButtonDown(onWord, 0, sink), 0);
    EXPECT_EQ(offered, 0);
    EXPECT_FALSE(doc.ChooseSpellSuggestion(kSpellSuggestionFirstId + 8));
    EXPECT_EQ(Text(), "I recieve it");
    EXPECT_FALSE(doc.CanUndo());
}

// ---------------------------------------------------------------------------------------
// The interactive checks of the whole document through a scripted word dialog.

// Answers each misspelt word in turn: replace with the given suggestion (which must be
// offered), or stop at an empty answer or when out of answers. The dialog reports where
// it was left only when `moves` is set, as a dialog the user dragged.
class ScriptedWordDialog : public CSpellCheckUi {
public:
    ScriptedWordDialog(std::deque<plat::String> answers, bool moves) : m_answers(std::move(answers)), m_moves(moves) {}
    int AskWord(const plat::String& word, const std::vector<plat::String>& suggestions, plat::Point& pos,
                plat::String& replacement) override
    {
        words.push_back(word);
        if (m_moves) pos = plat::Point(40, 30);
        if (m_answers.empty()) return kWordExit;
        replacement = m_answers.front();
        m_answers.pop_front();
        if (replacement.empty()) return kWordExit;
        EXPECT_NE(std::find(suggestions.begin(), suggestions.end(), replacement), suggestions.end())
            << plat::Utf16ToUtf8(replacement) << " not offered for " << plat::Utf16ToUtf8(word);
        return kWordReplace;
    }
    int AskSentence(const plat::String&, const std::vector<plat::String>&, plat::Point&, plat::String&) override
    {
        ADD_FAILURE() << "the word check showed the sentence dialog";
        return kSentenceExit;
    }
    std::vector<plat::String> words;

private:
    std::deque<plat::String> m_answers;
    bool m_moves;
};

class SpellCheckDocTest : public SpellPageTest {
protected:
    SpellCheckDocTest()
    {
        plat::ClearMessageBoxLog();
        plat::SetMessageBoxHandler([](const plat::MessageBoxRecord&) { return plat::kIdOk; });
    }
    ~SpellCheckDocTest() override
    {
        plat::SetMessageBoxHandler({});
        plat::ClearMessageBoxLog();
    }
    static int DoneMessages()
    {
        int n = 0;
        for (const auto& box : plat::GetMessageBoxLog()) n += box.text == spelltest::U("拼写检查完成。");
        return n;
    }
};

TEST_F(SpellCheckDocTest, WordCheckReplacesWithSuggestionAndIsOneUndoStep)
{
    ScriptedWordDialog ui({u"receive"}, false);
    body().SetCaret(CTextPos(body().GetCount() - 1, body().GetName()));
    ASSERT_TRUE(doc.SpellCheckWords(ui));
    ASSERT_EQ(ui.words, std::vector<plat::String>{u"recieve"});
    EXPECT_EQ(Text(), "I receive it");
    EXPECT_TRUE(doc.IsModified());
    // The dialog left its position at (0, 0), so the run ends with its message.
    EXPECT_EQ(DoneMessages(), 1);

    doc.EditUndo();
    EXPECT_EQ(Text(), "I recieve it");
}

TEST_F(SpellCheckDocTest, WordCheckUndoRestoresWordsFarFromTheSelection)
{
    // Words in a paragraph far below the caret are replaced; the undo step still holds them.
    body().SetCaret(CTextPos(body().GetCount() - 1, body().GetName()));
    body().InsertItemsAtCaret(u"\rgo\rgo\rgo\rgo\rgo\rwe recieve");
    const std::string before = Text();
    body().SetCaret(CTextPos(0, body().GetName()));
    ScriptedWordDialog ui({u"receive", u"receive"}, true);
    ASSERT_TRUE(doc.SpellCheckWords(ui));
    ASSERT_EQ(ui.words, (std::vector<plat::String>{u"recieve", u"recieve"}));
    EXPECT_EQ(Text().find("recieve"), std::string::npos);
    // A dialog was shown and moved: no closing message.
    EXPECT_EQ(DoneMessages(), 0);
    doc.EditUndo();
    EXPECT_EQ(Text(), before);
}

TEST_F(SpellCheckDocTest, StoppedCheckChangesNothing)
{
    ScriptedWordDialog ui({u""}, true);
    ASSERT_TRUE(doc.SpellCheckWords(ui));
    EXPECT_EQ(ui.words.size(), 1u);
    EXPECT_EQ(Text(), "I recieve it");
    EXPECT_FALSE(doc.IsModified());
}

TEST_F(SpellCheckDocTest, NothingToAskReportsDoneAndRefusalsDoNothing)
{
    body().SetSelection(CTextPos(body().GetCount() - 1, body().GetName()), CTextPos(0, body().GetName()));
    body().DeleteSelection();
    body().InsertItemsAtCaret(u"all is well");
    doc.SetModified(false);
    ScriptedWordDialog ui({}, true);
    ASSERT_TRUE(doc.SpellCheckWords(ui));
    EXPECT_TRUE(ui.words.empty());
    EXPECT_EQ(DoneMessages(), 1);
    // A checker library that cannot be loaded finds nothing either.
    ASSERT_TRUE(doc.SpellCheckSentences(u"/nonexistent/checker.so", ui));
    EXPECT_EQ(DoneMessages(), 2);
    EXPECT_EQ(Text(), "all is well");
    EXPECT_FALSE(doc.IsModified());

    // Read-only, or no engine for the word check: refused with no undo step and no message.
    while (doc.CanUndo()) doc.EditUndo();
    doc.SetReadOnly(true);
    EXPECT_FALSE(doc.SpellCheckWords(ui));
    EXPECT_FALSE(doc.SpellCheckSentences(u"/nonexistent/checker.so", ui));
    doc.SetReadOnly(false);
    doc.SetSpellEngine(nullptr);
    EXPECT_FALSE(doc.SpellCheckWords(ui));
    EXPECT_FALSE(doc.CanUndo());
    EXPECT_EQ(DoneMessages(), 2);
}

} // namespace
