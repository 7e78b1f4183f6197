#include "platform/gfx/dc.h"

#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <utility>
#include <vector>

#include "platform/gfx/bitmap.h"
#include "platform/gfx/font_engine.h"
#include "platform/gfx/path_state.h"
#include "platform/gfx/raster_access.h"
#include "platform/gfx/surface_access.h"
#include "platform/base/saturate.h"

namespace plat {

using gfx_detail::FontInstance;
using gfx_detail::GlyphInfo;
using gfx_detail::MulDivRound;

namespace {

constexpr int kTwipsPerInch = 1440;
// Device coordinates are kept well inside what Cairo's fixed-point rasteriser handles.
constexpr std::int64_t kMaxDeviceCoord = 1 << 22;


void SetSource(cairo_t* cr, ColorRef c)
{
    cairo_set_source_rgb(cr, RValue(c) / 255.0, GValue(c) / 255.0, BValue(c) / 255.0);
}

// Where text of the advance `total` starts along its baseline from the reference point,
// and where the baseline lies below it, by the text alignment.
double AlignedStartX(unsigned align, std::int64_t total)
{
    if ((align & kTaCenter) == kTaCenter) return -static_cast<double>(total / 2);
    if (align & kTaRight) return -static_cast<double>(total);
    return 0;
}

double AlignedBaseY(unsigned align, const gfx_detail::PixelMetrics& m)
{
    if ((align & kTaBaseline) == kTaBaseline) return 0;
    if (align & kTaBottom) return -m.descent;
    return m.ascent;
}

// Glyphs of the non-antialiased quality stay aliased; every other quality is drawn with
// greyscale antialiasing. Hinting and whole-pixel metrics stay as the DC set them.
void SetTextQuality(cairo_t* cr, std::uint8_t quality)
{
    cairo_font_options_t* fo = cairo_font_options_create();
    cairo_get_font_options(cr, fo);
    cairo_font_options_set_antialias(fo, quality == kNonAntialiasedQuality ? CAIRO_ANTIALIAS_NONE : CAIRO_ANTIALIAS_GRAY);
    cairo_set_font_options(cr, fo);
    cairo_font_options_destroy(fo);
}

// UTF-16 to code points; a surrogate that is not part of a pair stands for itself.
std::vector<char32_t> Decode(StringView text)
{
    std::vector<char32_t> out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (c >= 0xD800 && c < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] < 0xE000) {
            out.push_back(0x10000 + ((static_cast<char32_t>(c) - 0xD800) << 10) + (text[i + 1] - 0xDC00));
            ++i;
        } else {
            out.push_back(c);
        }
    }
    return out;
}

bool HatchHit(HatchStyle h, int x, int y)
{
    switch (h) {
    case kHatchHorizontal: return y == 0;
    case kHatchVertical: return x == 0;
    case kHatchFDiagonal: return x == y;
    case kHatchBDiagonal: return x + y == 7;
    case kHatchCross: return x == 0 || y == 0;
    case kHatchDiagCross: return x == y || x + y == 7;
    }
    return y == 0;
}

// The dash pattern of a styled cosmetic pen, in device pixels.
std::span<const double> DashesFor(PenStyle style)
{
    static constexpr double kDash[] = {18, 6};
    static constexpr double kDot[] = {3, 3};
    static constexpr double kDashDot[] = {9, 6, 3, 6};
    static constexpr double kDashDotDot[] = {9, 3, 3, 3, 3, 3};
    switch (style) {
    case kPenDash: return kDash;
    case kPenDot: return kDot;
    case kPenDashDot: return kDashDot;
    case kPenDashDotDot: return kDashDotDot;
    default: return {};
    }
}

const Pen kStockBlackPen(kPenSolid, 0, Rgb(0, 0, 0));
const Pen kStockWhitePen(kPenSolid, 0, Rgb(255, 255, 255));
const Pen kStockNullPen(kPenNull, 0, 0);
constexpr Brush kStockBlackBrush = Brush::Solid(Rgb(0, 0, 0));
constexpr Brush kStockWhiteBrush = Brush::Solid(Rgb(255, 255, 255));
constexpr Brush kStockNullBrush = Brush::Null();

} // namespace

const Pen* StockPen(StockObject which)
{
    switch (which) {
    case StockObject::kBlackPen: return &kStockBlackPen;
    case StockObject::kWhitePen: return &kStockWhitePen;
    case StockObject::kNullPen: return &kStockNullPen;
    default: return nullptr;
    }
}

