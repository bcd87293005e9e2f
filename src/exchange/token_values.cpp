#include "token_values.h"

#include "base/shown_text.h"
#include "css_colour/css_colour.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace pigmora {

namespace {

using Index = OrderedJson::Index;
using Kind = OrderedJson::Kind;
constexpr Index none = OrderedJson::none;

// The ranges the Color module gives a component.
enum class Range : quint8 { Unit, Hue, Percent, Chroma, Unbounded };

struct TokenColourSpace {
    QLatin1String name;
    bool ownFunction; // hsl(), lab() ...: the module's numbers as they are; else color()
    std::array<Range, 3> ranges;
    std::array<const char*, 3> components; // as a message names them
};

constexpr std::array<const char*, 3> rgbNames{"Rot", "Grün", "Blau"};
constexpr std::array<const char*, 3> xyzNames{"X", "Y", "Z"};
constexpr std::array<Range, 3> unit{Range::Unit, Range::Unit, Range::Unit};

// The colour spaces of the Color module. Those with a CSS function of their own take the
// module's components as bare numbers in the same ranges: hues in degrees, saturation,
// lightness, whiteness and blackness and the lightness of lab() and lch() from 0 to 100, that
// of oklab() and oklch() from 0 to 1.
const TokenColourSpace tokenColourSpaces[] = {
    {QLatin1String("srgb"), false, unit, rgbNames},
    {QLatin1String("srgb-linear"), false, unit, rgbNames},
    {QLatin1String("display-p3"), false, unit, rgbNames},
    {QLatin1String("a98-rgb"), false, unit, rgbNames},
    {QLatin1String("prophoto-rgb"), false, unit, rgbNames},
    {QLatin1String("rec2020"), false, unit, rgbNames},
    {QLatin1String("xyz-d65"), false, unit, xyzNames},
    {QLatin1String("xyz-d50"), false, unit, xyzNames},
    {QLatin1String("hsl"),
     true,
     {Range::Hue, Range::Percent, Range::Percent},
     {"Farbton", "Sättigung", "Helligkeit"}},
    {QLatin1String("hwb"),
     true,
     {Range::Hue, Range::Percent, Range::Percent},
     {"Farbton", "Weißanteil", "Schwarzanteil"}},
    {QLatin1String("lab"),
     true,
     {Range::Percent, Range::Unbounded, Range::Unbounded},
     {"Helligkeit", "a", "b"}},
    {QLatin1String("lch"),
     true,
     {Range::Percent, Range::Chroma, Range::Hue},
     {"Helligkeit", "Buntheit", "Farbton"}},
    {QLatin1String("oklab"),
     true,
     {Range::Unit, Range::Unbounded, Range::Unbounded},
     {"Helligkeit", "a", "b"}},
    {QLatin1String("oklch"),
     true,
     {Range::Unit, Range::Chroma, Range::Hue},
     {"Helligkeit", "Buntheit", "Farbton"}},
};

bool inRange(Range range, double v) {
    switch (range) {
    case Range::Unit:
        return v >= 0 && v <= 1;
    case Range::Hue:
        return v >= 0 && v < 360;
    case Range::Percent:
        return v >= 0 && v <= 100;
    case Range::Chroma:
        return v >= 0;
    case Range::Unbounded:
        return true;
    }
    return false;
}

QString rangeText(Range range) {
    switch (range) {
    case Range::Unit:
        return QStringLiteral("0 bis 1");
    case Range::Hue:
        return QStringLiteral("0 bis unter 360");
    case Range::Percent:
        return QStringLiteral("0 bis 100");
    case Range::Chroma:
        return QStringLiteral("0 und mehr");
    case Range::Unbounded:
        break;
    }
    return QStringLiteral("jede Zahl");
}

// The CSS text of a value object, made in place: it is ASCII and short; the numbers in their
// shortest form that reads back the same double (std::to_chars knows no locale).
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
    char buffer_[160];
    char* at_ = buffer_;
    char* const end_ = buffer_ + sizeof buffer_;
};

