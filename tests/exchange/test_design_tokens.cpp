#include "base/hex_digit.h"
#include "css_colour/css_colour.h"
#include "exchange/design_system.h"
#include "exchange/ordered_json.h"
#include "exchange/palette.h"
#include "exchange/token_document.h"
#include "exchange/token_import.h"
#include "exchange/token_pairing.h"
#include "exchange/token_values.h"

#include <QTemporaryDir>
#include <QTest>
#include <cmath>

using namespace pigmora;

namespace {

using Files = QList<QPair<QString, QByteArray>>;

std::vector<PaletteSource> sourcesOf(const Files& files) {
    std::vector<PaletteSource> sources;
    for (const auto& [name, contents] : files)
        sources.push_back({name, contents});
    return sources;
}

// "name #text #background" of each scheme, in order.
QStringList schemeTexts(const ImportReading& reading) {
    QStringList out;
    for (const ColourScheme& s : reading.schemes)
        out << s.name + ' ' + hashHexText(s.text) + ' ' + hashHexText(s.background);
    return out;
}

} // namespace

// Design systems as real ones publish them, each read (perhaps from several files, perhaps
// through a resolver) into palettes and paired by role into schemes; hostile ones refused whole
// with a reason. Each job is tried through its own seam: the value reader, the document with
// its aliases, the pairing, the palette and the import on top.
class TestDesignTokens : public QObject {
    Q_OBJECT
private slots:
    void designSystems_data();
    void designSystems();
    void hostileDesignSystems_data();
    void hostileDesignSystems();
    void colourValues_data();
    void colourValues();
    void srgbValuesAsTheCssReaderReadsThem();
    void grammars_data();
    void grammars();
    void documentAcrossTrees();
    void paletteEntries();
    void namesStayDistinctAndShort();
};

