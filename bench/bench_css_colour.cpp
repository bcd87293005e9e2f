// Benchmarks of the CSS colour reader:
//   - reading 100,000 hex colours, 100,000 rgb() and 100,000 oklch() outside sRGB (gamut-mapped):
//     microseconds per colour
//   - `pigmora-schemes convert --stdin` on 1,000,000 mixed colours: the real process
//   - import of 100,000 schemes whose colours are oklch() texts: read, parse, add
//   - beside them, where node and colorjs.io are at hand (npm ci in bench/colorjs), the same
//     texts read by color.js: parse, CSS gamut mapping, #rrggbb (the million lines once: they
//     take it half a minute)
// Prints a table and writes it to <results dir>/css-colour-offscreen.md.
//
//   pigmora_bench_css_colour <pigmora-schemes> <colorjs dir> <results dir> [runs]

#include "bench_support.h"
#include "css_colour/css_colour.h"
#include "exchange/scheme_import.h"
#include "schemes/scheme_file.h"
#include "schemes/scheme_transfer.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <cstdint>
#include <functional>

using namespace pigmora;

namespace {

constexpr int perForm = 100000;
constexpr int mixedLines = 1000000;
constexpr int importSchemes = 100000;

// The same pseudo-random colours in every run, and for color.js.
class Random {
public:
    std::uint32_t next() {
        state_ = state_ * 6364136223846793005ULL + 1442695040888963407ULL;
        return std::uint32_t(state_ >> 33);
    }
    double uniform(double low, double high) { return low + (high - low) * (next() / 4294967296.0); }
    Rgb colour() {
        const std::uint32_t v = next();
        return {ChannelValue(v), ChannelValue(v >> 8), ChannelValue(v >> 16)};
    }

private:
    std::uint64_t state_ = 20261208;
};

QString outsideSrgb(Random& r) {
    return QStringLiteral("oklch(%1% %2 %3)")
        .arg(r.uniform(30, 90), 0, 'f', 2)
        .arg(r.uniform(0.25, 0.4), 0, 'f', 4)
        .arg(r.uniform(0, 360), 0, 'f', 1);
}

QStringList texts(const std::function<QString(Random&)>& make, int count) {
    Random r;
    QStringList list;
    list.reserve(count);
    for (int i = 0; i < count; ++i)
        list << make(r);
    return list;
}

// Hex, rgb(), hsl(), oklch() inside and outside sRGB, names, display-p3, in turn.
QString mixed(Random& r) {
    static int turn = 0;
    static const char* const names[] = {"red", "rebeccapurple", "DarkSlateGrey", "white"};
    const Rgb c = r.colour();
    switch (turn++ % 7) {
    case 0:
        return hashHexText(c);
    case 1:
        return cssRgbText(c);
    case 2:
        return cssHslText(c);
    case 3:
        return cssOklchText(c);
    case 4:
        return outsideSrgb(r);
    case 5:
        return QString::fromLatin1(names[r.next() % 4]);
    default:
        return QStringLiteral("color(display-p3 %1 %2 %3)")
            .arg(r.uniform(0, 1), 0, 'f', 3)
            .arg(r.uniform(0, 1), 0, 'f', 3)
            .arg(r.uniform(0, 1), 0, 'f', 3);
    }
}

bool writeLines(const QString& path, const QStringList& lines) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write((lines.join('\n') + '\n').toUtf8()) > 0;
}

// Microseconds per colour of reading every text once and writing it as #rrggbb.
double readOnce(const QStringList& list, int& mapped) {
    mapped = 0;
    qsizetype written = 0;
    const double ms = bench::timeMs([&] {
        for (const QString& t : list) {
            const CssColourReading r = readCssColour(t);
            if (!r.colour)
                qFatal("%s is no colour", qPrintable(t));
            written += hashHexText(*r.colour).size();
            mapped += r.mapped ? 1 : 0;
        }
    });
    if (written != 7 * list.size())
        qFatal("not every colour was written");
    return ms * 1000 / list.size();
}

