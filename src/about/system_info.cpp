#include "system_info.h"

#include "ansi_text.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QtEndian>
#include <array>

#ifdef Q_OS_WIN
#include <qt_windows.h>
#endif

namespace pigmora {

namespace {

const QString sysInfoKey = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO");
const QString sysInfoValue = QStringLiteral("PATH");
const QString sysInfoLocationKey = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools Location");
const QString sysInfoLocationValue = QStringLiteral("MSINFO");
const QString sysInfoProgram = QStringLiteral("MSINFO32.EXE");

// A plain file at the path; directories, hidden files and (on Windows) system files do not
// count.
bool fileExists(const QString& path) {
#ifdef Q_OS_WIN
    const DWORD attributes = GetFileAttributesW(
        reinterpret_cast<const wchar_t*>(QDir::toNativeSeparators(path).utf16()));
    return attributes != INVALID_FILE_ATTRIBUTES &&
           !(attributes &
             (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));
#else
    const QFileInfo info(path);
    return info.isFile() && !info.isHidden();
#endif
}

} // namespace

bool SystemInfo::GetKeyValue(std::uint32_t KeyRoot, const QString& KeyName,
                             const QString& SubKeyRef, QString& KeyVal) {
    Registry& registry = *parts_.registry;
    RegKey hKey = 0;
    // Read rights only: asking for write rights too fails for everyone who may only read the
    // key, which is every user without administrator rights.
    if (registry.openKey(KeyRoot, toAnsi(KeyName), 0, keyRead, hKey) != errorSuccess) {
        KeyVal.clear();
        return false; // nothing was opened, so there is nothing to close
    }
    struct KeyCloser {
        Registry& registry;
        RegKey key;
        ~KeyCloser() { registry.closeKey(key); }
    } const closer{registry, hKey};

    std::array<unsigned char, 1024> buffer{};
    std::uint32_t size = buffer.size();
    std::uint32_t type = 0;
    if (registry.queryValue(hKey, toAnsi(SubKeyRef), type, buffer.data(), size) != errorSuccess) {
        KeyVal.clear();
        return false;
    }
    if (size == 0)
        throw EmptyRegistryValue();
    if (size > buffer.size()) // a registry that claims more than it could have written
        throw std::length_error("registry value larger than its buffer");

    // Text without its terminating zero byte, if the value has one.
    const auto length = static_cast<qsizetype>(buffer[size - 1] == 0 ? size - 1 : size);
    const QString text = fromAnsi(QByteArray(reinterpret_cast<const char*>(buffer.data()), length));
    if (type == regSz)
        KeyVal = text;
    else if (type == regDword)
        KeyVal = QString::number(qFromLittleEndian<std::uint32_t>(buffer.data()));
    return true;
}

bool SystemInfo::findAndStart() {
    QString path;
    if (!GetKeyValue(hkeyLocalMachine, sysInfoKey, sysInfoValue, path)) {
        // The first location's path is taken as it is; only the second one's file is looked for.
        QString folder;
        if (!GetKeyValue(hkeyLocalMachine, sysInfoLocationKey, sysInfoLocationValue, folder))
            return false;
        path = folder + QDir::separator() + sysInfoProgram;
        if (!fileExists(path))
            return false;
    }
    return parts_.launcher->start(path);
}

void SystemInfo::StartSysInfo(QWidget* owner) {
    bool started = false;
    try {
        started = findAndStart();
    } catch (const std::exception&) {
        // Every failure on the way ends in the one message below.
    }
    if (!started)
        parts_.showMessage(owner,
                           QStringLiteral("Systeminformationen sind momentan nicht verfügbar"),
                           QCoreApplication::applicationName());
}

} // namespace pigmora
