#include "window_driver.h"

#include "app/channel_slider.h"

#include <QAction>
#include <QClipboard>
#include <QStyle>
#include <QStyleOptionSlider>

using namespace pigmora;
using test::byName;

namespace {

struct ChannelNames {
    QString slider, box, hex;
};

ChannelNames namesOf(const QString& channel) {
    return {"sld" + channel, "txt" + channel, "txt" + channel + "Hex"};
}

int shift(const QString& channel) {
    return channel == "Rot" ? 0 : channel == "Grün" ? 8 : 16;
}

} // namespace

class TestChannelControls : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { test::setUpOnce(); }
    void init();
    void cleanup() { window_.window.reset(); }

    void sliderKeys_data();
    void sliderKeys();
    void sliderMouse();
    void programWriteRaisesNoScroll();
    void typedDigits_data();
    void typedDigits();
    void keyFilterDropsCharacters_data();
    void keyFilterDropsCharacters();
    void editingCommandsAreFiltered_data();
    void editingCommandsAreFiltered();
    void pastedText_data();
    void pastedText();
    void onlyTheTargetColourChanges_data();
    void onlyTheTargetColourChanges();
    void numberMode_data();
    void numberMode();
    void hexBoxIsDisplayOnly();

private:
    // Checks that slider, both boxes and the painted channel agree on `value`.
    void verifyInStep(const QString& channel, int value);
    QWidget* w(const QString& name) { return byName(window_.get(), name); }

    test::WindowUnderTest window_;
};

void TestChannelControls::init() {
    window_.fresh();
    QVERIFY(window_.open());
}

void TestChannelControls::verifyInStep(const QString& channel, int value) {
    const ChannelNames n = namesOf(channel);
    QCOMPARE(byName<QSlider>(window_.get(), n.slider)->value(), value);
    QCOMPARE(test::text(window_.get(), n.box), QString::number(value));
    QCOMPARE(test::text(window_.get(), n.hex), QString::number(value, 16).toUpper());
    // The background is the edit target at start.
    QCOMPARE(int((backColour(w("lblTest")) >> shift(channel)) & 0xFF), value);
}

void TestChannelControls::sliderKeys_data() {
    QTest::addColumn<QString>("channel");
    QTest::addColumn<QList<int>>("keys");
    QTest::addColumn<int>("value");
    QTest::newRow("right arrow") << "Rot" << QList<int>{Qt::Key_Right} << 1;
    QTest::newRow("page up") << "Blau" << QList<int>{Qt::Key_PageUp} << 5;
    QTest::newRow("end") << "Grün" << QList<int>{Qt::Key_End} << 255;
    QTest::newRow("end then home") << "Grün" << QList<int>{Qt::Key_End, Qt::Key_Home} << 0;
    QTest::newRow("left at the start stays") << "Rot" << QList<int>{Qt::Key_Left} << 0;
    QList<int> to128(25, Qt::Key_PageUp);
    to128 << Qt::Key_Right << Qt::Key_Right << Qt::Key_Right;
    QTest::newRow("green to 128") << "Grün" << to128 << 128;
}

void TestChannelControls::sliderKeys() {
    QFETCH(QString, channel);
    QFETCH(QList<int>, keys);
    QFETCH(int, value);
    auto* slider = byName<QSlider>(window_.get(), namesOf(channel).slider);
    slider->setFocus();
    for (int key : keys)
        QTest::keyClick(slider, Qt::Key(key));
    verifyInStep(channel, value);
    QCOMPARE(foreColour(w("lblTest")), 0u); // the text colour is not the target
    QCOMPARE(backColour(w("lblTest")), ColourValue(value) << shift(channel));
}

void TestChannelControls::sliderMouse() {
    auto* slider = byName<QSlider>(window_.get(), "sldRot");
    // A click beside the thumb moves it by a large step towards the click, wherever on the
    // height of the slider it lands.
    QTest::mouseClick(slider, Qt::LeftButton, {},
                      QPoint(slider->width() / 2, slider->height() - 2));
    verifyInStep("Rot", 5);
    QTest::mouseClick(slider, Qt::LeftButton, {}, QPoint(slider->width() / 2, 2));
    verifyInStep("Rot", 10);
    QTest::mouseClick(slider, Qt::LeftButton, {}, QPoint(0, slider->height() / 2));
    verifyInStep("Rot", 5);

    // Dragging the thumb to the right end.
    QStyleOptionSlider option;
    option.initFrom(slider);
    option.orientation = Qt::Horizontal;
    option.maximum = 255;
    option.sliderPosition = option.sliderValue = slider->value();
    option.tickPosition = slider->tickPosition();
    const QRect handle = slider->style()->subControlRect(QStyle::CC_Slider, &option,
                                                         QStyle::SC_SliderHandle, slider);
    const QPoint end(slider->width() - 1, handle.center().y());
    QTest::mousePress(slider, Qt::LeftButton, {}, handle.center());
    QTest::mouseMove(slider, end);
    QTest::mouseRelease(slider, Qt::LeftButton, {}, end);
    verifyInStep("Rot", 255);
}

