// The control's own raster image: one picture held as a device-independent bitmap in a
// single memory block (header, palette, pixel rows bottom row first), with palette
// handling, pixel access, an optional alpha plane, and reading and writing through the
// image codecs by format number.
#pragma once
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/base/geometry.h"
#include "platform/base/strings.h"
#include "platform/file/replacing_file.h"

class CRasterImageFile;

namespace plat {
class Bitmap;
class Dc;
struct DibView;
} // namespace plat

// Format numbers: the image's format and the argument of every load and save.
enum RasterFormat : std::uint32_t {
    kFormatBmp = 0,
    kFormatGif = 1,
    kFormatJpeg = 2,
    kFormatPng = 3,
    kFormatIco = 4,
    kFormatTga = 5,
    kFormatPcx = 6,
};

// colorType values.
enum RasterColorType : std::uint8_t {
    kColorIndexed = 1,   // bit count up to 8, with a palette
    kColorTrue = 2,      // 24-bit
    kColorTrueAlpha = 4, // 24-bit with an alpha plane
};

// One palette entry or true-colour pixel, in the byte order the DIB stores it.
struct ColorQuad {
    std::uint8_t blue = 0;
    std::uint8_t green = 0;
    std::uint8_t red = 0;
    std::uint8_t reserved = 0;
    bool operator==(const ColorQuad&) const = default;
};

// The 40-byte header at the start of the DIB block (little-endian on disk and in the block).
struct DibHeader {
    static constexpr std::uint32_t kBytes = 40;
    std::uint32_t size = kBytes;
    std::int32_t width = 0;
    std::int32_t height = 0; // positive: bottom row first
    std::uint16_t planes = 0;
    std::uint16_t bitCount = 0;
    std::uint32_t compression = 0;
    std::uint32_t imageSize = 0;
    std::int32_t xPelsPerMeter = 0;
    std::int32_t yPelsPerMeter = 0;
    std::uint32_t colorsUsed = 0;
    std::uint32_t colorsImportant = 0;

    void Store(std::uint8_t* out) const;
    static DibHeader Load(const std::uint8_t* in);
};

// Bounding box of the selection mask.
struct SelectionBox {
    std::uint32_t left = 0;
    std::uint32_t top = 0;
    std::uint32_t right = 0;
    std::uint32_t bottom = 0;
};

class CRasterImage {
public:
    // Pictures are refused beyond these sizes, whatever a file claims: a side of more than
    // 65535 pixels, or a DIB block of more than 256 MiB.
    static constexpr std::int32_t kMaxSide = 65535;
    static constexpr std::uint64_t kMaxDibBytes = std::uint64_t(256) << 20;
    static constexpr std::size_t kMaxErrorChars = 255;
    // A picture read from a file may make its codec hold at most this much at the peak of
    // the read: the finished DIB, its alpha plane and the library's own working memory (a
    // progressive JPEG's coefficients, libpng's rows and chunks) together. The codecs
    // check the size a file declares against it before decoding starts, and hand the
    // libraries only what is left of it, so a file of a few kilobytes that declares a
    // huge picture is refused at once. The peak of a read stays under 4 times the finished
    // bitmap (a progressive CMYK JPEG's coefficients are 8/3 of its 24-bit DIB) and never
    // above 192 MiB.
    static constexpr std::uint64_t kMaxDecodeBytes = std::uint64_t(192) << 20;
    // What a picture of that size will hold once read: its DIB block (header, palette and
    // rows) and, with alpha, its alpha plane; 0 when a side is out of range.
    static std::uint64_t PictureBytes(std::int64_t width, std::int64_t height, int bitCount, bool withAlpha);
    // What is left of kMaxDecodeBytes for a codec's library once that picture and the
    // codec's own work are counted; 0 when nothing is left (the file is then refused).
    static std::uint64_t DecodeBudgetLeft(std::int64_t width, std::int64_t height, int bitCount, bool withAlpha,
                                          std::uint64_t workBytes);

    explicit CRasterImage(std::uint32_t format = kFormatBmp);
    CRasterImage(const plat::String& path, std::uint32_t format);
    CRasterImage(const CRasterImage& source, bool copyPixels, bool copySelection, bool copyAlpha);
    CRasterImage(const CRasterImage&) = delete;
    CRasterImage& operator=(const CRasterImage&) = delete;
    virtual ~CRasterImage();

