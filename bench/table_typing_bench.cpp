// Typing into a table cell: 200 characters typed one by one through the document's
// InsertChar (undo snapshot, insertion at the caret, the cell laid out again with its
// column and row refitted, the table object resized when the grid grew) into the middle
// cell of a 59 x 19 table whose every cell holds text. Each character is timed on its own;
// the counters report the median and the slowest character.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "document/char_width_cache.h"
#include "document/doc_body.h"
#include "document/doc_frame.h"
#include "document/doc_view.h"
#include "document/format_state.h"
#include "document/ql_doc.h"
#include "objects/object_kinds.h"
#include "objects/table_object.h"

namespace {

constexpr int kRows = 59;
constexpr int kColumns = 19;
constexpr int kTyped = 200;

struct TableDoc {
    CHeadlessDocView view;
    CHeadlessDocFrame frame;
    CCharWidthCache cache;
    CQlDoc doc{&view, &frame};
    CTableObject* table = nullptr;

    TableDoc()
    {
        RegisterObjectKinds();
        doc.SetWidthCache(&cache);
        doc.Reset();
        auto t = std::make_unique<CTableObject>(&doc, nullptr);
        CTableGrid& grid = t->CreateGrid(kRows, kColumns);
        for (int r = 0; r < kRows; ++r)
            for (int c = 0; c < kColumns; ++c) {
                CTableCell* cell = grid.GetCell(r, c);
                std::u16string text = u"格";
                text.push_back(static_cast<char16_t>(u'A' + c));
                text.push_back(u' ');
                text.push_back(static_cast<char16_t>(u'0' + r % 10));
                cell->InsertItemsAtCaret(text);
            }
        grid.RelayoutAll(0);
        t->TakeGridSize();
        t->m_bounds = plat::Rect(1200, 1200, 1200 + t->m_width, 1200 + t->m_height);
        t->RecalcLayout();
        table = static_cast<CTableObject*>(doc.GetBody()->AddObject(std::move(t)));
        doc.GetBody()->BuildPageRegions();
        doc.GetBody()->RelayoutWhole();
        table->SetSelected(true);
    }

    // The caret at the end of the middle cell's text, which holds the focus.
    void EnterMiddleCell()
    {
        CFormatState& state = *doc.GetFormatState();
        state.m_currentCell = CCellPos(kRows / 2, kColumns / 2);
        state.m_rangeEndCell = state.m_currentCell;
        CTableCell* cell = table->GetGrid()->GetCellAt(state.m_currentCell);
        cell->SetCaret(cell->GetEndPos());
        table->GetGrid()->ActivateCurrentCell();
    }
};

void BM_TypeIntoTableCell(benchmark::State& state)
{
    TableDoc d;
    std::vector<double> perChar;
    const std::u16string typed = u"表格中的文字 typed into one cell, ";
    for (auto _ : state) {
        // A fresh cell each round: the typed text is taken back, untimed.
        d.doc.ClearUndo();
        d.table->GetGrid()->GetCellAt(d.doc.GetFormatState()->m_currentCell)->ClearText();
        d.EnterMiddleCell();
        double total = 0;
        for (int i = 0; i < kTyped; ++i) {
            const auto start = std::chrono::steady_clock::now();
            d.doc.InsertChar(typed[static_cast<size_t>(i) % typed.size()]);
            const double s = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
            perChar.push_back(s);
            total += s;
        }
        state.SetIterationTime(total / kTyped);
    }
    std::sort(perChar.begin(), perChar.end());
    state.counters["median_ms"] = perChar[perChar.size() / 2] * 1e3;
    state.counters["max_ms"] = perChar.back() * 1e3;
    state.counters["table_height"] = d.table->m_height;
}
BENCHMARK(BM_TypeIntoTableCell)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace
