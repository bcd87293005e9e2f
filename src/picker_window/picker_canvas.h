#pragma once

#include "base/colour_value.h"
#include "eyedropper/screen_picture.h"

#include <QWidget>

namespace pigmora {

// One frozen picture at its logical size, and beside the pointer the magnifier: the 11 x 11
// device pixels around the one under the pointer, each ten logical pixels wide, the centre pixel
// framed, with its hexadecimal value and the WCAG ratio against the other colour of the pair.
// The mouse and the arrow keys (one device pixel, Shift ten) choose the pixel; Enter or a left
// click picks it, Escape or a right click cancels.
class PickerCanvas : public QWidget {
    Q_OBJECT
public:
    PickerCanvas(ScreenPicture picture, Rgb other, QWidget* parent = nullptr);

    const ScreenPicture& picture() const { return picture_; }
    // The device pixel chosen now, and whether the magnifier shows it.
    QPoint pixel() const { return pixel_; }
    bool magnifying() const { return magnifying_; }
    Rgb colour() const;
    // "#1A2B3C, Kontrast 4,47:1 zu #FFFFFF".
    QString description() const;
    // Where the magnifier is painted, in the canvas's coordinates (empty while hidden).
    QRect magnifierRect() const;

    // Chooses a pixel (kept inside the picture) and shows the magnifier there.
    void choose(QPoint pixel);

    QSize sizeHint() const override;

signals:
    void picked(pigmora::Rgb colour);
    void cancelled();
    // Another pixel is chosen; description() tells it.
    void chosen();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    void chooseAt(QPointF position);
    void moveMagnifier(QPoint pixel, QPointF anchor);
    QRect magnifierRectFor(QPointF anchor) const;
    void paintMagnifier(QPainter& painter) const;

    ScreenPicture picture_;
    Rgb other_;
    QPoint pixel_;
    QPointF anchor_; // the pointer's position the magnifier sits beside
    bool magnifying_ = false;
};

} // namespace pigmora
