#include "window_driver.h"

#include "picker_window/picker_canvas.h"

#include <QColorSpace>
#include <QColorTransform>
#include <QGuiApplication>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QtGui/qguiapplication_platform.h>
#include <xcb/xcb.h>

using namespace pigmora;
using test::byName;

namespace {

const QRgb left = qRgb(0x12, 0x34, 0x56);
const QRgb right = qRgb(0xAB, 0xCD, 0xEF);
// Beside the main window, which is 840 logical pixels wide, on a screen of 2400 device pixels.
const QRect surfaceGeometry(900, 100, 200, 100);

// A frameless window painted device pixel by device pixel: `left` before the edge column,
// `right` from it on.
class Surface : public QWidget {
public:
    Surface()
        : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint) {
        setGeometry(surfaceGeometry);
    }
    int edgeColumn = 101;

protected:
    void paintEvent(QPaintEvent*) override {
        const qreal ratio = devicePixelRatioF();
        QImage image((QSizeF(size()) * ratio).toSize(), QImage::Format_RGB32);
        image.fill(right);
        QPainter(&image).fillRect(0, 0, edgeColumn, image.height(), QColor(left));
        image.setDevicePixelRatio(ratio);
        QPainter(this).drawImage(0, 0, image);
    }
};

// The pointer and keys as a user's: XTest through xdotool.
QString xdotool(const QStringList& arguments) {
    QProcess p;
    p.start(QStringLiteral("xdotool"), arguments);
    // The program's event loop keeps running while xdotool works.
    QDeadlineTimer deadline(10000);
    while (p.state() != QProcess::NotRunning && !deadline.hasExpired())
        QTest::qWait(5);
    if (p.state() != QProcess::NotRunning || p.exitStatus() != QProcess::NormalExit ||
        p.exitCode() != 0)
        return QStringLiteral("failed");
    return QString::fromLatin1(p.readAllStandardOutput());
}
bool moved(const QStringList& arguments) {
    return xdotool(arguments) != QLatin1String("failed");
}

// Where the X server has the pointer, in device pixels.
QPoint pointer() {
    const QStringList words = xdotool({"getmouselocation"}).split(' ');
    return {words.value(0).section(':', 1).toInt(), words.value(1).section(':', 1).toInt()};
}

QWidget* pickerWindow() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == QLatin1String("frmPipette") && w->isVisible())
            return w;
    return nullptr;
}

QImage screenNow() {
    QImage image = QGuiApplication::primaryScreen()->grabWindow(0).toImage().convertToFormat(
        QImage::Format_RGB32);
    image.setDevicePixelRatio(1);
    return image;
}

ColourValue packed(QRgb c) {
    return packColour({ChannelValue(qRed(c)), ChannelValue(qGreen(c)), ChannelValue(qBlue(c))});
}

xcb_connection_t* x11() {
    return qGuiApp->nativeInterface<QNativeInterface::QX11Application>()->connection();
}

// Sets (or with no bytes removes) a property of the root window, as a colour manager does.
void setRootProperty(const char* name, const QByteArray& bytes) {
    xcb_connection_t* c = x11();
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    xcb_intern_atom_reply_t* atom =
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, uint16_t(qstrlen(name)), name), nullptr);
    if (bytes.isEmpty())
        xcb_delete_property(c, root, atom->atom);
    else
        xcb_change_property(c, XCB_PROP_MODE_REPLACE, root, atom->atom, XCB_ATOM_CARDINAL, 8,
                            uint32_t(bytes.size()), bytes.constData());
    std::free(atom);
    std::free(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr));
}

} // namespace

// "Farbe vom Bildschirm" on a real X server with a window manager (with_xvfb.sh --wm starts Xvfb
// and JWM), run once for each scale factor 1, 1.25, 1.5, 1.75 and 2: a surface painted in two
// known colours, the pointer moved and clicked by XTest, the device pixels on both sides of the
// colour edge picked at odd and even device columns; a pick started from the menu sees no menu;
// the focus returns to the window the pick began in; a profile on the root window converts.
class TestEyedropperX11 : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void pickAtTheEdge_data();
    void pickAtTheEdge();
    void menuIsNotInThePicture();
    void focusReturnsToTheContrastWindow();
    void rootWindowProfileConverts();

