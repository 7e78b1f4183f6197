// Exporting a 100-page document of mixed Chinese and Latin paragraphs, with a running
// head and page numbers, to PDF: every page rendered at the screen's resolution, saved as
// a JPEG picture and written into the file. Reported in pages per second.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include "document/char_width_cache.h"
#include "document/doc_body.h"
#include "document/doc_window.h"
#include "document/ql_doc.h"
#include "platform/base/strings.h"
#include "platform/base/system.h"

namespace {

constexpr int kPages = 100;

// One paragraph of about 150 characters, a fifth of them Latin words.
plat::String Paragraph(int n)
{
    const plat::StringView runs[] = {
        u"汉字排版与分页测试，",
        u"Mixed Latin text with digits 3.14159 and more. ",
        u"中文与English混排的段落。",
        u"“引号”和（括号）以及……省略号，",
        u"文档模型每个字符一个条目，宽度来自缓存。",
        u"导出把每一页画成图片，再写进文件。",
    };
    plat::String p;
    for (int k = 0; k < 7; ++k) p += runs[(n + k) % 6];
    return p + u"\r";
}

struct PagedDoc {
    CHeadlessDocWindow window;
    CCharWidthCache cache;
    CQlDoc doc{&window};

    PagedDoc()
    {
        doc.SetWidthCache(&cache);
        doc.Reset();
        CDocHeader& h = *doc.GetHeader();
        h.m_headerRule = CDocHeader::kDoubleRule;
        h.m_headerText = u"导出基准 Export benchmark";
        h.m_pageNumberStyle = CDocHeader::kPageOfPages;
        CDocBody& body = *doc.GetBody();
        constexpr int kSample = 100;
        Append(kSample);
        const double perPage = double(kSample) / body.GetPageCount();
        Append(static_cast<int>(perPage * (kPages - 2)) - kSample);
        while (body.GetPageCount() < kPages) Append(1);
    }
    void Append(int paragraphs)
    {
        CDocBody& body = *doc.GetBody();
        plat::String text;
        for (int p = 0; p < paragraphs; ++p) text += Paragraph(m_paragraphs++);
        int at = body.GetCount() - 1;
        body.InsertString(at, text, body.GetRunningCharFormat());
        body.Relayout(1, 0);
    }
    int m_paragraphs = 0;
};

void BM_ExportPdf(benchmark::State& state)
{
    static PagedDoc* paged = new PagedDoc; // built once
    CQlDoc& doc = paged->doc;
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
BENCHMARK(BM_ExportPdf)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);

} // namespace
