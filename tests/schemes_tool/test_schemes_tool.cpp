#include "scheme_db.h"
#include "tool_process.h"

#include "base/hex_digit.h"
#include "contrast/apca.h"
#include "contrast/wcag.h"
#include "css_colour/colour_forms.h"
#include "exchange/scheme_export.h"
#include "schemes/scheme_file.h"
#include "schemes/scheme_transfer.h"
#include "schemes_tool/schemes_tool.h"
#include "version.h"

#include <QBuffer>
#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

Q_DECLARE_METATYPE(pigmora::Rgb)

using namespace pigmora;
using test::RawDb;
using test::runTool;
using test::ToolRun;

// pigmora-schemes as a user runs it: the real executable on scheme files in a temporary
// directory, its exit status, standard output and standard error.
class TestSchemesTool : public QObject {
    Q_OBJECT
private slots:
    void init();
    void usageErrors_data();
    void usageErrors();
    void helpAndVersion_data();
    void helpAndVersion();
    void unusableSchemeFile_data();
    void unusableSchemeFile();
    void readOnlyCommandsChangeNothing_data();
    void readOnlyCommandsChangeNothing();
    void listsCompleteSchemesInStoredOrder();
    void listJsonIsTheJsonExport();
    void exportFormats_data();
    void exportFormats();
    void exportNeverReplacesTheSchemeFile_data();
    void exportNeverReplacesTheSchemeFile();
    void import_data();
    void import();
    void importDesignSystem_data();
    void importDesignSystem();
    void importTakesBackWhatWasExported_data();
    void importTakesBackWhatWasExported();
    void checkFindsExactlyTheFailingPairs_data();
    void checkFindsExactlyTheFailingPairs();
    void contrast_data();
    void contrast();
    void contrastJson_data();
    void contrastJson();
    void convert_data();
    void convert();
    void convertJson();
    void convertLines_data();
    void convertLines();
    void convertLinesInProcess();
    void findsTheProgramsFileBesideIt();
    void waitsForAProgramHoldingTheFile_data();
    void waitsForAProgramHoldingTheFile();
    void outputThatCannotBeWrittenIsAnError();
    void exportIntoANamedPipe();
    void contrastIgnoresTheSchemeFile();

private:
    QString path() const { return dir_->filePath(QStringLiteral("Farben.mdb")); }
    QString home() const { return dir_->filePath(QStringLiteral("home")); }
    QString inDir(const QString& name) const { return dir_->filePath(name); }
    ToolRun tool(QStringList args) const { return runTool(args, home()); }
    // The arguments with --file naming the test's scheme file, before the command (tests that
    // name another file give --file after it).
    QStringList onFile(QStringList args) const {
        return QStringList{QStringLiteral("--file"), path()} + args;
    }
    QStringList rows() const {
        return RawDb(path()).rows(QStringLiteral("SELECT * FROM Farbtabelle ORDER BY rowid"));
    }
    QStringList entries(const QString& dir) const {
        return QDir(dir).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    }
    QString writeFile(const QString& name, const QByteArray& contents) const {
        QFile file(inDir(name));
        if (!file.open(QIODevice::WriteOnly) || file.write(contents) != contents.size())
            qFatal("cannot write %s", qPrintable(name));
        return file.fileName();
    }
    std::unique_ptr<QTemporaryDir> dir_;
};

namespace {

// What init() stores, and of it what the tool reads: two records are incomplete.
const std::vector<ColourScheme> storedSchemes{{"Abendrot", {255, 69, 0}, {255, 248, 220}},
                                              {"Meer", {0, 0, 128}, {224, 255, 255}},
                                              {"Tab\there", {1, 2, 3}, {4, 5, 6}},
                                              {"Meer", {10, 20, 30}, {40, 50, 60}},
                                              {"Über Grün", {0, 0, 0}, {255, 255, 255}}};
const QStringList storedLines{"Abendrot\t#ff4500\t#fff8dc", "Meer\t#000080\t#e0ffff",
                              "Tab here\t#010203\t#040506", "Meer\t#0a141e\t#28323c",
                              "Über Grün\t#000000\t#ffffff"};
const QString incompleteNote =
    QStringLiteral("Hinweis: 2 Einträge der Farbdatei sind unvollständig");

const QByteArray validJson = R"({"format": "pigmora-schemes", "version": 1, "schemes": [
    {"name": "Neu eins", "text": "#123456", "background": "#abc"},
    {"name": "Neu zwei", "text": [1, 2, 3], "background": "#FFFFFF"}]})";

// The lines of an export with the line that names who wrote it and when cut after " am ".
QStringList withoutTime(const QByteArray& contents) {
    QStringList lines = QString::fromUtf8(contents).split(QLatin1Char('\n'));
    for (QString& line : lines)
        if (line.contains(QLatin1String("geschrieben von")))
            line = line.left(line.indexOf(QLatin1String(" am ")));
    return lines;
}

} // namespace

void TestSchemesTool::init() {
    dir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(QDir().mkpath(home()));
    SchemeFile::openOrCreate(path())->close();
    RawDb db(path());
    db.addScheme("Abendrot", {255, 69, 0, 255, 248, 220});
    db.addScheme("Meer", {0, 0, 128, 224, 255, 255});
    db.addScheme("Lücke", {1, QVariant(), 3, 4, 5, 6});
    db.addScheme(QVariant(), {1, 2, 3, 4, 5, 6});
    db.addScheme("Tab\there", {1, 2, 3, 4, 5, 6}); // only a foreign program stores that
    db.addScheme("Meer", {10, 20, 30, 40, 50, 60});
    db.addScheme("Über Grün", {0, 0, 0, 255, 255, 255});
}

void TestSchemesTool::usageErrors_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("help"); // the command the hint names, empty for the tool
    const auto row = [](const char* name, QStringList args, const char* message, const char* help) {
        QTest::newRow(name) << args << QString::fromUtf8(message) << QString::fromUtf8(help);
    };
    row("no command", {}, "Es fehlt ein Befehl.", "");
    row("only --file", {"--file", "x.mdb"}, "Es fehlt ein Befehl.", "");
    row("unknown command", {"lsit"}, "Den Befehl „lsit“ gibt es nicht.", "");
    row("unknown option", {"list", "--lang"}, "Die Option „--lang“ gibt es nicht.", "list");
    row("another command's option", {"list", "--level", "AA"}, "Die Option „--level“", "list");
    row("option before the command", {"--dry-run", "list"}, "Die Option „--dry-run“", "list");
    row("--file without a value", {"check", "--file"}, "Nach „--file“ fehlt ein Wert.", "check");
    row("--file empty", {"check", "--file="}, "Nach --file fehlt der Pfad", "check");
    row("value for a switch", {"list", "--json=ja"}, "„--json“ nimmt keinen Wert an.", "list");
    row("list with an argument", {"list", "alles"}, "Zu viele Argumente: „alles“.", "list");
    row("export without format", {"export"}, "Es fehlt das Format", "export");
    row("export to a file of no format", {"export", "-o", "liste.txt"}, "Es fehlt das Format",
        "export");
    row("export in an unknown format", {"export", "--format", "pdf"},
        "Das Format „pdf“ gibt es nicht", "export");
    row("import without a file", {"import"}, "Es fehlt die Datei", "import");
    row("import, the same role without a rule", {"import", "a.json", "b.json", "--same-role"},
        "--same-role gilt für eine Regel", "import");
    row("import with one glob", {"import", "a.json", "--text", "fg.*"},
        "Eine Regel braucht beide Muster", "import");
    row("check at level A", {"check", "--level", "A"}, "Die Stufe „A“ gibt es nicht", "check");
    row("contrast without colours", {"contrast"}, "Es fehlen die Textfarbe und der Hintergrund.",
        "contrast");
    row("contrast of one colour", {"contrast", "black"}, "Es fehlt der Hintergrund.", "contrast");
    row("contrast of three colours", {"contrast", "black", "white", "red"},
        "Zu viele Argumente: „red“.", "contrast");
    row("five hexadecimal digits", {"contrast", "#12345", "white"}, "„#12345“ ist keine CSS-Farbe.",
        "contrast");
    row("background not opaque", {"contrast", "black", "rgb(0 0 0 / 50%)"},
        "Der Hintergrund muss deckend sein.", "contrast");
    row("convert without a colour", {"convert"}, "Es fehlt die Farbe (oder --stdin).", "convert");
    row("convert --stdin with a colour", {"convert", "--stdin", "red"}, "nicht als Argument: „red“",
        "convert");
    row("convert --stdin --json", {"convert", "--stdin", "--json"}, "nicht mit --stdin", "convert");
    row("unknown colour name", {"contrast", "schwarz", "white"}, "„schwarz“ ist keine CSS-Farbe",
        "contrast");
}

