#pragma once

#include "base/colour_value.h"
#include "eyedropper/pair_finder.h"
#include "eyedropper/screen_picture.h"

#include <QWidget>

namespace pigmora {

class PointerDevice;

// One frozen picture at its logical size, and beside the pointer the magnifier: the 11 x 11
// device pixels around the one under the pointer, each ten logical pixels wide, the centre pixel
// framed, with its hexadecimal value and the WCAG ratio against the other colour of the pair.
// The mouse and the arrow keys (one device pixel, Shift ten) choose the pixel; Enter or a left
// click picks it, Escape or a right click cancels. A drag of the left button spans a rectangle:
// while it is dragged a panel shows the text colour and the background found in it, and the
// release (or Enter) picks that pair.
class PickerCanvas : public QWidget {
    Q_OBJECT
public:
    PickerCanvas(ScreenPicture picture, Rgb other, QWidget* parent = nullptr);

    const ScreenPicture& picture() const { return picture_; }
    // The device pixel chosen now.
    QPoint pixel() const { return pixel_; }
    Rgb colour() const;
    // "#1A2B3C, Kontrast 4,47:1 zu #FFFFFF"; while a rectangle is dragged, its pair.
    QString description() const;
    // Where the magnifier (or the pair's panel) is painted, in the canvas's coordinates (empty
    // while hidden).
    QRect magnifierRect() const;

    // The pointer as the window system has it: positions are taken from it, not from Qt's
    // logical ones, and the arrow keys move it along. `screenPicture` says that the picture's
    // geometry is where it lies on the desktop; otherwise it is shown through this widget (an
    // image file). Without one, the mouse events' positions are taken.
    void setPointer(PointerDevice* pointer, bool screenPicture);
    // A line painted over the picture, away from the magnifier and the chosen pixel; none
    // without one.
    void setHint(const QString& hint);
    QString hint() const { return hint_; }
    QRect hintRect() const;

    // The rectangle being dragged, in device pixels of the picture; empty while none is.
    QRect dragRect() const;
    const PairFinding& pair() const { return pair_; }
    // Whether the last pixel was chosen by a key (so a scrolled view follows it).
    bool chosenByKeys() const { return byKeys_; }

    // Chooses a pixel (kept inside the picture) and shows the magnifier there.
    void choose(QPoint pixel);
    // The visible part moved (a scrolled view): the magnifier and the hint follow.
    void viewMoved();

    QSize sizeHint() const override;

signals:
    void picked(pigmora::Rgb colour);
    void pairPicked(const pigmora::PairFinding& pair);
    void cancelled();
    // Another pixel is chosen; description() tells it.
    void chosen();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    QPoint pixelUnderPointer(QPointF position) const;
    void movePointerTo(QPoint pixel);
    void moveMagnifier(QPoint pixel, QPointF anchor);
    QRect boxFor(QPointF anchor, QSize size) const;
    QRect hintRectFor(const QRect& box) const;
    QRect dragOutline() const;
    void refreshShown();
    void paintMagnifier(QPainter& painter) const;
    void paintPairPanel(QPainter& painter) const;
    void paintHint(QPainter& painter) const;

    ScreenPicture picture_;
    Rgb other_;
    PointerDevice* pointer_ = nullptr;
    bool screenPicture_ = true;
    QPoint pixel_;
    QPointF anchor_; // the pointer's position the magnifier sits beside
    bool magnifying_ = false;
    bool byKeys_ = false;
    QString hint_;
    // What was painted last, so its place is repainted when it moves.
    QRect shownBox_;
    QRect shownHint_;
    QRect shownOutline_;
    // The drag: where the button went down, whether it became a drag, what it holds.
    bool pressed_ = false;
    bool dragging_ = false;
    QPoint pressedPixel_;
    QPointF pressedAt_;
    PairFinding pair_;
    PairFinder finder_;
};

} // namespace pigmora
