// Start-up benchmark: the time from process start to the first paint of the main window, and
// the peak memory (VmHWM) once the window is idle, for the program's start-up probe on scheme
// files of 0, 1,000 and 100,000 schemes, beside the floor: a minimal Qt Widgets window of ours
// (bench/floor/), and the same floor in the window's fonts. All are started in turn, round
// after round, so the machine's changing load falls on all of them alike; ratios are taken
// between runs of the same round.
// Prints a table and writes it to <results dir>/startup-<platform>.md.
//
//   pigmora_bench_startup <probe> <floor> <results dir> [runs]

#include "bench_support.h"
#include "probe_report.h"

#include <QCoreApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <array>
#include <cstdio>

using pigmora::bench::Stats;

namespace {

struct Run {
    double ms = 0;
    long long peakKb = 0;
};

bool runOnce(const QString& program, const QStringList& args, Run& run) {
    QProcess p;
    const long long started = pigmora::bench::monotonicNs();
    p.start(program, args);
    if (!p.waitForFinished(120000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
        return false;
    long long shown = 0;
    for (const QString& field : QString::fromUtf8(p.readAllStandardOutput()).trimmed().split(' ')) {
        if (field.startsWith(QLatin1String("shown_ns=")))
            shown = field.mid(9).toLongLong();
        else if (field.startsWith(QLatin1String("vmhwm_kb=")))
            run.peakKb = field.mid(9).toLongLong();
    }
    run.ms = double(shown - started) / 1e6;
    return shown > 0;
}

// Lets the program make its file, then fills it as the program would have.
bool prepare(const QString& probe, const QString& dir, int schemes) {
    Run ignored;
    if (!runOnce(probe, {dir}, ignored))
        return false;
    // Names in an order unlike the sorted one, as a user's list would be.
    return pigmora::bench::fillSchemeFile(QDir(dir).filePath("Farben.mdb"), schemes,
                                          [](int i) { return i * 7919 % 100003; });
}

struct Subject {
    Subject(QString label, QString program, QStringList args)
        : label(std::move(label))
        , program(std::move(program))
        , args(std::move(args)) {}
    QString label;
    QString program;
    QStringList args;
    Stats ms, peakKb, ratio, memoryRatio;
    std::vector<double> msByRound;
};

QString verdict(bool met) {
    return met ? QStringLiteral("met") : QStringLiteral("MISSED");
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 4) {
        std::fprintf(stderr, "usage: %s <probe> <floor> <results dir> [runs]\n", argv[0]);
        return 2;
    }
    const QString probe = args[1];
    const int runs = std::max(5, args.size() > 4 ? args[4].toInt() : 9);
    const QString platform = qEnvironmentVariable("QT_QPA_PLATFORM", QStringLiteral("xcb"));

    std::array<QTemporaryDir, 3> dirs;
    const std::array<int, 3> sizes = {0, 1000, 100000};
    std::vector<Subject> subjects;
    subjects.emplace_back(QStringLiteral("floor: 3 sliders, 6 line edits, a label"), args[2],
                          QStringList());
    // For comparison, not a target: the floor in the fonts the window uses.
    subjects.emplace_back(QStringLiteral("floor in the window's fonts"), args[2],
                          QStringList{QStringLiteral("--window-fonts")});
    for (std::size_t i = 0; i < sizes.size(); ++i) {
        if (!prepare(probe, dirs[i].path(), sizes[i])) {
            std::fprintf(stderr, "could not prepare %d schemes\n", sizes[i]);
            return 1;
        }
        subjects.emplace_back(QStringLiteral("Pigmora, %L1 schemes").arg(sizes[i]), probe,
                              QStringList{dirs[i].path()});
    }

    // One round unmeasured, so every file and library is in the page cache.
    for (Subject& s : subjects) {
        Run warm;
        if (!runOnce(s.program, s.args, warm))
            return 1;
    }
    for (int round = 0; round < runs; ++round) {
        std::vector<Run> results(subjects.size());
        for (std::size_t k = 0; k < subjects.size(); ++k) {
            // Each round starts with another one, so none is always first after a pause.
            const std::size_t i = (k + std::size_t(round)) % subjects.size();
            if (!runOnce(subjects[i].program, subjects[i].args, results[i])) {
                std::fprintf(stderr, "%s did not start\n", qPrintable(subjects[i].label));
                return 1;
            }
        }
        for (std::size_t i = 0; i < subjects.size(); ++i) {
            Subject& s = subjects[i];
            s.ms.add(results[i].ms);
            s.msByRound.push_back(results[i].ms);
            s.peakKb.add(double(results[i].peakKb));
            s.ratio.add(results[i].ms / results[0].ms);
            s.memoryRatio.add(double(results[i].peakKb) / double(results[0].peakKb));
        }
    }
    Stats added; // by 100,000 schemes, over 0 schemes, in the same round
    for (int round = 0; round < runs; ++round)
        added.add(subjects[4].msByRound[round] - subjects[2].msByRound[round]);

    QString table;
    QTextStream t(&table);
    t << "Start-up: process start to the main window's first paint, and peak memory (VmHWM) at "
         "the idle window (Release, "
      << platform << "), " << runs << " rounds\n\n"
      << "| program | median ms | min ms | max ms | time / floor | median VmHWM kB | "
         "VmHWM / floor |\n"
      << "|---|---:|---:|---:|---:|---:|---:|\n";
    for (const Subject& s : subjects)
        t << "| " << s.label << " | " << s.ms.row() << " | "
          << QString::number(s.ratio.median(), 'f', 2) << " | "
          << QString::number(s.peakKb.median(), 'f', 0) << " | "
          << QString::number(s.memoryRatio.median(), 'f', 2) << " |\n";
    t << "\nRatios are medians of the ratios within each round. 100,000 schemes add "
      << QString::number(added.median(), 'f', 1)
      << " ms to the start with 0 schemes (median of the differences within each round).\n\n"
      << "Targets:\n"
      << "- start-up with 0 schemes within 1.15x of the floor: "
      << verdict(subjects[2].ratio.median() <= 1.15) << " ("
      << QString::number(subjects[2].ratio.median(), 'f', 2) << "x)\n"
      << "- 100,000 schemes add under 400 ms: " << verdict(added.median() < 400) << " ("
      << QString::number(added.median(), 'f', 0) << " ms)\n"
      << "- peak memory with 0 schemes within 1.2x of the floor: "
      << verdict(subjects[2].memoryRatio.median() <= 1.2) << " ("
      << QString::number(subjects[2].memoryRatio.median(), 'f', 2) << "x)\n"
      << "\n"
      << pigmora::bench::machine() << "\n";
    t.flush();
    std::printf("%s\n", qPrintable(table));
    pigmora::bench::writeResult(args[3], QStringLiteral("startup-%1.md").arg(platform), table);
    return 0;
}
