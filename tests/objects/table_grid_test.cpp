// The table grid model, its record, the import's table building, the cells' text
// placement and clearing, and the layout rules that keep the cells' rectangles in step.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "document/text_item.h"
#include "platform/file/archive.h"
#include "platform/file/file.h"
#include "tests/objects/table_support.h"

using namespace tabletest;

namespace {

using GridModel = TableTest;

// Every slot of a loaded grid holds a cell that covers exactly its span.
bool GridIsSoundEnough(const CTableGrid& g)
{
    for (int r = 0; r < g.GetRows(); ++r)
        for (int c = 0; c < g.GetColumns(); ++c) {
            const CTableCell* q = g.GetCell(r, c);
            if (!q) return false;
            for (int sr = q->m_startRow; sr <= q->m_endRow; ++sr)
                for (int sc = q->m_startCol; sc <= q->m_endCol; ++sc)
                    if (sr >= g.GetRows() || sc >= g.GetColumns() || g.GetCell(sr, sc) != q) return false;
        }
    return g.GetRows() > 0;
}

std::vector<std::uint8_t> Record(CTableGrid& g, int mode)
{
    plat::MemFile mem;
    plat::Archive ar(mem, plat::Archive::kStore);
    g.Save(ar, mode);
    ar.Close();
    return mem.Detach();
}

TEST_F(GridModel, CreateMakesSingleSlotCellsOfTheDefaultSizeAndDefaultSegments)
{
    // Before any layout: the totals and rectangles Create gives.
    CTableGrid bare(&doc, nullptr);
    bare.Create(3, 4);
    EXPECT_EQ(bare.GetTotalWidth(), 3810);
    EXPECT_EQ(bare.GetTotalHeight(), 1410);
    const CTableCell* cell = bare.GetCell(2, 3);
    EXPECT_EQ(cell->GetRect(), plat::Rect(2805, 905, 2805 + 900, 905 + 400));
    EXPECT_EQ(cell->m_startRow, 2);
    EXPECT_EQ(cell->m_endCol, 3);
    EXPECT_EQ(bare.GetHorizontalLine(3, 3)->m_style, kLineThin);
    EXPECT_EQ(bare.GetVerticalLine(2, 4)->m_colour, kLineAutoColor);
    EXPECT_EQ(bare.GetHorizontalLine(4, 0), nullptr);
    EXPECT_TRUE(GridIsSound(bare));

    // Counts outside 1-60 x 1-20 make nothing.
    CTableGrid refused(&doc, nullptr);
    refused.Create(61, 3);
    refused.Create(3, 0);
    EXPECT_EQ(refused.GetRows(), 0);

    // Sixty rows use all 61 horizontal boundaries.
    CTableGrid tall(&doc, nullptr);
    tall.Create(60, 1);
    EXPECT_NE(tall.GetHorizontalLine(60, 0), nullptr);
    EXPECT_TRUE(GridIsSound(tall));
}

TEST_F(GridModel, TheObjectTakesTheGridsSize)
{
    Make(3, 4);
    EXPECT_EQ(table->m_width, 3810);
    EXPECT_EQ(table->m_height, 1410);
    EXPECT_EQ(Grid().GetTableObject(), table.get());
    EXPECT_EQ(table->GetTableGrid()->GetTotalSize(), plat::Size(3810, 1410));
}

// ---- the import's table building ----

TEST_F(GridModel, MergeRowCellsJoinsFlaggedColumnsIntoTheirLeftNeighbour)
{
    Make(2, 4);
    Type(0, 1, u"b");
    const std::uint8_t flags[] = {1, 1, 1, 0};
    Grid().MergeRowCells(0, flags);
    const CTableCell* merged = Grid().GetCell(0, 0);
    EXPECT_EQ(Grid().GetCell(0, 2), merged);
    EXPECT_NE(Grid().GetCell(0, 3), merged);
    EXPECT_EQ(merged->m_endCol, 2);
    EXPECT_EQ(merged->m_cellWidth, 3 * 900);
    // A flag on a column whose neighbour reaches into other rows is not acted on.
    CTableCell* up = Grid().SetCellOrMergeUp(1, 3, 0, 0, true);
    EXPECT_EQ(up, Grid().GetCell(0, 3));
    const std::uint8_t last[] = {0, 0, 0, 1};
    Grid().MergeRowCells(1, last);
    EXPECT_EQ(Grid().GetCell(1, 2)->m_endCol, 2);
    EXPECT_EQ(Grid().GetCell(1, 3), up);
}

TEST_F(GridModel, SetCellOrMergeUpStoresAlignmentsOrJoinsTheCellAbove)
{
    Make(3, 2);
    CTableCell* cell = Grid().SetCellOrMergeUp(1, 1, kAlignCentre, kAlignBottom, false);
    EXPECT_EQ(cell, Grid().GetCell(1, 1));
    EXPECT_EQ(cell->GetRunningParaFormat().m_align, kAlignCentre);
    EXPECT_EQ(cell->m_verticalAlign, kAlignBottom);

    CTableCell* upper = Grid().SetCellOrMergeUp(2, 1, 0, 0, true);
    EXPECT_EQ(upper, Grid().GetCell(1, 1));
    EXPECT_EQ(Grid().GetCell(2, 1), upper);
    EXPECT_EQ(upper->m_endRow, 2);
    EXPECT_EQ(upper->m_cellHeight, 800);
    // Row 0 has nothing above; a slot outside the grid is no cell.
    EXPECT_EQ(Grid().SetCellOrMergeUp(0, 0, 0, 0, true), Grid().GetCell(0, 0));
    EXPECT_EQ(Grid().SetCellOrMergeUp(3, 0, 0, 0, false), nullptr);
}

// ---- record ----

TEST_F(GridModel, TheRecordOfA2x2GridWithAMergedTopRow)
{
    Make(2, 2);
    Type(0, 0, u"top");
    const std::uint8_t flags[] = {0, 1};
    Grid().MergeRowCells(0, flags);
    const std::vector<std::uint8_t> bytes = Record(Grid(), kArchiveFile);
    // Totals, counts, 3 x 2 horizontal and 2 x 3 vertical segments of 8 bytes, then the
    // flag of slot (0, 0): nothing follows it.
    const size_t slots = 16 + (6 + 6) * 8;
    ASSERT_GT(bytes.size(), slots + 4);
    EXPECT_EQ(bytes[slots], 0);
    EXPECT_EQ(bytes[slots + 4], 1);

    int records = 0;
    for (int r = 0; r < 2; ++r)
        for (int c = 0; c < 2; ++c)
            if (Grid().GetCell(r, c)->m_endRow == r && Grid().GetCell(r, c)->m_endCol == c) ++records;
    EXPECT_EQ(records, 3);
}

TEST_F(GridModel, TheRecordRoundTripsInEveryMode)
{
    Make(3, 3);
    Type(0, 0, u"一二三");
    Type(2, 1, u"tail");
    Grid().GetHorizontalLine(3, 1)->m_style = kLineDash;
    Grid().GetVerticalLine(1, 0)->m_colour = 0x0000FF;
    Select(CCellPos(1, 1), CCellPos(2, 2));
    Grid().MergeCells();
    CTableCell* topRight = Grid().SetCellOrMergeUp(0, 2, kAlignRight, kAlignTop, false);
    topRight->SetPosition(topRight->m_x, topRight->m_y);
    // A file keeps no caret: every cell's caret is at its start, as after reading one.
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c) Grid().GetCell(r, c)->SetCaret(Grid().GetCell(r, c)->GetStartPos());
    for (int mode : {kArchiveFile, kArchiveUndo, kArchiveClipboard}) {
        const std::vector<std::uint8_t> first = Record(Grid(), mode);
        CTableGrid loaded(&doc, nullptr);
        plat::MemFile mem(first);
        plat::Archive ar(mem, plat::Archive::kLoad);
        loaded.Load(ar, mode);
        EXPECT_TRUE(GridIsSound(loaded)) << mode;
        EXPECT_EQ(loaded.GetCell(2, 2), loaded.GetCell(1, 1)) << mode;
        EXPECT_EQ(Text(*loaded.GetCell(0, 0)), u"一二三") << mode;
        EXPECT_EQ(loaded.GetHorizontalLine(3, 1)->m_style, kLineDash) << mode;
        if (mode != kArchiveClipboard) {
            EXPECT_EQ(Record(loaded, mode), first) << mode;
        }
    }
    // A file's record read into another document (inserting a file) gives the same grid.
    const std::vector<std::uint8_t> file = Record(Grid(), kArchiveFile);
    CTableGrid inserted(&doc, nullptr);
    plat::MemFile mem(file);
    plat::Archive ar(mem, plat::Archive::kLoad);
    inserted.Load(ar, kArchiveInsert);
    EXPECT_TRUE(GridIsSound(inserted));
    EXPECT_EQ(inserted.GetTotalSize(), Grid().GetTotalSize());
    EXPECT_EQ(Text(*inserted.GetCell(0, 0)), u"一二三");
}

