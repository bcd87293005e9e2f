#include "commands.h"
#include "output_forms.h"

namespace pigmora {

int runContrast(const CommandLine& line, ToolOutput& output) {
    for (const QString& note : line.notes)
        output.message(note);
    if (line.json)
        output.write(contrastJson(line.textColour, line.background));
    else
        output.line(contrastReport(line.textColour, line.background));
    return int(ToolExit::Done);
}

} // namespace pigmora
