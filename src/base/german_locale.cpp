#include "german_locale.h"

namespace pigmora {

const QLocale& germanLocale() {
    static const QLocale german(QLocale::German, QLocale::Germany);
    return german;
}

QString germanNumber(qint64 number) {
    return germanLocale().toString(number);
}

QLocale displayLocale() {
    const QLocale system = QLocale::system();
    return system.language() == QLocale::C ? germanLocale() : system;
}

} // namespace pigmora
