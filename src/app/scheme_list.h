#pragma once

#include <QCollator>
#include <QComboBox>
#include <QStringList>

class QStringListModel;

namespace pigmora {

// The drop-down list of scheme names. It keeps its entries in alphabetical order: compared
// case-insensitively with the collation of the user's locale (German where the system sets
// none), and entries that compare equal stay in the order they were added (a new one goes after
// its equals).
//
// Its selection event `entryChosen` is raised when the user picks an entry and whenever the
// program sets the selected index, and never otherwise: adding or removing entries does not
// raise it (QComboBox would select and report on its own; that is hidden here).
class SchemeList : public QComboBox {
    Q_OBJECT
public:
    explicit SchemeList(QWidget* parent = nullptr);

    // Adds a name in its sorted place; the selection stays on the entry it was on.
    void addEntry(const QString& name);
    // Adds many names at once (filling the list at start), sorting them in one pass.
    void addEntries(const QStringList& names);
    // Removes the entry at `index`. If it was the selected one, no entry is selected afterwards.
    void removeEntry(int index);

    int entryCount() const;
    QString entryText(int index) const;
    int selectedIndex() const { return currentIndex(); }
    QString selectedText() const;
    // Selects the entry (-1: none) and raises the selection event.
    void setSelectedIndex(int index);

signals:
    void entryChosen();

private:
    int sortedPosition(const QString& name) const;

    QStringListModel* model_;
    QCollator collator_;
};

} // namespace pigmora
