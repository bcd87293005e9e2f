#pragma once

// Runs the real pigmora-schemes as a child process. A test that uses it defines
// PIGMORA_SCHEMES_TOOL as the path of the executable (see tests/schemes_tool/CMakeLists.txt).

#include <QProcess>
#include <QString>
#include <QStringList>

namespace pigmora::test {

struct ToolRun {
    bool finished = false; // ended on its own, not by a signal, within the time allowed
    int exitCode = -1;
    QString out;
    QString err;

    QStringList outLines() const {
        QStringList lines = out.split(QLatin1Char('\n'));
        if (!lines.isEmpty() && lines.last().isEmpty())
            lines.removeLast();
        return lines;
    }
};

inline QString toolProgram() {
    return QStringLiteral(PIGMORA_SCHEMES_TOOL);
}

// Prepares `process` to run the tool with a home directory of the test's own, so the per-user
// scheme file is never the real one.
inline void prepareTool(QProcess& process, const QString& home,
                        const QString& program = toolProgram()) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("HOME"), home);
    env.remove(QStringLiteral("XDG_DATA_HOME"));
    process.setProcessEnvironment(env);
    process.setProgram(program);
}

inline ToolRun finishTool(QProcess& process, int timeoutMs = 60000) {
    ToolRun run;
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished(-1);
        return run;
    }
    run.finished = process.exitStatus() == QProcess::NormalExit;
    run.exitCode = process.exitCode();
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
}

inline ToolRun runTool(const QStringList& args, const QString& home,
                       const QString& program = toolProgram()) {
    QProcess process;
    prepareTool(process, home, program);
    process.setArguments(args);
    process.start();
    if (!process.waitForStarted())
        return {};
    return finishTool(process);
}

} // namespace pigmora::test
