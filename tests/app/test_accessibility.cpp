#include "window_driver.h"

#include "about/about_window.h"
#include "app/menu_tree.h"
#include "app/status_bar.h"
#include "contrast_window/contrast_window.h"

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
    void sampleDescribesItsPair();
    void shapes_data();
    void shapes();
    void pressesRunAfterTheCall_data();
    void pressesRunAfterTheCall();

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

void TestAccessibility::sampleDescribesItsPair() {
    QWidget* sample = byName(window_.get(), "lblTest");
    QCOMPARE(sample->accessibleDescription(), "Text #000000 auf #000000, Kontrast 1,00:1");
    test::typeColour(window_.get(), 255, 255, 255); // the background
    QTest::keyClick(window_.get(), Qt::Key_V, Qt::ControlModifier);
    test::typeColour(window_.get(), 0x77, 0x77, 0x77);
    QCOMPARE(sample->accessibleDescription(), "Text #777777 auf #FFFFFF, Kontrast 4,47:1");
}

namespace {

QStringList childNames(QAccessibleInterface* a) {
    QStringList names;
    for (int i = 0; i < a->childCount(); ++i)
        names << a->child(i)->object()->objectName();
    return names;
}

} // namespace

// Roles, and which children a screen reader meets: captions whose text is already in another
// control's name are left out, nothing else.
void TestAccessibility::shapes_data() {
    QTest::addColumn<QString>("control");
    QTest::addColumn<int>("role");
    QTest::addColumn<QStringList>("children");    // some that are there
    QTest::addColumn<QStringList>("notChildren"); // and some that are not
    QTest::newRow("contrast window")
        << "frmKontrast" << int(QAccessible::Window) << QStringList{"fraWcag", "cmdSchließen"}
        << QStringList{"lblWcag", "lblVorschlag"};
    QTest::newRow("section") << "fraWcag" << int(QAccessible::Grouping)
                             << QStringList{"lblVerhältnis", "lblAA"}
                             << QStringList{"lblVerhältnisTitel", "lblAATitel"};
    QTest::newRow("offers") << "fraVorschlag" << int(QAccessible::Grouping)
                            << QStringList{"lblAAHinweis", "cmdAAHeller"}
                            << QStringList{"lblAAStufe", "lblAAHellerFarbe", "lblAAHellerHex"};
    QTest::newRow("status bar") << "StatusBar1" << int(QAccessible::StatusBar) << QStringList{}
                                << QStringList{};
    QTest::newRow("client area") << "clientArea" << int(QAccessible::Client)
                                 << QStringList{"sldRot", "lblTest"}
                                 << QStringList{"lblRot", "lblVorschau"};
}

void TestAccessibility::shapes() {
    QFETCH(QString, control);
    QTest::keyClick(window_.get(), Qt::Key_K, Qt::ControlModifier);
    QObject* widget = control == "frmKontrast" ? window_->findChild<QObject*>(control)
                                               : byName(window_.get(), control);
    QVERIFY(widget);
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(widget);
    QVERIFY(a);
    QTEST(int(a->role()), "role");
    const QStringList met = childNames(a);
    QFETCH(QStringList, children);
    for (const QString& child : children)
        QVERIFY2(met.contains(child), qPrintable(child));
    QFETCH(QStringList, notChildren);
    for (const QString& child : notChildren)
        QVERIFY2(!met.contains(child), qPrintable(child));
    for (int i = 0; i < a->childCount(); ++i)
        QCOMPARE(a->indexOfChild(a->child(i)), i);
}

// An assistive technology's press returns before the command runs, so a modal dialog does not
// hold it; the command then runs as a click would run it.
void TestAccessibility::pressesRunAfterTheCall_data() {
    QTest::addColumn<QString>("control");
    QTest::newRow("menu item") << "mnuVorder";
    QTest::newRow("status panel") << "StatusBar1";
}

void TestAccessibility::pressesRunAfterTheCall() {
    QFETCH(QString, control);
    QObject* target = control == "mnuVorder"
                          ? static_cast<QObject*>(window_->menus().mnuVorder)
                          : static_cast<QObject*>(window_->controls().StatusBar1->panel(1));
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(target);
    QVERIFY(a && a->actionInterface());
    QVERIFY(
        a->actionInterface()->actionNames().contains(QAccessibleActionInterface::pressAction()));
    QCOMPARE(window_->state().bytziel, 2);
    a->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    QCOMPARE(window_->state().bytziel, 2);
    QCoreApplication::processEvents();
    QCOMPARE(window_->state().bytziel, 1);
    QVERIFY(window_->menus().mnuVorder->isChecked());
    if (control == "StatusBar1")
        QVERIFY(!a->state().checked); // pressed in only while the background is edited
}

QTEST_MAIN(TestAccessibility)
#include "test_accessibility.moc"
