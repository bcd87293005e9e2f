// pigmora-schemes grid and ramp as a user or a CI job runs them: the real executable, its exit
// status, standard output and standard error.

#include "schemes/scheme_file.h"
#include "schemes/scheme_transfer.h"
#include "tool_process.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

using namespace pigmora;
using test::ToolRun;

namespace {

const std::vector<ColourScheme> stored{{"Standard", {0x1f, 0x23, 0x28}, {0xff, 0xff, 0xff}},
                                       {"Gedämpft", {0x59, 0x63, 0x6e}, {0xf6, 0xf8, 0xfa}},
                                       {"Grau", {0x77, 0x77, 0x77}, {0xff, 0xff, 0xff}}};

const QByteArray tokens = R"({"fgColor": {"$type": "color",
  "default": {"$value": "#1f2328"}, "muted": {"$value": "{base.gray.6}"}},
 "bgColor": {"$type": "color", "default": {"$value": "#ffffff"}, "inset": {"$value": "#eff2f5"}},
 "base": {"gray": {"$type": "color", "6": {"$value": "#59636e"}}}})";

const QByteArray css = ":root { --fg-accent: #0969da; --radius: 6px; }";

} // namespace

class TestGridRampCommands : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void calls_data();
    void calls();
    void jsonHasEveryPair();
    void requireGate_data();
    void requireGate();
    void rampJsonAndTokens();

private:
    QString inDir(const QString& name) const { return dir_.filePath(name); }
    QString write(const QString& name, const QByteArray& contents) const {
        QFile file(inDir(name));
        file.open(QIODevice::WriteOnly);
        file.write(contents);
        return file.fileName();
    }
    // The arguments with the test's files for the names in braces.
    QStringList expanded(QStringList args) const {
        for (QString& a : args)
            a.replace(QStringLiteral("{dir}"), dir_.path());
        return args;
    }
    ToolRun tool(const QStringList& args) const {
        return test::runTool(expanded(args), inDir(QStringLiteral("home")));
    }
    QTemporaryDir dir_;
};

void TestGridRampCommands::initTestCase() {
    QVERIFY(QDir().mkpath(inDir(QStringLiteral("home"))));
    const auto file = SchemeFile::openOrCreate(inDir(QStringLiteral("Farben.mdb")));
    QCOMPARE(addSchemes(*file, stored), std::nullopt);
    write(QStringLiteral("system.tokens.json"), tokens);
    write(QStringLiteral("accent.css"), css);
    write(QStringLiteral("kaputt.tokens.json"), "{\"a\": ");
    QByteArray large = "GIMP Palette\n";
    for (int i = 0; i < 4001; ++i) // 16,008,001 pairs all against all
        large += QByteArray::number(i % 256) + " 0 0\tc" + QByteArray::number(i) + '\n';
    write(QStringLiteral("gross.gpl"), large);
}

