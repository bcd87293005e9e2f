#include "base/german_locale.h"
#include "file_reasons.h"
#include "scheme_export.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QLocale>
#include <QSaveFile>
#include <algorithm>
#include <cerrno>

#ifdef Q_OS_UNIX
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <pthread.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace pigmora {

namespace {

QString failure(const QString& path, const QString& reason) {
    return QStringLiteral("Die Datei %1 konnte nicht geschrieben werden:\n%2")
        .arg(QDir::toNativeSeparators(path), reason);
}

#ifdef Q_OS_UNIX

// While it lives, a SIGPIPE raised by this thread waits instead of ending the program; one that
// came is taken away before the mask is restored, so a reader that goes away is a failed write.
class HeldBrokenPipe {
public:
    HeldBrokenPipe() {
        sigset_t pipe;
        sigemptyset(&pipe);
        sigaddset(&pipe, SIGPIPE);
        pthread_sigmask(SIG_BLOCK, &pipe, &old_);
    }
    ~HeldBrokenPipe() {
        sigset_t pending;
        sigpending(&pending);
        if (sigismember(&pending, SIGPIPE) && !sigismember(&old_, SIGPIPE)) {
            sigset_t pipe;
            sigemptyset(&pipe);
            sigaddset(&pipe, SIGPIPE);
            const timespec now{0, 0};
            sigtimedwait(&pipe, nullptr, &now);
        }
        pthread_sigmask(SIG_SETMASK, &old_, nullptr);
    }
    HeldBrokenPipe(const HeldBrokenPipe&) = delete;
    HeldBrokenPipe& operator=(const HeldBrokenPipe&) = delete;

private:
    sigset_t old_;
};

enum class Direct { Written, Failed, Stalled, IsRegular };

// Writes into a file that is no regular file (a named pipe, a device) as it is: such a file has
// no contents to keep whole, and a rename would put a regular file in its place. A named pipe
// nobody reads from is refused at once instead of waiting for a reader forever, and a reader
// that takes nothing more for `stallLimit` ends the write (without a limit it is waited for).
Direct writeDirectly(const QString& path, const QByteArray& contents,
                     std::optional<std::chrono::milliseconds> stallLimit, int& error) {
    const int fd =
        ::open(QFile::encodeName(path).constData(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        error = errno;
        return Direct::Failed;
    }
    struct stat info {};
    if (fstat(fd, &info) != 0 || S_ISREG(info.st_mode)) { // replaced since it was looked at
        ::close(fd);
        return Direct::IsRegular;
    }
    if (!stallLimit) // a reader is there: wait for it
        fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    HeldBrokenPipe held;
    error = 0;
    bool stalled = false;
    const char* data = contents.constData();
    qsizetype left = contents.size();
    const auto sinceProgress = [&stallLimit] {
        return stallLimit ? QDeadlineTimer(*stallLimit) : QDeadlineTimer(QDeadlineTimer::Forever);
    };
    QDeadlineTimer progress = sinceProgress();
    while (left > 0) {
        const ssize_t written = ::write(fd, data, size_t(left));
        if (written < 0 && errno == EINTR)
            continue;
        if (written < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            // A device that cannot be polled says it is ready at once: the time limit still
            // ends the wait.
            if (progress.hasExpired()) {
                stalled = true;
                break;
            }
            pollfd ready{fd, POLLOUT, 0};
            if (::poll(&ready, 1, int(std::max<qint64>(progress.remainingTime(), 1))) < 0 &&
                errno != EINTR) {
                error = errno;
                break;
            }
            continue;
        }
        if (written <= 0) {
            error = written < 0 ? errno : EIO;
            break;
        }
        data += written;
        left -= written;
        progress = sinceProgress();
    }
    if (::close(fd) != 0 && error == 0 && !stalled && errno != EINTR)
        error = errno;
    if (stalled)
        return Direct::Stalled;
    return error == 0 ? Direct::Written : Direct::Failed;
}

QString stalledReason(std::chrono::milliseconds limit) {
    return QStringLiteral("Am anderen Ende wurde %1 Sekunden lang nichts mehr gelesen; das "
                          "Schreiben wurde abgebrochen.")
        .arg(germanLocale().toString(double(limit.count()) / 1000, 'g', 3));
}

#endif

} // namespace

std::optional<QString>
writeExportFile(const QString& path, const QByteArray& contents,
                [[maybe_unused]] std::optional<std::chrono::milliseconds> stallLimit) {
#ifdef Q_OS_UNIX
    struct stat info {};
    if (::stat(QFile::encodeName(path).constData(), &info) == 0) {
        if (S_ISDIR(info.st_mode))
            return failure(path, fileErrorReason(EISDIR));
        if (!S_ISREG(info.st_mode)) {
            int error = 0;
            switch (writeDirectly(path, contents, stallLimit, error)) {
            case Direct::Written:
                return std::nullopt;
            case Direct::Failed:
                return failure(path, fileErrorReason(error, QFileDevice::WriteError));
            case Direct::Stalled:
                return failure(path, stalledReason(*stallLimit));
            case Direct::IsRegular:
                break;
            }
        }
    }
#endif
    // QSaveFile writes a temporary file in the same folder and renames it over the target only
    // once everything is written and flushed. The error number is taken right after the call
    // that failed, before anything else can change it.
    QSaveFile file(path);
    errno = 0;
    if (!file.open(QIODevice::WriteOnly))
        return failure(path, fileErrorReason(errno, file.error()));
    // QSaveFile's commit flushes its buffer without looking at the result: a write that fails
    // there (a full disk, a size limit) would still rename the cut file into place. Flushed here,
    // such a failure is seen before anything is replaced.
    errno = 0;
    if (file.write(contents) != contents.size() || !file.flush()) {
        const QString message = failure(path, fileErrorReason(errno, QFileDevice::WriteError));
        file.cancelWriting();
        return message;
    }
    errno = 0;
    if (!file.commit())
        return failure(path, fileErrorReason(errno, file.error()));
    return std::nullopt;
}

} // namespace pigmora
