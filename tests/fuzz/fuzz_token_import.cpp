// Reading schemes from any bytes as design tokens (see fuzz_support_import.h for what must
// hold): aliases, pointers and colour values of any shape never crash the reader.

#include "fuzz_support_import.h"

#include <cstdint>

using namespace pigmora;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray contents(reinterpret_cast<const char*>(data), qsizetype(size));
    checkImportReading(readTokenSchemes(contents), ExchangeFormat::Tokens, QString());
    return 0;
}
