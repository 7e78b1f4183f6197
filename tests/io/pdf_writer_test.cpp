#include <gtest/gtest.h>

#include <cstdlib>
#include <zlib.h>

#include "io/pdf_writer.h"
#include "tests/io/pdf_support.h"

using pdftest::Bytes;
using pdftest::JpegMarkers;
using pdftest::U;

namespace {

struct Message {
    int level;
    std::string subsystem;
    std::string text;
};

// A document built in memory, its messages collected.
class PdfWriterTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_doc = cpdf_open(0);
        pdfw_set_error_handler(m_doc.get(), [this](PdfDocument*, int level, std::string_view sub, std::string_view text) {
            m_messages.push_back({level, std::string(sub), std::string(text)});
        });
    }
    void TearDown() override { plat::SetClockSource(nullptr); }

    void Init(bool compress = true)
    {
        pdfw_set_compression(m_doc.get(), compress);
        ASSERT_EQ(pdfw_init(m_doc.get()), 0);
    }

    std::string Jpeg(const std::string& name, const Bytes& data)
    {
        std::string path = pdftest::Dir() + name;
        pdftest::WriteFile(path, data);
        return path;
    }

    int AddPage(int page, const std::string& jpeg, double width = 595.2756)
    {
        if (pdfw_begin_page(m_doc.get(), page, 0, "0 0 595 841", "0 0 595 841") != 0) return -100;
        double w = width, h = 0, xs = 0, ys = 0;
        int r = pdfw_place_image(m_doc.get(), U(jpeg), kPdfImageJpeg, 0, 0, 0, &w, &h, &xs, &ys, kPdfPlaceSaveState);
        pdfw_end_page(m_doc.get(), page);
        return r;
    }

    std::string Finish()
    {
        EXPECT_EQ(pdfw_finish(m_doc.get()), 0);
        return pdfw_memory_output(m_doc.get());
    }

    bool Said(int level, const std::string& text) const
    {
        for (const Message& m : m_messages)
            if (m.level == level && m.text == text) return true;
        return false;
    }

    PdfDocumentPtr m_doc;
    std::vector<Message> m_messages;
};

// Checks the cross-reference table against the file and gives the object count N: every
// entry is 20 bytes and points at the first byte of its object's "obj" line, and
// startxref points at "xref".
int CheckXref(const std::string& pdf)
{
    size_t at = pdf.rfind("startxref\n");
    if (at == std::string::npos) {
        ADD_FAILURE() << "no startxref";
        return -1;
    }
    const size_t xref = std::strtoull(pdf.c_str() + at + 10, nullptr, 10);
    EXPECT_EQ(pdf.compare(xref, 5, "xref\n"), 0);
    const char* p = pdf.c_str() + xref + 5;
    char* end;
    EXPECT_EQ(std::strtol(p, &end, 10), 0);
    const int count = static_cast<int>(std::strtol(end, &end, 10));
    EXPECT_EQ(*end, '\n');
    size_t entry = static_cast<size_t>(end + 1 - pdf.c_str());
    EXPECT_EQ(pdf.substr(entry, 20), "0000000000 65535 f \n");
    for (int i = 1; i < count; ++i) {
        entry += 20;
        const std::string line = pdf.substr(entry, 20);
        EXPECT_EQ(line.size(), 20u);
        EXPECT_EQ(line.substr(10), " 00000 n \n") << "entry " << i;
        const size_t offset = std::strtoull(line.c_str(), nullptr, 10);
        const std::string head = std::to_string(i) + " 0 obj\n";
        EXPECT_EQ(pdf.compare(offset, head.size(), head), 0) << "object " << i << " at " << offset;
    }
    EXPECT_EQ(pdf.compare(entry + 20, 8, "trailer\n"), 0);
    EXPECT_EQ(pdf.substr(pdf.size() - 6), "%%EOF\n");
    return count;
}

// The text of object n, from its "obj" line to its "endobj".
std::string Object(const std::string& pdf, int n)
{
    const std::string head = "\n" + std::to_string(n) + " 0 obj\n";
    size_t at = pdf.find(head);
    if (at == std::string::npos) return std::string();
    at += head.size();
    return pdf.substr(at, pdf.find("endobj\n", at) - at);
}

std::string Inflate(const std::string& stream)
{
    std::string out(4096, '\0');
    uLongf length = out.size();
    EXPECT_EQ(uncompress(reinterpret_cast<Bytef*>(out.data()), &length,
                         reinterpret_cast<const Bytef*>(stream.data()), stream.size()),
              Z_OK);
    out.resize(length);
    return out;
}

