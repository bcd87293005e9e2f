#pragma once

class QAccessibleInterface;
class QObject;
class QString;

namespace pigmora {

// The interface of one of our menu items ("mnu..."), made in place of Qt's. It says what Qt's
// says (name, shortcut, check mark, submenu), but its "Press" triggers the item only after the
// call from the assistive technology has returned: Qt's triggers it inside that call, so a
// command that opens a modal dialog (Info, Farbe wählen, Schrift ...) would hold the screen
// reader until the dialog closes. For the mouse and the keyboard nothing changes.
QAccessibleInterface* menuItemAccessible(const QString& className, QObject* object);

} // namespace pigmora
