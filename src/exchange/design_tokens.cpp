// Schemes as design tokens in the format of the W3C Design Tokens Community Group (2025.10),
// with the values of its Color module.

#include "base/german_locale.h"
#include "base/shown_text.h"
#include "css_colour/css_colour.h"
#include "export_writers.h"
#include "ordered_json.h"
#include "palette_readers.h"
#include "scheme_import.h"

#include <QHash>
#include <QHashFunctions>
#include <QStringList>
#include <algorithm>
#include <array>
#include <charconv>
#include <numeric>

namespace pigmora {

namespace {

const QString schemesGroup = QStringLiteral("farbschema");
constexpr QByteArrayView ourExtension("org.pigmora");

// c / 255 with four decimals, which give back every 8-bit channel when multiplied by 255 and
// rounded: 0, 0.0039, ..., 0.502, ..., 1.
const std::array<QByteArray, 256>& componentTexts() {
    static const std::array<QByteArray, 256> texts = [] {
        std::array<QByteArray, 256> made;
        for (int c = 0; c < 256; ++c) {
            QByteArray text = QByteArray::number(c / 255.0, 'f', 4);
            while (text.endsWith('0'))
                text.chop(1);
            if (text.endsWith('.'))
                text.chop(1);
            made[size_t(c)] = text;
        }
        return made;
    }();
    return texts;
}

QByteArray colourValue(Rgb c) {
    const auto& t = componentTexts();
    return "{\"$value\": {\"colorSpace\": \"srgb\", \"components\": [" + t[c.red] + ", " +
           t[c.green] + ", " + t[c.blue] + "], \"hex\": \"" + hashHexText(c).toLatin1() + "\"}}";
}

} // namespace

QStringList tokenGroupNames(const std::vector<ColourScheme>& schemes) {
    return distinctNames(schemes, [](QString name) {
        for (QChar& c : name)
            if (c == QLatin1Char('{') || c == QLatin1Char('}') || c == QLatin1Char('.'))
                c = QLatin1Char('_');
        if (name.isEmpty() || name.startsWith(QLatin1Char('$')))
            name = QLatin1Char('_') + name.mid(1);
        return name;
    });
}

// One scheme a line, as the JSON export writes them.
QByteArray writeTokens(const std::vector<ColourScheme>& schemes) {
    const QStringList groups = tokenGroupNames(schemes);
    QByteArray json = "{\"" + schemesGroup.toUtf8() + "\": {\"$type\": \"color\"";
    json.reserve(json.size() + qsizetype(schemes.size()) * 300);
    for (std::size_t i = 0; i < schemes.size(); ++i) {
        const ColourScheme& s = schemes[i];
        json += ",\n  " + jsonString(groups[qsizetype(i)]) + ": {\"$extensions\": {\"" +
                QByteArray(ourExtension.data(), ourExtension.size()) +
                "\": {\"name\": " + jsonString(s.name) + "}}, \"text\": " + colourValue(s.text) +
                ", \"background\": " + colourValue(s.background) + "}";
    }
    json += "\n}}\n";
    return json;
}

namespace {

using Index = OrderedJson::Index;
using Kind = OrderedJson::Kind;
constexpr Index none = OrderedJson::none;

// Whether a token is a colour: known from its type, or, for an untyped alias, from its target
// once asked ("following" while its chain is followed).
enum class Colour : quint8 { Unknown, Following, Yes, No };

// The "$type" that applies: the node of its text (none: no type) and whether it is "color".
struct Type {
    Index node = none;
    Colour colour = Colour::Unknown;
};

struct Token {
    Index node;
    int group; // in the list of groups; -1 at the top
    Type type; // its own "$type" or its nearest group's; for an untyped token `colour` is the
               // answer of isColourToken() once given
};

struct Group {
    Index node;
    int parent;                     // in the list of groups; -1 for a group at the top
    int text = -1, background = -1; // its tokens of those names, in the list of tokens
    bool scheme = false;
    bool holdsScheme = false;
};

// Where an alias leads: a token, a group, or neither.
struct Target {
    int token = -1;
    bool group = false;
};

// The outcome of following a token to its colour.
struct Resolution {
    std::optional<Rgb> colour;
    bool mapped = false; // outside sRGB, gamut-mapped into it
    QString reason;
};

// A text from the file as a message quotes it; cut before shownText() sees it, which would
// otherwise copy all of it.
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

// The reader keeps no paths: a token's or group's path is made from the names of its groups
// when a message needs it, and an alias is looked up one name at a time.
class TokenReader {
public:
    explicit TokenReader(const OrderedJson& json)
        : json_(json) {}

