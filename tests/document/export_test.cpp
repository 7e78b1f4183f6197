// The document's exports: the parts list, the text and object files, and the PDF of the
// pages read back by qpdf and poppler's tools.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <sstream>
#include <string>

#include "document/char_width_cache.h"
#include "document/doc_body.h"
#include "tests/support/headless_windows.h"
#include "document/ql_doc.h"
#include "document/text_item.h"
#include "platform/gfx/bitmap.h"
#include "platform/gfx/dc.h"
#include "tests/document/test_object.h"
#include "tests/io/pdf_reference.h"
#include "tests/io/pdf_support.h"

using pdftest::InfoField;
using pdftest::Tool;

using pdftest::Quote;
using pdftest::U;

namespace {

struct ExportDoc {
    CHeadlessWindows window;
    CCharWidthCache cache;
    CQlDoc doc{&window, &window};

    ExportDoc()
    {
        doc.SetWidthCache(&cache);
        doc.Reset();
    }
    CDocBody& Body() { return *doc.GetBody(); }
    void Append(const plat::String& text)
    {
        int at = Body().GetCount() - 1;
        Body().InsertString(at, text, Body().GetRunningCharFormat());
        Body().RelayoutWhole();
    }
    // Paragraphs of mixed text (each shorter than a page) until the body has the pages
    // asked for: most in one insertion by the rate of a sample, then one at a time.
    void FillPages(int pages)
    {
        int n = 0;
        auto paragraphs = [&n](int count) {
            plat::String block;
            for (int k = 0; k < count; ++k, ++n)
                block += plat::Format(u"第 %d 段：中文与English混排的段落，数字 3.14 和标点。\r", n);
            return block;
        };
        Append(paragraphs(20));
        const double perPage = 20.0 / Body().GetPageCount();
        const int bulk = static_cast<int>(perPage * pages * 0.9) - 20;
        if (bulk > 0) Append(paragraphs(bulk));
        while (Body().GetPageCount() < pages) Append(paragraphs(1));
    }
};

std::string Utf16File(const std::string& path)
{
    return pdftest::Text(pdftest::ReadFile(path));
}

// The bytes of a UTF-16LE file with its byte-order mark.
std::string Utf16Bytes(const plat::String& text)
{
    std::string b = "\xFF\xFE";
    for (char16_t c : text) {
        b += static_cast<char>(c & 0xFF);
        b += static_cast<char>(c >> 8);
    }
    return b;
}


class ExportTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_dir = pdftest::Dir(std::string("docexport-") +
                             ::testing::UnitTest::GetInstance()->current_test_info()->name());
    }
    std::string m_dir;
};

TEST_F(ExportTest, PartsAreTheTextThenEachObject)
{
    objtest::ScopedTestKind kind;
    ExportDoc d;
    EXPECT_EQ(d.doc.ExportTotal(), 1);
    for (int i = 0; i < 3; ++i) {
        auto o = objtest::NewObject(&d.doc, 1000, 1000 + i * 2000, 1200, 900);
        if (i == 1) o->SetCaption(u"图二 caption");
        d.Body().AddObject(std::move(o));
    }
    EXPECT_EQ(d.doc.ExportTotal(), 4);
    struct Case {
        int part, type;
        const char16_t* ext;
        const char16_t* mark;
    } cases[] = {
        {0, 1, u".txt", u""},      {1, 2, u".jpg", u""}, {2, 2, u".jpg", u"图二 caption"},
        {3, 2, u".jpg", u""},      {4, 0, u"", u""},     {-1, 0, u"", u""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.part);
        EXPECT_EQ(d.doc.ExportType(c.part), c.type);
        EXPECT_EQ(d.doc.ExportExt(c.part), c.ext);
        EXPECT_EQ(d.doc.ExportMark(c.part), c.mark);
    }
    EXPECT_EQ(d.doc.ExportFile(4, U(m_dir + "none.jpg")), 0);
    EXPECT_EQ(d.doc.ExportFile(-1, U(m_dir + "none.jpg")), 0);
}

TEST_F(ExportTest, TextFileLeavesDeletedTextOutAndRestoresTheView)
{
    ExportDoc d;
    d.Append(u"甲乙Abc\r第二段");
    // "Abc" deleted by the second author, shown as a revision.
    for (int i = 2; i < 5; ++i) d.Body().GetItem(i)->SetDeletedBy(1);
    d.doc.SetRevisionsShown(true);
    const std::string path = m_dir + "body.txt";
    ASSERT_EQ(d.doc.ExportFile(0, U(path)), 1);
    EXPECT_EQ(Utf16File(path), Utf16Bytes(u"甲乙\n第二段"));
    EXPECT_TRUE(d.doc.IsRevisionsShown());

    // The whole text again, or the selection's, by the title export.
    ASSERT_EQ(d.doc.ExportFileTitle(U(path)), 1);
    EXPECT_EQ(Utf16File(path), Utf16Bytes(u"甲乙\n第二段"));
    CTextPos caret = d.Body().GetStartPos(), anchor = caret;
    caret.m_index = 1;
    anchor.m_index = 7;
    d.Body().SetSelection(caret, anchor);
    ASSERT_EQ(d.doc.ExportFileTitle(U(path)), 1);
    EXPECT_EQ(Utf16File(path), Utf16Bytes(u"乙\n第"));
    EXPECT_TRUE(d.doc.IsRevisionsShown());
}

