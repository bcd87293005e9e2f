#pragma once

#include "base/colour_value.h"
#include "bevel.h"
#include "editor_state.h"

class QAction;
class QFrame;

namespace pigmora {

class ChannelEditor;

// Chooses whether the channels edit the sample's text colour or its background, shows the
// choice (two menu check marks, the bevel of the "Hintergrund" panel) and reloads the channels
// from the newly chosen colour of the sample.
class EditTarget {
public:
    EditTarget(EditorState& state, ChannelEditor& channels, QAction* mnuVorder, QAction* mnuHinter,
               QFrame* targetPanel);

    void mnuVorder_Click() { select(true); }
    void mnuHinter_Click() { select(false); }
    // A click on any status bar panel, decided by that panel's shown bevel alone: a pressed-in
    // panel selects the text colour, any other the background.
    void StatusBar1_PanelClick(Bevel clickedPanel);
    // Sets the target and its indications without reloading the channels, for a caller that
    // has just painted the channels into that colour itself.
    void indicate(bool foreground);

    // How the edit target ends after a whole pair was set.
    enum class PairEnd {
        Background, // as picking a scheme: the channels edit the background
        AsItWas,    // the target stays, the channels show its new colour
    };
    // Sets both colours of the sample as picking a scheme does: the text colour through the
    // three setters with the text edited, then the background with the background edited.
    void setPair(Rgb text, Rgb background, PairEnd end);

private:
    void select(bool foreground);

    EditorState& state_;
    ChannelEditor& channels_;
    QAction* mnuVorder_;
    QAction* mnuHinter_;
    QFrame* targetPanel_;
};

} // namespace pigmora
