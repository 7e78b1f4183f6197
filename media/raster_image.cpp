#include "media/raster_image.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "media/bmp_codec.h"
#include "media/gif_codec.h"
#include "media/icon_codec.h"
#include "platform/base/byte_order.h"
#include "platform/base/regular_file.h"
#include "media/image_stream.h"
#include "media/jpeg_codec.h"
#include "media/pcx_codec.h"
#include "media/png_codec.h"
#include "media/tga_codec.h"
#include "platform/file/replacing_file.h"
#include "platform/gfx/bitmap.h"
#include "platform/gfx/dc.h"
#include "platform/gfx/raster_ops.h"

namespace {

constexpr char kUnsupported[] = "Unsupported operation for this format";
constexpr int kDefaultDpi = 72;

int RoundBitCount(int bitCount)
{
    if (bitCount <= 1) return 1;
    if (bitCount <= 4) return 4;
    if (bitCount <= 8) return 8;
    return 24;
}

std::int64_t RowBytesFor(std::int64_t width, int bitCount)
{
    return ((width * bitCount + 31) / 32) * 4;
}

std::uint8_t* AllocZeroed(std::uint64_t bytes)
{
    if (bytes == 0 || bytes > SIZE_MAX) return nullptr;
    return static_cast<std::uint8_t*>(std::calloc(static_cast<std::size_t>(bytes), 1));
}

} // namespace

void DibHeader::Store(std::uint8_t* out) const
{
    plat::StoreU32(out, size);
    plat::StoreI32(out + 4, width);
    plat::StoreI32(out + 8, height);
    plat::StoreU16(out + 12, planes);
    plat::StoreU16(out + 14, bitCount);
    plat::StoreU32(out + 16, compression);
    plat::StoreU32(out + 20, imageSize);
    plat::StoreI32(out + 24, xPelsPerMeter);
    plat::StoreI32(out + 28, yPelsPerMeter);
    plat::StoreU32(out + 32, colorsUsed);
    plat::StoreU32(out + 36, colorsImportant);
}

DibHeader DibHeader::Load(const std::uint8_t* in)
{
    DibHeader h;
    h.size = plat::LoadU32(in);
    h.width = plat::LoadI32(in + 4);
    h.height = plat::LoadI32(in + 8);
    h.planes = plat::LoadU16(in + 12);
    h.bitCount = plat::LoadU16(in + 14);
    h.compression = plat::LoadU32(in + 16);
    h.imageSize = plat::LoadU32(in + 20);
    h.xPelsPerMeter = plat::LoadI32(in + 24);
    h.yPelsPerMeter = plat::LoadI32(in + 28);
    h.colorsUsed = plat::LoadU32(in + 32);
    h.colorsImportant = plat::LoadU32(in + 36);
    return h;
}

// ---------------------------------------------------------------------------------------
// Construction and life

CRasterImage::CRasterImage(std::uint32_t format)
{
    ResetSettings();
    m_format = format;
}

CRasterImage::CRasterImage(const plat::String& path, std::uint32_t format) : CRasterImage(format)
{
    LoadFile(path, format);
}

CRasterImage::CRasterImage(const CRasterImage& source, bool copyPixels, bool copySelection, bool copyAlpha)
    : CRasterImage(source.m_format)
{
    CopyFrom(source, copyPixels, copySelection, copyAlpha);
}

CRasterImage::~CRasterImage() = default;

void CRasterImage::ResetSettings()
{
    m_header = DibHeader();
    m_rowBytes = 0;
    m_format = kFormatBmp;
    m_colorType = 0;
    m_lastError.clear();
    m_transparentIndex = -1;
    m_transparentColor = ColorQuad();
    m_jpegQuality = 75;
    m_frameIndex = 0;
    m_frameCount = 0;
    m_frameDelay = 0;
    m_selectionBox = SelectionBox();
    m_alphaMax = 255;
    m_paletteAlpha = false;
    m_enabled = true;
    m_frameLeft = 0;
    m_frameTop = 0;
    SetHorizontalDpi(kDefaultDpi);
    SetVerticalDpi(kDefaultDpi);
}

