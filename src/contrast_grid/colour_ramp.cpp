#include "colour_ramp.h"

#include "base/hex_digit.h"
#include "contrast/apca.h"
#include "contrast/luminance.h"
#include "contrast/wcag.h"
#include "css_colour/colour_spaces.h"

#include <QStringList>
#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

namespace pigmora {

namespace {

using css::Triple;

struct Lch {
    double l = 0, c = 0, h = 0;
};

// A hue as the direction of a and b in Oklab.
struct Hue {
    double degrees = 0, cos = 1, sin = 0;
    explicit Hue(double d)
        : degrees(d)
        , cos(std::cos(d * std::numbers::pi / 180))
        , sin(std::sin(d * std::numbers::pi / 180)) {}
};

Triple linearOf(double l, double c, const Hue& hue) {
    return css::linearSrgbFromXyzD65(css::xyzD65FromOklab({l, c * hue.cos, c * hue.sin}));
}

bool inGamut(const Triple& linear) {
    return std::all_of(linear.begin(), linear.end(),
                       [](double v) { return v >= -1e-9 && v <= 1 + 1e-9; });
}

// The most chroma a colour of this lightness and hue has inside sRGB.
double maxChroma(double l, const Hue& hue) {
    if (l <= 0 || l >= 1)
        return 0;
    double inside = 0, outside = 0.4;
    for (int i = 0; i < 15; ++i) {
        const double c = (inside + outside) / 2;
        (inGamut(linearOf(l, c, hue)) ? inside : outside) = c;
    }
    return inside;
}

// The 8-bit channel nearest a linear light share, as srgbFromLinear() rounds it, found among
// the linear shares half-way between two channels instead of through the power curve.
ChannelValue roundedChannel(double linear) {
    static const std::array<double, 255> halfWays = [] {
        std::array<double, 255> h{};
        for (int k = 0; k < 255; ++k) {
            const double c = (k + 0.5) / 255;
            h[std::size_t(k)] = c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
        }
        return h;
    }();
    return ChannelValue(std::upper_bound(halfWays.begin(), halfWays.end(), linear) -
                        halfWays.begin());
}

Rgb rounded(const Triple& linear) {
    return {roundedChannel(linear[0]), roundedChannel(linear[1]), roundedChannel(linear[2])};
}

Lch lchOf(Rgb colour) {
    const Triple lch = css::oklchFromOklab(css::oklabFromXyzD65(css::xyzD65FromLinearSrgb(
        {linearFromSrgb(colour.red), linearFromSrgb(colour.green), linearFromSrgb(colour.blue)})));
    return {lch[0], lch[1], lch[2]};
}

double hueDistance(double a, double b) {
    const double d = std::fmod(std::abs(a - b), 360.0);
    return d > 180 ? 360 - d : d;
}

double luminanceOf(const Triple& linear) {
    return 0.2126 * linear[0] + 0.7152 * linear[1] + 0.0722 * linear[2];
}

// How far a colour may move off the key's chroma while a target is looked for, a step at a time.
constexpr double chromaStep = 0.004;
constexpr int chromaSteps = 10;

class RampSolver {
public:
    RampSolver(Rgb key, Rgb background, RampMeasure measure)
        : background_(background)
        , backgroundApca_(apcaColour(background))
        , measure_(measure)
        , slack_(rampSlack(measure))
        , key_(lchOf(key))
        , hue_(key_.h)
        , grey_(key_.c < rampGreyChroma) {
        chromaGrid_.fill(-1);
        darker_ = contrast({0, 0, 0}) >= contrast({255, 255, 255});
        // Where the key's colours pass the background's luminance: the side's end.
        const double y = relativeLuminance(background);
        double below = 0, above = 1;
        for (int i = 0; i < 30; ++i) {
            const double l = (below + above) / 2;
            (luminanceOf(linearOf(l, wantedChroma(l), hue_)) < y ? below : above) = l;
        }
        pivot_ = (below + above) / 2;
    }

    bool darker() const { return darker_; }

    // `bound`: the lightness of the step before, which this one may not lie nearer the
    // background than.
    RampStep solve(double target, std::optional<double> bound) {
        target_ = target;
        bound_ = bound;
        best_.reset();
        nearest_.reset();
        seen_.fill(0);
        const double sideEnd = darker_ ? 0.0 : 1.0;
        const std::optional<double> reaching = crossing(target);
        if (!reaching) {
            // Not even the side's end reaches it. The nearest colour lies there, where the
            // colours of the hue begin: the end itself is black or white, of no hue.
            const double inwards = darker_ ? 0.01 : -0.01;
            for (int k = 0; k < 40 && !nearest_; ++k)
                search(sideEnd + k * inwards - 0.004, sideEnd + k * inwards + 0.004, 4);
        } else {
            double from = *reaching;
            double to = crossing(target + slack_).value_or(sideEnd);
            if (from > to)
                std::swap(from, to);
            search(from - 0.003, to + 0.003);
            if (!best_) // the 8-bit colours of the window missed the hue: look wider
                search(from - 0.02, to + 0.02);
        }

        RampStep step;
        step.target = target;
        const std::optional<Candidate>& made = best_ ? best_ : nearest_;
        step.reached = best_.has_value();
        if (made) {
            step.colour = made->colour;
            step.contrast = made->contrast;
        }
        return step;
    }

