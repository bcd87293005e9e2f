#include "luminance.h"

#include "css_colour/colour_spaces.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace pigmora {

namespace {

// The curve is asked for thousands of times per colour change (the nearest-colour search), so
// its 256 values are worked out once.
const std::array<double, 256>& transferTable() {
    static const std::array<double, 256> table = [] {
        std::array<double, 256> t{};
        for (int i = 0; i < 256; ++i)
            t[i] = css::linearFromSrgb(i / 255.0);
        return t;
    }();
    return table;
}

} // namespace

double linearFromSrgb(ChannelValue channel) {
    return transferTable()[channel];
}

ChannelValue srgbFromLinear(double linear) {
    const double c = css::srgbFromLinear(std::clamp(linear, 0.0, 1.0));
    return ChannelValue(std::lround(std::clamp(c, 0.0, 1.0) * 255));
}

double relativeLuminance(Rgb colour) {
    return 0.2126 * linearFromSrgb(colour.red) + 0.7152 * linearFromSrgb(colour.green) +
           0.0722 * linearFromSrgb(colour.blue);
}

} // namespace pigmora
