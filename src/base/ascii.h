#pragma once

#include <QStringView>

namespace pigmora {

// A-Z to a-z; every other character as it is (so the Kelvin sign is no "k").
constexpr char16_t asciiLower(char16_t c) {
    return c >= u'A' && c <= u'Z' ? char16_t(c - u'A' + u'a') : c;
}

// ASCII case-insensitive comparison with a lower-case ASCII name, as CSS compares keywords.
bool equalsAscii(QStringView text, const char* lowerCaseName);

// The text with A-Z lowered and nothing else changed.
QString asciiLowered(QStringView text);

} // namespace pigmora
