// The PDF export read back by the usual PDF tools: qpdf checks the structure, poppler's
// pdfinfo, pdfimages and pdftoppm tell the pages, the pictures and what a reader shows.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <sstream>
#include <thread>

#include "io/pdf_export.h"
#include "io/pdf_page_writer.h"
#include "media/jpeg_file_saver.h"
#include "platform/file/file.h"
#include "tests/io/pdf_reference.h"
#include "tests/io/pdf_support.h"

using pdftest::Bytes;
using pdftest::InfoField;
using pdftest::Tool;
using pdftest::Quote;
using pdftest::U;

namespace {

constexpr int kA4WidthMm = 210;
constexpr int kA4HeightMm = 297;

// The picture rows of pdfimages -list: page, type, width, height, colour, components,
// bits and encoding of each.
struct ImageRow {
    int page = 0, number = 0, width = 0, height = 0, components = 0, bits = 0;
    std::string type, color, encoding;
};

std::vector<ImageRow> ImageRows(const std::string& list)
{
    std::vector<ImageRow> rows;
    std::istringstream lines(list);
    std::string line;
    std::getline(lines, line); // header
    std::getline(lines, line); // rule
    while (std::getline(lines, line)) {
        std::istringstream fields(line);
        ImageRow r;
        if (fields >> r.page >> r.number >> r.type >> r.width >> r.height >> r.color >> r.components >> r.bits >>
            r.encoding)
            rows.push_back(r);
    }
    return rows;
}

std::vector<std::string> JpegFilesIn(const std::string& folder)
{
    std::vector<std::string> out;
    for (const std::string& n : pdftest::List(folder))
        if (n.size() > 4 && n.substr(n.size() - 4) == ".jpg") out.push_back(n);
    return out;
}

// A P6 picture as pdftoppm writes it.
struct Ppm {
    int width = 0, height = 0;
    Bytes rgb;
};

Ppm ReadPpm(const std::string& path)
{
    Ppm ppm;
    const Bytes data = pdftest::ReadFile(path);
    std::string head(data.begin(), data.begin() + std::min<size_t>(data.size(), 64));
    int maxval = 0, consumed = 0;
    if (std::sscanf(head.c_str(), "P6 %d %d %d%n", &ppm.width, &ppm.height, &maxval, &consumed) != 3 || maxval != 255)
        return Ppm();
    const size_t start = static_cast<size_t>(consumed) + 1;
    if (data.size() < start + size_t(ppm.width) * ppm.height * 3) return Ppm();
    ppm.rgb.assign(data.begin() + static_cast<std::ptrdiff_t>(start), data.end());
    return ppm;
}

double Grey(int r, int g, int b) { return 0.299 * r + 0.587 * g + 0.114 * b; }

// Mean absolute grey difference between what a reader shows of a page (at 96 dpi) and the
// bitmap the page's picture was made from, placed as the export places it: the paper's
// width, its lower edge on the page's lower edge, cut off at the top when taller.
double MeanDifference(const Ppm& shown, const plat::Bitmap& page, int paperWidthMm, int paperHeightMm)
{
    const double pointsPerMm = 72.0 / 25.4;
    const double pageHeightPt = static_cast<int>(paperHeightMm * pointsPerMm);
    const double pictureWidthPt = paperWidthMm * pointsPerMm;
    const double pictureHeightPt = pictureWidthPt * page.Height() / page.Width();
    const double pixelPt = 72.0 / 96.0;
    double sum = 0;
    long count = 0;
    for (int oy = 0; oy < shown.height; ++oy) {
        const double fromPictureTop = (oy + 0.5) * pixelPt - (pageHeightPt - pictureHeightPt);
        const int y = static_cast<int>(std::floor(fromPictureTop / pictureHeightPt * page.Height()));
        if (y < 0 || y >= page.Height()) continue;
        for (int ox = 0; ox < shown.width; ++ox) {
            const int x = static_cast<int>(std::floor((ox + 0.5) * pixelPt / pictureWidthPt * page.Width()));
            if (x >= page.Width()) continue;
            const std::uint8_t* s = &shown.rgb[(size_t(oy) * shown.width + ox) * 3];
            const plat::ColorRef c = page.GetPixel(x, y);
            sum += std::fabs(Grey(s[0], s[1], s[2]) - Grey(plat::RValue(c), plat::GValue(c), plat::BValue(c)));
            ++count;
        }
    }
    EXPECT_GT(count, long(shown.width) * shown.height * 9 / 10) << "the picture covers the page";
    return count ? sum / count : 1e9;
}

class PdfExportTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_dir = pdftest::Dir(std::string("export-") + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        m_jpegsBefore = JpegFilesIn(plat::TempDirUtf8());
    }
    // Nothing of the export is left in the temporary folder or beside the target.
    void TearDown() override
    {
        EXPECT_EQ(JpegFilesIn(plat::TempDirUtf8()), m_jpegsBefore) << "page pictures left behind";
        for (const std::string& name : pdftest::List(m_dir))
            EXPECT_EQ(name.find(".~"), std::string::npos) << "temporary file left: " << name;
    }

