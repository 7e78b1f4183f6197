// Pens and brushes: small values a DC copies when they are selected.
#pragma once
#include <cstdint>

#include "platform/base/geometry.h"

namespace plat {

class Bitmap;

// Pen styles with the numbers the callers' tables use.
enum PenStyle : std::int32_t {
    kPenSolid = 0,
    kPenDash = 1,       // 18 on, 6 off (device pixels)
    kPenDot = 2,        // 3 on, 3 off
    kPenDashDot = 3,    // 9, 6, 3, 6
    kPenDashDotDot = 4, // 9, 3, 3, 3, 3, 3
    kPenNull = 5,
};

// A pen: style, width in logical units (0 = one device pixel) and colour. Styles other
// than solid apply to pens of width 0 or 1 only; wider pens draw solid.
class Pen {
public:
    constexpr Pen(PenStyle style, std::int32_t width, ColorRef color)
        : m_style(style), m_width(width < 0 ? 0 : width), m_color(color & 0xFFFFFF) {}

    constexpr PenStyle Style() const { return m_style; }
    constexpr std::int32_t Width() const { return m_width; }
    constexpr ColorRef Color() const { return m_color; }
    constexpr bool operator==(const Pen&) const = default;

private:
    PenStyle m_style;
    std::int32_t m_width;
    ColorRef m_color;
};

enum class BrushStyle : std::int32_t {
    kSolid = 0,
    kNull = 1,
    kHatched = 2,
    kPattern = 3,
};

// Hatch patterns with the numbers the callers' tables use. Hatches repeat every 8 device
// pixels from the device origin, so adjacent fills line up.
enum HatchStyle : std::int32_t {
    kHatchHorizontal = 0,
    kHatchVertical = 1,
    kHatchFDiagonal = 2,  // "\" top-left to bottom-right
    kHatchBDiagonal = 3,  // "/" bottom-left to top-right
    kHatchCross = 4,
    kHatchDiagCross = 5,
};

// A brush: solid colour, a hatch in a colour (the gaps show the background colour in
// opaque mode and are left alone in transparent mode), or nothing.
class Brush {
public:
    static constexpr Brush Solid(ColorRef color) { return Brush(BrushStyle::kSolid, kHatchHorizontal, color); }
    static constexpr Brush Hatched(HatchStyle hatch, ColorRef color) { return Brush(BrushStyle::kHatched, hatch, color); }
    static constexpr Brush Null() { return Brush(BrushStyle::kNull, kHatchHorizontal, 0); }
    // Tiles the bitmap from the device origin. The bitmap is not copied: it must outlive
    // every DC that selects the brush (resource pictures live as long as the process).
    static constexpr Brush Pattern(const Bitmap& bitmap)
    {
        Brush b(BrushStyle::kPattern, kHatchHorizontal, 0);
        b.m_pattern = &bitmap;
        return b;
    }

    constexpr BrushStyle Style() const { return m_style; }
    constexpr HatchStyle Hatch() const { return m_hatch; }
    constexpr ColorRef Color() const { return m_color; }
    constexpr const Bitmap* PatternBitmap() const { return m_pattern; }
    constexpr bool operator==(const Brush&) const = default;

private:
    constexpr Brush(BrushStyle style, HatchStyle hatch, ColorRef color)
        : m_style(style), m_hatch(hatch), m_color(color & 0xFFFFFF) {}

    BrushStyle m_style;
    HatchStyle m_hatch;
    ColorRef m_color;
    const Bitmap* m_pattern = nullptr;
};

// Objects every DC can select without creating anything; a fresh DC holds the black pen
// and the white brush.
enum class StockObject {
    kBlackPen,
    kWhitePen,
    kNullPen,
    kBlackBrush,
    kWhiteBrush,
    kNullBrush,
};
const Pen* StockPen(StockObject which);     // nullptr for a brush id
const Brush* StockBrush(StockObject which); // nullptr for a pen id

} // namespace plat
