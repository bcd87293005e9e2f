#include "hsl.h"

#include <algorithm>
#include <cmath>

namespace pigmora {

Hsl hslFromRgb(Rgb colour) {
    const double r = colour.red / 255.0;
    const double g = colour.green / 255.0;
    const double b = colour.blue / 255.0;
    const double max = std::max({r, g, b});
    const double min = std::min({r, g, b});
    const double chroma = max - min;
    Hsl hsl;
    hsl.lightness = (max + min) / 2;
    if (chroma == 0)
        return hsl;
    hsl.saturation = chroma / (1 - std::abs(2 * hsl.lightness - 1));
    double sector;
    if (max == r)
        sector = std::fmod((g - b) / chroma + 6, 6);
    else if (max == g)
        sector = (b - r) / chroma + 2;
    else
        sector = (r - g) / chroma + 4;
    hsl.hue = sector * 60;
    return hsl;
}

Rgb rgbFromHsl(Hsl colour) {
    const double l = std::clamp(colour.lightness, 0.0, 1.0);
    const double s = std::clamp(colour.saturation, 0.0, 1.0);
    const double chroma = (1 - std::abs(2 * l - 1)) * s;
    double hue = std::fmod(colour.hue, 360);
    if (hue < 0)
        hue += 360;
    // Each channel as CSS Color 4 writes it: l - a * max(-1, min(k - 3, 9 - k, 1)).
    const auto channel = [&](int n) {
        const double k = std::fmod(n + hue / 30, 12);
        const double v = l - chroma / 2 * std::max(-1.0, std::min({k - 3, 9 - k, 1.0}));
        return ChannelValue(std::lround(std::clamp(v, 0.0, 1.0) * 255));
    };
    return Rgb{channel(0), channel(8), channel(4)};
}

} // namespace pigmora
