#include "css_colour/colour_forms.h"
#include "exchange/ordered_json.h"
#include "exchange/scheme_import.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace pigmora;

namespace {

QByteArray scheme(const QByteArray& name, const QByteArray& text = "\"#000000\"",
                  const QByteArray& background = "\"#ffffff\"") {
    return "{\"name\": " + name + ", \"text\": " + text + ", \"background\": " + background + "}";
}

QByteArray document(const QByteArray& schemes) {
    return "{\"format\": \"pigmora-schemes\", \"version\": 1, \"schemes\": [" + schemes + "]}";
}

QByteArray palette(const QByteArray& lines) {
    return "GIMP Palette\nName: Test\nColumns: 2\n#\n" + lines;
}

} // namespace

// Files from elsewhere: each is read into schemes and refused entries with their reasons, or
// refused as a whole with a message; none may crash the reader.
class TestSchemeImport : public QObject {
    Q_OBJECT
private slots:
    void hostileContents_data();
    void hostileContents();
    void refusalsSayWhereAndWhat();
    void cssColoursOfEveryForm();
    void paletteLinesPairUpByName();
    void nameRules_data();
    void nameRules();
    void hostileFiles();
    void handWrittenTokens();
    void hostileTokens_data();
    void hostileTokens();
};

void TestSchemeImport::hostileContents_data() {
    QTest::addColumn<QByteArray>("contents");
    QTest::addColumn<QString>("error"); // part of the file-level message; empty: none
    QTest::addColumn<int>("schemes");
    QTest::addColumn<QString>("reasons"); // parts of the refusals' reasons, joined by "|"

    const QByteArray ok = scheme("\"Gut\"");
    QTest::addRow("export format") << document(ok) << "" << 1 << "";
    QTest::addRow("bare array") << "[" + ok + "," + ok + "]"
                                << "" << 2 << "";
    QTest::addRow("empty list") << document("") << "" << 0 << "";
    QTest::addRow("BOM and CRLF") << "\xEF\xBB\xBF" + document(ok + ",\r\n" + ok) << "" << 2 << "";
    QTest::addRow("#rgb and channels")
        << document(scheme("\"a\"", "\"#FfF\"", "[0, 128, 255]")) << "" << 1 << "";
    QTest::addRow("malformed") << QByteArray("{\"format\": ") << "kein gültiges JSON" << 0 << "";
    QTest::addRow("not closed") << QByteArray("[" + ok) << "nicht abgeschlossen" << 0 << "";
    QTest::addRow("garbage after") << QByteArray("[] x") << "weitere Zeichen" << 0 << "";
    QTest::addRow("number at the top") << QByteArray("42") << "JSON" << 0 << "";
    QTest::addRow("empty file") << QByteArray() << "JSON" << 0 << "";
    QTest::addRow("nested too deep") << QByteArray(100000, '[') << "verschachtelt" << 0 << "";
    QTest::addRow("no format") << QByteArray("{\"version\": 1, \"schemes\": []}") << "„format“" << 0
                               << "";
    QTest::addRow("other format") << QByteArray(
                                         "{\"format\": \"css\", \"version\": 1, \"schemes\": []}")
                                  << "„format“" << 0 << "";
    QTest::addRow("version as text")
        << QByteArray("{\"format\": \"pigmora-schemes\", \"version\": \"1\", \"schemes\": []}")
        << "„version“ ist der Text „1“, keine Zahl" << 0 << "";
    QTest::addRow("version 2")
        << QByteArray("{\"format\": \"pigmora-schemes\", \"version\": 2, \"schemes\": []}")
        << "Version 2" << 0 << "";
    QTest::addRow("no version") << QByteArray("{\"format\": \"pigmora-schemes\", \"schemes\": []}")
                                << "„version“" << 0 << "";
    QTest::addRow("schemes not a list")
        << QByteArray("{\"format\": \"pigmora-schemes\", \"version\": 1, \"schemes\": {}}")
        << "„schemes“" << 0 << "";
    QTest::addRow("wrong types") << document("42, \"Text\", null, " + scheme("17") + ", " +
                                             scheme("[\"x\"]") + ", {}")
                                 << "" << 0
                                 << "kein Objekt|kein Objekt|kein Objekt|„name“|„name“|„name“";
    QTest::addRow("missing fields")
        << document("{\"name\": \"a\"}, {\"name\": \"b\", \"text\": \"#000\"}") << "" << 0
        << "„text“|„background“";
    QTest::addRow("channels out of range")
        << document(scheme("\"a\"", "[256, 0, 0]") + "," + scheme("\"b\"", "[-1, 0, 0]") + "," +
                    scheme("\"c\"", "[1.5, 0, 0]") + "," + scheme("\"d\"", "[1e300, 0, 0]"))
        << "" << 0 << "„text“|„text“|„text“|„text“";
    QTest::addRow("number beyond double")
        << document(scheme("\"a\"", "[1e400, 0, 0]")) << "Zahl ist ungültig" << 0 << "";
    QTest::addRow("channels as texts or wrong count")
        << document(scheme("\"a\"", "[\"12\", \"0\", \"0\"]") + "," + scheme("\"b\"", "[1, 2]") +
                    "," + scheme("\"c\"", "[1, 2, 3, 4]") + "," + scheme("\"d\"", "\"12\""))
        << "" << 0 << "„text“|„text“|„text“|„text“";
    QTest::addRow("hexadecimal colours that are none, beside CSS colours")
        << document(scheme("\"a\"", "\"#GGGGGG\"") + "," + scheme("\"b\"", "\"red\"") + "," +
                    scheme("\"c\"", "\"#12345\"") + "," + scheme("\"d\"", "\"rgb(1,2,3)\""))
        << "" << 2 << "„text“: „#GGGGGG“|„text“: „#12345“";
    QTest::addRow("CSS colours that are not opaque or not read")
        << document(scheme("\"a\"", "\"#0008\"") + "," +
                    scheme("\"b\"", "\"#000\"", "\"rgb(0 0 0 / 99%)\"") + "," +
                    scheme("\"c\"", "\"transparent\"") + "," + scheme("\"d\"", "\"var(--x)\"") +
                    "," + scheme("\"e\"", "\"oklch(50% 0.1)\""))
        << "" << 0
        << "„text“: „#0008“ ist nicht deckend (Alpha 0,533)|„background“: „rgb(0 0 0 / 99%)“ ist "
           "nicht deckend|„transparent“ wird nicht gelesen|„var(--x)“|„oklch(50% 0.1)“";
    QTest::addRow("names that \"&Neu\" refuses")
        << document(scheme("\"\"") + "," + scheme("\"" + QByteArray(31, 'x') + "\"") + "," +
                    scheme("\"" + QByteArray(10000, 'y') + "\"") + "," + scheme("\"a\\nb\"") + "," +
                    scheme("\"a\\u0000b\"") + "," + scheme("\"\\ud800\""))
        << "" << 0 << "leer|31 Zeichen|10000 Zeichen|Steuerzeichen|Steuerzeichen|ungültige";
    QTest::addRow("refused beside accepted")
        << document(ok + ", 7, " + ok) << "" << 2 << "kein Objekt";

    QTest::addRow("palette") << palette("  0   0   0\tA (Text)\n255 255 255\tA (Hintergrund)\n")
                             << "" << 1 << "";
    QTest::addRow("palette with BOM, CRLF and blanks as separators")
        << "\xEF\xBB\xBF" + palette("0 0 0 A (Text)\r\n255 255 255 A (Hintergrund)  \r\n") << ""
        << 1 << "";
    QTest::addRow("no palette header") << QByteArray("0 0 0\tA (Text)\n0 0 0\tA (Hintergrund)\n")
                                       << "keine GIMP-Palette" << 0 << "";
    QTest::addRow("one line of palette, longer than 256 bytes")
        << "255 0 0\t" + QByteArray(300, 'R') + " (Text)\n"
        << "keine GIMP-Palette" << 0 << "";
    QTest::addRow("palette not UTF-8")
        << palette("0 0 0\t\xE4 (Text)\n0 0 0\t\xE4 (Hintergrund)\n") << "UTF-8" << 0 << "";
    QTest::addRow("palette with odd columns")
        << palette("0 0\tA (Text)\n0 0 0\tA (Hintergrund)\n0 x 0\tB (Text)\n") << "" << 0
        << "drei ganze Farbwerte|„A (Text)“ fehlt|drei ganze Farbwerte";
    QTest::addRow("palette value 256") << palette("256 0 0\tA (Text)\n0 0 0\tA (Hintergrund)\n")
                                       << "" << 0 << "256|„A (Text)“ fehlt";
    QTest::addRow("palette of four numbers")
        << palette("0 0 0 255\tA (Text)\n0 0 0 255\tA (Hintergrund)\n1 2 3 4\n"
                   "0 0 0\t2024 (Text)\n0 0 0 2024 (Hintergrund)\n")
        << "" << 1 << "vier Zahlen|vier Zahlen|vier Zahlen";
    QTest::addRow("palette lines of no scheme")
        << palette("0 0 0\tUntitled\n0 0 0\n") << "" << 0 << "weder|weder";
    QTest::addRow("palette name too long")
        << palette("0 0 0\t" + QByteArray(31, 'x') + " (Text)\n0 0 0\t" + QByteArray(31, 'x') +
                   " (Hintergrund)\n")
        << "" << 0 << "31 Zeichen";
}

