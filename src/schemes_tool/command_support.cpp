#include "command_support.h"

#include "output_forms.h"
#include "schemes/scheme_location.h"
#include "schemes/scheme_transfer.h"

#include <QDir>

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
    try {
        return SchemeFile::openExisting(schemeFilePath(line), access);
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
