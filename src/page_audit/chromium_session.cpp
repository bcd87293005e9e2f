#include "chromium_session.h"

#include "css_colour/css_colour.h"
#include "page_script.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QStandardPaths>
#include <QThread>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <pthread.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace pigmora {

namespace {

using Kind = AuditError::Kind;
constexpr int firstScreenHeight = 900; // the reader's window while the page loads
// The captures' viewport holds at most 1280 × 16384 pixels: every tile of it is drawn at once, and
// at four times that the browser's tile memory ran out and left parts of a long page undrawn.
constexpr int largestViewport = 1280 * 16384;
constexpr int swatchesPerCapture = 64 * 200;

// The browser's flags: headless, no GPU, nothing fetched by the browser itself, exact sRGB.
QStringList browserArguments(const QString& profile) {
    QStringList args{QStringLiteral("--headless"),
                     QStringLiteral("--disable-gpu"),
                     QStringLiteral("--no-first-run"),
                     QStringLiteral("--no-default-browser-check"),
                     QStringLiteral("--disable-background-networking"),
                     QStringLiteral("--disable-component-update"),
                     QStringLiteral("--disable-sync"),
                     QStringLiteral("--disable-extensions"),
                     QStringLiteral("--disable-default-apps"),
                     QStringLiteral("--mute-audio"),
                     QStringLiteral("--hide-scrollbars"),
                     QStringLiteral("--force-color-profile=srgb"),
                     QStringLiteral("--force-device-scale-factor=1"),
                     QStringLiteral("--remote-debugging-pipe"),
                     QStringLiteral("--user-data-dir=") + profile + QStringLiteral("/daten"),
                     QStringLiteral("--disk-cache-dir=") + profile + QStringLiteral("/cache")};
    if (geteuid() == 0)
        args << QStringLiteral("--no-sandbox"); // Chromium's sandbox refuses to run as root
    args << QStringLiteral("about:blank");
    return args;
}

// Every live process of the browser's: in its process group, or naming the profile folder on
// its command line (the crash handler leaves the group). Zombies are left out.
QList<pid_t> browserProcesses(pid_t group, const QString& profile) {
    QList<pid_t> found;
    const QByteArray needle = profile.toLocal8Bit();
    QDirIterator it(QStringLiteral("/proc"), QDir::Dirs | QDir::NoDotAndDotDot);
    while (it.hasNext()) {
        it.next();
        bool number = false;
        const pid_t pid = it.fileName().toInt(&number);
        if (!number || pid == getpid())
            continue;
        QFile stat(it.filePath() + QStringLiteral("/stat"));
        if (!stat.open(QIODevice::ReadOnly))
            continue;
        const QByteArray line = stat.readAll();
        // "pid (name) state ppid pgrp ...": the name may hold anything, so read after its end.
        const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
        if (fields.size() < 3 || fields[0] == "Z" || fields[0] == "X")
            continue;
        if (fields[2].toInt() == group) {
            found << pid;
            continue;
        }
        QFile cmdline(it.filePath() + QStringLiteral("/cmdline"));
        if (!needle.isEmpty() && cmdline.open(QIODevice::ReadOnly) &&
            cmdline.readAll().contains(needle))
            found << pid;
    }
    return found;
}

// While it lives, a SIGPIPE raised by this thread (a write to a browser that died) waits
// instead of ending the program, and one that came is taken away: the write fails instead.
class HeldBrokenPipe {
public:
    HeldBrokenPipe() {
        sigemptyset(&pipe_);
        sigaddset(&pipe_, SIGPIPE);
        pthread_sigmask(SIG_BLOCK, &pipe_, &old_);
    }
    ~HeldBrokenPipe() {
        sigset_t pending;
        sigpending(&pending);
        if (sigismember(&pending, SIGPIPE) && !sigismember(&old_, SIGPIPE)) {
            const timespec now{0, 0};
            sigtimedwait(&pipe_, nullptr, &now);
        }
        pthread_sigmask(SIG_SETMASK, &old_, nullptr);
    }
    HeldBrokenPipe(const HeldBrokenPipe&) = delete;
    HeldBrokenPipe& operator=(const HeldBrokenPipe&) = delete;

private:
    sigset_t pipe_;
    sigset_t old_;
};

QString visionType(const std::optional<VisionDeficiency>& vision) {
    if (!vision)
        return QStringLiteral("none");
    switch (*vision) {
    case VisionDeficiency::Protanopia:
        return QStringLiteral("protanopia");
    case VisionDeficiency::Deuteranopia:
        return QStringLiteral("deuteranopia");
    case VisionDeficiency::Tritanopia:
        return QStringLiteral("tritanopia");
    case VisionDeficiency::Achromatopsia:
        break;
    }
    return QStringLiteral("achromatopsia");
}

} // namespace

