#include "window_driver.h"

#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QColorDialog>
#include <QFontDialog>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTimer>

using namespace pigmora;
using test::byName;

namespace {

// A clipboard that refuses every text.
class BrokenClipboard : public Clipboard {
public:
    bool setText(const QString&) override { return false; }
    QString text() const override { return QStringLiteral("alt"); }
};

} // namespace

class TestMenuCommands : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { test::setUpOnce(); }
    void init();
    void cleanup() { window_.window.reset(); }

    void copy_data();
    void copy();
    void copyTakesTheEditedColour();
    void copyInABoxCopiesTheColour();
    void copyFailureIsReported();
    void colourDialog();
    void colourDialogCancelChangesNothing();
    void choosingTheSameColourStillSetsTheChannels();
    void font_data();
    void font();
    void fontCancelChangesNothing();
    void help();
    void realColourDialog();
    void realFontDialog();
    void realMessageBox();
    void infoShowsTheAboutWindowModally();

private:
    void trigger(const char* action) { byName<QAction>(window_.get(), action)->trigger(); }
    QWidget* sample() { return byName(window_.get(), "lblTest"); }
    test::ScriptedDialogs& dialogs() { return window_.dialogs; }

    test::WindowUnderTest window_;
};

void TestMenuCommands::init() {
    window_.fresh();
    QVERIFY(window_.open());
}

void TestMenuCommands::copy_data() {
    QTest::addColumn<bool>("hexMode");
    QTest::addColumn<QList<int>>("channels");
    QTest::addColumn<QString>("copied");
    const QList<QList<int>> colours{{0, 0, 0}, {255, 255, 255}, {5, 128, 255}, {255, 128, 5}};
    const QStringList decimal{"000000000", "255255255", "005128255", "255128005"};
    const QStringList hex{"000000", "FFFFFF", "0580FF", "FF8005"};
    for (int i = 0; i < colours.size(); ++i) {
        QTest::addRow("decimal %s", qPrintable(decimal[i])) << false << colours[i] << decimal[i];
        QTest::addRow("hexadecimal %s", qPrintable(hex[i])) << true << colours[i] << hex[i];
    }
}

void TestMenuCommands::copy() {
    QFETCH(bool, hexMode);
    QFETCH(QList<int>, channels);
    QFETCH(QString, copied);
    test::typeColour(window_.get(), channels[0], channels[1], channels[2]);
    trigger(hexMode ? "mnuHex" : "mnuDez");
    const ColourValue back = backColour(sample());
    QTest::keyClick(window_.get(), Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QGuiApplication::clipboard()->text(), copied);
    QCOMPARE(dialogs().messages.size(), 1);
    QCOMPARE(dialogs().messages[0].text, copied);
    QCOMPARE(dialogs().messages[0].title, "Zwischenablage");
    QCOMPARE(dialogs().messages[0].style, Dialogs::MessageStyle::OkOnly);
    QCOMPARE(backColour(sample()), back); // the mode changes only the form of the copy
}

void TestMenuCommands::copyTakesTheEditedColour() {
    test::typeColour(window_.get(), 1, 2, 3); // background
    trigger("mnuVorder");
    test::typeColour(window_.get(), 10, 20, 30);
    trigger("mnuKopieren");
    QCOMPARE(QGuiApplication::clipboard()->text(), "010020030");
    trigger("mnuHinter");
    trigger("mnuKopieren");
    QCOMPARE(QGuiApplication::clipboard()->text(), "001002003");
}

void TestMenuCommands::copyInABoxCopiesTheColour() {
    test::typeColour(window_.get(), 200, 100, 50);
    auto* box = byName<QLineEdit>(window_.get(), "txtGrün");
    box->setFocus();
    box->selectAll();
    QTest::keyClick(box, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QGuiApplication::clipboard()->text(), "200100050");
    QCOMPARE(box->text(), "100");
}

void TestMenuCommands::copyFailureIsReported() {
    BrokenClipboard broken;
    window_->setClipboard(&broken);
    trigger("mnuKopieren");
    QCOMPARE(dialogs().messages.size(), 1);
    QCOMPARE(dialogs().messages[0].text,
             "Die Farbe konnte nicht in die Zwischenablage kopiert werden.");
    QCOMPARE(dialogs().messages[0].title, "Zwischenablage");
    // The program goes on.
    test::typeColour(window_.get(), 9, 9, 9);
    QCOMPARE(backColour(sample()), 0x090909u);
}

