// Benchmarks of the commands, through the real main window (offscreen):
//   - select, new (with its select) and delete on files of 10,000 and 100,000 schemes
//   - one slider step and one typed digit, each with the setter chain and the sample's repaint
// Prints a table and writes it to <results dir>/commands-<platform>.md.
//
//   pigmora_bench_commands <results dir> [runs]

#include "app/application.h"
#include "app/main_window.h"
#include "app/scheme_list.h"
#include "bench_support.h"
#include "scripted_dialogs.h"

#include <QApplication>
#include <QLineEdit>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>

using namespace pigmora;

namespace {

// Lets queued work (the sample's repaint) run.
void settle() {
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
}

struct Commands {
    bench::Stats select, store, remove;
};

Commands schemeCommands(int schemes, int runs) {
    QTemporaryDir dir;
    test::ScriptedDialogs dialogs;
    {
        frmHauptprogramm first(dir.path(), &dialogs); // makes the file
    }
    bench::fillSchemeFile(dir.filePath("Farben.mdb"), schemes, [](int i) { return i; });
    frmHauptprogramm window(dir.path(), &dialogs);
    window.show();
    settle();
    auto* list = window.findChild<SchemeList*>("cmbFarbe");
    Commands c;
    for (int i = 0; i < runs; ++i) {
        const int entry = (i + 1) * list->entryCount() / (runs + 1);
        c.select.add(bench::timeMs([&] {
            list->setSelectedIndex(entry);
            settle();
        }));
        dialogs.promptAnswers = {QStringLiteral("Neues Schema %1").arg(i)};
        c.store.add(bench::timeMs([&] {
            window.cmdNeueFarbe_Click();
            settle();
        }));
        list->setSelectedIndex(entry);
        c.remove.add(bench::timeMs([&] {
            window.cmdWeg_Click();
            settle();
        }));
    }
    if (!dialogs.messages.isEmpty())
        qFatal("a command failed: %s", qPrintable(dialogs.messages.first().text));
    return c;
}

std::pair<bench::Stats, bench::Stats> interaction(int steps) {
    QTemporaryDir dir;
    test::ScriptedDialogs dialogs;
    frmHauptprogramm window(dir.path(), &dialogs);
    window.show();
    QApplication::setActiveWindow(&window);
    settle();
    bench::Stats slider, digit;
    auto* sld = window.findChild<QSlider*>(QStringLiteral("sldGrün"));
    sld->setFocus();
    for (int i = 0; i < steps; ++i) {
        const Qt::Key key = (i / 200) % 2 ? Qt::Key_Left : Qt::Key_Right;
        slider.add(bench::timeMs([&] {
            QTest::keyClick(sld, key);
            settle();
        }));
    }
    auto* box = window.findChild<QLineEdit*>(QStringLiteral("txtBlau"));
    box->setFocus();
    for (int i = 0; i < steps; ++i) {
        // Typing 1, 2, 3 then removing them again keeps the box changing on every key.
        const int phase = i % 6;
        const Qt::Key key = phase < 3 ? Qt::Key(Qt::Key_1 + phase) : Qt::Key_Backspace;
        digit.add(bench::timeMs([&] {
            QTest::keyClick(box, key);
            settle();
        }));
    }
    return {slider, digit};
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    setUpApplication(app);
    const auto args = bench::arguments(app.arguments(), "runs", 5);
    if (!args)
        return 2;
    const int runs = args->count;
    QString table;
    QTextStream t(&table);
    t << "Scheme commands through the real window (Release, " << QGuiApplication::platformName()
      << "), " << runs << " runs each, milliseconds\n\n"
      << "| schemes | command | median | min | max |\n|---:|---|---:|---:|---:|\n";
    QStringList targets;
    const auto target = [&targets](const QString& what, double median, double limit) {
        targets << QStringLiteral("- %1 under %2 ms: %3 (%4 ms)")
                       .arg(what, QString::number(limit),
                            median < limit ? QStringLiteral("met") : QStringLiteral("MISSED"),
                            QString::number(median, 'f', median < 1 ? 3 : 1));
    };
    for (int schemes : {10000, 100000}) {
        const Commands c = schemeCommands(schemes, runs);
        for (const auto& [name, stats] : {std::pair{"select", &c.select},
                                          {"new (with its select)", &c.store},
                                          {"delete", &c.remove}}) {
            t << "| " << schemes << " | " << name << " | " << stats->row() << " |\n";
            if (schemes == 100000)
                target(QStringLiteral("%1 with 100,000 schemes").arg(name), stats->median(), 50);
        }
    }
    const int steps = 10000;
    const auto [slider, digit] = interaction(steps);
    t << "\nInteraction, " << steps << " each, milliseconds (setter chain and repaint)\n\n"
      << "| action | median | min | max |\n|---|---:|---:|---:|\n"
      << "| slider step (arrow key) | " << slider.row(3) << " |\n"
      << "| typed digit or backspace | " << digit.row(3) << " |\n";
    target(QStringLiteral("one slider step"), slider.median(), 0.5);
    target(QStringLiteral("one typed digit"), digit.median(), 0.5);
    t << "\nTargets (medians):\n" << targets.join('\n') << "\n\n" << bench::machine() << "\n";
    t.flush();
    std::printf("%s", qPrintable(table));
    bench::writeResult(args->results,
                       QStringLiteral("commands-%1.md").arg(QGuiApplication::platformName()),
                       table);
    return 0;
}
