#pragma once

#include "base/colour_value.h"

class QColor;
class QWidget;

// Foreground (text) and background colour of a label, as packed colour values.
namespace pigmora {

ColourValue fromQColor(const QColor& c);
QColor toQColor(ColourValue v);

ColourValue foreColour(const QWidget* w);
ColourValue backColour(const QWidget* w);
void setForeColour(QWidget* w, ColourValue v);
// Also makes the widget paint its background.
void setBackColour(QWidget* w, ColourValue v);

class SamplePair;
// Paints the pair's colours on the label now and whenever one of them changes, before any
// observer connected later hears of the change.
void showPairOn(SamplePair& pair, QWidget* label);

} // namespace pigmora