// A valid 1 x 2 record, built field by field so that each case can spoil one field.
struct RecordSpec {
    std::int32_t rows = 1, columns = 2, totalWidth = 2010, totalHeight = 610;
    std::int32_t flag00 = 1, flag01 = 1;
    std::int32_t span00[4] = {0, 0, 0, 0};
    std::int32_t span01[4] = {0, 1, 0, 1};
    std::int32_t width00 = 900;
};

std::vector<std::uint8_t> BuildRecord(CQlDoc& doc, const RecordSpec& s)
{
    plat::MemFile mem;
    plat::Archive ar(mem, plat::Archive::kStore);
    ar.WriteI32(s.totalWidth);
    ar.WriteI32(s.totalHeight);
    ar.WriteI32(s.rows);
    ar.WriteI32(s.columns);
    const int rows = std::clamp(s.rows, 0, 2), columns = std::clamp(s.columns, 0, 3);
    for (int i = 0; i < (rows + 1) * columns + rows * (columns + 1); ++i) CBorderLine().Save(ar);
    CTableCell text(&doc, nullptr, 0, 0, 0, 0, 0, 0, 900, 400);
    auto cell = [&](std::int32_t flag, const std::int32_t span[4], int x, int width) {
        ar.WriteI32(flag);
        if (flag != 1) return;
        for (int i = 0; i < 4; ++i) ar.WriteI32(span[i]);
        for (int v : {x, 105, width, 400, x + 40, 145, width - 80, 320}) ar.WriteI32(v);
        ar.WriteU8(kAlignMiddle);
        text.CTextFrameObj::Save(ar, kArchiveFile);
    };
    cell(s.flag00, s.span00, 105, s.width00);
    cell(s.flag01, s.span01, 1005, 900);
    ar.Close();
    return mem.Detach();
}

