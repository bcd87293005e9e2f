#include "pixel_picking.h"

#include "base/hex_digit.h"
#include "contrast/wcag.h"

#include <QColorSpace>
#include <algorithm>
#include <cmath>

namespace pigmora {

namespace {

int clampedFloor(double v, int size) {
    if (!(v >= 0)) // also NaN
        return 0;
    return int(std::min(std::floor(v), double(size - 1)));
}

} // namespace

QPoint devicePixelAt(const ScreenPicture& picture, QPointF logical) {
    const QPointF local = logical - QPointF(picture.geometry.topLeft());
    // A hair of slack: 10.5 * 2 is exactly 21, but a position Qt computed from native pixels
    // (21 / 2 * 2) may come out a unit in the last place below it.
    const double slack = 1e-9;
    return {clampedFloor(local.x() * picture.ratio + slack, picture.image.width()),
            clampedFloor(local.y() * picture.ratio + slack, picture.image.height())};
}

QPointF logicalCentreOf(const ScreenPicture& picture, QPoint pixel) {
    return QPointF(picture.geometry.topLeft()) +
           QPointF(pixel.x() + 0.5, pixel.y() + 0.5) / picture.ratio;
}

QPoint devicePixelAtNative(const ScreenPicture& picture, QPoint native) {
    const QPoint local = native - picture.geometry.topLeft();
    return {std::clamp(local.x(), 0, std::max(0, picture.image.width() - 1)),
            std::clamp(local.y(), 0, std::max(0, picture.image.height() - 1))};
}

bool showsNative(const ScreenPicture& picture, QPoint native) {
    return picture.image.rect().contains(native - picture.geometry.topLeft());
}

QPoint nativeOf(const ScreenPicture& picture, QPoint pixel) {
    return picture.geometry.topLeft() + pixel;
}

void setScreenProfile(ScreenPicture& picture, const QByteArray& icc) {
    if (icc.isEmpty())
        return;
    const QColorSpace space = QColorSpace::fromIccProfile(icc);
    if (!space.isValid() || space == QColorSpace(QColorSpace::SRgb))
        return;
    picture.toSrgb = space.transformationToColorSpace(QColorSpace(QColorSpace::SRgb));
    const QString name = space.description().simplified();
    picture.profile = name.isEmpty() ? QStringLiteral("ohne Namen") : name.left(60);
}

std::optional<QPoint> movedPixel(QPoint pixel, int key, Qt::KeyboardModifiers modifiers,
                                 QSize size) {
    // The keypad flag comes with arrow keys on some keyboards; it changes nothing.
    modifiers &= ~Qt::KeypadModifier;
    if (modifiers != Qt::NoModifier && modifiers != Qt::ShiftModifier)
        return std::nullopt;
    const int step = modifiers == Qt::ShiftModifier ? 10 : 1;
    QPoint to = pixel;
    switch (key) {
    case Qt::Key_Left:
        to.rx() -= step;
        break;
    case Qt::Key_Right:
        to.rx() += step;
        break;
    case Qt::Key_Up:
        to.ry() -= step;
        break;
    case Qt::Key_Down:
        to.ry() += step;
        break;
    default:
        return std::nullopt;
    }
    return QPoint(std::clamp(to.x(), 0, std::max(0, size.width() - 1)),
                  std::clamp(to.y(), 0, std::max(0, size.height() - 1)));
}

Rgb colourAt(const QImage& image, QPoint pixel) {
    const QRgb p = image.pixel(pixel);
    return {ChannelValue(qRed(p)), ChannelValue(qGreen(p)), ChannelValue(qBlue(p))};
}

Rgb colourAt(const ScreenPicture& picture, QPoint pixel) {
    if (picture.toSrgb.isIdentity())
        return colourAt(picture.image, pixel);
    const QRgb p = picture.toSrgb.map(picture.image.pixel(pixel) | 0xFF000000u);
    return {ChannelValue(qRed(p)), ChannelValue(qGreen(p)), ChannelValue(qBlue(p))};
}

MagnifierSamples magnifierSamples(const ScreenPicture& picture, QPoint centre) {
    MagnifierSamples s = magnifierSamples(picture.image, centre);
    if (!picture.toSrgb.isIdentity())
        for (auto& pixel : s.pixels)
            if (pixel) {
                const QRgb p = picture.toSrgb.map(qRgb(pixel->red, pixel->green, pixel->blue));
                pixel = Rgb{ChannelValue(qRed(p)), ChannelValue(qGreen(p)), ChannelValue(qBlue(p))};
            }
    return s;
}

MagnifierSamples magnifierSamples(const QImage& image, QPoint centre) {
    MagnifierSamples s;
    const int half = MagnifierSamples::side / 2;
    const QRect inside = image.rect();
    for (int row = 0; row < MagnifierSamples::side; ++row)
        for (int column = 0; column < MagnifierSamples::side; ++column) {
            const QPoint p = centre + QPoint(column - half, row - half);
            if (inside.contains(p))
                s.pixels[row * MagnifierSamples::side + column] = colourAt(image, p);
        }
    return s;
}

QString pickedHexText(Rgb colour) {
    return hashHexText(colour, LetterCase::Upper);
}

QString pickRatioText(Rgb picked, Rgb other) {
    return ratioText(contrastRatio(picked, other));
}

QString pickDescription(Rgb picked, Rgb other) {
    return QStringLiteral("%1, Kontrast %2 zu %3")
        .arg(pickedHexText(picked), pickRatioText(picked, other), pickedHexText(other));
}

} // namespace pigmora
