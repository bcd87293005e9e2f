#include "window_driver.h"

#include "app/scheme_list.h"
#include "app/status_bar.h"
#include "contrast_window/contrast_window.h"
#include "contrast_window/sample_size.h"

#include <QAction>
#include <QFrame>
#include <QPushButton>
#include <QSignalSpy>
#include <QTimer>

using namespace pigmora;
using test::byName;

// The contrast window, driven through the real main window. The expected ratios, verdicts and
// offered colours were worked out apart from the program, from the formulas of WCAG 2.x.
class TestContrastWindow : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { test::setUpOnce(); }
    void init();
    void cleanup() { window_.window.reset(); }

    void openedByCtrlK_data();
    void openedByCtrlK();
    void verdicts_data();
    void verdicts();
    void follows_data();
    void follows();
    void hiddenWindowCatchesUpWhenShown();
    void fontSetsTheThresholds_data();
    void fontSetsTheThresholds();
    void pointsAtOtherResolutions_data();
    void pointsAtOtherResolutions();
    void applyOffer_data();
    void applyOffer();
    void hints_data();
    void hints();
    void previews_data();
    void previews();
    void keyboardAlone();
    void everyControlIsNamed();
    void changesNothingInTheMainWindow();
    void closingTheMainWindowEndsTheEventLoop();

private:
    frmKontrast* kontrast() const {
        return window_->findChild<frmKontrast*>(QStringLiteral("frmKontrast"));
    }
    frmKontrast* openKontrast() {
        QTest::keyClick(window_.get(), Qt::Key_K, Qt::ControlModifier);
        settle();
        return kontrast();
    }
    QString shown(const char* control) const {
        return test::text(kontrast(), QString::fromUtf8(control));
    }
    QPushButton* button(const QString& name) const { return byName<QPushButton>(kontrast(), name); }
    QWidget* sample() const { return byName(window_.get(), "lblTest"); }
    void key(int key, Qt::KeyboardModifiers modifiers = Qt::ControlModifier) {
        QTest::keyClick(window_.get(), Qt::Key(key), modifiers);
    }
    // Text colour `text` on `background`; the channels then edit the text colour if `editText`.
    void setPair(QRgb text, QRgb background, bool editText);
    void setFontSize(double points, bool bold);
    static void settle() {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
    }

    test::WindowUnderTest window_;
};

namespace {

void typeRgb(QWidget* window, QRgb colour) {
    test::typeColour(window, qRed(colour), qGreen(colour), qBlue(colour));
}

QString hexOf(QRgb colour) {
    return QStringLiteral("%1").arg(colour & 0xFFFFFF, 6, 16, QLatin1Char('0')).toUpper();
}

ColourValue packed(QRgb colour) {
    return ColourValue(qRed(colour)) + 256u * qGreen(colour) + 65536u * qBlue(colour);
}

// Counts the sample's palette and font changes that reach the end of its filter chain.
class ChangeCounter : public QObject {
public:
    int changes = 0;
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::PaletteChange || event->type() == QEvent::FontChange)
            ++changes;
        return QObject::eventFilter(watched, event);
    }
};

// What the user sees of the main window.
struct MainWindowState {
    QStringList boxes;
    QList<int> sliders;
    ColourValue fore = 0;
    ColourValue back = 0;
    QFont font;
    bool editsText = false;
    QStringList schemes;
    int picked = -1;
    int sampleChanges = 0; // palette and font changes the sample itself received
    friend bool operator==(const MainWindowState&, const MainWindowState&) = default;
};

MainWindowState stateOf(const QWidget* window) {
    MainWindowState s;
    for (const char* name :
         {"txtRot", "txtGrün", "txtBlau", "txtRotHex", "txtGrünHex", "txtBlauHex"})
        s.boxes << test::text(window, QString::fromUtf8(name));
    for (const char* name : {"sldRot", "sldGrün", "sldBlau"})
        s.sliders << byName<QAbstractSlider>(window, QString::fromUtf8(name))->value();
    const QWidget* sample = byName(window, "lblTest");
    s.fore = foreColour(sample);
    s.back = backColour(sample);
    s.font = sample->font();
    s.editsText = byName<QAction>(window, "mnuVorder")->isChecked();
    auto* list = byName<SchemeList>(window, "cmbFarbe");
    for (int i = 0; i < list->entryCount(); ++i)
        s.schemes << list->entryText(i);
    s.picked = list->selectedIndex();
    return s;
}

} // namespace

