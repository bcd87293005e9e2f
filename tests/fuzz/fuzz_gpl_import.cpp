// Reading schemes from any bytes as a GIMP palette (see fuzz_support_import.h for what must
// hold). The input is read as it is and, so the fuzzer need not find the header first, also
// behind a palette header.

#include "fuzz_support_import.h"

#include <cstdint>

using namespace pigmora;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray contents(reinterpret_cast<const char*>(data), qsizetype(size));
    checkImportReading(readGplSchemes(contents), ExchangeFormat::Gpl, QStringLiteral("Zeile "));
    checkImportReading(readGplSchemes("GIMP Palette\n" + contents), ExchangeFormat::Gpl,
                       QStringLiteral("Zeile "));
    return 0;
}
