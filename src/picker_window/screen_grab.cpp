#include "screen_grab.h"

#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>

namespace pigmora {

QList<ScreenPicture> grabScreens() {
    QList<ScreenPicture> pictures;
    for (QScreen* screen : QGuiApplication::screens()) {
        // Window 0 is the whole screen; the picture comes in device pixels.
        QImage image = screen->grabWindow(0).toImage();
        if (image.isNull())
            continue;
        // The magnifier reads single pixels; the 32-bit form reads each without conversion.
        if (image.format() != QImage::Format_RGB32 && image.format() != QImage::Format_ARGB32 &&
            image.format() != QImage::Format_ARGB32_Premultiplied)
            image.convertTo(QImage::Format_RGB32);
        image.setDevicePixelRatio(1);
        pictures.append({std::move(image), screen->geometry(), screen->devicePixelRatio(), screen});
    }
    return pictures;
}

} // namespace pigmora
