// Painting one page of a 500-page document of mixed Chinese and Latin paragraphs into a
// bitmap at 100 %, with its page number and running head: as printing, print preview and
// the PDF export do it (batched Western runs, centred in their width), and as the screen
// does it (each character at its own place). BM_KeystrokeRepaintScreen/N: a character
// typed in the middle page of an N-page document through the document's command, then
// that page painted for the screen, as the editor shows a keystroke.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <map>
#include <memory>
#include <vector>

#include "document/doc_body.h"
#include "document/text_item.h"
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

// Documents of other lengths, built on first use.
benchdocs::PagedDoc& DocOf(int pages)
{
    if (pages == kTargetPages) return Doc();
    static std::map<int, benchdocs::PagedDoc*> docs;
    auto& d = docs[pages];
    if (!d) d = new benchdocs::PagedDoc(pages, u"基准测试 Benchmark");
    return *d;
}

void BM_KeystrokeRepaintScreen(benchmark::State& state)
{
    CQlDoc& doc = DocOf(static_cast<int>(state.range(0))).doc;
    CDocBody& body = *doc.GetBody();
    const int page = doc.GetPageCount() / 2;
    const plat::Rect text = body.GetPageFrame(page).m_rect;
    int at = 0;
    while (at < body.GetCount() - 1 && body.GetItem(at)->GetLineTop() < (text.top + text.bottom) / 2) ++at;
    const plat::Size paper = doc.GetPaperSizeTwips();
    auto bmp = plat::Bitmap::Create(paper.cx / 15 + 2, paper.cy / 15 + 10);
    plat::MemoryDc dc;
    dc.Select(bmp.get());
    std::vector<double> samples;
    for (auto _ : state) {
        body.SetCaret(CTextPos(at, body.GetName()));
        bmp->Fill(plat::Rgb(255, 255, 255));
        const auto start = std::chrono::steady_clock::now();
        doc.InsertChar(u'字');
        doc.DrawPage(dc, 1.0, 0, 0, page, CQlDoc::kDrawScreen);
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        state.SetIterationTime(seconds);
        samples.push_back(seconds);
        body.OnBackspace();
        doc.ClearUndo();
    }
    std::sort(samples.begin(), samples.end());
    if (!samples.empty()) state.counters["median_ms"] = samples[samples.size() / 2] * 1000;
    state.counters["pages"] = doc.GetPageCount();
}
BENCHMARK(BM_KeystrokeRepaintScreen)->Arg(50)->Arg(500)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2.0);

} // namespace
