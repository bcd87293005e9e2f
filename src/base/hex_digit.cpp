#include "hex_digit.h"

namespace pigmora {

QString hashHexText(Rgb colour, LetterCase letters) {
    char16_t text[7];
    writeHashHex(colour, letters, text);
    return QString(reinterpret_cast<const QChar*>(text), 7);
}

} // namespace pigmora
