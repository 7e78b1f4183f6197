// A picture file loaded through the control's own raster codecs and drawn on a DC: how
// the picture cache shows the formats the platform's picture loader does not read.
#pragma once
#include <cstdint>
#include <memory>
#include <string_view>

#include "media/raster_image.h"

namespace plat {
class Dc;
}

class CRasterPicture {
public:
    CRasterPicture();
    virtual ~CRasterPicture();
    CRasterPicture(const CRasterPicture&) = delete;
    CRasterPicture& operator=(const CRasterPicture&) = delete;

    // The format number for a path's last four characters (case-insensitive), or -1 when
    // they name no format.
    static int FormatFromPath(std::string_view path936);

    // Loads the file at an 8-bit path in code page 936. 1 loaded; 0 not, and then an
    // unrecognised extension keeps the current picture while a recognised one that fails
    // leaves the wrapper empty.
    int Load(std::string_view path936);
    // Drops the picture; returns 0.
    int Release();
    // Draws the picture stretched to (x, y) of cx × cy; a negative cx or cy stands for the
    // picture's own width or height. 0 when there is no picture, otherwise 1.
    int Draw(plat::Dc* dc, std::int32_t x, std::int32_t y, std::int32_t cx, std::int32_t cy) const;

    std::int32_t Width() const { return m_width; }
    std::int32_t Height() const { return m_height; }
    const CRasterImage* Image() const { return m_image.get(); }

private:
    std::int32_t m_width = 0;
    std::int32_t m_height = 0;
    std::unique_ptr<CRasterImage> m_image;
};
