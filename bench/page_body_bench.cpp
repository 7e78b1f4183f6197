// The page body on a document of about 495 pages of mixed Chinese and Latin paragraphs in
// a few formats, on the default page (200 x 287 mm, 20 mm margins):
//   BM_FullRelayout      every item measured, broken and placed, objects re-anchored;
//   BM_Keystroke/N       one character typed in the middle of page N through the document's
//                        InsertChar (undo snapshot, insert at the caret, which re-flows the
//                        body around it, format state refreshed, modified, scroll to the
//                        caret), reported per keystroke with its median;
//   BM_LineAddingKeystroke/N  Enter typed in the middle of page N, splitting its paragraph;
//   BM_TypeThousandOnPageOne  1,000 characters typed one by one into page 1 through
//                        InsertChar, with the median and 90th percentile per character;
//   BM_DeleteSelection/N N items from page 1 deleted through EditDelete;
//   BM_MemoryPerCharacter heap bytes per text item of the laid-out document.
// Each keystroke is taken back (untimed) before the next, so every one meets the same text.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <vector>

#include "document/char_width_cache.h"
#include "document/doc_body.h"
#include "document/doc_frame.h"
#include "document/doc_view.h"
#include "document/format_state.h"
#include "document/ql_doc.h"
#include "document/text_item.h"
#include "bench/bench_documents.h"

namespace {

constexpr int kTargetPages = 495;

std::size_t HeapInUse()
{
    struct mallinfo2 mi = mallinfo2();
    return mi.uordblks + mi.hblkhd;
}

void AppendParagraphs(CDocBody& body, int paragraphs)
{
    int run = 0;
    benchdocs::AppendMixedParagraphs(body, paragraphs, run);
}

struct Document {
    CHeadlessDocView view;
    CHeadlessDocFrame frame;
    CQlDoc doc{&view, &frame};
    CCharWidthCache cache;
    Document()
    {
        doc.SetWidthCache(&cache);
        doc.Reset();
    }
    CDocBody& Body() const { return *doc.GetBody(); }
};

// How many paragraphs make about kTargetPages pages: a sample sets how many a page holds.
int ParagraphCount()
{
    static const int count = [] {
        Document d;
        const int sample = 400;
        AppendParagraphs(d.Body(), sample);
        d.Body().RelayoutWhole();
        return kTargetPages * std::max(1, sample / std::max(1, d.Body().GetPageCount() - 1));
    }();
    return count;
}

Document& Shared()
{
    static Document* d = [] {
        auto* doc = new Document;
        AppendParagraphs(doc->Body(), ParagraphCount());
        doc->Body().RelayoutWhole();
        return doc;
    }();
    return *d;
}

void Counters(benchmark::State& state, const CDocBody& body)
{
    state.counters["items"] = body.GetCount();
    state.counters["pages"] = body.GetPageCount();
}

void BM_FullRelayout(benchmark::State& state)
{
    CDocBody& body = Shared().Body();
    for (auto _ : state) {
        body.RelayoutWhole();
        benchmark::DoNotOptimize(body.GetPageCount());
    }
    Counters(state, body);
}
BENCHMARK(BM_FullRelayout)->Unit(benchmark::kMillisecond)->MinTime(3.0);

using benchdocs::MiddleOfPage;

void Percentiles(benchmark::State& state, std::vector<double>& samples)
{
    std::sort(samples.begin(), samples.end());
    if (samples.empty()) return;
    state.counters["median_ms"] = samples[samples.size() / 2] * 1000;
    state.counters["p90_ms"] = samples[samples.size() * 9 / 10] * 1000;
}

// One key typed in the middle of page range(0) through the document's command: undo
// snapshot, insertion at the caret with the body re-flowed around it, formats into the
// state, modified, scroll. Each is taken back (untimed) so the next meets the same text.
void TypeKeyInPage(benchmark::State& state, char16_t key)
{
    Document& d = Shared();
    CDocBody& body = d.Body();
    const int at = MiddleOfPage(body, static_cast<int>(state.range(0)));
    std::vector<double> samples;
    for (auto _ : state) {
        body.SetCaret(CTextPos(at, body.GetName()));
        const auto start = std::chrono::steady_clock::now();
        d.doc.InsertChar(key);
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        state.SetIterationTime(seconds);
        samples.push_back(seconds);
        body.OnBackspace();
        d.doc.ClearUndo();
    }
    Percentiles(state, samples);
    Counters(state, body);
}

// A character.
void BM_Keystroke(benchmark::State& state)
{
    TypeKeyInPage(state, u'字');
}
BENCHMARK(BM_Keystroke)->Arg(1)->Arg(250)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2.0);

// Enter, splitting the paragraph there.
void BM_LineAddingKeystroke(benchmark::State& state)
{
    TypeKeyInPage(state, u'\r');
}
BENCHMARK(BM_LineAddingKeystroke)->Arg(1)->Arg(250)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2.0);

// A thousand characters, Chinese and Latin in turn, typed one by one into page 1 through
// the document's command; each iteration is the whole run, the counters are per character.
void BM_TypeThousandOnPageOne(benchmark::State& state)
{
    Document& d = Shared();
    CDocBody& body = d.Body();
    const int at = MiddleOfPage(body, 1);
    const plat::StringView typed = u"文档mixed排版text";
    constexpr int kCharacters = 1000;
    std::vector<double> samples;
    for (auto _ : state) {
        body.SetCaret(CTextPos(at, body.GetName()));
        double total = 0;
        for (int k = 0; k < kCharacters; ++k) {
            const auto start = std::chrono::steady_clock::now();
            d.doc.InsertChar(typed[static_cast<std::size_t>(k) % typed.size()]);
            const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
            total += seconds;
            samples.push_back(seconds);
        }
        state.SetIterationTime(total);
        // Untimed: the run is taken out again so that every iteration meets the same text.
        state.PauseTiming();
        body.SetSelection(CTextPos(at + kCharacters, body.GetName()), CTextPos(at, body.GetName()));
        body.DeleteSelection();
        body.RelayoutWhole();
        d.doc.ClearUndo();
        state.ResumeTiming();
    }
    Percentiles(state, samples);
    Counters(state, body);
}
BENCHMARK(BM_TypeThousandOnPageOne)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

// A selection of N items from the middle of page 1 deleted through the document's
// EditDelete (undo snapshot, deletion, relayout); undone, untimed, before the next.
void BM_DeleteSelection(benchmark::State& state)
{
    Document& d = Shared();
    CDocBody& body = d.Body();
    const int at = MiddleOfPage(body, 1);
    const int count = static_cast<int>(state.range(0));
    for (auto _ : state) {
        body.SetSelection(CTextPos(at + count, body.GetName()), CTextPos(at, body.GetName()));
        const auto start = std::chrono::steady_clock::now();
        d.doc.EditDelete();
        state.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
        d.doc.EditUndo();
        d.doc.ClearUndo();
    }
    Counters(state, body);
}
BENCHMARK(BM_DeleteSelection)->Arg(1000)->Arg(100000)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_MemoryPerCharacter(benchmark::State& state)
{
    const int paragraphs = ParagraphCount();
    for (auto _ : state) {
        const std::size_t before = HeapInUse();
        auto d = std::make_unique<Document>();
        AppendParagraphs(d->Body(), paragraphs);
        d->Body().RelayoutWhole();
        const std::size_t after = HeapInUse();
        state.counters["bytes_per_char"] =
            static_cast<double>(after - before) / static_cast<double>(d->Body().GetCount());
        Counters(state, d->Body());
    }
}
BENCHMARK(BM_MemoryPerCharacter)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace
