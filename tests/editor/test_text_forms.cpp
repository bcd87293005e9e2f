#include "editor/numeric_reading.h"
#include "editor/text_forms.h"

#include <QTest>
#include <cmath>
#include <limits>

using namespace pigmora;

class TestTextForms : public QObject {
    Q_OBJECT
private slots:
    void channelForms_data();
    void channelForms();
    void colourTexts_data();
    void colourTexts();
    void padding_data();
    void padding();
    void splitColourValueText_data();
    void splitColourValueText();
    void lenientReading_data();
    void lenientReading();
    void conversionToChannel_data();
    void conversionToChannel();
    void shortestDecimal_data();
    void shortestDecimal();
};

void TestTextForms::channelForms_data() {
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("decimal");
    QTest::addColumn<QString>("hex");
    QTest::addColumn<QString>("paddedDecimal");
    QTest::addColumn<QString>("paddedHex");
    QTest::newRow("0") << 0 << "0"
                       << "0"
                       << "000"
                       << "00";
    QTest::newRow("5") << 5 << "5"
                       << "5"
                       << "005"
                       << "05";
    QTest::newRow("10") << 10 << "10"
                        << "A"
                        << "010"
                        << "0A";
    QTest::newRow("128") << 128 << "128"
                         << "80"
                         << "128"
                         << "80";
    QTest::newRow("255") << 255 << "255"
                         << "FF"
                         << "255"
                         << "FF";
}

void TestTextForms::channelForms() {
    QFETCH(int, value);
    const auto v = ChannelValue(value);
    QTEST(decimalText(v), "decimal");
    QTEST(hexText(v), "hex");
    QTEST(paddedDecimalText(v), "paddedDecimal");
    QTEST(paddedHexText(v), "paddedHex");
}

void TestTextForms::colourTexts_data() {
    QTest::addColumn<int>("red");
    QTest::addColumn<int>("green");
    QTest::addColumn<int>("blue");
    QTest::addColumn<QString>("six");
    QTest::addColumn<QString>("nine");
    QTest::addColumn<QString>("colourValue");
    QTest::addColumn<uint>("packed");
    QTest::newRow("black") << 0 << 0 << 0 << "000000"
                           << "000000000"
                           << "0" << 0u;
    QTest::newRow("orange") << 255 << 128 << 0 << "FF8000"
                            << "255128000"
                            << "80FF" << 33023u;
    QTest::newRow("pure red") << 255 << 0 << 0 << "FF0000"
                              << "255000000"
                              << "FF" << 255u;
    QTest::newRow("pure blue") << 0 << 0 << 255 << "0000FF"
                               << "000000255"
                               << "FF0000" << 0xFF0000u;
    QTest::newRow("mixed") << 5 << 128 << 255 << "0580FF"
                           << "005128255"
                           << "FF8005" << 0xFF8005u;
    QTest::newRow("white") << 255 << 255 << 255 << "FFFFFF"
                           << "255255255"
                           << "FFFFFF" << 0xFFFFFFu;
}

void TestTextForms::colourTexts() {
    QFETCH(int, red);
    QFETCH(int, green);
    QFETCH(int, blue);
    const Rgb c{ChannelValue(red), ChannelValue(green), ChannelValue(blue)};
    QTEST(sixDigitColourText(c), "six");
    QTEST(nineDigitColourText(c), "nine");
    QTEST(uint(packColour(c)), "packed");
    QTEST(colourValueText(packColour(c)), "colourValue");
    // The colour-value text splits back into the same channels.
    QCOMPARE(HexZerlegen(colourValueText(packColour(c))), c);
}

void TestTextForms::padding_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("width");
    QTest::addColumn<QString>("padded");
    QTest::newRow("7 to 3") << "7" << 3 << "007";
    QTest::newRow("already long") << "255" << 2 << "255";
    QTest::newRow("empty") << "" << 2 << "00";
    QTest::newRow("exact width") << "FF" << 2 << "FF";
    QTest::newRow("colour value") << "80FF" << 6 << "0080FF";
}

void TestTextForms::padding() {
    QFETCH(QString, text);
    QFETCH(int, width);
    QFETCH(QString, padded);
    QCOMPARE(NullenVoranstellen(text, width), padded);
    QCOMPARE(text, padded); // the caller's variable is padded in place
}

void TestTextForms::splitColourValueText_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("red");
    QTest::addColumn<int>("green");
    QTest::addColumn<int>("blue");
    QTest::newRow("FF") << "FF" << 255 << 0 << 0;
    QTest::newRow("FF0000") << "FF0000" << 0 << 0 << 255;
    QTest::newRow("80FF") << "80FF" << 255 << 128 << 0;
    QTest::newRow("0") << "0" << 0 << 0 << 0;
    QTest::newRow("FFFFFF") << "FFFFFF" << 255 << 255 << 255;
    QTest::newRow("lower case") << "80ff" << 255 << 128 << 0;
    // Longer than six: nothing is padded or cut; groups at 5-6, 3-4 and 1-2 of the whole text.
    QTest::newRow("seven digits") << "1234567" << 0x56 << 0x34 << 0x12;
    QTest::newRow("eight digits") << "ABCDEF12" << 0xEF << 0xCD << 0xAB;
    QTest::newRow("not hexadecimal") << "ZZ" << 0 << 0 << 0;
}

void TestTextForms::splitColourValueText() {
    QFETCH(QString, text);
    QFETCH(int, red);
    QFETCH(int, green);
    QFETCH(int, blue);
    QCOMPARE(HexZerlegen(text), (Rgb{ChannelValue(red), ChannelValue(green), ChannelValue(blue)}));
}

