#include "css_colour.h"

#include "base/german_locale.h"
#include "base/hex_digit.h"
#include "base/shown_text.h"
#include "css_functions.h"
#include "css_named_colours.h"
#include "css_tokens.h"
#include "gamut_mapping.h"

#include <QLocale>
#include <algorithm>
#include <cmath>

namespace pigmora {

namespace {

using css::SpecifiedColour;
using css::Triple;

const QString accepted = QStringLiteral(
    "Gelesen werden #rgb, #rrggbb (auch mit Alpha, #rgba und #rrggbbaa), rgb(), hsl(), hwb(), "
    "lab(), lch(), oklab(), oklch(), color() und die 148 Farbnamen von CSS.");

CssColourReading refused(QStringView text, const css::Refusal& refusal) {
    CssColourReading r;
    r.error = (refusal.notReadHere ? QStringLiteral("„%1“ wird nicht gelesen: %2")
                                   : QStringLiteral("„%1“ ist keine CSS-Farbe. %2"))
                  .arg(shownText(text.toString()), refusal.reason);
    return r;
}

bool isCssWhitespace(QChar c) {
    const char16_t u = c.unicode();
    return u == ' ' || u == '\t' || u == '\n' || u == '\r' || u == '\f';
}

// Only what CSS counts as whitespace: a no-break space is part of the text.
QStringView cssTrimmed(QStringView text) {
    qsizetype start = 0, end = text.size();
    while (start < end && isCssWhitespace(text[start]))
        ++start;
    while (end > start && isCssWhitespace(text[end - 1]))
        --end;
    return text.mid(start, end - start);
}

// 3, 4, 6 or 8 digits: red, green, blue and perhaps alpha, one digit or two each.
std::optional<SpecifiedColour> hexColour(QStringView digits) {
    const qsizetype n = digits.size();
    if (n != 3 && n != 4 && n != 6 && n != 8)
        return std::nullopt;
    const int width = n <= 4 ? 1 : 2;
    double values[4] = {0, 0, 0, 255};
    for (qsizetype i = 0; i < n / width; ++i) {
        int v = 0;
        for (int d = 0; d < width; ++d) {
            const int digit = hexDigit(digits[i * width + d].unicode());
            if (digit < 0)
                return std::nullopt;
            v = v * 16 + digit;
        }
        values[i] = width == 1 ? v * 17 : v;
    }
    return SpecifiedColour{SpecifiedColour::Model::Rgb,
                           css::ColourSpace::Srgb,
                           {values[0] / 255, values[1] / 255, values[2] / 255},
                           values[3] / 255};
}

// A name in ASCII lower case (other characters as they are), or nothing when it is longer than
// any keyword.
std::optional<QString> lowerKeyword(QStringView name) {
    if (name.size() > 24)
        return std::nullopt;
    QString lower = name.toString();
    for (QChar& c : lower)
        if (c >= QLatin1Char('A') && c <= QLatin1Char('Z'))
            c = QChar(c.unicode() - 'A' + 'a');
    return lower;
}

CssColourReading trailing(QStringView text, const css::TokenList& tokens) {
    const QStringView rest = text.mid(tokens[1].text.data() - text.data());
    return refused(
        text,
        {QStringLiteral("Nach der Farbe steht noch „%1“.").arg(shownText(rest.toString(), 20))});
}

CssColourReading keywordColour(QStringView text, const css::TokenList& tokens) {
    const auto lower = lowerKeyword(tokens[0].name);
    const auto named = lower ? namedCssColour(*lower) : std::nullopt;
    if (tokens.count > 1 && tokens[1].type == css::TokenType::OpenParen)
        return refused(text, {QStringLiteral("Zwischen „%1“ und „(“ darf kein Leerzeichen stehen.")
                                  .arg(shownText(tokens[0].name.toString(), 20))});
    if (named && tokens.count > 1)
        return trailing(text, tokens);
    if (tokens.count > 1 || !lower)
        return refused(text, {accepted});
    if (named) {
        CssColourReading r;
        r.colour = *named;
        r.srgb = {named->red / 255.0, named->green / 255.0, named->blue / 255.0};
        return r;
    }
    if (*lower == QLatin1String("transparent"))
        return refused(text,
                       {QStringLiteral("Es ist völlig durchsichtig und hat keine Farbe."), true});
    if (*lower == QLatin1String("currentcolor"))
        return refused(text, {QStringLiteral("Es steht für die Textfarbe eines Elements, die nur "
                                             "das Stylesheet kennt."),
                              true});
    if (isSystemColourName(*lower))
        return refused(text, {QStringLiteral("Es ist eine Systemfarbe, die vom Betriebssystem "
                                             "und vom Browser abhängt."),
                              true});
    return refused(text, {accepted});
}

// Halves up. A value within a billionth of a half counts as the half: the decimals of a text
// such as hwb(355 31.6% 10%) put a channel exactly half-way (229.5), while its binary arithmetic
// may land a hair below.
ChannelValue channel8(double v) {
    return channelFromShare(v);
}

bool finite(const Triple& t) {
    return std::all_of(t.begin(), t.end(), [](double v) { return std::isfinite(v); });
}

// Outside sRGB by more than rounding to 8 bits hides: a channel rounds below 0 or above 255.
bool outsideAt8Bits(const Triple& srgb) {
    return std::any_of(srgb.begin(), srgb.end(),
                       [](double v) { return !(v * 255 >= -0.5 && v * 255 < 255.5); });
}

CssColourReading tooLarge(QStringView text) {
    return refused(text, {QStringLiteral("Ihre Werte sind zu groß, um eine Farbe zu ergeben.")});
}

CssColourReading fromSpecified(QStringView text, const SpecifiedColour& s) {
    using Model = SpecifiedColour::Model;
    using css::ColourSpace;
    CssColourReading r;
    Triple srgb = s.components;
    if (s.model == Model::Hsl) {
        srgb = css::srgbFromHsl(s.components);
    } else if (s.model == Model::Hwb) {
        srgb = css::srgbFromHwb(s.components);
    } else if (s.model == Model::Absolute) {
        Triple oklab, linear;
        if (s.space == ColourSpace::Oklab || s.space == ColourSpace::Oklch) {
            oklab =
                s.space == ColourSpace::Oklab ? s.components : css::oklabFromOklch(s.components);
            linear = css::linearSrgbFromXyzD65(css::xyzD65FromOklab(oklab));
            srgb = css::srgbFromLinear(linear);
        } else {
            if (s.space == ColourSpace::Srgb) {
                linear = css::linearFromSrgb(s.components);
            } else if (s.space == ColourSpace::SrgbLinear) {
                linear = s.components;
                srgb = css::srgbFromLinear(linear);
            } else {
                linear = css::linearSrgbFromXyzD65(css::xyzD65From(s.space, s.components));
                srgb = css::srgbFromLinear(linear);
            }
            oklab = css::oklabFromXyzD65(css::xyzD65FromLinearSrgb(linear));
        }
        // Values too large for the conversion are refused, never clamped unmapped.
        if (!finite(oklab) || !finite(linear))
            return tooLarge(text);
        r.mapped = outsideAt8Bits(srgb);
        srgb = css::gamutMapToSrgb(oklab, linear, srgb);
    }
    if (!finite(srgb))
        return tooLarge(text);
    for (std::size_t i = 0; i < 3; ++i)
        r.srgb[i] = std::clamp(srgb[i], 0.0, 1.0);
    r.colour = Rgb{channel8(r.srgb[0]), channel8(r.srgb[1]), channel8(r.srgb[2])};
    r.alpha = s.alpha;
    return r;
}

} // namespace

ChannelValue channelFromShare(double share) {
    return ChannelValue(std::floor(std::clamp(share, 0.0, 1.0) * 255 + 0.5 + 1e-9));
}

CssColourReading readCssColour(QStringView text) {
    const QStringView trimmed = cssTrimmed(text);
    if (trimmed.isEmpty()) {
        CssColourReading r;
        r.error = QStringLiteral("Es wurde kein Text gelesen, keine CSS-Farbe.");
        return r;
    }
    const css::TokenList tokens(trimmed);
    if (tokens.count == 0)
        return refused(trimmed, {accepted});
    const css::Token& first = tokens[0];
    switch (first.type) {
    case css::TokenType::Hash:
        if (tokens.count > 1)
            return trailing(trimmed, tokens);
        if (const auto colour = hexColour(first.name))
            return fromSpecified(trimmed, *colour);
        return refused(trimmed, {QStringLiteral("Nach „#“ stehen 3, 4, 6 oder 8 "
                                                "Hexadezimalziffern (0-9, a-f).")});
    case css::TokenType::Ident:
        return keywordColour(trimmed, tokens);
    case css::TokenType::Function: {
        const css::FunctionReading reading = css::readColourFunction(tokens);
        if (!reading.colour)
            return refused(trimmed, reading.refusal);
        return fromSpecified(trimmed, *reading.colour);
    }
    default:
        return refused(trimmed, {accepted});
    }
}

CssColourReading readCssColour(const QString& text) {
    return readCssColour(QStringView(text));
}

Rgb compositeOver(const CssColourReading& reading, Rgb background) {
    const double a = reading.alpha;
    const auto over = [&](std::size_t i, ChannelValue below) {
        return channel8(a * reading.srgb[i] + (1 - a) * (below / 255.0));
    };
    return {over(0, background.red), over(1, background.green), over(2, background.blue)};
}

TextOverBackground textOverBackground(const CssColourReading& reading, const QString& written,
                                      Rgb background) {
    const Rgb colour = compositeOver(reading, background);
    return {colour, notOpaqueText(written, reading.alpha) +
                        QStringLiteral(" Über dem Hintergrund %1 ergibt sich die Textfarbe %2.")
                            .arg(hashHexText(background), hashHexText(colour))};
}

QString notOpaqueText(const QString& text, double alpha) {
    // Three digits, or as many more as it takes not to show an alpha below 1 as "1".
    const QLocale& german = germanLocale();
    QString shown = german.toString(alpha, 'g', 3);
    for (int digits = 4; alpha < 1 && shown == QLatin1String("1") && digits <= 17; ++digits)
        shown = german.toString(alpha, 'g', digits);
    return QStringLiteral("„%1“ ist nicht deckend (Alpha %2).")
        .arg(shownText(text.trimmed()), shown);
}

QString mappedText(const QString& text, Rgb result) {
    return QStringLiteral("„%1“ liegt außerhalb von sRGB, angenähert: %2.")
        .arg(shownText(text.trimmed()), hashHexText(result));
}

} // namespace pigmora
