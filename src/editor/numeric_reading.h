#pragma once

#include "base/colour_value.h"

#include <QString>
#include <optional>

namespace pigmora {

// Lenient numeric reading of a text. Blanks, tabs and line feeds are ignored wherever they
// stand. "&H" starts hexadecimal digits; otherwise an optional sign, digits, an optional "."
// with digits and an optional exponent (E, optional sign, digits) are read. Reading stops at the
// first character that cannot continue the number; a text without a number at its start reads
// as 0. Thousands separators and a decimal comma are not recognised ("1,5" reads as 1).
double readNumber(const QString& text);

// Rounds to the nearest whole number (an exact half to the even neighbour). Empty when the
// result lies outside 0..255 or the number is not finite.
std::optional<ChannelValue> toChannel(double number);

// Like toChannel, but never fails: anything below the range (and NaN) becomes 0, anything
// above becomes 255. Used where an overflow would otherwise end the program.
ChannelValue toChannelClamped(double number);

// The shortest decimal form of a number, without a leading blank ("7", "1.5", "-3").
QString shortestDecimalText(double number);

} // namespace pigmora
