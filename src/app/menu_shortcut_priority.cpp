#include "menu_shortcut_priority.h"

#include <QAction>
#include <QKeyEvent>

namespace pigmora {

MenuShortcutPriority::MenuShortcutPriority(QList<QAction*> actions, QObject* parent)
    : QObject(parent)
    , actions_(std::move(actions)) {}

bool MenuShortcutPriority::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::ShortcutOverride) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const QKeySequence pressed(key->keyCombination());
        for (const QAction* action : std::as_const(actions_)) {
            if (!action->shortcut().isEmpty() && action->shortcut() == pressed) {
                event->ignore(); // not claimed by the widget: the shortcut runs
                return true;
            }
        }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace pigmora
