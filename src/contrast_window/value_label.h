#pragma once

#include "base/colour_value.h"

#include <QString>
#include <QStringList>
#include <optional>

class QLabel;
class QWidget;

namespace pigmora {

// A label named as the tests address it, plain text, and its accessible name.
QLabel* namedLabel(QWidget* parent, const char* name, const QString& text,
                   const QString& accessibleName);
// Keeps room for the longest of `texts`, so the window keeps its size whatever the label shows.
void reserveWidth(QLabel* label, const QStringList& texts);
// Shows `value` in a label that a screen reader announces as "<caption>: <value>" (a caption
// that ends in a colon keeps only that one).
void showValue(QLabel* label, const QString& caption, const QString& value);
// Shows a text that is its own accessible name.
void showCaption(QLabel* label, const QString& text);
// A small framed field that shows a colour; without a colour it stays empty.
QLabel* colourSwatch(QWidget* parent, const char* name, const QString& accessibleName);
void showSwatch(QLabel* swatch, std::optional<Rgb> colour, const QString& accessibleName);

} // namespace pigmora
