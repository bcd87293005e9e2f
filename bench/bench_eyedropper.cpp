// Benchmarks of the eyedropper on a real X server (run under Xvfb, one screen of 3840 x 2160):
//   - Ctrl+B in the main window to the picker's first frame: the wait for the screen to settle,
//     the screen taken, the full-screen window made, shown, painted and flushed to the server
//   - the same from the open Extras menu ("B" in it): the menu's closing included
//   - the screen alone taken (the part of the above the X server does)
//   - one pointer move with the picker open: the magnifier and its ratio repainted
//   - one pointer move while a rectangle of 400 x 200 device pixels is dragged: the pair found
//     in it and the panel and outline repainted; and the pair finder alone on that rectangle
// Prints a table and writes it to <results dir>/eyedropper-<platform>.md.
//
//   pigmora_bench_eyedropper <results dir> [runs]

#include "app/application.h"
#include "app/main_window.h"
#include "bench_support.h"
#include "eyedropper/pair_finder.h"
#include "picker_window/picker_canvas.h"
#include "picker_window/screen_grab.h"
#include "scripted_dialogs.h"

#include <QApplication>
#include <QMenu>
#include <QMouseEvent>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>

using namespace pigmora;

namespace {

// Counts the paint events a widget receives.
class PaintCounter : public QObject {
public:
    int paints = 0;
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            ++paints;
        return QObject::eventFilter(watched, event);
    }
};

PickerCanvas* openCanvas() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == QLatin1String("frmPipette") && w->isVisible())
            return w->findChild<PickerCanvas*>();
    return nullptr;
}