// Exit status 2, the message and the usage hint on standard error, nothing on standard output,
// nothing created or changed.
void TestSchemesTool::usageErrors() {
    QFETCH(QStringList, args);
    QFETCH(QString, message);
    QFETCH(QString, help);
    const QByteArray before = test::fileHash(path());
    const ToolRun run = tool(args);
    QVERIFY(run.finished);
    QCOMPARE(run.exitCode, 2);
    QCOMPARE(run.out, QString());
    QVERIFY2(run.err.startsWith("pigmora-schemes: "), qPrintable(run.err));
    QVERIFY2(run.err.contains(message), qPrintable(run.err));
    const QString command = help.isEmpty() ? QString() : help + ' ';
    QVERIFY2(run.err.contains("Aufruf: pigmora-schemes " + command), qPrintable(run.err));
    QVERIFY2(run.err.contains("„pigmora-schemes " + command + "--help“"), qPrintable(run.err));
    QCOMPARE(test::fileHash(path()), before);
    QCOMPARE(entries(home()), QStringList());
}

void TestSchemesTool::helpAndVersion_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QStringList>("shown");
    QTest::addColumn<QStringList>("notShown");
    const QString version = QStringLiteral("pigmora-schemes " PIGMORA_VERSION "\n");
    QTest::newRow("--version") << QStringList{"--version"} << QStringList{version} << QStringList{};
    QTest::newRow("a command's --version")
        << QStringList{"check", "-v"} << QStringList{version} << QStringList{};
    const QStringList overview{"Aufruf: ",       "[Optionen] befehl", "  list ",     "  export ",
                               "  import ",      "  check ",          "  contrast ", "  convert ",
                               "--file <DATEI>", "Rückgabewert:"};
    QTest::newRow("--help") << QStringList{"--help"} << overview << QStringList{"Usage"};
    QTest::newRow("-h") << QStringList{"-h"} << overview << QStringList{"Usage"};
    QTest::newRow("contrast --help")
        << QStringList{"contrast", "--help"}
        << QStringList{"[Optionen] contrast textfarbe hintergrund", "--json", "Argumente:"}
        << QStringList{"--file", "Options:"};
    QTest::newRow("export --help")
        << QStringList{"export", "--help"}
        << QStringList{"--format <FORMAT>", "-o, --output <DATEI>", "--file <DATEI>"}
        << QStringList{"--json", "--dry-run"};
    QTest::newRow("import --help")
        << QStringList{"import", "-h"} << QStringList{"[Optionen] import datei", "--dry-run"}
        << QStringList{"--format"};
}

void TestSchemesTool::helpAndVersion() {
    QFETCH(QStringList, args);
    QFETCH(QStringList, shown);
    QFETCH(QStringList, notShown);
    const ToolRun run = tool(args);
    QVERIFY(run.finished);
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.err, QString());
    for (const QString& text : shown)
        QVERIFY2(run.out.contains(text), qPrintable(text + " missing in:\n" + run.out));
    for (const QString& text : notShown)
        QVERIFY2(!run.out.contains(text), qPrintable(text + " found in:\n" + run.out));
    QVERIFY(run.out.endsWith('\n'));
}

void TestSchemesTool::unusableSchemeFile_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QStringList>("args");
    const QList<std::pair<const char*, QStringList>> commands{
        {"list", {"list"}},
        {"list --json", {"list", "--json"}},
        {"export", {"export", "--format", "css"}},
        {"export -o", {"export", "-o", "aus.json"}},
        {"import", {"import", "neu.json"}},
        {"import --dry-run", {"import", "neu.json", "--dry-run"}},
        {"check", {"check"}}};
    for (const QString kind : {"missing", "not a database", "without the table", "a folder"})
        for (const auto& [name, args] : commands)
            if (kind != "missing" || args[0] != "import") // a missing file is made by an import
                QTest::newRow(qPrintable(kind + ": " + name)) << kind << args;
}

// A scheme file that is not there or cannot be used: exit status 2 and the program's message;
// nothing is created, the file is not changed, nothing is imported or exported.
void TestSchemesTool::unusableSchemeFile() {
    QFETCH(QString, kind);
    QFETCH(QStringList, args);
    const QString work = inDir("arbeit");
    QVERIFY(QDir().mkpath(work));
    const QString file = work + "/Farben.mdb";
    if (kind == "not a database") {
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(QByteArray("Dies ist keine Datenbank.\n").repeated(200));
    } else if (kind == "without the table") {
        RawDb(file).exec("CREATE TABLE Andere (Name TEXT)");
    } else if (kind == "a folder") {
        QVERIFY(QDir().mkpath(file));
    }
    writeFile("arbeit/neu.json", validJson);
    const QStringList before = entries(work);
    const QByteArray hash = test::fileHash(file);
    QProcess process;
    test::prepareTool(process, home());
    process.setWorkingDirectory(work);
    process.setArguments(args << "--file" << file);
    process.start();
    const ToolRun run = test::finishTool(process);
    QVERIFY(run.finished);
    QCOMPARE(run.exitCode, 2);
    QCOMPARE(run.out, QString());
    QVERIFY2(
        run.err.startsWith("pigmora-schemes: Die Farbdatei kann nicht geöffnet werden:\n" + file),
        qPrintable(run.err));
    QVERIFY2(run.err.contains("„pigmora-schemes " + args[0] + " --help“"), qPrintable(run.err));
    if (kind == "missing") // with the way to make one
        QVERIFY2(
            run.err.contains("Eine neue Farbdatei legt ein Import an: pigmora-schemes --file " +
                             file + " import DATEI"),
            qPrintable(run.err));
    QCOMPARE(entries(work), before);
    QCOMPARE(test::fileHash(file), hash);
    QCOMPARE(entries(home()), QStringList());
}

