#include "window_driver.h"

#include "app/status_bar.h"

#include <QAction>
#include <QClipboard>

using namespace pigmora;
using test::byName;

namespace {
constexpr ColourValue textColour = 0x2080C0; // red 0xC0, green 0x80, blue 0x20
constexpr ColourValue background = 0x0A64FF; // red 0xFF, green 0x64, blue 0x0A
} // namespace

class TestEditTarget : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { test::setUpOnce(); }
    void init();
    void cleanup() { window_.window.reset(); }

    void select_data();
    void select();
    void reloadsTheChosenColourExactly_data();
    void reloadsTheChosenColourExactly();
    void panelClicks_data();
    void panelClicks();
    void panelIsDrawnPressedOrRaised();
    void shortcutsInABoxDoNotPaste();
    void sampleClickKeepsTheTarget();

private:
    enum Way { MenuText, MenuBack, KeyText, KeyBack };
    void choose(Way way);
    // Puts the known text colour and background into the sample through the editor itself.
    void composeBothColours();
    void verifyState(bool textIsTarget);
    QWidget* sample() { return byName(window_.get(), "lblTest"); }
    StatusPanel* panel(int i) {
        return byName<PanelStatusBar>(window_.get(), "StatusBar1")->panel(i);
    }

    test::WindowUnderTest window_;
};

void TestEditTarget::init() {
    window_.fresh();
    QVERIFY(window_.open());
}

void TestEditTarget::choose(Way way) {
    switch (way) {
    case MenuText:
        byName<QAction>(window_.get(), "mnuVorder")->trigger();
        break;
    case MenuBack:
        byName<QAction>(window_.get(), "mnuHinter")->trigger();
        break;
    case KeyText:
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_V, Qt::ControlModifier);
        break;
    case KeyBack:
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_I, Qt::ControlModifier);
        break;
    }
}

void TestEditTarget::composeBothColours() {
    test::typeColour(window_.get(), 0xFF, 0x64, 0x0A);
    choose(MenuText);
    test::typeColour(window_.get(), 0xC0, 0x80, 0x20);
    QCOMPARE(foreColour(sample()), textColour);
    QCOMPARE(backColour(sample()), background);
}

void TestEditTarget::verifyState(bool textIsTarget) {
    QCOMPARE(window_->state().bytziel, textIsTarget ? 1 : 2);
    QCOMPARE(byName<QAction>(window_.get(), "mnuVorder")->isChecked(), textIsTarget);
    QCOMPARE(byName<QAction>(window_.get(), "mnuHinter")->isChecked(), !textIsTarget);
    QCOMPARE(bevelOf(panel(1)), textIsTarget ? Bevel::Raised : Bevel::Inset);
    QCOMPARE(panel(1)->text(), "Hintergrund");
    // The channels show the chosen colour; both colours of the sample are as composed.
    QCOMPARE(test::sliderColour(window_.get()), textIsTarget ? textColour : background);
    QCOMPARE(foreColour(sample()), textColour);
    QCOMPARE(backColour(sample()), background);
}

void TestEditTarget::select_data() {
    QTest::addColumn<bool>("startWithText");
    QTest::addColumn<int>("way");
    QTest::addColumn<bool>("textIsTarget");
    const std::pair<const char*, Way> ways[] = {
        {"menu text colour", MenuText},
        {"menu background", MenuBack},
        {"Ctrl+V", KeyText},
        {"Ctrl+I", KeyBack},
    };
    for (bool start : {false, true})
        for (const auto& [name, way] : ways)
            QTest::addRow("%s from %s", name, start ? "text colour" : "background")
                << start << int(way) << (way == MenuText || way == KeyText);
}

void TestEditTarget::select() {
    QFETCH(bool, startWithText);
    QFETCH(int, way);
    QFETCH(bool, textIsTarget);
    composeBothColours();
    choose(startWithText ? MenuText : MenuBack);
    verifyState(startWithText);
    choose(Way(way));
    verifyState(textIsTarget);
    // Selecting it once more changes nothing.
    choose(Way(way));
    verifyState(textIsTarget);
}

void TestEditTarget::reloadsTheChosenColourExactly_data() {
    QTest::addColumn<int>("red");
    QTest::addColumn<int>("green");
    QTest::addColumn<int>("blue");
    QTest::newRow("pure red (text FF)") << 255 << 0 << 0;
    QTest::newRow("black (text 0)") << 0 << 0 << 0;
    QTest::newRow("orange (text 80FF)") << 255 << 128 << 0;
    QTest::newRow("pure blue") << 0 << 0 << 255;
    QTest::newRow("white") << 255 << 255 << 255;
    QTest::newRow("small values") << 1 << 2 << 3;
}

