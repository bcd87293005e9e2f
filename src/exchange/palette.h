#pragma once

#include "base/colour_value.h"
#include "scheme_import.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <vector>

// The named colours of a design system: every colour token of its token files (with aliases
// resolved across them), or the colours of a GIMP palette or of the JSON format. What the
// contrast grid shows and what pairing by role draws from. No widgets.
namespace pigmora {

struct PaletteEntry {
    // The token's full path ("fgColor.default", "base.color.neutral.13",
    // "color.text.brand.$root"); a palette line's or a JSON scheme colour's name.
    QString path;
    Rgb colour;
    QString description;       // "$description", empty when none
    bool deprecated = false;   // "$deprecated" is true or a text
    QString deprecation;       // the text "$deprecated" gives, empty when none
    bool approximated = false; // outside sRGB, gamut-mapped into it
};

struct Palette {
    // The resolver context the palette was read in ("dark", "dark-compact" for several
    // modifiers); empty for files read without a resolver.
    QString context;
    std::vector<PaletteEntry> entries; // in document order, the files in the order given
};

struct PaletteOptions {
    // For a resolver document (*.resolver.json): the context of each modifier,
    // "theme=dark"; a modifier left out takes its default.
    QStringList context;
    // Every combination of the modifiers' contexts, a palette each (--context all).
    bool allContexts = false;
};

// A modifier of a resolver document: its contexts and the one read (for a choice per modifier).
struct ResolverModifier {
    QString name;         // "theme"
    QStringList contexts; // "light", "dark"
    QString chosen;       // the context read; empty with allContexts
};

struct PaletteReading {
    // One palette; for a resolver read with allContexts one a combination of contexts.
    std::vector<Palette> palettes;
    // Colour tokens (or palette lines) that could not be read: where (the token's path or
    // "Zeile 12"), what and why, in German. An import with any refusal adds nothing.
    std::vector<RefusedEntry> refused;
    // What the preview tells besides: the older format without "$", a "hex" fallback that is
    // not six digits and so was not read ...
    QStringList notes;
    // What came close to a colour token without being one: a token without "$type", a value
    // of another type, an alias into a file not given. Told when nothing is found.
    QStringList nearMisses;
    // The modifiers of a resolver document among the files, in its order; empty without one.
    std::vector<ResolverModifier> modifiers;
    // Why the files as a whole cannot be read (not found, too large, not JSON with line and
    // column ...), in German; then everything else is empty.
    QString error;
};

// A file's name (which decides its format, as for readSchemeImport) and its contents.
struct PaletteSource {
    QString fileName;
    QByteArray contents;
};

// Reads the sources as one document: an alias in one reaches a token in another. A resolver
// document among them is read in the context(s) of `options`, its sets' files looked up
// beside it.
PaletteReading readPalette(const std::vector<PaletteSource>& sources,
                           const PaletteOptions& options = {});
// Reads the files (each at most maxImportBytes) and then them as above.
PaletteReading readPaletteFiles(const QStringList& paths, const PaletteOptions& options = {});

} // namespace pigmora
