// Undo and redo by snapshots, each state compared through the layout dump.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "document/undo_stack.h"
#include "tests/document/page_body_support.h"

namespace {

using pagebody::BodyTest;

class UndoTest : public BodyTest {
protected:
    void SetUp() override
    {
        BodyTest::SetUp();
        // Seven paragraphs, so that a range of five around an edit leaves text outside it.
        Append(u"alpha\rbravo\rcharlie\rdelta\recho\rfoxtrot\rgolf");
    }

    // The content: layout, text and zoom (the caret is where the edit put it; the
    // snapshot keeps it where the edit began).
    std::string State()
    {
        return DumpLayout(body()) + plat::Utf16ToUtf8(body().GetText(0, body().GetCount())) + "\nzoom " +
               std::to_string(doc.GetZoom()) + "\n";
    }
    std::pair<int, int> CaretAnchor() const
    {
        CTextPos caret, anchor;
        body().GetSelectionPositions(caret, anchor);
        return {caret.m_index, anchor.m_index};
    }
    // An edit as the commands make one: push, then type at the caret.
    void Type(int at, const std::u16string& text)
    {
        Caret(at);
        doc.PushUndoState();
        body().InsertItemsAtCaret(text);
        body().RelayoutWhole();
    }
};

TEST_F(UndoTest, EmptyStackOffersNothing)
{
    const std::string before = State();
    EXPECT_FALSE(doc.CanUndo());
    EXPECT_FALSE(doc.CanRedo());
    doc.EditUndo();
    doc.EditRedo();
    EXPECT_EQ(State(), before);
    EXPECT_FALSE(doc.IsModified());
}

TEST_F(UndoTest, EditUndoRedo)
{
    const std::string original = State();
    const int at = IndexOf(u'h');
    Type(at, u"XYZ");
    const std::string edited = State();
    const std::pair<int, int> editedCaret = CaretAnchor();
    ASSERT_NE(edited, original);
    ASSERT_TRUE(doc.CanUndo());
    EXPECT_FALSE(doc.CanRedo());

    doc.EditUndo();
    EXPECT_EQ(State(), original);
    EXPECT_EQ(CaretAnchor(), std::make_pair(at, at)); // where the edit began
    EXPECT_EQ(doc.GetFormatState()->GetFocusObject(), &body());
    EXPECT_TRUE(doc.IsModified());
    EXPECT_FALSE(doc.CanUndo());
    ASSERT_TRUE(doc.CanRedo());

    doc.EditRedo();
    EXPECT_EQ(State(), edited);
    EXPECT_EQ(CaretAnchor(), editedCaret);
    EXPECT_FALSE(doc.CanRedo()); // a second Redo is not offered
    ExpectSound();

    // And back and forth again from the same slots.
    doc.EditUndo();
    EXPECT_EQ(State(), original);
    doc.EditRedo();
    EXPECT_EQ(State(), edited);
}

TEST_F(UndoTest, EditsAtEitherEndOfTheBody)
{
    // The range reaches item 0 and the final paragraph end; the text outside stays.
    for (int at : {0, body().GetCount() - 1}) {
        SCOPED_TRACE(at);
        const std::string original = State();
        Type(at, u"Q\rR");
        const std::string edited = State();
        doc.EditUndo();
        EXPECT_EQ(State(), original);
        doc.EditRedo();
        EXPECT_EQ(State(), edited);
        ExpectSound();
    }
}

TEST_F(UndoTest, NewEditDiscardsTheRedoBranch)
{
    const std::string original = State();
    Type(IndexOf(u'r'), u"1");
    const std::string first = State();
    Type(IndexOf(u'e', 1), u"2");
    doc.EditUndo();
    EXPECT_EQ(State(), first);
    ASSERT_TRUE(doc.CanRedo());

    Type(IndexOf(u'x'), u"3");
    const std::string third = State();
    EXPECT_FALSE(doc.CanRedo());
    doc.EditRedo();
    EXPECT_EQ(State(), third);

    doc.EditUndo();
    EXPECT_EQ(State(), first);
    doc.EditUndo();
    EXPECT_EQ(State(), original);
    EXPECT_FALSE(doc.CanUndo());
    doc.EditRedo();
    doc.EditRedo();
    EXPECT_EQ(State(), third);
    EXPECT_FALSE(doc.CanRedo());
}

TEST_F(UndoTest, UndoBringsBackADeletedObject)
{
    AddObject(plat::Rect(1000, 900, 2000, 1500), kWrapBoth, 1);
    CFloatObject* second = AddObject(plat::Rect(1200, 1700, 2600, 2300), kWrapBoth, 2);
    second->SetSelected(true);
    const std::string original = State();

    doc.PushUndoState();
    std::unique_ptr<CFloatObject> gone = body().RemoveObject(body().GetSelectedObject(0));
    ASSERT_TRUE(gone);
    gone.reset();
    body().BuildPageRegions();
    body().RelayoutWhole();
    const std::string deleted = State();
    ASSERT_EQ(body().GetObjectCount(), 1);

    doc.EditUndo();
    EXPECT_EQ(State(), original);
    ASSERT_EQ(body().GetObjectCount(), 2);
    EXPECT_EQ(static_cast<objtest::CTestObject*>(body().GetObject(1))->m_tag, 2);
    EXPECT_EQ(body().GetSelectedCount(), 1); // with its selection
    ExpectSound();

    doc.EditRedo();
    EXPECT_EQ(State(), deleted);
    EXPECT_EQ(body().GetObjectCount(), 1);
}

TEST_F(UndoTest, UndoRestoresTheZoom)
{
    doc.PushUndoState();
    doc.GetFormatState()->m_zoom = 1.5;
    body().InsertItemsAtCaret(u"z");
    body().RelayoutWhole();
    doc.EditUndo();
    EXPECT_DOUBLE_EQ(doc.GetZoom(), 1.0);
    doc.EditRedo();
    EXPECT_DOUBLE_EQ(doc.GetZoom(), 1.5);
}

TEST_F(UndoTest, DeepHistoryKeepsTheLastHundredSteps)
{
    // 130 edits: the 30 oldest are dropped, each of the 100 others undoes to the state
    // before it, and redo walks all the way back.
    constexpr int kEdits = 130;
    std::vector<std::string> states{State()};
    for (int i = 0; i < kEdits; ++i) {
        Type(IndexOf(u'd') + 1, std::u16string(1, static_cast<char16_t>(u'a' + i % 26)));
        states.push_back(State());
    }
    EXPECT_EQ(doc.GetUndoStack().Count(), CUndoStack::kMaxUndo);

    int undone = 0;
    while (doc.CanUndo()) {
        doc.EditUndo();
        ++undone;
        ASSERT_EQ(State(), states[static_cast<size_t>(kEdits - undone)]) << "after undo " << undone;
    }
    EXPECT_EQ(undone, CUndoStack::kMaxUndo);

    int redone = 0;
    while (doc.CanRedo()) {
        doc.EditRedo();
        ++redone;
        ASSERT_EQ(State(), states[static_cast<size_t>(kEdits - undone + redone)]) << "after redo " << redone;
    }
    EXPECT_EQ(redone, CUndoStack::kMaxUndo);
}

TEST_F(UndoTest, ResetClearsTheStack)
{
    Type(3, u"x");
    doc.EditUndo();
    ASSERT_TRUE(doc.CanRedo());
    doc.Reset();
    EXPECT_FALSE(doc.CanUndo());
    EXPECT_FALSE(doc.CanRedo());
    EXPECT_EQ(doc.GetUndoStack().Count(), 0);
}

TEST_F(UndoTest, RangeAroundAnEdit)
{
    // Paragraph ends of "alpha" .. "golf" lie at 5, 11, 19, 25, 30, 38; the final one at 43.
    const int paraEnd[] = {5, 11, 19, 25, 30, 38};
    for (int e : paraEnd) ASSERT_TRUE(IsParaBreakType(Item(e).GetNodeType())) << e;
    auto endName = [&](int i) { return static_cast<const CParaEndItem&>(Item(i)).GetName(); };
    const int last = body().GetCount() - 1;
    struct Case {
        int at, start, end;
    } cases[] = {
        {0, 0, 19},     // first paragraph: from item 0
        {14, 0, 30},    // "charlie": fewer than three ends before it
        {27, 12, 43},   // "echo": from "bravo" to the final end
        {31, 20, 43},   // "foxtrot"
        {25, 6, 43},    // on a paragraph end: the third paragraph after it closes it
        {last, 26, 43}, // the last paragraph: up to the final end
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.at);
        EXPECT_EQ(undo_range::GetUndoRangeStart(body(), c.at), c.start);
        EXPECT_EQ(undo_range::GetUndoRangeEndName(body(), c.at), endName(c.end));
    }
}

