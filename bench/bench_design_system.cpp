// Benchmark of a design system imported by pigmora-schemes, the real process from start to exit:
// its files read as one document through a resolver, aliases resolved, the palette paired by
// role, the pairs listed (a dry run). Wall time and the process's peak memory (wait4), median of
// the runs. The design system is made here in the shape real ones have:
//   primitives.tokens.json  3,000 colours (30 hues x 100 steps), the only literal values
//   light.tokens.json,      1,000 theme tokens each, aliases to primitives (each theme its own)
//   dark.tokens.json
//   fg.tokens.json          1,000 text roles (fgColor.*) -> theme, 18,000 controls -> fgColor
//   bg.tokens.json          2,000 backgrounds (bgColor.*; 1,000 share a text role's key)
//                           -> theme, 18,000 surfaces -> bgColor
//   ds.resolver.json        the base set, and the modifier theme: light | dark
// 40,000 aliases a context, chains of up to three across files; 1,000 texts x 2,000 backgrounds.
// Prints a table and writes it to <results dir>/design-system.md.
//
//   pigmora_bench_design_system <pigmora-schemes> <results dir> [runs]

#include "bench_support.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QTemporaryDir>
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

extern char** environ;

namespace {

constexpr int hues = 30, steps = 100; // 3,000 primitives
constexpr int themeTokens = 1000;
constexpr int texts = 1000, backgrounds = 2000;
constexpr int controls = 18000, surfaces = 18000;

// The key of the i-th text role, shared by the first `texts` backgrounds: "area3.item17".
QString roleKey(int i) {
    return QStringLiteral("area%1.item%2").arg(i / 20).arg(i % 20);
}

QString primitive(int i) {
    return QStringLiteral("{base.color.hue%1.step%2}").arg(i / steps % hues).arg(i % steps);
}

QByteArray token(const QString& value) {
    return "{\"$value\": \"" + value.toUtf8() + "\"}";
}

// "<top>": {"$type": "color", ...} with the tokens, each named by its path below top ("a.b")
// and given in the order of their groups.
QByteArray group(const QString& top, const std::vector<std::pair<QString, QString>>& tokens) {
    QByteArray out = "\"" + top.toUtf8() + "\": {\"$type\": \"color\"";
    QStringList open; // the groups open around the last token
    for (const auto& [name, value] : tokens) {
        const QStringList names = name.split(QLatin1Char('.'));
        qsizetype same = 0;
        while (same < open.size() && same < names.size() - 1 && open[same] == names[same])
            ++same;
        for (qsizetype i = open.size(); i > same; --i)
            out += '}';
        open = open.mid(0, same);
        out += ",\n";
        for (qsizetype i = same; i < names.size() - 1; ++i) {
            out += '"' + names[i].toUtf8() + "\": {";
            open << names[i];
        }
        out += '"' + names.last().toUtf8() + "\": " + token(value);
    }
    for (qsizetype i = 0; i < open.size(); ++i)
        out += '}';
    return out + '}';
}

void writeFile(const QString& path, const QByteArrayList& groups) {
    const QByteArray out = "{" + groups.join(",\n") + "}\n";
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(out) != out.size())
        qFatal("cannot write %s", qPrintable(path));
}

struct DesignSystem {
    QStringList files; // as given on the command line, the resolver first
    qint64 bytes = 0;
};

// The key of the i-th role of a file: the texts' keys, then backgrounds of their own.
QString roleKeyOf(int i) {
    return i < texts ? roleKey(i)
                     : QStringLiteral("extra%1.item%2").arg((i - texts) / 20).arg((i - texts) % 20);
}