ChromiumSession::ChromiumSession(QString browser, std::function<bool()> stopRequested)
    : browser_(std::move(browser))
    , stopRequested_(std::move(stopRequested)) {}

ChromiumSession::~ChromiumSession() {
    end();
}

QString ChromiumSession::findBrowser(const QString& given) {
    if (!given.isEmpty()) {
        const QFileInfo info(given);
        if (info.isFile() && info.isExecutable())
            return info.absoluteFilePath();
        if (!given.contains(QLatin1Char('/')))
            return QStandardPaths::findExecutable(given);
        return {};
    }
    for (const char* name : {"chromium", "chromium-browser"}) {
        const QString found = QStandardPaths::findExecutable(QString::fromLatin1(name));
        if (!found.isEmpty())
            return found;
    }
    return {};
}

void ChromiumSession::fail(int kind, const QString& message) {
    end();
    throw AuditError(Kind(kind), message);
}

void ChromiumSession::start() {
    const QString program = findBrowser(browser_);
    if (program.isEmpty()) {
        if (!browser_.isEmpty())
            throw AuditError(Kind::NoBrowser,
                             QStringLiteral("Den Browser „%1“ gibt es nicht, oder er ist nicht "
                                            "ausführbar.")
                                 .arg(browser_));
        throw AuditError(Kind::NoBrowser,
                         QStringLiteral("Kein Browser gefunden: weder chromium noch "
                                        "chromium-browser liegt im Suchpfad. Das Debian-Paket "
                                        "„chromium“ bringt ihn mit (apt install chromium); "
                                        "ein anderer Ort ist mit --browser PFAD anzugeben."));
    }
    QByteArray pattern =
        QDir(QDir::tempPath()).filePath(QStringLiteral("pigmora-browser-XXXXXX")).toLocal8Bit();
    if (!mkdtemp(pattern.data()))
        throw AuditError(Kind::Browser,
                         QStringLiteral("Der Browser bekommt keinen Profilordner in %1: %2")
                             .arg(QDir::tempPath(), QString::fromLocal8Bit(std::strerror(errno))));
    profile_ = QString::fromLocal8Bit(pattern);

    // Everything the child needs, made before fork: after it only async-signal-safe calls.
    QList<QByteArray> argStore{QFile::encodeName(program)};
    for (const QString& a : browserArguments(profile_))
        argStore << a.toLocal8Bit();
    std::vector<char*> argv;
    for (QByteArray& a : argStore)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    QList<QByteArray> envStore;
    for (char** e = environ; *e; ++e)
        if (std::strncmp(*e, "XDG_CONFIG_HOME=", 16) != 0 && std::strncmp(*e, "TMPDIR=", 7) != 0)
            envStore << QByteArray(*e);
    // The crash handler keeps its reports under the configuration folder, and the browser its
    // temporary files in TMPDIR: both inside the profile, which goes afterwards.
    envStore << "XDG_CONFIG_HOME=" + pattern + "/config"
             << "TMPDIR=" + pattern + "/tmp";
    QDir(profile_).mkpath(QStringLiteral("tmp"));
    std::vector<char*> envp;
    for (QByteArray& e : envStore)
        envp.push_back(e.data());
    envp.push_back(nullptr);

    int commands[2], answers[2], status[2];
    if (pipe2(commands, O_CLOEXEC) != 0 || pipe2(answers, O_CLOEXEC) != 0 ||
        pipe2(status, O_CLOEXEC) != 0)
        throw AuditError(Kind::Browser, QStringLiteral("Keine Pipe zum Browser: %1")
                                            .arg(QString::fromLocal8Bit(std::strerror(errno))));
    const int devNull = open("/dev/null", O_RDWR | O_CLOEXEC);
    const pid_t parent = getpid();
    const pid_t pid = fork();
    if (pid == 0) {
        setpgid(0, 0); // its own group: the terminal's Ctrl+C reaches us, and we end it whole
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (getppid() != parent)
            _exit(127);
        sigset_t none;
        sigemptyset(&none);
        sigprocmask(SIG_SETMASK, &none, nullptr);
        // Above 4 first, so dup2 onto 3 and 4 always makes new descriptors without CLOEXEC.
        const int in = fcntl(commands[0], F_DUPFD_CLOEXEC, 10);
        const int out = fcntl(answers[1], F_DUPFD_CLOEXEC, 10);
        if (in < 0 || out < 0 || dup2(devNull, 0) < 0 || dup2(devNull, 1) < 0 ||
            dup2(devNull, 2) < 0 || dup2(in, 3) < 0 || dup2(out, 4) < 0)
            _exit(127);
        execve(argv[0], argv.data(), envp.data());
        const int error = errno;
        (void)!write(status[1], &error, sizeof error);
        _exit(127);
    }
    const int forkError = errno;
    close(commands[0]);
    close(answers[1]);
    close(status[1]);
    if (devNull >= 0)
        close(devNull);
    if (pid < 0) {
        close(commands[1]);
        close(answers[0]);
        close(status[0]);
        QDir(profile_).removeRecursively();
        throw AuditError(Kind::Browser,
                         QStringLiteral("Der Browser kann nicht gestartet werden: %1")
                             .arg(QString::fromLocal8Bit(std::strerror(forkError))));
    }
    pid_ = pid;
    toBrowser_ = commands[1];
    fromBrowser_ = answers[0];
    fcntl(toBrowser_, F_SETFL, O_NONBLOCK);
    fcntl(fromBrowser_, F_SETFL, O_NONBLOCK);
    int execError = 0;
    const ssize_t got = read(status[0], &execError, sizeof execError);
    close(status[0]);
    if (got == ssize_t(sizeof execError))
        fail(int(Kind::NoBrowser),
             QStringLiteral("Der Browser „%1“ kann nicht gestartet werden: %2")
                 .arg(program, QString::fromLocal8Bit(std::strerror(execError))));
    incoming_.clear();
    deadline_ = Clock::now() + std::chrono::seconds(std::max(timeoutSeconds_, 10));
    page_.clear();
    call(QStringLiteral("Browser.getVersion"), {}, false);
}

