#pragma once

#include "base/colour_value.h"

#include <QString>
#include <array>
#include <optional>

namespace pigmora {

// The colour-vision deficiencies the previews show.
enum class VisionDeficiency { Protanopia, Deuteranopia, Tritanopia, Achromatopsia };
inline constexpr std::array<VisionDeficiency, 4> allVisionDeficiencies = {
    VisionDeficiency::Protanopia, VisionDeficiency::Deuteranopia, VisionDeficiency::Tritanopia,
    VisionDeficiency::Achromatopsia};

// How a colour looks with the deficiency: the dichromacies by the model of Machado, Oliveira
// and Fernandes (2009) at severity 1.0, achromatopsia as the grey of the same relative
// luminance. Worked in linear light, clamped to the displayable range and rounded.
Rgb simulateVision(Rgb colour, VisionDeficiency deficiency);

// "Protanopie", "Deuteranopie", "Tritanopie", "Achromatopsie".
QString deficiencyName(VisionDeficiency deficiency);

// The name the commands take and write: "protan", "deutan", "tritan", "achroma".
QString visionKey(VisionDeficiency deficiency);
// That name, or the whole word ("protanopia" ...), in any ASCII case.
std::optional<VisionDeficiency> visionFromKey(const QString& key);

} // namespace pigmora
