#include "exchange/export_writers.h"
#include "exchange/file_reasons.h"
#include "exchange/scheme_export.h"
#include "exchange/scheme_import.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <cerrno>
#include <cmath>
#include <csignal>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

using namespace pigmora;

namespace {

const ExportStamp stamp{QStringLiteral("Pigmora 1.0.0"),
                        QDateTime(QDate(2026, 12, 7), QTime(15, 30), Qt::UTC)};

// Names a user or another program may have stored.
std::vector<ColourScheme> awkwardSchemes() {
    const QStringList names{
        QStringLiteral("Abend"),
        QStringLiteral("Abend"), // stored twice
        QStringLiteral("Abend-2"),
        QStringLiteral("abend"),
        QStringLiteral("\"Zitat\" mit 'Hochkomma'"),
        QStringLiteral("Back\\slash"),
        QStringLiteral("Grün & Blau < > ; { } . # :"),
        QStringLiteral("Emoji 😀🎨"),
        QStringLiteral("שלום עולם"),
        QStringLiteral("2024 Frühling"),
        QStringLiteral("  Leer  "),
        QStringLiteral("x (Text)"),
        QStringLiteral("y (Hintergrund)"),
        QStringLiteral("*/ </style>"),
        QStringLiteral("-"),
        QStringLiteral("_"),
    };
    std::vector<ColourScheme> schemes;
    int i = 0;
    for (const QString& name : names) {
        const auto c = ChannelValue(i * 16);
        schemes.push_back({name, {c, ChannelValue(255 - c), 7}, {1, c, ChannelValue(i)}});
        ++i;
    }
    return schemes;
}

QString hex(Rgb c) {
    return QStringLiteral("#%1").arg((c.red << 16) | (c.green << 8) | c.blue, 6, 16,
                                     QLatin1Char('0'));
}

} // namespace

class TestSchemeExport : public QObject {
    Q_OBJECT
private slots:
    void identifierEscaping_data();
    void identifierEscaping();
    void classNamesAreDistinct();
    void namesComparedAsTokenToolsDo_data();
    void namesComparedAsTokenToolsDo();
    void cssIsValidForARealParser();
    void roundTrip_data();
    void roundTrip();
    void jsonHasTheDocumentedShape();
    void largestExportCanBeImportedAgain_data();
    void largestExportCanBeImportedAgain();
    void formatFromFileName();
    void fileIsReplacedWholeOrNotAtAll();
    void classesOfNamesWithBlanks();
    void stampCarriesItsOffset();
    void tokensHaveTheDocumentedShape();
    void exportFailures_data();
    void exportFailures();
};

void TestSchemeExport::identifierEscaping_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("escaped");
    QTest::addRow("plain") << "Abend_rot-2"
                           << "Abend_rot-2";
    QTest::addRow("umlauts and emoji stay") << "Grün😀"
                                            << "Grün😀";
    QTest::addRow("blank") << "a b"
                           << "a\\ b";
    QTest::addRow("punctuation") << ".#:\"'\\"
                                 << "\\.\\#\\:\\\"\\'\\\\";
    QTest::addRow("control characters") << QString("a\nb\x7f") << "a\\a b\\7f ";
    QTest::addRow("NUL") << QString(QChar(0)) << QString(QChar(0xFFFD));
    QTest::addRow("leading digit needs nothing after the prefix") << "1a"
                                                                  << "1a";
}

void TestSchemeExport::identifierEscaping() {
    QFETCH(QString, name);
    QFETCH(QString, escaped);
    QCOMPARE(cssEscapedIdentifierPart(name), escaped);
}

void TestSchemeExport::namesComparedAsTokenToolsDo_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("key");
    QTest::newRow("blank") << "Abend Rot"
                           << "abend-rot";
    QTest::newRow("camel case") << "abendRot"
                                << "abend-rot";
    QTest::newRow("capitals and underscore") << "ABEND_ROT"
                                             << "abend-rot";
    QTest::newRow("a run of capitals before a word") << "XMLHttpRequest"
                                                     << "xml-http-request";
    QTest::newRow("a digit before a capital") << "Version2Beta"
                                              << "version2-beta";
    QTest::newRow("umlauts") << "GRÜN grün"
                             << "grün-grün";
    QTest::newRow("signs at either end") << "--Abend!"
                                         << "abend";
    QTest::newRow("an emoji between") << "a😀b"
                                      << "a-b";
    QTest::newRow("a capital beyond the BMP") << "a\U00010400b"
                                              << "a-\U00010428b";
    QTest::newRow("nothing but signs") << "&& ;"
                                       << "";
}

