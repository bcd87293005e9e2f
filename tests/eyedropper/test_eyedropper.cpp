#include "eyedropper/pixel_picking.h"
#include "eyedropper/portal_answer.h"

#include <QTest>
#include <cmath>
#include <limits>

using namespace pigmora;

Q_DECLARE_METATYPE(pigmora::Rgb)

// The eyedropper's widget-free parts: which device pixel a position names, the keyboard moves,
// the magnifier's samples, what it says, and the check of the portal's colour.
class TestEyedropper : public QObject {
    Q_OBJECT
private slots:
    void pixelUnderPosition_data();
    void pixelUnderPosition();
    void keyboardMoves_data();
    void keyboardMoves();
    void magnifierAtTheEdges();
    void description();
    void portalComponents_data();
    void portalComponents();
    void portalCodes();
};

void TestEyedropper::pixelUnderPosition_data() {
    QTest::addColumn<QRect>("geometry");
    QTest::addColumn<double>("ratio");
    QTest::addColumn<QPointF>("logical");
    QTest::addColumn<QPoint>("pixel");
    const QRect plain(0, 0, 100, 50);
    QTest::newRow("ratio 1") << plain << 1.0 << QPointF(10, 20) << QPoint(10, 20);
    QTest::newRow("ratio 1, fraction") << plain << 1.0 << QPointF(10.9, 20.5) << QPoint(10, 20);
    QTest::newRow("ratio 2, whole") << plain << 2.0 << QPointF(10, 20) << QPoint(20, 40);
    // Qt reports native pixel 21 at scale 2 as 10.5: the odd device pixel, not 20.
    QTest::newRow("ratio 2, odd pixel") << plain << 2.0 << QPointF(10.5, 20.5) << QPoint(21, 41);
    QTest::newRow("ratio 2, a hair below")
        << plain << 2.0 << QPointF(std::nextafter(10.5, 0.0), 0) << QPoint(21, 0);
    QTest::newRow("ratio 1.5") << plain << 1.5 << QPointF(11, 3) << QPoint(16, 4);
    // A second screen to the right keeps its own origin in logical coordinates.
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
    QImage image(geometry.size() * ratio, QImage::Format_RGB32);
    const ScreenPicture picture{image, geometry, ratio, nullptr};
    QCOMPARE(devicePixelAt(picture, logical), pixel);
    // And back: the centre of a pixel names that pixel.
    QCOMPARE(devicePixelAt(picture, logicalCentreOf(picture, pixel)), pixel);
}

void TestEyedropper::keyboardMoves_data() {
    QTest::addColumn<QPoint>("from");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QPoint>("to"); // (-1, -1): the key is no move
    const int shift = Qt::ShiftModifier;
    QTest::newRow("right") << QPoint(5, 5) << int(Qt::Key_Right) << 0 << QPoint(6, 5);
    QTest::newRow("left") << QPoint(5, 5) << int(Qt::Key_Left) << 0 << QPoint(4, 5);
    QTest::newRow("up") << QPoint(5, 5) << int(Qt::Key_Up) << 0 << QPoint(5, 4);
    QTest::newRow("down, keypad") << QPoint(5, 5) << int(Qt::Key_Down) << int(Qt::KeypadModifier)
                                  << QPoint(5, 6);
    QTest::newRow("shift right") << QPoint(5, 5) << int(Qt::Key_Right) << shift << QPoint(15, 5);
    QTest::newRow("shift down") << QPoint(5, 5) << int(Qt::Key_Down) << shift << QPoint(5, 15);
    QTest::newRow("kept at the left") << QPoint(0, 5) << int(Qt::Key_Left) << 0 << QPoint(0, 5);
    QTest::newRow("shift kept at the left")
        << QPoint(3, 5) << int(Qt::Key_Left) << shift << QPoint(0, 5);
    QTest::newRow("shift kept at the bottom")
        << QPoint(5, 45) << int(Qt::Key_Down) << shift << QPoint(5, 49);
    QTest::newRow("ctrl is no move")
        << QPoint(5, 5) << int(Qt::Key_Right) << int(Qt::ControlModifier) << QPoint(-1, -1);
    QTest::newRow("a letter") << QPoint(5, 5) << int(Qt::Key_A) << 0 << QPoint(-1, -1);
}

void TestEyedropper::keyboardMoves() {
    QFETCH(QPoint, from);
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(QPoint, to);
    const auto moved = movedPixel(from, key, Qt::KeyboardModifiers(modifiers), QSize(100, 50));
    QCOMPARE(moved.value_or(QPoint(-1, -1)), to);
}

