// Painting one page of a 500-page document of mixed Chinese and Latin paragraphs into a
// bitmap at 100 %, with its page number and running head: as printing, print preview and
// the PDF export do it (batched Western runs), and as the screen does it (item by item).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <memory>

#include "document/char_width_cache.h"
#include "document/doc_body.h"
#include "document/doc_window.h"
#include "document/ql_doc.h"
#include "platform/gfx/bitmap.h"
#include "platform/gfx/dc.h"

namespace {

constexpr int kTargetPages = 500;

// One paragraph of about 150 characters, a fifth of them Latin words.
plat::String Paragraph(int n)
{
    const plat::StringView runs[] = {
        u"汉字排版与分页测试，",
        u"Mixed Latin text with digits 3.14159 and more. ",
        u"中文与English混排的段落。",
        u"“引号”和（括号）以及……省略号，",
        u"文档模型每个字符一个条目，宽度来自缓存。",
        u"页面绘制把每一行的字符逐个画到位图上。",
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
        h.m_headerText = u"基准测试 Benchmark";
        CDocBody& body = *doc.GetBody();
        // Paragraphs per page from a sample, then nearly all the rest in one insertion and
        // one layout, then the last page's worth.
        constexpr int kSample = 200;
        Append(kSample);
        const double perPage = double(kSample) / body.GetPageCount();
        Append(static_cast<int>(perPage * (kTargetPages - 2)) - kSample);
        while (body.GetPageCount() < kTargetPages) Append(static_cast<int>(perPage / 2) + 1);
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

PagedDoc& Doc()
{
    static PagedDoc* doc = new PagedDoc; // built once for every benchmark
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
