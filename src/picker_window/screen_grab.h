#pragma once

#include "eyedropper/screen_picture.h"

#include <QList>
#include <functional>

namespace pigmora {

// Takes the pictures the screen picker shows; tests hand it pictures of their own.
using ScreenSource = std::function<QList<ScreenPicture>()>;

// A picture of every screen, in device pixels, as the window system has it now, with the colour
// profile the X root window names for it. A screen whose picture cannot be taken is left out.
QList<ScreenPicture> grabScreens();

} // namespace pigmora
