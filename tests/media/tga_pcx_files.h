// TGA and PCX files of every layout the codecs read, made by the tests themselves where
// ImageMagick does not write the layout (16-bit pixels, 16- and 32-bit colour maps,
// right-to-left rows; PCX of 1 bit in one to four planes, of 2 and 4 bits).
#pragma once
#include <cstdint>
#include <vector>

namespace tgapcx {

using Bytes = std::vector<std::uint8_t>;

inline void Put16(Bytes& b, int v)
{
    b.push_back(static_cast<std::uint8_t>(v));
    b.push_back(static_cast<std::uint8_t>(v >> 8));
}

struct Rgba {
    std::uint8_t r, g, b, a;
};

// The test picture's colour-map entry i, its true colour at (x, y) from the top left, and
// its grey level there; runs of three equal pixels give the run-length coder work.
inline Rgba MapEntry(int i)
{
    return Rgba{std::uint8_t(i * 37), std::uint8_t(i * 91 + 40), std::uint8_t(i * 53 + 200), 255};
}
inline int MapIndex(int x, int y) { return (x / 3 + y * 5) % 24; }
inline Rgba TrueColour(int x, int y)
{
    const int cx = x / 3;
    return Rgba{std::uint8_t(cx * 19), std::uint8_t(y * 10), std::uint8_t(cx * y * 7 + 3), std::uint8_t((cx + y) * 29)};
}
inline std::uint8_t Grey(int x, int y) { return std::uint8_t((x / 3) * 23 + y * 3); }

inline std::uint16_t Pack555(Rgba c, bool attribute)
{
    return std::uint16_t((c.b >> 3) | ((c.g >> 3) << 5) | ((c.r >> 3) << 10) | (attribute ? 0x8000 : 0));
}

struct TgaLayout {
    int type;           // 1, 2, 3, 9, 10 or 11
    int depth;          // 8, 15, 16, 24 or 32
    int descriptor;     // bit 4 right to left, bit 5 top to bottom, low bits alpha bits
    int mapBits = 24;   // colour-map entry size (types 1 and 9)
    int mapFirst = 0;   // colour-map first index
    int idLength = 0;
};

// One stored pixel of the test picture at (x, y) in the layout.
inline Bytes TgaPixel(const TgaLayout& l, int x, int y)
{
    Bytes p;
    const int kind = l.type & 7;
    if (kind == 1) {
        p.push_back(std::uint8_t(l.mapFirst + MapIndex(x, y)));
    } else if (kind == 3) {
        p.push_back(Grey(x, y));
    } else {
        const Rgba c = TrueColour(x, y);
        if (l.depth == 15 || l.depth == 16) Put16(p, Pack555(c, l.depth == 16 && (x / 3 + y) % 3 != 0));
        else {
            p.insert(p.end(), {c.b, c.g, c.r});
            if (l.depth == 32) p.push_back(c.a);
        }
    }
    return p;
}

// A w × h TGA of the test picture; run-length types code each row on its own.
inline Bytes MakeTga(const TgaLayout& l, int w, int h)
{
    const int kind = l.type & 7;
    const int mapEntries = kind == 1 ? 24 : 0;
    Bytes out{std::uint8_t(l.idLength), std::uint8_t(mapEntries ? 1 : 0), std::uint8_t(l.type)};
    Put16(out, mapEntries ? l.mapFirst : 0);
    Put16(out, mapEntries);
    out.push_back(std::uint8_t(mapEntries ? l.mapBits : 0));
    for (int v : {0, 0, w, h}) Put16(out, v);
    out.push_back(std::uint8_t(l.depth));
    out.push_back(std::uint8_t(l.descriptor));
    for (int i = 0; i < l.idLength; ++i) out.push_back(std::uint8_t('a' + i % 26));
    for (int i = 0; i < mapEntries; ++i) {
        const Rgba c = MapEntry(i);
        if (l.mapBits == 15 || l.mapBits == 16) Put16(out, Pack555(c, true));
        else {
            out.insert(out.end(), {c.b, c.g, c.r});
            if (l.mapBits == 32) out.push_back(c.a);
        }
    }
    for (int stored = 0; stored < h; ++stored) {
        const int y = (l.descriptor & 0x20) ? stored : h - 1 - stored;
        std::vector<Bytes> row;
        for (int i = 0; i < w; ++i) row.push_back(TgaPixel(l, (l.descriptor & 0x10) ? w - 1 - i : i, y));
        if (!(l.type & 8)) {
            for (const Bytes& p : row) out.insert(out.end(), p.begin(), p.end());
            continue;
        }
        for (int i = 0; i < w;) {
            int same = 1;
            while (i + same < w && same < 128 && row[i + same] == row[i]) ++same;
            if (same > 1) {
                out.push_back(std::uint8_t(127 + same));
                out.insert(out.end(), row[i].begin(), row[i].end());
                i += same;
                continue;
            }
            int n = 1;
            while (i + n < w && n < 128 && !(i + n + 1 < w && row[i + n] == row[i + n + 1])) ++n;
            out.push_back(std::uint8_t(n - 1));
            for (int k = 0; k < n; ++k) out.insert(out.end(), row[i + k].begin(), row[i + k].end());
            i += n;
        }
    }
    return out;
}

// The 16 colours of a PCX header's palette.
inline Rgba PcxHeaderColour(int i)
{
    return Rgba{std::uint8_t(i * 17), std::uint8_t(255 - i * 13), std::uint8_t((i * 71) & 0xFF), 255};
}
// The test picture's value at (x, y) for a PCX of that many bits of value.
inline int PcxValue(int x, int y, int valueBits) { return (x / 2 + y * 3) % (1 << valueBits); }

struct PcxLayout {
    int bitsPerPixel;
    int planes;
    int extraLineBytes = 0; // bytes past the pixels in every plane's line
};

// A w × h PCX of the test picture; 8-bit single-plane files end with a 256-colour palette
// (entry i the colour-map entry i) and 3 planes of 8 bits hold the true colours.
inline Bytes MakePcx(const PcxLayout& l, int w, int h)
{
    const bool rgb = l.bitsPerPixel == 8 && l.planes == 3;
    const int valueBits = l.bitsPerPixel * (rgb ? 1 : l.planes);
    const int bytesPerLine = ((w * l.bitsPerPixel + 7) / 8 + 1) / 2 * 2 + l.extraLineBytes;
    Bytes out(128, 0);
    out[0] = 10;
    out[1] = 5;
    out[2] = 1;
    out[3] = std::uint8_t(l.bitsPerPixel);
    out[8] = std::uint8_t(w - 1);
    out[9] = std::uint8_t((w - 1) >> 8);
    out[10] = std::uint8_t(h - 1);
    out[11] = std::uint8_t((h - 1) >> 8);
    for (int i = 0; i < 16; ++i) {
        // Black and white in the palette of 1-bit single-plane files, as their writers
        // put it (the reader takes black and white whatever the header holds).
        Rgba c = PcxHeaderColour(i);
        if (l.bitsPerPixel == 1 && l.planes == 1 && i < 2) c = i ? Rgba{255, 255, 255, 255} : Rgba{0, 0, 0, 255};
        out[16 + i * 3] = c.r;
        out[17 + i * 3] = c.g;
        out[18 + i * 3] = c.b;
    }
    out[65] = std::uint8_t(l.planes);
    out[66] = std::uint8_t(bytesPerLine);
    out[67] = std::uint8_t(bytesPerLine >> 8);
    out[68] = 1;
    Bytes image;
    for (int y = 0; y < h; ++y) {
        for (int p = 0; p < l.planes; ++p) {
            Bytes line(std::size_t(bytesPerLine), 0);
            for (int x = 0; x < w; ++x) {
                if (rgb) {
                    const Rgba c = TrueColour(x, y);
                    line[std::size_t(x)] = p == 0 ? c.r : p == 1 ? c.g : c.b;
                    continue;
                }
                int v = PcxValue(x, y, valueBits);
                if (l.planes > 1) v = (v >> p) & 1;
                const int bit = x * l.bitsPerPixel;
                line[std::size_t(bit / 8)] |= std::uint8_t(v << (8 - l.bitsPerPixel - bit % 8));
            }
            image.insert(image.end(), line.begin(), line.end());
        }
    }
    // Runs of up to 63, never across the end of the image; bytes of 192 and more as runs.
    for (std::size_t i = 0; i < image.size();) {
        std::size_t n = 1;
        while (i + n < image.size() && n < 63 && image[i + n] == image[i]) ++n;
        if (n > 1 || image[i] >= 0xC0) out.push_back(std::uint8_t(0xC0 | n));
        out.push_back(image[i]);
        i += n;
    }
    if (l.bitsPerPixel == 8 && l.planes == 1) {
        out.push_back(12);
        for (int i = 0; i < 256; ++i) {
            const Rgba c = MapEntry(i);
            out.insert(out.end(), {c.r, c.g, c.b});
        }
    }
    return out;
}

} // namespace tgapcx
