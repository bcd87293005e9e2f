#pragma once

#include "contrast_report.h"

class QGridLayout;
class QLabel;
class QWidget;

namespace pigmora {

// One colour-vision preview: the deficiency's name, a sample text in the simulated colours, the
// ratio of the simulated colours and the AA verdict on it.
struct VisionPreview {
    QLabel* name = nullptr;
    QLabel* sample = nullptr;
    QLabel* ratio = nullptr;
    QLabel* verdict = nullptr;
};

// Adds the preview of `deficiency` as row `row` of `grid`. The controls are named after the
// deficiency's German name: lblProtanopie, lblProtanopieProbe, lblProtanopieVerhältnis,
// lblProtanopieAA.
VisionPreview addVisionPreview(QWidget* parent, QGridLayout* grid, int row,
                               VisionDeficiency deficiency);
void showVisionPreview(const VisionPreview& preview, const VisionRow& vision);

} // namespace pigmora
