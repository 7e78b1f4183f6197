// The picture cache: one picture file loaded by its extension and drawn on a DC, plain,
// with white as the transparent colour, turned and mirrored. Image objects, clip
// posters and the picture previews all draw through it.
#pragma once
#include <cstdint>
#include <memory>

#include "platform/base/geometry.h"
#include "platform/base/strings.h"

namespace plat {
class Bitmap;
class Dc;
} // namespace plat

class CPictureFile;
class CRasterPicture;

// Picture types, chosen by a path's last four characters.
enum PictureType : std::int32_t {
    kPictureNone = 0,
    kPictureBmp = 1,
    kPictureGif = 2,
    kPictureWmf = 3,
    kPictureEmf = 4,
    kPictureJpg = 5,
    kPictureTga = 6,
    kPicturePcx = 7,
    kPicturePng = 8,
    kPictureIco = 9,
};

class CImageCache {
public:
    CImageCache();
    ~CImageCache();
    CImageCache(const CImageCache&) = delete;
    CImageCache& operator=(const CImageCache&) = delete;

    // The type for a path: its last four characters, upper-cased.
    static std::int32_t TypeFromPath(const plat::String& path);

    // 1 loaded, 0 not. Any picture held is released first; on failure the size keeps its
    // previous value.
    int Load(const plat::String& path);
    // Natural size in screen pixels; 1 × 1 before anything is loaded.
    plat::Size GetSize() const { return plat::Size(m_width, m_height); }
    // Drops the picture; type and size keep their last values.
    void Release();

    // The whole picture stretched into (x, y) of cx × cy device units. A negative cx or cy
    // mirrors a BMP, GIF, WMF, EMF or JPEG picture in that direction and stands for the
    // natural width or height of the others.
    void Draw(plat::Dc& dc, int x, int y, int cx, int cy);
    // The picture at width × height with white transparent, turned by angle (radians,
    // counter-clockwise on screen) about its top-left corner when the angle is not 0; the
    // turned picture's bounding box has its top-left corner at (x, y).
    void DrawTransparent(plat::Dc& dc, int x, int y, int width, int height, double angle);
    // The same, mirrored left-to-right unless x1 < x2 and top-to-bottom unless y1 < y2.
    void DrawTransparentMirrored(plat::Dc& dc, int x, int y, int width, int height, int x1, int y1, int x2, int y2,
                                 double angle);

    std::int32_t Type() const { return m_type; }
    bool HasPicture() const { return m_picture || m_rasterPicture; }
    // The size as the platform's picture loader reports it (types 1 to 5), in 0.01 mm.
    std::int32_t HimetricWidth() const { return m_himetricWidth; }
    std::int32_t HimetricHeight() const { return m_himetricHeight; }

private:
    struct KeyedKey {
        int width, height;
        bool mirrorX, mirrorY;
        double angle;
        bool operator==(const KeyedKey&) const = default;
    };
    // The picture as DrawKeyed last placed it: scaled, mirrored, turned, with its mask.
    struct Keyed {
        KeyedKey key{};
        std::unique_ptr<plat::Bitmap> picture;
        std::unique_ptr<plat::Bitmap> mask;
    };
    void DrawKeyed(plat::Dc& dc, int x, int y, int width, int height, bool mirrorX, bool mirrorY, double angle);
    std::unique_ptr<Keyed> MakeKeyed(plat::Dc& dc, const KeyedKey& key);

    std::int32_t m_width = 1;
    std::int32_t m_height = 1;
    std::int32_t m_type = kPictureNone;
    std::unique_ptr<CPictureFile> m_picture;
    std::int32_t m_himetricWidth = 0;
    std::int32_t m_himetricHeight = 0;
    std::unique_ptr<CRasterPicture> m_rasterPicture;
    std::unique_ptr<Keyed> m_keyed;
};

// The bitmap turned by angle (radians) about its top-left corner on a background of the
// given colour; the width is rounded up to a multiple of 32. nullptr when the angle is
// not a number or the result would be too large.
std::unique_ptr<plat::Bitmap> RotateBitmap(const plat::Bitmap& bitmap, float angle, plat::ColorRef background);

// The bitmap at its own size at (x, y), leaving the DC unchanged wherever the bitmap has
// exactly the transparent colour.
void DrawTransparentBitmap(plat::Dc& dc, const plat::Bitmap& bitmap, int x, int y, plat::ColorRef transparent);
