#pragma once

#include "page_audit/page_audit.h"

#include <QAbstractTableModel>

namespace pigmora {

// The findings of every audited page, worst first across all of them; each row's texts are made
// when the view asks for them.
class FindingsModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { Urteil, Kontrast, Text, Farben, Groesse, Seite, Selektor, ColumnCount };
    using QAbstractTableModel::QAbstractTableModel;

    void setResults(std::vector<PageAuditResult> results);
    const TextFinding* finding(int row) const;
    const PageAuditResult* result(int row) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    std::vector<PageAuditResult> results_;
    std::vector<std::pair<std::size_t, std::size_t>> rows_; // result, finding
};

} // namespace pigmora
