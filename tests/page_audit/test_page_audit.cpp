// The judgement of texts on prepared renderings, and a whole page's audit through the session
// seam with a page made of pictures: no browser.

#include "page_audit/audit_report.h"
#include "page_audit/audit_sources.h"
#include "page_audit/page_audit.h"
#include "page_audit/text_judgement.h"

#include <QBuffer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QUrl>
#include <QtEndian>
#include <QtTest>

using namespace pigmora;

namespace {

constexpr Rgb white{255, 255, 255}, black{0, 0, 0}, yellow{255, 255, 0};

enum class Ground { White, Gradient, Stripes };

// A text-less rendering 256 × 20 at the page's top left.
PixelImage ground(Ground kind) {
    PixelImage image(256, 20, white);
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x) {
            const auto grey = ChannelValue(255 - x);
            if (kind == Ground::Gradient)
                image.set(x, y, {grey, grey, grey});
            if (kind == Ground::Stripes)
                image.set(x, y, (x / 4) % 2 ? black : yellow);
        }
    return image;
}

PageText textOf(const QString& text, Rgb colour, double alpha, double px, int weight,
                std::vector<GlyphBox> boxes = {{10, 2, 200, 16}}) {
    PageText t;
    t.text = text;
    t.colour = colour;
    t.alpha = alpha;
    t.fontSizePx = px;
    t.fontWeight = weight;
    t.boxes = std::move(boxes);
    return t;
}

// A page that is a pair of pictures; captures must lie within one viewport cell, as the real
// browser's do.
class PicturePage : public PageSession {
public:
    PageLayout layout;
    PixelImage asIs, textless;
    int captures = 0;

    PageLayout load(const PageSource&, const RenderSettings&) override { return layout; }
    PixelImage capture(const PixelRect& area, Rendering rendering) override {
        const int vw = layout.viewportWidth, vh = layout.viewportHeight;
        if (area.x / vw != (area.right() - 1) / vw || area.y / vh != (area.bottom() - 1) / vh)
            qFatal("a capture across cells");
        ++captures;
        return (rendering == Rendering::AsIs ? asIs : textless).cut(area);
    }
    std::vector<Rgb> seenColours(const std::vector<Rgb>& colours) override { return colours; }
    int refusedRequests() const override { return 2; }
};

// A PNG of 3 × 2 pixels (RGB) whose rows are stored with the given filters, or changed by
// `spoil` before its chunks are made.
QByteArray pngOf(const QList<int>& filters, int colourType = 2,
                 const std::function<void(QByteArray&)>& spoil = {}) {
    const int bpp = colourType == 6 ? 4 : 3, width = 3;
    const auto chunk = [](const char* type, const QByteArray& body) {
        QByteArray c(4, '\0');
        qToBigEndian<quint32>(quint32(body.size()), c.data());
        return c + type + body + QByteArray(4, '\0'); // the reader does not check the CRC
    };
    QByteArray header(13, '\0');
    qToBigEndian<quint32>(width, header.data());
    qToBigEndian<quint32>(quint32(filters.size()), header.data() + 4);
    header[8] = 8;
    header[9] = char(colourType);
    // Pixel (x, y) is (10x + 50y, 20x + 1, 200 - 30y); each row filtered as asked.
    QByteArray raw, previous(width * bpp, '\0');
    for (int y = 0; y < filters.size(); ++y) {
        QByteArray row;
        for (int x = 0; x < width; ++x) {
            row += char(10 * x + 50 * y);
            row += char(20 * x + 1);
            row += char(200 - 30 * y);
            if (bpp == 4)
                row += char(255);
        }
        QByteArray out(row.size(), '\0');
        for (int i = 0; i < row.size(); ++i) {
            const int a = i >= bpp ? quint8(row[i - bpp]) : 0, b = quint8(previous[i]),
                      c = i >= bpp ? quint8(previous[i - bpp]) : 0;
            const int p = a + b - c, pa = std::abs(p - a), pb = std::abs(p - b),
                      pc = std::abs(p - c);
            const int predictor[] = {0, a, b, (a + b) / 2,
                                     pa <= pb && pa <= pc ? a
                                     : pb <= pc           ? b
                                                          : c};
            out[i] = char(quint8(row[i]) - predictor[std::min(filters[y], 4)]);
        }
        raw += char(filters[y]) + out;
        previous = row;
    }
    if (spoil)
        spoil(raw);
    const QByteArray zlib = qCompress(raw).mid(4); // without Qt's length prefix
    return QByteArray("\x89PNG\r\n\x1a\n", 8) + chunk("IHDR", header) + chunk("IDAT", zlib) +
           chunk("IEND", {});
}

} // namespace

