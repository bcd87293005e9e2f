#include "gamut_mapping.h"

#include <algorithm>
#include <cmath>

namespace pigmora::css {

namespace {

constexpr double jnd = 0.02;
constexpr double epsilon = 0.0001;

bool inGamut(const Triple& c) {
    return std::all_of(c.begin(), c.end(), [](double v) { return v >= 0 && v <= 1; });
}

Triple clamped(const Triple& c) {
    return {std::clamp(c[0], 0.0, 1.0), std::clamp(c[1], 0.0, 1.0), std::clamp(c[2], 0.0, 1.0)};
}

Triple oklabOfLinear(const Triple& linear) {
    return oklabFromXyzD65(xyzD65FromLinearSrgb(linear));
}

// Gamma-encoded; a component clipped to 0 or 1 stays exactly that (the encoding of 1 in double
// precision is a hair below it).
Triple encodedClipped(const Triple& clipped) {
    Triple srgb = srgbFromLinear(clipped);
    for (std::size_t i = 0; i < 3; ++i)
        if (clipped[i] == 0 || clipped[i] == 1)
            srgb[i] = clipped[i];
    return srgb;
}

} // namespace

double deltaEOK(const Triple& oklab1, const Triple& oklab2) {
    const double dl = oklab1[0] - oklab2[0];
    const double da = oklab1[1] - oklab2[1];
    const double db = oklab1[2] - oklab2[2];
    return std::sqrt(dl * dl + da * da + db * db);
}

// The sRGB transfer function keeps 0 and 1 and is monotonic, so a colour is inside sRGB, and
// clips to the same colour, in its linear-light and in its gamma-encoded form alike: the search
// works on linear light and encodes only its result.
Triple gamutMapToSrgb(const Triple& oklab, const Triple& linearSrgb, const Triple& srgb) {
    if (oklab[0] >= 1)
        return {1, 1, 1};
    if (oklab[0] <= 0)
        return {0, 0, 0};
    if (inGamut(linearSrgb))
        return clamped(srgb); // keeps the colour, only rounding noise of the transfer goes

    const double lightness = oklab[0];
    const double hue = std::atan2(oklab[2], oklab[1]);
    Triple current = oklab;
    Triple linear = linearSrgb;
    Triple clipped = clamped(linear);
    double e = deltaEOK(oklabOfLinear(clipped), current);
    if (e < jnd)
        return clamped(srgb); // the same colour as `clipped`, without a detour through light

    double min = 0;
    double max = std::hypot(oklab[1], oklab[2]);
    bool minInGamut = true;
    while (max - min > epsilon) {
        const double chroma = (min + max) / 2;
        current = {lightness, chroma * std::cos(hue), chroma * std::sin(hue)};
        linear = linearSrgbFromXyzD65(xyzD65FromOklab(current));
        if (minInGamut && inGamut(linear)) {
            min = chroma;
            continue;
        }
        clipped = clamped(linear);
        e = deltaEOK(oklabOfLinear(clipped), current);
        if (e < jnd) {
            if (jnd - e < epsilon)
                return encodedClipped(clipped);
            minInGamut = false;
            min = chroma;
        } else {
            max = chroma;
        }
    }
    return encodedClipped(clipped);
}

} // namespace pigmora::css
