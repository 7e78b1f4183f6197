// A bitmap with a memory DC drawing on it, and the colours the drawing tests probe for.
#pragma once
#include <memory>

#include "platform/gfx/bitmap.h"
#include "platform/gfx/dc.h"

namespace canvas {

constexpr plat::ColorRef kWhite = plat::Rgb(255, 255, 255);
constexpr plat::ColorRef kBlack = plat::Rgb(0, 0, 0);
constexpr plat::ColorRef kRed = plat::Rgb(255, 0, 0);
constexpr plat::ColorRef kLime = plat::Rgb(0, 255, 0);
constexpr plat::ColorRef kBlue = plat::Rgb(0, 0, 255);
constexpr plat::ColorRef kYellow = plat::Rgb(255, 255, 0);

struct Canvas {
    std::unique_ptr<plat::Bitmap> bitmap;
    plat::MemoryDc dc;
    Canvas(int w, int h, plat::ColorRef fill) : bitmap(plat::Bitmap::Create(w, h))
    {
        bitmap->Fill(fill);
        dc.Select(bitmap.get());
    }
    plat::ColorRef At(int x, int y) const { return bitmap->GetPixel(x, y); }
};

} // namespace canvas