void TestContrastWindow::init() {
    window_.fresh();
    QVERIFY(window_.open());
}

void TestContrastWindow::setPair(QRgb text, QRgb background, bool editText) {
    key(Qt::Key_V); // the text colour
    typeRgb(window_.get(), text);
    key(Qt::Key_I); // the background
    typeRgb(window_.get(), background);
    if (editText)
        key(Qt::Key_V);
    settle();
}

void TestContrastWindow::setFontSize(double points, bool bold) {
    QFont font(QStringLiteral("Liberation Serif"));
    font.setPointSizeF(points);
    font.setBold(bold);
    window_.dialogs.fontAnswers = {font};
    key(Qt::Key_S);
    settle();
}

void TestContrastWindow::openedByCtrlK_data() {
    QTest::addColumn<QString>("focus");
    for (const char* focus : {"txtRot", "txtGrün", "sldBlau", "cmbFarbe"})
        QTest::newRow(focus) << QString::fromUtf8(focus);
}

void TestContrastWindow::openedByCtrlK() {
    QFETCH(QString, focus);
    QVERIFY(!kontrast()); // start-up does not build it
    auto* target = byName(window_.get(), focus);
    target->setFocus();
    QTest::keyClick(target, Qt::Key_K, Qt::ControlModifier);
    frmKontrast* first = kontrast();
    QVERIFY(first);
    QVERIFY(QTest::qWaitForWindowActive(first));
    QVERIFY(first->isWindow());
    QCOMPARE(first->parentWidget(), window_.get());
    QCOMPARE(first->windowModality(), Qt::NonModal);
    QCOMPARE(first->windowTitle(), "Kontrast");
    QCOMPARE(first->metaObject()->className(), "pigmora::frmKontrast");
    QCOMPARE(test::text(first, "lblVerhältnis"), "1,00:1"); // black on black at start

    // Back in the main window, Ctrl+K brings the same window to the front again, also after
    // it was closed.
    for (bool closeFirst : {false, true}) {
        if (closeFirst) {
            QTest::keyClick(first, Qt::Key_Escape);
            QVERIFY(!first->isVisible());
        }
        QVERIFY(test::showActive(window_.get()));
        target->setFocus();
        QTest::keyClick(target, Qt::Key_K, Qt::ControlModifier);
        QCOMPARE(kontrast(), first);
        QVERIFY(first->isVisible());
        QVERIFY(QTest::qWaitForWindowActive(first));
    }
    QCOMPARE(window_->findChildren<frmKontrast*>().size(), 1);
}

void TestContrastWindow::verdicts_data() {
    QTest::addColumn<QRgb>("text");
    QTest::addColumn<QRgb>("background");
    QTest::addColumn<QString>("ratio");
    QTest::addColumn<QStringList>("verdicts"); // AA, AAA, 1.4.11
    QTest::addColumn<QString>("apca");
    const QString yes = QStringLiteral("bestanden");
    const QString no = QStringLiteral("nicht bestanden");
    QTest::newRow("black on white")
        << 0x000000u << 0xFFFFFFu << "21,00:1" << QStringList{yes, yes, yes} << "106,0";
    QTest::newRow("white on black")
        << 0xFFFFFFu << 0x000000u << "21,00:1" << QStringList{yes, yes, yes} << "-107,9";
    QTest::newRow("888888 on white")
        << 0x888888u << 0xFFFFFFu << "3,54:1" << QStringList{no, no, yes} << "63,1";
    QTest::newRow("black on 767676")
        << 0x000000u << 0x767676u << "4,62:1" << QStringList{yes, no, yes} << "";
    QTest::newRow("black on 5A5A5A")
        << 0x000000u << 0x5A5A5Au << "3,04:1" << QStringList{no, no, yes} << "";
    QTest::newRow("black on 595959 (below 3)")
        << 0x000000u << 0x595959u << "2,99:1" << QStringList{no, no, no} << "";
    QTest::newRow("equal") << 0x777777u << 0x777777u << "1,00:1" << QStringList{no, no, no}
                           << "0,0";
}

