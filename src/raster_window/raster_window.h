#pragma once

#include "contrast_grid/colour_ramp.h"
#include "contrast_grid/contrast_grid.h"
#include "raster_host.h"

#include <QFont>
#include <QWidget>
#include <memory>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QTableView;

namespace pigmora {

class ChannelEditor;
class RasterDelegate;
class RasterModel;
class SampleFollower;
class frmFarbreihe;
struct PaletteReading;

// The contrast grid: every text colour of a source (the rows) on every background of a source
// (the columns), the stored schemes' colours or a palette read from files, each cell with the
// pair in the sample's font, the ratio and the level the contrast window's rules give for the
// sample's font. A cell clicked (or Enter on the current one) sets the sample's pair. A modeless
// window of the main window that follows the sample's font; closing it only hides it.
class frmRaster : public QWidget {
    Q_OBJECT
public:
    // Where the rows and the columns come from.
    enum class Source {
        SchemeTexts,       // the distinct text colours of the stored schemes
        SchemeBackgrounds, // their distinct backgrounds
        SchemeColours,     // both
        Palette,           // the palette read from files
        SchemesAndPalette, // all of them: "alle gegen alle"
        Ramp,              // the colours of the last ramp made, and its backgrounds
    };

    // The window follows the pair of `channels` and the font of `sample`.
    frmRaster(QWidget* owner, ChannelEditor& channels, QWidget* sample, RasterHost& host);
    ~frmRaster() override;

    // Shows the window, brought to the front and active, its grid made on the first showing.
    void open();
    // Reads the sample's font again and judges the grid for it. The window does this by itself,
    // queued after every change of the sample.
    void refresh();
    // Reads the stored schemes again (after something was stored).
    void reloadSchemes();
    // Reads the files as the palette ("Palette öffnen..." asks for them first); a file that
    // cannot be read is told and changes nothing. Shows the palette all against all.
    void openPaletteFiles(const QStringList& paths);
    // Shows a palette already read (from `origin`, named in the caption) all against all, the
    // rows and columns chosen by the patterns (empty: all of them).
    void showPalette(const PaletteReading& reading, const QString& origin, qint64 skipped = 0,
                     const QString& rows = {}, const QString& columns = {});
    // The ramps as a source of their own, shown all against all ("In das Raster").
    void showRamps(const std::vector<ColourRamp>& ramps);
    void setSources(Source rows, Source columns);

    const ContrastGrid& grid() const { return grid_; }
    const GridView& view() const;

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    struct Controls;
    void buildLayout();
    void connectControls();
    // What the window reads off the sample: its font, and the colours a ramp starts from.
    struct SampleReading {
        QFont font;
        bool large = false;
        Rgb edited;
        Rgb background;
    };
    SampleReading readSample() const;
    // The source's colours that match the row or column patterns (blank-separated; none: all).
    std::vector<GridColour> coloursOf(Source source, bool rows) const;
    std::vector<GridColour> sourceColours(Source source) const;
    GridRating rating() const;
    // The grid made again from its sources, judged again, or only shown again.
    void rebuild();
    void rerate();
    void updateView();
    void currentChanged();
    void choose(const QModelIndex& cell);
    void storeCurrent();
    void exportGrid();
    void openRamp();

    ChannelEditor& channels_;
    QWidget* sampleLabel_;
    RasterHost& host_;
    std::unique_ptr<Controls> ui_;
    RasterModel* model_;
    RasterDelegate* delegate_;
    SampleFollower* follower_;
    std::unique_ptr<frmFarbreihe> ramp_;

    bool made_ = false; // the grid was made once
    std::vector<ColourScheme> schemes_;
    std::vector<GridColour> palette_;
    std::vector<GridColour> rampColours_;
    ContrastGrid grid_;
    QString tooLarge_; // why the sources' grid is not shown
    SampleReading sample_;
};

} // namespace pigmora