void TestSchemesTool::readOnlyCommandsChangeNothing_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("exitCode");
    QTest::newRow("list") << QStringList{"list"} << 0;
    QTest::newRow("list --json") << QStringList{"list", "--json"} << 0;
    for (const char* format : {"css", "json", "gpl"})
        QTest::addRow("export %s", format) << QStringList{"export", "--format", format} << 0;
    QTest::newRow("check") << QStringList{"check"} << 1;
    QTest::newRow("check AAA large") << QStringList{"check", "--level", "aaa", "--large"} << 1;
    QTest::newRow("import --dry-run") << QStringList{"import", "--dry-run", "neu.json"} << 0;
    QTest::newRow("import --dry-run refused")
        << QStringList{"import", "--dry-run", "alt.json"} << 1;
}

void TestSchemesTool::readOnlyCommandsChangeNothing() {
    QFETCH(QStringList, args);
    QFETCH(int, exitCode);
    writeFile("neu.json", validJson);
    writeFile("alt.json", R"([{"name": "", "text": "#000", "background": "#fff"}])");
    for (QString& arg : args)
        if (arg.endsWith(".json"))
            arg = inDir(arg);
    const QStringList before = entries(dir_->path());
    const QByteArray hash = test::fileHash(path());
    const ToolRun run = tool(onFile(args));
    QVERIFY(run.finished);
    QCOMPARE(run.exitCode, exitCode);
    QCOMPARE(test::fileHash(path()), hash);
    QCOMPARE(entries(dir_->path()), before); // no journal or other file left beside it
}

void TestSchemesTool::listsCompleteSchemesInStoredOrder() {
    const ToolRun run = tool(onFile({"list"}));
    QVERIFY(run.finished);
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.outLines(), storedLines);
    QVERIFY2(run.err.startsWith(incompleteNote), qPrintable(run.err));
    QCOMPARE(run.err.count('\n'), 1); // one note for both

    // An empty file lists nothing and notes nothing.
    RawDb(path()).exec("DELETE FROM Farbtabelle");
    const ToolRun empty = tool(onFile({"list"}));
    QCOMPARE(empty.exitCode, 0);
    QCOMPARE(empty.out, QString());
    QCOMPARE(empty.err, QString());
}

void TestSchemesTool::listJsonIsTheJsonExport() {
    const ToolRun list = tool(onFile({"list", "--json"}));
    const ToolRun exported = tool(onFile({"export", "--format", "json"}));
    QCOMPARE(list.exitCode, 0);
    QCOMPARE(list.out, exported.out);
    const QJsonArray schemes = QJsonDocument::fromJson(list.out.toUtf8())["schemes"].toArray();
    QCOMPARE(schemes.size(), qsizetype(storedSchemes.size()));
    for (qsizetype i = 0; i < schemes.size(); ++i) {
        const QStringList fields = storedLines[i].split('\t');
        QCOMPARE(schemes[i]["name"].toString(), storedSchemes[i].name);
        QCOMPARE(schemes[i]["text"].toString(), fields[1]);
        QCOMPARE(schemes[i]["background"].toString(), fields[2]);
    }
    QVERIFY2(list.err.startsWith(incompleteNote), qPrintable(list.err));
}

void TestSchemesTool::exportFormats_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("format");
    QTest::addColumn<QString>("outputFile"); // empty: standard output
    QTest::addColumn<QString>("confirmation");
    QTest::newRow("css") << QStringList{"export", "--format", "css"} << int(ExchangeFormat::Css)
                         << QString() << QString();
    QTest::newRow("json") << QStringList{"export", "--format", "JSON"} << int(ExchangeFormat::Json)
                          << QString() << QString();
    QTest::newRow("gpl") << QStringList{"export", "--format=gpl"} << int(ExchangeFormat::Gpl)
                         << QString() << QString();
    QTest::newRow("tokens") << QStringList{"export", "--format", "Tokens"}
                            << int(ExchangeFormat::Tokens) << QString() << QString();
    QTest::newRow("css to a file") << QStringList{"export", "--format", "css", "-o", "@farben.css"}
                                   << int(ExchangeFormat::Css) << "farben.css"
                                   << "5 Farbschemata als CSS in @ geschrieben.";
    QTest::newRow("format from the file's suffix")
        << QStringList{"export", "--output", "@Palette.GPL"} << int(ExchangeFormat::Gpl)
        << "Palette.GPL"
        << "5 Farbschemata als GIMP-Palette in @ geschrieben.";
    QTest::newRow("--format wins over the suffix")
        << QStringList{"export", "-o", "@liste.css", "--format", "json"}
        << int(ExchangeFormat::Json) << "liste.css"
        << "5 Farbschemata als JSON in @ geschrieben.";
}

// What the exchange library writes of exactly the complete schemes, in stored order, on
// standard output or whole into the file.
void TestSchemesTool::exportFormats() {
    QFETCH(QStringList, args);
    QFETCH(int, format);
    QFETCH(QString, outputFile);
    QFETCH(QString, confirmation);
    const QString target = outputFile.isEmpty() ? QString() : inDir(outputFile);
    if (!target.isEmpty())
        writeFile(outputFile, QByteArray(100000, 'x')); // replaced whole
    for (QString& arg : args)
        arg.replace('@', dir_->path() + '/');
    const ToolRun run = tool(onFile(args));
    QVERIFY(run.finished);
    QCOMPARE(run.exitCode, 0);
    QVERIFY2(run.err.startsWith(incompleteNote), qPrintable(run.err));
    QVERIFY2(run.err.endsWith(QString(confirmation).replace('@', target) + '\n'),
             qPrintable(run.err));
    const QByteArray expected =
        exportSchemes(storedSchemes, ExchangeFormat(format),
                      {QStringLiteral("Pigmora " PIGMORA_VERSION), QDateTime::currentDateTime()});
    QByteArray written = run.out.toUtf8();
    if (!target.isEmpty()) {
        QCOMPARE(run.out, QString()); // the confirmation is no data
        QFile file(target);
        QVERIFY(file.open(QIODevice::ReadOnly));
        written = file.readAll();
    }
    QCOMPARE(withoutTime(written), withoutTime(expected));
    if (ExchangeFormat(format) == ExchangeFormat::Css ||
        ExchangeFormat(format) == ExchangeFormat::Gpl)
        QVERIFY(written.contains("geschrieben von Pigmora " PIGMORA_VERSION " am "));
}

void TestSchemesTool::exportNeverReplacesTheSchemeFile_data() {
    QTest::addColumn<QString>("how");
    QTest::newRow("the same name") << "same";
    QTest::newRow("a relative name") << "relative";
    QTest::newRow("a link to it") << "link";
    QTest::newRow("a hard link") << "hard link";
}

void TestSchemesTool::exportNeverReplacesTheSchemeFile() {
    QFETCH(QString, how);
    QString output = path();
    if (how == "relative")
        output = dir_->path() + "/./home/../Farben.mdb";
    if (how == "link") {
        output = inDir("verweis.css");
        QVERIFY(QFile::link(path(), output));
    }
    if (how == "hard link") {
        output = inDir("zweiter-name.css");
        QCOMPARE(
            ::link(QFile::encodeName(path()).constData(), QFile::encodeName(output).constData()),
            0);
    }
    const QByteArray hash = test::fileHash(path());
    const ToolRun run = tool(onFile({"export", "--format", "css", "-o", output}));
    QCOMPARE(run.exitCode, 2);
    QVERIFY2(run.err.contains("ist die Farbdatei selbst"), qPrintable(run.err));
    QCOMPARE(test::fileHash(path()), hash);
    QCOMPARE(rows().size(), 7);
}

