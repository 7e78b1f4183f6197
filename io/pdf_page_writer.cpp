#include "io/pdf_page_writer.h"

#include <cstdio>

namespace {

// Paper sides from 1 mm up to 200 inches, the largest page a PDF reader need show.
constexpr std::int32_t kMaxPaperMm = 5080;
// The picture is inset from the page box by a thousandth of a point on every side. Readers
// that cover every device pixel an image edge touches would otherwise stretch a picture
// that spans the box exactly over one pixel more than it has, and smear its thin strokes.
constexpr double kPictureInset = 0.001;

} // namespace

int PdfMmToPoints(std::int32_t mm)
{
    const std::int32_t clamped = mm < -kMaxPaperMm ? -kMaxPaperMm : mm > kMaxPaperMm ? kMaxPaperMm : mm;
    return static_cast<int>(clamped * 72.0 / 25.4);
}

CPdfPageWriter::CPdfPageWriter(const plat::String& path, std::int32_t widthMm, std::int32_t heightMm)
    : m_widthMm(widthMm), m_heightMm(heightMm)
{
    m_pdf = cpdf_open(0);
    // Messages are kept for the caller and shown as the writer's default handler does.
    pdfw_set_error_handler(m_pdf.get(), [this](PdfDocument*, int, std::string_view subsystem, std::string_view message) {
        m_lastError = std::string(message);
        std::fprintf(stderr, "%.*s: %.*s.\n", static_cast<int>(subsystem.size()), subsystem.data(),
                     static_cast<int>(message.size()), message.data());
    });
    if (widthMm < 1 || heightMm < 1 || widthMm > kMaxPaperMm || heightMm > kMaxPaperMm) {
        m_lastError = "Bad paper size";
        m_failed = true;
        return;
    }
    pdfw_set_compression(m_pdf.get(), true);
    pdfw_set_output_file(m_pdf.get(), path);
    if (pdfw_init(m_pdf.get()) != 0) m_failed = true;
}

CPdfPageWriter::~CPdfPageWriter()
{
    Close();
}

std::string CPdfPageWriter::PageBox() const
{
    return "0 0 " + std::to_string(PdfMmToPoints(m_widthMm)) + " " + std::to_string(PdfMmToPoints(m_heightMm));
}

bool CPdfPageWriter::AddPageImage(const plat::String& jpegPath, int page)
{
    if (!m_pdf || m_failed) return false;
    const std::string box = PageBox();
    if (pdfw_begin_page(m_pdf.get(), page, 0, box, box) != 0) {
        m_failed = true;
        return false;
    }
    // The picture fills the page box exactly. Spanning the paper's exact width instead
    // made it taller than the box (whose sides are whole points), so its top was cut off
    // and the whole page shown about a pixel lower than the editor draws it.
    double width = PdfMmToPoints(m_widthMm) - 2 * kPictureInset, height = PdfMmToPoints(m_heightMm) - 2 * kPictureInset,
           xScale = 0, yScale = 0;
    int placed = pdfw_place_image(m_pdf.get(), jpegPath, kPdfImageJpeg, kPictureInset, kPictureInset, 0, &width,
                                  &height, &xScale, &yScale, kPdfPlaceSaveState);
    if (placed != kPdfPlaced) {
        m_failed = true;
        return false;
    }
    pdfw_end_page(m_pdf.get(), page);
    if (pdfw_failed(m_pdf.get())) m_failed = true;
    return !m_failed;
}

bool CPdfPageWriter::Close()
{
    if (!m_pdf) return m_written;
    if (!m_failed && pdfw_finish(m_pdf.get()) == 0) m_written = true;
    pdfw_free(m_pdf);
    return m_written;
}

void CPdfPageWriter::Cancel()
{
    m_failed = true;
    Close();
}
