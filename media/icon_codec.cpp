#include "media/icon_codec.h"

#include <cstdio>
#include <cstring>
#include <new>
#include <vector>

#include "platform/base/byte_order.h"
#include "media/image_stream.h"

namespace {

constexpr std::size_t kDirectoryBytes = 6;
constexpr std::size_t kEntryBytes = 16;
constexpr std::uint16_t kTypeIcon = 1;
constexpr std::uint8_t kPngSignature[4] = {0x89, 'P', 'N', 'G'};

std::size_t MaskRowBytes(std::int32_t width)
{
    return ((std::size_t(width) + 31) / 32) * 4;
}

} // namespace

CIconCodec::~CIconCodec() = default;

bool CIconCodec::Read(CRasterImageFile& stream)
{
    try {
        const std::int64_t start = stream.Tell();
        if (start < 0) return false;
        std::uint8_t directory[kDirectoryBytes];
        if (stream.Read(directory, 1, kDirectoryBytes) != kDirectoryBytes) return false;
        if (plat::LoadU16(directory) != 0 || plat::LoadU16(directory + 2) != kTypeIcon) return false;
        const std::uint16_t count = plat::LoadU16(directory + 4);
        m_frameCount = count;
        if (m_frameIndex < 0 || m_frameIndex >= count) return false;
        std::vector<std::uint8_t> entries(std::size_t(count) * kEntryBytes);
        if (stream.Read(entries.data(), 1, entries.size()) != entries.size()) return false;
        const std::uint8_t* e = entries.data() + std::size_t(m_frameIndex) * kEntryBytes;

        // A width or height byte of 0 stands for 256 pixels.
        const std::int32_t w = e[0] ? e[0] : 256, h = e[1] ? e[1] : 256;
        const std::uint8_t colors = e[2];
        const std::uint16_t entryBits = plat::LoadU16(e + 6);
        const std::uint32_t dataBytes = plat::LoadU32(e + 8), offset = plat::LoadU32(e + 12);
        int bits = colors == 0 ? (entryBits >= 9 ? entryBits : 8) : colors <= 2 ? 1 : colors <= 16 ? 4 : 8;
        // The image must lie inside the file, after the directory.
        if (stream.Seek(0, SEEK_END) != 0) return false;
        const std::int64_t fileBytes = stream.Tell() - start;
        if (offset < kDirectoryBytes + entries.size() || dataBytes < DibHeader::kBytes ||
            std::int64_t(offset) + dataBytes > fileBytes)
            return false;
        std::uint8_t info[DibHeader::kBytes];
        if (stream.Seek(start + offset, SEEK_SET) != 0 || stream.Read(info, 1, sizeof info) != sizeof info) return false;
        // PNG-compressed images are not read as bitmaps.
        if (std::memcmp(info, kPngSignature, sizeof kPngSignature) == 0) return false;

        const bool wide = bits == 32;
        const std::uint64_t colorWork = wide ? std::uint64_t(w) * std::uint64_t(h) * 4 : 0;
        if (DecodeBudgetLeft(w, h, bits, true, colorWork + MaskRowBytes(w) * std::uint64_t(h)) == 0 ||
            !Allocate(w, h, bits, kFormatIco))
            return false;

        std::vector<std::uint8_t> palette(m_header.colorsUsed * 4, 0);
        stream.Read(palette.data(), 1, palette.size());
        LoadPaletteQuads(palette.data(), m_header.colorsUsed);

        if (wide) {
            // Blue, green, red and alpha; what the file leaves out is black and transparent.
            std::vector<std::uint8_t> pixels(colorWork, 0);
            stream.Read(pixels.data(), 1, pixels.size());
            if (!CreateAlpha()) return false;
            const std::uint8_t* p = pixels.data();
            for (std::int32_t y = 0; y < h; ++y) {
                std::uint8_t* row = Row(y);
                for (std::int32_t x = 0; x < w; ++x, p += 4) {
                    std::memcpy(row + 3 * x, p, 3);
                    PutAlpha(x, y, p[3]);
                }
            }
        } else {
            stream.Read(m_bits, 1, m_header.imageSize);
        }

        // The AND mask, 1 for transparent; mask rows the file leaves out are transparent.
        const std::size_t maskRow = MaskRowBytes(w);
        std::vector<std::uint8_t> mask(maskRow * std::size_t(h), 0xFF);
        stream.Read(mask.data(), 1, mask.size());
        const bool hadAlpha = HasAlpha();
        if (!hadAlpha) {
            if (!CreateAlpha()) return false;
            FillAlpha(255);
        }
        bool anySet = false;
        for (std::int32_t y = 0; y < h; ++y) {
            const std::uint8_t* row = mask.data() + std::size_t(y) * maskRow;
            for (std::int32_t x = 0; x < w; ++x) {
                if (row[x / 8] & (0x80 >> (x & 7))) {
                    PutAlpha(x, y, 0);
                    anySet = true;
                }
            }
        }
        if (!hadAlpha && !anySet) DropAlpha();
        return true;
    } catch (const std::bad_alloc&) {
    }
    FreeBuffers();
    return false;
}