void TestSchemesTool::import_data() {
    QTest::addColumn<QByteArray>("contents");
    QTest::addColumn<bool>("dryRun");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QStringList>("added"); // rows the file gains (or, dry, would gain)
    QTest::addColumn<QStringList>("out");
    QTest::addColumn<QStringList>("err"); // parts of standard error
    const QStringList added{"Neu eins|18|52|86|170|187|204", "Neu zwei|1|2|3|255|255|255"};
    const QStringList listed{"Neu eins\t#123456\t#aabbcc", "Neu zwei\t#010203\t#ffffff"};
    const QByteArray palette = "GIMP Palette\nName: Zwei\nColumns: 2\n#\n"
                               " 18  52  86\tNeu eins (Text)\n170 187 204\tNeu eins (Hintergrund)\n"
                               "1 2 3 Neu zwei (Text)\n255 255 255 Neu zwei (Hintergrund)\n";
    for (bool dry : {false, true}) {
        const char* mode = dry ? "dry run" : "import";
        // Standard output carries the schemes of a dry run only; every summary is a message.
        const QStringList out = dry ? listed : QStringList{};
        const QStringList err = dry ? QStringList{"Probelauf: 2 Farbschemata würden importiert"}
                                    : QStringList{"2 Farbschemata importiert."};
        QTest::addRow("%s: JSON", mode) << validJson << dry << 0 << added << out << err;
        QTest::addRow("%s: palette", mode) << palette << dry << 0 << added << out << err;
        QTest::addRow("%s: bare list of one", mode)
            << QByteArray(R"([{"name": "Neu eins", "text": "#123456", "background": "#abc"}])")
            << dry << 0 << added.mid(0, 1) << (dry ? listed.mid(0, 1) : QStringList{})
            << (dry ? QStringList{"Probelauf: 1 Farbschema würde importiert"}
                    : QStringList{"1 Farbschema importiert."});
        QTest::addRow("%s: CSS colours, one outside sRGB", mode)
            << QByteArray(R"j([{"name": "Neu eins", "text": "oklch(31.92% 0.07245 251.17)",
                                "background": "oklch(70% 0.4 30)"}])j")
            << dry << 0 << QStringList{"Neu eins|18|52|86|255|88|67"}
            << (dry ? QStringList{"Neu eins\t#123456\t#ff5843"} : QStringList{})
            << QStringList{"Hinweis: 1 Farbe lag außerhalb von sRGB und wurde angenähert."};
        QTest::addRow("%s: nothing in it", mode)
            << QByteArray("[]") << dry << 1 << QStringList{} << QStringList{}
            << QStringList{"Nichts importiert: die Dateien enthalten kein Farbschema.",
                           "Gesucht wurden"};
        QTest::addRow("%s: a name too long", mode)
            << QByteArray(R"([{"name": "Gut", "text": "#000", "background": "#fff"},
                {"name": "Einunddreißig Zeichen sind zu lang", "text": "#000", "background": "#fff"},
                {"name": "Auch gut", "text": "#000", "background": "#fff"}])")
            << dry << 1 << QStringList{}
            << (dry ? QStringList{"Gut\t#000000\t#ffffff", "Auch gut\t#000000\t#ffffff"}
                    : QStringList{})
            << QStringList{"Eintrag 2: Einunddreißig Zeichen sind zu lang: Der Name ist 34 "
                           "Zeichen lang",
                           "Nichts importiert: 1 von 3 Einträgen abgelehnt."};
        QTest::addRow("%s: a palette line out of range", mode)
            << QByteArray(palette).replace("255 255 255", "255 256 255") << dry << 1
            << QStringList{} << (dry ? listed.mid(0, 1) : QStringList{})
            << QStringList{"Zeile 8: 255 256 255 Neu zwei (Hintergrund): Der Farbwert 256",
                           "Nichts importiert: 2 von 3 Einträgen abgelehnt."};
        QTest::addRow("%s: not JSON", mode)
            << QByteArray("{\"schemes\": [") << dry << 2 << QStringList{} << QStringList{}
            << QStringList{"kann nicht importiert werden", "„pigmora-schemes import --help“"};
        QTest::addRow("%s: design tokens beside others", mode)
            << QByteArray(R"({"g": {"$type": "color", "x": {"$value": "#123456"}},
                "Neu eins": {"text": {"$value": "{g.x}"}, "background": {"$value": "#abc",
                "$type": "color"}}})")
            << dry << 0 << added.mid(0, 1) << (dry ? listed.mid(0, 1) : QStringList{})
            << QStringList{"1 Farbschema", "Übergangen: 1 weiteres Token und 1 Gruppe ohne "
                                           "Farbschema."};
    }
}

// All or nothing: refused entries are listed, nothing is imported and the status is 1; a dry
// run says what would be imported and changes nothing.
void TestSchemesTool::import() {
    QFETCH(QByteArray, contents);
    QFETCH(bool, dryRun);
    QFETCH(int, exitCode);
    QFETCH(QStringList, added);
    QFETCH(QStringList, out);
    QFETCH(QStringList, err);
    const QString file = writeFile("import.dat", contents);
    const QStringList before = rows();
    const QByteArray hash = test::fileHash(path());
    QStringList args = onFile({"import", file});
    if (dryRun)
        args << "--dry-run";
    const ToolRun run = tool(args);
    QVERIFY(run.finished);
    QCOMPARE(run.exitCode, exitCode);
    QCOMPARE(run.outLines(), out);
    for (const QString& part : err)
        QVERIFY2(run.err.contains(part), qPrintable(part + " missing in:\n" + run.err));
    if (err.isEmpty())
        QCOMPARE(run.err, QString());
    if (exitCode == 0 && !dryRun) {
        QCOMPARE(rows(), before + added);
        QCOMPARE(RawDb(path()).rows("PRAGMA integrity_check"), QStringList{"ok"});
    } else {
        QCOMPARE(test::fileHash(path()), hash);
    }
}

