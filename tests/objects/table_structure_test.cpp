// Inserting and deleting rows and columns, merging and splitting cells: each case is
// followed by the check of the grid's invariants.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "tests/objects/table_support.h"

using namespace tabletest;

namespace {

using Structure = TableTest;

struct Case {
    const char* name;
    int rows, columns;
    std::vector<int> widths; // empty: default widths
    std::function<void(TableTest&, CTableGrid&)> act;
    std::function<void(TableTest&, CTableGrid&)> check;
};

// Merges the rectangle with the corners given.
void Merge(TableTest& t, CTableGrid& g, CCellPos a, CCellPos b)
{
    t.Select(a, b);
    ASSERT_TRUE(g.CanMerge());
    g.MergeCells();
}

void RunCases(TableTest& t, const std::vector<Case>& cases)
{
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        t.Select(CCellPos());
        CTableGrid& g = t.table->CreateGrid(c.rows, c.columns, c.widths);
        c.act(t, g);
        c.check(t, g);
        EXPECT_TRUE(GridIsSound(g));
    }
}

TEST_F(Structure, InsertAndDelete)
{
    RunCases(*this, {
        {"insert below a row that a merged cell crosses", 3, 3, {},
         [](TableTest& t, CTableGrid& g) {
             Merge(t, g, CCellPos(0, 0), CCellPos(2, 0));
             t.Select(CCellPos(1, 1));
             g.InsertRow();
         },
         [](TableTest&, CTableGrid& g) {
             ASSERT_EQ(g.GetRows(), 4);
             EXPECT_EQ(g.GetCell(2, 0), g.GetCell(0, 0));
             EXPECT_EQ(g.GetCell(0, 0)->m_cellHeight, 1600);
             EXPECT_EQ(g.GetCell(2, 1)->GetRect(), plat::Rect(1005, 905, 1905, 1305));
             EXPECT_EQ(g.GetCell(3, 2)->m_y, 1305);
             EXPECT_EQ(g.GetCell(3, 2)->m_startRow, 3);
         }},
        {"insert below the last row copies the bottom segments", 2, 2, {},
         [](TableTest& t, CTableGrid& g) {
             g.GetHorizontalLine(2, 0)->m_style = kLineSolid8;
             g.GetHorizontalLine(2, 1)->m_colour = 0x00FF00;
             t.Select(CCellPos(1, 0));
             g.InsertRow();
         },
         [](TableTest&, CTableGrid& g) {
             ASSERT_EQ(g.GetRows(), 3);
             EXPECT_EQ(g.GetHorizontalLine(3, 0)->m_style, kLineSolid8);
             EXPECT_EQ(g.GetHorizontalLine(3, 1)->m_colour, 0x00FF00);
             EXPECT_EQ(g.GetCell(2, 1)->GetRect(), plat::Rect(1005, 905, 1905, 1305));
         }},
        {"insert a column after one that a merged cell crosses", 2, 3, {},
         [](TableTest& t, CTableGrid& g) {
             Merge(t, g, CCellPos(0, 0), CCellPos(0, 1));
             g.GetVerticalLine(1, 3)->m_style = kLineDot;
             t.Select(CCellPos(1, 0));
             g.InsertColumn();
         },
         [](TableTest&, CTableGrid& g) {
             ASSERT_EQ(g.GetColumns(), 4);
             EXPECT_EQ(g.GetCell(0, 0)->m_cellWidth, 2700);
             EXPECT_EQ(g.GetCell(0, 1), g.GetCell(0, 2));
             EXPECT_EQ(g.GetCell(1, 1)->GetRect(), plat::Rect(1005, 505, 1905, 905));
             EXPECT_EQ(g.GetVerticalLine(1, 4)->m_style, kLineDot);
         }},
        {"delete the middle row under a column spanning all rows", 3, 2, {},
         [](TableTest& t, CTableGrid& g) {
             Merge(t, g, CCellPos(0, 0), CCellPos(2, 0));
             t.Select(CCellPos(1, 1));
             g.DeleteRow();
         },
         [](TableTest& t, CTableGrid& g) {
             EXPECT_EQ(g.GetRows(), 2);
             EXPECT_EQ(g.GetColumns(), 2);
             EXPECT_EQ(g.GetCell(0, 0)->m_cellHeight, 800);
             EXPECT_EQ(g.GetCell(1, 1)->m_y, 505);
             EXPECT_EQ(t.State().GetFocusObject(), g.GetCell(1, 1));
         }},
        {"delete the last column steps the current cell back", 2, 3, {},
         [](TableTest& t, CTableGrid& g) {
             t.Select(CCellPos(1, 2));
             g.DeleteColumn();
         },
         [](TableTest& t, CTableGrid& g) {
             EXPECT_EQ(g.GetColumns(), 2);
             EXPECT_EQ(t.State().m_currentCell, CCellPos(1, 1));
             EXPECT_EQ(g.GetTotalWidth(), 2010);
         }},
        {"deleting the one row that separated two columns collapses them", 2, 3, {},
         [](TableTest& t, CTableGrid& g) {
             Merge(t, g, CCellPos(0, 0), CCellPos(0, 1));
             g.GetVerticalLine(1, 3)->m_style = kLineDash;
             t.Select(CCellPos(1, 0));
             g.DeleteRow();
         },
         [](TableTest&, CTableGrid& g) {
             EXPECT_EQ(g.GetRows(), 1);
             ASSERT_EQ(g.GetColumns(), 2);
             EXPECT_EQ(g.GetCell(0, 0)->m_endCol, 0);
             EXPECT_EQ(g.GetCell(0, 0)->m_cellWidth, 1800);
             EXPECT_EQ(g.GetCell(0, 1)->m_startCol, 1);
         }},
        // Mended: when every cell of the current row reaches below it, the new row's place
        // comes from the row heights (an import can leave a grid so).
        {"insert below a row whose cells all reach further down", 2, 2, {},
         [](TableTest& t, CTableGrid& g) {
             g.SetCellOrMergeUp(1, 0, 0, 0, true);
             g.SetCellOrMergeUp(1, 1, 0, 0, true);
             t.Select(CCellPos(0, 0));
             g.InsertRow();
             g.Normalize();
         },
         [](TableTest&, CTableGrid& g) {
             EXPECT_EQ(g.GetRows(), 1);
             EXPECT_EQ(g.GetCell(0, 0)->m_cellHeight, 1200);
             EXPECT_EQ(g.GetCell(0, 1)->m_cellHeight, 1200);
         }},
        {"insert a column after a column whose cells all reach further right", 2, 2, {},
         [](TableTest& t, CTableGrid& g) {
             const std::uint8_t flags[] = {0, 1};
             g.MergeRowCells(0, flags);
             g.MergeRowCells(1, flags);
             t.Select(CCellPos(0, 0));
             g.InsertColumn();
             g.Normalize();
         },
         [](TableTest&, CTableGrid& g) {
             EXPECT_EQ(g.GetColumns(), 1);
             EXPECT_EQ(g.GetCell(1, 0)->m_cellWidth, 2700);
         }},
    });
}

