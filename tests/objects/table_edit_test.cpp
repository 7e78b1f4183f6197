// Editing a table in a document: the keys through the table object's slots, the mouse
// zones, a boundary drag with its feedback line, the clipboard's cell blocks, and the
// walks that reach the cells' text.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <functional>
#include <string>

#include "document/doc_body.h"
#include "document/doc_view.h"
#include "document/find_state.h"
#include "document/render_context.h"
#include "document/statistics.h"
#include "document/text_flow.h"
#include "objects/point_list.h"
#include "platform/file/archive.h"
#include "platform/file/file.h"
#include "platform/ui/message_box.h"
#include "platform/ui/modal.h"
#include "platform/ui/dialog.h"
#include "resources/res_dialogs.h"
#include "tests/objects/table_support.h"
#include "tests/support/pixel_probe.h"

using namespace tabletest;

namespace {

class TableEditing : public TableTest {
protected:
    void SetCaret(CCellPos slot, int index)
    {
        Select(slot);
        CTableCell* cell = Grid().GetCellAt(slot);
        cell->SetCaret(CTextPos(index, cell->GetName()));
        Grid().ActivateCurrentCell();
    }
    CTextFlow* Focus() const { return State().GetFocusObject(); }
};

// ---- keys ----

enum class Key { kTab, kShiftTab, kLeft, kRight, kUp, kDown, kShiftLeft, kShiftRight };

void Press(CTableObject& t, Key key)
{
    switch (key) {
    case Key::kTab: t.OnKeyTab(false); break;
    case Key::kShiftTab: t.OnKeyTab(true); break;
    case Key::kLeft: t.OnKeyLeft(false); break;
    case Key::kRight: t.OnKeyRight(false); break;
    case Key::kUp: t.OnKeyUp(false); break;
    case Key::kDown: t.OnKeyDown(false); break;
    case Key::kShiftLeft: t.OnKeyLeft(true); break;
    case Key::kShiftRight: t.OnKeyRight(true); break;
    }
}

TEST_F(TableEditing, KeysLeaveACellOnlyAtItsTextsEdgesAndShiftSelectsARange)
{
    // 3 x 3; (0, 0)-(0, 1) one merged cell; (1, 0) holds "ab".
    struct Case {
        const char* what;
        CCellPos start;
        int caret;
        std::vector<Key> keys;
        CCellPos current, rangeEnd;
        int caretAfter; // -1: the cell's end; -2: not checked
        bool range;
    };
    const Case cases[] = {
        {"Tab from the merged cell goes past its span", {0, 0}, 0, {Key::kTab}, {0, 2}, {0, 2}, 0, false},
        {"Tab in the last cell stays", {2, 2}, 0, {Key::kTab}, {2, 2}, {2, 2}, 0, false},
        {"Shift+Tab in the first cell stays", {0, 0}, 0, {Key::kShiftTab}, {0, 0}, {0, 0}, 0, false},
        {"Shift+Tab wraps to the row above", {1, 0}, 0, {Key::kShiftTab}, {0, 2}, {0, 2}, 0, false},
        {"Right inside the text moves the caret", {1, 0}, 0, {Key::kRight}, {1, 0}, {1, 0}, 1, false},
        {"Right at the text's end enters the next cell", {1, 0}, 2, {Key::kRight}, {1, 1}, {1, 1}, 0, false},
        {"Left at the start wraps to the row above's end", {1, 0}, 0, {Key::kLeft}, {0, 2}, {0, 2}, -1, false},
        {"Left inside the text moves the caret", {1, 0}, 2, {Key::kLeft}, {1, 0}, {1, 0}, 1, false},
        {"Up in the first row goes to the column before", {0, 2}, 0, {Key::kUp}, {2, 1}, {2, 1}, -1, false},
        {"Down in the last cell stays", {2, 2}, 0, {Key::kDown}, {2, 2}, {2, 2}, 0, false},
        {"Down from the merged cell", {0, 0}, 0, {Key::kDown}, {1, 0}, {1, 0}, 0, false},
        {"Shift+Right at the end selects two cells", {1, 0}, 2, {Key::kShiftRight}, {1, 1}, {1, 0}, -2, true},
        {"Shift+Left collapses the range again", {1, 0}, 2, {Key::kShiftRight, Key::kShiftLeft}, {1, 0}, {1, 0}, -2,
         false},
        {"a plain arrow collapses a range onto the target", {1, 0}, 2, {Key::kShiftRight, Key::kShiftRight, Key::kDown},
         {2, 2}, {2, 2}, 0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TableTest::table = std::make_unique<CTableObject>(&doc, nullptr);
        doc.GetBody()->DeselectAll();
        while (doc.GetBody()->GetObjectCount() > 0) doc.GetBody()->RemoveObject(doc.GetBody()->GetObject(0));
        CTableObject& t = AddTable(3, 3);
        MergeRange(CCellPos(0, 0), CCellPos(0, 1));
        Type(1, 0, u"ab");
        SetCaret(c.start, c.caret);
        for (Key k : c.keys) Press(t, k);
        EXPECT_EQ(State().m_currentCell, c.current);
        EXPECT_EQ(State().m_rangeEndCell, c.rangeEnd);
        EXPECT_EQ(t.IsEditingText(), !c.range);
        if (c.range) {
            EXPECT_EQ(Focus(), nullptr) << "a range shows no caret";
            continue;
        }
        CTableCell* cell = Grid().GetCellAt(c.current);
        EXPECT_EQ(Focus(), cell);
        if (c.caretAfter == -1) {
            EXPECT_EQ(cell->GetCaretPos().m_index, cell->GetCount() - 1);
        } else if (c.caretAfter >= 0) {
            EXPECT_EQ(cell->GetCaretPos().m_index, c.caretAfter);
        }
    }
}

TEST_F(TableEditing, ARangeIsPaintedInvertedWithoutACaret)
{
    CTableObject& t = AddTable(2, 2);
    t.m_bounds = plat::Rect(0, 0, t.m_width, t.m_height);
    Select(CCellPos(0, 1), CCellPos(0, 0));
    State().SetFocusObject(nullptr);
    testsupport::Canvas canvas(160, 80);
    t.DrawSelection(canvas.dc, 1.0, 0, 0);
    // 15 twips a pixel: row 0 is y 7..34, the cells x 7..67 and 67..127; inverted white is black.
    using testsupport::InkOn;
    EXPECT_GT(InkOn(*canvas.bitmap, plat::Rect(20, 12, 60, 30)).count, 600) << "cell (0, 0)";
    EXPECT_GT(InkOn(*canvas.bitmap, plat::Rect(80, 12, 120, 30)).count, 600) << "cell (0, 1)";
    EXPECT_EQ(InkOn(*canvas.bitmap, plat::Rect(20, 40, 120, 55)).count, 0) << "row 1 is not selected";
}

// ---- mouse ----

TEST_F(TableEditing, ZonesAroundAndInsideATableWithMergedCells)
{
    // 3 x 2, 900 x 400 cells: (0, 0)-(1, 0) and (1, 1)-(2, 1) merged, so no cell lies in
    // row 1 alone and row boundary 2 cannot be dragged. W = 2010, H = 1410; rows end at
    // 505, 905, 1305; columns at 1005 and 1905.
    AddTable(3, 2);
    MergeRange(CCellPos(0, 0), CCellPos(1, 0));
    MergeRange(CCellPos(1, 1), CCellPos(2, 1));
    ASSERT_EQ(Grid().GetRows(), 3) << "the grid keeps its rows";
    struct Case {
        int x, y;
        std::uint8_t zone;
    };
    const Case cases[] = {
        {50, 700, '1'},   {104, 700, '1'},  {105, 700, '7'},  {1960, 700, '2'}, {500, 50, '3'},
        {500, 1360, '4'}, {50, 50, 0},      {1960, 1360, 0},  {50, 105, 0},     {500, 300, '7'},
        {500, 520, '5'},  {500, 446, '5'},  {500, 445, '7'},  {500, 935, '7'},  {1500, 900, '7'},
        {500, 1285, '5'}, {1020, 300, '6'}, {1020, 1100, '6'}, {1880, 300, '6'}, {135, 300, '7'},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Grid().GetZone(c.x, c.y), c.zone) << "(" << c.x << ", " << c.y << ")";
}

TEST_F(TableEditing, MarginPressesSelectRowsAndColumnsAndADragExtendsThem)
{
    CTableObject& t = AddTable(6, 3);
    const int left = t.m_bounds.left, top = t.m_bounds.top;
    // Row 3 spans y 1305..1705 (table-local).
    CPointList handles;
    State().m_tableZone = t.BeginTrack(left + 50, top + 1400, false, handles);
    EXPECT_EQ(State().m_tableZone, '1');
    EXPECT_EQ(State().m_currentCell, CCellPos(3, 0));
    EXPECT_EQ(State().m_rangeEndCell, CCellPos(3, 2));
    t.TrackTo(left + 50, top + 2200); // row 5
    t.EndTrack(left + 50, top + 2200);
    CCellPos a, b;
    Grid().GetSelRange(a, b);
    EXPECT_EQ(a, CCellPos(3, 0));
    EXPECT_EQ(b, CCellPos(5, 2));
    EXPECT_EQ(Focus(), nullptr);
    EXPECT_EQ(t.CanCopyText(), 4);

    // The handle square selects every cell; the whole table copies as the object.
    State().m_tableZone = t.BeginTrack(left - 40, top + 40, false, handles);
    EXPECT_EQ(State().m_tableZone, 26);
    EXPECT_EQ(t.CanCopyText(), 2);
    // A press inside a cell places the caret there.
    State().m_tableZone = t.BeginTrack(left + 1400, top + 700, false, handles);
    EXPECT_EQ(State().m_tableZone, '7');
    EXPECT_EQ(State().m_currentCell, CCellPos(1, 1));
    EXPECT_EQ(Focus(), Grid().GetCell(1, 1));
}

TEST_F(TableEditing, ARowBoundaryDragShowsADottedGreyLineAndChangesTheGridOnRelease)
{
    CTableObject& t = AddTable(2, 2);
    t.m_bounds = plat::Rect(0, 0, t.m_width, t.m_height);
    const int height = t.m_height;
    CPointList handles;
    State().m_tableZone = t.BeginTrack(500, 510, false, handles); // boundary 1 at 505
    ASSERT_EQ(State().m_tableZone, '5');
    State().m_dragActive = 1;
    t.TrackTo(500, 1100);
    EXPECT_EQ(Grid().GetTotalHeight(), height) << "nothing changes while dragging";
    EXPECT_EQ(Grid().GetCell(0, 0)->m_cellHeight, 400);

    testsupport::Canvas canvas(200, 120);
    t.DrawSelection(canvas.dc, 1.0, 0, 0);
    // 1100 twips is pixel row 73: a dotted grey line across the canvas, beyond the table.
    int grey = 0, gaps = 0;
    for (int x = 0; x < 200; ++x) {
        const plat::ColorRef c = canvas.bitmap->GetPixel(x, 73);
        if (c == 0x808080) ++grey;
        else if (c == 0xFFFFFF) ++gaps;
    }
    EXPECT_GT(grey, 80);
    EXPECT_GT(gaps, 80) << "dotted, not solid";
    State().m_dragActive = 0;

    t.EndTrack(500, 1100);
    EXPECT_EQ(Grid().GetCell(0, 0)->m_cellHeight, 1100 - 105);
    EXPECT_EQ(t.m_height, height + (1100 - 505));
    EXPECT_TRUE(GridIsSound(Grid()));
}

TEST_F(TableEditing, AColumnBoundaryNeverGetsNarrowerThanItsWidestContent)
{
    CTableObject& t = AddTable(2, 2);
    t.m_bounds = plat::Rect(0, 0, t.m_width, t.m_height);
    Type(1, 0, u"wide text");
    const int need = Grid().GetCell(1, 0)->GetContentExtent().cx + kCellPadding;
    CPointList handles;
    State().m_tableZone = t.BeginTrack(1010, 300, false, handles); // boundary 1 at 1005
    ASSERT_EQ(State().m_tableZone, '6');
    t.TrackTo(200, 300);
    t.EndTrack(200, 300);
    EXPECT_EQ(Grid().GetCell(0, 0)->m_cellWidth, need);
    EXPECT_EQ(Grid().GetCell(1, 0)->m_cellWidth, need);
    EXPECT_EQ(t.m_width, Grid().GetTotalWidth());
}

// ---- the clipboard's cell blocks ----

struct BlockHead {
    int kind, rows, columns;
};

BlockHead HeadOf(const std::vector<std::uint8_t>& block)
{
    plat::MemFile mem(block);
    plat::Archive ar(mem, plat::Archive::kLoad);
    BlockHead h{};
    h.kind = ar.ReadU8();
    h.rows = ar.ReadI32();
    h.columns = ar.ReadI32();
    return h;
}

TEST_F(TableEditing, CopyingABlockAndPastingItAtTheCornerReplacesOnlyThatCell)
{
    CTableObject& t = AddTable(4, 4);
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) Type(r, c, plat::Utf8ToUtf16(std::to_string(r) + std::to_string(c)));
    Select(CCellPos(1, 1), CCellPos(2, 2));
    ASSERT_EQ(t.CanCopyText(), 4);
    const std::vector<std::uint8_t> block = t.CopyCells();
    const BlockHead h = HeadOf(block);
    EXPECT_EQ(h.kind, 1);
    EXPECT_EQ(h.rows, 2);
    EXPECT_EQ(h.columns, 2);

    ASSERT_TRUE(doc.EditCopy());
    Select(CCellPos(3, 3));
    Grid().ActivateCurrentCell();
    ASSERT_TRUE(doc.EditPaste());
    EXPECT_EQ(Text(*Grid().GetCell(3, 3)), u"11");
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c)
            if (r != 3 || c != 3) {
                EXPECT_EQ(Text(*Grid().GetCell(r, c)), plat::Utf8ToUtf16(std::to_string(r) + std::to_string(c)));
            }
    doc.EditUndo();
    EXPECT_EQ(Text(*static_cast<CTableObject*>(doc.GetBody()->GetObject(0))->GetGrid()->GetCell(3, 3)), u"33");
}

