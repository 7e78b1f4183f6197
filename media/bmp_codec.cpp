#include "media/bmp_codec.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

#include "platform/base/byte_order.h"
#include "media/image_stream.h"
#include "media/stream_bytes.h"

namespace {

constexpr std::uint16_t kBmpMagic = 0x4D42; // "BM"
constexpr std::uint32_t kFileHeaderBytes = 14;
constexpr std::uint32_t kCoreHeaderBytes = 12;
// Info headers of later versions only add fields after the first 40 bytes.
constexpr std::uint32_t kMaxInfoHeaderBytes = 1024;
constexpr std::uint32_t kMaskBytes = 12;

enum Compression : std::uint32_t { kNone = 0, kRle8 = 1, kRle4 = 2, kBitFields = 3 };

// Writes decoded palette indices at pixel positions, dropping whatever falls outside the
// picture, so that no run or delta can reach past the pixel block.
class RleTarget {
public:
    explicit RleTarget(CRasterImage& image) : m_image(image) {}
    std::int64_t x = 0; // pixel
    std::int64_t row = 0;
    bool Done() const { return row >= m_image.Height(); }
    void Put(std::uint8_t index)
    {
        if (x < m_image.Width() && !Done()) m_image.PutPixelIndex(x, row, index);
        ++x;
    }
    void EndOfLine()
    {
        ++row;
        x = 0;
    }
    void Delta(std::uint8_t dx, std::uint8_t dy)
    {
        x += dx;
        row += dy;
    }

private:
    CRasterImage& m_image;
};

// RLE8 and RLE4 share their escapes (end of line, end of bitmap, delta, absolute run);
// RLE4 packs two pixels a byte. Its nibbles alternate from the high one of a run's first
// byte, wherever the run starts in the row, as RLE4 encoders write them.
void DecodeRle(CRasterImage& image, CRasterImageFile& stream, bool nibbles)
{
    auto pixel = [nibbles](std::uint8_t byte, int i) -> std::uint8_t {
        return !nibbles ? byte : (i & 1) ? (byte & 0x0F) : (byte >> 4);
    };
    CStreamBytes in(stream);
    RleTarget out(image);
    std::uint8_t n, c;
    while (!out.Done() && in.Next(n) && in.Next(c)) {
        if (n > 0) {
            for (int i = 0; i < n; ++i) out.Put(pixel(c, i));
            continue;
        }
        if (c == 0) {
            out.EndOfLine();
        } else if (c == 1) {
            return;
        } else if (c == 2) {
            std::uint8_t dx, dy;
            if (!in.Next(dx) || !in.Next(dy)) return;
            out.Delta(dx, dy);
        } else {
            std::uint8_t v = 0;
            for (int i = 0; i < c; ++i) {
                if ((!nibbles || !(i & 1)) && !in.Next(v)) return;
                out.Put(pixel(v, i));
            }
            // Absolute runs are padded to whole 16-bit words.
            const int bytes = nibbles ? (c + 1) / 2 : c;
            std::uint8_t pad;
            if ((bytes & 1) && !in.Next(pad)) return;
        }
    }
}

} // namespace

CBmpCodec::~CBmpCodec() = default;

