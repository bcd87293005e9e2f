// Benchmarks of the contrast window, through the real main window (offscreen):
//   - the window's whole refresh for one colour change (reading the sample, the verdicts, the
//     nearest-colour search, the four previews, writing every control), over many colours;
//     beside it the report alone, without the controls
//   - one slider step (arrow key and the queued work after it) with the window open and
//     without it
// Prints a table and writes it to <results dir>/contrast-<platform>.md.
//
//   pigmora_bench_contrast <results dir> [colours]

#include "app/application.h"
#include "app/main_window.h"
#include "bench_support.h"
#include "contrast_window/contrast_report.h"
#include "contrast_window/contrast_window.h"
#include "scripted_dialogs.h"

#include <QAction>
#include <QApplication>
#include <QRandomGenerator>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>

using namespace pigmora;

namespace {

// Lets queued work (the window's refresh, the repaints) run.
void settle() {
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
}

Rgb randomColour(QRandomGenerator& random) {
    const quint32 v = random.generate();
    return Rgb{ChannelValue(v), ChannelValue(v >> 8), ChannelValue(v >> 16)};
}

struct Refresh {
    bench::Stats window, report;
};

// Each round gives the sample a new pair of colours, as a change from the main window does,
// then times the refresh while the controls still show the previous pair.
Refresh refreshes(int colours) {
    QTemporaryDir dir;
    test::ScriptedDialogs dialogs;
    frmHauptprogramm window(dir.path(), &dialogs);
    window.show();
    window.menus().mnuKontrast->trigger();
    settle();
    auto* kontrast = window.findChild<frmKontrast*>(QStringLiteral("frmKontrast"));
    QRandomGenerator random(20261207);
    Refresh r;
    ContrastReport report;
    for (int i = 0; i < colours; ++i) {
        const Rgb text = randomColour(random);
        const Rgb back = randomColour(random);
        window.pair().setText(text);
        window.pair().setBackground(back);
        r.window.add(bench::timeMs([&] { kontrast->refresh(); }));
        const SampleReading reading{text, back, 9.75, i % 2 == 1, i % 3 == 0};
        r.report.add(bench::timeMs([&] { report = makeContrastReport(reading); }));
        settle();
    }
    return r;
}

bench::Stats sliderSteps(int steps, bool withWindow) {
    QTemporaryDir dir;
    test::ScriptedDialogs dialogs;
    frmHauptprogramm window(dir.path(), &dialogs);
    window.show();
    if (withWindow)
        window.menus().mnuKontrast->trigger();
    QApplication::setActiveWindow(&window);
    settle();
    bench::Stats slider;
    auto* sld = window.findChild<QSlider*>(QStringLiteral("sldGrün"));
    sld->setFocus();
    for (int i = 0; i < steps; ++i) {
        const Qt::Key key = (i / 200) % 2 ? Qt::Key_Left : Qt::Key_Right;
        slider.add(bench::timeMs([&] {
            QTest::keyClick(sld, key);
            settle();
        }));
    }
    return slider;
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    setUpApplication(app);
    const auto args = bench::arguments(app.arguments(), "colours", 10000);
    if (!args)
        return 2;
    const int colours = args->count;
    QStringList targets;
    const auto target = [&targets](const QString& what, double median, double limit) {
        targets << QStringLiteral("- %1 under %2 ms: %3 (%4 ms)")
                       .arg(what, QString::number(limit),
                            median < limit ? QStringLiteral("met") : QStringLiteral("MISSED"),
                            QString::number(median, 'f', 3));
    };

    const Refresh r = refreshes(colours);
    const bench::Stats without = sliderSteps(colours, false);
    const bench::Stats with = sliderSteps(colours, true);

    QString table;
    QTextStream t(&table);
    t << "Contrast window through the real main window (Release, "
      << QGuiApplication::platformName() << "), " << colours << " colours or steps each, "
      << "milliseconds\n\n"
      << "| measurement | median | min | max |\n|---|---:|---:|---:|\n"
      << "| whole refresh for one colour change (report and controls) | " << r.window.row(3)
      << " |\n"
      << "| the report alone (verdicts, nearest colours, previews) | " << r.report.row(3) << " |\n"
      << "| slider step (arrow key), contrast window closed | " << without.row(3) << " |\n"
      << "| slider step (arrow key), contrast window open | " << with.row(3) << " |\n";
    target(QStringLiteral("the whole refresh"), r.window.median(), 1);
    target(QStringLiteral("one slider step with the contrast window open"), with.median(), 0.5);
    t << "\nThe slider step includes the setter chain, the window's queued refresh and the "
         "repaints.\n\nTargets (medians):\n"
      << targets.join('\n') << "\n\n"
      << bench::machine() << "\n";
    t.flush();
    std::printf("%s", qPrintable(table));
    bench::writeResult(args->results,
                       QStringLiteral("contrast-%1.md").arg(QGuiApplication::platformName()),
                       table);
    return 0;
}
