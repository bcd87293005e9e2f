#include "token_import.h"

#include "base/german_locale.h"
#include "base/shown_text.h"
#include "design_system.h"
#include "palette_readers.h"

#include <QSet>

namespace pigmora {

namespace {

QString shown(const QString& text, int limit = 40) {
    return shownText(text.left(2 * limit + 2), limit);
}

ImportReading schemesOf(const DesignSystem& system, const ImportOptions& options) {
    ImportReading reading;
    if (!system.error.isEmpty()) {
        reading.error = system.error;
        return reading;
    }
    reading.refused = system.refused;
    reading.notes = system.notes;
    reading.designTokens = true;
    const bool prefixed = system.contexts.size() > 1 || options.palette.allContexts;
    qint64 groupSchemes = 0;
    for (const SystemContext& c : system.contexts)
        groupSchemes += qint64(c.groupSchemes.size());
    if (groupSchemes > maxImportSchemes) {
        reading.error = QStringLiteral("Die Datei enthält %1 Farbschemata; mehr als %2 werden "
                                       "nicht gelesen.")
                            .arg(germanNumber(groupSchemes), germanNumber(maxImportSchemes));
        return reading;
    }
    qint64 usedTokens = 0, tokens = 0, groupsLeft = 0;
    QSet<QString> conventions;
    for (const SystemContext& context : system.contexts) {
        const QString prefix = prefixed ? context.name + QLatin1Char('/') : QString();
        std::vector<bool> taken(context.candidates.size(), false);
        QStringList reserved;
        const auto take = [&](const QString& name, int text, int background,
                              const QString& nameWhere) {
            const ColourCandidate& t = context.candidates[size_t(text)];
            const ColourCandidate& b = context.candidates[size_t(background)];
            if (const auto refusal = nameRefusal(name)) {
                reading.refused.push_back({nameWhere, shown(name), *refusal});
                return;
            }
            for (const ColourCandidate* side : {&t, &b})
                if (!side->read) {
                    reading.refused.push_back({side->entry.path, shown(name), side->reason});
                    return;
                }
            reading.schemes.push_back({name, t.entry.colour, b.entry.colour});
            reading.paths.emplace_back(t.entry.path, b.entry.path);
            reading.approximated += (t.entry.approximated ? 1 : 0) + (b.entry.approximated ? 1 : 0);
        };
        for (const GroupScheme& g : context.groupSchemes) {
            const QString name =
                prefix.isEmpty() ? g.name : prefix + shortenedFromLeft(g.name, 30 - prefix.size());
            take(name, g.text, g.background, g.groupPath);
            reserved << name;
            for (const int c : {g.text, g.background})
                if (!taken[size_t(c)]) {
                    taken[size_t(c)] = true;
                    ++usedTokens;
                }
        }
        QStringList paths;
        paths.reserve(qsizetype(context.candidates.size()));
        for (const ColourCandidate& c : context.candidates)
            paths << c.entry.path;
        const Pairing pairing = pairByRole(paths, options.rules, taken);
        if (!pairing.error.isEmpty()) {
            reading = {};
            reading.error = pairing.error;
            return reading;
        }
        if (qint64(reading.schemes.size() + reading.refused.size() + pairing.pairs.size()) >
            maxImportSchemes) {
            const qint64 all = qint64(reading.schemes.size() + pairing.pairs.size());
            reading = {};
            reading.error = QStringLiteral("Die Regeln ergeben %1 Farbschemata; mehr als %2 werden "
                                           "nicht gelesen. Engere Muster (--text, --background) "
                                           "oder --same-role geben weniger.")
                                .arg(germanNumber(all), germanNumber(maxImportSchemes));
            return reading;
        }
        for (const QString& c : pairing.conventions)
            if (!conventions.contains(c + context.name)) {
                conventions.insert(c + context.name);
                reading.conventions
                    << (prefix.isEmpty() ? c : c + QStringLiteral(" (%1)").arg(context.name));
            }
        const QStringList names = pairNames(paths, pairing, options.rules, reserved, prefix);
        for (size_t i = 0; i < pairing.pairs.size(); ++i) {
            const RolePair& p = pairing.pairs[i];
            take(names[qsizetype(i)], p.text, p.background,
                 context.candidates[size_t(p.text)].entry.path);
            for (const int c : {p.text, p.background})
                if (!taken[size_t(c)]) {
                    taken[size_t(c)] = true;
                    ++usedTokens;
                }
        }
        tokens += context.tokens;
        groupsLeft += context.groupsWithoutScheme;
    }
    if (system.contexts.size() == 1 && system.contexts.front().fromTokens) {
        reading.otherTokens = std::max<qint64>(0, tokens - usedTokens);
        reading.otherGroups = groupsLeft;
    }
    if (reading.schemes.empty() && reading.refused.empty())
        reading.nearMisses = system.nearMisses;
    return reading;
}

} // namespace

ImportReading schemesOfDesignSystem(const std::vector<PaletteSource>& sources,
                                    const ImportOptions& options) {
    return schemesOf(readDesignSystem(sources, options.palette, {}), options);
}

ImportReading readSchemeImportFiles(const QStringList& paths, const ImportOptions& options) {
    ImportReading reading;
    if (paths.size() > maxImportFiles) {
        reading.error = QStringLiteral("Es sind %1 Dateien angegeben; mehr als %2 werden nicht "
                                       "zusammen gelesen.")
                            .arg(germanNumber(paths.size()), germanNumber(maxImportFiles));
        return reading;
    }
    std::vector<PaletteSource> sources;
    qint64 bytes = 0;
    for (const QString& path : paths) {
        PaletteSource source{path, {}};
        if (const auto reason = readImportFile(path, source.contents)) {
            reading.error = importFileError(path, *reason);
            return reading;
        }
        bytes += source.contents.size();
        if (bytes > maxImportBytes) {
            reading.error = QStringLiteral("Die Dateien sind zusammen größer als %1 MB.")
                                .arg(maxImportBytes / (1024 * 1024));
            return reading;
        }
        sources.push_back(std::move(source));
    }
    const bool anyTokens = std::any_of(sources.begin(), sources.end(), isTokenSource);
    if (!anyTokens) {
        // Palettes and the JSON format: each on its own, as one file is read.
        if (options.rules.explicitRules() || !options.palette.context.isEmpty() ||
            options.palette.allContexts) {
            reading.error = QStringLiteral("Regeln (--text, --background) und Kontexte "
                                           "(--context) gelten nur für Design-Token-Dateien.");
            return reading;
        }
        for (const PaletteSource& source : sources) {
            ImportReading one = readSchemeImport(source.contents, source.fileName);
            if (!one.error.isEmpty()) {
                ImportReading failed;
                failed.error = importFileError(source.fileName, one.error);
                return failed;
            }
            reading.schemes.insert(reading.schemes.end(), one.schemes.begin(), one.schemes.end());
            reading.refused.insert(reading.refused.end(), one.refused.begin(), one.refused.end());
            reading.approximated += one.approximated;
        }
        if (qint64(reading.schemes.size()) > maxImportSchemes) {
            const qint64 count = qint64(reading.schemes.size());
            reading = {};
            reading.error = QStringLiteral("Die Dateien enthalten %1 Farbschemata; mehr als %2 "
                                           "werden nicht gelesen.")
                                .arg(germanNumber(count), germanNumber(maxImportSchemes));
        }
        return reading;
    }
    ImportReading tokens =
        schemesOf(readDesignSystem(sources, options.palette, readImportFile), options);
    if (!tokens.error.isEmpty() && paths.size() == 1) {
        const QString error = importFileError(paths.front(), tokens.error);
        tokens = {};
        tokens.error = error;
    }
    return tokens;
}

ImportReading readTokenSchemes(const QByteArray& contents, const QString& fileName) {
    return schemesOfDesignSystem(
        {{fileName.isEmpty() ? QStringLiteral("design.tokens.json") : fileName, contents}}, {});
}

PaletteReading readTokenPalette(const QByteArray& contents) {
    return readPalette({{QStringLiteral("design.tokens.json"), contents}});
}

} // namespace pigmora
