#pragma once

#include "contrast_grid/colour_ramp.h"

#include <QDialog>
#include <functional>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace pigmora {

class RasterHost;

// "Farbreihe": colours of a key colour's hue made to the contrasts they must reach on one or
// more backgrounds; into the grid, stored as schemes ("Schlüssel 4.5"), or exported as design
// tokens or CSS custom properties.
class frmFarbreihe : public QDialog {
    Q_OBJECT
public:
    frmFarbreihe(QWidget* owner, RasterHost& host);
    ~frmFarbreihe() override;

    // Opens the window on a key colour and a background and makes the ramps.
    void start(Rgb key, Rgb background);
    // Reads the fields and makes the ramps; a field that cannot be read is told in the window
    // and leaves the ramps as they were. True when they were made.
    bool make();

    const std::vector<ColourRamp>& ramps() const { return ramps_; }
    std::function<void(const std::vector<ColourRamp>&)> onShowInGrid;

private:
    void showRamps();
    void store();
    void exportRamps();

    RasterHost& host_;
    QLineEdit* txtSchlüssel;
    QLineEdit* txtHintergründe;
    QComboBox* cboMaß;
    QLineEdit* txtZiele;
    QPushButton* cmdBerechnen;
    QLabel* lblMeldung;
    QTableWidget* tblFarbreihe;
    QPushButton* cmdInsRaster;
    QPushButton* cmdSpeichern;
    QPushButton* cmdExportieren;
    QPushButton* cmdSchließen;
    std::vector<ColourRamp> ramps_;
};

// The colours of a text, separated by blanks or commas outside parentheses:
// "#ffffff, rgb(13 17 23)" gives "#ffffff" and "rgb(13 17 23)".
QStringList colourTexts(const QString& text);

} // namespace pigmora