void TestContrastWindow::verdicts() {
    QFETCH(QRgb, text);
    QFETCH(QRgb, background);
    QFETCH(QStringList, verdicts);
    QFETCH(QString, apca);
    setPair(text, background, false);
    QVERIFY(openKontrast());
    QTEST(shown("lblVerhältnis"), "ratio");
    QCOMPARE((QStringList{shown("lblAA"), shown("lblAAA"), shown("lblGrafik")}), verdicts);
    QCOMPARE(shown("lblAATitel"), "1.4.3 AA (4,5:1):");
    QCOMPARE(shown("lblAAATitel"), "1.4.6 AAA (7:1):");
    QCOMPARE(shown("lblGrafikTitel"), "1.4.11 Grafik und Bedienelemente (3:1):");
    QVERIFY(shown("lblApcaTitel").contains("nicht normativ"));
    if (!apca.isEmpty())
        QCOMPARE(shown("lblApca"), apca);
}

// Every way the sample changes reaches the window: once per user action, and only after the
// main window's own handlers have run to their end.
void TestContrastWindow::follows_data() {
    QTest::addColumn<QString>("action");
    QTest::addColumn<QRgb>("start"); // the background before; the text is black
    QTest::addColumn<QString>("ratio");
    QTest::addColumn<QString>("edited");
    QTest::addColumn<QString>("textSize");
    const QString normal = QStringLiteral("Normaler Text: 9,75 pt");
    const auto row = [](const char* name, const char* action, QRgb start, const char* ratio,
                        const char* edited, const QString& textSize) {
        QTest::newRow(name) << QString::fromUtf8(action) << start << QString::fromUtf8(ratio)
                            << QString::fromUtf8(edited) << textSize;
    };
    row("slider step", "slider", 0xFFFFFF, "20,87:1", "Hintergrundfarbe #FFFEFF", normal);
    row("typed digit", "digit", 0xFFFFFF, "19,55:1", "Hintergrundfarbe #FFFF01", normal);
    row("target switch", "target", 0xFFFFFF, "21,00:1", "Textfarbe #000000", normal);
    // With both colours equal the switch repaints nothing; only the target changes.
    row("target switch, equal colours", "target", 0x000000, "1,00:1", "Textfarbe #000000", normal);
    row("status bar panel", "panel", 0xFFFFFF, "21,00:1", "Textfarbe #000000", normal);
    row("scheme selected", "scheme", 0xFFFFFF, "3,54:1", "Hintergrundfarbe #646464", normal);
    row("colour dialog", "colour", 0xFFFFFF, "3,04:1", "Hintergrundfarbe #5A5A5A", normal);
    row("font dialog", "font", 0xFFFFFF, "21,00:1", "Hintergrundfarbe #FFFFFF",
        QStringLiteral("Großer Text: 18 pt fett"));
}

void TestContrastWindow::follows() {
    QFETCH(QString, action);
    if (action == "scheme") {
        typeRgb(window_.get(), 0x646464);
        window_.dialogs.promptAnswers = {QStringLiteral("Grau")};
        byName<QPushButton>(window_.get(), "cmdNeueFarbe")->click();
    }
    QFETCH(QRgb, start);
    typeRgb(window_.get(), start);
    if (action == "scheme") { // stored and picked: the list shows "Hell"
        window_.dialogs.promptAnswers = {QStringLiteral("Hell")};
        byName<QPushButton>(window_.get(), "cmdNeueFarbe")->click();
    }
    frmKontrast* window = openKontrast();
    QVERIFY(window);
    QVERIFY(
        shown("lblBearbeitet").startsWith("Bearbeitet wird die Hintergrundfarbe #" + hexOf(start)));
    QCOMPARE(shown("lblTextgröße"), "Normaler Text: 9,75 pt");
    QVERIFY(test::showActive(window_.get()));
    QSignalSpy refreshed(window, &frmKontrast::refreshed);

    if (action == "slider") {
        auto* slider = byName(window_.get(), "sldGrün");
        slider->setFocus();
        QTest::keyClick(slider, Qt::Key_Left);
    } else if (action == "digit") {
        auto* box = byName<QLineEdit>(window_.get(), "txtBlau");
        box->setFocus();
        box->selectAll();
        QTest::keyClick(box, Qt::Key_1);
    } else if (action == "target") {
        key(Qt::Key_V);
    } else if (action == "panel") {
        QTest::mouseClick(byName<PanelStatusBar>(window_.get(), "StatusBar1")->panel(1),
                          Qt::LeftButton);
    } else if (action == "scheme") {
        auto* list = byName(window_.get(), "cmbFarbe");
        list->setFocus();
        QTest::keyClick(list, Qt::Key_Up); // from "Hell" to "Grau"
    } else if (action == "colour") {
        window_.dialogs.colourAnswers = {QColor(0x5A, 0x5A, 0x5A)};
        key(Qt::Key_W);
    } else if (action == "font") {
        QFont font(QStringLiteral("Liberation Serif"));
        font.setPointSizeF(18);
        font.setBold(true);
        window_.dialogs.fontAnswers = {font};
        key(Qt::Key_S);
    }
    QCOMPARE(refreshed.count(), 0); // not inside the main window's handlers
    settle();
    QCOMPARE(refreshed.count(), 1);
    QTEST(shown("lblVerhältnis"), "ratio");
    QFETCH(QString, edited);
    QVERIFY2(shown("lblBearbeitet").startsWith("Bearbeitet wird die " + edited),
             qPrintable(shown("lblBearbeitet")));
    QTEST(shown("lblTextgröße"), "textSize");
}

