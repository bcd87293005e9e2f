#include "window_driver.h"

#include "app/eyedropper_commands.h"
#include "app/status_bar.h"
#include "editor/bevel.h"
#include "picker_window/image_picker.h"
#include "picker_window/picker_canvas.h"

#include <QAction>
#include <QBuffer>
#include <QColorSpace>
#include <QDataStream>
#include <QFile>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>

using namespace pigmora;
using test::byName;

namespace {

// What a pick may change: the sliders (and with them boxes and sample) and the target.
struct Seen {
    ColourValue sliders, fore, back;
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
    out << quint32(54) << quint32(0) << quint32(54) << quint32(40) << width << height << quint16(1)
        << quint16(24) << quint32(0) << quint32(0) << qint32(2835) << qint32(2835) << quint32(0)
        << quint32(0);
    return bytes;
}

} // namespace

// "Farbe vom Bildschirm" and "Farbe aus Bild" through the real main window, offscreen: where no
// screen can be picked, the message; images picked and refused; the contrast window's buttons.
class TestEyedropperCommands : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { test::setUpOnce(); }
    void init();
    void cleanup() { window_.window.reset(); }

    void wayOfPicking_data();
    void wayOfPicking();
    void contrastButtonsSwitchThenPick_data();
    void contrastButtonsSwitchThenPick();
    void imagePicked_data();
    void imagePicked();
    void imageRefused_data();
    void imageRefused();
    void pairFromImage_data();
    void pairFromImage();
    void pairFromScreenElsewhere_data();
    void pairFromScreenElsewhere();

private:
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

// X11 picks itself, unless its server is XWayland, whose grabs show Wayland windows black.
void TestEyedropperCommands::wayOfPicking_data() {
    using Way = EyedropperCommands::Way;
    QTest::addColumn<QStringList>("platformSessionDisplay");
    QTest::addColumn<Way>("way");
    QTest::newRow("Wayland") << QStringList{"wayland", "wayland", "wayland-0"} << Way::Portal;
    QTest::newRow("X11") << QStringList{"xcb", "x11", ""} << Way::OwnPicker;
    QTest::newRow("XWayland, by session type") << QStringList{"xcb", "wayland", ""} << Way::Portal;
    QTest::newRow("XWayland, by display") << QStringList{"xcb", "", "wayland-1"} << Way::Portal;
    QTest::newRow("offscreen in Wayland") << QStringList{"offscreen", "wayland", "w"} << Way::None;
}

void TestEyedropperCommands::wayOfPicking() {
    QFETCH(QStringList, platformSessionDisplay);
    QFETCH(EyedropperCommands::Way, way);
    const QStringList& p = platformSessionDisplay;
    QCOMPARE(EyedropperCommands::wayFor(p[0], p[1], p[2]), way);
}

void TestEyedropperCommands::contrastButtonsSwitchThenPick_data() {
    QTest::addColumn<QString>("button"); // empty: Ctrl+B in the main window
    QTest::addColumn<bool>("fromText");
    QTest::addColumn<bool>("textIsTarget");
    QTest::newRow("Ctrl+B") << "" << true << true;
    QTest::newRow("Text vom Bildschirm") << "cmdTextVomBildschirm" << false << true;
    QTest::newRow("Hintergrund vom Bildschirm") << "cmdHintergrundVomBildschirm" << true << false;
}

void TestEyedropperCommands::contrastButtonsSwitchThenPick() {
    QFETCH(QString, button);
    QFETCH(bool, fromText);
    QFETCH(bool, textIsTarget);
    QTest::keyClick(window_.get(), Qt::Key_K, Qt::ControlModifier);
    if (fromText)
        QTest::keyClick(window_.get(), Qt::Key_V, Qt::ControlModifier);
    const Seen before = seen(window_.get());
    if (button.isEmpty())
        QTest::keyClick(window_.get(), Qt::Key_B, Qt::ControlModifier);
    else
        QTest::mouseClick(byName<QPushButton>(byName(window_.get(), "frmKontrast"), button),
                          Qt::LeftButton);
    // The target switched as by Ctrl+V or Ctrl+I, then the pick was asked for: offscreen, the
    // message, and nothing else changes.
    QCOMPARE(window_->menus().mnuVorder->isChecked(), textIsTarget);
    QCOMPARE(window_->menus().mnuHinter->isChecked(), !textIsTarget);
    const auto* panel = byName<PanelStatusBar>(window_.get(), "StatusBar1")->panel(1);
    QCOMPARE(bevelOf(panel), textIsTarget ? Bevel::Raised : Bevel::Inset);
    if (button.isEmpty())
        QCOMPARE(seen(window_.get()), before);
    QCOMPARE(window_.dialogs.messages.size(), 1);
    QCOMPARE(window_.dialogs.messages[0].title, "Farbe vom Bildschirm");
    QVERIFY(window_.dialogs.messages[0].text.contains("Farbe aus Bild..."));
}

