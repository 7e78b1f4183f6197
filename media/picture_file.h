// Picture files read the way the platform's own picture loader reads them: BMP, JPEG and
// GIF through the raster codecs, WMF through libwmf, and EMF through libemf2svg and librsvg. The kind
// comes from the file's first bytes, not its name. A loaded picture reports its size in
// HIMETRIC units (0.01 mm), bitmaps at the screen's 96 dots per inch, metafiles as their
// headers give it, and draws itself stretched into any rectangle.
#pragma once
#include <cstdint>
#include <memory>

#include "platform/base/geometry.h"
#include "platform/base/strings.h"

namespace plat {
class Dc;
}

class CPictureFile {
public:
    enum class Kind { kBitmap, kMetafile, kEnhancedMetafile };

    // nullptr when the file cannot be read or is not a picture of those kinds.
    static std::unique_ptr<CPictureFile> Load(const plat::String& path);

    virtual ~CPictureFile();
    CPictureFile(const CPictureFile&) = delete;
    CPictureFile& operator=(const CPictureFile&) = delete;

    Kind GetKind() const { return m_kind; }
    std::int32_t HimetricWidth() const { return m_himetricWidth; }
    std::int32_t HimetricHeight() const { return m_himetricHeight; }

    // The whole picture stretched into (x, y) of cx × cy on the DC. A negative cx or cy
    // mirrors it in that direction, the picture then covering x + cx to x.
    virtual void Render(plat::Dc& dc, int x, int y, int cx, int cy) = 0;

protected:
    CPictureFile(Kind kind, std::int32_t himetricWidth, std::int32_t himetricHeight)
        : m_kind(kind), m_himetricWidth(himetricWidth), m_himetricHeight(himetricHeight) {}

private:
    Kind m_kind;
    std::int32_t m_himetricWidth;
    std::int32_t m_himetricHeight;
};

// A metafile's header may declare any natural size, up to millions of pixels a side; the
// size a metafile reports is clamped, keeping its proportions, to the largest paper side a
// document takes, 10 m (1,000,000 HIMETRIC units, 37,795 pixels at 96 dots per inch).
constexpr std::int32_t kMaxMetafileHimetric = 1000000;
// The natural size of a metafile of width × height HIMETRIC units (both positive), clamped.
plat::Size ClampMetafileSize(std::int64_t himetricWidth, std::int64_t himetricHeight);

// What a metafile shows where its drawing is not there (still playing, or one that
// cannot be played at all): a grey frame of (x, y) to (x + cx, y + cy)
// with its diagonals.
void DrawMetafilePlaceholder(plat::Dc& dc, int x, int y, int cx, int cy);

// Pixels of a HIMETRIC length at a resolution, rounded to the nearest (2540 units to the
// inch), and HIMETRIC units of a pixel length, as the loader reports bitmaps.
std::int32_t HimetricToPixels(std::int64_t himetric, int dpi);
std::int32_t PixelsToHimetric(std::int64_t pixels, int dpi);