// Runs the event loop until `done` or 5 s have passed.
template <typename Done> bool until(Done done) {
    QDeadlineTimer deadline(5000);
    while (!done() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    return done();
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    setUpApplication(app);
    const auto args = bench::arguments(app.arguments(), "runs", 15);
    if (!args)
        return 2;
    const int runs = args->count;
    const int moves = 1000;
    QTemporaryDir dir;
    test::ScriptedDialogs dialogs;
    frmHauptprogramm window(dir.path(), &dialogs);
    window.show();
    window.activateWindow();
    if (!QTest::qWaitForWindowExposed(&window) || !until([&] { return window.isActiveWindow(); })) {
        std::fprintf(stderr, "the main window did not become active\n");
        return 1;
    }

    QMenu* extras = window.findChild<QMenu*>(QStringLiteral("mnuExtras"));
    bench::Stats toFirstFrame, fromMenu, grab, move, dragMove, finderAlone;
    for (int run = 0; run <= 2 * runs + 1; ++run) {
        // The program gives the focus back to the main window when a pick ends.
        until([&] { return window.isActiveWindow(); });
        const bool viaMenu = run % 2 == 1;
        if (viaMenu) {
            extras->popup(window.mapToGlobal(QPoint(100, 20)));
            until([&] { return extras->isVisible(); });
            QTest::qWait(50);
        }
        const double grabbed = bench::timeMs([] { grabScreens(); });
        PaintCounter counter;
        PickerCanvas* canvas = nullptr;
        const double shown = bench::timeMs([&] {
            if (viaMenu)
                QTest::keyClick(extras, Qt::Key_B);
            else
                QTest::keyClick(&window, Qt::Key_B, Qt::ControlModifier);
            until([&] { return (canvas = openCanvas()) != nullptr; });
            if (canvas) {
                canvas->installEventFilter(&counter);
                until([&] { return counter.paints > 0; });
            }
        });
        if (!canvas || counter.paints == 0) {
            std::fprintf(stderr, "no picker frame (%s)\n",
                         canvas ? "not painted" : qPrintable(dialogs.messages.value(0).text));
            return 1;
        }
        if (run > 1) { // the first two runs fill caches
            (viaMenu ? fromMenu : toFirstFrame).add(shown);
            grab.add(grabbed);
        }
        if (run == 2) {
            for (int i = 0; i < moves; ++i) {
                const QPointF at(400 + (i % 200) * 7, 300 + (i % 150) * 5);
                const int before = counter.paints;
                move.add(bench::timeMs([&] {
                    QMouseEvent event(QEvent::MouseMove, at, canvas->mapToGlobal(at), Qt::NoButton,
                                      Qt::NoButton, Qt::NoModifier);
                    QApplication::sendEvent(canvas, &event);
                    until([&] { return counter.paints > before; });
                }));
            }
            // A drag from (20, 40): its far corner wanders around 400 x 200 device pixels away.
            const qreal ratio = canvas->picture().ratio;
            const QPointF start(20, 40);
            QMouseEvent press(QEvent::MouseButtonPress, start, canvas->mapToGlobal(start),
                              Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(canvas, &press);
            for (int i = 0; i < moves; ++i) {
                const QPointF at = start + QPointF(400 + i % 5, 200 + i % 3) / ratio;
                const int before = counter.paints;
                dragMove.add(bench::timeMs([&] {
                    QMouseEvent event(QEvent::MouseMove, at, canvas->mapToGlobal(at), Qt::NoButton,
                                      Qt::LeftButton, Qt::NoModifier);
                    QApplication::sendEvent(canvas, &event);
                    until([&] { return counter.paints > before; });
                }));
            }
            PairFinder finder;
            const QRect rect(QPoint(20, 40) * ratio, QSize(400, 200));
            for (int i = 0; i < moves; ++i)
                finderAlone.add(bench::timeMs([&] {
                    finder.find(canvas->picture().image, rect.adjusted(0, 0, i % 5, i % 3));
                }));
        }
        QTest::keyClick(canvas, Qt::Key_Escape);
        until([] { return !openCanvas(); });
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    const QSize screen = QGuiApplication::primaryScreen()->size() *
                         QGuiApplication::primaryScreen()->devicePixelRatio();
    QStringList targets;
    const auto target = [&targets](const QString& what, double median, double limit) {
        targets << QStringLiteral("- %1 under %2 ms: %3 (%4 ms)")
                       .arg(what, QString::number(limit),
                            median < limit ? QStringLiteral("met") : QStringLiteral("MISSED"),
                            QString::number(median, 'f', 2));
    };
    target(QStringLiteral("Ctrl+B to the picker's first frame"), toFirstFrame.median(), 100);
    target(QStringLiteral("B in the open Extras menu to the picker's first frame"),
           fromMenu.median(), 100);
    target(QStringLiteral("one pointer move, magnifier and ratio repainted"), move.median(), 2);
    target(QStringLiteral("one move of a 400 x 200 drag, the pair found and shown"),
           dragMove.median(), 2);

    QString table;
    QTextStream t(&table);
    t << "Eyedropper through the real main window (Release, " << QGuiApplication::platformName()
      << ", one screen of " << screen.width() << " x " << screen.height() << " pixels), " << runs
      << " picks by the shortcut and " << runs << " from the menu,"
      << " " << moves << " pointer moves and drag moves, milliseconds\n\n"
      << "| measurement | median | min | max |\n|---|---:|---:|---:|\n"
      << "| Ctrl+B to the picker's first frame (painted and flushed) | " << toFirstFrame.row(1)
      << " |\n"
      << "| B in the open Extras menu to the first frame (the menu's closing included) | "
      << fromMenu.row(1) << " |\n"
      << "| of it: the screen taken (X server) | " << grab.row(1) << " |\n"
      << "| one pointer move, magnifier and ratio repainted | " << move.row(3) << " |\n"
      << "| one move of a 400 x 200 drag: the pair found, panel and outline repainted | "
      << dragMove.row(3) << " |\n"
      << "| of it: the pair finder alone on 400 x 200 pixels | " << finderAlone.row(3) << " |\n"
      << "\nTargets (medians):\n"
      << targets.join('\n') << "\n\n"
      << bench::machine() << "\n";
    t.flush();
    std::printf("%s", qPrintable(table));
    bench::writeResult(args->results,
                       QStringLiteral("eyedropper-%1.md").arg(QGuiApplication::platformName()),
                       table);
    return 0;
}