TokenColour refused(QString reason) {
    TokenColour c;
    c.reason = std::move(reason);
    return c;
}

bool isHexDigits(QStringView text) {
    return std::all_of(text.begin(), text.end(), [](QChar c) {
        return (c >= QLatin1Char('0') && c <= QLatin1Char('9')) ||
               (c >= QLatin1Char('a') && c <= QLatin1Char('f')) ||
               (c >= QLatin1Char('A') && c <= QLatin1Char('F'));
    });
}

} // namespace

TokenColour cssTokenColour(const QString& css) {
    const CssColourReading reading = readCssColour(css);
    if (!reading.colour)
        return refused(reading.error);
    if (reading.alpha < 1)
        return refused(notOpaqueText(css, reading.alpha) +
                       QStringLiteral(" Ein Farbschema hat nur deckende Farben."));
    TokenColour c;
    c.colour = reading.colour;
    c.mapped = reading.mapped;
    return c;
}

TokenColour readTokenColour(JsonNode value, const PointerFollower& follow) {
    const OrderedJson* json = value.json;
    QString reason;
    // A member's value, through its pointers: none where it is missing, or on failure (with
    // `reason` set).
    const auto deref = [&](JsonNode n) -> std::optional<JsonNode> {
        for (int hops = 0; n.node != none && n.json->kind(n.node) == Kind::Object; ++hops) {
            const Index ref = n.json->member(n.node, "$ref");
            if (ref == none)
                break;
            if (hops >= 16 || n.json->kind(ref) != Kind::String) {
                reason = QStringLiteral("Ein „$ref“ im Farbwert führt zu keinem Wert.");
                return std::nullopt;
            }
            const auto target = follow(n.json->text(ref), reason);
            if (!target)
                return std::nullopt;
            n = *target;
        }
        return n;
    };
    const auto member = [&](QByteArrayView name) -> std::optional<JsonNode> {
        return deref({json, json->member(value.node, name)});
    };
    if (json->kind(value.node) == Kind::String) // a CSS colour, as older tools write it
        return cssTokenColour(json->text(value.node));
    if (json->kind(value.node) != Kind::Object)
        return refused(QStringLiteral("Der Wert ist weder eine Farbe (ein Objekt mit "
                                      "„colorSpace“ und „components“ oder ein Text in CSS) noch "
                                      "ein Verweis."));
    for (Index m = json->firstChild(value.node); m != none; m = json->next(m))
        if (!json->nameIs(m, "colorSpace") && !json->nameIs(m, "components") &&
            !json->nameIs(m, "alpha") && !json->nameIs(m, "hex"))
            return refused(QStringLiteral("Der Farbwert hat ein Feld „%1“, das das Format nicht "
                                          "kennt; es kennt „colorSpace“, „components“, „alpha“ "
                                          "und „hex“.")
                               .arg(shownText(json->name(m, 40))));
    const auto space = member("colorSpace");
    const auto components = member("components");
    if (!space || !components)
        return refused(reason);
    if (space->node == none || space->json->kind(space->node) != Kind::String ||
        components->node == none)
        return refused(QStringLiteral("Der Farbwert braucht „colorSpace“ und „components“."));
    const auto known = std::find_if(
        std::begin(tokenColourSpaces), std::end(tokenColourSpaces), [&](const TokenColourSpace& s) {
            return space->json->textIs(space->node, QByteArrayView(s.name.data(), s.name.size()));
        });
    if (known == std::end(tokenColourSpaces))
        return refused(QStringLiteral("Den Farbraum „%1“ kennt das Format nicht; bekannt sind "
                                      "srgb, srgb-linear, display-p3, a98-rgb, prophoto-rgb, "
                                      "rec2020, xyz-d65, xyz-d50, hsl, hwb, lab, lch, oklab und "
                                      "oklch.")
                           .arg(shownText(space->json->text(space->node).left(100))));
    CssText css;
    if (known->ownFunction) {
        css.add(known->name);
        css.add(QLatin1String("("));
    } else {
        css.add(QLatin1String("color("));
        css.add(known->name);
        css.add(QLatin1String(" "));
    }
    const QString threeNumbers = QStringLiteral("„components“ braucht drei Zahlen (oder „none“).");
    if (components->json->kind(components->node) != Kind::Array)
        return refused(threeNumbers);
    int count = 0;
    std::array<double, 3> values{};
    bool numbers = true; // no "none"
    for (Index c = components->json->firstChild(components->node); c != none;
         c = components->json->next(c), ++count) {
        if (count >= 3)
            return refused(threeNumbers);
        const auto item = deref({components->json, c});
        if (!item)
            return refused(reason);
        if (count > 0)
            css.add(QLatin1String(" "));
        if (item->json->textIs(item->node, "none")) {
            css.add(QLatin1String("none"));
            numbers = false;
            continue;
        }
        if (item->json->kind(item->node) != Kind::Number)
            return refused(threeNumbers);
        const double v = item->json->number(item->node);
        const Range range = known->ranges[size_t(count)];
        if (!std::isfinite(v) || !inRange(range, v))
            return refused(QStringLiteral("Die Komponente %1 (%2) ist %3; im Farbraum %4 "
                                          "erlaubt ist %5.")
                               .arg(count + 1)
                               .arg(QString::fromUtf8(known->components[size_t(count)]),
                                    item->json->numberText(item->node, 40), known->name,
                                    rangeText(range)));
        css.add(v);
        values[size_t(count)] = v;
    }
    if (count != 3)
        return refused(threeNumbers);
    const auto alpha = member("alpha");
    if (!alpha)
        return refused(reason);
    if (alpha->node != none) {
        const OrderedJson& a = *alpha->json;
        if (a.kind(alpha->node) != Kind::Number || !(a.number(alpha->node) >= 0) ||
            a.number(alpha->node) > 1)
            return refused(QStringLiteral("„alpha“ ist keine Zahl von 0 bis 1."));
        // Refused here rather than by the CSS reader, so the message quotes it as written.
        if (a.number(alpha->node) < 1)
            return refused(QStringLiteral("Die Farbe ist nicht deckend: „alpha“ ist %1. Ein "
                                          "Farbschema hat nur deckende Farben.")
                               .arg(a.numberText(alpha->node, 40)));
    }
    // "hex" is only the fallback for tools that cannot read the colour space; the components
    // are the colour. One of other than six digits is told, not refused: real files write
    // "#fff".
    QString note;
    const auto hex = member("hex");
    if (!hex)
        return refused(reason);
    if (hex->node != none) {
        const QString text =
            hex->json->kind(hex->node) == Kind::String ? hex->json->text(hex->node) : QString();
        if (!text.startsWith(QLatin1Char('#')) || text.size() < 2 ||
            !isHexDigits(QStringView(text).mid(1)))
            return refused(QStringLiteral("„hex“ ist keine Farbe in Hex-Schreibweise "
                                          "(„#rrggbb“)."));
        if (text.size() != 7)
            note = QStringLiteral("„hex“ ist „%1“, nicht sechsstellig, wie das Format es "
                                  "verlangt; die Farbe kommt aus „components“.")
                       .arg(shownText(text.left(40)));
    }
    TokenColour colour;
    if (known == std::begin(tokenColourSpaces) && numbers) {
        // sRGB in its range is the colour as it stands: the CSS reader would give the same
        // channels from the text of these numbers, so none is made.
        colour.colour = Rgb{channelFromShare(values[0]), channelFromShare(values[1]),
                            channelFromShare(values[2])};
    } else {
        css.add(QLatin1String(")"));
        colour = cssTokenColour(css.text());
    }
    colour.note = note;
    return colour;
}

} // namespace pigmora
