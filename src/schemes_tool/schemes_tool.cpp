#include "schemes_tool.h"

#include "command_line.h"
#include "commands.h"
#include "version.h"

namespace pigmora {

namespace {

int run(const CommandLine& line, ToolOutput& output, QIODevice* input) {
    switch (line.command) {
    case ToolCommand::List:
        return runList(line, output);
    case ToolCommand::Export:
        return runExport(line, output);
    case ToolCommand::Import:
        return runImport(line, output);
    case ToolCommand::Check:
        return runCheck(line, output);
    case ToolCommand::Convert:
        return runConvert(line, output, input);
    case ToolCommand::Audit:
        return runAudit(line, output);
    case ToolCommand::Grid:
        return runGrid(line, output);
    case ToolCommand::Ramp:
        return runRamp(line, output);
    case ToolCommand::Contrast:
        break;
    }
    return runContrast(line, output);
}

int runParsed(const ParsedCommandLine& parsed, ToolOutput& output, QIODevice* input) {
    switch (parsed.outcome) {
    case ParsedCommandLine::Outcome::Help:
        output.write(parsed.text.toUtf8());
        if (!parsed.text.endsWith(QLatin1Char('\n')))
            output.write("\n");
        return int(ToolExit::Done);
    case ParsedCommandLine::Outcome::Version:
        output.line(QStringLiteral("pigmora-schemes " PIGMORA_VERSION));
        return int(ToolExit::Done);
    case ParsedCommandLine::Outcome::Error:
        output.message(QStringLiteral("pigmora-schemes: ") + parsed.text);
        output.message(parsed.usageHint);
        return int(ToolExit::Failed);
    case ParsedCommandLine::Outcome::Run:
        break;
    }
    return run(parsed.commandLine, output, input);
}

} // namespace

int runSchemesTool(const QStringList& arguments, ToolOutput& output, QIODevice* input) {
    const int status = runParsed(parseCommandLine(arguments), output, input);
    if (!output.finish()) {
        output.message(
            QStringLiteral("pigmora-schemes: Die Ausgabe konnte nicht geschrieben werden: %1")
                .arg(output.error()));
        return int(ToolExit::Failed);
    }
    return status;
}

} // namespace pigmora