void ChromiumSession::end() {
    if (pid_ > 0) {
        // Asked politely first, for at most two seconds; then the whole group is killed.
        if (toBrowser_ >= 0) {
            const QByteArray close = R"({"id":0,"method":"Browser.close"})" + QByteArray(1, '\0');
            const HeldBrokenPipe held;
            (void)!write(toBrowser_, close.constData(), std::size_t(close.size()));
        }
        int status = 0;
        bool reaped = false;
        for (int i = 0; i < 40 && !reaped; ++i) {
            reaped = waitpid(pid_t(pid_), &status, WNOHANG) == pid_t(pid_);
            if (!reaped)
                QThread::msleep(50);
        }
        // The group and every helper found by its profile, until none is left alive (a caller
        // that made itself a subreaper reaps them then).
        kill(-pid_t(pid_), SIGKILL);
        if (!reaped)
            waitpid(pid_t(pid_), &status, 0);
        for (int round = 0; round < 40; ++round) {
            const QList<pid_t> left = browserProcesses(pid_t(pid_), profile_);
            for (pid_t p : left)
                kill(p, SIGKILL);
            if (left.isEmpty())
                break;
            QThread::msleep(25);
        }
        pid_ = 0;
    }
    if (toBrowser_ >= 0)
        close(toBrowser_);
    if (fromBrowser_ >= 0)
        close(fromBrowser_);
    toBrowser_ = fromBrowser_ = -1;
    sessionId_.clear();
    targetId_.clear();
    if (!profile_.isEmpty()) {
        for (int i = 0; i < 5 && !QDir(profile_).removeRecursively(); ++i)
            QThread::msleep(100);
        profile_.clear();
    }
}

