// Line layout speed: a frame of 2,000 paragraphs of mixed Chinese and Latin text in a few
// formats, measured, broken and placed in one column, as every edit of a frame does and
// as the page body does for the paragraphs around an edit. Reported as characters (text
// items) per second on one core.
#include <benchmark/benchmark.h>

#include <memory>

#include "document/char_width_cache.h"
#include "document/line_layout.h"
#include "document/ql_doc.h"
#include "document/text_frame.h"
#include "document/text_item.h"

namespace {

constexpr int kParagraphs = 2000;
constexpr int kFrameWidth = 8640; // six inches

std::unique_ptr<CTextFrameObj> Build(CQlDoc& doc)
{
    const plat::StringView runs[] = {
        u"汉字排版与分页测试，",
        u"Mixed Latin text with digits 3.14159 and more. ",
        u"中文与English混排的段落。",
        u"“引号”和（（括号））以及……省略号",
        u"The quick brown fox jumps over the lazy dog; ",
        u"文档模型每个字符一个条目，宽度来自缓存。",
    };
    CCharFormat formats[4];
    formats[1].m_bold = 1;
    formats[2].m_size = 315;
    formats[3].m_position = 1;
    auto box = std::make_unique<CTextFrameObj>(&doc, nullptr, kNodeTextShape, kFrameWidth, 1000, kAlignJustify);
    int at = 0;
    int run = 0;
    for (int p = 0; p < kParagraphs; ++p) {
        for (int k = 0; k < 5; ++k, ++run) box->InsertString(at, runs[run % 6], formats[run % 7 == 6 ? 1 + run % 3 : 0]);
        if (p + 1 < kParagraphs) box->InsertString(at, u"\r", formats[0]);
    }
    return box;
}

void BM_LayOutFrame(benchmark::State& state)
{
    CQlDoc doc;
    CCharWidthCache cache;
    doc.SetWidthCache(&cache);
    auto box = Build(doc);
    const int items = box->GetCount();
    for (auto _ : state) {
        box->RelayoutWhole();
        benchmark::DoNotOptimize(box->GetContentHeight());
    }
    state.SetItemsProcessed(state.iterations() * items);
    state.counters["chars"] = items;
    state.counters["chars_per_second"] =
        benchmark::Counter(static_cast<double>(items), benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_LayOutFrame)->Unit(benchmark::kMillisecond);

} // namespace
