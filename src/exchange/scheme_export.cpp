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

QString collisionKey(const QString& name) {
    // The words as the kebab-case transform of the common token tools splits them: at every
    // character that is neither a letter nor a digit, between a small letter or digit and a
    // capital, and before the last capital of a run followed by a small letter.
    QString key;
    key.reserve(name.size() + 8);
    const QList<uint> text = name.toUcs4();
    bool pendingBreak = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char32_t c = text[i];
        const bool letter = QChar::isLetter(c), digit = QChar::isDigit(c);
        if (!letter && !digit) {
            pendingBreak = !key.isEmpty();
            continue;
        }
        if (i > 0 && QChar::isUpper(c)) {
            const char32_t before = text[i - 1];
            const bool lowerBefore = QChar::isLower(before) || QChar::isDigit(before);
            const bool runEnds =
                QChar::isUpper(before) && i + 1 < text.size() && QChar::isLower(text[i + 1]);
            if (lowerBefore || runEnds)
                pendingBreak = !key.isEmpty();
        }
        if (pendingBreak)
            key += QLatin1Char('-');
        pendingBreak = false;
        const char32_t lower = QChar::toLower(c);
        key += QString::fromUcs4(&lower, 1);
    }
    return key;
}

QStringList distinctNames(const std::vector<ColourScheme>& schemes,
                          const std::function<QString(const QString&)>& nameOf) {
    QStringList names;
    names.reserve(qsizetype(schemes.size()));
    // Compared as the tools compare them: without case and after the kebab-case transform, so
    // "Abend" and "ABEND" or "Grün" and "grün" never give one variable.
    QSet<QString> given;
    for (const ColourScheme& scheme : schemes) {
        const QString base = nameOf(scheme.name);
        QString name = base;
        for (int n = 2; given.contains(collisionKey(name)); ++n)
            name = QStringLiteral("%1-%2").arg(base).arg(n);
        given.insert(collisionKey(name));
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
