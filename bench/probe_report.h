#pragma once

#include <QCoreApplication>
#include <QEvent>
#include <QFile>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <ctime>

namespace pigmora::bench {

inline long long monotonicNs() {
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec * 1000000000LL + t.tv_nsec;
}

// Peak resident set size of this process (VmHWM), in kB.
inline long long peakResidentKb() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong();
    return -1;
}

// Prints the time of the window's first paint and the peak memory once everything queued with
// it has run (the window is idle), then quits.
class FirstPaintReporter : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && !painted_) {
            painted_ = true;
            const long long shown = monotonicNs();
            QTimer::singleShot(0, [shown] {
                std::printf("shown_ns=%lld vmhwm_kb=%lld\n", shown, peakResidentKb());
                std::fflush(stdout);
                QCoreApplication::quit();
            });
        }
        return QObject::eventFilter(watched, event);
    }

private:
    bool painted_ = false;
};

inline void reportFirstPaint(QWidget* window) {
    window->installEventFilter(new FirstPaintReporter(window));
}

} // namespace pigmora::bench
