#include "design_system.h"

#include "base/german_locale.h"
#include "base/shown_text.h"
#include "ordered_json.h"
#include "palette_readers.h"
#include "token_document.h"

#include <QDir>
#include <QFileInfo>
#include <deque>
#include <memory>

namespace pigmora {

namespace {

using Index = OrderedJson::Index;
using Kind = OrderedJson::Kind;
using Grammar = OrderedJson::Grammar;
constexpr Index none = OrderedJson::none;

struct ParsedFile {
    QString name;
    QByteArray contents;
    OrderedJson json;
    Grammar grammar = Grammar::Json;
};

Grammar grammarOf(const QString& name) {
    return name.toLower().endsWith(QLatin1String(".json5")) ? Grammar::Json5 : Grammar::Json;
}

// Parses the file; the message names it, with line and column.
std::optional<QString> parse(ParsedFile& file) {
    QJsonParseError error;
    file.grammar = grammarOf(file.name);
    if (file.json.parse(file.contents, error, file.grammar))
        return std::nullopt;
    if (file.json.tooManyValues())
        return QStringLiteral("Die Datei enthält mehr als %1 JSON-Werte (Zahlen, Texte, Listen und "
                              "Objekte); so viele werden nicht gelesen.")
            .arg(germanNumber(OrderedJson::maxValues));
    return jsonParseErrorText(error, file.contents, file.json, file.grammar);
}

// An object anywhere in it with a "$" name or a member "value": tokens, new or old.
bool holdsTokenShapes(const OrderedJson& json, Index object, int depth = 0) {
    if (depth > 64)
        return false;
    for (Index child = json.firstChild(object); child != none; child = json.next(child)) {
        if (json.kind(object) == Kind::Object &&
            (json.nameStartsWith(child, '$') || json.nameIs(child, "value")))
            return true;
        if ((json.kind(child) == Kind::Object || json.kind(child) == Kind::Array) &&
            holdsTokenShapes(json, child, depth + 1))
            return true;
    }
    return false;
}

bool isResolverName(const QString& name) {
    const QString lower = name.toLower();
    return lower.endsWith(QLatin1String(".resolver.json")) ||
           lower.endsWith(QLatin1String(".resolver.json5"));
}

QString fileShown(const QString& name) {
    return QDir::toNativeSeparators(name);
}

// The sets and modifiers of a resolver document, turned into the trees of each context.
class ResolverReader {
public:
    ResolverReader(ParsedFile& resolver, std::deque<ParsedFile>& files,
                   const std::vector<PaletteSource>& given, const SourceLoader& loader)
        : resolver_(resolver)
        , json_(resolver.json)
        , files_(files)
        , given_(given)
        , loader_(loader) {}

    // The modifiers and their contexts; false with `error` set when the document is unusable.
    bool read(QString& error);
    const std::vector<ResolverModifier>& modifiers() const { return modifiers_; }
    // The trees of the combination: for each modifier the number of its context.
    bool treesOf(const std::vector<int>& choice, std::vector<TokenDocument::Tree>& trees,
                 QString& error);

private:
    struct Modifier {
        QString name;
        std::vector<std::pair<QString, Index>> contexts; // name, the array of sources
    };
    // resolutionOrder as sets (an array of sources) and modifiers (their number).
    struct Step {
        Index sources = none;
        int modifier = -1;
    };
    bool addSources(Index sources, std::vector<TokenDocument::Tree>& trees, QString& error,
                    int depth);
    const ParsedFile* file(const QString& reference, QString& error);

