#pragma once

#include "base/colour_value.h"

#include <QString>

// The APCA lightness contrast (APCA-W3 0.1.9, the constants of its 0.0.98G-4g base), a
// candidate for later accessibility rules and not normative today.
namespace pigmora {

// Lc of `text` on `background`, about -108 to 106: positive for dark text on a light
// background, negative for light text on a dark one, 0 where the two are too close to tell.
double apcaContrast(Rgb text, Rgb background);

// A colour's share of the contrast, for a colour met many times (the rows and columns of a
// grid): its screen luminance, soft-clamped near black, and the powers of it that the contrast
// takes as text and as background.
struct ApcaColour {
    double y = 0;
    double text = 0, background = 0;               // dark text on a light background
    double reverseText = 0, reverseBackground = 0; // light text on a dark background
};
ApcaColour apcaColour(Rgb colour);
// The same Lc as apcaContrast(Rgb, Rgb), from the shares.
double apcaContrast(const ApcaColour& text, const ApcaColour& background);
// Lc rounded to one decimal, with a decimal comma: "63,1", "-68,5".
QString apcaText(double lc);

} // namespace pigmora
