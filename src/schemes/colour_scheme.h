#pragma once

#include "base/colour_value.h"

#include <QString>

namespace pigmora {

// A stored colour scheme as a whole: its name, its text colour and its background.
struct ColourScheme {
    QString name;
    Rgb text;
    Rgb background;
    friend bool operator==(const ColourScheme&, const ColourScheme&) = default;
};

} // namespace pigmora