bool CBmpCodec::Read(CRasterImageFile& stream)
{
    try {
        const std::int64_t start = stream.Tell();
        if (start < 0) throw CodecFailure{"Not a BMP"};
        std::uint8_t fileHeader[kFileHeaderBytes];
        if (stream.Read(fileHeader, 1, kFileHeaderBytes) != kFileHeaderBytes) throw CodecFailure{"Not a BMP"};
        std::uint32_t pixelOffset = 0;
        std::int64_t infoStart = start + kFileHeaderBytes;
        if (plat::LoadU16(fileHeader) == kBmpMagic) {
            pixelOffset = plat::LoadU32(fileHeader + 10);
        } else {
            // A bare DIB: the info header comes first.
            infoStart = start;
            if (stream.Seek(start, SEEK_SET) != 0) throw CodecFailure{"Not a BMP"};
        }

        std::uint8_t info[DibHeader::kBytes] = {};
        if (stream.Read(info, 1, 4) != 4) throw CodecFailure{"Error reading BMP info"};
        const std::uint32_t infoBytes = plat::LoadU32(info);
        const bool core = infoBytes == kCoreHeaderBytes;
        DibHeader file;
        if (core) {
            if (stream.Read(info + 4, 1, 8) != 8) throw CodecFailure{"Error reading BMP info"};
            file.width = plat::LoadU16(info + 4);
            file.height = plat::LoadU16(info + 6);
            file.planes = plat::LoadU16(info + 8);
            file.bitCount = plat::LoadU16(info + 10);
        } else {
            if (infoBytes < DibHeader::kBytes || infoBytes > kMaxInfoHeaderBytes ||
                stream.Read(info + 4, 1, DibHeader::kBytes - 4) != DibHeader::kBytes - 4)
                throw CodecFailure{"Error reading BMP info"};
            file = DibHeader::Load(info);
        }
        const int bits = file.bitCount;
        const std::uint32_t compression = file.compression;
        if (file.width < 1 || file.height == 0) throw CodecFailure{"Error reading BMP info"};
        if (file.height < 0) throw CodecFailure{"Top-down bitmaps are not supported"};
        if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)
            throw CodecFailure{"bit count not supported"};
        if (bits <= 8) {
            bool fits = compression == kNone || (compression == kRle8 && bits == 8) ||
                        (compression == kRle4 && bits == 4);
            if (!fits) throw CodecFailure{"compression type not supported"};
        } else if (!(compression == kNone || (compression == kBitFields && (bits == 16 || bits == 32)))) {
            throw CodecFailure{"unknown compression"};
        }

        // The picture against the decode budget; the codec's own work is one 32-bit row.
        if (DecodeBudgetLeft(file.width, file.height, bits, false, std::uint64_t(file.width) * 4) == 0 ||
            !Allocate(file.width, file.height, bits, kFormatBmp))
            throw CodecFailure{"Can't allocate memory"};
        m_header.xPelsPerMeter = file.xPelsPerMeter;
        m_header.yPelsPerMeter = file.yPelsPerMeter;
        m_header.Store(m_dib);
        m_xDpi = static_cast<std::int32_t>(std::floor(file.xPelsPerMeter * 0.0254 + 0.5));
        m_yDpi = static_cast<std::int32_t>(std::floor(file.yPelsPerMeter * 0.0254 + 0.5));

        if (bits <= 8) {
            // The palette follows the whole info header, whatever its version. Entries the
            // file leaves out stay black.
            std::uint32_t count = m_header.colorsUsed;
            if (!core && file.colorsUsed != 0 && file.colorsUsed < count) count = file.colorsUsed;
            if (!core && stream.Seek(infoStart + infoBytes, SEEK_SET) != 0)
                throw CodecFailure{"Error reading BMP info"};
            const std::uint32_t entryBytes = core ? 3 : 4;
            std::uint8_t entries[256 * 4] = {};
            stream.Read(entries, entryBytes, count);
            for (std::uint32_t i = 0; i < count; ++i) {
                const std::uint8_t* e = entries + i * entryBytes;
                PutPaletteEntry(i, ColorQuad{e[0], e[1], e[2], core ? std::uint8_t(0) : e[3]});
            }
        }

        std::uint32_t masks[3] = {0x7C00, 0x03E0, 0x001F};
        if (compression == kBitFields) {
            // The red, green and blue masks stand right after the first 40 bytes of the info
            // header: as a trailer of a 40-byte header, or inside a later version's.
            std::uint8_t raw[kMaskBytes];
            if (stream.Seek(infoStart + DibHeader::kBytes, SEEK_SET) != 0 ||
                stream.Read(raw, 1, kMaskBytes) != kMaskBytes)
                throw CodecFailure{"Error reading BMP info"};
            for (int i = 0; i < 3; ++i) masks[i] = plat::LoadU32(raw + 4 * i);
            std::int64_t after = infoStart + std::max<std::int64_t>(infoBytes, DibHeader::kBytes + kMaskBytes);
            stream.Seek(after, SEEK_SET);
        }

        if (pixelOffset != 0 && stream.Seek(start + pixelOffset, SEEK_SET) != 0)
            throw CodecFailure{"Error reading BMP info"};

        // A file short of pixel data loads what it has; the rest of the picture stays black.
        const std::size_t imageBytes = m_header.imageSize;
        switch (bits) {
        case 1: case 4: case 8:
            if (compression == kRle8 || compression == kRle4) DecodeRle(*this, stream, compression == kRle4);
            else stream.Read(m_bits, 1, imageBytes);
            break;
        case 16: {
            // The 16-bit rows are shorter than the 24-bit ones: read them into the pixel
            // area and widen them in place.
            std::size_t packed = ((std::size_t(Width()) + 1) / 2) * 4 * std::size_t(Height());
            stream.Read(m_bits, 1, packed);
            ExpandPackedPixels(m_bits, masks[0], masks[1], masks[2], 16);
            break;
        }
        case 24:
            stream.Read(m_bits, 1, imageBytes);
            break;
        case 32: {
            std::vector<std::uint8_t> row(std::size_t(Width()) * 4);
            for (std::int32_t y = 0; y < Height(); ++y) {
                if (stream.Read(row.data(), 1, row.size()) != row.size()) break;
                std::uint8_t* out = Row(y);
                for (std::int32_t x = 0; x < Width(); ++x) std::memcpy(out + 3 * x, &row[4 * std::size_t(x)], 3);
            }
            break;
        }
        }
        return true;
    } catch (const CodecFailure& failure) {
        SetLastError(failure.text);
    } catch (const std::bad_alloc&) {
        SetLastError("can't allocate memory");
    }
    FreeBuffers();
    return false;
}

bool CBmpCodec::Write(CRasterImageFile& stream)
{
    if (!m_dib) {
        SetLastError("No image to save");
        return false;
    }
    const std::uint64_t dibBytes = DibBytes();
    std::uint8_t fileHeader[kFileHeaderBytes] = {};
    plat::StoreU16(fileHeader, kBmpMagic);
    plat::StoreU32(fileHeader + 2, static_cast<std::uint32_t>(kFileHeaderBytes + dibBytes));
    plat::StoreU32(fileHeader + 10, kFileHeaderBytes + DibHeader::kBytes + PaletteBytes());
    m_header.Store(m_dib);
    if (stream.Write(fileHeader, 1, kFileHeaderBytes) != kFileHeaderBytes ||
        stream.Write(m_dib, 1, static_cast<std::size_t>(dibBytes)) != dibBytes) {
        SetLastError("Error writing BMP");
        return false;
    }
    return true;
}
