// pigmora-schemes audit against the real Chromium, on pages made for the tests: known outcomes
// for plain pairs, gradients, an image, opacity, shadow DOM, a dark theme by media query and
// skipped texts; the SARIF read back by a JSON Schema validator; a page whose script never ends;
// SIGTERM; no browser at all. Every run gets a TMPDIR of its own, so the browser's profile and
// processes are found by it.

#include "page_audit/pixel_image.h"
#include "tool_process.h"

#include <QDirIterator>
#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>
#include <csignal>

using namespace pigmora;
using namespace pigmora::test;

namespace {

const QString pages = QStringLiteral(PAGES_DIR);

struct Run : ToolRun {
    qint64 ms = 0;
    int signal = 0;
};

class TestAuditCommand : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void outcomes_data();
    void outcomes();
    void skippedAndRefused();
    void sarifValidates();
    void reportAndPicture();
    void wrongCalls_data();
    void wrongCalls();
    void neverEndingScript();
    void terminated();
    void noBrowser();
    void urlAndItsOrigin();
    void browserDies_data();
    void browserDies();

private:
    // Runs the command with this TMPDIR (and PATH, where given).
    QProcess* start(const QStringList& args, const QString& tmp, const QString& path = {});
    Run finish(QProcess* process, int timeoutMs = 60000);
    Run run(const QStringList& args, const QString& path = {});
    // What of the browser is left: live processes naming `tmp`, and entries in it.
    static QStringList leftOver(const QString& tmp);

    QTemporaryDir home_;
    QTemporaryDir tmp_;
    const QJsonArray& audited();
    QJsonArray audited_; // the pages folder, both schemes
    int auditedExit_ = -1;
};

QProcess* TestAuditCommand::start(const QStringList& args, const QString& tmp,
                                  const QString& path) {
    auto* process = new QProcess(this);
    prepareTool(*process, home_.path());
    QProcessEnvironment env = process->processEnvironment();
    env.insert(QStringLiteral("TMPDIR"), tmp);
    if (!path.isNull())
        env.insert(QStringLiteral("PATH"), path);
    process->setProcessEnvironment(env);
    process->setArguments(QStringList{QStringLiteral("audit")} + args);
    process->start();
    return process;
}

Run TestAuditCommand::finish(QProcess* process, int timeoutMs) {
    QElapsedTimer timer;
    timer.start();
    Run r;
    static_cast<ToolRun&>(r) = finishTool(*process, timeoutMs);
    r.ms = timer.elapsed();
    if (process->exitStatus() == QProcess::CrashExit)
        r.signal = process->exitCode();
    process->deleteLater();
    return r;
}

Run TestAuditCommand::run(const QStringList& args, const QString& path) {
    QTemporaryDir tmp;
    Run r = finish(start(args, tmp.path(), path));
    const QStringList left = leftOver(tmp.path());
    if (!left.isEmpty())
        qWarning() << "left behind:" << left;
    return r;
}

QStringList TestAuditCommand::leftOver(const QString& tmp) {
    QStringList left = QDir(tmp).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    QDirIterator it(QStringLiteral("/proc"), QDir::Dirs | QDir::NoDotAndDotDot);
    while (it.hasNext()) {
        it.next();
        QFile stat(it.filePath() + QStringLiteral("/stat")),
            cmdline(it.filePath() + QStringLiteral("/cmdline"));
        if (!stat.open(QIODevice::ReadOnly) || !cmdline.open(QIODevice::ReadOnly))
            continue;
        const QByteArray s = stat.readAll();
        const bool zombie = s.mid(s.lastIndexOf(')') + 2, 1) == "Z";
        if (!zombie && cmdline.readAll().contains(tmp.toLocal8Bit()))
            left << QStringLiteral("Prozess ") + it.fileName();
    }
    return left;
}

