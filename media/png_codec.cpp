#include "media/png_codec.h"

#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <vector>

#include <png.h>

#include "media/image_stream.h"

// libpng reports a fatal error through the error callback, which must not return: ours
// keeps the message and jumps back to the codec (png_longjmp to the library's jump buffer).
// The jump crosses only the library's C code and our trivial callbacks; every object with
// a destructor lives in the job, which the frame of Read/Write owns.

namespace {

constexpr std::size_t kMessageBytes = CRasterImage::kMaxErrorChars + 1;
constexpr std::uint8_t kDefaultBackground = 192;
constexpr png_alloc_size_t kMaxChunkBytes = 8u << 20;

struct PngJob {
    png_structp png = nullptr;
    png_infop info = nullptr;
    CRasterImageFile* stream = nullptr;
    CRasterImage* image = nullptr;
    char message[kMessageBytes] = {};
    std::vector<std::uint8_t> rows; // the RGBA row of the reader's alpha path
    std::vector<std::uint8_t> row;  // one output row of the writer
    std::vector<png_color> palette;
    std::vector<png_byte> trans;
    bool madeAlpha = false;
};

PngJob& JobOf(png_structp png) { return *static_cast<PngJob*>(png_get_io_ptr(png)); }

[[noreturn]] void OnError(png_structp png, png_const_charp message)
{
    auto* job = static_cast<PngJob*>(png_get_error_ptr(png));
    std::snprintf(job->message, kMessageBytes, "%s", message ? message : "");
    png_longjmp(png, 1);
}

// Warnings (a bad ancillary chunk) change nothing and are not printed: the control has no
// console.
void OnWarning(png_structp, png_const_charp) {}

void ReadData(png_structp png, png_bytep data, png_size_t length)
{
    if (JobOf(png).stream->Read(data, 1, length) != length) png_error(png, "Read Error");
}

void WriteData(png_structp png, png_bytep data, png_size_t length)
{
    if (JobOf(png).stream->Write(data, 1, length) != length) png_error(png, "Write Error");
}

void FlushData(png_structp png)
{
    if (JobOf(png).stream->Flush() != 0) png_error(png, "Flush Error");
}

[[noreturn]] void Fail(PngJob& job, const char* text) { png_error(job.png, text); }

// Widens the 2-bit pixels at the start of the row to 4 bits, in place, last pixel first.
void Widen2To4(std::uint8_t* row, std::size_t width)
{
    for (std::size_t n = width; n-- > 0;) {
        std::uint8_t v = (row[n / 4] >> (6 - 2 * (n % 4))) & 3;
        std::uint8_t& out = row[n / 2];
        out = (n & 1) ? static_cast<std::uint8_t>((out & 0xF0) | v) : static_cast<std::uint8_t>((out & 0x0F) | (v << 4));
    }
}

void Decode(PngJob& job)
{
    png_structp png = job.png;
    png_infop info = job.info;
    CRasterImage& image = *job.image;
    png_set_read_fn(png, &job, ReadData);
    // The library buffers some ancillary chunks whole, at the length the file gives
    // (text up to 2 GiB); none of them changes the picture, so they are skipped unread.
    static const png_byte kSkipped[] = "tEXt\0zTXt\0iTXt\0iCCP\0sPLT\0eXIf\0tIME\0hIST\0pCAL\0sCAL\0";
    png_set_keep_unknown_chunks(png, PNG_HANDLE_CHUNK_NEVER, kSkipped, int(sizeof kSkipped / 5));
    png_set_chunk_malloc_max(png, kMaxChunkBytes);
    png_set_user_limits(png, png_uint_32(CRasterImage::kMaxSide), png_uint_32(CRasterImage::kMaxSide));
    png_read_info(png, info);

    const png_uint_32 width = png_get_image_width(png, info);
    const png_uint_32 height = png_get_image_height(png, info);
    const int bitDepth = png_get_bit_depth(png, info);
    int colorType = png_get_color_type(png, info);
    const int pixelDepth = png_get_channels(png, info) * bitDepth;
    if (width > png_uint_32(CRasterImage::kMaxSide) || height > png_uint_32(CRasterImage::kMaxSide))
        Fail(job, "PNG image too large");

    // Everything but 32-bit pixels (8-bit RGBA, 16-bit grey with alpha) is composited onto
    // a background; that also drops the alpha channel of the other alpha layouts.
    png_color_16p fileBackground = nullptr;
    const bool hasBackground = png_get_bKGD(png, info, &fileBackground) != 0 && fileBackground;
    if (pixelDepth != 32) {
        if (hasBackground) {
            png_set_background(png, fileBackground, PNG_BACKGROUND_GAMMA_FILE, 1, 1.0);
        } else {
            png_color_16 grey{};
            grey.red = grey.green = grey.blue = kDefaultBackground;
            png_set_background(png, &grey, PNG_BACKGROUND_GAMMA_SCREEN, 0, 1.0);
        }
        if (pixelDepth > 16) colorType = PNG_COLOR_TYPE_RGB;
    } else if (hasBackground) {
        image.SetTransparentColor(ColorQuad{static_cast<std::uint8_t>(fileBackground->blue),
                                            static_cast<std::uint8_t>(fileBackground->green),
                                            static_cast<std::uint8_t>(fileBackground->red), 0});
    }
    if (bitDepth == 16) png_set_strip_16(png);

    const int bitCount = pixelDepth == 16 ? 8 : pixelDepth > 16 ? 24 : pixelDepth;
    const bool withAlpha = colorType == PNG_COLOR_TYPE_RGB_ALPHA ||
                           (colorType == PNG_COLOR_TYPE_GRAY_ALPHA && pixelDepth == 32);
    // The picture, its alpha plane and the library's work against the decode budget before
    // a row is read: libpng's two rows of up to 8 bytes a pixel and its chunk buffer (held
    // to kMaxChunkBytes above), our RGBA row, and zlib's state.
    const std::uint64_t work = std::uint64_t(width) * 20 + kMaxChunkBytes + (std::uint64_t(1) << 20);
    if (CRasterImage::DecodeBudgetLeft(width, height, bitCount, withAlpha, work) == 0 ||
        !image.Allocate(static_cast<std::int32_t>(width), static_cast<std::int32_t>(height), bitCount, kFormatPng))
        Fail(job, "PNG image too large or out of memory");

    // The palette is taken before the first row is read, when the library would blend the
    // file's palette with the background.
    if (image.PaletteAddress()) {
        png_colorp palette = nullptr;
        int count = 0;
        if (png_get_PLTE(png, info, &palette, &count) && palette && count > 0) {
            for (int i = 0; i < count; ++i)
                image.PutPaletteColor(static_cast<std::uint32_t>(i), palette[i].red, palette[i].green, palette[i].blue);
        } else if (bitDepth == 2) {
            for (std::uint32_t i = 0; i < 4; ++i) {
                auto v = static_cast<std::uint8_t>(i * 85);
                image.PutPaletteColor(i, v, v, v);
            }
        } else {
            image.MakeGreyRamp();
        }
        png_bytep alpha = nullptr;
        int transCount = 0;
        png_color_16p transColor = nullptr;
        if (colorType == PNG_COLOR_TYPE_PALETTE && png_get_tRNS(png, info, &alpha, &transCount, &transColor) && alpha &&
            transCount > 0) {
            const std::uint32_t colors = image.Header().colorsUsed;
            for (std::uint32_t i = 0; i < colors && i < std::uint32_t(transCount); ++i) {
                ColorQuad e = image.PaletteEntryAt(i);
                e.reserved = alpha[i];
                image.PutPaletteEntry(i, e);
            }
            if (transCount == 1 && alpha[0] == 0) {
                image.SetTransparentIndex(0);
            } else {
                image.SetPaletteAlpha(true);
                for (std::uint32_t i = std::uint32_t(transCount); i < colors; ++i) {
                    ColorQuad e = image.PaletteEntryAt(i);
                    e.reserved = 255;
                    image.PutPaletteEntry(i, e);
                }
            }
        }
    }

    if (withAlpha) {
        if (colorType == PNG_COLOR_TYPE_GRAY_ALPHA) {
            png_set_gray_to_rgb(png);
            png_set_expand(png);
        }
        png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
        if (!image.CreateAlpha()) Fail(job, "PNG image too large or out of memory");
    }
    if (withAlpha || colorType == PNG_COLOR_TYPE_RGB) png_set_bgr(png); // the DIB's byte order
    const int passes = png_get_interlace_type(png, info) == PNG_INTERLACE_NONE ? 1 : png_set_interlace_handling(png);
    png_read_update_info(png, info);

    // The rows the library will produce must be the layout chosen above.
    const png_size_t libraryRow = png_get_rowbytes(png, info);
    const int outDepth = png_get_channels(png, info) * png_get_bit_depth(png, info);
    const std::size_t w = width;
    if (withAlpha ? (outDepth != 32 || libraryRow != w * 4)
                  : !(outDepth == bitCount || (outDepth == 2 && bitCount == 4)) ||
                        libraryRow > std::size_t(image.RowBytes()))
        Fail(job, "PNG pixel layout not supported");

    const std::int32_t h = image.Height();
    if (!withAlpha) {
        // Rows go straight into the DIB, which also keeps the pixels of earlier passes.
        for (int pass = 0; pass < passes; ++pass) {
            for (std::int32_t j = 0; j < h; ++j) {
                std::uint8_t* row = image.Row(h - 1 - j);
                png_read_row(png, row, nullptr);
                if (pass == passes - 1 && outDepth == 2) Widen2To4(row, w);
            }
        }
    } else {
        // One RGBA row: on the passes after the first of an interlaced file it is filled
        // again from the DIB and the alpha plane, which keep the pixels of earlier passes.
        job.rows.resize(w * 4);
        std::uint8_t* bgra = job.rows.data();
        std::uint8_t* alpha = image.AlphaPlane();
        for (int pass = 0; pass < passes; ++pass) {
            for (std::int32_t j = 0; j < h; ++j) {
                const std::int32_t y = h - 1 - j;
                std::uint8_t* out = image.Row(y);
                std::uint8_t* plane = alpha + std::size_t(y) * w;
                if (pass > 0) {
                    for (std::size_t x = 0; x < w; ++x) {
                        std::memcpy(bgra + x * 4, out + x * 3, 3);
                        bgra[x * 4 + 3] = plane[x];
                    }
                }
                png_read_row(png, bgra, nullptr);
                for (std::size_t x = 0; x < w; ++x) {
                    std::memcpy(out + x * 3, bgra + x * 4, 3);
                    plane[x] = bgra[x * 4 + 3];
                }
            }
        }
    }
    png_read_end(png, info);
}

bool RunDecode(PngJob& job)
{
    if (setjmp(png_jmpbuf(job.png))) return false;
    Decode(job);
    return true;
}

void Encode(PngJob& job)
{
    png_structp png = job.png;
    png_infop info = job.info;
    CRasterImage& image = *job.image;
    png_set_write_fn(png, &job, WriteData, FlushData);

    const std::int32_t w = image.Width(), h = image.Height();
    const bool indexed = image.PaletteAddress() != nullptr;

    // A 24-bit image with a key colour is written with alpha: 0 on the key, 255 elsewhere.
    if (!indexed && image.TransparentIndex() >= 0) {
        if (!image.HasAlpha()) {
            if (!image.CreateAlpha()) Fail(job, "out of memory");
            image.FillAlpha(255);
            job.madeAlpha = true;
        }
        const ColorQuad key = image.TransparentColor();
        for (std::int32_t y = 0; y < h; ++y)
            for (std::int32_t x = 0; x < w; ++x)
                if (image.PixelColorAt(x, y) == key) image.PutAlpha(x, y, 0);
    }

    if (image.HasAlpha()) {
        png_set_IHDR(png, info, png_uint_32(w), png_uint_32(h), 8, PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE,
                     PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
        png_write_info(png, info);
        job.row.resize(std::size_t(w) * 4);
        const unsigned alphaMax = image.AlphaMax();
        for (std::int32_t y = h - 1; y >= 0; --y) {
            std::uint8_t* out = job.row.data();
            for (std::int32_t x = 0; x < w; ++x, out += 4) {
                ColorQuad c = image.PixelColorAt(x, y);
                out[0] = c.red;
                out[1] = c.green;
                out[2] = c.blue;
                out[3] = static_cast<std::uint8_t>(image.AlphaAt(x, y) * alphaMax / 255);
            }
            png_write_row(png, job.row.data());
        }
    } else {
        const int bitCount = image.BitCount();
        png_set_IHDR(png, info, png_uint_32(w), png_uint_32(h), indexed ? bitCount : 8,
                     indexed ? PNG_COLOR_TYPE_PALETTE : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                     PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
        if (indexed) {
            const std::uint32_t colors = image.Header().colorsUsed;
            const std::int32_t key = image.TransparentIndex();
            if (key > 0 && std::uint32_t(key) < colors) {
                // The key colour becomes entry 0, in the file and in the image.
                image.ExchangePaletteEntries(0, static_cast<std::uint8_t>(key));
                image.SetTransparentIndex(0);
            }
            job.palette.resize(colors);
            for (std::uint32_t i = 0; i < colors; ++i) {
                ColorQuad e = image.PaletteEntryAt(i);
                job.palette[i] = png_color{e.red, e.green, e.blue};
            }
            png_set_PLTE(png, info, job.palette.data(), static_cast<int>(colors));
            if (image.TransparentIndex() == 0) {
                job.trans.assign(1, 0);
            } else if (image.PaletteAlpha()) {
                job.trans.resize(colors);
                for (std::uint32_t i = 0; i < colors; ++i) job.trans[i] = image.PaletteEntryAt(i).reserved;
            }
            if (!job.trans.empty()) png_set_tRNS(png, info, job.trans.data(), static_cast<int>(job.trans.size()), nullptr);
        }
        png_write_info(png, info);
        if (!indexed) png_set_bgr(png);
        for (std::int32_t y = h - 1; y >= 0; --y) png_write_row(png, image.Row(y));
    }
    png_write_end(png, info);
}

bool RunEncode(PngJob& job)
{
    if (setjmp(png_jmpbuf(job.png))) return false;
    Encode(job);
    return true;
}

} // namespace

CPngCodec::~CPngCodec() = default;

bool CPngCodec::Read(CRasterImageFile& stream)
{
    PngJob job;
    job.stream = &stream;
    job.image = this;
    job.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &job, OnError, OnWarning);
    if (!job.png) {
        SetLastError("Failed to create PNG structure");
        return false;
    }
    job.info = png_create_info_struct(job.png);
    if (!job.info) {
        png_destroy_read_struct(&job.png, nullptr, nullptr);
        SetLastError("Failed to initialize PNG info structure");
        return false;
    }
    bool ok = false;
    try {
        ok = RunDecode(job);
    } catch (const std::bad_alloc&) {
        std::snprintf(job.message, kMessageBytes, "out of memory");
    }
    png_destroy_read_struct(&job.png, &job.info, nullptr);
    if (!ok) {
        SetLastError(job.message);
        FreeBuffers();
    }
    return ok;
}

bool CPngCodec::Write(CRasterImageFile& stream)
{
    if (!m_dib) {
        SetLastError("No image to save");
        return false;
    }
    PngJob job;
    job.stream = &stream;
    job.image = this;
    job.png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &job, OnError, OnWarning);
    if (!job.png) {
        SetLastError("Failed to create PNG structure");
        return false;
    }
    job.info = png_create_info_struct(job.png);
    if (!job.info) {
        png_destroy_write_struct(&job.png, nullptr);
        SetLastError("Failed to initialize PNG info structure");
        return false;
    }
    bool ok = false;
    try {
        ok = RunEncode(job);
    } catch (const std::bad_alloc&) {
        ok = false;
    }
    png_destroy_write_struct(&job.png, &job.info);
    if (job.madeAlpha) DropAlpha();
    // The pixels were renumbered in the shared DIB; the owner's key index follows them.
    if (m_owner) m_owner->SetTransparentIndex(m_transparentIndex);
    if (!ok) SetLastError("Error saving PNG file");
    return ok;
}
