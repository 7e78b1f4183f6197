// PDF export of a 100-page document: each page rendered into a bitmap (synthetic pages of
// text and shapes at the export's 96 dpi), saved as a JPEG file and written into the PDF.
// Reported in pages per second, whole and by stage.
//
// QUILN_BENCH_PDF=path keeps a copy of the last exported file there, to look at.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "io/pdf_export.h"
#include "io/pdf_page_writer.h"
#include "media/jpeg_file_saver.h"
#include "platform/base/system.h"
#include "platform/file/file.h"
#include "tests/io/synthetic_page.h"

namespace {

constexpr int kPages = 100;
constexpr int kA4WidthMm = 210;
constexpr int kA4HeightMm = 297;

const int kPageWidth = pdftest::PaperPixels(kA4WidthMm);
const int kPageHeight = pdftest::PaperPixels(kA4HeightMm);

plat::String Output(const char* name)
{
    return plat::TempDir() + plat::Utf8ToUtf16(name);
}

void PagesPerSecond(benchmark::State& state)
{
    state.counters["pages_per_second"] =
        benchmark::Counter(double(kPages) * double(state.iterations()), benchmark::Counter::kIsRate);
}

// The whole export, as the document runs it.
void BM_ExportPdf100Pages(benchmark::State& state)
{
    const plat::String path = Output("bench.pdf");
    for (auto _ : state) {
        bool ok = ExportPagesToPdf(path, kA4WidthMm, kA4HeightMm, kPages,
                                   [](int i) { return pdftest::RenderPage(i, kPageWidth, kPageHeight); });
        if (!ok) state.SkipWithError("export failed");
    }
    PagesPerSecond(state);
    if (const char* keep = std::getenv("QUILN_BENCH_PDF")) {
        plat::File in(path, plat::File::kRead);
        std::vector<char> data(in.GetLength());
        in.Read(data.data(), data.size());
        plat::File out(plat::Utf8ToUtf16(keep), plat::File::kWrite | plat::File::kCreate);
        out.Write(data.data(), data.size());
    }
}
BENCHMARK(BM_ExportPdf100Pages)->Unit(benchmark::kMillisecond);

// Stage 1: rendering the pages only.
void BM_RenderPages(benchmark::State& state)
{
    for (auto _ : state)
        for (int i = 0; i < kPages; ++i) benchmark::DoNotOptimize(pdftest::RenderPage(i, kPageWidth, kPageHeight));
    PagesPerSecond(state);
}
BENCHMARK(BM_RenderPages)->Unit(benchmark::kMillisecond);

// Stage 2: saving rendered pages as JPEG files.
void BM_SaveJpegs(benchmark::State& state)
{
    std::vector<std::unique_ptr<plat::Bitmap>> pages;
    for (int i = 0; i < kPages; ++i) pages.push_back(pdftest::RenderPage(i, kPageWidth, kPageHeight));
    const plat::String path = Output("bench-page.jpg");
    CJpegFileSaver saver;
    for (auto _ : state)
        for (const auto& page : pages)
            if (!saver.SaveBitmap(path, page.get())) state.SkipWithError("JPEG not saved");
    PagesPerSecond(state);
    plat::File::Remove(path);
}
BENCHMARK(BM_SaveJpegs)->Unit(benchmark::kMillisecond);

// Stage 3: writing the PDF from JPEG files already on disk.
void BM_WritePdfFromJpegs(benchmark::State& state)
{
    std::vector<plat::String> jpegs;
    CJpegFileSaver saver;
    for (int i = 0; i < kPages; ++i) {
        jpegs.push_back(plat::TempDir() + plat::Format(u"bench-%03d.jpg", i + 1));
        auto page = pdftest::RenderPage(i, kPageWidth, kPageHeight);
        saver.SaveBitmap(jpegs.back(), page.get());
    }
    const plat::String path = Output("bench-jpegs.pdf");
    for (auto _ : state) {
        CPdfPageWriter writer(path, kA4WidthMm, kA4HeightMm);
        for (int i = 0; i < kPages; ++i) writer.AddPageImage(jpegs[size_t(i)], i + 1);
        if (!writer.Close()) state.SkipWithError("PDF not written");
    }
    PagesPerSecond(state);
    for (const plat::String& jpeg : jpegs) plat::File::Remove(jpeg);
}
BENCHMARK(BM_WritePdfFromJpegs)->Unit(benchmark::kMillisecond);

} // namespace
