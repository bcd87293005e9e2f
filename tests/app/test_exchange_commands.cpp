#include "scheme_db.h"
#include "text_clipboard.h"
#include "window_driver.h"

#include "app/exchange_commands.h"
#include "app/scheme_list.h"
#include "css_colour/css_colour.h"
#include "exchange/scheme_export.h"
#include "exchange/scheme_import.h"
#include "import_window/import_preview.h"
#include "raster_window/raster_window.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTableView>
#include <QTimer>
#include <fcntl.h>
#include <functional>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

using namespace pigmora;
using test::byName;
using test::RawDb;

namespace {

// A record as the file holds it: any name, any six channel values (a null QVariant is NULL).
struct Record {
    QVariant name;
    QVariantList channels; // Rot, Grün, Blau, Roth, Grünh, Blauh
};

Record record(const ColourScheme& s) {
    return {s.name,
            {s.text.red, s.text.green, s.text.blue, s.background.red, s.background.green,
             s.background.blue}};
}

// A stored row as RawDb::rows gives it.
QString row(const ColourScheme& s) {
    QStringList fields{s.name};
    for (const QVariant& channel : record(s).channels)
        fields << channel.toString();
    return fields.join('|');
}

Rgb rgbOf(const QString& hex) {
    const QColor c(hex);
    return Rgb{ChannelValue(c.red()), ChannelValue(c.green()), ChannelValue(c.blue())};
}

// The schemes of an exported JSON file, read with Qt's JSON parser.
std::vector<ColourScheme> readJsonExport(const QByteArray& contents) {
    QJsonParseError error;
    const QJsonObject root = QJsonDocument::fromJson(contents, &error).object();
    if (error.error != QJsonParseError::NoError || root.value("format") != "pigmora-schemes" ||
        root.value("version") != 1)
        return {{"(kein gültiger Export)", {}, {}}};
    std::vector<ColourScheme> schemes;
    for (const QJsonValue& v : root.value("schemes").toArray()) {
        const QJsonObject o = v.toObject();
        schemes.push_back({o.value("name").toString(), rgbOf(o.value("text").toString()),
                           rgbOf(o.value("background").toString())});
    }
    return schemes;
}

// The schemes of an exported palette, read line by line: "r g b<tab>name (Text)" followed by
// the same name's "(Hintergrund)" line.
std::vector<ColourScheme> readGplExport(const QByteArray& contents) {
    const QStringList lines = QString::fromUtf8(contents).split('\n');
    if (lines.value(0) != "GIMP Palette")
        return {{"(keine Palette)", {}, {}}};
    static const QRegularExpression colourLine(R"(^ *(\d+) +(\d+) +(\d+)\t(.*) \((\w+)\)$)");
    std::vector<ColourScheme> schemes;
    for (const QString& line : lines) {
        const auto m = colourLine.match(line);
        if (!m.hasMatch())
            continue;
        const Rgb c{ChannelValue(m.captured(1).toInt()), ChannelValue(m.captured(2).toInt()),
                    ChannelValue(m.captured(3).toInt())};
        if (m.captured(5) == "Text")
            schemes.push_back({m.captured(4), c, {}});
        else if (schemes.empty() || schemes.back().name != m.captured(4))
            return {{"(Zeile ohne Partner: " + line + ")", {}, {}}};
        else
            schemes.back().background = c;
    }
    return schemes;
}

// The rules of an exported style sheet in their order: the class and its two colours.
QStringList readCssRules(const QByteArray& contents) {
    static const QRegularExpression rule(
        R"(\n\.((?:\\.|[^\s{\\])+) \{\s*color: (#[0-9a-f]{6});\s*background-color: (#[0-9a-f]{6});\s*\})");
    QStringList rules;
    for (auto it = rule.globalMatch(QString::fromUtf8(contents)); it.hasNext();) {
        const auto m = it.next();
        rules << m.captured(1) + " " + m.captured(2) + " " + m.captured(3);
    }
    return rules;
}

QStringList expectedCssRules(const std::vector<ColourScheme>& schemes) {
    const QStringList classes = cssClassNames(schemes);
    QStringList rules;
    for (std::size_t i = 0; i < schemes.size(); ++i)
        rules << classes[qsizetype(i)] + " " + hashHexText(schemes[i].text) + " " +
                     hashHexText(schemes[i].background);
    return rules;
}

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeAll(const QString& path, const QByteArray& contents) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(contents) == contents.size();
}

QStringList listing(const QString& dir) {
    return QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

// Scripted dialogs, except that the import preview is the real window.
class RealPreviewDialogs : public test::ScriptedDialogs {
public:
    bool confirmImport(QWidget* owner, const ImportReading& reading) override {
        return QtDialogs().confirmImport(owner, reading);
    }
};

// Limits the size of files this process writes, as a full disk or a quota would. SIGXFSZ is
// left as the application's set-up made it: a write beyond fails instead of ending the program.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &old_);
        rlimit limit = old_;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &old_); }

private:
    rlimit old_{};
};

// Calls `answer` for each modal window as it comes up, until `answer` returns true.
void answerModals(QObject* context, std::function<bool(QWidget*)> answer) {
    auto* timer = new QTimer(context);
    auto last = std::make_shared<QPointer<QWidget>>();
    QObject::connect(timer, &QTimer::timeout, context, [timer, last, answer] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || modal == last->data() || !modal->isVisible())
            return;
        *last = modal;
        if (answer(modal)) {
            timer->stop();
            timer->deleteLater();
        }
    });
    timer->start(10);
}

// Types a path into a file dialog and presses Return.
void enterPath(QFileDialog* dialog, const QString& path) {
    auto* edit = dialog->findChild<QLineEdit*>("fileNameEdit");
    QVERIFY(edit);
    edit->setText(path);
    QTest::keyClick(edit, Qt::Key_Return);
}

const QStringList exportFilterTexts{"CSS-Stylesheet (*.css)", "JSON (*.json)",
                                    "GIMP-Palette (*.gpl)", "Design Tokens (DTCG) (*.tokens.json)"};

const std::vector<ColourScheme> storedSchemes{{"Zebra", {1, 2, 3}, {250, 251, 252}},
                                              {"Abend", {255, 0, 0}, {0, 0, 0}},
                                              {"Grün & Weiß", {0, 128, 0}, {255, 255, 255}},
                                              {"Abend", {16, 32, 48}, {64, 80, 96}}};

} // namespace

Q_DECLARE_METATYPE(Record)
Q_DECLARE_METATYPE(ColourScheme)
Q_DECLARE_METATYPE(std::vector<ColourScheme>)

