#pragma once

#include "base/colour_value.h"

#include <QColorTransform>
#include <QImage>
#include <QRect>
#include <QString>
#include <cstdint>
#include <vector>

namespace pigmora {

// What a rectangle dragged over a piece of text holds: its text colour and its background.
struct PairFinding {
    enum class Kind {
        Pair,      // text and background found
        OneColour, // no text to tell from the background: `background` is its colour
        Nothing,   // the rectangle lies outside the picture
    };
    Kind kind = Kind::Nothing;
    Rgb text;
    // Where the background is not one colour, the one of its colours that gives the lowest
    // contrast against the text.
    Rgb background;
    bool backgroundUniform = true;
    // The background's range where it is not one colour: its darkest and lightest colour.
    Rgb darkest;
    Rgb lightest;
    friend bool operator==(const PairFinding&, const PairFinding&) = default;
};

// Finds the pair in a rectangle of a picture. The background is the colour that covers the most
// of the rectangle's edge, if it covers more than half of it; otherwise the background is not
// one colour and all colours of the edge are taken as background. The text colour is the colour
// of the glyphs' cores: of the colours that are not background, the one farthest from it among
// those that make up a stable share (at least two pixels and a tenth of the most frequent one),
// so neither the blended pixels of anti-aliased edges nor a single stray pixel are taken.
// Colours are compared as the picture holds them; what is returned is converted by `toSrgb`.
// The finder keeps its tables between calls, so a drag that asks again at every move allocates
// nothing after the first.
// What a finding says, for the panel beside the rectangle and a screen reader: "Text #1A1A1A auf
// #FFFFFF, Kontrast 17,40:1", with "(Hintergrund nicht einfarbig: #D0D0D0 bis #FFFFFF)" after
// the background where it is not one colour; "Nur eine Farbe: #FFFFFF".
QString pairDescription(const PairFinding& finding);

class PairFinder {
public:
    PairFinding find(const QImage& image, QRect rect, const QColorTransform& toSrgb = {});

private:
    // Counts of colours (24-bit values), open addressing; `used` lists the filled slots.
    struct Counts {
        std::vector<std::uint32_t> keys; // colour + 1, 0 for an empty slot
        std::vector<std::uint32_t> counts;
        std::vector<std::uint32_t> used;
        void clear();
        void add(std::uint32_t colour, std::uint32_t n);
        std::uint32_t countOf(std::uint32_t colour) const;
        bool full() const { return used.size() * 2 >= keys.size() && keys.size() >= maxSlots; }

        static constexpr std::size_t maxSlots = std::size_t(1) << 22;

    private:
        void grow();
    };

    Counts all_;
    Counts edge_;
};

} // namespace pigmora