    ImportReading read();
    PaletteReading palette();

private:
    void walk(Index object, Type inherited, int self);
    Type typeOf(Index object, Type inherited) const;
    bool isColourToken(int token);
    std::optional<QStringList> aliasTarget(Index value) const;
    Target find(const QStringList& names);
    void findFirstsOfPaths();
    quint32 hash(int group, QByteArrayView name) const;
    QString pathOf(Index node, int group) const;
    QString tokenPath(int token) const {
        return pathOf(tokens_[size_t(token)].node, tokens_[size_t(token)].group);
    }
    Resolution resolve(int token);
    Resolution readValue(Index value) const;

    const OrderedJson& json_;
    std::vector<Token> tokens_;
    std::vector<Group> groups_;
    // Every token and group, made on the first alias: the hash of its group and name (high 32
    // bits) and its number, inverted (low 32 bits: a token's with the top bit set), so that
    // among equal hashes the tokens come first and, of equal names, the last in the file.
    std::vector<quint64> entries_;
    // For each group the first group of its path: a group name given twice in a group is one
    // group for aliases, as its path is one, holding the tokens of both.
    std::vector<int> firstOfPath_;
    int firstOfPath(int group) const { return group < 0 ? -1 : firstOfPath_[size_t(group)]; }
    QHash<int, Resolution> resolved_;
};

Type TokenReader::typeOf(Index object, Type inherited) const {
    const Index type = json_.member(object, "$type");
    if (type == none || json_.kind(type) != Kind::String || json_.textIs(type, ""))
        return inherited;
    return {type, json_.textIs(type, "color") ? Colour::Yes : Colour::No};
}

// The tokens and groups in `object` (the group `self` in the list, -1 for the top), in order.
void TokenReader::walk(Index object, Type inherited, int self) {
    const Type type = typeOf(object, inherited);
    for (Index child = json_.firstChild(object); child != none; child = json_.next(child)) {
        if (json_.kind(child) != Kind::Object)
            continue; // neither a token nor a group: not the format's, left alone
        const bool root = json_.nameIs(child, "$root");
        if (json_.nameStartsWith(child, '$') && !root)
            continue; // the group's own properties ($type, $extensions ...)
        if (json_.member(child, "$value") != none) {
            tokens_.push_back({child, self, typeOf(child, type)});
            if (self >= 0 && !root) {
                if (json_.nameIs(child, "text"))
                    groups_[size_t(self)].text = int(tokens_.size()) - 1;
                else if (json_.nameIs(child, "background"))
                    groups_[size_t(self)].background = int(tokens_.size()) - 1;
            }
        } else if (!root) {
            groups_.push_back({child, self});
            walk(child, type, int(groups_.size()) - 1);
        }
    }
}

// "a.b.text"; when long, only its last names ("….b.text"), each cut after 40 characters.
QString TokenReader::pathOf(Index node, int group) const {
    QString path = json_.name(node, 40);
    for (; group >= 0; group = groups_[size_t(group)].parent) {
        if (path.size() > 160)
            return QChar(0x2026) + (QLatin1Char('.') + path);
        path = json_.name(groups_[size_t(group)].node, 40) + QLatin1Char('.') + path;
    }
    return path;
}

// "{a.b}" or {"$ref": "#/a/b/$value"}: the names of the token referred to, from the top.
std::optional<QStringList> TokenReader::aliasTarget(Index value) const {
    if (json_.kind(value) == Kind::String) {
        const QString text = json_.text(value);
        if (text.size() > 2 && text.startsWith(QLatin1Char('{')) && text.endsWith(QLatin1Char('}')))
            return pathNames(QStringView(text).mid(1, text.size() - 2), QLatin1Char('.'));
        return std::nullopt;
    }
    const Index ref = json_.member(value, "$ref");
    if (ref == none || json_.kind(ref) != Kind::String)
        return std::nullopt;
    QString pointer = json_.text(ref);
    if (!pointer.startsWith(QLatin1String("#/")))
        return QStringList(); // refers to no token of this file
    QStringList parts = pathNames(QStringView(pointer).mid(2), QLatin1Char('/'));
    if (!parts.isEmpty() && parts.last() == QLatin1String("$value"))
        parts.removeLast();
    for (QString& part : parts)
        part.replace(QLatin1String("~1"), QLatin1String("/"))
            .replace(QLatin1String("~0"), QLatin1String("~"));
    return parts;
}

quint32 TokenReader::hash(int group, QByteArrayView name) const {
    return quint32(qHashMulti(size_t(QHashSeed::globalSeed()), group, name));
}

// A group's path is known once its parent's first is: the groups are taken one depth at a
// time, and at each depth sorted by the hash of (parent's first, name), so the groups of one
// path stand together, in file order.
void TokenReader::findFirstsOfPaths() {
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

    std::vector<quint64> keys;
    std::vector<quint32> firsts; // of the paths met in a run of one hash
    for (size_t d = 0; d + 1 < start.size(); ++d) {
        keys.clear();
        for (size_t i = start[d]; i < start[d + 1]; ++i) {
            const Group& group = groups_[byDepth[i]];
            keys.push_back(quint64(hash(firstOfPath(group.parent), json_.nameUtf8(group.node)))
                               << 32 |
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
            firsts.clear(); // in file order: of each path, the first met
            for (size_t i = run; i < end; ++i) {
                const auto g = quint32(keys[i]);
                const QByteArray name = json_.nameUtf8(groups_[g].node);
                const auto same = std::find_if(firsts.begin(), firsts.end(), [&](quint32 f) {
                    return firstOfPath(groups_[f].parent) == firstOfPath(groups_[g].parent) &&
                           json_.nameIs(groups_[f].node, name);
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

Target TokenReader::find(const QStringList& names) {
    constexpr quint32 tokenBit = 1u << 31;
    if (entries_.empty() && !(tokens_.empty() && groups_.empty())) {
        findFirstsOfPaths();
        entries_.reserve(tokens_.size() + groups_.size());
        for (size_t t = 0; t < tokens_.size(); ++t)
            entries_.push_back(
                quint64(hash(firstOfPath(tokens_[t].group), json_.nameUtf8(tokens_[t].node)))
                    << 32 |
                ~(quint32(t) | tokenBit));
        for (size_t g = 0; g < groups_.size(); ++g)
            if (firstOfPath_[g] == int(g))
                entries_.push_back(
                    quint64(hash(firstOfPath(groups_[g].parent), json_.nameUtf8(groups_[g].node)))
                        << 32 |
                    ~quint32(g));
        std::sort(entries_.begin(), entries_.end());
        // Of a token name given twice in a path only the first entry is kept (see above), so
        // no lookup wades through copies.
        entries_.erase(std::unique(entries_.begin(), entries_.end(),
                                   [this](quint64 a, quint64 b) {
                                       const quint32 x = ~quint32(a), y = ~quint32(b);
                                       if (a >> 32 != b >> 32 || !(x & y & tokenBit))
                                           return false;
                                       const Token& p = tokens_[x & ~tokenBit];
                                       const Token& q = tokens_[y & ~tokenBit];
                                       return firstOfPath(p.group) == firstOfPath(q.group) &&
                                              json_.nameUtf8(p.node) == json_.nameUtf8(q.node);
                                   }),
                       entries_.end());
    }
    int group = -1;
    for (qsizetype i = 0; i < names.size(); ++i) {
        const QByteArray name = names[i].toUtf8();
        const quint64 h = quint64(hash(group, name)) << 32;
        const bool last = i == names.size() - 1;
        bool found = false;
        for (auto e = std::lower_bound(entries_.begin(), entries_.end(), h);
             e != entries_.end() && (*e >> 32) == (h >> 32) && !found; ++e) {
            const quint32 entry = ~quint32(*e);
            if (entry & tokenBit) {
                const Token& token = tokens_[entry & ~tokenBit];
                if (last && firstOfPath(token.group) == group && json_.nameIs(token.node, name))
                    return {int(entry & ~tokenBit), false};
            } else if (firstOfPath(groups_[entry].parent) == group &&
                       json_.nameIs(groups_[entry].node, name)) {
                group = int(entry);
                found = true;
            }
        }
        if (!found)
            return {};
    }
    return {-1, !names.isEmpty()};
}

bool TokenReader::isColourToken(int token) {
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
        const auto target = aliasTarget(json_.member(tokens_[size_t(current)].node, "$value"));
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

// The colour spaces of the Color module. Those with a CSS function of their own (hsl(),
// lab() ...) take the module's components as bare numbers in the same ranges: hues in degrees,
// saturation, lightness, whiteness and blackness and the lightness of lab() and lch() from 0 to
// 100, that of oklab() and oklch() from 0 to 1. The others are read by color().
struct TokenColourSpace {
    QLatin1String name;
    bool ownFunction;
};
constexpr TokenColourSpace tokenColourSpaces[] = {
    {QLatin1String("srgb"), false},         {QLatin1String("srgb-linear"), false},
    {QLatin1String("display-p3"), false},   {QLatin1String("a98-rgb"), false},
    {QLatin1String("prophoto-rgb"), false}, {QLatin1String("rec2020"), false},
    {QLatin1String("xyz-d65"), false},      {QLatin1String("xyz-d50"), false},
    {QLatin1String("hsl"), true},           {QLatin1String("hwb"), true},
    {QLatin1String("lab"), true},           {QLatin1String("lch"), true},
    {QLatin1String("oklab"), true},         {QLatin1String("oklch"), true},
};

// A CSS text read as a token's colour: only an opaque one is taken.
Resolution cssColour(const QString& css) {
    const CssColourReading reading = readCssColour(css);
    if (!reading.colour)
        return {std::nullopt, false, reading.error};
    if (reading.alpha < 1)
        return {std::nullopt, false,
                notOpaqueText(css, reading.alpha) +
                    QStringLiteral(" Ein Farbschema hat nur deckende Farben.")};
    return {reading.colour, reading.mapped, {}};
}

// The CSS text of a value object: the function of its colour space, three numbers or "none"
// and perhaps the alpha. It is ASCII and short, so it is made in place; the numbers in their
// shortest form that reads back the same double (std::to_chars, which knows no locale).
class CssText {
public:
    void add(QLatin1String text) {
        if (text.size() <= end_ - at_)
            at_ = std::copy(text.begin(), text.end(), at_);
    }
    void add(double number) {
        if (const auto [end, error] = std::to_chars(at_, end_, number); error == std::errc())
            at_ = end;
    }
    QString text() const { return QString::fromLatin1(buffer_, at_ - buffer_); }

private:
    // "color(prophoto-rgb " and four numbers of at most 24 characters with their separators
    char buffer_[160];
    char* at_ = buffer_;
    char* const end_ = buffer_ + sizeof buffer_;
};

Resolution TokenReader::readValue(Index value) const {
    if (json_.kind(value) == Kind::String) // a CSS colour, as older tools write it
        return cssColour(json_.text(value));
    if (json_.kind(value) != Kind::Object)
        return {std::nullopt, false,
                QStringLiteral("Der Wert ist weder eine Farbe (ein Objekt mit „colorSpace“ und "
                               "„components“ oder ein Text in CSS) noch ein Verweis.")};
    const Index space = json_.member(value, "colorSpace");
    const Index components = json_.member(value, "components");
    if (space == none || json_.kind(space) != Kind::String || components == none)
        return {std::nullopt, false,
                QStringLiteral("Der Farbwert braucht „colorSpace“ und „components“.")};
    const auto known = std::find_if(
        std::begin(tokenColourSpaces), std::end(tokenColourSpaces), [&](const TokenColourSpace& s) {
            return json_.textIs(space, QByteArrayView(s.name.data(), s.name.size()));
        });
    if (known == std::end(tokenColourSpaces))
        return {std::nullopt, false,
                QStringLiteral("Den Farbraum „%1“ kennt das Format nicht; bekannt sind srgb, "
                               "srgb-linear, display-p3, a98-rgb, prophoto-rgb, rec2020, "
                               "xyz-d65, xyz-d50, hsl, hwb, lab, lch, oklab und oklch.")
                    .arg(shown(json_.text(space)))};
    // "hex" is only the fallback for tools that cannot read the colour space; the components
    // are the colour.
    CssText css;
    if (known->ownFunction) {
        css.add(known->name);
        css.add(QLatin1String("("));
    } else {
        css.add(QLatin1String("color("));
        css.add(known->name);
        css.add(QLatin1String(" "));
    }
    const auto component = [&](Index c) {
        if (json_.kind(c) == Kind::Number)
            css.add(json_.number(c));
        else if (json_.textIs(c, "none"))
            css.add(QLatin1String("none"));
        else
            return false;
        return true;
    };
    int count = 0;
    bool numbers = json_.kind(components) == Kind::Array;
    for (Index c = numbers ? json_.firstChild(components) : none; numbers && c != none;
         c = json_.next(c)) {
        if (count > 0)
            css.add(QLatin1String(" "));
        numbers = ++count <= 3 && component(c);
    }
    if (!numbers || count != 3)
        return {std::nullopt, false,
                QStringLiteral("„components“ braucht drei Zahlen (oder „none“).")};
    // Refused here rather than by the CSS reader, so the message quotes the alpha as the
    // file writes it.
    const Index alpha = json_.member(value, "alpha");
    if (alpha != none) {
        if (json_.kind(alpha) != Kind::Number || json_.number(alpha) < 0 || json_.number(alpha) > 1)
            return {std::nullopt, false, QStringLiteral("„alpha“ ist keine Zahl von 0 bis 1.")};
        if (json_.number(alpha) < 1)
            return {std::nullopt, false,
                    QStringLiteral("Die Farbe ist nicht deckend: „alpha“ ist %1. Ein Farbschema "
                                   "hat nur deckende Farben.")
                        .arg(json_.numberText(alpha, 40))};
    }
    css.add(QLatin1String(")"));
    return cssColour(css.text());
}

Resolution TokenReader::resolve(int token) {
    const Index own = json_.member(tokens_[size_t(token)].node, "$value");
    if (!aliasTarget(own)) // the usual token: its own value, nothing to follow or keep
        return readValue(own);
    std::vector<int> chain;
    QHash<int, qsizetype> onChain;
    Resolution result;
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
                            tokenPath(chain[size_t(i < qsizetype(chain.size()) ? i : *again)]));
            result.reason =
                QStringLiteral("Die Verweise bilden einen Kreis: %1.").arg(shown(loop, 200));
            break;
        }
        onChain.insert(current, qsizetype(chain.size()));
        chain.push_back(current);
        const Index value = json_.member(tokens_[size_t(current)].node, "$value");
        const auto target = aliasTarget(value);
        if (!target) {
            result = readValue(value);
            break;
        }
        const Target next = find(*target);
        if (next.token < 0) {
            const QString shownTarget = shown(target->join(QLatin1Char('.')));
            result.reason =
                next.group
                    ? QStringLiteral("Der Verweis „{%1}“ führt zu einer Gruppe, nicht zu einem "
                                     "Token.")
                          .arg(shownTarget)
                    : QStringLiteral("Der Verweis „{%1}“ führt zu keinem Token der Datei.")
                          .arg(shownTarget);
            break;
        }
        const Type type = tokens_[size_t(next.token)].type;
        if (type.node != none && type.colour == Colour::No) {
            result.reason =
                QStringLiteral("Der Verweis „{%1}“ führt zu einem Token vom Typ „%2“, "
                               "keiner Farbe.")
                    .arg(shown(target->join(QLatin1Char('.'))), shown(json_.text(type.node)));
            break;
        }
        current = next.token;
    }
    for (int t : chain)
        resolved_.insert(t, result);
    return resolved_[token];
}

ImportReading TokenReader::read() {
    ImportReading reading;
    if (json_.kind(json_.root()) != Kind::Object) {
        reading.error = QStringLiteral("Die Datei ist keine Design-Token-Datei: sie ist kein "
                                       "JSON-Objekt aus Gruppen und Tokens.");
        return reading;
    }
    walk(json_.root(), {}, -1);

    qint64 schemes = 0;
    for (size_t i = 0; i < groups_.size(); ++i) {
        Group& group = groups_[i];
        group.scheme = group.text >= 0 && group.background >= 0 && isColourToken(group.text) &&
                       isColourToken(group.background);
        if (!group.scheme)
            continue;
        ++schemes;
        for (int g = int(i); g >= 0 && !groups_[size_t(g)].holdsScheme;
             g = groups_[size_t(g)].parent)
            groups_[size_t(g)].holdsScheme = true;
    }
    if (schemes > maxImportSchemes) {
        reading.error = QStringLiteral("Die Datei enthält %1 Farbschemata; mehr als %2 werden "
                                       "nicht gelesen.")
                            .arg(germanNumber(schemes), germanNumber(maxImportSchemes));
        return reading;
    }
    reading.otherTokens = qint64(tokens_.size()) - 2 * schemes;
    for (const Group& group : groups_) {
        if (!group.holdsScheme)
            ++reading.otherGroups;
        if (!group.scheme)
            continue;
        const Index extensions = json_.member(group.node, "$extensions");
        const Index ours = json_.member(extensions, ourExtension);
        const Index given = json_.member(ours, "name");
        const QString name = given != none && json_.kind(given) == Kind::String
                                 ? json_.text(given)
                                 : json_.name(group.node);
        if (const auto refusal = nameRefusal(name)) {
            reading.refused.push_back({pathOf(group.node, group.parent), shown(name), *refusal});
            continue;
        }
        ColourScheme scheme{name, {}, {}};
        bool taken = true;
        int mapped = 0;
        for (const auto& [token, colour] : {std::pair{group.text, &scheme.text},
                                            std::pair{group.background, &scheme.background}}) {
            const Resolution r = resolve(token);
            if (!r.colour) {
                reading.refused.push_back({tokenPath(token), shown(name), r.reason});
                taken = false;
                break;
            }
            *colour = *r.colour;
            mapped += r.mapped ? 1 : 0;
        }
        if (taken) {
            reading.schemes.push_back(scheme);
            reading.approximated += mapped;
        }
    }
    return reading;
}

PaletteReading TokenReader::palette() {
    PaletteReading reading;
    if (json_.kind(json_.root()) != Kind::Object) {
        reading.error = QStringLiteral("Die Datei ist keine Design-Token-Datei: sie ist kein "
                                       "JSON-Objekt aus Gruppen und Tokens.");
        return reading;
    }
    walk(json_.root(), {}, -1);
    Palette palette;
    for (size_t t = 0; t < tokens_.size(); ++t) {
        if (!isColourToken(int(t)))
            continue;
        const Resolution r = resolve(int(t));
        const QString path = tokenPath(int(t));
        if (!r.colour) {
            reading.refused.push_back({path, {}, r.reason});
            continue;
        }
        PaletteEntry entry{path, *r.colour, {}, false, {}, r.mapped};
        const Index node = tokens_[t].node;
        if (const Index d = json_.member(node, "$description");
            d != none && json_.kind(d) == Kind::String)
            entry.description = json_.text(d);
        if (const Index d = json_.member(node, "$deprecated"); d != none) {
            entry.deprecated = json_.kind(d) == Kind::True || json_.kind(d) == Kind::String;
            if (json_.kind(d) == Kind::String)
                entry.deprecation = json_.text(d);
        }
        palette.entries.push_back(std::move(entry));
    }
    reading.palettes.push_back(std::move(palette));
    return reading;
}

} // namespace

PaletteReading readTokenPalette(const QByteArray& contents) {
    OrderedJson json;
    QJsonParseError error;
    if (!json.parse(contents, error)) {
        PaletteReading reading;
        reading.error = jsonParseErrorText(error);
        return reading;
    }
    return TokenReader(json).palette();
}

ImportReading readTokenSchemes(const QByteArray& contents) {
    OrderedJson json;
    QJsonParseError error;
    if (!json.parse(contents, error)) {
        ImportReading reading;
        reading.error = json.tooManyValues()
                            ? QStringLiteral("Die Datei enthält mehr als %1 JSON-Werte (Zahlen, "
                                             "Texte, Listen und Objekte); so viele werden nicht "
                                             "gelesen.")
                                  .arg(germanNumber(OrderedJson::maxValues))
                            : jsonParseErrorText(error);
        return reading;
    }
    return TokenReader(json).read();
}

} // namespace pigmora
