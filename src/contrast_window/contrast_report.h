#pragma once

#include "base/colour_value.h"
#include "contrast/colour_vision.h"

#include <QString>
#include <array>

// Everything the contrast window shows, worked out from the sample's two colours and its font.
// No widgets here: the window only copies these texts and colours into its controls.
namespace pigmora {

// What the window reads off the sample.
struct SampleReading {
    Rgb text;
    Rgb background;
    double points = 0;
    bool bold = false;
    bool editsText = false; // the channels edit the text colour, not the background
};

struct Verdict {
    QString caption; // "1.4.3 AA (4,5:1):"
    QString text;    // "bestanden" or "nicht bestanden"
    bool passed = false;
};

// A colour offered in place of the edited one, or "–" where that side has none.
struct OfferedColour {
    bool exists = false;
    Rgb colour;
    QString hex;   // "#RRGGBB"
    QString ratio; // "4,54:1"
};

struct LevelOffer {
    QString caption; // "AA (4,5:1)"
    QString hint;    // already reached, none of this hue, or what the rows below offer
    OfferedColour lighter;
    OfferedColour darker;
};

struct VisionRow {
    VisionDeficiency deficiency = VisionDeficiency::Protanopia;
    QString name; // "Protanopie"
    Rgb text;
    Rgb background;
    QString ratio;
    QString verdict; // "AA bestanden"
    bool passed = false;
};

struct ContrastReport {
    QString ratio;     // "4,49:1"
    QString textSize;  // "Normaler Text: 9,75 pt"
    QString threshold; // which thresholds apply to that size
    Verdict aa;
    Verdict aaa;
    Verdict nonText;
    QString apca;   // "63,1"
    QString edited; // which colour the offers replace
    // The edited colour as CSS writes it, in the forms of editedFormNames.
    std::array<QString, 4> editedForms;
    LevelOffer aaOffer;
    LevelOffer aaaOffer;
    std::array<VisionRow, 4> vision;
};

// "hex", "rgb", "hsl", "oklch".
inline constexpr std::array<const char*, 4> editedFormNames{"hex", "rgb", "hsl", "oklch"};

ContrastReport makeContrastReport(const SampleReading& sample);

} // namespace pigmora
