#include "menu_commands.h"

#include "about/about_window.h"
#include "clipboard.h"
#include "dialogs.h"
#include "editor/channel_editor.h"
#include "editor/editor_state.h"
#include "editor/text_forms.h"

#include <QFont>
#include <QWidget>

namespace pigmora {

namespace {
const QString clipboardTitle = QStringLiteral("Zwischenablage");
}

MenuCommands::MenuCommands(QWidget* owner, EditorState& state, ChannelEditor& channels,
                           QWidget* sample, Dialogs& dialogs, Clipboard* clipboard)
    : owner_(owner)
    , state_(state)
    , channels_(channels)
    , sample_(sample)
    , dialogs_(dialogs)
    , clipboard_(clipboard)
    , cdlg_(dialogs) {}

void MenuCommands::mnuKopieren_Click() {
    const Rgb colour = channels_.sliderChannels();
    const QString text =
        state_.bytmodus == 1 ? nineDigitColourText(colour) : sixDigitColourText(colour);
    if (!clipboard_->setText(text)) {
        dialogs_.message(owner_,
                         QStringLiteral("Die Farbe konnte nicht in die Zwischenablage kopiert "
                                        "werden."),
                         clipboardTitle, Dialogs::MessageStyle::OkOnly);
        return;
    }
    dialogs_.message(owner_, clipboard_->text(), clipboardTitle, Dialogs::MessageStyle::OkOnly);
}

void MenuCommands::mnuWahl_Click() {
    cdlg_.CancelError = true;
    cdlg_.Flags = 1;
    if (!cdlg_.ShowColor(owner_))
        return;
    channels_.setColour(HexZerlegen(colourValueText(cdlg_.Color)));
}

void MenuCommands::lblTest_Click() {
    cdlg_.CancelError = true;
    cdlg_.Flags = 3;
    if (!cdlg_.ShowFont(owner_))
        return;
    QFont font = sample_->font(); // strikeout and the rest stay as they are
    font.setFamilies({cdlg_.FontName});
    font.setPointSizeF(cdlg_.FontSize);
    font.setItalic(cdlg_.FontItalic);
    font.setBold(cdlg_.FontBold);
    font.setUnderline(cdlg_.FontUnderline);
    sample_->setFont(font);
}

void MenuCommands::mnuHilfe_Click() {
    dialogs_.message(owner_, QStringLiteral("Alles selbsterklärend!"),
                     QStringLiteral("Noch nicht fertig"), Dialogs::MessageStyle::Information);
}

void MenuCommands::mnuInfo_Click() {
    // The window deletes itself when it closes; each opening loads it anew.
    auto* about = new frmAbout(owner_);
    about->exec();
}

} // namespace pigmora