class TestPageAudit : public QObject {
    Q_OBJECT
private slots:
    void judgement_data();
    void judgement();
    void textAcrossPictures();
    void pageThroughTheSeam();
    void pngReading_data();
    void pngReading();
    void sources();
    void reportsEscapeThePage();
};

void TestPageAudit::judgement_data() {
    QTest::addColumn<int>("ground");
    QTest::addColumn<PageText>("text");
    QTest::addColumn<bool>("enhanced");
    QTest::addColumn<int>("outcome"); // a TextVerdict, or 10 + a SkipReason
    QTest::addColumn<int>("lowest");  // hundredths
    QTest::addColumn<int>("highest");

    const auto skip = [](SkipReason r) { return 10 + int(r); };
    QTest::newRow("schwarz auf weiß") << int(Ground::White) << textOf("Text", black, 1, 16, 400)
                                      << false << int(TextVerdict::Pass) << 2100 << 2100;
    QTest::newRow("grau 777, knapp darunter")
        << int(Ground::White) << textOf("Text", {0x77, 0x77, 0x77}, 1, 16, 400) << false
        << int(TextVerdict::Fail) << 447 << 447;
    // Columns 10 .. 209 of the gradient: grey 245 down to 46.
    QTest::newRow("verlauf: nur der niedrigste darunter")
        << int(Ground::Gradient) << textOf("Text", black, 1, 16, 400) << false
        << int(TextVerdict::Review) << ratioHundredths(contrastRatio(black, {46, 46, 46}))
        << ratioHundredths(contrastRatio(black, {245, 245, 245}));
    QTest::newRow("bild: weiß auf gelb und schwarz")
        << int(Ground::Stripes) << textOf("Text", white, 1, 16, 400) << false
        << int(TextVerdict::Review) << 107 << 2100;
    QTest::newRow("halb durchsichtig") << int(Ground::White) << textOf("Text", black, 0.5, 16, 400)
                                       << false << int(TextVerdict::Fail) << 394 << 394;
    QTest::newRow("deckkraft 0,3 der vorfahren")
        << int(Ground::White) << textOf("Text", black, 0.3, 16, 400) << false
        << int(TextVerdict::Fail) << 209 << 209;
    QTest::newRow("groß: 18 pt") << int(Ground::White)
                                 << textOf("Text", {0x94, 0x94, 0x94}, 1, 24, 400) << false
                                 << int(TextVerdict::Pass) << 303 << 303;
    QTest::newRow("groß: 14 pt fett")
        << int(Ground::White) << textOf("Text", {0x94, 0x94, 0x94}, 1, 18.67, 700) << false
        << int(TextVerdict::Pass) << 303 << 303;
    QTest::newRow("13 pt fett ist nicht groß")
        << int(Ground::White) << textOf("Text", {0x94, 0x94, 0x94}, 1, 17.33, 700) << false
        << int(TextVerdict::Fail) << 303 << 303;
    QTest::newRow("14 pt halbfett ist nicht groß")
        << int(Ground::White) << textOf("Text", {0x94, 0x94, 0x94}, 1, 18.67, 600) << false
        << int(TextVerdict::Fail) << 303 << 303;
    QTest::newRow("aaa: groß braucht 4,5")
        << int(Ground::White) << textOf("Text", {0x94, 0x94, 0x94}, 1, 24, 400) << true
        << int(TextVerdict::Fail) << 303 << 303;
    QTest::newRow("aaa: 7 knapp erreicht")
        << int(Ground::White) << textOf("Text", {0x59, 0x59, 0x59}, 1, 16, 400) << true
        << int(TextVerdict::Pass) << 700 << 700;
    QTest::newRow("ohne buchstaben") << int(Ground::White) << textOf("★ → ←", black, 1, 16, 400)
                                     << false << skip(SkipReason::Decorative) << 0 << 0;
    QTest::newRow("ziffern zählen") << int(Ground::White) << textOf("42 %", black, 1, 16, 400)
                                    << false << int(TextVerdict::Pass) << 2100 << 2100;
    QTest::newRow("buchstabe außerhalb der bmp")
        << int(Ground::White) << textOf(QString::fromUtf8("\U0001D400"), black, 1, 16, 400) << false
        << int(TextVerdict::Pass) << 2100 << 2100;
    QTest::newRow("farbe wie der hintergrund")
        << int(Ground::White) << textOf("Text", white, 1, 16, 400) << false
        << skip(SkipReason::Invisible) << 0 << 0;
    QTest::newRow("keine pixelmitte in der box")
        << int(Ground::White) << textOf("Text", black, 1, 16, 400, {{10.6, 2, 0.8, 16}}) << false
        << skip(SkipReason::Clipped) << 0 << 0;
    QTest::newRow("eine pixelmitte, am gradienten")
        << int(Ground::Gradient) << textOf("Text", black, 1, 16, 400, {{100.4, 2.4, 0.2, 0.2}})
        << false << int(TextVerdict::Pass) << ratioHundredths(contrastRatio(black, {155, 155, 155}))
        << ratioHundredths(contrastRatio(black, {155, 155, 155}));
}

