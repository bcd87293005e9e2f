#pragma once

#include <QLocale>
#include <QString>

namespace pigmora {

// German as the program's messages write numbers: "100.000", "4,47".
const QLocale& germanLocale();

// A count as the program's German messages write it: "100.000".
QString germanNumber(qint64 number);

// The locale the program sorts and formats by: the user's, or German, the language of the
// program's own texts, where the system names no language (the C locale).
QLocale displayLocale();

} // namespace pigmora
