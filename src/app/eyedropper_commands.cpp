#include "eyedropper_commands.h"

#include "base/german_locale.h"
#include "base/sample_pair.h"
#include "dialogs.h"
#include "editor/channel_editor.h"
#include "editor/edit_target.h"
#include "eyedropper/colour_portal.h"
#include "eyedropper/image_file.h"
#include "eyedropper/pair_finder.h"
#include "eyedropper/pixel_picking.h"
#include "picker_window/image_picker.h"
#include "picker_window/screen_picker.h"
#include "picker_window/screen_settle.h"

#include <QApplication>
#include <QImageReader>
#include <algorithm>

namespace pigmora {

namespace {

const QString screenTitle = QStringLiteral("Farbe vom Bildschirm");
const QString imageTitle = QStringLiteral("Farbe aus Bild");

const QString pairTitle = QStringLiteral("Paar vom Bildschirm");

} // namespace

EyedropperCommands::EyedropperCommands(QWidget* owner, ChannelEditor& channels, Dialogs& dialogs)
    : owner_(owner)
    , channels_(channels)
    , dialogs_(dialogs) {}

EyedropperCommands::~EyedropperCommands() = default;

EyedropperCommands::Way EyedropperCommands::wayFor(const QString& platformName,
                                                   const QString& sessionType,
                                                   const QString& waylandDisplay) {
    if (platformName.startsWith(QLatin1String("wayland")))
        return Way::Portal;
    if (platformName == QLatin1String("xcb")) {
        // Through XWayland the X server sees only the X11 windows: a grab shows the native
        // Wayland windows black. There the desktop picks, as on Wayland.
        if (sessionType == QLatin1String("wayland") || !waylandDisplay.isEmpty())
            return Way::Portal;
        return Way::OwnPicker;
    }
    return Way::None;
}

Rgb EyedropperCommands::otherColour() const {
    return channels_.pair().other();
}

void EyedropperCommands::tell(const QString& text, const QString& title) {
    dialogs_.message(owner_, text, title, Dialogs::MessageStyle::OkOnly);
}

void EyedropperCommands::apply(Rgb colour) {
    channels_.setColour(colour);
}

void EyedropperCommands::applyPair(const PairFinding& pair, const QString& title) {
    switch (pair.kind) {
    case PairFinding::Kind::Nothing:
        return;
    case PairFinding::Kind::OneColour:
        tell(QStringLiteral("Im Rechteck ist nur eine Farbe zu sehen (%1), kein Text vor einem "
                            "Hintergrund. Es wurde nichts geändert.")
                 .arg(pickedHexText(pair.background)),
             title);
        return;
    case PairFinding::Kind::Pair:
        break;
    }
    if (pairTarget_)
        pairTarget_->setPair(pair.text, pair.background, EditTarget::PairEnd::AsItWas);
    if (!pair.backgroundUniform)
        tell(QStringLiteral("Der Hintergrund ist nicht einfarbig: er reicht von %1 bis %2. "
                            "Gesetzt wurden der Text %3 und der Hintergrund mit dem geringsten "
                            "Kontrast zu ihm, %4 (Kontrast %5).")
                 .arg(pickedHexText(pair.darkest), pickedHexText(pair.lightest),
                      pickedHexText(pair.text), pickedHexText(pair.background),
                      pickRatioText(pair.text, pair.background)),
             title);
}

void EyedropperCommands::mnuBildschirm_Click() {
    switch (wayFor(QGuiApplication::platformName(), qEnvironmentVariable("XDG_SESSION_TYPE"),
                   qEnvironmentVariable("WAYLAND_DISPLAY"))) {
    case Way::Portal:
        pickWithPortal();
        break;
    case Way::OwnPicker:
        pickWithOwnPicker(false);
        break;
    case Way::None:
        tell(QStringLiteral("Auf dieser Anzeige (%1) kann Pigmora keine Farbe vom Bildschirm "
                            "wählen; das geht unter X11 und unter Wayland. Eine Farbe aus einem "
                            "Bildschirmfoto oder einer anderen Bilddatei wählt „Extras › Farbe "
                            "aus Bild...“.")
                 .arg(QGuiApplication::platformName()),
             screenTitle);
        break;
    }
}

void EyedropperCommands::mnuPaar_Click() {
    switch (wayFor(QGuiApplication::platformName(), qEnvironmentVariable("XDG_SESSION_TYPE"),
                   qEnvironmentVariable("WAYLAND_DISPLAY"))) {
    case Way::OwnPicker:
        pickWithOwnPicker(true);
        break;
    case Way::Portal:
        tell(QStringLiteral("Auf dieser Arbeitsfläche wählt das Desktop-Portal die Farben vom "
                            "Bildschirm, und zwar nur eine auf einmal. Ein Paar aus Text und "
                            "Hintergrund in einem Zug gibt ein Bildschirmfoto: es in „Extras › "
                            "Farbe aus Bild...“ öffnen und ein Rechteck über den Text ziehen. Es "
                            "wurde nichts geändert."),
             pairTitle);
        break;
    case Way::None:
        tell(QStringLiteral("Auf dieser Anzeige (%1) kann Pigmora kein Paar vom Bildschirm "
                            "wählen; das geht unter X11. Ein Paar aus einem Bildschirmfoto gibt "
                            "„Extras › Farbe aus Bild...“: ein Rechteck über den Text ziehen.")
                 .arg(QGuiApplication::platformName()),
             pairTitle);
        break;
    }
}

void EyedropperCommands::pickWithOwnPicker(bool forPair) {
    if (screenPicker_ || settling_)
        return; // one pick at a time
    settling_ = true;
    startedFrom_ = QApplication::activeWindow();
    // Started from the menu, the menu is still on the screen: it is taken once it is gone.
    whenScreenSettled(this, [this, forPair] {
        settling_ = false;
        startOwnPicker(forPair);
    });
}

void EyedropperCommands::startOwnPicker(bool forPair) {
    screenPicker_ = std::make_unique<ScreenPicker>(otherColour());
    if (forPair)
        screenPicker_->setHint(QStringLiteral("Rechteck über den Text ziehen: Text und "
                                              "Hintergrund · ") +
                               pickerHint);
    // The full-screen windows had the focus; it goes back to the window the pick came from.
    const auto ended = [this] {
        screenPicker_.release()->deleteLater();
        QWidget* back = startedFrom_ ? startedFrom_.data() : owner_;
        back->activateWindow();
    };
    connect(screenPicker_.get(), &ScreenPicker::picked, this, [this, ended](Rgb colour) {
        ended();
        apply(colour);
    });
    connect(screenPicker_.get(), &ScreenPicker::pairPicked, this,
            [this, ended](const PairFinding& pair) {
                ended();
                applyPair(pair, pairTitle);
            });
    connect(screenPicker_.get(), &ScreenPicker::cancelled, this, ended);
    if (!screenPicker_->start()) {
        screenPicker_.reset();
        tell(QStringLiteral("Das Bild des Bildschirms konnte nicht aufgenommen werden; es wurde "
                            "nichts geändert. Eine Farbe aus einer Bilddatei wählt „Extras › "
                            "Farbe aus Bild...“."),
             screenTitle);
    }
}

void EyedropperCommands::pickWithPortal() {
    if (!portal_) {
        portal_ = new ColourPortal(this);
        connect(portal_, &ColourPortal::finished, this, &EyedropperCommands::portalFinished);
    }
    // A pick still open is the desktop's to end: it may be on another screen or waiting for
    // the user's permission, and ending it from here would take it away from under the user.
    if (!portal_->pick())
        tell(QStringLiteral("Auf der Arbeitsfläche ist noch eine Farbwahl offen. Wählen Sie dort "
                            "eine Farbe oder brechen Sie sie ab (meist mit Esc); es wurde nichts "
                            "geändert."),
             screenTitle);
}

void EyedropperCommands::portalFinished(const PortalAnswer& answer) {
    switch (answer.kind) {
    case PortalAnswer::Kind::Colour:
        apply(answer.colour);
        break;
    case PortalAnswer::Kind::Cancelled:
        break;
    case PortalAnswer::Kind::Failed:
        tell(answer.message, screenTitle);
        break;
    }
}

QString EyedropperCommands::imageFilter() {
    QStringList patterns;
    for (const QByteArray& format : QImageReader::supportedImageFormats())
        patterns << QStringLiteral("*.") + QString::fromLatin1(format);
    return QStringLiteral("Bilder (%1);;Alle Dateien (*)").arg(patterns.join(QLatin1Char(' ')));
}

void EyedropperCommands::mnuBild_Click() {
    if (imagePicker_) {
        imagePicker_->raise();
        imagePicker_->activateWindow();
        return;
    }
    const QString path = dialogs_.chooseOpenFile(owner_, imageTitle, imageFilter());
    if (path.isEmpty())
        return;
    ImageFileReading reading = readImageFile(path, maxImagePixels);
    if (!reading.failure.isEmpty()) {
        tell(reading.failure, imageTitle);
        return;
    }

    imagePicker_ = new frmBildPipette(std::move(reading.image), path, otherColour(), owner_,
                                      reading.profileNote, systemPointer());
    connect(imagePicker_, &frmBildPipette::picked, this, &EyedropperCommands::apply);
    connect(imagePicker_, &frmBildPipette::pairPicked, this,
            [this](const PairFinding& pair) { applyPair(pair, imageTitle); });
    imagePicker_->show();
    imagePicker_->activateWindow();
}

} // namespace pigmora
