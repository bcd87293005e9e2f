// The contrast grid written out, and palettes read from CSS custom properties.

#include "base/hex_digit.h"
#include "exchange/css_palette.h"
#include "exchange/grid_export.h"
#include "exchange/ramp_export.h"

#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

using namespace pigmora;

namespace {

Rgb hex(quint32 rrggbb) {
    return Rgb{ChannelValue(rrggbb >> 16), ChannelValue(rrggbb >> 8), ChannelValue(rrggbb)};
}

ContrastGrid sampleGrid(GridRating rating = {}) {
    return ContrastGrid(
        {{"fgColor.muted", hex(0x59636e), {}},
         {"=HYPERLINK(\"x\")", hex(0x777777), {}},
         {"Tab\tund | Strich", hex(0x000000), {}}},
        {{"bgColor.default", hex(0xffffff), {}}, {"Komma, \"Zitat\"", hex(0x0d1117), {}}}, rating);
}

// "path colour" of each entry, or the file-level error.
QString entries(const PaletteReading& reading) {
    if (!reading.error.isEmpty())
        return reading.error;
    QStringList out;
    for (const Palette& p : reading.palettes)
        for (const PaletteEntry& e : p.entries)
            out << e.path + QLatin1Char(' ') + hashHexText(e.colour);
    return out.join(QStringLiteral("; "));
}

QString refusals(const PaletteReading& reading) {
    QStringList out;
    for (const RefusedEntry& r : reading.refused)
        out << r.where + QLatin1Char(' ') + r.what + QStringLiteral(": ") + r.reason;
    return out.join(QStringLiteral("; "));
}

} // namespace

class TestGridExport : public QObject {
    Q_OBJECT
private slots:
    void jsonHasEveryPairAtFullPrecision();
    void textAndTablesKeepTheirShape();
    void minimumLeavesOutTheFailing();
    void cssPalette_data();
    void cssPalette();
    void longAliasChainIsFollowedOnce();
    void rampsAsTokensAndCss();
};

void TestGridExport::jsonHasEveryPairAtFullPrecision() {
    const ContrastGrid grid = sampleGrid({false, VisionDeficiency::Deuteranopia});
    const QByteArray json = gridExport(grid, makeGridView(grid, {}), GridFormat::Json);
    QJsonParseError error;
    const QJsonObject doc = QJsonDocument::fromJson(json, &error).object();
    QCOMPARE(error.error, QJsonParseError::NoError);
    QCOMPARE(doc["vision"].toString(), QStringLiteral("deutan"));
    QCOMPARE(doc["rows"].toArray().size(), 3);
    const QJsonArray pairs = doc["pairs"].toArray();
    QCOMPARE(pairs.size(), 6);
    const QJsonObject first = pairs[0].toObject();
    QCOMPARE(first["text"].toString(), QStringLiteral("fgColor.muted"));
    QCOMPARE(first["textColour"].toString(), QStringLiteral("#59636e"));
    QCOMPARE(first["seenText"].toString(), hashHexText(grid.seenRow(0)));
    QCOMPARE(first["background"].toString(), QStringLiteral("bgColor.default"));
    QCOMPARE(first["ratio"].toDouble(), grid.ratio(0, 0)); // the double itself, not cut
    QCOMPARE(first["apca"].toDouble(), grid.apca(0, 0));
    QCOMPARE(first["level"].toString(), QStringLiteral("AA"));
    QCOMPARE(first["aaa"].toBool(), false);
    QCOMPARE(first["aaLarge"].toBool(), true);
    QCOMPARE(pairs[2].toObject()["text"].toString(), QStringLiteral("=HYPERLINK(\"x\")"));
}