// The key a name is told apart by: the kebab-case transform of the token tools, in small
// letters.
void TestSchemeExport::namesComparedAsTokenToolsDo() {
    QFETCH(QString, name);
    QFETCH(QString, key);
    QCOMPARE(collisionKey(name), key);
}

void TestSchemeExport::classNamesAreDistinct() {
    const std::vector<ColourScheme> schemes{
        {"a", {}, {}}, {"a", {}, {}}, {"a-2", {}, {}}, {"a", {}, {}}, {"A", {}, {}}};
    QCOMPARE(cssClassNames(schemes),
             (QStringList{"farbschema-a", "farbschema-a-2", "farbschema-a-2-2", "farbschema-a-3",
                          "farbschema-A-4"}));
}

void TestSchemeExport::cssIsValidForARealParser() {
    const std::vector<ColourScheme> schemes = awkwardSchemes();
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("farben.css"));
    QVERIFY(!writeExportFile(file, exportSchemes(schemes, ExchangeFormat::Css, stamp)));
    QProcess parser;
    parser.start(QStringLiteral(SYSTEM_PYTHON), {QStringLiteral(CHECK_CSS), file});
    QVERIFY(parser.waitForFinished(30000));
    QVERIFY2(parser.exitCode() == 0, parser.readAllStandardError().constData());
    const QJsonObject seen = QJsonDocument::fromJson(parser.readAllStandardOutput()).object();

    // What the parser reads back as class names is the prefix and the name itself (and a
    // number for a name given before), so every selector is the scheme's and no other.
    const QJsonArray classes = seen.value("classes").toArray();
    const QJsonArray properties = seen.value("properties").toArray();
    QCOMPARE(classes.size(), qsizetype(schemes.size()));
    QCOMPARE(properties.size(), 2 * qsizetype(schemes.size()));
    QSet<QString> distinct;
    for (qsizetype i = 0; i < classes.size(); ++i) {
        const QJsonArray rule = classes[i].toArray();
        const QString name = rule[0].toString();
        // Runs of blanks become one "-", as a class attribute could not carry them.
        static const QRegularExpression blanks(QStringLiteral("[ \t\n\f\r]+"));
        const QString expected =
            QStringLiteral("farbschema-") + schemes[i].name.trimmed().replace(blanks, "-");
        QVERIFY2(name == expected || name.startsWith(expected + '-'), qPrintable(name));
        distinct.insert(name);
        QCOMPARE(rule[1].toString(), hex(schemes[i].text));
        QCOMPARE(rule[2].toString(), hex(schemes[i].background));
        QCOMPARE(properties[2 * i].toArray()[0].toString(), "--" + name + "-text");
        QCOMPARE(properties[2 * i].toArray()[1].toString(), hex(schemes[i].text));
        QCOMPARE(properties[2 * i + 1].toArray()[0].toString(), "--" + name + "-background");
        QCOMPARE(properties[2 * i + 1].toArray()[1].toString(), hex(schemes[i].background));
    }
    QCOMPARE(distinct.size(), classes.size());
    QFile css(file);
    QVERIFY(css.open(QIODevice::ReadOnly));
    QVERIFY(css.readAll().contains("Pigmora 1.0.0 am 2026-12-07T15:30:00Z"));
}

void TestSchemeExport::roundTrip_data() {
    QTest::addColumn<int>("format");
    QTest::addRow("JSON") << int(ExchangeFormat::Json);
    QTest::addRow("GIMP palette") << int(ExchangeFormat::Gpl);
    QTest::addRow("design tokens") << int(ExchangeFormat::Tokens);
}

void TestSchemeExport::roundTrip() {
    QFETCH(int, format);
    const std::vector<ColourScheme> schemes = awkwardSchemes();
    const ImportReading read =
        readSchemeImport(exportSchemes(schemes, ExchangeFormat(format), stamp));
    QVERIFY2(read.error.isEmpty(), qPrintable(read.error));
    QVERIFY(read.refused.empty());
    QCOMPARE(read.schemes.size(), schemes.size());
    for (std::size_t i = 0; i < schemes.size(); ++i)
        QVERIFY2(read.schemes[i] == schemes[i], qPrintable(schemes[i].name));
}

