// The CSS colour reader on any text.
//
// A reading is a colour or a message, never both; alpha and the unrounded channels lie in 0..1;
// a colour read back from each of the text forms the program writes ("#rrggbb", rgb(), hsl(),
// oklch()) is the same colour, inside sRGB; laid over a background at full opacity it stays
// itself; a text that is "#" and six hexadecimal digits is always a colour.

#include "css_colour/css_colour.h"
#include "fuzz_support.h"

#include <QString>
#include <algorithm>
#include <cstdint>

using namespace pigmora;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    const CssColourReading read = readCssColour(text);
    FUZZ_CHECK(read.colour.has_value() == read.error.isEmpty(), "input %s",
               qPrintable(text.left(80)));
    if (read.colour) {
        FUZZ_CHECK(read.alpha >= 0 && read.alpha <= 1, "alpha %g", read.alpha);
        for (const double v : read.srgb)
            FUZZ_CHECK(v >= 0 && v <= 1, "channel %g of %s", v, qPrintable(text.left(80)));
        const Rgb colour = *read.colour;
        for (const QString& form :
             {hashHexText(colour), cssRgbText(colour), cssHslText(colour), cssOklchText(colour)}) {
            const CssColourReading again = readCssColour(form);
            FUZZ_CHECK(again.colour && *again.colour == colour && !again.mapped, "%s from %s",
                       qPrintable(form), qPrintable(text.left(80)));
        }
        if (read.alpha == 1)
            FUZZ_CHECK(compositeOver(read, Rgb{1, 2, 3}) == colour, "%s",
                       qPrintable(text.left(80)));
    } else {
        FUZZ_CHECK(!read.mapped, "%s", qPrintable(text.left(80)));
        FUZZ_CHECK(read.error.size() < 400, "message of %lld characters",
                   static_cast<long long>(read.error.size()));
    }
    // Only CSS whitespace counts as blank around a colour (a vertical tab does not).
    const auto blank = [](QChar c) {
        return c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\n') ||
               c == QLatin1Char('\r') || c == QLatin1Char('\f');
    };
    qsizetype start = 0, end = text.size();
    while (start < end && blank(text[start]))
        ++start;
    while (end > start && blank(text[end - 1]))
        --end;
    const QString trimmed = text.mid(start, end - start);
    if (trimmed.size() == 7 && trimmed[0] == QLatin1Char('#')) {
        const auto isHex = [](QChar c) {
            return (c >= QLatin1Char('0') && c <= QLatin1Char('9')) ||
                   (c >= QLatin1Char('a') && c <= QLatin1Char('f')) ||
                   (c >= QLatin1Char('A') && c <= QLatin1Char('F'));
        };
        const QString digits = trimmed.mid(1);
        if (std::all_of(digits.begin(), digits.end(), isHex))
            FUZZ_CHECK(read.colour, "%s refused", qPrintable(trimmed));
    }
    return 0;
}
