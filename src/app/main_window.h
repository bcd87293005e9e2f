#pragma once

#include "base/sample_pair.h"
#include "clipboard.h"
#include "dialogs.h"
#include "editor/channel_editor.h"
#include "editor/edit_target.h"
#include "editor/editor_state.h"
#include "editor/number_mode.h"
#include "menu_commands.h"
#include "menu_tree.h"
#include "scheme_commands.h"
#include "schemes/scheme_location.h"
#include "schemes/scheme_store.h"
#include "window_layout.h"

#include <QMainWindow>
#include <functional>
#include <memory>

namespace pigmora {

class EyedropperCommands;
class ExchangeCommands;
class RasterCommands;
class frmKontrast;
class frmSeitenpruefung;

// The main window: the colour editor, the sample, the scheme row, the menus and the status
// bar. It builds its layout, wires the controls to their handlers and owns the editor state.
class frmHauptprogramm : public QMainWindow {
    Q_OBJECT
public:
    // `schemeDirectory` holds Farben.mdb; `dialogs` (kept by the caller) replaces the real
    // dialogs, for tests.
    explicit frmHauptprogramm(const QString& schemeDirectory = defaultSchemeDirectory(),
                              Dialogs* dialogs = nullptr, QWidget* parent = nullptr);
    ~frmHauptprogramm() override;

    EditorState& state() { return state_; }
    // The pair the sample shows.
    SamplePair& pair() { return pair_; }
    ChannelEditor& channels() { return *channels_; }
    const WindowControls& controls() const { return ui_; }
    const MenuActions& menus() const { return menu_; }
    SchemeStore& schemes() { return schemes_; }
    MenuCommands& commands() { return *commands_; }
    // Replaces the system clipboard, for tests.
    void setClipboard(Clipboard* clipboard) { commands_->setClipboard(clipboard); }

    // False when the scheme file could not be used; the user has been told why, and the window
    // must not be shown.
    bool loaded() const { return loaded_; }

    void cmdNeueFarbe_Click();
    void cmdWeg_Click();
    // "&Ende": hides the window and ends the process at once, without the unload handler.
    void mnuEnde_Click();
    // How the process is ended; tests replace it.
    void setProcessEnd(std::function<void()> end) { endProcess_ = std::move(end); }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void Form_Load(const QString& schemeDirectory);
    // Reports a failure the program cannot go on from.
    void reportFatal(const QString& message);
    void Form_Unload();
    void connectChannelHandlers();
    void connectMenuHandlers();
    void connectSchemeHandlers();
    void showError(const std::optional<QString>& message);
    // Export, import and CSS paste, made on first use.
    ExchangeCommands& exchange();
    void mnuKontrast_Click();
    void mnuSeite_Click();
    // The eyedropper's commands, made on first use.
    EyedropperCommands& eyedropper();
    // The contrast grid's commands, made on first use.
    RasterCommands& raster();

    std::unique_ptr<Dialogs> ownDialogs_;
    Dialogs* dialogs_;
    EditorState state_;
    SamplePair pair_;
    SchemeStore schemes_;
    bool loaded_ = false;
    WindowControls ui_;
    MenuActions menu_;
    std::unique_ptr<ChannelEditor> channels_;
    std::unique_ptr<NumberMode> numberMode_;
    std::unique_ptr<EditTarget> editTarget_;
    std::unique_ptr<SchemeCommands> schemeCommands_;
    SystemClipboard systemClipboard_;
    std::unique_ptr<MenuCommands> commands_;
    std::unique_ptr<ExchangeCommands> exchange_;
    std::unique_ptr<EyedropperCommands> eyedropper_;
    std::unique_ptr<RasterCommands> raster_;
    std::function<void()> endProcess_;
    // Built on first use, then kept; gone before the controls it watches.
    std::unique_ptr<frmKontrast> kontrast_;
    // Built on first use; gone before the edit target it sets.
    std::unique_ptr<frmSeitenpruefung> seitenpruefung_;
};

} // namespace pigmora
