// Benchmarks of the contrast grid and the colour ramps:
//   - the verdicts of 200 x 200 colours (40,000 cells): the grid made, and judged again for
//     another size class, as a font change does
//   - the grid window through the real main window (offscreen) on 200 stored schemes of 200
//     text colours and 200 backgrounds: from the menu command to the first paint; a repaint
//     after scrolling a page; a font change of the sample, re-judged and repainted
//   - pigmora-schemes grid --format json on a palette of 1,000 colours (1,000,000 pairs) as a
//     process, its output thrown away
//   - a ramp of 10 targets, WCAG and APCA, on a light and a dark background
// Prints a table and writes it to <results dir>/raster-<platform>.md.
//
//   pigmora_bench_raster <pigmora-schemes> <results dir> [runs]

#include "app/application.h"
#include "app/main_window.h"
#include "bench_support.h"
#include "contrast_grid/colour_ramp.h"
#include "contrast_grid/contrast_grid.h"
#include "raster_window/raster_window.h"
#include "scripted_dialogs.h"

#include <QAction>
#include <QApplication>
#include <QProcess>
#include <QRandomGenerator>
#include <QScrollBar>
#include <QTableView>
#include <QTemporaryDir>

using namespace pigmora;

namespace {

void settle() {
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
}

Rgb randomColour(QRandomGenerator& random) {
    const quint32 v = random.generate();
    return Rgb{ChannelValue(v), ChannelValue(v >> 8), ChannelValue(v >> 16)};
}

std::vector<GridColour> colours(int count, QRandomGenerator& random) {
    std::vector<GridColour> out;
    for (int i = 0; i < count; ++i)
        out.push_back({QStringLiteral("color.scale.%1").arg(i), randomColour(random), {}});
    return out;
}

struct GridTimes {
    bench::Stats made, rerated;
};

GridTimes verdicts(int runs) {
    QRandomGenerator random(20261208);
    GridTimes t;
    for (int i = 0; i < runs; ++i) {
        const auto rows = colours(200, random);
        const auto columns = colours(200, random);
        ContrastGrid grid;
        t.made.add(bench::timeMs([&] { grid = ContrastGrid(rows, columns); }));
        t.rerated.add(bench::timeMs([&] { grid.rate({true, std::nullopt}); }));
    }
    return t;
}

// Counts the paints of the grid's cells, so the first paint is known to have happened.
class PaintWatch : public QObject {
public:
    int paints = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

struct WindowTimes {
    bench::Stats firstPaint, scroll, font;
};

WindowTimes window(int runs) {
    WindowTimes t;
    for (int run = 0; run < runs; ++run) {
        QTemporaryDir dir;
        test::ScriptedDialogs dialogs;
        {
            frmHauptprogramm made(dir.path(), &dialogs); // creates the scheme file
        }
        // 200 schemes, each of its own text colour and background: a grid of 200 x 200.
        bench::fillSchemeFile(dir.filePath(QStringLiteral("Farben.mdb")), 200,
                              [](int i) { return i; });
        frmHauptprogramm main(dir.path(), &dialogs);
        main.show();
        settle();
        PaintWatch watch;
        frmRaster* raster = nullptr;
        t.firstPaint.add(bench::timeMs([&] {
            main.menus().mnuRaster->trigger();
            raster = main.findChild<frmRaster*>(QStringLiteral("frmRaster"));
            auto* table = raster->findChild<QTableView*>(QStringLiteral("tblRaster"));
            table->viewport()->installEventFilter(&watch);
            while (watch.paints == 0)
                QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        }));
        auto* table = raster->findChild<QTableView*>(QStringLiteral("tblRaster"));
        if (table->model()->rowCount() < 190)
            std::fprintf(stderr, "grid of %d rows only\n", table->model()->rowCount());
        for (int i = 0; i < 10; ++i) {
            QScrollBar* bar = table->verticalScrollBar();
            bar->setValue(bar->value() + bar->pageStep());
            t.scroll.add(bench::timeMs([&] {
                settle();
                table->viewport()->repaint();
            }));
        }
        QWidget* sample = main.findChild<QWidget*>(QStringLiteral("lblTest"));
        for (int i = 0; i < 6; ++i) {
            QFont font = sample->font();
            font.setPointSizeF(i % 2 ? 11 : 20); // across the large-text border
            t.font.add(bench::timeMs([&] {
                sample->setFont(font);
                settle();
                table->viewport()->repaint();
            }));
        }
    }
    return t;
}

bench::Stats gridProcess(const QString& tool, int runs) {
    QTemporaryDir dir;
    QFile palette(dir.filePath(QStringLiteral("gross.gpl")));
    palette.open(QIODevice::WriteOnly);
    QRandomGenerator random(20261208);
    QByteArray text = "GIMP Palette\nName: Gross\n#\n";
    for (int i = 0; i < 1000; ++i) {
        const Rgb c = randomColour(random);
        text += QByteArray::number(c.red) + ' ' + QByteArray::number(c.green) + ' ' +
                QByteArray::number(c.blue) + "\tcolor.scale." + QByteArray::number(i) + '\n';
    }
    palette.write(text);
    palette.close();
    bench::Stats s;
    for (int i = 0; i < runs; ++i) {
        QProcess process;
        process.setStandardOutputFile(QProcess::nullDevice());
        s.add(bench::timeMs([&] {
            process.start(tool, {QStringLiteral("grid"), palette.fileName(),
                                 QStringLiteral("--format"), QStringLiteral("json")});
            process.waitForFinished(-1);
        }));
        if (process.exitCode() != 0)
            std::fprintf(stderr, "grid failed: %s\n", process.readAllStandardError().constData());
    }
    return s;
}

bench::Stats ramps(RampMeasure measure, int runs) {
    const std::vector<double> targets =
        measure == RampMeasure::Wcag
            ? std::vector<double>{1.25, 1.5, 2, 2.5, 3, 4.5, 5.5, 7, 8.5, 10}
            : std::vector<double>{15, 22, 30, 38, 45, 52, 60, 68, 75, 90};
    QRandomGenerator random(20261208);
    bench::Stats s;
    for (int i = 0; i < runs; ++i) {
        const Rgb key = randomColour(random);
        const Rgb background = i % 2 ? Rgb{255, 255, 255} : Rgb{13, 17, 23};
        s.add(bench::timeMs([&] { makeColourRamp(key, background, measure, targets); }));
    }
    return s;
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    setUpApplication(app);
    const QStringList arguments = app.arguments();
    if (arguments.size() < 3) {
        std::fprintf(stderr,
                     "usage: pigmora_bench_raster <pigmora-schemes> <results dir> [runs]\n");
        return 2;
    }
    const QString tool = arguments[1];
    const QString results = arguments[2];
    const int runs = arguments.size() > 3 ? arguments[3].toInt() : 9;
    QStringList targets;
    const auto target = [&targets](const QString& what, double median, double limit) {
        targets << QStringLiteral("- %1 under %2 ms: %3 (%4 ms)")
                       .arg(what, QString::number(limit),
                            median < limit ? QStringLiteral("met") : QStringLiteral("MISSED"),
                            QString::number(median, 'f', 3));
    };

    const GridTimes grid = verdicts(5 * runs);
    const WindowTimes w = window(runs);
    const bench::Stats process = gridProcess(tool, std::max(3, runs / 2));
    const bench::Stats wcag = ramps(RampMeasure::Wcag, 200);
    const bench::Stats apca = ramps(RampMeasure::Apca, 200);

    QString table;
    QTextStream t(&table);
    t << "Contrast grid and colour ramps (Release, " << QGuiApplication::platformName()
      << "), milliseconds\n\n"
      << "| measurement | median | min | max |\n|---|---:|---:|---:|\n"
      << "| 200 x 200 verdicts: the grid made (ratios, levels) | " << grid.made.row(3) << " |\n"
      << "| 200 x 200 verdicts judged again for large text | " << grid.rerated.row(3) << " |\n"
      << "| window on 200 x 200: menu command to the first paint | " << w.firstPaint.row(2)
      << " |\n"
      << "| window: repaint after scrolling a page | " << w.scroll.row(2) << " |\n"
      << "| window: sample font changed, judged again and repainted | " << w.font.row(2) << " |\n"
      << "| `grid --format json`, 1,000 x 1,000 colours, as a process | " << process.row(0)
      << " |\n"
      << "| ramp of 10 WCAG targets | " << wcag.row(3) << " |\n"
      << "| ramp of 10 APCA targets | " << apca.row(3) << " |\n";
    target(QStringLiteral("200 x 200 verdicts"), grid.made.median(), 10);
    target(QStringLiteral("the first paint"), w.firstPaint.median(), 100);
    target(QStringLiteral("a scroll repaint"), w.scroll.median(), 16);
    target(QStringLiteral("a font change and repaint"), w.font.median(), 16);
    target(QStringLiteral("grid --format json of 1,000 x 1,000 colours"), process.median(), 1000);
    target(QStringLiteral("a ramp of 10 targets"), std::max(wcag.median(), apca.median()), 1);
    t << "\nThe JSON of 1,000,000 pairs is about 270 MB. The window paints only the cells in "
         "view.\n\nTargets (medians):\n"
      << targets.join('\n') << "\n\n"
      << bench::machine() << "\n";
    t.flush();
    std::printf("%s", qPrintable(table));
    bench::writeResult(results, QStringLiteral("raster-%1.md").arg(QGuiApplication::platformName()),
                       table);
    return 0;
}