    double lightnessOf(Rgb colour) const { return lchOf(colour).l; }

private:
    struct Candidate {
        Rgb colour;
        double contrast = 0;
        double cost = 0;
    };

    // rampContrast(), with the background's share of APCA worked out once.
    double contrast(Rgb colour) const {
        if (measure_ == RampMeasure::Wcag)
            return contrastRatio(colour, background_);
        return std::abs(apcaContrast(apcaColour(colour), backgroundApca_));
    }

    // The most chroma the hue has inside sRGB at lightness l, between the values of a grid of
    // lightnesses worked out as they are asked for.
    double mostChroma(double l) const {
        const double at = std::clamp(l, 0.0, 1.0) * (chromaGrid_.size() - 1);
        const std::size_t i = std::min(std::size_t(at), chromaGrid_.size() - 2);
        const auto grid = [this](std::size_t k) {
            if (chromaGrid_[k] < 0)
                chromaGrid_[k] = maxChroma(double(k) / (chromaGrid_.size() - 1), hue_);
            return chromaGrid_[k];
        };
        const double f = at - double(i);
        return grid(i) * (1 - f) + grid(i + 1) * f;
    }

    double wantedChroma(double l) const { return std::min(key_.c, mostChroma(l)); }

    double contrastAt(double l) const {
        return contrast(rounded(linearOf(l, wantedChroma(l), hue_)));
    }

    // The lightness on the side at which the key's colours reach `x`: on the darker side the
    // lightest that does, on the lighter the darkest. None when even the side's end does not.
    std::optional<double> crossing(double x) const {
        double reaches = darker_ ? 0.0 : 1.0;
        double fails = pivot_;
        if (contrastAt(reaches) < x)
            return std::nullopt;
        for (int i = 0; i < 24; ++i) {
            const double l = (reaches + fails) / 2;
            (contrastAt(l) >= x ? reaches : fails) = l;
        }
        return reaches;
    }

    // Tries the 8-bit colours around the key's colours of lightness `from` to `to`, first at
    // the chroma wanted, then ever farther from it, until the best one found is nearer the
    // wanted chroma than the next step could bring.
    void search(double from, double to, int mostSamples = 12) {
        from = std::clamp(from, 0.0, 1.0);
        to = std::clamp(to, 0.0, 1.0);
        struct Sample {
            double l = 0, wanted = 0, most = 0;
        };
        std::array<Sample, 12> at;
        const int samples = std::clamp(int(std::ceil((to - from) / 0.0015)) + 1, 2,
                                       std::min(mostSamples, int(at.size())));
        for (int i = 0; i < samples; ++i) {
            const double l = from + (to - from) * i / (samples - 1);
            at[std::size_t(i)] = {l, wantedChroma(l), mostChroma(l)};
        }
        for (int step = 0; step <= chromaSteps; ++step) {
            for (int i = 0; i < samples; ++i) {
                const Sample& s = at[std::size_t(i)];
                for (int sign : {1, -1}) {
                    const double c = s.wanted + sign * step * chromaStep;
                    if ((step == 0 && sign < 0) || c < 0 || c > s.most + chromaStep / 2)
                        continue;
                    around(linearOf(s.l, std::min(c, s.most), hue_), s.wanted);
                }
            }
            if (best_ && best_->cost < (step + 0.5) * chromaStep)
                return;
        }
    }

    void around(const Triple& linear, double wanted) {
        const int r = roundedChannel(linear[0]);
        const int g = roundedChannel(linear[1]);
        const int b = roundedChannel(linear[2]);
        for (int dr = -1; dr <= 1; ++dr)
            for (int dg = -1; dg <= 1; ++dg)
                for (int db = -1; db <= 1; ++db) {
                    const int cr = r + dr, cg = g + dg, cb = b + db;
                    if (cr < 0 || cr > 255 || cg < 0 || cg > 255 || cb < 0 || cb > 255)
                        continue;
                    consider({ChannelValue(cr), ChannelValue(cg), ChannelValue(cb)}, wanted);
                }
    }

    void consider(Rgb colour, double wanted) {
        // Neighbouring samples share most of their 8-bit colours: each is looked at once.
        const ColourValue packed = packColour(colour);
        const std::size_t slot = (packed * 2654435761u) >> 22; // 10 bits
        if (seen_[slot] == packed + 1)
            return;
        seen_[slot] = packed + 1;
        const double m = contrast(colour);
        const bool inWindow = m >= target_ && m <= target_ + slack_;
        const double miss = m < target_ ? target_ - m : m - target_ - slack_;
        if (!inWindow && (best_ || (nearest_ && miss >= nearest_->cost)))
            return; // could replace nothing
        const Lch lch = lchOf(colour);
        if (!grey_ && hueDistance(lch.h, key_.h) > rampHueTolerance)
            return;
        if (bound_ && (darker_ ? lch.l > *bound_ : lch.l < *bound_))
            return;
        if (inWindow) {
            // The chroma first; of equal ones the colour least above the target.
            const double cost = std::abs(lch.c - wanted) + 1e-6 * (m - target_) / slack_;
            if (!best_ || cost < best_->cost)
                best_ = Candidate{colour, m, cost};
        } else {
            nearest_ = Candidate{colour, m, miss};
        }
    }

