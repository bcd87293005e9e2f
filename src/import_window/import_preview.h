#pragma once

#include "exchange/token_import.h"

#include <QDialog>
#include <functional>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSortFilterProxyModel;
class QTableView;

namespace pigmora {

class PairsModel;
class PaletteTokensModel;

// What the pairing step of a design system's import needs: its palette in a context, and the
// schemes it gives with other rules or in other contexts, both read anew when asked.
struct PairingStep {
    std::function<PaletteReading(const PaletteOptions&)> palette;
    std::function<ImportReading(const ImportOptions&)> pair;
};

// The preview of an import: the schemes that will be added (name and both colours), the
// entries of the file that were refused and why, for design tokens how many other tokens and
// groups are left alone, and the buttons "Importieren" (accepts; off
// when nothing can be added) and "Abbrechen" (rejects). The lists show the reading itself, which
// must outlive the window; they stay quick for the largest file an import takes.
class frmImport : public QDialog {
    Q_OBJECT
public:
    explicit frmImport(const ImportReading& reading, QWidget* owner = nullptr);
    // With the pairing step of design tokens: the palette's tokens in a list filtered by
    // "txtFilter" (path, swatch, hex), the rule found (or typed: "txtText", "txtHintergrund",
    // "gleiche Rolle", "cmdPaaren"), a choice per modifier of a resolver ("cmbKontext"), and the
    // pairs with swatches and contrast ratio, each with a check box. "Importieren" takes the
    // checked pairs.
    frmImport(const ImportReading& reading, PairingStep step, QWidget* owner = nullptr);

    // What "Importieren" adds: the checked pairs, or without a pairing step every scheme read.
    std::vector<ColourScheme> chosenSchemes() const;

    // Reads and pairs again with the rule and the contexts shown.
    void cmdPaaren_Click();

private:
    void showReading();
    ImportOptions shownOptions() const;

    const ImportReading* original_ = nullptr; // without a pairing step: what is shown
    ImportReading reading_;
    PairingStep step_;
    std::vector<ResolverModifier> modifiers_;
    PairsModel* pairs_ = nullptr;
    PaletteTokensModel* tokens_ = nullptr;
    QSortFilterProxyModel* filter_ = nullptr;
    QLabel* lblSchemata_ = nullptr;
    QLabel* lblAbgelehnt_ = nullptr;
    QLabel* lblRegel_ = nullptr;
    QLabel* lblUebergangen_ = nullptr;
    QTableView* lstAbgelehnt_ = nullptr;
    QLineEdit* txtText_ = nullptr;
    QLineEdit* txtHintergrund_ = nullptr;
    QCheckBox* chkGleicheRolle_ = nullptr;
    std::vector<QComboBox*> contexts_;
    QPushButton* cmdImportieren_ = nullptr;
};

// "3 Farbschemata werden hinzugefügt:" and the like, numbers as the display locale writes them;
// with the count of colours that were gamut-mapped into sRGB, where there are any.
QString importedSchemesCaption(qint64 count, qint64 approximated = 0);
QString refusedEntriesCaption(qint64 count);
// "Übergangen werden 3 weitere Tokens und 1 Gruppe ohne Farbschema." (design tokens), empty
// when there are none.
QString otherTokensCaption(qint64 tokens, qint64 groups);

} // namespace pigmora
