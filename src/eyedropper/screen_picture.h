#pragma once

#include <QByteArray>
#include <QColorTransform>
#include <QImage>
#include <QRect>
#include <QString>

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
    // Where the screen has a colour profile other than sRGB: the conversion its pixels take
    // before they are read (the picture itself is shown as it was taken), and the profile's name.
    QColorTransform toSrgb = {};
    QString profile = {};
};

// Gives a picture the colour profile of its screen (ICC bytes, as a colour manager sets them on
// the X root window). Bytes that are no profile, and a profile that is sRGB, change nothing.
void setScreenProfile(ScreenPicture& picture, const QByteArray& icc);

} // namespace pigmora
