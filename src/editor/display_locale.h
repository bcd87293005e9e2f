#pragma once

#include <QLocale>

namespace pigmora {

// The locale the program sorts and formats by: the user's, or German, the language of the
// program's own texts, where the system names no language (the C locale).
inline QLocale displayLocale() {
    const QLocale system = QLocale::system();
    return system.language() == QLocale::C ? QLocale(QLocale::German, QLocale::Germany) : system;
}

} // namespace pigmora
