#include "window_driver.h"

#include <QGuiApplication>
#include <QPainter>
#include <QProcess>
#include <QScreen>

using namespace pigmora;

namespace {

const QRgb left = qRgb(0x12, 0x34, 0x56);
const QRgb right = qRgb(0xAB, 0xCD, 0xEF);
// Where the surface lies (logical) and the device column at which `right` begins in it: odd,
// so at a scale factor of 2 it lies inside a logical pixel.
const QRect surfaceGeometry(560, 100, 200, 100);
constexpr int edgeColumn = 101;

// A frameless window painted device pixel by device pixel: `left` before the edge column,
// `right` from it on.
class Surface : public QWidget {
public:
    Surface()
        : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint) {
        setGeometry(surfaceGeometry);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        const qreal ratio = devicePixelRatioF();
        QImage image(size() * ratio, QImage::Format_RGB32);
        image.fill(right);
        QPainter(&image).fillRect(0, 0, edgeColumn, image.height(), QColor(left));
        image.setDevicePixelRatio(ratio);
        QPainter(this).drawImage(0, 0, image);
    }
};

// The pointer and keys as a user's: XTest through xdotool.
bool xdotool(const QStringList& arguments) {
    QProcess p;
    p.start(QStringLiteral("xdotool"), arguments);
    // The program's event loop keeps running while xdotool works.
    QDeadlineTimer deadline(10000);
    while (p.state() != QProcess::NotRunning && !deadline.hasExpired())
        QTest::qWait(5);
    return p.state() == QProcess::NotRunning && p.exitStatus() == QProcess::NormalExit &&
           p.exitCode() == 0;
}

QWidget* pickerWindow() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == QLatin1String("frmPipette") && w->isVisible())
            return w;
    return nullptr;
}

} // namespace

// "Farbe vom Bildschirm" on a real X server (Xvfb, started by with_xvfb.sh): a surface painted in
// two known colours, the pointer moved and clicked by XTest, the pixels on both sides of the
// colour edge picked into the edited colour. Runs at scale factor 1 and 2.
class TestEyedropperX11 : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup() { window_.window.reset(); }

    void pickAtTheEdge_data();
    void pickAtTheEdge();

private:
    test::WindowUnderTest window_;
    std::unique_ptr<Surface> surface_;
};

void TestEyedropperX11::initTestCase() {
    test::setUpOnce();
    QCOMPARE(QGuiApplication::platformName(), "xcb");
    QVERIFY2(QProcess::execute("xdotool", {"version"}) == 0, "xdotool fehlt");
}

void TestEyedropperX11::init() {
    window_.fresh();
    // Without a window manager a window is active only once it asks for the focus.
    window_.window = std::make_unique<frmHauptprogramm>(window_.dir->path(), &window_.dialogs);
    QVERIFY(window_->loaded());
    window_->move(0, 0);
    window_->show();
    QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
    test::typeColour(window_.get(), 1, 2, 3);
    surface_ = std::make_unique<Surface>();
    surface_->show();
    QVERIFY(QTest::qWaitForWindowExposed(surface_.get()));
    // On the screen itself, as the picker will take it.
    const qreal ratio = QGuiApplication::primaryScreen()->devicePixelRatio();
    const int edge = int(surfaceGeometry.x() * ratio) + edgeColumn;
    const int y = int(surfaceGeometry.y() * ratio) + 10;
    QTRY_COMPARE(QGuiApplication::primaryScreen()->grabWindow(0).toImage().pixel(edge, y), right);
    window_->activateWindow();
    QTRY_VERIFY(window_->isActiveWindow());
}

void TestEyedropperX11::pickAtTheEdge_data() {
    QTest::addColumn<int>("column");       // device column, relative to the edge
    QTest::addColumn<QStringList>("then"); // xdotool's words after the move
    QTest::addColumn<int>("colour");       // 0 unchanged, 1 left, 2 right
    QTest::newRow("last pixel before the edge") << -1 << QStringList{"click", "1"} << 1;
    QTest::newRow("first pixel of the edge") << 0 << QStringList{"click", "1"} << 2;
    QTest::newRow("one key right, Enter") << -1 << QStringList{"key", "Right", "Return"} << 2;
    QTest::newRow("Shift+Left from the edge")
        << 9 << QStringList{"key", "shift+Left", "Return"} << 1;
    QTest::newRow("Escape") << 0 << QStringList{"key", "Escape"} << 0;
    QTest::newRow("right click") << 0 << QStringList{"click", "3"} << 0;
}

void TestEyedropperX11::pickAtTheEdge() {
    QFETCH(int, column);
    QFETCH(QStringList, then);
    QFETCH(int, colour);
    const ColourValue before = test::sliderColour(window_.get());
    const qreal ratio = QGuiApplication::primaryScreen()->devicePixelRatio();
    const int x = int(surfaceGeometry.x() * ratio) + edgeColumn + column;
    const int y = int(surfaceGeometry.y() * ratio) + 20;
    // --sync waits for the pointer to move, so it is moved away first.
    QVERIFY(xdotool({"mousemove", "--sync", "5", "5"}));
    QVERIFY(xdotool({"mousemove", "--sync", QString::number(x), QString::number(y)}));

    QTest::keyClick(window_.get(), Qt::Key_B, Qt::ControlModifier);
    QTRY_VERIFY(pickerWindow());
    QVERIFY(QTest::qWaitForWindowExposed(pickerWindow()));
    QTRY_VERIFY(pickerWindow()->isActiveWindow());
    // A move there and back, so the picker has seen the pointer where it is.
    QVERIFY(xdotool({"mousemove", "--sync", QString::number(x + 3), QString::number(y)}));
    QVERIFY(xdotool({"mousemove", "--sync", QString::number(x), QString::number(y)}));
    QVERIFY(xdotool(then));
    QTRY_VERIFY(!pickerWindow());

    const QRgb expected = colour == 1 ? left : right;
    const ColourValue picked =
        packColour({ChannelValue(qRed(expected)), ChannelValue(qGreen(expected)),
                    ChannelValue(qBlue(expected))});
    QCOMPARE(test::sliderColour(window_.get()), colour == 0 ? before : picked);
    QVERIFY(window_.dialogs.messages.isEmpty());
}

QTEST_MAIN(TestEyedropperX11)
#include "test_eyedropper_x11.moc"