void TestEyedropper::magnifierAtTheEdges() {
    QImage image(20, 12, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, qRgb(x, y, 200));
    const struct {
        QPoint centre;
        int missingColumns; // on the left, or (negative) on the right
        int missingRows;    // above, or (negative) below
    } cases[] = {{{10, 5}, 0, 0}, {{0, 0}, 5, 5}, {{19, 9}, -5, -3}, {{2, 8}, 3, -2}};
    for (const auto& c : cases) {
        const MagnifierSamples s = magnifierSamples(image, c.centre);
        for (int row = 0; row < MagnifierSamples::side; ++row)
            for (int column = 0; column < MagnifierSamples::side; ++column) {
                const QPoint p = c.centre + QPoint(column - 5, row - 5);
                const auto& got = s.at(column, row);
                QCOMPARE(got.has_value(), image.rect().contains(p));
                if (got)
                    QCOMPARE(*got, (Rgb{ChannelValue(p.x()), ChannelValue(p.y()), 200}));
            }
        const int missing = std::count(s.pixels.begin(), s.pixels.end(), std::nullopt);
        const int columns = 11 - std::abs(c.missingColumns), rows = 11 - std::abs(c.missingRows);
        QCOMPARE(missing, 121 - columns * rows);
    }
}

void TestEyedropper::description() {
    // #777777 on white is 4.4776:1: cut, never rounded up to 4,48.
    QCOMPARE(pickDescription({0x77, 0x77, 0x77}, {255, 255, 255}),
             "#777777, Kontrast 4,47:1 zu #FFFFFF");
    QCOMPARE(pickRatioText({0, 0, 0}, {255, 255, 255}), "21,00:1");
    QCOMPARE(pickedHexText({0x1A, 0x2B, 0x3C}), "#1A2B3C");
}

void TestEyedropper::portalComponents_data() {
    QTest::addColumn<double>("red");
    QTest::addColumn<double>("green");
    QTest::addColumn<double>("blue");
    QTest::addColumn<bool>("usable");
    QTest::addColumn<Rgb>("colour");
    QTest::addColumn<QString>("named"); // a part of the message
    const double inf = std::numeric_limits<double>::infinity();
    const double eps = std::numeric_limits<double>::epsilon();
    const auto ok = [](const char* name, double r, double g, double b, Rgb c) {
        QTest::newRow(name) << r << g << b << true << c << QString();
    };
    const auto bad = [](const char* name, double r, double g, double b, const char* named) {
        QTest::newRow(name) << r << g << b << false << Rgb{} << QString::fromUtf8(named);
    };
    ok("black and white", 0, 1, 0, {0, 255, 0});
    ok("rounded, half up", 0.5, 127.4 / 255, 127.6 / 255, {128, 127, 128});
    ok("a few ulps above 1", 1 + 2 * eps, 1, 1, {255, 255, 255});
    ok("a few ulps below 0", -2 * eps, 0, -0.0, {0, 0, 0});
    bad("1.7", 1.7, 0, 0, "Rot 1,7");
    bad("-0.3", 0, -0.3, 0, "Grün -0,3");
    bad("NaN", 0, 0, qQNaN(), "Blau keine Zahl");
    bad("infinity", inf, 0, 0, "Rot unendlich");
    bad("minus infinity", 0, -inf, 0, "Grün minus unendlich");
    bad("just too far above 1", 1 + 1e-9, 0, 0, "Rot 1");
    bad("255 instead of 1", 255, 255, 255, "Rot 255");
}

void TestEyedropper::portalComponents() {
    QFETCH(double, red);
    QFETCH(double, green);
    QFETCH(double, blue);
    QFETCH(bool, usable);
    const PortalAnswer a = answerFromComponents(red, green, blue);
    if (usable) {
        QCOMPARE(a.kind, PortalAnswer::Kind::Colour);
        QTEST(a.colour, "colour");
    } else {
        QCOMPARE(a.kind, PortalAnswer::Kind::Failed);
        QFETCH(QString, named);
        QVERIFY2(a.message.contains(named), qPrintable(a.message));
        QVERIFY(a.message.contains("Farbe aus Bild..."));
    }
}

void TestEyedropper::portalCodes() {
    QCOMPARE(answerFromResponse(1, {}).kind, PortalAnswer::Kind::Cancelled);
    for (uint code : {2u, 3u, 99u}) {
        const PortalAnswer a = answerFromResponse(code, {});
        QCOMPARE(a.kind, PortalAnswer::Kind::Failed);
        QVERIFY(a.message.contains("Farbe aus Bild..."));
    }
    const PortalAnswer missing = answerFromResponse(0, {{"other", 1}});
    QCOMPARE(missing.kind, PortalAnswer::Kind::Failed);
    const PortalAnswer text = answerFromResponse(0, {{"color", QStringLiteral("red")}});
    QCOMPARE(text.kind, PortalAnswer::Kind::Failed);
    QVERIFY2(text.message.contains("QString"), qPrintable(text.message));
}

QTEST_GUILESS_MAIN(TestEyedropper)
#include "test_eyedropper.moc"
