// Keystrokes through the editor window on a document of about 495 pages of mixed Chinese
// and Latin paragraphs (the same as the page body's benchmarks):
//   BM_ViewKeystroke/N   one character typed in the middle of page N as the user types it:
//                        WM_CHAR to the focused canvas, the document's InsertChar (undo
//                        snapshot, insertion, re-flow, caret scrolled into view), and the
//                        canvas's invalidated area painted by the message loop; reported per
//                        keystroke with its median beside the document-only BM_Keystroke of
//                        bench_page_body.
// Each keystroke is taken back (untimed) before the next, so every one meets the same text.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <vector>

#include "bench/bench_documents.h"
#include "document/char_width_cache.h"
#include "document/doc_body.h"
#include "document/doc_frame.h"
#include "document/ql_doc.h"
#include "document/text_item.h"
#include "editor/ql_view.h"
#include "platform/ui/focus.h"
#include "platform/ui/keyboard.h"
#include "platform/ui/message_queue.h"

namespace {

constexpr int kTargetPages = 495;

// A frame window with a pane's view over the whole of it, as on a 1024 x 768 screen.
struct Pane {
    CHeadlessDocFrame frame;
    CCharWidthCache cache;
    plat::Window top;
    std::unique_ptr<CQlView> view;
    Pane()
    {
        top.Create(nullptr, plat::Rect(0, 0, 1024, 768), plat::kWsVisible);
        view = std::make_unique<CQlView>(&frame, &cache);
        view->CreateView(&top, plat::Rect(0, 0, 1024, 768), 1);
        plat::SetFocus(view->GetCanvas());
    }
    CQlDoc& Doc() const { return *view->GetDocument(); }
    CDocBody& Body() const { return *Doc().GetBody(); }
};

// How many paragraphs make about kTargetPages pages: a sample sets how many a page holds.
int ParagraphCount()
{
    CHeadlessDocView view;
    CHeadlessDocFrame frame;
    CCharWidthCache cache;
    CQlDoc doc(&view, &frame);
    doc.SetWidthCache(&cache);
    doc.Reset();
    const int sample = 400;
    int run = 0;
    benchdocs::AppendMixedParagraphs(*doc.GetBody(), sample, run);
    doc.GetBody()->RelayoutWhole();
    return kTargetPages * std::max(1, sample / std::max(1, doc.GetBody()->GetPageCount() - 1));
}

Pane& Shared()
{
    static Pane* pane = [] {
        auto* p = new Pane;
        int run = 0;
        benchdocs::AppendMixedParagraphs(p->Body(), ParagraphCount(), run);
        p->Body().RelayoutWhole();
        p->Doc().SetModified(false);
        p->view->LayoutChildren();
        p->Doc().RequestRepaint();
        plat::PumpMessages();
        return p;
    }();
    return *pane;
}

using benchdocs::MiddleOfPage;

void BM_ViewKeystroke(benchmark::State& state)
{
    Pane& p = Shared();
    CDocBody& body = p.Body();
    const int at = MiddleOfPage(body, static_cast<int>(state.range(0)));
    body.SetCaret(CTextPos(at, body.GetName()));
    p.Doc().ScrollToCaret();
    plat::PumpMessages();
    std::vector<double> samples;
    for (auto _ : state) {
        body.SetCaret(CTextPos(at, body.GetName()));
        const auto start = std::chrono::steady_clock::now();
        plat::TypeText(u"字");
        plat::PumpMessages();
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        state.SetIterationTime(seconds);
        samples.push_back(seconds);
        body.OnBackspace();
        p.Doc().ClearUndo();
    }
    std::sort(samples.begin(), samples.end());
    if (!samples.empty()) {
        state.counters["median_ms"] = samples[samples.size() / 2] * 1000;
        state.counters["p90_ms"] = samples[samples.size() * 9 / 10] * 1000;
    }
    state.counters["pages"] = body.GetPageCount();
    state.counters["modified"] = p.Doc().IsModified();
}
BENCHMARK(BM_ViewKeystroke)->Arg(1)->Arg(250)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2.0);

} // namespace
