#pragma once

#include <QList>
#include <QObject>

class QAction;

namespace pigmora {

// Lets the menu's shortcuts win over a widget's own editing keys. A line edit claims Ctrl+C,
// Ctrl+V and others for itself (it accepts the ShortcutOverride event), so the menu command
// would never run; installed on such a widget, this filter declines the override for every key
// sequence that one of the given actions uses.
class MenuShortcutPriority : public QObject {
    Q_OBJECT
public:
    MenuShortcutPriority(QList<QAction*> actions, QObject* parent);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QList<QAction*> actions_;
};

} // namespace pigmora