    std::string m_dir;
    std::vector<std::string> m_jpegsBefore;
};

TEST_F(PdfExportTest, ThreePagesReadBackAsTheyWereRendered)
{
    const int width = pdftest::PaperPixels(kA4WidthMm), height = pdftest::PaperPixels(kA4HeightMm);
    ASSERT_EQ(width, 793);
    ASSERT_EQ(height, 1122);
    std::vector<std::unique_ptr<plat::Bitmap>> rendered(3);
    const std::string pdf = m_dir + "three.pdf";
    ASSERT_TRUE(ExportPagesToPdf(U(pdf), kA4WidthMm, kA4HeightMm, 3, [&](int i) {
        rendered[size_t(i)] = pdftest::RenderPage(i, width, height);
        // The export keeps no reference to the bitmap: hand it a copy.
        auto copy = plat::Bitmap::Create(width, height);
        for (int y = 0; y < height; ++y) std::copy_n(rendered[size_t(i)]->Row(y), width, copy->MutableRow(y));
        return copy;
    }));

    std::string out;
    EXPECT_EQ(pdftest::Run(std::string(QUILN_QPDF) + " --check " + Quote(pdf), &out), 0) << out;
    EXPECT_NE(out.find("No syntax or stream encoding errors found"), std::string::npos) << out;

    const std::string info = Tool(QUILN_PDFINFO, Quote(pdf));
    EXPECT_EQ(InfoField(info, "Pages"), "3");
    EXPECT_EQ(InfoField(info, "Page size"), "595 x 841 pts (A4)");
    EXPECT_EQ(InfoField(info, "PDF version"), "1.2");
    const std::string lastPage = Tool(QUILN_PDFINFO, "-f 3 -l 3 " + Quote(pdf));
    EXPECT_EQ(InfoField(lastPage, "Page    3 size"), "595 x 841 pts (A4)");

    // One DCT picture a page, of the rendered size, three colour components.
    const std::string images = Tool(QUILN_PDFIMAGES, "-list " + Quote(pdf));
    const std::vector<ImageRow> rows = ImageRows(images);
    ASSERT_EQ(rows.size(), 3u) << images;
    for (size_t i = 0; i < rows.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(rows[i].page, int(i) + 1);
        EXPECT_EQ(rows[i].type, "image");
        EXPECT_EQ(rows[i].width, width);
        EXPECT_EQ(rows[i].height, height);
        EXPECT_EQ(rows[i].color, "rgb");
        EXPECT_EQ(rows[i].components, 3);
        EXPECT_EQ(rows[i].bits, 8);
        EXPECT_EQ(rows[i].encoding, "jpeg");
    }
    // Named in page order.
    const std::string text = pdftest::Text(pdftest::ReadFile(pdf));
    const size_t first = text.find("/Name /IMcpdf0"), second = text.find("/Name /IMcpdf1"),
                 third = text.find("/Name /IMcpdf2");
    EXPECT_TRUE(first < second && second < third && third != std::string::npos);

    // Page 1 as a reader shows it at the export's resolution matches the rendering; page 2's
    // rendering does not, so the comparison can tell pages apart.
    Tool(QUILN_PDFTOPPM, "-r 96 -f 1 -l 1 -singlefile " + Quote(pdf) + " " + Quote(m_dir + "page1"));
    const Ppm shown = ReadPpm(m_dir + "page1.ppm");
    ASSERT_GT(shown.width, 0);
    EXPECT_NEAR(shown.width, width, 1);
    EXPECT_NEAR(shown.height, height, 1);
    const double same = MeanDifference(shown, *rendered[0], kA4WidthMm, kA4HeightMm);
    EXPECT_LE(same, 8.0);
    EXPECT_GT(MeanDifference(shown, *rendered[1], kA4WidthMm, kA4HeightMm), 3 * same + 8);
}

