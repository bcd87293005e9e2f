#include "findings_model.h"

#include "base/hex_digit.h"
#include "base/shown_text.h"
#include "page_audit/audit_report.h"

#include <QBrush>
#include <QColor>
#include <algorithm>

namespace pigmora {

void FindingsModel::setResults(std::vector<PageAuditResult> results) {
    beginResetModel();
    results_ = std::move(results);
    rows_.clear();
    for (std::size_t r = 0; r < results_.size(); ++r)
        for (std::size_t f = 0; f < results_[r].findings.size(); ++f)
            rows_.emplace_back(r, f);
    std::stable_sort(rows_.begin(), rows_.end(), [this](const auto& a, const auto& b) {
        return worseThan(results_[a.first].findings[a.second],
                         results_[b.first].findings[b.second]);
    });
    endResetModel();
}

const TextFinding* FindingsModel::finding(int row) const {
    if (row < 0 || row >= int(rows_.size()))
        return nullptr;
    return &results_[rows_[row].first].findings[rows_[row].second];
}

const PageAuditResult* FindingsModel::result(int row) const {
    if (row < 0 || row >= int(rows_.size()))
        return nullptr;
    return &results_[rows_[row].first];
}

int FindingsModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(rows_.size());
}

int FindingsModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant FindingsModel::data(const QModelIndex& index, int role) const {
    const TextFinding* f = finding(index.row());
    if (!f)
        return {};
    if (role == Qt::ForegroundRole && index.column() == Urteil)
        return f->verdict == TextVerdict::Fail     ? QBrush(QColor(0xa0, 0, 0))
               : f->verdict == TextVerdict::Review ? QBrush(QColor(0x8a, 0x4b, 0))
                                                   : QVariant();
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole)
        return {};
    switch (Column(index.column())) {
    case Urteil:
        return verdictName(f->verdict);
    case Kontrast:
        return QStringLiteral("%1 (mind. %2)").arg(ratioRangeText(*f), thresholdText(f->required));
    case Text:
        return shownText(f->text.text, role == Qt::ToolTipRole ? 400 : 60);
    case Farben: {
        QString text = QStringLiteral("%1 auf %2")
                           .arg(hashHexText(f->shownLowest), hashHexText(f->backgroundLowest));
        if (!(f->backgroundLowest == f->backgroundHighest))
            text += QStringLiteral(" bis ") + hashHexText(f->backgroundHighest);
        return text;
    }
    case Groesse:
        return QStringLiteral("%1 pt%2").arg(germanNumberText(f->text.fontSizePx * 0.75, 1),
                                             f->text.fontWeight >= 700 ? QStringLiteral(" fett")
                                                                       : QString());
    case Seite:
        return renderingName(*result(index.row()));
    case Selektor:
    case ColumnCount:
        break;
    }
    return f->text.selector;
}

QVariant FindingsModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    static const char* const names[] = {"Urteil", "Kontrast", "Text",    "Farben",
                                        "Größe",  "Seite",    "Selektor"};
    return section >= 0 && section < ColumnCount ? QString::fromUtf8(names[section]) : QVariant();
}

} // namespace pigmora
