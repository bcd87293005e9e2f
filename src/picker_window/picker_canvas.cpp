#include "picker_canvas.h"

#include "eyedropper/pixel_picking.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

namespace pigmora {

namespace {

constexpr int cell = 10;                             // logical pixels a magnified pixel takes
constexpr int cells = MagnifierSamples::side * cell; // the magnified square
constexpr int border = 2;
constexpr int textHeight = 34; // two lines below the square
constexpr QSize boxSize(cells + 2 * border, cells + 2 * border + textHeight);
constexpr int offset = 24; // from the pointer to the magnifier's corner

QColor qcolour(Rgb c) {
    return QColor(c.red, c.green, c.blue);
}

} // namespace

PickerCanvas::PickerCanvas(ScreenPicture picture, Rgb other, QWidget* parent)
    : QWidget(parent)
    , picture_(std::move(picture))
    , other_(other) {
    setObjectName(QStringLiteral("picPipette"));
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setCursor(Qt::CrossCursor);
    setFixedSize(picture_.geometry.size());
    setAccessibleName(QStringLiteral("Bild, aus dem die Farbe gewählt wird"));
}

QSize PickerCanvas::sizeHint() const {
    return picture_.geometry.size();
}

Rgb PickerCanvas::colour() const {
    return colourAt(picture_.image, pixel_);
}

QString PickerCanvas::description() const {
    return pickDescription(colour(), other_);
}

QRect PickerCanvas::magnifierRect() const {
    return magnifying_ ? magnifierRectFor(anchor_) : QRect();
}

QRect PickerCanvas::magnifierRectFor(QPointF anchor) const {
    // Below and right of the pointer; where that leaves what is visible, on the other side.
    QRect visible = visibleRegion().boundingRect();
    if (visible.isEmpty())
        visible = rect();
    const QPoint at = anchor.toPoint();
    QRect box(at + QPoint(offset, offset), boxSize);
    if (box.right() > visible.right())
        box.moveRight(at.x() - offset);
    if (box.bottom() > visible.bottom())
        box.moveBottom(at.y() - offset);
    box.moveLeft(std::max(box.left(), visible.left()));
    box.moveTop(std::max(box.top(), visible.top()));
    return box;
}

void PickerCanvas::choose(QPoint pixel) {
    const QPoint kept(std::clamp(pixel.x(), 0, std::max(0, picture_.image.width() - 1)),
                      std::clamp(pixel.y(), 0, std::max(0, picture_.image.height() - 1)));
    moveMagnifier(kept, logicalCentreOf(picture_, kept) - QPointF(picture_.geometry.topLeft()));
}

void PickerCanvas::chooseAt(QPointF position) {
    const QPoint pixel = devicePixelAt(picture_, QPointF(picture_.geometry.topLeft()) + position);
    moveMagnifier(pixel, position);
}

void PickerCanvas::moveMagnifier(QPoint pixel, QPointF anchor) {
    const QRect before = magnifierRect();
    const bool changed = !magnifying_ || pixel != pixel_;
    pixel_ = pixel;
    anchor_ = anchor;
    magnifying_ = true;
    const QRect after = magnifierRect();
    if (before != after)
        update(QRegion(before) + after);
    else if (changed)
        update(after);
    if (changed)
        // The focused control says what the magnifier shows.
        setAccessibleDescription(description());
    emit chosen();
}

void PickerCanvas::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    const qreal ratio = picture_.ratio;
    for (const QRect& r : event->region()) {
        const QRectF source(r.x() * ratio, r.y() * ratio, r.width() * ratio, r.height() * ratio);
        painter.drawImage(QRectF(r), picture_.image, source);
    }
    if (magnifying_ && event->region().intersects(magnifierRect()))
        paintMagnifier(painter);
}

void PickerCanvas::paintMagnifier(QPainter& painter) const {
    const QRect box = magnifierRect();
    painter.fillRect(box, Qt::black);
    painter.fillRect(box.adjusted(1, 1, -1, -1), Qt::white);
    const QPoint square = box.topLeft() + QPoint(border, border);
    const MagnifierSamples samples = magnifierSamples(picture_.image, pixel_);
    const QBrush outside(Qt::gray, Qt::DiagCrossPattern);
    for (int row = 0; row < MagnifierSamples::side; ++row)
        for (int column = 0; column < MagnifierSamples::side; ++column) {
            const QRect r(square + QPoint(column * cell, row * cell), QSize(cell, cell));
            if (const auto& c = samples.at(column, row))
                painter.fillRect(r, qcolour(*c));
            else
                painter.fillRect(r, outside);
        }
    // The centre pixel in a frame that shows on light and dark pixels alike.
    const int half = MagnifierSamples::side / 2;
    const QRect centre(square + QPoint(half * cell, half * cell), QSize(cell, cell));
    painter.setPen(Qt::black);
    painter.drawRect(centre.adjusted(-2, -2, 1, 1));
    painter.setPen(Qt::white);
    painter.drawRect(centre.adjusted(-1, -1, 0, 0));

    const Rgb picked = colour();
    const QRect text(box.left() + border + 2, square.y() + cells + 1, cells - 4, textHeight - 2);
    const int line = text.height() / 2;
    painter.setPen(Qt::black);
    painter.drawText(QRect(text.topLeft(), QSize(text.width(), line)), Qt::AlignCenter,
                     pickedHexText(picked));
    // The ratio, after a swatch of the colour it is measured against.
    const QRect second(text.left(), text.top() + line, text.width(), line);
    const QRect swatch(second.left() + 4, second.center().y() - 5, 10, 10);
    painter.fillRect(swatch, qcolour(other_));
    painter.drawRect(swatch.adjusted(0, 0, -1, -1));
    painter.drawText(second.adjusted(18, 0, 0, 0), Qt::AlignCenter, pickRatioText(picked, other_));
}

void PickerCanvas::mouseMoveEvent(QMouseEvent* event) {
    chooseAt(event->position());
}

void PickerCanvas::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        chooseAt(event->position());
        emit picked(colour());
    } else if (event->button() == Qt::RightButton) {
        emit cancelled();
    }
}

void PickerCanvas::keyPressEvent(QKeyEvent* event) {
    const auto modifiers = event->modifiers() & ~Qt::KeypadModifier;
    if (const auto to =
            movedPixel(pixel_, event->key(), event->modifiers(), picture_.image.size())) {
        choose(*to);
    } else if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
               modifiers == Qt::NoModifier) {
        emit picked(colour());
    } else if (event->key() == Qt::Key_Escape && modifiers == Qt::NoModifier) {
        emit cancelled();
    } else {
        QWidget::keyPressEvent(event);
    }
}

void PickerCanvas::leaveEvent(QEvent* event) {
    // With a picture on every screen, only the one under the pointer magnifies.
    if (magnifying_) {
        update(magnifierRect());
        magnifying_ = false;
    }
    QWidget::leaveEvent(event);
}

} // namespace pigmora