void TestPageAudit::judgement() {
    QFETCH(int, ground);
    QFETCH(PageText, text);
    QFETCH(bool, enhanced);
    QFETCH(int, outcome);
    QFETCH(int, lowest);
    QFETCH(int, highest);

    TextMeter meter(text.colour, text.alpha);
    meter.measure(::ground(Ground(ground)), text.boxes);
    const Judgement j = judgeText(text, meter, enhanced ? WcagLevel::AAA : WcagLevel::AA);
    if (outcome >= 10) {
        QVERIFY(j.skipped);
        QCOMPARE(int(*j.skipped), outcome - 10);
        return;
    }
    QVERIFY2(!j.skipped, qPrintable(QString::number(int(*j.skipped))));
    QCOMPARE(int(j.finding.verdict), outcome);
    QCOMPARE(ratioHundredths(j.finding.lowest), lowest);
    QCOMPARE(ratioHundredths(j.finding.highest), highest);
    // The pair of the lowest contrast gives that contrast.
    QCOMPARE(ratioHundredths(contrastRatio(j.finding.shownLowest, j.finding.backgroundLowest)),
             lowest);
}

// A text whose boxes lie across two pictures gets its lowest from one and its highest from the
// other, each pixel counted once.
void TestPageAudit::textAcrossPictures() {
    PixelImage top(40, 10, white), bottom(40, 10, {0x76, 0x76, 0x76});
    bottom.originY = 10;
    TextMeter meter(black, 1);
    const std::vector<GlyphBox> boxes{{0, 5, 40, 10}};
    meter.measure(top, boxes);
    meter.measure(bottom, boxes);
    QCOMPARE(meter.pixels(), 40 * 10);
    QCOMPARE(meter.backgroundHighest(), white);
    QCOMPARE(meter.backgroundLowest(), (Rgb{0x76, 0x76, 0x76}));
}

