#include "contrast_grid.h"

#include "base/german_locale.h"
#include "base/hex_digit.h"
#include "contrast/apca.h"
#include "contrast/luminance.h"
#include "contrast/wcag.h"

#include <QHash>
#include <QStringList>
#include <algorithm>

namespace pigmora {

QString gridSizeProblem(std::size_t rows, std::size_t columns) {
    const qint64 cells = qint64(rows) * qint64(columns);
    if (cells <= maxGridCells)
        return {};
    return QStringLiteral("Das Raster hätte %1 Textfarben auf %2 Hintergründen, %3 Felder; es "
                          "nimmt höchstens %4. Wählen Sie weniger Farben, etwa mit einem Muster.")
        .arg(germanNumber(qint64(rows)), germanNumber(qint64(columns)), germanNumber(cells),
             germanNumber(maxGridCells));
}

ContrastGrid::ContrastGrid(std::vector<GridColour> rows, std::vector<GridColour> columns,
                           GridRating rating)
    : rows_(std::move(rows))
    , columns_(std::move(columns)) {
    if (!gridSizeProblem(rows_.size(), columns_.size()).isEmpty()) {
        rows_.clear();
        columns_.clear();
    }
    rate(rating);
}

void ContrastGrid::rate(const GridRating& rating) {
    const bool sameColours = rating.vision == rating_.vision && !ratios_.empty();
    rating_ = rating;
    if (!sameColours || ratios_.size() != rows_.size() * columns_.size()) {
        const auto seen = [&rating](const std::vector<GridColour>& colours) {
            std::vector<Rgb> out;
            out.reserve(colours.size());
            for (const GridColour& c : colours)
                out.push_back(rating.vision ? simulateVision(c.colour, *rating.vision) : c.colour);
            return out;
        };
        seenRows_ = seen(rows_);
        seenColumns_ = seen(columns_);
        const auto apca = [](const std::vector<Rgb>& colours) {
            std::vector<ApcaColour> out;
            out.reserve(colours.size());
            for (const Rgb c : colours)
                out.push_back(apcaColour(c));
            return out;
        };
        apcaRows_ = apca(seenRows_);
        apcaColumns_ = apca(seenColumns_);
        ratios_.resize(rows_.size() * columns_.size());
        std::size_t i = 0;
        for (const Rgb text : seenRows_)
            for (const Rgb background : seenColumns_)
                ratios_[i++] = contrastRatio(text, background);
    }
    levels_.resize(ratios_.size());
    for (std::size_t i = 0; i < ratios_.size(); ++i)
        levels_[i] = gridLevel(ratios_[i], rating.largeText);
}

double ContrastGrid::apca(int row, int column) const {
    return apcaContrast(apcaRows_[std::size_t(row)], apcaColumns_[std::size_t(column)]);
}

GridLevel gridLevel(double ratio, bool largeText) {
    if (reaches(ratio, requiredRatio(WcagLevel::AAA, largeText)))
        return GridLevel::AAA;
    if (reaches(ratio, requiredRatio(WcagLevel::AA, largeText)))
        return GridLevel::AA;
    if (reaches(ratio, nonTextRatio))
        return GridLevel::NonText;
    return GridLevel::Fails;
}

double gridLevelRatio(GridLevel level, bool largeText) {
    switch (level) {
    case GridLevel::Fails:
        break;
    case GridLevel::NonText:
        return nonTextRatio;
    case GridLevel::AA:
        return requiredRatio(WcagLevel::AA, largeText);
    case GridLevel::AAA:
        return requiredRatio(WcagLevel::AAA, largeText);
    }
    return 0;
}

QString gridLevelText(GridLevel level) {
    switch (level) {
    case GridLevel::Fails:
        break;
    case GridLevel::NonText:
        return QStringLiteral("3:1");
    case GridLevel::AA:
        return QStringLiteral("AA");
    case GridLevel::AAA:
        return QStringLiteral("AAA");
    }
    return QStringLiteral("–");
}

QString gridVerdictText(GridLevel level) {
    switch (level) {
    case GridLevel::Fails:
        break;
    case GridLevel::NonText:
        return QStringLiteral("nur 3:1 bestanden");
    case GridLevel::AA:
    case GridLevel::AAA:
        return gridLevelText(level) + QLatin1Char(' ') + verdictText(true);
    }
    return verdictText(false);
}

QString gridCellText(const ContrastGrid& grid, int row, int column, bool withApca) {
    const GridColour& text = grid.rows()[std::size_t(row)];
    const GridColour& background = grid.columns()[std::size_t(column)];
    QString said = QStringLiteral("Text %1 %2 auf %3 %4")
                       .arg(text.name, hashHexText(text.colour), background.name,
                            hashHexText(background.colour));
    if (grid.rating().vision)
        said += QStringLiteral(" bei ") + deficiencyName(*grid.rating().vision);
    said += QStringLiteral(": %1, %2")
                .arg(ratioText(grid.ratio(row, column)), gridVerdictText(grid.level(row, column)));
    if (withApca)
        said += QStringLiteral(", APCA Lc ") + apcaText(grid.apca(row, column));
    return said;
}

bool GridView::passes(const ContrastGrid& grid, int row, int column) const {
    return minimumRatio <= 0 || reaches(grid.ratio(row, column), minimumRatio);
}

GridView makeGridView(const ContrastGrid& grid, const GridFilter& filter) {
    GridView view;
    view.minimumRatio = filter.minimumRatio;
    std::vector<char> rowPasses(std::size_t(grid.rowCount()), !filter.hideEmpty);
    std::vector<char> columnPasses(std::size_t(grid.columnCount()), !filter.hideEmpty);
    if (filter.hideEmpty)
        for (int r = 0; r < grid.rowCount(); ++r)
            for (int c = 0; c < grid.columnCount(); ++c)
                if (view.passes(grid, r, c))
                    rowPasses[std::size_t(r)] = columnPasses[std::size_t(c)] = 1;
    const auto order = [&filter](const std::vector<GridColour>& colours,
                                 const std::vector<char>& shown) {
        std::vector<int> indices;
        for (std::size_t i = 0; i < colours.size(); ++i)
            if (shown[i])
                indices.push_back(int(i));
        if (filter.byLightness) {
            std::vector<double> luminance(colours.size());
            for (std::size_t i = 0; i < colours.size(); ++i)
                luminance[i] = relativeLuminance(colours[i].colour);
            std::stable_sort(indices.begin(), indices.end(), [&luminance](int a, int b) {
                return luminance[std::size_t(a)] > luminance[std::size_t(b)];
            });
        }
        return indices;
    };
    view.rows = order(grid.rows(), rowPasses);
    view.columns = order(grid.columns(), columnPasses);
    return view;
}

std::vector<GridColour> schemeGridColours(const std::vector<ColourScheme>& schemes,
                                          SchemeColours which) {
    std::vector<GridColour> colours;
    std::vector<QStringList> others;
    QHash<ColourValue, std::size_t> where;
    const auto add = [&](Rgb colour, const QString& name) {
        const auto found = where.constFind(packColour(colour));
        if (found != where.cend()) {
            if (name != colours[*found].name && !others[*found].contains(name))
                others[*found] << name;
            return;
        }
        where.insert(packColour(colour), colours.size());
        colours.push_back({name, colour, {}});
        others.emplace_back();
    };
    for (const ColourScheme& s : schemes) {
        if (which == SchemeColours::Both) {
            add(s.text, s.name + QStringLiteral(" (Text)"));
            add(s.background, s.name + QStringLiteral(" (Hintergrund)"));
        } else {
            add(which == SchemeColours::Text ? s.text : s.background, s.name);
        }
    }
    for (std::size_t i = 0; i < colours.size(); ++i) {
        const QStringList& o = others[i];
        if (o.isEmpty())
            continue;
        QStringList shown = o.mid(0, 5);
        if (o.size() > 5)
            shown << QStringLiteral("…");
        colours[i].description = QStringLiteral("auch in %1").arg(shown.join(QStringLiteral(", ")));
    }
    return colours;
}

} // namespace pigmora
