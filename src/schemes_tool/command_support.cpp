#include "command_support.h"

#include "output_forms.h"
#include "schemes/scheme_location.h"
#include "schemes/scheme_transfer.h"

#include <QDir>
#include <QFileInfo>

namespace pigmora {

int fail(ToolOutput& output, ToolCommand command, const QString& message) {
    output.message(QStringLiteral("pigmora-schemes: ") + message);
    output.message(usageHint(&commandEntry(command)));
    return int(ToolExit::Failed);
}

QString schemeFilePath(const CommandLine& line) {
    if (!line.schemeFile.isEmpty())
        return line.schemeFile;
    return QDir(lookUpSchemeDirectory()).filePath(QString::fromLatin1(schemeFileName));
}

std::unique_ptr<SchemeFile> openSchemeFile(const CommandLine& line, SchemeFile::Access access,
                                           ToolOutput& output) {
    const QString path = schemeFilePath(line);
    try {
        return SchemeFile::openExisting(path, access);
    } catch (const SchemeFileError& e) {
        QString message = e.message();
        if (!QFileInfo(path).exists() && !QFileInfo(path).isSymLink())
            message += QStringLiteral("\n\nEine neue Farbdatei legt ein Import an: "
                                      "pigmora-schemes --file %1 import DATEI")
                           .arg(QDir::toNativeSeparators(path));
        fail(output, line.command, message);
        return nullptr;
    }
}

std::unique_ptr<SchemeFile> openOrCreateSchemeFile(const CommandLine& line, ToolOutput& output) {
    const QString path = schemeFilePath(line);
    const QFileInfo info(path);
    if (info.exists() || info.isSymLink())
        return openSchemeFile(line, SchemeFile::Access::ReadWrite, output);
    try {
        auto file = SchemeFile::openOrCreate(path);
        output.message(QStringLiteral("Die Farbdatei %1 gab es nicht; sie ist neu angelegt.")
                           .arg(QDir::toNativeSeparators(path)));
        return file;
    } catch (const SchemeFileError& e) {
        fail(output, line.command, e.message());
        return nullptr;
    }
}

std::optional<std::vector<ColourScheme>> readSchemes(SchemeFile& file, ToolCommand command,
                                                     ToolOutput& output) {
    StoredSchemes stored = readStoredSchemes(file);
    if (!stored.error.isEmpty()) {
        fail(output, command,
             QStringLiteral("Die Farbdatei kann nicht gelesen werden:\n%1\n\nMeldung der "
                            "Datenbank: %2")
                 .arg(QDir::toNativeSeparators(file.path()), stored.error));
        return std::nullopt;
    }
    if (stored.incomplete > 0)
        output.message(
            QStringLiteral("Hinweis: %1 der Farbdatei %2 unvollständig (ohne Namen oder mit "
                           "einem Farbwert, der keine ganze Zahl von 0 bis 255 ist) und %3 "
                           "außen vor.")
                .arg(countText(stored.incomplete, QStringLiteral("Eintrag"),
                               QStringLiteral("Einträge")),
                     stored.incomplete == 1 ? QStringLiteral("ist") : QStringLiteral("sind"),
                     stored.incomplete == 1 ? QStringLiteral("bleibt")
                                            : QStringLiteral("bleiben")));
    return std::move(stored.schemes);
}

std::optional<std::vector<ColourScheme>> readSchemes(const CommandLine& line, ToolOutput& output) {
    const auto file = openSchemeFile(line, SchemeFile::Access::ReadOnly, output);
    if (!file)
        return std::nullopt;
    return readSchemes(*file, line.command, output);
}

} // namespace pigmora
