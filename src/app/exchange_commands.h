#pragma once

#include <QString>
#include <QStringList>
#include <functional>

class QWidget;

namespace pigmora {

class ChannelEditor;
class Clipboard;
class Dialogs;
class SchemeList;
class SchemeStore;
struct PaletteReading;

// The commands of "E&xtras" that move colours in and out of the program: export all stored
// schemes to a file, import schemes from a file after a preview, and apply a CSS colour from
// the clipboard. A failure is told to the user and changes nothing: neither the scheme file,
// nor the list, nor the editor.
class ExchangeCommands {
public:
    ExchangeCommands(QWidget* owner, SchemeStore& store, SchemeList& list, ChannelEditor& channels,
                     Dialogs& dialogs);

    // Asks for a file and writes every stored scheme there, in stored order, as CSS, JSON, a
    // GIMP palette or design tokens: the format the file name's suffix names, else the chosen
    // filter's (a name without any suffix gets the filter's). Records that cannot be written
    // are counted and told. A named pipe or a device is written into, not replaced.
    void mnuExportieren_Click();
    // Asks for JSON, palette or design-token files, shows what they would add and refuse (for
    // design tokens with the pairing step), and on "Importieren" adds all of it, or the checked
    // pairs, in one transaction, the names in their sorted places in the list; the list's
    // selection stays.
    void mnuImportieren_Click();
    // Where the pairing step's "Im Raster zeigen" sends a palette: what was read, the files'
    // names, and the text and background patterns typed. Without it the button is not offered.
    using PaletteToGrid = std::function<void(const PaletteReading& palette, const QString& origin,
                                             const QString& rows, const QString& columns)>;
    void setPaletteToGrid(PaletteToGrid toGrid) { paletteToGrid_ = std::move(toGrid); }
    // Reads the clipboard's text as a CSS colour and sets the edited colour to it. A colour that
    // is not opaque is laid over the background when the text colour is edited, and refused
    // for the background; a colour outside sRGB is gamut-mapped. Either is told after the
    // colour is set.
    void mnuCssEinfügen_Click(const Clipboard& clipboard);

    // The save dialog's filters, in the order offered; the first is chosen at first.
    static QStringList exportFilters();
    static QString importFilter();

private:
    void tell(const QString& text, const QString& title);

    QWidget* owner_;
    SchemeStore& store_;
    SchemeList& list_;
    ChannelEditor& channels_;
    Dialogs& dialogs_;
    PaletteToGrid paletteToGrid_;
};

// What the user is told when an export left records out.
QString leftOutMessage(qint64 written, qint64 leftOut, const QString& path);

} // namespace pigmora
