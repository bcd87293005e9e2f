// Benchmarks of the exchange formats and of pigmora-schemes, on a file of 100,000 schemes:
//   - export in each format: read from the scheme file, format, write the file
//   - import from JSON, a GIMP palette and design tokens: read and parse the file, add in one
//     transaction
//   - `pigmora-schemes check`: the real process from start to exit, and the same work in-process
// Prints a table and writes it to <results dir>/exchange-offscreen.md.
//
//   pigmora_bench_exchange <pigmora-schemes> <results dir> [runs]

#include "bench_support.h"
#include "exchange/scheme_export.h"
#include "exchange/scheme_import.h"
#include "schemes/scheme_file.h"
#include "schemes/scheme_transfer.h"
#include "schemes_tool/parser_texts.h"
#include "schemes_tool/schemes_tool.h"
#include "version.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

using namespace pigmora;

namespace {

constexpr int schemeCount = 100000;

const ExportStamp stamp{QStringLiteral("Pigmora " PIGMORA_VERSION), QDateTime::currentDateTime()};

// Read from the file, formatted, written whole.
double exportOnce(const QString& schemeFile, ExchangeFormat format, const QString& target) {
    return bench::timeMs([&] {
        const auto file = SchemeFile::openExisting(schemeFile, SchemeFile::Access::ReadOnly);
        const StoredSchemes stored = readStoredSchemes(*file);
        if (!stored.error.isEmpty() || stored.schemes.size() != size_t(schemeCount))
            qFatal("reading the schemes failed: %s", qPrintable(stored.error));
        if (const auto error =
                writeExportFile(target, exportSchemes(stored.schemes, format, stamp)))
            qFatal("%s", qPrintable(*error));
    });
}

// Read and parsed from the file, added to an empty scheme file in one transaction.
double importOnce(const QString& source, const QString& emptyFile, const QString& schemeFile) {
    QFile::remove(schemeFile);
    if (!QFile::copy(emptyFile, schemeFile))
        qFatal("cannot copy the empty scheme file");
    const double ms = bench::timeMs([&] {
        const ImportReading reading = readSchemeImportFile(source);
        if (!reading.error.isEmpty() || !reading.refused.empty() ||
            reading.schemes.size() != size_t(schemeCount))
            qFatal("reading %s failed: %s", qPrintable(source), qPrintable(reading.error));
        const auto file = SchemeFile::openExisting(schemeFile, SchemeFile::Access::ReadWrite);
        if (const auto error = addSchemes(*file, reading.schemes))
            qFatal("adding failed: %s", qPrintable(*error));
    });
    const auto file = SchemeFile::openExisting(schemeFile, SchemeFile::Access::ReadOnly);
    if (readStoredSchemes(*file).schemes.size() != size_t(schemeCount))
        qFatal("the import did not store every scheme");
    return ms;
}

// The real process, until it has exited and its output is read.
double checkProcess(const QString& tool, const QString& schemeFile, int& failing) {
    QProcess process;
    const double ms = bench::timeMs([&] {
        process.start(tool, {QStringLiteral("check"), QStringLiteral("--file"), schemeFile});
        if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit)
            qFatal("pigmora-schemes check did not finish");
    });
    failing = int(process.readAllStandardOutput().count('\n'));
    if (process.exitCode() != (failing > 0 ? 1 : 0))
        qFatal("pigmora-schemes check: exit status %d", process.exitCode());
    return ms;
}