void TestSchemeExport::jsonHasTheDocumentedShape() {
    const QJsonObject root =
        QJsonDocument::fromJson(
            exportSchemes({{"Meer", {0, 0, 255}, {255, 255, 224}}}, ExchangeFormat::Json, stamp))
            .object();
    QCOMPARE(root.value("format").toString(), "pigmora-schemes");
    QCOMPARE(root.value("version").toInt(), 1);
    const QJsonObject scheme = root.value("schemes").toArray().first().toObject();
    QCOMPARE(scheme.value("name").toString(), "Meer");
    QCOMPARE(scheme.value("text").toString(), "#0000ff");
    QCOMPARE(scheme.value("background").toString(), "#ffffe0");
    QCOMPARE(scheme.size(), 3);
}

void TestSchemeExport::largestExportCanBeImportedAgain_data() {
    QTest::addColumn<int>("format");
    QTest::addRow("JSON") << int(ExchangeFormat::Json);
    QTest::addRow("GIMP palette") << int(ExchangeFormat::Gpl);
    QTest::addRow("design tokens") << int(ExchangeFormat::Tokens);
}

// As many schemes as an import takes, each with a name as long as "&Neu" allows, written to a
// file and read back through the file's limits.
void TestSchemeExport::largestExportCanBeImportedAgain() {
    QFETCH(int, format);
    std::vector<ColourScheme> schemes;
    for (int i = 0; i < maxImportSchemes; ++i)
        schemes.push_back({QStringLiteral("Grünes Farbschema %1").arg(i, 12, 10, QLatin1Char('0')),
                           {ChannelValue(i), 0, 0},
                           {0, ChannelValue(i), 0}});
    QTemporaryDir dir;
    const QString file = dir.filePath("alle." + formatSuffix(ExchangeFormat(format)));
    QVERIFY(!writeExportFile(file, exportSchemes(schemes, ExchangeFormat(format), stamp)));
    const ImportReading read = readSchemeImportFile(file);
    QVERIFY2(read.error.isEmpty() && read.refused.empty(), qPrintable(read.error));
    QVERIFY(read.schemes == schemes);
}

void TestSchemeExport::formatFromFileName() {
    QCOMPARE(pigmora::formatFromFileName("/a/b.CSS"), ExchangeFormat::Css);
    QCOMPARE(pigmora::formatFromFileName("b.json"), ExchangeFormat::Json);
    QCOMPARE(pigmora::formatFromFileName("farben.gpl"), ExchangeFormat::Gpl);
    QVERIFY(!pigmora::formatFromFileName("farben"));
    QVERIFY(!pigmora::formatFromFileName("farben.css.txt"));
    QCOMPARE(pigmora::formatFromFileName("a/farben.Tokens.JSON"), ExchangeFormat::Tokens);
}

void TestSchemeExport::fileIsReplacedWholeOrNotAtAll() {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("farben.json"));
    QVERIFY(!writeExportFile(file, QByteArray(100000, 'a')));
    QVERIFY(!writeExportFile(file, "kurz"));
    QFile written(file);
    QVERIFY(written.open(QIODevice::ReadOnly));
    QCOMPARE(written.readAll(), QByteArray("kurz"));
    written.close();
    // A new file gets the usual permissions, not those of a private temporary file.
    const mode_t mask = umask(022);
    umask(mask);
    QFile::remove(file);
    QVERIFY(!writeExportFile(file, "neu"));
    struct stat info {};
    QCOMPARE(stat(QFile::encodeName(file).constData(), &info), 0);
    QCOMPARE(info.st_mode & 0777, 0666 & ~mask);

    // A folder that is not there: a message naming the file, nothing written.
    const QString nowhere = dir.filePath(QStringLiteral("fehlt/farben.json"));
    const auto error = writeExportFile(nowhere, "anders");
    QVERIFY(error);
    QVERIFY2(error->contains(QDir::toNativeSeparators(nowhere)), qPrintable(*error));

    // A folder that may not be written: the file there stays as it was.
    if (geteuid() == 0)
        return; // root may write anywhere
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner);
    const bool refused = writeExportFile(file, "anders").has_value();
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QVERIFY(refused);
    QVERIFY(written.open(QIODevice::ReadOnly));
    QCOMPARE(written.readAll(), QByteArray("neu"));
}

