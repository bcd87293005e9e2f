#include "channel_slider.h"

#include <QAccessibleValueInterface>
#include <QAccessibleWidget>
#include <QMouseEvent>
#include <QStyle>
#include <QStyleOptionSlider>

namespace pigmora {

namespace {

// Qt's own slider interface sets the value from the program's side, which the editor rightly
// ignores; a value set by a screen reader is the user's move.
class AccessibleChannelSlider : public QAccessibleWidget, public QAccessibleValueInterface {
public:
    explicit AccessibleChannelSlider(ChannelSlider* slider)
        : QAccessibleWidget(slider, QAccessible::Slider) {}

    void* interface_cast(QAccessible::InterfaceType type) override {
        return type == QAccessible::ValueInterface ? static_cast<QAccessibleValueInterface*>(this)
                                                   : QAccessibleWidget::interface_cast(type);
    }
    QString text(QAccessible::Text t) const override {
        return t == QAccessible::Value ? QString::number(slider()->value())
                                       : QAccessibleWidget::text(t);
    }
    QVariant currentValue() const override { return slider()->value(); }
    void setCurrentValue(const QVariant& value) override { slider()->moveAsUser(value.toInt()); }
    QVariant maximumValue() const override { return slider()->maximum(); }
    QVariant minimumValue() const override { return slider()->minimum(); }
    QVariant minimumStepSize() const override { return slider()->singleStep(); }

private:
    ChannelSlider* slider() const { return static_cast<ChannelSlider*>(widget()); }
};

QAccessibleInterface* accessibleChannelSlider(const QString& className, QObject* object) {
    if (className == QLatin1String("pigmora::ChannelSlider") && object->isWidgetType())
        return new AccessibleChannelSlider(static_cast<ChannelSlider*>(object));
    return nullptr;
}

} // namespace

void ChannelSlider::installAccessibility() {
    QAccessible::installFactory(accessibleChannelSlider);
}

ChannelSlider::ChannelSlider(QWidget* parent)
    : QSlider(Qt::Horizontal, parent) {
    setRange(0, 255);
    setSingleStep(1);
    setPageStep(5);
    setTickInterval(25);
    setTickPosition(QSlider::TicksBelow);
    setValue(0);

    // Every user action runs through triggerAction(), which emits actionTriggered with the new
    // position already set and then calls setValue() with it. So a pending flag set here is
    // consumed by the valueChanged that follows at once; an action that does not move the
    // slider (an arrow key at the end) changes nothing and sets nothing.
    connect(this, &QAbstractSlider::actionTriggered, this, [this] {
        if (sliderPosition() != value())
            userMovePending_ = true;
    });
    connect(this, &QAbstractSlider::valueChanged, this, [this] {
        if (userMovePending_) {
            userMovePending_ = false;
            emit scrolled();
        }
    });
}

void ChannelSlider::mousePressEvent(QMouseEvent* event) {
    QStyleOptionSlider option;
    initStyleOption(&option);
    const QRect handle =
        style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, this);
    const QPoint pos = event->position().toPoint();
    if (handle.contains(pos)) {
        QSlider::mousePressEvent(event);
        return;
    }
    // Move the click onto the groove, keeping its place along the track.
    const QRect groove =
        style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderGroove, this);
    const QPointF onGroove(pos.x(), groove.center().y());
    QMouseEvent moved(event->type(), onGroove, mapToGlobal(onGroove), event->button(),
                      event->buttons(), event->modifiers(), event->pointingDevice());
    QSlider::mousePressEvent(&moved);
    event->setAccepted(moved.isAccepted());
}

} // namespace pigmora
