#pragma once

#include "contrast_grid/colour_ramp.h"
#include "scheme_export.h"

#include <QByteArray>
#include <optional>
#include <vector>

// Colour ramps written out, and as the schemes they make.
namespace pigmora {

enum class RampFormat { Text, Json, Tokens, Css };

// "text", "json", "tokens", "css"; nullopt for another name.
std::optional<RampFormat> rampFormatNamed(const QString& name);

// The ramps (of one key, a ramp a background) in the format:
//  - text: a head line a ramp ("Schlüssel #0969da auf #ffffff, dunkler:"), then a line a
//    target: the target ("4,5:1", "Lc 60"), the colour, the contrast it has; for a target out
//    of reach "nicht erreicht" and the nearest colour of the hue;
//  - JSON: {"key": ..., "measure": "wcag"|"apca", "ramps": [{"background": ..., "side":
//    "darker"|"lighter", "steps": [{"target": 4.5, "colour": "#...", "ratio" (or "lc"): ...,
//    "reached": true}, ...]}]}, the numbers unrounded; a step out of reach has its nearest
//    colour (or null) and "reached": false;
//  - design tokens (DTCG 2025.10): a group "farbreihe" of "$type" "color", a group a ramp
//    ("auf-ffffff"), a token a reached target ("4-5", "lc-60") whose "$description" names the
//    target and the background;
//  - CSS: a comment saying who wrote it, then ":root" with a custom property a reached target,
//    "--farbreihe-4-5" (with several backgrounds "--farbreihe-ffffff-4-5").
// Targets out of reach are left out of tokens and CSS.
QByteArray rampExport(const std::vector<ColourRamp>& ramps, RampFormat format,
                      const ExportStamp& stamp);

// Each reached step as a scheme, the colour as text on the background, named by
// rampSchemeName() (naming the background when there are several ramps).
std::vector<ColourScheme> rampSchemes(const std::vector<ColourRamp>& ramps);

} // namespace pigmora