// A page of 250 × 230 in viewport cells of 100 × 100: texts across cells, sorted worst first,
// crops from the rendering as it is, and the framed picture.
void TestPageAudit::pageThroughTheSeam() {
    PicturePage page;
    page.layout.width = 250;
    page.layout.height = 230;
    page.layout.viewportWidth = 100;
    page.layout.viewportHeight = 100;
    page.layout.skipped[SkipReason::Hidden] = 3;
    page.textless = PixelImage(250, 230, white);
    for (int y = 90; y < 230; ++y) // a grey band from row 90 down
        for (int x = 0; x < 250; ++x)
            page.textless.set(x, y, {0x59, 0x59, 0x59});
    page.asIs = page.textless;
    page.asIs.set(5, 5, {1, 2, 3}); // a mark only the rendering as it is has
    const auto add = [&page](const char* selector, Rgb colour, GlyphBox box) {
        PageText t = textOf(QString::fromLatin1(selector), colour, 1, 16, 400, {box});
        t.selector = QString::fromLatin1(selector);
        page.layout.texts.push_back(t);
    };
    add("weiss-auf-beidem", white, {80, 80, 60, 20});    // across four cells: white and grey
    add("schwarz", black, {4, 4, 30, 10});               // 21:1
    add("grau", {0x59, 0x59, 0x59}, {150, 150, 50, 20}); // grey on grey: invisible
    add("hell-auf-grau", {0xaa, 0xaa, 0xaa}, {10, 200, 50, 20}); // 3:1 everywhere

    QByteArray png;
    QBuffer device(&png);
    device.open(QIODevice::WriteOnly);
    AuditNeeds needs;
    needs.cropLimit = 2;
    needs.image = &device;
    AuditProgress progress;
    const PageAuditResult r =
        auditPage(page, {QStringLiteral("seite.html"), {}, {}}, {}, needs, progress);

    QCOMPARE(r.findings.size(), std::size_t(3));
    QCOMPARE(r.skipped[SkipReason::Invisible], 1);
    QCOMPARE(r.skipped[SkipReason::Hidden], 3);
    QCOMPARE(r.refusedRequests, 2);
    QStringList order;
    for (const TextFinding& f : r.findings)
        order << f.text.selector;
    QCOMPARE(order, (QStringList{"hell-auf-grau", "weiss-auf-beidem", "schwarz"}));
    QCOMPARE(int(r.findings[1].verdict), int(TextVerdict::Review));
    QCOMPARE(r.findings[1].pixels, 60 * 20);
    // Crops for the worst two, from the rendering as it is, 8 pixels around the boxes.
    QCOMPARE(r.findings[0].crop.area(), (PixelRect{2, 192, 66, 36}));
    QVERIFY(r.findings[2].crop.empty());
    QCOMPARE(r.findings[1].crop.pageAt(80, 80), white);

    const std::optional<PixelImage> picture = decodePng(png);
    QVERIFY(picture);
    QCOMPARE(picture->area(), (PixelRect{0, 0, 250, 230}));
    QCOMPARE(picture->pageAt(5, 5), (Rgb{1, 2, 3}));
    QCOMPARE(picture->pageAt(8, 198), (Rgb{220, 0, 0}));    // failing: framed red
    QCOMPARE(picture->pageAt(78, 100), (Rgb{255, 140, 0})); // "prüfen": orange
    QCOMPARE(picture->pageAt(2, 2), white);                 // passing: no frame
}

void TestPageAudit::pngReading_data() {
    QTest::addColumn<QByteArray>("png");
    QTest::addColumn<bool>("read");
    QTest::newRow("alle filter") << pngOf({0, 1, 2, 3, 4}) << true;
    QTest::newRow("paeth und mittel mit alpha") << pngOf({4, 3, 4}, 6) << true;
    QTest::newRow("unser eigener") << encodePng(PixelImage(3, 2, {7, 8, 9})) << true;
    QTest::newRow("filter 5") << pngOf({0, 5}) << false;
    QTest::newRow("graustufen") << pngOf({0}, 0) << false;
    QTest::newRow("palette") << pngOf({0}, 3) << false;
    QTest::newRow("zu wenig daten")
        << pngOf({0, 0}, 2, [](QByteArray& raw) { raw.chop(1); }) << false;
    QTest::newRow("zu viele daten")
        << pngOf({0, 0}, 2, [](QByteArray& raw) { raw += "xyz"; }) << false;
    QTest::newRow("abgeschnitten") << pngOf({0, 1}).left(60) << false;
    QTest::newRow("länge über das ende") << [] {
        QByteArray png = pngOf({0});
        png[33] = char(0x7f); // the IDAT length's high byte
        return png;
    }() << false;
    QTest::newRow("keine png") << QByteArray("GIF89a, nicht PNG, aber lang genug für den Kopf")
                               << false;
    QTest::newRow("leer") << QByteArray() << false;
}

void TestPageAudit::pngReading() {
    QFETCH(QByteArray, png);
    QFETCH(bool, read);
    const std::optional<PixelImage> image = decodePng(png);
    QCOMPARE(bool(image), read);
    if (!image || QByteArray(QTest::currentDataTag()) == "unser eigener")
        return;
    for (int y = 0; y < image->height; ++y)
        for (int x = 0; x < image->width; ++x)
            QCOMPARE(image->pageAt(x, y),
                     (Rgb{ChannelValue(10 * x + 50 * y), ChannelValue(20 * x + 1),
                          ChannelValue(200 - 30 * y)}));
}