void CRasterImage::CopySettings(const CRasterImage& other)
{
    m_rowBytes = other.m_rowBytes;
    m_format = other.m_format;
    m_colorType = other.m_colorType;
    m_lastError = other.m_lastError;
    m_transparentIndex = other.m_transparentIndex;
    m_transparentColor = other.m_transparentColor;
    m_jpegQuality = other.m_jpegQuality;
    m_frameIndex = other.m_frameIndex;
    m_frameCount = other.m_frameCount;
    m_frameDelay = other.m_frameDelay;
    m_xDpi = other.m_xDpi;
    m_yDpi = other.m_yDpi;
    m_selectionBox = other.m_selectionBox;
    m_alphaMax = other.m_alphaMax;
    m_paletteAlpha = other.m_paletteAlpha;
    m_enabled = other.m_enabled;
    m_frameLeft = other.m_frameLeft;
    m_frameTop = other.m_frameTop;
}

void CRasterImage::FreeBuffers()
{
    m_dibStore.reset();
    m_selectionStore.reset();
    m_alphaStore.reset();
    m_dib = m_bits = m_selection = m_alpha = nullptr;
    m_owner = nullptr;
}

void CRasterImage::SetLastError(std::string_view text)
{
    m_lastError.assign(text.substr(0, kMaxErrorChars));
}

bool CRasterImage::SizeAllowed(std::int64_t width, std::int64_t height, int bitCount)
{
    if (width < 1 || height < 1 || width > kMaxSide || height > kMaxSide) return false;
    std::uint64_t bytes = std::uint64_t(RowBytesFor(width, RoundBitCount(bitCount))) * std::uint64_t(height);
    return bytes + DibHeader::kBytes + 256 * 4 <= kMaxDibBytes;
}

std::uint64_t CRasterImage::PictureBytes(std::int64_t width, std::int64_t height, int bitCount, bool withAlpha)
{
    if (width < 1 || height < 1 || width > kMaxSide || height > kMaxSide) return 0;
    bitCount = RoundBitCount(bitCount);
    const std::uint64_t colors = bitCount <= 8 ? (1u << bitCount) : 0;
    const std::uint64_t rows = std::uint64_t(RowBytesFor(width, bitCount)) * std::uint64_t(height);
    const std::uint64_t alpha = withAlpha ? std::uint64_t(width) * std::uint64_t(height) : 0;
    return DibHeader::kBytes + colors * 4 + rows + alpha;
}

std::uint64_t CRasterImage::DecodeBudgetLeft(std::int64_t width, std::int64_t height, int bitCount, bool withAlpha,
                                             std::uint64_t workBytes)
{
    const std::uint64_t picture = PictureBytes(width, height, bitCount, withAlpha);
    if (picture == 0 || !SizeAllowed(width, height, bitCount) || workBytes > kMaxDecodeBytes ||
        picture > kMaxDecodeBytes - workBytes)
        return 0;
    return kMaxDecodeBytes - workBytes - picture;
}

// ---------------------------------------------------------------------------------------
// Geometry and buffers

std::uint8_t* CRasterImage::Allocate(std::int32_t width, std::int32_t height, int bitCount, std::uint32_t format)
{
    FreeBuffers();
    bitCount = RoundBitCount(bitCount);
    if (!SizeAllowed(width, height, bitCount)) return nullptr;
    std::int32_t rowBytes = static_cast<std::int32_t>(RowBytesFor(width, bitCount));
    std::uint32_t colors = bitCount <= 8 ? (1u << bitCount) : 0;
    std::uint64_t imageSize = std::uint64_t(rowBytes) * std::uint64_t(height);
    Buffer block(AllocZeroed(DibHeader::kBytes + colors * 4 + imageSize));
    if (!block) return nullptr;

    m_header.size = DibHeader::kBytes;
    m_header.width = width;
    m_header.height = height;
    m_header.planes = 1;
    m_header.bitCount = static_cast<std::uint16_t>(bitCount);
    m_header.compression = 0;
    m_header.imageSize = static_cast<std::uint32_t>(imageSize);
    m_header.colorsUsed = colors;
    m_header.colorsImportant = 0;
    m_rowBytes = rowBytes;
    m_colorType = bitCount <= 8 ? kColorIndexed : kColorTrue;
    m_format = format;

    m_dibStore = std::move(block);
    m_dib = m_dibStore.get();
    DropSelection();
    DropAlpha();
    m_header.Store(m_dib);
    m_bits = m_dib + DibHeader::kBytes + PaletteBytes();
    return m_dib;
}

std::uint8_t* CRasterImage::PaletteAddress() const
{
    if (!m_dib || m_header.colorsUsed == 0) return nullptr;
    return m_dib + DibHeader::kBytes;
}

bool CRasterImage::Contains(std::int64_t x, std::int64_t y) const
{
    return x >= 0 && x < m_header.width && y >= 0 && y < m_header.height;
}

