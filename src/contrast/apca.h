#pragma once

#include "base/colour_value.h"

#include <QString>

// The APCA lightness contrast (APCA-W3 0.1.9, the constants of its 0.0.98G-4g base), a
// candidate for later accessibility rules and not normative today.
namespace pigmora {

// Lc of `text` on `background`, about -108 to 106: positive for dark text on a light
// background, negative for light text on a dark one, 0 where the two are too close to tell.
double apcaContrast(Rgb text, Rgb background);
// Lc rounded to one decimal, with a decimal comma: "63,1", "-68,5".
QString apcaText(double lc);

} // namespace pigmora
