#include "hsl.h"

#include "css_colour/colour_spaces.h"

#include <algorithm>
#include <cmath>

namespace pigmora {

// The formulas are the CSS colour module's, written once in the CSS colour library; here they
// take shares of 1 instead of percentages.

Hsl hslFromRgb(Rgb colour) {
    const auto [hue, saturation, lightness] =
        css::hslFromSrgb({colour.red / 255.0, colour.green / 255.0, colour.blue / 255.0});
    return Hsl{hue, saturation / 100, lightness / 100};
}

Rgb rgbFromHsl(Hsl colour) {
    const css::Triple srgb =
        css::srgbFromHslShares(colour.hue, std::clamp(colour.saturation, 0.0, 1.0),
                               std::clamp(colour.lightness, 0.0, 1.0));
    const auto channel = [](double v) {
        return ChannelValue(std::lround(std::clamp(v, 0.0, 1.0) * 255));
    };
    return Rgb{channel(srgb[0]), channel(srgb[1]), channel(srgb[2])};
}

} // namespace pigmora
