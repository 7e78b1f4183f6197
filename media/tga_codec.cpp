#include "media/tga_codec.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "media/image_stream.h"
#include "media/stream_bytes.h"
#include "platform/base/byte_order.h"

namespace {

constexpr std::size_t kHeaderBytes = 18;
constexpr std::uint8_t kRightToLeft = 0x10;
constexpr std::uint8_t kTopToBottom = 0x20;
constexpr std::uint8_t kRunLength = 8;

struct TgaHeader {
    std::uint8_t idLength;
    std::uint8_t mapType;
    std::uint8_t imageType;
    std::uint16_t mapFirst;
    std::uint16_t mapLength;
    std::uint8_t mapEntryBits;
    std::uint16_t width;
    std::uint16_t height;
    std::uint8_t depth;
    std::uint8_t descriptor;

    static TgaHeader Load(const std::uint8_t* h)
    {
        return TgaHeader{h[0], h[1], h[2], plat::LoadU16(h + 3), plat::LoadU16(h + 5), h[7],
                         plat::LoadU16(h + 12), plat::LoadU16(h + 14), h[16], h[17]};
    }
};

// Bytes a stored pixel of that many bits takes; 0 for depths the codec does not decode.
int StoredBytes(int bits)
{
    switch (bits) {
    case 8: return 1;
    case 15: case 16: return 2;
    case 24: return 3;
    case 32: return 4;
    default: return 0;
    }
}

// A 15- or 16-bit value as blue, green and red, each channel's five bits at the top of
// its byte; bit 15 is the attribute (alpha) bit.
ColorQuad Quad16(std::uint16_t w)
{
    return ColorQuad{static_cast<std::uint8_t>((w & 0x1F) * 8), static_cast<std::uint8_t>((w / 4) & 0xF8),
                     static_cast<std::uint8_t>((w / 128) & 0xF8), 0};
}

// Writes stored pixels into one DIB row of the image (and its alpha plane), clipping
// every run at the row's end: a run that reaches beyond it is dropped there, never
// carried into the next row.
class RowWriter {
public:
    RowWriter(CRasterImage& image, int depth) : m_image(image), m_depth(depth), m_bytes(StoredBytes(depth)) {}

    void Start(std::int32_t dibRow)
    {
        m_row = m_image.Row(dibRow);
        m_alpha = m_image.HasAlpha() ? m_image.AlphaPlane() + std::size_t(dibRow) * std::size_t(m_image.Width()) : nullptr;
        m_x = 0;
    }
    std::int32_t Left() const { return m_image.Width() - m_x; }

    // count stored pixels, one after the other in `pixels`.
    void Raw(const std::uint8_t* pixels, std::int32_t count)
    {
        count = std::min(count, Left());
        if (m_depth == 8 || m_depth == 24) {
            std::memcpy(m_row + std::size_t(m_x) * std::size_t(m_bytes), pixels, std::size_t(count) * std::size_t(m_bytes));
        } else {
            for (std::int32_t i = 0; i < count; ++i) Put(m_x + i, pixels + std::size_t(i) * std::size_t(m_bytes));
        }
        m_x += count;
    }
    // One stored pixel repeated count times.
    void Repeat(const std::uint8_t* pixel, std::int32_t count)
    {
        count = std::min(count, Left());
        if (m_depth == 8) {
            std::memset(m_row + m_x, pixel[0], std::size_t(count));
        } else if (count > 0) {
            // The first pixel decoded, its three bytes and alpha copied along the run.
            Put(m_x, pixel);
            const std::uint8_t* first = m_row + 3 * std::size_t(m_x);
            for (std::int32_t i = 1; i < count; ++i) std::memcpy(m_row + 3 * std::size_t(m_x + i), first, 3);
            if (m_alpha) std::memset(m_alpha + m_x, m_alpha[m_x], std::size_t(count));
        }
        m_x += count;
    }

private:
    void Put(std::int32_t x, const std::uint8_t* p)
    {
        std::uint8_t* out = m_row + 3 * std::size_t(x);
        if (m_depth == 24 || m_depth == 32) {
            out[0] = p[0];
            out[1] = p[1];
            out[2] = p[2];
            if (m_alpha) m_alpha[x] = p[3];
            return;
        }
        // 15 and 16 bits.
        const std::uint16_t w = plat::LoadU16(p);
        const ColorQuad c = Quad16(w);
        out[0] = c.blue;
        out[1] = c.green;
        out[2] = c.red;
        if (m_alpha) m_alpha[x] = (w & 0x8000) ? 0x80 : 0;
    }

