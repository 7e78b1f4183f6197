#include "media/jpeg_codec.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <memory>

#include <jpeglib.h>
#include <jerror.h>

#include "media/image_stream.h"

// The library reports a fatal error by calling the error manager's exit routine, which
// must not return. Ours formats the message and jumps back to the codec. Everything the
// jump crosses is the library's C code and our trivial callbacks, and every object with a
// destructor lives in a frame the jump does not leave (the job is owned by Read/Write).

namespace {

constexpr std::size_t kTransferBytes = 4096;
// Progressive files may declare any number of scans; past this many the file is refused
// rather than decoded for minutes.
constexpr int kMaxScans = 1000;

struct ErrorManager {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
    char* message; // JMSG_LENGTH_MAX bytes
};

[[noreturn]] void JumpBack(ErrorManager& err) { std::longjmp(err.jump, 1); }

[[noreturn]] void ErrorExit(j_common_ptr cinfo)
{
    auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, err->message);
    JumpBack(*err);
}

// Warnings (a premature end, corrupt data) are counted by the library but not printed:
// the control has no console.
void OutputMessage(j_common_ptr) {}

[[noreturn]] void Fail(ErrorManager& err, const char* text)
{
    std::snprintf(err.message, JMSG_LENGTH_MAX, "%s", text);
    JumpBack(err);
}

void InitErrorManager(ErrorManager& err, char* message)
{
    jpeg_std_error(&err.pub);
    err.pub.error_exit = ErrorExit;
    err.pub.output_message = OutputMessage;
    err.message = message;
}

// ---------------------------------------------------------------------------------------
// Reading

struct SourceManager {
    jpeg_source_mgr pub;
    CRasterImageFile* stream;
    JOCTET* buffer;
    bool startOfFile;
};

SourceManager& SourceOf(j_decompress_ptr cinfo) { return *reinterpret_cast<SourceManager*>(cinfo->src); }

void InitSource(j_decompress_ptr cinfo) { SourceOf(cinfo).startOfFile = true; }

boolean FillInputBuffer(j_decompress_ptr cinfo)
{
    SourceManager& src = SourceOf(cinfo);
    std::size_t n = src.stream->Read(src.buffer, 1, kTransferBytes);
    if (n == 0) {
        if (src.startOfFile) ERREXIT(cinfo, JERR_INPUT_EMPTY);
        WARNMS(cinfo, JWRN_JPEG_EOF);
        // An end-of-image marker lets the library finish what it has.
        src.buffer[0] = 0xFF;
        src.buffer[1] = JPEG_EOI;
        n = 2;
    }
    src.pub.next_input_byte = src.buffer;
    src.pub.bytes_in_buffer = n;
    src.startOfFile = false;
    return TRUE;
}

void SkipInputData(j_decompress_ptr cinfo, long count)
{
    if (count <= 0) return;
    SourceManager& src = SourceOf(cinfo);
    while (count > static_cast<long>(src.pub.bytes_in_buffer)) {
        count -= static_cast<long>(src.pub.bytes_in_buffer);
        FillInputBuffer(cinfo);
    }
    src.pub.next_input_byte += count;
    src.pub.bytes_in_buffer -= static_cast<std::size_t>(count);
}

void TermSource(j_decompress_ptr) {}

struct ReadJob {
    jpeg_decompress_struct cinfo;
    ErrorManager err;
    SourceManager src;
    jpeg_progress_mgr progress;
    CRasterImage* image;
    bool created;
    char message[JMSG_LENGTH_MAX];
    JOCTET buffer[kTransferBytes];
};

void CheckScans(j_common_ptr cinfo)
{
    auto* d = reinterpret_cast<j_decompress_ptr>(cinfo);
    if (d->input_scan_number > kMaxScans) Fail(*reinterpret_cast<ErrorManager*>(cinfo->err), "Too many scans in JPEG file");
}

// The library's memory beyond the coefficients: its rows (for upsampling and colour
// conversion, a few dozen rows of every component) and its tables.
std::uint64_t LibraryRowBytes(const jpeg_decompress_struct& cinfo)
{
    return std::uint64_t(cinfo.image_width) * std::uint64_t(cinfo.num_components) * 64 + (std::uint64_t(1) << 20);
}

// A file of several scans (a progressive one) is decoded whole into the coefficients of
// every block, 2 bytes a sample of each component, before the first row comes out; a
// file of one scan needs only a row of blocks.
std::uint64_t CoefficientBytes(jpeg_decompress_struct& cinfo)
{
    if (!jpeg_has_multiple_scans(&cinfo)) return 0;
    std::uint64_t bytes = 0;
    for (int i = 0; i < cinfo.num_components; ++i) {
        const jpeg_component_info& c = cinfo.comp_info[i];
        const auto roundUp = [](std::uint64_t n, std::uint64_t step) { return (n + step - 1) / step * step; };
        bytes += roundUp(c.width_in_blocks, std::uint64_t(std::max(1, c.h_samp_factor))) *
                 roundUp(c.height_in_blocks, std::uint64_t(std::max(1, c.v_samp_factor))) * sizeof(JBLOCK);
    }
    return bytes;
}