void TestAuditCommand::initTestCase() {
    QVERIFY2(!QStandardPaths::findExecutable(QStringLiteral("chromium")).isEmpty(),
             "Debian's chromium is needed (scripts/test.sh installs it)");
    QVERIFY(home_.isValid() && tmp_.isValid());
}

// The pages folder in both schemes, audited once for all the tests that read it.
const QJsonArray& TestAuditCommand::audited() {
    if (auditedExit_ < 0) {
        const Run r = run({pages, QStringLiteral("--format"), QStringLiteral("json"),
                           QStringLiteral("--scheme"), QStringLiteral("both")});
        auditedExit_ = r.exitCode;
        audited_ = QJsonDocument::fromJson(r.out.toUtf8())
                       .object()
                       .value(QStringLiteral("pages"))
                       .toArray();
        if (audited_.size() != 8)
            qWarning("%s", qPrintable(r.err));
    }
    return audited_;
}

void TestAuditCommand::outcomes_data() {
    QTest::addColumn<QString>("page");
    QTest::addColumn<QString>("scheme");
    QTest::addColumn<QString>("selector");
    QTest::addColumn<QString>("verdict");
    QTest::addColumn<int>("lowest"); // hundredths
    QTest::addColumn<int>("highest");
    const auto row = [](const char* page, const char* scheme, const char* selector,
                        const char* verdict, int lowest, int highest) {
        QTest::addRow("%s %s %s", page, scheme, selector)
            << QString::fromUtf8(page) << QString::fromUtf8(scheme) << QString::fromUtf8(selector)
            << QString::fromUtf8(verdict) << lowest << highest;
    };
    row("pairs.html", "light", "#schwarz", "bestanden", 2100, 2100);
    row("pairs.html", "light", "#grau", "nicht bestanden", 447, 447);
    row("pairs.html", "light", "#gross", "bestanden", 303, 303);
    row("pairs.html", "light", "#fett", "bestanden", 303, 303);
    row("pairs.html", "light", "#klein-fett", "nicht bestanden", 303, 303);
    row("pairs.html", "light", "#verlauf-teils", "bestanden", -1, 2100);
    row("pairs.html", "light", "#verlauf-ganz", "nicht bestanden", -1, -1);
    row("pairs.html", "light", "#bild", "prüfen", 107, 2100); // white on yellow and black stripes
    row("pairs.html", "light", "#blass", "nicht bestanden", 394, 394); // opacity 0.5: #808080
    row("pairs.html", "light", "#halb", "bestanden", 1036, 1036);      // alpha 0.75: #404040
    row("pairs.html", "light", "#schatten", "prüfen", 100, -1);        // the shadow is behind
    row("shadow.html", "light", "#karte >>> p", "nicht bestanden", 447, 447);
    row("dark.html", "light", "#text", "bestanden", 2100, 2100);
    row("dark.html", "dark", "#text", "nicht bestanden", -1, -1);
}

void TestAuditCommand::outcomes() {
    QFETCH(QString, page);
    QFETCH(QString, scheme);
    QFETCH(QString, selector);
    QFETCH(QString, verdict);
    QFETCH(int, lowest);
    QFETCH(int, highest);
    QCOMPARE(audited().size(), 8);
    QCOMPARE(auditedExit_, 1);
    for (const QJsonValue& p : audited_) {
        const QJsonObject o = p.toObject();
        if (!o.value(QStringLiteral("page")).toString().endsWith(page) ||
            o.value(QStringLiteral("scheme")).toString() != scheme)
            continue;
        for (const QJsonValue& f : o.value(QStringLiteral("findings")).toArray()) {
            const QJsonObject finding = f.toObject();
            if (finding.value(QStringLiteral("selector")).toString() != selector)
                continue;
            QCOMPARE(finding.value(QStringLiteral("verdict")).toString(), verdict);
            const auto hundredths = [&](const char* key) {
                return int(finding.value(QString::fromLatin1(key)).toDouble() * 100 + 1e-7);
            };
            if (lowest >= 0)
                QCOMPARE(hundredths("lowest"), lowest);
            if (highest >= 0)
                QCOMPARE(hundredths("highest"), highest);
            return;
        }
    }
    QFAIL("no such finding");
}

