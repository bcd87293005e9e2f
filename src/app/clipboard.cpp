#include "clipboard.h"

#include <QClipboard>
#include <QGuiApplication>

namespace pigmora {

bool SystemClipboard::setText(const QString& text) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (!clipboard)
        return false;
    clipboard->setText(text);
    // Qt reports no failure of its own; a clipboard that did not take the text shows it here.
    return clipboard->text() == text;
}

QString SystemClipboard::text() const {
    const QClipboard* clipboard = QGuiApplication::clipboard();
    return clipboard ? clipboard->text() : QString();
}

} // namespace pigmora
