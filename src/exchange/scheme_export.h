#pragma once

#include "schemes/colour_scheme.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

// Stored schemes written out for web pages and other programs.
namespace pigmora {

enum class ExchangeFormat { Css, Json, Gpl };

// The format a file name's suffix names: ".css", ".json" or ".gpl", in any case.
std::optional<ExchangeFormat> formatFromFileName(const QString& fileName);
// "css", "json", "gpl".
QString formatSuffix(ExchangeFormat format);
// The format's name for people: "CSS", "JSON", "GIMP-Palette".
// Whether the two names lead to the same file (also through a link).
bool isSameFile(const QString& a, const QString& b);

QString formatDisplayName(ExchangeFormat format);

// Who wrote an export and when; the CSS comment and the palette's comment say so.
struct ExportStamp {
    QString program; // "Pigmora 1.0.0"
    QDateTime written;
};

// The schemes in the format, in their order, as UTF-8:
//  - CSS: a comment saying who wrote it and when; a ":root" rule with the custom properties
//    "--<class>-text" and "--<class>-background" of every scheme; then one rule a scheme,
//    ".<class> { color: #rrggbb; background-color: #rrggbb; }";
//  - JSON: {"format": "pigmora-schemes", "version": 1, "schemes": [{"name": ..., "text":
//    "#rrggbb", "background": "#rrggbb"}, ...]};
//  - GIMP palette: "GIMP Palette", "Name: ...", "Columns: 2", then two lines a scheme,
//    "<r> <g> <b>\t<name> (Text)" and "... <name> (Hintergrund)".
QByteArray exportSchemes(const std::vector<ColourScheme>& schemes, ExchangeFormat format,
                         const ExportStamp& stamp);

// The CSS class of each scheme, in order: "farbschema-" followed by the name with every
// character an identifier may not hold escaped as CSS escapes identifiers. Distinct names give
// distinct classes; a class already given gets "-2", "-3" ... (the first free one).
QStringList cssClassNames(const std::vector<ColourScheme>& schemes);
// The characters of `text` as they may stand inside a CSS identifier (after its start), by the
// identifier escaping of the CSS object model: NUL becomes U+FFFD, control characters are
// written as hexadecimal escapes, other characters outside [A-Za-z0-9_-] and ASCII are escaped
// with a backslash.
QString cssEscapedIdentifierPart(const QString& text);

// Writes `contents` to a temporary file beside `path` and renames it into place, so an existing
// file is replaced whole or not at all. Returns a German message naming the file on failure.
std::optional<QString> writeFileAtomically(const QString& path, const QByteArray& contents);

} // namespace pigmora