void TestDesignTokens::designSystems_data() {
    QTest::addColumn<Files>("files");
    QTest::addColumn<QStringList>("options"); // "text=GLOB", "background=GLOB", "same", "context=X"
    QTest::addColumn<QStringList>("schemes");
    QTest::addColumn<QString>("convention"); // part of one of the conventions told

    const QByteArray primitives = R"({"base": {"color": {"$type": "color",
        "neutral": {"0": {"$value": {"colorSpace": "srgb", "components": [1, 1, 1]}},
                    "13": {"$value": {"colorSpace": "srgb", "components": [0, 0, 0], "hex": "#000"}}},
        "red": {"5": {"$value": "#d1242f"}}, "blue": {"5": {"$value": "#0969da"}}}}})";
    const QByteArray roles = R"({"fgColor": {"$type": "color",
            "default": {"$value": "{base.color.neutral.13}"}, "danger": {"$value": "{base.color.red.5}"},
            "accent": {"$value": "{base.color.blue.5}"}},
        "bgColor": {"$type": "color", "default": {"$value": "{base.color.neutral.0}"},
            "danger": {"$value": {"$ref": "#/base/color/neutral/0"}}}})";
    QTest::newRow("role-first tree over two files, aliases across them")
        << Files{{"primitives.tokens.json", primitives}, {"roles.tokens.json", roles}}
        << QStringList{} << QStringList{"default #000000 #ffffff", "danger #d1242f #ffffff"}
        << "„fgColor.X“ und „bgColor.X“: 2 Paare";
    QTest::newRow("every text with every background")
        << Files{{"primitives.tokens.json", primitives}, {"roles.tokens.json", roles}}
        << QStringList{"text=fgColor.*", "background=bgColor.*"}
        << QStringList{"default #000000 #ffffff",
                       "default auf danger #000000 #ffffff",
                       "danger auf default #d1242f #ffffff",
                       "danger #d1242f #ffffff",
                       "accent auf default #0969da #ffffff",
                       "accent auf danger #0969da #ffffff"}
        << "Regel: Text „fgColor.*“";
    QTest::newRow("the same role only")
        << Files{{"primitives.tokens.json", primitives}, {"roles.tokens.json", roles}}
        << QStringList{"text=fgColor.*", "background=bg*.*", "same"}
        << QStringList{"default #000000 #ffffff", "danger #d1242f #ffffff"} << "gleiche Rolle";
    QTest::newRow("$root tokens of a role-first tree")
        << Files{{"brand.tokens.json", R"({"color": {"$type": "color",
             "text": {"brand": {"$root": {"$value": "#ffffff"}, "hover": {"$value": "#eeeeee"}}},
             "background": {"brand": {"$root": {"$value": "#2c2c2c"}, "hover": {"$value": "#1e1e1e"}}}}})"}}
        << QStringList{} << QStringList{"brand #ffffff #2c2c2c", "hover #eeeeee #1e1e1e"}
        << "„text.X“ und „background.X“: 2 Paare";
    QTest::newRow("on-X, onX and XText beside their partners")
        << Files{{"m.tokens.json", R"({"sys": {"$type": "color", "primary": {"$value": "#6750a4"},
             "on-primary": {"$value": "#ffffff"}, "secondary": {"$value": "#625b71"},
             "onSecondary": {"$value": "#fffffe"}, "bodyText": {"$value": "#111111"},
             "bodyBackground": {"$value": "#eeeeee"}}})"}}
        << QStringList{}
        << QStringList{"primary #ffffff #6750a4", "secondary #fffffe #625b71",
                       "body #111111 #eeeeee"}
        << "„on-X“ und „X“: 1 Paar";
    QTest::newRow("today's rule wins, the rest is paired by role")
        << Files{{"t.tokens.json", R"({"$type": "color",
             "card": {"text": {"$value": "#010101"}, "background": {"$value": "#fefefe"}},
             "fg": {"card": {"$value": "#020202"}}, "bg": {"card": {"$value": "#fdfdfd"}}})"}}
        << QStringList{} << QStringList{"card #010101 #fefefe", "card-2 #020202 #fdfdfd"}
        << "„fg.X“ und „bg.X“";
    QTest::newRow("more of the path where a name repeats")
        << Files{{"t.tokens.json", R"({"$type": "color",
             "button": {"primary": {"fg": {"$value": "#000001"}, "bg": {"$value": "#fffff1"}}},
             "link": {"primary": {"fg": {"$value": "#000002"}, "bg": {"$value": "#fffff2"}}},
             "alert": {"fg": {"$value": "#000003"}, "bg": {"$value": "#fffff3"}}})"}}
        << QStringList{}
        << QStringList{"button.primary #000001 #fffff1", "link.primary #000002 #fffff2",
                       "alert #000003 #fffff3"}
        << "Geschwister „fg“ und „bg“: 3 Paare";
    const QByteArray light = R"({"fgColor": {"$type": "color", "default": {"$value": "#111111"}},
                                  "bgColor": {"$type": "color", "default": {"$value": "#fafafa"}}})";
    const QByteArray dark = R"({"fgColor": {"default": {"$value": "#fafafa"}},
                                 "bgColor": {"default": {"$value": "#111111"}}})";
    const QByteArray resolver = R"({"version": "2025.10",
        "modifiers": {"theme": {"contexts": {"light": [{"$ref": "light.tokens.json"}],
            "dark": [{"$ref": "light.tokens.json"}, {"$ref": "dark.tokens.json"}]},
            "default": "light"}},
        "resolutionOrder": [{"$ref": "#/modifiers/theme"}]})";
    const Files themed{
        {"ds.resolver.json", resolver}, {"light.tokens.json", light}, {"dark.tokens.json", dark}};
    QTest::newRow("resolver, its default")
        << themed << QStringList{} << QStringList{"default #111111 #fafafa"} << "";
    QTest::newRow("resolver, dark") << themed << QStringList{"context=theme=dark"}
                                    << QStringList{"default #fafafa #111111"} << "";
    QTest::newRow("resolver, every context")
        << themed << QStringList{"context=all"}
        << QStringList{"light/default #111111 #fafafa", "dark/default #fafafa #111111"} << "(dark)";
    QTest::newRow("JSON5 with comments, unquoted names, single quotes, hexadecimal numbers")
        << Files{{"m.json5", R"(// Rollen
            {color: {$type: 'color', /* Text */ 'on-accent': {$value: '#fff',},
              accent: {$value: {colorSpace: 'hsl', components: [0xd2, 100, 40.], }}, }, })"}}
        << QStringList{} << QStringList{"accent #ffffff #0066cc"} << "„on-X“";
    QTest::newRow("the older format without $")
        << Files{{"alt.json", R"({"color": {"link": {"fg": {"value": "#0000ee"},
                                  "bg": {"value": "#ffffff", "type": "color"}}}})"}}
        << QStringList{} << QStringList{"link #0000ee #ffffff"} << "";
    QTest::newRow("$extends inherits and overrides")
        << Files{{"e.tokens.json", R"({"$type": "color",
             "button": {"fg": {"$value": "#000000"}, "bg": {"$value": "#ffffff"}},
             "danger": {"$extends": "{button}", "bg": {"$value": "#ff0000"}}})"}}
        << QStringList{} << QStringList{"button #000000 #ffffff", "danger #000000 #ff0000"} << "";
}

