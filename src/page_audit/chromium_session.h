#pragma once

#include "page_session.h"

#include <QByteArray>
#include <QJsonObject>
#include <QString>
#include <chrono>
#include <functional>

namespace pigmora {

// Debian's chromium, headless, driven through the DevTools protocol over a pipe (fds 3 and 4 of
// the browser: no port another process could reach), with a private profile folder that is
// removed afterwards. Started on the first page, ended by the destructor: also after a page
// that hangs, a crash or a stop, the whole process group is killed, and a browser whose parent
// dies is killed by the kernel (PR_SET_PDEATHSIG).
class ChromiumSession : public PageSession {
public:
    // `browser`: the executable to start, or empty to look for chromium and chromium-browser
    // on PATH. `stopRequested` is asked while waiting for the browser.
    explicit ChromiumSession(QString browser = {}, std::function<bool()> stopRequested = {});
    ~ChromiumSession() override;
    ChromiumSession(const ChromiumSession&) = delete;
    ChromiumSession& operator=(const ChromiumSession&) = delete;

    PageLayout load(const PageSource& source, const RenderSettings& settings) override;
    PixelImage capture(const PixelRect& area, Rendering rendering) override;
    std::vector<Rgb> seenColours(const std::vector<Rgb>& colours) override;
    int refusedRequests() const override { return refused_; }

    // The browser `given` names, or chromium or chromium-browser on PATH; empty when none.
    static QString findBrowser(const QString& given);
    // The browser's process id while it runs (0 otherwise), and its profile folder.
    qint64 browserProcess() const { return pid_; }
    QString profileFolder() const { return profile_; }
    // Ends the browser now; the next page starts a new one.
    void end();

private:
    using Clock = std::chrono::steady_clock;
    void start();
    void send(const QString& method, const QJsonObject& params, bool toPage, int id);
    QJsonObject call(const QString& method, const QJsonObject& params = {}, bool toPage = true);
    // The answer as the browser wrote it.
    QByteArray rawCall(const QString& method, const QJsonObject& params, bool toPage = true);
    std::optional<QByteArray> nextMessage();
    // Reads what the browser writes until `done` or the deadline; events are handled on the way.
    void pump(const std::function<bool()>& done);
    void handleEvent(const QJsonObject& message);
    QJsonObject evaluate(const QString& expression, bool awaitPromise = false);
    [[noreturn]] void fail(int kind, const QString& message);
    void writeAll(const QByteArray& bytes);

    QString browser_;
    std::function<bool()> stopRequested_;
    qint64 pid_ = 0;
    QString profile_;
    int toBrowser_ = -1;   // our end of the browser's fd 3
    int fromBrowser_ = -1; // our end of the browser's fd 4
    QByteArray incoming_;
    qsizetype scanned_ = 0; // where the search for the end of the next message goes on
    int nextId_ = 1;
    QString sessionId_;
    QString targetId_;
    int context_ = 0; // the isolated world's execution context
    Clock::time_point deadline_;
    int timeoutSeconds_ = 30;
    QString page_; // the page as the user named it, for messages
    QString allowedPrefix_;
    bool allowNetwork_ = false;
    bool loaded_ = false;
    int refused_ = 0;
    int viewportWidth_ = 0;
    int viewportHeight_ = 0;
    int scrollX_ = 0;
    int scrollY_ = 0;
    bool scrolls_ = true;
    int state_ = -1; // what setState was last told: bit 0 texts hidden, bit 1 fixed hidden
};

} // namespace pigmora
