#include "colour_spaces.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace pigmora::css {

namespace {

using Matrix = std::array<Triple, 3>;

Triple multiply(const Matrix& m, const Triple& v) {
    return {m[0][0] * v[0] + m[0][1] * v[1] + m[0][2] * v[2],
            m[1][0] * v[0] + m[1][1] * v[1] + m[1][2] * v[2],
            m[2][0] * v[0] + m[2][1] * v[1] + m[2][2] * v[2]};
}

template <typename F> Triple eachComponent(const Triple& v, F f) {
    return {f(v[0]), f(v[1]), f(v[2])};
}

// A transfer function extended to negative values by reflection.
template <typename F> double signed_(double v, F f) {
    return v < 0 ? -f(-v) : f(v);
}

constexpr Matrix linearSrgbToXyz{{
    {506752.0 / 1228815, 87881.0 / 245763, 12673.0 / 70218},
    {87098.0 / 409605, 175762.0 / 245763, 12673.0 / 175545},
    {7918.0 / 409605, 87881.0 / 737289, 1001167.0 / 1053270},
}};
constexpr Matrix xyzToLinearSrgb{{
    {12831.0 / 3959, -329.0 / 214, -1974.0 / 3959},
    {-851781.0 / 878810, 1648619.0 / 878810, 36519.0 / 878810},
    {705.0 / 12673, -2585.0 / 12673, 705.0 / 667},
}};
constexpr Matrix linearP3ToXyz{{
    {608311.0 / 1250200, 189793.0 / 714400, 198249.0 / 1000160},
    {35783.0 / 156275, 247089.0 / 357200, 198249.0 / 2500400},
    {0.0 / 1, 32229.0 / 714400, 5220557.0 / 5000800},
}};
// To D50, as ProPhoto RGB is defined.
constexpr Matrix linearProphotoToXyzD50{{
    {0.79776664490064230, 0.13518129740053308, 0.03134773412839220},
    {0.28807482881940130, 0.71183523424187300, 0.00008993693872564},
    {0.00000000000000000, 0.00000000000000000, 0.82510460251046020},
}};
constexpr Matrix linearA98ToXyz{{
    {573536.0 / 994567, 263643.0 / 1420810, 187206.0 / 994567},
    {591459.0 / 1989134, 6239551.0 / 9945670, 374412.0 / 4972835},
    {53769.0 / 1989134, 351524.0 / 4972835, 4929758.0 / 4972835},
}};
constexpr Matrix linearRec2020ToXyz{{
    {63426534.0 / 99577255, 20160776.0 / 139408157, 47086771.0 / 278816314},
    {26158966.0 / 99577255, 472592308.0 / 697040785, 8267143.0 / 139408157},
    {0.0 / 1, 19567812.0 / 697040785, 295819943.0 / 278816314},
}};
// Bradford chromatic adaptation.
constexpr Matrix d50ToD65{{
    {0.955473421488075, -0.02309845494876471, 0.06325924320057072},
    {-0.0283697093338637, 1.0099953980813041, 0.021041441191917323},
    {0.012314014864481998, -0.020507649298898964, 1.330365926242124},
}};
constexpr Matrix xyzToLms{{
    {0.8190224379967030, 0.3619062600528904, -0.1288737815209879},
    {0.0329836539323885, 0.9292868615863434, 0.0361446663506424},
    {0.0481771893596242, 0.2642395317527308, 0.6335478284694309},
}};
constexpr Matrix lmsToOklab{{
    {0.2104542683093140, 0.7936177747023054, -0.0040720430116193},
    {1.9779985324311684, -2.4285922420485799, 0.4505937096174110},
    {0.0259040424655478, 0.7827717124575296, -0.8086757549230774},
}};
constexpr Matrix lmsToXyz{{
    {1.2268798758459243, -0.5578149944602171, 0.2813910456659647},
    {-0.0405757452148008, 1.1122868032803170, -0.0717110580655164},
    {-0.0763729366746601, -0.4214933324022432, 1.5869240198367816},
}};
constexpr Matrix oklabToLms{{
    {1.0000000000000000, 0.3963377773761749, 0.2158037573099136},
    {1.0000000000000000, -0.1055613458156586, -0.0638541728258133},
    {1.0000000000000000, -0.0894841775298119, -1.2914855480194092},
}};

// The D50 white, from its 4-figure CIE x,y chromaticity.
constexpr Triple d50White{0.3457 / 0.3585, 1.00000, (1.0 - 0.3457 - 0.3585) / 0.3585};

constexpr double degrees = 180 / std::numbers::pi;

Triple linearFromProphoto(const Triple& c) {
    return eachComponent(c, [](double v) {
        return signed_(v, [](double a) { return a <= 16.0 / 512 ? a / 16 : std::pow(a, 1.8); });
    });
}

Triple linearFromA98(const Triple& c) {
    return eachComponent(
        c, [](double v) { return signed_(v, [](double a) { return std::pow(a, 563.0 / 256); }); });
}

// Gamma 2.4, the reference display of Rec. ITU-R BT.1886, as the current draft of the colour
// module has it for rec2020 (earlier drafts took the camera curve of BT.2020 itself).
Triple linearFromRec2020(const Triple& c) {
    return eachComponent(
        c, [](double v) { return signed_(v, [](double a) { return std::pow(a, 2.4); }); });
}

Triple xyzD50FromLab(const Triple& lab) {
    constexpr double kappa = 24389.0 / 27;
    constexpr double epsilon = 216.0 / 24389;
    const double f1 = (lab[0] + 16) / 116;
    const double f0 = lab[1] / 500 + f1;
    const double f2 = f1 - lab[2] / 200;
    const Triple xyz{std::pow(f0, 3) > epsilon ? std::pow(f0, 3) : (116 * f0 - 16) / kappa,
                     lab[0] > kappa * epsilon ? std::pow((lab[0] + 16) / 116, 3) : lab[0] / kappa,
                     std::pow(f2, 3) > epsilon ? std::pow(f2, 3) : (116 * f2 - 16) / kappa};
    return {xyz[0] * d50White[0], xyz[1] * d50White[1], xyz[2] * d50White[2]};
}

Triple rectangularFromPolar(const Triple& lch) {
    const double h = lch[2] / degrees;
    return {lch[0], lch[1] * std::cos(h), lch[1] * std::sin(h)};
}

} // namespace

