#include "sample_size.h"

#include <QFont>

namespace pigmora {

double fontPoints(const QFont& font, double logicalDpi) {
    const double points = font.pointSizeF();
    if (points > 0)
        return points;
    if (font.pixelSize() <= 0 || logicalDpi <= 0)
        return 0;
    return font.pixelSize() * 72.0 / logicalDpi;
}

bool fontIsBold(const QFont& font) {
    return font.weight() >= QFont::Bold;
}

} // namespace pigmora