TEST_F(ExportTest, TextFilesRefuseAnEmptyBodyOrAPathThatCannotBeWritten)
{
    ExportDoc d;
    EXPECT_EQ(d.doc.ExportFileTitle(U(m_dir + "empty.txt")), 0);
    // Part 0 of an empty body: the mark alone.
    ASSERT_EQ(d.doc.ExportFile(0, U(m_dir + "empty.txt")), 1);
    EXPECT_EQ(Utf16File(m_dir + "empty.txt"), Utf16Bytes(u""));
    d.Append(u"文字");
    EXPECT_EQ(d.doc.ExportFile(0, U(m_dir + "no/such/folder/a.txt")), 0);
    EXPECT_EQ(d.doc.ExportFileTitle(U(m_dir + "no/such/folder/a.txt")), 0);
}

TEST_F(ExportTest, ObjectFileWithItsCaptionBesideIt)
{
    objtest::ScopedTestKind kind;
    ExportDoc d;
    auto o = objtest::NewObject(&d.doc, 1000, 1000, 1500, 1200);
    o->SetCaption(u"图一 Figure");
    o->RecalcLayout();
    CFloatObject* object = d.Body().AddObject(std::move(o));
    d.Body().AddObject(objtest::NewObject(&d.doc, 4000, 1000, 600, 600));

    // A dot in a folder name is not the file's extension.
    const std::string dir = pdftest::Dir("docexport-dotted.dir");
    ASSERT_EQ(d.doc.ExportFile(1, U(dir + "picture.jpg")), 1);
    EXPECT_EQ(object->m_exportPath, U(dir + "picture.jpg"));
    const pdftest::Bytes jpeg = pdftest::ReadFile(dir + "picture.jpg");
    ASSERT_GT(jpeg.size(), 2u);
    EXPECT_EQ(jpeg[0], 0xFF);
    EXPECT_EQ(jpeg[1], 0xD8);
    EXPECT_EQ(Utf16File(dir + "picture.txt"), Utf16Bytes(u"图一 Figure"));

    ASSERT_EQ(d.doc.ExportFile(1, U(dir + "noext")), 1);
    EXPECT_EQ(Utf16File(dir + "noext.txt"), Utf16Bytes(u"图一 Figure"));

    // No caption, no caption file.
    ASSERT_EQ(d.doc.ExportFile(2, U(dir + "plain.jpg")), 1);
    EXPECT_FALSE(std::ifstream(dir + "plain.txt").good());

    // A failed write is reported and not remembered.
    EXPECT_EQ(d.doc.ExportFile(1, U(dir + "missing/x.jpg")), 0);
    EXPECT_EQ(object->m_exportPath, U(dir + "noext"));
}

