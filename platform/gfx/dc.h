// The device context: what the control draws on and measures with.
//
// A Dc measures text on a device of a given resolution; a MemoryDc also draws, into the
// Bitmap selected into it. Coordinates are logical units of the map mode:
//   kMmText  - device pixels, y growing downward.
//   kMmTwips - 1/1440 inch, y growing UPWARD from the origin: a point below the origin
//              has a negative y. Measuring in this mode gives the pixel values of the
//              device converted to twips (on a 96-dpi device exactly pixels x 15). Callers
//              that draw in pixels stay in kMmText; the twips mode serves measuring.
// Logical coordinates become device pixels by rounding to the nearest pixel, so that
// everything drawn is aligned on whole pixels.
//
// Drawing (lines, shapes, fills) is done without antialiasing, so a pixel is either drawn
// in the pen's or brush's colour or left alone, and pixel probes and hit masks read back
// exactly what was drawn. Text is drawn as the font's quality asks (FontQuality): hinted
// outlines with greyscale antialiasing by default, aliased for the non-antialiased
// quality, or a face's own bitmaps at sizes it has them for. Either way each glyph stands
// on the whole-pixel pen position that the measured advances give, so drawing never moves
// text that layout placed.
//
// A DC belongs to one thread at a time; fonts may be created and measured on any thread.
#pragma once
#include <cstdint>
#include <memory>
#include <span>

#include "platform/base/geometry.h"
#include "platform/base/strings.h"
#include "platform/gfx/bitmap.h"
#include "platform/gfx/font.h"
#include "platform/gfx/pen_brush.h"

namespace plat {

namespace gfx_detail {
struct DcRaster;
struct DcPaint;
struct PathState;
}

// Indices of GetDeviceCaps, with the values callers of the drawing layer know them by.
enum DeviceCap {
    kLogPixelsX = 88,
    kLogPixelsY = 90,
};

// The screen and the desktop are 96-dpi devices; printers and page images may differ.
constexpr int kScreenDpi = 96;

enum MapMode : int {
    kMmText = 1,
    kMmTwips = 6,
};

enum PolyFillMode : int {
    kAlternate = 1,
    kWinding = 2,
};

enum ArcDirection : int {
    kCounterClockwise = 1,
    kClockwise = 2,
};

enum BkMode : int {
    kTransparent = 1,
    kOpaque = 2,
};

// Text alignment flags: one horizontal and one vertical choice, or-ed.
enum TextAlign : unsigned {
    kTaLeft = 0,
    kTaRight = 2,
    kTaCenter = 6,
    kTaTop = 0,
    kTaBottom = 8,
    kTaBaseline = 24,
};

class Dc {
public:
    explicit Dc(int dpiX = kScreenDpi, int dpiY = kScreenDpi);
    virtual ~Dc();
    Dc(const Dc&) = delete;
    Dc& operator=(const Dc&) = delete;

    int GetDeviceCaps(int index) const;
    int LogPixelsX() const;
    int LogPixelsY() const;

    // Returns the previous mode; an unknown mode changes nothing and returns 0.
    int SetMapMode(int mode);
    int GetMapMode() const;

    // Selection returns what was selected before, so that callers can put it back.
    // The DC copies what it needs: a selected object may be destroyed without harm, but
    // the pointer returned for it is then no longer valid. nullptr selects nothing and
    // returns nullptr.
    const Font* Select(const Font* font);
    const Pen* Select(const Pen* pen);
    const Brush* Select(const Brush* brush);
    const Font* CurrentFont() const;
    const Pen* CurrentPen() const;
    const Brush* CurrentBrush() const;

    ColorRef SetTextColor(ColorRef color); // returns the previous colour
    ColorRef GetTextColor() const;
    ColorRef SetBkColor(ColorRef color);
    ColorRef GetBkColor() const;
    int SetBkMode(int mode);               // kTransparent or kOpaque; returns the previous
    int GetBkMode() const;
    unsigned SetTextAlign(unsigned align); // TextAlign flags (others are dropped); returns the previous
    unsigned GetTextAlign() const;

    // Measuring with the selected font, in logical units.
    TextMetrics GetTextMetrics() const;
    // Advance widths of the codes first..last into widths (last - first + 1 entries);
    // false (and nothing written) when last < first or the range exceeds 65536 codes.
    bool GetCharWidth(unsigned first, unsigned last, int* widths) const;
    Size GetTextExtent(StringView text) const;

    // Text at (x, y) by the text alignment; the font's escapement turns it about that point.
    // In opaque mode the text's cell is first filled with the background colour.
    void TextOut(int x, int y, StringView text);
    // Each code unit of `codes` at its own point of `origins` (as many as there are codes),
    // with the pixels TextOut(origins[i], that one unit) gives each in turn; the state is
    // set up once for them all rather than once a character.
    void TextOutEach(std::span<const Point> origins, StringView codes);

