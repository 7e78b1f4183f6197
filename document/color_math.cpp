#include "document/color_math.h"

#include <algorithm>

#include "document/units.h"

HslColor RgbToHsl(int r, int g, int b)
{
    HslColor hsl;
    if (r == g && g == b) {
        hsl.lightness = r * 240 / 255;
        return hsl;
    }
    int max = std::max({r, g, b});
    int min = std::min({r, g, b});
    double m = (max + min) / 2.0;
    hsl.lightness = std::min(TruncToInt(m * 240.0 / 255.0), 240);
    double s = hsl.lightness < 120 ? (m - min) * 240.0 / m : (m - min) * 240.0 / (255.0 - m);
    hsl.saturation = std::clamp(TruncToInt(s), 0, 240);
    int d = max - min;
    int hue;
    if (max == r)
        hue = min == b ? 0 + (g - b) * 40 / d : 200 + (r - b) * 40 / d;
    else if (max == b)
        hue = min == r ? 120 + (b - g) * 40 / d : 160 + (r - min) * 40 / d;
    else
        hue = min == r ? 80 + (b - r) * 40 / d : 40 + (g - r) * 40 / d;
    hsl.hue = std::min(hue, 239);
    return hsl;
}

plat::ColorRef HslToRgb(int h, int s, int l)
{
    double L = l * 1.0625; // 255 / 240
    double c = l < 120 ? L * s / 240.0 : (255.0 - L) * s / 240.0;
    int low = TruncToInt(L - c);
    int high = TruncToInt(2 * L) - low;
    int f = h % 40;
    double step = (high - low) * f * 0.025;
    int up = low + TruncToInt(step + 0.5);
    int down = TruncToInt(high - step + 0.5);
    int red, green, blue;
    switch (h / 40) {
    case 0: red = high; green = up; blue = low; break;
    case 1: green = high; red = down; blue = low; break;
    case 2: green = high; red = low; blue = up; break;
    case 3: blue = high; green = down; red = low; break;
    case 4: blue = high; red = up; green = low; break;
    case 5: red = high; blue = down; green = low; break;
    default: red = green = blue = high; break;
    }
    return plat::Rgb(std::clamp(red, 0, 255), std::clamp(green, 0, 255), std::clamp(blue, 0, 255));
}

plat::ColorRef AdjustLightness(plat::ColorRef color, double factor)
{
    HslColor hsl = RgbToHsl(plat::RValue(color), plat::GValue(color), plat::BValue(color));
    return HslToRgb(hsl.hue, hsl.saturation, TruncToInt(hsl.lightness * factor));
}
