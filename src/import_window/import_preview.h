#pragma once

#include "exchange/token_import.h"

#include <QDialog>
#include <functional>
#include <memory>
#include <vector>

namespace pigmora {

// What the pairing step of a design system's import needs, all of it read anew when asked:
// its palette in a context, and the schemes other rules or other contexts give.
struct PairingStep {
    std::function<PaletteReading(const PaletteOptions&)> palette;
    std::function<ImportReading(const ImportOptions&)> pair;
    // The stored schemes: a pair of the same name and colours as one of them starts unchecked,
    // "schon vorhanden".
    std::vector<ColourScheme> stored;
    // Shows the palette in the contrast grid, its rows and columns chosen by the two globs
    // typed (empty: all); without it there is no "Im Raster zeigen".
    std::function<void(const PaletteReading&, const QString& rows, const QString& columns)>
        showInGrid;
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
    // With the pairing step of design tokens: the palette's tokens ("lstTokens", filtered by
    // "txtFilter" on path and hex), the rule found or typed ("txtText", "txtHintergrund",
    // "chkGleicheRolle", "cmdPaaren"), a choice per modifier of a resolver ("cmbKontext"), and
    // the pairs with swatches and contrast ratio, each with a check box ("lstSchemata").
    // "Importieren" takes the checked pairs; "Im Raster zeigen" closes the window, importing
    // nothing, and shows the palette in the contrast grid.
    frmImport(const ImportReading& reading, PairingStep step, QWidget* owner = nullptr);
    ~frmImport() override;

    // What "Importieren" adds: the checked pairs, or without a pairing step every scheme read.
    std::vector<ColourScheme> chosenSchemes() const;

private:
    struct PairingControls;
    void buildPairingStep();
    // Reads and pairs again with the rules and the contexts shown.
    void pairAgain();
    void showReading();
    void showChecked();
    void showInGrid();
    ImportOptions shownOptions() const;

    const ImportReading* original_ = nullptr; // without a pairing step: what is shown
    ImportReading reading_;
    PaletteReading palette_;
    PairingStep step_;
    std::unique_ptr<PairingControls> ui_;
};

// "3 Farbschemata werden hinzugefügt:" and the like, numbers as the display locale writes them;
// with the count of colours that were gamut-mapped into sRGB, where there are any.
QString importedSchemesCaption(qint64 count, qint64 approximated = 0);
QString refusedEntriesCaption(qint64 count);
// "Übergangen werden 3 weitere Tokens und 1 Gruppe ohne Farbschema." (design tokens), empty
// when there are none.
QString otherTokensCaption(qint64 tokens, qint64 groups);

} // namespace pigmora
