#include "offer_rows.h"

#include "accessibility/accessible_shape.h"
#include "value_label.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

namespace pigmora {

namespace {

OfferRow addOfferRow(QWidget* parent, QGridLayout* grid, int row, const QString& level,
                     const char* sideName, const char* sideText) {
    const QString prefix = level + QString::fromUtf8(sideName);
    const auto name = [&prefix](const char* kind, const char* suffix) {
        return (QString::fromUtf8(kind) + prefix + QString::fromUtf8(suffix)).toUtf8();
    };
    const QString side = QString::fromUtf8(sideText);
    const QString what = QStringLiteral("%1, %2").arg(level, side);
    OfferRow r;
    r.side = namedLabel(parent, name("lbl", "").constData(), side + QLatin1Char(':'), what);
    r.swatch =
        colourSwatch(parent, name("lbl", "Farbe").constData(), what + QStringLiteral(": Farbe"));
    r.hex = namedLabel(parent, name("lbl", "Hex").constData(), QString(), what);
    r.ratio = namedLabel(parent, name("lbl", "Verhältnis").constData(), QString(),
                         what + QStringLiteral(": Kontrastverhältnis"));
    r.apply = new QPushButton(QStringLiteral("Übernehmen"), parent);
    r.apply->setObjectName(QString::fromUtf8(name("cmd", "")));
    r.apply->setAccessibleName(what + QStringLiteral(": übernehmen"));
    // A screen reader hears the row once, from its button: the side, swatch, hex text and
    // ratio are all in the button's name.
    for (QLabel* shownOnly : {r.side, r.swatch, r.hex, r.ratio})
        setAccessibleHidden(shownOnly, true);
    reserveWidth(r.hex, {QStringLiteral("#DDDDDD")});
    reserveWidth(r.ratio, {QStringLiteral("21,00:1")});
    r.ratio->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    grid->addWidget(r.side, row, 1);
    grid->addWidget(r.swatch, row, 2);
    grid->addWidget(r.hex, row, 3);
    grid->addWidget(r.ratio, row, 4);
    grid->addWidget(r.apply, row, 5);
    return r;
}

void showOffer(const OfferRow& row, const OfferedColour& offer) {
    const QString what = row.side->accessibleName();
    showSwatch(row.swatch, offer.exists ? std::optional<Rgb>(offer.colour) : std::nullopt,
               what + QStringLiteral(": ") + offer.hex);
    showValue(row.hex, what, offer.hex);
    showValue(row.ratio, what + QStringLiteral(": Kontrastverhältnis"), offer.ratio);
    row.apply->setEnabled(offer.exists);
    // The button is what Tab reaches, so it says the whole offer, or once "keine Farbe".
    row.apply->setAccessibleName(
        offer.exists ? QStringLiteral("%1 übernehmen: %2, %3").arg(what, offer.hex, offer.ratio)
                     : what + QStringLiteral(": keine Farbe"));
}

} // namespace

LevelRows addLevelRows(QWidget* parent, QGridLayout* grid, int firstRow, const char* level) {
    const QString name = QString::fromUtf8(level);
    const auto objectName = [&name](const char* suffix) {
        return (QStringLiteral("lbl") + name + QString::fromUtf8(suffix)).toUtf8();
    };
    LevelRows rows;
    rows.caption = namedLabel(parent, objectName("Stufe").constData(), name, name);
    setAccessibleHidden(rows.caption, true); // the hint's name begins with it
    rows.hint = namedLabel(parent, objectName("Hinweis").constData(), QString(), name);
    reserveWidth(rows.caption, {QStringLiteral("AAA (4,5:1)")});
    reserveWidth(rows.hint,
                 {QStringLiteral("Die nächsten Farben dieses Farbtons, die AAA erreichen:"),
                  QStringLiteral("Die Hintergrundfarbe erreicht AAA bereits."),
                  QStringLiteral("Keine Farbe dieses Farbtons erreicht AAA.")});
    grid->addWidget(rows.caption, firstRow, 0);
    grid->addWidget(rows.hint, firstRow, 1, 1, 5);
    rows.lighter = addOfferRow(parent, grid, firstRow + 1, name, "Heller", "heller");
    rows.darker = addOfferRow(parent, grid, firstRow + 2, name, "Dunkler", "dunkler");
    return rows;
}

void showLevelOffer(const LevelRows& rows, const LevelOffer& offer) {
    showCaption(rows.caption, offer.caption);
    showValue(rows.hint, offer.caption, offer.hint);
    showOffer(rows.lighter, offer.lighter);
    showOffer(rows.darker, offer.darker);
}

} // namespace pigmora