class TestExchangeCommands : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { test::setUpOnce(); }
    void init();
    void cleanup() { window_.window.reset(); }

    void exportWritesEveryScheme_data();
    void exportWritesEveryScheme();
    void exportFailureLeavesTheTargetAlone_data();
    void exportFailureLeavesTheTargetAlone();
    void exportCancelledWritesNothing();
    void exportLeavesOutIncompleteRecords_data();
    void exportLeavesOutIncompleteRecords();
    void exportThroughTheRealSaveDialog();

    void importAfterThePreview_data();
    void importAfterThePreview();
    void importCancelledChangesNothing();
    void importFileErrorShowsNoPreview_data();
    void importFileErrorShowsNoPreview();
    void importRefusedByTheEngineAddsNothing();
    void importThroughTheRealPreview_data();
    void importThroughTheRealPreview();
    void previewCountsInGerman();
    void importPairsChosenInThePreview_data();
    void importPairsChosenInThePreview();
    void paletteFromThePreviewToTheGrid();

    void paste_data();
    void paste();
    void pasteRefused_data();
    void pasteRefused();
    void pasteTellsWhatItMade_data();
    void pasteTellsWhatItMade();

private:
    // Starts the program on a file holding these records in this order; `foreign` makes the
    // table as another program might, without the program's limits.
    void startWith(const QList<Record>& records, bool foreign = false);
    void startWith(const std::vector<ColourScheme>& schemes);
    void trigger(const char* action) { byName<QAction>(window_.get(), action)->trigger(); }
    SchemeList* list() { return byName<SchemeList>(window_.get(), "cmbFarbe"); }
    QWidget* sample() { return byName(window_.get(), "lblTest"); }
    QStringList entries();
    QStringList storedRows() {
        return RawDb(window_.schemeFile()).rows("SELECT * FROM Farbtabelle ORDER BY rowid");
    }
    // What the editor shows: sliders, the six boxes and both colours of the sample.
    QString editorState();
    test::ScriptedDialogs& dialogs() { return window_.dialogs; }
    QString exportPath(const QString& name) const { return files_->filePath(name); }

    test::WindowUnderTest window_;
    std::unique_ptr<QTemporaryDir> files_; // exported and imported files
};

void TestExchangeCommands::init() {
    window_.fresh();
    files_ = std::make_unique<QTemporaryDir>();
}

void TestExchangeCommands::startWith(const QList<Record>& records, bool foreign) {
    if (foreign) {
        test::createForeignSchemeTable(window_.schemeFile());
    } else {
        QVERIFY(window_.open()); // the program makes its file
        window_.window.reset();
    }
    {
        RawDb db(window_.schemeFile());
        for (const Record& r : records)
            QCOMPARE(db.addScheme(r.name, r.channels), SQLITE_DONE);
    }
    QVERIFY(window_.open());
}

void TestExchangeCommands::startWith(const std::vector<ColourScheme>& schemes) {
    QList<Record> records;
    for (const ColourScheme& s : schemes)
        records << record(s);
    startWith(records);
}

QStringList TestExchangeCommands::entries() {
    QStringList out;
    for (int i = 0; i < list()->entryCount(); ++i)
        out << list()->entryText(i);
    return out;
}

QString TestExchangeCommands::editorState() {
    QStringList parts{QString::number(test::sliderColour(window_.get()), 16),
                      QString::number(foreColour(sample()), 16),
                      QString::number(backColour(sample()), 16)};
    for (const char* box :
         {"txtRot", "txtGrün", "txtBlau", "txtRotHex", "txtGrünHex", "txtBlauHex"})
        parts << test::text(window_.get(), QString::fromUtf8(box));
    return parts.join(' ');
}

// ---- export

void TestExchangeCommands::exportWritesEveryScheme_data() {
    QTest::addColumn<QString>("chosen");  // the name the dialog returns
    QTest::addColumn<int>("filter");      // the filter chosen in it
    QTest::addColumn<QString>("written"); // the file that must appear
    QTest::addColumn<int>("format");      // ExchangeFormat
    QTest::addColumn<bool>("existing");   // a longer file is there already
    const int css = int(ExchangeFormat::Css), json = int(ExchangeFormat::Json),
              gpl = int(ExchangeFormat::Gpl), tokens = int(ExchangeFormat::Tokens);
    QTest::newRow("css by suffix") << "farben.css" << 1 << "farben.css" << css << false;
    QTest::newRow("json by suffix") << "farben.json" << 2 << "farben.json" << json << false;
    QTest::newRow("gpl by suffix") << "farben.gpl" << 0 << "farben.gpl" << gpl << false;
    QTest::newRow("suffix in capitals") << "FARBEN.Json" << 0 << "FARBEN.Json" << json << false;
    QTest::newRow("css by filter") << "farben" << 0 << "farben.css" << css << false;
    QTest::newRow("json by filter") << "farben" << 1 << "farben.json" << json << false;
    QTest::newRow("tokens by suffix")
        << "farben.Tokens.json" << 1 << "farben.Tokens.json" << tokens << false;
    QTest::newRow("tokens by filter") << "farben" << 3 << "farben.tokens.json" << tokens << true;
    // The name the user confirmed in the dialog is kept: nothing unasked is replaced.
    QTest::newRow("gpl by filter, other suffix")
        << "farben.txt" << 2 << "farben.txt" << gpl << false;
    QTest::newRow("json replaces a file") << "farben" << 1 << "farben.json" << json << true;
}

void TestExchangeCommands::exportWritesEveryScheme() {
    QFETCH(QString, chosen);
    QFETCH(int, filter);
    QFETCH(QString, written);
    QFETCH(int, format);
    QFETCH(bool, existing);
    startWith(storedSchemes);
    const QByteArray old = "ALTER INHALT " + QByteArray(20000, 'x');
    if (existing)
        QVERIFY(writeAll(exportPath(written), old));
    dialogs().saveAnswers = {Dialogs::SaveChoice{exportPath(chosen), exportFilterTexts[filter]}};

    QTest::keyClick(window_.get(), Qt::Key_E, Qt::ControlModifier);

    QCOMPARE(dialogs().saveRequests.size(), 1);
    QVERIFY(dialogs().messages.isEmpty());
    QCOMPARE(listing(files_->path()), QStringList{written}); // no temporary file is left over
    const QByteArray contents = readAll(exportPath(written));
    QVERIFY(!contents.contains("ALTER INHALT"));
    QVERIFY(!contents.contains("xxxx"));
    const QString stamp = "Pigmora " + QCoreApplication::applicationVersion();
    switch (ExchangeFormat(format)) {
    case ExchangeFormat::Css:
        QVERIFY(contents.contains(stamp.toUtf8()));
        QCOMPARE(readCssRules(contents), expectedCssRules(storedSchemes));
        break;
    case ExchangeFormat::Json:
        QVERIFY(readJsonExport(contents) == storedSchemes);
        break;
    case ExchangeFormat::Gpl:
        QVERIFY(contents.contains(stamp.toUtf8()));
        QVERIFY(readGplExport(contents) == storedSchemes);
        break;
    case ExchangeFormat::Tokens:
        QVERIFY(readSchemeImport(contents).schemes == storedSchemes);
        break;
    }
}