// The bytes between "stream\n" and "\nendstream" of an object.
std::string StreamOf(const std::string& object)
{
    size_t start = object.find(">>\nstream\n");
    if (start == std::string::npos) return std::string();
    start += 10;
    return object.substr(start, object.rfind("\nendstream\n") - start);
}

TEST_F(PdfWriterTest, OnePageWithAGreyPicture)
{
    // Fixed clock, so the creation date can be checked.
    plat::SetManualClock(std::int64_t(1700000000) * 1000);
    Init();
    const Bytes grey = JpegMarkers(0xC0, 100, 200, 1);
    ASSERT_EQ(AddPage(1, Jpeg("grey.jpg", grey)), kPdfPlaced);
    const std::string pdf = Finish();

    EXPECT_EQ(pdf.substr(0, 9), "%PDF-1.2\n");
    EXPECT_EQ(pdf.find('\n', 9), 9u + 23u) << "a 23-byte binary marker line";
    EXPECT_EQ(CheckXref(pdf), 9);
    EXPECT_EQ(Object(pdf, 1), "<<\n/Type /Catalog\n/Pages 3 0 R\n/Outlines 2 0 R\n>>\n");
    EXPECT_EQ(Object(pdf, 2), "<<\n/Type /Outlines\n/Count 0\n>>\n");
    EXPECT_EQ(Object(pdf, 3), "<<\n/Type /Pages\n/Count 1\n/Kids [ 5 0 R ]\n>>\n");
    EXPECT_EQ(Object(pdf, 4), "[/PDF /Text /ImageB ]\n");
    EXPECT_EQ(Object(pdf, 5),
              "<<\n/Type /Page\n/Parent 3 0 R\n/Resources <<\n/XObject <<\n/IMcpdf0 7 0 R\n>>\n/ProcSet 4 0 R >>\n"
              "/MediaBox [0 0 595 841]\n/CropBox [0 0 595 841]\n/Rotate 0\n/Contents 6 0 R\n>>\n");

    const std::string contents = Object(pdf, 6);
    const std::string packed = StreamOf(contents);
    EXPECT_EQ(contents.substr(0, contents.find("stream\n")),
              "<<\n/Length " + std::to_string(packed.size()) + "\n/Filter [/FlateDecode]\n>>\n");
    // Width given: the height follows the picture (595.2756 × 200 / 100).
    EXPECT_EQ(Inflate(packed), "\nq\n1.0000 0.0000 0.0000 1.0000 0.0000 0.0000 cm\n"
                               "595.2756 0.0000 0.0000 1190.5512 0.0000 0.0000 cm\n/IMcpdf0 Do\nQ\n");

    const std::string image = Object(pdf, 7);
    EXPECT_EQ(image.substr(0, image.find("stream\n")),
              "<<\n/Type /XObject\n/Subtype /Image\n/Name /IMcpdf0\n/Width 100\n/Height 200\n/Filter /DCTDecode\n"
              "/BitsPerComponent 8\n/ColorSpace /DeviceGray\n/Length " + std::to_string(grey.size()) + "\n>>\n");
    EXPECT_EQ(StreamOf(image), pdftest::Text(grey)) << "the JPEG goes in unchanged";

    std::time_t t = 1700000000;
    std::tm local{};
    localtime_r(&t, &local);
    char date[32];
    std::snprintf(date, sizeof date, "%04d%02d%02d%02d%02d%02d", local.tm_year + 1900, local.tm_mon + 1,
                  local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec);
    EXPECT_EQ(Object(pdf, 8), std::string("<<\n/Creator (Vellio)\n/CreationDate (D:") + date +
                                  ")\n/Producer ([Vellio 2.0] Windows 9x/NT)\n/Author (User: Windows NT/95/98 User)\n"
                                  "/Title (No Title)\n/Subject (None)\n/Keywords (Vellio)\n>>\n");
    EXPECT_NE(pdf.find("trailer\n<<\n/Size 9\n/Root 1 0 R\n/Info 8 0 R\n>>\nstartxref\n"), std::string::npos);
    EXPECT_TRUE(m_messages.empty());
}