    ParsedFile& resolver_;
    const OrderedJson& json_;
    std::deque<ParsedFile>& files_;
    const std::vector<PaletteSource>& given_;
    const SourceLoader& loader_;
    std::vector<Modifier> mods_;
    std::vector<ResolverModifier> modifiers_;
    std::vector<Step> order_;
    QHash<QString, const ParsedFile*> loaded_;
    qint64 bytes_ = 0;
};

bool ResolverReader::read(QString& error) {
    const Index root = json_.root();
    const auto refuse = [&error](const QString& why) {
        error = QStringLiteral("Das Resolver-Dokument ist nicht lesbar: %1").arg(why);
        return false;
    };
    if (json_.kind(root) != Kind::Object)
        return refuse(QStringLiteral("es ist kein JSON-Objekt."));
    const Index version = json_.member(root, "version");
    if (version == none || !json_.textIs(version, "2025.10"))
        return refuse(QStringLiteral("„version“ muss „2025.10“ sein."));
    const Index order = json_.member(root, "resolutionOrder");
    if (order == none || json_.kind(order) != Kind::Array)
        return refuse(QStringLiteral("die Liste „resolutionOrder“ fehlt."));
    const Index sets = json_.member(root, "sets");
    const Index modifiers = json_.member(root, "modifiers");
    const auto addModifier = [&](const QString& name, Index object) -> bool {
        const Index contexts = json_.member(object, "contexts");
        if (contexts == none || json_.kind(contexts) != Kind::Object ||
            json_.firstChild(contexts) == none)
            return refuse(
                QStringLiteral("der Modifikator „%1“ hat keine Kontexte.").arg(shownText(name)));
        Modifier m{name, {}};
        ResolverModifier shown{name, {}, {}};
        for (Index c = json_.firstChild(contexts); c != none; c = json_.next(c)) {
            if (json_.kind(c) != Kind::Array)
                return refuse(QStringLiteral("der Kontext „%1“ des Modifikators „%2“ ist keine "
                                             "Liste von Quellen.")
                                  .arg(shownText(json_.name(c, 40)), shownText(name)));
            m.contexts.emplace_back(json_.name(c), c);
            shown.contexts << json_.name(c);
        }
        const Index def = json_.member(object, "default");
        if (def != none) {
            if (json_.kind(def) != Kind::String || !shown.contexts.contains(json_.text(def)))
                return refuse(QStringLiteral("der Vorgabewert „default“ des Modifikators „%1“ "
                                             "ist keiner seiner Kontexte.")
                                  .arg(shownText(name)));
            shown.chosen = json_.text(def);
        } else {
            shown.chosen = shown.contexts.first();
        }
        order_.push_back({none, int(mods_.size())});
        mods_.push_back(std::move(m));
        modifiers_.push_back(std::move(shown));
        return true;
    };
    for (Index step = json_.firstChild(order); step != none; step = json_.next(step)) {
        if (json_.kind(step) != Kind::Object)
            return refuse(QStringLiteral("ein Eintrag von „resolutionOrder“ ist kein Objekt."));
        const Index ref = json_.member(step, "$ref");
        if (ref != none) {
            const QString pointer = json_.kind(ref) == Kind::String ? json_.text(ref) : QString();
            const QStringList parts = pointer.split(QLatin1Char('/'));
            if (parts.size() == 3 && parts[0] == QLatin1String("#") &&
                parts[1] == QLatin1String("sets")) {
                const Index set = json_.member(sets, parts[2].toUtf8());
                const Index sources = json_.member(set, "sources");
                if (sources == none || json_.kind(sources) != Kind::Array)
                    return refuse(QStringLiteral("„%1“ führt zu keiner Menge mit „sources“.")
                                      .arg(shownText(pointer)));
                order_.push_back({sources, -1});
            } else if (parts.size() == 3 && parts[0] == QLatin1String("#") &&
                       parts[1] == QLatin1String("modifiers")) {
                const Index modifier = json_.member(modifiers, parts[2].toUtf8());
                if (modifier == none)
                    return refuse(QStringLiteral("„%1“ führt zu keinem Modifikator.")
                                      .arg(shownText(pointer)));
                if (!addModifier(parts[2], modifier))
                    return false;
            } else {
                return refuse(QStringLiteral("„%1“ in „resolutionOrder“ führt weder zu einer "
                                             "Menge („#/sets/…“) noch zu einem Modifikator "
                                             "(„#/modifiers/…“).")
                                  .arg(shownText(pointer)));
            }
            continue;
        }
        const Index type = json_.member(step, "type");
        const Index name = json_.member(step, "name");
        if (type == none || name == none || json_.kind(name) != Kind::String)
            return refuse(QStringLiteral("ein Eintrag von „resolutionOrder“ ohne „$ref“ braucht "
                                         "„type“ und „name“."));
        if (json_.textIs(type, "set")) {
            const Index sources = json_.member(step, "sources");
            if (sources == none || json_.kind(sources) != Kind::Array)
                return refuse(QStringLiteral("die Menge „%1“ hat keine Liste „sources“.")
                                  .arg(shownText(json_.text(name))));
            order_.push_back({sources, -1});
        } else if (json_.textIs(type, "modifier")) {
            if (!addModifier(json_.text(name), step))
                return false;
        } else {
            return refuse(QStringLiteral("„type“ ist weder „set“ noch „modifier“."));
        }
    }
    return true;
}

const ParsedFile* ResolverReader::file(const QString& reference, QString& error) {
    const QString base = QFileInfo(resolver_.name).path();
    const QString path = QDir::cleanPath(QDir(base).filePath(reference));
    if (const auto known = loaded_.constFind(path); known != loaded_.cend())
        return *known;
    if (loaded_.size() >= maxImportFiles) {
        error = QStringLiteral("Das Resolver-Dokument nennt mehr als %1 Dateien; so viele werden "
                               "nicht gelesen.")
                    .arg(germanNumber(maxImportFiles));
        return nullptr;
    }
    ParsedFile& made = files_.emplace_back();
    made.name = path;
    bool found = false;
    for (const PaletteSource& source : given_)
        if (QDir::cleanPath(source.fileName) == path) {
            made.contents = source.contents;
            found = true;
        }
    if (!found) {
        const auto reason =
            loader_ ? loader_(path, made.contents)
                    : std::optional<QString>(QStringLiteral("Sie ist nicht angegeben."));
        if (reason) {
            error = QStringLiteral("Die Datei %1, die das Resolver-Dokument nennt, kann nicht "
                                   "gelesen werden:\n%2")
                        .arg(fileShown(path), *reason);
            return nullptr;
        }
    }
    bytes_ += made.contents.size();
    if (bytes_ > maxImportBytes) {
        error = QStringLiteral("Die Dateien des Resolver-Dokuments sind zusammen größer als %1 MB.")
                    .arg(maxImportBytes / (1024 * 1024));
        return nullptr;
    }
    if (const auto failed = parse(made)) {
        error = importFileError(path, *failed);
        return nullptr;
    }
    if (made.json.kind(made.json.root()) != Kind::Object) {
        error = importFileError(path, QStringLiteral("Sie ist kein JSON-Objekt aus Gruppen und "
                                                     "Tokens."));
        return nullptr;
    }
    loaded_.insert(path, &made);
    return &made;
}

bool ResolverReader::addSources(Index sources, std::vector<TokenDocument::Tree>& trees,
                                QString& error, int depth) {
    if (depth > 8) {
        error = QStringLiteral("Die Mengen des Resolver-Dokuments verweisen im Kreis aufeinander.");
        return false;
    }
    for (Index source = json_.firstChild(sources); source != none; source = json_.next(source)) {
        if (json_.kind(source) != Kind::Object) {
            error = QStringLiteral("Eine Quelle des Resolver-Dokuments ist kein Objekt.");
            return false;
        }
        const Index ref = json_.member(source, "$ref");
        if (ref == none) { // tokens written in place
            trees.push_back({&json_, source});
            continue;
        }
        const QString reference = json_.kind(ref) == Kind::String ? json_.text(ref) : QString();
        if (reference.startsWith(QLatin1String("#/sets/"))) {
            const Index set =
                json_.member(json_.member(json_.root(), "sets"), reference.mid(7).toUtf8());
            const Index inner = json_.member(set, "sources");
            if (inner == none) {
                error = QStringLiteral("Der Verweis „%1“ führt zu keiner Menge.")
                            .arg(shownText(reference));
                return false;
            }
            if (!addSources(inner, trees, error, depth + 1))
                return false;
            continue;
        }
        if (reference.startsWith(QLatin1Char('#')) || reference.isEmpty()) {
            error = QStringLiteral("Die Quelle „%1“ ist weder eine Datei noch eine Menge; ein "
                                   "Modifikator darf keinen anderen nennen.")
                        .arg(shownText(reference));
            return false;
        }
        const ParsedFile* f = file(reference.section(QLatin1Char('#'), 0, 0), error);
        if (!f)
            return false;
        trees.push_back({&f->json, f->json.root()});
    }
    return true;
}

bool ResolverReader::treesOf(const std::vector<int>& choice,
                             std::vector<TokenDocument::Tree>& trees, QString& error) {
    for (const Step& step : order_) {
        const Index sources = step.modifier < 0
                                  ? step.sources
                                  : mods_[size_t(step.modifier)]
                                        .contexts[size_t(choice[size_t(step.modifier)])]
                                        .second;
        if (!addSources(sources, trees, error, 0))
            return false;
    }
    return true;
}

QString countOf(qint64 n, const QString& one, const QString& many) {
    return n == 1 ? QStringLiteral("1 ") + one : germanNumber(n) + QLatin1Char(' ') + many;
}

// The candidates, group schemes and counts of one context's document.
SystemContext readContext(TokenDocument& doc, DesignSystem& system, bool first) {
    SystemContext context;
    context.fromTokens = true;
    context.tokens = doc.tokenCount();
    std::vector<int> candidateOf(size_t(doc.tokenCount()), -1); // token -> candidate, or -1
    qint64 hexNotes = 0, unresolved = 0;
    QString hexExample, unresolvedExample;
    const auto add = [&](int token, const QString& path) {
        ColourCandidate c;
        c.entry.path = path;
        const TokenColour colour = doc.resolve(token);
        c.read = colour.colour.has_value();
        if (c.read) {
            c.entry.colour = *colour.colour;
            c.entry.approximated = colour.mapped;
        }
        c.reason = colour.reason;
        c.note = colour.note;
        if (!c.note.isEmpty() && !doc.isAlias(token) && hexNotes++ == 0)
            hexExample = path + QStringLiteral(": ") + c.note;
        if (!c.read && c.reason.contains(QStringLiteral("führt zu keinem Token")) &&
            unresolved++ == 0)
            unresolvedExample = path + QStringLiteral(": ") + c.reason;
        c.entry.description = doc.description(token);
        c.entry.deprecated = doc.deprecated(token, c.entry.deprecation);
        context.candidates.push_back(std::move(c));
        return int(context.candidates.size()) - 1;
    };
    for (int t = 0; t < doc.tokenCount(); ++t) {
        if (doc.overridesEarlier(t))
            continue;
        const int winner = doc.overriding(t);
        if (!doc.isColourToken(winner))
            continue;
        candidateOf[size_t(winner)] = add(winner, doc.path(t));
    }
    QStringList refusals;
    for (const TokenDocument::InheritedToken& inherited : doc.inheritedTokens(refusals)) {
        const int winner = doc.overriding(inherited.token);
        if (doc.isColourToken(winner))
            add(winner, inherited.path);
    }
    if (first) {
        for (const QString& r : refusals)
            system.refused.push_back(
                {r.section(QStringLiteral(": "), 0, 0), {}, r.section(QStringLiteral(": "), 1)});
        system.nearMisses += doc.nearMisses();
        if (unresolved > 0)
            system.nearMisses << QStringLiteral("%1 ins Leere, vielleicht in eine Datei, die nicht "
                                                "angegeben ist (etwa %2).")
                                     .arg(countOf(unresolved, QStringLiteral("Verweis führt"),
                                                  QStringLiteral("Verweise führen")),
                                          unresolvedExample);
        if (hexNotes > 0)
            system.notes << QStringLiteral("%1 nicht nach dem Format: %2")
                                .arg(countOf(hexNotes, QStringLiteral("Farbwert ist"),
                                             QStringLiteral("Farbwerte sind")),
                                     hexExample);
    }
    for (const TokenDocument::SchemeGroup& g : doc.schemeGroups()) {
        const int text = candidateOf[size_t(doc.overriding(g.text))];
        const int background = candidateOf[size_t(doc.overriding(g.background))];
        if (text < 0 || background < 0)
            continue;
        context.groupSchemes.push_back({g.name, g.groupPath, text, background});
    }
    context.groupsWithoutScheme = doc.groupsWithoutScheme();
    return context;
}

} // namespace

bool isTokenSource(const PaletteSource& source) {
    const QString lower = source.fileName.toLower();
    const QByteArray start = source.contents.left(256);
    const qsizetype bom = start.startsWith("\xEF\xBB\xBF") ? 3 : 0;
    if (lower.endsWith(QLatin1String(".gpl")) || start.mid(bom).startsWith("GIMP Palette"))
        return false;
    if (lower.endsWith(QLatin1String(".tokens.json")) || lower.endsWith(QLatin1String(".tokens")) ||
        lower.endsWith(QLatin1String(".json5")) || isResolverName(source.fileName))
        return true;
    OrderedJson json;
    QJsonParseError error;
    if (!json.parse(source.contents, error))
        return false; // told by the JSON reader
    const Index root = json.root();
    return json.kind(root) == Kind::Object && json.member(root, "format") == none &&
           holdsTokenShapes(json, root);
}

DesignSystem readDesignSystem(const std::vector<PaletteSource>& sources,
                              const PaletteOptions& options, const SourceLoader& loader) {
    DesignSystem system;
    const auto fail = [&system](const QString& error) {
        system = {};
        system.error = error;
        return system;
    };
    // One file's failures are told by whoever names the file; of several, the file is named.
    const auto fileError = [&sources](const QString& name, const QString& error) {
        return sources.size() == 1 ? error : importFileError(name, error);
    };
    if (sources.size() > size_t(maxImportFiles))
        return fail(QStringLiteral("Es sind %1 Dateien angegeben; mehr als %2 werden nicht "
                                   "zusammen gelesen.")
                        .arg(germanNumber(qint64(sources.size())), germanNumber(maxImportFiles)));
    qint64 bytes = 0;
    for (const PaletteSource& s : sources)
        bytes += s.contents.size();
    if (bytes > maxImportBytes)
        return fail(QStringLiteral("Die Dateien sind zusammen größer als %1 MB.")
                        .arg(maxImportBytes / (1024 * 1024)));

    std::deque<ParsedFile> files; // addresses stay
    std::vector<TokenDocument::Tree> given;
    std::vector<ColourCandidate> plain;
    ParsedFile* resolver = nullptr;
    for (const PaletteSource& source : sources) {
        if (!isTokenSource(source)) {
            const QString lower = source.fileName.toLower();
            const QByteArray start = source.contents.left(256);
            const qsizetype bom = start.startsWith("\xEF\xBB\xBF") ? 3 : 0;
            const bool gpl =
                lower.endsWith(QLatin1String(".gpl")) || start.mid(bom).startsWith("GIMP Palette");
            const PaletteReading read =
                gpl ? readGplPalette(source.contents) : readJsonPalette(source.contents);
            if (!read.error.isEmpty())
                return fail(fileError(source.fileName, read.error));
            for (const Palette& p : read.palettes)
                for (const PaletteEntry& e : p.entries)
                    plain.push_back({e, true, {}, {}});
            for (const RefusedEntry& r : read.refused)
                system.refused.push_back(
                    {QStringLiteral("%1, %2").arg(QFileInfo(source.fileName).fileName(), r.where),
                     r.what, r.reason});
            continue;
        }
        ParsedFile& file = files.emplace_back();
        file.name = source.fileName;
        file.contents = source.contents;
        if (const auto error = parse(file))
            return fail(fileError(source.fileName, *error));
        const Index root = file.json.root();
        const bool isResolver =
            isResolverName(source.fileName) || (file.json.kind(root) == Kind::Object &&
                                                file.json.member(root, "resolutionOrder") != none);
        if (isResolver) {
            if (resolver)
                return fail(QStringLiteral("Es ist mehr als ein Resolver-Dokument angegeben; "
                                           "gelesen wird eines zur Zeit."));
            resolver = &file;
            continue;
        }
        if (file.json.kind(root) != Kind::Object)
            return fail(fileError(source.fileName,
                                  QStringLiteral("Die Datei ist keine Design-Token-Datei: sie ist "
                                                 "kein JSON-Objekt aus Gruppen und Tokens.")));
        given.push_back({&file.json, root});
    }

    // The contexts to read: one without a resolver.
    std::vector<std::pair<QString, std::vector<TokenDocument::Tree>>> contexts;
    if (!resolver) {
        if (!options.context.isEmpty() || options.allContexts)
            return fail(QStringLiteral("Ein Kontext (--context) gilt nur mit einem "
                                       "Resolver-Dokument (*.resolver.json)."));
        contexts.emplace_back(QString(), given);
    } else {
        ResolverReader reader(*resolver, files, sources, loader);
        QString error;
        if (!reader.read(error))
            return fail(fileError(resolver->name, error));
        system.modifiers = reader.modifiers();
        std::vector<int> choice(system.modifiers.size(), 0);
        for (size_t m = 0; m < system.modifiers.size(); ++m)
            choice[m] = int(system.modifiers[m].contexts.indexOf(system.modifiers[m].chosen));
        for (const QString& pick : options.context) {
            const QString modifier = pick.section(QLatin1Char('='), 0, 0).trimmed();
            const QString value = pick.section(QLatin1Char('='), 1).trimmed();
            const auto m =
                std::find_if(system.modifiers.begin(), system.modifiers.end(),
                             [&](const ResolverModifier& r) { return r.name == modifier; });
            if (!pick.contains(QLatin1Char('=')) || m == system.modifiers.end()) {
                QStringList names;
                for (const ResolverModifier& r : system.modifiers)
                    names << r.name;
                return fail(QStringLiteral("Den Kontext „%1“ gibt es nicht: er heißt "
                                           "„Modifikator=Kontext“, und die Modifikatoren sind %2.")
                                .arg(shownText(pick), names.isEmpty()
                                                          ? QStringLiteral("keine")
                                                          : names.join(QStringLiteral(", "))));
            }
            const qsizetype at = m->contexts.indexOf(value);
            if (at < 0)
                return fail(QStringLiteral("Der Modifikator „%1“ hat keinen Kontext „%2“; er hat "
                                           "%3.")
                                .arg(shownText(modifier), shownText(value),
                                     m->contexts.join(QStringLiteral(", "))));
            m->chosen = value;
            choice[size_t(m - system.modifiers.begin())] = int(at);
        }
        std::vector<std::vector<int>> choices;
        if (options.allContexts) {
            qint64 product = 1;
            for (const ResolverModifier& m : system.modifiers) {
                product *= m.contexts.size();
                if (product > maxResolverContexts)
                    return fail(fileError(
                        resolver->name,
                        QStringLiteral("Die Modifikatoren ergeben mehr als %1 Kontexte; so viele "
                                       "werden nicht zusammen gelesen. --context wählt einen.")
                            .arg(maxResolverContexts)));
            }
            std::vector<int> c(system.modifiers.size(), 0);
            for (qint64 n = 0; n < product; ++n) {
                choices.push_back(c);
                for (size_t m = 0; m < c.size(); ++m) {
                    if (++c[m] < system.modifiers[m].contexts.size())
                        break;
                    c[m] = 0;
                }
            }
            for (ResolverModifier& m : system.modifiers)
                m.chosen.clear();
        } else {
            choices.push_back(choice);
        }
        // With a resolver the document is what it names; token files given beside it are
        // where its references are looked up first.
        for (const std::vector<int>& c : choices) {
            std::vector<TokenDocument::Tree> trees;
            if (!reader.treesOf(c, trees, error))
                return fail(error);
            QStringList name;
            for (size_t m = 0; m < c.size(); ++m)
                if (system.modifiers[m].contexts.size() > 1)
                    name << system.modifiers[m].contexts[c[m]];
            contexts.emplace_back(name.join(QLatin1Char('-')), std::move(trees));
        }
    }

    bool first = true;
    for (auto& [name, trees] : contexts) {
        SystemContext context;
        if (!trees.empty()) {
            TokenDocument doc(trees);
            context = readContext(doc, system, first);
            if (first)
                for (int t = 0; t < doc.treeCount(); ++t)
                    if (doc.isLegacy(t)) {
                        system.notes << QStringLiteral("Gelesen im älteren Format ohne „$“ "
                                                       "(„value“, „type“).");
                        break;
                    }
        }
        context.name = name;
        for (const ColourCandidate& c : plain)
            context.candidates.push_back(c);
        system.contexts.push_back(std::move(context));
        first = false;
    }
    return system;
}

} // namespace pigmora
