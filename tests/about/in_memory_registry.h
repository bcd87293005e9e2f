#pragma once

// A registry in memory, under HKEY_LOCAL_MACHINE only. Keys may be marked read-only: opening
// them with any write right is refused, as Windows refuses a user who may only read them. It
// keeps track of the keys asked for and of the handles still open.

#include "about/registry.h"

#include <QByteArrayList>
#include <QMap>
#include <cstring>

namespace pigmora::test {

class InMemoryRegistry final : public Registry {
public:
    struct Value {
        std::uint32_t type;
        QByteArray bytes;
    };

    void addKey(const QByteArray& key, bool readOnly = false) { keys_[key].readOnly = readOnly; }
    void setValue(const QByteArray& key, const QByteArray& name, Value value) {
        keys_[key].values[name] = std::move(value);
    }
    void setText(const QByteArray& key, const QByteArray& name, const QByteArray& text) {
        setValue(key, name, {regSz, text + '\0'});
    }

    QByteArrayList keysAsked; // every open, in order
    QMap<RegKey, QByteArray> openHandles;
    int badCloses = 0;

    RegResult openKey(std::uint32_t root, const QByteArray& subKey, std::uint32_t options,
                      std::uint32_t access, RegKey& key) override {
        keysAsked << subKey;
        // DELETE, WRITE_DAC, WRITE_OWNER, KEY_SET_VALUE, KEY_CREATE_SUB_KEY, KEY_CREATE_LINK
        constexpr std::uint32_t writeRights = 0xD0026;
        if (root != hkeyLocalMachine || options != 0 || !keys_.contains(subKey))
            return errorFileNotFound;
        if (keys_[subKey].readOnly && (access & writeRights))
            return errorAccessDenied;
        key = ++lastHandle_;
        openHandles[key] = subKey;
        return errorSuccess;
    }

    RegResult queryValue(RegKey key, const QByteArray& name, std::uint32_t& type,
                         unsigned char* data, std::uint32_t& size) override {
        if (!openHandles.contains(key))
            return errorInvalidHandle;
        const auto& values = keys_[openHandles[key]].values;
        if (!values.contains(name))
            return errorFileNotFound;
        const Value& value = values[name];
        const auto needed = static_cast<std::uint32_t>(value.bytes.size());
        type = value.type;
        const bool fits = needed <= size;
        if (fits)
            std::memcpy(data, value.bytes.constData(), needed);
        size = needed;
        return fits ? errorSuccess : errorMoreData;
    }

    RegResult closeKey(RegKey key) override {
        if (openHandles.remove(key) == 0)
            ++badCloses;
        return errorSuccess;
    }

private:
    struct Key {
        bool readOnly = false;
        QMap<QByteArray, Value> values;
    };
    QMap<QByteArray, Key> keys_;
    RegKey lastHandle_ = 0;
};

} // namespace pigmora::test
