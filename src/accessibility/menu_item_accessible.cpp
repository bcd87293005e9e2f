#include "menu_item_accessible.h"

#include <QAccessibleInterface>
#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <QWindow>

namespace pigmora {

namespace {

// The position of the access key in a caption ("E&xtras": 1), or -1; "&&" is a plain "&".
qsizetype accessKeyIndex(const QString& caption) {
    for (qsizetype i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != QLatin1Char('&'))
            continue;
        if (caption[i + 1] != QLatin1Char('&'))
            return i;
        ++i;
    }
    return -1;
}

QString withoutAccessKey(QString caption) {
    const qsizetype at = accessKeyIndex(caption);
    if (at >= 0)
        caption.remove(at, 1);
    return caption.replace(QStringLiteral("&&"), QStringLiteral("&"));
}

class MenuItemAccessible : public QAccessibleInterface, public QAccessibleActionInterface {
public:
    MenuItemAccessible(QAction* action, QWidget* owner)
        : action_(action)
        , owner_(owner) {}

    bool isValid() const override { return action_ && owner_; }
    QObject* object() const override { return action_; }
    QWindow* window() const override { return owner_ ? owner_->window()->windowHandle() : nullptr; }

    QAccessibleInterface* parent() const override {
        return QAccessible::queryAccessibleInterface(owner_);
    }
    int childCount() const override { return action_->menu() ? 1 : 0; }
    QAccessibleInterface* child(int index) const override {
        return index == 0 && action_->menu()
                   ? QAccessible::queryAccessibleInterface(action_->menu())
                   : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        return child && action_->menu() && child->object() == action_->menu() ? 0 : -1;
    }
    QAccessibleInterface* childAt(int x, int y) const override {
        QAccessibleInterface* submenu = child(0);
        return submenu && submenu->rect().contains(x, y) ? submenu : nullptr;
    }

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name)
            return withoutAccessKey(action_->text());
        if (t == QAccessible::Accelerator) {
            if (!action_->shortcut().isEmpty())
                return action_->shortcut().toString(QKeySequence::NativeText);
            const QString caption = action_->text();
            const qsizetype at = accessKeyIndex(caption);
            if (at >= 0)
                return QKeySequence(QStringLiteral("Alt+") + caption[at + 1].toUpper())
                    .toString(QKeySequence::NativeText);
        }
        return {};
    }
    void setText(QAccessible::Text, const QString&) override {}

    QRect rect() const override {
        QRect r;
        if (auto* bar = qobject_cast<QMenuBar*>(owner_))
            r = bar->actionGeometry(action_);
        else if (auto* menu = qobject_cast<QMenu*>(owner_))
            r = menu->actionGeometry(action_);
        return r.translated(owner_->mapToGlobal(QPoint(0, 0)));
    }
    QAccessible::Role role() const override { return QAccessible::MenuItem; }
    QAccessible::State state() const override {
        QAccessible::State s;
        if (!owner_->testAttribute(Qt::WA_WState_Visible) || !action_->isVisible())
            s.invisible = true;
        if (auto* menu = qobject_cast<QMenu*>(owner_); menu && menu->activeAction() == action_)
            s.focused = true;
        if (auto* bar = qobject_cast<QMenuBar*>(owner_); bar && bar->activeAction() == action_)
            s.focused = true;
        s.disabled = !action_->isEnabled();
        s.checkable = action_->isCheckable();
        s.checked = action_->isChecked();
        return s;
    }

    void* interface_cast(QAccessible::InterfaceType type) override {
        return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this)
                                                    : nullptr;
    }
    QStringList actionNames() const override {
        return {action_->menu() ? showMenuAction() : pressAction()};
    }
    void doAction(const QString& name) override {
        if (!action_->isEnabled())
            return;
        if (name == pressAction() && !action_->menu()) {
            // After the reply: the command may open a modal dialog and run its own loop.
            QTimer::singleShot(0, action_, [action = action_] {
                if (action)
                    action->trigger();
            });
        } else if (name == showMenuAction() && action_->menu()) {
            if (action_->menu()->isVisible())
                action_->menu()->hide();
            else if (auto* bar = qobject_cast<QMenuBar*>(owner_))
                bar->setActiveAction(action_);
            else if (auto* menu = qobject_cast<QMenu*>(owner_))
                menu->setActiveAction(action_);
        }
    }
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

private:
    QPointer<QAction> action_;
    QPointer<QWidget> owner_;
};

// The menu or menu bar that shows the action.
QWidget* ownerOf(QAction* action) {
    for (QObject* o : action->associatedObjects())
        if (qobject_cast<QMenu*>(o) || qobject_cast<QMenuBar*>(o))
            return static_cast<QWidget*>(o);
    return nullptr;
}

} // namespace

QAccessibleInterface* menuItemAccessible(const QString& className, QObject* object) {
    if (className != QLatin1String("QAction"))
        return nullptr;
    auto* action = static_cast<QAction*>(object);
    if (action->isSeparator() || !action->objectName().startsWith(QLatin1String("mnu")))
        return nullptr;
    QWidget* owner = ownerOf(action);
    return owner ? new MenuItemAccessible(action, owner) : nullptr;
}

} // namespace pigmora
