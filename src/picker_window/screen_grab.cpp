#include "screen_grab.h"

#include "eyedropper/pixel_picking.h"
#include "system_pointer.h"

#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>

namespace pigmora {

QList<ScreenPicture> grabScreens() {
    QList<ScreenPicture> pictures;
    const QList<QScreen*> screens = QGuiApplication::screens();
    for (qsizetype index = 0; index < screens.size(); ++index) {
        QScreen* screen = screens[index];
        // Window 0 is the whole screen; the picture comes in device pixels.
        QImage image = screen->grabWindow(0).toImage();
        if (image.isNull())
            continue;
        // The magnifier reads single pixels; the 32-bit form reads each without conversion.
        if (image.format() != QImage::Format_RGB32 && image.format() != QImage::Format_ARGB32 &&
            image.format() != QImage::Format_ARGB32_Premultiplied)
            image.convertTo(QImage::Format_RGB32);
        image.setDevicePixelRatio(1);
        ScreenPicture picture{std::move(image), screen->geometry(), screen->devicePixelRatio(),
                              screen};
        // A colour manager puts each screen's profile on the root window: _ICC_PROFILE for the
        // first screen, _ICC_PROFILE_1 and on for the others.
        const QByteArray name =
            index == 0 ? QByteArray("_ICC_PROFILE") : "_ICC_PROFILE_" + QByteArray::number(index);
        setScreenProfile(picture, rootWindowProperty(name.constData()));
        pictures.append(std::move(picture));
    }
    return pictures;
}

} // namespace pigmora
