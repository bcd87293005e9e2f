#include "page_audit.h"

#include "text_judgement.h"

#include <QIODevice>
#include <algorithm>
#include <cstring>
#include <future>
#include <map>
#include <memory>

namespace pigmora {

namespace {

constexpr Rgb failFrame{220, 0, 0};
constexpr Rgb reviewFrame{255, 140, 0};

struct Cell {
    int column = 0;
    int row = 0;
    friend bool operator<(const Cell& a, const Cell& b) {
        return a.row != b.row ? a.row < b.row : a.column < b.column;
    }
};

class Tiling {
public:
    explicit Tiling(const PageLayout& layout)
        : w_(std::max(layout.viewportWidth, 1))
        , h_(std::max(layout.viewportHeight, 1))
        , page_{0, 0, layout.width, layout.height} {}

    PixelRect cellArea(const Cell& c) const {
        return PixelRect{c.column * w_, c.row * h_, w_, h_}.intersected(page_);
    }
    // The cells a rectangle (inside the page) meets.
    template <typename F> void forCells(const PixelRect& r, F&& f) const {
        const PixelRect inside = r.intersected(page_);
        if (inside.empty())
            return;
        for (int row = inside.y / h_; row <= (inside.bottom() - 1) / h_; ++row)
            for (int column = inside.x / w_; column <= (inside.right() - 1) / w_; ++column)
                f(Cell{column, row});
    }
    int columns() const { return (page_.width + w_ - 1) / w_; }
    int rows() const { return (page_.height + h_ - 1) / h_; }
    const PixelRect& page() const { return page_; }

private:
    int w_, h_;
    PixelRect page_;
};

void checkStop(const AuditProgress& progress) {
    if (progress.stopRequested())
        throw AuditError(AuditError::Kind::Cancelled,
                         QStringLiteral("Die Prüfung wurde abgebrochen."));
}

// Copies the part of `from` that lies in `into` (both placed on the page).
void copyInto(PixelImage& into, const PixelImage& from) {
    const PixelRect part = into.area().intersected(from.area());
    for (int y = part.y; y < part.bottom(); ++y)
        std::memcpy(into.rgb.data() +
                        (std::size_t(y - into.originY) * into.width + (part.x - into.originX)) * 3,
                    from.rgb.data() +
                        (std::size_t(y - from.originY) * from.width + (part.x - from.originX)) * 3,
                    std::size_t(part.width) * 3);
}

// The text colours as seen: the browser's colour-vision emulation read off swatches.
void applySeenColours(PageSession& session, std::vector<PageText>& texts) {
    std::vector<Rgb> distinct;
    std::map<ColourValue, std::size_t> index;
    for (const PageText& t : texts)
        if (index.emplace(packColour(t.colour), distinct.size()).second)
            distinct.push_back(t.colour);
    const std::vector<Rgb> seen = session.seenColours(distinct);
    if (seen.size() != distinct.size())
        throw AuditError(AuditError::Kind::Browser,
                         QStringLiteral("Der Browser hat die Farben nicht nachgebildet."));
    for (PageText& t : texts)
        t.colour = seen[index[packColour(t.colour)]];
}

} // namespace

int PageAuditResult::count(TextVerdict verdict) const {
    return int(std::count_if(findings.begin(), findings.end(),
                             [verdict](const TextFinding& f) { return f.verdict == verdict; }));
}

bool worseThan(const TextFinding& a, const TextFinding& b) {
    if (a.verdict != b.verdict)
        return a.verdict < b.verdict;
    const auto shortfall = [](const TextFinding& f) {
        return (f.verdict == TextVerdict::Fail ? f.highest : f.lowest) / f.required;
    };
    return shortfall(a) < shortfall(b);
}

PixelRect cropArea(const PixelRect& bounds, int pageWidth, int pageHeight) {
    PixelRect r{bounds.x - 8, bounds.y - 8, std::min(bounds.width + 16, 480),
                std::min(bounds.height + 16, 160)};
    return r.intersected({0, 0, pageWidth, pageHeight});
}

void drawFrame(PixelImage& picture, const PixelRect& bounds, Rgb colour) {
    const PixelRect outer{bounds.x - 2, bounds.y - 2, bounds.width + 4, bounds.height + 4};
    const PixelRect sides[] = {{outer.x, outer.y, outer.width, 2},
                               {outer.x, outer.bottom() - 2, outer.width, 2},
                               {outer.x, outer.y, 2, outer.height},
                               {outer.right() - 2, outer.y, 2, outer.height}};
    for (const PixelRect& side : sides) {
        const PixelRect part = side.intersected(picture.area());
        for (int y = part.y; y < part.bottom(); ++y)
            for (int x = part.x; x < part.right(); ++x)
                picture.set(x - picture.originX, y - picture.originY, colour);
    }
}

PageAuditResult auditPage(PageSession& session, const PageSource& source,
                          const RenderSettings& settings, const AuditNeeds& needs,
                          AuditProgress& progress) {
    PageAuditResult result;
    result.source = source;
    result.settings = settings;
    result.level = needs.level;
    progress.step(QStringLiteral("Seite laden: %1").arg(source.shown), 0, 1);
    PageLayout layout = session.load(source, settings);
    checkStop(progress);
    result.width = layout.width;
    result.height = layout.height;
    result.skipped = layout.skipped;
    if (settings.vision)
        applySeenColours(session, layout.texts);

    // Which texts each cell of the text-less rendering measures.
    const Tiling tiling(layout);
    std::map<Cell, std::pair<PixelRect, std::vector<std::size_t>>> cells;
    for (std::size_t i = 0; i < layout.texts.size(); ++i) {
        const PixelRect bounds = pixelBounds(layout.texts[i].boxes);
        tiling.forCells(bounds, [&](const Cell& c) {
            auto& [area, members] = cells[c];
            area = area.united(bounds.intersected(tiling.cellArea(c)));
            members.push_back(i);
        });
    }
    std::vector<TextMeter> meters;
    meters.reserve(layout.texts.size());
    for (const PageText& t : layout.texts)
        meters.emplace_back(t.colour, t.alpha);
    // The browser draws the next cell while this thread's helper measures the last one.
    std::future<void> measuring;
    int done = 0;
    for (const auto& [cell, work] : cells) {
        checkStop(progress);
        progress.step(QStringLiteral("Hintergründe messen: %1").arg(source.shown), done++,
                      int(cells.size()));
        auto textless = std::make_shared<PixelImage>(
            session.capture(work.first, PageSession::Rendering::WithoutText));
        if (measuring.valid())
            measuring.get();
        measuring = std::async(std::launch::async, [&meters, &layout, &work, textless] {
            for (std::size_t i : work.second)
                meters[i].measure(*textless, layout.texts[i].boxes);
        });
    }
    if (measuring.valid())
        measuring.get();
    for (std::size_t i = 0; i < layout.texts.size(); ++i) {
        Judgement j = judgeText(layout.texts[i], meters[i], needs.level);
        if (j.skipped)
            ++result.skipped[*j.skipped];
        else
            result.findings.push_back(std::move(j.finding));
    }
    std::stable_sort(result.findings.begin(), result.findings.end(), worseThan);

    // The rendering as it is: crops of the worst findings, and the framed picture.
    const std::size_t cropCount = std::min(result.findings.size(), std::size_t(needs.cropLimit));
    for (std::size_t i = 0; i < cropCount; ++i) {
        TextFinding& f = result.findings[i];
        const PixelRect area = cropArea(f.bounds, layout.width, layout.height);
        f.crop = PixelImage(area.width, area.height);
        f.crop.originX = area.x;
        f.crop.originY = area.y;
    }
    const auto cutCrops = [&](const PixelImage& shot) {
        for (std::size_t i = 0; i < cropCount; ++i)
            copyInto(result.findings[i].crop, shot);
    };
    const auto imageFailed = [] {
        return AuditError(AuditError::Kind::Source,
                          QStringLiteral("Das Bild der Seite kann nicht geschrieben werden."));
    };
    if (needs.image) {
        PngWriter png;
        if (!png.start(*needs.image, layout.width, layout.height))
            throw imageFailed();
        for (int row = 0; row < tiling.rows(); ++row) {
            const PixelRect bandArea =
                tiling.cellArea({0, row}).united(tiling.cellArea({tiling.columns() - 1, row}));
            PixelImage band(bandArea.width, bandArea.height);
            band.originY = bandArea.y;
            for (int column = 0; column < tiling.columns(); ++column) {
                checkStop(progress);
                progress.step(QStringLiteral("Bild zeichnen: %1").arg(source.shown), row,
                              tiling.rows());
                const PixelImage shot =
                    session.capture(tiling.cellArea({column, row}), PageSession::Rendering::AsIs);
                copyInto(band, shot);
                cutCrops(shot);
            }
            for (const TextFinding& f : result.findings)
                if (f.verdict != TextVerdict::Pass)
                    drawFrame(band, f.bounds,
                              f.verdict == TextVerdict::Fail ? failFrame : reviewFrame);
            if (!png.addRows(band.rgb.data(), band.height))
                throw imageFailed();
        }
        if (!png.finish())
            throw imageFailed();
    } else if (cropCount > 0) {
        std::map<Cell, PixelRect> wanted;
        for (std::size_t i = 0; i < cropCount; ++i) {
            const PixelRect area = result.findings[i].crop.area();
            tiling.forCells(area, [&](const Cell& c) {
                wanted[c] = wanted[c].united(area.intersected(tiling.cellArea(c)));
            });
        }
        int shots = 0;
        for (const auto& [cell, area] : wanted) {
            checkStop(progress);
            progress.step(QStringLiteral("Ausschnitte: %1").arg(source.shown), shots++,
                          int(wanted.size()));
            cutCrops(session.capture(area, PageSession::Rendering::AsIs));
        }
    }
    result.refusedRequests = session.refusedRequests();
    return result;
}

} // namespace pigmora