void TestSchemeImport::hostileContents() {
    QFETCH(QByteArray, contents);
    QFETCH(QString, error);
    QFETCH(int, schemes);
    QFETCH(QString, reasons);
    const ImportReading read = readSchemeImport(contents);
    if (error.isEmpty())
        QVERIFY2(read.error.isEmpty(), qPrintable(read.error));
    else
        QVERIFY2(read.error.contains(error), qPrintable(read.error));
    QCOMPARE(int(read.schemes.size()), schemes);
    const QStringList expected = reasons.isEmpty() ? QStringList() : reasons.split('|');
    QCOMPARE(int(read.refused.size()), int(expected.size()));
    for (int i = 0; i < expected.size(); ++i)
        QVERIFY2(read.refused[i].reason.contains(expected[i]), qPrintable(read.refused[i].reason));
    if (!read.error.isEmpty())
        QVERIFY(read.schemes.empty() && read.refused.empty());
}

// Colours written as CSS Color 4 writes them; a colour outside sRGB is gamut-mapped, counted
// and taken.
void TestSchemeImport::cssColoursOfEveryForm() {
    const ImportReading read = readSchemeImport(
        document(scheme("\"A\"", "\"oklch(62.8% 0.25768 29.23)\"", "\"hsl(120 100% 25%)\"") + "," +
                 scheme("\"B\"", "\"color(display-p3 1 1 0)\"", "\"lab(100 0 0)\"") + "," +
                 scheme("\"C\"", "\"rgb(0 0 0 / 100%)\"", "\"oklch(70% 0.4 30)\"")));
    for (const RefusedEntry& r : read.refused)
        QFAIL(qPrintable(r.reason));
    const std::vector<ColourScheme> expected{{"A", {255, 0, 0}, {0, 128, 0}},
                                             {"B", {254, 255, 0}, {255, 255, 255}},
                                             {"C", {0, 0, 0}, {255, 88, 67}}};
    QVERIFY(read.schemes == expected);
    QCOMPARE(read.approximated, 2);
}

