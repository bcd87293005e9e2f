#pragma once

#include "base/colour_value.h"
#include "contrast/wcag.h"
#include "schemes/colour_scheme.h"

#include <QByteArray>
#include <QString>

// The forms in which the commands write schemes, counts and contrasts.
namespace pigmora {

// A line of `list`: name, tab, text colour "#rrggbb", tab, background "#rrggbb". Control
// characters in the name (a tab or a line break, only a foreign file can hold them) are written
// as blanks, so every scheme stays one line of three fields.
QString schemeLine(const ColourScheme& scheme);

// A count with the German thousands separator: "1 Farbschema", "12.345 Farbschemata".
QString countText(qint64 count, const QString& singular, const QString& plural);
QString schemeCountText(qint64 count);

// "AA für normalen Text (ab 4,5:1)".
QString levelText(WcagLevel level, bool largeText);

// What `contrast` prints: the two colours, the WCAG ratio (cut to two decimals), the four
// verdicts and APCA Lc, one a line.
QString contrastReport(Rgb text, Rgb background);
// {"wcag": ratio, "apca": Lc, "aa": ..., "aaa": ..., "aa_large": ..., "aaa_large": ...}, the
// numbers at full precision, on one line.
QByteArray contrastJson(Rgb text, Rgb background);

} // namespace pigmora
