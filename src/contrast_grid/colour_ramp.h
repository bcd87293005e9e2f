#pragma once

#include "base/colour_value.h"

#include <QString>
#include <optional>
#include <vector>

// Colour ramps made to a contrast: from a key colour and a background, one 8-bit sRGB colour a
// target, each of the key's OkLCh hue and reaching its target on the background.
namespace pigmora {

// What a target counts: the WCAG 2 ratio, or the APCA lightness contrast Lc (its amount; the
// sign only says which way round the colours are).
enum class RampMeasure { Wcag, Apca };

// How far above its target a colour may lie: 0.05 of the ratio, or 1 Lc.
double rampSlack(RampMeasure measure);
// How far the hue of a colour may lie from the key's, in degrees.
inline constexpr double rampHueTolerance = 2.0;
// Below this OkLCh chroma a key counts as a grey: it has no hue to keep, and its ramp is of the
// colours nearest to grey.
inline constexpr double rampGreyChroma = 0.004;

// The ratio of `colour` on `background`, unrounded, or the amount of its APCA Lc as text on it.
double rampContrast(RampMeasure measure, Rgb colour, Rgb background);

struct RampStep {
    double target = 0;
    // The colour reaches the target: at or above it by the unrounded ratio (or Lc) and at most
    // rampSlack() above it.
    bool reached = false;
    // The colour made; for a target not reached, the colour of the hue that comes nearest to it
    // (none when not even that exists).
    std::optional<Rgb> colour;
    double contrast = 0; // rampContrast() of the colour
};

struct ColourRamp {
    Rgb key;
    Rgb background;
    RampMeasure measure = RampMeasure::Wcag;
    // The colours lie on the darker side of the background (else the lighter): the side on which
    // more contrast can be had.
    bool darker = true;
    std::vector<RampStep> steps; // one a target, in the order of the targets
};

// A colour a target, in order: of the key's OkLCh hue (within rampHueTolerance), its chroma as
// close to the key's as the sRGB gamut allows at that lightness, each reaching its target
// (see RampStep::reached), the OkLCh lightness monotone along the list (each step at least as
// far from the background as the one before). Targets must rise (see rampTargetsProblem).
ColourRamp makeColourRamp(Rgb key, Rgb background, RampMeasure measure,
                          const std::vector<double>& targets);

// Reads a list of targets as a user writes it: numbers separated by blanks (or semicolons),
// with a decimal point or comma: "1.5 2 3 4,5 7 10". A German message when the text holds
// anything else or the list cannot be a ramp's (see rampTargetsProblem).
struct RampTargetsReading {
    std::vector<double> targets;
    QString problem; // empty when the targets are good
};
RampTargetsReading readRampTargets(const QString& text, RampMeasure measure);
// Why the targets make no ramp: none, one outside the range (ratios above 1 up to 21, Lc above
// 0 up to 108), or one not above the one before it. Empty when they are good.
QString rampTargetsProblem(RampMeasure measure, const std::vector<double>& targets);

// A target as the program shows it: "4,5:1", "Lc 60".
QString rampTargetText(RampMeasure measure, double target);
// A contrast a colour has: the ratio as the contrast window shows it ("4,53:1"), or Lc with one
// decimal ("Lc 60,4").
QString rampContrastText(RampMeasure measure, double contrast);
// The name under which a step is stored as a scheme: "Schlüssel 4.5", "Schlüssel Lc 60"; with
// `background` (when a ramp of several backgrounds is stored) "Schlüssel 4.5 auf #0d1117".
QString rampSchemeName(RampMeasure measure, double target,
                       std::optional<Rgb> background = std::nullopt);

} // namespace pigmora