void TestContrastWindow::hiddenWindowCatchesUpWhenShown() {
    frmKontrast* window = openKontrast();
    QVERIFY(window);
    QTest::keyClick(window, Qt::Key_Escape);
    QVERIFY(!window->isVisible());
    QVERIFY(test::showActive(window_.get()));
    QSignalSpy refreshed(window, &frmKontrast::refreshed);
    typeRgb(window_.get(), 0xFFFFFF);
    setFontSize(20, false);
    QCOMPARE(refreshed.count(), 0);
    QCOMPARE(shown("lblVerhältnis"), "1,00:1");
    key(Qt::Key_K);
    QCOMPARE(refreshed.count(), 1);
    QCOMPARE(shown("lblVerhältnis"), "21,00:1");
    QCOMPARE(shown("lblTextgröße"), "Großer Text: 20 pt");
    settle();
    QCOMPARE(refreshed.count(), 1);
}

// Black text on #646464 (3,54:1): AA for large text only.
void TestContrastWindow::fontSetsTheThresholds_data() {
    QTest::addColumn<double>("points");
    QTest::addColumn<int>("pixels"); // instead of points, when not 0
    QTest::addColumn<int>("weight");
    QTest::addColumn<QString>("textSize");
    QTest::addColumn<bool>("large");
    const int bold = QFont::Bold;
    const int normal = QFont::Normal;
    QTest::newRow("13.9 pt bold") << 13.9 << 0 << bold << "Normaler Text: 13,9 pt fett" << false;
    QTest::newRow("14 pt bold") << 14.0 << 0 << bold << "Großer Text: 14 pt fett" << true;
    QTest::newRow("14 pt") << 14.0 << 0 << normal << "Normaler Text: 14 pt" << false;
    QTest::newRow("14 pt semibold")
        << 14.0 << 0 << int(QFont::DemiBold) << "Normaler Text: 14 pt" << false;
    QTest::newRow("14 pt black") << 14.0 << 0 << int(QFont::Black) << "Großer Text: 14 pt fett"
                                 << true;
    QTest::newRow("17.99 pt") << 17.99 << 0 << normal << "Normaler Text: 17,99 pt" << false;
    QTest::newRow("18 pt") << 18.0 << 0 << normal << "Großer Text: 18 pt" << true;
    QTest::newRow("24 px") << 0.0 << 24 << normal << "Großer Text: 18 pt" << true;
    QTest::newRow("23 px") << 0.0 << 23 << normal << "Normaler Text: 17,25 pt" << false;
    QTest::newRow("19 px bold") << 0.0 << 19 << bold << "Großer Text: 14,25 pt fett" << true;
}

void TestContrastWindow::fontSetsTheThresholds() {
    QFETCH(double, points);
    QFETCH(int, pixels);
    QFETCH(int, weight);
    QFETCH(bool, large);
    setPair(0x000000, 0x646464, false);
    QVERIFY(openKontrast());
    QVERIFY(test::showActive(window_.get()));
    if (pixels) {
        if (sample()->logicalDpiY() != 96)
            QSKIP("the pixel rows assume 96 dots per inch");
        QFont font = sample()->font();
        font.setPixelSize(pixels);
        font.setWeight(QFont::Weight(weight));
        sample()->setFont(font);
        settle();
    } else if (weight == QFont::Bold || weight == QFont::Normal) {
        setFontSize(points, weight == QFont::Bold); // through the font dialog
    } else {
        QFont font = sample()->font();
        font.setPointSizeF(points);
        font.setWeight(QFont::Weight(weight));
        sample()->setFont(font);
        settle();
    }
    QTEST(shown("lblTextgröße"), "textSize");
    QCOMPARE(shown("lblAATitel"), large ? "1.4.3 AA (3:1):" : "1.4.3 AA (4,5:1):");
    QCOMPARE(shown("lblAAATitel"), large ? "1.4.6 AAA (4,5:1):" : "1.4.6 AAA (7:1):");
    QCOMPARE(shown("lblSchwelle"), large ? "Für großen Text gilt AA ab 3:1, AAA ab 4,5:1."
                                         : "Für normalen Text gilt AA ab 4,5:1, AAA ab 7:1.");
    const QString verdict = large ? QStringLiteral("bestanden") : QStringLiteral("nicht bestanden");
    QCOMPARE(shown("lblAA"), verdict);
    QCOMPARE(shown("lblAAA"), "nicht bestanden");
    QCOMPARE(shown("lblGrafik"), "bestanden"); // 3:1 whatever the text size
    // A grey stays the same grey without colour vision, rated by the same threshold.
    QCOMPARE(shown("lblAchromatopsieAA"), "AA " + verdict);
    QCOMPARE(shown("lblAAStufe"), large ? "AA (3:1)" : "AA (4,5:1)");
}

