// Test pictures made with ImageMagick at test time, and ImageMagick's own reading of a
// picture as raw pixels, to compare the codecs with.
#pragma once
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/stat.h>
#include <vector>

#include "media/raster_image.h"
#include "platform/base/system.h"
#include "tests/support/test_support.h"

namespace magick {

using testsupport::Bytes;

// The folder of this process's pictures, inside its private temporary folder.
inline std::string Dir()
{
    static const std::string dir = [] {
        std::string d = plat::TempDirUtf8() + "media/";
        ::mkdir(d.c_str(), 0700);
        return d;
    }();
    return dir;
}

// Runs a command line; its standard output, or nothing with a failure recorded.
inline bool Run(const std::string& command, Bytes* out = nullptr)
{
    std::FILE* pipe = ::popen((command + " 2>/dev/null").c_str(), "r");
    if (!pipe) {
        ADD_FAILURE() << "cannot run " << command;
        return false;
    }
    Bytes data;
    std::uint8_t buffer[65536];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) data.insert(data.end(), buffer, buffer + n);
    int status = ::pclose(pipe);
    if (status != 0) {
        ADD_FAILURE() << "failed (" << status << "): " << command;
        return false;
    }
    if (out) *out = std::move(data);
    return true;
}

inline std::string Convert(const std::string& args) { return std::string(QUILN_CONVERT) + " " + args; }

// A path as one shell word.
inline std::string Quote(const std::string& path) { return "'" + path + "'"; }

// The picture a recipe makes, made once per process. In the recipe {base} stands for a
// 37 × 23 colour picture (odd sizes, so that rows carry padding), {alpha} for the same
// with an alpha ramp, and {out} for the file to write.
inline std::string Make(const std::string& name, std::string recipe)
{
    const std::string out = Dir() + name;
    struct stat st{};
    if (::stat(out.c_str(), &st) == 0) return out;
    auto replace = [&](const std::string& key, const std::string& value) {
        for (size_t at; (at = recipe.find(key)) != std::string::npos;) recipe.replace(at, key.size(), value);
    };
    if (recipe.find("{base}") != std::string::npos || recipe.find("{alpha}") != std::string::npos) {
        std::string base = Dir() + "base.png";
        if (::stat(base.c_str(), &st) != 0)
            Run(Convert("-seed 7 -size 37x23 plasma:fractal -depth 8 PNG24:" + Quote(base)));
        replace("{base}", Quote(base));
    }
    if (recipe.find("{alpha}") != std::string::npos) {
        std::string alpha = Dir() + "alpha.png";
        if (::stat(alpha.c_str(), &st) != 0)
            Run(Convert(Quote(Dir() + "base.png") + " '(' -size 23x37 gradient:white-black -rotate 90 ')' -alpha off "
                        "-compose copy_opacity -composite PNG32:" + Quote(alpha)));
        replace("{alpha}", Quote(alpha));
    }
    replace("{out}", Quote(out));
    Run(Convert(recipe));
    return out;
}

// ImageMagick's pixels of a file, top row first, 8 bits a sample; map is "rgb", "rgba",
// "gray" or "cmyk".
inline Bytes Pixels(const std::string& file, const std::string& map)
{
    Bytes out;
    Run(Convert(Quote(file) + " -depth 8 " + map + ":-"), &out);
    return out;
}

// The same at 16 bits a sample, most significant byte first.
inline Bytes Pixels16(const std::string& file, const std::string& map)
{
    Bytes out;
    Run(Convert(Quote(file) + " -depth 16 -endian MSB " + map + ":-"), &out);
    return out;
}

inline Bytes HighBytes(const Bytes& samples16)
{
    Bytes out;
    for (size_t i = 0; i + 1 < samples16.size(); i += 2) out.push_back(samples16[i]);
    return out;
}

inline std::string Identify(const std::string& format, const std::string& file)
{
    Bytes out;
    Run(std::string(QUILN_IDENTIFY) + " -format '" + format + "' " + Quote(file), &out);
    return std::string(out.begin(), out.end());
}

using testsupport::ReadFile;
using testsupport::WriteFile;

// Our pixels in the same order: top row first, red, green, blue and, when asked, alpha
// (from the alpha plane, the palette's alpha bytes or the transparent index; else 255).
inline Bytes PixelsOf(const CRasterImage& image, bool withAlpha)
{
    Bytes out;
    const int w = image.Width(), h = image.Height();
    for (int r = 0; r < h; ++r) {
        const int y = h - 1 - r;
        for (int x = 0; x < w; ++x) {
            ColorQuad c = image.PixelColorAt(x, y);
            out.insert(out.end(), {c.red, c.green, c.blue});
            if (!withAlpha) continue;
            std::uint8_t a = 255;
            if (image.HasAlpha()) a = image.AlphaAt(x, y);
            else if (image.PaletteAlpha()) a = c.reserved;
            else if (image.TransparentIndex() >= 0 && image.BitCount() <= 8 &&
                     image.PixelIndexAt(x, y) == image.TransparentIndex())
                a = 0;
            out.push_back(a);
        }
    }
    return out;
}

// The largest difference between two equally long sample runs (256 when the lengths differ).
inline int MaxDifference(const Bytes& a, const Bytes& b)
{
    if (a.size() != b.size()) return 256;
    int worst = 0;
    for (size_t i = 0; i < a.size(); ++i) worst = std::max(worst, std::abs(int(a[i]) - int(b[i])));
    return worst;
}

} // namespace magick
