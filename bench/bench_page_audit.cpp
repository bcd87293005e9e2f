// Benchmarks of `pigmora-schemes audit` on pages of 1,000 and 30,000 paragraphs in 20 styles
// (colours, sizes 12 to 19 px, normal and bold, a background each):
//   - the command as a process, from its start to its exit, the browser's start included
//   - the peak memory (VmHWM) of our own process, the audit run in-process in a child of this
//     benchmark (the browser's processes are not ours and not counted)
// Prints a table and writes it to <results dir>/page-audit-offscreen.md.
//
//   pigmora_bench_page_audit <pigmora-schemes> <results dir> [runs]

#include "bench_support.h"
#include "schemes_tool/parser_texts.h"
#include "schemes_tool/schemes_tool.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>

using namespace pigmora;

namespace {

QString page(int paragraphs) {
    QString html =
        QStringLiteral("<!doctype html>\n<html lang=\"de\"><head><meta charset=\"utf-8\">"
                       "<title>Absätze</title><style>\n");
    for (int i = 0; i < 20; ++i)
        html +=
            QStringLiteral(".s%1{color:#%2%3%4;background:#%5%6f0;font-size:%7px;font-weight:%8}\n")
                .arg(i)
                .arg((i * 37) % 256, 2, 16, QLatin1Char('0'))
                .arg((i * 91) % 256, 2, 16, QLatin1Char('0'))
                .arg((i * 53) % 256, 2, 16, QLatin1Char('0'))
                .arg(255 - i * 5, 2, 16, QLatin1Char('0'))
                .arg(250 - i * 3, 2, 16, QLatin1Char('0'))
                .arg(12 + i % 8)
                .arg(i % 2 ? 700 : 400);
    html += QStringLiteral("</style></head><body>\n");
    for (int i = 0; i < paragraphs; ++i)
        html += QStringLiteral("<p class=\"s%1\">Absatz %2: Ein kurzer Satz, damit die Seite etwas "
                               "zu lesen hat.</p>\n")
                    .arg(i % 20)
                    .arg(i);
    return html + QStringLiteral("</body></html>\n");
}

// The command's own peak memory: the audit in-process in this benchmark run as a child.
int inside(const QStringList& args) {
    QCoreApplication::setApplicationName(QStringLiteral("Pigmora"));
    GermanParserTexts texts;
    QCoreApplication::installTranslator(&texts);
    QFile out, err;
    out.open(stdout, QIODevice::WriteOnly);
    err.open(stderr, QIODevice::WriteOnly | QIODevice::Unbuffered);
    ToolOutput output(out, err);
    const int status =
        runSchemesTool(QStringList{QStringLiteral("pigmora-schemes")} + args, output);
    output.finish();
    QFile statusFile(QStringLiteral("/proc/self/status"));
    statusFile.open(QIODevice::ReadOnly);
    for (const QByteArray& line : statusFile.readAll().split('\n'))
        if (line.startsWith("VmHWM"))
            std::fprintf(stderr, "%s\n", line.constData());
    return status;
}

struct Outcome {
    double ms = 0;
    double peakMb = 0;
    QString summary;
};

Outcome runOnce(const QString& program, const QStringList& args) {
    QProcess p;
    p.setProgram(program);
    p.setArguments(args);
    p.setStandardOutputFile(QProcess::nullDevice());
    QElapsedTimer timer;
    timer.start();
    p.start();
    p.waitForFinished(-1);
    Outcome o;
    o.ms = double(timer.nsecsElapsed()) / 1e6;
    for (const QString& line :
         QString::fromUtf8(p.readAllStandardError()).split(QLatin1Char('\n'))) {
        if (line.startsWith(QLatin1String("VmHWM")))
            o.peakMb = line.section(QLatin1Char(':'), 1)
                           .trimmed()
                           .section(QLatin1Char(' '), 0, 0)
                           .toDouble() /
                       1024;
        else if (line.contains(QLatin1String("Texte beurteilt")) ||
                 line.startsWith(QLatin1String("pigmora-schemes:")))
            o.summary = line;
    }
    return o;
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments();
    if (args.size() > 1 && args[1] == QLatin1String("--inside"))
        return inside(args.mid(2));
    if (args.size() < 3) {
        std::fprintf(stderr, "usage: %s <pigmora-schemes> <results dir> [runs]\n", argv[0]);
        return 2;
    }
    const QString tool = args[1];
    const QString results = args[2];
    const int runs = args.size() > 3 ? args[3].toInt() : 3;

    QTemporaryDir dir;
    const struct {
        int paragraphs;
        double limitMs;
    } sizes[] = {{1000, 3000}, {30000, 20000}};
    QString table;
    QTextStream t(&table);
    t << "`pigmora-schemes audit PAGE --format json` (Release, Debian's chromium headless), "
      << runs << " runs each\n\n"
      << "| page | median ms | min ms | max ms | peak memory of our process, MB |\n"
      << "|---|---:|---:|---:|---:|\n";
    QStringList targets, summaries;
    for (const auto& [paragraphs, limitMs] : sizes) {
        const QString file = dir.filePath(QStringLiteral("absaetze-%1.html").arg(paragraphs));
        QFile f(file);
        f.open(QIODevice::WriteOnly);
        f.write(page(paragraphs).toUtf8());
        f.close();
        const QStringList auditArgs{QStringLiteral("audit"),     file,
                                    QStringLiteral("--format"),  QStringLiteral("json"),
                                    QStringLiteral("--timeout"), QStringLiteral("300")};
        bench::Stats stats;
        for (int run = 0; run < runs; ++run) {
            const Outcome o = runOnce(tool, auditArgs);
            stats.add(o.ms);
            summaries << o.summary;
        }
        const Outcome inside = runOnce(QCoreApplication::applicationFilePath(),
                                       QStringList{QStringLiteral("--inside")} + auditArgs.mid(0));
        t << "| " << paragraphs << " paragraphs | " << stats.row() << " | "
          << QString::number(inside.peakMb, 'f', 1) << " |\n";
        targets << QStringLiteral("- %1 paragraphs under %2 s, browser start included: %3 (%4 s)")
                       .arg(paragraphs)
                       .arg(limitMs / 1000)
                       .arg(stats.median() < limitMs ? QStringLiteral("met")
                                                     : QStringLiteral("MISSED"))
                       .arg(stats.median() / 1000, 0, 'f', 2);
        if (paragraphs == 30000)
            targets << QStringLiteral("- peak memory of our process under 300 MB: %1 (%2 MB)")
                           .arg(inside.peakMb < 300 ? QStringLiteral("met")
                                                    : QStringLiteral("MISSED"))
                           .arg(inside.peakMb, 0, 'f', 1);
    }
    summaries.removeDuplicates();
    t << "\nWhat the command said: " << summaries.join(QStringLiteral(" / "))
      << "\n\nTargets (medians):\n"
      << targets.join(QLatin1Char('\n')) << "\n\n"
      << bench::machine() << "; load average before: " <<
        [] {
            QFile l(QStringLiteral("/proc/loadavg"));
            l.open(QIODevice::ReadOnly);
            return QString::fromLatin1(l.readAll()).section(QLatin1Char(' '), 0, 2);
        }()
      << "\n";
    std::fputs(table.toUtf8().constData(), stdout);
    QFile out(QDir(results).filePath(QStringLiteral("page-audit-offscreen.md")));
    if (out.open(QIODevice::WriteOnly))
        out.write(table.toUtf8());
    return 0;
}