void TestSchemeImport::refusalsSayWhereAndWhat() {
    const ImportReading json = readSchemeImport(
        document(scheme("\"Gut\"") + ", " + scheme("\"" + QByteArray(100, 'z') + "\"") + ", 42"));
    QCOMPARE(json.refused.size(), std::size_t(2));
    QCOMPARE(json.refused[0].where, "Eintrag 2");
    QCOMPARE(json.refused[0].what, QString(40, 'z') + QChar(0x2026));
    QCOMPARE(json.refused[1].where, "Eintrag 3");
    QCOMPARE(json.refused[1].what, "42");

    const ImportReading gpl = readSchemeImport(palette("0 0 0\tA (Text)\nfalsch\n"));
    QCOMPARE(gpl.refused.size(), std::size_t(2));
    QCOMPARE(gpl.refused[0].where, "Zeile 5");       // the header has four lines
    QCOMPARE(gpl.refused[0].what, "0 0 0 A (Text)"); // the tab shown as a blank
    QCOMPARE(gpl.refused[1].where, "Zeile 6");
    QCOMPARE(gpl.refused[1].what, "falsch");
}

void TestSchemeImport::paletteLinesPairUpByName() {
    // A background before its text, a name stored twice, and two schemes interleaved: each
    // scheme stands where its first line stands, the n-th text with the n-th background.
    const ImportReading read = readSchemeImport(palette("1 1 1\tB (Hintergrund)\n"
                                                        "2 2 2\tA (Text)\n"
                                                        "3 3 3\tB (Text)\n"
                                                        "4 4 4\tA (Text)\n"
                                                        "5 5 5\tA (Hintergrund)\n"
                                                        "6 6 6\tA (Hintergrund)\n"));
    QVERIFY(read.refused.empty());
    const std::vector<ColourScheme> expected{
        {"B", {3, 3, 3}, {1, 1, 1}}, {"A", {2, 2, 2}, {5, 5, 5}}, {"A", {4, 4, 4}, {6, 6, 6}}};
    QVERIFY(read.schemes == expected);
}