void TestGridRampCommands::calls_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QStringList>("out"); // every line of standard output
    QTest::addColumn<QString>("err");     // a part of standard error
    const QString file = QStringLiteral("--file={dir}/Farben.mdb");
    QTest::addRow("stored schemes")
        << QStringList{"grid", file} << 0
        << QStringList{"Standard\t#1f2328\tStandard\t#ffffff\t15,79:1\tAAA",
                       "Standard\t#1f2328\tGedämpft\t#f6f8fa\t14,83:1\tAAA",
                       "Gedämpft\t#59636e\tStandard\t#ffffff\t6,11:1\tAA",
                       "Gedämpft\t#59636e\tGedämpft\t#f6f8fa\t5,74:1\tAA",
                       "Grau\t#777777\tStandard\t#ffffff\t4,47:1\t3:1",
                       "Grau\t#777777\tGedämpft\t#f6f8fa\t4,20:1\t3:1"}
        << "";
    QTest::addRow("the pairs that may be used")
        << QStringList{"grid", file, "--min", "4,5", "--rows", "G*", "--columns", "Standard"} << 0
        << QStringList{"Gedämpft\t#59636e\tStandard\t#ffffff\t6,11:1\tAA"} << "";
    QTest::addRow("large text")
        << QStringList{"grid", file, "--large", "--rows", "Grau", "--columns", "Standard", "--apca"}
        << 0 << QStringList{"Grau\t#777777\tStandard\t#ffffff\t4,47:1\tAA\tLc 71,1"} << "";
    QTest::addRow("colour vision")
        << QStringList{"grid",   file,       "--vision",  "achroma",
                       "--rows", "Gedämpft", "--columns", "Standard"}
        << 0 << QStringList{"Gedämpft\t#59636e\tStandard\t#ffffff\t6,09:1\tAA"} << "";
    QTest::addRow("tokens and CSS, patterns")
        << QStringList{"grid",
                       "{dir}/system.tokens.json",
                       "{dir}/accent.css",
                       "--rows",
                       "fgColor.*",
                       "--rows",
                       "fg-*",
                       "--columns",
                       "bgColor.inset",
                       "--format",
                       "csv"}
        << 0
        << QStringList{"text,text_colour,background,background_colour,ratio,level\r",
                       "fgColor.default,#1f2328,bgColor.inset,#eff2f5,14.05,AAA\r",
                       "fgColor.muted,#59636e,bgColor.inset,#eff2f5,5.44,AA\r",
                       "fg-accent,#0969da,bgColor.inset,#eff2f5,4.62,AA\r"}
        << "Hinweis: 1 Custom Property ohne Farbe übersprungen.";
    QTest::addRow("markdown") << QStringList{"grid",   file,       "--format",  "markdown",
                                             "--rows", "Standard", "--columns", "Gedämpft"}
                              << 0
                              << QStringList{"| Text \\ Hintergrund | Gedämpft `#f6f8fa` |",
                                             "|---|---|", "| Standard `#1f2328` | 14,83:1 AAA |"}
                              << "";
    // Wrong calls and unreadable files: 2, nothing on standard output.
    QTest::addRow("unknown format") << QStringList{"grid", file, "--format", "xml"} << 2
                                    << QStringList{} << "Das Format „xml“ gibt es nicht";
    QTest::addRow("minimum") << QStringList{"grid", file, "--min", "AA"} << 2 << QStringList{}
                             << "„AA“ ist kein Kontrastverhältnis für --min";
    QTest::addRow("vision") << QStringList{"grid", file, "--vision", "blau"} << 2 << QStringList{}
                            << "Die Art „blau“ gibt es nicht";
    QTest::addRow("pattern matches nothing")
        << QStringList{"grid", file, "--rows", "fg*"} << 2 << QStringList{}
        << "Keine Farbe passt zu --rows „fg*“.";
    QTest::addRow("file missing") << QStringList{"grid", "{dir}/fehlt.gpl"} << 2 << QStringList{}
                                  << "Sie ist nicht vorhanden.";
    QTest::addRow("too many pairs") << QStringList{"grid", "{dir}/gross.gpl"} << 2 << QStringList{}
                                    << "16.008.001 Felder; es nimmt höchstens 16.000.000.";
    QTest::addRow("file broken") << QStringList{"grid", "{dir}/kaputt.tokens.json"} << 2
                                 << QStringList{} << "kann nicht importiert werden";
    QTest::addRow("require with a format")
        << QStringList{"grid", file, "--require", "{dir}/x", "--format", "json"} << 2
        << QStringList{} << "--format gilt dann nicht";
    QTest::addRow("ramp")
        << QStringList{"ramp", "#0969da", "--background", "white", "--targets", "4.5"} << 0
        << QStringList{"Schlüssel #0969da auf #ffffff, dunkler:", "4,5:1\t#1b73e5\t4,53:1"} << "";
    QTest::addRow("ramp out of reach")
        << QStringList{"ramp", "#bf3989", "--background", "#808080", "--targets", "4.5 7"} << 1
        << QStringList{"Schlüssel #bf3989 auf #808080, dunkler:", "4,5:1\t#350020\t4,53:1",
                       "7:1\tnicht erreicht\tam nächsten #050002 mit 5,27:1"}
        << "Das Ziel 7:1 erreicht auf #808080 keine Farbe des Farbtons von #bf3989";
    QTest::addRow("ramp without background") << QStringList{"ramp", "#0969da", "--targets", "3"}
                                             << 2 << QStringList{} << "Es fehlt der Hintergrund";
    QTest::addRow("ramp without targets") << QStringList{"ramp", "#0969da", "--background", "#fff"}
                                          << 2 << QStringList{} << "Es fehlen die Ziele";
    QTest::addRow("ramp with both targets")
        << QStringList{"ramp", "#0969da", "--background", "#fff", "--targets", "3", "--apca", "60"}
        << 2 << QStringList{} << "nicht beides";
    QTest::addRow("ramp falling targets")
        << QStringList{"ramp", "#0969da", "--background", "#fff", "--targets", "7 4.5"} << 2
        << QStringList{} << "Die Ziele müssen aufsteigen: 4.5 steht nach 7.";
    QTest::addRow("ramp background with alpha")
        << QStringList{"ramp", "#0969da", "--background", "#ffffff80", "--targets", "3"} << 2
        << QStringList{} << "Der Hintergrund muss deckend sein.";
    QTest::addRow("ramp not a colour")
        << QStringList{"ramp", "blau", "--background", "#fff", "--targets", "3"} << 2
        << QStringList{} << "„blau“ ist keine CSS-Farbe";
}

void TestGridRampCommands::calls() {
    QFETCH(QStringList, args);
    QFETCH(int, exitCode);
    QFETCH(QStringList, out);
    QFETCH(QString, err);
    const ToolRun run = tool(args);
    QVERIFY(run.finished);
    QCOMPARE(run.outLines(), out);
    QVERIFY2(run.err.contains(err), qPrintable(run.err));
    QCOMPARE(run.exitCode, exitCode);
}

