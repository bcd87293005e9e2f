#include "registry.h"

// Platforms without a registry: every key is missing, so the look-ups fail as on a Windows
// machine without them.
namespace pigmora {

namespace {

class AbsentRegistry final : public Registry {
public:
    RegResult openKey(std::uint32_t, const QByteArray&, std::uint32_t, std::uint32_t,
                      RegKey&) override {
        return errorFileNotFound;
    }
    RegResult queryValue(RegKey, const QByteArray&, std::uint32_t&, unsigned char*,
                         std::uint32_t&) override {
        return errorInvalidHandle;
    }
    RegResult closeKey(RegKey) override { return errorInvalidHandle; }
};

} // namespace

std::unique_ptr<Registry> platformRegistry() {
    return std::make_unique<AbsentRegistry>();
}

} // namespace pigmora
