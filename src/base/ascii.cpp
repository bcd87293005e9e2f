#include "ascii.h"

#include <QString>

namespace pigmora {

bool equalsAscii(QStringView text, const char* lowerCaseName) {
    qsizetype i = 0;
    for (; lowerCaseName[i]; ++i) {
        if (i >= text.size() || asciiLower(text[i].unicode()) != char16_t(lowerCaseName[i]))
            return false;
    }
    return i == text.size();
}

QString asciiLowered(QStringView text) {
    QString lowered(text.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < text.size(); ++i)
        lowered[i] = QChar(asciiLower(text[i].unicode()));
    return lowered;
}

} // namespace pigmora
