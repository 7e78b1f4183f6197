// GIF and icon files written byte by byte, for the cases ImageMagick does not write: a
// chosen LZW code stream, an interlace flag on a tiny picture, frames placed anywhere,
// directory entries pointing anywhere.
#pragma once
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "tests/support/test_support.h"

namespace gifbuild {

using testsupport::Bytes;

inline void Put16(Bytes& b, int v)
{
    b.push_back(static_cast<std::uint8_t>(v));
    b.push_back(static_cast<std::uint8_t>(v >> 8));
}
inline void Put32(Bytes& b, std::uint32_t v)
{
    Put16(b, static_cast<int>(v & 0xFFFF));
    Put16(b, static_cast<int>(v >> 16));
}

// LZW codes as (code, width) pairs.
using Codes = std::vector<std::pair<int, int>>;

// One literal code a pixel, with a clear code before the table would make the codes wider.
inline Codes LiteralCodes(const std::vector<std::uint8_t>& indices, int codeSize)
{
    const int clear = 1 << codeSize, width = codeSize + 1;
    Codes codes;
    int sinceClear = 0;
    for (std::uint8_t index : indices) {
        if (sinceClear == 0) codes.push_back({clear, width});
        codes.push_back({index, width});
        if (++sinceClear == clear - 2) sinceClear = 0;
    }
    codes.push_back({clear + 1, width});
    return codes;
}

// The codes packed least significant bit first into data sub-blocks of up to 255 bytes,
// with the zero-length terminator.
inline Bytes PackCodes(const Codes& codes)
{
    Bytes packed;
    std::uint32_t acc = 0;
    int bits = 0;
    for (auto [code, width] : codes) {
        acc |= std::uint32_t(code) << bits;
        bits += width;
        while (bits >= 8) {
            packed.push_back(static_cast<std::uint8_t>(acc));
            acc >>= 8;
            bits -= 8;
        }
    }
    if (bits > 0) packed.push_back(static_cast<std::uint8_t>(acc));
    Bytes out;
    for (size_t at = 0; at < packed.size(); at += 255) {
        const size_t n = std::min<size_t>(255, packed.size() - at);
        out.push_back(static_cast<std::uint8_t>(n));
        out.insert(out.end(), packed.begin() + static_cast<long>(at), packed.begin() + static_cast<long>(at + n));
    }
    out.push_back(0);
    return out;
}

struct Frame {
    int left = 0, top = 0, width = 1, height = 1;
    std::vector<std::uint8_t> indices; // top row first; LiteralCodes unless codes are given
    Codes codes;
    int codeSize = 2;
    bool interlaced = false;
    std::vector<std::uint32_t> localTable; // 0xRRGGBB entries, a power of 2 of them
    bool control = false;                   // a graphic control extension before the frame
    int disposal = 0, delay = 0, transparent = -1;
};

inline void PutTable(Bytes& out, const std::vector<std::uint32_t>& table)
{
    for (std::uint32_t c : table) out.insert(out.end(), {std::uint8_t(c >> 16), std::uint8_t(c >> 8), std::uint8_t(c)});
}

inline int TableBits(size_t entries)
{
    int bits = 0;
    while ((2u << bits) < entries) ++bits;
    return bits;
}

// A GIF89a file of a screen, its global table (none when empty) and the frames.
inline Bytes Gif(int width, int height, const std::vector<std::uint32_t>& global, const std::vector<Frame>& frames,
                 const Bytes& extensions = {})
{
    Bytes out = {'G', 'I', 'F', '8', '9', 'a'};
    Put16(out, width);
    Put16(out, height);
    out.push_back(global.empty() ? 0 : static_cast<std::uint8_t>(0x80 | TableBits(global.size())));
    out.push_back(0);
    out.push_back(0);
    PutTable(out, global);
    out.insert(out.end(), extensions.begin(), extensions.end());
    for (const Frame& f : frames) {
        if (f.control) {
            out.insert(out.end(), {0x21, 0xF9, 4});
            out.push_back(static_cast<std::uint8_t>((f.disposal << 2) | (f.transparent >= 0 ? 1 : 0)));
            Put16(out, f.delay);
            out.push_back(static_cast<std::uint8_t>(f.transparent >= 0 ? f.transparent : 0));
            out.push_back(0);
        }
        out.push_back(0x2C);
        for (int v : {f.left, f.top, f.width, f.height}) Put16(out, v);
        std::uint8_t flags = f.interlaced ? 0x40 : 0;
        if (!f.localTable.empty()) flags |= static_cast<std::uint8_t>(0x80 | TableBits(f.localTable.size()));
        out.push_back(flags);
        PutTable(out, f.localTable);
        out.push_back(static_cast<std::uint8_t>(f.codeSize));
        const Bytes data = PackCodes(f.codes.empty() ? LiteralCodes(f.indices, f.codeSize) : f.codes);
        out.insert(out.end(), data.begin(), data.end());
    }
    out.push_back(0x3B);
    return out;
}

// One image of an icon file: its directory entry's fields and its data.
struct IconImage {
    int widthByte, heightByte, colors, bitCount;
    Bytes data;
    std::int64_t offset = -1; // where the entry says the data is; -1: where it is
    std::int64_t size = -1;   // how long the entry says it is; -1: its length
};

inline Bytes Icon(const std::vector<IconImage>& images, int type = 1)
{
    Bytes out;
    Put16(out, 0);
    Put16(out, type);
    Put16(out, static_cast<int>(images.size()));
    std::uint32_t at = static_cast<std::uint32_t>(6 + 16 * images.size());
    for (const IconImage& i : images) {
        out.insert(out.end(), {std::uint8_t(i.widthByte), std::uint8_t(i.heightByte), std::uint8_t(i.colors), 0});
        Put16(out, 1);
        Put16(out, i.bitCount);
        Put32(out, static_cast<std::uint32_t>(i.size >= 0 ? i.size : std::int64_t(i.data.size())));
        Put32(out, static_cast<std::uint32_t>(i.offset >= 0 ? i.offset : at));
        at += static_cast<std::uint32_t>(i.data.size());
    }
    for (const IconImage& i : images) out.insert(out.end(), i.data.begin(), i.data.end());
    return out;
}

// The bitmap of an icon image: info header (height doubled), palette, colour rows bottom
// row first (rows given top row first, already padded) and the AND mask rows likewise.
inline Bytes IconBitmap(int width, int height, int bitCount, const std::vector<std::uint32_t>& palette,
                        const std::vector<Bytes>& colorRowsTopFirst, const std::vector<Bytes>& maskRowsTopFirst)
{
    Bytes out;
    Put32(out, 40);
    Put32(out, static_cast<std::uint32_t>(width));
    Put32(out, static_cast<std::uint32_t>(height * 2));
    Put16(out, 1);
    Put16(out, bitCount);
    for (int i = 0; i < 6; ++i) Put32(out, 0);
    for (std::uint32_t c : palette) Put32(out, c);
    for (auto r = colorRowsTopFirst.rbegin(); r != colorRowsTopFirst.rend(); ++r) out.insert(out.end(), r->begin(), r->end());
    for (auto r = maskRowsTopFirst.rbegin(); r != maskRowsTopFirst.rend(); ++r) out.insert(out.end(), r->begin(), r->end());
    return out;
}

} // namespace gifbuild
