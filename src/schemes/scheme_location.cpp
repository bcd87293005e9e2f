#include "scheme_location.h"

#include "scheme_file.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace pigmora {

namespace {
bool writableDirectory(const QString& directory) {
    const QFileInfo info(directory);
    return info.isDir() && info.isWritable();
}
bool besideTheProgram(const QString& executableDirectory,
                      const std::function<bool(const QString&)>& isWritableDirectory) {
    const QFileInfo beside(QDir(executableDirectory).filePath(QString::fromLatin1(schemeFileName)));
    const bool writable = isWritableDirectory ? isWritableDirectory(executableDirectory)
                                              : writableDirectory(executableDirectory);
    return beside.exists() || beside.isSymLink() || writable;
}

QString perUserDirectory() {
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
}

} // namespace

QString chooseSchemeDirectory(const QString& executableDirectory, const QString& perUserDirectory,
                              const std::function<bool(const QString&)>& isWritableDirectory) {
    if (besideTheProgram(executableDirectory, isWritableDirectory))
        return executableDirectory;
    QDir().mkpath(perUserDirectory);
    return perUserDirectory;
}

QString defaultSchemeDirectory() {
    return chooseSchemeDirectory(QCoreApplication::applicationDirPath(), perUserDirectory());
}

QString lookUpSchemeDirectory() {
    const QString executableDirectory = QCoreApplication::applicationDirPath();
    return besideTheProgram(executableDirectory, nullptr) ? executableDirectory
                                                          : perUserDirectory();
}

} // namespace pigmora
