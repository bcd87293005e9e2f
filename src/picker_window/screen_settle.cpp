#include "screen_settle.h"

#include "system_pointer.h"

#include <QApplication>
#include <QPointer>
#include <QTimer>
#include <QWidget>

namespace pigmora {

namespace {

// A frame at 60 Hz: what another program gets to paint what our popup covered.
constexpr int frameMs = 16;
// After this long a popup that stays open is no longer waited for.
constexpr int longestWaitMs = 2000;

bool popupShown() {
    if (QApplication::activePopupWidget())
        return true;
    for (const QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible() && w->windowType() == Qt::Popup)
            return true;
    return false;
}

void waitForPopups(QPointer<QObject> context, std::function<void()> then, int waited) {
    if (!context)
        return;
    if (popupShown() && waited < longestWaitMs) {
        QTimer::singleShot(2, context, [context, then = std::move(then), waited]() mutable {
            waitForPopups(context, std::move(then), waited + 2);
        });
        return;
    }
    // The popup's unmapping done, the expose events are here: our windows paint now.
    syncWindowSystem();
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible() && !w->isMinimized() && w->windowType() != Qt::Popup)
            w->repaint();
    QTimer::singleShot(frameMs, context, [context, then = std::move(then)] {
        if (!context)
            return;
        syncWindowSystem();
        then();
    });
}

} // namespace

void whenScreenSettled(QObject* context, std::function<void()> then) {
    waitForPopups(context, std::move(then), 0);
}

} // namespace pigmora
