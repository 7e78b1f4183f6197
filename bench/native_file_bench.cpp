// The native file on a 500-page document of mixed Chinese and Latin paragraphs in a few
// formats, on the default page:
//   BM_Save  the whole document written (header, stores, palette, authors, annotations,
//            body), replacing the file of the run before;
//   BM_Open  that file read into a document and laid out, as opening it in the editor does.
// The file's size is reported as the counter "bytes".
#include <benchmark/benchmark.h>

#include <algorithm>
#include <filesystem>
#include <memory>

#include "document/char_width_cache.h"
#include "document/doc_body.h"
#include "document/doc_frame.h"
#include "document/doc_view.h"
#include "document/ql_doc.h"
#include "platform/base/system.h"
#include "bench/bench_documents.h"

namespace {

constexpr int kTargetPages = 500;

void AppendParagraphs(CDocBody& body, int paragraphs, int& run)
{
    benchdocs::AppendMixedParagraphs(body, paragraphs, run);
    body.RelayoutWhole();
}

struct Document {
    CHeadlessDocView view;
    CHeadlessDocFrame frame;
    CCharWidthCache cache;
    CQlDoc doc{&view, &frame};
    Document()
    {
        doc.SetWidthCache(&cache);
        doc.FileNew();
    }
    CDocBody& Body() const { return *doc.GetBody(); }
};

struct Shared {
    Document source;
    plat::String path;
    Shared()
    {
        // Paragraphs per page from a sample, then the rest in one go, then page by page.
        int run = 0;
        constexpr int kSample = 200;
        AppendParagraphs(source.Body(), kSample, run);
        const double perPage = double(kSample) / source.Body().GetPageCount();
        AppendParagraphs(source.Body(), static_cast<int>(perPage * (kTargetPages - 2)) - kSample, run);
        while (source.Body().GetPageCount() < kTargetPages)
            AppendParagraphs(source.Body(), static_cast<int>(perPage / 2) + 1, run);
        source.doc.GetAnnotations().Add(0, 1700000000, u"基准测试的批注");
        path = plat::TempDir() + u"native_file_bench.qln";
        source.doc.FileSave(path);
    }
};

Shared& Get()
{
    static Shared* shared = new Shared; // built once for both benchmarks
    return *shared;
}

double FileBytes(const plat::String& path)
{
    return static_cast<double>(std::filesystem::file_size(plat::Utf16ToUtf8(path)));
}

void BM_Save(benchmark::State& state)
{
    Shared& s = Get();
    for (auto _ : state) {
        if (!s.source.doc.FileSave(s.path)) state.SkipWithError("save failed");
    }
    state.counters["bytes"] = FileBytes(s.path);
    state.counters["pages"] = s.source.doc.GetPageCount();
    state.counters["items"] = s.source.Body().GetCount();
}
BENCHMARK(BM_Save)->Unit(benchmark::kMillisecond);

void BM_Open(benchmark::State& state)
{
    Shared& s = Get();
    Document target;
    for (auto _ : state) {
        if (!target.doc.FileOpen(s.path, false)) state.SkipWithError("open failed");
    }
    if (target.doc.GetPageCount() != s.source.doc.GetPageCount()) state.SkipWithError("pages differ");
    state.counters["bytes"] = FileBytes(s.path);
    state.counters["pages"] = target.doc.GetPageCount();
}
BENCHMARK(BM_Open)->Unit(benchmark::kMillisecond);

} // namespace