std::uint8_t* CRasterImage::Row(std::int32_t y) const
{
    if (!m_dib || y < 0 || y >= m_header.height) return nullptr;
    return m_bits + std::size_t(y) * std::size_t(m_rowBytes);
}

void CRasterImage::CopyFrom(const CRasterImage& source, bool copyPixels, bool copySelection, bool copyAlpha)
{
    if (&source == this) return;
    CopySettings(source);
    m_header.xPelsPerMeter = source.m_header.xPelsPerMeter;
    m_header.yPelsPerMeter = source.m_header.yPelsPerMeter;
    if (!source.m_dib) {
        FreeBuffers();
        return;
    }
    if (!Allocate(source.Width(), source.Height(), source.BitCount(), source.m_format)) return;
    // Allocate resets the colour type; the alpha plane copied below restores it.
    if (copyPixels) {
        std::memcpy(m_dib, source.m_dib, static_cast<std::size_t>(DibBytes()));
    } else if (std::uint8_t* palette = PaletteAddress()) {
        std::memcpy(palette, source.PaletteAddress(), std::min<std::uint32_t>(PaletteBytes(), 256 * 4));
    }
    std::size_t plane = std::size_t(Width()) * std::size_t(Height());
    if (copySelection && source.m_selection) {
        m_selectionStore.reset(AllocZeroed(plane));
        m_selection = m_selectionStore.get();
        if (m_selection) std::memcpy(m_selection, source.m_selection, plane);
        m_selectionBox = source.m_selectionBox;
    }
    if (copyAlpha && source.m_alpha && CreateAlpha()) std::memcpy(m_alpha, source.m_alpha, plane);
}

void CRasterImage::TakeOver(CRasterImage& other)
{
    if (&other == this) return;
    FreeBuffers();
    m_header = other.m_header;
    CopySettings(other);
    m_dibStore = std::move(other.m_dibStore);
    m_selectionStore = std::move(other.m_selectionStore);
    m_alphaStore = std::move(other.m_alphaStore);
    m_dib = other.m_dib;
    m_bits = other.m_bits;
    m_selection = other.m_selection;
    m_alpha = other.m_alpha;
    m_owner = other.m_owner;
    other.FreeBuffers();
    other.ResetSettings();
}

void CRasterImage::BorrowFrom(CRasterImage& other)
{
    if (&other == this) return;
    FreeBuffers();
    m_header = other.m_header;
    CopySettings(other);
    m_dib = other.m_dib;
    m_bits = other.m_bits;
    m_selection = other.m_selection;
    m_alpha = other.m_alpha;
    m_owner = &other;
}

bool CRasterImage::FromPixels(std::int32_t width, std::int32_t height, const std::uint32_t* pixels,
                              std::size_t strideBytes)
{
    FreeBuffers();
    if (!pixels || width < 1 || height < 1 || strideBytes / 4 < std::size_t(width) || strideBytes % 4 != 0) {
        SetLastError("Bad bitmap");
        return false;
    }
    if (!Allocate(width, height, 24, kFormatBmp)) {
        SetLastError("Can't allocate memory");
        return false;
    }
    for (std::int32_t r = 0; r < height; ++r) {
        const std::uint32_t* in = pixels + std::size_t(r) * (strideBytes / 4);
        std::uint8_t* out = Row(height - 1 - r);
        for (std::int32_t x = 0; x < width; ++x, out += 3) {
            std::uint32_t p = in[x];
            out[0] = static_cast<std::uint8_t>(p);
            out[1] = static_cast<std::uint8_t>(p >> 8);
            out[2] = static_cast<std::uint8_t>(p >> 16);
        }
    }
    return true;
}

bool CRasterImage::FromBitmap(const plat::Bitmap* bitmap)
{
    if (!bitmap) {
        FreeBuffers();
        return false;
    }
    const std::uint32_t* first = bitmap->Row(0);
    const std::size_t stride =
        bitmap->Height() > 1
            ? static_cast<std::size_t>(reinterpret_cast<const std::uint8_t*>(bitmap->Row(1)) -
                                       reinterpret_cast<const std::uint8_t*>(first))
            : std::size_t(bitmap->Width()) * 4;
    return FromPixels(bitmap->Width(), bitmap->Height(), first, stride);
}

void CRasterImage::SetHorizontalDpi(std::int32_t dpi)
{
    m_xDpi = dpi;
    m_header.xPelsPerMeter = static_cast<std::int32_t>(std::floor(dpi * 39.37007874015748 + 0.5));
}