void TestExchangeCommands::exportFailureLeavesTheTargetAlone_data() {
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("setUp");
    QTest::newRow("a write fails midway") << "farben.css"
                                          << "size limit";
    QTest::newRow("folder missing") << "fehlt/farben.css"
                                    << "";
    QTest::newRow("a folder of that name") << "farben.css"
                                           << "folder";
    QTest::newRow("folder without write permission") << "farben.json"
                                                     << "read-only";
    QTest::newRow("the scheme file itself") << ""
                                            << "scheme file";
}

void TestExchangeCommands::exportFailureLeavesTheTargetAlone() {
    QFETCH(QString, target);
    QFETCH(QString, setUp);
    if (setUp == "read-only" && geteuid() == 0)
        QSKIP("root writes into any folder");
    startWith(storedSchemes);
    const QString path = setUp == "scheme file" ? window_.schemeFile() : exportPath(target);
    const QByteArray old = "bisheriger Inhalt\n";
    if (setUp == "scheme file")
        ; // the scheme file's hash is compared below
    else if (setUp == "folder")
        QVERIFY(QDir().mkpath(path));
    else if (setUp != "")
        QVERIFY(writeAll(path, old));
    const QStringList before = listing(files_->path());
    const QByteArray hashBefore = test::fileHash(window_.schemeFile());
    dialogs().saveAnswers = {Dialogs::SaveChoice{path, exportFilterTexts[0]}};
    {
        std::optional<FileSizeLimit> limit;
        if (setUp == "size limit")
            limit.emplace(old.size() + 64); // far less than the export needs
        if (setUp == "read-only")
            QVERIFY(QFile::setPermissions(files_->path(), QFile::ReadOwner | QFile::ExeOwner));
        trigger("mnuExportieren");
        if (setUp == "read-only")
            QFile::setPermissions(files_->path(),
                                  QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    QCOMPARE(dialogs().messages.size(), 1);
    QCOMPARE(dialogs().messages[0].title, "Farbschemata exportieren");
    QVERIFY2(dialogs().messages[0].text.contains(QDir::toNativeSeparators(path)),
             qPrintable(dialogs().messages[0].text));
    QCOMPARE(listing(files_->path()), before);
    if (setUp == "folder")
        QVERIFY(QFileInfo(path).isDir());
    else if (setUp != "" && setUp != "scheme file")
        QCOMPARE(readAll(path), old);
    QCOMPARE(test::fileHash(window_.schemeFile()), hashBefore);
}

void TestExchangeCommands::exportCancelledWritesNothing() {
    startWith(storedSchemes);
    trigger("mnuExportieren"); // no answer: cancelled
    QCOMPARE(dialogs().saveRequests.size(), 1);
    QCOMPARE(dialogs().saveRequests[0].title, "Farbschemata exportieren");
    QCOMPARE(dialogs().saveRequests[0].filters, exportFilterTexts);
    QVERIFY(dialogs().messages.isEmpty());
    QCOMPARE(listing(files_->path()), QStringList());
}

void TestExchangeCommands::exportLeavesOutIncompleteRecords_data() {
    QTest::addColumn<QList<Record>>("records");
    QTest::addColumn<std::vector<ColourScheme>>("exported");
    QTest::addColumn<QString>("message"); // %1: the file
    const Record wald{"Wald", {0, 100, 0, 200, 255, 200}};
    const Record meer{"Meer", {0, 0, 128, 200, 220, 255}};
    const ColourScheme waldScheme{"Wald", {0, 100, 0}, {200, 255, 200}};
    const ColourScheme meerScheme{"Meer", {0, 0, 128}, {200, 220, 255}};
    QTest::newRow("four of six left out")
        << QList<Record>{wald,
                         {QVariant(), {1, 2, 3, 4, 5, 6}},
                         {"Zu hell", {300, 0, 0, 0, 0, 0}},
                         {"Text", {1, 2, "abc", 4, 5, 6}},
                         {"Lücke", {1, 2, 3, 4, QVariant(), 6}},
                         meer}
        << std::vector<ColourScheme>{waldScheme, meerScheme}
        << "2 Farbschemata wurden nach %1 exportiert.\n4 Einträge ohne Namen oder mit "
           "unbrauchbaren Farbwerten wurden ausgelassen.";
    QTest::newRow("one of two left out")
        << QList<Record>{{"Halb", {1, 2, 3, -1, 5, 6}}, meer}
        << std::vector<ColourScheme>{meerScheme}
        << "1 Farbschema wurde nach %1 exportiert.\n1 Eintrag ohne Namen oder mit "
           "unbrauchbaren Farbwerten wurde ausgelassen.";
    QTest::newRow("nothing usable")
        << QList<Record>{{"Halb", {1.5, 2, 3, 4, 5, 6}}, {"Halb", {1, 2, 3, 4, 5, 6.25}}}
        << std::vector<ColourScheme>{}
        << "0 Farbschemata wurden nach %1 exportiert.\n2 Einträge ohne Namen oder mit "
           "unbrauchbaren Farbwerten wurden ausgelassen.";
}

void TestExchangeCommands::exportLeavesOutIncompleteRecords() {
    QFETCH(QList<Record>, records);
    QFETCH(std::vector<ColourScheme>, exported);
    QFETCH(QString, message);
    startWith(records, true);
    const QString path = exportPath("farben.json");
    dialogs().saveAnswers = {Dialogs::SaveChoice{path, exportFilterTexts[0]}};
    trigger("mnuExportieren");
    QVERIFY(readJsonExport(readAll(path)) == exported);
    QCOMPARE(dialogs().messages.size(), 1);
    QCOMPARE(dialogs().messages[0].text, message.arg(QDir::toNativeSeparators(path)));
    QCOMPARE(dialogs().messages[0].title, "Farbschemata exportieren");
}

// The real save dialog: the JSON filter chosen, a name typed without a suffix.
void TestExchangeCommands::exportThroughTheRealSaveDialog() {
    startWith(storedSchemes);
    window_.window.reset();
    window_.window = std::make_unique<frmHauptprogramm>(window_.dir->path());
    QVERIFY(test::showActive(window_.get()));
    QStringList seen;
    answerModals(this, [&](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        if (!dialog) {
            seen << "unexpected " + modal->windowTitle();
            modal->close();
            return true;
        }
        seen << dialog->windowTitle() << dialog->nameFilters().join(";;");
        auto* types = dialog->findChild<QComboBox*>("fileTypeCombo");
        types->setFocus();
        QTest::keyClick(types, Qt::Key_Down); // as a user picks the next filter
        enterPath(dialog, exportPath("auswahl"));
        return true;
    });
    trigger("mnuExportieren");
    QCOMPARE(seen, (QStringList{"Farbschemata exportieren", exportFilterTexts.join(";;")}));
    QCOMPARE(listing(files_->path()), QStringList{"auswahl.json"});
    QVERIFY(readJsonExport(readAll(exportPath("auswahl.json"))) == storedSchemes);
}

// ---- import

void TestExchangeCommands::importAfterThePreview_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<QByteArray>("contents");
    QTest::addColumn<std::vector<ColourScheme>>("added");
    QTest::addColumn<QStringList>("refused"); // where each refused entry stands
    QTest::addColumn<QString>("selected");    // the entry picked before the import, if any
    QTest::addColumn<QStringList>("entries"); // the list afterwards
    const ColourScheme zeder{"Zeder", {16, 32, 48}, {255, 255, 255}};
    const ColourScheme ahorn{"Ahorn", {1, 2, 3}, {171, 205, 239}};
    const ColourScheme aehre{"Ähre", {0, 0, 0}, {1, 2, 3}};
    const QStringList all{"Abend", "Ahorn", "Ähre", "Mitte", "Zebra", "Zeder"};
    const QByteArray exportFormat =
        R"({"format": "pigmora-schemes", "version": 1, "schemes": [
             {"name": "Zeder", "text": "#102030", "background": "#fff"},
             {"name": "Ahorn", "text": [1, 2, 3], "background": "#ABCDEF"},
             {"name": "Ähre", "text": "#000", "background": "#010203"}]})";
    QTest::newRow("json, nothing picked")
        << "neu.json" << exportFormat << std::vector{zeder, ahorn, aehre} << QStringList{} << ""
        << all;
    QTest::newRow("json, an entry picked")
        << "neu.json" << exportFormat << std::vector{zeder, ahorn, aehre} << QStringList{}
        << "Mitte" << all;
    QTest::newRow("json with refused entries")
        << "liste.json"
        << QByteArray(R"([{"name": "Zeder", "text": "#102030", "background": "#ffffff"},
              {"text": "#000", "background": "#fff"},
              {"name": "Ein Name, der länger ist als dreißig Zeichen", "text": "#000",
               "background": "#fff"},
              {"name": "Ahorn", "text": "rot", "background": "#fff"},
              "Ähre",
              {"name": "Ähre", "text": "#000", "background": "#010203"}])")
        << std::vector{zeder, aehre}
        << QStringList{"Eintrag 2", "Eintrag 3", "Eintrag 4", "Eintrag 5"} << "Zebra"
        << QStringList{"Abend", "Ähre", "Mitte", "Zebra", "Zeder"};
    QTest::newRow("palette with a refused line")
        << "neu.gpl"
        << QByteArray("GIMP Palette\nName: Test\nColumns: 2\n#\n"
                      " 16  32  48\tZeder (Text)\n255 255 255\tZeder (Hintergrund)\n"
                      "300   0   0\tKaputt (Text)\n"
                      "171 205 239\tAhorn (Hintergrund)\n  1   2   3\tAhorn (Text)\n")
        << std::vector{zeder, ahorn} << QStringList{"Zeile 7"} << "Abend"
        << QStringList{"Abend", "Ahorn", "Mitte", "Zebra", "Zeder"};
    QTest::newRow("design tokens, a refused alias")
        << "neu.tokens.json" << QByteArray(R"({"farbschema": {"$type": "color",
              "Zeder": {"text": {"$value": "{farbschema.Ahorn.text}"},
                        "background": {"$value": {"colorSpace": "srgb", "components": [1, 1, 1]}}},
              "Ahorn": {"$extensions": {"org.pigmora": {"name": "Ahorn"}},
                        "text": {"$value": "#010203"}, "background": {"$value": "#abcdef"}},
              "Kaputt": {"text": {"$value": "{fehlt}"}, "background": {"$value": "#000"}},
              "Rand": {"$value": "#000"}}})")
        << std::vector<ColourScheme>{{"Zeder", {1, 2, 3}, {255, 255, 255}}, ahorn}
        << QStringList{"farbschema.Kaputt.text"} << ""
        << QStringList{"Abend", "Ahorn", "Mitte", "Zebra", "Zeder"};
    QTest::newRow("same name as a stored one")
        << "neu.json"
        << QByteArray(R"([{"name": "Mitte", "text": "#102030", "background": "#fff"}])")
        << std::vector<ColourScheme>{{"Mitte", {16, 32, 48}, {255, 255, 255}}} << QStringList{}
        << "Mitte" << QStringList{"Abend", "Mitte", "Mitte", "Zebra"};
}

