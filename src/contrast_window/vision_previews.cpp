#include "vision_previews.h"

#include "accessibility/accessible_shape.h"
#include "base/hex_digit.h"
#include "editor/widget_colours.h"
#include "value_label.h"

#include <QGridLayout>
#include <QLabel>

namespace pigmora {

VisionPreview addVisionPreview(QWidget* parent, QGridLayout* grid, int row,
                               VisionDeficiency deficiency) {
    const QString name = deficiencyName(deficiency);
    const auto objectName = [&name](const char* suffix) {
        return (QStringLiteral("lbl") + name + QString::fromUtf8(suffix)).toUtf8();
    };
    VisionPreview p;
    p.name = namedLabel(parent, objectName("").constData(), name + QLatin1Char(':'), name);
    setAccessibleHidden(p.name, true); // every other label of the row begins with it
    p.sample = namedLabel(parent, objectName("Probe").constData(), QStringLiteral("Beispieltext"),
                          name + QStringLiteral(": Vorschau"));
    p.sample->setAlignment(Qt::AlignCenter);
    p.sample->setMargin(2);
    p.sample->setMinimumWidth(p.sample->fontMetrics().horizontalAdvance(p.sample->text()) + 16);
    p.ratio = namedLabel(parent, objectName("Verhältnis").constData(), QString(),
                         name + QStringLiteral(": Kontrastverhältnis"));
    reserveWidth(p.ratio, {QStringLiteral("21,00:1")});
    p.ratio->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    p.verdict = namedLabel(parent, objectName("AA").constData(), QString(), name);
    reserveWidth(p.verdict, {QStringLiteral("AA nicht bestanden")});
    grid->addWidget(p.name, row, 0);
    grid->addWidget(p.sample, row, 1);
    grid->addWidget(p.ratio, row, 2);
    grid->addWidget(p.verdict, row, 3);
    return p;
}

void showVisionPreview(const VisionPreview& preview, const VisionRow& vision) {
    setForeColour(preview.sample, packColour(vision.text));
    setBackColour(preview.sample, packColour(vision.background));
    preview.sample->setAccessibleDescription(
        QStringLiteral("Text %1 auf %2")
            .arg(hashHexText(vision.text, LetterCase::Upper),
                 hashHexText(vision.background, LetterCase::Upper)));
    preview.ratio->setText(vision.ratio);
    preview.ratio->setAccessibleName(vision.name + QStringLiteral(": Kontrastverhältnis ") +
                                     vision.ratio);
    showValue(preview.verdict, vision.name, vision.verdict);
}

} // namespace pigmora
