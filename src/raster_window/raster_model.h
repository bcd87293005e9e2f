#pragma once

#include "contrast_grid/contrast_grid.h"

#include <QAbstractTableModel>
#include <QFont>
#include <QHeaderView>
#include <QStyledItemDelegate>

namespace pigmora {

// The grid as a table: the rows and columns of its view, a cell a pair. Nothing is measured or
// made per cell until a cell is painted or read.
class RasterModel : public QAbstractTableModel {
public:
    using QAbstractTableModel::QAbstractTableModel;

    // Shows the view of the grid (which stays the caller's and is not changed while shown).
    void show(const ContrastGrid* grid, GridView view, bool greyFailing, bool apca);

    const ContrastGrid* grid() const { return grid_; }
    const GridView& view() const { return view_; }
    bool greyFailing() const { return greyFailing_; }
    bool apca() const { return apca_; }
    // The grid's row and column of a cell of the table.
    int gridRow(int row) const { return view_.rows[std::size_t(row)]; }
    int gridColumn(int column) const { return view_.columns[std::size_t(column)]; }
    // The cell of the table that shows the grid's pair, if it is shown.
    QModelIndex cellOf(int gridRow, int gridColumn) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    // Display: "6,11:1 AA"; the accessible text and the tooltip: gridCellText().
    QVariant data(const QModelIndex& index, int role) const override;
    // Display: "fgColor.muted\n#59636e"; accessible text "fgColor.muted #59636e"; the tooltip
    // adds the description.
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    const GridColour& colour(int section, Qt::Orientation orientation) const;

    const ContrastGrid* grid_ = nullptr;
    GridView view_;
    bool greyFailing_ = false;
    bool apca_ = false;
};

// Paints a cell: the text colour on the background in the sample's font, below it the ratio
// and the level; a failing cell faint when the filter asks so.
class RasterDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void setSampleFont(const QFont& font) { sampleFont_ = font; }
    const QFont& sampleFont() const { return sampleFont_; }
    // The size of every cell for the sample font and the window's font.
    QSize cellSize(const QFont& windowFont, bool apca) const;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    QFont sampleFont_;
};

// A row or column header: the colour's swatch, its name and "#rrggbb".
class RasterHeader : public QHeaderView {
public:
    explicit RasterHeader(Qt::Orientation orientation, QWidget* parent = nullptr);

protected:
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;
};

} // namespace pigmora
