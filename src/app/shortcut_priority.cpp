#include "shortcut_priority.h"

#include <QKeyEvent>

namespace pigmora {

ShortcutPriority::ShortcutPriority(QList<QKeySequence> sequences, QObject* parent)
    : QObject(parent)
    , sequences_(std::move(sequences)) {}

bool ShortcutPriority::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::ShortcutOverride) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (sequences_.contains(QKeySequence(key->keyCombination()))) {
            event->ignore(); // not claimed by the widget: the shortcut runs
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace pigmora
