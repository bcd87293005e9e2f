// Schemes as design tokens in the format of the W3C Design Tokens Community Group (2025.10),
// with the values of its Color module.

#include "css_colour/css_colour.h"
#include "css_colour/shown_text.h"
#include "export_writers.h"
#include "ordered_json.h"
#include "scheme_import.h"

#include <QHash>
#include <QSet>
#include <algorithm>
#include <array>
#include <charconv>

namespace pigmora {

namespace {

const QString schemesGroup = QStringLiteral("farbschema");
const QLatin1String ourExtension("org.pigmora");

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
           t[c.green] + ", " + t[c.blue] + "], \"hex\": \"" + cssHexText(c).toLatin1() + "\"}}";
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

struct Token {
    Index node;
    QString path;
    QString type; // its own "$type" or its group's
};

struct Group {
    Index node;
    QString path;
    QString name;
    int parent;                     // in the list of groups; -1 for a group at the top
    int text = -1, background = -1; // its tokens of those names, in the list of tokens
    bool scheme = false;
    bool holdsScheme = false;
};

// The outcome of following a token to its colour.
struct Resolution {
    std::optional<Rgb> colour;
    bool mapped = false; // outside sRGB, gamut-mapped into it
    QString reason;
};

class TokenReader {
public:
    explicit TokenReader(const OrderedJson& json)
        : json_(json) {}

    ImportReading read();

private:
    void walk(Index object, const QString& path, const QString& type, int self);
    bool isColourToken(const Token& token) const;
    std::optional<QString> aliasTarget(Index value) const;
    Resolution resolve(int token);
    Resolution readValue(Index value) const;
    QString typeOf(Index object) const;

