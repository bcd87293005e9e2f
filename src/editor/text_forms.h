#pragma once

#include "base/colour_value.h"

#include <QString>

// The text forms in which channels and colours are written. All use the digits 0-9 and the
// upper-case letters A-F, without sign or blank.
namespace pigmora {

QString decimalText(ChannelValue v);       // "0", "5", "10", "255"
QString hexText(ChannelValue v);           // "0", "5", "A", "FF"
QString paddedDecimalText(ChannelValue v); // "000", "005", "010", "255"
QString paddedHexText(ChannelValue v);     // "00", "05", "0A", "FF"

// RRGGBB, e.g. red 255, green 128, blue 0 gives "FF8000".
QString sixDigitColourText(Rgb c);
// RRRGGGBBB in decimal, e.g. "255128000".
QString nineDigitColourText(Rgb c);
// Hexadecimal text of a whole colour value without leading zeros. Because red is the low byte,
// it reads blue, green, red: red 255, green 128, blue 0 gives "80FF"; black gives "0".
QString colourValueText(ColourValue v);

// Puts "0" in front of `text` until it is `width` characters long; never shortens it.
// The caller's variable holds the padded text afterwards, and the same text is returned.
QString NullenVoranstellen(QString& text, int width);

// Splits a colour-value text (BBGGRR, leading zeros optional) into its channels. A text longer
// than six characters is taken as it is: the groups come from positions 5-6, 3-4 and 1-2.
Rgb HexZerlegen(const QString& colourValueText);

} // namespace pigmora
