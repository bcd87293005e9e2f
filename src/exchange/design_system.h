#pragma once

#include "palette.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <vector>

// A design system's files read as one: token files (JSON or JSON5) as one document, a resolver
// document's sets and modifiers in the contexts asked for, GIMP palettes and the JSON format
// beside them. What palettes and the token import are made from. No widgets.
namespace pigmora {

// Every colour token of a context, read or refused.
struct ColourCandidate {
    PaletteEntry entry; // the path always; the rest when it was read
    bool read = false;
    QString reason; // why not, when not read
    QString note;   // what does not conform and was read anyway
};

// A group that today's rule makes a scheme: "text" and "background" in it.
struct GroupScheme {
    QString name;      // its "$extensions"."org.pigmora".name, else the group's name
    QString groupPath; // as messages show it
    int text;          // in the candidates
    int background;
};

struct SystemContext {
    QString name;                            // "dark", "dark-compact"; empty without a resolver
    std::vector<ColourCandidate> candidates; // in document order
    std::vector<GroupScheme> groupSchemes;
    qint64 tokens = 0;              // all tokens, of every type
    qint64 groupsWithoutScheme = 0; // groups holding no group scheme at any depth
    bool fromTokens = false;        // read from token files (rather than palettes)
};

struct DesignSystem {
    std::vector<SystemContext> contexts;
    std::vector<ResolverModifier> modifiers;
    std::vector<RefusedEntry> refused; // of the document: an "$extends" that leads nowhere ...
    QStringList notes;
    QStringList nearMisses;
    QString error;
};

// Reads a file a resolver document names (relative to the resolver's folder): its contents, or
// why not.
using SourceLoader = std::function<std::optional<QString>(const QString& path, QByteArray&)>;

inline constexpr int maxImportFiles = 1000;
inline constexpr int maxResolverContexts = 64;

DesignSystem readDesignSystem(const std::vector<PaletteSource>& sources,
                              const PaletteOptions& options, const SourceLoader& loader);

// Whether the file (by name and start) is a design-token file rather than a palette or the
// program's own JSON format.
bool isTokenSource(const PaletteSource& source);

} // namespace pigmora
