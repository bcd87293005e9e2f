#include "css_colour/css_colour.h"
#include "css_colour/css_named_colours.h"

#include <QColor>
#include <QTest>

Q_DECLARE_METATYPE(pigmora::Rgb)

using namespace pigmora;

class TestCssColour : public QObject {
    Q_OBJECT
private slots:
    void accepted_data();
    void accepted();
    void publishedConversions_data();
    void publishedConversions();
    void refused_data();
    void refused();
    void namedColoursAreCss();
    void textFormsReadBackAsTheSameColour();
    void compositeOver_data();
    void compositeOver();
};

void TestCssColour::accepted_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("colour");
    QTest::addColumn<double>("alpha");
    QTest::addColumn<bool>("mapped");
    const auto row = [](const char* name, const QString& text, const char* colour, double alpha = 1,
                        bool mapped = false) {
        QTest::addRow("%s", name) << text << QString::fromLatin1(colour) << alpha << mapped;
    };
    row("#rgb", "#fA0", "#ffaa00");
    row("#rrggbb", "#0a0B0c", "#0a0b0c");
    row("blanks and line break", "  #123456\n", "#123456");
    row("four digits (alpha)", "#1234", "#112233", 0x44 / 255.0);
    row("eight digits (alpha)", "#ff00ff80", "#ff00ff", 0x80 / 255.0);
    row("rgb with commas", "rgb(1, 2, 3)", "#010203");
    row("rgb tight, upper case", "RGB(255,0,128)", "#ff0080");
    row("rgb with blanks", "rgb(1 2 3)", "#010203");
    row("rgb with tabs and blanks", "rgb(\t10 ,20 , 30 )", "#0a141e");
    row("256 is clamped", "rgb(256, 0, 0)", "#ff0000");
    row("negative is clamped", "rgb(-1, 0, 0)", "#000000");
    row("fraction, rounded", "rgb(1.5, 2, 3)", "#020203");
    row("a half rounds up", "rgb(147.5 0 0)", "#940000");
    row("four values: alpha 4 is clamped", "rgb(1, 2, 3, 4)", "#010203");
    row("rgba", "rgba(1, 2, 3, 0.5)", "#010203", 0.5);
    row("percentages with commas", "rgb(100%, 50%, 0%)", "#ff8000");
    row("numbers and percentages mixed", "rgb(100% 50 0 / 87%)", "#ff3200", 0.87);
    row("none, and the tokens need no blanks", "rgb(none 100%none)", "#00ff00");
    row("alpha none", "rgb(1 2 3 / none)", "#010203", 0);
    row("sign, decimals, exponent", "rgb(+1e2 .5E+2 2.55e2)", "#6432ff");
    row("signs that separate", "rgb(10%+20%-30%)", "#1a3300");
    row("overflow and underflow", "rgb(1e999 1e-400 0)", "#ff0000");
    row("comments", "/*a*/rgb(/* r */1 2 3)/**/", "#010203");
    row("hsl with commas", "hsl(0, 100%, 50%)", "#ff0000");
    row("hsl of the module's table", "hsl(30 40% 70%)", "#d1b394");
    row("hsl with bare numbers", "hsl(120 50 50)", "#40bf40");
    row("hsla with alpha", "HSLA(120 80% 90% / .5)", "#d1fad1", 0.5);
    row("hue in turn", "hsl(0.5turn 100% 50%)", "#00ffff");
    row("hue in grad", "hsl(200GRAD 100% 50%)", "#00ffff");
    row("hue in rad", "hsl(3.14159265rad 100% 50%)", "#00ffff");
    row("hue normalised", "hsl(-480deg 100% 50%)", "#0000ff");
    row("infinite hue is 0", "hsl(1e999 100% 50%)", "#ff0000");
    row("negative saturation is 0", "hsl(120 -50% 50%)", "#808080");
    row("lightness above 100% is clamped", "hsl(120 50% 150%)", "#ffffff");
    row("hwb", "hwb(150 20% 10%)", "#33e68c");
    row("hwb of white and black beyond 100%", "hwb(45 40% 80%)", "#555555");
    row("hwb grey at a half", "hwb(0 20% 100%)", "#2b2b2b");
    row("hwb decimals exactly half-way", "hwb(355 31.6% 10%)", "#e6515d");
    row("color(srgb) inside sRGB, halves up", "color(srgb 0.5 0.5 0.5)", "#808080");
    row("lab above 100 is clamped", "lab(150 0 0)", "#ffffff");
    row("oklch with negative chroma", "oklch(50% -0.1 30)", "#636363");
    row("oklch of a design system, outside sRGB", "oklch(62.3% 0.214 259.815)", "#2b7fff", 1, true);
    // Gamut mapping: the results color.js 0.7 gives for its CSS gamut mapping too.
    row("display-p3 yellow, mapped", "color(display-p3 1 1 0)", "#feff00", 1, true);
    row("display-p3 red, mapped", "color(display-p3 1 0 0)", "#ff0b0c", 1, true);
    row("rec2020 lime, mapped", "color(rec2020 0.42053 0.979780 0.00579)", "#00f74d", 1, true);
    row("the same lime in lch", "lch(85.9017% 166.116 138.207)", "#00f74d", 1, true);
    row("srgb beyond 1, mapped, not clipped", "color(srgb 1.2 0 0)", "#ff6956", 1, true);
    row("oklch beyond sRGB, with alpha", "oklch(70% 0.4 30 / 0.5)", "#ff5843", 0.5, true);
    row("lightness 100% is white", "oklch(100% 0.2 30)", "#ffffff", 1, true);
    row("just outside, by less than 8 bits show", "color(srgb 1.0001 0 0)", "#ff0000");
    row("name", "rebeccapurple", "#663399");
    row("name in mixed case", "\tRebeccaPurple ", "#663399");
    row("grey and gray", "DarkSlateGrey", "#2f4f4f");
    // Escapes in names, as a browser reads them: a character itself, or up to six hexadecimal
    // digits and one blank after them.
    row("escaped letter in a function's name", "r\\gb(0, 51, 102)", "#003366");
    row("escaped code point in a function's name", "r\\67 b(0, 51, 102)", "#003366");
    row("escaped first letter of a name", "\\72 ed", "#ff0000");
    row("escape of six digits, the blank after it ends it", "\\000072 ed", "#ff0000");
    row("escape ended by the next non-digit", "re\\64", "#ff0000");
    row("escaped unit", "hsl(120d\\65g 50% 50%)", "#40bf40");
    row("escaped digit of a hash", "#\\66 00", "#ff0000");
}

