#include "raster_model.h"

#include "base/hex_digit.h"
#include "contrast/apca.h"
#include "contrast/wcag.h"

#include <QApplication>
#include <QPainter>

namespace pigmora {

namespace {

QColor qColour(Rgb c) {
    return QColor(c.red, c.green, c.blue);
}

QString cellLine(const ContrastGrid& grid, int row, int column, bool apca) {
    QString text = ratioText(grid.ratio(row, column)) + QLatin1Char(' ') +
                   gridLevelText(grid.level(row, column));
    if (apca)
        text += QStringLiteral(" Lc ") + apcaText(grid.apca(row, column));
    return text;
}

const QString sampleText = QStringLiteral("Aa");
constexpr int padding = 4;

} // namespace

void RasterModel::show(const ContrastGrid* grid, GridView view, bool greyFailing, bool apca) {
    beginResetModel();
    grid_ = grid;
    view_ = std::move(view);
    greyFailing_ = greyFailing;
    apca_ = apca;
    endResetModel();
}

QModelIndex RasterModel::cellOf(int gridRow, int gridColumn) const {
    const auto r = std::find(view_.rows.begin(), view_.rows.end(), gridRow);
    const auto c = std::find(view_.columns.begin(), view_.columns.end(), gridColumn);
    if (r == view_.rows.end() || c == view_.columns.end())
        return {};
    return index(int(r - view_.rows.begin()), int(c - view_.columns.begin()));
}

int RasterModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() || !grid_ ? 0 : int(view_.rows.size());
}

int RasterModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() || !grid_ ? 0 : int(view_.columns.size());
}

QVariant RasterModel::data(const QModelIndex& index, int role) const {
    if (!grid_ || !index.isValid())
        return {};
    const int r = gridRow(index.row());
    const int c = gridColumn(index.column());
    switch (role) {
    case Qt::DisplayRole:
        return cellLine(*grid_, r, c, apca_);
    case Qt::AccessibleTextRole:
    case Qt::ToolTipRole:
        return gridCellText(*grid_, r, c, apca_);
    default:
        return {};
    }
}

const GridColour& RasterModel::colour(int section, Qt::Orientation orientation) const {
    return orientation == Qt::Vertical ? grid_->rows()[std::size_t(gridRow(section))]
                                       : grid_->columns()[std::size_t(gridColumn(section))];
}

QVariant RasterModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (!grid_ || section < 0 ||
        section >= (orientation == Qt::Vertical ? rowCount() : columnCount()))
        return {};
    const GridColour& g = colour(section, orientation);
    switch (role) {
    case Qt::DisplayRole:
        return g.name + QLatin1Char('\n') + hashHexText(g.colour);
    case Qt::AccessibleTextRole:
        return g.name + QLatin1Char(' ') + hashHexText(g.colour);
    case Qt::ToolTipRole:
        return g.description.isEmpty() ? g.name : g.name + QLatin1Char('\n') + g.description;
    case Qt::DecorationRole:
        return qColour(g.colour);
    default:
        return {};
    }
}

Qt::ItemFlags RasterModel::flags(const QModelIndex& index) const {
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

QSize RasterDelegate::cellSize(const QFont& windowFont, bool apca) const {
    const QFontMetrics sample(sampleFont_);
    const QFontMetrics small(windowFont);
    const int width =
        std::max(sample.horizontalAdvance(sampleText),
                 small.horizontalAdvance(apca ? QStringLiteral("21,00:1 AAA Lc -108,0")
                                              : QStringLiteral("21,00:1 AAA Aa"))) +
        4 * padding;
    return {width, sample.height() + small.height() + 4 * padding};
}

QSize RasterDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const {
    const auto* model = static_cast<const RasterModel*>(index.model());
    return cellSize(option.font, model && model->apca());
}

void RasterDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                           const QModelIndex& index) const {
    const auto* model = static_cast<const RasterModel*>(index.model());
    const ContrastGrid* grid = model->grid();
    if (!grid)
        return;
    const int r = model->gridRow(index.row());
    const int c = model->gridColumn(index.column());
    const bool selected = option.state & QStyle::State_Selected;
    painter->save();
    painter->fillRect(option.rect, option.palette.base());
    if (model->greyFailing() && !model->view().passes(*grid, r, c))
        painter->setOpacity(0.25);
    const QFontMetrics sample(sampleFont_);
    const QRect inner = option.rect.adjusted(padding, padding, -padding, -padding);
    const QRect swatch(inner.left(), inner.top(), inner.width(), sample.height() + padding);
    painter->fillRect(swatch, qColour(grid->seenColumn(c)));
    painter->setFont(sampleFont_);
    painter->setPen(qColour(grid->seenRow(r)));
    painter->drawText(swatch.adjusted(padding, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter,
                      sampleText);
    painter->setFont(option.font);
    painter->setPen(option.palette.color(QPalette::Text));
    painter->drawText(
        QRect(inner.left(), swatch.bottom() + 1, inner.width(), inner.bottom() - swatch.bottom()),
        Qt::AlignLeft | Qt::AlignVCenter, cellLine(*grid, r, c, model->apca()));
    painter->setOpacity(1);
    if (selected || (option.state & QStyle::State_HasFocus)) {
        QPen pen(option.palette.color(QPalette::Highlight), selected ? 3 : 1);
        painter->setPen(pen);
        painter->setBrush(Qt::NoBrush);
        painter->drawRect(option.rect.adjusted(1, 1, -2, -2));
    }
    painter->restore();
}

RasterHeader::RasterHeader(Qt::Orientation orientation, QWidget* parent)
    : QHeaderView(orientation, parent) {
    setSectionResizeMode(QHeaderView::Fixed);
    setHighlightSections(true);
}

void RasterHeader::paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const {
    if (!rect.isValid())
        return;
    const QVariant swatch = model()->headerData(logicalIndex, orientation(), Qt::DecorationRole);
    const QStringList lines = model()
                                  ->headerData(logicalIndex, orientation(), Qt::DisplayRole)
                                  .toString()
                                  .split(QLatin1Char('\n'));
    painter->save();
    painter->fillRect(rect, palette().button());
    painter->setPen(palette().color(QPalette::Mid));
    painter->drawLine(rect.bottomLeft(), rect.bottomRight());
    painter->drawLine(rect.topRight(), rect.bottomRight());
    const QRect inner = rect.adjusted(padding, padding, -padding, -padding);
    const int box = fontMetrics().height();
    const QRect swatchRect(inner.left(), inner.top(), box, box);
    painter->fillRect(swatchRect, swatch.value<QColor>());
    painter->drawRect(swatchRect);
    painter->setPen(palette().color(QPalette::ButtonText));
    const QRect textRect = inner.adjusted(box + padding, 0, 0, 0);
    // A column is narrow: the end of a path tells its colours apart best.
    const QString name = fontMetrics().elidedText(
        lines.value(0), orientation() == Qt::Horizontal ? Qt::ElideLeft : Qt::ElideMiddle,
        textRect.width());
    painter->drawText(textRect, Qt::AlignLeft | Qt::AlignTop, name);
    painter->drawText(textRect.adjusted(0, fontMetrics().height(), 0, 0),
                      Qt::AlignLeft | Qt::AlignTop, lines.value(1));
    painter->restore();
}

} // namespace pigmora