    CRasterImage& m_image;
    int m_depth;
    int m_bytes;
    std::uint8_t* m_row = nullptr;
    std::uint8_t* m_alpha = nullptr;
    std::int32_t m_x = 0;
};

// The colour map with its stored entry size, entry i going to palette index first + i;
// entries past the palette (or every entry, for a true-colour image) are read and left.
void ReadColorMap(CRasterImage& image, CStreamBytes& in, const TgaHeader& h)
{
    const int entryBytes = (h.mapEntryBits + 7) / 8;
    std::uint8_t e[32] = {}; // the largest entry size, 255 bits
    for (std::uint32_t i = 0; i < h.mapLength; ++i) {
        if (in.Take(e, std::size_t(entryBytes)) != std::size_t(entryBytes)) return;
        const std::uint32_t index = std::uint32_t(h.mapFirst) + i;
        switch (h.mapEntryBits) {
        case 15: case 16: image.PutPaletteEntry(index, Quad16(plat::LoadU16(e))); break;
        case 24: case 32: image.PutPaletteEntry(index, ColorQuad{e[0], e[1], e[2], 0}); break;
        default: break;
        }
    }
}

} // namespace

CTgaCodec::~CTgaCodec() = default;

bool CTgaCodec::Read(CRasterImageFile& stream)
{
    try {
        std::uint8_t raw[kHeaderBytes];
        if (stream.Read(raw, 1, kHeaderBytes) != kHeaderBytes) throw CodecFailure{"Not a TGA"};
        const TgaHeader h = TgaHeader::Load(raw);
        const int kind = h.imageType & ~kRunLength;
        // A depth the codec does not decode would give a picture of nothing but black: it is
        // refused like an unknown type.
        if (kind < 1 || kind > 3 || (h.imageType & ~(kRunLength | 3)) != 0 || StoredBytes(h.depth) == 0)
            throw CodecFailure{"Unknown TGA image type"};
        const bool alpha = h.depth == 16 || h.depth == 32;
        const int bitCount = alpha ? 24 : h.depth;
        // Every row but the last must be there whole for the picture to be read (the reading
        // below refuses a file that ends before a row starts): a file too short for that is
        // refused before anything is allocated. A run-length row takes at least one packet
        // of one pixel per 128 pixels.
        const std::uint64_t pixelBytes = std::uint64_t(StoredBytes(h.depth));
        const std::uint64_t leastRow = (h.imageType & kRunLength)
                                           ? (std::uint64_t(h.width) + 127) / 128 * (1 + pixelBytes)
                                           : std::uint64_t(h.width) * pixelBytes;
        const std::uint64_t leastMap = std::uint64_t(h.mapType ? h.mapLength : 0) * ((h.mapEntryBits + 7) / 8);
        const std::uint64_t rowWork = std::uint64_t(h.width) * 4;
        if (DecodeBudgetLeft(h.width, h.height, bitCount, alpha, rowWork) == 0) throw CodecFailure{"TGA Create failed"};
        if (h.height > 0 && StreamBytesLeft(stream) < h.idLength + leastMap + (h.height - 1) * leastRow + 1)
            throw CodecFailure{"corrupted TGA"};
        if (!Allocate(h.width, h.height, bitCount, kFormatTga) || (alpha && !CreateAlpha()))
            throw CodecFailure{"TGA Create failed"};

        CStreamBytes in(stream);
        std::uint8_t skip[256];
        if (in.Take(skip, h.idLength) != h.idLength) throw CodecFailure{"corrupted TGA"};
        if (h.mapType != 0) ReadColorMap(*this, in, h);
        if (kind == 3) MakeGreyRamp();

        RowWriter out(*this, h.depth);
        const int bytes = StoredBytes(h.depth);
        const bool runLength = (h.imageType & kRunLength) != 0;
        // One row of stored pixels, the longest raw packet (128 pixels) included.
        std::vector<std::uint8_t> pixels(std::max<std::size_t>(std::size_t(Width()), 128) * std::size_t(bytes) + 4);
        for (std::int32_t y = 0; y < Height(); ++y) {
            if (in.AtEnd()) throw CodecFailure{"corrupted TGA"};
            out.Start((h.descriptor & kTopToBottom) ? Height() - 1 - y : y);
            if (!runLength) {
                // A row cut short leaves its missing pixels 0.
                const std::size_t got = in.Take(pixels.data(), std::size_t(Width()) * std::size_t(bytes));
                out.Raw(pixels.data(), static_cast<std::int32_t>(got / std::size_t(bytes)));
                continue;
            }
            while (out.Left() > 0) {
                std::uint8_t packet;
                if (!in.Next(packet)) break;
                if (packet < 128) {
                    const std::int32_t n = packet + 1;
                    const std::size_t want = std::size_t(n) * std::size_t(bytes);
                    const std::size_t got = in.Take(pixels.data(), want);
                    if (got != want) break;
                    out.Raw(pixels.data(), n);
                } else {
                    std::uint8_t pixel[4] = {};
                    if (in.Take(pixel, std::size_t(bytes)) != std::size_t(bytes)) break;
                    out.Repeat(pixel, packet - 127);
                }
            }
        }
        if ((h.descriptor & kRightToLeft) && !MirrorHorizontally()) throw CodecFailure{"TGA Create failed"};
        return true;
    } catch (const CodecFailure& failure) {
        SetLastError(failure.text);
    } catch (const std::bad_alloc&) {
        SetLastError("TGA Create failed");
    }
    FreeBuffers();
    return false;
}

