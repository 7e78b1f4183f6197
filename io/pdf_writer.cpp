#include "io/pdf_writer.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <ctime>
#include <fcntl.h>
#include <map>
#include <new>
#include <numbers>
#include <unistd.h>
#include <unordered_map>
#include <vector>
#include <zlib.h>

#include "io/pdf_jpeg_header.h"
#include "platform/base/regular_file.h"
#include "platform/base/system.h"
#include "platform/file/replacing_file.h"

namespace {

constexpr const char* kSubsystem = "DidaRUR";
constexpr const char* kZlibSubsystem = "ZLIB compress";
constexpr const char* kMallocSubsystem = "DidaRUR malloc";
constexpr const char* kFlateFilter = "/FlateDecode";

// The second line of the file: a comment of bytes above 127, so that transfer programs
// take the file for binary, then our name.
constexpr char kBinaryMarker[] = "%\xC7\xEC\x8F\xA2 Quiln page images";
static_assert(sizeof kBinaryMarker - 1 == 23);

enum DocState { kFreed = 0, kOpened = 1, kInitialised = 2, kFinished = 3 };

// Fixed object numbers; pages, their contents and the images follow.
constexpr int kCatalogObject = 1;
constexpr int kOutlinesObject = 2;
constexpr int kPagesObject = 3;
constexpr int kProcSetObject = 4;

// Cross-reference offsets are ten digits.
constexpr std::int64_t kMaxXrefOffset = 9999999999LL;
constexpr std::size_t kCopyChunk = 65536;

constexpr const char* kDefaultCreator = "Vellio";
constexpr const char* kDefaultTitle = "No Title";
constexpr const char* kDefaultSubject = "None";
constexpr const char* kDefaultKeywords = "Vellio";
constexpr const char* kDefaultAuthor = "Windows NT/95/98 User";
constexpr const char* kProducerName = "Vellio";
constexpr const char* kProducerVersion = "2.0";
constexpr const char* kProducerPlatform = "Windows 9x/NT";

struct PdfPage {
    int rotation = 0;
    bool finalised = false;
    bool compressed = false;
    std::string mediaBox;
    std::string cropBox;
    std::string contents;            // the drawing operators, replaced by their compressed form
    std::vector<int> images;         // indices into the document's images
    int object = 0;
};

struct PdfImage {
    std::string name;
    plat::String path;
    PdfJpegInfo info;
    std::uint64_t fileSize = 0;
    int object = 0;
};

// Thrown inside pdfw_finish when the output cannot take more bytes or an image file
// cannot be copied; the message says which.
struct WriteFailure {
    std::string message;
};

std::string Sprintf(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string Sprintf(const char* format, ...)
{
    char small[256];
    va_list args;
    va_start(args, format);
    int n = std::vsnprintf(small, sizeof small, format, args);
    va_end(args);
    if (n < 0) return std::string();
    if (static_cast<std::size_t>(n) < sizeof small) return std::string(small, static_cast<std::size_t>(n));
    std::string out(static_cast<std::size_t>(n), '\0');
    va_start(args, format);
    std::vsnprintf(out.data(), out.size() + 1, format, args);
    va_end(args);
    return out;
}

// "%.4f" whatever the process's locale says about decimal points.
std::string Fixed4(double v)
{
    char buffer[64];
    auto r = std::to_chars(buffer, buffer + sizeof buffer, v, std::chars_format::fixed, 4);
    if (r.ec != std::errc()) return "0.0000";
    return std::string(buffer, r.ptr);
}

void DefaultErrorHandler(PdfDocument*, int, std::string_view subsystem, std::string_view message)
{
    std::fprintf(stderr, "%.*s: %.*s.\n", static_cast<int>(subsystem.size()), subsystem.data(),
                 static_cast<int>(message.size()), message.data());
}

// A page box goes into the file as it stands, so it must be four plain numbers.
bool IsBoxString(std::string_view box)
{
    int numbers = 0;
    std::size_t i = 0;
    while (i < box.size()) {
        if (box[i] == ' ') {
            ++i;
            continue;
        }
        std::size_t start = i;
        if (box[i] == '-' || box[i] == '+') ++i;
        int digits = 0, points = 0;
        for (; i < box.size() && box[i] != ' '; ++i) {
            if (box[i] >= '0' && box[i] <= '9') ++digits;
            else if (box[i] == '.') ++points;
            else return false;
        }
        if (digits == 0 || points > 1 || i - start > 32) return false;
        ++numbers;
    }
    return numbers == 4;
}

} // namespace

struct PdfDocument {
    int state = kOpened;
    int currentPage = 1;
    int highestPage = 1;
    int versionMajor = 1;
    int versionMinor = 1;

