#pragma once

#include "editor/channel_editor.h"
#include "editor/edit_target.h"
#include "editor/editor_state.h"
#include "editor/number_mode.h"
#include "menu_tree.h"
#include "window_layout.h"

#include <QMainWindow>
#include <functional>
#include <memory>

namespace pigmora {

// The main window: the colour editor, the sample, the scheme row, the menus and the status
// bar. It builds its layout, wires the controls to their handlers and owns the editor state.
class frmHauptprogramm : public QMainWindow {
    Q_OBJECT
public:
    explicit frmHauptprogramm(QWidget* parent = nullptr);
    ~frmHauptprogramm() override;

    EditorState& state() { return state_; }
    ChannelEditor& channels() { return *channels_; }
    EditTarget& editTarget() { return *editTarget_; }
    const WindowControls& controls() const { return ui_; }
    const MenuActions& menus() const { return menu_; }

    // "&Ende": hides the window and ends the process at once, without the unload handler.
    void mnuEnde_Click();
    // How the process is ended; tests replace it.
    void setProcessEnd(std::function<void()> end) { endProcess_ = std::move(end); }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void Form_Load();
    void Form_Unload();
    void connectChannelHandlers();
    void connectMenuHandlers();

    EditorState state_;
    WindowControls ui_;
    MenuActions menu_;
    std::unique_ptr<ChannelEditor> channels_;
    std::unique_ptr<NumberMode> numberMode_;
    std::unique_ptr<EditTarget> editTarget_;
    std::function<void()> endProcess_;
};

} // namespace pigmora