// HTML splits a class attribute on blanks, so a class holding one could never be used.
void TestSchemeExport::classesOfNamesWithBlanks() {
    const std::vector<ColourScheme> schemes{
        {"Grauer Hinweis", {}, {}}, {"  Grauer \t\n Hinweis ", {}, {}},
        {"Grauer-Hinweis", {}, {}}, {" ", {}, {}},
        {"*/ </style>", {}, {}},    {QString("Nicht\u00A0getrennt"), {}, {}}};
    QCOMPARE(cssClassNames(schemes),
             (QStringList{"farbschema-Grauer-Hinweis", "farbschema-Grauer-Hinweis-2",
                          "farbschema-Grauer-Hinweis-3", "farbschema-",
                          "farbschema-\\*\\/-\\<\\/style\\>",
                          QString("farbschema-Nicht\u00A0getrennt")}));
    // Each rule under its scheme's own name; no name ends the comment early.
    const QString css = QString::fromUtf8(exportSchemes(schemes, ExchangeFormat::Css, stamp));
    QVERIFY(css.contains("\n/* Grauer Hinweis */\n.farbschema-Grauer-Hinweis {"));
    QVERIFY(css.contains("\n/*   Grauer    Hinweis  */\n.farbschema-Grauer-Hinweis-2 {"));
    QVERIFY(css.contains("\n/* * / </style> */\n.farbschema-\\*"));
    QCOMPARE(css.count("*/"), css.count("/*"));
}

// The clock of the program's time zone with the offset that makes it a moment: a local time
// alone would be written without one.
void TestSchemeExport::stampCarriesItsOffset() {
    const QByteArray oldZone = qgetenv("TZ");
    qputenv("TZ", "Europe/Berlin");
    tzset();
    const QDate day(2026, 12, 7);
    for (const auto& [written, shown] :
         {std::pair{QDateTime(day, QTime(15, 30), Qt::LocalTime), "2026-12-07T15:30:00+01:00"},
          std::pair{QDateTime(day, QTime(9, 0), Qt::OffsetFromUTC, -34200),
                    "2026-12-07T09:00:00-09:30"}}) {
        const QByteArray gpl = exportSchemes({}, ExchangeFormat::Gpl, {"Pigmora 1.0.0", written});
        QVERIFY2(gpl.contains(QByteArray("geschrieben von Pigmora 1.0.0 am ") + shown),
                 gpl.constData());
    }
    qputenv("TZ", oldZone);
    tzset();
}

void TestSchemeExport::tokensHaveTheDocumentedShape() {
    std::vector<ColourScheme> schemes{{"Abend", {255, 69, 0}, {0, 0, 0}},
                                      {"Abend", {1, 2, 3}, {4, 5, 6}},
                                      {"$type", {}, {}},
                                      {"a.b{c}", {}, {}},
                                      {"a_b_c_", {}, {}}};
    QCOMPARE(tokenGroupNames(schemes),
             (QStringList{"Abend", "Abend-2", "_type", "a_b_c_", "a_b_c_-2"}));
    for (int c = 0; c < 256; ++c) // every channel value, as a third scheme's text
        schemes.push_back({QString::number(c), {ChannelValue(c), 0, 0}, {}});
    const QJsonObject root =
        QJsonDocument::fromJson(exportSchemes(schemes, ExchangeFormat::Tokens, stamp)).object();
    QCOMPARE(root.keys(), QStringList{"farbschema"});
    const QJsonObject group = root["farbschema"].toObject();
    QCOMPARE(group["$type"].toString(), "color");
    QCOMPARE(group.size(), qsizetype(schemes.size()) + 1);
    const QJsonObject second = group["Abend-2"].toObject();
    QCOMPARE(second.keys(), (QStringList{"$extensions", "background", "text"}));
    QCOMPARE(second["$extensions"].toObject(),
             (QJsonObject{{"org.pigmora", QJsonObject{{"name", "Abend"}}}}));
    QCOMPARE(second["text"].toObject()["$value"].toObject(),
             QJsonDocument::fromJson(R"({"colorSpace": "srgb", "components": [0.0039, 0.0078,
                                     0.0118], "hex": "#010203"})")
                 .object());
    // A consumer multiplying by 255 and rounding gets the channel back.
    for (int c = 0; c < 256; ++c) {
        const QJsonObject value = group[QString::number(c)]["text"].toObject()["$value"].toObject();
        const double red = value["components"].toArray()[0].toDouble();
        QCOMPARE(int(std::lround(red * 255)), c);
        QVERIFY(std::abs(red * 255 - c) < 0.05);
    }
}