private:
    // Paints the edge so it lies at a device column of the wanted parity, and returns that
    // column and a row through the surface, found on the screen itself.
    QPoint edgeOnScreen(bool odd);
    bool startPick(const QStringList& keys = {});

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
    window_.window = std::make_unique<frmHauptprogramm>(window_.dir->path(), &window_.dialogs);
    QVERIFY(window_->loaded());
    window_->move(0, 0);
    window_->show();
    QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
    test::typeColour(window_.get(), 1, 2, 3);
    surface_ = std::make_unique<Surface>();
    surface_->show();
    QVERIFY(QTest::qWaitForWindowExposed(surface_.get()));
    window_->activateWindow();
    QTRY_VERIFY(window_->isActiveWindow());
}

void TestEyedropperX11::cleanup() {
    if (QWidget* picker = pickerWindow())
        picker->close();
    surface_.reset();
    window_.window.reset();
}

QPoint TestEyedropperX11::edgeOnScreen(bool odd) {
    const qreal ratio = QGuiApplication::primaryScreen()->devicePixelRatio();
    const int y = int(surfaceGeometry.center().y() * ratio);
    for (int shift : {0, 1}) {
        surface_->edgeColumn = 101 + shift;
        surface_->repaint();
        // Where the window manager put the surface and the painting landed: scanned for.
        QPoint edge;
        QDeadlineTimer deadline(5000);
        while (edge.isNull() && !deadline.hasExpired()) {
            QTest::qWait(20);
            const QImage screen = screenNow();
            for (int x = 1; x < screen.width(); ++x)
                if (screen.pixel(x - 1, y) == left && screen.pixel(x, y) == right &&
                    screen.pixel(x - 1, y) == left) {
                    edge = QPoint(x, y);
                    break;
                }
        }
        if (!edge.isNull() && (edge.x() % 2 == 1) == odd)
            return edge;
    }
    return {};
}

bool TestEyedropperX11::startPick(const QStringList& keys) {
    if (keys.isEmpty())
        QTest::keyClick(window_.get(), Qt::Key_B, Qt::ControlModifier);
    else if (!moved(QStringList{"key", "--delay", "100"} + keys))
        return false;
    if (!QTest::qWaitFor([] { return pickerWindow() && pickerWindow()->isActiveWindow(); }, 5000))
        return false;
    return QTest::qWaitForWindowExposed(pickerWindow());
}

void TestEyedropperX11::pickAtTheEdge_data() {
    QTest::addColumn<bool>("odd");         // the edge at an odd device column
    QTest::addColumn<int>("column");       // device column, relative to the edge
    QTest::addColumn<QStringList>("then"); // xdotool's words after the move
    QTest::addColumn<int>("colour");       // 0 unchanged, 1 left, 2 right
    QTest::addColumn<int>("pointerAt");    // where the keys left the pointer, relative
    for (const bool odd : {true, false}) {
        const auto row = [odd](const char* name) {
            return &QTest::addRow("%s, edge at an %s column", name, odd ? "odd" : "even");
        };
        *row("last pixel before the edge") << odd << -1 << QStringList{"click", "1"} << 1 << -1;
        *row("first pixel of the edge") << odd << 0 << QStringList{"click", "1"} << 2 << 0;
        *row("one key right, Enter")
            << odd << -1 << QStringList{"key", "Right", "Return"} << 2 << 0;
        *row("Shift+Left from the edge")
            << odd << 9 << QStringList{"key", "shift+Left", "Return"} << 1 << -1;
    }
    QTest::newRow("Escape") << true << 0 << QStringList{"key", "Escape"} << 0 << 0;
    QTest::newRow("right click") << true << 0 << QStringList{"click", "3"} << 0 << 0;
}

