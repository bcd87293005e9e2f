#pragma once

#include <QString>

namespace pigmora {

// A text read from outside as a message may quote it: control characters (line breaks, tabs)
// as blanks, and cut after `limit` characters with "…".
QString shownText(const QString& text, int limit = 40);

} // namespace pigmora