void TestSchemeImport::nameRules_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("taken");
    QTest::addRow("30 characters") << QString(30, 'a') << true;
    QTest::addRow("31 characters") << QString(31, 'a') << false;
    QTest::addRow("30 emoji") << QString("😀").repeated(30) << true;
    QTest::addRow("31 emoji") << QString("😀").repeated(31) << false;
    QTest::addRow("blanks") << "   " << true;
    QTest::addRow("empty") << "" << false;
    QTest::addRow("tab") << "a\tb" << false;
    QTest::addRow("C1 control") << QString("a") + QChar(0x85) << false;
    QTest::addRow("lone surrogate") << QString(QChar(0xDC00)) << false;
}

void TestSchemeImport::nameRules() {
    QFETCH(QString, name);
    QFETCH(bool, taken);
    QCOMPARE(!nameRefusal(name).has_value(), taken);
}

void TestSchemeImport::hostileFiles() {
    QTemporaryDir dir;
    const auto write = [&dir](const QString& name, const QByteArray& contents) {
        QFile f(dir.filePath(name));
        f.open(QIODevice::WriteOnly);
        f.write(contents);
        return f.fileName();
    };
    // Exactly the limit is read; one byte more is refused unread.
    QByteArray limit(maxImportBytes, ' ');
    limit.replace(0, 2, "[]");
    QVERIFY(readSchemeImportFile(write("grenze.json", limit)).error.isEmpty());
    const ImportReading large = readSchemeImportFile(write("gross.json", limit + ' '));
    QVERIFY2(large.error.contains("größer als 64 MB"), qPrintable(large.error));
    QVERIFY(large.error.contains("gross.json"));

    QByteArray many = "[";
    for (int i = 0; i <= maxImportSchemes; ++i)
        many += QByteArray(i ? "," : "") + "{}";
    many += "]";
    QVERIFY(readSchemeImportFile(write("viele.json", many)).error.contains("100.000"));

    QVERIFY(readSchemeImportFile(dir.filePath("fehlt.json")).error.contains("nicht vorhanden"));
    QVERIFY(readSchemeImportFile(dir.path()).error.contains("keine gewöhnliche Datei"));
    QVERIFY(readSchemeImportFile("/dev/zero").error.contains("keine gewöhnliche Datei"));
    const ImportReading broken = readSchemeImportFile(write("kaputt.json", "{"));
    QVERIFY(broken.error.contains("kaputt.json") && broken.error.contains("JSON"));
}

