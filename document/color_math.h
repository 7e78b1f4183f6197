// RGB <-> HSL on the 0-240 scale, used to shade colours.
#pragma once
#include "platform/base/geometry.h"

struct HslColor {
    int hue = 0;
    int saturation = 0;
    int lightness = 0;
    bool operator==(const HslColor&) const = default;
};

HslColor RgbToHsl(int red, int green, int blue);
plat::ColorRef HslToRgb(int hue, int saturation, int lightness);
// The colour with its lightness multiplied by the factor (not capped; the components
// are clamped by HslToRgb).
plat::ColorRef AdjustLightness(plat::ColorRef color, double factor);