TEST_F(GridModel, DamagedRecordsAreRefusedWhole)
{
    struct Case {
        const char* name;
        std::function<void(RecordSpec&)> spoil;
    };
    const Case cases[] = {
        {"sound", [](RecordSpec&) {}},
        {"no rows", [](RecordSpec& s) { s.rows = 0; }},
        {"61 rows", [](RecordSpec& s) { s.rows = 61; }},
        {"21 columns", [](RecordSpec& s) { s.columns = 21; }},
        {"negative total", [](RecordSpec& s) { s.totalWidth = -5; }},
        {"flag 2", [](RecordSpec& s) { s.flag00 = 2; }},
        {"slot left uncovered", [](RecordSpec& s) { s.flag00 = 0; }},
        {"cell written before its last slot", [](RecordSpec& s) { s.span00[3] = 1; }},
        {"span reaching outside", [](RecordSpec& s) { s.span00[0] = -1; }},
        {"overlapping cells", [](RecordSpec& s) { s.span01[1] = 0; }},
        {"negative width", [](RecordSpec& s) { s.width00 = -900; }},
    };
    for (const Case& c : cases) {
        RecordSpec spec;
        c.spoil(spec);
        const std::vector<std::uint8_t> bytes = BuildRecord(doc, spec);
        CTableGrid g(&doc, nullptr);
        plat::MemFile mem(bytes);
        plat::Archive ar(mem, plat::Archive::kLoad);
        const bool sound = std::string(c.name) == "sound";
        if (sound) {
            ASSERT_NO_THROW(g.Load(ar, kArchiveFile)) << c.name;
            EXPECT_TRUE(GridIsSound(g));
        } else {
            EXPECT_THROW(g.Load(ar, kArchiveFile), plat::ArchiveException) << c.name;
            EXPECT_EQ(g.GetRows(), 0) << c.name;
        }
    }
}