void TestChannelControls::programWriteRaisesNoScroll() {
    auto* slider = byName<ChannelSlider>(window_.get(), "sldBlau");
    int scrolls = 0;
    connect(slider, &ChannelSlider::scrolled, this, [&] { ++scrolls; });
    slider->setValue(77);
    QCOMPARE(scrolls, 0);
    QCOMPARE(test::text(window_.get(), "txtBlau"), "0"); // nothing else followed
    slider->setFocus();
    QTest::keyClick(slider, Qt::Key_Right);
    QCOMPARE(scrolls, 1);
    verifyInStep("Blau", 78);
}

void TestChannelControls::typedDigits_data() {
    QTest::addColumn<QString>("channel");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("value");
    QTest::newRow("one digit replaces the leading zero") << "Rot"
                                                         << "7" << 7;
    QTest::newRow("three digits") << "Grün"
                                  << "128" << 128;
    QTest::newRow("above 255 becomes 255") << "Blau"
                                           << "300" << 255;
    QTest::newRow("999 becomes 255") << "Rot"
                                     << "999" << 255;
    QTest::newRow("fourth digit refused") << "Grün"
                                          << "1234" << 123;
    QTest::newRow("leading zeros vanish") << "Blau"
                                          << "0007" << 7;
}

void TestChannelControls::typedDigits() {
    QFETCH(QString, channel);
    QFETCH(QString, typed);
    QFETCH(int, value);
    auto* box = byName<QLineEdit>(window_.get(), namesOf(channel).box);
    box->setFocus();
    box->end(false);
    QTest::keyClicks(box, typed);
    verifyInStep(channel, value);
}

void TestChannelControls::keyFilterDropsCharacters_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("text");
    QTest::newRow("letter") << int(Qt::Key_A) << "a";
    QTest::newRow("minus") << int(Qt::Key_Minus) << "-";
    QTest::newRow("point") << int(Qt::Key_Period) << ".";
    QTest::newRow("comma") << int(Qt::Key_Comma) << ",";
    QTest::newRow("blank") << int(Qt::Key_Space) << " ";
    QTest::newRow("enter") << int(Qt::Key_Return) << "\r";
    QTest::newRow("escape") << int(Qt::Key_Escape) << "\x1b";
    QTest::newRow("umlaut") << int(Qt::Key_Adiaeresis) << "ä";
}

void TestChannelControls::keyFilterDropsCharacters() {
    QFETCH(int, key);
    QFETCH(QString, text);
    auto* box = byName<QLineEdit>(window_.get(), "txtGrün");
    box->setFocus();
    QTest::keyClicks(box, "42");
    const ColourValue colour = backColour(w("lblTest"));
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(box, &press);
    QCOMPARE(box->text(), "42");
    QCOMPARE(backColour(w("lblTest")), colour);
    verifyInStep("Grün", 42);
    // Backspace passes.
    QTest::keyClick(box, Qt::Key_Backspace);
    verifyInStep("Grün", 4);
    QTest::keyClick(box, Qt::Key_Backspace);
    verifyInStep("Grün", 0); // an emptied box shows "0"
}

void TestChannelControls::editingCommandsAreFiltered_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QString>("text");
    const int ctrl = Qt::ControlModifier;
    QTest::newRow("Ctrl+X does not cut") << int(Qt::Key_X) << ctrl << "\x18";
    QTest::newRow("Ctrl+Z does not undo") << int(Qt::Key_Z) << ctrl << "\x1a";
    QTest::newRow("Ctrl+A types nothing") << int(Qt::Key_A) << ctrl << "\x01";
    QTest::newRow("Ctrl+Backspace deletes no word") << int(Qt::Key_Backspace) << ctrl << "\x7f";
    QTest::newRow("AltGr character")
        << int(Qt::Key_At) << int(Qt::ControlModifier | Qt::AltModifier) << "@";
    QTest::newRow("character outside the basic plane") << 0 << 0 << "😀";
}

void TestChannelControls::editingCommandsAreFiltered() {
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(QString, text);
    auto* box = byName<QLineEdit>(window_.get(), "txtRot");
    box->setFocus();
    QTest::keyClicks(box, "12");
    box->selectAll();
    QGuiApplication::clipboard()->setText("unverändert");
    QKeyEvent press(QEvent::KeyPress, key, Qt::KeyboardModifiers(modifiers), text);
    QApplication::sendEvent(box, &press);
    QCOMPARE(box->text(), "12");
    QCOMPARE(QGuiApplication::clipboard()->text(), "unverändert");
    verifyInStep("Rot", 12);
    // Keys that type nothing keep their usual effect.
    QTest::keyClick(box, Qt::Key_Home);
    QTest::keyClick(box, Qt::Key_Delete);
    verifyInStep("Rot", 2);
}

