#pragma once

#include <QKeySequence>
#include <QList>
#include <QObject>

namespace pigmora {

// Lets the menu's shortcuts win over a widget's own editing keys. A line edit claims Ctrl+C,
// Ctrl+V and others for itself (it accepts the ShortcutOverride event), so the menu command
// would never run while it has the focus; installed on such a widget, this filter declines the
// override for the given key sequences.
class ShortcutPriority : public QObject {
    Q_OBJECT
public:
    ShortcutPriority(QList<QKeySequence> sequences, QObject* parent);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QList<QKeySequence> sequences_;
};

} // namespace pigmora
