#include "base/german_locale.h"
#include "base/shown_text.h"
#include "export_writers.h"
#include "palette_readers.h"
#include "scheme_import.h"

#include <QHash>
#include <QList>
#include <QStringDecoder>
#include <QTextStream>
#include <algorithm>

namespace pigmora {

namespace {

const QString header = QStringLiteral("GIMP Palette");

// The palette's text without a byte-order mark, once it is UTF-8 and its first line is the
// header; else `error` says why not.
QString paletteText(const QByteArray& contents, QString& error) {
    QStringDecoder decode(QStringDecoder::Utf8);
    QString text = decode(contents);
    if (decode.hasError()) {
        error = QStringLiteral("Die Palette ist kein gültiges UTF-8.");
        return {};
    }
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    if (QStringView(text).left(text.indexOf(QLatin1Char('\n'))).trimmed() != header) {
        error = QStringLiteral("Die Datei ist keine GIMP-Palette: ihre erste Zeile ist nicht "
                               "„%1“.")
                    .arg(header);
        return {};
    }
    return text;
}
const QString textSuffix = QStringLiteral(" (Text)");
const QString backgroundSuffix = QStringLiteral(" (Hintergrund)");

// A palette line holds one name; line breaks and other control characters in a stored name
// (only a foreign file can hold them) are written as blanks.
QString lineSafe(QString name) {
    for (QChar& c : name)
        if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            c = QLatin1Char(' ');
    return name;
}

QString colourLine(Rgb c, const QString& name) {
    return QStringLiteral("%1 %2 %3\t%4\n")
        .arg(c.red, 3)
        .arg(c.green, 3)
        .arg(c.blue, 3)
        .arg(lineSafe(name));
}

struct ColourLine {
    int line; // counted from 1
    Rgb colour;
};

// "r g b<blank or tab>name"; the name is the rest of the line after one tab (as written here)
// or after the blanks (as other programs write it).
std::optional<QString> parseColourLine(QStringView text, Rgb& colour, QString& name) {
    qsizetype pos = 0;
    ChannelValue channels[3];
    for (int i = 0; i < 3; ++i) {
        while (pos < text.size() &&
               (text[pos] == QLatin1Char(' ') || text[pos] == QLatin1Char('\t')))
            ++pos;
        const qsizetype start = pos;
        while (pos < text.size() && text[pos] >= QLatin1Char('0') && text[pos] <= QLatin1Char('9'))
            ++pos;
        if (pos == start || pos - start > 9 ||
            (pos < text.size() && text[pos] != QLatin1Char(' ') && text[pos] != QLatin1Char('\t')))
            return QStringLiteral("Am Anfang stehen nicht drei ganze Farbwerte von 0 bis 255.");
        const int value = text.mid(start, pos - start).toInt();
        if (value > 255)
            return QStringLiteral("Der Farbwert %1 liegt nicht zwischen 0 und 255.").arg(value);
        channels[i] = ChannelValue(value);
    }
    // A fourth number before the name (an opacity, as palettes with "Channels: RGBA" have) is
    // no part of the name; a name after blanks may still start with digits ("2024 Frühling").
    qsizetype after = pos;
    while (after < text.size() && text[after] == QLatin1Char(' '))
        ++after;
    qsizetype digits = after;
    while (digits < text.size() && text[digits].isDigit() && text[digits].unicode() < 0x80)
        ++digits;
    if (digits > after && (digits == text.size() || text[digits] == QLatin1Char('\t') ||
                           text.mid(digits).trimmed().isEmpty()))
        return QStringLiteral("Die Zeile beginnt mit vier Zahlen; eine Farbe der Palette hat drei "
                              "(Rot, Grün und Blau), dann folgt der Name.");
    if (pos < text.size() && text[pos] == QLatin1Char('\t'))
        ++pos;
    else
        while (pos < text.size() && text[pos] == QLatin1Char(' '))
            ++pos;
    colour = Rgb{channels[0], channels[1], channels[2]};
    name = text.mid(pos).toString();
    return std::nullopt;
}

} // namespace

QByteArray writeGpl(const std::vector<ColourScheme>& schemes, const ExportStamp& stamp) {
    QString gpl;
    QTextStream out(&gpl);
    out << header << "\nName: Pigmora-Farbschemata\nColumns: 2\n# " << stampText(stamp) << "\n";
    for (const ColourScheme& scheme : schemes)
        out << colourLine(scheme.text, scheme.name + textSuffix)
            << colourLine(scheme.background, scheme.name + backgroundSuffix);
    out.flush();
    return gpl.toUtf8();
}

ImportReading readGplSchemes(const QByteArray& contents) {
    ImportReading reading;
    const QString text = paletteText(contents, reading.error);
    if (!reading.error.isEmpty())
        return reading;
    // Views into the text: a palette of millions of short lines would take ten times its size as
    // strings of their own.
    const QList<QStringView> lines = QStringView(text).split(QLatin1Char('\n'));

    // Lines pair up by name: the n-th "(Text)" line of a name with its n-th "(Hintergrund)"
    // line, in either order. A scheme stands where its first line stands.
    // An entry lives only while one of its lines waits, so the table stays small for the
    // usual palette, whose two lines of a scheme follow each other.
    struct Pending {
        QList<ColourLine> text, background;
    };
    QHash<QString, Pending> pending;
    std::vector<std::pair<int, ColourScheme>> paired;
    std::vector<std::pair<int, RefusedEntry>> refusals;
    const auto refuse = [&refusals, &lines](int line, const QString& reason) {
        refusals.push_back({line,
                            {QStringLiteral("Zeile %1").arg(line),
                             shownText(lines[line - 1].trimmed().toString(), 60), reason}});
    };
    qsizetype colourLines = 0;
    for (qsizetype i = 1; i < lines.size(); ++i) {
        QStringView line = lines[i];
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        const QStringView trimmed = line.trimmed();
        if (trimmed.isEmpty() || trimmed.startsWith(QLatin1Char('#')) ||
            trimmed.startsWith(QLatin1String("Name:")) ||
            trimmed.startsWith(QLatin1String("Columns:")))
            continue;
        if (++colourLines > 2 * qsizetype(maxImportSchemes)) {
            reading = {};
            reading.error = QStringLiteral("Die Palette enthält mehr als %1 Farbschemata; sie "
                                           "wird nicht gelesen.")
                                .arg(germanNumber(maxImportSchemes));
            return reading;
        }
        const int number = int(i + 1);
        Rgb colour;
        QString name;
        if (const auto reason = parseColourLine(line, colour, name)) {
            refuse(number, *reason);
            continue;
        }
        while (name.endsWith(QLatin1Char(' ')) || name.endsWith(QLatin1Char('\t')))
            name.chop(1);
        const bool isText = name.endsWith(textSuffix);
        const bool isBackground = name.endsWith(backgroundSuffix);
        if (!isText && !isBackground) {
            refuse(number, QStringLiteral("Der Name endet weder auf „(Text)“ noch auf "
                                          "„(Hintergrund)“; die Zeile gehört zu keinem "
                                          "Farbschema."));
            continue;
        }
        name.chop(isText ? textSuffix.size() : backgroundSuffix.size());
        const auto waiting = pending.find(name);
        QList<ColourLine>* partners = nullptr;
        if (waiting != pending.end())
            partners = isText ? &waiting->background : &waiting->text;
        if (!partners || partners->isEmpty()) {
            Pending& entry = waiting != pending.end() ? *waiting : pending[name];
            (isText ? entry.text : entry.background).append({number, colour});
            continue;
        }
        const ColourLine partner = partners->takeFirst();
        if (waiting->text.isEmpty() && waiting->background.isEmpty())
            pending.erase(waiting);
        if (const auto refusal = nameRefusal(name)) {
            refuse(partner.line, *refusal);
            continue;
        }
        const ColourScheme scheme{name, isText ? colour : partner.colour,
                                  isText ? partner.colour : colour};
        paired.emplace_back(partner.line, scheme);
    }
    // What is left waits for a partner that never came.
    std::vector<std::pair<int, QString>> unpaired;
    for (auto it = pending.cbegin(); it != pending.cend(); ++it) {
        for (const ColourLine& l : it.value().text)
            unpaired.emplace_back(
                l.line,
                QStringLiteral("Die Zeile „%1 (Hintergrund)“ fehlt.").arg(shownText(it.key())));
        for (const ColourLine& l : it.value().background)
            unpaired.emplace_back(
                l.line, QStringLiteral("Die Zeile „%1 (Text)“ fehlt.").arg(shownText(it.key())));
    }
    for (const auto& [line, reason] : unpaired)
        refuse(line, reason);
    const auto byLine = [](const auto& a, const auto& b) { return a.first < b.first; };
    std::stable_sort(refusals.begin(), refusals.end(), byLine);
    std::stable_sort(paired.begin(), paired.end(), byLine);
    for (auto& [line, entry] : refusals)
        reading.refused.push_back(std::move(entry));
    for (auto& [line, scheme] : paired)
        reading.schemes.push_back(std::move(scheme));
    return reading;
}

PaletteReading readGplPalette(const QByteArray& contents) {
    PaletteReading reading;
    const QString text = paletteText(contents, reading.error);
    if (!reading.error.isEmpty())
        return reading;
    const QList<QStringView> lines = QStringView(text).split(QLatin1Char('\n'));
    Palette palette;
    for (qsizetype i = 1; i < lines.size(); ++i) {
        QStringView line = lines[i];
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        const QStringView trimmed = line.trimmed();
        if (trimmed.isEmpty() || trimmed.startsWith(QLatin1Char('#')) ||
            trimmed.startsWith(QLatin1String("Name:")) ||
            trimmed.startsWith(QLatin1String("Columns:")))
            continue;
        if (qsizetype(palette.entries.size()) >= 2 * qsizetype(maxImportSchemes)) {
            reading = {};
            reading.error = QStringLiteral("Die Palette enthält mehr als %1 Farben; sie wird "
                                           "nicht gelesen.")
                                .arg(germanNumber(2 * maxImportSchemes));
            return reading;
        }
        Rgb colour;
        QString name;
        if (const auto reason = parseColourLine(line, colour, name)) {
            reading.refused.push_back({QStringLiteral("Zeile %1").arg(i + 1),
                                       shownText(trimmed.toString(), 60), *reason});
            continue;
        }
        while (name.endsWith(QLatin1Char(' ')) || name.endsWith(QLatin1Char('\t')))
            name.chop(1);
        if (name.isEmpty())
            name = QStringLiteral("Zeile %1").arg(i + 1);
        palette.entries.push_back({name, colour, {}, false, {}, false});
    }
    reading.palettes.push_back(std::move(palette));
    return reading;
}

} // namespace pigmora
