// A native file opened in a process of its own, as the editor's first open after it
// starts: fonts, formats and the item arena all meet it cold. Timed from outside as a
// whole process (BM_FirstOpen in native_file_bench.cpp starts it).
//   quiln_first_open PATH                 opens the file; prints its pages and items
//   quiln_first_open --write PAGES PATH   writes the benchmarks' document of that length
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "bench/bench_documents.h"
#include "platform/base/strings.h"

int main(int argc, char** argv)
{
    CHeadlessDocView view;
    CHeadlessDocFrame frame;
    CCharWidthCache cache;
    CQlDoc doc{&view, &frame};
    doc.SetWidthCache(&cache);
    doc.FileNew();
    if (argc == 4 && std::strcmp(argv[1], "--write") == 0) {
        benchdocs::AppendMixedPages(doc, std::atoi(argv[2]));
        return doc.FileSave(plat::Utf8ToUtf16(argv[3])) ? 0 : 1;
    }
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s PATH | --write PAGES PATH\n", argv[0]);
        return 2;
    }
    if (!doc.FileOpen(plat::Utf8ToUtf16(argv[1]), false)) return 1;
    std::printf("%d pages, %d items\n", doc.GetPageCount(), doc.GetBody()->GetCount());
    return 0;
}
