// "IDB_RESCOLOR": the hue and saturation field of the colour picker, 176 x 172, hue from 0
// at the left to 239 at the right, saturation from 240 at the top to 0 at the bottom, all at
// the middle luminance. Made as a 24-bit bitmap resource: 16 colours cannot show a spectrum.
#include <algorithm>
#include <cmath>

#include "resources/res_pictures.h"

namespace res_detail {
namespace {

constexpr int kFieldWidth = 176;
constexpr int kFieldHeight = 172;
constexpr int kInfoHeaderSize = 40;

// A component of the colour of hue h (0-240 scale) between the grey g and the pure hue.
double Component(double hue)
{
    hue = std::fmod(hue + 240.0, 240.0);
    if (hue < 40) return hue / 40.0;
    if (hue < 120) return 1.0;
    if (hue < 160) return (160.0 - hue) / 40.0;
    return 0.0;
}

void Put32(std::vector<std::uint8_t>& b, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i) b.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

} // namespace

std::vector<std::uint8_t> EncodeColorField()
{
    const int rowBytes = (kFieldWidth * 3 + 3) / 4 * 4;
    std::vector<std::uint8_t> b;
    b.reserve(kInfoHeaderSize + static_cast<std::size_t>(rowBytes) * kFieldHeight);
    Put32(b, kInfoHeaderSize);
    Put32(b, kFieldWidth);
    Put32(b, kFieldHeight);
    b.push_back(1); b.push_back(0);  // planes
    b.push_back(24); b.push_back(0); // bits a pixel
    for (int i = 0; i < 6; ++i) Put32(b, 0); // no compression, sizes and colour counts
    // Bottom row first.
    for (int row = kFieldHeight - 1; row >= 0; --row) {
        const double saturation = 1.0 - row / static_cast<double>(kFieldHeight);
        for (int x = 0; x < kFieldWidth; ++x) {
            const double hue = x * 239.0 / kFieldWidth;
            // Red peaks at hue 0, green at 80, blue at 160.
            const double rgb[3] = {Component(hue + 80.0), Component(hue), Component(hue - 80.0)};
            for (int c = 2; c >= 0; --c) {
                const double v = 0.5 + (rgb[c] - 0.5) * saturation;
                b.push_back(static_cast<std::uint8_t>(std::clamp(std::lround(v * 255.0), 0L, 255L)));
            }
        }
        for (int pad = kFieldWidth * 3; pad < rowBytes; ++pad) b.push_back(0);
    }
    return b;
}

} // namespace res_detail
