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
    // capital, and before the last capital of a run followed by a small letter. Read in place,
    // a code point at a time: a name is made a key for every scheme of an export.
    const qsizetype size = name.size();
    const auto codePointAt = [&](qsizetype i, qsizetype& width) -> char32_t {
        width = 1;
        if (i >= size)
            return 0;
        const QChar c = name[i];
        if (c.isHighSurrogate() && i + 1 < size && name[i + 1].isLowSurrogate()) {
            width = 2;
            return QChar::surrogateToUcs4(c, name[i + 1]);
        }
        return c.unicode();
    };
    // Most names are ASCII: their classes are known without Unicode's tables.
    const auto isUpper = [](char32_t c) {
        return c < 0x80 ? (c >= 'A' && c <= 'Z') : QChar::isUpper(c);
    };
    const auto isLower = [](char32_t c) {
        return c < 0x80 ? (c >= 'a' && c <= 'z') : QChar::isLower(c);
    };
    const auto isDigit = [](char32_t c) {
        return c < 0x80 ? (c >= '0' && c <= '9') : QChar::isDigit(c);
    };
    const auto isLetter = [&](char32_t c) {
        return c < 0x80 ? isUpper(c) || isLower(c) : QChar::isLetter(c);
    };
    QString key;
    key.reserve(size + 8);
    bool pendingBreak = false;
    char32_t before = 0;
    qsizetype width = 1;
    for (qsizetype i = 0; i < size; i += width) {
        const char32_t c = codePointAt(i, width);
        const bool letter = isLetter(c), digit = isDigit(c);
        if (!letter && !digit) {
            pendingBreak = !key.isEmpty();
            before = c;
            continue;
        }
        if (i > 0 && isUpper(c)) {
            qsizetype nextWidth = 1;
            const char32_t next = codePointAt(i + width, nextWidth);
            const bool lowerBefore = isLower(before) || isDigit(before);
            const bool runEnds = isUpper(before) && i + width < size && isLower(next);
            if (lowerBefore || runEnds)
                pendingBreak = !key.isEmpty();
        }
        if (pendingBreak)
            key += QLatin1Char('-');
        pendingBreak = false;
        const char32_t lower = c < 0x80 ? (isUpper(c) ? c + 32 : c) : QChar::toLower(c);
        if (QChar::requiresSurrogates(lower)) {
            key += QChar(QChar::highSurrogate(lower));
            key += QChar(QChar::lowSurrogate(lower));
        } else {
            key += QChar(char16_t(lower));
        }
        before = c;
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
        QString key = collisionKey(name);
        for (int n = 2; given.contains(key); ++n) {
            name = QStringLiteral("%1-%2").arg(base).arg(n);
            key = collisionKey(name);
        }
        given.insert(key);
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
