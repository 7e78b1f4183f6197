// Pixel probes of the drawing tests: a filled bitmap with a memory DC drawing on it, the
// colours the tests look for, and what a rectangle of a bitmap holds of one colour or of
// anything but the background.
#pragma once
#include <algorithm>
#include <memory>

#include "platform/base/geometry.h"
#include "platform/gfx/bitmap.h"
#include "platform/gfx/dc.h"

namespace testsupport {

constexpr plat::ColorRef kWhite = plat::Rgb(255, 255, 255);
constexpr plat::ColorRef kBlack = plat::Rgb(0, 0, 0);
constexpr plat::ColorRef kRed = plat::Rgb(255, 0, 0);
constexpr plat::ColorRef kLime = plat::Rgb(0, 255, 0);
constexpr plat::ColorRef kBlue = plat::Rgb(0, 0, 255);
constexpr plat::ColorRef kYellow = plat::Rgb(255, 255, 0);

// A bitmap of one colour (white unless told; a monochrome one when asked) with a memory DC
// selecting it.
struct Canvas {
    std::unique_ptr<plat::Bitmap> bitmap;
    plat::MemoryDc dc;
    Canvas(int w, int h, plat::ColorRef fill = kWhite, bool mono = false)
        : bitmap(mono ? plat::Bitmap::CreateMonochrome(w, h) : plat::Bitmap::Create(w, h))
    {
        bitmap->Fill(fill);
        dc.Select(bitmap.get());
    }
    plat::ColorRef At(int x, int y) const { return bitmap->GetPixel(x, y); }
};

// The pixels found in a rectangle: how many, and their bounding box (empty when none).
struct Ink {
    int count = 0;
    plat::Rect box;
};

// The pixels of the rectangle, cut to the bitmap, for which match(colour) holds.
template <typename Match>
Ink InkWhere(const plat::Bitmap& bmp, const plat::Rect& r, Match match)
{
    Ink ink;
    for (int y = std::max(0, r.top); y < std::min(bmp.Height(), r.bottom); ++y)
        for (int x = std::max(0, r.left); x < std::min(bmp.Width(), r.right); ++x) {
            if (!match(bmp.GetPixel(x, y))) continue;
            const plat::Rect px(x, y, x + 1, y + 1);
            ink.box = ink.count++ == 0 ? px : ink.box.Union(px);
        }
    return ink;
}

// The pixels of one colour in the rectangle.
inline Ink InkOf(const plat::Bitmap& bmp, const plat::Rect& r, plat::ColorRef color)
{
    return InkWhere(bmp, r, [color](plat::ColorRef c) { return c == color; });
}

// The pixels in the rectangle that are not the background colour.
inline Ink InkOn(const plat::Bitmap& bmp, const plat::Rect& r, plat::ColorRef background = kWhite)
{
    return InkWhere(bmp, r, [background](plat::ColorRef c) { return c != background; });
}

// The whole bitmap as a rectangle.
inline plat::Rect Whole(const plat::Bitmap& bmp)
{
    return plat::Rect(0, 0, bmp.Width(), bmp.Height());
}

} // namespace testsupport
