#include "import_preview_models.h"

#include "exchange/scheme_import.h"

#include <QApplication>
#include <QColor>
#include <QPainter>

namespace pigmora {

namespace {

bool isRowOf(const QModelIndex& index, std::size_t rows, int columns) {
    return index.isValid() && index.row() >= 0 && std::size_t(index.row()) < rows &&
           index.column() >= 0 && index.column() < columns;
}

QColor qColour(Rgb c) {
    return QColor(c.red, c.green, c.blue);
}

} // namespace

ImportedSchemesModel::ImportedSchemesModel(const std::vector<ColourScheme>& schemes,
                                           QObject* parent)
    : QAbstractTableModel(parent)
    , schemes_(schemes) {}

int ImportedSchemesModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(schemes_.size());
}

int ImportedSchemesModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant ImportedSchemesModel::data(const QModelIndex& index, int role) const {
    if (!isRowOf(index, schemes_.size(), ColumnCount))
        return {};
    const ColourScheme& scheme = schemes_[std::size_t(index.row())];
    if (index.column() == NameColumn)
        return role == Qt::DisplayRole || role == Qt::ToolTipRole ? QVariant(scheme.name)
                                                                  : QVariant();
    const QColor colour = qColour(index.column() == TextColumn ? scheme.text : scheme.background);
    switch (role) {
    case Qt::DisplayRole:
        return colour.name(); // "#rrggbb"
    case Qt::DecorationRole:
        return colour;
    default:
        return {};
    }
}

QVariant ImportedSchemesModel::headerData(int section, Qt::Orientation orientation,
                                          int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (section) {
    case NameColumn:
        return QStringLiteral("Name");
    case TextColumn:
        return QStringLiteral("Textfarbe");
    case BackgroundColumn:
        return QStringLiteral("Hintergrund");
    default:
        return {};
    }
}

RefusedEntriesModel::RefusedEntriesModel(const std::vector<RefusedEntry>& refused, QObject* parent)
    : QAbstractTableModel(parent)
    , refused_(refused) {}

int RefusedEntriesModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(refused_.size());
}

int RefusedEntriesModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant RefusedEntriesModel::data(const QModelIndex& index, int role) const {
    if (!isRowOf(index, refused_.size(), ColumnCount) ||
        (role != Qt::DisplayRole && role != Qt::ToolTipRole))
        return {};
    const RefusedEntry& entry = refused_[std::size_t(index.row())];
    switch (index.column()) {
    case WhereColumn:
        return entry.where;
    case WhatColumn:
        return entry.what;
    default:
        return entry.reason;
    }
}

QVariant RefusedEntriesModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (section) {
    case WhereColumn:
        return QStringLiteral("Stelle");
    case WhatColumn:
        return QStringLiteral("Eintrag");
    case ReasonColumn:
        return QStringLiteral("Grund");
    default:
        return {};
    }
}

void SwatchDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                           const QModelIndex& index) const {
    QStyledItemDelegate::paint(painter, option, index);
    if (index.data(Qt::DecorationRole).typeId() != QMetaType::QColor)
        return;
    QStyleOptionViewItem item(option);
    initStyleOption(&item, index);
    const QWidget* widget = item.widget;
    const QStyle* style = widget ? widget->style() : QApplication::style();
    const QRect swatch = style->subElementRect(QStyle::SE_ItemViewItemDecoration, &item, widget);
    painter->save();
    painter->setPen(item.palette.color(QPalette::Text));
    painter->setBrush(Qt::NoBrush);
    painter->drawRect(swatch.adjusted(0, 0, -1, -1));
    painter->restore();
}

} // namespace pigmora