void TestSchemesTool::importDesignSystem_data() {
    QTest::addColumn<QStringList>("args"); // after "import"; the files lie in the test's folder
    QTest::addColumn<bool>("newFile");     // --file names a file that is not there yet
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QStringList>("added"); // "name #text #background" the file gains
    QTest::addColumn<QStringList>("out");
    QTest::addColumn<QStringList>("err"); // parts of standard error
    const QStringList split{"primitives.tokens.json", "roles.tokens.json"};
    const QStringList paired{"default #1f2328 #ffffff", "danger #d1242f #ffebe9"};
    QTest::newRow("roles aliasing primitives in another file")
        << split << false << 0 << paired << QStringList{}
        << QStringList{"Gepaart nach „fgColor.X“ und „bgColor.X“: 2 Paare.",
                       "2 Farbschemata importiert."};
    QTest::newRow("a dry run lists what it would add")
        << split + QStringList{"--dry-run"} << false << 0 << QStringList{}
        << QStringList{"default\t#1f2328\t#ffffff", "danger\t#d1242f\t#ffebe9"}
        << QStringList{"Probelauf: 2 Farbschemata würden importiert"};
    QTest::newRow("every text on one background, by rule")
        << split + QStringList{"--text", "fgColor.*", "--background", "bgColor.default"} << false
        << 0 << QStringList{"default #1f2328 #ffffff", "danger auf default #d1242f #ffffff"}
        << QStringList{} << QStringList{"Gepaart nach Regel: Text „fgColor.*“"};
    QTest::newRow("a stored pair is not added twice")
        << QStringList{"stored.tokens.json"} << false << 0 << QStringList{} << QStringList{}
        << QStringList{"0 Farbschemata importiert, 1 schon vorhanden."};
    QTest::newRow("--also-existing adds it anyway")
        << QStringList{"stored.tokens.json", "--also-existing"} << false << 0
        << QStringList{"Über Grün #000000 #ffffff"} << QStringList{}
        << QStringList{"1 Farbschema importiert."};
    QTest::newRow("every context of a resolver")
        << QStringList{"ds.resolver.json", "light.tokens.json", "dark.tokens.json", "--context",
                       "all"}
        << false << 0
        << QStringList{"light/default #111111 #fafafa", "dark/default #fafafa #111111"}
        << QStringList{} << QStringList{"2 Farbschemata importiert."};
    QTest::newRow("nothing found: exit 1, what was looked for, the near misses")
        << QStringList{"untyped.tokens.json"} << false << 1 << QStringList{} << QStringList{}
        << QStringList{"Nichts importiert: die Dateien enthalten kein Farbschema.",
                       "Gesucht wurden Farb-Tokens", "Beinahe gefunden:"};
    QTest::newRow("an alias into a file not given refuses all")
        << QStringList{"roles.tokens.json"} << false << 1 << QStringList{} << QStringList{}
        << QStringList{"„{base.color.neutral.13}“ führt zu keinem Token der gelesenen Dateien",
                       "Nichts importiert: 2 von 2 Einträgen abgelehnt."};
    QTest::newRow("a new scheme file is made")
        << split << true << 0 << paired << QStringList{}
        << QStringList{"gab es nicht; sie ist neu angelegt.", "2 Farbschemata importiert."};
    QTest::newRow("a new scheme file is not made for nothing")
        << QStringList{"roles.tokens.json"} << true << 1 << QStringList{} << QStringList{}
        << QStringList{"Nichts importiert"};
    QTest::newRow("a dry run makes no new file")
        << split + QStringList{"--dry-run"} << true << 0 << QStringList{}
        << QStringList{"default\t#1f2328\t#ffffff", "danger\t#d1242f\t#ffebe9"}
        << QStringList{"gibt es noch nicht; der Import legt sie an."};
}

// A design system's files as one document, paired by role or by rule, into the scheme file or
// a new one; what is refused or finds nothing leaves every file as it was.
void TestSchemesTool::importDesignSystem() {
    QFETCH(QStringList, args);
    QFETCH(bool, newFile);
    QFETCH(int, exitCode);
    QFETCH(QStringList, added);
    QFETCH(QStringList, out);
    QFETCH(QStringList, err);
    writeFile("primitives.tokens.json", R"({"base": {"color": {"$type": "color",
        "neutral": {"0": {"$value": "#ffffff"}, "13": {"$value": "#1f2328"}},
        "red": {"0": {"$value": "#ffebe9"}, "5": {"$value": "#d1242f"}}}}})");
    writeFile("roles.tokens.json", R"({"fgColor": {"$type": "color",
        "default": {"$value": "{base.color.neutral.13}"}, "danger": {"$value": "{base.color.red.5}"}},
        "bgColor": {"$type": "color", "default": {"$value": "{base.color.neutral.0}"},
        "danger": {"$value": "{base.color.red.0}"}}})");
    writeFile("stored.tokens.json", R"({"Über Grün": {"$type": "color",
        "text": {"$value": "#000"}, "background": {"$value": "#fff"}}})");
    writeFile("untyped.tokens.json", R"({"fg": {"x": {"$value": "#000"}},
        "bg": {"x": {"$value": "#fff"}}})");
    writeFile("light.tokens.json", R"({"fgColor": {"$type": "color", "default": {"$value":
        "#111111"}}, "bgColor": {"$type": "color", "default": {"$value": "#fafafa"}}})");
    writeFile("dark.tokens.json", R"({"fgColor": {"default": {"$value": "#fafafa"}},
        "bgColor": {"default": {"$value": "#111111"}}})");
    writeFile("ds.resolver.json", R"({"version": "2025.10",
        "modifiers": {"theme": {"contexts": {"light": [{"$ref": "light.tokens.json"}],
            "dark": [{"$ref": "light.tokens.json"}, {"$ref": "dark.tokens.json"}]},
            "default": "light"}},
        "resolutionOrder": [{"$ref": "#/modifiers/theme"}]})");
    for (QString& arg : args)
        if (arg.endsWith(".json"))
            arg = inDir(arg);
    const QString target = newFile ? inDir("neu.mdb") : path();
    const QByteArray hash = test::fileHash(path());

    const ToolRun run = tool(QStringList{"--file", target, "import"} + args);
    QVERIFY(run.finished);
    QCOMPARE(run.exitCode, exitCode);
    QCOMPARE(run.outLines(), out);
    for (const QString& part : err)
        QVERIFY2(run.err.contains(part), qPrintable(part + " missing in:\n" + run.err));
    QCOMPARE(QFileInfo::exists(target), !newFile || !added.isEmpty());
    if (newFile)
        QCOMPARE(test::fileHash(path()), hash);
    if (added.isEmpty()) {
        if (!newFile)
            QCOMPARE(test::fileHash(path()), hash);
        return;
    }
    QStringList gained;
    for (const ColourScheme& s :
         readStoredSchemes(*SchemeFile::openExisting(target, SchemeFile::Access::ReadOnly)).schemes)
        gained << s.name + ' ' + hashHexText(s.text) + ' ' + hashHexText(s.background);
    const qsizetype old = newFile ? 0 : qsizetype(storedSchemes.size());
    QCOMPARE(gained.mid(old), added);
    QCOMPARE(RawDb(target).rows("PRAGMA integrity_check"), QStringList{"ok"});
}

void TestSchemesTool::importTakesBackWhatWasExported_data() {
    QTest::addColumn<QString>("format");
    QTest::newRow("json") << "json";
    QTest::newRow("gpl") << "gpl";
    QTest::newRow("tokens") << "tokens.json";
}

// Exported from one file and imported into an empty one, the schemes list the same.
void TestSchemesTool::importTakesBackWhatWasExported() {
    QFETCH(QString, format);
    RawDb(path()).exec("DELETE FROM Farbtabelle WHERE Name LIKE 'Tab%'");
    const QString exported = inDir("export." + format);
    QCOMPARE(tool(onFile({"export", "-o", exported})).exitCode, 0);
    const QString other = inDir("andere.mdb");
    SchemeFile::openOrCreate(other)->close();
    const ToolRun imported = tool({"import", exported, "--file", other});
    QCOMPARE(imported.exitCode, 0);
    QCOMPARE(imported.out, QString());
    QCOMPARE(imported.err, "4 Farbschemata importiert.\n");
    const ToolRun list = tool({"list", "--file", other});
    QCOMPARE(list.outLines(), tool(onFile({"list"})).outLines());
    QCOMPARE(list.outLines().size(), 4);
}