// A design system's file as people write it: nested groups, types given on a group or on the
// token, aliases in chains and as JSON pointers, CSS texts, and tokens of other kinds.
// clang-format off
void TestSchemeImport::handWrittenTokens() {
    const QByteArray file = R"json({
      "$description": "Ein Designsystem",
      "palette": {
        "$type": "color",
        "blau": {"$value": {"colorSpace": "srgb", "components": [0, 0, 1], "hex": "#0000ff"}},
        "hell": {"$value": "#FAFAFA"},
        "weiss": {"$value": "{palette.hell}"},
        "abstand": {"$type": "dimension", "$value": {"value": 4, "unit": "px"}}
      },
      "marke": {
        "$type": "color",
        "hinweis": {
          "$extensions": {"org.pigmora": {"name": "Grauer Hinweis"}, "com.example": 1},
          "text": {"$value": "{palette.blau}"},
          "background": {"$value": "{marke.basis.weiss}"},
          "rand": {"$value": "#ccc"}
        },
        "basis": {"weiss": {"$value": "{palette.weiss}"}},
        "tief": {"nacht": {"text": {"$value": "yellow"},
                           "background": {"$value": {"$ref": "#/palette/blau/$value"}}}}
      },
      "knopf": {"text": {"$type": "color", "$value": "rgb(1 2 3)"},
                "background": {"$type": "color", "$value": "white"}},
      "kein": {"text": {"$type": "color", "$value": "#000"},
               "background": {"$type": "dimension", "$value": "4px"}},
      "lose": {"text": {"$value": "{palette.blau}"}, "background": {"$value": "{marke.basis.weiss}"}}
    })json";
    // clang-format on
    const ImportReading read = readSchemeImport(file, "design.tokens.json");
    QVERIFY2(read.error.isEmpty(), qPrintable(read.error));
    for (const RefusedEntry& r : read.refused)
        qWarning("%s: %s", qPrintable(r.where), qPrintable(r.reason));
    QVERIFY(read.refused.empty());
    const std::vector<ColourScheme> expected{{"Grauer Hinweis", {0, 0, 255}, {250, 250, 250}},
                                             {"nacht", {255, 255, 0}, {0, 0, 255}},
                                             {"knopf", {1, 2, 3}, {255, 255, 255}},
                                             {"lose", {0, 0, 255}, {250, 250, 250}}};
    QVERIFY(read.schemes == expected); // in the file's order, not sorted by name
    QCOMPARE(read.otherTokens, 8);     // palette's four, rand, basis.weiss, kein's two
    QCOMPARE(read.otherGroups, 3);     // palette, basis, kein
    // Told apart by the contents as well: an object without "format" but with "$" names.
    QVERIFY(readSchemeImport(file).schemes == expected);
}

