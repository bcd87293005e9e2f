#include "eyedropper/image_file.h"
#include "eyedropper/pair_finder.h"
#include "eyedropper/pixel_picking.h"
#include "eyedropper/portal_answer.h"

#include <QBuffer>
#include <QColorSpace>
#include <QColorTransform>
#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>
#include <cmath>
#include <limits>

using namespace pigmora;

Q_DECLARE_METATYPE(pigmora::Rgb)

namespace {

QColor qcolour(Rgb c) {
    return QColor(c.red, c.green, c.blue);
}

// A line of anti-aliased text on a background, and the rectangle a user drags around it. The
// glyphs are hinted as a desktop hints small text, so their stems cover whole pixels (unhinted,
// text of 9 to 11 pixels has no pixel of its own colour at all).
struct RenderedText {
    QImage image;
    QRect around;
};
RenderedText render(const QString& family, int pixels, Rgb text, const QBrush& background) {
    QImage image(420, 120, QImage::Format_RGB32);
    QPainter p(&image);
    p.fillRect(image.rect(), background);
    QFont font(family);
    font.setPixelSize(pixels);
    font.setHintingPreference(QFont::PreferFullHinting);
    p.setFont(font);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.setPen(qcolour(text));
    const QRect drawn = p.boundingRect(QRect(10, 10, 400, 100), Qt::AlignLeft | Qt::AlignTop,
                                       QStringLiteral("Hamburg, Qualität 42"));
    p.drawText(drawn, Qt::AlignLeft | Qt::AlignTop, QStringLiteral("Hamburg, Qualität 42"));
    return {image, drawn.adjusted(-4, -4, 4, 4)};
}

QByteArray encoded(const QImage& image, const char* format) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format, 100);
    return bytes;
}

// A PNG chunk with its length and check sum.
QByteArray pngChunk(const char* type, const QByteArray& data) {
    QByteArray typed = QByteArray(type) + data;
    quint32 crc = 0xFFFFFFFFu;
    for (const char c : typed) {
        crc ^= quint8(c);
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    crc ^= 0xFFFFFFFFu;
    QByteArray chunk;
    for (quint32 v : {quint32(data.size())})
        for (int shift = 24; shift >= 0; shift -= 8)
            chunk += char(v >> shift);
    chunk += typed;
    for (int shift = 24; shift >= 0; shift -= 8)
        chunk += char(crc >> shift);
    return chunk;
}

// A PNG with chunks put after its header (IHDR): the signature and IHDR are 33 bytes.
QByteArray withChunks(const QByteArray& png, const QByteArray& chunks) {
    return png.left(33) + chunks + png.mid(33);
}

} // namespace

// The eyedropper's widget-free parts: which device pixel a position names and where the keys
// move it, and the check of the portal's colour.
class TestEyedropper : public QObject {
    Q_OBJECT
private slots:
    void pixelUnderPosition_data();
    void pixelUnderPosition();
    void keyboardMoves_data();
    void keyboardMoves();
    void portalComponents_data();
    void portalComponents();
    void pairOnRenderedText_data();
    void pairOnRenderedText();
    void imageFiles_data();
    void imageFiles();
};

void TestEyedropper::pixelUnderPosition_data() {
    QTest::addColumn<QRect>("geometry");
    QTest::addColumn<double>("ratio");
    QTest::addColumn<QPointF>("logical");
    QTest::addColumn<QPoint>("pixel");
    const QRect plain(0, 0, 100, 50);
    QTest::newRow("ratio 1, fraction") << plain << 1.0 << QPointF(10.9, 20.5) << QPoint(10, 20);
    QTest::newRow("ratio 2") << plain << 2.0 << QPointF(10, 20) << QPoint(20, 40);
    // Qt reports native pixel 21 at scale 2 as 10.5: the odd device pixel, not 20.
    QTest::newRow("ratio 2, odd pixel") << plain << 2.0 << QPointF(10.5, 20.5) << QPoint(21, 41);
    QTest::newRow("ratio 2, a hair below")
        << plain << 2.0 << QPointF(std::nextafter(10.5, 0.0), 0) << QPoint(21, 0);
    QTest::newRow("ratio 1.5") << plain << 1.5 << QPointF(11, 3) << QPoint(16, 4);
    // A second screen to the right keeps its own origin.
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
    const ScreenPicture picture{QImage(geometry.size() * ratio, QImage::Format_RGB32), geometry,
                                ratio, nullptr};
    QCOMPARE(devicePixelAt(picture, logical), pixel);
    // And back: the centre of a pixel names that pixel.
    QCOMPARE(devicePixelAt(picture, logicalCentreOf(picture, pixel)), pixel);
}