void CRasterImage::SetVerticalDpi(std::int32_t dpi)
{
    m_yDpi = dpi;
    m_header.yPelsPerMeter = static_cast<std::int32_t>(std::floor(dpi * 39.37007874015748 + 0.5));
}

// ---------------------------------------------------------------------------------------
// Palette

ColorQuad CRasterImage::PaletteEntryAt(std::uint32_t index) const
{
    const std::uint8_t* palette = PaletteAddress();
    if (!palette || index >= m_header.colorsUsed) return ColorQuad();
    const std::uint8_t* e = palette + index * 4;
    return ColorQuad{e[0], e[1], e[2], e[3]};
}

bool CRasterImage::PaletteRgbAt(std::uint32_t index, std::uint8_t& red, std::uint8_t& green, std::uint8_t& blue) const
{
    const std::uint8_t* palette = PaletteAddress();
    if (!palette || index >= m_header.colorsUsed) return false;
    const std::uint8_t* e = palette + index * 4;
    blue = e[0];
    green = e[1];
    red = e[2];
    return true;
}

void CRasterImage::PutPaletteColor(std::uint32_t index, std::uint8_t red, std::uint8_t green, std::uint8_t blue,
                                   std::uint8_t fourth)
{
    PutPaletteEntry(index, ColorQuad{blue, green, red, fourth});
}

void CRasterImage::PutPaletteEntry(std::uint32_t index, ColorQuad entry)
{
    std::uint8_t* palette = PaletteAddress();
    if (!palette || index >= m_header.colorsUsed) return;
    std::uint8_t* e = palette + index * 4;
    e[0] = entry.blue;
    e[1] = entry.green;
    e[2] = entry.red;
    e[3] = entry.reserved;
}

void CRasterImage::LoadPaletteChannels(std::uint32_t count, const std::uint8_t* red, const std::uint8_t* green,
                                       const std::uint8_t* blue)
{
    std::uint8_t* palette = PaletteAddress();
    if (!palette || !red) return;
    if (!green) green = red;
    if (!blue) blue = green;
    count = std::min(count, m_header.colorsUsed);
    for (std::uint32_t i = 0; i < count; ++i) {
        palette[i * 4] = blue[i];
        palette[i * 4 + 1] = green[i];
        palette[i * 4 + 2] = red[i];
    }
}

void CRasterImage::LoadPaletteTriplets(const std::uint8_t* rgb, std::uint32_t count)
{
    std::uint8_t* palette = PaletteAddress();
    if (!palette || !rgb) return;
    count = std::min(count, m_header.colorsUsed);
    for (std::uint32_t i = 0; i < count; ++i) {
        palette[i * 4] = rgb[i * 3 + 2];
        palette[i * 4 + 1] = rgb[i * 3 + 1];
        palette[i * 4 + 2] = rgb[i * 3];
    }
}

void CRasterImage::LoadPaletteQuads(const std::uint8_t* entries, std::uint32_t count)
{
    std::uint8_t* palette = PaletteAddress();
    if (!palette || !entries) return;
    std::uint64_t bytes = std::min<std::uint64_t>(std::uint64_t(count) * 4, PaletteBytes());
    std::memcpy(palette, entries, static_cast<std::size_t>(bytes));
}

void CRasterImage::MakeGreyRamp()
{
    std::uint8_t* palette = PaletteAddress();
    if (!palette || m_header.colorsUsed < 2) return;
    std::uint32_t step = 255 / (m_header.colorsUsed - 1);
    for (std::uint32_t i = 0; i < m_header.colorsUsed; ++i) {
        std::uint8_t v = static_cast<std::uint8_t>(i * step);
        palette[i * 4] = palette[i * 4 + 1] = palette[i * 4 + 2] = v;
    }
}

bool CRasterImage::HasGreyRamp() const
{
    const std::uint8_t* palette = PaletteAddress();
    if (!palette) return false;
    for (std::uint32_t i = 0; i < m_header.colorsUsed; ++i) {
        const std::uint8_t* e = palette + i * 4;
        if (e[0] != i || e[1] != i || e[2] != i) return false;
    }
    return true;
}

bool CRasterImage::PaletteHasAlpha() const
{
    const std::uint8_t* palette = PaletteAddress();
    if (!palette) return false;
    for (std::uint32_t i = 0; i < m_header.colorsUsed; ++i)
        if (palette[i * 4 + 3] != 0) return true;
    return false;
}