// A size in pixels depends on the screen; one in points does not.
void TestContrastWindow::pointsAtOtherResolutions_data() {
    QTest::addColumn<double>("points"); // the font's, or 0 when set in pixels
    QTest::addColumn<int>("pixels");
    QTest::addColumn<double>("dpi");
    QTest::addColumn<double>("expected");
    QTest::newRow("12 pt at 96 dpi") << 12.0 << 0 << 96.0 << 12.0;
    QTest::newRow("12 pt at 144 dpi") << 12.0 << 0 << 144.0 << 12.0;
    QTest::newRow("24 px at 96 dpi") << 0.0 << 24 << 96.0 << 18.0;
    QTest::newRow("30 px at 120 dpi") << 0.0 << 30 << 120.0 << 18.0;
    QTest::newRow("24 px at 144 dpi") << 0.0 << 24 << 144.0 << 12.0;
    QTest::newRow("1 px at 72 dpi") << 0.0 << 1 << 72.0 << 1.0;
}

void TestContrastWindow::pointsAtOtherResolutions() {
    QFETCH(double, points);
    QFETCH(int, pixels);
    QFETCH(double, dpi);
    QFont font;
    if (pixels)
        font.setPixelSize(pixels);
    else
        font.setPointSizeF(points);
    QTEST(fontPoints(font, dpi), "expected");
}

void TestContrastWindow::applyOffer_data() {
    QTest::addColumn<QRgb>("text");
    QTest::addColumn<QRgb>("background");
    QTest::addColumn<bool>("editText");
    QTest::addColumn<double>("points");
    QTest::addColumn<QString>("offer"); // the button's level and side: AAHeller ...
    QTest::addColumn<QString>("hex");
    QTest::addColumn<QString>("ratio");
    QTest::addColumn<bool>("byKey");
    QTest::newRow("background lighter for AA")
        << 0x000000u << 0x5A5A5Au << false << 9.75 << "AAHeller"
        << "#757575"
        << "4,55:1" << false;
    QTest::newRow("text darker for AA") << 0x969696u << 0xFFFFFFu << true << 9.75 << "AADunkler"
                                        << "#767676"
                                        << "4,54:1" << true;
    QTest::newRow("text lighter for AAA") << 0x3C3C3Cu << 0x000000u << true << 9.75 << "AAAHeller"
                                          << "#959595"
                                          << "7,01:1" << false;
    QTest::newRow("background darker for AAA")
        << 0xFFFFFFu << 0x787878u << false << 9.75 << "AAADunkler"
        << "#595959"
        << "7,00:1" << true;
    QTest::newRow("blue background, large text, lighter")
        << 0x808080u << 0x3366CCu << false << 18.0 << "AAHeller"
        << "#D7E1F5"
        << "3,00:1" << false;
    QTest::newRow("blue background, large text, darker")
        << 0x808080u << 0x3366CCu << false << 18.0 << "AADunkler"
        << "#1B356B"
        << "3,00:1" << false;
    QTest::newRow("red background darker for AAA")
        << 0xFFFFFFu << 0xC82828u << false << 9.75 << "AAADunkler"
        << "#AB2222"
        << "7,03:1" << true;
}