void TestCssColour::accepted() {
    QFETCH(QString, text);
    QFETCH(QString, colour);
    QFETCH(double, alpha);
    QFETCH(bool, mapped);
    const CssColourReading read = readCssColour(text);
    QVERIFY2(read.colour, qPrintable(read.error));
    QCOMPARE(hashHexText(*read.colour), colour);
    QVERIFY(read.error.isEmpty());
    QCOMPARE(read.alpha, alpha);
    QCOMPARE(read.mapped, mapped);
}

// The examples of the CSS colour module: each text is the colour given beside it there as
// rgb() percentages (the lab, lch, oklab and oklch rows are one colour each, rounded).
void TestCssColour::publishedConversions_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QList<double>>("percent");
    const QList<double> leaf{41.587, 50.367, 36.664}, brick{49.06, 13.87, 15.9},
        orange{77.61, 36.34, 2.45}, olive{61.65, 57.51, 9.28}, green{40.73, 65.12, 22.35},
        sky{38.29, 67.27, 93.85}, purple{50.2, 0, 50.2}, crimson{69.1, 13.9, 25.9},
        rose{64.55, 2.065, 26.03}, violet{46.27, 32.94, 80.39}, white{100, 100, 100};
    const std::pair<const char*, QList<double>> rows[] = {
        {"color(sRGB 0.41587 0.503670 0.36664)", leaf},
        {"color(display-p3 0.43313 0.50108 0.37950)", leaf},
        {"color(a98-rgb 0.44091 0.49971 0.37408)", leaf},
        {"color(prophoto-rgb 0.36589 0.41717 0.31333)", leaf},
        {"lch(51.2345% 21.2 130)", leaf},
        {"lab(51.2345% -13.6271 16.2401)", leaf},
        {"lab(29.2345% 39.3825 20.0664)", brick},
        {"lab(52.2345 40.1645 59.9971)", orange},
        {"lab(60.2345 -5.3654 58.956)", olive},
        {"lab(62.2345% -34.9638 47.7721)", green},
        {"lab(67.5345 -8.6911 -41.6019)", sky},
        {"lab(29.69% 44.888% -29.04%)", purple},
        {"lch(29.2345% 44.2 27)", brick},
        {"lch(52.2345% 72.2 56.2)", orange},
        {"lch(60.2345 59.2 95.2)", olive},
        {"lch(62.2345% 59.2 126.2)", green},
        {"lch(67.5345% 42.5 258.2)", sky},
        {"oklab(40.101% 0.1147 0.0453)", brick},
        {"oklab(59.686% 0.1009 0.1192)", orange},
        {"oklab(0.65125 -0.0320 0.1274)", olive},
        {"oklab(66.016% -0.1084 0.1114)", green},
        {"oklab(72.322% -0.0465 -0.1150)", sky},
        {"oklch(40.101% 0.12332 21.555)", brick},
        {"oklch(59.686% 0.15619 49.7694)", orange},
        {"oklch(0.65125 0.13138 104.097)", olive},
        {"oklch(0.66016 0.15546 134.231)", green},
        {"oklch(72.322% 0.12403 247.996)", sky},
        {"color(srgb 0.691 0.139 0.259)", crimson},
        {"color(srgb-linear 0.435 0.017 0.055)", crimson},
        {"color(display-p3 0.591 0.123 0.264)", rose},
        {"color(display-p3-linear 0.3081 0.014 0.0567)", rose},
        {"lab(44.36% 36.05 -58.99)", violet},
        {"color(xyz-d50 0.2005 0.14089 0.4472)", violet},
        {"color(xyz-d65 0.21661 0.14602 0.59452)", violet},
        {"color(xyz-d50 0.9643 1 0.8251)", white},
        {"color(xyz 0.9505 1 1.089)", white},
    };
    for (const auto& [text, percent] : rows)
        QTest::newRow(text) << QString::fromLatin1(text) << percent;
}

