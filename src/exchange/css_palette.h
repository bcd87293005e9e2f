#pragma once

#include "palette.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

// A CSS file's custom properties as a palette: design systems publish their colours so too.
namespace pigmora {

// Every custom property "--name: <colour>;" of the file, in document order, at any depth of
// rules and at-rules; its path is the name without the dashes, and, for a name declared in
// another rule before, the rule's selector after it: "fg-default [data-theme=\"dark\"]". A
// value "var(--other)" (or "var(--other, fallback)") takes the other property's colour, of the
// same rule where it has one there. Values that hold no colour (lengths, font names, calc())
// are skipped and counted in `skipped` and a note; a colour that cannot be taken (not opaque,
// a broken colour function, an alias in a circle) is refused with its reason.
PaletteReading readCssPalette(const QByteArray& contents, qint64* skipped = nullptr);

// Whether the file is read as CSS: a name ending in ".css".
bool isCssFileName(const QString& fileName);

// Reads the files as a palette: the CSS files each by readCssPalette, the others together, as
// readPaletteFiles reads them (one document); the entries of those first, then the CSS files'
// in their order.
PaletteReading readPaletteFilesWithCss(const QStringList& paths, qint64* skipped = nullptr);

} // namespace pigmora
