// Internal to platform/gfx: direct access to the pixels of a Cairo image surface.
#pragma once
#include <cairo.h>

#include <cstdint>

namespace plat::gfx_detail {

// Row y as 0x00RRGGBB words (y must be inside). Writing tells Cairo the pixels changed.
inline std::uint32_t* SurfaceRow(cairo_surface_t* surface, int y, bool write)
{
    cairo_surface_flush(surface);
    if (write) cairo_surface_mark_dirty(surface);
    return reinterpret_cast<std::uint32_t*>(cairo_image_surface_get_data(surface) +
                                            static_cast<std::ptrdiff_t>(y) * cairo_image_surface_get_stride(surface));
}

} // namespace plat::gfx_detail