void TestDesignTokens::designSystems() {
    QFETCH(Files, files);
    QFETCH(QStringList, options);
    QFETCH(QStringList, schemes);
    QFETCH(QString, convention);
    ImportOptions o;
    for (const QString& option : options) {
        if (option.startsWith("text="))
            o.rules.text = option.mid(5);
        else if (option.startsWith("background="))
            o.rules.background = option.mid(11);
        else if (option == "same")
            o.rules.sameRole = true;
        else if (option == "context=all")
            o.palette.allContexts = true;
        else if (option.startsWith("context="))
            o.palette.context << option.mid(8);
    }
    const ImportReading read = schemesOfDesignSystem(sourcesOf(files), o);
    QVERIFY2(read.error.isEmpty(), qPrintable(read.error));
    for (const RefusedEntry& r : read.refused)
        QFAIL(qPrintable(r.where + ": " + r.reason));
    QCOMPARE(schemeTexts(read), schemes);
    QCOMPARE(read.paths.size(), read.schemes.size());
    if (!convention.isEmpty())
        QVERIFY2(read.conventions.join('\n').contains(convention),
                 qPrintable(read.conventions.join('\n')));
}

void TestDesignTokens::hostileDesignSystems_data() {
    QTest::addColumn<Files>("files");
    QTest::addColumn<bool>("all");
    QTest::addColumn<QString>("reason"); // part of the error, or of the one refusal ("where|why")

    QTest::newRow("an alias cycle across files")
        << Files{{"a.tokens.json", R"({"$type": "color", "fg": {"x": {"$value": "{b.y}"}},
                                        "bg": {"x": {"$value": "#fff"}}})"},
                 {"b.tokens.json", R"({"b": {"y": {"$value": "{fg.x}"}}})"}}
        << false << "fg.x|Kreis: {fg.x} → {b.y} → {fg.x}";
    QTest::newRow("an alias into a file not given")
        << Files{{"a.tokens.json", R"({"$type": "color", "fg": {"x": {"$value": "{base.red}"}},
                                        "bg": {"x": {"$value": "#fff"}}})"}}
        << false << "fg.x|„{base.red}“ führt zu keinem Token der gelesenen Dateien";
    QTest::newRow("a group extending itself")
        << Files{{"a.tokens.json", R"({"$type": "color", "button": {"fg": {"$value": "#000"},
             "bg": {"$value": "#fff"}, "secondary": {"$extends": "{button}"}}})"}}
        << false << "button.secondary|bildet einen Kreis";
    QTest::newRow("a colour outside its range")
        << Files{{"a.tokens.json", R"({"$type": "color", "fg": {"x": {"$value":
             {"colorSpace": "hsl", "components": [360, 50, 50]}}}, "bg": {"x": {"$value": "#fff"}}})"}}
        << false << "fg.x|Komponente 1 (Farbton) ist 360";
    QByteArray modifiers;
    for (int m = 0; m < 7; ++m)
        modifiers += (m ? ", " : "") + QByteArray("\"m") + QByteArray::number(m) +
                     "\": {\"contexts\": {\"a\": [], \"b\": []}}";
    QByteArray order;
    for (int m = 0; m < 7; ++m)
        order += (m ? ", " : "") + QByteArray("{\"$ref\": \"#/modifiers/m") +
                 QByteArray::number(m) + "\"}";
    QTest::newRow("a resolver whose modifiers explode")
        << Files{{"x.resolver.json", "{\"version\": \"2025.10\", \"modifiers\": {" + modifiers +
                                         "}, \"resolutionOrder\": [" + order + "]}"}}
        << true << "mehr als 64 Kontexte";
    QTest::newRow("a resolver naming a file that is not there")
        << Files{{"x.resolver.json", R"({"version": "2025.10", "resolutionOrder":
             [{"type": "set", "name": "s", "sources": [{"$ref": "fehlt.json"}]}]})"}}
        << false << "fehlt.json, die das Resolver-Dokument nennt";
    QTest::newRow("a resolver of another version")
        << Files{{"x.resolver.json", R"({"version": "1", "resolutionOrder": []})"}} << false
        << "„version“ muss „2025.10“ sein";
    QTest::newRow("a modifier without contexts")
        << Files{{"x.resolver.json", R"({"version": "2025.10", "modifiers": {"t": {"contexts": {}}},
             "resolutionOrder": [{"$ref": "#/modifiers/t"}]})"}}
        << false << "„t“ hat keine Kontexte";
    QTest::newRow("a context without a resolver")
        << Files{{"a.tokens.json", "{}"}} << true << "nur mit einem Resolver-Dokument";
    Files many;
    for (int i = 0; i <= maxImportFiles; ++i)
        many.append({QString("t%1.tokens.json").arg(i), "{}"});
    QTest::newRow("more files than are read together") << many << false << "mehr als 1.000";
    QTest::newRow("JSON5 in a .json file")
        << Files{{"a.tokens.json", "{\n  color: {}\n}"}} << false
        << "Name ohne Anführungszeichen: erlaubt nur in JSON5-Dateien (.json5) (Zeile 2, Spalte 3)";
}

