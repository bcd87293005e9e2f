#pragma once

#include "audit_types.h"

// The judgement of a text on the pixels a browser drew: no browser, no widgets, so it is tested
// on prepared pictures.
namespace pigmora {

// Measures one text's background from the text-less rendering, picture by picture (a text may
// lie across several): every device pixel whose centre lies inside one of its glyph boxes.
class TextMeter {
public:
    TextMeter(Rgb colour, double alpha);
    // The pixels of `textless` (placed on the page by its origin) inside the boxes.
    void measure(const PixelImage& textless, const std::vector<GlyphBox>& boxes);

    long long pixels() const { return pixels_; }
    // Whether any pixel shows the text in another colour than its background.
    bool visible() const { return differs_; }
    double lowest() const { return lowest_; }
    double highest() const { return highest_; }
    Rgb backgroundLowest() const { return atLowest_; }
    Rgb backgroundHighest() const { return atHighest_; }
    Rgb shownLowest() const { return shownLowest_; }
    // The text colour laid over a background pixel as the browser blends it, rounded.
    Rgb shownOver(Rgb background) const;

private:
    void take(Rgb background);

    Rgb colour_;
    double alpha_;
    double colourLuminance_;
    long long pixels_ = 0;
    bool differs_ = false;
    bool seen_ = false;
    Rgb last_;
    double lowest_ = 22;
    double highest_ = 0;
    Rgb atLowest_, atHighest_, shownLowest_;
};

// The device pixels whose centres lie inside the boxes: their bounding rectangle.
PixelRect pixelBounds(const std::vector<GlyphBox>& boxes);

// Whether a text has no letter and no digit (counted as decorative, never judged).
bool isDecorativeText(const QString& text);

// The judgement of a measured text by 1.4.3 (AA) or 1.4.6 (AAA): a reason to skip it, or the
// finding. Both rules apply to the same texts: visible text of an HTML element that is no part
// of a disabled control, with a letter or digit; the browser's side has left out the rest.
struct Judgement {
    std::optional<SkipReason> skipped;
    TextFinding finding;
};
Judgement judgeText(const PageText& text, const TextMeter& meter, WcagLevel level);

} // namespace pigmora
