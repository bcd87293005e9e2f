#include "palette.h"

#include "palette_readers.h"

namespace pigmora {

namespace {

PaletteReading readOne(const PaletteSource& source) {
    const QString lower = source.fileName.toLower();
    const QByteArray start = source.contents.left(256);
    const qsizetype bom = start.startsWith("\xEF\xBB\xBF") ? 3 : 0;
    if (lower.endsWith(QLatin1String(".gpl")) || start.mid(bom).startsWith("GIMP Palette"))
        return readGplPalette(source.contents);
    if (lower.endsWith(QLatin1String(".tokens.json")) || lower.endsWith(QLatin1String(".tokens")))
        return readTokenPalette(source.contents);
    return readJsonPalette(source.contents);
}

} // namespace

PaletteReading readPalette(const std::vector<PaletteSource>& sources,
                           const PaletteOptions& options) {
    Q_UNUSED(options);
    PaletteReading all;
    Palette palette;
    for (const PaletteSource& source : sources) {
        PaletteReading one = readOne(source);
        if (!one.error.isEmpty()) {
            PaletteReading failed;
            failed.error = importFileError(source.fileName, one.error);
            return failed;
        }
        for (Palette& p : one.palettes)
            for (PaletteEntry& e : p.entries)
                palette.entries.push_back(std::move(e));
        for (RefusedEntry& r : one.refused)
            all.refused.push_back(std::move(r));
        all.notes += one.notes;
        all.nearMisses += one.nearMisses;
    }
    all.palettes.push_back(std::move(palette));
    return all;
}

PaletteReading readPaletteFiles(const QStringList& paths, const PaletteOptions& options) {
    std::vector<PaletteSource> sources;
    for (const QString& path : paths) {
        PaletteSource source{path, {}};
        if (const auto reason = readImportFile(path, source.contents)) {
            PaletteReading failed;
            failed.error = importFileError(path, *reason);
            return failed;
        }
        sources.push_back(std::move(source));
    }
    return readPalette(sources, options);
}

} // namespace pigmora