void TestExchangeCommands::importAfterThePreview() {
    QFETCH(QString, file);
    QFETCH(QByteArray, contents);
    QFETCH(std::vector<ColourScheme>, added);
    QFETCH(QStringList, refused);
    QFETCH(QString, selected);
    QFETCH(QStringList, entries);
    const std::vector<ColourScheme> stored{{"Zebra", {1, 2, 3}, {4, 5, 6}},
                                           {"Abend", {7, 8, 9}, {10, 11, 12}},
                                           {"Mitte", {13, 14, 15}, {16, 17, 18}}};
    startWith(stored);
    if (!selected.isEmpty())
        list()->setSelectedIndex(int(this->entries().indexOf(selected)));
    const QString editor = editorState();
    QSignalSpy chosen(list(), &SchemeList::entryChosen);
    QVERIFY(writeAll(exportPath(file), contents));
    dialogs().openAnswers = {exportPath(file)};
    dialogs().importAnswers = {true};

    trigger("mnuImportieren");

    QCOMPARE(dialogs().openRequests.size(), 1);
    QCOMPARE(dialogs().openRequests[0].title, "Farbschemata importieren");
    QCOMPARE(dialogs().importPreviews.size(), 1);
    const ImportReading& shown = dialogs().importPreviews[0];
    QVERIFY(shown.error.isEmpty());
    QVERIFY(shown.schemes == added);
    QStringList shownRefused;
    for (const RefusedEntry& e : shown.refused) {
        shownRefused << e.where;
        QVERIFY(!e.reason.isEmpty());
    }
    QCOMPARE(shownRefused, refused);

    QStringList rows;
    for (const ColourScheme& s : stored)
        rows << row(s);
    for (const ColourScheme& s : added)
        rows << row(s);
    QCOMPARE(storedRows(), rows);
    QCOMPARE(this->entries(), entries);
    QCOMPARE(list()->selectedText(), selected);
    QCOMPARE(chosen.count(), 0);
    QCOMPARE(editorState(), editor);
    QVERIFY(dialogs().messages.isEmpty());

    // An imported scheme applies like a stored one (the last record of a name decides).
    const ColourScheme& last = added.back();
    list()->setSelectedIndex(int(this->entries().lastIndexOf(last.name)));
    QCOMPARE(foreColour(sample()), packColour(last.text));
    QCOMPARE(backColour(sample()), packColour(last.background));
}