TEST_F(TableEditing, WholeRowsPasteAsNewRowsBelowTheCurrentOneAndStaySelected)
{
    CTableObject& t = AddTable(3, 2);
    Type(1, 0, u"a");
    Type(2, 1, u"b");
    Select(CCellPos(1, 0), CCellPos(1, 1));
    const std::vector<std::uint8_t> rows = t.CopyCells();
    EXPECT_EQ(HeadOf(rows).kind, 2) << "every column, not every row";

    Select(CCellPos(0, 0));
    const int height = t.m_height;
    ASSERT_TRUE(t.CanPasteCells(rows));
    t.PasteCells(rows);
    EXPECT_EQ(Grid().GetRows(), 4);
    EXPECT_EQ(Text(*Grid().GetCell(1, 0)), u"a");
    EXPECT_EQ(Text(*Grid().GetCell(2, 0)), u"a") << "the old row 1 moved down";
    CCellPos a, b;
    Grid().GetSelRange(a, b);
    EXPECT_EQ(a, CCellPos(1, 0));
    EXPECT_EQ(b, CCellPos(1, 1));
    EXPECT_EQ(Focus(), nullptr);
    EXPECT_EQ(t.m_height, height + 400);
    EXPECT_TRUE(GridIsSound(Grid()));
}