void TestEyedropperCommands::imagePicked_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<bool>("editText");
    QTest::newRow("PNG into the background") << "bild.png" << false;
    QTest::newRow("indexed PNG into the text colour") << "indexed.png" << true;
    QTest::newRow("BMP") << "bild.bmp" << false;
}

void TestEyedropperCommands::imagePicked() {
    QFETCH(QString, file);
    QFETCH(bool, editText);
    QImage image(64, 48, QImage::Format_RGB32);
    image.fill(qRgb(200, 100, 50));
    QPainter(&image).fillRect(32, 0, 32, 48, QColor(0, 128, 255));
    if (file.startsWith("indexed"))
        image.convertTo(QImage::Format_Indexed8);
    const QString path = window_.dir->filePath(file);
    QVERIFY(image.save(path));
    if (editText)
        QTest::keyClick(window_.get(), Qt::Key_V, Qt::ControlModifier);
    const Seen before = seen(window_.get());
    window_.dialogs.openAnswers << path;

    QTest::keyClick(window_.get(), Qt::Key_B, Qt::ControlModifier | Qt::ShiftModifier);
    frmBildPipette* picker = imagePicker();
    QVERIFY(picker);
    // A second Ctrl+Shift+B brings the open picker forward and asks for no file.
    QTest::keyClick(window_.get(), Qt::Key_B, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(window_.dialogs.openRequests.size(), 1);
    QVERIFY(QTest::qWaitForWindowExposed(picker));
    QTest::mouseMove(picker->canvas(), QPoint(31, 10));
    QCOMPARE(seen(window_.get()), before); // looking changes nothing
    QTest::mouseClick(picker->canvas(), Qt::LeftButton, Qt::NoModifier, QPoint(32, 10));
    Seen after = before;
    after.sliders = packColour({0, 128, 255});
    (editText ? after.fore : after.back) = after.sliders;
    QCOMPARE(seen(window_.get()), after);
    QTRY_VERIFY(!imagePicker());
    QVERIFY(window_.dialogs.messages.isEmpty());
}

// Files that are no image, or too large a one: a message, and nothing changes.
void TestEyedropperCommands::imageRefused_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes"); // "-" for no file at all, "/" for a folder
    QTest::addColumn<QString>("says");
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    QImage(4, 4, QImage::Format_RGB32).save(&buffer, "PNG");
    const QString unreadable = "kann nicht gelesen werden";
    QTest::newRow("not an image") << "text.png" << QByteArray("kein Bild\n")
                                  << "in keinem Bildformat";
    QTest::newRow("empty file") << "leer.png" << QByteArray() << "die Datei ist leer";
    QTest::newRow("truncated PNG") << "halb.png" << png.left(png.size() / 2) << "beschädigt";
    QTest::newRow("missing") << "fehlt.png" << QByteArray("-") << "nicht vorhanden";
    QTest::newRow("a folder") << "ordner.png" << QByteArray("/") << "ein Ordner, keine Datei";
    QTest::newRow("20000 x 20000 pixels")
        << "riesig.ppm" << QByteArray("P6\n20000 20000\n255\n") << "20.000 × 20.000 Pixeln";
    QTest::newRow("10001 x 10000 pixels") << "knapp.bmp" << bmpHeader(10001, 10000) << "zu groß";
    // At the limit the size is let through; the missing pixels then refuse it.
    QTest::newRow("100 million, no pixels") << "leer.bmp" << bmpHeader(10000, 10000) << unreadable;
}

