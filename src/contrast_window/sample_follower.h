#pragma once

#include <QList>
#include <QObject>
#include <functional>

class QAction;
class QWidget;

namespace pigmora {

// Tells the contrast window when the sample changed: its colours (set through its palette), its
// font, or which of its colours the channels edit (the two target check marks).
//
// It only watches. Events pass on untouched, and nothing is refreshed inside the main window's
// handlers: a change marks the view stale and asks for one refresh through the event queue, so
// the three setters of one user action give one refresh. While the window is hidden nothing
// is refreshed; refreshIfStale() catches up when it is shown.
class SampleFollower : public QObject {
public:
    SampleFollower(QWidget* sample, const QList<QAction*>& targetSwitch, QWidget* window,
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
