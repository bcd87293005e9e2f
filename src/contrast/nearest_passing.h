#pragma once

#include "base/colour_value.h"

#include <optional>

namespace pigmora {

// A colour offered in place of another, with its contrast ratio.
struct Suggestion {
    Rgb colour;
    double ratio = 1;
};

// The nearest colours that reach a contrast ratio: one lighter, one darker, where they exist.
struct NearestPassing {
    bool alreadyReached = false; // the colour itself reaches it; nothing is offered then
    std::optional<Suggestion> lighter;
    std::optional<Suggestion> darker;
};

// Looks along the colours of the same hue and saturation (HSL) as `edited`, from black through
// `edited` to white, for the nearest ones on either side whose ratio against `other` reaches
// `required`. A colour offered really reaches it as the 8-bit colour it is.
NearestPassing nearestPassing(Rgb edited, Rgb other, double required);

} // namespace pigmora
