#pragma once

#include "base/colour_value.h"

#include <QString>

// The contrast rules of WCAG 2.x: success criteria 1.4.3 (AA), 1.4.6 (AAA) and 1.4.11 (graphics
// and interface parts).
namespace pigmora {

enum class WcagLevel { AA, AAA };

// The contrast ratio of two colours, 1 (equal luminance) to 21 (black and white), whichever
// of the two is the text.
double contrastRatio(Rgb a, Rgb b);

// The ratio in hundredths, cut and never rounded up: 4.4999 gives 449. What the program shows
// and every verdict it gives come from this one number, so a ratio shown as "4,49:1" never
// passes 4.5. (A hair of slack absorbs the rounding of floating point: black on white is
// exactly 21.)
int ratioHundredths(double ratio);
// True when the ratio reaches `required` (4.5, 7, 3 ...).
bool reaches(double ratio, double required);

// Large text: at least 18 pt, or at least 14 pt and bold. The size counts in hundredths of a
// point, cut as it is shown.
bool isLargeText(double points, bool bold);
// The ratio a level asks of normal or of large text: AA 4.5 or 3, AAA 7 or 4.5.
double requiredRatio(WcagLevel level, bool largeText);
// What 1.4.11 asks of graphics and interface parts.
inline constexpr double nonTextRatio = 3.0;

// "4,49:1", "21,00:1".
QString ratioText(double ratio);
// "4,5:1", "7:1", "3:1": a threshold as the rules write it.
QString thresholdText(double required);
QString verdictText(bool passed); // "bestanden" or "nicht bestanden"
// Which size class the text is in, and why: "Großer Text: 18 pt", "Normaler Text: 12 pt fett".
QString textSizeText(double points, bool bold);
// A number with a decimal comma, cut (not rounded) to at most `decimals` decimals, without
// trailing zeros: 9.75 gives "9,75", 12 gives "12".
QString germanNumberText(double value, int decimals);
// A whole number of 10^-decimals steps with a decimal comma: (-685, 1) gives "-68,5". Without
// `keepZeros`, trailing zeros of the fraction are dropped.
QString decimalCommaText(long long scaled, int decimals, bool keepZeros = true);

} // namespace pigmora