std::uint8_t CRasterImage::NearestPaletteIndex(ColorQuad color) const
{
    const std::uint8_t* palette = PaletteAddress();
    if (!palette) return 0;
    long best = 200000;
    std::uint8_t found = 0;
    for (std::uint32_t i = 0; i < m_header.colorsUsed; ++i) {
        const std::uint8_t* e = palette + i * 4;
        long db = long(e[0]) - color.blue, dg = long(e[1]) - color.green, dr = long(e[2]) - color.red;
        long d = dr * dr + dg * dg + db * db;
        if (d == 0) return static_cast<std::uint8_t>(i);
        if (d < best) {
            best = d;
            found = static_cast<std::uint8_t>(i);
        }
    }
    return found;
}

void CRasterImage::ExchangePaletteEntries(std::uint8_t a, std::uint8_t b)
{
    if (!PaletteAddress() || a >= m_header.colorsUsed || b >= m_header.colorsUsed || a == b) return;
    ColorQuad ea = PaletteEntryAt(a), eb = PaletteEntryAt(b);
    PutPaletteEntry(a, eb);
    PutPaletteEntry(b, ea);
    for (std::int32_t y = 0; y < Height(); ++y) {
        if (BitCount() == 8) {
            std::uint8_t* row = Row(y);
            for (std::int32_t x = 0; x < Width(); ++x) {
                if (row[x] == a) row[x] = b;
                else if (row[x] == b) row[x] = a;
            }
            continue;
        }
        for (std::int32_t x = 0; x < Width(); ++x) {
            std::uint8_t i = PixelIndexAt(x, y);
            if (i == a) PutPixelIndex(x, y, b);
            else if (i == b) PutPixelIndex(x, y, a);
        }
    }
}

// ---------------------------------------------------------------------------------------
// Pixels

std::uint8_t CRasterImage::PixelIndexAt(std::int64_t x, std::int64_t y) const
{
    if (!PaletteAddress()) return 0;
    if (!Contains(x, y)) return m_transparentIndex != -1 ? static_cast<std::uint8_t>(m_transparentIndex) : 0;
    const std::uint8_t* row = Row(static_cast<std::int32_t>(y));
    switch (BitCount()) {
    case 8: return row[x];
    case 4: return (x & 1) ? (row[x / 2] & 0x0F) : (row[x / 2] >> 4);
    default: return (row[x / 8] >> (7 - (x & 7))) & 1;
    }
}

void CRasterImage::PutPixelIndex(std::int64_t x, std::int64_t y, std::uint8_t index)
{
    if (!PaletteAddress() || !Contains(x, y)) return;
    std::uint8_t* row = Row(static_cast<std::int32_t>(y));
    switch (BitCount()) {
    case 8: row[x] = index; break;
    case 4: {
        std::uint8_t& b = row[x / 2];
        if (x & 1) b = static_cast<std::uint8_t>((b & 0xF0) | (index & 0x0F));
        else b = static_cast<std::uint8_t>((b & 0x0F) | (index << 4));
        break;
    }
    default: {
        std::uint8_t& b = row[x / 8];
        std::uint8_t bit = static_cast<std::uint8_t>(0x80 >> (x & 7));
        b = (index & 1) ? (b | bit) : (b & ~bit);
        break;
    }
    }
}

ColorQuad CRasterImage::PixelColorAt(std::int64_t x, std::int64_t y) const
{
    if (!m_dib || !Contains(x, y)) return TransparentColor();
    if (PaletteAddress()) return PaletteEntryAt(PixelIndexAt(x, y));
    const std::uint8_t* p = Row(static_cast<std::int32_t>(y)) + x * 3;
    return ColorQuad{p[0], p[1], p[2], m_transparentColor.reserved};
}

void CRasterImage::PutPixelColor(std::int64_t x, std::int64_t y, ColorQuad color)
{
    if (!m_dib || !Contains(x, y)) return;
    if (PaletteAddress()) {
        PutPixelIndex(x, y, NearestPaletteIndex(color));
        return;
    }
    std::uint8_t* p = Row(static_cast<std::int32_t>(y)) + x * 3;
    p[0] = color.blue;
    p[1] = color.green;
    p[2] = color.red;
}

ColorQuad CRasterImage::QuadFromColorRef(plat::ColorRef color)
{
    return ColorQuad{static_cast<std::uint8_t>(plat::BValue(color)), static_cast<std::uint8_t>(plat::GValue(color)),
                     static_cast<std::uint8_t>(plat::RValue(color)), 0};
}

void CRasterImage::PutPixelColorRef(std::int64_t x, std::int64_t y, plat::ColorRef color)
{
    PutPixelColor(x, y, QuadFromColorRef(color));
}

