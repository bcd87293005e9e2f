#pragma once

#include "schemes/colour_scheme.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <chrono>
#include <optional>
#include <vector>

// Stored schemes written out for web pages and other programs.
namespace pigmora {

enum class ExchangeFormat { Css, Json, Gpl, Tokens };

// Every format, in the order they are offered.
inline constexpr ExchangeFormat exchangeFormats[] = {ExchangeFormat::Css, ExchangeFormat::Json,
                                                     ExchangeFormat::Gpl, ExchangeFormat::Tokens};

// The format a file name's suffix names: ".css", ".json", ".gpl" or ".tokens.json", in any case.
std::optional<ExchangeFormat> formatFromFileName(const QString& fileName);
// "css", "json", "gpl", "tokens.json".
QString formatSuffix(ExchangeFormat format);
// The format's name on the command line: "css", "json", "gpl", "tokens".
QString formatKey(ExchangeFormat format);
// The format's name for people: "CSS", "JSON", "GIMP-Palette", "Design Tokens (DTCG)".
QString formatDisplayName(ExchangeFormat format);

// Whether the two names lead to the same file (also through a link).
bool isSameFile(const QString& a, const QString& b);

// Who wrote an export and when; the CSS comment and the palette's comment say so.
struct ExportStamp {
    QString program; // "Pigmora 1.0.0"
    QDateTime written;
};

// The schemes in the format, in their order, as UTF-8:
//  - CSS: a comment saying who wrote it and when; a ":root" rule with the custom properties
//    "--<class>-text" and "--<class>-background" of every scheme; then one rule a scheme,
//    ".<class> { color: #rrggbb; background-color: #rrggbb; }", under a comment holding the
//    scheme's own name;
//  - JSON: {"format": "pigmora-schemes", "version": 1, "schemes": [{"name": ..., "text":
//    "#rrggbb", "background": "#rrggbb"}, ...]};
//  - GIMP palette: "GIMP Palette", "Name: ...", "Columns: 2", then two lines a scheme,
//    "<r> <g> <b>\t<name> (Text)" and "... <name> (Hintergrund)";
//  - design tokens (DTCG 2025.10): a group "farbschema" of "$type" "color" holding a group a
//    scheme (see tokenGroupNames), each with "$extensions": {"org.pigmora": {"name": ...}} and
//    the tokens "text" and "background", whose "$value" is {"colorSpace": "srgb",
//    "components": [r/255, g/255, b/255], "hex": "#rrggbb"}.
QByteArray exportSchemes(const std::vector<ColourScheme>& schemes, ExchangeFormat format,
                         const ExportStamp& stamp);

// The CSS class of each scheme, in order: "farbschema-" followed by the name with each run of
// blanks (as HTML's class attribute splits on them: space, tab, line feed, form feed, carriage
// return) made one "-", blanks at either end dropped, and every other character an identifier
// may not hold escaped as CSS escapes identifiers. A class already given (equal names, names
// that differ in blanks only, a name that ends like a counter) gets "-2", "-3" ... (the first
// free one).
QStringList cssClassNames(const std::vector<ColourScheme>& schemes);
// The group name of each scheme in a design-token export, in order: the name with "{", "}" and
// "." (which the format keeps for aliases) and a leading "$" (kept for its own properties)
// each made "_"; a name already given gets "-2", "-3" ... as the CSS classes do.
QStringList tokenGroupNames(const std::vector<ColourScheme>& schemes);
// The name with each run of HTML blanks made one "-" and none at either end.
QString withoutHtmlSpaces(const QString& name);
// The characters of `text` as they may stand inside a CSS identifier (after its start), by the
// identifier escaping of the CSS object model: NUL becomes U+FFFD, control characters are
// written as hexadecimal escapes, other characters outside [A-Za-z0-9_-] and ASCII are escaped
// with a backslash.
QString cssEscapedIdentifierPart(const QString& text);

// Writes an export to `path`. A regular file (or a new one) is written under a temporary name
// beside it and renamed into place, so an existing file is replaced whole or not at all; a
// named pipe or a device is written into directly and stays what it is. Returns a German
// message naming the file and the reason on failure (a write that did not arrive whole is one).
// A reader at the other end of a pipe that takes nothing more for `stallLimit` fails the
// write, so a window is not held for ever; without a limit, it is waited for.
std::optional<QString>
writeExportFile(const QString& path, const QByteArray& contents,
                std::optional<std::chrono::milliseconds> stallLimit = std::chrono::seconds(10));

} // namespace pigmora