double linearFromSrgb(double srgb) {
    return signed_(srgb, [](double a) {
        return a <= 0.04045 ? a / 12.92 : std::pow((a + 0.055) / 1.055, 2.4);
    });
}

double srgbFromLinear(double linear) {
    return signed_(linear, [](double a) {
        return a > 0.0031308 ? 1.055 * std::pow(a, 1 / 2.4) - 0.055 : 12.92 * a;
    });
}

Triple linearFromSrgb(const Triple& srgb) {
    return eachComponent(srgb, [](double v) { return linearFromSrgb(v); });
}

Triple srgbFromLinear(const Triple& linear) {
    return eachComponent(linear, [](double v) { return srgbFromLinear(v); });
}

Triple xyzD65FromLinearSrgb(const Triple& linear) {
    return multiply(linearSrgbToXyz, linear);
}

Triple linearSrgbFromXyzD65(const Triple& xyz) {
    return multiply(xyzToLinearSrgb, xyz);
}

Triple oklabFromXyzD65(const Triple& xyz) {
    const Triple lms = multiply(xyzToLms, xyz);
    return multiply(lmsToOklab, eachComponent(lms, [](double v) { return std::cbrt(v); }));
}

Triple xyzD65FromOklab(const Triple& oklab) {
    const Triple lms = multiply(oklabToLms, oklab);
    return multiply(lmsToXyz, eachComponent(lms, [](double v) { return v * v * v; }));
}