    const OrderedJson& json_;
    std::vector<Token> tokens_;
    std::vector<Group> groups_;
    QHash<QString, int> tokenAt_; // path -> token
    QSet<QString> groupPaths_;
    QHash<int, Resolution> resolved_;
};

QString TokenReader::typeOf(Index object) const {
    const Index type = json_.member(object, QLatin1String("$type"));
    return type != OrderedJson::none && json_.kind(type) == Kind::String ? json_.text(type)
                                                                         : QString();
}

// The tokens and groups in `object` (the group `self` in the list, -1 for the top), in order.
void TokenReader::walk(Index object, const QString& path, const QString& inherited, int self) {
    const QString ownType = typeOf(object);
    const QString type = ownType.isEmpty() ? inherited : ownType;
    for (Index child = json_.firstChild(object); child != OrderedJson::none;
         child = json_.next(child)) {
        if (json_.kind(child) != Kind::Object)
            continue; // neither a token nor a group: not the format's, left alone
        const bool root = json_.nameIs(child, QLatin1String("$root"));
        if (json_.nameStartsWith(child, '$') && !root)
            continue; // the group's own properties ($type, $extensions ...)
        const QString name = json_.name(child);
        const QString childPath = path.isEmpty() ? name : path + QLatin1Char('.') + name;
        if (json_.member(child, QLatin1String("$value")) != OrderedJson::none) {
            const QString tokenType = typeOf(child);
            tokenAt_.insert(childPath, int(tokens_.size()));
            tokens_.push_back({child, childPath, tokenType.isEmpty() ? type : tokenType});
            if (self >= 0 && !root) {
                if (name == QLatin1String("text"))
                    groups_[size_t(self)].text = int(tokens_.size()) - 1;
                else if (name == QLatin1String("background"))
                    groups_[size_t(self)].background = int(tokens_.size()) - 1;
            }
        } else if (!root) {
            groups_.push_back({child, childPath, name, self});
            groupPaths_.insert(childPath);
            walk(child, childPath, type, int(groups_.size()) - 1);
        }
    }
}

// "{a.b}" or {"$ref": "#/a/b/$value"}: the path of the token referred to.
std::optional<QString> TokenReader::aliasTarget(Index value) const {
    if (json_.kind(value) == Kind::String) {
        const QString text = json_.text(value);
        if (text.size() > 2 && text.startsWith(QLatin1Char('{')) && text.endsWith(QLatin1Char('}')))
            return text.mid(1, text.size() - 2);
        return std::nullopt;
    }
    const Index ref = json_.member(value, QLatin1String("$ref"));
    if (ref == OrderedJson::none || json_.kind(ref) != Kind::String)
        return std::nullopt;
    QString pointer = json_.text(ref);
    if (!pointer.startsWith(QLatin1String("#/")))
        return QString(); // refers to no token of this file
    QStringList parts = pointer.mid(2).split(QLatin1Char('/'));
    if (parts.last() == QLatin1String("$value"))
        parts.removeLast();
    for (QString& part : parts)
        part.replace(QLatin1String("~1"), QLatin1String("/"))
            .replace(QLatin1String("~0"), QLatin1String("~"));
    return parts.join(QLatin1Char('.'));
}

bool TokenReader::isColourToken(const Token& token) const {
    if (!token.type.isEmpty())
        return token.type == QLatin1String("color");
    // Without a type an alias has its target's.
    const Index value = json_.member(token.node, QLatin1String("$value"));
    QSet<QString> seen;
    for (auto target = aliasTarget(value); target;) {
        const auto found = tokenAt_.constFind(*target);
        if (found == tokenAt_.cend() || seen.contains(*target))
            return true; // the alias is told as refused when it is resolved
        seen.insert(*target);
        const Token& next = tokens_[size_t(*found)];
        if (!next.type.isEmpty())
            return next.type == QLatin1String("color");
        target = aliasTarget(json_.member(next.node, QLatin1String("$value")));
    }
    return false;
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
    const Index space = json_.member(value, QLatin1String("colorSpace"));
    const Index components = json_.member(value, QLatin1String("components"));
    if (space == OrderedJson::none || json_.kind(space) != Kind::String ||
        components == OrderedJson::none)
        return {std::nullopt, false,
                QStringLiteral("Der Farbwert braucht „colorSpace“ und „components“.")};
    const QString spaceName = json_.text(space);
    const auto known =
        std::find_if(std::begin(tokenColourSpaces), std::end(tokenColourSpaces),
                     [&spaceName](const TokenColourSpace& s) { return spaceName == s.name; });
    if (known == std::end(tokenColourSpaces))
        return {std::nullopt, false,
                QStringLiteral("Den Farbraum „%1“ kennt das Format nicht; bekannt sind srgb, "
                               "srgb-linear, display-p3, a98-rgb, prophoto-rgb, rec2020, "
                               "xyz-d65, xyz-d50, hsl, hwb, lab, lch, oklab und oklch.")
                    .arg(shownText(spaceName))};
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
        else if (json_.kind(c) == Kind::String && json_.text(c) == QLatin1String("none"))
            css.add(QLatin1String("none"));
        else
            return false;
        return true;
    };
    int count = 0;
    bool numbers = json_.kind(components) == Kind::Array;
    for (Index c = numbers ? json_.firstChild(components) : OrderedJson::none;
         numbers && c != OrderedJson::none; c = json_.next(c)) {
        if (count > 0)
            css.add(QLatin1String(" "));
        numbers = ++count <= 3 && component(c);
    }
    if (!numbers || count != 3)
        return {std::nullopt, false,
                QStringLiteral("„components“ braucht drei Zahlen (oder „none“).")};
    const Index alpha = json_.member(value, QLatin1String("alpha"));
    if (alpha != OrderedJson::none) {
        if (json_.kind(alpha) != Kind::Number || json_.number(alpha) < 0 || json_.number(alpha) > 1)
            return {std::nullopt, false, QStringLiteral("„alpha“ ist keine Zahl von 0 bis 1.")};
        css.add(QLatin1String(" / "));
        css.add(json_.number(alpha));
    }
    css.add(QLatin1String(")"));
    return cssColour(css.text());
}

Resolution TokenReader::resolve(int token) {
    const Index own = json_.member(tokens_[size_t(token)].node, QLatin1String("$value"));
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
            QStringList loop;
            for (qsizetype i = *again; i < qsizetype(chain.size()); ++i)
                loop << QStringLiteral("{%1}").arg(tokens_[size_t(chain[size_t(i)])].path);
            loop << loop.first();
            result.reason = QStringLiteral("Die Verweise bilden einen Kreis: %1.")
                                .arg(shownText(loop.join(QStringLiteral(" → ")), 200));
            break;
        }
        onChain.insert(current, qsizetype(chain.size()));
        chain.push_back(current);
        const Index value = json_.member(tokens_[size_t(current)].node, QLatin1String("$value"));
        const auto target = aliasTarget(value);
        if (!target) {
            result = readValue(value);
            break;
        }
        const auto found = tokenAt_.constFind(*target);
        if (found == tokenAt_.cend()) {
            result.reason =
                groupPaths_.contains(*target)
                    ? QStringLiteral("Der Verweis „{%1}“ führt zu einer Gruppe, nicht zu einem "
                                     "Token.")
                          .arg(shownText(*target))
                    : QStringLiteral("Der Verweis „{%1}“ führt zu keinem Token der Datei.")
                          .arg(shownText(*target));
            break;
        }
        const Token& next = tokens_[size_t(*found)];
        if (!next.type.isEmpty() && next.type != QLatin1String("color")) {
            result.reason = QStringLiteral("Der Verweis „{%1}“ führt zu einem Token vom Typ „%2“, "
                                           "keiner Farbe.")
                                .arg(shownText(*target), shownText(next.type));
            break;
        }
        current = *found;
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
    walk(json_.root(), QString(), QString(), -1);

    qint64 schemes = 0;
    for (Group& group : groups_) {
        group.scheme = group.text >= 0 && group.background >= 0 &&
                       isColourToken(tokens_[size_t(group.text)]) &&
                       isColourToken(tokens_[size_t(group.background)]);
        if (!group.scheme)
            continue;
        ++schemes;
        for (int g = int(&group - groups_.data()); g >= 0 && !groups_[size_t(g)].holdsScheme;
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
        QString name = group.name;
        const Index extensions = json_.member(group.node, QLatin1String("$extensions"));
        const Index ours = json_.member(extensions, ourExtension);
        const Index given = json_.member(ours, QLatin1String("name"));
        if (given != OrderedJson::none && json_.kind(given) == Kind::String)
            name = json_.text(given);
        if (const auto refusal = nameRefusal(name)) {
            reading.refused.push_back({group.path, shownText(name), *refusal});
            continue;
        }
        ColourScheme scheme{name, {}, {}};
        bool taken = true;
        int mapped = 0;
        for (const auto& [token, colour] : {std::pair{group.text, &scheme.text},
                                            std::pair{group.background, &scheme.background}}) {
            const Resolution r = resolve(token);
            if (!r.colour) {
                reading.refused.push_back({tokens_[size_t(token)].path, shownText(name), r.reason});
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

} // namespace

ImportReading readTokenSchemes(const QByteArray& contents) {
    OrderedJson json;
    QJsonParseError error;
    if (!json.parse(contents, error)) {
        ImportReading reading;
        reading.error = jsonParseErrorText(error);
        return reading;
    }
    return TokenReader(json).read();
}

} // namespace pigmora
