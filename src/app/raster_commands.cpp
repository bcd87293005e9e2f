#include "raster_commands.h"

#include "dialogs.h"
#include "editor/edit_target.h"
#include "raster_window/raster_window.h"
#include "scheme_commands.h"
#include "schemes/scheme_store.h"
#include "schemes/scheme_transfer.h"

#include <QCoreApplication>

namespace pigmora {

RasterCommands::RasterCommands(QWidget* owner, ChannelEditor& channels, QWidget* sample,
                               EditTarget& target, SchemeStore& store,
                               SchemeCommands& schemeCommands, Dialogs& dialogs)
    : owner_(owner)
    , channels_(channels)
    , sample_(sample)
    , target_(target)
    , store_(store)
    , schemeCommands_(schemeCommands)
    , dialogs_(dialogs) {}

RasterCommands::~RasterCommands() = default;

frmRaster& RasterCommands::window() {
    if (!window_)
        window_ = std::make_unique<frmRaster>(owner_, channels_, sample_, *this);
    return *window_;
}

void RasterCommands::mnuRaster_Click() {
    window().open();
}

std::vector<ColourScheme> RasterCommands::storedSchemes() {
    StoredSchemes stored = readStoredSchemes(store_.dbsfarben());
    return std::move(stored.schemes);
}

void RasterCommands::setPair(Rgb text, Rgb background) {
    target_.setPair(text, background, EditTarget::PairEnd::Background);
}

bool RasterCommands::storeScheme(QWidget* owner, Rgb text, Rgb background) {
    setPair(text, background);
    const QString name = dialogs_.prompt(
        owner, QStringLiteral("Bitte geben Sie eine Bezeichnung für das neue Farbschema ein!"),
        QStringLiteral("Neuer Eintrag"), SchemeCommands::maxNameLength);
    if (name.isEmpty())
        return false;
    if (const auto failed = schemeCommands_.storeNew(name)) {
        tell(owner, *failed);
        return false;
    }
    return true;
}

int RasterCommands::storeSchemes(QWidget* owner, const std::vector<ColourScheme>& schemes) {
    int stored = 0;
    for (const ColourScheme& scheme : schemes) {
        setPair(scheme.text, scheme.background);
        if (const auto failed = schemeCommands_.storeNew(scheme.name)) {
            tell(owner, *failed);
            break;
        }
        ++stored;
    }
    if (stored > 0 && window_)
        window_->reloadSchemes();
    return stored;
}

QStringList RasterCommands::choosePaletteFiles(QWidget* owner) {
    return dialogs_.chooseOpenFiles(
        owner, QStringLiteral("Palette öffnen"),
        QStringLiteral("Paletten (*.tokens.json *.tokens *.json *.gpl *.css);;Design Tokens "
                       "(*.tokens.json *.tokens *.json);;GIMP-Palette (*.gpl);;CSS (*.css);;Alle "
                       "Dateien (*)"));
}

std::optional<RasterHost::SaveChoice>
RasterCommands::chooseSaveFile(QWidget* owner, const QString& title, const QStringList& filters) {
    const auto choice = dialogs_.chooseSaveFile(owner, title, filters);
    if (!choice)
        return std::nullopt;
    return SaveChoice{choice->path, choice->filter};
}

void RasterCommands::tell(QWidget* owner, const QString& message) {
    dialogs_.message(owner, message, QCoreApplication::applicationName(),
                     Dialogs::MessageStyle::OkOnly);
}

} // namespace pigmora