Triple oklabFromOklch(const Triple& oklch) {
    return rectangularFromPolar(oklch);
}

Triple oklchFromOklab(const Triple& oklab) {
    const double chroma = std::hypot(oklab[1], oklab[2]);
    double hue = std::atan2(oklab[2], oklab[1]) * degrees;
    if (hue < 0)
        hue += 360;
    if (chroma <= 0.000004)
        hue = 0;
    return {oklab[0], chroma, hue};
}

Triple xyzD65From(ColourSpace space, const Triple& c) {
    switch (space) {
    case ColourSpace::Srgb:
        return multiply(linearSrgbToXyz, linearFromSrgb(c));
    case ColourSpace::SrgbLinear:
        return multiply(linearSrgbToXyz, c);
    case ColourSpace::DisplayP3:
        return multiply(linearP3ToXyz, linearFromSrgb(c)); // P3 uses the sRGB transfer
    case ColourSpace::DisplayP3Linear:
        return multiply(linearP3ToXyz, c);
    case ColourSpace::A98Rgb:
        return multiply(linearA98ToXyz, linearFromA98(c));
    case ColourSpace::ProphotoRgb:
        return multiply(d50ToD65, multiply(linearProphotoToXyzD50, linearFromProphoto(c)));
    case ColourSpace::Rec2020:
        return multiply(linearRec2020ToXyz, linearFromRec2020(c));
    case ColourSpace::XyzD50:
        return multiply(d50ToD65, c);
    case ColourSpace::XyzD65:
        return c;
    case ColourSpace::Lab:
        return multiply(d50ToD65, xyzD50FromLab(c));
    case ColourSpace::Lch:
        return multiply(d50ToD65, xyzD50FromLab(rectangularFromPolar(c)));
    case ColourSpace::Oklab:
        return xyzD65FromOklab(c);
    case ColourSpace::Oklch:
        break;
    }
    return xyzD65FromOklab(oklabFromOklch(c));
}

Triple srgbFromHsl(const Triple& hsl) {
    return srgbFromHslShares(hsl[0], hsl[1] / 100, hsl[2] / 100);
}

Triple srgbFromHslShares(double hueDegrees, double sat, double light) {
    double hue = std::fmod(hueDegrees, 360);
    if (hue < 0)
        hue += 360;
    const auto f = [&](double n) {
        const double k = std::fmod(n + hue / 30, 12);
        const double a = sat * std::min(light, 1 - light);
        return light - a * std::max(-1.0, std::min({k - 3, 9 - k, 1.0}));
    };
    return {f(0), f(8), f(4)};
}

Triple srgbFromHwb(const Triple& hwb) {
    const double white = hwb[1] / 100;
    const double black = hwb[2] / 100;
    if (white + black >= 1) {
        const double grey = white / (white + black);
        return {grey, grey, grey};
    }
    Triple rgb = srgbFromHsl({hwb[0], 100, 50});
    for (double& v : rgb)
        v = v * (1 - white - black) + white;
    return rgb;
}

Triple hslFromSrgb(const Triple& srgb) {
    const auto [red, green, blue] = srgb;
    const double max = std::max({red, green, blue});
    const double min = std::min({red, green, blue});
    double hue = 0, sat = 0;
    const double light = (min + max) / 2;
    const double d = max - min;
    if (d != 0) {
        sat = (light == 0 || light == 1) ? 0 : (max - light) / std::min(light, 1 - light);
        if (max == red)
            hue = (green - blue) / d + (green < blue ? 6 : 0);
        else if (max == green)
            hue = (blue - red) / d + 2;
        else
            hue = (red - green) / d + 4;
        hue *= 60;
    }
    if (sat < 0) {
        hue += 180;
        sat = -sat;
    }
    if (hue >= 360)
        hue -= 360;
    return {hue, sat * 100, light * 100};
}

} // namespace pigmora::css
