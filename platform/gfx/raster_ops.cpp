#include "platform/gfx/raster_ops.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "platform/gfx/raster_access.h"

namespace plat {

namespace gfx_detail {

namespace {
// Only its address matters: the mark of a monochrome surface.
const cairo_user_data_key_t kMonochromeKey{};
} // namespace

void MarkMonochrome(cairo_surface_t* surface)
{
    cairo_surface_set_user_data(surface, &kMonochromeKey, const_cast<cairo_user_data_key_t*>(&kMonochromeKey),
                                nullptr);
}

bool IsMonochrome(cairo_surface_t* surface)
{
    return surface && cairo_surface_get_user_data(surface, &kMonochromeKey) != nullptr;
}

} // namespace gfx_detail

namespace {

using gfx_detail::DcRaster;

constexpr std::uint32_t kRgbMask = 0x00FFFFFF;

// The pixels of one surface, flushed once for the whole operation.
struct Plane {
    cairo_surface_t* surface = nullptr;
    std::uint8_t* data = nullptr;
    std::ptrdiff_t stride = 0;
    int width = 0;
    int height = 0;
    bool mono = false;

    explicit Plane(cairo_surface_t* s) : surface(s)
    {
        if (!s) return;
        cairo_surface_flush(s);
        data = cairo_image_surface_get_data(s);
        stride = cairo_image_surface_get_stride(s);
        width = cairo_image_surface_get_width(s);
        height = cairo_image_surface_get_height(s);
        mono = gfx_detail::IsMonochrome(s);
        if (!data) width = height = 0;
    }
    bool Valid() const { return data != nullptr && width > 0 && height > 0; }
    std::uint32_t* Row(int y) const { return reinterpret_cast<std::uint32_t*>(data + y * stride); }
    void Changed() const { cairo_surface_mark_dirty(surface); }
};

// A monochrome pixel is 1 when bright: raster operations store black and white, other
// drawing may have stored any colour.
bool Bright(std::uint32_t px)
{
    return ((px >> 16) & 0xFF) + ((px >> 8) & 0xFF) + (px & 0xFF) >= 384;
}

std::uint32_t MonoWord(bool bit) { return bit ? kRgbMask : 0; }

// The truth table `code` applied to every bit of the three operands.
std::uint32_t Ternary(std::uint8_t code, std::uint32_t p, std::uint32_t s, std::uint32_t d)
{
    switch (code) {
    case 0x00: return 0;
    case 0x11: return ~(s | d);
    case 0x22: return d & ~s;
    case 0x33: return ~s;
    case 0x44: return s & ~d;
    case 0x55: return ~d;
    case 0x5A: return p ^ d;
    case 0x66: return s ^ d;
    case 0x88: return s & d;
    case 0xAA: return d;
    case 0xBB: return ~s | d;
    case 0xC0: return p & s;
    case 0xCC: return s;
    case 0xEE: return s | d;
    case 0xF0: return p;
    case 0xFF: return ~0u;
    default: break;
    }
    std::uint32_t r = 0;
    for (int i = 0; i < 8; ++i)
        if ((code >> i) & 1) r |= ((i & 4) ? p : ~p) & ((i & 2) ? s : ~s) & ((i & 1) ? d : ~d);
    return r;
}

std::uint8_t TernaryOf(std::uint32_t rop) { return static_cast<std::uint8_t>((rop >> 16) & 0xFF); }

// How source pixels become operands in the destination's kind of pixel.
struct SourceConversion {
    enum class Kind { kColour, kMono, kDib } kind = Kind::kColour;
    bool dstMono = false;
    std::uint32_t srcBk = 0;   // colour source onto monochrome: this colour is 1
    std::uint32_t dstText = 0; // monochrome source onto colour: 0 bits
    std::uint32_t dstBk = 0;   // and 1 bits

    std::uint32_t operator()(std::uint32_t raw) const
    {
        switch (kind) {
        case Kind::kMono: {
            const bool bit = Bright(raw);
            return dstMono ? MonoWord(bit) : (bit ? dstBk : dstText);
        }
        case Kind::kColour:
            return dstMono ? MonoWord((raw & kRgbMask) == srcBk) : (raw & kRgbMask);
        case Kind::kDib:
            return dstMono ? MonoWord(Bright(raw)) : (raw & kRgbMask);
        }
        return 0;
    }
};

// What one operation draws onto the destination.
struct Operation {
    const Dc& dc;
    Plane& dst;
    std::uint32_t rop4; // low three bytes the code where the mask is 1 (or everywhere)
    SourceConversion conv;
    const Plane* mask = nullptr;
    int mx = 0, my = 0;