TEST_F(TableEditing, AWholeColumnPastedIntoATableOf19ColumnsPastesNothing)
{
    CTableObject& t = AddTable(2, 19);
    Type(0, 0, u"x");
    Select(CCellPos(0, 0), CCellPos(1, 0));
    const std::vector<std::uint8_t> column = t.CopyCells();
    ASSERT_EQ(HeadOf(column).kind, 3);
    Select(CCellPos(0, 5));
    t.PasteCells(column);
    EXPECT_EQ(Grid().GetColumns(), 19);
    EXPECT_EQ(Text(*Grid().GetCell(0, 5)), u"");
}

// Blocks any program could have written: each is refused whole, the document unchanged.
TEST_F(TableEditing, ACorruptCellBlockIsRefusedWithTheDocumentUnchanged)
{
    CTableObject& t = AddTable(3, 3);
    Type(0, 0, u"keep");
    Select(CCellPos(0, 0), CCellPos(1, 1));
    const std::vector<std::uint8_t> good = t.CopyCells();
    auto with = [&](std::function<void(std::vector<std::uint8_t>&)> change) {
        std::vector<std::uint8_t> b = good;
        change(b);
        return b;
    };
    auto setI32 = [](std::vector<std::uint8_t>& b, size_t at, std::int32_t v) {
        for (int k = 0; k < 4; ++k) b[at + static_cast<size_t>(k)] = static_cast<std::uint8_t>(v >> (8 * k));
    };
    const struct {
        const char* what;
        std::vector<std::uint8_t> block;
    } cases[] = {
        {"empty", {}},
        {"kind 0", with([](auto& b) { b[0] = 0; })},
        {"kind 4", with([](auto& b) { b[0] = 4; })},
        {"61 rows", with([&](auto& b) { setI32(b, 1, 61); })},
        {"no columns", with([&](auto& b) { setI32(b, 5, 0); })},
        {"negative rows", with([&](auto& b) { setI32(b, 1, -1); })},
        {"more records than written", with([&](auto& b) { setI32(b, 1, 3); })},
        {"cut in the last record", with([](auto& b) { b.resize(b.size() - 3); })},
    };
    // QUILN_CELL_BLOCK_SEEDS names a folder for the fuzz target's seeds: the good block
    // and two of the corrupt ones, each after the byte that picks the paste slot.
    if (const char* seeds = std::getenv("QUILN_CELL_BLOCK_SEEDS")) {
        auto write = [&](const char* name, std::uint8_t slot, const std::vector<std::uint8_t>& b) {
            std::ofstream out(std::string(seeds) + "/" + name, std::ios::binary);
            out.put(static_cast<char>(slot));
            out.write(reinterpret_cast<const char*>(b.data()), static_cast<std::streamsize>(b.size()));
        };
        write("block_2x2_at_3_3", 0x0F, good);
        write("block_2x2_at_0_0", 0x00, good);
        write("block_kind_4", 0x05, cases[2].block);
        write("block_cut", 0x05, cases[7].block);
    }
    Select(CCellPos(0, 0));
    Grid().ActivateCurrentCell();
    doc.SetModified(false);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_FALSE(t.CanPasteCells(c.block));
        plat::MemFile mem;
        {
            plat::Archive ar(mem, plat::Archive::kStore);
            ar.WriteI32(0);
            if (!c.block.empty()) ar.Write(c.block.data(), c.block.size());
            ar.Close();
        }
        CDocView& view = *doc.GetView();
        ASSERT_TRUE(view.OpenClipboard());
        view.EmptyClipboard();
        ASSERT_TRUE(view.SetClipboardData(kUnitClipboardFormat, mem.Detach()));
        view.CloseClipboard();
        EXPECT_FALSE(doc.EditPaste());
        EXPECT_FALSE(doc.IsModified());
        EXPECT_FALSE(doc.CanUndo());
        EXPECT_EQ(Text(*Grid().GetCell(0, 0)), u"keep");
        EXPECT_EQ(Grid().GetRows(), 3);
    }
    EXPECT_TRUE(t.CanPasteCells(good));
}