void TestChannelControls::pastedText_data() {
    QTest::addColumn<QString>("pasted");
    QTest::addColumn<int>("value");
    QTest::newRow("1.5 rounds to 2") << "1.5" << 2;
    QTest::newRow("2.5 rounds to even 2") << "2.5" << 2;
    QTest::newRow("9ab keeps 9") << "9ab" << 9;
    QTest::newRow("abc reads 0") << "abc" << 0;
    QTest::newRow("negative becomes 0") << "-5" << 0;
    QTest::newRow("hexadecimal") << "&HF" << 15;
    QTest::newRow("exponent above range") << "1E9" << 255;
    QTest::newRow("longer text is cut to three") << "12345" << 123;
}

void TestChannelControls::pastedText() {
    QFETCH(QString, pasted);
    QFETCH(int, value);
    auto* box = byName<QLineEdit>(window_.get(), "txtRot");
    box->setFocus();
    QTest::keyClicks(box, "77");
    QGuiApplication::clipboard()->setText(pasted);
    box->selectAll();
    box->paste();
    verifyInStep("Rot", value);
}

void TestChannelControls::onlyTheTargetColourChanges_data() {
    QTest::addColumn<int>("target");
    QTest::addColumn<bool>("textColour");
    QTest::newRow("1 edits the text colour") << 1 << true;
    QTest::newRow("2 edits the background") << 2 << false;
    QTest::newRow("0 counts as background") << 0 << false;
    QTest::newRow("3 counts as background") << 3 << false;
}

void TestChannelControls::onlyTheTargetColourChanges() {
    QFETCH(int, target);
    QFETCH(bool, textColour);
    auto* sample = w("lblTest");
    setForeColour(sample, 0x123456);
    setBackColour(sample, 0x654321);
    window_->state().bytziel = std::uint8_t(target);
    auto* box = byName<QLineEdit>(window_.get(), "txtGrün");
    box->setFocus();
    QTest::keyClicks(box, "255");
    // The painted colour is the three sliders: green 255, red and blue still 0.
    const ColourValue painted = 0x00FF00;
    QCOMPARE(foreColour(sample), textColour ? painted : 0x123456u);
    QCOMPARE(backColour(sample), textColour ? 0x654321u : painted);
}

void TestChannelControls::numberMode_data() {
    QTest::addColumn<QString>("how");
    QTest::newRow("menu") << "menu";
    QTest::newRow("shortcut") << "shortcut";
    QTest::newRow("label click") << "label";
}

void TestChannelControls::numberMode() {
    QFETCH(QString, how);
    auto* dez = byName<QAction>(window_.get(), "mnuDez");
    auto* hex = byName<QAction>(window_.get(), "mnuHex");
    const auto choose = [&](bool hexMode) {
        if (how == "menu")
            (hexMode ? hex : dez)->trigger();
        else if (how == "shortcut")
            QTest::keyClick(window_.get(), hexMode ? Qt::Key_H : Qt::Key_D, Qt::ControlModifier);
        else
            QTest::mouseClick(w(hexMode ? "lblHex" : "lblDez"), Qt::LeftButton);
    };
    auto* box = byName<QLineEdit>(window_.get(), "txtBlau");
    box->setFocus();
    QTest::keyClicks(box, "200");
    const ColourValue fore = foreColour(w("lblTest"));
    const ColourValue back = backColour(w("lblTest"));

    for (int round = 0; round < 2; ++round) { // repeating a mode changes nothing further
        choose(true);
        QCOMPARE(window_->state().bytmodus, 2);
        QVERIFY(hex->isChecked());
        QVERIFY(!dez->isChecked());
        QCOMPARE(foreColour(w("lblDez")), 0x808080u);
        QCOMPARE(foreColour(w("lblHex")), 0x000000u);
    }
    verifyInStep("Blau", 200);
    for (int round = 0; round < 2; ++round) {
        choose(false);
        QCOMPARE(window_->state().bytmodus, 1);
        QVERIFY(!hex->isChecked());
        QVERIFY(dez->isChecked());
        QCOMPARE(foreColour(w("lblDez")), 0x000000u);
        QCOMPARE(foreColour(w("lblHex")), 0x808080u);
    }
    verifyInStep("Blau", 200);
    QCOMPARE(foreColour(w("lblTest")), fore);
    QCOMPARE(backColour(w("lblTest")), back);
    QVERIFY(byName(window_.get(), "txtRotHex")->isVisible());
}

void TestChannelControls::hexBoxIsDisplayOnly() {
    auto* hex = byName<QLineEdit>(window_.get(), "txtRotHex");
    hex->setText("FF");
    QCOMPARE(byName<QSlider>(window_.get(), "sldRot")->value(), 0);
    QCOMPARE(backColour(w("lblTest")), 0u);
    auto* box = byName<QLineEdit>(window_.get(), "txtRot");
    box->setFocus();
    QTest::keyClicks(box, "16");
    verifyInStep("Rot", 16); // the next change of the channel replaced it with "10"
}

QTEST_MAIN(TestChannelControls)
#include "test_channel_controls.moc"
