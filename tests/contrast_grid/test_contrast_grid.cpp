#include "base/path_glob.h"
#include "contrast/colour_vision.h"
#include "contrast/wcag.h"
#include "contrast_grid/contrast_grid.h"

#include <QTest>

using namespace pigmora;

Q_DECLARE_METATYPE(pigmora::GridLevel)

namespace {

Rgb hex(quint32 rrggbb) {
    return Rgb{ChannelValue(rrggbb >> 16), ChannelValue(rrggbb >> 8), ChannelValue(rrggbb)};
}

GridColour named(const char* name, quint32 rrggbb) {
    return {QString::fromUtf8(name), hex(rrggbb), {}};
}

QString names(const std::vector<GridColour>& colours, const std::vector<int>& order) {
    QStringList out;
    for (int i : order)
        out << colours[std::size_t(i)].name;
    return out.join(QLatin1Char(' '));
}

} // namespace

class TestContrastGrid : public QObject {
    Q_OBJECT
private slots:
    void cellsAsTheContrastWindowJudges_data();
    void cellsAsTheContrastWindowJudges();
    void visionReratesEveryCell();
    void screenReaderText();
    void filtersAndOrder();
    void schemeColoursAreDistinct();
    void namePatterns_data();
    void namePatterns();
};

void TestContrastGrid::cellsAsTheContrastWindowJudges_data() {
    QTest::addColumn<quint32>("text");
    QTest::addColumn<quint32>("background");
    QTest::addColumn<bool>("large");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<GridLevel>("level");
    // 4.478 is cut, never rounded: it shows 4,47 and fails AA.
    QTest::addRow("777777 fails AA")
        << 0x777777u << 0xffffffu << false << "4,47:1" << GridLevel::NonText;
    QTest::addRow("767676 passes AA")
        << 0x767676u << 0xffffffu << false << "4,54:1" << GridLevel::AA;
    QTest::addRow("black on white")
        << 0x000000u << 0xffffffu << false << "21,00:1" << GridLevel::AAA;
    QTest::addRow("6,99 is not AAA")
        << 0x3da1cfu << 0x000415u << false << "6,99:1" << GridLevel::AA;
    QTest::addRow("2,99 is nothing")
        << 0x953f27u << 0x010101u << false << "2,99:1" << GridLevel::Fails;
    // Large text: AA from 3:1, AAA from 4,5:1.
    QTest::addRow("777777 large") << 0x777777u << 0xffffffu << true << "4,47:1" << GridLevel::AA;
    QTest::addRow("767676 large") << 0x767676u << 0xffffffu << true << "4,54:1" << GridLevel::AAA;
    QTest::addRow("4,49 large") << 0xc14e60u << 0x00000du << true << "4,49:1" << GridLevel::AA;
    QTest::addRow("red on white large")
        << 0xff0000u << 0xffffffu << true << "3,99:1" << GridLevel::AA;
}

void TestContrastGrid::cellsAsTheContrastWindowJudges() {
    QFETCH(quint32, text);
    QFETCH(quint32, background);
    QFETCH(bool, large);
    QFETCH(QString, shown);
    QFETCH(GridLevel, level);
    ContrastGrid grid({named("t", text)}, {named("b", background)}, {large, std::nullopt});
    QCOMPARE(ratioText(grid.ratio(0, 0)), shown);
    QCOMPARE(grid.level(0, 0), level);
    // Rated again for the other size class, as a font change does.
    grid.rate({!large, std::nullopt});
    QCOMPARE(grid.level(0, 0), gridLevel(grid.ratio(0, 0), !large));
    QCOMPARE(ratioText(grid.ratio(0, 0)), shown);
}

// Each deficiency judges what it sees: the contrast window's simulation of both colours.
void TestContrastGrid::visionReratesEveryCell() {
    const std::vector<GridColour> rows{named("rot", 0xd1242f), named("gruen", 0x1a7f37),
                                       named("blau", 0x0969da), named("grau", 0x59636e)};
    const std::vector<GridColour> columns{named("weiss", 0xffffff), named("gruenlich", 0x2da44e),
                                          named("dunkel", 0x0d1117)};
    ContrastGrid grid(rows, columns);
    int changed = 0;
    for (VisionDeficiency d : allVisionDeficiencies) {
        grid.rate({false, d});
        for (int r = 0; r < grid.rowCount(); ++r)
            for (int c = 0; c < grid.columnCount(); ++c) {
                const Rgb t = simulateVision(rows[std::size_t(r)].colour, d);
                const Rgb b = simulateVision(columns[std::size_t(c)].colour, d);
                QCOMPARE(grid.seenRow(r), t);
                QCOMPARE(grid.ratio(r, c), contrastRatio(t, b));
                QCOMPARE(grid.level(r, c), gridLevel(contrastRatio(t, b), false));
                changed +=
                    grid.level(r, c) != gridLevel(contrastRatio(rows[std::size_t(r)].colour,
                                                                columns[std::size_t(c)].colour),
                                                  false);
            }
    }
    QVERIFY(changed > 0); // red on green is not what a protanope sees
    grid.rate({});
    QCOMPARE(grid.seenRow(0), rows[0].colour);
}

