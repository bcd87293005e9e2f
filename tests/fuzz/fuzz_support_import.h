#pragma once

// What every import reading must be, whatever the file held: a file-level message with nothing
// else, or schemes "&Neu" would take and refusals that say where and why; and the schemes it
// took survive being written out in `format` and read in again unchanged.

#include "exchange/scheme_export.h"
#include "exchange/scheme_import.h"
#include "fuzz_support.h"

namespace pigmora {

inline void checkImportReading(const ImportReading& read, ExchangeFormat format,
                               const QString& where) {
    if (!read.error.isEmpty()) {
        FUZZ_CHECK(read.schemes.empty() && read.refused.empty(), "message and content: %s",
                   qPrintable(read.error));
        return;
    }
    FUZZ_CHECK(read.schemes.size() <= std::size_t(maxImportSchemes), "too many schemes");
    for (const ColourScheme& scheme : read.schemes)
        FUZZ_CHECK(!nameRefusal(scheme.name), "took the name %s", qPrintable(scheme.name));
    for (const RefusedEntry& refused : read.refused)
        FUZZ_CHECK(refused.where.startsWith(where) && !refused.reason.isEmpty() &&
                       refused.what.size() <= 80,
                   "refusal %s / %s", qPrintable(refused.where), qPrintable(refused.reason));
    const ExportStamp stamp{QStringLiteral("Pigmora"), QDateTime()};
    const ImportReading again = readSchemeImport(exportSchemes(read.schemes, format, stamp));
    FUZZ_CHECK(again.error.isEmpty() && again.refused.empty() && again.schemes == read.schemes,
               "round trip: %s", qPrintable(again.error));
}

} // namespace pigmora
