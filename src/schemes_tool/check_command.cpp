#include "base/german_locale.h"
#include "command_support.h"
#include "commands.h"
#include "contrast/wcag.h"
#include "output_forms.h"

#include <QLocale>
#include <algorithm>
#include <vector>

namespace pigmora {

int runCheck(const CommandLine& line, ToolOutput& output) {
    const auto schemes = readSchemes(line, output);
    if (!schemes)
        return int(ToolExit::Failed);
    const double required = requiredRatio(line.level, line.largeText);
    // The text of a ratio depends on its hundredths alone (1,00:1 to 21,00:1): each is made once.
    std::vector<QString> ratioTexts(2101);
    qint64 failing = 0;
    for (const ColourScheme& scheme : *schemes) {
        const double ratio = contrastRatio(scheme.text, scheme.background);
        if (reaches(ratio, required))
            continue;
        ++failing;
        const auto hundredths = size_t(std::clamp(ratioHundredths(ratio), 0, 2100));
        if (ratioTexts[hundredths].isEmpty())
            ratioTexts[hundredths] = ratioText(ratio);
        QString text = schemeLine(scheme);
        text += QLatin1Char('\t');
        text += ratioTexts[hundredths];
        output.line(text);
    }
    const qint64 all = qint64(schemes->size());
    const QString level = levelText(line.level, line.largeText);
    if (all == 0)
        output.message(QStringLiteral("Die Farbdatei enthält keine Farbschemata."));
    else if (failing == 0)
        output.message(
            all == 1 ? QStringLiteral("Das Farbschema erreicht %1.").arg(level)
                     : QStringLiteral("Alle %1 erreichen %2.").arg(schemeCountText(all), level));
    else
        output.message(
            QStringLiteral("%1 von %2 %3 %4 nicht.")
                .arg(germanLocale().toString(failing), schemeCountText(all),
                     failing == 1 ? QStringLiteral("erreicht") : QStringLiteral("erreichen"),
                     level));
    return int(failing == 0 ? ToolExit::Done : ToolExit::Refused);
}

} // namespace pigmora
