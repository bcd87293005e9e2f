#include "menu_tree.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

namespace pigmora {

namespace {

QMenu* menu(QWidget* parent, const char* name, const char* caption) {
    auto* m = new QMenu(QString::fromUtf8(caption), parent);
    m->setObjectName(QString::fromUtf8(name));
    m->menuAction()->setObjectName(QString::fromUtf8(name));
    return m;
}

QAction* item(QMenu* menu, const char* name, const char* caption, QKeySequence shortcut = {}) {
    QAction* a = menu->addAction(QString::fromUtf8(caption));
    a->setObjectName(QString::fromUtf8(name));
    a->setShortcut(shortcut);
    return a;
}

QAction* checkItem(QMenu* menu, const char* name, const char* caption, QKeySequence shortcut,
                   bool checked) {
    QAction* a = item(menu, name, caption, shortcut);
    a->setCheckable(true);
    a->setChecked(checked);
    return a;
}

void separator(QMenu* menu, const char* name) {
    menu->addSeparator()->setObjectName(QString::fromUtf8(name));
}

} // namespace

QList<QAction*> MenuActions::all() const {
    return {mnuEnde,     mnuDez,         mnuHex,         mnuVorder,     mnuHinter,
            mnuSchrift,  mnuKopieren,    mnuWahl,        mnuHilfe,      mnuInfo,
            mnuKontrast, mnuRaster,      mnuSeite,       mnuBildschirm, mnuBild,
            mnuPaar,     mnuExportieren, mnuImportieren, mnuCssEinfügen};
}

MenuActions buildMenuTree(QMenuBar* bar) {
    MenuActions m;

    QMenu* datei = menu(bar, "mnuDatei", "&Datei");
    m.mnuEnde = item(datei, "mnuEnde", "&Ende");

    QMenu* bearbeiten = menu(bar, "mnuBearbeiten", "&Bearbeiten");
    QMenu* modus = menu(bearbeiten, "mnuModus", "&Modus");
    m.mnuDez = checkItem(modus, "mnuDez", "&Dez", QKeySequence(Qt::CTRL | Qt::Key_D), true);
    m.mnuHex = checkItem(modus, "mnuHex", "&Hex", QKeySequence(Qt::CTRL | Qt::Key_H), false);
    separator(modus, "xxx");
    m.mnuVorder = checkItem(modus, "mnuVorder", "&Vordergrundfarbe",
                            QKeySequence(Qt::CTRL | Qt::Key_V), false);
    m.mnuHinter = checkItem(modus, "mnuHinter", "H&intergrundfarbe",
                            QKeySequence(Qt::CTRL | Qt::Key_I), true);
    separator(modus, "xxxxxxxxxxxxxx");
    m.mnuSchrift = item(modus, "mnuSchrift", "&Schrift", QKeySequence(Qt::CTRL | Qt::Key_S));
    bearbeiten->addMenu(modus);
    separator(bearbeiten, "xxxx");
    m.mnuKopieren =
        item(bearbeiten, "mnuKopieren", "&Farbe kopieren", QKeySequence(Qt::CTRL | Qt::Key_C));
    m.mnuWahl = item(bearbeiten, "mnuWahl", "Farbe &wählen", QKeySequence(Qt::CTRL | Qt::Key_W));

    QMenu* extras = menu(bar, "mnuExtras", "E&xtras");
    m.mnuKontrast = item(extras, "mnuKontrast", "&Kontrast...", QKeySequence(Qt::CTRL | Qt::Key_K));
    m.mnuRaster =
        item(extras, "mnuRaster", "Kontrast&raster...", QKeySequence(Qt::CTRL | Qt::Key_R));
    m.mnuSeite = item(extras, "mnuSeite", "&Seite prüfen...");
    m.mnuBildschirm = item(extras, "mnuBildschirm", "Farbe vom &Bildschirm...",
                           QKeySequence(Qt::CTRL | Qt::Key_B));
    m.mnuBild = item(extras, "mnuBild", "Farbe aus B&ild...",
                     QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_B));
    m.mnuPaar = item(extras, "mnuPaar", "&Paar vom Bildschirm...",
                     QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_P));
    separator(extras, "mnuExtrasTrenner1");
    m.mnuExportieren = item(extras, "mnuExportieren", "Farbschemata &exportieren...",
                            QKeySequence(Qt::CTRL | Qt::Key_E));
    m.mnuImportieren = item(extras, "mnuImportieren", "Farbschemata &importieren...");
    separator(extras, "mnuExtrasTrenner2");
    m.mnuCssEinfügen = item(extras, "mnuCssEinfügen", "CSS-Farbe &einfügen",
                            QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_V));

    QMenu* hilfe = menu(bar, "mnuHilfex", "&Hilfe");
    m.mnuHilfe = item(hilfe, "mnuHilfe", "&Hilfe", QKeySequence(Qt::Key_F1));
    separator(hilfe, "xxxxxx");
    m.mnuInfo = item(hilfe, "mnuInfo", "&Info", QKeySequence(Qt::SHIFT | Qt::Key_F1));

    bar->addMenu(datei);
    bar->addMenu(bearbeiten);
    bar->addMenu(extras);
    bar->addMenu(hilfe);
    return m;
}

} // namespace pigmora