void ChromiumSession::writeAll(const QByteArray& bytes) {
    qsizetype at = 0;
    while (at < bytes.size()) {
        ssize_t n = 0;
        {
            const HeldBrokenPipe held;
            n = write(toBrowser_, bytes.constData() + at, std::size_t(bytes.size() - at));
        }
        if (n > 0) {
            at += n;
            continue;
        }
        if (n < 0 && errno != EAGAIN && errno != EINTR)
            fail(int(Kind::Browser),
                 page_.isEmpty()
                     ? QStringLiteral("Der Browser hat sich gleich nach dem Start beendet.")
                     : QStringLiteral("Der Browser ist bei der Seite „%1“ abgestürzt.").arg(page_));
        pollfd p{toBrowser_, POLLOUT, 0};
        poll(&p, 1, 100);
        pump({}); // keeps the deadline and the stop; a full pipe is read from meanwhile
    }
}

void ChromiumSession::send(const QString& method, const QJsonObject& params, bool toPage, int id) {
    QJsonObject message{{QStringLiteral("id"), id}, {QStringLiteral("method"), method}};
    if (!params.isEmpty())
        message.insert(QStringLiteral("params"), params);
    if (toPage)
        message.insert(QStringLiteral("sessionId"), sessionId_);
    writeAll(QJsonDocument(message).toJson(QJsonDocument::Compact) + QByteArray(1, '\0'));
}

std::optional<QByteArray> ChromiumSession::nextMessage() {
    const qsizetype end = incoming_.indexOf('\0', scanned_);
    if (end < 0) {
        scanned_ = incoming_.size();
        return std::nullopt;
    }
    QByteArray message = incoming_.left(end);
    incoming_.remove(0, end + 1);
    scanned_ = 0;
    return message;
}

QByteArray ChromiumSession::rawCall(const QString& method, const QJsonObject& params, bool toPage) {
    const int id = nextId_++;
    send(method, params, toPage, id);
    // The browser writes the id first: {"id":12,"result":...}. An answer is told by it without
    // reading the rest, which for a screenshot is megabytes.
    const QByteArray head = "{\"id\":" + QByteArray::number(id) + ',';
    QByteArray answer;
    pump([&] {
        while (std::optional<QByteArray> message = nextMessage()) {
            if (message->startsWith(head)) {
                answer = std::move(*message);
                return true;
            }
            const QJsonObject parsed = QJsonDocument::fromJson(*message).object();
            if (parsed.value(QStringLiteral("id")).toInt(-1) == id) {
                answer = std::move(*message);
                return true;
            }
            if (parsed.contains(QStringLiteral("method")))
                handleEvent(parsed);
        }
        return false;
    });
    return answer;
}

QJsonObject ChromiumSession::call(const QString& method, const QJsonObject& params, bool toPage) {
    const QJsonObject answer = QJsonDocument::fromJson(rawCall(method, params, toPage)).object();
    if (answer.contains(QStringLiteral("error")))
        fail(int(Kind::Browser), QStringLiteral("Der Browser lehnt %1 ab: %2")
                                     .arg(method, answer.value(QStringLiteral("error"))
                                                      .toObject()
                                                      .value(QStringLiteral("message"))
                                                      .toString()));
    return answer.value(QStringLiteral("result")).toObject();
}

