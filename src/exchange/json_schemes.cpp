#include "base/german_locale.h"
#include "base/shown_text.h"
#include "css_colour/css_colour.h"
#include "export_writers.h"
#include "ordered_json.h"
#include "palette_readers.h"
#include "scheme_import.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cmath>

namespace pigmora {

namespace {

const QString formatName = QStringLiteral("pigmora-schemes");
constexpr int formatVersion = 1;

} // namespace

QByteArray jsonString(const QString& text) {
    QByteArray out = "\"";
    for (const char c : text.toUtf8()) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (static_cast<unsigned char>(c) < 0x20) {
            out += "\\u00";
            out += QByteArray::number(static_cast<unsigned char>(c), 16).rightJustified(2, '0');
        } else {
            out += c;
        }
    }
    return out + '"';
}

namespace {

// A colour of a scheme, or why the field holds none.
struct ColourField {
    std::optional<Rgb> colour;
    bool mapped = false; // outside sRGB, gamut-mapped into it
    QString refusal;
};

// Any opaque CSS colour as a text, or [r, g, b] with whole numbers from 0 to 255.
ColourField colourValue(const QJsonValue& value, QLatin1String key) {
    if (value.isString()) {
        const QString text = value.toString();
        const CssColourReading reading = readCssColour(text);
        if (!reading.colour)
            return {std::nullopt, false, QStringLiteral("„%1“: %2").arg(key, reading.error)};
        if (reading.alpha < 1)
            return {std::nullopt, false,
                    QStringLiteral("„%1“: %2 Ein Farbschema hat nur deckende Farben.")
                        .arg(key, notOpaqueText(text, reading.alpha))};
        return {reading.colour, reading.mapped, {}};
    }
    const QString missing = QStringLiteral("„%1“ fehlt oder ist keine Farbe (ein CSS-Farbtext wie "
                                           "\"#rrggbb\" oder drei ganze Zahlen von 0 bis 255).")
                                .arg(key);
    if (!value.isArray())
        return {std::nullopt, false, missing};
    const QJsonArray channels = value.toArray();
    if (channels.size() != 3)
        return {std::nullopt, false, missing};
    ChannelValue c[3];
    for (int i = 0; i < 3; ++i) {
        const QJsonValue v = channels[i];
        if (!v.isDouble())
            return {std::nullopt, false, missing};
        const double d = v.toDouble();
        if (!(d >= 0 && d <= 255) || d != std::floor(d))
            return {std::nullopt, false, missing};
        c[i] = ChannelValue(d);
    }
    return {Rgb{c[0], c[1], c[2]}, false, {}};
}

// Whether any object in it has a name starting with "$", as design tokens have ("$type",
// "$value" ...), or a member "value", as tokens of the older format have; this program's own
// format has neither.
bool holdsTokenNames(const QJsonObject& object, int depth = 0) {
    if (depth > 64)
        return false;
    for (auto it = object.begin(); it != object.end(); ++it)
        if (it.key().startsWith(QLatin1Char('$')) || it.key() == QLatin1String("value") ||
            (it.value().isObject() && holdsTokenNames(it.value().toObject(), depth + 1)))
            return true;
    return false;
}

QString entryText(const QJsonValue& entry) {
    if (entry.isObject() && entry.toObject().value(QLatin1String("name")).isString())
        return shownText(entry.toObject().value(QLatin1String("name")).toString());
    QJsonArray wrapped{entry};
    const QByteArray json = QJsonDocument(wrapped).toJson(QJsonDocument::Compact);
    return shownText(QString::fromUtf8(json.mid(1, json.size() - 2)));
}

// Why an entry is not a scheme, or nothing when it is one (then `scheme` holds it, and
// `approximated` counts its colours that were gamut-mapped into sRGB).
std::optional<QString> readEntry(const QJsonValue& entry, ColourScheme& scheme, int& approximated) {
    if (!entry.isObject())
        return QStringLiteral("Der Eintrag ist kein Objekt mit „name“, „text“ und "
                              "„background“.");
    const QJsonObject object = entry.toObject();
    const QJsonValue name = object.value(QLatin1String("name"));
    if (!name.isString())
        return QStringLiteral("„name“ fehlt oder ist kein Text.");
    if (const auto refusal = nameRefusal(name.toString()))
        return refusal;
    scheme.name = name.toString();
    int mapped = 0;
    for (const auto& [key, target] : {std::pair{QLatin1String("text"), &scheme.text},
                                      {QLatin1String("background"), &scheme.background}}) {
        const ColourField field = colourValue(object.value(key), key);
        if (!field.colour)
            return field.refusal;
        *target = *field.colour;
        mapped += field.mapped ? 1 : 0;
    }
    approximated += mapped;
    return std::nullopt;
}

} // namespace