double processMs(const QString& program, const QStringList& args, const QString& input,
                 qint64& outputLines) {
    QProcess process;
    process.setStandardInputFile(input);
    const double ms = bench::timeMs([&] {
        process.start(program, args);
        if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit)
            qFatal("%s did not finish", qPrintable(program));
    });
    outputLines = process.readAllStandardOutput().count('\n');
    return ms;
}

QByteArray oklchSchemes(int count) {
    Random r;
    QByteArray json = "[";
    for (int i = 0; i < count; ++i)
        json += (i ? ",\n" : "\n") + QByteArray("{\"name\":\"S") + QByteArray::number(i) +
                "\",\"text\":\"" + cssOklchText(r.colour()).toLatin1() + "\",\"background\":\"" +
                cssOklchText(r.colour()).toLatin1() + "\"}";
    return json + "\n]\n";
}

double importOnce(const QString& source, const QString& emptyFile, const QString& schemeFile) {
    QFile::remove(schemeFile);
    if (!QFile::copy(emptyFile, schemeFile))
        qFatal("cannot copy the empty scheme file");
    return bench::timeMs([&] {
        const ImportReading reading = readSchemeImportFile(source);
        if (!reading.error.isEmpty() || !reading.refused.empty() ||
            reading.schemes.size() != size_t(importSchemes))
            qFatal("reading %s failed: %s", qPrintable(source), qPrintable(reading.error));
        const auto file = SchemeFile::openExisting(schemeFile, SchemeFile::Access::ReadWrite);
        if (const auto error = addSchemes(*file, reading.schemes))
            qFatal("adding failed: %s", qPrintable(*error));
    });
}