    // Geometry and buffers.
    std::uint8_t* Allocate(std::int32_t width, std::int32_t height, int bitCount, std::uint32_t format);
    std::uint32_t PaletteBytes() const { return m_header.colorsUsed * 4; }
    std::uint8_t* PixelBits() const { return m_dib ? m_bits : nullptr; }
    std::uint64_t DibBytes() const { return DibHeader::kBytes + PaletteBytes() + std::uint64_t(m_header.imageSize); }
    std::uint8_t* PaletteAddress() const;
    const std::uint8_t* Dib() const { return m_dib; }
    bool Contains(std::int64_t x, std::int64_t y) const;
    void CopyFrom(const CRasterImage& source, bool copyPixels, bool copySelection, bool copyAlpha);
    void TakeOver(CRasterImage& other);
    void BorrowFrom(CRasterImage& other);
    // Builds a 24-bit image (format 0) from 32-bit pixels, top row first, each pixel
    // 0xAARRGGBB in native byte order as the drawing layer's bitmaps hold them; the alpha
    // byte is dropped. strideBytes is the distance between rows. False (and no image)
    // when the size is refused or memory runs out.
    bool FromPixels(std::int32_t width, std::int32_t height, const std::uint32_t* pixels, std::size_t strideBytes);
    // The drawing layer's bitmap as a 24-bit image (format 0); none leaves the image empty
    // and returns false.
    bool FromBitmap(const plat::Bitmap* bitmap);
    void SetHorizontalDpi(std::int32_t dpi);
    void SetVerticalDpi(std::int32_t dpi);

    // Palette.
    ColorQuad PaletteEntryAt(std::uint32_t index) const;
    bool PaletteRgbAt(std::uint32_t index, std::uint8_t& red, std::uint8_t& green, std::uint8_t& blue) const;
    void PutPaletteColor(std::uint32_t index, std::uint8_t red, std::uint8_t green, std::uint8_t blue, std::uint8_t fourth = 0);
    void PutPaletteEntry(std::uint32_t index, ColorQuad entry);
    void LoadPaletteChannels(std::uint32_t count, const std::uint8_t* red, const std::uint8_t* green, const std::uint8_t* blue);
    void LoadPaletteTriplets(const std::uint8_t* rgb, std::uint32_t count);
    void LoadPaletteQuads(const std::uint8_t* entries, std::uint32_t count);
    void MakeGreyRamp();
    bool HasGreyRamp() const;
    bool PaletteHasAlpha() const;
    std::uint8_t NearestPaletteIndex(ColorQuad color) const;
    void ExchangePaletteEntries(std::uint8_t a, std::uint8_t b);

    // Pixels: x from the left, y from the DIB's first row (the bottom of the picture).
    std::uint8_t PixelIndexAt(std::int64_t x, std::int64_t y) const;
    void PutPixelIndex(std::int64_t x, std::int64_t y, std::uint8_t index);
    ColorQuad PixelColorAt(std::int64_t x, std::int64_t y) const;
    void PutPixelColor(std::int64_t x, std::int64_t y, ColorQuad color);
    void PutPixelColorRef(std::int64_t x, std::int64_t y, plat::ColorRef color);
    static ColorQuad QuadFromColorRef(plat::ColorRef color);
    void SwapRedBlue(std::uint8_t* row, std::size_t length) const;
    ColorQuad TransparentColor() const;
    bool MirrorHorizontally();
    // Widens 16- or 32-bit packed pixels to the 24-bit rows of this image, from the last
    // pixel backwards so that source may be the pixel area itself (16-bit). The source
    // holds height rows of ((width + 1) / 2) × 4 bytes (16-bit) or width × 4 bytes (32-bit).
    void ExpandPackedPixels(const std::uint8_t* source, std::uint32_t redMask, std::uint32_t greenMask,
                            std::uint32_t blueMask, int bitCount);

    // Alpha plane: one byte per pixel, index x + y × width; 0 transparent, 255 opaque.
    bool CreateAlpha();
    void DropAlpha();
    void FillAlpha(std::uint8_t level);
    void PutAlpha(std::int64_t x, std::int64_t y, std::uint8_t level);
    std::uint8_t AlphaAt(std::int64_t x, std::int64_t y) const;
    bool MirrorAlpha();
    bool HasAlpha() const { return m_alpha != nullptr; }
    const std::uint8_t* AlphaPlane() const { return m_alpha; }
    std::uint8_t* AlphaPlane() { return m_alpha; }
    void DropSelection();
    bool HasSelection() const { return m_selection != nullptr; }

    // Drawing: the whole image stretched to (x, y) of cx × cy on the DC; a negative cx or
    // cy stands for the image's own width or height. With a transparent index, pixels of
    // the key colour leave the DC as it was. 1 drawn (or nothing to draw there), 0 refused
    // (no image, no DC, a zero size, or drawing switched off).
    int Paint(plat::Dc* dc, std::int32_t x, std::int32_t y, std::int32_t cx, std::int32_t cy) const;
    // The pixels as the drawing layer's raster operations read them; valid while the
    // image keeps its DIB.
    plat::DibView View() const;

