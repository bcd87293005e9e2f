// The judgement of texts on prepared renderings, and a whole page's audit through the session
// seam with a page made of pictures: no browser.

#include "page_audit/page_audit.h"
#include "page_audit/text_judgement.h"

#include <QBuffer>
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

} // namespace

class TestPageAudit : public QObject {
    Q_OBJECT
private slots:
    void judgement_data();
    void judgement();
    void textAcrossPictures();
    void pageThroughTheSeam();
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

QTEST_GUILESS_MAIN(TestPageAudit)
#include "test_page_audit.moc"
