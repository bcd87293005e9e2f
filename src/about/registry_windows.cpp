#include "registry.h"

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

namespace pigmora {

namespace {

HKEY toHkey(RegKey key) {
    return reinterpret_cast<HKEY>(key);
}

class Advapi32Registry final : public Registry {
public:
    RegResult openKey(std::uint32_t root, const QByteArray& subKey, std::uint32_t options,
                      std::uint32_t access, RegKey& key) override {
        // Predefined keys are 32-bit values that winreg.h sign-extends to the handle's width.
        const auto rootKey =
            reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(static_cast<LONG>(root)));
        HKEY opened = nullptr;
        const LONG result = RegOpenKeyExA(rootKey, subKey.constData(), options, access, &opened);
        key = reinterpret_cast<RegKey>(opened);
        return result;
    }

    RegResult queryValue(RegKey key, const QByteArray& name, std::uint32_t& type,
                         unsigned char* data, std::uint32_t& size) override {
        DWORD valueType = 0;
        DWORD valueSize = size;
        const LONG result =
            RegQueryValueExA(toHkey(key), name.constData(), nullptr, &valueType, data, &valueSize);
        type = valueType;
        size = valueSize;
        return result;
    }

    RegResult closeKey(RegKey key) override { return RegCloseKey(toHkey(key)); }
};

} // namespace

std::unique_ptr<Registry> platformRegistry() {
    return std::make_unique<Advapi32Registry>();
}

} // namespace pigmora