const Brush* StockBrush(StockObject which)
{
    switch (which) {
    case StockObject::kBlackBrush: return &kStockBlackBrush;
    case StockObject::kWhiteBrush: return &kStockWhiteBrush;
    case StockObject::kNullBrush: return &kStockNullBrush;
    default: return nullptr;
    }
}

struct Dc::State {
    int dpiX = kScreenDpi;
    int dpiY = kScreenDpi;
    int mapMode = kMmText;

    const Font* font = nullptr;
    FontDesc fontDesc;
    std::shared_ptr<const gfx_detail::ResolvedFace> faces;
    mutable std::shared_ptr<const FontInstance> instance; // realised for the map mode, on demand

    const Pen* pen = &kStockBlackPen;
    Pen penValue = kStockBlackPen;
    const Brush* brush = &kStockWhiteBrush;
    Brush brushValue = kStockWhiteBrush;

    ColorRef textColor = Rgb(0, 0, 0);
    ColorRef bkColor = Rgb(255, 255, 255);
    int bkMode = kOpaque;
    unsigned textAlign = kTaLeft | kTaTop;
    Point current;

    Bitmap* target = nullptr;
    cairo_surface_t* surface = nullptr; // our reference: drawing survives a deleted bitmap
    cairo_t* cr = nullptr;

    ~State() { Detach(); }

    void Detach()
    {
        if (cr) cairo_destroy(cr);
        if (surface) cairo_surface_destroy(surface);
        cr = nullptr;
        surface = nullptr;
    }

    // Pixel access goes through the surface, which this DC keeps alive.
    int Width() const { return surface ? cairo_image_surface_get_width(surface) : 0; }
    int Height() const { return surface ? cairo_image_surface_get_height(surface) : 0; }
    std::uint32_t* Row(int y, bool write) const { return gfx_detail::SurfaceRow(surface, y, write); }

    bool Twips() const { return mapMode == kMmTwips; }
    std::int32_t DevX(std::int64_t x) const { return plat::SaturateI32(Twips() ? MulDivRound(x, dpiX, kTwipsPerInch) : x, -kMaxDeviceCoord, kMaxDeviceCoord); }
    std::int32_t DevY(std::int64_t y) const { return plat::SaturateI32(Twips() ? -MulDivRound(y, dpiY, kTwipsPerInch) : y, -kMaxDeviceCoord, kMaxDeviceCoord); }
    std::int32_t DevLenX(std::int64_t v) const { return plat::SaturateI32(Twips() ? MulDivRound(v, dpiX, kTwipsPerInch) : v, -kMaxDeviceCoord, kMaxDeviceCoord); }
    std::int32_t LogLenX(std::int64_t px) const
    {
        return static_cast<std::int32_t>(Twips() ? MulDivRound(px, kTwipsPerInch, dpiX) : px);
    }
    std::int32_t LogLenY(std::int64_t px) const
    {
        return static_cast<std::int32_t>(Twips() ? MulDivRound(px, kTwipsPerInch, dpiY) : px);
    }

    const FontInstance* Instance() const
    {
        if (!instance && faces) {
            std::int64_t h = fontDesc.height;
            if (Twips() && h != 0) {
                const std::int64_t px = std::max<std::int64_t>(1, MulDivRound(h < 0 ? -h : h, dpiY, kTwipsPerInch));
                h = h < 0 ? -px : px;
            }
            h = std::clamp<std::int64_t>(h, -gfx_detail::kMaxPpem * 4, gfx_detail::kMaxPpem * 4);
            instance = gfx_detail::FontEngine::Get().Instance(faces, static_cast<int>(h), dpiY);
        }
        return instance.get();
    }

    void SetFont(const Font* f)
    {
        font = f;
        fontDesc = f->Desc();
        faces = f->Resolved();
        instance.reset();
    }

    // The pen's width in device pixels; at least one.
    int PenWidth() const { return std::max(1, DevLenX(penValue.Width())); }

