#include "contrast/apca.h"
#include "contrast/colour_vision.h"
#include "contrast/hsl.h"
#include "contrast/luminance.h"
#include "contrast/nearest_passing.h"
#include "contrast/wcag.h"

#include <QRandomGenerator>
#include <QTest>
#include <cmath>

using namespace pigmora;

Q_DECLARE_METATYPE(pigmora::Rgb)

namespace {

Rgb hex(quint32 rrggbb) {
    return Rgb{ChannelValue(rrggbb >> 16), ChannelValue(rrggbb >> 8), ChannelValue(rrggbb)};
}

QString show(Rgb c) {
    return QStringLiteral("#%1").arg((c.red << 16) | (c.green << 8) | c.blue, 6, 16,
                                     QLatin1Char('0'));
}

} // namespace

// Checked against the published reference values of the rules and of APCA, and against
// properties the window relies on: what it shows and what it decides never disagree, and a
// colour it offers really passes.
class TestContrast : public QObject {
    Q_OBJECT
private slots:
    void wcagReferencePairs_data();
    void wcagReferencePairs();
    void ratioIsCutAtTheBorders_data();
    void ratioIsCutAtTheBorders();
    void largeText_data();
    void largeText();
    void apcaReferencePairs_data();
    void apcaReferencePairs();
    void hslRoundTrip();
    void nearestPassing_data();
    void nearestPassing();
    void nearestPassingOverManyPairs();
    void colourVision_data();
    void colourVision();
};

void TestContrast::wcagReferencePairs_data() {
    QTest::addColumn<Rgb>("text");
    QTest::addColumn<Rgb>("background");
    QTest::addColumn<double>("ratio"); // as the reference tools round it
    QTest::addColumn<QString>("shown");
    QTest::addColumn<bool>("aa");
    QTest::addRow("767676 on white") << hex(0x767676) << hex(0xFFFFFF) << 4.54 << "4,54:1" << true;
    // 4.478: rounded it is the published 4.48, cut it shows 4.47.
    QTest::addRow("777777 on white") << hex(0x777777) << hex(0xFFFFFF) << 4.48 << "4,47:1" << false;
    QTest::addRow("black on white") << hex(0x000000) << hex(0xFFFFFF) << 21.0 << "21,00:1" << true;
    QTest::addRow("white on black") << hex(0xFFFFFF) << hex(0x000000) << 21.0 << "21,00:1" << true;
    QTest::addRow("equal colours") << hex(0x3399CC) << hex(0x3399CC) << 1.0 << "1,00:1" << false;
    QTest::addRow("red on white") << hex(0xFF0000) << hex(0xFFFFFF) << 4.0 << "3,99:1" << false;
    QTest::addRow("blue on white") << hex(0x0000FF) << hex(0xFFFFFF) << 8.59 << "8,59:1" << true;
    // Below the 0.04045 threshold the transfer curve is linear.
    QTest::addRow("0A0A0A on black") << hex(0x0A0A0A) << hex(0x000000) << 1.06 << "1,06:1" << false;
    // Pairs a hair below a border (4.4999999996, 6.9999999994, 2.9999999997) stay below it.
    QTest::addRow("C14E60 on 00000D") << hex(0xC14E60) << hex(0x00000D) << 4.5 << "4,49:1" << false;
    QTest::addRow("3DA1CF on 000415") << hex(0x3DA1CF) << hex(0x000415) << 7.0 << "6,99:1" << true;
    QTest::addRow("953F27 on 010101") << hex(0x953F27) << hex(0x010101) << 3.0 << "2,99:1" << false;
}

void TestContrast::wcagReferencePairs() {
    QFETCH(Rgb, text);
    QFETCH(Rgb, background);
    QFETCH(double, ratio);
    QFETCH(QString, shown);
    QFETCH(bool, aa);
    const double r = contrastRatio(text, background);
    QCOMPARE(std::round(r * 100) / 100, ratio);
    QCOMPARE(contrastRatio(background, text), r);
    QCOMPARE(ratioText(r), shown);
    QCOMPARE(reaches(r, requiredRatio(WcagLevel::AA, false)), aa);
}

