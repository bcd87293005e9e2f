#pragma once

#include "command_line.h"
#include "tool_output.h"

class QCommandLineParser;
class QIODevice;

// The commands of pigmora-schemes; each returns its exit status (see ToolExit).
namespace pigmora {

int runList(const CommandLine& line, ToolOutput& output);
int runExport(const CommandLine& line, ToolOutput& output);
int runImport(const CommandLine& line, ToolOutput& output);
int runCheck(const CommandLine& line, ToolOutput& output);
int runContrast(const CommandLine& line, ToolOutput& output);
// `input` is standard input (for --stdin); nullptr where there is none.
int runConvert(const CommandLine& line, ToolOutput& output, QIODevice* input);
// audit: its options read into `call` (a German message when one cannot be used), and the run.
std::optional<QString> readAuditOptions(const QCommandLineParser& parser, AuditCall& call);
int runAudit(const CommandLine& line, ToolOutput& output);
int runGrid(const CommandLine& line, ToolOutput& output);
int runRamp(const CommandLine& line, ToolOutput& output);

// The entries of the commands that describe themselves beside their code.
CommandEntry gridCommandEntry();
CommandEntry rampCommandEntry();

} // namespace pigmora