// ---- cells ----

TEST_F(GridModel, ANewCellsFrameIsTheCellLessItsPadding)
{
    Make(1, 1);
    const CTableCell* cell = Grid().GetCell(0, 0);
    EXPECT_EQ(cell->GetWidth(), 820);
    EXPECT_EQ(cell->GetHeight(), 320);
    EXPECT_EQ(cell->m_textX, cell->m_x + 40);
    EXPECT_EQ(cell->m_verticalAlign, kAlignMiddle);
    EXPECT_EQ(cell->GetRunningParaFormat().m_align, kAlignLeft);
    EXPECT_EQ(cell->GetRunningParaFormat().m_spacing, 1);
    EXPECT_EQ(cell->GetContentExtent().cx, 210);
}

TEST_F(GridModel, TextIsPlacedByTheCellsVerticalAlignment)
{
    Make(1, 1);
    CTableCell* cell = Grid().GetCell(0, 0);
    Type(0, 0, u"text");
    const int text = cell->m_textHeight;
    ASSERT_GT(text, 0);
    ASSERT_LT(text, 320);
    struct Case {
        std::uint8_t align;
        int height; // 0: exactly the text + 80
        int expectedOffset; // textY - y
    };
    const Case cases[] = {
        {kAlignTop, 400, 40},
        {kAlignMiddle, 400, 40 + (320 - text) / 2},
        {kAlignBottom, 400, 40 + 320 - text},
        {kAlignTop, 0, 40},
        {kAlignMiddle, 0, 40},
        {kAlignBottom, 0, 40},
        {kAlignBottom, 1000, 1000 - 40 - text},
    };
    for (const Case& c : cases) {
        cell->m_verticalAlign = c.align;
        cell->SetSize(900, c.height ? c.height : text + 80);
        EXPECT_EQ(cell->m_textY - cell->m_y, c.expectedOffset) << int(c.align) << " " << c.height;
        EXPECT_EQ(cell->m_textX - cell->m_x, 40);
    }
    // An alignment the cell does not know leaves the text where it was.
    const plat::Point before(cell->m_textX, cell->m_textY);
    cell->m_verticalAlign = 7;
    cell->SetPosition(cell->m_x + 100, cell->m_y);
    EXPECT_EQ(plat::Point(cell->m_textX, cell->m_textY), before);
}

TEST_F(GridModel, ClearingACellRemovesOwnTextAndMarksOtherAuthorsText)
{
    doc.GetAuthors().Append(0, u"");
    doc.GetAuthors().Append(5, u"甲");
    doc.GetAuthors().Append(7, u"乙");
    Make(1, 2);
    doc.SetCurAuthorIndex(2);
    Type(0, 0, u"mine\rtoo");
    doc.SetCurAuthorIndex(1);
    Type(0, 1, u"theirs");
    doc.SetCurAuthorIndex(2);

    CTableCell* own = Grid().GetCell(0, 0);
    own->ClearText();
    EXPECT_EQ(own->GetCount(), 1);
    EXPECT_EQ(own->GetItem(0)->GetNodeType(), kItemFinalParaEnd);

    CTableCell* other = Grid().GetCell(0, 1);
    other->ClearText();
    ASSERT_EQ(other->GetCount(), 7);
    for (int i = 0; i < 6; ++i) EXPECT_EQ(other->GetItem(i)->GetFormat().m_deletedBy, 2) << i;
    EXPECT_EQ(other->GetCaretPos().m_index, 0);
}

TEST_F(GridModel, CaretMovesInsideTheCell)
{
    Make(1, 1);
    CTableCell* cell = Grid().GetCell(0, 0);
    Type(0, 0, u"ab\rcd");
    cell->SetCaret(cell->GetStartPos());
    EXPECT_FALSE(cell->CanMoveLeft());
    EXPECT_TRUE(cell->CanMoveRight());
    EXPECT_FALSE(cell->CanMoveUp());
    EXPECT_TRUE(cell->CanMoveDown());
    cell->SetCaret(cell->GetEndPos());
    EXPECT_TRUE(cell->CanMoveLeft());
    EXPECT_FALSE(cell->CanMoveRight());
    EXPECT_TRUE(cell->CanMoveUp());
    EXPECT_FALSE(cell->CanMoveDown());
}

