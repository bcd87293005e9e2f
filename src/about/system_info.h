#pragma once

#include "launcher.h"
#include "message_display.h"
#include "registry.h"

#include <QString>
#include <memory>
#include <stdexcept>

class QWidget;

namespace pigmora {

// What the system-information command reaches outside the program. Tests replace them.
struct SysInfoParts {
    std::shared_ptr<Registry> registry = platformRegistry();
    std::shared_ptr<Launcher> launcher = std::make_shared<ProcessLauncher>();
    MessageDisplay showMessage = showMessageBox;
};

// Raised by GetKeyValue when the registry returns a value of no bytes at all.
class EmptyRegistryValue : public std::runtime_error {
public:
    EmptyRegistryValue()
        : std::runtime_error("registry value of no bytes") {}
};

// Finds the system-information program through the registry and starts it.
class SystemInfo {
public:
    explicit SystemInfo(SysInfoParts parts)
        : parts_(std::move(parts)) {}

    // Reads the value `SubKeyRef` of the key `KeyName` under `KeyRoot` into `KeyVal`: a text
    // value as text, a number as its decimal text; a value of another type leaves `KeyVal` as
    // it was. False (and `KeyVal` empty) when the key cannot be opened for reading or the
    // value cannot be read, also when it is longer than 1024 bytes. A value of no bytes
    // throws EmptyRegistryValue. The key is closed whenever it was opened.
    bool GetKeyValue(std::uint32_t KeyRoot, const QString& KeyName, const QString& SubKeyRef,
                     QString& KeyVal);

    // Starts the program named by the first registry location, or else "MSINFO32.EXE" in the
    // folder named by the second, if that file exists. Every failure ends in one message,
    // shown with `owner` as its owner.
    void StartSysInfo(QWidget* owner);

private:
    bool findAndStart();

    SysInfoParts parts_;
};

} // namespace pigmora