TEST_F(PdfWriterTest, VersionFollowsCompressionAndTheFrameKind)
{
    struct Case {
        bool compress;
        int marker;
        const char* header;
    } cases[] = {
        {false, 0xC0, "%PDF-1.1\n"},
        {true, 0xC0, "%PDF-1.2\n"},
        {true, 0xC2, "%PDF-1.3\n"},
        {false, 0xC2, "%PDF-1.3\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.header);
        SetUp();
        Init(c.compress);
        ASSERT_EQ(AddPage(1, Jpeg("version.jpg", JpegMarkers(c.marker, 8, 8, 3))), kPdfPlaced);
        const std::string pdf = Finish();
        EXPECT_EQ(pdf.substr(0, 9), c.header);
        EXPECT_EQ(CheckXref(pdf), 9);
        EXPECT_EQ(Object(pdf, 4), "[/PDF /Text /ImageC ]\n");
        if (!c.compress) {
            const std::string drawing = "\nq\n1.0000 0.0000 0.0000 1.0000 0.0000 0.0000 cm\n"
                                        "595.2756 0.0000 0.0000 595.2756 0.0000 0.0000 cm\n/IMcpdf0 Do\nQ\n";
            const std::string contents = Object(pdf, 6);
            EXPECT_EQ(contents, "<</Length " + std::to_string(drawing.size()) + ">>\nstream\n" + drawing +
                                    "\nendstream\n");
        }
    }
}

TEST_F(PdfWriterTest, PagesAndImagesAreNotLimitedInNumber)
{
    Init();
    const int pages = 150;
    // Each page its own picture file, so the image table grows too.
    for (int page = 1; page <= pages; ++page) {
        std::string path = pdftest::Dir() + "many-" + std::to_string(page) + ".jpg";
        pdftest::WriteFile(path, JpegMarkers(0xC0, 10 + page, 10, page % 2 ? 1 : 3));
        ASSERT_EQ(AddPage(page, path), kPdfPlaced) << page;
    }
    const std::string pdf = Finish();
    EXPECT_TRUE(m_messages.empty());
    // 4 fixed, 2 a page, 1 an image, the information dictionary.
    EXPECT_EQ(CheckXref(pdf), 4 + 2 * pages + pages + 1 + 1);
    EXPECT_NE(Object(pdf, 3).find("/Count 150\n"), std::string::npos);
    EXPECT_EQ(Object(pdf, 4), "[/PDF /Text /ImageB /ImageC ]\n");
    // Page 150 is object 4 + 2 × 150 - 1 and shows the 150th image.
    const int lastPage = 4 + 2 * pages - 1;
    EXPECT_NE(Object(pdf, lastPage).find("/IMcpdf149 " + std::to_string(lastPage + 2 + 149) + " 0 R\n"),
              std::string::npos);
    EXPECT_NE(Object(pdf, lastPage + 2 + 149).find("/Width 160\n"), std::string::npos);
}

TEST_F(PdfWriterTest, PagesAreWrittenInPageNumberOrder)
{
    Init();
    const std::string a = Jpeg("order-a.jpg", JpegMarkers(0xC0, 11, 10, 3));
    const std::string b = Jpeg("order-b.jpg", JpegMarkers(0xC0, 22, 10, 3));
    ASSERT_EQ(AddPage(7, a), kPdfPlaced);
    ASSERT_EQ(AddPage(2, b), kPdfPlaced);
    const std::string pdf = Finish();
    EXPECT_EQ(CheckXref(pdf), 4 + 4 + 2 + 1 + 1);
    EXPECT_NE(Object(pdf, 3).find("/Kids [ 5 0 R 7 0 R ]"), std::string::npos);
    // Page 2 (object 5) shows the second image placed, page 7 the first.
    EXPECT_NE(Object(pdf, 5).find("/IMcpdf1 10 0 R"), std::string::npos);
    EXPECT_NE(Object(pdf, 7).find("/IMcpdf0 9 0 R"), std::string::npos);
}

TEST_F(PdfWriterTest, TheSamePictureOnTwoPagesIsOneImage)
{
    Init();
    const std::string path = Jpeg("shared.jpg", JpegMarkers(0xC0, 50, 50, 3));
    ASSERT_EQ(AddPage(1, path), kPdfPlaced);
    ASSERT_EQ(AddPage(2, path), kPdfPlaced);
    const std::string pdf = Finish();
    EXPECT_EQ(CheckXref(pdf), 4 + 4 + 1 + 1 + 1);
    EXPECT_NE(Object(pdf, 5).find("/IMcpdf0 9 0 R"), std::string::npos);
    EXPECT_NE(Object(pdf, 7).find("/IMcpdf0 9 0 R"), std::string::npos);
    EXPECT_EQ(pdf.find("IMcpdf1"), std::string::npos);
}

TEST_F(PdfWriterTest, NoPagesGivesAnEmptyPageTree)
{
    Init();
    const std::string pdf = Finish();
    EXPECT_EQ(CheckXref(pdf), 6);
    EXPECT_EQ(Object(pdf, 3), "<<\n/Type /Pages\n/Count 0\n/Kids [ ]\n>>\n");
    EXPECT_EQ(Object(pdf, 4), "[/PDF /Text]\n");
}

TEST_F(PdfWriterTest, PageNumbersAndPageSwitching)
{
    Init();
    EXPECT_EQ(pdfw_begin_page(m_doc.get(), 0, 0, "0 0 1 1", "0 0 1 1"), -1);
    EXPECT_TRUE(Said(kPdfWarning, "Page number must be 1 or greater"));
    EXPECT_EQ(pdfw_begin_page(m_doc.get(), -5, 0, "0 0 1 1", "0 0 1 1"), -1);
    EXPECT_EQ(pdfw_begin_page(m_doc.get(), 1, 0, "0 0 1", "0 0 1 1"), -1) << "three numbers";
    EXPECT_EQ(pdfw_begin_page(m_doc.get(), 1, 0, "0 0 1 1", "0 0 1 1] /Evil [1"), -1) << "not numbers";

    EXPECT_EQ(pdfw_begin_page(m_doc.get(), 1, 1, "0 0 10 20", "0 0 10 20"), 0);
    EXPECT_EQ(pdfw_begin_page(m_doc.get(), 2, 2, "0 0 10 20", "0 0 10 20"), 0);
    m_messages.clear();
    EXPECT_EQ(pdfw_begin_page(m_doc.get(), 1, 0, "0 0 10 20", "0 0 10 20"), 0);
    EXPECT_TRUE(Said(kPdfWarning, "Page 1 is already initialized"));
    EXPECT_EQ(pdfw_set_current_page(m_doc.get(), 3), -1);
    EXPECT_TRUE(Said(kPdfError, "Cannot switch to page 3 because it has not been initialized"));
    pdfw_end_page(m_doc.get(), 2);
    EXPECT_EQ(pdfw_set_current_page(m_doc.get(), 2), -2);
    EXPECT_TRUE(Said(kPdfError, "Cannot switch to page 2 because it has already been finalized"));

    // Page 1 is still open: finishing finalises it; rotation codes 1 and 2.
    const std::string pdf = Finish();
    EXPECT_EQ(CheckXref(pdf), 10);
    EXPECT_NE(Object(pdf, 5).find("/Rotate 270\n"), std::string::npos);
    EXPECT_NE(Object(pdf, 7).find("/Rotate 90\n"), std::string::npos);
}

TEST_F(PdfWriterTest, PicturesThatCannotBePlaced)
{
    Init();
    double w = 0, h = 0, xs = 0, ys = 0;
    const std::string good = Jpeg("kind.jpg", JpegMarkers(0xC0, 4, 4, 3));
    EXPECT_EQ(pdfw_place_image(m_doc.get(), U(good), kPdfImageJpeg, 0, 0, 0, &w, &h, &xs, &ys, 0), kPdfNoOpenPage)
        << "no page begun";
    ASSERT_EQ(pdfw_begin_page(m_doc.get(), 1, 0, "0 0 10 10", "0 0 10 10"), 0);
    const std::string missing = pdftest::Dir() + "no-such.jpg";
    EXPECT_EQ(pdfw_place_image(m_doc.get(), U(missing), kPdfImageJpeg, 0, 0, 0, &w, &h, &xs, &ys, 0),
              kPdfCannotOpenImage);
    EXPECT_TRUE(Said(kPdfWarning, "Can't open image file: " + missing));
    const std::string png = Jpeg("really.png", {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A});
    EXPECT_EQ(pdfw_place_image(m_doc.get(), U(png), kPdfImageJpeg, 0, 0, 0, &w, &h, &xs, &ys, 0), kPdfNotJpeg);
    EXPECT_TRUE(Said(kPdfWarning, "Not a JPEG file?: " + png));
    EXPECT_EQ(pdfw_place_image(m_doc.get(), U(good), 1, 0, 0, 0, &w, &h, &xs, &ys, 0), kPdfUnsupportedImageKind);
    const std::string pdf = Finish();
    EXPECT_EQ(CheckXref(pdf), 8) << "no image object";
}

TEST_F(PdfWriterTest, PictureSizeFollowsWhatIsGiven)
{
    // A 200 × 100 pixel picture.
    const std::string path = Jpeg("size.jpg", JpegMarkers(0xC0, 200, 100, 3));
    struct Case {
        const char* name;
        double w, h, xs, ys;       // given
        double ew, eh, exs, eys;   // handed back
    } cases[] = {
        {"nothing: pixels at scale 1", 0, 0, 0, 0, 200, 100, 1, 1},
        {"width", 100, 0, 0, 0, 100, 50, 0.5, 0.5},
        {"height", 0, 300, 0, 0, 600, 300, 3, 3},
        {"both sizes", 50, 50, 0, 0, 50, 50, 0.25, 0.5},
        {"x scale", 0, 0, 2, 0, 400, 200, 2, 2},
        {"y scale", 0, 0, 0, 0.5, 100, 50, 0.5, 0.5},
        {"scales", 0, 0, 2, 3, 400, 300, 2, 3},
        {"tiny scale counts as none", 0, 0, 0.000001, 0, 200, 100, 1, 1},
    };
    Init();
    int page = 1;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_EQ(pdfw_begin_page(m_doc.get(), page, 0, "0 0 10 10", "0 0 10 10"), 0);
        double w = c.w, h = c.h, xs = c.xs, ys = c.ys;
        ASSERT_EQ(pdfw_place_image(m_doc.get(), U(path), kPdfImageJpeg, 3, 4, 0, &w, &h, &xs, &ys, 0), kPdfPlaced);
        EXPECT_DOUBLE_EQ(w, c.ew);
        EXPECT_DOUBLE_EQ(h, c.eh);
        EXPECT_DOUBLE_EQ(xs, c.exs);
        EXPECT_DOUBLE_EQ(ys, c.eys);
        pdfw_end_page(m_doc.get(), page++);
    }
    // Uncompressed contents of a turned picture without save and restore.
    SetUp();
    Init(false);
    ASSERT_EQ(pdfw_begin_page(m_doc.get(), 1, 0, "0 0 10 10", "0 0 10 10"), 0);
    double w = 20, h = 10, xs = 0, ys = 0;
    ASSERT_EQ(pdfw_place_image(m_doc.get(), U(path), kPdfImageJpeg, 1.5, -2, 90, &w, &h, &xs, &ys, 0), kPdfPlaced);
    const std::string pdf = Finish();
    EXPECT_EQ(StreamOf(Object(pdf, 6)), "1.0000 0.0000 0.0000 1.0000 1.5000 -2.0000 cm\n"
                                        "0.0000 1.0000 -1.0000 0.0000 0.0000 0.0000 cm\n"
                                        "20.0000 0.0000 0.0000 10.0000 0.0000 0.0000 cm\n/IMcpdf0 Do\n");
}

