#include "css_functions.h"

#include "base/shown_text.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>
#include <span>

namespace pigmora::css {

namespace {

constexpr double inf = std::numeric_limits<double>::infinity();
using Model = SpecifiedColour::Model;

// How one argument is read.
// Divided, not multiplied by a reciprocal, so that a value such as rgb(147.5 0 0) stays
// exactly half-way and rounds up.
struct ComponentRule {
    bool hue = false;
    double percentReference = 0; // what 100% is worth; 0 where no percentage is taken
    double numberDivisor = 1;
    double min = -inf; // the clamping at parse time
    double max = inf;
};

struct FunctionRule {
    const char* name;
    Model model;
    ColourSpace space;
    std::array<ComponentRule, 3> components;
    bool commas; // the comma syntax of earlier CSS is read too
    const char* example;
};

constexpr ComponentRule hueRule{true};
constexpr ComponentRule rgbRule{false, 1, 255, 0, 1};
constexpr ComponentRule saturationRule{false, 100, 1, 0};
constexpr ComponentRule hundredthRule{false, 100};
constexpr ComponentRule labLightness{false, 100, 1, 0, 100};
constexpr ComponentRule okLightness{false, 1, 1, 0, 1};
constexpr ComponentRule rgbSpaceRule{false, 1};

constexpr FunctionRule functionRules[] = {
    {"rgb",
     Model::Rgb,
     ColourSpace::Srgb,
     {rgbRule, rgbRule, rgbRule},
     true,
     "rgb(255 128 0 / 50%)"},
    {"rgba",
     Model::Rgb,
     ColourSpace::Srgb,
     {rgbRule, rgbRule, rgbRule},
     true,
     "rgba(255 128 0 / 50%)"},
    {"hsl",
     Model::Hsl,
     ColourSpace::Srgb,
     {hueRule, saturationRule, hundredthRule},
     true,
     "hsl(30 100% 50%)"},
    {"hsla",
     Model::Hsl,
     ColourSpace::Srgb,
     {hueRule, saturationRule, hundredthRule},
     true,
     "hsla(30 100% 50% / 0.5)"},
    {"hwb",
     Model::Hwb,
     ColourSpace::Srgb,
     {hueRule, hundredthRule, hundredthRule},
     false,
     "hwb(30 10% 5%)"},
    {"lab",
     Model::Absolute,
     ColourSpace::Lab,
     {labLightness, {false, 125}, {false, 125}},
     false,
     "lab(60 40 70)"},
    {"lch",
     Model::Absolute,
     ColourSpace::Lch,
     {labLightness, {false, 150, 1, 0}, hueRule},
     false,
     "lch(60% 80 60)"},
    {"oklab",
     Model::Absolute,
     ColourSpace::Oklab,
     {okLightness, {false, 0.4}, {false, 0.4}},
     false,
     "oklab(0.7 0.1 0.14)"},
    {"oklch",
     Model::Absolute,
     ColourSpace::Oklch,
     {okLightness, {false, 0.4, 1, 0}, hueRule},
     false,
     "oklch(70% 0.17 55)"},
};

struct SpaceName {
    const char* name;
    ColourSpace space;
};
constexpr SpaceName spaceNames[] = {
    {"srgb", ColourSpace::Srgb},
    {"srgb-linear", ColourSpace::SrgbLinear},
    {"display-p3", ColourSpace::DisplayP3},
    {"display-p3-linear", ColourSpace::DisplayP3Linear},
    {"a98-rgb", ColourSpace::A98Rgb},
    {"prophoto-rgb", ColourSpace::ProphotoRgb},
    {"rec2020", ColourSpace::Rec2020},
    {"xyz", ColourSpace::XyzD65},
    {"xyz-d50", ColourSpace::XyzD50},
    {"xyz-d65", ColourSpace::XyzD65},
};
const QString spaceList = QStringLiteral("srgb, srgb-linear, display-p3, display-p3-linear, "
                                         "a98-rgb, prophoto-rgb, rec2020, xyz, xyz-d50 und "
                                         "xyz-d65");

constexpr const char* mathFunctions[] = {
    "calc", "min",  "max",  "clamp", "round", "mod", "rem",  "abs",   "sign", "sin", "cos",
    "tan",  "asin", "acos", "atan",  "atan2", "pow", "sqrt", "hypot", "log",  "exp",
};

bool isKeyword(QStringView name, std::initializer_list<const char*> keywords) {
    return std::any_of(keywords.begin(), keywords.end(),
                       [name](const char* k) { return equalsAscii(name, k); });
}

FunctionReading refused(QString reason, bool notReadHere = false) {
    return {std::nullopt, {std::move(reason), notReadHere}};
}

QString quoted(QStringView text) {
    return QStringLiteral("„%1“").arg(shownText(text.toString(), 20));
}

QString lowerName(QStringView name) {
    QString lower = name.toString();
    for (QChar& c : lower)
        if (c >= QLatin1Char('A') && c <= QLatin1Char('Z'))
            c = QChar(c.unicode() - 'A' + 'a');
    return lower;
}

class ArgumentReader {
public:
    ArgumentReader(const FunctionRule& rule, bool commas)
        : rule_(rule)
        , commas_(commas) {}

