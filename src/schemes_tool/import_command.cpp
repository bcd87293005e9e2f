#include "base/german_locale.h"
#include "base/shown_text.h"
#include "command_support.h"
#include "commands.h"
#include "exchange/token_import.h"
#include "output_forms.h"
#include "schemes/scheme_transfer.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>

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

// ", 3 schon vorhanden" where the stored schemes had some of them.
QString existingNote(qint64 existing) {
    return existing > 0 ? QStringLiteral(", %1 schon vorhanden").arg(germanNumber(existing))
                        : QString();
}

// What an import that found nothing looked for.
QString lookedFor(const CommandLine& line) {
    if (!line.textGlob.isEmpty())
        return QStringLiteral("Gesucht wurden Textfarben nach „%1“ und Hintergründe nach „%2“%3.")
            .arg(shownText(line.textGlob, 80), shownText(line.backgroundGlob, 80),
                 line.sameRole ? QStringLiteral(" mit gleicher Rolle") : QString());
    return QStringLiteral(
        "Gesucht wurden Farb-Tokens (mit „$type“: „color“) als Paare: Gruppen mit „text“ und "
        "„background“; Geschwister „fg“/„bg“, „foreground“/„background“, „on-X“/„X“, "
        "„onX“/„X“, „XText“/„XBackground“; Bäume nach Rolle („fgColor.X“ mit „bgColor.X“, "
        "„color.text.X“ mit „color.background.X“, auch mit „$root“). Eigene Regeln geben "
        "--text und --background.");
}

} // namespace

int runImport(const CommandLine& line, ToolOutput& output) {
    ImportOptions options;
    options.palette.context = line.contexts;
    options.palette.allContexts = line.allContexts;
    options.rules = {line.textGlob, line.backgroundGlob, line.sameRole};
    const QString path = schemeFilePath(line);
    const bool missing = !QFileInfo(path).exists() && !QFileInfo(path).isSymLink();
    // A missing file is made only once there is something to add: an import that fails or
    // finds nothing leaves no empty scheme file behind.
    std::unique_ptr<SchemeFile> file;
    if (!missing) {
        file = openSchemeFile(
            line, line.dryRun ? SchemeFile::Access::ReadOnly : SchemeFile::Access::ReadWrite,
            output);
        if (!file)
            return int(ToolExit::Failed);
    }
    const QStringList files =
        line.importFiles.isEmpty() ? QStringList{line.importFile} : line.importFiles;
    const ImportReading reading = readSchemeImportFiles(files, options);
    if (!reading.error.isEmpty())
        return fail(output, line.command, reading.error);
    for (const QString& note : reading.notes)
        output.message(QStringLiteral("Hinweis: ") + note);
    for (const QString& convention : reading.conventions)
        output.message(QStringLiteral("Gepaart nach %1.").arg(convention));

    if (reading.schemes.empty() && reading.refused.empty()) {
        output.message(QStringLiteral("Nichts importiert: die Dateien enthalten kein Farbschema."));
        output.message(lookedFor(line));
        if (!reading.nearMisses.isEmpty()) {
            output.message(QStringLiteral("Beinahe gefunden:"));
            for (const QString& miss : reading.nearMisses)
                output.message(QStringLiteral("  ") + miss);
        }
        return int(ToolExit::Refused);
    }

    // Schemes of the same name and colours as stored ones are not added twice.
    std::vector<ColourScheme> adding;
    std::vector<size_t> added; // in the reading
    qint64 existing = 0;
    {
        QSet<QString> stored;
        if (file && !line.alsoExisting) {
            const auto schemes = readSchemes(*file, line.command, output);
            if (!schemes)
                return int(ToolExit::Failed);
            for (const ColourScheme& s : *schemes)
                stored.insert(schemeLine(s));
        }
        for (size_t i = 0; i < reading.schemes.size(); ++i) {
            if (stored.contains(schemeLine(reading.schemes[i]))) {
                ++existing;
                continue;
            }
            adding.push_back(reading.schemes[i]);
            added.push_back(i);
        }
    }
    if (line.dryRun) {
        for (const size_t i : added)
            output.line(schemeLine(reading.schemes[i]));
        for (const RefusedEntry& entry : reading.refused)
            output.message(QStringLiteral("abgelehnt: ") + refusalText(entry));
    } else {
        for (const RefusedEntry& entry : reading.refused)
            output.message(refusalText(entry));
    }
    if (!reading.refused.empty()) {
        const qint64 entries = qint64(reading.schemes.size() + reading.refused.size());
        output.message(
            QStringLiteral("Nichts importiert: %1 von %2 abgelehnt.")
                .arg(germanNumber(qint64(reading.refused.size())),
                     countText(entries, QStringLiteral("Eintrag"), QStringLiteral("Einträgen"))) +
            (line.dryRun ? QStringLiteral(" (Probelauf: %1 wären gut.)")
                               .arg(germanNumber(qint64(reading.schemes.size())))
                         : QString()));
        return int(ToolExit::Refused);
    }
    if (reading.approximated > 0)
        output.message(QStringLiteral("Hinweis: %1 außerhalb von sRGB und %2 angenähert.")
                           .arg(countText(reading.approximated, QStringLiteral("Farbe lag"),
                                          QStringLiteral("Farben lagen")),
                                reading.approximated == 1 ? QStringLiteral("wurde")
                                                          : QStringLiteral("wurden")));
    if (line.dryRun) {
        const qint64 count = qint64(adding.size());
        output.message(QStringLiteral("Probelauf: %1 %2 importiert%3; die Farbdatei bleibt "
                                      "unverändert.")
                           .arg(schemeCountText(count),
                                count == 1 ? QStringLiteral("würde") : QStringLiteral("würden"),
                                existingNote(existing)) +
                       otherTokensNote(reading) +
                       (missing ? QStringLiteral(" Die Farbdatei %1 gibt es noch nicht; der "
                                                 "Import legt sie an.")
                                      .arg(QDir::toNativeSeparators(path))
                                : QString()));
        return int(ToolExit::Done);
    }
    if (missing) {
        file = openOrCreateSchemeFile(line, output);
        if (!file)
            return int(ToolExit::Failed);
    }
    if (const auto error = addSchemes(*file, adding))
        return fail(output, line.command,
                    QStringLiteral("Die Farbschemata konnten nicht gespeichert werden:\n%1\n\n"
                                   "Meldung der Datenbank: %2\n\nDie Farbdatei bleibt, wie sie "
                                   "war.")
                        .arg(QDir::toNativeSeparators(file->path()), *error));
    output.message(QStringLiteral("%1 importiert%2.")
                       .arg(schemeCountText(qint64(adding.size())), existingNote(existing)) +
                   otherTokensNote(reading));
    return int(ToolExit::Done);
}

} // namespace pigmora