void TestMenuCommands::colourDialog() {
    test::typeColour(window_.get(), 10, 20,
                     30); // the sample shows a colour; the dialog opens on black
    dialogs().colourAnswers = {QColor(255, 128, 5)};
    QTest::keyClick(window_.get(), Qt::Key_W, Qt::ControlModifier);
    QCOMPARE(dialogs().colourRequests, QList<QColor>{QColor(Qt::black)});
    QCOMPARE(test::sliderColour(window_.get()), 0x0580FFu);
    QCOMPARE(backColour(sample()), 0x0580FFu);
    QCOMPARE(test::text(window_.get(), "txtGrünHex"), "80");
    QCOMPARE(foreColour(sample()), 0u);

    // With the text colour as target the chosen colour goes there; the dialog opens on the
    // colour chosen last.
    trigger("mnuVorder");
    dialogs().colourAnswers = {QColor(1, 2, 3)};
    trigger("mnuWahl");
    QCOMPARE(dialogs().colourRequests.last(), QColor(255, 128, 5));
    QCOMPARE(foreColour(sample()), 0x030201u);
    QCOMPARE(backColour(sample()), 0x0580FFu);
}

void TestMenuCommands::colourDialogCancelChangesNothing() {
    dialogs().colourAnswers = {QColor(40, 50, 60)};
    trigger("mnuWahl");
    test::typeColour(window_.get(), 7, 8, 9);
    dialogs().colourAnswers = {std::nullopt};
    trigger("mnuWahl");
    QCOMPARE(backColour(sample()), 0x090807u);
    QCOMPARE(test::text(window_.get(), "txtRot"), "7");
    QVERIFY(dialogs().messages.isEmpty());
    trigger("mnuWahl"); // cancelled again (no answer left)
    QCOMPARE(dialogs().colourRequests,
             (QList<QColor>{Qt::black, QColor(40, 50, 60), QColor(40, 50, 60)}));
}

void TestMenuCommands::choosingTheSameColourStillSetsTheChannels() {
    test::typeColour(window_.get(), 16, 32, 48);
    // Something foreign in the display-only boxes is replaced only by the setters.
    for (const char* name : {"txtRotHex", "txtGrünHex", "txtBlauHex"})
        byName<QLineEdit>(window_.get(), QString::fromUtf8(name))->setText("?");
    dialogs().colourAnswers = {QColor(16, 32, 48)};
    trigger("mnuWahl");
    QCOMPARE(test::text(window_.get(), "txtRotHex"), "10");
    QCOMPARE(test::text(window_.get(), "txtGrünHex"), "20");
    QCOMPARE(test::text(window_.get(), "txtBlauHex"), "30");
}

void TestMenuCommands::font_data() {
    QTest::addColumn<bool>("byClick");
    QTest::newRow("Ctrl+S") << false;
    QTest::newRow("click on the sample") << true;
}

void TestMenuCommands::font() {
    QFETCH(bool, byClick);
    test::typeColour(window_.get(), 1, 2, 3);
    QFont chosen("Liberation Sans");
    chosen.setPointSizeF(14.5);
    chosen.setBold(true);
    chosen.setItalic(true);
    chosen.setUnderline(true);
    chosen.setStrikeOut(true);
    dialogs().fontAnswers = {chosen, std::nullopt};
    const auto open = [&] {
        if (byClick)
            QTest::mouseClick(sample(), Qt::LeftButton);
        else
            QTest::keyClick(window_.get(), Qt::Key_S, Qt::ControlModifier);
    };
    open();
    const QFont f = sample()->font();
    QCOMPARE(f.families().value(0), "Liberation Sans");
    QCOMPARE(f.pointSizeF(), 14.5);
    QVERIFY(f.bold());
    QVERIFY(f.italic());
    QVERIFY(f.underline());
    QVERIFY(!f.strikeOut()); // not copied
    QCOMPARE(backColour(sample()), 0x030201u);
    QCOMPARE(foreColour(sample()), 0u);
    QCOMPARE(window_->state().bytziel, 2);
    QCOMPARE(dialogs().fontRequests.size(), 1);
    // The next use opens on the font chosen last.
    open();
    QCOMPARE(dialogs().fontRequests.size(), 2);
    QCOMPARE(dialogs().fontRequests[1].family(), "Liberation Sans");
    QCOMPARE(dialogs().fontRequests[1].pointSizeF(), 14.5);
    QVERIFY(dialogs().fontRequests[1].bold());
}

