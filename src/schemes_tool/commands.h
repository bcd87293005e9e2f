#pragma once

#include "command_line.h"
#include "tool_output.h"

// The commands of pigmora-schemes; each returns its exit status (see ToolExit).
namespace pigmora {

int runList(const CommandLine& line, ToolOutput& output);
int runExport(const CommandLine& line, ToolOutput& output);
int runImport(const CommandLine& line, ToolOutput& output);
int runCheck(const CommandLine& line, ToolOutput& output);
int runContrast(const CommandLine& line, ToolOutput& output);

} // namespace pigmora
