#include "palette.h"

#include "base/german_locale.h"
#include "design_system.h"

namespace pigmora {

namespace {

PaletteReading paletteOf(const DesignSystem& system) {
    PaletteReading reading;
    if (!system.error.isEmpty()) {
        reading.error = system.error;
        return reading;
    }
    for (const SystemContext& context : system.contexts) {
        Palette palette;
        palette.context = context.name;
        for (const ColourCandidate& c : context.candidates) {
            if (c.read)
                palette.entries.push_back(c.entry);
            else if (&context == &system.contexts.front())
                reading.refused.push_back({c.entry.path, {}, c.reason});
        }
        reading.palettes.push_back(std::move(palette));
    }
    reading.refused.insert(reading.refused.end(), system.refused.begin(), system.refused.end());
    reading.notes = system.notes;
    reading.nearMisses = system.nearMisses;
    reading.modifiers = system.modifiers;
    return reading;
}

} // namespace

PaletteReading readPalette(const std::vector<PaletteSource>& sources,
                           const PaletteOptions& options) {
    return paletteOf(readDesignSystem(sources, options, {}));
}

PaletteReading readPaletteFiles(const QStringList& paths, const PaletteOptions& options) {
    std::vector<PaletteSource> sources;
    if (paths.size() > maxImportFiles) {
        PaletteReading failed;
        failed.error = QStringLiteral("Es sind %1 Dateien angegeben; mehr als %2 werden nicht "
                                      "zusammen gelesen.")
                           .arg(germanNumber(paths.size()), germanNumber(maxImportFiles));
        return failed;
    }
    for (const QString& path : paths) {
        PaletteSource source{path, {}};
        if (const auto reason = readImportFile(path, source.contents)) {
            PaletteReading failed;
            failed.error = importFileError(path, *reason);
            return failed;
        }
        sources.push_back(std::move(source));
    }
    PaletteReading reading = paletteOf(readDesignSystem(sources, options, readImportFile));
    if (!reading.error.isEmpty() && paths.size() == 1) {
        const QString error = importFileError(paths.front(), reading.error);
        reading = {};
        reading.error = error;
    }
    return reading;
}

} // namespace pigmora