    // Fills the current path (kept) with the brush.
    void FillWithBrush(const Brush& b)
    {
        if (b.Style() == BrushStyle::kNull) return;
        if (b.Style() == BrushStyle::kSolid) {
            SetSource(cr, b.Color());
            cairo_fill_preserve(cr);
            return;
        }
        if (b.Style() == BrushStyle::kPattern) {
            const Bitmap* bitmap = b.PatternBitmap();
            if (!bitmap || bitmap->Width() <= 0 || bitmap->Height() <= 0) return;
            FillWithTile(bitmap->Width(), bitmap->Height(), [bitmap](int x, int y) {
                return 0xFF000000u | ColorToPixel(bitmap->GetPixel(x, y));
            });
            return;
        }
        // Premultiplied ARGB: opaque pixels carry alpha 0xFF, gaps are fully transparent.
        const std::uint32_t on = 0xFF000000u | ColorToPixel(b.Color());
        const std::uint32_t off = bkMode == kOpaque ? 0xFF000000u | ColorToPixel(bkColor) : 0;
        FillWithTile(8, 8, [&](int x, int y) { return HatchHit(b.Hatch(), x, y) ? on : off; });
    }

    // Fills the current path (kept) with a tile of the pixels repeated from the device
    // origin.
    template <class PixelAt>
    void FillWithTile(int width, int height, PixelAt pixelAt)
    {
        cairo_surface_t* tile = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
        cairo_surface_flush(tile);
        unsigned char* data = cairo_image_surface_get_data(tile);
        const int stride = cairo_image_surface_get_stride(tile);
        for (int y = 0; y < height && data; ++y) {
            auto* row = reinterpret_cast<std::uint32_t*>(data + y * stride);
            for (int x = 0; x < width; ++x) row[x] = pixelAt(x, y);
        }
        cairo_surface_mark_dirty(tile);
        cairo_pattern_t* pat = cairo_pattern_create_for_surface(tile);
        cairo_pattern_set_extend(pat, CAIRO_EXTEND_REPEAT);
        cairo_pattern_set_filter(pat, CAIRO_FILTER_NEAREST);
        cairo_set_source(cr, pat);
        cairo_fill_preserve(cr);
        cairo_pattern_destroy(pat);
        cairo_surface_destroy(tile);
    }

    // Strokes the current path with the pen and clears it.
    void StrokeWithPen()
    {
        const PenStyle style = penValue.Style();
        if (style == kPenNull) {
            cairo_new_path(cr);
            return;
        }
        const int w = PenWidth();
        // Styles are for thin pens only; a wide pen draws solid with round ends and joins.
        const std::span<const double> dashes = penValue.Width() <= 1 ? DashesFor(style) : std::span<const double>();
        cairo_set_line_width(cr, w);
        cairo_set_line_cap(cr, w > 1 ? CAIRO_LINE_CAP_ROUND : CAIRO_LINE_CAP_BUTT);
        cairo_set_line_join(cr, w > 1 ? CAIRO_LINE_JOIN_ROUND : CAIRO_LINE_JOIN_MITER);
        if (!dashes.empty() && bkMode == kOpaque) {
            cairo_set_dash(cr, nullptr, 0, 0);
            SetSource(cr, bkColor);
            cairo_stroke_preserve(cr);
        }
        cairo_set_dash(cr, dashes.data(), static_cast<int>(dashes.size()), 0);
        SetSource(cr, penValue.Color());
        cairo_stroke(cr);
        cairo_set_dash(cr, nullptr, 0, 0);
    }

    // Where a path is laid for the pen: through pixel centres for odd widths, on pixel
    // edges for even ones, so the stroke covers whole pixels.
    double PenOffset() const { return PenWidth() % 2 ? 0.5 : 0.0; }

    // A pen one device pixel wide draws its lines pixel by pixel, as a cosmetic pen does:
    // the first pixel of every line is drawn and the last left out, also on diagonals,
    // which a stroked path would leave half covered.
    bool ThinPen() const { return penValue.Style() != kPenNull && PenWidth() == 1; }

