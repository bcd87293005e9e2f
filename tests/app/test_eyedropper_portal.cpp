#include "window_driver.h"

#include "eyedropper/colour_portal.h"

#include <QAction>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDir>
#include <QGuiApplication>
#include <QProcess>
#include <QPushButton>
#include <QSignalSpy>

using namespace pigmora;
using test::byName;

namespace {

// The stand-in portal (portal_stand_in.py) on the test's session bus, answering as `mode` says.
class StandIn {
public:
    // With `backend`, it serves the backend's interface behind the real frontend.
    explicit StandIn(const QStringList& mode, bool backend = false) {
        process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process_.start(QStringLiteral(SYSTEM_PYTHON),
                       QStringList{QStringLiteral(STAND_IN)} + mode +
                           (backend ? QStringList{"--backend"} : QStringList{}));
    }
    ~StandIn() { stop(); }
    // How many lines it printed so far that start with `start`, waiting up to 10 s for one.
    int lines(const char* start) {
        QDeadlineTimer deadline(10000);
        do {
            while (process_.canReadLine())
                lines_ << QString::fromUtf8(process_.readLine());
            const auto n = std::count_if(lines_.begin(), lines_.end(),
                                         [start](const QString& l) { return l.startsWith(start); });
            if (n > 0 || deadline.hasExpired() || process_.state() == QProcess::NotRunning)
                return int(n);
            QTest::qWait(5);
        } while (true);
    }
    void stop() {
        process_.kill();
        process_.waitForFinished();
    }

private:
    QProcess process_;
    QStringList lines_;
};

// The real frontend, xdg-desktop-portal, on the test's session bus. It finds portal backends in
// the folder XDG_DESKTOP_PORTAL_DIR names (here a private one: the stand-in's .portal file, or
// nothing) and chooses among them by XDG_CURRENT_DESKTOP against the files' UseIn (newer
// versions by portals.conf, which is written too). Its Screenshot portal needs an Access backend
// beside the Screenshot one.
class Frontend {
public:
    explicit Frontend(bool withBackend) {
        QDir dir(folder_.path());
        dir.mkpath("portals");
        dir.mkpath("config/xdg-desktop-portal");
        if (withBackend) {
            write(dir.filePath("portals/pigmora.portal"),
                  "[portal]\nDBusName=org.freedesktop.impl.portal.desktop.pigmora\n"
                  "Interfaces=org.freedesktop.impl.portal.Screenshot;"
                  "org.freedesktop.impl.portal.Access;\nUseIn=pigmora\n");
            write(dir.filePath("config/xdg-desktop-portal/portals.conf"),
                  "[preferred]\ndefault=pigmora\n");
        }
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_DESKTOP_PORTAL_DIR", dir.filePath("portals"));
        env.insert("XDG_CURRENT_DESKTOP", "pigmora");
        env.insert("XDG_CONFIG_HOME", dir.filePath("config"));
        process_.setProcessEnvironment(env);
        process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process_.setStandardOutputFile(QProcess::nullDevice());
        process_.start(QStringLiteral(XDG_DESKTOP_PORTAL), QStringList{});
    }
    ~Frontend() {
        process_.kill();
        process_.waitForFinished();
    }
    // Whether it came up and took its name on the bus.
    bool ready() {
        QDBusConnectionInterface* bus = QDBusConnection::sessionBus().interface();
        return QTest::qWaitFor(
            [&] {
                return process_.state() == QProcess::Running &&
                       bus->isServiceRegistered("org.freedesktop.portal.Desktop");
            },
            10000);
    }

private:
    static void write(const QString& path, const char* text) {
        QFile f(path);
        if (f.open(QIODevice::WriteOnly))
            f.write(text);
    }
    QTemporaryDir folder_;
    QProcess process_;
};

} // namespace

// "Farbe vom Bildschirm" on Wayland (a headless Weston, started with a private session bus by
// with_wayland.sh): the program asks the desktop portal on the session bus, here a stand-in
// with the real interface, and takes its answer or tells why not.
class TestEyedropperPortal : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup() { window_.window.reset(); }

    void answers_data();
    void answers();
    void pendingPickBlocksNothing();
    void silentPickIsClosedAndBegunAnew_data();
    void silentPickIsClosedAndBegunAnew();

private:
    void pick() { window_->menus().mnuBildschirm->trigger(); }

    test::WindowUnderTest window_;
};

void TestEyedropperPortal::initTestCase() {
    test::setUpOnce();
    QVERIFY2(QGuiApplication::platformName().startsWith("wayland"),
             qPrintable(QGuiApplication::platformName()));
}

