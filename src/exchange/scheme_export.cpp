#include "scheme_export.h"

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

#include "export_writers.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>

namespace pigmora {

std::optional<ExchangeFormat> formatFromFileName(const QString& fileName) {
    const QString name = QFileInfo(fileName).fileName().toLower();
    if (name.endsWith(QLatin1Char('.') + formatSuffix(ExchangeFormat::Tokens)))
        return ExchangeFormat::Tokens;
    const QString suffix = QFileInfo(fileName).suffix().toLower();
    for (ExchangeFormat format : exchangeFormats)
        if (suffix == formatSuffix(format))
            return format;
    return std::nullopt;
}

QString formatSuffix(ExchangeFormat format) {
    return format == ExchangeFormat::Tokens ? QStringLiteral("tokens.json") : formatKey(format);
}

QString formatKey(ExchangeFormat format) {
    switch (format) {
    case ExchangeFormat::Css:
        return QStringLiteral("css");
    case ExchangeFormat::Json:
        return QStringLiteral("json");
    case ExchangeFormat::Gpl:
        return QStringLiteral("gpl");
    case ExchangeFormat::Tokens:
        break;
    }
    return QStringLiteral("tokens");
}

QString formatDisplayName(ExchangeFormat format) {
    switch (format) {
    case ExchangeFormat::Css:
        return QStringLiteral("CSS");
    case ExchangeFormat::Json:
        return QStringLiteral("JSON");
    case ExchangeFormat::Gpl:
        return QStringLiteral("GIMP-Palette");
    case ExchangeFormat::Tokens:
        break;
    }
    return QStringLiteral("Design Tokens (DTCG)");
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

QStringList distinctNames(const std::vector<ColourScheme>& schemes,
                          const std::function<QString(const QString&)>& nameOf) {
    QStringList names;
    names.reserve(qsizetype(schemes.size()));
    QSet<QString> given;
    for (const ColourScheme& scheme : schemes) {
        const QString base = nameOf(scheme.name);
        QString name = base;
        for (int n = 2; given.contains(name); ++n)
            name = QStringLiteral("%1-%2").arg(base).arg(n);
        given.insert(name);
        names << name;
    }
    return names;
}

QString stampText(const ExportStamp& stamp) {
    // With its offset from UTC, so the time is the same wherever the file is read; a local time
    // on its own would print without one.
    const QDateTime written = stamp.written.toOffsetFromUtc(stamp.written.offsetFromUtc());
    return QStringLiteral("Farbschemata, geschrieben von %1 am %2")
        .arg(stamp.program, written.toString(Qt::ISODate));
}

QByteArray exportSchemes(const std::vector<ColourScheme>& schemes, ExchangeFormat format,
                         const ExportStamp& stamp) {
    switch (format) {
    case ExchangeFormat::Css:
        return writeCss(schemes, stamp);
    case ExchangeFormat::Json:
        return writeJson(schemes);
    case ExchangeFormat::Gpl:
        return writeGpl(schemes, stamp);
    case ExchangeFormat::Tokens:
        break;
    }
    return writeTokens(schemes);
}

} // namespace pigmora
