#pragma once

#include "colour_spaces.h"
#include "css_tokens.h"

#include <QString>
#include <optional>

// The colour functions of CSS: rgb(), rgba(), hsl(), hsla() in their comma and space syntax,
// hwb(), lab(), lch(), oklab(), oklch() and color(), their arguments read and clamped as CSS
// reads them.
namespace pigmora::css {

// A colour as it is written, before it is brought into sRGB.
struct SpecifiedColour {
    enum class Model {
        Rgb,      // gamma-encoded sRGB from 0 to 1 (hexadecimal, names, rgb()): clamped, not mapped
        Hsl,      // hue, saturation and lightness (0 to 100) of sRGB: clamped in sRGB, not mapped
        Hwb,      // hue, whiteness and blackness (0 to 100) of sRGB: likewise
        Absolute, // coordinates in `space`: gamut-mapped into sRGB
    };
    Model model = Model::Rgb;
    ColourSpace space = ColourSpace::Srgb;
    Triple components{};
    double alpha = 1;
};

// Why a text is not read, in German.
struct Refusal {
    QString reason;
    // True for what CSS takes but a fixed colour cannot be (calc(), var(), relative colours
    // ...), false for what is no CSS colour at all.
    bool notReadHere = false;
};

struct FunctionReading {
    std::optional<SpecifiedColour> colour;
    Refusal refusal;
};

// The function that starts `tokens` (a Function token): its arguments up to the closing
// parenthesis, which must end the tokens.
FunctionReading readColourFunction(const TokenList& tokens);

} // namespace pigmora::css
