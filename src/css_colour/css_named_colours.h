#pragma once

#include "base/colour_value.h"

#include <QStringView>
#include <optional>

namespace pigmora {

// The 148 named colours of CSS (CSS Color 4), "aliceblue" to "yellowgreen"; the name in lower
// case.
std::optional<Rgb> namedCssColour(QStringView lowerCaseName);
// How many there are (for the tests).
int namedCssColourCount();
// The system colours of CSS ("canvas", "buttontext", ... and the deprecated "threedface" and
// their kind), in lower case.
bool isSystemColourName(QStringView lowerCaseName);

} // namespace pigmora