void TestContrast::ratioIsCutAtTheBorders_data() {
    QTest::addColumn<double>("ratio");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<bool>("aa");  // 4.5
    QTest::addColumn<bool>("aaa"); // 7
    QTest::addRow("4.4999") << 4.4999 << "4,49:1" << false << false;
    QTest::addRow("4.49999999") << 4.49999999 << "4,49:1" << false << false;
    QTest::addRow("4.5") << 4.5 << "4,50:1" << true << false;
    QTest::addRow("4.5001") << 4.5001 << "4,50:1" << true << false;
    QTest::addRow("6.9999") << 6.9999 << "6,99:1" << true << false;
    QTest::addRow("7") << 7.0 << "7,00:1" << true << true;
    QTest::addRow("20.999999999999996") << 20.999999999999996 << "21,00:1" << true << true;
}

void TestContrast::ratioIsCutAtTheBorders() {
    QFETCH(double, ratio);
    QFETCH(QString, shown);
    QFETCH(bool, aa);
    QFETCH(bool, aaa);
    QCOMPARE(ratioText(ratio), shown);
    QCOMPARE(reaches(ratio, 4.5), aa);
    QCOMPARE(reaches(ratio, 7), aaa);
}

void TestContrast::largeText_data() {
    QTest::addColumn<double>("points");
    QTest::addColumn<bool>("bold");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<double>("aa");
    QTest::addColumn<double>("aaa");
    QTest::addRow("9.75") << 9.75 << false << "Normaler Text: 9,75 pt" << 4.5 << 7.0;
    QTest::addRow("12 bold") << 12.0 << true << "Normaler Text: 12 pt fett" << 4.5 << 7.0;
    QTest::addRow("13.9 bold") << 13.9 << true << "Normaler Text: 13,9 pt fett" << 4.5 << 7.0;
    QTest::addRow("14 bold") << 14.0 << true << "Großer Text: 14 pt fett" << 3.0 << 4.5;
    QTest::addRow("14") << 14.0 << false << "Normaler Text: 14 pt" << 4.5 << 7.0;
    QTest::addRow("17.9") << 17.9 << false << "Normaler Text: 17,9 pt" << 4.5 << 7.0;
    QTest::addRow("17.999") << 17.999 << false << "Normaler Text: 17,99 pt" << 4.5 << 7.0;
    QTest::addRow("18") << 18.0 << false << "Großer Text: 18 pt" << 3.0 << 4.5;
    QTest::addRow("72 bold") << 72.0 << true << "Großer Text: 72 pt fett" << 3.0 << 4.5;
}

void TestContrast::largeText() {
    QFETCH(double, points);
    QFETCH(bool, bold);
    QFETCH(QString, shown);
    QFETCH(double, aa);
    QFETCH(double, aaa);
    QCOMPARE(textSizeText(points, bold), shown);
    const bool large = isLargeText(points, bold);
    QCOMPARE(requiredRatio(WcagLevel::AA, large), aa);
    QCOMPARE(requiredRatio(WcagLevel::AAA, large), aaa);
}

void TestContrast::apcaReferencePairs_data() {
    QTest::addColumn<Rgb>("text");
    QTest::addColumn<Rgb>("background");
    QTest::addColumn<double>("lc");
    QTest::addColumn<QString>("shown");
    QTest::addRow("888888 on white") << hex(0x888888) << hex(0xFFFFFF) << 63.056 << "63,1";
    QTest::addRow("white on 888888") << hex(0xFFFFFF) << hex(0x888888) << -68.541 << "-68,5";
    QTest::addRow("black on white") << hex(0x000000) << hex(0xFFFFFF) << 106.041 << "106,0";
    QTest::addRow("white on black") << hex(0xFFFFFF) << hex(0x000000) << -107.885 << "-107,9";
    QTest::addRow("equal") << hex(0x777777) << hex(0x777777) << 0.0 << "0,0";
    // Below the low clip APCA reports no contrast at all.
    QTest::addRow("777777 on 7A7A7A") << hex(0x777777) << hex(0x7A7A7A) << 0.0 << "0,0";
}

