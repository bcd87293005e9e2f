#pragma once

#include "contrast_report.h"

class QGridLayout;
class QLabel;
class QPushButton;
class QWidget;

namespace pigmora {

// One offered colour: "heller:" or "dunkler:", a swatch, its "#RRGGBB", its ratio and the
// button that applies it.
struct OfferRow {
    QLabel* side = nullptr;
    QLabel* swatch = nullptr;
    QLabel* hex = nullptr;
    QLabel* ratio = nullptr;
    QPushButton* apply = nullptr;
};

// The offers for one level (AA or AAA): its caption, a hint line and the two rows.
struct LevelRows {
    QLabel* caption = nullptr;
    QLabel* hint = nullptr;
    OfferRow lighter;
    OfferRow darker;
};

// Adds the rows of `level` ("AA", "AAA") to `grid` from `firstRow` on (three grid rows). The
// controls are named after the level: lblAAStufe, lblAAHinweis, lblAAHeller,
// lblAAHellerFarbe, lblAAHellerHex, lblAAHellerVerhältnis, cmdAAHeller, and so on for Dunkler.
LevelRows addLevelRows(QWidget* parent, QGridLayout* grid, int firstRow, const char* level);
void showLevelOffer(const LevelRows& rows, const LevelOffer& offer);

} // namespace pigmora
