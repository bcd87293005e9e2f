// Reading schemes from any bytes as JSON (see fuzz_support_import.h for what must hold).

#include "fuzz_support_import.h"

#include <algorithm>
#include <cstdint>

using namespace pigmora;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray contents(reinterpret_cast<const char*>(data), qsizetype(size));
    // An object with "$" names is read as design tokens, whose refusals name token paths.
    const ImportReading read = readJsonSchemes(contents);
    const bool tokens =
        read.otherTokens > 0 || read.otherGroups > 0 ||
        std::any_of(read.refused.begin(), read.refused.end(),
                    [](const RefusedEntry& r) { return !r.where.startsWith("Eintrag "); });
    checkImportReading(read, ExchangeFormat::Json, tokens ? QString() : QStringLiteral("Eintrag "));
    return 0;
}
