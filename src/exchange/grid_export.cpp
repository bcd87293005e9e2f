#include "grid_export.h"

#include "base/hex_digit.h"
#include "contrast/apca.h"
#include "contrast/wcag.h"
#include "export_writers.h"

#include <charconv>

namespace pigmora {

namespace {

// Collects the output and hands it on in pieces.
class Out {
public:
    explicit Out(const std::function<void(QByteArrayView)>& sink)
        : sink_(sink) {
        buffer_.reserve(piece + 4096);
    }
    ~Out() { flush(); }

    Out& operator<<(QByteArrayView bytes) {
        buffer_.append(bytes);
        if (buffer_.size() >= piece)
            flush();
        return *this;
    }
    Out& operator<<(const char* text) { return *this << QByteArrayView(text); }
    Out& operator<<(const QByteArray& bytes) { return *this << QByteArrayView(bytes); }
    Out& operator<<(const QString& text) { return *this << QByteArrayView(text.toUtf8()); }
    Out& operator<<(char c) { return *this << QByteArrayView(&c, 1); }
    // A number as JSON writes it: the shortest form that reads back the same double.
    Out& number(double value) {
        char digits[32];
        const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
        return *this << QByteArrayView(digits, end - digits);
    }

    void flush() {
        if (!buffer_.isEmpty())
            sink_(buffer_);
        buffer_.resize(0); // keeps its room
    }

private:
    static constexpr qsizetype piece = 1 << 20;
    const std::function<void(QByteArrayView)>& sink_;
    QByteArray buffer_;
};

QByteArray hexBytes(Rgb colour) {
    char text[7];
    writeHashHex(colour, LetterCase::Lower, text);
    return QByteArray(text, 7);
}

// A name on one line: tabs and line breaks (only foreign files hold them) as blanks.
QString oneLine(QString name) {
    for (QChar& c : name)
        if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            c = QLatin1Char(' ');
    return name;
}

// The ratio as the grid shows it, cut to hundredths, with a decimal point: "6.11".
QByteArray cutRatio(double ratio) {
    const int h = ratioHundredths(ratio);
    return QByteArray::number(h / 100) + '.' + QByteArray::number(h % 100).rightJustified(2, '0');
}

QByteArray csvField(const QString& text, bool name) {
    QString t = text;
    if (name && !t.isEmpty() &&
        QStringView(u"=+-@\t\r").contains(t.front())) // what a spreadsheet would compute
        t.prepend(QLatin1Char('\''));
    if (!t.contains(QLatin1Char(',')) && !t.contains(QLatin1Char('"')) &&
        !t.contains(QLatin1Char('\n')) && !t.contains(QLatin1Char('\r')))
        return t.toUtf8();
    t.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return '"' + t.toUtf8() + '"';
}

QByteArray html(const QString& text) {
    return text.toHtmlEscaped().replace(QLatin1Char('\''), QStringLiteral("&#39;")).toUtf8();
}

// A font family as a CSS string inside a <style> element: quotes, backslashes and "<" escaped,
// control characters left out.
QByteArray cssString(const QString& family) {
    QByteArray out = "\"";
    for (const QChar c : family) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            continue;
        if (c == QLatin1Char('"') || c == QLatin1Char('\\') || c == QLatin1Char('<'))
            out += "\\" + QByteArray::number(c.unicode(), 16) + ' ';
        else
            out += QString(c).toUtf8();
    }
    return out + '"';
}

const char* levelKey(GridLevel level) {
    switch (level) {
    case GridLevel::Fails:
        break;
    case GridLevel::NonText:
        return "3:1";
    case GridLevel::AA:
        return "AA";
    case GridLevel::AAA:
        return "AAA";
    }
    return "none";
}

void writeText(const ContrastGrid& grid, const GridView& view, const GridExportOptions& options,
               Out& out) {
    std::vector<QByteArray> rows(grid.rows().size()), columns(grid.columns().size());
    for (int r : view.rows)
        rows[std::size_t(r)] =
            (oneLine(grid.rows()[std::size_t(r)].name) + QLatin1Char('\t')).toUtf8() +
            hexBytes(grid.rows()[std::size_t(r)].colour) + '\t';
    for (int c : view.columns)
        columns[std::size_t(c)] =
            (oneLine(grid.columns()[std::size_t(c)].name) + QLatin1Char('\t')).toUtf8() +
            hexBytes(grid.columns()[std::size_t(c)].colour) + '\t';
    for (int r : view.rows)
        for (int c : view.columns) {
            if (!view.passes(grid, r, c))
                continue;
            out << rows[std::size_t(r)] << columns[std::size_t(c)] << ratioText(grid.ratio(r, c))
                << '\t' << gridLevelText(grid.level(r, c));
            if (options.apca)
                out << "\tLc " << apcaText(grid.apca(r, c));
            out << '\n';
        }
}

void writeCsv(const ContrastGrid& grid, const GridView& view, const GridExportOptions& options,
              Out& out) {
    out << "text,text_colour,background,background_colour,ratio,level";
    out << (options.apca ? ",apca\r\n" : "\r\n");
    for (int r : view.rows) {
        const GridColour& text = grid.rows()[std::size_t(r)];
        const QByteArray head = csvField(text.name, true) + ',' + hexBytes(text.colour) + ',';
        for (int c : view.columns) {
            if (!view.passes(grid, r, c))
                continue;
            const GridColour& background = grid.columns()[std::size_t(c)];
            out << head << csvField(background.name, true) << ',' << hexBytes(background.colour)
                << ',' << cutRatio(grid.ratio(r, c)) << ',' << levelKey(grid.level(r, c));
            if (options.apca)
                out << ',' << QByteArray::number(std::llround(grid.apca(r, c) * 10) / 10.0, 'f', 1);
            out << "\r\n";
        }
    }
}

void writeJson(const ContrastGrid& grid, const GridView& view, Out& out) {
    const auto& rating = grid.rating();
    out << "{\"format\": \"pigmora-contrast-grid\", \"version\": 1, \"largeText\": "
        << (rating.largeText ? "true" : "false") << ", \"vision\": ";
    out << (rating.vision ? jsonString(visionKey(*rating.vision)) : QByteArray("null"));
    // Each colour's part of a pair is made once.
    std::vector<QByteArray> textParts(grid.rows().size()), backgroundParts(grid.columns().size());
    const auto list = [&](const char* key, const std::vector<GridColour>& colours,
                          const std::vector<int>& shown, std::vector<QByteArray>& parts,
                          const char* nameKey, const char* seenKey, bool rows) {
        out << ",\n\"" << key << "\": [";
        bool first = true;
        for (int i : shown) {
            const GridColour& g = colours[std::size_t(i)];
            const QByteArray name = jsonString(g.name);
            const QByteArray hex = hexBytes(g.colour);
            out << (first ? "\n  " : ",\n  ") << "{\"name\": " << name << ", \"colour\": \"" << hex
                << "\"";
            if (!g.description.isEmpty())
                out << ", \"description\": " << jsonString(g.description);
            out << "}";
            first = false;
            QByteArray part = QByteArray("\"") + nameKey + "\": " + name + ", \"" + nameKey +
                              "Colour\": \"" + hex + "\", ";
            if (rating.vision)
                part += QByteArray("\"") + seenKey + "\": \"" +
                        hexBytes(rows ? grid.seenRow(i) : grid.seenColumn(i)) + "\", ";
            parts[std::size_t(i)] = part;
        }
        out << "]";
    };
    list("rows", grid.rows(), view.rows, textParts, "text", "seenText", true);
    list("columns", grid.columns(), view.columns, backgroundParts, "background", "seenBackground",
         false);
    // The verdicts of each level of normal text; those of large text follow from them.
    static const QByteArray verdicts[] = {
        "\"aa\": false, \"aaa\": false, \"aaLarge\": false, \"aaaLarge\": false, "
        "\"nonText\": false}",
        "\"aa\": false, \"aaa\": false, \"aaLarge\": true, \"aaaLarge\": false, "
        "\"nonText\": true}",
        "\"aa\": true, \"aaa\": false, \"aaLarge\": true, \"aaaLarge\": true, "
        "\"nonText\": true}",
        "\"aa\": true, \"aaa\": true, \"aaLarge\": true, \"aaaLarge\": true, \"nonText\": true}"};
    out << ",\n\"pairs\": [";
    bool first = true;
    for (int r : view.rows)
        for (int c : view.columns) {
            if (!view.passes(grid, r, c))
                continue;
            const double ratio = grid.ratio(r, c);
            out << (first ? "\n  {" : ",\n  {") << textParts[std::size_t(r)]
                << backgroundParts[std::size_t(c)] << "\"ratio\": ";
            out.number(ratio) << ", \"apca\": ";
            out.number(grid.apca(r, c)) << ", \"level\": \"" << levelKey(grid.level(r, c)) << "\", "
                                        << verdicts[int(gridLevel(ratio, false))];
            first = false;
        }
    out << "]}\n";
}

void writeMarkdown(const ContrastGrid& grid, const GridView& view, const GridExportOptions& options,
                   Out& out) {
    const auto cellName = [](const GridColour& g) {
        QString name = oneLine(g.name);
        name.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
        name.replace(QLatin1Char('|'), QStringLiteral("\\|"));
        return name + QStringLiteral(" `") + hashHexText(g.colour) + QLatin1Char('`');
    };
    out << "| Text \\ Hintergrund |";
    for (int c : view.columns)
        out << ' ' << cellName(grid.columns()[std::size_t(c)]) << " |";
    out << "\n|---|";
    for (std::size_t i = 0; i < view.columns.size(); ++i)
        out << "---|";
    out << '\n';
    for (int r : view.rows) {
        out << "| " << cellName(grid.rows()[std::size_t(r)]) << " |";
        for (int c : view.columns) {
            if (view.passes(grid, r, c)) {
                out << ' ' << ratioText(grid.ratio(r, c)) << ' ' << gridLevelText(grid.level(r, c));
                if (options.apca)
                    out << " Lc " << apcaText(grid.apca(r, c));
            }
            out << " |";
        }
        out << '\n';
    }
}

void writeHtml(const ContrastGrid& grid, const GridView& view, const GridExportOptions& options,
               Out& out) {
    const bool large = grid.rating().largeText;
    out << "<!DOCTYPE html>\n<html lang=\"de\">\n<head>\n<meta charset=\"utf-8\">\n<title>"
        << html(options.title) << "</title>\n<style>\n"
        << "body { font-family: sans-serif; margin: 1.5em; color: #1f2328; background: #fff; }\n"
        << "table.raster { border-collapse: collapse; }\n"
        << ".raster th, .raster td { border: 1px solid #d0d7de; padding: 4px 6px; "
           "vertical-align: top; font-size: 12px; font-weight: normal; text-align: left; }\n"
        << ".raster thead th { position: sticky; top: 0; background: #f6f8fa; }\n"
        << ".muster { display: inline-block; width: 1.2em; height: 1.2em; border: 1px solid "
           "#8c959f; vertical-align: middle; margin-right: 4px; }\n"
        << ".probe { padding: 2px 6px; margin-bottom: 2px; white-space: nowrap; font-family: "
        << cssString(options.fontFamily)
        << ", sans-serif; font-size: " << QByteArray::number(options.points, 'g', 6)
        << "pt; font-weight: " << (options.bold ? "bold" : "normal") << "; }\n"
        << ".stufe { font-weight: bold; }\n"
        << "td.abgeblendet { opacity: 0.25; }\n"
        << "code { font-size: 11px; }\n</style>\n</head>\n<body>\n<h1>" << html(options.title)
        << "</h1>\n<p>Beurteilt nach WCAG 2 für " << (large ? "großen Text" : "normalen Text");
    if (grid.rating().vision)
        out << ", gesehen mit " << html(deficiencyName(*grid.rating().vision));
    if (view.minimumRatio > 0)
        out << "; abgeblendet, was " << html(thresholdText(view.minimumRatio)) << " nicht erreicht";
    out << ".</p>\n<table class=\"raster\">\n<thead>\n<tr><th scope=\"col\">Text \\ "
           "Hintergrund</th>";
    const auto header = [&out](const char* scope, const GridColour& g) {
        out << "<th scope=\"" << scope
            << "\"><span class=\"muster\" style=\"background: " << hexBytes(g.colour)
            << "\"></span>" << html(g.name) << "<br><code>" << hexBytes(g.colour) << "</code></th>";
    };
    for (int c : view.columns)
        header("col", grid.columns()[std::size_t(c)]);
    out << "</tr>\n</thead>\n<tbody>\n";
    for (int r : view.rows) {
        out << "<tr>";
        header("row", grid.rows()[std::size_t(r)]);
        for (int c : view.columns) {
            const GridLevel level = grid.level(r, c);
            out << "<td class=\"zelle" << (view.passes(grid, r, c) ? "" : " abgeblendet")
                << "\" title=\"" << html(gridCellText(grid, r, c, options.apca))
                << "\"><div class=\"probe\" style=\"color: " << hexBytes(grid.seenRow(r))
                << "; background: " << hexBytes(grid.seenColumn(c)) << "\">Aa</div>"
                << "<span class=\"verhaeltnis\">" << ratioText(grid.ratio(r, c))
                << "</span> <span class=\"stufe\">" << html(gridLevelText(level)) << "</span>";
            if (options.apca)
                out << " <span class=\"apca\">Lc " << apcaText(grid.apca(r, c)) << "</span>";
            out << "</td>";
        }
        out << "</tr>\n";
    }
    out << "</tbody>\n</table>\n</body>\n</html>\n";
}

} // namespace