void TestEditTarget::reloadsTheChosenColourExactly() {
    QFETCH(int, red);
    QFETCH(int, green);
    QFETCH(int, blue);
    const ColourValue colour = ColourValue(red + 256 * green + 65536 * blue);
    // Into the background, then over to the (still black) text colour and back again.
    test::typeColour(window_.get(), red, green, blue);
    choose(MenuText);
    QCOMPARE(test::sliderColour(window_.get()), 0u);
    QCOMPARE(test::text(window_.get(), "txtRot"), "0");
    QCOMPARE(backColour(sample()), colour);
    choose(MenuBack);
    QCOMPARE(test::sliderColour(window_.get()), colour);
    QCOMPARE(test::text(window_.get(), "txtRot"), QString::number(red));
    QCOMPARE(test::text(window_.get(), "txtGrünHex"), QString::number(green, 16).toUpper());
    QCOMPARE(test::text(window_.get(), "txtBlau"), QString::number(blue));
    QCOMPARE(foreColour(sample()), 0u);
    QCOMPARE(backColour(sample()), colour);

    // The same colour mixed as text colour survives a trip through the background.
    choose(MenuText);
    test::typeColour(window_.get(), blue, red, green);
    const ColourValue mixed = ColourValue(blue + 256 * red + 65536 * green);
    choose(MenuBack);
    choose(MenuText);
    QCOMPARE(test::sliderColour(window_.get()), mixed);
    QCOMPARE(foreColour(sample()), mixed);
    QCOMPARE(backColour(sample()), colour);
}

void TestEditTarget::panelClicks_data() {
    QTest::addColumn<int>("panel");
    QTest::addColumn<QList<bool>>("textIsTargetAfterEachClick");
    QTest::newRow("target panel toggles") << 1 << QList<bool>{true, false, true, false};
    QTest::newRow("spring panel always selects background") << 2 << QList<bool>{false, false};
    QTest::newRow("clock panel always selects text colour") << 3 << QList<bool>{true, true};
    QTest::newRow("date panel always selects text colour") << 4 << QList<bool>{true, true};
}

void TestEditTarget::panelClicks() {
    QFETCH(int, panel);
    QFETCH(QList<bool>, textIsTargetAfterEachClick);
    composeBothColours();
    choose(MenuBack);
    const Bevel laidOut = bevelOf(this->panel(panel));
    for (bool textIsTarget : textIsTargetAfterEachClick) {
        QTest::mouseClick(this->panel(panel), Qt::LeftButton);
        verifyState(textIsTarget);
        if (panel != 1)
            QCOMPARE(bevelOf(this->panel(panel)), laidOut); // only the first panel changes
    }
}

void TestEditTarget::panelIsDrawnPressedOrRaised() {
    // A pressed-in panel is dark along its left edge and light along its right edge; a raised
    // one the other way round.
    const auto edges = [this] {
        const QImage image = panel(1)->grab().toImage();
        const int y = image.height() / 2;
        return std::pair(qGray(image.pixel(0, y)), qGray(image.pixel(image.width() - 1, y)));
    };
    const auto [insetLeft, insetRight] = edges();
    QVERIFY2(insetLeft < insetRight, qPrintable(QString("%1 %2").arg(insetLeft).arg(insetRight)));
    choose(MenuText);
    const auto [raisedLeft, raisedRight] = edges();
    QVERIFY2(raisedLeft > raisedRight,
             qPrintable(QString("%1 %2").arg(raisedLeft).arg(raisedRight)));
}

void TestEditTarget::shortcutsInABoxDoNotPaste() {
    composeBothColours();
    choose(MenuBack);
    auto* box = byName<QLineEdit>(window_.get(), "txtGrün");
    box->setFocus();
    QGuiApplication::clipboard()->setText("7");
    QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
    verifyState(true);
    QCOMPARE(box->text(), "128"); // the text colour's green, nothing pasted
    QTest::keyClick(box, Qt::Key_I, Qt::ControlModifier);
    verifyState(false);
    QCOMPARE(box->text(), "100");
}

void TestEditTarget::sampleClickKeepsTheTarget() {
    composeBothColours();
    // The font dialog that the click opens is someone else's concern; only the target matters.
    sample()->disconnect(window_.get());
    QTest::mouseClick(sample(), Qt::LeftButton);
    verifyState(true);
    choose(MenuBack);
    QTest::mouseClick(sample(), Qt::LeftButton);
    verifyState(false);
}

QTEST_MAIN(TestEditTarget)
#include "test_edit_target.moc"
