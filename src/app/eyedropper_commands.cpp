#include "eyedropper_commands.h"

#include "base/german_locale.h"
#include "base/sample_pair.h"
#include "dialogs.h"
#include "editor/channel_editor.h"
#include "eyedropper/colour_portal.h"
#include "picker_window/image_picker.h"
#include "picker_window/screen_picker.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImageReader>
#include <algorithm>

namespace pigmora {

namespace {

const QString screenTitle = QStringLiteral("Farbe vom Bildschirm");
const QString imageTitle = QStringLiteral("Farbe aus Bild");

QString number(int n) {
    return germanLocale().toString(n);
}

// Why a reader gave no image, by its error code: Qt's own texts are English where its
// translations are not installed, and for a damaged file say only "unknown error". Qt calls
// a folder, or a file it may not open, a file not found.
QString readingFailure(const QImageReader& reader) {
    const QFileInfo file(reader.fileName());
    switch (reader.error()) {
    case QImageReader::FileNotFoundError:
    case QImageReader::DeviceError:
        if (file.isDir())
            return QStringLiteral("unter diesem Namen steht ein Ordner, keine Datei");
        if (file.exists())
            return QStringLiteral("die Datei lässt sich nicht öffnen");
        return QStringLiteral("die Datei ist nicht vorhanden");
    case QImageReader::UnsupportedFormatError:
        if (file.size() == 0)
            return QStringLiteral("die Datei ist leer");
        return QStringLiteral("die Datei ist in keinem Bildformat, das Pigmora lesen kann");
    case QImageReader::InvalidDataError:
    case QImageReader::UnknownError:
        break;
    }
    return QStringLiteral("die Datei ist beschädigt oder unvollständig");
}

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

void EyedropperCommands::mnuBildschirm_Click() {
    switch (wayFor(QGuiApplication::platformName(), qEnvironmentVariable("XDG_SESSION_TYPE"),
                   qEnvironmentVariable("WAYLAND_DISPLAY"))) {
    case Way::Portal:
        pickWithPortal();
        break;
    case Way::OwnPicker:
        pickWithOwnPicker();
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

void EyedropperCommands::pickWithOwnPicker() {
    if (screenPicker_)
        return; // one pick at a time
    screenPicker_ = std::make_unique<ScreenPicker>(otherColour());
    // The full-screen windows had the focus; it goes back to the window the pick came from.
    const auto ended = [this] {
        screenPicker_.release()->deleteLater();
        owner_->activateWindow();
    };
    connect(screenPicker_.get(), &ScreenPicker::picked, this, [this, ended](Rgb colour) {
        ended();
        apply(colour);
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
    const QString shown = QDir::toNativeSeparators(path);
    QImageReader reader(path);
    reader.setAutoTransform(true);
    // The size is read from the header, before anything is decoded.
    const QSize size = reader.size();
    if (!size.isValid()) {
        tell(QStringLiteral("Das Bild %1 kann nicht gelesen werden: %2. Es wurde nichts geändert.")
                 .arg(shown, readingFailure(reader)),
             imageTitle);
        return;
    }
    const qint64 pixels = qint64(size.width()) * size.height();
    if (pixels > maxImagePixels) {
        tell(QStringLiteral("Das Bild %1 ist mit %2 × %3 Pixeln zu groß; geöffnet werden Bilder "
                            "bis 100 Millionen Pixel. Es wurde nichts geändert.")
                 .arg(shown, number(size.width()), number(size.height())),
             imageTitle);
        return;
    }
    // Qt's own guard (256 MB) would refuse images below the limit that 32 bits a pixel make
    // larger; this one lets those through and still refuses a file whose header lied.
    reader.setAllocationLimit(int(maxImagePixels * 4 / (1024 * 1024)) + 1);
    QImage image = reader.read();
    if (image.isNull()) {
        tell(QStringLiteral("Das Bild %1 kann nicht gelesen werden: %2. Es wurde nichts geändert.")
                 .arg(shown, readingFailure(reader)),
             imageTitle);
        return;
    }
    if (image.format() != QImage::Format_RGB32 && image.format() != QImage::Format_ARGB32)
        image.convertTo(image.hasAlphaChannel() ? QImage::Format_ARGB32 : QImage::Format_RGB32);

    imagePicker_ = new frmBildPipette(std::move(image), path, otherColour(), owner_);
    connect(imagePicker_, &frmBildPipette::picked, this, &EyedropperCommands::apply);
    imagePicker_->show();
    imagePicker_->activateWindow();
}

} // namespace pigmora
