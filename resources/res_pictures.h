// How the module's pictures are written down: pixel art whose characters index a palette of
// at most 16 colours. Each picture is made into the bytes of a bitmap resource (res_bitmaps.h)
// and everything else (plain bitmaps, toolbar strips with system colours) is made from
// those bytes. Internal to the resources library.
#pragma once
#include <span>
#include <string_view>

#include "platform/base/geometry.h"

namespace res_detail {

struct PaletteEntry {
    char key;
    plat::ColorRef color;
};

// height rows of width characters, each a key of the palette.
struct PixelArt {
    int width;
    int height;
    const char* rows;
};

// A bitmap resource: one picture, or several of the same height side by side (a toolbar's
// image strip), all written with one palette.
struct PictureResource {
    std::u16string_view name;
    std::span<const PaletteEntry> palette;
    std::span<const PixelArt* const> tiles;
};

// The 16 colours of toolbar pictures, in the order of the standard 16-colour table:
//   # black   m maroon   g green    o olive    n navy     p purple   t teal     . light grey
//   + grey    R red      G lime     Y yellow   B blue     M fuchsia  C aqua     w white
// Black, grey, light grey and white follow the button colours when a strip is loaded
// with LoadSysColorBitmap; light grey is the background.
extern const std::span<const PaletteEntry> kToolbarPalette;

// The image strips of the toolbar resources, named as LoadSysColorBitmap names them.
std::span<const PictureResource> ToolbarStrips();

} // namespace res_detail