void TestCssColour::publishedConversions() {
    QFETCH(QString, text);
    QFETCH(QList<double>, percent);
    const CssColourReading read = readCssColour(text);
    QVERIFY2(read.colour, qPrintable(read.error));
    QVERIFY(!read.mapped);
    for (int i = 0; i < 3; ++i)
        QVERIFY2(std::abs(read.srgb[std::size_t(i)] * 100 - percent[i]) < 0.2,
                 qPrintable(QString::number(read.srgb[std::size_t(i)] * 100)));
}

void TestCssColour::refused_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("quoted"); // what the message must quote
    QTest::addRow("blanks only") << "  \n"
                                 << "";
    QTest::addRow("two digits") << "#12"
                                << "„#12“";
    QTest::addRow("five digits") << "#12345"
                                 << "3, 4, 6 oder 8";
    QTest::addRow("not hexadecimal") << "#12345g"
                                     << "„#12345g“";
    QTest::addRow("percent mixed with commas") << "rgb(10%, 0, 0)"
                                               << "„10%“";
    QTest::addRow("two values") << "rgb(1, 2)"
                                << "„rgb(1, 2)“";
    QTest::addRow("four values without a slash") << "rgb(1 2 3 4)"
                                                 << "nach „/“";
    QTest::addRow("commas and blanks mixed") << "rgb(1, 2 3)"
                                             << "„rgb(1, 2 3)“";
    QTest::addRow("none with commas") << "rgb(none, 0, 0)"
                                      << "ohne Kommas";
    QTest::addRow("none as alpha with commas") << "rgba(1, 2, 3, none)"
                                               << "ohne Kommas";
    QTest::addRow("hsl numbers with commas") << "hsl(0, 50, 50)"
                                             << "„50“";
    QTest::addRow("commas where none are read") << "hwb(0, 0%, 0%)"
                                                << "nicht durch Kommas";
    QTest::addRow("hue in percent") << "hsl(10% 50% 50%)"
                                    << "„10%“ ist kein Farbton";
    QTest::addRow("hue in pixels") << "oklch(50% 0.1 10px)"
                                   << "„10px“";
    QTest::addRow("alpha as a word") << "rgb(0 0 0 / half)"
                                     << "„half“";
    QTest::addRow("no closing parenthesis") << "rgb(1 2 3"
                                            << "„)“";
    QTest::addRow("blank before the parenthesis") << "rgb (1 2 3)"
                                                  << "darf kein Leerzeichen stehen";
    QTest::addRow("more after the colour") << "rgb(1 2 3) x"
                                           << "noch „x“";
    QTest::addRow("values too large") << "lab(50 1e300 1e300)"
                                      << "zu groß";
    QTest::addRow("too large for the conversion, not clipped") << "color(srgb 1e308 0 0)"
                                                               << "zu groß";
    QTest::addRow("transparent") << "transparent"
                                 << "„transparent“ wird nicht gelesen";
    QTest::addRow("currentcolor") << "currentColor"
                                  << "„currentColor“ wird nicht gelesen";
    QTest::addRow("system colour") << "ButtonFace"
                                   << "Systemfarbe";
    QTest::addRow("calc()") << "rgb(calc(255) 0 0)"
                            << "calc()";
    QTest::addRow("var()") << "rgb(var(--rot) 0 0)"
                           << "var()";
    QTest::addRow("color-mix()") << "color-mix(in srgb, red, blue)"
                                 << "color-mix()";
    QTest::addRow("relative colour") << "oklch(from red l c h)"
                                     << "„from“";
    QTest::addRow("unknown colour space") << "color(profoto-rgb 0.48 0.92 0.22)"
                                          << "„profoto-rgb“";
    QTest::addRow("custom colour space") << "color(--meins 1 0 0)"
                                         << "„--meins“";
    QTest::addRow("no colour space") << "color(1 0 0)"
                                     << "zuerst den Farbraum";
    QTest::addRow("unknown function") << "linear-gradient(red, blue)"
                                      << "„linear-gradient()“";
    QTest::addRow("rgba with a slash and commas") << "rgba(1, 2, 3 / 1)"
                                                  << "teils durch Kommas";
    QTest::addRow("declaration") << "color: red;"
                                 << "„color: red;“";
    QTest::addRow("full-width letters") << "ｒｅｄ"
                                        << "„ｒｅｄ“";
    QTest::addRow("full-width digit") << "rgb(１, 2, 3)"
                                      << "„１“";
    QTest::addRow("no-break space does not separate") << QString("rgb(1\u00a02 3)") << "rgb(1";
    QTest::addRow("no-break space is no blank") << QString("\u00a0red") << "\u00a0red";
    QTest::addRow("the Kelvin sign is no k") << QString("blac\u212a") << "blac\u212a";
    QTest::addRow("an escaped name that names no colour") << "r\\65 x"
                                                          << "„r\\65 x“";
    QTest::addRow("an escaped line break is no escape") << "r\\\nd"
                                                        << "„r\\";
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
    QVERIFY(read.error.size() < 400);
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
        QCOMPARE(hashHexText(*read.colour), QColor(name).name());
    }
    QVERIFY(readCssColour(QStringLiteral("rebeccapurple")).colour);
    QVERIFY(qtNames.size() >= 147);
}

