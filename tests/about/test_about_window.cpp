#include "about/about_window.h"
#include "in_memory_registry.h"
#include "recorders.h"
#include "window_driver.h"

#include <QFrame>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTimer>

using namespace pigmora;
using namespace pigmora::test;

class TestAboutWindow : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { setUpOnce(); }
    void init();
    void cleanup() { delete about_; }

    void window();
    void controls_data();
    void controls();
    void fonts();
    void picture();
    void textsFromApplication_data();
    void textsFromApplication();
    void focusOrder();
    void closes_data();
    void closes();
    void sysInfoButton_data();
    void sysInfoButton();
    void modalWithMainWindowAsOwner();

private:
    QPointer<frmAbout> about_;
    std::shared_ptr<InMemoryRegistry> registry_;
    std::shared_ptr<RecordingLauncher> launcher_;
    MessageRecorder messages_;
};

void TestAboutWindow::init() {
    registry_ = std::make_shared<InMemoryRegistry>();
    launcher_ = std::make_shared<RecordingLauncher>();
    messages_.shown.clear();
    about_ = new frmAbout(nullptr, {registry_, launcher_, messages_.display()});
    QVERIFY(showActive(about_));
}

void TestAboutWindow::window() {
    QCOMPARE(about_->objectName(), "frmAbout");
    QCOMPARE(about_->windowTitle(), "Info zu Pigmora");
    QCOMPARE(about_->size(), QSize(382, 237));
    QCOMPARE(about_->minimumSize(), about_->maximumSize());
    const Qt::WindowFlags flags = about_->windowFlags();
    QCOMPARE(about_->windowType(), Qt::Dialog);
    QVERIFY(!(flags & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
    QVERIFY(flags & Qt::WindowCloseButtonHint);
}

void TestAboutWindow::controls_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("className");
    QTest::addColumn<QRect>("geometry"); // pixels at 96 dpi
    QTest::addColumn<QString>("text");
    QTest::addColumn<QColor>("colour"); // text colour, or a line's colour
    const QColor standard;              // not set by the window
    const auto row = [](const char* name, const char* cls, QRect r, const char* text, QColor c) {
        QTest::newRow(name) << name << cls << r << QString::fromUtf8(text) << c;
    };
    row("picIcon", "QLabel", {8, 8, 54, 54}, "", standard);
    row("lblTitle", "QLabel", {70, 16, 259, 32}, "Pigmora", Qt::black);
    row("lblVersion", "QLabel", {70, 52, 259, 15}, "Version 1.0.0", standard);
    row("lblDescription", "QLabel", {70, 75, 259, 78},
        "Programm zum Erstellen verschiedener Farbschemata für Homepages", Qt::black);
    row("Line1_1", "QFrame", {6, 163, 370, 1}, "", QColor(0x808080));
    row("Line1_0", "QFrame", {7, 164, 369, 2}, "", Qt::white);
    row("lblDisclaimer", "QLabel", {17, 175, 258, 15}, "© 2026 Das Pigmora-Team", Qt::black);
    row("Label1", "QLabel", {16, 200, 177, 25}, "www.pigmora.example.org", standard);
    row("cmdOK", "QPushButton", {283, 175, 84, 23}, "OK", standard);
    row("cmdSysInfo", "QPushButton", {284, 205, 83, 23}, "&Systeminfo...", standard);
}

void TestAboutWindow::controls() {
    QFETCH(QString, name);
    QFETCH(QColor, colour);
    auto* w = byName(about_, name);
    QTEST(QString::fromLatin1(w->metaObject()->className()), "className");
    QTEST(w->geometry(), "geometry");
    QCOMPARE(w->parentWidget(), about_.data());
    QVERIFY(w->isVisible());
    if (auto* label = qobject_cast<QLabel*>(w)) {
        QTEST(label->text(), "text");
        QCOMPARE(label->focusPolicy(), Qt::NoFocus);
        if (!label->text().isEmpty())
            QCOMPARE(label->textFormat(), Qt::PlainText); // the web address is no link
        if (colour.isValid())
            QCOMPARE(label->palette().color(QPalette::WindowText), colour);
    } else if (auto* button = qobject_cast<QPushButton*>(w)) {
        QTEST(button->text(), "text");
        QCOMPARE(button->isDefault(), name == "cmdOK");
    } else {
        QVERIFY(w->autoFillBackground());
        QCOMPARE(w->palette().color(QPalette::Window), colour);
    }
}

void TestAboutWindow::fonts() {
    const QFont title = byName(about_, "lblTitle")->font();
    const QStringList families{"MS Sans Serif", "Microsoft Sans Serif", "Liberation Sans"};
    QVERIFY2(families.contains(QFontInfo(title).family()), qPrintable(QFontInfo(title).family()));
    QCOMPARE(title.pointSizeF(), 9.75);
    QVERIFY(title.bold());
    for (const char* name : {"lblVersion", "lblDescription", "lblDisclaimer", "Label1"}) {
        auto* w = byName(about_, name);
        QCOMPARE(w->font(), QApplication::font(w));
    }
}

void TestAboutWindow::picture() {
    const QImage image(":/about/pigmora-50.bmp");
    QCOMPARE(image.size(), QSize(50, 50));
    QCOMPARE(image.format(), QImage::Format_Indexed8);
    QCOMPARE(image.colorCount(), 236);
    // Shown at the top left corner of its box.
    const QImage shown = byName(about_, "picIcon")->grab().toImage();
    QCOMPARE(shown.copy(0, 0, 50, 50).convertToFormat(QImage::Format_RGB32),
             image.convertToFormat(QImage::Format_RGB32));
}

void TestAboutWindow::textsFromApplication_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("version");
    QTest::addColumn<QString>("versionText");
    QTest::newRow("another name") << "Farbmischer"
                                  << "1.0.0"
                                  << "Version 1.0.0";
    QTest::newRow("two numbers") << "Pigmora"
                                 << "2.5"
                                 << "Version 2.5.0";
    QTest::newRow("four numbers") << "Pigmora"
                                  << "1.0.0.0"
                                  << "Version 1.0.0";
    QTest::newRow("leading zeros") << "Pigmora"
                                   << "3.04.007"
                                   << "Version 3.4.7";
    QTest::newRow("suffix") << "Pigmora"
                            << "1.2.3-beta"
                            << "Version 1.2.3";
}