void TestContrast::apcaReferencePairs() {
    QFETCH(Rgb, text);
    QFETCH(Rgb, background);
    QFETCH(double, lc);
    QFETCH(QString, shown);
    const double value = apcaContrast(text, background);
    QVERIFY2(std::abs(value - lc) < 0.001, qPrintable(QString::number(value, 'f', 4)));
    QCOMPARE(apcaText(value), shown);
}

void TestContrast::hslRoundTrip() {
    QCOMPARE(hslFromRgb(hex(0xFF0000)).saturation, 1.0);
    QCOMPARE(hslFromRgb(hex(0x00FF00)).hue, 120.0);
    QCOMPARE(hslFromRgb(hex(0x0000FF)).hue, 240.0);
    QCOMPARE(hslFromRgb(hex(0x808080)).saturation, 0.0);
    for (int r = 0; r < 256; r += 5)
        for (int g = 0; g < 256; g += 3)
            for (int b = 0; b < 256; b += 7) {
                const Rgb c{ChannelValue(r), ChannelValue(g), ChannelValue(b)};
                if (!(rgbFromHsl(hslFromRgb(c)) == c))
                    QFAIL(qPrintable(show(c)));
            }
}

namespace {

constexpr int scanSteps = 1024;

// What every offered colour must be: passing, on the edited colour's path from black through
// it to white, on its side, and the nearest such colour.
void checkSuggestion(Rgb edited, Rgb other, double required, const Suggestion& s, bool lighter) {
    const QString what = QStringLiteral("%1 against %2 at %3, %4")
                             .arg(show(edited), show(other), QString::number(required),
                                  lighter ? "lighter" : "darker");
    QVERIFY2(reaches(contrastRatio(s.colour, other), required), qPrintable(what));
    QCOMPARE(s.ratio, contrastRatio(s.colour, other));
    const Hsl start = hslFromRgb(edited);
    const double l = hslFromRgb(s.colour).lightness;
    QVERIFY2(lighter ? l >= start.lightness : l <= start.lightness, qPrintable(what));
    const Rgb onPath = rgbFromHsl({start.hue, start.saturation, l});
    QVERIFY2(std::abs(onPath.red - s.colour.red) <= 1 &&
                 std::abs(onPath.green - s.colour.green) <= 1 &&
                 std::abs(onPath.blue - s.colour.blue) <= 1,
             qPrintable(what + " leaves the hue: " + show(s.colour)));
    // No colour of the path between the edited one and it passes on that side.
    const double target = relativeLuminance(s.colour);
    const double otherY = relativeLuminance(other);
    for (int k = 0; k <= scanSteps; ++k) {
        const double at = start.lightness + ((lighter ? 1 : 0) - start.lightness) * k / scanSteps;
        const Rgb c = rgbFromHsl({start.hue, start.saturation, at});
        const double y = relativeLuminance(c);
        const bool closer = lighter ? y < target : y > target;
        const bool sameSide = lighter ? y >= otherY : y <= otherY;
        if (closer && sameSide && reaches(contrastRatio(c, other), required))
            QFAIL(qPrintable(what + " is not the nearest: " + show(c)));
    }
}

} // namespace

void TestContrast::nearestPassing_data() {
    QTest::addColumn<Rgb>("edited");
    QTest::addColumn<Rgb>("other");
    QTest::addColumn<double>("required");
    QTest::addColumn<bool>("lighter");
    QTest::addColumn<bool>("darker");
    QTest::addRow("777777 on white, AA") << hex(0x777777) << hex(0xFFFFFF) << 4.5 << false << true;
    QTest::addRow("red on white, AA") << hex(0xFF0000) << hex(0xFFFFFF) << 4.5 << false << true;
    QTest::addRow("mid blue on mid grey, large AA")
        << hex(0x3366CC) << hex(0x808080) << 3.0 << true << true;
    // Neither black nor white gets 7:1 against #777777.
    QTest::addRow("any grey on 777777, AAA")
        << hex(0x808080) << hex(0x777777) << 7.0 << false << false;
    QTest::addRow("yellow on white, large AA")
        << hex(0xFFFF00) << hex(0xFFFFFF) << 3.0 << false << true;
    QTest::addRow("dark red on black, AAA")
        << hex(0x400000) << hex(0x000000) << 7.0 << true << false;
}

