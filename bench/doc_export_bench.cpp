// Exporting a document of mixed Chinese and Latin paragraphs, with a running head and page
// numbers, to PDF: every page rendered at the screen's resolution, saved as a JPEG picture
// and written into the file. The argument is the number of pages; reported in pages per
// second.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <memory>
#include <string>

#include "bench/bench_documents.h"
#include "document/ql_doc.h"
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
    std::FILE* f = std::fopen(path.c_str(), "rb");
    long bytes = 0;
    if (f) {
        std::fseek(f, 0, SEEK_END);
        bytes = std::ftell(f);
        std::fclose(f);
    }
    std::remove(path.c_str());
    state.counters["pages"] = doc.GetPageCount();
    state.counters["pages/s"] = benchmark::Counter(pages, benchmark::Counter::kIsRate);
    state.counters["file_kB"] = double(bytes) / 1024;
}
BENCHMARK(BM_ExportPdf)->Arg(50)->Arg(500)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);

} // namespace
