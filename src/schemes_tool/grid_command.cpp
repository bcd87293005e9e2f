// pigmora-schemes grid: every text colour on every background, from the stored schemes or from
// palette files, as the contrast grid shows it; with --require a gate for a design system's CI.

#include "base/german_locale.h"
#include "base/hex_digit.h"
#include "base/path_glob.h"
#include "command_support.h"
#include "commands.h"
#include "contrast/wcag.h"
#include "contrast_grid/contrast_grid.h"
#include "exchange/css_palette.h"
#include "exchange/grid_export.h"
#include "output_forms.h"

#include <QHash>
#include <algorithm>
#include <cmath>

namespace pigmora {

namespace {

namespace grid {
inline constexpr char rows[] = "rows";
inline constexpr char columns[] = "columns";
inline constexpr char format[] = "format";
inline constexpr char minimum[] = "min";
inline constexpr char apca[] = "apca";
inline constexpr char vision[] = "vision";
inline constexpr char require[] = "require";
} // namespace grid

QString value(const CommandLine& line, const char* name) {
    return line.options.value(QString::fromLatin1(name)).value(0);
}

bool given(const CommandLine& line, const char* name) {
    return line.options.contains(QString::fromLatin1(name));
}

// "4.5" or "4,5".
std::optional<double> readNumber(QString text) {
    text.replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    const double v = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(v))
        return std::nullopt;
    return v;
}

bool matchesAny(const QStringList& patterns, const QString& name) {
    return patterns.isEmpty() ||
           std::any_of(patterns.begin(), patterns.end(),
                       [&name](const QString& p) { return globMatches(p, name); });
}

// The grid's colours and, for --require, where each name is found: a palette entry by its
// path, a scheme's colour by the name of every scheme that has it.
struct GridColours {
    std::vector<GridColour> rows, columns;
    QHash<QString, int> rowNamed, columnNamed;
};

void nameAll(const std::vector<GridColour>& colours, QHash<QString, int>& named) {
    for (std::size_t i = 0; i < colours.size(); ++i)
        if (!named.contains(colours[i].name))
            named.insert(colours[i].name, int(i));
}

std::optional<GridColours> schemeColours(const CommandLine& line, ToolOutput& output,
                                         const QStringList& rowPatterns,
                                         const QStringList& columnPatterns) {
    const auto schemes = readSchemes(line, output);
    if (!schemes)
        return std::nullopt;
    std::vector<ColourScheme> textSchemes, backgroundSchemes;
    for (const ColourScheme& s : *schemes) {
        if (matchesAny(rowPatterns, s.name))
            textSchemes.push_back(s);
        if (matchesAny(columnPatterns, s.name))
            backgroundSchemes.push_back(s);
    }
    GridColours g;
    g.rows = schemeGridColours(textSchemes, SchemeColours::Text);
    g.columns = schemeGridColours(backgroundSchemes, SchemeColours::Background);
    QHash<ColourValue, int> rowOf, columnOf;
    for (std::size_t i = 0; i < g.rows.size(); ++i)
        rowOf.insert(packColour(g.rows[i].colour), int(i));
    for (std::size_t i = 0; i < g.columns.size(); ++i)
        columnOf.insert(packColour(g.columns[i].colour), int(i));
    for (const ColourScheme& s : textSchemes)
        if (!g.rowNamed.contains(s.name))
            g.rowNamed.insert(s.name, rowOf.value(packColour(s.text)));
    for (const ColourScheme& s : backgroundSchemes)
        if (!g.columnNamed.contains(s.name))
            g.columnNamed.insert(s.name, columnOf.value(packColour(s.background)));
    return g;
}

std::optional<GridColours> paletteColours(const CommandLine& line, ToolOutput& output,
                                          const QStringList& rowPatterns,
                                          const QStringList& columnPatterns) {
    const PaletteReading reading = readPaletteFilesWithCss(line.arguments);
    if (!reading.error.isEmpty()) {
        fail(output, ToolCommand::Grid, reading.error);
        return std::nullopt;
    }
    for (const QString& note : reading.notes)
        output.message(QStringLiteral("Hinweis: ") + note);
    if (!reading.refused.empty()) {
        output.message(
            QStringLiteral("Hinweis: %1 abgelehnt:")
                .arg(countText(qint64(reading.refused.size()), QStringLiteral("Eintrag ist"),
                               QStringLiteral("Einträge sind"))));
        for (std::size_t i = 0; i < reading.refused.size() && i < 10; ++i) {
            const RefusedEntry& r = reading.refused[i];
            output.message(QStringLiteral("  %1 „%2“: %3").arg(r.where, r.what, r.reason));
        }
        if (reading.refused.size() > 10)
            output.message(QStringLiteral("  …"));
    }
    GridColours g;
    for (const Palette& palette : reading.palettes)
        for (const PaletteEntry& e : palette.entries) {
            GridColour colour{e.path, e.colour, e.description};
            if (e.deprecated)
                colour.description +=
                    (colour.description.isEmpty() ? QString() : QStringLiteral(" ")) +
                    QStringLiteral("(veraltet)");
            if (matchesAny(rowPatterns, e.path))
                g.rows.push_back(colour);
            if (matchesAny(columnPatterns, e.path))
                g.columns.push_back(colour);
        }
    nameAll(g.rows, g.rowNamed);
    nameAll(g.columns, g.columnNamed);
    return g;
}

struct Requirement {
    int line = 0;
    int row = -1, column = -1;
    double required = 0;
};

// The lines "text background ratio" (tab-separated where a name holds blanks); "#" starts a
// comment line.
std::optional<std::vector<Requirement>>
readRequirements(const QString& path, const GridColours& colours, ToolOutput& output) {
    QByteArray contents;
    if (const auto reason = readImportFile(path, contents)) {
        fail(output, ToolCommand::Grid,
             QStringLiteral("Die Liste der verlangten Paare %1 kann nicht gelesen werden:\n%2")
                 .arg(path, *reason));
        return std::nullopt;
    }
    std::vector<Requirement> requirements;
    const QStringList lines = QString::fromUtf8(contents).split(QLatin1Char('\n'));
    for (int i = 0; i < lines.size(); ++i) {
        const QString text = lines[i].trimmed();
        if (text.isEmpty() || text.startsWith(QLatin1Char('#')))
            continue;
        const QStringList fields = text.contains(QLatin1Char('\t'))
                                       ? text.split(QLatin1Char('\t'), Qt::SkipEmptyParts)
                                       : text.simplified().split(QLatin1Char(' '));
        const auto refuse = [&](const QString& why) {
            fail(output, ToolCommand::Grid,
                 QStringLiteral("%1, Zeile %2: %3").arg(path).arg(i + 1).arg(why));
            return std::nullopt;
        };
        if (fields.size() != 3)
            return refuse(QStringLiteral("Erwartet sind Textfarbe, Hintergrund und Verhältnis, "
                                         "etwa „fgColor.default bgColor.default 4.5“."));
        Requirement r;
        r.line = i + 1;
        r.row = colours.rowNamed.value(fields[0].trimmed(), -1);
        r.column = colours.columnNamed.value(fields[1].trimmed(), -1);
        const auto required = readNumber(fields[2]);
        if (r.row < 0)
            return refuse(QStringLiteral("„%1“ ist keine Textfarbe des Rasters.").arg(fields[0]));
        if (r.column < 0)
            return refuse(QStringLiteral("„%1“ ist kein Hintergrund des Rasters.").arg(fields[1]));
        if (!required || *required < 1 || *required > 21)
            return refuse(
                QStringLiteral("„%1“ ist kein Kontrastverhältnis von 1 bis 21.").arg(fields[2]));
        r.required = *required;
        requirements.push_back(r);
    }
    return requirements;
}

int checkRequirements(const ContrastGrid& grid, const std::vector<Requirement>& requirements,
                      ToolOutput& output) {
    qint64 failing = 0;
    for (const Requirement& r : requirements) {
        const double ratio = grid.ratio(r.row, r.column);
        if (reaches(ratio, r.required))
            continue;
        ++failing;
        const GridColour& text = grid.rows()[std::size_t(r.row)];
        const GridColour& background = grid.columns()[std::size_t(r.column)];
        output.line(QStringLiteral("%1\t%2\t%3\t%4\t%5\tverlangt %6")
                        .arg(text.name, hashHexText(text.colour), background.name,
                             hashHexText(background.colour), ratioText(ratio),
                             thresholdText(r.required)));
    }
    const qint64 all = qint64(requirements.size());
    if (failing == 0)
        output.message(QStringLiteral("%1 erreichen ihr Ziel.")
                           .arg(countText(all, QStringLiteral("verlangtes Paar"),
                                          QStringLiteral("verlangte Paare"))));
    else
        output.message(
            QStringLiteral("%1 von %2 %3 ihr Ziel.")
                .arg(germanNumber(failing))
                .arg(countText(all, QStringLiteral("verlangten Paar"),
                               QStringLiteral("verlangten Paaren")),
                     failing == 1 ? QStringLiteral("verfehlt") : QStringLiteral("verfehlen")));
    return int(failing ? ToolExit::Refused : ToolExit::Done);
}

} // namespace