void TestContrastWindow::applyOffer() {
    QFETCH(QRgb, text);
    QFETCH(QRgb, background);
    QFETCH(bool, editText);
    QFETCH(double, points);
    QFETCH(QString, offer);
    QFETCH(QString, hex);
    QFETCH(bool, byKey);
    setPair(text, background, editText);
    setFontSize(points, false);
    QVERIFY(openKontrast());
    QCOMPARE(test::text(kontrast(), "lbl" + offer + "Hex"), hex);
    QTEST(test::text(kontrast(), "lbl" + offer + "Verhältnis"), "ratio");
    QPushButton* apply = button("cmd" + offer);
    QVERIFY(apply->isEnabled());
    QCOMPARE(apply->text(), "Übernehmen");
    if (byKey) {
        apply->setFocus();
        QTest::keyClick(apply, Qt::Key_Space);
    } else {
        QTest::mouseClick(apply, Qt::LeftButton);
    }
    settle();

    const QRgb offered = QColor::fromString(hex).rgb() & 0xFFFFFF;
    QCOMPARE(test::text(window_.get(), "txtRot"), QString::number(qRed(offered)));
    QCOMPARE(test::text(window_.get(), "txtGrün"), QString::number(qGreen(offered)));
    QCOMPARE(test::text(window_.get(), "txtBlau"), QString::number(qBlue(offered)));
    QCOMPARE(test::text(window_.get(), "txtRotHex"), QString::number(qRed(offered), 16).toUpper());
    QCOMPARE(test::sliderColour(window_.get()), packed(offered));
    QCOMPARE(editText ? foreColour(sample()) : backColour(sample()), packed(offered));
    QCOMPARE(editText ? backColour(sample()) : foreColour(sample()),
             packed(editText ? background : text));

    const bool aaa = offer.startsWith("AAA");
    QTEST(shown("lblVerhältnis"), "ratio");
    QCOMPARE(shown(aaa ? "lblAAA" : "lblAA"), "bestanden");
    const QString edited =
        editText ? QStringLiteral("Textfarbe") : QStringLiteral("Hintergrundfarbe");
    QCOMPARE(shown(aaa ? "lblAAAHinweis" : "lblAAHinweis"),
             QStringLiteral("Die %1 erreicht %2 bereits.").arg(edited, aaa ? "AAA" : "AA"));
    QVERIFY(!apply->isEnabled()); // nothing is offered for a level already reached
}

void TestContrastWindow::hints_data() {
    QTest::addColumn<QRgb>("text");
    QTest::addColumn<QRgb>("background");
    QTest::addColumn<QStringList>("hints"); // AA, AAA
    QTest::addColumn<QStringList>("enabled");
    const QString reached = QStringLiteral("Die Hintergrundfarbe erreicht %1 bereits.");
    const QString offered =
        QStringLiteral("Die nächsten Farben dieses Farbtons, die %1 erreichen:");
    const QString none = QStringLiteral("Keine Farbe dieses Farbtons erreicht %1.");
    QTest::newRow("black on white")
        << 0x000000u << 0xFFFFFFu << QStringList{reached.arg("AA"), reached.arg("AAA")}
        << QStringList{};
    QTest::newRow("black on 5A5A5A, only lighter")
        << 0x000000u << 0x5A5A5Au << QStringList{offered.arg("AA"), offered.arg("AAA")}
        << QStringList{"AAHeller", "AAAHeller"};
    QTest::newRow("777777 on 808080, no grey reaches AAA")
        << 0x777777u << 0x808080u << QStringList{offered.arg("AA"), none.arg("AAA")}
        << QStringList{"AADunkler"};
    QTest::newRow("white on C82828, AA reached")
        << 0xFFFFFFu << 0xC82828u << QStringList{reached.arg("AA"), offered.arg("AAA")}
        << QStringList{"AAADunkler"};
}

void TestContrastWindow::hints() {
    QFETCH(QRgb, text);
    QFETCH(QRgb, background);
    QFETCH(QStringList, enabled);
    setPair(text, background, false);
    QVERIFY(openKontrast());
    QTEST((QStringList{shown("lblAAHinweis"), shown("lblAAAHinweis")}), "hints");
    for (const char* offer : {"AAHeller", "AADunkler", "AAAHeller", "AAADunkler"}) {
        const QString name = QString::fromUtf8(offer);
        const bool offered = enabled.contains(name);
        QCOMPARE(button("cmd" + name)->isEnabled(), offered);
        const QString hex = shown(("lbl" + name + "Hex").toUtf8().constData());
        if (offered)
            QVERIFY2(QColor::isValidColorName(hex) && hex == hex.toUpper() && hex.size() == 7,
                     qPrintable(hex));
        else
            QCOMPARE(hex, "–");
    }
}

