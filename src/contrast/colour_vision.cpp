#include "colour_vision.h"

#include "base/ascii.h"
#include "luminance.h"

namespace pigmora {

namespace {

using Matrix = std::array<std::array<double, 3>, 3>;

// Machado, Oliveira and Fernandes 2009, table of simulation matrices, severity 1.0.
constexpr Matrix protanopia{{{0.152286, 1.052583, -0.204868},
                             {0.114503, 0.786281, 0.099216},
                             {-0.003882, -0.048116, 1.051998}}};
constexpr Matrix deuteranopia{{{0.367322, 0.860646, -0.227968},
                               {0.280085, 0.672501, 0.047413},
                               {-0.011820, 0.042940, 0.968881}}};
constexpr Matrix tritanopia{{{1.255528, -0.076749, -0.178779},
                             {-0.078411, 0.930809, 0.147602},
                             {0.004733, 0.691367, 0.303900}}};

Rgb apply(const Matrix& m, Rgb colour) {
    const std::array<double, 3> in{linearFromSrgb(colour.red), linearFromSrgb(colour.green),
                                   linearFromSrgb(colour.blue)};
    std::array<ChannelValue, 3> out{};
    for (int row = 0; row < 3; ++row)
        out[row] = srgbFromLinear(m[row][0] * in[0] + m[row][1] * in[1] + m[row][2] * in[2]);
    return Rgb{out[0], out[1], out[2]};
}

} // namespace

Rgb simulateVision(Rgb colour, VisionDeficiency deficiency) {
    switch (deficiency) {
    case VisionDeficiency::Protanopia:
        return apply(protanopia, colour);
    case VisionDeficiency::Deuteranopia:
        return apply(deuteranopia, colour);
    case VisionDeficiency::Tritanopia:
        return apply(tritanopia, colour);
    case VisionDeficiency::Achromatopsia:
        break;
    }
    const ChannelValue grey = srgbFromLinear(relativeLuminance(colour));
    return Rgb{grey, grey, grey};
}

QString deficiencyName(VisionDeficiency deficiency) {
    switch (deficiency) {
    case VisionDeficiency::Protanopia:
        return QStringLiteral("Protanopie");
    case VisionDeficiency::Deuteranopia:
        return QStringLiteral("Deuteranopie");
    case VisionDeficiency::Tritanopia:
        return QStringLiteral("Tritanopie");
    case VisionDeficiency::Achromatopsia:
        return QStringLiteral("Achromatopsie");
    }
    return {};
}

namespace {

struct VisionKey {
    VisionDeficiency deficiency;
    const char* key;
    const char* word;
};
constexpr VisionKey visionKeys[] = {{VisionDeficiency::Protanopia, "protan", "protanopia"},
                                    {VisionDeficiency::Deuteranopia, "deutan", "deuteranopia"},
                                    {VisionDeficiency::Tritanopia, "tritan", "tritanopia"},
                                    {VisionDeficiency::Achromatopsia, "achroma", "achromatopsia"}};

} // namespace

QString visionKey(VisionDeficiency deficiency) {
    for (const VisionKey& k : visionKeys)
        if (k.deficiency == deficiency)
            return QString::fromLatin1(k.key);
    return {};
}

std::optional<VisionDeficiency> visionFromKey(const QString& key) {
    for (const VisionKey& k : visionKeys)
        if (equalsAscii(key, k.key) || equalsAscii(key, k.word))
            return k.deficiency;
    return std::nullopt;
}

} // namespace pigmora