void TestEyedropper::keyboardMoves_data() {
    QTest::addColumn<QPoint>("from");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QPoint>("to"); // (-1, -1): the key is no move
    QTest::newRow("left") << QPoint(5, 5) << "Left" << QPoint(4, 5);
    QTest::newRow("shift down") << QPoint(5, 5) << "Shift+Down" << QPoint(5, 15);
    QTest::newRow("kept at the left") << QPoint(0, 5) << "Left" << QPoint(0, 5);
    QTest::newRow("shift kept at the left") << QPoint(3, 5) << "Shift+Left" << QPoint(0, 5);
    QTest::newRow("shift kept at the bottom") << QPoint(5, 45) << "Shift+Down" << QPoint(5, 49);
    QTest::newRow("ctrl is no move") << QPoint(5, 5) << "Ctrl+Right" << QPoint(-1, -1);
    QTest::newRow("a letter") << QPoint(5, 5) << "A" << QPoint(-1, -1);
}

void TestEyedropper::keyboardMoves() {
    QFETCH(QPoint, from);
    QFETCH(QString, key);
    const QKeyCombination k = QKeySequence::fromString(key)[0];
    const auto moved = movedPixel(from, k.key(), k.keyboardModifiers(), QSize(100, 50));
    QTEST(moved.value_or(QPoint(-1, -1)), "to");
}

// What the portal may send as a colour, hostile values included.
void TestEyedropper::portalComponents_data() {
    QTest::addColumn<double>("red");
    QTest::addColumn<double>("green");
    QTest::addColumn<double>("blue");
    QTest::addColumn<Rgb>("colour");
    QTest::addColumn<QString>("named"); // a part of the message; empty: the colour is taken
    const double inf = std::numeric_limits<double>::infinity();
    const double eps = std::numeric_limits<double>::epsilon();
    const auto row = [](const char* name, double r, double g, double b, Rgb c, const char* n) {
        QTest::newRow(name) << r << g << b << c << QString::fromUtf8(n);
    };
    row("rounded, half up", 0.5, 127.4 / 255, 1, {128, 127, 255}, "");
    row("a few ulps outside", 1 + 2 * eps, -2 * eps, -0.0, {255, 0, 0}, "");
    row("1.7", 1.7, 0, 0, {}, "Rot 1,7");
    row("-0.3", 0, -0.3, 0, {}, "Grün -0,3");
    row("NaN", 0, 0, qQNaN(), {}, "Blau keine Zahl");
    row("infinity", inf, 0, 0, {}, "Rot unendlich");
    row("minus infinity", 0, -inf, 0, {}, "Grün minus unendlich");
    row("just too far above 1", 1 + 1e-9, 0, 0, {}, "Rot 1");
    row("255 instead of 1", 255, 255, 255, {}, "Rot 255");
}

void TestEyedropper::portalComponents() {
    QFETCH(double, red);
    QFETCH(double, green);
    QFETCH(double, blue);
    QFETCH(QString, named);
    const PortalAnswer a = answerFromComponents(red, green, blue);
    QCOMPARE(a.kind, named.isEmpty() ? PortalAnswer::Kind::Colour : PortalAnswer::Kind::Failed);
    if (named.isEmpty()) {
        QTEST(a.colour, "colour");
    } else {
        QVERIFY2(a.message.contains(named), qPrintable(a.message));
        QVERIFY(a.message.contains("Farbe aus Bild..."));
    }
}

