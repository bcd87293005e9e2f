#pragma once

#include "tool_output.h"

#include <QStringList>

class QIODevice;

namespace pigmora {

// Runs pigmora-schemes on these arguments (the first names the program) and returns its exit
// status. Needs a QCoreApplication named "Pigmora" (that names the per-user directory of the
// scheme file) with GermanParserTexts installed. `input` is standard input, read only by
// `convert --stdin`; without it that command fails.
int runSchemesTool(const QStringList& arguments, ToolOutput& output, QIODevice* input = nullptr);

} // namespace pigmora
