#pragma once

#include "base/colour_value.h"
#include "editor_state.h"

#include <array>
#include <cstdint>

class QAbstractSlider;
class QLineEdit;

namespace pigmora {

class SamplePair;

// The controls that show one channel: the slider holds the value, the two boxes show it.
struct ChannelControls {
    QAbstractSlider* slider = nullptr;
    QLineEdit* decimalBox = nullptr;
    QLineEdit* hexBox = nullptr;
};

// Keeps slider, decimal box and hexadecimal box of each channel in step and paints the colour
// of the three sliders into the sample's pair. Every change of a channel goes through
// setChannel().
//
// The boxes raise their change handler synchronously whenever their text really changes; the
// chains of nested handlers end because a setter writes the text a box already holds.
class ChannelEditor {
public:
    ChannelEditor(EditorState& state, std::array<ChannelControls, 3> channels, SamplePair& pair);

    void setChannel(Channel channel, ChannelValue v);
    void SetzeRot(ChannelValue v) { setChannel(Channel::Red, v); }
    void SetzeGrün(ChannelValue v) { setChannel(Channel::Green, v); }
    void SetzeBlau(ChannelValue v) { setChannel(Channel::Blue, v); }
    // Sets a whole colour channel by channel: red, green, blue.
    void setColour(Rgb c);

    // Packs the three sliders and paints them into the colour of the sample that bytziel names:
    // into the pair, which the sample label shows.
    void ZeigeFarbe();

    Rgb sliderChannels() const;
    SamplePair& pair() const { return pair_; }
    // The channels edit the sample's text colour (bytziel 1), not its background.
    bool editsText() const { return state_.bytziel == 1; }

    // The user moved the slider of a channel.
    void sliderScrolled(Channel channel);
    // The text of a decimal box changed (typed, pasted or written by the program).
    void decimalBoxChanged(Channel channel);
    // A character is about to be typed into a decimal box; setting keyAscii to 0 drops it.
    void decimalBoxKeyPress(Channel channel, std::int16_t& keyAscii);

private:
    const ChannelControls& controls(Channel channel) const {
        return channels_[static_cast<int>(channel)];
    }

    EditorState& state_;
    std::array<ChannelControls, 3> channels_;
    SamplePair& pair_;
};

// The key filter of the decimal boxes: digits and backspace pass.
bool passesDecimalKeyFilter(std::int16_t keyAscii);

} // namespace pigmora
