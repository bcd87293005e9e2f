#include "portal_answer.h"
#include "base/german_locale.h"

#include <QDBusArgument>
#include <QLocale>
#include <algorithm>
#include <cfloat>
#include <cmath>

namespace pigmora {

namespace {

// Components a few units in the last place outside [0, 1] come from rounding in the portal's
// arithmetic (1 - 1e-17 and the like), not from a wrong colour.
constexpr double slack = 4 * DBL_EPSILON;

bool usable(double v) {
    return std::isfinite(v) && v >= -slack && v <= 1 + slack;
}

ChannelValue channelOf(double v) {
    return ChannelValue(std::lround(std::clamp(v, 0.0, 1.0) * 255));
}

QString componentText(double v) {
    if (std::isnan(v))
        return QStringLiteral("keine Zahl");
    if (std::isinf(v))
        return v > 0 ? QStringLiteral("unendlich") : QStringLiteral("minus unendlich");
    return germanLocale().toString(v, 'g', 6);
}

} // namespace

PortalAnswer portalFailure(const QString& reason) {
    return {PortalAnswer::Kind::Failed,
            {},
            reason + QStringLiteral("\n\nEine Farbe aus einem Bildschirmfoto oder einer anderen "
                                    "Bilddatei wählt „Extras › Farbe aus Bild...“.")};
}

PortalAnswer answerFromComponents(double red, double green, double blue) {
    if (!usable(red) || !usable(green) || !usable(blue))
        return portalFailure(
            QStringLiteral("Das Desktop-Portal hat eine ungültige Farbe geliefert (Rot %1, Grün "
                           "%2, Blau %3; erwartet werden Anteile von 0 bis 1). Es wurde nichts "
                           "geändert.")
                .arg(componentText(red), componentText(green), componentText(blue)));
    return {PortalAnswer::Kind::Colour, {channelOf(red), channelOf(green), channelOf(blue)}, {}};
}

PortalAnswer answerFromResponse(uint code, const QVariantMap& results) {
    if (code == 1)
        return {PortalAnswer::Kind::Cancelled, {}, {}};
    // Code 2 is "other": desktops give it for a failure and for the user's Escape alike.
    if (code == 2)
        return portalFailure(QStringLiteral("Die Arbeitsfläche meldet die Farbwahl als "
                                            "abgebrochen oder fehlgeschlagen. Es wurde nichts "
                                            "geändert."));
    if (code != 0)
        return portalFailure(QStringLiteral("Das Desktop-Portal hat die Farbwahl mit einer "
                                            "unbekannten Antwort beendet (Code %1). Es wurde "
                                            "nichts geändert.")
                                 .arg(code));
    const auto colour = results.constFind(QStringLiteral("color"));
    if (colour == results.constEnd())
        return portalFailure(QStringLiteral("Das Desktop-Portal hat gemeldet, eine Farbe gewählt "
                                            "zu haben, aber keine geliefert. Es wurde nichts "
                                            "geändert."));
    // A structure arrives as it was sent, to be read here; anything but three doubles is not
    // a colour.
    const auto mistyped = [](const QString& what) {
        return portalFailure(QStringLiteral("Das Desktop-Portal hat die Farbe in einer "
                                            "unbekannten Form geliefert (%1 statt dreier "
                                            "Zahlen). Es wurde nichts geändert.")
                                 .arg(what));
    };
    if (colour->metaType() != QMetaType::fromType<QDBusArgument>())
        return mistyped(QString::fromLatin1(colour->typeName()));
    const auto argument = colour->value<QDBusArgument>();
    if (argument.currentSignature() != QLatin1String("(ddd)"))
        return mistyped(argument.currentSignature());
    double red = 0, green = 0, blue = 0;
    argument.beginStructure();
    argument >> red >> green >> blue;
    argument.endStructure();
    return answerFromComponents(red, green, blue);
}

} // namespace pigmora
