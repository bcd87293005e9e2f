#pragma once

#include "base/colour_value.h"
#include "colour_forms.h"

#include <QString>
#include <QStringView>
#include <array>
#include <optional>

// Colours as CSS writes them.
namespace pigmora {

struct CssColourReading {
    // The 8-bit sRGB colour: each channel clamped to 0..1 (or the colour gamut-mapped into
    // sRGB) and rounded, halves up. Alpha does not enter it.
    std::optional<Rgb> colour;
    double alpha = 1; // 0..1; 1 where the text gives none
    // The colour lay outside sRGB (by more than the rounding to 8 bits could show) and was
    // gamut-mapped into it.
    bool mapped = false;
    // The channels of `colour` before rounding, 0..1.
    std::array<double, 3> srgb{};
    // Why the text is no colour, in German, naming what was read (shortened when long); empty
    // when a colour was read.
    QString error;
};

// Reads a CSS colour as a browser does (CSS Color 4): hexadecimal with 3, 4, 6 or 8 digits,
// rgb()/rgba() and hsl()/hsla() with commas or blanks, hwb(), lab(), lch(), oklab(), oklch(),
// color() in srgb, srgb-linear, display-p3, display-p3-linear, a98-rgb, prophoto-rgb, rec2020,
// xyz, xyz-d50 and xyz-d65, and the 148 named colours. Names and units in any ASCII case; CSS
// whitespace and comments around and between the parts. rgb(), hsl() and hwb() values out of
// range are clamped; every other colour outside sRGB is gamut-mapped into it.
CssColourReading readCssColour(QStringView text);
// A share of 0..1 (clamped) as the 8-bit channel the reader gives it: halves up, and a value
// within a billionth of a half counts as the half.
ChannelValue channelFromShare(double share);
CssColourReading readCssColour(const QString& text);

// The colour laid over an opaque background as browsers do, channel by channel on the
// unrounded sRGB values (alpha times the colour, plus 1 - alpha times the background), then
// rounded. `reading` must hold a colour.
Rgb compositeOver(const CssColourReading& reading, Rgb background);

// A text colour with alpha, as `written`, laid over an opaque background as a browser shows
// the text, and the sentence that tells it: "„rgb(0 0 0 / 50%)“ ist nicht deckend (Alpha 0,5).
// Über dem Hintergrund #ffffff ergibt sich die Textfarbe #808080."
struct TextOverBackground {
    Rgb colour;
    QString note;
};
TextOverBackground textOverBackground(const CssColourReading& reading, const QString& written,
                                      Rgb background);

// "„rgb(0 0 0 / 50%)“ ist nicht deckend (Alpha 0,5)." for where only opaque colours are taken.
QString notOpaqueText(const QString& text, double alpha);
// "„oklch(70% 0.4 30)“ liegt außerhalb von sRGB, angenähert: #ff3d2a."
QString mappedText(const QString& text, Rgb result);

} // namespace pigmora