CommandEntry gridCommandEntry() {
    return {ToolCommand::Grid,
            QStringLiteral("grid"),
            QStringLiteral("grid [DATEI...] [--rows MUSTER] [--columns MUSTER] [--format "
                           "text|csv|json|html|markdown] [--min 3|4.5|7] [--apca] [--vision "
                           "protan|deutan|tritan|achroma] [--large] [--require DATEI] "
                           "[--file DATEI]"),
            QStringLiteral("jede Textfarbe auf jedem Hintergrund: das Kontrastraster"),
            QStringLiteral("Das Kontrastraster: jede Textfarbe (Zeile) auf jedem Hintergrund "
                           "(Spalte) mit dem Verhältnis nach WCAG 2, wie das Kontrastfenster es "
                           "zeigt, und der erreichten Stufe (AAA, AA, 3:1). Ohne Dateien die "
                           "Farben der gespeicherten Farbschemata (jede Textfarbe eine Zeile, "
                           "jeder Hintergrund eine Spalte), mit Dateien ihre Palette, alle gegen "
                           "alle: Design Tokens (mehrere Dateien als ein Dokument), "
                           "GIMP-Palette, JSON, oder die Custom Properties einer CSS-Datei. Mit "
                           "--require eine Liste verlangter Paare, eines je Zeile "
                           "(„fgColor.default bgColor.default 4.5“): jedes, das sein Ziel "
                           "verfehlt, kommt auf die Standardausgabe, der Rückgabewert ist dann "
                           "1."),
            {{QString::fromLatin1(grid::rows),
              QStringLiteral("Nur die Textfarben, deren Name (Pfad oder Farbschema) zum Muster "
                             "passt: * für einen Namen oder Namensteil ohne Punkt, ** für "
                             "beliebig viele Namen. Mehrmals: jede, die zu einem passt."),
              QStringLiteral("MUSTER")},
             {QString::fromLatin1(grid::columns), QStringLiteral("Ebenso für die Hintergründe."),
              QStringLiteral("MUSTER")},
             {QString::fromLatin1(grid::format),
              QStringLiteral("text (Vorgabe: ein Paar je Zeile), csv, json (jedes Paar mit "
                             "vollen Zahlen), html (eine Seite mit dem Raster) oder markdown "
                             "(eine Tabelle)."),
              QStringLiteral("FORMAT")},
             {QString::fromLatin1(grid::minimum),
              QStringLiteral("Nur die Paare, die dieses Verhältnis erreichen (3, 4.5 oder 7): "
                             "welche Paare man verwenden darf."),
              QStringLiteral("VERHÄLTNIS")},
             {QString::fromLatin1(grid::apca), QStringLiteral("Dazu APCA Lc je Paar.")},
             {QString::fromLatin1(grid::vision),
              QStringLiteral("Beurteilt die Farben, wie ein Mensch mit Protanopie (protan), "
                             "Deuteranopie (deutan), Tritanopie (tritan) oder Achromatopsie "
                             "(achroma) sie sieht."),
              QStringLiteral("ART")},
             {QString::fromLatin1(option::large),
              QStringLiteral("Die Stufen für großen Text: AA ab 3:1, AAA ab 4,5:1.")},
             {QString::fromLatin1(grid::require),
              QStringLiteral("Die Liste der Paare, die ihr Verhältnis erreichen müssen."),
              QStringLiteral("DATEI")},
             schemeFileOption()},
            {{QStringLiteral("[datei...]"),
              QStringLiteral("Paletten: .tokens.json, .gpl, .json, .css; ohne Datei die "
                             "gespeicherten Farbschemata."),
              {}}}};
}

