#include "command_support.h"
#include "commands.h"
#include "output_forms.h"
#include "version.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

namespace pigmora {

namespace {

ExportStamp stamp() {
    return {QStringLiteral("Pigmora " PIGMORA_VERSION), QDateTime::currentDateTime()};
}

} // namespace

int runList(const CommandLine& line, ToolOutput& output) {
    const auto schemes = readSchemes(line, output);
    if (!schemes)
        return int(ToolExit::Failed);
    if (line.json) {
        output.write(exportSchemes(*schemes, ExchangeFormat::Json, stamp()));
        return int(ToolExit::Done);
    }
    for (const ColourScheme& scheme : *schemes)
        output.line(schemeLine(scheme));
    return int(ToolExit::Done);
}

int runExport(const CommandLine& line, ToolOutput& output) {
    const QString schemePath = schemeFilePath(line);
    // Written over the scheme file, an export would destroy every scheme in it.
    if (!line.outputFile.isEmpty() && isSameFile(line.outputFile, schemePath))
        return fail(output, line.command,
                    QStringLiteral("Die Ausgabedatei %1 ist die Farbdatei selbst; sie wird "
                                   "nicht überschrieben.")
                        .arg(QDir::toNativeSeparators(line.outputFile)));
    const auto schemes = readSchemes(line, output);
    if (!schemes)
        return int(ToolExit::Failed);
    const QByteArray contents = exportSchemes(*schemes, line.format, stamp());
    if (line.outputFile.isEmpty()) {
        output.write(contents);
        return int(ToolExit::Done);
    }
    // A command waits for a slow reader as long as it takes, as a pipeline expects.
    if (const auto error = writeExportFile(line.outputFile, contents, std::nullopt))
        return fail(output, line.command, *error);
    output.message(QStringLiteral("%1 als %2 in %3 geschrieben.")
                       .arg(schemeCountText(qint64(schemes->size())),
                            formatDisplayName(line.format),
                            QDir::toNativeSeparators(line.outputFile)));
    return int(ToolExit::Done);
}

} // namespace pigmora
