#pragma once

#include "colour_spaces.h"

// Bringing a colour into sRGB as CSS does for display: the CSS gamut mapping to an RGB
// destination by binary search with local MINDE (OkLCh chroma reduction; deltaEOK, a JND of
// 0.02, epsilon 0.0001).
namespace pigmora::css {

// The colour given by its Oklab coordinates, its linear-light sRGB and its gamma-encoded sRGB
// (each the most direct conversion of the colour as written), in sRGB: gamma-encoded, every
// component from 0 to 1. A colour inside sRGB comes back as `srgb`.
Triple gamutMapToSrgb(const Triple& oklab, const Triple& linearSrgb, const Triple& srgb);

// deltaEOK: the distance of two colours in Oklab.
double deltaEOK(const Triple& oklab1, const Triple& oklab2);

} // namespace pigmora::css