void TestEyedropperPortal::init() {
    window_.fresh();
    window_.window = std::make_unique<frmHauptprogramm>(window_.dir->path(), &window_.dialogs);
    QVERIFY(window_->loaded());
    window_->show();
    QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
    // The headless compositor has no seat, so no window becomes active and no shortcut
    // reaches one: the menu items are triggered directly (Ctrl+B is tested offscreen). Qt's
    // Wayland input code must not be made to believe otherwise: without a seat it crashes.
    // Not typed: Qt's Wayland text input has no seat to go to here.
    window_->channels().setColour({1, 2, 3});
}

void TestEyedropperPortal::answers_data() {
    QTest::addColumn<QStringList>("mode"); // empty: no portal at all
    QTest::addColumn<QString>("via");      // the menu item or a contrast window button
    QTest::addColumn<int>("colour");       // the colour taken, or -1: unchanged
    QTest::addColumn<QString>("says");     // part of the message, or empty: none
    QTest::addColumn<bool>("frontend");    // the real frontend, the stand-in as its backend
    const auto row = [](const char* name, QStringList mode, const char* via, int colour,
                        const char* says, bool frontend = false) {
        QTest::newRow(name) << mode << QString(via) << colour << QString::fromUtf8(says)
                            << frontend;
    };
    // 0.2 * 255 = 51, 0.5 * 255 = 127.5 rounds to 128.
    row("colour", {"colour", "0.2", "0.5", "1"}, "menu", 0xFF8033, "");
    row("colour, a hair above 1", {"colour", "1.0000000000000002", "0", "0"}, "menu", 0xFF, "");
    row("colour for the text", {"colour", "0", "0", "1"}, "cmdTextVomBildschirm", 0xFF0000, "");
    row("colour for the background", {"colour", "1", "0", "0"}, "cmdHintergrundVomBildschirm", 0xFF,
        "");
    row("cancelled", {"cancel"}, "menu", -1, "");
    row("failed or cancelled (code 2)", {"fail"}, "menu", -1, "abgebrochen oder fehlgeschlagen");
    row("NaN", {"colour", "nan", "0", "0"}, "menu", -1, "Rot keine Zahl");
    row("1.7", {"colour", "0", "1.7", "0"}, "menu", -1, "Grün 1,7");
    row("-0.3", {"colour", "0", "0", "-0.3"}, "menu", -1, "Blau -0,3");
    row("no colour", {"missing"}, "menu", -1, "keine geliefert");
    row("colour as text", {"text"}, "menu", -1, "unbekannten Form");
    row("colour as integers", {"ints"}, "menu", -1, "(iii)");
    row("version 1", {"version1"}, "menu", -1, "Version 1");
    row("not allowed", {"refuse", "org.freedesktop.portal.Error.NotAllowed"}, "menu", -1,
        "erlaubt es Pigmora nicht");
    const QString odd = "org.example." + QString(200, 'x');
    row("an error of no known name", {"refuse", odd.toLatin1().constData()}, "menu", -1,
        "Fehler „org.example.xxx");
    row("no portal", {}, "menu", -1, "kein Desktop-Portal");
    // Through the real frontend: its version, its Request objects, its errors.
    row("frontend: colour", {"colour", "0.2", "0.5", "1"}, "menu", 0xFF8033, "", true);
    row("frontend: cancelled", {"cancel"}, "menu", -1, "", true);
    row("frontend: code 2", {"fail"}, "menu", -1, "abgebrochen oder fehlgeschlagen", true);
    // Without a screenshot backend it has no such interface (InvalidArgs, "No such interface").
    row("frontend without a screenshot backend", {}, "menu", -1, "keine Farbwahl an", true);
}

