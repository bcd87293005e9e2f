// Start-up benchmark: starts the program's start-up probe on scheme files of 0, 1,000 and
// 100,000 schemes and measures from process start to the first paint of the main window.
// Prints a table and writes it to bench/results/startup.md.
//
//   pigmora_bench_startup <probe> <results dir> [runs]

#include "probe_report.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QTextStream>
#include <algorithm>
#include <sqlite3.h>
#include <thread>

namespace {

struct Run {
    double ms;
    long long peakKb;
};

bool runProbe(const QString& probe, const QString& dir, Run& run) {
    QProcess p;
    const long long started = pigmora::bench::monotonicNs();
    p.start(probe, {dir});
    if (!p.waitForFinished(120000) || p.exitCode() != 0)
        return false;
    const QString out = QString::fromUtf8(p.readAllStandardOutput()).trimmed();
    long long shown = 0;
    for (const QString& field : out.split(' ')) {
        if (field.startsWith("shown_ns="))
            shown = field.mid(9).toLongLong();
        else if (field.startsWith("vmhwm_kb="))
            run.peakKb = field.mid(9).toLongLong();
    }
    run.ms = double(shown - started) / 1e6;
    return shown > 0;
}

// Lets the program make its file, then fills it as the program would have.
bool prepare(const QString& probe, const QString& dir, int schemes) {
    Run ignored{};
    if (!runProbe(probe, dir, ignored))
        return false;
    sqlite3* db = nullptr;
    sqlite3_open(QDir(dir).filePath("Farben.mdb").toUtf8().constData(), &db);
    sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
    sqlite3_stmt* insert = nullptr;
    sqlite3_prepare_v2(db, "INSERT INTO Farbtabelle VALUES (?,?,?,?,?,?,?)", -1, &insert, nullptr);
    for (int i = 0; i < schemes; ++i) {
        const QByteArray name = QStringLiteral("Farbschema %1").arg(i * 7919 % 100003).toUtf8();
        sqlite3_bind_text(insert, 1, name.constData(), -1, SQLITE_TRANSIENT);
        for (int c = 2; c <= 7; ++c)
            sqlite3_bind_int(insert, c, (i * c) % 256);
        sqlite3_step(insert);
        sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
    const bool ok = sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr) == SQLITE_OK;
    sqlite3_close(db);
    return ok;
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

QString cpuModel() {
    QFile f("/proc/cpuinfo");
    if (f.open(QIODevice::ReadOnly))
        for (const QByteArray& line : f.readAll().split('\n'))
            if (line.startsWith("model name"))
                return QString::fromUtf8(line.mid(line.indexOf(':') + 1).trimmed());
    return "unknown";
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 3) {
        std::fprintf(stderr, "usage: %s <probe> <results dir> [runs]\n", argv[0]);
        return 2;
    }
    const QString probe = args[1];
    const int runs = args.size() > 3 ? args[3].toInt() : 5;
    const QString platform = qEnvironmentVariable("QT_QPA_PLATFORM", "xcb");

    QString table;
    QTextStream t(&table);
    t << "Start-up: process start to the main window's first paint (Release, " << platform << "), "
      << runs << " runs each\n\n"
      << "| schemes | median ms | min ms | max ms | peak memory (VmHWM) median kB |\n"
      << "|---:|---:|---:|---:|---:|\n";
    for (int schemes : {0, 1000, 100000}) {
        QTemporaryDir dir;
        if (!prepare(probe, dir.path(), schemes)) {
            std::fprintf(stderr, "could not prepare %d schemes\n", schemes);
            return 1;
        }
        std::vector<double> times;
        std::vector<double> peaks;
        for (int i = 0; i < runs; ++i) {
            Run run{};
            if (!runProbe(probe, dir.path(), run))
                return 1;
            times.push_back(run.ms);
            peaks.push_back(double(run.peakKb));
        }
        t << "| " << schemes << " | " << QString::number(median(times), 'f', 1) << " | "
          << QString::number(*std::min_element(times.begin(), times.end()), 'f', 1) << " | "
          << QString::number(*std::max_element(times.begin(), times.end()), 'f', 1) << " | "
          << QString::number(median(peaks), 'f', 0) << " |\n";
    }
    t << "\nMachine: " << std::thread::hardware_concurrency() << " cores (nproc), " << cpuModel()
      << "; " << QDateTime::currentDateTime().toString(Qt::ISODate) << "\n";
    t.flush();
    std::printf("%s", qPrintable(table));

    QDir().mkpath(args[2]);
    QFile out(QDir(args[2]).filePath(QStringLiteral("startup-%1.md").arg(platform)));
    if (out.open(QIODevice::WriteOnly | QIODevice::Truncate))
        out.write(table.toUtf8());
    return 0;
}
