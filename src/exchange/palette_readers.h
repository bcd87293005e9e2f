#pragma once

#include "palette.h"

// The reader of each palette format (palette.cpp picks one).
namespace pigmora {

PaletteReading readTokenPalette(const QByteArray& contents);
// Every colour line, named as the line names it.
PaletteReading readGplPalette(const QByteArray& contents);
// Each scheme's colours, "<name>.text" and "<name>.background".
PaletteReading readJsonPalette(const QByteArray& contents);

} // namespace pigmora