int runGrid(const CommandLine& line, ToolOutput& output) {
    const auto wrong = [&output](const QString& message) {
        return fail(output, ToolCommand::Grid, message);
    };
    GridFormat format = GridFormat::Text;
    if (given(line, grid::format)) {
        const auto named = gridFormatNamed(value(line, grid::format));
        if (!named)
            return wrong(QStringLiteral("Das Format „%1“ gibt es nicht; möglich sind text, csv, "
                                        "json, html und markdown.")
                             .arg(value(line, grid::format)));
        format = *named;
    }
    double minimum = 0;
    if (given(line, grid::minimum)) {
        const auto m = readNumber(value(line, grid::minimum));
        if (!m || *m <= 1 || *m > 21)
            return wrong(QStringLiteral("„%1“ ist kein Kontrastverhältnis für --min; möglich "
                                        "sind 3, 4.5 und 7.")
                             .arg(value(line, grid::minimum)));
        minimum = *m;
    }
    GridRating rating;
    rating.largeText = line.largeText;
    if (given(line, grid::vision)) {
        rating.vision = visionFromKey(value(line, grid::vision));
        if (!rating.vision)
            return wrong(QStringLiteral("Die Art „%1“ gibt es nicht; möglich sind protan, "
                                        "deutan, tritan und achroma.")
                             .arg(value(line, grid::vision)));
    }
    const bool requiring = given(line, grid::require);
    if (requiring && format != GridFormat::Text)
        return wrong(QStringLiteral("Mit --require kommen die Paare, die ihr Ziel verfehlen, auf "
                                    "die Standardausgabe; --format gilt dann nicht."));
    const QStringList rowPatterns = line.options.value(QString::fromLatin1(grid::rows));
    const QStringList columnPatterns = line.options.value(QString::fromLatin1(grid::columns));

    auto colours = line.arguments.isEmpty()
                       ? schemeColours(line, output, rowPatterns, columnPatterns)
                       : paletteColours(line, output, rowPatterns, columnPatterns);
    if (!colours)
        return int(ToolExit::Failed);
    if (colours->rows.empty() && !rowPatterns.isEmpty())
        return wrong(QStringLiteral("Keine Farbe passt zu --rows „%1“.")
                         .arg(rowPatterns.join(QStringLiteral("“, „"))));
    if (colours->columns.empty() && !columnPatterns.isEmpty())
        return wrong(QStringLiteral("Keine Farbe passt zu --columns „%1“.")
                         .arg(columnPatterns.join(QStringLiteral("“, „"))));
    if (const QString tooLarge = gridSizeProblem(colours->rows.size(), colours->columns.size());
        !tooLarge.isEmpty())
        return wrong(tooLarge);
    std::optional<std::vector<Requirement>> requirements;
    if (requiring) {
        requirements = readRequirements(value(line, grid::require), *colours, output);
        if (!requirements)
            return int(ToolExit::Failed);
    }

    const ContrastGrid contrastGrid(std::move(colours->rows), std::move(colours->columns), rating);
    if (requirements)
        return checkRequirements(contrastGrid, *requirements, output);
    GridFilter filter;
    filter.minimumRatio = minimum;
    filter.hideEmpty = minimum > 0;
    GridExportOptions options;
    options.apca = given(line, grid::apca);
    if (line.largeText)
        options.points = 18;
    writeGrid(contrastGrid, makeGridView(contrastGrid, filter), format, options,
              [&output](QByteArrayView piece) {
                  output.write(QByteArray::fromRawData(piece.data(), piece.size()));
              });
    return int(ToolExit::Done);
}

} // namespace pigmora