void ChromiumSession::pump(const std::function<bool()>& done) {
    for (;;) {
        if (done && done())
            return;
        if (stopRequested_ && stopRequested_())
            fail(int(Kind::Cancelled), QStringLiteral("Die Prüfung wurde abgebrochen."));
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline_ - Clock::now());
        if (left.count() <= 0)
            fail(int(Kind::Timeout),
                 page_.isEmpty()
                     ? QStringLiteral(
                           "Der Browser hat sich nach %1 s noch nicht gemeldet und wurde beendet.")
                           .arg(std::max(timeoutSeconds_, 10))
                     : QStringLiteral("Die Seite „%1“ ist nach %2 s nicht fertig geworden (Laden, "
                                      "Skripte und Zeichnen); der Browser wurde beendet.")
                           .arg(page_)
                           .arg(timeoutSeconds_));
        if (!done)
            return; // only the checks, for writeAll
        pollfd p{fromBrowser_, POLLIN, 0};
        const int ready = poll(&p, 1, int(std::min<long long>(left.count(), 50)));
        if (ready <= 0)
            continue;
        for (;;) {
            // Straight into the buffer, a megabyte at a time.
            const qsizetype at = incoming_.size();
            incoming_.resize(at + (1 << 20));
            const ssize_t n = read(fromBrowser_, incoming_.data() + at, 1 << 20);
            incoming_.resize(at + std::max<ssize_t>(n, 0));
            if (n > 0)
                continue;
            if (n == 0)
                fail(int(Kind::Browser),
                     page_.isEmpty()
                         ? QStringLiteral("Der Browser hat sich gleich nach dem Start beendet.")
                         : QStringLiteral("Der Browser ist bei der Seite „%1“ abgestürzt.")
                               .arg(page_));
            break; // EAGAIN: all read for now
        }
    }
}

void ChromiumSession::handleEvent(const QJsonObject& message) {
    const QString method = message.value(QStringLiteral("method")).toString();
    const QJsonObject params = message.value(QStringLiteral("params")).toObject();
    if (method == QLatin1String("Page.loadEventFired")) {
        loaded_ = true;
    } else if (method == QLatin1String("Fetch.requestPaused")) {
        const QString url = params.value(QStringLiteral("request"))
                                .toObject()
                                .value(QStringLiteral("url"))
                                .toString();
        const QJsonObject answer{
            {QStringLiteral("requestId"), params.value(QStringLiteral("requestId"))}};
        const bool allowed =
            url.startsWith(allowedPrefix_) || url.startsWith(QLatin1String("data:")) ||
            url.startsWith(QLatin1String("blob:")) || url.startsWith(QLatin1String("about:"));
        if (allowed) {
            send(QStringLiteral("Fetch.continueRequest"), answer, true, nextId_++);
        } else {
            ++refused_;
            QJsonObject refusal = answer;
            refusal.insert(QStringLiteral("errorReason"), QStringLiteral("BlockedByClient"));
            send(QStringLiteral("Fetch.failRequest"), refusal, true, nextId_++);
        }
    } else if (method == QLatin1String("Inspector.targetCrashed") ||
               (method == QLatin1String("Target.detachedFromTarget") &&
                params.value(QStringLiteral("sessionId")).toString() == sessionId_)) {
        fail(int(Kind::Browser),
             QStringLiteral("Der Browser ist bei der Seite „%1“ abgestürzt.").arg(page_));
    }
}

QJsonObject ChromiumSession::evaluate(const QString& expression, bool awaitPromise) {
    QJsonObject params{{QStringLiteral("expression"), expression},
                       {QStringLiteral("returnByValue"), true},
                       {QStringLiteral("awaitPromise"), awaitPromise}};
    if (context_ != 0)
        params.insert(QStringLiteral("contextId"), context_);
    const QJsonObject result = call(QStringLiteral("Runtime.evaluate"), params);
    if (result.contains(QStringLiteral("exceptionDetails")))
        fail(int(Kind::Browser), QStringLiteral("Das Prüfskript scheitert an der Seite „%1“: %2")
                                     .arg(page_, result.value(QStringLiteral("exceptionDetails"))
                                                     .toObject()
                                                     .value(QStringLiteral("text"))
                                                     .toString()));
    return result.value(QStringLiteral("result")).toObject();
}

