#include "exchange/scheme_import.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace pigmora;

namespace {

QByteArray scheme(const QByteArray& name, const QByteArray& text = "\"#000000\"",
                  const QByteArray& background = "\"#ffffff\"") {
    return "{\"name\": " + name + ", \"text\": " + text + ", \"background\": " + background + "}";
}

QByteArray document(const QByteArray& schemes) {
    return "{\"format\": \"pigmora-schemes\", \"version\": 1, \"schemes\": [" + schemes + "]}";
}

QByteArray palette(const QByteArray& lines) {
    return "GIMP Palette\nName: Test\nColumns: 2\n#\n" + lines;
}

} // namespace

// Files from elsewhere: each is read into schemes and refused entries with their reasons, or
// refused as a whole with a message; none may crash the reader.
class TestSchemeImport : public QObject {
    Q_OBJECT
private slots:
    void hostileContents_data();
    void hostileContents();
    void refusalsSayWhereAndWhat();
    void cssColoursOfEveryForm();
    void paletteLinesPairUpByName();
    void nameRules_data();
    void nameRules();
    void hostileFiles();
};

void TestSchemeImport::hostileContents_data() {
    QTest::addColumn<QByteArray>("contents");
    QTest::addColumn<QString>("error"); // part of the file-level message; empty: none
    QTest::addColumn<int>("schemes");
    QTest::addColumn<QString>("reasons"); // parts of the refusals' reasons, joined by "|"

    const QByteArray ok = scheme("\"Gut\"");
    QTest::addRow("export format") << document(ok) << "" << 1 << "";
    QTest::addRow("bare array") << "[" + ok + "," + ok + "]"
                                << "" << 2 << "";
    QTest::addRow("empty list") << document("") << "" << 0 << "";
    QTest::addRow("BOM and CRLF") << "\xEF\xBB\xBF" + document(ok + ",\r\n" + ok) << "" << 2 << "";
    QTest::addRow("#rgb and channels")
        << document(scheme("\"a\"", "\"#FfF\"", "[0, 128, 255]")) << "" << 1 << "";
    QTest::addRow("malformed") << QByteArray("{\"format\": ") << "kein gültiges JSON" << 0 << "";
    QTest::addRow("not closed") << QByteArray("[" + ok) << "nicht abgeschlossen" << 0 << "";
    QTest::addRow("garbage after") << QByteArray("[] x") << "weitere Zeichen" << 0 << "";
    QTest::addRow("number at the top") << QByteArray("42") << "JSON" << 0 << "";
    QTest::addRow("empty file") << QByteArray() << "JSON" << 0 << "";
    QTest::addRow("nested too deep") << QByteArray(100000, '[') << "verschachtelt" << 0 << "";
    QTest::addRow("no format") << QByteArray("{\"version\": 1, \"schemes\": []}") << "„format“" << 0
                               << "";
    QTest::addRow("other format") << QByteArray(
                                         "{\"format\": \"css\", \"version\": 1, \"schemes\": []}")
                                  << "„format“" << 0 << "";
    QTest::addRow("version 2")
        << QByteArray("{\"format\": \"pigmora-schemes\", \"version\": 2, \"schemes\": []}")
        << "Version 2" << 0 << "";
    QTest::addRow("no version") << QByteArray("{\"format\": \"pigmora-schemes\", \"schemes\": []}")
                                << "„version“" << 0 << "";
    QTest::addRow("schemes not a list")
        << QByteArray("{\"format\": \"pigmora-schemes\", \"version\": 1, \"schemes\": {}}")
        << "„schemes“" << 0 << "";
    QTest::addRow("wrong types") << document("42, \"Text\", null, " + scheme("17") + ", " +
                                             scheme("[\"x\"]") + ", {}")
                                 << "" << 0
                                 << "kein Objekt|kein Objekt|kein Objekt|„name“|„name“|„name“";
    QTest::addRow("missing fields")
        << document("{\"name\": \"a\"}, {\"name\": \"b\", \"text\": \"#000\"}") << "" << 0
        << "„text“|„background“";
    QTest::addRow("channels out of range")
        << document(scheme("\"a\"", "[256, 0, 0]") + "," + scheme("\"b\"", "[-1, 0, 0]") + "," +
                    scheme("\"c\"", "[1.5, 0, 0]") + "," + scheme("\"d\"", "[1e300, 0, 0]"))
        << "" << 0 << "„text“|„text“|„text“|„text“";
    QTest::addRow("number beyond double")
        << document(scheme("\"a\"", "[1e400, 0, 0]")) << "Zahl ist ungültig" << 0 << "";
    QTest::addRow("channels as texts or wrong count")
        << document(scheme("\"a\"", "[\"12\", \"0\", \"0\"]") + "," + scheme("\"b\"", "[1, 2]") +
                    "," + scheme("\"c\"", "[1, 2, 3, 4]") + "," + scheme("\"d\"", "\"12\""))
        << "" << 0 << "„text“|„text“|„text“|„text“";
    QTest::addRow("hexadecimal colours that are none, beside CSS colours")
        << document(scheme("\"a\"", "\"#GGGGGG\"") + "," + scheme("\"b\"", "\"red\"") + "," +
                    scheme("\"c\"", "\"#12345\"") + "," + scheme("\"d\"", "\"rgb(1,2,3)\""))
        << "" << 2 << "„text“: „#GGGGGG“|„text“: „#12345“";
    QTest::addRow("CSS colours that are not opaque or not read")
        << document(scheme("\"a\"", "\"#0008\"") + "," +
                    scheme("\"b\"", "\"#000\"", "\"rgb(0 0 0 / 99%)\"") + "," +
                    scheme("\"c\"", "\"transparent\"") + "," + scheme("\"d\"", "\"var(--x)\"") +
                    "," + scheme("\"e\"", "\"oklch(50% 0.1)\""))
        << "" << 0
        << "„text“: „#0008“ ist nicht deckend (Alpha 0,533)|„background“: „rgb(0 0 0 / 99%)“ ist "
           "nicht deckend|„transparent“ wird nicht gelesen|„var(--x)“|„oklch(50% 0.1)“";
    QTest::addRow("names that \"&Neu\" refuses")
        << document(scheme("\"\"") + "," + scheme("\"" + QByteArray(31, 'x') + "\"") + "," +
                    scheme("\"" + QByteArray(10000, 'y') + "\"") + "," + scheme("\"a\\nb\"") + "," +
                    scheme("\"a\\u0000b\"") + "," + scheme("\"\\ud800\""))
        << "" << 0 << "leer|31 Zeichen|10000 Zeichen|Steuerzeichen|Steuerzeichen|ungültige";
    QTest::addRow("refused beside accepted")
        << document(ok + ", 7, " + ok) << "" << 2 << "kein Objekt";

    QTest::addRow("palette") << palette("  0   0   0\tA (Text)\n255 255 255\tA (Hintergrund)\n")
                             << "" << 1 << "";
    QTest::addRow("palette with BOM, CRLF and blanks as separators")
        << "\xEF\xBB\xBF" + palette("0 0 0 A (Text)\r\n255 255 255 A (Hintergrund)  \r\n") << ""
        << 1 << "";
    QTest::addRow("no palette header")
        << QByteArray("0 0 0\tA (Text)\n0 0 0\tA (Hintergrund)\n") << "JSON" << 0 << "";
    QTest::addRow("palette not UTF-8")
        << palette("0 0 0\t\xE4 (Text)\n0 0 0\t\xE4 (Hintergrund)\n") << "UTF-8" << 0 << "";
    QTest::addRow("palette with odd columns")
        << palette("0 0\tA (Text)\n0 0 0\tA (Hintergrund)\n0 x 0\tB (Text)\n") << "" << 0
        << "drei ganze Farbwerte|„A (Text)“ fehlt|drei ganze Farbwerte";
    QTest::addRow("palette value 256") << palette("256 0 0\tA (Text)\n0 0 0\tA (Hintergrund)\n")
                                       << "" << 0 << "256|„A (Text)“ fehlt";
    QTest::addRow("palette lines of no scheme")
        << palette("0 0 0\tUntitled\n0 0 0\n") << "" << 0 << "weder|weder";
    QTest::addRow("palette name too long")
        << palette("0 0 0\t" + QByteArray(31, 'x') + " (Text)\n0 0 0\t" + QByteArray(31, 'x') +
                   " (Hintergrund)\n")
        << "" << 0 << "31 Zeichen";
}

