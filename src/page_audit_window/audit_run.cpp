#include "audit_run.h"

namespace pigmora {

namespace {

class RunProgress : public AuditProgress {
public:
    RunProgress(AuditRun& run, const std::atomic<bool>& stop)
        : run_(run)
        , stop_(stop) {}
    void step(const QString& what, int done, int total) override {
        emit run_.progressed(what, done, total);
    }
    bool stopRequested() const override { return stop_; }

private:
    AuditRun& run_;
    const std::atomic<bool>& stop_;
};

} // namespace

AuditRun::AuditRun(SessionFactory factory, Request request, QObject* parent)
    : QThread(parent)
    , factory_(std::move(factory))
    , request_(std::move(request)) {}

AuditRun::~AuditRun() {
    stop();
    wait();
}

void AuditRun::run() {
    RunProgress progress(*this, stop_);
    AuditNeeds needs;
    needs.level = request_.level;
    needs.cropLimit = 1000;
    try {
        const std::unique_ptr<PageSession> session = factory_([this] { return bool(stop_); });
        for (const PageSource& source : request_.sources)
            for (PageScheme scheme : request_.schemes) {
                RenderSettings settings;
                settings.scheme = scheme;
                settings.width = request_.width;
                settings.timeoutSeconds = request_.timeoutSeconds;
                results_.push_back(auditPage(*session, source, settings, needs, progress));
            }
    } catch (const AuditError& e) {
        error_ = e.message();
    }
    emit ended();
}

} // namespace pigmora
