#pragma once

#include <QObject>
#include <functional>

namespace pigmora {

// Runs `then` once the screen shows what lies under our menus: no popup of ours is open any
// more (a menu item's command runs while its menu is still closing), our windows have painted
// what the popup covered, the window system has carried that out, and other programs have had a
// frame's time to do the same. Nothing runs if `context` is gone first.
void whenScreenSettled(QObject* context, std::function<void()> then);

} // namespace pigmora