// One scheme a line: easy to read and to compare, and about half the size of an indented
// document, so an export of the most schemes an import takes stays within its size limit.
QByteArray writeJson(const std::vector<ColourScheme>& schemes) {
    QByteArray json = "{\"format\": \"" + formatName.toUtf8() +
                      "\", \"version\": " + QByteArray::number(formatVersion) + ", \"schemes\": [";
    json.reserve(json.size() + qsizetype(schemes.size()) * 80);
    for (std::size_t i = 0; i < schemes.size(); ++i) {
        const ColourScheme& s = schemes[i];
        json += i ? ",\n  " : "\n  ";
        json += "{\"name\": " + jsonString(s.name) + ", \"text\": \"" +
                hashHexText(s.text).toLatin1() + "\", \"background\": \"" +
                hashHexText(s.background).toLatin1() + "\"}";
    }
    json += schemes.empty() ? "]}\n" : "\n]}\n";
    return json;
}

ImportReading readJsonSchemes(const QByteArray& contents) {
    ImportReading reading;
    QByteArray json = contents;
    if (json.startsWith("\xEF\xBB\xBF"))
        json.remove(0, 3);
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(json, &error);
    if (error.error != QJsonParseError::NoError) {
        // Told by the reader of tokens, which knows line and column and what only JSON5 allows.
        OrderedJson reader;
        QJsonParseError where;
        reading.error =
            reader.parse(contents, where)
                ? jsonParseErrorText(error)
                : jsonParseErrorText(where, contents, reader, OrderedJson::Grammar::Json);
        return reading;
    }
    QJsonArray entries;
    if (document.isArray()) {
        entries = document.array();
    } else {
        const QJsonObject root = document.object();
        if (!root.contains(QLatin1String("format")) && holdsTokenNames(root))
            return readTokenSchemes(contents);
        if (root.value(QLatin1String("format")).toString() != formatName) {
            reading.error = QStringLiteral("Die Datei ist keine Farbschema-Liste: „format“ "
                                           "fehlt oder ist nicht „%1“.")
                                .arg(formatName);
            return reading;
        }
        const QJsonValue version = root.value(QLatin1String("version"));
        if (version.isUndefined()) {
            reading.error = QStringLiteral("In der Datei fehlt die Angabe „version“.");
            return reading;
        }
        if (version.isString()) {
            reading.error = QStringLiteral("Die Angabe „version“ ist der Text „%1“, keine Zahl; "
                                           "dieses Programm liest Version %2 (ohne "
                                           "Anführungszeichen).")
                                .arg(shownText(version.toString(), 12))
                                .arg(formatVersion);
            return reading;
        }
        if (!version.isDouble()) {
            reading.error = QStringLiteral("Die Angabe „version“ ist keine Zahl; dieses Programm "
                                           "liest Version %1.")
                                .arg(formatVersion);
            return reading;
        }
        if (version.toDouble() != formatVersion) {
            reading.error = QStringLiteral("Die Datei hat die Version %1 des Formats; dieses "
                                           "Programm liest Version %2.")
                                .arg(shownText(QString::number(version.toDouble()), 12))
                                .arg(formatVersion);
            return reading;
        }
        if (!root.value(QLatin1String("schemes")).isArray()) {
            reading.error = QStringLiteral("In der Datei fehlt die Liste „schemes“.");
            return reading;
        }
        entries = root.value(QLatin1String("schemes")).toArray();
    }
    if (entries.size() > maxImportSchemes) {
        reading.error = QStringLiteral("Die Datei enthält %1 Einträge; mehr als %2 werden nicht "
                                       "gelesen.")
                            .arg(germanNumber(entries.size()), germanNumber(maxImportSchemes));
        return reading;
    }
    for (qsizetype i = 0; i < entries.size(); ++i) {
        ColourScheme scheme;
        if (const auto reason = readEntry(entries[i], scheme, reading.approximated))
            reading.refused.push_back(
                {QStringLiteral("Eintrag %1").arg(i + 1), entryText(entries[i]), *reason});
        else
            reading.schemes.push_back(scheme);
    }
    return reading;
}

PaletteReading readJsonPalette(const QByteArray& contents) {
    QByteArray json = contents;
    if (json.startsWith("\xEF\xBB\xBF"))
        json.remove(0, 3);
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(json, &error);
    if (error.error == QJsonParseError::NoError && document.isObject() &&
        !document.object().contains(QLatin1String("format")) && holdsTokenNames(document.object()))
        return readTokenPalette(contents);
    const ImportReading schemes = readJsonSchemes(contents);
    PaletteReading reading;
    reading.error = schemes.error;
    reading.refused = schemes.refused;
    if (!reading.error.isEmpty())
        return reading;
    Palette palette;
    palette.entries.reserve(2 * schemes.schemes.size());
    for (const ColourScheme& s : schemes.schemes) {
        palette.entries.push_back({s.name + QStringLiteral(".text"), s.text, {}, false, {}, false});
        palette.entries.push_back(
            {s.name + QStringLiteral(".background"), s.background, {}, false, {}, false});
    }
    reading.palettes.push_back(std::move(palette));
    return reading;
}

} // namespace pigmora
