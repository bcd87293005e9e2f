#include "channel_editor.h"

#include "base/sample_pair.h"
#include "numeric_reading.h"
#include "text_forms.h"

#include <QAbstractSlider>
#include <QLineEdit>

namespace pigmora {

namespace {

// Writes a box only when its text differs. An unchanged text raises no change handler either
// way, and leaving the box alone keeps the user's caret and selection where they are.
void writeText(QLineEdit* box, const QString& text) {
    if (box->text() != text)
        box->setText(text);
}

} // namespace

bool passesDecimalKeyFilter(std::int16_t keyAscii) {
    return (keyAscii >= '0' && keyAscii <= '9') || keyAscii == 8;
}

ChannelEditor::ChannelEditor(EditorState& state, std::array<ChannelControls, 3> channels,
                             SamplePair& pair)
    : state_(state)
    , channels_(channels)
    , pair_(pair) {}

void ChannelEditor::setChannel(Channel channel, ChannelValue v) {
    const ChannelControls& c = controls(channel);
    c.slider->setValue(v);
    writeText(c.decimalBox, decimalText(v));
    writeText(c.hexBox, hexText(v));
    ZeigeFarbe();
}

void ChannelEditor::setColour(Rgb c) {
    SetzeRot(c.red);
    SetzeGrün(c.green);
    SetzeBlau(c.blue);
}

Rgb ChannelEditor::sliderChannels() const {
    const auto value = [this](Channel ch) { return ChannelValue(controls(ch).slider->value()); };
    return Rgb{value(Channel::Red), value(Channel::Green), value(Channel::Blue)};
}

void ChannelEditor::ZeigeFarbe() {
    const Rgb colour = sliderChannels();
    if (editsText())
        pair_.setText(colour);
    else
        pair_.setBackground(colour);
}

void ChannelEditor::sliderScrolled(Channel channel) {
    setChannel(channel, ChannelValue(controls(channel).slider->value()));
}

void ChannelEditor::decimalBoxChanged(Channel channel) {
    QLineEdit* box = controls(channel).decimalBox;
    if (readNumber(box->text()) > 255)
        box->setText(QStringLiteral("255")); // runs this handler nested, to its end
    // Pasted text may read as a negative number; it becomes 0 instead of failing.
    setChannel(channel, toChannelClamped(readNumber(box->text())));
}

void ChannelEditor::decimalBoxKeyPress(Channel channel, std::int16_t& keyAscii) {
    if (!passesDecimalKeyFilter(keyAscii)) {
        keyAscii = 0;
        return;
    }
    QLineEdit* box = controls(channel).decimalBox;
    if (!box->text().isEmpty())
        writeText(box, shortestDecimalText(readNumber(box->text())));
}

} // namespace pigmora
