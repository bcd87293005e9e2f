#include "ramp_export.h"

#include "base/hex_digit.h"
#include "export_writers.h"

#include <QStringList>
#include <charconv>

namespace pigmora {

namespace {

QByteArray number(double value) {
    char digits[32];
    const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    return QByteArray(digits, end - digits);
}

// A target as a name may hold it: "4-5", "lc-60".
QString targetKey(RampMeasure measure, double target) {
    QString key = QString::number(target, 'g', 15).replace(QLatin1Char('.'), QLatin1Char('-'));
    return measure == RampMeasure::Apca ? QStringLiteral("lc-") + key : key;
}

QString backgroundKey(Rgb background) {
    return hashHexText(background).mid(1);
}

QString sideText(const ColourRamp& ramp) {
    return ramp.darker ? QStringLiteral("dunkler") : QStringLiteral("heller");
}

QByteArray rampText(const std::vector<ColourRamp>& ramps) {
    QStringList lines;
    for (const ColourRamp& ramp : ramps) {
        lines << QStringLiteral("Schlüssel %1 auf %2, %3:")
                     .arg(hashHexText(ramp.key), hashHexText(ramp.background), sideText(ramp));
        for (const RampStep& step : ramp.steps) {
            const QString target = rampTargetText(ramp.measure, step.target);
            const QString contrast =
                step.colour ? rampContrastText(ramp.measure, step.contrast) : QStringLiteral("–");
            if (step.reached)
                lines << QStringLiteral("%1\t%2\t%3")
                             .arg(target, hashHexText(*step.colour), contrast);
            else if (step.colour)
                lines << QStringLiteral("%1\tnicht erreicht\tam nächsten %2 mit %3")
                             .arg(target, hashHexText(*step.colour), contrast);
            else
                lines << QStringLiteral("%1\tnicht erreicht").arg(target);
        }
    }
    return (lines.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8();
}

QByteArray rampJson(const std::vector<ColourRamp>& ramps) {
    if (ramps.empty())
        return "{\"ramps\": []}\n";
    const ColourRamp& first = ramps.front();
    const bool wcag = first.measure == RampMeasure::Wcag;
    QByteArray json = "{\"key\": \"" + hashHexText(first.key).toLatin1() + "\", \"measure\": \"" +
                      (wcag ? "wcag" : "apca") + "\", \"ramps\": [";
    for (std::size_t r = 0; r < ramps.size(); ++r) {
        const ColourRamp& ramp = ramps[r];
        json += QByteArray(r ? "," : "") + "\n  {\"background\": \"" +
                hashHexText(ramp.background).toLatin1() + "\", \"side\": \"" +
                (ramp.darker ? "darker" : "lighter") + "\", \"steps\": [";
        for (std::size_t s = 0; s < ramp.steps.size(); ++s) {
            const RampStep& step = ramp.steps[s];
            json += QByteArray(s ? "," : "") + "\n    {\"target\": " + number(step.target) +
                    ", \"colour\": " +
                    (step.colour ? '"' + hashHexText(*step.colour).toLatin1() + '"'
                                 : QByteArray("null")) +
                    ", \"" + (wcag ? "ratio" : "lc") +
                    "\": " + (step.colour ? number(step.contrast) : QByteArray("null")) +
                    ", \"reached\": " + (step.reached ? "true" : "false") + "}";
        }
        json += "]}";
    }
    return json + "]}\n";
}

QByteArray rampTokens(const std::vector<ColourRamp>& ramps) {
    QByteArray json = "{\"farbreihe\": {\"$type\": \"color\"";
    if (!ramps.empty())
        json += ", \"$description\": " +
                jsonString(QStringLiteral("Farbreihe zu %1").arg(hashHexText(ramps[0].key)));
    for (const ColourRamp& ramp : ramps) {
        const QString on = QStringLiteral("auf %1").arg(hashHexText(ramp.background));
        json += ",\n  " + jsonString(QStringLiteral("auf-") + backgroundKey(ramp.background)) +
                ": {\"$description\": " + jsonString(on);
        for (const RampStep& step : ramp.steps) {
            if (!step.reached)
                continue;
            json += ",\n    " + jsonString(targetKey(ramp.measure, step.target)) +
                    ": {\"$value\": " + tokenColourValue(*step.colour) + ", \"$description\": " +
                    jsonString(rampTargetText(ramp.measure, step.target) + QLatin1Char(' ') + on) +
                    "}";
        }
        json += "}";
    }
    return json + "\n}}\n";
}

QByteArray rampCss(const std::vector<ColourRamp>& ramps, const ExportStamp& stamp) {
    QString css =
        QStringLiteral("/* Farbreihe, geschrieben von %1 am %2 */\n:root {\n")
            .arg(
                stamp.program,
                stamp.written.toOffsetFromUtc(stamp.written.offsetFromUtc()).toString(Qt::ISODate));
    for (const ColourRamp& ramp : ramps)
        for (const RampStep& step : ramp.steps) {
            if (!step.reached)
                continue;
            QString name = QStringLiteral("--farbreihe-");
            if (ramps.size() > 1)
                name += backgroundKey(ramp.background) + QLatin1Char('-');
            name += targetKey(ramp.measure, step.target);
            css +=
                QStringLiteral("  %1: %2; /* %3 auf %4 */\n")
                    .arg(name, hashHexText(*step.colour), rampTargetText(ramp.measure, step.target),
                         hashHexText(ramp.background));
        }
    return (css + QStringLiteral("}\n")).toUtf8();
}

} // namespace

std::optional<RampFormat> rampFormatNamed(const QString& name) {
    static const std::pair<const char*, RampFormat> names[] = {{"text", RampFormat::Text},
                                                               {"json", RampFormat::Json},
                                                               {"tokens", RampFormat::Tokens},
                                                               {"css", RampFormat::Css}};
    for (const auto& [key, format] : names)
        if (name.compare(QLatin1String(key), Qt::CaseInsensitive) == 0)
            return format;
    return std::nullopt;
}

QByteArray rampExport(const std::vector<ColourRamp>& ramps, RampFormat format,
                      const ExportStamp& stamp) {
    switch (format) {
    case RampFormat::Text:
        break;
    case RampFormat::Json:
        return rampJson(ramps);
    case RampFormat::Tokens:
        return rampTokens(ramps);
    case RampFormat::Css:
        return rampCss(ramps, stamp);
    }
    return rampText(ramps);
}

std::vector<ColourScheme> rampSchemes(const std::vector<ColourRamp>& ramps) {
    std::vector<ColourScheme> schemes;
    for (const ColourRamp& ramp : ramps)
        for (const RampStep& step : ramp.steps)
            if (step.reached)
                schemes.push_back({rampSchemeName(ramp.measure, step.target,
                                                  ramps.size() > 1 ? std::optional(ramp.background)
                                                                   : std::nullopt),
                                   *step.colour, ramp.background});
    return schemes;
}

} // namespace pigmora