void TestSchemeImport::hostileContents() {
    QFETCH(QByteArray, contents);
    QFETCH(QString, error);
    QFETCH(int, schemes);
    QFETCH(QString, reasons);
    const ImportReading read = readSchemeImport(contents);
    if (error.isEmpty())
        QVERIFY2(read.error.isEmpty(), qPrintable(read.error));
    else
        QVERIFY2(read.error.contains(error), qPrintable(read.error));
    QCOMPARE(int(read.schemes.size()), schemes);
    const QStringList expected = reasons.isEmpty() ? QStringList() : reasons.split('|');
    QCOMPARE(int(read.refused.size()), int(expected.size()));
    for (int i = 0; i < expected.size(); ++i)
        QVERIFY2(read.refused[i].reason.contains(expected[i]), qPrintable(read.refused[i].reason));
    if (!read.error.isEmpty())
        QVERIFY(read.schemes.empty() && read.refused.empty());
}

// Colours written as CSS Color 4 writes them; a colour outside sRGB is gamut-mapped, counted
// and taken.
void TestSchemeImport::cssColoursOfEveryForm() {
    const ImportReading read = readSchemeImport(
        document(scheme("\"A\"", "\"oklch(62.8% 0.25768 29.23)\"", "\"hsl(120 100% 25%)\"") + "," +
                 scheme("\"B\"", "\"color(display-p3 1 1 0)\"", "\"lab(100 0 0)\"") + "," +
                 scheme("\"C\"", "\"rgb(0 0 0 / 100%)\"", "\"oklch(70% 0.4 30)\"")));
    for (const RefusedEntry& r : read.refused)
        QFAIL(qPrintable(r.reason));
    const std::vector<ColourScheme> expected{{"A", {255, 0, 0}, {0, 128, 0}},
                                             {"B", {254, 255, 0}, {255, 255, 255}},
                                             {"C", {0, 0, 0}, {255, 88, 67}}};
    QVERIFY(read.schemes == expected);
    QCOMPARE(read.approximated, 2);
}

