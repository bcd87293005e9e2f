#pragma once

#include "base/colour_value.h"
#include "base/hex_digit.h" // "#rrggbb", the first of the forms

#include <QString>
#include <array>

// The text forms in which the program writes an 8-bit sRGB colour, as CSS reads them. Each has
// digits enough that reading it gives back the same colour, for every one of the 16.7 million.
namespace pigmora {

// "rgb(255 128 0)"
QString cssRgbText(Rgb colour);
// "hsl(30.1 100% 50%)": hue in degrees, saturation and lightness in percent.
QString cssHslText(Rgb colour);
// "oklch(73.27% 0.18932 54.22)": lightness in percent, chroma, hue in degrees.
QString cssOklchText(Rgb colour);

// The numbers of those forms, unrounded: hue, saturation, lightness (0 to 100), and Oklab
// lightness (0 to 1), chroma, hue. A grey has the hue 0.
std::array<double, 3> hslNumbers(Rgb colour);
std::array<double, 3> oklchNumbers(Rgb colour);

} // namespace pigmora