TEST_F(PdfExportTest, AHundredAndFiftyPagesAreAllWritten)
{
    const std::string pdf = m_dir + "long.pdf";
    int rendered = 0;
    // Small pictures keep the test quick: each is shown at the paper's width all the same.
    ASSERT_TRUE(ExportPagesToPdf(U(pdf), 200, 287, 150, [&](int i) {
        ++rendered;
        return pdftest::RenderPage(i, 40, 57);
    }));
    EXPECT_EQ(rendered, 150);
    std::string out;
    EXPECT_EQ(pdftest::Run(std::string(QUILN_QPDF) + " --check " + Quote(pdf), &out), 0) << out;
    const std::string info = Tool(QUILN_PDFINFO, Quote(pdf));
    EXPECT_EQ(InfoField(info, "Pages"), "150");
    EXPECT_EQ(InfoField(info, "Page size"), "566 x 813 pts");
    const std::vector<ImageRow> rows = ImageRows(Tool(QUILN_PDFIMAGES, "-list " + Quote(pdf)));
    ASSERT_EQ(rows.size(), 150u);
    for (size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(rows[i].page, int(i) + 1);
        EXPECT_EQ(rows[i].encoding, "jpeg");
    }
}

TEST_F(PdfExportTest, AFailedExportLeavesTheTargetWhole)
{
    const std::string pdf = m_dir + "kept.pdf";
    const Bytes old = {'o', 'l', 'd', ' ', 'f', 'i', 'l', 'e'};
    pdftest::WriteFile(pdf, old);

    // A page that cannot be rendered: nothing more is rendered, the target stays.
    int calls = 0;
    EXPECT_FALSE(ExportPagesToPdf(U(pdf), kA4WidthMm, kA4HeightMm, 3, [&](int i) {
        ++calls;
        return i == 1 ? nullptr : pdftest::RenderPage(i, 30, 40);
    }));
    EXPECT_EQ(calls, 2);
    EXPECT_EQ(pdftest::ReadFile(pdf), old);

    // A page whose painting throws.
    EXPECT_FALSE(ExportPagesToPdf(U(pdf), kA4WidthMm, kA4HeightMm, 2, [&](int i) -> std::unique_ptr<plat::Bitmap> {
        if (i == 1) throw std::runtime_error("file error");
        return pdftest::RenderPage(i, 30, 40);
    }));
    EXPECT_EQ(pdftest::ReadFile(pdf), old);

    // A folder that does not exist: refused before any page is rendered.
    calls = 0;
    EXPECT_FALSE(ExportPagesToPdf(U(m_dir + "no-such-folder/out.pdf"), kA4WidthMm, kA4HeightMm, 2, [&](int i) {
        ++calls;
        return pdftest::RenderPage(i, 30, 40);
    }));
    EXPECT_EQ(calls, 0);

    // Nothing to export, or a paper of no size.
    auto render = [](int i) { return pdftest::RenderPage(i, 30, 40); };
    EXPECT_FALSE(ExportPagesToPdf(U(pdf), kA4WidthMm, kA4HeightMm, 0, render));
    EXPECT_FALSE(ExportPagesToPdf(U(pdf), 0, kA4HeightMm, 1, render));
    EXPECT_FALSE(ExportPagesToPdf(U(pdf), kA4WidthMm, -297, 1, render));
    EXPECT_EQ(pdftest::ReadFile(pdf), old);

    // And a good export replaces it.
    EXPECT_TRUE(ExportPagesToPdf(U(pdf), kA4WidthMm, kA4HeightMm, 1, render));
    EXPECT_EQ(pdftest::Text(pdftest::ReadFile(pdf)).substr(0, 9), "%PDF-1.2\n");
}

std::string Describe(const PdfExportOptions& o)
{
    return std::string(o.concurrentRendering ? "concurrent" : "calling thread") + " rendering, " +
           std::to_string(o.threads) + " threads";
}