void TestGridExport::textAndTablesKeepTheirShape() {
    const ContrastGrid grid = sampleGrid();
    const GridView view = makeGridView(grid, {});
    GridExportOptions options;
    options.apca = true;
    const QList<QByteArray> text = gridExport(grid, view, GridFormat::Text, options).split('\n');
    QCOMPARE(text[0], QByteArray("fgColor.muted\t#59636e\tbgColor.default\t#ffffff\t6,11:1\tAA\t"
                                 "Lc 80,5"));
    QCOMPARE(text[4].split('\t').size(), 7); // the tab in the name became a blank
    QVERIFY(text[4].startsWith("Tab und | Strich\t"));

    const QList<QByteArray> csv = gridExport(grid, view, GridFormat::Csv, options).split('\n');
    QCOMPARE(csv[0],
             QByteArray("text,text_colour,background,background_colour,ratio,level,apca\r"));
    QCOMPARE(csv[2], QByteArray("fgColor.muted,#59636e,\"Komma, \"\"Zitat\"\"\",#0d1117,3.09,3:1,"
                                "-20.8\r"));
    // A spreadsheet must not take a name for a formula.
    QVERIFY(csv[3].startsWith("\"'=HYPERLINK(\"\"x\"\")\",#777777,bgColor.default,#ffffff,4.47,"
                              "3:1"));

    const QList<QByteArray> md = gridExport(grid, view, GridFormat::Markdown).split('\n');
    QCOMPARE(md[0], QByteArray("| Text \\ Hintergrund | bgColor.default `#ffffff` | Komma, "
                               "\"Zitat\" `#0d1117` |"));
    QCOMPARE(md[1], QByteArray("|---|---|---|"));
    QCOMPARE(md[4], QByteArray("| Tab und \\| Strich `#000000` | 21,00:1 AAA | 1,10:1 – |"));
}

void TestGridExport::minimumLeavesOutTheFailing() {
    const ContrastGrid grid = sampleGrid();
    GridFilter filter;
    filter.minimumRatio = 4.5;
    const QByteArray greyed = gridExport(grid, makeGridView(grid, filter), GridFormat::Html);
    QCOMPARE(greyed.count("<td class=\"zelle abgeblendet\""), 4); // all but 6,11 and 21
    filter.hideEmpty = true;
    const GridView view = makeGridView(grid, filter);
    const QByteArray text = gridExport(grid, view, GridFormat::Text);
    QCOMPARE(text.count('\n'), 2); // 6,11 and 21; 4,47 is cut below 4,5
    const QByteArray html = gridExport(grid, view, GridFormat::Html);
    QCOMPARE(html.count("<td class=\"zelle abgeblendet\""), 0);
    QVERIFY(!html.contains("#777777")); // no passing cell in its row
    QVERIFY(!html.contains("#0d1117")); // nor in this column
}

void TestGridExport::cssPalette_data() {
    QTest::addColumn<QByteArray>("css");
    QTest::addColumn<QString>("read");
    QTest::addColumn<QString>("refused");
    QTest::addColumn<qint64>("skipped");
    QTest::addRow("plain") << QByteArray(":root { --fg: #1f2328; --bg:#fff }")
                           << "fg #1f2328; bg #ffffff"
                           << "" << 0ll;
    QTest::addRow("aliases and fallback")
        << QByteArray(":root { --gray-9: #1f2328; --fg: var(--gray-9); --x: var(--nope, "
                      "var(--gray-9)); --y: VAR( --fg ) !important; }")
        << "gray-9 #1f2328; fg #1f2328; x #1f2328; y #1f2328"
        << "" << 0ll;
    QTest::addRow("non-colours skipped")
        << QByteArray(":root { --space: 8px; --font: \"Mona; Sans\", serif; --c: calc(1px + 2px); "
                      "--red: red; --bold: bold }")
        << "red #ff0000"
        << "" << 4ll;
    QTest::addRow("in comments and strings")
        << QByteArray("/* :root { --no: red; } */ :root { --a: \"--b: red;\"; --c: blue }")
        << "c #0000ff"
        << "" << 1ll;
    QTest::addRow("themes in other rules")
        << QByteArray(":root { --bg: #ffffff; --fg: var(--bg) }\n@media (prefers-color-scheme: "
                      "dark) { :root { --bg: #0d1117; --fg: var(--bg) } }")
        << "bg #ffffff; fg #ffffff; bg [@media (prefers-color-scheme: dark) :root] #0d1117; fg "
           "[@media (prefers-color-scheme: dark) :root] #0d1117"
        << "" << 0ll;
    QTest::addRow("refused colours")
        << QByteArray(":root {\n --shadow: rgb(0 0 0 / 50%);\n --broken: #ggg;\n --a: var(--b);\n "
                      "--b: var(--a);\n --gone: var(--nowhere);\n}")
        << ""
        << "Zeile 2 --shadow: „rgb(0 0 0 / 50%)“ ist nicht deckend (Alpha 0,5).; Zeile 3 "
           "--broken: „#ggg“ ist keine CSS-Farbe. Nach „#“ stehen 3, 4, 6 oder 8 "
           "Hexadezimalziffern (0-9, a-f).; Zeile 4 --a: Die Verweise führen im Kreis.; Zeile 5 "
           "--b: Die Verweise führen im Kreis.; Zeile 6 --gone: Der Verweis auf --nowhere führt "
           "zu keiner Custom Property."
        << 0ll;
    QTest::addRow("outside any rule") << QByteArray("--top: red; a { color: red }") << ""
                                      << "" << 0ll;
    QTest::addRow("unclosed everything")
        << QByteArray(":root { --a: #abc; --b: rgb(1 2 3 /* x") << "a #aabbcc"
        << "Zeile 1 --b: „rgb(1 2 3 /* x“ ist keine CSS-Farbe. Es fehlt die schließende "
           "Klammer „)“."
        << 0ll;
    QTest::addRow("deep nesting") << QByteArray(QByteArray(100000, '{') + "--deep: teal;")
                                  << "deep #008080"
                                  << "" << 0ll;
    QTest::addRow("empty") << QByteArray() << ""
                           << "" << 0ll;
}