TEST_F(Structure, Merge)
{
    RunCases(*this, {
        {"a 2 x 2 block joins the texts in row order, caret at the start", 3, 3, {},
         [](TableTest& t, CTableGrid& g) {
             t.Type(1, 1, u"a");
             t.Type(1, 2, u"b");
             t.Type(2, 1, u"c");
             t.Type(2, 2, u"d");
             Merge(t, g, CCellPos(2, 2), CCellPos(1, 1));
         },
         [](TableTest& t, CTableGrid& g) {
             const CTableCell* m = g.GetCell(1, 1);
             EXPECT_EQ(TableTest::Text(*m), u"abcd");
             EXPECT_EQ(m->GetCaretPos().m_index, 0);
             EXPECT_EQ(m->GetRect(), plat::Rect(1005, 505, 2805, 1305));
             EXPECT_EQ(t.State().m_currentCell, CCellPos(1, 1));
             EXPECT_EQ(t.State().GetFocusObject(), m);
         }},
        {"a rectangle cutting a merged cell, and the whole table, cannot merge", 3, 3, {},
         [](TableTest& t, CTableGrid& g) { Merge(t, g, CCellPos(0, 1), CCellPos(1, 1)); },
         [](TableTest& t, CTableGrid& g) {
             t.Select(CCellPos(1, 1), CCellPos(2, 1));
             EXPECT_TRUE(g.CanMerge()); // the corner cell widens the range to row 0
             t.Select(CCellPos(1, 0), CCellPos(1, 2));
             EXPECT_FALSE(g.CanMerge());
             t.Select(CCellPos(0, 0), CCellPos(2, 2));
             EXPECT_FALSE(g.CanMerge());
             t.Select(CCellPos(2, 2));
             EXPECT_FALSE(g.CanMerge());
         }},
        {"merging a whole row collapses its columns", 2, 3, {},
         [](TableTest& t, CTableGrid& g) {
             Merge(t, g, CCellPos(0, 0), CCellPos(0, 2));
             Merge(t, g, CCellPos(1, 0), CCellPos(1, 2));
         },
         [](TableTest& t, CTableGrid& g) {
             EXPECT_EQ(g.GetColumns(), 1);
             EXPECT_EQ(g.GetCell(1, 0)->m_cellWidth, 2700);
             EXPECT_EQ(t.State().m_currentCell, CCellPos(1, 0));
         }},
    });
}

