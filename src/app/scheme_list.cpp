#include "scheme_list.h"

#include "base/german_locale.h"

#include <QListView>
#include <QStringListModel>
#include <algorithm>
#include <numeric>
#include <vector>

namespace pigmora {

SchemeList::SchemeList(QWidget* parent)
    : QComboBox(parent)
    , model_(new QStringListModel(this))
    , collator_(displayLocale()) {
    collator_.setCaseSensitivity(Qt::CaseInsensitive);
    setEditable(false);
    setModel(model_);
    // Long lists: never measure every entry for a size hint, and let the popup assume rows of
    // equal height.
    setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    if (auto* list = qobject_cast<QListView*>(view()))
        list->setUniformItemSizes(true);
    setCurrentIndex(-1);
    connect(this, &QComboBox::activated, this, [this] { emit entryChosen(); });
}

int SchemeList::entryCount() const {
    return model_->rowCount();
}

QString SchemeList::entryText(int index) const {
    return model_->data(model_->index(index), Qt::DisplayRole).toString();
}

QString SchemeList::selectedText() const {
    const int index = currentIndex();
    return index < 0 ? QString() : entryText(index);
}

int SchemeList::sortedPosition(const QString& name) const {
    // Upper bound: after every entry that sorts before or equal to the name.
    int low = 0;
    int high = entryCount();
    while (low < high) {
        const int mid = low + (high - low) / 2;
        if (collator_.compare(name, entryText(mid)) < 0)
            high = mid;
        else
            low = mid + 1;
    }
    return low;
}

void SchemeList::addEntry(const QString& name) {
    const bool wasEmptySelection = currentIndex() < 0;
    const int position = sortedPosition(name);
    model_->insertRows(position, 1);
    model_->setData(model_->index(position), name);
    // QComboBox selects the first entry of a list that was empty; undo that.
    if (wasEmptySelection && currentIndex() >= 0)
        setCurrentIndex(-1);
}

void SchemeList::addEntries(const QStringList& names) {
    QStringList all = model_->stringList();
    const int selected = currentIndex();
    const int oldCount = int(all.size());
    all += names;

    std::vector<QCollatorSortKey> keys;
    keys.reserve(all.size());
    for (const QString& name : std::as_const(all))
        keys.push_back(collator_.sortKey(name));
    std::vector<int> order(all.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [&keys](int a, int b) { return keys[a].compare(keys[b]) < 0; });

    QStringList sorted;
    sorted.reserve(all.size());
    int newSelected = -1;
    for (int i = 0; i < int(order.size()); ++i) {
        sorted.append(all[order[i]]);
        if (order[i] == selected && selected < oldCount)
            newSelected = i;
    }
    model_->setStringList(sorted);
    setCurrentIndex(newSelected);
}

void SchemeList::removeEntry(int index) {
    if (index < 0 || index >= entryCount())
        return;
    const bool wasSelected = index == currentIndex();
    model_->removeRows(index, 1);
    // QComboBox moves the selection to a neighbour; a removed selection leaves none.
    if (wasSelected)
        setCurrentIndex(-1);
}

void SchemeList::setSelectedIndex(int index) {
    setCurrentIndex(index >= 0 && index < entryCount() ? index : -1);
    emit entryChosen();
}

} // namespace pigmora