PageLayout ChromiumSession::load(const PageSource& source, const RenderSettings& settings) {
    timeoutSeconds_ = settings.timeoutSeconds;
    if (pid_ == 0)
        start();
    deadline_ = Clock::now() + std::chrono::seconds(settings.timeoutSeconds);
    page_ = source.shown;
    allowedPrefix_ = source.allowedPrefix;
    allowNetwork_ = settings.allowNetwork;
    refused_ = 0;
    loaded_ = false;
    context_ = 0;
    state_ = -1;
    scrollX_ = scrollY_ = 0;
    scrolls_ = true;

    // A new tab for every page, the last one closed.
    sessionId_.clear(); // its detaching is no crash
    if (!targetId_.isEmpty())
        call(QStringLiteral("Target.closeTarget"), {{QStringLiteral("targetId"), targetId_}},
             false);
    targetId_ = call(QStringLiteral("Target.createTarget"),
                     {{QStringLiteral("url"), QStringLiteral("about:blank")}}, false)
                    .value(QStringLiteral("targetId"))
                    .toString();
    sessionId_ =
        call(QStringLiteral("Target.attachToTarget"),
             {{QStringLiteral("targetId"), targetId_}, {QStringLiteral("flatten"), true}}, false)
            .value(QStringLiteral("sessionId"))
            .toString();
    viewportWidth_ = settings.width;
    viewportHeight_ = firstScreenHeight;
    const auto metrics = [this] {
        call(QStringLiteral("Emulation.setDeviceMetricsOverride"),
             {{QStringLiteral("width"), viewportWidth_},
              {QStringLiteral("height"), viewportHeight_},
              {QStringLiteral("deviceScaleFactor"), 1},
              {QStringLiteral("mobile"), false}});
    };
    metrics();
    call(QStringLiteral("Emulation.setEmulatedMedia"),
         {{QStringLiteral("features"),
           QJsonArray{QJsonObject{{QStringLiteral("name"), QStringLiteral("prefers-color-scheme")},
                                  {QStringLiteral("value"), settings.scheme == PageScheme::Dark
                                                                ? QStringLiteral("dark")
                                                                : QStringLiteral("light")}}}}});
    call(QStringLiteral("Emulation.setEmulatedVisionDeficiency"),
         {{QStringLiteral("type"), visionType(settings.vision)}});
    if (!settings.allowNetwork)
        call(QStringLiteral("Fetch.enable"),
             {{QStringLiteral("patterns"),
               QJsonArray{QJsonObject{{QStringLiteral("urlPattern"), QStringLiteral("*")}}}}});
    call(QStringLiteral("Page.enable"));
    const QJsonObject navigated =
        call(QStringLiteral("Page.navigate"), {{QStringLiteral("url"), source.url}});
    const QString error = navigated.value(QStringLiteral("errorText")).toString();
    if (!error.isEmpty())
        throw AuditError(Kind::Source,
                         QStringLiteral("Die Seite „%1“ kann nicht geladen werden (%2).")
                             .arg(source.shown, error));
    pump([this] {
        while (!loaded_) {
            const std::optional<QByteArray> message = nextMessage();
            if (!message)
                return false;
            handleEvent(QJsonDocument::fromJson(*message).object());
        }
        return true;
    });
    const QString frame = call(QStringLiteral("Page.getFrameTree"))
                              .value(QStringLiteral("frameTree"))
                              .toObject()
                              .value(QStringLiteral("frame"))
                              .toObject()
                              .value(QStringLiteral("id"))
                              .toString();
    context_ = call(QStringLiteral("Page.createIsolatedWorld"),
                    {{QStringLiteral("frameId"), frame},
                     {QStringLiteral("worldName"), QStringLiteral("pigmora")}})
                   .value(QStringLiteral("executionContextId"))
                   .toInt();
    const QString settle = QStringLiteral(
        "document.fonts.ready.then(() => new Promise((r) => requestAnimationFrame(() => "
        "requestAnimationFrame(r))))");
    evaluate(settle, true);
    // Animations held where they are, so both renderings show the same moment.
    call(QStringLiteral("Animation.enable"));
    call(QStringLiteral("Animation.setPlaybackRate"), {{QStringLiteral("playbackRate"), 0}});

    // The captures' viewport: as tall as the page, as far as its area allows (fewer, larger
    // captures are faster: each one costs the browser a frame).
    const int firstHeight = evaluate(QStringLiteral("document.documentElement.scrollHeight"))
                                .value(QStringLiteral("value"))
                                .toInt();
    viewportHeight_ = std::clamp(firstHeight, firstScreenHeight,
                                 std::max(firstScreenHeight, largestViewport / viewportWidth_));
    if (viewportHeight_ != firstScreenHeight) {
        metrics();
        evaluate(settle, true);
    }
    evaluate(QString::fromUtf8(pageScript));
    const QJsonObject found =
        QJsonDocument::fromJson(evaluate(QStringLiteral("pigmoraAudit.collect()"))
                                    .value(QStringLiteral("value"))
                                    .toString()
                                    .toUtf8())
            .object();
    state_ = 0;

    PageLayout layout;
    layout.width = found.value(QStringLiteral("width")).toInt();
    layout.height = found.value(QStringLiteral("height")).toInt();
    layout.viewportWidth = viewportWidth_;
    layout.viewportHeight = viewportHeight_;
    const QJsonObject skipped = found.value(QStringLiteral("skipped")).toObject();
    layout.skipped[SkipReason::Hidden] = skipped.value(QStringLiteral("hidden")).toInt();
    layout.skipped[SkipReason::OffScreen] = skipped.value(QStringLiteral("offscreen")).toInt();
    layout.skipped[SkipReason::Clipped] = skipped.value(QStringLiteral("clipped")).toInt();
    layout.skipped[SkipReason::Transparent] = skipped.value(QStringLiteral("opacity")).toInt();
    layout.skipped[SkipReason::AriaHidden] = skipped.value(QStringLiteral("ariaHidden")).toInt();
    layout.skipped[SkipReason::Disabled] = skipped.value(QStringLiteral("disabled")).toInt();
    const QJsonArray texts = found.value(QStringLiteral("texts")).toArray();
    layout.texts.reserve(std::size_t(texts.size()));
    for (const QJsonValue& v : texts) {
        const QJsonArray t = v.toArray();
        PageText text;
        text.selector = t.at(0).toString();
        text.text = t.at(1).toString();
        const CssColourReading colour = readCssColour(t.at(2).toString());
        text.colour = colour.colour.value_or(Rgb{0, 0, 0});
        text.alpha = (colour.colour ? colour.alpha : 1.0) * t.at(3).toDouble(1);
        text.fontSizePx = t.at(4).toDouble(16);
        text.fontWeight = t.at(5).toInt(400);
        const QJsonArray boxes = t.at(6).toArray();
        for (qsizetype i = 0; i + 3 < boxes.size(); i += 4)
            text.boxes.push_back({boxes.at(i).toDouble(), boxes.at(i + 1).toDouble(),
                                  boxes.at(i + 2).toDouble(), boxes.at(i + 3).toDouble()});
        if (text.alpha <= 0) {
            ++layout.skipped[SkipReason::Transparent];
            continue;
        }
        layout.texts.push_back(std::move(text));
    }
    return layout;
}

