#pragma once

#include "base/colour_value.h"
#include "screen_picture.h"

#include <QPoint>
#include <QString>
#include <array>
#include <optional>

namespace pigmora {

// The device pixel under a logical position (global, as the picture's geometry is), kept inside
// the picture. A position between two device pixels belongs to the one on its right or below:
// (10.5, 0) on a picture of ratio 2 at the origin is pixel (21, 0).
QPoint devicePixelAt(const ScreenPicture& picture, QPointF logical);

// The logical position of a device pixel's centre, the inverse of devicePixelAt.
QPointF logicalCentreOf(const ScreenPicture& picture, QPoint pixel);

// The device pixel under a native pointer position (global device pixels, as the window system
// reports the pointer), kept inside the picture. A screen's native origin is its logical one: Qt
// scales a screen's size, never where it begins.
QPoint devicePixelAtNative(const ScreenPicture& picture, QPoint native);
// Whether a native position lies on the picture's screen.
bool showsNative(const ScreenPicture& picture, QPoint native);
// The native position of a device pixel, the inverse of devicePixelAtNative.
QPoint nativeOf(const ScreenPicture& picture, QPoint pixel);

// Where an arrow key moves the picked pixel: one device pixel, with Shift ten, never out of a
// picture of `size` device pixels. Empty for any other key or modifier.
std::optional<QPoint> movedPixel(QPoint pixel, int key, Qt::KeyboardModifiers modifiers,
                                 QSize size);

// The pixels the magnifier shows: 11 x 11 around a centre, row by row; empty where the square
// reaches past the image's edge.
struct MagnifierSamples {
    static constexpr int side = 11;
    std::array<std::optional<Rgb>, side * side> pixels;
    const std::optional<Rgb>& at(int column, int row) const { return pixels[row * side + column]; }
};
MagnifierSamples magnifierSamples(const QImage& image, QPoint centre);
MagnifierSamples magnifierSamples(const ScreenPicture& picture, QPoint centre);

// The colour of one pixel of an image; alpha is ignored.
Rgb colourAt(const QImage& image, QPoint pixel);
// The colour of one pixel of a picture, converted from its screen's profile to sRGB.
Rgb colourAt(const ScreenPicture& picture, QPoint pixel);

// "#1A2B3C".
QString pickedHexText(Rgb colour);
// The WCAG ratio a picked colour gives against the other colour of the pair: "4,47:1".
QString pickRatioText(Rgb picked, Rgb other);
// What the magnifier says of a pixel, for the eye and for a screen reader:
// "#1A2B3C, Kontrast 4,47:1 zu #FFFFFF".
QString pickDescription(Rgb picked, Rgb other);

} // namespace pigmora
