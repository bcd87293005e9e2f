#pragma once

#include <QObject>
#include <functional>

class QWidget;

namespace pigmora {

class SamplePair;

// Tells the contrast window when the sample changed: its pair (either colour, or which of them
// the channels edit) or its font.
//
// It only watches. Events pass on untouched, and nothing is refreshed inside the main window's
// handlers: a change marks the view stale and asks for one refresh through the event queue, so
// the three setters of one user action give one refresh. While the window is hidden nothing
// is refreshed; refreshIfStale() catches up when it is shown.
class SampleFollower : public QObject {
public:
    SampleFollower(const SamplePair& pair, QWidget* sample, QWidget* window,
                   std::function<void()> refresh);

    void sampleChanged();
    // Refreshes now if a change came in since the last refresh.
    void refreshIfStale();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void queuedRefresh();

    QWidget* window_;
    std::function<void()> refresh_;
    bool stale_ = true;
    bool pending_ = false;
};

} // namespace pigmora