void TestDesignTokens::hostileDesignSystems() {
    QFETCH(Files, files);
    QFETCH(bool, all);
    QFETCH(QString, reason);
    ImportOptions options;
    options.palette.allContexts = all;
    const ImportReading read = schemesOfDesignSystem(sourcesOf(files), options);
    if (!reason.contains('|')) {
        QVERIFY(read.schemes.empty());
        QVERIFY2(read.error.contains(reason), qPrintable(read.error));
        return;
    }
    QVERIFY2(read.error.isEmpty(), qPrintable(read.error));
    QCOMPARE(read.refused.size(), std::size_t(1));
    QCOMPARE(read.refused[0].where, reason.section('|', 0, 0));
    QVERIFY2(read.refused[0].reason.contains(reason.section('|', 1)),
             qPrintable(read.refused[0].reason));
}

void TestDesignTokens::colourValues_data() {
    QTest::addColumn<QByteArray>("value");
    QTest::addColumn<QString>("colour");  // empty: refused
    QTest::addColumn<QString>("message"); // part of the reason or, for a colour, of the note
    const auto srgb = [](const char* components, const char* more = "") {
        return "{\"colorSpace\": \"srgb\", \"components\": [" + QByteArray(components) + "]" +
               more + "}";
    };
    const auto space = [](const char* name, const char* components) {
        return "{\"colorSpace\": \"" + QByteArray(name) + "\", \"components\": [" +
               QByteArray(components) + "]}";
    };
    QTest::newRow("srgb") << srgb("1, 0.5, 0") << "#ff8000"
                          << "";
    QTest::newRow("hex of three digits is told, not read")
        << srgb("1, 1, 1", ", \"hex\": \"#000\"") << "#ffffff"
        << "„#000“, nicht sechsstellig";
    QTest::newRow("hex of eight digits") << srgb("0, 0, 0", ", \"hex\": \"#00000080\"") << "#000000"
                                         << "nicht sechsstellig";
    // The format's negative examples: each refused.
    QTest::newRow("red above 1") << srgb("1.2, 0, 0") << ""
                                 << "Komponente 1 (Rot) ist 1.2";
    QTest::newRow("blue below 0") << srgb("0, 0, -0.1") << ""
                                  << "(Blau) ist -0.1";
    QTest::newRow("display-p3 above 1") << space("display-p3", "0, 2, 0") << ""
                                        << "(Grün) ist 2";
    QTest::newRow("xyz above 1") << space("xyz-d65", "0, 0, 1.5") << ""
                                 << "(Z) ist 1.5";
    QTest::newRow("hue of 360") << space("hsl", "360, 50, 50") << ""
                                << "unter 360";
    QTest::newRow("hue below 0") << space("hwb", "-1, 0, 0") << ""
                                 << "(Farbton) ist -1";
    QTest::newRow("saturation above 100") << space("hsl", "0, 101, 50") << ""
                                          << "(Sättigung)";
    QTest::newRow("lab lightness above 100") << space("lab", "101, 0, 0") << ""
                                             << "(Helligkeit)";
    QTest::newRow("oklch lightness above 1") << space("oklch", "1.1, 0, 0") << ""
                                             << "0 bis 1";
    QTest::newRow("lch chroma below 0") << space("lch", "50, -1, 0") << ""
                                        << "(Buntheit)";
    QTest::newRow("oklab a and b are unbounded") << space("oklab", "0.5, -0.6, 0.6") << "#"
                                                 << "";
    QTest::newRow("alpha above 1") << srgb("0, 0, 0", ", \"alpha\": 1.5") << ""
                                   << "„alpha“ ist keine Zahl von 0 bis 1";
    QTest::newRow("alpha below 0") << srgb("0, 0, 0", ", \"alpha\": -0.5") << ""
                                   << "„alpha“";
    QTest::newRow("four components") << srgb("0, 0, 0, 1") << ""
                                     << "drei Zahlen";
    QTest::newRow("a component as text") << srgb("\"1\", 0, 0") << ""
                                         << "drei Zahlen";
    QTest::newRow("an unknown space") << space("srgb-gamma", "0, 0, 0") << ""
                                      << "srgb-gamma";
    QTest::newRow("a member the format does not know") << srgb("0, 0, 0", ", \"a\": 1") << ""
                                                       << "Feld „a“";
    QTest::newRow("hex that is no colour") << srgb("0, 0, 0", ", \"hex\": \"red\"") << ""
                                           << "„hex“ ist keine Farbe";
    QTest::newRow("a component from a pointer")
        << srgb("{\"$ref\": \"#/base/$value/components/0\"}, 0, 0") << "#ff0000"
        << "";
    QTest::newRow("a pointer to nothing")
        << srgb("{\"$ref\": \"#/base/$value/components/7\"}, 0, 0") << ""
        << "führt zu keinem Wert";
}

