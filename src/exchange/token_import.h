#pragma once

#include "palette.h"
#include "scheme_import.h"
#include "token_pairing.h"

// Schemes from a design system's files: the groups of today's rule, then the pairs its roles
// give (the conventions or the rules given), for each context asked for.
namespace pigmora {

struct ImportOptions {
    PaletteOptions palette; // the resolver's context(s)
    PairingRules rules;
};

// The schemes the palette gives, one palette a context; with several contexts (allContexts)
// each name stands after its context ("dark/danger"). Today's rule (a group of "text" and
// "background") comes first; the tokens it takes are paired no further.
ImportReading schemesOfDesignSystem(const std::vector<PaletteSource>& sources,
                                    const ImportOptions& options);
// Reads the files as one design system (each at most maxImportBytes). One file that is a GIMP
// palette or the program's JSON format is read as readSchemeImportFile reads it; several of
// those are read one by one and their schemes put together.
ImportReading readSchemeImportFiles(const QStringList& paths, const ImportOptions& options = {});

} // namespace pigmora
