#include "pairing_models.h"

#include "base/hex_digit.h"
#include "contrast/wcag.h"

#include <QColor>

namespace pigmora {

namespace {

QColor qColour(Rgb c) {
    return QColor(c.red, c.green, c.blue);
}

bool isRowOf(const QModelIndex& index, std::size_t rows, int columns) {
    return index.isValid() && index.row() >= 0 && std::size_t(index.row()) < rows &&
           index.column() >= 0 && index.column() < columns;
}

} // namespace

void PaletteTokensModel::setEntries(std::vector<PaletteEntry> entries) {
    beginResetModel();
    entries_ = std::move(entries);
    endResetModel();
}

int PaletteTokensModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(entries_.size());
}

int PaletteTokensModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant PaletteTokensModel::data(const QModelIndex& index, int role) const {
    if (!isRowOf(index, entries_.size(), ColumnCount))
        return {};
    const PaletteEntry& e = entries_[size_t(index.row())];
    if (index.column() == PathColumn) {
        if (role == Qt::DisplayRole)
            return e.deprecated ? e.path + QStringLiteral(" (veraltet)") : e.path;
        if (role == Qt::ToolTipRole)
            return e.description.isEmpty() ? e.path : e.path + QStringLiteral(": ") + e.description;
        return {};
    }
    if (role == Qt::DisplayRole)
        return hashHexText(e.colour);
    if (role == Qt::DecorationRole)
        return qColour(e.colour);
    return {};
}

QVariant PaletteTokensModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    return section == PathColumn ? QStringLiteral("Token") : QStringLiteral("Farbe");
}

QString PairsModel::storedKey(const ColourScheme& scheme) {
    return hashHexText(scheme.text) + hashHexText(scheme.background) + scheme.name;
}

void PairsModel::setReading(const ImportReading& reading, const QSet<QString>& stored) {
    beginResetModel();
    schemes_ = reading.schemes;
    paths_ = reading.paths;
    stored_.assign(schemes_.size(), false);
    storedCount_ = 0;
    if (!stored.isEmpty())
        for (size_t i = 0; i < schemes_.size(); ++i)
            if (stored.contains(storedKey(schemes_[i]))) {
                stored_[i] = true;
                ++storedCount_;
            }
    checked_.resize(schemes_.size());
    for (size_t i = 0; i < schemes_.size(); ++i)
        checked_[i] = !stored_[i];
    checkedCount_ = qint64(schemes_.size()) - storedCount_;
    endResetModel();
}

std::vector<ColourScheme> PairsModel::checkedSchemes() const {
    std::vector<ColourScheme> out;
    for (size_t i = 0; i < schemes_.size(); ++i)
        if (checked_[i])
            out.push_back(schemes_[i]);
    return out;
}

void PairsModel::setAllChecked(bool checked) {
    checked_.assign(schemes_.size(), checked);
    checkedCount_ = checked ? qint64(schemes_.size()) : 0;
    if (!schemes_.empty())
        emit dataChanged(index(0, NameColumn), index(rowCount() - 1, NameColumn),
                         {Qt::CheckStateRole});
}

int PairsModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(schemes_.size());
}

int PairsModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant PairsModel::data(const QModelIndex& index, int role) const {
    if (!isRowOf(index, schemes_.size(), ColumnCount))
        return {};
    const size_t row = size_t(index.row());
    const ColourScheme& s = schemes_[row];
    switch (index.column()) {
    case NameColumn:
        if (role == Qt::CheckStateRole)
            return checked_[row] ? Qt::Checked : Qt::Unchecked;
        if (role == Qt::ToolTipRole && stored_[row])
            return s.name + QStringLiteral(" (schon vorhanden)");
        return role == Qt::DisplayRole || role == Qt::ToolTipRole ? QVariant(s.name) : QVariant();
    case TextColumn:
    case BackgroundColumn: {
        const Rgb c = index.column() == TextColumn ? s.text : s.background;
        if (role == Qt::DisplayRole)
            return hashHexText(c);
        if (role == Qt::DecorationRole)
            return qColour(c);
        return {};
    }
    case RatioColumn:
        return role == Qt::DisplayRole ? QVariant(ratioText(contrastRatio(s.text, s.background)))
                                       : QVariant();
    default: {
        if (role != Qt::DisplayRole && role != Qt::ToolTipRole)
            return {};
        if (row >= paths_.size())
            return {};
        return index.column() == TextPathColumn ? paths_[row].first : paths_[row].second;
    }
    }
}

bool PairsModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!isRowOf(index, schemes_.size(), ColumnCount) || index.column() != NameColumn ||
        role != Qt::CheckStateRole)
        return false;
    const bool checked = value.toInt() == Qt::Checked;
    const size_t row = size_t(index.row());
    if (checked_[row] == checked)
        return true;
    checked_[row] = checked;
    checkedCount_ += checked ? 1 : -1;
    emit dataChanged(index, index, {Qt::CheckStateRole});
    return true;
}

Qt::ItemFlags PairsModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    if (index.column() == NameColumn)
        f |= Qt::ItemIsUserCheckable;
    return f;
}

QVariant PairsModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (section) {
    case NameColumn:
        return QStringLiteral("Name");
    case TextColumn:
        return QStringLiteral("Textfarbe");
    case BackgroundColumn:
        return QStringLiteral("Hintergrund");
    case RatioColumn:
        return QStringLiteral("Kontrast");
    case TextPathColumn:
        return QStringLiteral("Text-Token");
    default:
        return QStringLiteral("Hintergrund-Token");
    }
}

} // namespace pigmora
