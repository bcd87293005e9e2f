#pragma once

#include <array>

// The colour spaces of CSS and the conversions between them, with the matrices and transfer
// functions of the CSS colour module's sample code, in double precision. sRGB, Display P3,
// A98 RGB, ProPhoto RGB and Rec. 2020 take their gamma-encoded components (in-gamut from 0 to
// 1), their transfer functions extended to values outside that range; Lab and LCH are relative
// to D50, everything else to D65; hues are in degrees.
namespace pigmora::css {

using Triple = std::array<double, 3>;

enum class ColourSpace {
    Srgb,
    SrgbLinear,
    DisplayP3,
    DisplayP3Linear,
    A98Rgb,
    ProphotoRgb,
    Rec2020,
    XyzD50,
    XyzD65,
    Lab,
    Lch,
    Oklab,
    Oklch,
};

// CIE XYZ relative to D65 of a colour in `space`.
Triple xyzD65From(ColourSpace space, const Triple& c);

// The sRGB transfer curve, linear below 0.04045, for one component and extended to values
// outside 0..1 by its mirror image: the only place the program writes it.
double linearFromSrgb(double srgb);
double srgbFromLinear(double linear);
Triple linearFromSrgb(const Triple& srgb);
Triple srgbFromLinear(const Triple& linear);
Triple xyzD65FromLinearSrgb(const Triple& linear);
Triple linearSrgbFromXyzD65(const Triple& xyz);

Triple oklabFromXyzD65(const Triple& xyz);
Triple xyzD65FromOklab(const Triple& oklab);
Triple oklabFromOklch(const Triple& oklch);
// The hue is 0 where the chroma is too small to have one (0.000004 or less).
Triple oklchFromOklab(const Triple& oklab);

// Saturation, lightness, whiteness and blackness from 0 to 100; the sRGB components are not
// clamped.
Triple srgbFromHsl(const Triple& hsl);
// The same with saturation and lightness as shares of 1.
Triple srgbFromHslShares(double hue, double saturation, double lightness);
Triple srgbFromHwb(const Triple& hwb);
// The hue is 0 for a grey.
Triple hslFromSrgb(const Triple& srgb);

} // namespace pigmora::css
