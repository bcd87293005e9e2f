#include "eyedropper/pixel_picking.h"
#include "picker_window/image_picker.h"
#include "picker_window/picker_canvas.h"
#include "picker_window/screen_picker.h"

#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

using namespace pigmora;

Q_DECLARE_METATYPE(pigmora::Rgb)

namespace {

// A picture whose every pixel tells where it is: red x, green y, blue which screen.
ScreenPicture picture(QRect geometry, qreal ratio, int screen) {
    QImage image(geometry.size() * ratio, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, qRgb(x % 256, y % 256, screen));
    return {image, geometry, ratio, nullptr};
}

// Two screens side by side: 180 x 160 at ratio 1, and 200 x 170 at ratio 2 to its right.
QList<ScreenPicture> twoScreens() {
    return {picture({0, 0, 180, 160}, 1, 0), picture({180, 0, 200, 170}, 2, 1)};
}

const Rgb other{255, 255, 255};

void moveTo(QWidget* canvas, QPointF at) {
    // Through a mouse event of its own: QTest moves only to whole logical pixels.
    QMouseEvent move(QEvent::MouseMove, at, canvas->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(canvas, &move);
}

} // namespace

// The pickers offscreen, on pictures made here. The same tests run once more with
// QT_SCALE_FACTOR=2: what is picked depends on the picture's pixel ratio, never on the window's.
class TestPickerWindow : public QObject {
    Q_OBJECT
private slots:
    void screenPicker_data();
    void screenPicker();
    void magnifier();
    void imagePicker();
    void hintLineKeepsClear();
};

void TestPickerWindow::screenPicker_data() {
    QTest::addColumn<int>("screen");
    QTest::addColumn<QPointF>("at");   // logical, in that screen's window
    QTest::addColumn<QString>("keys"); // typed after the pointer moved there
    QTest::addColumn<QString>("end");  // "left", "right" or a key
    QTest::addColumn<bool>("picks");
    QTest::addColumn<Rgb>("colour");
    QTest::newRow("click, ratio 1") << 0 << QPointF(30, 20) << ""
                                    << "left" << true << Rgb{30, 20, 0};
    QTest::newRow("click, ratio 2") << 1 << QPointF(30, 20) << ""
                                    << "left" << true << Rgb{60, 40, 1};
    QTest::newRow("odd device pixel") << 1 << QPointF(30.5, 20.5) << ""
                                      << "Return" << true << Rgb{61, 41, 1};
    QTest::newRow("arrows, ratio 2") << 1 << QPointF(30, 20) << "Right, Right, Down"
                                     << "Return" << true << Rgb{62, 41, 1};
    QTest::newRow("shift arrows") << 0 << QPointF(30, 20) << "Shift+Left, Shift+Up"
                                  << "Enter" << true << Rgb{20, 10, 0};
    QTest::newRow("kept inside") << 0 << QPointF(175, 155) << "Shift+Right, Shift+Down"
                                 << "Return" << true << Rgb{179, 159, 0};
    QTest::newRow("Escape") << 0 << QPointF(30, 20) << "Right"
                            << "Escape" << false << Rgb{};
    QTest::newRow("right click") << 1 << QPointF(30, 20) << ""
                                 << "right" << false << Rgb{};
}

void TestPickerWindow::screenPicker() {
    QFETCH(int, screen);
    QFETCH(QPointF, at);
    QFETCH(QString, keys);
    QFETCH(QString, end);
    QFETCH(bool, picks);
    ScreenPicker picker(other, twoScreens);
    QSignalSpy picked(&picker, &ScreenPicker::picked);
    QSignalSpy cancelled(&picker, &ScreenPicker::cancelled);
    QVERIFY(picker.start());
    QCOMPARE(picker.windows().size(), 2u);
    QPointer<frmPipette> window = picker.windows()[screen];
    QCOMPARE(window->geometry(), twoScreens()[screen].geometry);
    PickerCanvas* canvas = window->canvas();
    moveTo(canvas, at);
    for (const QString& key : keys.split(", ", Qt::SkipEmptyParts)) {
        const QKeyCombination k = QKeySequence::fromString(key)[0];
        QTest::keyClick(canvas, k.key(), k.keyboardModifiers());
    }
    if (end == "left" || end == "right")
        QTest::mouseClick(canvas, end == "left" ? Qt::LeftButton : Qt::RightButton, Qt::NoModifier,
                          at.toPoint());
    else
        QTest::keyClick(canvas, QKeySequence::fromString(end)[0].key());
    QCOMPARE(picked.count() + cancelled.count(), 1);
    QCOMPARE(picked.count(), picks ? 1 : 0);
    if (picks)
        QTEST(picked[0][0].value<Rgb>(), "colour");
    // The windows go either way.
    QTRY_VERIFY(!window);
    QVERIFY(picker.windows().empty());
}

void TestPickerWindow::magnifier() {
    ScreenPicker picker({0, 0, 0}, twoScreens);
    QVERIFY(picker.start());
    frmPipette* window = picker.windows()[1]; // ratio 2
    PickerCanvas* canvas = window->canvas();
    QVERIFY(QTest::qWaitForWindowExposed(window));
    moveTo(canvas, QPointF(1.5, 30)); // device pixel (3, 60): two columns past the left edge
    QCOMPARE(window->accessibleDescription(), "#033C01, Kontrast 1,65:1 zu #000000");

    const QImage shot = canvas->grab().toImage();
    const auto at = [&](QPoint p) {
        return QColor(shot.pixel((QPointF(p) * shot.devicePixelRatio()).toPoint()));
    };
    // Cells of ten logical pixels around the centre one, row 5 column 5; past the picture's
    // edge the hatching, which is no colour of the picture.
    const QPoint square = canvas->magnifierRect().topLeft() + QPoint(2, 2);
    for (int column : {0, 1, 2, 5, 10})
        for (int row : {0, 5, 10}) {
            const QColor shown = at(square + QPoint(column * 10 + 5, row * 10 + 5));
            const QPoint pixel = QPoint(3, 60) + QPoint(column - 5, row - 5);
            if (pixel.x() >= 0)
                QCOMPARE(shown, QColor(pixel.x(), pixel.y(), 1));
            else
                QVERIFY(shown.blue() != 1 ||
                        at(square + QPoint(column * 10 + 6, row * 10 + 5)).blue() != 1);
        }
    // The centre cell framed: black outside, white inside.
    QCOMPARE(at(square + QPoint(48, 55)), QColor(Qt::black));
    QCOMPARE(at(square + QPoint(49, 55)), QColor(Qt::white));
}

void TestPickerWindow::imagePicker() {
    QImage image(3000, 2000, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, qRgb(x % 256, y % 256, (x / 256) * 16 + y / 256));
    auto* window = new frmBildPipette(image, "/tmp/gross.png", other, nullptr);
    QPointer<frmBildPipette> guard = window;
    QSignalSpy picked(window, &frmBildPipette::picked);
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window));
    QScrollArea* scroll = window->scrollArea();
    QVERIFY(scroll->viewport()->width() < 3000);
    scroll->horizontalScrollBar()->setValue(scroll->horizontalScrollBar()->maximum());
    scroll->verticalScrollBar()->setValue(1500);
    const QPoint offset(scroll->horizontalScrollBar()->value(), 1500);
    const QPoint in(40, 30);
    PickerCanvas* canvas = window->canvas();
    moveTo(canvas, offset + in);
    QTest::keyClick(canvas, Qt::Key_Left);
    const QPoint p = offset + in - QPoint(1, 0);
    QCOMPARE(canvas->pixel(), p);
    const Rgb expected{ChannelValue(p.x() % 256), ChannelValue(p.y() % 256),
                       ChannelValue((p.x() / 256) * 16 + p.y() / 256)};
    QCOMPARE(window->findChild<QLabel*>("lblPipettenWert")->text(),
             pickDescription(expected, other));
    // The magnifier stays within what is visible of the image.
    QVERIFY(canvas->visibleRegion().boundingRect().contains(canvas->magnifierRect()));
    // Keys that move the pick past the view's edge scroll it along, magnifier and all.
    const int scrolled = scroll->verticalScrollBar()->value();
    for (int i = 0; i < 30; ++i)
        QTest::keyClick(canvas, Qt::Key_Up, Qt::ShiftModifier);
    QVERIFY(scroll->verticalScrollBar()->value() < scrolled);
    QVERIFY(canvas->visibleRegion().boundingRect().contains(canvas->magnifierRect()));
    QTest::keyClick(canvas, Qt::Key_Return);
    QCOMPARE(picked.count(), 1);
    const QPoint q = p - QPoint(0, 300);
    QCOMPARE(picked[0][0].value<Rgb>(), (Rgb{ChannelValue(q.x() % 256), ChannelValue(q.y() % 256),
                                             ChannelValue((q.x() / 256) * 16 + q.y() / 256)}));
    QTRY_VERIFY(!guard);
}

// The hint line lies in the picture, never over the magnifier or the pixel being judged, with
// the pointer anywhere.
void TestPickerWindow::hintLineKeepsClear() {
    ScreenPicker picker(
        other,
        [] {
            return QList<ScreenPicture>{picture({0, 0, 800, 600}, 1, 0)};
        },
        nullptr);
    QVERIFY(picker.start());
    PickerCanvas* canvas = picker.windows()[0]->canvas();
    QCOMPARE(canvas->hint(), "Pfeiltasten: 1 Pixel · Umschalt+Pfeil: 10 · Eingabe oder Klick: "
                             "übernehmen · Esc oder Rechtsklick: abbrechen");
    for (int x = 0; x < 800; x += 21)
        for (int y = 0; y < 600; y += 13) {
            canvas->choose({x, y});
            const QRect hint = canvas->hintRect();
            QVERIFY(canvas->rect().contains(hint));
            QVERIFY(!hint.intersects(canvas->magnifierRect()));
            QVERIFY(!hint.intersects(QRect(x - 4, y - 4, 9, 9)));
        }
}

QTEST_MAIN(TestPickerWindow)
#include "test_picker_window.moc"
