#include "accessible_shape.h"

#include "menu_item_accessible.h"

#include <QAccessibleWidget>
#include <QDialog>
#include <QLabel>
#include <QMenu>
#include <QTimer>
#include <QVariant>
#include <QWidget>

namespace pigmora {

namespace {

const char roleProperty[] = "pigmoraAccessibleRole";
const char hiddenProperty[] = "pigmoraAccessibleHidden";
// On a parent of hidden widgets: it gets the interface below, which leaves them out.
const char parentProperty[] = "pigmoraAccessibleParent";
const char pressName[] = "pigmoraAccessiblePress";

// The press (and toggle state) of a widget, kept as a child object of it.
class PressBinding : public QObject {
public:
    PressBinding(QWidget* widget, std::function<void()> press, std::function<bool()> checked)
        : QObject(widget)
        , press(std::move(press))
        , checked(std::move(checked)) {
        setObjectName(QString::fromLatin1(pressName));
    }

    std::function<void()> press;
    std::function<bool()> checked;
};

PressBinding* pressBinding(const QWidget* widget) {
    return dynamic_cast<PressBinding*>(
        widget->findChild<QObject*>(QString::fromLatin1(pressName), Qt::FindDirectChildrenOnly));
}

bool isHidden(const QWidget* widget) {
    return widget->property(hiddenProperty).toBool();
}

// The role Qt gives such a widget when nothing is set.
QAccessible::Role plainRole(const QWidget* widget) {
    if (qobject_cast<const QDialog*>(widget))
        return QAccessible::Dialog;
    return widget->isWindow() ? QAccessible::Window : QAccessible::Client;
}

class ShapedAccessible : public QAccessibleWidget {
public:
    explicit ShapedAccessible(QWidget* widget)
        : QAccessibleWidget(widget, plainRole(widget)) {}

    QAccessible::Role role() const override {
        const QVariant role = widget()->property(roleProperty);
        if (role.isValid())
            return QAccessible::Role(role.toInt());
        return pressBinding(widget()) ? QAccessible::Button : QAccessibleWidget::role();
    }
    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        if (const PressBinding* binding = pressBinding(widget()); binding && binding->checked) {
            s.checkable = true;
            s.checked = binding->checked();
        }
        return s;
    }
    QString text(QAccessible::Text t) const override {
        QString text = QAccessibleWidget::text(t);
        if (t == QAccessible::Name && text.isEmpty())
            if (const auto* label = qobject_cast<const QLabel*>(widget()))
                text = label->text();
        return text;
    }

    int childCount() const override { return int(shownChildren().size()); }
    QAccessibleInterface* child(int index) const override {
        const QList<QWidget*> children = shownChildren();
        return index >= 0 && index < children.size()
                   ? QAccessible::queryAccessibleInterface(children[index])
                   : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        if (!child || !child->object() || !child->object()->isWidgetType())
            return -1;
        return int(shownChildren().indexOf(static_cast<QWidget*>(child->object())));
    }

    QStringList actionNames() const override {
        QStringList names = QAccessibleWidget::actionNames();
        if (pressBinding(widget()))
            names.prepend(pressAction());
        return names;
    }
    void doAction(const QString& name) override {
        if (name != pressAction()) {
            QAccessibleWidget::doAction(name);
            return;
        }
        PressBinding* binding = pressBinding(widget());
        if (binding && widget()->isEnabled())
            QTimer::singleShot(0, binding, [binding] { binding->press(); });
    }

private:
    // The child widgets as Qt counts them, without the hidden ones.
    QList<QWidget*> shownChildren() const {
        QList<QWidget*> shown;
        for (QObject* object : widget()->children()) {
            auto* child = qobject_cast<QWidget*>(object);
            if (child && !child->isWindow() && !qobject_cast<QMenu*>(child) && !isHidden(child))
                shown.append(child);
        }
        return shown;
    }
};

QAccessibleInterface* shapedAccessible(const QString&, QObject* object) {
    if (!object || !object->isWidgetType())
        return nullptr;
    auto* widget = static_cast<QWidget*>(object);
    if (widget->property(roleProperty).isValid() || widget->property(parentProperty).toBool() ||
        pressBinding(widget))
        return new ShapedAccessible(widget);
    return nullptr;
}

// Qt keeps the interface it made for a widget. One made before the widget had its settings (by
// an accessibility event of its own, such as a change of its name while a screen reader
// listens) is dropped, so the next question gets ours. Without a listener Qt makes none, and
// nothing is made here either: the start pays nothing.
void reshape(QWidget* widget) {
    if (!QAccessible::isActive())
        return;
    QAccessibleInterface* current = QAccessible::queryAccessibleInterface(widget);
    if (current && !dynamic_cast<ShapedAccessible*>(current))
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(current));
}

} // namespace

void installAccessibility() {
    QAccessible::installFactory(shapedAccessible);
    QAccessible::installFactory(menuItemAccessible);
}

void setAccessibleRole(QWidget* widget, QAccessible::Role role) {
    widget->setProperty(roleProperty, int(role));
    reshape(widget);
}

void setAccessibleHidden(QWidget* widget, bool hidden) {
    if (QWidget* parent = widget->parentWidget();
        parent && !parent->property(parentProperty).toBool()) {
        parent->setProperty(parentProperty, true);
        reshape(parent);
    }
    if (isHidden(widget) == hidden)
        return;
    widget->setProperty(hiddenProperty, hidden);
    if (QWidget* parent = widget->parentWidget()) {
        QAccessibleEvent reorder(parent, QAccessible::ObjectReorder);
        QAccessible::updateAccessibility(&reorder);
    }
}

void setAccessiblePress(QWidget* widget, std::function<void()> press,
                        std::function<bool()> checked) {
    delete pressBinding(widget);
    new PressBinding(widget, std::move(press), std::move(checked));
    reshape(widget);
}

void notifyAccessibleToggled(QWidget* widget) {
    QAccessible::State changed;
    changed.checked = true;
    QAccessibleStateChangeEvent event(widget, changed);
    QAccessible::updateAccessibility(&event);
}

} // namespace pigmora