    plat::String outputPath;
    bool fileNameGiven = false;
    bool memoryOutput = true;
    bool compression = false;
    std::string filterName = kFlateFilter;

    std::string creator = kDefaultCreator;
    std::string title = kDefaultTitle;
    std::string subject = kDefaultSubject;
    std::string keywords = kDefaultKeywords;
    std::string author;

    std::map<int, PdfPage> pages; // by page number, so they are written in order
    std::vector<PdfImage> images;
    std::unordered_map<plat::String, int> imageByPath;
    bool procImageB = false;
    bool procImageC = false;

    PdfErrorHandler handler = DefaultErrorHandler;
    bool fatal = false;

    // Output: the file beside the target while it is written, or memory.
    bool outputOpen = false;
    plat::ReplacingFile replacing;
    std::FILE* file = nullptr;
    std::string memory;
    std::int64_t total = 0;
    std::vector<std::int64_t> offsets;

    ~PdfDocument() { DiscardOutput(); }

    void DiscardOutput()
    {
        replacing.Discard();
        file = nullptr;
        outputOpen = false;
    }

    void Report(int level, const char* subsystem, const std::string& message)
    {
        if (handler) handler(this, level, subsystem, message);
        if (level < 0) {
            // Fatal: nothing more is written for this document.
            fatal = true;
            DiscardOutput();
        }
    }

    void Write(const void* data, std::size_t n)
    {
        if (memoryOutput) {
            memory.append(static_cast<const char*>(data), n);
        } else if (std::fwrite(data, 1, n, file) != n) {
            throw WriteFailure{Sprintf("Cannot write %s", plat::Utf16ToUtf8(outputPath).c_str())};
        }
        total += static_cast<std::int64_t>(n);
    }
    void Write(std::string_view text) { Write(text.data(), text.size()); }

    // The offset of the object about to be written.
    void BeginObject(int number)
    {
        if (total > kMaxXrefOffset) throw WriteFailure{"PDF file too large"};
        offsets[static_cast<std::size_t>(number)] = total;
        Write(Sprintf("%d 0 obj\n", number));
    }
    void EndObject() { Write("endobj\n"); }

    bool Usable() const { return !fatal && state == kInitialised; }
    PdfPage* Page(int number)
    {
        auto it = pages.find(number);
        return it == pages.end() ? nullptr : &it->second;
    }

