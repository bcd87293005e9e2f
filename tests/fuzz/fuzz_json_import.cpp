// Reading schemes from any bytes as JSON (see fuzz_support_import.h for what must hold).

#include "fuzz_support_import.h"

#include <cstdint>

using namespace pigmora;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray contents(reinterpret_cast<const char*>(data), qsizetype(size));
    checkImportReading(readJsonSchemes(contents), ExchangeFormat::Json, QStringLiteral("Eintrag "));
    return 0;
}