    std::optional<double> component(const Token& t, int index) {
        const ComponentRule& r = rule_.components[std::size_t(index)];
        if (isNone(t)) {
            if (commas_)
                return noneWithCommas();
            return 0.0;
        }
        if (r.hue)
            return hue(t);
        double v = 0;
        if (t.type == TokenType::Number)
            v = t.value / r.numberDivisor;
        else if (t.type == TokenType::Percentage && r.percentReference != 0)
            v = t.value * r.percentReference / 100;
        else
            return fail(QStringLiteral("%1 ist kein Wert von %2(); dort steht eine Zahl%3.")
                            .arg(quoted(t.text), QString::fromLatin1(rule_.name),
                                 r.percentReference != 0
                                     ? QStringLiteral(" oder eine Prozentangabe")
                                     : QString()));
        return std::clamp(v, r.min, r.max);
    }

    std::optional<double> alpha(const Token& t) {
        if (isNone(t)) {
            if (commas_)
                return noneWithCommas();
            return 0.0;
        }
        if (t.type == TokenType::Number)
            return std::clamp(t.value, 0.0, 1.0);
        if (t.type == TokenType::Percentage)
            return std::clamp(t.value / 100, 0.0, 1.0);
        return fail(QStringLiteral("%1 ist keine Deckkraft (Alpha); die ist eine Zahl von 0 bis "
                                   "1 oder eine Prozentangabe.")
                        .arg(quoted(t.text)));
    }

    Refusal refusal;

private:
    static bool isNone(const Token& t) {
        return t.type == TokenType::Ident && equalsAscii(t.name, "none");
    }

    std::nullopt_t noneWithCommas() {
        return fail(QStringLiteral("„none“ gibt es nur in der Schreibweise ohne Kommas, etwa %1.")
                        .arg(QString::fromLatin1(rule_.example)));
    }

    std::optional<double> hue(const Token& t) {
        double degrees = 0;
        if (t.type == TokenType::Number) {
            degrees = t.value;
        } else if (t.type == TokenType::Dimension) {
            if (equalsAscii(t.name, "deg"))
                degrees = t.value;
            else if (equalsAscii(t.name, "grad"))
                degrees = t.value * 0.9;
            else if (equalsAscii(t.name, "rad"))
                degrees = t.value * (180 / std::numbers::pi);
            else if (equalsAscii(t.name, "turn"))
                degrees = t.value * 360;
            else
                return fail(QStringLiteral("%1 ist kein Farbton: Winkel stehen in deg, rad, grad "
                                           "oder turn.")
                                .arg(quoted(t.text)));
        } else {
            return fail(QStringLiteral("%1 ist kein Farbton; der ist eine Zahl (in Grad) oder ein "
                                       "Winkel wie 120deg, 0.5turn.")
                            .arg(quoted(t.text)));
        }
        if (!std::isfinite(degrees))
            return 0.0;
        degrees = std::fmod(degrees, 360);
        return degrees < 0 ? degrees + 360 : degrees;
    }

    std::nullopt_t fail(QString reason) {
        refusal = {std::move(reason), false};
        return std::nullopt;
    }