void TestTextForms::lenientReading_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("number");
    QTest::newRow("digits") << "255" << 255.0;
    QTest::newRow("trailing letters") << "12abc" << 12.0;
    QTest::newRow("empty") << "" << 0.0;
    QTest::newRow("no number") << "abc" << 0.0;
    QTest::newRow("decimal point") << "1.5" << 1.5;
    QTest::newRow("decimal comma stops") << "1,5" << 1.0;
    QTest::newRow("blanks between digits") << "2 5 5" << 255.0;
    QTest::newRow("tabs and line feeds") << "\t1\n2" << 12.0;
    QTest::newRow("leading zeros") << "007" << 7.0;
    QTest::newRow("negative") << "-5" << -5.0;
    QTest::newRow("plus sign") << "+7" << 7.0;
    QTest::newRow("point first") << ".5" << 0.5;
    QTest::newRow("exponent") << "1E2" << 100.0;
    QTest::newRow("lower-case exponent") << "2.5e1" << 25.0;
    QTest::newRow("negative exponent") << "5E-1" << 0.5;
    QTest::newRow("exponent without digits") << "3E" << 3.0;
    QTest::newRow("exponent sign without digits") << "3E+x" << 3.0;
    QTest::newRow("hex group") << "&HFF" << 255.0;
    QTest::newRow("hex lower case") << "&h0a" << 10.0;
    QTest::newRow("hex stops at non-digit") << "&H1G" << 1.0;
    QTest::newRow("hex without digits") << "&H" << 0.0;
    QTest::newRow("ampersand only") << "&" << 0.0;
    QTest::newRow("thousands separator stops") << "1.000.000" << 1.0;
    QTest::newRow("sign only") << "-" << 0.0;
    QTest::newRow("second sign stops") << "--5" << 0.0;
    QTest::newRow("huge exponent") << "1E999" << std::numeric_limits<double>::infinity();
    QTest::newRow("huge negative") << "-1E999" << -std::numeric_limits<double>::infinity();
    QTest::newRow("tiny") << "1E-999" << 0.0;
    // Beyond the range of double without an exponent that says which way.
    QTest::newRow("tiny without an exponent") << QString("0." + QString(400, '0') + "1") << 0.0;
    QTest::newRow("huge despite a negative exponent")
        << QString(QString(400, '9') + "E-5") << std::numeric_limits<double>::infinity();
    QTest::newRow("tiny despite a positive exponent")
        << QString("0." + QString(400, '0') + "1E+5") << 0.0;
}

void TestTextForms::lenientReading() {
    QFETCH(QString, text);
    QTEST(readNumber(text), "number");
}

void TestTextForms::conversionToChannel_data() {
    QTest::addColumn<double>("number");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<int>("channel");
    QTest::addColumn<int>("clamped");
    const double inf = std::numeric_limits<double>::infinity();
    QTest::newRow("0") << 0.0 << true << 0 << 0;
    QTest::newRow("1.5 to even 2") << 1.5 << true << 2 << 2;
    QTest::newRow("2.5 to even 2") << 2.5 << true << 2 << 2;
    QTest::newRow("0.5 to even 0") << 0.5 << true << 0 << 0;
    QTest::newRow("254.5 to even 254") << 254.5 << true << 254 << 254;
    QTest::newRow("2.4 down") << 2.4 << true << 2 << 2;
    QTest::newRow("2.6 up") << 2.6 << true << 3 << 3;
    QTest::newRow("255") << 255.0 << true << 255 << 255;
    QTest::newRow("255.4 rounds into range") << 255.4 << true << 255 << 255;
    QTest::newRow("-0.4 rounds into range") << -0.4 << true << 0 << 0;
    QTest::newRow("255.5 overflows") << 255.5 << false << 0 << 255;
    QTest::newRow("256 overflows") << 256.0 << false << 0 << 255;
    QTest::newRow("-0.5 rounds to zero") << -0.5 << true << 0 << 0;
    QTest::newRow("-0.6 overflows") << -0.6 << false << 0 << 0;
    QTest::newRow("-5 overflows") << -5.0 << false << 0 << 0;
    QTest::newRow("infinity") << inf << false << 0 << 255;
    QTest::newRow("minus infinity") << -inf << false << 0 << 0;
    QTest::newRow("not a number") << std::nan("") << false << 0 << 0;
}

void TestTextForms::conversionToChannel() {
    QFETCH(double, number);
    QFETCH(bool, valid);
    const auto channel = toChannel(number);
    QCOMPARE(channel.has_value(), valid);
    if (valid)
        QTEST(int(*channel), "channel");
    QTEST(int(toChannelClamped(number)), "clamped");
}

void TestTextForms::shortestDecimal_data() {
    QTest::addColumn<double>("number");
    QTest::addColumn<QString>("text");
    QTest::newRow("whole") << 7.0 << "7";
    QTest::newRow("zero") << 0.0 << "0";
    QTest::newRow("negative zero") << -0.0 << "0";
    QTest::newRow("fraction") << 1.5 << "1.5";
    QTest::newRow("negative") << -3.0 << "-3";
    QTest::newRow("large") << 1e20 << "1E+20";
}

void TestTextForms::shortestDecimal() {
    QFETCH(double, number);
    QTEST(shortestDecimalText(number), "text");
}

QTEST_GUILESS_MAIN(TestTextForms)
#include "test_text_forms.moc"
