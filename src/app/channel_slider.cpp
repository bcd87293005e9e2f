#include "channel_slider.h"

#include <QMouseEvent>
#include <QStyle>
#include <QStyleOptionSlider>

namespace pigmora {

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