void TestEyedropperX11::pickAtTheEdge() {
    QFETCH(bool, odd);
    QFETCH(int, column);
    QFETCH(QStringList, then);
    QFETCH(int, colour);
    QFETCH(int, pointerAt);
    const QPoint edge = edgeOnScreen(odd);
    QVERIFY2(!edge.isNull(), "the edge is not on the screen");
    const ColourValue before = test::sliderColour(window_.get());
    const QPoint at = edge + QPoint(column, 0);
    // --sync waits for the pointer to move, so it is moved away first.
    QVERIFY(moved({"mousemove", "--sync", "5", "5"}));
    QVERIFY(moved({"mousemove", "--sync", QString::number(at.x()), QString::number(at.y())}));

    QVERIFY(startPick());
    // A move there and back, so the picker has seen the pointer where it is.
    QVERIFY(moved({"mousemove", "--sync", QString::number(at.x() + 3), QString::number(at.y())}));
    QVERIFY(moved({"mousemove", "--sync", QString::number(at.x()), QString::number(at.y())}));
    QVERIFY(moved(then));
    QTRY_VERIFY(!pickerWindow());
    // The keys moved the pointer along.
    if (then[0] == "key")
        QCOMPARE(pointer(), edge + QPoint(pointerAt, 0));

    QCOMPARE(test::sliderColour(window_.get()),
             colour == 0 ? before : packed(colour == 1 ? left : right));
    QVERIFY(window_.dialogs.messages.isEmpty());
    QTRY_VERIFY(window_->isActiveWindow());
}

// Started from the Extras menu, the picture shows what lay under the menu, not the menu.
void TestEyedropperX11::menuIsNotInThePicture() {
    QVERIFY(moved({"mousemove", "--sync", "700", "700"}));
    QVERIFY(moved({"key", "alt+x"}));
    QMenu* extras = nullptr;
    QTRY_VERIFY((extras = window_->findChild<QMenu*>("mnuExtras")) && extras->isVisible());
    QTest::qWait(200); // painted
    const qreal ratio = QGuiApplication::primaryScreen()->devicePixelRatio();
    const QRect menu(extras->geometry().topLeft(), extras->geometry().size() * ratio);
    const QImage withMenu = screenNow().copy(menu);
    QVERIFY(startPick({"b"}));
    const QImage frozen =
        pickerWindow()->findChild<PickerCanvas*>()->picture().image.convertToFormat(
            QImage::Format_RGB32);
    QVERIFY(moved({"key", "Escape"}));
    QTRY_VERIFY(!pickerWindow());
    QTest::qWait(200);
    const QImage after = screenNow().copy(menu);
    QVERIFY(withMenu != after); // the menu did show there
    QCOMPARE(frozen.copy(menu), after);
}

void TestEyedropperX11::focusReturnsToTheContrastWindow() {
    QTest::keyClick(window_.get(), Qt::Key_K, Qt::ControlModifier);
    QWidget* kontrast = byName(window_.get(), "frmKontrast");
    QTRY_VERIFY(kontrast->isActiveWindow());
    QTest::mouseClick(byName<QPushButton>(kontrast, "cmdTextVomBildschirm"), Qt::LeftButton);
    QTRY_VERIFY(pickerWindow() && pickerWindow()->isActiveWindow());
    QVERIFY(moved({"key", "Escape"}));
    QTRY_VERIFY(!pickerWindow());
    QTRY_VERIFY(kontrast->isActiveWindow());
}

// A colour manager's profile on the root window: the picked value is the pixel converted from
// it, as Qt's own transform converts it, and the magnifier names the profile.
void TestEyedropperX11::rootWindowProfileConverts() {
    QColorSpace adobe(QColorSpace::AdobeRgb);
    adobe.setDescription(QStringLiteral("Adobe RGB (1998)"));
    setRootProperty("_ICC_PROFILE", adobe.iccProfile());
    const QPoint edge = edgeOnScreen(true);
    QVERIFY(!edge.isNull());
    QVERIFY(
        moved({"mousemove", "--sync", QString::number(edge.x() - 4), QString::number(edge.y())}));
    QVERIFY(startPick());
    const auto* canvas = pickerWindow()->findChild<PickerCanvas*>();
    QCOMPARE(canvas->picture().profile, "Adobe RGB (1998)");
    QVERIFY(moved({"key", "Return"}));
    QTRY_VERIFY(!pickerWindow());
    setRootProperty("_ICC_PROFILE", {});
    const QRgb expected =
        adobe.transformationToColorSpace(QColorSpace(QColorSpace::SRgb)).map(left);
    QVERIFY(expected != left);
    QCOMPARE(test::sliderColour(window_.get()), packed(expected));
}

QTEST_MAIN(TestEyedropperX11)
#include "test_eyedropper_x11.moc"
