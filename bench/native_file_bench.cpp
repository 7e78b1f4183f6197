// The native file on a 500-page document of mixed Chinese and Latin paragraphs in a few
// formats, on the default page:
//   BM_Save  the whole document written (header, stores, palette, authors, annotations,
//            body), replacing the file of the run before;
//   BM_Open  that file read into a document and laid out, as opening it in the editor does;
//   BM_FirstOpen/N  the file of an N-page document opened by a process of its own
//            (quiln_first_open), start to exit, as the editor's first open meets it cold.
// The file's size is reported as the counter "bytes".
#include <benchmark/benchmark.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <fcntl.h>
#include <spawn.h>
#include <unistd.h>
#include <string>
#include <sys/wait.h>

#include "document/char_width_cache.h"
#include "document/doc_body.h"
#include "document/doc_frame.h"
#include "document/doc_view.h"
#include "document/ql_doc.h"
#include "platform/base/system.h"
#include "bench/bench_documents.h"

namespace {

constexpr int kTargetPages = 500;

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
        benchdocs::AppendMixedPages(source.doc, kTargetPages);
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

void BM_FirstOpen(benchmark::State& state)
{
    const int pages = static_cast<int>(state.range(0));
    const std::string path = plat::TempDirUtf8() + "first_open_" + std::to_string(pages) + ".qln";
    {
        // The document of the program's --write, so that a timing from the shell meets the same file.
        Document source;
        benchdocs::AppendMixedPages(source.doc, pages);
        if (!source.doc.FileSave(plat::Utf8ToUtf16(path))) state.SkipWithError("save failed");
    }
    char* const argv[] = {const_cast<char*>(QUILN_FIRST_OPEN), const_cast<char*>(path.c_str()), nullptr};
    posix_spawn_file_actions_t quiet;
    posix_spawn_file_actions_init(&quiet);
    posix_spawn_file_actions_addopen(&quiet, 1, "/dev/null", O_WRONLY, 0);
    for (auto _ : state) {
        pid_t child = 0;
        int status = 0;
        if (posix_spawn(&child, argv[0], &quiet, nullptr, argv, environ) != 0 || waitpid(child, &status, 0) != child ||
            !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            state.SkipWithError("the opening process failed");
            break;
        }
    }
    posix_spawn_file_actions_destroy(&quiet);
    state.counters["bytes"] = static_cast<double>(std::filesystem::file_size(path));
    state.counters["pages"] = pages;
}
BENCHMARK(BM_FirstOpen)->Arg(50)->Arg(500)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3.0);

} // namespace