PixelImage ChromiumSession::capture(const PixelRect& area, Rendering rendering) {
    const int cellX = area.x - area.x % std::max(viewportWidth_, 1);
    const int cellY = area.y - area.y % std::max(viewportHeight_, 1);
    const int state = (rendering == Rendering::WithoutText ? 1 : 0) | (cellX || cellY ? 2 : 0);
    if (state != state_) {
        evaluate(QStringLiteral("pigmoraAudit.setState(%1, %2)")
                     .arg(state & 1 ? QStringLiteral("true") : QStringLiteral("false"),
                          state & 2 ? QStringLiteral("true") : QStringLiteral("false")));
        state_ = state;
    }
    if (scrolls_ && (cellX != scrollX_ || cellY != scrollY_)) {
        const QJsonArray at =
            evaluate(QStringLiteral(
                         "scrollTo({left: %1, top: %2, behavior: 'instant'}), [scrollX, scrollY]")
                         .arg(cellX)
                         .arg(cellY))
                .value(QStringLiteral("value"))
                .toArray();
        scrollX_ = at.at(0).toInt();
        scrollY_ = at.at(1).toInt();
        // A page that does not scroll (overflow: hidden on the root) is captured beyond the
        // viewport instead.
        scrolls_ = scrollX_ == cellX && scrollY_ == cellY;
    }
    const QByteArray shot =
        rawCall(QStringLiteral("Page.captureScreenshot"),
                {{QStringLiteral("format"), QStringLiteral("png")},
                 {QStringLiteral("optimizeForSpeed"), true},
                 {QStringLiteral("captureBeyondViewport"), !scrolls_},
                 {QStringLiteral("clip"), QJsonObject{{QStringLiteral("x"), area.x},
                                                      {QStringLiteral("y"), area.y},
                                                      {QStringLiteral("width"), area.width},
                                                      {QStringLiteral("height"), area.height},
                                                      {QStringLiteral("scale"), 1}}}});
    // The picture's base64 is read where it stands in the answer: it holds no escapes.
    const qsizetype data = shot.indexOf("\"data\":\"");
    const qsizetype dataEnd = data < 0 ? -1 : shot.indexOf('"', data + 8);
    if (dataEnd < 0)
        fail(int(Kind::Browser), QStringLiteral("Der Browser zeichnet die Seite „%1“ nicht: %2")
                                     .arg(page_, QJsonDocument::fromJson(shot)
                                                     .object()
                                                     .value(QStringLiteral("error"))
                                                     .toObject()
                                                     .value(QStringLiteral("message"))
                                                     .toString()));
    std::optional<PixelImage> image = decodePng(QByteArray::fromBase64(
        QByteArray::fromRawData(shot.constData() + data + 8, dataEnd - data - 8)));
    if (!image || image->width != area.width || image->height != area.height)
        fail(int(Kind::Browser),
             QStringLiteral("Der Browser hat für die Seite „%1“ kein passendes Bild geliefert.")
                 .arg(page_));
    image->originX = area.x;
    image->originY = area.y;
    return std::move(*image);
}

std::vector<Rgb> ChromiumSession::seenColours(const std::vector<Rgb>& colours) {
    std::vector<Rgb> seen;
    for (std::size_t start = 0; start < colours.size(); start += swatchesPerCapture) {
        const std::size_t count = std::min<std::size_t>(swatchesPerCapture, colours.size() - start);
        QStringList list;
        for (std::size_t i = 0; i < count; ++i) {
            const Rgb c = colours[start + i];
            list << QStringLiteral("'rgb(%1 %2 %3)'").arg(c.red).arg(c.green).arg(c.blue);
        }
        // Right after load() the page is at its top left, where the swatches stand.
        evaluate(
            QStringLiteral("pigmoraAudit.showSwatches([%1])").arg(list.join(QLatin1Char(','))));
        const int rows = int((count + 63) / 64);
        const PixelImage shot = capture({0, 0, 256, rows * 4}, Rendering::AsIs);
        for (std::size_t i = 0; i < count; ++i)
            seen.push_back(shot.pageAt(int(i % 64) * 4 + 2, int(i / 64) * 4 + 2));
        evaluate(QStringLiteral("pigmoraAudit.hideSwatches()"));
    }
    return seen;
}

} // namespace pigmora
