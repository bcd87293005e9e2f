// The design-token export: schemes as groups of the W3C Design Tokens Community Group's format
// (2025.10), with the values of its Color module.

#include "base/hex_digit.h"
#include "export_writers.h"

#include <QStringList>
#include <array>

namespace pigmora {

namespace {

const QString schemesGroup = QStringLiteral("farbschema");
constexpr QByteArrayView ourExtension("org.pigmora");

// c / 255 with four decimals, which give back every 8-bit channel when multiplied by 255 and
// rounded: 0, 0.0039, ..., 0.502, ..., 1.
const std::array<QByteArray, 256>& componentTexts() {
    static const std::array<QByteArray, 256> texts = [] {
        std::array<QByteArray, 256> made;
        for (int c = 0; c < 256; ++c) {
            QByteArray text = QByteArray::number(c / 255.0, 'f', 4);
            while (text.endsWith('0'))
                text.chop(1);
            if (text.endsWith('.'))
                text.chop(1);
            made[size_t(c)] = text;
        }
        return made;
    }();
    return texts;
}

} // namespace

void appendTokenColourValue(QByteArray& out, Rgb c) {
    const auto& t = componentTexts();
    out += "{\"colorSpace\": \"srgb\", \"components\": [";
    out += t[c.red];
    out += ", ";
    out += t[c.green];
    out += ", ";
    out += t[c.blue];
    out += "], \"hex\": \"";
    char hex[8];
    writeHashHex(c, LetterCase::Lower, hex);
    out.append(hex, 7);
    out += "\"}";
}

QByteArray tokenColourValue(Rgb c) {
    QByteArray value;
    appendTokenColourValue(value, c);
    return value;
}

QStringList tokenGroupNames(const std::vector<ColourScheme>& schemes) {
    return distinctNames(schemes, [](QString name) {
        for (QChar& c : name)
            if (c == QLatin1Char('{') || c == QLatin1Char('}') || c == QLatin1Char('.'))
                c = QLatin1Char('_');
        if (name.isEmpty() || name.startsWith(QLatin1Char('$')))
            name = QLatin1Char('_') + name.mid(1);
        return name;
    });
}

// One scheme a line, as the JSON export writes them.
QByteArray writeTokens(const std::vector<ColourScheme>& schemes) {
    const QStringList groups = tokenGroupNames(schemes);
    QByteArray json = "{\"" + schemesGroup.toUtf8() + "\": {\"$type\": \"color\"";
    json.reserve(json.size() + qsizetype(schemes.size()) * 300);
    for (std::size_t i = 0; i < schemes.size(); ++i) {
        const ColourScheme& s = schemes[i];
        json += ",\n  ";
        json += jsonString(groups[qsizetype(i)]);
        json += ": {\"$extensions\": {\"";
        json += ourExtension;
        json += "\": {\"name\": ";
        json += jsonString(s.name);
        json += "}}, \"text\": {\"$value\": ";
        appendTokenColourValue(json, s.text);
        json += "}, \"background\": {\"$value\": ";
        appendTokenColourValue(json, s.background);
        json += "}}";
    }
    json += "\n}}\n";
    return json;
}

} // namespace pigmora
