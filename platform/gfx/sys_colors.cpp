#include "platform/gfx/sys_colors.h"

#include <array>

namespace plat {
namespace {

constexpr int kSchemeSize = kColorInfoBk + 1;

constexpr std::array<ColorRef, kSchemeSize> kClassicScheme = {
    Rgb(192, 192, 192), // scroll bar
    Rgb(0, 128, 128),   // desktop
    Rgb(0, 0, 128),     // active caption
    Rgb(128, 128, 128), // inactive caption
    Rgb(192, 192, 192), // menu
    Rgb(255, 255, 255), // window
    Rgb(0, 0, 0),       // window frame
    Rgb(0, 0, 0),       // menu text
    Rgb(0, 0, 0),       // window text
    Rgb(255, 255, 255), // caption text
    Rgb(192, 192, 192), // active border
    Rgb(192, 192, 192), // inactive border
    Rgb(128, 128, 128), // application workspace
    Rgb(0, 0, 128),     // highlight
    Rgb(255, 255, 255), // highlight text
    Rgb(192, 192, 192), // button face
    Rgb(128, 128, 128), // button shadow
    Rgb(128, 128, 128), // grey text
    Rgb(0, 0, 0),       // button text
    Rgb(192, 192, 192), // inactive caption text
    Rgb(255, 255, 255), // button highlight
    Rgb(0, 0, 0),       // 3-D dark shadow
    Rgb(223, 223, 223), // 3-D light
    Rgb(0, 0, 0),       // tooltip text
    Rgb(255, 255, 225), // tooltip background
};

std::array<ColorRef, kSchemeSize>& Scheme()
{
    static std::array<ColorRef, kSchemeSize> scheme = kClassicScheme;
    return scheme;
}

bool InScheme(int index) { return index >= 0 && index < kSchemeSize; }

} // namespace

ColorRef GetSysColor(int index)
{
    return InScheme(index) ? Scheme()[index] : Rgb(0, 0, 0);
}

ColorRef SetSysColor(int index, ColorRef color)
{
    if (!InScheme(index)) return Rgb(0, 0, 0);
    const ColorRef old = Scheme()[index];
    Scheme()[index] = color & 0xFFFFFF;
    return old;
}

void ResetSysColors()
{
    Scheme() = kClassicScheme;
}

} // namespace plat
