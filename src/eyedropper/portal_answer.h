#pragma once

#include "base/colour_value.h"

#include <QString>
#include <QVariantMap>

namespace pigmora {

// What a colour pick of the desktop portal came to.
struct PortalAnswer {
    enum class Kind { Colour, Cancelled, Failed };
    Kind kind = Kind::Failed;
    Rgb colour;      // for Colour
    QString message; // for Failed: German, says why and where else to turn
    friend bool operator==(const PortalAnswer&, const PortalAnswer&) = default;
};

// A failure, told as the user reads it: `reason` and the way out, "Farbe aus Bild...".
PortalAnswer portalFailure(const QString& reason);

// The colour of three components 0..1 as the portal sends them: each channel is
// round(v * 255). A component that is not finite or lies outside [0, 1] by more than a few
// units in the last place fails the whole colour.
PortalAnswer answerFromComponents(double red, double green, double blue);

// The portal's Response signal: code 0 with `color` (ddd), 1 cancelled, 2 cancelled or failed
// (desktops answer the user's Escape so too; told as such, never as a number), anything else
// failed. A missing or mistyped `color` fails.
PortalAnswer answerFromResponse(uint code, const QVariantMap& results);

} // namespace pigmora