// Files, folders (every *.html in them, by name) and URLs, each with what else may load.
void TestPageAudit::sources() {
    QTemporaryDir dir;
    for (const char* name : {"b.html", "a.html", "c.htm", "d.css"}) {
        QFile f(dir.filePath(QString::fromLatin1(name)));
        QVERIFY(f.open(QIODevice::WriteOnly));
    }
    QDir(dir.path()).mkdir(QStringLiteral("leer"));
    const QString folder = QUrl::fromLocalFile(dir.path() + QLatin1Char('/')).toString();
    const auto found =
        pageSources({dir.path(), dir.filePath(QStringLiteral("c.htm")),
                     QStringLiteral("http://localhost:8000/seite/x.html?y#z"),
                     QUrl::fromLocalFile(dir.filePath(QStringLiteral("a.html"))).toString()});
    const auto* list = std::get_if<std::vector<PageSource>>(&found);
    QVERIFY(list);
    QStringList shown, allowed;
    for (const PageSource& p : *list)
        shown << QFileInfo(p.shown).fileName(), allowed << p.allowedPrefix;
    QCOMPARE(shown, (QStringList{"a.html", "b.html", "c.htm", "x.html?y#z", "a.html"}));
    QCOMPARE(allowed, (QStringList{folder, folder, folder, "http://localhost:8000/", folder}));
    QCOMPARE(list->at(0).url,
             QUrl::fromLocalFile(dir.filePath(QStringLiteral("a.html"))).toString());

    const auto refused = [](const QStringList& args) {
        const auto r = pageSources(args);
        return std::holds_alternative<QString>(r) ? std::get<QString>(r) : QString();
    };
    QVERIFY(refused({dir.filePath(QStringLiteral("leer"))})
                .contains(QStringLiteral("keine lesbare HTML-Datei")));
    QVERIFY(refused({dir.filePath(QStringLiteral("fehlt.html"))})
                .contains(QStringLiteral("gibt es nicht")));
    QVERIFY(
        refused({QStringLiteral("https://")}).contains(QStringLiteral("keine gültige Adresse")));
}

// What a page holds comes into the reports as text: never as markup of the HTML report, and
// SARIF and JSON keep it whole.
void TestPageAudit::reportsEscapeThePage() {
    PageAuditResult r;
    r.source = {QStringLiteral("<b>seite</b>.html"), QStringLiteral("file:///x/seite.html"), {}};
    TextFinding f;
    f.text =
        textOf(QStringLiteral("<script>alert(1)</script> & mehr"), {0x77, 0x77, 0x77}, 1, 16, 400);
    f.text.selector = QStringLiteral("div[title=\"<img src=x onerror=alert(2)>\"] > p");
    f.lowest = f.highest = contrastRatio({0x77, 0x77, 0x77}, white);
    f.backgroundLowest = f.backgroundHighest = white;
    f.shownLowest = {0x77, 0x77, 0x77};
    f.verdict = TextVerdict::Fail;
    r.findings.push_back(f);
    const QString html = QString::fromUtf8(auditHtml({r}));
    QVERIFY(!html.contains(QStringLiteral("<script>")));
    QVERIFY(!html.contains(QStringLiteral("<img src=x")));
    QVERIFY(!html.contains(QStringLiteral("<b>seite")));
    QVERIFY(html.contains(QStringLiteral("&lt;script&gt;alert(1)&lt;/script&gt; &amp; mehr")));
    const QString text = findingText(r, f);
    QVERIFY2(text.contains(QStringLiteral("nicht bestanden, Kontrast 4,47:1 (mindestens 4,5:1)")),
             qPrintable(text));
    QVERIFY(text.contains(QStringLiteral("Farbe #777777 auf #ffffff, 16 px (12 pt)")));
    const QJsonObject sarif =
        QJsonDocument::fromJson(auditSarif({r}, QStringLiteral("1.0.0"))).object();
    const QJsonObject result =
        sarif[QStringLiteral("runs")][0][QStringLiteral("results")][0].toObject();
    QCOMPARE(result[QStringLiteral("level")].toString(), QStringLiteral("error"));
    QCOMPARE(result[QStringLiteral("locations")][0][QStringLiteral("logicalLocations")][0]
                   [QStringLiteral("fullyQualifiedName")]
                       .toString(),
             f.text.selector);
}

QTEST_GUILESS_MAIN(TestPageAudit)
#include "test_page_audit.moc"