void TestSchemesTool::checkFindsExactlyTheFailingPairs_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QStringList>("stored");
    QTest::addColumn<QStringList>("failing");
    QTest::addColumn<QString>("summary");
    const QStringList all{"777",    "767676", "595959",  "5a5a5a",
                          "949494", "959595", "schwarz", "weiß auf 777"};
    QTest::newRow("AA") << QStringList{} << all
                        << QStringList{"777", "949494", "959595", "weiß auf 777"}
                        << "4 von 8 Farbschemata erreichen AA für normalen Text (ab 4,5:1) nicht.";
    QTest::newRow("AA named") << QStringList{"--level", "AA"} << all
                              << QStringList{"777", "949494", "959595", "weiß auf 777"}
                              << "4 von 8";
    QTest::newRow("AAA") << QStringList{"--level", "AAA"} << all
                         << QStringList{"777",    "767676", "5a5a5a",
                                        "949494", "959595", "weiß auf 777"}
                         << "6 von 8 Farbschemata erreichen AAA für normalen Text (ab 7:1) nicht.";
    QTest::newRow("AA large") << QStringList{"--large"} << all << QStringList{"959595"}
                              << "1 von 8 Farbschemata erreicht AA für großen Text (ab 3:1) "
                                 "nicht.";
    QTest::newRow("AAA large") << QStringList{"--large", "--level=AAA"} << all
                               << QStringList{"777", "949494", "959595", "weiß auf 777"}
                               << "4 von 8 Farbschemata erreichen AAA für großen Text";
    QTest::newRow("all pass") << QStringList{} << QStringList{"767676", "595959", "schwarz"}
                              << QStringList{}
                              << "Alle 3 Farbschemata erreichen AA für normalen Text (ab 4,5:1).";
    QTest::newRow("one passes") << QStringList{"--large"} << QStringList{"949494"} << QStringList{}
                                << "Das Farbschema erreicht AA für großen Text (ab 3:1).";
    QTest::newRow("none stored") << QStringList{} << QStringList{} << QStringList{}
                                 << "Die Farbdatei enthält keine Farbschemata.";
}

void TestSchemesTool::checkFindsExactlyTheFailingPairs() {
    QFETCH(QStringList, args);
    QFETCH(QStringList, stored);
    QFETCH(QStringList, failing);
    QFETCH(QString, summary);
    // Grey text on white around the thresholds: 4.47, 4.54, 7.00, 6.89, 3.03, 2.99, 21.
    const QMap<QString, QString> lines{
        {"777", "#777777\t#ffffff\t4,47:1"},      {"767676", "#767676\t#ffffff\t4,54:1"},
        {"595959", "#595959\t#ffffff\t7,00:1"},   {"5a5a5a", "#5a5a5a\t#ffffff\t6,89:1"},
        {"949494", "#949494\t#ffffff\t3,03:1"},   {"959595", "#959595\t#ffffff\t2,99:1"},
        {"schwarz", "#000000\t#ffffff\t21,00:1"}, {"weiß auf 777", "#ffffff\t#777777\t4,47:1"}};
    RawDb db(path());
    db.exec("DELETE FROM Farbtabelle");
    for (const QString& name : stored) {
        const QStringList fields = lines[name].split('\t');
        QVariantList channels;
        for (int i : {0, 1})
            for (int c = 0; c < 3; ++c)
                channels << fields[i].mid(1 + 2 * c, 2).toInt(nullptr, 16);
        QCOMPARE(db.addScheme(name, channels), SQLITE_DONE);
    }
    const ToolRun run = tool(onFile(QStringList{"check"} + args));
    QVERIFY(run.finished);
    QCOMPARE(run.exitCode, failing.isEmpty() ? 0 : 1);
    QStringList expected;
    for (const QString& name : failing)
        expected << name + '\t' + lines[name];
    QCOMPARE(run.outLines(), expected);
    QVERIFY2(run.err.startsWith(summary), qPrintable(run.err));
}

void TestSchemesTool::contrast_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("background");
    QTest::addColumn<QStringList>("report");
    QTest::addColumn<QStringList>("notes"); // on standard error
    const auto verdicts = [](bool aa, bool aaLarge, bool aaa, bool aaaLarge) {
        const auto v = [](bool passed) {
            return passed ? QStringLiteral("bestanden") : QStringLiteral("nicht bestanden");
        };
        return QStringList{"AA für normalen Text (ab 4,5:1): " + v(aa),
                           "AA für großen Text (ab 3:1): " + v(aaLarge),
                           "AAA für normalen Text (ab 7:1): " + v(aaa),
                           "AAA für großen Text (ab 4,5:1): " + v(aaaLarge)};
    };
    QTest::newRow("#rgb on a name")
        << "#777"
        << "white"
        << QStringList{"Text #777777 auf Hintergrund #ffffff", "Kontrast nach WCAG 2: 4,47:1"} +
               verdicts(false, true, false, false) + QStringList{"APCA Lc: 71,1 (nicht normativ)"}
        << QStringList();
    QTest::newRow("light on dark, rgb() with blanks")
        << "White"
        << "rgb(119 119 119)"
        << QStringList{"Text #ffffff auf Hintergrund #777777", "Kontrast nach WCAG 2: 4,47:1"} +
               verdicts(false, true, false, false) + QStringList{"APCA Lc: -76,6 (nicht normativ)"}
        << QStringList();
    QTest::newRow("rgb() with commas, just above 4.5")
        << " rgb(118, 118, 118) "
        << "#FFFFFF"
        << QStringList{"Text #767676 auf Hintergrund #ffffff", "Kontrast nach WCAG 2: 4,54:1"} +
               verdicts(true, true, false, true) + QStringList{"APCA Lc: 71,6 (nicht normativ)"}
        << QStringList();
    QTest::newRow("black on white")
        << "black"
        << "#fff"
        << QStringList{"Text #000000 auf Hintergrund #ffffff", "Kontrast nach WCAG 2: 21,00:1"} +
               verdicts(true, true, true, true) + QStringList{"APCA Lc: 106,0 (nicht normativ)"}
        << QStringList();
    QTest::newRow("one colour twice")
        << "rebeccapurple"
        << "#663399"
        << QStringList{"Text #663399 auf Hintergrund #663399", "Kontrast nach WCAG 2: 1,00:1"} +
               verdicts(false, false, false, false) + QStringList{"APCA Lc: 0,0 (nicht normativ)"}
        << QStringList();
    QTest::newRow("a channel above 255 is clamped")
        << "rgb(0, 256, 0)"
        << "black"
        << QStringList{"Text #00ff00 auf Hintergrund #000000", "Kontrast nach WCAG 2: 15,30:1"} +
               verdicts(true, true, true, true) + QStringList{"APCA Lc: -86,5 (nicht normativ)"}
        << QStringList();
    QTest::newRow("text with alpha laid over, background mapped")
        << "rgb(0 0 0 / 50%)"
        << "color(display-p3 1 1 1.1)"
        << QStringList{"Text #808080 auf Hintergrund #ffffff", "Kontrast nach WCAG 2: 3,94:1"} +
               verdicts(false, true, false, false) + QStringList{"APCA Lc: 66,9 (nicht normativ)"}
        << QStringList{"Hinweis: „color(display-p3 1 1 1.1)“ liegt außerhalb von sRGB, "
                       "angenähert: #ffffff.",
                       "Hinweis: „rgb(0 0 0 / 50%)“ ist nicht deckend (Alpha 0,5). Über dem "
                       "Hintergrund #ffffff ergibt sich die Textfarbe #808080."};
}

