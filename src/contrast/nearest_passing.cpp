#include "nearest_passing.h"

#include "hsl.h"
#include "luminance.h"
#include "wcag.h"

namespace pigmora {

namespace {

// Enough halvings to find the step of the 8-bit colours, which are far wider than 2^-40.
constexpr int halvings = 40;

struct Path {
    Hsl start;
    double otherLuminance;
    Rgb other;
    double required;

    Rgb at(double lightness) const { return rgbFromHsl({start.hue, start.saturation, lightness}); }
    // Along the path the luminance never falls as the lightness grows, so on each side of the
    // other colour's luminance "reaches the ratio" holds on one connected stretch.
    bool reachesLighter(double lightness) const {
        const Rgb c = at(lightness);
        return relativeLuminance(c) >= otherLuminance && reaches(contrastRatio(c, other), required);
    }
    bool reachesDarker(double lightness) const {
        const Rgb c = at(lightness);
        return relativeLuminance(c) <= otherLuminance && reaches(contrastRatio(c, other), required);
    }
    Suggestion suggestion(double lightness) const {
        const Rgb c = at(lightness);
        return {c, contrastRatio(c, other)};
    }
};

// The point nearest to `start`, on the way to `end`, where `holds` is true, given that it
// holds on one connected stretch that reaches `end`.
template <typename Holds>
std::optional<double> nearestWhere(double start, double end, Holds holds) {
    if (!holds(end))
        return std::nullopt;
    if (holds(start))
        return start;
    double fails = start;
    double reached = end;
    for (int i = 0; i < halvings; ++i) {
        const double mid = (fails + reached) / 2;
        (holds(mid) ? reached : fails) = mid;
    }
    return reached;
}

} // namespace

NearestPassing nearestPassing(Rgb edited, Rgb other, double required) {
    NearestPassing result;
    if (reaches(contrastRatio(edited, other), required)) {
        result.alreadyReached = true;
        return result;
    }
    const Path path{hslFromRgb(edited), relativeLuminance(other), other, required};
    const double start = path.start.lightness;
    if (const auto l = nearestWhere(start, 1, [&](double x) { return path.reachesLighter(x); }))
        result.lighter = path.suggestion(*l);
    if (const auto l = nearestWhere(start, 0, [&](double x) { return path.reachesDarker(x); }))
        result.darker = path.suggestion(*l);
    return result;
}

} // namespace pigmora
