#include "output_forms.h"
#include "base/german_locale.h"

#include "contrast/apca.h"
#include "css_colour/css_colour.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QLocale>
#include <QStringList>

namespace pigmora {

namespace {

QString oneLine(QString name) {
    for (QChar& c : name) {
        const char16_t u = c.unicode();
        if (u < 0x20 || (u >= 0x7F && u < 0xA0))
            c = QLatin1Char(' ');
    }
    return name;
}

constexpr struct {
    WcagLevel level;
    bool large;
    const char* key;
} verdicts[] = {{WcagLevel::AA, false, "aa"},
                {WcagLevel::AA, true, "aa_large"},
                {WcagLevel::AAA, false, "aaa"},
                {WcagLevel::AAA, true, "aaa_large"}};

} // namespace

QString schemeLine(const ColourScheme& scheme) {
    QString line;
    line.reserve(scheme.name.size() + 16);
    line += oneLine(scheme.name);
    line += QLatin1Char('\t');
    line += hashHexText(scheme.text);
    line += QLatin1Char('\t');
    line += hashHexText(scheme.background);
    return line;
}

QString countText(qint64 count, const QString& singular, const QString& plural) {
    return QStringLiteral("%1 %2").arg(germanLocale().toString(count),
                                       count == 1 ? singular : plural);
}

QString schemeCountText(qint64 count) {
    return countText(count, QStringLiteral("Farbschema"), QStringLiteral("Farbschemata"));
}

QString levelText(WcagLevel level, bool largeText) {
    return QStringLiteral("%1 für %2 (ab %3)")
        .arg(level == WcagLevel::AA ? QStringLiteral("AA") : QStringLiteral("AAA"),
             largeText ? QStringLiteral("großen Text") : QStringLiteral("normalen Text"),
             thresholdText(requiredRatio(level, largeText)));
}

QString contrastReport(Rgb text, Rgb background) {
    const double ratio = contrastRatio(text, background);
    QStringList lines{QStringLiteral("Text %1 auf Hintergrund %2")
                          .arg(hashHexText(text), hashHexText(background)),
                      QStringLiteral("Kontrast nach WCAG 2: %1").arg(ratioText(ratio))};
    for (const auto& v : verdicts)
        lines << QStringLiteral("%1: %2").arg(
            levelText(v.level, v.large),
            verdictText(reaches(ratio, requiredRatio(v.level, v.large))));
    lines << QStringLiteral("APCA Lc: %1 (nicht normativ)")
                 .arg(apcaText(apcaContrast(text, background)));
    return lines.join(QLatin1Char('\n'));
}

QByteArray contrastJson(Rgb text, Rgb background) {
    const double ratio = contrastRatio(text, background);
    QJsonObject result{{QStringLiteral("wcag"), ratio},
                       {QStringLiteral("apca"), apcaContrast(text, background)}};
    for (const auto& v : verdicts)
        result.insert(QString::fromLatin1(v.key), reaches(ratio, requiredRatio(v.level, v.large)));
    return QJsonDocument(result).toJson(QJsonDocument::Compact) + '\n';
}

} // namespace pigmora
