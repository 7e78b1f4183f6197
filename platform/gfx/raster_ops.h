// Raster operations: copying pixels between DCs combined with what is there, bit by bit.
//
// An operation code names a boolean function of three operands, each a whole pixel:
// the pattern P (the destination DC's brush colour), the source S and the destination D.
// Bits 16-23 of the code hold its truth table: bit (P·4 + S·2 + D) of that byte is the
// result for those operand bits, so 0xCC copies the source, 0x88 is S AND D, 0x66 S XOR D
// and 0x55 NOT D. Codes keep the values callers know them by (kSrcCopy = 0x00CC0020).
//
// Monochrome bitmaps (Bitmap::CreateMonochrome) take part as the platform has always
// done it:
//   colour to monochrome: source pixels equal to the SOURCE DC's background colour become
//     1 (white), all others 0 (black) - which is how a mask is cut from a picture;
//   monochrome to colour: 0 bits become the DESTINATION DC's text colour, 1 bits its
//     background colour;
//   monochrome to monochrome: bits as they are.
// The pattern is the brush's colour (a hatch is not applied here); on a monochrome
// destination it and every other colour count as 1 when bright.
//
// Coordinates are logical units of each DC's map mode. Stretching takes the nearest source
// pixel (no blending); a source rectangle whose extent has the other sign than the
// destination's mirrors the picture in that direction. Destination pixels whose source
// pixel lies outside the source bitmap are left alone. Operations return false, drawing
// nothing, when a DC has no bitmap selected, an operation needs a source and has none,
// or a mask is not a monochrome bitmap covering the area.
#pragma once
#include <cstdint>

#include "platform/base/geometry.h"
#include "platform/gfx/bitmap.h"
#include "platform/gfx/dc.h"

namespace plat {

enum RasterOp : std::uint32_t {
    kBlackness = 0x00000042,  // 0
    kNotSrcErase = 0x001100A6, // NOT (S OR D)
    kNotSrcCopy = 0x00330008, // NOT S
    kSrcErase = 0x00440328,   // S AND NOT D
    kDstInvert = 0x00550009,  // NOT D
    kPatInvert = 0x005A0049,  // P XOR D
    kSrcInvert = 0x00660046,  // S XOR D
    kSrcAnd = 0x008800C6,     // S AND D
    kDstAndNotSrc = 0x00220326, // D AND NOT S
    kDstCopy = 0x00AA0029,    // D (leaves the destination as it is)
    kMergePaint = 0x00BB0226, // NOT S OR D
    kMergeCopy = 0x00C000CA,  // P AND S
    kSrcCopy = 0x00CC0020,    // S
    kSrcPaint = 0x00EE0086,   // S OR D
    kPatCopy = 0x00F00021,    // P
    kWhiteness = 0x00FF0062,  // 1
};

// A four-part code for MaskBlt: `fore` where the mask is 1, `back` where it is 0.
constexpr std::uint32_t MakeRop4(std::uint32_t fore, std::uint32_t back)
{
    return ((back << 8) & 0xFF000000u) | fore;
}

// Whether an operation code reads the source (and so needs a source DC).
constexpr bool RopUsesSource(std::uint32_t rop)
{
    const std::uint32_t t = (rop >> 16) & 0xFF;
    return (((t >> 2) ^ t) & 0x33) != 0;
}

// The source rectangle (sx, sy) of width × height onto (x, y) of the same size.
// src may be nullptr for operations that do not read a source (kDstInvert, kPatCopy...).
bool BitBlt(Dc& dst, int x, int y, int width, int height, const Dc* src, int sx, int sy, std::uint32_t rop);

// The source rectangle (sx, sy, sw, sh) stretched onto (x, y, width, height).
bool StretchBlt(Dc& dst, int x, int y, int width, int height, const Dc* src, int sx, int sy, int sw, int sh,
                std::uint32_t rop);

// An operation on the destination and pattern alone.
bool PatBlt(Dc& dst, int x, int y, int width, int height, std::uint32_t rop);

// BitBlt with two operations chosen pixel by pixel by a monochrome mask (MakeRop4); the
// mask pixel for destination (x + i, y + j) is (mx + i, my + j), in the mask's pixels.
bool MaskBlt(Dc& dst, int x, int y, int width, int height, const Dc& src, int sx, int sy, const Bitmap& mask,
             int mx, int my, std::uint32_t rop4);

// The source rectangle stretched onto the destination, leaving the destination unchanged
// wherever the source pixel has exactly the colour key.
bool TransparentBlt(Dc& dst, int x, int y, int width, int height, const Dc& src, int sx, int sy, int sw, int sh,
                    ColorRef key);

// A world transform: a point (x, y) goes to (x·m11 + y·m21 + dx, x·m12 + y·m22 + dy).
struct XForm {
    float m11 = 1, m12 = 0, m21 = 0, m22 = 1, dx = 0, dy = 0;
};

// The source rectangle (sx, sy) of width × height, in the source's device pixels, drawn
// through the transform onto the destination's device pixels: source pixel (sx + u,
// sy + v) lands around transform(u, v). Each destination pixel whose centre maps back
// inside the rectangle takes the source pixel it maps to. False when the transform
// cannot be inverted.
bool TransformBlt(Dc& dst, const XForm& xform, const Dc& src, int sx, int sy, int width, int height,
                  std::uint32_t rop);

// A device-independent bitmap held by the caller: rows of rowBytes bytes, the bottom row
// first when height is positive (top row first when negative), pixels of 1, 4 or 8 bits
// (indices into palette, entries blue, green, red, unused) or of 24 or 32 bits (blue,
// green, red[, unused]).
struct DibView {
    int width = 0;
    int height = 0;
    int bitCount = 0;
    std::int64_t rowBytes = 0;
    const std::uint8_t* bits = nullptr;
    const std::uint8_t* palette = nullptr;
    int paletteEntries = 0; // indices at or beyond this read as black
};

// The DIB's rectangle (sx, sy, sw, sh), counted from its top-left pixel as the picture
// shows it, stretched onto (x, y, width, height). False for a DIB whose fields do not
// describe a whole block (no bits, rows too short, bit count unknown).
bool StretchDib(Dc& dst, int x, int y, int width, int height, const DibView& dib, int sx, int sy, int sw, int sh,
                std::uint32_t rop);

// Whether any part of the logical rectangle falls on the DC's bitmap.
bool RectVisible(const Dc& dc, const Rect& rect);

} // namespace plat
