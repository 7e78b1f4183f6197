// The RTF import: a 500-page RTF with 200 pictures and tables read into a new document,
// and the import sink's text path beside inserting one character at a time at an index.
// Tables and pictures go to the tests' recording kinds where the real kinds are not
// registered (the figures then leave out the real kinds' own work).
#include <benchmark/benchmark.h>

#include <string>

#include "document/page_object_list.h"
#include "io/rtf_reader.h"
#include "objects/object_kinds.h"
#include "tests/io/rtf_support.h"

namespace {

void RegisterKinds()
{
    static const bool once = [] {
        RegisterObjectKinds();
        CQlDoc probe;
        probe.Reset();
        if (!CreateDocObject(&probe, kNodeTable, &probe.GetBody()->GetObjectList()))
            RegisterDocObject(kNodeTable, &rtftest::MakeFakeTable);
        if (!CreateDocObject(&probe, kNodeImage, &probe.GetBody()->GetObjectList()))
            RegisterDocObject(kNodeImage, &rtftest::MakeFakePicture);
        return true;
    }();
    (void)once;
}

// About 500 pages of A4: paragraphs of mixed code page 936 and Latin text in several faces
// and sizes, with a 3 x 2 table and a small PNG picture every 78 paragraphs (100 of each).
const std::string& LongRtf()
{
    static const std::string rtf = [] {
        std::string r = "{\\rtf1\\ansi\\ansicpg936{\\fonttbl{\\f0\\fnil\\fcharset134 \\'cb\\'ce\\'cc\\'e5;}"
                        "{\\f1\\froman\\fcharset0 Times New Roman;}{\\f2\\fswiss\\fcharset0 Arial;}}"
                        "{\\colortbl;\\red255\\green0\\blue0;}\\paperw11906\\paperh16838\n";
        const std::string chinese = "\\'d6\\'d0\\'ce\\'c4\\'ba\\'cd\\'d3\\'a2\\'ce\\'c4\\'bb\\'ec\\'c5\\'c5";
        for (int p = 0; p < 7800; ++p) {
            r += "\\pard\\qj\\fi420 \\f" + std::to_string(p % 3) + "\\fs" + std::to_string(p % 2 ? 21 : 24) + " ";
            for (int k = 0; k < 3; ++k) r += chinese + " mixed Latin text, {\\b bold} and {\\cf1 red} ";
            r += "\\par\n";
            if (p % 78 == 39)
                r += "\\trowd\\cellx3000\\cellx6000\\pard\\intbl a\\cell b\\cell\\row\\trowd\\cellx3000\\cellx6000"
                     "\\pard\\intbl c\\cell d\\cell\\row\\trowd\\cellx6000\\pard\\intbl e\\cell\\row\\pard{}\n";
            if (p % 78 == 77) r += "{\\pict\\pngblip\\picw64\\pich48 89504e470d0a1a0a}\n";
        }
        return r + "}";
    }();
    return rtf;
}

void BM_ReadLongRtf(benchmark::State& state)
{
    RegisterKinds();
    const std::string& rtf = LongRtf();
    for (auto _ : state) {
        CQlDoc doc;
        doc.Reset();
        PrepareImportSink(doc, ImportMode::kOpen);
        CRtfReader reader;
        const int result = reader.ReadBuffer(reinterpret_cast<const std::uint8_t*>(rtf.data()), rtf.size());
        ResetImportSink();
        doc.GetBody()->BuildPageRegions();
        doc.GetBody()->RelayoutWhole();
        if (result != 1) state.SkipWithError("the RTF did not read to its end");
        state.counters["pages"] = doc.GetPageCount();
        state.counters["objects"] = doc.GetBody()->GetObjectCount();
        state.counters["items"] = doc.GetBody()->GetCount();
    }
}
BENCHMARK(BM_ReadLongRtf)->Unit(benchmark::kMillisecond)->Iterations(3);

// A body of about 500 pages.
void FillBody(CQlDoc& doc)
{
    std::u16string text;
    for (int p = 0; p < 12000; ++p) text += u"中文和英文混排 mixed Latin text, bold and red 中文和英文混排 words.\r";
    doc.GetBody()->InsertItemsAtCaret(text);
    doc.GetBody()->BuildPageRegions();
    doc.GetBody()->RelayoutWhole();
}

// 10,000 characters sent to the sink one call each, pasted on page 1.
void BM_SinkTextOnPageOne(benchmark::State& state)
{
    for (auto _ : state) {
        state.PauseTiming();
        CQlDoc doc;
        doc.Reset();
        FillBody(doc);
        doc.GetBody()->SetSelection(CTextPos(10, doc.GetBody()->GetName()), CTextPos(10, doc.GetBody()->GetName()));
        state.ResumeTiming();
        PrepareImportSink(doc, ImportMode::kPaste);
        for (int k = 0; k < 10000; ++k) {
            const char16_t c = k % 50 == 49 ? u'\r' : static_cast<char16_t>(u'a' + k % 26);
            ImportInsertText(std::u16string_view(&c, 1));
        }
        ImportFlush();
        ResetImportSink();
    }
}
BENCHMARK(BM_SinkTextOnPageOne)->Unit(benchmark::kMillisecond)->Iterations(3);

// The same characters each inserted at its index by the container, as a sink that
// inserted a character at a time would.
void BM_CharAtATimeOnPageOne(benchmark::State& state)
{
    for (auto _ : state) {
        state.PauseTiming();
        CQlDoc doc;
        doc.Reset();
        FillBody(doc);
        const CCharFormat format(&doc);
        state.ResumeTiming();
        int index = 10;
        for (int k = 0; k < 10000; ++k)
            doc.GetBody()->InsertCharAt(index, k % 50 == 49 ? u'\r' : static_cast<char16_t>(u'a' + k % 26), format);
    }
}
BENCHMARK(BM_CharAtATimeOnPageOne)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

BENCHMARK_MAIN();
