#include "raster_commands.h"

#include "dialogs.h"
#include "editor/edit_target.h"
#include "raster_window/raster_window.h"
#include "scheme_commands.h"
#include "scheme_list.h"
#include "schemes/scheme_store.h"
#include "schemes/scheme_transfer.h"

#include <QCoreApplication>

namespace pigmora {

RasterCommands::RasterCommands(QWidget* owner, ChannelEditor& channels, QWidget* sample,
                               EditTarget& target, SchemeStore& store, SchemeList& list,
                               SchemeCommands& schemeCommands, Dialogs& dialogs)
    : owner_(owner)
    , channels_(channels)
    , sample_(sample)
    , target_(target)
    , store_(store)
    , list_(list)
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
    if (schemes.empty())
        return 0;
    // In one step, as an import adds them: all of them, or none when the file refuses one.
    if (const auto failure = addSchemes(store_.dbsfarben(), schemes)) {
        tell(owner, QStringLiteral("Die Farbschemata wurden nicht gespeichert; es wurde nichts "
                                   "hinzugefügt:\n%1")
                        .arg(*failure));
        return 0;
    }
    QStringList names;
    for (const ColourScheme& scheme : schemes)
        names << scheme.name;
    list_.addEntries(names);
    if (window_)
        window_->reloadSchemes();
    return int(schemes.size());
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
