// The text of table cells and text shapes reached by the document's walks: the interactive
// word and sentence checks go from the body into every cell and into a shape's text and out
// again, spelling marks, the context menu's suggestions and annotation marks reach that
// text, and a shape's text changes case. A headless document bound to the real spelling library in bin/ and to the tests'
// sentence checker.
#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "document/doc_body.h"
#include "document/format_state.h"
#include "document/spell_check_ui.h"
#include "document/text_item.h"
#include "objects/object_kinds.h"
#include "objects/table_object.h"
#include "objects/text_shape.h"
#include "platform/gfx/bitmap.h"
#include "platform/gfx/dc.h"
#include "platform/ui/message_box.h"
#include "tests/document/doc_object_support.h"
#include "tests/document/spelling_support.h"

namespace {

using plat::String;

plat::String TextOf(const CTextFlow& flow)
{
    return flow.GetText(0, flow.GetCount() - 1);
}

// Answers each error in turn with the next replacement; an empty answer, or running out
// of answers, stops the check. It notes each error's text and the flow that had the focus
// while it was asked, and moves the dialog as a user who dragged it would.
class ScriptedDialog : public CSpellCheckUi {
public:
    ScriptedDialog(CQlDoc& doc, std::deque<String> answers) : m_doc(doc), m_answers(std::move(answers)) {}

    int AskWord(const String& word, const std::vector<String>& suggestions, plat::Point& pos,
                String& replacement) override
    {
        const bool replace = Ask(word, pos, replacement);
        if (replace) {
            EXPECT_NE(std::find(suggestions.begin(), suggestions.end(), replacement), suggestions.end())
                << plat::Utf16ToUtf8(replacement) << " is not offered for " << plat::Utf16ToUtf8(word);
        }
        return replace ? kWordReplace : kWordExit;
    }
    int AskSentence(const String& text, const std::vector<String>&, plat::Point& pos, String& replacement) override
    {
        return Ask(text, pos, replacement) ? kSentenceReplace : kSentenceExit;
    }

    std::vector<String> asked;
    std::vector<const CTextFlow*> focus; // the focus text while each error was shown
    std::vector<String> selected;        // the focus text's selection then

private:
    bool Ask(const String& text, plat::Point& pos, String& replacement)
    {
        asked.push_back(text);
        const CTextFlow* f = m_doc.GetFocusText();
        focus.push_back(f);
        selected.push_back(f ? f->GetSelectedText() : String());
        pos = plat::Point(40, 30);
        if (m_answers.empty()) return false;
        replacement = m_answers.front();
        m_answers.pop_front();
        return !replacement.empty();
    }

    CQlDoc& m_doc;
    std::deque<String> m_answers;
};

class ObjectTextWalks : public testing::Test {
protected:
    static void SetUpTestSuite() { RegisterObjectKinds(); }

    ObjectTextWalks()
    {
        plat::ClearMessageBoxLog();
        plat::SetMessageBoxHandler([](const plat::MessageBoxRecord&) { return plat::kIdOk; });
        doc.SetSpellEngine(&spelltest::RealEngine());
    }
    ~ObjectTextWalks() override
    {
        plat::SetMessageBoxHandler({});
        plat::ClearMessageBoxLog();
    }

    CDocBody& body() const { return shown.Body(); }
    CFormatState& state() const { return *doc.GetFormatState(); }

