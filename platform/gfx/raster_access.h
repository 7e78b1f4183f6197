// Internal to platform/gfx: what the raster operations need of a DC and a bitmap beyond
// their public faces.
#pragma once
#include <cairo.h>

#include "platform/base/geometry.h"

namespace plat {
class Dc;
}

namespace plat::gfx_detail {

struct DcRaster {
    // The surface the DC draws on; nullptr when no bitmap is selected.
    static cairo_surface_t* Surface(const Dc& dc);
    // The device pixels of the logical box at (x, y) of width × height, with the signs of
    // the extents kept (a negative extent mirrors). A positive height runs down the page
    // in every map mode, as for Dc::StretchBitmap.
    static Rect DeviceBox(const Dc& dc, int x, int y, int width, int height);
};

// Monochrome bitmaps are ordinary surfaces carrying this mark.
void MarkMonochrome(cairo_surface_t* surface);
bool IsMonochrome(cairo_surface_t* surface);

} // namespace plat::gfx_detail