void TestExchangeCommands::importCancelledChangesNothing() {
    startWith(std::vector<ColourScheme>{{"Zebra", {1, 2, 3}, {4, 5, 6}}});
    const QByteArray hash = test::fileHash(window_.schemeFile());
    QVERIFY(writeAll(exportPath("neu.json"),
                     R"([{"name": "Zeder", "text": "#102030", "background": "#fff"}])"));
    dialogs().openAnswers = {exportPath("neu.json")};
    dialogs().importAnswers = {false};
    trigger("mnuImportieren");
    QCOMPARE(dialogs().importPreviews.size(), 1);
    QCOMPARE(test::fileHash(window_.schemeFile()), hash);
    QCOMPARE(entries(), QStringList{"Zebra"});
    QVERIFY(dialogs().messages.isEmpty());

    trigger("mnuImportieren"); // the open dialog cancelled: nothing read, nothing shown
    QCOMPARE(dialogs().openRequests.size(), 2);
    QCOMPARE(dialogs().importPreviews.size(), 1);
}

void TestExchangeCommands::importFileErrorShowsNoPreview_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<QByteArray>("contents"); // "<none>": no file
    QTest::addColumn<qint64>("size");         // grows the file to this size, when above 0
    QTest::addColumn<QString>("reason");      // part of the message
    QTest::newRow("not JSON") << "a.json" << QByteArray("Farben: rot") << 0ll
                              << "kein gültiges JSON";
    QTest::newRow("missing file") << "fehlt.json" << QByteArray("<none>") << 0ll
                                  << "nicht vorhanden";
    QTest::newRow("over 64 MB") << "gross.json" << QByteArray("[") << maxImportBytes + 1
                                << "größer als 64 MB";
}

void TestExchangeCommands::importFileErrorShowsNoPreview() {
    QFETCH(QString, file);
    QFETCH(QByteArray, contents);
    QFETCH(qint64, size);
    QFETCH(QString, reason);
    startWith(std::vector<ColourScheme>{{"Zebra", {1, 2, 3}, {4, 5, 6}}});
    const QString path = exportPath(file);
    if (contents != "<none>")
        QVERIFY(writeAll(path, contents));
    if (size > 0)
        QVERIFY(QFile::resize(path, size));
    const QByteArray hash = test::fileHash(window_.schemeFile());
    dialogs().openAnswers = {path};
    dialogs().importAnswers = {true};
    trigger("mnuImportieren");
    QCOMPARE(dialogs().importPreviews.size(), 0);
    QCOMPARE(dialogs().messages.size(), 1);
    QCOMPARE(dialogs().messages[0].title, "Farbschemata importieren");
    const QString text = dialogs().messages[0].text;
    QVERIFY2(text.contains(QDir::toNativeSeparators(path)) && text.contains(reason),
             qPrintable(text));
    QCOMPARE(test::fileHash(window_.schemeFile()), hash);
    QCOMPARE(entries(), QStringList{"Zebra"});
}

void TestExchangeCommands::importRefusedByTheEngineAddsNothing() {
    startWith(std::vector<ColourScheme>{{"Zebra", {1, 2, 3}, {4, 5, 6}}});
    window_.window.reset();
    // The second scheme is refused after the first one went in.
    QCOMPARE(RawDb(window_.schemeFile())
                 .exec("CREATE TRIGGER sperre BEFORE INSERT ON Farbtabelle WHEN NEW.Name = "
                       "'Ahorn' BEGIN SELECT RAISE(ABORT, 'Ahorn ist gesperrt'); END"),
             SQLITE_DONE);
    QVERIFY(window_.open());
    list()->setSelectedIndex(0);
    const QString editor = editorState();
    const QStringList rows = storedRows();
    QVERIFY(writeAll(exportPath("neu.json"),
                     R"([{"name": "Zeder", "text": "#102030", "background": "#fff"},
                         {"name": "Ahorn", "text": "#123", "background": "#456"}])"));
    dialogs().openAnswers = {exportPath("neu.json")};
    dialogs().importAnswers = {true};
    trigger("mnuImportieren");
    QCOMPARE(dialogs().importPreviews.size(), 1);
    QCOMPARE(dialogs().messages.size(), 1);
    QCOMPARE(dialogs().messages[0].title, "Farbschemata importieren");
    QVERIFY2(
        dialogs().messages[0].text.startsWith("Die Farbschemata konnten nicht importiert werden") &&
            dialogs().messages[0].text.contains("Ahorn ist gesperrt"),
        qPrintable(dialogs().messages[0].text));
    QCOMPARE(storedRows(), rows);
    QCOMPARE(entries(), QStringList{"Zebra"});
    QCOMPARE(list()->selectedIndex(), 0);
    QCOMPARE(editorState(), editor);
}

void TestExchangeCommands::importThroughTheRealPreview_data() {
    QTest::addColumn<QByteArray>("contents");
    QTest::addColumn<QString>("answer"); // "click", "Return" or "Escape"
    QTest::addColumn<bool>("importable");
    QTest::addColumn<QStringList>("entries");
    const QByteArray two = R"([{"name": "Zeder", "text": "#102030", "background": "#fff"},
                              {"name": "Ahorn"},
                              {"name": "Ähre", "text": "#000", "background": "#010203"}])";
    QTest::newRow("click on Importieren")
        << two << "click" << true << QStringList{"Ähre", "Zebra", "Zeder"};
    QTest::newRow("Return") << two << "Return" << true << QStringList{"Ähre", "Zebra", "Zeder"};
    QTest::newRow("Escape") << two << "Escape" << true << QStringList{"Zebra"};
    QTest::newRow("nothing importable, Return")
        << QByteArray(R"([{"name": "Ahorn"}])") << "Return" << false << QStringList{"Zebra"};
}