    // The points (device pixels) joined by thin lines; the pen's pattern runs on from one
    // line to the next.
    void ThinPolyline(std::span<const Point> points)
    {
        if (!surface || points.size() < 2) return;
        // Styles are for pens of width 0 or 1 only (a wider pen that comes to one pixel draws solid).
        const std::span<const double> dashes = penValue.Width() <= 1 ? DashesFor(penValue.Style()) : std::span<const double>();
        double period = 0;
        for (double d : dashes) period += d;
        const std::uint32_t ink = ColorToPixel(penValue.Color());
        const std::uint32_t gap = ColorToPixel(bkColor);
        const bool fillGaps = bkMode == kOpaque;
        const std::int64_t w = Width(), h = Height();
        cairo_surface_flush(surface);
        unsigned char* data = cairo_image_surface_get_data(surface);
        const int stride = cairo_image_surface_get_stride(surface);
        std::int64_t phase = 0; // pixels of the pattern used so far
        auto on = [&](std::int64_t step) {
            if (period <= 0) return true;
            double at = static_cast<double>(step % static_cast<std::int64_t>(period));
            for (std::size_t i = 0; i < dashes.size(); ++i) {
                if (at < dashes[i]) return i % 2 == 0;
                at -= dashes[i];
            }
            return true;
        };
        for (std::size_t k = 1; k < points.size(); ++k) {
            std::int64_t x = points[k - 1].x, y = points[k - 1].y;
            const std::int64_t x1 = points[k].x, y1 = points[k].y;
            const std::int64_t dx = x1 > x ? x1 - x : x - x1, dy = y1 > y ? y1 - y : y - y1;
            const std::int64_t sx = x1 > x ? 1 : -1, sy = y1 > y ? 1 : -1;
            const std::int64_t steps = std::max(dx, dy);
            // A line wholly to one side of the bitmap only moves the pattern on.
            if ((x < 0 && x1 < 0) || (y < 0 && y1 < 0) || (x >= w && x1 >= w) || (y >= h && y1 >= h)) {
                phase += steps;
                continue;
            }
            std::int64_t err = dx - dy;
            for (std::int64_t i = 0; i < steps; ++i) {
                const bool inked = on(phase++);
                if ((inked || fillGaps) && x >= 0 && y >= 0 && x < w && y < h)
                    reinterpret_cast<std::uint32_t*>(data + y * stride)[x] = inked ? ink : gap;
                const std::int64_t e2 = 2 * err;
                if (e2 > -dy) {
                    err -= dy;
                    x += sx;
                }
                if (e2 < dx) {
                    err += dx;
                    y += sy;
                }
            }
        }
        cairo_surface_mark_dirty(surface);
    }

    Rect DevRect(int l, int t, int r, int b) const
    {
        Rect d(DevX(l), DevY(t), DevX(r), DevY(b));
        d.Normalize();
        return d;
    }
};

Dc::Dc(int dpiX, int dpiY) : m_s(std::make_unique<State>())
{
    m_s->dpiX = dpiX > 0 ? dpiX : kScreenDpi;
    m_s->dpiY = dpiY > 0 ? dpiY : kScreenDpi;
    m_s->SetFont(DefaultGuiFont());
}

Dc::~Dc() = default;

int Dc::GetDeviceCaps(int index) const
{
    switch (index) {
    case kLogPixelsX: return m_s->dpiX;
    case kLogPixelsY: return m_s->dpiY;
    default: return 0;
    }
}

int Dc::LogPixelsX() const { return m_s->dpiX; }
int Dc::LogPixelsY() const { return m_s->dpiY; }

int Dc::SetMapMode(int mode)
{
    if (mode != kMmText && mode != kMmTwips) return 0;
    const int old = m_s->mapMode;
    if (mode != old) {
        m_s->mapMode = mode;
        m_s->instance.reset(); // the font's height is in logical units
    }
    return old;
}

int Dc::GetMapMode() const { return m_s->mapMode; }

const Font* Dc::Select(const Font* font)
{
    if (!font) return nullptr;
    const Font* old = m_s->font;
    m_s->SetFont(font);
    return old;
}

const Pen* Dc::Select(const Pen* pen)
{
    if (!pen) return nullptr;
    const Pen* old = m_s->pen;
    m_s->pen = pen;
    m_s->penValue = *pen;
    return old;
}

const Brush* Dc::Select(const Brush* brush)
{
    if (!brush) return nullptr;
    const Brush* old = m_s->brush;
    m_s->brush = brush;
    m_s->brushValue = *brush;
    return old;
}

const Font* Dc::CurrentFont() const { return m_s->font; }
const Pen* Dc::CurrentPen() const { return m_s->pen; }
const Brush* Dc::CurrentBrush() const { return m_s->brush; }

ColorRef Dc::SetTextColor(ColorRef color)
{
    return std::exchange(m_s->textColor, color & 0xFFFFFF);
}
ColorRef Dc::GetTextColor() const { return m_s->textColor; }

ColorRef Dc::SetBkColor(ColorRef color)
{
    return std::exchange(m_s->bkColor, color & 0xFFFFFF);
}
ColorRef Dc::GetBkColor() const { return m_s->bkColor; }

int Dc::SetBkMode(int mode)
{
    if (mode != kTransparent && mode != kOpaque) return 0;
    return std::exchange(m_s->bkMode, mode);
}
int Dc::GetBkMode() const { return m_s->bkMode; }

