#pragma once

#include "exchange/palette.h"
#include "exchange/scheme_import.h"

#include <QAbstractTableModel>
#include <QSet>
#include <vector>

// The models of the import preview's pairing step.
namespace pigmora {

// The tokens of a palette: path, then the colour as "#rrggbb" with its swatch. Filtered by a
// proxy on both columns.
class PaletteTokensModel : public QAbstractTableModel {
public:
    enum Column { PathColumn, ColourColumn, ColumnCount };
    explicit PaletteTokensModel(QObject* parent = nullptr)
        : QAbstractTableModel(parent) {}
    void setEntries(std::vector<PaletteEntry> entries);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    std::vector<PaletteEntry> entries_;
};

// The pairs a pairing gives, each with a check box on its name: name, text colour, background
// (each with its swatch), the WCAG 2 contrast ratio and the two tokens' full paths. All are
// checked at first but those already stored (the same name and colours).
class PairsModel : public QAbstractTableModel {
public:
    enum Column {
        NameColumn,
        TextColumn,
        BackgroundColumn,
        RatioColumn,
        TextPathColumn,
        BackgroundPathColumn,
        ColumnCount
    };
    explicit PairsModel(QObject* parent = nullptr)
        : QAbstractTableModel(parent) {}
    // `stored` holds storedKey() of each stored scheme.
    void setReading(const ImportReading& reading, const QSet<QString>& stored);
    static QString storedKey(const ColourScheme& scheme);
    // The checked schemes, in order.
    std::vector<ColourScheme> checkedSchemes() const;
    qint64 checkedCount() const { return checkedCount_; }
    qint64 storedCount() const { return storedCount_; }
    void setAllChecked(bool checked);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    std::vector<ColourScheme> schemes_;
    std::vector<std::pair<QString, QString>> paths_;
    std::vector<bool> checked_;
    std::vector<bool> stored_;
    qint64 checkedCount_ = 0;
    qint64 storedCount_ = 0;
};

} // namespace pigmora
