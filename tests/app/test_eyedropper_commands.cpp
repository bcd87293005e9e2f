#include "window_driver.h"

#include "app/status_bar.h"
#include "editor/bevel.h"
#include "picker_window/image_picker.h"
#include "picker_window/picker_canvas.h"

#include <QAction>
#include <QBuffer>
#include <QDataStream>
#include <QFile>
#include <QPushButton>
#include <QScrollArea>

using namespace pigmora;
using test::byName;

namespace {

// What a picked colour may change: the sliders (and with them boxes and sample) and the target.
struct Seen {
    ColourValue sliders;
    ColourValue fore;
    ColourValue back;
    int target;
    friend bool operator==(const Seen&, const Seen&) = default;
};

Seen seen(frmHauptprogramm* w) {
    const QWidget* sample = byName(w, "lblTest");
    return {test::sliderColour(w), foreColour(sample), backColour(sample), w->state().bytziel};
}

// A BMP header that claims a size and carries no pixels.
QByteArray bmpHeader(qint32 width, qint32 height) {
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    out.writeRawData("BM", 2);
    out << quint32(54) << quint32(0) << quint32(54);
    out << quint32(40) << width << height << quint16(1) << quint16(24) << quint32(0) << quint32(0)
        << qint32(2835) << qint32(2835) << quint32(0) << quint32(0);
    return bytes;
}

} // namespace

// "Farbe vom Bildschirm" and "Farbe aus Bild" through the real main window, offscreen: where no
// screen can be picked, the message; images picked, refused and cancelled; the contrast
// window's buttons.
class TestEyedropperCommands : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { test::setUpOnce(); }
    void init();
    void cleanup() { window_.window.reset(); }

    void noScreenOffscreen();
    void imagePicked_data();
    void imagePicked();
    void imageRefused_data();
    void imageRefused();
    void contrastWindowButtons_data();
    void contrastWindowButtons();

private:
    QString file(const char* name, const QByteArray& bytes) {
        const QString path = window_.dir->filePath(QString::fromUtf8(name));
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write(bytes);
        return path;
    }
    frmBildPipette* imagePicker() const {
        return window_->findChild<frmBildPipette*>("frmBildPipette");
    }

    test::WindowUnderTest window_;
};

void TestEyedropperCommands::init() {
    window_.fresh();
    QVERIFY(window_.open());
    test::typeColour(window_.get(), 10, 20, 30); // the background
}

void TestEyedropperCommands::noScreenOffscreen() {
    const Seen before = seen(window_.get());
    QTest::keyClick(window_.get(), Qt::Key_B, Qt::ControlModifier);
    QCOMPARE(window_.dialogs.messages.size(), 1);
    QCOMPARE(window_.dialogs.messages[0].title, "Farbe vom Bildschirm");
    QVERIFY(window_.dialogs.messages[0].text.contains("Farbe aus Bild..."));
    QCOMPARE(seen(window_.get()), before);
}

void TestEyedropperCommands::imagePicked_data() {
    QTest::addColumn<QString>("format");
    QTest::addColumn<bool>("editText");
    QTest::newRow("PNG into the background") << "png" << false;
    QTest::newRow("PNG into the text colour") << "png" << true;
    QTest::newRow("BMP") << "bmp" << false;
    QTest::newRow("PNG, indexed colours") << "indexed.png" << true;
}

