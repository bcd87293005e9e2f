#include "edit_target.h"

#include "base/sample_pair.h"
#include "channel_editor.h"
#include "text_forms.h"

#include <QAction>
#include <QFrame>

namespace pigmora {

EditTarget::EditTarget(EditorState& state, ChannelEditor& channels, QAction* mnuVorder,
                       QAction* mnuHinter, QFrame* targetPanel)
    : state_(state)
    , channels_(channels)
    , mnuVorder_(mnuVorder)
    , mnuHinter_(mnuHinter)
    , targetPanel_(targetPanel) {}

void EditTarget::indicate(bool foreground) {
    mnuVorder_->setChecked(foreground);
    mnuHinter_->setChecked(!foreground);
    state_.bytziel = foreground ? 1 : 2;
    setBevel(targetPanel_, foreground ? Bevel::Raised : Bevel::Inset);
    channels_.pair().setEditsText(foreground);
}

void EditTarget::select(bool foreground) {
    indicate(foreground);
    // The target is set first, so the setters already paint into the newly chosen colour;
    // once all three ran, that colour holds exactly the value read here.
    const SamplePair& pair = channels_.pair();
    const Rgb colour = foreground ? pair.text() : pair.background();
    channels_.setColour(HexZerlegen(colourValueText(packColour(colour))));
}

void EditTarget::setPair(Rgb text, Rgb background, PairEnd end) {
    const bool editedText = channels_.editsText();
    state_.bytziel = 1;
    channels_.setColour(text);
    state_.bytziel = 2;
    channels_.setColour(background);
    if (end == PairEnd::AsItWas && editedText)
        select(true); // reloads the channels from the new text colour
    else
        indicate(false);
}

void EditTarget::StatusBar1_PanelClick(Bevel clickedPanel) {
    if (clickedPanel == Bevel::Inset)
        mnuVorder_Click();
    else
        mnuHinter_Click();
}

} // namespace pigmora
