#include "base/german_locale.h"
#include "base/shown_text.h"
#include "command_support.h"
#include "commands.h"
#include "exchange/scheme_import.h"
#include "output_forms.h"
#include "schemes/scheme_transfer.h"

#include <QDir>

namespace pigmora {

namespace {

QString refusalText(const RefusedEntry& entry) {
    if (entry.what.isEmpty())
        return QStringLiteral("%1: %2").arg(entry.where, entry.reason);
    return QStringLiteral("%1: %2: %3").arg(entry.where, entry.what, entry.reason);
}

// " Übergangen: 3 weitere Tokens und 1 Gruppe ohne Farbschema." for design tokens.
QString otherTokensNote(const ImportReading& reading) {
    if (reading.otherTokens == 0 && reading.otherGroups == 0)
        return {};
    return QStringLiteral(" Übergangen: %1 und %2 ohne Farbschema.")
        .arg(countText(reading.otherTokens, QStringLiteral("weiteres Token"),
                       QStringLiteral("weitere Tokens")),
             countText(reading.otherGroups, QStringLiteral("Gruppe"), QStringLiteral("Gruppen")));
}

} // namespace

int runImport(const CommandLine& line, ToolOutput& output) {
    const auto file = openSchemeFile(
        line, line.dryRun ? SchemeFile::Access::ReadOnly : SchemeFile::Access::ReadWrite, output);
    if (!file)
        return int(ToolExit::Failed);
    const ImportReading reading = readSchemeImportFile(line.importFile);
    if (!reading.error.isEmpty())
        return fail(output, line.command, reading.error);
    if (!reading.refused.empty()) {
        for (const RefusedEntry& entry : reading.refused)
            output.message(refusalText(entry));
        const qint64 entries = qint64(reading.schemes.size() + reading.refused.size());
        output.message(
            QStringLiteral("Nichts importiert: %1 von %2 abgelehnt.")
                .arg(germanNumber(qint64(reading.refused.size())),
                     countText(entries, QStringLiteral("Eintrag"), QStringLiteral("Einträgen"))));
        return int(ToolExit::Refused);
    }
    if (reading.approximated > 0)
        output.message(QStringLiteral("Hinweis: %1 außerhalb von sRGB und %2 angenähert.")
                           .arg(countText(reading.approximated, QStringLiteral("Farbe lag"),
                                          QStringLiteral("Farben lagen")),
                                reading.approximated == 1 ? QStringLiteral("wurde")
                                                          : QStringLiteral("wurden")));
    if (line.dryRun) {
        for (const ColourScheme& scheme : reading.schemes)
            output.line(schemeLine(scheme));
        const qint64 count = qint64(reading.schemes.size());
        output.message(QStringLiteral("Probelauf: %1 %2 importiert; die Farbdatei bleibt "
                                      "unverändert.")
                           .arg(schemeCountText(count),
                                count == 1 ? QStringLiteral("würde") : QStringLiteral("würden")) +
                       otherTokensNote(reading));
        return int(ToolExit::Done);
    }
    if (const auto error = addSchemes(*file, reading.schemes))
        return fail(output, line.command,
                    QStringLiteral("Die Farbschemata konnten nicht gespeichert werden:\n%1\n\n"
                                   "Meldung der Datenbank: %2\n\nDie Farbdatei bleibt, wie sie "
                                   "war.")
                        .arg(QDir::toNativeSeparators(file->path()), *error));
    output.message(
        QStringLiteral("%1 importiert.").arg(schemeCountText(qint64(reading.schemes.size()))) +
        otherTokensNote(reading));
    return int(ToolExit::Done);
}

} // namespace pigmora