// Every form the program writes reads back as the colour it was written from, and inside sRGB.
// All 16.7 million colours do (tried once); here a dense sample and the whole surface of the
// RGB cube, where rounding most easily leaves sRGB.
void TestCssColour::textFormsReadBackAsTheSameColour() {
    const auto check = [](Rgb c) {
        for (const QString& text : {cssOklchText(c), cssHslText(c), cssRgbText(c)}) {
            const CssColourReading read = readCssColour(text);
            if (!read.colour || !(*read.colour == c) || read.mapped) {
                QFAIL(qPrintable(
                    QStringLiteral("%1 read back as %2")
                        .arg(text, read.colour ? hashHexText(*read.colour) : read.error)));
            }
        }
    };
    for (int v = 0; v < (1 << 24); v += 401)
        check(Rgb{ChannelValue(v >> 16), ChannelValue(v >> 8), ChannelValue(v)});
    for (int a = 0; a < 256; a += 3)
        for (int b = 0; b < 256; b += 3)
            for (const ChannelValue edge : {0, 255}) {
                check({edge, ChannelValue(a), ChannelValue(b)});
                check({ChannelValue(a), edge, ChannelValue(b)});
                check({ChannelValue(a), ChannelValue(b), edge});
            }
    QCOMPARE(cssOklchText({255, 0, 0}), "oklch(62.8% 0.25768 29.23)");
    QCOMPARE(cssOklchText({128, 128, 128}), "oklch(59.99% 0 0)");
    QCOMPARE(cssHslText({255, 128, 0}), "hsl(30.1 100% 50%)");
    QCOMPARE(cssRgbText({255, 128, 0}), "rgb(255 128 0)");
}

void TestCssColour::compositeOver_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<Rgb>("background");
    QTest::addColumn<QString>("result");
    QTest::newRow("half black on white, a half up")
        << "rgb(0 0 0 / 50%)" << Rgb{255, 255, 255} << "#808080";
    QTest::newRow("#rrggbbaa on blue") << "#ff000080" << Rgb{0, 0, 255} << "#80007f";
    QTest::newRow("mapped colour, unrounded")
        << "oklch(70% 0.4 30 / 0.5)" << Rgb{0, 0, 0} << "#802c22";
    QTest::newRow("alpha 0 is the background")
        << "hsl(0 100% 50% / 0)" << Rgb{1, 2, 3} << "#010203";
    QTest::newRow("opaque stays itself") << "#123456" << Rgb{255, 255, 255} << "#123456";
}

void TestCssColour::compositeOver() {
    QFETCH(QString, text);
    QFETCH(Rgb, background);
    QFETCH(QString, result);
    const CssColourReading read = readCssColour(text);
    QVERIFY(read.colour);
    QCOMPARE(hashHexText(pigmora::compositeOver(read, background)), result);
}

QTEST_APPLESS_MAIN(TestCssColour)
#include "test_css_colour.moc"
