#include "css_colour.h"

#include "css_named_colours.h"
#include "shown_text.h"

#include <QStringList>
#include <algorithm>

namespace pigmora {

namespace {

const QString accepted =
    QStringLiteral("Gelesen werden #rgb, #rrggbb, rgb(r, g, b), rgb(r g b) und die Farbnamen von "
                   "CSS.");

CssColourReading refused(const QString& text, const QString& reason) {
    return {std::nullopt,
            QStringLiteral("„%1“ ist keine CSS-Farbe. %2").arg(shownText(text), reason)};
}

int hexDigit(QChar c) {
    if (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
        return c.unicode() - '0';
    const QChar lower = c.toLower();
    if (lower >= QLatin1Char('a') && lower <= QLatin1Char('f'))
        return lower.unicode() - 'a' + 10;
    return -1;
}

std::optional<Rgb> hexColour(QStringView digits) {
    if (digits.size() != 3 && digits.size() != 6)
        return std::nullopt;
    int values[6];
    for (qsizetype i = 0; i < digits.size(); ++i)
        if ((values[i] = hexDigit(digits[i])) < 0)
            return std::nullopt;
    if (digits.size() == 3)
        return Rgb{ChannelValue(values[0] * 17), ChannelValue(values[1] * 17),
                   ChannelValue(values[2] * 17)};
    return Rgb{ChannelValue(values[0] * 16 + values[1]), ChannelValue(values[2] * 16 + values[3]),
               ChannelValue(values[4] * 16 + values[5])};
}

// The three numbers of rgb(...): separated by commas or by blanks, not by both.
CssColourReading functionalColour(const QString& text, QStringView inside) {
    const QString body = inside.trimmed().toString();
    QStringList parts;
    if (body.contains(QLatin1Char(','))) {
        parts = body.split(QLatin1Char(','));
        for (QString& part : parts)
            part = part.trimmed();
    } else {
        parts = body.simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts);
    }
    if (parts.size() != 3)
        return refused(text, QStringLiteral("rgb() braucht drei Werte, durch Kommas oder "
                                            "Leerzeichen getrennt."));
    ChannelValue channels[3];
    for (int i = 0; i < 3; ++i) {
        const QString& part = parts[i];
        const bool digitsOnly = !part.isEmpty() && part.size() <= 9 &&
                                std::all_of(part.begin(), part.end(), [](QChar c) {
                                    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
                                });
        if (!digitsOnly)
            return refused(text, QStringLiteral("„%1“ ist keine ganze Zahl von 0 bis 255.")
                                     .arg(shownText(part, 12)));
        const int value = part.toInt();
        if (value > 255)
            return refused(
                text, QStringLiteral("Der Wert %1 liegt nicht zwischen 0 und 255.").arg(value));
        channels[i] = ChannelValue(value);
    }
    return {Rgb{channels[0], channels[1], channels[2]}, {}};
}

} // namespace

CssColourReading readCssColour(const QString& text) {
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return {std::nullopt, QStringLiteral("Es wurde kein Text gelesen, keine CSS-Farbe.")};
    if (trimmed.startsWith(QLatin1Char('#'))) {
        if (const auto colour = hexColour(QStringView(trimmed).mid(1)))
            return {colour, {}};
        return refused(trimmed, QStringLiteral("Nach „#“ stehen drei oder sechs "
                                               "Hexadezimalziffern (0-9, a-f)."));
    }
    const QString lower = trimmed.toLower();
    if (lower.startsWith(QLatin1String("rgb(")) && lower.endsWith(QLatin1Char(')')))
        return functionalColour(trimmed, QStringView(lower).mid(4, lower.size() - 5));
    if (const auto colour = namedCssColour(lower))
        return {colour, {}};
    return refused(trimmed, accepted);
}

QString cssHexText(Rgb colour) {
    return QStringLiteral("#%1").arg((colour.red << 16) | (colour.green << 8) | colour.blue, 6, 16,
                                     QLatin1Char('0'));
}

} // namespace pigmora
