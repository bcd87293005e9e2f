#pragma once

#include <QByteArray>
#include <QString>

namespace pigmora {

// Texts as the registry's "A" calls take and give them: in the system's ANSI code page. On
// Windows that is Qt's local 8-bit encoding (the active ANSI code page). Other platforms have
// no ANSI code page; Latin-1 stands in there: one character per byte, and the same letters as
// the Western European code page 1252 (it differs only in 0x80 to 0x9F).
QByteArray toAnsi(const QString& text);
QString fromAnsi(const QByteArray& bytes);

} // namespace pigmora
