#include "picker_canvas.h"

#include "eyedropper/pixel_picking.h"
#include "system_pointer.h"

#include <QApplication>
#include <QCursor>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScreen>
#include <cmath>

namespace pigmora {

namespace {

constexpr int cell = 10;                             // logical pixels a magnified pixel takes
constexpr int cells = MagnifierSamples::side * cell; // the magnified square
constexpr int border = 2;
constexpr int textLine = 17;
constexpr QSize panelSize(250, 4 * textLine + 2 * border + 6);
constexpr int offset = 24;     // from the pointer to the magnifier's corner
constexpr int hintMargin = 16; // from the hint line to the edge of what is visible
constexpr int keepClear = 24;  // around the chosen pixel, where the hint line never lies

QColor qcolour(Rgb c) {
    return QColor(c.red, c.green, c.blue);
}

// The frame of a rectangle, two pixels wide.
QRegion frameOf(const QRect& outer) {
    if (outer.isEmpty())
        return {};
    return QRegion(outer) - QRegion(outer.adjusted(2, 2, -2, -2));
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

void PickerCanvas::setPointer(PointerDevice* pointer, bool screenPicture) {
    pointer_ = pointer;
    screenPicture_ = screenPicture;
}

void PickerCanvas::setHint(const QString& hint) {
    hint_ = hint;
    refreshShown();
}

Rgb PickerCanvas::colour() const {
    return colourAt(picture_, pixel_);
}

QString PickerCanvas::description() const {
    if (dragging_ && pair_.kind != PairFinding::Kind::Nothing)
        return pairDescription(pair_);
    return pickDescription(colour(), other_);
}

QRect PickerCanvas::magnifierRect() const {
    if (!magnifying_)
        return {};
    if (dragging_)
        return boxFor(anchor_, panelSize);
    // Two lines below the square, a third naming the screen's profile.
    const int lines = picture_.profile.isEmpty() ? 2 : 3;
    return boxFor(anchor_, QSize(cells + 2 * border, cells + 2 * border + lines * textLine));
}

QRect PickerCanvas::boxFor(QPointF anchor, QSize size) const {
    // Below and right of the pointer; where that leaves what is visible, on the other side.
    QRect visible = visibleRegion().boundingRect();
    if (visible.isEmpty())
        visible = rect();
    const QPoint at = anchor.toPoint();
    QRect box(at + QPoint(offset, offset), size);
    if (box.right() > visible.right())
        box.moveRight(at.x() - offset);
    if (box.bottom() > visible.bottom())
        box.moveBottom(at.y() - offset);
    box.moveLeft(std::max(box.left(), visible.left()));
    box.moveTop(std::max(box.top(), visible.top()));
    return box;
}

QRect PickerCanvas::hintRect() const {
    return hintRectFor(magnifierRect());
}

QRect PickerCanvas::hintRectFor(const QRect& box) const {
    if (hint_.isEmpty())
        return {};
    QRect visible = visibleRegion().boundingRect();
    if (visible.isEmpty())
        visible = rect();
    const QFontMetrics metrics = fontMetrics();
    const QSize size(std::min(metrics.horizontalAdvance(hint_) + 24, visible.width()),
                     metrics.height() + 10);
    QRect line(QPoint(0, 0), size);
    line.moveCenter(visible.center());
    line.moveBottom(visible.bottom() - hintMargin);
    // Never over the magnifier, the pixel being judged or the rectangle being dragged: at the
    // bottom, or else at the top.
    QRegion avoid(box);
    if (magnifying_)
        avoid += QRect(anchor_.toPoint() - QPoint(keepClear, keepClear),
                       QSize(2 * keepClear, 2 * keepClear));
    avoid += dragOutline();
    if (avoid.intersects(line))
        line.moveTop(visible.top() + hintMargin);
    return line;
}

QRect PickerCanvas::dragRect() const {
    if (!dragging_)
        return {};
    return QRect(
        QPoint(std::min(pressedPixel_.x(), pixel_.x()), std::min(pressedPixel_.y(), pixel_.y())),
        QPoint(std::max(pressedPixel_.x(), pixel_.x()), std::max(pressedPixel_.y(), pixel_.y())));
}

QRect PickerCanvas::dragOutline() const {
    const QRect r = dragRect();
    if (r.isEmpty())
        return {};
    const qreal ratio = picture_.ratio;
    // Around the pixels, not over them.
    return QRectF(r.x() / ratio, r.y() / ratio, r.width() / ratio, r.height() / ratio)
        .toAlignedRect()
        .adjusted(-2, -2, 2, 2);
}

void PickerCanvas::refreshShown() {
    const QRect box = magnifierRect();
    const QRect hint = hintRectFor(box);
    const QRect outline = dragOutline();
    QRegion dirty = QRegion(shownBox_) + box;
    if (hint != shownHint_)
        dirty += QRegion(shownHint_) + hint;
    if (outline != shownOutline_)
        dirty += frameOf(shownOutline_) + frameOf(outline);
    shownBox_ = box;
    shownHint_ = hint;
    shownOutline_ = outline;
    if (!dirty.isEmpty())
        update(dirty);
}

void PickerCanvas::choose(QPoint pixel) {
    const QPoint kept(std::clamp(pixel.x(), 0, std::max(0, picture_.image.width() - 1)),
                      std::clamp(pixel.y(), 0, std::max(0, picture_.image.height() - 1)));
    moveMagnifier(kept, logicalCentreOf(picture_, kept) - QPointF(picture_.geometry.topLeft()));
}

void PickerCanvas::viewMoved() {
    if (magnifying_ && !byKeys_ && underMouse()) {
        const QPointF at = mapFromGlobal(QCursor::pos());
        moveMagnifier(pixelUnderPointer(at), at);
    } else {
        refreshShown();
    }
}

QPoint PickerCanvas::pixelUnderPointer(QPointF position) const {
    const QPointF origin(picture_.geometry.topLeft());
    if (pointer_) {
        if (const auto native = pointer_->position()) {
            if (screenPicture_) {
                if (showsNative(picture_, *native))
                    return devicePixelAtNative(picture_, *native);
            } else if (const QScreen* s = screen()) {
                // The device pixel of the screen, taken back to this widget's logical pixels.
                const QPointF screenOrigin(s->geometry().topLeft());
                const QPointF global =
                    screenOrigin + (QPointF(*native) - screenOrigin) / s->devicePixelRatio();
                return devicePixelAt(picture_, origin + mapFromGlobal(global));
            }
        }
    }
    return devicePixelAt(picture_, origin + position);
}

void PickerCanvas::movePointerTo(QPoint pixel) {
    if (!pointer_)
        return;
    if (screenPicture_) {
        pointer_->moveTo(nativeOf(picture_, pixel));
        return;
    }
    const QScreen* s = screen();
    if (!s)
        return;
    const QPointF global =
        mapToGlobal(logicalCentreOf(picture_, pixel) - QPointF(picture_.geometry.topLeft()));
    const QPointF screenOrigin(s->geometry().topLeft());
    const QPointF device = (global - screenOrigin) * s->devicePixelRatio();
    pointer_->moveTo(screenOrigin.toPoint() +
                     QPoint(int(std::floor(device.x())), int(std::floor(device.y()))));
}

void PickerCanvas::moveMagnifier(QPoint pixel, QPointF anchor) {
    const bool changed = !magnifying_ || pixel != pixel_;
    pixel_ = pixel;
    anchor_ = anchor;
    magnifying_ = true;
    if (dragging_ && (changed || pair_.kind == PairFinding::Kind::Nothing))
        pair_ = finder_.find(picture_.image, dragRect(), picture_.toSrgb);
    refreshShown();
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
    const QRect outline = dragOutline();
    if (!outline.isEmpty() && event->region().intersects(frameOf(outline))) {
        painter.setPen(QPen(Qt::black, 1));
        painter.drawRect(outline.adjusted(0, 0, -1, -1));
        painter.setPen(QPen(Qt::white, 1, Qt::DashLine));
        painter.drawRect(outline.adjusted(1, 1, -2, -2));
    }
    if (magnifying_ && event->region().intersects(magnifierRect())) {
        if (dragging_)
            paintPairPanel(painter);
        else
            paintMagnifier(painter);
    }
    if (!hint_.isEmpty() && event->region().intersects(hintRect()))
        paintHint(painter);
}

void PickerCanvas::paintMagnifier(QPainter& painter) const {
    const QRect box = magnifierRect();
    painter.fillRect(box, Qt::black);
    painter.fillRect(box.adjusted(1, 1, -1, -1), Qt::white);
    const QPoint square = box.topLeft() + QPoint(border, border);
    const MagnifierSamples samples = magnifierSamples(picture_, pixel_);
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
    const int left = box.left() + border + 2;
    const int width = cells - 4;
    const int top = square.y() + cells + 1;
    painter.setPen(Qt::black);
    painter.drawText(QRect(left, top, width, textLine), Qt::AlignCenter, pickedHexText(picked));
    // The ratio, after a swatch of the colour it is measured against.
    const QRect second(left, top + textLine, width, textLine);
    const QRect swatch(second.left() + 4, second.center().y() - 5, 10, 10);
    painter.fillRect(swatch, qcolour(other_));
    painter.drawRect(swatch.adjusted(0, 0, -1, -1));
    painter.drawText(second.adjusted(18, 0, 0, 0), Qt::AlignCenter, pickRatioText(picked, other_));
    if (!picture_.profile.isEmpty()) {
        // The value shown is converted from the screen's profile; say from which.
        const QRect third(left, top + 2 * textLine, width, textLine);
        QFont small = painter.font();
        small.setPointSizeF(small.pointSizeF() * 0.8);
        painter.setFont(small);
        painter.drawText(third, Qt::AlignCenter,
                         painter.fontMetrics().elidedText(QStringLiteral("aus ") + picture_.profile,
                                                          Qt::ElideRight, width));
        painter.setFont(font());
    }
}

void PickerCanvas::paintPairPanel(QPainter& painter) const {
    const QRect box = magnifierRect();
    painter.fillRect(box, Qt::black);
    painter.fillRect(box.adjusted(1, 1, -1, -1), Qt::white);
    painter.setPen(Qt::black);
    const QRect inner = box.adjusted(border + 6, border + 3, -border - 6, -border - 3);
    const auto line = [&](int index) {
        return QRect(inner.left(), inner.top() + index * textLine, inner.width(), textLine);
    };
    const auto swatched = [&](int index, Rgb colour, const QString& text) {
        const QRect r = line(index);
        const QRect swatch(r.left(), r.center().y() - 5, 10, 10);
        painter.fillRect(swatch, qcolour(colour));
        painter.drawRect(swatch.adjusted(0, 0, -1, -1));
        painter.drawText(r.adjusted(16, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, text);
    };
    const PairFinding& p = pair_;
    if (p.kind != PairFinding::Kind::Pair) {
        painter.drawText(line(0), Qt::AlignLeft | Qt::AlignVCenter,
                         QStringLiteral("Rechteck über einen Text ziehen"));
        if (p.kind == PairFinding::Kind::OneColour)
            swatched(1, p.background,
                     QStringLiteral("Nur eine Farbe: %1").arg(pickedHexText(p.background)));
        return;
    }
    swatched(0, p.text, QStringLiteral("Text %1").arg(pickedHexText(p.text)));
    swatched(1, p.background, QStringLiteral("Hintergrund %1").arg(pickedHexText(p.background)));
    if (!p.backgroundUniform)
        painter.drawText(line(2), Qt::AlignLeft | Qt::AlignVCenter,
                         QStringLiteral("nicht einfarbig: %1 bis %2")
                             .arg(pickedHexText(p.darkest), pickedHexText(p.lightest)));
    painter.drawText(line(3), Qt::AlignLeft | Qt::AlignVCenter,
                     QStringLiteral("Kontrast %1").arg(pickRatioText(p.text, p.background)));
}

void PickerCanvas::paintHint(QPainter& painter) const {
    const QRect line = hintRect();
    painter.fillRect(line, QColor(0, 0, 0, 200));
    painter.setPen(Qt::white);
    painter.drawText(line, Qt::AlignCenter,
                     painter.fontMetrics().elidedText(hint_, Qt::ElideRight, line.width() - 8));
}

void PickerCanvas::mouseMoveEvent(QMouseEvent* event) {
    byKeys_ = false;
    const QPointF at = event->position();
    if (pressed_ && !dragging_ &&
        (at - pressedAt_).manhattanLength() >= QApplication::startDragDistance()) {
        dragging_ = true;
        pair_ = {};
    }
    moveMagnifier(pixelUnderPointer(at), at);
}

void PickerCanvas::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        byKeys_ = false;
        pressed_ = true;
        pressedAt_ = event->position();
        moveMagnifier(pixelUnderPointer(pressedAt_), pressedAt_);
        pressedPixel_ = pixel_;
    } else if (event->button() == Qt::RightButton) {
        emit cancelled();
    }
}

void PickerCanvas::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !pressed_)
        return;
    pressed_ = false;
    if (dragging_)
        emit pairPicked(pair_);
    else
        emit picked(colour());
}

void PickerCanvas::keyPressEvent(QKeyEvent* event) {
    const auto modifiers = event->modifiers() & ~Qt::KeypadModifier;
    if (const auto to =
            movedPixel(pixel_, event->key(), event->modifiers(), picture_.image.size())) {
        byKeys_ = true;
        choose(*to); // a scrolled view follows it here
        movePointerTo(*to);
    } else if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
               modifiers == Qt::NoModifier) {
        if (dragging_)
            emit pairPicked(pair_);
        else
            emit picked(colour());
    } else if (event->key() == Qt::Key_Escape && modifiers == Qt::NoModifier) {
        emit cancelled();
    } else {
        QWidget::keyPressEvent(event);
    }
}

void PickerCanvas::leaveEvent(QEvent* event) {
    // With a picture on every screen, only the one under the pointer magnifies; a drag keeps it.
    if (magnifying_ && !pressed_) {
        magnifying_ = false;
        refreshShown();
    }
    QWidget::leaveEvent(event);
}

} // namespace pigmora
