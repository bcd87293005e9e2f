#pragma once

#include <QByteArray>
#include <cstdint>
#include <memory>

namespace pigmora {

// The three registry calls the system-information look-up needs, shaped like RegOpenKeyExA,
// RegQueryValueExA and RegCloseKey: result codes (0 on success), texts in the ANSI code page
// (see ansi_text.h), the caller's buffer with an in/out size.
using RegKey = std::uintptr_t;
using RegResult = std::int32_t;

inline constexpr RegResult errorSuccess = 0;
inline constexpr RegResult errorFileNotFound = 2;
inline constexpr RegResult errorAccessDenied = 5;
inline constexpr RegResult errorInvalidHandle = 6;
inline constexpr RegResult errorMoreData = 234;

inline constexpr std::uint32_t hkeyLocalMachine = 0x80000002;
inline constexpr std::uint32_t keyRead = 0x20019; // READ_CONTROL, query, enumerate, notify

inline constexpr std::uint32_t regSz = 1;
inline constexpr std::uint32_t regDword = 4;

class Registry {
public:
    virtual ~Registry() = default;
    // Opens `subKey` under the predefined key `root` (a 32-bit handle value such as
    // hkeyLocalMachine); on success `key` holds the opened key.
    virtual RegResult openKey(std::uint32_t root, const QByteArray& subKey, std::uint32_t options,
                              std::uint32_t access, RegKey& key) = 0;
    // Reads the value `name` of an opened key into `data`, whose size `size` gives. On success
    // `size` holds the number of bytes written and `type` the value's type; a value longer
    // than the buffer gives errorMoreData.
    virtual RegResult queryValue(RegKey key, const QByteArray& name, std::uint32_t& type,
                                 unsigned char* data, std::uint32_t& size) = 0;
    virtual RegResult closeKey(RegKey key) = 0;
};

// advapi32 on Windows; elsewhere a registry without keys, whose opens all fail.
std::unique_ptr<Registry> platformRegistry();

} // namespace pigmora
