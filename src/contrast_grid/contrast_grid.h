#pragma once

#include "base/colour_value.h"
#include "contrast/apca.h"
#include "contrast/colour_vision.h"
#include "schemes/colour_scheme.h"

#include <QString>
#include <cstdint>
#include <optional>
#include <vector>

// The contrast grid: every colour of a list of text colours (the rows) on every colour of a
// list of backgrounds (the columns), judged by the rules of pigmora_contrast as the contrast
// window judges the sample: the ratio cut to hundredths, the levels for the font's size class.
namespace pigmora {

struct GridColour {
    QString name; // the token's path or the scheme's name
    Rgb colour;
    QString description; // the token's description, or the other schemes of the colour
};

// The best a pair reaches for the size class it is judged for: 1.4.11's 3:1 (for normal text:
// graphics and large text only), AA, AAA.
enum class GridLevel : std::uint8_t { Fails, NonText, AA, AAA };

// How the grid is judged.
struct GridRating {
    bool largeText = false; // isLargeText() of the font, or --large
    // Both colours as a reader with the deficiency sees them, simulated as the contrast window
    // simulates them; the ratios and levels are of what is seen.
    std::optional<VisionDeficiency> vision;
    friend bool operator==(const GridRating&, const GridRating&) = default;
};

// The most cells a grid holds (each keeps its ratio and level, 9 bytes): 1,000 x 1,000 colours
// and more, but not a palette of a million tokens all against all.
inline constexpr qint64 maxGridCells = 16'000'000;
// Why a grid of so many rows and columns is not made, in German; empty when it may be.
QString gridSizeProblem(std::size_t rows, std::size_t columns);

class ContrastGrid {
public:
    ContrastGrid() = default;
    // At most maxGridCells cells (see gridSizeProblem); a larger grid is made empty.
    ContrastGrid(std::vector<GridColour> rows, std::vector<GridColour> columns,
                 GridRating rating = {});

    // Judges every pair again, as seen with another rating.
    void rate(const GridRating& rating);

    const std::vector<GridColour>& rows() const { return rows_; }
    const std::vector<GridColour>& columns() const { return columns_; }
    int rowCount() const { return int(rows_.size()); }
    int columnCount() const { return int(columns_.size()); }
    const GridRating& rating() const { return rating_; }

    // A row's or column's colour as it is seen (simulated with the rating's deficiency).
    Rgb seenRow(int row) const { return seenRows_[std::size_t(row)]; }
    Rgb seenColumn(int column) const { return seenColumns_[std::size_t(column)]; }
    // The unrounded WCAG 2 ratio of the pair as seen.
    double ratio(int row, int column) const { return ratios_[index(row, column)]; }
    GridLevel level(int row, int column) const { return levels_[index(row, column)]; }
    // APCA Lc of the row's colour as text on the column's, as seen.
    double apca(int row, int column) const;

private:
    std::size_t index(int row, int column) const {
        return std::size_t(row) * columns_.size() + std::size_t(column);
    }

    std::vector<GridColour> rows_;
    std::vector<GridColour> columns_;
    GridRating rating_;
    std::vector<Rgb> seenRows_;
    std::vector<Rgb> seenColumns_;
    std::vector<ApcaColour> apcaRows_, apcaColumns_;
    std::vector<double> ratios_;
    std::vector<GridLevel> levels_;
};

// The level a ratio reaches for normal or large text: the thresholds of requiredRatio() and
// nonTextRatio, compared by reaches().
GridLevel gridLevel(double ratio, bool largeText);
// The ratio a level asks for the size class (Fails asks nothing: 0).
double gridLevelRatio(GridLevel level, bool largeText);
// What a cell shows: "AAA", "AA", "3:1", "–".
QString gridLevelText(GridLevel level);
// What a screen reader hears: "AAA bestanden", "AA bestanden", "nur 3:1 bestanden",
// "nicht bestanden".
QString gridVerdictText(GridLevel level);
// A cell as a screen reader reads it: "Text fgColor.muted #59636e auf bgColor.default
// #ffffff: 6,11:1, AA bestanden", with the deficiency ("... #ffffff bei Protanopie: ...") and
// APCA (", APCA Lc 72,3") where asked for.
QString gridCellText(const ContrastGrid& grid, int row, int column, bool withApca = false);

// Which rows and columns are shown, in which order, and which cells count as passing.
struct GridFilter {
    double minimumRatio = 0;  // a cell passes when it reaches this ratio (0: every cell)
    bool hideEmpty = false;   // leaves out the rows and columns without a passing cell
    bool byLightness = false; // light to dark by relative luminance; else in the list's order
};

struct GridView {
    std::vector<int> rows;    // indices into the grid's rows, in the order shown
    std::vector<int> columns; // the same for the columns
    double minimumRatio = 0;
    bool passes(const ContrastGrid& grid, int row, int column) const;
};

GridView makeGridView(const ContrastGrid& grid, const GridFilter& filter);

// The colours of stored schemes as a grid's rows or columns: each distinct colour once, in
// stored order, named by the first scheme that has it; the description names the others.
enum class SchemeColours { Text, Background, Both };
std::vector<GridColour> schemeGridColours(const std::vector<ColourScheme>& schemes,
                                          SchemeColours which);

} // namespace pigmora
