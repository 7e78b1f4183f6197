// Painting one page of a 500-page document of mixed Chinese and Latin paragraphs into a
// bitmap at 100 %, with its page number and running head: as printing, print preview and
// the PDF export do it (batched Western runs), and as the screen does it (item by item).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <memory>

#include "document/doc_body.h"
#include "document/ql_doc.h"
#include "platform/gfx/bitmap.h"
#include "platform/gfx/dc.h"
#include "bench/bench_documents.h"

namespace {

constexpr int kTargetPages = 500;


benchdocs::PagedDoc& Doc()
{
    static benchdocs::PagedDoc* doc = new benchdocs::PagedDoc(kTargetPages, u"基准测试 Benchmark"); // built once for every benchmark
    return *doc;
}

// The argument says which page: 0 the first, 1 the middle one, 2 the last.
void PaintPage(benchmark::State& state, int mode)
{
    CQlDoc& doc = Doc().doc;
    const int page = static_cast<int>(state.range(0)) * (doc.GetPageCount() - 1) / 2;
    const plat::Size paper = doc.GetPaperSizeTwips();
    auto bmp = plat::Bitmap::Create(paper.cx / 15 + 2, paper.cy / 15 + 10);
    plat::MemoryDc dc;
    dc.Select(bmp.get());
    for (auto _ : state) {
        bmp->Fill(plat::Rgb(255, 255, 255));
        doc.DrawPage(dc, 1.0, 0, 0, page, mode);
        benchmark::ClobberMemory();
    }
    state.counters["page"] = page + 1;
    state.counters["pages"] = doc.GetPageCount();
    state.counters["items"] = doc.GetBody()->GetCount();
}

void BM_PaintPagePrint(benchmark::State& state)
{
    PaintPage(state, CQlDoc::kDrawPrint);
}
BENCHMARK(BM_PaintPagePrint)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

void BM_PaintPageScreen(benchmark::State& state)
{
    PaintPage(state, CQlDoc::kDrawScreen);
}
BENCHMARK(BM_PaintPageScreen)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

} // namespace
