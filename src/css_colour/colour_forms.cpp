#include "colour_forms.h"

#include "colour_spaces.h"

namespace pigmora {

namespace {

// Decimals of each number written: the fewest with which every 8-bit colour reads back as
// itself, tried over all of them (the tests take a dense sample).
constexpr int hslHueDecimals = 1;
constexpr int percentDecimals = 1;
constexpr int oklchLightnessDecimals = 2; // of the percentage
constexpr int chromaDecimals = 5;
constexpr int oklchHueDecimals = 2;

css::Triple srgbOf(Rgb c) {
    return {c.red / 255.0, c.green / 255.0, c.blue / 255.0};
}

// Fixed decimals without trailing zeros; never "-0".
QString decimalText(double v, int decimals) {
    QString text = QString::number(v, 'f', decimals);
    if (text.contains(QLatin1Char('.'))) {
        while (text.endsWith(QLatin1Char('0')))
            text.chop(1);
        if (text.endsWith(QLatin1Char('.')))
            text.chop(1);
    }
    if (text == QLatin1String("-0"))
        text = QStringLiteral("0");
    return text;
}

// A hue that rounds to 360 is written as 0.
QString hueText(double hue, int decimals) {
    const QString text = decimalText(hue, decimals);
    return text == QLatin1String("360") ? QStringLiteral("0") : text;
}

} // namespace

QString cssRgbText(Rgb colour) {
    return QStringLiteral("rgb(%1 %2 %3)").arg(colour.red).arg(colour.green).arg(colour.blue);
}

std::array<double, 3> hslNumbers(Rgb colour) {
    return css::hslFromSrgb(srgbOf(colour));
}

QString cssHslText(Rgb colour) {
    const auto [h, s, l] = hslNumbers(colour);
    return QStringLiteral("hsl(%1 %2% %3%)")
        .arg(hueText(h, hslHueDecimals), decimalText(s, percentDecimals),
             decimalText(l, percentDecimals));
}

std::array<double, 3> oklchNumbers(Rgb colour) {
    return css::oklchFromOklab(
        css::oklabFromXyzD65(css::xyzD65FromLinearSrgb(css::linearFromSrgb(srgbOf(colour)))));
}

QString cssOklchText(Rgb colour) {
    const auto [l, c, h] = oklchNumbers(colour);
    const QString chroma = decimalText(c, chromaDecimals);
    return QStringLiteral("oklch(%1% %2 %3)")
        .arg(decimalText(l * 100, oklchLightnessDecimals), chroma,
             chroma == QLatin1String("0") ? QStringLiteral("0") : hueText(h, oklchHueDecimals));
}

} // namespace pigmora
