#pragma once

#include <QList>

class QAction;
class QMenuBar;

namespace pigmora {

// The items of the menu bar that do something, each named as the code addresses it.
struct MenuActions {
    QAction* mnuEnde = nullptr;
    QAction* mnuDez = nullptr;
    QAction* mnuHex = nullptr;
    QAction* mnuVorder = nullptr;
    QAction* mnuHinter = nullptr;
    QAction* mnuSchrift = nullptr;
    QAction* mnuKopieren = nullptr;
    QAction* mnuWahl = nullptr;
    QAction* mnuHilfe = nullptr;
    QAction* mnuInfo = nullptr;
    // "E&xtras": commands beyond the classic window's.
    QAction* mnuKontrast = nullptr;
    QAction* mnuRaster = nullptr;
    QAction* mnuSeite = nullptr;
    QAction* mnuBildschirm = nullptr;
    QAction* mnuBild = nullptr;
    QAction* mnuPaar = nullptr;
    QAction* mnuExportieren = nullptr;
    QAction* mnuImportieren = nullptr;
    QAction* mnuCssEinfügen = nullptr;

    QList<QAction*> all() const;
};

// Builds "&Datei", "&Bearbeiten" (with the submenu "&Modus"), "E&xtras" and "&Hilfe" with their
// items, shortcuts and starting check marks.
MenuActions buildMenuTree(QMenuBar* bar);

} // namespace pigmora
