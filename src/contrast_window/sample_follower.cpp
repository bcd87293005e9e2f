#include "sample_follower.h"

#include "base/sample_pair.h"

#include <QEvent>
#include <QWidget>

namespace pigmora {

SampleFollower::SampleFollower(const SamplePair& pair, QWidget* sample, QWidget* window,
                               std::function<void()> refresh)
    : QObject(window)
    , window_(window)
    , refresh_(std::move(refresh)) {
    sample->installEventFilter(this);
    connect(&pair, &SamplePair::changed, this, &SampleFollower::sampleChanged);
}

bool SampleFollower::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FontChange)
        sampleChanged();
    return QObject::eventFilter(watched, event); // never consumes the event
}

void SampleFollower::sampleChanged() {
    stale_ = true;
    if (pending_ || !window_->isVisible())
        return;
    pending_ = true;
    QMetaObject::invokeMethod(this, &SampleFollower::queuedRefresh, Qt::QueuedConnection);
}

void SampleFollower::queuedRefresh() {
    pending_ = false;
    if (window_->isVisible())
        refreshIfStale();
}

void SampleFollower::refreshIfStale() {
    if (!stale_)
        return;
    stale_ = false;
    refresh_();
}

} // namespace pigmora