void TestEyedropperCommands::imageRefused() {
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, says);
    const QString path = window_.dir->filePath(name);
    if (bytes == "/") {
        QVERIFY(QDir().mkpath(path));
    } else if (bytes != "-") {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size());
    }
    const Seen before = seen(window_.get());
    window_.dialogs.openAnswers << path;
    window_->menus().mnuBild->trigger();
    QCOMPARE(window_.dialogs.messages.size(), 1);
    const auto& message = window_.dialogs.messages[0];
    QCOMPARE(message.title, "Farbe aus Bild");
    QVERIFY2(message.text.contains(says) && message.text.contains(name), qPrintable(message.text));
    QVERIFY(!imagePicker());
    QCOMPARE(seen(window_.get()), before);
}

// A rectangle dragged in "Farbe aus Bild" sets both colours of the sample, the target as it
// was; one colour alone is told and sets nothing.
void TestEyedropperCommands::pairFromImage_data() {
    QTest::addColumn<bool>("withText");
    QTest::newRow("text on a background") << true;
    QTest::newRow("one colour") << false;
}

void TestEyedropperCommands::pairFromImage() {
    QFETCH(bool, withText);
    QImage image(200, 80, QImage::Format_RGB32);
    image.fill(QColor(0xFFF4D0));
    if (withText) {
        QPainter p(&image);
        QFont font("Liberation Sans");
        font.setPixelSize(28);
        font.setHintingPreference(QFont::PreferFullHinting);
        p.setFont(font);
        p.setPen(QColor(0x10, 0x20, 0x60));
        p.drawText(QRect(20, 20, 160, 40), Qt::AlignCenter, "Paar");
    }
    const QString path = window_.dir->filePath("paar.png");
    QVERIFY(image.save(path));
    const Seen before = seen(window_.get());
    window_.dialogs.openAnswers << path;
    window_->menus().mnuBild->trigger();
    QVERIFY(imagePicker() && QTest::qWaitForWindowExposed(imagePicker()));
    QWidget* canvas = imagePicker()->canvas();
    for (const auto& [type, at] : {std::pair{QEvent::MouseButtonPress, QPointF(12, 12)},
                                   {QEvent::MouseMove, QPointF(100, 40)},
                                   {QEvent::MouseMove, QPointF(188, 68)},
                                   {QEvent::MouseButtonRelease, QPointF(188, 68)}}) {
        QMouseEvent e(type, at, canvas->mapToGlobal(at),
                      type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton,
                      type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton,
                      Qt::NoModifier);
        QApplication::sendEvent(canvas, &e);
    }
    QTRY_VERIFY(!imagePicker());
    Seen after = before;
    if (withText) {
        after.fore = 0x602010u;
        after.sliders = after.back = 0xD0F4FFu; // the background was edited, and still is
    }
    QCOMPARE(seen(window_.get()), after);
    QCOMPARE(window_.dialogs.messages.size(), withText ? 0 : 1);
    if (!withText)
        QVERIFY(window_.dialogs.messages[0].text.contains("nur eine Farbe"));
}

// Where there is no own screen picker (here offscreen; on Wayland the portal picks one colour),
// Ctrl+Shift+P and the contrast window's button say where else a pair comes from.
void TestEyedropperCommands::pairFromScreenElsewhere_data() {
    QTest::addColumn<bool>("fromContrastWindow");
    QTest::newRow("Ctrl+Shift+P") << false;
    QTest::newRow("Paar vom Bildschirm") << true;
}

void TestEyedropperCommands::pairFromScreenElsewhere() {
    QFETCH(bool, fromContrastWindow);
    const Seen before = seen(window_.get());
    if (fromContrastWindow) {
        QTest::keyClick(window_.get(), Qt::Key_K, Qt::ControlModifier);
        QTest::mouseClick(
            byName<QPushButton>(byName(window_.get(), "frmKontrast"), "cmdPaarVomBildschirm"),
            Qt::LeftButton);
    } else {
        QTest::keyClick(window_.get(), Qt::Key_P, Qt::ControlModifier | Qt::ShiftModifier);
    }
    QCOMPARE(window_.dialogs.messages.size(), 1);
    QCOMPARE(window_.dialogs.messages[0].title, "Paar vom Bildschirm");
    QVERIFY(window_.dialogs.messages[0].text.contains("Farbe aus Bild..."));
    QCOMPARE(seen(window_.get()), before);
}

QTEST_MAIN(TestEyedropperCommands)
#include "test_eyedropper_commands.moc"