void TestEyedropperPortal::answers() {
    QFETCH(QStringList, mode);
    QFETCH(QString, via);
    QFETCH(int, colour);
    QFETCH(QString, says);
    QFETCH(bool, frontend);
    std::unique_ptr<StandIn> portal;
    if (!mode.isEmpty()) {
        portal = std::make_unique<StandIn>(mode, frontend);
        QVERIFY(portal->lines("ready"));
    }
    std::unique_ptr<Frontend> real;
    if (frontend) {
        real = std::make_unique<Frontend>(portal != nullptr);
        QVERIFY2(real->ready(),
                 "xdg-desktop-portal did not start (Debian-Paket xdg-desktop-portal)");
    }
    const ColourValue before = test::sliderColour(window_.get());
    if (via == "menu") {
        pick();
    } else {
        window_->menus().mnuKontrast->trigger();
        QTest::mouseClick(byName<QPushButton>(byName(window_.get(), "frmKontrast"), via),
                          Qt::LeftButton);
        QCOMPARE(window_->state().bytziel, via == "cmdTextVomBildschirm" ? 1 : 2);
    }
    if (colour >= 0) {
        QTRY_COMPARE(test::sliderColour(window_.get()), ColourValue(colour));
        QVERIFY(window_.dialogs.messages.isEmpty());
        const QWidget* sample = byName(window_.get(), "lblTest");
        QCOMPARE(window_->state().bytziel == 1 ? foreColour(sample) : backColour(sample),
                 ColourValue(colour));
    } else if (says.isEmpty()) {
        QVERIFY(portal->lines("PickColor"));
        QTest::qWait(100); // the answer comes 20 ms after the call
        QVERIFY(window_.dialogs.messages.isEmpty());
    } else {
        QTRY_COMPARE(window_.dialogs.messages.size(), 1);
        const QString text = window_.dialogs.messages[0].text;
        QVERIFY2(text.contains(says), qPrintable(text));
        QVERIFY(text.contains("Farbe aus Bild..."));
        QVERIFY2(!text.contains("English") && text.size() < 400, qPrintable(text));
    }
    if (colour < 0)
        QCOMPARE(test::sliderColour(window_.get()), before);
    if (portal && mode[0] != "version1") // the parent and the handle token the portal got
        QCOMPARE(portal->lines("PickColor [] pigmora"), 1);
}

void TestEyedropperPortal::pendingPickBlocksNothing() {
    auto portal = std::make_unique<StandIn>(QStringList{"never"});
    QVERIFY(portal->lines("ready"));
    pick();
    QVERIFY(portal->lines("PickColor"));
    // The portal holds the call; the window goes on working meanwhile.
    QTest::keyClick(byName(window_.get(), "sldRot"), Qt::Key_Right);
    QCOMPARE(test::sliderColour(window_.get()), packColour({2, 2, 3}));
    // A second pick while the first is pending starts nothing and says why.
    pick();
    QTest::qWait(200);
    QCOMPARE(portal->lines("PickColor"), 1);
    QCOMPARE(window_.dialogs.messages.size(), 1);
    QVERIFY(window_.dialogs.messages[0].text.contains("noch eine Farbwahl offen"));
    QCOMPARE(test::sliderColour(window_.get()), packColour({2, 2, 3}));
    // A portal that goes away leaves the pick; the next one starts afresh.
    portal->stop();
    QTRY_COMPARE(window_.dialogs.messages.size(), 2);
    QVERIFY(window_.dialogs.messages[1].text.contains("beendet"));
    portal = std::make_unique<StandIn>(QStringList{"colour", "0", "0", "0"});
    QVERIFY(portal->lines("ready"));
    pick();
    QTRY_COMPARE(test::sliderColour(window_.get()), 0u);
    QCOMPARE(test::sliderColour(window_.get()), packColour({0, 0, 0}));
}

// A pick the desktop shows nothing of: a second one at once says it is pending; after the wait
// the pending request is closed (the backend behind the real frontend is told too) and a new
// one begins.
void TestEyedropperPortal::silentPickIsClosedAndBegunAnew_data() {
    QTest::addColumn<bool>("realFrontend");
    QTest::newRow("stand-in portal") << false;
    QTest::newRow("real frontend") << true;
}

void TestEyedropperPortal::silentPickIsClosedAndBegunAnew() {
    QFETCH(bool, realFrontend);
    StandIn portal(QStringList{"never"}, realFrontend);
    QVERIFY(portal.lines("ready"));
    std::unique_ptr<Frontend> frontend;
    if (realFrontend) {
        frontend = std::make_unique<Frontend>(true);
        QVERIFY(frontend->ready());
    }
    ColourPortal picker;
    picker.setRestartAfter(std::chrono::milliseconds(300));
    QSignalSpy finished(&picker, &ColourPortal::finished);
    QVERIFY(picker.pick());
    QVERIFY(portal.lines("PickColor"));
    QVERIFY(!picker.pick()); // at once: still pending
    QTest::qWait(400);
    QVERIFY(picker.pick());
    QVERIFY(portal.lines("Close"));
    QTRY_COMPARE(portal.lines("PickColor"), 2);
    QVERIFY(picker.pending());
    QCOMPARE(finished.count(), 0);
}

QTEST_MAIN(TestEyedropperPortal)
#include "test_eyedropper_portal.moc"
