#include "text_forms.h"

#include "numeric_reading.h"

namespace pigmora {

QString decimalText(ChannelValue v) {
    return QString::number(v);
}

QString hexText(ChannelValue v) {
    return QString::number(v, 16).toUpper();
}

QString paddedDecimalText(ChannelValue v) {
    QString text = decimalText(v);
    return NullenVoranstellen(text, 3);
}

QString paddedHexText(ChannelValue v) {
    QString text = hexText(v);
    return NullenVoranstellen(text, 2);
}

QString sixDigitColourText(Rgb c) {
    return paddedHexText(c.red) + paddedHexText(c.green) + paddedHexText(c.blue);
}

QString nineDigitColourText(Rgb c) {
    return paddedDecimalText(c.red) + paddedDecimalText(c.green) + paddedDecimalText(c.blue);
}

QString colourValueText(ColourValue v) {
    return QString::number(v, 16).toUpper();
}

QString NullenVoranstellen(QString& text, int width) {
    if (text.size() < width)
        text.prepend(QString(width - text.size(), QLatin1Char('0')));
    return text;
}

Rgb HexZerlegen(const QString& colourValueText) {
    QString text = colourValueText;
    NullenVoranstellen(text, 6);
    // BBGGRR -> RRGGBB
    const QString rgb = text.mid(4, 2) + text.mid(2, 2) + text.mid(0, 2);
    const auto group = [&rgb](int pos) {
        // Two hexadecimal digits read as 0..255, so this cannot leave the channel range.
        return toChannelClamped(readNumber(QStringLiteral("&H") + rgb.mid(pos, 2)));
    };
    return Rgb{group(0), group(2), group(4)};
}

} // namespace pigmora