    bool OpenOutputFile();
    void WriteFile();
    void CopyImage(const PdfImage& image);
    bool CompressPage(PdfPage& page);
};

void PdfDocumentFree::operator()(PdfDocument* doc) const
{
    delete doc;
}

PdfDocumentPtr cpdf_open(int /*mode*/)
{
    return PdfDocumentPtr(new PdfDocument());
}

void pdfw_free(PdfDocumentPtr& doc)
{
    if (doc) doc->state = kFreed;
    doc.reset();
}

void pdfw_set_error_handler(PdfDocument* doc, PdfErrorHandler handler)
{
    if (doc) doc->handler = std::move(handler);
}

void pdfw_raise_version(PdfDocument* doc, int major, int minor)
{
    if (!doc) return;
    if (major > doc->versionMajor) doc->versionMajor = major;
    if (minor > doc->versionMinor) doc->versionMinor = minor;
}

void pdfw_set_compression(PdfDocument* doc, bool on)
{
    if (!doc) return;
    doc->compression = on && !doc->filterName.empty();
    if (doc->compression && doc->filterName.find("FlateDecode") != std::string::npos) pdfw_raise_version(doc, 1, 2);
}

void pdfw_set_output_file(PdfDocument* doc, const plat::String& path)
{
    if (!doc) return;
    doc->outputPath = path;
    doc->fileNameGiven = true;
    doc->memoryOutput = false;
}

bool PdfDocument::OpenOutputFile()
{
    // A new file beside the target, so that finishing can replace the target in one step.
    if (!replacing.Open(outputPath)) return false;
    file = replacing.Stdio();
    return true;
}

int pdfw_init(PdfDocument* doc)
{
    if (!doc) return -1;
    if (doc->fatal) return -1;
    if (doc->state != kOpened) {
        doc->Report(kPdfFatal, kSubsystem, "cpdf_open() has not been called.");
        return -1;
    }
    doc->author = kDefaultAuthor;
    doc->state = kInitialised;
    doc->pages.clear();
    if (doc->memoryOutput) {
        doc->memory.clear();
        doc->outputOpen = true;
        return 0;
    }
    if (!doc->OpenOutputFile()) {
        doc->Report(kPdfError, kSubsystem,
                    Sprintf("Cannot open %s for PDF output", plat::Utf16ToUtf8(doc->outputPath).c_str()));
        return -1;
    }
    doc->outputOpen = true;
    return 0;
}

int pdfw_set_current_page(PdfDocument* doc, int page)
{
    if (!doc || !doc->Usable()) return -1;
    PdfPage* p = doc->Page(page);
    if (!p) {
        doc->Report(kPdfError, kSubsystem,
                    Sprintf("Cannot switch to page %d because it has not been initialized", page));
        return -1;
    }
    if (p->finalised) {
        doc->Report(kPdfError, kSubsystem,
                    Sprintf("Cannot switch to page %d because it has already been finalized", page));
        return -2;
    }
    doc->currentPage = page;
    return 0;
}

int pdfw_begin_page(PdfDocument* doc, int page, int rotation, std::string_view mediaBox, std::string_view cropBox)
{
    if (!doc || !doc->Usable()) return -1;
    if (page <= 0) {
        doc->Report(kPdfWarning, kSubsystem, "Page number must be 1 or greater");
        return -1;
    }
    if (doc->Page(page)) {
        doc->Report(kPdfWarning, kSubsystem, Sprintf("Page %d is already initialized", page));
        pdfw_set_current_page(doc, page);
        return 0;
    }
    if (!IsBoxString(mediaBox) || !IsBoxString(cropBox)) {
        doc->Report(kPdfWarning, kSubsystem,
                    Sprintf("Bad page box for page %d: [%.*s] [%.*s]", page, static_cast<int>(mediaBox.size()),
                            mediaBox.data(), static_cast<int>(cropBox.size()), cropBox.data()));
        return -1;
    }
    try {
        PdfPage& p = doc->pages[page];
        p.rotation = rotation == 1 ? 270 : rotation == 2 ? 90 : 0;
        p.mediaBox = mediaBox;
        p.cropBox = cropBox;
    } catch (const std::bad_alloc&) {
        doc->Report(kPdfFatal, kMallocSubsystem, "Memory allocation failure");
        return -1;
    }
    doc->currentPage = page;
    if (page > doc->highestPage) doc->highestPage = page;
    return 0;
}

int pdfw_place_image(PdfDocument* doc, const plat::String& path, int kind, double x, double y, double angle,
                     double* width, double* height, double* xScale, double* yScale, int flags)
{
    if (!doc || !doc->Usable()) return kPdfNoOpenPage;
    if (kind != kPdfImageJpeg) return kPdfUnsupportedImageKind;
    PdfPage* page = doc->Page(doc->currentPage);
    if (!page || page->finalised) {
        doc->Report(kPdfError, kSubsystem, Sprintf("No open page to place %s on", plat::Utf16ToUtf8(path).c_str()));
        return kPdfNoOpenPage;
    }
    try {
        int index;
        auto found = doc->imageByPath.find(path);
        if (found != doc->imageByPath.end()) {
            index = found->second;
        } else {
            PdfImage image;
            PdfJpegScan scan = PdfScanJpegFile(path, image.info, image.fileSize);
            if (scan == PdfJpegScan::kCannotOpen) {
                doc->Report(kPdfWarning, kSubsystem,
                            Sprintf("Can't open image file: %s", plat::Utf16ToUtf8(path).c_str()));
                return kPdfCannotOpenImage;
            }
            if (scan != PdfJpegScan::kOk) {
                doc->Report(kPdfWarning, kSubsystem,
                            Sprintf("Not a JPEG file?: %s", plat::Utf16ToUtf8(path).c_str()));
                return kPdfNotJpeg;
            }
            if (image.info.frameMarker != 0xC0) pdfw_raise_version(doc, 1, 3);
            index = static_cast<int>(doc->images.size());
            image.name = Sprintf("IMcpdf%d", index);
            image.path = path;
            if (image.info.components == 1) doc->procImageB = true;
            else doc->procImageC = true;
            doc->images.push_back(std::move(image));
            doc->imageByPath.emplace(path, index);
        }
        if (std::find(page->images.begin(), page->images.end(), index) == page->images.end())
            page->images.push_back(index);

        // Size in points: what is given decides, the rest follows the picture's proportions.
        const PdfImage& image = doc->images[static_cast<std::size_t>(index)];
        const double pixelW = image.info.width, pixelH = image.info.height;
        double w = width ? *width : 0, h = height ? *height : 0;
        double xs = xScale ? *xScale : 0, ys = yScale ? *yScale : 0;
        const bool haveW = w != 0, haveH = h != 0;
        const bool haveXs = std::fabs(xs) > 0.00001, haveYs = std::fabs(ys) > 0.00001;
        if (haveW) xs = w / pixelW;
        if (haveH) ys = h / pixelH;
        if (!haveW) {
            if (haveXs) w = xs * pixelW;
            else if (haveH) { xs = ys; w = xs * pixelW; }
            else if (haveYs) { xs = ys; w = xs * pixelW; }
            else { w = pixelW; xs = 1; }
        }
        if (!haveH) {
            if (haveYs) h = ys * pixelH;
            else if (haveW) { ys = xs; h = w * pixelH / pixelW; }
            else if (haveXs) { ys = xs; h = ys * pixelH; }
            else { h = pixelH; ys = 1; }
        }
        if (width) *width = w;
        if (height) *height = h;
        if (xScale) *xScale = xs;
        if (yScale) *yScale = ys;

        std::string& c = page->contents;
        if (flags & kPdfPlaceSaveState) c += "\nq\n";
        c += "1.0000 0.0000 0.0000 1.0000 " + Fixed4(x) + " " + Fixed4(y) + " cm\n";
        if (std::fabs(angle) > 0.001) {
            const double r = angle * std::numbers::pi / 180.0;
            c += Fixed4(std::cos(r)) + " " + Fixed4(std::sin(r)) + " " + Fixed4(-std::sin(r)) + " " +
                 Fixed4(std::cos(r)) + " 0.0000 0.0000 cm\n";
        }
        c += Fixed4(w) + " 0.0000 0.0000 " + Fixed4(h) + " 0.0000 0.0000 cm\n";
        c += "/" + image.name + " Do\n";
        if (flags & kPdfPlaceSaveState) c += "Q\n";
        return kPdfPlaced;
    } catch (const std::bad_alloc&) {
        doc->Report(kPdfFatal, kMallocSubsystem, "Memory allocation failure");
        return kPdfNoOpenPage;
    }
}

bool PdfDocument::CompressPage(PdfPage& page)
{
    uLongf length = compressBound(static_cast<uLong>(page.contents.size()));
    std::string packed(length, '\0');
    int code = ::compress(reinterpret_cast<Bytef*>(packed.data()), &length,
                          reinterpret_cast<const Bytef*>(page.contents.data()),
                          static_cast<uLong>(page.contents.size()));
    if (code != Z_OK) {
        Report(kPdfFatal, kZlibSubsystem, Sprintf("code=%d", code));
        return false;
    }
    packed.resize(length);
    page.contents = std::move(packed);
    page.compressed = true;
    return true;
}

void pdfw_end_page(PdfDocument* doc, int page)
{
    if (!doc || !doc->Usable()) return;
    PdfPage* p = doc->Page(page);
    if (!p || p->finalised || p->compressed) return;
    try {
        if (doc->compression && !doc->CompressPage(*p)) return;
    } catch (const std::bad_alloc&) {
        doc->Report(kPdfFatal, kMallocSubsystem, "Memory allocation failure");
        return;
    }
    p->finalised = true;
}

void PdfDocument::CopyImage(const PdfImage& image)
{
    const std::string path = plat::Utf16ToUtf8(image.path);
    std::FILE* in = plat::OpenRegularFileForReading(path);
    if (!in) throw WriteFailure{Sprintf("Can't open image file: %s", path.c_str())};
    std::vector<char> buffer(kCopyChunk);
    std::uint64_t left = image.fileSize;
    while (left > 0) {
        std::size_t want = left < kCopyChunk ? static_cast<std::size_t>(left) : kCopyChunk;
        std::size_t got = std::fread(buffer.data(), 1, want, in);
        if (got != want) {
            // The file shrank since it was placed: its /Length would be wrong.
            std::fclose(in);
            throw WriteFailure{Sprintf("Image file changed while the PDF was written: %s", path.c_str())};
        }
        Write(buffer.data(), got);
        left -= got;
    }
    std::fclose(in);
}

void PdfDocument::WriteFile()
{
    total = 0;
    Write(Sprintf("%%PDF-%d.%d\n%s\n", versionMajor, versionMinor, kBinaryMarker));

    // Object numbers: the fixed four, then a page and its contents for each page in order,
    // then the images, then the information dictionary.
    int next = kProcSetObject + 1;
    for (auto& [number, page] : pages) {
        page.object = next;
        next += 2;
    }
    for (PdfImage& image : images) image.object = next++;
    const int infoObject = next;
    const int count = infoObject + 1;
    offsets.assign(static_cast<std::size_t>(count), 0);

    BeginObject(kCatalogObject);
    Write("<<\n/Type /Catalog\n");
    Write(Sprintf("/Pages %d 0 R\n", kPagesObject));
    Write(Sprintf("/Outlines %d 0 R\n", kOutlinesObject));
    Write(">>\n");
    EndObject();

    BeginObject(kOutlinesObject);
    Write("<<\n/Type /Outlines\n/Count 0\n>>\n");
    EndObject();

    BeginObject(kPagesObject);
    Write("<<\n/Type /Pages\n");
    Write(Sprintf("/Count %d\n", static_cast<int>(pages.size())));
    Write("/Kids [ ");
    for (const auto& [number, page] : pages) Write(Sprintf("%d 0 R ", page.object));
    Write("]\n>>\n");
    EndObject();

    BeginObject(kProcSetObject);
    if (images.empty()) {
        Write("[/PDF /Text]\n");
    } else {
        Write("[/PDF /Text ");
        if (procImageB) Write("/ImageB ");
        if (procImageC) Write("/ImageC ");
        Write("]\n");
    }
    EndObject();

    for (auto& [number, page] : pages) {
        // Finishing finalises a page left open.
        if (!page.finalised && !page.compressed) {
            if (compression && !CompressPage(page)) return;
            page.finalised = true;
        }
        BeginObject(page.object);
        Write("<<\n/Type /Page\n");
        Write(Sprintf("/Parent %d 0 R\n", kPagesObject));
        Write("/Resources <<\n");
        if (!page.images.empty()) {
            Write("/XObject <<\n");
            for (int index : page.images) {
                const PdfImage& image = images[static_cast<std::size_t>(index)];
                Write(Sprintf("/%s %d 0 R\n", image.name.c_str(), image.object));
            }
            Write(">>\n");
        }
        Write(Sprintf("/ProcSet %d 0 R >>\n", kProcSetObject));
        Write("/MediaBox [" + page.mediaBox + "]\n");
        Write("/CropBox [" + page.cropBox + "]\n");
        Write(Sprintf("/Rotate %d\n", page.rotation));
        Write(Sprintf("/Contents %d 0 R\n", page.object + 1));
        Write(">>\n");
        EndObject();

        BeginObject(page.object + 1);
        if (page.compressed)
            Write(Sprintf("<<\n/Length %zu\n/Filter [%s]\n>>\nstream\n", page.contents.size(), filterName.c_str()));
        else
            Write(Sprintf("<</Length %zu>>\nstream\n", page.contents.size()));
        Write(page.contents);
        Write("\nendstream\n");
        EndObject();
    }

    for (const PdfImage& image : images) {
        BeginObject(image.object);
        const int n = image.info.components;
        const char* space = n == 4 ? "DeviceCMYK" : n == 3 ? "DeviceRGB" : "DeviceGray";
        Write("<<\n/Type /XObject\n/Subtype /Image\n");
        Write(Sprintf("/Name /%s\n", image.name.c_str()));
        Write(Sprintf("/Width %d\n/Height %d\n", image.info.width, image.info.height));
        Write("/Filter /DCTDecode\n");
        Write(Sprintf("/BitsPerComponent %d\n", image.info.bitsPerComponent));
        Write(Sprintf("/ColorSpace /%s\n", space));
        Write(Sprintf("/Length %llu\n", static_cast<unsigned long long>(image.fileSize)));
        Write(">>\nstream\n");
        CopyImage(image);
        Write("\nendstream\n");
        EndObject();
    }

    BeginObject(infoObject);
    std::time_t now = static_cast<std::time_t>(plat::Now());
    std::tm local{};
    localtime_r(&now, &local);
    Write("<<\n");
    Write(Sprintf("/Creator (%s)\n", creator.c_str()));
    Write(Sprintf("/CreationDate (D:%04d%02d%02d%02d%02d%02d)\n", local.tm_year + 1900, local.tm_mon + 1,
                  local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec));
    Write(Sprintf("/Producer ([%s %s] %s)\n", kProducerName, kProducerVersion, kProducerPlatform));
    Write(Sprintf("/Author (User: %s)\n", author.c_str()));
    Write(Sprintf("/Title (%s)\n", title.c_str()));
    Write(Sprintf("/Subject (%s)\n", subject.c_str()));
    Write(Sprintf("/Keywords (%s)\n", keywords.c_str()));
    Write(">>\n");
    EndObject();

    const std::int64_t xref = total;
    if (xref > kMaxXrefOffset) throw WriteFailure{"PDF file too large"};
    Write(Sprintf("xref\n0 %d\n", count));
    Write("0000000000 65535 f \n");
    for (int i = 1; i < count; ++i)
        Write(Sprintf("%010lld 00000 n \n", static_cast<long long>(offsets[static_cast<std::size_t>(i)])));
    Write("trailer\n<<\n");
    Write(Sprintf("/Size %d\n", count));
    Write(Sprintf("/Root %d 0 R\n", kCatalogObject));
    Write(Sprintf("/Info %d 0 R\n", infoObject));
    Write(">>\nstartxref\n");
    Write(Sprintf("%lld\n", static_cast<long long>(xref)));
    Write("%%EOF\n");
}

int pdfw_finish(PdfDocument* doc)
{
    if (!doc || !doc->Usable() || !doc->outputOpen) return -1;
    try {
        doc->WriteFile();
    } catch (const WriteFailure& failure) {
        doc->Report(kPdfFatal, kSubsystem, failure.message);
        return -1;
    } catch (const std::bad_alloc&) {
        doc->Report(kPdfFatal, kMallocSubsystem, "Memory allocation failure");
        return -1;
    }
    if (doc->fatal) return -1; // a page that could not be compressed
    doc->state = kFinished;
    if (doc->memoryOutput) return 0;

    // On disk in full before it takes the target's place.
    doc->file = nullptr;
    const std::string target = plat::Utf16ToUtf8(doc->outputPath);
    if (doc->replacing.Commit()) {
        doc->outputOpen = false;
        return 0;
    }
    doc->Report(kPdfFatal, kSubsystem, Sprintf("Cannot write %s", target.c_str()));
    return -1;
}

bool pdfw_failed(const PdfDocument* doc)
{
    return !doc || doc->fatal;
}

const std::string& pdfw_memory_output(const PdfDocument* doc)
{
    static const std::string empty;
    if (!doc || !doc->memoryOutput || doc->state != kFinished) return empty;
    return doc->memory;
}