void TestAboutWindow::textsFromApplication() {
    QFETCH(QString, name);
    QFETCH(QString, version);
    const QString oldName = QCoreApplication::applicationName();
    const QString oldVersion = QCoreApplication::applicationVersion();
    QCoreApplication::setApplicationName(name);
    QCoreApplication::setApplicationVersion(version);
    frmAbout about(nullptr, {registry_, launcher_, messages_.display()});
    QCoreApplication::setApplicationName(oldName);
    QCoreApplication::setApplicationVersion(oldVersion);
    QCOMPARE(about.windowTitle(), "Info zu " + name);
    QCOMPARE(text(&about, "lblTitle"), name);
    QTEST(text(&about, "lblVersion"), "versionText");
}

void TestAboutWindow::focusOrder() {
    QCOMPARE(QApplication::focusWidget(), byName(about_, "cmdOK"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), byName(about_, "cmdSysInfo"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), byName(about_, "cmdOK"));
}

void TestAboutWindow::closes_data() {
    QTest::addColumn<int>("key"); // 0: click "OK"; -1: the close button; -2: Enter, no focus
    QTest::addColumn<bool>("clicksOK");
    QTest::newRow("Enter") << int(Qt::Key_Return) << true;
    QTest::newRow("Enter, no button focused") << -2 << true;
    QTest::newRow("keypad Enter") << int(Qt::Key_Enter) << true;
    QTest::newRow("Esc") << int(Qt::Key_Escape) << true;
    QTest::newRow("click") << 0 << true;
    QTest::newRow("close button") << -1 << false;
}

