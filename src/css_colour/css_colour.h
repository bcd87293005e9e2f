#pragma once

#include "editor/colour_value.h"

#include <QString>
#include <optional>

// Colours as CSS writes them.
namespace pigmora {

struct CssColourReading {
    std::optional<Rgb> colour;
    // Why the text is no colour, in German, naming what was read (shortened when long); empty
    // when a colour was read.
    QString error;
};

// Reads a CSS colour: "#rgb", "#rrggbb", "rgb(r, g, b)", "rgb(r g b)" with whole numbers from
// 0 to 255, or one of the 148 named colours of CSS. Letters in any case; blanks, tabs and line
// breaks around the colour (and around the numbers inside rgb()) are ignored.
CssColourReading readCssColour(const QString& text);

// "#rrggbb" in lower case, as CSS writes it.
QString cssHexText(Rgb colour);

} // namespace pigmora