void TestMenuCommands::fontCancelChangesNothing() {
    const QFont before = sample()->font();
    trigger("mnuSchrift"); // no answer: cancelled
    QCOMPARE(sample()->font(), before);
    QVERIFY(dialogs().messages.isEmpty());
}

void TestMenuCommands::help() {
    QTest::keyClick(window_.get(), Qt::Key_F1);
    QCOMPARE(dialogs().messages.size(), 1);
    QCOMPARE(dialogs().messages[0].text, "Alles selbsterklärend!");
    QCOMPARE(dialogs().messages[0].title, "Noch nicht fertig");
    QCOMPARE(dialogs().messages[0].style, Dialogs::MessageStyle::Information);
}

// The real dialogs: a window that makes its own, driven from a timer once the dialog is up.
void TestMenuCommands::realColourDialog() {
    window_.window.reset();
    window_.window = std::make_unique<frmHauptprogramm>(window_.dir->path());
    QVERIFY(test::showActive(window_.get()));
    bool seen = false;
    QTimer::singleShot(0, this, [&] {
        auto* dialog = qobject_cast<QColorDialog*>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        QCOMPARE(dialog->currentColor(), QColor(Qt::black));
        dialog->setCurrentColor(QColor(0x12, 0x34, 0x56));
        QTest::keyClick(dialog, Qt::Key_Return);
        seen = true;
    });
    trigger("mnuWahl");
    QVERIFY(seen);
    QCOMPARE(backColour(sample()), 0x563412u);
    QCOMPARE(test::text(window_.get(), "txtBlau"), "86");
}

void TestMenuCommands::realFontDialog() {
    window_.window.reset();
    window_.window = std::make_unique<frmHauptprogramm>(window_.dir->path());
    QVERIFY(test::showActive(window_.get()));
    bool seen = false;
    QFont reported;
    QTimer::singleShot(0, this, [&] {
        auto* dialog = qobject_cast<QFontDialog*>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        QFont f("Liberation Sans");
        f.setPointSize(20);
        dialog->setCurrentFont(f);
        // No effects section: the strikeout and underline boxes are not shown.
        for (auto* box : dialog->findChildren<QCheckBox*>())
            QVERIFY(!box->isVisible());
        dialog->accept();
        reported = dialog->selectedFont();
        seen = true;
    });
    QTest::mouseClick(sample(), Qt::LeftButton);
    QVERIFY(seen);
    // Whatever the dialog reports is what the sample gets.
    const QFont f = sample()->font();
    QCOMPARE(f.families().value(0), "Liberation Sans");
    QCOMPARE(f.pointSizeF(), 20.0);
    QCOMPARE(f.bold(), reported.bold());
    QCOMPARE(f.italic(), reported.italic());
    QCOMPARE(f.underline(), reported.underline());
}

void TestMenuCommands::realMessageBox() {
    window_.window.reset();
    window_.window = std::make_unique<frmHauptprogramm>(window_.dir->path());
    QVERIFY(test::showActive(window_.get()));
    QString text, title;
    QTimer::singleShot(0, this, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        QVERIFY(box);
        text = box->text();
        title = box->windowTitle();
        QCOMPARE(box->icon(), QMessageBox::Information);
        QCOMPARE(box->buttons().size(), 1);
        QTest::keyClick(box, Qt::Key_Return);
    });
    trigger("mnuHilfe");
    QCOMPARE(text, "Alles selbsterklärend!");
    QCOMPARE(title, "Noch nicht fertig");
}

void TestMenuCommands::infoShowsTheAboutWindowModally() {
    for (int opening = 0; opening < 2; ++opening) { // each opening builds the window anew
        // Offscreen, no window manager hands activation back after a modal window closes.
        QVERIFY(test::showActive(window_.get()));
        QPointer<QWidget> about;
        bool seen = false;
        QTimer::singleShot(0, this, [&] {
            about = QApplication::activeModalWidget();
            QVERIFY(about);
            QCOMPARE(about->objectName(), "frmAbout");
            QCOMPARE(about->windowTitle(), "Info zu Pigmora");
            QVERIFY(about->isModal());
            QCOMPARE(about->parentWidget(), window_.get());
            seen = true;
            QTest::mouseClick(byName<QPushButton>(about, "cmdOK"), Qt::LeftButton);
        });
        QTest::keyClick(window_.get(), Qt::Key_F1, Qt::ShiftModifier);
        // The command returned only once the window was closed, and the window is gone.
        QVERIFY(seen);
        QTRY_VERIFY(about.isNull());
    }
}

QTEST_MAIN(TestMenuCommands)
#include "test_menu_commands.moc"