void CRasterImage::SwapRedBlue(std::uint8_t* row, std::size_t length) const
{
    if (!row || BitCount() != 24) return;
    length = std::min<std::size_t>(length, std::size_t(m_rowBytes));
    for (std::size_t i = 0; i + 3 <= length; i += 3) std::swap(row[i], row[i + 2]);
}

ColorQuad CRasterImage::TransparentColor() const
{
    if (BitCount() < 24 && m_transparentIndex >= 0 && PaletteAddress())
        return PaletteEntryAt(static_cast<std::uint32_t>(m_transparentIndex));
    return m_transparentColor;
}

bool CRasterImage::MirrorHorizontally()
{
    if (!m_dib) return false;
    CRasterImage copy(*this, false, false, true);
    if (!copy.m_dib) return false;
    const std::int32_t w = Width();
    for (std::int32_t y = 0; y < Height(); ++y) {
        const std::uint8_t* in = Row(y);
        std::uint8_t* out = copy.Row(y);
        if (BitCount() == 8) {
            for (std::int32_t x = 0; x < w; ++x) out[x] = in[w - 1 - x];
        } else if (BitCount() == 24) {
            for (std::int32_t x = 0; x < w; ++x) std::memcpy(out + 3 * x, in + 3 * (w - 1 - x), 3);
        } else if (BitCount() == 4) {
            for (std::int32_t x = 0; x < w; ++x) {
                const std::int32_t from = w - 1 - x;
                std::uint8_t v = (from & 1) ? (in[from / 2] & 0x0F) : (in[from / 2] >> 4);
                out[x / 2] |= (x & 1) ? v : static_cast<std::uint8_t>(v << 4);
            }
        } else {
            for (std::int32_t x = 0; x < w; ++x) {
                const std::int32_t from = w - 1 - x;
                if ((in[from / 8] >> (7 - (from & 7))) & 1) out[x / 8] |= static_cast<std::uint8_t>(0x80 >> (x & 7));
            }
        }
    }
    copy.MirrorAlpha();
    TakeOver(copy);
    return true;
}

namespace {
// Where one colour channel sits in a packed pixel, and how to bring it to 8 bits.
struct ChannelMask {
    std::uint32_t mask = 0;
    int low = 0;  // lowest set bit
    int bits = 0; // span from the lowest to the highest set bit
    explicit ChannelMask(std::uint32_t m) : mask(m)
    {
        if (!m) return;
        low = __builtin_ctz(m);
        bits = 32 - __builtin_clz(m) - low;
    }
    std::uint8_t Extract(std::uint32_t pixel) const
    {
        if (!bits) return 0;
        std::uint32_t v = (pixel & mask) >> low;
        v = bits > 8 ? v >> (bits - 8) : v << (8 - bits);
        return static_cast<std::uint8_t>(v);
    }
};
} // namespace

void CRasterImage::ExpandPackedPixels(const std::uint8_t* source, std::uint32_t redMask, std::uint32_t greenMask,
                                      std::uint32_t blueMask, int bitCount)
{
    if (!m_dib || !source || BitCount() != 24 || (bitCount != 16 && bitCount != 32)) return;
    const std::size_t w = std::size_t(Width());
    const std::size_t sourceRow = bitCount == 16 ? ((w + 1) / 2) * 4 : w * 4;
    // Masks are taken over the pixel's own width; for the 5-5-5 and 5-6-5 layouts this
    // gives each channel's bits moved to the top of its byte.
    const std::uint32_t width16 = bitCount == 16 ? 0xFFFFu : 0xFFFFFFFFu;
    ChannelMask red(redMask & width16), green(greenMask & width16), blue(blueMask & width16);
    for (std::int32_t y = Height() - 1; y >= 0; --y) {
        const std::uint8_t* in = source + std::size_t(y) * sourceRow;
        std::uint8_t* out = Row(y);
        for (std::size_t x = w; x-- > 0;) {
            std::uint8_t b, g, r;
            if (bitCount == 32) {
                b = in[x * 4];
                g = in[x * 4 + 1];
                r = in[x * 4 + 2];
            } else {
                std::uint32_t p = plat::LoadU16(in + x * 2);
                b = blue.Extract(p);
                g = green.Extract(p);
                r = red.Extract(p);
            }
            out[x * 3] = b;
            out[x * 3 + 1] = g;
            out[x * 3 + 2] = r;
        }
    }
}

