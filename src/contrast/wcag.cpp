#include "wcag.h"

#include "luminance.h"

#include <algorithm>
#include <cmath>

namespace pigmora {

namespace {

// Cuts value * 10^decimals to a whole number. The slack keeps a value that floating point
// computed a hair below a whole step (20.999999999999996 for 21) on that step. It is relative
// and a few dozen units in the last place wide: the ratio of two 8-bit colours is off by a few
// at most, while real pairs lie as close as 4e-10 below 4.5 and must not pass.
long long cutScaled(double value, int decimals) {
    const double scaled = value * std::pow(10.0, decimals);
    return static_cast<long long>(std::floor(scaled + std::abs(scaled) * 1e-14));
}

} // namespace

QString decimalCommaText(long long scaled, int decimals, bool keepZeros) {
    const bool negative = scaled < 0;
    long long magnitude = negative ? -scaled : scaled;
    long long unit = 1;
    for (int i = 0; i < decimals; ++i)
        unit *= 10;
    QString fraction = QStringLiteral("%1").arg(magnitude % unit, decimals, 10, QLatin1Char('0'));
    if (!keepZeros)
        while (fraction.endsWith(QLatin1Char('0')))
            fraction.chop(1);
    QString text = QString::number(magnitude / unit);
    if (decimals > 0 && !fraction.isEmpty())
        text += QLatin1Char(',') + fraction;
    return negative ? QLatin1Char('-') + text : text;
}

double contrastRatio(Rgb a, Rgb b) {
    const double la = relativeLuminance(a);
    const double lb = relativeLuminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

int ratioHundredths(double ratio) {
    return int(cutScaled(ratio, 2));
}

bool reaches(double ratio, double required) {
    return ratioHundredths(ratio) >= std::lround(required * 100);
}

bool isLargeText(double points, bool bold) {
    const long long hundredths = cutScaled(points, 2);
    return hundredths >= 1800 || (bold && hundredths >= 1400);
}

double requiredRatio(WcagLevel level, bool largeText) {
    if (level == WcagLevel::AA)
        return largeText ? 3.0 : 4.5;
    return largeText ? 4.5 : 7.0;
}

QString ratioText(double ratio) {
    return decimalCommaText(ratioHundredths(ratio), 2, true) + QStringLiteral(":1");
}

QString thresholdText(double required) {
    return germanNumberText(required, 1) + QStringLiteral(":1");
}

QString verdictText(bool passed) {
    return passed ? QStringLiteral("bestanden") : QStringLiteral("nicht bestanden");
}

QString textSizeText(double points, bool bold) {
    QString text = isLargeText(points, bold) ? QStringLiteral("Großer Text: ")
                                             : QStringLiteral("Normaler Text: ");
    text += germanNumberText(points, 2) + QStringLiteral(" pt");
    if (bold)
        text += QStringLiteral(" fett");
    return text;
}

QString germanNumberText(double value, int decimals) {
    return decimalCommaText(cutScaled(value, decimals), decimals, false);
}

} // namespace pigmora
