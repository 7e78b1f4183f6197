// Throughput of the serialisation archive: counted strings and integers to memory.
#include <benchmark/benchmark.h>

#include "platform/file/archive.h"

static void BM_ArchiveStoreLoad(benchmark::State& state)
{
    plat::String text(static_cast<size_t>(state.range(0)), u'字');
    for (auto _ : state) {
        plat::MemFile mem;
        {
            plat::Archive ar(mem, plat::Archive::kStore);
            for (int i = 0; i < 1000; ++i) ar << std::int32_t(i) << text;
            ar.Close();
        }
        mem.Seek(0, plat::Stream::kBegin);
        plat::Archive ar(mem, plat::Archive::kLoad);
        for (int i = 0; i < 1000; ++i) {
            benchmark::DoNotOptimize(ar.ReadI32());
            benchmark::DoNotOptimize(ar.ReadString());
        }
        state.SetBytesProcessed(state.bytes_processed() + static_cast<int64_t>(mem.GetLength()));
    }
}
BENCHMARK(BM_ArchiveStoreLoad)->Arg(8)->Arg(300);
