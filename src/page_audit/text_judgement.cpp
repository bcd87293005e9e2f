#include "text_judgement.h"

#include "contrast/luminance.h"

#include <algorithm>
#include <cmath>

namespace pigmora {

namespace {

double ratioOf(double a, double b) {
    return a > b ? (a + 0.05) / (b + 0.05) : (b + 0.05) / (a + 0.05);
}

// Columns (or rows) whose pixel centre c + 0.5 lies in [start, start + length).
std::pair<int, int> centresInside(double start, double length) {
    return {int(std::ceil(start - 0.5)), int(std::ceil(start + length - 0.5))};
}

} // namespace

TextMeter::TextMeter(Rgb colour, double alpha)
    : colour_(colour)
    , alpha_(std::clamp(alpha, 0.0, 1.0))
    , colourLuminance_(relativeLuminance(colour)) {}

Rgb TextMeter::shownOver(Rgb b) const {
    if (alpha_ >= 1)
        return colour_;
    const auto mix = [this](int c, int under) {
        return ChannelValue(std::lround(alpha_ * c + (1 - alpha_) * under));
    };
    return {mix(colour_.red, b.red), mix(colour_.green, b.green), mix(colour_.blue, b.blue)};
}

void TextMeter::take(Rgb background) {
    ++pixels_;
    // A flat background repeats its pixel: the ratio is known already.
    if (seen_ && background == last_)
        return;
    seen_ = true;
    last_ = background;
    const Rgb shown = shownOver(background);
    if (!(shown == background))
        differs_ = true;
    const double luminance = alpha_ >= 1 ? colourLuminance_ : relativeLuminance(shown);
    const double ratio = ratioOf(luminance, relativeLuminance(background));
    if (ratio < lowest_) {
        lowest_ = ratio;
        atLowest_ = background;
        shownLowest_ = shown;
    }
    if (ratio > highest_) {
        highest_ = ratio;
        atHighest_ = background;
    }
}

void TextMeter::measure(const PixelImage& textless, const std::vector<GlyphBox>& boxes) {
    const PixelRect picture = textless.area();
    for (const GlyphBox& box : boxes) {
        const auto [left, right] = centresInside(box.x, box.width);
        const auto [top, bottom] = centresInside(box.y, box.height);
        const PixelRect inside =
            PixelRect{left, top, right - left, bottom - top}.intersected(picture);
        for (int y = inside.y; y < inside.bottom(); ++y)
            for (int x = inside.x; x < inside.right(); ++x)
                take(textless.pageAt(x, y));
    }
}

PixelRect pixelBounds(const std::vector<GlyphBox>& boxes) {
    PixelRect bounds;
    for (const GlyphBox& box : boxes) {
        const auto [left, right] = centresInside(box.x, box.width);
        const auto [top, bottom] = centresInside(box.y, box.height);
        bounds = bounds.united({left, top, right - left, bottom - top});
    }
    return bounds;
}

bool isDecorativeText(const QString& text) {
    for (char32_t c : text.toUcs4())
        if (QChar::isLetterOrNumber(c))
            return false;
    return true;
}

Judgement judgeText(const PageText& text, const TextMeter& meter, WcagLevel level) {
    Judgement j;
    if (isDecorativeText(text.text)) {
        j.skipped = SkipReason::Decorative;
        return j;
    }
    if (text.alpha <= 0) {
        j.skipped = SkipReason::Transparent;
        return j;
    }
    if (meter.pixels() == 0) {
        j.skipped = SkipReason::Clipped; // no pixel centre inside its boxes
        return j;
    }
    if (!meter.visible()) {
        j.skipped = SkipReason::Invisible;
        return j;
    }
    TextFinding& f = j.finding;
    f.text = text;
    f.lowest = meter.lowest();
    f.highest = meter.highest();
    f.backgroundLowest = meter.backgroundLowest();
    f.backgroundHighest = meter.backgroundHighest();
    f.shownLowest = meter.shownLowest();
    f.pixels = meter.pixels();
    f.large = isLargeText(text.fontSizePx * 0.75, text.fontWeight >= 700);
    f.required = requiredRatio(level, f.large);
    f.verdict = !reaches(f.highest, f.required)  ? TextVerdict::Fail
                : !reaches(f.lowest, f.required) ? TextVerdict::Review
                                                 : TextVerdict::Pass;
    f.bounds = pixelBounds(text.boxes);
    return j;
}

} // namespace pigmora