void TestSchemesTool::contrast() {
    QFETCH(QString, text);
    QFETCH(QString, background);
    QFETCH(QStringList, report);
    QFETCH(QStringList, notes);
    const ToolRun run = tool({"contrast", text, background});
    QVERIFY(run.finished);
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.err, notes.isEmpty() ? QString() : notes.join('\n') + '\n');
    QCOMPARE(run.outLines(), report);
}

void TestSchemesTool::contrastJson_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("background");
    QTest::addColumn<Rgb>("textRgb");
    QTest::addColumn<Rgb>("backgroundRgb");
    QTest::addColumn<QList<bool>>("verdicts"); // aa, aa_large, aaa, aaa_large
    QTest::newRow("4.478") << "#777"
                           << "white" << Rgb{119, 119, 119} << Rgb{255, 255, 255}
                           << QList<bool>{false, true, false, false};
    QTest::newRow("reversed") << "#fff"
                              << "rgb(119,119,119)" << Rgb{255, 255, 255} << Rgb{119, 119, 119}
                              << QList<bool>{false, true, false, false};
    QTest::newRow("7.0047") << "#595959"
                            << "#ffffff" << Rgb{89, 89, 89} << Rgb{255, 255, 255}
                            << QList<bool>{true, true, true, true};
    QTest::newRow("2.995") << "#959595"
                           << "white" << Rgb{149, 149, 149} << Rgb{255, 255, 255}
                           << QList<bool>{false, false, false, false};
    QTest::newRow("21") << "black"
                        << "white" << Rgb{0, 0, 0} << Rgb{255, 255, 255}
                        << QList<bool>{true, true, true, true};
}

// The numbers at full precision: exactly the doubles the contrast library computes.
void TestSchemesTool::contrastJson() {
    QFETCH(QString, text);
    QFETCH(QString, background);
    QFETCH(Rgb, textRgb);
    QFETCH(Rgb, backgroundRgb);
    QFETCH(QList<bool>, verdicts);
    const ToolRun run = tool({"contrast", "--json", text, background});
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.outLines().size(), 1);
    QJsonParseError error;
    const QJsonObject result = QJsonDocument::fromJson(run.out.toUtf8(), &error).object();
    QCOMPARE(error.error, QJsonParseError::NoError);
    QCOMPARE(result.keys(), (QStringList{"aa", "aa_large", "aaa", "aaa_large", "apca", "wcag"}));
    QCOMPARE(result["wcag"].toDouble(), contrastRatio(textRgb, backgroundRgb));
    QCOMPARE(result["apca"].toDouble(), apcaContrast(textRgb, backgroundRgb));
    const QList<bool> given{result["aa"].toBool(), result["aa_large"].toBool(),
                            result["aaa"].toBool(), result["aaa_large"].toBool()};
    QCOMPARE(given, verdicts);
    for (const char* key : {"aa", "aa_large", "aaa", "aaa_large"})
        QVERIFY(result[key].isBool());
}

void TestSchemesTool::convert_data() {
    QTest::addColumn<QString>("colour");
    QTest::addColumn<int>("status");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QString>("note"); // on standard error; empty: nothing there
    QTest::newRow("a name") << "red" << 0
                            << QStringList{"#ff0000", "rgb(255 0 0)", "hsl(0 100% 50%)",
                                           "oklch(62.8% 0.25768 29.23)"}
                            << "";
    QTest::newRow("outside sRGB")
        << "oklch(70% 0.4 30)" << 0
        << QStringList{"#ff5843", "rgb(255 88 67)", "hsl(6.7 100% 63.1%)",
                       "oklch(68.3% 0.20629 30.3)"}
        << "Hinweis: „oklch(70% 0.4 30)“ liegt außerhalb von sRGB, angenähert: #ff5843.";
    QTest::newRow("not opaque") << "#0008" << 1 << QStringList()
                                << "pigmora-schemes: „#0008“ ist nicht deckend (Alpha 0,533).";
    QTest::newRow("nearly opaque, never shown as 1")
        << "rgb(0 0 0 / 0.9999)" << 1 << QStringList()
        << "pigmora-schemes: „rgb(0 0 0 / 0.9999)“ ist nicht deckend (Alpha 0,9999).";
    QTest::newRow("no colour") << "calc(1)" << 1 << QStringList()
                               << "pigmora-schemes: „calc(1)“ ist keine CSS-Farbe.";
}

void TestSchemesTool::convert() {
    QFETCH(QString, colour);
    QFETCH(int, status);
    QFETCH(QStringList, lines);
    QFETCH(QString, note);
    const ToolRun run = tool({"convert", colour});
    QVERIFY(run.finished);
    QCOMPARE(run.exitCode, status);
    QCOMPARE(run.outLines(), lines);
    QVERIFY2(note.isEmpty() ? run.err.isEmpty() : run.err.startsWith(note), qPrintable(run.err));
}

// The numbers of the stored colour at full precision, in the order the help gives.
void TestSchemesTool::convertJson() {
    const ToolRun run = tool({"convert", "--json", "color(display-p3 1 1 0)"});
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.outLines().size(), 1);
    QVERIFY(run.out.startsWith("{\"hex\": \"#feff00\", \"rgb\": [254, 255, 0], \"hsl\": ["));
    const QJsonObject result = QJsonDocument::fromJson(run.out.toUtf8()).object();
    const Rgb stored{254, 255, 0};
    QCOMPARE(result["mapped"].toBool(), true);
    const auto hsl = hslNumbers(stored), oklch = oklchNumbers(stored);
    for (int i = 0; i < 3; ++i) {
        QCOMPARE(result["hsl"].toArray()[i].toDouble(), hsl[std::size_t(i)]);
        QCOMPARE(result["oklch"].toArray()[i].toDouble(), oklch[std::size_t(i)]);
    }
    QVERIFY2(run.err.contains("angenähert: #feff00"), qPrintable(run.err));
}

void TestSchemesTool::convertLines_data() {
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<int>("status");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QStringList>("messages"); // each starts a line of standard error
    QTest::newRow("nothing") << QByteArray() << 0 << QStringList() << QStringList();
    QTest::newRow("every line read, the last without a line feed")
        << QByteArray("red\r\n  #0f0\nhsl(240 100% 50%)") << 0
        << QStringList{"#ff0000", "#00ff00", "#0000ff"} << QStringList();
    QTest::newRow("refused lines are counted from 1")
        << QByteArray("#12\n\nrgb(0 0 0 / 50%)\nGr\xc3\xbcn\ncolor(display-p3 1 1 0)\n") << 1
        << QStringList{"-", "-", "-", "-", "#feff00"}
        << QStringList{"pigmora-schemes: Zeile 1: „#12“ ist keine CSS-Farbe.",
                       "pigmora-schemes: Zeile 2: Es wurde kein Text gelesen",
                       "pigmora-schemes: Zeile 3: „rgb(0 0 0 / 50%)“ ist nicht deckend",
                       "pigmora-schemes: Zeile 4: „Grün“ ist keine CSS-Farbe.",
                       "Hinweis: 1 Farbe lag außerhalb von sRGB und wurde angenähert."};
    QTest::newRow("a line longer than a block")
        << QByteArray(3 << 20, 'x') + "\nred\n"
        << 1 << QStringList{"-", "#ff0000"}
        << QStringList{"pigmora-schemes: Zeile 1: Die Zeile ist länger als 1 MB"};
}