// Exports three pages on paper of the given size and reads them back with qpdf and poppler.
void CheckThreePages(const std::string& dir, int widthMm, int heightMm)
{
    const std::string m_dir = dir;
    ExportDoc d;
    d.doc.GetHeader()->m_headerText = u"页眉 Running head";
    d.doc.GetHeader()->m_pageNumberStyle = CDocHeader::kPageOfPages;
    d.doc.SetPageSettings(plat::Rect(15, 15, 15, 15), plat::Size(widthMm, heightMm));
    d.Body().SetPageGeometry(15, 15, 15, 15, widthMm, heightMm);
    d.FillPages(3);
    ASSERT_EQ(d.doc.GetPageCount(), 3);
    const plat::Size paper = d.doc.GetPaperSize();
    const std::string pdf = m_dir + "three.pdf";
    ASSERT_EQ(d.doc.ExportPdf(U(pdf)), 1);

    std::string out;
    EXPECT_EQ(pdftest::Run(std::string(QUILN_QPDF) + " --check " + Quote(pdf), &out), 0) << out;
    EXPECT_NE(out.find("No syntax or stream encoding errors found"), std::string::npos) << out;

    const std::string info = Tool(QUILN_PDFINFO, "-f 1 -l 3 " + Quote(pdf));
    EXPECT_EQ(InfoField(info, "Pages"), "3");
    const std::string size =
        plat::Utf16ToUtf8(plat::Format(u"%d x %d pts", int(paper.cx * 72.0 / 25.4), int(paper.cy * 72.0 / 25.4)));
    for (int p = 1; p <= 3; ++p)
        EXPECT_EQ(InfoField(info, "Page    " + std::to_string(p) + " size").substr(0, size.size()), size);

    // One DCT picture a page, of the frame's size at 96 dpi.
    const std::string images = Tool(QUILN_PDFIMAGES, "-list " + Quote(pdf));
    std::istringstream lines(images);
    std::string line;
    std::getline(lines, line);
    std::getline(lines, line);
    int rows = 0;
    while (std::getline(lines, line)) {
        std::istringstream f(line);
        int page = 0, num = 0, w = 0, h = 0;
        std::string type, color, comp, bpc, enc;
        ASSERT_TRUE(f >> page >> num >> type >> w >> h >> color >> comp >> bpc >> enc) << line;
        ++rows;
        EXPECT_EQ(page, rows);
        EXPECT_EQ(enc, "jpeg");
        EXPECT_EQ(w, pdftest::PaperPixels(paper.cx));
    }
    EXPECT_EQ(rows, 3) << images;

    // The page as the document prints it (its top at the page's own top).
    const plat::Rect frame = d.doc.GetPageRect(0);
    auto own = plat::Bitmap::Create((frame.right - frame.left) / 15, (frame.bottom - frame.top) / 15);
    ASSERT_TRUE(own);
    own->Fill(plat::Rgb(255, 255, 255));
    plat::MemoryDc dc;
    dc.Select(own.get());
    d.doc.DrawPage(dc, 1.0, 0, -Px96ToPixels(dc, 1.0, 8), 0, CQlDoc::kDrawPrint);

    // Page 1 as a reader shows it at 96 dpi: the picture fills the page box. Each pixel
    // shown is compared with the pixel of the rendering under it, moved down by dy.
    auto shownBy = [&](const char* program, const std::string& name) {
        Tool(program, "-r 96 -f 1 -l 1 -singlefile -png " + Quote(pdf) + " " + Quote(m_dir + name));
        return plat::Bitmap::LoadPng(U(m_dir + name + ".png"));
    };
    const double pointsPerPixel = 72.0 / 96.0;
    const double pageHeightPt = int(paper.cy * 72.0 / 25.4);
    const double pictureWidthPt = int(paper.cx * 72.0 / 25.4);
    const double pictureHeightPt = pageHeightPt;
    auto grey = [](plat::ColorRef c) {
        return 0.299 * plat::RValue(c) + 0.587 * plat::GValue(c) + 0.114 * plat::BValue(c);
    };
    auto meanDiff = [&](const plat::Bitmap& shown, int dy) {
        double sum = 0;
        long n = 0;
        for (int oy = 0; oy < shown.Height(); ++oy) {
            const double fromTop = (oy + 0.5) * pointsPerPixel - (pageHeightPt - pictureHeightPt);
            const int y = int(std::floor(fromTop / pictureHeightPt * own->Height())) - dy;
            if (y < 0 || y >= own->Height()) continue;
            for (int ox = 0; ox < shown.Width(); ++ox) {
                const int x = int(std::floor((ox + 0.5) * pointsPerPixel / pictureWidthPt * own->Width()));
                if (x >= own->Width()) continue;
                sum += std::fabs(grey(own->GetPixel(x, y)) - grey(shown.GetPixel(ox, oy)));
                ++n;
            }
        }
        EXPECT_GT(n, long(shown.Width()) * shown.Height() * 9 / 10) << "the picture covers the page";
        return n ? sum / n : 1e9;
    };
    // Cairo shows the picture pixel for pixel: the JPEG is the only loss.
    const std::unique_ptr<plat::Bitmap> cairo = shownBy(QUILN_PDFTOCAIRO, "cairo");
    ASSERT_TRUE(cairo);
    EXPECT_EQ(cairo->Width(), own->Width());
    EXPECT_EQ(cairo->Height(), own->Height());
    const double same = meanDiff(*cairo, 0);
    EXPECT_LE(same, 8.0);
    // Moved by half a line the text no longer matches: the comparison sees the text.
    EXPECT_GT(meanDiff(*cairo, 7), 3 * same + 8);
    // pdftoppm too shows the picture pixel for pixel where the editor draws it. A picture
    // spanning the page box exactly was stretched by it over one pixel more than it has,
    // which smeared the thin strokes of dense text (9 to 26 grey levels on these pages).
    const std::unique_ptr<plat::Bitmap> splash = shownBy(QUILN_PDFTOPPM, "splash");
    ASSERT_TRUE(splash);
    EXPECT_EQ(splash->Width(), own->Width());
    EXPECT_EQ(splash->Height(), own->Height());
    EXPECT_LE(meanDiff(*splash, 0), 8.0);
    EXPECT_GT(meanDiff(*splash, 1), meanDiff(*splash, 0) + 8);
    EXPECT_GT(meanDiff(*splash, -1), meanDiff(*splash, 0) + 8);
    EXPECT_FALSE(d.doc.IsModified());
}