unsigned Dc::SetTextAlign(unsigned align)
{
    return std::exchange(m_s->textAlign, align & (kTaCenter | kTaBaseline));
}
unsigned Dc::GetTextAlign() const { return m_s->textAlign; }

TextMetrics Dc::GetTextMetrics() const
{
    TextMetrics tm;
    const FontDesc& d = m_s->fontDesc;
    tm.weight = d.weight <= 0 ? kFwNormal : d.weight;
    tm.italic = d.italic;
    tm.underlined = d.underline;
    tm.struckOut = d.strikeOut;
    tm.charSet = d.charSet;
    const FontInstance* inst = m_s->Instance();
    if (!inst) return tm;
    const auto& m = inst->Metrics();
    tm.height = m_s->LogLenY(m.height);
    tm.ascent = m_s->LogLenY(m.ascent);
    tm.descent = m_s->LogLenY(m.descent);
    tm.internalLeading = m_s->LogLenY(m.internalLeading);
    tm.externalLeading = m_s->LogLenY(m.externalLeading);
    tm.aveCharWidth = m_s->LogLenX(m.aveCharWidth);
    tm.maxCharWidth = m_s->LogLenX(m.maxCharWidth);
    return tm;
}

bool Dc::GetCharWidth(unsigned first, unsigned last, int* widths) const
{
    if (!widths || last < first || last - first >= 65536) return false;
    const FontInstance* inst = m_s->Instance();
    if (!inst) {
        std::fill(widths, widths + (last - first + 1), 0);
        return true;
    }
    inst->Advances(first, last, widths);
    if (m_s->Twips())
        for (unsigned i = 0; i <= last - first; ++i) widths[i] = m_s->LogLenX(widths[i]);
    return true;
}

Size Dc::GetTextExtent(StringView text) const
{
    const FontInstance* inst = m_s->Instance();
    if (!inst) return Size();
    std::int64_t width = 0;
    for (char32_t c : Decode(text)) width += inst->Glyph(c).advance;
    return Size(m_s->LogLenX(width), m_s->LogLenY(inst->Metrics().height));
}

void Dc::TextOut(int x, int y, StringView text)
{
    State& s = *m_s;
    const FontInstance* inst = s.Instance();
    if (!s.cr || !inst || text.empty()) return;
    const auto& m = inst->Metrics();

    std::vector<GlyphInfo> glyphs;
    std::int64_t total = 0;
    for (char32_t c : Decode(text)) {
        glyphs.push_back(inst->Glyph(c));
        total += glyphs.back().advance;
    }
    total = std::min<std::int64_t>(total, kMaxDeviceCoord);

    // Text is laid out in its own frame: x along the baseline from the reference point,
    // y downward from the baseline.
    const double startX = AlignedStartX(s.textAlign, total);
    const double baseY = AlignedBaseY(s.textAlign, m);

    cairo_t* cr = s.cr;
    cairo_save(cr);
    SetTextQuality(cr, s.fontDesc.quality);
    cairo_translate(cr, s.DevX(x), s.DevY(y));
    const int esc = s.fontDesc.escapement % 3600;
    if (esc != 0) cairo_rotate(cr, -esc * std::numbers::pi / 1800.0);

    if (s.bkMode == kOpaque) {
        cairo_rectangle(cr, startX, baseY - m.ascent, static_cast<double>(total), m.height);
        SetSource(cr, s.bkColor);
        cairo_fill(cr);
    }

    SetSource(cr, s.textColor);
    std::vector<cairo_glyph_t> run;
    double pen = startX;
    for (std::size_t i = 0; i < glyphs.size();) {
        const std::uint16_t face = glyphs[i].face;
        run.clear();
        for (; i < glyphs.size() && glyphs[i].face == face; ++i) {
            run.push_back(cairo_glyph_t{glyphs[i].glyph, pen, baseY});
            pen += glyphs[i].advance;
        }
        cairo_font_face_t* cf = inst->CairoFace(face);
        if (!cf) continue;
        cairo_set_font_face(cr, cf);
        cairo_set_font_size(cr, m.ppem);
        cairo_show_glyphs(cr, run.data(), static_cast<int>(run.size()));
    }
    if (s.fontDesc.underline) {
        cairo_rectangle(cr, startX, baseY + m.underlineTop, static_cast<double>(total), m.underlineThickness);
        cairo_fill(cr);
    }
    if (s.fontDesc.strikeOut) {
        cairo_rectangle(cr, startX, baseY + m.strikeTop, static_cast<double>(total), m.strikeThickness);
        cairo_fill(cr);
    }
    cairo_restore(cr);
}