// Through the document, so pointers inside the value reach another token.
void TestDesignTokens::colourValues() {
    QFETCH(QByteArray, value);
    QFETCH(QString, colour);
    QFETCH(QString, message);
    const QByteArray file = "{\"$type\": \"color\", \"base\": {\"$value\": {\"colorSpace\": "
                            "\"srgb\", \"components\": [1, 0, 0]}}, \"t\": {\"$value\": " +
                            value + "}}";
    OrderedJson json;
    QJsonParseError error;
    QVERIFY(json.parse(file, error));
    TokenDocument doc({{&json, json.root()}});
    QCOMPARE(doc.tokenCount(), 2);
    const TokenColour read = doc.resolve(1);
    if (colour.isEmpty()) {
        QVERIFY(!read.colour);
        QVERIFY2(read.reason.contains(message), qPrintable(read.reason));
        return;
    }
    QVERIFY2(read.colour, qPrintable(read.reason));
    if (colour.size() == 7)
        QCOMPARE(hashHexText(*read.colour), colour);
    QVERIFY2(read.note.contains(message), qPrintable(read.note));
}

// An sRGB value gives the channels the CSS reader gives color(srgb ...) of the same numbers:
// the export's four decimals of every channel, the halves between two channels and a hair on
// either side of them, and the ends.
void TestDesignTokens::srgbValuesAsTheCssReaderReadsThem() {
    QList<double> shares{0, 1, 1e-12, 1 - 1e-12};
    for (int c = 0; c < 256; ++c)
        shares << QByteArray::number(c / 255.0, 'f', 4).toDouble() << (c + 0.5) / 255
               << std::nextafter((c + 0.5) / 255, 0.0) << std::nextafter((c + 0.5) / 255, 1.0);
    QByteArray file = "{\"$type\": \"color\"";
    for (qsizetype i = 0; i < shares.size(); ++i) {
        const double share = std::min(shares[i], 1.0);
        file += ", \"t" + QByteArray::number(i) + "\": {\"$value\": {\"colorSpace\": \"srgb\", " +
                "\"components\": [" + QByteArray::number(share, 'g', 17) + ", 0, 1]}}";
    }
    file += '}';
    OrderedJson json;
    QJsonParseError error;
    QVERIFY(json.parse(file, error));
    TokenDocument doc({{&json, json.root()}});
    QCOMPARE(doc.tokenCount(), int(shares.size()));
    for (int i = 0; i < doc.tokenCount(); ++i) {
        const QString css = QStringLiteral("color(srgb %1 0 1)")
                                .arg(QString::number(std::min(shares[i], 1.0), 'g', 17));
        const auto expected = readCssColour(css).colour;
        const TokenColour read = doc.resolve(i);
        QVERIFY2(read.colour && expected, qPrintable(css));
        QVERIFY2(*read.colour == *expected, qPrintable(css + " gave " + hashHexText(*read.colour)));
    }
}