DesignSystem makeDesignSystem(const QDir& dir) {
    std::vector<std::pair<QString, QString>> primitives;
    for (int h = 0; h < hues; ++h)
        for (int s = 0; s < steps; ++s)
            primitives.emplace_back(QStringLiteral("color.hue%1.step%2").arg(h).arg(s),
                                    QStringLiteral("#%1%2%3")
                                        .arg((h * 8) % 256, 2, 16, QLatin1Char('0'))
                                        .arg((s * 255) / (steps - 1), 2, 16, QLatin1Char('0'))
                                        .arg((h * s * 7) % 256, 2, 16, QLatin1Char('0')));
    writeFile(dir.filePath(QStringLiteral("primitives.tokens.json")),
              {group(QStringLiteral("base"), primitives)});
    for (const bool dark : {false, true}) {
        std::vector<std::pair<QString, QString>> theme;
        for (int t = 0; t < themeTokens; ++t)
            theme.emplace_back(QStringLiteral("t%1").arg(t),
                               primitive(dark ? hues * steps - 1 - t * 3 : t * 3));
        writeFile(dir.filePath(dark ? QStringLiteral("dark.tokens.json")
                                    : QStringLiteral("light.tokens.json")),
                  {group(QStringLiteral("theme"), theme)});
    }
    // The role files: roles pointing at the theme, components pointing at the roles.
    const auto roleFile = [&](const QString& file, const QString& role, int count, int shift,
                              const QString& component, int components) {
        std::vector<std::pair<QString, QString>> roles, parts;
        for (int i = 0; i < count; ++i)
            roles.emplace_back(roleKeyOf(i),
                               QStringLiteral("{theme.t%1}").arg((i * 7 + shift) % themeTokens));
        for (int c = 0; c < components; ++c)
            parts.emplace_back(QStringLiteral("c%1.part%2").arg(c / 12).arg(c % 12),
                               QStringLiteral("{%1.%2}").arg(role, roleKeyOf((c * 13) % count)));
        writeFile(dir.filePath(file), {group(role, roles), group(component, parts)});
    };
    roleFile(QStringLiteral("fg.tokens.json"), QStringLiteral("fgColor"), texts, 0,
             QStringLiteral("control"), controls);
    roleFile(QStringLiteral("bg.tokens.json"), QStringLiteral("bgColor"), backgrounds, 500,
             QStringLiteral("surface"), surfaces);
    const QByteArray resolver = R"({"version": "2025.10",
  "sets": {"base": {"sources": [{"$ref": "primitives.tokens.json"}, {"$ref": "fg.tokens.json"},
                                {"$ref": "bg.tokens.json"}]}},
  "modifiers": {"theme": {"contexts": {"light": [{"$ref": "light.tokens.json"}],
                                       "dark": [{"$ref": "dark.tokens.json"}]},
                          "default": "light"}},
  "resolutionOrder": [{"$ref": "#/sets/base"}, {"$ref": "#/modifiers/theme"}]}
)";
    QFile r(dir.filePath(QStringLiteral("ds.resolver.json")));
    if (!r.open(QIODevice::WriteOnly) || r.write(resolver) != resolver.size())
        qFatal("cannot write the resolver");
    r.close();
    DesignSystem system;
    for (const char* name : {"ds.resolver.json", "primitives.tokens.json", "fg.tokens.json",
                             "bg.tokens.json", "light.tokens.json", "dark.tokens.json"}) {
        system.files << dir.filePath(QString::fromLatin1(name));
        system.bytes += QFileInfo(system.files.last()).size();
    }
    return system;
}

struct Run {
    double ms;
    double peakMiB;
    int exitCode;
    QByteArray out, err;
};

// The process from spawn to exit, its output in files; wait4 gives its own peak memory.
Run runProcess(const QString& tool, const QStringList& args, const QDir& dir) {
    const QByteArray outPath = dir.filePath(QStringLiteral("out.txt")).toLocal8Bit();
    const QByteArray errPath = dir.filePath(QStringLiteral("err.txt")).toLocal8Bit();
    std::vector<QByteArray> argBytes{tool.toLocal8Bit()};
    for (const QString& a : args)
        argBytes.push_back(a.toLocal8Bit());
    std::vector<char*> argv;
    for (QByteArray& a : argBytes)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, outPath.constData(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0600);
    posix_spawn_file_actions_addopen(&actions, 2, errPath.constData(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0600);
    Run run{};
    int status = 0;
    rusage usage{};
    run.ms = pigmora::bench::timeMs([&] {
        pid_t pid = 0;
        if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) != 0)
            qFatal("cannot start %s", argv[0]);
        if (wait4(pid, &status, 0, &usage) != pid)
            qFatal("wait4 failed");
    });
    posix_spawn_file_actions_destroy(&actions);
    if (!WIFEXITED(status))
        qFatal("%s did not exit normally", argv[0]);
    run.exitCode = WEXITSTATUS(status);
    run.peakMiB = double(usage.ru_maxrss) / 1024.0; // KiB on Linux
    QFile out(QString::fromLocal8Bit(outPath)), err(QString::fromLocal8Bit(errPath));
    out.open(QIODevice::ReadOnly);
    err.open(QIODevice::ReadOnly);
    run.out = out.readAll();
    run.err = err.readAll();
    return run;
}

