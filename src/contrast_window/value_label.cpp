#include "value_label.h"

#include "editor/widget_colours.h"

#include <QLabel>
#include <algorithm>

namespace pigmora {

QLabel* namedLabel(QWidget* parent, const char* name, const QString& text,
                   const QString& accessibleName) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromUtf8(name));
    label->setTextFormat(Qt::PlainText);
    label->setAccessibleName(accessibleName);
    // Opaque: a changed value repaints the label alone, not the group box beneath it.
    label->setAutoFillBackground(true);
    return label;
}

void reserveWidth(QLabel* label, const QStringList& texts) {
    int widest = 0;
    for (const QString& text : texts)
        widest = std::max(widest, label->fontMetrics().horizontalAdvance(text));
    // The frame and the margin on both sides, and a pixel for the rounding of the advance.
    label->setMinimumWidth(widest + 2 * (label->frameWidth() + label->margin()) + 1);
}

void showValue(QLabel* label, const QString& caption, const QString& value) {
    label->setText(value);
    QString name = caption;
    if (name.endsWith(QLatin1Char(':')))
        name.chop(1);
    label->setAccessibleName(name + QStringLiteral(": ") + value);
}

void showCaption(QLabel* label, const QString& text) {
    label->setText(text);
    label->setAccessibleName(text);
}

QLabel* colourSwatch(QWidget* parent, const char* name, const QString& accessibleName) {
    QLabel* swatch = namedLabel(parent, name, QString(), accessibleName);
    swatch->setFrameStyle(QFrame::Box | QFrame::Plain);
    swatch->setFixedSize(36, 18);
    return swatch;
}

void showSwatch(QLabel* swatch, std::optional<Rgb> colour, const QString& accessibleName) {
    if (colour)
        setBackColour(swatch, packColour(*colour));
    else
        swatch->setPalette(QPalette()); // the window's own background
    swatch->setAccessibleName(accessibleName);
}

} // namespace pigmora