bool CTgaCodec::Write(CRasterImageFile& stream)
{
    if (!m_dib) {
        SetLastError("No image to save");
        return false;
    }
    if (BitCount() < 8) {
        SetLastError("Bit depth must be 8 or 24");
        return false;
    }
    const bool indexed = BitCount() == 8;
    const bool alpha = BitCount() == 24 && HasAlpha();
    std::uint8_t h[kHeaderBytes] = {};
    h[1] = PaletteAddress() ? 1 : 0;
    h[2] = indexed ? 1 : 2;
    plat::StoreU16(h + 5, indexed ? 256 : 0);
    h[7] = indexed ? 24 : 0;
    plat::StoreU16(h + 12, static_cast<std::uint16_t>(Width()));
    plat::StoreU16(h + 14, static_cast<std::uint16_t>(Height()));
    h[16] = static_cast<std::uint8_t>(alpha ? 32 : BitCount());
    bool ok = stream.Write(h, 1, kHeaderBytes) == kHeaderBytes;
    if (ok && indexed) {
        std::uint8_t map[256 * 3];
        for (std::uint32_t i = 0; i < 256; ++i) {
            const ColorQuad c = PaletteEntryAt(i);
            map[i * 3] = c.blue;
            map[i * 3 + 1] = c.green;
            map[i * 3 + 2] = c.red;
        }
        ok = stream.Write(map, 1, sizeof map) == sizeof map;
    }
    const std::size_t w = std::size_t(Width());
    std::vector<std::uint8_t> row(alpha ? w * 4 : 0);
    for (std::int32_t y = 0; ok && y < Height(); ++y) {
        if (!alpha) {
            const std::size_t n = w * std::size_t(BitCount() / 8);
            ok = stream.Write(Row(y), 1, n) == n;
            continue;
        }
        for (std::size_t x = 0; x < w; ++x) {
            const ColorQuad c = PixelColorAt(std::int64_t(x), y);
            std::uint8_t* p = &row[x * 4];
            p[0] = c.blue;
            p[1] = c.green;
            p[2] = c.red;
            p[3] = static_cast<std::uint8_t>(unsigned(AlphaMax()) * AlphaAt(std::int64_t(x), y) / 255);
        }
        ok = stream.Write(row.data(), 1, row.size()) == row.size();
    }
    if (!ok) SetLastError("Can't write TGA");
    return ok;
}
