// Writes the long test document (mixed Chinese and Latin text in several faces, list-like
// paragraphs, tables, pictures and footnotes) and has LibreOffice save it as RTF:
//   quiln_rtf_make_long OUTPUT-FOLDER PICTURE.png [PARAGRAPHS]
// leaves OUTPUT-FOLDER/long.rtf.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "tests/io/made_documents.h"

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s OUTPUT-FOLDER PICTURE.png [PARAGRAPHS]\n", argv[0]);
        return 2;
    }
    const int paragraphs = argc > 3 ? std::atoi(argv[3]) : 5000;
    const auto png = madedocs::ReadBytes(argv[2]);
    std::string error;
    if (!madedocs::MakeRtfFiles(argv[1], {{"long", madedocs::LongDocument(paragraphs, png)}}, error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    return 0;
}
