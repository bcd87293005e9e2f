#pragma once

#include "base/colour_value.h"

namespace pigmora {

// A channel's share of light, 0 to 1: the sRGB transfer curve (linear below 0.04045).
double linearFromSrgb(ChannelValue channel);
// The channel that shows a linear light share, clamped to 0..1 and rounded.
ChannelValue srgbFromLinear(double linear);

// Relative luminance as the accessibility rules define it, 0 (black) to 1 (white).
double relativeLuminance(Rgb colour);

} // namespace pigmora
