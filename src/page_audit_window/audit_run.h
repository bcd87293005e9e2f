#pragma once

#include "page_audit/page_audit.h"

#include <QThread>
#include <atomic>
#include <functional>
#include <memory>

namespace pigmora {

// One audit of the window's: every page and scheme in a thread of its own, which makes the
// session (and so starts and ends the browser) itself. Progress and the end come as signals,
// queued to the window's thread; stop() ends it at the next wait.
class AuditRun : public QThread {
    Q_OBJECT
public:
    using SessionFactory = std::function<std::unique_ptr<PageSession>(std::function<bool()> stop)>;
    struct Request {
        std::vector<PageSource> sources;
        std::vector<PageScheme> schemes;
        WcagLevel level = WcagLevel::AA;
        int width = 1280;
        int timeoutSeconds = 30;
    };
    AuditRun(SessionFactory factory, Request request, QObject* parent = nullptr);
    ~AuditRun() override; // stops and waits

    void stop() { stop_ = true; }
    bool stopped() const { return stop_; }
    // Valid once `ended` has come.
    std::vector<PageAuditResult>& results() { return results_; }
    const QString& error() const { return error_; }

signals:
    void progressed(const QString& what, int done, int total);
    void ended();

protected:
    void run() override;

private:
    SessionFactory factory_;
    Request request_;
    std::atomic<bool> stop_{false};
    std::vector<PageAuditResult> results_;
    QString error_;
};

} // namespace pigmora