void TestDesignTokens::grammars_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<bool>("json5");
    QTest::addColumn<QString>("error"); // empty: read; else part of the message
    QTest::addColumn<QString>("name");  // the first member's name as read
    QTest::addColumn<double>("number"); // the first member's value, when a number
    QTest::newRow("plain JSON as JSON5") << QByteArray("{\"a\": 1.5}") << true << ""
                                         << "a" << 1.5;
    QTest::newRow("unquoted name") << QByteArray("{ab_$1: 2}") << true << ""
                                   << "ab_$1" << 2.0;
    QTest::newRow("single quotes with escapes")
        << QByteArray("{'a\\'b\\x41\\\n': 'x'}") << true << ""
        << "a'bA" << 0.0;
    QTest::newRow("hexadecimal, plus and points")
        << QByteArray("{a: +0x1F, b: .5, c: 5.}") << true << ""
        << "a" << 31.0;
    QTest::newRow("comments and trailing commas")
        << QByteArray("// x\n{/* y */ a: [1, 2,], // z\n}") << true << ""
        << "a" << 0.0;
    QTest::newRow("Infinity") << QByteArray("{a: -Infinity}") << true << ""
                              << "a" << -std::numeric_limits<double>::infinity();
    QTest::newRow("JSON: unquoted name")
        << QByteArray("{\n  a: 1}") << false
        << "Name ohne Anführungszeichen: erlaubt nur in JSON5-Dateien (.json5) (Zeile 2, Spalte 3)"
        << "" << 0.0;
    QTest::newRow("JSON: comment")
        << QByteArray("{\"a\": 1 // x\n}") << false << "Kommentar: erlaubt nur in JSON5"
        << "" << 0.0;
    QTest::newRow("JSON: trailing comma")
        << QByteArray("[1,\n]") << false << "Komma vor der schließenden Klammer"
        << "" << 0.0;
    QTest::newRow("JSON: single quotes")
        << QByteArray("{\"a\": 'x'}") << false << "einfachen Anführungszeichen"
        << "" << 0.0;
    QTest::newRow("JSON: hexadecimal")
        << QByteArray("{\"a\": 0x10}") << false << "Hexadezimale Zahl"
        << "" << 0.0;
    QTest::newRow("JSON5: an unclosed comment")
        << QByteArray("{a: 1 /* x") << true << "kein gültiges JSON5"
        << "" << 0.0;
    QTest::newRow("JSON5: escape of a digit") << QByteArray("{a: '\\1'}") << true << "Escape"
                                              << "" << 0.0;
    QTest::newRow("JSON5: line break in a string")
        << QByteArray("{a: 'x\ny'}") << true << "(Zeile 1, Spalte 7)"
        << "" << 0.0;
}

