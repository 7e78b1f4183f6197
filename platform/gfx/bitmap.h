// Bitmaps: 32-bit pixel buffers that memory DCs draw on, with pixel access and PNG files.
#pragma once
#include <cstdint>
#include <memory>

#include "platform/base/geometry.h"
#include "platform/base/strings.h"

struct _cairo_surface;

namespace plat {

// GetPixel's answer for a point outside the bitmap (or a DC without one).
constexpr ColorRef kInvalidColor = 0xFFFFFFFF;

// Pixels are 32-bit words 0x00RRGGBB.
constexpr std::uint32_t ColorToPixel(ColorRef c)
{
    return (static_cast<std::uint32_t>(RValue(c)) << 16) | (static_cast<std::uint32_t>(GValue(c)) << 8) |
           static_cast<std::uint32_t>(BValue(c));
}
constexpr ColorRef PixelToColor(std::uint32_t w)
{
    return Rgb((w >> 16) & 0xFF, (w >> 8) & 0xFF, w & 0xFF);
}

class Bitmap {
public:
    // Sides up to this, and at most kMaxPixels in all; beyond that Create refuses.
    static constexpr int kMaxSide = 32767;
    static constexpr std::int64_t kMaxPixels = std::int64_t(1) << 26;

    // A black bitmap, or nullptr when a side is not positive or the size is too large.
    static std::unique_ptr<Bitmap> Create(int width, int height);
    // The same, marked monochrome: raster operations (raster_ops.h) read its pixels as
    // bits (bright = 1) and write them as black or white, converting colours on the way.
    static std::unique_ptr<Bitmap> CreateMonochrome(int width, int height);
    bool IsMonochrome() const;
    // Reads a PNG file; nullptr when it cannot be read or is too large.
    static std::unique_ptr<Bitmap> LoadPng(const String& path);

    ~Bitmap();
    Bitmap(const Bitmap&) = delete;
    Bitmap& operator=(const Bitmap&) = delete;

    int Width() const { return m_width; }
    int Height() const { return m_height; }
    Size GetSize() const { return Size(m_width, m_height); }

    ColorRef GetPixel(int x, int y) const;          // kInvalidColor outside
    void SetPixel(int x, int y, ColorRef color);    // ignored outside
    void Fill(ColorRef color);
    // Pixels of row y (nullptr outside), for encoders and raster ops.
    const std::uint32_t* Row(int y) const;
    std::uint32_t* MutableRow(int y);

    bool SavePng(const String& path) const;

private:
    friend class Dc;
    Bitmap(_cairo_surface* surface, int width, int height);

    _cairo_surface* m_surface;
    int m_width;
    int m_height;
};

} // namespace plat