void Dc::TextOutEach(std::span<const Point> origins, StringView codes)
{
    State& s = *m_s;
    const FontInstance* inst = s.Instance();
    const std::size_t n = std::min(origins.size(), codes.size());
    if (!s.cr || !inst || n == 0) return;
    // A filled cell, an underline, a strike-out or a turned font is drawn a character at a
    // time, exactly as TextOut draws it.
    if (s.bkMode == kOpaque || s.fontDesc.underline || s.fontDesc.strikeOut || s.fontDesc.escapement % 3600 != 0) {
        for (std::size_t i = 0; i < n; ++i) TextOut(origins[i].x, origins[i].y, codes.substr(i, 1));
        return;
    }
    const auto& m = inst->Metrics();
    const double baseY = AlignedBaseY(s.textAlign, m);

    cairo_t* cr = s.cr;
    cairo_save(cr);
    SetTextQuality(cr, s.fontDesc.quality);
    SetSource(cr, s.textColor);
    std::vector<cairo_glyph_t> run;
    run.reserve(n);
    std::uint16_t runFace = 0;
    auto flush = [&] {
        if (run.empty()) return;
        if (cairo_font_face_t* cf = inst->CairoFace(runFace)) {
            cairo_set_font_face(cr, cf);
            cairo_set_font_size(cr, m.ppem);
            // A glyph a call: Cairo composites glyphs that overlap in one call through one
            // mask, which antialiased edges would show; one at a time, each lies over the
            // last as separate text-outs put it.
            for (const cairo_glyph_t& glyph : run) cairo_show_glyphs(cr, &glyph, 1);
        }
        run.clear();
    };
    for (std::size_t i = 0; i < n; ++i) {
        // A lone unit, surrogates included, stands for itself, as TextOut decodes it.
        const GlyphInfo g = inst->Glyph(codes[i]);
        const double startX = AlignedStartX(s.textAlign, std::min<std::int64_t>(g.advance, kMaxDeviceCoord));
        if (!run.empty() && g.face != runFace) flush();
        runFace = g.face;
        run.push_back(cairo_glyph_t{g.glyph, s.DevX(origins[i].x) + startX, s.DevY(origins[i].y) + baseY});
    }
    flush();
    cairo_restore(cr);
}

Point Dc::MoveTo(int x, int y)
{
    if (m_path && m_path->recording)
        m_path->segments.push_back({gfx_detail::PathSegment::Kind::kMove, double(m_s->DevX(x)), double(m_s->DevY(y))});
    return std::exchange(m_s->current, Point(x, y));
}

void Dc::LineTo(int x, int y)
{
    State& s = *m_s;
    const Point from = std::exchange(s.current, Point(x, y));
    if (m_path && m_path->recording) {
        m_path->segments.push_back({gfx_detail::PathSegment::Kind::kLine, double(s.DevX(x)), double(s.DevY(y))});
        return;
    }
    if (!s.cr) return;
    if (s.ThinPen()) {
        const Point line[] = {Point(s.DevX(from.x), s.DevY(from.y)), Point(s.DevX(x), s.DevY(y))};
        s.ThinPolyline(line);
        return;
    }
    const double o = s.PenOffset();
    cairo_move_to(s.cr, s.DevX(from.x) + o, s.DevY(from.y) + o);
    cairo_line_to(s.cr, s.DevX(x) + o, s.DevY(y) + o);
    s.StrokeWithPen();
}

void Dc::Rectangle(int left, int top, int right, int bottom)
{
    State& s = *m_s;
    if (!s.cr) return;
    const Rect d = s.DevRect(left, top, right, bottom);
    if (d.IsEmpty()) return;
    cairo_rectangle(s.cr, d.left, d.top, d.Width(), d.Height());
    s.FillWithBrush(s.brushValue);
    cairo_new_path(s.cr);
    const double o = s.PenOffset();
    cairo_rectangle(s.cr, d.left + o, d.top + o, d.Width() - 1, d.Height() - 1);
    s.StrokeWithPen();
}