// ---------------------------------------------------------------------------------------
// Alpha plane and selection

bool CRasterImage::CreateAlpha()
{
    DropAlpha();
    if (!m_dib) return false;
    m_alphaStore.reset(AllocZeroed(std::uint64_t(Width()) * std::uint64_t(Height())));
    m_alpha = m_alphaStore.get();
    if (!m_alpha) return false;
    if (BitCount() == 24) m_colorType = kColorTrueAlpha;
    return true;
}

void CRasterImage::DropAlpha()
{
    m_alphaStore.reset();
    m_alpha = nullptr;
    if (BitCount() == 24) m_colorType = kColorTrue;
}

void CRasterImage::FillAlpha(std::uint8_t level)
{
    if (m_alpha) std::memset(m_alpha, level, std::size_t(Width()) * std::size_t(Height()));
}

void CRasterImage::PutAlpha(std::int64_t x, std::int64_t y, std::uint8_t level)
{
    if (m_alpha && Contains(x, y)) m_alpha[x + y * Width()] = level;
}

std::uint8_t CRasterImage::AlphaAt(std::int64_t x, std::int64_t y) const
{
    return m_alpha && Contains(x, y) ? m_alpha[x + y * Width()] : 0;
}

bool CRasterImage::MirrorAlpha()
{
    if (!m_alpha) return false;
    for (std::int32_t y = 0; y < Height(); ++y) {
        std::uint8_t* row = m_alpha + std::size_t(y) * std::size_t(Width());
        std::reverse(row, row + Width());
    }
    return true;
}

void CRasterImage::DropSelection()
{
    m_selectionStore.reset();
    m_selection = nullptr;
    m_selectionBox.left = static_cast<std::uint32_t>(std::max(Width(), 0));
    m_selectionBox.top = 0;
    m_selectionBox.right = 0;
    m_selectionBox.bottom = static_cast<std::uint32_t>(std::max(Height(), 0));
}

// ---------------------------------------------------------------------------------------
// Drawing

plat::DibView CRasterImage::View() const
{
    plat::DibView view;
    if (!m_dib) return view;
    view.width = Width();
    view.height = Height();
    view.bitCount = BitCount();
    view.rowBytes = m_rowBytes;
    view.bits = m_bits;
    view.palette = PaletteAddress();
    view.paletteEntries = static_cast<int>(m_header.colorsUsed);
    return view;
}

int CRasterImage::Paint(plat::Dc* dc, std::int32_t x, std::int32_t y, std::int32_t cx, std::int32_t cy) const
{
    if (!m_dib || !dc || cx == 0 || cy == 0 || !m_enabled) return 0;
    const std::int32_t w = Width(), h = Height();
    if (cx < 0) cx = w;
    if (cy < 0) cy = h;
    const plat::DibView view = View();
    if (m_transparentIndex == -1) {
        plat::StretchDib(*dc, x, y, cx, cy, view, 0, 0, w, h, plat::kSrcCopy);
        return 1;
    }
    if (!plat::RectVisible(*dc, plat::Rect(x, y, static_cast<std::int32_t>(std::int64_t(x) + cx),
                                           static_cast<std::int32_t>(std::int64_t(y) + cy))))
        return 1;

    // The picture 1:1 and a mask that is 1 where it has the key colour; then picture XOR,
    // mask AND, picture XOR: key-coloured pixels leave the destination as it was.
    auto colour = plat::Bitmap::Create(w, h);
    auto mask = plat::Bitmap::CreateMonochrome(w, h);
    if (!colour || !mask) return 0;
    plat::MemoryDc colourDc(dc), maskDc(dc);
    colourDc.Select(colour.get());
    maskDc.Select(mask.get());
    plat::StretchDib(colourDc, 0, 0, w, h, view, 0, 0, w, h, plat::kSrcCopy);
    const ColorQuad key = BitCount() == 24 ? m_transparentColor
                                           : PaletteEntryAt(static_cast<std::uint32_t>(m_transparentIndex));
    colourDc.SetBkColor(plat::Rgb(key.red, key.green, key.blue));
    plat::BitBlt(maskDc, 0, 0, w, h, &colourDc, 0, 0, plat::kSrcCopy);
    // The mask must reach the destination as black and white whatever colours its text
    // and background are set to; they are put back afterwards.
    const plat::ColorRef oldText = dc->SetTextColor(plat::Rgb(0, 0, 0));
    const plat::ColorRef oldBk = dc->SetBkColor(plat::Rgb(255, 255, 255));
    plat::StretchBlt(*dc, x, y, cx, cy, &colourDc, 0, 0, w, h, plat::kSrcInvert);
    plat::StretchBlt(*dc, x, y, cx, cy, &maskDc, 0, 0, w, h, plat::kSrcAnd);
    plat::StretchBlt(*dc, x, y, cx, cy, &colourDc, 0, 0, w, h, plat::kSrcInvert);
    dc->SetTextColor(oldText);
    dc->SetBkColor(oldBk);
    return 1;
}