// ---- walks over the cells ----

TEST_F(TableEditing, StatisticsAndConversionReachTheCellsText)
{
    CTableObject& t = AddTable(2, 2);
    Type(0, 0, u"ab");
    Type(1, 1, u"cd ef");
    Type(1, 0, u"Жук");
    EXPECT_TRUE(t.HasText());
    CStatistics stats;
    doc.GetBody()->CountStatistics(stats);
    EXPECT_EQ(stats[CStatistics::kTables], 1);
    EXPECT_EQ(stats[CStatistics::kLetters], 6);
    EXPECT_EQ(stats[CStatistics::kWords], 3);

    Select(CCellPos(1, 0));
    t.ConvertCyrillic(kCyrillicUpper);
    EXPECT_EQ(Text(*Grid().GetCell(1, 0)), u"ЖУК");
    EXPECT_EQ(Text(*Grid().GetCell(0, 0)), u"ab") << "only the selected cells convert";
}

} // namespace

namespace {

// ---- the document's table commands ----

TEST_F(TableEditing, WithARangeInsertAndDeleteAreOffAndMergeFollowsTheGrid)
{
    AddTable(3, 3);
    struct Case {
        const char* what;
        CCellPos current, rangeEnd;
        bool insertDelete, merge;
    };
    const Case cases[] = {
        {"one cell", {1, 1}, {1, 1}, true, false},
        {"a 2 x 2 range", {0, 0}, {1, 1}, false, true},
        {"a row", {2, 0}, {2, 2}, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Select(c.current, c.rangeEnd);
        EXPECT_EQ(doc.CanTableInsertRow(), c.insertDelete);
        EXPECT_EQ(doc.CanTableInsertCol(), c.insertDelete);
        EXPECT_EQ(doc.CanTableDeleteRow(), c.insertDelete);
        EXPECT_EQ(doc.CanTableDeleteCol(), c.insertDelete);
        EXPECT_EQ(doc.CanTableMerge(), c.merge);
    }
}

TEST_F(TableEditing, InsertingARowGrowsTheTableAndTheTextFlowsBelowIt)
{
    // Enough paragraphs to run past the table, so some must flow below it.
    for (int i = 0; i < 40; ++i) doc.InsertChar(u'\r');
    CTableObject& t = AddTable(2, 2);
    t.m_wrapMode = kWrapNone;
    doc.GetBody()->BuildPageRegions();
    doc.GetBody()->RelayoutWhole();
    const int height = t.m_height;
    Select(CCellPos(0, 0));
    ASSERT_TRUE(doc.TableInsertRow());
    EXPECT_EQ(t.m_height, height + kDefaultRowHeight);
    EXPECT_EQ(t.m_bounds.bottom - t.m_bounds.top, t.m_height);
    // No line of the body's text crosses the grown table.
    CDocBody& body = *doc.GetBody();
    ASSERT_GT(body.GetItem(body.GetCount() - 1)->GetTop(), t.m_bounds.bottom) << "text below the table";
    for (int i = 0; i < body.GetCount(); ++i) {
        const CTextItem* item = body.GetItem(i);
        const bool crosses = item->GetTop() < t.m_bounds.bottom && item->GetTop() + item->GetHeight() > t.m_bounds.top;
        EXPECT_FALSE(crosses) << "item " << i << " at " << item->GetTop();
    }
    doc.EditUndo();
    auto* back = static_cast<CTableObject*>(doc.GetBody()->GetObject(0));
    EXPECT_EQ(back->GetGrid()->GetRows(), 2);
    EXPECT_EQ(back->m_height, height);
}

TEST_F(TableEditing, VerticalAlignmentOnARangeChangesAMergedBlockOnce)
{
    AddTable(3, 3);
    MergeRange(CCellPos(0, 0), CCellPos(1, 1));
    CTableCell* block = Grid().GetCell(0, 0);
    // Taller than its text, so each alignment puts the text somewhere else.
    const int top = block->m_y;
    Select(CCellPos(0, 0), CCellPos(2, 2));
    ASSERT_TRUE(doc.SetTableUDFormat(kAlignBottom));
    EXPECT_EQ(doc.GetTableUDFormat(), kAlignBottom);
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c) EXPECT_EQ(Grid().GetCell(r, c)->m_verticalAlign, kAlignBottom);
    EXPECT_EQ(block->m_textY, top + 40 + (block->m_cellHeight - 80 - block->m_textHeight));
    // A single cell outside the block.
    Select(CCellPos(2, 2));
    ASSERT_TRUE(doc.SetTableUDFormat(kAlignTop));
    EXPECT_EQ(Grid().GetCell(2, 2)->m_verticalAlign, kAlignTop);
    EXPECT_EQ(block->m_verticalAlign, kAlignBottom);
    EXPECT_FALSE(doc.SetTableUDFormat(5));
    EXPECT_EQ(doc.GetTableUDFormat(), kAlignTop);
    doc.EditUndo();
    auto* back = static_cast<CTableObject*>(doc.GetBody()->GetObject(0));
    EXPECT_EQ(back->GetGrid()->GetCell(2, 2)->m_verticalAlign, kAlignBottom);
}

} // namespace