// One reader, two grammars: JSON5 reads what JSON refuses, and JSON names the JSON5 feature.
void TestDesignTokens::grammars() {
    QFETCH(QByteArray, text);
    QFETCH(bool, json5);
    QFETCH(QString, error);
    QFETCH(QString, name);
    QFETCH(double, number);
    const auto grammar = json5 ? OrderedJson::Grammar::Json5 : OrderedJson::Grammar::Json;
    OrderedJson json;
    QJsonParseError failure;
    const bool read = json.parse(text, failure, grammar);
    if (!error.isEmpty()) {
        QVERIFY(!read);
        const QString message = jsonParseErrorText(failure, text, json, grammar);
        QVERIFY2(message.contains(error), qPrintable(message));
        return;
    }
    QVERIFY2(read, qPrintable(jsonParseErrorText(failure, text, json, grammar)));
    const auto first = json.firstChild(json.root());
    QCOMPARE(json.name(first), name);
    QVERIFY(json.nameIs(first, name.toUtf8()));
    QVERIFY(json.member(json.root(), name.toUtf8()) == first);
    if (json.kind(first) == OrderedJson::Kind::Number)
        QCOMPARE(json.number(first), number);
    if (json.kind(first) == OrderedJson::Kind::String)
        QCOMPARE(json.text(first), QString("x"));
}

// The document: a later file overrides a token of the same path where the path stood first,
// groups of one path are one across files, and an alias finds its token in any of them.
void TestDesignTokens::documentAcrossTrees() {
    const QByteArray a = R"({"c": {"$type": "color", "red": {"$value": "#ff0000"},
                                   "blue": {"$value": "#0000ff"}}})";
    const QByteArray b = R"({"c": {"red": {"$value": "#aa0000"}, "link": {"$value": "{c.red}"}}})";
    OrderedJson first, second;
    QJsonParseError error;
    QVERIFY(first.parse(a, error) && second.parse(b, error));
    TokenDocument doc({{&first, first.root()}, {&second, second.root()}});
    QCOMPARE(doc.tokenCount(), 4);
    QVERIFY(!doc.overridesEarlier(0) && doc.overridesEarlier(2));
    QCOMPARE(doc.overriding(0), 2);
    QCOMPARE(doc.path(3), QString("c.link"));
    QVERIFY(doc.isColourToken(3)); // typed by the group of its path in the other file's alias
    QCOMPARE(hashHexText(*doc.resolve(3).colour), QString("#aa0000"));

    const PaletteReading palette = readPalette({{"a.tokens.json", a}, {"b.tokens.json", b}});
    QCOMPARE(palette.palettes.size(), std::size_t(1));
    QStringList entries;
    for (const PaletteEntry& e : palette.palettes[0].entries)
        entries << e.path + ' ' + hashHexText(e.colour);
    QCOMPARE(entries, (QStringList{"c.red #aa0000", "c.blue #0000ff", "c.link #aa0000"}));
}

