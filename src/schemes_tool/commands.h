#pragma once

#include "command_line.h"
#include "tool_output.h"

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
int runGrid(const CommandLine& line, ToolOutput& output);
int runRamp(const CommandLine& line, ToolOutput& output);

// The entries of the commands that describe themselves beside their code.
CommandEntry gridCommandEntry();
CommandEntry rampCommandEntry();

} // namespace pigmora