void TestSchemeImport::hostileTokens_data() {
    QTest::addColumn<QByteArray>("contents");
    QTest::addColumn<QString>("error");   // part of the file-level message; empty: none
    QTest::addColumn<QString>("refusal"); // "<where>|<part of the reason>"; empty: none
    QTest::addColumn<QString>("taken");   // the text colour read; empty: refused
    QTest::addColumn<int>("approximated");
    // A file of one scheme "s" whose text is `text`, beside the tokens in `more`.
    const auto file = [](const QByteArray& text, const QByteArray& more = {},
                         const QByteArray& inScheme = {}) {
        return "{\"$type\": \"color\", " + more + "\"s\": {" + inScheme +
               "\"text\": {\"$value\": " + text + "}, \"background\": {\"$value\": \"#fff\"}}}";
    };
    const auto row = [](const char* name, const QByteArray& contents, const char* error,
                        const char* refusal) {
        QTest::newRow(name) << contents << QString::fromUtf8(error) << QString::fromUtf8(refusal)
                            << QString() << 0;
    };
    const auto taken = [&file](const char* name, const QByteArray& text, const char* colour,
                               int approximated = 0) {
        QTest::newRow(name) << file(text) << QString() << QString() << QString(colour)
                            << approximated;
    };
    const auto object = [](const char* space, const QByteArray& more) {
        return "{\"colorSpace\": \"" + QByteArray(space) + "\", " + more + "}";
    };
    taken("display-p3", object("display-p3", "\"components\": [0.2, 0.4, 0.6]"), "#1b689d");
    taken("oklch, opaque alpha given",
          object("oklch", "\"components\": [0.6, 0.1, 250], \"alpha\": 1"), "#4f84ba");
    taken("hsl in 0..100", object("hsl", "\"components\": [330, 100, 50]"), "#ff0080");
    taken("lab", object("lab", "\"components\": [50, 20, -30]"), "#856caa");
    taken("a none component", object("hsl", "\"components\": [\"none\", 0, 100]"), "#ffffff");
    taken("hex is only the fallback",
          object("srgb", "\"components\": [1, 0, 0], \"hex\": \"#00ff00\""), "#ff0000");
    taken("outside sRGB, mapped and counted", object("display-p3", "\"components\": [1, 0, 1]"),
          "#ff2bfb", 1);
    taken("a CSS text", "\"oklch(60% 0.1 250)\"", "#4f84ba");
    row("a cycle", file("\"{a}\"", "\"a\": {\"$value\": \"{b}\"}, \"b\": {\"$value\": \"{a}\"}, "),
        "", "s.text|Kreis: {a} → {b} → {a}");
    QTest::newRow("an alias into the first of two groups of one name")
        << file("\"{a.t}\"",
                "\"a\": {\"t\": {\"$value\": \"red\"}}, \"a\": {\"u\": {\"$value\": \"blue\"}}, ")
        << QString() << QString() << QString("#ff0000") << 0;
    row("no such token", file("\"{nirgends.da}\""), "", "s.text|„{nirgends.da}“ führt zu keinem");
    row("an alias to a group", file("\"{g}\"", "\"g\": {\"x\": {\"$value\": \"#000\"}}, "), "",
        "s.text|zu einer Gruppe");
    row("an alias to no colour",
        file("\"{abstand}\"", "\"abstand\": {\"$type\": \"dimension\", \"$value\": \"4px\"}, "), "",
        "s.text|Typ „dimension“");
    row("a pointer into another file", file("{\"$ref\": \"andere.json#/a\"}"), "",
        "s.text|keinem Token");
    row("a pointer of a million names",
        file("{\"$ref\": \"#/" + QByteArray("a/").repeated(1000000) + "$value\"}"), "",
        "s.text|„{a.a.a.a.a.a.a.a.a.a.a.a.a.a.a.a.a.a.a.a.…}“ führt zu keinem");
    row("translucent, its alpha quoted as written",
        file("{\"colorSpace\": \"srgb\", \"components\": [1, 0, 0], \"alpha\": 0.50}"), "",
        "s.text|nicht deckend: „alpha“ ist 0.50.");
    row("translucent as CSS", file("\"#ff000080\""), "",
        "s.text|„#ff000080“ ist nicht deckend (Alpha 0,502)");
    row("unknown colour space", file("{\"colorSpace\": \"cmyk\", \"components\": [1, 0, 0]}"), "",
        "s.text|Farbraum „cmyk“");
    row("two components", file("{\"colorSpace\": \"srgb\", \"components\": [1, 0]}"), "",
        "s.text|drei Zahlen");
    row("no colour space", file("{\"components\": [1, 0, 0], \"hex\": \"#ff0000\"}"), "",
        "s.text|„colorSpace“");
    row("a text that is no colour", file("\"sehr rot\""), "",
        "s.text|„sehr rot“ ist keine CSS-Farbe");
    row("a name too long",
        file("\"#000\"", {},
             "\"$extensions\": {\"org.pigmora\": {\"name\": \"" + QByteArray(31, 'x') + "\"}}, "),
        "", "s|31 Zeichen");
    row("a group name with a line break",
        "{\"$type\": \"color\", \"a\\nb\": {\"text\": {\"$value\": \"#000\"}, \"background\": "
        "{\"$value\": \"#fff\"}}}",
        "", "a\nb|Steuerzeichen");
    row("malformed", "{\"$type\": ", "kein gültiges JSON", "");
    row("nested too deep", QByteArray("{\"$a\": ").repeated(2000), "verschachtelt", "");
    row("a list at the top", "[{\"$type\": \"color\"}]", "keine Design-Token-Datei", "");
    // Before any path was kept, these took a gigabyte (the full path of every group), seconds
    // (each group followed the untyped chain again) and 25 bytes a byte of the file.
    const QByteArray longName = "\"" + QByteArray(1000, 'g') + "\": {";
    row("1000 groups deep with names of 1000 characters",
        "{\"$type\": \"color\", " + longName.repeated(1000) + "\"s\": {\"text\": {\"$value\": " +
            "\"sehr rot\"}, \"background\": {\"$value\": \"#fff\"}}" + QByteArray(1001, '}'),
        "", qPrintable("…." + (QString(40, 'g') + "….").repeated(4) + "s.text|keine CSS-Farbe"));
    QByteArray chain;
    constexpr int chainLength = 3000;
    for (int i = 0; i < chainLength; ++i)
        chain += "\"c" + QByteArray::number(i) + "\": {\"$value\": \"{c" +
                 QByteArray::number(i + 1) + "}\"}, ";
    chain += "\"c" + QByteArray::number(chainLength) +
             "\": {\"$type\": \"color\", \"$value\": \"#000\"}";
    for (int i = 0; i < chainLength; ++i) // no schemes: the background has no type
        chain += ", \"g" + QByteArray::number(i) +
                 "\": {\"text\": {\"$value\": \"{c0}\"}, \"background\": {\"$value\": \"#fff\"}}";
    row("groups sharing a long untyped alias chain",
        "{" + chain + ", \"s\": {\"$type\": \"color\", \"text\": {\"$value\": \"{c0}\"}, " +
            "\"background\": {\"$value\": \"{nirgends}\"}}}",
        "", "s.background|„{nirgends}“ führt zu keinem");
    row("too many values", "[0" + QByteArray(",0").repeated(OrderedJson::maxValues) + "]",
        "mehr als 5.000.000 JSON-Werte", "");
    QByteArray many = "{\"$type\": \"color\"";
    for (int i = 0; i <= maxImportSchemes; ++i)
        many += ", \"" + QByteArray::number(i) +
                "\": {\"text\": {\"$value\": \"#000\"}, \"background\": {\"$value\": \"#fff\"}}";
    row("too many schemes", many + "}", "100.001 Farbschemata; mehr als 100.000", "");
}

