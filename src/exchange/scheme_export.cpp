#include "scheme_export.h"

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

#include "export_writers.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

namespace pigmora {

std::optional<ExchangeFormat> formatFromFileName(const QString& fileName) {
    const QString suffix = QFileInfo(fileName).suffix().toLower();
    for (ExchangeFormat format : {ExchangeFormat::Css, ExchangeFormat::Json, ExchangeFormat::Gpl})
        if (suffix == formatSuffix(format))
            return format;
    return std::nullopt;
}

QString formatSuffix(ExchangeFormat format) {
    switch (format) {
    case ExchangeFormat::Css:
        return QStringLiteral("css");
    case ExchangeFormat::Json:
        return QStringLiteral("json");
    case ExchangeFormat::Gpl:
        break;
    }
    return QStringLiteral("gpl");
}

QString formatDisplayName(ExchangeFormat format) {
    switch (format) {
    case ExchangeFormat::Css:
        return QStringLiteral("CSS");
    case ExchangeFormat::Json:
        return QStringLiteral("JSON");
    case ExchangeFormat::Gpl:
        break;
    }
    return QStringLiteral("GIMP-Palette");
}

bool isSameFile(const QString& a, const QString& b) {
#ifdef Q_OS_UNIX
    struct stat sa, sb;
    return stat(QFile::encodeName(a).constData(), &sa) == 0 &&
           stat(QFile::encodeName(b).constData(), &sb) == 0 && sa.st_dev == sb.st_dev &&
           sa.st_ino == sb.st_ino;
#else
    const QString canonical = QFileInfo(a).canonicalFilePath();
    return !canonical.isEmpty() && canonical == QFileInfo(b).canonicalFilePath();
#endif
}

QString stampText(const ExportStamp& stamp) {
    return QStringLiteral("Farbschemata, geschrieben von %1 am %2")
        .arg(stamp.program, stamp.written.toString(Qt::ISODate));
}

QByteArray exportSchemes(const std::vector<ColourScheme>& schemes, ExchangeFormat format,
                         const ExportStamp& stamp) {
    switch (format) {
    case ExchangeFormat::Css:
        return writeCss(schemes, stamp);
    case ExchangeFormat::Json:
        return writeJson(schemes);
    case ExchangeFormat::Gpl:
        break;
    }
    return writeGpl(schemes, stamp);
}

std::optional<QString> writeFileAtomically(const QString& path, const QByteArray& contents) {
    // QSaveFile writes a temporary file in the same folder and renames it over the target only
    // once everything is written and flushed.
    QSaveFile file(path);
    const auto failure = [&path, &file] {
        return QStringLiteral("Die Datei %1 konnte nicht geschrieben werden:\n%2")
            .arg(QDir::toNativeSeparators(path), file.errorString());
    };
    if (!file.open(QIODevice::WriteOnly))
        return failure();
    // QSaveFile's commit flushes its buffer without looking at the result: a write that fails
    // there (a full disk, a size limit) would still rename the cut file into place. Flushed here,
    // such a failure is seen before anything is replaced.
    if (file.write(contents) != contents.size() || !file.flush()) {
        const QString message = failure();
        file.cancelWriting();
        return message;
    }
    if (!file.commit())
        return failure();
    return std::nullopt;
}

} // namespace pigmora