// As a script runs it: lines in on standard input, one answer a line out.
void TestSchemesTool::convertLines() {
    QFETCH(QByteArray, input);
    QFETCH(int, status);
    QFETCH(QStringList, lines);
    QFETCH(QStringList, messages);
    QProcess process;
    test::prepareTool(process, home());
    process.setArguments({"convert", "--stdin"});
    process.start();
    QVERIFY(process.waitForStarted());
    process.write(input);
    process.closeWriteChannel();
    const ToolRun run = test::finishTool(process);
    QVERIFY(run.finished);
    QCOMPARE(run.exitCode, status);
    QCOMPARE(run.outLines(), lines);
    QStringList errors = run.err.split('\n', Qt::SkipEmptyParts);
    QCOMPARE(errors.size(), messages.size());
    for (int i = 0; i < messages.size(); ++i)
        QVERIFY2(errors[i].startsWith(messages[i]), qPrintable(errors[i]));
}

// In-process, on lines cut by the blocks standard input is read in; and without any.
void TestSchemesTool::convertLinesInProcess() {
    QByteArray lines;
    for (int i = 0; i < 300000; ++i)
        lines += "#abc\n"; // five bytes: a line straddles the end of the first block
    QBuffer in(&lines), out, err;
    in.open(QIODevice::ReadOnly);
    out.open(QIODevice::WriteOnly);
    err.open(QIODevice::WriteOnly);
    ToolOutput output(out, err);
    QCOMPARE(runSchemesTool({"pigmora-schemes", "convert", "--stdin"}, output, &in), 0);
    QCOMPARE(out.data().size(), qsizetype(300000) * 8);
    QCOMPARE(out.data().count("#aabbcc\n"), 300000);
    QCOMPARE(err.data(), QByteArray());

    QBuffer out2, err2;
    out2.open(QIODevice::WriteOnly);
    err2.open(QIODevice::WriteOnly);
    ToolOutput noInput(out2, err2);
    QCOMPARE(runSchemesTool({"pigmora-schemes", "convert", "--stdin"}, noInput), 2);
    QVERIFY(err2.data().contains("Standardeingabe kann nicht gelesen werden"));
}

// Without --file the tool uses the file beside it, as the program does; where there is none,
// it says so and creates nothing.
void TestSchemesTool::findsTheProgramsFileBesideIt() {
    const QString bin = inDir("bin");
    QVERIFY(QDir().mkpath(bin));
    const QString program = bin + "/pigmora-schemes";
    QVERIFY(QFile::copy(test::toolProgram(), program));
    const ToolRun missing = runTool({"list"}, home(), program);
    QCOMPARE(missing.exitCode, 2);
    QVERIFY2(missing.err.contains(bin + "/Farben.mdb"), qPrintable(missing.err));
    QCOMPARE(entries(bin), QStringList{"pigmora-schemes"});
    QCOMPARE(entries(home()), QStringList());

    QVERIFY(QFile::copy(path(), bin + "/Farben.mdb"));
    const ToolRun beside = runTool({"list"}, home(), program);
    QCOMPARE(beside.exitCode, 0);
    QCOMPARE(beside.outLines(), storedLines);
}

void TestSchemesTool::waitsForAProgramHoldingTheFile_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("rowsAfter");
    QTest::newRow("list") << QStringList{"list"} << 7;
    QTest::newRow("import") << QStringList{"import", "neu.json"} << 9;
}

// Another program holds the file for a second and a half: the tool waits for it (as the window
// does) instead of failing, and then does its work.
void TestSchemesTool::waitsForAProgramHoldingTheFile() {
    QFETCH(QStringList, args);
    QFETCH(int, rowsAfter);
    writeFile("neu.json", validJson);
    RawDb holder(path());
    QCOMPARE(holder.exec("BEGIN EXCLUSIVE"), SQLITE_DONE);
    QProcess process;
    test::prepareTool(process, home());
    process.setWorkingDirectory(dir_->path());
    process.setArguments(onFile(args));
    process.start();
    QVERIFY(process.waitForStarted());
    QVERIFY(!process.waitForFinished(1500)); // still waiting
    QCOMPARE(holder.exec("COMMIT"), SQLITE_DONE);
    const ToolRun run = test::finishTool(process);
    QVERIFY2(run.exitCode == 0, qPrintable(run.err));
    QCOMPARE(rows().size(), rowsAfter);
    if (args[0] == "list")
        QCOMPARE(run.outLines(), storedLines);
}

// A full disk on standard output is no success.
void TestSchemesTool::outputThatCannotBeWrittenIsAnError() {
    if (!QFileInfo::exists("/dev/full"))
        QSKIP("no /dev/full");
    QProcess process;
    test::prepareTool(process, home());
    process.setArguments(onFile({"list"}));
    process.setStandardOutputFile("/dev/full");
    process.start();
    const ToolRun run = test::finishTool(process);
    QCOMPARE(run.exitCode, 2);
    QVERIFY2(run.err.contains("Die Ausgabe konnte nicht geschrieben werden"), qPrintable(run.err));
}

// A reader waiting on a named pipe gets the export, and the pipe is not replaced by a regular
// file (the failures of pipes and devices are the library's tests).
void TestSchemesTool::exportIntoANamedPipe() {
    const QByteArray pipe = QFile::encodeName(inDir("ziel.css"));
    QCOMPARE(mkfifo(pipe.constData(), 0600), 0);
    const int reader = ::open(pipe.constData(), O_RDONLY | O_NONBLOCK);
    const ToolRun run = tool(onFile({"export", "-o", QFile::decodeName(pipe)}));
    QByteArray got(100000, '\0');
    got.truncate(qsizetype(std::max<ssize_t>(0, ::read(reader, got.data(), 100000))));
    ::close(reader);
    QCOMPARE(run.exitCode, 0);
    QVERIFY(got.startsWith("@charset \"UTF-8\";") && got.contains(".farbschema-Über-Grün {"));
    struct stat info {};
    QCOMPARE(stat(pipe.constData(), &info), 0);
    QVERIFY(S_ISFIFO(info.st_mode));
}

// A command that reads no scheme file takes --file, before or after it, and ignores it.
void TestSchemesTool::contrastIgnoresTheSchemeFile() {
    const QString contrast = QStringLiteral("Text #000000 auf Hintergrund #ffffff\n");
    for (const auto& [args, out] :
         {std::pair{QStringList{"--file", "nirgends.mdb", "contrast", "black", "white"}, contrast},
          {QStringList{"contrast", "black", "--file=x", "white"}, contrast},
          {QStringList{"--file", "nirgends.mdb", "convert", "red"}, QStringLiteral("#ff0000\n")},
          {QStringList{"convert", "red", "--json", "--file=x"}, QStringLiteral("{\"hex\"")}}) {
        const ToolRun run = tool(args);
        QCOMPARE(run.exitCode, 0);
        QVERIFY2(run.out.startsWith(out), qPrintable(run.err));
        QVERIFY2(run.err.isEmpty(), qPrintable(run.err));
    }
}

QTEST_GUILESS_MAIN(TestSchemesTool)
#include "test_schemes_tool.moc"
