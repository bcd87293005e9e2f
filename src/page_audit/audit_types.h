#pragma once

#include "base/colour_value.h"
#include "contrast/colour_vision.h"
#include "contrast/wcag.h"
#include "pixel_image.h"

#include <QString>
#include <array>
#include <optional>
#include <stdexcept>
#include <vector>

// What a page audit works with: the texts a browser reports, the judgement of each, and how a
// page's audit ends.
namespace pigmora {

// Which colour scheme the page is rendered in (prefers-color-scheme).
enum class PageScheme { Light, Dark };

// A glyph box on the page in CSS pixels, which are device pixels here (device scale 1).
struct GlyphBox {
    double x = 0;
    double y = 0;
    double width = 0;
    double height = 0;
};

// One text node as the browser reports it.
struct PageText {
    QString selector;
    QString text;     // blanks collapsed, at most 2,000 characters
    Rgb colour;       // the computed colour, as seen (through the colour-vision emulation)
    double alpha = 1; // the colour's own alpha times the opacity of the element and every ancestor
    double fontSizePx = 16;
    int fontWeight = 400;
    std::vector<GlyphBox> boxes;
};

// Why a text was not judged.
enum class SkipReason {
    Hidden,      // display, visibility, content-visibility, no box at all
    OffScreen,   // every box outside the page
    Clipped,     // clipped away by an ancestor
    Transparent, // opacity 0 on it or an ancestor, or a colour of alpha 0
    AriaHidden,  // aria-hidden="true" on it or an ancestor
    Disabled,    // part of a disabled control or of its label
    Invisible,   // its colour equals the background in every pixel
    Decorative,  // no letter and no digit
};
inline constexpr std::array<SkipReason, 8> allSkipReasons = {
    SkipReason::Hidden,     SkipReason::OffScreen, SkipReason::Clipped,   SkipReason::Transparent,
    SkipReason::AriaHidden, SkipReason::Disabled,  SkipReason::Invisible, SkipReason::Decorative};

struct SkipCounts {
    std::array<int, allSkipReasons.size()> counts{};
    int& operator[](SkipReason r) { return counts[std::size_t(r)]; }
    int operator[](SkipReason r) const { return counts[std::size_t(r)]; }
    int total() const;
};

// The W3C test rules' outcomes: the highest contrast below the threshold fails, only the
// lowest below needs a look.
enum class TextVerdict { Fail, Review, Pass };

struct TextFinding {
    PageText text;
    double lowest = 21;    // the lowest contrast any measured pixel gives
    double highest = 1;    // the highest
    Rgb backgroundLowest;  // the background pixel that gives the lowest
    Rgb backgroundHighest; // and the highest
    Rgb shownLowest;       // the text colour laid over that pixel (the colour itself when opaque)
    long long pixels = 0;  // background pixels measured
    bool large = false;
    double required = 4.5;
    TextVerdict verdict = TextVerdict::Pass;
    PixelRect bounds; // the device pixels of its glyph boxes
    PixelImage crop;  // the rendering around it, where one was kept
};

// How one page's audit failed; the message is German and names the page.
class AuditError : public std::runtime_error {
public:
    enum class Kind {
        Call,      // a wrong call (an option's value)
        Source,    // no such file, nothing to read, a page that does not load
        NoBrowser, // no browser to start
        Browser,   // the browser crashed or broke the protocol
        Timeout,   // the page ran past its time
        Cancelled, // the user or a signal stopped it
    };
    AuditError(Kind kind, const QString& message)
        : std::runtime_error(message.toStdString())
        , kind_(kind)
        , message_(message) {}
    Kind kind() const { return kind_; }
    const QString& message() const { return message_; }

private:
    Kind kind_;
    QString message_;
};

// The German names: "bestanden", "prüfen", "nicht bestanden"; "hell", "dunkel"; the reason
// as the summary counts it ("verborgen", "ohne Buchstaben" ...).
QString verdictName(TextVerdict verdict);
QString schemeName(PageScheme scheme);
QString skipReasonName(SkipReason reason);

} // namespace pigmora
