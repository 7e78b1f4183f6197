// The cost of one text item per character: heap bytes per item of a container of a
// million mixed Chinese and Latin characters in a handful of formats, and the time to
// save and load it as a native-file record.
#include <benchmark/benchmark.h>

#include <memory>

#include "bench/bench_memory.h"
#include "document/format_pool.h"
#include "document/named_container.h"
#include "document/ql_doc.h"
#include "document/text_item.h"
#include "platform/file/archive.h"

namespace {

constexpr int kItems = 1000000;

using benchmem::HeapInUse;

// Exactly `items` items: runs of text in five formats (two authors among them), a
// paragraph end every 60 runs or so, and the final paragraph end.
std::unique_ptr<CNamedContainer> Build(CQlDoc& doc, int items)
{
    const plat::StringView runs[] = {
        u"汉字排版与分页测试，",
        u"Mixed Latin text with digits 12345. ",
        u"中文与English混排的段落。",
        u"“引号”和（括号）以及……省略号",
        u"The quick brown fox jumps over the lazy dog; ",
        u"文档模型每个字符一个条目。",
    };
    CCharFormat formats[5];
    formats[1].m_bold = 1;
    formats[2].m_chineseFace = u"黑体";
    formats[2].m_westernFace = u"Arial";
    formats[2].m_size = 315;
    formats[3].m_color = 0x0000C0;
    formats[4].m_italic = 1;
    formats[4].m_underline = 1;

    auto box = std::make_unique<CNamedContainer>(&doc, nullptr);
    int at = 0;
    for (int run = 0; box->GetCount() < items - 1; ++run) {
        doc.SetCurAuthorIndex(static_cast<std::int16_t>(run % 7 == 0 ? 1 : 0));
        plat::StringView text = run % 61 == 60 ? plat::StringView(u"\r") : runs[run % 6];
        std::size_t room = static_cast<std::size_t>(items - 1 - box->GetCount());
        box->InsertString(at, text.substr(0, room), formats[run % 5]);
    }
    box->AddItem(std::make_unique<CParaEndItem>(box.get(), kItemFinalParaEnd));
    return box;
}

CQlDoc& Doc()
{
    static CQlDoc* doc = [] {
        auto* d = new CQlDoc;
        d->GetAuthors().Append(0, u"");
        d->GetAuthors().Append(5, u"甲");
        return d;
    }();
    return *doc;
}

std::vector<std::uint8_t> SaveFile(CNamedContainer& box)
{
    plat::MemFile mem;
    plat::Archive ar(mem, plat::Archive::kStore);
    CCharFormat running(box.GetDoc());
    box.Save(ar, running, kArchiveFile);
    ar.Close();
    return mem.Detach();
}

CNamedContainer& Shared()
{
    static CNamedContainer* box = Build(Doc(), kItems).release();
    return *box;
}

} // namespace

// Runs first, on a fresh heap: later benchmarks leave their items' blocks for reuse.
static void BM_BytesPerItem(benchmark::State& state)
{
    for (auto _ : state) {
        std::size_t before = HeapInUse();
        std::unique_ptr<CNamedContainer> box = Build(Doc(), kItems);
        std::size_t after = HeapInUse();
        state.counters["items"] = box->GetCount();
        state.counters["bytes_per_item"] = static_cast<double>(after - before) / box->GetCount();
        state.counters["pooled_formats"] = static_cast<double>(CFormatPool::Instance().LiveCount());
        state.PauseTiming();
        box.reset();
        state.ResumeTiming();
    }
}
// One run only: a second would reuse the first one's freed item blocks and measure nothing.
BENCHMARK(BM_BytesPerItem)->Iterations(1)->Repetitions(1)->Unit(benchmark::kMillisecond);

static void BM_SaveFileRecord(benchmark::State& state)
{
    CNamedContainer& box = Shared();
    std::size_t bytes = 0;
    for (auto _ : state) bytes = SaveFile(box).size();
    state.counters["items"] = box.GetCount();
    state.counters["record_bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_SaveFileRecord)->Unit(benchmark::kMillisecond);

static void BM_LoadFileRecord(benchmark::State& state)
{
    const std::vector<std::uint8_t> data = SaveFile(Shared());
    int items = 0;
    for (auto _ : state) {
        plat::MemFile mem(data);
        plat::Archive ar(mem, plat::Archive::kLoad);
        auto box = std::make_unique<CNamedContainer>(&Doc(), nullptr);
        CCharFormat running(&Doc());
        box->Load(ar, running, kArchiveFile);
        items = box->GetCount();
        state.PauseTiming();
        box.reset();
        state.ResumeTiming();
    }
    state.counters["items"] = items;
}
BENCHMARK(BM_LoadFileRecord)->Unit(benchmark::kMillisecond);