void TestGridRampCommands::jsonHasEveryPair() {
    const ToolRun run = tool({"grid", "{dir}/system.tokens.json", "--format", "json"});
    QCOMPARE(run.exitCode, 0);
    const QJsonObject doc = QJsonDocument::fromJson(run.out.toUtf8()).object();
    QCOMPARE(doc["rows"].toArray().size(), 5); // all against all, the alias's target too
    const QJsonArray pairs = doc["pairs"].toArray();
    QCOMPARE(pairs.size(), 25);
    const QJsonObject muted = pairs[5 + 2].toObject(); // fgColor.muted on bgColor.default
    QCOMPARE(muted["text"].toString(), QStringLiteral("fgColor.muted"));
    QCOMPARE(muted["background"].toString(), QStringLiteral("bgColor.default"));
    QVERIFY(qAbs(muted["ratio"].toDouble() - 6.1141) < 1e-4);
    QCOMPARE(muted["aa"].toBool(), true);
}

void TestGridRampCommands::requireGate_data() {
    QTest::addColumn<QByteArray>("required");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QStringList>("out");
    QTest::addColumn<QString>("err");
    QTest::addRow("all reached") << QByteArray(
                                        "# Text auf Hintergrund\nfgColor.default "
                                        "bgColor.default 7\n\nfgColor.muted\tbgColor.inset\t4,5\n")
                                 << 0 << QStringList{} << "2 verlangte Paare erreichen ihr Ziel.";
    QTest::addRow("one falls short")
        << QByteArray("fgColor.muted bgColor.default 7\nfgColor.default bgColor.inset 4.5\n") << 1
        << QStringList{"fgColor.muted\t#59636e\tbgColor.default\t#ffffff\t6,11:1\tverlangt 7:1"}
        << "1 von 2 verlangten Paaren verfehlt ihr Ziel.";
    QTest::addRow("unknown name") << QByteArray("fgColor.nope bgColor.default 4.5\n") << 2
                                  << QStringList{}
                                  << "Zeile 1: „fgColor.nope“ ist keine Textfarbe des Rasters.";
    QTest::addRow("no ratio") << QByteArray("\nfgColor.default bgColor.default\n") << 2
                              << QStringList{} << "Zeile 2: Erwartet sind Textfarbe, Hintergrund";
    QTest::addRow("ratio out of range") << QByteArray("fgColor.default bgColor.default 22\n") << 2
                                        << QStringList{} << "„22“ ist kein Kontrastverhältnis";
}

void TestGridRampCommands::requireGate() {
    QFETCH(QByteArray, required);
    QFETCH(int, exitCode);
    QFETCH(QStringList, out);
    QFETCH(QString, err);
    write(QStringLiteral("paare.txt"), required);
    const ToolRun run = tool({"grid", "{dir}/system.tokens.json", "--require", "{dir}/paare.txt"});
    QCOMPARE(run.outLines(), out);
    QVERIFY2(run.err.contains(err), qPrintable(run.err));
    QCOMPARE(run.exitCode, exitCode);
}

void TestGridRampCommands::rampJsonAndTokens() {
    const QStringList ramp{"ramp",    "oklch(55% 0.2 260)", "--background",
                           "#ffffff", "--background",       "#0d1117",
                           "--apca",  "30 60 90 107"};
    const ToolRun json = tool(ramp + QStringList{"--format", "json"});
    QCOMPARE(json.exitCode, 1); // Lc 107 is out of reach of the hue
    const QJsonArray ramps = QJsonDocument::fromJson(json.out.toUtf8()).object()["ramps"].toArray();
    QCOMPARE(ramps.size(), 2);
    QCOMPARE(ramps[1].toObject()["side"].toString(), QStringLiteral("lighter"));
    const QJsonArray steps = ramps[0].toObject()["steps"].toArray();
    QCOMPARE(steps[1].toObject()["reached"].toBool(), true);
    QVERIFY(steps[1].toObject()["lc"].toDouble() >= 60 &&
            steps[1].toObject()["lc"].toDouble() <= 61);
    QCOMPARE(steps[3].toObject()["reached"].toBool(), false);
    QCOMPARE(json.err.count(QStringLiteral("Das Ziel Lc 107")), 2);

    const ToolRun tokensRun = tool(ramp + QStringList{"--format", "tokens"});
    const QJsonObject group = QJsonDocument::fromJson(tokensRun.out.toUtf8())
                                  .object()["farbreihe"]
                                  .toObject()["auf-0d1117"]
                                  .toObject();
    QCOMPARE(group["lc-60"].toObject()["$description"].toString(),
             QStringLiteral("Lc 60 auf #0d1117"));
    QVERIFY(!group.contains("lc-107"));
}

QTEST_GUILESS_MAIN(TestGridRampCommands)
#include "test_grid_ramp_commands.moc"
