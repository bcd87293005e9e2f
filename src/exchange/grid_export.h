#pragma once

#include "contrast_grid/contrast_grid.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <functional>
#include <optional>

// The contrast grid written out: for people (text, Markdown, a self-contained HTML page) and
// for programs (CSV, JSON).
namespace pigmora {

enum class GridFormat { Text, Csv, Json, Html, Markdown };

// "text", "csv", "json", "html", "markdown" (as --format names them); nullopt for another name.
std::optional<GridFormat> gridFormatNamed(const QString& name);
// The format a file name's suffix names: ".html"/".htm", ".csv", ".json", ".md", ".txt".
std::optional<GridFormat> gridFormatFromFileName(const QString& fileName);

struct GridExportOptions {
    bool apca = false; // text, CSV, HTML and Markdown get APCA Lc (JSON always has it)
    // The font the HTML page sets its samples in, as the sample shows them; the verdicts are
    // those of the grid's rating.
    QString fontFamily;
    double points = 12;
    bool bold = false;
    QString title = QStringLiteral("Kontrastraster");
};

// Writes the grid in pieces of about a megabyte to `sink`, in the order of the view:
//  - text: a pair a line, only the passing ones when the view asks for a minimum: text name,
//    "#rrggbb", background name, "#rrggbb", the ratio as the window shows it ("6,11:1"), the
//    level ("AA"), APCA Lc ("Lc 72,3"); separated by tabs, names on one line;
//  - CSV: the same with a header line, numbers with a decimal point, fields quoted as RFC 4180
//    asks, a name that a spreadsheet would take for a formula (=, +, -, @) after a "'";
//  - JSON: {"format": "pigmora-contrast-grid", "version": 1, "largeText": ..., "vision": ...,
//    "rows": [...], "columns": [...], "pairs": [...]}, each pair with both names and colours,
//    the unrounded ratio and Lc, the level for the rating and the four verdicts;
//  - Markdown: a table of rows by columns, a cell "6,11:1 AA", empty where it fails the minimum;
//  - HTML: a page of its own (no outside files) with the grid as a table: headers with swatch,
//    name and colour, cells with a sample in the font on its background, ratio and level;
//    cells failing the minimum greyed.
void writeGrid(const ContrastGrid& grid, const GridView& view, GridFormat format,
               const GridExportOptions& options, const std::function<void(QByteArrayView)>& sink);
// The same, whole.
QByteArray gridExport(const ContrastGrid& grid, const GridView& view, GridFormat format,
                      const GridExportOptions& options = {});

} // namespace pigmora
