// The text forms of channels and colours, NullenVoranstellen and HexZerlegen.
//
// The first three input bytes are a colour: every text form of it must have its length, use
// only its digits and read back to the same channels, and HexZerlegen must split the colour-value
// text into the same colour. The fourth byte is a width and the rest a text for
// NullenVoranstellen and HexZerlegen, which are checked against Qt's own reading of hexadecimal
// digits.

#include "editor/text_forms.h"
#include "fuzz_support.h"

#include <QString>
#include <cstdint>

using namespace pigmora;

namespace {

bool onlyDigits(const QString& text, const QString& digits) {
    for (QChar c : text)
        if (!digits.contains(c))
            return false;
    return true;
}

const QString decimalDigits = QStringLiteral("0123456789");
const QString hexDigits = QStringLiteral("0123456789ABCDEF");

void checkChannelForms(ChannelValue v) {
    const QString decimal = decimalText(v);
    const QString hex = hexText(v);
    const QString padded = paddedDecimalText(v);
    const QString paddedHex = paddedHexText(v);
    FUZZ_CHECK(onlyDigits(decimal, decimalDigits) && decimal.toInt() == v &&
                   (decimal.size() == 1 || decimal[0] != QLatin1Char('0')),
               "%d as %s", int(v), qPrintable(decimal));
    FUZZ_CHECK(onlyDigits(hex, hexDigits) && hex.toInt(nullptr, 16) == v &&
                   (hex.size() == 1 || hex[0] != QLatin1Char('0')),
               "%d as %s", int(v), qPrintable(hex));
    FUZZ_CHECK(padded.size() == 3 && onlyDigits(padded, decimalDigits) && padded.toInt() == v,
               "%d padded as %s", int(v), qPrintable(padded));
    FUZZ_CHECK(paddedHex.size() == 2 && onlyDigits(paddedHex, hexDigits) &&
                   paddedHex.toInt(nullptr, 16) == v,
               "%d padded as %s", int(v), qPrintable(paddedHex));
}

void checkColourForms(Rgb c) {
    for (ChannelValue v : {c.red, c.green, c.blue})
        checkChannelForms(v);
    const QString six = sixDigitColourText(c);
    FUZZ_CHECK(six.size() == 6 && onlyDigits(six, hexDigits) &&
                   six.toUInt(nullptr, 16) == (uint(c.red) << 16 | uint(c.green) << 8 | c.blue),
               "RRGGBB %s", qPrintable(six));
    const QString nine = nineDigitColourText(c);
    FUZZ_CHECK(nine.size() == 9 && onlyDigits(nine, decimalDigits) &&
                   nine.mid(0, 3).toInt() == c.red && nine.mid(3, 3).toInt() == c.green &&
                   nine.mid(6, 3).toInt() == c.blue,
               "RRRGGGBBB %s", qPrintable(nine));
    const ColourValue packed = packColour(c);
    const QString value = colourValueText(packed);
    FUZZ_CHECK(onlyDigits(value, hexDigits) && value.toUInt(nullptr, 16) == packed &&
                   (value.size() == 1 || value[0] != QLatin1Char('0')),
               "colour value %u as %s", packed, qPrintable(value));
    FUZZ_CHECK(HexZerlegen(value) == c, "%s splits into other channels", qPrintable(value));
}

void checkPadding(const QString& text, int width) {
    QString variable = text;
    const QString padded = NullenVoranstellen(variable, width);
    const qsizetype added = padded.size() - text.size();
    FUZZ_CHECK(variable == padded, "the caller's text is not the padded one");
    FUZZ_CHECK(padded.size() == std::max<qsizetype>(text.size(), width) && padded.endsWith(text) &&
                   padded.first(added) == QString(added, QLatin1Char('0')),
               "\"%s\" padded to %d as \"%s\"", qPrintable(text), width, qPrintable(padded));
}

void checkSplit(const QString& text) {
    const Rgb c = HexZerlegen(text); // must not fail on anything
    bool hex = !text.isEmpty();
    for (QChar ch : text)
        hex = hex && QStringLiteral("0123456789ABCDEFabcdef").contains(ch);
    if (!hex)
        return;
    if (text.size() <= 6) {
        FUZZ_CHECK(packColour(c) == text.toUInt(nullptr, 16), "%s split into %d %d %d",
                   qPrintable(text), c.red, c.green, c.blue);
    } else {
        // A longer text is not cut to six digits: the groups come from positions 5-6, 3-4, 1-2.
        FUZZ_CHECK(c.red == text.mid(4, 2).toUInt(nullptr, 16) &&
                       c.green == text.mid(2, 2).toUInt(nullptr, 16) &&
                       c.blue == text.mid(0, 2).toUInt(nullptr, 16),
                   "%s split into %d %d %d", qPrintable(text), c.red, c.green, c.blue);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 4)
        return 0;
    checkColourForms(Rgb{data[0], data[1], data[2]});
    const QString text =
        QString::fromUtf8(reinterpret_cast<const char*>(data + 4), qsizetype(size - 4));
    checkPadding(text, data[3] % 64);
    checkSplit(text);
    return 0;
}
