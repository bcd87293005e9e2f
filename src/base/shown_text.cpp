#include "shown_text.h"

#include <QList>

namespace pigmora {

QString shownText(const QString& text, int limit) {
    QString shown;
    const QList<uint> characters = text.toUcs4();
    for (qsizetype i = 0; i < characters.size(); ++i) {
        if (i == limit) {
            shown += QChar(0x2026);
            break;
        }
        const char32_t c = characters[i];
        const bool control = c < 0x20 || (c >= 0x7F && c < 0xA0);
        shown += control ? QString(QLatin1Char(' ')) : QString::fromUcs4(&c, 1);
    }
    return shown;
}

} // namespace pigmora
