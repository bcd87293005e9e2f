#include "contrast_report.h"

#include "base/hex_digit.h"
#include "contrast/apca.h"
#include "contrast/nearest_passing.h"
#include "contrast/wcag.h"
#include "css_colour/colour_forms.h"
#include "editor/text_forms.h"

namespace pigmora {

namespace {

Verdict verdict(const char* rule, double required, double ratio) {
    Verdict v;
    v.caption = QStringLiteral("%1 (%2):").arg(QString::fromUtf8(rule), thresholdText(required));
    v.passed = reaches(ratio, required);
    v.text = verdictText(v.passed);
    return v;
}

OfferedColour offered(const std::optional<Suggestion>& suggestion) {
    OfferedColour o;
    if (!suggestion) {
        o.hex = QStringLiteral("–");
        return o;
    }
    o.exists = true;
    o.colour = suggestion->colour;
    o.hex = hashHexText(suggestion->colour, LetterCase::Upper);
    o.ratio = ratioText(suggestion->ratio);
    return o;
}

LevelOffer levelOffer(const char* level, double required, const QString& editedName, Rgb edited,
                      Rgb other) {
    const QString name = QString::fromUtf8(level);
    LevelOffer offer;
    offer.caption = QStringLiteral("%1 (%2)").arg(name, thresholdText(required));
    const NearestPassing nearest = nearestPassing(edited, other, required);
    offer.lighter = offered(nearest.lighter);
    offer.darker = offered(nearest.darker);
    if (nearest.alreadyReached)
        offer.hint = QStringLiteral("Die %1 erreicht %2 bereits.").arg(editedName, name);
    else if (!offer.lighter.exists && !offer.darker.exists)
        offer.hint = QStringLiteral("Keine Farbe dieses Farbtons erreicht %1.").arg(name);
    else
        offer.hint =
            QStringLiteral("Die nächsten Farben dieses Farbtons, die %1 erreichen:").arg(name);
    return offer;
}

VisionRow visionRow(VisionDeficiency deficiency, const SampleReading& sample, double requiredAA) {
    VisionRow row;
    row.deficiency = deficiency;
    row.name = deficiencyName(deficiency);
    row.text = simulateVision(sample.text, deficiency);
    row.background = simulateVision(sample.background, deficiency);
    const double ratio = contrastRatio(row.text, row.background);
    row.ratio = ratioText(ratio);
    row.passed = reaches(ratio, requiredAA);
    row.verdict = QStringLiteral("AA ") + verdictText(row.passed);
    return row;
}

} // namespace

ContrastReport makeContrastReport(const SampleReading& sample) {
    ContrastReport r;
    const double ratio = contrastRatio(sample.text, sample.background);
    const bool large = isLargeText(sample.points, sample.bold);
    const double requiredAA = requiredRatio(WcagLevel::AA, large);
    const double requiredAAA = requiredRatio(WcagLevel::AAA, large);

    r.ratio = ratioText(ratio);
    r.textSize = textSizeText(sample.points, sample.bold);
    r.threshold = QStringLiteral("Für %1 Text gilt AA ab %2, AAA ab %3.")
                      .arg(large ? QStringLiteral("großen") : QStringLiteral("normalen"),
                           thresholdText(requiredAA), thresholdText(requiredAAA));
    r.aa = verdict("1.4.3 AA", requiredAA, ratio);
    r.aaa = verdict("1.4.6 AAA", requiredAAA, ratio);
    r.nonText = verdict("1.4.11 Grafik und Bedienelemente", nonTextRatio, ratio);
    r.apca = apcaText(apcaContrast(sample.text, sample.background));

    const Rgb edited = sample.editsText ? sample.text : sample.background;
    const Rgb other = sample.editsText ? sample.background : sample.text;
    const QString editedName =
        sample.editsText ? QStringLiteral("Textfarbe") : QStringLiteral("Hintergrundfarbe");
    r.edited = QStringLiteral("Bearbeitet wird die %1 %2.")
                   .arg(editedName, hashHexText(edited, LetterCase::Upper));
    r.editedForms = {hashHexText(edited), cssRgbText(edited), cssHslText(edited),
                     cssOklchText(edited)};
    r.aaOffer = levelOffer("AA", requiredAA, editedName, edited, other);
    r.aaaOffer = levelOffer("AAA", requiredAAA, editedName, edited, other);

    for (std::size_t i = 0; i < allVisionDeficiencies.size(); ++i)
        r.vision[i] = visionRow(allVisionDeficiencies[i], sample, requiredAA);
    return r;
}

} // namespace pigmora
