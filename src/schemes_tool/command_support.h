#pragma once

#include "command_line.h"
#include "schemes/colour_scheme.h"
#include "schemes/scheme_file.h"
#include "tool_output.h"

#include <memory>
#include <optional>
#include <vector>

// What the commands share: how they fail, which scheme file they use, how they read it.
namespace pigmora {

// Writes "pigmora-schemes: <message>" and the command's usage hint to standard error; returns
// exit status 2.
int fail(ToolOutput& output, ToolCommand command, const QString& message);

// The file --file names, or else the program's own: beside the installed pigmora or in the
// per-user data directory (the application name must be "Pigmora" for that).
QString schemeFilePath(const CommandLine& line);

// Opens the scheme file, which must be there already; nullptr after the message.
std::unique_ptr<SchemeFile> openSchemeFile(const CommandLine& line, SchemeFile::Access access,
                                           ToolOutput& output);

// Opens the scheme file for writing, or, when nothing is there, creates it with the program's
// table and says so on standard error; nullptr after the message.
std::unique_ptr<SchemeFile> openOrCreateSchemeFile(const CommandLine& line, ToolOutput& output);

// Every complete scheme in stored order; the incomplete records are left out with one note.
// Nothing after the message when the file cannot be read.
std::optional<std::vector<ColourScheme>> readSchemes(SchemeFile& file, ToolCommand command,
                                                     ToolOutput& output);

// Opens the file read-only and reads it.
std::optional<std::vector<ColourScheme>> readSchemes(const CommandLine& line, ToolOutput& output);

} // namespace pigmora