void TestEyedropperCommands::imagePicked() {
    QFETCH(QString, format);
    QFETCH(bool, editText);
    QImage image(64, 48, QImage::Format_RGB32);
    image.fill(qRgb(200, 100, 50));
    for (int y = 0; y < 48; ++y)
        for (int x = 32; x < 64; ++x)
            image.setPixel(x, y, qRgb(0, 128, 255));
    const QString path = window_.dir->filePath("bild." + format);
    if (format.startsWith("indexed"))
        image.convertTo(QImage::Format_Indexed8);
    QVERIFY(image.save(path));
    if (editText)
        QTest::keyClick(window_.get(), Qt::Key_V, Qt::ControlModifier);
    const Seen before = seen(window_.get());
    window_.dialogs.openAnswers << path;

    QTest::keyClick(window_.get(), Qt::Key_B, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(window_.dialogs.openRequests.size(), 1);
    QVERIFY(window_.dialogs.openRequests[0].filters[0].contains("*.png"));
    frmBildPipette* picker = imagePicker();
    QVERIFY(picker);
    // A second Ctrl+Shift+B brings the open picker forward and asks for no file.
    QTest::keyClick(window_.get(), Qt::Key_B, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(window_.dialogs.openRequests.size(), 1);
    QVERIFY(QTest::qWaitForWindowExposed(picker));
    PickerCanvas* canvas = picker->canvas();
    QTest::mouseMove(canvas, QPoint(31, 10));
    QCOMPARE(seen(window_.get()), before); // looking changes nothing
    QTest::mouseClick(canvas, Qt::LeftButton, Qt::NoModifier, QPoint(32, 10));
    QCOMPARE(test::sliderColour(window_.get()), packColour({0, 128, 255}));
    const QWidget* sample = byName(window_.get(), "lblTest");
    QCOMPARE(editText ? foreColour(sample) : backColour(sample), packColour({0, 128, 255}));
    QCOMPARE(editText ? backColour(sample) : foreColour(sample),
             editText ? before.back : before.fore);
    QCOMPARE(window_->state().bytziel, before.target);
    QTRY_VERIFY(!imagePicker());
    QVERIFY(window_.dialogs.messages.isEmpty());
}

void TestEyedropperCommands::imageRefused_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes"); // "-" for no file at all, "/" for a folder
    QTest::addColumn<QString>("says");
    QImage small(4, 4, QImage::Format_RGB32);
    small.fill(Qt::red);
    QByteArray png;
    {
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        small.save(&buffer, "PNG");
    }
    const QString unreadable = "kann nicht gelesen werden";
    QTest::newRow("not an image") << "text.png" << QByteArray("kein Bild\n") << unreadable;
    QTest::newRow("empty file") << "leer.png" << QByteArray() << unreadable;
    QTest::newRow("truncated PNG") << "halb.png" << png.left(png.size() / 2) << unreadable;
    QTest::newRow("missing") << "fehlt.png" << QByteArray("-") << unreadable;
    QTest::newRow("a folder") << "ordner.png" << QByteArray("/") << unreadable;
    QTest::newRow("20000 x 20000 pixels")
        << "riesig.ppm" << QByteArray("P6\n20000 20000\n255\n") << "zu groß";
    QTest::newRow("10001 x 10000 pixels") << "knapp.bmp" << bmpHeader(10001, 10000) << "zu groß";
    // At the limit the size is let through; the missing pixels then refuse it.
    QTest::newRow("100 million, no pixels") << "leer.bmp" << bmpHeader(10000, 10000) << unreadable;
}

void TestEyedropperCommands::imageRefused() {
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, says);
    QString path = window_.dir->filePath(name);
    if (bytes == "/")
        QVERIFY(QDir().mkpath(path));
    else if (bytes != "-")
        path = file(qPrintable(name), bytes);
    const Seen before = seen(window_.get());
    window_.dialogs.openAnswers << path;
    window_->menus().mnuBild->trigger();
    QCOMPARE(window_.dialogs.messages.size(), 1);
    const auto& message = window_.dialogs.messages[0];
    QCOMPARE(message.title, "Farbe aus Bild");
    QVERIFY2(message.text.contains(says), qPrintable(message.text));
    QVERIFY(message.text.contains(name));
    QVERIFY(!imagePicker());
    QCOMPARE(seen(window_.get()), before);
}

void TestEyedropperCommands::contrastWindowButtons_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<bool>("textIsTarget");
    QTest::newRow("Text vom Bildschirm") << "cmdTextVomBildschirm" << true;
    QTest::newRow("Hintergrund vom Bildschirm") << "cmdHintergrundVomBildschirm" << false;
}

void TestEyedropperCommands::contrastWindowButtons() {
    QFETCH(QString, button);
    QFETCH(bool, textIsTarget);
    QTest::keyClick(window_.get(), Qt::Key_K, Qt::ControlModifier);
    QWidget* kontrast = byName(window_.get(), "frmKontrast");
    if (!textIsTarget) // start from the other target, so the switch shows
        QTest::keyClick(window_.get(), Qt::Key_V, Qt::ControlModifier);
    auto* b = byName<QPushButton>(kontrast, button);
    QTest::mouseClick(b, Qt::LeftButton);
    // The target switched as by Ctrl+V or Ctrl+I, then the pick was asked for (offscreen: the
    // message).
    QCOMPARE(window_->state().bytziel, textIsTarget ? 1 : 2);
    QCOMPARE(window_->menus().mnuVorder->isChecked(), textIsTarget);
    QCOMPARE(window_->menus().mnuHinter->isChecked(), !textIsTarget);
    const auto* panel = byName<PanelStatusBar>(window_.get(), "StatusBar1")->panel(1);
    QCOMPARE(bevelOf(panel), textIsTarget ? Bevel::Raised : Bevel::Inset);
    QCOMPARE(window_.dialogs.messages.size(), 1);
    QCOMPARE(window_.dialogs.messages[0].title, "Farbe vom Bildschirm");
}

QTEST_MAIN(TestEyedropperCommands)
#include "test_eyedropper_commands.moc"
