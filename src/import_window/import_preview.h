#pragma once

#include <QDialog>

namespace pigmora {

struct ImportReading;

// The preview of an import: the schemes that will be added (name and both colours), the
// entries of the file that were refused and why, for design tokens how many other tokens and
// groups are left alone, and the buttons "Importieren" (accepts; off
// when nothing can be added) and "Abbrechen" (rejects). The lists show the reading itself, which
// must outlive the window; they stay quick for the largest file an import takes.
class frmImport : public QDialog {
    Q_OBJECT
public:
    explicit frmImport(const ImportReading& reading, QWidget* owner = nullptr);
};

// "3 Farbschemata werden hinzugefügt:" and the like, numbers as the display locale writes them;
// with the count of colours that were gamut-mapped into sRGB, where there are any.
QString importedSchemesCaption(qint64 count, qint64 approximated = 0);
QString refusedEntriesCaption(qint64 count);
// "Übergangen werden 3 weitere Tokens und 1 Gruppe ohne Farbschema." (design tokens), empty
// when there are none.
QString otherTokensCaption(qint64 tokens, qint64 groups);

} // namespace pigmora