void TestContrastGrid::screenReaderText() {
    ContrastGrid grid({named("fgColor.muted", 0x59636e), named("fgColor.disabled", 0x818b98)},
                      {named("bgColor.default", 0xffffff)});
    QCOMPARE(gridCellText(grid, 0, 0),
             QStringLiteral("Text fgColor.muted #59636e auf bgColor.default #ffffff: 6,11:1, AA "
                            "bestanden"));
    QCOMPARE(gridCellText(grid, 1, 0),
             QStringLiteral("Text fgColor.disabled #818b98 auf bgColor.default #ffffff: 3,45:1, "
                            "nur 3:1 bestanden"));
    grid.rate({false, VisionDeficiency::Achromatopsia});
    QVERIFY(gridCellText(grid, 0, 0, true)
                .startsWith(QStringLiteral("Text fgColor.muted #59636e auf bgColor.default "
                                           "#ffffff bei Achromatopsie: ")));
    QVERIFY(gridCellText(grid, 0, 0, true).contains(QStringLiteral(", APCA Lc ")));
}

void TestContrastGrid::filtersAndOrder() {
    const ContrastGrid grid(
        {named("mittel", 0x777777), named("schwarz", 0x000000), named("hell", 0xeeeeee)},
        {named("weiss", 0xffffff), named("grau", 0x808080), named("fast-weiss", 0xfafafa)});
    GridFilter filter;
    GridView all = makeGridView(grid, filter);
    QCOMPARE(names(grid.rows(), all.rows), QStringLiteral("mittel schwarz hell"));
    QVERIFY(all.passes(grid, 2, 0)); // no minimum: everything passes
    filter.byLightness = true;
    all = makeGridView(grid, filter);
    QCOMPARE(names(grid.rows(), all.rows), QStringLiteral("hell mittel schwarz"));
    QCOMPARE(names(grid.columns(), all.columns), QStringLiteral("weiss fast-weiss grau"));

    filter = {};
    filter.minimumRatio = requiredRatio(WcagLevel::AA, false);
    GridView aa = makeGridView(grid, filter);
    QVERIFY(!aa.passes(grid, 0, 0)); // 4,47:1
    QVERIFY(aa.passes(grid, 1, 0));
    QCOMPARE(aa.rows.size(), 3u); // greyed, not hidden
    filter.hideEmpty = true;
    aa = makeGridView(grid, filter);
    QCOMPARE(names(grid.rows(), aa.rows), QStringLiteral("schwarz"));
    QCOMPARE(names(grid.columns(), aa.columns), QStringLiteral("weiss grau fast-weiss"));
}

void TestContrastGrid::schemeColoursAreDistinct() {
    const std::vector<ColourScheme> schemes{{"Abend", hex(0x111111), hex(0xffffff)},
                                            {"Morgen", hex(0x111111), hex(0xf6f8fa)},
                                            {"Mittag", hex(0x59636e), hex(0xffffff)},
                                            {"Abend", hex(0x111111), hex(0xffffff)}};
    const auto texts = schemeGridColours(schemes, SchemeColours::Text);
    QCOMPARE(texts.size(), 2u);
    QCOMPARE(texts[0].name, QStringLiteral("Abend"));
    QCOMPARE(texts[0].description, QStringLiteral("auch in Morgen"));
    QCOMPARE(schemeGridColours(schemes, SchemeColours::Background).size(), 2u);
    const auto both = schemeGridColours(schemes, SchemeColours::Both);
    QCOMPARE(both.size(), 4u);
    QCOMPARE(both[1].name, QStringLiteral("Abend (Hintergrund)"));
}

void TestContrastGrid::namePatterns_data() {
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("matches");
    QTest::addRow("one name") << "fgColor.*"
                              << "fgColor.default" << true;
    QTest::addRow("not deeper") << "fgColor.*"
                                << "fgColor.button.default" << false;
    QTest::addRow("any depth") << "fgColor.**"
                               << "fgColor.button.default" << true;
    QTest::addRow("inside a name") << "*Color.default"
                                   << "fgColor.default" << true;
    QTest::addRow("middle") << "base.*.13"
                            << "base.color.13" << true;
    QTest::addRow("question mark is itself") << "fg?olor.*"
                                             << "fgColor.x" << false;
    QTest::addRow("part of a name") << "fg-*"
                                    << "fg-accent" << true;
    QTest::addRow("case counts") << "fgcolor.*"
                                 << "fgColor.default" << false;
    QTest::addRow("exact") << "Abend"
                           << "Abend" << true;
    QTest::addRow("longer name") << "Abend"
                                 << "Abendrot" << false;
    QTest::addRow("empty pattern") << ""
                                   << "x" << false;
    QTest::addRow("empty both") << ""
                                << "" << true;
    QTest::addRow("star alone, empty name") << "*"
                                            << "" << true;
    QTest::addRow("many stars, no match")
        << "*a*a*a*a*a*a*a*a*a*a*b" << QString(4000, QLatin1Char('a')) << false;
    QTest::addRow("none or several names for **") << "color.**.fg"
                                                  << "color.fg" << true;
    QTest::addRow("many ** over many names, no match")
        << "**.a.**.a.*.**.a*.**.a.**.b" << QStringList(3000, "a").join('.') << false;
    QTest::addRow("many ** over many names")
        << "**.a.**.a.*.**.a*.**.a" << QStringList(3000, "a").join('.') << true;
}

void TestContrastGrid::namePatterns() {
    QFETCH(QString, pattern);
    QFETCH(QString, name);
    QFETCH(bool, matches);
    QCOMPARE(globMatches(pattern, name), matches);
}

QTEST_GUILESS_MAIN(TestContrastGrid)
#include "test_contrast_grid.moc"