namespace {

TEST_F(TableEditing, FindGoesFromTheBodyIntoATableAndOutAgain)
{
    for (char16_t ch : std::u16string(u"abc\r")) doc.InsertChar(ch);
    CTableObject& t = AddTable(2, 2);
    Type(1, 1, u"x abc");
    t.SetSelected(false);
    State().SetFocusObject(doc.GetBody());
    doc.GetBody()->SetCaret(doc.GetBody()->GetStartPos());
    CFindState state;
    state.m_findText = u"abc";
    doc.GetFindStart(state);
    ASSERT_EQ(doc.FindNext(state), 1);
    EXPECT_EQ(Focus(), doc.GetBody());
    ASSERT_EQ(doc.FindNext(state), 1);
    EXPECT_TRUE(t.IsSelected());
    EXPECT_EQ(State().m_currentCell, CCellPos(1, 1));
    CTableCell* cell = Grid().GetCell(1, 1);
    EXPECT_EQ(Focus(), cell);
    EXPECT_EQ(cell->GetCaretPos().m_index, 5);
    // At the end the search asks, and from the start it finds the body's text again.
    plat::AnswerNextModal(plat::kIdYes);
    ASSERT_EQ(doc.FindNext(state), 1);
    EXPECT_EQ(Focus(), doc.GetBody());
    EXPECT_FALSE(t.IsSelected());
}

} // namespace

