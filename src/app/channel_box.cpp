#include "channel_box.h"

#include <QKeyEvent>
#include <optional>

namespace pigmora {

namespace {

// The character a key press types, as its code: with Ctrl a letter types a control character
// (Ctrl+X is 24) and Backspace types 127, as on the classic desktop. Keys that type nothing
// (arrows, Delete, Home, End, Ctrl+arrow) have no code.
std::optional<std::int16_t> typedCharacter(const QKeyEvent* event) {
    const Qt::KeyboardModifiers modifiers = event->modifiers();
    const bool control = modifiers & (Qt::ControlModifier | Qt::MetaModifier);
    const bool alt = modifiers & Qt::AltModifier;
    if (control && !alt) {
        if (event->key() >= Qt::Key_A && event->key() <= Qt::Key_Z)
            return std::int16_t(event->key() - Qt::Key_A + 1);
        if (event->key() == Qt::Key_Backspace)
            return std::int16_t(127);
    }
    const QString text = event->text();
    if (text.size() != 1 && !(text.size() == 2 && text[0].isHighSurrogate()))
        return std::nullopt;
    const char32_t unicode = text.toUcs4().value(0);
    // Characters beyond the 16-bit signed range cannot pass any filter of ours.
    return unicode <= 0x7FFF ? std::int16_t(unicode) : std::int16_t(-1);
}

} // namespace

ChannelBox::ChannelBox(QWidget* parent)
    : QLineEdit(parent) {}

void ChannelBox::keyPressEvent(QKeyEvent* event) {
    if (keyPress_) {
        if (const auto typed = typedCharacter(event)) {
            std::int16_t keyAscii = *typed;
            keyPress_(keyAscii);
            if (keyAscii == 0) {
                event->accept();
                return;
            }
        }
    }
    QLineEdit::keyPressEvent(event);
}

} // namespace pigmora