// Text as a screen shows it, anti-aliased, in several fonts and sizes, dark on light, light on
// dark and in colour: the pair is the exact text colour and background. A background that is no
// one colour gives its range and the background of the lowest contrast; one colour alone is no
// pair; a stray pixel is no text.
void TestEyedropper::pairOnRenderedText_data() {
    QTest::addColumn<QImage>("image");
    QTest::addColumn<QRect>("rect");
    QTest::addColumn<PairFinding>("expected");
    const Rgb dark{0x1A, 0x1A, 0x1A}, white{0xFF, 0xFF, 0xFF}, light{0xF0, 0xF0, 0xF0},
        night{0x20, 0x28, 0x30}, red{0xB0, 0x00, 0x20}, cream{0xFF, 0xF8, 0xE0};
    const std::tuple<const char*, Rgb, Rgb> pairs[] = {{"dark on light", dark, white},
                                                       {"light on dark", light, night},
                                                       {"red on cream", red, cream}};
    for (const char* family :
         {"Liberation Sans", "Liberation Serif", "DejaVu Sans", "Liberation Mono"})
        for (const int pixels : {9, 11, 14, 20, 32})
            for (const auto& [name, text, background] : pairs) {
                const RenderedText r = render(family, pixels, text, qcolour(background));
                PairFinding f;
                f.kind = PairFinding::Kind::Pair;
                f.text = text;
                f.background = f.darkest = f.lightest = background;
                QTest::addRow("%s %d px, %s", family, pixels, name) << r.image << r.around << f;
            }
    // A gradient behind the text: its darkest and lightest colour, the text set against the
    // darkest (the lowest contrast to dark text).
    QLinearGradient gradient(0, 0, 420, 0);
    gradient.setColorAt(0, QColor(0xC0, 0xC0, 0xC0));
    gradient.setColorAt(1, QColor(0xFF, 0xFF, 0xFF));
    const RenderedText g = render("Liberation Sans", 16, dark, gradient);
    PairFinding onGradient;
    onGradient.kind = PairFinding::Kind::Pair;
    onGradient.text = dark;
    onGradient.backgroundUniform = false;
    const QImage& gi = g.image;
    onGradient.darkest = colourAt(gi, g.around.topLeft());
    onGradient.lightest = colourAt(gi, g.around.topRight());
    onGradient.background = onGradient.darkest;
    QTest::newRow("on a gradient") << gi << g.around << onGradient;
    QImage plain(100, 50, QImage::Format_RGB32);
    plain.fill(qRgb(0x33, 0x66, 0x99));
    PairFinding oneColour;
    oneColour.kind = PairFinding::Kind::OneColour;
    oneColour.background = oneColour.darkest = oneColour.lightest = {0x33, 0x66, 0x99};
    QTest::newRow("one colour") << plain << QRect(10, 10, 40, 20) << oneColour;
    QImage stray = plain;
    stray.setPixel(20, 20, qRgb(255, 255, 0));
    QTest::newRow("a stray pixel is no text") << stray << QRect(10, 10, 40, 20) << oneColour;
    QTest::newRow("outside the picture") << plain << QRect(200, 10, 40, 20) << PairFinding{};
}

void TestEyedropper::pairOnRenderedText() {
    QFETCH(QImage, image);
    QFETCH(QRect, rect);
    QFETCH(PairFinding, expected);
    PairFinder finder;
    const PairFinding found = finder.find(image, rect);
    if (!(found == expected))
        qWarning() << pairDescription(found) << "expected" << pairDescription(expected);
    QCOMPARE(found, expected);
    // The same rectangle dragged the other way, and once more with the tables in use.
    QCOMPARE(finder.find(image, QRect(rect.bottomRight(), rect.topLeft())), expected);
}