void TestSchemeImport::refusalsSayWhereAndWhat() {
    const ImportReading json = readSchemeImport(
        document(scheme("\"Gut\"") + ", " + scheme("\"" + QByteArray(100, 'z') + "\"") + ", 42"));
    QCOMPARE(json.refused.size(), std::size_t(2));
    QCOMPARE(json.refused[0].where, "Eintrag 2");
    QCOMPARE(json.refused[0].what, QString(40, 'z') + QChar(0x2026));
    QCOMPARE(json.refused[1].where, "Eintrag 3");
    QCOMPARE(json.refused[1].what, "42");

    const ImportReading gpl = readSchemeImport(palette("0 0 0\tA (Text)\nfalsch\n"));
    QCOMPARE(gpl.refused.size(), std::size_t(2));
    QCOMPARE(gpl.refused[0].where, "Zeile 5");       // the header has four lines
    QCOMPARE(gpl.refused[0].what, "0 0 0 A (Text)"); // the tab shown as a blank
    QCOMPARE(gpl.refused[1].where, "Zeile 6");
    QCOMPARE(gpl.refused[1].what, "falsch");
}

void TestSchemeImport::paletteLinesPairUpByName() {
    // A background before its text, a name stored twice, and two schemes interleaved: each
    // scheme stands where its first line stands, the n-th text with the n-th background.
    const ImportReading read = readSchemeImport(palette("1 1 1\tB (Hintergrund)\n"
                                                        "2 2 2\tA (Text)\n"
                                                        "3 3 3\tB (Text)\n"
                                                        "4 4 4\tA (Text)\n"
                                                        "5 5 5\tA (Hintergrund)\n"
                                                        "6 6 6\tA (Hintergrund)\n"));
    QVERIFY(read.refused.empty());
    const std::vector<ColourScheme> expected{
        {"B", {3, 3, 3}, {1, 1, 1}}, {"A", {2, 2, 2}, {5, 5, 5}}, {"A", {4, 4, 4}, {6, 6, 6}}};
    QVERIFY(read.schemes == expected);
}

void TestSchemeImport::nameRules_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("taken");
    QTest::addRow("30 characters") << QString(30, 'a') << true;
    QTest::addRow("31 characters") << QString(31, 'a') << false;
    QTest::addRow("30 emoji") << QString("😀").repeated(30) << true;
    QTest::addRow("31 emoji") << QString("😀").repeated(31) << false;
    QTest::addRow("blanks") << "   " << true;
    QTest::addRow("empty") << "" << false;
    QTest::addRow("tab") << "a\tb" << false;
    QTest::addRow("C1 control") << QString("a") + QChar(0x85) << false;
    QTest::addRow("lone surrogate") << QString(QChar(0xDC00)) << false;
}

void TestSchemeImport::nameRules() {
    QFETCH(QString, name);
    QFETCH(bool, taken);
    QCOMPARE(!nameRefusal(name).has_value(), taken);
}

void TestSchemeImport::hostileFiles() {
    QTemporaryDir dir;
    const auto write = [&dir](const QString& name, const QByteArray& contents) {
        QFile f(dir.filePath(name));
        f.open(QIODevice::WriteOnly);
        f.write(contents);
        return f.fileName();
    };
    // Exactly the limit is read; one byte more is refused unread.
    QByteArray limit(maxImportBytes, ' ');
    limit.replace(0, 2, "[]");
    QVERIFY(readSchemeImportFile(write("grenze.json", limit)).error.isEmpty());
    const ImportReading large = readSchemeImportFile(write("gross.json", limit + ' '));
    QVERIFY2(large.error.contains("größer als 10 MB"), qPrintable(large.error));
    QVERIFY(large.error.contains("gross.json"));

    QByteArray many = "[";
    for (int i = 0; i <= maxImportSchemes; ++i)
        many += QByteArray(i ? "," : "") + "{}";
    many += "]";
    QVERIFY(readSchemeImportFile(write("viele.json", many)).error.contains("100000"));

    QVERIFY(readSchemeImportFile(dir.filePath("fehlt.json")).error.contains("nicht vorhanden"));
    QVERIFY(readSchemeImportFile(dir.path()).error.contains("keine gewöhnliche Datei"));
    QVERIFY(readSchemeImportFile("/dev/zero").error.contains("keine gewöhnliche Datei"));
    const ImportReading broken = readSchemeImportFile(write("kaputt.json", "{"));
    QVERIFY(broken.error.contains("kaputt.json") && broken.error.contains("JSON"));
}

QTEST_APPLESS_MAIN(TestSchemeImport)
#include "test_scheme_import.moc"
