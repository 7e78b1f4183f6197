// Exporting a document of mixed Chinese and Latin paragraphs, with a running head and page
// numbers, to PDF: every page rendered at the screen's resolution, saved as a JPEG picture
// and written into the file. The argument is the number of pages; reported in pages per
// second. The same document's text as an HTML page in code page 936, one in UTF-16, and
// RTF, reported with the file's size; then the same with 100 tables of 4 x 5 cells after
// the text, which each writer writes as markup of their own (no pictures); and with 100
// filled drawn shapes after the text instead, each of which is rendered and saved as a JPEG
// picture beside the page (HTML) or in the file (RTF): the pictures' cost on its own.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <memory>
#include <string>

#include "bench/bench_documents.h"
#include "document/doc_body.h"
#include "document/ql_doc.h"
#include "objects/object_kinds.h"
#include "objects/shape_object.h"
#include "objects/table_object.h"
#include "platform/base/system.h"

namespace {

// Each size built once, for every run of it.
benchdocs::PagedDoc& Doc(int pages)
{
    static auto* docs = new std::map<int, std::unique_ptr<benchdocs::PagedDoc>>;
    auto& doc = (*docs)[pages];
    if (!doc) doc = std::make_unique<benchdocs::PagedDoc>(pages, u"导出基准 Export benchmark");
    return *doc;
}

// The document of `pages` pages with `count` objects after the text, built once for each
// size: `add` puts the k-th object at (left, top) and moves `top` down past its row.
using AddObject = void (*)(CQlDoc& doc, int k, int left, int& top);
CQlDoc& DocWithObjects(std::map<int, std::unique_ptr<benchdocs::PagedDoc>>& docs, int pages, int count, AddObject add)
{
    auto& doc = docs[pages];
    if (doc) return doc->doc;
    RegisterObjectKinds();
    doc = std::make_unique<benchdocs::PagedDoc>(pages, u"导出基准 Export benchmark");
    CDocBody& body = *doc->doc.GetBody();
    int top = body.GetContentBottom() + 400;
    const int left = body.GetPageFrame(0).m_rect.left;
    for (int k = 0; k < count; ++k) add(doc->doc, k, left, top);
    body.RecalcAllObjects();
    return doc->doc;
}

// `tables` tables of 4 x 5 cells, each cell holding a few words, stacked after the text.
CQlDoc& DocWithTables(int pages, int tables)
{
    static auto* docs = new std::map<int, std::unique_ptr<benchdocs::PagedDoc>>;
    return DocWithObjects(*docs, pages, tables, [](CQlDoc& doc, int, int left, int& top) {
        CDocBody& body = *doc.GetBody();
        auto table = std::make_unique<CTableObject>(&doc, nullptr);
        CTableGrid& grid = table->CreateGrid(4, 5);
        for (int r = 0; r < 4; ++r)
            for (int c = 0; c < 5; ++c) {
                CTableCell* cell = grid.GetCell(r, c);
                int at = cell->GetCount() - 1;
                cell->InsertString(at, plat::Format(u"单元 %d cell", r * 5 + c), body.GetRunningCharFormat());
                grid.RelayoutCell(r, c, 0);
            }
        table->TakeGridSize();
        table->m_bounds = plat::Rect(left, top, left + table->m_width, top + table->m_height);
        table->RecalcLayout();
        top += table->m_height + 200;
        body.AddObject(std::move(table));
    });
}

// `shapes` filled rectangles of 1500 x 1000 twips, five to a row, after the text.
CQlDoc& DocWithShapes(int pages, int shapes)
{
    static auto* docs = new std::map<int, std::unique_ptr<benchdocs::PagedDoc>>;
    return DocWithObjects(*docs, pages, shapes, [](CQlDoc& doc, int k, int left, int& top) {
        auto s = std::make_unique<CShapeObject>(&doc, nullptr, 0x1201);
        CNewObjectSource source;
        source.shapeCode = 0x1201;
        s->TakeSource(source);
        s->SetFillStyle(1);
        s->SetFillColor(0x3080C0 + k);
        const int x = left + (k % 5) * 1800;
        s->m_bounds = plat::Rect(x, top, x + 1, top + 1);
        s->GetPoints().AddPoint(0, 0);
        s->GetPoints().AddPoint(1500, 1000);
        s->NormalizeToPoints();
        doc.GetBody()->AddObject(std::move(s));
        if (k % 5 == 4) top += 1300;
    });
}

long FileBytes(const std::string& path)
{
    std::FILE* f = std::fopen(path.c_str(), "rb");
    long bytes = 0;
    if (f) {
        std::fseek(f, 0, SEEK_END);
        bytes = std::ftell(f);
        std::fclose(f);
    }
    return bytes;
}

void BM_ExportPdf(benchmark::State& state)
{
    CQlDoc& doc = Doc(static_cast<int>(state.range(0))).doc;
    const std::string path = plat::TempDirUtf8() + "export_bench.pdf";
    int pages = 0;
    for (auto _ : state) {
        if (!doc.ExportPdf(plat::Utf8ToUtf16(path))) {
            state.SkipWithError("export failed");
            break;
        }
        pages += doc.GetPageCount();
    }
    const long bytes = FileBytes(path);
    std::remove(path.c_str());
    state.counters["pages"] = doc.GetPageCount();
    state.counters["pages/s"] = benchmark::Counter(pages, benchmark::Counter::kIsRate);
    state.counters["file_kB"] = double(bytes) / 1024;
}
BENCHMARK(BM_ExportPdf)->Arg(50)->Arg(500)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);

enum class TextExport { kHtml8Bit, kHtmlUtf16, kRtf };

void BM_ExportText(benchmark::State& state, TextExport kind)
{
    const int pages = static_cast<int>(state.range(0));
    const int tables = static_cast<int>(state.range(1));
    const int shapes = static_cast<int>(state.range(2));
    CQlDoc& doc = tables ? DocWithTables(pages, tables) : shapes ? DocWithShapes(pages, shapes) : Doc(pages).doc;
    const std::string dir = plat::TempDirUtf8();
    const std::string path = dir + (kind == TextExport::kRtf ? "export_bench.rtf" : "export_bench.htm");
    const plat::String wide = plat::Utf8ToUtf16(path);
    for (auto _ : state) {
        int ok = 0;
        switch (kind) {
        case TextExport::kHtml8Bit: ok = doc.ExportHtml(wide); break;
        case TextExport::kHtmlUtf16: ok = doc.ExportEHtml(wide, plat::Utf8ToUtf16(dir + "export_bench.lst")); break;
        case TextExport::kRtf: ok = doc.ExportRtf(wide); break;
        }
        if (!ok) {
            state.SkipWithError("export failed");
            break;
        }
    }
    state.counters["pages"] = doc.GetPageCount();
    state.counters["tables"] = tables;
    state.counters["pictures"] = shapes;
    state.counters["file_kB"] = double(FileBytes(path)) / 1024;
    std::remove(path.c_str());
}
// Arguments: pages, tables, drawn shapes (pictures).
BENCHMARK_CAPTURE(BM_ExportText, html_cp936, TextExport::kHtml8Bit)
    ->Args({500, 0, 0})->Args({500, 100, 0})->Args({500, 0, 100})->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK_CAPTURE(BM_ExportText, html_utf16, TextExport::kHtmlUtf16)
    ->Args({500, 0, 0})->Args({500, 100, 0})->Args({500, 0, 100})->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK_CAPTURE(BM_ExportText, rtf, TextExport::kRtf)
    ->Args({500, 0, 0})->Args({500, 100, 0})->Args({500, 0, 100})->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);

} // namespace
