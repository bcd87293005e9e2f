#pragma once

#include "raster_window/raster_host.h"

#include <memory>

class QWidget;

namespace pigmora {

class ChannelEditor;
class Dialogs;
class EditTarget;
class SchemeCommands;
class SchemeStore;
class frmRaster;

// "Kontrast&raster...": the contrast grid, made on the first call, and what it asks of the main
// window: the stored schemes, the sample's pair set as picking a scheme sets it, storing through
// "&Neu"'s command, and the dialogs.
class RasterCommands : public RasterHost {
public:
    // `sample` is the label whose font the grid judges for.
    RasterCommands(QWidget* owner, ChannelEditor& channels, QWidget* sample, EditTarget& target,
                   SchemeStore& store, SchemeCommands& schemeCommands, Dialogs& dialogs);
    ~RasterCommands() override;

    void mnuRaster_Click();
    // The window, made on first use.
    frmRaster& window();

    std::vector<ColourScheme> storedSchemes() override;
    void setPair(Rgb text, Rgb background) override;
    bool storeScheme(QWidget* owner, Rgb text, Rgb background) override;
    int storeSchemes(QWidget* owner, const std::vector<ColourScheme>& schemes) override;
    QStringList choosePaletteFiles(QWidget* owner) override;
    std::optional<SaveChoice> chooseSaveFile(QWidget* owner, const QString& title,
                                             const QStringList& filters) override;
    void tell(QWidget* owner, const QString& message) override;

private:
    QWidget* owner_;
    ChannelEditor& channels_;
    QWidget* sample_;
    EditTarget& target_;
    SchemeStore& store_;
    SchemeCommands& schemeCommands_;
    Dialogs& dialogs_;
    std::unique_ptr<frmRaster> window_;
};

} // namespace pigmora