bool CIconCodec::Write(CRasterImageFile& stream)
{
    if (!stream.IsOpen() || !m_dib) {
        SetLastError("No image to save");
        return false;
    }
    const std::int32_t w = Width(), h = Height();
    if (w > 255 || h > 255) {
        SetLastError("Can't save this image as icon");
        return false;
    }
    const int bits = BitCount();
    if (bits <= 8 && !PaletteAddress()) {
        SetLastError("No palette to save");
        return false;
    }
    try {
        const bool wide = bits == 24 && HasAlpha();
        const int fileBits = wide ? 32 : bits;
        const std::uint32_t colors = m_header.colorsUsed;
        const std::size_t colorBytes =
            wide ? std::size_t(w) * std::size_t(h) * 4 : std::size_t(m_rowBytes) * std::size_t(h);
        const std::size_t maskRow = MaskRowBytes(w);
        const std::size_t maskBytes = maskRow * std::size_t(h);
        const std::uint32_t imageBytes = static_cast<std::uint32_t>(DibHeader::kBytes + colors * 4 + colorBytes + maskBytes);

        std::vector<std::uint8_t> out(kDirectoryBytes + kEntryBytes + imageBytes, 0);
        std::uint8_t* p = out.data();
        plat::StoreU16(p + 2, kTypeIcon);
        plat::StoreU16(p + 4, 1);
        p += kDirectoryBytes;
        p[0] = static_cast<std::uint8_t>(w);
        p[1] = static_cast<std::uint8_t>(h);
        p[2] = static_cast<std::uint8_t>(colors % 256);
        plat::StoreU16(p + 6, static_cast<std::uint16_t>(fileBits));
        plat::StoreU32(p + 8, imageBytes);
        plat::StoreU32(p + 12, kDirectoryBytes + kEntryBytes);
        p += kEntryBytes;

        DibHeader info;
        info.width = w;
        info.height = h * 2;
        info.planes = 1;
        info.bitCount = static_cast<std::uint16_t>(fileBits);
        info.imageSize = static_cast<std::uint32_t>(colorBytes);
        info.Store(p);
        p += DibHeader::kBytes;
        if (colors > 0) std::memcpy(p, PaletteAddress(), colors * 4);
        p += colors * 4;
        if (wide) {
            for (std::int32_t y = 0; y < h; ++y) {
                const std::uint8_t* row = Row(y);
                for (std::int32_t x = 0; x < w; ++x, p += 4) {
                    std::memcpy(p, row + 3 * x, 3);
                    p[3] = AlphaAt(x, y);
                }
            }
        } else {
            std::memcpy(p, m_bits, colorBytes);
            p += colorBytes;
        }

        // A pixel is masked when its palette entry is transparent, when the alpha plane
        // makes it so, or when it has the transparent colour.
        const bool paletteAlpha = bits <= 8 && PaletteHasAlpha();
        const bool keyed = m_transparentIndex != -1;
        const ColorQuad key = TransparentColor();
        for (std::int32_t y = 0; y < h; ++y, p += maskRow) {
            for (std::int32_t x = 0; x < w; ++x) {
                bool masked = HasAlpha() && AlphaAt(x, y) == 0;
                if (!masked && (paletteAlpha || keyed)) {
                    const ColorQuad c = PixelColorAt(x, y);
                    masked = (paletteAlpha && c.reserved == 0) || (keyed && c == key);
                }
                if (masked) p[x / 8] |= static_cast<std::uint8_t>(0x80 >> (x & 7));
            }
        }
        stream.Write(out.data(), 1, out.size());
        return true;
    } catch (const std::bad_alloc&) {
        SetLastError("can't allocate memory");
        return false;
    }
}