void Decode(ReadJob& job)
{
    jpeg_decompress_struct& cinfo = job.cinfo;
    job.created = true;
    jpeg_create_decompress(&cinfo);
    cinfo.src = &job.src.pub;
    job.src.pub.init_source = InitSource;
    job.src.pub.fill_input_buffer = FillInputBuffer;
    job.src.pub.skip_input_data = SkipInputData;
    job.src.pub.resync_to_restart = jpeg_resync_to_restart;
    job.src.pub.term_source = TermSource;
    job.progress.progress_monitor = CheckScans;
    cinfo.progress = &job.progress;

    jpeg_read_header(&cinfo, TRUE);
#ifdef JCS_EXTENSIONS
    // The library can hand colour rows over in the DIB's blue-green-red order directly.
    const bool bgr = cinfo.jpeg_color_space == JCS_YCbCr || cinfo.jpeg_color_space == JCS_RGB;
    if (bgr) cinfo.out_color_space = JCS_EXT_BGR;
#else
    const bool bgr = false;
#endif
    jpeg_calc_output_dimensions(&cinfo);
    const int components = cinfo.output_components;
    if (components != 1 && components != 3 && components != 4)
        Fail(job.err, "JPEG colour space not supported");
    CRasterImage& image = *job.image;
    constexpr char kTooLarge[] = "JPEG image too large or out of memory";
    if (cinfo.output_width > JDIMENSION(CRasterImage::kMaxSide) || cinfo.output_height > JDIMENSION(CRasterImage::kMaxSide))
        Fail(job.err, kTooLarge);
    // The picture and the library's work against the decode budget, before anything is
    // decoded; the library's memory manager is held to its share, so that nothing it
    // allocates later can pass the budget either.
    const std::int32_t width = static_cast<std::int32_t>(cinfo.output_width);
    const std::int32_t height = static_cast<std::int32_t>(cinfo.output_height);
    const std::uint64_t work = CoefficientBytes(cinfo) + LibraryRowBytes(cinfo);
    const std::uint64_t left = CRasterImage::DecodeBudgetLeft(width, height, 8 * std::min(components, 3), false, work);
    if (left == 0) Fail(job.err, kTooLarge);
    cinfo.mem->max_memory_to_use = static_cast<long>(work + left);
    if (!image.Allocate(width, height, 8 * components, kFormatJpeg)) Fail(job.err, kTooLarge);
    if (cinfo.out_color_space == JCS_GRAYSCALE) image.MakeGreyRamp();

    jpeg_start_decompress(&cinfo);
    const std::size_t stride = std::size_t(cinfo.output_width) * std::size_t(components);
    const std::size_t rowBytes = std::size_t(image.RowBytes());
    JSAMPARRAY sample = nullptr;
    if (components == 4)
        sample = (*cinfo.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&cinfo), JPOOL_IMAGE,
                                            static_cast<JDIMENSION>(stride), 1);
    for (std::int32_t y = 0; y < height && cinfo.output_scanline < cinfo.output_height; ++y) {
        std::uint8_t* row = image.Row(height - 1 - y);
        if (components != 4) {
            JSAMPROW target = row;
            jpeg_read_scanlines(&cinfo, &target, 1);
            if (components == 3 && !bgr) image.SwapRedBlue(row, rowBytes);
            continue;
        }
        jpeg_read_scanlines(&cinfo, sample, 1);
        // Stored CMYK values are inverted (as Adobe writes them): each colour component
        // times the fourth gives the screen value.
        const JSAMPLE* in = sample[0];
        for (std::size_t i = 0, o = 0; i + 4 <= stride && o + 3 <= rowBytes; i += 4, o += 3) {
            unsigned k = in[i + 3];
            row[o] = static_cast<std::uint8_t>(in[i + 2] * k / 255);
            row[o + 1] = static_cast<std::uint8_t>(in[i + 1] * k / 255);
            row[o + 2] = static_cast<std::uint8_t>(in[i] * k / 255);
        }
    }
    jpeg_finish_decompress(&cinfo);
}

bool RunDecode(ReadJob& job)
{
    if (setjmp(job.err.jump)) return false;
    Decode(job);
    return true;
}

// ---------------------------------------------------------------------------------------
// Writing

struct DestinationManager {
    jpeg_destination_mgr pub;
    CRasterImageFile* stream;
    JOCTET* buffer;
};

DestinationManager& DestinationOf(j_compress_ptr cinfo)
{
    return *reinterpret_cast<DestinationManager*>(cinfo->dest);
}

void InitDestination(j_compress_ptr cinfo)
{
    DestinationManager& dest = DestinationOf(cinfo);
    dest.pub.next_output_byte = dest.buffer;
    dest.pub.free_in_buffer = kTransferBytes;
}