    // Files, memory and streams. The 8-bit path form is in code page 936, as the
    // picture wrapper passes it.
    bool LoadFile(const plat::String& path, std::uint32_t format);
    bool LoadFile(std::string_view path936, std::uint32_t format);
    // Writes next to the target and renames over it only when the codec succeeded, so a
    // refused or failed save leaves an existing file whole. A scratch file is not synced.
    bool SaveFile(const plat::String& path, std::uint32_t format,
                  plat::FileDurability durability = plat::FileDurability::kSynced);
    bool LoadMemory(const std::uint8_t* data, std::size_t size, std::uint32_t format);
    bool SaveMemory(std::vector<std::uint8_t>& out, std::uint32_t format);
    bool ReadFrom(CRasterImageFile& stream, std::uint32_t format);
    bool WriteTo(CRasterImageFile& stream, std::uint32_t format);

    // Read access to the record.
    bool IsValid() const { return m_dib != nullptr; }
    const DibHeader& Header() const { return m_header; }
    std::int32_t Width() const { return m_header.width; }
    std::int32_t Height() const { return m_header.height; }
    int BitCount() const { return m_header.bitCount; }
    std::int32_t RowBytes() const { return m_rowBytes; }
    std::uint32_t Format() const { return m_format; }
    std::uint8_t ColorType() const { return m_colorType; }
    const std::string& LastError() const { return m_lastError; }
    std::int32_t TransparentIndex() const { return m_transparentIndex; }
    void SetTransparentIndex(std::int32_t index) { m_transparentIndex = index; }
    ColorQuad TransparentColorField() const { return m_transparentColor; }
    void SetTransparentColor(ColorQuad color) { m_transparentColor = color; }
    std::uint8_t JpegQuality() const { return m_jpegQuality; }
    std::int32_t FrameIndex() const { return m_frameIndex; }
    void SetFrameIndex(std::int32_t index) { m_frameIndex = index; }
    std::int32_t FrameCount() const { return m_frameCount; }
    std::int32_t XDpi() const { return m_xDpi; }
    std::int32_t YDpi() const { return m_yDpi; }
    const SelectionBox& Selection() const { return m_selectionBox; }
    std::uint8_t AlphaMax() const { return m_alphaMax; }
    void SetAlphaMax(std::uint8_t level) { m_alphaMax = level; }
    bool PaletteAlpha() const { return m_paletteAlpha; }
    void SetPaletteAlpha(bool on) { m_paletteAlpha = on; }
    bool IsEnabled() const { return m_enabled; }
    void SetEnabled(bool enabled) { m_enabled = enabled; }
    const CRasterImage* Owner() const { return m_owner; }
    // The row y (from the DIB's first row) or none.
    std::uint8_t* Row(std::int32_t y) const;

protected:
    struct FreeBuffer {
        void operator()(std::uint8_t* p) const { std::free(p); }
    };
    using Buffer = std::unique_ptr<std::uint8_t, FreeBuffer>;

    // Keeps at most kMaxErrorChars characters of the text.
    void SetLastError(std::string_view text);
    // Frees (or, when borrowing, lets go of) the DIB, the selection and the alpha plane.
    void FreeBuffers();
    void CopySettings(const CRasterImage& other);
    void ResetSettings();
    // Whether a picture of that size and bit count fits the limits above.
    static bool SizeAllowed(std::int64_t width, std::int64_t height, int bitCount);

    // The DIB block, selection and alpha plane; the raw pointers point into the owned
    // buffers, or into the owner's when this image borrows another one's.
    Buffer m_dibStore;
    Buffer m_selectionStore;
    Buffer m_alphaStore;
    std::uint8_t* m_dib = nullptr;
    DibHeader m_header;
    std::int32_t m_rowBytes = 0;
    std::uint8_t* m_bits = nullptr;
    CRasterImage* m_owner = nullptr;
    std::uint32_t m_format = kFormatBmp;
    std::uint8_t m_colorType = 0;
    std::string m_lastError;
    std::int32_t m_transparentIndex = -1;
    ColorQuad m_transparentColor;
    std::uint8_t m_jpegQuality = 75;
    std::int32_t m_frameIndex = 0;
    std::int32_t m_frameCount = 0;
    std::uint32_t m_frameDelay = 0;
    std::int32_t m_xDpi = 0;
    std::int32_t m_yDpi = 0;
    SelectionBox m_selectionBox;
    std::uint8_t m_alphaMax = 255;
    bool m_paletteAlpha = false;
    bool m_enabled = true;
    std::uint32_t m_frameLeft = 0;
    std::uint32_t m_frameTop = 0;
    std::uint8_t* m_selection = nullptr;
    std::uint8_t* m_alpha = nullptr;
};

// What a codec throws from its own checks; the codec catches it and keeps the text as its
// last error, so nothing leaves the image.
struct CodecFailure {
    const char* text;
};