void TestAuditCommand::skippedAndRefused() {
    for (const QJsonValue& p : audited()) {
        const QJsonObject o = p.toObject();
        if (!o.value(QStringLiteral("page")).toString().endsWith(QStringLiteral("skipped.html")))
            continue;
        const QJsonObject skipped = o.value(QStringLiteral("skipped")).toObject();
        const QJsonObject expected{{"hidden", 2},      {"offScreen", 1},  {"clipped", 2},
                                   {"transparent", 1}, {"ariaHidden", 1}, {"disabled", 2},
                                   {"invisible", 1},   {"decorative", 1}};
        QCOMPARE(skipped, expected);
        const QJsonArray findings = o.value(QStringLiteral("findings")).toArray();
        QCOMPARE(findings.size(), 1);
        QCOMPARE(findings.at(0).toObject().value(QStringLiteral("selector")).toString(),
                 QStringLiteral("#sichtbar"));
        // The image of another host is refused; the one beside the page loads.
        QCOMPARE(o.value(QStringLiteral("refusedRequests")).toInt(), 1);
        return;
    }
    QFAIL("skipped.html not audited");
}

void TestAuditCommand::sarifValidates() {
    const Run r = run({pages + QStringLiteral("/pairs.html"), QStringLiteral("--format"),
                       QStringLiteral("sarif")});
    QCOMPARE(r.exitCode, 1);
    QProcess check;
    check.start(QStringLiteral(SYSTEM_PYTHON),
                {QStringLiteral(CHECK_SARIF), QStringLiteral(SARIF_SCHEMA)});
    check.write(r.out.toUtf8());
    check.closeWriteChannel();
    QVERIFY(check.waitForFinished(30000));
    const QString said = QString::fromUtf8(check.readAll()).trimmed();
    QVERIFY2(check.exitCode() == 0, qPrintable(said));
    // Four failing (errors) and two to look at (warnings), each with the line of its text.
    QCOMPARE(said, QStringLiteral("error=4 warning=2"));
}

void TestAuditCommand::reportAndPicture() {
    const QString picture = tmp_.filePath(QStringLiteral("bericht.png"));
    const Run r = run({pages + QStringLiteral("/dark.html"), QStringLiteral("--format"),
                       QStringLiteral("html"), QStringLiteral("--scheme"), QStringLiteral("dark"),
                       QStringLiteral("--image"), picture, QStringLiteral("--vision"),
                       QStringLiteral("achroma")});
    QCOMPARE(r.exitCode, 1);
    QVERIFY(r.out.startsWith(QStringLiteral("<!doctype html>")));
    QVERIFY(r.out.contains(QStringLiteral("<img alt=\"Ausschnitt\" src=\"data:image/png;base64,")));
    QVERIFY(r.out.contains(QStringLiteral("dark.html (dunkel, Achromatopsie)")));
    QFile file(picture);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const std::optional<PixelImage> image = decodePng(file.readAll());
    QVERIFY(image);
    QCOMPARE(image->width, 1280);
    // The failing text is framed red; elsewhere the dark background.
    bool framed = false;
    for (int x = 0; x < image->width && !framed; ++x)
        for (int y = 0; y < image->height && !framed; ++y)
            framed = image->pageAt(x, y) == Rgb{220, 0, 0};
    QVERIFY(framed);
    QCOMPARE(image->pageAt(1000, 5), (Rgb{0x22, 0x22, 0x22}));
}