void Dc::Ellipse(int left, int top, int right, int bottom)
{
    if (RecordEllipse(left, top, right, bottom)) return;
    State& s = *m_s;
    if (!s.cr) return;
    const Rect d = s.DevRect(left, top, right, bottom);
    if (d.IsEmpty()) return;
    const double cx = (d.left + d.right) / 2.0;
    const double cy = (d.top + d.bottom) / 2.0;
    auto ellipse = [&](double rx, double ry) {
        cairo_new_path(s.cr);
        if (rx <= 0 || ry <= 0) {
            cairo_move_to(s.cr, cx - rx, cy - ry);
            cairo_line_to(s.cr, cx + rx, cy + ry);
            return;
        }
        cairo_save(s.cr);
        cairo_translate(s.cr, cx, cy);
        cairo_scale(s.cr, rx, ry);
        cairo_arc(s.cr, 0, 0, 1, 0, 2 * std::numbers::pi);
        cairo_close_path(s.cr);
        cairo_restore(s.cr);
    };
    ellipse(d.Width() / 2.0, d.Height() / 2.0);
    s.FillWithBrush(s.brushValue);
    // The pen runs through the centres of the outermost pixels.
    ellipse(d.Width() / 2.0 - 0.5, d.Height() / 2.0 - 0.5);
    s.StrokeWithPen();
}

void Dc::Polyline(std::span<const Point> points)
{
    State& s = *m_s;
    if (!s.cr || points.size() < 2) return;
    if (s.ThinPen()) {
        std::vector<Point> device;
        device.reserve(points.size());
        for (const Point& p : points) device.emplace_back(s.DevX(p.x), s.DevY(p.y));
        s.ThinPolyline(device);
        return;
    }
    const double o = s.PenOffset();
    cairo_move_to(s.cr, s.DevX(points[0].x) + o, s.DevY(points[0].y) + o);
    for (std::size_t i = 1; i < points.size(); ++i)
        cairo_line_to(s.cr, s.DevX(points[i].x) + o, s.DevY(points[i].y) + o);
    s.StrokeWithPen();
}

void Dc::Polygon(std::span<const Point> points)
{
    State& s = *m_s;
    if (!s.cr || points.size() < 2) return;
    auto path = [&](double o) {
        cairo_new_path(s.cr);
        cairo_move_to(s.cr, s.DevX(points[0].x) + o, s.DevY(points[0].y) + o);
        for (std::size_t i = 1; i < points.size(); ++i)
            cairo_line_to(s.cr, s.DevX(points[i].x) + o, s.DevY(points[i].y) + o);
        cairo_close_path(s.cr);
    };
    path(0.5);
    cairo_set_fill_rule(s.cr, CAIRO_FILL_RULE_EVEN_ODD);
    s.FillWithBrush(s.brushValue);
    path(s.PenOffset());
    s.StrokeWithPen();
}

void Dc::FillRect(const Rect& rect, const Brush& brush)
{
    State& s = *m_s;
    if (!s.cr) return;
    const Rect d = s.DevRect(rect.left, rect.top, rect.right, rect.bottom);
    if (d.IsEmpty()) return;
    cairo_rectangle(s.cr, d.left, d.top, d.Width(), d.Height());
    s.FillWithBrush(brush);
    cairo_new_path(s.cr);
}

void Dc::InvertRect(const Rect& rect)
{
    State& s = *m_s;
    if (!s.surface) return;
    const Rect d = s.DevRect(rect.left, rect.top, rect.right, rect.bottom).Intersect(Rect(0, 0, s.Width(), s.Height()));
    for (int y = d.top; y < d.bottom; ++y) {
        std::uint32_t* row = s.Row(y, true);
        for (int x = d.left; x < d.right; ++x) row[x] ^= 0x00FFFFFF;
    }
}

void Dc::StretchBitmap(int x, int y, int width, int height, const Bitmap& source)
{
    State& s = *m_s;
    if (!s.surface || width <= 0 || height <= 0) return;
    Rect d(s.DevX(x), s.DevY(y), s.DevX(static_cast<std::int64_t>(x) + width),
           s.DevY(static_cast<std::int64_t>(y) + (s.Twips() ? -static_cast<std::int64_t>(height) : height)));
    d.Normalize();
    const Rect clip = d.Intersect(Rect(0, 0, s.Width(), s.Height()));
    if (clip.IsEmpty()) return;
    const std::int64_t sw = source.Width(), sh = source.Height();
    const std::int64_t dw = d.Width(), dh = d.Height();
    // Copy the source rows first: the source may be the bitmap being drawn on.
    std::vector<std::uint32_t> src(static_cast<std::size_t>(sw * sh));
    for (int sy = 0; sy < sh; ++sy) std::copy_n(source.Row(sy), sw, src.begin() + sy * sw);
    for (int dy = clip.top; dy < clip.bottom; ++dy) {
        const std::int64_t sy = ((dy - d.top) * 2 + 1) * sh / (2 * dh);
        std::uint32_t* row = s.Row(dy, true);
        for (int dx = clip.left; dx < clip.right; ++dx) {
            const std::int64_t sx = ((dx - d.left) * 2 + 1) * sw / (2 * dw);
            row[dx] = src[static_cast<std::size_t>(sy * sw + sx)];
        }
    }
}

