#pragma once

#include "base/colour_value.h"

namespace pigmora {

// A colour as hue (degrees, 0 up to 360), saturation and lightness (0 to 1), as CSS's hsl().
struct Hsl {
    double hue = 0;
    double saturation = 0;
    double lightness = 0;
};

// Greys have hue 0 and saturation 0.
Hsl hslFromRgb(Rgb colour);
// Each channel rounded to the nearest whole value. For a fixed hue and saturation every channel
// grows with the lightness, never shrinks.
Rgb rgbFromHsl(Hsl colour);

} // namespace pigmora
