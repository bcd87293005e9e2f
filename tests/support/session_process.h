#pragma once

// Runs pigmora_session (tests/support/pigmora_session.cpp) as a child process. A test that uses
// it defines PIGMORA_SESSION as the path of that executable (see tests/reliability).

#include <QProcess>
#include <QString>
#include <QStringList>

namespace pigmora::test {

struct SessionResult {
    bool finished = false; // ended on its own within the time allowed
    bool crashed = false;  // ended by a signal
    int exitCode = -1;
    QString out;
    QString err;

    // Ended normally with this exit code.
    bool endedWith(int code) const { return finished && !crashed && exitCode == code; }
    QStringList outLines() const {
        QStringList lines = out.split(QLatin1Char('\n'));
        if (!lines.isEmpty() && lines.last().isEmpty())
            lines.removeLast();
        return lines;
    }
};

inline QString sessionProgram() {
    return QStringLiteral(PIGMORA_SESSION);
}

// Runs a whole session; one that has not ended after `timeoutMs` is killed and reported as not
// finished.
inline SessionResult runSession(const QStringList& args, int timeoutMs = 60000) {
    QProcess p;
    p.start(sessionProgram(), args);
    SessionResult r;
    if (!p.waitForStarted(timeoutMs))
        return r;
    r.finished = p.waitForFinished(timeoutMs);
    if (!r.finished) {
        p.kill();
        p.waitForFinished(-1);
    }
    r.crashed = p.exitStatus() == QProcess::CrashExit;
    r.exitCode = p.exitCode();
    r.out = QString::fromUtf8(p.readAllStandardOutput());
    r.err = QString::fromUtf8(p.readAllStandardError());
    return r;
}

} // namespace pigmora::test