// Text #000066 on #FF0066 passes AA in full colour (4,56:1); two of the four previews fail.
void TestContrastWindow::previews_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRgb>("text");
    QTest::addColumn<QRgb>("background");
    QTest::addColumn<QString>("ratio");
    QTest::addColumn<bool>("passes");
    QTest::newRow("protanopia") << "Protanopie" << 0x001E68u << 0x636467u << "2,56:1" << false;
    QTest::newRow("deuteranopia") << "Deuteranopie" << 0x001364u << 0x9D9260u << "5,25:1" << true;
    QTest::newRow("tritanopia") << "Tritanopie" << 0x002639u << 0xFF003Cu << "3,97:1" << false;
    QTest::newRow("achromatopsia") << "Achromatopsie" << 0x191919u << 0x828282u << "4,57:1" << true;
}

void TestContrastWindow::previews() {
    QFETCH(QString, name);
    QFETCH(QRgb, text);
    QFETCH(QRgb, background);
    QFETCH(bool, passes);
    setPair(0x000066, 0xFF0066, false);
    QVERIFY(openKontrast());
    QCOMPARE(shown("lblVerhältnis"), "4,56:1");
    QCOMPARE(shown("lblAA"), "bestanden");
    QCOMPARE(test::text(kontrast(), "lbl" + name), name + ":");
    const QWidget* preview = byName(kontrast(), "lbl" + name + "Probe");
    QCOMPARE(foreColour(preview), packed(text));
    QCOMPARE(backColour(preview), packed(background));
    QVERIFY(preview->autoFillBackground());
    QTEST(test::text(kontrast(), "lbl" + name + "Verhältnis"), "ratio");
    QCOMPARE(test::text(kontrast(), "lbl" + name + "AA"),
             passes ? "AA bestanden" : "AA nicht bestanden");
}

