// Pixel probes of the drawing tests: a filled bitmap with a memory DC drawing on it, the
// colours the tests look for, and what a rectangle of a bitmap holds of one colour or of
// anything but the background, or of text drawn in a colour with antialiased edges.
#pragma once
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "platform/base/geometry.h"
#include "platform/base/strings.h"
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

// How much of a pixel a colour covers over the background: 1 for the colour itself, 0 for
// the background, between for an antialiased edge (each channel mixed in the same
// proportion, give or take rounding); -1 when the pixel is no mix of the two.
inline double CoverageToward(plat::ColorRef pixel, plat::ColorRef color, plat::ColorRef background)
{
    const int p[] = {plat::RValue(pixel), plat::GValue(pixel), plat::BValue(pixel)};
    const int c[] = {plat::RValue(color), plat::GValue(color), plat::BValue(color)};
    const int b[] = {plat::RValue(background), plat::GValue(background), plat::BValue(background)};
    int widest = 0;
    for (int i = 1; i < 3; ++i)
        if (std::abs(c[i] - b[i]) > std::abs(c[widest] - b[widest])) widest = i;
    if (c[widest] == b[widest]) return pixel == color ? 1.0 : -1.0;
    const double a = double(p[widest] - b[widest]) / (c[widest] - b[widest]);
    if (a < -0.01 || a > 1.01) return -1.0;
    for (int i = 0; i < 3; ++i)
        if (std::abs(p[i] - (b[i] + a * (c[i] - b[i]))) > 2.5) return -1.0;
    return std::clamp(a, 0.0, 1.0);
}

// Text drawn in a colour: the pixels of the colour itself or of an antialiased mix of it
// with the background covering more than nothing and at least `atLeast` of the pixel.
inline Ink TextInkOf(const plat::Bitmap& bmp, const plat::Rect& r, plat::ColorRef color, double atLeast = 0.5,
                     plat::ColorRef background = kWhite)
{
    return InkWhere(bmp, r, [=](plat::ColorRef c) {
        const double a = CoverageToward(c, color, background);
        return a > 0.0 && a >= atLeast;
    });
}

// The whole bitmap as a rectangle.
inline plat::Rect Whole(const plat::Bitmap& bmp)
{
    return plat::Rect(0, 0, bmp.Width(), bmp.Height());
}

// How many pixels of the picture differ from the expected picture, a PNG at the path under
// $QUILN_FIXTURES; -1 when there is no such picture or its size differs. With
// QUILN_WRITE_EXPECTED set the picture is written there first (to be looked at once).
inline int DifferenceFromExpected(const plat::Bitmap& got, const std::string& relativePath)
{
    const char* root = std::getenv("QUILN_FIXTURES");
    if (!root) return -1;
    const std::filesystem::path path = std::filesystem::path(root) / relativePath;
    const plat::String name = plat::Utf8ToUtf16(path.string());
    if (std::getenv("QUILN_WRITE_EXPECTED")) {
        std::filesystem::create_directories(path.parent_path());
        if (!got.SavePng(name)) return -1;
    }
    const std::unique_ptr<plat::Bitmap> want = plat::Bitmap::LoadPng(name);
    if (!want || want->GetSize() != got.GetSize()) return -1;
    int differing = 0;
    for (int y = 0; y < got.Height(); ++y)
        for (int x = 0; x < got.Width(); ++x) differing += got.GetPixel(x, y) != want->GetPixel(x, y);
    return differing;
}

} // namespace testsupport
