#pragma once

#include "common_dialog.h"

class QWidget;

namespace pigmora {

class ChannelEditor;
class Clipboard;
class Dialogs;
struct EditorState;

// The main window's commands that work through the platform: copy the edited colour, choose
// it in the colour dialog, choose the sample's font, the help message and the About window.
class MenuCommands {
public:
    // `sample` is the label whose font the font dialog chooses.
    MenuCommands(QWidget* owner, EditorState& state, ChannelEditor& channels, QWidget* sample,
                 Dialogs& dialogs, Clipboard* clipboard);

    // Puts the edited colour on the clipboard (nine decimal digits in decimal mode, six
    // hexadecimal ones otherwise) and shows what the clipboard then holds.
    void mnuKopieren_Click();
    // Sets the channels from the colour chosen in the colour dialog.
    void mnuWahl_Click();
    // Copies name, size, italic, bold and underline of the chosen font into the sample.
    void lblTest_Click();
    void mnuSchrift_Click() { lblTest_Click(); }
    void mnuHilfe_Click();
    // Shows the About window modally, the main window as its owner; returns once it is closed.
    void mnuInfo_Click();

    void setClipboard(Clipboard* clipboard) { clipboard_ = clipboard; }
    const Clipboard& clipboard() const { return *clipboard_; }

private:
    QWidget* owner_;
    EditorState& state_;
    ChannelEditor& channels_;
    QWidget* sample_;
    Dialogs& dialogs_;
    Clipboard* clipboard_;
    CommonDialog cdlg_;
};

} // namespace pigmora
