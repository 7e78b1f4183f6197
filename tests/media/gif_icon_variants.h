// The GIF and icon pictures ImageMagick writes at test time (see magick::Make): each
// must decode to the pixels and alpha ImageMagick reads from it, re-read identically
// once written by our codec, and load within the fixture walk's bound.
#pragma once
#include <cstdint>

#include "media/raster_image.h"

struct GifIconVariant {
    const char* name;   // file name; also names the test
    const char* recipe; // ImageMagick arguments (magick::Make)
    std::uint32_t format;
    int bitCount;       // of the loaded image
    int frames;         // frameCount
};

inline constexpr GifIconVariant kGifIconVariants[] = {
    {"gif87_2.gif", "{base} -colors 2 GIF87:{out}", kFormatGif, 1, 1},
    {"gif87_16.gif", "{base} -colors 16 GIF87:{out}", kFormatGif, 4, 1},
    {"gif87_256.gif", "{base} -colors 256 GIF87:{out}", kFormatGif, 8, 1},
    {"gif89_2.gif", "{base} -colors 2 GIF:{out}", kFormatGif, 1, 1},
    {"gif89_16.gif", "{base} -colors 16 GIF:{out}", kFormatGif, 4, 1},
    {"gif89_256.gif", "{base} -colors 256 GIF:{out}", kFormatGif, 8, 1},
    {"gif_interlaced.gif", "{base} -colors 64 -interlace GIF GIF:{out}", kFormatGif, 8, 1},
    {"gif_transparent.gif",
     "{base} -colors 15 -alpha set -channel A -fx 'i>=3&&i<=12&&j>=3&&j<=8?0:1' +channel GIF:{out}", kFormatGif, 4, 1},
    // Three frames, the later two smaller, offset and in colours of their own tables,
    // each left in place under the next.
    {"gif_animation.gif",
     "-size 37x23 xc:red -colors 8 '(' {base} -crop 10x8+0+0 -colors 4 -repage +5+3 ')' "
     "'(' -size 12x6 xc:lime -repage +20+15 ')' -set dispose None -loop 0 GIF:{out}",
     kFormatGif, 1, 3},
    {"ico_16.ico", "{base} -colors 16 ICO:{out}", kFormatIco, 4, 1},
    {"ico_256.ico", "{base} -colors 200 ICO:{out}", kFormatIco, 8, 1},
    {"ico_32.ico", "{alpha} ICO:{out}", kFormatIco, 24, 1},
    {"ico_three.ico", "'(' {base} -colors 16 ')' '(' {base} -colors 200 ')' {alpha} ICO:{out}", kFormatIco, 4, 3},
};