std::optional<GridFormat> gridFormatNamed(const QString& name) {
    static const std::pair<const char*, GridFormat> names[] = {{"text", GridFormat::Text},
                                                               {"csv", GridFormat::Csv},
                                                               {"json", GridFormat::Json},
                                                               {"html", GridFormat::Html},
                                                               {"markdown", GridFormat::Markdown}};
    for (const auto& [key, format] : names)
        if (name.compare(QLatin1String(key), Qt::CaseInsensitive) == 0)
            return format;
    return std::nullopt;
}

std::optional<GridFormat> gridFormatFromFileName(const QString& fileName) {
    const QString lower = fileName.toLower();
    static const std::pair<const char*, GridFormat> suffixes[] = {
        {".html", GridFormat::Html}, {".htm", GridFormat::Html},    {".csv", GridFormat::Csv},
        {".json", GridFormat::Json}, {".md", GridFormat::Markdown}, {".txt", GridFormat::Text}};
    for (const auto& [suffix, format] : suffixes)
        if (lower.endsWith(QLatin1String(suffix)))
            return format;
    return std::nullopt;
}

void writeGrid(const ContrastGrid& grid, const GridView& view, GridFormat format,
               const GridExportOptions& options, const std::function<void(QByteArrayView)>& sink) {
    Out out(sink);
    switch (format) {
    case GridFormat::Text:
        writeText(grid, view, options, out);
        break;
    case GridFormat::Csv:
        writeCsv(grid, view, options, out);
        break;
    case GridFormat::Json:
        writeJson(grid, view, out);
        break;
    case GridFormat::Html:
        writeHtml(grid, view, options, out);
        break;
    case GridFormat::Markdown:
        writeMarkdown(grid, view, options, out);
        break;
    }
}

QByteArray gridExport(const ContrastGrid& grid, const GridView& view, GridFormat format,
                      const GridExportOptions& options) {
    QByteArray all;
    writeGrid(grid, view, format, options, [&all](QByteArrayView piece) { all.append(piece); });
    return all;
}

} // namespace pigmora
