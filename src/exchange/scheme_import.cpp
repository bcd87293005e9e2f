#include "scheme_import.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QList>

namespace pigmora {

std::optional<QString> nameRefusal(const QString& name) {
    if (name.isEmpty())
        return QStringLiteral("Der Name ist leer.");
    if (!name.isValidUtf16())
        return QStringLiteral("Der Name enthält ungültige Zeichen.");
    const QList<uint> characters = name.toUcs4();
    for (const uint c : characters)
        if (c < 0x20 || (c >= 0x7F && c < 0xA0))
            return QStringLiteral("Der Name enthält Steuerzeichen (etwa einen Zeilenumbruch).");
    if (characters.size() > 30)
        return QStringLiteral("Der Name ist %1 Zeichen lang; erlaubt sind höchstens 30.")
            .arg(characters.size());
    return std::nullopt;
}

ImportReading readSchemeImport(const QByteArray& contents) {
    const QByteArray start = contents.left(64);
    const qsizetype bom = start.startsWith("\xEF\xBB\xBF") ? 3 : 0;
    if (start.mid(bom).trimmed().startsWith("GIMP Palette"))
        return readGplSchemes(contents);
    return readJsonSchemes(contents);
}

ImportReading readSchemeImportFile(const QString& path) {
    ImportReading reading;
    const QString shown = QDir::toNativeSeparators(path);
    const auto refuse = [&reading, &shown](QString reason) { // a copy: it may be reading's own
        reading = {};
        reading.error =
            QStringLiteral("Die Datei %1 kann nicht importiert werden:\n%2").arg(shown, reason);
        return reading;
    };
    const QFileInfo info(path);
    if (!info.exists())
        return refuse(QStringLiteral("Sie ist nicht vorhanden."));
    if (!info.isFile())
        return refuse(QStringLiteral("Sie ist keine gewöhnliche Datei."));
    const QString tooLarge = QStringLiteral("Sie ist größer als 10 MB.");
    if (info.size() > maxImportBytes)
        return refuse(tooLarge);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return refuse(
            QStringLiteral("Sie kann nicht gelesen werden (%1).").arg(file.errorString()));
    // Read no more than the limit allows, whatever the file claimed to hold.
    const QByteArray contents = file.read(maxImportBytes + 1);
    if (contents.size() > maxImportBytes)
        return refuse(tooLarge);
    if (file.error() != QFileDevice::NoError)
        return refuse(
            QStringLiteral("Sie kann nicht gelesen werden (%1).").arg(file.errorString()));
    reading = readSchemeImport(contents);
    if (!reading.error.isEmpty())
        return refuse(reading.error);
    return reading;
}

} // namespace pigmora