void TestGridExport::cssPalette() {
    QFETCH(QByteArray, css);
    QFETCH(QString, read);
    QFETCH(QString, refused);
    QFETCH(qint64, skipped);
    qint64 counted = -1;
    const PaletteReading reading = readCssPalette(css, &counted);
    QCOMPARE(entries(reading), read);
    QCOMPARE(refusals(reading), refused);
    QCOMPARE(counted, skipped);
    QCOMPARE(reading.notes.isEmpty(), skipped == 0);
}

// A chain of 50,000 aliases (each property naming the next) is followed once, not once for
// each of its properties.
void TestGridExport::longAliasChainIsFollowedOnce() {
    QByteArray css = ":root {";
    const int length = 50000;
    for (int i = 0; i < length; ++i)
        css += "--c" + QByteArray::number(i) + ": var(--c" + QByteArray::number(i + 1) + ");";
    css += "--c" + QByteArray::number(length) + ": #123456; }";
    QElapsedTimer timer;
    timer.start();
    const PaletteReading reading = readCssPalette(css);
    QCOMPARE(reading.palettes[0].entries.size(), std::size_t(length) + 1);
    QCOMPARE(reading.palettes[0].entries.front().colour, hex(0x123456));
    QVERIFY2(timer.elapsed() < 20000, "a chain followed for each of its properties");
}

void TestGridExport::rampsAsTokensAndCss() {
    const std::vector<double> targets{3, 4.5, 21};
    const std::vector<ColourRamp> ramps{
        makeColourRamp(hex(0x0969da), hex(0xffffff), RampMeasure::Wcag, targets),
        makeColourRamp(hex(0x0969da), hex(0x0d1117), RampMeasure::Wcag, targets)};
    const ExportStamp stamp{QStringLiteral("Pigmora 1.0.0"), QDateTime::currentDateTime()};
    const QJsonObject tokens =
        QJsonDocument::fromJson(rampExport(ramps, RampFormat::Tokens, stamp)).object();
    const QJsonObject light = tokens["farbreihe"].toObject()["auf-ffffff"].toObject();
    QCOMPARE(light["4-5"].toObject()["$description"].toString(),
             QStringLiteral("4,5:1 auf #ffffff"));
    QCOMPARE(light["4-5"].toObject()["$value"].toObject()["hex"].toString(),
             hashHexText(*ramps[0].steps[1].colour));
    QVERIFY(!light.contains("21")); // out of reach of the hue: left out
    const QByteArray css = rampExport(ramps, RampFormat::Css, stamp);
    QVERIFY(css.contains(
        "  --farbreihe-0d1117-4-5: " + hashHexText(*ramps[1].steps[1].colour).toLatin1() +
        "; /* 4,5:1 auf #0d1117 */\n"));
    const QJsonObject json =
        QJsonDocument::fromJson(rampExport(ramps, RampFormat::Json, stamp)).object();
    const QJsonObject unreached = json["ramps"][0]["steps"][2].toObject();
    QCOMPARE(unreached["reached"].toBool(), false);
    QVERIFY(unreached["ratio"].toDouble() < 21);
    const auto schemes = rampSchemes(ramps);
    QCOMPARE(schemes.size(), 4u);
    QCOMPARE(schemes[1].name, QStringLiteral("Schlüssel 4.5 auf #ffffff"));
    QCOMPARE(rampSchemes({ramps[0]})[1].name, QStringLiteral("Schlüssel 4.5"));
}

QTEST_GUILESS_MAIN(TestGridExport)
#include "test_grid_export.moc"