TEST_F(PdfExportTest, TheFileIsTheSameWhateverTheThreads)
{
    const pdftest::StoppedClock clock;
    const int pages = 23;
    auto render = [](int i) { return pdftest::RenderPage(i, 200, 283); };
    const Bytes reference = pdftest::ExportOnePageAtATime(m_dir, kA4WidthMm, kA4HeightMm, pages, render);
    ASSERT_GT(reference.size(), 1000u);
    const PdfExportOptions cases[] = {{false, 1}, {false, 3}, {false, 0}, {true, 1}, {true, 2}, {true, 8}, {true, 0}};
    for (const PdfExportOptions& options : cases) {
        SCOPED_TRACE(Describe(options));
        const std::string pdf = m_dir + "threads.pdf";
        std::atomic<int> calls{0};
        ASSERT_TRUE(ExportPagesToPdf(U(pdf), kA4WidthMm, kA4HeightMm, pages, [&](int i) {
            ++calls;
            return render(i);
        }, options));
        EXPECT_EQ(calls.load(), pages) << "each page rendered once";
        const Bytes written = pdftest::ReadFile(pdf);
        EXPECT_EQ(written.size(), reference.size());
        EXPECT_TRUE(written == reference) << "the file differs from the one written a page at a time";
    }
}

TEST_F(PdfExportTest, WhereAndInWhatOrderPagesAreRendered)
{
    const std::thread::id caller = std::this_thread::get_id();
    const int pages = 12;
    // Without concurrent rendering every page is rendered here, in order, whatever the
    // workers.
    std::vector<int> order;
    ASSERT_TRUE(ExportPagesToPdf(U(m_dir + "here.pdf"), kA4WidthMm, kA4HeightMm, pages, [&](int i) {
        EXPECT_EQ(std::this_thread::get_id(), caller);
        order.push_back(i);
        return pdftest::RenderPage(i, 30, 40);
    }, PdfExportOptions{false, 4}));
    std::vector<int> inOrder(pages);
    for (int i = 0; i < pages; ++i) inOrder[size_t(i)] = i;
    EXPECT_EQ(order, inOrder);

    // With it, the workers render, each page once.
    std::vector<std::atomic<int>> rendered(pages);
    std::atomic<int> onCaller{0};
    ASSERT_TRUE(ExportPagesToPdf(U(m_dir + "workers.pdf"), kA4WidthMm, kA4HeightMm, pages, [&](int i) {
        if (std::this_thread::get_id() == caller) ++onCaller;
        ++rendered[size_t(i)];
        return pdftest::RenderPage(i, 30, 40);
    }, PdfExportOptions{true, 4}));
    EXPECT_EQ(onCaller.load(), 0);
    for (int i = 0; i < pages; ++i) EXPECT_EQ(rendered[size_t(i)].load(), 1) << "page " << i;
}

TEST_F(PdfExportTest, WorkersStayAFewPagesAheadOfTheWriter)
{
    // While page 1 is held up, the writer cannot move on: the other workers render the
    // pages after it only as far as the look-ahead, two pages a worker, allows.
    for (int threads : {3, 8}) {
        SCOPED_TRACE(threads);
        const int window = 2 * threads;
        std::atomic<int> started{0};
        int seenWhileHeld = 0;
        ASSERT_TRUE(ExportPagesToPdf(U(m_dir + "ahead.pdf"), kA4WidthMm, kA4HeightMm, 40, [&](int i) {
            ++started;
            if (i == 0) {
                const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
                while (started.load() < window && std::chrono::steady_clock::now() < deadline)
                    std::this_thread::sleep_for(std::chrono::milliseconds(5));
                // Time for a worker to overrun the window, were it allowed to.
                std::this_thread::sleep_for(std::chrono::milliseconds(100));
                seenWhileHeld = started.load();
            }
            return pdftest::RenderPage(i, 30, 40);
        }, PdfExportOptions{true, threads}));
        EXPECT_EQ(seenWhileHeld, window);
        EXPECT_EQ(started.load(), 40);
    }
}

TEST_F(PdfExportTest, APageThatFailsOnAWorkerFailsTheExport)
{
    const std::string pdf = m_dir + "kept.pdf";
    const Bytes old = {'o', 'l', 'd'};
    pdftest::WriteFile(pdf, old);
    enum Failure { kNoBitmap, kStdException, kOtherException };
    struct Case {
        bool concurrent;
        Failure failure;
    } cases[] = {{true, kNoBitmap}, {true, kStdException}, {true, kOtherException}, {false, kOtherException}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.concurrent) + " " + std::to_string(c.failure));
        auto render = [&](int i) -> std::unique_ptr<plat::Bitmap> {
            if (i == 7) {
                if (c.failure == kStdException) throw std::runtime_error("file error");
                if (c.failure == kOtherException) throw 42;
                return nullptr;
            }
            return pdftest::RenderPage(i, 30, 40);
        };
        const PdfExportOptions options{c.concurrent, 4};
        // Exceptions of other kinds than the standard ones are the caller's to handle.
        if (c.failure == kOtherException)
            EXPECT_THROW(ExportPagesToPdf(U(pdf), kA4WidthMm, kA4HeightMm, 20, render, options), int);
        else
            EXPECT_FALSE(ExportPagesToPdf(U(pdf), kA4WidthMm, kA4HeightMm, 20, render, options));
        EXPECT_EQ(pdftest::ReadFile(pdf), old);
    }
}