// color.js on the same file: {"median", "min", "max"} in µs per colour, or nothing.
std::optional<QJsonObject> colorjsTimes(const QString& script, const QString& file, int runs) {
    QProcess node;
    node.start(QStringLiteral("node"),
               {script, QStringLiteral("times"), file, QString::number(runs)});
    if (!node.waitForFinished(600000) || node.exitCode() != 0)
        return std::nullopt;
    return QJsonDocument::fromJson(node.readAllStandardOutput()).object();
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 4) {
        std::fprintf(stderr, "usage: %s <pigmora-schemes> <colorjs dir> <results dir> [runs]\n",
                     argv[0]);
        return 2;
    }
    const QString tool = args[1];
    const QString colorjsScript = QDir(args[2]).filePath(QStringLiteral("read_colours.mjs"));
    const bool colorjs = QFileInfo::exists(QDir(args[2]).filePath("node_modules/colorjs.io"));
    const QString results = args[3];
    const int runs = args.size() > 4 ? args[4].toInt() : 9;

    QTemporaryDir dir;
    const auto path = [&dir](const char* name) { return dir.filePath(QString::fromLatin1(name)); };
    const struct {
        const char* name;
        const char* file;
        QStringList list;
        double limit; // µs per colour
    } forms[] = {
        {"hex", "hex.txt", texts([](Random& r) { return hashHexText(r.colour()); }, perForm), 1},
        {"rgb()", "rgb.txt", texts([](Random& r) { return cssRgbText(r.colour()); }, perForm), 1},
        {"oklch() outside sRGB, gamut-mapped", "oklch.txt", texts(outsideSrgb, perForm), 5},
    };

    QString table;
    QTextStream t(&table);
    t << "CSS colours (Release), " << runs << " runs each\n\n"
      << "| what | median | min | max |\n|---|---:|---:|---:|\n";
    QStringList targets, notes;
    const auto target = [&targets](const QString& what, double median, double limit,
                                   const char* unit) {
        targets << QStringLiteral("- %1 under %2 %3: %4 (%5 %3)")
                       .arg(what, QString::number(limit), QString::fromUtf8(unit),
                            median < limit ? QStringLiteral("met") : QStringLiteral("MISSED"),
                            QString::number(median, 'f', 3));
    };

    QStringList colorjsRows;
    for (const auto& [name, fileName, list, limit] : forms) {
        bench::Stats stats;
        int mapped = 0;
        for (int run = 0; run < runs; ++run)
            stats.add(readOnce(list, mapped));
        const QString what = QStringLiteral("read %1").arg(QString::fromLatin1(name));
        t << "| " << what << ", µs per colour | " << stats.row(3) << " |\n";
        target(what, stats.median(), limit, "µs");
        if (mapped > 0)
            notes << QStringLiteral("%1 of the %2 oklch() texts lie outside sRGB.")
                         .arg(mapped)
                         .arg(perForm);
        const QString file = path(fileName);
        writeLines(file, list);
        if (colorjs)
            if (const auto times = colorjsTimes(colorjsScript, file, std::min(runs, 3)))
                colorjsRows << QStringLiteral("| %1, µs per colour | %2 | %3 | %4 |")
                                   .arg(what)
                                   .arg((*times)["median"].toDouble(), 0, 'f', 3)
                                   .arg((*times)["min"].toDouble(), 0, 'f', 3)
                                   .arg((*times)["max"].toDouble(), 0, 'f', 3);
    }

    const QString mixedFile = path("mixed.txt");
    writeLines(mixedFile, texts(mixed, mixedLines));
    {
        bench::Stats stats, colorjsStats;
        qint64 lines = 0;
        for (int run = 0; run < runs; ++run) {
            stats.add(processMs(tool, {QStringLiteral("convert"), QStringLiteral("--stdin")},
                                mixedFile, lines));
            if (lines != mixedLines)
                qFatal("convert --stdin wrote %lld lines", static_cast<long long>(lines));
            if (colorjs && run == 0)
                colorjsStats.add(processMs(QStringLiteral("node"),
                                           {colorjsScript, QStringLiteral("lines")}, mixedFile,
                                           lines));
        }
        const QString what = QStringLiteral("`pigmora-schemes convert --stdin`, 1,000,000 mixed "
                                            "colours, the process from start to exit");
        t << "| " << what << ", ms | " << stats.row() << " |\n";
        target(QStringLiteral("convert --stdin of 1,000,000 colours"), stats.median(), 3000, "ms");
        if (colorjs)
            colorjsRows << QStringLiteral("| the same 1,000,000 colours as a node process, one "
                                          "run, ms | %1 |")
                               .arg(colorjsStats.row());
    }

    {
        const QString source = path("oklch-schemes.json");
        QFile f(source);
        if (!f.open(QIODevice::WriteOnly) || f.write(oklchSchemes(importSchemes)) <= 0)
            qFatal("cannot write the import file");
        f.close();
        const QString emptyFile = path("leer.mdb");
        SchemeFile::openOrCreate(emptyFile)->close();
        bench::Stats stats;
        for (int run = 0; run < runs; ++run)
            stats.add(importOnce(source, emptyFile, path("Farben.mdb")));
        t << "| import of 100,000 schemes as oklch() texts (read + parse + add), ms | "
          << stats.row() << " |\n";
        target(QStringLiteral("import of 100,000 oklch() schemes"), stats.median(), 1000, "ms");
        notes << QStringLiteral("The import file is %1 MB (the import takes up to 10 MiB).")
                     .arg(QFileInfo(source).size() / 1e6, 0, 'f', 1);
    }

    t << "\nMixed colours: hex, rgb(), hsl(), oklch() inside and outside sRGB, names and "
         "color(display-p3), in turn. "
      << notes.join(' ') << "\n\n";
    if (colorjs) {
        t << "colorjs.io 0.7.1 (node), the same texts: parse, CSS gamut mapping, #rrggbb; "
             "at most 3 runs\n\n"
          << "| what | median | min | max |\n|---|---:|---:|---:|\n"
          << colorjsRows.join('\n') << "\n\n";
    } else {
        t << "colorjs.io not measured: node or bench/colorjs/node_modules missing (npm ci in "
             "bench/colorjs).\n\n";
    }
    t << "Targets (medians):\n" << targets.join('\n') << "\n\n" << bench::machine() << '\n';
    t.flush();
    std::fputs(qPrintable(table), stdout);
    bench::writeResult(results, QStringLiteral("css-colour-offscreen.md"), table);
    return 0;
}
