// Exporting a document of mixed Chinese and Latin paragraphs, with a running head and page
// numbers, to PDF: every page rendered at the screen's resolution, saved as a JPEG picture
// and written into the file. The argument is the number of pages; reported in pages per
// second. The same document's text as an HTML page in code page 936, one in UTF-16, and
// RTF, reported with the file's size.
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
    CQlDoc& doc = Doc(static_cast<int>(state.range(0))).doc;
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
    state.counters["file_kB"] = double(FileBytes(path)) / 1024;
    std::remove(path.c_str());
}
BENCHMARK_CAPTURE(BM_ExportText, html_cp936, TextExport::kHtml8Bit)
    ->Arg(500)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK_CAPTURE(BM_ExportText, html_utf16, TextExport::kHtmlUtf16)
    ->Arg(500)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK_CAPTURE(BM_ExportText, rtf, TextExport::kRtf)
    ->Arg(500)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);

} // namespace
