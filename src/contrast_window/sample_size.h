#pragma once

class QFont;

namespace pigmora {

// The size of a font in points. A font set by its pixel size has no point size (-1); its
// pixels are converted with the screen's logical dots per inch: pt = px * 72 / dpi.
double fontPoints(const QFont& font, double logicalDpi);
// Bold as the contrast rules count it: a weight of at least QFont::Bold.
bool fontIsBold(const QFont& font);

} // namespace pigmora