TEST_F(Structure, Split)
{
    RunCases(*this, {
        {"a 1000-twip cell into 3 columns", 2, 2, {1000, 900},
         [](TableTest& t, CTableGrid& g) {
             t.Type(0, 0, u"keep");
             t.Select(CCellPos(0, 0));
             ASSERT_TRUE(g.SplitCurrentCell(1, 3));
         },
         [](TableTest&, CTableGrid& g) {
             EXPECT_EQ(g.GetColumns(), 4);
             EXPECT_EQ(g.GetColumnWidths(), (std::vector<int>{334, 334, 334, 900}));
             EXPECT_EQ(g.GetTotalWidth(), 105 + 1002 + 900 + 105);
             EXPECT_EQ(TableTest::Text(*g.GetCell(0, 0)), u"keep");
             EXPECT_EQ(g.GetCell(1, 0)->m_endCol, 2);
         }},
        {"a 1000-twip cell into 4 columns keeps parts at 290", 1, 2, {1000, 900},
         [](TableTest& t, CTableGrid& g) {
             t.Select(CCellPos(0, 0));
             ASSERT_TRUE(g.SplitCurrentCell(1, 4));
         },
         [](TableTest&, CTableGrid& g) {
             EXPECT_EQ(g.GetColumnWidths(), (std::vector<int>{290, 290, 290, 290, 900}));
             EXPECT_EQ(g.GetTotalWidth(), 105 + 1160 + 900 + 105);
         }},
        {"a 6-column span offers 1, 2, 3 and 6 and splits without new columns", 2, 6, {},
         [](TableTest& t, CTableGrid& g) {
             Merge(t, g, CCellPos(0, 0), CCellPos(0, 5));
             EXPECT_EQ(CTableGrid::GetSplitChoices(6, 15), (std::vector<int>{1, 2, 3, 6}));
             EXPECT_FALSE(g.SplitCurrentCell(1, 4));
             ASSERT_TRUE(g.SplitCurrentCell(1, 3));
         },
         [](TableTest&, CTableGrid& g) {
             EXPECT_EQ(g.GetColumns(), 6);
             EXPECT_EQ(g.GetCell(0, 2)->m_startCol, 2);
             EXPECT_EQ(g.GetCell(0, 2)->m_endCol, 3);
             EXPECT_EQ(g.GetCell(0, 2)->m_cellWidth, 1800);
         }},
        {"a cell into 2 x 2, adding a row and a column", 2, 2, {},
         [](TableTest& t, CTableGrid& g) {
             t.Select(CCellPos(1, 1));
             ASSERT_TRUE(g.SplitCurrentCell(2, 2));
         },
         [](TableTest&, CTableGrid& g) {
             EXPECT_EQ(g.GetRows(), 3);
             EXPECT_EQ(g.GetColumns(), 3);
             EXPECT_EQ(g.GetCell(2, 2)->GetRect(), plat::Rect(1005 + 450, 505 + 400, 1005 + 900, 505 + 800));
             EXPECT_EQ(g.GetCell(1, 0)->m_endRow, 2); // the cell beside grew with the new row
         }},
        {"a 59-row table can still split", 59, 3, {},
         [](TableTest& t, CTableGrid& g) {
             t.Select(CCellPos(3, 1));
             EXPECT_TRUE(g.CanSplit());
             EXPECT_EQ(CTableGrid::GetSplitChoices(1, kMaxTableRows + 1 - g.GetRows()), (std::vector<int>{1, 2}));
             EXPECT_FALSE(g.SplitCurrentCell(3, 1));
             ASSERT_TRUE(g.SplitCurrentCell(2, 1));
         },
         [](TableTest& t, CTableGrid& g) {
             EXPECT_EQ(g.GetRows(), 60);
             t.Select(CCellPos(0, 0));
             EXPECT_TRUE(g.CanSplit()); // 3 columns: columns may still be added
         }},
        {"a range selected, or a full grid, cannot split", 59, 19, {},
         [](TableTest& t, CTableGrid&) { t.Select(CCellPos(0, 0), CCellPos(0, 1)); },
         [](TableTest& t, CTableGrid& g) {
             EXPECT_FALSE(g.CanSplit());
             t.Select(CCellPos(0, 0));
             EXPECT_FALSE(g.CanSplit());
             EXPECT_FALSE(g.SplitCurrentCell(1, 2));
         }},
        // Mended: the rule segments move with their cells, so a styled right and bottom edge
        // stays on the table's edge.
        {"splitting the last cell keeps the styled outer edges outside", 2, 2, {},
         [](TableTest& t, CTableGrid& g) {
             g.GetVerticalLine(1, 2)->m_style = kLineSolid12;
             g.GetHorizontalLine(2, 1)->m_style = kLineSolid4;
             t.Select(CCellPos(1, 1));
             ASSERT_TRUE(g.SplitCurrentCell(2, 3));
         },
         [](TableTest&, CTableGrid& g) {
             ASSERT_EQ(g.GetColumns(), 4);
             ASSERT_EQ(g.GetRows(), 3);
             EXPECT_EQ(g.GetVerticalLine(2, 4)->m_style, kLineSolid12);
             EXPECT_EQ(g.GetVerticalLine(2, 2)->m_style, kLineThin);
             for (int c = 1; c < 4; ++c) EXPECT_EQ(g.GetHorizontalLine(3, c)->m_style, kLineSolid4) << c;
             EXPECT_EQ(g.GetHorizontalLine(2, 1)->m_style, kLineThin);
         }},
    });
}

} // namespace