void TestExchangeCommands::importThroughTheRealPreview() {
    QFETCH(QByteArray, contents);
    QFETCH(QString, answer);
    QFETCH(bool, importable);
    QFETCH(QStringList, entries);
    startWith(std::vector<ColourScheme>{{"Zebra", {1, 2, 3}, {4, 5, 6}}});
    window_.window.reset();
    RealPreviewDialogs real;
    window_.window = std::make_unique<frmHauptprogramm>(window_.dir->path(), &real);
    QVERIFY(test::showActive(window_.get()));
    QVERIFY(writeAll(exportPath("neu.json"), contents));
    real.openAnswers = {exportPath("neu.json")};

    bool seen = false;
    answerModals(this, [&](QWidget* modal) {
        seen = true;
        [&] {
            QCOMPARE(modal->objectName(), "frmImport");
            QCOMPARE(modal->windowTitle(), "Farbschemata importieren");
            QCOMPARE(modal->parentWidget(), window_.get());
            auto* schemes = byName<QTableView>(modal, "lstSchemata");
            auto* refused = byName<QTableView>(modal, "lstAbgelehnt");
            auto* import = byName<QPushButton>(modal, "cmdImportieren");
            QCOMPARE(import->text(), "Importieren");
            QCOMPARE(byName<QPushButton>(modal, "cmdAbbrechen")->text(), "Abbrechen");
            QCOMPARE(import->isEnabled(), importable);
            QCOMPARE(refused->model()->rowCount(), 1);
            QCOMPARE(refused->model()->index(0, 0).data().toString(),
                     importable ? "Eintrag 2" : "Eintrag 1");
            QCOMPARE(refused->model()->index(0, 1).data().toString(), "Ahorn");
            QVERIFY(!refused->model()->index(0, 2).data().toString().isEmpty());
            QCOMPARE(byName<QLabel>(modal, "lblAbgelehnt")->text(), "1 Eintrag wurde abgelehnt:");
            if (importable) {
                QCOMPARE(byName<QLabel>(modal, "lblSchemata")->text(),
                         "2 Farbschemata werden hinzugefügt:");
                const QAbstractItemModel* m = schemes->model();
                QCOMPARE(m->rowCount(), 2);
                QCOMPARE(m->index(0, 0).data().toString(), "Zeder");
                QCOMPARE(m->index(0, 1).data(Qt::DecorationRole).value<QColor>(),
                         QColor(0x10, 0x20, 0x30));
                QCOMPARE(m->index(0, 2).data(Qt::DecorationRole).value<QColor>(),
                         QColor(Qt::white));
                QCOMPARE(m->index(1, 0).data().toString(), "Ähre");
                QCOMPARE(m->index(1, 2).data().toString(), "#010203");
            } else {
                QVERIFY(schemes->isHidden());
            }
        }();
        if (answer == "click")
            QTest::mouseClick(byName<QPushButton>(modal, "cmdImportieren"), Qt::LeftButton);
        else
            QTest::keyClick(modal, answer == "Return" ? Qt::Key_Return : Qt::Key_Escape);
        return true;
    });
    trigger("mnuImportieren");
    QVERIFY(seen);
    QCOMPARE(this->entries(), entries);
    QCOMPARE(storedRows().size(), entries.size());
    QVERIFY(real.messages.isEmpty());
}

// The preview's counts are grouped as German writes them; design tokens tell what is left alone.
void TestExchangeCommands::previewCountsInGerman() {
    QCOMPARE(importedSchemesCaption(100000), "100.000 Farbschemata werden hinzugefügt:");
    QCOMPARE(refusedEntriesCaption(12345), "12.345 Einträge wurden abgelehnt:");
    QCOMPARE(leftOutMessage(100000, 1234, "/a.css"),
             "100.000 Farbschemata wurden nach /a.css exportiert.\n1.234 Einträge ohne Namen oder "
             "mit unbrauchbaren Farbwerten wurden ausgelassen.");
    ImportReading reading;
    reading.schemes = {{"Zeder", {1, 2, 3}, {4, 5, 6}}};
    reading.otherTokens = 1200;
    reading.otherGroups = 1;
    frmImport preview(reading);
    QCOMPARE(byName<QLabel>(&preview, "lblUebergangen")->text(),
             "Übergangen werden 1.200 weitere Tokens und 1 Gruppe ohne Farbschema.");
    reading.otherTokens = reading.otherGroups = 0;
    frmImport plain(reading);
    QVERIFY(!plain.findChild<QLabel*>("lblUebergangen"));
}

// ---- the pairing step of design tokens

namespace {

// A small design system as real ones split it: primitives, the roles aliasing them from the
// other file, and a resolver whose dark theme overrides the light one.
const std::vector<std::pair<QString, QByteArray>> designSystem{
    {"primitives.tokens.json", R"({"base": {"color": {"$type": "color",
        "neutral": {"0": {"$value": "#ffffff"}, "13": {"$value": "#000000"}},
        "red": {"5": {"$value": "#d1242f"}}, "blue": {"5": {"$value": "#0969da"}}}}})"},
    {"roles.tokens.json", R"({"fgColor": {"$type": "color",
        "default": {"$value": "{base.color.neutral.13}"}, "danger": {"$value": "{base.color.red.5}"},
        "accent": {"$value": "{base.color.blue.5}"}},
        "bgColor": {"$type": "color", "default": {"$value": "{base.color.neutral.0}"},
        "danger": {"$value": "{base.color.neutral.0}"}}})"},
    {"light.tokens.json", R"({"fgColor": {"$type": "color", "default": {"$value": "#111111"}},
        "bgColor": {"$type": "color", "default": {"$value": "#fafafa"}}})"},
    {"dark.tokens.json", R"({"fgColor": {"default": {"$value": "#fafafa"}},
        "bgColor": {"default": {"$value": "#111111"}}})"},
    {"ds.resolver.json", R"({"version": "2025.10",
        "modifiers": {"theme": {"contexts": {"light": [{"$ref": "light.tokens.json"}],
            "dark": [{"$ref": "light.tokens.json"}, {"$ref": "dark.tokens.json"}]},
            "default": "light"}},
        "resolutionOrder": [{"$ref": "#/modifiers/theme"}]})"},
};

// The pairs a preview lists: "name #text #background", with "[x]" for a checked one.
QStringList shownPairs(QWidget* preview) {
    const QAbstractItemModel* m = byName<QTableView>(preview, "lstSchemata")->model();
    QStringList out;
    for (int row = 0; row < m->rowCount(); ++row)
        out << QStringLiteral("%1 %2 %3%4")
                   .arg(m->index(row, 0).data().toString(), m->index(row, 1).data().toString(),
                        m->index(row, 2).data().toString(),
                        m->index(row, 0).data(Qt::CheckStateRole).toInt() == Qt::Checked ? " [x]"
                                                                                         : "");
    return out;
}

// Selects the files in the real open dialog, as a user picks several with Ctrl.
void selectFiles(QFileDialog* dialog, const QString& dir, const QStringList& names) {
    dialog->setDirectory(dir);
    QStringList quoted;
    for (const QString& name : names)
        quoted << '"' + name + '"';
    enterPath(dialog, quoted.join(' '));
}

} // namespace

