#include "window_driver.h"

#include <QAbstractButton>
#include <QAction>
#include <QClipboard>
#include <QSignalSpy>

using namespace pigmora;
using test::byName;

// Every menu shortcut runs its menu item from anywhere in the window, also while a decimal box
// has the focus, where a line edit would otherwise take some of these keys for itself.
class TestMenuShortcuts : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { test::setUpOnce(); }
    void init();
    void cleanup() { window_.window.reset(); }

    void shortcutReachesItem_data();
    void shortcutReachesItem();
    void boxDoesNotCopyOrPaste();
    void accessKeysPressButtons_data();
    void accessKeysPressButtons();

private:
    test::WindowUnderTest window_;
};

void TestMenuShortcuts::init() {
    window_.fresh();
    QVERIFY(window_.open());
}

void TestMenuShortcuts::shortcutReachesItem_data() {
    QTest::addColumn<QString>("action");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QString>("focus");
    const int ctrl = Qt::ControlModifier;
    for (const char* focus : {"txtRot", "txtGrün", "sldBlau", "cmbFarbe"}) {
        const auto row = [focus](const char* action, int key, int modifiers) {
            QTest::addRow("%s in %s", action, focus)
                << QString(action) << key << modifiers << QString::fromUtf8(focus);
        };
        row("mnuDez", Qt::Key_D, ctrl);
        row("mnuHex", Qt::Key_H, ctrl);
        row("mnuVorder", Qt::Key_V, ctrl);
        row("mnuHinter", Qt::Key_I, ctrl);
        row("mnuSchrift", Qt::Key_S, ctrl);
        row("mnuKopieren", Qt::Key_C, ctrl);
        row("mnuWahl", Qt::Key_W, ctrl);
        row("mnuHilfe", Qt::Key_F1, 0);
        row("mnuInfo", Qt::Key_F1, Qt::ShiftModifier);
        row("mnuKontrast", Qt::Key_K, ctrl);
        row("mnuBildschirm", Qt::Key_B, ctrl);
        row("mnuRaster", Qt::Key_R, ctrl);
        row("mnuBild", Qt::Key_B, ctrl | Qt::ShiftModifier);
        row("mnuPaar", Qt::Key_P, ctrl | Qt::ShiftModifier);
        row("mnuExportieren", Qt::Key_E, ctrl);
        row("mnuCssEinfügen", Qt::Key_V, ctrl | Qt::ShiftModifier);
    }
}

void TestMenuShortcuts::shortcutReachesItem() {
    QFETCH(QString, action);
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(QString, focus);
    auto* item = byName<QAction>(window_.get(), action);
    // Only observe that the item fires; its command is not wanted here.
    item->disconnect(window_.get());
    QSignalSpy triggered(item, &QAction::triggered);
    auto* target = byName(window_.get(), focus);
    target->setFocus();
    QTest::keyClick(target, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QCOMPARE(triggered.count(), 1);
}

void TestMenuShortcuts::boxDoesNotCopyOrPaste() {
    for (QAction* a : {byName<QAction>(window_.get(), "mnuKopieren"),
                       byName<QAction>(window_.get(), "mnuVorder")})
        a->disconnect(window_.get());
    auto* box = byName<QLineEdit>(window_.get(), "txtRot");
    box->setFocus();
    QTest::keyClicks(box, "12");
    QGuiApplication::clipboard()->setText("99");
    box->selectAll();
    QTest::keyClick(box, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QGuiApplication::clipboard()->text(), "99"); // the box did not copy "12"
    QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(box->text(), "12"); // nor paste "99"
}

void TestMenuShortcuts::accessKeysPressButtons_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("focus");
    for (const char* focus : {"txtRot", "txtBlau", "sldGrün", "cmbFarbe"}) {
        QTest::addRow("Alt+N in %s", focus) << "cmdNeueFarbe" << int(Qt::Key_N) << focus;
        QTest::addRow("Alt+L in %s", focus) << "cmdWeg" << int(Qt::Key_L) << focus;
    }
}

void TestMenuShortcuts::accessKeysPressButtons() {
    QFETCH(QString, button);
    QFETCH(int, key);
    QFETCH(QString, focus);
    auto* b = byName<QAbstractButton>(window_.get(), button);
    b->disconnect(window_.get());
    QSignalSpy clicked(b, &QAbstractButton::clicked);
    auto* target = byName(window_.get(), QString::fromUtf8(focus.toUtf8()));
    target->setFocus();
    QTest::keyClick(target, Qt::Key(key), Qt::AltModifier);
    QTRY_COMPARE(clicked.count(), 1); // an access key animates the click first
    if (auto* box = qobject_cast<QLineEdit*>(target))
        QCOMPARE(box->text(), "0");
}

QTEST_MAIN(TestMenuShortcuts)
#include "test_menu_shortcuts.moc"