TEST_F(ExportTest, ThreePagesAsThePdfReaderShowsThem)
{
    // Paper of 5 x 10 inches: whole pixels at 96 dpi and whole points, so that cairo shows
    // the picture pixel for pixel and the JPEG is the only loss.
    CheckThreePages(m_dir, 127, 254);
}

TEST_F(ExportTest, TheDefaultPaperReadsBackUnmoved)
{
    // 200 x 287 mm is no whole number of points: the picture must still fill the page box,
    // neither cut at the top nor shown a pixel lower.
    CheckThreePages(m_dir, 200, 287);
}

TEST_F(ExportTest, AHundredAndFiftyPagesAreAllExported)
{
    ExportDoc d;
    // Small pages keep the document and its pictures small.
    d.doc.SetPageSettings(plat::Rect(5, 5, 5, 5), plat::Size(60, 40));
    d.Body().SetPageGeometry(5, 5, 5, 5, 60, 40);
    d.Body().BuildPageRegions();
    d.FillPages(150);
    ASSERT_EQ(d.doc.GetPageCount(), 150);
    const std::string pdf = m_dir + "long.pdf";
    ASSERT_EQ(d.doc.ExportPdf(U(pdf)), 1);
    EXPECT_EQ(InfoField(Tool(QUILN_PDFINFO, Quote(pdf)), "Pages"), "150");
    std::string out;
    EXPECT_EQ(pdftest::Run(std::string(QUILN_QPDF) + " --check " + Quote(pdf), &out), 0) << out;
}

TEST_F(ExportTest, PdfIsTheFileOfPagesPaintedOneAtATime)
{
    const pdftest::StoppedClock clock;
    objtest::ScopedTestKind kind;
    // Text alone is painted on the export's workers, several pages at once; a document with
    // a floating object is painted a page at a time on this thread. Either way the file is
    // the one the pages give painted and saved one after another.
    for (bool withObject : {false, true}) {
        SCOPED_TRACE(withObject ? "with an object" : "text only");
        ExportDoc d;
        d.doc.GetHeader()->m_headerText = u"页眉 Running head";
        d.doc.GetHeader()->m_pageNumberStyle = CDocHeader::kPageOfPages;
        d.doc.SetPageSettings(plat::Rect(10, 10, 10, 10), plat::Size(100, 140));
        d.Body().SetPageGeometry(10, 10, 10, 10, 100, 140);
        d.Body().BuildPageRegions();
        if (withObject) {
            auto o = objtest::NewObject(&d.doc, 1500, 2000, 1800, 1200);
            o->SetCaption(u"图一 caption");
            d.Body().AddObject(std::move(o));
        }
        d.FillPages(11);
        const int pages = d.doc.GetPageCount();
        ASSERT_GE(pages, 11);
        const plat::Size paper = d.doc.GetPaperSize();
        objtest::CTestObject::PaintLog().clear();
        const pdftest::Bytes reference = pdftest::ExportOnePageAtATime(
            m_dir, paper.cx, paper.cy, pages, [&](int i) { return d.doc.RenderPageBitmap(i); });
        ASSERT_GT(reference.size(), 1000u);
        const size_t paintedByReference = objtest::CTestObject::PaintLog().size();
        EXPECT_EQ(paintedByReference, withObject ? 1u : 0u);

        const std::string pdf = m_dir + "pages.pdf";
        ASSERT_EQ(d.doc.ExportPdf(U(pdf)), 1);
        const pdftest::Bytes written = pdftest::ReadFile(pdf);
        EXPECT_EQ(written.size(), reference.size());
        EXPECT_TRUE(written == reference) << "the export differs from the pages painted one at a time";
        EXPECT_EQ(objtest::CTestObject::PaintLog().size(), 2 * paintedByReference);
    }
}

TEST_F(ExportTest, PdfThatCannotBeWrittenFails)
{
    ExportDoc d;
    d.Append(u"一页");
    EXPECT_EQ(d.doc.ExportPdf(U(m_dir + "missing/folder/x.pdf")), 0);
    EXPECT_EQ(d.doc.RenderPageBitmap(d.doc.GetPageCount()), nullptr);
    EXPECT_EQ(d.doc.RenderPageBitmap(-1), nullptr);
}

} // namespace