// ---------------------------------------------------------------------------------------
// Files, memory and streams

bool CRasterImage::LoadFile(const plat::String& path, std::uint32_t format)
{
    std::FILE* file = plat::OpenRegularFileForReading(plat::Utf16ToUtf8(path));
    if (!file) return false;
    bool ok;
    {
        CRasterImageFile stream(file);
        ok = ReadFrom(stream, format);
    }
    std::fclose(file);
    return ok;
}

bool CRasterImage::LoadFile(std::string_view path936, std::uint32_t format)
{
    return LoadFile(plat::Cp936ToUtf16(path936), format);
}

bool CRasterImage::SaveFile(const plat::String& path, std::uint32_t format, plat::FileDurability durability)
{
    // Written beside the target and renamed over it, so a refused save keeps the old file.
    plat::ReplacingFile out;
    if (!out.Open(path)) return false;
    bool ok;
    {
        CRasterImageFile stream(out.Stdio());
        ok = WriteTo(stream, format);
    }
    return ok && out.Commit(durability);
}

bool CRasterImage::LoadMemory(const std::uint8_t* data, std::size_t size, std::uint32_t format)
{
    CRasterImageFile stream(data, size);
    if (size > 0 && !stream.IsOpen()) {
        SetLastError("Can't allocate memory");
        return false;
    }
    return ReadFrom(stream, format);
}

bool CRasterImage::SaveMemory(std::vector<std::uint8_t>& out, std::uint32_t format)
{
    CRasterImageFile stream(CRasterImageFile::kMemory);
    if (!WriteTo(stream, format)) return false;
    out.assign(stream.Data(), stream.Data() + stream.Size());
    return true;
}

namespace {
template <class Codec>
bool ReadWith(CRasterImage& image, CRasterImageFile& stream, Codec& codec, std::string& error)
{
    if (codec.Read(stream)) {
        image.TakeOver(codec);
        return true;
    }
    error = codec.LastError();
    return false;
}
} // namespace

bool CRasterImage::ReadFrom(CRasterImageFile& stream, std::uint32_t format)
{
    std::string error;
    bool ok;
    switch (format) {
    case kFormatBmp: { CBmpCodec codec; ok = ReadWith(*this, stream, codec, error); break; }
    case kFormatJpeg: { CJpegCodec codec; ok = ReadWith(*this, stream, codec, error); break; }
    case kFormatPng: { CPngCodec codec; ok = ReadWith(*this, stream, codec, error); break; }
    // The GIF and icon readers take the frame to read from this image.
    case kFormatGif: { CGifCodec codec; codec.SetFrameIndex(m_frameIndex); ok = ReadWith(*this, stream, codec, error); break; }
    case kFormatIco: { CIconCodec codec; codec.SetFrameIndex(m_frameIndex); ok = ReadWith(*this, stream, codec, error); break; }
    case kFormatTga: { CTgaCodec codec; ok = ReadWith(*this, stream, codec, error); break; }
    case kFormatPcx: { CPcxCodec codec; ok = ReadWith(*this, stream, codec, error); break; }
    default: ok = false; error = kUnsupported; break;
    }
    if (!ok) SetLastError(error);
    return ok;
}

bool CRasterImage::WriteTo(CRasterImageFile& stream, std::uint32_t format)
{
    auto writeWith = [&](auto& codec) {
        codec.BorrowFrom(*this);
        bool ok = codec.Write(stream);
        if (!ok) SetLastError(codec.LastError());
        return ok;
    };
    switch (format) {
    case kFormatBmp: { CBmpCodec codec; return writeWith(codec); }
    case kFormatJpeg: { CJpegCodec codec; return writeWith(codec); }
    case kFormatPng: { CPngCodec codec; return writeWith(codec); }
    case kFormatGif: { CGifCodec codec; return writeWith(codec); }
    case kFormatIco: { CIconCodec codec; return writeWith(codec); }
    case kFormatTga: { CTgaCodec codec; return writeWith(codec); }
    // PCX files are read only.
    default: SetLastError(kUnsupported); return false;
    }
}