// The same command in this process: parsing, opening, reading, checking, writing the lines.
double checkInProcess(const QString& schemeFile, int failing) {
    QBuffer out, err;
    out.open(QIODevice::WriteOnly);
    err.open(QIODevice::WriteOnly);
    ToolOutput output(out, err);
    const double ms = bench::timeMs([&] {
        runSchemesTool({QStringLiteral("pigmora-schemes"), QStringLiteral("check"),
                        QStringLiteral("--file"), schemeFile},
                       output);
    });
    if (out.data().count('\n') != failing)
        qFatal("the in-process check found other pairs than the process");
    return ms;
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Pigmora"));
    GermanParserTexts parserTexts;
    QCoreApplication::installTranslator(&parserTexts);
    const QStringList args = app.arguments();
    if (args.size() < 3) {
        std::fprintf(stderr, "usage: %s <pigmora-schemes> <results dir> [runs]\n", argv[0]);
        return 2;
    }
    const QString tool = args[1];
    const int runs = args.size() > 3 ? args[3].toInt() : 5;

    QTemporaryDir dir;
    const QString schemeFile = dir.filePath(QStringLiteral("Farben.mdb"));
    const QString emptyFile = dir.filePath(QStringLiteral("leer.mdb"));
    SchemeFile::openOrCreate(emptyFile)->close();
    QFile::copy(emptyFile, schemeFile);
    if (!bench::fillSchemeFile(schemeFile, schemeCount, [](int i) { return i; }))
        qFatal("cannot fill the scheme file");

    QString table;
    QTextStream t(&table);
    t << "Exchange of " << schemeCount << " schemes (Release), " << runs
      << " runs each, milliseconds\n\n"
      << "| what | median | min | max |\n|---|---:|---:|---:|\n";
    QStringList targets, sizes;
    const auto target = [&targets](const QString& what, double median, double limit) {
        targets << QStringLiteral("- %1 under %2 ms: %3 (%4 ms)")
                       .arg(what, QString::number(limit),
                            median < limit ? QStringLiteral("met") : QStringLiteral("MISSED"),
                            QString::number(median, 'f', 1));
    };

    for (ExchangeFormat format : exchangeFormats) {
        const QString exported = dir.filePath(QStringLiteral("export.") + formatSuffix(format));
        bench::Stats stats;
        for (int i = 0; i < runs; ++i)
            stats.add(exportOnce(schemeFile, format, exported));
        const QString what = QStringLiteral("export %1").arg(formatDisplayName(format));
        t << "| " << what << " (read + format + write) | " << stats.row() << " |\n";
        target(what, stats.median(), 1000);
        sizes << QStringLiteral("%1 %2 MB")
                     .arg(formatDisplayName(format))
                     .arg(QFileInfo(exported).size() / 1e6, 0, 'f', 1);
    }
    for (ExchangeFormat format :
         {ExchangeFormat::Json, ExchangeFormat::Gpl, ExchangeFormat::Tokens}) {
        // Each import reads back what the export above wrote.
        const QString source = dir.filePath(QStringLiteral("export.") + formatSuffix(format));
        const QString imported = dir.filePath(QStringLiteral("import.mdb"));
        bench::Stats stats;
        for (int i = 0; i < runs; ++i)
            stats.add(importOnce(source, emptyFile, imported));
        const QString what = QStringLiteral("import %1").arg(formatDisplayName(format));
        t << "| " << what << " (read + parse + add) | " << stats.row() << " |\n";
        target(what, stats.median(), 1000);
    }
    int failing = 0;
    bench::Stats process, inProcess;
    for (int i = 0; i < runs; ++i) {
        process.add(checkProcess(tool, schemeFile, failing));
        inProcess.add(checkInProcess(schemeFile, failing));
    }
    t << "| `pigmora-schemes check`, the process from start to exit | " << process.row() << " |\n"
      << "| the same check in-process (open, read, check, write lines) | " << inProcess.row()
      << " |\n";
    target(QStringLiteral("check as a process"), process.median(), 200);
    target(QStringLiteral("check in-process"), inProcess.median(), 200);

    t << "\nFiles: " << sizes.join(QStringLiteral(", ")) << ". The check "
      << "finds " << failing << " of " << schemeCount << " pairs below AA (4.5:1).\n"
      << "\nTargets (medians):\n"
      << targets.join('\n') << "\n\n"
      << bench::machine() << "\n";
    t.flush();
    std::printf("%s", qPrintable(table));
    bench::writeResult(args[2], QStringLiteral("exchange-offscreen.md"), table);
    return 0;
}
