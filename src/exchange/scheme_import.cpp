#include "scheme_import.h"

#include "file_reasons.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <cerrno>

namespace pigmora {

std::optional<QString> nameRefusal(const QString& name) {
    if (name.isEmpty())
        return QStringLiteral("Der Name ist leer.");
    if (!name.isValidUtf16())
        return QStringLiteral("Der Name enthält ungültige Zeichen.");
    // Counted in place: a name from a file may be as long as the file.
    qsizetype characters = 0;
    for (qsizetype i = 0; i < name.size(); ++i, ++characters) {
        const char16_t c = name[i].unicode();
        if (c < 0x20 || (c >= 0x7F && c < 0xA0))
            return QStringLiteral("Der Name enthält Steuerzeichen (etwa einen Zeilenumbruch).");
        if (QChar::isHighSurrogate(c))
            ++i; // valid UTF-16: the low one follows
    }
    if (characters > 30)
        return QStringLiteral("Der Name ist %1 Zeichen lang; erlaubt sind höchstens 30.")
            .arg(characters);
    return std::nullopt;
}

namespace {

// A palette whose header line is missing still starts with a line of three numbers; JSON
// starts with "{" or "[" (a lone number at the top is JSON too, if no use).
bool looksLikePalette(const QByteArray& start) {
    if (start.startsWith("GIMP Palette"))
        return true;
    static const QRegularExpression colourLine(QStringLiteral("^[0-9]+[ \t]+[0-9]+[ \t]+[0-9]+"
                                                              "(?:[ \t]|\r?$)"));
    const qsizetype lineEnd = start.indexOf('\n'); // none in a palette of one line, or a long one
    const QByteArray firstLine = lineEnd < 0 ? start : start.left(lineEnd);
    return colourLine.match(QString::fromLatin1(firstLine)).hasMatch();
}

} // namespace

ImportReading readSchemeImport(const QByteArray& contents, const QString& fileName) {
    const QByteArray start = contents.left(256);
    const qsizetype bom = start.startsWith("\xEF\xBB\xBF") ? 3 : 0;
    const QString lower = fileName.toLower();
    if (lower.endsWith(QLatin1String(".gpl")) || looksLikePalette(start.mid(bom).trimmed()))
        return readGplSchemes(contents);
    if (lower.endsWith(QLatin1String(".tokens.json")) || lower.endsWith(QLatin1String(".tokens")) ||
        lower.endsWith(QLatin1String(".json5")))
        return readTokenSchemes(contents, fileName);
    return readJsonSchemes(contents);
}

std::optional<QString> readImportFile(const QString& path, QByteArray& contents) {
    const QFileInfo info(path);
    if (!info.exists())
        return QStringLiteral("Sie ist nicht vorhanden.");
    if (!info.isFile())
        return QStringLiteral("Sie ist keine gewöhnliche Datei.");
    const QString tooLarge =
        QStringLiteral("Sie ist größer als %1 MB.").arg(maxImportBytes / (1024 * 1024));
    if (info.size() > maxImportBytes)
        return tooLarge;
    QFile file(path);
    const auto unreadable = [&file] {
        return QStringLiteral("Sie kann nicht gelesen werden: %1")
            .arg(fileErrorReason(errno, file.error()));
    };
    errno = 0;
    if (!file.open(QIODevice::ReadOnly))
        return unreadable();
    // Read no more than the limit allows, whatever the file claimed to hold.
    errno = 0;
    contents = file.read(maxImportBytes + 1);
    if (file.error() != QFileDevice::NoError)
        return unreadable();
    if (contents.size() > maxImportBytes) {
        contents.clear();
        return tooLarge;
    }
    return std::nullopt;
}

QString importFileError(const QString& path, const QString& reason) {
    return QStringLiteral("Die Datei %1 kann nicht importiert werden:\n%2")
        .arg(QDir::toNativeSeparators(path), reason);
}

ImportReading readSchemeImportFile(const QString& path) {
    ImportReading reading;
    QByteArray contents;
    if (const auto reason = readImportFile(path, contents)) {
        reading.error = importFileError(path, *reason);
        return reading;
    }
    reading = readSchemeImport(contents, path);
    if (!reading.error.isEmpty()) {
        const QString error = importFileError(path, reading.error);
        reading = {};
        reading.error = error;
    }
    return reading;
}

} // namespace pigmora