TEST(PdfPageWriter, PageBoxesTruncatePoints)
{
    struct Case {
        int w, h;
        const char* box;
    } cases[] = {{200, 287, "0 0 566 813"}, {210, 297, "0 0 595 841"}, {1, 1, "0 0 2 2"}, {5080, 5080, "0 0 14400 14400"}};
    const std::string dir = pdftest::Dir();
    for (const Case& c : cases) {
        CPdfPageWriter writer(U(dir + "box.pdf"), c.w, c.h);
        EXPECT_EQ(writer.PageBox(), c.box);
        writer.Cancel();
    }
    EXPECT_EQ(PdfMmToPoints(-100000), -14400);
    EXPECT_EQ(PdfMmToPoints(2147483647), 14400);
}

TEST_F(PdfExportTest, PageWriterOfJpegFiles)
{
    CJpegFileSaver saver;
    std::vector<plat::String> jpegs;
    for (int i = 0; i < 2; ++i) {
        jpegs.push_back(U(m_dir + "page" + std::to_string(i) + ".jpg"));
        auto page = pdftest::RenderPage(i, 60, 80);
        ASSERT_TRUE(saver.SaveBitmap(jpegs.back(), page.get()));
    }
    const std::string pdf = m_dir + "pages.pdf";
    {
        CPdfPageWriter writer(U(pdf), 100, 150);
        EXPECT_TRUE(writer.AddPageImage(jpegs[0], 1));
        EXPECT_TRUE(writer.AddPageImage(jpegs[1], 2));
        EXPECT_TRUE(writer.Close());
        const Bytes written = pdftest::ReadFile(pdf);
        // Closing again, and destroying, writes nothing more.
        EXPECT_TRUE(writer.Close());
        EXPECT_EQ(pdftest::ReadFile(pdf), written);
    }
    std::string out;
    EXPECT_EQ(pdftest::Run(std::string(QUILN_QPDF) + " --check " + Quote(pdf), &out), 0) << out;
    EXPECT_EQ(InfoField(Tool(QUILN_PDFINFO, Quote(pdf)), "Pages"), "2");

    // The destructor closes a writer left open.
    const std::string byDestructor = m_dir + "destructor.pdf";
    {
        CPdfPageWriter writer(U(byDestructor), 100, 150);
        EXPECT_TRUE(writer.AddPageImage(jpegs[0], 1));
    }
    EXPECT_EQ(InfoField(Tool(QUILN_PDFINFO, Quote(byDestructor)), "Pages"), "1");

    // No pages: an empty page tree.
    const std::string empty = m_dir + "empty.pdf";
    {
        CPdfPageWriter writer(U(empty), 100, 150);
        EXPECT_TRUE(writer.Close());
    }
    EXPECT_NE(pdftest::Text(pdftest::ReadFile(empty)).find("/Count 0\n/Kids [ ]"), std::string::npos);

    // A bad picture fails the page and the file: the existing target stays whole.
    const std::string bad = m_dir + "bad.jpg";
    Bytes truncated = pdftest::ReadFile(plat::Utf16ToUtf8(jpegs[0]));
    truncated.resize(40);
    pdftest::WriteFile(bad, truncated);
    const Bytes before = pdftest::ReadFile(pdf);
    {
        CPdfPageWriter writer(U(pdf), 100, 150);
        EXPECT_TRUE(writer.AddPageImage(jpegs[0], 1));
        EXPECT_FALSE(writer.AddPageImage(U(bad), 2));
        EXPECT_EQ(writer.LastError(), "Not a JPEG file?: " + bad);
        EXPECT_FALSE(writer.AddPageImage(jpegs[1], 3)) << "a failed writer takes no more pages";
        EXPECT_FALSE(writer.Close());
    }
    EXPECT_EQ(pdftest::ReadFile(pdf), before);
    for (const plat::String& jpeg : jpegs) plat::File::Remove(jpeg);
}

} // namespace