void TestAuditCommand::wrongCalls_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("message");
    const QString page = pages + QStringLiteral("/pairs.html");
    QTest::newRow("ohne quelle") << QStringList{} << QStringLiteral("Es fehlt die Quelle");
    QTest::newRow("keine solche datei") << QStringList{QStringLiteral("/nicht/da.html")}
                                        << QStringLiteral("„/nicht/da.html“ gibt es nicht");
    QTest::newRow("ordner ohne html")
        << QStringList{home_.path()} << QStringLiteral("keine lesbare HTML-Datei");
    QTest::newRow("format") << QStringList{page, QStringLiteral("--format"), QStringLiteral("pdf")}
                            << QStringLiteral("Das Format „pdf“ gibt es nicht");
    QTest::newRow("schema") << QStringList{page, QStringLiteral("--scheme"), QStringLiteral("grau")}
                            << QStringLiteral("Das Farbschema „grau“ gibt es nicht");
    QTest::newRow("sehschwäche") << QStringList{page, QStringLiteral("--vision"),
                                                QStringLiteral("blau")}
                                 << QStringLiteral("Die Farbsehschwäche „blau“ gibt es nicht");
    QTest::newRow("breite") << QStringList{page, QStringLiteral("--width"), QStringLiteral("12x")}
                            << QStringLiteral(
                                   "Die Breite „12x“ ist keine ganze Zahl von 200 bis 7.680.");
    QTest::newRow("zeit null") << QStringList{page, QStringLiteral("--timeout"),
                                              QStringLiteral("0")}
                               << QStringLiteral("Die Zeit „0“ ist keine ganze Zahl");
    QTest::newRow("stufe") << QStringList{page, QStringLiteral("--min"), QStringLiteral("a")}
                           << QStringLiteral("Die Stufe „a“ gibt es nicht");
    QTest::newRow("adresse ohne host")
        << QStringList{QStringLiteral("http://")} << QStringLiteral("keine gültige Adresse");
    QTest::newRow("bild in fehlendem ordner")
        << QStringList{page, QStringLiteral("--image"), QStringLiteral("/nicht/da/bild.png")}
        << QStringLiteral("Das Bild „/nicht/da/bild.png“ kann nicht geschrieben werden");
    QTest::newRow("browser fehlt")
        << QStringList{page, QStringLiteral("--browser"), QStringLiteral("/nicht/da/chromium")}
        << QStringLiteral("Den Browser „/nicht/da/chromium“ gibt es nicht");
}

void TestAuditCommand::wrongCalls() {
    QFETCH(QStringList, args);
    QFETCH(QString, message);
    const Run r = run(args);
    QCOMPARE(r.exitCode, 2);
    QVERIFY2(r.err.contains(message), qPrintable(r.err));
    QVERIFY(r.out.isEmpty());
}

void TestAuditCommand::neverEndingScript() {
    QTemporaryDir tmp;
    const Run r = finish(
        start({QStringLiteral(NEVER_ENDING), QStringLiteral("--timeout"), QStringLiteral("2")},
              tmp.path()));
    QCOMPARE(r.exitCode, 2);
    QVERIFY2(
        r.err.contains(QStringLiteral("„" NEVER_ENDING "“ ist nach 2 s nicht fertig geworden")),
        qPrintable(r.err));
    QVERIFY2(r.ms < 8000, qPrintable(QString::number(r.ms)));
    QCOMPARE(leftOver(tmp.path()), QStringList());
}

void TestAuditCommand::terminated() {
    QTemporaryDir tmp;
    QProcess* process =
        start({QStringLiteral(NEVER_ENDING), QStringLiteral("--timeout"), QStringLiteral("60")},
              tmp.path());
    // Once the browser has its profile, the command is told to end.
    QTRY_VERIFY_WITH_TIMEOUT(
        !QDir(tmp.path()).entryList({QStringLiteral("pigmora-browser-*")}, QDir::Dirs).isEmpty(),
        20000);
    QTest::qWait(500);
    ::kill(pid_t(process->processId()), SIGTERM);
    const Run r = finish(process, 10000);
    QVERIFY(r.ms < 5000);
    QCOMPARE(process->exitStatus(), QProcess::CrashExit); // ended by SIGTERM, raised again
    QCOMPARE(leftOver(tmp.path()), QStringList());
}

