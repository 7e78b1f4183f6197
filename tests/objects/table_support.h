// Helpers of the table tests: a shown document with the object kinds registered, a table
// object holding a grid, typing into a cell, and the check of the grid's invariants.
#pragma once
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>

#include "document/doc_body.h"
#include "document/format_state.h"
#include "document/line_layout.h"
#include "objects/object_kinds.h"
#include "objects/table_object.h"
#include "tests/document/doc_object_support.h"

namespace tabletest {

// Public: the tables of cases act on the fixture from their own functions.
class TableTest : public ::testing::Test {
public:
    static void SetUpTestSuite() { RegisterObjectKinds(); }

    doctest::ShownDoc shown;
    CQlDoc& doc = shown.doc;
    std::unique_ptr<CTableObject> table = std::make_unique<CTableObject>(&shown.doc, nullptr);
    // The table the helpers act on: the one above unless a test puts one in the document.
    CTableObject* acting = table.get();

    CTableGrid& Make(int rows, int columns, std::vector<int> widths = {})
    {
        return table->CreateGrid(rows, columns, widths);
    }
    CTableGrid& Grid() const { return *acting->GetGrid(); }
    CFormatState& State() const { return *doc.GetFormatState(); }
    // The current cell and the other corner of the range.
    void Select(CCellPos current, CCellPos rangeEnd)
    {
        State().m_currentCell = current;
        State().m_rangeEndCell = rangeEnd;
    }
    void Select(CCellPos current) { Select(current, current); }
    // A table of the counts on the first page, selected, cell (0, 0) activated.
    CTableObject& AddTable(int rows, int columns)
    {
        auto t = std::make_unique<CTableObject>(&doc, nullptr);
        t->CreateGrid(rows, columns);
        t->m_bounds = plat::Rect(2000, 3000, 2000 + t->m_width, 3000 + t->m_height);
        t->RecalcLayout();
        auto* added = static_cast<CTableObject*>(doc.GetBody()->AddObject(std::move(t)));
        doc.GetBody()->BuildPageRegions();
        doc.GetBody()->RelayoutWhole();
        added->SetSelected(true);
        acting = added;
        Select(CCellPos(0, 0));
        Grid().ActivateCurrentCell();
        return *added;
    }
    // Merges the rectangle, then makes (0, 0) the current cell.
    void MergeRange(CCellPos a, CCellPos b)
    {
        Select(a, b);
        Grid().MergeCells();
        Select(CCellPos(0, 0));
    }
    // Types the text at the end of a cell's text, then lays the cell out in the grid.
    void Type(int row, int column, plat::StringView text)
    {
        CTableCell* cell = Grid().GetCell(row, column);
        cell->SetCaret(CTextPos(cell->GetCount() - 1, cell->GetName()));
        cell->InsertItemsAtCaret(text);
        Grid().RelayoutCell(cell->m_startRow, cell->m_startCol, 0);
    }
    static plat::String Text(const CTableCell& cell) { return cell.GetText(0, cell.GetCount() - 1); }
};

// Every slot inside the grid holds one rectangular cell that covers exactly its span,
// every grid line is used by some cell boundary, every segment exists, and the totals are
// the cells' extent plus the margins.
inline ::testing::AssertionResult GridIsSound(const CTableGrid& g)
{
    auto fail = [](const std::string& why) { return ::testing::AssertionFailure() << why; };
    int right = 0, bottom = 0;
    for (int r = 0; r < g.GetRows(); ++r)
        for (int c = 0; c < g.GetColumns(); ++c) {
            const CTableCell* q = g.GetCell(r, c);
            const std::string at = " at (" + std::to_string(r) + ", " + std::to_string(c) + ")";
            if (!q) return fail("empty slot" + at);
            if (r < q->m_startRow || r > q->m_endRow || c < q->m_startCol || c > q->m_endCol)
                return fail("slot outside its cell's span" + at);
            if (q->m_endRow >= g.GetRows() || q->m_endCol >= g.GetColumns()) return fail("span leaves the grid" + at);
            for (int sr = q->m_startRow; sr <= q->m_endRow; ++sr)
                for (int sc = q->m_startCol; sc <= q->m_endCol; ++sc)
                    if (g.GetCell(sr, sc) != q) return fail("span not rectangular" + at);
            right = std::max(right, q->m_x + q->m_cellWidth);
            bottom = std::max(bottom, q->m_y + q->m_cellHeight);
        }
    for (int c = 0; c < g.GetColumns(); ++c) {
        int a = 0, f = kMaxTableColumns;
        for (int r = 0; r < g.GetRows(); ++r) {
            a = std::max(a, g.GetCell(r, c)->m_startCol);
            f = std::min(f, g.GetCell(r, c)->m_endCol);
        }
        if (f > a) return fail("unused column boundary after column " + std::to_string(a));
    }
    for (int r = 0; r < g.GetRows(); ++r) {
        int a = 0, f = kMaxTableRows;
        for (int c = 0; c < g.GetColumns(); ++c) {
            a = std::max(a, g.GetCell(r, c)->m_startRow);
            f = std::min(f, g.GetCell(r, c)->m_endRow);
        }
        if (f > a) return fail("unused row boundary after row " + std::to_string(a));
    }
    for (int b = 0; b <= g.GetRows(); ++b)
        for (int c = 0; c < g.GetColumns(); ++c)
            if (!g.GetHorizontalLine(b, c)) return fail("missing horizontal segment");
    for (int r = 0; r < g.GetRows(); ++r)
        for (int b = 0; b <= g.GetColumns(); ++b)
            if (!g.GetVerticalLine(r, b)) return fail("missing vertical segment");
    if (g.GetTotalWidth() != right + kTableMargin || g.GetTotalHeight() != bottom + kTableMargin)
        return fail("totals " + std::to_string(g.GetTotalWidth()) + " x " + std::to_string(g.GetTotalHeight()) +
                    " for cells reaching " + std::to_string(right) + " x " + std::to_string(bottom));
    return ::testing::AssertionSuccess();
}

} // namespace tabletest