boolean EmptyOutputBuffer(j_compress_ptr cinfo)
{
    DestinationManager& dest = DestinationOf(cinfo);
    if (dest.stream->Write(dest.buffer, 1, kTransferBytes) != kTransferBytes) ERREXIT(cinfo, JERR_FILE_WRITE);
    dest.pub.next_output_byte = dest.buffer;
    dest.pub.free_in_buffer = kTransferBytes;
    return TRUE;
}

void TermDestination(j_compress_ptr cinfo)
{
    DestinationManager& dest = DestinationOf(cinfo);
    std::size_t count = kTransferBytes - dest.pub.free_in_buffer;
    if (count > 0 && dest.stream->Write(dest.buffer, 1, count) != count) ERREXIT(cinfo, JERR_FILE_WRITE);
    dest.stream->Flush();
    if (dest.stream->HasError()) ERREXIT(cinfo, JERR_FILE_WRITE);
}

struct WriteJob {
    jpeg_compress_struct cinfo;
    ErrorManager err;
    DestinationManager dest;
    CRasterImage* image;
    bool created;
    char message[JMSG_LENGTH_MAX];
    JOCTET buffer[kTransferBytes];
};

void Encode(WriteJob& job)
{
    jpeg_compress_struct& cinfo = job.cinfo;
    CRasterImage& image = *job.image;
    job.created = true;
    jpeg_create_compress(&cinfo);
    cinfo.dest = &job.dest.pub;
    job.dest.pub.init_destination = InitDestination;
    job.dest.pub.empty_output_buffer = EmptyOutputBuffer;
    job.dest.pub.term_destination = TermDestination;

    const bool grey = image.PaletteAddress() != nullptr;
    cinfo.image_width = static_cast<JDIMENSION>(image.Width());
    cinfo.image_height = static_cast<JDIMENSION>(image.Height());
    cinfo.input_components = grey ? 1 : 3;
    cinfo.in_color_space = grey ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(&cinfo);
#ifdef JCS_EXTENSIONS
    // Set after the defaults, which choose the file's colour space from JCS_RGB.
    const bool bgr = !grey;
    if (bgr) cinfo.in_color_space = JCS_EXT_BGR;
#else
    const bool bgr = false;
#endif
    jpeg_set_quality(&cinfo, image.JpegQuality(), TRUE);
    jpeg_start_compress(&cinfo, TRUE);

    const std::size_t rowBytes = std::size_t(image.RowBytes());
    // A row of its own for the rows that need changing: 1- and 4-bit grey rows widened to
    // a byte a sample, colour rows turned from blue-green-red without the extension.
    JSAMPARRAY buffer = (*cinfo.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&cinfo), JPOOL_IMAGE,
                                                   static_cast<JDIMENSION>(std::max<std::size_t>(rowBytes, image.Width()) + 8), 1);
    for (std::int32_t y = image.Height() - 1; y >= 0; --y) {
        JSAMPROW row = image.Row(y);
        if (grey && image.BitCount() < 8) {
            for (std::int32_t x = 0; x < image.Width(); ++x) buffer[0][x] = image.PixelIndexAt(x, y);
            row = buffer[0];
        } else if (!grey && !bgr) {
            std::memcpy(buffer[0], row, rowBytes);
            image.SwapRedBlue(buffer[0], rowBytes);
            row = buffer[0];
        }
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
}

bool RunEncode(WriteJob& job)
{
    if (setjmp(job.err.jump)) return false;
    Encode(job);
    return true;
}

} // namespace

CJpegCodec::~CJpegCodec() = default;

bool CJpegCodec::Read(CRasterImageFile& stream)
{
    auto job = std::make_unique<ReadJob>();
    std::memset(job.get(), 0, sizeof(ReadJob));
    InitErrorManager(job->err, job->message);
    job->cinfo.err = &job->err.pub;
    job->src.stream = &stream;
    job->src.buffer = job->buffer;
    job->image = this;
    bool ok = RunDecode(*job);
    if (job->created) jpeg_destroy_decompress(&job->cinfo);
    if (!ok) {
        SetLastError(job->message);
        FreeBuffers();
    }
    return ok;
}

bool CJpegCodec::Write(CRasterImageFile& stream)
{
    if (!m_dib) {
        SetLastError("No image to save");
        return false;
    }
    if (PaletteAddress() && !HasGreyRamp()) {
        SetLastError("JPEG can save only RGB or GreyScale images");
        return false;
    }
    auto job = std::make_unique<WriteJob>();
    std::memset(job.get(), 0, sizeof(WriteJob));
    InitErrorManager(job->err, job->message);
    job->cinfo.err = &job->err.pub;
    job->dest.stream = &stream;
    job->dest.buffer = job->buffer;
    job->image = this;
    bool ok = RunEncode(*job);
    if (job->created) jpeg_destroy_compress(&job->cinfo);
    if (!ok) SetLastError(job->message);
    return ok;
}