// Each colour space's components read as the Color module gives them, and each refusal once:
// the entry with its token path and the reason, or the file with its message; nothing else is
// read from a refused file.
void TestSchemeImport::hostileTokens() {
    QFETCH(QByteArray, contents);
    QFETCH(QString, error);
    QFETCH(QString, refusal);
    QFETCH(QString, taken);
    QFETCH(int, approximated);
    const ImportReading read = readSchemeImport(contents, "hostile.tokens.json");
    if (!taken.isEmpty()) {
        for (const RefusedEntry& r : read.refused)
            QFAIL(qPrintable(r.reason));
        QCOMPARE(read.schemes.size(), std::size_t(1));
        QCOMPARE(hashHexText(read.schemes[0].text), taken);
        QCOMPARE(read.approximated, approximated);
        return;
    }
    if (!error.isEmpty()) {
        QVERIFY2(read.error.contains(error), qPrintable(read.error));
        QVERIFY(read.schemes.empty() && read.refused.empty());
        return;
    }
    QVERIFY2(read.error.isEmpty(), qPrintable(read.error));
    QVERIFY(read.schemes.empty());
    QCOMPARE(read.refused.size(), std::size_t(1));
    const QStringList expected = refusal.split('|');
    QCOMPARE(read.refused[0].where, expected[0]);
    QVERIFY2(read.refused[0].reason.contains(expected[1]), qPrintable(read.refused[0].reason));
}

QTEST_APPLESS_MAIN(TestSchemeImport)
#include "test_scheme_import.moc"
