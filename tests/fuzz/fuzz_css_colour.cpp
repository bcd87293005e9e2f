// The CSS colour reader on any text.
//
// A reading is a colour or a message, never both; a colour read back from its own "#rrggbb"
// text is the same colour; a text that is "#" and six hexadecimal digits is always a colour.

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
        const CssColourReading again = readCssColour(cssHexText(*read.colour));
        FUZZ_CHECK(again.colour && *again.colour == *read.colour, "%s", qPrintable(text.left(80)));
    } else {
        FUZZ_CHECK(read.error.size() < 400, "message of %lld characters",
                   static_cast<long long>(read.error.size()));
    }
    const QString trimmed = text.trimmed();
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
