#include "apca.h"

#include "wcag.h"

#include <cmath>

namespace pigmora {

namespace {

constexpr double mainTrc = 2.4;
constexpr double redCoefficient = 0.2126729;
constexpr double greenCoefficient = 0.7151522;
constexpr double blueCoefficient = 0.0721750;

constexpr double normBackground = 0.56;
constexpr double normText = 0.57;
constexpr double reverseText = 0.62;
constexpr double reverseBackground = 0.65;

constexpr double blackThreshold = 0.022;
constexpr double blackClamp = 1.414;
constexpr double scaleBlackOnWhite = 1.14;
constexpr double scaleWhiteOnBlack = 1.14;
constexpr double offsetBlackOnWhite = 0.027;
constexpr double offsetWhiteOnBlack = 0.027;
constexpr double deltaYMin = 0.0005;
constexpr double lowClip = 0.1;

// APCA's screen luminance: a plain power curve, not the piecewise sRGB one.
double screenLuminance(Rgb c) {
    const auto channel = [](ChannelValue v) { return std::pow(v / 255.0, mainTrc); };
    return redCoefficient * channel(c.red) + greenCoefficient * channel(c.green) +
           blueCoefficient * channel(c.blue);
}

// Soft clamp of near-black luminances.
double clampBlack(double y) {
    return y > blackThreshold ? y : y + std::pow(blackThreshold - y, blackClamp);
}

} // namespace

ApcaColour apcaColour(Rgb colour) {
    ApcaColour c;
    c.y = clampBlack(screenLuminance(colour));
    c.text = std::pow(c.y, normText);
    c.background = std::pow(c.y, normBackground);
    c.reverseText = std::pow(c.y, reverseText);
    c.reverseBackground = std::pow(c.y, reverseBackground);
    return c;
}

double apcaContrast(const ApcaColour& text, const ApcaColour& background) {
    if (std::abs(background.y - text.y) < deltaYMin)
        return 0;
    if (background.y > text.y) { // dark text on a light background
        const double sapc = (background.background - text.text) * scaleBlackOnWhite;
        return sapc < lowClip ? 0 : (sapc - offsetBlackOnWhite) * 100;
    }
    const double sapc = (background.reverseBackground - text.reverseText) * scaleWhiteOnBlack;
    return sapc > -lowClip ? 0 : (sapc + offsetWhiteOnBlack) * 100;
}

double apcaContrast(Rgb text, Rgb background) {
    return apcaContrast(apcaColour(text), apcaColour(background));
}

QString apcaText(double lc) {
    const long long tenths = std::llround(lc * 10);
    return decimalCommaText(tenths, 1);
}

} // namespace pigmora
