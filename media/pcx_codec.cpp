#include "media/pcx_codec.h"

#include <cstring>
#include <vector>

#include "media/image_stream.h"
#include "media/stream_bytes.h"
#include "platform/base/byte_order.h"

namespace {

constexpr std::size_t kHeaderBytes = 128;
constexpr std::uint8_t kPaletteSignature = 12;
constexpr char kCorrupted[] = "corrupted PCX";
constexpr char kPlanesForDepth[] = "Can't handle bits per pixel image with planes.";

struct PcxHeader {
    std::uint8_t manufacturer;
    std::uint8_t encoding;
    std::uint8_t bitsPerPixel;
    std::int32_t width;
    std::int32_t height;
    const std::uint8_t* palette; // 16 red-green-blue triplets
    std::uint8_t planes;
    std::uint16_t bytesPerLine;

    static PcxHeader Load(const std::uint8_t* h)
    {
        return PcxHeader{h[0], h[2], h[3],
                         std::int32_t(plat::LoadU16(h + 8)) - plat::LoadU16(h + 4) + 1,
                         std::int32_t(plat::LoadU16(h + 10)) - plat::LoadU16(h + 6) + 1,
                         h + 16, h[65], plat::LoadU16(h + 66)};
    }
};

// The bit count of the image a file of that depth and plane count becomes.
int BitCountFor(const PcxHeader& h)
{
    if (h.bitsPerPixel == 1) {
        if (h.planes > 4) throw CodecFailure{"Can't handle image with more than 4 planes"};
        if (h.planes == 0) throw CodecFailure{kPlanesForDepth};
        // Two planes give 2-bit values, which a 1-bit picture cannot hold: such files
        // become 4-bit pictures of the header's first 4 colours.
        return h.planes == 3 ? 24 : h.planes == 1 ? 1 : 4;
    }
    if (h.bitsPerPixel == 2 || h.bitsPerPixel == 4 || h.bitsPerPixel == 8) {
        if (h.planes == 1) return h.bitsPerPixel;
        // Three planes of 8 bits are red, green and blue; three of fewer bits are packed
        // pixels, which only one plane may hold.
        if (h.planes == 3) {
            if (h.bitsPerPixel != 8) throw CodecFailure{"Can't handle more than 1 bit per pixel"};
            return 24;
        }
    }
    throw CodecFailure{kPlanesForDepth};
}

// The run-length coded scan lines, one line at a time; a run may span lines but not
// the end of the image.
class LineDecoder {
public:
    LineDecoder(CStreamBytes& in, std::uint64_t total) : m_in(in), m_left(total) {}

    void Next(std::uint8_t* line, std::size_t bytes)
    {
        std::size_t done = 0;
        while (done < bytes) {
            if (m_repeat > 0) {
                const std::size_t n = std::min<std::size_t>(m_repeat, bytes - done);
                std::memset(line + done, m_value, n);
                m_repeat -= static_cast<std::uint32_t>(n);
                done += n;
                continue;
            }
            std::uint8_t code;
            if (!m_in.Next(code)) throw CodecFailure{kCorrupted};
            if (code >= 0xC0) {
                m_repeat = code & 0x3F;
                if (m_repeat > m_left) throw CodecFailure{"repeat count spans end of image"};
                if (!m_in.Next(m_value)) throw CodecFailure{kCorrupted};
                m_left -= m_repeat;
            } else {
                line[done++] = code;
                --m_left;
            }
        }
    }

private:
    CStreamBytes& m_in;
    std::uint64_t m_left; // bytes of the image not yet given a code
    std::uint32_t m_repeat = 0;
    std::uint8_t m_value = 0;
};

} // namespace

CPcxCodec::~CPcxCodec() = default;

