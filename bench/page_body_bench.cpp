// The page body on a document of about 495 pages of mixed Chinese and Latin paragraphs in
// a few formats, on the default page (200 x 287 mm, 20 mm margins):
//   BM_FullRelayout      every item measured, broken and placed, objects re-anchored;
//   BM_Keystroke/N       one character typed in the middle of page N through the document's
//                        InsertChar (undo snapshot, insert at the caret, which re-flows the
//                        body around it, format state refreshed, modified, scroll to the
//                        caret), reported per keystroke with its median;
//   BM_LineAddingKeystroke/N  on page 1 of a document of N pages, keys that add or take
//                        away a line: Enter splitting a paragraph, a character at the end
//                        of a paragraph's full last line that wraps onto a new line,
//                        Backspace at a paragraph's start joining it to the one before, and
//                        Backspace taking away the one character of a paragraph's last line;
//   BM_TypeThousandOnPageOne  1,000 characters typed one by one into page 1 through
//                        InsertChar, with the median and 90th percentile per character;
//   BM_DeleteSelection/N N items from page 1 deleted through EditDelete;
//   BM_MemoryPerCharacter heap bytes per text item of the laid-out document;
//   BM_KeystrokeWithObjects/N/P  a character typed in the middle of page 1 of a document
//                        with four fifths of the text of P pages (about 0.8 P pages, more
//                        where the objects take room) and N floating objects spread over
//                        its pages;
//   BM_EnterWithAnchoredObjects/N/P  Enter typed there, so that the N objects anchored to
//                        the paragraphs below follow them down.
// Each keystroke is taken back (untimed) before the next, so every one meets the same text.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <map>
#include <memory>
#include <tuple>
#include <vector>

#include "bench/bench_memory.h"
#include "document/char_width_cache.h"
#include "document/doc_body.h"
#include "document/doc_frame.h"
#include "document/doc_view.h"
#include "document/format_state.h"
#include "document/ql_doc.h"
#include "document/text_item.h"
#include "bench/bench_documents.h"
#include "tests/document/test_object.h"

namespace {

constexpr int kTargetPages = 495;

using benchmem::HeapInUse;

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

// How many paragraphs make about `pages` pages: a sample sets how many a page holds.
int ParagraphCount(int pages = kTargetPages)
{
    static const int perPage = [] {
        Document d;
        const int sample = 400;
        AppendParagraphs(d.Body(), sample);
        d.Body().RelayoutWhole();
        return std::max(1, sample / std::max(1, d.Body().GetPageCount() - 1));
    }();
    return pages * perPage;
}

// A laid-out document of about `pages` pages, made once for the whole run.
Document& OfPages(int pages)
{
    static std::map<int, std::unique_ptr<Document>> made;
    std::unique_ptr<Document>& d = made[pages];
    if (!d) {
        d = std::make_unique<Document>();
        AppendParagraphs(d->Body(), ParagraphCount(pages));
        d->Body().RelayoutWhole();
    }
    return *d;
}

Document& Shared()
{
    return OfPages(kTargetPages);
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

// Puts the caret at `caret` and times `key()`, once an iteration; `takeBack()` (untimed)
// undoes it so that the next meets the same text. The history is emptied after each.
template <class Key, class TakeBack>
void TimeKeystrokes(benchmark::State& state, Document& d, int caret, Key key, TakeBack takeBack)
{
    CDocBody& body = d.Body();
    std::vector<double> samples;
    for (auto _ : state) {
        body.SetCaret(CTextPos(caret, body.GetName()));
        const auto start = std::chrono::steady_clock::now();
        key();
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        state.SetIterationTime(seconds);
        samples.push_back(seconds);
        takeBack();
        d.doc.ClearUndo();
    }
    Percentiles(state, samples);
    Counters(state, body);
}

// One key typed in the middle of page range(0) through the document's command: undo
// snapshot, insertion at the caret with the body re-flowed around it, formats into the
// state, modified, scroll. Each is taken back (untimed) so the next meets the same text.
void TypeKeyInPage(benchmark::State& state, char16_t key, Document& d, int page)
{
    const int at = MiddleOfPage(d.Body(), page);
    TimeKeystrokes(state, d, at, [&] { d.doc.InsertChar(key); }, [&] { d.Body().OnBackspace(); });
}

// A character.
void BM_Keystroke(benchmark::State& state)
{
    TypeKeyInPage(state, u'字', Shared(), static_cast<int>(state.range(0)));
}
BENCHMARK(BM_Keystroke)->Arg(1)->Arg(250)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2.0);

// The keystrokes that add or take away a line on page 1.
enum LineKey : int { kEnter, kWrapCharacter, kJoinParagraphs, kUnwrapCharacter };

// The first item of the paragraph that holds `index`.
int ParagraphStart(const CDocBody& body, int index)
{
    while (index > 0 && !IsParaEndType(body.GetItem(index - 1)->GetNodeType())) --index;
    return index;
}

// Fills the last line of the paragraph that ends after the middle of page 1 with `key`
// until one more would wrap onto a new line; `typed` says how many went in. Returns the
// index of that paragraph's end.
int FillLastLine(Document& d, char16_t key, int& typed)
{
    CDocBody& body = d.Body();
    int end = MiddleOfPage(body, 1);
    while (body.GetItem(end)->GetNodeType() != kItemParaEnd) ++end;
    for (typed = 0;; ++typed, ++end) {
        body.SetCaret(CTextPos(end, body.GetName()));
        d.doc.InsertChar(key);
        d.doc.ClearUndo();
        if (body.GetItem(end)->GetLineTop() != body.GetItem(end - 1)->GetLineTop()) break;
    }
    body.SetCaret(CTextPos(end + 1, body.GetName()));
    body.OnBackspace();
    return end;
}

// One keystroke that adds or takes away a line on page 1 of a document of range(0) pages,
// through the document's commands (undo snapshot, the edit with the body re-flowed around
// it, formats into the state, modified, scroll).
void BM_LineAddingKeystroke(benchmark::State& state, LineKey key)
{
    Document& d = OfPages(static_cast<int>(state.range(0)));
    CDocBody& body = d.Body();
    constexpr char16_t kWide = u'字';
    int at = MiddleOfPage(body, 1);
    if (key == kJoinParagraphs) at = ParagraphStart(body, at);
    int filled = 0;
    if (key == kWrapCharacter || key == kUnwrapCharacter) at = FillLastLine(d, kWide, filled);
    auto typeAt = [&](int index, char16_t code) {
        body.SetCaret(CTextPos(index, body.GetName()));
        d.doc.InsertChar(code);
    };
    // Backspace takes away a character typed, untimed, before the timing starts.
    if (key == kUnwrapCharacter) typeAt(at, kWide);
    d.doc.ClearUndo();
    auto type = [&](char16_t code) { return [&d, code] { d.doc.InsertChar(code); }; };
    auto backspace = [&] { d.doc.Backspace(); };
    auto retype = [&](int index, char16_t code) { return [typeAt, index, code] { typeAt(index, code); }; };
    auto takeBack = [&] { body.OnBackspace(); };
    switch (key) {
    case kEnter: TimeKeystrokes(state, d, at, type(u'\r'), takeBack); break;
    case kWrapCharacter: TimeKeystrokes(state, d, at, type(kWide), takeBack); break;
    case kJoinParagraphs: TimeKeystrokes(state, d, at, backspace, retype(at - 1, u'\r')); break;
    case kUnwrapCharacter:
        TimeKeystrokes(state, d, at + 1, backspace, retype(at, kWide));
        ++filled;
        break;
    }
    // The characters that filled the line go again.
    if (filled > 0) {
        body.SetSelection(CTextPos(at - filled + (key == kUnwrapCharacter), body.GetName()),
                          CTextPos(at + (key == kUnwrapCharacter), body.GetName()));
        body.DeleteSelection();
    }
    d.doc.ClearUndo();
}
BENCHMARK_CAPTURE(BM_LineAddingKeystroke, enter, kEnter)
    ->Arg(50)->Arg(kTargetPages)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK_CAPTURE(BM_LineAddingKeystroke, wrap_character, kWrapCharacter)
    ->Arg(50)->Arg(kTargetPages)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK_CAPTURE(BM_LineAddingKeystroke, join_paragraphs, kJoinParagraphs)
    ->Arg(50)->Arg(kTargetPages)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK_CAPTURE(BM_LineAddingKeystroke, unwrap_character, kUnwrapCharacter)
    ->Arg(50)->Arg(kTargetPages)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2.0);

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