void TestAuditCommand::noBrowser() {
    QTemporaryDir empty;
    const Run r = run({pages + QStringLiteral("/pairs.html")}, empty.path());
    QCOMPARE(r.exitCode, 2);
    QVERIFY2(r.err.contains(QStringLiteral("Kein Browser gefunden")), qPrintable(r.err));
    QVERIFY(r.err.contains(QStringLiteral("apt install chromium")));
}

// A URL's page and its own origin load (a server on the loopback, started here); another host
// is refused and counted, unless --allow-network.
void TestAuditCommand::urlAndItsOrigin() {
    QProcess server;
    server.setWorkingDirectory(pages);
    server.setProcessChannelMode(QProcess::MergedChannels);
    server.start(QStringLiteral(SYSTEM_PYTHON),
                 {QStringLiteral("-u"), QStringLiteral("-m"), QStringLiteral("http.server"),
                  QStringLiteral("--bind"), QStringLiteral("127.0.0.1"), QStringLiteral("0")});
    QString said;
    QTRY_VERIFY_WITH_TIMEOUT(
        (said += QString::fromUtf8(server.readAll())).contains(QStringLiteral(" port ")), 10000);
    const QString port = said.section(QStringLiteral(" port "), 1).section(QLatin1Char(' '), 0, 0);
    const QString url = QStringLiteral("http://127.0.0.1:%1/skipped.html").arg(port);
    const auto refused = [&](const QStringList& more) {
        const Run r =
            run(QStringList{url, QStringLiteral("--format"), QStringLiteral("json")} + more);
        return QJsonDocument::fromJson(
                   r.out.toUtf8())[QStringLiteral("pages")][0][QStringLiteral("refusedRequests")]
            .toInt(-1);
    };
    QCOMPARE(refused({}), 1);
    QCOMPARE(refused({QStringLiteral("--allow-network")}), 0);
    server.kill();
    server.waitForFinished();
    // Both runs fetched the page and the picture beside it from the server.
    said += QString::fromUtf8(server.readAll());
    QCOMPARE(said.count(QStringLiteral("GET /streifen.svg")), 2);
}

// A browser that ends at once, and one that is killed while a page is loading: exit 2 and the
// message, nothing left behind.
void TestAuditCommand::browserDies_data() {
    QTest::addColumn<QString>("script");
    QTest::addColumn<QString>("message");
    QTest::newRow("endet sofort") << QStringLiteral("exit 0")
                                  << QStringLiteral(
                                         "Der Browser hat sich gleich nach dem Start beendet.");
    QTest::newRow("stirbt beim laden")
        << QStringLiteral("chromium \"$@\" & sleep 3; kill -KILL $!; wait")
        << QStringLiteral("Der Browser ist bei der Seite „" NEVER_ENDING "“ abgestürzt.");
}

void TestAuditCommand::browserDies() {
    QFETCH(QString, script);
    QFETCH(QString, message);
    QTemporaryDir tmp;
    const QString browser = home_.filePath(QStringLiteral("browser.sh"));
    QFile file(browser);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write("#!/bin/sh\n" + script.toUtf8() + "\n");
    file.close();
    file.setPermissions(file.permissions() | QFileDevice::ExeOwner);
    const Run r = finish(
        start({QStringLiteral(NEVER_ENDING), QStringLiteral("--browser"), browser}, tmp.path()));
    QCOMPARE(r.exitCode, 2);
    QVERIFY2(r.err.contains(message), qPrintable(r.err));
    QCOMPARE(leftOver(tmp.path()), QStringList());
}

} // namespace

QTEST_GUILESS_MAIN(TestAuditCommand)
#include "test_audit_command.moc"