void TestExchangeCommands::importPairsChosenInThePreview_data() {
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QStringList>("rule"); // text, background, "same" for "gleiche Rolle"
    QTest::addColumn<QString>("context");  // the theme chosen
    QTest::addColumn<int>("uncheck");      // the row unchecked before importing, or -1
    QTest::addColumn<QStringList>("shown");
    QTest::addColumn<QStringList>("entries"); // the list afterwards
    const QStringList split{"primitives.tokens.json", "roles.tokens.json"};
    QTest::newRow("the rule found, the stored pair left unchecked")
        << split << QStringList{} << "" << -1
        << QStringList{"default #000000 #ffffff [x]", "danger #d1242f #ffffff"}
        << QStringList{"danger", "default"};
    QTest::newRow("every text on every background, one unchecked")
        << split << QStringList{"fgColor.*", "bgColor.*"} << "" << 0
        << QStringList{"default #000000 #ffffff [x]",
                       "default auf danger #000000 #ffffff [x]",
                       "danger auf default #d1242f #ffffff [x]",
                       "danger #d1242f #ffffff",
                       "accent auf default #0969da #ffffff [x]",
                       "accent auf danger #0969da #ffffff [x]"}
        << QStringList{"accent auf danger", "accent auf default", "danger", "danger auf default",
                       "default auf danger"};
    QTest::newRow("the same role only")
        << split << QStringList{"fgColor.*", "bg*.*", "same"} << "" << 1
        << QStringList{"default #000000 #ffffff [x]", "danger #d1242f #ffffff"}
        << QStringList{"danger", "default"};
    QTest::newRow("the dark theme of a resolver")
        << QStringList{"ds.resolver.json", "light.tokens.json", "dark.tokens.json"} << QStringList{}
        << "dark" << -1 << QStringList{"default #fafafa #111111 [x]"}
        << QStringList{"danger", "default"};
}

// Several token files chosen in the real open dialog, paired in the real preview by the rule
// found or typed, in the theme chosen; only the checked pairs are added.
void TestExchangeCommands::importPairsChosenInThePreview() {
    QFETCH(QStringList, files);
    QFETCH(QStringList, rule);
    QFETCH(QString, context);
    QFETCH(int, uncheck);
    QFETCH(QStringList, shown);
    QFETCH(QStringList, entries);
    startWith(std::vector<ColourScheme>{{"danger", {0xd1, 0x24, 0x2f}, {255, 255, 255}}});
    window_.window.reset();
    window_.window = std::make_unique<frmHauptprogramm>(window_.dir->path());
    QVERIFY(test::showActive(window_.get()));
    for (const auto& [name, contents] : designSystem)
        QVERIFY(writeAll(exportPath(name), contents));

    QStringList seen;
    answerModals(this, [&](QWidget* modal) {
        if (auto* dialog = qobject_cast<QFileDialog*>(modal)) {
            selectFiles(dialog, files_->path(), files);
            return false;
        }
        [&] {
            QCOMPARE(modal->objectName(), "frmImport");
            if (!context.isEmpty()) {
                auto* theme = byName<QComboBox>(modal, "cmbKontext");
                QCOMPARE(theme->currentText(), "light");
                theme->setCurrentText(context);
                emit theme->activated(theme->currentIndex());
            }
            if (!rule.isEmpty()) {
                QTest::keyClicks(byName(modal, "txtText"), rule[0]);
                QTest::keyClicks(byName(modal, "txtHintergrund"), rule[1]);
                byName<QCheckBox>(modal, "chkGleicheRolle")->setChecked(rule.size() > 2);
                QTest::keyClick(byName(modal, "txtHintergrund"), Qt::Key_Return); // pairs again
            }
            QVERIFY(modal->isVisible()); // Return in a rule pairs, it does not import
            if (rule.isEmpty() && context.isEmpty())
                QVERIFY(byName<QLabel>(modal, "lblRegel")->text().startsWith("Gepaart nach"));
            seen = shownPairs(modal);
            if (uncheck >= 0) {
                QAbstractItemModel* m = byName<QTableView>(modal, "lstSchemata")->model();
                m->setData(m->index(uncheck, 0), Qt::Unchecked, Qt::CheckStateRole);
            }
        }();
        QTest::mouseClick(byName<QPushButton>(modal, "cmdImportieren"), Qt::LeftButton);
        return true;
    });
    trigger("mnuImportieren");
    QCOMPARE(seen, shown);
    QCOMPARE(this->entries(), entries);
    QCOMPARE(storedRows().size(), entries.size());
}

// "Im Raster zeigen" imports nothing and shows the palette in the contrast grid, its rows and
// columns chosen by the patterns typed.
void TestExchangeCommands::paletteFromThePreviewToTheGrid() {
    startWith(std::vector<ColourScheme>{});
    window_.window.reset();
    window_.window = std::make_unique<frmHauptprogramm>(window_.dir->path());
    QVERIFY(test::showActive(window_.get()));
    for (const auto& [name, contents] : designSystem)
        QVERIFY(writeAll(exportPath(name), contents));
    answerModals(this, [&](QWidget* modal) {
        if (auto* dialog = qobject_cast<QFileDialog*>(modal)) {
            selectFiles(dialog, files_->path(), {"primitives.tokens.json", "roles.tokens.json"});
            return false;
        }
        QTest::keyClicks(byName(modal, "txtText"), "fgColor.*");
        QTest::keyClicks(byName(modal, "txtHintergrund"), "bgColor.*");
        QTest::mouseClick(byName<QPushButton>(modal, "cmdRaster"), Qt::LeftButton);
        return true;
    });
    trigger("mnuImportieren");
    QVERIFY(storedRows().isEmpty());
    auto* grid = window_.get()->findChild<frmRaster*>();
    QVERIFY(grid);
    QTRY_VERIFY(grid->isVisible());
    QStringList rows, columns;
    for (const GridColour& c : grid->grid().rows())
        rows << c.name;
    for (const GridColour& c : grid->grid().columns())
        columns << c.name;
    QCOMPARE(rows, (QStringList{"fgColor.default", "fgColor.danger", "fgColor.accent"}));
    QCOMPARE(columns, (QStringList{"bgColor.default", "bgColor.danger"}));
}

// ---- paste