// Where the test objects of a document go: spread evenly down every page, or one a page
// from page 1 on, in the lower half of the page, below the middle where the keys are typed.
enum class Placement { kSpread, kBelowCaret };

// A laid-out document of about `pages` pages with `objects` test objects placed as asked,
// down alternate sides of the text, each anchored to the paragraph above it by the first
// layout. Built once for the last set of arguments; other arguments replace it.
Document& WithObjects(int objects, int pages, Placement placement)
{
    static objtest::ScopedTestKind kind;
    static std::unique_ptr<Document> d;
    static std::tuple<int, int, Placement> key;
    if (d && key == std::make_tuple(objects, pages, placement)) return *d;
    d.reset();
    d = std::make_unique<Document>();
    key = {objects, pages, placement};
    CDocBody& body = d->Body();
    // Four fifths of the text the pages hold, so that the room a thousand objects take
    // keeps the text within the 500 pages.
    AppendParagraphs(body, std::max(1, ParagraphCount() * pages * 4 / 5 / kTargetPages));
    const bool spread = placement == Placement::kSpread;
    const int span = spread ? pages : std::min(objects, pages);
    const int perPage = (objects + span - 1) / span;
    for (int k = 0; k < objects; ++k) {
        const plat::Rect text = body.GetPageFrame(k % span).m_rect;
        const int bandTop = spread ? text.top : (text.top + text.bottom) / 2 + 1000;
        const int slot = k / span;
        const int step = (text.bottom - bandTop) / perPage;
        const int width = 1800;
        const int height = std::min(1000, step * 2 / 3);
        const int left = (k + slot) % 2 == 0 ? text.left : text.right - width;
        const int top = bandTop + slot * step + (step - height) / 2;
        body.AddObject(objtest::NewObject(&d->doc, left, top, width, height));
    }
    body.BuildPageRegions();
    body.RelayoutWhole();
    return *d;
}

// A character in the middle of page 1.
void BM_KeystrokeWithObjects(benchmark::State& state)
{
    const int objects = static_cast<int>(state.range(0));
    TypeKeyInPage(state, u'字', WithObjects(objects, static_cast<int>(state.range(1)), Placement::kSpread), 1);
}
BENCHMARK(BM_KeystrokeWithObjects)
    ->ArgsProduct({{1, 100, 1000}, {50, 500}})
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->MinTime(1.0);

// Enter in the middle of page 1, with the objects one a page from page 1 on, below it: the
// text below moves down a line and the objects anchored to it follow.
void BM_EnterWithAnchoredObjects(benchmark::State& state)
{
    const int objects = static_cast<int>(state.range(0));
    TypeKeyInPage(state, u'\r', WithObjects(objects, static_cast<int>(state.range(1)), Placement::kBelowCaret), 1);
}
BENCHMARK(BM_EnterWithAnchoredObjects)
    ->ArgsProduct({{10, 100}, {50, 500}})
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->MinTime(1.0);

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