TEST_F(PdfWriterTest, InitialisingTwiceIsFatal)
{
    Init();
    EXPECT_EQ(pdfw_init(m_doc.get()), -1);
    ASSERT_FALSE(m_messages.empty());
    EXPECT_EQ(m_messages.back().level, kPdfFatal);
    EXPECT_EQ(m_messages.back().text, "cpdf_open() has not been called.");
    EXPECT_TRUE(pdfw_failed(m_doc.get()));
    // Nothing more is written.
    EXPECT_EQ(pdfw_begin_page(m_doc.get(), 1, 0, "0 0 1 1", "0 0 1 1"), -1);
    EXPECT_EQ(pdfw_finish(m_doc.get()), -1);
    EXPECT_TRUE(pdfw_memory_output(m_doc.get()).empty());
}

TEST_F(PdfWriterTest, APictureThatShrinksBeforeFinishingFailsTheFile)
{
    pdfw_set_output_file(m_doc.get(), U(pdftest::Dir() + "shrunk.pdf"));
    Init();
    const Bytes jpeg = JpegMarkers(0xC0, 8, 8, 3);
    const std::string path = Jpeg("shrinks.jpg", jpeg);
    ASSERT_EQ(AddPage(1, path), kPdfPlaced);
    pdftest::WriteFile(path, Bytes(jpeg.begin(), jpeg.end() - 4));
    EXPECT_EQ(pdfw_finish(m_doc.get()), -1);
    EXPECT_TRUE(pdfw_failed(m_doc.get()));
    EXPECT_FALSE(std::ifstream(pdftest::Dir() + "shrunk.pdf").good());
    for (const std::string& name : pdftest::List(pdftest::Dir()))
        EXPECT_EQ(name.find("shrunk.pdf.~"), std::string::npos) << "temporary file left: " << name;
}

} // namespace