// The palette carries every colour token with path, description and deprecation; palettes and
// the JSON format give their named colours.
void TestDesignTokens::paletteEntries() {
    const PaletteReading tokens = readPalette({{"d.tokens.json", R"({"g": {"$type": "color",
        "$deprecated": "Gruppe alt", "a": {"$value": "#010203", "$description": "Erste"},
        "b": {"$value": "#040506", "$deprecated": false}, "n": {"$type": "number", "$value": 1},
        "x": {"$value": "kein Rot"}}})"}});
    QVERIFY(tokens.error.isEmpty());
    const auto& e = tokens.palettes.at(0).entries;
    QCOMPARE(e.size(), std::size_t(2));
    QCOMPARE(e[0].path, QString("g.a"));
    QCOMPARE(e[0].description, QString("Erste"));
    QVERIFY(e[0].deprecated);
    QCOMPARE(e[0].deprecation, QString("Gruppe alt"));
    QVERIFY(!e[1].deprecated);
    QCOMPARE(tokens.refused.size(), std::size_t(1));
    QCOMPARE(tokens.refused[0].where, QString("g.x"));

    const PaletteReading gpl =
        readPalette({{"p.gpl", "GIMP Palette\nName: P\n#\n1 2 3\tErde\n255 0 0 Rot (Text)\n"},
                     {"s.json", R"({"format": "pigmora-schemes", "version": 1,
                        "schemes": [{"name": "A", "text": "#000", "background": "#fff"}]})"}});
    QVERIFY2(gpl.error.isEmpty(), qPrintable(gpl.error));
    QStringList names;
    for (const PaletteEntry& p : gpl.palettes.at(0).entries)
        names << p.path;
    QCOMPARE(names, (QStringList{"Erde", "Rot (Text)", "A.text", "A.background"}));

    QTemporaryDir dir;
    const PaletteReading missing = readPaletteFiles({dir.filePath("fehlt.tokens.json")});
    QVERIFY2(missing.error.contains("nicht vorhanden"), qPrintable(missing.error));
}

// Names: the shortest distinct end of the path, at most 30 characters cut from the left, and
// never twice the same.
void TestDesignTokens::namesStayDistinctAndShort() {
    const QString longGroup = QString("sehr-lange-gruppe.").repeated(3);
    const QStringList paths{"fg." + longGroup + "primary",
                            "bg." + longGroup + "primary",
                            "fg.other." + longGroup + "primary",
                            "bg.other." + longGroup + "primary",
                            "fg.x",
                            "bg.x"};
    const Pairing pairing = pairByRole(paths, {});
    QCOMPARE(pairing.pairs.size(), std::size_t(3));
    const QStringList names = pairNames(paths, pairing, {}, {"x"});
    QCOMPARE(names.size(), 3);
    for (const QString& name : names)
        QVERIFY2(name.size() <= 30, qPrintable(name));
    QVERIFY(names[0].startsWith(QChar(0x2026)) && names[0].endsWith("gruppe.primary"));
    QVERIFY(names[0] != names[1]);
    QCOMPARE(names[2], QString("x-2"));
    QVERIFY(globMatches("color.**.fg", "color.fg"));
    QVERIFY(globMatches("color.**.fg", "color.a.b.fg"));
    QVERIFY(!globMatches("color.*.fg", "color.a.b.fg"));
    QVERIFY(globMatches("fg*.de*", "fgColor.default"));
}

QTEST_APPLESS_MAIN(TestDesignTokens)
#include "test_design_tokens.moc"
