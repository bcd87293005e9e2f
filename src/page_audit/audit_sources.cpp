#include "audit_sources.h"

#include <QDir>
#include <QFileInfo>
#include <QUrl>

namespace pigmora {

namespace {

PageSource fileSource(const QString& shown, const QFileInfo& file) {
    const QString folder =
        QUrl::fromLocalFile(file.absolutePath() + QLatin1Char('/')).toString(QUrl::FullyEncoded);
    return {shown, QUrl::fromLocalFile(file.absoluteFilePath()).toString(QUrl::FullyEncoded),
            folder};
}

} // namespace

std::variant<std::vector<PageSource>, QString> pageSources(const QStringList& arguments) {
    std::vector<PageSource> sources;
    for (const QString& argument : arguments) {
        const QUrl url(argument, QUrl::StrictMode);
        const QString scheme = url.scheme().toLower();
        if (scheme == QLatin1String("http") || scheme == QLatin1String("https")) {
            if (!url.isValid() || url.host().isEmpty())
                return QStringLiteral("„%1“ ist keine gültige Adresse.").arg(argument);
            const QString origin = url.adjusted(QUrl::RemovePath | QUrl::RemoveQuery |
                                                QUrl::RemoveFragment | QUrl::RemoveUserInfo)
                                       .toString(QUrl::FullyEncoded) +
                                   QLatin1Char('/');
            sources.push_back({argument, url.toString(QUrl::FullyEncoded), origin});
            continue;
        }
        const QString path = scheme == QLatin1String("file") ? url.toLocalFile() : argument;
        const QFileInfo info(path);
        if (!info.exists())
            return QStringLiteral("Die Quelle „%1“ gibt es nicht.").arg(argument);
        if (info.isDir()) {
            const QFileInfoList pages = QDir(path).entryInfoList(
                {QStringLiteral("*.html")}, QDir::Files | QDir::Readable, QDir::Name);
            if (pages.isEmpty())
                return QStringLiteral("Im Ordner „%1“ liegt keine lesbare HTML-Datei (*.html).")
                    .arg(argument);
            for (const QFileInfo& page : pages)
                sources.push_back(
                    fileSource(QDir::cleanPath(path + QLatin1Char('/') + page.fileName()), page));
            continue;
        }
        if (!info.isFile() || !info.isReadable())
            return QStringLiteral("Die Quelle „%1“ kann nicht gelesen werden.").arg(argument);
        sources.push_back(fileSource(argument, info));
    }
    return sources;
}

} // namespace pigmora
