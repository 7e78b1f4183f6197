#include "platform/gfx/bitmap.h"

#include "platform/base/regular_file.h"
#include "platform/gfx/raster_access.h"
#include "platform/gfx/surface_access.h"

#include <algorithm>
#include <cstdio>
#include <memory>

namespace plat {

namespace {

bool SizeAllowed(int width, int height)
{
    return width > 0 && height > 0 && width <= Bitmap::kMaxSide && height <= Bitmap::kMaxSide &&
           static_cast<std::int64_t>(width) * height <= Bitmap::kMaxPixels;
}

// Width and height from a PNG file's header, read before the decoder allocates anything.
bool PngHeaderSize(std::FILE* f, int* width, int* height)
{
    unsigned char h[24];
    const bool read = std::fread(h, 1, sizeof h, f) == sizeof h;
    static const unsigned char kSig[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (!read || !std::equal(kSig, kSig + 8, h) || !std::equal(h + 12, h + 16, "IHDR")) return false;
    auto be32 = [](const unsigned char* p) {
        return (std::uint32_t(p[0]) << 24) | (std::uint32_t(p[1]) << 16) | (std::uint32_t(p[2]) << 8) | p[3];
    };
    const std::uint32_t w = be32(h + 16), hgt = be32(h + 20);
    if (w > static_cast<std::uint32_t>(Bitmap::kMaxSide) || hgt > static_cast<std::uint32_t>(Bitmap::kMaxSide))
        return false;
    *width = static_cast<int>(w);
    *height = static_cast<int>(hgt);
    return true;
}

cairo_status_t ReadPngBytes(void* closure, unsigned char* data, unsigned int length)
{
    return std::fread(data, 1, length, static_cast<std::FILE*>(closure)) == length ? CAIRO_STATUS_SUCCESS
                                                                                   : CAIRO_STATUS_READ_ERROR;
}

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

} // namespace

Bitmap::Bitmap(cairo_surface_t* surface, int width, int height)
    : m_surface(surface), m_width(width), m_height(height) {}

Bitmap::~Bitmap()
{
    cairo_surface_destroy(m_surface);
}

std::unique_ptr<Bitmap> Bitmap::Create(int width, int height)
{
    if (!SizeAllowed(width, height)) return nullptr;
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
    if (cairo_surface_status(s) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(s);
        return nullptr;
    }
    return std::unique_ptr<Bitmap>(new Bitmap(s, width, height));
}

std::unique_ptr<Bitmap> Bitmap::CreateMonochrome(int width, int height)
{
    auto bmp = Create(width, height);
    if (bmp) gfx_detail::MarkMonochrome(bmp->m_surface);
    return bmp;
}

bool Bitmap::IsMonochrome() const
{
    return gfx_detail::IsMonochrome(m_surface);
}

std::unique_ptr<Bitmap> Bitmap::LoadPng(const String& path)
{
    // One open of a regular file serves the header check and the decoder.
    std::unique_ptr<std::FILE, FileCloser> file(OpenRegularFileForReading(Utf16ToUtf8(path)));
    if (!file) return nullptr;
    int hw = 0, hh = 0;
    if (!PngHeaderSize(file.get(), &hw, &hh) || !SizeAllowed(hw, hh)) return nullptr;
    std::rewind(file.get());
    cairo_surface_t* png = cairo_image_surface_create_from_png_stream(ReadPngBytes, file.get());
    if (cairo_surface_status(png) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(png);
        return nullptr;
    }
    const int w = cairo_image_surface_get_width(png);
    const int h = cairo_image_surface_get_height(png);
    auto bmp = Create(w, h);
    if (bmp) {
        // Composite onto white, so that a transparent picture reads as it looks on paper.
        bmp->Fill(Rgb(255, 255, 255));
        cairo_t* cr = cairo_create(bmp->m_surface);
        cairo_set_source_surface(cr, png, 0, 0);
        cairo_paint(cr);
        cairo_destroy(cr);
    }
    cairo_surface_destroy(png);
    return bmp;
}

const std::uint32_t* Bitmap::Row(int y) const
{
    if (y < 0 || y >= m_height) return nullptr;
    return gfx_detail::SurfaceRow(m_surface, y, false);
}

std::uint32_t* Bitmap::MutableRow(int y)
{
    if (y < 0 || y >= m_height) return nullptr;
    return gfx_detail::SurfaceRow(m_surface, y, true);
}

ColorRef Bitmap::GetPixel(int x, int y) const
{
    if (x < 0 || x >= m_width) return kInvalidColor;
    const std::uint32_t* row = Row(y);
    return row ? PixelToColor(row[x]) : kInvalidColor;
}

void Bitmap::SetPixel(int x, int y, ColorRef color)
{
    if (x < 0 || x >= m_width) return;
    if (std::uint32_t* row = MutableRow(y)) row[x] = ColorToPixel(color);
}

void Bitmap::Fill(ColorRef color)
{
    const std::uint32_t w = ColorToPixel(color);
    for (int y = 0; y < m_height; ++y) {
        std::uint32_t* row = gfx_detail::SurfaceRow(m_surface, y, true);
        std::fill(row, row + m_width, w);
    }
}

bool Bitmap::SavePng(const String& path) const
{
    cairo_surface_flush(m_surface);
    return cairo_surface_write_to_png(m_surface, Utf16ToUtf8(path).c_str()) == CAIRO_STATUS_SUCCESS;
}

} // namespace plat
