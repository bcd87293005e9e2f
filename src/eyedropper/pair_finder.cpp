#include "pair_finder.h"

#include "contrast/luminance.h"
#include "contrast/wcag.h"
#include "pixel_picking.h"

#include <algorithm>

namespace pigmora {

namespace {

constexpr std::size_t firstSlots = std::size_t(1) << 12;
// At most this many colours of a background that is not one colour are measured against.
constexpr std::size_t representatives = 32;
// Over a background that is not one colour, a colour this near to one of its colours (squared
// distance of the channels) is taken as background too: the inside of a gradient.
constexpr int nearGradient = 48 * 48;

std::uint32_t slotOf(std::uint32_t colour, std::size_t mask) {
    return std::uint32_t((colour * 2654435761u) >> 8) & std::uint32_t(mask);
}

Rgb rgbOf(std::uint32_t colour) {
    return {ChannelValue(colour >> 16), ChannelValue(colour >> 8), ChannelValue(colour)};
}

Rgb converted(std::uint32_t colour, const QColorTransform& toSrgb) {
    if (toSrgb.isIdentity())
        return rgbOf(colour);
    return rgbOf(toSrgb.map(QRgb(colour | 0xFF000000u)) & 0xFFFFFFu);
}

int distance(std::uint32_t a, std::uint32_t b) {
    const int r = int(a >> 16 & 0xFF) - int(b >> 16 & 0xFF);
    const int g = int(a >> 8 & 0xFF) - int(b >> 8 & 0xFF);
    const int bl = int(a & 0xFF) - int(b & 0xFF);
    return r * r + g * g + bl * bl;
}

// A cheap order of light for sorting, not the relative luminance.
int luma(std::uint32_t c) {
    return 2126 * int(c >> 16 & 0xFF) + 7152 * int(c >> 8 & 0xFF) + 722 * int(c & 0xFF);
}

bool isDirect(QImage::Format format) {
    return format == QImage::Format_RGB32 || format == QImage::Format_ARGB32 ||
           format == QImage::Format_ARGB32_Premultiplied;
}

} // namespace

void PairFinder::Counts::clear() {
    if (keys.empty()) {
        keys.assign(firstSlots, 0);
        counts.assign(firstSlots, 0);
        used.reserve(firstSlots / 2);
    }
    for (const std::uint32_t slot : used) {
        keys[slot] = 0;
        counts[slot] = 0;
    }
    used.clear();
}

void PairFinder::Counts::grow() {
    std::vector<std::uint32_t> oldKeys(keys.size() * 2, 0);
    std::vector<std::uint32_t> oldCounts(counts.size() * 2, 0);
    oldKeys.swap(keys);
    oldCounts.swap(counts);
    const std::size_t mask = keys.size() - 1;
    std::vector<std::uint32_t> moved;
    moved.reserve(used.size());
    for (const std::uint32_t old : used) {
        std::uint32_t slot = slotOf(oldKeys[old] - 1, mask);
        while (keys[slot] != 0)
            slot = std::uint32_t((slot + 1) & mask);
        keys[slot] = oldKeys[old];
        counts[slot] = oldCounts[old];
        moved.push_back(slot);
    }
    used.swap(moved);
}

void PairFinder::Counts::add(std::uint32_t colour, std::uint32_t n) {
    if (used.size() * 2 >= keys.size() && keys.size() < maxSlots)
        grow();
    const std::size_t mask = keys.size() - 1;
    const std::uint32_t key = colour + 1;
    std::uint32_t slot = slotOf(colour, mask);
    while (keys[slot] != 0) {
        if (keys[slot] == key) {
            counts[slot] += n;
            return;
        }
        slot = std::uint32_t((slot + 1) & mask);
    }
    // A picture of more colours than the table holds (a photograph) counts the first ones.
    if (used.size() * 2 >= keys.size())
        return;
    keys[slot] = key;
    counts[slot] = n;
    used.push_back(slot);
}

std::uint32_t PairFinder::Counts::countOf(std::uint32_t colour) const {
    const std::size_t mask = keys.size() - 1;
    const std::uint32_t key = colour + 1;
    for (std::uint32_t slot = slotOf(colour, mask); keys[slot] != 0;
         slot = std::uint32_t((slot + 1) & mask))
        if (keys[slot] == key)
            return counts[slot];
    return 0;
}

QString pairDescription(const PairFinding& f) {
    switch (f.kind) {
    case PairFinding::Kind::Nothing:
        return {};
    case PairFinding::Kind::OneColour:
        return QStringLiteral("Nur eine Farbe: %1").arg(pickedHexText(f.background));
    case PairFinding::Kind::Pair:
        break;
    }
    const QString range = f.backgroundUniform
                              ? QString()
                              : QStringLiteral(" (Hintergrund nicht einfarbig: %1 bis %2)")
                                    .arg(pickedHexText(f.darkest), pickedHexText(f.lightest));
    return QStringLiteral("Text %1 auf %2%3, Kontrast %4")
        .arg(pickedHexText(f.text), pickedHexText(f.background), range,
             pickRatioText(f.text, f.background));
}

PairFinding PairFinder::find(const QImage& image, QRect rect, const QColorTransform& toSrgb) {
    PairFinding found;
    rect = rect.normalized() & image.rect();
    if (rect.isEmpty())
        return found;
    const QImage* source = &image;
    QImage copy;
    if (!isDirect(image.format())) {
        copy = image.copy(rect).convertToFormat(QImage::Format_RGB32);
        source = &copy;
        rect.moveTopLeft(QPoint(0, 0));
    }
    all_.clear();
    edge_.clear();

    // Runs of one colour are counted at once: most of a text's rectangle is background.
    const auto countRow = [&](Counts& counts, int y, int from, int to) {
        const auto* line = reinterpret_cast<const QRgb*>(source->constScanLine(y));
        std::uint32_t run = line[from] & 0xFFFFFFu;
        std::uint32_t n = 0;
        for (int x = from; x <= to; ++x) {
            const std::uint32_t c = line[x] & 0xFFFFFFu;
            if (c == run) {
                ++n;
            } else {
                counts.add(run, n);
                run = c;
                n = 1;
            }
        }
        counts.add(run, n);
    };
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        countRow(all_, y, rect.left(), rect.right());
    countRow(edge_, rect.top(), rect.left(), rect.right());
    if (rect.height() > 1)
        countRow(edge_, rect.bottom(), rect.left(), rect.right());
    for (int y = rect.top() + 1; y < rect.bottom(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(source->constScanLine(y));
        edge_.add(line[rect.left()] & 0xFFFFFFu, 1);
        if (rect.width() > 1)
            edge_.add(line[rect.right()] & 0xFFFFFFu, 1);
    }

    // The background: the colour of most of the edge, if it has more than half of it.
    std::uint64_t edgeTotal = 0;
    std::uint32_t mode = 0, modeCount = 0;
    for (const std::uint32_t slot : edge_.used) {
        const std::uint32_t c = edge_.keys[slot] - 1, n = edge_.counts[slot];
        edgeTotal += n;
        if (n > modeCount || (n == modeCount && c < mode)) {
            mode = c;
            modeCount = n;
        }
    }
    found.backgroundUniform = 2 * std::uint64_t(modeCount) > edgeTotal;
    std::vector<std::uint32_t> backgrounds;
    if (found.backgroundUniform) {
        backgrounds.push_back(mode);
    } else {
        for (const std::uint32_t slot : edge_.used)
            backgrounds.push_back(edge_.keys[slot] - 1);
        std::sort(backgrounds.begin(), backgrounds.end(), [](std::uint32_t a, std::uint32_t b) {
            return luma(a) < luma(b) || (luma(a) == luma(b) && a < b);
        });
    }
    std::vector<std::uint32_t> measured = backgrounds;
    if (measured.size() > representatives) {
        std::vector<std::uint32_t> spread;
        for (std::size_t i = 0; i < representatives; ++i)
            spread.push_back(measured[i * (measured.size() - 1) / (representatives - 1)]);
        measured.swap(spread);
    }
    const auto isBackground = [&](std::uint32_t c) {
        return found.backgroundUniform ? c == mode : edge_.countOf(c) > 0;
    };
    const auto distanceToBackground = [&](std::uint32_t c) {
        int nearest = distance(c, measured.front());
        for (const std::uint32_t b : measured)
            nearest = std::min(nearest, distance(c, b));
        return nearest;
    };

    // The text: the farthest colour from the background among those of a stable share.
    std::uint32_t most = 0;
    for (const std::uint32_t slot : all_.used)
        if (!isBackground(all_.keys[slot] - 1))
            most = std::max(most, all_.counts[slot]);
    const std::uint32_t stable = std::max<std::uint32_t>(2, (most + 9) / 10);
    std::uint32_t text = 0, textCount = 0;
    int farthest = -1;
    for (const std::uint32_t slot : all_.used) {
        const std::uint32_t c = all_.keys[slot] - 1, n = all_.counts[slot];
        if (n < stable || isBackground(c))
            continue;
        const int d = distanceToBackground(c);
        if (d > farthest || (d == farthest && (n > textCount || (n == textCount && c < text)))) {
            farthest = d;
            text = c;
            textCount = n;
        }
    }
    const bool noText = farthest < 0 || (!found.backgroundUniform && farthest < nearGradient);

    if (found.backgroundUniform) {
        found.background = found.darkest = found.lightest = converted(mode, toSrgb);
    } else {
        found.darkest = converted(backgrounds.front(), toSrgb);
        found.lightest = converted(backgrounds.back(), toSrgb);
        found.background = converted(mode, toSrgb);
    }
    if (noText) {
        found.kind = PairFinding::Kind::OneColour;
        return found;
    }
    found.kind = PairFinding::Kind::Pair;
    found.text = converted(text, toSrgb);
    if (!found.backgroundUniform) {
        // The background that gives the text its lowest contrast.
        double lowest = 22;
        for (const std::uint32_t b : backgrounds) {
            const Rgb c = converted(b, toSrgb);
            const double ratio = contrastRatio(found.text, c);
            if (ratio < lowest) {
                lowest = ratio;
                found.background = c;
            }
        }
    }
    return found;
}

} // namespace pigmora