void TestSchemeExport::exportFailures_data() {
    QTest::addColumn<QString>("target"); // what stands at the name: "", "folder", "full device",
                                         // "pipe", "stalled pipe" (its reader reads nothing);
                                         // "limit": a file size limit of 100 bytes
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("reason");
    QTest::newRow("no such folder") << ""
                                    << "fehlt/farben.css"
                                    << "nicht vorhanden";
    QTest::newRow("a folder") << "folder"
                              << "farben.css"
                              << "ein Ordner, keine Datei";
    QTest::newRow("file too large") << "limit"
                                    << "farben.css"
                                    << "größer, als das System erlaubt";
    QTest::newRow("disk full") << "full device"
                               << "voll"
                               << "kein Platz mehr frei";
    QTest::newRow("pipe without reader") << "pipe"
                                         << "rohr.css"
                                         << "liest niemand";
    QTest::newRow("pipe whose reader stops reading") << "stalled pipe"
                                                     << "rohr.css"
                                                     << "0,3 Sekunden lang nichts mehr gelesen";
}

// A German reason, never the C library's text; what stood there stands there still.
void TestSchemeExport::exportFailures() {
    QFETCH(QString, target);
    QFETCH(QString, name);
    QFETCH(QString, reason);
    QTemporaryDir dir;
    const QString path = dir.filePath(name);
    const QByteArray file = QFile::encodeName(path);
    if (target == "folder")
        QVERIFY(QDir().mkpath(path));
    const bool pipe = target.endsWith("pipe");
    if (pipe)
        QCOMPARE(mkfifo(file.constData(), 0600), 0);
    const int reader =
        target == "stalled pipe" ? open(file.constData(), O_RDONLY | O_NONBLOCK) : -1;
    if (target == "full device") // a device of our own, so a fault cannot replace /dev/full
        QVERIFY2(mknod(file.constData(), S_IFCHR | 0600, makedev(1, 7)) == 0, "mknod needs root");
    struct stat before {};
    stat(file.constData(), &before);
    std::optional<QString> error;
    if (target == "limit") {
        rlimit old{}, limit{};
        getrlimit(RLIMIT_FSIZE, &old);
        const auto handler = std::signal(SIGXFSZ, SIG_IGN);
        limit = old;
        limit.rlim_cur = 100;
        setrlimit(RLIMIT_FSIZE, &limit);
        error = writeExportFile(path, QByteArray(1000, 'x'));
        setrlimit(RLIMIT_FSIZE, &old);
        std::signal(SIGXFSZ, handler);
    } else {
        // More than a pipe holds, so a reader that reads nothing stalls the write.
        error = writeExportFile(path, QByteArray(target == "stalled pipe" ? 1 << 20 : 1000, 'x'),
                                std::chrono::milliseconds(300));
    }
    if (reader >= 0)
        close(reader);
    QVERIFY(error);
    QVERIFY2(error->contains(QDir::toNativeSeparators(path)) && error->contains(reason),
             qPrintable(*error));
    for (const char* english :
         {"No such", "Is a directory", "too large", "No space", "Unknown", "No such device"})
        QVERIFY2(!error->contains(english), qPrintable(*error));
    struct stat after {};
    QCOMPARE(stat(file.constData(), &after), target.isEmpty() || target == "limit" ? -1 : 0);
    QCOMPARE(after.st_mode, before.st_mode);
    QCOMPARE(after.st_rdev, before.st_rdev);
    QCOMPARE(after.st_ino, before.st_ino);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System).size(),
             pipe || target == "full device" ? 1 : 0); // no temporary file left
}

QTEST_GUILESS_MAIN(TestSchemeExport)
#include "test_scheme_export.moc"