// Image files: converted from their profile as Qt's transform converts; a PNG's gamma and
// chromaticity alone taken as sRGB; a profile that cannot be read said so; a truncated file of
// each format refused.
void TestEyedropper::imageFiles_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRgb>("pixel");   // what is picked at (0, 0)
    QTest::addColumn<QString>("note"); // the title's note, or the failure's part
    const QRgb red = qRgb(255, 0, 0);
    const auto inSpace = [&](QColorSpace::NamedColorSpace named, const char* description) {
        QColorSpace space(named);
        space.setDescription(QString::fromLatin1(description));
        QImage image(8, 8, QImage::Format_RGB32);
        // sRGB red as that space writes it.
        image.fill(QColorSpace(QColorSpace::SRgb).transformationToColorSpace(space).map(red));
        image.setColorSpace(space);
        return image;
    };
    const auto converted = [](const QImage& raw) {
        return raw.colorSpace()
            .transformationToColorSpace(QColorSpace(QColorSpace::SRgb))
            .map(raw.pixel(0, 0));
    };
    const QImage adobe = inSpace(QColorSpace::AdobeRgb, "Adobe RGB (1998)");
    const QImage p3 = inSpace(QColorSpace::DisplayP3, "Display P3");
    const QByteArray adobePng = encoded(adobe, "PNG"), adobeJpeg = encoded(adobe, "JPEG"),
                     p3Png = encoded(p3, "PNG");
    const QString adobeNote = "Farbprofil: Adobe RGB (1998), nach sRGB umgerechnet";
    QTest::newRow("PNG in Adobe RGB")
        << adobePng << "a.png" << converted(QImage::fromData(adobePng)) << adobeNote;
    QTest::newRow("JPEG in Adobe RGB")
        << adobeJpeg << "a.jpg" << converted(QImage::fromData(adobeJpeg)) << adobeNote;
    QTest::newRow("PNG in Display P3") << p3Png << "p3.png" << converted(QImage::fromData(p3Png))
                                       << "Farbprofil: Display P3, nach sRGB umgerechnet";
    QImage plain(8, 8, QImage::Format_RGB32);
    plain.fill(qRgb(200, 100, 50));
    const QByteArray png = encoded(plain, "PNG");
    // gAMA 1/2.2 and the sRGB chromaticities, as tools write them beside sRGB values.
    const QByteArray gama = QByteArray::fromHex("0000b18f");
    const QByteArray chrm =
        QByteArray::fromHex("00007a26000080840000fa00000080e8000075300000ea6000003a9800001770");
    QTest::newRow("PNG with gAMA and cHRM only")
        << withChunks(png, pngChunk("gAMA", gama) + pngChunk("cHRM", chrm)) << "g.png"
        << qRgb(200, 100, 50) << "";
    // An iCCP chunk whose profile is no profile: the values as they are, and said so.
    const QByteArray broken = QByteArray("kaputt") + '\0' + '\0' + qCompress("no profile").mid(4);
    QTest::newRow("broken profile") << withChunks(png, pngChunk("iCCP", broken)) << "b.png"
                                    << qRgb(200, 100, 50) << "Farbprofil nicht lesbar";
    const QString cut = "beschädigt oder unvollständig";
    QImage noisy(64, 64, QImage::Format_RGB32);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x)
            noisy.setPixel(x, y, qRgb(x * 4, y * 4, (x * y) % 256));
    const QByteArray jpeg = encoded(noisy, "JPEG"), bigPng = encoded(noisy, "PNG");
    // One white pixel (Qt writes no GIF): header, screen with a table of two colours, the
    // image and its LZW data, the trailer.
    const QByteArray gif = QByteArray::fromHex("4749463839610100010080000"
                                               "0ffffff000000"
                                               "2c000000000100010000020244010"
                                               "03b");
    QTest::newRow("PNG without IEND") << bigPng.chopped(12) << "c.png" << QRgb(0) << cut;
    QTest::newRow("JPEG cut in its pixels")
        << jpeg.left(jpeg.size() * 2 / 3) << "d.jpg" << QRgb(0) << cut;
    QTest::newRow("whole GIF") << gif << "w.gif" << qRgb(255, 255, 255) << "";
    QTest::newRow("GIF without its end") << gif.chopped(3) << "c.gif" << QRgb(0) << cut;
}

void TestEyedropper::imageFiles() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, name);
    QFETCH(QRgb, pixel);
    QFETCH(QString, note);
    QTemporaryDir dir;
    QFile file(dir.filePath(name));
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
    file.close();
    const ImageFileReading r = readImageFile(file.fileName());
    if (pixel == 0 && !note.isEmpty()) {
        QVERIFY(r.image.isNull());
        QVERIFY2(r.failure.contains(note) && r.failure.contains(name), qPrintable(r.failure));
        return;
    }
    QVERIFY2(r.failure.isEmpty(), qPrintable(r.failure));
    QCOMPARE(r.profileNote.isEmpty(), note.isEmpty());
    QCOMPARE(r.profileNote.left(note.size()), note);
    QCOMPARE(r.image.pixel(0, 0) | 0xFF000000u, pixel | 0xFF000000u);
}

QTEST_MAIN(TestEyedropper)
#include "test_eyedropper.moc"
