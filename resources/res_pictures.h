// How the module's pictures are written down: pixel art whose characters index a palette of
// at most 16 colours. Each picture is made into the bytes of a bitmap resource (res_bitmaps.h)
// and everything else (plain bitmaps, toolbar strips with system colours) is made from
// those bytes. Internal to the resources library.
#pragma once
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

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

// Pixel art of Width x Height from a literal; a literal of another size does not compile.
template <int Width, int Height, std::size_t N>
consteval PixelArt MakeArt(const char (&rows)[N])
{
    if (N != Width * Height + 1) throw "the picture's literal does not hold width x height characters";
    return {Width, Height, rows};
}

// A bitmap resource: one picture, or several of the same height side by side (a toolbar's
// image strip), all written with one palette.
struct PictureResource {
    std::u16string_view name;
    std::span<const PaletteEntry> palette;
    std::span<const PixelArt* const> tiles;
};

// The picture as the bytes of a bitmap resource: a 4-bit DIB whose colour table is the
// palette. Empty when the tiles do not agree in height or a character is not in the palette.
std::vector<std::uint8_t> EncodeDib(const PictureResource& picture);

// The image strips of the toolbar resources, named as LoadSysColorBitmap names them.
std::span<const PictureResource> ToolbarStrips();

// The pictures of the drop-down menus and of the toolbar buttons that follow the format
// (on white), and the line-style pictures.
std::span<const PictureResource> MenuPictures();

// The wrap-mode pictures of the object property dialogs (res_wrap_buttons.h).
std::span<const PictureResource> WrapButtonPictures();

// The 16 x 16 pictures of the shape tools of the shape menu.
std::span<const PictureResource> ShapePictures();

// "IDB_RESCOLOR", the colour picker's hue and saturation field, as a 24-bit bitmap resource.
std::vector<std::uint8_t> EncodeColorField();

} // namespace res_detail
