#include "eyedropper/pixel_picking.h"
#include "eyedropper/portal_answer.h"

#include <QTest>
#include <cmath>
#include <limits>

using namespace pigmora;

Q_DECLARE_METATYPE(pigmora::Rgb)

// The eyedropper's widget-free parts: which device pixel a position names and where the keys
// move it, and the check of the portal's colour.
class TestEyedropper : public QObject {
    Q_OBJECT
private slots:
    void pixelUnderPosition_data();
    void pixelUnderPosition();
    void keyboardMoves_data();
    void keyboardMoves();
    void portalComponents_data();
    void portalComponents();
};

void TestEyedropper::pixelUnderPosition_data() {
    QTest::addColumn<QRect>("geometry");
    QTest::addColumn<double>("ratio");
    QTest::addColumn<QPointF>("logical");
    QTest::addColumn<QPoint>("pixel");
    const QRect plain(0, 0, 100, 50);
    QTest::newRow("ratio 1, fraction") << plain << 1.0 << QPointF(10.9, 20.5) << QPoint(10, 20);
    QTest::newRow("ratio 2") << plain << 2.0 << QPointF(10, 20) << QPoint(20, 40);
    // Qt reports native pixel 21 at scale 2 as 10.5: the odd device pixel, not 20.
    QTest::newRow("ratio 2, odd pixel") << plain << 2.0 << QPointF(10.5, 20.5) << QPoint(21, 41);
    QTest::newRow("ratio 2, a hair below")
        << plain << 2.0 << QPointF(std::nextafter(10.5, 0.0), 0) << QPoint(21, 0);
    QTest::newRow("ratio 1.5") << plain << 1.5 << QPointF(11, 3) << QPoint(16, 4);
    // A second screen to the right keeps its own origin.
    const QRect right(100, 0, 100, 50);
    QTest::newRow("second screen") << right << 2.0 << QPointF(100.5, 1) << QPoint(1, 2);
    QTest::newRow("left of the screen") << right << 2.0 << QPointF(80, -5) << QPoint(0, 0);
    QTest::newRow("past the edge") << plain << 2.0 << QPointF(100, 50) << QPoint(199, 99);
    QTest::newRow("not a number") << plain << 1.0 << QPointF(qQNaN(), 3) << QPoint(0, 3);
}

void TestEyedropper::pixelUnderPosition() {
    QFETCH(QRect, geometry);
    QFETCH(double, ratio);
    QFETCH(QPointF, logical);
    QFETCH(QPoint, pixel);
    const ScreenPicture picture{QImage(geometry.size() * ratio, QImage::Format_RGB32), geometry,
                                ratio, nullptr};
    QCOMPARE(devicePixelAt(picture, logical), pixel);
    // And back: the centre of a pixel names that pixel.
    QCOMPARE(devicePixelAt(picture, logicalCentreOf(picture, pixel)), pixel);
}

void TestEyedropper::keyboardMoves_data() {
    QTest::addColumn<QPoint>("from");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QPoint>("to"); // (-1, -1): the key is no move
    QTest::newRow("left") << QPoint(5, 5) << "Left" << QPoint(4, 5);
    QTest::newRow("shift down") << QPoint(5, 5) << "Shift+Down" << QPoint(5, 15);
    QTest::newRow("kept at the left") << QPoint(0, 5) << "Left" << QPoint(0, 5);
    QTest::newRow("shift kept at the left") << QPoint(3, 5) << "Shift+Left" << QPoint(0, 5);
    QTest::newRow("shift kept at the bottom") << QPoint(5, 45) << "Shift+Down" << QPoint(5, 49);
    QTest::newRow("ctrl is no move") << QPoint(5, 5) << "Ctrl+Right" << QPoint(-1, -1);
    QTest::newRow("a letter") << QPoint(5, 5) << "A" << QPoint(-1, -1);
}

void TestEyedropper::keyboardMoves() {
    QFETCH(QPoint, from);
    QFETCH(QString, key);
    const QKeyCombination k = QKeySequence::fromString(key)[0];
    const auto moved = movedPixel(from, k.key(), k.keyboardModifiers(), QSize(100, 50));
    QTEST(moved.value_or(QPoint(-1, -1)), "to");
}

// What the portal may send as a colour, hostile values included.
void TestEyedropper::portalComponents_data() {
    QTest::addColumn<double>("red");
    QTest::addColumn<double>("green");
    QTest::addColumn<double>("blue");
    QTest::addColumn<Rgb>("colour");
    QTest::addColumn<QString>("named"); // a part of the message; empty: the colour is taken
    const double inf = std::numeric_limits<double>::infinity();
    const double eps = std::numeric_limits<double>::epsilon();
    const auto row = [](const char* name, double r, double g, double b, Rgb c, const char* n) {
        QTest::newRow(name) << r << g << b << c << QString::fromUtf8(n);
    };
    row("rounded, half up", 0.5, 127.4 / 255, 1, {128, 127, 255}, "");
    row("a few ulps outside", 1 + 2 * eps, -2 * eps, -0.0, {255, 0, 0}, "");
    row("1.7", 1.7, 0, 0, {}, "Rot 1,7");
    row("-0.3", 0, -0.3, 0, {}, "Grün -0,3");
    row("NaN", 0, 0, qQNaN(), {}, "Blau keine Zahl");
    row("infinity", inf, 0, 0, {}, "Rot unendlich");
    row("minus infinity", 0, -inf, 0, {}, "Grün minus unendlich");
    row("just too far above 1", 1 + 1e-9, 0, 0, {}, "Rot 1");
    row("255 instead of 1", 255, 255, 255, {}, "Rot 255");
}

void TestEyedropper::portalComponents() {
    QFETCH(double, red);
    QFETCH(double, green);
    QFETCH(double, blue);
    QFETCH(QString, named);
    const PortalAnswer a = answerFromComponents(red, green, blue);
    QCOMPARE(a.kind, named.isEmpty() ? PortalAnswer::Kind::Colour : PortalAnswer::Kind::Failed);
    if (named.isEmpty()) {
        QTEST(a.colour, "colour");
    } else {
        QVERIFY2(a.message.contains(named), qPrintable(a.message));
        QVERIFY(a.message.contains("Farbe aus Bild..."));
    }
}

QTEST_GUILESS_MAIN(TestEyedropper)
#include "test_eyedropper.moc"