// ---- layout ----

// Paragraphs typed into a cell until its text is taller than the given height.
void TypeTallerThan(TableTest& t, CTableGrid& g, int row, int column, int height)
{
    while (g.GetCell(row, column)->m_textHeight <= height) {
        CTableCell* cell = g.GetCell(row, column);
        cell->SetCaret(cell->GetEndPos());
        cell->InsertItemsAtCaret(u"line\r");
        g.RelayoutCell(cell->m_startRow, cell->m_startCol, 0);
    }
    (void)t;
}

TEST_F(GridModel, CellsGrowToTheirTextAndCarryTheirRowAndColumn)
{
    struct Case {
        const char* name;
        std::function<void(TableTest&, CTableGrid&)> act;
        std::function<void(CTableGrid&)> check;
    };
    const Case cases[] = {
        {"short text keeps the row",
         [](TableTest& t, CTableGrid&) { t.Type(1, 1, u"x"); },
         [](CTableGrid& g) { EXPECT_EQ(g.GetRowHeights(), (std::vector<int>{400, 400, 400})); }},
        {"tall text heightens the whole row",
         [](TableTest& t, CTableGrid& g) { TypeTallerThan(t, g, 1, 1, 420); },
         [](CTableGrid& g) {
             const int need = g.GetCell(1, 1)->m_textHeight + 80;
             EXPECT_EQ(g.GetRowHeights()[1], need);
             for (int c = 0; c < 3; ++c) EXPECT_EQ(g.GetCell(1, c)->m_cellHeight, need) << c;
             EXPECT_EQ(g.GetCell(2, 0)->m_y, 105 + 400 + need);
         }},
        {"a narrow column widens to the narrowest content and moves the columns after it",
         [](TableTest&, CTableGrid& g) { g.Create(3, 3, std::vector<int>{100, 900, 900}); },
         [](CTableGrid& g) {
             EXPECT_EQ(g.GetColumnWidths(), (std::vector<int>{290, 900, 900}));
             EXPECT_EQ(g.GetCell(2, 1)->m_x, 105 + 290);
         }},
        {"deleting the text does not shrink the row",
         [](TableTest& t, CTableGrid& g) {
             TypeTallerThan(t, g, 1, 1, 420);
             g.GetCell(1, 1)->ClearText();
             g.RelayoutAll(0);
         },
         [](CTableGrid& g) { EXPECT_GT(g.GetRowHeights()[1], 500); }},
        {"forced relayout shrinks the row to what its cells still need",
         [](TableTest& t, CTableGrid& g) {
             TypeTallerThan(t, g, 1, 2, 420);
             TypeTallerThan(t, g, 1, 1, 1000);
             g.GetCell(1, 1)->ClearText();
             g.RelayoutAll(1);
         },
         [](CTableGrid& g) { EXPECT_EQ(g.GetRowHeights()[1], g.GetCell(1, 2)->m_textHeight + 80); }},
        {"dragging a row boundary up stops at the text of the row above",
         [](TableTest& t, CTableGrid& g) {
             TypeTallerThan(t, g, 0, 1, 420);
             g.MoveRowBoundary(0, 1);
         },
         [](CTableGrid& g) { EXPECT_EQ(g.GetRowHeights()[0], g.GetCell(0, 1)->m_textHeight + 80); }},
        {"dragging a row boundary down enlarges only that row",
         [](TableTest&, CTableGrid& g) { g.MoveRowBoundary(105 + 400 + 700, 2); },
         [](CTableGrid& g) { EXPECT_EQ(g.GetRowHeights(), (std::vector<int>{400, 700, 400})); }},
        {"dragging a row boundary of an empty row up stops at an empty line's height",
         [](TableTest&, CTableGrid& g) { g.MoveRowBoundary(105 + 50, 1); },
         [](CTableGrid& g) { EXPECT_EQ(g.GetRowHeights()[0], g.GetCell(0, 0)->m_textHeight + 80); }},
        {"dragging a column boundary left stops at 290",
         [](TableTest&, CTableGrid& g) { g.MoveColumnBoundary(105 + 900 + 10, 2); },
         [](CTableGrid& g) { EXPECT_EQ(g.GetColumnWidths(), (std::vector<int>{900, 290, 900})); }},
        {"dragging a column boundary right widens that column",
         [](TableTest&, CTableGrid& g) { g.MoveColumnBoundary(105 + 1500, 1); },
         [](CTableGrid& g) { EXPECT_EQ(g.GetColumnWidths(), (std::vector<int>{1500, 900, 900})); }},
        {"boundary 0 never moves",
         [](TableTest&, CTableGrid& g) {
             g.MoveColumnBoundary(900, 0);
             g.MoveRowBoundary(900, 0);
         },
         [](CTableGrid& g) { EXPECT_EQ(g.GetTotalSize(), plat::Size(2910, 1410)); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CTableGrid& g = Make(3, 3);
        c.act(*this, g);
        c.check(g);
        EXPECT_TRUE(GridIsSound(g));
    }
}

TEST_F(GridModel, TheSelectedRangeWidensOnlyByItsCornerCells)
{
    Make(4, 4);
    Select(CCellPos(1, 1), CCellPos(2, 2));
    Grid().MergeCells();
    Select(CCellPos(0, 0), CCellPos(1, 1));
    CCellPos tl, br;
    Grid().GetSelRange(tl, br);
    EXPECT_EQ(tl, CCellPos(0, 0));
    EXPECT_EQ(br, CCellPos(2, 2));
    Select(CCellPos(0, 3), CCellPos(1, 0));
    Grid().GetSelRange(tl, br);
    EXPECT_EQ(tl, CCellPos(0, 0));
    EXPECT_EQ(br, CCellPos(1, 3));
}

} // namespace

#include "tests/document/loader_fuzz_support.h"

namespace {

// Line layout keeps the format it measured last; a cell laid out in the default format
// lets go of a loaded one, so that the pool's count shows only formats left behind.
void MeasureDefault(CQlDoc* d)
{
    CTableCell probe(d, nullptr, 0, 0, 0, 0, 0, 0, 900, 400);
}

// Truncated and bit-flipped grid and table records: each loads or is refused with the
// archive's error, and a refused one leaves the grid empty.
TEST_F(GridModel, CutAndFlippedRecordsLoadOrAreRefused)
{
    Make(2, 2);
    Type(1, 0, u"甲");
    Select(CCellPos(0, 0), CCellPos(0, 1));
    Grid().MergeCells();
    std::vector<loaderfuzz::Target> targets;
    CQlDoc* d = &doc;
    // The undo mode comes through the table object's record.
    for (int mode : {kArchiveClipboard}) {
        targets.push_back({"grid", Record(Grid(), mode), [d, mode](plat::Archive& ar, bool& untouched) {
                               CTableGrid g(d, nullptr);
                               try {
                                   g.Load(ar, mode);
                               } catch (...) {
                                   untouched = g.GetRows() == 0 && g.GetCell(0, 0) == nullptr;
                                   MeasureDefault(d);
                                   throw;
                               }
                               if (!GridIsSoundEnough(g)) ADD_FAILURE() << "a loaded grid with a hole";
                               MeasureDefault(d);
                           }});
    }
    table->TakeGridSize();
    plat::MemFile mem;
    {
        plat::Archive ar(mem, plat::Archive::kStore);
        table->Save(ar, kArchiveUndo, 0, 0);
        ar.Close();
    }
    targets.push_back({"table object", mem.Detach(), [d](plat::Archive& ar, bool&) {
                           CTableObject t(d, nullptr);
                           try {
                               t.Load(ar, kArchiveUndo);
                           } catch (...) {
                               MeasureDefault(d);
                               throw;
                           }
                           MeasureDefault(d);
                       }});
    loaderfuzz::RefuseTruncations(targets);
    loaderfuzz::FlipBits(targets, 20261211, 100, 4);
}

} // namespace
