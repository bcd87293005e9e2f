#pragma once

#include "colour_scheme.h"

#include <QString>
#include <optional>
#include <vector>

namespace pigmora {

class SchemeFile;

// The schemes of a file read as a whole, for export and for checks over all of them.
struct StoredSchemes {
    std::vector<ColourScheme> schemes; // in stored order
    // Records left out: without a name, or with a channel that is not a whole number from 0 to
    // 255 (possible only in a file another program wrote; selecting one skips those fields).
    qint64 incomplete = 0;
    QString error; // the engine's message when the file could not be read; then no schemes
};

// Reads every record in stored order, in one statement.
StoredSchemes readStoredSchemes(SchemeFile& file);

// Adds the schemes after the stored ones, in their order, in one transaction: all of them or,
// when the engine refuses one or the file stays locked past the busy timeout, none. Returns the
// engine's message in that case.
std::optional<QString> addSchemes(SchemeFile& file, const std::vector<ColourScheme>& schemes);

} // namespace pigmora