ColorRef Dc::GetPixel(int x, int y) const
{
    const State& s = *m_s;
    const int dx = s.DevX(x), dy = s.DevY(y);
    if (!s.surface || dx < 0 || dy < 0 || dx >= s.Width() || dy >= s.Height()) return kInvalidColor;
    return PixelToColor(s.Row(dy, false)[dx]);
}

ColorRef Dc::SetPixel(int x, int y, ColorRef color)
{
    State& s = *m_s;
    const int dx = s.DevX(x), dy = s.DevY(y);
    if (!s.surface || dx < 0 || dy < 0 || dx >= s.Width() || dy >= s.Height()) return kInvalidColor;
    s.Row(dy, true)[dx] = ColorToPixel(color);
    return color & 0xFFFFFF;
}

Bitmap* Dc::SetTarget(Bitmap* bitmap)
{
    State& s = *m_s;
    Bitmap* old = s.target;
    s.Detach();
    s.target = bitmap;
    if (bitmap) {
        s.surface = cairo_surface_reference(bitmap->m_surface);
        s.cr = cairo_create(s.surface);
        cairo_set_antialias(s.cr, CAIRO_ANTIALIAS_NONE);
        cairo_font_options_t* fo = cairo_font_options_create();
        cairo_font_options_set_antialias(fo, CAIRO_ANTIALIAS_NONE);
        cairo_font_options_set_hint_style(fo, CAIRO_HINT_STYLE_FULL);
        cairo_font_options_set_hint_metrics(fo, CAIRO_HINT_METRICS_OFF);
        cairo_set_font_options(s.cr, fo);
        cairo_font_options_destroy(fo);
    }
    return old;
}

Bitmap* Dc::Target() const { return m_s->target; }

MemoryDc::MemoryDc(const Dc* compatible)
    : Dc(compatible ? compatible->LogPixelsX() : kScreenDpi, compatible ? compatible->LogPixelsY() : kScreenDpi) {}

Bitmap* MemoryDc::Select(Bitmap* bitmap)
{
    return SetTarget(bitmap);
}

cairo_surface_t* gfx_detail::DcRaster::Surface(const Dc& dc)
{
    return dc.m_s->surface;
}

Rect gfx_detail::DcRaster::DeviceBox(const Dc& dc, int x, int y, int width, int height)
{
    const Dc::State& s = *dc.m_s;
    const std::int64_t down = s.Twips() ? -static_cast<std::int64_t>(height) : height;
    return Rect(s.DevX(x), s.DevY(y), s.DevX(static_cast<std::int64_t>(x) + width),
                s.DevY(static_cast<std::int64_t>(y) + down));
}

gfx_detail::PathState& gfx_detail::DcPaint::Path(Dc& dc)
{
    if (!dc.m_path) dc.m_path = std::make_unique<PathState>();
    return *dc.m_path;
}

const gfx_detail::PathState* gfx_detail::DcPaint::PathIfAny(const Dc& dc) { return dc.m_path.get(); }
cairo_t* gfx_detail::DcPaint::Cairo(Dc& dc) { return dc.m_s->cr; }
double gfx_detail::DcPaint::DevX(const Dc& dc, int x) { return dc.m_s->DevX(x); }
double gfx_detail::DcPaint::DevY(const Dc& dc, int y) { return dc.m_s->DevY(y); }
Point& gfx_detail::DcPaint::Current(Dc& dc) { return dc.m_s->current; }
double gfx_detail::DcPaint::PenOffset(const Dc& dc) { return dc.m_s->PenOffset(); }

void gfx_detail::DcPaint::Fill(Dc& dc, bool winding)
{
    Dc::State& s = *dc.m_s;
    if (!s.cr) return;
    cairo_set_fill_rule(s.cr, winding ? CAIRO_FILL_RULE_WINDING : CAIRO_FILL_RULE_EVEN_ODD);
    s.FillWithBrush(s.brushValue);
}

void gfx_detail::DcPaint::Stroke(Dc& dc)
{
    if (dc.m_s->cr) dc.m_s->StrokeWithPen();
}

} // namespace plat