    const FunctionRule& rule_;
    bool commas_;
};

// Legacy syntax: "a, b, c" or "a, b, c, alpha".
std::optional<QString> legacyShapeRefusal(const FunctionRule& rule, std::span<const Token> args) {
    const QString name = QString::fromLatin1(rule.name);
    const bool shape = (args.size() == 5 || args.size() == 7) &&
                       std::all_of(args.begin(), args.end(), [&args](const Token& t) {
                           const bool separator = (&t - args.data()) % 2 == 1;
                           return separator == (t.type == TokenType::Comma);
                       });
    if (shape)
        return std::nullopt;
    const bool mixed =
        std::adjacent_find(args.begin(), args.end(), [](const Token& a, const Token& b) {
            return a.type != TokenType::Comma && b.type != TokenType::Comma;
        }) != args.end();
    if (mixed)
        return QStringLiteral("Die Werte sind teils durch Kommas, teils durch Leerzeichen "
                              "getrennt; %1() nimmt nur eines von beiden.")
            .arg(name);
    return QStringLiteral("%1() mit Kommas nimmt drei Werte und die Deckkraft, etwa %2.")
        .arg(name, rule.model == Model::Rgb
                       ? QStringLiteral("rgb(255, 128, 0) oder rgba(255, 128, 0, 0.5)")
                       : QStringLiteral("hsl(30, 100%, 50%) oder hsla(30, 100%, 50%, 0.5)"));
}

// The components of rgb() with commas are all numbers or all percentages; saturation and
// lightness of hsl() are percentages.
std::optional<QString> legacyTypeRefusal(const FunctionRule& rule, std::span<const Token> args) {
    const QString name = QString::fromLatin1(rule.name);
    if (rule.model == Model::Rgb) {
        for (const std::size_t i : {2, 4})
            if (args[i].type != args[0].type)
                return QStringLiteral("Mit Kommas sind die drei Werte von %1() alle Zahlen oder "
                                      "alle Prozentangaben, nicht gemischt wie %2 und %3.")
                    .arg(name, quoted(args[0].text), quoted(args[i].text));
    } else {
        for (const std::size_t i : {2, 4})
            if (args[i].type != TokenType::Percentage)
                return QStringLiteral("Mit Kommas sind Sättigung und Helligkeit von %1() "
                                      "Prozentangaben, nicht %2; etwa hsl(30, 100%, 50%).")
                    .arg(name, quoted(args[i].text));
    }
    return std::nullopt;
}

// Anything but plain values inside the parentheses: nested functions, parentheses, hashes.
std::optional<FunctionReading> nestingRefusal(const TokenList& tokens) {
    for (int i = 1; i < tokens.count; ++i) {
        const Token& t = tokens[i];
        if (t.type == TokenType::Function) {
            if (isKeyword(t.name, {"var", "env", "attr"}))
                return refused(QStringLiteral("%1() verweist auf einen Wert, den nur das "
                                              "Stylesheet kennt.")
                                   .arg(lowerName(t.name)),
                               true);
            if (std::any_of(std::begin(mathFunctions), std::end(mathFunctions),
                            [&t](const char* name) { return equalsAscii(t.name, name); }))
                return refused(QStringLiteral("Berechnete Werte wie %1() werden nicht gelesen, "
                                              "nur Zahlen.")
                                   .arg(lowerName(t.name)),
                               true);
            return refused(QStringLiteral("%1 gehört nicht in eine Farbe.").arg(quoted(t.text)));
        }
        if (t.type == TokenType::CloseParen && i + 1 < tokens.count) {
            const QStringView rest =
                tokens.source.mid(tokens[i + 1].text.data() - tokens.source.data());
            return refused(QStringLiteral("Nach der Farbe steht noch %1.").arg(quoted(rest)));
        }
        if (t.type == TokenType::OpenParen || t.type == TokenType::Delim ||
            t.type == TokenType::Hash)
            return refused(QStringLiteral("%1 gehört nicht in eine Farbe.").arg(quoted(t.text)));
    }
    if (tokens.tooMany)
        return refused(QStringLiteral("Die Klammer enthält zu viele Werte für eine Farbe."));
    if (tokens[tokens.count - 1].type != TokenType::CloseParen)
        return refused(QStringLiteral("Es fehlt die schließende Klammer „)“."));
    return std::nullopt;
}

FunctionReading readArguments(const FunctionRule& rule, std::span<const Token> args) {
    const bool commas = std::any_of(args.begin(), args.end(),
                                    [](const Token& t) { return t.type == TokenType::Comma; });
    if (commas && !rule.commas)
        return refused(QStringLiteral("%1() trennt seine Werte durch Leerzeichen, nicht durch "
                                      "Kommas, etwa %2.")
                           .arg(QString::fromLatin1(rule.name), QString::fromLatin1(rule.example)));
    if (commas) {
        if (auto reason = legacyShapeRefusal(rule, args))
            return refused(*reason);
    } else if (!(args.size() == 3 || (args.size() == 5 && args[3].type == TokenType::Slash))) {
        return refused(QStringLiteral("%1() nimmt drei Werte, durch Leerzeichen getrennt, und "
                                      "nach „/“ die Deckkraft, etwa %2.")
                           .arg(QString::fromLatin1(rule.name), QString::fromLatin1(rule.example)));
    }
    const int step = commas ? 2 : 1;
    ArgumentReader reader(rule, commas);
    SpecifiedColour colour{rule.model, rule.space, {}, 1};
    for (int i = 0; i < 3; ++i) {
        const auto v = reader.component(args[std::size_t(i * step)], i);
        if (!v)
            return {std::nullopt, reader.refusal};
        colour.components[std::size_t(i)] = *v;
    }
    if (args.size() == (commas ? 7u : 5u)) {
        const auto a = reader.alpha(args.back());
        if (!a)
            return {std::nullopt, reader.refusal};
        colour.alpha = *a;
    }
    if (commas)
        if (auto reason = legacyTypeRefusal(rule, args))
            return refused(*reason);
    return {colour, {}};
}

} // namespace

FunctionReading readColourFunction(const TokenList& tokens) {
    const Token& function = tokens[0];
    if (equalsAscii(function.name, "color-mix"))
        return refused(QStringLiteral("color-mix() mischt Farben erst im Browser."), true);
    const bool isColor = equalsAscii(function.name, "color");
    const FunctionRule* rule = nullptr;
    for (const FunctionRule& r : functionRules)
        if (equalsAscii(function.name, r.name))
            rule = &r;
    if (!rule && !isColor)
        return refused(QStringLiteral("Die Funktion „%1()“ gibt keine Farbe an; gelesen werden "
                                      "rgb(), rgba(), hsl(), hsla(), hwb(), lab(), lch(), "
                                      "oklab(), oklch() und color().")
                           .arg(shownText(function.name.toString(), 20)));
    if (auto refusal = nestingRefusal(tokens))
        return *refusal;

    std::span<const Token> args(tokens.tokens.data() + 1, std::size_t(tokens.count - 2));
    if (!args.empty() && args[0].type == TokenType::Ident && equalsAscii(args[0].name, "from"))
        return refused(QStringLiteral("Relative Farben („from“) hängen von einer anderen Farbe "
                                      "ab."),
                       true);
    if (rule)
        return readArguments(*rule, args);

    if (args.empty() || args[0].type != TokenType::Ident)
        return refused(QStringLiteral("color() nennt zuerst den Farbraum, etwa color(display-p3 "
                                      "1 0.5 0)."));
    const QStringView space = args[0].name;
    const auto known =
        std::find_if(std::begin(spaceNames), std::end(spaceNames),
                     [space](const SpaceName& s) { return equalsAscii(space, s.name); });
    if (known == std::end(spaceNames))
        return refused(space.startsWith(u"--")
                           ? QStringLiteral("Eigene Farbräume wie %1 beschreibt nur das "
                                            "Stylesheet.")
                                 .arg(quoted(space))
                           : QStringLiteral("Den Farbraum %1 kennt color() nicht; bekannt sind "
                                            "%2.")
                                 .arg(quoted(space), spaceList),
                       space.startsWith(u"--"));
    const FunctionRule colorRule{"color",      Model::Absolute,
                                 known->space, {rgbSpaceRule, rgbSpaceRule, rgbSpaceRule},
                                 false,        "color(display-p3 1 0.5 0)"};
    return readArguments(colorRule, args.subspan(1));
}

} // namespace pigmora::css
