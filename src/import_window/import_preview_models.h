#pragma once

#include <QAbstractTableModel>
#include <QStyledItemDelegate>
#include <vector>

namespace pigmora {

struct ColourScheme;
struct RefusedEntry;

// The schemes an import would add, one row each: the name, then the text colour and the
// background, each as "#rrggbb" with the colour as its decoration. The list is shown, never
// copied; it must outlive the model.
class ImportedSchemesModel : public QAbstractTableModel {
public:
    enum Column { NameColumn, TextColumn, BackgroundColumn, ColumnCount };

    explicit ImportedSchemesModel(const std::vector<ColourScheme>& schemes,
                                  QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    const std::vector<ColourScheme>& schemes_;
};

// The entries an import refused, one row each: where in the file, what was read, and why.
class RefusedEntriesModel : public QAbstractTableModel {
public:
    enum Column { WhereColumn, WhatColumn, ReasonColumn, ColumnCount };

    explicit RefusedEntriesModel(const std::vector<RefusedEntry>& refused,
                                 QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    const std::vector<RefusedEntry>& refused_;
};

// Paints a colour decoration with a thin frame, so a swatch of the list's own background colour
// still shows.
class SwatchDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
};

} // namespace pigmora