void TestExchangeCommands::paste_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<uint>("colour"); // packed: red in the low byte
    QTest::addColumn<bool>("foreground");
    QTest::addColumn<bool>("inBox"); // Ctrl+Shift+V while txtRot has the focus
    const struct {
        const char* name;
        const char* text;
        uint colour;
    } forms[] = {
        {"#rgb", "#abc", 0xCCBBAA},
        {"#rrggbb mixed case", "#A0b1C2", 0xC2B1A0},
        {"blanks around", "  #102030 \n", 0x302010},
        {"rgb with commas", "rgb(1, 2, 3)", 0x030201},
        {"rgb with blanks", "rgb(10 20 30)", 0x1E140A},
        {"RGB in capitals", "RGB( 255 , 0 , 128 )", 0x8000FF},
        {"named colour", "rebeccapurple", 0x993366},
        {"named colour, any case", "LightGoldenRodYellow", 0xD2FAFA},
        {"black", "black", 0x000000},
        {"rgb(256, 0, 0), clamped", "rgb(256, 0, 0)", 0x0000FF},
        {"hsl", "hsl(120 100% 25%)", 0x008000},
        {"oklch inside sRGB", "oklch(62.8% 0.25768 29.23)", 0x0000FF},
        {"alpha of 100%", "rgb(0 128 255 / 100%)", 0xFF8000},
    };
    int i = 0;
    for (const auto& f : forms) {
        const bool foreground = i % 2 == 0;
        const bool inBox = i % 3 == 0;
        ++i;
        QTest::addRow("%s%s%s", f.name, foreground ? ", text colour" : ", background",
                      inBox ? ", in txtRot" : "")
            << QString::fromUtf8(f.text) << f.colour << foreground << inBox;
    }
}

void TestExchangeCommands::paste() {
    QFETCH(QString, text);
    QFETCH(uint, colour);
    QFETCH(bool, foreground);
    QFETCH(bool, inBox);
    QVERIFY(window_.open());
    test::TextClipboard clipboard;
    clipboard.value = text;
    window_->setClipboard(&clipboard);
    test::typeColour(window_.get(), 9, 8, 7); // background
    trigger("mnuVorder");
    test::typeColour(window_.get(), 1, 2, 3);
    trigger(foreground ? "mnuVorder" : "mnuHinter");
    const ColourValue otherBefore = foreground ? backColour(sample()) : foreColour(sample());

    QWidget* target = window_.get();
    if (inBox) {
        auto* box = byName<QLineEdit>(window_.get(), "txtRot");
        box->setFocus();
        target = box;
    }
    QTest::keyClick(target, Qt::Key_V, Qt::ControlModifier | Qt::ShiftModifier);

    QVERIFY(dialogs().messages.isEmpty());
    QCOMPARE(test::sliderColour(window_.get()), colour);
    QCOMPARE(foreground ? foreColour(sample()) : backColour(sample()), colour);
    QCOMPARE(foreground ? backColour(sample()) : foreColour(sample()), otherBefore);
    QCOMPARE(test::text(window_.get(), "txtRot"), QString::number(colour & 0xFF));
    QCOMPARE(test::text(window_.get(), "txtBlauHex"), QString::number(colour >> 16, 16).toUpper());
    QCOMPARE(clipboard.value, text);
}

void TestExchangeCommands::pasteRefused_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("shown"); // what the message must say
    QTest::addColumn<bool>("inBox");
    const QString empty = "Die Zwischenablage enthält keinen Text.";
    QTest::newRow("empty") << "" << empty << false;
    QTest::newRow("empty, in txtRot") << "" << empty << true;
    QTest::newRow("blanks only") << " \t\n" << empty << false;
    QTest::newRow("transparent") << "transparent"
                                 << "„transparent“" << false;
    QTest::newRow("#12") << "#12"
                         << "„#12“" << true;
    QTest::newRow("not opaque, for the background") << "rgb(0 0 0 / 50%)"
                                                    << "Als Hintergrund wird nur" << false;
    QTest::newRow("rgb with two values") << "rgb(1, 2)"
                                         << "„rgb(1, 2)“" << true;
    QTest::newRow("decimal digits of the copy") << "255128000"
                                                << "„255128000“" << false;
    QTest::newRow("colour and more") << "#102030; color: red"
                                     << "„#102030; color: red“" << false;
    QTest::newRow("long text") << QString(5000, 'a') << "„" + QString(40, 'a') + "…“" << false;
}

void TestExchangeCommands::pasteRefused() {
    QFETCH(QString, text);
    QFETCH(QString, shown);
    QFETCH(bool, inBox);
    QVERIFY(window_.open());
    test::TextClipboard clipboard;
    clipboard.value = text;
    window_->setClipboard(&clipboard);
    test::typeColour(window_.get(), 40, 50, 60);
    QWidget* target = window_.get();
    if (inBox) {
        auto* box = byName<QLineEdit>(window_.get(), "txtRot");
        box->setFocus();
        target = box;
    }
    const QString editor = editorState();
    QTest::keyClick(target, Qt::Key_V, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(dialogs().messages.size(), 1);
    QCOMPARE(dialogs().messages[0].title, "CSS-Farbe einfügen");
    QVERIFY2(dialogs().messages[0].text.contains(shown), qPrintable(dialogs().messages[0].text));
    QVERIFY(dialogs().messages[0].text.size() < 300);
    QCOMPARE(editorState(), editor);
}

void TestExchangeCommands::pasteTellsWhatItMade_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("foreground");
    QTest::addColumn<uint>("colour"); // packed: red in the low byte
    QTest::addColumn<QStringList>("told");
    QTest::newRow("laid over the background")
        << "rgba(255, 255, 255, 0.5)" << true << 0x808080u
        << QStringList{"(Alpha 0,5)", "Über dem Hintergrund #000000", "Textfarbe #808080"};
    QTest::newRow("mapped into sRGB")
        << "color(display-p3 1 0 0)" << false << 0x0C0BFFu
        << QStringList{"„color(display-p3 1 0 0)“ liegt außerhalb von sRGB, angenähert: #ff0b0c"};
    QTest::newRow("mapped, then laid over")
        << "oklch(70% 0.4 30 / 0.5)" << true << 0x222C80u
        << QStringList{"außerhalb von sRGB, angenähert: #ff5843", "Textfarbe #802c22"};
}

// The colour is set first, then the user learns which colour it became and why.
void TestExchangeCommands::pasteTellsWhatItMade() {
    QFETCH(QString, text);
    QFETCH(bool, foreground);
    QFETCH(uint, colour);
    QFETCH(QStringList, told);
    QVERIFY(window_.open());
    test::TextClipboard clipboard;
    clipboard.value = text;
    window_->setClipboard(&clipboard);
    test::typeColour(window_.get(), 0, 0, 0); // background
    trigger(foreground ? "mnuVorder" : "mnuHinter");
    dialogs().onMessage = [&](const test::ScriptedDialogs::Message&) {
        QCOMPARE(foreground ? foreColour(sample()) : backColour(sample()), colour);
    };
    trigger("mnuCssEinfügen");
    QCOMPARE(dialogs().messages.size(), 1);
    QCOMPARE(dialogs().messages[0].title, "CSS-Farbe einfügen");
    for (const QString& part : told)
        QVERIFY2(dialogs().messages[0].text.contains(part), qPrintable(dialogs().messages[0].text));
    QCOMPARE(test::sliderColour(window_.get()), colour);
    if (foreground)
        QCOMPARE(backColour(sample()), 0u);
}

QTEST_MAIN(TestExchangeCommands)
#include "test_exchange_commands.moc"