struct Case {
    QString what;
    QStringList options;
    int exitCode;
    int pairs;       // lines on standard output
    QByteArray said; // on standard error
};

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 3) {
        std::fprintf(stderr, "usage: %s <pigmora-schemes> <results dir> [runs]\n", argv[0]);
        return 2;
    }
    const QString tool = args[1];
    const int runs = args.size() > 3 ? args[3].toInt() : 9;

    QTemporaryDir tmp;
    const QDir dir(tmp.path());
    const DesignSystem system = makeDesignSystem(dir);
    const QString schemeFile = dir.filePath(QStringLiteral("x.mdb")); // missing: a dry run
    const QStringList rules{QStringLiteral("--text"), QStringLiteral("fgColor.**"),
                            QStringLiteral("--background"), QStringLiteral("bgColor.**")};
    const QStringList sameRole = rules + QStringList{QStringLiteral("--same-role")};
    const QList<Case> cases{
        {QStringLiteral("rules, same role, default context (light)"), sameRole, 0, texts,
         "1.000 Farbschemata"},
        {QStringLiteral("rules, same role, `--context theme=dark`"),
         sameRole + QStringList{QStringLiteral("--context"), QStringLiteral("theme=dark")}, 0,
         texts, "1.000 Farbschemata"},
        {QStringLiteral("rules, same role, `--context all` (two palettes)"),
         sameRole + QStringList{QStringLiteral("--context"), QStringLiteral("all")}, 0, 2 * texts,
         "2.000 Farbschemata"},
        {QStringLiteral("conventions (fgColor.X with bgColor.X), no rules"),
         {},
         0,
         texts,
         "1.000 Farbschemata"},
        {QStringLiteral("rules, every text with every background: 2,000,000 pairs, refused"), rules,
         2, 0, "2.000.000 Farbschemata"},
    };

    QString table;
    QTextStream t(&table);
    t << "Design system imported by `pigmora-schemes import --dry-run` as a process (Release), "
      << runs << " runs each: 6 files (" << QString::number(system.bytes / 1e6, 'f', 1)
      << " MB; a resolver with theme light | dark), " << hues * steps << " primitive colours, "
      << themeTokens + texts + backgrounds + controls + surfaces << " aliases a context, " << texts
      << " texts x " << backgrounds << " backgrounds\n\n"
      << "| command | median ms | min ms | max ms | peak memory MiB (median) | pairs |\n"
      << "|---|---:|---:|---:|---:|---:|\n";
    QStringList targets;
    for (const Case& c : cases) {
        pigmora::bench::Stats ms, mib;
        for (int i = 0; i < runs; ++i) {
            const Run run =
                runProcess(tool,
                           QStringList{QStringLiteral("--file"), schemeFile,
                                       QStringLiteral("import"), QStringLiteral("--dry-run")} +
                               system.files + c.options,
                           dir);
            const int lines = int(run.out.count('\n'));
            if (run.exitCode != c.exitCode || lines != c.pairs || !run.err.contains(c.said))
                qFatal("%s: exit %d, %d pairs (expected exit %d, %d pairs, \"%s\"):\n%s",
                       qPrintable(c.what), run.exitCode, lines, c.exitCode, c.pairs,
                       c.said.constData(), run.err.left(2000).constData());
            ms.add(run.ms);
            mib.add(run.peakMiB);
        }
        t << "| " << c.what << " | " << ms.row() << " | " << QString::number(mib.median(), 'f', 1)
          << " | " << c.pairs << " |\n";
        const bool met = ms.median() < 300 && mib.median() < 100;
        targets << QStringLiteral("- %1: %2 (%3 ms, %4 MiB)")
                       .arg(c.what, met ? QStringLiteral("met") : QStringLiteral("MISSED"))
                       .arg(ms.median(), 0, 'f', 1)
                       .arg(mib.median(), 0, 'f', 1);
    }
    t << "\nTargets (medians; under 300 ms as a process, peak memory under 100 MB):\n"
      << targets.join('\n') << "\n\n"
      << pigmora::bench::machine() << "\n";
    t.flush();
    std::printf("%s", qPrintable(table));
    pigmora::bench::writeResult(args[2], QStringLiteral("design-system.md"), table);
    return 0;
}
