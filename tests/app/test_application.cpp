#include "window_driver.h"

#include <QFile>
#include <QProxyStyle>
#include <QStyle>

using namespace pigmora;

// What the application set-up does for the start: pictures are read without loading Qt's image
// format plugins, and the style still gives every icon it gave before.
class TestApplication : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { test::setUpOnce(); }
    // First, while nothing else has drawn any picture in this process.
    void startingLoadsNoImagePlugin();
    void extensionButtonIconsAreTheStylesOwn_data();
    void extensionButtonIconsAreTheStylesOwn();
};

void TestApplication::startingLoadsNoImagePlugin() {
    test::WindowUnderTest window;
    QVERIFY(window.open());
    QFile maps(QStringLiteral("/proc/self/maps"));
    QVERIFY(maps.open(QIODevice::ReadOnly));
    const QByteArray mapped = maps.readAll();
    QVERIFY(mapped.contains("libQt6Widgets")); // the list is what it seems
    QVERIFY2(!mapped.contains("/imageformats/"), "an image format plugin was loaded");
}

void TestApplication::extensionButtonIconsAreTheStylesOwn_data() {
    QTest::addColumn<QStyle::StandardPixmap>("which");
    QTest::newRow("horizontal") << QStyle::SP_ToolBarHorizontalExtensionButton;
    QTest::newRow("vertical") << QStyle::SP_ToolBarVerticalExtensionButton;
    QTest::newRow("an icon made at once") << QStyle::SP_MessageBoxWarning;
}

void TestApplication::extensionButtonIconsAreTheStylesOwn() {
    QFETCH(QStyle::StandardPixmap, which);
    auto* style = dynamic_cast<QProxyStyle*>(QApplication::style());
    QVERIFY(style);
    const QIcon icon = style->standardIcon(which);
    const QIcon own = style->baseStyle()->standardIcon(which);
    QCOMPARE(icon.availableSizes(), own.availableSizes());
    for (int size : {8, 16, 32}) {
        const QImage image = icon.pixmap(size).toImage();
        QVERIFY(!image.isNull());
        QCOMPARE(image, own.pixmap(size).toImage());
    }
}

QTEST_MAIN(TestApplication)
#include "test_application.moc"
