#pragma once

#include <QAccessible>
#include <functional>

class QWidget;

// How a widget reaches assistive technology (a screen reader through AT-SPI, say) where Qt's
// own accessible interface would give it the wrong role or read its text a second time. Each
// setting is kept on the widget; the interface made for it reads them whenever it is asked, so
// a setting may change at any time.
namespace pigmora {

// Installs the interfaces behind the settings below and the menu items of
// menu_item_accessible.h. Once, before the first window is shown.
void installAccessibility();

// The widget's role: a top-level QWidget as a window (QAccessible::Window, a "frame" to
// AT-SPI) rather than a "filler", a framed section as a group, a line as a separator.
void setAccessibleRole(QWidget* widget, QAccessible::Role role);

// Leaves the widget out of what its parent tells assistive technology: a caption whose text is
// already part of another control's name, a swatch that shows no colour. The widget stays as
// it is on the screen.
void setAccessibleHidden(QWidget* widget, bool hidden);

// Gives the widget the action "Press", which does what a click does. It runs once the call
// has returned to the assistive technology, so a dialog it opens does not hold that call.
// `checked`, when given, makes the widget a toggle button that is pressed while it is true.
void setAccessiblePress(QWidget* widget, std::function<void()> press,
                        std::function<bool()> checked = {});

// Tells assistive technology that the pressed state of such a toggle changed.
void notifyAccessibleToggled(QWidget* widget);

} // namespace pigmora