    Operation(const Dc& d, Plane& p, std::uint32_t rop) : dc(d), dst(p), rop4(rop)
    {
        conv.dstMono = dst.mono;
        conv.dstText = ColorToPixel(dc.GetTextColor());
        conv.dstBk = ColorToPixel(dc.GetBkColor());
    }

    std::uint32_t Pattern() const
    {
        const Brush* b = dc.CurrentBrush();
        const std::uint32_t p = b ? ColorToPixel(b->Color()) : 0;
        return dst.mono ? MonoWord(Bright(p)) : p;
    }

    // One destination pixel; raw is the source pixel as read.
    void Apply(std::uint32_t& px, std::uint32_t raw, std::uint32_t pattern, bool maskBit) const
    {
        const std::uint8_t code = maskBit ? TernaryOf(rop4) : static_cast<std::uint8_t>(rop4 >> 24);
        const std::uint32_t d = dst.mono ? MonoWord(Bright(px)) : (px & kRgbMask);
        const std::uint32_t r = Ternary(code, pattern, conv(raw), d) & kRgbMask;
        px = dst.mono ? MonoWord(r != 0) : r;
    }
};

// The destination box (signed device pixels) filled from the source box (signed, in the
// source's pixels) by nearest pixel; fetch(sx, sy, raw) reads a source pixel and says
// whether it exists.
template <class Fetch>
void Stretch(const Operation& op, const Rect& dbox, const Rect& sbox, bool usesSource, Fetch&& fetch)
{
    const std::int64_t dw = std::int64_t(dbox.right) - dbox.left, dh = std::int64_t(dbox.bottom) - dbox.top;
    const std::int64_t sw = std::int64_t(sbox.right) - sbox.left, sh = std::int64_t(sbox.bottom) - sbox.top;
    const std::int64_t adw = std::llabs(dw), adh = std::llabs(dh), asw = std::llabs(sw), ash = std::llabs(sh);
    if (adw == 0 || adh == 0 || (usesSource && (asw == 0 || ash == 0))) return;
    const bool flipX = (dw < 0) != (sw < 0), flipY = (dh < 0) != (sh < 0);
    const std::int64_t dl = std::min<std::int64_t>(dbox.left, dbox.right);
    const std::int64_t dt = std::min<std::int64_t>(dbox.top, dbox.bottom);
    const std::int64_t sl = std::min<std::int64_t>(sbox.left, sbox.right);
    const std::int64_t st = std::min<std::int64_t>(sbox.top, sbox.bottom);
    const std::int64_t x0 = std::max<std::int64_t>(dl, 0), x1 = std::min<std::int64_t>(dl + adw, op.dst.width);
    const std::int64_t y0 = std::max<std::int64_t>(dt, 0), y1 = std::min<std::int64_t>(dt + adh, op.dst.height);
    if (x0 >= x1 || y0 >= y1) return;

    const std::uint32_t pattern = op.Pattern();
    // Source columns are the same on every row.
    std::vector<std::int64_t> columns(static_cast<std::size_t>(x1 - x0));
    for (std::int64_t x = x0; x < x1; ++x) {
        std::int64_t u = x - dl;
        if (flipX) u = adw - 1 - u;
        columns[static_cast<std::size_t>(x - x0)] = sl + (2 * u + 1) * asw / (2 * adw);
    }
    for (std::int64_t y = y0; y < y1; ++y) {
        std::int64_t v = y - dt;
        if (flipY) v = adh - 1 - v;
        const std::int64_t sy = st + (2 * v + 1) * ash / (2 * adh);
        std::uint32_t* row = op.dst.Row(static_cast<int>(y));
        const std::uint32_t* maskRow = op.mask ? op.mask->Row(static_cast<int>(op.my + (y - dt))) : nullptr;
        for (std::int64_t x = x0; x < x1; ++x) {
            std::uint32_t raw = 0;
            if (usesSource && !fetch(columns[static_cast<std::size_t>(x - x0)], sy, raw)) continue;
            const bool maskBit = !maskRow || Bright(maskRow[op.mx + (x - dl)]);
            op.Apply(row[x], raw, pattern, maskBit);
        }
    }
    op.dst.Changed();
}

// The part of a source surface an operation reads, copied first, since source and
// destination may be the same bitmap.
class SourceCopy {
public:
    SourceCopy(const Plane& src, const Rect& sbox)
    {
        Rect r = sbox;
        r.Normalize();
        m_area = r.Intersect(Rect(0, 0, src.width, src.height));
        if (m_area.IsEmpty()) return;
        const std::size_t w = static_cast<std::size_t>(m_area.Width());
        m_pixels.resize(w * static_cast<std::size_t>(m_area.Height()));
        for (int y = m_area.top; y < m_area.bottom; ++y)
            std::copy_n(src.Row(y) + m_area.left, w, m_pixels.begin() + static_cast<std::ptrdiff_t>((y - m_area.top) * w));
    }
    bool operator()(std::int64_t x, std::int64_t y, std::uint32_t& raw) const
    {
        if (x < m_area.left || x >= m_area.right || y < m_area.top || y >= m_area.bottom) return false;
        raw = m_pixels[static_cast<std::size_t>((y - m_area.top) * m_area.Width() + (x - m_area.left))];
        return true;
    }

private:
    Rect m_area;
    std::vector<std::uint32_t> m_pixels;
};

void SetSourceKind(Operation& op, const Dc& src, const Plane& plane)
{
    op.conv.kind = plane.mono ? SourceConversion::Kind::kMono : SourceConversion::Kind::kColour;
    op.conv.srcBk = ColorToPixel(src.GetBkColor());
}

// A plain copy between two colour bitmaps at the same size, row by row: what the general
// operation does pixel by pixel (a source pixel outside its bitmap leaves the destination
// pixel alone), at the speed a window's paint through an off-screen bitmap wants. False
// when the copy is of another kind.
bool CopyRows(const Plane& dp, const Plane& sp, const Rect& dbox, const Rect& sbox, std::uint32_t rop)
{
    if (rop != (kSrcCopy & kRgbMask) || dp.mono || sp.mono || dp.surface == sp.surface) return false;
    const std::int64_t w = std::int64_t(dbox.right) - dbox.left, h = std::int64_t(dbox.bottom) - dbox.top;
    if (w <= 0 || h <= 0 || std::int64_t(sbox.right) - sbox.left != w || std::int64_t(sbox.bottom) - sbox.top != h)
        return false;
    const std::int64_t dx = std::int64_t(sbox.left) - dbox.left, dy = std::int64_t(sbox.top) - dbox.top;
    const std::int64_t x0 = std::max<std::int64_t>({dbox.left, 0, -dx});
    const std::int64_t x1 = std::min<std::int64_t>({dbox.left + w, dp.width, sp.width - dx});
    const std::int64_t y0 = std::max<std::int64_t>({dbox.top, 0, -dy});
    const std::int64_t y1 = std::min<std::int64_t>({dbox.top + h, dp.height, sp.height - dy});
    for (std::int64_t y = y0; y < y1; ++y) {
        std::uint32_t* to = dp.Row(static_cast<int>(y));
        const std::uint32_t* from = sp.Row(static_cast<int>(y + dy)) + dx;
        for (std::int64_t x = x0; x < x1; ++x) to[x] = from[x] & kRgbMask;
    }
    if (x0 < x1 && y0 < y1) dp.Changed();
    return true;
}

bool StretchBetween(Dc& dst, const Rect& dbox, const Dc* src, const Rect& sbox, std::uint32_t rop)
{
    Plane dp(DcRaster::Surface(dst));
    if (!dp.Valid()) return false;
    Operation op(dst, dp, rop);
    if (!RopUsesSource(rop)) {
        Stretch(op, dbox, dbox, false, [](std::int64_t, std::int64_t, std::uint32_t&) { return true; });
        return true;
    }
    if (!src) return false;
    Plane sp(DcRaster::Surface(*src));
    if (!sp.Valid()) return false;
    if (CopyRows(dp, sp, dbox, sbox, rop)) return true;
    SetSourceKind(op, *src, sp);
    SourceCopy copy(sp, sbox);
    Stretch(op, dbox, sbox, true, copy);
    return true;
}

} // namespace

bool BitBlt(Dc& dst, int x, int y, int width, int height, const Dc* src, int sx, int sy, std::uint32_t rop)
{
    const Rect dbox = DcRaster::DeviceBox(dst, x, y, width, height);
    const Rect sbox = src ? DcRaster::DeviceBox(*src, sx, sy, width, height) : dbox;
    return StretchBetween(dst, dbox, src, sbox, rop & kRgbMask);
}

bool StretchBlt(Dc& dst, int x, int y, int width, int height, const Dc* src, int sx, int sy, int sw, int sh,
                std::uint32_t rop)
{
    const Rect dbox = DcRaster::DeviceBox(dst, x, y, width, height);
    const Rect sbox = src ? DcRaster::DeviceBox(*src, sx, sy, sw, sh) : dbox;
    return StretchBetween(dst, dbox, src, sbox, rop & kRgbMask);
}

bool PatBlt(Dc& dst, int x, int y, int width, int height, std::uint32_t rop)
{
    if (RopUsesSource(rop)) return false;
    const Rect dbox = DcRaster::DeviceBox(dst, x, y, width, height);
    return StretchBetween(dst, dbox, nullptr, dbox, rop & kRgbMask);
}

bool MaskBlt(Dc& dst, int x, int y, int width, int height, const Dc& src, int sx, int sy, const Bitmap& mask,
             int mx, int my, std::uint32_t rop4)
{
    Plane dp(DcRaster::Surface(dst));
    Plane sp(DcRaster::Surface(src));
    if (!dp.Valid() || !sp.Valid() || !mask.IsMonochrome() || mx < 0 || my < 0) return false;
    Rect dbox = DcRaster::DeviceBox(dst, x, y, width, height);
    dbox.Normalize();
    if (std::int64_t(mx) + dbox.Width() > mask.Width() || std::int64_t(my) + dbox.Height() > mask.Height())
        return false;
    Rect sbox = DcRaster::DeviceBox(src, sx, sy, width, height);
    sbox.Normalize();
    // No stretching here: the source is as large as the destination.
    sbox.right = sbox.left + dbox.Width();
    sbox.bottom = sbox.top + dbox.Height();

    Operation op(dst, dp, rop4);
    Plane mp(nullptr);
    // The mask's own rows, read through the bitmap so that its surface is flushed.
    std::vector<std::uint32_t> maskPixels(static_cast<std::size_t>(mask.Width()) * static_cast<std::size_t>(mask.Height()));
    for (int r = 0; r < mask.Height(); ++r)
        std::copy_n(mask.Row(r), mask.Width(), maskPixels.begin() + static_cast<std::ptrdiff_t>(r) * mask.Width());
    mp.data = reinterpret_cast<std::uint8_t*>(maskPixels.data());
    mp.stride = static_cast<std::ptrdiff_t>(mask.Width()) * 4;
    mp.width = mask.Width();
    mp.height = mask.Height();
    mp.mono = true;
    op.mask = &mp;
    op.mx = mx;
    op.my = my;
    SetSourceKind(op, src, sp);
    SourceCopy copy(sp, sbox);
    Stretch(op, dbox, sbox, true, copy);
    return true;
}

bool TransparentBlt(Dc& dst, int x, int y, int width, int height, const Dc& src, int sx, int sy, int sw, int sh,
                    ColorRef key)
{
    Plane dp(DcRaster::Surface(dst));
    Plane sp(DcRaster::Surface(src));
    if (!dp.Valid() || !sp.Valid()) return false;
    const Rect dbox = DcRaster::DeviceBox(dst, x, y, width, height);
    const Rect sbox = DcRaster::DeviceBox(src, sx, sy, sw, sh);
    Operation op(dst, dp, kSrcCopy);
    SetSourceKind(op, src, sp);
    SourceCopy copy(sp, sbox);
    const std::uint32_t keyPixel = ColorToPixel(key);
    // A key-coloured source pixel counts as absent, so the destination keeps its own.
    Stretch(op, dbox, sbox, true, [&](std::int64_t sx2, std::int64_t sy2, std::uint32_t& raw) {
        return copy(sx2, sy2, raw) && (raw & kRgbMask) != keyPixel;
    });
    return true;
}

bool TransformBlt(Dc& dst, const XForm& xf, const Dc& src, int sx, int sy, int width, int height, std::uint32_t rop)
{
    Plane dp(DcRaster::Surface(dst));
    Plane sp(DcRaster::Surface(src));
    if (!dp.Valid() || !sp.Valid() || width <= 0 || height <= 0) return false;
    const double a = xf.m11, b = xf.m12, c = xf.m21, d = xf.m22, ox = xf.dx, oy = xf.dy;
    const double det = a * d - b * c;
    if (!std::isfinite(det) || std::fabs(det) < 1e-12 || !std::isfinite(ox) || !std::isfinite(oy)) return false;

    // The destination pixels the transformed rectangle can touch.
    double minX = ox, maxX = ox, minY = oy, maxY = oy;
    for (const auto& [u, v] : {std::pair<double, double>{double(width), 0.0}, {0.0, double(height)},
                               {double(width), double(height)}}) {
        const double px = u * a + v * c + ox, py = u * b + v * d + oy;
        minX = std::min(minX, px);
        maxX = std::max(maxX, px);
        minY = std::min(minY, py);
        maxY = std::max(maxY, py);
    }
    const int x0 = static_cast<int>(std::clamp(std::floor(minX), 0.0, double(dp.width)));
    const int x1 = static_cast<int>(std::clamp(std::ceil(maxX), 0.0, double(dp.width)));
    const int y0 = static_cast<int>(std::clamp(std::floor(minY), 0.0, double(dp.height)));
    const int y1 = static_cast<int>(std::clamp(std::ceil(maxY), 0.0, double(dp.height)));
    if (x0 >= x1 || y0 >= y1) return true;

    Operation op(dst, dp, rop & kRgbMask);
    SetSourceKind(op, src, sp);
    const Rect sbox(sx, sy, static_cast<int>(std::min<std::int64_t>(std::int64_t(sx) + width, INT32_MAX)),
                    static_cast<int>(std::min<std::int64_t>(std::int64_t(sy) + height, INT32_MAX)));
    SourceCopy copy(sp, sbox);
    const std::uint32_t pattern = op.Pattern();
    for (int y = y0; y < y1; ++y) {
        std::uint32_t* row = dp.Row(y);
        for (int x = x0; x < x1; ++x) {
            // The inverse transform of the pixel's centre.
            const double px = x + 0.5 - ox, py = y + 0.5 - oy;
            const double u = (px * d - py * c) / det, v = (py * a - px * b) / det;
            if (!(u >= 0 && u < width && v >= 0 && v < height)) continue;
            std::uint32_t raw = 0;
            if (!copy(sx + static_cast<std::int64_t>(u), sy + static_cast<std::int64_t>(v), raw)) continue;
            op.Apply(row[x], raw, pattern, true);
        }
    }
    dp.Changed();
    return true;
}

bool StretchDib(Dc& dst, int x, int y, int width, int height, const DibView& dib, int sx, int sy, int sw, int sh,
                std::uint32_t rop)
{
    const int bc = dib.bitCount;
    if (!dib.bits || dib.width <= 0 || dib.height == 0 || dib.height == INT32_MIN ||
        (bc != 1 && bc != 4 && bc != 8 && bc != 24 && bc != 32))
        return false;
    if (dib.rowBytes < (std::int64_t(dib.width) * bc + 7) / 8) return false;
    if (bc <= 8 && (dib.paletteEntries < 0 || (dib.paletteEntries > 0 && !dib.palette))) return false;
    Plane dp(DcRaster::Surface(dst));
    if (!dp.Valid()) return false;

    const int rows = std::abs(dib.height);
    const int entries = std::min(dib.paletteEntries, 1 << std::min(bc, 8));
    auto fetch = [&](std::int64_t px, std::int64_t py, std::uint32_t& raw) {
        if (px < 0 || px >= dib.width || py < 0 || py >= rows) return false;
        const std::int64_t r = dib.height > 0 ? rows - 1 - py : py;
        const std::uint8_t* row = dib.bits + r * dib.rowBytes;
        int index;
        switch (bc) {
        case 32:
        case 24: {
            const std::uint8_t* p = row + px * (bc / 8);
            raw = (std::uint32_t(p[2]) << 16) | (std::uint32_t(p[1]) << 8) | p[0];
            return true;
        }
        case 8: index = row[px]; break;
        case 4: index = (px & 1) ? (row[px / 2] & 0x0F) : (row[px / 2] >> 4); break;
        default: index = (row[px / 8] >> (7 - (px & 7))) & 1; break;
        }
        if (index >= entries) {
            raw = 0;
            return true;
        }
        const std::uint8_t* e = dib.palette + index * 4;
        raw = (std::uint32_t(e[2]) << 16) | (std::uint32_t(e[1]) << 8) | e[0];
        return true;
    };
    Operation op(dst, dp, rop & kRgbMask);
    op.conv.kind = SourceConversion::Kind::kDib;
    const Rect dbox = DcRaster::DeviceBox(dst, x, y, width, height);
    const Rect sbox(sx, sy, static_cast<int>(std::clamp<std::int64_t>(std::int64_t(sx) + sw, INT32_MIN, INT32_MAX)),
                    static_cast<int>(std::clamp<std::int64_t>(std::int64_t(sy) + sh, INT32_MIN, INT32_MAX)));
    Stretch(op, dbox, sbox, RopUsesSource(rop), fetch);
    return true;
}

bool RectVisible(const Dc& dc, const Rect& rect)
{
    Plane p(DcRaster::Surface(dc));
    if (!p.Valid()) return false;
    const Rect a = DcRaster::DeviceBox(dc, rect.left, rect.top, 0, 0);
    const Rect b = DcRaster::DeviceBox(dc, rect.right, rect.bottom, 0, 0);
    Rect d(a.left, a.top, b.left, b.top);
    d.Normalize();
    return !d.Intersect(Rect(0, 0, p.width, p.height)).IsEmpty();
}

} // namespace plat