bool CPcxCodec::Read(CRasterImageFile& stream)
{
    try {
        std::uint8_t raw[kHeaderBytes];
        if (stream.Read(raw, 1, kHeaderBytes) != kHeaderBytes) throw CodecFailure{"Can't read PCX image"};
        const PcxHeader h = PcxHeader::Load(raw);
        if (h.manufacturer != 10) throw CodecFailure{"Error: Not a PCX file"};
        if (h.encoding != 1) throw CodecFailure{"PCX file has unknown encoding scheme"};
        const int bitCount = BitCountFor(h);
        // Every plane's line must hold the width's pixels.
        if (h.width < 1 || h.height < 1 ||
            std::uint64_t(h.bytesPerLine) * 8 < std::uint64_t(h.width) * h.bitsPerPixel)
            throw CodecFailure{kCorrupted};
        const std::size_t lineBytes = std::size_t(h.planes) * h.bytesPerLine;
        if (DecodeBudgetLeft(h.width, h.height, bitCount, false, lineBytes + std::size_t(h.bytesPerLine) * 8) == 0)
            throw CodecFailure{"Can't allocate memory"};
        // A run gives at most 63 bytes: a file too short for the lines is refused before
        // anything is allocated, as decoding it would be.
        const std::uint64_t total = std::uint64_t(h.height) * lineBytes;
        if (StreamBytesLeft(stream) < (total + 62) / 63) throw CodecFailure{kCorrupted};
        if (!Allocate(h.width, h.height, bitCount, kFormatPcx)) throw CodecFailure{"Can't allocate memory"};

        // The header's 16 colours, the rest black; 1-bit single-plane files are black
        // and white.
        ColorQuad colors[256] = {};
        for (int i = 0; i < 16; ++i)
            colors[i] = ColorQuad{h.palette[i * 3 + 2], h.palette[i * 3 + 1], h.palette[i * 3], 0};
        if (h.bitsPerPixel == 1 && h.planes == 1) {
            colors[0] = ColorQuad{0, 0, 0, 0};
            colors[1] = ColorQuad{255, 255, 255, 0};
        }

        CStreamBytes in(stream);
        LineDecoder decoder(in, total);
        std::vector<std::uint8_t> line(lineBytes);
        std::vector<std::uint8_t> values(std::size_t(h.bytesPerLine) * 8);
        const std::int32_t w = Width();
        for (std::int32_t i = 0; i < h.height; ++i) {
            decoder.Next(line.data(), line.size());
            const std::int32_t y = h.height - 1 - i;
            if (h.planes == 3 && h.bitsPerPixel == 8) {
                const std::uint8_t* red = line.data();
                const std::uint8_t* green = red + h.bytesPerLine;
                const std::uint8_t* blue = green + h.bytesPerLine;
                std::uint8_t* out = Row(y);
                for (std::int32_t x = 0; x < w; ++x, out += 3) {
                    out[0] = blue[x];
                    out[1] = green[x];
                    out[2] = red[x];
                }
                continue;
            }
            if (h.planes == 1) {
                // Packed pixels, the high bits first.
                const int bits = h.bitsPerPixel;
                const int perByte = 8 / bits;
                const std::uint8_t mask = static_cast<std::uint8_t>((1u << bits) - 1);
                for (std::int32_t x = 0; x < w; ++x) {
                    const std::uint8_t b = line[std::size_t(x / perByte)];
                    values[std::size_t(x)] = (b >> (8 - bits * (x % perByte + 1))) & mask;
                }
            } else {
                // Planes of 1 bit: plane p gives bit p of each pixel's value.
                std::memset(values.data(), 0, values.size());
                for (int p = 0; p < h.planes; ++p) {
                    const std::uint8_t* plane = line.data() + std::size_t(p) * h.bytesPerLine;
                    for (std::int32_t x = 0; x < w; ++x)
                        if ((plane[x / 8] >> (7 - (x & 7))) & 1) values[std::size_t(x)] |= std::uint8_t(1u << p);
                }
            }
            if (bitCount == 24) {
                // Three planes of 1 bit: 3-bit indices into the header's first 8 colours.
                for (std::int32_t x = 0; x < w; ++x) PutPixelColor(x, y, colors[values[std::size_t(x)] & 7]);
            } else {
                for (std::int32_t x = 0; x < w; ++x) PutPixelIndex(x, y, values[std::size_t(x)]);
            }
        }

        if (h.bitsPerPixel == 8 && h.planes == 1) {
            std::uint8_t signature = 0;
            if (!in.Next(signature) || signature != kPaletteSignature) throw CodecFailure{"bad color map signature"};
            std::uint8_t rgb[256 * 3] = {};
            in.Take(rgb, sizeof rgb);
            for (int i = 0; i < 256; ++i) colors[i] = ColorQuad{rgb[i * 3 + 2], rgb[i * 3 + 1], rgb[i * 3], 0};
        }
        for (std::uint32_t i = 0; i < m_header.colorsUsed && i < 256; ++i) PutPaletteEntry(i, colors[i]);
        return true;
    } catch (const CodecFailure& failure) {
        SetLastError(failure.text);
    } catch (const std::bad_alloc&) {
        SetLastError("Can't allocate memory");
    }
    FreeBuffers();
    return false;
}