// Large text, black on #777777 edited against #767676: every button has a colour to offer.
void TestContrastWindow::keyboardAlone() {
    setPair(0x767676, 0x777777, false);
    setFontSize(18, false);
    frmKontrast* window = openKontrast();
    QVERIFY(window);
    QVERIFY(QTest::qWaitForWindowActive(window));
    const QStringList order{"lblAlsHex",
                            "lblAlsRgb",
                            "lblAlsHsl",
                            "lblAlsOklch",
                            "cmdAAHeller",
                            "cmdAADunkler",
                            "cmdAAAHeller",
                            "cmdAAADunkler",
                            "cmdTextVomBildschirm",
                            "cmdHintergrundVomBildschirm",
                            "cmdPaarVomBildschirm",
                            "cmdSchließen"};
    byName(window, order.first())->setFocus();
    for (const QString& name : order) {
        QCOMPARE(QApplication::focusWidget(), byName(window, name));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    QCOMPARE(QApplication::focusWidget(), byName(window, order.first())); // round again
    // Esc closes from any control, and so does "Schließen".
    QTest::keyClick(button("cmdAAAHeller"), Qt::Key_Escape);
    QVERIFY(!window->isVisible());
    QCOMPARE(backColour(sample()), 0x777777u); // closing applies nothing
    QVERIFY(test::showActive(window_.get()));
    key(Qt::Key_K);
    QVERIFY(window->isVisible());
    auto* close = button("cmdSchließen");
    close->setFocus();
    QTest::keyClick(close, Qt::Key_Space);
    QVERIFY(!window->isVisible());
}

void TestContrastWindow::everyControlIsNamed() {
    setPair(0x000000, 0x5A5A5A, false);
    frmKontrast* window = openKontrast();
    QVERIFY(window);
    QCOMPARE(window->accessibleName(), "Kontrast");
    int controls = 0;
    for (QWidget* w : window->findChildren<QWidget*>()) {
        if (!qobject_cast<QLabel*>(w) && !qobject_cast<QPushButton*>(w) &&
            !w->objectName().startsWith("fra"))
            continue;
        ++controls;
        QVERIFY2(!w->objectName().isEmpty(), w->metaObject()->className());
        QVERIFY2(!w->accessibleName().isEmpty(), qPrintable(w->objectName()));
    }
    QVERIFY(controls >= 50);
    // A value is announced with what it is.
    QCOMPARE(byName(window, "lblVerhältnis")->accessibleName(), "Kontrastverhältnis: 3,04:1");
    QCOMPARE(byName(window, "cmdAAHeller")->accessibleName(),
             "AA, heller übernehmen: #757575, 4,55:1");
    // The edited colour in the four forms of CSS, caption and value one name.
    const std::pair<const char*, QString> forms[] = {{"Hex", "#5a5a5a"},
                                                     {"Rgb", "rgb(90 90 90)"},
                                                     {"Hsl", "hsl(0 0% 35.3%)"},
                                                     {"Oklch", "oklch(46.76% 0 0)"}};
    for (const auto& [form, text] : forms) {
        const QWidget* label = byName(window, QStringLiteral("lblAls") + form);
        QCOMPARE(test::text(window, label->objectName()), text);
        QCOMPARE(label->accessibleName(),
                 QStringLiteral("Bearbeitete Farbe als %1: %2").arg(QString(form).toLower(), text));
    }
}

// The same user actions, once without and once with the window open, leave the main window
// in the same state.
void TestContrastWindow::changesNothingInTheMainWindow() {
    QList<MainWindowState> results;
    for (bool withWindow : {false, true}) {
        window_.fresh();
        QVERIFY(window_.open());
        ChangeCounter counter; // installed first, so it sees what is left for the sample
        sample()->installEventFilter(&counter);
        if (withWindow) {
            QVERIFY(openKontrast());
            QVERIFY(test::showActive(window_.get()));
        }
        test::ScriptedDialogs& dialogs = window_.dialogs;
        typeRgb(window_.get(), 0x102030);
        settle();
        auto* slider = byName(window_.get(), "sldGrün");
        slider->setFocus();
        for (int i = 0; i < 5; ++i) {
            QTest::keyClick(slider, Qt::Key_Right);
            settle();
        }
        QTest::keyClick(slider, Qt::Key_PageUp);
        key(Qt::Key_V);
        settle();
        typeRgb(window_.get(), 0xFAFAF0);
        auto* box = byName<QLineEdit>(window_.get(), "txtRot");
        box->setFocus();
        box->selectAll();
        QTest::keyClicks(box, "999"); // above 255
        settle();
        auto* schemes = byName<SchemeList>(window_.get(), "cmbFarbe");
        dialogs.promptAnswers = {QStringLiteral("Erstes")};
        key(Qt::Key_N, Qt::AltModifier);
        QTRY_COMPARE(schemes->entryCount(), 1);
        typeRgb(window_.get(), 0x0A0B0C);
        dialogs.promptAnswers = {QStringLiteral("Zweites")};
        key(Qt::Key_N, Qt::AltModifier);
        QTRY_COMPARE(schemes->entryCount(), 2);
        dialogs.colourAnswers = {QColor(1, 2, 3)};
        key(Qt::Key_W);
        settle();
        setFontSize(15, true);
        key(Qt::Key_I);
        settle();
        schemes->setFocus();
        QTest::keyClick(schemes, Qt::Key_Up); // "Erstes"
        settle();
        typeRgb(window_.get(), 0x445566);
        settle();
        QVERIFY(dialogs.messages.isEmpty());
        results << stateOf(window_.get());
        results.last().sampleChanges = counter.changes;
    }
    QCOMPARE(results[1].boxes, results[0].boxes);
    QCOMPARE(results[1].sliders, results[0].sliders);
    QCOMPARE(results[1].fore, results[0].fore);
    QCOMPARE(results[1].back, results[0].back);
    QCOMPARE(results[1].font, results[0].font);
    QCOMPARE(results[1].editsText, results[0].editsText);
    QCOMPARE(results[1].schemes, results[0].schemes);
    QCOMPARE(results[1].picked, results[0].picked);
    QCOMPARE(results[1].sampleChanges, results[0].sampleChanges);
    QCOMPARE(results[0].picked, 0); // the sequence really ran to its end
    QCOMPARE(results[0].back, 0x665544u);
}

void TestContrastWindow::closingTheMainWindowEndsTheEventLoop() {
    frmKontrast* window = openKontrast();
    QVERIFY(window && window->isVisible());
    QVERIFY(test::showActive(window_.get()));
    QTimer::singleShot(0, window_.get(), [this] { window_->close(); });
    QTimer::singleShot(5000, qApp, [] { QCoreApplication::exit(1); }); // still running
    QCOMPARE(QApplication::exec(), 0);
    QVERIFY(!window_->isVisible());
    QVERIFY(!window->isVisible());
}

QTEST_MAIN(TestContrastWindow)
#include "test_contrast_window.moc"
