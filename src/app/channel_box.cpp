#include "channel_box.h"

#include <QKeyEvent>

namespace pigmora {

ChannelBox::ChannelBox(QWidget* parent)
    : QLineEdit(parent) {}

void ChannelBox::keyPressEvent(QKeyEvent* event) {
    const QString text = event->text();
    const bool commandKey =
        event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    if (keyPress_ && text.size() == 1 && !commandKey) {
        const char16_t unicode = text[0].unicode();
        // Characters beyond the 16-bit signed range cannot pass any filter of ours.
        std::int16_t keyAscii = unicode <= 0x7FFF ? std::int16_t(unicode) : std::int16_t(-1);
        keyPress_(keyAscii);
        if (keyAscii == 0) {
            event->accept();
            return;
        }
    }
    QLineEdit::keyPressEvent(event);
}

} // namespace pigmora
