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
} // namespace

QString chooseSchemeDirectory(const QString& executableDirectory, const QString& perUserDirectory,
                              const std::function<bool(const QString&)>& isWritableDirectory) {
    const QFileInfo beside(QDir(executableDirectory).filePath(QString::fromLatin1(schemeFileName)));
    const bool writable = isWritableDirectory ? isWritableDirectory(executableDirectory)
                                              : writableDirectory(executableDirectory);
    if (beside.exists() || beside.isSymLink() || writable)
        return executableDirectory;
    QDir().mkpath(perUserDirectory);
    return perUserDirectory;
}

QString defaultSchemeDirectory() {
    return chooseSchemeDirectory(QCoreApplication::applicationDirPath(),
                                 QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
}

} // namespace pigmora
