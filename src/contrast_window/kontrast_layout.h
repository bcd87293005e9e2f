#pragma once

#include "offer_rows.h"
#include "vision_previews.h"

#include <array>

class QFrame;
class QLabel;
class QPushButton;
class QWidget;

namespace pigmora {

// Every control of the contrast window, named as the tests address them.
struct KontrastControls {
    // "WCAG 2.x": the ratio, the text size and its thresholds, the three verdicts, APCA.
    QLabel* lblWcag = nullptr;
    QFrame* fraWcag = nullptr;
    QLabel* lblVerhältnisTitel = nullptr;
    QLabel* lblVerhältnis = nullptr;
    QLabel* lblTextgröße = nullptr;
    QLabel* lblSchwelle = nullptr;
    QLabel* lblAATitel = nullptr;
    QLabel* lblAA = nullptr;
    QLabel* lblAAATitel = nullptr;
    QLabel* lblAAA = nullptr;
    QLabel* lblGrafikTitel = nullptr;
    QLabel* lblGrafik = nullptr;
    QLabel* lblApcaTitel = nullptr;
    QLabel* lblApca = nullptr;
    // "Nächste passende Farbe": the colours offered in place of the edited one.
    QLabel* lblVorschlag = nullptr;
    QFrame* fraVorschlag = nullptr;
    QLabel* lblBearbeitet = nullptr;
    // The edited colour as selectable CSS text: lblAlsHex, lblAlsRgb, lblAlsHsl, lblAlsOklch.
    std::array<QLabel*, 4> lblAls{};
    LevelRows aa;
    LevelRows aaa;
    // "Farbsehschwächen": the sample as seen with each deficiency.
    QLabel* lblFarbsehen = nullptr;
    QFrame* fraFarbsehen = nullptr;
    std::array<VisionPreview, 4> vision;
    // The eyedropper: switch the edit target, then pick the colour from the screen.
    QPushButton* cmdTextVomBildschirm = nullptr;
    QPushButton* cmdHintergrundVomBildschirm = nullptr;
    // Both colours of the sample from a rectangle dragged over a text on the screen.
    QPushButton* cmdPaarVomBildschirm = nullptr;
    QPushButton* cmdSchließen = nullptr;
};

// Creates the controls in `window` with their layout, accessible names and tab order: the four
// forms of the edited colour, the four "Übernehmen" buttons from AA lighter to AAA darker, the
// three eyedropper buttons, then "Schließen".
KontrastControls buildKontrastLayout(QWidget* window);

} // namespace pigmora
