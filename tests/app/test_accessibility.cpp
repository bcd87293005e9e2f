#include "window_driver.h"

#include "about/about_window.h"

#include <QAccessible>
#include <QAccessibleValueInterface>

using namespace pigmora;
using test::byName;

// What a screen reader learns about the controls: a name after the label beside each, a role,
// and the current value of sliders and boxes.
class TestAccessibility : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { test::setUpOnce(); }
    void init();
    void cleanup() { window_.window.reset(); }

    void names_data();
    void names();
    void valuesFollowTheChannels();
    void aboutWindowNames();

private:
    test::WindowUnderTest window_;
};

void TestAccessibility::init() {
    window_.fresh();
    QVERIFY(window_.open());
}

void TestAccessibility::names_data() {
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("role");
    const auto row = [](const char* control, const char* name, QAccessible::Role role) {
        QTest::newRow(control) << QString::fromUtf8(control) << QString::fromUtf8(name)
                               << int(role);
    };
    for (const char* channel : {"Rot", "Grün", "Blau"}) {
        const QByteArray c(channel);
        QTest::newRow("sld" + c) << QString::fromUtf8("sld" + c) << QString::fromUtf8(c)
                                 << int(QAccessible::Slider);
        QTest::newRow("txt" + c) << QString::fromUtf8("txt" + c) << QString::fromUtf8(c + " Dez")
                                 << int(QAccessible::EditableText);
        QTest::newRow("txt" + c + "Hex")
            << QString::fromUtf8("txt" + c + "Hex") << QString::fromUtf8(c + " Hex")
            << int(QAccessible::EditableText);
        QTest::newRow("lbl" + c) << QString::fromUtf8("lbl" + c) << QString::fromUtf8(c)
                                 << int(QAccessible::StaticText);
    }
    row("lblTest", "Vorschau", QAccessible::StaticText);
    row("lblVorschau", "Vorschau:", QAccessible::StaticText);
    row("lblDez", "Dez", QAccessible::StaticText);
    row("lblHex", "Hex", QAccessible::StaticText);
    row("cmdNeueFarbe", "Neu", QAccessible::Button);
    row("cmdWeg", "löschen", QAccessible::Button);
    row("cmbFarbe", "Farbschema", QAccessible::ComboBox);
}

void TestAccessibility::names() {
    QFETCH(QString, control);
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(byName(window_.get(), control));
    QVERIFY(a);
    QTEST(a->text(QAccessible::Name), "name");
    QTEST(int(a->role()), "role");
}

void TestAccessibility::valuesFollowTheChannels() {
    test::typeColour(window_.get(), 200, 128, 5);
    const auto value = [this](const char* control) {
        return QAccessible::queryAccessibleInterface(
            byName(window_.get(), QString::fromUtf8(control)));
    };
    QAccessibleValueInterface* slider = value("sldGrün")->valueInterface();
    QVERIFY(slider);
    QCOMPARE(slider->currentValue().toInt(), 128);
    QCOMPARE(slider->minimumValue().toInt(), 0);
    QCOMPARE(slider->maximumValue().toInt(), 255);
    QCOMPARE(value("txtRot")->text(QAccessible::Value), "200");
    QCOMPARE(value("txtBlauHex")->text(QAccessible::Value), "5");
    QCOMPARE(value("txtGrünHex")->text(QAccessible::Value), "80");
    // A slider can be set through its accessible value too, and the boxes follow.
    slider->setCurrentValue(64);
    QCOMPARE(test::text(window_.get(), "txtGrün"), "64");
}

void TestAccessibility::aboutWindowNames() {
    auto* about = new frmAbout(window_.get());
    about->setAttribute(Qt::WA_DeleteOnClose);
    for (const auto& [control, name] : {std::pair{"picIcon", "Pigmora-Symbol"},
                                        {"cmdOK", "OK"},
                                        {"cmdSysInfo", "Systeminfo..."},
                                        {"lblTitle", "Pigmora"},
                                        {"lblVersion", "Version 1.0.0"}}) {
        QAccessibleInterface* a =
            QAccessible::queryAccessibleInterface(byName(about, QString::fromUtf8(control)));
        QVERIFY(a);
        QCOMPARE(a->text(QAccessible::Name), QString::fromUtf8(name));
    }
    about->close();
}

QTEST_MAIN(TestAccessibility)
#include "test_accessibility.moc"
