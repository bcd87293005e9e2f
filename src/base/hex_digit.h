#pragma once

#include "colour_value.h"

#include <QString>

namespace pigmora {

// The value of a hexadecimal digit, either case; -1 for anything else.
constexpr int hexDigit(char16_t c) {
    if (c >= u'0' && c <= u'9')
        return c - u'0';
    if (c >= u'a' && c <= u'f')
        return c - u'a' + 10;
    if (c >= u'A' && c <= u'F')
        return c - u'A' + 10;
    return -1;
}

enum class LetterCase { Lower, Upper };

// Writes "#rrggbb" (or "#RRGGBB") into `out`, seven characters, no terminating zero.
template <typename Char> constexpr void writeHashHex(Rgb colour, LetterCase letters, Char* out) {
    const char* digits = letters == LetterCase::Lower ? "0123456789abcdef" : "0123456789ABCDEF";
    const ChannelValue channels[3] = {colour.red, colour.green, colour.blue};
    out[0] = Char('#');
    for (int i = 0; i < 3; ++i) {
        out[1 + 2 * i] = Char(digits[channels[i] >> 4]);
        out[2 + 2 * i] = Char(digits[channels[i] & 15]);
    }
}

// A colour as web pages write it: "#ff8000", or "#FF8000" with upper-case letters.
QString hashHexText(Rgb colour, LetterCase letters = LetterCase::Lower);

} // namespace pigmora