    // Lines and shapes with the selected pen, interiors with the selected brush (inside a
    // path bracket Ellipse is recorded instead, see RecordEllipse). A figure
    // from (l, t) to (r, b) covers the pixels l..r-1 and t..b-1, as do lines, which leave
    // out their last pixel.
    Point MoveTo(int x, int y); // returns the previous current position
    void LineTo(int x, int y);
    void Rectangle(int left, int top, int right, int bottom);
    void Ellipse(int left, int top, int right, int bottom);
    void Polyline(std::span<const Point> points);
    void Polygon(std::span<const Point> points); // alternate (even-odd) filling
    void FillRect(const Rect& rect, const Brush& brush);
    void InvertRect(const Rect& rect);
    // Copies the whole bitmap into the rectangle (x, y, width, height), stretched by
    // nearest pixel when the sizes differ.
    void StretchBitmap(int x, int y, int width, int height, const Bitmap& source);

    ColorRef GetPixel(int x, int y) const; // kInvalidColor outside the bitmap
    ColorRef SetPixel(int x, int y, ColorRef color); // the colour set, or kInvalidColor

    // ---- paths, curves and arcs (path.cpp) ----
    // Between BeginPath and EndPath, MoveTo, LineTo, PolyBezierTo, ArcTo and CloseFigure
    // record a path instead of drawing. StrokePath, FillPath (open figures closed) and
    // StrokeAndFillPath draw the recorded path with the pen and the brush and discard it;
    // AbortPath discards it. Each answers false when there is no path to use.
    bool BeginPath();
    bool EndPath();
    bool AbortPath();
    bool CloseFigure();
    bool StrokePath();
    bool FillPath();
    bool StrokeAndFillPath();
    // How the brush fills self-crossing figures: kAlternate (even-odd) or kWinding.
    int SetPolyFillMode(int mode); // returns the previous; 0 for a mode that is neither
    int GetPolyFillMode() const;
    // Which way arcs run on the screen: kCounterClockwise (the default) or kClockwise.
    int SetArcDirection(int direction); // returns the previous; 0 for neither
    int GetArcDirection() const;
    // Cubic Bézier curves: from points[0] through groups of three (two control points and
    // an end); PolyBezierTo starts at the current position and moves it to the last end.
    // A count that is not 3k + 1 (PolyBezier) or 3k (PolyBezierTo) draws nothing.
    bool PolyBezier(std::span<const Point> points);
    bool PolyBezierTo(std::span<const Point> points);
    // The elliptic arc of the ellipse in (left, top, right, bottom) from where the ray from
    // its centre through (x1, y1) meets it to where the ray through (x2, y2) does, in the
    // arc direction. Arc leaves the current position alone; ArcTo first draws a line from
    // it to the arc's start and leaves it at the arc's end.
    bool Arc(int left, int top, int right, int bottom, int x1, int y1, int x2, int y2);
    bool ArcTo(int left, int top, int right, int bottom, int x1, int y1, int x2, int y2);
    // A rectangle with corners rounded by ellipses of cornerWidth x cornerHeight.
    void RoundRect(int left, int top, int right, int bottom, int cornerWidth, int cornerHeight);

private:
    // Inside a path bracket an ellipse is recorded as a closed figure of its own, run in the
    // arc direction from its rightmost point (so that winding fill can leave a hole inside
    // another figure); false outside a bracket, where Ellipse draws at once.
    bool RecordEllipse(int left, int top, int right, int bottom);

public:

protected:
    // The bitmap drawing goes to (nullptr: measuring only). Returns the previous one.
    Bitmap* SetTarget(Bitmap* bitmap);
    Bitmap* Target() const;

private:
    friend struct gfx_detail::DcRaster; // raster operations (raster_ops.h) reach the pixels
    friend struct gfx_detail::DcPaint;  // paths (path.cpp) reach the pen, brush and surface

    struct State;
    std::unique_ptr<State> m_s;
    std::unique_ptr<gfx_detail::PathState> m_path; // made on first use (path.cpp)
};

// A DC that draws into a bitmap. Until a bitmap is selected, drawing does nothing.
class MemoryDc : public Dc {
public:
    // Same resolution as the given DC (the screen when nullptr).
    explicit MemoryDc(const Dc* compatible = nullptr);

    using Dc::Select;
    Bitmap* Select(Bitmap* bitmap); // returns the previous bitmap
    Bitmap* CurrentBitmap() const { return Target(); }
};

} // namespace plat