void TestContrast::nearestPassing() {
    QFETCH(Rgb, edited);
    QFETCH(Rgb, other);
    QFETCH(double, required);
    QFETCH(bool, lighter);
    QFETCH(bool, darker);
    const NearestPassing found = pigmora::nearestPassing(edited, other, required);
    QVERIFY(!found.alreadyReached);
    QCOMPARE(found.lighter.has_value(), lighter);
    QCOMPARE(found.darker.has_value(), darker);
    if (found.lighter)
        checkSuggestion(edited, other, required, *found.lighter, true);
    if (found.darker)
        checkSuggestion(edited, other, required, *found.darker, false);
}

void TestContrast::nearestPassingOverManyPairs() {
    QRandomGenerator random(20261207);
    const auto any = [&random] {
        return Rgb{ChannelValue(random.bounded(256)), ChannelValue(random.bounded(256)),
                   ChannelValue(random.bounded(256))};
    };
    int offered = 0;
    for (int i = 0; i < 800; ++i) {
        const Rgb edited = any();
        const Rgb other = any();
        for (double required : {3.0, 4.5, 7.0}) {
            const NearestPassing found = pigmora::nearestPassing(edited, other, required);
            QCOMPARE(found.alreadyReached, reaches(contrastRatio(edited, other), required));
            if (found.alreadyReached) {
                QVERIFY(!found.lighter && !found.darker);
                continue;
            }
            // White and black end the path: if they pass, a colour on that side is offered.
            QCOMPARE(found.lighter.has_value(),
                     reaches(contrastRatio(hex(0xFFFFFF), other), required));
            QCOMPARE(found.darker.has_value(),
                     reaches(contrastRatio(hex(0x000000), other), required));
            for (const auto& [s, lighter] : {std::pair{found.lighter, true}, {found.darker, false}})
                if (s) {
                    checkSuggestion(edited, other, required, *s, lighter);
                    ++offered;
                }
        }
    }
    QVERIFY(offered > 800);
}

void TestContrast::colourVision_data() {
    QTest::addColumn<Rgb>("colour");
    QTest::addColumn<Rgb>("protanopia");
    QTest::addColumn<Rgb>("deuteranopia");
    QTest::addColumn<Rgb>("tritanopia");
    QTest::addColumn<Rgb>("achromatopsia");
    QTest::addRow("red") << hex(0xFF0000) << hex(0x6D5F00) << hex(0xA39000) << hex(0xFF000F)
                         << hex(0x7F7F7F);
    QTest::addRow("green") << hex(0x00FF00) << hex(0xFFE500) << hex(0xEFD63A) << hex(0x00F7D9)
                           << hex(0xDCDCDC);
    QTest::addRow("blue") << hex(0x0000FF) << hex(0x0059FF) << hex(0x003DFB) << hex(0x006B96)
                          << hex(0x4C4C4C);
    QTest::addRow("3399CC") << hex(0x3399CC) << hex(0x8098CE) << hex(0x6C89CB) << hex(0x00A6AA)
                            << hex(0x909090);
    QTest::addRow("white") << hex(0xFFFFFF) << hex(0xFFFFFF) << hex(0xFFFFFF) << hex(0xFFFFFF)
                           << hex(0xFFFFFF);
    QTest::addRow("black") << hex(0x000000) << hex(0x000000) << hex(0x000000) << hex(0x000000)
                           << hex(0x000000);
}

void TestContrast::colourVision() {
    QFETCH(Rgb, colour);
    QFETCH(Rgb, protanopia);
    QFETCH(Rgb, deuteranopia);
    QFETCH(Rgb, tritanopia);
    QFETCH(Rgb, achromatopsia);
    QCOMPARE(show(simulateVision(colour, VisionDeficiency::Protanopia)), show(protanopia));
    QCOMPARE(show(simulateVision(colour, VisionDeficiency::Deuteranopia)), show(deuteranopia));
    QCOMPARE(show(simulateVision(colour, VisionDeficiency::Tritanopia)), show(tritanopia));
    QCOMPARE(show(simulateVision(colour, VisionDeficiency::Achromatopsia)), show(achromatopsia));
}

QTEST_APPLESS_MAIN(TestContrast)
#include "test_contrast.moc"