namespace {

TEST_F(TableEditing, PropertiesSetTheCaptionAndWrapAsOneUndoStepCancelChangesNothing)
{
    CTableObject& t = AddTable(2, 2);
    doc.SetModified(false);
    auto answer = [](int result) {
        plat::AnswerNextModal([result](const plat::ModalRecord& run) -> std::optional<int> {
            plat::Dialog* d = plat::DialogOf(run);
            if (!d) return plat::kIdCancel;
            d->PressButton(kIdcTableWrapNone + 3);
            d->SetDlgItemText(kIdcTableNote, u"表一");
            return result;
        });
    };
    answer(plat::kIdCancel);
    EXPECT_EQ(t.ShowProperties(), 0);
    EXPECT_EQ(t.m_wrapMode, kWrapNone);
    EXPECT_TRUE(t.GetCaption().empty());
    EXPECT_FALSE(doc.IsModified());
    answer(plat::kIdOk);
    EXPECT_EQ(t.ShowProperties(), 1);
    EXPECT_EQ(t.m_wrapMode, kWrapBoth);
    EXPECT_EQ(t.GetCaption(), u"表一");
    EXPECT_TRUE(doc.IsModified());
    doc.EditUndo();
    EXPECT_EQ(doc.GetBody()->GetObject(0)->m_wrapMode, kWrapNone);
    EXPECT_TRUE(doc.GetBody()->GetObject(0)->GetCaption().empty());
}

} // namespace
