#pragma once

#include <QSlider>

namespace pigmora {

// A horizontal 0..255 slider whose `scrolled` signal comes only from the user (dragging the
// thumb, clicking the track, keys, the wheel) and only once the slider holds its new value.
// Writing the value from the program raises nothing. QSlider's own signals cannot tell the two
// apart: valueChanged fires for setValue too, and actionTriggered fires before the value moves.
// A click anywhere beside the thumb, not only on the thin groove, pages towards the click.
class ChannelSlider : public QSlider {
    Q_OBJECT
public:
    explicit ChannelSlider(QWidget* parent = nullptr);

    // Moves the slider as a user does, raising `scrolled` (for assistive technology, which
    // sets values directly).
    void moveAsUser(int value) { setSliderPosition(value); }

    // Makes assistive technology reach channel sliders through moveAsUser(). Once per program.
    static void installAccessibility();

signals:
    void scrolled();

protected:
    void mousePressEvent(QMouseEvent* event) override;

private:
    bool userMovePending_ = false;
};

} // namespace pigmora