    void TypeInBody(plat::StringView text)
    {
        body().SetCaret(CTextPos(0, body().GetName()));
        body().InsertItemsAtCaret(text);
        body().RelayoutWhole();
    }
    // A table of the counts on the first page, its columns `width` twips wide.
    CTableObject& AddTable(int rows, int columns, int width = kDefaultColumnWidth)
    {
        auto t = std::make_unique<CTableObject>(&doc, nullptr);
        t->CreateGrid(rows, columns, std::vector<int>(columns, width));
        t->m_bounds = plat::Rect(2000, 3000, 2000 + t->m_width, 3000 + t->m_height);
        t->RecalcLayout();
        auto* added = static_cast<CTableObject*>(doc.AddNewObject(std::move(t)));
        added->SetSelected(false);
        return *added;
    }
    // A text shape of kind 2 below the table, holding the text.
    CTextShapeObject& AddShape(plat::StringView text)
    {
        auto s = std::make_unique<CTextShapeObject>(&doc, nullptr);
        s->m_bounds = plat::Rect(2000, 6000, 5000, 7000);
        s->SetSize(3000, 1000);
        const plat::Rect r = s->GetTextRect();
        s->CreateFrame(r.Width(), r.Height(), 3);
        s->GetFrame()->InsertItemsAtCaret(text);
        s->RelayoutContent();
        auto* added = static_cast<CTextShapeObject*>(doc.AddNewObject(std::move(s)));
        added->SetSelected(false);
        return *added;
    }
    static void Type(CTableGrid& grid, int row, int column, plat::StringView text)
    {
        CTableCell* cell = grid.GetCell(row, column);
        cell->SetCaret(CTextPos(cell->GetCount() - 1, cell->GetName()));
        cell->InsertItemsAtCaret(text);
        grid.RelayoutCell(cell->m_startRow, cell->m_startCol, 0);
        // The table takes the grid's size, as after typing.
        static_cast<CTableObject*>(grid.GetTableObject())->TakeGridSize();
    }
    // The body's focus before a check: the caret at the body's start, nothing selected.
    void FocusBody()
    {
        body().DeselectAll();
        state().SetFocusObject(&body());
        body().SetCaret(body().GetStartPos());
        doc.SetModified(false);
    }
    static int DoneMessages()
    {
        int n = 0;
        for (const auto& box : plat::GetMessageBoxLog()) n += box.text == spelltest::U("拼写检查完成。");
        return n;
    }

