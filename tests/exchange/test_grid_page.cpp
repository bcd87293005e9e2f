// The contrast grid's HTML page as a browser shows it: pigmora-schemes writes it from a palette
// whose names hold what HTML and CSS treat specially, and headless Chromium lays it out; a
// script added at its end writes what every cell and header shows into the page, which
// --dump-dom prints. A missing Chromium fails the test.

#include "base/hex_digit.h"
#include "contrast/wcag.h"
#include "exchange/palette.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

using namespace pigmora;

namespace {

const QByteArray palette = "GIMP Palette\nName: Seltsam\n#\n"
                           " 31  35  40\tfg <b>fett</b> & \"Zitat\"\n"
                           " 89  99 110\tfg.muted'</td></tr></table><script>alert(1)</script>\n"
                           "255 255 255\tbg */ </style> {x}\n"
                           "246 248 250\tbg.Grün 😀\n";

QString rgbText(Rgb c) {
    return QStringLiteral("rgb(%1, %2, %3)").arg(c.red).arg(c.green).arg(c.blue);
}

} // namespace

class TestGridPage : public QObject {
    Q_OBJECT
private slots:
    void everyCellShowsInABrowser();
};

void TestGridPage::everyCellShowsInABrowser() {
    QTemporaryDir dir;
    QFile gpl(dir.filePath("seltsam.gpl"));
    QVERIFY(gpl.open(QIODevice::WriteOnly));
    gpl.write(palette);
    gpl.close();
    QProcess tool;
    tool.start(PIGMORA_SCHEMES_TOOL,
               {"grid", gpl.fileName(), "--format", "html", "--apca", "--min", "4.5"});
    QVERIFY(tool.waitForFinished(60000));
    QCOMPARE(tool.exitCode(), 0);
    QByteArray page = tool.readAllStandardOutput();
    // Self-contained: nothing is fetched from anywhere.
    QVERIFY(!page.contains("src=") && !page.contains("href=") && !page.contains("url("));
    QCOMPARE(page.count("<script"), 0);
    const qsizetype end = page.lastIndexOf("</body>");
    QVERIFY(end > 0);
    page.insert(end, R"(<pre id="ergebnis"></pre><script>
const seen = {headers: [], cells: []};
for (const th of document.querySelectorAll('table.raster th'))
  seen.headers.push(th.textContent);
for (const td of document.querySelectorAll('table.raster td')) {
  const probe = getComputedStyle(td.querySelector('.probe'));
  seen.cells.push([td.title, probe.color, probe.backgroundColor,
                   td.querySelector('.verhaeltnis').textContent,
                   td.classList.contains('abgeblendet'), getComputedStyle(td).opacity]);
}
document.getElementById('ergebnis').textContent = encodeURIComponent(JSON.stringify(seen));
</script>)");
    QFile html(dir.filePath("raster.html"));
    QVERIFY(html.open(QIODevice::WriteOnly));
    html.write(page);
    html.close();

    QProcess browser;
    browser.start("chromium", {"--headless", "--no-sandbox", "--disable-gpu", "--no-first-run",
                               "--disable-background-networking", "--disable-component-update",
                               "--disable-sync", "--user-data-dir=" + dir.filePath("profil"),
                               "--dump-dom", QUrl::fromLocalFile(html.fileName()).toString()});
    const bool ended = browser.waitForFinished(120000);
    if (!ended)
        browser.kill();
    browser.waitForFinished();
    QVERIFY2(ended && browser.exitCode() == 0, browser.readAllStandardError().constData());
    static const QRegularExpression result(QStringLiteral("<pre id=\"ergebnis\">([^<]*)</pre>"));
    const auto m = result.match(QString::fromUtf8(browser.readAllStandardOutput()));
    QVERIFY(m.hasMatch());
    const QJsonObject seen =
        QJsonDocument::fromJson(QUrl::fromPercentEncoding(m.captured(1).toLatin1()).toUtf8())
            .object();

    const PaletteReading reading = readPalette({{QStringLiteral("seltsam.gpl"), palette}});
    const std::vector<PaletteEntry>& colours = reading.palettes.at(0).entries;
    QCOMPARE(colours.size(), 4u);
    // Every name stands as it is, once as a column and once as a row, none taken for markup.
    const QJsonArray headers = seen["headers"].toArray();
    QCOMPARE(headers.size(), 1 + 4 + 4);
    for (std::size_t i = 0; i < colours.size(); ++i) {
        const QString shown = colours[i].path + hashHexText(colours[i].colour);
        QCOMPARE(headers[1 + qsizetype(i)].toString(), shown);
        QCOMPARE(headers[5 + qsizetype(i)].toString(), shown);
    }
    const QJsonArray cells = seen["cells"].toArray();
    QCOMPARE(cells.size(), 16);
    for (std::size_t r = 0; r < 4; ++r)
        for (std::size_t c = 0; c < 4; ++c) {
            const QJsonArray cell = cells[qsizetype(r * 4 + c)].toArray();
            const Rgb text = colours[r].colour, background = colours[c].colour;
            const double ratio = contrastRatio(text, background);
            QVERIFY(cell[0].toString().startsWith(
                QStringLiteral("Text %1 %2 auf %3 ")
                    .arg(colours[r].path, hashHexText(text), colours[c].path)));
            QCOMPARE(cell[1].toString(), rgbText(text));
            QCOMPARE(cell[2].toString(), rgbText(background));
            QCOMPARE(cell[3].toString(), ratioText(ratio));
            QCOMPARE(cell[4].toBool(), !reaches(ratio, 4.5));
            QCOMPARE(cell[5].toString(), reaches(ratio, 4.5) ? "1" : "0.25");
        }
}

QTEST_GUILESS_MAIN(TestGridPage)
#include "test_grid_page.moc"