    Rgb background_;
    ApcaColour backgroundApca_;
    RampMeasure measure_;
    double slack_;
    Lch key_;
    Hue hue_;
    bool grey_;
    bool darker_ = true;
    double pivot_ = 0.5;
    double target_ = 0;
    std::optional<double> bound_;
    std::optional<Candidate> best_;
    std::optional<Candidate> nearest_;
    mutable std::array<double, 1025> chromaGrid_;
    std::array<ColourValue, 1024> seen_{}; // packed colour + 1 of each slot, 0 for none
};

// A number as the command line and the window write it, with a decimal point: "4.5", "60".
QString plainNumber(double value) {
    return QString::number(value, 'g', 15);
}

} // namespace

double rampSlack(RampMeasure measure) {
    return measure == RampMeasure::Wcag ? 0.05 : 1.0;
}

double rampContrast(RampMeasure measure, Rgb colour, Rgb background) {
    if (measure == RampMeasure::Wcag)
        return contrastRatio(colour, background);
    return std::abs(apcaContrast(colour, background));
}

ColourRamp makeColourRamp(Rgb key, Rgb background, RampMeasure measure,
                          const std::vector<double>& targets) {
    RampSolver solver(key, background, measure);
    ColourRamp ramp;
    ramp.key = key;
    ramp.background = background;
    ramp.measure = measure;
    ramp.darker = solver.darker();
    std::optional<double> bound;
    for (double target : targets) {
        RampStep step = solver.solve(target, bound);
        if (step.reached)
            bound = solver.lightnessOf(*step.colour);
        ramp.steps.push_back(step);
    }
    return ramp;
}

QString rampTargetsProblem(RampMeasure measure, const std::vector<double>& targets) {
    if (targets.empty())
        return QStringLiteral("Es fehlen die Ziele der Farbreihe.");
    const double most = measure == RampMeasure::Wcag ? 21 : 108;
    for (std::size_t i = 0; i < targets.size(); ++i) {
        const double t = targets[i];
        if (!(t > (measure == RampMeasure::Wcag ? 1 : 0)) || !(t <= most))
            return measure == RampMeasure::Wcag
                       ? QStringLiteral("Das Ziel %1 ist kein Kontrastverhältnis: möglich sind "
                                        "Werte über 1 bis 21.")
                             .arg(plainNumber(t))
                       : QStringLiteral("Das Ziel %1 ist kein APCA-Wert: möglich sind Werte über "
                                        "0 bis 108.")
                             .arg(plainNumber(t));
        if (i > 0 && !(t > targets[i - 1]))
            return QStringLiteral("Die Ziele müssen aufsteigen: %1 steht nach %2.")
                .arg(plainNumber(t), plainNumber(targets[i - 1]));
    }
    return {};
}

RampTargetsReading readRampTargets(const QString& text, RampMeasure measure) {
    RampTargetsReading reading;
    QString normal = text;
    normal.replace(QLatin1Char(';'), QLatin1Char(' '));
    for (const QString& word : normal.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        QString number = word.trimmed();
        number.replace(QLatin1Char(','), QLatin1Char('.'));
        bool ok = false;
        const double value = number.toDouble(&ok);
        if (!ok || !std::isfinite(value)) {
            reading.problem = QStringLiteral("„%1“ ist keine Zahl.").arg(word.left(40));
            reading.targets.clear();
            return reading;
        }
        reading.targets.push_back(value);
    }
    reading.problem = rampTargetsProblem(measure, reading.targets);
    if (!reading.problem.isEmpty())
        reading.targets.clear();
    return reading;
}

QString rampTargetText(RampMeasure measure, double target) {
    if (measure == RampMeasure::Wcag)
        return germanNumberText(target, 2) + QStringLiteral(":1");
    return QStringLiteral("Lc ") + germanNumberText(target, 2);
}

QString rampContrastText(RampMeasure measure, double contrast) {
    if (measure == RampMeasure::Wcag)
        return ratioText(contrast);
    return QStringLiteral("Lc ") + apcaText(contrast);
}

QString rampSchemeName(RampMeasure measure, double target, std::optional<Rgb> background) {
    QString name = QStringLiteral("Schlüssel ");
    if (measure == RampMeasure::Apca)
        name += QStringLiteral("Lc ");
    name += plainNumber(target);
    if (background)
        name += QStringLiteral(" auf ") + hashHexText(*background);
    return name;
}

} // namespace pigmora