    doctest::ShownDoc shown;
    CQlDoc& doc = shown.doc;
};

// The document of the check tests: the body, a 2 x 3 table whose cells (1, 1) and (1, 2)
// are merged, and a text shape, each holding "recieve" once.
struct CheckedDoc {
    CTableObject* table = nullptr;
    CTextShapeObject* shape = nullptr;
    CTableCell* first = nullptr;  // (0, 1)
    CTableCell* merged = nullptr; // (1, 1)-(1, 2)
};

class ObjectSpellCheck : public ObjectTextWalks {
protected:
    CheckedDoc Build()
    {
        doc.Reset();
        CheckedDoc d;
        TypeInBody(u"I recieve it");
        d.table = &AddTable(2, 3);
        CTableGrid& grid = *d.table->GetGrid();
        state().m_currentCell = CCellPos(1, 1);
        state().m_rangeEndCell = CCellPos(1, 2);
        grid.MergeCells();
        Type(grid, 0, 1, u"we recieve");
        Type(grid, 1, 1, u"recieve all");
        d.shape = &AddShape(u"recieve");
        d.first = grid.GetCell(0, 1);
        d.merged = grid.GetCell(1, 1);
        FocusBody();
        doc.ClearUndo();
        return d;
    }
};

TEST_F(ObjectSpellCheck, TheWordCheckGoesFromTheBodyThroughEveryCellAndTheShapeAndOut)
{
    struct Case {
        const char* what;
        std::deque<String> answers;
        size_t asked; // errors shown: the body's, the two cells', the shape's
    };
    const Case cases[] = {
        {"every error replaced", {u"receive", u"receive", u"receive", u"receive"}, 4},
        {"stopped in a cell", {u"receive", u""}, 2},
        {"stopped in the merged cell", {u"receive", u"receive", u""}, 3},
        {"stopped in the shape", {u"receive", u"receive", u"receive", u""}, 4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const CheckedDoc d = Build();
        const std::vector<const CTextFlow*> order = {&body(), d.first, d.merged, d.shape->GetFrame()};
        ScriptedDialog ui(doc, c.answers);
        ASSERT_TRUE(doc.SpellCheckWords(ui));
        ASSERT_EQ(ui.asked.size(), c.asked);
        for (size_t i = 0; i < c.asked; ++i) {
            EXPECT_EQ(ui.asked[i], u"recieve");
            EXPECT_EQ(ui.focus[i], order[i]) << "error " << i << " is shown in its own text";
            EXPECT_EQ(ui.selected[i], u"recieve") << "error " << i << " is selected";
        }
        const size_t replaced = c.answers.back().empty() ? c.asked - 1 : c.asked;
        EXPECT_EQ(TextOf(body()) == u"I receive it", replaced >= 1);
        EXPECT_EQ(TextOf(*d.first) == u"we receive", replaced >= 2);
        EXPECT_EQ(TextOf(*d.merged) == u"receive all", replaced >= 3);
        EXPECT_EQ(TextOf(*d.shape->GetFrame()) == u"receive", replaced >= 4);
        EXPECT_TRUE(doc.IsModified());
        // A dialog was shown and moved: no closing message.
        EXPECT_EQ(DoneMessages(), 0);
        if (replaced < c.asked) {
            // The check stopped on an error: its text keeps the focus and its object is the
            // one selected; in a table its cell is the current one.
            const CTextFlow* stop = order[c.asked - 1];
            EXPECT_EQ(doc.GetFocusText(), stop);
            EXPECT_EQ(d.table->IsSelected(), stop == d.first || stop == d.merged);
            EXPECT_EQ(d.shape->IsSelected(), stop == d.shape->GetFrame());
            EXPECT_EQ(body().GetSelectedCount(), 1);
            if (stop == d.first) {
                EXPECT_EQ(state().m_currentCell, CCellPos(0, 1));
            }
            if (stop == d.merged) {
                EXPECT_EQ(state().m_currentCell, CCellPos(1, 1));
            }
            EXPECT_EQ(state().m_rangeEndCell, state().m_currentCell) << "a cell, not a range";
        }
        // Whatever was replaced goes back in one step.
        doc.EditUndo();
        auto* table = static_cast<CTableObject*>(body().GetObject(0));
        auto* shape = static_cast<CTextShapeObject*>(body().GetObject(1));
        EXPECT_EQ(TextOf(body()), u"I recieve it");
        EXPECT_EQ(TextOf(*table->GetGrid()->GetCell(0, 1)), u"we recieve");
        EXPECT_EQ(TextOf(*table->GetGrid()->GetCell(1, 2)), u"recieve all");
        EXPECT_EQ(TextOf(*shape->GetFrame()), u"recieve");
        EXPECT_FALSE(doc.CanUndo());
    }
}

// The sentence check with the tests' checker reaches the cells and the shape the same way;
// a replacement that makes a cell's text wrap grows its row, and the table takes the grid's
// new size.
TEST_F(ObjectSpellCheck, TheSentenceCheckReachesCellsAndShapesAndTheTableFollowsItsText)
{
    const CheckedDoc d = Build();
    const int height = d.table->m_height;
    const int rowHeight = d.first->m_cellHeight;
    const String longer = u"receive and receive and receive";
    ScriptedDialog ui(doc, {u"receive", longer, u"receive", u"receive"});
    ASSERT_TRUE(doc.SpellCheckSentences(spelltest::CheckerPath(), ui));
    ASSERT_EQ(ui.asked.size(), 4u);
    EXPECT_EQ(ui.focus[1], d.first);
    EXPECT_EQ(ui.focus[3], d.shape->GetFrame());
    EXPECT_EQ(TextOf(*d.first), u"we " + longer);
    EXPECT_EQ(TextOf(*d.shape->GetFrame()), u"receive");
    EXPECT_GT(d.first->m_cellHeight, rowHeight) << "the cell's row grew to its wrapped text";
    EXPECT_EQ(d.table->m_height, d.table->GetGrid()->GetTotalHeight());
    EXPECT_GT(d.table->m_height, height);
    EXPECT_EQ(d.table->m_bounds.bottom - d.table->m_bounds.top, d.table->m_height);
    EXPECT_EQ(DoneMessages(), 0);

    doc.EditUndo();
    auto* table = static_cast<CTableObject*>(body().GetObject(0));
    EXPECT_EQ(table->m_height, height);
    EXPECT_EQ(TextOf(*table->GetGrid()->GetCell(0, 1)), u"we recieve");
}

// Only an object's text holds an error, the dialog moved: the run ends without the
// closing message, which comes only when no dialog was shown at all.
TEST_F(ObjectSpellCheck, ADialogShownForAnObjectsTextLeavesOutTheClosingMessage)
{
    doc.Reset();
    TypeInBody(u"all is well");
    CTableObject& table = AddTable(1, 2);
    FocusBody();
    ScriptedDialog none(doc, {});
    ASSERT_TRUE(doc.SpellCheckWords(none));
    EXPECT_TRUE(none.asked.empty());
    EXPECT_EQ(DoneMessages(), 1);

    Type(*table.GetGrid(), 0, 1, u"recieve");
    FocusBody();
    ScriptedDialog ui(doc, {u"receive"});
    ASSERT_TRUE(doc.SpellCheckWords(ui));
    EXPECT_EQ(ui.asked.size(), 1u);
    EXPECT_EQ(DoneMessages(), 1) << "no second message";
}

// ---- marks and case in the objects' text ----

// The page's spelling pass marks the words of the cells and of the shape, and with the
// frame's sentence checker its findings there too; switching the marks off unmarks them.
TEST_F(ObjectTextWalks, SpellingMarksOfThePageReachCellsAndTheShapesText)
{
    TypeInBody(u"ok");
    CTableObject& table = AddTable(1, 2);
    Type(*table.GetGrid(), 0, 0, u"a recieve");
    Type(*table.GetGrid(), 0, 1, u"他以经走");
    CTextShapeObject& shape = AddShape(u"我们以经 recieve");
    const CTableCell& words = *table.GetGrid()->GetCell(0, 0);
    const CTableCell& sentence = *table.GetGrid()->GetCell(0, 1);
    const CTextFlow& inShape = *shape.GetFrame();
    auto bmp = plat::Bitmap::Create(800, 1100);
    plat::MemoryDc dc;
    dc.Select(bmp.get());
    auto render = [&] { doc.DrawPage(dc, 1.0, 0, 0, 0, 1); };

    struct Step {
        const char* what;
        std::function<void()> act;
        const char *words, *sentence, *shape;
    };
    const Step steps[] = {
        {"words only", [&] { doc.SetSpellMarks(true); }, "..xxxxxxx.", ".....", ".....xxxxxxx."},
        {"with the checker", [&] { shown.window.m_sentenceCheckerPath = spelltest::CheckerPath(); },
         "..xxxxxxx.", ".xx..", "..xx.xxxxxxx."},
        {"switched off", [&] { doc.SetSpellMarks(false); }, "..........", ".....", "............."},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        step.act();
        render();
        EXPECT_EQ(spelltest::Marks(words), step.words);
        EXPECT_EQ(spelltest::Marks(sentence), step.sentence);
        EXPECT_EQ(spelltest::Marks(inShape), step.shape);
    }
}

// A right press on a marked word of a cell or of a shape offers the word's suggestions, and
// choosing one replaces the word as one undo step; the table's margin offers nothing.
TEST_F(ObjectTextWalks, ARightPressOnAMarkedWordOfACellOrShapeOffersItsSuggestions)
{
    CTableObject& table = AddTable(1, 2);
    Type(*table.GetGrid(), 0, 1, u"we recieve");
    AddShape(u"recieve");
    doc.SetSpellMarks(true);
    auto bmp = plat::Bitmap::Create(800, 1100);
    plat::MemoryDc dc;
    dc.Select(bmp.get());
    doc.DrawPage(dc, 1.0, 0, 0, 0, 1);
    doc.ClearUndo();

    struct Case {
        const char* what;
        std::function<CTextFlow*()> flow; // looked up afresh: undo replaces the objects
        int item;                         // an item of the misspelt word
        const char* replaced;
    };
    const Case cases[] = {
        {"a cell", [&] { return static_cast<CTableObject*>(body().GetObject(0))->GetGrid()->GetCell(0, 1); }, 5,
         "we receive"},
        {"a text shape", [&] { return static_cast<CTextShapeObject*>(body().GetObject(1))->GetFrame(); }, 2,
         "receive"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CTextFlow* flow = c.flow();
        const String before = TextOf(*flow);
        const CTextItem* item = flow->GetItem(c.item);
        const plat::Point at = flow->GetItemPagePos(CTextPos(c.item, flow->GetName()));
        const plat::Point press =
            doc.TwipsToPixelsPoint(at.x + item->GetDrawnWidth() / 2, at.y + item->GetHeight() / 2);
        std::vector<String> offered;
        const int next = doc.OnRButtonDown(press, 0, [&](int position, int id, const String& text) {
            EXPECT_EQ(position, int(offered.size()));
            EXPECT_EQ(id, kSpellSuggestionFirstId + position);
            offered.push_back(text);
        });
        ASSERT_EQ(next, int(offered.size()));
        const auto slot = std::find(offered.begin(), offered.end(), u"receive") - offered.begin();
        ASSERT_LT(slot, next) << "receive is offered";
        ASSERT_TRUE(doc.ChooseSpellSuggestion(kSpellSuggestionFirstId + int(slot)));
        EXPECT_EQ(plat::Utf16ToUtf8(TextOf(*c.flow())), c.replaced);
        EXPECT_TRUE(doc.IsModified());
        doc.EditUndo();
        EXPECT_EQ(TextOf(*c.flow()), before);
        EXPECT_FALSE(doc.CanUndo()) << "one step";
        doc.DrawPage(dc, 1.0, 0, 0, 0, 1); // marks the restored text again
    }
    // The table's margin beside the cells holds no word.
    const plat::Rect box = body().GetObject(0)->m_bounds;
    EXPECT_EQ(doc.OnRButtonDown(doc.TwipsToPixelsPoint(box.left + 30, box.top + 200), 0, {}), 0);
}

// A note put on text in a cell and in a shape: removing the note unmarks that text, in one
// undo step.
TEST_F(ObjectTextWalks, RemovingAnAnnotationUnmarksTheTextOfCellsAndShapes)
{
    CTableObject& table = AddTable(1, 2);
    CTableGrid& grid = *table.GetGrid();
    Type(grid, 0, 1, u"cell");
    CTextShapeObject& shape = AddShape(u"shape");
    // Selected text in the flow gets the next note.
    auto annotate = [&](CTextFlow& flow, CFloatObject& object) {
        body().DeselectAll();
        object.SetSelected(true);
        state().SetFocusObject(&flow);
        flow.SetSelection(CTextPos(2, flow.GetName()), CTextPos(0, flow.GetName()));
        return doc.InsertAnnotation(u"note");
    };
    state().m_currentCell = state().m_rangeEndCell = CCellPos(0, 1);
    ASSERT_EQ(annotate(*grid.GetCell(0, 1), table), 1);
    ASSERT_EQ(annotate(*shape.GetFrame(), shape), 2);
    auto notes = [](const CTextFlow& flow) {
        std::string out;
        for (int i = 0; i < flow.GetCount(); ++i) out += std::to_string(flow.GetItem(i)->GetFormat().m_annotation) + " ";
        return out;
    };
    ASSERT_EQ(notes(*grid.GetCell(0, 1)), "1 1 0 0 0 ");
    ASSERT_EQ(notes(*shape.GetFrame()), "2 2 0 0 0 0 ");

    body().RemoveAnnotationMark(1);
    body().RemoveAnnotationMark(2);
    EXPECT_EQ(notes(*grid.GetCell(0, 1)), "-1 -1 0 0 0 ");
    EXPECT_EQ(notes(*shape.GetFrame()), "-1 -1 0 0 0 0 ");
    doc.EditUndo();
    auto* back = static_cast<CTextShapeObject*>(body().GetObject(1));
    EXPECT_EQ(notes(*back->GetFrame()), "2 2 0 0 0 0 ") << "the shape's mark comes back";
    doc.EditUndo();
    auto* backTable = static_cast<CTableObject*>(body().GetObject(0));
    EXPECT_EQ(notes(*backTable->GetGrid()->GetCell(0, 1)), "1 1 0 0 0 ") << "the cell's mark comes back";
}

// The Cyrillic command on a selected object that is not editing its text converts the
// shape's whole text, or the table's selected cells; undo puts the case back.
TEST_F(ObjectTextWalks, CyrillicCaseOfASelectedShapeOrCellRange)
{
    CTableObject& added = AddTable(2, 2);
    Type(*added.GetGrid(), 0, 0, u"жук");
    Type(*added.GetGrid(), 0, 1, u"кот");
    Type(*added.GetGrid(), 1, 0, u"лес");
    AddShape(u"мир и дом");
    struct Case {
        const char* what;
        int object; // in the body's list: 0 the table, 1 the shape
        CCellPos current, rangeEnd;
        std::vector<const char*> texts; // (0, 0), (0, 1), (1, 0), the shape
    };
    const Case cases[] = {
        {"the shape", 1, {0, 0}, {0, 0}, {"жук", "кот", "лес", "МИР И ДОМ"}},
        {"the first row", 0, {0, 0}, {0, 1}, {"ЖУК", "КОТ", "лес", "мир и дом"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        // Undo replaces the objects: they are looked up afresh.
        auto texts = [&] {
            const CTableGrid& grid = *static_cast<CTableObject*>(body().GetObject(0))->GetGrid();
            const auto* shape = static_cast<CTextShapeObject*>(body().GetObject(1));
            return std::vector<std::string>{plat::Utf16ToUtf8(TextOf(*grid.GetCell(0, 0))),
                                            plat::Utf16ToUtf8(TextOf(*grid.GetCell(0, 1))),
                                            plat::Utf16ToUtf8(TextOf(*grid.GetCell(1, 0))),
                                            plat::Utf16ToUtf8(TextOf(*shape->GetFrame()))};
        };
        const std::vector<std::string> before = texts();
        body().DeselectAll();
        body().GetObject(c.object)->SetSelected(true);
        state().SetFocusObject(nullptr);
        state().m_currentCell = c.current;
        state().m_rangeEndCell = c.rangeEnd;
        ASSERT_TRUE(doc.CanRussianConvert());
        ASSERT_EQ(doc.RussianConvert(kCyrillicUpper), 1);
        EXPECT_EQ(texts(), std::vector<std::string>(c.texts.begin(), c.texts.end()));
        doc.EditUndo();
        EXPECT_EQ(texts(), before);
    }
}

} // namespace