void TestAboutWindow::closes() {
    QFETCH(int, key);
    QSignalSpy clicked(byName<QPushButton>(about_, "cmdOK"), &QPushButton::clicked);
    if (key > 0) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key(key));
    } else if (key == 0) {
        QTest::mouseClick(byName(about_, "cmdOK"), Qt::LeftButton);
    } else if (key == -1) {
        about_->close();
    } else { // "OK" is the default button, not only the focused one
        QApplication::focusWidget()->clearFocus();
        QTest::keyClick(about_, Qt::Key_Return);
    }
    QTRY_VERIFY(about_.isNull()); // destroyed, so the next opening loads it anew
    QTEST(clicked.size() == 1, "clicksOK");
    QVERIFY(messages_.shown.isEmpty());
    QVERIFY(launcher_->started.isEmpty());
}

void TestAboutWindow::sysInfoButton_data() {
    QTest::addColumn<QString>("how");
    QTest::addColumn<bool>("withPath");
    QTest::newRow("Alt+S") << "Alt+S" << false;
    QTest::newRow("click") << "click" << false;
    QTest::newRow("Enter on it") << "Enter" << false;
    QTest::newRow("Space on it") << "Space" << false;
    QTest::newRow("program found") << "Alt+S" << true;
}

// Each press runs the look-up again; the window stays open.
void TestAboutWindow::sysInfoButton() {
    QFETCH(QString, how);
    QFETCH(bool, withPath);
    if (withPath) {
        registry_->addKey("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO");
        registry_->setText("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO", "PATH", "C:\\msinfo.exe");
    }
    auto* button = byName<QPushButton>(about_, "cmdSysInfo");
    for (int i = 0; i < 2; ++i) {
        if (how == "Alt+S") {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_S, Qt::AltModifier);
        } else if (how == "click") {
            QTest::mouseClick(button, Qt::LeftButton);
        } else {
            button->setFocus();
            QTest::keyClick(button, how == "Enter" ? Qt::Key_Return : Qt::Key_Space);
        }
        // An access key clicks after the button's short press animation.
        QTRY_COMPARE(launcher_->started.size() + messages_.shown.size(), i + 1);
        QVERIFY(about_ && about_->isVisible());
    }
    QCOMPARE(launcher_->started.size(), withPath ? 2 : 0);
    QCOMPARE(messages_.shown.size(), withPath ? 0 : 2);
    for (const ShownMessage& m : messages_.shown) {
        QCOMPARE(m.owner, about_.data());
        QCOMPARE(m.title, "Pigmora");
    }
}

// As "&Info" will: modal, owned by the main window, with the real message box.
void TestAboutWindow::modalWithMainWindowAsOwner() {
    frmHauptprogramm main;
    QVERIFY(showActive(&main));
    QPointer<frmAbout> about = new frmAbout(&main, {.registry = registry_});
    QWidget* owner = nullptr;
    QString boxText, boxTitle;
    QMessageBox::Icon boxIcon = QMessageBox::Warning;
    qsizetype boxButtons = 0;
    bool openAfterBox = false;
    // The button answers its access key after a short press animation, so the message box
    // comes up a little later, in its own event loop.
    QTimer boxWatch;
    connect(&boxWatch, &QTimer::timeout, this, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            boxWatch.stop();
            boxText = box->text();
            boxTitle = box->windowTitle();
            boxIcon = box->icon();
            boxButtons = box->buttons().size();
            box->buttons().first()->click();
        }
    });
    QTimer::singleShot(0, this, [&] {
        auto* shown = qobject_cast<frmAbout*>(QApplication::activeModalWidget());
        if (!shown) {
            if (about)
                about->close();
            return;
        }
        owner = shown->parentWidget();
        if (!showActive(shown)) { // the offscreen platform activates no window by itself
            shown->close();
            return;
        }
        boxWatch.start(10);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_S, Qt::AltModifier);
        (void)QTest::qWaitFor([&] { return !boxWatch.isActive(); });
        openAfterBox = shown->isVisible();
        QTest::keyClick(shown, Qt::Key_Escape);
    });
    about->exec();
    QVERIFY(about.isNull());
    QCOMPARE(owner, &main);
    QCOMPARE(boxText, "Systeminformationen sind momentan nicht verfügbar");
    QCOMPARE(boxTitle, "Pigmora");
    QCOMPARE(boxIcon, QMessageBox::NoIcon);
    QCOMPARE(boxButtons, 1);
    QVERIFY(openAfterBox);
}

QTEST_MAIN(TestAboutWindow)
#include "test_about_window.moc"
