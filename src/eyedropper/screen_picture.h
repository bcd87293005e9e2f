#pragma once

#include <QImage>
#include <QRect>

class QScreen;

namespace pigmora {

// A frozen picture of one screen (or of an image file): its pixels in device pixels, where it
// lies in logical coordinates and how many device pixels make one logical pixel.
struct ScreenPicture {
    QImage image;
    QRect geometry;
    qreal ratio = 1;
    // The screen it shows; none for an image file or a picture made by a test.
    QScreen* screen = nullptr;
};

} // namespace pigmora
