#include "css_colour/css_colour.h"
#include "css_colour/css_named_colours.h"

#include <QColor>
#include <QTest>

using namespace pigmora;

class TestCssColour : public QObject {
    Q_OBJECT
private slots:
    void accepted_data();
    void accepted();
    void refused_data();
    void refused();
    void namedColoursAreCss();
};

void TestCssColour::accepted_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("colour");
    QTest::addRow("#rgb") << "#fA0"
                          << "#ffaa00";
    QTest::addRow("#rrggbb") << "#0a0B0c"
                             << "#0a0b0c";
    QTest::addRow("blanks and line break") << "  #123456\n"
                                           << "#123456";
    QTest::addRow("rgb with commas") << "rgb(1, 2, 3)"
                                     << "#010203";
    QTest::addRow("rgb tight, upper case") << "RGB(255,0,128)"
                                           << "#ff0080";
    QTest::addRow("rgb with blanks") << "rgb(1 2 3)"
                                     << "#010203";
    QTest::addRow("rgb with tabs and blanks") << "rgb(\t10 ,20 , 30 )"
                                              << "#0a141e";
    QTest::addRow("name") << "rebeccapurple"
                          << "#663399";
    QTest::addRow("name in mixed case") << "\tRebeccaPurple "
                                        << "#663399";
    QTest::addRow("grey and gray") << "DarkSlateGrey"
                                   << "#2f4f4f";
}

void TestCssColour::accepted() {
    QFETCH(QString, text);
    QFETCH(QString, colour);
    const CssColourReading read = readCssColour(text);
    QVERIFY2(read.colour, qPrintable(read.error));
    QCOMPARE(cssHexText(*read.colour), colour);
    QVERIFY(read.error.isEmpty());
}

void TestCssColour::refused_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("quoted"); // what the message must quote
    QTest::addRow("blanks only") << "  \n"
                                 << "";
    QTest::addRow("two digits") << "#12"
                                << "„#12“";
    QTest::addRow("four digits (alpha)") << "#1234"
                                         << "„#1234“";
    QTest::addRow("eight digits (alpha)") << "#ff00ff80"
                                          << "„#ff00ff80“";
    QTest::addRow("not hexadecimal") << "#12345g"
                                     << "„#12345g“";
    QTest::addRow("256") << "rgb(256, 0, 0)"
                         << "256";
    QTest::addRow("negative") << "rgb(-1, 0, 0)"
                              << "„-1“";
    QTest::addRow("fraction") << "rgb(1.5, 2, 3)"
                              << "„1.5“";
    QTest::addRow("percent") << "rgb(10%, 0, 0)"
                             << "„10%“";
    QTest::addRow("two values") << "rgb(1, 2)"
                                << "„rgb(1, 2)“";
    QTest::addRow("four values") << "rgb(1, 2, 3, 4)"
                                 << "„rgb(1, 2, 3, 4)“";
    QTest::addRow("commas and blanks mixed") << "rgb(1, 2 3)"
                                             << "„rgb(1, 2 3)“";
    QTest::addRow("rgba") << "rgba(1, 2, 3, 0.5)"
                          << "„rgba(1, 2, 3, 0.5)“";
    QTest::addRow("transparent") << "transparent"
                                 << "„transparent“";
    QTest::addRow("currentcolor") << "currentColor"
                                  << "„currentColor“";
    QTest::addRow("hsl") << "hsl(0, 100%, 50%)"
                         << "„hsl(0, 100%, 50%)“";
    QTest::addRow("declaration") << "color: red;"
                                 << "„color: red;“";
    QTest::addRow("full-width letters") << "ｒｅｄ"
                                        << "„ｒｅｄ“";
    QTest::addRow("full-width digit") << "rgb(１, 2, 3)"
                                      << "„１“";
    QTest::addRow("long text is shortened")
        << QString(200, 'x') << "„" + QString(40, 'x') + QChar(0x2026) + "“";
    QTest::addRow("line break inside is shown as a blank") << "re\nd"
                                                           << "„re d“";
}

void TestCssColour::refused() {
    QFETCH(QString, text);
    QFETCH(QString, quoted);
    const CssColourReading read = readCssColour(text);
    QVERIFY(!read.colour);
    QVERIFY(!read.error.isEmpty());
    QVERIFY2(read.error.contains(quoted), qPrintable(read.error));
}

void TestCssColour::namedColoursAreCss() {
    // Qt knows the same names (those of SVG, which CSS took over, and "transparent"); each must
    // give Qt's colour, and every one of Qt's but "transparent" must be known here.
    QCOMPARE(namedCssColourCount(), 148);
    QStringList qtNames = QColor::colorNames();
    qtNames.removeAll(QStringLiteral("transparent"));
    for (const QString& name : std::as_const(qtNames)) {
        const CssColourReading read = readCssColour(name);
        QVERIFY2(read.colour, qPrintable(name));
        QCOMPARE(cssHexText(*read.colour), QColor(name).name());
    }
    QVERIFY(readCssColour(QStringLiteral("rebeccapurple")).colour);
    QVERIFY(qtNames.size() >= 147);
}

QTEST_APPLESS_MAIN(TestCssColour)
#include "test_css_colour.moc"