// Snapshots are the document's own memory, but a damaged one must be refused whole.
TEST_F(UndoTest, DamagedSnapshotsAreRefusedWhole)
{
    AddObject(plat::Rect(1000, 900, 2000, 1500), kWrapBoth, 1);
    Select(IndexOf(u'c'), IndexOf(u'f'));
    plat::MemFile good;
    {
        plat::Archive ar(good, plat::Archive::kStore);
        undo_range::SaveUndoRange(body(), ar, -1, -1);
        ar.Flush();
    }
    const std::vector<std::uint8_t> bytes = good.Data();
    Type(IndexOf(u'h'), u"changed");
    const std::string before = State();

    auto tryRestore = [&](std::vector<std::uint8_t> data) {
        plat::MemFile file(std::move(data));
        plat::Archive ar(file, plat::Archive::kLoad);
        try {
            undo_range::RestoreUndoRange(body(), ar);
        } catch (const plat::ArchiveException&) {
            EXPECT_EQ(State(), before);
            return false;
        }
        return true;
    };
    int refused = 0;
    for (size_t n = 0; n < bytes.size(); ++n) {
        std::vector<std::uint8_t> cut(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(n));
        ASSERT_FALSE(tryRestore(cut)) << "truncated at " << n;
        ++refused;
    }
    EXPECT_GT(refused, 0);
    // Flipped bytes: refused, or a body that keeps one final paragraph end and lays out.
    // After each one that reads, the whole body record brings the common state back.
    plat::MemFile whole;
    {
        plat::Archive ar(whole, plat::Archive::kStore);
        body().Save(ar, kArchiveUndo);
        ar.Flush();
    }
    for (size_t n = 0; n < bytes.size(); n += 3) {
        std::vector<std::uint8_t> bad = bytes;
        bad[n] ^= 0xA5;
        if (!tryRestore(bad)) continue;
        ASSERT_GE(body().GetCount(), 1);
        EXPECT_EQ(body().GetItem(body().GetCount() - 1)->GetNodeType(), kItemFinalParaEnd);
        for (int i = 0; i < body().GetCount() - 1; ++i)
            ASSERT_NE(body().GetItem(i)->GetNodeType(), kItemFinalParaEnd) << "flip at " << n;
        whole.Seek(0, plat::Stream::kBegin);
        plat::Archive ar(whole, plat::Archive::kLoad);
        body().Load(ar, kArchiveUndo);
        ASSERT_EQ(State(), before) << "flip at " << n;
    }
}

TEST_F(UndoTest, DamagedSlotLeavesTheDocumentAsItWas)
{
    Type(IndexOf(u'h'), u"XYZ");
    const std::string edited = State();
    // The snapshot loses its tail (the format state with the zoom).
    plat::MemFile* slot = doc.GetUndoStack().At(0);
    ASSERT_NE(slot, nullptr);
    slot->SetLength(slot->GetLength() - 4);
    EXPECT_THROW(doc.EditUndo(), plat::ArchiveException);
    EXPECT_EQ(State(), edited);
    EXPECT_EQ(doc.GetFormatState()->GetFocusObject(), &body());
}

} // namespace
