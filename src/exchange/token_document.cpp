#include "token_document.h"

#include "base/shown_text.h"

#include <QHashFunctions>
#include <algorithm>
#include <numeric>

namespace pigmora {

namespace {

using Index = OrderedJson::Index;
using Kind = OrderedJson::Kind;
constexpr Index none = OrderedJson::none;
constexpr QByteArrayView ourExtension("org.pigmora");
// Groups extending groups that extend groups ... deeper than this are refused as a circle.
constexpr int maxExtendsDepth = 32;

QString shown(const QString& text, int limit = 40) {
    return shownText(text.left(2 * limit + 2), limit);
}

// The names of a path as far as one could lead to a token: none lies deeper than JSON is read,
// and a path of millions of names would otherwise make millions of strings.
QStringList pathNames(QStringView path, QChar separator) {
    QStringList names;
    for (const QStringView name : path.tokenize(separator)) {
        if (names.size() > OrderedJson::maxDepth)
            break;
        names.append(name.toString());
    }
    return names;
}

// The names of a JSON pointer ("#/a/b/$value", "file.json#/a/b"), its escapes undone.
QStringList pointerNames(const QString& pointer) {
    const qsizetype hash = pointer.indexOf(QLatin1Char('#'));
    if (hash < 0 || pointer.mid(hash + 1, 1) != QLatin1String("/"))
        return {};
    QStringList parts = pathNames(QStringView(pointer).mid(hash + 2), QLatin1Char('/'));
    for (QString& part : parts)
        part.replace(QLatin1String("~1"), QLatin1String("/"))
            .replace(QLatin1String("~0"), QLatin1String("~"));
    return parts;
}

// Whether any object of the tree has a member "$value": a tree without is in the older format.
bool holdsDollarValue(const OrderedJson& json, Index object, int depth = 0) {
    if (depth > OrderedJson::maxDepth)
        return false;
    for (Index child = json.firstChild(object); child != none; child = json.next(child)) {
        if (json.nameIs(child, "$value"))
            return true;
        if ((json.kind(child) == Kind::Object || json.kind(child) == Kind::Array) &&
            holdsDollarValue(json, child, depth + 1))
            return true;
    }
    return false;
}

struct Keys {
    QByteArrayView value, type, description, deprecated, extensions;
};
constexpr Keys modernKeys{"$value", "$type", "$description", "$deprecated", "$extensions"};
constexpr Keys legacyKeys{"value", "type", "description", "deprecated", "extensions"};

} // namespace

TokenDocument::TokenDocument(std::vector<Tree> trees)
    : trees_(std::move(trees)) {
    for (const Tree& t : trees_)
        legacy_.push_back(!holdsDollarValue(*t.json, t.root));
    for (size_t t = 0; t < trees_.size(); ++t)
        walk(int(t), trees_[t].root, {}, -1, none);
}

TokenDocument::Type TokenDocument::typeOf(int t, Index object, Type inherited) const {
    const OrderedJson& json = tree(t);
    const Index type = json.member(object, legacy_[size_t(t)] ? legacyKeys.type : modernKeys.type);
    if (type == none || json.kind(type) != Kind::String || json.textIs(type, ""))
        return inherited;
    return {t, type, json.textIs(type, "color") ? Colour::Yes : Colour::No};
}

void TokenDocument::walk(int t, Index object, Type inherited, int self, Index deprecation) {
    const OrderedJson& json = tree(t);
    const bool legacy = legacy_[size_t(t)];
    const Keys& keys = legacy ? legacyKeys : modernKeys;
    const Type type = typeOf(t, object, inherited);
    for (Index child = json.firstChild(object); child != none; child = json.next(child)) {
        if (json.kind(child) != Kind::Object)
            continue; // neither a token nor a group: not the format's, left alone
        const bool root = !legacy && json.nameIs(child, "$root");
        if (!legacy && json.nameStartsWith(child, '$') && !root)
            continue; // the group's own properties ($type, $extensions ...)
        if (legacy && (json.nameIs(child, "attributes") || json.nameIs(child, "extensions") ||
                       json.nameIs(child, "value")))
            continue;
        if (json.member(child, keys.value) != none ||
            (!legacy && json.member(child, "$ref") != none)) {
            Type own = typeOf(t, child, type);
            // The older format names no type where the value shows it: a colour text is a
            // colour, as its tools take it.
            if (legacy && own.node == none) {
                const Index value = json.member(child, keys.value);
                if (json.kind(value) == Kind::String &&
                    !json.text(value).startsWith(QLatin1Char('{')) &&
                    cssTokenColour(json.text(value)).colour)
                    own.colour = Colour::Yes;
            }
            tokens_.push_back({t, child, self, own});
            if (self >= 0 && !root) {
                if (json.nameIs(child, "text"))
                    groups_[size_t(self)].text = int(tokens_.size()) - 1;
                else if (json.nameIs(child, "background"))
                    groups_[size_t(self)].background = int(tokens_.size()) - 1;
            }
        } else if (!root) {
            const Index own = json.member(child, keys.deprecated);
            const Index given = own != none ? own : deprecation;
            groups_.push_back({t, child, self, given});
            walk(t, child, type, int(groups_.size()) - 1, given);
        }
    }
}

QString TokenDocument::pathOf(int t, Index node, int group) const {
    QString path = tree(t).name(node, 40);
    for (; group >= 0; group = groups_[size_t(group)].parent) {
        if (path.size() > 160)
            return QChar(0x2026) + (QLatin1Char('.') + path);
        path = tree(groups_[size_t(group)].tree).name(groups_[size_t(group)].node, 40) +
               QLatin1Char('.') + path;
    }
    return path;
}

QString TokenDocument::path(int token) const {
    const Token& t = tokens_[size_t(token)];
    return pathOf(t.tree, t.node, t.group);
}

Index TokenDocument::valueOf(int token) const {
    const Token& t = tokens_[size_t(token)];
    const OrderedJson& json = tree(t.tree);
    const Index value =
        json.member(t.node, legacy_[size_t(t.tree)] ? legacyKeys.value : modernKeys.value);
    return value != none ? value : t.node; // {"$ref": ...} standing for the whole token
}

QString TokenDocument::description(int token) const {
    const Token& t = tokens_[size_t(token)];
    const OrderedJson& json = tree(t.tree);
    const Index d = json.member(t.node, legacy_[size_t(t.tree)] ? legacyKeys.description
                                                                : modernKeys.description);
    return d != none && json.kind(d) == Kind::String ? json.text(d) : QString();
}

bool TokenDocument::deprecated(int token, QString& text) const {
    const Token& t = tokens_[size_t(token)];
    const OrderedJson& json = tree(t.tree);
    const QByteArrayView key =
        legacy_[size_t(t.tree)] ? legacyKeys.deprecated : modernKeys.deprecated;
    Index d = json.member(t.node, key);
    if (d == none && t.group >= 0)
        d = groups_[size_t(t.group)].deprecation;
    if (d == none || !(json.kind(d) == Kind::True || json.kind(d) == Kind::False ||
                       json.kind(d) == Kind::String))
        return false;
    text = json.kind(d) == Kind::String ? json.text(d) : QString();
    return json.kind(d) != Kind::False;
}

// "{a.b}" or {"$ref": "#/a/b/$value"}, {"$ref": "#/a/b"}: the names of the token referred
// to, from the top.
std::optional<QStringList> TokenDocument::aliasTarget(int t, Index token, Index value) const {
    Q_UNUSED(token);
    const OrderedJson& json = tree(t);
    if (json.kind(value) == Kind::String) {
        const QString text = json.text(value);
        if (text.size() > 2 && text.startsWith(QLatin1Char('{')) && text.endsWith(QLatin1Char('}')))
            return pathNames(QStringView(text).mid(1, text.size() - 2), QLatin1Char('.'));
        return std::nullopt;
    }
    const Index ref = json.member(value, "$ref");
    if (ref == none || json.kind(ref) != Kind::String)
        return std::nullopt;
    QStringList parts = pointerNames(json.text(ref));
    if (!parts.isEmpty() && parts.last() == QLatin1String("$value"))
        parts.removeLast();
    return parts;
}

quint32 TokenDocument::hash(int group, QByteArrayView name) const {
    return quint32(qHashMulti(size_t(QHashSeed::globalSeed()), group, name));
}

// A group's path is known once its parent's first is: the groups are taken one depth at a
// time, and at each depth sorted by the hash of (parent's first, name), so the groups of one
// path stand together, in the order given.
void TokenDocument::findFirstsOfPaths() {
    const size_t count = groups_.size();
    firstOfPath_.assign(count, -1);
    std::vector<int> depth(count);
    int deepest = 0;
    for (size_t g = 0; g < count; ++g) {
        const int parent = groups_[g].parent;
        depth[g] = parent < 0 ? 0 : depth[size_t(parent)] + 1;
        deepest = std::max(deepest, depth[g]);
    }
    std::vector<size_t> start(size_t(deepest) + 2, 0); // where each depth starts in byDepth
    for (const int d : depth)
        ++start[size_t(d) + 1];
    std::partial_sum(start.begin(), start.end(), start.begin());
    std::vector<quint32> byDepth(count);
    std::vector<size_t> next(start.begin(), start.end() - 1);
    for (size_t g = 0; g < count; ++g)
        byDepth[next[size_t(depth[g])]++] = quint32(g);

    const auto nameOf = [this](const Group& g) { return tree(g.tree).nameUtf8(g.node); };
    std::vector<quint64> keys;
    std::vector<quint32> firsts; // of the paths met in a run of one hash
    for (size_t d = 0; d + 1 < start.size(); ++d) {
        keys.clear();
        for (size_t i = start[d]; i < start[d + 1]; ++i) {
            const Group& group = groups_[byDepth[i]];
            keys.push_back(quint64(hash(firstOfPath(group.parent), nameOf(group))) << 32 |
                           byDepth[i]);
        }
        std::sort(keys.begin(), keys.end());
        for (size_t run = 0, end = 0; run < keys.size(); run = end) {
            while (end < keys.size() && keys[end] >> 32 == keys[run] >> 32)
                ++end;
            if (end - run == 1) { // the usual case: a name of its own, its own first
                firstOfPath_[quint32(keys[run])] = int(quint32(keys[run]));
                continue;
            }
            firsts.clear(); // in the order given: of each path, the first met
            for (size_t i = run; i < end; ++i) {
                const auto g = quint32(keys[i]);
                const QByteArray name = nameOf(groups_[g]);
                const auto same = std::find_if(firsts.begin(), firsts.end(), [&](quint32 f) {
                    return firstOfPath(groups_[f].parent) == firstOfPath(groups_[g].parent) &&
                           nameOf(groups_[f]) == name;
                });
                if (same != firsts.end()) {
                    firstOfPath_[g] = int(*same);
                } else {
                    firstOfPath_[g] = int(g);
                    firsts.push_back(g);
                }
            }
        }
    }
}

void TokenDocument::buildIndex() {
    if (indexed_)
        return;
    indexed_ = true;
    constexpr quint32 tokenBit = 1u << 31;
    findFirstsOfPaths();
    overriddenBy_.assign(tokens_.size(), -1);
    overrides_.assign(tokens_.size(), false);
    const auto tokenName = [this](size_t t) {
        return tree(tokens_[t].tree).nameUtf8(tokens_[t].node);
    };
    entries_.reserve(tokens_.size() + groups_.size());
    for (size_t t = 0; t < tokens_.size(); ++t)
        entries_.push_back(quint64(hash(firstOfPath(tokens_[t].group), tokenName(t))) << 32 |
                           ~(quint32(t) | tokenBit));
    for (size_t g = 0; g < groups_.size(); ++g) {
        if (firstOfPath_[g] != int(g))
            continue;
        const Group& group = groups_[g];
        entries_.push_back(
            quint64(hash(firstOfPath(group.parent), tree(group.tree).nameUtf8(group.node))) << 32 |
            ~quint32(g));
    }
    std::sort(entries_.begin(), entries_.end());
    // Of a token path given twice only the last one given stays an entry; the ones before are
    // overridden by it.
    size_t kept = 0;
    for (size_t i = 0; i < entries_.size(); ++i) {
        const quint32 x = ~quint32(entries_[i]);
        bool same = false;
        if (x & tokenBit) {
            for (size_t k = kept; k-- > 0 && entries_[k] >> 32 == entries_[i] >> 32;) {
                const quint32 y = ~quint32(entries_[k]);
                if (!(y & tokenBit))
                    continue;
                const size_t p = y & ~tokenBit, q = x & ~tokenBit;
                if (firstOfPath(tokens_[p].group) == firstOfPath(tokens_[q].group) &&
                    tokenName(p) == tokenName(q)) {
                    overriddenBy_[q] = int(p);
                    overrides_[p] = true;
                    same = true;
                    break;
                }
            }
        }
        if (!same)
            entries_[kept++] = entries_[i];
    }
    entries_.resize(kept);
    // Of the tokens of one path, only the first given is not "later".
    std::vector<int> firstOfTokenPath(tokens_.size(), -1);
    for (size_t q = 0; q < tokens_.size(); ++q) {
        const int p = overriddenBy_[q];
        if (p >= 0 && firstOfTokenPath[size_t(p)] < 0)
            firstOfTokenPath[size_t(p)] = int(q);
    }
    for (size_t q = 0; q < tokens_.size(); ++q) {
        const int p = overriddenBy_[q];
        overrides_[q] = p >= 0 ? firstOfTokenPath[size_t(p)] != int(q) : overrides_[q];
    }
    if (trees_.size() > 1) {
        pathType_.assign(groups_.size(), {});
        for (size_t g = 0; g < groups_.size(); ++g) {
            const Type own = typeOf(groups_[g].tree, groups_[g].node, {});
            if (own.node != none)
                pathType_[size_t(firstOfPath_[g])] = own;
        }
    }
    for (size_t g = 0; g < groups_.size(); ++g) {
        const Group& group = groups_[g];
        if (tree(group.tree).member(group.node, "$extends") != none && !legacy_[size_t(group.tree)])
            extending_.push_back(int(g));
    }
}

bool TokenDocument::isOverridden(int token) {
    buildIndex();
    return overriddenBy_[size_t(token)] >= 0;
}

int TokenDocument::overriding(int token) {
    buildIndex();
    return overriddenBy_[size_t(token)] >= 0 ? overriddenBy_[size_t(token)] : token;
}

bool TokenDocument::overridesEarlier(int token) {
    buildIndex();
    return overrides_[size_t(token)];
}

std::optional<QStringList> TokenDocument::extendsTarget(int group) const {
    // Any group of the path may say it; the last given wins.
    std::optional<QStringList> target;
    for (const int g : extending_) {
        if (firstOfPath(g) != group)
            continue;
        const Group& gr = groups_[size_t(g)];
        const OrderedJson& json = tree(gr.tree);
        const Index ext = json.member(gr.node, "$extends");
        if (json.kind(ext) == Kind::String) {
            const QString text = json.text(ext);
            target = text.startsWith(QLatin1Char('{')) && text.endsWith(QLatin1Char('}'))
                         ? pathNames(QStringView(text).mid(1, text.size() - 2), QLatin1Char('.'))
                         : QStringList();
        } else if (json.kind(ext) == Kind::Object) {
            const Index ref = json.member(ext, "$ref");
            target = ref != none && json.kind(ref) == Kind::String ? pointerNames(json.text(ref))
                                                                   : QStringList();
        }
    }
    return target;
}

TokenDocument::Target TokenDocument::findIn(int group, const QByteArray& name, bool last,
                                            int depth) {
    constexpr quint32 tokenBit = 1u << 31;
    const quint64 h = quint64(hash(group, name)) << 32;
    Target found;
    for (auto e = std::lower_bound(entries_.begin(), entries_.end(), h);
         e != entries_.end() && (*e >> 32) == (h >> 32); ++e) {
        const quint32 entry = ~quint32(*e);
        if (entry & tokenBit) {
            const Token& token = tokens_[entry & ~tokenBit];
            if (last && firstOfPath(token.group) == group &&
                tree(token.tree).nameIs(token.node, name))
                return {int(entry & ~tokenBit), -1};
        } else if (firstOfPath(groups_[entry].parent) == group &&
                   tree(groups_[entry].tree).nameIs(groups_[entry].node, name)) {
            found = {-1, int(entry)};
            break;
        }
    }
    if (found.group >= 0 || group < 0 || extending_.empty() || depth >= maxExtendsDepth)
        return found;
    // Not the group's own: perhaps a token or group it inherits.
    const auto target = extendsTarget(group);
    if (!target || target->isEmpty())
        return found;
    int base = -1;
    for (qsizetype i = 0; i < target->size(); ++i) {
        const Target step = findIn(base, (*target)[i].toUtf8(), false, depth + 1);
        if (step.group < 0)
            return found;
        base = step.group;
    }
    if (base == group)
        return found;
    return findIn(base, name, last, depth + 1);
}

TokenDocument::Target TokenDocument::find(const QStringList& names) {
    buildIndex();
    int group = -1;
    for (qsizetype i = 0; i < names.size(); ++i) {
        const bool last = i == names.size() - 1;
        const Target step = findIn(group, names[i].toUtf8(), last, 0);
        if (step.token >= 0)
            return step;
        if (step.group < 0)
            return {};
        group = step.group;
    }
    return {-1, names.isEmpty() ? -1 : group};
}

bool TokenDocument::isAlias(int token) const {
    const Token& t = tokens_[size_t(token)];
    return aliasTarget(t.tree, t.node, valueOf(token)).has_value();
}

bool TokenDocument::isUntyped(int token) const {
    return tokens_[size_t(token)].type.node == none;
}

bool TokenDocument::isColourToken(int token) {
    if (trees_.size() > 1 && tokens_[size_t(token)].type.node == none &&
        tokens_[size_t(token)].type.colour == Colour::Unknown) {
        // A group of the same path in another file may give the type.
        buildIndex();
        for (int g = firstOfPath(tokens_[size_t(token)].group); g >= 0;
             g = firstOfPath(groups_[size_t(g)].parent))
            if (pathType_[size_t(g)].node != none) {
                tokens_[size_t(token)].type = pathType_[size_t(g)];
                break;
            }
    }
    if (tokens_[size_t(token)].type.colour != Colour::Unknown)
        return tokens_[size_t(token)].type.colour == Colour::Yes;
    // Without a type an alias has its target's. The chain is followed once: each token on it
    // keeps the answer, so many groups sharing a long chain cost its length once.
    std::vector<int> chain;
    bool colour = false;
    for (int current = token;;) {
        Colour& known = tokens_[size_t(current)].type.colour;
        if (known == Colour::Yes || known == Colour::No) {
            colour = known == Colour::Yes;
            break;
        }
        if (known == Colour::Following) {
            colour = true; // a circle: told as refused when it is resolved
            break;
        }
        known = Colour::Following;
        chain.push_back(current);
        const Token& t = tokens_[size_t(current)];
        const auto target = aliasTarget(t.tree, t.node, valueOf(current));
        if (!target)
            break; // a value without a type: no colour
        const Target next = find(*target);
        if (next.token < 0) {
            colour = true; // the alias is told as refused when it is resolved
            break;
        }
        current = next.token;
    }
    for (int t : chain)
        tokens_[size_t(t)].type.colour = colour ? Colour::Yes : Colour::No;
    return colour;
}

std::optional<JsonNode> TokenDocument::followPointer(const QString& pointer, QString& reason) {
    const QStringList names = pointerNames(pointer);
    // The token the pointer goes into, then the way inside its value.
    for (qsizetype i = 1; i <= names.size(); ++i) {
        const Target at = find(names.mid(0, i));
        if (at.token < 0) {
            if (at.group >= 0)
                continue;
            break;
        }
        if (i >= names.size() || names[i] != QLatin1String("$value"))
            break;
        int token = at.token;
        for (int hops = 0; hops < 64; ++hops) { // through the token's own aliases
            const Token& t = tokens_[size_t(token)];
            const auto target = aliasTarget(t.tree, t.node, valueOf(token));
            if (!target)
                break;
            const Target next = find(*target);
            if (next.token < 0)
                break;
            token = next.token;
        }
        const OrderedJson* json = &tree(tokens_[size_t(token)].tree);
        Index node = valueOf(token);
        for (qsizetype k = i + 1; k < names.size() && node != none; ++k) {
            if (json->kind(node) == Kind::Object) {
                node = json->member(node, names[k].toUtf8());
            } else if (json->kind(node) == Kind::Array) {
                bool ok = false;
                const int item = names[k].toInt(&ok);
                node = ok && item >= 0 ? json->firstChild(node) : none;
                for (int n = 0; ok && n < item && node != none; ++n)
                    node = json->next(node);
            } else {
                node = none;
            }
        }
        if (node == none)
            break;
        return JsonNode{json, node};
    }
    reason = QStringLiteral("Der Verweis „%1“ führt zu keinem Wert der gelesenen Dateien.")
                 .arg(shown(pointer));
    return std::nullopt;
}

TokenColour TokenDocument::resolve(int token) {
    const auto readValue = [this](int t) {
        const OrderedJson& json = tree(tokens_[size_t(t)].tree);
        return readTokenColour({&json, valueOf(t)},
                               [this](const QString& pointer, QString& reason) {
                                   return followPointer(pointer, reason);
                               });
    };
    {
        const Token& t = tokens_[size_t(token)];
        if (!aliasTarget(t.tree, t.node, valueOf(token))) // the usual token: its own value
            return readValue(token);
    }
    if (const auto done = resolved_.constFind(token); done != resolved_.cend())
        return *done;
    std::vector<int> chain;
    QHash<int, qsizetype> onChain;
    TokenColour result;
    int current = token;
    for (;;) {
        if (const auto done = resolved_.constFind(current); done != resolved_.cend()) {
            result = *done;
            break;
        }
        if (const auto again = onChain.constFind(current); again != onChain.cend()) {
            // The circle as far as the message shows it; a long one is cut.
            QString loop;
            for (qsizetype i = *again; i <= qsizetype(chain.size()) && loop.size() <= 200; ++i)
                loop += (loop.isEmpty() ? QString() : QStringLiteral(" → ")) +
                        QStringLiteral("{%1}").arg(
                            path(chain[size_t(i < qsizetype(chain.size()) ? i : *again)]));
            result.reason =
                QStringLiteral("Die Verweise bilden einen Kreis: %1.").arg(shown(loop, 200));
            break;
        }
        onChain.insert(current, qsizetype(chain.size()));
        chain.push_back(current);
        const Token& t = tokens_[size_t(current)];
        const auto target = aliasTarget(t.tree, t.node, valueOf(current));
        if (!target) {
            result = readValue(current);
            break;
        }
        const Target next = find(*target);
        if (next.token < 0) {
            const QString shownTarget = shown(target->join(QLatin1Char('.')));
            result.reason =
                next.group >= 0
                    ? QStringLiteral("Der Verweis „{%1}“ führt zu einer Gruppe, nicht zu einem "
                                     "Token.")
                          .arg(shownTarget)
                    : QStringLiteral("Der Verweis „{%1}“ führt zu keinem Token der gelesenen "
                                     "Dateien.")
                          .arg(shownTarget);
            break;
        }
        const Type type = tokens_[size_t(next.token)].type;
        if (type.node != none && type.colour == Colour::No) {
            result.reason = QStringLiteral("Der Verweis „{%1}“ führt zu einem Token vom Typ „%2“, "
                                           "keiner Farbe.")
                                .arg(shown(target->join(QLatin1Char('.'))),
                                     shown(tree(type.tree).text(type.node)));
            break;
        }
        current = next.token;
    }
    for (int t : chain)
        resolved_.insert(t, result);
    return result;
}

std::vector<TokenDocument::SchemeGroup> TokenDocument::schemeGroups() {
    const bool merged = trees_.size() > 1;
    if (merged)
        buildIndex();
    std::vector<SchemeGroup> found;
    // Across trees a group of one path is one group: its "text" and "background" may come from
    // different files, and the last given of each counts.
    std::vector<std::pair<int, int>> roles(groups_.size(), {-1, -1});
    for (size_t i = 0; i < groups_.size(); ++i) {
        const Group& g = groups_[i];
        auto& r = roles[size_t(merged ? firstOfPath_[i] : int(i))];
        if (g.text >= 0)
            r.first = g.text;
        if (g.background >= 0)
            r.second = g.background;
    }
    std::vector<bool> holds(groups_.size(), false);
    for (size_t i = 0; i < groups_.size(); ++i) {
        const auto [text, background] = roles[i];
        if (text < 0 || background < 0 || !isColourToken(text) || !isColourToken(background))
            continue;
        for (int g = int(i); g >= 0 && !holds[size_t(g)];
             g = merged ? firstOfPath(groups_[size_t(g)].parent) : groups_[size_t(g)].parent)
            holds[size_t(g)] = true;
        const Group& group = groups_[i];
        const OrderedJson& json = tree(group.tree);
        QString name;
        for (size_t k = i; k < groups_.size(); ++k) { // the last given name of the path
            if (k != i && (!merged || firstOfPath_[k] != int(i)))
                continue;
            const Group& instance = groups_[k];
            const OrderedJson& j = tree(instance.tree);
            const Index given =
                j.member(j.member(j.member(instance.node, legacy_[size_t(instance.tree)]
                                                              ? legacyKeys.extensions
                                                              : modernKeys.extensions),
                                  ourExtension),
                         "name");
            if (given != none && j.kind(given) == Kind::String)
                name = j.text(given);
            if (!merged)
                break;
        }
        if (name.isNull())
            name = json.name(group.node);
        found.push_back({text, background, name, pathOf(group.tree, group.node, group.parent)});
    }
    groupsWithoutScheme_ = 0;
    for (size_t i = 0; i < groups_.size(); ++i)
        if (!holds[i] && (!merged || firstOfPath_[i] == int(i)))
            ++groupsWithoutScheme_;
    return found;
}

std::vector<TokenDocument::InheritedToken> TokenDocument::inheritedTokens(QStringList& refusals) {
    buildIndex();
    std::vector<InheritedToken> inherited;
    if (extending_.empty())
        return inherited;
    // What each group (first of its path) holds: its tokens and its groups.
    QHash<int, std::vector<int>> tokensIn, groupsIn;
    for (size_t t = 0; t < tokens_.size(); ++t)
        if (overriddenBy_[t] < 0)
            tokensIn[firstOfPath(tokens_[t].group)].push_back(int(t));
    for (size_t g = 0; g < groups_.size(); ++g)
        if (firstOfPath_[g] == int(g))
            groupsIn[firstOfPath(groups_[g].parent)].push_back(int(g));
    const auto groupPath = [this](int g) {
        const Group& group = groups_[size_t(g)];
        return pathOf(group.tree, group.node, group.parent);
    };
    const auto nameOf = [this](int t) {
        return tree(tokens_[size_t(t)].tree).name(tokens_[size_t(t)].node);
    };
    const auto groupName = [this](int g) {
        return tree(groups_[size_t(g)].tree).name(groups_[size_t(g)].node);
    };
    const auto isWithin = [this](int inner, int outer) {
        for (int g = inner; g >= 0; g = firstOfPath(groups_[size_t(g)].parent))
            if (g == outer)
                return true;
        return false;
    };
    // The names below `group` of every token it holds, its own and inherited.
    std::function<void(int, QStringList&, std::vector<std::pair<int, QStringList>>&, int)> collect =
        [&](int group, QStringList& prefix, std::vector<std::pair<int, QStringList>>& out,
            int depth) {
            if (depth > maxExtendsDepth || out.size() > 1000000)
                return;
            for (const int t : tokensIn.value(group)) {
                prefix.append(nameOf(t));
                out.emplace_back(t, prefix);
                prefix.removeLast();
            }
            for (const int g : groupsIn.value(group)) {
                prefix.append(groupName(g));
                collect(g, prefix, out, depth + 1);
                prefix.removeLast();
            }
            const auto target = extendsTarget(group);
            if (!target)
                return;
            const Target base = find(*target);
            if (base.group < 0 || isWithin(group, base.group))
                return;
            std::vector<std::pair<int, QStringList>> more;
            QStringList fresh;
            collect(base.group, fresh, more, depth + 1);
            for (auto& [t, names] : more) {
                QStringList full = prefix + names;
                out.emplace_back(t, std::move(full));
            }
        };
    std::vector<int> seen;
    for (const int g : extending_) {
        const int first = firstOfPath(g);
        if (std::find(seen.begin(), seen.end(), first) != seen.end())
            continue;
        seen.push_back(first);
        const auto target = extendsTarget(first);
        const QString shownPath = groupPath(first);
        if (!target || target->isEmpty()) {
            refusals << QStringLiteral("%1: „$extends“ nennt keine Gruppe als „{pfad}“ oder "
                                       "„$ref“.")
                            .arg(shownPath);
            continue;
        }
        // The chain of groups extended, for a circle.
        int at = first;
        bool circle = false;
        for (int depth = 0; depth <= maxExtendsDepth; ++depth) {
            const auto t = extendsTarget(at);
            if (!t)
                break;
            const Target base = find(*t);
            if (base.group < 0) {
                if (at == first)
                    refusals << QStringLiteral("%1: „$extends“ führt zu %2, keiner Gruppe der "
                                               "gelesenen Dateien.")
                                    .arg(shownPath, base.token >= 0 ? QStringLiteral("einem Token")
                                                                    : QStringLiteral("nichts"));
                break;
            }
            if (base.group == first || isWithin(first, base.group) || depth == maxExtendsDepth) {
                circle = true;
                break;
            }
            at = base.group;
        }
        if (circle) {
            refusals << QStringLiteral("%1: „$extends“ bildet einen Kreis (die Gruppe erweitert "
                                       "sich selbst oder eine Gruppe, in der sie steht).")
                            .arg(shownPath);
            continue;
        }
        const Target base = find(*target);
        if (base.group < 0)
            continue;
        std::vector<std::pair<int, QStringList>> own, from;
        QStringList prefix;
        collect(base.group, prefix, from, 1);
        const QString head = groupPath(first);
        for (const auto& [t, names] : from) {
            // The group's own token of that path wins.
            int group = first;
            bool ownToken = false;
            for (qsizetype i = 0; i < names.size() && group >= 0; ++i) {
                const bool last = i == names.size() - 1;
                const Target step = findIn(group, names[i].toUtf8(), last, maxExtendsDepth);
                if (last)
                    ownToken = step.token >= 0;
                group = step.group;
            }
            if (!ownToken)
                inherited.push_back({t, head + QLatin1Char('.') + names.join(QLatin1Char('.'))});
        }
    }
    return inherited;
}

QStringList TokenDocument::nearMisses() {
    QStringList misses;
    qint64 untyped = 0, otherCase = 0, otherType = 0;
    QString untypedExample, caseExample, typeExample;
    for (size_t t = 0; t < tokens_.size(); ++t) {
        const Token& token = tokens_[t];
        const OrderedJson& json = tree(token.tree);
        const QString name = json.name(token.node, 40);
        if (name.compare(QLatin1String("text"), Qt::CaseInsensitive) == 0 ||
            name.compare(QLatin1String("background"), Qt::CaseInsensitive) == 0) {
            if (name != QLatin1String("text") && name != QLatin1String("background") &&
                otherCase++ == 0)
                caseExample = path(int(t));
        }
        if (token.type.node != none || aliasTarget(token.tree, token.node, valueOf(int(t))))
            continue;
        const Index value = valueOf(int(t));
        const bool colourLike =
            (json.kind(value) == Kind::String && cssTokenColour(json.text(value)).colour) ||
            json.member(value, "colorSpace") != none;
        if (colourLike && untyped++ == 0)
            untypedExample = path(int(t));
    }
    for (const Group& g : groups_) {
        if (g.text < 0 || g.background < 0)
            continue;
        if (isColourToken(g.text) != isColourToken(g.background) && otherType++ == 0)
            typeExample = pathOf(g.tree, g.node, g.parent);
    }
    if (untyped > 0)
        misses << QStringLiteral("%1 ohne „$type“, deren Wert wie eine Farbe aussieht (etwa "
                                 "„%2“); das Format liest ein Token ohne Typ nicht als Farbe. "
                                 "„$type“: „color“ am Token oder an seiner Gruppe hilft.")
                      .arg(untyped == 1 ? QStringLiteral("1 Token")
                                        : QStringLiteral("%1 Tokens").arg(untyped),
                           shown(untypedExample, 80));
    if (otherCase > 0)
        misses << QStringLiteral("%1 „Text“ oder „Background“ in anderer Schreibung (etwa „%2“); "
                                 "gesucht werden „text“ und „background“ in kleinen Buchstaben.")
                      .arg(otherCase == 1 ? QStringLiteral("1 Token heißt")
                                          : QStringLiteral("%1 Tokens heißen").arg(otherCase),
                           shown(caseExample, 80));
    if (otherType > 0)
        misses << QStringLiteral("%1 „text“ und „background“, von denen eines keine Farbe ist "
                                 "(etwa „%2“).")
                      .arg(otherType == 1 ? QStringLiteral("1 Gruppe hat")
                                          : QStringLiteral("%1 Gruppen haben").arg(otherType),
                           shown(typeExample, 80));
    return misses;
}

} // namespace pigmora
